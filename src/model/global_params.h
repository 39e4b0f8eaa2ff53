// The global and realtime parameters as the editor's two tabs see them: where
// each setting lives in common_params, how the multi-bit settings are encoded,
// which firmware moved which setting, and the tempo arithmetic. Pure functions
// over the 40-byte block; the editor panel reads its widgets, calls these and
// writes the block.
#ifndef CVQ9_GLOBAL_PARAMS_H
#define CVQ9_GLOBAL_PARAMS_H

#include <cstdint>
#include <optional>
#include <string>

// Every setting of the two tabs that is a single bit of common_params (a check
// box, or a two-item choice or radio box whose item 1 stands for the set bit).
enum class GlobalBit : uint8_t {
    MergeMidiOut,      // byte 0 bit 0
    MergeUsbOut,       // byte 0 bit 1
    MergeUsbIn,        // byte 0 bit 2
    MergeMidiIn,       // byte 0 bit 3
    Sync24Enable,      // byte 0 bit 5
    ExtSyncSrc,        // byte 1 bit 0
    GenIntSync,        // byte 1 bit 1
    ArppMidiSrc,       // byte 1 bit 3
    ArppState,         // byte 1 bit 4 below firmware 1.5, byte 3 bit 5 from 1.5 on
    Sync24Sync,        // byte 1 bit 6
    ShiftLockChannel,  // byte 3 bit 0
    ShiftMode,         // byte 3 bit 1
    ArppToMidiOut2,    // byte 3 bit 2
    ArppToMidiOut1,    // byte 3 bit 3
    ArppToUsb,         // byte 3 bit 4
    ArppSync,          // byte 3 bit 6
    MotionLoop,        // byte 4 bit 0
    MotionState,       // byte 4 bit 1
    LfoSync,           // byte 4 bit 2
    LfoState,          // byte 4 bit 3
    InfraredState,     // byte 4 bit 4
    MotionSync,        // byte 4 bit 5
    AnalogMode,        // byte 4 bit 6
    ShiftLockMidi,     // byte 5 bit 0
    MackieFaderFbk,    // byte 5 bit 3, only above firmware 1.5
    TempoMode,         // byte 5 bit 4, only above firmware 1.5
};
constexpr int kGlobalBitCount = static_cast<int>(GlobalBit::TempoMode) + 1;

// One bit of common_params.
struct CommonBit {
    uint8_t byte = 0;
    uint8_t bit = 0;
    uint8_t Mask() const { return static_cast<uint8_t>(1u << bit); }
    bool operator==(const CommonBit &other) const { return byte == other.byte && bit == other.bit; }
};

// Where the setting lives for this firmware; nothing when the firmware has no
// such bit (fader feedback and tempo mode up to firmware 1.5, whose bits 3-4
// of byte 5 hold the operating mode there).
std::optional<CommonBit> GlobalBitLocation(GlobalBit setting, float fw_version);

bool ReadCommonBit(const uint8_t *common, CommonBit where);
void WriteCommonBit(uint8_t *common, CommonBit where, bool on);

// The byte numbers of the multi-bit settings.
constexpr unsigned kFilterByte = 0;       // bits 6 and 4
constexpr unsigned kVideoByte = 5;        // bits 1 and 2
constexpr unsigned kLfoWaveByte = 5;      // bits 5-6
constexpr unsigned kAutomationByte = 11;  // the whole byte
constexpr unsigned kTempoByte = 32;       // tempo minus 30
constexpr unsigned kOperatingModeByte = 33;

// Input filter radio box: item 0 "&Filter Off" (bit 6 clear, whatever bit 4),
// item 1 "&Realtime" (bit 6 set, bit 4 clear), item 2 "&Filter All" (both set).
int FilterItem(uint8_t byte0);
uint8_t WithFilterItem(uint8_t byte0, int item);

// Video mode: item 1 "Inverted" when bit 2 is set, else item 0 "Normal". The
// chosen mode's bit is set and the other one's cleared.
int VideoItem(uint8_t byte5);
uint8_t WithVideoItem(uint8_t byte5, int item);

// LFO wave, bits 5-6 of byte 5: "Sine" 0, "Triangle" 1, "Square" 2, "Random" 3.
int LfoWaveItem(uint8_t byte5);
uint8_t WithLfoWaveItem(uint8_t byte5, int item);

// The operating mode chosen as item `item` of the list the firmware offers:
// below 1.5 bits 3-4 of byte 5 as 0, bit 3 or bit 4 for items 0, 1, 2; at 1.5
// bits 3-4 cleared then item 1 sets bit 3, 2 bit 4, 3 both; from 1.6 on byte 33
// takes the item. A negative item (no selection) changes nothing.
void WriteOperatingMode(uint8_t *common, float fw_version, int item);

// The stored tempo byte for the text of the tempo field: the decimal number
// (0 when empty or unreadable) minus 30, low 8 bits kept.
uint8_t TempoByteFromText(const std::wstring &text);
// The field's text for a stored byte: "%03d" of byte + 30.
std::wstring TempoText(uint8_t tempo_byte);

// One item of the common-parameter transfers of the global tabs, in the order
// the controller takes them: the parameter address and the pauses that pace
// the controller. A pause runs whether or not its item travels.
struct CommonTransferItem {
    uint8_t address;
    unsigned pause_after_download_ms;
    unsigned pause_before_upload_ms;
};
constexpr unsigned kCommonTransferItemCount = 13;
extern const CommonTransferItem kCommonTransferSequence[kCommonTransferItemCount];
// Whether the item travels with this firmware: the operating mode (address 33)
// only above 1.5, where it has a byte of its own.
bool CommonItemTravels(uint8_t address, float fw_version);

#endif
