// Editor panel: the handlers of the global, realtime and assignment tabs, the
// identity request and the transfers, and the bottom-area buttons that lead to
// the library file and to a running transfer.
#include "cvq9_config_ui.h"

#include "CVQ9Mainframe.h"
#include "config_tables.h"

// ---- Tab displays.

void cvq9_config_ui::UpdateWholeParamWindows()
{
    // The firmware and connection gating comes first, as every display of the
    // assignment tabs starts with it.
    EnableDisableUiFromFwVersion();
}

void cvq9_config_ui::UpdateWholeGlobalParamsWindows()
{
}

// ---- Transfer workers.

uint8_t cvq9_config_ui::DownloadSingleToCvQ9(uint8_t, bool)
{
    return 0;
}

uint8_t cvq9_config_ui::UploadSingleFromCvQ9(uint8_t, bool)
{
    return 0;
}

uint8_t cvq9_config_ui::DownloadSelectedParametersToCvQ9()
{
    return 0;
}

uint8_t cvq9_config_ui::UploadSelectedParametersFromCvQ9()
{
    return 0;
}

// ---- Bottom area.

void cvq9_config_ui::OnButtonCancelClick(wxCommandEvent &event)
{
    // The running transfer stops at its next step.
    must_finish_midi = true;
    event.Skip();
}

void cvq9_config_ui::OnButtonSavealltolibraryfileClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->SaveLibrary();
    event.Skip();
}

void cvq9_config_ui::OnButtonLoadallfromlibClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->LoadAllFromLibraryFile(wxString(FilePath));
    event.Skip();
}

// ---- Global parameters tab (filled with the tab's display).

void cvq9_config_ui::OnTextctrGroupNamelUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeUsbInClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeUsbOutClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeMidiInClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeMidiOutClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnRadioboxMidiFilterSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceVideoModeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceAnalogModeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxLfoStateClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppStateClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMotionStateClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceCurrentAutomSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceOperatingModeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMackieFaderFbkClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxInfraredStateClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxShiftLockClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxShiftLockChannelClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnRadioboxShiftModeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonEditCurvesModelsClick(wxCommandEvent &event)
{
    event.Skip();
}

// ---- Realtime parameters tab.

void cvq9_config_ui::OnCheckboxGenIntSyncClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnTextctrlTempoUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxTempoModeClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceExtSyncSrcSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceLfoSyncSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceArppSyncSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceMotionSyncSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppMidiOut1Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppMidiOut2Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppUsbOutClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceArppMidiSrcSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMotionLoopClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceLfoWaveSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxS24StateClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnChoiceS24SyncSelected(wxCommandEvent &event)
{
    event.Skip();
}

// ---- Common and standard assignment tab.

void cvq9_config_ui::OnCheckboxAutosendClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSceneexcludeClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtoout1Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtoout2Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxSendtooutusbClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnRadioboxSwitchmodeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnRadioboxMidieventstdmodeSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeUpdated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCcnotenumberstdmodeTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

// ---- User assignment tab: preset and template sources.

void cvq9_config_ui::OnRadiobuttonPresetSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnComboboxPresetctrlSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnComboboxPresetparamctrlSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnRadiobuttonStdTemplateSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnComboboxStdtemplatectrlSelected(wxCommandEvent &event)
{
    event.Skip();
}

// ---- User assignment tab: the record fields and strings.

void cvq9_config_ui::OnComboboxMididelaySelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnComboboxChainedctrlnumeroSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxCrossfadechainClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMinValueUpdated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMinValueTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMaxValueUpdated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMaxValueTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMidichannelpositionUpdated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlMidichannelpositionTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition1Updated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition1TextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition2Updated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlCtrlvalueposition2TextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnComboboxCurvemodelSelected(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonEditCurveClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxNibbleCtrlClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnCheckboxEnablechecksumClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlChecksumfirstbyteUpdated(wxSpinEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnSpinctrlChecksumfirstbyteTextUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnTextctrlMidistringUpdated(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnTextctrlLcdstringUpdated(wxCommandEvent &event)
{
    event.Skip();
}

// ---- Identity request and transfers.

void cvq9_config_ui::OnButtonGetIdentityClick(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonUploadcurrentfromq9Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonDownloadcurrenttoq9Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonUploadallfromq9Click(wxCommandEvent &event)
{
    event.Skip();
}

void cvq9_config_ui::OnButtonDownloadalltoq9Click(wxCommandEvent &event)
{
    event.Skip();
}
