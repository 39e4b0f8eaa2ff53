// The preset library: the chunk reader and its bounds, the reader's lists and
// conversions, every damaged file and its message, and the library the build
// compiles from presets/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <glob.h>
#include <sys/stat.h>

#include "libconv.h"
#include "midnam.h"
#include "riff_tools.h"
#include "test_support.h"
#include "user_presets.h"

namespace {

constexpr RT_FOURCC A = RT_MakeFourcc('A', 'A', 'A', 'A'), B = RT_MakeFourcc('B', 'B', 'B', 'B'),
                    C = RT_MakeFourcc('C', 'C', 'C', 'C'), RIFF = RT_MakeFourcc('R', 'I', 'F', 'F'),
                    LIST = RT_MakeFourcc('L', 'I', 'S', 'T'), ONE = RT_MakeFourcc('O', 'N', 'E', ' '),
                    TWO = RT_MakeFourcc('T', 'W', 'O', ' ');

// A chunk whose header declares `declared` bytes of data, whatever `data` holds
// (for lying sizes); no pad byte is added.
std::string RawChunk(const std::string &id, uint32_t declared, const std::string &data)
{
    std::string s = id.substr(0, 4);
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((declared >> (8 * i)) & 0xFF));
    return s + data;
}

// A well-formed chunk: header, data, and a pad byte after odd data.
std::string MakeChunk(const std::string &id, const std::string &data)
{
    return RawChunk(id, static_cast<uint32_t>(data.size()), data) + std::string(data.size() & 1, '\0');
}

// A RIFF or LIST chunk: its data begins with the form type.
std::string Form(const std::string &id, const std::string &form, const std::string &data)
{
    return MakeChunk(id, form.substr(0, 4) + data);
}

std::string Pos(uint8_t channel, uint8_t checksum, uint8_t value, uint8_t min, uint8_t max)
{
    return std::string{char(channel), char(checksum), char(value), char(min), char(max)};
}

const std::string kPos = Pos(1, 0, 3, 0, 127);

// A complete parameter chunk.
std::string Param(const std::string &name, const std::string &lcd, const std::string &msg, const std::string &pos)
{
    return MakeChunk("CTRL", MakeChunk("LGNM", name) + MakeChunk("SHNM", lcd) + MakeChunk("MSG ", msg) +
                                 MakeChunk("POS ", pos));
}

// A parameter of `name` with no LCD text, a one-byte message and the usual position.
std::string P(const std::string &name)
{
    return Param(name, "", "B0", kPos);
}

// A gear chunk: its name, then the given parameter chunks (or any chunks).
std::string Gear(const std::string &name, const std::string &params)
{
    return MakeChunk("LIBR", MakeChunk("NAME", name) + params);
}

// A chunk searched for: its identifier and form types.
RT_CKINFO Want(RT_FOURCC id, RT_FOURCC form = 0, RT_FOURCC form2 = 0)
{
    RT_CKINFO c{};
    c.ckid = id;
    c.fccType = form;
    c.fccType2 = form2;
    return c;
}

// An image in a heap block of exactly its size (the sanitizers see any read past it).
struct Image {
    explicit Image(const std::string &bytes) : data(bytes.begin(), bytes.end())
    {
        RT_Open(&file, data.data(), static_cast<uint32_t>(data.size()));
    }
    size_t At(const uint8_t *p) const { return static_cast<size_t>(p - data.data()); }
    // The data of the chunk found, or "-" when none.
    std::string Find(RT_CKINFO want, RT_CKINFO *parent = nullptr, uint16_t flags = RT_FINDCHUNK)
    {
        found = want;
        if (RT_Descend(&file, &found, parent, flags) != RT_OK)
            return "-";
        EXPECT_EQ(file.CurPtr, found.pData);
        return std::string(reinterpret_cast<char *>(found.pData), found.dataSize);
    }
    std::vector<uint8_t> data;
    RT_FILE file;
    RT_CKINFO found;
};

// The reader's messages, captured.
std::vector<std::pair<std::string, std::string>> g_messages;

void Capture(const std::string &caption, const std::string &text)
{
    g_messages.emplace_back(caption, text);
}

// The reader's messages so far, each as a word it must hold; the caption is the reader's.
bool MessagesAre(const std::vector<std::string> &words)
{
    bool same = g_messages.size() == words.size();
    for (size_t i = 0; same && i < words.size(); ++i)
        same = g_messages[i].first == PRESET_ERROR_CAPTION && g_messages[i].second.find(words[i]) != std::string::npos;
    g_messages.clear();
    return same;
}

std::vector<std::string> Gears(int max = PRESET_MAX_GEAR)
{
    std::vector<char[PRESET_GEAR_ROW]> rows(static_cast<size_t>(std::max(max, 1)));
    const int n = FillLibTab(rows.data(), max);
    return std::vector<std::string>(rows.begin(), rows.begin() + n);
}

std::vector<std::string> Params(const std::string &gear, int max = PRESET_MAX_PARAMS)
{
    std::vector<char[PRESET_PARAM_ROW]> rows(static_cast<size_t>(std::max(max, 1)));
    const int n = FillCtrlTab(gear.c_str(), rows.data(), max);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.emplace_back(rows[i], strnlen(rows[i], PRESET_PARAM_ROW));
    return names;
}

}  // namespace

TEST(RiffReader, FlatSearchWithinTheParent)
{
    Image img(MakeChunk("AAAA", "1") + MakeChunk("BBBB", "hello!") + MakeChunk("AAAA", "2"));
    EXPECT_TRUE(img.file.StartAddress == img.data.data() && img.file.EndAddress == img.data.data() + img.data.size());
    RT_FILE unknown;  // size 0: an unknown end
    EXPECT_EQ(RT_Open(&unknown, img.data.data(), 0), RT_OK);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(unknown.EndAddress), UINTPTR_MAX);
    EXPECT_EQ(img.Find(Want(B)), "hello!");
    EXPECT_EQ(img.At(img.found.pData), 18u);
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.Find(Want(A)), "2") << "from the position on";
    EXPECT_EQ(img.Find(Want(A), nullptr, RT_FINDCHUNK | RT_FROMSTART), "1");
    for (unsigned flags : {0u, RT_FROMSTART, RT_FINDCHUNK | RT_FINDRIFF})  // no single known kind
        EXPECT_EQ(img.Find(Want(A), nullptr, static_cast<uint16_t>(flags)), "-");
    RT_CKINFO c = Want(C);  // a failed search changes neither the position nor the chunk
    c.pData = img.data.data() + 3;
    c.dataSize = 77;
    const RT_CKINFO before = c;
    img.file.CurPtr = img.data.data() + 10;
    EXPECT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(img.At(img.file.CurPtr), 10u);
    EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0);
    EXPECT_EQ(RT_Descend(nullptr, &c, nullptr, RT_FINDCHUNK), RT_FAIL);
    EXPECT_EQ(RT_Descend(&img.file, nullptr, nullptr, RT_FINDCHUNK), RT_FAIL);

    Image nested(MakeChunk("AAAA", MakeChunk("BBBB", "12") + MakeChunk("BBBB", "34")) +
                 MakeChunk("AAAA", MakeChunk("BBBB", "56")) + MakeChunk("CCCC", "78"));
    EXPECT_EQ(nested.Find(Want(C), nullptr, RT_FINDCHUNK), "78");
    EXPECT_EQ(nested.Find(Want(B), nullptr, RT_FINDCHUNK | RT_FROMSTART), "-") << "nested chunks are not seen";
    ASSERT_NE(nested.Find(Want(A), nullptr, RT_FINDCHUNK | RT_FROMSTART), "-");
    RT_CKINFO parent = nested.found;
    EXPECT_EQ(nested.Find(Want(B), &parent), "12");
    RT_Ascend(&nested.file, &nested.found);
    EXPECT_EQ(nested.Find(Want(B), &parent), "34");
    RT_Ascend(&nested.file, &nested.found);
    EXPECT_EQ(nested.Find(Want(C), &parent, RT_FINDCHUNK | RT_FROMSTART), "-") << "the parent bounds the search";
    EXPECT_EQ(nested.Find(Want(B)), "-") << "without a parent: the next top-level chunk is stepped over whole";
    nested.file.CurPtr = nested.data.data();  // a position before the parent's data
    EXPECT_EQ(nested.Find(Want(B), &parent), "-");
    nested.file.CurPtr = nested.file.EndAddress;
    EXPECT_EQ(nested.Find(Want(C)), "-");
}

TEST(RiffReader, PaddingAndFormTypes)
{
    Image img(MakeChunk("AAAA", "abc") + MakeChunk("AAAA", "d") + MakeChunk("CCCC", "ef") + RawChunk("BBBB", 3, "xyz"));
    EXPECT_EQ(img.Find(Want(A)), "abc");
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.At(img.file.CurPtr), 12u) << "after the pad byte";
    EXPECT_EQ(img.Find(Want(C)), "ef") << "odd chunks are stepped over with their pad";
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.Find(Want(B)), "xyz");
    RT_Ascend(&img.file, &img.found);  // no pad after the last chunk: tolerated
    EXPECT_EQ(img.file.CurPtr, img.file.EndAddress);
    EXPECT_EQ(img.Find(Want(C)), "-");
    img.file.CurPtr = img.data.data();
    EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_OK);

    Image forms(MakeChunk("RIFF", "ON") + Form("LIST", "XXXX", "no") + Form("LIST", "ONE ", "a") +
                Form("RIFF", "TWO ", MakeChunk("AAAA", "q") + Form("LIST", "TWO ", MakeChunk("BBBB", "deep"))));
    EXPECT_EQ(forms.Find(Want(LIST, ONE, ONE), nullptr, RT_FINDLIST), "a") << "a wrong form type is stepped over";
    EXPECT_EQ(forms.At(forms.found.pData), 10u + 14u + 12u) << "the data after the form type";
    ASSERT_NE(forms.Find(Want(RIFF, ONE, TWO), nullptr, RT_FINDRIFF | RT_FROMSTART), "-") << "either form type";
    EXPECT_EQ(forms.At(forms.found.pData), 50u);
    EXPECT_EQ(forms.found.dataSize, 34u);
    RT_CKINFO riff = forms.found;
    ASSERT_NE(forms.Find(Want(LIST, TWO), &riff, RT_FINDRIFF), "-") << "RIFF and LIST searches alike";
    RT_CKINFO list = forms.found;
    EXPECT_EQ(forms.Find(Want(B), &list), "deep");
    EXPECT_EQ(forms.Find(Want(RIFF, RT_MakeFourcc('O', 'N', 0, 0)), nullptr, RT_FINDRIFF | RT_FROMSTART), "-")
        << "a form chunk too short for its type";
    Image cut(RawChunk("RIFF", 4, "ON"));
    EXPECT_EQ(cut.Find(Want(RIFF, ONE), nullptr, RT_FINDRIFF), "-");
}

TEST(RiffReader, SizesRunningPastTheImageOrTheParentEndTheSearch)
{
    const std::string cases[] = {MakeChunk("AAAA", "1") + RawChunk("BBBB", 1000, "short"),
                                 RawChunk("AAAA", 0xFFFFFFF0u, "") + MakeChunk("BBBB", "x"),
                                 RawChunk("BBBB", 0xFFFFFFFFu, "abcd")};
    for (const std::string &bytes : cases) {
        Image img(bytes);
        EXPECT_EQ(img.Find(Want(B)), "-");
        EXPECT_EQ(img.file.CurPtr, img.data.data());
        EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_FAIL);
    }
    Image img(MakeChunk("AAAA", RawChunk("BBBB", 20, "abcd")) + std::string(40, 'z') + MakeChunk("CCCC", ""));
    ASSERT_NE(img.Find(Want(A)), "-");
    RT_CKINFO parent = img.found;
    EXPECT_EQ(img.Find(Want(B), &parent), "-") << "inside the image, past the parent";
    EXPECT_EQ(RT_CheckSizes(&img.file, &parent), RT_FAIL);
    for (size_t cut = 1; cut < 8; ++cut) {  // too few bytes for a header end the level
        Image end(MakeChunk("AAAA", "12") + std::string("BBBBxxxx").substr(0, cut));
        EXPECT_EQ(end.Find(Want(B)), "-");
        EXPECT_EQ(RT_CheckSizes(&end.file, nullptr), RT_OK) << cut;
    }
    Image empty(MakeChunk("AAAA", "") + Form("LIST", "ONE ", MakeChunk("BBBB", "x")));
    EXPECT_EQ(empty.Find(Want(A)), "");
    parent = empty.found;
    EXPECT_EQ(empty.Find(Want(B), &parent), "-");
    EXPECT_EQ(RT_CheckSizes(&empty.file, &parent), RT_OK);
    RT_CKINFO fake = Want(A);  // an ascend stays within the image; one past an unfound chunk stays put
    fake.pData = empty.data.data() + 8;
    fake.dataSize = 5000;
    RT_Ascend(&empty.file, &fake);
    EXPECT_EQ(empty.file.CurPtr, empty.file.EndAddress);
    empty.file.CurPtr = empty.data.data() + 4;
    RT_CKINFO unfound = Want(B);
    RT_Ascend(&empty.file, &unfound);
    EXPECT_EQ(empty.At(empty.file.CurPtr), 4u);
}

TEST(RiffReader, LoadFileInRam)
{
    ReleasePresetLibrary();
    TempFolder dir;
    auto write = [&dir](const std::string &name, const std::string &bytes) {
        WriteFileText(dir.File(name), bytes);
        return dir.File(name);
    };
    const std::string content = MakeChunk("LIBR", "abc") + std::string("\0\r\n\x1a\xff", 5);
    ASSERT_EQ(RT_LoadFileInRam(write("whole.xcq", content).c_str()), content.size());
    ASSERT_NE(Libfiledata, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(Libfiledata), content.size()), content);
    uint8_t *const buffer = Libfiledata;
    for (const std::string &path : {dir.File("absent.xcq"), write("empty.xcq", ""), dir.Path()}) {
        EXPECT_EQ(RT_LoadFileInRam(path.c_str()), 0u) << path;
        EXPECT_EQ(presetfiledatalength, 0u);
        EXPECT_EQ(Libfiledata, buffer) << "the buffer is left";
    }
    EXPECT_EQ(RT_LoadFileInRam(nullptr), 0u);
    ReleasePresetLibrary();
}

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
        WriteFileText(dir_.File(PRESET_FILE_NAME), image);
        ASSERT_EQ(LoadPresetLibrary(dir_.Path() + "/"), image.size());
        ASSERT_TRUE(g_messages.empty());
    }

    TempFolder dir_;
    PresetMessageReporter previous_ = nullptr;
};

}  // namespace

TEST_F(PresetReader, StartupLoadingAndMissingData)
{
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
        EXPECT_NE(g_messages[0].second.find(HlvLib), std::string::npos) << g_messages[0].second;
        g_messages.clear();
    }
    EXPECT_EQ(SetPresetMessageReporter(nullptr), Capture);
    EXPECT_NE(SetPresetMessageReporter(Capture), Capture) << "null restores the default";
}

TEST_F(PresetReader, GearAndParameterLists)
{
    const std::string p = P("x"), longest(127, 'N'), long_gear(41, 'G');
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += Gear("Gear " + std::to_string(i), i == 1 ? P(longest) + p : "");
    Load(MakeChunk("INFO", "header") + Gear("Alpha", P("a1") + P("a2")) + MakeChunk("JUNK", "odd") + Gear("Beta", "") +
         Gear(long_gear, p) + MakeChunk("LIBR", P("early") + MakeChunk("NAME", "Late") + MakeChunk("PAD ", "x") + p) +
         Gear("Alpha", P("second")) + many);
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
    const std::string p = P("p"), whole = Gear("First", p) + Gear("Second", p), first = Gear("First", ""),
                      third = Gear("Third", "");
    const struct {
        std::string image;
        bool gears;  // the gear list, or the parameters of "G"
        const char *message, *listed;
    } cases[] = {
        {first + MakeChunk("LIBR", MakeChunk("XXXX", "")) + third, true, "preset name not found", "First"},
        {first + Gear(std::string(128, 'x'), "") + third, true, "name chunk too large", "First"},
        {whole.substr(0, whole.size() - 5), true, "preset name not found", "First"},
        {MakeChunk("LIBR", RawChunk("NAME", 50, "Short")) + std::string(60, '\0'), true, "preset name not found", ""},
        {Gear("G", P("ok") + MakeChunk("CTRL", MakeChunk("SHNM", "x")) + p), false, "Parameter name not found", "ok"},
        {Gear("G", P("ok") + P(std::string(128, 'q'))), false, "Chunk name too large", "ok"},
    };
    for (const auto &c : cases) {
        Load(c.image);
        EXPECT_EQ(c.gears ? Gears() : Params("G"), std::vector<std::string>(*c.listed ? 1 : 0, c.listed)) << c.message;
        EXPECT_TRUE(MessagesAre({c.message})) << c.message;
    }
}

TEST_F(PresetReader, BytesTooFewForAChunkAtTheEndAreNoCorruption)
{
    const std::string whole = Gear("First", P("p")) + Gear("Second", P("q"));
    for (size_t extra = 1; extra < 8; ++extra) {
        Load(whole + std::string(extra, '\x01'));
        EXPECT_EQ(Gears(), (std::vector<std::string>{"First", "Second"})) << extra;
        EXPECT_EQ(Params("Second"), (std::vector<std::string>{"q"})) << extra;
        EXPECT_TRUE(g_messages.empty()) << extra;
    }
}

TEST_F(PresetReader, ParametersConvertIntoARecordAndLcdText)
{
    const struct {
        std::string msg, lcd, bytes;  // the record's 32 bytes expected, from 0xEE
    } cases[] = {
        {"B00700", "Volume", "00 1C 00 03 01 03 00 0A 64 02 00 B0 07 00 00"},  // the terminator after the event
        {"F0" + std::string(40, '1'), "", "00 1C 00 15 01 03 00 0A 64 02 00 F0" + Repeat(" 11", 20)},
        {"B07F3", "odd", "00 1C 00 02 01 03 00 0A 64 02 00 B0 7F 00"},     // the last character ignored
        {"b0 7F", "digits", "00 1C 00 02 01 03 00 0A 64 02 00 00 07 00"},  // "b" and spaces read as 0
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
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&r);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 32), expected) << c.msg;
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
        Load(Gear("G", MakeChunk("CTRL", c.first)) + Gear("H", P("Q")));
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

// ---- MIDI name documents into preset gear

namespace {

std::string Doc(const std::string &controls, const std::string &device = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MIDINameDocument><MasterDeviceNames>"
           "<Manufacturer>Maker</Manufacturer><Model>Box</Model>" +
           device + "<ControlNameList Name=\"C\">" + controls +
           "</ControlNameList></MasterDeviceNames></MIDINameDocument>";
}

MidnamConversion Convert(const std::string &text)
{
    return ConvertMidnam(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

// A parameter as "name | lcd | event | channel checksum value min max".
std::string Describe(const PresetParameter &p)
{
    std::string event;
    for (uint8_t b : p.event) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", b);
        event += hex;
    }
    char pos[32];
    std::snprintf(pos, sizeof pos, "| %d %d %d %d %d", p.pos[0], p.pos[1], p.pos[2], p.pos[3], p.pos[4]);
    return p.name + " | " + p.lcd + " | " + event + pos;
}

// The MIDI name documents installed on the system that hold a control list.
std::vector<std::string> Documents()
{
    std::vector<std::string> paths;
    glob_t found;
    if (glob("/usr/share/ardour*/patchfiles/*.midnam", 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
            if (ReadFileText(found.gl_pathv[i]).find("<ControlNameList") != std::string::npos)
                paths.push_back(found.gl_pathv[i]);
    globfree(&found);
    return paths;
}

}  // namespace

TEST(Midnam, EachControlKindRangeAndName)
{
    const std::string switch_list = "<ValueNameList Name=\"Sw\"><Value Number=\"0\" Name=\"Off\"/>"
                                    "<Value Number=\"64\" Name=\"On\"/></ValueNameList>";
    const struct {
        std::string control, expected;
    } cases[] = {
        {"<Control Type=\"7bit\" Number=\"74\" Name=\"Cutoff\"/>", "Cutoff | Cutoff | B0 4A 00 | 1 0 3 0 127"},
        {"<Control Type=\"14bit\" Number=\"1\" Name=\"Mod\"/>", "Mod | Mod | B0 01 00 | 1 0 3 0 127"},
        {"<Control Type=\"NRPN\" Number=\"300\" Name=\"Osc\"/>", "Osc | Osc | B0 63 02 62 2C 06 00 | 1 0 7 0 127"},
        {"<Control Type=\"RPN\" Number=\"2\" Name=\"Tune\"/>", "Tune | Tune | B0 65 00 64 02 06 00 | 1 0 7 0 127"},
        {"<Control Number=\"9\" Name=\"R\"><Values Min=\"16\" Max=\"112\"/></Control>",
         "R | R | B0 09 00 | 1 0 3 16 112"},
        {"<Control Number=\"9\" Name=\"L\"><Values><ValueNameList><Value Number=\"2\" Name=\"a\"/><Value Number=\"5\" "
         "Name=\"b\"/></ValueNameList></Values></Control>",
         "L | L | B0 09 00 | 1 0 3 2 5"},
        {"<Control Number=\"9\" Name=\"S\"><Values><UsesValueNameList Name=\"Sw\"/></Values></Control>",
         "S | S | B0 09 00 | 1 0 3 0 64"},
        {"<Control Type=\"NRPN\" Number=\"5\" Name=\"W\"><Values Min=\"0\" Max=\"16383\"/></Control>",
         "W | W | B0 63 00 62 05 06 00 | 1 0 7 0 127"},
        {"<Control Number=\"12\" Name=\"Oscillator 2 Frequency (Coarse)\"/>",
         "Oscillator 2 Frequency (Coarse) | Oscl 2 Frqnc Crs | B0 0C 00 | 1 0 3 0 127"},
        {"<Control Number=\"13\" Name=\"[Channel Mode Message] All Sound Off\"/>",
         "[Channel Mode Message] All Sound Off | All Sound Off | B0 0D 00 | 1 0 3 0 127"},
        {"<Control Number=\"15\" "
         "Name=\"\xE2\x80\x98q\xE2\x80\x99\xE2\x80\x93r\xE2\x80\xA6\xE2\x89\xA5\xC2\xA0\x7Fs\xC2\xB5\"/>",
         "'q'-r...>= s? | 'q'-r...>= s? | B0 0F 00 | 1 0 3 0 127"},
        {"<Control Number=\"14\" Name=\"  Agog\xC3\xB4\t\xE2\x89\xA4"
         "63 \xE2\x80\x9C\xE2\x98\x83\xE2\x80\x9D\"/>",
         "Agogo <=63 \"?\" | Agogo <=63 \"?\" | B0 0E 00 | 1 0 3 0 127"},
    };
    for (const auto &c : cases) {
        const MidnamConversion m = Convert(Doc(c.control, switch_list));
        ASSERT_EQ(m.error, "") << c.control;
        ASSERT_EQ(m.gear.size(), 1u) << c.control;
        EXPECT_EQ(m.gear[0].name, "Maker Box");
        ASSERT_EQ(m.gear[0].params.size(), 1u) << c.control;
        EXPECT_EQ(Describe(m.gear[0].params[0]), c.expected);
        EXPECT_EQ(PresetParameterProblem(m.gear[0].params[0]), "") << c.control;
    }
}

TEST(Midnam, UnusableControlsAreSkippedAndCountedSameNamesToldApart)
{
    const MidnamConversion m =
        Convert(Doc("<Control Type=\"SysEx\" Number=\"1\" Name=\"a\"/>"
                    "<Control Number=\"128\" Name=\"b\"/><Control Type=\"14bit\" Number=\"32\" Name=\"c\"/>"
                    "<Control Type=\"NRPN\" Number=\"16384\" Name=\"d\"/><Control Number=\"3\"/>"
                    "<Control Number=\"x\" Name=\"e\"/><Control Number=\"4\" Name=\"f\"><Values "
                    "Min=\"0\" Max=\"300\"/></Control><Control Number=\"5\" Name=\"g\"><Values "
                    "Min=\"9\" Max=\"2\"/></Control><Control Number=\"3\" Name=\"Undefined\"/>"
                    "<Control Type=\"NRPN\" Number=\"3\" Name=\"Undefined\"/>"
                    "<Control Number=\"3\" Name=\"Undefined\"/>"));
    EXPECT_EQ(m.error, "");
    ASSERT_EQ(m.gear.size(), 1u);
    std::vector<std::string> names;
    for (const PresetParameter &p : m.gear[0].params)
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Undefined (CC 3)", "Undefined (NRPN 3)"}));
    EXPECT_EQ(m.skipped, 9u) << "8 that cannot be expressed, the same control twice";
    EXPECT_TRUE(Convert(Doc("<Control Number=\"128\" Name=\"b\"/>")).gear.empty()) << "no usable control, no gear";
}

TEST(Midnam, RefusedDocumentsGiveAMessageAndNoGear)
{
    const std::string deep = std::string(200, 'x');
    std::string nested;
    for (int i = 0; i < 70; ++i)
        nested += "<a>";
    const struct {
        std::string text, message;
    } cases[] = {
        {"", "not a MIDI name document"},
        {Doc("<Control Number=\"1\" Name=\"a\">"), "not a MIDI name document: XML parsing error"},
        {"<?xml version=\"1.0\"?><Patches/>", "its root element is <Patches>"},
        {"<!DOCTYPE d [<!ENTITY a \"" + deep + "\">]><MIDINameDocument>&a;</MIDINameDocument>", "entities"},
        {"<MIDINameDocument>" + nested, "nested more than 64 deep"},
        {std::string(MIDNAM_MAX_BYTES + 1, ' '), "larger than 4 MB"},
    };
    for (const auto &c : cases) {
        const MidnamConversion m = Convert(c.text);
        EXPECT_NE(m.error.find(c.message), std::string::npos) << m.error;
        EXPECT_TRUE(m.gear.empty());
    }
    EXPECT_EQ(ConvertMidnamFile("/no/such.midnam").error, "The file cannot be opened.");
}

TEST(PresetParameters, EachFaultIsNamed)
{
    const PresetParameter valid{"Cutoff", "Cut", {0xB0, 0x4A, 0x00}, {1, 0, 3, 0, 127}};
    EXPECT_EQ(PresetParameterProblem(valid), "");
    const std::pair<std::function<void(PresetParameter &)>, const char *> cases[] = {
        {[](PresetParameter &p) { p.name.clear(); }, "empty parameter name"},
        {[](PresetParameter &p) { p.name.assign(128, 'n'); }, "longer than 127 bytes"},
        {[](PresetParameter &p) { p.name = "Caf\xE9"; }, "outside printable ASCII"},
        {[](PresetParameter &p) { p.lcd.assign(17, 'l'); }, "LCD text longer"},
        {[](PresetParameter &p) { p.lcd = "\t"; }, "LCD text holds"},
        {[](PresetParameter &p) { p.event.clear(); }, "event not 1 to 21"},
        {[](PresetParameter &p) { p.event.resize(22); }, "event not 1 to 21"},
        {[](PresetParameter &p) { p.pos[3] = 128; }, "value range"},
        {[](PresetParameter &p) { p.pos[4] = 128; }, "value range"},
        {[](PresetParameter &p) { p.pos[3] = 100, p.pos[4] = 50; }, "record check with code 7"},
    };
    for (const auto &c : cases) {
        PresetParameter p = valid;
        c.first(p);
        EXPECT_NE(PresetParameterProblem(p).find(c.second), std::string::npos) << c.second;
    }
}

TEST(UserPresets, ImportAddsReplacesAndRenamesAfterTheShippedGear)
{
    TempFolder dir;
    ReleasePresetLibrary();
    const PresetMessageReporter previous = SetPresetMessageReporter(Capture);
    PresetGear shipped{"Maker Box", {}};
    shipped.params.push_back({"P", "P", {0xB0, 0x01, 0x00}, {1, 0, 3, 0, 127}});
    ASSERT_TRUE(WriteFileBytes(dir.File("hlvlib.xcq"), BuildPresetImage({shipped})));
    ASSERT_GT(LoadPresetLibrary(dir.Path() + "/"), 0u);
    const std::string library = dir.File("data/user_presets.xcq");
    ASSERT_TRUE(WriteFileText(dir.File("a.midnam"), Doc("<Control Number=\"1\" Name=\"A\"/>")));
    ASSERT_TRUE(WriteFileText(dir.File("b.midnam"), "<MIDINameDocument><MasterDeviceNames><Model>Aaa</Model>"
                                                    "<ControlNameList><Control Number=\"2\" Name=\"B\"/>"
                                                    "</ControlNameList></MasterDeviceNames></MIDINameDocument>"));

    MidnamImport first = ImportMidnamDocument(dir.File("a.midnam"), library, ShippedPresetNames());
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_EQ(MidnamImportReport(first), "Added to your presets: 1 device.\n1 device named like shipped gear "
                                         "carries \"(user)\" after the name.");
    EXPECT_TRUE(ImportMidnamDocument(dir.File("b.midnam"), library, ShippedPresetNames()).ok);
    const MidnamImport again = ImportMidnamDocument(dir.File("a.midnam"), library, ShippedPresetNames());
    EXPECT_EQ(again.replaced, 1u);
    EXPECT_EQ(Gears(), (std::vector<std::string>{"Maker Box", "Aaa", "Maker Box (user)"}));
    EXPECT_EQ(Params("Maker Box (user)"), std::vector<std::string>{"A"});

    // A refused document and a damaged library change neither file nor reader.
    const std::vector<uint8_t> kept = ReadFileBytes(library);
    ASSERT_TRUE(WriteFileText(dir.File("bad.midnam"), "<MIDINameDocument>"));
    const MidnamImport bad = ImportMidnamDocument(dir.File("bad.midnam"), library, {});
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message.find("Cannot import " + dir.File("bad.midnam") + ":\nThe file is not a MIDI name document"),
              0u);
    ASSERT_TRUE(WriteFileBytes(dir.File("cut.xcq"), std::vector<uint8_t>(kept.begin(), kept.end() - 3)));
    EXPECT_FALSE(ImportMidnamDocument(dir.File("a.midnam"), dir.File("cut.xcq"), {}).ok);
    EXPECT_FALSE(LoadUserPresets(dir.File("cut.xcq")));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, PRESET_LIBRARY_ERROR_CAPTION);
    ASSERT_TRUE(WriteFileText(dir.File("none.midnam"), Doc("<Control Number=\"128\" Name=\"b\"/>")));
    EXPECT_FALSE(ImportMidnamDocument(dir.File("none.midnam"), library, {}).ok) << "no usable device";
    EXPECT_FALSE(ImportMidnamDocument(dir.File("a.midnam"), dir.File("a.midnam/presets.xcq"), {}).ok);
    EXPECT_EQ(ReadFileBytes(library), kept);
    EXPECT_EQ(Gears().size(), 3u);

    // At the next start the library is read again after the shipped one.
    ASSERT_GT(LoadPresetLibrary(dir.Path() + "/"), 0u);
    EXPECT_TRUE(LoadUserPresets(library));
    EXPECT_EQ(Gears(), (std::vector<std::string>{"Maker Box", "Aaa", "Maker Box (user)"}));
    g_messages.clear();
    ReleasePresetLibrary();
    SetPresetMessageReporter(previous);
}

// The library the build compiles: the standards source's gear and every
// device of the documents found, sorted by name, each name once; every
// parameter reads back as a record the checks pass with a printable LCD text,
// a device's as the converter made it.
TEST(ShippedPresets, HoldTheStandardsAndEveryDeviceOfTheDocuments)
{
    std::vector<PresetGear> devices;
    for (const std::string &path : Documents())
        for (PresetGear &g : ConvertMidnamFile(path).gear)
            devices.push_back(g);
    SortPresetGear(devices);
    const std::vector<std::string> standards =
        RegexMatches(ReadFileText(CVQ9_SOURCE_DIR "/presets/hlvlib.txt"), "\ngear:[ \t]*([^\r\n]*[^ \r\n])");

    g_messages.clear();
    const PresetMessageReporter previous = SetPresetMessageReporter(Capture);
    ASSERT_GT(RT_LoadFileInRam(CVQ9_BINARY_DIR "/hlvlib.xcq"), 0u) << "the build makes hlvlib.xcq";
    const std::vector<std::string> gears = Gears();
    EXPECT_GE(standards.size(), 6u);
    EXPECT_EQ(gears.size(), standards.size() + devices.size());
    EXPECT_EQ(std::adjacent_find(gears.begin(), gears.end(),
                                 [](const std::string &a, const std::string &b) { return !PresetNameLess(a, b); }),
              gears.end());
    for (const std::string &gear : gears) {
        const std::vector<std::string> params = Params(gear);
        EXPECT_FALSE(params.empty()) << gear;
        EXPECT_EQ(std::set<std::string>(params.begin(), params.end()).size(), params.size()) << gear;
    }
    for (const PresetGear &g : devices) {
        ASSERT_EQ(Params(g.name).size(), g.params.size()) << g.name;
        for (const PresetParameter &p : g.params) {
            All_Params record = FilledRecord(0);
            Q9Text lcd;
            ASSERT_EQ(GetKnob(g.name.c_str(), p.name.c_str(), &record, &lcd), 1) << g.name << " / " << p.name;
            EXPECT_TRUE(SameRecord(record, PresetRecord(p)));
            EXPECT_EQ(lcd, Q9Text(p.lcd.begin(), p.lcd.end()));
        }
    }
    EXPECT_TRUE(g_messages.empty());
    ReleasePresetLibrary();
    SetPresetMessageReporter(previous);
}
