// Rules of the editor's tabs and panel beyond what the windows' tests reach:
// stored global values the widgets never write, the tempo arithmetic, the
// enabling edge cases; the front panel's items and hit testing; the user
// curve models, texts and checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cross_functions.h"
#include "curve_models.h"
#include "enabling_rules.h"
#include "global_params.h"
#include "panel_geometry.h"
#include "shell_rules.h"

namespace {

using Block = std::array<uint8_t, COMMON_PARAMS_LENGHT>;

Block Filled(uint8_t fill)
{
    Block block;
    block.fill(fill);
    return block;
}

GatingState Active(float fw, float hw = 2.0f, bool offline = true)
{
    GatingState state;
    state.offline = offline;
    state.connected = !offline;
    state.fw_version = fw;
    state.hw_version = hw;
    return state;
}

}  // namespace

// What a library file can hold but the widgets never write.
TEST(GlobalParams, StoredValuesTheWidgetsNeverWrite)
{
    EXPECT_EQ(FilterItem(0x10), 0);  // bit 4 without bit 6: the filter is off
    EXPECT_EQ(VideoItem(0x00), 0);   // neither video bit: normal
    EXPECT_EQ(VideoItem(0x06), 1);   // both: inverted
    // No selection, or an item the firmware's list has not, changes nothing.
    for (const auto &[fw, item] : {std::pair{1.0f, 3}, {1.4f, 3}, {1.5f, -1}, {1.6f, -1}}) {
        Block block = Filled(0x5A);
        WriteOperatingMode(block.data(), fw, item);
        EXPECT_EQ(block, Filled(0x5A)) << fw << " item " << item;
    }
}

TEST(GlobalParams, TempoIsTheNumberMinusThirtyInEightBits)
{
    const std::pair<const wchar_t *, uint8_t> stored[] = {{L"120", 90},  {L"30", 0},   {L"25", 251},  {L"999", 201},
                                                          {L"255", 225}, {L"0", 226},  {L"007", 233}, {L"", 226},
                                                          {L"1x", 226},  {L"-5", 226}, {L"286", 0},   {L"99999", 129}};
    for (const auto &t : stored)
        EXPECT_EQ(TempoByteFromText(t.first), t.second) << t.first;
    const std::pair<uint8_t, const wchar_t *> shown[] = {{90, L"120"},  {0, L"030"},   {251, L"281"},
                                                         {100, L"130"}, {255, L"285"}, {225, L"255"}};
    for (const auto &t : shown)
        EXPECT_EQ(TempoText(t.first), t.second);
}

TEST(EnablingRules, WithoutADeviceOrALibraryTheButtonsStayAsTheyWere)
{
    const LibraryButtons library = EnableLibraryButtonsRule(false, false);
    for (Switch s : {library.load_button, library.save_button, library.load_menu, library.save_menu})
        EXPECT_EQ(s, Switch::Keep);
    const MidiButtons midi = EnableMidiButtonsRule(false, PAGE_ASSIGN_STD);
    EXPECT_TRUE(midi.selected == Switch::Keep && midi.all == Switch::Keep);
}

TEST(EnablingRules, AVersionTextWithoutItsMinorDigitReadsAsZero)
{
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1")), 1.0f);
    EXPECT_EQ(VersionText(ParseVersionText(L"1")), L"1.0");
}

TEST(EnablingRules, ConnectionAndVersionGating)
{
    // The firmwares between 1.0 and 1.4: three modes, no shift lock.
    for (float fw : {1.1f, 1.3f}) {
        const VersionGating g = VersionGatingRule(Active(fw));
        EXPECT_EQ(g.operating_modes.size(), 3u) << fw;
        EXPECT_EQ(g.shift_lock_and_nibble, Switch::Off) << fw;
    }
    // The stored mode: bits 3-4 of byte 5 below 1.6, byte 33 from 1.6; none when not offered.
    const std::tuple<float, uint8_t, uint8_t, int> stored[] = {
        {1.5f, 0xFF, 1, 3}, {1.6f, 0xFF, 1, 1}, {1.6f, 0xFF, 200, -1}, {1.0f, 0x10, 200, -1}};
    for (const auto &[fw, byte5, byte33, selection] : stored) {
        GatingState state = Active(fw);
        state.common_byte5 = byte5;
        state.common_byte33 = byte33;
        EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, selection) << fw << " " << int(byte33);
    }
    GatingState connected = Active(1.6f, 2.0f, false);  // counts like offline
    EXPECT_TRUE(VersionGatingRule(connected).active);
    EXPECT_EQ(VersionGatingRule(connected).file_save_export, Switch::Keep) << "saving needs a library";
    connected.file_path_set = true;
    EXPECT_EQ(VersionGatingRule(connected).file_save_export, Switch::On);
}

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
    EXPECT_EQ(PanelItemsAt(PanelForm::Ribbon, button.x, button.y, 0, 1000), std::vector<unsigned>({0}));
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
    for (const wchar_t *other : {L"Ribbon", L"", L"Infrared "})
        EXPECT_EQ(PanelFormFromSetting(other), PanelForm::Ribbon);
    for (float hw : {0.0f, 1.2f, 1.0f + 9 * 0.1f, 2.0f, 2.1f})
        EXPECT_EQ(PanelFormFromHwVersion(hw), hw < 1.95f ? PanelForm::Infrared : PanelForm::Ribbon) << hw;
    // Every picture is built in, at the size of its items.
    int w = 0, h = 0;
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon})
        EXPECT_TRUE(BuiltInPictureSize(PanelPictureName(form), &w, &h) && w == PANEL_PICTURE_WIDTH &&
                    h == PANEL_PICTURE_HEIGHT);
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k)
        for (const std::string &name : {GreenPictureName(PictureKindAt(k)), RedPictureName(PictureKindAt(k))})
            EXPECT_TRUE(BuiltInPictureSize(name, &w, &h) && w == PictureKindSize(PictureKindAt(k)).w &&
                        h == PictureKindSize(PictureKindAt(k)).h)
                << name;
    EXPECT_FALSE(BuiltInPictureSize("knob.bmp", &w, &h));
}

namespace {

using Curve = std::vector<uint8_t>;

Curve Generated(const wchar_t *name)
{
    Curve c(kCurvePoints, 0xAA);
    EXPECT_TRUE(GenerateCurve(name, c.data()));
    return c;
}

// A text of 128 lines of `fill`, line `line` (if any) holding `content`.
std::wstring Lines(const std::wstring &fill, size_t line = kCurvePoints, const std::wstring &content = L"")
{
    std::wstring text;
    for (size_t i = 0; i < kCurvePoints; ++i)
        text += (i ? L"\n" : L"") + (i == line ? content : fill);
    return text;
}

}  // namespace

TEST(CurveModels, NamesAndGeneratedPoints)
{
    for (size_t i = 0; i < kCurveModelCount; ++i) {
        CurveModel m = CurveModel::Zeros;
        ASSERT_TRUE(CurveModelFromName(CurveModelName(static_cast<CurveModel>(i)), &m));
        EXPECT_EQ(static_cast<size_t>(m), i);
    }
    CurveModel m = CurveModel::Expo;
    for (const wchar_t *unknown : {L"linear", L"Log.", L"", L"Sine"}) {
        EXPECT_FALSE(CurveModelFromName(unknown, &m));
        Curve c(kCurvePoints, 33);
        EXPECT_FALSE(GenerateCurve(unknown, c.data()));
        EXPECT_EQ(c, Curve(kCurvePoints, 33));
    }
    EXPECT_EQ(m, CurveModel::Expo);

    const Curve zeros = Generated(L"Zeros"), linear = Generated(L"Linear"), inv_linear = Generated(L"Inv Linear");
    const Curve log = Generated(L"Log"), inv_log = Generated(L"Inv Log");
    const Curve expo = Generated(L"Expo"), inv_expo = Generated(L"Inv Expo");
    for (size_t i = 0; i < kCurvePoints; ++i) {
        EXPECT_EQ(zeros[i], 0);
        EXPECT_EQ(linear[i], i);
        EXPECT_EQ(inv_linear[i], 127 - i);
        EXPECT_EQ(inv_log[i], 127 - log[i]);
        EXPECT_EQ(inv_expo[i], 127 - expo[i]);
        EXPECT_TRUE(i == 0 || (log[i] >= log[i - 1] && expo[i] >= expo[i - 1])) << "rising at " << i;
    }
    EXPECT_EQ(Curve(log.begin(), log.begin() + 6), Curve({0, 9, 18, 28, 36, 42}));
    EXPECT_EQ(Curve({log[10], log[100], log[127]}), Curve({60, 120, 127}));
    EXPECT_EQ(Curve(expo.begin(), expo.begin() + 9), Curve({0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Curve({expo[26], expo[100], expo[127]}), Curve({2, 45, 127}));
}

TEST(CurveModels, RandomTakesEachDrawModulo127)
{
    const std::vector<int> draws = {0, 126, 127, 128, 254, 1000, 32767};
    size_t next = 0;
    Curve c(kCurvePoints);
    ASSERT_TRUE(GenerateCurve(L"Random", c.data(), [&] { return draws[next++ % draws.size()]; }));
    EXPECT_EQ(next, 128u) << "one draw per point, in order";
    EXPECT_EQ(Curve(c.begin(), c.begin() + 7), Curve({0, 126, 0, 1, 0, 1000 % 127, 32767 % 127}));
    ASSERT_TRUE(GenerateCurve(L"Random", c.data()));
    for (uint8_t point : c)
        EXPECT_LE(point, 126);
}

TEST(CurveText, DisplayedTextHas128LinesAndChecksBackToTheSameCurve)
{
    const Curve log = Generated(L"Log");
    const std::wstring text = CurveToText(log.data());
    EXPECT_EQ(CurveTextLineCount(text), 128u);
    EXPECT_EQ(text.substr(0, 6), L"0\n9\n18");
    EXPECT_EQ(text.substr(text.size() - 4), L"\n127");
    Curve back(kCurvePoints, 0xEE);
    EXPECT_TRUE(CheckCurveText(text, back.data()).ok());
    EXPECT_EQ(back, log);
    EXPECT_EQ(CurveCheckMessage(CurveCheck()), L"");
    EXPECT_EQ(CurveTextLineCount(L""), 1u);
    EXPECT_EQ(CurveTextLineCount(L"\n\n"), 3u);
}

TEST(CurveText, CheckStoresEachLineUntilTheFirstFault)
{
    struct Case {
        std::wstring text;
        CurveFault fault;
        size_t value;
    };
    std::vector<Case> cases = {
        {Lines(L"5") + L"\n", CurveFault::LineCount, 129},
        {Lines(L"5").substr(2), CurveFault::LineCount, 127},
        {L"", CurveFault::LineCount, 1},
        {Lines(L"5", 10, L"12a"), CurveFault::BadCharacter, 10},
        {Lines(L"5", 127, L"x"), CurveFault::BadCharacter, 127},
        {Lines(L"5", 3, L"128"), CurveFault::OutOfRange, 3},
        {Lines(L"5", 0, L"4294967301"), CurveFault::OutOfRange, 0},  // 2^32 + 5 must not wrap round
        {Lines(L"5", 1, std::wstring(400, L'9')), CurveFault::OutOfRange, 1},
    };
    for (const wchar_t *bad : {L" 1", L"1 ", L"-1", L"+1", L"1\r", L"1.0", L"\x00B2"})
        cases.push_back({Lines(L"5", 0, bad), CurveFault::BadCharacter, 0});
    for (const Case &c : cases) {
        Curve target(kCurvePoints, 99);
        const CurveCheck check = CheckCurveText(c.text, target.data());
        EXPECT_EQ(check.fault, c.fault) << &c - cases.data();
        EXPECT_EQ(check.value, c.value) << &c - cases.data();
        const std::wstring message = CurveCheckMessage(check);
        EXPECT_NE(message.find(std::to_wstring(c.value)), std::wstring::npos) << &c - cases.data();
        EXPECT_EQ(message.find(L"between 0 and 127") != std::wstring::npos, c.fault == CurveFault::OutOfRange);
        const size_t stored = c.fault == CurveFault::LineCount ? 0 : c.value;
        for (size_t i = 0; i < kCurvePoints; ++i)
            ASSERT_EQ(target[i], i < stored ? 5 : 99) << &c - cases.data() << " at " << i;
    }
    Curve target(kCurvePoints, 50);  // bounds, leading zeros, an empty line stores 0
    ASSERT_TRUE(CheckCurveText(L"127\n0\n\n000127" + Lines(L"5").substr(7), target.data()).ok());
    EXPECT_EQ(Curve(target.begin(), target.begin() + 5), Curve({127, 0, 0, 127, 5}));
    ASSERT_TRUE(CheckCurveText(std::wstring(127, L'\n'), target.data()).ok());
    EXPECT_EQ(target, Curve(kCurvePoints, 0));
}

TEST(CurveText, BothPagesAreCheckedInOrderAndPlottedWhenValid)
{
    Curve c1(kCurvePoints, 9), c2(kCurvePoints, 9);
    CurveCheck failure;
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"1") + L"\n", c1.data(), Lines(L"2"), c2.data(), &failure), 1);
    EXPECT_EQ(failure.value, 129u);
    EXPECT_EQ(c1, Curve(kCurvePoints, 9));
    EXPECT_EQ(c2, Curve(kCurvePoints, 9)) << "page 2 is not looked at";
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"100"), c1.data(), Lines(L"7", 20, L"200"), c2.data(), &failure), 2);
    EXPECT_EQ(failure.fault, CurveFault::OutOfRange);
    EXPECT_EQ(c1, Curve(kCurvePoints, 100)) << "page 1 is stored whole";
    EXPECT_EQ(Curve({c2[19], c2[20]}), Curve({7, 9}));
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"1"), c1.data(), Lines(L"2"), c2.data(), &failure), 0);
    EXPECT_EQ(Curve({c1[127], c2[127]}), Curve({1, 2}));

    Curve c(kCurvePoints, 127);
    EXPECT_TRUE(CurvePageIsPlottable(Lines(L"x"), c.data())) << "the text's content is not looked at";
    EXPECT_FALSE(CurvePageIsPlottable(Lines(L"1") + L"\n", c.data()));
    c[64] = 128;
    EXPECT_FALSE(CurvePageIsPlottable(Lines(L"1"), c.data()));
}

TEST(CurveText, PlottedValueTruncatesTowardsZeroInsideTheTable)
{
    Curve c = Generated(L"Inv Linear");
    c[127] = 42;
    const std::pair<double, double> cases[] = {{0.0, 127},  {0.99, 127}, {1.0, 126},  {50.5, 77},
                                               {127.0, 42}, {127.9, 42}, {-0.5, 127}, {128.0, 0},
                                               {1e9, 0},    {-1.0, 0},   {-50.0, 0},  {std::nan(""), 0}};
    for (const auto &x : cases)
        EXPECT_DOUBLE_EQ(CurveValueAt(c.data(), x.first), x.second) << x.first;
}

TEST(ShellRules, StoredSettingsOutOfTheirRangeFallBack)
{
    for (const auto &c : std::vector<std::pair<long, unsigned>>{{0, 0}, {66, 66}, {67, 8}, {-1, 8}, {1L << 40, 8}})
        EXPECT_EQ(StoredControlIndex(c.first), c.second) << c.first;
    for (const auto &c : std::vector<std::pair<long, unsigned>>{{0, 0}, {20, 20}, {21, 1}, {-5, 1}})
        EXPECT_EQ(StoredCurrentGroup(c.first), c.second) << c.first;
    EXPECT_EQ(MainFrameWidth(-1, 2), 798);
    EXPECT_EQ(MainFrameWidth(3, -1), 800);
    // The program directory: up to the first zero byte, then back to the last "/".
    EXPECT_EQ(ProgramDirectoryFromLink("/opt/q9/bin/editor\0junk", 23), L"/opt/q9/bin/");
    EXPECT_EQ(ProgramDirectoryFromLink("/\xE9t\xE9/x", 7), L"/\u00e9t\u00e9/");
    EXPECT_EQ(ReadProgramDirectory(-1).back(), L'/') << "no link: the working folder";
}
