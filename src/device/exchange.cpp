// The SysEx exchange with the controller (see exchange.h).
#include "exchange.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "Midi_Ios.h"
#include "cross_functions.h"
#include "text_bytes.h"

unsigned int timer_wait = 0;
uint8_t serial_nb[11];

namespace {

TransferPauseFunction &Pause()
{
    static TransferPauseFunction pause;
    return pause;
}

}  // namespace

void SetTransferPause(TransferPauseFunction pause)
{
    Pause() = std::move(pause);
}

void TransferPause(unsigned milliseconds)
{
    if (Pause())
        Pause()(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SysexCollector::Start()
{
    count_ = 0;
    last_ = 0;
    overflow_ = false;
    broken_ = false;
}

void SysexCollector::Store(uint8_t byte)
{
    last_ = byte;
    if (count_ < SYSEX_BUFFER_SIZE)
        buffer_[count_++] = byte;
    else
        overflow_ = true;
}

void SysexCollector::Feed(PmMessage message)
{
    const uint32_t bits = static_cast<uint32_t>(message);
    // A realtime message inside SysEx comes as an event of its own: its
    // other bytes are no SysEx data.
    if ((bits & 0xFFu) >= 0xF8u)
        return;
    for (int shift = 0; shift < 32 && !Ended(); shift += 8) {
        const uint8_t byte = static_cast<uint8_t>(bits >> shift);
        if (count_ == 0) {
            if (byte != SYSEX_START)
                return;  // nothing before a SysEx start belongs to an answer
            Store(byte);
        } else if (byte >= 0xF8) {
            continue;  // a realtime message inside SysEx is no part of it
        } else if (byte == SYSEX_START) {
            // The message before was cut short: this one starts afresh.
            Start();
            Store(byte);
        } else if ((byte & 0x80) != 0 && byte != SYSEX_END) {
            broken_ = true;  // another status byte ends the message unfinished
        } else {
            Store(byte);
        }
    }
}

bool DeclaredLengthMatches(const uint8_t *sysex, unsigned count)
{
    const unsigned declared = sysex[7];
    unsigned expected = SYSEX_HEADER_LENGHT + declared + 1;
    const unsigned kind = sysex[6] & SYSEX_KIND_MASK;
    if ((kind == SYSEX_KIND_MIDI || kind == SYSEX_KIND_LCD) && declared > 0)
        ++expected;  // assignment data ends with its checksum
    return count == expected;
}

bool FromTheController(const uint8_t *sysex)
{
    return sysex[0] == SYSEX_START && sysex[1] == CVQ9_MANUFACTURER_ID_0 && sysex[2] == CVQ9_MANUFACTURER_ID_1 &&
           sysex[3] == CVQ9_MANUFACTURER_ID_2 && sysex[4] == CVQ9_MODEL_ID_0 && sysex[5] == CVQ9_MODEL_ID_1 &&
           (sysex[6] & SYSEX_ANSWER_BIT) != 0;
}

uint8_t DecodeSysexAnswer(int action, const uint8_t *sysex_in, const AnswerTarget &target)
{
    // Another device's message, or an echo of a request, answers nothing;
    // without this the decoders could take its bytes for an invalid request.
    if (!FromTheController(sysex_in))
        return SYSEX_MALFORMED;
    switch (action) {
    case WAIT_MIDI_ACK:
    case WAIT_MIDI_DATA:
        // The decoder changes the record only when it accepts the answer whole.
        return target.record ? Cvq9_Sysex_To_Midi_Assign(static_cast<uint8_t>(action), target.record, sysex_in,
                                                         target.index, target.group)
                             : SYSEX_MALFORMED;
    case WAIT_LCD_ACK:
    case WAIT_LCD_DATA: {
        // LCD texts belong to group controls only.
        if (!target.lcd)
            return SYSEX_MALFORMED;
        uint8_t lcd[LCD_STRING_LENGHT + 1] = {};
        const uint8_t result =
            Cvq9_Sysex_To_Lcd_Assign(static_cast<uint8_t>(action), lcd, sysex_in, target.index, target.group);
        if (action == WAIT_LCD_DATA && result < SYSEX_MALFORMED)
            *target.lcd = FixedWidthText(lcd, LCD_STRING_LENGHT);  // trailing spaces kept
        return result;
    }
    case WAIT_COMMON_PARAM:
        return target.values ? Cvq9_Sysex_To_Common_Param(target.param_address, target.values, sysex_in, target.group)
                             : SYSEX_MALFORMED;
    case WAIT_IDENTITY:
        return target.values ? Cvq9_Sysex_To_Common_Param(COMMON_PARAM_IDENTITY, target.values, sysex_in, 0)
                             : SYSEX_MALFORMED;
    default:
        return SYSEX_MALFORMED;
    }
}

int WaitSysexAnswer(int action, uint8_t *sysex_in, const AnswerTarget &target, unsigned timeout, uint8_t &sysex_error,
                    const WaitStepHook &step, const WaitStepHook &ended)
{
    sysex_error = SYSEX_MALFORMED;
    std::memset(sysex_in, 0, SYSEX_BUFFER_SIZE);
    timer_wait = 0;
    SysexCollector collector(sysex_in);
    for (;;) {
        if (timer_wait >= timeout) {
            sysex_error = SYSEX_NO_ANSWER;
            return 0;
        }
        collector.Start();
        while (timer_wait < timeout && !collector.Ended()) {
            // What is already waiting is read in one step, up to the end of
            // the message (what follows it waits for the next message) and
            // at most twice an answer's worth, so that a device that never
            // stops sending cannot hold the wait inside one step.
            PmEvent event;
            for (unsigned n = 0; n < EVENTS_PER_STEP && !collector.Ended() && ReadOneEvent(event); ++n)
                collector.Feed(event.message);
            const WaitStepHook &hook = collector.Ended() && ended ? ended : step;
            if (hook)
                hook(timer_wait);
            if (must_finish_midi) {
                sysex_error = SYSEX_NO_ANSWER;
                return 0;
            }
            ++timer_wait;
        }
        if (collector.Count() == 0)
            continue;
        // A message cut to the buffer or broken by a status byte, one shorter
        // than a header and its end, or one whose length is not the length
        // its header declares, is no answer; the wait listens on.
        if (collector.Overflowed() || collector.Broken() || collector.Count() < SYSEX_HEADER_LENGHT + 1 ||
            !DeclaredLengthMatches(sysex_in, collector.Count()))
            continue;
        sysex_error = DecodeSysexAnswer(action, sysex_in, target);
        if (sysex_error < SYSEX_MALFORMED)
            return 0;
    }
}

constexpr WaitStepPacer::Clock::duration WaitStepPacer::STEP;
constexpr WaitStepPacer::Clock::duration WaitStepPacer::MAX_LAG;
constexpr WaitStepPacer::Clock::duration WaitStepPacer::YIELD_INTERVAL;

WaitStepPacer::WaitStepPacer()
    : WaitStepPacer([] { return Clock::now(); }, [](Clock::time_point t) { std::this_thread::sleep_until(t); })
{
}

WaitStepPacer::WaitStepPacer(NowFunction now, SleepFunction sleep_until)
    : now_(std::move(now)), sleep_until_(std::move(sleep_until))
{
}

void WaitStepPacer::StartWait()
{
    // Back-to-back waits keep one schedule, so the work between them (the
    // next request, the labels) is absorbed too; after a longer break the
    // schedule starts afresh.
    const Clock::time_point now = now_();
    if (now - deadline_ > MAX_LAG || deadline_ > now)
        deadline_ = now;
}

void WaitStepPacer::SleepStep()
{
    deadline_ += STEP;
    const Clock::time_point now = now_();
    if (now >= deadline_) {
        // Late: no sleep, and the schedule never trails by more than MAX_LAG.
        if (now - deadline_ > MAX_LAG)
            deadline_ = now - MAX_LAG;
        return;
    }
    sleep_until_(deadline_);
}

bool WaitStepPacer::YieldDue()
{
    const Clock::time_point now = now_();
    if (now - last_yield_ < YIELD_INTERVAL)
        return false;
    last_yield_ = now;
    return true;
}

std::string SysexErrorText(uint8_t sysex_error, const uint8_t *sysex_in)
{
    switch (sysex_error) {
    case SYSEX_INVALID_REQUEST:
        return "Invalid request";
    case SYSEX_REFUSED:
        return "Bad Acknoledge received";
    case SYSEX_NO_ANSWER:
        return "No answer received";
    case SYSEX_MALFORMED: {
        std::string text = "Missing or Uncomplete Sysex Answer\n";
        bool empty = true;
        for (unsigned i = 0; i < SYSEX_BUFFER_SIZE; ++i)
            if (sysex_in[i] != 0)
                empty = false;
        if (empty)
            return text + "Empty input buffer";
        for (unsigned i = 0; i < SYSEX_BUFFER_SIZE; ++i) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X ", sysex_in[i]);
            text += hex;
            if (sysex_in[i] == SYSEX_END)
                break;
        }
        return text;
    }
    default:
        return std::string();
    }
}

std::string RefusedControlText(unsigned group, unsigned control)
{
    return "Group " + std::to_string(group) + " - Control " + std::to_string(control) + "\n" +
           SysexErrorText(SYSEX_INVALID_REQUEST, nullptr);
}

std::string RefusedParameterText(unsigned group, unsigned address)
{
    return "Group " + std::to_string(group) + " - Parameter " + std::to_string(address) + "\n" +
           SysexErrorText(SYSEX_INVALID_REQUEST, nullptr);
}

IdentityTexts IdentityFromSerial(const uint8_t *identity)
{
    IdentityTexts texts;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%1d.%1d", identity[0], identity[1]);
    texts.fw_version = buffer;
    std::snprintf(buffer, sizeof buffer, "%1d.%1d", identity[2], identity[3]);
    texts.hw_version = buffer;
    std::snprintf(buffer, sizeof buffer, "20%02d", identity[4]);
    texts.fw_year = buffer;
    std::snprintf(buffer, sizeof buffer, "%02d", identity[5]);
    texts.fw_month = buffer;
    std::snprintf(buffer, sizeof buffer, "%1d-%1d%1d%1d%1d", identity[6], identity[7], identity[8], identity[9],
                  identity[10]);
    texts.serial = buffer;
    texts.fw_version_number = static_cast<float>(identity[0] + identity[1] * 0.1);
    texts.hw_version_number = static_cast<float>(identity[2] + identity[3] * 0.1);
    return texts;
}
