// Drawing of the front-panel pictures, the control sprites, the LED and the
// program icon. Every control is drawn at the rectangle the view uses for it
// (panel_geometry), so the pictures and the hit areas cannot disagree.
#ifndef DRAW_ARTWORK_PANEL_ART_H
#define DRAW_ARTWORK_PANEL_ART_H

#include <cstdint>

#include <wx/image.h>

#include "panel_geometry.h"

// How one control is drawn: as on the panel, as selected (green), or red.
enum class Look { Normal, Green, Red };

// The whole panel picture of a form, 800 x 338, in picture coordinates.
// `highlighted` (a control index, or -1 for none) is drawn in `look`;
// `leds_lit` draws both MIDI LEDs lit.
wxImage RenderPanel(PanelForm form, int highlighted, Look look, bool leds_lit);

// A rectangle given in view coordinates, cut out of a panel picture.
wxImage CropViewRect(const wxImage &panel, const PanelRect &view_rect);

// The item whose picture stands for a whole kind (its first index), and the
// form on whose panel it lies.
unsigned RepresentativeItem(PictureKind kind);
PanelForm RepresentativeForm(PictureKind kind);

// The green or red picture of a kind: the panel cut at the kind's
// representative item, with that item drawn in `look`.
wxImage RenderSprite(PictureKind kind, Look look);

// The lit MIDI LED, 12 x 7.
wxImage RenderLitLed();

// The program icon, `size` x `size`, with transparent corners (alpha).
wxImage RenderAppIcon(int size);

// Colours that must keep their exact value through colour reduction: the
// panel face (the background of every sprite) and the frame around it.
uint32_t PanelFaceRgb();
uint32_t PanelFrameRgb();

#endif
