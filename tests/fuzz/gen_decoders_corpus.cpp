// Writes the seed files of fuzz_decoders into the folder given as argument
// (tests/fuzz/corpus/decoders/). Not part of the build; run by hand:
//   g++ -std=c++17 -I firmware/common_z8_ez tests/fuzz/gen_decoders_corpus.cpp
//       firmware/common_z8_ez/cross_functions.cpp -o /tmp/gen
//   /tmp/gen tests/fuzz/corpus/decoders
// Each seed is index, group, address, extra, then the 128-byte buffer: valid
// answers built with the encoders and turned into the controller's answers.
#include <cstdio>
#include <cstring>
#include <string>

#include "cross_functions.h"

namespace {

std::string g_dir;

void Write(const char *name, uint8_t index, uint8_t group, uint8_t address, uint8_t extra, const uint8_t *sysex)
{
    const std::string path = g_dir + "/" + name;
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return;
    }
    const uint8_t params[4] = {index, group, address, extra};
    std::fwrite(params, 1, sizeof params, f);
    std::fwrite(sysex, 1, SYSEX_BUFFER_SIZE, f);
    std::fclose(f);
}

void Answer(uint8_t *sysex)
{
    sysex[6] = static_cast<uint8_t>(SYSEX_ANSWER_BIT | (sysex[6] & SYSEX_KIND_MASK));
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    g_dir = argv[1];
    uint8_t sysex[SYSEX_BUFFER_SIZE];

    All_Params rec;
    std::memset(&rec, 0, sizeof rec);
    InitMidiStruct(&rec, 0, 5, 1);
    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, 5, 0);
    Answer(sysex);
    Write("midi_default_g0_i5", 5, 0, 0, 0, sysex);

    InitMidiStruct(&rec, 20, 66, 1);
    rec.midi_str_lenght = 21;
    rec.ctrl_status_1 = 0x9D;
    for (unsigned i = 3; i < 21; i++)
        rec.midi_string[i] = static_cast<uint8_t>(0x70 + i);
    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, 66, 20);
    Answer(sysex);
    Write("midi_len21_g20_i66", 66, 20, 0, 7, sysex);

    std::memset(&rec, 0, sizeof rec);
    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_NO_ACK, &rec, sysex, 2, 0);
    Answer(sysex);
    Write("midi_undefined_transport2", 2, 0, 0, 3, sysex);

    std::memset(sysex, 0, sizeof sysex);
    Fill_Sysex_Header(sysex, 0x5B, 0, 12, 4);
    sysex[10] = SYSEX_END;
    Write("midi_ack_ok", 12, 4, 0, 1, sysex);

    const uint8_t text[] = "ABC";
    Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, sysex, 5, 0);
    Answer(sysex);
    Write("lcd_abc", 5, 0, 0, 4, sysex);

    std::memset(sysex, 0, sizeof sysex);
    Fill_Sysex_Header(sysex, 0x49, 0, 30, 9);  // refused LCD write
    sysex[10] = SYSEX_END;
    Write("lcd_ack_refused", 30, 9, 0, 2, sysex);

    uint8_t tempo[1] = {100};
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_TEMPO, tempo, sysex, 0);
    Answer(sysex);
    Write("common_tempo", 0, 0, COMMON_PARAM_TEMPO, 0, sysex);

    uint8_t name[15];
    std::snprintf(reinterpret_cast<char *>(name), sizeof name, "   Group %02d   ", 3);
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_GROUP_NAME, name, sysex, 3);
    Answer(sysex);
    Write("common_group_name", 0, 3, COMMON_PARAM_GROUP_NAME, 0, sysex);

    uint8_t curve[128];
    InitUserCurves(curve, 1);
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_CURVE1_HIGH, curve + 64, sysex, 0);
    Answer(sysex);
    Write("common_curve1_high", 0, 0, COMMON_PARAM_CURVE1_HIGH, 10, sysex);

    std::memset(sysex, 0, sizeof sysex);
    Fill_Sysex_Header(sysex, 0x70, 11, COMMON_PARAM_IDENTITY, 0);
    const uint8_t identity[11] = {1, 6, 2, 0, 0x12, 0x34, 0x56, 0x78, 0x01, 0x02, 0x03};
    std::memcpy(sysex + 10, identity, sizeof identity);
    sysex[21] = SYSEX_END;
    Write("common_identity", 0, 0, COMMON_PARAM_IDENTITY, 0, sysex);

    // a MIDI answer whose decoded length (22) is out of range
    InitMidiStruct(&rec, 0, 5, 1);
    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &rec, sysex, 5, 0);
    Answer(sysex);
    sysex[16] = 0x01;
    sysex[17] = 0x06;
    Write("midi_len22_refused", 5, 0, 0, 0, sysex);
    return 0;
}
