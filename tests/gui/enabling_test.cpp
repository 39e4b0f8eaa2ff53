// The enabling rules of the main window's commands: at start-up, with the
// connection state, the library buttons, the transfer buttons, the clipboard,
// a running transfer and a selected transport button.
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"

namespace {

bool MenuEnabled(int id)
{
    return m_pMenu->IsEnabled(id);
}

void ExpectEnabled(std::initializer_list<int> ids, bool enabled)
{
    for (int id : ids)
        EXPECT_EQ(MenuEnabled(id), enabled) << "menu item " << id;
}

void ClickOffline(bool on)
{
    wxCheckBox *box = pui->wxCheckBoxOffline;
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(on ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

void SelectPage(int page)
{
    // ChangeSelection sends no event; the page-change handler runs as the user's click would run it.
    pui->wxNotebookPages->ChangeSelection(static_cast<size_t>(page));
    wxBookCtrlEvent event(wxEVT_NOTEBOOK_PAGE_CHANGED, pui->wxNotebookPages->GetId(), page, wxNOT_FOUND);
    event.SetEventObject(pui->wxNotebookPages);
    pui->wxNotebookPages->GetEventHandler()->ProcessEvent(event);
}

const std::initializer_list<int> kFileCommands = {5002, 5000, 5003, 5004, 104, 103, 107};
const std::initializer_list<int> kTransfers = {10044, 10045, 10046, 10047};

}  // namespace

class Enabling : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
    }
};

TEST_F(Enabling, AfterStartupOnlyExitHelpAndAboutAreUsable)
{
    ExpectEnabled(kFileCommands, false);
    ExpectEnabled({1000, 1001, 1002, 10049, 10051, 10052, 10053, 1003, 1004, 1005}, false);
    ExpectEnabled(kTransfers, false);
    ExpectEnabled({100, 5009, 101}, true);
    EXPECT_FALSE(toolBar->IsEnabled());
}

TEST_F(Enabling, OfflineModeEnablesTheFileAndClipboardCommands)
{
    ClickOffline(true);
    ExpectEnabled({5002, 5000, 104, 103}, true);
    // No library file and no default library yet.
    ExpectEnabled({5003, 5004, 107}, false);
    EXPECT_TRUE(toolBar->IsEnabled());
    ExpectEnabled({1000, 10052, 10053, 1003, 1005}, true);
    // Paste waits for a copy; Clear in the Control menu is never enabled.
    ExpectEnabled({1001, 1004, 1002}, false);
    EXPECT_FALSE(toolBar->GetToolEnabled(1001));
    EXPECT_FALSE(toolBar->GetToolEnabled(1004));
    EXPECT_TRUE(toolBar->GetToolEnabled(1002));
    EXPECT_TRUE(toolBar->GetToolEnabled(5002));
    ExpectEnabled({100, 5009, 101}, true);
}

TEST_F(Enabling, SaveAndExportFollowTheLibrary)
{
    ClickOffline(true);
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    pui->EnableDisableUiFromFwVersion();
    ExpectEnabled({5003, 5004, 107}, true);
}

TEST_F(Enabling, LeavingOfflineModeDisablesThemAgain)
{
    ClickOffline(true);
    ClickOffline(false);
    ExpectEnabled(kFileCommands, false);
    ExpectEnabled({1000, 10052, 10053, 1003, 1005}, false);
    EXPECT_FALSE(toolBar->IsEnabled());
    ExpectEnabled({100, 5009, 101}, true);
}

TEST_F(Enabling, LibraryMenuItemsNeedALibraryFile)
{
    pui->EnableLibraryButtons();
    ExpectEnabled({10049, 10051}, false);
    default_lib_loaded = true;
    pui->EnableLibraryButtons();
    ExpectEnabled({10049, 10051}, false);
    FilePath = L"/tmp/some.cvq";
    pui->EnableLibraryButtons();
    ExpectEnabled({10049, 10051}, true);
    pui->DisableLibraryButtons();
    ExpectEnabled({10049, 10051}, false);
}

TEST_F(Enabling, TransferItemsNeedAConnection)
{
    pui->EnableMidiButtons();
    ExpectEnabled(kTransfers, false);
    cvq9_connected = true;
    SelectPage(3);
    pui->EnableMidiButtons();
    ExpectEnabled(kTransfers, true);
    pui->DisableMidiButtons();
    ExpectEnabled(kTransfers, false);
}

TEST_F(Enabling, GlobalPagesDisableTheAllTransfers)
{
    cvq9_connected = true;
    for (int page : {1, 2}) {
        SCOPED_TRACE(page);
        SelectPage(page);
        pui->EnableMidiButtons();
        ExpectEnabled({10044, 10046}, true);
        ExpectEnabled({10045, 10047}, false);
    }
}

TEST_F(Enabling, RunningTransferDisablesMenusToolbarAndGroupSelector)
{
    ClickOffline(true);
    ControlIndex = 10;  // a group control: the group selector is usable when idle
    programming = true;
    pui->ManageButtons();
    for (size_t i = 0; i < m_pMenu->GetMenuCount(); ++i)
        EXPECT_FALSE(m_pMenu->IsEnabledTop(i)) << "menu " << i;
    EXPECT_FALSE(toolBar->IsEnabled());
    EXPECT_FALSE(m_pGroupCombo->IsEnabled());
    programming = false;
    pui->ManageButtons();
    for (size_t i = 0; i < m_pMenu->GetMenuCount(); ++i)
        EXPECT_TRUE(m_pMenu->IsEnabledTop(i)) << "menu " << i;
    EXPECT_TRUE(toolBar->IsEnabled());
    EXPECT_TRUE(m_pGroupCombo->IsEnabled());
}

TEST_F(Enabling, PageChangeOutsidePreferencesEnablesTheToolbarButNotPaste)
{
    SelectPage(3);
    EXPECT_TRUE(toolBar->IsEnabled());
    EXPECT_FALSE(toolBar->GetToolEnabled(1001));
    EXPECT_FALSE(toolBar->GetToolEnabled(1004));
    EXPECT_TRUE(toolBar->GetToolEnabled(1000));
}

TEST_F(Enabling, CopyEnablesPasteForTheRestOfTheRun)
{
    ClickOffline(true);
    SendCommand(ID_CVQ9_COPY);
    EXPECT_TRUE(MenuEnabled(1001));
    EXPECT_TRUE(toolBar->GetToolEnabled(1001));
    EXPECT_FALSE(MenuEnabled(1004));
    SendCommand(ID_CVQ9_COPY_GROUP);
    EXPECT_TRUE(MenuEnabled(1004));
    EXPECT_TRUE(toolBar->GetToolEnabled(1004));
    ClickOffline(false);
    ClickOffline(true);
    EXPECT_TRUE(MenuEnabled(1001));
    EXPECT_TRUE(MenuEnabled(1004));
}

TEST_F(Enabling, ControlMenuClearIsNeverEnabled)
{
    ClickOffline(true);
    SelectPage(3);
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    pui->EnableDisableUiFromFwVersion();
    cvq9_connected = true;
    pui->ManageButtons();
    EXPECT_FALSE(MenuEnabled(1002));
}
