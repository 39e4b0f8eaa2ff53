// MIDI port layer over PortMidi.
//
// Ports are opened around each device operation and closed afterwards; while
// one runs, `midiOut` and `midiIn` are the open streams. Everything here runs
// on the GUI thread and is free of the toolkit: the one message box of this
// layer goes through a settable reporter.
#ifndef CVQ9_MIDI_IOS_H
#define CVQ9_MIDI_IOS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <portmidi.h>

// Entries of each port selector; devices beyond this in one direction are not listed.
constexpr int MIDI_DEVICE_TABLE_SIZE = 32;

extern PortMidiStream *midiIn;                        // input stream while a device operation runs
extern PortMidiStream *midiOut;                       // output stream while a device operation runs
extern int midi_in_devices[MIDI_DEVICE_TABLE_SIZE];   // PortMidi device number of each MIDI-in selector entry
extern int midi_out_devices[MIDI_DEVICE_TABLE_SIZE];  // PortMidi device number of each MIDI-out selector entry

// Opening and closing settings, as PortMidi receives them.
constexpr int32_t MIDI_OUT_BUFFER_SIZE = 1024;
constexpr int32_t MIDI_IN_BUFFER_SIZE = 1024;
constexpr int32_t MIDI_OUT_LATENCY = 60;
constexpr PmTimestamp SYSEX_SEND_TIMESTAMP = 20;
// Active sensing and clock never reach the reply parser; SysEx passes.
constexpr int32_t MIDI_IN_FILTER = PM_FILT_ACTIVE | PM_FILT_CLOCK;

constexpr int STALE_EVENTS_LIMIT = 1000;  // stale input events that make WaitQueuedData complain

// 1 for a negative PortMidi result (opening, closing), else 0.
int Debug(PmError err);
// Reads and writes on an open stream are never reported: always 0.
int DebugStream(int err);

// Shows one message ("MIDI error" box of this layer). Without a reporter nothing is shown.
using MidiReporter = std::function<void(const std::string &caption, const std::string &text)>;
void SetMidiReporter(MidiReporter reporter);

// One device of the system as the selectors list it.
struct MidiDeviceEntry {
    int device;         // PortMidi device number
    std::wstring name;  // one character per byte of the device's name
};
struct MidiDeviceLists {
    std::vector<MidiDeviceEntry> inputs;   // at most MIDI_DEVICE_TABLE_SIZE
    std::vector<MidiDeviceEntry> outputs;  // at most MIDI_DEVICE_TABLE_SIZE
};
// Lists every device in PortMidi's order (a device claiming both directions
// counts as an input only) and fills midi_in_devices / midi_out_devices.
MidiDeviceLists ListMidiDevices();

// Device number of a selector position, or -1 when the position has no entry
// (no selection, or beyond the listed devices).
int MidiInDeviceAt(int position, int listed_count);
int MidiOutDeviceAt(int position, int listed_count);

int Open_Midi_Out(int device);  // 0 on success, 1 on failure
int Open_Midi_In(int device);   // 0 on success, 1 on failure; filter set, input emptied
void Close_Midi_In();
void Close_Midi_Out();

// Empties the input of what arrived before a request (at most 1001 events).
void WaitQueuedData();
// Empties the input, then writes the message from its 0xF0 to its 0xF7. Always 0.
int SendSysexToMidiOut(uint8_t *sysex);

// One event from the open input, if one is there; errors count as no data.
bool ReadOneEvent(PmEvent &event);

#endif
