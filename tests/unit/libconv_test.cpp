// Preset library reader: start-up loading, the gear and parameter lists,
// parameter conversion, and every damaged file, whose messages are captured
// through the reporter. Then the library the build compiles from presets/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "libconv.h"
#include "preset_image_builder.h"
#include "preset_reader.h"

using namespace preset_image;

namespace {

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
        dir_.Write(PRESET_FILE_NAME, image);
        ASSERT_EQ(LoadPresetLibrary(dir_.Path() + "/"), image.size());
        ASSERT_TRUE(g_messages.empty());
    }

    TempDir dir_;
    PresetMessageReporter previous_ = nullptr;
};

}  // namespace

TEST_F(PresetReader, StartupLoadingAndMissingData)
{
    const std::string digits = "0123456789ABCDEF";
    for (uint8_t i = 0; i < 16; ++i)
        EXPECT_EQ(CharToHex(digits[i]), i);
    for (char c : std::string("abcdefG :/@`gz\x7f\x80"))
        EXPECT_EQ(CharToHex(c), 0) << int(c);

    Load(Gear("G", Param("P", "L", "B000", kPos)));
    EXPECT_EQ(std::string(HlvLib), dir_.Path() + "/hlvlib.xcq");
    ReleasePresetLibrary();
    EXPECT_TRUE(Libfiledata == nullptr && presetfiledatalength == 0);
    char params[4][PRESET_PARAM_ROW];
    All_Params r = FilledRecord(0x55);
    Q9Text lcd = L"keep";
    EXPECT_TRUE(Gears().empty());
    EXPECT_EQ(FillCtrlTab("G", params, 4), 0);
    EXPECT_EQ(GetKnob("G", "P", &r, &lcd), 0);
    EXPECT_TRUE(MessagesAre({"hlvlib.xcq missing", "hlvlib.xcq missing", "hlvlib.xcq missing"}));
    EXPECT_TRUE(SameRecord(r, FilledRecord(0x55)));
    EXPECT_EQ(lcd, L"keep");

    // At start-up a missing, empty or unreachable file is reported with where to copy it.
    ASSERT_EQ(mkdir(dir_.File("empty").c_str(), 0755), 0);
    ASSERT_TRUE(WriteFileText(dir_.File("empty/hlvlib.xcq"), ""));
    for (const std::string &folder : {dir_.File("none/"), dir_.File("empty/"), std::string(600, 'x') + "/"}) {
        EXPECT_EQ(LoadPresetLibrary(folder), 0u);
        EXPECT_EQ(presetfiledatalength, 0u);
        ASSERT_EQ(g_messages.size(), 1u);
        EXPECT_EQ(g_messages[0].first, PRESET_LIBRARY_ERROR_CAPTION);
        EXPECT_LT(std::strlen(HlvLib), sizeof HlvLib);
        EXPECT_NE(g_messages[0].second.find(HlvLib), std::string::npos) << g_messages[0].second;
        g_messages.clear();
    }
    EXPECT_EQ(SetPresetMessageReporter(nullptr), Capture);
    EXPECT_NE(SetPresetMessageReporter(Capture), Capture) << "null restores the default";
}

TEST_F(PresetReader, GearAndParameterLists)
{
    const std::string p = Param("x", "", "B0", kPos), longest(127, 'N'), long_gear(41, 'G');
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += Gear("Gear " + std::to_string(i), i == 1 ? Param(longest, "", "B0", kPos) + p : "");
    Load(MakeChunk("INFO", "header") + Gear("Alpha", Param("a1", "", "B0", kPos) + Param("a2", "", "B0", kPos)) +
         MakeChunk("JUNK", "odd") + Gear("Beta", "") + Gear(long_gear, p) +
         MakeChunk("LIBR", Param("early", "", "B0", kPos) + MakeChunk("NAME", "Late") + MakeChunk("PAD ", "x") + p) +
         Gear("Alpha", Param("second", "", "B0", kPos)) + many);
    const std::vector<std::string> gears = Gears();
    ASSERT_EQ(gears.size(), 512u);
    EXPECT_EQ(std::vector<std::string>(gears.begin(), gears.begin() + 6),
              std::vector<std::string>({"Alpha", "Beta", long_gear, "Late", "Alpha", "Gear 0"}));
    EXPECT_EQ(Gears(1), std::vector<std::string>({"Alpha"}));
    EXPECT_TRUE(Gears(0).empty());
    EXPECT_EQ(Params("Alpha"), std::vector<std::string>({"a1", "a2"})) << "the first gear of a name";
    EXPECT_EQ(Params("Alpha", 1), std::vector<std::string>({"a1"}));
    EXPECT_EQ(Params("Late"), std::vector<std::string>({"x"})) << "a parameter before the name is not listed";
    EXPECT_EQ(Params(long_gear), std::vector<std::string>({"x"}));
    EXPECT_EQ(Params("Gear 1"), std::vector<std::string>({longest, "x"})) << "a full row has no terminator";
    EXPECT_TRUE(MessagesAre({}));
    for (const std::string &unknown : {std::string("alpha"), long_gear.substr(0, 33), std::string("Z")})
        EXPECT_TRUE(Params(unknown).empty());
    EXPECT_TRUE(MessagesAre({"Preset not found", "Preset not found", "Preset not found"}));
}

TEST_F(PresetReader, DamagedListsEndWithAMessage)
{
    const std::string p = Param("p", "", "B0", kPos), whole = Gear("First", p) + Gear("Second", p);
    const struct {
        std::string image;
        bool gears;  // the gear list, or the parameters of "G"
        std::vector<std::string> listed;
        const char *message;
    } cases[] = {
        {Gear("First", "") + MakeChunk("LIBR", MakeChunk("XXXX", "")) + Gear("Third", ""),
         true,
         {"First"},
         "preset name not found"},
        {Gear("First", "") + Gear(std::string(128, 'x'), "") + Gear("Third", ""),
         true,
         {"First"},
         "name chunk too large"},
        {whole.substr(0, whole.size() - 5), true, {"First"}, "preset name not found"},
        {MakeChunk("LIBR", RawChunk("NAME", 50, "Short")) + std::string(60, '\0'), true, {}, "preset name not found"},
        {Gear("G", Param("ok", "", "B0", kPos) + MakeChunk("CTRL", MakeChunk("SHNM", "x")) + p),
         false,
         {"ok"},
         "Parameter name not found"},
        {Gear("G", Param("ok", "", "B0", kPos) + Param(std::string(128, 'q'), "", "B0", kPos)),
         false,
         {"ok"},
         "Chunk name too large"},
    };
    for (const auto &c : cases) {
        Load(c.image);
        EXPECT_EQ(c.gears ? Gears() : Params("G"), c.listed) << c.message;
        EXPECT_TRUE(MessagesAre({c.message})) << c.message;
    }
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

TEST_F(PresetReader, ParametersConvertIntoARecordAndLcdText)
{
    std::string elevens;
    for (int i = 0; i < 20; ++i)
        elevens += " 11";
    const struct {
        std::string msg, lcd, bytes;  // the record's 32 bytes expected, from 0xEE
    } cases[] = {
        {"B00700", "Volume", "00 1C 00 03 01 03 00 0A 64 02 00 B0 07 00 00"},  // the terminator after the event
        {"F0" + std::string(40, '1'), "", "00 1C 00 15 01 03 00 0A 64 02 00 F0" + elevens},
        {"B07F3", "odd", "00 1C 00 02 01 03 00 0A 64 02 00 B0 7F 00"},     // the last character ignored
        {"B0 7f", "digits", "00 1C 00 02 01 03 00 0A 64 02 00 B0 07 00"},  // spaces and "f" read as 0
        {"90", "Caf\xE9 is 16 chars", "00 1C 00 01 01 03 00 0A 64 02 00 90 00"},
    };
    for (const auto &c : cases) {
        Load(Gear("A", Param("P", "a", "C0", kPos)) +
             Gear("G", MakeChunk("CTRL", MakeChunk("LGNM", "P") + MakeChunk("NOTE", "a") + MakeChunk("SHNM", c.lcd) +
                                             MakeChunk("XTRA", "") + MakeChunk("MSG ", c.msg) +
                                             MakeChunk("POS ", Pos(1, 2, 3, 10, 100)))) +
             Gear("G2", Param("P", "second", "B0", kPos)));
        All_Params r = FilledRecord(0xEE);
        Q9Text lcd = L"old";
        ASSERT_EQ(GetKnob("G", "P", &r, &lcd), 1) << c.msg;
        std::vector<uint8_t> expected = HexBytes(c.bytes);
        expected.resize(32, 0xEE);
        EXPECT_EQ(RecordBytes(r), expected) << c.msg;
        EXPECT_EQ(lcd, Text(c.lcd.c_str()));
        EXPECT_EQ(GetKnob("A", "P", &r, &lcd), 1) << "every lookup starts again from the start of the file";
        EXPECT_EQ(lcd, L"a");
        EXPECT_TRUE(g_messages.empty());
    }
}

TEST_F(PresetReader, RefusedParametersChangeNothing)
{
    const std::string name = MakeChunk("LGNM", "P"), shnm = MakeChunk("SHNM", "lcd"), msg = MakeChunk("MSG ", "B000"),
                      pos = MakeChunk("POS ", kPos);
    const std::pair<std::string, const char *> cases[] = {
        {name + msg + pos, "LCD string not found"},
        {name + MakeChunk("SHNM", std::string(17, 'x')) + msg + pos, "sh name too long"},
        {name + shnm + pos, "MIDI Event not found"},
        {name + shnm + MakeChunk("MSG ", std::string(43, 'A')) + pos, "msg name too long"},
        {name + shnm + msg, "MIDI Position not found"},
        {name + shnm + msg + MakeChunk("POS ", kPos.substr(0, 4)), "msg name too long"},
        {name + shnm + msg + MakeChunk("POS ", kPos + "x"), "msg name too long"},
        {shnm + name + msg + pos, "LCD string not found"},
        {name + msg + shnm + pos, "MIDI Event not found"},
        {name + RawChunk("SHNM", 200, "lcd") + msg + pos, "LCD string not found"},
        {name + shnm + msg + RawChunk("POS ", 5, "ab"), "MIDI Position not found"},
    };
    for (const auto &c : cases) {
        ReleasePresetLibrary();
        Load(Gear("G", MakeChunk("CTRL", c.first)) + Gear("H", Param("Q", "", "B0", kPos)));
        All_Params r = FilledRecord(0x33);
        Q9Text lcd = L"unchanged";
        EXPECT_EQ(GetKnob("G", "P", &r, &lcd), 0);
        EXPECT_EQ(GetKnob("X", "P", &r, &lcd), 0);
        EXPECT_EQ(GetKnob("G", "Q", &r, &lcd), 0) << "a parameter of another gear";
        EXPECT_TRUE(MessagesAre({c.second, "Library not found", "Control not found"})) << c.second;
        EXPECT_TRUE(SameRecord(r, FilledRecord(0x33)));
        EXPECT_EQ(lcd, L"unchanged");
    }
}

// The shipped preset library, as the build compiles it.
TEST(ShippedPresets, EveryParameterConvertsAndPassesTheRecordCheck)
{
    g_messages.clear();
    const PresetMessageReporter previous = SetPresetMessageReporter(Capture);
    ASSERT_GT(RT_LoadFileInRam(CVQ9_BINARY_DIR "/hlvlib.xcq"), 0u) << "the build makes hlvlib.xcq";
    const std::vector<std::string> gears = Gears();
    EXPECT_GE(gears.size(), 6u);
    EXPECT_EQ(std::set<std::string>(gears.begin(), gears.end()).size(), gears.size());
    size_t total = 0;
    for (const std::string &gear : gears) {
        const std::vector<std::string> params = Params(gear);
        EXPECT_FALSE(params.empty()) << gear;
        EXPECT_EQ(std::set<std::string>(params.begin(), params.end()).size(), params.size()) << gear;
        for (const std::string &param : params) {
            All_Params r = FilledRecord(0);
            Q9Text lcd;
            ASSERT_EQ(GetKnob(gear.c_str(), param.c_str(), &r, &lcd), 1) << gear << " / " << param;
            EXPECT_LE(CheckMidiStruct(&r, FIRST_GROUP_CONTROL), 3) << gear << " / " << param;
            EXPECT_LE(lcd.size(), 16u) << param;
            for (wchar_t c : lcd)
                EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << param;
            ++total;
        }
    }
    EXPECT_GE(total, 150u);
    All_Params r = FilledRecord(0);
    Q9Text lcd;
    ASSERT_EQ(GetKnob("General MIDI 1 - Controllers", "Channel Volume", &r, &lcd), 1);
    std::vector<uint8_t> volume = HexBytes("00 1C 00 03 01 03 00 00 7F 00 00 B0 07 00");
    volume.resize(32, 0);
    EXPECT_EQ(RecordBytes(r), volume);
    ASSERT_EQ(GetKnob("General MIDI 1 - RPN and Channel Messages", "Pitch Bend Sensitivity", &r, &lcd), 1);
    EXPECT_EQ(std::vector<uint8_t>(r.midi_string, r.midi_string + r.midi_str_lenght), HexBytes("B0 65 00 64 00 06 00"));
    EXPECT_EQ(r.ctrl_value_position_0, 7);
    EXPECT_TRUE(g_messages.empty());
    ReleasePresetLibrary();
    SetPresetMessageReporter(previous);
}
