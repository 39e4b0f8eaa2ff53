// The action buttons under the notebook: which are usable on each page, with
// and without a device and a library, during a transfer, and what Cancel and
// the two library buttons do.
#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "panel_test_support.h"

namespace {

struct TransferStates {
    bool upload_selected, download_selected, upload_all, download_all;
};

TransferStates Transfers()
{
    return {pui->wxButtonUploadCurrentFromQ9->IsEnabled(), pui->wxButtonDownloadCurrentToQ9->IsEnabled(),
            pui->wxButtonUploadAllFromQ9->IsEnabled(), pui->wxButtonDownloadAllToQ9->IsEnabled()};
}

void ExpectTransfers(bool selected, bool all)
{
    const TransferStates s = Transfers();
    EXPECT_EQ(s.upload_selected, selected);
    EXPECT_EQ(s.download_selected, selected);
    EXPECT_EQ(s.upload_all, all);
    EXPECT_EQ(s.download_all, all);
    EXPECT_EQ(pParamMenu->IsEnabled(ID_CVQ9_UPLOAD_CURRENT), selected);
    EXPECT_EQ(pParamMenu->IsEnabled(ID_CVQ9_DOWNLOAD_CURRENT), selected);
    EXPECT_EQ(pParamMenu->IsEnabled(ID_CVQ9_UPLOAD_ALL), all);
    EXPECT_EQ(pParamMenu->IsEnabled(ID_CVQ9_DOWNLOAD_ALL), all);
}

void ExpectLibrary(bool load, bool save)
{
    EXPECT_EQ(pui->wxButtonLoadAllFromLib->IsEnabled(), load);
    EXPECT_EQ(pui->wxButtonSaveAllToLibraryFile->IsEnabled(), save);
}

}  // namespace

class PanelButtons : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }
};

TEST_F(PanelButtons, StartUpLeavesTransfersLibraryAndCancelDisabled)
{
    ExpectTransfers(false, false);
    ExpectLibrary(false, false);
    EXPECT_FALSE(pui->wxButtonCancel->IsEnabled());
    EXPECT_TRUE(pui->wxButtonCheckAll->IsEnabled());
}

TEST_F(PanelButtons, PreferencesPageOffersNoTransferNorLibrary)
{
    cvq9_connected = true;
    FilePath = L"/tmp/some.cvq";
    SelectPage(PAGE_ASSIGN_STD);
    ExpectTransfers(true, true);
    SelectPage(PAGE_PREFERENCES);
    ExpectTransfers(false, false);
    ExpectLibrary(false, false);
    EXPECT_FALSE(pParamMenu->IsEnabled(ID_CVQ9_LOAD_ALL_FROM_LIB));
    EXPECT_FALSE(pParamMenu->IsEnabled(ID_CVQ9_SAVE_ALL_TO_LIB));
    EXPECT_FALSE(pui->wxButtonCancel->IsEnabled());
    EXPECT_TRUE(pui->wxButtonCheckAll->IsEnabled());
}

TEST_F(PanelButtons, GlobalAndRealtimePagesDisableTheAllPair)
{
    cvq9_connected = true;
    for (int page : {PAGE_GLOBAL, PAGE_REALTIME}) {
        SCOPED_TRACE(page);
        SelectPage(page);
        ExpectTransfers(true, false);
    }
}

TEST_F(PanelButtons, AssignmentPagesEnableAllFourTransfers)
{
    cvq9_connected = true;
    for (int page : {PAGE_ASSIGN_STD, PAGE_ASSIGN_USER}) {
        SCOPED_TRACE(page);
        SelectPage(page);
        ExpectTransfers(true, true);
    }
}

TEST_F(PanelButtons, WithoutADeviceNoPageEnablesTheTransfers)
{
    for (int page : {PAGE_GLOBAL, PAGE_REALTIME, PAGE_ASSIGN_STD, PAGE_ASSIGN_USER}) {
        SCOPED_TRACE(page);
        SelectPage(page);
        ExpectTransfers(false, false);
    }
}

TEST_F(PanelButtons, LibraryButtonsFollowTheLibraryFile)
{
    SelectPage(PAGE_ASSIGN_USER);
    ExpectLibrary(false, false);
    default_lib_loaded = true;
    SelectPage(PAGE_ASSIGN_STD);
    ExpectLibrary(false, true);
    EXPECT_FALSE(pParamMenu->IsEnabled(ID_CVQ9_SAVE_ALL_TO_LIB)) << "the default library enables the button only";
    FilePath = L"/tmp/some.cvq";
    SelectPage(PAGE_GLOBAL);
    ExpectLibrary(true, true);
    EXPECT_TRUE(pParamMenu->IsEnabled(ID_CVQ9_LOAD_ALL_FROM_LIB));
    EXPECT_TRUE(pParamMenu->IsEnabled(ID_CVQ9_SAVE_ALL_TO_LIB));
    pui->DisableLibraryButtons();
    ExpectLibrary(false, false);
    EXPECT_FALSE(pParamMenu->IsEnabled(ID_CVQ9_LOAD_ALL_FROM_LIB));
}

TEST_F(PanelButtons, DuringATransferOnlyCancelIsUsable)
{
    ControlIndex = 10;  // a group control: the group selector is usable when idle
    cvq9_connected = true;
    FilePath = L"/tmp/some.cvq";
    SelectPage(PAGE_ASSIGN_STD);
    programming = true;
    pui->ManageButtons();
    EXPECT_TRUE(pui->wxButtonCancel->IsEnabled());
    EXPECT_FALSE(pui->wxButtonCheckAll->IsEnabled());
    EXPECT_FALSE(pui->wxNotebookPages->IsEnabled());
    EXPECT_FALSE(m_pGroupCombo->IsEnabled());
    EXPECT_FALSE(toolBar->IsEnabled());
    for (size_t i = 0; i < m_pMenu->GetMenuCount(); ++i)
        EXPECT_FALSE(m_pMenu->IsEnabledTop(i)) << i;
    ExpectTransfers(false, false);
    ExpectLibrary(false, false);

    programming = false;
    pui->ManageButtons();
    EXPECT_FALSE(pui->wxButtonCancel->IsEnabled());
    EXPECT_TRUE(pui->wxButtonCheckAll->IsEnabled());
    EXPECT_TRUE(pui->wxNotebookPages->IsEnabled());
    EXPECT_TRUE(m_pGroupCombo->IsEnabled());
    EXPECT_TRUE(toolBar->IsEnabled());
    for (size_t i = 0; i < m_pMenu->GetMenuCount(); ++i)
        EXPECT_TRUE(m_pMenu->IsEnabledTop(i)) << i;
    ExpectTransfers(true, true);
    ExpectLibrary(true, true);
}

TEST_F(PanelButtons, CancelAsksTheRunningTransferToStop)
{
    must_finish_midi = false;
    ClickButton(pui->wxButtonCancel);
    EXPECT_TRUE(must_finish_midi);
}

TEST_F(PanelButtons, SaveAndLoadButtonsUseTheCurrentLibraryFile)
{
    const wxString path = HomePath("panel.cvq");
    FilePath = path.ToStdWstring();
    mygroupnames[3] = L"Saved name";
    mycontrol[3][20].ctrl_value_max = 99;
    ClickButton(pui->wxButtonSaveAllToLibraryFile);
    ASSERT_TRUE(FileExists(path)) << dialogs.Describe();
    EXPECT_EQ(ReadFileBytes(path).size(), 63248u);
    EXPECT_TRUE(dialogs.file_dialogs.empty()) << "a known library file is saved without a dialog";

    mygroupnames[3] = L"Changed";
    mycontrol[3][20].ctrl_value_max = 1;
    ClickButton(pui->wxButtonLoadAllFromLib);
    EXPECT_EQ(mycontrol[3][20].ctrl_value_max, 99) << dialogs.Describe();
    EXPECT_EQ(mygroupnames[3].substr(0, 10), L"Saved name");
}
