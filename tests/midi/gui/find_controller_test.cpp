// Finding the controller among the ports, through the Find button of the
// Preferences tab, with devices plugged in after the program started.
#include "device_gui.h"
#include "settings.h"

namespace {

class FindControllerTest : public DeviceGui
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        pmfake::Reset();
        pmfake::SetDevices({{"Midi Through Port-0", true, false, false}, {"Midi Through Port-0", false, true, false}});
        StartApp();
        dialogs.Clear();
    }

    // Four pairs of ports plugged in: the controller on the third pair, the
    // second output refusing to open.
    void PlugFourPairs(bool controller_answers)
    {
        std::vector<pmfake::Device> devices;
        for (const char *name : {"Synth A", "Interface B", "Corvana Q9 MIDI 1", "Drum machine D"}) {
            devices.push_back({name, true, false, false});
            devices.push_back({name, false, true, false});
        }
        devices[3].fail_open = true;
        pmfake::PlugDevices(devices);
        pmfake::ConnectController(&q9, 5, 4);
        q9.silent = !controller_answers;
    }
};

TEST_F(FindControllerTest, TheAnsweringPairIsChosenAmongNewlyPluggedPorts)
{
    PlugFourPairs(true);
    Run(pui->wxButtonFindController, PAGE_PREFERENCES);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    // The ports are listed anew and the third pair is chosen and kept.
    ASSERT_EQ(4u, pui->wxComboBoxMidiIn->GetCount());
    EXPECT_EQ(wxString("Corvana Q9 MIDI 1"), pui->wxComboBoxMidiIn->GetStringSelection());
    EXPECT_EQ(wxString("Corvana Q9 MIDI 1"), pui->wxComboBoxMidiOut->GetStringSelection());
    EXPECT_EQ(2, settings::MidiInDev());
    EXPECT_EQ(2, settings::MidiOutDev());
    // The request went out on each output in turn until the controller
    // answered; the one that refused to open was passed over.
    EXPECT_EQ(std::vector<Bytes>{kIdentityRequest}, pmfake::WrittenTo(1));
    EXPECT_TRUE(pmfake::WrittenTo(3).empty());
    EXPECT_EQ(std::vector<Bytes>{kIdentityRequest}, pmfake::WrittenTo(5));
    EXPECT_TRUE(pmfake::WrittenTo(7).empty());
    EXPECT_TRUE(cvq9_connected);  // as after Connect, whose test looks at the identity shown
}

TEST_F(FindControllerTest, WithoutAnAnswerItSaysSoAndKeepsTheChoice)
{
    PlugFourPairs(false);
    const long in = settings::MidiInDev(), out = settings::MidiOutDev();
    Run(pui->wxButtonFindController, PAGE_PREFERENCES);
    const auto boxes = dialogs.Texts(wxT("Find the controller"));
    ASSERT_EQ(1u, boxes.size()) << dialogs.Describe();
    EXPECT_TRUE(boxes[0].StartsWith(wxT("No controller answered on the 4 MIDI outputs.")));
    EXPECT_FALSE(cvq9_connected);
    EXPECT_EQ(in, settings::MidiInDev());
    EXPECT_EQ(out, settings::MidiOutDev());
    EXPECT_EQ(3u, pmfake::Writes().size());  // every output that opened was asked
}

}  // namespace
