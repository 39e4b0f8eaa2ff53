// PortMidi test double (see portmidi_fake.h).
#include "portmidi_fake.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <memory>

#include "simulated_q9.h"

namespace pmfake {
namespace {

using WireClock = std::chrono::steady_clock;

// One event of PortMidi's layout for a MIDI byte stream.
struct Event {
    PmEvent event;
    bool sysex = false;  // part of a SysEx message (dropped by PM_FILT_SYSEX)
};

// True when the filter drops the event.
bool Filtered(const Event &event, int32_t filter)
{
    if (event.sysex)
        return (filter & PM_FILT_SYSEX) != 0;
    const uint32_t status = static_cast<uint32_t>(event.event.message) & 0xFF;
    if ((status & 0xF0) == 0xF0)
        return ((1u << (status & 0x0F)) & static_cast<uint32_t>(filter)) != 0;
    return ((1u << (16 + (status >> 4))) & static_cast<uint32_t>(filter)) != 0;
}

struct Queued {
    Event event;
    uint64_t ready_at = 0;
    WireClock::time_point arrives{};  // at wire speed: when its last byte is in
};

// Turns a MIDI byte stream into events the way PortMidi's input does; the
// state carries over between pieces of one message.
struct Parser {
    bool in_sysex = false;
    uint32_t word = 0;
    int word_bytes = 0;
    uint8_t status = 0;
    uint8_t data[2] = {};
    int data_count = 0;

    // Program change and channel pressure take one data byte, the other
    // channel messages two; no test sends system common messages, taken
    // here as single bytes.
    static int DataBytes(uint8_t status_byte) { return status_byte >= 0xF0 ? 0 : (status_byte & 0xE0) == 0xC0 ? 1 : 2; }

    static void Short(std::vector<Event> &out, uint32_t message, bool sysex = false)
    {
        out.push_back({{static_cast<PmMessage>(message), 0}, sysex});
    }

    void FlushWord(std::vector<Event> &out)
    {
        if (word_bytes > 0)
            Short(out, word, true);
        word = 0;
        word_bytes = 0;
    }

    void Feed(const Bytes &bytes, std::vector<Event> &out)
    {
        for (uint8_t b : bytes) {
            if (b >= 0xF8) {  // realtime: its own event, even inside SysEx
                Short(out, b);
                continue;
            }
            if (b == 0xF0) {
                FlushWord(out);
                in_sysex = true;
            }
            if (in_sysex && (b < 0x80 || b == 0xF0 || b == 0xF7)) {
                word |= static_cast<uint32_t>(b) << (8 * word_bytes);
                if (++word_bytes == 4 || b == 0xF7)
                    FlushWord(out);
                in_sysex = b != 0xF7;
                continue;
            }
            if (in_sysex) {  // a status byte ends the SysEx early
                FlushWord(out);
                in_sysex = false;
            }
            if (b >= 0x80) {
                status = b;
                data_count = 0;
                if (DataBytes(b) == 0) {
                    Short(out, b);
                    status = 0;
                }
                continue;
            }
            if (status == 0)
                continue;  // data without a status
            data[data_count++] = b;
            if (data_count == DataBytes(status)) {
                Short(out, static_cast<uint32_t>(status) | (static_cast<uint32_t>(data[0]) << 8) |
                               (data_count > 1 ? static_cast<uint32_t>(data[1]) << 16 : 0));
                data_count = 0;  // running status
            }
        }
    }
};

struct Stream {
    int device = 0;
    bool input = false;
    int32_t filter = 0;
};

struct State {
    std::vector<Device> devices;  // as PortMidi lists them since its initialisation
    std::vector<Device> plugged;  // as the system has them now
    bool initialized = false;
    std::vector<bool> opened;
    std::map<int, std::deque<Queued>> queues;
    std::map<int, Parser> parsers;
    std::vector<std::unique_ptr<Stream>> streams;
    std::vector<OpenCall> opens;
    std::vector<Write> writes;
    SimulatedQ9 *controller = nullptr;
    int controller_out = -1;
    int controller_in = -1;
    WriteObserver observer = nullptr;
    uint64_t now = 0;
    int closes = 0;
    int polls = 0;
    unsigned wire_rate = 0;  // bytes per second both ways; 0: at once
    WireClock::time_point out_free{}, in_free{};
};

State &S()
{
    static State state;
    return state;
}

Stream *Find(PortMidiStream *stream)
{
    for (auto &s : S().streams)
        if (s.get() == stream)
            return s.get();
    return nullptr;
}

bool InputOpen(int device)
{
    for (auto &s : S().streams)
        if (s->input && s->device == device)
            return true;
    return false;
}

WireClock::duration WireTime(size_t bytes)
{
    return std::chrono::duration_cast<WireClock::duration>(
        std::chrono::duration<double>(static_cast<double>(bytes) / static_cast<double>(S().wire_rate)));
}

// At wire speed the bytes come in one after the other once the line is
// free, from `earliest` on; an event is readable when its last byte is in.
void Queue(int device, const Bytes &bytes, uint64_t delay, WireClock::time_point earliest = {})
{
    State &s = S();
    std::vector<Event> events;
    s.parsers[device].Feed(bytes, events);
    const WireClock::time_point start = std::max(earliest, s.in_free);
    for (size_t k = 0; k < events.size(); ++k) {
        WireClock::time_point arrives{};
        if (s.wire_rate > 0)
            arrives = start + WireTime(bytes.size() * (k + 1) / events.size());
        s.queues[device].push_back({events[k], s.now + delay, arrives});
    }
    if (s.wire_rate > 0 && !events.empty())
        s.in_free = start + WireTime(bytes.size());
}

// Drops filtered events at the head; true when a readable event is there.
bool Ready(Stream &stream)
{
    auto &q = S().queues[stream.device];
    while (!q.empty() && q.front().ready_at <= S().now && q.front().arrives <= WireClock::now()) {
        if (!Filtered(q.front().event, stream.filter))
            return true;
        q.pop_front();
    }
    return false;
}

PmError OpenCommon(PortMidiStream **stream, PmDeviceID id, bool input)
{
    State &s = S();
    PmError result = pmNoError;
    if (stream == nullptr)
        result = pmBadPtr;
    else if (id < 0 || id >= static_cast<int>(s.devices.size()) ||
             (input ? !s.devices[id].input : !s.devices[id].output) || s.opened[id] || s.devices[id].fail_open)
        result = pmInvalidDeviceId;
    s.opens.push_back({id, input});
    if (result != pmNoError)
        return result;
    s.streams.push_back(std::make_unique<Stream>(Stream{id, input, 0}));
    *stream = s.streams.back().get();
    s.opened[id] = true;
    return pmNoError;
}

}  // namespace

void Reset()
{
    S() = State();
}

void SetDevices(const std::vector<Device> &devices)
{
    S().devices = S().plugged = devices;
    S().opened.assign(devices.size(), false);
}

void PlugDevices(const std::vector<Device> &devices)
{
    S().plugged = devices;
}

void SetWireSpeed(unsigned bytes_per_second)
{
    S().wire_rate = bytes_per_second;
    S().out_free = S().in_free = WireClock::time_point{};
}

void SetUsualSystem(SimulatedQ9 *controller)
{
    SetDevices({{"Midi Through Port-0", true, false, false},
                {"Midi Through Port-0", false, true, false},
                {"Corvana Q9 MIDI 1", true, false, false},
                {"Corvana Q9 MIDI 1", false, true, false}});
    ConnectController(controller, 3, 2);
}

void ConnectController(SimulatedQ9 *controller, int output_device, int input_device)
{
    S().controller = controller;
    S().controller_out = output_device;
    S().controller_in = input_device;
}

void SetWriteObserver(WriteObserver observer)
{
    S().observer = observer;
}

void Inject(int input_device, const Bytes &bytes, uint64_t delay)
{
    Queue(input_device, bytes, delay);
}

void InjectNotes(int input_device, int count, uint64_t delay)
{
    for (int i = 0; i < count; ++i)
        Queue(input_device, {0x90, static_cast<uint8_t>(i % 128), 0x40}, delay);
}

const std::vector<OpenCall> &Opens()
{
    return S().opens;
}

const std::vector<Write> &Writes()
{
    return S().writes;
}

std::vector<Bytes> WrittenTo(int output_device)
{
    std::vector<Bytes> out;
    for (const Write &w : S().writes)
        if (w.device == output_device)
            out.push_back(w.bytes);
    return out;
}

int OpenStreams()
{
    return static_cast<int>(S().streams.size());
}

int CloseCount()
{
    return S().closes;
}

int PollCount()
{
    return S().polls;
}

void ClearRecords()
{
    S().opens.clear();
    S().writes.clear();
    S().closes = 0;
    S().polls = 0;
}

}  // namespace pmfake

using namespace pmfake;

// The functions of <portmidi.h> the program uses; its declarations give them C linkage.

PmError Pm_Initialize(void)
{
    State &s = S();
    if (!s.initialized) {
        s.devices = s.plugged;
        s.opened.assign(s.devices.size(), false);
        s.initialized = true;
    }
    return pmNoError;
}
PmError Pm_Terminate(void)
{
    S().initialized = false;
    return pmNoError;
}
int Pm_CountDevices(void)
{
    return static_cast<int>(S().devices.size());
}

const PmDeviceInfo *Pm_GetDeviceInfo(PmDeviceID id)
{
    static std::vector<PmDeviceInfo> infos;
    State &s = S();
    if (id < 0 || id >= static_cast<int>(s.devices.size()))
        return nullptr;
    const size_t i = static_cast<size_t>(id);
    infos.resize(s.devices.size());
    infos[i] = {200, "ALSA", s.devices[i].name.c_str(), s.devices[i].input, s.devices[i].output, s.opened[i]};
    return &infos[i];
}

PmError Pm_OpenInput(PortMidiStream **stream, PmDeviceID inputDevice, void *, int32_t, PmTimeProcPtr, void *)
{
    return OpenCommon(stream, inputDevice, true);
}

PmError Pm_OpenOutput(PortMidiStream **stream, PmDeviceID outputDevice, void *, int32_t, PmTimeProcPtr, void *, int32_t)
{
    return OpenCommon(stream, outputDevice, false);
}

PmError Pm_SetFilter(PortMidiStream *stream, int32_t filters)
{
    Stream *s = Find(stream);
    if (s == nullptr || !s->input)
        return pmBadPtr;
    s->filter = filters;
    return pmNoError;
}

PmError Pm_Close(PortMidiStream *stream)
{
    State &s = S();
    for (auto it = s.streams.begin(); it != s.streams.end(); ++it) {
        if (it->get() == stream) {
            s.opened[static_cast<size_t>((*it)->device)] = false;
            s.streams.erase(it);
            ++s.closes;
            return pmNoError;
        }
    }
    return pmBadPtr;
}

PmError Pm_Poll(PortMidiStream *stream)
{
    Stream *s = Find(stream);
    if (s == nullptr || !s->input)
        return pmBadPtr;
    ++S().polls;
    ++S().now;
    return Ready(*s) ? pmGotData : pmNoData;
}

int Pm_Read(PortMidiStream *stream, PmEvent *buffer, int32_t length)
{
    Stream *s = Find(stream);
    if (s == nullptr || !s->input || buffer == nullptr)
        return pmBadPtr;
    int count = 0;
    auto &q = S().queues[s->device];
    while (count < length && Ready(*s)) {
        buffer[count++] = q.front().event.event;
        q.pop_front();
    }
    return count;
}

PmError Pm_WriteSysEx(PortMidiStream *stream, PmTimestamp, unsigned char *msg)
{
    Stream *s = Find(stream);
    if (s == nullptr || s->input || msg == nullptr)
        return pmBadPtr;
    Bytes bytes;
    // Like PortMidi, the message runs to its 0xF7; a runaway is cut and refused.
    for (size_t i = 0; i < 4096; ++i) {
        bytes.push_back(msg[i]);
        if (msg[i] == 0xF7)
            break;
    }
    State &st = S();
    st.writes.push_back({s->device, bytes});
    if (bytes.back() != 0xF7)
        return pmBadData;
    // At wire speed the controller has the message once its last byte is out.
    WireClock::time_point received{};
    if (st.wire_rate > 0) {
        st.out_free = std::max(WireClock::now(), st.out_free) + WireTime(bytes.size());
        received = st.out_free;
    }
    if (st.controller != nullptr && s->device == st.controller_out) {
        std::vector<Bytes> answers;
        for (const SimulatedQ9::Emission &e : st.controller->Receive(bytes)) {
            answers.push_back(e.bytes);
            if (InputOpen(st.controller_in))
                Queue(st.controller_in, e.bytes, e.delay, received);
        }
        if (st.observer != nullptr)
            st.observer(bytes, answers);
    }
    return pmNoError;
}
