// The assignment tabs' field table, the MIDI string text and the label colours.
#include <cstring>
#include <set>

#include <gtest/gtest.h>

#include "assign_fields.h"
#include "control_roster.h"

namespace {

All_Params Filled(uint8_t byte)
{
    All_Params r;
    std::memset(&r, byte, sizeof r);
    return r;
}

// Byte-by-byte differences of two records, as (offset, xor of the bytes).
std::vector<std::pair<size_t, uint8_t>> Differences(const All_Params &a, const All_Params &b)
{
    std::vector<std::pair<size_t, uint8_t>> d;
    const auto *pa = reinterpret_cast<const uint8_t *>(&a);
    const auto *pb = reinterpret_cast<const uint8_t *>(&b);
    for (size_t i = 0; i < sizeof(All_Params); ++i)
        if (pa[i] != pb[i])
            d.emplace_back(i, static_cast<uint8_t>(pa[i] ^ pb[i]));
    return d;
}

size_t Offset(uint8_t All_Params::*member)
{
    All_Params r{};
    return static_cast<size_t>(&(r.*member) - reinterpret_cast<uint8_t *>(&r));
}

}  // namespace

// ---- The mapping table

TEST(AssignFieldTable, RowsAreInEnumOrder)
{
    for (unsigned i = 0; i < ASSIGN_FIELD_COUNT; ++i)
        EXPECT_EQ(static_cast<unsigned>(ASSIGN_FIELDS[i].field), i);
}

TEST(AssignFieldTable, EachFieldHasItsOwnMaskBit)
{
    std::set<unsigned> bits;
    for (const AssignFieldInfo &info : ASSIGN_FIELDS)
        EXPECT_TRUE(bits.insert(info.common_bit).second) << info.common_bit;
}

TEST(AssignFieldTable, FieldsOfOneByteDoNotOverlap)
{
    for (const AssignFieldInfo &a : ASSIGN_FIELDS)
        for (const AssignFieldInfo &b : ASSIGN_FIELDS)
            if (&a != &b && a.byte == b.byte) {
                EXPECT_EQ(a.mask & b.mask, 0) << static_cast<int>(a.field) << " " << static_cast<int>(b.field);
            }
}

struct ExpectedBits {
    AssignField field;
    uint8_t All_Params::*byte;
    uint8_t mask;
};

const ExpectedBits kExpected[] = {
    {AssignField::Autosend, &All_Params::ctrl_status_1, 0x20},
    {AssignField::SceneExclude, &All_Params::ctrl_status_1, 0x40},
    {AssignField::SwitchMode, &All_Params::ctrl_status_1, 0x80},
    {AssignField::SendOut1, &All_Params::ctrl_status_1, 0x08},
    {AssignField::SendOut2, &All_Params::ctrl_status_1, 0x04},
    {AssignField::SendUsb, &All_Params::ctrl_status_1, 0x10},
    {AssignField::MidiDelay, &All_Params::ctrl_status_1, 0x03},
    {AssignField::StdEvent, &All_Params::ctrl_status_0, 0x80},
    {AssignField::StdNumber, &All_Params::ctrl_status_0, 0x7F},
    {AssignField::Chain, &All_Params::ctrl_chain, 0x7F},
    {AssignField::Crossfade, &All_Params::ctrl_chain, 0x80},
    {AssignField::MinValue, &All_Params::ctrl_value_min, 0xFF},
    {AssignField::MaxValue, &All_Params::ctrl_value_max, 0xFF},
    {AssignField::ChannelPosition, &All_Params::midi_channel_position, 0xFF},
    {AssignField::ValuePosition1, &All_Params::ctrl_value_position_0, 0xFF},
    {AssignField::ValuePosition2, &All_Params::ctrl_value_position_1, 0xFF},
    {AssignField::CurveModel, &All_Params::ctrl_status_2, 0x07},
    {AssignField::Nibble, &All_Params::ctrl_status_2, 0x10},
    {AssignField::ChecksumStart, &All_Params::checksum_start_position, 0xFF},
};

// Storing from the all-ones and all-zeros records touches only the field's bits.
TEST(AssignFieldStore, OnlyTheFieldsBitsChange)
{
    for (const ExpectedBits &e : kExpected) {
        for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
            const All_Params before = Filled(fill);
            All_Params after = before;
            // The value that flips every bit of the field.
            StoreFieldValue(after, e.field, fill ? 0 : 0x7F);
            const auto diffs = Differences(before, after);
            EXPECT_FALSE(diffs.empty()) << static_cast<int>(e.field);
            for (const auto &d : diffs) {
                EXPECT_EQ(d.first, Offset(e.byte)) << static_cast<int>(e.field);
                EXPECT_EQ(d.second & ~e.mask, 0) << static_cast<int>(e.field);
            }
        }
    }
}

TEST(AssignFieldStore, CheckBoxesAndRadioBoxesSetTheirBit)
{
    for (const ExpectedBits &e : kExpected) {
        if (e.mask != 0x80 && e.mask != 0x40 && e.mask != 0x20 && e.mask != 0x10 && e.mask != 0x08 && e.mask != 0x04)
            continue;
        All_Params r = Filled(0);
        StoreFieldValue(r, e.field, 1);
        EXPECT_EQ(r.*e.byte, e.mask) << static_cast<int>(e.field);
        EXPECT_EQ(FieldValue(r, e.field), 1);
        StoreFieldValue(r, e.field, 0);
        EXPECT_EQ(r.*e.byte, 0);
        EXPECT_EQ(FieldValue(r, e.field), 0);
    }
}

TEST(AssignFieldStore, DelayIsTheItemIndexInBitsZeroAndOne)
{
    All_Params r = Filled(0xFC);
    StoreFieldValue(r, AssignField::MidiDelay, 2);
    EXPECT_EQ(r.ctrl_status_1, 0xFE);
    EXPECT_EQ(FieldValue(r, AssignField::MidiDelay), 2);
    StoreFieldValue(r, AssignField::MidiDelay, 0);
    EXPECT_EQ(r.ctrl_status_1, 0xFC);
}

TEST(AssignFieldStore, StandardNumberIsTheSpinValueAnd7F)
{
    All_Params r = Filled(0x80);
    StoreFieldValue(r, AssignField::StdNumber, 0xC5);
    EXPECT_EQ(r.ctrl_status_0, 0x80 | 0x45);
    EXPECT_EQ(FieldValue(r, AssignField::StdNumber), 0x45);
    StoreFieldValue(r, AssignField::StdEvent, 0);
    EXPECT_EQ(r.ctrl_status_0, 0x45);
}

TEST(AssignFieldStore, ChainItemIsTheControlIndexMinusFour)
{
    All_Params r = Filled(0);
    r.ctrl_chain = 0x80;
    StoreFieldValue(r, AssignField::Chain, 57);  // "Button 3"
    EXPECT_EQ(r.ctrl_chain, 0x80 | 61);
    EXPECT_EQ(ChainListEntry(57), "Button 3");
    EXPECT_EQ(FieldValue(r, AssignField::Chain), 57);
    StoreFieldValue(r, AssignField::Chain, 0);  // "None" keeps the crossfade bit
    EXPECT_EQ(r.ctrl_chain, 0x80);
    EXPECT_EQ(FieldValue(r, AssignField::Chain), 0);
    StoreFieldValue(r, AssignField::Chain, 1);  // "Ribbon controller"
    EXPECT_EQ(r.ctrl_chain & 0x7F, 5);
}

TEST(AssignFieldStore, ChainIndicesOutsideTheListHaveNoItem)
{
    All_Params r = Filled(0);
    for (uint8_t index : {1, 2, 3, 4, 66, 67, 100}) {
        r.ctrl_chain = index;
        EXPECT_EQ(FieldValue(r, AssignField::Chain), -1) << int(index);
    }
    r.ctrl_chain = 65;
    EXPECT_EQ(FieldValue(r, AssignField::Chain), 61);
}

TEST(AssignFieldStore, CurveIsTheItemIndexAnd7KeepingTheOtherBits)
{
    All_Params r = Filled(0);
    r.ctrl_status_2 = 0xE8;  // bits 3, 5, 6, 7 carried as read
    StoreFieldValue(r, AssignField::CurveModel, 6);
    EXPECT_EQ(r.ctrl_status_2, 0xEE);
    EXPECT_EQ(FieldValue(r, AssignField::CurveModel), 6);
    StoreFieldValue(r, AssignField::Nibble, 1);
    EXPECT_EQ(r.ctrl_status_2, 0xFE);
}

TEST(AssignFieldStore, WholeByteFieldsTakeTheSpinValue)
{
    const AssignField whole[] = {AssignField::MinValue,       AssignField::MaxValue,       AssignField::ChannelPosition,
                                 AssignField::ValuePosition1, AssignField::ValuePosition2, AssignField::ChecksumStart};
    for (AssignField f : whole) {
        All_Params r = Filled(0x55);
        StoreFieldValue(r, f, 21);
        EXPECT_EQ(r.*FieldInfo(f).byte, 21);
        EXPECT_EQ(FieldValue(r, f), 21);
    }
}

// ---- MIDI string text

TEST(MidiStringText, UpperCaseDigitsOfTheUsedBytesOnly)
{
    All_Params r = Filled(0x11);
    r.midi_str_lenght = 3;
    r.midi_string[0] = 0xF0;
    r.midi_string[1] = 0x7F;
    r.midi_string[2] = 0x01;
    EXPECT_EQ(MidiStringText(r), L"F07F01");
    r.midi_str_lenght = 0;
    EXPECT_EQ(MidiStringText(r), L"");
}

TEST(MidiStringText, LengthAboveTwentyOneShowsTwentyOneBytes)
{
    All_Params r = Filled(0xAB);
    EXPECT_EQ(MidiStringText(r).size(), 42u);
}

TEST(MidiStringParse, EmptyAndOddTextsAreRefused)
{
    std::vector<uint8_t> bytes{1};
    EXPECT_FALSE(ParseMidiStringText(L"", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ParseMidiStringText(L"B", bytes));
    EXPECT_FALSE(ParseMidiStringText(L"B00", bytes));
}

TEST(MidiStringParse, PairsOfDigitsInEitherCase)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ParseMidiStringText(L"B0", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xB0}));
    ASSERT_TRUE(ParseMidiStringText(L"f07e0aFf", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xF0, 0x7E, 0x0A, 0xFF}));
}

TEST(MidiStringParse, NonDigitsAndOverlongTextsAreRefused)
{
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(ParseMidiStringText(L"B0G7", bytes));
    EXPECT_FALSE(ParseMidiStringText(L"B0 7", bytes));
    EXPECT_FALSE(ParseMidiStringText(std::wstring(1, L'\x0130') + L"0", bytes));
    EXPECT_TRUE(ParseMidiStringText(std::wstring(42, L'1'), bytes));
    EXPECT_EQ(bytes.size(), 21u);
    EXPECT_FALSE(ParseMidiStringText(std::wstring(44, L'1'), bytes));
}

TEST(MidiStringStore, BytesAfterTheNewLengthKeepTheirValues)
{
    All_Params r = Filled(0);
    StoreMidiString(r, {0xB0, 0x07});
    EXPECT_EQ(r.midi_str_lenght, 2);
    StoreMidiString(r, {0xC0});
    EXPECT_EQ(r.midi_str_lenght, 1);
    EXPECT_EQ(r.midi_string[0], 0xC0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.ctrl_status_0, 0);
}

TEST(MidiStringStore, TextRoundTrip)
{
    All_Params r = Filled(0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ParseMidiStringText(L"F0433F7F", bytes));
    StoreMidiString(r, bytes);
    EXPECT_EQ(MidiStringText(r), L"F0433F7F");
}

// ---- Multiple selection display

TEST(SelectionColours, SetBitIsBlackClearBitIsBlue)
{
    const uint32_t mask = COMMON_ALL_FIELDS & ~CommonBit(COMMON_MAX);
    EXPECT_EQ(FieldLabelColour(mask, COMMON_MAX), LabelColour::Blue);
    EXPECT_EQ(FieldLabelColour(mask, COMMON_MIN), LabelColour::Black);
    EXPECT_EQ(FieldLabelColour(COMMON_ALL_FIELDS, COMMON_STD_NUMBER), LabelColour::Black);
    EXPECT_EQ(FieldLabelColour(0, COMMON_MIDI_STR_LENGHT), LabelColour::Blue);
}

TEST(SelectionColours, ControlNumberStarInBlueForSeveral)
{
    const ControlNumberDisplay one = ControlNumberFor(1, 12);
    EXPECT_EQ(one.text, L"12");
    EXPECT_EQ(one.colour, LabelColour::Black);
    const ControlNumberDisplay none = ControlNumberFor(0, 0);
    EXPECT_EQ(none.text, L"0");
    const ControlNumberDisplay two = ControlNumberFor(2, 12);
    EXPECT_EQ(two.text, L"*");
    EXPECT_EQ(two.colour, LabelColour::Blue);
}

// ---- What each kind of control offers

TEST(ControlKinds, SwitchModeOnlyForGroupSwitches)
{
    for (unsigned i = 0; i <= 66; ++i)
        EXPECT_EQ(SwitchModeOffered(i), i >= 50 && i <= 65) << i;
}

TEST(ControlKinds, GroupFieldsAndLcdText)
{
    for (unsigned i = 0; i <= 4; ++i) {
        EXPECT_FALSE(GroupFieldsOffered(i));
        EXPECT_FALSE(LcdTextOffered(i));
    }
    EXPECT_TRUE(GroupFieldsOffered(5));
    EXPECT_TRUE(LcdTextOffered(48));
    EXPECT_FALSE(LcdTextOffered(49));
    EXPECT_TRUE(GroupFieldsOffered(49));
    EXPECT_TRUE(LcdTextOffered(66));
}

TEST(ControlKinds, CurveEditForTheUserCurves)
{
    for (int item = 0; item <= 4; ++item)
        EXPECT_FALSE(CurveEditOffered(item));
    EXPECT_TRUE(CurveEditOffered(5));
    EXPECT_TRUE(CurveEditOffered(6));
}
