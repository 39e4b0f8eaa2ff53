// The code shared with the firmware: the message framing, the control
// assignment and common parameter messages byte for byte, their refusals
// (which never change the caller's data) and round trips; the initial values
// and the checks of a record (every code, its bounds and the order of the rules).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "cross_functions.h"
#include "test_support.h"

namespace {

using Buffer = std::vector<uint8_t>;

// A message buffer of SYSEX_BUFFER_SIZE bytes filled with 0xAA, and a guard byte past them.
struct Sysex {
    uint8_t b[SYSEX_BUFFER_SIZE + 1];
    Sysex() { std::memset(b, 0xAA, sizeof b); }
    // The message: the bytes up to the last one not 0 ({} for a cleared buffer); {0xEE} when the guard byte
    // was written.
    Buffer Message() const
    {
        const uint8_t *end = b + SYSEX_BUFFER_SIZE;
        while (end > b && end[-1] == 0)
            --end;
        return b[SYSEX_BUFFER_SIZE] == 0xAA ? Buffer(b, end) : Buffer{0xEE};
    }
    bool Untouched() const
    {
        return std::all_of(b, b + sizeof b, [](uint8_t x) { return x == 0xAA; });
    }
};

// The default record of a control (InitMidiStruct), its other bytes 0.
All_Params DefaultRecord(uint8_t group, uint8_t index)
{
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, group, index, 1);
    return r;
}

// The controller's answers to an encoded message: its data answer (bit 6 and the kind bits of the code), or an
// acknowledge (header of length 0, then 0xF7).
void MakeDataAnswer(uint8_t *sysex)
{
    sysex[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | (sysex[6] & SYSEX_KIND_MASK));
}

void MakeAcknowledge(uint8_t *sysex, uint8_t kind, bool accepted, uint8_t index, uint8_t group)
{
    std::memset(sysex, 0, SYSEX_BUFFER_SIZE);
    Fill_Sysex_Header(sysex, static_cast<uint8_t>(SYSEX_ANSWER_BIT | kind | (accepted ? SYSEX_ACK_BIT : 0u)), 0, index,
                      group);
    sysex[SYSEX_HEADER_LENGHT] = SYSEX_END;
}

// A message to decode: the data answer to a write ('D'), or an acknowledge
// accepting ('A') or refusing ('R') it, with byte `at` (when not 0) set to
// `value`; then how it is decoded and the result expected.
struct Spoiled {
    char base;
    uint8_t at, value, action, index, group, expected;
    void Apply(uint8_t *s, uint8_t kind) const
    {
        if (base == 'D')
            MakeDataAnswer(s);
        else
            MakeAcknowledge(s, kind, base == 'A', s[8], s[9]);
        if (at)
            s[at] = value;
    }
};

}  // namespace

TEST(CodecFraming, HeaderAndRequestChecks)
{
    Sysex s;
    Fill_Sysex_Header(s.b, 0x43, 0x1C, 5, 3);
    EXPECT_EQ(Buffer(s.b, s.b + 11), HexBytes("F0 00 3F 51 00 01 43 1C 05 03 AA"));
    for (uint8_t kind = 0; kind < 4; ++kind) {
        s.b[6] = static_cast<uint8_t>(0x40 | kind);  // the kind bits are not looked at
        EXPECT_EQ(Check_Valid_Sysex_Header(s.b, 5, 3), 0x1C);
    }
    for (size_t i = 0; i < 10; ++i) {
        Fill_Sysex_Header(s.b, 0x43, 0x1C, 5, 3);
        s.b[i] ^= (i == 6) ? 0x40 : 0x01;  // bit 6 of the code marks an answer
        EXPECT_EQ(Check_Valid_Sysex_Header(s.b, 5, 3), i == 7 ? 0x1D : 255) << "byte " << i;
    }
    struct Case {
        uint8_t index, group, expected;
    };
    const Case assignment[] = {{0, 0, 0},   {4, 0, 0},    {4, 1, 254},   {0, 20, 254}, {5, 0, 0},    {5, 20, 0},
                               {66, 20, 0}, {67, 0, 254}, {255, 0, 254}, {5, 21, 254}, {5, 255, 254}};
    for (uint8_t code : {0x1B, 0x0B, 0x33, 0x43, 0x73, 0x19, 0x09, 0x31, 0x41, 0x51})
        for (const Case &c : assignment)
            EXPECT_EQ(Check_invalid_request(code, c.index, c.group), c.expected) << int(code) << " " << &c - assignment;
    const Case common[] = {{0, 0, 0},    {38, 0, 0},    {38, 20, 0},   {38, 21, 254},
                           {39, 0, 254}, {126, 0, 254}, {128, 0, 254}, {255, 0, 254}};
    for (uint8_t code : {0x00, 0x30, 0x40, 0x60, 0x70})
        for (const Case &c : common)
            EXPECT_EQ(Check_invalid_request(code, c.index, c.group), c.expected) << int(code) << " " << &c - common;
    // The identity may only be asked for (bit 5); kind 2 is never refused.
    const std::pair<uint8_t, uint8_t> identity[] = {{0x00, 254}, {0x40, 254}, {0x20, 0}, {0x30, 0}, {0x60, 0}};
    for (const auto &c : identity)
        EXPECT_EQ(Check_invalid_request(c.first, 127, 0), c.second) << int(c.first);
    EXPECT_EQ(Check_invalid_request(0x30, 127, 21), 254);
    EXPECT_EQ(Check_invalid_request(0x02, 255, 255) + Check_invalid_request(0x42, 127, 0), 0);
}

TEST(CodecFraming, NibblesRoundTripAndDigitsAboveFifteenAreRefused)
{
    for (unsigned b = 0; b < 256; ++b) {
        uint8_t pair[3] = {0, 0, 0xAA}, back = 0;
        const uint8_t sum = Single_Byte_To_Nibbles(static_cast<uint8_t>(b), pair);
        EXPECT_EQ(Buffer(pair, pair + 3), Buffer({uint8_t(b >> 4), uint8_t(b & 15), 0xAA}));
        EXPECT_EQ(sum, (b >> 4) + (b & 15));
        EXPECT_EQ(Nibbles_To_Single_Byte(&back, pair), sum);
        EXPECT_EQ(back, b);
        for (unsigned low : {0u, 0x0Fu, 0x10u, 0x80u}) {
            const uint8_t src[2] = {static_cast<uint8_t>(b), static_cast<uint8_t>(low)};
            uint8_t data = 0x5A;
            const bool refused = Nibbles_To_Single_Byte(&data, src) == 255;
            EXPECT_EQ(refused, b > 15 || low > 15);
            EXPECT_EQ(data, refused ? 0x5A : ((b << 4) | low));
        }
    }
}

TEST(CodecMidiAssign, WritesByteForByte)
{
    const All_Params rec = DefaultRecord(0, 5);
    const Buffer expected = HexBytes("F0 00 3F 51 00 01 1B 1C 05 00 00 05 09 0C 00 00 00 03 00 01"
                                     " 00 03 00 00 00 00 07 0F 00 00 00 00 0B 00 00 05 00 00 47 F7");
    for (uint8_t action : {0, 1, 7}) {  // any action but 0 and 2 writes without acknowledge
        Sysex s;
        ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, s.b, 5, 0), 40);
        EXPECT_EQ(s.b[6], action ? 0x0B : 0x1B);
        s.b[6] = 0x1B;
        EXPECT_EQ(s.Message(), expected);
    }
    Sysex s;
    const All_Params hostile = FilledRecord(0xFF);  // a request does not look at the record
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &hostile, s.b, 66, 20), 11);
    EXPECT_EQ(s.Message(), HexBytes("F0 00 3F 51 00 01 33 00 42 14 F7"));

    All_Params longest = DefaultRecord(1, 20);
    longest.midi_str_lenght = 21;
    std::iota(longest.midi_string + 1, longest.midi_string + 21, 1);
    longest.ctrl_status_1 |= 0x01;  // a MIDI delay
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &longest, s.b, 20, 1), 76);
    EXPECT_EQ(s.b[7], 64);
    EXPECT_EQ(Buffer(s.b + 32, s.b + 34), HexBytes("0B 00")) << "string bytes go high nibble first";
    EXPECT_EQ(Buffer(s.b + 72, s.b + 128), Buffer({0x01, 0x04, NibbleSum(s.b, 10, 64), 0xF7}) + Buffer(52, 0));

    All_Params undefined = FilledRecord(0);  // sent with its chain, without its string
    undefined.ctrl_chain = 9;
    undefined.midi_string[0] = 0xB0;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &undefined, s.b, 9, 0), 34);
    EXPECT_EQ(s.Message(), HexBytes("F0 00 3F 51 00 01 1B 16 09 00" + Repeat(" 00", 20) + " 00 09 09 F7"));

    All_Params warned = DefaultRecord(0, 6);  // a long string without delay is a warning: sent
    warned.midi_str_lenght = 15;
    warned.ctrl_status_1 = 0x08;
    ASSERT_EQ(CheckMidiStruct(&warned, 6), 3);
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &warned, s.b, 6, 0), 64);
}

TEST(CodecMidiAssign, RefusedWrites)
{
    const All_Params rec = DefaultRecord(0, 10);
    const uint8_t bad_addresses[][2] = {{67, 0}, {255, 0}, {10, 21}, {10, 255}, {0, 1}, {4, 20}};
    for (const auto &a : bad_addresses)
        for (uint8_t action = 0; action < 3; action++) {
            Sysex s;
            EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, s.b, a[0], a[1]), 254);
            EXPECT_TRUE(s.Untouched());
        }
    // Codes 5 and 15, then lengths above 21, refused as the warning 3 (no delay) and as the failure 8.
    const uint8_t failing[][3] = {{3, 0x9C, 200}, {3, 0x10, 0}, {22, 0x08, 0}, {255, 0x08, 0}, {22, 0x09, 0}};
    for (const auto &f : failing)
        for (uint8_t action : {0, 1}) {
            All_Params r = DefaultRecord(0, 7);
            r.midi_str_lenght = f[0];
            r.ctrl_status_1 = f[1];
            r.ctrl_value_min = f[2];
            Sysex s;
            EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &r, s.b, 7, 0), 254);
            EXPECT_EQ(s.Message(), Buffer()) << "cleared, nothing encoded";
        }
}

TEST(CodecMidiAssign, RandomValidRecordsRoundTrip)
{
    std::mt19937 rng(12345);
    const uint8_t addresses[][2] = {{0, 0}, {4, 0}, {5, 0}, {27, 11}, {50, 7}, {65, 20}, {66, 20}};
    const uint8_t answers[] = {0x43, 0x73, 0x5B};  // bit 6 and the kind, request bits or not
    for (uint8_t len = 1; len <= MIDI_STRING_MAX_LENGHT; len++)
        for (const auto &a : addresses)
            for (int rep = 0; rep < 8; rep++) {
                const All_Params rec = RandomValidRecord(rng, len, a[0]);
                uint8_t s[SYSEX_BUFFER_SIZE];
                const uint8_t n = Cvq9_Midi_Assign_To_Sysex(static_cast<uint8_t>(rep % 2), &rec, s, a[0], a[1]);
                ASSERT_EQ(n, 2 * (11 + len) + 12);
                ASSERT_EQ(Buffer({s[6], s[n - 2], s[n - 1]}),
                          Buffer({uint8_t(rep % 2 ? 0x0B : 0x1B), NibbleSum(s, 10, n - 12), 0xF7}));
                s[6] = answers[rep % 3];
                All_Params out = FilledRecord(0x5A);
                ASSERT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, s, a[0], a[1]), n);
                All_Params expected = FilledRecord(0x5A);  // string bytes beyond the length keep their values
                std::memcpy(&expected, &rec, 11 + len);
                EXPECT_TRUE(SameRecord(out, expected));
            }
}

TEST(CodecMidiAssign, DecoderOutcomes)
{
    // From the data answer for control 10 of group 3 or an acknowledge of it.
    // Data: any action but 1; the length byte is not compared with the
    // record's, nor is the end byte looked at; the kind is tested before the
    // address; then a wrong checksum, a field changed without its checksum,
    // bad lengths, data where an acknowledge is expected. Acknowledges: other
    // request bits, a length, another control, the echo of the write, an
    // acknowledge where data is expected. Last, decoded string lengths of 35
    // and 243, refused before the checksum is looked at.
    const Spoiled cases[] = {
        {'D', 0, 0, 0, 10, 3, 40},     {'D', 0, 0, 200, 10, 3, 40},    {'D', 7, 64, 3, 10, 3, 76},
        {'D', 7, 0x7F, 3, 10, 3, 139}, {'D', 39, 0, 3, 10, 3, 40},     {'D', 6, 0x41, 3, 10, 3, 255},
        {'D', 6, 0x40, 1, 10, 3, 255}, {'D', 6, 0x42, 3, 10, 3, 255},  {'D', 6, 0x41, 3, 67, 3, 255},
        {'D', 0, 0, 3, 11, 3, 255},    {'D', 0, 0, 3, 10, 4, 255},     {'D', 8, 11, 3, 10, 3, 255},
        {'D', 0, 0, 3, 67, 3, 254},    {'D', 0, 0, 3, 10, 21, 254},    {'D', 0, 0, 3, 2, 3, 254},
        {'D', 0, 0, 1, 2, 3, 254},     {'D', 38, 0x46, 3, 10, 3, 255}, {'D', 11, 3, 3, 10, 3, 255},
        {'D', 7, 0, 3, 10, 3, 255},    {'D', 7, 0x80, 3, 10, 3, 255},  {'D', 7, 0xF7, 3, 10, 3, 255},
        {'D', 7, 0xFE, 3, 10, 3, 255}, {'D', 0, 0, 1, 10, 3, 255},     {'A', 0, 0, 1, 10, 3, 0},
        {'R', 0, 0, 1, 10, 3, 252},    {'A', 6, 0x7B, 1, 10, 3, 0},    {'A', 7, 1, 1, 10, 3, 255},
        {'A', 0, 0, 1, 11, 3, 255},    {'A', 6, 0x1B, 1, 10, 3, 255},  {'A', 0, 0, 3, 10, 3, 255},
        {'D', 16, 2, 3, 10, 3, 255},   {'D', 16, 0x0F, 3, 10, 3, 255},
    };
    const All_Params rec = DefaultRecord(3, 10);
    auto decode = [&rec](const Spoiled &c, int bad_nibble_at) {
        uint8_t s[SYSEX_BUFFER_SIZE];
        EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, s, 10, 3), 40);
        EXPECT_EQ(s[38], 0x45);
        c.Apply(s, SYSEX_KIND_MIDI);
        if (bad_nibble_at)
            s[bad_nibble_at] |= 0x10;
        All_Params out = FilledRecord(0x33), expected = FilledRecord(0x33);  // changed only by decoded data
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(c.action, &out, s, c.index, c.group), c.expected);
        if (c.expected >= 12 && c.expected < 251)
            std::memcpy(&expected, &rec, 11 + 3);
        return SameRecord(out, expected);
    };
    for (const Spoiled &c : cases)
        EXPECT_TRUE(decode(c, 0)) << "case " << &c - cases;
    for (int pos = 10; pos < 38; pos++)  // a bad nibble in each field and string byte
        EXPECT_TRUE(decode({'D', 0, 0, 3, 10, 3, 255}, pos)) << "byte " << pos;
}

TEST(CodecLcdAssign, TextsArePaddedToSixteenPrintableCharacters)
{
    auto encode = [](uint8_t action, const char *text, uint8_t index, uint8_t group) {
        Sysex s;
        const uint8_t n = Cvq9_Lcd_Assign_To_Sysex(action, reinterpret_cast<const uint8_t *>(text), s.b, index, group);
        return n == 254 ? Buffer({254}) + s.Message() : s.Message();
    };
    const std::string header = "F0 00 3F 51 00 01 19 20 ";
    EXPECT_EQ(encode(0, "ABC", 5, 0), HexBytes(header + "05 00 04 01 04 02 04 03" + Repeat(" 02 00", 13) + " 2C F7"));
    EXPECT_EQ(encode(1, "", 8, 1), HexBytes("F0 00 3F 51 00 01 09 20 08 01" + Repeat(" 02 00", 16) + " 20 F7"));
    EXPECT_EQ(encode(ACTION_READ_REQUEST, "ABC", 40, 12), HexBytes("F0 00 3F 51 00 01 31 00 28 0C F7"));
    // Sixteen characters at most are read, so a 17th that would be refused is not.
    EXPECT_EQ(encode(0, "0123456789ABCDEF\t", 66, 20),
              HexBytes(header + "42 14 03 00 03 01 03 02 03 03 03 04 03 05 03 06 03 07 03 08 03 09 04 01 04 02 04 03"
                                " 04 04 04 05 04 06 78 F7"));
    EXPECT_EQ(encode(0, "\x20\x7E", 5, 0).size(), 44u);
    for (const char *bad : {"Tab\there", "\x01", "\x1F", "\x7F", "\x80", "caf\xE9", "\xFF"})
        EXPECT_EQ(encode(0, bad, 5, 0), Buffer({254})) << "cleared, nothing encoded";
    const uint8_t bad_addresses[][2] = {{67, 0}, {5, 21}, {3, 1}, {200, 200}};
    for (const auto &a : bad_addresses)
        for (uint8_t action = 0; action < 3; action++)
            EXPECT_EQ(encode(action, "ABC", a[0], a[1]), Buffer({254}) + Buffer(128, 0xAA)) << "untouched";
}

TEST(CodecLcdAssign, RoundTripAndDecoderOutcomes)
{
    std::mt19937 rng(99);
    const uint8_t answers[] = {0x41, 0x71, 0x59};
    for (size_t len = 0; len <= 16; len++)
        for (int rep = 0; rep < 10; rep++) {
            const std::string text = RandomPrintable(rng, len);
            const uint8_t group = static_cast<uint8_t>(rep * 2), index = static_cast<uint8_t>(5 + rep * 6);
            uint8_t s[SYSEX_BUFFER_SIZE], out[18];
            ASSERT_EQ(
                Cvq9_Lcd_Assign_To_Sysex(rep % 2, reinterpret_cast<const uint8_t *>(text.c_str()), s, index, group),
                44);
            EXPECT_EQ(s[42], NibbleSum(s, 10, 32));
            s[6] = answers[rep % 3];
            for (uint8_t action : {0, 1, 3, 4}) {
                std::memset(out, 0xAA, sizeof out);
                ASSERT_EQ(Cvq9_Sysex_To_Lcd_Assign(action, out, s, index, group), 44);
                EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 18),
                          text + std::string(16 - len, ' ') + '\0' + '\xAA');
            }
        }
    // From the answer with "Hello" for control 20 of group 2, or an acknowledge
    // of it: an acknowledge with a length, for another group, of a MIDI record;
    // data of another kind, address or length, or with a wrong checksum.
    const Spoiled cases[] = {
        {'D', 0, 0, 4, 20, 2, 44},     {'A', 0, 0, 2, 20, 2, 0},    {'R', 0, 0, 2, 20, 2, 252},
        {'A', 7, 32, 2, 20, 2, 255},   {'A', 0, 0, 2, 20, 3, 255},  {'A', 6, 0x5B, 2, 20, 2, 255},
        {'D', 6, 0x43, 4, 20, 2, 255}, {'D', 0, 0, 4, 67, 2, 254},  {'D', 0, 0, 4, 20, 21, 254},
        {'D', 0, 0, 4, 21, 2, 255},    {'D', 0, 0, 4, 20, 3, 255},  {'D', 7, 0, 4, 20, 2, 255},
        {'D', 7, 31, 4, 20, 2, 255},   {'D', 7, 33, 4, 20, 2, 255}, {'D', 7, 64, 4, 20, 2, 255},
        {'D', 42, 0, 4, 20, 2, 255},
    };
    auto decode = [](const Spoiled &c, int bad_nibble_at) {
        uint8_t s[SYSEX_BUFFER_SIZE], out[17];
        Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, reinterpret_cast<const uint8_t *>("Hello"), s, 20, 2);
        c.Apply(s, SYSEX_KIND_LCD);
        if (bad_nibble_at)
            s[bad_nibble_at] |= 0x20;
        std::memset(out, 'A', sizeof out);
        EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(c.action, out, s, c.index, c.group), c.expected);
        return std::string(reinterpret_cast<char *>(out), 17) ==
               (c.expected == 44 ? "Hello" + std::string(11, ' ') + '\0' : std::string(17, 'A'));
    };
    for (const Spoiled &c : cases)
        EXPECT_TRUE(decode(c, 0)) << "case " << &c - cases;
    for (int pos = 10; pos < 42; pos++)  // a bad nibble anywhere in the text
        EXPECT_TRUE(decode({'D', 0, 0, 4, 20, 2, 255}, pos)) << "byte " << pos;
}

TEST(CodecCommon, WritesAndRequestsByteForByte)
{
    auto encode = [](uint8_t action, uint8_t address, uint8_t *values, uint8_t group) {
        Sysex s;
        const uint8_t n = Cvq9_Common_Param_To_Sysex(action, address, values, s.b, group);
        return n == 254 ? Buffer{254} + s.Message() : s.Message();
    };
    for (uint8_t g : {0, 7, 20}) {
        uint8_t tempo[1] = {100};  // 130 BPM, sent as two nibbles
        EXPECT_EQ(encode(0, COMMON_PARAM_TEMPO, tempo, g),
                  HexBytes("F0 00 3F 51 00 01 00 02 20") + Buffer({g, 6, 4, 0xF7}));
        EXPECT_EQ(tempo[0], 100);
    }
    char name[] = "   Group 03   ";
    EXPECT_EQ(encode(0, COMMON_PARAM_GROUP_NAME, reinterpret_cast<uint8_t *>(name), 3),
              HexBytes("F0 00 3F 51 00 01 00 1C 26 03 02 00 02 00 02 00 04 07 07 02 06 0F 07 05 07 00"
                       " 02 00 03 00 03 03 02 00 02 00 02 00 F7"));
    uint8_t curve[64];
    for (unsigned i = 0; i < 64; i++)
        curve[i] = static_cast<uint8_t>(127 - i);
    EXPECT_EQ(encode(0, COMMON_PARAM_CURVE2_HIGH, curve, 9),
              HexBytes("F0 00 3F 51 00 01 00 40 25 09") + Buffer(curve, curve + 64) + Buffer{0xF7});
    uint8_t raw[1] = {0x7F};
    EXPECT_EQ(encode(1, 11, raw, 0), HexBytes("F0 00 3F 51 00 01 00 01 0B 00 7F F7"));
    for (uint8_t a : {0, 1, 3, 4, 5, 11, 32, 33, 34, 35, 36, 37, 38, 127}) {
        const uint8_t group = a == 127 ? 0 : 20, length = a == 127 ? 11 : a == 38 ? 28 : a == 32 ? 2 : a > 33 ? 64 : 1;
        EXPECT_EQ(Get_Common_Param_Data_Lenght(a), length) << int(a);
        EXPECT_EQ(encode(ACTION_READ_REQUEST, a, nullptr, group),
                  HexBytes("F0 00 3F 51 00 01 30") + Buffer({length, a, group, 0xF7}));
    }
    EXPECT_EQ(Get_Common_Param_Data_Lenght(39) + Get_Common_Param_Data_Lenght(255), 2);
    const uint8_t bad_requests[][2] = {{39, 0}, {126, 0}, {255, 0}, {0, 21}, {38, 21}, {127, 21}};
    for (const auto &a : bad_requests)  // cleared but for the end byte
        EXPECT_EQ(encode(ACTION_READ_REQUEST, a[0], nullptr, a[1]), Buffer{254} + Buffer(10, 0) + Buffer{0xF7});
    // Refused writes: the identity, an invalid address or group, a byte above 7 bits, a curve point of 128.
    const uint8_t bad_writes[][4] = {{127, 0, 0, 0},  {39, 0, 0, 0},    {200, 0, 0, 0},   {0, 21, 0, 0},
                                     {34, 255, 0, 0}, {0, 0, 0, 0x80},  {33, 0, 0, 0x80}, {11, 0, 0, 0x80},
                                     {34, 0, 0, 128}, {35, 0, 31, 128}, {37, 0, 63, 128}};
    for (const auto &w : bad_writes)
        for (uint8_t action : {0, 1}) {
            uint8_t values[64];
            std::iota(values, values + 64, 0);
            values[w[2]] = w[3] ? w[3] : values[w[2]];
            EXPECT_EQ(encode(action, w[0], values, w[1]), Buffer{254}) << int(w[0]);
        }
}

TEST(CodecCommon, GroupNameIsPaddedInTheCallersBufferBeforeItIsChecked)
{
    const struct {
        std::string given;
        uint8_t group;
        std::string after;
        uint8_t expected;
    } cases[] = {
        {std::string("Drums\0", 6), 0, std::string("Drums         \0", 15), 39},
        {"ABCDEFGHIJKLMNO", 20, std::string("ABCDEFGHIJKLMN\0", 15), 39},  // no NUL: cut at 14
        {std::string("\0QQ", 3), 1, std::string(14, ' ') + '\0', 39},
        {std::string("A\x7F\0", 3), 2, "A\x7F" + std::string(12, ' ') + '\0', 254},
        {std::string("A\x1F\0", 3), 2, "A\x1F" + std::string(12, ' ') + '\0', 254},
        {std::string("ZZZ\0", 4), 21, std::string("ZZZ\0XXXXXXXXXXX", 15), 254},  // invalid group: not padded
    };
    for (const auto &c : cases) {
        uint8_t name[16];
        std::memset(name, 'X', sizeof name);
        name[15] = 0xEE;  // past the 15 bytes: never touched
        std::memcpy(name, c.given.data(), std::min<size_t>(c.given.size(), 15));
        Sysex s;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(c.group % 2, COMMON_PARAM_GROUP_NAME, name, s.b, c.group), c.expected);
        EXPECT_EQ(std::string(reinterpret_cast<char *>(name), 16), c.after + '\xEE') << c.after;
        EXPECT_EQ(s.Message().size(), c.expected == 39 ? 39u : 0u);
    }
}

TEST(CodecCommon, RoundTrips)
{
    auto round_trip = [](uint8_t address, uint8_t *in, uint8_t *out, uint8_t group) {
        uint8_t s[SYSEX_BUFFER_SIZE];
        const uint8_t n = Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, address, in, s, group);
        EXPECT_EQ(n, Get_Common_Param_Data_Lenght(address) + 11) << int(address);
        MakeDataAnswer(s);
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(address, out, s, group), n + 1) << int(address);
    };
    for (unsigned a = 0; a <= COMMON_PARAM_OPERATING; a++)
        for (unsigned v = 0; v < (a == COMMON_PARAM_TEMPO ? 256u : 128u); v++) {
            uint8_t in[1] = {static_cast<uint8_t>(v)}, out[2] = {0xAA, 0xAA};
            round_trip(static_cast<uint8_t>(a), in, out, static_cast<uint8_t>(v % 21));
            ASSERT_EQ(Buffer(out, out + 2), Buffer({uint8_t(v), 0xAA})) << a;
        }
    std::mt19937 rng(5);
    for (int rep = 0; rep < 20; rep++)
        for (uint8_t a = COMMON_PARAM_CURVE1_LOW; a <= COMMON_PARAM_CURVE2_HIGH; a++) {
            uint8_t curve[64], out[65];
            for (uint8_t &p : curve)
                p = static_cast<uint8_t>(rng() & 0x7F);
            std::memset(out, 0xAA, sizeof out);
            round_trip(a, curve, out, 20);
            EXPECT_EQ(Buffer(out, out + 65), Buffer(curve, curve + 64) + Buffer{0xAA});
        }
    for (uint8_t g = 0; g < GROUP_NB; g++)
        for (size_t len = 0; len <= 14; len++) {
            const std::string text = RandomPrintable(rng, len);
            uint8_t name[15] = {}, out[16];
            std::memcpy(name, text.data(), len);
            std::memset(out, 0xAA, sizeof out);
            round_trip(COMMON_PARAM_GROUP_NAME, name, out, g);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 16),
                      text + std::string(14 - len, ' ') + '\0' + '\xAA');
        }
}

TEST(CodecCommon, DecoderOutcomes)
{
    // From the answer giving 5 to address 4 of group 4: nothing after the data
    // is looked at, an 8-bit byte is copied as received; another group,
    // address or length, another kind, an echo, an invalid address or group.
    struct Case {
        uint8_t at, value, address, group, expected, out;
    };
    const Case cases[] = {
        {0, 0, 4, 4, 13, 5},        {11, 0, 4, 4, 13, 5},       {10, 0x9F, 4, 4, 13, 0x9F}, {0, 0, 4, 5, 255, 0x55},
        {0, 0, 3, 4, 255, 0x55},    {7, 2, 4, 4, 255, 0x55},    {6, 0x41, 4, 4, 255, 0x55}, {6, 0x42, 4, 4, 255, 0x55},
        {6, 0x43, 4, 4, 255, 0x55}, {6, 0x00, 4, 4, 255, 0x55}, {0, 0, 39, 4, 254, 0x55},   {0, 0, 4, 21, 254, 0x55},
    };
    for (const Case &c : cases) {
        uint8_t v[1] = {5}, out[1] = {0x55}, s[SYSEX_BUFFER_SIZE];
        Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, 4, v, s, 4);
        MakeDataAnswer(s);
        if (c.at)
            s[c.at] = c.value;
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(c.address, out, s, c.group), c.expected) << &c - cases;
        EXPECT_EQ(out[0], c.out) << &c - cases;
    }
    // The identity answer: eleven raw bytes, valid with bit 5 only.
    uint8_t s[SYSEX_BUFFER_SIZE] = {}, out[12];
    const Buffer identity = HexBytes("01 06 02 00 12 34 56 78 01 02 03");
    Fill_Sysex_Header(s, 0x70, 11, 127, 0);
    std::copy(identity.begin(), identity.end(), s + 10);
    for (const auto &code : {std::pair<uint8_t, uint8_t>{0x70, 23}, {0x60, 23}, {0x40, 254}, {0x70, 255}}) {
        std::memset(out, 0xAA, sizeof out);
        s[6] = code.first;
        s[7] = code.second == 255 ? 10 : 11;
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, s, 0), code.second);
        EXPECT_EQ(Buffer(out, out + 12), (code.second == 23 ? identity : Buffer(11, 0xAA)) + Buffer{0xAA});
    }
    // A bad nibble in a group name or the tempo changes nothing.
    for (size_t pos = 10; pos < 38; pos++) {
        const bool tempo = pos >= 36;
        uint8_t values[15] = "Keys", got[15];
        Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, tempo ? COMMON_PARAM_TEMPO : COMMON_PARAM_GROUP_NAME, values, s,
                                   6);
        MakeDataAnswer(s);
        s[tempo ? pos - 26 : pos] |= 0x10;
        std::memset(got, 0x55, sizeof got);
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(tempo ? COMMON_PARAM_TEMPO : COMMON_PARAM_GROUP_NAME, got, s, 6), 255);
        EXPECT_EQ(Buffer(got, got + 15), Buffer(15, 0x55)) << pos;
    }
}

TEST(RecordDefaults, ControlKinds)
{
    const std::pair<uint8_t, uint8_t> kinds[] = {{0, 0},  {4, 0},  {5, 1},  {49, 1},   {50, 0},
                                                 {65, 0}, {66, 1}, {67, 0}, {68, 254}, {255, 254}};
    for (const auto &k : kinds)
        EXPECT_EQ(GetControlType(k.first), k.second) << int(k.first);
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
    EXPECT_EQ(Buffer(block, block + 41), Buffer(40, 0) + Buffer{0xAA});
    InitUserCurves(block, 1);
    for (unsigned i = 0; i < USER_CURVE_POINTS; i++)
        EXPECT_EQ(block[i], i);
    InitUserCurves(block, 0);
    EXPECT_EQ(Buffer(block, block + 129), Buffer(128, 0) + Buffer{0xAA});
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
        All_Params r = DefaultRecord(0, 7);  // code 0: CC 7 on a channel, value in byte 3, MIDI Out 1 and 2
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
