#include "param_messages.h"

#include <cstdio>

namespace {

struct CodeText {
    uint8_t code;
    const char *text;
};

const CodeText kTexts[] = {
    {0, "Parameter successfuly checked"},
    {2, "Warning : Parameter is not defined"},
    {3, "Warning : Long MIDI string (Lenght > %d)\nA MIDI delay should be inserted"},
    {5, "Control Min value is out of range (0-127)"},
    {6, "Control Max value is out of range (0-127)"},
    {7, "Control Min value is higher than control Max value"},
    {8, "MIDI string lenght is out of range (1-%d)"},
    {9, "MIDI channel position is out of range (0-%d)"},
    {10, "Control Value 1 position is out of range (0-%d)"},
    {11, "Control Value 2 position is out of range (0-%d)"},
    {12, "Checksum position is out of range (0-%d)"},
    {13, "MIDI string must start with a MIDI status"},
    {14, "Invalid byte found in MIDI string (FE or FF)"},
    {15, "At least one MIDI output must be selected"},
    {16, "Control chained on itself"},
    {17, "Control chained on out of range control"},
    {18, "Duplicate position found (MIDI channel/Control value 0/Control value 1)"},
    {19, "Uncomplete MIDI string (A digit is probably missing)"},
    {20, "Control value has to be sent as 2 nibbles:\nControl value position 1 (MSB) must not be 0\n"
         "Control value position 2 (LSB) must not be 0"},
    {21, "LCD string contains un-allowed (non ascii) caracter(s)"},
    {23, "LCD string must be 16 car. lenght"},
};

}  // namespace

const char *ParamErrorFormat(uint8_t code)
{
    for (const CodeText &entry : kTexts)
        if (entry.code == code)
            return entry.text;
    return "Unknown error";
}

bool ParamErrorNeedsLenght(uint8_t code)
{
    return code >= 9 && code <= 12;
}

std::string ParamErrorText(uint8_t code, unsigned lenght)
{
    unsigned value = lenght;
    if (code == 3)
        value = 10;
    else if (code == 8)
        value = 21;
    const char *format = ParamErrorFormat(code);
    std::string text;
    for (const char *p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            text += std::to_string(value);
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string ParamErrorMessage(uint8_t code, unsigned group, unsigned control, unsigned lenght)
{
    return "Group " + std::to_string(group) + " - Control " + std::to_string(control) + "\n" +
           ParamErrorText(code, lenght);
}
