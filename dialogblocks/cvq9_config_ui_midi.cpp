// Editor panel: the MIDI port selectors of the Preferences tab, filled once
// from PortMidi's device list, and the remembered choice.
#include "cvq9_config_ui.h"

#include <wx/msgdlg.h>

#include "Midi_Ios.h"
#include "settings.h"

namespace {

// A stored position that is not in the new list leaves the selector without a selection.
void SelectPosition(wxComboBox *selector, long position)
{
    if (position >= 0 && position < static_cast<long>(selector->GetCount()))
        selector->SetSelection(static_cast<int>(position));
    else
        selector->SetSelection(wxNOT_FOUND);
}

void Fill(wxComboBox *selector, const std::vector<MidiDeviceEntry> &devices)
{
    selector->Clear();
    for (const MidiDeviceEntry &entry : devices)
        selector->Append(wxString(entry.name));
}

}  // namespace

void cvq9_config_ui::EnumerateMidiDevices()
{
    if (!wxComboBoxMidiIn || !wxComboBoxMidiOut)
        return;
    // The device tables follow the selectors entry by entry.
    const MidiDeviceLists lists = ListMidiDevices();
    ShowMidiDevices(lists);
    if (lists.inputs.empty())
        wxMessageDialog(this, wxT("No MIDI In device detected"), wxT("MIDI error"), wxOK | wxCENTRE).ShowModal();
    if (lists.outputs.empty())
        wxMessageDialog(this, wxT("No MIDI Out device detected"), wxT("MIDI error"), wxOK | wxCENTRE).ShowModal();
}

void cvq9_config_ui::ShowMidiDevices(const MidiDeviceLists &lists)
{
    Fill(wxComboBoxMidiIn, lists.inputs);
    Fill(wxComboBoxMidiOut, lists.outputs);
    SelectPosition(wxComboBoxMidiIn, settings::MidiInDev());
    SelectPosition(wxComboBoxMidiOut, settings::MidiOutDev());
}

void cvq9_config_ui::OnComboboxMidiInSelected(wxCommandEvent &event)
{
    settings::SetMidiInDev(wxComboBoxMidiIn->GetSelection());
    event.Skip();
}

void cvq9_config_ui::OnComboboxMidiOutSelected(wxCommandEvent &event)
{
    settings::SetMidiOutDev(wxComboBoxMidiOut->GetSelection());
    event.Skip();
}
