// The assignment checks: a refused control is named and shown alone as the
// selection; warnings pass; Check all keeps to the group range.
#include <wx/gauge.h>

#include "gui_fixture.h"
#include "param_messages.h"

class Checks : public RunningApp
{
protected:
    void SetUp() override
    {
        RunningApp::SetUp();
        Reset();
    }

    // Every control valid; group 1 shown with controls 8 and 10 selected.
    void Reset()
    {
        FillValidConfiguration(L"Volume");
        pui->wxTextCtrlMidiString->ChangeValue(wxEmptyString);
        SelectGroupInCombo(1);
        SelectControls(1, {8, 10});
        pCVQ9View->DrawIndices({8, 10});
        dialogs.Clear();
    }

    // One box named after the control, which is shown alone and edited.
    void ExpectReported(unsigned group, unsigned control, const char *detail = "")
    {
        const std::vector<wxString> texts = dialogs.Texts("Parameter check");
        ASSERT_EQ(texts.size(), 1u) << dialogs.Describe();
        EXPECT_TRUE(texts[0].StartsWith(wxString::Format("Group %u - Control %u\n", group, control))) << texts[0];
        EXPECT_TRUE(texts[0].Contains(detail)) << texts[0];
        ExpectShownAndEdited(group, {static_cast<int>(control)}, control);
        dialogs.Clear();
    }
};

TEST_F(Checks, ARefusedControlIsNamedAndShownAlone)
{
    const struct {
        unsigned group, control;
        std::function<void()> fault;
        const char *detail;
    } cases[] = {{2, 30, [] { mycontrol[2][30].midi_channel_position = 4; }, "(0-3)"},  // the string's length
                 {7, 2, [] { mytransport[2].ctrl_status_1 = 0x10; }, ""}};  // the shared record of a transport button
    for (const auto &c : cases) {
        c.fault();
        EXPECT_NE(pui->CheckCurrentParam(static_cast<uint8_t>(c.group), static_cast<uint8_t>(c.control)), 0);
        ExpectReported(c.group, c.control, c.detail);
        Reset();
    }
    // Shown on purpose, a passing code leaves the selection; an unknown one is a refusal.
    for (uint8_t code : {0, 2, 3})
        pui->DisplayParamError(code, 5, 30);
    EXPECT_EQ(dialogs.Texts("Parameter check").size(), 3u);
    EXPECT_EQ(pCVQ9View->DrawnIndices(), (std::vector<unsigned>{8, 10}));
    dialogs.Clear();
    pui->DisplayParamError(99, 5, 30);
    ExpectReported(5, 30, ParamErrorFormat(99));
}

TEST_F(Checks, CheckAllKeepsToTheGroupRange)
{
    mycontrol[2][10].ctrl_value_min = 200;  // outside the range
    mycontrol[4][10].ctrl_value_min = 200;
    SetGroupRange(3, 3);
    SendCommand(ID_CVQ9_CHECK_ALL);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_EQ(pui->GAUGE_Bargraph->GetRange(), 1307);  // a step a transport button or group control
    EXPECT_EQ(pui->GAUGE_Bargraph->GetValue(), 0);
    mycontrol[3][20].ctrl_value_max = 128;
    Click(pui->wxButtonCheckAll);
    EXPECT_EQ(pui->GAUGE_Bargraph->GetValue(), 15);  // where the refused control was counted
    ExpectReported(3, 20);
    // The MIDI string field with an odd number of digits is reported first.
    SelectGroupInCombo(5);
    for (int current_only : {0, 1}) {
        ControlIndex = 12;
        pui->wxTextCtrlMidiString->ChangeValue("B0070");
        current_only ? SendCommand(ID_CVQ9_CHECK_CURRENT) : (void)pui->CheckAllParam();
        ExpectReported(5, 12);
    }
}
