// Comparing the editor's configuration with the controller's, and taking the
// controller's value of one difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <string>
#include <tuple>
#include <vector>

#include "config_compare.h"
#include "control_roster.h"
#include "test_support.h"

namespace {

using Key = std::tuple<int, int, int, int>;  // kind, group, index, field

Key KeyOf(const ConfigDifference &d)
{
    return Key(d.part.kind, d.part.group, d.part.index, d.field);
}

std::vector<Key> KeysOf(const std::vector<ConfigDifference> &differences)
{
    std::vector<Key> keys;
    for (const ConfigDifference &d : differences)
        keys.push_back(KeyOf(d));
    return keys;
}

constexpr int kRecord = ComparedPart::Record, kLcd = ComparedPart::LcdText, kName = ComparedPart::GroupName,
              kCommon = ComparedPart::CommonParams, kCurves = ComparedPart::Curves;
// Field numbers of a record row: Max value is the eighth listed field, the
// MIDI string the last.
constexpr int kMin = 6, kMax = 7, kString = 10;

struct Case {
    const char *name;
    std::function<void()> both;        // made in the editor's tables and the controller's
    std::function<void()> controller;  // made in the controller's only
    int from, to;
    bool records, lcd;
    float fw;
    std::vector<Key> expected;
    const char *controller_value;  // of the single row, when checked
};

const Case kCases[] = {
    {"a field", [] { mycontrol[3][10].ctrl_value_max = 127; }, [] { mycontrol[3][10].ctrl_value_max = 100; }, 3, 3,
     true, true, 1.6f,
     {{kRecord, 3, 10, kMax}}, "100"},
    {"two fields of one record",
     [] {
         mycontrol[3][10].ctrl_value_min = 0;
         mycontrol[3][10].ctrl_value_max = 127;
     },
     [] {
         mycontrol[3][10].ctrl_value_min = 1;
         mycontrol[3][10].ctrl_value_max = 100;
     },
     3, 3, true, true, 1.6f, {{kRecord, 3, 10, kMin}, {kRecord, 3, 10, kMax}}, nullptr},
    {"a used string byte", [] { mycontrol[3][11].midi_str_lenght = 3; }, [] { mycontrol[3][11].midi_string[2] ^= 1; },
     3, 3, true, true, 1.6f, {{kRecord, 3, 11, kString}}, nullptr},
    {"a string byte past the length", [] { mycontrol[3][11].midi_str_lenght = 3; },
     [] { mycontrol[3][11].midi_string[5] ^= 1; }, 3, 3, true, true, 1.6f, {}, nullptr},
    {"the string length", [] { mycontrol[3][11].midi_str_lenght = 3; }, [] { mycontrol[3][11].midi_str_lenght = 4; },
     3, 3, true, true, 1.6f, {{kRecord, 3, 11, kString}}, nullptr},
    {"an LCD text", nullptr, [] { mylcdstring[3][20] = L"Resonance"; }, 3, 3, true, true, 1.6f,
     {{kLcd, 3, 20, 0}}, "\"Resonance\""},
    {"an LCD text as the controller pads it", [] { mylcdstring[3][20] = Q9Text(L"Cutoff", 7); },
     [] { mylcdstring[3][20] = L"Cutoff          "; }, 3, 3, true, true, 1.6f, {}, nullptr},
    {"characters past the 16th", [] { mylcdstring[3][20] = L"0123456789abcdefXYZ"; },
     [] { mylcdstring[3][20] = L"0123456789abcdef"; }, 3, 3, true, true, 1.6f, {}, nullptr},
    {"a group name", nullptr, [] { mygroupnames[3] = L"Strings"; }, 3, 3, true, true, 1.6f, {{kName, 3, 0, 0}},
     nullptr},
    {"outside the range", nullptr,
     [] {
         mygroupnames[4] = L"Strings";
         mycontrol[2][10].ctrl_value_max ^= 1;
         mytransport[2].ctrl_value_min ^= 1;
     },
     3, 3, true, true, 1.6f, {}, nullptr},
    {"a transport button from group 0", nullptr, [] { mytransport[2].ctrl_value_min ^= 1; }, 0, 0, true, true, 1.6f,
     {{kRecord, 0, 2, kMin}}, nullptr},
    {"assignments left out", nullptr, [] { mycontrol[3][10].ctrl_value_max ^= 1; }, 3, 3, false, true, 1.6f, {},
     nullptr},
    {"LCD texts left out", nullptr, [] { mylcdstring[3][20] = L"Resonance"; }, 3, 3, true, false, 1.6f, {}, nullptr},
    {"exchanged common bytes", nullptr,
     [] {
         common_params[32] ^= 1;
         common_params[33] ^= 1;
     },
     3, 3, true, true, 1.6f, {{kCommon, 0, 0, 32}, {kCommon, 0, 0, 33}}, nullptr},
    {"bytes not exchanged with this firmware", nullptr,
     [] {
         common_params[2] ^= 1;
         common_params[33] ^= 1;
     },
     3, 3, true, true, 1.5f, {}, nullptr},
    {"a curve point", [] { user_curve_2[64] = 64; }, [] { user_curve_2[64] = 5; }, 3, 3, true, true, 1.6f,
     {{kCurves, 0, 0, USER_CURVE_POINTS + 64}}, "5"},
};

}  // namespace

TEST(ConfigCompare, ListsExactlyTheChangedFields)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        FillRandomConfiguration(7);
        if (c.both)
            c.both();
        const ConfigImage editor = ConfigImage::OfTables();
        const TablesSnapshot editor_tables;
        c.controller();
        const ConfigImage controller = ConfigImage::OfTables();
        editor.ToTables();
        EXPECT_TABLES_EQ(editor_tables, TablesSnapshot());

        const std::vector<ConfigDifference> rows =
            CompareImages(editor, controller, RangeParts(c.from, c.to, c.records, c.lcd), c.fw);
        EXPECT_EQ(c.expected, KeysOf(rows));
        if (c.controller_value && rows.size() == 1) {
            EXPECT_EQ(c.controller_value, rows[0].controller_value);
        }
    }
}

TEST(ConfigCompare, TakingARowChangesTheTablesInItsFieldOnly)
{
    // Two configurations that differ nearly everywhere, so that taking more
    // than the row's field shows.
    FillRandomConfiguration(1);
    const ConfigImage editor = ConfigImage::OfTables();
    FillRandomConfiguration(2);
    const ConfigImage controller = ConfigImage::OfTables();
    const std::vector<ComparedPart> everything = RangeParts(0, GROUP_NB - 1, true, true);
    const std::vector<ConfigDifference> rows = CompareImages(editor, controller, everything, 1.6f);

    // The first row of every record field and common byte, and of every other kind.
    std::set<std::pair<int, int>> seen;
    for (const ConfigDifference &row : rows) {
        const bool by_field = row.part.kind == ComparedPart::Record || row.part.kind == ComparedPart::CommonParams;
        if (!seen.emplace(row.part.kind, by_field ? row.field : -1).second)
            continue;
        SCOPED_TRACE(row.field_name);
        editor.ToTables();
        TakeControllersValue(row, controller);
        const ConfigImage taken = ConfigImage::OfTables();
        EXPECT_EQ(std::vector<Key>{KeyOf(row)}, KeysOf(CompareImages(editor, taken, everything, 1.6f)));
        const std::vector<Key> left = KeysOf(CompareImages(taken, controller, {row.part}, 1.6f));
        EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), KeyOf(row)));
    }
    std::set<int> kinds;
    for (const auto &s : seen)
        kinds.insert(s.first);
    EXPECT_EQ(5u, kinds.size());
}

TEST(ConfigCompare, RowsNameTheControlAndTheRangeCountsItsControls)
{
    FillRandomConfiguration(8);
    const ConfigImage editor = ConfigImage::OfTables();
    mycontrol[20][66].ctrl_value_max ^= 1;
    const auto rows = CompareImages(editor, ConfigImage::OfTables(), RangeParts(20, 20, true, true), 1.6f);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("20", rows[0].group);
    EXPECT_EQ(ControlName(66), rows[0].control);
    EXPECT_EQ(std::to_string(editor.Record(20, 66).ctrl_value_max), rows[0].editor_value);

    const struct {
        int from, to;
        bool records, lcd;
        size_t controls;
    } ranges[] = {{0, 1, true, true, 5 + 2 * 62}, {0, 0, false, true, 62}, {3, 5, true, false, 3 * 62},
                  {4, 2, true, true, 0}};
    for (const auto &r : ranges)
        EXPECT_EQ(r.controls, ControlsIn(RangeParts(r.from, r.to, r.records, r.lcd))) << r.from << ".." << r.to;
}
