// Finding controls by what they send or by their LCD text, and the clashes.
#include <gtest/gtest.h>

#include "config_tables.h"
#include "control_search.h"
#include "cross_functions.h"
#include "record_access.h"

namespace {

using Place = std::pair<unsigned, unsigned>;  // group, control

void Assign(unsigned group, unsigned control, std::vector<uint8_t> string, uint8_t channel_position,
            uint8_t standard = 0)
{
    All_Params &r = AddressedRecord(group, control);
    InitMidiStruct(&r, static_cast<uint8_t>(group), static_cast<uint8_t>(control), 1);
    r.ctrl_status_0 = standard;
    r.midi_str_lenght = static_cast<uint8_t>(string.size());
    std::copy(string.begin(), string.end(), r.midi_string);
    r.midi_channel_position = channel_position;
    r.ctrl_value_position_0 = static_cast<uint8_t>(string.size());
}

class ControlSearch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Nothing defined but the controls below.
        for (auto &t : mytransport)
            InitMidiStruct(&t, 0, 0, 0);
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
                InitMidiStruct(&mycontrol[g][c], 0, 0, 0);
                mylcdstring[g][c].clear();
            }
        Assign(0, 2, {0xB0, 0x40, 0x00}, 1, 0x40);       // CC 64, controller's channel; standard CC 64
        Assign(3, 17, {0xB2, 0x4A, 0x00}, 0, 0x11);      // CC 74 on channel 3
        Assign(3, 18, {0xB2, 0x4A, 0x00}, 0, 0x12);      // the same: a clash
        Assign(3, 19, {0xB0, 0x4A, 0x00}, 1, 0x13);      // CC 74 on the controller's channel
        Assign(7, 58, {0x92, 0x3C, 0x7F}, 0, 0x80 | 5);  // note 60 on channel 3; standard note 5
        Assign(7, 59, {0xF0, 0x43, 0x10, 0x00, 0xF7}, 0, 5);
        Assign(7, 60, {0xC0, 0x00}, 1, 0x80 | 5);  // program change; standard note 5 clashes with 58
        mylcdstring[3][17] = L"Cutoff";
        mylcdstring[7][58] = L"Kick CUT";
    }
};

TEST_F(ControlSearch, QueriesFindEveryControlThatMatchesAllTheirCriteria)
{
    struct Case {
        const char *name;
        int kind, number, channel;
        std::vector<Place> found;
        std::vector<uint8_t> bytes = {};
        std::wstring lcd = L"";
    };
    const int own = SentMessage::CONTROLLER_CHANNEL;
    const std::vector<Case> cases = {
        {"CC 74 anywhere", 0xB0, 74, -1, {{3, 17}, {3, 18}, {3, 19}}},
        {"CC 74 on channel 3", 0xB0, 74, 3, {{3, 17}, {3, 18}}},
        {"controller's channel", -1, -1, own, {{0, 2}, {3, 17}, {3, 18}, {3, 19}, {7, 58}, {7, 59}, {7, 60}}},
        {"standard-mode note 5", 0x90, 5, own, {{7, 58}, {7, 60}}},
        {"note 60", 0x90, 60, -1, {{7, 58}}},
        {"program change", 0xC0, -1, -1, {{7, 60}}},
        {"SysEx bytes", -1, -1, -1, {{7, 59}}, {0x43, 0x10}},
        {"bytes and kind", 0xB0, -1, -1, {{3, 17}, {3, 18}, {3, 19}}, {0x4A}},
        {"LCD text, any case", -1, -1, -1, {{3, 17}, {7, 58}}, {}, L"cut"},
        {"LCD text and kind", 0xB0, -1, -1, {{3, 17}}, {}, L"cut"},
        {"nothing sends this", 0xE0, -1, -1, {}},
    };
    for (const Case &c : cases) {
        std::vector<Place> found;
        for (const FoundControl &f : SearchControls({c.kind, c.number, c.channel, c.bytes, c.lcd}))
            found.emplace_back(f.group, f.control);
        EXPECT_EQ(c.found, found) << c.name;
    }
}

TEST_F(ControlSearch, ConflictsAreControlsOfAGroupSendingTheSameMessageOnTheSameChannel)
{
    std::vector<std::pair<unsigned, std::vector<unsigned>>> found;
    for (const Conflict &c : SearchConflicts())
        found.emplace_back(c.group, c.controls);
    // Group 3: the two CC 74 on channel 3 (not the one on the controller's
    // channel); group 7: the standard-mode note 5 twice. The transport
    // button's CC 64 clashes with nothing.
    const std::vector<std::pair<unsigned, std::vector<unsigned>>> expected = {{3, {17, 18}}, {7, {58, 60}}};
    EXPECT_EQ(expected, found);
    EXPECT_EQ("Control change 74, channel 3", SearchConflicts()[0].sends);
}

TEST(HexBytes, AreReadInPairsWithOrWithoutSpaces)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ParseHexBytes("B0 4a,7F", bytes));
    EXPECT_EQ((std::vector<uint8_t>{0xB0, 0x4A, 0x7F}), bytes);
    EXPECT_TRUE(ParseHexBytes("", bytes));
    EXPECT_TRUE(bytes.empty());
    for (const char *bad : {"B", "B0 4", "G0", "B0-4A"})
        EXPECT_FALSE(ParseHexBytes(bad, bytes)) << bad;
}

}  // namespace
