// The editor's clipboard: Copy, Paste and Clear of the current control, and
// of the current group.
#include <cstring>

#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "gui_fixture.h"
#include "record_access.h"

class Clipboard : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        ResetConfiguration(1);
        need_to_save_lib = false;
    }
};

TEST_F(Clipboard, CopyChangesNothingAndEnablesPasteEverywhere)
{
    CurrentGroup = 2;
    ControlIndex = 12;
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_COPY);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_TRUE(pParamMenu->IsEnabled(ID_CVQ9_PASTE));
    EXPECT_TRUE(toolBar->GetToolEnabled(ID_CVQ9_PASTE));
    ASSERT_NE(pMenuRightClick, nullptr);
    EXPECT_TRUE(pMenuRightClick->IsEnabled(ID_CVQ9_PASTE));
}

TEST_F(Clipboard, PasteWritesTheCopiedRecordAndLcdText)
{
    CurrentGroup = 2;
    ControlIndex = 12;
    mycontrol[2][12].ctrl_value_max = 99;
    mylcdstring[2][12] = L"Copied";
    SendCommand(ID_CVQ9_COPY);
    CurrentGroup = 9;
    ControlIndex = 40;
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_PASTE);
    const TablesSnapshot after;
    // Only entry 40 of group 9 changed.
    TablesSnapshot expected = after;
    expected.controls = before.controls;
    std::memcpy(&expected.controls[(9 * CONTROLS_PER_GROUP + 40) * sizeof(All_Params)], &mycontrol[2][12],
                sizeof(All_Params));
    expected.lcd = before.lcd;
    expected.lcd[9 * CONTROLS_PER_GROUP + 40] = L"Copied";
    EXPECT_TABLES_EQ(expected, after);
    EXPECT_EQ(0, std::memcmp(&mycontrol[9][40], &mycontrol[2][12], sizeof(All_Params)));
    EXPECT_EQ(mylcdstring[9][40], L"Copied");
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Clipboard, TransportRecordPastedOntoAGroupControlTakesTheLastGroupLcdText)
{
    CurrentGroup = 1;
    ControlIndex = 20;
    mylcdstring[1][20] = L"Group text";
    SendCommand(ID_CVQ9_COPY);
    ControlIndex = 3;
    mytransport[3].ctrl_value_min = 7;
    SendCommand(ID_CVQ9_COPY);
    ControlIndex = 30;
    SendCommand(ID_CVQ9_PASTE);
    EXPECT_EQ(0, std::memcmp(&mycontrol[1][30], &mytransport[3], sizeof(All_Params)));
    EXPECT_EQ(mylcdstring[1][30], L"Group text");
}

TEST_F(Clipboard, PasteOnATransportButtonWritesNoLcdText)
{
    CurrentGroup = 4;
    ControlIndex = 10;
    SendCommand(ID_CVQ9_COPY);
    ControlIndex = 2;
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_PASTE);
    EXPECT_EQ(0, std::memcmp(&mytransport[2], &mycontrol[4][10], sizeof(All_Params)));
    const TablesSnapshot after;
    EXPECT_EQ(after.lcd, before.lcd);
    EXPECT_EQ(after.controls, before.controls);
}

TEST_F(Clipboard, ClearEmptiesTheCurrentControlOnly)
{
    CurrentGroup = 6;
    ControlIndex = 5;
    TablesSnapshot before;
    SendCommand(ID_CVQ9_CLEAR);
    const TablesSnapshot after;
    // Apart from control 5 of group 6 (cleared) nothing changed.
    const size_t at = (6 * CONTROLS_PER_GROUP + 5) * sizeof(All_Params);
    std::copy(after.controls.begin() + at, after.controls.begin() + at + sizeof(All_Params),
              before.controls.begin() + at);
    before.lcd[6 * CONTROLS_PER_GROUP + 5] = after.lcd[6 * CONTROLS_PER_GROUP + 5];
    EXPECT_TABLES_EQ(before, after);
    EXPECT_EQ(mycontrol[6][5].ctrl_status_1, 0);
    EXPECT_TRUE(mylcdstring[6][5].empty());
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Clipboard, ClearedControlIsUndefined)
{
    CurrentGroup = 6;
    ControlIndex = 22;
    SendCommand(ID_CVQ9_CLEAR);
    const All_Params &r = mycontrol[6][22];
    EXPECT_EQ(r.ctrl_status_1, 0);
    EXPECT_EQ(r.midi_str_lenght, 0);
    EXPECT_EQ(r.midi_string[0], 0);
    EXPECT_TRUE(mylcdstring[6][22].empty());
}

TEST_F(Clipboard, PasteGroupTakesTheContentsAtPasteTime)
{
    CurrentGroup = 2;
    SendCommand(ID_CVQ9_COPY_GROUP);
    EXPECT_TRUE(pGroupMenu->IsEnabled(ID_CVQ9_PASTE_GROUP));
    EXPECT_TRUE(toolBar->GetToolEnabled(ID_CVQ9_PASTE_GROUP));
    mycontrol[2][33].ctrl_value_max = 42;
    mylcdstring[2][33] = L"Edited";
    mygroupnames[7] = L"Keep me";
    const All_Params transport_before = mytransport[1];
    CurrentGroup = 7;
    SendCommand(ID_CVQ9_PASTE_GROUP);
    for (unsigned k = 5; k <= 66; ++k) {
        EXPECT_EQ(0, std::memcmp(&mycontrol[7][k], &mycontrol[2][k], sizeof(All_Params))) << k;
        EXPECT_EQ(mylcdstring[7][k], mylcdstring[2][k]) << k;
    }
    EXPECT_EQ(mycontrol[7][33].ctrl_value_max, 42);
    EXPECT_EQ(mygroupnames[7], L"Keep me");
    EXPECT_EQ(0, std::memcmp(&mytransport[1], &transport_before, sizeof(All_Params)));
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Clipboard, PasteGroupOntoItselfChangesNothingButIsAnEdit)
{
    CurrentGroup = 3;
    SendCommand(ID_CVQ9_COPY_GROUP);
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_PASTE_GROUP);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Clipboard, ClearGroupZeroAlsoClearsTheTransportButtons)
{
    CurrentGroup = 0;
    SendCommand(ID_CVQ9_CLEAR_GROUP);
    for (unsigned t = 0; t < 5; ++t)
        EXPECT_EQ(mytransport[t].ctrl_status_1, 0) << t;
    for (unsigned k = 5; k <= 66; ++k)
        EXPECT_TRUE(mylcdstring[0][k].empty()) << k;
}

TEST_F(Clipboard, ClearOtherGroupLeavesTheTransportButtonsAndName)
{
    const All_Params play = mytransport[1];
    mygroupnames[8] = L"Named";
    CurrentGroup = 8;
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_CLEAR_GROUP);
    EXPECT_EQ(0, std::memcmp(&mytransport[1], &play, sizeof(All_Params)));
    EXPECT_EQ(mygroupnames[8], L"Named");
    for (unsigned k = 5; k <= 66; ++k) {
        EXPECT_EQ(mycontrol[8][k].ctrl_status_1, 0) << k;
        EXPECT_TRUE(mylcdstring[8][k].empty()) << k;
    }
    // Other groups are untouched.
    const TablesSnapshot after;
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        if (g == 8)
            continue;
        for (unsigned k = 0; k < CONTROLS_PER_GROUP; ++k)
            EXPECT_EQ(after.lcd[g * CONTROLS_PER_GROUP + k], before.lcd[g * CONTROLS_PER_GROUP + k]);
    }
}

TEST_F(Clipboard, MultipleSelectionDoesNotWidenPaste)
{
    CurrentGroup = 1;
    ControlIndex = 10;
    SendCommand(ID_CVQ9_COPY);
    all_selected_ctrl = {11, 12, 13};
    ControlIndex = 13;
    const All_Params eleven = mycontrol[1][11];
    SendCommand(ID_CVQ9_PASTE);
    EXPECT_EQ(0, std::memcmp(&mycontrol[1][13], &mycontrol[1][10], sizeof(All_Params)));
    EXPECT_EQ(0, std::memcmp(&mycontrol[1][11], &eleven, sizeof(All_Params)));
}
