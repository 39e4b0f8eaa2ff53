// Comparing the editor's configuration with the controller's, and taking the
// controller's value of one difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config_compare.h"
#include "test_support.h"

namespace {

using Key = std::tuple<int, int, int, int>;  // kind, group, index, field

Key KeyOf(const ConfigDifference &d)
{
    return Key(d.part.kind, d.part.group, d.part.index, d.field);
}

std::vector<Key> KeysOf(const std::vector<ConfigDifference> &differences)
{
    std::vector<Key> keys(differences.size());
    std::transform(differences.begin(), differences.end(), keys.begin(), KeyOf);
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
    std::vector<Key> expected;
    int from = 3, to = 3;
    bool records = true, lcd = true;
    float fw = 1.6f;
};

auto &rec = mycontrol[3][10];
auto &str = mycontrol[3][11];
Q9Text &lcd = mylcdstring[3][20];

const Case kCases[] = {
    {"a field", [] { rec.ctrl_value_max = 127; }, [] { rec.ctrl_value_max = 100; }, {{kRecord, 3, 10, kMax}}},
    {"two fields of one record", [] { rec.ctrl_value_min = rec.ctrl_value_max = 0; },
     [] { rec.ctrl_value_min = rec.ctrl_value_max = 1; }, {{kRecord, 3, 10, kMin}, {kRecord, 3, 10, kMax}}},
    {"a used string byte", [] { str.midi_str_lenght = 3; }, [] { str.midi_string[2] ^= 1; },
     {{kRecord, 3, 11, kString}}},
    {"a string byte past the length", [] { str.midi_str_lenght = 3; }, [] { str.midi_string[5] ^= 1; }, {}},
    {"the string length", [] { str.midi_str_lenght = 3; }, [] { str.midi_str_lenght = 4; },
     {{kRecord, 3, 11, kString}}},
    {"an LCD text", nullptr, [] { lcd = L"Resonance"; }, {{kLcd, 3, 20, 0}}},
    {"an LCD text as the controller pads it", [] { lcd = Q9Text(L"Cutoff", 7); }, [] { lcd = L"Cutoff          "; },
     {}},
    {"characters past the 16th", [] { lcd = L"0123456789abcdefXYZ"; }, [] { lcd = L"0123456789abcdef"; }, {}},
    {"a group name", nullptr, [] { mygroupnames[3] = L"Strings"; }, {{kName, 3, 0, 0}}},
    {"outside the range", nullptr,
     [] {
         mygroupnames[4] = L"Strings";
         mycontrol[2][10].ctrl_value_max ^= 1;
         mytransport[2].ctrl_value_min ^= 1;
     },
     {}},
    {"a transport button from group 0", nullptr, [] { mytransport[2].ctrl_value_min ^= 1; },
     {{kRecord, 0, 2, kMin}}, 0, 0},
    {"assignments left out", nullptr, [] { rec.ctrl_value_max ^= 1; }, {}, 3, 3, false},
    {"LCD texts left out", nullptr, [] { lcd = L"Resonance"; }, {}, 3, 3, true, false},
    {"exchanged common bytes", nullptr, [] { common_params[32] ^= 1, common_params[33] ^= 1; },
     {{kCommon, 0, 0, 32}, {kCommon, 0, 0, 33}}},
    {"bytes not exchanged with this firmware", nullptr, [] { common_params[2] ^= 1, common_params[33] ^= 1; }, {},
     3, 3, true, true, 1.5f},
    {"a curve point", nullptr, [] { user_curve_2[64] ^= 1; }, {{kCurves, 0, 0, USER_CURVE_POINTS + 64}}},
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
        TakeOtherValue(row, controller);
        const ConfigImage taken = ConfigImage::OfTables();
        EXPECT_EQ(std::vector<Key>{KeyOf(row)}, KeysOf(CompareImages(editor, taken, everything, 1.6f)));
        const std::vector<Key> left = KeysOf(CompareImages(taken, controller, {row.part}, 1.6f));
        EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), KeyOf(row)));
    }
    std::set<int> kinds;
    for (const auto &taken : seen)
        kinds.insert(taken.first);
    EXPECT_EQ((std::set<int>{kRecord, kLcd, kName, kCommon, kCurves}), kinds);
}
