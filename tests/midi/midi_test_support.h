// Shared set-up of the MIDI tests: a fresh test double with the usual system
// (simulated controller on output 3 / input 2), fresh tables, and helpers.
#ifndef CVQ9_MIDI_TEST_SUPPORT_H
#define CVQ9_MIDI_TEST_SUPPORT_H

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Midi_Ios.h"
#include "config_tables.h"
#include "exchange.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "simulated_q9.h"

constexpr int kQ9In = 2;
constexpr int kQ9Out = 3;

class MidiTest : public ::testing::Test
{
public:
    // What the editor names as the answer's place: the control ControlIndex
    // of CurrentGroup, or `values` for common parameters and the identity.
    static AnswerTarget Target(uint8_t *values = nullptr, uint8_t address = 0)
    {
        AnswerTarget target;
        target.index = static_cast<uint8_t>(ControlIndex);
        target.group = static_cast<uint8_t>(CurrentGroup);
        target.record = &AddressedRecord(CurrentGroup, ControlIndex);
        if (ControlIndex >= FIRST_GROUP_CONTROL)
            target.lcd = &mylcdstring[CurrentGroup][ControlIndex];
        target.values = values;
        target.param_address = address;
        return target;
    }

protected:
    SimulatedQ9 q9;
    std::vector<std::pair<std::string, std::string>> reported;

    void SetUp() override
    {
        pmfake::Reset();
        pmfake::SetUsualSystem(&q9);
        midiIn = nullptr;
        midiOut = nullptr;
        must_finish_midi = false;
        programming = false;
        CurrentGroup = 0;
        ControlIndex = 0;
        ResetConfiguration(0);
        SetMidiReporter([this](const std::string &c, const std::string &t) { reported.emplace_back(c, t); });
    }

    void TearDown() override
    {
        Close_Midi_In();
        Close_Midi_Out();
        SetMidiReporter(nullptr);
    }

    void OpenBoth()
    {
        ASSERT_EQ(0, Open_Midi_Out(kQ9Out));
        ASSERT_EQ(0, Open_Midi_In(kQ9In));
    }

    // One exchange without the toolkit: send, then wait with no sleeping.
    uint8_t Exchange(uint8_t *sysex_out, int action, uint8_t *values = nullptr, uint8_t address = 0,
                     unsigned timeout = WAIT_STEPS_DEFAULT)
    {
        SendSysexToMidiOut(sysex_out);
        uint8_t status = 0;
        WaitSysexAnswer(action, sysex_in, Target(values, address), timeout, status, nullptr);
        return status;
    }

    uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};
};

inline std::vector<uint8_t> Message(const uint8_t *buffer, size_t length)
{
    return std::vector<uint8_t>(buffer, buffer + length);
}

#endif
