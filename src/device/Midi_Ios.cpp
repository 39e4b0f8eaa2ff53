// MIDI port layer over PortMidi (see Midi_Ios.h).
#include "Midi_Ios.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "midi_traffic.h"

PortMidiStream *midiIn = nullptr;
PortMidiStream *midiOut = nullptr;
int midi_in_devices[MIDI_DEVICE_TABLE_SIZE];
int midi_out_devices[MIDI_DEVICE_TABLE_SIZE];

namespace {

MidiReporter &Reporter()
{
    static MidiReporter reporter;
    return reporter;
}

void Report(const std::string &caption, const std::string &text)
{
    if (Reporter())
        Reporter()(caption, text);
}

std::wstring NameOf(const char *name)
{
    std::wstring text;
    if (name == nullptr)
        return text;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(name); *p != 0; ++p)
        text.push_back(static_cast<wchar_t>(*p));
    return text;
}

std::string DeviceName(int device)
{
    const PmDeviceInfo *info = Pm_GetDeviceInfo(device);
    return info && info->name ? info->name : "device " + std::to_string(device);
}

// Every event read goes to the traffic log.
int ReadEvent(PmEvent &event)
{
    const int read = Pm_Read(midiIn, &event, 1);
    if (read > 0)
        Traffic().Received(event.message);
    return read;
}

int DeviceAt(const int *table, int position, int listed_count)
{
    if (position < 0 || position >= listed_count || position >= MIDI_DEVICE_TABLE_SIZE)
        return -1;
    return table[position];
}

}  // namespace

int Debug(PmError err)
{
    return err < 0 ? 1 : 0;
}

int DebugStream(int)
{
    return 0;
}

void SetMidiReporter(MidiReporter reporter)
{
    Reporter() = std::move(reporter);
}

MidiDeviceLists ListMidiDevices()
{
    MidiDeviceLists lists;
    const int count = Pm_CountDevices();
    for (int d = 0; d < count; ++d) {
        const PmDeviceInfo *info = Pm_GetDeviceInfo(d);
        if (info == nullptr)
            continue;
        if (info->input) {
            if (lists.inputs.size() < static_cast<size_t>(MIDI_DEVICE_TABLE_SIZE)) {
                midi_in_devices[lists.inputs.size()] = d;
                lists.inputs.push_back({d, NameOf(info->name)});
            }
        } else if (info->output) {
            if (lists.outputs.size() < static_cast<size_t>(MIDI_DEVICE_TABLE_SIZE)) {
                midi_out_devices[lists.outputs.size()] = d;
                lists.outputs.push_back({d, NameOf(info->name)});
            }
        }
    }
    return lists;
}

int MidiInDeviceAt(int position, int listed_count)
{
    return DeviceAt(midi_in_devices, position, listed_count);
}

int MidiOutDeviceAt(int position, int listed_count)
{
    return DeviceAt(midi_out_devices, position, listed_count);
}

int Open_Midi_Out(int device)
{
    const PmError err =
        Pm_OpenOutput(&midiOut, device, nullptr, MIDI_OUT_BUFFER_SIZE, nullptr, nullptr, MIDI_OUT_LATENCY);
    if (err < 0)
        midiOut = nullptr;
    else
        Traffic().UsePort(false, DeviceName(device));
    return Debug(err);
}

int Open_Midi_In(int device)
{
    const PmError err = Pm_OpenInput(&midiIn, device, nullptr, MIDI_IN_BUFFER_SIZE, nullptr, nullptr);
    if (Debug(err) != 0) {
        midiIn = nullptr;
        return 1;
    }
    Pm_SetFilter(midiIn, MIDI_IN_FILTER);
    Traffic().UsePort(true, DeviceName(device));
    // Whatever arrived before the port was ours is not an answer.
    PmEvent event;
    while (Pm_Poll(midiIn) > 0)
        DebugStream(ReadEvent(event));
    return 0;
}

void Close_Midi_In()
{
    if (midiIn != nullptr)
        Debug(Pm_Close(midiIn));
    midiIn = nullptr;
}

void Close_Midi_Out()
{
    if (midiOut != nullptr)
        Debug(Pm_Close(midiOut));
    midiOut = nullptr;
}

void WaitQueuedData()
{
    if (midiIn == nullptr)
        return;
    PmEvent event;
    int reads = 0;
    while (reads <= STALE_EVENTS_LIMIT) {
        if (ReadEvent(event) == 0)
            break;
        ++reads;
    }
    if (reads >= STALE_EVENTS_LIMIT)
        Report("MIDI error", "There are still data into the input buffer");
}

int SendSysexToMidiOut(uint8_t *sysex)
{
    WaitQueuedData();
    if (midiOut != nullptr) {
        Traffic().Sent(sysex);
        DebugStream(Pm_WriteSysEx(midiOut, SYSEX_SEND_TIMESTAMP, sysex));
    }
    return 0;
}

bool ReadOneEvent(PmEvent &event)
{
    if (midiIn == nullptr || Pm_Poll(midiIn) <= 0)
        return false;
    return ReadEvent(event) > 0;
}
