#include "enabling_rules.h"

namespace {

Switch OnOff(bool on)
{
    return on ? Switch::On : Switch::Off;
}

}  // namespace

LibraryButtons EnableLibraryButtonsRule(bool file_path_set, bool default_lib_loaded)
{
    LibraryButtons rule;
    if (file_path_set) {
        rule.load_button = rule.save_button = Switch::On;
        rule.load_menu = rule.save_menu = Switch::On;
    } else if (default_lib_loaded) {
        rule.save_button = Switch::On;
    }
    return rule;
}

LibraryButtons DisableLibraryButtonsRule()
{
    LibraryButtons rule;
    rule.load_button = rule.save_button = Switch::Off;
    rule.load_menu = rule.save_menu = Switch::Off;
    return rule;
}

MidiButtons EnableMidiButtonsRule(bool connected, int page)
{
    MidiButtons rule;
    if (!connected)
        return rule;
    rule.selected = Switch::On;
    rule.all = OnOff(page != PAGE_GLOBAL && page != PAGE_REALTIME);
    return rule;
}

MidiButtons DisableMidiButtonsRule()
{
    MidiButtons rule;
    rule.selected = rule.all = Switch::Off;
    return rule;
}

ManagedButtons ManageButtonsRule(const ButtonState &state)
{
    ManagedButtons result;
    if (state.programming) {
        result.notebook = result.group_selector = false;
        result.library = DisableLibraryButtonsRule();
        result.midi = DisableMidiButtonsRule();
        result.cancel = true;
        result.menu_bar = result.toolbar = false;
        result.check_all = false;
        return result;
    }
    result.notebook = true;
    // A transport button exists in group 0 only: the group stays while one is shown.
    result.group_selector = !state.transport_shown;
    result.cancel = false;
    if (state.page == PAGE_PREFERENCES) {
        result.library = DisableLibraryButtonsRule();
        result.midi = DisableMidiButtonsRule();
    } else {
        result.library = EnableLibraryButtonsRule(state.file_path_set, state.default_lib_loaded);
        result.midi = EnableMidiButtonsRule(state.connected, state.page);
    }
    result.check_all = result.menu_bar = result.toolbar = true;
    return result;
}

VersionDigits ParseVersionText(const std::wstring &text)
{
    auto digit = [&text](size_t at) -> uint8_t {
        if (at >= text.size())
            return 0;
        return static_cast<uint8_t>(static_cast<uint32_t>(text[at]) - L'0');
    };
    return VersionDigits{digit(0), digit(2)};
}

float VersionNumber(VersionDigits digits)
{
    return static_cast<float>(digits.major + digits.minor * 0.1);
}

std::wstring VersionText(VersionDigits digits)
{
    std::wstring text;
    text += static_cast<wchar_t>(L'0' + digits.major % 10);
    text += L'.';
    text += static_cast<wchar_t>(L'0' + digits.minor % 10);
    return text;
}

std::vector<std::string> OperatingModesFor(float fw_version)
{
    std::vector<std::string> modes{"Standard"};
    if (fw_version > 1.0f)
        modes.push_back("Reason 3");
    if (fw_version > 1.4f)
        modes.push_back("Mackie");
    modes.push_back("User");
    if (fw_version > 1.5f)
        modes.push_back("Logic");
    return modes;
}

int StoredOperatingMode(float fw_version, uint8_t byte5, uint8_t byte33)
{
    if (fw_version < 1.6f)
        return (byte5 >> 3) & 0x03;
    return byte33;
}

VersionGating VersionGatingRule(const GatingState &state)
{
    VersionGating gating;
    gating.active = state.connected || state.offline;
    if (!gating.active) {
        gating.file_new_open = gating.file_save_export = gating.file_default_import = Switch::Off;
        gating.toolbar = Switch::Off;
        gating.control_copy_check = gating.group_copy_clear = gating.right_click_copy_clear = Switch::Off;
        gating.operating_mode = Switch::Off;
        return gating;
    }
    gating.file_new_open = Switch::On;
    // Saving needs a library worth keeping: a file, the default library, or
    // recovered work (which has no file yet: Save asks for one).
    if (state.file_path_set || state.default_lib_loaded || state.recovered_work)
        gating.file_save_export = Switch::On;
    gating.file_default_import = Switch::On;
    gating.toolbar = Switch::On;
    gating.control_copy_check = gating.group_copy_clear = gating.right_click_copy_clear = Switch::On;
    gating.operating_mode = Switch::On;

    const float fw = state.fw_version;
    gating.shift_lock_and_nibble = OnOff(fw >= 1.4f);
    gating.rebuild_operating_modes = true;
    gating.operating_modes = OperatingModesFor(fw);
    const int stored = StoredOperatingMode(fw, state.common_byte5, state.common_byte33);
    gating.operating_mode_selection = stored < static_cast<int>(gating.operating_modes.size()) ? stored : -1;
    gating.shift_mode_fader_tempo = OnOff(fw >= 1.6f);
    gating.infrared_label = state.hw_version < 1.2f ? "Enable Infrared controller" : "Enable Ribbon controller";
    return gating;
}
