// Editor panel: the widget roster of the five tabs and the bottom area, their
// layout, validators and handler bindings, and the preset library load.
#include "cvq9_config_ui.h"
#include "device_text.h"

#include "checked_cast.h"

#include <string>
#include <vector>

#include <wx/font.h>
#include <wx/frame.h>
#include <wx/gbsizer.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/toplevel.h>
#include <wx/valtext.h>

#include "compact_look.h"
#include "control_roster.h"
#include "edit_history.h"
#include "libconv.h"
#include "light_surface.h"
#include "templates.h"
#include "user_presets.h"

wxBEGIN_EVENT_TABLE(cvq9_config_ui, wxPanel)
    EVT_NOTEBOOK_PAGE_CHANGED(ID_NOTEBOOK_PAGES, cvq9_config_ui::OnNotebookPageChanged)
    EVT_PAINT(cvq9_config_ui::OnDialogPaint)

    // Preferences.
    EVT_COMBOBOX(ID_COMBOBOX_MIDI_IN, cvq9_config_ui::OnComboboxMidiInSelected)
    EVT_COMBOBOX(ID_COMBOBOX_MIDI_OUT, cvq9_config_ui::OnComboboxMidiOutSelected)
    EVT_BUTTON(ID_BUTTON_GET_IDENTITY, cvq9_config_ui::OnButtonGetIdentityClick)
    EVT_BUTTON(ID_BUTTON_FIND_CONTROLLER, cvq9_config_ui::OnButtonFindControllerClick)
    EVT_CHECKBOX(ID_CHECKBOX_IGNORE_MIDI, cvq9_config_ui::OnCheckboxIgnoreMidiClick)
    EVT_CHECKBOX(ID_CHECKBOX_IGNORE_LCD, cvq9_config_ui::OnCheckboxIgnoreLcdClick)
    EVT_CHECKBOX(ID_CHECKBOX_PROG_UNDEF, cvq9_config_ui::OnCheckboxProgUndefClick)
    EVT_CHECKBOX(ID_CHECKBOX_VERIFY_AFTER_DOWNLOAD, cvq9_config_ui::OnCheckboxVerifyAfterDownloadClick)
    EVT_SPINCTRL(ID_SPINCTRL_START_GROUP, cvq9_config_ui::OnSpinctrlStartGroupUpdated)
    EVT_TEXT(ID_SPINCTRL_START_GROUP, cvq9_config_ui::OnSpinctrlStartGroupTextUpdated)
    EVT_SPINCTRL(ID_SPINCTRL_END_GROUP, cvq9_config_ui::OnSpinctrlEndGroupUpdated)
    EVT_TEXT(ID_SPINCTRL_END_GROUP, cvq9_config_ui::OnSpinctrlEndGroupTextUpdated)
    EVT_CHECKBOX(ID_CHECKBOX_OFFLINE, cvq9_config_ui::OnCheckboxOfflineClick)
    EVT_CHOICE(ID_CHOICE_FW_OFFLINE, cvq9_config_ui::OnChoiceFwOfflineSelected)
    EVT_CHOICE(ID_CHOICE_HW_OFFLINE, cvq9_config_ui::OnChoiceHwOfflineSelected)

    // Global parameters.
    EVT_TEXT(ID_TEXTCTRL_GROUP_NAME, cvq9_config_ui::OnTextctrGroupNamelUpdated)
    EVT_CHECKBOX(ID_CHECKBOX_MERGE_USB_IN, cvq9_config_ui::OnCheckboxMergeUsbInClick)
    EVT_CHECKBOX(ID_CHECKBOX_MERGE_USB_OUT, cvq9_config_ui::OnCheckboxMergeUsbOutClick)
    EVT_CHECKBOX(ID_CHECKBOX_MERGE_MIDI_IN, cvq9_config_ui::OnCheckboxMergeMidiInClick)
    EVT_CHECKBOX(ID_CHECKBOX_MERGE_MIDI_OUT, cvq9_config_ui::OnCheckboxMergeMidiOutClick)
    EVT_RADIOBOX(ID_RADIOBOX_MIDI_FILTER, cvq9_config_ui::OnRadioboxMidiFilterSelected)
    EVT_CHOICE(ID_CHOICE_VIDEO_MODE, cvq9_config_ui::OnChoiceVideoModeSelected)
    EVT_CHOICE(ID_CHOICE_ANALOG_MODE, cvq9_config_ui::OnChoiceAnalogModeSelected)
    EVT_CHECKBOX(ID_CHECKBOX_LFO_STATE, cvq9_config_ui::OnCheckboxLfoStateClick)
    EVT_CHECKBOX(ID_CHECKBOX_ARPP_STATE, cvq9_config_ui::OnCheckboxArppStateClick)
    EVT_CHECKBOX(ID_CHECKBOX_MOTION_STATE, cvq9_config_ui::OnCheckboxMotionStateClick)
    EVT_CHOICE(ID_CHOICE_CURRENT_AUTOM, cvq9_config_ui::OnChoiceCurrentAutomSelected)
    EVT_CHOICE(ID_CHOICE_OPERATING_MODE, cvq9_config_ui::OnChoiceOperatingModeSelected)
    EVT_CHECKBOX(ID_CHECKBOX_MACKIE_FADER_FBK, cvq9_config_ui::OnCheckboxMackieFaderFbkClick)
    EVT_CHECKBOX(ID_CHECKBOX_INFRARED_STATE, cvq9_config_ui::OnCheckboxInfraredStateClick)
    EVT_CHECKBOX(ID_CHECKBOX_SHIFT_LOCK, cvq9_config_ui::OnCheckboxShiftLockClick)
    EVT_CHECKBOX(ID_CHECKBOX_SHIFT_LOCK_CHANNEL, cvq9_config_ui::OnCheckboxShiftLockChannelClick)
    EVT_RADIOBOX(ID_RADIOBOX_SHIFT_MODE, cvq9_config_ui::OnRadioboxShiftModeSelected)
    EVT_BUTTON(ID_BUTTON_EDIT_CURVES_MODELS, cvq9_config_ui::OnButtonEditCurvesModelsClick)

    // Realtime parameters.
    EVT_CHECKBOX(ID_CHECKBOX_GEN_INT_SYNC, cvq9_config_ui::OnCheckboxGenIntSyncClick)
    EVT_TEXT(ID_TEXTCTRL_TEMPO, cvq9_config_ui::OnTextctrlTempoUpdated)
    EVT_CHECKBOX(ID_CHECKBOX_TEMPO_MODE, cvq9_config_ui::OnCheckboxTempoModeClick)
    EVT_CHOICE(ID_CHOICE_EXT_SYNC_SRC, cvq9_config_ui::OnChoiceExtSyncSrcSelected)
    EVT_CHOICE(ID_CHOICE_LFO_SYNC, cvq9_config_ui::OnChoiceLfoSyncSelected)
    EVT_CHOICE(ID_CHOICE_ARPP_SYNC, cvq9_config_ui::OnChoiceArppSyncSelected)
    EVT_CHOICE(ID_CHOICE_MOTION_SYNC, cvq9_config_ui::OnChoiceMotionSyncSelected)
    EVT_CHECKBOX(ID_CHECKBOX_ARPP_MIDI_OUT1, cvq9_config_ui::OnCheckboxArppMidiOut1Click)
    EVT_CHECKBOX(ID_CHECKBOX_ARPP_MIDI_OUT2, cvq9_config_ui::OnCheckboxArppMidiOut2Click)
    EVT_CHECKBOX(ID_CHECKBOX_ARPP_USB_OUT, cvq9_config_ui::OnCheckboxArppUsbOutClick)
    EVT_CHOICE(ID_CHOICE_ARPP_MIDI_SRC, cvq9_config_ui::OnChoiceArppMidiSrcSelected)
    EVT_CHECKBOX(ID_CHECKBOX_MOTION_LOOP, cvq9_config_ui::OnCheckboxMotionLoopClick)
    EVT_CHOICE(ID_CHOICE_LFO_WAVE, cvq9_config_ui::OnChoiceLfoWaveSelected)
    EVT_CHECKBOX(ID_CHECKBOX_S24_STATE, cvq9_config_ui::OnCheckboxS24StateClick)
    EVT_CHOICE(ID_CHOICE_S24_SYNC, cvq9_config_ui::OnChoiceS24SyncSelected)

    // Common and standard assignments.
    EVT_CHECKBOX(ID_CHECKBOX_AUTOSEND, cvq9_config_ui::OnCheckboxAutosendClick)
    EVT_CHECKBOX(ID_CHECKBOX_SCENEEXCLUDE, cvq9_config_ui::OnCheckboxSceneexcludeClick)
    EVT_CHECKBOX(ID_CHECKBOX_SENDTOOUT1, cvq9_config_ui::OnCheckboxSendtoout1Click)
    EVT_CHECKBOX(ID_CHECKBOX_SENDTOOUT2, cvq9_config_ui::OnCheckboxSendtoout2Click)
    EVT_CHECKBOX(ID_CHECKBOX_SENDTOOUTUSB, cvq9_config_ui::OnCheckboxSendtooutusbClick)
    EVT_RADIOBOX(ID_RADIOBOX_SWITCHMODE, cvq9_config_ui::OnRadioboxSwitchmodeSelected)
    EVT_RADIOBOX(ID_RADIOBOX_MIDIEVENTSTDMODE, cvq9_config_ui::OnRadioboxMidieventstdmodeSelected)
    EVT_SPINCTRL(ID_SPINCTRL_CCNOTENUMBERSTDMODE, cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeUpdated)
    EVT_TEXT(ID_SPINCTRL_CCNOTENUMBERSTDMODE, cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeTextUpdated)

    // User assignments.
    EVT_RADIOBUTTON(ID_RADIOBUTTON_PRESET, cvq9_config_ui::OnRadiobuttonPresetSelected)
    EVT_COMBOBOX(ID_COMBOBOX_PRESETCTRL, cvq9_config_ui::OnComboboxPresetctrlSelected)
    EVT_COMBOBOX(ID_COMBOBOX_PRESETPARAMCTRL, cvq9_config_ui::OnComboboxPresetparamctrlSelected)
    EVT_RADIOBUTTON(ID_RADIOBUTTON_STD_TEMPLATE, cvq9_config_ui::OnRadiobuttonStdTemplateSelected)
    EVT_COMBOBOX(ID_COMBOBOX_STDTEMPLATECTRL, cvq9_config_ui::OnComboboxStdtemplatectrlSelected)
    EVT_TEXT(ID_TEXTCTRL_PRESETFILTER, cvq9_config_ui::OnTextctrlPresetfilterUpdated)
    EVT_TEXT_ENTER(ID_TEXTCTRL_PRESETFILTER, cvq9_config_ui::OnTextctrlPresetfilterEnter)
    EVT_COMBOBOX(ID_COMBOBOX_MIDIDELAY, cvq9_config_ui::OnComboboxMididelaySelected)
    EVT_COMBOBOX(ID_COMBOBOX_CHAINEDCTRLNUMERO, cvq9_config_ui::OnComboboxChainedctrlnumeroSelected)
    EVT_CHECKBOX(ID_CHECKBOX_CROSSFADECHAIN, cvq9_config_ui::OnCheckboxCrossfadechainClick)
    EVT_SPINCTRL(ID_SPINCTRL_MIN_VALUE, cvq9_config_ui::OnSpinctrlMinValueUpdated)
    EVT_TEXT(ID_SPINCTRL_MIN_VALUE, cvq9_config_ui::OnSpinctrlMinValueTextUpdated)
    EVT_SPINCTRL(ID_SPINCTRL_MAX_VALUE, cvq9_config_ui::OnSpinctrlMaxValueUpdated)
    EVT_TEXT(ID_SPINCTRL_MAX_VALUE, cvq9_config_ui::OnSpinctrlMaxValueTextUpdated)
    EVT_SPINCTRL(ID_SPINCTRL_MIDICHANNELPOSITION, cvq9_config_ui::OnSpinctrlMidichannelpositionUpdated)
    EVT_TEXT(ID_SPINCTRL_MIDICHANNELPOSITION, cvq9_config_ui::OnSpinctrlMidichannelpositionTextUpdated)
    EVT_SPINCTRL(ID_SPINCTRL_CTRLVALUEPOSITION1, cvq9_config_ui::OnSpinctrlCtrlvalueposition1Updated)
    EVT_TEXT(ID_SPINCTRL_CTRLVALUEPOSITION1, cvq9_config_ui::OnSpinctrlCtrlvalueposition1TextUpdated)
    EVT_SPINCTRL(ID_SPINCTRL_CTRLVALUEPOSITION2, cvq9_config_ui::OnSpinctrlCtrlvalueposition2Updated)
    EVT_TEXT(ID_SPINCTRL_CTRLVALUEPOSITION2, cvq9_config_ui::OnSpinctrlCtrlvalueposition2TextUpdated)
    EVT_COMBOBOX(ID_COMBOBOX_CURVEMODEL, cvq9_config_ui::OnComboboxCurvemodelSelected)
    EVT_BUTTON(ID_BUTTON_EDIT_CURVE, cvq9_config_ui::OnButtonEditCurveClick)
    EVT_CHECKBOX(ID_CHECKBOX_NIBBLE_CTRL, cvq9_config_ui::OnCheckboxNibbleCtrlClick)
    EVT_CHECKBOX(ID_CHECKBOX_ENABLECHECKSUM, cvq9_config_ui::OnCheckboxEnablechecksumClick)
    EVT_SPINCTRL(ID_SPINCTRL_CHECKSUMFIRSTBYTE, cvq9_config_ui::OnSpinctrlChecksumfirstbyteUpdated)
    EVT_TEXT(ID_SPINCTRL_CHECKSUMFIRSTBYTE, cvq9_config_ui::OnSpinctrlChecksumfirstbyteTextUpdated)
    EVT_TEXT(ID_TEXTCTRL_MIDISTRING, cvq9_config_ui::OnTextctrlMidistringUpdated)
    EVT_TEXT(ID_TEXTCTRL_LCDSTRING, cvq9_config_ui::OnTextctrlLcdstringUpdated)

    // Bottom area.
    EVT_BUTTON(ID_BUTTON_UPLOADCURRENTFROMQ9, cvq9_config_ui::OnButtonUploadcurrentfromq9Click)
    EVT_BUTTON(ID_BUTTON_CHECK_ALL, cvq9_config_ui::OnButtonCheckAllClick)
    EVT_BUTTON(ID_BUTTON_DOWNLOADCURRENTTOQ9, cvq9_config_ui::OnButtonDownloadcurrenttoq9Click)
    EVT_BUTTON(ID_BUTTON_CANCEL, cvq9_config_ui::OnButtonCancelClick)
    EVT_BUTTON(ID_BUTTON_UPLOADALLFROMQ9, cvq9_config_ui::OnButtonUploadallfromq9Click)
    EVT_BUTTON(ID_BUTTON_LOADALLFROMLIB, cvq9_config_ui::OnButtonLoadallfromlibClick)
    EVT_BUTTON(ID_BUTTON_DOWNLOADALLTOQ9, cvq9_config_ui::OnButtonDownloadalltoq9Click)
    EVT_BUTTON(ID_BUTTON_SAVEALLTOLIBRARYFILE, cvq9_config_ui::OnButtonSavealltolibraryfileClick)
wxEND_EVENT_TABLE()

namespace {

// Gaps of the layout, in pixels.
constexpr int kGap = 4;
constexpr int kColumnGap = 10;

wxFont PanelFont()
{
    return wxFont(8, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, wxT("Sans"));
}

// The font of the group name, MIDI string and LCD string fields.
wxFont FieldFont()
{
    return wxFont(10, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, wxT("Fixedsys"));
}

wxString Text(const char *text)
{
    return DeviceText(text);
}

wxArrayString Items(std::initializer_list<const char *> texts)
{
    wxArrayString items;
    for (const char *text : texts)
        items.Add(Text(text));
    return items;
}

// A tooltip and the same context help text.
void Tip(wxWindow *window, const char *text)
{
    window->SetToolTip(Text(text));
    window->SetHelpText(Text(text));
}

wxStaticText *Label(wxWindow *parent, const char *text)
{
    return new wxStaticText(parent, wxID_STATIC, Text(text));
}

wxStaticLine *HLine(wxWindow *parent)
{
    return new wxStaticLine(parent, wxID_STATIC, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
}

wxStaticLine *VLine(wxWindow *parent)
{
    return new wxStaticLine(parent, wxID_STATIC, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL);
}

wxCheckBox *Check(wxWindow *parent, int id, const char *label, bool on)
{
    wxCheckBox *box = new wxCheckBox(parent, id, Text(label));
    box->SetValue(on);
    return box;
}

wxChoice *Choice(wxWindow *parent, int id, std::initializer_list<const char *> items)
{
    wxChoice *choice = new wxChoice(parent, id, wxDefaultPosition, wxDefaultSize, Items(items));
    choice->SetSelection(0);
    return choice;
}

wxSpinCtrl *Spin(wxWindow *parent, int id, int min, int max, int initial, bool wrap)
{
    const long style = wxSP_ARROW_KEYS | (wrap ? wxSP_WRAP : 0);
    return new wxSpinCtrl(parent, id, wxString::Format(wxT("%d"), initial), wxDefaultPosition, wxDefaultSize, style,
                          min, max, initial);
}

wxButton *Button(wxWindow *parent, int id, const char *label, const wxSize &size = wxDefaultSize, long style = 0)
{
    return new wxButton(parent, id, Text(label), wxDefaultPosition, size, style);
}

wxTextCtrl *TextField(wxWindow *parent, int id, int width, long style = 0)
{
    return new wxTextCtrl(parent, id, wxEmptyString, wxDefaultPosition, wxSize(width, -1), style);
}

wxRadioBox *Radio(wxWindow *parent, int id, const char *caption, std::initializer_list<const char *> items,
                  long major_style)
{
    wxRadioBox *box =
        new wxRadioBox(parent, id, Text(caption), wxDefaultPosition, wxDefaultSize, Items(items), 1, major_style);
    box->SetForegroundColour(*wxBLACK);
    return box;
}

// A combo box of a fixed width with its list. The list goes in after the
// box is made: made with it, the box would measure every entry's text for a
// width that the fixed width overrides anyway; the height does not depend on
// the entries.
wxComboBox *FixedWidthCombo(wxWindow *parent, int id, const wxString &value, int width, const wxArrayString &items)
{
    wxComboBox *box =
        new wxComboBox(parent, id, value, wxDefaultPosition, wxSize(width, -1), wxArrayString(), wxCB_DROPDOWN);
    box->Append(items);
    return box;
}

// A tab page: sunken border, tab traversal, the panel font, a tooltip.
wxPanel *Page(wxNotebook *book, int id, const char *tooltip)
{
    wxPanel *page = new wxPanel(book, id, wxDefaultPosition, wxDefaultSize, wxSUNKEN_BORDER | wxTAB_TRAVERSAL);
    page->SetFont(PanelFont());
    Tip(page, tooltip);
    return page;
}

// Accepts only the digits "0" to "9" typed into a spin control (the text
// validator of the toolkit serves text controls and combo boxes only) and
// copies the control's text into its target string on transfer.
class SpinDigitsValidator : public wxValidator
{
public:
    explicit SpinDigitsValidator(wxString *target) : target_(target)
    {
        Bind(wxEVT_CHAR, &SpinDigitsValidator::OnChar, this);
    }
    SpinDigitsValidator(const SpinDigitsValidator &other) : wxValidator(), target_(other.target_)
    {
        Bind(wxEVT_CHAR, &SpinDigitsValidator::OnChar, this);
    }
    wxObject *Clone() const override { return new SpinDigitsValidator(*this); }
    bool Validate(wxWindow *) override { return true; }
    bool TransferToWindow() override { return true; }
    bool TransferFromWindow() override
    {
        wxSpinCtrl *spin = CheckedCast<wxSpinCtrl>(GetWindow());
        if (spin && target_)
            *target_ = wxString::Format(wxT("%d"), spin->GetValue());
        return true;
    }

private:
    void OnChar(wxKeyEvent &event)
    {
        const int key = event.GetKeyCode();
        // Navigation and editing keys, and anything with a modifier, pass.
        if (key < WXK_SPACE || key == WXK_DELETE || key >= WXK_START || event.HasModifiers()) {
            event.Skip();
            return;
        }
        if (key >= '0' && key <= '9')
            event.Skip();
    }

    wxString *target_;
};

wxTextValidator CharListValidator(const wxString &characters, wxString *target)
{
    wxTextValidator validator(wxFILTER_INCLUDE_CHAR_LIST, target);
    validator.SetCharIncludes(characters);
    return validator;
}

}  // namespace

void cvq9_config_ui::CreateControls()
{
    SetFont(PanelFont());
    // The whole panel, notebook and bottom area, is one light surface.
    SetBackgroundColour(LightSurfaceColour());
    wxBoxSizer *top = new wxBoxSizer(wxVERTICAL);
    SetSizer(top);

    wxNotebookPages =
        new wxNotebook(this, ID_NOTEBOOK_PAGES, wxDefaultPosition, wxSize(800, -1), wxBK_DEFAULT | wxBORDER_DOUBLE);
    wxNotebookPages->SetFont(PanelFont());
    wxNotebookPages->SetBackgroundColour(LightSurfaceColour());
    UseCompactLook(wxNotebookPages, CompactKind::Tabs);
    top->Add(wxNotebookPages, 1, wxLEFT | wxRIGHT, 0);
    CreatePages();

    CreatePreferencesTab();
    CreateGlobalTab(wxPanelGlobal);
    CreateRealtimeTab(wxPanelRealtime);
    CreateStdAssignTab(wxPanelStd);
    CreateUserAssignTab(wxPanelUser);
    CreateBottomArea(top);
    for (wxWindow *page : {static_cast<wxWindow *>(this), static_cast<wxWindow *>(wxPanelPref),
                           static_cast<wxWindow *>(wxPanelGlobal), static_cast<wxWindow *>(wxPanelRealtime),
                           static_cast<wxWindow *>(wxPanelStd), static_cast<wxWindow *>(wxPanelUser)})
        CompactNativeStyle(page->GetChildren());
    wxTextCtrlPresetFilter->Enable(false);
    wxComboBoxPresetCtrl->Enable(false);
    wxComboBoxPresetParamCtrl->Enable(false);
    // Typing in a field is one step of the history until the field is left.
    for (wxWindow *field : std::initializer_list<wxWindow *>{
             SpinCtrlCcNoteNumberStdMode, SpinCtrlMinValue, SpinCtrlMaxValue, wxSpinCtrlMidiChannelPosition,
             wxSpinCtrlCtrlValuePosition1, wxSpinCtrlCtrlValuePosition2, wxSpinCtrlChecksumFirstByte,
             wxTextCtrlMidiString, wxTextCtrlLcdString, wxTextCtrlGroupName, wxTextCtrlTempo})
        field->Bind(wxEVT_KILL_FOCUS, [](wxFocusEvent &event) {
            EditHistory().CloseMerging();
            event.Skip();
        });
    InstallValidators();
    DarkTextOn(this);
    Layout();
    LoadPresets();
}

void cvq9_config_ui::CreatePages()
{
    wxPanelPref = Page(wxNotebookPages, ID_PANEL_PREF, "Select your preference in this tab");
    wxNotebookPages->AddPage(wxPanelPref, wxT("Preferences"));
    wxPanelGlobal = Page(wxNotebookPages, ID_PANEL_GLOBAL, "Configure the Corvana Q9 global parameters in this tab");
    wxNotebookPages->AddPage(wxPanelGlobal, wxT("Global parameters"));
    wxPanelRealtime =
        Page(wxNotebookPages, ID_PANEL_REALTIME, "Configure the Corvana Q9 realtime parameters in this tab");
    wxNotebookPages->AddPage(wxPanelRealtime, wxT("Realtime parameters"));
    wxPanelStd = Page(wxNotebookPages, ID_PANEL_STD,
                      "Configure the Corvana Q9 assignments for Standard mode in this tab, also Configure the "
                      "Corvana Q9 assignments common to Standard, User and Mackie modes");
    wxNotebookPages->AddPage(wxPanelStd, wxT("Assign Common && Standard mode"));
    wxPanelUser =
        Page(wxNotebookPages, ID_PANEL_USER, "Configure the Corvana Q9 assignments for User mode in this tab");
    wxNotebookPages->AddPage(wxPanelUser, wxT("Assign User && Mackie/Logic modes"));
}

void cvq9_config_ui::CreatePreferencesTab()
{
    wxWindow *p = wxPanelPref;
    wxBoxSizer *page = new wxBoxSizer(wxVERTICAL);
    p->SetSizer(page);

    // Ports and the identity request.
    wxBoxSizer *ports_row = new wxBoxSizer(wxHORIZONTAL);
    page->Add(ports_row, 0, wxALL, kGap);
    wxFlexGridSizer *ports = new wxFlexGridSizer(2, 2, 0, kColumnGap);
    ports_row->Add(ports, 0, wxALIGN_BOTTOM);
    ports->Add(Label(p, "Midi In"));
    ports->Add(Label(p, "Midi Out"));
    wxComboBoxMidiIn = new wxComboBox(p, ID_COMBOBOX_MIDI_IN, wxEmptyString, wxDefaultPosition, wxSize(180, -1),
                                      wxArrayString(), wxCB_READONLY);
    ports->Add(wxComboBoxMidiIn);
    wxComboBoxMidiOut = new wxComboBox(p, ID_COMBOBOX_MIDI_OUT, wxEmptyString, wxDefaultPosition, wxSize(180, -1),
                                       wxArrayString(), wxCB_READONLY);
    ports->Add(wxComboBoxMidiOut);
    wxButtonGetIdentity = Button(p, ID_BUTTON_GET_IDENTITY, "Connect to CVQ9 ...");
    wxButtonGetIdentity->SetDefault();
    Tip(wxButtonGetIdentity, "Click here to retriewe Corvana Q9 information");
    ports_row->Add(wxButtonGetIdentity, 0, wxALIGN_BOTTOM | wxLEFT, 2 * kColumnGap);
    wxButtonFindController = Button(p, ID_BUTTON_FIND_CONTROLLER, "Find");
    Tip(wxButtonFindController, "Click here to find the ports of the Corvana Q9");
    ports_row->Add(wxButtonFindController, 0, wxALIGN_BOTTOM | wxLEFT, kColumnGap);

    // Identity display.
    wxFlexGridSizer *identity = new wxFlexGridSizer(2, 5, 0, 3 * kColumnGap);
    page->Add(identity, 0, wxLEFT | wxRIGHT | wxBOTTOM, kGap);
    identity->Add(Label(p, "Firmware"));
    identity->Add(Label(p, "Hardware"));
    identity->Add(Label(p, "Year"));
    identity->Add(Label(p, "Month"));
    identity->Add(Label(p, "Serial"));
    TEXTCTRL_CurrentFwVersion = Label(p, "-");
    TEXTCTRL_CurrentHwVersion = Label(p, "-");
    TEXTCTRL_CurrentFwYear = Label(p, "-");
    TEXTCTRL_CurrentFwMonth = Label(p, "-");
    TEXTCTRL_CurrentFwSerial = Label(p, "-");
    for (wxStaticText *value : {TEXTCTRL_CurrentFwVersion, TEXTCTRL_CurrentHwVersion, TEXTCTRL_CurrentFwYear,
                                TEXTCTRL_CurrentFwMonth, TEXTCTRL_CurrentFwSerial})
        identity->Add(value);

    page->Add(HLine(p), 0, wxEXPAND | wxLEFT | wxRIGHT, kGap);

    wxBoxSizer *options = new wxBoxSizer(wxHORIZONTAL);
    page->Add(options, 0, wxALL, kGap);

    // Transfer options.
    wxBoxSizer *ignore = new wxBoxSizer(wxVERTICAL);
    options->Add(ignore, 0, wxRIGHT, kColumnGap);
    CheckboxIgnoreMIDI = Check(p, ID_CHECKBOX_IGNORE_MIDI, "Ignore MIDI assignments Programming/Uploading", false);
    ignore->Add(CheckboxIgnoreMIDI, 0, wxBOTTOM, kGap);
    CheckboxIgnoreLcd = Check(p, ID_CHECKBOX_IGNORE_LCD, "Ignore LCD strings Programming/Uploading", false);
    Tip(CheckboxIgnoreLcd, "Click here to ignore Programming/Uploading of LCD strings");
    ignore->Add(CheckboxIgnoreLcd, 0, wxBOTTOM, kGap);
    CheckboxProgUndef = Check(p, ID_CHECKBOX_PROG_UNDEF, "Force programming undefined controls", true);
    Tip(CheckboxProgUndef, "Select to force programming of undefined controls");
    ignore->Add(CheckboxProgUndef, 0, wxBOTTOM, kGap);
    CheckboxVerifyAfterDownload = Check(p, ID_CHECKBOX_VERIFY_AFTER_DOWNLOAD, "Verify after download", false);
    Tip(CheckboxVerifyAfterDownload, "Select to read back and compare what a download wrote to the Corvana Q9");
    ignore->Add(CheckboxVerifyAfterDownload);

    // Group range.
    options->Add(VLine(p), 0, wxEXPAND | wxRIGHT, kColumnGap);
    wxBoxSizer *range = new wxBoxSizer(wxVERTICAL);
    options->Add(range, 0, wxRIGHT, kColumnGap);
    range->Add(Label(p, "Limit group range :"), 0, wxBOTTOM, kGap);
    wxFlexGridSizer *range_grid = new wxFlexGridSizer(2, 2, kGap, kGap);
    range->Add(range_grid);
    range_grid->Add(Label(p, "From Goup"), 0, wxALIGN_CENTER_VERTICAL);
    wxSpinCtrlStartGroup = Spin(p, ID_SPINCTRL_START_GROUP, 0, 20, 0, false);
    Tip(wxSpinCtrlStartGroup, "Enter here the first group to upload/download");
    range_grid->Add(wxSpinCtrlStartGroup);
    range_grid->Add(Label(p, "To Goup"), 0, wxALIGN_CENTER_VERTICAL);
    wxSpinCtrlEndGroup = Spin(p, ID_SPINCTRL_END_GROUP, 0, 20, 20, false);
    Tip(wxSpinCtrlEndGroup, "Enter here the latest group to upload/download");
    range_grid->Add(wxSpinCtrlEndGroup);

    // Offline mode.
    options->Add(VLine(p), 0, wxEXPAND | wxRIGHT, kColumnGap);
    wxBoxSizer *offline = new wxBoxSizer(wxVERTICAL);
    options->Add(offline);
    wxCheckBoxOffline = Check(p, ID_CHECKBOX_OFFLINE, "Offline mode", false);
    wxCheckBoxOffline->SetToolTip(Text("Check this box to allow working offline (No Corvana connected)"));
    wxCheckBoxOffline->SetHelpText(Text("Check this box to allow working offline  (No Corvana connected)"));
    offline->Add(wxCheckBoxOffline, 0, wxBOTTOM, kGap);
    wxFlexGridSizer *versions = new wxFlexGridSizer(2, 2, kGap, kGap);
    offline->Add(versions);
    versions->Add(Label(p, "Firmware"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceFwOffline = new wxChoice(p, ID_CHOICE_FW_OFFLINE, wxDefaultPosition, wxDefaultSize,
                                     Items({"1.0", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6"}));
    wxChoiceFwOffline->SetSelection(6);
    wxChoiceFwOffline->Enable(false);
    Tip(wxChoiceFwOffline, "Select here the firmware version of your Corvana Q9");
    versions->Add(wxChoiceFwOffline);
    versions->Add(Label(p, "Hardware"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceHwOffline =
        new wxChoice(p, ID_CHOICE_HW_OFFLINE, wxDefaultPosition, wxDefaultSize, Items({"1.0", "1.1", "1.2", "2.0"}));
    wxChoiceHwOffline->SetSelection(3);
    wxChoiceHwOffline->Enable(false);
    Tip(wxChoiceHwOffline, "Select here the hardware version of your Corvana Q9");
    versions->Add(wxChoiceHwOffline);
}

void cvq9_config_ui::CreateGlobalTab(wxWindow *p)
{
    wxBoxSizer *columns = new wxBoxSizer(wxHORIZONTAL);
    p->SetSizer(columns);

    // Column 1: group name, MIDI routing and filters, video and analog modes.
    wxBoxSizer *first = new wxBoxSizer(wxVERTICAL);
    columns->Add(first, 0, wxALL, kGap);
    wxBoxSizer *name_row = new wxBoxSizer(wxHORIZONTAL);
    first->Add(name_row, 0, wxBOTTOM, kGap);
    name_row->Add(Label(p, "Group name :"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxTextCtrlGroupName = TextField(p, ID_TEXTCTRL_GROUP_NAME, 150);
    wxTextCtrlGroupName->SetFont(FieldFont());
    Tip(wxTextCtrlGroupName, "Enter here the name of each group");
    name_row->Add(wxTextCtrlGroupName, 0, wxALIGN_CENTER_VERTICAL);

    wxBoxSizer *routing = new wxBoxSizer(wxHORIZONTAL);
    first->Add(routing, 0, wxBOTTOM, kGap);
    routing->Add(Label(p, "MIDI routing :"), 0, wxRIGHT, kColumnGap);
    wxBoxSizer *merge = new wxBoxSizer(wxVERTICAL);
    routing->Add(merge);
    wxStaticText *merge_label = Label(p, "Merge from      To ");
    merge_label->SetFont(wxFont(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_ITALIC, wxFONTWEIGHT_NORMAL, false, wxT("Tahoma")));
    merge->Add(merge_label);
    wxFlexGridSizer *merge_grid = new wxFlexGridSizer(2, 2, 0, kColumnGap);
    merge->Add(merge_grid);
    wxCheckBoxMergeUsbIn = Check(p, ID_CHECKBOX_MERGE_USB_IN, "USB In", true);
    Tip(wxCheckBoxMergeUsbIn, "Check this box to merge USB incoming MIDI events to outputs");
    merge_grid->Add(wxCheckBoxMergeUsbIn);
    wxCheckBoxMergeUsbOut = Check(p, ID_CHECKBOX_MERGE_USB_OUT, "USB Out 1", true);
    Tip(wxCheckBoxMergeUsbOut, "Check this box to retransmit merged input to USB output 1");
    merge_grid->Add(wxCheckBoxMergeUsbOut);
    wxCheckBoxMergeMidiIn = Check(p, ID_CHECKBOX_MERGE_MIDI_IN, "MIDI In", true);
    Tip(wxCheckBoxMergeMidiIn, "Check this box to merge incoming MIDI events to outputs");
    merge_grid->Add(wxCheckBoxMergeMidiIn);
    wxCheckBoxMergeMidiOut = Check(p, ID_CHECKBOX_MERGE_MIDI_OUT, "MIDI Out 1", true);
    Tip(wxCheckBoxMergeMidiOut, "Check this box to retransmit merged input to MIDI output 1");
    merge_grid->Add(wxCheckBoxMergeMidiOut);

    wxRadioBoxFilterMidi = Radio(p, ID_RADIOBOX_MIDI_FILTER, "Inputs Filters",
                                 {"&Filter Off", "&Realtime", "&Filter All"}, wxRA_SPECIFY_ROWS);
    Tip(wxRadioBoxFilterMidi, "Select here if a MIDI filter must be applied on inputs\nSelect the filter type");
    first->Add(wxRadioBoxFilterMidi, 0, wxBOTTOM, kGap);

    wxFlexGridSizer *modes = new wxFlexGridSizer(2, 2, kGap, kGap);
    first->Add(modes);
    modes->Add(Label(p, "Video mode :  "), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceVideoMode = Choice(p, ID_CHOICE_VIDEO_MODE, {"Normal", "Inverted"});
    wxChoiceVideoMode->SetFont(PanelFont());
    Tip(wxChoiceVideoMode, "Select here the video mode");
    modes->Add(wxChoiceVideoMode, 0, wxEXPAND);
    modes->Add(Label(p, "Analog mode :"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceAnalogMode = Choice(p, ID_CHOICE_ANALOG_MODE, {"Jump", "Hook"});
    wxChoiceAnalogMode->SetFont(PanelFont());
    Tip(wxChoiceAnalogMode, "Select here the behaviour of all analog controls");
    modes->Add(wxChoiceAnalogMode, 0, wxEXPAND);

    // Column 2: automations, operating mode, fader feedback, infrared.
    columns->Add(VLine(p), 0, wxEXPAND | wxTOP | wxBOTTOM, kGap);
    wxBoxSizer *second = new wxBoxSizer(wxVERTICAL);
    columns->Add(second, 0, wxALL, kGap);
    second->Add(Label(p, "Automations :"), 0, wxBOTTOM, kGap);
    CheckboxLFOState = Check(p, ID_CHECKBOX_LFO_STATE, "Enable LFO", false);
    Tip(CheckboxLFOState, "Check to turn ON LFO  ");
    second->Add(CheckboxLFOState, 0, wxLEFT, kColumnGap);
    CheckboxArppState = Check(p, ID_CHECKBOX_ARPP_STATE, "Enable Arpp", false);
    Tip(CheckboxArppState, "Check to turn ON the Arppeggiator");
    second->Add(CheckboxArppState, 0, wxLEFT, kColumnGap);
    CheckboxMotionState = Check(p, ID_CHECKBOX_MOTION_STATE, "Enable Motion", false);
    Tip(CheckboxMotionState, "Check to turn ON the Motion sampler");
    second->Add(CheckboxMotionState, 0, wxLEFT | wxBOTTOM, kColumnGap);

    wxFlexGridSizer *automation = new wxFlexGridSizer(2, 2, kGap, kGap);
    second->Add(automation, 0, wxBOTTOM, kGap);
    automation->Add(Label(p, "Current"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceCurrentAutomation = Choice(p, ID_CHOICE_CURRENT_AUTOM, {"Motion sampler", "LFO", "Arppeggio"});
    wxChoiceCurrentAutomation->SetFont(PanelFont());
    Tip(wxChoiceCurrentAutomation, "Select here the Corvana Q9 current automation");
    automation->Add(wxChoiceCurrentAutomation, 0, wxEXPAND);
    automation->Add(Label(p, "Operating mode :"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceOperatingMode = Choice(p, ID_CHOICE_OPERATING_MODE, {"Standard", "Reason 3", "Mackie", "User", "Logic"});
    wxChoiceOperatingMode->SetFont(PanelFont());
    wxChoiceOperatingMode->Enable(false);
    Tip(wxChoiceOperatingMode, "Select here the Corvana Q9 operating mode");
    automation->Add(wxChoiceOperatingMode, 0, wxEXPAND);

    wxCheckBoxMackieFadFbkEn = Check(p, ID_CHECKBOX_MACKIE_FADER_FBK, "Enable Mackie/Logic faders feedback", false);
    wxCheckBoxMackieFadFbkEn->Enable(false);
    Tip(wxCheckBoxMackieFadFbkEn, "Check this option to enable Mackie/Logic faders feedback");
    second->Add(wxCheckBoxMackieFadFbkEn, 0, wxBOTTOM, kGap);
    CheckboxInfraredState = Check(p, ID_CHECKBOX_INFRARED_STATE, "Enable Infrared controller", true);
    Tip(CheckboxInfraredState, "Check this box to turn ON the ribbon/infrared controller");
    second->Add(CheckboxInfraredState);

    // Column 3: SHIFT button, user curves.
    columns->Add(VLine(p), 0, wxEXPAND | wxTOP | wxBOTTOM, kGap);
    wxBoxSizer *third = new wxBoxSizer(wxVERTICAL);
    columns->Add(third, 0, wxALL, kGap);
    third->Add(Label(p, "SHIFT button locks:"), 0, wxBOTTOM, kGap);
    CheckboxShiftLockMidi = Check(p, ID_CHECKBOX_SHIFT_LOCK, "MIDI and USB Outs", true);
    CheckboxShiftLockMidi->Enable(false);
    Tip(CheckboxShiftLockMidi,
        "Check this box to prevent MIDI outputs from sending events when SHIFT button is pressed.");
    third->Add(CheckboxShiftLockMidi, 0, wxLEFT, kColumnGap);
    CheckboxShiftLockChannel = Check(p, ID_CHECKBOX_SHIFT_LOCK_CHANNEL, "CVQ9 channel insertion", false);
    CheckboxShiftLockChannel->Enable(false);
    Tip(CheckboxShiftLockChannel,
        "Check this box to prevent Corvana Q9 current MIDI channel to be inserted in the MIDI event when SHIFT "
        "button is pressed.\nThis option allows to send fixed MIDI channels when SHIFT button is pressed");
    third->Add(CheckboxShiftLockChannel, 0, wxLEFT | wxBOTTOM, kColumnGap);
    wxRadioBoxShiftMode =
        Radio(p, ID_RADIOBOX_SHIFT_MODE, "SHIFT button mode", {"&Push", "&Toggle"}, wxRA_SPECIFY_ROWS);
    Tip(wxRadioBoxShiftMode, "Select here the behavior of the SHIFT button (push or toggle)");
    third->Add(wxRadioBoxShiftMode, 0, wxBOTTOM, kColumnGap);
    wxBoxSizer *curves = new wxBoxSizer(wxHORIZONTAL);
    third->Add(curves);
    curves->Add(Label(p, "User curves models :"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxButtonEditCurveModels = Button(p, ID_BUTTON_EDIT_CURVES_MODELS, "Edit");
    curves->Add(wxButtonEditCurveModels);
}

void cvq9_config_ui::CreateRealtimeTab(wxWindow *p)
{
    wxBoxSizer *columns = new wxBoxSizer(wxHORIZONTAL);
    p->SetSizer(columns);
    const char *const sync_tip_end =
        "\n- Internal: from the internal timebase\n- External: from the selected external input ";

    // Column 1: internal sync, tempo, the synchronisation sources.
    wxBoxSizer *first = new wxBoxSizer(wxVERTICAL);
    columns->Add(first, 0, wxALL, kGap);
    wxBoxSizer *sync_row = new wxBoxSizer(wxHORIZONTAL);
    first->Add(sync_row, 0, wxBOTTOM, kGap);
    sync_row->Add(Label(p, "Realtime :   "), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxCheckBoxGenIntSync = Check(p, ID_CHECKBOX_GEN_INT_SYNC, "Generate internal Sync.", false);
    Tip(wxCheckBoxGenIntSync, "- Check if the cvQ9 has to generate MIDI clock, start, stop and other realtime events.\n"
                              "- Check if an automation must be internally synchronized\n");
    sync_row->Add(wxCheckBoxGenIntSync, 0, wxALIGN_CENTER_VERTICAL);
    wxBoxSizer *tempo_row = new wxBoxSizer(wxHORIZONTAL);
    first->Add(tempo_row, 0, wxBOTTOM, kGap);
    tempo_row->Add(Label(p, "Internal tempo (BPM)"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxTextCtrlTempo = TextField(p, ID_TEXTCTRL_TEMPO, 50, wxTE_CENTRE);
    Tip(wxTextCtrlTempo, "Enter here the tempo of the cvQ9 internal timebase\n(from 30 to 255 BPM)");
    tempo_row->Add(wxTextCtrlTempo, 0, wxALIGN_CENTER_VERTICAL);
    wxCheckBoxTempoMode = Check(p, ID_CHECKBOX_TEMPO_MODE, "Continuous tempo change", false);
    wxCheckBoxTempoMode->Enable(false);
    Tip(wxCheckBoxTempoMode, "Check this box to enable continuous tempo change mode (Tempo is updated as soon as the "
                             "encoder is tweaked)\nUncheck this box to enable tempo change only when the OK button "
                             "is relaxed");
    first->Add(wxCheckBoxTempoMode, 0, wxBOTTOM, kGap);
    wxFlexGridSizer *sources = new wxFlexGridSizer(0, 2, kGap, kGap);
    first->Add(sources);
    sources->Add(Label(p, "Ext Sync. source"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceExtSyncSrc = Choice(p, ID_CHOICE_EXT_SYNC_SRC, {"MIDI In", " USB In"});
    Tip(wxChoiceExtSyncSrc,
        "Select here the external synchronization source\n(input which receives MIDI Clock, Start, Stop, ...)");
    sources->Add(wxChoiceExtSyncSrc, 0, wxEXPAND);
    sources->Add(Label(p, "LFO Sync"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceExtLfoSync = Choice(p, ID_CHOICE_LFO_SYNC, {"Internal", "External"});
    Tip(wxChoiceExtLfoSync, (std::string("Select here the LFO synchronization mode") + sync_tip_end).c_str());
    sources->Add(wxChoiceExtLfoSync, 0, wxEXPAND);
    sources->Add(Label(p, "Arpp. Sync"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceExtArppSync = Choice(p, ID_CHOICE_ARPP_SYNC, {"Internal", "External"});
    Tip(wxChoiceExtArppSync, (std::string("Select here the Arppeggiator synchronization mode") + sync_tip_end).c_str());
    sources->Add(wxChoiceExtArppSync, 0, wxEXPAND);
    sources->Add(Label(p, "Motion Sync"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceExtMotionSync = Choice(p, ID_CHOICE_MOTION_SYNC, {"Internal", "External"});
    Tip(wxChoiceExtMotionSync,
        (std::string("Select here the Motion Sampler synchronization mode") + sync_tip_end).c_str());
    sources->Add(wxChoiceExtMotionSync, 0, wxEXPAND);

    // Column 2: the arpeggio's outputs and source.
    columns->Add(VLine(p), 0, wxEXPAND | wxTOP | wxBOTTOM, kGap);
    wxFlexGridSizer *second = new wxFlexGridSizer(0, 2, kGap, kGap);
    columns->Add(second, 0, wxALL, kGap);
    second->Add(Label(p, "Arppeggio :  "), 0, wxALIGN_CENTER_VERTICAL);
    CheckboxArppToMidiOut1 = Check(p, ID_CHECKBOX_ARPP_MIDI_OUT1, "Send to MIDI Out 1", false);
    Tip(CheckboxArppToMidiOut1, "Check if the arppeggio must send Notes to MIDI Out 1");
    second->Add(CheckboxArppToMidiOut1);
    second->AddSpacer(0);
    CheckboxArppToMidiOut2 = Check(p, ID_CHECKBOX_ARPP_MIDI_OUT2, "Send to MIDI Out 2", true);
    Tip(CheckboxArppToMidiOut2, "Check if the arppeggio must send Notes to MIDI Out 2");
    second->Add(CheckboxArppToMidiOut2);
    second->AddSpacer(0);
    CheckboxArppToUSB = Check(p, ID_CHECKBOX_ARPP_USB_OUT, "Send also to USB Out", true);
    Tip(CheckboxArppToUSB, "Check if the arppeggio must send Notes to USB Outputs");
    second->Add(CheckboxArppToUSB);
    second->Add(Label(p, "MIDI Source"), 0, wxALIGN_CENTER_VERTICAL);
    wxChoiceExtArppMIDISrc = Choice(p, ID_CHOICE_ARPP_MIDI_SRC, {"MIDI In", " USB In"});
    Tip(wxChoiceExtArppMIDISrc, "Select here the input where are received Notes dedicated to Arppeggio\n(input "
                                "which receives Note On, Note Off)");
    second->Add(wxChoiceExtArppMIDISrc, 0, wxEXPAND);

    // Column 3: motion sampler, LFO, Sync-24.
    columns->Add(VLine(p), 0, wxEXPAND | wxTOP | wxBOTTOM, kGap);
    wxFlexGridSizer *third = new wxFlexGridSizer(0, 2, kGap, kGap);
    columns->Add(third, 0, wxALL, kGap);
    third->Add(Label(p, "Motion :        "), 0, wxALIGN_CENTER_VERTICAL);
    CheckboxMotionLoop = Check(p, ID_CHECKBOX_MOTION_LOOP, "Loop playback", true);
    Tip(CheckboxMotionLoop, "Check to enable motion loop mode while playing back");
    third->Add(CheckboxMotionLoop, 0, wxALIGN_CENTER_VERTICAL);
    third->Add(Label(p, "LFO :             "), 0, wxALIGN_CENTER_VERTICAL);
    wxBoxSizer *wave = new wxBoxSizer(wxHORIZONTAL);
    third->Add(wave);
    wave->Add(Label(p, "Wave type"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxChoiceLfoWave = Choice(p, ID_CHOICE_LFO_WAVE, {"Sine", "Triangle", "Square", "Random"});
    Tip(wxChoiceLfoWave, "Select here the type of waveform generated by the LFO");
    wave->Add(wxChoiceLfoWave, 0, wxALIGN_CENTER_VERTICAL);
    third->Add(Label(p, "Sync-24 :      "), 0, wxALIGN_CENTER_VERTICAL);
    CheckboxSync24Enable = Check(p, ID_CHECKBOX_S24_STATE, "Enable", false);
    Tip(CheckboxSync24Enable, "Check to enable Sync-24 Output");
    third->Add(CheckboxSync24Enable, 0, wxALIGN_CENTER_VERTICAL);
    third->AddSpacer(0);
    wxBoxSizer *s24 = new wxBoxSizer(wxHORIZONTAL);
    third->Add(s24);
    s24->Add(Label(p, "Sync. mode"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxChoiceSync24Sync = Choice(p, ID_CHOICE_S24_SYNC, {"Internal", "External"});
    Tip(wxChoiceSync24Sync,
        (std::string("Select here the Sync-24 signal must be synchronized from") + sync_tip_end).c_str());
    s24->Add(wxChoiceSync24Sync, 0, wxALIGN_CENTER_VERTICAL);
}

void cvq9_config_ui::CreateStdAssignTab(wxWindow *p)
{
    wxBoxSizer *columns = new wxBoxSizer(wxHORIZONTAL);
    p->SetSizer(columns);

    // Common to all modes: five check boxes with their labels, the switch mode.
    wxBoxSizer *common = new wxBoxSizer(wxVERTICAL);
    columns->Add(common, 0, wxALL, kGap);
    common->Add(new wxStaticText(p, wxID_STATIC, Text("Common to All Modes"), wxDefaultPosition, wxDefaultSize,
                                 wxSUNKEN_BORDER),
                0, wxBOTTOM, 2);
    common->Add(HLine(p), 0, wxEXPAND | wxBOTTOM, kGap);
    wxFlexGridSizer *flags = new wxFlexGridSizer(0, 2, kGap, kGap);
    common->Add(flags, 0, wxBOTTOM, kGap);
    struct FlagRow {
        wxCheckBox *&box;
        wxStaticText *&label;
        int id;
        const char *text;
        bool on;
        const char *tip;
    };
    const FlagRow rows[] = {
        {CheckboxAutosend, wxStaticTextAutosend, ID_CHECKBOX_AUTOSEND, "Auto-send at startup", false,
         "Check if the control has to be sent at startup"},
        {CheckboxSceneExclude, wxStaticTextSceneExclude, ID_CHECKBOX_SCENEEXCLUDE, "Scene exclude", false,
         "Check to exclude this control from snapshot scenes"},
        {CheckboxSendToOut1, wxStaticTextSendOut1, ID_CHECKBOX_SENDTOOUT1, "Send to Midi out 1", true,
         "Check if the control has to be sent to MIDI out 1"},
        {CheckboxSendToOut2, wxStaticTextSendOut2, ID_CHECKBOX_SENDTOOUT2, "Send to Midi out 2", true,
         "Check if the control has to be sent to MIDI out 2"},
        {CheckboxSendToOutUsb, wxStaticTextSendUsb, ID_CHECKBOX_SENDTOOUTUSB, "Send also to USB Out", true,
         "Check if the control has to be sent to MIDI out USB"},
    };
    for (const FlagRow &row : rows) {
        row.box = Check(p, row.id, "", row.on);
        Tip(row.box, row.tip);
        flags->Add(row.box, 0, wxALIGN_CENTER_VERTICAL);
        row.label = Label(p, row.text);
        Tip(row.label, row.tip);
        flags->Add(row.label, 0, wxALIGN_CENTER_VERTICAL);
    }
    wxBoxSizer *switch_row = new wxBoxSizer(wxHORIZONTAL);
    common->Add(switch_row);
    wxStaticTextSwMode = Label(p, "Switch mode");
    switch_row->Add(wxStaticTextSwMode, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kColumnGap);
    RadioBoxSwitchMode = Radio(p, ID_RADIOBOX_SWITCHMODE, "", {"&Push", "&Toggle"}, wxRA_SPECIFY_ROWS);
    Tip(RadioBoxSwitchMode, "Select here the switch behavior (push-button type, toggle)");
    switch_row->Add(RadioBoxSwitchMode, 0, wxALIGN_CENTER_VERTICAL);

    columns->Add(VLine(p), 0, wxEXPAND | wxTOP | wxBOTTOM, kGap);

    // Standard mode only: the event and its number.
    wxBoxSizer *standard = new wxBoxSizer(wxVERTICAL);
    columns->Add(standard, 0, wxALL, kGap);
    standard->Add(
        new wxStaticText(p, wxID_STATIC, Text("Standard Mode only"), wxDefaultPosition, wxDefaultSize, wxSUNKEN_BORDER),
        0, wxBOTTOM, 2);
    standard->Add(HLine(p), 0, wxEXPAND | wxBOTTOM, kGap);
    wxFlexGridSizer *event_grid = new wxFlexGridSizer(0, 2, kGap, kColumnGap);
    standard->Add(event_grid);
    wxStaticTextMidiEvent = Label(p, "Midi Event");
    event_grid->Add(wxStaticTextMidiEvent, 0, wxALIGN_CENTER_VERTICAL);
    RadioBoxMidiEventStdMode =
        Radio(p, ID_RADIOBOX_MIDIEVENTSTDMODE, "", {"&Control Change", "&Note On"}, wxRA_SPECIFY_COLS);
    Tip(RadioBoxMidiEventStdMode, "Select standard mode MIDI event");
    event_grid->Add(RadioBoxMidiEventStdMode);
    wxStaticTextCCNtNb = Label(p, "CC/Note number");
    event_grid->Add(wxStaticTextCCNtNb, 0, wxALIGN_CENTER_VERTICAL);
    SpinCtrlCcNoteNumberStdMode = Spin(p, ID_SPINCTRL_CCNOTENUMBERSTDMODE, 0, 127, 0, true);
    Tip(SpinCtrlCcNoteNumberStdMode, "Select here the standard mode Midi event number");
    event_grid->Add(SpinCtrlCcNoteNumberStdMode);
}

void cvq9_config_ui::CreateUserAssignTab(wxWindow *p)
{
    wxBoxSizer *page = new wxBoxSizer(wxVERTICAL);
    p->SetSizer(page);

    // First row: the two assignment sources, with the field that narrows the
    // gear list above that list.
    wxGridBagSizer *sources = new wxGridBagSizer(2, 0);
    page->Add(sources, 0, wxLEFT | wxRIGHT | wxTOP, kGap);
    const auto source = [sources](wxWindow *window, int column, int right) {
        sources->Add(window, wxGBPosition(1, column), wxDefaultSpan, wxALIGN_CENTER_VERTICAL | wxRIGHT, right);
    };
    wxRadioButtonUsePreset =
        new wxRadioButton(p, ID_RADIOBUTTON_PRESET, Text("Use preset"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    wxRadioButtonUsePreset->SetValue(false);
    Tip(wxRadioButtonUsePreset, "Click to assign from preset libraries");
    source(wxRadioButtonUsePreset, 0, kGap);
    wxTextCtrlPresetFilter = TextField(p, ID_TEXTCTRL_PRESETFILTER, 165, wxTE_PROCESS_ENTER);
    wxTextCtrlPresetFilter->SetHint(Text("Type to narrow the gear list"));
    Tip(wxTextCtrlPresetFilter, "Type part of a gear name to list only the gear holding it");
    sources->Add(wxTextCtrlPresetFilter, wxGBPosition(0, 1), wxDefaultSpan, wxEXPAND | wxRIGHT, kGap);
    // The gear list keeps the library's order: the shipped gear sorted by
    // name, then the user's own.
    wxComboBoxPresetCtrl = new wxComboBox(p, ID_COMBOBOX_PRESETCTRL, wxEmptyString, wxDefaultPosition, wxSize(165, -1),
                                          wxArrayString(), wxCB_DROPDOWN);
    Tip(wxComboBoxPresetCtrl, "Select here your preset gear");
    source(wxComboBoxPresetCtrl, 1, kGap);
    wxComboBoxPresetParamCtrl = new wxComboBox(p, ID_COMBOBOX_PRESETPARAMCTRL, wxEmptyString, wxDefaultPosition,
                                               wxSize(165, -1), wxArrayString(), wxCB_DROPDOWN);
    Tip(wxComboBoxPresetParamCtrl, "Select here the preset parameter to assign");
    source(wxComboBoxPresetParamCtrl, 2, 2 * kColumnGap);
    wxRadioButtonUseStdTemplate = new wxRadioButton(p, ID_RADIOBUTTON_STD_TEMPLATE, Text("Use standard template"));
    wxRadioButtonUseStdTemplate->SetValue(true);
    Tip(wxRadioButtonUseStdTemplate, "Click to assign a standard MIDI event");
    source(wxRadioButtonUseStdTemplate, 3, kGap);
    // Its 389 entries go in when its tab is first shown (FillStdTemplateList).
    wxComboBoxStdTemplateCtrl =
        FixedWidthCombo(p, ID_COMBOBOX_STDTEMPLATECTRL, Text("User Defined"), 165, wxArrayString());
    Tip(wxComboBoxStdTemplateCtrl, "Select here the standard MIDI event to assign");
    source(wxComboBoxStdTemplateCtrl, 4, 0);

    page->Add(HLine(p), 0, wxEXPAND | wxALL, 2);

    // Second row: labels, values, labels, values, notes, checksum.
    wxGridBagSizer *grid = new wxGridBagSizer(0, kGap);
    page->Add(grid, 0, wxLEFT | wxRIGHT, kGap);

    wxStaticTextMinTxt = Label(p, "Min value");
    SpinCtrlMinValue = Spin(p, ID_SPINCTRL_MIN_VALUE, 0, 127, 0, true);
    Tip(SpinCtrlMinValue, "Select here the Min value associated to the control");
    wxStaticTextMaxTxt = Label(p, "Max value");
    SpinCtrlMaxValue = Spin(p, ID_SPINCTRL_MAX_VALUE, 0, 127, 127, true);
    Tip(SpinCtrlMaxValue, "Select here the Max value associated to the control");
    wxStaticTextDelayTxt = Label(p, "Midi delay (milliseconds)");
    wxComboBoxMidiDelay = new wxComboBox(p, ID_COMBOBOX_MIDIDELAY, Text("None"), wxDefaultPosition, wxSize(90, -1),
                                         Items({"None", "30", "60", "90"}), wxCB_DROPDOWN);
    wxComboBoxMidiDelay->SetSelection(0);
    Tip(wxComboBoxMidiDelay, "Select Midi delay to insert between events");
    wxStaticTextChainTxt = Label(p, "Chained control");
    wxArrayString chain;
    for (unsigned i = 0; i < CHAIN_LIST_SIZE; ++i)
        chain.Add(DeviceText(ChainListEntry(i)));
    wxComboBoxChainedCtrlNumero = FixedWidthCombo(p, ID_COMBOBOX_CHAINEDCTRLNUMERO, Text("None"), 150, chain);
    wxComboBoxChainedCtrlNumero->SetSelection(0);
    Tip(wxComboBoxChainedCtrlNumero, "Select the control to chain");
    wxStaticTextCrossfader = Label(p, "Crossfade chained");
    wxCheckBoxCrossfadeChain = Check(p, ID_CHECKBOX_CROSSFADECHAIN, "", false);
    Tip(wxCheckBoxCrossfadeChain, "Check to enable crossfader on chained control");
    Tip(wxStaticTextCrossfader, "Check to enable crossfader on chained control");

    wxStaticTextChannelTxt = Label(p, "MIDI channel position (N)");
    wxSpinCtrlMidiChannelPosition = Spin(p, ID_SPINCTRL_MIDICHANNELPOSITION, 0, 21, 0, true);
    Tip(wxSpinCtrlMidiChannelPosition, "Select here where to insert Midi channel (0=No/Fixed MIDI channel)");
    const char *const nibble_example = "\n\nFor instance, sending 0x45 as 2 nibbles will result in :\n\n0x04 sent at "
                                       "Control value position 1 (MSB)\n0x05 sent at Control value position 2 (LSB)";
    wxStaticTextVal1Txt = Label(p, "Control value position 1 (V1)");
    wxSpinCtrlCtrlValuePosition1 = Spin(p, ID_SPINCTRL_CTRLVALUEPOSITION1, 0, 21, 0, true);
    Tip(wxSpinCtrlCtrlValuePosition1,
        (std::string("Select here where to insert the control value 1 in the MIDI string\n\nIf the control is "
                     "splitted in 2 nibbles:\n- Select here the position of the MSB nibble") +
         nibble_example)
            .c_str());
    wxStaticTextVal2Txt = Label(p, "Control value position 2 (V2)");
    wxSpinCtrlCtrlValuePosition2 = Spin(p, ID_SPINCTRL_CTRLVALUEPOSITION2, 0, 21, 0, true);
    Tip(wxSpinCtrlCtrlValuePosition2,
        (std::string("Select here where to insert the control value 2\n\nIf the control is splitted in 2 "
                     "nibbles:\n- Select here the position of the LSB nibble") +
         nibble_example)
            .c_str());
    wxStaticTextCurveTxt = Label(p, "Control Curve model");
    wxComboBoxCurveModel = new wxComboBox(
        p, ID_COMBOBOX_CURVEMODEL, Text("Linear"), wxDefaultPosition, wxSize(116, -1),
        Items({"Linear", "Inv linear", "Log.", "Inv log.", "Random", "User 1", "User 2"}), wxCB_DROPDOWN);
    wxComboBoxCurveModel->SetSelection(0);
    Tip(wxComboBoxCurveModel, "Select the control curve model (analog behavior)");
    wxButtonEditCurve = Button(p, ID_BUTTON_EDIT_CURVE, "Edit", wxDefaultSize, wxBU_EXACTFIT);
    wxButtonEditCurve->Enable(false);
    Tip(wxButtonEditCurve, "Click this button to edit user curves 1 and 2");
    wxStaticTextSplit = Label(p, "Send value as 2 nibbles");
    wxCheckBoxNibbleCtrl = Check(p, ID_CHECKBOX_NIBBLE_CTRL, "", false);
    const char *const nibble_tip =
        "Check this box to send the control value as 2 nibbles.\nIf checked:\n- the MSB is sent as V1 (Control "
        "value position 1)\n- the LSB is sent as V2 (Control value position 2)\n\nTo send MSB first, simply enter "
        "a Control value position 1 lower than Control value position 2\n\nTo send LSB first, simply enter a "
        "Control value position 1 higher than Control value position 2";
    Tip(wxCheckBoxNibbleCtrl, nibble_tip);
    Tip(wxStaticTextSplit, nibble_tip);

    wxCheckBoxEnableChecksum = Check(p, ID_CHECKBOX_ENABLECHECKSUM, "", false);
    Tip(wxCheckBoxEnableChecksum, "Check to insert a checksum");
    wxStaticTextChecksumEn = Label(p, "Insert Sysex checksum");
    Tip(wxStaticTextChecksumEn, "Check to insert a checksum");
    wxStaticTextCsStartTxt = Label(p, "Calculate from byte");
    wxSpinCtrlChecksumFirstByte = Spin(p, ID_SPINCTRL_CHECKSUMFIRSTBYTE, 0, 21, 0, true);
    Tip(wxSpinCtrlChecksumFirstByte, "Select here the first byte to calculate checksum");

    wxBoxSizer *checksum_check = new wxBoxSizer(wxHORIZONTAL);
    checksum_check->Add(wxCheckBoxEnableChecksum, 0, wxALIGN_CENTER_VERTICAL);
    checksum_check->Add(wxStaticTextChecksumEn, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);

    // Five rows. The longest labels share the third column, so that the six
    // columns fit the tab's width; the notes stand beside the three position
    // spins, with the curve's Edit button under them in the curve's row.
    wxWindow *const cells[][6] = {
        {wxStaticTextMinTxt, SpinCtrlMinValue, wxStaticTextDelayTxt, wxComboBoxMidiDelay, nullptr, nullptr},
        {wxStaticTextMaxTxt, SpinCtrlMaxValue, wxStaticTextChannelTxt, wxSpinCtrlMidiChannelPosition, nullptr,
         wxStaticTextCsStartTxt},
        {wxStaticTextChainTxt, wxComboBoxChainedCtrlNumero, wxStaticTextVal1Txt, wxSpinCtrlCtrlValuePosition1, nullptr,
         wxSpinCtrlChecksumFirstByte},
        {wxStaticTextCrossfader, wxCheckBoxCrossfadeChain, wxStaticTextVal2Txt, wxSpinCtrlCtrlValuePosition2, nullptr,
         nullptr},
        {wxStaticTextCurveTxt, wxComboBoxCurveModel, wxStaticTextSplit, wxCheckBoxNibbleCtrl, wxButtonEditCurve,
         nullptr},
    };
    const char *const notes[] = {nullptr, "0=Fixed", "0=None", "0=None", nullptr};
    const int centred = wxALIGN_CENTER_VERTICAL;
    for (int row = 0; row < 5; ++row) {
        grid->Add(cells[row][0], wxGBPosition(row, 0), wxDefaultSpan, centred);
        grid->Add(cells[row][1], wxGBPosition(row, 1), wxDefaultSpan, centred | wxRIGHT, kGap);
        grid->Add(cells[row][2], wxGBPosition(row, 2), wxDefaultSpan, centred);
        grid->Add(cells[row][3], wxGBPosition(row, 3), wxDefaultSpan, centred);
        if (notes[row])
            grid->Add(Label(p, notes[row]), wxGBPosition(row, 4), wxDefaultSpan, centred | wxLEFT, kGap);
        else if (cells[row][4])
            grid->Add(cells[row][4], wxGBPosition(row, 4), wxDefaultSpan, centred | wxLEFT, kGap);
        if (cells[row][5])
            grid->Add(cells[row][5], wxGBPosition(row, 5), wxDefaultSpan, centred | wxLEFT, kColumnGap);
    }
    // The checksum box and its label head the checksum column, over the
    // notes column's free first cell.
    grid->Add(checksum_check, wxGBPosition(0, 4), wxGBSpan(1, 2), centred | wxLEFT, kGap);

    page->Add(HLine(p), 0, wxEXPAND | wxALL, 2);

    // Third row: the MIDI string with its length, the LCD string.
    wxBoxSizer *strings = new wxBoxSizer(wxHORIZONTAL);
    page->Add(strings, 0, wxLEFT | wxRIGHT | wxBOTTOM, kGap);
    wxStaticTextMidiStrTxt = Label(p, "MIDI string");
    strings->Add(wxStaticTextMidiStrTxt, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxTextCtrlMidiString = TextField(p, ID_TEXTCTRL_MIDISTRING, 350);
    wxTextCtrlMidiString->SetFont(FieldFont());
    Tip(wxTextCtrlMidiString, "Enter here the MIDI event to assign");
    strings->Add(wxTextCtrlMidiString, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxStaticTextLenghtTxt = Label(p, "Lenght");
    strings->Add(wxStaticTextLenghtTxt, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxStaticTextMidiStrLenght = new wxStaticText(p, wxID_STATIC, wxT("-"), wxDefaultPosition, wxSize(20, -1));
    strings->Add(wxStaticTextMidiStrLenght, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kColumnGap);
    wxStaticTextLcdTxt = Label(p, "LCD string");
    strings->Add(wxStaticTextLcdTxt, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxTextCtrlLcdString = TextField(p, ID_TEXTCTRL_LCDSTRING, 170);
    wxTextCtrlLcdString->SetFont(FieldFont());
    Tip(wxTextCtrlLcdString, "Enter here the LCD string (16 car. max)");
    strings->Add(wxTextCtrlLcdString, 0, wxALIGN_CENTER_VERTICAL);
}

void cvq9_config_ui::CreateBottomArea(wxSizer *top)
{
    wxWindow *p = this;
    wxBoxSizer *area = new wxBoxSizer(wxHORIZONTAL);
    top->Add(area, 0, wxLEFT | wxRIGHT | wxTOP, kGap);

    // Selected control and group numbers.
    wxFlexGridSizer *numbers = new wxFlexGridSizer(2, 2, 2, kColumnGap);
    area->Add(numbers, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 15);
    numbers->Add(Label(p, "CONTROL"), 0, wxALIGN_CENTER_HORIZONTAL);
    wxStaticTextGrpTest = Label(p, "GROUP");
    numbers->Add(wxStaticTextGrpTest, 0, wxALIGN_CENTER_HORIZONTAL);
    wxStaticTextCtrlNb = Label(p, "00");
    numbers->Add(wxStaticTextCtrlNb, 0, wxALIGN_CENTER_HORIZONTAL);
    wxStaticTextGroupNb = Label(p, "00");
    numbers->Add(wxStaticTextGroupNb, 0, wxALIGN_CENTER_HORIZONTAL);

    // Four button columns; the device buttons on the left, then the library pair.
    struct ButtonCell {
        wxButton *&button;
        int id;
        const char *label;
        const char *tip;
    };
    const ButtonCell buttons[4][2] = {
        {{wxButtonUploadCurrentFromQ9, ID_BUTTON_UPLOADCURRENTFROMQ9, "Upload selected from Q9",
          "Click to upload current parameters from the Corvana Q9"},
         {wxButtonCheckAll, ID_BUTTON_CHECK_ALL, "Check all", "Click to check the whole configuration"}},
        {{wxButtonDownloadCurrentToQ9, ID_BUTTON_DOWNLOADCURRENTTOQ9, "Download selected to Q9",
          "Click to download current parameters to the Q9"},
         {wxButtonCancel, ID_BUTTON_CANCEL, "Cancel", "Click to cancel communication"}},
        {{wxButtonUploadAllFromQ9, ID_BUTTON_UPLOADALLFROMQ9, "Upload All from Q9",
          "Click to upload all parameters from the Corvana Q9"},
         {wxButtonLoadAllFromLib, ID_BUTTON_LOADALLFROMLIB, "Load All from library",
          "Click to load all parameters from library file"}},
        {{wxButtonDownloadAllToQ9, ID_BUTTON_DOWNLOADALLTOQ9, "Download All to Q9",
          "Click to download all parameters to the Q9"},
         {wxButtonSaveAllToLibraryFile, ID_BUTTON_SAVEALLTOLIBRARYFILE, "Save All to library",
          "Click to save all parameters to library file"}},
    };
    for (int column = 0; column < 4; ++column) {
        wxBoxSizer *stack = new wxBoxSizer(wxVERTICAL);
        area->Add(stack, 0, wxRIGHT, column == 1 ? 38 : kGap);
        for (int row = 0; row < 2; ++row) {
            const ButtonCell &cell = buttons[column][row];
            cell.button = Button(p, cell.id, cell.label, wxSize(150, -1));
            Tip(cell.button, cell.tip);
            stack->Add(cell.button, 0, wxEXPAND | (row == 0 ? wxBOTTOM : 0), 2);
        }
    }

    // Library file name and progress.
    wxBoxSizer *status = new wxBoxSizer(wxHORIZONTAL);
    top->Add(status, 0, wxEXPAND | wxALL, kGap);
    wxStaticTextLib = Label(p, "Library:");
    status->Add(wxStaticTextLib, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, kGap);
    wxStaticTextLibraryFile = new wxStaticText(p, wxID_STATIC, wxT("-"), wxDefaultPosition, wxDefaultSize,
                                               wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
    status->Add(wxStaticTextLibraryFile, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, kColumnGap);
    GAUGE_Bargraph =
        new wxGauge(p, ID_GAUGE_BARGRAPH, 100, wxDefaultPosition, wxSize(250, 12), wxGA_HORIZONTAL | wxSUNKEN_BORDER);
    GAUGE_Bargraph->SetValue(1);
    status->Add(GAUGE_Bargraph, 0, wxALIGN_CENTER_VERTICAL);
}

void cvq9_config_ui::InstallValidators()
{
    auto install = [](wxWindow *window, const wxValidator &validator) { window->SetValidator(validator); };
    for (wxSpinCtrl *spin : {wxSpinCtrlStartGroup, wxSpinCtrlEndGroup, SpinCtrlCcNoteNumberStdMode, SpinCtrlMinValue,
                             SpinCtrlMaxValue, wxSpinCtrlMidiChannelPosition, wxSpinCtrlCtrlValuePosition1,
                             wxSpinCtrlCtrlValuePosition2, wxSpinCtrlChecksumFirstByte})
        install(spin, SpinDigitsValidator(&MustBeInt));
    install(wxTextCtrlGroupName, wxTextValidator(wxFILTER_ASCII, &MustBeAscii));
    install(wxTextCtrlLcdString, wxTextValidator(wxFILTER_ASCII, &MustBeAscii));
    install(wxTextCtrlTempo, CharListValidator(wxT("0123456789"), nullptr));
    install(wxTextCtrlMidiString, CharListValidator(wxT("0123456789abcdefABCDEF"), nullptr));

    const struct {
        wxTextCtrl *field;
        unsigned long limit;
    } limits[] = {
        {wxTextCtrlMidiString, 42}, {wxTextCtrlLcdString, 16}, {wxTextCtrlGroupName, 14}, {wxTextCtrlTempo, 3}};
    for (const auto &entry : limits)
        entry.field->SetMaxLength(entry.limit);
}

void cvq9_config_ui::LoadPresets()
{
    // Failures are reported through the preset reader's reporter (a message
    // box with the caption "Library error"); the panel works without presets.
    ::LoadPresetLibrary(DeviceBytes(GetExecutablePath()));
    // The user's own gear follows the shipped gear.
    LoadUserPresets(UserPresetsPath());
}

void cvq9_config_ui::CompactNativeStyle(const wxWindowList &windows)
{
    // The size a widget asked for at its creation was measured with the old
    // padding: spins take their new natural size, buttons and text fields keep
    // the width they were made with. The new style is measured at once only
    // while the window has never been shown.
    for (wxWindow *child : windows) {
        const bool spin = CheckedCast<wxSpinCtrl>(child) != nullptr;
        const bool button = !spin && CheckedCast<wxButton>(child) != nullptr;
        if (!spin && !button && !CheckedCast<wxTextCtrl>(child))
            continue;
        const int width = child->GetMinSize().x;
        UseCompactLook(child, spin ? CompactKind::Spin : button ? CompactKind::Button : CompactKind::TextField);
        child->InvalidateBestSize();
        child->SetMinSize(wxDefaultSize);
        const wxSize best = child->GetBestSize();
        child->SetMinSize(wxSize(!spin && width > 0 ? width : best.x, best.y));
    }
}
