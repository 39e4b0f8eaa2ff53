// The editor panel below the front-panel view: a notebook of five tabs
// (preferences, global and realtime parameters, the two assignment tabs) and a
// bottom area with the selected control and group numbers, the action buttons,
// the library file name and the progress gauge.
//
// The panel owns widgets only; every value it shows lives in the configuration
// tables (config_tables.h). The implementation is split by concern:
//   cvq9_config_ui.cpp           construction, resources, text helpers, library buttons
//   cvq9_config_ui_roster.cpp    CreateControls: the widget roster and layout
//   cvq9_config_ui_enabling.cpp  ManageButtons and the library/MIDI button rules
//   cvq9_config_ui_prefs.cpp     Preferences tab, offline mode, version gating
//   cvq9_config_ui_global.cpp    global and realtime tabs
//   cvq9_config_ui_assign.cpp    the two assignment tabs
//   cvq9_config_ui_presets.cpp   presets and standard templates
//   cvq9_config_ui_checks.cpp    assignment checks, their messages, the shown selection
//   cvq9_config_ui_midi.cpp      MIDI port selectors
//   cvq9_config_ui_transfers.cpp identity request, exchanges, transfers
//   cvq9_config_ui_compare.cpp   comparing with the controller, verifying downloads
#ifndef CVQ9_CONFIG_UI_H
#define CVQ9_CONFIG_UI_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/event.h>
#include <wx/gauge.h>
#include <wx/icon.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/string.h>
#include <wx/textctrl.h>

#include "Midi_Ios.h"
#include "config_compare.h"
#include "enabling_rules.h"  // notebook page indices

// Window identifiers of the panel and its widgets. The block starts well away
// from the menu and toolbar commands (100..107, 1000..1005, 5000..5999,
// 10044..10053) because the panel's command events travel on to the main frame
// and the application after the panel's handlers have let them through.
enum {
    ID_CVQ9_CONFIG_UI = 10000,

    ID_NOTEBOOK_PAGES = 12001,
    ID_PANEL_PREF,
    ID_COMBOBOX_MIDI_IN,
    ID_COMBOBOX_MIDI_OUT,
    ID_BUTTON_GET_IDENTITY,
    ID_BUTTON_FIND_CONTROLLER,
    ID_TEXTCTRL_CURRENT_FW_VERSION,
    ID_TEXTCTRL_CURRENT_HW_VERSION,
    ID_TEXTCTRL_CURRENT_FW_YEAR,
    ID_TEXTCTRL_CURRENT_FW_MONTH,
    ID_TEXTCTRL_CURRENT_FW_SERIAL,
    ID_CHECKBOX_IGNORE_MIDI,
    ID_CHECKBOX_IGNORE_LCD,
    ID_CHECKBOX_PROG_UNDEF,
    ID_CHECKBOX_VERIFY_AFTER_DOWNLOAD,
    ID_SPINCTRL_START_GROUP,
    ID_SPINCTRL_END_GROUP,
    ID_CHECKBOX_OFFLINE,
    ID_CHOICE_FW_OFFLINE,
    ID_CHOICE_HW_OFFLINE,

    ID_PANEL_GLOBAL,
    ID_TEXTCTRL_GROUP_NAME,
    ID_CHECKBOX_MERGE_USB_IN,
    ID_CHECKBOX_MERGE_USB_OUT,
    ID_CHECKBOX_MERGE_MIDI_IN,
    ID_CHECKBOX_MERGE_MIDI_OUT,
    ID_RADIOBOX_MIDI_FILTER,
    ID_CHOICE_VIDEO_MODE,
    ID_CHOICE_ANALOG_MODE,
    ID_CHECKBOX_LFO_STATE,
    ID_CHECKBOX_ARPP_STATE,
    ID_CHECKBOX_MOTION_STATE,
    ID_CHOICE_CURRENT_AUTOM,
    ID_CHOICE_OPERATING_MODE,
    ID_CHECKBOX_MACKIE_FADER_FBK,
    ID_CHECKBOX_INFRARED_STATE,
    ID_CHECKBOX_SHIFT_LOCK,
    ID_CHECKBOX_SHIFT_LOCK_CHANNEL,
    ID_RADIOBOX_SHIFT_MODE,
    ID_BUTTON_EDIT_CURVES_MODELS,

    ID_PANEL_REALTIME,
    ID_CHECKBOX_GEN_INT_SYNC,
    ID_TEXTCTRL_TEMPO,
    ID_CHECKBOX_TEMPO_MODE,
    ID_CHOICE_EXT_SYNC_SRC,
    ID_CHOICE_LFO_SYNC,
    ID_CHOICE_ARPP_SYNC,
    ID_CHOICE_MOTION_SYNC,
    ID_CHECKBOX_ARPP_MIDI_OUT1,
    ID_CHECKBOX_ARPP_MIDI_OUT2,
    ID_CHECKBOX_ARPP_USB_OUT,
    ID_CHOICE_ARPP_MIDI_SRC,
    ID_CHECKBOX_MOTION_LOOP,
    ID_CHOICE_LFO_WAVE,
    ID_CHECKBOX_S24_STATE,
    ID_CHOICE_S24_SYNC,

    ID_PANEL_STD,
    ID_CHECKBOX_AUTOSEND,
    ID_CHECKBOX_SCENEEXCLUDE,
    ID_CHECKBOX_SENDTOOUT1,
    ID_CHECKBOX_SENDTOOUT2,
    ID_CHECKBOX_SENDTOOUTUSB,
    ID_RADIOBOX_SWITCHMODE,
    ID_RADIOBOX_MIDIEVENTSTDMODE,
    ID_SPINCTRL_CCNOTENUMBERSTDMODE,

    ID_PANEL_USER,
    ID_RADIOBUTTON_PRESET,
    ID_COMBOBOX_PRESETCTRL,
    ID_COMBOBOX_PRESETPARAMCTRL,
    ID_RADIOBUTTON_STD_TEMPLATE,
    ID_COMBOBOX_STDTEMPLATECTRL,
    ID_COMBOBOX_MIDIDELAY,
    ID_COMBOBOX_CHAINEDCTRLNUMERO,
    ID_CHECKBOX_CROSSFADECHAIN,
    ID_SPINCTRL_MIN_VALUE,
    ID_SPINCTRL_MAX_VALUE,
    ID_SPINCTRL_MIDICHANNELPOSITION,
    ID_SPINCTRL_CTRLVALUEPOSITION1,
    ID_SPINCTRL_CTRLVALUEPOSITION2,
    ID_COMBOBOX_CURVEMODEL,
    ID_BUTTON_EDIT_CURVE,
    ID_CHECKBOX_NIBBLE_CTRL,
    ID_CHECKBOX_ENABLECHECKSUM,
    ID_SPINCTRL_CHECKSUMFIRSTBYTE,
    ID_TEXTCTRL_MIDISTRING,
    ID_TEXTCTRL_LCDSTRING,

    ID_BUTTON_UPLOADCURRENTFROMQ9,
    ID_BUTTON_CHECK_ALL,
    ID_BUTTON_DOWNLOADCURRENTTOQ9,
    ID_BUTTON_CANCEL,
    ID_BUTTON_UPLOADALLFROMQ9,
    ID_BUTTON_LOADALLFROMLIB,
    ID_BUTTON_DOWNLOADALLTOQ9,
    ID_BUTTON_SAVEALLTOLIBRARYFILE,
    ID_GAUGE_BARGRAPH,
    ID_TEXTCTRL_PRESETFILTER,

    ID_CVQ9_CONFIG_UI_LAST
};

#define SYMBOL_CVQ9_CONFIG_UI_STYLE    wxTAB_TRAVERSAL
#define SYMBOL_CVQ9_CONFIG_UI_TITLE    _("Corvana Q9 configuration software")
#define SYMBOL_CVQ9_CONFIG_UI_IDNAME   ID_CVQ9_CONFIG_UI
#define SYMBOL_CVQ9_CONFIG_UI_SIZE     wxSize(806, 305)
#define SYMBOL_CVQ9_CONFIG_UI_POSITION wxDefaultPosition

enum class AssignField : uint8_t;  // assign_fields.h

class cvq9_config_ui : public wxPanel
{
    wxDECLARE_DYNAMIC_CLASS(cvq9_config_ui);
    wxDECLARE_EVENT_TABLE();

public:
    // Construction (cvq9_config_ui.cpp).
    cvq9_config_ui();
    cvq9_config_ui(wxWindow *parent, wxWindowID id = SYMBOL_CVQ9_CONFIG_UI_IDNAME,
                   const wxString &caption = SYMBOL_CVQ9_CONFIG_UI_TITLE,
                   const wxPoint &pos = SYMBOL_CVQ9_CONFIG_UI_POSITION, const wxSize &size = SYMBOL_CVQ9_CONFIG_UI_SIZE,
                   long style = SYMBOL_CVQ9_CONFIG_UI_STYLE);
    bool Create(wxWindow *parent, wxWindowID id = SYMBOL_CVQ9_CONFIG_UI_IDNAME,
                const wxString &caption = SYMBOL_CVQ9_CONFIG_UI_TITLE,
                const wxPoint &pos = SYMBOL_CVQ9_CONFIG_UI_POSITION, const wxSize &size = SYMBOL_CVQ9_CONFIG_UI_SIZE,
                long style = SYMBOL_CVQ9_CONFIG_UI_STYLE);
    virtual ~cvq9_config_ui();

    // Sets every widget member to null (before the widgets exist).
    void Init();
    // Builds the roster, the validators and limits, then loads the preset library
    // (cvq9_config_ui_roster.cpp).
    void CreateControls();
    static bool ShowToolTips();

    // Built-in pictures by name ("new.bmp", "knob_red.bmp", ...); the null
    // bitmap for an unknown name. Usable before any panel exists.
    static wxBitmap GetBitmapResource(const wxString &name);
    // The null icon for every name.
    static wxIcon GetIconResource(const wxString &name);
    // Directory of the running program, with its trailing "/".
    static wxString GetExecutablePath();

    // The text of `bytes` up to the first zero byte or `limit` bytes, one character per byte.
    static wxString CharEtoileToWxString(const char *bytes, int limit);
    static wxString CharEtoileToWxString(const unsigned char *bytes, int limit);
    // Writes the characters of `text` reduced to their low 8 bits, up to the first
    // NUL character, the end of the text or `limit` characters, then a zero byte;
    // `buffer` holds limit + 1 bytes.
    static void wxStringToCharEtoile(char *buffer, const wxString &text, int limit);
    static void wxStringToCharEtoile(unsigned char *buffer, const wxString &text, int limit);

    // Resets the assignments and LCD texts (0: empty, otherwise the defaults).
    void InitAllStructs(uint8_t init_type);

    // Fill the tabs from the tables: the two assignment tabs, and the global and
    // realtime tabs with the current group's name.
    void UpdateWholeParamWindows();
    void UpdateWholeGlobalParamsWindows();

    // Button enabling (cvq9_config_ui_enabling.cpp).
    void ManageButtons();
    void EnableLibraryButtons();
    void DisableLibraryButtons();
    void EnableMidiButtons();
    void DisableMidiButtons();

    // Connection and version gating of menus, toolbar and version-dependent
    // widgets (cvq9_config_ui_prefs.cpp).
    void EnableDisableUiFromFwVersion();

    // Fills the MIDI port selectors and restores the remembered positions
    // (cvq9_config_ui_midi.cpp); ShowMidiDevices fills them from lists made.
    void EnumerateMidiDevices();
    void ShowMidiDevices(const MidiDeviceLists &lists);

    // Assignment checks (cvq9_config_ui_checks.cpp): 0 when the control (or the
    // group range) passes, otherwise the first failure code, already reported.
    uint8_t CheckCurrentParam(uint8_t group, uint8_t control);
    uint8_t CheckAllParam();
    void DisplayParamError(uint8_t code, uint8_t group, uint8_t control);
    // Makes the group selector, the view and the tabs agree with CurrentGroup,
    // ControlIndex and all_selected_ctrl, the view drawing `drawn` as
    // selected; the global tabs follow when the group changed.
    void ShowAddressedSelection(const std::vector<unsigned> &drawn, bool group_changed);
    // Selects `controls` of `group` (not empty) and shows them everywhere.
    void ShowControls(unsigned group, const std::vector<int> &controls);
    // Mask of the fields equal in every control of the selection (bit per field);
    // moves ControlIndex to the end of all_selected_ctrl.
    uint32_t CheckCommonCtrlParameters();

    // Exchange with the controller (cvq9_config_ui_transfers.cpp): waits up to
    // `timeout` 1-ms steps for the answer of the wait kind (exchange.h),
    // yielding at every step, the gauge following when `update_bargraph` is
    // set; the status goes to `sysex_error`. Returns 0.
    int WaitIncomingSysex(int action, uint8_t *sysex_in, uint8_t *values, unsigned timeout, uint8_t &sysex_error,
                          uint8_t update_bargraph, uint8_t param_address);
    // Shows the "CVQ9 MIDI Error" box for a failure status.
    void DisplaySysexError(uint8_t sysex_error, const uint8_t *sysex_in);
    // The same box with a text of its own: a request that cannot be built.
    void DisplayRefusedRequest(const std::string &text);

    // Comparing with the controller (cvq9_config_ui_compare.cpp): reads the
    // group range of the preferences from the controller, leaving the tables
    // as they are, and lists what differs. Usable like the transfers: while
    // connected, or offline with both ports chosen, and no operation running.
    void CompareWithController();
    bool DeviceOperationsUsable() const;

    // Transfer workers (status 0..4 lets a loop go on, above 4 stops it).
    uint8_t DownloadSingleToCvQ9(uint8_t update_bargraph, bool type);
    uint8_t UploadSingleFromCvQ9(uint8_t update_bargraph, bool type);
    uint8_t DownloadSelectedParametersToCvQ9();
    uint8_t UploadSelectedParametersFromCvQ9();

    // Notebook, paint, bottom-area buttons.
    void OnNotebookPageChanged(wxNotebookEvent &event);
    void OnDialogPaint(wxPaintEvent &event);
    void OnButtonUploadcurrentfromq9Click(wxCommandEvent &event);
    void OnButtonCheckAllClick(wxCommandEvent &event);
    void OnButtonDownloadcurrenttoq9Click(wxCommandEvent &event);
    void OnButtonCancelClick(wxCommandEvent &event);
    void OnButtonUploadallfromq9Click(wxCommandEvent &event);
    void OnButtonLoadallfromlibClick(wxCommandEvent &event);
    void OnButtonDownloadalltoq9Click(wxCommandEvent &event);
    void OnButtonSavealltolibraryfileClick(wxCommandEvent &event);

    // Preferences tab.
    void OnComboboxMidiInSelected(wxCommandEvent &event);
    void OnComboboxMidiOutSelected(wxCommandEvent &event);
    void OnButtonGetIdentityClick(wxCommandEvent &event);
    void OnButtonFindControllerClick(wxCommandEvent &event);
    void OnCheckboxIgnoreMidiClick(wxCommandEvent &event);
    void OnCheckboxIgnoreLcdClick(wxCommandEvent &event);
    void OnCheckboxProgUndefClick(wxCommandEvent &event);
    void OnCheckboxVerifyAfterDownloadClick(wxCommandEvent &event);
    void OnSpinctrlStartGroupUpdated(wxSpinEvent &event);
    void OnSpinctrlStartGroupTextUpdated(wxCommandEvent &event);
    void OnSpinctrlEndGroupUpdated(wxSpinEvent &event);
    void OnSpinctrlEndGroupTextUpdated(wxCommandEvent &event);
    void OnCheckboxOfflineClick(wxCommandEvent &event);
    void OnChoiceFwOfflineSelected(wxCommandEvent &event);
    void OnChoiceHwOfflineSelected(wxCommandEvent &event);

    // Global parameters tab.
    void OnTextctrGroupNamelUpdated(wxCommandEvent &event);
    void OnCheckboxMergeUsbInClick(wxCommandEvent &event);
    void OnCheckboxMergeUsbOutClick(wxCommandEvent &event);
    void OnCheckboxMergeMidiInClick(wxCommandEvent &event);
    void OnCheckboxMergeMidiOutClick(wxCommandEvent &event);
    void OnRadioboxMidiFilterSelected(wxCommandEvent &event);
    void OnChoiceVideoModeSelected(wxCommandEvent &event);
    void OnChoiceAnalogModeSelected(wxCommandEvent &event);
    void OnCheckboxLfoStateClick(wxCommandEvent &event);
    void OnCheckboxArppStateClick(wxCommandEvent &event);
    void OnCheckboxMotionStateClick(wxCommandEvent &event);
    void OnChoiceCurrentAutomSelected(wxCommandEvent &event);
    void OnChoiceOperatingModeSelected(wxCommandEvent &event);
    void OnCheckboxMackieFaderFbkClick(wxCommandEvent &event);
    void OnCheckboxInfraredStateClick(wxCommandEvent &event);
    void OnCheckboxShiftLockClick(wxCommandEvent &event);
    void OnCheckboxShiftLockChannelClick(wxCommandEvent &event);
    void OnRadioboxShiftModeSelected(wxCommandEvent &event);
    void OnButtonEditCurvesModelsClick(wxCommandEvent &event);

    // Realtime parameters tab.
    void OnCheckboxGenIntSyncClick(wxCommandEvent &event);
    void OnTextctrlTempoUpdated(wxCommandEvent &event);
    void OnCheckboxTempoModeClick(wxCommandEvent &event);
    void OnChoiceExtSyncSrcSelected(wxCommandEvent &event);
    void OnChoiceLfoSyncSelected(wxCommandEvent &event);
    void OnChoiceArppSyncSelected(wxCommandEvent &event);
    void OnChoiceMotionSyncSelected(wxCommandEvent &event);
    void OnCheckboxArppMidiOut1Click(wxCommandEvent &event);
    void OnCheckboxArppMidiOut2Click(wxCommandEvent &event);
    void OnCheckboxArppUsbOutClick(wxCommandEvent &event);
    void OnChoiceArppMidiSrcSelected(wxCommandEvent &event);
    void OnCheckboxMotionLoopClick(wxCommandEvent &event);
    void OnChoiceLfoWaveSelected(wxCommandEvent &event);
    void OnCheckboxS24StateClick(wxCommandEvent &event);
    void OnChoiceS24SyncSelected(wxCommandEvent &event);

    // Common and standard assignment tab.
    void OnCheckboxAutosendClick(wxCommandEvent &event);
    void OnCheckboxSceneexcludeClick(wxCommandEvent &event);
    void OnCheckboxSendtoout1Click(wxCommandEvent &event);
    void OnCheckboxSendtoout2Click(wxCommandEvent &event);
    void OnCheckboxSendtooutusbClick(wxCommandEvent &event);
    void OnRadioboxSwitchmodeSelected(wxCommandEvent &event);
    void OnRadioboxMidieventstdmodeSelected(wxCommandEvent &event);
    void OnSpinctrlCcnotenumberstdmodeUpdated(wxSpinEvent &event);
    void OnSpinctrlCcnotenumberstdmodeTextUpdated(wxCommandEvent &event);

    // User assignment tab.
    void OnRadiobuttonPresetSelected(wxCommandEvent &event);
    void OnComboboxPresetctrlSelected(wxCommandEvent &event);
    void OnComboboxPresetparamctrlSelected(wxCommandEvent &event);
    void OnRadiobuttonStdTemplateSelected(wxCommandEvent &event);
    void OnComboboxStdtemplatectrlSelected(wxCommandEvent &event);
    // Typing in the field above the gear list narrows the list to the gear
    // whose names hold the typed text (any case); Enter chooses the first.
    void OnTextctrlPresetfilterUpdated(wxCommandEvent &event);
    void OnTextctrlPresetfilterEnter(wxCommandEvent &event);
    // The gear list afresh from the preset library, while the preset source
    // is in use (after the user's preset library has changed).
    void RefreshPresetGearList();
    // The template list is filled when its tab is first shown; until then
    // the selector shows the first entry's text alone.
    void FillStdTemplateList();
    // The selector back to its first entry ("User Defined").
    void ResetStdTemplate();
    // The shared body of the checksum spin's two handlers.
    void EditChecksumStart();
    // The label that names a field of the assignment tabs (its undo step too).
    wxStaticText *FieldLabel(AssignField field) const;
    void OnComboboxMididelaySelected(wxCommandEvent &event);
    void OnComboboxChainedctrlnumeroSelected(wxCommandEvent &event);
    void OnCheckboxCrossfadechainClick(wxCommandEvent &event);
    void OnSpinctrlMinValueUpdated(wxSpinEvent &event);
    void OnSpinctrlMinValueTextUpdated(wxCommandEvent &event);
    void OnSpinctrlMaxValueUpdated(wxSpinEvent &event);
    void OnSpinctrlMaxValueTextUpdated(wxCommandEvent &event);
    void OnSpinctrlMidichannelpositionUpdated(wxSpinEvent &event);
    void OnSpinctrlMidichannelpositionTextUpdated(wxCommandEvent &event);
    void OnSpinctrlCtrlvalueposition1Updated(wxSpinEvent &event);
    void OnSpinctrlCtrlvalueposition1TextUpdated(wxCommandEvent &event);
    void OnSpinctrlCtrlvalueposition2Updated(wxSpinEvent &event);
    void OnSpinctrlCtrlvalueposition2TextUpdated(wxCommandEvent &event);
    void OnComboboxCurvemodelSelected(wxCommandEvent &event);
    void OnButtonEditCurveClick(wxCommandEvent &event);
    void OnCheckboxNibbleCtrlClick(wxCommandEvent &event);
    void OnCheckboxEnablechecksumClick(wxCommandEvent &event);
    void OnSpinctrlChecksumfirstbyteUpdated(wxSpinEvent &event);
    void OnSpinctrlChecksumfirstbyteTextUpdated(wxCommandEvent &event);
    void OnTextctrlMidistringUpdated(wxCommandEvent &event);
    void OnTextctrlLcdstringUpdated(wxCommandEvent &event);

    // Validator targets; nothing reads them.
    wxString GetMustBeInt() const { return MustBeInt; }
    void SetMustBeInt(const wxString &value) { MustBeInt = value; }
    wxString GetMustBeAscii() const { return MustBeAscii; }
    void SetMustBeAscii(const wxString &value) { MustBeAscii = value; }

    // Notebook and Preferences tab.
    wxNotebook *wxNotebookPages;
    wxPanel *wxPanelPref;
    wxComboBox *wxComboBoxMidiIn;
    wxComboBox *wxComboBoxMidiOut;
    wxButton *wxButtonGetIdentity;
    wxButton *wxButtonFindController;
    wxStaticText *TEXTCTRL_CurrentFwVersion;
    wxStaticText *TEXTCTRL_CurrentHwVersion;
    wxStaticText *TEXTCTRL_CurrentFwYear;
    wxStaticText *TEXTCTRL_CurrentFwMonth;
    wxStaticText *TEXTCTRL_CurrentFwSerial;
    wxCheckBox *CheckboxIgnoreMIDI;
    wxCheckBox *CheckboxIgnoreLcd;
    wxCheckBox *CheckboxProgUndef;
    wxCheckBox *CheckboxVerifyAfterDownload;
    wxSpinCtrl *wxSpinCtrlStartGroup;
    wxSpinCtrl *wxSpinCtrlEndGroup;
    wxCheckBox *wxCheckBoxOffline;
    wxChoice *wxChoiceFwOffline;
    wxChoice *wxChoiceHwOffline;

    // Global parameters tab.
    wxPanel *wxPanelGlobal;
    wxTextCtrl *wxTextCtrlGroupName;
    wxCheckBox *wxCheckBoxMergeUsbIn;
    wxCheckBox *wxCheckBoxMergeUsbOut;
    wxCheckBox *wxCheckBoxMergeMidiIn;
    wxCheckBox *wxCheckBoxMergeMidiOut;
    wxRadioBox *wxRadioBoxFilterMidi;
    wxChoice *wxChoiceVideoMode;
    wxChoice *wxChoiceAnalogMode;
    wxCheckBox *CheckboxLFOState;
    wxCheckBox *CheckboxArppState;
    wxCheckBox *CheckboxMotionState;
    wxChoice *wxChoiceCurrentAutomation;
    wxChoice *wxChoiceOperatingMode;
    wxCheckBox *wxCheckBoxMackieFadFbkEn;
    wxCheckBox *CheckboxInfraredState;
    wxCheckBox *CheckboxShiftLockMidi;
    wxCheckBox *CheckboxShiftLockChannel;
    wxRadioBox *wxRadioBoxShiftMode;
    wxButton *wxButtonEditCurveModels;

    // Realtime parameters tab.
    wxPanel *wxPanelRealtime;
    wxCheckBox *wxCheckBoxGenIntSync;
    wxTextCtrl *wxTextCtrlTempo;
    wxCheckBox *wxCheckBoxTempoMode;
    wxChoice *wxChoiceExtSyncSrc;
    wxChoice *wxChoiceExtLfoSync;
    wxChoice *wxChoiceExtArppSync;
    wxChoice *wxChoiceExtMotionSync;
    wxCheckBox *CheckboxArppToMidiOut1;
    wxCheckBox *CheckboxArppToMidiOut2;
    wxCheckBox *CheckboxArppToUSB;
    wxChoice *wxChoiceExtArppMIDISrc;
    wxCheckBox *CheckboxMotionLoop;
    wxChoice *wxChoiceLfoWave;
    wxCheckBox *CheckboxSync24Enable;
    wxChoice *wxChoiceSync24Sync;

    // Common and standard assignment tab.
    wxPanel *wxPanelStd;
    wxCheckBox *CheckboxAutosend;
    wxStaticText *wxStaticTextAutosend;
    wxCheckBox *CheckboxSceneExclude;
    wxStaticText *wxStaticTextSceneExclude;
    wxCheckBox *CheckboxSendToOut1;
    wxStaticText *wxStaticTextSendOut1;
    wxCheckBox *CheckboxSendToOut2;
    wxStaticText *wxStaticTextSendOut2;
    wxCheckBox *CheckboxSendToOutUsb;
    wxStaticText *wxStaticTextSendUsb;
    wxStaticText *wxStaticTextSwMode;
    wxRadioBox *RadioBoxSwitchMode;
    wxStaticText *wxStaticTextMidiEvent;
    wxRadioBox *RadioBoxMidiEventStdMode;
    wxStaticText *wxStaticTextCCNtNb;
    wxSpinCtrl *SpinCtrlCcNoteNumberStdMode;

    // User assignment tab.
    wxPanel *wxPanelUser;
    wxRadioButton *wxRadioButtonUsePreset;
    wxTextCtrl *wxTextCtrlPresetFilter;
    wxComboBox *wxComboBoxPresetCtrl;
    wxComboBox *wxComboBoxPresetParamCtrl;
    wxRadioButton *wxRadioButtonUseStdTemplate;
    wxComboBox *wxComboBoxStdTemplateCtrl;
    wxStaticText *wxStaticTextDelayTxt;
    wxStaticText *wxStaticTextChainTxt;
    wxCheckBox *wxCheckBoxCrossfadeChain;
    wxStaticText *wxStaticTextCrossfader;
    wxStaticText *wxStaticTextMinTxt;
    wxStaticText *wxStaticTextMaxTxt;
    wxComboBox *wxComboBoxMidiDelay;
    wxComboBox *wxComboBoxChainedCtrlNumero;
    wxSpinCtrl *SpinCtrlMinValue;
    wxSpinCtrl *SpinCtrlMaxValue;
    wxStaticText *wxStaticTextChannelTxt;
    wxStaticText *wxStaticTextVal1Txt;
    wxStaticText *wxStaticTextVal2Txt;
    wxStaticText *wxStaticTextCurveTxt;
    wxCheckBox *wxCheckBoxNibbleCtrl;
    wxStaticText *wxStaticTextSplit;
    wxSpinCtrl *wxSpinCtrlMidiChannelPosition;
    wxSpinCtrl *wxSpinCtrlCtrlValuePosition1;
    wxSpinCtrl *wxSpinCtrlCtrlValuePosition2;
    wxComboBox *wxComboBoxCurveModel;
    wxButton *wxButtonEditCurve;
    wxCheckBox *wxCheckBoxEnableChecksum;
    wxStaticText *wxStaticTextChecksumEn;
    wxStaticText *wxStaticTextCsStartTxt;
    wxSpinCtrl *wxSpinCtrlChecksumFirstByte;
    wxStaticText *wxStaticTextMidiStrTxt;
    wxTextCtrl *wxTextCtrlMidiString;
    wxStaticText *wxStaticTextLenghtTxt;
    wxStaticText *wxStaticTextMidiStrLenght;
    wxStaticText *wxStaticTextLcdTxt;
    wxTextCtrl *wxTextCtrlLcdString;

    // Bottom area.
    wxStaticText *wxStaticTextCtrlNb;
    wxStaticText *wxStaticTextGrpTest;
    wxStaticText *wxStaticTextGroupNb;
    wxButton *wxButtonUploadCurrentFromQ9;
    wxButton *wxButtonCheckAll;
    wxButton *wxButtonDownloadCurrentToQ9;
    wxButton *wxButtonCancel;
    wxButton *wxButtonUploadAllFromQ9;
    wxButton *wxButtonLoadAllFromLib;
    wxButton *wxButtonDownloadAllToQ9;
    wxButton *wxButtonSaveAllToLibraryFile;
    wxStaticText *wxStaticTextLib;
    wxStaticText *wxStaticTextLibraryFile;
    wxGauge *GAUGE_Bargraph;

    // Validator transfer targets.
    wxString MustBeInt;
    wxString MustBeAscii;

    // Lists the differences of `parts` between the tables and `other`, the
    // controller's configuration or a file's, or says there is none with
    // `all_match` (cvq9_config_ui_compare.cpp).
    void ShowDifferences(const ConfigImage &other, const std::vector<ComparedPart> &parts, const wxString &caption,
                         const wxString &all_match, bool from_file = false);

private:
    // The frame of every operation on the assignments: `programming` set,
    // the ports open while `work` runs, and what the user looks at restored
    // at the end (cvq9_config_ui_transfers.cpp).
    void RunDeviceOperation(int gauge_range, bool clear_gauge, const std::function<void()> &work);
    // Common frame of the four transfer buttons, and their two kinds of work.
    void RunTransfer(bool all, bool upload);
    // False, after saying why, when the transfer would move no assignment:
    // both ignore boxes of the preferences are checked.
    bool AssignmentTransferHasWork(bool all);
    // Shows the identity in serial_nb as the controller's: versions, date,
    // serial, the offline choices, the version-dependent widgets, the panel.
    void ShowIdentity();
    // The first step of every device operation: programming is set, only
    // Cancel stays usable.
    void BeginDeviceOperation();
    // The last step of every device operation, once programming is clear: the
    // gauge goes back to empty.
    void EndDeviceOperation();
    void TransferSelection(bool upload);
    void TransferAll(bool upload);

    // Inside a device operation: reads `parts` from the controller with the
    // upload workers and gives the controller's configuration, then puts the
    // tables, the unsaved flag and the tabs back as they were; nothing when
    // the reading was stopped or failed (cvq9_config_ui_compare.cpp).
    std::optional<ConfigImage> ReadControllerImage(const std::vector<ComparedPart> &parts);

    // What the running download wrote, and whether an exchange of it failed.
    std::vector<ComparedPart> written_;
    bool write_failed_ = false;

    // Roster helpers (cvq9_config_ui_roster.cpp).
    void CreatePages();
    void CreatePreferencesTab();
    void CreateGlobalTab(wxWindow *p);
    void CreateRealtimeTab(wxWindow *p);
    void CreateStdAssignTab(wxWindow *p);
    void CreateUserAssignTab(wxWindow *p);
    void CreateBottomArea(wxSizer *top);
    void InstallValidators();
    // Tightens the native look of the spin controls, buttons and text fields
    // among `windows` so that the tabs hold their rows at the panel's size.
    static void CompactNativeStyle(const wxWindowList &windows);
    void LoadPresets();
    // Fills the gear list with the library's gear that the filter field lets
    // through; a chosen gear stays chosen while it is listed.
    void FillPresetGearList();

    // Reads an offline version choice into serial_nb[first], serial_nb[first + 1],
    // the version number and its display (cvq9_config_ui_prefs.cpp).
    void ApplyOfflineVersion(wxChoice *choice, unsigned first, float &version, wxStaticText *display);
    // Number of characters now in the MIDI string field (0 while it does not exist).
    size_t MidiStringFieldLength() const;
};

// The one editor panel of the program, set at start-up.
extern cvq9_config_ui *pui;

#endif
