// The editor's light surfaces. The editor panel and the curve notebook draw on
// one light colour whatever the desktop's theme; so everything on them that
// draws its text straight on that colour (labels, check boxes, radio boxes,
// box and tab titles) gets a dark text colour with it, or a dark theme's
// light text would vanish. Fields, lists and buttons draw their own
// background and keep the theme's colours.
#ifndef CVQ9_LIGHT_SURFACE_H
#define CVQ9_LIGHT_SURFACE_H

#include <wx/colour.h>
#include <wx/window.h>

// RGB (227, 230, 230).
wxColour LightSurfaceColour();

// Gives `surface` the light colour, and dark text to what is on it already.
void UseLightSurface(wxWindow *surface);
// Dark text to what was put on `surface` since (a colour the program chose
// for a window is kept).
void DarkTextOn(wxWindow *surface);

#endif
