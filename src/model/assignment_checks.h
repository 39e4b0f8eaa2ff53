// The checks of the stored configuration that the editor runs before sending,
// saving or exporting: the firmware's record and LCD checks applied to the
// tables, plus the editor's own rule that LCD texts are 7-bit ASCII.
#ifndef CVQ9_ASSIGNMENT_CHECKS_H
#define CVQ9_ASSIGNMENT_CHECKS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config_tables.h"

// Transport records plus every group control: the progress range of a full check.
constexpr int CHECK_ALL_STEPS = TRANSPORT_NB + GROUP_NB * (CONTROLS_PER_GROUP - FIRST_GROUP_CONTROL);

// True when a MIDI string text of this many hexadecimal digits lacks a digit.
constexpr bool IsIncompleteMidiText(size_t digits)
{
    return digits % 2 != 0;
}

// The stored control (group, control): 0 when it passes (warnings included),
// otherwise the first failure code. Transport buttons (index 4 or less) are
// checked by their record only; group controls also by their LCD text, first
// with the firmware's byte check, then for characters outside 7-bit ASCII.
uint8_t CheckStoredControl(unsigned group, unsigned control);

// The text the check dialog shows for `code` at (group, control): the place,
// then the code's message, filled with the stored record's string length
// where the message names it.
std::string StoredControlMessage(uint8_t code, unsigned group, unsigned control);

struct CheckPosition {
    unsigned group = 0;
    unsigned control = 0;
};

// Checks the transport records when `first_group()` is 0, then every control
// of the groups first_group() .. last_group() (both read afresh at every
// group). `progress` receives the step number (0, 1, ...) before each record.
// Stops at the first failure: returns its code and sets `failed`; 0 when all pass.
uint8_t CheckStoredRange(const std::function<int()> &first_group, const std::function<int()> &last_group,
                         const std::function<void(int)> &progress, CheckPosition &failed);

#endif
