// Import of Corvana Pro libraries ("*.cvl"): a text header, then up to 147
// control lines, each converted into a Corvana Q9 assignment and LCD text.
#ifndef CVQ9_LEGACY_IMPORT_H
#define CVQ9_LEGACY_IMPORT_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config_tables.h"

// Most control lines read from one legacy file; every attempt counts,
// skipped lines included.
constexpr unsigned LEGACY_MAX_CONTROL_LINES = 147;
// Status returned when the legacy file cannot be opened.
constexpr uint8_t LEGACY_IMPORT_CANNOT_OPEN = 22;

// Checks the entry just imported at (group, control index): 0 when it passes,
// an error code above 4 when it is refused (the editor panel's CheckCurrentParam,
// which shows its own message).
using LegacyEntryCheck = std::function<uint8_t(uint8_t group, uint8_t control)>;

struct LegacyImportResult {
    uint8_t status = 0;             // 0, the refusing check's code, or LEGACY_IMPORT_CANNOT_OPEN
    std::string message;            // "Unable to read " + path when the file cannot be opened
    unsigned entries_imported = 0;  // entries written (and checked), the refused one included
};

// The index a legacy control number stands for, given the offset used by the
// preceding line (updated here): 0..39 -> +8, 40..47 -> +18, 49 -> 66; any
// other number reuses the preceding offset. The result may lie outside 5..66.
unsigned LegacyControlIndex(unsigned old_control, unsigned &offset);

// Imports the legacy library held in `text` into the tables: each entry read
// replaces its record and LCD text, then is checked; the first refusal stops
// the reading. Afterwards every group gets its default name, the common
// parameters their defaults and the user curves the identity. Entries the
// text does not mention keep their contents. Lines naming a group above 20 or
// a control outside 5..66 are skipped; a line that does not match the format
// wholly ends the reading and changes nothing.
LegacyImportResult ImportCvProText(const uint8_t *text, size_t size, const LegacyEntryCheck &check);

// The same for a file; when it cannot be opened nothing changes and the
// status is LEGACY_IMPORT_CANNOT_OPEN.
LegacyImportResult ImportCvProLibraryFile(const std::string &path, const LegacyEntryCheck &check);

#endif
