// Editor panel: construction, built-in pictures, the program directory, the
// text helpers and the bottom area's library buttons.
#include "cvq9_config_ui.h"
#include "device_text.h"

#include <unistd.h>

#include <string>

#include <wx/cshelp.h>
#include <wx/dcclient.h>

#include "CVQ9Mainframe.h"
#include "cvq9_pictures.h"
#include "edit_history.h"
#include "record_access.h"
#include "shell_rules.h"
#include "text_bytes.h"

cvq9_config_ui *pui = nullptr;

wxIMPLEMENT_DYNAMIC_CLASS(cvq9_config_ui, wxPanel);

cvq9_config_ui::cvq9_config_ui()
{
    Init();
}

cvq9_config_ui::cvq9_config_ui(wxWindow *parent, wxWindowID id, const wxString &caption, const wxPoint &pos,
                               const wxSize &size, long style)
{
    Init();
    Create(parent, id, caption, pos, size, style);
}

bool cvq9_config_ui::Create(wxWindow *parent, wxWindowID id, const wxString &caption, const wxPoint &pos,
                            const wxSize &size, long style)
{
    Init();
    // Help texts are kept by the help provider; without one SetHelpText keeps nothing.
    if (!wxHelpProvider::Get())
        wxHelpProvider::Set(new wxSimpleHelpProvider);
    SetExtraStyle(GetExtraStyle() | wxWS_EX_VALIDATE_RECURSIVELY);
    wxPanel::Create(parent, id, pos, size, style, caption);
    CreateControls();
    Centre(wxBOTH);
    EnumerateMidiDevices();
    return true;
}

cvq9_config_ui::~cvq9_config_ui()
{
    if (pui == this)
        pui = nullptr;
}

void cvq9_config_ui::Init()
{
    wxNotebookPages = nullptr;
    wxPanelPref = nullptr;
    wxComboBoxMidiIn = nullptr;
    wxComboBoxMidiOut = nullptr;
    wxButtonGetIdentity = nullptr;
    wxButtonFindController = nullptr;
    TEXTCTRL_CurrentFwVersion = nullptr;
    TEXTCTRL_CurrentHwVersion = nullptr;
    TEXTCTRL_CurrentFwYear = nullptr;
    TEXTCTRL_CurrentFwMonth = nullptr;
    TEXTCTRL_CurrentFwSerial = nullptr;
    CheckboxIgnoreMIDI = nullptr;
    CheckboxIgnoreLcd = nullptr;
    CheckboxProgUndef = nullptr;
    CheckboxVerifyAfterDownload = nullptr;
    wxSpinCtrlStartGroup = nullptr;
    wxSpinCtrlEndGroup = nullptr;
    wxCheckBoxOffline = nullptr;
    wxChoiceFwOffline = nullptr;
    wxChoiceHwOffline = nullptr;

    wxPanelGlobal = nullptr;
    wxTextCtrlGroupName = nullptr;
    wxCheckBoxMergeUsbIn = nullptr;
    wxCheckBoxMergeUsbOut = nullptr;
    wxCheckBoxMergeMidiIn = nullptr;
    wxCheckBoxMergeMidiOut = nullptr;
    wxRadioBoxFilterMidi = nullptr;
    wxChoiceVideoMode = nullptr;
    wxChoiceAnalogMode = nullptr;
    CheckboxLFOState = nullptr;
    CheckboxArppState = nullptr;
    CheckboxMotionState = nullptr;
    wxChoiceCurrentAutomation = nullptr;
    wxChoiceOperatingMode = nullptr;
    wxCheckBoxMackieFadFbkEn = nullptr;
    CheckboxInfraredState = nullptr;
    CheckboxShiftLockMidi = nullptr;
    CheckboxShiftLockChannel = nullptr;
    wxRadioBoxShiftMode = nullptr;
    wxButtonEditCurveModels = nullptr;

    wxPanelRealtime = nullptr;
    wxCheckBoxGenIntSync = nullptr;
    wxTextCtrlTempo = nullptr;
    wxCheckBoxTempoMode = nullptr;
    wxChoiceExtSyncSrc = nullptr;
    wxChoiceExtLfoSync = nullptr;
    wxChoiceExtArppSync = nullptr;
    wxChoiceExtMotionSync = nullptr;
    CheckboxArppToMidiOut1 = nullptr;
    CheckboxArppToMidiOut2 = nullptr;
    CheckboxArppToUSB = nullptr;
    wxChoiceExtArppMIDISrc = nullptr;
    CheckboxMotionLoop = nullptr;
    wxChoiceLfoWave = nullptr;
    CheckboxSync24Enable = nullptr;
    wxChoiceSync24Sync = nullptr;

    wxPanelStd = nullptr;
    CheckboxAutosend = nullptr;
    wxStaticTextAutosend = nullptr;
    CheckboxSceneExclude = nullptr;
    wxStaticTextSceneExclude = nullptr;
    CheckboxSendToOut1 = nullptr;
    wxStaticTextSendOut1 = nullptr;
    CheckboxSendToOut2 = nullptr;
    wxStaticTextSendOut2 = nullptr;
    CheckboxSendToOutUsb = nullptr;
    wxStaticTextSendUsb = nullptr;
    wxStaticTextSwMode = nullptr;
    RadioBoxSwitchMode = nullptr;
    wxStaticTextMidiEvent = nullptr;
    RadioBoxMidiEventStdMode = nullptr;
    wxStaticTextCCNtNb = nullptr;
    SpinCtrlCcNoteNumberStdMode = nullptr;

    wxPanelUser = nullptr;
    wxRadioButtonUsePreset = nullptr;
    wxTextCtrlPresetFilter = nullptr;
    wxComboBoxPresetCtrl = nullptr;
    wxComboBoxPresetParamCtrl = nullptr;
    wxRadioButtonUseStdTemplate = nullptr;
    wxComboBoxStdTemplateCtrl = nullptr;
    wxStaticTextDelayTxt = nullptr;
    wxStaticTextChainTxt = nullptr;
    wxCheckBoxCrossfadeChain = nullptr;
    wxStaticTextCrossfader = nullptr;
    wxStaticTextMinTxt = nullptr;
    wxStaticTextMaxTxt = nullptr;
    wxComboBoxMidiDelay = nullptr;
    wxComboBoxChainedCtrlNumero = nullptr;
    SpinCtrlMinValue = nullptr;
    SpinCtrlMaxValue = nullptr;
    wxStaticTextChannelTxt = nullptr;
    wxStaticTextVal1Txt = nullptr;
    wxStaticTextVal2Txt = nullptr;
    wxStaticTextCurveTxt = nullptr;
    wxCheckBoxNibbleCtrl = nullptr;
    wxStaticTextSplit = nullptr;
    wxSpinCtrlMidiChannelPosition = nullptr;
    wxSpinCtrlCtrlValuePosition1 = nullptr;
    wxSpinCtrlCtrlValuePosition2 = nullptr;
    wxComboBoxCurveModel = nullptr;
    wxButtonEditCurve = nullptr;
    wxCheckBoxEnableChecksum = nullptr;
    wxStaticTextChecksumEn = nullptr;
    wxStaticTextCsStartTxt = nullptr;
    wxSpinCtrlChecksumFirstByte = nullptr;
    wxStaticTextMidiStrTxt = nullptr;
    wxTextCtrlMidiString = nullptr;
    wxStaticTextLenghtTxt = nullptr;
    wxStaticTextMidiStrLenght = nullptr;
    wxStaticTextLcdTxt = nullptr;
    wxTextCtrlLcdString = nullptr;

    wxStaticTextCtrlNb = nullptr;
    wxStaticTextGrpTest = nullptr;
    wxStaticTextGroupNb = nullptr;
    wxButtonUploadCurrentFromQ9 = nullptr;
    wxButtonCheckAll = nullptr;
    wxButtonDownloadCurrentToQ9 = nullptr;
    wxButtonCancel = nullptr;
    wxButtonUploadAllFromQ9 = nullptr;
    wxButtonLoadAllFromLib = nullptr;
    wxButtonDownloadAllToQ9 = nullptr;
    wxButtonSaveAllToLibraryFile = nullptr;
    wxStaticTextLib = nullptr;
    wxStaticTextLibraryFile = nullptr;
    GAUGE_Bargraph = nullptr;
}

bool cvq9_config_ui::ShowToolTips()
{
    return true;
}

wxBitmap cvq9_config_ui::GetBitmapResource(const wxString &name)
{
    return BuiltInBitmap(DeviceBytes(name).c_str());
}

wxIcon cvq9_config_ui::GetIconResource(const wxString &)
{
    return wxNullIcon;
}

wxString cvq9_config_ui::GetExecutablePath()
{
    return wxString(ReadProgramDirectory(static_cast<int>(getpid())));
}

wxString cvq9_config_ui::CharEtoileToWxString(const unsigned char *bytes, int limit)
{
    if (!bytes || limit <= 0)
        return wxString();
    return wxString(BytesToText(bytes, static_cast<size_t>(limit)));
}

wxString cvq9_config_ui::CharEtoileToWxString(const char *bytes, int limit)
{
    return CharEtoileToWxString(reinterpret_cast<const unsigned char *>(bytes), limit);
}

void cvq9_config_ui::wxStringToCharEtoile(unsigned char *buffer, const wxString &text, int limit)
{
    if (!buffer)
        return;
    TextToBytes(buffer, text.ToStdWstring(), limit > 0 ? static_cast<size_t>(limit) : 0);
}

void cvq9_config_ui::wxStringToCharEtoile(char *buffer, const wxString &text, int limit)
{
    wxStringToCharEtoile(reinterpret_cast<unsigned char *>(buffer), text, limit);
}

void cvq9_config_ui::InitAllStructs(uint8_t init_type)
{
    InitAllStructsTables(init_type);
}

void cvq9_config_ui::OnDialogPaint(wxPaintEvent &)
{
    // The panel draws nothing of its own; the paint context validates the
    // damaged area so the toolkit stops asking.
    wxPaintDC dc(this);
}

size_t cvq9_config_ui::MidiStringFieldLength() const
{
    return wxTextCtrlMidiString ? wxTextCtrlMidiString->GetValue().length() : 0;
}

// ---- The bottom area's library buttons run the main window's commands.

void cvq9_config_ui::OnButtonSavealltolibraryfileClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->SaveLibrary();
    event.Skip();
}

void cvq9_config_ui::OnButtonLoadallfromlibClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame && m_pCVQ9MainFrame->AskToSaveChanges()) {
        const EditStep step(wxT("Load All from library"));
        m_pCVQ9MainFrame->LoadAllFromLibraryFile(wxString(FilePath));
    }
    event.Skip();
}
