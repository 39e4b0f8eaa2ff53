// The preset library as plain data: gear with their parameters, the rules a
// parameter follows to go into the library, and the chunk file built from
// them (libconv.h gives its tree). The preset compiler and the user's own
// preset library write their files through here; the editor reads them with
// libconv.
#ifndef CVQ9_PRESET_IMAGE_H
#define CVQ9_PRESET_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "cross_functions.h"
#include "libconv.h"

struct PresetParameter {
    std::string name;                   // 1..127 printable ASCII characters
    std::string lcd;                    // 0..16 printable ASCII characters
    std::vector<uint8_t> event;         // 1..21 bytes
    uint8_t pos[PRESET_POS_SIZE] = {};  // channel position, checksum start, value position, minimum, maximum
};

struct PresetGear {
    std::string name;  // 1..127 printable ASCII characters
    std::vector<PresetParameter> params;
};

// Why `name` cannot name a gear or a parameter ("<what> longer than 127
// bytes"...), or an empty text.
std::string PresetNameProblem(const std::string &name, const char *what);
// The record the editor makes of `param` when it is chosen.
All_Params PresetRecord(const PresetParameter &param);
// Why `param` cannot go into the library, or an empty text: its texts and
// event within their limits, and a record that the firmware's assignment
// check passes with a warning at most.
std::string PresetParameterProblem(const PresetParameter &param);

// An LCD text of at most 16 printable characters made from a parameter
// name: the name itself when it fits; else the name without a leading
// category in square brackets and without brackets, then with the inner
// lower-case vowels and doubled letters of its longest words left out, then
// with its longest words shortened to three letters, then cut.
std::string PresetLcdText(const std::string &name);

// The order of gear in a library: by name ignoring case, then byte for byte.
bool PresetNameLess(const std::string &a, const std::string &b);
// Sorts `gear` by name and keeps the first gear of each name; returns the
// names of the gear dropped.
std::vector<std::string> SortPresetGear(std::vector<PresetGear> &gear);

// One gear as stored in a library: its name and its whole "LIBR" chunk.
struct StoredGear {
    std::string name;
    std::vector<uint8_t> chunk;
};

StoredGear StoreGear(const PresetGear &gear);
// The library file: an "INFO" chunk, then the gear chunks in the given order.
std::vector<uint8_t> JoinPresetImage(const std::vector<StoredGear> &gear);
std::vector<uint8_t> BuildPresetImage(const std::vector<PresetGear> &gear);
// True when `data` is a sequence of whole chunks, pads included, ending
// exactly at its end: another chunk file may follow it.
bool WholeChunkFile(const uint8_t *data, size_t size);
// The gear of a library file, in file order. False when it is not a whole
// chunk file at its top level or in a gear, or a gear has no name within the
// limits.
bool SplitPresetImage(const std::vector<uint8_t> &image, std::vector<StoredGear> &gear);

#endif
