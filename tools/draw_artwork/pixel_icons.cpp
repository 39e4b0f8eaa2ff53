#include "pixel_icons.h"

#include <cstring>
#include <stdexcept>

#include "panel_geometry.h"

namespace {

// One character per pixel; '.' is transparent.
struct PaletteEntry {
    char code;
    unsigned char r, g, b;
};
const PaletteEntry kPalette[] = {
    {'k', 32, 32, 36},   {'w', 255, 255, 255}, {'l', 226, 226, 226}, {'g', 168, 168, 172}, {'G', 96, 96, 100},
    {'y', 250, 214, 92}, {'Y', 201, 149, 30},  {'b', 59, 120, 216},  {'B', 31, 76, 154},   {'r', 228, 57, 43},
    {'R', 142, 29, 20},  {'n', 60, 192, 74},   {'N', 29, 122, 40},   {'o', 192, 122, 58},
};

struct PixelIcon {
    const char *name;
    const char *rows[TOOLBAR_IMAGE_HEIGHT];
};

const PixelIcon kIcons[] = {
    {"new.bmp",
     {"................", "..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwklk...", "..kwwwwwwwkllk..",
      "..kwwwwwwwkkkkk.", "..kwwwwwwwwwwwk.", "..kwwwwwwwwwwwk.", "..kwwwwwwwwwwwk.", "..kwwwwwwwwwwwk.",
      "..kwwwwwwwwwwwk.", "..kwwwwwwwwwwwk.", "..kwwwwwwwwwwwk.", "..kkkkkkkkkkkkk.", "................"}},
    {"open.bmp",
     {"................", "................", ".kkkk...........", "kYYYYk..........", "kYYYYYkkkkkkk...",
      "kYYYYYYYYYYYk...", "kYYYkkkkkkkkkkkk", "kYYkyyyyyyyyyyyk", "kYYkyyyyyyyyyyk.", "kYkyyyyyyyyyyyk.",
      "kYkyyyyyyyyyyk..", "kkyyyyyyyyyyyk..", "kkyyyyyyyyyyk...", "kkkkkkkkkkkkk...", "................"}},
    {"save.bmp",
     {"................", ".kkkkkkkkkkkkkk.", ".kbkwwwwwwwwkbk.", ".kbkwwwwwwwwkbk.", ".kbkwggggggwkbk.",
      ".kbkwwwwwwwwkbk.", ".kbkwggggggwkbk.", ".kbbkkkkkkkkbbk.", ".kbbbbbbbbbbbbk.", ".kbbggggggggbbk.",
      ".kbbgGGgggggbbk.", ".kbbgGGgggggbbk.", ".kbbggggggggbbk.", ".kkkkkkkkkkkkkk.", "................"}},
    {"print.bmp",
     {"................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwggggwk....", "....kwwwwwwk....",
      "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".kllllllllllnlk.", ".kggggggggggggk.", ".kGGGGGGGGGGGGk.",
      ".kGGkkkkkkkkGGk.", "..kkwwwwwwwwkk..", "...kwggggggwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk..."}},
    {"help.bmp",
     {"................", ".....kkkkkk.....", "...kkbbbbbbkk...", "..kbbbwwwwbbbk..", "..kbbwwbbwwbbk..",
      ".kbbbbbbbwwbbbk.", ".kbbbbbbwwbbbbk.", ".kbbbbbwwbbbbbk.", ".kbbbbbwwbbbbbk.", ".kbbbbbbbbbbbbk.",
      "..kbbbbwwbbbbk..", "..kbbbbwwbbbbk..", "...kkbbbbbbkk...", ".....kkkkkk.....", "................"}},
    {"copy.bmp",
     {"kkkkkkkk........", "kwwwwwwkk.......", "kwGGGGwklk......", "kwwwwwwkkkk.....", "kwGGGGkkkkkkkk..",
      "kwwwwwkwwwwwwkk.", "kwGGGGkwGGGGwklk", "kwwwwwkwwwwwwkkk", "kwGGGGkwGGGGGGwk", "kwwwwwkwwwwwwwwk",
      "kkkkkkkwGGGGGGwk", "......kwwwwwwwwk", "......kwGGGGGGwk", "......kwwwwwwwwk", "......kkkkkkkkkk"}},
    {"paste.bmp",
     {".....kkkkk......", ".kkkkgwwwgkkkk..", ".kookgggggkook..", ".koookkkkkoook..", ".koooooooooook..",
      ".kooookkkkkkkkk.", ".kooookwwwwwwwk.", ".kooookwGGGGGwk.", ".kooookwwwwwwwk.", ".kooookwGGGGGwk.",
      ".kooookwwwwwwwk.", ".kooookwGGGwwwk.", ".kooookwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................"}},
    {"clear.bmp",
     {"................", "..RR........RR..", ".RrrR......RrrR.", ".RrrrR....RrrrR.", "..RrrrR..RrrrR..",
      "...RrrrRRrrrR...", "....RrrrrrrR....", ".....RrrrrR.....", "....RrrrrrrR....", "...RrrrRRrrrR...",
      "..RrrrR..RrrrR..", ".RrrrR....RrrrR.", ".RrrR......RrrR.", "..RR........RR..", "................"}},
    {"import.bmp",
     {"......kkkk......", "......knnk......", "......knnk......", "......knnk......", "...kkkknnkkkk...",
      "....knnnnnnk....", ".....knnnnk.....", "......knnk......", ".kkkkkkkkkkkkkk.", ".kggggggggggggk.",
      ".kgGGgGGgGGgngk.", ".kgGGgGGgGGgggk.", ".kggggggggggggk.", ".kkkkkkkkkkkkkk.", "................"}},
    {"export.bmp",
     {"kkkkkkkk........", "kwwwwwwkk.......", "kwwwwwwkkk......", "kwGGGGGGwk......", "kwwwwwwwwk.k....",
      "kwGGGGGGwk.nk...", "kwwwkkkkkkknnk..", "kwwwknnnnnnnnnk.", "kwwwknnnnnnnnnnk", "kwwwknnnnnnnnnk.",
      "kwwwkkkkkkknnk..", "kwGGGGGGwk.nk...", "kwwwwwwwwk.k....", "kwGGGGGGwk......", "kkkkkkkkkk......"}},
};

}  // namespace

wxImage RenderToolbarIcon(const std::string &name)
{
    for (const PixelIcon &icon : kIcons) {
        if (name != icon.name)
            continue;
        wxImage image(TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT);
        image.InitAlpha();
        for (int y = 0; y < TOOLBAR_IMAGE_HEIGHT; ++y) {
            const char *row = icon.rows[y];
            if (std::strlen(row) != size_t(TOOLBAR_IMAGE_WIDTH))
                throw std::runtime_error(name + ": bad row width");
            for (int x = 0; x < TOOLBAR_IMAGE_WIDTH; ++x) {
                if (row[x] == '.') {
                    image.SetRGB(x, y, 255, 255, 255);
                    image.SetAlpha(x, y, 0);
                    continue;
                }
                bool found = false;
                for (const PaletteEntry &p : kPalette) {
                    if (p.code == row[x]) {
                        image.SetRGB(x, y, p.r, p.g, p.b);
                        image.SetAlpha(x, y, 255);
                        found = true;
                    }
                }
                if (!found)
                    throw std::runtime_error(name + ": unknown pixel code");
            }
        }
        return image;
    }
    return wxImage();
}
