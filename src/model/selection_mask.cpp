#include "selection_mask.h"

#include <algorithm>
#include <cstring>

#include "record_access.h"

namespace {

// A field that is a masked part of one record byte.
struct BitField {
    CommonFieldBit bit;
    uint8_t All_Params::*byte;
    uint8_t mask;
};

// The table of fields compared bit by bit.
const BitField kBitFields[] = {
    {COMMON_MIDI_STR_LENGHT, &All_Params::midi_str_lenght, 0xFF},
    {COMMON_AUTOSEND, &All_Params::ctrl_status_1, 0x20},
    {COMMON_SCENE_EXCLUDE, &All_Params::ctrl_status_1, 0x40},
    {COMMON_SWITCH_MODE, &All_Params::ctrl_status_1, 0x80},
    {COMMON_MIDI_OUT1, &All_Params::ctrl_status_1, 0x08},
    {COMMON_MIDI_OUT2, &All_Params::ctrl_status_1, 0x04},
    {COMMON_USB_OUT, &All_Params::ctrl_status_1, 0x10},
    {COMMON_MIDI_DELAY, &All_Params::ctrl_status_1, 0x03},
    {COMMON_STD_EVENT, &All_Params::ctrl_status_0, 0x80},
    {COMMON_CHAIN, &All_Params::ctrl_chain, 0x7F},
    {COMMON_CROSSFADE, &All_Params::ctrl_chain, 0x80},
    {COMMON_CHANNEL_POS, &All_Params::midi_channel_position, 0xFF},
    {COMMON_VALUE_POS1, &All_Params::ctrl_value_position_0, 0xFF},
    {COMMON_VALUE_POS2, &All_Params::ctrl_value_position_1, 0xFF},
    {COMMON_CURVE, &All_Params::ctrl_status_2, 0x07},
    {COMMON_MIN, &All_Params::ctrl_value_min, 0xFF},
    {COMMON_MAX, &All_Params::ctrl_value_max, 0xFF},
    {COMMON_NIBBLE, &All_Params::ctrl_status_2, 0x10},
    {COMMON_CHECKSUM_POS, &All_Params::checksum_start_position, 0xFF},
    {COMMON_STD_NUMBER, &All_Params::ctrl_status_0, 0x7F},
};

Q9Text UpToNul(const Q9Text &text)
{
    return text.substr(0, text.find(L'\0'));
}

const Q9Text &LcdText(unsigned group, unsigned index)
{
    return mylcdstring[group][index];
}

// Two MIDI strings are the same only with the same length and the same bytes
// over it: zero bytes are data like any other.
bool SameMidiString(const All_Params &a, const All_Params &b)
{
    if (a.midi_str_lenght != b.midi_str_lenght)
        return false;
    const size_t used = std::min<size_t>(a.midi_str_lenght, MIDI_STRING_MAX_LENGHT);
    return std::memcmp(a.midi_string, b.midi_string, used) == 0;
}

}  // namespace

bool SameLcdText(const Q9Text &a, const Q9Text &b)
{
    return UpToNul(a) == UpToNul(b);
}

uint32_t RecordDifferenceBits(const All_Params &a, const Q9Text &lcd_a, const All_Params &b, const Q9Text &lcd_b)
{
    uint32_t bits = 0;
    for (const BitField &field : kBitFields) {
        if (((a.*field.byte ^ b.*field.byte) & field.mask) != 0)
            bits |= CommonBit(field.bit);
    }
    if (!SameLcdText(lcd_a, lcd_b))
        bits |= CommonBit(COMMON_LCD);
    if (!SameMidiString(a, b))
        bits |= CommonBit(COMMON_MIDI_STRING);
    return bits;
}

uint32_t CommonFieldMask(unsigned group, unsigned current, std::vector<int> &selection)
{
    uint32_t mask = COMMON_ALL_FIELDS;
    selection.erase(std::remove(selection.begin(), selection.end(), static_cast<int>(current)), selection.end());
    if (group < GROUP_NB && current < CONTROLS_PER_GROUP) {
        const All_Params &reference = AddressedRecord(group, current);
        const Q9Text &reference_lcd = LcdText(group, current);
        for (int entry : selection) {
            if (entry < 0 || static_cast<unsigned>(entry) >= CONTROLS_PER_GROUP)
                continue;
            const unsigned index = static_cast<unsigned>(entry);
            mask &=
                ~RecordDifferenceBits(AddressedRecord(group, index), LcdText(group, index), reference, reference_lcd);
        }
    }
    selection.push_back(static_cast<int>(current));
    return mask;
}
