// Standard templates: the 389-entry table, its labels, and the assignment a
// template writes into a record and its LCD text.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "cross_functions.h"
#include "templates.h"

namespace {

std::vector<uint8_t> Event(const StdTemplate &t)
{
    return std::vector<uint8_t>(t.event, t.event + t.length);
}

All_Params Filled(uint8_t byte)
{
    All_Params r;
    std::memset(&r, byte, sizeof r);
    return r;
}

}  // namespace

// ---- The table ----

TEST(StdTemplateTable, Has389Entries)
{
    EXPECT_EQ(STD_TEMPLATE_COUNT, 389u);
    EXPECT_EQ(sizeof StdTemplates / sizeof StdTemplates[0], 389u);
}

TEST(StdTemplateTable, FirstFiveEntries)
{
    EXPECT_STREQ(StdTemplates[0].label, "User Defined");
    EXPECT_EQ(StdTemplates[0].length, 0);
    EXPECT_EQ(StdTemplates[0].channel_position, 0);
    EXPECT_EQ(StdTemplates[0].value_position, 0);
    EXPECT_STREQ(StdTemplates[1].label, "SYSEX");
    EXPECT_EQ(Event(StdTemplates[1]), (std::vector<uint8_t>{0xF0}));
    EXPECT_EQ(StdTemplates[1].channel_position, 0);
    EXPECT_STREQ(StdTemplates[2].label, "RPN");
    EXPECT_EQ(Event(StdTemplates[2]), (std::vector<uint8_t>{0xB0, 0x65, 0x00, 0x64, 0x00, 0x06, 0x00}));
    EXPECT_EQ(StdTemplates[2].channel_position, 1);
    EXPECT_EQ(StdTemplates[2].value_position, 7);
    EXPECT_STREQ(StdTemplates[3].label, "NRPN");
    EXPECT_EQ(Event(StdTemplates[3]), (std::vector<uint8_t>{0xB0, 0x63, 0x00, 0x62, 0x00, 0x06, 0x00}));
    EXPECT_EQ(StdTemplates[3].value_position, 7);
    EXPECT_STREQ(StdTemplates[4].label, "Pitch Bend");
    EXPECT_EQ(Event(StdTemplates[4]), (std::vector<uint8_t>{0xE0, 0x00, 0x00}));
    EXPECT_EQ(StdTemplates[4].channel_position, 1);
    EXPECT_EQ(StdTemplates[4].value_position, 3);
}

TEST(StdTemplateTable, BoundaryEntries)
{
    EXPECT_STREQ(StdTemplates[5].label, "CC#0 : Bnk Msb");
    EXPECT_EQ(Event(StdTemplates[5]), (std::vector<uint8_t>{0xB0, 0x00, 0x00}));
    EXPECT_STREQ(StdTemplates[132].label, "CC#127 : Poly On");
    EXPECT_EQ(Event(StdTemplates[132]), (std::vector<uint8_t>{0xB0, 0x7F, 0x00}));
    EXPECT_EQ(StdTemplates[132].channel_position, 1);
    EXPECT_EQ(StdTemplates[132].value_position, 3);
    EXPECT_STREQ(StdTemplates[133].label, "Note 0 :C-1");
    EXPECT_EQ(Event(StdTemplates[133]), (std::vector<uint8_t>{0x90, 0x00, 0x00}));
    EXPECT_EQ(StdTemplates[133].channel_position, 1);
    EXPECT_EQ(StdTemplates[133].value_position, 3);
    EXPECT_STREQ(StdTemplates[260].label, "Note 127 :G9");
    EXPECT_STREQ(StdTemplates[261].label, "Program Ch 0");
    EXPECT_EQ(Event(StdTemplates[261]), (std::vector<uint8_t>{0xC0, 0x00}));
    EXPECT_EQ(StdTemplates[261].channel_position, 0);
    EXPECT_EQ(StdTemplates[261].value_position, 0);
    EXPECT_STREQ(StdTemplates[388].label, "Program Ch 127");
    EXPECT_EQ(Event(StdTemplates[388]), (std::vector<uint8_t>{0xC0, 0x7F}));
}

TEST(StdTemplateTable, ControlChangeLabels)
{
    const std::map<int, std::string> named = {
        {0, "CC#0 : Bnk Msb"},     {1, "CC#1 :Modulation"},   {2, "CC#2 : Breath"},      {4, "CC#4 : Foot Ctrl"},
        {5, "CC#5 : Port Time"},   {6, "CC#6 : Data Msb"},    {7, "CC#7 : Volume"},      {8, "CC#8 : Balance"},
        {10, "CC#10 : Pan"},       {11, "CC#11:Expression"},  {32, "CC#32 : Bank Lsb"},  {38, "CC#38 : Data Lsb"},
        {64, "CC#64:Pedal Sust"},  {65, "CC#65:Portamento"},  {66, "CC#66:Pedal Sost"},  {67, "CC#67:Pedal Soft"},
        {69, "CC#69 : Hold 2"},    {71, "CC#71 :Harmo cnt"},  {72, "CC#72 :Release"},    {73, "CC#73 :Attk time"},
        {74, "CC#74:Brigthness"},  {84, "CC#84 :Port Ctrl"},  {91, "CC#91 :Rev Depth"},  {92, "CC#92:Trem Depth"},
        {93, "CC#93 :Cho Depth"},  {94, "CC#94 :Cel Depth"},  {95, "CC#95 :Phas Dpth"},  {96, "CC#96 : Data Inc"},
        {97, "CC#97 : Data Dec"},  {98, "CC#98 : NRPN Lsb"},  {99, "CC#99 : NRPN Msb"},  {100, "CC#100 : RPN Lsb"},
        {101, "CC#101 : RPN Msb"}, {120, "CC#120 : Snd Off"}, {121, "CC#121 :Res Ctrl"}, {122, "CC#122 :Loc Ctrl"},
        {123, "CC#123 :Note Off"}, {124, "CC#124 :Omni Off"}, {125, "CC#125 : Omni On"}, {126, "CC#126 : Mono On"},
        {127, "CC#127 : Poly On"}};
    ASSERT_EQ(named.size(), 41u);
    for (int n = 0; n < 128; ++n) {
        const auto it = named.find(n);
        const std::string expected = it != named.end() ? it->second : "CC#" + std::to_string(n) + " :";
        EXPECT_EQ(StdTemplates[5 + n].label, expected) << n;
        EXPECT_EQ(Event(StdTemplates[5 + n]), (std::vector<uint8_t>{0xB0, static_cast<uint8_t>(n), 0x00}));
    }
    EXPECT_STREQ(StdTemplates[8].label, "CC#3 :");
}

TEST(StdTemplateTable, NoteAndProgramLabels)
{
    const char *names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    for (int n = 0; n < 128; ++n) {
        const std::string note = "Note " + std::to_string(n) + " :" + names[n % 12] + std::to_string(n / 12 - 1);
        EXPECT_EQ(StdTemplates[133 + n].label, note);
        EXPECT_EQ(Event(StdTemplates[133 + n]), (std::vector<uint8_t>{0x90, static_cast<uint8_t>(n), 0x00}));
        EXPECT_EQ(StdTemplates[261 + n].label, "Program Ch " + std::to_string(n));
        EXPECT_EQ(Event(StdTemplates[261 + n]), (std::vector<uint8_t>{0xC0, static_cast<uint8_t>(n)}));
    }
    EXPECT_STREQ(StdTemplates[133 + 1].label, "Note 1 :C#-1");
    EXPECT_STREQ(StdTemplates[133 + 60].label, "Note 60 :C4");
}

TEST(StdTemplateTable, NoLabelIsLongerThanSixteenCharacters)
{
    for (unsigned i = 0; i < STD_TEMPLATE_COUNT; ++i)
        EXPECT_LE(std::strlen(StdTemplates[i].label), 16u) << i;
}

// ---- Applying a template ----

TEST(StdTemplateApply, WritesTheAssignmentAndKeepsTheStandardModeByte)
{
    All_Params r = Filled(0x6B);
    Q9Text lcd = L"old";
    ASSERT_TRUE(ApplyStdTemplate(5 + 7, r, lcd));
    EXPECT_EQ(r.ctrl_status_0, 0x6B);
    EXPECT_EQ(r.ctrl_status_1, 0x9C);
    EXPECT_EQ(r.ctrl_status_2, 0);
    EXPECT_EQ(r.midi_str_lenght, 3);
    EXPECT_EQ(r.midi_channel_position, 1);
    EXPECT_EQ(r.ctrl_value_position_0, 3);
    EXPECT_EQ(r.ctrl_value_position_1, 0);
    EXPECT_EQ(r.ctrl_value_min, 0);
    EXPECT_EQ(r.ctrl_value_max, 127);
    EXPECT_EQ(r.checksum_start_position, 0);
    EXPECT_EQ(r.ctrl_chain, 0);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.midi_string[2], 0x00);
    for (int i = 3; i < 21; ++i)
        EXPECT_EQ(r.midi_string[i], 0x20) << i;
    EXPECT_EQ(lcd, L"CC#7 : Volume");
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
}

TEST(StdTemplateApply, UserDefinedLeavesAnEmptyEventThatFailsTheLengthCheck)
{
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_TRUE(ApplyStdTemplate(0, r, lcd));
    EXPECT_EQ(r.midi_str_lenght, 0);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(r.midi_string[i], 0x20);
    EXPECT_EQ(r.ctrl_value_max, 127);
    EXPECT_EQ(lcd, L"User Defined");
    EXPECT_EQ(CheckMidiStruct(&r, 10), 8);
}

TEST(StdTemplateApply, ProgramChangeHasNoChannelOrValuePosition)
{
    All_Params r = Filled(0xFF);
    Q9Text lcd;
    ASSERT_TRUE(ApplyStdTemplate(388, r, lcd));
    EXPECT_EQ(r.midi_str_lenght, 2);
    EXPECT_EQ(r.midi_string[0], 0xC0);
    EXPECT_EQ(r.midi_string[1], 0x7F);
    EXPECT_EQ(r.midi_string[2], 0x20);
    EXPECT_EQ(r.midi_channel_position, 0);
    EXPECT_EQ(r.ctrl_value_position_0, 0);
    EXPECT_EQ(lcd, L"Program Ch 127");
}

TEST(StdTemplateApply, NoteAndRpnTemplates)
{
    All_Params r = Filled(0);
    Q9Text lcd;
    ASSERT_TRUE(ApplyStdTemplate(133, r, lcd));
    EXPECT_EQ(r.midi_string[0], 0x90);
    EXPECT_EQ(r.midi_string[1], 0x00);
    EXPECT_EQ(lcd, L"Note 0 :C-1");
    ASSERT_TRUE(ApplyStdTemplate(2, r, lcd));
    EXPECT_EQ(r.midi_str_lenght, 7);
    EXPECT_EQ(r.ctrl_value_position_0, 7);
    EXPECT_EQ(r.midi_string[7], 0x20);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
}

TEST(StdTemplateApply, EveryTemplateButUserDefinedPassesTheRecordCheck)
{
    for (unsigned i = 1; i < STD_TEMPLATE_COUNT; ++i) {
        All_Params r = Filled(0);
        Q9Text lcd;
        ASSERT_TRUE(ApplyStdTemplate(i, r, lcd));
        EXPECT_EQ(CheckMidiStruct(&r, 10), 0) << i;
    }
}

TEST(StdTemplateApply, IndexOutOfTheListChangesNothing)
{
    All_Params r = Filled(0x11);
    Q9Text lcd = L"same";
    EXPECT_FALSE(ApplyStdTemplate(389, r, lcd));
    const All_Params expected = Filled(0x11);
    EXPECT_EQ(std::memcmp(&r, &expected, sizeof r), 0);
    EXPECT_EQ(lcd, L"same");
    EXPECT_EQ(StdTemplateLabel(389), L"");
}
