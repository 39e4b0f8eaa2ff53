// Conversions between in-memory texts and the device's 8-bit texts:
// one character per byte, the byte being the character's low 8 bits.
#ifndef CVQ9_TEXT_BYTES_H
#define CVQ9_TEXT_BYTES_H

#include <cstddef>
#include <cstdint>

#include "config_tables.h"

// Writes the characters of `text`, each reduced to its low 8 bits, up to the
// first NUL character, the end of the text or `limit` characters, then a zero
// byte. `buffer` must hold limit + 1 bytes. Returns the number of characters written.
size_t TextToBytes(uint8_t *buffer, const Q9Text &text, size_t limit);

// The text of `bytes` up to the first zero byte or `limit` bytes, one character per byte.
Q9Text BytesToText(const uint8_t *bytes, size_t limit);

// Exactly `count` characters, one per byte, zero bytes and trailing spaces
// included: a fixed-width field as the controller sent it.
Q9Text FixedWidthText(const uint8_t *bytes, size_t count);

// The stored form: the text of a byte field followed by one NUL character, so that
// an empty field reads back as a text holding only the NUL.
Q9Text BytesToStoredText(const uint8_t *bytes, size_t limit);

// True when every character of the text is 7-bit ASCII.
bool IsSevenBitAscii(const Q9Text &text);

#endif
