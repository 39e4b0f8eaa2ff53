// The firmware-shared records: the initial values, the control kinds, and the
// checks of a record (every code, its bounds and the order of the rules) and
// of an LCD text.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cross_functions.h"
#include "test_support.h"

namespace {

using Buffer = std::vector<uint8_t>;

// A correct record (code 0): CC 7 on a channel, value in byte 3, MIDI Out 1 and 2.
All_Params Good()
{
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, 0, 7, 1);
    return r;
}

}  // namespace

TEST(RecordDefaults, ControlKinds)
{
    for (unsigned i = 0; i < 256; i++) {
        const unsigned expected = i > 67 ? 254 : ((i >= 5 && i <= 49) || i == 66) ? 1 : 0;
        EXPECT_EQ(GetControlType(static_cast<uint8_t>(i)), expected) << i;
    }
}

TEST(RecordDefaults, EachControlSendsItsOwnControlChangeAndNamesIt)
{
    for (uint8_t g = 0; g < GROUP_NB; g++)
        for (uint8_t c = 0; c <= LAST_CONTROL_INDEX; c++) {
            All_Params r = FilledRecord(0xEE);
            InitMidiStruct(&r, g, c, 1);
            const uint8_t n = (8 * g + c) % 128;
            EXPECT_EQ(r.ctrl_status_0, n);
            EXPECT_EQ(Buffer(r.midi_string, r.midi_string + 4), Buffer({0xB0, n, 0x00, 0xEE})) << "3 bytes written";
            EXPECT_EQ(CheckMidiStruct(&r, c), 0) << int(g) << "/" << int(c);
            All_Params other = FilledRecord(0xEE);
            InitMidiStruct(&other, g, c, 0x80);  // any init type but 0
            EXPECT_TRUE(SameRecord(r, other));

            uint8_t lcd[20];
            std::memset(lcd, 0xAA, sizeof lcd);
            InitLcdString(lcd, g, c, 1);
            char expected[16];
            std::snprintf(expected, sizeof expected, "    CC # %03u", n);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(lcd), 14), std::string(expected) + '\0' + '\xAA');
            EXPECT_EQ(CheckLcdString(lcd), 1);
        }
}

TEST(RecordDefaults, InitTypeZeroAndTheBlocks)
{
    All_Params r = FilledRecord(0x55);
    InitMidiStruct(&r, 3, 9, 0);  // the fields and the first string byte only
    All_Params expected = FilledRecord(0);
    std::memset(expected.midi_string + 1, 0x55, 20);
    EXPECT_TRUE(SameRecord(r, expected));
    EXPECT_EQ(CheckMidiStruct(&r, 9), 2);
    uint8_t lcd[3] = {'x', 'x', 'x'};
    InitLcdString(lcd, 7, 20, 0);
    EXPECT_EQ(Buffer(lcd, lcd + 3), Buffer({0, 'x', 'x'}));

    uint8_t block[USER_CURVE_POINTS + 1];
    std::memset(block, 0xAA, sizeof block);
    InitCommonParams(block, 1);
    EXPECT_EQ(Buffer(block, block + 41), HexBytes("0F 00 00 04 51 00 00 00 00 00 00 01 00 00 00 00 00 00 00 00"
                                                  " 00 00 00 00 00 00 00 00 00 00 00 00 64 00 00 00 00 00 00 00 AA"));
    InitCommonParams(block, 0);
    EXPECT_EQ(Buffer(block, block + 40), Buffer(40, 0));
    EXPECT_EQ(block[40], 0xAA);
    InitUserCurves(block, 1);
    for (unsigned i = 0; i < USER_CURVE_POINTS; i++)
        EXPECT_EQ(block[i], i);
    InitUserCurves(block, 0);
    EXPECT_EQ(Buffer(block, block + 128), Buffer(128, 0));
    EXPECT_EQ(block[128], 0xAA);
}

TEST(RecordChecks, BoundsOfEachRule)
{
    using Change = void (*)(All_Params &);
    struct Case {
        uint8_t index, expected;
        Change change;
    };
    // Passing edges first, then each rule's failures (with what they come before).
    const Case cases[] = {
        {7, 0, [](auto &r) { r.ctrl_value_min = r.ctrl_value_max = 127, r.midi_str_lenght = 10, r.ctrl_status_1 = 4; }},
        {7, 0,
         [](auto &r) { r.midi_channel_position = 3, r.ctrl_value_position_0 = 2, r.checksum_start_position = 3; }},
        {10, 0, [](auto &r) { r.midi_string[2] = 0xFD, r.midi_string[3] = 0xFF, r.ctrl_chain = 0x80 | 67; }},
        {0, 0, [](auto &r) { r.midi_str_lenght = 21, r.ctrl_status_1 = 0x0D, r.ctrl_chain = 0x80; }},
        {7, 0, [](auto &r) { r.ctrl_status_2 = 0x17, r.ctrl_value_position_1 = 2, r.midi_channel_position = 0; }},
        {5, 2, [](auto &r) { r = FilledRecord(0), r.midi_string[0] = 0xB0, r.ctrl_chain = 0xFF; }},
        {7, 20, [](auto &r) { r.ctrl_status_2 = 0x10, r.ctrl_value_min = 200, r.midi_str_lenght = 50; }},
        {7, 20, [](auto &r) { r.ctrl_status_2 = 0x10, r.ctrl_value_position_0 = 0, r.ctrl_value_position_1 = 2; }},
        {7, 3, [](auto &r) { r.midi_str_lenght = 11, r.ctrl_value_min = 200; }},
        {7, 3, [](auto &r) { r.midi_str_lenght = 255, r.ctrl_status_1 = 0x0C; }},
        {7, 5, [](auto &r) { r.midi_str_lenght = 11, r.ctrl_value_min = 128, r.ctrl_status_1 |= 0x02; }},
        {7, 6, [](auto &r) { r.ctrl_value_max = 128, r.midi_str_lenght = 0; }},
        {7, 7, [](auto &r) { r.ctrl_value_min = 100, r.ctrl_value_max = 99, r.midi_str_lenght = 0; }},
        {7, 8, [](auto &r) { r.midi_str_lenght = 22, r.ctrl_status_1 = 0x0F; }},
        {7, 8, [](auto &r) { r.midi_str_lenght = 0, r.ctrl_value_position_0 = 1; }},
        {7, 18, [](auto &r) { r.midi_channel_position = 3, r.midi_str_lenght = 2; }},
        {7, 18, [](auto &r) { r.ctrl_value_position_1 = 1; }},
        {7, 18, [](auto &r) { r.midi_channel_position = 0, r.ctrl_value_position_1 = 3; }},
        {7, 9, [](auto &r) { r.midi_channel_position = 4; }},
        {7, 10, [](auto &r) { r.ctrl_value_position_0 = 4; }},
        {7, 11, [](auto &r) { r.ctrl_value_position_1 = 4; }},
        {7, 12, [](auto &r) { r.checksum_start_position = 4, r.midi_string[0] = 0x30; }},
        {7, 13, [](auto &r) { r.midi_string[0] = 0x7F, r.midi_string[1] = 0xFF; }},
        {7, 14, [](auto &r) { r.midi_string[2] = 0xFE; }},
        {7, 14, [](auto &r) { r.midi_string[0] = 0xFF, r.ctrl_status_1 = 0x10; }},
        {7, 15, [](auto &r) { r.ctrl_status_1 = 0xF3, r.ctrl_chain = 7; }},
        {10, 16, [](auto &r) { r.ctrl_chain = 0x8A; }},
        {100, 16, [](auto &r) { r.ctrl_chain = 100; }},
        {10, 17, [](auto &r) { r.ctrl_chain = 0x80 | 68; }},
        {10, 17, [](auto &r) { r.ctrl_chain = 0x7F; }},
    };
    for (const Case &c : cases) {
        All_Params r = Good();
        c.change(r);
        EXPECT_EQ(CheckMidiStruct(&r, c.index), c.expected) << "case " << &c - cases;
    }
    for (size_t field = 0; field < 10; field++) {  // any of the ten fields but the chain defines a record
        All_Params r = FilledRecord(0);
        reinterpret_cast<uint8_t *>(&r)[field] = 1;
        EXPECT_NE(CheckMidiStruct(&r, 5), 2) << field;
    }
}

TEST(RecordChecks, RulesComeInTheirOrder)
{
    // A record where every failure fires; each step removes the first one.
    All_Params r = FilledRecord(0);
    r.ctrl_status_2 = 0x10;
    r.midi_str_lenght = 30;
    r.ctrl_value_min = 200;
    r.ctrl_value_max = 150;
    r.midi_channel_position = r.ctrl_value_position_0 = 40;
    r.checksum_start_position = 41;
    r.ctrl_chain = 12;
    const std::vector<std::pair<void (*)(All_Params &), uint8_t>> steps = {
        {[](auto &) {}, 20},
        {[](auto &r) { r.ctrl_status_2 = 0; }, 3},
        {[](auto &r) { r.ctrl_status_1 = 0x01; }, 5},
        {[](auto &r) { r.ctrl_value_min = 10; }, 6},
        {[](auto &r) { r.ctrl_value_max = 5; }, 7},
        {[](auto &r) { r.ctrl_value_max = 20; }, 8},
        {[](auto &r) { r.midi_str_lenght = 4; }, 18},
        {[](auto &r) { r.ctrl_value_position_0 = 41; }, 9},
        {[](auto &r) { r.midi_channel_position = 4; }, 10},
        {[](auto &r) { r.ctrl_value_position_0 = 3, r.ctrl_value_position_1 = 42; }, 11},
        {[](auto &r) { r.ctrl_value_position_1 = 0; }, 12},
        {[](auto &r) { r.checksum_start_position = 2; }, 13},
        {[](auto &r) { r.midi_string[0] = 0xF0, r.midi_string[3] = 0xFF; }, 14},
        {[](auto &r) { r.midi_string[3] = 0xF7; }, 15},
        {[](auto &r) { r.ctrl_status_1 = 0x05; }, 16},
        {[](auto &r) { r.ctrl_chain = 99; }, 17},
        {[](auto &r) { r.ctrl_chain = 13; }, 0},
    };
    for (const auto &step : steps) {
        step.first(r);
        EXPECT_EQ(CheckMidiStruct(&r, 12), step.second);
    }
    // Any record gives one of these codes (under the sanitizers: reading only its 32 bytes).
    std::mt19937 rng(2024);
    for (int rep = 0; rep < 5000; rep++) {
        auto record = std::make_unique<All_Params>();
        for (size_t i = 0; i < sizeof(All_Params); i++)
            reinterpret_cast<uint8_t *>(record.get())[i] = static_cast<uint8_t>(rng());
        if (rep % 2)
            record->midi_str_lenght %= 23;
        const uint8_t code = CheckMidiStruct(record.get(), static_cast<uint8_t>(rng() % 67));
        EXPECT_TRUE(code == 0 || code == 2 || code == 3 || (code >= 5 && code <= 18) || code == 20) << int(code);
    }
}

TEST(RecordChecks, LcdTextsArePrintableUpToSixteenCharactersOrTheirNul)
{
    for (const char *text : {"ABC", "", "\x20\x7E", "0123456789ABCDEF\t", "A\0\t"})
        EXPECT_EQ(CheckLcdString(reinterpret_cast<const uint8_t *>(text)), 1) << text;
    for (uint8_t bad : {0x01, 0x09, 0x1F, 0x7F, 0x80, 0xC3, 0xFF}) {
        uint8_t text[] = "0123456789ABCDEF";
        text[15] = bad;
        EXPECT_EQ(CheckLcdString(text), 21) << int(bad);
    }
}
