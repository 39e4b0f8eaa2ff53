// The editor's clipboard: Copy, Paste and Clear of the current control and of
// the current group change exactly the records they address.
#include <wx/toolbar.h>

#include "gui_fixture.h"

static void Put(TablesSnapshot &expected, unsigned group, unsigned index, const All_Params &record, const Q9Text &lcd)
{
    expected.Addressed(group, index) = record;
    if (index >= TRANSPORT_NB)  // a transport button has no text
        expected.Lcd(group, index) = lcd;
}

static All_Params Cleared(unsigned group, unsigned index)  // the string's bytes beyond its length stay
{
    All_Params r = AddressedRecord(group, index);
    InitMidiStruct(&r, static_cast<uint8_t>(group), static_cast<uint8_t>(index), 0);
    return r;
}

class Clipboard : public RunningApp
{
protected:
    // Runs `command` on the control at group, index and expects `expected`.
    void Run(int command, unsigned group, unsigned index, const TablesSnapshot &expected, bool edit = true)
    {
        CurrentGroup = group;
        ControlIndex = index;
        need_to_save_lib = false;
        SendCommand(command);
        EXPECT_TABLES_EQ(expected, TablesSnapshot());
        EXPECT_EQ(need_to_save_lib, edit);
    }
};

TEST_F(Clipboard, ControlCommandsChangeTheCurrentControlAlone)
{
    FillRandomConfiguration(7);
    const All_Params knob = mycontrol[2][12], play = mytransport[1];
    const Q9Text knob_text = mylcdstring[2][12];
    TablesSnapshot expected;
    Run(ID_CVQ9_COPY, 2, 12, expected, false);
    EXPECT_TRUE(pParamMenu->IsEnabled(ID_CVQ9_PASTE) && toolBar->GetToolEnabled(ID_CVQ9_PASTE) &&
                pMenuRightClick->IsEnabled(ID_CVQ9_PASTE));
    all_selected_ctrl = {11, 12, 40};  // Paste reaches the current control, not the rest of a selection
    Put(expected, 9, 40, knob, knob_text);
    Run(ID_CVQ9_PASTE, 9, 40, expected);
    Put(expected, 0, 2, knob, L"");
    Run(ID_CVQ9_PASTE, 4, 2, expected);
    Run(ID_CVQ9_COPY, 5, 1, expected, false);  // copying a transport button keeps the text copied before
    Put(expected, 1, 30, play, knob_text);
    Run(ID_CVQ9_PASTE, 1, 30, expected);
    // Clear leaves an undefined control; a transport button is cleared as a group 0 record.
    Put(expected, 6, 5, Cleared(6, 5), L"");
    Run(ID_CVQ9_CLEAR, 6, 5, expected);
    Put(expected, 0, 3, Cleared(0, 3), L"");
    Run(ID_CVQ9_CLEAR, 6, 3, expected);
}

TEST_F(Clipboard, GroupCommandsChangeTheCurrentGroupsControlsAlone)
{
    FillRandomConfiguration(8);
    TablesSnapshot expected;
    Run(ID_CVQ9_COPY_GROUP, 2, 9, expected, false);
    EXPECT_TRUE(pGroupMenu->IsEnabled(ID_CVQ9_PASTE_GROUP) && toolBar->GetToolEnabled(ID_CVQ9_PASTE_GROUP));
    mycontrol[2][33].ctrl_value_max = 42;  // the contents are taken when pasting
    mylcdstring[2][33] = L"Edited";
    expected = TablesSnapshot();
    for (unsigned k = FIRST_GROUP_CONTROL; k < CONTROLS_PER_GROUP; ++k)
        Put(expected, 7, k, mycontrol[2][k], mylcdstring[2][k]);
    Run(ID_CVQ9_PASTE_GROUP, 7, 9, expected);
    Run(ID_CVQ9_COPY_GROUP, 3, 9, expected, false);
    Run(ID_CVQ9_PASTE_GROUP, 3, 9, expected);  // onto itself: no change, but an edit
    // Clear keeps the group's name; only group 0 clears the transport buttons too.
    for (unsigned group : {8u, 0u}) {
        for (unsigned k = group == 0 ? 0 : FIRST_GROUP_CONTROL; k < CONTROLS_PER_GROUP; ++k)
            Put(expected, group, k, Cleared(group, k), L"");
        Run(ID_CVQ9_CLEAR_GROUP, group, 9, expected);
    }
}
