#include "control_roster.h"

#include <array>

namespace {

std::array<std::string, CONTROLS_PER_GROUP> BuildRoster()
{
    std::array<std::string, CONTROLS_PER_GROUP> names;
    const char *fixed_low[] = {"Rec button",     "Play button",       "Backward button", "Stop button",
                               "Forward button", "Ribbon controller", "Joystick X",      "Joystick Y"};
    for (unsigned i = 0; i < 8; ++i)
        names[i] = fixed_low[i];
    for (unsigned k = 0; k < 32; ++k)
        names[8 + k] =
            "Knob " + std::to_string(k) + " (row " + std::to_string(k / 8) + " - col " + std::to_string(k % 8) + ")";
    for (unsigned s = 0; s < 8; ++s)
        names[40 + s] = "Slider " + std::to_string(s) + " (col " + std::to_string(s) + ")";
    const char *fixed_mid[] = {"Crossfader L", "Crossfader R", "Backward[Shift]", "Forward[Shift]", "Stop[Shift]",
                               "Play[Shift]",  "Rec[Shift]",   "Joystick button", "Foot-Switch",    "Encoder button"};
    for (unsigned i = 0; i < 10; ++i)
        names[48 + i] = fixed_mid[i];
    for (unsigned b = 0; b < 8; ++b)
        names[58 + b] = "Button " + std::to_string(b);
    names[66] = "LFO";
    return names;
}

const std::array<std::string, CONTROLS_PER_GROUP> &Roster()
{
    static const std::array<std::string, CONTROLS_PER_GROUP> roster = BuildRoster();
    return roster;
}

}  // namespace

const std::string &ControlName(unsigned index)
{
    static const std::string none;
    return index < CONTROLS_PER_GROUP ? Roster()[index] : none;
}

const std::string &ChainListEntry(unsigned entry)
{
    static const std::string none_entry = "None";
    static const std::string none;
    if (entry == 0)
        return none_entry;
    return entry < CHAIN_LIST_SIZE ? ControlName(entry + 4) : none;
}
