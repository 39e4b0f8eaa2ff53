// Common parameter messages: the address table, the encoder (with
// the in-place padding of group names) and the decoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "codec_test_support.h"
#include "cross_functions.h"

using namespace codec_test;

namespace {

const Buffer kHeaderStart = Bytes({0xF0, 0x00, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2, 0x00, 0x01});

// The addresses this program exchanges as raw single bytes.
const uint8_t kRawAddresses[] = {0, 1, 3, 4, 5, 11, 33};

struct GuardedSysex {
    uint8_t bytes[SYSEX_BUFFER_SIZE + 1];
    explicit GuardedSysex(uint8_t fill = 0xAA) { std::memset(bytes, fill, sizeof bytes); }
    uint8_t *data() { return bytes; }
    bool GuardIntact() const { return bytes[SYSEX_BUFFER_SIZE] == 0xAA; }
};

// Encode a write of `values` and turn it into the controller's answer.
uint8_t WriteAsAnswer(uint8_t address, uint8_t *values, uint8_t *sysex, uint8_t group)
{
    const uint8_t n = Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, address, values, sysex, group);
    MakeDataAnswer(sysex);
    return n;
}

}  // namespace

// ---- Get_Common_Param_Data_Lenght --------------------------------------------

TEST(CodecCommonLength, AddressTable)
{
    EXPECT_EQ(Get_Common_Param_Data_Lenght(31), 1);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(33), 1);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(34), 64);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(35), 64);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(36), 64);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(37), 64);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(39), 1);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(32), 2);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(38), 28);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(127), 11);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(126), 1);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(128), 1);
    EXPECT_EQ(Get_Common_Param_Data_Lenght(255), 1);
    for (uint8_t a = 0; a < 32; a++)
        EXPECT_EQ(Get_Common_Param_Data_Lenght(a), 1) << int(a);
}

// ---- encoder ---------------------------------------------------------------------

TEST(CodecCommonEncoder, TempoExample)
{
    for (uint8_t g : {0, 7, 20}) {
        uint8_t values[1] = {100};  // 130 BPM
        GuardedSysex sysex;
        ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_TEMPO, values, sysex.data(), g), 13);
        Buffer expected = kHeaderStart;
        for (int b : {0x00, 0x02, 0x20, int(g), 0x06, 0x04, 0xF7})
            expected.push_back(static_cast<uint8_t>(b));
        EXPECT_EQ(Slice(sysex.data(), 0, 13), expected);
        EXPECT_TRUE(AllBytesAre(sysex.data() + 13, SYSEX_BUFFER_SIZE - 13, 0));
        EXPECT_TRUE(sysex.GuardIntact());
        EXPECT_EQ(values[0], 100);
    }
}

TEST(CodecCommonEncoder, DefaultGroupNameExample)
{
    char name[15];
    std::snprintf(name, sizeof name, "   Group %02d   ", 3);
    ASSERT_EQ(std::strlen(name), 14u);
    GuardedSysex sysex;
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, reinterpret_cast<uint8_t *>(name),
                                         sysex.data(), 3),
              39);
    Buffer expected = kHeaderStart;
    for (int b : {0x00, 0x1C, 0x26, 0x03})
        expected.push_back(static_cast<uint8_t>(b));
    for (int i = 0; i < 14; i++) {
        expected.push_back(static_cast<uint8_t>(static_cast<uint8_t>(name[i]) >> 4));
        expected.push_back(static_cast<uint8_t>(name[i] & 0x0F));
    }
    expected.push_back(0xF7);
    EXPECT_EQ(Slice(sysex.data(), 0, 39), expected);
    EXPECT_EQ(sysex.data()[10], 0x02);  // ' '
    EXPECT_EQ(sysex.data()[16], 0x04);  // 'G'
    EXPECT_EQ(sysex.data()[17], 0x07);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 39, SYSEX_BUFFER_SIZE - 39, 0));
    EXPECT_TRUE(sysex.GuardIntact());
}

TEST(CodecCommonEncoder, ShortGroupNameIsPaddedInTheCallersBuffer)
{
    uint8_t name[16];
    std::memset(name, 'X', sizeof name);
    std::memcpy(name, "Drums", 6);  // "Drums", NUL, then garbage
    name[15] = 0xEE;                // beyond the 15 bytes: never touched
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, sysex, 0), 39);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(name)), "Drums         ");
    EXPECT_EQ(name[14], 0);
    EXPECT_EQ(name[15], 0xEE);
    for (unsigned i = 5; i < 14; i++) {
        EXPECT_EQ(sysex[10 + 2 * i], 0x02);
        EXPECT_EQ(sysex[11 + 2 * i], 0x00);
    }
}

TEST(CodecCommonEncoder, NameWithoutNulIsCutAtFourteen)
{
    uint8_t name[15];
    std::memcpy(name, "ABCDEFGHIJKLMNO", 15);  // 15 letters, no NUL
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(1, COMMON_PARAM_GROUP_NAME, name, sysex, 20), 39);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(name)), "ABCDEFGHIJKLMN");
    EXPECT_EQ(sysex[36], 0x04);
    EXPECT_EQ(sysex[37], 0x0E);  // 'N'
    EXPECT_EQ(sysex[38], 0xF7);
}

TEST(CodecCommonEncoder, EmptyNameIsFourteenSpaces)
{
    uint8_t name[15] = {0, 'Q', 'Q'};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, sysex, 1), 39);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(name)), std::string(14, ' '));
}

TEST(CodecCommonEncoder, NonPrintableNameIsRefusedAfterPadding)
{
    for (uint8_t bad : {0x09, 0x1F, 0x7F, 0x80, 0xFF}) {
        uint8_t name[15];
        std::memset(name, 'Z', sizeof name);
        std::memcpy(name, "Ab\0", 3);
        name[1] = bad;
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, sysex.data(), 2), 254);
        EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0)) << "cleared, nothing encoded";
        EXPECT_TRUE(sysex.GuardIntact());
        // the padding happened before the check
        EXPECT_EQ(name[0], 'A');
        EXPECT_EQ(name[1], bad);
        EXPECT_TRUE(AllBytesAre(name + 2, 12, ' '));
        EXPECT_EQ(name[14], 0);
    }
}

TEST(CodecCommonEncoder, NameOfAnInvalidGroupIsNotPadded)
{
    uint8_t name[15];
    std::memset(name, 'Z', sizeof name);
    name[3] = 0;
    GuardedSysex sysex;
    EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, sysex.data(), 21), 254);
    EXPECT_EQ(name[3], 0);
    EXPECT_EQ(name[4], 'Z');
    EXPECT_EQ(name[14], 'Z');
    EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
}

TEST(CodecCommonEncoder, IdentityCanOnlyBeRead)
{
    uint8_t values[11] = {};
    GuardedSysex sysex;
    EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_IDENTITY, values, sysex.data(), 0), 254);
    EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
    EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_NO_ACK, COMMON_PARAM_IDENTITY, values, sysex.data(), 0), 254);

    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, nullptr, sysex.data(), 0), 11);
    Buffer expected = kHeaderStart;
    for (int b : {0x30, 11, 127, 0, 0xF7})
        expected.push_back(static_cast<uint8_t>(b));
    EXPECT_EQ(Slice(sysex.data(), 0, 11), expected);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 11, SYSEX_BUFFER_SIZE - 11, 0));
    EXPECT_TRUE(sysex.GuardIntact());
}

TEST(CodecCommonEncoder, ReadRequestsCarryTheExpectedLength)
{
    const uint8_t addresses[] = {0, 1, 3, 4, 5, 11, 32, 33, 34, 35, 36, 37, 38};
    for (uint8_t a : addresses) {
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, a, nullptr, sysex, 20), 11) << int(a);
        EXPECT_EQ(sysex[6], 0x30);
        EXPECT_EQ(sysex[7], Get_Common_Param_Data_Lenght(a));
        EXPECT_EQ(sysex[8], a);
        EXPECT_EQ(sysex[9], 20);
        EXPECT_EQ(sysex[10], 0xF7);
        EXPECT_TRUE(AllBytesAre(sysex + 11, SYSEX_BUFFER_SIZE - 11, 0));
    }
}

TEST(CodecCommonEncoder, RefusedReadRequestIsClearedWithTheTerminator)
{
    const uint8_t bad[][2] = {{39, 0}, {126, 0}, {255, 0}, {0, 21}, {38, 21}, {127, 21}};
    for (const auto &ag : bad) {
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, ag[0], nullptr, sysex.data(), ag[1]), 254);
        EXPECT_TRUE(AllBytesAre(sysex.data(), 10, 0));
        EXPECT_EQ(sysex.data()[10], 0xF7);
        EXPECT_TRUE(AllBytesAre(sysex.data() + 11, SYSEX_BUFFER_SIZE - 11, 0));
        EXPECT_TRUE(sysex.GuardIntact());
    }
}

TEST(CodecCommonEncoder, RefusedWriteIsCleared)
{
    uint8_t values[64] = {};
    const uint8_t bad[][2] = {{39, 0}, {200, 0}, {0, 21}, {34, 255}};
    for (const auto &ag : bad) {
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, ag[0], values, sysex.data(), ag[1]), 254);
        EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
        EXPECT_TRUE(sysex.GuardIntact());
    }
}

TEST(CodecCommonEncoder, ByteOfEightBitsIsRefused)
{
    for (uint8_t a : kRawAddresses) {
        uint8_t v[1] = {0x80};
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, a, v, sysex.data(), 0), 254) << int(a);
        EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
        v[0] = 0x7F;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, a, v, sysex.data(), 0), 12);
        EXPECT_EQ(sysex.data()[10], 0x7F);
        EXPECT_EQ(sysex.data()[11], 0xF7);
    }
}

TEST(CodecCommonEncoder, CurvePointOfOneHundredTwentyEightIsRefused)
{
    for (uint8_t a = COMMON_PARAM_CURVE1_LOW; a <= COMMON_PARAM_CURVE2_HIGH; a++) {
        for (size_t at : {size_t(0), size_t(31), size_t(63)}) {
            uint8_t curve[64];
            for (unsigned i = 0; i < 64; i++)
                curve[i] = static_cast<uint8_t>(i);
            curve[at] = 128;
            GuardedSysex sysex;
            EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, a, curve, sysex.data(), 0), 254);
            EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
        }
    }
}

TEST(CodecCommonEncoder, CurveHalfIsSeventyFiveBytes)
{
    uint8_t curve[64];
    for (unsigned i = 0; i < 64; i++)
        curve[i] = static_cast<uint8_t>(127 - i);
    GuardedSysex sysex;
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_CURVE2_HIGH, curve, sysex.data(), 9), 75);
    EXPECT_EQ(sysex.data()[6], 0x00);
    EXPECT_EQ(sysex.data()[7], 64);
    EXPECT_EQ(sysex.data()[8], 37);
    EXPECT_EQ(sysex.data()[9], 9);
    EXPECT_EQ(Slice(sysex.data(), 10, 64), Buffer(curve, curve + 64));
    EXPECT_EQ(sysex.data()[74], 0xF7);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 75, SYSEX_BUFFER_SIZE - 75, 0));
    EXPECT_TRUE(sysex.GuardIntact());
}

// ---- round trips ---------------------------------------------------------------------

TEST(CodecCommonRoundTrip, EveryExchangedSingleByte)
{
    for (uint8_t a : kRawAddresses) {
        for (unsigned v = 0; v < 128; v++) {
            uint8_t in[1] = {static_cast<uint8_t>(v)};
            uint8_t sysex[SYSEX_BUFFER_SIZE];
            ASSERT_EQ(WriteAsAnswer(a, in, sysex, static_cast<uint8_t>(v % 21)), 12);
            uint8_t out[2] = {0xAA, 0xAA};
            ASSERT_EQ(Cvq9_Sysex_To_Common_Param(a, out, sysex, static_cast<uint8_t>(v % 21)), 13);
            EXPECT_EQ(out[0], v);
            EXPECT_EQ(out[1], 0xAA);
        }
    }
}

TEST(CodecCommonRoundTrip, NotExchangedAddressesStillWork)
{
    for (uint8_t a = 0; a < 32; a++) {
        uint8_t in[1] = {static_cast<uint8_t>(a * 3)};
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        ASSERT_EQ(WriteAsAnswer(a, in, sysex, 0), 12);
        uint8_t out[1] = {0xAA};
        ASSERT_EQ(Cvq9_Sysex_To_Common_Param(a, out, sysex, 0), 13);
        EXPECT_EQ(out[0], in[0]);
    }
}

TEST(CodecCommonRoundTrip, EveryTempo)
{
    for (unsigned v = 0; v < 256; v++) {
        uint8_t in[1] = {static_cast<uint8_t>(v)};
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        ASSERT_EQ(WriteAsAnswer(COMMON_PARAM_TEMPO, in, sysex, 4), 13);
        uint8_t out[2] = {0xAA, 0xAA};
        ASSERT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_TEMPO, out, sysex, 4), 14);
        EXPECT_EQ(out[0], v);
        EXPECT_EQ(out[1], 0xAA);
    }
}

TEST(CodecCommonRoundTrip, CurveHalves)
{
    std::mt19937 rng(5);
    for (int rep = 0; rep < 20; rep++) {
        for (uint8_t a = COMMON_PARAM_CURVE1_LOW; a <= COMMON_PARAM_CURVE2_HIGH; a++) {
            uint8_t curve[64];
            for (auto &p : curve)
                p = static_cast<uint8_t>(rng() & 0x7F);
            uint8_t sysex[SYSEX_BUFFER_SIZE];
            ASSERT_EQ(WriteAsAnswer(a, curve, sysex, 20), 75);
            uint8_t out[65];
            std::memset(out, 0xAA, sizeof out);
            ASSERT_EQ(Cvq9_Sysex_To_Common_Param(a, out, sysex, 20), 76);
            EXPECT_EQ(std::memcmp(out, curve, 64), 0);
            EXPECT_EQ(out[64], 0xAA);
        }
    }
}

TEST(CodecCommonRoundTrip, WholeUserCurves)
{
    uint8_t curve1[128], curve2[128];
    InitUserCurves(curve1, 1);
    for (unsigned i = 0; i < 128; i++)
        curve2[i] = static_cast<uint8_t>((i * i) >> 7);
    uint8_t back1[128] = {}, back2[128] = {};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(WriteAsAnswer(34, curve1, sysex, 0), 75);
    ASSERT_EQ(Cvq9_Sysex_To_Common_Param(34, back1, sysex, 0), 76);
    ASSERT_EQ(WriteAsAnswer(35, curve1 + 64, sysex, 0), 75);
    ASSERT_EQ(Cvq9_Sysex_To_Common_Param(35, back1 + 64, sysex, 0), 76);
    ASSERT_EQ(WriteAsAnswer(36, curve2, sysex, 0), 75);
    ASSERT_EQ(Cvq9_Sysex_To_Common_Param(36, back2, sysex, 0), 76);
    ASSERT_EQ(WriteAsAnswer(37, curve2 + 64, sysex, 0), 75);
    ASSERT_EQ(Cvq9_Sysex_To_Common_Param(37, back2 + 64, sysex, 0), 76);
    EXPECT_EQ(std::memcmp(back1, curve1, 128), 0);
    EXPECT_EQ(std::memcmp(back2, curve2, 128), 0);
}

TEST(CodecCommonRoundTrip, GroupNames)
{
    std::mt19937 rng(77);
    for (uint8_t g = 0; g < GROUP_NB; g++) {
        for (size_t len = 0; len <= 14; len++) {
            const std::string text = RandomPrintable(rng, len);
            uint8_t name[15] = {};
            std::memcpy(name, text.data(), len);
            uint8_t sysex[SYSEX_BUFFER_SIZE];
            ASSERT_EQ(WriteAsAnswer(COMMON_PARAM_GROUP_NAME, name, sysex, g), 39);
            uint8_t out[16];
            std::memset(out, 0xAA, sizeof out);
            ASSERT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_GROUP_NAME, out, sysex, g), 40);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(out)), text + std::string(14 - len, ' '));
            EXPECT_EQ(out[14], 0);
            EXPECT_EQ(out[15], 0xAA) << "values[0..14] only";
        }
    }
}

TEST(CodecCommonRoundTrip, DefaultCommonParameters)
{
    uint8_t params[COMMON_PARAMS_LENGHT];
    InitCommonParams(params, 1);
    uint8_t back[COMMON_PARAMS_LENGHT];
    std::memset(back, 0, sizeof back);
    const uint8_t exchanged[] = {0, 1, 3, 4, 5, 11, 32, 33};
    for (uint8_t a : exchanged) {
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        ASSERT_LT(WriteAsAnswer(a, &params[a], sysex, 0), 251);
        ASSERT_EQ(Cvq9_Sysex_To_Common_Param(a, &back[a], sysex, 0), Get_Common_Param_Data_Lenght(a) + 12);
    }
    EXPECT_EQ(std::memcmp(params, back, sizeof back), 0);
}

// ---- decoder ---------------------------------------------------------------------------

TEST(CodecCommonDecoder, WrongLengthIsMalformed)
{
    uint8_t curve[64] = {};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    WriteAsAnswer(34, curve, sysex, 0);
    sysex[8] = 33;  // a 64-byte answer for address 33
    uint8_t out[64];
    std::memset(out, 0x55, sizeof out);
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(33, out, sysex, 0), 255);
    EXPECT_TRUE(AllBytesAre(out, sizeof out, 0x55));
}

TEST(CodecCommonDecoder, AnswerForAnotherGroupIsMalformed)
{
    uint8_t v[1] = {5};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    WriteAsAnswer(4, v, sysex, 4);
    uint8_t out[1] = {0x55};
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(4, out, sysex, 5), 255);
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(3, out, sysex, 4), 255);  // another address
    EXPECT_EQ(out[0], 0x55);
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(4, out, sysex, 4), 13);
    EXPECT_EQ(out[0], 5);
}

TEST(CodecCommonDecoder, WrongKindOrEchoIsMalformed)
{
    uint8_t v[1] = {5};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    uint8_t out[1] = {0x55};
    for (uint8_t kind : {1, 2, 3}) {
        WriteAsAnswer(4, v, sysex, 0);
        sysex[6] = static_cast<uint8_t>(sysex[6] | kind);
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(4, out, sysex, 0), 255);
    }
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, 4, v, sysex, 0);  // no bit 6: an echo
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(4, out, sysex, 0), 255);
    EXPECT_EQ(out[0], 0x55);
}

TEST(CodecCommonDecoder, InvalidAddressOrGroupIsAnInvalidRequest)
{
    uint8_t v[1] = {5};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    WriteAsAnswer(4, v, sysex, 0);
    uint8_t out[1] = {0x55};
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(39, out, sysex, 0), 254);
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(4, out, sysex, 21), 254);
    EXPECT_EQ(out[0], 0x55);
}

TEST(CodecCommonDecoder, IdentityAnswerNeedsBitFive)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE] = {};
    const uint8_t identity[11] = {1, 6, 2, 0, 0x12, 0x34, 0x56, 0x78, 0x01, 0x02, 0x03};
    Fill_Sysex_Header(sysex, 0x70, 11, 127, 0);
    std::memcpy(&sysex[10], identity, 11);
    sysex[21] = 0xF7;
    uint8_t out[12];
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, sysex, 0), 23);
    EXPECT_EQ(std::memcmp(out, identity, 11), 0);
    EXPECT_EQ(out[11], 0xAA);
    sysex[6] = 0x60;
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, sysex, 0), 23);

    std::memset(out, 0xAA, sizeof out);
    sysex[6] = 0x40;  // without bit 5 the identity is not a valid request
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, sysex, 0), 254);
    sysex[6] = 0x70;
    sysex[7] = 10;
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, sysex, 0), 255);
    EXPECT_TRUE(AllBytesAre(out, sizeof out, 0xAA));
}

TEST(CodecCommonDecoder, BadNibblesLeaveTheValuesUntouched)
{
    uint8_t name[15] = "Keys";
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    for (size_t pos = 10; pos < 38; pos++) {
        std::memcpy(name, "Keys", 5);
        WriteAsAnswer(COMMON_PARAM_GROUP_NAME, name, sysex, 6);
        sysex[pos] = static_cast<uint8_t>(sysex[pos] | 0x10);
        uint8_t out[15];
        std::memset(out, 0x55, sizeof out);
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_GROUP_NAME, out, sysex, 6), 255) << pos;
        EXPECT_TRUE(AllBytesAre(out, sizeof out, 0x55));
    }
    uint8_t tempo[1] = {100};
    for (size_t pos : {size_t(10), size_t(11)}) {
        WriteAsAnswer(COMMON_PARAM_TEMPO, tempo, sysex, 0);
        sysex[pos] = 0x10;
        uint8_t out[1] = {0x55};
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_TEMPO, out, sysex, 0), 255);
        EXPECT_EQ(out[0], 0x55);
    }
}

TEST(CodecCommonDecoder, NothingAfterTheDataIsChecked)
{
    uint8_t v[1] = {9};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    WriteAsAnswer(11, v, sysex, 0);
    sysex[11] = 0x00;  // no terminator
    sysex[12] = 0x42;
    uint8_t out[1] = {0};
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(11, out, sysex, 0), 13);
    EXPECT_EQ(out[0], 9);
}

TEST(CodecCommonDecoder, RawBytesAreCopiedAsReceived)
{
    // the decoder does not refuse eight-bit data bytes
    uint8_t sysex[SYSEX_BUFFER_SIZE] = {};
    Fill_Sysex_Header(sysex, 0x40, 1, 5, 0);
    sysex[10] = 0x9F;
    uint8_t out[1] = {0};
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(5, out, sysex, 0), 13);
    EXPECT_EQ(out[0], 0x9F);
}
