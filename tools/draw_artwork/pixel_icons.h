// The toolbar images, drawn pixel by pixel (16 x 15 is too small for smooth shapes).
#ifndef DRAW_ARTWORK_PIXEL_ICONS_H
#define DRAW_ARTWORK_PIXEL_ICONS_H

#include <string>

#include <wx/image.h>

// The toolbar image of that name ("new.bmp", ... "export.bmp"), with alpha
// for the transparent background; an empty image for an unknown name.
wxImage RenderToolbarIcon(const std::string &name);

#endif
