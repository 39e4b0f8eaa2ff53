// The shipped preset library, as compiled by the build: every gear lists, every
// parameter converts and passes the assignment check, and a sample of events
// is right to the byte.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cross_functions.h"
#include "libconv.h"

namespace {

std::vector<std::pair<std::string, std::string>> g_messages;

void Capture(const std::string &caption, const std::string &text)
{
    g_messages.emplace_back(caption, text);
}

class ShippedPresets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_messages.clear();
        previous_ = SetPresetMessageReporter(Capture);
        ASSERT_GT(RT_LoadFileInRam(CVQ9_BINARY_DIR "/hlvlib.xcq"), 0u) << "the build makes hlvlib.xcq";
    }
    void TearDown() override
    {
        ReleasePresetLibrary();
        SetPresetMessageReporter(previous_);
    }

    std::vector<std::string> Gears()
    {
        static char rows[PRESET_MAX_GEAR][PRESET_GEAR_ROW];
        const int n = FillLibTab(rows, PRESET_MAX_GEAR);
        return std::vector<std::string>(rows, rows + n);
    }

    std::vector<std::string> Params(const std::string &gear)
    {
        static char rows[PRESET_MAX_PARAMS][PRESET_PARAM_ROW];
        const int n = FillCtrlTab(gear.c_str(), rows, PRESET_MAX_PARAMS);
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.emplace_back(rows[i], strnlen(rows[i], PRESET_PARAM_ROW));
        return names;
    }

    // Converts one parameter; fails the test when it does not convert.
    All_Params Knob(const std::string &gear, const std::string &param, Q9Text *lcd = nullptr)
    {
        All_Params r;
        std::memset(&r, 0, sizeof r);
        Q9Text text;
        EXPECT_EQ(GetKnob(gear.c_str(), param.c_str(), &r, &text), 1) << gear << " / " << param;
        if (lcd)
            *lcd = text;
        return r;
    }

    static std::vector<uint8_t> Event(const All_Params &r)
    {
        return std::vector<uint8_t>(r.midi_string, r.midi_string + r.midi_str_lenght);
    }

    PresetMessageReporter previous_ = nullptr;
};

}  // namespace

TEST_F(ShippedPresets, ListsAtLeastSixGearsWithDistinctNames)
{
    const std::vector<std::string> gears = Gears();
    EXPECT_GE(gears.size(), 6u);
    EXPECT_EQ(std::set<std::string>(gears.begin(), gears.end()).size(), gears.size());
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(ShippedPresets, EveryParameterConvertsAndPassesTheRecordCheck)
{
    size_t total = 0;
    for (const std::string &gear : Gears()) {
        const std::vector<std::string> params = Params(gear);
        EXPECT_FALSE(params.empty()) << gear;
        EXPECT_EQ(std::set<std::string>(params.begin(), params.end()).size(), params.size()) << gear;
        for (const std::string &param : params) {
            Q9Text lcd;
            const All_Params r = Knob(gear, param, &lcd);
            EXPECT_LE(CheckMidiStruct(&r, FIRST_GROUP_CONTROL), 3) << gear << " / " << param;
            EXPECT_LE(lcd.size(), 16u) << param;
            for (wchar_t c : lcd)
                EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << param;
            ++total;
        }
    }
    EXPECT_GE(total, 150u);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(ShippedPresets, CoversTheStandards)
{
    const std::vector<std::string> gears = Gears();
    const std::set<std::string> names(gears.begin(), gears.end());
    for (const char *g :
         {"General MIDI 1 - Controllers", "General MIDI 1 - RPN and Channel Messages", "General MIDI 2 - Controllers",
          "General MIDI 2 - RPN and Global SysEx", "Universal Real Time SysEx - Device Control",
          "MIDI Machine Control - Transport", "GS - NRPN Parameters", "XG - NRPN Parameters"})
        EXPECT_EQ(names.count(g), 1u) << g;
}

TEST_F(ShippedPresets, ControlChangeEvents)
{
    const All_Params vol = Knob("General MIDI 1 - Controllers", "Channel Volume");
    EXPECT_EQ(Event(vol), (std::vector<uint8_t>{0xB0, 0x07, 0x00}));
    EXPECT_EQ(vol.midi_channel_position, 1);
    EXPECT_EQ(vol.ctrl_value_position_0, 3);
    EXPECT_EQ(vol.ctrl_value_max, 127);
    EXPECT_EQ(Event(Knob("General MIDI 1 - Controllers", "Sustain Pedal")), (std::vector<uint8_t>{0xB0, 0x40, 0x00}));
    EXPECT_EQ(Event(Knob("General MIDI 2 - Controllers", "Brightness")), (std::vector<uint8_t>{0xB0, 0x4A, 0x00}));
    const All_Params off = Knob("General MIDI 1 - Controllers", "All Notes Off");
    EXPECT_EQ(Event(off), (std::vector<uint8_t>{0xB0, 0x7B, 0x00}));
    EXPECT_EQ(off.ctrl_value_position_0, 0);
}

TEST_F(ShippedPresets, RegisteredAndNonRegisteredParameterSequences)
{
    const All_Params pbs = Knob("General MIDI 1 - RPN and Channel Messages", "Pitch Bend Sensitivity");
    EXPECT_EQ(Event(pbs), (std::vector<uint8_t>{0xB0, 0x65, 0x00, 0x64, 0x00, 0x06, 0x00}));
    EXPECT_EQ(pbs.ctrl_value_position_0, 7);
    EXPECT_EQ(pbs.ctrl_value_max, 24);
    EXPECT_EQ(CheckMidiStruct(&pbs, FIRST_GROUP_CONTROL), 0);
    EXPECT_EQ(Event(Knob("General MIDI 2 - RPN and Global SysEx", "Modulation Depth Range")),
              (std::vector<uint8_t>{0xB0, 0x65, 0x00, 0x64, 0x05, 0x06, 0x00}));
    const All_Params vib = Knob("GS - NRPN Parameters", "Vibrato Rate");
    EXPECT_EQ(Event(vib), (std::vector<uint8_t>{0xB0, 0x63, 0x01, 0x62, 0x08, 0x06, 0x00}));
    EXPECT_EQ(vib.ctrl_value_min, 0x0E);
    EXPECT_EQ(vib.ctrl_value_max, 0x72);
    EXPECT_EQ(Event(Knob("XG - NRPN Parameters", "Drum Filter Cutoff - Acoustic Snare (38)")),
              (std::vector<uint8_t>{0xB0, 0x63, 0x14, 0x62, 0x26, 0x06, 0x00}));
}

TEST_F(ShippedPresets, UniversalSysExEvents)
{
    const All_Params mv = Knob("Universal Real Time SysEx - Device Control", "Master Volume");
    EXPECT_EQ(Event(mv), (std::vector<uint8_t>{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(mv.midi_channel_position, 0);
    EXPECT_EQ(mv.ctrl_value_position_0, 7);
    EXPECT_EQ(Event(Knob("Universal Real Time SysEx - Device Control", "Master Balance")),
              (std::vector<uint8_t>{0xF0, 0x7F, 0x7F, 0x04, 0x02, 0x00, 0x00, 0xF7}));
    Q9Text lcd;
    const All_Params play = Knob("MIDI Machine Control - Transport", "Play", &lcd);
    EXPECT_EQ(Event(play), (std::vector<uint8_t>{0xF0, 0x7F, 0x7F, 0x06, 0x02, 0xF7}));
    EXPECT_EQ(lcd, L"MMC Play");
    EXPECT_EQ(Event(Knob("MIDI Machine Control - Transport", "Stop")),
              (std::vector<uint8_t>{0xF0, 0x7F, 0x7F, 0x06, 0x01, 0xF7}));
    EXPECT_EQ(Event(Knob("General MIDI 1 - RPN and Channel Messages", "GM System On")),
              (std::vector<uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
}

TEST_F(ShippedPresets, LongEventsAskForAMidiDelay)
{
    const All_Params reverb = Knob("General MIDI 2 - RPN and Global SysEx", "Reverb Type");
    EXPECT_EQ(Event(reverb),
              (std::vector<uint8_t>{0xF0, 0x7F, 0x7F, 0x04, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(reverb.ctrl_value_position_0, 12);
    EXPECT_EQ(CheckMidiStruct(&reverb, FIRST_GROUP_CONTROL), 3);
}
