// The assignment summary: the whole default library against a file worked
// out by hand, then the line rules one by one, and the export to a real file.
#include <gtest/gtest.h>

#include <sstream>

#include "file_formats_support.h"
#include "record_access.h"
#include "text_summary.h"

using namespace cvq9_test;

namespace {

const char LIBRARY_PATH[] = "/home/q9/libraries/default.cvq";
const char DATE[] = "2024-01-31";

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start) + "<no line feed>");
    return lines;
}

// Line number (0-based) of control index c (5..66) of group g in the summary.
size_t ControlLine(unsigned g, unsigned c)
{
    return 14 + g * 66 + 4 + (c - 5);
}

class TextSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetConfiguration(1);
        ASSERT_FALSE(folder.Path().empty());
    }
    std::vector<std::string> Summary(const std::string &path = LIBRARY_PATH)
    {
        return Lines(BuildTextSummary(path, DATE));
    }
    TempFolder folder;
};

TEST_F(TextSummaryTest, DefaultLibraryMatchesTheExpectedFile)
{
    const std::vector<uint8_t> expected_bytes =
        ReadFileBytes(CVQ9_SOURCE_DIR "/tests/unit/data/default_library_summary.txt");
    ASSERT_FALSE(expected_bytes.empty());
    const std::vector<std::string> expected = Lines(std::string(expected_bytes.begin(), expected_bytes.end()));
    const std::vector<std::string> actual = Summary();
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(BuildTextSummary(LIBRARY_PATH, DATE), std::string(expected_bytes.begin(), expected_bytes.end()));
}

TEST_F(TextSummaryTest, HeaderLines)
{
    const std::vector<std::string> lines = Summary();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[0], "************************************");
    EXPECT_EQ(lines[1], "* CORVANA Q9 ASSIGNMENTS SUMMARY *");
    EXPECT_EQ(lines[2], "************************************");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "Library file: /home/q9/libraries/default.cvq");
    EXPECT_EQ(lines[5], "Date: 2024-01-31");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "***** TRANSPORT BAR *****");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "Control 00 [Rec button] >> [MIDI] B00000");
    EXPECT_EQ(lines[13], "Control 04 [Forward button] >> [MIDI] B00400");
    EXPECT_EQ(lines[14], "");
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(lines[16], "*****    Group 00    *****");
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines.size(), 14u + 21u * 66u);
}

TEST_F(TextSummaryTest, DefaultControlLines)
{
    const std::vector<std::string> lines = Summary();
    EXPECT_EQ(lines[ControlLine(0, 8)], "Control 08 [Knob 0 (row 0 - col 0)] >> [LCD]     CC # 008  [MIDI] B00800");
    EXPECT_EQ(lines[ControlLine(12, 5)], "Control 05 [Ribbon controller] >> [LCD]     CC # 101  [MIDI] B06500");
    EXPECT_EQ(lines[ControlLine(20, 66)], "Control 66 [LFO] >> [LCD]     CC # 098  [MIDI] B06200");
    EXPECT_EQ(lines[ControlLine(3, 56)], "Control 56 [Foot-Switch] >> [LCD]     CC # 080  [MIDI] B05000");
}

TEST_F(TextSummaryTest, EmptyConfiguration)
{
    ResetConfiguration(0);
    const std::vector<std::string> lines = Summary("");
    EXPECT_EQ(lines[4], "Library file: ");
    EXPECT_EQ(lines[9], "Control 00 [Rec button] >> [MIDI] ");
    EXPECT_EQ(lines[16], "***** GROUP 00 *****");
    EXPECT_EQ(lines[ControlLine(0, 12)], "Control 12 [Knob 4 (row 0 - col 4)] >> Undefined Control");
    EXPECT_EQ(lines[ControlLine(20, 66)], "Control 66 [LFO] >> Undefined Control");
}

TEST_F(TextSummaryTest, UndefinedRecordsAndTransportButtons)
{
    InitMidiStruct(&mycontrol[0][12], 0, 12, 0);
    InitMidiStruct(&mytransport[2], 0, 2, 0);
    const std::vector<std::string> lines = Summary();
    EXPECT_EQ(lines[ControlLine(0, 12)], "Control 12 [Knob 4 (row 0 - col 4)] >> Undefined Control");
    EXPECT_EQ(lines[11], "Control 02 [Backward button] >> [MIDI] ");
    // Only ctrl_chain and the MIDI bytes set: still undefined.
    mycontrol[0][13] = All_Params{};
    mycontrol[0][13].ctrl_chain = 9;
    mycontrol[0][13].midi_string[0] = 0x90;
    EXPECT_EQ(Summary()[ControlLine(0, 13)], "Control 13 [Knob 5 (row 0 - col 5)] >> Undefined Control");
}

TEST_F(TextSummaryTest, RecordsThatFailOtherChecksAreStillWritten)
{
    mycontrol[4][20].midi_str_lenght = 2;  // valid bytes count, value position beyond it
    mycontrol[4][20].midi_string[0] = 0xC3;
    mycontrol[4][20].midi_string[1] = 0x0A;
    EXPECT_EQ(Summary()[ControlLine(4, 20)], "Control 20 [Knob 12 (row 1 - col 4)] >> [LCD]     CC # 052  [MIDI] C30A");
}

TEST_F(TextSummaryTest, MidiBytesAreUpperCaseHexWithoutSeparators)
{
    All_Params &r = mycontrol[1][40];
    const uint8_t bytes[] = {0xF0, 0x00, 0x20, 0x7F, 0x0A, 0xab, 0xF7};
    std::memcpy(r.midi_string, bytes, sizeof bytes);
    r.midi_str_lenght = 7;
    mylcdstring[1][40] = Text("Sysex");
    EXPECT_EQ(Summary()[ControlLine(1, 40)], "Control 40 [Slider 0 (col 0)] >> [LCD] Sysex  [MIDI] F000207F0AABF7");
}

TEST_F(TextSummaryTest, AtMost21MidiBytesAreWritten)
{
    All_Params &r = mycontrol[5][30];
    for (unsigned i = 0; i < 21; ++i)
        r.midi_string[i] = static_cast<uint8_t>(i);
    r.midi_str_lenght = 200;
    mylcdstring[5][30] = Text("x");
    EXPECT_EQ(Summary()[ControlLine(5, 30)],
              "Control 30 [Knob 22 (row 2 - col 6)] >> [LCD] x  [MIDI] 000102030405060708090A0B0C0D0E0F1011121314");
}

TEST_F(TextSummaryTest, LcdTextsAreWrittenVerbatimUpToTheirNul)
{
    mylcdstring[2][8] = Text("100%s %d%%");
    Q9Text with_nul = Text("Cut");
    with_nul.push_back(L'\0');
    with_nul += Text("hidden");
    mylcdstring[2][9] = with_nul;
    mylcdstring[2][10] = Q9Text(1, L'\0');
    mylcdstring[2][11] = Q9Text{L'a', static_cast<wchar_t>(0xE9), static_cast<wchar_t>(0x141)};
    mylcdstring[2][12] = Text("A text longer than sixteen");
    const std::vector<std::string> lines = Summary();
    EXPECT_EQ(lines[ControlLine(2, 8)], "Control 08 [Knob 0 (row 0 - col 0)] >> [LCD] 100%s %d%%  [MIDI] B01800");
    EXPECT_EQ(lines[ControlLine(2, 9)], "Control 09 [Knob 1 (row 0 - col 1)] >> [LCD] Cut  [MIDI] B01900");
    EXPECT_EQ(lines[ControlLine(2, 10)], "Control 10 [Knob 2 (row 0 - col 2)] >> [LCD]   [MIDI] B01A00");
    EXPECT_EQ(lines[ControlLine(2, 11)], "Control 11 [Knob 3 (row 0 - col 3)] >> [LCD] a\xE9\x41  [MIDI] B01B00");
    EXPECT_EQ(lines[ControlLine(2, 12)],
              "Control 12 [Knob 4 (row 0 - col 4)] >> [LCD] A text longer than sixteen  [MIDI] B01C00");
}

TEST_F(TextSummaryTest, GroupTitles)
{
    mygroupnames[1] = Text("Drums %s");
    mygroupnames[3] = Text(" ");
    mygroupnames[4] = Q9Text();
    mygroupnames[5] = Q9Text(1, L'\0');
    mygroupnames[6] = Text(" ");
    mygroupnames[6].push_back(L'\0');
    mygroupnames[7] = Q9Text{L'B', static_cast<wchar_t>(0xE4), L's', L's'};
    mygroupnames[8] = Q9Text{L'X', static_cast<wchar_t>(0x158)};
    mygroupnames[9] = Text("  ");
    Q9Text cut = Text("Keys");
    cut.push_back(L'\0');
    cut.push_back(static_cast<wchar_t>(0xE9));
    mygroupnames[10] = cut;
    const std::vector<std::string> lines = Summary();
    auto title = [&](unsigned g) { return lines[14 + g * 66 + 2]; };
    EXPECT_EQ(title(1), "***** Drums %s *****");
    EXPECT_EQ(title(3), "***** GROUP 03 *****");
    EXPECT_EQ(title(4), "***** GROUP 04 *****");
    EXPECT_EQ(title(5), "***** GROUP 05 *****");
    EXPECT_EQ(title(6), "***** GROUP 06 *****");
    EXPECT_EQ(title(7), "***** GROUP 07 *****");
    EXPECT_EQ(title(8), "***** GROUP 08 *****");
    EXPECT_EQ(title(9), "*****    *****");
    EXPECT_EQ(title(10), "***** Keys *****");
}

TEST_F(TextSummaryTest, LibraryPathIsCutAt256Characters)
{
    const std::string long_path = "/" + std::string(300, 'p');
    EXPECT_EQ(Summary(long_path)[4], "Library file: " + long_path.substr(0, 256));
    const std::string exact = "/" + std::string(255, 'q');
    EXPECT_EQ(Summary(exact)[4], "Library file: " + exact);
    // A UTF-8 path is cut after 256 characters, not in the middle of one.
    std::string utf8 = "/";
    for (int i = 0; i < 300; ++i)
        utf8 += "\xC3\xA9";
    const std::string cut = "/" + [] {
        std::string s;
        for (int i = 0; i < 255; ++i)
            s += "\xC3\xA9";
        return s;
    }();
    EXPECT_EQ(Summary(utf8)[4], "Library file: " + cut);
    // Bytes that are not UTF-8 are counted as characters one by one.
    const std::string latin = "/" + std::string(300, '\xE9');
    EXPECT_EQ(Summary(latin)[4], "Library file: " + latin.substr(0, 256));
}

TEST_F(TextSummaryTest, DateIsIsoYearMonthDay)
{
    const std::string date = CurrentIsoDate();
    ASSERT_EQ(date.size(), 10u);
    for (size_t i = 0; i < date.size(); ++i) {
        if (i == 4 || i == 7)
            EXPECT_EQ(date[i], '-');
        else
            EXPECT_TRUE(date[i] >= '0' && date[i] <= '9') << date;
    }
}

// ---------------------------------------------------------------- export to a file

TEST_F(TextSummaryTest, ExportWritesTheSummary)
{
    const std::string path = folder.File("summary.txt");
    int checks = 0;
    const SummaryExportResult result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, [&]() -> uint8_t {
        ++checks;
        return 0;
    });
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.check, 0);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(checks, 1);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), BuildTextSummary(LIBRARY_PATH, DATE));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"summary.txt"});
}

TEST_F(TextSummaryTest, FailedCheckLeavesAnEmptyFile)
{
    const std::string path = folder.File("summary.txt");
    ASSERT_TRUE(WriteFileText(path, "previous summary"));
    const SummaryExportResult result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, []() -> uint8_t { return 13; });
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.check, 13);
    ASSERT_TRUE(FileExists(path));
    EXPECT_TRUE(ReadFileBytes(path).empty());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"summary.txt"});
}

TEST_F(TextSummaryTest, FileThatCannotBeCreatedIsReportedBeforeTheCheck)
{
    const std::string path = folder.File("missing/summary.txt");
    bool checked = false;
    const SummaryExportResult result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, [&]() -> uint8_t {
        checked = true;
        return 0;
    });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Unable to create " + path);
    EXPECT_FALSE(checked);
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
