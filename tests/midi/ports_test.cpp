// Port layer: listing, opening with the right arguments, the input filter,
// emptying the input, refusals.
#include "midi_test_support.h"

namespace {

using pmfake::Device;

// --- Listing ---------------------------------------------------------------

TEST_F(MidiTest, ListingPutsEachDirectionInItsOwnTableInDeviceOrder)
{
    const MidiDeviceLists lists = ListMidiDevices();
    ASSERT_EQ(2u, lists.inputs.size());
    ASSERT_EQ(2u, lists.outputs.size());
    EXPECT_EQ(0, midi_in_devices[0]);
    EXPECT_EQ(2, midi_in_devices[1]);
    EXPECT_EQ(1, midi_out_devices[0]);
    EXPECT_EQ(3, midi_out_devices[1]);
    EXPECT_EQ(L"Corvana Q9 MIDI 1", lists.inputs[1].name);
}

TEST_F(MidiTest, ListingCountsADeviceOfBothDirectionsAsInputOnly)
{
    pmfake::SetDevices({{"Both ways", true, true, false}, {"Out only", false, true, false}});
    const MidiDeviceLists lists = ListMidiDevices();
    ASSERT_EQ(1u, lists.inputs.size());
    ASSERT_EQ(1u, lists.outputs.size());
    EXPECT_EQ(0, lists.inputs[0].device);
    EXPECT_EQ(1, lists.outputs[0].device);
}

TEST_F(MidiTest, ListingTakesNamesOneCharacterPerByte)
{
    pmfake::SetDevices({{"Synth \xE9t\xE9", true, false, false}});
    const MidiDeviceLists lists = ListMidiDevices();
    ASSERT_EQ(1u, lists.inputs.size());
    EXPECT_EQ(std::wstring(L"Synth \u00E9t\u00E9"), lists.inputs[0].name);
}

TEST_F(MidiTest, ListingStopsAt32DevicesPerDirection)
{
    std::vector<Device> devices;
    for (int i = 0; i < 40; ++i)
        devices.push_back({"in " + std::to_string(i), true, false, false});
    devices.push_back({"the out", false, true, false});
    pmfake::SetDevices(devices);
    const MidiDeviceLists lists = ListMidiDevices();
    ASSERT_EQ(32u, lists.inputs.size());
    EXPECT_EQ(31, midi_in_devices[31]);
    ASSERT_EQ(1u, lists.outputs.size());
    EXPECT_EQ(40, midi_out_devices[0]);
}

TEST_F(MidiTest, SelectorPositionWithoutEntryHasNoDevice)
{
    ListMidiDevices();
    EXPECT_EQ(2, MidiInDeviceAt(1, 2));
    EXPECT_EQ(-1, MidiInDeviceAt(-1, 2));
    EXPECT_EQ(-1, MidiInDeviceAt(2, 2));
    EXPECT_EQ(-1, MidiOutDeviceAt(32, 40));
    EXPECT_EQ(3, MidiOutDeviceAt(1, 2));
}

// --- Opening ---------------------------------------------------------------

TEST_F(MidiTest, OutputOpensWithBuffer1024Latency60AndNoTimeProcedure)
{
    ASSERT_EQ(0, Open_Midi_Out(kQ9Out));
    ASSERT_EQ(1u, pmfake::Opens().size());
    const pmfake::OpenCall &call = pmfake::Opens()[0];
    EXPECT_FALSE(call.input);
    EXPECT_EQ(kQ9Out, call.device);
    EXPECT_EQ(1024, call.buffer_size);
    EXPECT_EQ(60, call.latency);
    EXPECT_TRUE(call.driver_info_null);
    EXPECT_TRUE(call.time_proc_null);
    EXPECT_TRUE(call.time_info_null);
    EXPECT_EQ(1, pmfake::TimerStarts());
    EXPECT_NE(nullptr, midiOut);
}

TEST_F(MidiTest, InputOpensWithBuffer1024AndFiltersActiveSensingAndClockOnly)
{
    ASSERT_EQ(0, Open_Midi_In(kQ9In));
    const pmfake::OpenCall &call = pmfake::Opens().back();
    EXPECT_TRUE(call.input);
    EXPECT_EQ(1024, call.buffer_size);
    EXPECT_TRUE(call.time_proc_null);
    EXPECT_EQ(PM_FILT_ACTIVE | PM_FILT_CLOCK, pmfake::LastFilter(kQ9In));
    EXPECT_EQ(0, pmfake::LastFilter(kQ9In) & PM_FILT_SYSEX);
}

TEST_F(MidiTest, OldFilterValueFiveWouldDropSysEx)
{
    // The literal of the older interface means SysEx + song position here.
    pmfake::Event sysex = pmfake::EventsFromBytes({0xF0, 0x00, 0x3F, 0x51, 0xF7})[0];
    EXPECT_TRUE(pmfake::Filtered(sysex, 5));
    EXPECT_FALSE(pmfake::Filtered(sysex, MIDI_IN_FILTER));
}

TEST_F(MidiTest, FilterOfTheInputDropsClockAndActiveSensingButNotNotes)
{
    ASSERT_EQ(0, Open_Midi_In(kQ9In));
    pmfake::Inject(kQ9In, {0xF8, 0xFE, 0x90, 0x3C, 0x40, 0xF8});
    PmEvent event;
    ASSERT_EQ(pmGotData, Pm_Poll(midiIn));
    ASSERT_EQ(1, Pm_Read(midiIn, &event, 1));
    EXPECT_EQ(0x403C90, event.message);
    EXPECT_EQ(0, Pm_Read(midiIn, &event, 1));
}

TEST_F(MidiTest, InputOpenDiscardsWhatWasPending)
{
    pmfake::Inject(kQ9In, {0xF8, 0xF8, 0xF8});
    pmfake::InjectNotes(kQ9In, 20);
    pmfake::Inject(kQ9In, SimulatedQ9::Header(0x70, 0, 127, 0));
    ASSERT_EQ(0, Open_Midi_In(kQ9In));
    EXPECT_EQ(0u, pmfake::Pending(kQ9In));
    EXPECT_EQ(pmNoData, Pm_Poll(midiIn));
}

TEST_F(MidiTest, OpeningRefusedForWrongDirectionUnknownBusyOrVanishedDevice)
{
    EXPECT_EQ(1, Open_Midi_Out(kQ9In));
    EXPECT_EQ(1, Open_Midi_In(kQ9Out));
    EXPECT_EQ(1, Open_Midi_In(-1));
    EXPECT_EQ(1, Open_Midi_Out(99));
    EXPECT_EQ(nullptr, midiIn);
    EXPECT_EQ(nullptr, midiOut);
    EXPECT_EQ(0, pmfake::OpenStreams());

    ASSERT_EQ(0, Open_Midi_In(kQ9In));
    PortMidiStream *first = midiIn;
    EXPECT_EQ(1, Open_Midi_In(kQ9In));  // busy: already open
    EXPECT_EQ(nullptr, midiIn);
    Pm_Close(first);

    pmfake::SetDevices({{"gone", false, true, true}});
    EXPECT_EQ(1, Open_Midi_Out(0));
}

TEST_F(MidiTest, ClosingReleasesBothDevicesForTheNextOperation)
{
    OpenBoth();
    EXPECT_EQ(2, pmfake::OpenStreams());
    Close_Midi_In();
    Close_Midi_Out();
    EXPECT_EQ(0, pmfake::OpenStreams());
    EXPECT_EQ(2, pmfake::CloseCount());
    EXPECT_EQ(nullptr, midiIn);
    EXPECT_EQ(nullptr, midiOut);
    OpenBoth();
}

TEST_F(MidiTest, DebugMapsNegativeResultsToFailure)
{
    EXPECT_EQ(1, Debug(pmInvalidDeviceId));
    EXPECT_EQ(1, Debug(pmHostError));
    EXPECT_EQ(0, Debug(pmNoError));
    EXPECT_EQ(0, Debug(pmGotData));
    EXPECT_EQ(0, DebugStream(pmBadPtr));
}

}  // namespace
