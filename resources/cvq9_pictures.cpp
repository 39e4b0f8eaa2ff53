#include "cvq9_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cvq9_resources.h"

namespace {

// Pictures larger than this are not built in; the bound keeps the pixel
// buffer of a damaged header small.
constexpr long kMaxSide = 4096;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The table index of a pixel's characters.
unsigned Key(const char *chars, int per_pixel)
{
    const unsigned first = static_cast<unsigned char>(chars[0]);
    return per_pixel == 1 ? first : (first << 8) | static_cast<unsigned char>(chars[1]);
}

struct Entry {
    bool defined = false;
    bool transparent = false;
    unsigned char rgb[3] = {0, 0, 0};
};

// One colour line: the pixel characters, blanks, "c", blanks, then "None"
// or "#RRGGBB" and nothing else but blanks.
bool ParseColour(const char *line, int per_pixel, std::vector<Entry> &table)
{
    if (line == nullptr || std::strlen(line) < static_cast<size_t>(per_pixel))
        return false;
    const unsigned key = Key(line, per_pixel);
    const char *p = line + per_pixel;
    if (*p != ' ' && *p != '\t')
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != 'c')
        return false;
    ++p;
    if (*p != ' ' && *p != '\t')
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    Entry entry;
    entry.defined = true;
    if (std::strncmp(p, "None", 4) == 0) {
        entry.transparent = true;
        p += 4;
    } else {
        if (*p != '#')
            return false;
        ++p;
        for (int i = 0; i < 3; ++i) {
            const int high = HexDigit(p[0]);
            const int low = high < 0 ? -1 : HexDigit(p[1]);
            if (low < 0)
                return false;
            entry.rgb[i] = static_cast<unsigned char>(high * 16 + low);
            p += 2;
        }
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != '\0' || table[key].defined)
        return false;
    table[key] = entry;
    return true;
}

// The decoded image, or the invalid image when the data is not of the form
// this reader takes.
wxImage DecodeSimpleXpm(const char *const *xpm)
{
    long width = 0, height = 0, colours = 0, per_pixel = 0;
    if (xpm[0] == nullptr || std::sscanf(xpm[0], "%ld %ld %ld %ld", &width, &height, &colours, &per_pixel) != 4)
        return wxImage();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || (per_pixel != 1 && per_pixel != 2))
        return wxImage();
    const int cpp = static_cast<int>(per_pixel);
    if (colours <= 0 || colours > (cpp == 1 ? 256L : 65536L))
        return wxImage();

    std::vector<Entry> table(cpp == 1 ? 256 : 65536);
    bool has_transparent = false;
    std::vector<unsigned> used;  // visible colours, to pick a free mask colour
    for (long i = 0; i < colours; ++i) {
        if (!ParseColour(xpm[1 + i], cpp, table))
            return wxImage();
        const Entry &entry = table[Key(xpm[1 + i], cpp)];
        if (entry.transparent)
            has_transparent = true;
        else
            used.push_back((entry.rgb[0] << 16) | (entry.rgb[1] << 8) | entry.rgb[2]);
    }

    // The mask colour: magenta unless a visible pixel has it, else the first
    // colour no visible pixel has.
    unsigned char mask[3] = {255, 0, 255};
    std::sort(used.begin(), used.end());
    if (has_transparent && std::binary_search(used.begin(), used.end(), 0xFF00FFu)) {
        // At most 65536 colours: one of the first 65537 is free.
        unsigned free_colour = 0;
        while (std::binary_search(used.begin(), used.end(), free_colour))
            ++free_colour;
        mask[0] = static_cast<unsigned char>(free_colour >> 16);
        mask[1] = static_cast<unsigned char>(free_colour >> 8);
        mask[2] = static_cast<unsigned char>(free_colour);
    }

    const size_t row_chars = static_cast<size_t>(width) * static_cast<size_t>(cpp);
    wxImage image(static_cast<int>(width), static_cast<int>(height), false);
    unsigned char *out = image.GetData();
    for (long y = 0; y < height; ++y) {
        const char *row = xpm[1 + colours + y];
        if (row == nullptr || std::strlen(row) < row_chars)
            return wxImage();
        for (long x = 0; x < width; ++x, row += cpp) {
            const Entry &entry = table[Key(row, cpp)];
            if (!entry.defined)
                return wxImage();
            const unsigned char *rgb = entry.transparent ? mask : entry.rgb;
            *out++ = rgb[0];
            *out++ = rgb[1];
            *out++ = rgb[2];
        }
    }
    if (has_transparent)
        image.SetMaskColour(mask[0], mask[1], mask[2]);
    return image;
}

}  // namespace

wxImage XpmToImage(const char *const *xpm)
{
    if (xpm == nullptr)
        return wxImage();
    return DecodeSimpleXpm(xpm);
}

wxBitmap XpmToBitmap(const char *const *xpm)
{
    if (xpm == nullptr)
        return wxNullBitmap;
    const wxImage image = XpmToImage(xpm);
    return image.IsOk() ? wxBitmap(image) : wxNullBitmap;
}

wxBitmap BuiltInBitmap(const char *name)
{
    return XpmToBitmap(FindXpmResource(name));
}
