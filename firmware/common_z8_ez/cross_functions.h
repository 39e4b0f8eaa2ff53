/*
 * Code shared between the configuration editor and the controller's firmware:
 * the assignment record, its initial values, the SysEx framing, the message
 * codec for control assignments and common parameters, and the record checks.
 *
 * Every function is pure: it works on caller-owned buffers (SysEx buffers are
 * always SYSEX_BUFFER_SIZE bytes), keeps no state, allocates nothing and
 * reports failures through a status byte.
 */
#ifndef CROSS_FUNCTIONS_H
#define CROSS_FUNCTIONS_H

#include <stdint.h>

/* One control's assignment: eleven one-byte fields and the MIDI string. */
typedef struct {
    uint8_t ctrl_status_0, ctrl_status_1, ctrl_status_2, midi_str_lenght, midi_channel_position, ctrl_value_position_0,
        ctrl_value_position_1, ctrl_value_min, ctrl_value_max, checksum_start_position, ctrl_chain;
    uint8_t midi_string[21];
} All_Params; /* exactly 32 bytes, in this order */

#ifdef __cplusplus
static_assert(sizeof(All_Params) == 32, "All_Params must be exactly 32 bytes");
#else
_Static_assert(sizeof(All_Params) == 32, "All_Params must be exactly 32 bytes");
#endif

/* Sizes and counts of the configuration. */
#define SYSEX_BUFFER_SIZE      128u
#define MIDI_STRING_MAX_LENGHT 21u
#define GROUP_NB               21u
#define CONTROLS_PER_GROUP     67u
#define TRANSPORT_NB           5u
#define FIRST_GROUP_CONTROL    5u
#define LAST_CONTROL_INDEX     66u
#define LCD_STRING_LENGHT      16u
#define GROUP_NAME_LENGHT      14u
#define COMMON_PARAMS_LENGHT   40u
#define USER_CURVE_POINTS      128u

/* Header bytes 1..3: the manufacturer identifier used in every message. */
#define CVQ9_MANUFACTURER_ID_0 0x00u
#define CVQ9_MANUFACTURER_ID_1 0x3Fu
#define CVQ9_MANUFACTURER_ID_2 0x51u
/* Header bytes 4..5: the model. */
#define CVQ9_MODEL_ID_0 0x00u
#define CVQ9_MODEL_ID_1 0x01u

#define SYSEX_HEADER_LENGHT 10u
#define SYSEX_START         0xF0u
#define SYSEX_END           0xF7u

/* Request codes (header byte 6). */
#define COMMON_PARAM_WRITE    0x00u
#define COMMON_PARAM_REQUEST  0x30u
#define LCD_ASSIGN_WRITE_ACK  0x19u
#define LCD_ASSIGN_WRITE      0x09u
#define LCD_ASSIGN_REQUEST    0x31u
#define MIDI_ASSIGN_WRITE_ACK 0x1Bu
#define MIDI_ASSIGN_WRITE     0x0Bu
#define MIDI_ASSIGN_REQUEST   0x33u

/* Request code bits. */
#define SYSEX_KIND_MASK   0x03u
#define SYSEX_KIND_COMMON 0x00u
#define SYSEX_KIND_LCD    0x01u
#define SYSEX_KIND_MIDI   0x03u
#define SYSEX_WRITE_BIT   0x08u
#define SYSEX_ACK_BIT     0x10u
#define SYSEX_REQUEST_BIT 0x20u
#define SYSEX_ANSWER_BIT  0x40u

/* Codec actions. */
#define ACTION_WRITE_ACK    0u
#define ACTION_WRITE_NO_ACK 1u
#define ACTION_READ_REQUEST 2u

/* Common parameter addresses. */
#define COMMON_PARAM_TEMPO       32u
#define COMMON_PARAM_OPERATING   33u
#define COMMON_PARAM_CURVE1_LOW  34u
#define COMMON_PARAM_CURVE1_HIGH 35u
#define COMMON_PARAM_CURVE2_LOW  36u
#define COMMON_PARAM_CURVE2_HIGH 37u
#define COMMON_PARAM_GROUP_NAME  38u
#define COMMON_PARAM_IDENTITY    127u

/* Status codes shared by the codec and the exchange layer. */
#define SYSEX_ACK_OK          0u
#define SYSEX_NO_ANSWER       251u
#define SYSEX_REFUSED         252u
#define SYSEX_INVALID_REQUEST 254u
#define SYSEX_MALFORMED       255u

/* Control kinds returned by GetControlType. */
#define CONTROL_TYPE_SWITCH     0u
#define CONTROL_TYPE_CONTINUOUS 1u
#define CONTROL_TYPE_INVALID    254u

uint8_t GetControlType(uint8_t index);
void InitMidiStruct(All_Params *MidiStruct, uint8_t group, uint8_t index, uint8_t init_type);
void InitLcdString(uint8_t *lcd_str, uint8_t group, uint8_t index, uint8_t init_type);
void InitCommonParams(uint8_t *common_params, uint8_t init_type);
void InitUserCurves(uint8_t *user_curve, uint8_t init_type);

void Fill_Sysex_Header(uint8_t *sysex, uint8_t SYSEX_ID0, uint8_t SYSEX_ID1, uint8_t SYSEX_ID2, uint8_t SYSEX_ID3);
uint8_t Check_Valid_Sysex_Header(const uint8_t *sysex, uint8_t index, uint8_t group);
uint8_t Check_invalid_request(uint8_t SYSEX_ID0, uint8_t SYSEX_ID2, uint8_t SYSEX_ID3);
uint8_t Single_Byte_To_Nibbles(uint8_t data, uint8_t *destination);
uint8_t Nibbles_To_Single_Byte(uint8_t *data, const uint8_t *nibbles_src);

uint8_t Cvq9_Midi_Assign_To_Sysex(uint8_t action, const All_Params *MidiStruct, uint8_t *sysex, uint8_t index,
                                  uint8_t group);
uint8_t Cvq9_Sysex_To_Midi_Assign(uint8_t action, All_Params *MidiStruct, const uint8_t *sysex, uint8_t index,
                                  uint8_t group);
uint8_t Cvq9_Lcd_Assign_To_Sysex(uint8_t action, const uint8_t *lcd_string, uint8_t *sysex, uint8_t index,
                                 uint8_t group);
uint8_t Cvq9_Sysex_To_Lcd_Assign(uint8_t action, uint8_t *lcd_string, const uint8_t *sysex, uint8_t index,
                                 uint8_t group);

uint8_t Get_Common_Param_Data_Lenght(uint8_t address);
uint8_t Cvq9_Common_Param_To_Sysex(uint8_t action, uint8_t address, uint8_t *values, uint8_t *sysex, uint8_t group);
uint8_t Cvq9_Sysex_To_Common_Param(uint8_t address, uint8_t *values, const uint8_t *sysex, uint8_t group);

uint8_t CheckMidiStruct(const All_Params *MidiStruct, uint8_t index);
uint8_t CheckLcdString(const uint8_t *lcd_string);

/* An assignment status code that passes: 0 to 4 (correct, LCD text correct,
 * and the two warnings); every code above 4 is a failure. */
static inline bool Check_Code_Passes(uint8_t code)
{
    return code <= 4u;
}

#endif /* CROSS_FUNCTIONS_H */
