// Start-up: the windows, menus, toolbar and group selector it builds, the
// empty configuration, and the state before any connection.
#include <unistd.h>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/html/helpctrl.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "libconv.h"
#include "record_access.h"
#include "usercurvesedition.h"

namespace {

struct ItemSpec {
    int id;
    const char *label;
    const char *help;
    bool enabled;
};

void ExpectMenu(wxMenu *menu, const std::vector<ItemSpec> &items)
{
    ASSERT_NE(menu, nullptr);
    const wxMenuItemList &list = menu->GetMenuItems();
    ASSERT_EQ(list.GetCount(), items.size());
    size_t i = 0;
    for (wxMenuItemList::const_iterator it = list.begin(); it != list.end(); ++it, ++i) {
        const wxMenuItem *item = *it;
        const ItemSpec &wanted = items[i];
        SCOPED_TRACE(testing::Message() << "menu entry " << i);
        if (wanted.id == 0) {
            EXPECT_TRUE(item->IsSeparator());
            continue;
        }
        EXPECT_EQ(item->GetId(), wanted.id);
        EXPECT_EQ(item->GetItemLabel(), wxString::FromAscii(wanted.label));
        EXPECT_EQ(item->GetHelp(), wxString::FromAscii(wanted.help));
        EXPECT_EQ(item->GetKind(), wxITEM_NORMAL);
        EXPECT_EQ(item->IsEnabled(), wanted.enabled) << wanted.label;
    }
}

}  // namespace

TEST_F(GuiFixture, StartupBuildsTheFixedSizeMainFrame)
{
    StartApp();
    ASSERT_NE(m_pCVQ9MainFrame, nullptr);
    EXPECT_EQ(m_pCVQ9MainFrame->GetTitle(), wxString("Halvorn CVQ9 Configuration software"));
    EXPECT_TRUE(m_pCVQ9MainFrame->IsShown());
    EXPECT_EQ(wxTheApp->GetTopWindow(), m_pCVQ9MainFrame);
    // Both metrics are unavailable on this toolkit: 794 wide.
    EXPECT_EQ(m_pCVQ9MainFrame->GetSize(), wxSize(794, 770));
    const long style = m_pCVQ9MainFrame->GetWindowStyleFlag();
    EXPECT_FALSE(style & wxRESIZE_BORDER);
    EXPECT_FALSE(style & wxMAXIMIZE_BOX);
    EXPECT_TRUE(style & wxCAPTION);
    EXPECT_TRUE(style & wxSYSTEM_MENU);
    EXPECT_TRUE(style & wxMINIMIZE_BOX);
    EXPECT_TRUE(style & wxCLOSE_BOX);
    EXPECT_TRUE(style & wxCLIP_CHILDREN);
    EXPECT_TRUE(m_pCVQ9MainFrame->GetAutoLayout());
    EXPECT_TRUE(m_pCVQ9MainFrame->GetIcon().IsOk());
    EXPECT_EQ(m_pCVQ9MainFrame->GetStatusBar(), nullptr);
    EXPECT_EQ(pCVQ9App, wxTheApp);
}

TEST_F(GuiFixture, StartupPlacesThePanelBelowTheView)
{
    StartApp();
    ASSERT_NE(pCVQ9View, nullptr);
    ASSERT_NE(pui, nullptr);
    EXPECT_EQ(pCVQ9View->GetParent(), m_pCVQ9MainFrame);
    EXPECT_EQ(pui->GetParent(), m_pCVQ9MainFrame);
    EXPECT_EQ(pui->GetId(), 10000);
    EXPECT_EQ(pCVQ9View->GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(pCVQ9View->GetSize(), wxSize(800, 338));
    EXPECT_TRUE(pCVQ9View->IsShown());
    const wxSize client = m_pCVQ9MainFrame->GetClientSize();
    EXPECT_EQ(pui->GetPosition(), wxPoint(0, 338));
    EXPECT_EQ(pui->GetSize(), wxSize(801, client.GetHeight() - 338 + 1));
}

TEST_F(GuiFixture, StartupBuildsTheFourMenus)
{
    StartApp();
    ASSERT_NE(m_pMenu, nullptr);
    EXPECT_EQ(m_pCVQ9MainFrame->GetMenuBar(), m_pMenu);
    ASSERT_EQ(m_pMenu->GetMenuCount(), 4u);
    EXPECT_EQ(m_pMenu->GetMenuLabel(0), "&Library file");
    EXPECT_EQ(m_pMenu->GetMenuLabel(1), "&Control");
    EXPECT_EQ(m_pMenu->GetMenuLabel(2), "&Group");
    EXPECT_EQ(m_pMenu->GetMenuLabel(3), "&Help");
    EXPECT_EQ(m_pMenu->GetMenu(0), pFileMenu);
    EXPECT_EQ(m_pMenu->GetMenu(1), pParamMenu);
    EXPECT_EQ(m_pMenu->GetMenu(2), pGroupMenu);

    ExpectMenu(pFileMenu, {
                              {5002, "&New ...", "New ...", false},
                              {5000, "&Open ...", "Open ...", false},
                              {5003, "&Save", "Save", false},
                              {5004, "&Save as ...", "Save as ...", false},
                              {0, nullptr, nullptr, false},
                              {104, "&Load default", "Load default", false},
                              {103, "&Import Corvana Pro lib ...", "Import Corvana Pro lib ...", false},
                              {107, "&Export to text file", "Export to text file", false},
                              {0, nullptr, nullptr, false},
                              {100, "E&xit", "Exit", true},
                          });
    ExpectMenu(pParamMenu, {
                               {1000, "&Copy", "Copy", false},
                               {1001, "&Paste", "Paste", false},
                               {1002, "&Clear", "Clear", false},
                               {0, nullptr, nullptr, false},
                               {10044, "&Upload Current control from CVQ9", "Upload Current control from CVQ9", false},
                               {10045, "&Upload All controls from CVQ9", "Upload All controls from CVQ9", false},
                               {10046, "&Download Current control to CVQ9", "Download Current control to CVQ9", false},
                               {10047, "&Download All controls to CVQ9", "Download All controls to CVQ9", false},
                               {0, nullptr, nullptr, false},
                               {10049, "&Load All from library", "Load All from library", false},
                               {10051, "&Save All to library", "Save All to library", false},
                               {0, nullptr, nullptr, false},
                               {10052, "&Check Current", "Check Current", false},
                               {10053, "&Check All", "Check All", false},
                           });
    ExpectMenu(pGroupMenu, {
                               {1003, "&Copy", "Copy", false},
                               {1004, "&Paste", "Paste", false},
                               {1005, "&Clear", "Clear", false},
                           });
    ExpectMenu(m_pMenu->GetMenu(3), {
                                        {5009, "&Help", "Help", true},
                                        {0, nullptr, nullptr, false},
                                        {101, "&About", "About", true},
                                    });
}

TEST_F(GuiFixture, StartupBuildsTheToolbarDisabled)
{
    StartApp();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(m_pCVQ9MainFrame->GetToolBar(), toolBar);
    EXPECT_EQ(toolBar->GetId(), 102);
    EXPECT_FALSE(toolBar->HasFlag(wxTB_VERTICAL));
    EXPECT_FALSE(toolBar->IsEnabled());

    struct ToolSpec {
        int id;  // 0: separator, -1: the label, -2: the group selector
        const char *label;
        const char *tooltip;
    };
    const std::vector<ToolSpec> expected = {
        {0, "", ""},
        {5002, "New ...", "New library ..."},
        {5000, "Open ...", "Open library ..."},
        {5003, "Save ...", "Save library ..."},
        {103, "Import Corvana Pro lib ...", "Import Corvana Pro library ..."},
        {107, "Export to text file", "Export all assignments to text file"},
        {0, "", ""},
        {0, "", ""},
        {5009, "Help", "Help"},
        {0, "", ""},
        {0, "", ""},
        {1000, "Copy", "Copy current control"},
        {1001, "Paste", "Paste current control"},
        {1002, "Clear", "Clear current control"},
        {0, "", ""},
        {0, "", ""},
        {0, "", ""},
        {-1, "", ""},
        {-2, "", ""},
        {0, "", ""},
        {0, "", ""},
        {1003, "Copy", "Copy current group"},
        {1004, "Paste", "Paste current group"},
        {1005, "Clear", "Clear current group"},
    };
    ASSERT_EQ(toolBar->GetToolsCount(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tool position " << i);
        const wxToolBarToolBase *tool = toolBar->GetToolByPos(static_cast<int>(i));
        ASSERT_NE(tool, nullptr);
        const ToolSpec &wanted = expected[i];
        if (wanted.id == 0) {
            EXPECT_TRUE(tool->IsSeparator());
        } else if (wanted.id == -1) {
            ASSERT_TRUE(tool->IsControl());
            auto *label = dynamic_cast<wxStaticText *>(tool->GetControl());
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->GetLabel(), "Group : ");
        } else if (wanted.id == -2) {
            ASSERT_TRUE(tool->IsControl());
            EXPECT_EQ(tool->GetControl(), m_pGroupCombo);
        } else {
            EXPECT_TRUE(tool->IsButton());
            EXPECT_EQ(tool->GetId(), wanted.id);
            EXPECT_EQ(tool->GetKind(), wxITEM_NORMAL);
            EXPECT_EQ(tool->GetLabel(), wxString::FromAscii(wanted.label));
            EXPECT_EQ(tool->GetShortHelp(), wxString::FromAscii(wanted.tooltip));
            EXPECT_TRUE(tool->GetNormalBitmap().IsOk());
            EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(16, 15));
            // Paste and Paste group wait for a copy; everything else follows the toolbar.
            EXPECT_EQ(tool->IsEnabled(), wanted.id != 1001 && wanted.id != 1004);
        }
    }
}

TEST_F(GuiFixture, StartupFillsTheGroupSelector)
{
    StartApp();
    ASSERT_NE(m_pGroupCombo, nullptr);
    EXPECT_EQ(m_pGroupCombo->GetId(), 106);
    EXPECT_TRUE(m_pGroupCombo->HasFlag(wxCB_READONLY));
    // Wide enough for the toolkit to show "20" beside the arrow, and no wider.
    EXPECT_GE(m_pGroupCombo->GetSize().GetWidth(), 70);
    EXPECT_LE(m_pGroupCombo->GetSize().GetWidth(), 80);
    ASSERT_EQ(m_pGroupCombo->GetCount(), 21u);
    for (unsigned g = 0; g < 21; ++g) {
        EXPECT_EQ(m_pGroupCombo->GetString(g), wxString::Format("%u", g));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(m_pGroupCombo->GetClientData(g)), g);
    }
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 1);
}

TEST_F(GuiFixture, FirstRunSelectsGroupOneAndThePlayButton)
{
    StartApp();
    EXPECT_EQ(CurrentGroup, 1u);
    EXPECT_EQ(ControlIndex, 1u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>{1});
    EXPECT_GE(all_selected_ctrl.capacity(), 67u);
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 1);
}

TEST_F(GuiFixture, FirstRunPreferences)
{
    StartApp();
    EXPECT_TRUE(pui->CheckboxProgUndef->GetValue());
    EXPECT_TRUE(pui->CheckboxIgnoreLcd->GetValue());
    EXPECT_TRUE(pui->CheckboxIgnoreMIDI->GetValue());
    EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue(), 1);
    EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 1);
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");
    EXPECT_EQ(pui->wxChoiceHwOffline->GetStringSelection(), "2.0");
    // Selecting the choices does not apply them: the versions stay unknown.
    EXPECT_EQ(fw_version_float, 0.0f);
    EXPECT_EQ(hw_version_float, 0.0f);
    EXPECT_FALSE(pui->wxCheckBoxOffline->GetValue());
}

TEST_F(GuiFixture, FirstRunStateBeforeAnyConnection)
{
    StartApp();
    EXPECT_FALSE(programming);
    EXPECT_FALSE(cvq9_connected);
    EXPECT_FALSE(offline_mode);
    EXPECT_FALSE(default_lib_loaded);
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_TRUE(FilePath.empty());
    EXPECT_FALSE(pui->wxButtonUploadCurrentFromQ9->IsEnabled());
    EXPECT_FALSE(pui->wxButtonDownloadCurrentToQ9->IsEnabled());
    EXPECT_FALSE(pui->wxButtonUploadAllFromQ9->IsEnabled());
    EXPECT_FALSE(pui->wxButtonDownloadAllToQ9->IsEnabled());
    EXPECT_FALSE(pui->wxButtonLoadAllFromLib->IsEnabled());
    EXPECT_FALSE(pui->wxButtonSaveAllToLibraryFile->IsEnabled());
    EXPECT_FALSE(pui->wxButtonCancel->IsEnabled());
}

TEST_F(GuiFixture, StartupResetsToTheEmptyConfiguration)
{
    // Whatever the tables held before start-up is gone.
    ResetConfiguration(1);
    StartApp();
    const TablesSnapshot started;
    ResetConfiguration(0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        mygroupnames[g] = L" ";
    EXPECT_TABLES_EQ(TablesSnapshot(), started);
}

TEST_F(GuiFixture, StartupPreparesHelpAndTheHiddenCurveDialog)
{
    StartApp();
    ASSERT_NE(pCVQ9App->help, nullptr);
    ASSERT_NE(pcurveDialog, nullptr);
    EXPECT_FALSE(pcurveDialog->IsShown());
    EXPECT_EQ(pcurveDialog->GetId(), 10095);
    EXPECT_EQ(pcurveDialog->GetParent(), m_pCVQ9MainFrame);
    EXPECT_EQ(pcurveDialog->GetTitle(), "User Curves edition");
    EXPECT_EQ(pcurveDialog->GetSize(), wxSize(450, 410));
    EXPECT_TRUE(pcurveDialog->HasFlag(wxRESIZE_BORDER));
    EXPECT_TRUE(pcurveDialog->HasFlag(wxCLOSE_BOX));
    EXPECT_EQ(wxTheApp->GetVendorName(), "Halvorn");
    EXPECT_EQ(wxTheApp->GetAppName(), "Corvana Q9 Configuration software Help");
}

TEST_F(GuiFixture, StartupShowsNoMessageButThoseAboutMissingPorts)
{
    StartApp();
    for (const RecordedMessage &m : dialogs.messages)
        EXPECT_EQ(m.caption, "MIDI error") << dialogs.Describe();
    EXPECT_TRUE(dialogs.file_dialogs.empty());
    EXPECT_TRUE(dialogs.other_dialogs.empty());
    EXPECT_TRUE(log_messages.empty());
}

TEST_F(GuiFixture, ProgramDirectoryIsTheFolderOfTheBinary)
{
    StartApp();
    char link[2048] = {0};
    ASSERT_GT(readlink("/proc/self/exe", link, sizeof link - 1), 0);
    std::string dir(link);
    dir.erase(dir.rfind('/') + 1);
    EXPECT_EQ(MyExecPath, wxString(dir));
}

TEST_F(GuiFixture, FirstRunDrawsTheNewerPanelAndThePlayButton)
{
    StartApp();
    // "HardwareVersion" reads "0": the ribbon panel.
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Ribbon);
    ASSERT_EQ(pCVQ9View->arrSelectedItems.GetCount(), 1u);
    EXPECT_EQ(pCVQ9View->arrSelectedItems.GetFirst()->GetData(), &pCVQ9View->all[1]);
}

TEST_F(GuiFixture, HelpBookBesideTheProgramIsLoaded)
{
    StartApp();
    ASSERT_NE(pCVQ9App->help, nullptr);
    const bool book_there = FileExists(MyExecPath + "cvq9_cfg_soft_hlp_v14.htb");
    EXPECT_EQ(pCVQ9App->help->GetHelpData()->GetBookRecArray().GetCount(), book_there ? 1u : 0u);
    EXPECT_TRUE(log_messages.empty());
}

TEST_F(GuiFixture, PresetLibraryMessagesAppearAsMessageBoxes)
{
    StartApp();
    dialogs.Clear();
    ReportPresetMessage("Error while opening presets", "Preset not found");
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(dialogs.messages[0].caption, "Error while opening presets");
    EXPECT_EQ(dialogs.messages[0].text, "Preset not found");
    EXPECT_TRUE(dialogs.messages[0].style & wxOK);
    // Bytes above 127 are characters of their own.
    ReportPresetMessage("Library error", "caf\xE9");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, wxString(L"caf\u00E9"));
}
