// Checks of the stored configuration: one control, and a group range.
#include <gtest/gtest.h>

#include <vector>

#include "assignment_checks.h"
#include "record_access.h"

namespace {

All_Params ValidRecord()
{
    All_Params record{};
    record.ctrl_status_1 = 0x0C;  // both MIDI outputs
    record.midi_str_lenght = 3;
    record.ctrl_value_max = 127;
    record.midi_string[0] = 0xB0;
    record.midi_string[1] = 0x07;
    return record;
}

class AssignmentChecksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitAllStructsTables(0);
        for (auto &record : mytransport)
            record = ValidRecord();
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c) {
                mycontrol[g][c] = ValidRecord();
                mylcdstring[g][c] = L"Volume";
            }
    }

    // Runs the range check with fixed bounds and records the progress steps.
    uint8_t RunRange(int first, int last, CheckPosition &failed)
    {
        steps.clear();
        return CheckStoredRange([first] { return first; }, [last] { return last; },
                                [this](int step) { steps.push_back(step); }, failed);
    }

    std::vector<int> steps;
};

}  // namespace

TEST_F(AssignmentChecksTest, ValidControlPasses)
{
    EXPECT_EQ(CheckStoredControl(3, 10), 0);
    EXPECT_EQ(CheckStoredControl(3, 2), 0);
}

TEST_F(AssignmentChecksTest, WarningsPassSilently)
{
    mycontrol[3][10] = All_Params{};  // undefined: 2
    EXPECT_EQ(CheckStoredControl(3, 10), 0);
    mycontrol[3][11] = ValidRecord();
    mycontrol[3][11].midi_str_lenght = 11;  // long string without delay: 3
    EXPECT_EQ(CheckStoredControl(3, 11), 0);
}

TEST_F(AssignmentChecksTest, RecordFailureIsReturned)
{
    mycontrol[3][10].ctrl_value_min = 100;
    mycontrol[3][10].ctrl_value_max = 50;
    EXPECT_EQ(CheckStoredControl(3, 10), 7);
}

TEST_F(AssignmentChecksTest, TransportButtonsUseTheSharedRecordAndSkipTheLcdText)
{
    mytransport[2].ctrl_status_1 = 0x10;  // USB only: 15
    EXPECT_EQ(CheckStoredControl(7, 2), 15);
    mytransport[2] = ValidRecord();
    mylcdstring[7][2] = L"\tbad";
    EXPECT_EQ(CheckStoredControl(7, 2), 0);
}

TEST_F(AssignmentChecksTest, LcdTextWithAControlCharacterFails)
{
    mylcdstring[0][30] = L"AB\tC";
    EXPECT_EQ(CheckStoredControl(0, 30), 21);
}

TEST_F(AssignmentChecksTest, LcdTextBeyondSevenBitsFailsEvenWhenItsLowByteIsPrintable)
{
    mylcdstring[0][30] = std::wstring(L"AB") + wchar_t(0x141);  // low byte 0x41 'A'
    EXPECT_EQ(CheckStoredControl(0, 30), 21);
}

TEST_F(AssignmentChecksTest, LcdCheckStopsAtTheTrailingNul)
{
    mylcdstring[0][30] = std::wstring(L"ABC") + L'\0';
    EXPECT_EQ(CheckStoredControl(0, 30), 0);
}

TEST_F(AssignmentChecksTest, RecordFailureComesBeforeTheLcdFailure)
{
    mycontrol[0][30].midi_string[0] = 0x30;  // 13
    mylcdstring[0][30] = L"\t";
    EXPECT_EQ(CheckStoredControl(0, 30), 13);
}

TEST_F(AssignmentChecksTest, FullRangeChecksAll1307Records)
{
    CheckPosition failed;
    EXPECT_EQ(RunRange(0, 20, failed), 0);
    ASSERT_EQ(steps.size(), 1307u);
    EXPECT_EQ(CHECK_ALL_STEPS, 1307);
    EXPECT_EQ(steps.front(), 0);
    EXPECT_EQ(steps.back(), 1306);
}

TEST_F(AssignmentChecksTest, RangeAboveGroup0SkipsTheTransportRecords)
{
    mytransport[0].ctrl_status_1 = 0;  // would fail with 15
    CheckPosition failed;
    EXPECT_EQ(RunRange(3, 3, failed), 0);
    EXPECT_EQ(steps.size(), 62u);
}

TEST_F(AssignmentChecksTest, ReversedRangeChecksNoGroup)
{
    mycontrol[3][10].ctrl_value_min = 200;
    CheckPosition failed;
    EXPECT_EQ(RunRange(4, 2, failed), 0);
    EXPECT_TRUE(steps.empty());
}

TEST_F(AssignmentChecksTest, FirstFailureStopsAndTellsWhere)
{
    mycontrol[4][20].ctrl_value_min = 200;  // 5
    mycontrol[4][30].ctrl_value_min = 200;
    CheckPosition failed;
    EXPECT_EQ(RunRange(2, 6, failed), 5);
    EXPECT_EQ(failed.group, 4u);
    EXPECT_EQ(failed.control, 20u);
    EXPECT_EQ(steps.size(), 2u * 62u + 16u);
}

TEST_F(AssignmentChecksTest, TransportFailureIsReportedInGroup0)
{
    mytransport[3].midi_str_lenght = 0;  // 8
    CheckPosition failed;
    EXPECT_EQ(RunRange(0, 0, failed), 8);
    EXPECT_EQ(failed.group, 0u);
    EXPECT_EQ(failed.control, 3u);
    EXPECT_EQ(steps.size(), 4u);
}

TEST_F(AssignmentChecksTest, LastGroupIsReadAfreshAtEveryGroup)
{
    int last = 20;
    std::vector<int> seen;
    CheckPosition failed;
    const uint8_t code = CheckStoredRange([] { return 1; }, [&last] { return last; },
                                          [&](int step) {
                                              seen.push_back(step);
                                              last = 2;  // shrinks while the check runs
                                          },
                                          failed);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen.size(), 2u * 62u);
}

TEST(IncompleteMidiText, OddDigitCountsLackADigit)
{
    EXPECT_FALSE(IsIncompleteMidiText(0));
    EXPECT_TRUE(IsIncompleteMidiText(5));
    EXPECT_FALSE(IsIncompleteMidiText(42));
}
