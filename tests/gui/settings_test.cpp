// The settings store: keys read at start-up with their defaults and fallbacks,
// values written during the run reaching the file only at a normal shutdown.
#include <signal.h>
#include <sys/wait.h>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/fileconf.h>
#include <wx/html/helpctrl.h>
#include <wx/spinctrl.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"

namespace {

// Changes the preferences as the user does: a click on a check box, a new
// spin value; each handler writes its key at once.
void ClickCheckBox(wxCheckBox *box)
{
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

void SpinTo(wxSpinCtrl *spin, int value)
{
    spin->SetValue(value);
    wxSpinEvent event(wxEVT_SPINCTRL, spin->GetId());
    event.SetEventObject(spin);
    event.SetPosition(value);
    spin->GetEventHandler()->ProcessEvent(event);
}

long StoredLong(const std::string &settings, const std::string &key)
{
    const std::string prefix = key + "=";
    size_t at = 0;
    while ((at = settings.find(prefix, at)) != std::string::npos) {
        if (at == 0 || settings[at - 1] == '\n')
            return std::stol(settings.substr(at + prefix.size()));
        at += prefix.size();
    }
    return -12345;
}

}  // namespace

class SettingsTest : public GuiFixture
{
protected:
    // The changes written at the end of a run.
    void ChangeGroupAndPreferences()
    {
        SelectGroupInCombo(7);
        ClickCheckBox(pui->CheckboxProgUndef);
        ClickCheckBox(pui->CheckboxIgnoreLcd);
        ClickCheckBox(pui->CheckboxIgnoreMIDI);
        SpinTo(pui->wxSpinCtrlStartGroup, 3);
        SpinTo(pui->wxSpinCtrlEndGroup, 9);
    }

    void ExpectChangesRestored()
    {
        EXPECT_EQ(CurrentGroup, 7u);
        EXPECT_EQ(m_pGroupCombo->GetSelection(), 7);
        EXPECT_FALSE(pui->CheckboxProgUndef->GetValue());
        EXPECT_FALSE(pui->CheckboxIgnoreLcd->GetValue());
        EXPECT_FALSE(pui->CheckboxIgnoreMIDI->GetValue());
        EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue(), 3);
        EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 9);
    }
};

TEST_F(SettingsTest, FirstRunWritesNoFileUntilShutdown)
{
    StartApp();
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    ASSERT_NE(CVQ9_SOFT_config, nullptr);
    SelectGroupInCombo(4);
    // The value is in the store at once, on disk only later.
    EXPECT_EQ(CVQ9_SOFT_config->ReadLong("CurrentGroup", -1), 4);
    EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(SettingsTest, ExitWritesTheChangesAndTheNextStartReadsThem)
{
    StartApp();
    ChangeGroupAndPreferences();
    ExitByCommand();
    const std::string settings = ReadSettingsFile();
    EXPECT_EQ(StoredLong(settings, "CurrentGroup"), 7) << settings;
    EXPECT_EQ(StoredLong(settings, "ProgUndef"), 0) << settings;
    EXPECT_EQ(StoredLong(settings, "IgnoreLcdProg"), 0) << settings;
    EXPECT_EQ(StoredLong(settings, "IgnoreMidiProg"), 0) << settings;
    EXPECT_EQ(StoredLong(settings, "StartGroup"), 3) << settings;
    EXPECT_EQ(StoredLong(settings, "EndGroup"), 9) << settings;

    StartApp();
    ExpectChangesRestored();
}

TEST_F(SettingsTest, CloseBoxWritesTheChangesToo)
{
    StartApp();
    ChangeGroupAndPreferences();
    CloseByCloseBox();
    EXPECT_EQ(StoredLong(ReadSettingsFile(), "CurrentGroup"), 7);
    StartApp();
    ExpectChangesRestored();
}

// Runs only inside the child of KilledProgramLosesItsChanges.
TEST_F(SettingsTest, DISABLED_ChildChangesSettingsAndIsKilled)
{
    if (!InChildProcess())
        GTEST_SKIP();
    StartApp();
    ChangeGroupAndPreferences();
    raise(SIGKILL);
}

TEST_F(SettingsTest, KilledProgramLosesItsChanges)
{
    const int status = RunChildProcess("SettingsTest.DISABLED_ChildChangesSettingsAndIsKilled");
    ASSERT_TRUE(WIFSIGNALED(status)) << "child status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    StartApp();
    EXPECT_EQ(CurrentGroup, 1u);
    EXPECT_TRUE(pui->CheckboxProgUndef->GetValue());
    EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 1);
}

TEST_F(SettingsTest, StoredControlIndexOutsideTheRosterSelectsControlEight)
{
    for (const char *stored : {"67", "200", "-1"}) {
        SCOPED_TRACE(stored);
        WriteSettingsFile(std::string("ControlIndex=") + stored + "\n");
        StartApp();
        EXPECT_EQ(ControlIndex, 8u);
        EXPECT_EQ(all_selected_ctrl, std::vector<int>{8});
        CloseByCloseBox();
    }
}

TEST_F(SettingsTest, StoredControlIndexInsideTheRosterStays)
{
    for (int stored : {0, 12, 66}) {
        SCOPED_TRACE(stored);
        WriteSettingsFile("ControlIndex=" + std::to_string(stored) + "\n");
        StartApp();
        EXPECT_EQ(ControlIndex, unsigned(stored));
        EXPECT_EQ(all_selected_ctrl, std::vector<int>{stored});
        CloseByCloseBox();
    }
}

TEST_F(SettingsTest, StoredGroupOutsideZeroToTwentyBecomesGroupOne)
{
    for (const char *stored : {"21", "-4", "300"}) {
        SCOPED_TRACE(stored);
        WriteSettingsFile(std::string("CurrentGroup=") + stored + "\n");
        StartApp();
        EXPECT_EQ(CurrentGroup, 1u);
        EXPECT_EQ(m_pGroupCombo->GetSelection(), 1);
        CloseByCloseBox();
    }
    WriteSettingsFile("CurrentGroup=20\n");
    StartApp();
    EXPECT_EQ(CurrentGroup, 20u);
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 20);
}

TEST_F(SettingsTest, StoredOptionsUseTheirLowestBit)
{
    WriteSettingsFile("ProgUndef=2\nIgnoreLcdProg=3\nIgnoreMidiProg=0\nStartGroup=0\nEndGroup=20\n");
    StartApp();
    EXPECT_FALSE(pui->CheckboxProgUndef->GetValue());
    EXPECT_TRUE(pui->CheckboxIgnoreLcd->GetValue());
    EXPECT_FALSE(pui->CheckboxIgnoreMIDI->GetValue());
    EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue(), 0);
    EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 20);
}

TEST_F(SettingsTest, StoredOfflineVersionsSelectTheirEntries)
{
    WriteSettingsFile("Offline_Fw_Version=1.2\nOffline_Hw_Version=1.1\n");
    StartApp();
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.2");
    EXPECT_EQ(pui->wxChoiceHwOffline->GetStringSelection(), "1.1");
    EXPECT_EQ(fw_version_float, 0.0f);
}

TEST_F(SettingsTest, UnknownOfflineVersionLeavesNoEntrySelected)
{
    WriteSettingsFile("Offline_Fw_Version=9.9\nOffline_Hw_Version=x\n");
    StartApp();
    EXPECT_EQ(pui->wxChoiceFwOffline->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(pui->wxChoiceHwOffline->GetSelection(), wxNOT_FOUND);
}

TEST_F(SettingsTest, EmptyOfflineVersionBehavesLikeAnAbsentKey)
{
    WriteSettingsFile("Offline_Fw_Version=\nOffline_Hw_Version=\n");
    StartApp();
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");
    EXPECT_EQ(pui->wxChoiceHwOffline->GetStringSelection(), "2.0");
}

TEST_F(SettingsTest, UnreadableSettingsFileGivesTheDefaultsSilently)
{
    WriteSettingsFile("this is not [ a settings file\n\x01\x02=\n");
    StartApp();
    EXPECT_EQ(CurrentGroup, 1u);
    EXPECT_EQ(ControlIndex, 1u);
    for (const RecordedMessage &m : dialogs.messages)
        EXPECT_EQ(m.caption, "MIDI error") << dialogs.Describe();
    Pump();
    EXPECT_TRUE(log_messages.empty());
}

TEST_F(SettingsTest, GroupSelectorKeepsTheSelectedControl)
{
    WriteSettingsFile("ControlIndex=20\n");
    StartApp();
    SelectGroupInCombo(12);
    EXPECT_EQ(CurrentGroup, 12u);
    EXPECT_EQ(ControlIndex, 20u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>{20});
}

TEST_F(SettingsTest, ShutdownClearsTheTextsAndDropsTheStore)
{
    StartApp();
    mygroupnames[3] = L"Drums";
    mylcdstring[4][10] = L"Cutoff";
    ExitByCommand();
    EXPECT_EQ(CVQ9_SOFT_config, nullptr);
    EXPECT_EQ(wxConfigBase::Get(false), nullptr);  // the toolkit's own, deleted too
    EXPECT_TRUE(mygroupnames[3].empty());
    EXPECT_TRUE(mylcdstring[4][10].empty());
}

// The toolkit keeps what it stores (the help window's layout) in a
// configuration of its own, under the vendor and help names.
TEST_F(SettingsTest, TheSettingsFileHoldsOnlyTheProgramsKeys)
{
    StartApp();
    SendCommand(ID_CVQ9_HELP);
    ASSERT_NE(pCVQ9App->help->GetFrame(), nullptr);
    pCVQ9App->help->GetFrame()->Close();  // the help window stores its layout as it closes
    Pump();
    ExitByCommand();
    const std::string settings = ReadSettingsFile();
    for (const char *key : {"wxWindows", "wxHtmlHelpController", "hcW", "hcH"})
        EXPECT_EQ(settings.find(key), std::string::npos) << key << " in\n" << settings;
    EXPECT_TRUE(FileExists(HomePath(wxT(".Corvana Q9 Configuration software Help"))));
}

TEST_F(SettingsTest, StoredInfraredHardwareSelectsTheOlderPanel)
{
    WriteSettingsFile("HardwareVersion=Infrared\n");
    StartApp();
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Infrared);
    CloseByCloseBox();
    WriteSettingsFile("HardwareVersion=Ribbon\n");
    StartApp();
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Ribbon);
}
