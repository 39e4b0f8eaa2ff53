// The GUI fixture with the PortMidi test double's usual system and its
// simulated controller: the program started on the controller's ports, every
// transfer option off, the pauses between messages recorded and not waited.
#ifndef CVQ9_DEVICE_GUI_H
#define CVQ9_DEVICE_GUI_H

#include <vector>

#include "exchange.h"
#include "gui_fixture.h"
#include "portmidi_fake.h"
#include "simulated_q9.h"

using Bytes = std::vector<uint8_t>;

const Bytes kIdentityRequest = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x30, 0x0B, 0x7F, 0x00, 0xF7};

class DeviceGui : public GuiFixture
{
protected:
    SimulatedQ9 q9;
    std::vector<unsigned> pauses;

    void SetUp() override
    {
        GuiFixture::SetUp();
        StartWithController();
    }

    void TearDown() override
    {
        SetTransferPause(nullptr);
        GuiFixture::TearDown();
    }

    void StartWithController()
    {
        pmfake::Reset();
        pmfake::SetUsualSystem(&q9);
        StartApp();
        ASSERT_EQ(pui->wxComboBoxMidiIn->GetSelection() + pui->wxComboBoxMidiOut->GetSelection(), 2);
        pmfake::ClearRecords();
        dialogs.Clear();
        for (wxCheckBox *box : {pui->CheckboxIgnoreMIDI, pui->CheckboxIgnoreLcd, pui->CheckboxProgUndef})
            box->SetValue(false);
        SetTransferPause([this](unsigned ms) { pauses.push_back(ms); });
    }

    // Runs a button on a page and expects the program idle afterwards.
    void Run(wxButton *button, int page = PAGE_ASSIGN_STD)
    {
        ShowPage(page);
        Click(button);
        Pump(2);
        EXPECT_FALSE(programming || must_finish_midi);
        EXPECT_EQ(pmfake::OpenStreams(), 0);
        EXPECT_EQ(pui->GAUGE_Bargraph->GetValue(), 0);
    }

    std::vector<wxString> MidiErrors() const { return dialogs.Texts("CVQ9 MIDI Error"); }
};

#endif
