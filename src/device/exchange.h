// The SysEx exchange with the controller: collecting one answer from the
// input's events, telling answers from other messages, decoding an answer into
// the record, text or bytes its caller names, and the wait for it with its
// pacing. Free of the toolkit: the wait calls a step hook (the editor panel
// moves its gauge and yields to the event loop there).
#ifndef CVQ9_EXCHANGE_H
#define CVQ9_EXCHANGE_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include <portmidi.h>

#include "config_tables.h"

extern unsigned int timer_wait;  // 1-ms steps taken by the current wait
extern uint8_t serial_nb[11];    // identity of the controller (firmware, hardware, date, serial)

// Wait kinds of an exchange: which answer is expected and which decoder reads it.
enum : int {
    WAIT_MIDI_ACK = 1,
    WAIT_LCD_ACK = 2,
    WAIT_MIDI_DATA = 3,
    WAIT_LCD_DATA = 4,
    WAIT_COMMON_PARAM = 5,
    WAIT_IDENTITY = 127,
};

constexpr unsigned WAIT_STEPS_DEFAULT = 5000;  // every exchange waits up to 5000 steps of 1 ms
// Events read at most in one step: twice the events of the longest answer.
constexpr unsigned EVENTS_PER_STEP = 2 * SYSEX_BUFFER_SIZE / 4;

// Collects one SysEx message from PortMidi events into a 128-byte buffer.
// Bytes before a 0xF0 start are dropped; bytes beyond the buffer are dropped
// too and mark the message as overflowed (never a valid answer). Inside a
// message, realtime bytes (0xF8 to 0xFF) are dropped, as MIDI lets them sit
// there; a new 0xF0 starts the message afresh; any other status byte ends it
// as broken (never a valid answer).
class SysexCollector
{
public:
    explicit SysexCollector(uint8_t *buffer) : buffer_(buffer) {}
    void Start();                  // next message from byte 0
    void Feed(PmMessage message);  // up to four bytes, first in the lowest 8 bits
    bool Complete() const { return last_ == SYSEX_END_BYTE; }
    bool Broken() const { return broken_; }
    bool Ended() const { return Complete() || broken_; }
    unsigned Count() const { return count_; }
    bool Overflowed() const { return overflow_; }

    static constexpr uint8_t SYSEX_END_BYTE = 0xF7;

private:
    void Store(uint8_t byte);

    uint8_t *buffer_;
    unsigned count_ = 0;
    uint8_t last_ = 0;
    bool overflow_ = false;
    bool broken_ = false;
};

// True when a collected message of `count` bytes (its 0xF7 included) is as
// long as its header says: the header, the data length of byte 7, a checksum
// after assignment data, and the 0xF7. `count` is at least a header and its end.
bool DeclaredLengthMatches(const uint8_t *sysex, unsigned count);

// True when the message carries this controller's header and the answer bit.
bool FromTheController(const uint8_t *sysex);

// Where an answer goes: the control the request named (its index and group)
// with the record and the LCD text that take its data, or the bytes that take
// a common parameter or the identity.
struct AnswerTarget {
    uint8_t index = 0;
    uint8_t group = 0;
    All_Params *record = nullptr;  // MIDI assignment data
    Q9Text *lcd = nullptr;         // LCD data: exactly the 16 characters received
    uint8_t *values = nullptr;     // common parameter or identity data
    uint8_t param_address = 0;     // the common parameter's address
};

// Decodes a collected answer with the decoder of the wait kind into the
// target. 255 for a kind that decodes nothing or a target it lacks.
uint8_t DecodeSysexAnswer(int action, const uint8_t *sysex_in, const AnswerTarget &target);

// Called after each wait step's read with the step number; it moves the gauge,
// sleeps and yields. The wait then samples must_finish_midi.
using WaitStepHook = std::function<void(unsigned step)>;

// The wait of one exchange: listens up to `timeout` steps for a valid answer,
// skipping messages that do not answer the request. The status goes to
// `sysex_error` (251 no answer or cancelled). Returns 0. A step in which a
// message came to its end calls `ended` instead of `step` when it is given:
// the message is looked at at once, without waiting for the step's end.
int WaitSysexAnswer(int action, uint8_t *sysex_in, const AnswerTarget &target, unsigned timeout, uint8_t &sysex_error,
                    const WaitStepHook &step, const WaitStepHook &ended = nullptr);

// The fixed pauses that pace the controller between messages (the
// common-parameter transfers) go through here: by default a sleep, or the
// function set (tests see the pauses without waiting). Null restores the sleep.
using TransferPauseFunction = std::function<void(unsigned milliseconds)>;
void SetTransferPause(TransferPauseFunction pause);
void TransferPause(unsigned milliseconds);

// Paces the steps of the waits at one per millisecond of real time. Each
// step sleeps to an absolute deadline (one millisecond after the previous
// step's), so the time a step spends reading, moving the gauge or yielding
// comes out of its sleep instead of adding to it; a wait of n steps lasts at
// least n milliseconds. A step that overran lets the next ones skip their
// sleep until the schedule is back on time, but the schedule never trails by
// more than MAX_LAG (a long stall, such as a modal box, is not paid back by a
// burst). Back-to-back waits, such as the exchanges of a transfer, keep one
// schedule, so the work between them is absorbed as well; a wait after a
// longer break starts afresh. The pacer also says when the user interface is
// due for a yield: at most every YIELD_INTERVAL, across waits, which is once
// per step at the normal pace, so that a Cancel is seen within about a
// millisecond (or as soon as the toolkit has finished a frame it is drawing).
class WaitStepPacer
{
public:
    using Clock = std::chrono::steady_clock;
    using NowFunction = std::function<Clock::time_point()>;
    using SleepFunction = std::function<void(Clock::time_point)>;

    static constexpr Clock::duration STEP = std::chrono::milliseconds(1);
    static constexpr Clock::duration MAX_LAG = std::chrono::milliseconds(4);
    // A little under a step: one yield per step, none in a burst of late steps.
    static constexpr Clock::duration YIELD_INTERVAL = std::chrono::microseconds(900);

    WaitStepPacer();  // steady clock, std::this_thread::sleep_until
    WaitStepPacer(NowFunction now, SleepFunction sleep_until);

    void StartWait();  // the first step ends one STEP from now, or from the previous step's end
    void SleepStep();  // sleeps to the end of the current step
    // True when a yield is due now (and counts it as done).
    bool YieldDue();

private:
    NowFunction now_;
    SleepFunction sleep_until_;
    Clock::time_point deadline_{};
    Clock::time_point last_yield_{};
};

// Text of the "CVQ9 MIDI Error" box for a failure status; for 255 it lists the
// answer buffer up to its first 0xF7. Empty for a status that is no failure.
std::string SysexErrorText(uint8_t sysex_error, const uint8_t *sysex_in);

// Texts of the "CVQ9 MIDI Error" box for a request the codec refused to build
// (254): which group and control, or which common parameter, it was for.
std::string RefusedControlText(unsigned group, unsigned control);
std::string RefusedParameterText(unsigned group, unsigned address);

// True for the statuses that mean an exchange failed (no answer, refused, invalid).
inline bool IsFailedExchange(uint8_t sysex_error)
{
    return sysex_error >= 251;
}

// The identity as the preferences tab shows it.
struct IdentityTexts {
    std::string fw_version;   // "%1d.%1d" of bytes 0, 1
    std::string hw_version;   // "%1d.%1d" of bytes 2, 3
    std::string fw_year;      // "20%02d" of byte 4
    std::string fw_month;     // "%02d" of byte 5
    std::string serial;       // "%1d-%1d%1d%1d%1d" of bytes 6..10
    float fw_version_number;  // major + minor * 0.1, computed in double precision
    float hw_version_number;
};
IdentityTexts IdentityFromSerial(const uint8_t *identity);

// Range of the progress gauge of the all-operations for a group range.
inline int AllOperationsGaugeRange(int from_group, int to_group)
{
    return 62 * (to_group - from_group) + 67;
}

#endif
