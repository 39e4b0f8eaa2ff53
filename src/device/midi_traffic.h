// The MIDI traffic: every message the program sends and receives, kept for
// the MIDI monitor, and what each one means in the controller's terms.
//
// The port layer tells the log each message it writes and each event it
// reads; incoming events are joined into messages here (a SysEx message from
// its 0xF0 to its 0xF7, any other message by its status byte). The log keeps
// the last CAPACITY messages; a message costs its bytes and a few words, and
// its meaning is worked out only when it is shown.
#ifndef CVQ9_MIDI_TRAFFIC_H
#define CVQ9_MIDI_TRAFFIC_H

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <portmidi.h>

struct TrafficMessage {
    std::chrono::system_clock::time_point time;
    bool incoming = false;
    uint16_t port = 0;           // index in MidiTraffic::PortName
    std::vector<uint8_t> bytes;  // the whole message, or what came of it
    // For an incoming message: the header of the last request sent before it
    // (all zero when none), to tell an answer from a message that answers nothing.
    std::array<uint8_t, 10> request{};
};

// What a message means: a short text and whether it tells of a fault
// (refused, malformed, cut, or no answer to the request sent).
struct MessageMeaning {
    std::string text;
    bool error = false;
};
MessageMeaning DescribeMessage(const TrafficMessage &message);

// Bytes as two hexadecimal digits each, separated by spaces.
std::string HexBytes(const std::vector<uint8_t> &bytes);

// Which messages the monitor lists.
enum class TrafficFilter { All, SysExOnly, ErrorsOnly };
bool FilterPasses(TrafficFilter filter, const TrafficMessage &message);

class MidiTraffic;
// A message as one line of text: time, port, direction, bytes, meaning,
// separated by tabs.
std::string TrafficLine(const TrafficMessage &message, const MidiTraffic &traffic);
// The time of a message as the monitor shows it: local time to the millisecond.
std::string TrafficTime(const TrafficMessage &message);

class MidiTraffic
{
public:
    static constexpr size_t CAPACITY = 50000;
    // A SysEx message longer than this is kept cut (any answer is 128 bytes at most).
    static constexpr size_t LONGEST_KEPT = 4096;

    // The port the next messages go to or come from, by its device name.
    void UsePort(bool incoming, const std::string &name);
    void Sent(const uint8_t *sysex);    // a message from its 0xF0 to its 0xF7
    void Received(PmMessage message);   // one event of the input, up to four bytes
    void Clear();

    const std::deque<TrafficMessage> &Messages() const { return messages_; }
    // Counts every message ever kept, dropped ones included: a window that
    // remembers it sees what is new, and how many of the oldest went.
    uint64_t Total() const { return total_; }
    const std::string &PortName(uint16_t port) const { return ports_[port]; }

private:
    // An incoming message not yet ended, one per input port: events of
    // several inputs may be read in turn.
    struct Assembly {
        TrafficMessage message;
        bool in_sysex = false;
        size_t short_expected = 0;  // data bytes still due after a channel or system status
    };

    void Keep(TrafficMessage message);
    void Begin(Assembly &a, uint8_t status);
    void End(Assembly &a);
    uint16_t PortIndex(const std::string &name);

    std::deque<TrafficMessage> messages_;
    std::vector<std::string> ports_{std::string("-")};
    std::vector<Assembly> assemblies_{Assembly()};
    uint16_t in_port_ = 0, out_port_ = 0;
    std::array<uint8_t, 10> last_request_{};
    uint64_t total_ = 0;
};

// The program's one log, which the port layer feeds.
MidiTraffic &Traffic();

#endif
