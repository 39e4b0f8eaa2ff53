// The library file ("*.cvq"): a fixed-length binary image of the whole
// configuration, and the reader for the earlier layout without signature.
//
// Building and parsing the image work on byte buffers only; the file
// functions add the disk I/O. Checks and message boxes belong to the caller:
// the results carry the status and the exact text to show.
#ifndef CVQ9_LIBRARY_FILE_H
#define CVQ9_LIBRARY_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config_compare.h"
#include "config_tables.h"

// Current layout: signature "S1", transport records, 21 x 62 records each
// followed by its 16-byte LCD field, 21 group names of 14 bytes, 40 common
// parameters, the two user curves.
constexpr size_t LIBRARY_IMAGE_SIZE = 63248;
// Layout written before version 1.4: no signature, 39 common parameters
// (parameter 33, the operating mode, was kept in bits 3-4 of parameter 5).
constexpr size_t PRE14_LIBRARY_IMAGE_SIZE = 63245;

constexpr uint8_t LIBRARY_SIGNATURE = 0x53;
constexpr uint8_t LIBRARY_VERSION = 0x31;

constexpr size_t LIBRARY_RECORD_SIZE = sizeof(All_Params);
constexpr size_t LIBRARY_ENTRY_SIZE = LIBRARY_RECORD_SIZE + LCD_STRING_LENGHT;
constexpr size_t LIBRARY_GROUP_ENTRIES = LAST_CONTROL_INDEX - FIRST_GROUP_CONTROL + 1;
constexpr size_t LIBRARY_TRANSPORT_OFFSET = 2;
constexpr size_t LIBRARY_CONTROLS_OFFSET = LIBRARY_TRANSPORT_OFFSET + TRANSPORT_NB * LIBRARY_RECORD_SIZE;
constexpr size_t LIBRARY_NAMES_OFFSET = LIBRARY_CONTROLS_OFFSET + GROUP_NB * LIBRARY_GROUP_ENTRIES * LIBRARY_ENTRY_SIZE;
constexpr size_t LIBRARY_COMMON_OFFSET = LIBRARY_NAMES_OFFSET + GROUP_NB * GROUP_NAME_LENGHT;
constexpr size_t LIBRARY_CURVE1_OFFSET = LIBRARY_COMMON_OFFSET + COMMON_PARAMS_LENGHT;
constexpr size_t LIBRARY_CURVE2_OFFSET = LIBRARY_CURVE1_OFFSET + USER_CURVE_POINTS;

static_assert(LIBRARY_CONTROLS_OFFSET == 162, "library layout: control section");
static_assert(LIBRARY_NAMES_OFFSET == 62658, "library layout: group names");
static_assert(LIBRARY_COMMON_OFFSET == 62952, "library layout: common parameters");
static_assert(LIBRARY_CURVE1_OFFSET == 62992, "library layout: user curve 1");
static_assert(LIBRARY_CURVE2_OFFSET == 63120, "library layout: user curve 2");
static_assert(LIBRARY_CURVE2_OFFSET + USER_CURVE_POINTS == LIBRARY_IMAGE_SIZE, "library layout: size");
static_assert(LIBRARY_IMAGE_SIZE - PRE14_LIBRARY_IMAGE_SIZE == 3, "pre-1.4 layout: size");

// Offset of the entry (record, then LCD field) of group g, control index c (5..66)
// in the current layout.
constexpr size_t LibraryEntryOffset(unsigned group, unsigned index)
{
    return LIBRARY_CONTROLS_OFFSET + (group * LIBRARY_GROUP_ENTRIES + index - FIRST_GROUP_CONTROL) * LIBRARY_ENTRY_SIZE;
}

enum class LibraryLayout {
    Current,  // began with the signature byte 0x53
    Pre14,    // anything else, an empty file included: converted while reading
};

// The image of the current tables in the current layout (LIBRARY_IMAGE_SIZE bytes).
std::vector<uint8_t> BuildLibraryImage();

// Reads an image of `size` bytes into the tables and returns the layout found.
// Never reads outside the buffer. A short image is not refused: an item that
// lies wholly inside it is taken, a record, LCD field or common-parameter
// block that does not keep its previous contents, a group name that does not
// becomes the default name, a user curve that does not becomes all zeros.
// Bytes beyond the layout's end are ignored. Entries 0..4 of `mycontrol`
// are never touched.
LibraryLayout ParseLibraryImage(const uint8_t *data, size_t size);

enum class LibraryFileStatus {
    Ok,
    CannotWrite,  // the file could not be written; the previous file is untouched
    CannotRead,   // the file could not be opened or read; the tables are untouched
};

struct LibrarySaveResult {
    LibraryFileStatus status = LibraryFileStatus::Ok;
    std::string message;  // text for the "File I/O Error..." box; empty on success
};

struct LibraryLoadResult {
    LibraryFileStatus status = LibraryFileStatus::Ok;
    LibraryLayout layout = LibraryLayout::Current;
    std::string message;  // text for the "File I/O Error..." box; empty on success
    // The file is exactly one image of the layout found: not cut short, and
    // nothing after it. The editor reads other files as far as they go.
    bool whole = false;
};

extern const char LIBRARY_FILE_ERROR_TITLE[];   // "File I/O Error..."
extern const char LIBRARY_CONVERSION_TITLE[];   // "Library format ..."
extern const char LIBRARY_CONVERSION_NOTICE[];  // shown once when a pre-1.4 file is read

// Writes the current tables to `path`. The bytes go to a temporary file in
// the same folder, which replaces `path` only once all of them are on disk;
// on failure the previous file is left as it was and the message is
// "Unable to write/overwrite " followed by the path.
LibrarySaveResult SaveLibraryFile(const std::string &path);

// Reads `path` into the tables (see ParseLibraryImage). When the file cannot
// be opened or read, nothing changes and the message is "Unable to read "
// followed by the path. The caller shows the conversion notice when the
// layout is Pre14.
LibraryLoadResult LoadLibraryFile(const std::string &path);

// The configuration a library file holds, read without changing the tables
// (to compare it with them, or two files with each other).
LibraryLoadResult ReadLibraryImage(const std::string &path, ConfigImage &image);

#endif
