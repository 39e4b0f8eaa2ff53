// Exchange layer: what is sent, how stale input is emptied, how answers are
// collected from PortMidi events, and which messages end a wait.
#include "midi_test_support.h"

#include "text_bytes.h"

namespace {

std::vector<uint8_t> IdentityRequest()
{
    return {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x30, 0x0B, 0x7F, 0x00, 0xF7};
}

void BuildIdentityRequest(uint8_t *out)
{
    uint8_t values[11] = {};
    ASSERT_EQ(11, Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, values, out, 0));
}

// --- Sending ---------------------------------------------------------------

TEST_F(MidiTest, SendWritesTheMessageFromStartToEndWithTimestamp20)
{
    OpenBoth();
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    out[20] = 0x55;  // beyond the terminator: never sent
    EXPECT_EQ(0, SendSysexToMidiOut(out));
    ASSERT_EQ(1u, pmfake::Writes().size());
    EXPECT_EQ(kQ9Out, pmfake::Writes()[0].device);
    EXPECT_EQ(20, pmfake::Writes()[0].when);
    EXPECT_EQ(IdentityRequest(), pmfake::Writes()[0].bytes);
    EXPECT_EQ(IdentityRequest(), q9.received.at(0));
}

TEST_F(MidiTest, SendEmptiesStaleInputFirst)
{
    OpenBoth();
    pmfake::InjectNotes(kQ9In, 10);
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    SendSysexToMidiOut(out);
    // Only the answer is queued now: the notes were read away before the request.
    uint8_t status = 0;
    WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(serial_nb), 5000, status, nullptr);
    EXPECT_EQ(23, status);
    EXPECT_TRUE(reported.empty());
}

// --- Stale input -----------------------------------------------------------

TEST_F(MidiTest, ThousandStaleEventsAreReportedOnce)
{
    OpenBoth();
    pmfake::InjectNotes(kQ9In, 1000);
    WaitQueuedData();
    ASSERT_EQ(1u, reported.size());
    EXPECT_EQ("MIDI error", reported[0].first);
    EXPECT_EQ("There are still data into the input buffer", reported[0].second);
    EXPECT_EQ(0u, pmfake::Pending(kQ9In));
}

TEST_F(MidiTest, NineHundredNinetyNineStaleEventsAreNotReported)
{
    OpenBoth();
    pmfake::InjectNotes(kQ9In, 999);
    WaitQueuedData();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(0u, pmfake::Pending(kQ9In));
}

TEST_F(MidiTest, AtMost1001StaleEventsAreDiscardedPerCall)
{
    OpenBoth();
    pmfake::InjectNotes(kQ9In, 1500);
    WaitQueuedData();
    EXPECT_EQ(499u, pmfake::Pending(kQ9In));
    EXPECT_EQ(1u, reported.size());
}

// --- Collecting ------------------------------------------------------------

TEST_F(MidiTest, CollectorUnpacksFourBytesPerEventLowestFirst)
{
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    SysexCollector c(buffer);
    c.Start();
    c.Feed(static_cast<PmMessage>(0x513F00F0u));
    c.Feed(static_cast<PmMessage>(0x00F70100u));
    EXPECT_TRUE(c.Complete());
    EXPECT_EQ(7u, c.Count());
    const uint8_t expected[] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0xF7};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof expected));
    EXPECT_EQ(0, buffer[7]);  // the byte after 0xF7 in the same event is not taken
}

TEST_F(MidiTest, CollectorDropsEverythingBeforeASysExStart)
{
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    SysexCollector c(buffer);
    c.Start();
    c.Feed(0x00403C90);  // a note
    EXPECT_EQ(0u, c.Count());
    c.Feed(0x000000F0);  // the whole event is taken once the start is there
    EXPECT_EQ(4u, c.Count());
    EXPECT_FALSE(c.Complete());
}

TEST_F(MidiTest, CollectorNeverStoresBeyond128Bytes)
{
    uint8_t guard_before[8];
    uint8_t buffer[SYSEX_BUFFER_SIZE + 8];
    std::memset(guard_before, 0xAA, sizeof guard_before);
    std::memset(buffer, 0xAA, sizeof buffer);
    SysexCollector c(buffer);
    c.Start();
    c.Feed(0x010101F0);
    for (int i = 0; i < 60; ++i)
        c.Feed(0x01010101);
    c.Feed(0x000000F7);
    EXPECT_TRUE(c.Complete());
    EXPECT_TRUE(c.Overflowed());
    EXPECT_EQ(128u, c.Count());
    for (int i = 128; i < 136; ++i)
        EXPECT_EQ(0xAA, buffer[i]) << i;
}

// --- Waiting ---------------------------------------------------------------

TEST_F(MidiTest, IdentityAnswerIsDecodedIntoTheValues)
{
    OpenBoth();
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    const uint8_t expected[11] = {1, 6, 2, 0, 7, 3, 1, 2, 3, 4, 5};
    EXPECT_EQ(0, std::memcmp(serial_nb, expected, 11));
    // 23 bytes, four per step: the answer took six steps.
    EXPECT_EQ(6u, timer_wait);
}

TEST_F(MidiTest, SilentControllerGivesNoAnswerAfterExactlyTheTimeout)
{
    OpenBoth();
    q9.silent = true;
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    unsigned steps = 0;
    uint8_t status = 0;
    SendSysexToMidiOut(out);
    WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(serial_nb), 300, status, [&](unsigned) { ++steps; });
    EXPECT_EQ(251, status);
    EXPECT_EQ(300u, steps);
    EXPECT_EQ(300u, timer_wait);
    const uint8_t zero[SYSEX_BUFFER_SIZE] = {};
    EXPECT_EQ(0, std::memcmp(sysex_in, zero, sizeof zero));
}

TEST_F(MidiTest, HookSeesEveryStepNumberInOrder)
{
    OpenBoth();
    q9.silent = true;
    std::vector<unsigned> seen;
    uint8_t status = 0;
    WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(serial_nb), 5, status, [&](unsigned s) { seen.push_back(s); });
    EXPECT_EQ((std::vector<unsigned>{0, 1, 2, 3, 4}), seen);
}

TEST_F(MidiTest, CancelEndsTheWaitAtTheStepItWasSetIn)
{
    OpenBoth();
    q9.silent = true;
    uint8_t status = 0;
    WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(serial_nb), 5000, status, [&](unsigned s) {
        if (s == 41)
            must_finish_midi = true;
    });
    EXPECT_EQ(251, status);
    EXPECT_EQ(41u, timer_wait);
}

TEST_F(MidiTest, CancelEndsTheWaitEvenWhileTheAnswerArrives)
{
    OpenBoth();
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    SendSysexToMidiOut(out);
    uint8_t status = 0;
    WaitSysexAnswer(WAIT_IDENTITY, sysex_in, Target(serial_nb), 5000, status,
                    [&](unsigned) { must_finish_midi = true; });
    EXPECT_EQ(251, status);
}

TEST_F(MidiTest, NotesAndRealtimeBeforeTheAnswerAreSkipped)
{
    OpenBoth();
    q9.before_answer = {{0x90, 0x3C, 0x40}, {0xF8}, {0xB0, 0x07, 0x64}, {0xFE}};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_EQ(1, serial_nb[0]);
    EXPECT_EQ(6, serial_nb[1]);
}

TEST_F(MidiTest, SysExOfAnotherDeviceBeforeTheAnswerIsSkipped)
{
    OpenBoth();
    q9.before_answer = {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x20, 0x29, 0x01, 0x00, 0xF7}};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
}

TEST_F(MidiTest, ShortSysExOfAnotherDeviceIsNotTakenForAnInvalidRequest)
{
    OpenBoth();
    // Shorter than a header: the bytes after it in the buffer are left over.
    q9.before_answer = {{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0xF7},
                        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
}

TEST_F(MidiTest, MessagesWithoutTheControllersHeaderOrAnswerBitAnswerNothing)
{
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x70, 0x0B, 0x7F, 0x00, 1,
                                         6,    2,    0,    7,    3,    1,    2,    3,    4,    5,    0xF7};
    uint8_t values[11] = {};
    EXPECT_TRUE(FromTheController(buffer));
    EXPECT_EQ(23, DecodeSysexAnswer(WAIT_IDENTITY, buffer, Target(values)));
    buffer[6] = 0x00;  // no answer bit: the decoder alone would call it an invalid request
    EXPECT_EQ(255, DecodeSysexAnswer(WAIT_IDENTITY, buffer, Target(values)));
    buffer[6] = 0x70;
    buffer[5] = 0x02;  // another model
    EXPECT_EQ(255, DecodeSysexAnswer(WAIT_IDENTITY, buffer, Target(values)));
}

TEST_F(MidiTest, EchoOfTheRequestIsSkipped)
{
    OpenBoth();
    q9.before_answer = {IdentityRequest()};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
}

TEST_F(MidiTest, ClockInterleavedInsideTheAnswerIsFilteredOut)
{
    OpenBoth();
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    q9.tamper = [](SimulatedQ9::Bytes &answer) {
        answer.insert(answer.begin() + 5, 0xF8);
        answer.insert(answer.begin() + 13, 0xFE);
    };
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_EQ(5, serial_nb[10]);
}

TEST_F(MidiTest, BrokenAnswersAreNoAnswerAndRealtimeInsideIsDropped)
{
    struct Case {
        const char *name;
        void (*tamper)(SimulatedQ9::Bytes &);
        uint8_t status;
    } const cases[] = {
        {"cut after its header",
         [](SimulatedQ9::Bytes &a) {
             a.resize(10);
             a.push_back(0xF7);
         },
         251},
        {"one data byte missing", [](SimulatedQ9::Bytes &a) { a.erase(a.begin() + 12); }, 251},
        {"one data byte too many", [](SimulatedQ9::Bytes &a) { a.insert(a.begin() + 12, 0x01); }, 251},
        {"a note inside",
         [](SimulatedQ9::Bytes &a) {
             a.insert(a.begin() + 12, {0x90, 0x3C, 0x40});
         },
         251},
        {"start and reset inside",
         [](SimulatedQ9::Bytes &a) {
             a.insert(a.begin() + 12, {0xFA, 0xFF});
         },
         23},
    };
    for (const Case &c : cases) {
        SetUp();
        OpenBoth();
        q9.tamper = c.tamper;
        std::memset(serial_nb, 0x55, sizeof serial_nb);
        uint8_t out[SYSEX_BUFFER_SIZE] = {};
        BuildIdentityRequest(out);
        EXPECT_EQ(c.status, Exchange(out, WAIT_IDENTITY, serial_nb, 0, 300)) << c.name;
        EXPECT_EQ(c.status == 23 ? 1 : 0x55, serial_nb[0]) << c.name;
        EXPECT_EQ(c.status == 23 ? 5 : 0x55, serial_nb[10]) << c.name;
        TearDown();
    }
}

TEST_F(MidiTest, ACutMessageIsDroppedWhenANewOneStarts)
{
    OpenBoth();
    // An answer cut in the middle, then the whole answer.
    q9.before_answer = {{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x70, 0x0B, 0x7F, 0x00, 9, 9}};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_EQ(1, serial_nb[0]);
}

TEST_F(MidiTest, AnswerSplitOverTimeIsCollectedWhole)
{
    OpenBoth();
    q9.split_size = 5;
    q9.split_gap = 40;
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_GE(timer_wait, 4u * 40u);
}

TEST_F(MidiTest, SlowAnswerWithinTheTimeoutIsAccepted)
{
    OpenBoth();
    q9.answer_delay = 4000;
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_GT(timer_wait, 3990u);
}

TEST_F(MidiTest, AnswerLaterThanTheTimeoutIsNoAnswer)
{
    OpenBoth();
    q9.answer_delay = 6000;
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(251, Exchange(out, WAIT_IDENTITY, serial_nb));
}

TEST_F(MidiTest, AnswerForAnotherControlIsSkippedAndTheRightOneTaken)
{
    OpenBoth();
    CurrentGroup = 2;
    ControlIndex = 10;
    q9.midi[2][10][3] = 2;
    q9.midi[2][10][11] = 0xB0;
    q9.midi[2][10][12] = 0x07;
    SimulatedQ9::Bytes other = SimulatedQ9::Header(0x73, 22, 11, 2);
    for (int i = 0; i < 22; ++i)
        other.push_back(0);
    other.push_back(0);
    other.push_back(0xF7);
    q9.before_answer = {other};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_EQ(11, Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &mycontrol[2][10], out, 10, 2));
    EXPECT_EQ(12 + 26, Exchange(out, WAIT_MIDI_DATA));
    EXPECT_EQ(2, mycontrol[2][10].midi_str_lenght);
    EXPECT_EQ(0xB0, mycontrol[2][10].midi_string[0]);
    EXPECT_EQ(0x07, mycontrol[2][10].midi_string[1]);
}

TEST_F(MidiTest, OnlyInvalidMessagesGiveNoAnswer)
{
    OpenBoth();
    q9.tamper = [](SimulatedQ9::Bytes &answer) { answer[9] = 1; };  // another group
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(251, Exchange(out, WAIT_IDENTITY, serial_nb, 0, 500));
    EXPECT_EQ(0x70, sysex_in[6]);  // the last collected bytes stay for the dump
}

TEST_F(MidiTest, OverlongMessageIsNoAnswerAndTheWaitListensOn)
{
    OpenBoth();
    // A 130-byte message whose first 128 bytes would decode as an identity.
    SimulatedQ9::Bytes longer = SimulatedQ9::Header(0x70, 11, 127, 0);
    while (longer.size() < 129)
        longer.push_back(9);
    longer.push_back(0xF7);
    q9.before_answer = {longer};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    BuildIdentityRequest(out);
    EXPECT_EQ(23, Exchange(out, WAIT_IDENTITY, serial_nb));
    EXPECT_EQ(1, serial_nb[0]);  // the real answer, not the nines
}

TEST_F(MidiTest, OverlongMessageAloneEndsWithNoAnswer)
{
    OpenBoth();
    SimulatedQ9::Bytes longer = SimulatedQ9::Header(0x70, 11, 127, 0);
    while (longer.size() < 199)
        longer.push_back(9);
    longer.push_back(0xF7);
    pmfake::Inject(kQ9In, longer);
    uint8_t status = 0;
    uint8_t canary[SYSEX_BUFFER_SIZE + 16];
    std::memset(canary, 0x11, sizeof canary);
    WaitSysexAnswer(WAIT_IDENTITY, canary, Target(serial_nb), 300, status, nullptr);
    EXPECT_EQ(251, status);
    for (size_t i = SYSEX_BUFFER_SIZE; i < sizeof canary; ++i)
        EXPECT_EQ(0x11, canary[i]);
}

TEST_F(MidiTest, RefusedAcknowledgeIs252)
{
    OpenBoth();
    q9.refuse_acks = true;
    CurrentGroup = 0;
    ControlIndex = 7;
    InitMidiStruct(&mycontrol[0][7], 0, 7, 1);
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_LT(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &mycontrol[0][7], out, 7, 0), 251);
    EXPECT_EQ(252, Exchange(out, WAIT_MIDI_ACK));
}

TEST_F(MidiTest, AcceptedAcknowledgeIs0AndTheControllerStoresTheRecord)
{
    OpenBoth();
    CurrentGroup = 4;
    ControlIndex = 20;
    InitMidiStruct(&mycontrol[4][20], 4, 20, 1);
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_LT(Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &mycontrol[4][20], out, 20, 4), 251);
    EXPECT_EQ(0, Exchange(out, WAIT_MIDI_ACK));
    EXPECT_EQ(0, std::memcmp(q9.midi[4][20], &mycontrol[4][20], 32));
}

TEST_F(MidiTest, LcdDataReplacesTheTextByExactlySixteenCharacters)
{
    OpenBoth();
    CurrentGroup = 3;
    ControlIndex = 30;
    std::memcpy(q9.lcd[3][30], "Cutoff          ", 16);
    mylcdstring[3][30] = L"old";
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_EQ(11, Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, nullptr, out, 30, 3));
    EXPECT_EQ(44, Exchange(out, WAIT_LCD_DATA));
    EXPECT_EQ(Q9Text(L"Cutoff          "), mylcdstring[3][30]);
}

TEST_F(MidiTest, LcdKindsDecodeNothingForATransportButton)
{
    ControlIndex = 3;
    CurrentGroup = 0;
    SimulatedQ9::Bytes ack = SimulatedQ9::Acknowledge(0x59, 3, 0);
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    std::memcpy(buffer, ack.data(), ack.size());
    EXPECT_EQ(255, DecodeSysexAnswer(WAIT_LCD_ACK, buffer, Target(nullptr)));
    EXPECT_EQ(255, DecodeSysexAnswer(WAIT_LCD_DATA, buffer, Target(nullptr)));
    EXPECT_EQ(255, DecodeSysexAnswer(9, buffer, Target(nullptr)));
}

TEST_F(MidiTest, CommonParameterAnswerUsesTheCurrentGroup)
{
    OpenBoth();
    CurrentGroup = 6;
    std::memcpy(q9.names[6], "Strings  pad  ", 14);
    uint8_t name[15] = {};
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_EQ(11, Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_GROUP_NAME, name, out, 6));
    EXPECT_EQ(40, Exchange(out, WAIT_COMMON_PARAM, name, COMMON_PARAM_GROUP_NAME));
    EXPECT_STREQ("Strings  pad  ", reinterpret_cast<char *>(name));
}

}  // namespace
