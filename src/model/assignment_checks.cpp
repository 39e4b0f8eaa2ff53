#include "assignment_checks.h"

#include "param_messages.h"
#include "record_access.h"
#include "text_bytes.h"

uint8_t CheckStoredControl(unsigned group, unsigned control)
{
    if (group >= GROUP_NB || control >= CONTROLS_PER_GROUP)
        return 0;
    const uint8_t record_code = CheckMidiStruct(&AddressedRecord(group, control), static_cast<uint8_t>(control));
    if (!Check_Code_Passes(record_code))
        return record_code;
    if (IsTransportIndex(control))
        return 0;

    const Q9Text &lcd = mylcdstring[group][control];
    uint8_t bytes[LCD_STRING_LENGHT + 1];
    TextToBytes(bytes, lcd, LCD_STRING_LENGHT);
    const uint8_t lcd_code = CheckLcdString(bytes);
    if (!Check_Code_Passes(lcd_code))
        return lcd_code;
    // The byte check sees only the low 8 bits; a wider character would reach
    // the device as another one.
    if (!IsSevenBitAscii(lcd))
        return 21;
    return 0;
}

std::string StoredControlMessage(uint8_t code, unsigned group, unsigned control)
{
    unsigned lenght = 0;
    if (ParamErrorNeedsLenght(code) && group < GROUP_NB && control < CONTROLS_PER_GROUP)
        lenght = AddressedRecord(group, control).midi_str_lenght;
    return ParamErrorMessage(code, group, control, lenght);
}

uint8_t CheckStoredRange(const std::function<int()> &first_group, const std::function<int()> &last_group,
                         const std::function<void(int)> &progress, CheckPosition &failed)
{
    int step = 0;
    if (first_group() == 0) {
        for (unsigned i = 0; i < TRANSPORT_NB; ++i) {
            progress(step++);
            const uint8_t code = CheckStoredControl(0, i);
            if (code != 0) {
                failed = CheckPosition{0, i};
                return code;
            }
        }
    }
    for (int g = first_group(); g <= last_group(); ++g) {
        if (g < 0 || static_cast<unsigned>(g) >= GROUP_NB)
            break;
        for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c) {
            progress(step++);
            const uint8_t code = CheckStoredControl(static_cast<unsigned>(g), c);
            if (code != 0) {
                failed = CheckPosition{static_cast<unsigned>(g), c};
                return code;
            }
        }
    }
    return 0;
}
