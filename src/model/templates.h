// The standard MIDI event templates offered beside the preset library: a fixed
// list of 389 entries (user defined, SysEx, RPN, NRPN, pitch bend, the 128
// control changes, the 128 notes and the 128 program changes), and the
// conversion of an entry into a control's assignment and LCD text.
#ifndef CVQ9_TEMPLATES_H
#define CVQ9_TEMPLATES_H

#include <cstdint>

#include "config_tables.h"
#include "cross_functions.h"

constexpr unsigned STD_TEMPLATE_COUNT = 389;
constexpr unsigned STD_TEMPLATE_EVENT_MAX = 7;

struct StdTemplate {
    const char *label;                      // list entry and LCD text, at most 16 characters
    uint8_t event[STD_TEMPLATE_EVENT_MAX];  // the first `length` bytes are the event
    uint8_t length;                         // midi_str_lenght
    uint8_t channel_position;               // midi_channel_position (1-based, 0 = none)
    uint8_t value_position;                 // ctrl_value_position_0 (1-based, 0 = none)
};

// The list, in the order of the template combo box.
extern const StdTemplate StdTemplates[STD_TEMPLATE_COUNT];

// The label of entry `index` as a text; empty for an index out of the list.
Q9Text StdTemplateLabel(unsigned index);

// Turns `record` into the assignment of template `index`: keeps ctrl_status_0,
// sets the outputs and toggle mode (0x9C), no curve, no delay, no chain, no
// checksum, range 0..127, the event at the start of a string of spaces, its
// length and positions; sets `lcd` to the label. Returns false, changing
// nothing, for an index out of the list.
bool ApplyStdTemplate(unsigned index, All_Params &record, Q9Text &lcd);

#endif
