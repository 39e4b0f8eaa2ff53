// What a click or a hover on the front panel does to the selection, without
// any window: the view's handlers find the controls under the pointer, call
// these rules, then show, write and refresh what the outcome says.
#ifndef CVQ9_PANEL_SELECTION_H
#define CVQ9_PANEL_SELECTION_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record_access.h"

// The selection as the view keeps it: the selected indices in the order of
// selecting (all_selected_ctrl), the control shown by the editor
// (ControlIndex) and the indices drawn as selected, in the order they were drawn.
struct PanelSelection {
    std::vector<int> selected;
    unsigned control_index = 0;
    std::vector<unsigned> drawn;
};

// What a left click did.
struct LeftClickOutcome {
    // A transport button outside group 0 stopped the click: the "Info" box is
    // due, and no redraw.
    bool transport_refused = false;
    // At least one control was processed: the whole view is to be redrawn.
    bool hit = false;
    // ControlIndex after each processed control, in processing order. Each one
    // sets the group selector (disabled for a transport button), is written to
    // "ControlIndex" and redisplays the assignment tabs.
    std::vector<unsigned> control_index_steps;
};

// Applies a left click on the controls `hits` (index order, as the hit test
// gives them) to `selection`. A plain click selects each hit control alone in
// turn, so the last one wins; with Ctrl a hit control joins the selection, or
// leaves it when others remain (a selection never becomes empty).
LeftClickOutcome ApplyLeftClick(PanelSelection &selection, const std::vector<unsigned> &hits, bool ctrl_down,
                                unsigned current_group);

// Toggles one index in the drawn list: removed when there, appended otherwise.
void ToggleDrawn(std::vector<unsigned> &drawn, unsigned index);

// What a right click does for one control under the pointer.
enum class RightClickStep { Refuse, PopUp };
RightClickStep RightClickFor(unsigned index, unsigned current_group);

// The tooltip texts show LCD texts at this fixed width.
constexpr size_t HOVER_TEXT_WIDTH = 16;

// One hovered control: its record check result and its LCD text.
struct HoverItem {
    uint8_t check_code;  // CheckMidiStruct of its record; 2 is "entirely undefined"
    std::wstring lcd;
};

// The LCD text as the tooltip shows it: up to its first NUL or 16 characters,
// padded with spaces to 16.
std::wstring HoverPiece(const std::wstring &lcd);

// The tooltip after hovering `items` (the group controls under the pointer,
// in index order): "Undefined" for an undefined record, otherwise the LCD
// pieces of the defined ones gathered so far; the last text set wins. No
// value when no control is under the pointer (the tooltip keeps its text).
std::optional<std::wstring> HoverTooltip(const std::vector<HoverItem> &items);

#endif
