#include "panel_geometry.h"

namespace {

struct KindEntry {
    const char *base_name;
    int w;
    int h;
};

// Picture table order; the sizes are those of both pictures of each pair.
const KindEntry kKinds[PICTURE_KIND_COUNT] = {
    {"button", 22, 13},
    {"crossfader_left", 34, 26},
    {"crossfader_right", 36, 26},
    {"encoder", 26, 25},
    {"footswitch", 59, 8},
    {"infrared", 53, 20},
    {"joystick_button", 30, 18},
    {"joystick_x", 24, 26},
    {"joystick_y", 29, 21},
    {"knob", 34, 33},
    {"lfo", 142, 38},
    {"slider", 21, 46},
    {"ribbon", 27, 113},
};

struct ItemEntry {
    int x;
    int y;
    PictureKind kind;
};

using K = PictureKind;

// Top-left corners of the items by control index; the sizes follow the kind.
// Entry 5 is the ribbon form; the infrared form is kInfraredItem5.
const ItemEntry kItems[PANEL_ITEM_COUNT] = {
    {718, 148, K::Button},     // 0 Rec button
    {688, 148, K::Button},     // 1 Play button
    {598, 148, K::Button},     // 2 Backward button
    {658, 148, K::Button},     // 3 Stop button
    {628, 148, K::Button},     // 4 Forward button
    {753, 52, K::Ribbon},      // 5 Ribbon controller
    {731, 211, K::JoystickX},  // 6 Joystick X
    {727, 190, K::JoystickY},  // 7 Joystick Y
    {39, 23, K::Knob},
    {92, 23, K::Knob},
    {146, 23, K::Knob},
    {200, 23, K::Knob},  // 8..11
    {254, 23, K::Knob},
    {308, 23, K::Knob},
    {361, 23, K::Knob},
    {414, 23, K::Knob},  // 12..15
    {39, 67, K::Knob},
    {92, 67, K::Knob},
    {146, 67, K::Knob},
    {200, 67, K::Knob},  // 16..19
    {254, 67, K::Knob},
    {308, 67, K::Knob},
    {361, 67, K::Knob},
    {414, 67, K::Knob},  // 20..23
    {39, 111, K::Knob},
    {92, 111, K::Knob},
    {146, 111, K::Knob},
    {200, 111, K::Knob},  // 24..27
    {254, 111, K::Knob},
    {308, 111, K::Knob},
    {361, 111, K::Knob},
    {414, 111, K::Knob},  // 28..31
    {39, 155, K::Knob},
    {92, 155, K::Knob},
    {146, 155, K::Knob},
    {200, 155, K::Knob},  // 32..35
    {254, 155, K::Knob},
    {308, 155, K::Knob},
    {361, 155, K::Knob},
    {414, 155, K::Knob},  // 36..39
    {43, 283, K::Slider},
    {96, 283, K::Slider},
    {149, 283, K::Slider},
    {203, 283, K::Slider},  // 40..43
    {256, 283, K::Slider},
    {309, 283, K::Slider},
    {363, 283, K::Slider},
    {417, 283, K::Slider},           // 44..47
    {487, 299, K::CrossfaderLeft},   // 48 Crossfader L
    {521, 299, K::CrossfaderRight},  // 49 Crossfader R
    {718, 164, K::Button},           // 50 Backward[Shift]
    {688, 164, K::Button},           // 51 Forward[Shift]
    {598, 164, K::Button},           // 52 Stop[Shift]
    {658, 164, K::Button},           // 53 Play[Shift]
    {628, 164, K::Button},           // 54 Rec[Shift]
    {716, 219, K::JoystickButton},   // 55 Joystick button
    {501, 2, K::Footswitch},         // 56 Foot-Switch
    {516, 75, K::Encoder},           // 57 Encoder button
    {473, 266, K::Button},
    {503, 266, K::Button},
    {533, 266, K::Button},
    {563, 266, K::Button},  // 58..61
    {593, 266, K::Button},
    {623, 266, K::Button},
    {653, 266, K::Button},
    {683, 266, K::Button},  // 62..65
    {469, 190, K::Lfo},     // 66 LFO
};

const ItemEntry kInfraredItem5 = {718, 17, K::Infrared};

const PanelRect kMidiLeds[MIDI_LED_COUNT] = {
    {724, 105, 12, 7},  // MIDI in
    {724, 118, 12, 7},  // MIDI out
};

std::vector<BuiltInPicture> MakeBuiltInPictures()
{
    std::vector<BuiltInPicture> pictures;
    static const char *const kToolbar[] = {"new.bmp",  "open.bmp",  "save.bmp",  "print.bmp",  "help.bmp",
                                           "copy.bmp", "paste.bmp", "clear.bmp", "import.bmp", "export.bmp"};
    for (const char *name : kToolbar) {
        pictures.push_back({name, TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT});
    }
    pictures.push_back({"design_front_cs_v10.bmp", PANEL_PICTURE_WIDTH, PANEL_PICTURE_HEIGHT});
    pictures.push_back({"design_front_cs_v11.bmp", PANEL_PICTURE_WIDTH, PANEL_PICTURE_HEIGHT});
    // The pair names are built once and kept for the life of the process.
    static std::vector<std::string> pair_names;
    pair_names.reserve(2 * PICTURE_KIND_COUNT);
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        pair_names.push_back(GreenPictureName(PictureKindAt(k)));
        pair_names.push_back(RedPictureName(PictureKindAt(k)));
    }
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        pictures.push_back({pair_names[2 * k].c_str(), kKinds[k].w, kKinds[k].h});
        pictures.push_back({pair_names[2 * k + 1].c_str(), kKinds[k].w, kKinds[k].h});
    }
    pictures.push_back({MIDI_LED_PICTURE_NAME, 12, 7});
    return pictures;
}

}  // namespace

bool PanelRectContains(const PanelRect &rect, int px, int py)
{
    return px >= rect.x && px < rect.x + rect.w && py >= rect.y && py < rect.y + rect.h;
}

PanelItem PanelItemGeometry(unsigned index, PanelForm form)
{
    if (index >= PANEL_ITEM_COUNT) {
        return PanelItem{PanelRect{0, 0, 0, 0}, PictureKind::Button};
    }
    const ItemEntry &entry = (index == 5 && form == PanelForm::Infrared) ? kInfraredItem5 : kItems[index];
    const PanelRect size = PictureKindSize(entry.kind);
    return PanelItem{PanelRect{entry.x, entry.y, size.w, size.h}, entry.kind};
}

std::vector<unsigned> PanelItemsAt(PanelForm form, int px, int py, unsigned first, unsigned last)
{
    std::vector<unsigned> hits;
    if (last >= PANEL_ITEM_COUNT)
        last = PANEL_ITEM_COUNT - 1;
    for (unsigned i = first; i <= last; ++i) {
        if (PanelRectContains(PanelItemGeometry(i, form).rect, px, py))
            hits.push_back(i);
    }
    return hits;
}

const char *PictureKindBaseName(PictureKind kind)
{
    return kKinds[static_cast<unsigned>(kind)].base_name;
}

std::string GreenPictureName(PictureKind kind)
{
    return std::string(PictureKindBaseName(kind)) + "_green.bmp";
}

std::string RedPictureName(PictureKind kind)
{
    return std::string(PictureKindBaseName(kind)) + "_red.bmp";
}

PanelRect PictureKindSize(PictureKind kind)
{
    const KindEntry &entry = kKinds[static_cast<unsigned>(kind)];
    return PanelRect{0, 0, entry.w, entry.h};
}

PictureKind PictureKindAt(unsigned position)
{
    return static_cast<PictureKind>(position < PICTURE_KIND_COUNT ? position : 0);
}

const char *PanelPictureName(PanelForm form)
{
    return form == PanelForm::Infrared ? "design_front_cs_v10.bmp" : "design_front_cs_v11.bmp";
}

PanelForm PanelFormFromSetting(const std::wstring &setting)
{
    return setting == L"Infrared" ? PanelForm::Infrared : PanelForm::Ribbon;
}

PanelForm PanelFormFromHwVersion(float hw_version)
{
    return hw_version < 2.0f ? PanelForm::Infrared : PanelForm::Ribbon;
}

const wchar_t *PanelFormSettingText(PanelForm form)
{
    return form == PanelForm::Infrared ? L"Infrared" : L"Ribbon";
}

PanelRect MidiLedRect(unsigned which)
{
    return which < MIDI_LED_COUNT ? kMidiLeds[which] : PanelRect{0, 0, 0, 0};
}

PanelRect ViewToPictureRect(const PanelRect &view_rect)
{
    return PanelRect{view_rect.x - PANEL_PICTURE_VIEW_X, view_rect.y - PANEL_PICTURE_VIEW_Y, view_rect.w, view_rect.h};
}

const std::vector<BuiltInPicture> &BuiltInPictures()
{
    static const std::vector<BuiltInPicture> pictures = MakeBuiltInPictures();
    return pictures;
}

bool BuiltInPictureSize(const std::string &name, int *w, int *h)
{
    for (const BuiltInPicture &picture : BuiltInPictures()) {
        if (name == picture.name) {
            if (w)
                *w = picture.w;
            if (h)
                *h = picture.h;
            return true;
        }
    }
    return false;
}
