// Start-up in a fresh home folder and with stored settings, the settings the
// Preferences tab and the group selector write, and when they reach the file.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "gui_fixture.h"
#include "libconv.h"
#include "record_access.h"
#include "usercurvesedition.h"

namespace {

std::string ProgramPath()
{
    char link[4096] = {};
    return readlink("/proc/self/exe", link, sizeof link - 1) > 0 ? link : "";
}

std::string ProgramFolder()
{
    return ProgramPath().substr(0, ProgramPath().rfind('/') + 1);
}

}  // namespace

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
    EXPECT_EQ(pui->GetPosition(), wxPoint(0, pCVQ9View->GetSize().y));
    EXPECT_EQ(pui->GetRect().GetBottom(), m_pCVQ9MainFrame->GetClientSize().y);
    EXPECT_EQ(m_pGroupCombo->GetCount(), GROUP_NB);
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 1);
    EXPECT_EQ(CurrentGroup, 1u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>{1});
    EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>{1});
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Ribbon);
    EXPECT_FALSE(toolBar->IsEnabled());
    for (wxButton *b : {pui->wxButtonUploadCurrentFromQ9, pui->wxButtonDownloadCurrentToQ9,
                        pui->wxButtonUploadAllFromQ9, pui->wxButtonDownloadAllToQ9, pui->wxButtonLoadAllFromLib,
                        pui->wxButtonSaveAllToLibraryFile, pui->wxButtonCancel})
        EXPECT_FALSE(b->IsEnabled()) << b->GetLabel();
    EXPECT_FALSE(cvq9_connected || offline_mode || programming || need_to_save_lib || default_lib_loaded);
    EXPECT_TRUE(FilePath.empty());
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");  // selected, not applied
    EXPECT_EQ(fw_version_float, 0.0f);
    EXPECT_FALSE(pcurveDialog->IsShown());
    EXPECT_EQ(MyExecPath, wxString(ProgramFolder()));
    const bool book = wxFileName::FileExists(MyExecPath + "cvq9_cfg_soft_hlp_v14.htb");
    EXPECT_EQ(pCVQ9App->help->GetHelpData()->GetBookRecArray().GetCount(), book ? 1u : 0u);
    // Without ports the port selectors say so; nothing else is shown or logged.
    for (const RecordedMessage &m : dialogs.messages)
        EXPECT_EQ(m.caption, "MIDI error") << dialogs.Describe();
    EXPECT_TRUE(log_messages.empty());
    EXPECT_FALSE(wxFileName::FileExists(SettingsFilePath()));
    // The preset library's messages are boxes; bytes above 127 are characters of their own.
    dialogs.Clear();
    ReportPresetMessage("Library error", "caf\xE9");
    EXPECT_EQ(dialogs.Texts("Library error"), std::vector<wxString>{wxString(L"caf\u00E9")}) << dialogs.Describe();
}

// What the user sets is in the store at once, in the file after a normal end
// (Exit or the close box), and back at the next start; a killed program loses it.
TEST_F(GuiFixture, SettingsOfARunComeBackAtTheNextStart)
{
    const int status = RunChildProcess("GuiFixture.DISABLED_ChangeTheSettingsAndGetKilled");
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_FALSE(wxFileName::FileExists(SettingsFilePath()));
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
        EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue(), 10);
        EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 5);
        EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.2");
        CloseByCloseBox();
        std::remove(SettingsFilePath().c_str());
    }
}

// Runs only inside the child of SettingsOfARunComeBackAtTheNextStart.
TEST_F(GuiFixture, DISABLED_ChangeTheSettingsAndGetKilled)
{
    if (!InChildProcess())
        GTEST_SKIP();
    StartApp();
    SelectGroupInCombo(7);
    raise(SIGKILL);
}

TEST_F(GuiFixture, StoredSettingsOutsideTheirRangesGiveTheirDefaults)
{
    const struct {
        const char *file;
        unsigned group, control;
        bool option;  // the lowest bit of ProgUndef
        const char *fw;
        PanelForm form;
    } cases[] = {
        {"CurrentGroup=21\nControlIndex=67\nProgUndef=2\nOffline_Fw_Version=9.9\n", 1, 8, false, "", PanelForm::Ribbon},
        {"CurrentGroup=-4\nControlIndex=-1\nProgUndef=3\nOffline_Fw_Version=\n", 1, 8, true, "1.6", PanelForm::Ribbon},
        {"CurrentGroup=20\nControlIndex=66\nHardwareVersion=Infrared\n", 20, 66, true, "1.6", PanelForm::Infrared},
        {"CurrentGroup=0\nControlIndex=0\nHardwareVersion=Ribbon\n", 0, 0, true, "1.6", PanelForm::Ribbon},
        {"this is not [ a settings file\n\x01\x02=\n", 1, 1, true, "1.6", PanelForm::Ribbon},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(WriteFileText(SettingsFilePath(), c.file));
        StartApp();
        EXPECT_EQ(m_pGroupCombo->GetSelection(), static_cast<int>(c.group));
        EXPECT_EQ(all_selected_ctrl, std::vector<int>{static_cast<int>(c.control)});
        EXPECT_EQ(pui->CheckboxProgUndef->GetValue(), c.option);
        EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), c.fw);
        EXPECT_EQ(pCVQ9View->CurrentPanelForm(), c.form);
        EXPECT_TRUE(log_messages.empty());
        SelectGroupInCombo(12);  // the group selector keeps the control
        EXPECT_EQ(ControlIndex, c.control);
        CloseByCloseBox();
    }
}

// At the end the stores go, the texts are emptied, and the settings file
// holds only the program's keys: the toolkit keeps what it stores (the help
// window's layout) in a configuration of its own.
TEST_F(GuiFixture, ShutdownWritesOnlyTheProgramsKeysAndDropsTheStores)
{
    StartApp();
    mylcdstring[4][10] = L"Cutoff";
    SendCommand(ID_CVQ9_HELP);
    ASSERT_NE(pCVQ9App->help->GetFrame(), nullptr);
    pCVQ9App->help->GetFrame()->Close();  // the help window stores its layout as it closes
    Pump();
    ExitByCommand();
    const std::string settings = ReadFileText(SettingsFilePath());
    for (const char *key : {"wxWindows", "wxHtmlHelpController", "hcW", "hcH"})
        EXPECT_EQ(settings.find(key), std::string::npos) << key << " in\n" << settings;
    EXPECT_TRUE(wxFileName::FileExists(HomePath(".Corvana Q9 Configuration software Help")));
    EXPECT_TRUE(CVQ9_SOFT_config == nullptr && wxConfigBase::Get(false) == nullptr && Libfiledata == nullptr);
    EXPECT_TRUE(mygroupnames[3].empty() && mylcdstring[4][10].empty());
}

// A folder whose name is not ASCII (here not even UTF-8) is read one
// character per byte, and the preset library and help book are found in it.
TEST_F(GuiFixture, TheProgramFindsItsFilesInAFolderWithAnyName)
{
    const std::string built = ProgramFolder(), odd = built + "prog-\xC3\xA9-\xFF/", program = odd + "gui_tests";
    const char *files[] = {"hlvlib.xcq", "cvq9_cfg_soft_hlp_v14.htb"};
    if (!wxFileName::FileExists(built + files[0]) || !wxFileName::FileExists(built + files[1]))
        GTEST_SKIP() << "the preset library and the help book are not built";
    auto clean = [&] {
        for (const std::string &f : {program, odd + files[0], odd + files[1]})
            std::remove(f.c_str());
        rmdir(odd.c_str());
    };
    clean();
    ASSERT_EQ(mkdir(odd.c_str(), 0755), 0);
    if (link(ProgramPath().c_str(), program.c_str()) != 0) {  // a hard link keeps the folder's name
        ASSERT_TRUE(WriteFileBytes(program, ReadFileBytes(ProgramPath())) && chmod(program.c_str(), 0755) == 0);
    }
    for (const char *needed : files)
        ASSERT_TRUE(WriteFileBytes(odd + needed, ReadFileBytes(built + needed)));
    const int status = RunChildProcess("GuiFixture.DISABLED_FindTheFilesBesideTheProgram", program);
    clean();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see the child's output above";
}

TEST_F(GuiFixture, DISABLED_FindTheFilesBesideTheProgram)
{
    if (!InChildProcess())
        GTEST_SKIP();
    StartApp();
    const std::string expected = ProgramFolder();
    ASSERT_EQ(MyExecPath.length(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<unsigned>(MyExecPath[i].GetValue()), static_cast<unsigned char>(expected[i])) << i;
    EXPECT_TRUE(dialogs.Texts("Library error").empty()) << dialogs.Describe();
    EXPECT_EQ(std::string(HlvLib), expected + "hlvlib.xcq");
    EXPECT_EQ(pCVQ9App->help->GetHelpData()->GetBookRecArray().GetCount(), 1u);
}
