// Import of Corvana Pro ".cvl" libraries through real files: the header, the
// control line format, every field rule, the placeholders, the defaults
// given afterwards, the 147-line limit, the check that stops the import and
// the lines that must not write anywhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <utility>

#include "file_formats_support.h"
#include "legacy_import.h"
#include "record_access.h"

using namespace cvq9_test;

namespace {

const char HEADER[] = "[MANUF].Corvana.\n[MODEL].Corvana Pro.\n[COMMENTS].Test library.\n";

struct Fields {
    unsigned f[9];
};

std::string Line(unsigned k, unsigned g, const Fields &fields, const std::string &midi, const std::string &lcd)
{
    char start[64];
    std::snprintf(start, sizeof start, "[K%02u][G%02u].", k, g);
    std::string line = start;
    for (unsigned value : fields.f) {
        char field[8];
        std::snprintf(field, sizeof field, "%02X.", value);
        line += field;
    }
    return line + midi + "." + lcd + ".\n";
}

// A plain three-byte control change line for old control k in group g.
std::string SimpleLine(unsigned k, unsigned g, unsigned cc)
{
    char midi[8];
    std::snprintf(midi, sizeof midi, "BN%02XVV", cc);
    return Line(k, g, {{0x03, 0, 0x01, 0x03, 0, 0, 0, 0x00, 0x7F}}, midi, "CC line");
}

class LegacyImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetConfiguration(1);
        CurrentGroup = 0;
        ControlIndex = 0;
        ASSERT_FALSE(folder.Path().empty());
    }

    // Writes `text` to a .cvl file and imports it, recording every check call.
    LegacyImportResult Import(const std::string &text, uint8_t fail_code = 0, unsigned fail_at = 0)
    {
        const std::string path = folder.File("lib.cvl");
        EXPECT_TRUE(WriteFileText(path, text));
        checked.clear();
        return ImportCvProLibraryFile(path, [&](uint8_t group, uint8_t control) -> uint8_t {
            checked.emplace_back(group, control);
            EXPECT_EQ(CurrentGroup, group);
            EXPECT_EQ(ControlIndex, control);
            return checked.size() == fail_at ? fail_code : 0;
        });
    }

    TempFolder folder;
    std::vector<std::pair<unsigned, unsigned>> checked;
};

Q9Text Stored(const char *text)
{
    Q9Text stored = Text(text);
    stored.push_back(L'\0');
    return stored;
}

// ---------------------------------------------------------------- the line's fields

TEST_F(LegacyImportTest, ControlChangeLineOfTheFormat)
{
    const LegacyImportResult result =
        Import(std::string(HEADER) + Line(0, 0, {{0x03, 0, 0x01, 0x03, 0, 0, 0, 0x00, 0x7F}}, "BN07VV", "Volume"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.entries_imported, 1u);
    const All_Params &r = mycontrol[0][8];
    EXPECT_EQ(r.midi_str_lenght, 3);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_channel_position, 1);
    EXPECT_EQ(r.ctrl_value_position_0, 3);
    EXPECT_EQ(r.ctrl_value_position_1, 0);
    EXPECT_EQ(r.ctrl_value_min, 0);
    EXPECT_EQ(r.ctrl_value_max, 0x7F);
    EXPECT_EQ(r.ctrl_status_0, 0);
    EXPECT_EQ(r.ctrl_status_1, 0x9C);
    EXPECT_EQ(r.ctrl_status_2, 0);
    EXPECT_EQ(r.checksum_start_position, 0);
    EXPECT_EQ(r.ctrl_chain, 0);
    EXPECT_EQ(mylcdstring[0][8], Stored("Volume"));
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 8}}));
    EXPECT_EQ(CurrentGroup, 0u);
    EXPECT_EQ(ControlIndex, 8u);
}

TEST_F(LegacyImportTest, LengthIsCappedAt21AndTheUpperBitsAreTheDelay)
{
    const std::string midi = "F0" + std::string(38, '1') + "F7";  // 42 characters
    Import(std::string(HEADER) + Line(1, 0, {{0x7F, 0, 0, 0, 0, 0, 0, 0, 0x7F}}, midi, "Long"));
    const All_Params &r = mycontrol[0][9];
    EXPECT_EQ(r.midi_str_lenght, 21);
    EXPECT_EQ(r.ctrl_status_1 & 0x03, 3);
    EXPECT_EQ(r.ctrl_status_1 & 0xFC, 0x9C);
    EXPECT_EQ(r.midi_string[0], 0xF0);
    EXPECT_EQ(r.midi_string[1], 0x11);
    EXPECT_EQ(r.midi_string[20], 0xF7);
}

TEST_F(LegacyImportTest, DelayBitsAutoSendAndSceneExclusion)
{
    Import(std::string(HEADER) + Line(2, 0, {{0x23, 0, 0x01, 0x83, 0, 0, 0x20, 0, 0x7F}}, "BN07VV", "a") +
           Line(3, 0, {{0x43, 0, 0x01, 0x03, 0, 0, 0, 0, 0x7F}}, "BN07VV", "b") +
           Line(4, 0, {{0x03, 0, 0x01, 0x03, 0, 0, 0xDF, 0, 0x7F}}, "BN07VV", "c"));
    EXPECT_EQ(mycontrol[0][10].ctrl_status_1, 0x9C | 0x20 | 0x40 | 0x01);
    EXPECT_EQ(mycontrol[0][10].ctrl_value_position_0, 3);
    EXPECT_EQ(mycontrol[0][11].ctrl_status_1, 0x9C | 0x02);
    EXPECT_EQ(mycontrol[0][12].ctrl_status_1, 0x9C);  // only bit 5 of field 7 counts
}

TEST_F(LegacyImportTest, ChainedControlBitsComeFromFourFields)
{
    Import(std::string(HEADER) + Line(0, 1, {{0x03, 0xFF, 0x61, 0x03, 0x1F, 0x00, 0, 0, 0x7F}}, "BN07VV", "3 to 5") +
           Line(1, 1, {{0x03, 0, 0x01, 0x43, 0x00, 0x00, 0, 0, 0x7F}}, "BN07VV", "2 to 3") +
           Line(2, 1, {{0x03, 0, 0x01, 0x03, 0x40, 0x00, 0, 0, 0x7F}}, "BN07VV", "0 to 1") +
           Line(3, 1, {{0x03, 0, 0x01, 0x03, 0x00, 0x42, 0, 0, 0x7F}}, "BN07VV", "xfade") +
           Line(4, 1, {{0x03, 0, 0x61, 0x63, 0x60, 0x5F, 0, 0, 0x7F}}, "BN07VV", "all"));
    EXPECT_EQ(mycontrol[1][8].ctrl_chain, 0x30);
    EXPECT_EQ(mycontrol[1][8].midi_channel_position, 1);
    EXPECT_EQ(mycontrol[1][9].ctrl_chain, 0x08);
    EXPECT_EQ(mycontrol[1][10].ctrl_chain, 0x02);
    EXPECT_EQ(mycontrol[1][11].ctrl_chain, 0x80);
    EXPECT_EQ(mycontrol[1][11].checksum_start_position, 2);
    EXPECT_EQ(mycontrol[1][12].ctrl_chain, 0xBF);
    EXPECT_EQ(mycontrol[1][12].checksum_start_position, 0x1F);
}

TEST_F(LegacyImportTest, MinimumAndMaximumAreWholeBytes)
{
    Import(std::string(HEADER) + Line(5, 2, {{0x03, 0, 0x01, 0x03, 0, 0, 0, 0x10, 0x6f}}, "BN07VV", "range"));
    EXPECT_EQ(mycontrol[2][13].ctrl_value_min, 0x10);
    EXPECT_EQ(mycontrol[2][13].ctrl_value_max, 0x6F);
}

// ---------------------------------------------------------------- the MIDI text

TEST_F(LegacyImportTest, PlaceholdersBecomeZeroDigits)
{
    Import(std::string(HEADER) + Line(0, 0, {{0x06, 0, 0x01, 0x05, 0, 0x02, 0, 0, 0x7F}}, "F0NNCSVVCSF7", "sysex"));
    const All_Params &r = mycontrol[0][8];
    const uint8_t expected[] = {0xF0, 0x00, 0x00, 0x00, 0x00, 0xF7};
    EXPECT_EQ(std::vector<uint8_t>(r.midi_string, r.midi_string + 6), std::vector<uint8_t>(expected, expected + 6));
}

TEST_F(LegacyImportTest, LowerCaseDigitsCountAndOtherCharactersAreZero)
{
    Import(std::string(HEADER) + Line(0, 0, {{0x04, 0, 0x01, 0x03, 0, 0, 0, 0, 0x7F}}, "b1ffzG7x", "digits"));
    const All_Params &r = mycontrol[0][8];
    EXPECT_EQ(r.midi_string[0], 0xB1);
    EXPECT_EQ(r.midi_string[1], 0xFF);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_string[3], 0x70);
}

TEST_F(LegacyImportTest, ShortMidiTextFillsWithZerosAndLaterBytesAreKept)
{
    for (unsigned i = 0; i < 21; ++i)
        mycontrol[0][8].midi_string[i] = static_cast<uint8_t>(0x40 + i);
    Import(std::string(HEADER) + Line(0, 0, {{0x04, 0, 0x01, 0x03, 0, 0, 0, 0, 0x7F}}, "C5A", "short"));
    const All_Params &r = mycontrol[0][8];
    EXPECT_EQ(r.midi_string[0], 0xC5);
    EXPECT_EQ(r.midi_string[1], 0xA0);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_string[3], 0x00);
    for (unsigned i = 4; i < 21; ++i)
        EXPECT_EQ(r.midi_string[i], 0x40 + i) << i;
}

TEST_F(LegacyImportTest, PlaceholderReplacementRunsInItsOrder)
{
    // "N" first: "CN" is not "CS"; then "CS", then "VV" from left to right.
    Import(std::string(HEADER) + Line(0, 0, {{0x05, 0, 0, 0, 0, 0, 0, 0, 0x7F}}, "CNCSSVVVE1", "order"));
    const All_Params &r = mycontrol[0][8];
    // "CNCSSVVVE1" -> "C0CSSVVVE1" -> "C000SVVVE1" -> "C000S00VE1":
    // C0 00 S0 0V E1, where S and V are no digits.
    EXPECT_EQ(r.midi_string[0], 0xC0);
    EXPECT_EQ(r.midi_string[1], 0x00);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_string[3], 0x00);
    EXPECT_EQ(r.midi_string[4], 0xE1);
}

// ---------------------------------------------------------------- texts

TEST_F(LegacyImportTest, FullLengthTextsAreFollowedByTheirDot)
{
    Import(std::string(HEADER) + Line(0, 0, {{0x02, 0, 0x01, 0x02, 0, 0, 0, 0, 0x7F}}, "B0VV", "ABCDEFGHIJKLMNOP") +
           SimpleLine(1, 0, 9));
    EXPECT_EQ(mylcdstring[0][8], Stored("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(mycontrol[0][8].midi_string[0], 0xB0);
    EXPECT_EQ(mylcdstring[0][9], Stored("CC line"));
    EXPECT_EQ(mycontrol[0][9].midi_string[1], 0x09);
}

TEST_F(LegacyImportTest, LcdTextBytesBecomeCharacters)
{
    Import(std::string(HEADER) + Line(0, 0, {{0x03, 0, 0x01, 0x03, 0, 0, 0, 0, 0x7F}}, "BN07VV", "caf\xE9 50%s"));
    Q9Text expected = Text("caf\xE9 50%s");
    expected.push_back(L'\0');
    EXPECT_EQ(mylcdstring[0][8], expected);
    EXPECT_EQ(mylcdstring[0][8][3], static_cast<wchar_t>(0xE9));
}

TEST_F(LegacyImportTest, EmptyLineGivesAnUndefinedControl)
{
    Import(std::string(HEADER) + "[K07][G03].00.00.00.00.00.00.00.00.00...\n");
    const All_Params &r = mycontrol[3][15];
    EXPECT_EQ(r.ctrl_status_1, 0);
    EXPECT_EQ(r.midi_str_lenght, 0);
    EXPECT_EQ(CheckMidiStruct(&r, 15), 2);
    EXPECT_EQ(mylcdstring[3][15], Q9Text(1, L'\0'));
    EXPECT_EQ(checked.size(), 1u);
}

TEST_F(LegacyImportTest, RecordWithOnlyAutoSendIsStillEmpty)
{
    // The emptiness test looks at lengths, positions, range and chain only.
    Import(std::string(HEADER) + "[K07][G03].60.00.00.80.00.00.20.00.00...\n");
    EXPECT_EQ(mycontrol[3][15].ctrl_status_1, 0);
}

// ---------------------------------------------------------------- control numbers and groups

TEST_F(LegacyImportTest, OldControlNumbersMapOntoTheRoster)
{
    Import(std::string(HEADER) + SimpleLine(0, 0, 1) + SimpleLine(39, 0, 2) + SimpleLine(40, 0, 3) +
           SimpleLine(47, 0, 4) + SimpleLine(49, 2, 5));
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 8}, {0, 47}, {0, 58}, {0, 65}, {2, 66}}));
    EXPECT_EQ(mycontrol[0][47].midi_string[1], 2);
    EXPECT_EQ(mycontrol[0][58].midi_string[1], 3);
    EXPECT_EQ(mycontrol[0][65].midi_string[1], 4);
    // Entry 2 x 67 + 66 = 200 of the table.
    EXPECT_EQ((&mycontrol[0][0])[200].midi_string[1], 5);
}

TEST_F(LegacyImportTest, UnlistedNumbersReuseThePrecedingOffset)
{
    unsigned offset = 0;
    EXPECT_EQ(LegacyControlIndex(48, offset), 48u);  // before any line
    EXPECT_EQ(LegacyControlIndex(5, offset), 13u);
    EXPECT_EQ(LegacyControlIndex(48, offset), 56u);
    EXPECT_EQ(LegacyControlIndex(40, offset), 58u);
    EXPECT_EQ(LegacyControlIndex(48, offset), 66u);
    EXPECT_EQ(LegacyControlIndex(49, offset), 66u);
    EXPECT_EQ(LegacyControlIndex(48, offset), 65u);
    EXPECT_EQ(LegacyControlIndex(99, offset), 116u);

    Import(std::string(HEADER) + SimpleLine(48, 0, 1) + SimpleLine(5, 1, 2) + SimpleLine(48, 1, 3));
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 48}, {1, 13}, {1, 56}}));
}

TEST_F(LegacyImportTest, LinesOutsideTheTablesAreSkippedAndReadingGoesOn)
{
    FillRandomConfiguration(21);
    const TablesSnapshot before = TablesSnapshot::Take();
    const LegacyImportResult result =
        Import(std::string(HEADER) + SimpleLine(0, 21, 1) + SimpleLine(0, 99, 1) + SimpleLine(40, 0, 1) +
               SimpleLine(60, 0, 1) + SimpleLine(99, 20, 1) + SimpleLine(3, 20, 7));
    EXPECT_EQ(result.status, 0);
    // 40 -> 58 is written; 60 and 99 then reuse offset 18: 78 and 117, skipped.
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 58}, {20, 11}}));
    const TablesSnapshot after = TablesSnapshot::Take();
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c)
            if (!((g == 0 && c == 58) || (g == 20 && c == 11))) {
                ASSERT_TRUE(SameRecord(after.Record(g, c), before.Record(g, c))) << g << " " << c;
                ASSERT_EQ(after.Lcd(g, c), before.Lcd(g, c));
            }
    EXPECT_EQ(after.transport, before.transport);
}

TEST_F(LegacyImportTest, EntriesNotMentionedKeepTheirContents)
{
    FillRandomConfiguration(22);
    const TablesSnapshot before = TablesSnapshot::Take();
    Import(std::string(HEADER) + SimpleLine(0, 4, 1) + SimpleLine(45, 7, 2));
    const TablesSnapshot after = TablesSnapshot::Take();
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c)
            if (!((g == 4 && c == 8) || (g == 7 && c == 63))) {
                ASSERT_TRUE(SameRecord(after.Record(g, c), before.Record(g, c)));
                ASSERT_EQ(after.Lcd(g, c), before.Lcd(g, c));
            }
    EXPECT_EQ(after.transport, before.transport);
}

// ---------------------------------------------------------------- after the lines

TEST_F(LegacyImportTest, ImportGivesDefaultNamesParametersAndCurves)
{
    FillRandomConfiguration(23);
    const LegacyImportResult result = Import(std::string(HEADER) + SimpleLine(0, 0, 1));
    EXPECT_EQ(result.status, 0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        EXPECT_EQ(mygroupnames[g], DefaultGroupName(g));
    uint8_t defaults[40];
    InitCommonParams(defaults, 1);
    EXPECT_EQ(std::vector<uint8_t>(common_params, common_params + 40), std::vector<uint8_t>(defaults, defaults + 40));
    for (unsigned i = 0; i < 128; ++i) {
        ASSERT_EQ(user_curve_1[i], i);
        ASSERT_EQ(user_curve_2[i], i);
    }
}

TEST_F(LegacyImportTest, AtMost147LinesAreRead)
{
    std::string text = HEADER;
    for (unsigned i = 0; i < 150; ++i)
        text += SimpleLine(i % 48, i / 48, i % 128);
    FillRandomConfiguration(24);
    const TablesSnapshot before = TablesSnapshot::Take();
    const LegacyImportResult result = Import(text);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.entries_imported, 147u);
    ASSERT_EQ(checked.size(), 147u);
    // Line 147 (0-based 146): old control 2 of group 3, index 10.
    EXPECT_EQ(checked.back(), (std::pair<unsigned, unsigned>{3, 10}));
    EXPECT_EQ(mycontrol[3][10].midi_string[1], 146 % 128);
    for (unsigned k = 3; k <= 5; ++k) {
        EXPECT_TRUE(SameRecord(mycontrol[3][k + 8], before.Record(3, k + 8))) << k;
        EXPECT_EQ(mylcdstring[3][k + 8], before.Lcd(3, k + 8));
    }
}

TEST_F(LegacyImportTest, RefusedEntryStopsTheImport)
{
    const LegacyImportResult result = Import(std::string(HEADER) + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) +
                                                 SimpleLine(2, 0, 3) + SimpleLine(3, 0, 4),
                                             13, 3);
    EXPECT_EQ(result.status, 13);
    EXPECT_EQ(result.entries_imported, 3u);
    EXPECT_EQ(checked.size(), 3u);
    EXPECT_EQ(mycontrol[0][10].midi_string[1], 3);  // the refused entry keeps what was imported
    EXPECT_EQ(mycontrol[0][11].ctrl_status_0, 11);  // the next line is not read: default CC 11 stays
    EXPECT_EQ(mycontrol[0][11].midi_string[1], 11);
    EXPECT_EQ(CurrentGroup, 0u);
    EXPECT_EQ(ControlIndex, 10u);
}

TEST_F(LegacyImportTest, WarningCodesDoNotStopTheImport)
{
    const LegacyImportResult result =
        Import(std::string(HEADER) + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) + SimpleLine(2, 0, 3), 4, 1);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(checked.size(), 3u);
}

TEST_F(LegacyImportTest, FileThatCannotBeOpenedChangesNothing)
{
    FillRandomConfiguration(25);
    const TablesSnapshot before = TablesSnapshot::Take();
    const std::string path = folder.File("missing.cvl");
    bool called = false;
    const LegacyImportResult result = ImportCvProLibraryFile(path, [&](uint8_t, uint8_t) -> uint8_t {
        called = true;
        return 0;
    });
    EXPECT_EQ(result.status, 22);
    EXPECT_EQ(result.message, "Unable to read " + path);
    EXPECT_FALSE(called);
    EXPECT_TRUE(TablesSnapshot::Take() == before);
}

// ---------------------------------------------------------------- header and layout of the text

TEST_F(LegacyImportTest, HeaderTextsMayBeEmptyAndSpacingMayVary)
{
    Import("[MANUF]..  \r\n\t[MODEL].x.[COMMENTS]..\r\n\r\n" + SimpleLine(0, 0, 1) + "\r\n   " + SimpleLine(1, 0, 2));
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 8}, {0, 9}}));
}

TEST_F(LegacyImportTest, MissingHeaderWordsSkipToTheNextDot)
{
    // Without the words, each skip takes one dot-ended piece.
    Import("maker.model.comment." + SimpleLine(0, 0, 1));
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 8}}));
}

TEST_F(LegacyImportTest, HeaderRunningToTheEndImportsNothingButTheDefaults)
{
    FillRandomConfiguration(26);
    const TablesSnapshot before = TablesSnapshot::Take();
    const LegacyImportResult result = Import("[MANUF].no dot at all");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(checked.empty());
    const TablesSnapshot after = TablesSnapshot::Take();
    EXPECT_EQ(after.control, before.control);
    EXPECT_EQ(after.lcd, before.lcd);
    EXPECT_EQ(mygroupnames[20], DefaultGroupName(20));
}

TEST_F(LegacyImportTest, EmptyFileImportsNothingButTheDefaults)
{
    const LegacyImportResult result = Import("");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.entries_imported, 0u);
    EXPECT_TRUE(checked.empty());
    EXPECT_EQ(user_curve_1[100], 100);
}

TEST_F(LegacyImportTest, NumbersMayBePrecededBySpaceAndHaveOneDigit)
{
    Import(std::string(HEADER) + "[K 1][G2].3.0.1. 3.0.0.0.0.7f.BN07VV.one digit.\n");
    EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{2, 9}}));
    EXPECT_EQ(mycontrol[2][9].midi_str_lenght, 3);
    EXPECT_EQ(mycontrol[2][9].ctrl_value_max, 0x7F);
}

// ---------------------------------------------------------------- malformed lines

TEST_F(LegacyImportTest, MalformedLinesEndTheReadingAndChangeNothing)
{
    const std::string good = SimpleLine(0, 0, 1);
    const std::string next = SimpleLine(1, 0, 2);
    const std::string partial[] = {
        "[K00][G00].03.00.01",                                                // file ends inside the fields
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.no end dot",            // file ends inside the LCD text
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07",                         // MIDI text runs into the next line
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VVX.lcd.\n",               // MIDI text longer than 2 x length
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.ABCDEFGHIJKLMNOPQ.\n",  // LCD text of 17
        "[K00][G00].123.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",               // three-digit field
        "[K00][G00].03.00.01.03.00.00.00.00.\n",                              // a field missing
        "[K0A][G00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // K is decimal
        "[G00][K00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // items swapped
        "K00G00.03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                    // brackets missing
    };
    for (const std::string &line : partial) {
        SCOPED_TRACE(line);
        ResetConfiguration(1);
        FillRandomConfiguration(27);
        const TablesSnapshot before = TablesSnapshot::Take();
        const LegacyImportResult result = Import(std::string(HEADER) + good + line + next);
        EXPECT_EQ(result.status, 0);
        // The good line is imported, the malformed one and everything after it is not.
        EXPECT_EQ(checked, (std::vector<std::pair<unsigned, unsigned>>{{0, 8}}));
        const TablesSnapshot after = TablesSnapshot::Take();
        EXPECT_TRUE(SameRecord(after.Record(0, 9), before.Record(0, 9)));
        EXPECT_EQ(after.Lcd(0, 9), before.Lcd(0, 9));
        EXPECT_EQ(mylcdstring[0][8], Stored("CC line"));
    }
}

TEST_F(LegacyImportTest, InMemoryTextGivesTheSameResult)
{
    const std::string text = std::string(HEADER) + SimpleLine(0, 0, 1) + SimpleLine(49, 5, 2);
    Import(text);
    const TablesSnapshot from_file = TablesSnapshot::Take();
    ResetConfiguration(1);
    CurrentGroup = 0;
    ControlIndex = 0;
    const LegacyImportResult result =
        ImportCvProText(reinterpret_cast<const uint8_t *>(text.data()), text.size(), LegacyEntryCheck());
    EXPECT_EQ(result.entries_imported, 2u);
    EXPECT_TRUE(TablesSnapshot::Take() == from_file);
}

}  // namespace
