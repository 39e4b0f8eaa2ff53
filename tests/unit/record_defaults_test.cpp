// The firmware-shared initialisers and the control roster:
// GetControlType, InitMidiStruct, InitLcdString, InitCommonParams, InitUserCurves.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "codec_test_support.h"
#include "cross_functions.h"

using namespace codec_test;

namespace {

std::string LcdText(uint8_t group, uint8_t index, uint8_t init_type)
{
    uint8_t buf[32];
    std::memset(buf, 0xAA, sizeof buf);
    InitLcdString(buf, group, index, init_type);
    return std::string(reinterpret_cast<char *>(buf));
}

}  // namespace

// ---- GetControlType -----------------------------------------------------------

TEST(RecordDefaultsControlType, Boundaries)
{
    EXPECT_EQ(GetControlType(0), CONTROL_TYPE_SWITCH);
    EXPECT_EQ(GetControlType(4), CONTROL_TYPE_SWITCH);
    EXPECT_EQ(GetControlType(5), CONTROL_TYPE_CONTINUOUS);
    EXPECT_EQ(GetControlType(49), CONTROL_TYPE_CONTINUOUS);
    EXPECT_EQ(GetControlType(50), CONTROL_TYPE_SWITCH);
    EXPECT_EQ(GetControlType(65), CONTROL_TYPE_SWITCH);
    EXPECT_EQ(GetControlType(66), CONTROL_TYPE_CONTINUOUS);
    EXPECT_EQ(GetControlType(67), CONTROL_TYPE_SWITCH);
    EXPECT_EQ(GetControlType(68), CONTROL_TYPE_INVALID);
    EXPECT_EQ(GetControlType(255), CONTROL_TYPE_INVALID);
}

TEST(RecordDefaultsControlType, EveryIndex)
{
    for (unsigned i = 0; i < 256; i++) {
        const uint8_t expected = i > 67 ? 254 : ((i >= 5 && i <= 49) || i == 66) ? 1 : 0;
        EXPECT_EQ(GetControlType(static_cast<uint8_t>(i)), expected) << i;
    }
}

// ---- InitMidiStruct -------------------------------------------------------------

TEST(RecordDefaultsMidi, DefaultAssignmentOfGroup0Index5)
{
    All_Params r = FilledRecord(0xEE);
    InitMidiStruct(&r, 0, 5, 1);
    EXPECT_EQ(r.ctrl_status_0, 5);
    EXPECT_EQ(r.ctrl_status_1, 0x9C);
    EXPECT_EQ(r.ctrl_status_2, 0);
    EXPECT_EQ(r.midi_str_lenght, 3);
    EXPECT_EQ(r.midi_channel_position, 1);
    EXPECT_EQ(r.ctrl_value_position_0, 3);
    EXPECT_EQ(r.ctrl_value_position_1, 0);
    EXPECT_EQ(r.ctrl_value_min, 0);
    EXPECT_EQ(r.ctrl_value_max, 127);
    EXPECT_EQ(r.checksum_start_position, 0);
    EXPECT_EQ(r.ctrl_chain, 0);
    EXPECT_EQ(Slice(r.midi_string, 0, 3), Bytes({0xB0, 0x05, 0x00}));
    EXPECT_TRUE(AllBytesAre(r.midi_string + 3, 18, 0xEE)) << "other string bytes kept";
}

TEST(RecordDefaultsMidi, CcNumberAcrossGroups)
{
    for (unsigned g = 0; g < GROUP_NB; g++) {
        for (unsigned c = 0; c <= LAST_CONTROL_INDEX; c++) {
            All_Params r = FilledRecord(0);
            InitMidiStruct(&r, static_cast<uint8_t>(g), static_cast<uint8_t>(c), 1);
            const uint8_t n = static_cast<uint8_t>((8 * g + c) % 128);
            EXPECT_EQ(r.ctrl_status_0, n);
            EXPECT_EQ(r.midi_string[1], n);
        }
    }
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, 20, 66, 1);
    EXPECT_EQ(r.ctrl_status_0, 98);
    EXPECT_EQ(r.midi_string[1], 98);
    InitMidiStruct(&r, 12, 5, 1);
    EXPECT_EQ(r.ctrl_status_0, 101);
    InitMidiStruct(&r, 15, 8, 1);  // 128 wraps to 0
    EXPECT_EQ(r.ctrl_status_0, 0);
}

TEST(RecordDefaultsMidi, AnyNonZeroInitTypeGivesTheDefault)
{
    All_Params a = FilledRecord(0), b = FilledRecord(0);
    InitMidiStruct(&a, 4, 30, 1);
    InitMidiStruct(&b, 4, 30, 0x80);
    EXPECT_TRUE(SameRecord(a, b));
}

TEST(RecordDefaultsMidi, InitTypeZeroClearsFieldsAndFirstStringByteOnly)
{
    All_Params r = FilledRecord(0x55);
    r.midi_string[0] = 0xB0;
    r.midi_string[1] = 0x07;
    r.midi_string[2] = 0x7F;
    InitMidiStruct(&r, 3, 9, 0);
    EXPECT_TRUE(AllBytesAre(reinterpret_cast<uint8_t *>(&r), 11, 0));
    EXPECT_EQ(r.midi_string[0], 0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.midi_string[2], 0x7F);
    EXPECT_TRUE(AllBytesAre(r.midi_string + 3, 18, 0x55));
    EXPECT_EQ(CheckMidiStruct(&r, 9), 2);
}

// ---- InitLcdString ----------------------------------------------------------------

TEST(RecordDefaultsLcd, DefaultTexts)
{
    EXPECT_EQ(LcdText(0, 5, 1), "    CC # 005");
    EXPECT_EQ(LcdText(12, 5, 1), "    CC # 101");
    EXPECT_EQ(LcdText(20, 66, 1), "    CC # 098");
    EXPECT_EQ(LcdText(15, 8, 1), "    CC # 000");
    EXPECT_EQ(LcdText(15, 7, 1), "    CC # 127");
}

TEST(RecordDefaultsLcd, ThirteenBytesAcrossAllGroups)
{
    for (unsigned g = 0; g < GROUP_NB; g++) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; c++) {
            uint8_t buf[20];
            std::memset(buf, 0xAA, sizeof buf);
            InitLcdString(buf, static_cast<uint8_t>(g), static_cast<uint8_t>(c), 1);
            char expected[16];
            std::snprintf(expected, sizeof expected, "    CC # %03u", (8 * g + c) % 128);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(buf)), expected);
            EXPECT_EQ(buf[12], 0);
            EXPECT_TRUE(AllBytesAre(buf + 13, 7, 0xAA)) << "13 bytes written at most";
            EXPECT_EQ(CheckLcdString(buf), 1);
        }
    }
}

TEST(RecordDefaultsLcd, InitTypeZeroIsTheEmptyText)
{
    uint8_t buf[13];
    std::memset(buf, 'x', sizeof buf);
    InitLcdString(buf, 7, 20, 0);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], 'x');
}

// ---- InitCommonParams -----------------------------------------------------------------

TEST(RecordDefaultsCommon, Defaults)
{
    uint8_t params[COMMON_PARAMS_LENGHT + 1];
    std::memset(params, 0xAA, sizeof params);
    InitCommonParams(params, 1);
    for (unsigned i = 0; i < COMMON_PARAMS_LENGHT; i++) {
        uint8_t expected = 0;
        switch (i) {
        case 0:
            expected = 0x0F;
            break;
        case 3:
            expected = 0x04;
            break;
        case 4:
            expected = 0x51;
            break;
        case 11:
            expected = 0x01;
            break;
        case 32:
            expected = 100;
            break;
        default:
            break;
        }
        EXPECT_EQ(params[i], expected) << i;
    }
    EXPECT_EQ(params[COMMON_PARAMS_LENGHT], 0xAA);
}

TEST(RecordDefaultsCommon, InitTypeZeroClearsTheFortyBytes)
{
    uint8_t params[COMMON_PARAMS_LENGHT + 1];
    std::memset(params, 0xAA, sizeof params);
    InitCommonParams(params, 0);
    EXPECT_TRUE(AllBytesAre(params, COMMON_PARAMS_LENGHT, 0));
    EXPECT_EQ(params[COMMON_PARAMS_LENGHT], 0xAA);
}

// ---- InitUserCurves -------------------------------------------------------------------

TEST(RecordDefaultsCurves, IdentityOrZero)
{
    uint8_t curve[USER_CURVE_POINTS + 1];
    std::memset(curve, 0xAA, sizeof curve);
    InitUserCurves(curve, 1);
    for (unsigned i = 0; i < USER_CURVE_POINTS; i++)
        EXPECT_EQ(curve[i], i);
    EXPECT_EQ(curve[USER_CURVE_POINTS], 0xAA);
    InitUserCurves(curve, 0);
    EXPECT_TRUE(AllBytesAre(curve, USER_CURVE_POINTS, 0));
    EXPECT_EQ(curve[USER_CURVE_POINTS], 0xAA);
}
