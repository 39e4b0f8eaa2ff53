// The Preferences tab: transfer options and group range written to the
// settings at once, offline mode with its chosen versions, and the gating of
// menus, toolbar and version-dependent widgets by connection and versions.
#include <portmidi.h>

#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "exchange.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "settings.h"

class PanelPreferences : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }

    void GoOffline(const char *firmware, const char *hardware)
    {
        ClickCheck(pui->wxCheckBoxOffline, true);
        SelectChoice(pui->wxChoiceFwOffline, firmware);
        SelectChoice(pui->wxChoiceHwOffline, hardware);
    }

    static wxString Setting(const wxString &key) { return CVQ9_SOFT_config->Read(key, wxT("<absent>")); }
};

// ---- Transfer options and group range

TEST_F(PanelPreferences, OptionBoxesWriteTheirStateAtOnce)
{
    ClickCheck(pui->CheckboxIgnoreMIDI, false);
    ClickCheck(pui->CheckboxIgnoreLcd, true);
    ClickCheck(pui->CheckboxProgUndef, false);
    EXPECT_EQ(Setting("IgnoreMidiProg"), "0");
    EXPECT_EQ(Setting("IgnoreLcdProg"), "1");
    EXPECT_EQ(Setting("ProgUndef"), "0");
    ClickCheck(pui->CheckboxIgnoreMIDI, true);
    EXPECT_EQ(Setting("IgnoreMidiProg"), "1");
}

TEST_F(PanelPreferences, GroupRangeIsWrittenAtOnceAndNotCheckedAgainstItself)
{
    SpinTo(pui->wxSpinCtrlStartGroup, 10);
    SpinTo(pui->wxSpinCtrlEndGroup, 5);
    EXPECT_EQ(Setting("StartGroup"), "10");
    EXPECT_EQ(Setting("EndGroup"), "5");
    EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue(), 10);
    EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetValue(), 5);
}

TEST_F(PanelPreferences, SettingsReachTheFileAtExit)
{
    SpinTo(pui->wxSpinCtrlEndGroup, 5);
    ClickCheck(pui->CheckboxProgUndef, false);
    ExitByCommand();
    const std::string file = ReadSettingsFile();
    EXPECT_NE(file.find("EndGroup=5"), std::string::npos) << file;
    EXPECT_NE(file.find("ProgUndef=0"), std::string::npos) << file;
}

// ---- MIDI port selectors

TEST_F(PanelPreferences, SelectorsListThePortsAndReportAMissingDirection)
{
    // Start-up listed the ports; compare with what PortMidi reports here.
    int inputs = 0;
    int outputs = 0;
    for (int d = 0; d < Pm_CountDevices(); ++d) {
        const PmDeviceInfo *info = Pm_GetDeviceInfo(d);
        if (info && info->input)
            ++inputs;
        else if (info && info->output)
            ++outputs;
    }
    EXPECT_EQ(static_cast<int>(pui->wxComboBoxMidiIn->GetCount()), std::min(inputs, MIDI_DEVICE_TABLE_SIZE));
    EXPECT_EQ(static_cast<int>(pui->wxComboBoxMidiOut->GetCount()), std::min(outputs, MIDI_DEVICE_TABLE_SIZE));

    // Once more, as a fresh start-up lists them.
    pui->EnumerateMidiDevices();
    std::vector<wxString> expected;
    if (inputs == 0)
        expected.push_back("No MIDI In device detected");
    if (outputs == 0)
        expected.push_back("No MIDI Out device detected");
    const std::vector<RecordedMessage> shown = dialogs.WithCaption("MIDI error");
    ASSERT_EQ(shown.size(), expected.size()) << dialogs.Describe();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(shown[i].text, expected[i]);
}

TEST_F(PanelPreferences, ChoosingAPortWritesItsPosition)
{
    pui->wxComboBoxMidiIn->Append("first");
    pui->wxComboBoxMidiIn->Append("second");
    SelectCombo(pui->wxComboBoxMidiIn, static_cast<int>(pui->wxComboBoxMidiIn->GetCount()) - 1);
    EXPECT_EQ(CVQ9_SOFT_config->ReadLong("MidiInDev", -5), static_cast<long>(pui->wxComboBoxMidiIn->GetCount()) - 1);
    pui->wxComboBoxMidiOut->Append("only");
    SelectCombo(pui->wxComboBoxMidiOut, 0);
    EXPECT_EQ(CVQ9_SOFT_config->ReadLong("MidiOutDev", -5), 0);
}

// ---- Offline mode

TEST_F(PanelPreferences, OfflineModeTakesTheChosenVersions)
{
    cvq9_connected = true;
    ClickCheck(pui->wxCheckBoxOffline, true);
    EXPECT_TRUE(offline_mode);
    EXPECT_FALSE(cvq9_connected);
    EXPECT_TRUE(pui->wxChoiceFwOffline->IsEnabled());
    EXPECT_TRUE(pui->wxChoiceHwOffline->IsEnabled());
    EXPECT_FALSE(pui->wxButtonGetIdentity->IsEnabled());
    // Start-up selected the defaults 1.6 and 2.0.
    EXPECT_EQ(fw_version_float, 1.6f);
    EXPECT_EQ(hw_version_float, 2.0f);
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwVersion->GetLabel(), "1.6");
    EXPECT_EQ(pui->TEXTCTRL_CurrentHwVersion->GetLabel(), "2.0");
    EXPECT_EQ(serial_nb[0], 1);
    EXPECT_EQ(serial_nb[1], 6);
    EXPECT_EQ(serial_nb[2], 2);
    EXPECT_EQ(serial_nb[3], 0);
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwYear->GetLabel(), "-");
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwMonth->GetLabel(), "-");
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwSerial->GetLabel(), "-");
}

TEST_F(PanelPreferences, LeavingOfflineModeKeepsTheVersionsButDisablesTheCommands)
{
    GoOffline("1.4", "1.1");
    ClickCheck(pui->wxCheckBoxOffline, false);
    EXPECT_FALSE(offline_mode);
    EXPECT_FALSE(cvq9_connected);
    EXPECT_FALSE(pui->wxChoiceFwOffline->IsEnabled());
    EXPECT_FALSE(pui->wxChoiceHwOffline->IsEnabled());
    EXPECT_TRUE(pui->wxButtonGetIdentity->IsEnabled());
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwVersion->GetLabel(), "-");
    EXPECT_EQ(pui->TEXTCTRL_CurrentHwVersion->GetLabel(), "-");
    EXPECT_EQ(fw_version_float, 1.4f);
    EXPECT_EQ(hw_version_float, 1.1f);
    for (int id : {ID_CVQ9_NEW, ID_CVQ9_OPEN, ID_CVQ9_SAVE, ID_CVQ9_SAVEAS, ID_CVQ9_LOAD_DEFAULT, ID_CVQ9_IMPORT,
                   ID_CVQ9_EXPORT_TEXT})
        EXPECT_FALSE(pFileMenu->IsEnabled(id)) << id;
    EXPECT_FALSE(toolBar->IsEnabled());
    EXPECT_FALSE(pui->wxChoiceOperatingMode->IsEnabled());
}

TEST_F(PanelPreferences, ChoosingAVersionWritesItsText)
{
    GoOffline("1.2", "1.0");
    EXPECT_EQ(Setting("Offline_Fw_Version"), "1.2");
    EXPECT_EQ(Setting("Offline_Hw_Version"), "1.0");
    EXPECT_EQ(fw_version_float, 1.2f);
    EXPECT_EQ(hw_version_float, 1.0f);
    EXPECT_EQ(serial_nb[0], 1);
    EXPECT_EQ(serial_nb[1], 2);
    EXPECT_EQ(serial_nb[2], 1);
    EXPECT_EQ(serial_nb[3], 0);
}

TEST_F(PanelPreferences, HardwareTwoPointZero)
{
    GoOffline("1.6", "1.1");
    SelectChoice(pui->wxChoiceHwOffline, "2.0");
    EXPECT_EQ(hw_version_float, 2.0f);
    EXPECT_EQ(serial_nb[2], 2);
    EXPECT_EQ(serial_nb[3], 0);
    EXPECT_EQ(pui->TEXTCTRL_CurrentHwVersion->GetLabel(), "2.0");
    EXPECT_EQ(pui->CheckboxInfraredState->GetLabel(), "Enable Ribbon controller");
}

TEST_F(PanelPreferences, HardwareDecidesTheInfraredLabel)
{
    GoOffline("1.6", "1.1");
    EXPECT_EQ(pui->CheckboxInfraredState->GetLabel(), "Enable Infrared controller");
    SelectChoice(pui->wxChoiceHwOffline, "1.2");
    EXPECT_EQ(pui->CheckboxInfraredState->GetLabel(), "Enable Ribbon controller");
    SelectChoice(pui->wxChoiceHwOffline, "1.0");
    EXPECT_EQ(pui->CheckboxInfraredState->GetLabel(), "Enable Infrared controller");
}

// ---- Firmware gating

TEST_F(PanelPreferences, Firmware10)
{
    ControlIndex = 1;  // a transport button: the nibble box follows the firmware rule
    GoOffline("1.0", "2.0");
    EXPECT_EQ(ChoiceItems(pui->wxChoiceOperatingMode), std::vector<std::string>({"Standard", "User"}));
    EXPECT_TRUE(pui->wxChoiceOperatingMode->IsEnabled());
    EXPECT_FALSE(pui->CheckboxShiftLockMidi->IsEnabled());
    EXPECT_FALSE(pui->CheckboxShiftLockChannel->IsEnabled());
    EXPECT_FALSE(pui->wxCheckBoxNibbleCtrl->IsEnabled());
    EXPECT_FALSE(pui->wxRadioBoxShiftMode->IsEnabled());
    EXPECT_FALSE(pui->wxCheckBoxMackieFadFbkEn->IsEnabled());
    EXPECT_FALSE(pui->wxCheckBoxTempoMode->IsEnabled());
}

TEST_F(PanelPreferences, Firmware14)
{
    GoOffline("1.4", "2.0");
    EXPECT_EQ(ChoiceItems(pui->wxChoiceOperatingMode), std::vector<std::string>({"Standard", "Reason 3", "User"}));
    EXPECT_TRUE(pui->CheckboxShiftLockMidi->IsEnabled());
    EXPECT_TRUE(pui->CheckboxShiftLockChannel->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxNibbleCtrl->IsEnabled());
    EXPECT_FALSE(pui->wxRadioBoxShiftMode->IsEnabled());
    EXPECT_FALSE(pui->wxCheckBoxMackieFadFbkEn->IsEnabled());
    EXPECT_FALSE(pui->wxCheckBoxTempoMode->IsEnabled());
}

TEST_F(PanelPreferences, Firmware15OffersFourModesSelectedFromByte5)
{
    common_params[5] = 0x10;  // bits 3-4: mode 2
    common_params[33] = 4;
    GoOffline("1.5", "2.0");
    EXPECT_EQ(ChoiceItems(pui->wxChoiceOperatingMode),
              std::vector<std::string>({"Standard", "Reason 3", "Mackie", "User"}));
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetSelection(), 2);
    EXPECT_FALSE(pui->wxRadioBoxShiftMode->IsEnabled());
}

TEST_F(PanelPreferences, Firmware16OffersFiveModesSelectedFromByte33)
{
    common_params[5] = 0x08;
    common_params[33] = 4;
    GoOffline("1.6", "2.0");
    EXPECT_EQ(ChoiceItems(pui->wxChoiceOperatingMode),
              std::vector<std::string>({"Standard", "Reason 3", "Mackie", "User", "Logic"}));
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "Logic");
    EXPECT_TRUE(pui->wxRadioBoxShiftMode->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxMackieFadFbkEn->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxTempoMode->IsEnabled());
    EXPECT_TRUE(pui->CheckboxShiftLockMidi->IsEnabled());
}

TEST_F(PanelPreferences, LowerFirmwareDisablesWhatAHigherOneEnabled)
{
    GoOffline("1.6", "2.0");
    SelectChoice(pui->wxChoiceFwOffline, "1.0");
    EXPECT_FALSE(pui->wxRadioBoxShiftMode->IsEnabled());
    EXPECT_FALSE(pui->CheckboxShiftLockMidi->IsEnabled());
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetCount(), 2u);
    EXPECT_EQ(Setting("Offline_Fw_Version"), "1.0");
}

TEST_F(PanelPreferences, ActiveGatingEnablesTheFileAndClipboardCommands)
{
    GoOffline("1.6", "2.0");
    for (int id : {ID_CVQ9_NEW, ID_CVQ9_OPEN, ID_CVQ9_LOAD_DEFAULT, ID_CVQ9_IMPORT})
        EXPECT_TRUE(pFileMenu->IsEnabled(id)) << id;
    // Without a library there is nothing to save or export.
    for (int id : {ID_CVQ9_SAVE, ID_CVQ9_SAVEAS, ID_CVQ9_EXPORT_TEXT})
        EXPECT_FALSE(pFileMenu->IsEnabled(id)) << id;
    for (int id : {ID_CVQ9_COPY, ID_CVQ9_CHECK_CURRENT, ID_CVQ9_CHECK_ALL})
        EXPECT_TRUE(pParamMenu->IsEnabled(id)) << id;
    EXPECT_TRUE(pGroupMenu->IsEnabled(ID_CVQ9_COPY_GROUP));
    EXPECT_TRUE(pGroupMenu->IsEnabled(ID_CVQ9_CLEAR_GROUP));
    EXPECT_TRUE(toolBar->IsEnabled());

    FilePath = L"/tmp/somewhere.cvq";
    pui->EnableDisableUiFromFwVersion();
    for (int id : {ID_CVQ9_SAVE, ID_CVQ9_SAVEAS, ID_CVQ9_EXPORT_TEXT})
        EXPECT_TRUE(pFileMenu->IsEnabled(id)) << id;
}
