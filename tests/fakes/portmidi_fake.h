// Test double of PortMidi: the functions of <portmidi.h> the program uses,
// implemented over configurable devices, for tests only.
//
// Input queues keep PortMidi's event layout: a SysEx message arrives as
// events packing up to four bytes each (first byte in the lowest 8 bits), a
// realtime byte inside it is an event of its own, and the input filter uses
// the bits exactly as portmidi.h defines them. Opening a device that does not
// exist, has the wrong direction, is busy or is scripted to fail returns
// pmInvalidDeviceId.
//
// Time is counted in ticks: every Pm_Poll on an input stream is one tick (the
// program polls once per wait step). Events queued with a delay become
// readable once that many ticks have passed.
#ifndef CVQ9_PORTMIDI_FAKE_H
#define CVQ9_PORTMIDI_FAKE_H

#include <cstdint>
#include <string>
#include <vector>

#include <portmidi.h>

class SimulatedQ9;

namespace pmfake {

using Bytes = std::vector<uint8_t>;

struct Device {
    std::string name;
    bool input = false;
    bool output = false;
    bool fail_open = false;  // open refused as if the device had vanished
};

// One Pm_OpenInput / Pm_OpenOutput call as the program made it.
struct OpenCall {
    int device = 0;
    bool input = false;
};

// One Pm_WriteSysEx call.
struct Write {
    int device = 0;
    Bytes bytes;  // from 0xF0 to 0xF7 included
};

// Forgets devices, queues, streams, records and the controller.
void Reset();
void SetDevices(const std::vector<Device> &devices);
// Devices plugged in or out later: PortMidi lists them at its next
// initialisation, after a Pm_Terminate, as the real one does.
void PlugDevices(const std::vector<Device> &devices);
// A usual system: 0 "Midi Through Port-0" in, 1 "Midi Through Port-0" out,
// 2 "Corvana Q9 MIDI 1" in, 3 "Corvana Q9 MIDI 1" out, with the simulated
// controller answering messages written to 3 on input 2.
void SetUsualSystem(SimulatedQ9 *controller);
// Messages written to `output_device` reach `controller`; its answers are
// queued on `input_device` while that input is open.
void ConnectController(SimulatedQ9 *controller, int output_device, int input_device);
// Called after the controller handled each message written to it, with the
// message and what it sent back (used to log and dump it outside the process).
using WriteObserver = void (*)(const Bytes &message, const std::vector<Bytes> &answers);
void SetWriteObserver(WriteObserver observer);

// Queues raw MIDI bytes on an input device (open or not), parsed as a MIDI
// byte stream into events, readable after `delay` ticks.
void Inject(int input_device, const Bytes &bytes, uint64_t delay = 0);
// Queues `count` note-on events.
void InjectNotes(int input_device, int count, uint64_t delay = 0);

// Bytes go out and come in at this many bytes per second each way, in real
// time (DIN MIDI: 3125); 0, the default, delivers at once.
void SetWireSpeed(unsigned bytes_per_second);

// Records.
const std::vector<OpenCall> &Opens();
const std::vector<Write> &Writes();
std::vector<Bytes> WrittenTo(int output_device);
int OpenStreams();  // streams open now
int CloseCount();
int PollCount();
void ClearRecords();

}  // namespace pmfake

#endif
