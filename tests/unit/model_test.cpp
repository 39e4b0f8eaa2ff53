// The configuration model where the tabs' tests cannot reach it: edits of the
// selection, the texts as bytes, the check messages, the MIDI string text, the
// comparison over a multiple selection, the checks of stored values and the
// standard templates.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "assign_fields.h"
#include "assignment_checks.h"
#include "control_roster.h"
#include "param_messages.h"
#include "record_access.h"
#include "selection_mask.h"
#include "templates.h"
#include "test_support.h"
#include "text_bytes.h"

namespace {

class Model : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitAllStructsTables(0);
        FillValidConfiguration(L"SAME TEXT");
        CurrentGroup = 0;
        all_selected_ctrl.clear();
        need_to_save_lib = false;
    }
};

}  // namespace

// An edit of the selection reaches a transport button's shared record from any
// group, and passes over indices outside the roster.
TEST_F(Model, EditsOfTheSelectionKeepToTheRoster)
{
    FillRandomConfiguration(3);
    CurrentGroup = 4;
    all_selected_ctrl = {2, 10, -1, 67, 200};
    const TablesSnapshot before;
    EditSelectedRecords([](All_Params &r) { r.ctrl_value_max = 99; });
    EXPECT_TRUE(need_to_save_lib);
    TablesSnapshot expected = before;
    expected.transport[2 * sizeof(All_Params) + 8] = 99;
    expected.controls[(4 * CONTROLS_PER_GROUP + 10) * sizeof(All_Params) + 8] = 99;
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
}

TEST(TextBytes, FixedWidthAndSevenBitTexts)
{
    const uint8_t bytes[] = {'H', 0xFF, 'i', 0, 'x'};
    EXPECT_EQ(FixedWidthText(bytes, 5), (Q9Text{L'H', wchar_t(0xFF), L'i', L'\0', L'x'}));
    EXPECT_EQ(BytesToText(bytes, 2), (Q9Text{L'H', wchar_t(0xFF)}));
    EXPECT_TRUE(IsSevenBitAscii(Q9Text(L"Hello") + L'\0'));
    EXPECT_FALSE(IsSevenBitAscii(Q9Text(1, wchar_t(0x80))) || IsSevenBitAscii(Q9Text(1, wchar_t(0x141))));
    EXPECT_TRUE(IsIncompleteMidiText(5) && !IsIncompleteMidiText(42));
}

TEST(ParamMessages, EachFailureHasItsOwnTextWithItsNumbersFilledIn)
{
    std::set<std::string> texts;
    for (uint8_t code : {0, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23}) {
        const std::string text = ParamErrorText(code, 7);
        EXPECT_EQ(text.find('%'), std::string::npos) << int(code);
        EXPECT_TRUE(texts.insert(text).second) << int(code) << ": " << text;
        EXPECT_EQ(ParamErrorNeedsLenght(code), code >= 9 && code <= 12) << int(code);
        EXPECT_EQ(text.find("(0-7)") != std::string::npos, code >= 9 && code <= 12) << text;
        EXPECT_EQ(ParamErrorMessage(code, 3, 10, 7), "Group 3 - Control 10\n" + text);
    }
    for (uint8_t code : {1, 4, 22, 24, 200})
        EXPECT_EQ(ParamErrorText(code, 0), "Unknown error");
}

TEST(AssignFields, MidiStringTextIsTwoHexadecimalDigitsPerUsedByte)
{
    std::vector<uint8_t> bytes{1};
    for (const wchar_t *bad : {L"", L"B", L"B00", L"B0G7", L"B0 7",
                               L"\x0130"
                               L"0"}) {
        EXPECT_FALSE(ParseMidiStringText(bad, bytes));
        EXPECT_TRUE(bytes.empty());
    }
    EXPECT_FALSE(ParseMidiStringText(std::wstring(44, L'1'), bytes));
    ASSERT_TRUE(ParseMidiStringText(std::wstring(42, L'1'), bytes));
    EXPECT_EQ(bytes.size(), 21u);
    All_Params r = FilledRecord(0xAB);
    EXPECT_EQ(MidiStringText(r).size(), 42u) << "21 bytes at most";
    StoreMidiString(r, {0xC0});  // the bytes after the new length keep their values
    EXPECT_EQ(MidiStringText(r), L"C0");
    EXPECT_EQ(std::vector<uint8_t>(r.midi_string, r.midi_string + 3), HexBytes("C0 AB AB"));
    r.midi_str_lenght = 0;
    EXPECT_EQ(MidiStringText(r), L"");
}

TEST(AssignFields, WhatEachControlOffers)
{
    for (unsigned i = 0; i <= LAST_CONTROL_INDEX; ++i) {
        EXPECT_EQ(SwitchModeOffered(i), i >= 50 && i <= 65) << i;
        EXPECT_EQ(GroupFieldsOffered(i), i > 4) << i;
        EXPECT_EQ(LcdTextOffered(i), i > 4 && i != 49) << i;
    }
    // A chain outside the list reads as none.
    EXPECT_EQ(ChainListEntry(0) + ChainListEntry(CHAIN_LIST_SIZE) + ControlName(67), "None");
}

TEST_F(Model, ChangesOutsideTheComparedFieldsLeaveTheCommonMask)
{
    // Bits of no compared field and a string byte beyond the length clear no
    // bit; a string byte turned to zero is data.
    struct Case {
        uint8_t byte, flip;
        int field;
    };
    const Case cases[] = {{2, 0xE8, -1}, {16, 0x33, -1}, {12, 0x07, COMMON_MIDI_STRING}};
    for (const Case &c : cases) {
        SetUp();
        reinterpret_cast<uint8_t *>(&mycontrol[2][20])[c.byte] ^= c.flip;
        std::vector<int> selection{10, 20};
        const uint32_t bits = c.field < 0 ? 0 : 1u << c.field;
        EXPECT_EQ(CommonFieldMask(2, 10, selection), ~bits) << "case " << &c - cases;
    }
}

TEST_F(Model, CommonMaskOverASelection)
{
    auto mask = [](unsigned group, int current, std::vector<int> selection) {
        return CommonFieldMask(group, current, selection);
    };
    std::vector<int> selection = {12, 15, 30};
    EXPECT_EQ(CommonFieldMask(3, 15, selection), COMMON_ALL_FIELDS);
    EXPECT_EQ(selection, std::vector<int>({12, 30, 15})) << "the current control ends the list";
    mylcdstring[4][12] = Q9Text(L"SAME TEXT") + L'\0';  // a stored text equals the same text typed
    mylcdstring[4][16] = L"OTHER TEXT";
    EXPECT_EQ(mask(4, 12, {12, 15}), COMMON_ALL_FIELDS);
    EXPECT_EQ(mask(4, 15, {12, 15, 16}), ~CommonBit(COMMON_LCD));

    mycontrol[5][20].ctrl_value_min = 1;  // differences add up; bits 22 to 31 stay set
    mycontrol[5][30].ctrl_value_max = 1;
    EXPECT_EQ(mask(5, 10, {10, 20, 30}), ~(CommonBit(COMMON_MIN) | CommonBit(COMMON_MAX)));

    mycontrol[6][2].ctrl_value_max = 1;  // transport buttons: the shared record, whatever the group
    EXPECT_EQ(mask(6, 10, {2, 10}), COMMON_ALL_FIELDS);
    mytransport[2].ctrl_value_min = 9;
    EXPECT_EQ(mask(6, 10, {2, 10}), ~CommonBit(COMMON_MIN));
}

TEST_F(Model, CheckOfAStoredControl)
{
    mycontrol[3][10] = All_Params{};  // warnings pass
    mycontrol[3][11].midi_str_lenght = 11;
    EXPECT_EQ(CheckStoredControl(3, 10) + CheckStoredControl(3, 11), 0);
    mylcdstring[7][2] = L"\tbad";  // a transport button: the shared record, no LCD text
    EXPECT_EQ(CheckStoredControl(7, 2), 0);
    mylcdstring[0][31] = Q9Text(L"AB") + wchar_t(0x141);  // beyond 7 bits, its low byte printable
    EXPECT_EQ(CheckStoredControl(0, 31), 21);
    mylcdstring[0][32] = Q9Text(L"ABC") + L'\0';
    EXPECT_EQ(CheckStoredControl(0, 32), 0);
    mycontrol[0][33].midi_string[0] = 0x30;  // the record comes before the LCD text
    mylcdstring[0][33] = L"\t";
    EXPECT_EQ(CheckStoredControl(0, 33), 13);
}

// The last group of a range is read again at every group.
TEST_F(Model, CheckOfAGroupRange)
{
    std::vector<int> steps;
    CheckPosition failed;
    mytransport[3].midi_str_lenght = 0;                                       // code 8, checked in group 0 only
    mycontrol[4][20].ctrl_value_min = mycontrol[4][30].ctrl_value_min = 200;  // code 5
    // First and last groups, then the code, the steps and where it failed.
    const unsigned cases[][5] = {{3, 3, 0, 62, 0}, {0, 0, 8, 4, 3}, {4, 2, 0, 0, 0}, {2, 6, 5, 2 * 62 + 16, 420}};
    for (const auto &c : cases) {
        steps.clear();
        failed = CheckPosition();
        EXPECT_EQ(CheckStoredRange([&c] { return int(c[0]); }, [&c] { return int(c[1]); },
                                   [&steps](int step) { steps.push_back(step); }, failed),
                  c[2]);
        EXPECT_EQ(steps.size(), c[3]);
        EXPECT_EQ(failed.group * 100 + failed.control, c[4]);
    }
    int last = 20;  // the last group is read again at every group
    steps.clear();
    EXPECT_EQ(CheckStoredRange([] { return 1; }, [&last] { return last; },
                               [&](int step) {
                                   steps.push_back(step);
                                   last = 2;
                               },
                               failed),
              0);
    EXPECT_EQ(steps.size(), 2u * 62u);
}

TEST(StdTemplates, ApplyingOneWritesItsEventLabelAndStandardSettings)
{
    All_Params r = FilledRecord(0x6B);
    Q9Text lcd = L"old";
    ASSERT_TRUE(ApplyStdTemplate(5 + 7, r, lcd));  // control change 7, its mode byte kept
    EXPECT_EQ(std::vector<uint8_t>(reinterpret_cast<uint8_t *>(&r), reinterpret_cast<uint8_t *>(&r + 1)),
              HexBytes("6B 9C 00 03 01 03 00 00 7F 00 00 B0 07 00" + Repeat(" 20", 18)));
    EXPECT_EQ(lcd, StdTemplateLabel(12));
    ASSERT_TRUE(ApplyStdTemplate(0, r, lcd));
    EXPECT_EQ(CheckMidiStruct(&r, 10), 8) << "user defined: no event";
    for (unsigned i = 1; i < STD_TEMPLATE_COUNT; ++i) {
        ASSERT_TRUE(ApplyStdTemplate(i, r, lcd));
        EXPECT_EQ(CheckMidiStruct(&r, 10), 0) << i;
        EXPECT_EQ(lcd, Text(StdTemplates[i].label));
        EXPECT_LE(lcd.size(), 16u) << i;
    }
    const All_Params before = r;
    EXPECT_FALSE(ApplyStdTemplate(STD_TEMPLATE_COUNT, r, lcd));
    EXPECT_TRUE(SameRecord(r, before));
    EXPECT_EQ(lcd, Text(StdTemplates[STD_TEMPLATE_COUNT - 1].label));
    EXPECT_EQ(StdTemplateLabel(STD_TEMPLATE_COUNT), L"");
}
