// libFuzzer target for the firmware-shared codec.
//
// Input layout: byte 0 = index, byte 1 = group, byte 2 = common-parameter
// address, byte 3 = an extra action / offset byte, then the 128-byte SysEx
// buffer (zero-padded or truncated). The three decoders run on that buffer
// with every action, for the input's (index, group, address) and for the
// header's own bytes 8 and 9, writing into targets surrounded by guard bytes;
// the encoders run on hostile records, texts and values cut from the same
// bytes. Any change outside a target, any change to the input buffer, a refused
// answer that changed its target, or an encoded message that does not decode
// back, aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cross_functions.h"

// The codec is compiled into this translation unit so that it carries the
// fuzzer's coverage and the sanitizers' instrumentation: the cross_functions
// library of a CVQ9_FUZZ build is built without them. Its definitions take the
// place of the library's, whose archive member is then never linked in.
#include "cross_functions.cpp"

namespace {

constexpr size_t kParams = 4;
constexpr size_t kGuard = 16;
constexpr uint8_t kGuardByte = 0xA5;

void Check(bool ok)
{
    if (!ok)
        abort();
}

bool AllAre(const uint8_t *p, size_t n, uint8_t v)
{
    for (size_t i = 0; i < n; i++)
        if (p[i] != v)
            return false;
    return true;
}

// A target of N bytes with guard bytes on both sides.
template <size_t N>
struct Guarded {
    uint8_t pre[kGuard];
    uint8_t body[N];
    uint8_t post[kGuard];
    explicit Guarded(uint8_t fill)
    {
        memset(pre, kGuardByte, sizeof pre);
        memset(body, fill, sizeof body);
        memset(post, kGuardByte, sizeof post);
    }
    bool GuardsIntact() const { return AllAre(pre, kGuard, kGuardByte) && AllAre(post, kGuard, kGuardByte); }
};

struct GuardedRecord {
    uint8_t pre[kGuard];
    All_Params rec;
    uint8_t post[kGuard];
    explicit GuardedRecord(const All_Params &init)
    {
        memset(pre, kGuardByte, sizeof pre);
        rec = init;
        memset(post, kGuardByte, sizeof post);
    }
    bool GuardsIntact() const { return AllAre(pre, kGuard, kGuardByte) && AllAre(post, kGuard, kGuardByte); }
};
static_assert(sizeof(GuardedRecord) == 2 * kGuard + 32, "no padding around the record");

// Bytes of a common-parameter answer's data the decoder stores for `address`.
size_t CommonTargetSize(uint8_t address)
{
    if (address == COMMON_PARAM_GROUP_NAME)
        return GROUP_NAME_LENGHT + 1u;
    if (address == COMMON_PARAM_TEMPO)
        return 1u;
    return Get_Common_Param_Data_Lenght(address);
}

// ---- decoders -------------------------------------------------------------------

void FuzzMidiDecoder(const uint8_t *sysex, const All_Params &init, uint8_t index, uint8_t group, uint8_t action)
{
    GuardedRecord target(init);
    const uint8_t r = Cvq9_Sysex_To_Midi_Assign(action, &target.rec, sysex, index, group);
    Check(target.GuardsIntact());
    const bool changed = memcmp(&target.rec, &init, sizeof init) != 0;
    if (action == 1) {
        Check(r == 0 || r == SYSEX_REFUSED || r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED);
        Check(!changed);
        return;
    }
    if (r == SYSEX_REFUSED || r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED || r == SYSEX_NO_ANSWER) {
        Check(r != SYSEX_REFUSED && r != SYSEX_NO_ANSWER);  // data decoders never give these
        Check(!changed);
        return;
    }
    // accepted data answer
    Check(r == sysex[7] + 12u);
    Check(sysex[7] != 0 && sysex[7] <= 0x7F);
    Check(target.rec.midi_str_lenght <= MIDI_STRING_MAX_LENGHT);
    // string bytes beyond the decoded length keep the old contents
    const uint8_t len = target.rec.midi_str_lenght;
    Check(memcmp(target.rec.midi_string + len, init.midi_string + len, MIDI_STRING_MAX_LENGHT - len) == 0);
}

void FuzzLcdDecoder(const uint8_t *sysex, uint8_t fill, uint8_t index, uint8_t group, uint8_t action)
{
    Guarded<LCD_STRING_LENGHT + 1u> target(fill);
    uint8_t before[LCD_STRING_LENGHT + 1u];
    memcpy(before, target.body, sizeof before);
    const uint8_t r = Cvq9_Sysex_To_Lcd_Assign(action, target.body, sysex, index, group);
    Check(target.GuardsIntact());
    const bool changed = memcmp(before, target.body, sizeof before) != 0;
    if (action == 2 || r != 2u * LCD_STRING_LENGHT + 12u) {
        Check(!changed);
        if (action == 2)
            Check(r == 0 || r == SYSEX_REFUSED || r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED);
        else
            Check(r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED);
        return;
    }
    Check(target.body[LCD_STRING_LENGHT] == 0);
}

void FuzzCommonDecoder(const uint8_t *sysex, uint8_t fill, uint8_t address, uint8_t group)
{
    Guarded<64> target(fill);
    uint8_t before[64];
    memcpy(before, target.body, sizeof before);
    const uint8_t r = Cvq9_Sysex_To_Common_Param(address, target.body, sysex, group);
    Check(target.GuardsIntact());
    const size_t size = CommonTargetSize(address);
    Check(memcmp(before + size, target.body + size, 64 - size) == 0);  // nothing beyond the item
    if (r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED) {
        Check(memcmp(before, target.body, sizeof before) == 0);
        return;
    }
    Check(r == Get_Common_Param_Data_Lenght(address) + 12u);
    if (address == COMMON_PARAM_GROUP_NAME)
        Check(target.body[GROUP_NAME_LENGHT] == 0);
}

// ---- encoders -------------------------------------------------------------------

void FuzzMidiEncoder(const All_Params &rec, uint8_t index, uint8_t group, uint8_t action)
{
    const All_Params copy = rec;
    Guarded<SYSEX_BUFFER_SIZE> out(0x5A);
    const uint8_t r = Cvq9_Midi_Assign_To_Sysex(action, &rec, out.body, index, group);
    Check(out.GuardsIntact());
    Check(memcmp(&copy, &rec, sizeof rec) == 0);
    if (r == SYSEX_INVALID_REQUEST) {
        Check(AllAre(out.body, SYSEX_BUFFER_SIZE, 0x5A) || AllAre(out.body, SYSEX_BUFFER_SIZE, 0));
        return;
    }
    Check(r >= 11 && r <= 76 && out.body[r - 1] == SYSEX_END);
    Check(AllAre(out.body + r, SYSEX_BUFFER_SIZE - r, 0));
    if (action == ACTION_READ_REQUEST) {
        Check(r == 11);
        return;
    }
    Check(rec.midi_str_lenght <= MIDI_STRING_MAX_LENGHT && r == 2 * (11 + rec.midi_str_lenght) + 12);
    // the controller's answer decodes back to the record
    out.body[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | SYSEX_KIND_MIDI);
    All_Params back;
    memset(&back, 0, sizeof back);
    Check(Cvq9_Sysex_To_Midi_Assign(3, &back, out.body, index, group) == r);
    Check(memcmp(&back, &rec, 11 + rec.midi_str_lenght) == 0);
}

void FuzzLcdEncoder(const uint8_t *text16, uint8_t index, uint8_t group, uint8_t action)
{
    // exactly 16 bytes on the heap, not NUL-terminated: ASan catches any read past them
    uint8_t *text = new uint8_t[LCD_STRING_LENGHT];
    memcpy(text, text16, LCD_STRING_LENGHT);
    Guarded<SYSEX_BUFFER_SIZE> out(0x5A);
    const uint8_t r = Cvq9_Lcd_Assign_To_Sysex(action, text, out.body, index, group);
    Check(out.GuardsIntact());
    Check(memcmp(text, text16, LCD_STRING_LENGHT) == 0);
    if (r != SYSEX_INVALID_REQUEST) {
        Check(r == (action == ACTION_READ_REQUEST ? 11 : 44) && out.body[r - 1] == SYSEX_END);
        if (action != ACTION_READ_REQUEST) {
            out.body[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | SYSEX_KIND_LCD);
            uint8_t back[LCD_STRING_LENGHT + 1];
            Check(Cvq9_Sysex_To_Lcd_Assign(4, back, out.body, index, group) == 44);
            size_t n = 0;
            while (n < LCD_STRING_LENGHT && text[n] != 0) {
                Check(back[n] == text[n]);
                n++;
            }
            for (; n < LCD_STRING_LENGHT; n++)
                Check(back[n] == ' ');
        }
    }
    delete[] text;
}

void FuzzCommonEncoder(const uint8_t *bytes64, uint8_t address, uint8_t group, uint8_t action)
{
    const size_t size = CommonTargetSize(address);
    uint8_t *values = new uint8_t[size];  // exactly the item: ASan catches any access past it
    memcpy(values, bytes64, size);
    Guarded<SYSEX_BUFFER_SIZE> out(0x5A);
    const uint8_t r = Cvq9_Common_Param_To_Sysex(action, address, values, out.body, group);
    Check(out.GuardsIntact());
    if (address != COMMON_PARAM_GROUP_NAME || action == ACTION_READ_REQUEST)
        Check(memcmp(values, bytes64, size) == 0);
    if (r != SYSEX_INVALID_REQUEST) {
        const uint8_t len = Get_Common_Param_Data_Lenght(address);
        Check(r == (action == ACTION_READ_REQUEST ? 11 : len + 11u) && out.body[r - 1] == SYSEX_END);
        if (action != ACTION_READ_REQUEST) {
            out.body[6] = SYSEX_ANSWER_BIT;
            uint8_t back[64];
            Check(Cvq9_Sysex_To_Common_Param(address, back, out.body, group) == len + 12u);
            Check(memcmp(back, values, size) == 0);
        }
    }
    delete[] values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t params[kParams] = {};
    memcpy(params, data, size < kParams ? size : kParams);
    const uint8_t index = params[0], group = params[1], address = params[2], extra = params[3];

    // the 128-byte buffer, exactly sized on the heap
    uint8_t *sysex = new uint8_t[SYSEX_BUFFER_SIZE];
    memset(sysex, 0, SYSEX_BUFFER_SIZE);
    if (size > kParams) {
        const size_t n = size - kParams;
        memcpy(sysex, data + kParams, n < SYSEX_BUFFER_SIZE ? n : SYSEX_BUFFER_SIZE);
    }
    uint8_t original[SYSEX_BUFFER_SIZE];
    memcpy(original, sysex, sizeof original);

    // a starting record for the MIDI decoder: any bytes
    All_Params init;
    memcpy(&init, sysex + (extra % (SYSEX_BUFFER_SIZE - sizeof init + 1)), sizeof init);

    const uint8_t actions[] = {0, 1, 2, 3, 4, extra};
    const uint8_t addr_pairs[2][2] = {{index, group}, {sysex[8], sysex[9]}};
    for (const auto &ig : addr_pairs) {
        for (uint8_t action : actions) {
            FuzzMidiDecoder(sysex, init, ig[0], ig[1], action);
            FuzzLcdDecoder(sysex, extra, ig[0], ig[1], action);
        }
        FuzzCommonDecoder(sysex, extra, address, ig[1]);
        FuzzCommonDecoder(sysex, extra, ig[0], ig[1]);
    }
    Check(memcmp(original, sysex, sizeof original) == 0);  // decoders never write their input

    // encoders on hostile records, texts and values cut from the input bytes
    All_Params hostile = init;
    All_Params warned = init;  // steered to CheckMidiStruct's warning 3 path
    warned.ctrl_status_1 = static_cast<uint8_t>(warned.ctrl_status_1 & ~0x03u);
    warned.ctrl_status_2 = static_cast<uint8_t>(warned.ctrl_status_2 & ~0x10u);
    warned.midi_str_lenght = static_cast<uint8_t>(warned.midi_str_lenght | 0x0B);
    const uint8_t *text16 = sysex + (extra % (SYSEX_BUFFER_SIZE - LCD_STRING_LENGHT + 1));
    const uint8_t *bytes64 = sysex + (extra % (SYSEX_BUFFER_SIZE - 64 + 1));
    for (const auto &ig : addr_pairs) {
        const uint8_t encoder_actions[] = {0, 1, 2, extra};
        for (uint8_t action : encoder_actions) {
            FuzzMidiEncoder(hostile, ig[0], ig[1], action);
            FuzzMidiEncoder(warned, ig[0], ig[1], action);
            FuzzLcdEncoder(text16, ig[0], ig[1], action);
            FuzzCommonEncoder(bytes64, address, ig[1], action);
            FuzzCommonEncoder(bytes64, ig[0], ig[1], action);
        }
    }

    delete[] sysex;
    return 0;
}
