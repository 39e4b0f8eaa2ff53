// Import of the predecessor's libraries through real files: the header, each
// field of a control line and its conversion, the control numbers, the
// defaults given afterwards, the line limit, the check that stops the import
// and the lines that must not write anywhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "legacy_import.h"
#include "record_access.h"
#include "test_support.h"

namespace {

const std::string HEADER = "[MANUF].m.\n[MODEL].x.\n[COMMENTS].Test library.\n";
using Checked = std::vector<std::pair<unsigned, unsigned>>;

// A plain three-byte control change line for old control k in group g.
std::string SimpleLine(unsigned k, unsigned g, unsigned cc)
{
    char line[80];
    std::snprintf(line, sizeof line, "[K%02u][G%02u].03.00.01.03.00.00.00.00.7F.BN%02XVV.CC line.\n", k, g, cc);
    return line;
}

class LegacyImport : public ::testing::Test
{
protected:
    void SetUp() override { ResetConfiguration(1); }

    // Imports `text` from a file, recording every check; the check number `fail_at` gives `fail_code`.
    LegacyImportResult Import(const std::string &text, uint8_t fail_code = 0, unsigned fail_at = 0)
    {
        EXPECT_TRUE(WriteFileText(folder.File("lib.cvl"), text));
        checked.clear();
        return ImportCvProLibraryFile(folder.File("lib.cvl"), [&](uint8_t group, uint8_t control) -> uint8_t {
            checked.emplace_back(group, control);
            EXPECT_EQ(CurrentGroup * 100 + ControlIndex, group * 100u + control) << "the entry checked is shown";
            return checked.size() == fail_at ? fail_code : 0;
        });
    }

    TempFolder folder;
    Checked checked;
};

}  // namespace

TEST_F(LegacyImport, EachFieldOfALineIsConverted)
{
    const std::string ones(38, '1');
    std::string elevens;
    for (int i = 0; i < 19; ++i)
        elevens += " 11";
    // The nine fields, the MIDI text, the LCD text; the record's eleven fields
    // and string bytes expected (the other bytes keep 5A).
    const struct {
        std::string fields, midi, lcd, record;
    } cases[] = {
        {"03.00.01.03.00.00.00.00.7F", "BN07VV", "Volume", "00 9C 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"7F.00.00.00.00.00.00.00.7F", "F0" + ones + "F7", "Long",  // at most 21 bytes; the upper bits: the delay
         "00 9F 00 15 00 00 00 00 7F 00 00 F0" + elevens + " F7"},
        {"23.00.01.83.00.00.20.00.7F", "BN07VV", "a", "00 FD 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"43.00.01.03.00.00.DF.00.7F", "BN07VV", "b", "00 9E 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"03.FF.61.03.1F.00.00.00.7F", "BN07VV", "3 to 5", "00 9C 00 03 01 03 00 00 7F 00 30 B0 07 00"},
        {"03.00.01.43.40.42.00.00.7F", "BN07VV", "chain", "00 9C 00 03 01 03 00 00 7F 02 8A B0 07 00"},
        {"03.00.61.63.60.5F.00.10.6f", "BN07VV", "all", "00 9C 00 03 01 03 00 10 6F 1F BF B0 07 00"},
        {"06.00.01.05.00.02.00.00.7F", "F0NNCSVVCSF7", "placeholders",
         "00 9C 00 06 01 05 00 00 7F 02 00 F0 00 00 00 00 F7"},
        {"04.00.01.03.00.00.00.00.7F", "b1ffzG7x", "digits", "00 9C 00 04 01 03 00 00 7F 00 00 B1 FF 00 70"},
        {"04.00.01.03.00.00.00.00.7F", "C5A", "short", "00 9C 00 04 01 03 00 00 7F 00 00 C5 A0 00 00"},
        {"05.00.00.00.00.00.00.00.7F", "CNCSSVVVE1", "in order", "00 9C 00 05 00 00 00 00 7F 00 00 C0 00 00 00 E1"},
        {"02.00.01.02.00.00.00.00.7F", "B0VV", "ABCDEFGHIJKLMNOP", "00 9C 00 02 01 02 00 00 7F 00 00 B0 00"},
        {"03.00.01.03.00.00.00.00.7F", "BN07VV", "caf\xE9 50%s", "00 9C 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"00.00.00.00.00.00.00.00.00", "", "", "00 00 00 00 00 00 00 00 00 00 00"},  // undefined
        {"60.00.00.80.00.00.20.00.00", "", "", "00 00 00 00 00 00 00 00 00 00 00"},  // still undefined
    };
    for (const auto &c : cases) {
        mycontrol[3][15] = FilledRecord(0x5A);
        const LegacyImportResult result =
            Import(HEADER + "[K07][G03]." + c.fields + "." + c.midi + "." + c.lcd + ".\n");
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.entries_imported, 1u);
        EXPECT_EQ(checked, Checked({{3, 15}})) << c.lcd;
        std::vector<uint8_t> expected = HexBytes(c.record);
        expected.resize(sizeof(All_Params), 0x5A);
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&mycontrol[3][15]);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + sizeof(All_Params)), expected) << c.lcd;
        EXPECT_EQ(mylcdstring[3][15], Text(c.lcd.c_str()) + L'\0');
    }
}

TEST_F(LegacyImport, ControlNumbersAndGroups)
{
    unsigned offset = 0;  // 0..39 +8, 40..47 +18, 49 to 66; any other number reuses the last offset
    for (const auto &n :
         {std::pair<unsigned, unsigned>{48, 48}, {5, 13}, {48, 56}, {40, 58}, {48, 66}, {49, 66}, {48, 65}, {99, 116}})
        EXPECT_EQ(LegacyControlIndex(n.first, offset), n.second) << n.first;

    FillRandomConfiguration(21);
    TablesSnapshot expected;
    const LegacyImportResult result =
        Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(39, 0, 2) + SimpleLine(47, 0, 4) + SimpleLine(49, 2, 5) +
               SimpleLine(0, 21, 1) + SimpleLine(0, 99, 1) + SimpleLine(40, 0, 3) + SimpleLine(60, 0, 1) +
               SimpleLine(99, 20, 1) + SimpleLine(3, 20, 7));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.entries_imported, 6u);
    // Groups above 20 and, after 40 -> 58, 60 and 99 at 78 and 117 are skipped.
    EXPECT_EQ(checked, Checked({{0, 8}, {0, 47}, {0, 65}, {2, 66}, {0, 58}, {20, 11}}));
    for (const auto &entry : checked) {
        const size_t e = entry.first * CONTROLS_PER_GROUP + entry.second;
        std::copy_n(reinterpret_cast<uint8_t *>(&mycontrol[entry.first][entry.second]), sizeof(All_Params),
                    &expected.controls[e * sizeof(All_Params)]);
        expected.lcd[e] = Text("CC line") + L'\0';
    }
    const TablesSnapshot after;
    EXPECT_EQ(after.controls, expected.controls) << after.DiffFrom(expected);
    EXPECT_EQ(after.lcd, expected.lcd);
    EXPECT_EQ(after.transport, expected.transport);
    EXPECT_EQ(mycontrol[0][58].midi_string[1], 3);
    EXPECT_EQ(mycontrol[20][11].midi_string[1], 7);
}

TEST_F(LegacyImport, DefaultsLineLimitAndTheCheckThatStops)
{
    FillRandomConfiguration(23);
    const TablesSnapshot before;
    std::string text = HEADER;
    for (unsigned i = 0; i < 150; ++i)
        text += SimpleLine(i % 48, i / 48, i % 128);
    EXPECT_EQ(Import(text).entries_imported, 147u);
    EXPECT_EQ(checked.size(), 147u);
    EXPECT_EQ(checked.back(), std::make_pair(3u, 10u)) << "line 147: old control 2 of group 3";
    EXPECT_TRUE(SameRecord(mycontrol[3][11], before.Record(3, 11))) << "line 148 is not read";
    for (unsigned g = 0; g < GROUP_NB; ++g)
        EXPECT_EQ(mygroupnames[g], DefaultGroupName(g));
    uint8_t defaults[COMMON_PARAMS_LENGHT];
    InitCommonParams(defaults, 1);
    EXPECT_EQ(std::vector<uint8_t>(common_params, common_params + 40), std::vector<uint8_t>(defaults, defaults + 40));
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i)
        ASSERT_EQ(user_curve_1[i] + user_curve_2[i], 2 * i);

    ResetConfiguration(1);
    LegacyImportResult result =
        Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) + SimpleLine(2, 0, 3) + SimpleLine(3, 0, 4), 13, 3);
    EXPECT_EQ(result.status, 13);
    EXPECT_EQ(result.entries_imported, 3u);
    EXPECT_EQ(checked.size(), 3u);
    EXPECT_EQ(mycontrol[0][10].midi_string[1], 3) << "the refused entry keeps what was imported";
    EXPECT_EQ(mycontrol[0][11].midi_string[1], 11) << "the next line is not read";
    EXPECT_EQ(CurrentGroup * 100 + ControlIndex, 10u);
    result = Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) + SimpleLine(2, 0, 3), 4, 1);
    EXPECT_EQ(result.status, 0) << "a warning does not stop";
    EXPECT_EQ(checked.size(), 3u);

    FillRandomConfiguration(25);
    const TablesSnapshot unchanged;
    const std::string path = folder.File("missing.cvl");
    result = ImportCvProLibraryFile(path, [](uint8_t, uint8_t) -> uint8_t {
        ADD_FAILURE() << "nothing to check";
        return 0;
    });
    EXPECT_EQ(result.status, 22);
    EXPECT_EQ(result.message, "Unable to read " + path);
    EXPECT_TABLES_EQ(unchanged, TablesSnapshot());
}

TEST_F(LegacyImport, HeaderAndSpacing)
{
    const std::pair<std::string, Checked> cases[] = {
        {"[MANUF]..  \r\n\t[MODEL].x.[COMMENTS]..\r\n\r\n" + SimpleLine(0, 0, 1) + "\r\n   " + SimpleLine(1, 0, 2),
         {{0, 8}, {0, 9}}},
        {"maker.model.comment." + SimpleLine(0, 0, 1), {{0, 8}}},  // without the words: one dotted piece each
        {HEADER + "[K 1][G2].3.0.1. 3.0.0.0.0.7f.BN07VV.one digit.\n", {{2, 9}}},
        {"[MANUF].no dot at all" + SimpleLine(0, 0, 1), {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        FillRandomConfiguration(26);
        const TablesSnapshot before;
        EXPECT_EQ(Import(c.first).status, 0);
        EXPECT_EQ(checked, c.second) << c.first;
        EXPECT_EQ(TablesSnapshot().controls == before.controls, c.second.empty());
        EXPECT_EQ(mygroupnames[20], DefaultGroupName(20)) << "the defaults, whatever was read";
        for (const auto &entry : c.second)
            EXPECT_EQ(mycontrol[entry.first][entry.second].ctrl_value_max, 0x7F);
    }
}

TEST_F(LegacyImport, MalformedLinesEndTheReadingAndChangeNothing)
{
    const std::string partial[] = {
        "[K00][G00].03.00.01",                                                // the file ends inside the fields
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.no end dot",            // ... inside the LCD text
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07",                         // the MIDI text runs on
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VVX.lcd.\n",               // longer than 2 x its length
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.ABCDEFGHIJKLMNOPQ.\n",  // an LCD text of 17
        "[K00][G00].123.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",               // three digits
        "[K00][G00].03.00.01.03.00.00.00.00.\n",                              // a field missing
        "[K0A][G00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // K is decimal
        "[G00][K00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // the items swapped
        "K00G00.03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                    // no brackets
    };
    for (const std::string &line : partial) {
        FillRandomConfiguration(27);
        const TablesSnapshot before;
        EXPECT_EQ(Import(HEADER + SimpleLine(1, 0, 2) + line + SimpleLine(2, 0, 3)).status, 0);
        EXPECT_EQ(checked, Checked({{0, 9}})) << line;
        const TablesSnapshot after;
        EXPECT_TRUE(SameRecord(after.Record(0, 8), before.Record(0, 8))) << line;
        EXPECT_EQ(after.lcd[8], before.lcd[8]);
        EXPECT_TRUE(SameRecord(after.Record(0, 10), before.Record(0, 10))) << line;
    }
    // The same text in memory gives the same result as from a file.
    const std::string text = HEADER + SimpleLine(0, 0, 1) + SimpleLine(49, 5, 2);
    ResetConfiguration(1);
    Import(text);
    const TablesSnapshot from_file;
    ResetConfiguration(1);
    EXPECT_EQ(ImportCvProText(reinterpret_cast<const uint8_t *>(text.data()), text.size(), nullptr).entries_imported,
              2u);
    EXPECT_TABLES_EQ(from_file, TablesSnapshot());
}
