// The compact look of the editor's native widgets. The desktop theme's
// generous padding would push the notebook's five tab titles off its 800
// pixels and the spin controls out of the assignment tab: the editor's spin
// controls, buttons, text fields and tab titles take less padding. This is
// the one thing the toolkit cannot do through its public interface.
#ifndef CVQ9_COMPACT_LOOK_H
#define CVQ9_COMPACT_LOOK_H

#include <wx/window.h>

enum class CompactKind { Spin, Button, TextField, Tabs };

// Gives `window`, a widget of that kind, the compact look. Called before the
// window is first shown, its best size is measured with it.
void UseCompactLook(wxWindow *window, CompactKind kind);

#endif
