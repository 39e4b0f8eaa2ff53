// The port layer and the exchange against the PortMidi test double and the
// simulated controller: listing and opening ports, stale input, collecting
// answers from PortMidi's events, which messages answer a request, the
// time-out and Cancel, and the pace of the wait steps on a clock of the test's own.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "Midi_Ios.h"
#include "exchange.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "simulated_q9.h"
#include "test_support.h"

namespace {

constexpr int kQ9In = 2, kQ9Out = 3;
using Bytes = std::vector<uint8_t>;
const Bytes kIdentityRequest = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x30, 0x0B, 0x7F, 0x00, 0xF7};

class Exchange : public ::testing::Test
{
protected:
    SimulatedQ9 q9;
    std::vector<std::string> reported;
    uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};

    void SetUp() override
    {
        pmfake::Reset();
        pmfake::SetUsualSystem(&q9);
        must_finish_midi = false;
        ResetConfiguration(0);
        SetMidiReporter([this](const std::string &, const std::string &text) { reported.push_back(text); });
    }

    void TearDown() override
    {
        Close_Midi_In();
        Close_Midi_Out();
        SetMidiReporter(nullptr);
    }

    void OpenBoth() { ASSERT_EQ(Open_Midi_Out(kQ9Out) + Open_Midi_In(kQ9In), 0); }

    // Where the editor puts an answer for control `index` of `group`, or into `values`.
    static AnswerTarget Target(unsigned group, unsigned index, uint8_t *values = nullptr)
    {
        AnswerTarget target;
        target.index = static_cast<uint8_t>(index);
        target.group = static_cast<uint8_t>(group);
        target.record = &AddressedRecord(group, index);
        target.lcd = index >= FIRST_GROUP_CONTROL ? &mylcdstring[group][index] : nullptr;
        target.values = values;
        return target;
    }

    // Asks for the identity as the editor does (the buffer goes on after the 0xF7), then waits for the answer.
    uint8_t Identity(unsigned timeout = WAIT_STEPS_DEFAULT, const WaitStepHook &step = nullptr)
    {
        std::memset(serial_nb, 0x55, sizeof serial_nb);
        Bytes request = kIdentityRequest;
        request.resize(SYSEX_BUFFER_SIZE + 8, 0x55);
        EXPECT_EQ(SendSysexToMidiOut(request.data()), 0);
        uint8_t status = 0;
        WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(0, 0, serial_nb), timeout, status, step);
        return status;
    }

    bool GotIdentity() const { return Bytes(serial_nb, serial_nb + 11) == Bytes{1, 6, 2, 0, 7, 3, 1, 2, 3, 4, 5}; }
};

TEST_F(Exchange, PortsAreListedAndOpenedAsTheProgramNeedsThem)
{
    ListMidiDevices();
    EXPECT_EQ(MidiInDeviceAt(1, 2) * 10 + MidiOutDeviceAt(1, 2), kQ9In * 10 + kQ9Out);
    for (int position : {-1, 2})
        EXPECT_EQ(MidiInDeviceAt(position, 2), -1);
    EXPECT_EQ(MidiOutDeviceAt(32, 40), -1);
    // Names one character per byte; a device of both directions is an input; 32 entries at most.
    std::vector<pmfake::Device> devices(41, {"in", true, false, false});
    devices[0] = {"Both \xE9", true, true, false};
    devices.push_back({"out", false, true, false});
    pmfake::SetDevices(devices);
    const MidiDeviceLists many = ListMidiDevices();
    EXPECT_EQ(many.inputs.size() * 100 + many.outputs.size(), 3201u);
    EXPECT_EQ(many.inputs[0].name, L"Both \u00E9");
    EXPECT_EQ(midi_in_devices[31] * 100 + midi_out_devices[0], 3141);

    pmfake::SetUsualSystem(&q9);
    pmfake::Inject(kQ9In, {0xF8, 0x90, 0x3C, 0x40});  // what was pending goes: only the note after is read
    OpenBoth();
    EXPECT_TRUE(!pmfake::Opens()[0].input && pmfake::Opens()[0].device == kQ9Out && pmfake::Opens()[1].input);
    pmfake::Inject(kQ9In, {0xF8, 0xFE, 0x90, 0x3C, 0x40});  // clock and active sensing are filtered out
    PmEvent event;
    EXPECT_TRUE(ReadOneEvent(event) && event.message == 0x403C90);
    EXPECT_FALSE(ReadOneEvent(event));
    // A busy, unknown or wrong-way device is refused.
    PortMidiStream *first = midiIn;
    EXPECT_EQ(Open_Midi_In(kQ9In), 1);
    EXPECT_EQ(midiIn, nullptr);
    Pm_Close(first);
    Close_Midi_Out();
    EXPECT_EQ(pmfake::OpenStreams(), 0);
    EXPECT_EQ(Open_Midi_Out(kQ9In) + Open_Midi_Out(99) + Open_Midi_Out(-1) + Open_Midi_In(kQ9Out), 4);
}

TEST_F(Exchange, SendingEmptiesStaleInputFirstAndAnswersAreCollectedFromTheEvents)
{
    OpenBoth();
    pmfake::InjectNotes(kQ9In, 10);
    EXPECT_EQ(Identity(), 23);
    EXPECT_TRUE(GotIdentity() && reported.empty());
    ASSERT_EQ(pmfake::Writes().size(), 1u);
    EXPECT_EQ(pmfake::Writes()[0].bytes, kIdentityRequest);
    EXPECT_EQ(timer_wait, 1u);  // what waits is read in one step
    const struct {
        int stale;
        size_t left, reports;
    } cases[] = {{999, 0, 0}, {1000, 0, 1}, {1500, 499, 1}};  // at most 1001 events a call
    for (const auto &c : cases) {
        reported.clear();
        pmfake::InjectNotes(kQ9In, c.stale);
        WaitQueuedData();
        size_t left = 0;
        for (PmEvent event; ReadOneEvent(event);)
            ++left;
        EXPECT_EQ(left * 10 + reported.size(), c.left * 10 + c.reports) << c.stale;
    }
    // Four bytes an event, lowest first; nothing before a start, nothing after the end.
    uint8_t buffer[SYSEX_BUFFER_SIZE];
    std::memset(buffer, 0xAA, sizeof buffer);
    SysexCollector c(buffer);
    c.Start();
    for (PmMessage m : {0x00403C90u, 0x513F00F0u, 0xAAF70100u})
        c.Feed(m);
    EXPECT_TRUE(c.Complete());
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0xF7, 0xAA}));
}

// Messages that answer nothing are skipped and the answer is taken.
TEST_F(Exchange, OnlyTheAnswerToTheRequestIsTaken)
{
    SimulatedQ9::Bytes overlong = SimulatedQ9::Header(0x70, 11, 127, 0);
    overlong.resize(129, 9);  // its first 128 bytes would decode as an identity
    overlong.push_back(0xF7);
    const std::vector<std::vector<Bytes>> before = {
        {{0x90, 0x3C, 0x40}, {0xF8}, {0xB0, 0x07, 0x64}, {0xFE}},
        {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0xF7}, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}},
        {kIdentityRequest},  // an echo of the request
        {overlong}};
    for (size_t i = 0; i < before.size(); ++i) {
        SetUp();
        OpenBoth();
        q9.before_answer = before[i];
        EXPECT_EQ(Identity(), 23) << i;
        EXPECT_TRUE(GotIdentity()) << i;
        TearDown();
    }
    // Another model's answer is none; LCD answers are none for a transport button, unknown waits none at all.
    uint8_t answer[SYSEX_BUFFER_SIZE] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x02, 0x70, 0x0B, 0x7F, 0x00};
    EXPECT_EQ(DecodeSysexAnswer(WAIT_IDENTITY, answer, Target(0, 0, serial_nb)), 255);
    answer[5] = 0x01;
    answer[6] = 0x30;  // no answer bit
    EXPECT_EQ(DecodeSysexAnswer(WAIT_IDENTITY, answer, Target(0, 0, serial_nb)), 255);
    for (int action : {int(WAIT_LCD_ACK), int(WAIT_LCD_DATA), 9})
        EXPECT_EQ(DecodeSysexAnswer(action, SimulatedQ9::Acknowledge(0x59, 3, 0).data(), Target(0, 3)), 255);
}

TEST_F(Exchange, BrokenAnswersAreNoAnswerAndRealtimeInsideIsDropped)
{
    const struct {
        const char *name;
        long cut;   // data bytes taken out at offset 12
        Bytes put;  // bytes put in there
        uint8_t group, status;
    } cases[] = {
        {"one data byte missing", 1, {}, 0, 251},         {"one data byte too many", 0, {0x01}, 0, 251},
        {"a note inside", 0, {0x90, 0x3C, 0x40}, 0, 251}, {"start and reset inside", 0, {0xFA, 0xFF}, 0, 23},
        {"another group's identity", 0, {}, 1, 251},
    };
    for (const auto &c : cases) {
        SetUp();
        OpenBoth();
        q9.tamper = [&c](SimulatedQ9::Bytes &a) {
            a.erase(a.begin() + 12, a.begin() + 12 + c.cut);
            a.insert(a.begin() + 12, c.put.begin(), c.put.end());
            a[9] = c.group;
        };
        EXPECT_EQ(c.status, Identity(300)) << c.name;
        EXPECT_EQ(c.status == 23 ? 1 : 0x55, serial_nb[0]) << c.name;
        EXPECT_EQ(c.status == 23 ? 5 : 0x55, serial_nb[10]) << c.name;
        TearDown();
    }
    EXPECT_EQ(sysex_in[6], 0x70);  // the last collected bytes stay for the error box
}

TEST_F(Exchange, TheWaitEndsWithTheAnswerAtTheTimeOutOrAtCancel)
{
    OpenBoth();
    q9.silent = true;
    std::vector<unsigned> steps;
    EXPECT_EQ(Identity(300, [&](unsigned s) { steps.push_back(s); }), 251);
    EXPECT_TRUE(steps.size() == 300 && steps[299] == 299 && timer_wait == 300);
    EXPECT_EQ(Bytes(sysex_in, sysex_in + SYSEX_BUFFER_SIZE), Bytes(SYSEX_BUFFER_SIZE, 0));
    EXPECT_EQ(Identity(WAIT_STEPS_DEFAULT, [](unsigned s) { must_finish_midi = s == 41; }), 251);
    EXPECT_EQ(timer_wait, 41u);
    q9.silent = must_finish_midi = false;
    EXPECT_EQ(Identity(WAIT_STEPS_DEFAULT, [](unsigned) { must_finish_midi = true; }), 251);  // even as it arrives
    must_finish_midi = false;
    const struct {  // the answer split over time, late but in time, or too late
        size_t split;
        uint64_t gap, delay;
        uint8_t status;
        unsigned at_least;
    } paces[] = {{5, 40, 0, 23, 150}, {0, 0, 4000, 23, 3990}, {0, 0, 6000, 251, 5000}};
    for (const auto &p : paces) {
        q9.split_size = p.split;
        q9.split_gap = p.gap;
        q9.answer_delay = p.delay;
        EXPECT_EQ(Identity(), p.status);
        EXPECT_GE(timer_wait, p.at_least);
    }
    // An overlong message alone writes nothing past the buffer.
    SimulatedQ9::Bytes longer = SimulatedQ9::Header(0x70, 11, 127, 0);
    longer.resize(199, 9);
    longer.push_back(0xF7);
    pmfake::Inject(kQ9In, longer);
    uint8_t canary[SYSEX_BUFFER_SIZE + 16], status = 0;
    std::memset(canary, 0x11, sizeof canary);
    WaitSysexAnswer(WAIT_IDENTITY, canary, Target(0, 0, serial_nb), 300, status, nullptr);
    EXPECT_EQ(status, 251);
    EXPECT_EQ(Bytes(canary + SYSEX_BUFFER_SIZE, canary + sizeof canary), Bytes(16, 0x11));
}

// What the error box says of a malformed answer: its bytes up to its end, none of an empty buffer.
TEST(ErrorText, AMalformedAnswerIsShownUpToItsEnd)
{
    uint8_t dump[SYSEX_BUFFER_SIZE] = {};
    EXPECT_EQ(SysexErrorText(255, dump).find("00 "), std::string::npos);
    std::memcpy(dump, "\xF0\x01\xF7\x12", 4);
    const std::string shown = SysexErrorText(255, dump), head = shown.substr(0, shown.find('\n') + 1);
    EXPECT_EQ(shown.substr(head.size()), "F0 01 F7 ");
    EXPECT_TRUE(SysexErrorText(0, dump).empty() && !SysexErrorText(252, dump).empty());
    std::memset(dump, 0x01, sizeof dump);  // without an end, all 128 bytes
    EXPECT_EQ(SysexErrorText(255, dump), head + Repeat("01 ", 128));
}

// Each step ends on its millisecond, the work of a step comes out of its
// sleep, late steps catch up a little only, back-to-back waits share one
// schedule, and the yields come once a step at most.
TEST(Pacer, StepsKeepToTheirMillisecondsOnTheTestsClock)
{
    using Clock = WaitStepPacer::Clock;
    Clock::time_point now = Clock::time_point(std::chrono::hours(1)), start = now;
    std::vector<int64_t> sleeps;  // microseconds from `start` to each sleep's end
    WaitStepPacer pacer{[&] { return now; },
                        [&](Clock::time_point until) {
                            sleeps.push_back(
                                std::chrono::duration_cast<std::chrono::microseconds>(until - start).count());
                            now = std::max(now, until);
                        }};
    auto steps = [&](int count, int work_us, bool restart = false) {
        now += std::chrono::microseconds(work_us);
        if (restart) {
            start = now;
            sleeps.clear();
        }
        for (int i = 0; i < count; ++i)
            pacer.SleepStep();
        return sleeps;
    };
    EXPECT_TRUE(pacer.YieldDue());
    pacer.StartWait();
    EXPECT_EQ(steps(2, 400), (std::vector<int64_t>{1000, 2000}));
    EXPECT_EQ(steps(4, 2500), (std::vector<int64_t>{1000, 2000, 5000, 6000}));  // late: no sleep till on time
    EXPECT_EQ(steps(7, 500000, true), (std::vector<int64_t>{1000, 2000}));      // a stall is not paid back
    now += std::chrono::microseconds(300);
    pacer.StartWait();  // a wait right after keeps the schedule, one after a break starts afresh
    EXPECT_EQ(steps(1, 0, true), (std::vector<int64_t>{700}));
    now += std::chrono::milliseconds(100);
    pacer.StartWait();
    EXPECT_EQ(steps(1, 0, true), (std::vector<int64_t>{1000}));
    const Clock::time_point began = now;  // whatever the work, n steps last n milliseconds at least
    pacer.StartWait();
    int n = 0, yields = 0;
    for (int us : {100, 1700, 0, 4200, 999, 12000, 10, 2500}) {
        steps(1, us);
        EXPECT_GE(now - began, std::chrono::milliseconds(++n));
    }
    now += std::chrono::milliseconds(100);
    pacer.StartWait();
    for (int i = 0; i < 10; ++i) {
        steps(1, 150);
        yields += pacer.YieldDue();
    }
    EXPECT_EQ(yields, 10);  // a Cancel is seen within a step
    now += std::chrono::milliseconds(3);
    yields = 0;
    for (int i = 0; i < 3; ++i) {
        steps(1, 0);
        yields += pacer.YieldDue();
    }
    EXPECT_EQ(yields, 1);
    now += WaitStepPacer::YIELD_INTERVAL - std::chrono::microseconds(1);
    EXPECT_FALSE(pacer.YieldDue());
    now += std::chrono::microseconds(1);
    EXPECT_TRUE(pacer.YieldDue());
}

}  // namespace
