// Common-field mask of a multiple selection.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "record_access.h"
#include "selection_mask.h"

namespace {

class SelectionMaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitAllStructsTables(0);
        std::memset(mytransport, 0, sizeof mytransport);
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
                mycontrol[g][c] = MakeRecord();
                mylcdstring[g][c] = L"SAME TEXT";
            }
        for (auto &record : mytransport)
            record = MakeRecord();
    }

    static All_Params MakeRecord()
    {
        All_Params record{};
        record.ctrl_status_0 = 0x07;
        record.ctrl_status_1 = 0x0C;
        record.midi_str_lenght = 3;
        record.midi_channel_position = 1;
        record.ctrl_value_position_0 = 3;
        record.ctrl_value_max = 127;
        record.midi_string[0] = 0xB0;
        record.midi_string[1] = 0x07;
        record.midi_string[2] = 0x40;
        return record;
    }
};

// One field changed in a copy of a record, with the bit that must clear.
struct FieldCase {
    const char *name;
    void (*change)(All_Params &);
    CommonFieldBit bit;
    bool string_too = false;  // a change of length changes the string as well
};

const FieldCase kFieldCases[] = {
    {"lenght", [](All_Params &r) { r.midi_str_lenght = 4; }, COMMON_MIDI_STR_LENGHT, true},
    {"autosend", [](All_Params &r) { r.ctrl_status_1 |= 0x20; }, COMMON_AUTOSEND},
    {"scene", [](All_Params &r) { r.ctrl_status_1 |= 0x40; }, COMMON_SCENE_EXCLUDE},
    {"switch", [](All_Params &r) { r.ctrl_status_1 |= 0x80; }, COMMON_SWITCH_MODE},
    {"out1", [](All_Params &r) { r.ctrl_status_1 &= ~0x08; }, COMMON_MIDI_OUT1},
    {"out2", [](All_Params &r) { r.ctrl_status_1 &= ~0x04; }, COMMON_MIDI_OUT2},
    {"usb", [](All_Params &r) { r.ctrl_status_1 |= 0x10; }, COMMON_USB_OUT},
    {"delay", [](All_Params &r) { r.ctrl_status_1 |= 0x02; }, COMMON_MIDI_DELAY},
    {"std event", [](All_Params &r) { r.ctrl_status_0 |= 0x80; }, COMMON_STD_EVENT},
    {"chain", [](All_Params &r) { r.ctrl_chain = 0x0A; }, COMMON_CHAIN},
    {"crossfade", [](All_Params &r) { r.ctrl_chain = 0x80; }, COMMON_CROSSFADE},
    {"channel", [](All_Params &r) { r.midi_channel_position = 2; }, COMMON_CHANNEL_POS},
    {"value 1", [](All_Params &r) { r.ctrl_value_position_0 = 2; }, COMMON_VALUE_POS1},
    {"value 2", [](All_Params &r) { r.ctrl_value_position_1 = 2; }, COMMON_VALUE_POS2},
    {"curve", [](All_Params &r) { r.ctrl_status_2 = 0x05; }, COMMON_CURVE},
    {"min", [](All_Params &r) { r.ctrl_value_min = 5; }, COMMON_MIN},
    {"max", [](All_Params &r) { r.ctrl_value_max = 100; }, COMMON_MAX},
    {"nibble", [](All_Params &r) { r.ctrl_status_2 = 0x10; }, COMMON_NIBBLE},
    {"checksum", [](All_Params &r) { r.checksum_start_position = 2; }, COMMON_CHECKSUM_POS},
    {"string", [](All_Params &r) { r.midi_string[1] = 0x0A; }, COMMON_MIDI_STRING},
    {"std number", [](All_Params &r) { r.ctrl_status_0 = 0x08; }, COMMON_STD_NUMBER},
};

}  // namespace

TEST_F(SelectionMaskTest, SingleSelectionHasEveryBitSet)
{
    std::vector<int> selection{12};
    EXPECT_EQ(CommonFieldMask(3, 12, selection), COMMON_ALL_FIELDS);
    EXPECT_EQ(selection, std::vector<int>({12}));
}

TEST_F(SelectionMaskTest, EqualRecordsKeepEveryBit)
{
    std::vector<int> selection{12, 15, 30};
    EXPECT_EQ(CommonFieldMask(3, 15, selection), COMMON_ALL_FIELDS);
}

TEST_F(SelectionMaskTest, EachFieldClearsOnlyItsOwnBit)
{
    for (const FieldCase &field : kFieldCases) {
        SetUp();
        field.change(mycontrol[2][20]);
        std::vector<int> selection{10, 20};
        const uint32_t mask = CommonFieldMask(2, 10, selection);
        const uint32_t cleared = CommonBit(field.bit) | (field.string_too ? CommonBit(COMMON_MIDI_STRING) : 0u);
        EXPECT_EQ(mask, COMMON_ALL_FIELDS & ~cleared) << field.name;
    }
}

TEST_F(SelectionMaskTest, BitsOutsideTheComparedFieldsIgnoreOtherBits)
{
    // Bit 3 of ctrl_status_2 and bits 5-7 belong to no compared field.
    mycontrol[2][20].ctrl_status_2 = 0x08 | 0xE0;
    std::vector<int> selection{10, 20};
    EXPECT_EQ(CommonFieldMask(2, 10, selection), COMMON_ALL_FIELDS);
}

TEST_F(SelectionMaskTest, DifferentLcdTextsClearBit19OnlyAndTheCurrentControlEndsTheList)
{
    mylcdstring[4][15] = L"OTHER TEXT";
    std::vector<int> selection{12, 15};
    const uint32_t mask = CommonFieldMask(4, 12, selection);
    EXPECT_EQ(mask, COMMON_ALL_FIELDS & ~CommonBit(COMMON_LCD));
    EXPECT_EQ(selection, std::vector<int>({15, 12}));
}

TEST_F(SelectionMaskTest, StoredTextWithTrailingNulEqualsTheTypedText)
{
    mylcdstring[4][12] = std::wstring(L"SAME TEXT") + L'\0';
    std::vector<int> selection{12, 15};
    EXPECT_EQ(CommonFieldMask(4, 12, selection), COMMON_ALL_FIELDS);
}

TEST_F(SelectionMaskTest, MidiStringsAreEqualOnlyWithTheSameLengthAndBytes)
{
    // The reference sends B0 00 00; the other control starts from B0 07 40.
    struct Case {
        const char *name;
        uint8_t byte1, byte2, lenght, beyond;
        bool common;
    } const cases[] = {
        {"B0 00 7F: a zero byte is data", 0x00, 0x7F, 3, 0, false},
        {"B0 00 00", 0x00, 0x00, 3, 0, true},
        {"one byte longer", 0x00, 0x00, 4, 0, false},
        {"a difference beyond the length", 0x00, 0x00, 3, 0x33, true},
    };
    for (const Case &c : cases) {
        SetUp();
        mycontrol[1][10].midi_string[1] = mycontrol[1][10].midi_string[2] = 0;
        All_Params &other = mycontrol[1][20];
        other.midi_string[1] = c.byte1;
        other.midi_string[2] = c.byte2;
        other.midi_str_lenght = c.lenght;
        other.midi_string[5] = c.beyond;
        std::vector<int> selection{10, 20};
        EXPECT_EQ((CommonFieldMask(1, 10, selection) & CommonBit(COMMON_MIDI_STRING)) != 0, c.common) << c.name;
    }
}

TEST_F(SelectionMaskTest, CurrentControlNotInTheListIsAppended)
{
    std::vector<int> selection{20, 30};
    CommonFieldMask(0, 8, selection);
    EXPECT_EQ(selection, std::vector<int>({20, 30, 8}));
}

TEST_F(SelectionMaskTest, TransportButtonsUseTheirSharedRecordWhateverTheGroup)
{
    // Group 6's unused entry 2 differs, the transport record does not.
    mycontrol[6][2].ctrl_value_max = 1;
    mycontrol[6][10] = mytransport[2];
    std::vector<int> selection{2, 10};
    EXPECT_EQ(CommonFieldMask(6, 10, selection), COMMON_ALL_FIELDS);

    mytransport[2].ctrl_value_min = 9;
    selection = {2, 10};
    EXPECT_EQ(CommonFieldMask(6, 10, selection), COMMON_ALL_FIELDS & ~CommonBit(COMMON_MIN));
}

TEST_F(SelectionMaskTest, DifferencesAccumulateOverTheWholeSelection)
{
    mycontrol[5][20].ctrl_value_min = 1;
    mycontrol[5][30].ctrl_value_max = 1;
    std::vector<int> selection{10, 20, 30};
    const uint32_t mask = CommonFieldMask(5, 10, selection);
    EXPECT_EQ(mask, COMMON_ALL_FIELDS & ~CommonBit(COMMON_MIN) & ~CommonBit(COMMON_MAX));
    EXPECT_EQ(mask >> 22, 0x3FFu) << "bits 22 to 31 stay set";
}

TEST(RecordDifferenceBits, TwoIdenticalRecordsDifferInNothing)
{
    All_Params a{};
    a.midi_string[0] = 0x90;
    EXPECT_EQ(RecordDifferenceBits(a, L"X", a, L"X"), 0u);
}
