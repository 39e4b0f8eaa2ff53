// Control assignment messages: the MIDI and LCD assignment encoders
// and decoders, their refusals and their round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "codec_test_support.h"
#include "cross_functions.h"

using namespace codec_test;

namespace {

All_Params DefaultRecord(uint8_t group, uint8_t index)
{
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, group, index, 1);
    return r;
}

// A buffer with one guard byte beyond the 128 the codec may use.
struct GuardedSysex {
    uint8_t bytes[SYSEX_BUFFER_SIZE + 1];
    explicit GuardedSysex(uint8_t fill = 0xAA) { std::memset(bytes, fill, sizeof bytes); }
    uint8_t *data() { return bytes; }
    uint8_t &operator[](size_t i) { return bytes[i]; }
    bool GuardIntact() const { return bytes[SYSEX_BUFFER_SIZE] == 0xAA; }
};

// Encode `rec` as a write for (index, group) and turn it into the data answer.
uint8_t EncodeAsAnswer(const All_Params &rec, uint8_t *sysex, uint8_t index, uint8_t group)
{
    const uint8_t len = Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, index, group);
    MakeDataAnswer(sysex);
    return len;
}

// A data answer for the default record of (group 3, index 10), ready to decode.
struct DefaultAnswer {
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    DefaultAnswer()
    {
        const All_Params rec = DefaultRecord(3, 10);
        EncodeAsAnswer(rec, sysex, 10, 3);
    }
};

void LcdEncodeAnswer(const char *text, uint8_t *sysex, uint8_t index, uint8_t group)
{
    Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, reinterpret_cast<const uint8_t *>(text), sysex, index, group);
    MakeDataAnswer(sysex);
}

}  // namespace

// =============================== MIDI encoder ================================

TEST(CodecAssignMidiEncoder, ExampleOfThePartByteForByte)
{
    const All_Params rec = DefaultRecord(0, 5);
    GuardedSysex sysex;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 5, 0), 40);
    const Buffer expected = Bytes({0xF0,
                                   0x00,
                                   CVQ9_MANUFACTURER_ID_1,
                                   CVQ9_MANUFACTURER_ID_2,
                                   0x00,
                                   0x01,
                                   0x1B,
                                   0x1C,
                                   0x05,
                                   0x00,
                                   0x00,
                                   0x05,
                                   0x09,
                                   0x0C,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x03,
                                   0x00,
                                   0x01,
                                   0x00,
                                   0x03,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x07,
                                   0x0F,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x00,
                                   0x0B,
                                   0x00,
                                   0x00,
                                   0x05,
                                   0x00,
                                   0x00,
                                   0x47,
                                   0xF7});
    EXPECT_EQ(Slice(sysex.data(), 0, 40), expected);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 40, SYSEX_BUFFER_SIZE - 40, 0)) << "rest of the buffer cleared";
    EXPECT_TRUE(sysex.GuardIntact());
}

TEST(CodecAssignMidiEncoder, WriteWithoutAcknowledgeUsesCode0B)
{
    const All_Params rec = DefaultRecord(0, 5);
    uint8_t ack[SYSEX_BUFFER_SIZE], noack[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(0, &rec, ack, 5, 0), 40);
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(1, &rec, noack, 5, 0), 40);
    EXPECT_EQ(noack[6], 0x0B);
    noack[6] = 0x1B;
    EXPECT_EQ(std::memcmp(ack, noack, sizeof ack), 0);
    // any action but 0 and 2 is a write without acknowledge
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(7, &rec, noack, 5, 0), 40);
    EXPECT_EQ(noack[6], 0x0B);
}

TEST(CodecAssignMidiEncoder, ReadRequestIsElevenBytes)
{
    GuardedSysex sysex;
    // the record is not looked at for a request
    const All_Params hostile = FilledRecord(0xFF);
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &hostile, sysex.data(), 66, 20), 11);
    EXPECT_EQ(Slice(sysex.data(), 0, 11), Bytes({0xF0, 0x00, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2, 0x00, 0x01,
                                                 0x33, 0x00, 66, 20, 0xF7}));
    EXPECT_TRUE(AllBytesAre(sysex.data() + 11, SYSEX_BUFFER_SIZE - 11, 0));
    EXPECT_TRUE(sysex.GuardIntact());
}

TEST(CodecAssignMidiEncoder, TransportButtonOnlyInGroupZero)
{
    const All_Params rec = DefaultRecord(0, 2);
    GuardedSysex sysex;
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 2, 0), 40);
    EXPECT_EQ(sysex[8], 2);
    EXPECT_EQ(sysex[9], 0);

    GuardedSysex untouched;
    for (uint8_t action = 0; action < 3; action++) {
        EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, untouched.data(), 2, 3), 254);
        EXPECT_TRUE(AllBytesAre(untouched.data(), sizeof untouched.bytes, 0xAA)) << "buffer not touched";
    }
}

TEST(CodecAssignMidiEncoder, InvalidAddressLeavesTheBufferUntouched)
{
    const All_Params rec = DefaultRecord(0, 10);
    const uint8_t bad[][2] = {{67, 0}, {255, 0}, {10, 21}, {10, 255}, {0, 1}, {4, 20}};
    for (const auto &addr : bad) {
        for (uint8_t action = 0; action < 3; action++) {
            GuardedSysex sysex;
            EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, sysex.data(), addr[0], addr[1]), 254);
            EXPECT_TRUE(AllBytesAre(sysex.data(), sizeof sysex.bytes, 0xAA));
        }
    }
}

TEST(CodecAssignMidiEncoder, LongestStringGivesSeventySixBytes)
{
    All_Params rec = DefaultRecord(1, 20);
    rec.midi_str_lenght = 21;
    for (unsigned i = 1; i < 21; i++)
        rec.midi_string[i] = static_cast<uint8_t>(i);
    rec.ctrl_status_1 = static_cast<uint8_t>(rec.ctrl_status_1 | 0x01);  // a MIDI delay: code 0
    ASSERT_EQ(CheckMidiStruct(&rec, 20), 0);
    GuardedSysex sysex;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 20, 1), 76);
    EXPECT_EQ(sysex[7], 64);
    EXPECT_EQ(sysex[74], NibbleSum(sysex.data(), 10, 64));
    EXPECT_EQ(sysex[75], 0xF7);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 76, SYSEX_BUFFER_SIZE - 76, 0));
    // the string bytes travel high nibble first
    EXPECT_EQ(sysex[32], 0x0B);
    EXPECT_EQ(sysex[33], 0x00);
    EXPECT_EQ(sysex[72], 0x01);
    EXPECT_EQ(sysex[73], 0x04);
}

TEST(CodecAssignMidiEncoder, UndefinedRecordIsSentAsThirtyFourBytes)
{
    All_Params rec = FilledRecord(0);
    rec.ctrl_chain = 9;         // not looked at by rule 1 and still sent
    rec.midi_string[0] = 0xB0;  // not sent: length 0
    ASSERT_EQ(CheckMidiStruct(&rec, 9), 2);
    GuardedSysex sysex;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 9, 0), 34);
    EXPECT_EQ(sysex[7], 22);
    EXPECT_EQ(sysex[30], 0x00);
    EXPECT_EQ(sysex[31], 0x09);
    EXPECT_EQ(sysex[32], 9);  // checksum
    EXPECT_EQ(sysex[33], 0xF7);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 34, SYSEX_BUFFER_SIZE - 34, 0));
}

TEST(CodecAssignMidiEncoder, LongStringWithoutDelayIsSentWithWarning)
{
    All_Params rec = DefaultRecord(0, 6);
    rec.midi_str_lenght = 15;
    for (unsigned i = 3; i < 15; i++)
        rec.midi_string[i] = 0x10;
    rec.ctrl_status_1 = 0x08;
    ASSERT_EQ(CheckMidiStruct(&rec, 6), 3);
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, 6, 0), 2 * (11 + 15) + 12);
}

TEST(CodecAssignMidiEncoder, FailingRecordIsRefusedAfterClearingTheBuffer)
{
    All_Params rec = DefaultRecord(0, 6);
    rec.ctrl_value_min = 200;  // code 5
    ASSERT_EQ(CheckMidiStruct(&rec, 6), 5);
    GuardedSysex sysex;
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 6, 0), 254);
    EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
    EXPECT_TRUE(sysex.GuardIntact());

    rec = DefaultRecord(0, 6);
    rec.ctrl_status_1 = 0x10;  // USB only: code 15
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_NO_ACK, &rec, sysex.data(), 6, 0), 254);
}

TEST(CodecAssignMidiEncoder, LengthAboveTwentyOneIsRefusedEvenAsAWarning)
{
    for (unsigned len : {22u, 23u, 58u, 127u, 128u, 255u}) {
        All_Params rec = DefaultRecord(0, 7);
        rec.midi_str_lenght = static_cast<uint8_t>(len);
        rec.ctrl_status_1 = 0x08;  // no delay: CheckMidiStruct stops at warning 3
        ASSERT_EQ(CheckMidiStruct(&rec, 7), 3);
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 7, 0), 254) << len;
        EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0)) << "cleared, nothing encoded";
        EXPECT_TRUE(sysex.GuardIntact());

        rec.ctrl_status_1 = 0x09;  // with a delay: code 8
        ASSERT_EQ(CheckMidiStruct(&rec, 7), 8);
        EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex.data(), 7, 0), 254);
    }
}

// =============================== MIDI decoder ================================

TEST(CodecAssignMidiRoundTrip, RandomValidRecordsOfEveryLength)
{
    std::mt19937 rng(12345);
    const uint8_t addresses[][2] = {{0, 0}, {4, 0}, {5, 0}, {27, 11}, {50, 7}, {65, 20}, {66, 20}};
    for (uint8_t len = 1; len <= MIDI_STRING_MAX_LENGHT; len++) {
        for (const auto &addr : addresses) {
            for (int rep = 0; rep < 8; rep++) {
                const uint8_t index = addr[0], group = addr[1];
                const All_Params rec = RandomValidRecord(rng, len, index);
                ASSERT_LE(CheckMidiStruct(&rec, index), 4);
                const uint8_t action = static_cast<uint8_t>(rep % 2);
                uint8_t sysex[SYSEX_BUFFER_SIZE];
                const uint8_t n = Cvq9_Midi_Assign_To_Sysex(action, &rec, sysex, index, group);
                ASSERT_EQ(n, 2 * (11 + len) + 12);
                ASSERT_EQ(sysex[6], action == 0 ? 0x1B : 0x0B);
                ASSERT_EQ(sysex[n - 2], NibbleSum(sysex, 10, n - 12));
                ASSERT_EQ(sysex[n - 1], 0xF7);
                // answer codes: bit 6 with the kind, with or without the request bits
                const uint8_t answers[] = {0x43, 0x73, 0x5B};
                sysex[6] = answers[rep % 3];

                All_Params out = FilledRecord(0x5A);
                ASSERT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, sysex, index, group), n);
                EXPECT_EQ(std::memcmp(&out, &rec, 11), 0);
                EXPECT_EQ(std::memcmp(out.midi_string, rec.midi_string, len), 0);
                // string bytes beyond the length keep what the record held
                EXPECT_TRUE(AllBytesAre(out.midi_string + len, 21 - len, 0x5A));
            }
        }
    }
}

TEST(CodecAssignMidiRoundTrip, UndefinedRecordOfLengthZero)
{
    std::mt19937 rng(7);
    for (int rep = 0; rep < 20; rep++) {
        All_Params rec = FilledRecord(0);
        rec.ctrl_chain = static_cast<uint8_t>(rng());
        for (auto &b : rec.midi_string)
            b = static_cast<uint8_t>(rng());
        uint8_t sysex[SYSEX_BUFFER_SIZE];
        ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, 30, 2), 34);
        MakeDataAnswer(sysex);
        All_Params out = FilledRecord(0x77);
        ASSERT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, sysex, 30, 2), 34);
        EXPECT_EQ(std::memcmp(&out, &rec, 11), 0);
        EXPECT_TRUE(AllBytesAre(out.midi_string, 21, 0x77));
    }
}

TEST(CodecAssignMidiRoundTrip, EveryDataActionDecodes)
{
    DefaultAnswer a;
    for (unsigned action : {0u, 2u, 3u, 4u, 200u}) {
        All_Params out = FilledRecord(0);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(static_cast<uint8_t>(action), &out, a.sysex, 10, 3), 40);
        EXPECT_TRUE(SameRecord(out, DefaultRecord(3, 10))) << action;
    }
}

TEST(CodecAssignMidiDecoder, WrongKindIsMalformed)
{
    DefaultAnswer a;
    const All_Params before = FilledRecord(0x33);
    for (uint8_t kind : {0, 1, 2}) {
        a.sysex[6] = static_cast<uint8_t>(0x40 | kind);
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, a.sysex, 10, 3), 255);
        EXPECT_TRUE(SameRecord(out, before));
    }
}

TEST(CodecAssignMidiDecoder, AnswerForAnotherControlOrGroupIsMalformed)
{
    DefaultAnswer a;
    const All_Params before = FilledRecord(0x33);
    All_Params out = before;
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 11, 3), 255);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 4), 255);
    a.sysex[8] = 11;  // byte 8 names another control
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255);
    EXPECT_TRUE(SameRecord(out, before));
}

TEST(CodecAssignMidiDecoder, InvalidAddressIsAnInvalidRequest)
{
    DefaultAnswer a;
    const All_Params before = FilledRecord(0x33);
    All_Params out = before;
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 67, 3), 254);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 21), 254);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 2, 3), 254);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, a.sysex, 2, 3), 254);
    EXPECT_TRUE(SameRecord(out, before));
    // the kind test comes first
    a.sysex[6] = 0x41;
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 67, 3), 255);
}

TEST(CodecAssignMidiDecoder, AcknowledgeOutcomes)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    All_Params out = FilledRecord(0x21);
    const All_Params before = out;

    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, true, 12, 4);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 12, 4), 0);
    sysex[6] = 0x7B;  // other request bits do not matter
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 12, 4), 0);

    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, false, 12, 4);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 12, 4), 252);

    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, true, 12, 4);
    sysex[7] = 1;  // an acknowledge carries no data
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 12, 4), 255);

    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, true, 12, 4);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 13, 4), 255);  // another control
    sysex[6] = 0x1B;                                                   // echo of the write
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, sysex, 12, 4), 255);
    EXPECT_TRUE(SameRecord(out, before));

    // an acknowledge where data is expected is malformed
    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, true, 12, 4);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, sysex, 12, 4), 255);
    // a data answer where an acknowledge is expected is malformed
    DefaultAnswer a;
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(1, &out, a.sysex, 10, 3), 255);
    EXPECT_TRUE(SameRecord(out, before));
}

TEST(CodecAssignMidiDecoder, RejectedAnswersLeaveTheRecordUntouched)
{
    const All_Params before = FilledRecord(0x3C);
    // a bad nibble in each field and in each string byte
    for (size_t pos = 10; pos < 38; pos++) {
        DefaultAnswer a;
        a.sysex[pos] = static_cast<uint8_t>(a.sysex[pos] | 0x10);
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255) << "byte " << pos;
        EXPECT_TRUE(SameRecord(out, before)) << "byte " << pos;
    }
    // a checksum mismatch
    {
        DefaultAnswer a;
        a.sysex[38] = static_cast<uint8_t>((a.sysex[38] + 1) & 0x7F);
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255);
        EXPECT_TRUE(SameRecord(out, before));
    }
    // a nibble changed without fixing the checksum
    {
        DefaultAnswer a;
        a.sysex[11] = static_cast<uint8_t>(a.sysex[11] ^ 0x01);
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255);
        EXPECT_TRUE(SameRecord(out, before));
    }
    // a data answer of length 0
    {
        DefaultAnswer a;
        a.sysex[7] = 0;
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255);
        EXPECT_TRUE(SameRecord(out, before));
    }
}

TEST(CodecAssignMidiDecoder, DecodedLengthAboveTwentyOneIsRefused)
{
    for (unsigned len : {22u, 30u, 255u}) {
        // a well-formed answer apart from its length field, with a matching checksum
        // where the length would put it
        uint8_t sysex[SYSEX_BUFFER_SIZE] = {};
        All_Params rec = DefaultRecord(3, 10);
        rec.midi_str_lenght = static_cast<uint8_t>(len);
        Fill_Sysex_Header(sysex, 0x43, 64, 10, 3);
        uint8_t fields[11];
        std::memcpy(fields, &rec, 11);
        for (unsigned i = 0; i < 11; i++)
            Single_Byte_To_Nibbles(fields[i], &sysex[10 + 2 * i]);
        if (32 + 2 * len < SYSEX_BUFFER_SIZE)
            sysex[32 + 2 * len] = NibbleSum(sysex, 10, 22 + 2 * len);
        const All_Params before = FilledRecord(0x66);
        All_Params out = before;
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, sysex, 10, 3), 255) << len;
        EXPECT_TRUE(SameRecord(out, before));
    }
}

TEST(CodecAssignMidiDecoder, HeaderLengthIsNotComparedWithTheDecodedLength)
{
    DefaultAnswer a;
    a.sysex[7] = 64;  // claims 21 string bytes; the record has 3
    All_Params out = FilledRecord(0);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 76);
    EXPECT_EQ(out.midi_str_lenght, 3);
    EXPECT_EQ(out.midi_string[1], (8 * 3 + 10) & 0x7F);
}

TEST(CodecAssignMidiDecoder, LengthByteAboveSevenBitsIsMalformed)
{
    DefaultAnswer a;
    for (unsigned len : {0x80u, 0xEFu, 0xF7u, 0xFEu}) {
        a.sysex[7] = static_cast<uint8_t>(len);
        All_Params out = FilledRecord(0x11);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 255) << len;
        EXPECT_TRUE(SameRecord(out, FilledRecord(0x11)));
    }
    a.sysex[7] = 0x7F;
    All_Params out = FilledRecord(0x11);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 0x7F + 12);
}

TEST(CodecAssignMidiDecoder, TerminatorIsNotVerified)
{
    DefaultAnswer a;
    a.sysex[39] = 0x00;
    All_Params out = FilledRecord(0);
    EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, a.sysex, 10, 3), 40);
}

// =============================== LCD encoder =================================

TEST(CodecAssignLcdEncoder, ShortTextIsPaddedWithSpaces)
{
    GuardedSysex sysex;
    const uint8_t text[] = "ABC";
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex.data(), 5, 0), 44);
    Buffer expected = Bytes({0xF0, 0x00, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2, 0x00, 0x01, 0x19, 32, 5, 0,
                             0x04, 0x01, 0x04, 0x02, 0x04, 0x03});
    for (int i = 0; i < 13; i++) {
        expected.push_back(0x02);
        expected.push_back(0x00);
    }
    const unsigned checksum = (4 + 1 + 4 + 2 + 4 + 3 + 13 * 2) & 0x7F;
    expected.push_back(static_cast<uint8_t>(checksum));
    expected.push_back(0xF7);
    EXPECT_EQ(Slice(sysex.data(), 0, 44), expected);
    EXPECT_TRUE(AllBytesAre(sysex.data() + 44, SYSEX_BUFFER_SIZE - 44, 0));
    EXPECT_TRUE(sysex.GuardIntact());
}

TEST(CodecAssignLcdEncoder, ActionsGiveTheirCodes)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    const uint8_t text[] = "    CC # 101";
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(1, text, sysex, 40, 12), 44);
    EXPECT_EQ(sysex[6], 0x09);
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, text, sysex, 40, 12), 11);
    EXPECT_EQ(Slice(sysex, 0, 11),
              Bytes({0xF0, 0x00, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2, 0x00, 0x01, 0x31, 0, 40, 12, 0xF7}));
    EXPECT_TRUE(AllBytesAre(sysex + 11, SYSEX_BUFFER_SIZE - 11, 0));
}

TEST(CodecAssignLcdEncoder, OnlySixteenCharactersAreRead)
{
    // exactly 16 characters with no NUL, followed by a character that would be refused
    const uint8_t text[17] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F', '\t'};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex, 66, 20), 44);
    EXPECT_EQ(sysex[40], 0x04);
    EXPECT_EQ(sysex[41], 0x06);
    EXPECT_EQ(sysex[43], 0xF7);
}

TEST(CodecAssignLcdEncoder, EmptyTextIsSixteenSpaces)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    const uint8_t text[1] = {0};
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex, 8, 1), 44);
    for (unsigned i = 0; i < 16; i++) {
        EXPECT_EQ(sysex[10 + 2 * i], 0x02);
        EXPECT_EQ(sysex[11 + 2 * i], 0x00);
    }
    EXPECT_EQ(sysex[42], 32);
}

TEST(CodecAssignLcdEncoder, NonPrintableCharactersAreRefusedAfterClearing)
{
    for (uint8_t bad : {0x09, 0x01, 0x1F, 0x7F, 0x80, 0xE9, 0xFF}) {
        uint8_t text[] = "Tab here";
        text[3] = bad;
        GuardedSysex sysex;
        EXPECT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex.data(), 5, 0), 254) << int(bad);
        EXPECT_TRUE(AllBytesAre(sysex.data(), SYSEX_BUFFER_SIZE, 0));
        EXPECT_TRUE(sysex.GuardIntact());
    }
    // the boundaries pass
    const uint8_t edge[] = {0x20, 0x7E, 0};
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    EXPECT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, edge, sysex, 5, 0), 44);
}

TEST(CodecAssignLcdEncoder, InvalidAddressLeavesTheBufferUntouched)
{
    const uint8_t text[] = "ABC";
    const uint8_t bad[][2] = {{67, 0}, {5, 21}, {3, 1}, {200, 200}};
    for (const auto &addr : bad) {
        for (uint8_t action = 0; action < 3; action++) {
            GuardedSysex sysex;
            EXPECT_EQ(Cvq9_Lcd_Assign_To_Sysex(action, text, sysex.data(), addr[0], addr[1]), 254);
            EXPECT_TRUE(AllBytesAre(sysex.data(), sizeof sysex.bytes, 0xAA));
        }
    }
}

// =============================== LCD decoder =================================

TEST(CodecAssignLcdRoundTrip, RandomTextsOfEveryLength)
{
    std::mt19937 rng(99);
    for (size_t len = 0; len <= 16; len++) {
        for (int rep = 0; rep < 10; rep++) {
            const std::string text = RandomPrintable(rng, len);
            const uint8_t group = static_cast<uint8_t>(rep * 2);
            const uint8_t index = static_cast<uint8_t>(5 + rep * 6);
            uint8_t sysex[SYSEX_BUFFER_SIZE];
            ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(static_cast<uint8_t>(rep % 2),
                                               reinterpret_cast<const uint8_t *>(text.c_str()), sysex, index, group),
                      44);
            EXPECT_EQ(sysex[42], NibbleSum(sysex, 10, 32));
            const uint8_t answers[] = {0x41, 0x71, 0x59};
            sysex[6] = answers[rep % 3];

            uint8_t out[18];
            std::memset(out, 0xAA, sizeof out);
            for (unsigned action : {0u, 1u, 3u, 4u}) {
                ASSERT_EQ(Cvq9_Sysex_To_Lcd_Assign(static_cast<uint8_t>(action), out, sysex, index, group), 44);
                const std::string padded = text + std::string(16 - len, ' ');
                EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 16), padded);
                EXPECT_EQ(out[16], 0);
                EXPECT_EQ(out[17], 0xAA) << "nothing beyond the 17 bytes";
            }
        }
    }
}

TEST(CodecAssignLcdDecoder, AcknowledgeOutcomes)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    uint8_t out[17];
    std::memset(out, 0x41, sizeof out);
    MakeAcknowledge(sysex, SYSEX_KIND_LCD, true, 5, 0);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(2, out, sysex, 5, 0), 0);
    MakeAcknowledge(sysex, SYSEX_KIND_LCD, false, 5, 0);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(2, out, sysex, 5, 0), 252);
    MakeAcknowledge(sysex, SYSEX_KIND_LCD, true, 5, 0);
    sysex[7] = 32;
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(2, out, sysex, 5, 0), 255);
    MakeAcknowledge(sysex, SYSEX_KIND_LCD, true, 5, 0);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(2, out, sysex, 5, 1), 255);
    // a MIDI acknowledge is not an LCD acknowledge
    MakeAcknowledge(sysex, SYSEX_KIND_MIDI, true, 5, 0);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(2, out, sysex, 5, 0), 255);
    EXPECT_TRUE(AllBytesAre(out, sizeof out, 0x41));
}

TEST(CodecAssignLcdDecoder, RejectedDataAnswersLeaveTheTextUntouched)
{
    uint8_t out[17];
    auto reset = [&out] { std::memset(out, 0x41, sizeof out); };

    uint8_t sysex[SYSEX_BUFFER_SIZE];
    LcdEncodeAnswer("Hello", sysex, 20, 2);
    reset();
    ASSERT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 2), 44);

    // wrong kind
    LcdEncodeAnswer("Hello", sysex, 20, 2);
    sysex[6] = 0x43;
    reset();
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 2), 255);
    // invalid request
    LcdEncodeAnswer("Hello", sysex, 20, 2);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 67, 2), 254);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 21), 254);
    // another control, another group
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 21, 2), 255);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 3), 255);
    // wrong length
    for (uint8_t len : {0, 31, 33, 64}) {
        LcdEncodeAnswer("Hello", sysex, 20, 2);
        sysex[7] = len;
        EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 2), 255);
    }
    // bad nibble anywhere in the text
    for (size_t pos = 10; pos < 42; pos++) {
        LcdEncodeAnswer("Hello", sysex, 20, 2);
        sysex[pos] = static_cast<uint8_t>(sysex[pos] | 0x20);
        EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 2), 255) << pos;
    }
    // checksum mismatch
    LcdEncodeAnswer("Hello", sysex, 20, 2);
    sysex[42] = static_cast<uint8_t>((sysex[42] + 1) & 0x7F);
    EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, sysex, 20, 2), 255);
    EXPECT_TRUE(AllBytesAre(out, sizeof out, 0x41));
}
