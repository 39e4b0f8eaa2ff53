// Simulated controller: request parsing and answers from its own memory.
#include "simulated_q9.h"

#include <algorithm>
#include <cstring>

namespace {

const uint8_t kHeader[6] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01};

bool ValidAssignAddress(uint8_t index, uint8_t group)
{
    if (index > 66 || group > 20)
        return false;
    return index > 4 || group == 0;
}

// Reads `count` bytes coded as nibble pairs from m[from]; false on a bad nibble.
bool ReadNibbles(const SimulatedQ9::Bytes &m, size_t from, size_t count, uint8_t *out, unsigned &sum)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t hi = m[from + 2 * i];
        const uint8_t lo = m[from + 2 * i + 1];
        if (hi > 0x0F || lo > 0x0F)
            return false;
        out[i] = static_cast<uint8_t>(hi * 16 + lo);
        sum = (sum + hi + lo) % 128;
    }
    return true;
}

void WriteNibbles(SimulatedQ9::Bytes &m, const uint8_t *data, size_t count, unsigned &sum)
{
    for (size_t i = 0; i < count; ++i) {
        m.insert(m.end(), {static_cast<uint8_t>(data[i] / 16), static_cast<uint8_t>(data[i] % 16)});
        sum = (sum + data[i] / 16 + data[i] % 16) % 128;
    }
}

// A header, then `count` bytes as nibble pairs, their checksum and the end.
SimulatedQ9::Bytes NibbleAnswer(SimulatedQ9::Bytes answer, const uint8_t *data, size_t count)
{
    unsigned sum = 0;
    WriteNibbles(answer, data, count, sum);
    answer.insert(answer.end(), {static_cast<uint8_t>(sum), 0xF7});
    return answer;
}

// Length of the data of a common parameter address, as the controller knows it.
uint8_t CommonLength(uint8_t address)
{
    if (address >= 34 && address <= 37)
        return 64;
    if (address == 38)
        return 28;
    if (address == 32)
        return 2;
    if (address == 127)
        return 11;
    return 1;
}

}  // namespace

SimulatedQ9::SimulatedQ9()
{
    std::memset(lcd, ' ', sizeof lcd);
    std::memset(names, ' ', sizeof names);
}

uint8_t *SimulatedQ9::Record(int group, int index)
{
    return index <= 4 ? transport[index] : midi[group][index];
}

uint8_t *SimulatedQ9::Common(uint8_t address, uint8_t group)
{
    if (address == 38)
        return names[group];
    if (address >= 34 && address <= 37)
        return &curves[(address - 34) / 2][64 * ((address - 34) % 2)];
    return &common[address];
}

SimulatedQ9::Bytes SimulatedQ9::Header(uint8_t code, uint8_t length, uint8_t index, uint8_t group)
{
    Bytes h(kHeader, kHeader + 6);
    h.insert(h.end(), {code, length, index, group});
    return h;
}

SimulatedQ9::Bytes SimulatedQ9::Acknowledge(uint8_t code, uint8_t index, uint8_t group)
{
    Bytes ack = Header(code, 0, index, group);
    ack.push_back(0xF7);
    return ack;
}

std::vector<SimulatedQ9::Emission> SimulatedQ9::Receive(const Bytes &m)
{
    received.push_back(m);
    if (m.size() < 11 || m.back() != 0xF7 || std::memcmp(m.data(), kHeader, 6) != 0)
        return {};
    for (size_t i = 1; i + 1 < m.size(); ++i)
        if (m[i] >= 0x80)
            return {};
    const uint8_t code = m[6], length = m[7], index = m[8], group = m[9];
    switch (code) {
    case 0x1B:  // MIDI and LCD writes, acknowledged (0x10) or not
    case 0x0B:
    case 0x19:
    case 0x09: {
        const bool ok = code & 0x02 ? HandleMidiWrite(m) : HandleLcdWrite(m);
        if (!(code & 0x10))
            return {};
        return Send(Acknowledge(static_cast<uint8_t>(code + (ok && !refuse_acks ? 0x40 : 0x30)), index, group));
    }
    case 0x33:  // MIDI and LCD reads; the transport buttons have no text
    case 0x31:
        if (m.size() != 11 || length != 0 || !ValidAssignAddress(index, group) || (code == 0x31 && index < 5))
            return {};
        return Send(code == 0x33 ? MidiAnswer(index, group) : LcdAnswer(index, group));
    case 0x00:
        HandleCommonWrite(m);
        return {};
    case 0x30: {
        Bytes answer;
        if (m.size() != 11 || !CommonAnswer(index, group, length, answer))
            return {};
        return Send(answer);
    }
    default:
        return {};
    }
}

bool SimulatedQ9::HandleMidiWrite(const Bytes &m)
{
    const uint8_t length = m[7], index = m[8], group = m[9];
    if (!ValidAssignAddress(index, group) || length < 22 || length > 64 || length % 2 != 0)
        return false;
    if (m.size() != 12u + length)
        return false;
    uint8_t record[RECORD] = {};
    unsigned sum = 0;
    if (!ReadNibbles(m, 10, length / 2, record, sum))
        return false;
    if (m[10 + length] != sum)
        return false;
    if (record[3] > 21 || length != 2 * (11 + record[3]))
        return false;
    std::memcpy(Record(group, index), record, RECORD);
    return true;
}

bool SimulatedQ9::HandleLcdWrite(const Bytes &m)
{
    const uint8_t length = m[7], index = m[8], group = m[9];
    if (index < 5 || !ValidAssignAddress(index, group) || length != 32 || m.size() != 44)
        return false;
    uint8_t text[16];
    unsigned sum = 0;
    if (!ReadNibbles(m, 10, 16, text, sum) || m[42] != sum)
        return false;
    for (uint8_t c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    std::memcpy(lcd[group][index], text, 16);
    return true;
}

void SimulatedQ9::HandleCommonWrite(const Bytes &m)
{
    const uint8_t length = m[7], address = m[8], group = m[9];
    if (group > 20 || (address > 38) || length != CommonLength(address) || m.size() != 11u + length)
        return;
    const bool nibbles = address == 38 || address == 32;  // the group name and the tempo come as nibble pairs
    uint8_t data[14];
    unsigned sum = 0;
    if (nibbles && !ReadNibbles(m, 10, length / 2u, data, sum))
        return;
    std::memcpy(Common(address, group), nibbles ? data : &m[10], nibbles ? length / 2u : length);
}

SimulatedQ9::Bytes SimulatedQ9::MidiAnswer(uint8_t index, uint8_t group)
{
    const uint8_t *record = Record(group, index);
    uint8_t string_length = record[3] > 21 ? 21 : record[3];
    return NibbleAnswer(Header(0x73, static_cast<uint8_t>(2 * (11 + string_length)), index, group), record,
                        11u + string_length);
}

SimulatedQ9::Bytes SimulatedQ9::LcdAnswer(uint8_t index, uint8_t group)
{
    return NibbleAnswer(Header(0x71, 32, index, group), lcd[group][index], 16);
}

bool SimulatedQ9::CommonAnswer(uint8_t address, uint8_t group, uint8_t length, Bytes &answer)
{
    if (group > 20 || (address > 38 && address != 127) || length != CommonLength(address))
        return false;
    answer = Header(0x70, length, address, group);
    unsigned sum = 0;
    const uint8_t *data = address == 127 ? identity : Common(address, group);
    if (address == 38 || address == 32)
        WriteNibbles(answer, data, length / 2u, sum);
    else
        answer.insert(answer.end(), data, data + length);
    answer.push_back(0xF7);
    return true;
}

std::vector<SimulatedQ9::Emission> SimulatedQ9::Send(Bytes answer)
{
    if (silent || answer_budget == 0)
        return {};
    if (answer_budget > 0)
        --answer_budget;
    if (tamper)
        tamper(answer);
    std::vector<Emission> out;
    for (const Bytes &other : before_answer)
        out.push_back({other, 0});
    const size_t piece = split_size == 0 ? answer.size() : split_size;
    uint64_t delay = answer_delay;
    for (size_t at = 0; at < answer.size(); at += piece) {
        const size_t end = std::min(at + piece, answer.size());
        out.push_back({Bytes(answer.begin() + static_cast<long>(at), answer.begin() + static_cast<long>(end)), delay});
        delay += split_gap;
    }
    return out;
}
