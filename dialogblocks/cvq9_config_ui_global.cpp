// Editor panel: the "Global parameters" and "Realtime parameters" tabs. The
// display fills the widgets from common_params and the current group's name;
// each handler writes its widget back into its bits. Where a setting lives and
// how it is encoded for the current firmware is global_params.h's business.
#include "cvq9_config_ui.h"

#include <wx/itemid.h>

#include "config_tables.h"
#include "edit_history.h"
#include "enabling_rules.h"
#include "global_params.h"

namespace {

// The widget that shows each single-bit setting: a check box (checked = bit
// set) or a two-item choice or radio box (item 1 = bit set).
struct BitWidget {
    GlobalBit setting;
    wxWindow *(*widget)(const cvq9_config_ui &ui);
    const char *name;  // of its undo step
};

#define CVQ9_WIDGET(member) [](const cvq9_config_ui &ui) -> wxWindow * { return ui.member; }
const BitWidget kBitWidgets[] = {
    {GlobalBit::MergeMidiOut, CVQ9_WIDGET(wxCheckBoxMergeMidiOut), "MIDI Out 1"},
    {GlobalBit::MergeUsbOut, CVQ9_WIDGET(wxCheckBoxMergeUsbOut), "USB Out 1"},
    {GlobalBit::MergeUsbIn, CVQ9_WIDGET(wxCheckBoxMergeUsbIn), "USB In"},
    {GlobalBit::MergeMidiIn, CVQ9_WIDGET(wxCheckBoxMergeMidiIn), "MIDI In"},
    {GlobalBit::Sync24Enable, CVQ9_WIDGET(CheckboxSync24Enable), "Sync-24"},
    {GlobalBit::ExtSyncSrc, CVQ9_WIDGET(wxChoiceExtSyncSrc), "Ext Sync. source"},
    {GlobalBit::GenIntSync, CVQ9_WIDGET(wxCheckBoxGenIntSync), "Generate internal Sync."},
    {GlobalBit::ArppMidiSrc, CVQ9_WIDGET(wxChoiceExtArppMIDISrc), "MIDI Source"},
    {GlobalBit::ArppState, CVQ9_WIDGET(CheckboxArppState), "Enable Arpp"},
    {GlobalBit::Sync24Sync, CVQ9_WIDGET(wxChoiceSync24Sync), "Sync-24 Sync. mode"},
    {GlobalBit::ShiftLockChannel, CVQ9_WIDGET(CheckboxShiftLockChannel), "CVQ9 channel insertion"},
    {GlobalBit::ShiftMode, CVQ9_WIDGET(wxRadioBoxShiftMode), "SHIFT button mode"},
    {GlobalBit::ArppToMidiOut2, CVQ9_WIDGET(CheckboxArppToMidiOut2), "Arppeggio to MIDI Out 2"},
    {GlobalBit::ArppToMidiOut1, CVQ9_WIDGET(CheckboxArppToMidiOut1), "Arppeggio to MIDI Out 1"},
    {GlobalBit::ArppToUsb, CVQ9_WIDGET(CheckboxArppToUSB), "Arppeggio to USB Out"},
    {GlobalBit::ArppSync, CVQ9_WIDGET(wxChoiceExtArppSync), "Arpp. Sync"},
    {GlobalBit::MotionLoop, CVQ9_WIDGET(CheckboxMotionLoop), "Loop playback"},
    {GlobalBit::MotionState, CVQ9_WIDGET(CheckboxMotionState), "Enable Motion"},
    {GlobalBit::LfoSync, CVQ9_WIDGET(wxChoiceExtLfoSync), "LFO Sync"},
    {GlobalBit::LfoState, CVQ9_WIDGET(CheckboxLFOState), "Enable LFO"},
    {GlobalBit::InfraredState, CVQ9_WIDGET(CheckboxInfraredState), "Enable Infrared controller"},
    {GlobalBit::MotionSync, CVQ9_WIDGET(wxChoiceExtMotionSync), "Motion Sync"},
    {GlobalBit::AnalogMode, CVQ9_WIDGET(wxChoiceAnalogMode), "Analog mode"},
    {GlobalBit::ShiftLockMidi, CVQ9_WIDGET(CheckboxShiftLockMidi), "MIDI and USB Outs"},
    {GlobalBit::MackieFaderFbk, CVQ9_WIDGET(wxCheckBoxMackieFadFbkEn), "Enable Mackie/Logic faders feedback"},
    {GlobalBit::TempoMode, CVQ9_WIDGET(wxCheckBoxTempoMode), "Continuous tempo change"},
};
#undef CVQ9_WIDGET
static_assert(sizeof kBitWidgets / sizeof kBitWidgets[0] == kGlobalBitCount, "one widget per single-bit setting");

// The widget's value as a bit: checked, or an item other than 0 selected.
bool WidgetBit(wxWindow *widget)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(widget))
        return box->GetValue();
    if (auto *items = dynamic_cast<wxItemContainerImmutable *>(widget))
        return items->GetSelection() > 0;
    return false;
}

void ShowWidgetBit(wxWindow *widget, bool on)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(widget))
        box->SetValue(on);
    else if (auto *items = dynamic_cast<wxItemContainerImmutable *>(widget))
        items->SetSelection(on ? 1 : 0);
}

// The selected item of a choice or radio box.
int SelectedItem(const wxItemContainerImmutable *items)
{
    return items->GetSelection();
}

void ShowItem(wxItemContainerImmutable *items, int item)
{
    items->SetSelection(item >= 0 && static_cast<unsigned>(item) < items->GetCount() ? item : wxNOT_FOUND);
}

// The shared body of the single-bit handlers: the widget's state into its bit
// for the current firmware. A setting the firmware does not have changes
// nothing, and leaves the library unchanged too.
void WriteBitFromWidget(const cvq9_config_ui &ui, GlobalBit setting)
{
    const BitWidget *entry = nullptr;
    for (const BitWidget &candidate : kBitWidgets)
        if (candidate.setting == setting)
            entry = &candidate;
    const auto where = GlobalBitLocation(setting, fw_version_float);
    if (!where)
        return;
    const EditStep step(entry->name);
    WriteCommonBit(common_params, *where, WidgetBit(entry->widget(ui)));
    need_to_save_lib = true;
}

// Multi-bit settings: the block's byte rewritten from the selected item.
void WriteByteFromItem(const char *name, const wxItemContainerImmutable *items, unsigned byte,
                       uint8_t (*encode)(uint8_t, int))
{
    const int item = SelectedItem(items);
    if (item < 0)
        return;
    const EditStep step(name);
    common_params[byte] = encode(common_params[byte], item);
    need_to_save_lib = true;
}

// Current automation: the item index is the byte.
uint8_t AutomationByte(uint8_t, int item)
{
    return static_cast<uint8_t>(item);
}

// The group name field shows the visible characters; a stored name ends with
// one NUL character that the field does not hold.
wxString VisibleText(const Q9Text &text)
{
    return wxString(text.substr(0, text.find(L'\0')));
}

}  // namespace

void cvq9_config_ui::UpdateWholeGlobalParamsWindows()
{
    // ChangeValue fills the two text fields without running their handlers, so
    // a display never marks the library as changed.
    if (CurrentGroup < GROUP_NB)
        wxTextCtrlGroupName->ChangeValue(VisibleText(mygroupnames[CurrentGroup]));
    for (const BitWidget &entry : kBitWidgets) {
        const auto where = GlobalBitLocation(entry.setting, fw_version_float);
        if (where)
            ShowWidgetBit(entry.widget(*this), ReadCommonBit(common_params, *where));
    }
    ShowItem(wxRadioBoxFilterMidi, FilterItem(common_params[kFilterByte]));
    wxTextCtrlTempo->ChangeValue(wxString(TempoText(common_params[kTempoByte])));
    ShowItem(wxChoiceCurrentAutomation, common_params[kAutomationByte]);
    ShowItem(wxChoiceVideoMode, VideoItem(common_params[kVideoByte]));
    ShowItem(wxChoiceOperatingMode,
             StoredOperatingMode(fw_version_float, common_params[5], common_params[kOperatingModeByte]));
    ShowItem(wxChoiceLfoWave, LfoWaveItem(common_params[kLfoWaveByte]));
}

// ---- Global parameters tab.

void cvq9_config_ui::OnTextctrGroupNamelUpdated(wxCommandEvent &event)
{
    // The field reports its first text while it is being made.
    if (wxTextCtrlGroupName && CurrentGroup < GROUP_NB) {
        const EditStep step(wxT("Group name"), ID_TEXTCTRL_GROUP_NAME);
        mygroupnames[CurrentGroup] = wxTextCtrlGroupName->GetValue().ToStdWstring();
        need_to_save_lib = true;
    }
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeUsbInClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MergeUsbIn);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeUsbOutClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MergeUsbOut);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeMidiInClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MergeMidiIn);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMergeMidiOutClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MergeMidiOut);
    event.Skip();
}

void cvq9_config_ui::OnRadioboxMidiFilterSelected(wxCommandEvent &event)
{
    WriteByteFromItem("Inputs Filters", wxRadioBoxFilterMidi, kFilterByte, WithFilterItem);
    event.Skip();
}

void cvq9_config_ui::OnChoiceVideoModeSelected(wxCommandEvent &event)
{
    WriteByteFromItem("Video mode", wxChoiceVideoMode, kVideoByte, WithVideoItem);
    event.Skip();
}

void cvq9_config_ui::OnChoiceAnalogModeSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::AnalogMode);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxLfoStateClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::LfoState);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppStateClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppState);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMotionStateClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MotionState);
    event.Skip();
}

void cvq9_config_ui::OnChoiceCurrentAutomSelected(wxCommandEvent &event)
{
    WriteByteFromItem("Current automation", wxChoiceCurrentAutomation, kAutomationByte, AutomationByte);
    event.Skip();
}

void cvq9_config_ui::OnChoiceOperatingModeSelected(wxCommandEvent &event)
{
    const int item = SelectedItem(wxChoiceOperatingMode);
    if (item >= 0) {
        const EditStep step(wxT("Operating mode"));
        WriteOperatingMode(common_params, fw_version_float, item);
        need_to_save_lib = true;
    }
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMackieFaderFbkClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MackieFaderFbk);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxInfraredStateClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::InfraredState);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxShiftLockClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ShiftLockMidi);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxShiftLockChannelClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ShiftLockChannel);
    event.Skip();
}

void cvq9_config_ui::OnRadioboxShiftModeSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ShiftMode);
    event.Skip();
}

void cvq9_config_ui::OnButtonEditCurvesModelsClick(wxCommandEvent &event)
{
    // The same editor, opened on the same page, as the assignment tab's Edit button.
    OnButtonEditCurveClick(event);
}

// ---- Realtime parameters tab.

void cvq9_config_ui::OnCheckboxGenIntSyncClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::GenIntSync);
    event.Skip();
}

void cvq9_config_ui::OnTextctrlTempoUpdated(wxCommandEvent &event)
{
    if (wxTextCtrlTempo) {
        const EditStep step(wxT("Internal tempo"), ID_TEXTCTRL_TEMPO);
        common_params[kTempoByte] = TempoByteFromText(wxTextCtrlTempo->GetValue().ToStdWstring());
        need_to_save_lib = true;
    }
    event.Skip();
}

void cvq9_config_ui::OnCheckboxTempoModeClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::TempoMode);
    event.Skip();
}

void cvq9_config_ui::OnChoiceExtSyncSrcSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ExtSyncSrc);
    event.Skip();
}

void cvq9_config_ui::OnChoiceLfoSyncSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::LfoSync);
    event.Skip();
}

void cvq9_config_ui::OnChoiceArppSyncSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppSync);
    event.Skip();
}

void cvq9_config_ui::OnChoiceMotionSyncSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MotionSync);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppMidiOut1Click(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppToMidiOut1);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppMidiOut2Click(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppToMidiOut2);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxArppUsbOutClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppToUsb);
    event.Skip();
}

void cvq9_config_ui::OnChoiceArppMidiSrcSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::ArppMidiSrc);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxMotionLoopClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::MotionLoop);
    event.Skip();
}

void cvq9_config_ui::OnChoiceLfoWaveSelected(wxCommandEvent &event)
{
    WriteByteFromItem("Wave type", wxChoiceLfoWave, kLfoWaveByte, WithLfoWaveItem);
    event.Skip();
}

void cvq9_config_ui::OnCheckboxS24StateClick(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::Sync24Enable);
    event.Skip();
}

void cvq9_config_ui::OnChoiceS24SyncSelected(wxCommandEvent &event)
{
    WriteBitFromWidget(*this, GlobalBit::Sync24Sync);
    event.Skip();
}
