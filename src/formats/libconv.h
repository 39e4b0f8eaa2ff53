// The preset library "hlvlib.xcq": for each piece of gear, its parameters with
// the MIDI event that drives each, where the channel, value and checksum go in
// it, its value range and its LCD text. The file is read whole at start-up and
// every lookup walks it again from the start.
//
// File tree (plain chunks, see riff_tools.h): top-level "LIBR" chunks, one per
// gear, other top-level chunks stepped over. A "LIBR" holds "NAME" then one
// "CTRL" per parameter; a "CTRL" holds "LGNM" (name), "SHNM" (LCD text, up to
// 16 bytes), "MSG " (the event as capital hexadecimal text, up to 42
// characters) and "POS " (5 bytes: channel position, checksum start, value
// position, minimum, maximum).
//
// Names are 8-bit byte strings compared byte for byte; lookups take the full
// stored name (up to 127 bytes), whatever the GUI shows of it.
#ifndef CVQ9_LIBCONV_H
#define CVQ9_LIBCONV_H

#include <cstdint>
#include <string>
#include <vector>

#include "config_tables.h"
#include "cross_functions.h"
#include "riff_tools.h"

// Longest gear or parameter name stored in the file, and the longest LCD text
// and event text a parameter may hold.
constexpr unsigned PRESET_NAME_MAX = 127;
constexpr unsigned PRESET_LCD_MAX = 16;
constexpr unsigned PRESET_MSG_MAX = 42;
constexpr unsigned PRESET_POS_SIZE = 5;
// Row sizes of the name tables: gear rows hold a full name and its NUL; a
// parameter row holds up to 127 bytes and has no NUL when the name fills it.
constexpr unsigned PRESET_GEAR_ROW = 128;
constexpr unsigned PRESET_PARAM_ROW = 127;
// The counts the editor asks for.
constexpr int PRESET_MAX_GEAR = 512;
constexpr int PRESET_MAX_PARAMS = 1024;

// File name of the preset library, looked for in the program's directory.
extern const char PRESET_FILE_NAME[];  // "hlvlib.xcq"
// Caption of the reader's messages, and of the start-up failure message.
extern const char PRESET_ERROR_CAPTION[];          // "Error while opening presets"
extern const char PRESET_LIBRARY_ERROR_CAPTION[];  // "Library error"

extern char HlvLib[512];               // full path of the preset file, NUL-terminated
extern uint8_t *Libfiledata;           // the whole preset file (malloc'd), or null
extern uint64_t presetfiledatalength;  // its length; 0 when there is no preset data
extern RT_FILE LibHnd;                 // the reader's image over Libfiledata
extern RT_CKINFO LibChunk;             // current gear chunk
extern RT_CKINFO CtrlChunk;            // current parameter chunk
extern RT_CKINFO Chunk;                // current leaf chunk

// Every message of the reader goes through one reporter; the default prints
// "caption: text" to stderr, the GUI installs a message-box reporter.
using PresetMessageReporter = void (*)(const std::string &caption, const std::string &text);
// Installs `reporter` (null restores the default) and returns the previous one.
PresetMessageReporter SetPresetMessageReporter(PresetMessageReporter reporter);
void ReportPresetMessage(const std::string &caption, const std::string &text);

// Start-up: HlvLib = exec_dir (ending in a slash) + "hlvlib.xcq", read with
// RT_LoadFileInRam. On failure reports "Cannot load preset file hlvlib.xcq\n
// Please copy this file to <HlvLib>" titled "Library error". Returns the length.
uint64_t LoadPresetLibrary(const std::string &exec_dir);
// Quit: frees Libfiledata and clears presetfiledatalength.
void ReleasePresetLibrary();

// The user's own preset library is kept in the same buffer right after the
// shipped one, so that every lookup sees both and the gear list shows the
// user's gear after the shipped gear. Replaces the user's part by `image`
// (empty: none). False, and nothing changed, when `image` or the shipped part
// is not a sequence of whole chunks.
bool UseUserPresets(const std::vector<uint8_t> &image);
// The length of the shipped part of Libfiledata.
uint64_t ShippedPresetLength();

// Value 0..15 of "0".."9" and "A".."F"; 0 for any other character.
uint8_t CharToHex(char c);

// Next gear from the current position: stores its name (NUL-terminated) in
// `name` (at least 128 bytes) and leaves the position after its "NAME" chunk.
// Returns 1, or 0 at the end of the gear list or on a damaged gear (reported).
int GetLibChunk(RT_FILE *image, char *name);
// Next parameter from the current position, likewise with "CTRL" and "LGNM".
int GetCtrlChunk(RT_FILE *image, char *name);

// Stores up to `max` gear names, full length, in rows of 128 bytes; returns the count.
int FillLibTab(char (*table)[PRESET_GEAR_ROW], int max);
// Stores up to `max` parameter names of `gear` in rows of 127 bytes; returns the
// count, 0 when the gear is not found ("Preset not found").
int FillCtrlTab(const char *gear, char (*table)[PRESET_PARAM_ROW], int max);
// Converts parameter `param` of `gear` into `record` and `lcd`. Returns 1 on
// success; 0 after reporting the failure, with `record` and `lcd` unchanged.
int GetKnob(const char *gear, const char *param, All_Params *record, Q9Text *lcd);

#endif
