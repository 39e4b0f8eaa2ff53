// Benchmark of the firmware-shared codec: encodes and decodes one whole
// configuration (5 transport and 1302 group records, 1302 LCD texts, 21 group
// names, every exchanged common parameter and both user curves), checks every
// record and text, verifies every round trip, and prints the mean time of one
// whole configuration over many repetitions (target: under 1 ms).
//   bench_codec [repetitions]     (default 2000)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cross_functions.h"

namespace {

constexpr unsigned kGroupControls = LAST_CONTROL_INDEX - FIRST_GROUP_CONTROL + 1;  // 62

struct Configuration {
    All_Params transport[TRANSPORT_NB];
    All_Params control[GROUP_NB][CONTROLS_PER_GROUP];
    uint8_t lcd[GROUP_NB][CONTROLS_PER_GROUP][LCD_STRING_LENGHT + 1];
    uint8_t names[GROUP_NB][GROUP_NAME_LENGHT + 1];
    uint8_t common[COMMON_PARAMS_LENGHT];
    uint8_t curve1[USER_CURVE_POINTS];
    uint8_t curve2[USER_CURVE_POINTS];
};

// A valid record with a string of `len` bytes (1..21): the default assignment
// stretched, with a MIDI delay so that long strings check as 0.
void MakeRecord(All_Params *r, uint8_t group, uint8_t index, uint8_t len)
{
    std::memset(r, 0, sizeof *r);
    InitMidiStruct(r, group, index, 1);
    r->midi_str_lenght = len;
    r->ctrl_status_1 = static_cast<uint8_t>(r->ctrl_status_1 | 0x01);
    for (unsigned i = 1; i < len; i++)
        r->midi_string[i] = static_cast<uint8_t>((index * 7 + i * 13) & 0x7F);
    r->midi_channel_position = 1;
    r->ctrl_value_position_0 = len > 1 ? len : 0;
    r->ctrl_value_position_1 = 0;
}

void Fill(Configuration &cfg)
{
    for (uint8_t t = 0; t < TRANSPORT_NB; t++)
        MakeRecord(&cfg.transport[t], 0, t, static_cast<uint8_t>(3 + t));
    for (uint8_t g = 0; g < GROUP_NB; g++) {
        for (uint8_t c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; c++) {
            MakeRecord(&cfg.control[g][c], g, c, static_cast<uint8_t>(1 + (g * 67u + c) % MIDI_STRING_MAX_LENGHT));
            InitLcdString(cfg.lcd[g][c], g, c, 1);
        }
        std::snprintf(reinterpret_cast<char *>(cfg.names[g]), sizeof cfg.names[g], "   Group %02d   ", g);
    }
    InitCommonParams(cfg.common, 1);
    InitUserCurves(cfg.curve1, 1);
    for (unsigned i = 0; i < USER_CURVE_POINTS; i++)
        cfg.curve2[i] = static_cast<uint8_t>(127 - i);
}

void Fail(const char *what, unsigned a, unsigned b)
{
    std::fprintf(stderr, "bench_codec: %s failed (%u, %u)\n", what, a, b);
    std::exit(1);
}

void ToAnswer(uint8_t *sysex)
{
    sysex[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | (sysex[6] & SYSEX_KIND_MASK));
}

// One record: check, encode a write, decode the answer, compare.
void RecordRoundTrip(const All_Params &rec, uint8_t index, uint8_t group, uint8_t *sysex)
{
    if (CheckMidiStruct(&rec, index) > 4)
        Fail("CheckMidiStruct", index, group);
    const uint8_t n = Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, index, group);
    if (n >= SYSEX_NO_ANSWER)
        Fail("MIDI encode", index, group);
    ToAnswer(sysex);
    All_Params back = rec;
    back.midi_str_lenght = 0;
    if (Cvq9_Sysex_To_Midi_Assign(3, &back, sysex, index, group) != n || std::memcmp(&back, &rec, sizeof rec) != 0)
        Fail("MIDI decode", index, group);
}

void LcdRoundTrip(const uint8_t *text, uint8_t index, uint8_t group, uint8_t *sysex)
{
    if (CheckLcdString(text) != 1)
        Fail("CheckLcdString", index, group);
    if (Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex, index, group) != 44)
        Fail("LCD encode", index, group);
    ToAnswer(sysex);
    uint8_t back[LCD_STRING_LENGHT + 1];
    if (Cvq9_Sysex_To_Lcd_Assign(4, back, sysex, index, group) != 44)
        Fail("LCD decode", index, group);
    bool ended = false;
    for (unsigned i = 0; i < LCD_STRING_LENGHT; i++) {
        ended = ended || text[i] == 0;
        if (back[i] != (ended ? ' ' : text[i]))
            Fail("LCD compare", index, group);
    }
}

void CommonRoundTrip(uint8_t address, uint8_t *values, uint8_t group, uint8_t *sysex)
{
    const uint8_t len = Get_Common_Param_Data_Lenght(address);
    if (Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, address, values, sysex, group) != len + 11u)
        Fail("common encode", address, group);
    ToAnswer(sysex);
    uint8_t back[64];
    if (Cvq9_Sysex_To_Common_Param(address, back, sysex, group) != len + 12u)
        Fail("common decode", address, group);
    const size_t size = address == COMMON_PARAM_GROUP_NAME ? GROUP_NAME_LENGHT + 1u
                        : address == COMMON_PARAM_TEMPO    ? 1u
                                                           : len;
    if (std::memcmp(back, values, size) != 0)
        Fail("common compare", address, group);
}

// Returns the number of messages built and decoded.
unsigned WholeConfiguration(Configuration &cfg, uint8_t *sysex)
{
    unsigned messages = 0;
    for (uint8_t t = 0; t < TRANSPORT_NB; t++, messages++)
        RecordRoundTrip(cfg.transport[t], t, 0, sysex);
    for (uint8_t g = 0; g < GROUP_NB; g++) {
        for (uint8_t c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; c++, messages += 2) {
            RecordRoundTrip(cfg.control[g][c], c, g, sysex);
            LcdRoundTrip(cfg.lcd[g][c], c, g, sysex);
        }
        CommonRoundTrip(COMMON_PARAM_GROUP_NAME, cfg.names[g], g, sysex);
        messages++;
    }
    static const uint8_t exchanged[] = {0, 1, 3, 4, 5, 11, 32, 33};
    for (uint8_t a : exchanged) {
        CommonRoundTrip(a, &cfg.common[a], 0, sysex);
        messages++;
    }
    CommonRoundTrip(COMMON_PARAM_CURVE1_LOW, cfg.curve1, 0, sysex);
    CommonRoundTrip(COMMON_PARAM_CURVE1_HIGH, cfg.curve1 + 64, 0, sysex);
    CommonRoundTrip(COMMON_PARAM_CURVE2_LOW, cfg.curve2, 0, sysex);
    CommonRoundTrip(COMMON_PARAM_CURVE2_HIGH, cfg.curve2 + 64, 0, sysex);
    return messages + 4;
}

}  // namespace

int main(int argc, char **argv)
{
    const long reps = argc > 1 ? std::atol(argv[1]) : 2000;
    if (reps <= 0) {
        std::fprintf(stderr, "usage: %s [repetitions]\n", argv[0]);
        return 2;
    }
    static Configuration cfg;
    Fill(cfg);
    uint8_t sysex[SYSEX_BUFFER_SIZE];

    const unsigned messages = WholeConfiguration(cfg, sysex);  // warm-up, and the count
    static_assert(kGroupControls == 62, "62 group controls");

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (long r = 0; r < reps; r++)
        WholeConfiguration(cfg, sysex);
    const auto stop = Clock::now();

    const double total_us = std::chrono::duration<double, std::micro>(stop - start).count();
    const double per_config_us = total_us / static_cast<double>(reps);
    std::printf("bench_codec: %u messages per configuration (%u records, %u LCD texts, %u names, 8 parameters, 4 curve "
                "halves)\n",
                messages, TRANSPORT_NB + GROUP_NB * kGroupControls, GROUP_NB * kGroupControls, GROUP_NB);
    std::printf("bench_codec: %ld repetitions, mean %.1f us per whole configuration (encode + decode + checks), "
                "%.1f ns per message\n",
                reps, per_config_us, per_config_us * 1000.0 / messages);
    std::printf("bench_codec: target under 1000 us: %s\n", per_config_us < 1000.0 ? "met" : "NOT met");
    return 0;
}
