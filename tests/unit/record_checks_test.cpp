// The firmware-shared record checks: CheckMidiStruct (its rules, their
// order and their bounds) and CheckLcdString.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "codec_test_support.h"
#include "cross_functions.h"

using namespace codec_test;

namespace {

// A correct record (code 0): CC 7 on channel, value in byte 3, MIDI Out 1 and 2.
All_Params Good()
{
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, 0, 7, 1);
    return r;
}

}  // namespace

TEST(RecordChecksMidi, DefaultRecordsPass)
{
    for (uint8_t g = 0; g < GROUP_NB; g++)
        for (uint8_t c = 0; c <= LAST_CONTROL_INDEX; c++) {
            All_Params r = FilledRecord(0);
            InitMidiStruct(&r, g, c, 1);
            EXPECT_EQ(CheckMidiStruct(&r, c), 0) << int(g) << "/" << int(c);
        }
}

TEST(RecordChecksMidi, Rule1UndefinedRecordEvenWithStringBytesAndChain)
{
    All_Params r = FilledRecord(0);
    EXPECT_EQ(CheckMidiStruct(&r, 5), 2);
    r.midi_string[0] = 0xB0;
    r.midi_string[1] = 0xFF;
    r.ctrl_chain = 0xFF;
    EXPECT_EQ(CheckMidiStruct(&r, 5), 2);
    // any one of the ten fields makes it defined
    for (size_t field = 0; field < 10; field++) {
        All_Params d = FilledRecord(0);
        reinterpret_cast<uint8_t *>(&d)[field] = 1;
        EXPECT_NE(CheckMidiStruct(&d, 5), 2) << field;
    }
}

TEST(RecordChecksMidi, Rule2NibbleModeNeedsBothPositions)
{
    All_Params r = Good();
    r.ctrl_status_2 = 0x10;
    r.ctrl_value_position_0 = 2;
    r.ctrl_value_position_1 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 20);
    r.ctrl_value_position_0 = 0;
    r.ctrl_value_position_1 = 3;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 20);
    r.ctrl_value_position_0 = 2;
    r.midi_channel_position = 1;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    // before any range test
    r.ctrl_value_position_1 = 0;
    r.ctrl_value_min = 200;
    r.midi_str_lenght = 50;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 20);
}

TEST(RecordChecksMidi, Rule3LongStringWithoutDelayEndsTheCheck)
{
    All_Params r = Good();
    r.midi_str_lenght = 11;
    r.ctrl_value_min = 200;  // rule 4 would fire
    EXPECT_EQ(CheckMidiStruct(&r, 7), 3);
    r.ctrl_status_1 = static_cast<uint8_t>(r.ctrl_status_1 | 0x02);
    EXPECT_EQ(CheckMidiStruct(&r, 7), 5);
    r.ctrl_value_min = 0;
    r.midi_str_lenght = 10;
    r.ctrl_status_1 = 0x0C;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);  // 10 is not long
    // any length above 10, including above 21, gives 3 before the length test
    for (unsigned len : {11u, 21u, 22u, 100u, 255u}) {
        r.midi_str_lenght = static_cast<uint8_t>(len);
        r.ctrl_status_1 = 0x0C;
        EXPECT_EQ(CheckMidiStruct(&r, 7), 3) << len;
        for (uint8_t delay = 1; delay < 4; delay++) {
            r.ctrl_status_1 = static_cast<uint8_t>(0x0C | delay);
            EXPECT_EQ(CheckMidiStruct(&r, 7), len > 21 ? 8 : 0) << len;
        }
    }
}

TEST(RecordChecksMidi, Rules4To6ValueRange)
{
    All_Params r = Good();
    r.ctrl_value_min = 128;
    r.ctrl_value_max = 200;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 5);
    r.ctrl_value_min = 127;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 6);
    r.ctrl_value_max = 128;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 6);
    r.ctrl_value_max = 127;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r.ctrl_value_min = 100;
    r.ctrl_value_max = 99;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 7);
    r.ctrl_value_max = 100;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    // rule 6 comes before rule 7 and rule 7 before rule 8
    r.ctrl_value_min = 5;
    r.ctrl_value_max = 4;
    r.midi_str_lenght = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 7);
}

TEST(RecordChecksMidi, Rule7LengthRange)
{
    All_Params r = Good();
    r.midi_str_lenght = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 8);
    r.midi_str_lenght = 22;
    r.ctrl_status_1 = 0x0D;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 8);
    r.midi_str_lenght = 21;
    std::memset(r.midi_string + 3, 0x10, 18);
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r.midi_str_lenght = 1;
    r.midi_channel_position = 1;
    r.ctrl_value_position_0 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    // a length of 0 is tested before the duplicate positions
    r.midi_str_lenght = 0;
    r.ctrl_value_position_0 = 1;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 8);
}

TEST(RecordChecksMidi, Rule8DuplicatePositions)
{
    All_Params r = Good();
    r.midi_channel_position = 0;
    r.ctrl_value_position_0 = 0;
    r.ctrl_value_position_1 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);  // 0 means not inserted
    r.midi_channel_position = 3;
    r.ctrl_value_position_0 = 3;
    r.midi_str_lenght = 2;  // 3 is beyond the string: the duplicate comes first
    EXPECT_EQ(CheckMidiStruct(&r, 7), 18);
    r = Good();
    r.ctrl_value_position_1 = 1;  // = channel position
    EXPECT_EQ(CheckMidiStruct(&r, 7), 18);
    r = Good();
    r.midi_channel_position = 0;
    r.ctrl_value_position_1 = 3;  // = value position 1
    EXPECT_EQ(CheckMidiStruct(&r, 7), 18);
    // the checksum position may equal an insertion position
    r = Good();
    r.checksum_start_position = 1;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
}

TEST(RecordChecksMidi, Rule9PositionsWithinTheString)
{
    All_Params r = Good();
    r.midi_channel_position = 3;
    r.ctrl_value_position_0 = 2;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);  // equal to the length passes
    r.midi_channel_position = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 9);
    r = Good();
    r.ctrl_value_position_0 = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 10);
    r = Good();
    r.ctrl_value_position_1 = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 11);
    r = Good();
    r.checksum_start_position = 3;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r.checksum_start_position = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 12);
    // order within the rule
    r.midi_channel_position = 5;
    r.ctrl_value_position_0 = 6;
    r.ctrl_value_position_1 = 7;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 9);
    r.midi_channel_position = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 10);
    r.ctrl_value_position_0 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 11);
    // rule 9 before rule 10
    r = Good();
    r.midi_string[0] = 0x30;
    r.checksum_start_position = 9;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 12);
}

TEST(RecordChecksMidi, Rules10And11StringBytes)
{
    All_Params r = Good();
    r.midi_string[0] = 0x30;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 13);
    r.midi_string[0] = 0x7F;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 13);
    r.midi_string[0] = 0x80;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r = Good();
    r.midi_string[2] = 0xFE;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 14);
    r.midi_string[2] = 0xFF;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 14);
    r.midi_string[2] = 0xFD;  // other 8-bit data bytes pass
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r.midi_string[0] = 0xFE;  // a status byte of FE is refused by rule 11
    EXPECT_EQ(CheckMidiStruct(&r, 7), 14);
    r = Good();
    r.midi_string[3] = 0xFF;  // beyond the length: not looked at
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    // rule 10 before rule 11
    r.midi_string[0] = 0x10;
    r.midi_string[1] = 0xFF;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 13);
    // rule 11 before rule 12
    r = Good();
    r.midi_string[1] = 0xFF;
    r.ctrl_status_1 = 0x10;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 14);
}

TEST(RecordChecksMidi, Rule12AMidiOutputIsNeeded)
{
    All_Params r = Good();
    r.ctrl_status_1 = 0x10;  // USB only
    EXPECT_EQ(CheckMidiStruct(&r, 7), 15);
    r.ctrl_status_1 = 0xF3;  // every other bit but the MIDI outs
    EXPECT_EQ(CheckMidiStruct(&r, 7), 15);
    r.ctrl_status_1 = 0x04;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    r.ctrl_status_1 = 0x08;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 0);
    // rule 12 before rule 13
    r.ctrl_status_1 = 0x00;
    r.ctrl_chain = 7;
    EXPECT_EQ(CheckMidiStruct(&r, 7), 15);
}

TEST(RecordChecksMidi, Rules13And14Chain)
{
    All_Params r = Good();
    r.ctrl_chain = 0x8A;  // crossfade bit ignored: chained on 10
    EXPECT_EQ(CheckMidiStruct(&r, 10), 16);
    r.ctrl_chain = 10;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 16);
    EXPECT_EQ(CheckMidiStruct(&r, 11), 0);
    r.ctrl_chain = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 0), 0);  // index 0 is never chained on itself
    r.ctrl_chain = 0x80;
    EXPECT_EQ(CheckMidiStruct(&r, 0), 0);
    r.ctrl_chain = 68;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 17);
    r.ctrl_chain = 0x80 | 68;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 17);
    r.ctrl_chain = 0x7F;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 17);
    r.ctrl_chain = 67;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
    r.ctrl_chain = 66;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
    // rule 13 before rule 14: chained on itself with an index above 67
    r.ctrl_chain = 100;
    EXPECT_EQ(CheckMidiStruct(&r, 100), 16);
}

TEST(RecordChecksMidi, OrderOfAllRulesWhenEveryOneWouldFire)
{
    // start with a record where every failure rule fires, then remove them one by one
    All_Params r = FilledRecord(0);
    r.ctrl_status_2 = 0x10;        // rule 2
    r.midi_str_lenght = 30;        // rules 3 and 7
    r.ctrl_status_1 = 0x00;        // rules 3 and 12
    r.ctrl_value_min = 200;        // rules 4 and 6... min > 127
    r.ctrl_value_max = 150;        // rules 5 and 6
    r.midi_channel_position = 40;  // rules 8 and 9
    r.ctrl_value_position_0 = 40;
    r.ctrl_value_position_1 = 0;
    r.checksum_start_position = 41;
    r.midi_string[0] = 0x00;  // rule 10
    r.ctrl_chain = 12;        // rule 13 for index 12
    EXPECT_EQ(CheckMidiStruct(&r, 12), 20);
    r.ctrl_status_2 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 3);
    r.ctrl_status_1 = 0x01;  // a delay, still no MIDI out
    EXPECT_EQ(CheckMidiStruct(&r, 12), 5);
    r.ctrl_value_min = 10;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 6);
    r.ctrl_value_max = 5;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 7);
    r.ctrl_value_max = 20;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 8);
    r.midi_str_lenght = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 18);
    r.ctrl_value_position_0 = 41;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 9);
    r.midi_channel_position = 4;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 10);
    r.ctrl_value_position_0 = 3;
    r.ctrl_value_position_1 = 42;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 11);
    r.ctrl_value_position_1 = 0;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 12);
    r.checksum_start_position = 2;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 13);
    r.midi_string[0] = 0xF0;
    r.midi_string[3] = 0xFF;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 14);
    r.midi_string[3] = 0xF7;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 15);
    r.ctrl_status_1 = 0x05;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 16);
    r.ctrl_chain = 99;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 17);
    r.ctrl_chain = 13;
    EXPECT_EQ(CheckMidiStruct(&r, 12), 0);
}

TEST(RecordChecksMidi, NeverReadsBeyondTheRecordAndOnlyKnownCodes)
{
    // any record: the result is one of the listed codes (run under ASan this also
    // shows no read outside the 32 bytes)
    std::mt19937 rng(2024);
    for (int rep = 0; rep < 20000; rep++) {
        auto *r = new All_Params;
        for (size_t i = 0; i < sizeof *r; i++)
            reinterpret_cast<uint8_t *>(r)[i] = static_cast<uint8_t>(rng());
        if (rep % 2)
            r->midi_str_lenght = static_cast<uint8_t>(r->midi_str_lenght % 23);
        const uint8_t code = CheckMidiStruct(r, static_cast<uint8_t>(rng() % 67));
        EXPECT_TRUE(code == 0 || code == 2 || code == 3 || (code >= 5 && code <= 18) || code == 20) << int(code);
        delete r;
    }
}

// ---- CheckLcdString -------------------------------------------------------------

TEST(RecordChecksLcd, PrintableTextsPass)
{
    const uint8_t abc[] = "ABC";
    EXPECT_EQ(CheckLcdString(abc), 1);
    const uint8_t empty[] = "";
    EXPECT_EQ(CheckLcdString(empty), 1);
    const uint8_t edges[] = {0x20, 0x7E, 0x41, 0};
    EXPECT_EQ(CheckLcdString(edges), 1);
    const uint8_t sixteen[] = "0123456789ABCDEF";
    EXPECT_EQ(CheckLcdString(sixteen), 1);
}

TEST(RecordChecksLcd, NonPrintableCharactersFail)
{
    for (uint8_t bad : {0x01, 0x09, 0x1F, 0x7F, 0x80, 0xC3, 0xFF}) {
        uint8_t text[] = "Hello";
        text[2] = bad;
        EXPECT_EQ(CheckLcdString(text), 21) << int(bad);
    }
}

TEST(RecordChecksLcd, LooksAtSixteenBytesAtMostAndStopsAtNul)
{
    uint8_t text[18];
    std::memset(text, 'A', sizeof text);
    text[16] = 0x09;  // the 17th byte is not looked at
    text[17] = 0;
    EXPECT_EQ(CheckLcdString(text), 1);
    text[15] = 0x09;
    EXPECT_EQ(CheckLcdString(text), 21);
    const uint8_t after_nul[] = {'A', 0, 0x09, 0};
    EXPECT_EQ(CheckLcdString(after_nul), 1);
}
