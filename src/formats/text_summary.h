// The readable summary of all assignments ("*.txt"): a banner, the library
// file and the date, the transport buttons, then every group's controls with
// their MIDI bytes in hexadecimal and their LCD texts. Nothing reads it back.
#ifndef CVQ9_TEXT_SUMMARY_H
#define CVQ9_TEXT_SUMMARY_H

#include <cstdint>
#include <functional>
#include <string>

#include "config_tables.h"

// Most characters of the library path shown on the "Library file: " line.
constexpr size_t SUMMARY_PATH_MAX_CHARS = 256;

// Today's local date as year-month-day ("2024-03-07").
std::string CurrentIsoDate();

// The whole summary of the current tables as 8-bit text, lines ended by "\n".
// `library_path` is the current library file's native path (UTF-8 on Linux),
// cut to its first 256 characters; `date` is written as given.
// Group records that CheckMidiStruct finds undefined (code 2) are written as
// "Undefined Control". At most 21 MIDI bytes of a record are written.
std::string BuildTextSummary(const std::string &library_path, const std::string &date);

struct SummaryExportResult {
    bool ok = true;       // false only when the file could not be written
    uint8_t check = 0;    // the whole-configuration check's result; not 0: the file was left empty
    std::string message;  // "Unable to create " + path when the file could not be written
};

// Writes the summary to `path` in the order the export command follows:
// the file is created first (failure: "Unable to create " + path, the check
// is not run), then `check_all` runs (the editor panel's CheckAllParam, which
// shows its own message); when it does not return 0 the file is left empty.
// The new contents replace `path` only once completely written.
SummaryExportResult ExportTextSummaryFile(const std::string &path, const std::string &library_path,
                                          const std::string &date, const std::function<uint8_t()> &check_all);

#endif
