// libFuzzer target for the preset file reader, on arbitrary bytes held in a
// heap block of exactly their size (ASan catches any read past it): every gear
// and every parameter of each are listed, and every parameter converted into a
// record whose MIDI string and LCD text are within their bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "libconv.h"

namespace {

char gears[PRESET_MAX_GEAR][PRESET_GEAR_ROW];
char params[PRESET_MAX_PARAMS][PRESET_PARAM_ROW];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SetPresetMessageReporter([](const std::string &, const std::string &) {});
    ReleasePresetLibrary();
    if (size > 0) {
        Libfiledata = static_cast<uint8_t *>(std::malloc(size));
        std::memcpy(Libfiledata, data, size);
        presetfiledatalength = size;
    }
    unsigned budget = 2000;  // every conversion walks the file again: the work per input is bounded
    const int gear_count = FillLibTab(gears, PRESET_MAX_GEAR);
    for (int g = 0; g < gear_count && budget > 0; ++g) {
        const int param_count = FillCtrlTab(gears[g], params, PRESET_MAX_PARAMS);
        for (int p = 0; p < param_count && budget > 0; ++p, --budget) {
            char name[PRESET_PARAM_ROW + 1] = {};
            std::memcpy(name, params[p], PRESET_PARAM_ROW);
            All_Params record;
            std::memset(&record, 0xA5, sizeof record);
            Q9Text lcd;
            Check(GetKnob(gears[g], name, &record, &lcd) != 1 ||
                  (record.midi_str_lenght <= MIDI_STRING_MAX_LENGHT && lcd.size() <= PRESET_LCD_MAX));
        }
    }
    ReleasePresetLibrary();
    return 0;
}
