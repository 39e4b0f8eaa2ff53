// The simulated controller and the program's codec check each other: what the
// codec writes, the controller stores; what the controller answers, the codec
// decodes to the same values.
#include "midi_test_support.h"

namespace {

uint8_t WriteThenAck(MidiTest &, SimulatedQ9 &q9, const uint8_t *out, size_t n)
{
    auto answers = q9.Receive(SimulatedQ9::Bytes(out, out + n));
    if (answers.empty())
        return 251;
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    std::memcpy(buffer, answers.back().bytes.data(), answers.back().bytes.size());
    return DecodeSysexAnswer(WAIT_MIDI_ACK, buffer, MidiTest::Target());
}

class SimulatedQ9Test : public MidiTest
{};

TEST_F(SimulatedQ9Test, DefaultRecordOfGroup0Index5IsStoredFromTheDocumentedMessage)
{
    const uint8_t message[40] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x1B, 0x1C, 0x05, 0x00, 0x00, 0x05, 0x09, 0x0C,
                                 0x00, 0x00, 0x00, 0x03, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x07, 0x0F,
                                 0x00, 0x00, 0x00, 0x00, 0x0B, 0x00, 0x00, 0x05, 0x00, 0x00, 0x47, 0xF7};
    auto answers = q9.Receive(SimulatedQ9::Bytes(message, message + 40));
    ASSERT_EQ(1u, answers.size());
    EXPECT_EQ(SimulatedQ9::Acknowledge(0x5B, 5, 0), answers[0].bytes);
    All_Params expected;
    InitMidiStruct(&expected, 0, 5, 1);
    EXPECT_EQ(0, std::memcmp(q9.midi[0][5], &expected, 11 + expected.midi_str_lenght));
}

TEST_F(SimulatedQ9Test, WrongChecksumIsRefused)
{
    All_Params record;
    InitMidiStruct(&record, 2, 9, 1);
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    const uint8_t n = Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &record, out, 9, 2);
    out[n - 2] ^= 1;
    CurrentGroup = 2;
    ControlIndex = 9;
    EXPECT_EQ(252, WriteThenAck(*this, q9, out, n));
    EXPECT_EQ(0, q9.midi[2][9][3]);
}

TEST_F(SimulatedQ9Test, EveryDefaultRecordTravelsBothWays)
{
    for (unsigned group : {0u, 7u, 20u}) {
        for (unsigned index = (group == 0 ? 0u : 5u); index <= 66; ++index) {
            All_Params record;
            InitMidiStruct(&record, static_cast<uint8_t>(group), static_cast<uint8_t>(index), 1);
            uint8_t out[SYSEX_BUFFER_SIZE] = {};
            const uint8_t n = Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_NO_ACK, &record, out, static_cast<uint8_t>(index),
                                                        static_cast<uint8_t>(group));
            ASSERT_LT(n, 251) << group << "/" << index;
            EXPECT_TRUE(q9.Receive(SimulatedQ9::Bytes(out, out + n)).empty());
            ASSERT_EQ(0, std::memcmp(q9.Record(static_cast<int>(group), static_cast<int>(index)), &record,
                                     11 + record.midi_str_lenght));

            ASSERT_EQ(11, Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &record, out, static_cast<uint8_t>(index),
                                                    static_cast<uint8_t>(group)));
            auto answers = q9.Receive(SimulatedQ9::Bytes(out, out + 11));
            ASSERT_EQ(1u, answers.size());
            uint8_t in[SYSEX_BUFFER_SIZE] = {};
            std::memcpy(in, answers[0].bytes.data(), answers[0].bytes.size());
            All_Params back;
            std::memset(&back, 0xEE, sizeof back);
            EXPECT_EQ(
                12 + 2 * (11 + record.midi_str_lenght),
                Cvq9_Sysex_To_Midi_Assign(3, &back, in, static_cast<uint8_t>(index), static_cast<uint8_t>(group)));
            EXPECT_EQ(0, std::memcmp(&back, &record, 11 + record.midi_str_lenght));
        }
    }
}

TEST_F(SimulatedQ9Test, LcdTextTravelsBothWays)
{
    const uint8_t text[17] = "Filter ~ Reso 1";
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    ASSERT_EQ(44, Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, out, 66, 20));
    auto acks = q9.Receive(SimulatedQ9::Bytes(out, out + 44));
    ASSERT_EQ(1u, acks.size());
    EXPECT_EQ(SimulatedQ9::Acknowledge(0x59, 66, 20), acks[0].bytes);
    EXPECT_EQ(0, std::memcmp(q9.lcd[20][66], "Filter ~ Reso 1 ", 16));

    ASSERT_EQ(11, Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, text, out, 66, 20));
    auto answers = q9.Receive(SimulatedQ9::Bytes(out, out + 11));
    ASSERT_EQ(1u, answers.size());
    uint8_t in[SYSEX_BUFFER_SIZE] = {};
    std::memcpy(in, answers[0].bytes.data(), answers[0].bytes.size());
    uint8_t back[17] = {};
    EXPECT_EQ(44, Cvq9_Sysex_To_Lcd_Assign(4, back, in, 66, 20));
    EXPECT_STREQ("Filter ~ Reso 1 ", reinterpret_cast<char *>(back));
}

TEST_F(SimulatedQ9Test, CommonParametersTravelBothWays)
{
    struct Item {
        uint8_t address;
        uint8_t *controller;
        size_t length;
    };
    uint8_t values[64];
    for (int i = 0; i < 64; ++i)
        values[i] = static_cast<uint8_t>((i * 7 + 3) & 0x7F);
    const Item items[] = {{0, &q9.common[0], 1},       {1, &q9.common[1], 1},      {3, &q9.common[3], 1},
                          {4, &q9.common[4], 1},       {5, &q9.common[5], 1},      {11, &q9.common[11], 1},
                          {32, &q9.common[32], 1},     {33, &q9.common[33], 1},    {34, &q9.curves[0][0], 64},
                          {35, &q9.curves[0][64], 64}, {36, &q9.curves[1][0], 64}, {37, &q9.curves[1][64], 64}};
    for (const Item &item : items) {
        uint8_t out[SYSEX_BUFFER_SIZE] = {};
        uint8_t copy[64];
        std::memcpy(copy, values, 64);
        const uint8_t n = Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, item.address, copy, out, 9);
        ASSERT_LT(n, 251);
        EXPECT_TRUE(q9.Receive(SimulatedQ9::Bytes(out, out + n)).empty());
        EXPECT_EQ(0, std::memcmp(item.controller, values, item.length)) << int(item.address);

        ASSERT_EQ(11, Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, item.address, copy, out, 9));
        auto answers = q9.Receive(SimulatedQ9::Bytes(out, out + 11));
        ASSERT_EQ(1u, answers.size());
        uint8_t in[SYSEX_BUFFER_SIZE] = {};
        std::memcpy(in, answers[0].bytes.data(), answers[0].bytes.size());
        uint8_t back[64] = {};
        EXPECT_EQ(12 + Get_Common_Param_Data_Lenght(item.address),
                  Cvq9_Sysex_To_Common_Param(item.address, back, in, 9));
        EXPECT_EQ(0, std::memcmp(back, values, item.length)) << int(item.address);
    }
}

TEST_F(SimulatedQ9Test, GroupNameTravelsBothWays)
{
    uint8_t name[15] = "Drums";
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    const uint8_t n = Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, out, 12);
    ASSERT_EQ(39, n);
    q9.Receive(SimulatedQ9::Bytes(out, out + n));
    EXPECT_EQ(0, std::memcmp(q9.names[12], "Drums         ", 14));
}

TEST_F(SimulatedQ9Test, IdentityAnswerCarriesAnswerAndRequestBits)
{
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    uint8_t values[11] = {};
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, values, out, 0);
    auto answers = q9.Receive(SimulatedQ9::Bytes(out, out + 11));
    ASSERT_EQ(1u, answers.size());
    const SimulatedQ9::Bytes expected = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x70, 0x0B, 0x7F, 0x00, 1,
                                         6,    2,    0,    7,    3,    1,    2,    3,    4,    5,    0xF7};
    EXPECT_EQ(expected, answers[0].bytes);
}

TEST_F(SimulatedQ9Test, ScriptsSilenceBudgetDelayAndSplit)
{
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    uint8_t values[11] = {};
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, values, out, 0);
    const SimulatedQ9::Bytes request(out, out + 11);
    q9.answer_budget = 1;
    EXPECT_EQ(1u, q9.Receive(request).size());
    EXPECT_TRUE(q9.Receive(request).empty());
    q9.answer_budget = -1;
    q9.split_size = 10;
    q9.split_gap = 3;
    q9.answer_delay = 5;
    auto pieces = q9.Receive(request);
    ASSERT_EQ(3u, pieces.size());
    EXPECT_EQ(5u, pieces[0].delay);
    EXPECT_EQ(8u, pieces[1].delay);
    EXPECT_EQ(11u, pieces[2].delay);
    EXPECT_EQ(2u, pieces[2].bytes.size());
    EXPECT_EQ(3u, q9.received.size());
}

TEST_F(SimulatedQ9Test, FakeInputPacksSysExFourBytesPerEventAndRealtimeApart)
{
    auto events = pmfake::EventsFromBytes({0xF0, 0x01, 0x02, 0xF8, 0x03, 0x04, 0x05, 0xF7});
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ(static_cast<PmMessage>(0xF8), events[0].event.message);
    EXPECT_FALSE(events[0].sysex);
    EXPECT_EQ(static_cast<PmMessage>(0x030201F0u), events[1].event.message);
    EXPECT_EQ(static_cast<PmMessage>(0x00F70504u), events[2].event.message);
    EXPECT_TRUE(events[2].sysex);
}

}  // namespace
