// MIDI port layer and SysEx exchange core over PortMidi (see Midi_Ios.h).
#include "Midi_Ios.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "config_tables.h"
#include "cross_functions.h"
#include "record_access.h"

PortMidiStream *midiIn = nullptr;
PortMidiStream *midiOut = nullptr;
int midi_in_devices[MIDI_DEVICE_TABLE_SIZE];
int midi_out_devices[MIDI_DEVICE_TABLE_SIZE];
unsigned int timer_wait = 0;
uint8_t serial_nb[11];

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

TransferPauseFunction &Pause()
{
    static TransferPauseFunction pause;
    return pause;
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

int DeviceAt(const int *table, int position, int listed_count)
{
    if (position < 0 || position >= listed_count || position >= MIDI_DEVICE_TABLE_SIZE)
        return -1;
    return table[position];
}

// One event from the open input, if one is there; errors count as no data.
bool ReadOneEvent(PmEvent &event)
{
    if (midiIn == nullptr || Pm_Poll(midiIn) <= 0)
        return false;
    return Pm_Read(midiIn, &event, 1) > 0;
}

} // namespace

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
    const PmError err = Pm_OpenOutput(&midiOut, device, nullptr, MIDI_OUT_BUFFER_SIZE,
                                      nullptr, nullptr, MIDI_OUT_LATENCY);
    if (err < 0)
        midiOut = nullptr;
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
    // Whatever arrived before the port was ours is not an answer.
    PmEvent event;
    while (Pm_Poll(midiIn) > 0)
        DebugStream(Pm_Read(midiIn, &event, 1));
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
        if (Pm_Read(midiIn, &event, 1) == 0)
            break;
        ++reads;
    }
    if (reads >= STALE_EVENTS_LIMIT)
        Report("MIDI error", "There are still data into the input buffer");
}

int SendSysexToMidiOut(uint8_t *sysex)
{
    WaitQueuedData();
    if (midiOut != nullptr)
        DebugStream(Pm_WriteSysEx(midiOut, SYSEX_SEND_TIMESTAMP, sysex));
    return 0;
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
                return;   // nothing before a SysEx start belongs to an answer
            Store(byte);
        } else if (byte >= 0xF8) {
            continue;     // a realtime message inside SysEx is no part of it
        } else if (byte == SYSEX_START) {
            // The message before was cut short: this one starts afresh.
            Start();
            Store(byte);
        } else if ((byte & 0x80) != 0 && byte != SYSEX_END) {
            broken_ = true;   // another status byte ends the message unfinished
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
        ++expected;   // assignment data ends with its checksum
    return count == expected;
}

bool FromTheController(const uint8_t *sysex)
{
    return sysex[0] == SYSEX_START && sysex[1] == CVQ9_MANUFACTURER_ID_0 && sysex[2] == CVQ9_MANUFACTURER_ID_1 &&
           sysex[3] == CVQ9_MANUFACTURER_ID_2 && sysex[4] == CVQ9_MODEL_ID_0 && sysex[5] == CVQ9_MODEL_ID_1 &&
           (sysex[6] & SYSEX_ANSWER_BIT) != 0;
}

uint8_t DecodeSysexAnswer(int action, const uint8_t *sysex_in, uint8_t *values, uint8_t param_address)
{
    // Another device's message, or an echo of a request, answers nothing;
    // without this the decoders could take its bytes for an invalid request.
    if (!FromTheController(sysex_in))
        return SYSEX_MALFORMED;
    const uint8_t index = static_cast<uint8_t>(ControlIndex);
    const uint8_t group = static_cast<uint8_t>(CurrentGroup);
    switch (action) {
    case WAIT_MIDI_ACK:
    case WAIT_MIDI_DATA: {
        if (ControlIndex > LAST_CONTROL_INDEX || CurrentGroup >= GROUP_NB)
            return SYSEX_MALFORMED;
        All_Params &record = AddressedRecord(CurrentGroup, ControlIndex);
        return Cvq9_Sysex_To_Midi_Assign(static_cast<uint8_t>(action), &record, sysex_in, index, group);
    }
    case WAIT_LCD_ACK:
    case WAIT_LCD_DATA: {
        if (ControlIndex < FIRST_GROUP_CONTROL || ControlIndex > LAST_CONTROL_INDEX || CurrentGroup >= GROUP_NB)
            return SYSEX_MALFORMED;
        uint8_t lcd[LCD_STRING_LENGHT + 1] = {};
        const uint8_t result = Cvq9_Sysex_To_Lcd_Assign(static_cast<uint8_t>(action), lcd, sysex_in, index, group);
        if (action == WAIT_LCD_DATA && result < SYSEX_MALFORMED) {
            // Exactly the sixteen characters received, trailing spaces kept.
            Q9Text text;
            for (unsigned i = 0; i < LCD_STRING_LENGHT; ++i)
                text.push_back(static_cast<wchar_t>(lcd[i]));
            mylcdstring[CurrentGroup][ControlIndex] = text;
        }
        return result;
    }
    case WAIT_COMMON_PARAM:
        return Cvq9_Sysex_To_Common_Param(param_address, values, sysex_in, group);
    case WAIT_IDENTITY:
        return Cvq9_Sysex_To_Common_Param(COMMON_PARAM_IDENTITY, values, sysex_in, 0);
    default:
        return SYSEX_MALFORMED;
    }
}

int WaitSysexAnswer(int action, uint8_t *sysex_in, uint8_t *values, unsigned timeout,
                    uint8_t &sysex_error, uint8_t param_address, const WaitStepHook &step)
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
            PmEvent event;
            if (ReadOneEvent(event))
                collector.Feed(event.message);
            if (step)
                step(timer_wait);
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
        sysex_error = DecodeSysexAnswer(action, sysex_in, values, param_address);
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
