// A simulated controller for the tests: it holds a whole configuration of its
// own and answers requests by the controller's SysEx protocol. Its parsing is
// written from the protocol's tables, apart from the program's codec, so that
// the two check each other. Scripts below make it misbehave.
#ifndef CVQ9_SIMULATED_Q9_H
#define CVQ9_SIMULATED_Q9_H

#include <cstdint>
#include <functional>
#include <vector>

class SimulatedQ9
{
public:
    using Bytes = std::vector<uint8_t>;
    static constexpr int GROUPS = 21;
    static constexpr int CONTROLS = 67;
    static constexpr int TRANSPORTS = 5;
    static constexpr int RECORD = 32;

    // Bytes the controller sends back, readable `delay` ticks after the request.
    struct Emission {
        Bytes bytes;
        uint64_t delay = 0;
    };

    SimulatedQ9();

    // Handles one message written to the controller; returns what it sends back.
    std::vector<Emission> Receive(const Bytes &message);

    // Memory. Records are the 32-byte assignment layout (eleven fields, then the
    // MIDI string); indices 0..4 of `midi` are unused (the transport buttons
    // live in `transport`), as are indices 0..4 of `lcd`.
    uint8_t midi[GROUPS][CONTROLS][RECORD] = {};
    uint8_t transport[TRANSPORTS][RECORD] = {};
    uint8_t lcd[GROUPS][CONTROLS][16];  // texts and names start as spaces
    uint8_t names[GROUPS][14];
    uint8_t common[40] = {};
    uint8_t curves[2][128] = {};
    uint8_t identity[11] = {1, 6, 2, 0, 7, 3, 1, 2, 3, 4, 5};

    // The record of a control as the controller addresses it.
    uint8_t *Record(int group, int index);

    // Everything received, in order.
    std::vector<Bytes> received;

    // Scripts.
    bool silent = false;               // answers nothing
    int answer_budget = -1;            // answers this many messages, then stays silent (-1: no limit)
    bool refuse_acks = false;          // every acknowledge says refused
    uint64_t answer_delay = 0;         // ticks before the answer is readable
    size_t split_size = 0;             // pieces of this many bytes (0: whole)
    uint64_t split_gap = 0;            // ticks between pieces
    std::vector<Bytes> before_answer;  // sent before every answer
    // Called with each answer before it goes out; may change it (e.g. corrupt it).
    std::function<void(Bytes &)> tamper;

    // The header every message of this controller starts with.
    static Bytes Header(uint8_t code, uint8_t length, uint8_t index, uint8_t group);
    // A whole acknowledge: header with length 0, then 0xF7.
    static Bytes Acknowledge(uint8_t code, uint8_t index, uint8_t group);

private:
    bool HandleMidiWrite(const Bytes &m);
    bool HandleLcdWrite(const Bytes &m);
    void HandleCommonWrite(const Bytes &m);
    Bytes MidiAnswer(uint8_t index, uint8_t group);
    Bytes LcdAnswer(uint8_t index, uint8_t group);
    uint8_t *Common(uint8_t address, uint8_t group);  // where a common parameter address is kept
    bool CommonAnswer(uint8_t address, uint8_t group, uint8_t length, Bytes &answer);
    std::vector<Emission> Send(Bytes answer);
};

#endif
