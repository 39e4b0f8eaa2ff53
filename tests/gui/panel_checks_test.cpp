// The assignment checks of the panel: what they report, in which words, where
// they move the selection, and the common-field mask of a multiple selection.
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "record_access.h"
#include "selection_mask.h"

namespace {

All_Params ValidRecord()
{
    All_Params record{};
    record.ctrl_status_1 = 0x0C;
    record.midi_str_lenght = 3;
    record.midi_channel_position = 1;
    record.ctrl_value_position_0 = 3;
    record.ctrl_value_max = 127;
    record.midi_string[0] = 0xB0;
    record.midi_string[1] = 0x07;
    return record;
}

}  // namespace

class PanelChecks : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        for (auto &record : mytransport)
            record = ValidRecord();
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c) {
                mycontrol[g][c] = ValidRecord();
                mylcdstring[g][c] = L"Volume";
            }
        pui->wxTextCtrlMidiString->ChangeValue(wxEmptyString);
        CurrentGroup = 1;
        ControlIndex = 10;
        all_selected_ctrl = {8, 10};
        dialogs.Clear();
    }

    // The one message shown, with the check's caption.
    wxString OnlyMessage()
    {
        EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
        if (dialogs.messages.empty())
            return wxString();
        EXPECT_EQ(dialogs.messages[0].caption, "Parameter check");
        EXPECT_TRUE(dialogs.messages[0].style & wxOK);
        EXPECT_TRUE(dialogs.messages[0].style & wxCENTRE);
        return dialogs.messages[0].text;
    }

    void SetRange(int first, int last)
    {
        pui->wxSpinCtrlStartGroup->SetValue(first);
        pui->wxSpinCtrlEndGroup->SetValue(last);
    }
};

TEST_F(PanelChecks, PassingControlShowsNothing)
{
    EXPECT_EQ(pui->CheckCurrentParam(3, 20), 0);
    EXPECT_EQ(pui->CheckCurrentParam(0, 2), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(PanelChecks, WarningsPassSilently)
{
    mycontrol[3][20] = All_Params{};        // undefined
    mycontrol[3][21].midi_str_lenght = 11;  // long string without delay
    EXPECT_EQ(pui->CheckCurrentParam(3, 20), 0);
    EXPECT_EQ(pui->CheckCurrentParam(3, 21), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(PanelChecks, FailureIsReportedAndTheSelectionMovesToTheControl)
{
    mycontrol[4][20].ctrl_value_min = 100;
    mycontrol[4][20].ctrl_value_max = 50;
    EXPECT_EQ(pui->CheckCurrentParam(4, 20), 7);
    EXPECT_EQ(OnlyMessage(), "Group 4 - Control 20\nControl Min value is higher than control Max value");
    EXPECT_EQ(CurrentGroup, 4u);
    EXPECT_EQ(ControlIndex, 20u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>({20}));
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 4);
}

TEST_F(PanelChecks, PositionMessagesNameTheStringLenght)
{
    mycontrol[2][30].midi_channel_position = 4;  // beyond the 3-byte string
    EXPECT_EQ(pui->CheckCurrentParam(2, 30), 9);
    EXPECT_EQ(OnlyMessage(), "Group 2 - Control 30\nMIDI channel position is out of range (0-3)");
}

TEST_F(PanelChecks, TransportButtonsAreCheckedByTheirSharedRecord)
{
    mytransport[2].ctrl_status_1 = 0x10;  // USB only
    mylcdstring[7][2] = L"\t";            // never looked at for a transport button
    EXPECT_EQ(pui->CheckCurrentParam(7, 2), 15);
    EXPECT_EQ(OnlyMessage(), "Group 7 - Control 2\nAt least one MIDI output must be selected");
    EXPECT_EQ(ControlIndex, 2u);
}

TEST_F(PanelChecks, NonAsciiLcdTextFailsAfterTheRecordPasses)
{
    mylcdstring[3][30] = L"Caf\u00e9";
    EXPECT_EQ(pui->CheckCurrentParam(3, 30), 21);
    EXPECT_EQ(OnlyMessage(), "Group 3 - Control 30\nLCD string contains un-allowed (non ascii) caracter(s)");
}

TEST_F(PanelChecks, OddMidiStringFieldIsReportedFirst)
{
    mycontrol[3][20].ctrl_value_min = 200;
    pui->wxTextCtrlMidiString->ChangeValue("B0070");
    EXPECT_EQ(pui->CheckCurrentParam(3, 20), 19);
    EXPECT_EQ(OnlyMessage(), "Group 3 - Control 20\nUncomplete MIDI string (A digit is probably missing)");

    // The report moved the selection and redisplayed the field from the
    // record: put the odd text back before the second check.
    dialogs.Clear();
    CurrentGroup = 5;
    ControlIndex = 12;
    pui->wxTextCtrlMidiString->ChangeValue("B0070");
    EXPECT_EQ(pui->CheckAllParam(), 19);
    EXPECT_EQ(OnlyMessage(), "Group 5 - Control 12\nUncomplete MIDI string (A digit is probably missing)");
}

TEST_F(PanelChecks, CheckAllPassesTheWholeRangeAndResetsTheGauge)
{
    SetRange(0, 20);
    EXPECT_EQ(pui->CheckAllParam(), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_EQ(pui->GAUGE_Bargraph->GetRange(), 1307);
    EXPECT_EQ(pui->GAUGE_Bargraph->GetValue(), 0);
}

TEST_F(PanelChecks, CheckAllStaysInsideTheGroupRange)
{
    mytransport[0].ctrl_status_1 = 0;       // would fail with 15
    mycontrol[2][10].ctrl_value_min = 200;  // outside the range
    mycontrol[4][10].ctrl_value_min = 200;  // outside the range
    SetRange(3, 3);
    EXPECT_EQ(pui->CheckAllParam(), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();

    mycontrol[3][20].ctrl_value_max = 128;
    EXPECT_EQ(pui->CheckAllParam(), 6);
    EXPECT_EQ(OnlyMessage(), "Group 3 - Control 20\nControl Max value is out of range (0-127)");
    // The gauge stays where the failing record was counted.
    EXPECT_EQ(pui->GAUGE_Bargraph->GetValue(), 15);
    EXPECT_EQ(CurrentGroup, 3u);
    EXPECT_EQ(ControlIndex, 20u);
}

TEST_F(PanelChecks, CheckAllFromGroup0ChecksTheTransportButtonsFirst)
{
    mytransport[3].midi_str_lenght = 0;
    mycontrol[0][10].ctrl_value_min = 200;
    SetRange(0, 0);
    EXPECT_EQ(pui->CheckAllParam(), 8);
    EXPECT_EQ(OnlyMessage(), "Group 0 - Control 3\nMIDI string lenght is out of range (1-21)");
}

TEST_F(PanelChecks, ReversedRangeChecksNoGroup)
{
    mycontrol[3][10].ctrl_value_min = 200;
    SetRange(4, 2);
    EXPECT_EQ(pui->CheckAllParam(), 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(PanelChecks, CheckAllButtonRunsTheCheck)
{
    mycontrol[1][40].midi_string[0] = 0x30;
    SetRange(1, 1);
    ClickButton(pui->wxButtonCheckAll);
    EXPECT_EQ(OnlyMessage(), "Group 1 - Control 40\nMIDI string must start with a MIDI status");
}

TEST_F(PanelChecks, PassingCodesAreShownWithoutMovingTheSelection)
{
    pui->DisplayParamError(2, 5, 30);
    EXPECT_EQ(OnlyMessage(), "Group 5 - Control 30\nWarning : Parameter is not defined");
    EXPECT_EQ(CurrentGroup, 1u);
    EXPECT_EQ(ControlIndex, 10u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>({8, 10}));

    dialogs.Clear();
    pui->DisplayParamError(0, 5, 30);
    EXPECT_EQ(OnlyMessage(), "Group 5 - Control 30\nParameter successfuly checked");
    dialogs.Clear();
    pui->DisplayParamError(3, 5, 30);
    EXPECT_EQ(OnlyMessage(),
              "Group 5 - Control 30\nWarning : Long MIDI string (Lenght > 10)\nA MIDI delay should be inserted");
    EXPECT_EQ(ControlIndex, 10u);
}

TEST_F(PanelChecks, UnknownCodesReadUnknownError)
{
    pui->DisplayParamError(23, 2, 8);
    EXPECT_EQ(OnlyMessage(), "Group 2 - Control 8\nLCD string must be 16 car. lenght");
    dialogs.Clear();
    pui->DisplayParamError(99, 2, 8);
    EXPECT_EQ(OnlyMessage(), "Group 2 - Control 8\nUnknown error");
}

TEST_F(PanelChecks, CommonMaskOfTwoControlsDifferingInTheirLcdText)
{
    CurrentGroup = 6;
    ControlIndex = 12;
    all_selected_ctrl = {12, 15};
    mylcdstring[6][15] = L"Other";
    const uint32_t mask = pui->CheckCommonCtrlParameters();
    EXPECT_EQ(mask, 0xFFFFFFFFu & ~CommonBit(COMMON_LCD));
    EXPECT_EQ(all_selected_ctrl, std::vector<int>({15, 12}));
}

TEST_F(PanelChecks, CommonMaskOfASingleSelectionHasEveryBit)
{
    CurrentGroup = 6;
    ControlIndex = 12;
    all_selected_ctrl = {12};
    EXPECT_EQ(pui->CheckCommonCtrlParameters(), 0xFFFFFFFFu);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>({12}));
}
