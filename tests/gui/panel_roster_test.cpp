// The widget roster of the editor panel as a freshly built panel shows it:
// tabs, labels, initial values, choice lists, ranges, tooltips and help
// texts, fonts, enabled states, the built-in pictures and the text helpers.
#include <unistd.h>

#include <cstring>
#include <string>

#include <wx/cshelp.h>
#include <wx/frame.h>
#include <wx/uiaction.h>
#include <wx/valtext.h>

#include "CVQ9Mainframe.h"
#include "checked_cast.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "templates.h"

namespace {

// The items of a radio box without their mnemonic markers (the toolkit may
// or may not hand them back).
std::vector<std::string> RadioItems(const wxRadioBox *box)
{
    std::vector<std::string> items;
    for (unsigned i = 0; i < box->GetCount(); ++i)
        items.push_back(wxStripMenuCodes(box->GetString(i)).ToStdString());
    return items;
}

std::vector<std::string> ComboItems(const wxComboBox *combo)
{
    std::vector<std::string> items;
    for (unsigned i = 0; i < combo->GetCount(); ++i)
        items.push_back(combo->GetString(i).ToStdString());
    return items;
}

void ExpectTip(wxWindow *window, const char *text)
{
    ASSERT_NE(window, nullptr) << text;
    EXPECT_EQ(window->GetToolTipText(), wxString::FromAscii(text));
    EXPECT_EQ(window->GetHelpText(), wxString::FromAscii(text));
}

void ExpectSpin(const wxSpinCtrl *spin, int min, int max, int value, bool wraps)
{
    EXPECT_EQ(spin->GetMin(), min);
    EXPECT_EQ(spin->GetMax(), max);
    EXPECT_EQ(spin->GetValue(), value);
    EXPECT_EQ(spin->HasFlag(wxSP_WRAP), wraps);
}

}  // namespace

// A panel of its own in a frame of its own, as the panel's constructor leaves it.
class PanelRoster : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
        frame = new wxFrame(nullptr, wxID_ANY, "roster");
        panel = new cvq9_config_ui(frame, ID_CVQ9_CONFIG_UI, "roster", wxDefaultPosition, wxSize(806, 305));
    }
    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        GuiFixture::TearDown();
    }

    wxFrame *frame = nullptr;
    cvq9_config_ui *panel = nullptr;
};

TEST_F(PanelRoster, FivePagesInOrder)
{
    wxNotebook *book = panel->wxNotebookPages;
    ASSERT_EQ(book->GetPageCount(), 5u);
    EXPECT_EQ(book->GetPageText(0), "Preferences");
    EXPECT_EQ(book->GetPageText(1), "Global parameters");
    EXPECT_EQ(book->GetPageText(2), "Realtime parameters");
    // The double ampersand of the labels shows as one.
    EXPECT_EQ(book->GetPageText(3), "Assign Common & Standard mode");
    EXPECT_EQ(book->GetPageText(4), "Assign User & Mackie/Logic modes");
    EXPECT_EQ(book->GetPage(0), panel->wxPanelPref);
    EXPECT_EQ(book->GetPage(1), panel->wxPanelGlobal);
    EXPECT_EQ(book->GetPage(2), panel->wxPanelRealtime);
    EXPECT_EQ(book->GetPage(3), panel->wxPanelStd);
    EXPECT_EQ(book->GetPage(4), panel->wxPanelUser);
    EXPECT_EQ(book->GetSelection(), 0);
    EXPECT_EQ(book->GetSize().x, 800);
    EXPECT_EQ(book->GetBackgroundColour(), wxColour(227, 230, 230));
    for (size_t page = 0; page < 5; ++page)
        EXPECT_TRUE(book->GetPage(page)->HasFlag(wxTAB_TRAVERSAL)) << page;
}

TEST_F(PanelRoster, FontsOfPanelTabsAndFields)
{
    for (wxWindow *w : {static_cast<wxWindow *>(panel), static_cast<wxWindow *>(panel->wxNotebookPages),
                        static_cast<wxWindow *>(panel->wxPanelPref), static_cast<wxWindow *>(panel->wxPanelUser)}) {
        const wxFont font = w->GetFont();
        EXPECT_EQ(font.GetPointSize(), 8);
        EXPECT_EQ(font.GetFaceName(), "Sans");
        EXPECT_EQ(font.GetStyle(), wxFONTSTYLE_NORMAL);
        EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_NORMAL);
    }
    for (wxTextCtrl *field : {panel->wxTextCtrlGroupName, panel->wxTextCtrlMidiString, panel->wxTextCtrlLcdString}) {
        EXPECT_EQ(field->GetFont().GetPointSize(), 10);
        EXPECT_EQ(field->GetFont().GetFaceName(), "Fixedsys");
    }
    EXPECT_EQ(panel->wxChoiceVideoMode->GetFont().GetPointSize(), 8);
}

TEST_F(PanelRoster, PreferencesTab)
{
    EXPECT_EQ(panel->wxButtonGetIdentity->GetLabel(), "Connect to CVQ9 ...");
    ExpectTip(panel->wxButtonGetIdentity, "Click here to retriewe Corvana Q9 information");
    EXPECT_TRUE(panel->wxButtonGetIdentity->IsThisEnabled());
    EXPECT_TRUE(panel->wxComboBoxMidiIn->HasFlag(wxCB_READONLY));
    EXPECT_EQ(panel->wxComboBoxMidiIn->GetSize().x, 180);
    EXPECT_EQ(panel->wxComboBoxMidiOut->GetSize().x, 180);
    for (wxStaticText *value :
         {panel->TEXTCTRL_CurrentFwVersion, panel->TEXTCTRL_CurrentHwVersion, panel->TEXTCTRL_CurrentFwYear,
          panel->TEXTCTRL_CurrentFwMonth, panel->TEXTCTRL_CurrentFwSerial})
        EXPECT_EQ(value->GetLabel(), "-");

    EXPECT_EQ(panel->CheckboxIgnoreMIDI->GetLabel(), "Ignore MIDI assignments Programming/Uploading");
    EXPECT_FALSE(panel->CheckboxIgnoreMIDI->GetValue());
    EXPECT_EQ(panel->CheckboxIgnoreMIDI->GetToolTipText(), "");
    EXPECT_EQ(panel->CheckboxIgnoreLcd->GetLabel(), "Ignore LCD strings Programming/Uploading");
    EXPECT_FALSE(panel->CheckboxIgnoreLcd->GetValue());
    ExpectTip(panel->CheckboxIgnoreLcd, "Click here to ignore Programming/Uploading of LCD strings");
    EXPECT_EQ(panel->CheckboxProgUndef->GetLabel(), "Force programming undefined controls");
    EXPECT_TRUE(panel->CheckboxProgUndef->GetValue());
    ExpectTip(panel->CheckboxProgUndef, "Select to force programming of undefined controls");

    ExpectSpin(panel->wxSpinCtrlStartGroup, 0, 20, 0, false);
    ExpectSpin(panel->wxSpinCtrlEndGroup, 0, 20, 20, false);
    ExpectTip(panel->wxSpinCtrlStartGroup, "Enter here the first group to upload/download");
    ExpectTip(panel->wxSpinCtrlEndGroup, "Enter here the latest group to upload/download");

    EXPECT_EQ(panel->wxCheckBoxOffline->GetLabel(), "Offline mode");
    EXPECT_FALSE(panel->wxCheckBoxOffline->GetValue());
    EXPECT_EQ(panel->wxCheckBoxOffline->GetToolTipText(),
              "Check this box to allow working offline (No Corvana connected)");
    EXPECT_EQ(panel->wxCheckBoxOffline->GetHelpText(),
              "Check this box to allow working offline  (No Corvana connected)");

    EXPECT_EQ(ChoiceItems(panel->wxChoiceFwOffline),
              std::vector<std::string>({"1.0", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6"}));
    EXPECT_EQ(panel->wxChoiceFwOffline->GetStringSelection(), "1.6");
    EXPECT_FALSE(panel->wxChoiceFwOffline->IsThisEnabled());
    ExpectTip(panel->wxChoiceFwOffline, "Select here the firmware version of your Corvana Q9");
    EXPECT_EQ(ChoiceItems(panel->wxChoiceHwOffline), std::vector<std::string>({"1.0", "1.1", "1.2", "2.0"}));
    EXPECT_EQ(panel->wxChoiceHwOffline->GetStringSelection(), "2.0");
    EXPECT_FALSE(panel->wxChoiceHwOffline->IsThisEnabled());
    ExpectTip(panel->wxChoiceHwOffline, "Select here the hardware version of your Corvana Q9");
    ExpectTip(panel->wxPanelPref, "Select your preference in this tab");
}

TEST_F(PanelRoster, GlobalTab)
{
    ExpectTip(panel->wxPanelGlobal, "Configure the Corvana Q9 global parameters in this tab");
    EXPECT_EQ(panel->wxTextCtrlGroupName->GetValue(), "");
    ExpectTip(panel->wxTextCtrlGroupName, "Enter here the name of each group");
    for (wxCheckBox *box : {panel->wxCheckBoxMergeUsbIn, panel->wxCheckBoxMergeUsbOut, panel->wxCheckBoxMergeMidiIn,
                            panel->wxCheckBoxMergeMidiOut})
        EXPECT_TRUE(box->GetValue());
    EXPECT_EQ(panel->wxCheckBoxMergeUsbIn->GetLabel(), "USB In");
    EXPECT_EQ(panel->wxCheckBoxMergeUsbOut->GetLabel(), "USB Out 1");
    EXPECT_EQ(panel->wxCheckBoxMergeMidiIn->GetLabel(), "MIDI In");
    EXPECT_EQ(panel->wxCheckBoxMergeMidiOut->GetLabel(), "MIDI Out 1");
    ExpectTip(panel->wxCheckBoxMergeUsbOut, "Check this box to retransmit merged input to USB output 1");
    EXPECT_EQ(panel->wxRadioBoxFilterMidi->GetLabel(), "Inputs Filters");
    EXPECT_EQ(RadioItems(panel->wxRadioBoxFilterMidi),
              std::vector<std::string>({"Filter Off", "Realtime", "Filter All"}));
    EXPECT_EQ(panel->wxRadioBoxFilterMidi->GetRowCount(), 1u);
    EXPECT_EQ(panel->wxRadioBoxFilterMidi->GetForegroundColour(), *wxBLACK);
    ExpectTip(panel->wxRadioBoxFilterMidi,
              "Select here if a MIDI filter must be applied on inputs\nSelect the filter type");
    EXPECT_EQ(ChoiceItems(panel->wxChoiceVideoMode), std::vector<std::string>({"Normal", "Inverted"}));
    EXPECT_EQ(ChoiceItems(panel->wxChoiceAnalogMode), std::vector<std::string>({"Jump", "Hook"}));
    EXPECT_EQ(ChoiceItems(panel->wxChoiceCurrentAutomation),
              std::vector<std::string>({"Motion sampler", "LFO", "Arppeggio"}));
    EXPECT_EQ(ChoiceItems(panel->wxChoiceOperatingMode),
              std::vector<std::string>({"Standard", "Reason 3", "Mackie", "User", "Logic"}));
    EXPECT_FALSE(panel->wxChoiceOperatingMode->IsThisEnabled());
    ExpectTip(panel->CheckboxLFOState, "Check to turn ON LFO  ");
    EXPECT_FALSE(panel->CheckboxLFOState->GetValue());
    EXPECT_EQ(panel->wxCheckBoxMackieFadFbkEn->GetLabel(), "Enable Mackie/Logic faders feedback");
    EXPECT_FALSE(panel->wxCheckBoxMackieFadFbkEn->IsThisEnabled());
    EXPECT_EQ(panel->CheckboxInfraredState->GetLabel(), "Enable Infrared controller");
    EXPECT_TRUE(panel->CheckboxInfraredState->GetValue());
    EXPECT_TRUE(panel->CheckboxShiftLockMidi->GetValue());
    EXPECT_FALSE(panel->CheckboxShiftLockMidi->IsThisEnabled());
    EXPECT_FALSE(panel->CheckboxShiftLockChannel->GetValue());
    EXPECT_FALSE(panel->CheckboxShiftLockChannel->IsThisEnabled());
    EXPECT_EQ(RadioItems(panel->wxRadioBoxShiftMode), std::vector<std::string>({"Push", "Toggle"}));
    EXPECT_EQ(panel->wxRadioBoxShiftMode->GetLabel(), "SHIFT button mode");
    EXPECT_EQ(panel->wxButtonEditCurveModels->GetLabel(), "Edit");
}

TEST_F(PanelRoster, RealtimeTab)
{
    ExpectTip(panel->wxPanelRealtime, "Configure the Corvana Q9 realtime parameters in this tab");
    EXPECT_EQ(panel->wxCheckBoxGenIntSync->GetLabel(), "Generate internal Sync.");
    EXPECT_TRUE(panel->wxTextCtrlTempo->HasFlag(wxTE_CENTRE));
    EXPECT_FALSE(panel->wxCheckBoxTempoMode->IsThisEnabled());
    EXPECT_EQ(ChoiceItems(panel->wxChoiceExtSyncSrc), std::vector<std::string>({"MIDI In", " USB In"}));
    EXPECT_EQ(ChoiceItems(panel->wxChoiceExtArppMIDISrc), std::vector<std::string>({"MIDI In", " USB In"}));
    for (wxChoice *sync : {panel->wxChoiceExtLfoSync, panel->wxChoiceExtArppSync, panel->wxChoiceExtMotionSync,
                           panel->wxChoiceSync24Sync})
        EXPECT_EQ(ChoiceItems(sync), std::vector<std::string>({"Internal", "External"}));
    EXPECT_EQ(ChoiceItems(panel->wxChoiceLfoWave), std::vector<std::string>({"Sine", "Triangle", "Square", "Random"}));
    EXPECT_FALSE(panel->CheckboxArppToMidiOut1->GetValue());
    EXPECT_TRUE(panel->CheckboxArppToMidiOut2->GetValue());
    EXPECT_TRUE(panel->CheckboxArppToUSB->GetValue());
    EXPECT_TRUE(panel->CheckboxMotionLoop->GetValue());
    EXPECT_FALSE(panel->CheckboxSync24Enable->GetValue());
    ExpectTip(panel->wxChoiceExtLfoSync, "Select here the LFO synchronization mode\n- Internal: from the internal "
                                         "timebase\n- External: from the selected external input ");
    ExpectTip(panel->wxTextCtrlTempo, "Enter here the tempo of the cvQ9 internal timebase\n(from 30 to 255 BPM)");
}

TEST_F(PanelRoster, CommonAndStandardTab)
{
    EXPECT_FALSE(panel->CheckboxAutosend->GetValue());
    EXPECT_FALSE(panel->CheckboxSceneExclude->GetValue());
    EXPECT_TRUE(panel->CheckboxSendToOut1->GetValue());
    EXPECT_TRUE(panel->CheckboxSendToOut2->GetValue());
    EXPECT_TRUE(panel->CheckboxSendToOutUsb->GetValue());
    EXPECT_EQ(panel->CheckboxAutosend->GetLabel(), "");
    EXPECT_EQ(panel->wxStaticTextAutosend->GetLabel(), "Auto-send at startup");
    EXPECT_EQ(panel->wxStaticTextSendUsb->GetLabel(), "Send also to USB Out");
    // Box and label carry the same tooltip.
    ExpectTip(panel->CheckboxSceneExclude, "Check to exclude this control from snapshot scenes");
    ExpectTip(panel->wxStaticTextSceneExclude, "Check to exclude this control from snapshot scenes");
    EXPECT_EQ(RadioItems(panel->RadioBoxSwitchMode), std::vector<std::string>({"Push", "Toggle"}));
    EXPECT_EQ(panel->RadioBoxSwitchMode->GetLabel(), "");
    EXPECT_EQ(panel->RadioBoxSwitchMode->GetRowCount(), 1u);
    EXPECT_EQ(RadioItems(panel->RadioBoxMidiEventStdMode), std::vector<std::string>({"Control Change", "Note On"}));
    EXPECT_EQ(panel->RadioBoxMidiEventStdMode->GetColumnCount(), 1u);
    ExpectSpin(panel->SpinCtrlCcNoteNumberStdMode, 0, 127, 0, true);
    ExpectTip(panel->SpinCtrlCcNoteNumberStdMode, "Select here the standard mode Midi event number");
}

TEST_F(PanelRoster, UserTab)
{
    EXPECT_FALSE(panel->wxRadioButtonUsePreset->GetValue());
    EXPECT_TRUE(panel->wxRadioButtonUseStdTemplate->GetValue());
    EXPECT_FALSE(panel->wxComboBoxPresetCtrl->IsThisEnabled());
    EXPECT_FALSE(panel->wxComboBoxPresetParamCtrl->IsThisEnabled());
    EXPECT_TRUE(panel->wxComboBoxPresetCtrl->HasFlag(wxCB_SORT));
    ASSERT_EQ(panel->wxComboBoxStdTemplateCtrl->GetCount(), 389u);
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetValue(), "User Defined");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(4), "Pitch Bend");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(5), "CC#0 : Bnk Msb");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(8), "CC#3 :");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(133), "Note 0 :C-1");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(193), "Note 60 :C4");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(260), "Note 127 :G9");
    EXPECT_EQ(panel->wxComboBoxStdTemplateCtrl->GetString(388), "Program Ch 127");

    EXPECT_EQ(ComboItems(panel->wxComboBoxMidiDelay), std::vector<std::string>({"None", "30", "60", "90"}));
    EXPECT_EQ(panel->wxComboBoxMidiDelay->GetValue(), "None");
    ASSERT_EQ(panel->wxComboBoxChainedCtrlNumero->GetCount(), 62u);
    EXPECT_EQ(panel->wxComboBoxChainedCtrlNumero->GetValue(), "None");
    EXPECT_EQ(panel->wxComboBoxChainedCtrlNumero->GetString(1), "Ribbon controller");
    EXPECT_EQ(panel->wxComboBoxChainedCtrlNumero->GetString(4), "Knob 0 (row 0 - col 0)");
    EXPECT_EQ(panel->wxComboBoxChainedCtrlNumero->GetString(35), "Knob 31 (row 3 - col 7)");
    EXPECT_EQ(panel->wxComboBoxChainedCtrlNumero->GetString(61), "Button 7");
    EXPECT_EQ(ComboItems(panel->wxComboBoxCurveModel),
              std::vector<std::string>({"Linear", "Inv linear", "Log.", "Inv log.", "Random", "User 1", "User 2"}));
    EXPECT_EQ(panel->wxComboBoxCurveModel->GetValue(), "Linear");
    EXPECT_FALSE(panel->wxButtonEditCurve->IsThisEnabled());
    ExpectTip(panel->wxButtonEditCurve, "Click this button to edit user curves 1 and 2");

    ExpectSpin(panel->SpinCtrlMinValue, 0, 127, 0, true);
    ExpectSpin(panel->SpinCtrlMaxValue, 0, 127, 127, true);
    ExpectSpin(panel->wxSpinCtrlMidiChannelPosition, 0, 21, 0, true);
    ExpectSpin(panel->wxSpinCtrlCtrlValuePosition1, 0, 21, 0, true);
    ExpectSpin(panel->wxSpinCtrlCtrlValuePosition2, 0, 21, 0, true);
    ExpectSpin(panel->wxSpinCtrlChecksumFirstByte, 0, 21, 0, true);
    EXPECT_FALSE(panel->wxCheckBoxNibbleCtrl->GetValue());
    EXPECT_FALSE(panel->wxCheckBoxEnableChecksum->GetValue());
    EXPECT_FALSE(panel->wxCheckBoxCrossfadeChain->GetValue());
    EXPECT_EQ(panel->wxStaticTextLenghtTxt->GetLabel(), "Lenght");
    EXPECT_EQ(panel->wxStaticTextMidiStrLenght->GetLabel(), "-");
    EXPECT_EQ(panel->wxStaticTextChannelTxt->GetLabel(), "MIDI channel position (N)");
    ExpectTip(panel->wxTextCtrlLcdString, "Enter here the LCD string (16 car. max)");
    ExpectTip(panel->wxTextCtrlMidiString, "Enter here the MIDI event to assign");
    ExpectTip(panel->wxPanelUser, "Configure the Corvana Q9 assignments for User mode in this tab");
}

TEST_F(PanelRoster, BottomArea)
{
    EXPECT_EQ(panel->wxStaticTextGrpTest->GetLabel(), "GROUP");
    EXPECT_EQ(panel->wxStaticTextCtrlNb->GetLabel(), "00");
    EXPECT_EQ(panel->wxStaticTextGroupNb->GetLabel(), "00");
    EXPECT_EQ(panel->wxButtonUploadCurrentFromQ9->GetLabel(), "Upload selected from Q9");
    EXPECT_EQ(panel->wxButtonDownloadCurrentToQ9->GetLabel(), "Download selected to Q9");
    EXPECT_EQ(panel->wxButtonUploadAllFromQ9->GetLabel(), "Upload All from Q9");
    EXPECT_EQ(panel->wxButtonDownloadAllToQ9->GetLabel(), "Download All to Q9");
    EXPECT_EQ(panel->wxButtonCheckAll->GetLabel(), "Check all");
    EXPECT_EQ(panel->wxButtonCancel->GetLabel(), "Cancel");
    EXPECT_EQ(panel->wxButtonLoadAllFromLib->GetLabel(), "Load All from library");
    EXPECT_EQ(panel->wxButtonSaveAllToLibraryFile->GetLabel(), "Save All to library");
    ExpectTip(panel->wxButtonCancel, "Click to cancel communication");
    ExpectTip(panel->wxButtonSaveAllToLibraryFile, "Click to save all parameters to library file");
    EXPECT_EQ(panel->wxStaticTextLib->GetLabel(), "Library:");
    EXPECT_EQ(panel->wxStaticTextLibraryFile->GetLabel(), "-");
    EXPECT_EQ(panel->GAUGE_Bargraph->GetRange(), 100);
    EXPECT_EQ(panel->GAUGE_Bargraph->GetValue(), 1);
    // The two stacked columns of buttons: "selected" over "Check all", and so on.
    EXPECT_LT(panel->wxButtonUploadCurrentFromQ9->GetPosition().y, panel->wxButtonCheckAll->GetPosition().y);
    EXPECT_EQ(panel->wxButtonUploadCurrentFromQ9->GetPosition().x, panel->wxButtonCheckAll->GetPosition().x);
    EXPECT_EQ(panel->wxButtonDownloadAllToQ9->GetPosition().x, panel->wxButtonSaveAllToLibraryFile->GetPosition().x);
}

TEST_F(PanelRoster, ValidatorsFilterWhatTheFieldsAccept)
{
    auto *midi = CheckedCast<wxTextValidator>(panel->wxTextCtrlMidiString->GetValidator());
    ASSERT_NE(midi, nullptr);
    EXPECT_TRUE(midi->IsValid("0123456789abcdefABCDEF").empty());
    EXPECT_FALSE(midi->IsValid("g").empty());
    auto *tempo = CheckedCast<wxTextValidator>(panel->wxTextCtrlTempo->GetValidator());
    ASSERT_NE(tempo, nullptr);
    EXPECT_TRUE(tempo->IsValid("120").empty());
    EXPECT_FALSE(tempo->IsValid("1a").empty());
    for (wxTextCtrl *field : {panel->wxTextCtrlGroupName, panel->wxTextCtrlLcdString}) {
        auto *ascii = CheckedCast<wxTextValidator>(field->GetValidator());
        ASSERT_NE(ascii, nullptr);
        EXPECT_TRUE(ascii->HasFlag(wxFILTER_ASCII));
        EXPECT_TRUE(ascii->IsValid("Volume ~").empty());
        EXPECT_FALSE(ascii->IsValid(wxString::FromUTF8("Caf\xc3\xa9")).empty());
    }
    for (wxSpinCtrl *spin : {panel->wxSpinCtrlStartGroup, panel->wxSpinCtrlEndGroup, panel->SpinCtrlMinValue,
                             panel->wxSpinCtrlChecksumFirstByte})
        EXPECT_NE(spin->GetValidator(), nullptr);
    // The spin validators accept any value the spin holds and copy it to the int target.
    EXPECT_TRUE(panel->wxSpinCtrlStartGroup->GetValidator()->Validate(panel));
    panel->wxSpinCtrlStartGroup->GetValidator()->TransferFromWindow();
    EXPECT_EQ(panel->GetMustBeInt(), "0");
}

TEST_F(PanelRoster, BuiltInPictures)
{
    struct Picture {
        const char *name;
        int width, height;
    };
    const Picture pictures[] = {
        {"new.bmp", 16, 15},
        {"clear.bmp", 16, 15},
        {"export.bmp", 16, 15},
        {"design_front_cs_v10.bmp", 800, 338},
        {"design_front_cs_v11.bmp", 800, 338},
        {"button_green.bmp", 22, 13},
        {"crossfader_left_red.bmp", 34, 26},
        {"crossfader_right_green.bmp", 36, 26},
        {"encoder_red.bmp", 26, 25},
        {"footswitch_green.bmp", 59, 8},
        {"infrared_red.bmp", 53, 20},
        {"joystick_button_green.bmp", 30, 18},
        {"joystick_x_red.bmp", 24, 26},
        {"joystick_y_green.bmp", 29, 21},
        {"knob_red.bmp", 34, 33},
        {"lfo_green.bmp", 142, 38},
        {"slider_red.bmp", 21, 46},
        {"ribbon_green.bmp", 27, 113},
        {"led_yellow.bmp", 12, 7},
    };
    for (const Picture &picture : pictures) {
        const wxBitmap bitmap = cvq9_config_ui::GetBitmapResource(picture.name);
        ASSERT_TRUE(bitmap.IsOk()) << picture.name;
        EXPECT_EQ(bitmap.GetWidth(), picture.width) << picture.name;
        EXPECT_EQ(bitmap.GetHeight(), picture.height) << picture.name;
    }
    EXPECT_FALSE(cvq9_config_ui::GetBitmapResource("unknown.bmp").IsOk());
    EXPECT_FALSE(cvq9_config_ui::GetBitmapResource("").IsOk());
    EXPECT_FALSE(cvq9_config_ui::GetIconResource("IDI_ICON1").IsOk());
}

TEST_F(PanelRoster, ExecutablePathIsTheProgramsDirectory)
{
    char link[2048] = {};
    ASSERT_GT(readlink("/proc/self/exe", link, sizeof link - 1), 0);
    std::string directory(link);
    directory.erase(directory.rfind('/') + 1);
    EXPECT_EQ(cvq9_config_ui::GetExecutablePath(), wxString(directory.c_str(), wxConvISO8859_1));
    EXPECT_EQ(cvq9_config_ui::GetExecutablePath().Last(), '/');
}

TEST_F(PanelRoster, PresetLibraryFailureIsReported)
{
    const wxString preset = cvq9_config_ui::GetExecutablePath() + "hlvlib.xcq";
    const std::vector<RecordedMessage> shown = dialogs.WithCaption("Library error");
    if (FileExists(preset)) {
        EXPECT_TRUE(shown.empty()) << dialogs.Describe();
    } else {
        ASSERT_EQ(shown.size(), 1u) << dialogs.Describe();
        EXPECT_EQ(shown[0].text, "Cannot load preset file hlvlib.xcq\nPlease copy this file to " + preset);
    }
}

TEST(PanelTextHelpers, BytesBecomeOneCharacterEach)
{
    const unsigned char bytes[] = {'A', 0xE9, 0xFF, 'B', 0, 'C'};
    const wxString text = cvq9_config_ui::CharEtoileToWxString(bytes, 6);
    ASSERT_EQ(text.length(), 4u);
    EXPECT_EQ(static_cast<unsigned>(text[1].GetValue()), 0xE9u);
    EXPECT_EQ(static_cast<unsigned>(text[2].GetValue()), 0xFFu);
    EXPECT_EQ(cvq9_config_ui::CharEtoileToWxString(bytes, 2).length(), 2u);
    EXPECT_EQ(cvq9_config_ui::CharEtoileToWxString("Knob", 16), "Knob");
}

TEST(PanelTextHelpers, CharactersBecomeTheirLowByte)
{
    unsigned char buffer[6];
    std::memset(buffer, 0x55, sizeof buffer);
    wxString text;
    text += wxUniChar(0x141);  // low byte 0x41
    text += wxUniChar(0xE9);
    text += "xyz";
    cvq9_config_ui::wxStringToCharEtoile(buffer, text, 4);
    EXPECT_EQ(buffer[0], 0x41);
    EXPECT_EQ(buffer[1], 0xE9);
    EXPECT_EQ(buffer[2], 'x');
    EXPECT_EQ(buffer[3], 'y');
    EXPECT_EQ(buffer[4], 0);
    EXPECT_EQ(buffer[5], 0x55) << "nothing written beyond limit + 1";

    char stop[8];
    wxString with_nul("ab");
    with_nul += wxUniChar(0);
    with_nul += "cd";
    cvq9_config_ui::wxStringToCharEtoile(stop, with_nul, 7);
    EXPECT_STREQ(stop, "ab");
}

// Typing into the fields, as the keyboard does: the validators and the length
// limits refuse what the fields must not hold.
class SerialPanelTyping : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        SelectPage(PAGE_ASSIGN_USER);
        Pump();
    }

    void TypeInto(wxTextCtrl *field, const char *text)
    {
        field->SetFocus();
        Pump();
        wxUIActionSimulator typist;
        typist.Text(text);
        for (int i = 0; i < 5; ++i) {
            Pump();
            wxMilliSleep(10);
        }
    }
};

TEST_F(SerialPanelTyping, MidiStringTakesHexDigitsOnlyAndAtMost42)
{
    pui->wxTextCtrlMidiString->ChangeValue(wxEmptyString);
    TypeInto(pui->wxTextCtrlMidiString, "B0g7");
    EXPECT_EQ(pui->wxTextCtrlMidiString->GetValue(), "B07");
    pui->wxTextCtrlMidiString->ChangeValue(wxEmptyString);
    TypeInto(pui->wxTextCtrlMidiString, "0123456789012345678901234567890123456789ABC");
    EXPECT_EQ(pui->wxTextCtrlMidiString->GetValue().length(), 42u);
}

TEST_F(SerialPanelTyping, LcdStringTakesAtMost16Characters)
{
    // A group control: transport buttons have no LCD text to type into.
    ControlIndex = 10;
    all_selected_ctrl = {10};
    pui->UpdateWholeParamWindows();
    pui->wxTextCtrlLcdString->ChangeValue(wxEmptyString);
    TypeInto(pui->wxTextCtrlLcdString, "ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "ABCDEFGHIJKLMNOP");
}

TEST_F(SerialPanelTyping, TempoTakesThreeDigits)
{
    SelectPage(PAGE_REALTIME);
    pui->wxTextCtrlTempo->ChangeValue(wxEmptyString);
    TypeInto(pui->wxTextCtrlTempo, "1x2345");
    EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), "123");
}

TEST_F(SerialPanelTyping, GroupSpinTakesDigitsOnly)
{
    SelectPage(PAGE_PREFERENCES);
    wxSpinCtrl *spin = pui->wxSpinCtrlEndGroup;
    spin->SetFocus();
    Pump();
    wxUIActionSimulator typist;
    typist.Char(WXK_END);
    typist.Char(WXK_BACK);
    typist.Char(WXK_BACK);
    typist.Text("1x2");
    for (int i = 0; i < 5; ++i) {
        Pump();
        wxMilliSleep(10);
    }
    EXPECT_EQ(spin->GetTextValue(), "12");
}
