// Editor panel: the Preferences tab (transfer options, group range, offline
// mode) and the connection and version gating of menus, toolbar and widgets.
#include "cvq9_config_ui.h"
#include "device_text.h"

#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "exchange.h"
#include "settings.h"

namespace {

void ApplyTo(wxWindow *window, Switch change)
{
    if (window && change != Switch::Keep)
        window->Enable(change == Switch::On);
}

void ApplyTo(wxMenu *menu, std::initializer_list<int> ids, Switch change)
{
    if (!menu || change == Switch::Keep)
        return;
    for (int id : ids) {
        if (menu->FindItem(id))
            menu->Enable(id, change == Switch::On);
    }
}

}  // namespace

void cvq9_config_ui::OnCheckboxIgnoreMidiClick(wxCommandEvent &event)
{
    settings::SetIgnoreMidiProg(CheckboxIgnoreMIDI->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxIgnoreLcdClick(wxCommandEvent &event)
{
    settings::SetIgnoreLcdProg(CheckboxIgnoreLcd->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxProgUndefClick(wxCommandEvent &event)
{
    settings::SetProgUndef(CheckboxProgUndef->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnCheckboxVerifyAfterDownloadClick(wxCommandEvent &event)
{
    settings::SetVerifyAfterDownload(CheckboxVerifyAfterDownload->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlStartGroupUpdated(wxSpinEvent &event)
{
    settings::SetStartGroup(wxSpinCtrlStartGroup->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlStartGroupTextUpdated(wxCommandEvent &)
{
    // The value is written by the spin handler; typing alone writes nothing.
}

void cvq9_config_ui::OnSpinctrlEndGroupUpdated(wxSpinEvent &event)
{
    settings::SetEndGroup(wxSpinCtrlEndGroup->GetValue());
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlEndGroupTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::ApplyOfflineVersion(wxChoice *choice, unsigned first, float &version, wxStaticText *display)
{
    const VersionDigits digits = ParseVersionText(choice->GetStringSelection().ToStdWstring());
    serial_nb[first] = digits.major;
    serial_nb[first + 1] = digits.minor;
    version = VersionNumber(digits);
    display->SetLabel(wxString(VersionText(digits)));
}

void cvq9_config_ui::OnCheckboxOfflineClick(wxCommandEvent &event)
{
    if (wxCheckBoxOffline->GetValue()) {
        wxChoiceFwOffline->Enable(true);
        wxChoiceHwOffline->Enable(true);
        wxButtonGetIdentity->Enable(false);
        wxButtonFindController->Enable(false);
        cvq9_connected = false;
        offline_mode = true;
        ApplyOfflineVersion(wxChoiceFwOffline, 0, fw_version_float, TEXTCTRL_CurrentFwVersion);
        ApplyOfflineVersion(wxChoiceHwOffline, 2, hw_version_float, TEXTCTRL_CurrentHwVersion);
        TEXTCTRL_CurrentFwYear->SetLabel(wxT("-"));
        TEXTCTRL_CurrentFwMonth->SetLabel(wxT("-"));
        TEXTCTRL_CurrentFwSerial->SetLabel(wxT("-"));
    } else {
        wxChoiceFwOffline->Enable(false);
        wxChoiceHwOffline->Enable(false);
        offline_mode = false;
        wxButtonGetIdentity->Enable(true);
        wxButtonFindController->Enable(true);
        cvq9_connected = false;
        TEXTCTRL_CurrentFwVersion->SetLabel(wxT("-"));
        TEXTCTRL_CurrentHwVersion->SetLabel(wxT("-"));
    }
    EnableDisableUiFromFwVersion();
    event.Skip();
}

void cvq9_config_ui::OnChoiceFwOfflineSelected(wxCommandEvent &event)
{
    ApplyOfflineVersion(wxChoiceFwOffline, 0, fw_version_float, TEXTCTRL_CurrentFwVersion);
    EnableDisableUiFromFwVersion();
    settings::SetOfflineFwVersion(TEXTCTRL_CurrentFwVersion->GetLabel());
    event.Skip();
}

void cvq9_config_ui::OnChoiceHwOfflineSelected(wxCommandEvent &event)
{
    ApplyOfflineVersion(wxChoiceHwOffline, 2, hw_version_float, TEXTCTRL_CurrentHwVersion);
    EnableDisableUiFromFwVersion();
    settings::SetOfflineHwVersion(TEXTCTRL_CurrentHwVersion->GetLabel());
    event.Skip();
}

void cvq9_config_ui::EnableDisableUiFromFwVersion()
{
    GatingState state;
    state.connected = cvq9_connected;
    state.offline = offline_mode;
    state.file_path_set = !FilePath.empty();
    state.default_lib_loaded = default_lib_loaded;
    state.recovered_work = library_recovered;
    state.fw_version = fw_version_float;
    state.hw_version = hw_version_float;
    state.common_byte5 = common_params[5];
    state.common_byte33 = common_params[33];
    const VersionGating gating = VersionGatingRule(state);

    ApplyTo(pFileMenu, {ID_CVQ9_NEW, ID_CVQ9_OPEN}, gating.file_new_open);
    ApplyTo(pFileMenu, {ID_CVQ9_SAVE, ID_CVQ9_SAVEAS, ID_CVQ9_EXPORT_TEXT, ID_CVQ9_EXPORT_SYSEX, ID_CVQ9_IMPORT_SYSEX},
            gating.file_save_export);
    ApplyTo(pFileMenu, {ID_CVQ9_LOAD_DEFAULT, ID_CVQ9_IMPORT}, gating.file_default_import);
    ApplyTo(toolBar, gating.toolbar);
    ApplyTo(pParamMenu, {ID_CVQ9_COPY, ID_CVQ9_CHECK_CURRENT, ID_CVQ9_CHECK_ALL}, gating.control_copy_check);
    ApplyTo(pGroupMenu, {ID_CVQ9_COPY_GROUP, ID_CVQ9_CLEAR_GROUP}, gating.group_copy_clear);
    ApplyTo(pMenuRightClick, {ID_CVQ9_COPY, ID_CVQ9_CLEAR}, gating.right_click_copy_clear);
    ApplyTo(wxChoiceOperatingMode, gating.operating_mode);
    if (!gating.active)
        return;

    ApplyTo(CheckboxShiftLockMidi, gating.shift_lock_and_nibble);
    ApplyTo(CheckboxShiftLockChannel, gating.shift_lock_and_nibble);
    ApplyTo(wxCheckBoxNibbleCtrl, gating.shift_lock_and_nibble);
    if (gating.rebuild_operating_modes) {
        wxChoiceOperatingMode->Clear();
        for (const std::string &mode : gating.operating_modes)
            wxChoiceOperatingMode->Append(DeviceText(mode));
        wxChoiceOperatingMode->SetSelection(gating.operating_mode_selection);
    }
    ApplyTo(wxRadioBoxShiftMode, gating.shift_mode_fader_tempo);
    ApplyTo(wxCheckBoxMackieFadFbkEn, gating.shift_mode_fader_tempo);
    ApplyTo(wxCheckBoxTempoMode, gating.shift_mode_fader_tempo);
    if (CheckboxInfraredState && !gating.infrared_label.empty())
        CheckboxInfraredState->SetLabel(DeviceText(gating.infrared_label));
}
