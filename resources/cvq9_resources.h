// The program's built-in pictures, as XPM data looked up by name.
// The data is drawn by tools/draw_artwork (see there to regenerate it).
#ifndef CVQ9_RESOURCES_H
#define CVQ9_RESOURCES_H

#include <cstddef>

// The XPM data of the built-in picture `name` ("design_front_cs_v11.bmp",
// "knob_green.bmp", "led_yellow.bmp", "open.bmp", ...), or nullptr for any
// other name (including nullptr). Names are compared exactly.
const char *const *FindXpmResource(const char *name);

// The XPM data of the program icon "IDI_ICON1" (32 x 32, transparent corners).
const char *const *Cvq9AppIconXpm();

// One entry of the picture table, for enumerating every built-in picture.
struct Cvq9XpmResource {
    const char *name;
    const char *const *xpm;
};
// The table of every built-in picture, `*count` entries.
const Cvq9XpmResource *Cvq9XpmResources(size_t *count);

#endif
