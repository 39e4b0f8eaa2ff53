// The front panel: item rectangles and their pictures, hit testing, the LEDs,
// the two panel forms and the built-in pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "panel_geometry.h"

namespace {

bool Has(const std::vector<unsigned> &hits, unsigned index)
{
    return std::find(hits.begin(), hits.end(), index) != hits.end();
}

}  // namespace

TEST(PanelGeometry, ItemsFitTheirPicturesAndOnlyTheJoystickItemsOverlap)
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        for (unsigned a = 0; a < PANEL_ITEM_COUNT; ++a) {
            const PanelItem item = PanelItemGeometry(a, form);
            const PanelRect r = item.rect, size = PictureKindSize(item.kind);
            EXPECT_EQ(PanelRect({r.x, r.y, size.w, size.h}), r) << a;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= PANEL_PICTURE_WIDTH + PANEL_PICTURE_VIEW_X &&
                        r.y + r.h <= PANEL_PICTURE_HEIGHT)
                << a;
            EXPECT_TRUE(Has(PanelItemsAt(form, r.x, r.y), a) &&
                        Has(PanelItemsAt(form, r.x + r.w - 1, r.y + r.h - 1), a));
            const PanelItem other =
                PanelItemGeometry(a, form == PanelForm::Ribbon ? PanelForm::Infrared : PanelForm::Ribbon);
            EXPECT_EQ(other.rect == r && other.kind == item.kind, a != 5) << "the forms differ in item 5 only";
            for (unsigned b = a + 1; b < PANEL_ITEM_COUNT; ++b) {
                const PanelRect o = PanelItemGeometry(b, form).rect;
                const bool overlap = r.x < o.x + o.w && o.x < r.x + r.w && r.y < o.y + o.h && o.y < r.y + r.h;
                EXPECT_EQ(overlap, a == 6 && b == 55) << a << " and " << b;
            }
        }
        for (unsigned i = 0; i < 5; ++i) {  // a transport button and its shifted function share a column
            EXPECT_EQ(PanelItemGeometry(i, form).rect.x, PanelItemGeometry(50 + i, form).rect.x);
            EXPECT_LT(PanelItemGeometry(i, form).rect.y, PanelItemGeometry(50 + i, form).rect.y);
        }
        for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {  // the LEDs cover no control
            const PanelRect led = MidiLedRect(which);
            for (int y = led.y; y < led.y + led.h; ++y)
                for (int x = led.x; x < led.x + led.w; ++x)
                    EXPECT_TRUE(PanelItemsAt(form, x, y).empty()) << which << " at " << x << "," << y;
        }
    }
    EXPECT_EQ(PanelItemGeometry(5, PanelForm::Ribbon).kind, PictureKind::Ribbon);
    EXPECT_EQ(PanelItemGeometry(5, PanelForm::Infrared).kind, PictureKind::Infrared);
    EXPECT_EQ(PanelItemGeometry(67, PanelForm::Ribbon).rect, PanelRect({0, 0, 0, 0}));
    EXPECT_EQ(MidiLedRect(MIDI_LED_COUNT), PanelRect({0, 0, 0, 0}));
}

TEST(PanelGeometry, HitTesting)
{
    const PanelRect r{10, 20, 5, 4};  // the top left corner in, the far edges out
    EXPECT_TRUE(PanelRectContains(r, 10, 20) && PanelRectContains(r, 14, 23));
    EXPECT_FALSE(PanelRectContains(r, 15, 20) || PanelRectContains(r, 10, 24) || PanelRectContains(r, 9, 20) ||
                 PanelRectContains(r, 10, 19) || PanelRectContains({3, 3, 0, 0}, 3, 3));
    const PanelRect x = PanelItemGeometry(6, PanelForm::Ribbon).rect, b = PanelItemGeometry(55, PanelForm::Ribbon).rect;
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, std::max(x.x, b.x), std::max(x.y, b.y)), std::vector<unsigned>({6, 55}));
    const PanelRect button = PanelItemGeometry(0, PanelForm::Ribbon).rect;  // the range limits the search
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, button.x, button.y), std::vector<unsigned>({0}));
    EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, button.x, button.y, 5, 66).empty());
    const PanelRect ribbon = PanelItemGeometry(5, PanelForm::Ribbon).rect;
    EXPECT_FALSE(Has(PanelItemsAt(PanelForm::Infrared, ribbon.x + 5, ribbon.y + 60), 5));
    for (const auto &p : {std::pair<int, int>{0, 0}, {-1, -1}, {799, 337}, {80, 40}, {50, 60}})
        EXPECT_TRUE(PanelItemsAt(PanelForm::Ribbon, p.first, p.second).empty()) << p.first << "," << p.second;
    EXPECT_EQ(ViewToPictureRect({39, 23, 34, 33}), PanelRect({39 - PANEL_PICTURE_VIEW_X, 23, 34, 33}));
}

TEST(PanelGeometry, PanelFormsAndBuiltInPictures)
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon})
        EXPECT_EQ(PanelFormFromSetting(PanelFormSettingText(form)), form);
    for (const wchar_t *other : {L"Ribbon", L"0", L"", L"infrared", L"Infrared "})
        EXPECT_EQ(PanelFormFromSetting(other), PanelForm::Ribbon);
    for (float hw : {0.0f, 1.0f, 1.2f, 1.9f, 1.0f + 9 * 0.1f})
        EXPECT_EQ(PanelFormFromHwVersion(hw), PanelForm::Infrared) << hw;
    for (float hw : {2.0f, 2.0f + 0 * 0.1f, 2.1f})
        EXPECT_EQ(PanelFormFromHwVersion(hw), PanelForm::Ribbon) << hw;

    int w = 0, h = 0;
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        EXPECT_EQ(static_cast<unsigned>(kind), k);
        EXPECT_EQ(GreenPictureName(kind), PictureKindBaseName(kind) + std::string("_green.bmp"));
        EXPECT_EQ(RedPictureName(kind), PictureKindBaseName(kind) + std::string("_red.bmp"));
        for (const std::string &name : {GreenPictureName(kind), RedPictureName(kind)}) {
            EXPECT_TRUE(BuiltInPictureSize(name, &w, &h)) << name;
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(PictureKindSize(kind).w, PictureKindSize(kind).h));
        }
    }
    EXPECT_FALSE(BuiltInPictureSize("knob.bmp", &w, &h));
}
