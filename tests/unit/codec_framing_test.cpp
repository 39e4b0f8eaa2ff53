// SysEx framing: the header, its check, the request check, the
// nibble coding and the checksum contribution.
#include <gtest/gtest.h>

#include <cstring>

#include "codec_test_support.h"
#include "cross_functions.h"

using namespace codec_test;

namespace {

// A valid answer header for (index, group) with length byte len.
void AnswerHeader(uint8_t *sysex, uint8_t code, uint8_t len, uint8_t index, uint8_t group)
{
    std::memset(sysex, 0, SYSEX_BUFFER_SIZE);
    Fill_Sysex_Header(sysex, code, len, index, group);
}

}  // namespace

// ---- Fill_Sysex_Header ------------------------------------------------------

TEST(CodecFramingHeader, FillsTheTenHeaderBytesAndNothingElse)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    std::memset(sysex, 0xAA, sizeof sysex);
    Fill_Sysex_Header(sysex, 0x1B, 0x1C, 5, 20);
    EXPECT_EQ(Slice(sysex, 0, 10),
              Bytes({0xF0, 0x00, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2, 0x00, 0x01, 0x1B, 0x1C, 5, 20}));
    EXPECT_TRUE(AllBytesAre(sysex + 10, SYSEX_BUFFER_SIZE - 10, 0xAA));
}

TEST(CodecFramingHeader, ManufacturerIdentifierStartsWithZeroAndIsSevenBit)
{
    EXPECT_EQ(CVQ9_MANUFACTURER_ID_0, 0x00u);
    EXPECT_LT(CVQ9_MANUFACTURER_ID_1, 0x80u);
    EXPECT_LT(CVQ9_MANUFACTURER_ID_2, 0x80u);
}

// ---- Check_Valid_Sysex_Header -------------------------------------------------

TEST(CodecFramingHeaderCheck, ReturnsTheLengthByteOfAMatchingAnswer)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    AnswerHeader(sysex, 0x43, 0x1C, 5, 3);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 5, 3), 0x1C);
    AnswerHeader(sysex, 0x5B, 0, 66, 20);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 66, 20), 0);
}

TEST(CodecFramingHeaderCheck, DoesNotLookAtTheKindBits)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    for (uint8_t kind = 0; kind < 4; kind++) {
        AnswerHeader(sysex, static_cast<uint8_t>(0x40 | kind), 7, 1, 0);
        EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 1, 0), 7) << "kind " << int(kind);
    }
}

TEST(CodecFramingHeaderCheck, AnEchoWithoutBitSixFails)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    AnswerHeader(sysex, 0x33, 0, 5, 0);  // the program's own read request
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 5, 0), 255);
    AnswerHeader(sysex, 0x1B, 0x1C, 5, 0);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 5, 0), 255);
}

TEST(CodecFramingHeaderCheck, AnotherIndexOrGroupFails)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    AnswerHeader(sysex, 0x43, 22, 5, 3);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 6, 3), 255);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 5, 4), 255);
    EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 4, 3), 255);
}

TEST(CodecFramingHeaderCheck, EachFixedByteIsChecked)
{
    for (size_t b = 0; b < 6; b++) {
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        AnswerHeader(sysex, 0x43, 22, 5, 3);
        sysex[b] = static_cast<uint8_t>(sysex[b] ^ 0x01);
        EXPECT_EQ(Check_Valid_Sysex_Header(sysex, 5, 3), 255) << "byte " << b;
    }
}

// ---- Check_invalid_request ------------------------------------------------------

TEST(CodecFramingRequestCheck, ExamplesOfThePart)
{
    EXPECT_EQ(Check_invalid_request(0x1B, 3, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x1B, 3, 1), 254);  // transport button outside group 0
    EXPECT_EQ(Check_invalid_request(0x33, 67, 0), 254);
    EXPECT_EQ(Check_invalid_request(0x1B, 66, 21), 254);
    EXPECT_EQ(Check_invalid_request(0x00, 127, 0), 254);
    EXPECT_EQ(Check_invalid_request(0x30, 127, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x30, 38, 20), 0);
    EXPECT_EQ(Check_invalid_request(0x30, 39, 0), 254);
}

TEST(CodecFramingRequestCheck, AssignmentKindsBoundaries)
{
    for (uint8_t code : {0x1B, 0x0B, 0x33, 0x43, 0x73, 0x19, 0x09, 0x31, 0x41, 0x51}) {
        SCOPED_TRACE(int(code));
        // transport buttons: group 0 only
        for (uint8_t i = 0; i <= 4; i++) {
            EXPECT_EQ(Check_invalid_request(code, i, 0), 0);
            EXPECT_EQ(Check_invalid_request(code, i, 1), 254);
            EXPECT_EQ(Check_invalid_request(code, i, 20), 254);
        }
        EXPECT_EQ(Check_invalid_request(code, 5, 0), 0);
        EXPECT_EQ(Check_invalid_request(code, 5, 20), 0);
        EXPECT_EQ(Check_invalid_request(code, 66, 20), 0);
        EXPECT_EQ(Check_invalid_request(code, 67, 0), 254);
        EXPECT_EQ(Check_invalid_request(code, 255, 0), 254);
        EXPECT_EQ(Check_invalid_request(code, 5, 21), 254);
        EXPECT_EQ(Check_invalid_request(code, 5, 255), 254);
    }
}

TEST(CodecFramingRequestCheck, CommonKindBoundaries)
{
    for (uint8_t code : {0x00, 0x30, 0x40, 0x60, 0x70}) {
        SCOPED_TRACE(int(code));
        EXPECT_EQ(Check_invalid_request(code, 0, 0), 0);
        EXPECT_EQ(Check_invalid_request(code, 38, 0), 0);
        EXPECT_EQ(Check_invalid_request(code, 38, 20), 0);
        EXPECT_EQ(Check_invalid_request(code, 38, 21), 254);
        EXPECT_EQ(Check_invalid_request(code, 39, 0), 254);
        EXPECT_EQ(Check_invalid_request(code, 126, 0), 254);
        EXPECT_EQ(Check_invalid_request(code, 128, 0), 254);
        EXPECT_EQ(Check_invalid_request(code, 255, 0), 254);
    }
    // the identity can only be read: bit 5 decides
    EXPECT_EQ(Check_invalid_request(0x00, 127, 0), 254);
    EXPECT_EQ(Check_invalid_request(0x40, 127, 0), 254);
    EXPECT_EQ(Check_invalid_request(0x30, 127, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x20, 127, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x60, 127, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x30, 127, 21), 254);
}

TEST(CodecFramingRequestCheck, KindTwoIsAlwaysValid)
{
    EXPECT_EQ(Check_invalid_request(0x02, 255, 255), 0);
    EXPECT_EQ(Check_invalid_request(0x32, 3, 7), 0);
    EXPECT_EQ(Check_invalid_request(0x42, 127, 0), 0);
}

// ---- Nibbles ------------------------------------------------------------------

TEST(CodecFramingNibbles, SingleByteToNibblesExamples)
{
    uint8_t dst[3] = {0xAA, 0xAA, 0xAA};
    EXPECT_EQ(Single_Byte_To_Nibbles(0xB0, dst), 11);
    EXPECT_EQ(Slice(dst, 0, 3), Bytes({0x0B, 0x00, 0xAA}));
    EXPECT_EQ(Single_Byte_To_Nibbles(0xFF, dst), 30);
    EXPECT_EQ(Slice(dst, 0, 3), Bytes({0x0F, 0x0F, 0xAA}));
    EXPECT_EQ(Single_Byte_To_Nibbles(0x00, dst), 0);
    EXPECT_EQ(Slice(dst, 0, 2), Bytes({0x00, 0x00}));
}

TEST(CodecFramingNibbles, NibblesToSingleByteExamples)
{
    uint8_t data = 0x11;
    const uint8_t ok[2] = {0x07, 0x0F};
    EXPECT_EQ(Nibbles_To_Single_Byte(&data, ok), 22);
    EXPECT_EQ(data, 0x7F);

    data = 0x11;
    const uint8_t bad_high[2] = {0x10, 0x00};
    EXPECT_EQ(Nibbles_To_Single_Byte(&data, bad_high), 255);
    EXPECT_EQ(data, 0x11);
    const uint8_t bad_low[2] = {0x00, 0x80};
    EXPECT_EQ(Nibbles_To_Single_Byte(&data, bad_low), 255);
    EXPECT_EQ(data, 0x11);
}

TEST(CodecFramingNibbles, EveryByteRoundTripsAndContributesItsNibbleSum)
{
    for (unsigned b = 0; b < 256; b++) {
        uint8_t pair[2];
        const uint8_t sum = Single_Byte_To_Nibbles(static_cast<uint8_t>(b), pair);
        EXPECT_EQ(sum, ((b >> 4) + (b & 0x0F)) & 0x7F);
        uint8_t back = 0;
        EXPECT_EQ(Nibbles_To_Single_Byte(&back, pair), sum);
        EXPECT_EQ(back, b);
    }
}

TEST(CodecFramingNibbles, AnySourceByteAboveFifteenIsRefused)
{
    for (unsigned hi = 0; hi < 256; hi++) {
        for (unsigned lo : {0u, 0x0Fu, 0x10u, 0xFFu}) {
            const uint8_t src[2] = {static_cast<uint8_t>(hi), static_cast<uint8_t>(lo)};
            uint8_t data = 0x5A;
            const uint8_t r = Nibbles_To_Single_Byte(&data, src);
            if (hi > 0x0F || lo > 0x0F) {
                EXPECT_EQ(r, 255);
                EXPECT_EQ(data, 0x5A);
            } else {
                EXPECT_EQ(data, (hi << 4) | lo);
            }
        }
    }
}

// ---- status codes ---------------------------------------------------------------

TEST(CodecFramingStatus, CodesHaveTheirValues)
{
    EXPECT_EQ(SYSEX_ACK_OK, 0u);
    EXPECT_EQ(SYSEX_NO_ANSWER, 251u);
    EXPECT_EQ(SYSEX_REFUSED, 252u);
    EXPECT_EQ(SYSEX_INVALID_REQUEST, 254u);
    EXPECT_EQ(SYSEX_MALFORMED, 255u);
}
