// The Preferences tab (offline mode, versions), and which menus, tools and
// buttons are usable with and without a device and a library.
#include <wx/toolbar.h>

#include "exchange.h"
#include "gui_fixture.h"

// Which of `ids` the menu bar offers, one character each.
static std::string Enabled(const std::vector<int> &ids)
{
    std::string enabled;
    for (int id : ids)
        enabled += m_pMenu->IsEnabled(id) ? '1' : '0';
    return enabled;
}

// Open, Save, Export, Copy, Paste, Clear group, Check all, Quit: what the device and the library decide.
static const std::vector<int> kCommands = {ID_CVQ9_OPEN,  ID_CVQ9_SAVE,        ID_CVQ9_EXPORT_TEXT, ID_CVQ9_COPY,
                                           ID_CVQ9_PASTE, ID_CVQ9_CLEAR_GROUP, ID_CVQ9_CHECK_ALL,   ID_CVQ9_QUIT};

// The four transfer buttons, the two library buttons, then their menu items: 1 enabled.
static std::string Buttons()
{
    const cvq9_config_ui *p = pui;
    std::string s;
    for (wxButton *b : {p->wxButtonUploadCurrentFromQ9, p->wxButtonDownloadCurrentToQ9, p->wxButtonUploadAllFromQ9,
                        p->wxButtonDownloadAllToQ9, p->wxButtonLoadAllFromLib, p->wxButtonSaveAllToLibraryFile})
        s += b->IsEnabled() ? '1' : '0';
    for (int id : {ID_CVQ9_UPLOAD_CURRENT, ID_CVQ9_DOWNLOAD_CURRENT, ID_CVQ9_UPLOAD_ALL, ID_CVQ9_DOWNLOAD_ALL,
                   ID_CVQ9_LOAD_ALL_FROM_LIB, ID_CVQ9_SAVE_ALL_TO_LIB})
        s += pParamMenu->IsEnabled(id) ? '1' : '0';
    return s;
}

TEST_F(RunningApp, OfflineModeEnablesTheEditorWithTheChosenVersions)
{
    EXPECT_EQ(Enabled(kCommands), "00000001");
    cvq9_connected = true;
    Check(pui->wxCheckBoxOffline, true);
    EXPECT_TRUE(offline_mode && pui->wxChoiceFwOffline->IsEnabled() && pui->wxChoiceHwOffline->IsEnabled());
    EXPECT_FALSE(cvq9_connected || pui->wxButtonGetIdentity->IsEnabled());
    EXPECT_EQ(fw_version_float, 1.6f);
    EXPECT_EQ(hw_version_float, 2.0f);
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwVersion->GetLabel() + pui->TEXTCTRL_CurrentHwVersion->GetLabel(), "1.62.0");
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwSerial->GetLabel(), "-");
    EXPECT_EQ(std::vector<int>(serial_nb, serial_nb + 4), (std::vector<int>{1, 6, 2, 0}));
    // Without a library there is nothing to save or export; Paste waits for a copy.
    EXPECT_EQ(Enabled(kCommands), "10010111");
    EXPECT_TRUE(toolBar->IsEnabled() && toolBar->GetToolEnabled(ID_CVQ9_CLEAR));
    EXPECT_FALSE(toolBar->GetToolEnabled(ID_CVQ9_PASTE) || toolBar->GetToolEnabled(ID_CVQ9_PASTE_GROUP));
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    EXPECT_EQ(Enabled({ID_CVQ9_SAVE, ID_CVQ9_SAVEAS, ID_CVQ9_EXPORT_TEXT}), "111");
    // A copy enables Paste for the rest of the run; Clear of the Control menu never is.
    SendCommand(ID_CVQ9_COPY);
    SendCommand(ID_CVQ9_COPY_GROUP);
    Check(pui->wxCheckBoxOffline, false);
    EXPECT_FALSE(pui->wxChoiceFwOffline->IsEnabled() || toolBar->IsEnabled());
    EXPECT_TRUE(pui->wxButtonGetIdentity->IsEnabled());
    EXPECT_EQ(pui->TEXTCTRL_CurrentFwVersion->GetLabel(), "-");
    EXPECT_EQ(fw_version_float, 1.6f);  // the versions stay
    EXPECT_EQ(Enabled(kCommands), "00001001");
    Check(pui->wxCheckBoxOffline, true);
    EXPECT_EQ(Enabled({ID_CVQ9_PASTE, ID_CVQ9_PASTE_GROUP, ID_CVQ9_CLEAR}), "110");
}

TEST_F(RunningApp, TheVersionsGateWhatTheControllerHas)
{
    common_params[5] = 0x10;  // operating mode 2 where firmware 1.5 keeps it
    common_params[33] = 4;    // mode 4 where 1.6 keeps it
    ControlIndex = 1;         // a transport button: the nibble box follows the firmware
    Check(pui->wxCheckBoxOffline, true);
    const struct {
        const char *fw;
        unsigned modes;
        int selected;  // -1: not looked at
        bool shift_lock, shift_mode;
    } cases[] = {{"1.6", 5, 4, true, true},
                 {"1.5", 4, 2, true, false},
                 {"1.4", 3, -1, true, false},
                 {"1.0", 2, -1, false, false}};
    for (const auto &c : cases) {
        Choose(pui->wxChoiceFwOffline, c.fw);
        EXPECT_EQ(pui->wxChoiceOperatingMode->GetCount(), c.modes) << c.fw;
        EXPECT_TRUE(pui->wxChoiceOperatingMode->IsEnabled());
        EXPECT_TRUE(c.selected < 0 || pui->wxChoiceOperatingMode->GetSelection() == c.selected) << c.fw;
        for (wxWindow *w : std::vector<wxWindow *>{pui->CheckboxShiftLockMidi, pui->CheckboxShiftLockChannel,
                                                   pui->wxCheckBoxNibbleCtrl})
            EXPECT_EQ(w->IsEnabled(), c.shift_lock) << c.fw;
        for (wxWindow *w :
             std::vector<wxWindow *>{pui->wxRadioBoxShiftMode, pui->wxCheckBoxMackieFadFbkEn, pui->wxCheckBoxTempoMode})
            EXPECT_EQ(w->IsEnabled(), c.shift_mode) << c.fw;
    }
    // Hardware before 1.2 has the infrared controller, later ones the ribbon.
    std::vector<wxString> labels;
    for (const char *hw : {"1.0", "1.1", "1.2", "2.0"}) {
        Choose(pui->wxChoiceHwOffline, hw);
        labels.push_back(pui->CheckboxInfraredState->GetLabel());
    }
    EXPECT_TRUE(labels[0] == labels[1] && labels[1] != labels[2] && labels[2] == labels[3]);
    EXPECT_EQ(std::vector<int>(serial_nb, serial_nb + 4), (std::vector<int>{1, 0, 2, 0}));
}

TEST_F(RunningApp, TransferAndLibraryButtonsFollowThePageTheDeviceAndTheLibrary)
{
    const struct {
        bool connected, default_lib, file;
        int page;
        const char *buttons;
    } cases[] = {
        // In this order: what a page change does not decide stays as it was.
        {false, false, false, PAGE_ASSIGN_USER, "000000000000"},
        {true, true, true, PAGE_PREFERENCES, "000000000000"},
        {true, false, false, PAGE_GLOBAL, "110000110000"},
        {true, false, false, PAGE_REALTIME, "110000110000"},
        {true, false, false, PAGE_ASSIGN_STD, "111100111100"},
        {false, false, false, PAGE_PREFERENCES, "000000000000"},
        {false, true, false, PAGE_ASSIGN_STD, "000001000000"},  // the default library: the button, not the menu
        {false, false, true, PAGE_GLOBAL, "000011000011"}};
    for (const auto &c : cases) {
        cvq9_connected = c.connected;
        default_lib_loaded = c.default_lib;
        FilePath = c.file ? L"/tmp/some.cvq" : L"";
        ShowPage(c.page);
        EXPECT_EQ(Buttons(), c.buttons) << c.page;
    }
    pui->DisableLibraryButtons();
    pui->DisableMidiButtons();
    EXPECT_EQ(Buttons(), "000000000000");
    cvq9_connected = true;
    pui->EnableMidiButtons();
    pui->EnableLibraryButtons();
    EXPECT_EQ(Buttons(), "110011110011");
    // The library buttons and menu items save to and load from the current file.
    FilePath = wxString(HomePath("panel.cvq")).ToStdWstring();
    for (int through_menu : {0, 1}) {
        ResetConfiguration(1);
        mycontrol[3][20].ctrl_value_max = 99;
        const TablesSnapshot saved;
        need_to_save_lib = true;
        through_menu ? SendCommand(ID_CVQ9_SAVE_ALL_TO_LIB) : Click(pui->wxButtonSaveAllToLibraryFile);
        ResetConfiguration(0);
        through_menu ? SendCommand(ID_CVQ9_LOAD_ALL_FROM_LIB) : Click(pui->wxButtonLoadAllFromLib);
        EXPECT_EQ(TablesSnapshot().controls, saved.controls);
        EXPECT_FALSE(need_to_save_lib);  // the tables hold what the file holds
    }
    EXPECT_TRUE(dialogs.file_dialogs.empty()) << dialogs.Describe();
    // The spin validators copy the value to their target.
    EXPECT_TRUE(pui->wxSpinCtrlStartGroup->GetValidator()->Validate(pui));
    pui->wxSpinCtrlStartGroup->GetValidator()->TransferFromWindow();
    EXPECT_EQ(pui->GetMustBeInt(), wxString::Format("%d", pui->wxSpinCtrlStartGroup->GetValue()));
}
