#include "cvq9_resources.h"

#include <cstring>

// The pictures, drawn by tools/draw_artwork from the panel geometry.
#include "xpm/IDI_ICON1.xpm"
#include "xpm/button_green.xpm"
#include "xpm/button_red.xpm"
#include "xpm/clear.xpm"
#include "xpm/copy.xpm"
#include "xpm/crossfader_left_green.xpm"
#include "xpm/crossfader_left_red.xpm"
#include "xpm/crossfader_right_green.xpm"
#include "xpm/crossfader_right_red.xpm"
#include "xpm/design_front_cs_v10.xpm"
#include "xpm/design_front_cs_v11.xpm"
#include "xpm/encoder_green.xpm"
#include "xpm/encoder_red.xpm"
#include "xpm/export.xpm"
#include "xpm/footswitch_green.xpm"
#include "xpm/footswitch_red.xpm"
#include "xpm/help.xpm"
#include "xpm/import.xpm"
#include "xpm/infrared_green.xpm"
#include "xpm/infrared_red.xpm"
#include "xpm/joystick_button_green.xpm"
#include "xpm/joystick_button_red.xpm"
#include "xpm/joystick_x_green.xpm"
#include "xpm/joystick_x_red.xpm"
#include "xpm/joystick_y_green.xpm"
#include "xpm/joystick_y_red.xpm"
#include "xpm/knob_green.xpm"
#include "xpm/knob_red.xpm"
#include "xpm/led_yellow.xpm"
#include "xpm/lfo_green.xpm"
#include "xpm/lfo_red.xpm"
#include "xpm/new.xpm"
#include "xpm/open.xpm"
#include "xpm/paste.xpm"
#include "xpm/print.xpm"
#include "xpm/ribbon_green.xpm"
#include "xpm/ribbon_red.xpm"
#include "xpm/save.xpm"
#include "xpm/slider_green.xpm"
#include "xpm/slider_red.xpm"

namespace {

const Cvq9XpmResource kResources[] = {
    {"button_green.bmp", button_green_bmp_xpm},
    {"button_red.bmp", button_red_bmp_xpm},
    {"clear.bmp", clear_bmp_xpm},
    {"copy.bmp", copy_bmp_xpm},
    {"crossfader_left_green.bmp", crossfader_left_green_bmp_xpm},
    {"crossfader_left_red.bmp", crossfader_left_red_bmp_xpm},
    {"crossfader_right_green.bmp", crossfader_right_green_bmp_xpm},
    {"crossfader_right_red.bmp", crossfader_right_red_bmp_xpm},
    {"design_front_cs_v10.bmp", design_front_cs_v10_bmp_xpm},
    {"design_front_cs_v11.bmp", design_front_cs_v11_bmp_xpm},
    {"encoder_green.bmp", encoder_green_bmp_xpm},
    {"encoder_red.bmp", encoder_red_bmp_xpm},
    {"export.bmp", export_bmp_xpm},
    {"footswitch_green.bmp", footswitch_green_bmp_xpm},
    {"footswitch_red.bmp", footswitch_red_bmp_xpm},
    {"help.bmp", help_bmp_xpm},
    {"import.bmp", import_bmp_xpm},
    {"infrared_green.bmp", infrared_green_bmp_xpm},
    {"infrared_red.bmp", infrared_red_bmp_xpm},
    {"joystick_button_green.bmp", joystick_button_green_bmp_xpm},
    {"joystick_button_red.bmp", joystick_button_red_bmp_xpm},
    {"joystick_x_green.bmp", joystick_x_green_bmp_xpm},
    {"joystick_x_red.bmp", joystick_x_red_bmp_xpm},
    {"joystick_y_green.bmp", joystick_y_green_bmp_xpm},
    {"joystick_y_red.bmp", joystick_y_red_bmp_xpm},
    {"knob_green.bmp", knob_green_bmp_xpm},
    {"knob_red.bmp", knob_red_bmp_xpm},
    {"led_yellow.bmp", led_yellow_bmp_xpm},
    {"lfo_green.bmp", lfo_green_bmp_xpm},
    {"lfo_red.bmp", lfo_red_bmp_xpm},
    {"new.bmp", new_bmp_xpm},
    {"open.bmp", open_bmp_xpm},
    {"paste.bmp", paste_bmp_xpm},
    {"print.bmp", print_bmp_xpm},
    {"ribbon_green.bmp", ribbon_green_bmp_xpm},
    {"ribbon_red.bmp", ribbon_red_bmp_xpm},
    {"save.bmp", save_bmp_xpm},
    {"slider_green.bmp", slider_green_bmp_xpm},
    {"slider_red.bmp", slider_red_bmp_xpm},
};

}  // namespace

const char *const *FindXpmResource(const char *name)
{
    if (name == nullptr)
        return nullptr;
    for (const Cvq9XpmResource &resource : kResources) {
        if (std::strcmp(resource.name, name) == 0)
            return resource.xpm;
    }
    return nullptr;
}

const char *const *Cvq9AppIconXpm()
{
    return IDI_ICON1_xpm;
}

const Cvq9XpmResource *Cvq9XpmResources(size_t *count)
{
    if (count)
        *count = sizeof(kResources) / sizeof(kResources[0]);
    return kResources;
}
