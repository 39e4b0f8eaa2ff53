// libFuzzer target for the legacy library import, on arbitrary bytes read as
// a ".cvl" text. It writes only group controls of groups 0..20, at most 147,
// each checked with the selection set on it, its MIDI string within bounds
// and its LCD text stored with one trailing NUL; entries it does not write,
// the transport records and the MIDI bytes beyond each written length stay as
// they were (a refused or skipped line changes nothing); afterwards the
// default names, common parameters and identity curves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "config_tables.h"
#include "fuzz_check.h"
#include "legacy_import.h"
#include "record_access.h"

namespace {

All_Params before_control[GROUP_NB][CONTROLS_PER_GROUP];
All_Params before_transport[TRANSPORT_NB];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ResetConfiguration(1);
    // Recognisable contents everywhere, so that a stray write shows.
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c)
            std::memset(&before_control[g][c], static_cast<int>((g * 7 + c) & 0xFF), sizeof(All_Params));
    std::memset(before_transport, 0x5A, sizeof before_transport);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::memcpy(mycontrol, before_control, sizeof mycontrol);
    std::memcpy(mytransport, before_transport, sizeof mytransport);
    for (auto &group : mylcdstring)
        for (Q9Text &text : group)
            text = L"before";
    uint8_t longest[GROUP_NB][CONTROLS_PER_GROUP] = {};  // 0: not written; else 1 + the longest MIDI string
    unsigned calls = 0;

    const LegacyImportResult result =
        ImportCvProText(size ? data : nullptr, size, [&](uint8_t g, uint8_t c) -> uint8_t {
            Check(g < GROUP_NB && c >= FIRST_GROUP_CONTROL && c <= LAST_CONTROL_INDEX);
            Check(CurrentGroup == g && ControlIndex == c);
            ++calls;
            const All_Params &record = mycontrol[g][c];
            Check(record.midi_str_lenght <= MIDI_STRING_MAX_LENGHT);
            longest[g][c] = std::max<uint8_t>(longest[g][c], static_cast<uint8_t>(record.midi_str_lenght + 1));
            const Q9Text &lcd = mylcdstring[g][c];
            Check(!lcd.empty() && lcd.size() <= LCD_STRING_LENGHT + 1 && lcd.back() == L'\0');
            const uint8_t code = CheckMidiStruct(&record, c);
            return code > 4 ? code : 0;
        });

    Check(calls == result.entries_imported && calls <= LEGACY_MAX_CONTROL_LINES);
    Check(result.status == 0 || result.status > 4);
    Check(std::memcmp(mytransport, before_transport, sizeof mytransport) == 0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            const unsigned from = longest[g][c] ? longest[g][c] - 1u : 0u;
            Check(std::memcmp(mycontrol[g][c].midi_string + from, before_control[g][c].midi_string + from,
                              MIDI_STRING_MAX_LENGHT - from) == 0);
            Check(longest[g][c] || (std::memcmp(&mycontrol[g][c], &before_control[g][c], sizeof(All_Params)) == 0 &&
                                    mylcdstring[g][c] == L"before"));
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
