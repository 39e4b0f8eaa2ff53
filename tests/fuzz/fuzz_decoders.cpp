// libFuzzer target for the codec shared with the firmware. Input: index, group,
// common-parameter address, an extra byte (action, offset), then the 128-byte
// SysEx buffer; the seeds are valid answers. Decoders, with any action, write
// nothing outside their target nor into their input, leave the target as it
// was when they refuse, and store only the item they report. Encoders, on any
// record, text or values, write nothing outside the buffer nor into their
// input, end the message with F7, and its answer decodes back to their input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "cross_functions.h"
#include "fuzz_check.h"

// Compiled in here to carry the fuzzer's and sanitizers' instrumentation, which
// the cross_functions library of a fuzz build lacks; its member is never linked.
#include "cross_functions.cpp"

namespace {

constexpr size_t kGuard = 16;
constexpr uint8_t kGuardByte = 0xA5, kUnwritten = 0x5A;

bool AllAre(const uint8_t *p, size_t n, uint8_t v)
{
    return std::count(p, p + n, v) == static_cast<std::ptrdiff_t>(n);
}

// A target of N bytes between guard bytes; `before` keeps its first contents
// (`init`, or kUnwritten bytes).
template <size_t N>
struct Guarded {
    uint8_t pre[kGuard];
    uint8_t body[N];
    uint8_t post[kGuard];
    uint8_t before[N];
    explicit Guarded(const uint8_t *init = nullptr)
    {
        memset(pre, kGuardByte, kGuard);
        memset(post, kGuardByte, kGuard);
        init ? memcpy(body, init, N) : memset(body, kUnwritten, N);
        memcpy(before, body, N);
    }
    All_Params *Record() { return reinterpret_cast<All_Params *>(body); }
    bool Unchanged(size_t from = 0) const { return memcmp(body + from, before + from, N - from) == 0; }
    void CheckGuards() const { Check(AllAre(pre, kGuard, kGuardByte) && AllAre(post, kGuard, kGuardByte)); }
};

bool Refused(uint8_t r)
{
    return r == SYSEX_REFUSED || r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED;
}

// Bytes of a common-parameter answer's data the decoder stores for `address`.
size_t CommonTargetSize(uint8_t address)
{
    return address == COMMON_PARAM_GROUP_NAME ? GROUP_NAME_LENGHT + 1u
           : address == COMMON_PARAM_TEMPO    ? 1u
                                              : Get_Common_Param_Data_Lenght(address);
}

// An acknowledgement (MIDI action 1, LCD action 2) gives 0 or a refusal; a data
// answer its length or a refusal, never "refused" itself. Refused, nothing changes.
void MidiDecoder(const uint8_t *sysex, const uint8_t *init, uint8_t index, uint8_t group, uint8_t action)
{
    Guarded<sizeof(All_Params)> t(init);
    const uint8_t r = Cvq9_Sysex_To_Midi_Assign(action, t.Record(), sysex, index, group);
    t.CheckGuards();
    const uint8_t len = t.Record()->midi_str_lenght;
    if (action == 1 || Refused(r))
        Check(t.Unchanged() && (action == 1 ? r == 0 || Refused(r) : r != SYSEX_REFUSED));
    else  // the string beyond its decoded length keeps the old bytes
        Check(r == sysex[7] + 12u && sysex[7] != 0 && sysex[7] <= 0x7F && len <= MIDI_STRING_MAX_LENGHT &&
              t.Unchanged(offsetof(All_Params, midi_string) + len));
}

void LcdDecoder(const uint8_t *sysex, const uint8_t *init, uint8_t index, uint8_t group, uint8_t action)
{
    Guarded<LCD_STRING_LENGHT + 1u> t(init);
    const uint8_t r = Cvq9_Sysex_To_Lcd_Assign(action, t.body, sysex, index, group);
    t.CheckGuards();
    if (action == 2 || r != 2u * LCD_STRING_LENGHT + 12u)
        Check(t.Unchanged() && (action == 2 ? r == 0 || Refused(r) : Refused(r) && r != SYSEX_REFUSED));
    else
        Check(t.body[LCD_STRING_LENGHT] == 0);
}

void CommonDecoder(const uint8_t *sysex, const uint8_t *init, uint8_t address, uint8_t group)
{
    Guarded<64> t(init);
    const uint8_t r = Cvq9_Sysex_To_Common_Param(address, t.body, sysex, group);
    t.CheckGuards();
    const bool refused = r == SYSEX_INVALID_REQUEST || r == SYSEX_MALFORMED;
    Check(t.Unchanged(refused ? 0 : CommonTargetSize(address)));
    Check(refused || (r == Get_Common_Param_Data_Lenght(address) + 12u &&
                      (address != COMMON_PARAM_GROUP_NAME || t.body[GROUP_NAME_LENGHT] == 0)));
}

using Message = Guarded<SYSEX_BUFFER_SIZE>;

// Checks what an encoder wrote: nothing outside the buffer; a refused MIDI record leaves it as it was or
// cleared; otherwise `expected` bytes ending with F7, for a MIDI record then zeros. For a write, turns the
// message into the controller's answer and returns it.
const uint8_t *Answer(Message &out, uint8_t r, unsigned expected, uint8_t action, uint8_t kind)
{
    out.CheckGuards();
    if (r == SYSEX_INVALID_REQUEST) {
        Check(kind != SYSEX_KIND_MIDI || out.Unchanged() || AllAre(out.body, SYSEX_BUFFER_SIZE, 0));
        return nullptr;
    }
    Check(r == expected && out.body[r - 1] == SYSEX_END);
    Check(kind != SYSEX_KIND_MIDI || AllAre(out.body + r, SYSEX_BUFFER_SIZE - r, 0));
    out.body[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | kind);
    return action == ACTION_READ_REQUEST ? nullptr : out.body;
}

void MidiEncoder(const All_Params &rec, uint8_t index, uint8_t group, uint8_t action)
{
    Message out;
    const uint8_t r = Cvq9_Midi_Assign_To_Sysex(action, &rec, out.body, index, group);
    const uint8_t len = rec.midi_str_lenght;
    Check(r == SYSEX_INVALID_REQUEST || action == ACTION_READ_REQUEST || len <= MIDI_STRING_MAX_LENGHT);
    const uint8_t *answer =
        Answer(out, r, action == ACTION_READ_REQUEST ? 11 : 2 * (11 + len) + 12, action, SYSEX_KIND_MIDI);
    All_Params back = {};
    Check(!answer ||
          (Cvq9_Sysex_To_Midi_Assign(3, &back, answer, index, group) == r && memcmp(&back, &rec, 11 + len) == 0));
}

void LcdEncoder(const uint8_t *text16, uint8_t index, uint8_t group, uint8_t action)
{
    // exactly 16 bytes on the heap, not NUL-terminated: ASan catches any read past them
    const std::vector<uint8_t> text(text16, text16 + LCD_STRING_LENGHT);
    Message out;
    const uint8_t r = Cvq9_Lcd_Assign_To_Sysex(action, text.data(), out.body, index, group);
    Check(memcmp(text.data(), text16, LCD_STRING_LENGHT) == 0);
    const uint8_t *answer = Answer(out, r, action == ACTION_READ_REQUEST ? 11 : 44, action, SYSEX_KIND_LCD);
    uint8_t back[LCD_STRING_LENGHT + 1];
    const size_t n = strnlen(reinterpret_cast<const char *>(text16), LCD_STRING_LENGHT);
    Check(!answer || (Cvq9_Sysex_To_Lcd_Assign(4, back, answer, index, group) == 44 && memcmp(back, text16, n) == 0 &&
                      AllAre(back + n, LCD_STRING_LENGHT - n, ' ')));  // the text up to its NUL, then spaces
}

void CommonEncoder(const uint8_t *bytes64, uint8_t address, uint8_t group, uint8_t action)
{
    std::vector<uint8_t> values(bytes64, bytes64 + CommonTargetSize(address));  // exactly the item, on the heap
    Message out;
    const uint8_t r = Cvq9_Common_Param_To_Sysex(action, address, values.data(), out.body, group);
    // a group name to write is padded in place; nothing else is written
    Check((address == COMMON_PARAM_GROUP_NAME && action != ACTION_READ_REQUEST) ||
          memcmp(values.data(), bytes64, values.size()) == 0);
    const uint8_t len = Get_Common_Param_Data_Lenght(address);
    const uint8_t *answer = Answer(out, r, action == ACTION_READ_REQUEST ? 11 : len + 11u, action, SYSEX_KIND_COMMON);
    uint8_t back[64];
    Check(!answer || (Cvq9_Sysex_To_Common_Param(address, back, answer, group) == len + 12u &&
                      memcmp(back, values.data(), values.size()) == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t params[4] = {};
    memcpy(params, data, std::min<size_t>(size, 4));
    const uint8_t index = params[0], group = params[1], address = params[2], extra = params[3];
    std::vector<uint8_t> buffer(SYSEX_BUFFER_SIZE);  // exactly sized on the heap
    if (size > 4)
        memcpy(buffer.data(), data + 4, std::min<size_t>(size - 4, SYSEX_BUFFER_SIZE));
    const std::vector<uint8_t> original = buffer;
    const uint8_t *sysex = buffer.data();

    // starting targets, records, texts and values cut from the input bytes
    const uint8_t *init = sysex + extra % (SYSEX_BUFFER_SIZE - 64 + 1);
    All_Params warned;  // steered to CheckMidiStruct's warning 3 path
    memcpy(&warned, init, sizeof warned);
    warned.ctrl_status_1 = static_cast<uint8_t>(warned.ctrl_status_1 & ~0x03u);
    warned.ctrl_status_2 = static_cast<uint8_t>(warned.ctrl_status_2 & ~0x10u);
    warned.midi_str_lenght = static_cast<uint8_t>(warned.midi_str_lenght | 0x0B);

    for (const auto &ig : {std::pair<uint8_t, uint8_t>{index, group}, {sysex[8], sysex[9]}}) {
        CommonDecoder(sysex, init, address, ig.second);
        CommonDecoder(sysex, init, ig.first, ig.second);
        for (uint8_t action : {uint8_t{0}, uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}, extra}) {
            MidiDecoder(sysex, init, ig.first, ig.second, action);
            LcdDecoder(sysex, init, ig.first, ig.second, action);
            MidiEncoder(*reinterpret_cast<const All_Params *>(init), ig.first, ig.second, action);
            MidiEncoder(warned, ig.first, ig.second, action);
            LcdEncoder(init, ig.first, ig.second, action);
            CommonEncoder(init, address, ig.second, action);
            CommonEncoder(init, ig.first, ig.second, action);
        }
    }
    Check(buffer == original);  // nothing writes the input
    return 0;
}
