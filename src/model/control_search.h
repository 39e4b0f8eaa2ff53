// Finding controls by what they send or by their LCD text, and the controls
// of one group that send the same message on the same channel.
//
// A control sends its MIDI string (the user-mode assignment) and, in the
// controller's standard mode, the control change or note of `ctrl_status_0`
// on the controller's channel; both are searched. A channel byte that the
// controller fills in (`midi_channel_position` on the status byte) is "the
// controller's channel"; otherwise the status byte's own channel counts.
#ifndef CVQ9_CONTROL_SEARCH_H
#define CVQ9_CONTROL_SEARCH_H

#include <cstdint>
#include <string>
#include <vector>

#include "config_tables.h"

// The channel message a control sends, as far as its bytes tell.
struct SentMessage {
    bool channel_message = false;  // a status byte 0x80..0xEF first
    uint8_t kind = 0;              // the status byte's high nibble (0x80..0xE0), or the first byte
    int channel = -1;              // 1..16; CONTROLLER_CHANNEL when the controller fills it in
    int number = -1;               // controller or note number; -1 when the message has none or it varies
    bool standard_mode = false;

    static constexpr int CONTROLLER_CHANNEL = 0;
    bool operator==(const SentMessage &o) const
    {
        return channel_message == o.channel_message && kind == o.kind && channel == o.channel && number == o.number;
    }
};

// The messages a record sends: its MIDI string, then its standard-mode event.
std::vector<SentMessage> MessagesOf(const All_Params &record);
// "Control change 74, channel 3", "Note on 60, the controller's channel (standard mode)".
std::string DescribeSent(const SentMessage &message);

struct ControlQuery {
    int kind = -1;     // status high nibble 0x80..0xE0; 0xF0 for SysEx; -1: any
    int number = -1;   // -1: any
    int channel = -1;  // 1..16, SentMessage::CONTROLLER_CHANNEL, or -1: any
    std::vector<uint8_t> bytes;  // a run of the MIDI string; empty: any
    std::wstring lcd;            // part of the LCD text, any case; empty: any
};

struct FoundControl {
    unsigned group = 0;  // 0 for the transport buttons
    unsigned control = 0;
    std::string sends;   // what matched, as DescribeSent puts it (or the MIDI string's meaning)
};

// Every control of the 21 groups, and the transport buttons once, that
// matches every criterion given, in group and control order.
std::vector<FoundControl> SearchControls(const ControlQuery &query);

// Controls of one group (the transport buttons count in every group) that
// send the same channel message with the same number on the same channel.
struct Conflict {
    unsigned group = 0;
    std::vector<unsigned> controls;
    std::string sends;
};
std::vector<Conflict> SearchConflicts();

// Hexadecimal bytes ("B0 4A", "b04a"); false for anything else.
bool ParseHexBytes(const std::string &text, std::vector<uint8_t> &bytes);

#endif
