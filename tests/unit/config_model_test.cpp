// The configuration tables and the rules every window relies on: the control
// roster, the addressing rule, the field-edit rule, the resets and the texts.
#include <gtest/gtest.h>

#include <cstring>

#include "config_tables.h"
#include "control_roster.h"
#include "param_messages.h"
#include "record_access.h"
#include "text_bytes.h"

namespace {

bool SameRecord(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A snapshot of the record tables, to prove an action touched nothing else.
struct RecordSnapshot {
    All_Params control[GROUP_NB][CONTROLS_PER_GROUP];
    All_Params transport[TRANSPORT_NB];
    RecordSnapshot()
    {
        std::memcpy(control, mycontrol, sizeof control);
        std::memcpy(transport, mytransport, sizeof transport);
    }
};

class ConfigModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetConfiguration(1);
        CurrentGroup = 0;
        ControlIndex = 0;
        all_selected_ctrl.clear();
        need_to_save_lib = false;
    }
};

TEST(ControlRoster, NamesFollowTheFrontPanel)
{
    EXPECT_EQ(ControlName(0), "Rec button");
    EXPECT_EQ(ControlName(4), "Forward button");
    EXPECT_EQ(ControlName(5), "Ribbon controller");
    EXPECT_EQ(ControlName(7), "Joystick Y");
    EXPECT_EQ(ControlName(8), "Knob 0 (row 0 - col 0)");
    EXPECT_EQ(ControlName(17), "Knob 9 (row 1 - col 1)");
    EXPECT_EQ(ControlName(39), "Knob 31 (row 3 - col 7)");
    EXPECT_EQ(ControlName(40), "Slider 0 (col 0)");
    EXPECT_EQ(ControlName(47), "Slider 7 (col 7)");
    EXPECT_EQ(ControlName(48), "Crossfader L");
    EXPECT_EQ(ControlName(49), "Crossfader R");
    EXPECT_EQ(ControlName(50), "Backward[Shift]");
    EXPECT_EQ(ControlName(54), "Rec[Shift]");
    EXPECT_EQ(ControlName(55), "Joystick button");
    EXPECT_EQ(ControlName(56), "Foot-Switch");
    EXPECT_EQ(ControlName(57), "Encoder button");
    EXPECT_EQ(ControlName(58), "Button 0");
    EXPECT_EQ(ControlName(65), "Button 7");
    EXPECT_EQ(ControlName(66), "LFO");
    EXPECT_EQ(ControlName(67), "");
}

TEST(ControlRoster, ChainListIsNoneThenControlsFiveToSixtyFive)
{
    EXPECT_EQ(ChainListEntry(0), "None");
    EXPECT_EQ(ChainListEntry(1), "Ribbon controller");
    EXPECT_EQ(ChainListEntry(61), "Button 7");
    EXPECT_EQ(ChainListEntry(62), "");
    for (unsigned i = 1; i < CHAIN_LIST_SIZE; ++i)
        EXPECT_EQ(ChainListEntry(i), ControlName(i + 4));
}

TEST_F(ConfigModel, TransportIndicesAddressTheSharedRecords)
{
    EXPECT_EQ(&AddressedRecord(7, 0), &mytransport[0]);
    EXPECT_EQ(&AddressedRecord(20, 4), &mytransport[4]);
    EXPECT_EQ(&AddressedRecord(7, 5), &mycontrol[7][5]);
    CurrentGroup = 12;
    EXPECT_EQ(&AddressedRecord(66), &mycontrol[12][66]);
    EXPECT_EQ(&AddressedRecord(3), &mytransport[3]);
}

TEST_F(ConfigModel, FieldEditChangesOnlyTheSelectedRecords)
{
    CurrentGroup = 4;
    all_selected_ctrl = {2, 10};
    RecordSnapshot before;
    EditSelectedRecords([](All_Params &r) { r.ctrl_value_max = 99; });
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_EQ(mytransport[2].ctrl_value_max, 99);
    EXPECT_EQ(mycontrol[4][10].ctrl_value_max, 99);
    for (unsigned t = 0; t < TRANSPORT_NB; ++t) {
        if (t != 2) {
            EXPECT_TRUE(SameRecord(mytransport[t], before.transport[t])) << t;
        }
    }
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            if (!(g == 4 && c == 10)) {
                EXPECT_TRUE(SameRecord(mycontrol[g][c], before.control[g][c])) << g << "/" << c;
            }
        }
    }
    All_Params expected = before.control[4][10];
    expected.ctrl_value_max = 99;
    EXPECT_TRUE(SameRecord(mycontrol[4][10], expected));
}

TEST_F(ConfigModel, FieldEditIgnoresIndicesOutsideTheRoster)
{
    all_selected_ctrl = {-1, 67, 200};
    RecordSnapshot before;
    EditSelectedRecords([](All_Params &r) { r.ctrl_chain = 5; });
    EXPECT_EQ(std::memcmp(before.control, mycontrol, sizeof before.control), 0);
    EXPECT_EQ(std::memcmp(before.transport, mytransport, sizeof before.transport), 0);
}

TEST_F(ConfigModel, EmptyConfigurationStoresTextsHoldingOnlyTheNul)
{
    mygroupnames[3] = L"keep";
    common_params[0] = 0x42;
    user_curve_1[5] = 9;
    InitAllStructsTables(0);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c) {
            ASSERT_EQ(mylcdstring[g][c], Q9Text(1, L'\0')) << g << "/" << c;
            EXPECT_FALSE(mylcdstring[g][c].empty());
            EXPECT_EQ(mycontrol[g][c].midi_str_lenght, 0);
        }
    }
    // Group names, common parameters and curves are left alone.
    EXPECT_EQ(mygroupnames[3], L"keep");
    EXPECT_EQ(common_params[0], 0x42);
    EXPECT_EQ(user_curve_1[5], 9);
}

TEST_F(ConfigModel, DefaultConfigurationNumbersEachControl)
{
    EXPECT_EQ(mylcdstring[0][5], Q9Text(L"    CC # 005") + L'\0');
    EXPECT_EQ(mylcdstring[12][5], Q9Text(L"    CC # 101") + L'\0');
    EXPECT_EQ(mylcdstring[20][66], Q9Text(L"    CC # 098") + L'\0');
    EXPECT_EQ(mycontrol[20][66].ctrl_status_0, 98);
    EXPECT_EQ(mycontrol[20][66].midi_string[1], 98);
    EXPECT_EQ(mytransport[4].ctrl_status_0, 4);
    EXPECT_EQ(mygroupnames[0], L"   Group 00   ");
    EXPECT_EQ(mygroupnames[20], L"   Group 20   ");
    EXPECT_EQ(mygroupnames[7].size(), 14u);
    EXPECT_EQ(common_params[32], 100);
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i) {
        EXPECT_EQ(user_curve_1[i], i);
        EXPECT_EQ(user_curve_2[i], i);
    }
}

TEST_F(ConfigModel, NewConfigurationEmptiesNamesParametersAndCurves)
{
    ResetConfiguration(0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        EXPECT_TRUE(mygroupnames[g].empty());
    for (unsigned i = 0; i < COMMON_PARAMS_LENGHT; ++i)
        EXPECT_EQ(common_params[i], 0);
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i)
        EXPECT_EQ(user_curve_2[i], 0);
}

TEST(TextBytes, OneCharacterPerByteBothWays)
{
    const Q9Text text = {L'A', static_cast<wchar_t>(0xE9), static_cast<wchar_t>(0x20AC), L'z'};
    uint8_t buffer[8];
    std::memset(buffer, 0x55, sizeof buffer);
    EXPECT_EQ(TextToBytes(buffer, text, 6), 4u);
    EXPECT_EQ(buffer[0], 'A');
    EXPECT_EQ(buffer[1], 0xE9);
    EXPECT_EQ(buffer[2], 0xAC);  // low 8 bits only
    EXPECT_EQ(buffer[3], 'z');
    EXPECT_EQ(buffer[4], 0);
    EXPECT_EQ(buffer[5], 0x55);

    const uint8_t bytes[] = {'H', 0xFF, 'i', 0, 'x'};
    const Q9Text back = BytesToText(bytes, sizeof bytes);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(static_cast<unsigned>(back[1]), 0xFFu);
}

TEST(TextBytes, ConversionsStopAtTheLimitAndAtTheFirstNul)
{
    uint8_t buffer[5];
    EXPECT_EQ(TextToBytes(buffer, L"ABCDEFG", 4), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer)), "ABCD");
    EXPECT_EQ(TextToBytes(buffer, Q9Text(L"AB\0CD", 5), 4), 2u);
    EXPECT_EQ(buffer[2], 0);

    const uint8_t field[4] = {'W', 'X', 'Y', 'Z'};  // no terminator inside the field
    EXPECT_EQ(BytesToText(field, 4), L"WXYZ");
    EXPECT_EQ(BytesToStoredText(field, 4), Q9Text(L"WXYZ") + L'\0');
    const uint8_t empty[4] = {0, 'a', 'b', 'c'};
    EXPECT_EQ(BytesToStoredText(empty, 4), Q9Text(1, L'\0'));
}

TEST(TextBytes, SevenBitAsciiTest)
{
    EXPECT_TRUE(IsSevenBitAscii(Q9Text(L"Hello") + L'\0'));
    EXPECT_FALSE(IsSevenBitAscii(Q9Text(1, static_cast<wchar_t>(0x80))));
    EXPECT_FALSE(IsSevenBitAscii(Q9Text(1, static_cast<wchar_t>(0x141))));
}

TEST(ParamMessages, EveryCodeHasItsText)
{
    EXPECT_EQ(ParamErrorText(0, 0), "Parameter successfuly checked");
    EXPECT_EQ(ParamErrorText(1, 0), "Unknown error");
    EXPECT_EQ(ParamErrorText(2, 0), "Warning : Parameter is not defined");
    EXPECT_EQ(ParamErrorText(3, 0), "Warning : Long MIDI string (Lenght > 10)\nA MIDI delay should be inserted");
    EXPECT_EQ(ParamErrorText(4, 0), "Unknown error");
    EXPECT_EQ(ParamErrorText(8, 3), "MIDI string lenght is out of range (1-21)");
    EXPECT_EQ(ParamErrorText(9, 3), "MIDI channel position is out of range (0-3)");
    EXPECT_EQ(ParamErrorText(10, 7), "Control Value 1 position is out of range (0-7)");
    EXPECT_EQ(ParamErrorText(11, 0), "Control Value 2 position is out of range (0-0)");
    EXPECT_EQ(ParamErrorText(12, 21), "Checksum position is out of range (0-21)");
    EXPECT_EQ(ParamErrorText(19, 0), "Uncomplete MIDI string (A digit is probably missing)");
    EXPECT_EQ(ParamErrorText(20, 0),
              "Control value has to be sent as 2 nibbles:\nControl value position 1 (MSB) must not be 0\n"
              "Control value position 2 (LSB) must not be 0");
    EXPECT_EQ(ParamErrorText(21, 0), "LCD string contains un-allowed (non ascii) caracter(s)");
    EXPECT_EQ(ParamErrorText(22, 0), "Unknown error");
    EXPECT_EQ(ParamErrorText(23, 0), "LCD string must be 16 car. lenght");
    EXPECT_EQ(ParamErrorText(200, 0), "Unknown error");
    EXPECT_TRUE(ParamErrorNeedsLenght(9));
    EXPECT_TRUE(ParamErrorNeedsLenght(12));
    EXPECT_FALSE(ParamErrorNeedsLenght(8));
    EXPECT_FALSE(ParamErrorNeedsLenght(13));
}

TEST(ParamMessages, MessageNamesGroupAndControl)
{
    EXPECT_EQ(ParamErrorMessage(16, 3, 10, 0), "Group 3 - Control 10\nControl chained on itself");
    EXPECT_EQ(ParamErrorMessage(9, 0, 2, 4), "Group 0 - Control 2\nMIDI channel position is out of range (0-4)");
}

}  // namespace
