// The assignment summary: the whole default library against a file worked
// out by hand, then the line rules, and the export to a real file.
#include <gtest/gtest.h>

#include <sstream>

#include "record_access.h"
#include "test_support.h"
#include "text_summary.h"

namespace {

const char LIBRARY_PATH[] = "/home/q9/libraries/default.cvq";
const char DATE[] = "2024-01-31";

class TextSummary : public ::testing::Test
{
protected:
    void SetUp() override { ResetConfiguration(1); }

    // Line `n` (0-based) of the summary.
    static std::string Line(size_t n, const std::string &path = LIBRARY_PATH)
    {
        std::istringstream in(BuildTextSummary(path, DATE));
        std::string line;
        while (std::getline(in, line) && n--) {
        }
        return line;
    }
    // The line of control c (5..66) of group g.
    static std::string ControlLine(unsigned g, unsigned c) { return Line(14 + g * 66 + 4 + (c - 5)); }
};

}  // namespace

TEST_F(TextSummary, DefaultLibraryMatchesTheExpectedFile)
{
    const std::string expected = ReadFileText(CVQ9_SOURCE_DIR "/tests/unit/data/default_library_summary.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(BuildTextSummary(LIBRARY_PATH, DATE), expected);
}

TEST_F(TextSummary, LineRules)
{
    ResetConfiguration(0);
    EXPECT_EQ(Line(4, ""), "Library file: ");
    EXPECT_EQ(Line(9), "Control 00 [Rec button] >> [MIDI] ");
    EXPECT_EQ(Line(16), "***** GROUP 00 *****");
    EXPECT_EQ(ControlLine(20, 66), "Control 66 [LFO] >> Undefined Control");

    ResetConfiguration(1);
    mycontrol[0][13] = All_Params{};  // undefined even with a chain and MIDI bytes
    mycontrol[0][13].ctrl_chain = 9;
    mycontrol[0][13].midi_string[0] = 0x90;
    EXPECT_EQ(ControlLine(0, 13), "Control 13 [Knob 5 (row 0 - col 5)] >> Undefined Control");
    mycontrol[4][20].midi_str_lenght = 2;  // failing other checks: still written
    mycontrol[4][20].midi_string[0] = 0xC3;
    mycontrol[4][20].midi_string[1] = 0xab;
    EXPECT_EQ(ControlLine(4, 20), "Control 20 [Knob 12 (row 1 - col 4)] >> [LCD]     CC # 052  [MIDI] C3AB");
    for (unsigned i = 0; i < 21; ++i)
        mycontrol[5][30].midi_string[i] = static_cast<uint8_t>(i);
    mycontrol[5][30].midi_str_lenght = 200;  // 21 bytes at most
    mylcdstring[5][30] = Text("x");
    EXPECT_EQ(ControlLine(5, 30),
              "Control 30 [Knob 22 (row 2 - col 6)] >> [LCD] x  [MIDI] 000102030405060708090A0B0C0D0E0F1011121314");

    // LCD texts verbatim up to their NUL, as their low 8 bits.
    const std::pair<Q9Text, std::string> lcd[] = {{Text("100%s %d%%"), "100%s %d%%"},
                                                  {Text("Cut") + L'\0' + Text("hidden"), "Cut"},
                                                  {Q9Text(1, L'\0'), ""},
                                                  {Q9Text{L'a', wchar_t(0xE9), wchar_t(0x141)}, "a\xE9\x41"},
                                                  {Text("A text longer than sixteen"), "A text longer than sixteen"}};
    for (const auto &t : lcd) {
        mylcdstring[2][8] = t.first;
        EXPECT_EQ(ControlLine(2, 8), "Control 08 [Knob 0 (row 0 - col 0)] >> [LCD] " + t.second + "  [MIDI] B01800");
    }
    // Group titles: the name up to its NUL when it holds more than spaces and only 8-bit characters.
    const std::pair<Q9Text, std::string> titles[] = {{Text("Drums %s"), "Drums %s"},
                                                     {Text(" "), "GROUP 03"},
                                                     {Q9Text(), "GROUP 03"},
                                                     {Q9Text(1, L'\0'), "GROUP 03"},
                                                     {Text(" ") + L'\0', "GROUP 03"},
                                                     {{L'B', wchar_t(0xE4), L's'}, "GROUP 03"},
                                                     {{L'X', wchar_t(0x158)}, "GROUP 03"},
                                                     {Text("  "), "  "},
                                                     {Text("Keys") + L'\0' + wchar_t(0xE9), "Keys"}};
    for (const auto &t : titles) {
        mygroupnames[3] = t.first;
        EXPECT_EQ(Line(14 + 3 * 66 + 2), "***** " + t.second + " *****");
    }
    const std::string path = "/" + std::string(300, '\xE9');  // its first 256 characters
    EXPECT_EQ(Line(4, path), "Library file: " + path.substr(0, 256));
    const std::string date = CurrentIsoDate();
    EXPECT_EQ(date.size(), 10u);
    EXPECT_EQ(date.find_first_not_of("0123456789"), 4u);
    EXPECT_EQ(date.substr(4, 1) + date.substr(7, 1), "--");
}

TEST_F(TextSummary, ExportCreatesTheFileThenChecks)
{
    TempFolder folder;
    const std::string path = folder.File("summary.txt");
    int checks = 0;
    SummaryExportResult result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, [&checks]() -> uint8_t {
        ++checks;
        return 0;
    });
    EXPECT_TRUE(result.ok && result.check == 0 && result.message.empty());
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(ReadFileText(path), BuildTextSummary(LIBRARY_PATH, DATE));
    result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, []() -> uint8_t { return 13; });
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.check, 13);
    EXPECT_EQ(ReadFileText(path), "") << "a failed check leaves an empty file";
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"summary.txt"});

    const std::string missing = folder.File("missing/summary.txt");
    result = ExportTextSummaryFile(missing, LIBRARY_PATH, DATE, [&checks]() -> uint8_t { return ++checks; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Unable to create " + missing);
    EXPECT_EQ(checks, 1) << "no check without a file";
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"summary.txt"});
}
