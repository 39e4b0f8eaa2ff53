// The texts shown for the assignment status codes of the record checks.
#ifndef CVQ9_PARAM_MESSAGES_H
#define CVQ9_PARAM_MESSAGES_H

#include <cstdint>
#include <string>

// Assignment status codes (0..4 pass, above 4 fail).
enum ParamStatus : uint8_t {
    PARAM_OK = 0,
    PARAM_LCD_OK = 1,
    PARAM_WARN_UNDEFINED = 2,
    PARAM_WARN_LONG_STRING = 3,
    PARAM_MIN_RANGE = 5,
    PARAM_MAX_RANGE = 6,
    PARAM_MIN_ABOVE_MAX = 7,
    PARAM_LENGHT_RANGE = 8,
    PARAM_CHANNEL_POS = 9,
    PARAM_VALUE1_POS = 10,
    PARAM_VALUE2_POS = 11,
    PARAM_CHECKSUM_POS = 12,
    PARAM_NO_STATUS = 13,
    PARAM_INVALID_BYTE = 14,
    PARAM_NO_OUTPUT = 15,
    PARAM_CHAINED_ITSELF = 16,
    PARAM_CHAINED_RANGE = 17,
    PARAM_DUPLICATE_POS = 18,
    PARAM_ODD_DIGITS = 19,
    PARAM_NIBBLE_POS = 20,
    PARAM_LCD_CHARS = 21,
    PARAM_LCD_LENGHT = 23,
};

// The message for `code`, possibly holding one "%d" placeholder
// (see ParamErrorPlaceholder); "Unknown error" for a code without a text.
const char *ParamErrorFormat(uint8_t code);

// True when the code's text holds a "%d" that the caller fills with the
// record's midi_str_lenght (codes 9 to 12). Codes 3 and 8 are filled here.
bool ParamErrorNeedsLenght(uint8_t code);

// The message with its placeholder filled: `lenght` for codes 9 to 12,
// 10 for code 3, 21 for code 8.
std::string ParamErrorText(uint8_t code, unsigned lenght);

// The full text shown by the check dialog: "Group %d - Control %d\n" and the message.
std::string ParamErrorMessage(uint8_t code, unsigned group, unsigned control, unsigned lenght);

#endif
