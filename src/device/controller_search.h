// Finding the controller: the ports are listed again (devices plugged in
// since appear, unplugged ones go), every input listens while the identity
// request goes out on each output in turn, and the first pair that carries an
// identity answer is the controller's.
#ifndef CVQ9_CONTROLLER_SEARCH_H
#define CVQ9_CONTROLLER_SEARCH_H

#include <cstdint>

#include "Midi_Ios.h"
#include "exchange.h"

// Steps of 1 ms each output is listened to: a controller answers the
// identity request within a few milliseconds, even at MIDI's wire speed.
constexpr unsigned SEARCH_STEPS_PER_OUTPUT = 250;

struct ControllerSearch {
    MidiDeviceLists lists;     // the ports as now listed
    int in_position = -1;      // selector positions of the pair that answered; -1 when none did
    int out_position = -1;
    uint8_t identity[11] = {};
};

// Lists the ports again: PortMidi lists devices once per initialisation.
MidiDeviceLists RelistMidiDevices();

// Lists the ports again and searches them. Ports that fail to open are
// passed over. `step` is called after each step of listening, like a wait's
// step; the search ends early when must_finish_midi is set.
ControllerSearch SearchController(const WaitStepHook &step);

#endif
