#include "global_params.h"

#include <cstdio>

namespace {

constexpr float kFw15 = 1.5f;
constexpr float kFw16 = 1.6f;

// Byte and bit of every single-bit setting, in the order of GlobalBit.
constexpr CommonBit kFixedBits[kGlobalBitCount] = {
    {0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 5},  // merges, Sync-24 enable
    {1, 0}, {1, 1}, {1, 3}, {1, 4}, {1, 6},  // sync source, internal sync, arpeggio source and state, Sync-24 sync
    {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 6},          // SHIFT channel and mode, arpeggio outputs and sync
    {4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6},  // motion, LFO, infrared, analog mode
    {5, 0}, {5, 3}, {5, 4},                                  // SHIFT lock, fader feedback, tempo mode
};

// From firmware 1.5 on the arpeggiator's on/off moved to byte 3.
constexpr CommonBit kArppStateFrom15 = {3, 5};

constexpr uint8_t kFilterOn = 1u << 6;
constexpr uint8_t kFilterAll = 1u << 4;
constexpr uint8_t kVideoNormal = 1u << 1;
constexpr uint8_t kVideoInverted = 1u << 2;
constexpr unsigned kLfoWaveShift = 5;
constexpr uint8_t kLfoWaveMask = 0x03u << kLfoWaveShift;
constexpr uint8_t kModeBit3 = 1u << 3;
constexpr uint8_t kModeBit4 = 1u << 4;
constexpr unsigned kTempoOffset = 30;

}  // namespace

std::optional<CommonBit> GlobalBitLocation(GlobalBit setting, float fw_version)
{
    switch (setting) {
    case GlobalBit::ArppState:
        if (fw_version >= kFw15)
            return kArppStateFrom15;
        break;
    case GlobalBit::MackieFaderFbk:
    case GlobalBit::TempoMode:
        if (!(fw_version > kFw15))
            return std::nullopt;
        break;
    default:
        break;
    }
    return kFixedBits[static_cast<int>(setting)];
}

bool ReadCommonBit(const uint8_t *common, CommonBit where)
{
    return (common[where.byte] & where.Mask()) != 0;
}

void WriteCommonBit(uint8_t *common, CommonBit where, bool on)
{
    if (on)
        common[where.byte] = static_cast<uint8_t>(common[where.byte] | where.Mask());
    else
        common[where.byte] = static_cast<uint8_t>(common[where.byte] & ~where.Mask());
}

int FilterItem(uint8_t byte0)
{
    if (!(byte0 & kFilterOn))
        return 0;
    return (byte0 & kFilterAll) ? 2 : 1;
}

uint8_t WithFilterItem(uint8_t byte0, int item)
{
    uint8_t result = static_cast<uint8_t>(byte0 & ~(kFilterOn | kFilterAll));
    if (item == 1)
        result |= kFilterOn;
    else if (item == 2)
        result |= kFilterOn | kFilterAll;
    return result;
}

int VideoItem(uint8_t byte5)
{
    return (byte5 & kVideoInverted) ? 1 : 0;
}

uint8_t WithVideoItem(uint8_t byte5, int item)
{
    const uint8_t cleared = static_cast<uint8_t>(byte5 & ~(kVideoNormal | kVideoInverted));
    return static_cast<uint8_t>(cleared | (item == 1 ? kVideoInverted : kVideoNormal));
}

int LfoWaveItem(uint8_t byte5)
{
    return (byte5 & kLfoWaveMask) >> kLfoWaveShift;
}

uint8_t WithLfoWaveItem(uint8_t byte5, int item)
{
    const uint8_t wave = static_cast<uint8_t>((static_cast<unsigned>(item) << kLfoWaveShift) & kLfoWaveMask);
    return static_cast<uint8_t>((byte5 & ~kLfoWaveMask) | wave);
}

void WriteOperatingMode(uint8_t *common, float fw_version, int item)
{
    if (item < 0)
        return;
    uint8_t &byte5 = common[5];
    if (fw_version < kFw15) {
        // Items 0..2 of the short lists; anything else has no encoding here.
        if (item > 2)
            return;
        byte5 = static_cast<uint8_t>(byte5 & ~(kModeBit3 | kModeBit4));
        if (item == 1)
            byte5 |= kModeBit3;
        else if (item == 2)
            byte5 |= kModeBit4;
    } else if (fw_version < kFw16) {
        byte5 = static_cast<uint8_t>(byte5 & ~(kModeBit3 | kModeBit4));
        if (item == 1 || item == 3)
            byte5 |= kModeBit3;
        if (item == 2 || item == 3)
            byte5 |= kModeBit4;
    } else {
        common[kOperatingModeByte] = static_cast<uint8_t>(item);
    }
}

uint8_t TempoByteFromText(const std::wstring &text)
{
    // Only the low 8 bits survive, so the number is accumulated modulo 256.
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return static_cast<uint8_t>(0u - kTempoOffset);
        value = (value * 10u + static_cast<unsigned>(c - L'0')) & 0xFFu;
    }
    return static_cast<uint8_t>(value - kTempoOffset);
}

std::wstring TempoText(uint8_t tempo_byte)
{
    wchar_t buffer[8];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%03d", static_cast<int>(tempo_byte) + 30);
    return buffer;
}

const CommonTransferItem kCommonTransferSequence[kCommonTransferItemCount] = {
    {5, 150, 0},  {38, 100, 0}, {0, 100, 0},  {3, 100, 0},   {4, 100, 0},   {32, 100, 0},  {11, 100, 0},
    {33, 100, 0}, {1, 100, 0},  {34, 100, 0}, {35, 100, 10}, {36, 100, 10}, {37, 150, 10},
};

bool CommonItemTravels(uint8_t address, float fw_version)
{
    return address != kOperatingModeByte || fw_version > 1.5f;
}
