// libFuzzer target for the legacy library import: arbitrary bytes are read
// as a ".cvl" text. Every entry it writes must be a group control of groups
// 0..20 (the check is called for it with the selection set on it); entries
// it does not write, the transport records and the MIDI bytes beyond each
// written length must stay as they were; at most 147 entries; every LCD text
// stored with one trailing NUL; afterwards the default names, common
// parameters and identity curves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "config_tables.h"
#include "legacy_import.h"
#include "record_access.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        abort();
}

All_Params before_control[GROUP_NB][CONTROLS_PER_GROUP];
All_Params before_transport[TRANSPORT_NB];
Q9Text before_lcd[GROUP_NB][CONTROLS_PER_GROUP];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool initialised = false;
    if (!initialised) {
        ResetConfiguration(1);
        initialised = true;
    }
    // Recognisable contents everywhere, so that a stray write shows.
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            std::memset(&mycontrol[g][c], static_cast<int>((g * 7 + c) & 0xFF), sizeof(All_Params));
            mylcdstring[g][c] = L"before";
        }
    std::memset(mytransport, 0x5A, sizeof mytransport);
    std::memcpy(before_control, mycontrol, sizeof mycontrol);
    std::memcpy(before_transport, mytransport, sizeof mytransport);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c)
            before_lcd[g][c] = mylcdstring[g][c];

    static bool written[GROUP_NB][CONTROLS_PER_GROUP];
    static uint8_t longest[GROUP_NB][CONTROLS_PER_GROUP];
    std::memset(written, 0, sizeof written);
    std::memset(longest, 0, sizeof longest);
    unsigned calls = 0;

    const LegacyImportResult result =
        ImportCvProText(size ? data : nullptr, size, [&](uint8_t g, uint8_t c) -> uint8_t {
            Check(g < GROUP_NB && c >= FIRST_GROUP_CONTROL && c <= LAST_CONTROL_INDEX);
            Check(CurrentGroup == g && ControlIndex == c);
            ++calls;
            written[g][c] = true;
            const All_Params &record = mycontrol[g][c];
            Check(record.midi_str_lenght <= MIDI_STRING_MAX_LENGHT);
            if (record.midi_str_lenght > longest[g][c])
                longest[g][c] = record.midi_str_lenght;
            const Q9Text &lcd = mylcdstring[g][c];
            Check(!lcd.empty() && lcd.size() <= 17 && lcd.back() == L'\0');
            const uint8_t code = CheckMidiStruct(&record, c);
            return code > 4 ? code : 0;
        });

    Check(calls == result.entries_imported && calls <= LEGACY_MAX_CONTROL_LINES);
    Check(result.status == 0 || result.status > 4);
    Check(std::memcmp(mytransport, before_transport, sizeof mytransport) == 0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            if (!written[g][c]) {
                Check(std::memcmp(&mycontrol[g][c], &before_control[g][c], sizeof(All_Params)) == 0);
                Check(mylcdstring[g][c] == before_lcd[g][c]);
            } else {
                const uint8_t from = longest[g][c];
                Check(std::memcmp(mycontrol[g][c].midi_string + from, before_control[g][c].midi_string + from,
                                  MIDI_STRING_MAX_LENGHT - from) == 0);
            }
        }
    uint8_t defaults[COMMON_PARAMS_LENGHT];
    InitCommonParams(defaults, 1);
    Check(std::memcmp(common_params, defaults, sizeof defaults) == 0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        Check(mygroupnames[g] == DefaultGroupName(g));
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i)
        Check(user_curve_1[i] == i && user_curve_2[i] == i);
    return 0;
}
