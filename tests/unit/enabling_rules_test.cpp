// Enabling rules of the editor: action buttons, menus, offline version gating.
#include <gtest/gtest.h>

#include "enabling_rules.h"

namespace {

ButtonState Idle(int page, bool connected, bool file_path_set = false, bool default_lib = false)
{
    ButtonState state;
    state.page = page;
    state.connected = connected;
    state.file_path_set = file_path_set;
    state.default_lib_loaded = default_lib;
    return state;
}

GatingState Active(float fw, float hw, bool offline = true)
{
    GatingState state;
    state.offline = offline;
    state.connected = !offline;
    state.fw_version = fw;
    state.hw_version = hw;
    return state;
}

}  // namespace

// ---- Library buttons

TEST(LibraryButtonsRule, WithALibraryFileBothButtonsAndMenuItemsAreEnabled)
{
    const LibraryButtons rule = EnableLibraryButtonsRule(true, false);
    EXPECT_EQ(rule.load_button, Switch::On);
    EXPECT_EQ(rule.save_button, Switch::On);
    EXPECT_EQ(rule.load_menu, Switch::On);
    EXPECT_EQ(rule.save_menu, Switch::On);
}

TEST(LibraryButtonsRule, WithTheDefaultLibraryOnlyTheSaveButtonIsEnabled)
{
    const LibraryButtons rule = EnableLibraryButtonsRule(false, true);
    EXPECT_EQ(rule.save_button, Switch::On);
    EXPECT_EQ(rule.load_button, Switch::Keep);
    EXPECT_EQ(rule.load_menu, Switch::Keep);
    EXPECT_EQ(rule.save_menu, Switch::Keep);
}

TEST(LibraryButtonsRule, WithoutFileNorDefaultLibraryNothingChanges)
{
    const LibraryButtons rule = EnableLibraryButtonsRule(false, false);
    EXPECT_EQ(rule.save_button, Switch::Keep);
    EXPECT_EQ(rule.load_button, Switch::Keep);
}

TEST(LibraryButtonsRule, DisableTurnsAllFourOff)
{
    const LibraryButtons rule = DisableLibraryButtonsRule();
    EXPECT_EQ(rule.load_button, Switch::Off);
    EXPECT_EQ(rule.save_button, Switch::Off);
    EXPECT_EQ(rule.load_menu, Switch::Off);
    EXPECT_EQ(rule.save_menu, Switch::Off);
}

// ---- Transfer buttons

TEST(MidiButtonsRule, NotConnectedLeavesTheButtonsAsTheyAre)
{
    for (int page = 0; page <= 4; ++page) {
        const MidiButtons rule = EnableMidiButtonsRule(false, page);
        EXPECT_EQ(rule.selected, Switch::Keep);
        EXPECT_EQ(rule.all, Switch::Keep);
    }
}

TEST(MidiButtonsRule, GlobalAndRealtimePagesDisableTheAllPair)
{
    for (int page : {PAGE_GLOBAL, PAGE_REALTIME}) {
        const MidiButtons rule = EnableMidiButtonsRule(true, page);
        EXPECT_EQ(rule.selected, Switch::On);
        EXPECT_EQ(rule.all, Switch::Off);
    }
}

TEST(MidiButtonsRule, AssignmentPagesEnableAllFour)
{
    for (int page : {PAGE_ASSIGN_STD, PAGE_ASSIGN_USER}) {
        const MidiButtons rule = EnableMidiButtonsRule(true, page);
        EXPECT_EQ(rule.selected, Switch::On);
        EXPECT_EQ(rule.all, Switch::On);
    }
}

TEST(MidiButtonsRule, DisableTurnsAllOff)
{
    const MidiButtons rule = DisableMidiButtonsRule();
    EXPECT_EQ(rule.selected, Switch::Off);
    EXPECT_EQ(rule.all, Switch::Off);
}

// ---- ManageButtons

TEST(ManageButtonsRule, DuringATransferOnlyCancelIsUsable)
{
    ButtonState state = Idle(PAGE_ASSIGN_STD, true, true, true);
    state.programming = true;
    const ManagedButtons result = ManageButtonsRule(state);
    EXPECT_TRUE(result.cancel);
    EXPECT_FALSE(result.notebook);
    EXPECT_FALSE(result.group_selector);
    EXPECT_FALSE(result.menu_bar);
    EXPECT_FALSE(result.toolbar);
    EXPECT_FALSE(result.check_all);
    EXPECT_EQ(result.library.load_button, Switch::Off);
    EXPECT_EQ(result.library.save_button, Switch::Off);
    EXPECT_EQ(result.midi.selected, Switch::Off);
    EXPECT_EQ(result.midi.all, Switch::Off);
}

TEST(ManageButtonsRule, PreferencesPageDisablesLibraryAndTransfers)
{
    const ManagedButtons result = ManageButtonsRule(Idle(PAGE_PREFERENCES, true, true));
    EXPECT_FALSE(result.cancel);
    EXPECT_TRUE(result.notebook);
    EXPECT_TRUE(result.group_selector);
    EXPECT_TRUE(result.menu_bar);
    EXPECT_TRUE(result.toolbar);
    EXPECT_TRUE(result.check_all);
    EXPECT_EQ(result.library.load_button, Switch::Off);
    EXPECT_EQ(result.library.save_menu, Switch::Off);
    EXPECT_EQ(result.midi.selected, Switch::Off);
    EXPECT_EQ(result.midi.all, Switch::Off);

    // A transport button is shown: its group cannot change under it.
    ButtonState transport = Idle(PAGE_PREFERENCES, true, true);
    transport.transport_shown = true;
    EXPECT_FALSE(ManageButtonsRule(transport).group_selector);
}

TEST(ManageButtonsRule, OtherPagesFollowConnectionAndLibrary)
{
    const ManagedButtons global = ManageButtonsRule(Idle(PAGE_GLOBAL, true, false, true));
    EXPECT_EQ(global.midi.selected, Switch::On);
    EXPECT_EQ(global.midi.all, Switch::Off);
    EXPECT_EQ(global.library.save_button, Switch::On);
    EXPECT_EQ(global.library.load_button, Switch::Keep);

    const ManagedButtons user = ManageButtonsRule(Idle(PAGE_ASSIGN_USER, false, true));
    EXPECT_EQ(user.midi.selected, Switch::Keep) << "never enabled without a device";
    EXPECT_EQ(user.midi.all, Switch::Keep);
    EXPECT_EQ(user.library.load_button, Switch::On);
    EXPECT_FALSE(user.cancel);
}

TEST(SwitchApply, KeepLeavesTheStateOnAndOffForce)
{
    EXPECT_TRUE(Apply(Switch::Keep, true));
    EXPECT_FALSE(Apply(Switch::Keep, false));
    EXPECT_TRUE(Apply(Switch::On, false));
    EXPECT_FALSE(Apply(Switch::Off, true));
}

// ---- Version texts

TEST(VersionText, DigitsComeFromTheFirstAndThirdCharacters)
{
    const VersionDigits digits = ParseVersionText(L"1.6");
    EXPECT_EQ(digits.major, 1);
    EXPECT_EQ(digits.minor, 6);
    EXPECT_EQ(VersionText(digits), L"1.6");
    EXPECT_EQ(VersionText(ParseVersionText(L"2.0")), L"2.0");
}

TEST(VersionText, NumbersEqualTheSinglePrecisionConstants)
{
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.0")), 1.0f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.1")), 1.1f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.2")), 1.2f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.3")), 1.3f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.4")), 1.4f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.5")), 1.5f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"1.6")), 1.6f);
    EXPECT_EQ(VersionNumber(ParseVersionText(L"2.0")), 2.0f);
}

TEST(VersionText, ShortTextCountsMissingDigitsAsZero)
{
    const VersionDigits digits = ParseVersionText(L"1");
    EXPECT_EQ(digits.major, 1);
    EXPECT_EQ(digits.minor, 0);
}

// ---- Connection and version gating

TEST(VersionGatingRule, NeitherConnectedNorOfflineDisablesFileCommandsAndTouchesNothingElse)
{
    GatingState state;
    state.file_path_set = true;
    state.fw_version = 1.6f;
    const VersionGating gating = VersionGatingRule(state);
    EXPECT_FALSE(gating.active);
    EXPECT_EQ(gating.file_new_open, Switch::Off);
    EXPECT_EQ(gating.file_save_export, Switch::Off);
    EXPECT_EQ(gating.file_default_import, Switch::Off);
    EXPECT_EQ(gating.toolbar, Switch::Off);
    EXPECT_EQ(gating.control_copy_check, Switch::Off);
    EXPECT_EQ(gating.group_copy_clear, Switch::Off);
    EXPECT_EQ(gating.right_click_copy_clear, Switch::Off);
    EXPECT_EQ(gating.operating_mode, Switch::Off);
    EXPECT_EQ(gating.shift_lock_and_nibble, Switch::Keep);
    EXPECT_EQ(gating.shift_mode_fader_tempo, Switch::Keep);
    EXPECT_FALSE(gating.rebuild_operating_modes);
    EXPECT_TRUE(gating.infrared_label.empty());
}

TEST(VersionGatingRule, ActiveEnablesFileCommandsSaveOnlyWithALibrary)
{
    GatingState state = Active(1.6f, 2.0f);
    VersionGating gating = VersionGatingRule(state);
    EXPECT_TRUE(gating.active);
    EXPECT_EQ(gating.file_new_open, Switch::On);
    EXPECT_EQ(gating.file_default_import, Switch::On);
    EXPECT_EQ(gating.file_save_export, Switch::Keep);
    EXPECT_EQ(gating.toolbar, Switch::On);
    EXPECT_EQ(gating.control_copy_check, Switch::On);
    EXPECT_EQ(gating.group_copy_clear, Switch::On);
    EXPECT_EQ(gating.right_click_copy_clear, Switch::On);
    EXPECT_EQ(gating.operating_mode, Switch::On);

    state.default_lib_loaded = true;
    EXPECT_EQ(VersionGatingRule(state).file_save_export, Switch::On);
    state.default_lib_loaded = false;
    state.file_path_set = true;
    EXPECT_EQ(VersionGatingRule(state).file_save_export, Switch::On);
}

TEST(VersionGatingRule, ConnectedCountsLikeOffline)
{
    EXPECT_TRUE(VersionGatingRule(Active(1.6f, 2.0f, false)).active);
}

TEST(VersionGatingRule, Firmware10)
{
    const VersionGating gating = VersionGatingRule(Active(1.0f, 2.0f));
    EXPECT_EQ(gating.operating_modes, std::vector<std::string>({"Standard", "User"}));
    EXPECT_EQ(gating.shift_lock_and_nibble, Switch::Off);
    EXPECT_EQ(gating.shift_mode_fader_tempo, Switch::Off);
}

TEST(VersionGatingRule, Firmware11To14OfferReason)
{
    for (float fw : {1.1f, 1.2f, 1.3f, 1.4f}) {
        const VersionGating gating = VersionGatingRule(Active(fw, 2.0f));
        EXPECT_EQ(gating.operating_modes, std::vector<std::string>({"Standard", "Reason 3", "User"})) << fw;
        EXPECT_EQ(gating.shift_mode_fader_tempo, Switch::Off) << fw;
    }
    EXPECT_EQ(VersionGatingRule(Active(1.3f, 2.0f)).shift_lock_and_nibble, Switch::Off);
    EXPECT_EQ(VersionGatingRule(Active(1.4f, 2.0f)).shift_lock_and_nibble, Switch::On);
}

TEST(VersionGatingRule, Firmware15OffersMackieButNotLogic)
{
    const VersionGating gating = VersionGatingRule(Active(1.5f, 2.0f));
    EXPECT_EQ(gating.operating_modes, std::vector<std::string>({"Standard", "Reason 3", "Mackie", "User"}));
    EXPECT_EQ(gating.shift_lock_and_nibble, Switch::On);
    EXPECT_EQ(gating.shift_mode_fader_tempo, Switch::Off);
}

TEST(VersionGatingRule, Firmware16OffersAllFive)
{
    const VersionGating gating = VersionGatingRule(Active(1.6f, 2.0f));
    EXPECT_EQ(gating.operating_modes, std::vector<std::string>({"Standard", "Reason 3", "Mackie", "User", "Logic"}));
    EXPECT_EQ(gating.shift_lock_and_nibble, Switch::On);
    EXPECT_EQ(gating.shift_mode_fader_tempo, Switch::On);
}

TEST(VersionGatingRule, OperatingModeComesFromByte5Below16AndByte33From16)
{
    GatingState state = Active(1.5f, 2.0f);
    state.common_byte5 = 0x18;  // bits 3 and 4: mode 3
    state.common_byte33 = 1;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, 3);
    state.fw_version = 1.6f;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, 1);
    state.common_byte33 = 4;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, 4);
}

TEST(VersionGatingRule, StoredModeMissingFromTheListSelectsNothing)
{
    GatingState state = Active(1.0f, 2.0f);
    state.common_byte5 = 0x10;  // mode 2, but firmware 1.0 lists two modes
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, -1);
    state.fw_version = 1.6f;
    state.common_byte33 = 200;
    EXPECT_EQ(VersionGatingRule(state).operating_mode_selection, -1);
}

TEST(VersionGatingRule, HardwareDecidesTheInfraredLabel)
{
    EXPECT_EQ(VersionGatingRule(Active(1.6f, 1.0f)).infrared_label, "Enable Infrared controller");
    EXPECT_EQ(VersionGatingRule(Active(1.6f, 1.1f)).infrared_label, "Enable Infrared controller");
    EXPECT_EQ(VersionGatingRule(Active(1.6f, 1.2f)).infrared_label, "Enable Ribbon controller");
    EXPECT_EQ(VersionGatingRule(Active(1.6f, 2.0f)).infrared_label, "Enable Ribbon controller");
}

TEST(OperatingModes, StoredModeBelow16IsBits3And4OfByte5)
{
    EXPECT_EQ(StoredOperatingMode(1.4f, 0x00, 9), 0);
    EXPECT_EQ(StoredOperatingMode(1.4f, 0x08, 9), 1);
    EXPECT_EQ(StoredOperatingMode(1.4f, 0x10, 9), 2);
    EXPECT_EQ(StoredOperatingMode(1.4f, 0xE7, 9), 0) << "other bits do not count";
    EXPECT_EQ(StoredOperatingMode(1.6f, 0x18, 2), 2);
}
