// Helpers shared by the tests of the firmware-shared codec (codec_*_test.cpp,
// record_*_test.cpp): random valid records and texts, the controller's answer
// to a write, and byte-buffer comparisons.
#ifndef CVQ9_CODEC_TEST_SUPPORT_H
#define CVQ9_CODEC_TEST_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cross_functions.h"

namespace codec_test {

using Buffer = std::vector<uint8_t>;

inline Buffer Bytes(std::initializer_list<int> values)
{
    Buffer out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

inline Buffer Slice(const uint8_t *data, size_t from, size_t count)
{
    return Buffer(data + from, data + from + count);
}

inline bool AllBytesAre(const uint8_t *data, size_t count, uint8_t value)
{
    for (size_t i = 0; i < count; i++)
        if (data[i] != value)
            return false;
    return true;
}

inline bool SameRecord(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline All_Params FilledRecord(uint8_t value)
{
    All_Params r;
    std::memset(&r, value, sizeof r);
    return r;
}

// The 7-bit running sum of nibble bytes [from, from + count).
inline uint8_t NibbleSum(const uint8_t *sysex, size_t from, size_t count)
{
    unsigned sum = 0;
    for (size_t i = from; i < from + count; i++)
        sum = (sum + sysex[i]) & 0x7Fu;
    return static_cast<uint8_t>(sum);
}

// The controller's data answer to the request an encoded write stands for:
// bit 6 plus the kind bits of the message (the request and write flags are dropped).
inline void MakeDataAnswer(uint8_t *sysex)
{
    sysex[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | (sysex[6] & SYSEX_KIND_MASK));
}

// An acknowledge from the controller: header only, length 0, then 0xF7.
inline void MakeAcknowledge(uint8_t *sysex, uint8_t kind, bool accepted, uint8_t index, uint8_t group)
{
    std::memset(sysex, 0, SYSEX_BUFFER_SIZE);
    uint8_t code = static_cast<uint8_t>(SYSEX_ANSWER_BIT | kind);
    if (accepted)
        code = static_cast<uint8_t>(code | SYSEX_ACK_BIT);
    Fill_Sysex_Header(sysex, code, 0, index, group);
    sysex[10] = SYSEX_END;
}

// A random record that CheckMidiStruct passes (code 0 or 3) with string length len (1..21)
// for the control `index`; the unused string bytes are random too.
inline All_Params RandomValidRecord(std::mt19937 &rng, uint8_t len, uint8_t index)
{
    auto byte = [&rng](unsigned lo, unsigned hi) {
        return static_cast<uint8_t>(std::uniform_int_distribution<unsigned>(lo, hi)(rng));
    };
    All_Params r;
    for (auto &b : r.midi_string)
        b = byte(0, 255);
    r.midi_str_lenght = len;
    r.ctrl_status_0 = byte(0, 255);
    r.ctrl_status_1 = static_cast<uint8_t>(byte(0, 255) | 0x08u);   // MIDI Out 1
    r.ctrl_status_2 = static_cast<uint8_t>(byte(0, 255) & ~0x10u);  // no nibble mode
    r.ctrl_value_min = byte(0, 127);
    r.ctrl_value_max = byte(r.ctrl_value_min, 127);
    // distinct insertion positions within the string, 0 allowed
    std::vector<uint8_t> positions;
    for (unsigned p = 1; p <= len; p++)
        positions.push_back(static_cast<uint8_t>(p));
    std::shuffle(positions.begin(), positions.end(), rng);
    auto pick = [&](size_t i) -> uint8_t { return (i < positions.size() && byte(0, 3) != 0) ? positions[i] : 0; };
    r.midi_channel_position = pick(0);
    r.ctrl_value_position_0 = pick(1);
    r.ctrl_value_position_1 = pick(2);
    r.checksum_start_position = byte(0, len);
    uint8_t chain;
    do {
        chain = byte(0, 67);
    } while (index != 0 && chain == index);
    r.ctrl_chain = static_cast<uint8_t>(chain | (byte(0, 1) << 7));
    r.midi_string[0] = byte(0x80, 0xFD);
    for (unsigned i = 1; i < len; i++) {
        do {
            r.midi_string[i] = byte(0, 255);
        } while (r.midi_string[i] >= 0xFE);
    }
    return r;
}

// A random printable text of `len` characters (0x20..0x7E).
inline std::string RandomPrintable(std::mt19937 &rng, size_t len)
{
    std::string s;
    for (size_t i = 0; i < len; i++)
        s.push_back(static_cast<char>(std::uniform_int_distribution<int>(0x20, 0x7E)(rng)));
    return s;
}

}  // namespace codec_test

#endif
