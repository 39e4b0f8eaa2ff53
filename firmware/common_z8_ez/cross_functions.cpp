/*
 * Code shared between the configuration editor and the controller's firmware:
 * the record initialisers, the SysEx
 * framing, the control assignment and common parameter codecs, and the record
 * checks.
 *
 * Rules kept by every function here:
 * - no state, no allocation, no library but <stdint.h> / <string.h>;
 * - a SysEx buffer is exactly SYSEX_BUFFER_SIZE bytes and nothing outside it is
 *   read or written, whatever its contents or the record handed in;
 * - a decoder changes the caller's record, text or values only when the whole
 *   answer was accepted (it decodes into a scratch copy first).
 */
#include "cross_functions.h"

#include <string.h>

/* Smallest and largest character allowed in an LCD text or a group name. */
#define PRINTABLE_FIRST 0x20u
#define PRINTABLE_LAST  0x7Eu
/* First data byte of every message, after the 10-byte header. */
#define SYSEX_DATA_START SYSEX_HEADER_LENGHT
/* Number of one-byte fields before midi_string in All_Params. */
#define MIDI_FIELDS_NB 11u
/* Highest length byte a decoder accepts: every byte of a message but the
 * first and the last is a 7-bit MIDI data byte. */
#define SYSEX_DATA_BYTE_MAX 0x7Fu

/* ------------------------------------------------------------------------- */
/* Configuration model */
/* ------------------------------------------------------------------------- */

uint8_t GetControlType(uint8_t index)
{
    if (index > LAST_CONTROL_INDEX + 1u)
        return CONTROL_TYPE_INVALID;
    if ((index >= FIRST_GROUP_CONTROL && index <= 49u) || index == LAST_CONTROL_INDEX)
        return CONTROL_TYPE_CONTINUOUS;
    return CONTROL_TYPE_SWITCH;
}

/* n = (8 x group + index) mod 128: the default CC number of a control. */
static uint8_t DefaultNumber(uint8_t group, uint8_t index)
{
    return (uint8_t)((8u * (unsigned)group + (unsigned)index) & 0x7Fu);
}

void InitMidiStruct(All_Params *MidiStruct, uint8_t group, uint8_t index, uint8_t init_type)
{
    if (init_type == 0u) {
        MidiStruct->ctrl_status_0 = 0u;
        MidiStruct->ctrl_status_1 = 0u;
        MidiStruct->ctrl_status_2 = 0u;
        MidiStruct->midi_str_lenght = 0u;
        MidiStruct->midi_channel_position = 0u;
        MidiStruct->ctrl_value_position_0 = 0u;
        MidiStruct->ctrl_value_position_1 = 0u;
        MidiStruct->ctrl_value_min = 0u;
        MidiStruct->ctrl_value_max = 0u;
        MidiStruct->checksum_start_position = 0u;
        MidiStruct->ctrl_chain = 0u;
        MidiStruct->midi_string[0] = 0u;
        return;
    }

    const uint8_t n = DefaultNumber(group, index);
    MidiStruct->ctrl_status_0 = n;
    MidiStruct->ctrl_status_1 = 0x9Cu; /* MIDI out 2, MIDI out 1, USB out, Toggle */
    MidiStruct->ctrl_status_2 = 0u;
    MidiStruct->midi_str_lenght = 3u;
    MidiStruct->midi_channel_position = 1u;
    MidiStruct->ctrl_value_position_0 = 3u;
    MidiStruct->ctrl_value_position_1 = 0u;
    MidiStruct->ctrl_value_min = 0u;
    MidiStruct->ctrl_value_max = 127u;
    MidiStruct->checksum_start_position = 0u;
    MidiStruct->ctrl_chain = 0u;
    MidiStruct->midi_string[0] = 0xB0u;
    MidiStruct->midi_string[1] = n;
    MidiStruct->midi_string[2] = 0x00u;
}

void InitLcdString(uint8_t *lcd_str, uint8_t group, uint8_t index, uint8_t init_type)
{
    if (init_type == 0u) {
        lcd_str[0] = 0u;
        return;
    }
    static const char prefix[] = "    CC # "; /* four spaces, "CC # " */
    const uint8_t n = DefaultNumber(group, index);
    const unsigned prefix_len = (unsigned)(sizeof(prefix) - 1u);
    memcpy(lcd_str, prefix, prefix_len);
    lcd_str[prefix_len + 0u] = (uint8_t)('0' + n / 100u);
    lcd_str[prefix_len + 1u] = (uint8_t)('0' + (n / 10u) % 10u);
    lcd_str[prefix_len + 2u] = (uint8_t)('0' + n % 10u);
    lcd_str[prefix_len + 3u] = 0u;
}

void InitCommonParams(uint8_t *common_params, uint8_t init_type)
{
    memset(common_params, 0, COMMON_PARAMS_LENGHT);
    if (init_type == 0u)
        return;
    common_params[0] = 0x0Fu; /* the four merges on */
    common_params[1] = 0x00u;
    common_params[3] = 0x04u; /* arpeggiator to MIDI Out 2 */
    common_params[4] = 0x51u; /* motion loop, ribbon, Hook */
    common_params[5] = 0x00u;
    common_params[11] = 0x01u; /* LFO */
    common_params[32] = 100u;  /* 130 BPM */
    common_params[33] = 0x00u;
}

void InitUserCurves(uint8_t *user_curve, uint8_t init_type)
{
    for (unsigned i = 0u; i < USER_CURVE_POINTS; i++)
        user_curve[i] = (init_type != 0u) ? (uint8_t)i : 0u;
}

/* ------------------------------------------------------------------------- */
/* SysEx framing */
/* ------------------------------------------------------------------------- */

void Fill_Sysex_Header(uint8_t *sysex, uint8_t SYSEX_ID0, uint8_t SYSEX_ID1, uint8_t SYSEX_ID2, uint8_t SYSEX_ID3)
{
    sysex[0] = SYSEX_START;
    sysex[1] = CVQ9_MANUFACTURER_ID_0;
    sysex[2] = CVQ9_MANUFACTURER_ID_1;
    sysex[3] = CVQ9_MANUFACTURER_ID_2;
    sysex[4] = CVQ9_MODEL_ID_0;
    sysex[5] = CVQ9_MODEL_ID_1;
    sysex[6] = SYSEX_ID0;
    sysex[7] = SYSEX_ID1;
    sysex[8] = SYSEX_ID2;
    sysex[9] = SYSEX_ID3;
}

uint8_t Check_Valid_Sysex_Header(const uint8_t *sysex, uint8_t index, uint8_t group)
{
    if (sysex[0] != SYSEX_START || sysex[1] != CVQ9_MANUFACTURER_ID_0 || sysex[2] != CVQ9_MANUFACTURER_ID_1 ||
        sysex[3] != CVQ9_MANUFACTURER_ID_2 || sysex[4] != CVQ9_MODEL_ID_0 || sysex[5] != CVQ9_MODEL_ID_1)
        return SYSEX_MALFORMED;
    if ((sysex[6] & SYSEX_ANSWER_BIT) == 0u)
        return SYSEX_MALFORMED;
    if (sysex[8] != index || sysex[9] != group)
        return SYSEX_MALFORMED;
    return sysex[7];
}

uint8_t Check_invalid_request(uint8_t SYSEX_ID0, uint8_t SYSEX_ID2, uint8_t SYSEX_ID3)
{
    const uint8_t kind = (uint8_t)(SYSEX_ID0 & SYSEX_KIND_MASK);
    uint8_t invalid = 0u;

    if (kind == SYSEX_KIND_LCD || kind == SYSEX_KIND_MIDI) {
        if (SYSEX_ID2 < FIRST_GROUP_CONTROL && SYSEX_ID3 != 0u)
            invalid = 1u;
        if (SYSEX_ID2 > LAST_CONTROL_INDEX)
            invalid = 1u;
        if (SYSEX_ID3 >= GROUP_NB)
            invalid = 1u;
    } else if (kind == SYSEX_KIND_COMMON) {
        if (SYSEX_ID2 == COMMON_PARAM_IDENTITY && (SYSEX_ID0 & SYSEX_REQUEST_BIT) == 0u)
            invalid = 1u;
        if (SYSEX_ID2 > COMMON_PARAM_GROUP_NAME && SYSEX_ID2 != COMMON_PARAM_IDENTITY)
            invalid = 1u;
        if (SYSEX_ID3 >= GROUP_NB)
            invalid = 1u;
    }
    /* kind 2: always valid */
    return invalid ? SYSEX_INVALID_REQUEST : 0u;
}

uint8_t Single_Byte_To_Nibbles(uint8_t data, uint8_t *destination)
{
    destination[0] = (uint8_t)(data >> 4);
    destination[1] = (uint8_t)(data & 0x0Fu);
    return (uint8_t)((destination[0] + destination[1]) & 0x7F);
}

uint8_t Nibbles_To_Single_Byte(uint8_t *data, const uint8_t *nibbles_src)
{
    if ((nibbles_src[0] & 0xF0u) != 0u || (nibbles_src[1] & 0xF0u) != 0u)
        return SYSEX_MALFORMED;
    *data = (uint8_t)(((unsigned)nibbles_src[0] << 4) | (nibbles_src[1] & 0x0Fu));
    return (uint8_t)((nibbles_src[0] + nibbles_src[1]) & 0x7F);
}

/* ------------------------------------------------------------------------- */
/* Control assignment messages */
/* ------------------------------------------------------------------------- */

/* The eleven one-byte fields of a record, in record (and wire) order. */
static void RecordFieldsToBytes(const All_Params *rec, uint8_t fields[MIDI_FIELDS_NB])
{
    fields[0] = rec->ctrl_status_0;
    fields[1] = rec->ctrl_status_1;
    fields[2] = rec->ctrl_status_2;
    fields[3] = rec->midi_str_lenght;
    fields[4] = rec->midi_channel_position;
    fields[5] = rec->ctrl_value_position_0;
    fields[6] = rec->ctrl_value_position_1;
    fields[7] = rec->ctrl_value_min;
    fields[8] = rec->ctrl_value_max;
    fields[9] = rec->checksum_start_position;
    fields[10] = rec->ctrl_chain;
}

static void BytesToRecordFields(const uint8_t fields[MIDI_FIELDS_NB], All_Params *rec)
{
    rec->ctrl_status_0 = fields[0];
    rec->ctrl_status_1 = fields[1];
    rec->ctrl_status_2 = fields[2];
    rec->midi_str_lenght = fields[3];
    rec->midi_channel_position = fields[4];
    rec->ctrl_value_position_0 = fields[5];
    rec->ctrl_value_position_1 = fields[6];
    rec->ctrl_value_min = fields[7];
    rec->ctrl_value_max = fields[8];
    rec->checksum_start_position = fields[9];
    rec->ctrl_chain = fields[10];
}

uint8_t Cvq9_Midi_Assign_To_Sysex(uint8_t action, const All_Params *MidiStruct, uint8_t *sysex, uint8_t index,
                                  uint8_t group)
{
    if (Check_invalid_request(MIDI_ASSIGN_WRITE_ACK, index, group) != 0u)
        return SYSEX_INVALID_REQUEST; /* buffer untouched */

    memset(sysex, 0, SYSEX_BUFFER_SIZE);

    if (action == ACTION_READ_REQUEST) {
        sysex[SYSEX_DATA_START] = SYSEX_END;
        Fill_Sysex_Header(sysex, MIDI_ASSIGN_REQUEST, 0u, index, group);
        return (uint8_t)(SYSEX_HEADER_LENGHT + 1u);
    }

    if (!Check_Code_Passes(CheckMidiStruct(MidiStruct, index)))
        return SYSEX_INVALID_REQUEST;
    /* CheckMidiStruct lets any length above 10 through as warning 3 when no
     * MIDI delay is set: refuse what would not fit the record or the buffer. */
    const uint8_t len = MidiStruct->midi_str_lenght;
    if (len > MIDI_STRING_MAX_LENGHT)
        return SYSEX_INVALID_REQUEST;

    uint8_t fields[MIDI_FIELDS_NB];
    RecordFieldsToBytes(MidiStruct, fields);

    uint8_t checksum = 0u;
    unsigned pos = SYSEX_DATA_START;
    for (unsigned i = 0u; i < MIDI_FIELDS_NB; i++, pos += 2u)
        checksum = (uint8_t)((checksum + Single_Byte_To_Nibbles(fields[i], &sysex[pos])) & 0x7F);
    for (unsigned i = 0u; i < len; i++, pos += 2u)
        checksum = (uint8_t)((checksum + Single_Byte_To_Nibbles(MidiStruct->midi_string[i], &sysex[pos])) & 0x7F);
    sysex[pos] = checksum;
    sysex[pos + 1u] = SYSEX_END;

    const uint8_t data_len = (uint8_t)(2u * (MIDI_FIELDS_NB + len));
    Fill_Sysex_Header(sysex, (action == ACTION_WRITE_ACK) ? MIDI_ASSIGN_WRITE_ACK : MIDI_ASSIGN_WRITE, data_len, index,
                      group);
    return (uint8_t)(data_len + 12u);
}

uint8_t Cvq9_Sysex_To_Midi_Assign(uint8_t action, All_Params *MidiStruct, const uint8_t *sysex, uint8_t index,
                                  uint8_t group)
{
    if ((sysex[6] & SYSEX_KIND_MASK) != SYSEX_KIND_MIDI)
        return SYSEX_MALFORMED;
    if (Check_invalid_request(sysex[6], index, group) != 0u)
        return SYSEX_INVALID_REQUEST;

    const uint8_t len = Check_Valid_Sysex_Header(sysex, index, group);

    if (action == 1u) { /* acknowledge expected */
        if (len != 0u)
            return SYSEX_MALFORMED;
        if ((sysex[6] & SYSEX_ACK_BIT) == 0u)
            return SYSEX_REFUSED;
        return SYSEX_ACK_OK;
    }

    /* Data expected. A length byte is a MIDI data byte: above 0x7F the header
     * is malformed (it would also make len + 12 collide with the codes). */
    if (len == 0u || len == SYSEX_MALFORMED || len > SYSEX_DATA_BYTE_MAX)
        return SYSEX_MALFORMED;

    All_Params scratch;
    memcpy(&scratch, MidiStruct, sizeof scratch); /* string bytes beyond L are kept */

    uint8_t fields[MIDI_FIELDS_NB];
    uint8_t checksum = 0u;
    unsigned pos = SYSEX_DATA_START;
    for (unsigned i = 0u; i < MIDI_FIELDS_NB; i++, pos += 2u) {
        const uint8_t sum = Nibbles_To_Single_Byte(&fields[i], &sysex[pos]);
        if (sum == SYSEX_MALFORMED)
            return SYSEX_MALFORMED;
        checksum = (uint8_t)((checksum + sum) & 0x7F);
    }
    BytesToRecordFields(fields, &scratch);

    const uint8_t str_len = scratch.midi_str_lenght;
    if (str_len > MIDI_STRING_MAX_LENGHT)
        return SYSEX_MALFORMED; /* before any string byte is read */
    for (unsigned i = 0u; i < str_len; i++, pos += 2u) {
        const uint8_t sum = Nibbles_To_Single_Byte(&scratch.midi_string[i], &sysex[pos]);
        if (sum == SYSEX_MALFORMED)
            return SYSEX_MALFORMED;
        checksum = (uint8_t)((checksum + sum) & 0x7F);
    }
    /* pos = 32 + 2L <= 74: inside the buffer. */
    if (sysex[pos] != checksum)
        return SYSEX_MALFORMED;

    memcpy(MidiStruct, &scratch, sizeof scratch);
    return (uint8_t)(len + 12u);
}

uint8_t Cvq9_Lcd_Assign_To_Sysex(uint8_t action, const uint8_t *lcd_string, uint8_t *sysex, uint8_t index,
                                 uint8_t group)
{
    if (Check_invalid_request(LCD_ASSIGN_WRITE_ACK, index, group) != 0u)
        return SYSEX_INVALID_REQUEST; /* buffer untouched */

    memset(sysex, 0, SYSEX_BUFFER_SIZE);

    if (action == ACTION_READ_REQUEST) {
        sysex[SYSEX_DATA_START] = SYSEX_END;
        Fill_Sysex_Header(sysex, LCD_ASSIGN_REQUEST, 0u, index, group);
        return (uint8_t)(SYSEX_HEADER_LENGHT + 1u);
    }

    /* 16-character work text: the caller's text up to its first NUL, at most
     * 16 characters, padded with spaces; the NUL after it ends CheckLcdString. */
    uint8_t work[LCD_STRING_LENGHT + 1u];
    unsigned n = 0u;
    while (n < LCD_STRING_LENGHT && lcd_string[n] != 0u) {
        work[n] = lcd_string[n];
        n++;
    }
    for (; n < LCD_STRING_LENGHT; n++)
        work[n] = ' ';
    work[LCD_STRING_LENGHT] = 0u;

    if (CheckLcdString(work) != 1u)
        return SYSEX_INVALID_REQUEST;
    for (unsigned i = 0u; i < LCD_STRING_LENGHT; i++)
        if (work[i] < PRINTABLE_FIRST || work[i] > PRINTABLE_LAST)
            return SYSEX_INVALID_REQUEST;

    uint8_t checksum = 0u;
    unsigned pos = SYSEX_DATA_START;
    for (unsigned i = 0u; i < LCD_STRING_LENGHT; i++, pos += 2u)
        checksum = (uint8_t)((checksum + Single_Byte_To_Nibbles(work[i], &sysex[pos])) & 0x7F);
    sysex[pos] = checksum;       /* byte 42 */
    sysex[pos + 1u] = SYSEX_END; /* byte 43 */

    Fill_Sysex_Header(sysex, (action == ACTION_WRITE_ACK) ? LCD_ASSIGN_WRITE_ACK : LCD_ASSIGN_WRITE,
                      (uint8_t)(2u * LCD_STRING_LENGHT), index, group);
    return (uint8_t)(2u * LCD_STRING_LENGHT + 12u);
}

uint8_t Cvq9_Sysex_To_Lcd_Assign(uint8_t action, uint8_t *lcd_string, const uint8_t *sysex, uint8_t index,
                                 uint8_t group)
{
    if ((sysex[6] & SYSEX_KIND_MASK) != SYSEX_KIND_LCD)
        return SYSEX_MALFORMED;
    if (Check_invalid_request(sysex[6], index, group) != 0u)
        return SYSEX_INVALID_REQUEST;

    const uint8_t len = Check_Valid_Sysex_Header(sysex, index, group);

    if (action == 2u) { /* acknowledge expected */
        if (len != 0u)
            return SYSEX_MALFORMED;
        if ((sysex[6] & SYSEX_ACK_BIT) == 0u)
            return SYSEX_REFUSED;
        return SYSEX_ACK_OK;
    }

    if (len != 2u * LCD_STRING_LENGHT)
        return SYSEX_MALFORMED;

    uint8_t text[LCD_STRING_LENGHT + 1u];
    uint8_t checksum = 0u;
    unsigned pos = SYSEX_DATA_START;
    for (unsigned i = 0u; i < LCD_STRING_LENGHT; i++, pos += 2u) {
        const uint8_t sum = Nibbles_To_Single_Byte(&text[i], &sysex[pos]);
        if (sum == SYSEX_MALFORMED)
            return SYSEX_MALFORMED;
        checksum = (uint8_t)((checksum + sum) & 0x7F);
    }
    text[LCD_STRING_LENGHT] = 0u;
    if (sysex[pos] != checksum) /* byte 42 */
        return SYSEX_MALFORMED;

    memcpy(lcd_string, text, sizeof text);
    return (uint8_t)(2u * LCD_STRING_LENGHT + 12u);
}

/* ------------------------------------------------------------------------- */
/* Common parameter messages */
/* ------------------------------------------------------------------------- */

uint8_t Get_Common_Param_Data_Lenght(uint8_t address)
{
    if (address >= COMMON_PARAM_CURVE1_LOW && address <= COMMON_PARAM_CURVE2_HIGH)
        return 64u;
    if (address == COMMON_PARAM_GROUP_NAME)
        return (uint8_t)(2u * GROUP_NAME_LENGHT);
    if (address == COMMON_PARAM_TEMPO)
        return 2u;
    if (address == COMMON_PARAM_IDENTITY)
        return 11u;
    return 1u;
}

uint8_t Cvq9_Common_Param_To_Sysex(uint8_t action, uint8_t address, uint8_t *values, uint8_t *sysex, uint8_t group)
{
    const uint8_t len = Get_Common_Param_Data_Lenght(address);
    memset(sysex, 0, SYSEX_BUFFER_SIZE);

    if (action == ACTION_READ_REQUEST) {
        sysex[SYSEX_DATA_START] = SYSEX_END;
        if (Check_invalid_request(COMMON_PARAM_REQUEST, address, group) != 0u)
            return SYSEX_INVALID_REQUEST;
        Fill_Sysex_Header(sysex, COMMON_PARAM_REQUEST, len, address, group);
        return (uint8_t)(SYSEX_HEADER_LENGHT + 1u);
    }

    if (Check_invalid_request(COMMON_PARAM_WRITE, address, group) != 0u)
        return SYSEX_INVALID_REQUEST; /* refuses address 127 */

    if (address == COMMON_PARAM_GROUP_NAME) {
        /* Pad the caller's 15-byte name buffer in place: spaces from the
         * first NUL up to position 13, NUL at position 14. */
        unsigned i = 0u;
        while (i < GROUP_NAME_LENGHT && values[i] != 0u)
            i++;
        for (; i < GROUP_NAME_LENGHT; i++)
            values[i] = ' ';
        values[GROUP_NAME_LENGHT] = 0u;
        for (i = 0u; i < GROUP_NAME_LENGHT; i++)
            if (values[i] < PRINTABLE_FIRST || values[i] > PRINTABLE_LAST)
                return SYSEX_INVALID_REQUEST;
        for (i = 0u; i < GROUP_NAME_LENGHT; i++)
            (void)Single_Byte_To_Nibbles(values[i], &sysex[SYSEX_DATA_START + 2u * i]);
    } else if (address == COMMON_PARAM_TEMPO) {
        (void)Single_Byte_To_Nibbles(values[0], &sysex[SYSEX_DATA_START]);
    } else {
        for (unsigned i = 0u; i < len; i++)
            if (values[i] > SYSEX_DATA_BYTE_MAX)
                return SYSEX_INVALID_REQUEST; /* buffer stays cleared */
        memcpy(&sysex[SYSEX_DATA_START], values, len);
    }

    sysex[SYSEX_DATA_START + len] = SYSEX_END;
    Fill_Sysex_Header(sysex, COMMON_PARAM_WRITE, len, address, group);
    return (uint8_t)(len + 11u);
}

uint8_t Cvq9_Sysex_To_Common_Param(uint8_t address, uint8_t *values, const uint8_t *sysex, uint8_t group)
{
    if ((sysex[6] & SYSEX_KIND_MASK) != SYSEX_KIND_COMMON)
        return SYSEX_MALFORMED;
    if (Check_invalid_request(sysex[6], address, group) != 0u)
        return SYSEX_INVALID_REQUEST;

    const uint8_t expected = Get_Common_Param_Data_Lenght(address);
    const uint8_t len = Check_Valid_Sysex_Header(sysex, address, group);
    if (len != expected)
        return SYSEX_MALFORMED;

    if (address == COMMON_PARAM_GROUP_NAME) {
        uint8_t name[GROUP_NAME_LENGHT + 1u];
        for (unsigned i = 0u; i < GROUP_NAME_LENGHT; i++)
            if (Nibbles_To_Single_Byte(&name[i], &sysex[SYSEX_DATA_START + 2u * i]) == SYSEX_MALFORMED)
                return SYSEX_MALFORMED;
        name[GROUP_NAME_LENGHT] = 0u;
        memcpy(values, name, sizeof name); /* values[0..14] */
    } else if (address == COMMON_PARAM_TEMPO) {
        /* leaves values[0] unchanged on a nibble error */
        if (Nibbles_To_Single_Byte(&values[0], &sysex[SYSEX_DATA_START]) == SYSEX_MALFORMED)
            return SYSEX_MALFORMED;
    } else {
        memcpy(values, &sysex[SYSEX_DATA_START], len); /* at most 64 bytes from byte 10 */
    }
    return (uint8_t)(len + 12u);
}

/* ------------------------------------------------------------------------- */
/* Record checks */
/* ------------------------------------------------------------------------- */

uint8_t CheckMidiStruct(const All_Params *MidiStruct, uint8_t index)
{
    const All_Params *p = MidiStruct;

    /* 1. undefined control */
    if (p->midi_str_lenght == 0u && p->ctrl_value_min == 0u && p->ctrl_value_max == 0u &&
        p->midi_channel_position == 0u && p->ctrl_value_position_0 == 0u && p->ctrl_value_position_1 == 0u &&
        p->checksum_start_position == 0u && p->ctrl_status_0 == 0u && p->ctrl_status_1 == 0u && p->ctrl_status_2 == 0u)
        return 2u;
    /* 2. nibble mode needs both value positions */
    if ((p->ctrl_status_2 & 0x10u) != 0u && (p->ctrl_value_position_0 == 0u || p->ctrl_value_position_1 == 0u))
        return 20u;
    /* 3. long string without MIDI delay (a warning: ends the check) */
    if (p->midi_str_lenght > 10u && (p->ctrl_status_1 & 0x03u) == 0u)
        return 3u;
    /* 4..6. value range */
    if (p->ctrl_value_min > 127u)
        return 5u;
    if (p->ctrl_value_max > 127u)
        return 6u;
    if (p->ctrl_value_min > p->ctrl_value_max)
        return 7u;
    /* 7. string length */
    if (p->midi_str_lenght > MIDI_STRING_MAX_LENGHT)
        return 8u;
    if (p->midi_str_lenght == 0u)
        return 8u;
    /* 8. duplicate insertion positions */
    if (p->midi_channel_position == p->ctrl_value_position_0 && p->midi_channel_position != 0u)
        return 18u;
    if (p->midi_channel_position == p->ctrl_value_position_1 && p->midi_channel_position != 0u)
        return 18u;
    if (p->ctrl_value_position_0 == p->ctrl_value_position_1 && p->ctrl_value_position_0 != 0u)
        return 18u;
    /* 9. positions inside the string */
    if (p->midi_channel_position > p->midi_str_lenght)
        return 9u;
    if (p->ctrl_value_position_0 > p->midi_str_lenght)
        return 10u;
    if (p->ctrl_value_position_1 > p->midi_str_lenght)
        return 11u;
    if (p->checksum_start_position > p->midi_str_lenght)
        return 12u;
    /* 10. MIDI status first */
    if (p->midi_string[0] < 0x80u)
        return 13u;
    /* 11. no 0xFE / 0xFF in the string (length <= 21 here) */
    for (unsigned i = 0u; i < p->midi_str_lenght; i++)
        if (p->midi_string[i] == 0xFEu || p->midi_string[i] == 0xFFu)
            return 14u;
    /* 12. at least one MIDI output */
    if ((p->ctrl_status_1 & 0x0Cu) == 0u)
        return 15u;
    /* 13. chained on itself */
    if (index != 0u && (p->ctrl_chain & 0x7Fu) == index)
        return 16u;
    /* 14. chained on an out-of-range control */
    if ((p->ctrl_chain & 0x7Fu) > LAST_CONTROL_INDEX + 1u)
        return 17u;
    return 0u;
}

uint8_t CheckLcdString(const uint8_t *lcd_string)
{
    for (unsigned i = 0u; i < LCD_STRING_LENGHT && lcd_string[i] != 0u; i++)
        if (lcd_string[i] < PRINTABLE_FIRST || lcd_string[i] > PRINTABLE_LAST)
            return 21u;
    return 1u;
}
