// Editor panel: the assignment checks run on request and before transfers and
// saves, their messages, and the common-field mask of a multiple selection.
#include "cvq9_config_ui.h"
#include "device_text.h"

#include <wx/msgdlg.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "assignment_checks.h"
#include "config_tables.h"
#include "panel_selection.h"
#include "param_messages.h"
#include "record_access.h"
#include "selection_mask.h"

uint8_t cvq9_config_ui::CheckCurrentParam(uint8_t group, uint8_t control)
{
    // The MIDI string on screen is checked whatever control is asked for: an
    // odd digit count has not reached any record yet.
    if (IsIncompleteMidiText(MidiStringFieldLength())) {
        DisplayParamError(PARAM_ODD_DIGITS, group, control);
        return PARAM_ODD_DIGITS;
    }
    const uint8_t code = CheckStoredControl(group, control);
    if (code != 0)
        DisplayParamError(code, group, control);
    return code;
}

uint8_t cvq9_config_ui::CheckAllParam()
{
    GAUGE_Bargraph->SetValue(0);
    GAUGE_Bargraph->SetRange(CHECK_ALL_STEPS);
    if (IsIncompleteMidiText(MidiStringFieldLength())) {
        DisplayParamError(PARAM_ODD_DIGITS, static_cast<uint8_t>(CurrentGroup), static_cast<uint8_t>(ControlIndex));
        return PARAM_ODD_DIGITS;
    }
    CheckPosition failed;
    const uint8_t code = CheckStoredRange([this] { return wxSpinCtrlStartGroup->GetValue(); },
                                          [this] { return wxSpinCtrlEndGroup->GetValue(); },
                                          [this](int step) { GAUGE_Bargraph->SetValue(step); }, failed);
    if (code != 0) {
        DisplayParamError(code, static_cast<uint8_t>(failed.group), static_cast<uint8_t>(failed.control));
        return code;
    }
    GAUGE_Bargraph->SetValue(0);
    return 0;
}

void cvq9_config_ui::DisplayParamError(uint8_t code, uint8_t group, uint8_t control)
{
    const std::string message = StoredControlMessage(code, group, control);

    const bool passes = Check_Code_Passes(code);
    if (!passes && group < GROUP_NB && control < CONTROLS_PER_GROUP) {
        // Show the faulty control, alone, as the selection: the view draws it
        // alone, so edits made to fix it must reach it alone.
        const bool group_changed = CurrentGroup != group;
        CurrentGroup = group;
        ControlIndex = control;
        all_selected_ctrl.assign(1, static_cast<int>(control));
        ShowAddressedSelection({control}, group_changed);
    }
    wxMessageBox(DeviceText(message), wxT("Parameter check"), wxOK | wxCENTRE, this);
}

void cvq9_config_ui::ShowAddressedSelection(const std::vector<unsigned> &drawn, bool group_changed)
{
    if (m_pGroupCombo) {
        m_pGroupCombo->SetSelection(static_cast<int>(CurrentGroup));
        // A transport button belongs to group 0 only: while one is shown the
        // group cannot change under it.
        m_pGroupCombo->Enable(!programming && !IsTransportIndex(ControlIndex));
    }
    if (pCVQ9View)
        pCVQ9View->DrawIndices(drawn);
    UpdateWholeParamWindows();
    // The group name field edits the current group's name.
    if (group_changed)
        UpdateWholeGlobalParamsWindows();
}

void cvq9_config_ui::ShowControls(unsigned group, const std::vector<int> &controls)
{
    const bool group_changed = CurrentGroup != group;
    CurrentGroup = group;
    all_selected_ctrl = controls;
    ControlIndex = static_cast<unsigned>(controls.back());
    ShowAddressedSelection(std::vector<unsigned>(controls.begin(), controls.end()), group_changed);
}

void cvq9_config_ui::OnButtonCheckAllClick(wxCommandEvent &event)
{
    CheckAllParam();
    event.Skip();
}

uint32_t cvq9_config_ui::CheckCommonCtrlParameters()
{
    return CommonFieldMask(CurrentGroup, ControlIndex, all_selected_ctrl);
}
