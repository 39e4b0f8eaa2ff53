// Commands the application object handles: the group selector, and the
// library and check commands of the Control menu forwarded to the editor panel.
#include <wx/combobox.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "library_file.h"
#include "record_access.h"

class Forwarding : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }
};

TEST_F(Forwarding, GroupSelectorSetsTheCurrentGroupAndRemembersIt)
{
    const TablesSnapshot before;
    SelectGroupInCombo(0);
    EXPECT_EQ(CurrentGroup, 0u);
    SelectGroupInCombo(20);
    EXPECT_EQ(CurrentGroup, 20u);
    EXPECT_EQ(CVQ9_SOFT_config->ReadLong("CurrentGroup", -1), 20);
    EXPECT_EQ(ControlIndex, 1u);
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(Forwarding, SaveAllToLibraryWritesTheCurrentFile)
{
    ResetConfiguration(1);
    const wxString path = HomePath("forwarded.cvq");
    FilePath = path.ToStdWstring();
    need_to_save_lib = true;
    SendCommand(ID_CVQ9_SAVE_ALL_TO_LIB);
    EXPECT_EQ(ReadFileBytes(path), BuildLibraryImage());
    EXPECT_TRUE(dialogs.file_dialogs.empty()) << dialogs.Describe();
    // Saving to the known file leaves the flags.
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Forwarding, LoadAllFromLibraryReadsTheCurrentFile)
{
    ResetConfiguration(1);
    mycontrol[4][40].ctrl_value_max = 64;
    UseStoredGroupNames();
    const wxString path = HomePath("forwarded.cvq");
    ASSERT_EQ(SaveLibraryFile(std::string(path.fn_str())).status, LibraryFileStatus::Ok);
    const TablesSnapshot saved;
    ResetConfiguration(0);
    FilePath = path.ToStdWstring();
    need_to_save_lib = true;
    SendCommand(ID_CVQ9_LOAD_ALL_FROM_LIB);
    EXPECT_TABLES_EQ(saved, TablesSnapshot());
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Forwarding, CheckAllReportsTheFirstRefusedEntry)
{
    SendCommand(ID_CVQ9_CHECK_ALL);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    InitMidiStruct(&mycontrol[1][20], 1, 20, 1);
    mycontrol[1][20].ctrl_value_min = 100;
    mycontrol[1][20].ctrl_value_max = 5;
    SendCommand(ID_CVQ9_CHECK_ALL);
    ASSERT_EQ(dialogs.WithCaption("Parameter check").size(), 1u) << dialogs.Describe();
}

TEST_F(Forwarding, CheckCurrentChecksTheSelectedControlOnly)
{
    InitMidiStruct(&mycontrol[1][20], 1, 20, 1);
    mycontrol[1][20].ctrl_value_min = 100;
    mycontrol[1][20].ctrl_value_max = 5;
    ControlIndex = 21;
    SendCommand(ID_CVQ9_CHECK_CURRENT);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    ControlIndex = 20;
    SendCommand(ID_CVQ9_CHECK_CURRENT);
    EXPECT_EQ(dialogs.WithCaption("Parameter check").size(), 1u) << dialogs.Describe();
}
