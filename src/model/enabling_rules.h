// The enabling rules of the editor: which action buttons, menu items, toolbar
// and version-dependent widgets are usable for a given program state. Pure
// functions of the state; the editor panel applies their results.
#ifndef CVQ9_ENABLING_RULES_H
#define CVQ9_ENABLING_RULES_H

#include <cstdint>
#include <string>
#include <vector>

// Notebook page indices of the editor panel.
enum NotebookPage : int {
    PAGE_PREFERENCES = 0,
    PAGE_GLOBAL = 1,
    PAGE_REALTIME = 2,
    PAGE_ASSIGN_STD = 3,
    PAGE_ASSIGN_USER = 4,
};

// What a rule does to one widget: leave it as it is, enable it or disable it.
enum class Switch : uint8_t { Keep, On, Off };

// Applies a switch to a current enabled state.
inline bool Apply(Switch change, bool enabled)
{
    return change == Switch::Keep ? enabled : change == Switch::On;
}

// The two library buttons of the panel ("Load All from library", "Save All to
// library") and the Control menu items of the same commands.
struct LibraryButtons {
    Switch load_button = Switch::Keep;
    Switch save_button = Switch::Keep;
    Switch load_menu = Switch::Keep;
    Switch save_menu = Switch::Keep;
};

// With a library file both commands are usable; without one only saving the
// default library (button only).
LibraryButtons EnableLibraryButtonsRule(bool file_path_set, bool default_lib_loaded);
LibraryButtons DisableLibraryButtonsRule();

// The four transfer buttons, each with its Control menu item: the "selected"
// pair (upload and download the selection) and the "All" pair.
struct MidiButtons {
    Switch selected = Switch::Keep;
    Switch all = Switch::Keep;
};

// Only while connected; the global and realtime pages transfer the common
// parameters, so the "All" pair (controls only) is off there.
MidiButtons EnableMidiButtonsRule(bool connected, int page);
MidiButtons DisableMidiButtonsRule();

struct ButtonState {
    bool programming = false;    // a device operation runs
    bool connected = false;      // cvq9_connected
    bool file_path_set = false;  // FilePath not empty
    bool default_lib_loaded = false;
    int page = PAGE_PREFERENCES;   // selected notebook page
    bool transport_shown = false;  // ControlIndex is a transport button (group 0 only)
};

struct ManagedButtons {
    bool notebook = true;
    bool group_selector = true;
    bool menu_bar = true;
    bool toolbar = true;
    bool cancel = false;
    bool check_all = true;
    LibraryButtons library;
    MidiButtons midi;
};

// ManageButtons: during a transfer only "Cancel" is usable; otherwise the
// preferences page offers no transfer nor library command, the other pages
// offer what the connection and the library file allow.
ManagedButtons ManageButtonsRule(const ButtonState &state);

// Offline version texts: a major digit, a point and a minor digit.
struct VersionDigits {
    uint8_t major = 0;
    uint8_t minor = 0;
};

// Digits read from the first and third characters ("1.6" gives 1 and 6); a
// missing character counts as 0.
VersionDigits ParseVersionText(const std::wstring &text);
// major + minor x 0.1, computed in double and rounded to single precision, so
// that "1.6" gives exactly the constant 1.6f used in comparisons.
float VersionNumber(VersionDigits digits);
// "%1d.%1d".
std::wstring VersionText(VersionDigits digits);

struct GatingState {
    bool connected = false;
    bool offline = false;
    bool file_path_set = false;
    bool default_lib_loaded = false;
    bool recovered_work = false;  // the tables hold work restored after a crash
    float fw_version = 0.0f;
    float hw_version = 0.0f;
    uint8_t common_byte5 = 0;   // common_params[5]
    uint8_t common_byte33 = 0;  // common_params[33]
};

// Result of the connection and version gating (EnableDisableUiFromFwVersion).
struct VersionGating {
    bool active = false;  // connected or offline
    // Library file menu.
    Switch file_new_open = Switch::Keep;        // "&New ...", "&Open ..."
    Switch file_save_export = Switch::Keep;     // "&Save", "&Save as ...", "&Export to text file"
    Switch file_default_import = Switch::Keep;  // "&Load default", "&Import Corvana Pro lib ..."
    Switch toolbar = Switch::Keep;
    Switch control_copy_check = Switch::Keep;      // Control "&Copy", "&Check Current", "&Check All"
    Switch group_copy_clear = Switch::Keep;        // Group "&Copy", "&Clear"
    Switch right_click_copy_clear = Switch::Keep;  // view's right-click "&Copy", "&Clear"
    Switch operating_mode = Switch::Keep;          // wxChoiceOperatingMode
    // Version-dependent widgets (only while active).
    Switch shift_lock_and_nibble = Switch::Keep;   // shift-lock boxes and the nibble box, firmware 1.4
    Switch shift_mode_fader_tempo = Switch::Keep;  // shift mode, Mackie feedback, tempo mode, firmware 1.6
    bool rebuild_operating_modes = false;
    std::vector<std::string> operating_modes;  // the list offered by the firmware
    int operating_mode_selection = -1;         // -1: the stored mode is not in the list
    std::string infrared_label;                // empty: label unchanged
};

VersionGating VersionGatingRule(const GatingState &state);

// The operating modes a firmware offers, in list order.
std::vector<std::string> OperatingModesFor(float fw_version);
// The stored mode's index: bits 3-4 of byte 5 below firmware 1.6, byte 33 from 1.6 on.
int StoredOperatingMode(float fw_version, uint8_t byte5, uint8_t byte33);

#endif
