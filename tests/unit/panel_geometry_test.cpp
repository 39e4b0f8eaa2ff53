// The front-panel geometry: item rectangles, picture pairs, panel forms,
// hit testing and LED positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "panel_geometry.h"

namespace {

struct ExpectedItem {
    unsigned index;
    int x, y, w, h;
    const char *pair;
};

// The published layout, written out independently of the implementation's table.
const ExpectedItem kLayout[] = {
    {0, 718, 148, 22, 13, "button"},
    {1, 688, 148, 22, 13, "button"},
    {2, 598, 148, 22, 13, "button"},
    {3, 658, 148, 22, 13, "button"},
    {4, 628, 148, 22, 13, "button"},
    {5, 753, 52, 27, 113, "ribbon"},
    {6, 731, 211, 24, 26, "joystick_x"},
    {7, 727, 190, 29, 21, "joystick_y"},
    {8, 39, 23, 34, 33, "knob"},
    {9, 92, 23, 34, 33, "knob"},
    {10, 146, 23, 34, 33, "knob"},
    {11, 200, 23, 34, 33, "knob"},
    {12, 254, 23, 34, 33, "knob"},
    {13, 308, 23, 34, 33, "knob"},
    {14, 361, 23, 34, 33, "knob"},
    {15, 414, 23, 34, 33, "knob"},
    {16, 39, 67, 34, 33, "knob"},
    {17, 92, 67, 34, 33, "knob"},
    {18, 146, 67, 34, 33, "knob"},
    {19, 200, 67, 34, 33, "knob"},
    {20, 254, 67, 34, 33, "knob"},
    {21, 308, 67, 34, 33, "knob"},
    {22, 361, 67, 34, 33, "knob"},
    {23, 414, 67, 34, 33, "knob"},
    {24, 39, 111, 34, 33, "knob"},
    {25, 92, 111, 34, 33, "knob"},
    {26, 146, 111, 34, 33, "knob"},
    {27, 200, 111, 34, 33, "knob"},
    {28, 254, 111, 34, 33, "knob"},
    {29, 308, 111, 34, 33, "knob"},
    {30, 361, 111, 34, 33, "knob"},
    {31, 414, 111, 34, 33, "knob"},
    {32, 39, 155, 34, 33, "knob"},
    {33, 92, 155, 34, 33, "knob"},
    {34, 146, 155, 34, 33, "knob"},
    {35, 200, 155, 34, 33, "knob"},
    {36, 254, 155, 34, 33, "knob"},
    {37, 308, 155, 34, 33, "knob"},
    {38, 361, 155, 34, 33, "knob"},
    {39, 414, 155, 34, 33, "knob"},
    {40, 43, 283, 21, 46, "slider"},
    {41, 96, 283, 21, 46, "slider"},
    {42, 149, 283, 21, 46, "slider"},
    {43, 203, 283, 21, 46, "slider"},
    {44, 256, 283, 21, 46, "slider"},
    {45, 309, 283, 21, 46, "slider"},
    {46, 363, 283, 21, 46, "slider"},
    {47, 417, 283, 21, 46, "slider"},
    {48, 487, 299, 34, 26, "crossfader_left"},
    {49, 521, 299, 36, 26, "crossfader_right"},
    {50, 718, 164, 22, 13, "button"},
    {51, 688, 164, 22, 13, "button"},
    {52, 598, 164, 22, 13, "button"},
    {53, 658, 164, 22, 13, "button"},
    {54, 628, 164, 22, 13, "button"},
    {55, 716, 219, 30, 18, "joystick_button"},
    {56, 501, 2, 59, 8, "footswitch"},
    {57, 516, 75, 26, 25, "encoder"},
    {58, 473, 266, 22, 13, "button"},
    {59, 503, 266, 22, 13, "button"},
    {60, 533, 266, 22, 13, "button"},
    {61, 563, 266, 22, 13, "button"},
    {62, 593, 266, 22, 13, "button"},
    {63, 623, 266, 22, 13, "button"},
    {64, 653, 266, 22, 13, "button"},
    {65, 683, 266, 22, 13, "button"},
    {66, 469, 190, 142, 38, "lfo"},
};

std::string PairOf(const PanelItem &item)
{
    return PictureKindBaseName(item.kind);
}

}  // namespace

// --- Item table -----------------------------------------------------------

TEST(PanelItemTable, AllSixtySevenItemsOnTheRibbonPanel)
{
    ASSERT_EQ(sizeof(kLayout) / sizeof(kLayout[0]), 67u);
    for (const ExpectedItem &e : kLayout) {
        const PanelItem item = PanelItemGeometry(e.index, PanelForm::Ribbon);
        EXPECT_EQ(item.rect, (PanelRect{e.x, e.y, e.w, e.h})) << "index " << e.index;
        EXPECT_EQ(PairOf(item), e.pair) << "index " << e.index;
    }
}

TEST(PanelItemTable, InfraredPanelDiffersOnlyInItemFive)
{
    for (const ExpectedItem &e : kLayout) {
        const PanelItem item = PanelItemGeometry(e.index, PanelForm::Infrared);
        if (e.index == 5) {
            EXPECT_EQ(item.rect, (PanelRect{718, 17, 53, 20}));
            EXPECT_EQ(PairOf(item), "infrared");
        } else {
            EXPECT_EQ(item.rect, (PanelRect{e.x, e.y, e.w, e.h})) << "index " << e.index;
            EXPECT_EQ(PairOf(item), e.pair) << "index " << e.index;
        }
    }
}

TEST(PanelItemTable, ItemSizeIsThePictureSizeOfItsKind)
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
            const PanelItem item = PanelItemGeometry(i, form);
            const PanelRect size = PictureKindSize(item.kind);
            EXPECT_EQ(item.rect.w, size.w) << i;
            EXPECT_EQ(item.rect.h, size.h) << i;
        }
    }
}

TEST(PanelItemTable, EveryItemLiesInsideTheVisiblePicture)
{
    // The picture is drawn 10 columns to the left: view columns 0..789 show it.
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
            const PanelRect r = PanelItemGeometry(i, form).rect;
            EXPECT_GE(r.x, 0) << i;
            EXPECT_GE(r.y, 0) << i;
            EXPECT_LE(r.x + r.w, PANEL_PICTURE_WIDTH + PANEL_PICTURE_VIEW_X) << i;
            EXPECT_LE(r.y + r.h, PANEL_PICTURE_HEIGHT) << i;
        }
    }
}

TEST(PanelItemTable, TransportButtonsAndTheirShiftedFunctionsShareFiveColumns)
{
    const std::set<int> columns = {598, 628, 658, 688, 718};
    std::set<int> top, bottom;
    for (unsigned i = 0; i <= 4; ++i) {
        const PanelRect r = PanelItemGeometry(i, PanelForm::Ribbon).rect;
        EXPECT_EQ(r.y, 148);
        top.insert(r.x);
    }
    for (unsigned i = 50; i <= 54; ++i) {
        const PanelRect r = PanelItemGeometry(i, PanelForm::Ribbon).rect;
        EXPECT_EQ(r.y, 164);
        bottom.insert(r.x);
    }
    EXPECT_EQ(top, columns);
    EXPECT_EQ(bottom, columns);
}

TEST(PanelItemTable, IndexOutsideTheRosterGivesAnEmptyRectangle)
{
    EXPECT_EQ(PanelItemGeometry(67, PanelForm::Ribbon).rect, (PanelRect{0, 0, 0, 0}));
    EXPECT_EQ(PanelItemGeometry(1000, PanelForm::Infrared).rect, (PanelRect{0, 0, 0, 0}));
}

// --- Picture pairs ----------------------------------------------------------

TEST(PicturePairs, ThirteenKindsInTableOrderWithTheirSizes)
{
    const struct {
        const char *name;
        int w, h;
    } expected[] = {{"button", 22, 13},
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
                    {"ribbon", 27, 113}};
    ASSERT_EQ(PICTURE_KIND_COUNT, 13u);
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        EXPECT_EQ(static_cast<unsigned>(kind), k);
        EXPECT_STREQ(PictureKindBaseName(kind), expected[k].name);
        EXPECT_EQ(PictureKindSize(kind).w, expected[k].w) << expected[k].name;
        EXPECT_EQ(PictureKindSize(kind).h, expected[k].h) << expected[k].name;
    }
}

TEST(PicturePairs, NamesEndInGreenAndRedBmp)
{
    EXPECT_EQ(GreenPictureName(PictureKind::Knob), "knob_green.bmp");
    EXPECT_EQ(RedPictureName(PictureKind::Knob), "knob_red.bmp");
    EXPECT_EQ(GreenPictureName(PictureKind::CrossfaderLeft), "crossfader_left_green.bmp");
    EXPECT_EQ(RedPictureName(PictureKind::JoystickButton), "joystick_button_red.bmp");
}

TEST(PicturePairs, BuiltInPictureListHoldsEveryNameOnceWithItsSize)
{
    const std::vector<BuiltInPicture> &pictures = BuiltInPictures();
    EXPECT_EQ(pictures.size(), 10u + 2u + 26u + 1u);
    std::set<std::string> names;
    for (const BuiltInPicture &p : pictures) {
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate " << p.name;
        EXPECT_GT(p.w, 0);
        EXPECT_GT(p.h, 0);
    }
    int w = 0, h = 0;
    EXPECT_TRUE(BuiltInPictureSize("design_front_cs_v10.bmp", &w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 338);
    EXPECT_TRUE(BuiltInPictureSize("design_front_cs_v11.bmp", &w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 338);
    EXPECT_TRUE(BuiltInPictureSize("led_yellow.bmp", &w, &h));
    EXPECT_EQ(w, 12);
    EXPECT_EQ(h, 7);
    for (const char *tool : {"new.bmp", "open.bmp", "save.bmp", "print.bmp", "help.bmp", "copy.bmp", "paste.bmp",
                             "clear.bmp", "import.bmp", "export.bmp"}) {
        EXPECT_TRUE(BuiltInPictureSize(tool, &w, &h)) << tool;
        EXPECT_EQ(w, 16) << tool;
        EXPECT_EQ(h, 15) << tool;
    }
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        for (const std::string &name : {GreenPictureName(kind), RedPictureName(kind)}) {
            EXPECT_TRUE(BuiltInPictureSize(name, &w, &h)) << name;
            EXPECT_EQ(w, PictureKindSize(kind).w) << name;
            EXPECT_EQ(h, PictureKindSize(kind).h) << name;
        }
    }
    EXPECT_FALSE(BuiltInPictureSize("knob.bmp", &w, &h));
    EXPECT_FALSE(BuiltInPictureSize("", &w, &h));
}

// --- Panel forms --------------------------------------------------------------

TEST(PanelForms, SettingInfraredSelectsTheOlderPanelAnythingElseTheRibbon)
{
    EXPECT_EQ(PanelFormFromSetting(L"Infrared"), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromSetting(L"Ribbon"), PanelForm::Ribbon);
    EXPECT_EQ(PanelFormFromSetting(L"0"), PanelForm::Ribbon);
    EXPECT_EQ(PanelFormFromSetting(L""), PanelForm::Ribbon);
    EXPECT_EQ(PanelFormFromSetting(L"infrared"), PanelForm::Ribbon);
    EXPECT_EQ(PanelFormFromSetting(L"Infrared "), PanelForm::Ribbon);
}

TEST(PanelForms, HardwareBelowTwoIsInfraredTwoAndAboveRibbon)
{
    EXPECT_EQ(PanelFormFromHwVersion(0.0f), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromHwVersion(1.0f), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromHwVersion(1.2f), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromHwVersion(1.9f), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromHwVersion(2.0f), PanelForm::Ribbon);
    // The version as the identity exchange builds it: major + minor * 0.1.
    EXPECT_EQ(PanelFormFromHwVersion(2.0f + 0 * 0.1f), PanelForm::Ribbon);
    EXPECT_EQ(PanelFormFromHwVersion(1.0f + 9 * 0.1f), PanelForm::Infrared);
    EXPECT_EQ(PanelFormFromHwVersion(2.1f), PanelForm::Ribbon);
}

TEST(PanelForms, SettingTextsAndPictureNames)
{
    EXPECT_STREQ(PanelFormSettingText(PanelForm::Infrared), L"Infrared");
    EXPECT_STREQ(PanelFormSettingText(PanelForm::Ribbon), L"Ribbon");
    EXPECT_STREQ(PanelPictureName(PanelForm::Infrared), "design_front_cs_v10.bmp");
    EXPECT_STREQ(PanelPictureName(PanelForm::Ribbon), "design_front_cs_v11.bmp");
    // The written text reads back as the same form.
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        EXPECT_EQ(PanelFormFromSetting(PanelFormSettingText(form)), form);
    }
}

// --- Hit testing ---------------------------------------------------------------

TEST(PanelHitTest, RectangleIncludesItsTopLeftAndExcludesItsFarEdges)
{
    const PanelRect r{10, 20, 5, 4};
    EXPECT_TRUE(PanelRectContains(r, 10, 20));
    EXPECT_TRUE(PanelRectContains(r, 14, 23));
    EXPECT_FALSE(PanelRectContains(r, 15, 20));
    EXPECT_FALSE(PanelRectContains(r, 10, 24));
    EXPECT_FALSE(PanelRectContains(r, 9, 20));
    EXPECT_FALSE(PanelRectContains(r, 10, 19));
    EXPECT_FALSE(PanelRectContains(PanelRect{3, 3, 0, 0}, 3, 3));
}

TEST(PanelHitTest, JoystickXAndJoystickButtonOverlapAndBothAreHitInIndexOrder)
{
    // (731..746) x (219..236) is covered by items 6 and 55.
    const std::vector<unsigned> hits = PanelItemsAt(PanelForm::Ribbon, 735, 225);
    EXPECT_EQ(hits, (std::vector<unsigned>{6, 55}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 731, 219), (std::vector<unsigned>{6, 55}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 745, 236), (std::vector<unsigned>{6, 55}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 746, 236), (std::vector<unsigned>{6}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 730, 225), (std::vector<unsigned>{55}));
}

TEST(PanelHitTest, JoystickYTouchesJoystickXWithoutOverlapping)
{
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 740, 210), (std::vector<unsigned>{7}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 740, 211), (std::vector<unsigned>{6}));
}

TEST(PanelHitTest, OnlyTheJoystickItemsOverlap)
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        for (unsigned a = 0; a < PANEL_ITEM_COUNT; ++a) {
            for (unsigned b = a + 1; b < PANEL_ITEM_COUNT; ++b) {
                const PanelRect ra = PanelItemGeometry(a, form).rect;
                const PanelRect rb = PanelItemGeometry(b, form).rect;
                const bool overlap =
                    ra.x < rb.x + rb.w && rb.x < ra.x + ra.w && ra.y < rb.y + rb.h && rb.y < ra.y + ra.h;
                const bool joystick_pair = (a == 6 && b == 55);
                EXPECT_EQ(overlap, joystick_pair) << a << " and " << b;
            }
        }
    }
}

TEST(PanelHitTest, ItemFiveHitAreaFollowsThePanelForm)
{
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 760, 100), (std::vector<unsigned>{5}));
    EXPECT_TRUE(PanelItemsAt(PanelForm::Infrared, 760, 100).empty());
    EXPECT_EQ(PanelItemsAt(PanelForm::Infrared, 720, 20), (std::vector<unsigned>{5}));
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 720, 20).empty());
}

TEST(PanelHitTest, GapsBetweenControlsHitNothing)
{
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 80, 40).empty());  // between knob 0 and knob 1
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 50, 60).empty());  // between knob rows
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 0, 0).empty());
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 799, 337).empty());
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, -1, -1).empty());
}

TEST(PanelHitTest, EveryItemIsHitAtItsCornersAndTheRangeLimitsTheSearch)
{
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        const PanelRect r = PanelItemGeometry(i, PanelForm::Ribbon).rect;
        const std::vector<unsigned> at_top_left = PanelItemsAt(PanelForm::Ribbon, r.x, r.y);
        EXPECT_NE(std::find(at_top_left.begin(), at_top_left.end(), i), at_top_left.end()) << i;
        const std::vector<unsigned> at_far = PanelItemsAt(PanelForm::Ribbon, r.x + r.w - 1, r.y + r.h - 1);
        EXPECT_NE(std::find(at_far.begin(), at_far.end(), i), at_far.end()) << i;
    }
    // The hover text skips the transport buttons: search 5..66 only.
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, 720, 150, 5, 66).empty());
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 720, 150), (std::vector<unsigned>{0}));
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, 735, 225, 0, 1000), (std::vector<unsigned>{6, 55}));
}

// --- LEDs and coordinates ---------------------------------------------------------

TEST(PanelLeds, MidiInAboveMidiOutBothTwelveBySeven)
{
    EXPECT_EQ(MidiLedRect(0), (PanelRect{724, 105, 12, 7}));
    EXPECT_EQ(MidiLedRect(1), (PanelRect{724, 118, 12, 7}));
    EXPECT_EQ(MidiLedRect(2), (PanelRect{0, 0, 0, 0}));
    EXPECT_STREQ(MIDI_LED_PICTURE_NAME, "led_yellow.bmp");
}

TEST(PanelLeds, LedsCoverNoControlOnEitherPanel)
{
    for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
        const PanelRect led = MidiLedRect(which);
        for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
            for (int y = led.y; y < led.y + led.h; ++y) {
                for (int x = led.x; x < led.x + led.w; ++x) {
                    EXPECT_TRUE(PanelItemsAt(form, x, y).empty()) << which << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PanelCoordinates, PictureIsDrawnTenColumnsLeftOfTheView)
{
    EXPECT_EQ(PANEL_PICTURE_VIEW_X, -10);
    EXPECT_EQ(PANEL_PICTURE_VIEW_Y, 0);
    EXPECT_EQ(ViewToPictureRect(PanelRect{39, 23, 34, 33}), (PanelRect{49, 23, 34, 33}));
    EXPECT_EQ(ViewToPictureRect(PanelRect{753, 52, 27, 113}), (PanelRect{763, 52, 27, 113}));
}
