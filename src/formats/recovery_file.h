// The recovery library: while edits are unsaved, the whole configuration is
// kept in the user's data folder in the library file layout, so that a crash
// or a power cut loses nothing. It is removed when the library is saved, when
// the user drops the edits and at a normal exit; one found at start-up is
// offered back.
#ifndef CVQ9_RECOVERY_FILE_H
#define CVQ9_RECOVERY_FILE_H

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// "recovery.cvq" in the user's data folder (UserDataFolder()).
std::string RecoveryFilePath();

// Writes the tables to `path` (creating its folder) with the safe save,
// whatever the checks would say of them: unsaved work is kept as it is.
// `image` is the library image to write (BuildLibraryImage()).
bool WriteRecoveryFile(const std::string &path, const std::vector<uint8_t> &image);
void RemoveRecoveryFile(const std::string &path);

struct RecoveryFound {
    enum State { None, Found, Damaged } state = None;
    std::time_t written = 0;     // Found: when it was last written
    std::string set_aside_path;  // Damaged: where it was moved
};

// What start-up finds. A file that is not a whole library of the current
// layout is damaged: it is moved aside ("recovery-damaged-<time>.cvq" beside
// it) and never loaded.
RecoveryFound FindRecoveryFile(const std::string &path);

// Loads a recovery library found by FindRecoveryFile into the tables; false
// (tables untouched) if it cannot be read whole any more.
bool LoadRecoveryFile(const std::string &path);

#endif
