// The Find controls window: its fields reach the search, and a double click
// on a result selects that control everywhere.
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "find_controls.h"
#include "gui_fixture.h"

TEST_F(GuiFixture, FindControlsSelectsTheControlOfAResult)
{
    StartApp();
    Check(pui->wxCheckBoxOffline, true);
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    // The defaults send CC (8 g + c) mod 128: CC 74 in twelve groups, from
    // control 66 of group 1 down to control 26 of group 6 and on.
    SendCommand(ID_CVQ9_FIND_CONTROLS);
    FindControls *find = FindControls::Current();
    ASSERT_NE(nullptr, find);
    find->kind->SetSelection(4);  // Control change
    find->number->SetValue(wxT("74"));
    find->ShowFound();
    ASSERT_EQ(12, find->results->GetItemCount());
    EXPECT_EQ(wxT("6"), find->results->GetItemText(5, 0));
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, find->results->GetId());
    activate.m_itemIndex = 5;
    find->results->ProcessWindowEvent(activate);
    ExpectShownAndEdited(6, {26}, 26);

    find->bytes->SetValue(wxT("B0 4"));
    find->ShowFound();
    EXPECT_EQ(0, find->results->GetItemCount());
    EXPECT_EQ(wxT("The bytes must be hexadecimal, two digits each."), find->status->GetLabel());
    find->bytes->Clear();
    find->number->SetValue(wxT("128"));
    find->ShowFound();
    EXPECT_EQ(wxT("The number must be 0 to 127."), find->status->GetLabel());
    ResetConfiguration(0);
    find->ShowConflicts();
    EXPECT_EQ(wxT("No conflicts"), find->status->GetLabel());
    InitMidiStruct(&mycontrol[2][20], 2, 20, 1);
    mycontrol[2][21] = mycontrol[2][20];  // two controls of a group sending the same two messages
    find->ShowConflicts();
    EXPECT_EQ(wxT("2 conflicts"), find->status->GetLabel());
    EXPECT_EQ(4, find->results->GetItemCount());
}
