// Start-up in a fresh home folder and with stored settings, and the settings
// a run writes: in the store at once, in the file after a normal end only.
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/stdpaths.h>
#include <wx/toolbar.h>

#include "gui_fixture.h"
#include "libconv.h"
#include "usercurvesedition.h"

TEST_F(GuiFixture, FirstStartShowsTheEmptyConfigurationAndWaitsForADevice)
{
    ResetConfiguration(1);  // whatever the tables held before start-up goes
    StartApp();
    const TablesSnapshot started;
    ResetConfiguration(0);
    for (Q9Text &name : mygroupnames)
        name = L" ";
    EXPECT_TABLES_EQ(TablesSnapshot(), started);
    EXPECT_EQ(wxTheApp->GetTopWindow(), m_pCVQ9MainFrame);
    EXPECT_FALSE(m_pCVQ9MainFrame->HasFlag(wxRESIZE_BORDER) || m_pCVQ9MainFrame->HasFlag(wxMAXIMIZE_BOX));
    EXPECT_EQ(pui->GetRect(), wxRect(wxPoint(0, pCVQ9View->GetSize().y), pui->GetSize()));
    EXPECT_EQ(pui->GetRect().GetBottom(), m_pCVQ9MainFrame->GetClientSize().y);
    EXPECT_TRUE(m_pGroupCombo->GetCount() == GROUP_NB && m_pGroupCombo->GetSelection() == 1 && CurrentGroup == 1);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>{1});
    EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>{1});
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Ribbon);
    for (wxWindow *w : std::vector<wxWindow *>{toolBar, pui->wxButtonUploadCurrentFromQ9, pui->wxButtonDownloadAllToQ9,
                                               pui->wxButtonLoadAllFromLib, pui->wxButtonSaveAllToLibraryFile,
                                               pui->wxButtonCancel, pcurveDialog})
        EXPECT_FALSE(w->IsEnabled() && w->IsShown()) << w->GetLabel();
    EXPECT_FALSE(cvq9_connected || offline_mode || programming || need_to_save_lib || default_lib_loaded);
    EXPECT_TRUE(FilePath.empty() && fw_version_float == 0.0f);  // the offline versions are selected, not applied
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");
    EXPECT_EQ(MyExecPath + "gui_tests", wxString(wxStandardPaths::Get().GetExecutablePath()));
    EXPECT_EQ(pCVQ9App->help->GetHelpData()->GetBookRecArray().GetCount(),
              wxFileName::FileExists(MyExecPath + "cvq9_cfg_soft_hlp_v14.htb") ? 1u : 0u);
    for (const RecordedMessage &m : dialogs.messages)  // without ports the port selectors say so, nothing else
        EXPECT_EQ(m.caption, "MIDI error") << dialogs.Describe();
    EXPECT_TRUE(log_messages.empty());
    EXPECT_FALSE(wxFileName::FileExists(SettingsFilePath()));
    dialogs.Clear();  // the preset library's messages are boxes; a byte above 127 is a character of its own
    ReportPresetMessage("Library error", "caf\xE9");
    EXPECT_EQ(dialogs.Texts("Library error"), std::vector<wxString>{wxString(L"caf\u00E9")});
}

// What the user sets is in the store at once, in the file after Exit or the
// close box only, and back at the next start.
TEST_F(GuiFixture, SettingsOfARunComeBackAtTheNextStart)
{
    for (bool exit_command : {true, false}) {
        StartApp();
        EXPECT_EQ(CurrentGroup, 1u);
        SelectGroupInCombo(7);
        EXPECT_EQ(CVQ9_SOFT_config->ReadLong("CurrentGroup", -1), 7);
        for (wxCheckBox *box : {pui->CheckboxProgUndef, pui->CheckboxIgnoreLcd, pui->CheckboxIgnoreMIDI})
            Check(box, false);
        Spin(pui->wxSpinCtrlStartGroup, 10);  // a reversed range is kept as it is
        Spin(pui->wxSpinCtrlEndGroup, 5);
        Check(pui->wxCheckBoxOffline, true);
        Choose(pui->wxChoiceFwOffline, "1.2");
        Choose(pui->wxChoiceHwOffline, "1.0");
        for (wxComboBox *ports : {pui->wxComboBoxMidiIn, pui->wxComboBoxMidiOut}) {
            ports->Append("a port");
            Choose(ports, 0);
        }
        EXPECT_FALSE(wxFileName::FileExists(SettingsFilePath()));
        exit_command ? ExitByCommand() : CloseByCloseBox();
        const std::string file = ReadFileText(SettingsFilePath());
        for (const char *line :
             {"CurrentGroup=7", "ProgUndef=0", "IgnoreLcdProg=0", "IgnoreMidiProg=0", "StartGroup=10", "EndGroup=5",
              "Offline_Hw_Version=1.0", "MidiInDev=0", "MidiOutDev=0"})
            EXPECT_NE(file.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << file;
        StartApp();
        EXPECT_EQ(m_pGroupCombo->GetSelection(), 7);
        EXPECT_FALSE(pui->CheckboxProgUndef->GetValue() || pui->CheckboxIgnoreLcd->GetValue() ||
                     pui->CheckboxIgnoreMIDI->GetValue());
        EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue() * 100 + pui->wxSpinCtrlEndGroup->GetValue(), 1005);
        EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.2");
        CloseByCloseBox();
        std::remove(SettingsFilePath().c_str());
    }
}
