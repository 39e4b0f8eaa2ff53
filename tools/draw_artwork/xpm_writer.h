// Colour reduction and XPM output for the generated pictures.
#ifndef DRAW_ARTWORK_XPM_WRITER_H
#define DRAW_ARTWORK_XPM_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include <wx/image.h>

// Reduces `image` to at most `max_colours` colours (median cut, no dithering,
// so flat areas stay flat) and returns it as XPM C source declaring
// `static const char *const <var_name>[]`. Colours listed in `pinned` are kept
// exactly, so a sprite's background matches the panel picture's pixel for pixel.
// Pixels whose alpha is below 128 (when the image has alpha) become "None".
std::string ImageToXpm(const wxImage &image, const std::string &var_name, unsigned max_colours,
                       const std::vector<uint32_t> &pinned);

// 0xRRGGBB of a colour.
inline uint32_t Rgb(unsigned char r, unsigned char g, unsigned char b)
{
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

#endif
