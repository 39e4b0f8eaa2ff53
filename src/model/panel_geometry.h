// Where everything lies on the front-panel picture: the 67 graphical items
// (one per control index), the picture pairs they use, the two panel forms,
// the MIDI activity LEDs and the sizes of every built-in picture.
// Pure data and arithmetic: the view, its tests and the artwork generator
// all read these tables, so the pictures never drift from the hit areas.
#ifndef CVQ9_PANEL_GEOMETRY_H
#define CVQ9_PANEL_GEOMETRY_H

#include <cstddef>
#include <string>
#include <vector>

// Number of graphical items: one per control index 0..66.
constexpr unsigned PANEL_ITEM_COUNT = 67;

// The panel picture's size, and the view's size (the same).
constexpr int PANEL_PICTURE_WIDTH = 800;
constexpr int PANEL_PICTURE_HEIGHT = 338;

// The panel picture is drawn at this x in view coordinates: its leftmost
// 10 columns lie outside the view, the view's rightmost 10 are uncovered.
constexpr int PANEL_PICTURE_VIEW_X = -10;
constexpr int PANEL_PICTURE_VIEW_Y = 0;

// The two forms of the front panel: older hardware (before 2.0) has an
// infrared sensor, newer hardware a ribbon, both on control index 5.
enum class PanelForm { Infrared, Ribbon };

// Picture kinds, in the order of the picture table (which is also the
// order of the view's 26 bitmaps: green then red of each kind).
enum class PictureKind {
    Button,
    CrossfaderLeft,
    CrossfaderRight,
    Encoder,
    Footswitch,
    Infrared,
    JoystickButton,
    JoystickX,
    JoystickY,
    Knob,
    Lfo,
    Slider,
    Ribbon,
};
constexpr unsigned PICTURE_KIND_COUNT = 13;

// A rectangle in view coordinates (or picture coordinates where stated).
struct PanelRect {
    int x;
    int y;
    int w;
    int h;
};

inline bool operator==(const PanelRect &a, const PanelRect &b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// The toolkit's rectangle test: x <= px < x + w and y <= py < y + h.
bool PanelRectContains(const PanelRect &rect, int px, int py);

// One graphical item: its rectangle in view coordinates and its picture kind.
struct PanelItem {
    PanelRect rect;
    PictureKind kind;
};

// Item `index` (0..66) on the panel of form `form`. Only item 5 differs
// between the forms. An index outside 0..66 gives an empty rectangle at
// (0, 0) of kind Button.
PanelItem PanelItemGeometry(unsigned index, PanelForm form);

// Control indices whose items contain the view point (px, py), in index
// order, examining only indices first..last (clamped to 0..66). Items can
// overlap (the joystick's), so more than one index may be returned.
std::vector<unsigned> PanelItemsAt(PanelForm form, int px, int py, unsigned first = 0,
                                   unsigned last = PANEL_ITEM_COUNT - 1);

// The kind's base name ("button", "crossfader_left", ... "ribbon").
const char *PictureKindBaseName(PictureKind kind);
// The names of the kind's picture pair ("knob_green.bmp", "knob_red.bmp").
std::string GreenPictureName(PictureKind kind);
std::string RedPictureName(PictureKind kind);
// The size shared by both pictures of the kind's pair.
PanelRect PictureKindSize(PictureKind kind);  // x and y are 0
// The kind at position `position` (0..12) of the picture table.
PictureKind PictureKindAt(unsigned position);

// The panel picture of a form ("design_front_cs_v10.bmp" for the infrared
// panel, "design_front_cs_v11.bmp" for the ribbon panel).
const char *PanelPictureName(PanelForm form);

// The form the "HardwareVersion" setting selects: "Infrared" selects the
// infrared panel; anything else (the default "0", "Ribbon", garbage) the ribbon panel.
PanelForm PanelFormFromSetting(const std::wstring &setting);
// The form for an identified hardware version: below 2.0 (compared in single
// precision) the infrared panel, otherwise the ribbon panel.
PanelForm PanelFormFromHwVersion(float hw_version);
// The text "HardwareVersion" is written as for a form: "Infrared" or "Ribbon".
const wchar_t *PanelFormSettingText(PanelForm form);

// The MIDI activity LEDs, in view coordinates: 0 is MIDI in, 1 MIDI out.
constexpr unsigned MIDI_LED_COUNT = 2;
PanelRect MidiLedRect(unsigned which);
constexpr const char *MIDI_LED_PICTURE_NAME = "led_yellow.bmp";

// Converts a rectangle between view coordinates and panel-picture coordinates.
PanelRect ViewToPictureRect(const PanelRect &view_rect);

// Every built-in picture of the program: name and size. The panel pictures,
// the 13 pairs, the LED and the toolbar images.
struct BuiltInPicture {
    const char *name;
    int w;
    int h;
};
const std::vector<BuiltInPicture> &BuiltInPictures();
// The size of a built-in picture by name; false for an unknown name.
bool BuiltInPictureSize(const std::string &name, int *w, int *h);

// Toolbar images, all 16 x 15.
constexpr int TOOLBAR_IMAGE_WIDTH = 16;
constexpr int TOOLBAR_IMAGE_HEIGHT = 15;

#endif
