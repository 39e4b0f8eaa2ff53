#include "assign_fields.h"

#include <cstdio>

#include "control_roster.h"
#include "record_access.h"

const AssignFieldInfo ASSIGN_FIELDS[ASSIGN_FIELD_COUNT] = {
    {AssignField::Autosend, &All_Params::ctrl_status_1, 0x20, 5, FieldCoding::Bits, COMMON_AUTOSEND},
    {AssignField::SceneExclude, &All_Params::ctrl_status_1, 0x40, 6, FieldCoding::Bits, COMMON_SCENE_EXCLUDE},
    {AssignField::SwitchMode, &All_Params::ctrl_status_1, 0x80, 7, FieldCoding::Bits, COMMON_SWITCH_MODE},
    {AssignField::SendOut1, &All_Params::ctrl_status_1, 0x08, 3, FieldCoding::Bits, COMMON_MIDI_OUT1},
    {AssignField::SendOut2, &All_Params::ctrl_status_1, 0x04, 2, FieldCoding::Bits, COMMON_MIDI_OUT2},
    {AssignField::SendUsb, &All_Params::ctrl_status_1, 0x10, 4, FieldCoding::Bits, COMMON_USB_OUT},
    {AssignField::MidiDelay, &All_Params::ctrl_status_1, 0x03, 0, FieldCoding::Bits, COMMON_MIDI_DELAY},
    {AssignField::StdEvent, &All_Params::ctrl_status_0, 0x80, 7, FieldCoding::Bits, COMMON_STD_EVENT},
    {AssignField::StdNumber, &All_Params::ctrl_status_0, 0x7F, 0, FieldCoding::Bits, COMMON_STD_NUMBER},
    {AssignField::Chain, &All_Params::ctrl_chain, 0x7F, 0, FieldCoding::ChainItem, COMMON_CHAIN},
    {AssignField::Crossfade, &All_Params::ctrl_chain, 0x80, 7, FieldCoding::Bits, COMMON_CROSSFADE},
    {AssignField::MinValue, &All_Params::ctrl_value_min, 0xFF, 0, FieldCoding::Bits, COMMON_MIN},
    {AssignField::MaxValue, &All_Params::ctrl_value_max, 0xFF, 0, FieldCoding::Bits, COMMON_MAX},
    {AssignField::ChannelPosition, &All_Params::midi_channel_position, 0xFF, 0, FieldCoding::Bits, COMMON_CHANNEL_POS},
    {AssignField::ValuePosition1, &All_Params::ctrl_value_position_0, 0xFF, 0, FieldCoding::Bits, COMMON_VALUE_POS1},
    {AssignField::ValuePosition2, &All_Params::ctrl_value_position_1, 0xFF, 0, FieldCoding::Bits, COMMON_VALUE_POS2},
    {AssignField::CurveModel, &All_Params::ctrl_status_2, 0x07, 0, FieldCoding::Bits, COMMON_CURVE},
    {AssignField::Nibble, &All_Params::ctrl_status_2, 0x10, 4, FieldCoding::Bits, COMMON_NIBBLE},
    {AssignField::ChecksumStart, &All_Params::checksum_start_position, 0xFF, 0, FieldCoding::Bits, COMMON_CHECKSUM_POS},
};

const AssignFieldInfo &FieldInfo(AssignField field)
{
    return ASSIGN_FIELDS[static_cast<unsigned>(field)];
}

void StoreFieldValue(All_Params &record, AssignField field, int value)
{
    const AssignFieldInfo &info = FieldInfo(field);
    unsigned stored = static_cast<unsigned>(value);
    if (info.coding == FieldCoding::ChainItem)
        stored = value <= 0 ? 0u : static_cast<unsigned>(value) + 4u;
    uint8_t &byte = record.*info.byte;
    const unsigned bits = (stored << info.shift) & info.mask;
    byte = static_cast<uint8_t>((byte & ~info.mask) | bits);
}

int FieldValue(const All_Params &record, AssignField field)
{
    const AssignFieldInfo &info = FieldInfo(field);
    const int stored = ((record.*info.byte) & info.mask) >> info.shift;
    if (info.coding == FieldCoding::ChainItem) {
        if (stored == 0)
            return 0;
        // Only the controls 5..65 are listed; any other index has no item.
        const int item = stored - 4;
        return item >= 1 && static_cast<unsigned>(item) < CHAIN_LIST_SIZE ? item : -1;
    }
    return stored;
}

std::wstring MidiStringText(const All_Params &record)
{
    std::wstring text;
    const unsigned n =
        record.midi_str_lenght < MIDI_STRING_MAX_LENGHT ? record.midi_str_lenght : MIDI_STRING_MAX_LENGHT;
    for (unsigned i = 0; i < n; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", record.midi_string[i]);
        text.push_back(static_cast<wchar_t>(digits[0]));
        text.push_back(static_cast<wchar_t>(digits[1]));
    }
    return text;
}

namespace {

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

}  // namespace

bool ParseMidiStringText(const std::wstring &text, std::vector<uint8_t> &bytes)
{
    bytes.clear();
    if (text.empty() || text.size() % 2 != 0 || text.size() > 2 * MIDI_STRING_MAX_LENGHT)
        return false;
    std::vector<uint8_t> parsed;
    for (size_t j = 0; j < text.size(); j += 2) {
        const int high = HexDigitValue(text[j]);
        const int low = HexDigitValue(text[j + 1]);
        if (high < 0 || low < 0)
            return false;
        parsed.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    bytes = parsed;
    return true;
}

void StoreMidiString(All_Params &record, const std::vector<uint8_t> &bytes)
{
    const size_t n = bytes.size() < MIDI_STRING_MAX_LENGHT ? bytes.size() : MIDI_STRING_MAX_LENGHT;
    for (size_t j = 0; j < n; ++j)
        record.midi_string[j] = bytes[j];
    record.midi_str_lenght = static_cast<uint8_t>(n);
}

LabelColour FieldLabelColour(uint32_t mask, CommonFieldBit bit)
{
    return (mask & CommonBit(bit)) ? LabelColour::Black : LabelColour::Blue;
}

ControlNumberDisplay ControlNumberFor(size_t selected_count, unsigned control_index)
{
    if (selected_count > 1)
        return {L"*", LabelColour::Blue};
    return {std::to_wstring(control_index), LabelColour::Black};
}

bool SwitchModeOffered(unsigned control_index)
{
    return !IsTransportIndex(control_index) && control_index <= 0xFF &&
           GetControlType(static_cast<uint8_t>(control_index)) == CONTROL_TYPE_SWITCH;
}

bool GroupFieldsOffered(unsigned control_index)
{
    return !IsTransportIndex(control_index);
}

bool LcdTextOffered(unsigned control_index)
{
    return !IsTransportIndex(control_index) && control_index != 49;
}

bool CurveEditOffered(int curve_item)
{
    return curve_item > 4;
}
