// The write messages of a download, built from the configuration tables: one
// control's assignment and LCD text, one item of the common-parameter
// sequence. The transfers send them to the controller; the SysEx file export
// writes them one after the other. Each builder fills a SYSEX_BUFFER_SIZE
// buffer and returns the codec's status: the message length, or 254 when the
// codec refuses the content.
#ifndef CVQ9_DOWNLOAD_MESSAGES_H
#define CVQ9_DOWNLOAD_MESSAGES_H

#include <cstdint>

// The assignment of control `index` in `group` (the transport record for an
// index of 4 or less); `action` is the codec's (with or without acknowledge).
uint8_t ControlMidiWrite(uint8_t action, unsigned group, unsigned index, uint8_t *sysex);
// The LCD text of group control `index` in `group`.
uint8_t ControlLcdWrite(uint8_t action, unsigned group, unsigned index, uint8_t *sysex);

// Where the bytes of a common-parameter item live: its byte of common_params,
// a half of a user curve, or, for the group name, `name` (a text buffer of
// the caller, GROUP_NAME_LENGHT + 1 bytes at least). `address` is one the
// codec accepts for a write (0..38).
uint8_t *CommonItemBytes(uint8_t address, uint8_t *name);

// The write of one common-parameter item from the tables, `group` in its
// header; the group name is that of `group`, its first 14 characters.
uint8_t CommonItemWrite(uint8_t address, uint8_t group, uint8_t *sysex);

#endif
