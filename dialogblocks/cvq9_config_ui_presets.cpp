// Editor panel: the ready-made assignments of the user tab's first row. "Use
// preset" picks a gear and one of its parameters from the preset library;
// "Use standard template" picks a standard MIDI event. Either one rewrites the
// assignment and LCD text of every selected control.
#include "cvq9_config_ui.h"

#include <map>
#include <vector>

#include <wx/clntdata.h>
#include <wx/msgdlg.h>

#include "config_tables.h"
#include "edit_history.h"
#include "libconv.h"
#include "record_access.h"
#include "templates.h"

namespace {

// The gear list shows the first characters of a name only; each entry keeps
// the full name for the parameter list and the conversion.
constexpr size_t GEAR_SHOWN_LENGTH = 33;

// The shown texts of the gear list, in its order: a name's first characters;
// where long names would show the same, each shows what tells it apart (what
// follows the words they share) after as many whole words of its start as
// still fit.
wxArrayString ShownGearNames(const std::vector<wxString> &names)
{
    struct Group {
        wxString shared;  // the longest start all its names have
        size_t names = 0;
    };
    std::map<wxString, Group> groups;
    for (const wxString &name : names) {
        Group &g = groups[name.Left(GEAR_SHOWN_LENGTH)];
        if (g.names++ == 0) {
            g.shared = name;
        } else {
            size_t same = 0;
            while (same < g.shared.length() && same < name.length() && g.shared[same] == name[same])
                ++same;
            g.shared.Truncate(same);
        }
    }
    const wxString dots = wxT("...");
    const size_t room = GEAR_SHOWN_LENGTH - dots.length();
    wxArrayString shown;
    for (const wxString &name : names) {
        const Group &g = groups[name.Left(GEAR_SHOWN_LENGTH)];
        if (g.names == 1 || name.length() <= GEAR_SHOWN_LENGTH) {
            shown.Add(name.Left(GEAR_SHOWN_LENGTH));
            continue;
        }
        const int space = g.shared.Find(' ', true);
        const wxString own = name.Mid(space == wxNOT_FOUND ? 0 : static_cast<size_t>(space) + 1);
        if (own.length() >= room) {
            shown.Add(dots + own.Left(room));
            continue;
        }
        // Whole words of the start only.
        wxString start = name.Left(room - own.length());
        const int end = start.Find(' ', true);
        start.Truncate(end == wxNOT_FOUND ? 0 : static_cast<size_t>(end) + 1);
        shown.Add(start + dots + own);
    }
    return shown;
}

const wxChar *const GEAR_HINT = wxT("Select from preset ...");
const wxChar *const PARAM_HINT = wxT("Select parameter ...");

void ResetCombo(wxComboBox *combo, const wxChar *hint)
{
    combo->Clear();
    combo->SetSelection(wxNOT_FOUND);
    combo->SetValue(hint);
}

// The full name of the gear shown in the gear combo: the remembered name of
// the chosen entry, or the combo's text when it names no entry.
wxString ChosenGearName(wxComboBox *combo)
{
    const int item = combo->GetSelection();
    if (item != wxNOT_FOUND && combo->GetString(static_cast<unsigned>(item)) == combo->GetValue()) {
        const auto *name = dynamic_cast<wxStringClientData *>(combo->GetClientObject(static_cast<unsigned>(item)));
        if (name)
            return name->GetData();
    }
    return combo->GetValue();
}

}  // namespace

void cvq9_config_ui::OnRadiobuttonPresetSelected(wxCommandEvent &event)
{
    if (wxRadioButtonUsePreset->GetValue()) {
        wxRadioButtonUseStdTemplate->SetValue(false);
        wxTextCtrlPresetFilter->Enable(true);
        wxComboBoxPresetCtrl->Enable(true);
        wxComboBoxPresetParamCtrl->Enable(true);
        wxComboBoxStdTemplateCtrl->Enable(false);
        ResetCombo(wxComboBoxPresetCtrl, GEAR_HINT);
        ResetCombo(wxComboBoxPresetParamCtrl, PARAM_HINT);
        FillPresetGearList();
    }
    event.Skip();
}

void cvq9_config_ui::FillPresetGearList()
{
    const wxString chosen = wxComboBoxPresetCtrl->GetSelection() == wxNOT_FOUND
                                ? wxString()
                                : ChosenGearName(wxComboBoxPresetCtrl);
    const wxString wanted = wxTextCtrlPresetFilter->GetValue().Lower();
    std::vector<char[PRESET_GEAR_ROW]> rows(PRESET_MAX_GEAR);
    const int count = FillLibTab(rows.data(), PRESET_MAX_GEAR);
    std::vector<wxString> all;
    for (int i = 0; i < count; ++i)
        all.push_back(CharEtoileToWxString(rows[static_cast<size_t>(i)], PRESET_GEAR_ROW - 1));
    // The texts of the whole list, so that a gear shows the same text whatever is typed.
    const wxArrayString all_shown = ShownGearNames(all);
    wxArrayString shown;
    std::vector<wxClientData *> names;
    int keep = wxNOT_FOUND;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!wanted.empty() && !all[i].Lower().Contains(wanted))
            continue;
        if (all[i] == chosen)
            keep = static_cast<int>(shown.size());
        shown.Add(all_shown[i]);
        names.push_back(new wxStringClientData(all[i]));
    }
    // Clearing the list clears the text shown: it is put back.
    const wxString text = wxComboBoxPresetCtrl->GetValue();
    wxComboBoxPresetCtrl->Clear();
    if (!shown.empty())
        wxComboBoxPresetCtrl->Append(shown, names.data());
    if (keep != wxNOT_FOUND) {
        wxComboBoxPresetCtrl->SetSelection(keep);
    } else if (!chosen.empty()) {
        // The chosen gear is no longer listed: nothing is chosen.
        ResetCombo(wxComboBoxPresetCtrl, GEAR_HINT);
        ResetCombo(wxComboBoxPresetParamCtrl, PARAM_HINT);
    } else {
        wxComboBoxPresetCtrl->ChangeValue(text);
    }
}

void cvq9_config_ui::OnTextctrlPresetfilterUpdated(wxCommandEvent &event)
{
    if (wxComboBoxPresetCtrl && wxComboBoxPresetCtrl->IsEnabled())
        FillPresetGearList();
    event.Skip();
}

void cvq9_config_ui::OnTextctrlPresetfilterEnter(wxCommandEvent &event)
{
    if (wxComboBoxPresetCtrl->IsEnabled() && !wxComboBoxPresetCtrl->IsListEmpty()) {
        wxComboBoxPresetCtrl->SetSelection(0);
        wxCommandEvent chosen(wxEVT_COMBOBOX, wxComboBoxPresetCtrl->GetId());
        chosen.SetEventObject(wxComboBoxPresetCtrl);
        chosen.SetInt(0);
        chosen.SetString(wxComboBoxPresetCtrl->GetString(0));
        wxComboBoxPresetCtrl->GetEventHandler()->ProcessEvent(chosen);
    }
    event.Skip();
}

void cvq9_config_ui::RefreshPresetGearList()
{
    if (wxRadioButtonUsePreset && wxRadioButtonUsePreset->GetValue())
        FillPresetGearList();
}

void cvq9_config_ui::OnComboboxPresetctrlSelected(wxCommandEvent &event)
{
    ResetCombo(wxComboBoxPresetParamCtrl, PARAM_HINT);
    char gear[PRESET_NAME_MAX + 1];
    wxStringToCharEtoile(gear, ChosenGearName(wxComboBoxPresetCtrl), PRESET_NAME_MAX);
    // An unknown gear has been reported by the reader; the list stays empty.
    std::vector<char[PRESET_PARAM_ROW]> rows(PRESET_MAX_PARAMS);
    const int count = FillCtrlTab(gear, rows.data(), PRESET_MAX_PARAMS);
    for (int i = 0; i < count; ++i)
        wxComboBoxPresetParamCtrl->Append(CharEtoileToWxString(rows[static_cast<size_t>(i)], PRESET_PARAM_ROW));
    event.Skip();
}

void cvq9_config_ui::OnComboboxPresetparamctrlSelected(wxCommandEvent &event)
{
    char gear[PRESET_NAME_MAX + 1];
    char param[PRESET_NAME_MAX + 1];
    wxStringToCharEtoile(gear, ChosenGearName(wxComboBoxPresetCtrl), PRESET_NAME_MAX);
    wxStringToCharEtoile(param, wxComboBoxPresetParamCtrl->GetValue(), PRESET_NAME_MAX);
    const EditStep step(wxComboBoxPresetParamCtrl->GetValue());
    for (int index : all_selected_ctrl) {
        if (index < 0 || static_cast<unsigned>(index) >= CONTROLS_PER_GROUP)
            continue;
        All_Params &target = AddressedRecord(static_cast<unsigned>(index));
        All_Params record = target;
        Q9Text &lcd = mylcdstring[CurrentGroup % GROUP_NB][index];
        if (!GetKnob(gear, param, &record, &lcd)) {
            // The reader has said why; this and the remaining controls keep
            // their assignments and nothing is redisplayed.
            wxMessageBox(wxT("No parameter found"), wxT("Library error"), wxOK | wxCENTRE, nullptr);
            return;
        }
        target = record;
    }
    need_to_save_lib = true;
    UpdateWholeParamWindows();
    event.Skip();
}

void cvq9_config_ui::OnRadiobuttonStdTemplateSelected(wxCommandEvent &event)
{
    if (wxRadioButtonUseStdTemplate->GetValue()) {
        wxRadioButtonUsePreset->SetValue(false);
        wxComboBoxStdTemplateCtrl->Enable(true);
        wxTextCtrlPresetFilter->Enable(false);
        wxComboBoxPresetCtrl->Enable(false);
        wxComboBoxPresetParamCtrl->Enable(false);
    }
    event.Skip();
}

void cvq9_config_ui::FillStdTemplateList()
{
    // Appending the 389 entries costs more than building the rest of the
    // tab: they go in when the tab is first shown, not at start-up.
    if (!wxComboBoxStdTemplateCtrl->IsListEmpty())
        return;
    wxArrayString templates;
    for (unsigned i = 0; i < STD_TEMPLATE_COUNT; ++i)
        templates.Add(wxString(StdTemplateLabel(i)));
    const wxString shown = wxComboBoxStdTemplateCtrl->GetValue();
    wxComboBoxStdTemplateCtrl->Append(templates);
    wxComboBoxStdTemplateCtrl->ChangeValue(shown);
}

void cvq9_config_ui::ResetStdTemplate()
{
    if (wxComboBoxStdTemplateCtrl->IsListEmpty())
        wxComboBoxStdTemplateCtrl->ChangeValue(wxString(StdTemplateLabel(0)));
    else
        wxComboBoxStdTemplateCtrl->SetSelection(0);
}

void cvq9_config_ui::OnComboboxStdtemplatectrlSelected(wxCommandEvent &event)
{
    const int item = wxComboBoxStdTemplateCtrl->GetSelection();
    if (item >= 0 && static_cast<unsigned>(item) < STD_TEMPLATE_COUNT) {
        const EditStep step(wxComboBoxStdTemplateCtrl->GetValue());
        const unsigned chosen = static_cast<unsigned>(item);
        EditSelectedRecords([chosen](All_Params &record) {
            Q9Text label;
            ApplyStdTemplate(chosen, record, label);
        });
        // The LCD text is the entry's label as the combo shows it.
        const Q9Text label = wxComboBoxStdTemplateCtrl->GetValue().ToStdWstring();
        for (int index : all_selected_ctrl)
            if (index >= 0 && static_cast<unsigned>(index) < CONTROLS_PER_GROUP)
                mylcdstring[CurrentGroup % GROUP_NB][index] = label;
        UpdateWholeParamWindows();
        need_to_save_lib = true;
    }
    event.Skip();
}
