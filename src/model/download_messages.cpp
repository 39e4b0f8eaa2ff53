#include "download_messages.h"

#include "config_tables.h"
#include "record_access.h"
#include "text_bytes.h"

uint8_t ControlMidiWrite(uint8_t action, unsigned group, unsigned index, uint8_t *sysex)
{
    const All_Params record = AddressedRecord(group, index);
    return Cvq9_Midi_Assign_To_Sysex(action, &record, sysex, static_cast<uint8_t>(index), static_cast<uint8_t>(group));
}

uint8_t ControlLcdWrite(uint8_t action, unsigned group, unsigned index, uint8_t *sysex)
{
    // The codec takes the text up to its first NUL and pads it to 16 characters.
    uint8_t lcd[LCD_STRING_LENGHT + 2] = {};
    TextToBytes(lcd, mylcdstring[group % GROUP_NB][index % CONTROLS_PER_GROUP], LCD_STRING_LENGHT + 1);
    return Cvq9_Lcd_Assign_To_Sysex(action, lcd, sysex, static_cast<uint8_t>(index), static_cast<uint8_t>(group));
}

uint8_t *CommonItemBytes(uint8_t address, uint8_t *name)
{
    switch (address) {
    case COMMON_PARAM_GROUP_NAME:
        return name;
    case COMMON_PARAM_CURVE1_LOW:
        return &user_curve_1[0];
    case COMMON_PARAM_CURVE1_HIGH:
        return &user_curve_1[USER_CURVE_POINTS / 2];
    case COMMON_PARAM_CURVE2_LOW:
        return &user_curve_2[0];
    case COMMON_PARAM_CURVE2_HIGH:
        return &user_curve_2[USER_CURVE_POINTS / 2];
    default:
        return &common_params[address % COMMON_PARAMS_LENGHT];
    }
}

uint8_t CommonItemWrite(uint8_t address, uint8_t group, uint8_t *sysex)
{
    // The codec pads the name in place: spaces, then a NUL at position 14.
    uint8_t name[GROUP_NAME_LENGHT + 2] = {};
    if (address == COMMON_PARAM_GROUP_NAME)
        TextToBytes(name, mygroupnames[group % GROUP_NB], GROUP_NAME_LENGHT);
    return Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, address, CommonItemBytes(address, name), sysex, group);
}
