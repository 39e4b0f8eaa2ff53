// Preset library reader: the gear and parameter lists, parameter conversion, and
// every message, captured through the reporter. Images are written to a
// temporary folder as "hlvlib.xcq" and loaded the way start-up loads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "libconv.h"
#include "preset_image_builder.h"

using namespace preset_image;

namespace {

using Message = std::pair<std::string, std::string>;
std::vector<Message> g_messages;

void Capture(const std::string &caption, const std::string &text)
{
    g_messages.emplace_back(caption, text);
}

const std::string kCaption = "Error while opening presets";

Message Msg(const std::string &text)
{
    return {kCaption, text};
}

class PresetReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ReleasePresetLibrary();
        g_messages.clear();
        previous_ = SetPresetMessageReporter(Capture);
    }
    void TearDown() override
    {
        SetPresetMessageReporter(previous_);
        ReleasePresetLibrary();
    }

    // Writes `image` as the preset file and loads it as start-up does.
    void Load(const std::string &image)
    {
        dir_.Write("hlvlib.xcq", image);
        ASSERT_EQ(LoadPresetLibrary(dir_.Path() + "/"), image.size());
        ASSERT_TRUE(g_messages.empty());
    }

    std::vector<std::string> Gears(int max = PRESET_MAX_GEAR)
    {
        std::vector<char[PRESET_GEAR_ROW]> rows(static_cast<size_t>(max > 0 ? max : 1));
        const int n = FillLibTab(rows.data(), max);
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.emplace_back(rows[static_cast<size_t>(i)]);
        return names;
    }

    std::vector<std::string> Params(const std::string &gear, int max = PRESET_MAX_PARAMS)
    {
        std::vector<char[PRESET_PARAM_ROW]> rows(static_cast<size_t>(max > 0 ? max : 1));
        const int n = FillCtrlTab(gear.c_str(), rows.data(), max);
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.emplace_back(rows[static_cast<size_t>(i)], strnlen(rows[static_cast<size_t>(i)], PRESET_PARAM_ROW));
        return names;
    }

    TempDir dir_;
    PresetMessageReporter previous_ = nullptr;
};

All_Params Filled(uint8_t byte)
{
    All_Params r;
    std::memset(&r, byte, sizeof r);
    return r;
}

bool SameRecord(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const std::string kPos = Pos(1, 0, 3, 0, 127);

}  // namespace

// ---- CharToHex ----

TEST(PresetCharToHex, DigitsAndCapitalLetters)
{
    const char *digits = "0123456789ABCDEF";
    for (uint8_t i = 0; i < 16; ++i)
        EXPECT_EQ(CharToHex(digits[i]), i);
}

TEST(PresetCharToHex, AnyOtherCharacterIsZero)
{
    for (char c : std::string("abcdefG :/@`gz\x7f\x80"))
        EXPECT_EQ(CharToHex(c), 0) << static_cast<int>(c);
}

// ---- Start-up loading and the missing file ----

TEST_F(PresetReader, StartupBuildsThePathAndLoadsTheFile)
{
    Load(Gear("G", Param("P", "L", "B000", kPos)));
    EXPECT_EQ(std::string(HlvLib), dir_.Path() + "/hlvlib.xcq");
    EXPECT_GT(presetfiledatalength, 0u);
}

TEST_F(PresetReader, StartupWithoutTheFileReportsLibraryError)
{
    EXPECT_EQ(LoadPresetLibrary(dir_.Path() + "/"), 0u);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, "Library error");
    EXPECT_EQ(g_messages[0].second,
              "Cannot load preset file hlvlib.xcq\nPlease copy this file to " + dir_.Path() + "/hlvlib.xcq");
    EXPECT_EQ(presetfiledatalength, 0u);
}

TEST_F(PresetReader, StartupWithAnEmptyFileReportsLibraryError)
{
    dir_.Write("hlvlib.xcq", "");
    EXPECT_EQ(LoadPresetLibrary(dir_.Path() + "/"), 0u);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, "Library error");
}

TEST_F(PresetReader, StartupWithAPathTooLongForTheBufferLoadsNothing)
{
    EXPECT_EQ(LoadPresetLibrary(std::string(600, 'x') + "/"), 0u);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, "Library error");
    EXPECT_LT(std::strlen(HlvLib), sizeof HlvLib);
}

TEST_F(PresetReader, WithoutPresetDataEveryLookupReportsTheMissingFile)
{
    char gears[4][PRESET_GEAR_ROW];
    char params[4][PRESET_PARAM_ROW];
    All_Params r = Filled(0x55);
    Q9Text lcd = L"keep";
    EXPECT_EQ(FillLibTab(gears, 4), 0);
    EXPECT_EQ(FillCtrlTab("G", params, 4), 0);
    EXPECT_EQ(GetKnob("G", "P", &r, &lcd), 0);
    const Message missing = Msg("Cannot open Preset File\nhlvlib.xcq missing");
    EXPECT_EQ(g_messages, (std::vector<Message>{missing, missing, missing}));
    EXPECT_TRUE(SameRecord(r, Filled(0x55)));
    EXPECT_EQ(lcd, L"keep");
}

TEST_F(PresetReader, ReleaseDropsTheData)
{
    Load(Gear("G", Param("P", "L", "B000", kPos)));
    ReleasePresetLibrary();
    EXPECT_EQ(Libfiledata, nullptr);
    EXPECT_EQ(presetfiledatalength, 0u);
    EXPECT_TRUE(Gears().empty());
    EXPECT_EQ(g_messages.size(), 1u);
}

TEST(PresetReporter, DefaultIsRestoredByNull)
{
    const PresetMessageReporter before = SetPresetMessageReporter(Capture);
    EXPECT_EQ(SetPresetMessageReporter(nullptr), Capture);
    EXPECT_NE(SetPresetMessageReporter(before), Capture);
}

// ---- Gear list ----

TEST_F(PresetReader, ListsEveryGearInFileOrderSkippingOtherChunks)
{
    Load(MakeChunk("INFO", "header") + Gear("Alpha", Param("a", "", "B0", kPos)) + MakeChunk("JUNK", "odd") +
         Gear("Beta", "") + Gear("Gamma", Param("g", "", "B0", kPos)));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PresetReader, GearNamesAreListedInFull)
{
    const std::string longest(127, 'N');
    const std::string forty = "General MIDI 1 - RPN and Channel Message";
    Load(Gear(longest, "") + Gear(forty, ""));
    EXPECT_EQ(Gears(), (std::vector<std::string>{longest, forty}));
}

TEST_F(PresetReader, ListStopsAtTheMaximum)
{
    std::string image;
    for (int i = 0; i < 600; ++i)
        image += Gear("Gear " + std::to_string(i), "");
    Load(image);
    const std::vector<std::string> gears = Gears(512);
    ASSERT_EQ(gears.size(), 512u);
    EXPECT_EQ(gears.front(), "Gear 0");
    EXPECT_EQ(gears.back(), "Gear 511");
    EXPECT_EQ(Gears(1), (std::vector<std::string>{"Gear 0"}));
    EXPECT_TRUE(Gears(0).empty());
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PresetReader, GearWithoutNameEndsTheListWithAMessage)
{
    Load(Gear("First", "") + MakeChunk("LIBR", MakeChunk("XXXX", "")) + Gear("Third", ""));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"First"}));
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted : preset name not found")}));
}

TEST_F(PresetReader, NameOver127BytesEndsTheListWithAMessage)
{
    Load(Gear("First", "") + Gear(std::string(128, 'x'), "") + Gear("Third", ""));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"First"}));
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted (name chunk too large)")}));
}

TEST_F(PresetReader, TruncatedFileKeepsEarlierGearsAndReportsCorruption)
{
    const std::string whole = Gear("First", Param("p", "", "B0", kPos)) + Gear("Second", Param("q", "", "B0", kPos));
    Load(whole.substr(0, whole.size() - 5));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"First"}));
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted : preset name not found")}));
}

TEST_F(PresetReader, BytesTooFewForAChunkAtTheEndAreNoCorruption)
{
    const std::string whole = Gear("First", Param("p", "", "B0", kPos)) + Gear("Second", Param("q", "", "B0", kPos));
    for (size_t extra = 1; extra < 8; ++extra) {
        Load(whole + std::string(extra, '\x01'));
        EXPECT_EQ(Gears(), (std::vector<std::string>{"First", "Second"})) << extra;
        EXPECT_EQ(Params("Second"), (std::vector<std::string>{"q"})) << extra;
        EXPECT_TRUE(g_messages.empty()) << extra;
    }
}

TEST_F(PresetReader, NameChunkRunningPastItsGearIsCorruption)
{
    Load(MakeChunk("LIBR", RawChunk("NAME", 50, "Short")) + std::string(60, '\0'));
    EXPECT_TRUE(Gears().empty());
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted : preset name not found")}));
}

// ---- Parameter list ----

TEST_F(PresetReader, ListsOnlyTheGearsOwnParameters)
{
    Load(Gear("A", Param("a1", "", "B0", kPos) + Param("a2", "", "B0", kPos)) + Gear("B", Param("b1", "", "B0", kPos)));
    EXPECT_EQ(Params("A"), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(Params("B"), (std::vector<std::string>{"b1"}));
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PresetReader, ParameterBeforeTheNameIsNotListed)
{
    Load(MakeChunk("LIBR", Param("early", "", "B0", kPos) + MakeChunk("NAME", "G") + MakeChunk("PAD ", "x") +
                               Param("late", "", "B0", kPos)));
    EXPECT_EQ(Params("G"), (std::vector<std::string>{"late"}));
}

TEST_F(PresetReader, UnknownGearReportsPresetNotFound)
{
    Load(Gear("A", Param("a1", "", "B0", kPos)));
    EXPECT_TRUE(Params("Z").empty());
    EXPECT_TRUE(Params("a").empty());  // names are case-sensitive
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset not found"), Msg("Preset not found")}));
}

TEST_F(PresetReader, LongGearNameIsFoundByItsFullNameOnly)
{
    const std::string name = "General MIDI 1 - RPN and Channel Messages";
    Load(Gear(name, Param("p", "", "B0", kPos)));
    EXPECT_EQ(Params(name), (std::vector<std::string>{"p"}));
    EXPECT_TRUE(Params(name.substr(0, 33)).empty());
}

TEST_F(PresetReader, A127ByteParameterNameFillsItsRowWithoutTerminator)
{
    const std::string name(127, 'p');
    Load(Gear("G", Param(name, "", "B0", kPos) + Param("next", "", "B0", kPos)));
    char rows[2][PRESET_PARAM_ROW];
    std::memset(rows, 0x7F, sizeof rows);
    ASSERT_EQ(FillCtrlTab("G", rows, 2), 2);
    EXPECT_EQ(std::string(rows[0], PRESET_PARAM_ROW), name);
    EXPECT_EQ(std::string(rows[1]), "next");
}

TEST_F(PresetReader, ParameterListStopsAtTheMaximum)
{
    std::string params;
    for (int i = 0; i < 30; ++i)
        params += Param("p" + std::to_string(i), "", "B0", kPos);
    Load(Gear("G", params));
    EXPECT_EQ(Params("G", 7).size(), 7u);
    EXPECT_EQ(Params("G").size(), 30u);
}

TEST_F(PresetReader, SameGearNameTwiceOnlyTheFirstIsUsed)
{
    Load(Gear("G", Param("first", "", "B0", kPos)) + Gear("G", Param("second", "", "B0", kPos)));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"G", "G"}));
    EXPECT_EQ(Params("G"), (std::vector<std::string>{"first"}));
}

TEST_F(PresetReader, ParameterWithoutNameEndsTheListWithAMessage)
{
    Load(Gear("G",
              Param("ok", "", "B0", kPos) + MakeChunk("CTRL", MakeChunk("SHNM", "x")) + Param("lost", "", "B0", kPos)));
    EXPECT_EQ(Params("G"), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted : Parameter name not found")}));
}

TEST_F(PresetReader, ParameterNameOver127BytesEndsTheListWithAMessage)
{
    Load(Gear("G", Param("ok", "", "B0", kPos) + Param(std::string(128, 'q'), "", "B0", kPos)));
    EXPECT_EQ(Params("G"), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Preset File corrupted (Chunk name too large)")}));
}

// ---- Parameter conversion ----

TEST_F(PresetReader, ConvertsAParameterIntoARecordAndLcdText)
{
    Load(Gear("G", Param("Vol", "Volume", "B00700", Pos(1, 2, 3, 10, 100))));
    All_Params r = Filled(0xEE);
    Q9Text lcd = L"old";
    ASSERT_EQ(GetKnob("G", "Vol", &r, &lcd), 1);
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(r.ctrl_status_0, 0);
    EXPECT_EQ(r.ctrl_status_1, 0x1C);
    EXPECT_EQ(r.ctrl_status_2, 0);
    EXPECT_EQ(r.midi_str_lenght, 3);
    EXPECT_EQ(r.midi_channel_position, 1);
    EXPECT_EQ(r.checksum_start_position, 2);
    EXPECT_EQ(r.ctrl_value_position_0, 3);
    EXPECT_EQ(r.ctrl_value_position_1, 0);
    EXPECT_EQ(r.ctrl_value_min, 10);
    EXPECT_EQ(r.ctrl_value_max, 100);
    EXPECT_EQ(r.ctrl_chain, 0);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_string[3], 0x00);  // the terminator after the event
    for (int i = 4; i < 21; ++i)
        EXPECT_EQ(r.midi_string[i], 0xEE) << i;  // beyond it the old bytes stay
    EXPECT_EQ(lcd, L"Volume");
}

TEST_F(PresetReader, FortyTwoCharacterEventGivesTwentyOneBytesWithoutTerminator)
{
    std::string hex = "F0";
    for (int i = 1; i < 21; ++i)
        hex += "1A";
    Load(Gear("G", Param("P", "", hex, kPos)));
    All_Params r = Filled(0xEE);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    EXPECT_EQ(r.midi_str_lenght, 21);
    EXPECT_EQ(r.midi_string[0], 0xF0);
    for (int i = 1; i < 21; ++i)
        EXPECT_EQ(r.midi_string[i], 0x1A);
}

TEST_F(PresetReader, OddEventLengthIgnoresTheLastCharacter)
{
    Load(Gear("G", Param("P", "", "B07F3", kPos)));
    All_Params r = Filled(0xEE);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    EXPECT_EQ(r.midi_str_lenght, 2);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x7F);
    EXPECT_EQ(r.midi_string[2], 0x00);
}

TEST_F(PresetReader, SpacesAndLowerCaseDigitsCountAsZero)
{
    Load(Gear("G", Param("P", "", "B0 7f", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    EXPECT_EQ(r.midi_str_lenght, 2);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);  // " 7" reads as 0x07, "f" is ignored
}

TEST_F(PresetReader, LcdTextCrossesOneCharacterPerByte)
{
    Load(Gear("G", Param("P", std::string("Caf\xE9 is 16 chars"), "B0", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    ASSERT_EQ(lcd.size(), 16u);
    EXPECT_EQ(lcd[3], static_cast<wchar_t>(0xE9));
}

TEST_F(PresetReader, FirstParameterWithTheNameWins)
{
    Load(Gear("G", Param("P", "one", "B001", kPos) + Param("P", "two", "B002", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    EXPECT_EQ(lcd, L"one");
}

TEST_F(PresetReader, ParameterOfALongNamedGearConvertsByFullName)
{
    const std::string gear(100, 'G');
    Load(Gear(gear, Param(std::string(127, 'P'), "x", "B0", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    EXPECT_EQ(GetKnob(gear.c_str(), std::string(127, 'P').c_str(), &r, &lcd), 1);
    EXPECT_TRUE(g_messages.empty());
}

// Each refusal: its message, a 0 result, and the record and text unchanged.
struct Refusal {
    const char *what;
    std::string ctrl_body;
    std::string message;
};

TEST_F(PresetReader, RefusedParametersChangeNothing)
{
    const std::string name = MakeChunk("LGNM", "P");
    const std::string shnm = MakeChunk("SHNM", "lcd");
    const std::string msg = MakeChunk("MSG ", "B000");
    const std::string pos = MakeChunk("POS ", kPos);
    const std::vector<Refusal> cases = {
        {"no SHNM", name + msg + pos, "Preset file corrupted : LCD string not found"},
        {"SHNM of 17", name + MakeChunk("SHNM", std::string(17, 'x')) + msg + pos,
         "Preset File corrupted (sh name too long)"},
        {"no MSG", name + shnm + pos, "Preset file corrupted : MIDI Event not found"},
        {"MSG of 43", name + shnm + MakeChunk("MSG ", std::string(43, 'A')) + pos,
         "Preset File corrupted (msg name too long)"},
        {"no POS", name + shnm + msg, "Preset File corrupted : MIDI Position not found"},
        {"POS of 4", name + shnm + msg + MakeChunk("POS ", kPos.substr(0, 4)),
         "Preset File corrupted (msg name too long)"},
        {"POS of 6", name + shnm + msg + MakeChunk("POS ", kPos + "x"), "Preset File corrupted (msg name too long)"},
        {"SHNM before name", shnm + name + msg + pos, "Preset file corrupted : LCD string not found"},
        {"MSG before SHNM", name + msg + shnm + pos, "Preset file corrupted : MIDI Event not found"},
        {"lying SHNM size", name + RawChunk("SHNM", 200, "lcd") + msg + pos,
         "Preset file corrupted : LCD string not found"},
        {"lying POS size", name + shnm + msg + RawChunk("POS ", 5, "ab"),
         "Preset File corrupted : MIDI Position not found"},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.what);
        ReleasePresetLibrary();
        g_messages.clear();
        Load(Gear("G", MakeChunk("CTRL", c.ctrl_body)));
        All_Params r = Filled(0x33);
        Q9Text lcd = L"unchanged";
        EXPECT_EQ(GetKnob("G", "P", &r, &lcd), 0);
        EXPECT_EQ(g_messages, (std::vector<Message>{Msg(c.message)}));
        EXPECT_TRUE(SameRecord(r, Filled(0x33)));
        EXPECT_EQ(lcd, L"unchanged");
    }
}

TEST_F(PresetReader, ExtraChunksBetweenParameterFieldsAreSteppedOver)
{
    Load(Gear("G", MakeChunk("CTRL", MakeChunk("LGNM", "P") + MakeChunk("NOTE", "a") + MakeChunk("SHNM", "ok") +
                                         MakeChunk("XTRA", "") + MakeChunk("MSG ", "90") + MakeChunk("POS ", kPos))));
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1);
    EXPECT_EQ(lcd, L"ok");
    EXPECT_EQ(r.midi_string[0], 0x90);
}

TEST_F(PresetReader, UnknownGearOrParameterIsReportedAndChangesNothing)
{
    Load(Gear("G", Param("P", "lcd", "B0", kPos)));
    All_Params r = Filled(0x44);
    Q9Text lcd = L"same";
    EXPECT_EQ(GetKnob("H", "P", &r, &lcd), 0);
    EXPECT_EQ(GetKnob("G", "Q", &r, &lcd), 0);
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Library not found"), Msg("Control not found")}));
    EXPECT_TRUE(SameRecord(r, Filled(0x44)));
    EXPECT_EQ(lcd, L"same");
}

TEST_F(PresetReader, ParameterOfAnotherGearIsNotFound)
{
    Load(Gear("A", Param("a", "", "B0", kPos)) + Gear("B", Param("b", "", "B0", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    EXPECT_EQ(GetKnob("A", "b", &r, &lcd), 0);
    EXPECT_EQ(g_messages, (std::vector<Message>{Msg("Control not found")}));
}

TEST_F(PresetReader, EveryLookupStartsAgainFromTheStartOfTheFile)
{
    Load(Gear("A", Param("a", "", "B0", kPos)) + Gear("B", Param("b", "", "B0", kPos)));
    All_Params r = Filled(0);
    Q9Text lcd;
    EXPECT_EQ(GetKnob("B", "b", &r, &lcd), 1);
    EXPECT_EQ(GetKnob("A", "a", &r, &lcd), 1);
    EXPECT_EQ(Gears().size(), 2u);
    EXPECT_EQ(Params("A"), (std::vector<std::string>{"a"}));
}
