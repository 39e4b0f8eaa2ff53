// The assignment tabs' knowledge of the record, kept out of the widgets:
// which bits of All_Params each field widget stands for and how a widget value
// is stored and read back, the MIDI string field's hexadecimal text, and the
// label colours of a multiple selection.
#ifndef CVQ9_ASSIGN_FIELDS_H
#define CVQ9_ASSIGN_FIELDS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config_tables.h"
#include "selection_mask.h"

// The record fields edited through one widget of the assignment tabs. The MIDI
// string and LCD text fields have their own conversions below.
enum class AssignField : uint8_t {
    Autosend,         // CheckboxAutosend: ctrl_status_1 bit 5
    SceneExclude,     // CheckboxSceneExclude: ctrl_status_1 bit 6
    SwitchMode,       // RadioBoxSwitchMode: ctrl_status_1 bit 7 (item 1 "&Toggle")
    SendOut1,         // CheckboxSendToOut1: ctrl_status_1 bit 3
    SendOut2,         // CheckboxSendToOut2: ctrl_status_1 bit 2
    SendUsb,          // CheckboxSendToOutUsb: ctrl_status_1 bit 4
    MidiDelay,        // wxComboBoxMidiDelay: ctrl_status_1 bits 0-1 (item index)
    StdEvent,         // RadioBoxMidiEventStdMode: ctrl_status_0 bit 7 (item 1 "&Note On")
    StdNumber,        // SpinCtrlCcNoteNumberStdMode: ctrl_status_0 bits 0-6
    Chain,            // wxComboBoxChainedCtrlNumero: ctrl_chain bits 0-6 (item 0 none, else item + 4)
    Crossfade,        // wxCheckBoxCrossfadeChain: ctrl_chain bit 7
    MinValue,         // SpinCtrlMinValue: ctrl_value_min
    MaxValue,         // SpinCtrlMaxValue: ctrl_value_max
    ChannelPosition,  // wxSpinCtrlMidiChannelPosition: midi_channel_position
    ValuePosition1,   // wxSpinCtrlCtrlValuePosition1: ctrl_value_position_0
    ValuePosition2,   // wxSpinCtrlCtrlValuePosition2: ctrl_value_position_1
    CurveModel,       // wxComboBoxCurveModel: ctrl_status_2 bits 0-2 (item index)
    Nibble,           // wxCheckBoxNibbleCtrl: ctrl_status_2 bit 4
    ChecksumStart,    // wxSpinCtrlChecksumFirstByte: checksum_start_position
};

constexpr unsigned ASSIGN_FIELD_COUNT = 19;

// How a widget value becomes the stored bits.
enum class FieldCoding : uint8_t {
    Bits,       // (value AND (mask >> shift)) << shift
    ChainItem,  // list item 0 stores 0, item i stores i + 4
};

// One row of the mapping table.
struct AssignFieldInfo {
    AssignField field;
    uint8_t All_Params::*byte;  // the record byte holding the field
    uint8_t mask;               // the field's bits within that byte
    uint8_t shift;              // position of the field's lowest bit
    FieldCoding coding;
    CommonFieldBit common_bit;  // the field's bit in the common-field mask
};

// The mapping table, one row per AssignField in enum order.
extern const AssignFieldInfo ASSIGN_FIELDS[ASSIGN_FIELD_COUNT];
const AssignFieldInfo &FieldInfo(AssignField field);

// Stores a widget value (check box 0/1, radio or combo item, spin value) into
// the field's bits of `record`; every other bit stays as it was.
void StoreFieldValue(All_Params &record, AssignField field, int value);
// The widget value that shows the field of `record`.
int FieldValue(const All_Params &record, AssignField field);

// ---- The MIDI string field: two hexadecimal digits per byte, no separators.

// The first midi_str_lenght bytes (at most 21) as "%02X" each.
std::wstring MidiStringText(const All_Params &record);

// Reads the field's text: true with the bytes when the text is a whole number
// of bytes (at most 21) of hexadecimal digits; false for an empty text, an odd
// number of digits, a character that is not a hexadecimal digit or more than
// 42 digits, which leave the records as they are.
bool ParseMidiStringText(const std::wstring &text, std::vector<uint8_t> &bytes);

// Writes the parsed bytes at the start of midi_string and their count into
// midi_str_lenght; the bytes after them keep their old values.
void StoreMidiString(All_Params &record, const std::vector<uint8_t> &bytes);

// ---- Multiple selection display.

enum class LabelColour : uint8_t { Black, Blue };

// Black when the field is equal in every selected control (its mask bit set), blue otherwise.
LabelColour FieldLabelColour(uint32_t mask, CommonFieldBit bit);

// The control number display: "*" in blue for a multiple selection, the
// control index in decimal in black for a single one.
struct ControlNumberDisplay {
    std::wstring text;
    LabelColour colour;
};
ControlNumberDisplay ControlNumberFor(size_t selected_count, unsigned control_index);

// ---- What each kind of control offers.

// Switch mode is offered for the switches of a group (50..65), not for the
// transport buttons nor the continuous controls.
bool SwitchModeOffered(unsigned control_index);
// Min, max, the value positions, the curve and the nibble box belong to the
// group controls only (index above 4).
bool GroupFieldsOffered(unsigned control_index);
// The transport buttons and "Crossfader R" have no LCD text of their own.
bool LcdTextOffered(unsigned control_index);
// The curve Edit button serves the user curves ("User 1", "User 2").
bool CurveEditOffered(int curve_item);

#endif
