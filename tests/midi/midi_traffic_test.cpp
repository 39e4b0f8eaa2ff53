// The traffic log joins the input's events into whole messages, whatever
// interrupts them, and tells what each means; the monitor's filters.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cross_functions.h"
#include "midi_traffic.h"
#include "test_support.h"

TEST(MidiTraffic, EventsAreJoinedIntoMessagesAndEachIsDescribed)
{
    MidiTraffic traffic;
    uint8_t request[SYSEX_BUFFER_SIZE] = {}, tempo = 90;
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_CURVE2_HIGH, &tempo, request, 4);
    traffic.Sent(request);
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, 5, &tempo, request, 4);
    traffic.Sent(request);
    const uint8_t text[] = "Cutoff";
    Cvq9_Lcd_Assign_To_Sysex(1, text, request, 17, 1);
    traffic.Sent(request);
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, &tempo, request, 0);
    traffic.Sent(request);
    // Events as the port reads them: up to four bytes each, the first in the lowest byte.
    const std::vector<std::vector<PmMessage>> events = {
        {Pm_Message(0x90, 0x3C, 0x40), Pm_Message(0xCF, 0x05, 0), Pm_Message(0xE0, 0x00, 0x40)},
        {0x05},                                // a data byte alone
        {Pm_Message(0xF2, 0x01, 0x02), 0xF6},  // song position, tune request
        {0x06007EF0, 0xF8, 0xF702},            // another device's SysEx, a clock inside
        {0x513F00F0, 0x00330100, 0xF70405},    // an echo of a request: no answer bit
        {0x513F00F0, 0x3C930100, 0x40},        // SysEx cut by a note on, whose data follow
        {0x513F00F0, 0x00420100, 0xF70405},    // this controller, a kind it has not
    };
    for (const std::vector<PmMessage> &group : events)
        for (PmMessage event : group)
            traffic.Received(event);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"user curve 2, points 64 to 127 read request, group 4", false},
        {"global parameter 5 write, group 4", false},
        {"LCD text write, group 1, control 17", false},
        {"identity request", false},
        {"note on, channel 1", false},
        {"program change, channel 16", false},
        {"pitch bend, channel 1", false},
        {"data bytes without a status byte", true},
        {"system message", false},
        {"system message", false},
        {"system message", false},
        {"another device's SysEx, not an answer", true},
        {"echo of a request, not an answer", true},
        {"SysEx message cut short", true},
        {"note on, channel 4", false},
        {"message of an unknown kind", true},
    };
    ASSERT_EQ(expected.size(), traffic.Messages().size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TrafficMessage &m = traffic.Messages()[i];
        const MessageMeaning meaning = DescribeMessage(m);
        EXPECT_EQ(expected[i].first, meaning.text) << i << ": " << HexBytes(m.bytes);
        EXPECT_EQ(expected[i].second, meaning.error) << i;
        EXPECT_EQ(meaning.error, FilterPasses(TrafficFilter::ErrorsOnly, m)) << i;
        EXPECT_EQ(m.bytes[0] == 0xF0, FilterPasses(TrafficFilter::SysExOnly, m)) << i;
    }
    EXPECT_EQ("F0 7E 00 06 02 F7", HexBytes(traffic.Messages()[11].bytes)) << "the clock stands alone";
    traffic.Clear();
    EXPECT_TRUE(traffic.Messages().empty());

    // What no sequence of events gives, and a full log, which drops its oldest.
    TrafficMessage m;
    m.incoming = true;
    EXPECT_EQ("empty message", DescribeMessage(m).text);
    m.bytes = HexBytes("F0 00 3F 51 00 01 43 00 05 00");
    m.bytes.resize(130, 0);
    m.bytes.push_back(0xF7);
    EXPECT_EQ("answer longer than 128 bytes", DescribeMessage(m).text);
    for (size_t i = 0; i <= MidiTraffic::CAPACITY; ++i)
        traffic.Sent(request);
    EXPECT_EQ(MidiTraffic::CAPACITY, traffic.Messages().size());
}
