// The configuration model: the addressing and field-edit rules, the resets,
// the texts as bytes, the check messages, the assignment fields and their
// comparison over a multiple selection, the checks of the stored tables and
// the standard templates.
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

// A correct record (code 0) that every control of the fixtures holds.
All_Params Valid()
{
    All_Params r{};
    r.ctrl_status_0 = 0x07;
    r.ctrl_status_1 = 0x0C;
    r.midi_str_lenght = 3;
    r.midi_channel_position = 1;
    r.ctrl_value_position_0 = 3;
    r.ctrl_value_max = 127;
    const uint8_t event[] = {0xB0, 0x07, 0x40};
    std::memcpy(r.midi_string, event, 3);
    return r;
}

class Model : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitAllStructsTables(0);
        for (auto &record : mytransport)
            record = Valid();
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
                mycontrol[g][c] = Valid();
                mylcdstring[g][c] = L"SAME TEXT";
            }
        CurrentGroup = 0;
        all_selected_ctrl.clear();
        need_to_save_lib = false;
    }
};

}  // namespace

TEST_F(Model, TransportButtonsAreSharedByAllGroups)
{
    EXPECT_EQ(&AddressedRecord(7, 0), &mytransport[0]);
    EXPECT_EQ(&AddressedRecord(20, 4), &mytransport[4]);
    EXPECT_EQ(&AddressedRecord(7, 5), &mycontrol[7][5]);
    CurrentGroup = 12;
    EXPECT_EQ(&AddressedRecord(66), &mycontrol[12][66]);
    EXPECT_EQ(&AddressedRecord(3), &mytransport[3]);

    FillRandomConfiguration(3);
    CurrentGroup = 4;
    all_selected_ctrl = {2, 10, -1, 67, 200};  // indices outside the roster are ignored
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

TEST(AssignFields, EachWidgetValueGoesToItsOwnBitsAndBack)
{
    std::set<unsigned> bits;
    for (unsigned i = 0; i < ASSIGN_FIELD_COUNT; ++i) {
        const AssignField f = static_cast<AssignField>(i);
        const AssignFieldInfo &info = FieldInfo(f);
        EXPECT_EQ(info.field, f);
        EXPECT_TRUE(bits.insert(info.common_bit).second) << i;
        const int top = info.coding == FieldCoding::ChainItem ? int(CHAIN_LIST_SIZE) - 1 : info.mask >> info.shift;
        for (int value : {0, 1, top})
            for (uint8_t fill : {0x00, 0xFF}) {
                All_Params r = FilledRecord(fill);
                StoreFieldValue(r, f, value);
                EXPECT_EQ(FieldValue(r, f), value) << i;
                // The record differs from what it was in this field only, and surely at the extremes.
                const uint32_t diff = RecordDifferenceBits(FilledRecord(fill), L"", r, L"");
                const bool flips = fill == 0 ? value == top : value == 0;
                EXPECT_EQ(diff, flips ? CommonBit(info.common_bit) : diff & CommonBit(info.common_bit)) << i;
            }
    }
}

TEST(AssignFields, WidgetsDriveTheRecordChecks)
{
    All_Params r = Valid();
    StoreFieldValue(r, AssignField::SendOut1, 0);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
    StoreFieldValue(r, AssignField::SendOut2, 0);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 15);
    r = Valid();
    r.midi_str_lenght = 11;
    EXPECT_EQ(CheckMidiStruct(&r, 10), 3);
    StoreFieldValue(r, AssignField::MidiDelay, 2);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
    StoreFieldValue(r, AssignField::Nibble, 1);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 20);
    StoreFieldValue(r, AssignField::ValuePosition2, 2);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 0);
    StoreFieldValue(r, AssignField::MaxValue, 99);
    StoreFieldValue(r, AssignField::MinValue, 100);
    EXPECT_EQ(CheckMidiStruct(&r, 10), 7);
    r = Valid();
    StoreFieldValue(r, AssignField::Crossfade, 1);
    StoreFieldValue(r, AssignField::Chain, 6);  // the list's sixth control is index 10
    EXPECT_EQ(ChainListEntry(6), ControlName(10));
    EXPECT_EQ(ChainListEntry(0) + ChainListEntry(CHAIN_LIST_SIZE) + ControlName(67), "None");
    EXPECT_EQ(CheckMidiStruct(&r, 10), 16);
    StoreFieldValue(r, AssignField::Chain, 0);  // "None" keeps the crossfade bit
    EXPECT_EQ(r.ctrl_chain, 0x80);
    for (uint8_t index : {1, 2, 3, 4, 66, 67, 100}) {  // no item for controls outside the list
        r.ctrl_chain = index;
        EXPECT_EQ(FieldValue(r, AssignField::Chain), -1) << int(index);
    }
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
    ASSERT_TRUE(ParseMidiStringText(L"f07e0aFf", bytes));
    StoreMidiString(r, bytes);
    EXPECT_EQ(MidiStringText(r), L"F07E0AFF");
    StoreMidiString(r, {0xC0});  // the bytes after the new length keep their values
    EXPECT_EQ(MidiStringText(r), L"C0");
    EXPECT_EQ(std::vector<uint8_t>(r.midi_string, r.midi_string + 5), HexBytes("C0 7E 0A FF AB"));
    EXPECT_EQ(r.ctrl_status_0, 0xAB);
    r.midi_str_lenght = 0;
    EXPECT_EQ(MidiStringText(r), L"");
}

TEST(AssignFields, MultipleSelectionDisplayAndWhatEachControlOffers)
{
    EXPECT_EQ(FieldLabelColour(~CommonBit(COMMON_MAX), COMMON_MAX), LabelColour::Blue);
    EXPECT_EQ(FieldLabelColour(~CommonBit(COMMON_MAX), COMMON_MIN), LabelColour::Black);
    EXPECT_TRUE(ControlNumberFor(1, 12).text == L"12" && ControlNumberFor(1, 12).colour == LabelColour::Black);
    EXPECT_TRUE(ControlNumberFor(2, 12).text == L"*" && ControlNumberFor(2, 12).colour == LabelColour::Blue);
    for (unsigned i = 0; i <= LAST_CONTROL_INDEX; ++i) {
        EXPECT_EQ(SwitchModeOffered(i), i >= 50 && i <= 65) << i;
        EXPECT_EQ(GroupFieldsOffered(i), i > 4) << i;
        EXPECT_EQ(LcdTextOffered(i), i > 4 && i != 49) << i;
    }
    for (int item = 0; item <= 6; ++item)
        EXPECT_EQ(CurveEditOffered(item), item >= 5);
}

TEST_F(Model, EachFieldClearsOnlyItsOwnBitOfTheCommonMask)
{
    // A field's bits flipped (record byte, bits) in one of two controls, and the field whose bit must clear
    // (-1: none, for bits of no compared field or a byte beyond the length); a zero byte of the string is data,
    // and a new length changes the string too.
    struct Case {
        uint8_t byte, flip;
        int field;
    };
    const Case cases[] = {
        {0, 0x0F, COMMON_STD_NUMBER},      {0, 0x80, COMMON_STD_EVENT},     {1, 0x02, COMMON_MIDI_DELAY},
        {1, 0x04, COMMON_MIDI_OUT2},       {1, 0x08, COMMON_MIDI_OUT1},     {1, 0x10, COMMON_USB_OUT},
        {1, 0x20, COMMON_AUTOSEND},        {1, 0x40, COMMON_SCENE_EXCLUDE}, {1, 0x80, COMMON_SWITCH_MODE},
        {2, 0x05, COMMON_CURVE},           {2, 0x10, COMMON_NIBBLE},        {2, 0xE8, -1},
        {3, 0x07, COMMON_MIDI_STR_LENGHT}, {4, 0x03, COMMON_CHANNEL_POS},   {5, 0x01, COMMON_VALUE_POS1},
        {6, 0x02, COMMON_VALUE_POS2},      {7, 0x05, COMMON_MIN},           {8, 0x40, COMMON_MAX},
        {9, 0x02, COMMON_CHECKSUM_POS},    {10, 0x0A, COMMON_CHAIN},        {10, 0x80, COMMON_CROSSFADE},
        {12, 0x0D, COMMON_MIDI_STRING},    {12, 0x07, COMMON_MIDI_STRING},  {16, 0x33, -1},
    };
    for (const Case &c : cases) {
        SetUp();
        reinterpret_cast<uint8_t *>(&mycontrol[2][20])[c.byte] ^= c.flip;
        std::vector<int> selection{10, 20};
        const uint32_t bits = (c.field < 0 ? 0 : 1u << c.field) | (c.field ? 0 : CommonBit(COMMON_MIDI_STRING));
        EXPECT_EQ(CommonFieldMask(2, 10, selection), ~bits) << "case " << &c - cases;
    }
}

TEST_F(Model, CommonMaskOverASelection)
{
    auto mask = [](unsigned group, int current, std::vector<int> selection) {
        return CommonFieldMask(group, current, selection);
    };
    EXPECT_EQ(mask(3, 12, {12}), COMMON_ALL_FIELDS);
    std::vector<int> selection = {12, 15, 30};
    EXPECT_EQ(CommonFieldMask(3, 15, selection), COMMON_ALL_FIELDS);
    EXPECT_EQ(selection, std::vector<int>({12, 30, 15})) << "the current control ends the list";
    selection = {20, 30};
    CommonFieldMask(0, 8, selection);
    EXPECT_EQ(selection, std::vector<int>({20, 30, 8}));

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
    EXPECT_EQ(CheckStoredControl(3, 10), 0);
    mycontrol[3][10] = All_Params{};  // warnings pass
    EXPECT_EQ(CheckStoredControl(3, 10), 0);
    mycontrol[3][11].midi_str_lenght = 11;
    EXPECT_EQ(CheckStoredControl(3, 11), 0);
    mycontrol[3][12].ctrl_value_min = 100;
    mycontrol[3][12].ctrl_value_max = 50;
    EXPECT_EQ(CheckStoredControl(3, 12), 7);
    mylcdstring[7][2] = L"\tbad";  // a transport button: the shared record, no LCD text
    EXPECT_EQ(CheckStoredControl(7, 2), 0);
    mytransport[2].ctrl_status_1 = 0x10;
    EXPECT_EQ(CheckStoredControl(7, 2), 15);
    mylcdstring[0][30] = L"AB\tC";
    EXPECT_EQ(CheckStoredControl(0, 30), 21);
    mylcdstring[0][31] = Q9Text(L"AB") + wchar_t(0x141);  // beyond 7 bits, its low byte printable
    EXPECT_EQ(CheckStoredControl(0, 31), 21);
    mylcdstring[0][32] = Q9Text(L"ABC") + L'\0';
    EXPECT_EQ(CheckStoredControl(0, 32), 0);
    mycontrol[0][33].midi_string[0] = 0x30;  // the record comes before the LCD text
    mylcdstring[0][33] = L"\t";
    EXPECT_EQ(CheckStoredControl(0, 33), 13);
}

TEST_F(Model, CheckOfAGroupRange)
{
    std::vector<int> steps;
    CheckPosition failed;
    auto run = [&](int first, int last) {
        steps.clear();
        return CheckStoredRange([first] { return first; }, [last] { return last; },
                                [&steps](int step) { steps.push_back(step); }, failed);
    };
    EXPECT_EQ(run(0, 20), 0);
    EXPECT_EQ(std::vector<int>({int(steps.size()), steps.front(), steps.back()}), std::vector<int>({1307, 0, 1306}));
    EXPECT_EQ(CHECK_ALL_STEPS, 1307);
    mytransport[3].midi_str_lenght = 0;                                       // code 8, checked in group 0 only
    mycontrol[4][20].ctrl_value_min = mycontrol[4][30].ctrl_value_min = 200;  // code 5
    // First and last groups, then the code, the steps and where it failed.
    const unsigned cases[][5] = {{3, 3, 0, 62, 0}, {0, 0, 8, 4, 3}, {4, 2, 0, 0, 0}, {2, 6, 5, 2 * 62 + 16, 420}};
    for (const auto &c : cases) {
        failed = CheckPosition();
        EXPECT_EQ(run(int(c[0]), int(c[1])), c[2]);
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
