// The message codec shared with the firmware: the framing, the control
// assignment and common parameter messages byte for byte, their refusals
// (which never change the caller's data) and their round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "cross_functions.h"
#include "test_support.h"

namespace {

using Buffer = std::vector<uint8_t>;

// A message buffer filled with 0xAA and one guard byte past its 128 bytes.
struct Sysex {
    uint8_t b[SYSEX_BUFFER_SIZE + 1];
    Sysex() { std::memset(b, 0xAA, sizeof b); }
    Buffer Head(size_t n) const { return Buffer(b, b + n); }
    // Bytes from..127 all hold `value` and the guard byte is intact.
    bool RestIs(size_t from, uint8_t value) const
    {
        return std::all_of(b + from, b + SYSEX_BUFFER_SIZE, [value](uint8_t x) { return x == value; }) &&
               b[SYSEX_BUFFER_SIZE] == 0xAA;
    }
};

All_Params Default(uint8_t group, uint8_t index)
{
    All_Params r = FilledRecord(0);
    InitMidiStruct(&r, group, index, 1);
    return r;
}

Buffer operator+(Buffer bytes, uint8_t last)
{
    bytes.push_back(last);
    return bytes;
}

uint8_t Sum(const uint8_t *s, size_t from, size_t count)
{
    return static_cast<uint8_t>(std::accumulate(s + from, s + from + count, 0u) & 0x7F);
}

// Turns an encoded write into the controller's data answer to it.
void Answer(uint8_t *s)
{
    s[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | (s[6] & SYSEX_KIND_MASK));
}

// The controller's acknowledge: a header of length 0, then the end byte.
void Ack(uint8_t *s, uint8_t kind, bool accepted, uint8_t index, uint8_t group)
{
    std::memset(s, 0, SYSEX_BUFFER_SIZE);
    Fill_Sysex_Header(s, static_cast<uint8_t>(SYSEX_ANSWER_BIT | kind | (accepted ? SYSEX_ACK_BIT : 0)), 0, index,
                      group);
    s[10] = SYSEX_END;
}

// A random record that CheckMidiStruct passes, of string length len (1..21).
All_Params RandomValidRecord(std::mt19937 &rng, uint8_t len, uint8_t index)
{
    auto pick = [&rng](unsigned lo, unsigned hi) { return static_cast<uint8_t>(lo + rng() % (hi - lo + 1)); };
    All_Params r;
    for (uint8_t &b : r.midi_string)
        b = pick(0, 255);
    r.midi_string[0] = pick(0x80, 0xFD);
    for (unsigned i = 1; i < len; ++i)
        r.midi_string[i] = pick(0, 0xFD);
    r.midi_str_lenght = len;
    r.ctrl_status_0 = pick(0, 255);
    r.ctrl_status_1 = static_cast<uint8_t>(pick(0, 255) | 0x08);   // MIDI Out 1
    r.ctrl_status_2 = static_cast<uint8_t>(pick(0, 255) & ~0x10);  // no nibble mode
    r.ctrl_value_min = pick(0, 127);
    r.ctrl_value_max = pick(r.ctrl_value_min, 127);
    std::vector<uint8_t> positions(len);
    std::iota(positions.begin(), positions.end(), 1);
    std::shuffle(positions.begin(), positions.end(), rng);
    positions.resize(3, 0);
    r.midi_channel_position = rng() % 4 ? positions[0] : 0;
    r.ctrl_value_position_0 = rng() % 4 ? positions[1] : 0;
    r.ctrl_value_position_1 = rng() % 4 ? positions[2] : 0;
    r.checksum_start_position = pick(0, len);
    uint8_t chain;
    do {
        chain = pick(0, 67);
    } while (index != 0 && chain == index);
    r.ctrl_chain = static_cast<uint8_t>(chain | (rng() % 2) << 7);
    return r;
}

std::string RandomPrintable(std::mt19937 &rng, size_t len)
{
    std::string s;
    while (s.size() < len)
        s.push_back(static_cast<char>(0x20 + rng() % 0x5F));
    return s;
}

// A message to decode: a data answer ('D'), or an acknowledge accepting ('A')
// or refusing ('R') it, with byte `at` (when not 0) set to `value`; then how
// it is decoded and the result expected.
struct Spoiled {
    char base;
    uint8_t at, value, action, index, group, expected;
    void Apply(uint8_t *s, uint8_t kind) const
    {
        if (base == 'D')
            Answer(s);
        else
            Ack(s, kind, base == 'A', s[8], s[9]);
        if (at)
            s[at] = value;
    }
    friend std::ostream &operator<<(std::ostream &out, const Spoiled &c)
    {
        return out << c.base << " byte " << int(c.at) << " = " << int(c.value) << ", action " << int(c.action)
                   << " for " << int(c.index) << "/" << int(c.group);
    }
};

}  // namespace

// ---- Framing

TEST(CodecFraming, HeaderIsTenSevenBitBytesAndItsCheckTestsEachOne)
{
    Sysex s;
    Fill_Sysex_Header(s.b, 0x43, 0x1C, 5, 3);
    EXPECT_EQ(s.Head(10), HexBytes("F0 00 3F 51 00 01 43 1C 05 03"));
    EXPECT_TRUE(s.RestIs(10, 0xAA));
    for (uint8_t kind = 0; kind < 4; ++kind) {
        s.b[6] = static_cast<uint8_t>(0x40 | kind);  // the kind bits are not looked at
        EXPECT_EQ(Check_Valid_Sysex_Header(s.b, 5, 3), 0x1C);
    }
    for (size_t i = 0; i < 10; ++i) {
        Fill_Sysex_Header(s.b, 0x43, 0x1C, 5, 3);
        s.b[i] ^= (i == 6) ? 0x40 : 0x01;  // bit 6 of the code marks an answer
        EXPECT_EQ(Check_Valid_Sysex_Header(s.b, 5, 3), i == 7 ? 0x1D : 255) << "byte " << i;
    }
}

TEST(CodecFraming, RequestCheckBounds)
{
    struct Case {
        uint8_t index, group, expected;
    };
    const Case assignment[] = {{0, 0, 0},   {4, 0, 0},    {4, 1, 254},   {0, 20, 254}, {5, 0, 0},    {5, 20, 0},
                               {66, 20, 0}, {67, 0, 254}, {255, 0, 254}, {5, 21, 254}, {5, 255, 254}};
    for (uint8_t code : {0x1B, 0x0B, 0x33, 0x43, 0x73, 0x19, 0x09, 0x31, 0x41, 0x51})
        for (const Case &c : assignment)
            EXPECT_EQ(Check_invalid_request(code, c.index, c.group), c.expected)
                << int(code) << " " << int(c.index) << "/" << int(c.group);
    const Case common[] = {{0, 0, 0},    {38, 0, 0},    {38, 20, 0},   {38, 21, 254},
                           {39, 0, 254}, {126, 0, 254}, {128, 0, 254}, {255, 0, 254}};
    for (uint8_t code : {0x00, 0x30, 0x40, 0x60, 0x70})
        for (const Case &c : common)
            EXPECT_EQ(Check_invalid_request(code, c.index, c.group), c.expected)
                << int(code) << " " << int(c.index) << "/" << int(c.group);
    // The identity may only be asked for (bit 5); kind 2 is never refused.
    for (uint8_t code : {0x00, 0x40})
        EXPECT_EQ(Check_invalid_request(code, 127, 0), 254);
    for (uint8_t code : {0x20, 0x30, 0x60})
        EXPECT_EQ(Check_invalid_request(code, 127, 0), 0);
    EXPECT_EQ(Check_invalid_request(0x30, 127, 21), 254);
    EXPECT_EQ(Check_invalid_request(0x02, 255, 255), 0);
    EXPECT_EQ(Check_invalid_request(0x42, 127, 0), 0);
}

TEST(CodecFraming, NibblesRoundTripAndDigitsAboveFifteenAreRefused)
{
    for (unsigned b = 0; b < 256; ++b) {
        uint8_t pair[3] = {0, 0, 0xAA};
        const uint8_t sum = Single_Byte_To_Nibbles(static_cast<uint8_t>(b), pair);
        EXPECT_EQ(Buffer(pair, pair + 3), Buffer({uint8_t(b >> 4), uint8_t(b & 15), 0xAA}));
        EXPECT_EQ(sum, (b >> 4) + (b & 15));
        uint8_t back = 0;
        EXPECT_EQ(Nibbles_To_Single_Byte(&back, pair), sum);
        EXPECT_EQ(back, b);
        for (unsigned low : {0u, 0x0Fu, 0x10u, 0x80u}) {
            const uint8_t src[2] = {static_cast<uint8_t>(b), static_cast<uint8_t>(low)};
            uint8_t data = 0x5A;
            const uint8_t result = Nibbles_To_Single_Byte(&data, src);
            EXPECT_EQ(result == 255, b > 15 || low > 15);
            EXPECT_EQ(data, result == 255 ? 0x5A : ((b << 4) | low));
        }
    }
}

// ---- Control assignment: MIDI record

TEST(CodecMidiAssign, DefaultRecordByteForByteAndTheOtherActions)
{
    const All_Params rec = Default(0, 5);
    Sysex s;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, s.b, 5, 0), 40);
    EXPECT_EQ(s.Head(40), HexBytes("F0 00 3F 51 00 01 1B 1C 05 00 00 05 09 0C 00 00 00 03 00 01"
                                   " 00 03 00 00 00 00 07 0F 00 00 00 00 0B 00 00 05 00 00 47 F7"));
    EXPECT_TRUE(s.RestIs(40, 0));
    for (uint8_t action : {1, 7}) {  // any action but 0 and 2 writes without acknowledge
        Sysex n;
        ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, n.b, 5, 0), 40);
        EXPECT_EQ(n.b[6], 0x0B);
        n.b[6] = 0x1B;
        EXPECT_EQ(n.Head(SYSEX_BUFFER_SIZE), s.Head(SYSEX_BUFFER_SIZE));
    }
    const All_Params hostile = FilledRecord(0xFF);  // a request does not look at the record
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &hostile, s.b, 66, 20), 11);
    EXPECT_EQ(s.Head(11), HexBytes("F0 00 3F 51 00 01 33 00 42 14 F7"));
    EXPECT_TRUE(s.RestIs(11, 0));
}

TEST(CodecMidiAssign, MessageLengthFollowsTheStringLength)
{
    All_Params longest = Default(1, 20);
    longest.midi_str_lenght = 21;
    for (unsigned i = 1; i < 21; i++)
        longest.midi_string[i] = static_cast<uint8_t>(i);
    longest.ctrl_status_1 |= 0x01;  // a MIDI delay
    Sysex s;
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &longest, s.b, 20, 1), 76);
    EXPECT_EQ(s.b[7], 64);
    EXPECT_EQ(Buffer(s.b + 32, s.b + 34), HexBytes("0B 00"));  // string bytes travel high nibble first
    EXPECT_EQ(Buffer(s.b + 72, s.b + 76), Buffer({0x01, 0x04, Sum(s.b, 10, 64), 0xF7}));
    EXPECT_TRUE(s.RestIs(76, 0));

    All_Params undefined = FilledRecord(0);  // sent with its chain, without its string
    undefined.ctrl_chain = 9;
    undefined.midi_string[0] = 0xB0;
    ASSERT_EQ(CheckMidiStruct(&undefined, 9), 2);
    ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &undefined, s.b, 9, 0), 34);
    EXPECT_EQ(s.b[7], 22);
    EXPECT_EQ(Buffer(s.b + 30, s.b + 34), HexBytes("00 09 09 F7"));
    EXPECT_TRUE(s.RestIs(34, 0));

    All_Params warned = Default(0, 6);  // long string without delay: a warning, still sent
    warned.midi_str_lenght = 15;
    warned.ctrl_status_1 = 0x08;
    ASSERT_EQ(CheckMidiStruct(&warned, 6), 3);
    EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &warned, s.b, 6, 0), 64);
}

TEST(CodecMidiAssign, RefusedWrites)
{
    const All_Params rec = Default(0, 10);
    const uint8_t bad_addresses[][2] = {{67, 0}, {255, 0}, {10, 21}, {10, 255}, {0, 1}, {4, 20}};
    for (const auto &a : bad_addresses)
        for (uint8_t action = 0; action < 3; action++) {
            Sysex s;
            EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &rec, s.b, a[0], a[1]), 254);
            EXPECT_TRUE(s.RestIs(0, 0xAA)) << "untouched";
        }
    // Codes 5 and 15, then lengths above 21, refused as the warning 3 (no delay) and as the failure 8.
    const uint8_t failing[][3] = {{3, 0x9C, 200}, {3, 0x10, 0}, {22, 0x08, 0}, {255, 0x08, 0}, {22, 0x09, 0}};
    for (const auto &f : failing)
        for (uint8_t action : {0, 1}) {
            All_Params r = Default(0, 7);
            r.midi_str_lenght = f[0];
            r.ctrl_status_1 = f[1];
            r.ctrl_value_min = f[2];
            Sysex s;
            EXPECT_EQ(Cvq9_Midi_Assign_To_Sysex(action, &r, s.b, 7, 0), 254);
            EXPECT_TRUE(s.RestIs(0, 0)) << "cleared, nothing encoded";
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
                ASSERT_LE(CheckMidiStruct(&rec, a[0]), 4);
                uint8_t s[SYSEX_BUFFER_SIZE];
                const uint8_t n = Cvq9_Midi_Assign_To_Sysex(static_cast<uint8_t>(rep % 2), &rec, s, a[0], a[1]);
                ASSERT_EQ(n, 2 * (11 + len) + 12);
                ASSERT_EQ(s[6], rep % 2 ? 0x0B : 0x1B);
                ASSERT_EQ(s[n - 2], Sum(s, 10, n - 12));
                ASSERT_EQ(s[n - 1], 0xF7);
                s[6] = answers[rep % 3];
                All_Params out = FilledRecord(0x5A);
                ASSERT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, s, a[0], a[1]), n);
                EXPECT_EQ(std::memcmp(&out, &rec, 11 + len), 0);
                EXPECT_TRUE(std::all_of(out.midi_string + len, out.midi_string + 21, [](uint8_t x) {
                    return x == 0x5A;
                })) << "string bytes beyond the length keep what the record held";
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
    // acknowledge where data is expected.
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
    };
    const All_Params rec = Default(3, 10);
    for (const Spoiled &c : cases) {
        uint8_t s[SYSEX_BUFFER_SIZE];
        ASSERT_EQ(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, s, 10, 3), 40);
        ASSERT_EQ(s[38], 0x45);
        c.Apply(s, SYSEX_KIND_MIDI);
        All_Params out = FilledRecord(0x33);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(c.action, &out, s, c.index, c.group), c.expected) << "case " << &c - cases;
        All_Params expected = FilledRecord(0x33);  // changed only by decoded data
        if (c.expected >= 12 && c.expected < 251)
            std::memcpy(&expected, &rec, 11 + 3);
        EXPECT_TRUE(SameRecord(out, expected)) << "case " << &c - cases;
    }
    for (size_t pos = 10; pos < 38; pos++) {  // a bad nibble in each field and string byte
        uint8_t s[SYSEX_BUFFER_SIZE];
        Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, s, 10, 3);
        Answer(s);
        s[pos] |= 0x10;
        All_Params out = FilledRecord(0x33);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, s, 10, 3), 255) << "byte " << pos;
        EXPECT_TRUE(SameRecord(out, FilledRecord(0x33)));
    }
    for (unsigned len : {22u, 30u, 255u}) {  // a decoded length above 21, whatever the checksum
        uint8_t s[SYSEX_BUFFER_SIZE] = {};
        Fill_Sysex_Header(s, 0x43, 64, 10, 3);
        All_Params r = rec;
        r.midi_str_lenght = static_cast<uint8_t>(len);
        for (unsigned i = 0; i < 11; i++)
            Single_Byte_To_Nibbles(reinterpret_cast<uint8_t *>(&r)[i], &s[10 + 2 * i]);
        if (32 + 2 * len < SYSEX_BUFFER_SIZE)
            s[32 + 2 * len] = Sum(s, 10, 22 + 2 * len);
        All_Params out = FilledRecord(0x66);
        EXPECT_EQ(Cvq9_Sysex_To_Midi_Assign(3, &out, s, 10, 3), 255) << len;
        EXPECT_TRUE(SameRecord(out, FilledRecord(0x66)));
    }
}

// ---- Control assignment: LCD text

namespace {

std::string Repeat(const std::string &text, size_t times)
{
    std::string out;
    while (times--)
        out += text;
    return out;
}

const uint8_t *Bytes(const char *text)
{
    return reinterpret_cast<const uint8_t *>(text);
}

}  // namespace

TEST(CodecLcdAssign, TextsArePaddedToSixteenPrintableCharacters)
{
    Sysex s;
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes("ABC"), s.b, 5, 0), 44);
    EXPECT_EQ(s.Head(44),
              HexBytes("F0 00 3F 51 00 01 19 20 05 00 04 01 04 02 04 03" + Repeat(" 02 00", 13) + " 2C F7"));
    EXPECT_TRUE(s.RestIs(44, 0));
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_NO_ACK, Bytes("ABC"), s.b, 40, 12), 44);
    EXPECT_EQ(s.b[6], 0x09);
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, Bytes("ABC"), s.b, 40, 12), 11);
    EXPECT_EQ(s.Head(11), HexBytes("F0 00 3F 51 00 01 31 00 28 0C F7"));
    EXPECT_TRUE(s.RestIs(11, 0));
    // Sixteen characters at most are read: a 17th that would be refused is not.
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes("0123456789ABCDEF\t"), s.b, 66, 20), 44);
    EXPECT_EQ(Buffer(s.b + 40, s.b + 42), HexBytes("04 06"));
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes(""), s.b, 8, 1), 44);
    EXPECT_EQ(Buffer(s.b + 10, s.b + 44), HexBytes(Repeat(" 02 00", 16) + " 20 F7"));
    ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes("\x20\x7E"), s.b, 5, 0), 44);

    for (uint8_t bad : {0x09, 0x01, 0x1F, 0x7F, 0x80, 0xE9, 0xFF}) {
        uint8_t text[] = "Tab here";
        text[3] = bad;
        Sysex r;
        EXPECT_EQ(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, r.b, 5, 0), 254) << int(bad);
        EXPECT_TRUE(r.RestIs(0, 0)) << "cleared, nothing encoded";
    }
    const uint8_t bad_addresses[][2] = {{67, 0}, {5, 21}, {3, 1}, {200, 200}};
    for (const auto &a : bad_addresses)
        for (uint8_t action = 0; action < 3; action++) {
            Sysex r;
            EXPECT_EQ(Cvq9_Lcd_Assign_To_Sysex(action, Bytes("ABC"), r.b, a[0], a[1]), 254);
            EXPECT_TRUE(r.RestIs(0, 0xAA)) << "untouched";
        }
}

TEST(CodecLcdAssign, RandomTextsRoundTrip)
{
    std::mt19937 rng(99);
    const uint8_t answers[] = {0x41, 0x71, 0x59};
    for (size_t len = 0; len <= 16; len++)
        for (int rep = 0; rep < 10; rep++) {
            const std::string text = RandomPrintable(rng, len);
            const uint8_t group = static_cast<uint8_t>(rep * 2), index = static_cast<uint8_t>(5 + rep * 6);
            uint8_t s[SYSEX_BUFFER_SIZE];
            ASSERT_EQ(Cvq9_Lcd_Assign_To_Sysex(static_cast<uint8_t>(rep % 2), Bytes(text.c_str()), s, index, group),
                      44);
            EXPECT_EQ(s[42], Sum(s, 10, 32));
            s[6] = answers[rep % 3];
            for (uint8_t action : {0, 1, 3, 4}) {
                uint8_t out[18];
                std::memset(out, 0xAA, sizeof out);
                ASSERT_EQ(Cvq9_Sysex_To_Lcd_Assign(action, out, s, index, group), 44);
                EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 18),
                          text + std::string(16 - len, ' ') + '\0' + '\xAA');
            }
        }
}

TEST(CodecLcdAssign, DecoderOutcomes)
{
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
    for (const Spoiled &c : cases) {
        uint8_t s[SYSEX_BUFFER_SIZE], out[17];
        Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes("Hello"), s, 20, 2);
        c.Apply(s, SYSEX_KIND_LCD);
        std::memset(out, 0x41, sizeof out);
        EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(c.action, out, s, c.index, c.group), c.expected) << "case " << &c - cases;
        EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 17),
                  c.expected == 44 ? "Hello" + std::string(11, ' ') + '\0' : std::string(17, 'A'))
            << c;
    }
    for (size_t pos = 10; pos < 42; pos++) {  // a bad nibble anywhere in the text
        uint8_t s[SYSEX_BUFFER_SIZE], out[17];
        Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, Bytes("Hello"), s, 20, 2);
        Answer(s);
        s[pos] |= 0x20;
        std::memset(out, 0x41, sizeof out);
        EXPECT_EQ(Cvq9_Sysex_To_Lcd_Assign(4, out, s, 20, 2), 255) << pos;
        EXPECT_EQ(std::string(reinterpret_cast<char *>(out), 17), std::string(17, 'A'));
    }
}

// ---- Common parameters

TEST(CodecCommon, DataLengthOfEachAddress)
{
    for (unsigned a = 0; a < 256; ++a) {
        const unsigned expected = (a >= 34 && a <= 37) ? 64 : a == 38 ? 28 : a == 32 ? 2 : a == 127 ? 11 : 1;
        EXPECT_EQ(Get_Common_Param_Data_Lenght(static_cast<uint8_t>(a)), expected) << a;
    }
}

TEST(CodecCommon, WritesByteForByte)
{
    for (uint8_t g : {0, 7, 20}) {
        uint8_t tempo[1] = {100};  // 130 BPM, sent as two nibbles
        Sysex s;
        ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_TEMPO, tempo, s.b, g), 13);
        Buffer expected = HexBytes("F0 00 3F 51 00 01 00 02 20");
        expected.insert(expected.end(), {g, 0x06, 0x04, 0xF7});
        EXPECT_EQ(s.Head(13), expected);
        EXPECT_TRUE(s.RestIs(13, 0));
        EXPECT_EQ(tempo[0], 100);
    }
    char name[] = "   Group 03   ";
    Sysex s;
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, reinterpret_cast<uint8_t *>(name),
                                         s.b, 3),
              39);
    EXPECT_EQ(s.Head(39), HexBytes("F0 00 3F 51 00 01 00 1C 26 03 02 00 02 00 02 00 04 07 07 02 06 0F 07 05 07 00"
                                   " 02 00 03 00 03 03 02 00 02 00 02 00 F7"));
    EXPECT_TRUE(s.RestIs(39, 0));
    uint8_t curve[64];
    for (unsigned i = 0; i < 64; i++)
        curve[i] = static_cast<uint8_t>(127 - i);
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_CURVE2_HIGH, curve, s.b, 9), 75);
    EXPECT_EQ(s.Head(10), HexBytes("F0 00 3F 51 00 01 00 40 25 09"));
    EXPECT_EQ(Buffer(s.b + 10, s.b + 74), Buffer(curve, curve + 64));
    EXPECT_EQ(s.b[74], 0xF7);
    EXPECT_TRUE(s.RestIs(75, 0));
    uint8_t raw[1] = {0x7F};
    ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, 11, raw, s.b, 0), 12);
    EXPECT_EQ(Buffer(s.b + 6, s.b + 12), HexBytes("00 01 0B 00 7F F7"));
}

TEST(CodecCommon, GroupNameIsPaddedInTheCallersBufferBeforeItIsChecked)
{
    struct Case {
        std::string given;
        uint8_t group;
        std::string after;
        uint8_t expected;
    };
    const Case cases[] = {
        {std::string("Drums\0", 6), 0, std::string("Drums         \0", 15), 39},
        {"ABCDEFGHIJKLMNO", 20, std::string("ABCDEFGHIJKLMN\0", 15), 39},  // no NUL: cut at 14
        {std::string("\0QQ", 3), 1, std::string(14, ' ') + '\0', 39},
        {std::string("A\x7F\0", 3), 2, "A\x7F" + std::string(12, ' ') + '\0', 254},
        {std::string("A\x80\0", 3), 2, "A\x80" + std::string(12, ' ') + '\0', 254},
        {std::string("ZZZ\0", 4), 21, std::string("ZZZ\0XXXXXXXXXXX", 15), 254},  // invalid group: not padded
    };
    for (const Case &c : cases) {
        uint8_t name[16];
        std::memset(name, 'X', sizeof name);
        name[15] = 0xEE;  // past the 15 bytes: never touched
        std::memcpy(name, c.given.data(), std::min<size_t>(c.given.size(), 15));
        Sysex s;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(c.group % 2, COMMON_PARAM_GROUP_NAME, name, s.b, c.group), c.expected);
        EXPECT_EQ(std::string(reinterpret_cast<char *>(name), 15), c.after) << c.after;
        EXPECT_EQ(name[15], 0xEE);
        EXPECT_TRUE(c.expected != 254 || s.RestIs(0, 0)) << "cleared, nothing encoded";
    }
}

TEST(CodecCommon, ReadRequestsAndRefusedWrites)
{
    for (uint8_t a : {0, 1, 3, 4, 5, 11, 32, 33, 34, 35, 36, 37, 38, 127}) {
        Sysex s;
        ASSERT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, a, nullptr, s.b, a == 127 ? 0 : 20), 11);
        Buffer expected = HexBytes("F0 00 3F 51 00 01 30");
        expected.insert(expected.end(), {Get_Common_Param_Data_Lenght(a), a, uint8_t(a == 127 ? 0 : 20), 0xF7});
        EXPECT_EQ(s.Head(11), expected);
        EXPECT_TRUE(s.RestIs(11, 0));
    }
    const uint8_t bad_requests[][2] = {{39, 0}, {126, 0}, {255, 0}, {0, 21}, {38, 21}, {127, 21}};
    for (const auto &a : bad_requests) {
        Sysex s;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, a[0], nullptr, s.b, a[1]), 254);
        EXPECT_EQ(s.Head(11), HexBytes("00 00 00 00 00 00 00 00 00 00 F7")) << "cleared but for the end byte";
        EXPECT_TRUE(s.RestIs(11, 0));
    }
    uint8_t zeros[64] = {};
    const uint8_t bad_writes[][2] = {{127, 0}, {39, 0}, {200, 0}, {0, 21}, {34, 255}};
    for (const auto &a : bad_writes)
        for (uint8_t action : {0, 1}) {
            Sysex s;
            EXPECT_EQ(Cvq9_Common_Param_To_Sysex(action, a[0], zeros, s.b, a[1]), 254) << int(a[0]);
            EXPECT_TRUE(s.RestIs(0, 0));
        }
    for (uint8_t a : {0, 1, 3, 4, 5, 11, 33}) {  // a raw byte above 7 bits
        uint8_t v[1] = {0x80};
        Sysex s;
        EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, a, v, s.b, 0), 254) << int(a);
        EXPECT_TRUE(s.RestIs(0, 0));
    }
    for (uint8_t a = COMMON_PARAM_CURVE1_LOW; a <= COMMON_PARAM_CURVE2_HIGH; a++)
        for (size_t at : {0, 31, 63}) {
            uint8_t curve[64];
            std::iota(curve, curve + 64, 0);
            curve[at] = 128;
            Sysex s;
            EXPECT_EQ(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, a, curve, s.b, 0), 254);
            EXPECT_TRUE(s.RestIs(0, 0));
        }
}

TEST(CodecCommon, RoundTrips)
{
    auto round_trip = [](uint8_t address, uint8_t *in, uint8_t *out, uint8_t group) {
        uint8_t s[SYSEX_BUFFER_SIZE];
        const uint8_t n = Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, address, in, s, group);
        EXPECT_EQ(n, Get_Common_Param_Data_Lenght(address) + 11) << int(address);
        Answer(s);
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
            EXPECT_EQ(Buffer(out, out + 65), Buffer(curve, curve + 64) + 0xAA);
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
    uint8_t params[COMMON_PARAMS_LENGHT], back[COMMON_PARAMS_LENGHT] = {};
    InitCommonParams(params, 1);
    for (uint8_t a : {0, 1, 3, 4, 5, 11, 32, 33})
        round_trip(a, &params[a], &back[a], 0);
    EXPECT_EQ(Buffer(back, back + 40), Buffer(params, params + 40));
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
        Answer(s);
        if (c.at)
            s[c.at] = c.value;
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(c.address, out, s, c.group), c.expected) << int(c.at);
        EXPECT_EQ(out[0], c.out) << int(c.at);
    }
    // The identity answer: eleven raw bytes, valid with bit 5 only.
    uint8_t s[SYSEX_BUFFER_SIZE] = {}, out[12];
    const Buffer identity = HexBytes("01 06 02 00 12 34 56 78 01 02 03");
    Fill_Sysex_Header(s, 0x70, 11, 127, 0);
    std::copy(identity.begin(), identity.end(), s + 10);
    s[21] = SYSEX_END;
    for (uint8_t code : {0x70, 0x60}) {
        std::memset(out, 0xAA, sizeof out);
        s[6] = code;
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, s, 0), 23);
        EXPECT_EQ(Buffer(out, out + 12), identity + 0xAA);
    }
    std::memset(out, 0xAA, sizeof out);
    s[6] = 0x40;
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, s, 0), 254);
    s[6] = 0x70;
    s[7] = 10;
    EXPECT_EQ(Cvq9_Sysex_To_Common_Param(127, out, s, 0), 255);
    EXPECT_EQ(Buffer(out, out + 12), Buffer(12, 0xAA));
    // A bad nibble in a group name or the tempo changes nothing.
    for (size_t pos = 10; pos < 38; pos++) {
        uint8_t name[15] = "Keys", got[15];
        Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, s, 6);
        Answer(s);
        s[pos] |= 0x10;
        std::memset(got, 0x55, sizeof got);
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_GROUP_NAME, got, s, 6), 255) << pos;
        EXPECT_EQ(Buffer(got, got + 15), Buffer(15, 0x55));
    }
    for (size_t pos : {10, 11}) {
        uint8_t tempo[1] = {100}, got[1] = {0x55};
        Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_TEMPO, tempo, s, 0);
        Answer(s);
        s[pos] = 0x10;
        EXPECT_EQ(Cvq9_Sysex_To_Common_Param(COMMON_PARAM_TEMPO, got, s, 0), 255);
        EXPECT_EQ(got[0], 0x55);
    }
}
