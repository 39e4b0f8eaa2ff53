// Editor panel: the two control assignment tabs. UpdateWholeParamWindows fills
// them from the record of the current control (fields that differ within a
// multiple selection keep their widget value and get a blue label); each edit
// handler stores its widget's value into every selected record through the
// field-edit rule. Which bits each widget stands for is the table of
// assign_fields.h.
#include "cvq9_config_ui.h"

#include <initializer_list>
#include <vector>

#include <wx/colour.h>

#include "CVQ9Mainframe.h"
#include "assign_fields.h"
#include "config_tables.h"
#include "edit_history.h"
#include "record_access.h"
#include "selection_mask.h"
#include "usercurvesedition.h"

namespace {

// Set while UpdateWholeParamWindows fills the widgets: the change events that
// filling a field raises must not write the shown values into the selected
// records (a field shown for one control would otherwise be copied into all).
bool g_displaying = false;

class DisplayScope
{
public:
    DisplayScope() : previous_(g_displaying) { g_displaying = true; }
    ~DisplayScope() { g_displaying = previous_; }
    DisplayScope(const DisplayScope &) = delete;
    DisplayScope &operator=(const DisplayScope &) = delete;

private:
    bool previous_;
};

// The field-edit rule for one table-driven field, as one step named after the
// field's label; the steps of one visit to a spin field are one step.
void EditField(AssignField field, int value, bool typed = false)
{
    if (g_displaying || !pui)
        return;
    const EditStep step(StepName(pui->FieldLabel(field)), typed ? 1000 + static_cast<int>(field) : 0);
    EditSelectedRecords([field, value](All_Params &record) { StoreFieldValue(record, field, value); });
}

// The shared body of the spin handlers, arrows and typed text alike. A spin
// reports its first text while it is being made, before its member is set.
void EditFromSpin(AssignField field, const wxSpinCtrl *spin)
{
    if (spin)
        EditField(field, spin->GetValue(), true);
}

wxColour ColourOf(LabelColour colour)
{
    return wxColour(colour == LabelColour::Black ? wxT("BLACK") : wxT("BLUE"));
}

void Paint(std::initializer_list<wxWindow *> windows, LabelColour colour)
{
    const wxColour c = ColourOf(colour);
    for (wxWindow *window : windows) {
        if (window) {
            window->SetForegroundColour(c);
            window->Refresh();
        }
    }
}

// Selects item `item` of a list, or nothing when the list has no such item.
void SelectItem(wxComboBox *combo, int item)
{
    combo->SetSelection(item >= 0 && static_cast<unsigned>(item) < combo->GetCount() ? item : wxNOT_FOUND);
}

// The LCD text as the field shows it: the characters before a stored NUL.
wxString LcdFieldText(const Q9Text &stored)
{
    const size_t end = stored.find(L'\0');
    return wxString(stored.substr(0, end == Q9Text::npos ? stored.size() : end));
}

}  // namespace

// ---- Display

void cvq9_config_ui::UpdateWholeParamWindows()
{
    // The firmware and connection gating comes first, as every display of the
    // assignment tabs starts with it.
    EnableDisableUiFromFwVersion();

    const DisplayScope displaying;
    const unsigned index = ControlIndex;
    const All_Params shown = AddressedRecord(index);

    uint32_t mask = COMMON_ALL_FIELDS;
    const ControlNumberDisplay number = ControlNumberFor(all_selected_ctrl.size(), index);
    if (all_selected_ctrl.size() > 1)
        mask = CheckCommonCtrlParameters();
    wxStaticTextCtrlNb->SetLabel(wxString(number.text));
    Paint({wxStaticTextCtrlNb}, number.colour);
    wxStaticTextGroupNb->SetLabel(wxString::Format(wxT("%d"), static_cast<int>(CurrentGroup)));

    // Colours the field's widgets by the mask; true when the value is to be shown.
    auto common = [mask](CommonFieldBit bit, std::initializer_list<wxWindow *> windows) {
        const LabelColour colour = FieldLabelColour(mask, bit);
        Paint(windows, colour);
        return colour == LabelColour::Black;
    };
    auto value = [&shown](AssignField field) { return FieldValue(shown, field); };

    if (common(COMMON_MIDI_STR_LENGHT, {wxStaticTextLenghtTxt, wxStaticTextMidiStrLenght}))
        wxStaticTextMidiStrLenght->SetLabel(wxString::Format(wxT("%d"), shown.midi_str_lenght));

    // The five output and option boxes of the common tab.
    struct FlagRow {
        CommonFieldBit bit;
        wxStaticText *label;
        wxCheckBox *box;
        AssignField field;
    };
    const FlagRow first_flags[] = {
        {COMMON_AUTOSEND, wxStaticTextAutosend, CheckboxAutosend, AssignField::Autosend},
        {COMMON_SCENE_EXCLUDE, wxStaticTextSceneExclude, CheckboxSceneExclude, AssignField::SceneExclude},
    };
    const FlagRow output_flags[] = {
        {COMMON_MIDI_OUT1, wxStaticTextSendOut1, CheckboxSendToOut1, AssignField::SendOut1},
        {COMMON_MIDI_OUT2, wxStaticTextSendOut2, CheckboxSendToOut2, AssignField::SendOut2},
        {COMMON_USB_OUT, wxStaticTextSendUsb, CheckboxSendToOutUsb, AssignField::SendUsb},
    };
    for (const FlagRow &row : first_flags)
        if (common(row.bit, {row.label}))
            row.box->SetValue(value(row.field) != 0);

    // Switch mode: a choice of the group's switches only; the others show "&Push".
    const bool switch_mode = SwitchModeOffered(index);
    if (common(COMMON_SWITCH_MODE, {wxStaticTextSwMode, RadioBoxSwitchMode}) || !switch_mode)
        RadioBoxSwitchMode->SetSelection(switch_mode ? value(AssignField::SwitchMode) : 0);
    RadioBoxSwitchMode->Enable(switch_mode);

    for (const FlagRow &row : output_flags)
        if (common(row.bit, {row.label}))
            row.box->SetValue(value(row.field) != 0);

    if (common(COMMON_MIDI_DELAY, {wxStaticTextDelayTxt, wxComboBoxMidiDelay}))
        SelectItem(wxComboBoxMidiDelay, value(AssignField::MidiDelay));
    if (common(COMMON_STD_EVENT, {wxStaticTextMidiEvent, RadioBoxMidiEventStdMode}))
        RadioBoxMidiEventStdMode->SetSelection(value(AssignField::StdEvent));
    if (common(COMMON_STD_NUMBER, {wxStaticTextCCNtNb}))
        SpinCtrlCcNoteNumberStdMode->SetValue(value(AssignField::StdNumber));
    if (common(COMMON_CHAIN, {wxStaticTextChainTxt, wxComboBoxChainedCtrlNumero}))
        SelectItem(wxComboBoxChainedCtrlNumero, value(AssignField::Chain));
    if (common(COMMON_CROSSFADE, {wxCheckBoxCrossfadeChain, wxStaticTextCrossfader})) {
        // Crossfading needs a chained control; without one the box keeps its value.
        const bool chained = (shown.ctrl_chain & 0x7F) != 0;
        wxCheckBoxCrossfadeChain->Enable(chained);
        if (chained)
            wxCheckBoxCrossfadeChain->SetValue(value(AssignField::Crossfade) != 0);
    }
    if (common(COMMON_CHANNEL_POS, {wxStaticTextChannelTxt, wxSpinCtrlMidiChannelPosition}))
        wxSpinCtrlMidiChannelPosition->SetValue(value(AssignField::ChannelPosition));

    // Range, value positions, curve and nibble mode belong to the group
    // controls; a transport button shows them disabled and leaves them as they are.
    wxWindow *const group_widgets[] = {
        SpinCtrlMinValue,     SpinCtrlMaxValue,    wxSpinCtrlCtrlValuePosition1, wxSpinCtrlCtrlValuePosition2,
        wxComboBoxCurveModel, wxCheckBoxNibbleCtrl};
    const bool group_fields = GroupFieldsOffered(index);
    for (wxWindow *widget : group_widgets)
        widget->Enable(group_fields);
    if (group_fields) {
        struct SpinRow {
            CommonFieldBit bit;
            wxStaticText *label;
            wxSpinCtrl *spin;
            AssignField field;
            bool colour_spin;
        };
        const SpinRow spins[] = {
            {COMMON_MIN, wxStaticTextMinTxt, SpinCtrlMinValue, AssignField::MinValue, false},
            {COMMON_MAX, wxStaticTextMaxTxt, SpinCtrlMaxValue, AssignField::MaxValue, false},
            {COMMON_VALUE_POS1, wxStaticTextVal1Txt, wxSpinCtrlCtrlValuePosition1, AssignField::ValuePosition1, true},
            {COMMON_VALUE_POS2, wxStaticTextVal2Txt, wxSpinCtrlCtrlValuePosition2, AssignField::ValuePosition2, true},
        };
        for (const SpinRow &row : spins) {
            const bool shown_value =
                row.colour_spin ? common(row.bit, {row.label, row.spin}) : common(row.bit, {row.label});
            if (shown_value)
                row.spin->SetValue(value(row.field));
        }
        if (common(COMMON_CURVE, {wxStaticTextCurveTxt, wxComboBoxCurveModel}))
            SelectItem(wxComboBoxCurveModel, value(AssignField::CurveModel));
        if (common(COMMON_NIBBLE, {wxCheckBoxNibbleCtrl, wxStaticTextSplit}))
            wxCheckBoxNibbleCtrl->SetValue(value(AssignField::Nibble) != 0);
    }

    if (common(COMMON_CHECKSUM_POS, {wxCheckBoxEnableChecksum, wxSpinCtrlChecksumFirstByte, wxStaticTextChecksumEn,
                                     wxStaticTextCsStartTxt})) {
        const bool checksum = shown.checksum_start_position != 0;
        wxSpinCtrlChecksumFirstByte->SetValue(shown.checksum_start_position);
        wxCheckBoxEnableChecksum->SetValue(checksum);
        wxSpinCtrlChecksumFirstByte->Enable(checksum);
    }

    // The transport buttons and "Crossfader R" have no LCD text of their own.
    const bool lcd = LcdTextOffered(index);
    if (common(COMMON_LCD, {wxStaticTextLcdTxt, wxTextCtrlLcdString}) || !lcd)
        wxTextCtrlLcdString->SetValue(
            lcd ? LcdFieldText(mylcdstring[CurrentGroup % GROUP_NB][index % CONTROLS_PER_GROUP]) : wxString());
    wxTextCtrlLcdString->Enable(lcd);

    wxButtonEditCurve->Enable(CurveEditOffered(wxComboBoxCurveModel->GetSelection()));

    if (common(COMMON_MIDI_STRING, {wxStaticTextMidiStrTxt, wxTextCtrlMidiString})) {
        wxTextCtrlMidiString->Clear();
        wxTextCtrlMidiString->SetValue(wxString(MidiStringText(shown)));
    }

    // Whatever the fields' change handlers did, the shown control keeps its record.
    AddressedRecord(index) = shown;
    Refresh();
}

// ---- Common and standard assignment tab

void cvq9_config_ui::OnCheckboxAutosendClick(wxCommandEvent &event)
{
    EditField(AssignField::Autosend, CheckboxAutosend->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSceneexcludeClick(wxCommandEvent &event)
{
    EditField(AssignField::SceneExclude, CheckboxSceneExclude->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnRadioboxSwitchmodeSelected(wxCommandEvent &event)
{
    EditField(AssignField::SwitchMode, RadioBoxSwitchMode->GetSelection());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtoout1Click(wxCommandEvent &event)
{
    EditField(AssignField::SendOut1, CheckboxSendToOut1->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtoout2Click(wxCommandEvent &event)
{
    EditField(AssignField::SendOut2, CheckboxSendToOut2->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtooutusbClick(wxCommandEvent &event)
{
    EditField(AssignField::SendUsb, CheckboxSendToOutUsb->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnRadioboxMidieventstdmodeSelected(wxCommandEvent &event)
{
    EditField(AssignField::StdEvent, RadioBoxMidiEventStdMode->GetSelection());
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeUpdated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::StdNumber, SpinCtrlCcNoteNumberStdMode);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeTextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::StdNumber, SpinCtrlCcNoteNumberStdMode);
    event.Skip();
}

// ---- User assignment tab: the record fields

void cvq9_config_ui::OnComboboxMididelaySelected(wxCommandEvent &event)
{
    const int item = wxComboBoxMidiDelay->GetSelection();
    if (item != wxNOT_FOUND)
        EditField(AssignField::MidiDelay, item);
    event.Skip();
}

void cvq9_config_ui::OnComboboxChainedctrlnumeroSelected(wxCommandEvent &event)
{
    const int item = wxComboBoxChainedCtrlNumero->GetSelection();
    if (item != wxNOT_FOUND) {
        EditField(AssignField::Chain, item);
        // "None" disables crossfading but keeps the crossfade bit.
        wxCheckBoxCrossfadeChain->Enable(item != 0);
    }
    event.Skip();
}

void cvq9_config_ui::OnCheckboxCrossfadechainClick(wxCommandEvent &event)
{
    EditField(AssignField::Crossfade, wxCheckBoxCrossfadeChain->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMinValueUpdated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::MinValue, SpinCtrlMinValue);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMinValueTextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::MinValue, SpinCtrlMinValue);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMaxValueUpdated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::MaxValue, SpinCtrlMaxValue);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMaxValueTextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::MaxValue, SpinCtrlMaxValue);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMidichannelpositionUpdated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::ChannelPosition, wxSpinCtrlMidiChannelPosition);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMidichannelpositionTextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::ChannelPosition, wxSpinCtrlMidiChannelPosition);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition1Updated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::ValuePosition1, wxSpinCtrlCtrlValuePosition1);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition1TextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::ValuePosition1, wxSpinCtrlCtrlValuePosition1);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition2Updated(wxSpinEvent &event)
{
    EditFromSpin(AssignField::ValuePosition2, wxSpinCtrlCtrlValuePosition2);
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition2TextUpdated(wxCommandEvent &event)
{
    EditFromSpin(AssignField::ValuePosition2, wxSpinCtrlCtrlValuePosition2);
    event.Skip();
}

void cvq9_config_ui::OnComboboxCurvemodelSelected(wxCommandEvent &event)
{
    const int item = wxComboBoxCurveModel->GetSelection();
    if (item != wxNOT_FOUND)
        EditField(AssignField::CurveModel, item);
    wxButtonEditCurve->Enable(CurveEditOffered(item));
    event.Skip();
}

void cvq9_config_ui::OnButtonEditCurveClick(wxCommandEvent &event)
{
    if (pcurveDialog && pcurveDialog->wxNotebookPage) {
        // Changing the page quietly: the page-change handler would read the
        // fields before they hold the tables again.
        pcurveDialog->wxNotebookPage->ChangeSelection(wxComboBoxCurveModel->GetValue() == wxT("User 1") ? 0 : 1);
        pcurveDialog->Show();
        pcurveDialog->DisplayCurves();
        pcurveDialog->UpdateGraph();
    }
    event.Skip();
}

void cvq9_config_ui::OnCheckboxNibbleCtrlClick(wxCommandEvent &event)
{
    EditField(AssignField::Nibble, wxCheckBoxNibbleCtrl->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxEnablechecksumClick(wxCommandEvent &event)
{
    if (wxCheckBoxEnableChecksum->GetValue()) {
        // The records keep their position until the spin is changed.
        wxSpinCtrlChecksumFirstByte->Enable(true);
    } else {
        EditField(AssignField::ChecksumStart, 0);
        wxSpinCtrlChecksumFirstByte->Enable(false);
        const DisplayScope quiet;
        wxSpinCtrlChecksumFirstByte->SetValue(0);
    }
    event.Skip();
}

void cvq9_config_ui::EditChecksumStart()
{
    // The spin reports its first text while it is being made, before the box exists.
    if (wxSpinCtrlChecksumFirstByte && wxCheckBoxEnableChecksum)
        EditField(AssignField::ChecksumStart,
                  wxCheckBoxEnableChecksum->GetValue() ? wxSpinCtrlChecksumFirstByte->GetValue() : 0);
}

void cvq9_config_ui::OnSpinctrlChecksumfirstbyteUpdated(wxSpinEvent &event)
{
    EditChecksumStart();
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlChecksumfirstbyteTextUpdated(wxCommandEvent &event)
{
    EditChecksumStart();
    event.Skip();
}

// ---- User assignment tab: the two strings

void cvq9_config_ui::OnTextctrlMidistringUpdated(wxCommandEvent &event)
{
    if (!wxTextCtrlMidiString || g_displaying) {
        event.Skip();
        return;
    }
    std::vector<uint8_t> bytes;
    // An empty or incomplete text leaves the records with their previous string.
    if (!ParseMidiStringText(wxTextCtrlMidiString->GetValue().ToStdWstring(), bytes))
        return;
    const EditStep step(wxT("MIDI string"), ID_TEXTCTRL_MIDISTRING);
    EditSelectedRecords([&bytes](All_Params &record) { StoreMidiString(record, bytes); });
    wxStaticTextMidiStrLenght->SetLabel(wxString::Format(wxT("%d"), static_cast<int>(bytes.size())));
    event.Skip();
}

void cvq9_config_ui::OnTextctrlLcdstringUpdated(wxCommandEvent &event)
{
    if (!wxTextCtrlLcdString)
        return;
    if (!g_displaying) {
        const EditStep step(wxT("LCD string"), ID_TEXTCTRL_LCDSTRING);
        const Q9Text text = wxTextCtrlLcdString->GetValue().ToStdWstring();
        for (int index : all_selected_ctrl)
            if (index >= 0 && static_cast<unsigned>(index) < CONTROLS_PER_GROUP)
                mylcdstring[CurrentGroup % GROUP_NB][index] = text;
        need_to_save_lib = true;
    }
    event.Skip();
}

wxStaticText *cvq9_config_ui::FieldLabel(AssignField field) const
{
    switch (field) {
    case AssignField::Autosend:
        return wxStaticTextAutosend;
    case AssignField::SceneExclude:
        return wxStaticTextSceneExclude;
    case AssignField::SwitchMode:
        return wxStaticTextSwMode;
    case AssignField::SendOut1:
        return wxStaticTextSendOut1;
    case AssignField::SendOut2:
        return wxStaticTextSendOut2;
    case AssignField::SendUsb:
        return wxStaticTextSendUsb;
    case AssignField::MidiDelay:
        return wxStaticTextDelayTxt;
    case AssignField::StdEvent:
        return wxStaticTextMidiEvent;
    case AssignField::StdNumber:
        return wxStaticTextCCNtNb;
    case AssignField::Chain:
        return wxStaticTextChainTxt;
    case AssignField::Crossfade:
        return wxStaticTextCrossfader;
    case AssignField::MinValue:
        return wxStaticTextMinTxt;
    case AssignField::MaxValue:
        return wxStaticTextMaxTxt;
    case AssignField::ChannelPosition:
        return wxStaticTextChannelTxt;
    case AssignField::ValuePosition1:
        return wxStaticTextVal1Txt;
    case AssignField::ValuePosition2:
        return wxStaticTextVal2Txt;
    case AssignField::CurveModel:
        return wxStaticTextCurveTxt;
    case AssignField::Nibble:
        return wxStaticTextSplit;
    case AssignField::ChecksumStart:
        return wxStaticTextChecksumEn;
    }
    return nullptr;
}
