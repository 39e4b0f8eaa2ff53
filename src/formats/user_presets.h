// The user's own preset library: gear imported from MIDI name documents, kept
// in the user's data folder in the preset library's file format and read
// after the shipped library, so that the preset chooser lists it after the
// shipped gear.
#ifndef CVQ9_USER_PRESETS_H
#define CVQ9_USER_PRESETS_H

#include <cstddef>
#include <set>
#include <string>

// "user_presets.xcq" in the user's data folder (UserDataFolder()).
std::string UserPresetsPath();
constexpr size_t USER_PRESETS_MAX_BYTES = 16u << 20;

// Start-up: puts the user library at `path` after the shipped one in the
// preset reader (UseUserPresets). A missing file is an empty library; a
// damaged one is reported ("Library error") and left unused and untouched.
bool LoadUserPresets(const std::string &path);

// Names of the gear of the shipped library.
std::set<std::string> ShippedPresetNames();

struct MidnamImport {
    bool ok = false;
    std::string message;  // on failure, why, for the user
    unsigned added = 0;     // devices stored
    unsigned replaced = 0;  // of them, replacing a gear of the same name
    unsigned renamed = 0;   // of them, named like a shipped gear
    unsigned skipped = 0;   // controls that could not be expressed
};

// Adds the devices of the MIDI name document at `midnam_path` to the user
// library at `library_path` (created with its folder when missing), then puts
// the new library into the preset reader. A device named like a gear of the
// library replaces it; one named like a gear of `shipped` is stored with
// " (user)" after its name, so that both can be chosen. Written with the safe
// save; on any failure neither file nor reader changes.
MidnamImport ImportMidnamDocument(const std::string &midnam_path, const std::string &library_path,
                                  const std::set<std::string> &shipped);

// What an import did, in a few lines for the user.
std::string MidnamImportReport(const MidnamImport &import);

#endif
