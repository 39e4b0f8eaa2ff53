// Enabling rules of the editor: action buttons, menus, offline version gating.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "enabling_rules.h"

namespace {

using S = Switch;
using Switches = std::vector<Switch>;

Switches Of(const LibraryButtons &b)
{
    return {b.load_button, b.save_button, b.load_menu, b.save_menu};
}

Switches Of(const MidiButtons &b)
{
    return {b.selected, b.all};
}

GatingState Active(float fw, float hw = 2.0f, bool offline = true)
{
    GatingState state;
    state.offline = offline;
    state.connected = !offline;
    state.fw_version = fw;
    state.hw_version = hw;
    return state;
}

}  // namespace

TEST(EnablingRules, LibraryAndTransferButtons)
{
    EXPECT_EQ(Of(EnableLibraryButtonsRule(true, false)), Switches({S::On, S::On, S::On, S::On}));
    EXPECT_EQ(Of(EnableLibraryButtonsRule(false, true)), Switches({S::Keep, S::On, S::Keep, S::Keep}));
    EXPECT_EQ(Of(EnableLibraryButtonsRule(false, false)), Switches(4, S::Keep));
    EXPECT_EQ(Of(DisableLibraryButtonsRule()), Switches(4, S::Off));
    for (int page = PAGE_PREFERENCES; page <= PAGE_ASSIGN_USER; ++page) {
        EXPECT_EQ(Of(EnableMidiButtonsRule(false, page)), Switches(2, S::Keep));
        const bool common = page == PAGE_GLOBAL || page == PAGE_REALTIME;  // no "All" pair there
        EXPECT_EQ(Of(EnableMidiButtonsRule(true, page)), Switches({S::On, common ? S::Off : S::On})) << page;
    }
    EXPECT_EQ(Of(DisableMidiButtonsRule()), Switches(2, S::Off));
    EXPECT_TRUE(Apply(S::Keep, true));
    EXPECT_FALSE(Apply(S::Keep, false));
    EXPECT_TRUE(Apply(S::On, false));
    EXPECT_FALSE(Apply(S::Off, true));
}

TEST(EnablingRules, ManageButtons)
{
    ButtonState state;
    state.page = PAGE_ASSIGN_STD;
    state.connected = state.file_path_set = state.default_lib_loaded = true;
    state.programming = true;  // during a transfer only "Cancel"
    ManagedButtons r = ManageButtonsRule(state);
    EXPECT_EQ(std::vector<bool>({r.cancel, r.notebook, r.group_selector, r.menu_bar, r.toolbar, r.check_all}),
              std::vector<bool>({true, false, false, false, false, false}));
    EXPECT_EQ(Of(r.library), Switches(4, S::Off));
    EXPECT_EQ(Of(r.midi), Switches(2, S::Off));

    state.programming = false;
    state.page = PAGE_PREFERENCES;  // neither library nor transfers
    r = ManageButtonsRule(state);
    EXPECT_EQ(std::vector<bool>({r.cancel, r.notebook, r.group_selector, r.menu_bar, r.toolbar, r.check_all}),
              std::vector<bool>({false, true, true, true, true, true}));
    EXPECT_EQ(Of(r.library), Switches(4, S::Off));
    EXPECT_EQ(Of(r.midi), Switches(2, S::Off));
    state.transport_shown = true;  // a transport button is shown: its group cannot change under it
    EXPECT_FALSE(ManageButtonsRule(state).group_selector);

    state.page = PAGE_GLOBAL;
    state.file_path_set = false;
    r = ManageButtonsRule(state);
    EXPECT_EQ(Of(r.midi), Switches({S::On, S::Off}));
    EXPECT_EQ(Of(r.library), Switches({S::Keep, S::On, S::Keep, S::Keep}));
    state.page = PAGE_ASSIGN_USER;
    state.connected = false;  // never enabled without a device
    EXPECT_EQ(Of(ManageButtonsRule(state).midi), Switches(2, S::Keep));
}

TEST(EnablingRules, VersionTexts)
{
    const std::pair<const wchar_t *, float> versions[] = {{L"1.0", 1.0f}, {L"1.1", 1.1f}, {L"1.2", 1.2f},
                                                          {L"1.3", 1.3f}, {L"1.4", 1.4f}, {L"1.5", 1.5f},
                                                          {L"1.6", 1.6f}, {L"2.0", 2.0f}, {L"1", 1.0f}};
    for (const auto &v : versions)
        EXPECT_EQ(VersionNumber(ParseVersionText(v.first)), v.second) << v.second;  // exactly the constant
    EXPECT_EQ(VersionText(ParseVersionText(L"1.6")), L"1.6");
    EXPECT_EQ(VersionText(ParseVersionText(L"2.0")), L"2.0");
    EXPECT_EQ(VersionText(ParseVersionText(L"1")), L"1.0");
}

TEST(EnablingRules, ConnectionAndVersionGating)
{
    GatingState idle;  // neither connected nor offline
    idle.file_path_set = true;
    idle.fw_version = 1.6f;
    VersionGating g = VersionGatingRule(idle);
    EXPECT_FALSE(g.active);
    EXPECT_EQ(Switches({g.file_new_open, g.file_save_export, g.file_default_import, g.toolbar, g.control_copy_check,
                        g.group_copy_clear, g.right_click_copy_clear, g.operating_mode, g.shift_lock_and_nibble,
                        g.shift_mode_fader_tempo}),
              Switches({S::Off, S::Off, S::Off, S::Off, S::Off, S::Off, S::Off, S::Off, S::Keep, S::Keep}));
    EXPECT_FALSE(g.rebuild_operating_modes);
    EXPECT_TRUE(g.infrared_label.empty());

    GatingState state = Active(1.6f);
    g = VersionGatingRule(state);
    EXPECT_TRUE(g.active);
    EXPECT_TRUE(g.rebuild_operating_modes);
    EXPECT_EQ(Switches({g.file_new_open, g.file_save_export, g.file_default_import, g.toolbar, g.control_copy_check,
                        g.group_copy_clear, g.right_click_copy_clear, g.operating_mode}),
              Switches({S::On, S::Keep, S::On, S::On, S::On, S::On, S::On, S::On}));
    state.default_lib_loaded = true;  // saving needs a library
    EXPECT_EQ(VersionGatingRule(state).file_save_export, S::On);
    state.default_lib_loaded = false;
    state.file_path_set = true;
    EXPECT_EQ(VersionGatingRule(state).file_save_export, S::On);
    EXPECT_TRUE(VersionGatingRule(Active(1.6f, 2.0f, false)).active) << "connected counts like offline";

    // Each firmware: the modes it offers, the shift-lock and nibble boxes, the shift mode widgets.
    const std::tuple<float, size_t, Switch, Switch> firmwares[] = {{1.0f, 2, S::Off, S::Off}, {1.1f, 3, S::Off, S::Off},
                                                                   {1.3f, 3, S::Off, S::Off}, {1.4f, 3, S::On, S::Off},
                                                                   {1.5f, 4, S::On, S::Off},  {1.6f, 5, S::On, S::On}};
    std::vector<std::string> previous;
    for (const auto &[fw, modes, lock, shift] : firmwares) {
        g = VersionGatingRule(Active(fw));
        EXPECT_EQ(g.operating_modes, OperatingModesFor(fw));
        EXPECT_EQ(g.operating_modes.size(), modes) << fw;
        EXPECT_EQ(g.operating_modes.front(), "Standard");
        EXPECT_EQ(g.operating_modes[modes > 4 ? 3 : modes - 1], "User") << fw;
        for (const std::string &mode : previous)  // a newer firmware only adds modes
            EXPECT_NE(std::find(g.operating_modes.begin(), g.operating_modes.end(), mode), g.operating_modes.end());
        previous = g.operating_modes;
        EXPECT_EQ(g.shift_lock_and_nibble, lock) << fw;
        EXPECT_EQ(g.shift_mode_fader_tempo, shift) << fw;
    }

    // The stored mode: bits 3-4 of byte 5 below 1.6, byte 33 from 1.6; none when not offered.
    state = Active(1.5f);
    state.common_byte5 = 0x18 | 0xE7;
    state.common_byte33 = 1;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, 3);
    state.fw_version = 1.6f;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, 1);
    state.common_byte33 = 200;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, -1);
    state.fw_version = 1.0f;
    state.common_byte5 = 0x10;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, -1);

    for (float hw : {1.0f, 1.1f, 1.2f, 2.0f}) {
        const std::string label = VersionGatingRule(Active(1.6f, hw)).infrared_label;
        EXPECT_NE(label.find(hw < 1.2f ? "Infrared" : "Ribbon"), std::string::npos) << hw;
    }
}
