#include "record_access.h"

#include <cstdio>

#include "text_bytes.h"

All_Params &AddressedRecord(unsigned group, unsigned index)
{
    if (index < TRANSPORT_NB)
        return mytransport[index];
    return mycontrol[group % GROUP_NB][index % CONTROLS_PER_GROUP];
}

All_Params &AddressedRecord(unsigned index)
{
    return AddressedRecord(CurrentGroup, index);
}

void InitAllStructsTables(uint8_t init_type)
{
    for (uint8_t t = 0; t < TRANSPORT_NB; ++t)
        InitMidiStruct(&mytransport[t], 0, t, init_type);
    for (uint8_t g = 0; g < GROUP_NB; ++g) {
        for (uint8_t c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            InitMidiStruct(&mycontrol[g][c], g, c, init_type);
            uint8_t buffer[LCD_STRING_LENGHT + 2] = {0};
            InitLcdString(buffer, g, c, init_type);
            mylcdstring[g][c] = BytesToStoredText(buffer, LCD_STRING_LENGHT + 1);
        }
    }
}

Q9Text DefaultGroupName(unsigned group)
{
    char name[32];
    std::snprintf(name, sizeof name, "   Group %02u   ", group);
    Q9Text text;
    for (const char *p = name; *p; ++p)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return text;
}

void ResetConfiguration(uint8_t init_type)
{
    InitAllStructsTables(init_type);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        mygroupnames[g] = init_type ? DefaultGroupName(g) : Q9Text();
    InitCommonParams(common_params, init_type);
    InitUserCurves(user_curve_1, init_type);
    InitUserCurves(user_curve_2, init_type);
}
