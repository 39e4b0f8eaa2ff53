// Which assignment fields are equal in every control of a multiple selection.
// The assignment tabs draw a field with a black label when its bit is set
// (the value shown holds for every selected control) and with a blue label
// when it is clear (the controls differ there).
#ifndef CVQ9_SELECTION_MASK_H
#define CVQ9_SELECTION_MASK_H

#include <cstdint>
#include <vector>

#include "config_tables.h"

// One bit per compared field.
enum CommonFieldBit : unsigned {
    COMMON_MIDI_STR_LENGHT = 0,  // midi_str_lenght
    COMMON_AUTOSEND = 1,         // ctrl_status_1 bit 5
    COMMON_SCENE_EXCLUDE = 2,    // ctrl_status_1 bit 6
    COMMON_SWITCH_MODE = 3,      // ctrl_status_1 bit 7
    COMMON_MIDI_OUT1 = 4,        // ctrl_status_1 bit 3
    COMMON_MIDI_OUT2 = 5,        // ctrl_status_1 bit 2
    COMMON_USB_OUT = 6,          // ctrl_status_1 bit 4
    COMMON_MIDI_DELAY = 7,       // ctrl_status_1 bits 0-1
    COMMON_STD_EVENT = 8,        // ctrl_status_0 bit 7
    COMMON_CHAIN = 9,            // ctrl_chain bits 0-6
    COMMON_CROSSFADE = 10,       // ctrl_chain bit 7
    COMMON_CHANNEL_POS = 11,     // midi_channel_position
    COMMON_VALUE_POS1 = 12,      // ctrl_value_position_0
    COMMON_VALUE_POS2 = 13,      // ctrl_value_position_1
    COMMON_CURVE = 14,           // ctrl_status_2 bits 0-2
    COMMON_MIN = 15,             // ctrl_value_min
    COMMON_MAX = 16,             // ctrl_value_max
    COMMON_NIBBLE = 17,          // ctrl_status_2 bit 4
    COMMON_CHECKSUM_POS = 18,    // checksum_start_position
    COMMON_LCD = 19,             // LCD texts
    COMMON_MIDI_STRING = 20,     // midi_string: its length and its bytes
    COMMON_STD_NUMBER = 21,      // ctrl_status_0 bits 0-6
};

constexpr uint32_t CommonBit(CommonFieldBit bit)
{
    return uint32_t{1} << bit;
}
constexpr uint32_t COMMON_ALL_FIELDS = 0xFFFFFFFFu;

// The bits of the fields in which `a` and `b` differ (LCD texts included).
// Bits 22..31 are never set.
uint32_t RecordDifferenceBits(const All_Params &a, const Q9Text &lcd_a, const All_Params &b, const Q9Text &lcd_b);

// True when the two LCD texts read the same: characters up to the first NUL,
// so that a stored text with its trailing NUL equals the same text typed.
bool SameLcdText(const Q9Text &a, const Q9Text &b);

// The common-field mask of `selection` around `current` in `group`: all bits
// set, then the bits of every field in which a selected control's record
// (addressing rule of record_access.h) or LCD text differs from the current
// one cleared. `current` is removed from the selection and appended at its
// end, so it always ends the list.
uint32_t CommonFieldMask(unsigned group, unsigned current, std::vector<int> &selection);

#endif
