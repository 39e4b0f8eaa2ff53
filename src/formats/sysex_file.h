// SysEx files ("*.syx"): the messages that download the whole configuration,
// one after the other, for any SysEx tool to send; and their import, which
// applies every write of this controller found in any such file.
//
// The export holds, in download order: the MIDI assignment of each transport
// button; for every group, the MIDI assignment and LCD text of each group
// control, defined or not, all as writes without acknowledge; then the
// common-parameter sequence of the global tabs, where the group name item
// stands for the names of all 21 groups. The common parameters carry group 0.
// A file cannot carry the pauses a download makes between common parameters:
// a tool that sends it should leave 100 ms between messages.
//
// Building and reading work on byte buffers; the file functions add the disk
// I/O. Message boxes belong to the caller.
#ifndef CVQ9_SYSEX_FILE_H
#define CVQ9_SYSEX_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SysexExport {
    std::vector<uint8_t> bytes;  // the whole file; empty when something was refused
    // The first item the checks or the codec refused; nothing is built then.
    enum class Refused { Nothing, Control, Parameter } refused = Refused::Nothing;
    unsigned group = 0;
    unsigned item = 0;  // control index, or common-parameter address
    uint8_t code = 0;   // the failing assignment check's code, 0 when only the codec refused
};

// The export of the current tables. The operating mode (address 33) is in it
// only for a firmware that takes it, as in a download.
SysexExport BuildSysexExport(float fw_version);

struct SysexImportCounts {
    unsigned applied = 0;  // writes taken into the tables
    unsigned refused = 0;  // other messages of this controller: they change nothing
    unsigned skipped = 0;  // messages of other devices
};

// Applies every write of this controller found in `data`, in order. Only
// bytes from a 0xF0 to its 0xF7 make a message; bytes between messages are
// passed over and not counted.
SysexImportCounts ImportSysexBytes(const uint8_t *data, size_t size);

// "Applied 1472 messages, refused 2, skipped 5 from other devices."
std::string SysexImportReport(const SysexImportCounts &counts);

// Writes the export to `path`, replacing the file only once it is whole on
// disk. Empty on success, otherwise the text for the file error box.
std::string SaveSysexFile(const std::string &path, const std::vector<uint8_t> &bytes);

struct SysexFileImport {
    bool ok = false;  // the file was read; the tables are untouched otherwise
    SysexImportCounts counts;
    std::string message;  // text for the file error box when not ok
};

// Reads `path` whole, then imports it.
SysexFileImport ImportSysexFile(const std::string &path);

#endif
