// Time to list every gear and every parameter of the shipped preset library and
// to convert every parameter, as the editor does when the user browses it; and
// the time start-up spends reading it with the user's own library after it.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "libconv.h"
#include "user_presets.h"

namespace {

char gears[PRESET_MAX_GEAR][PRESET_GEAR_ROW];
char params[PRESET_MAX_PARAMS][PRESET_PARAM_ROW];

void Silent(const std::string &, const std::string &) {}

// One full pass; returns the number of parameters converted.
int Pass()
{
    int converted = 0;
    const int gear_count = FillLibTab(gears, PRESET_MAX_GEAR);
    for (int g = 0; g < gear_count; ++g) {
        const int param_count = FillCtrlTab(gears[g], params, PRESET_MAX_PARAMS);
        for (int p = 0; p < param_count; ++p) {
            char name[PRESET_PARAM_ROW + 1];
            std::memcpy(name, params[p], PRESET_PARAM_ROW);
            name[PRESET_PARAM_ROW] = '\0';
            All_Params record{};
            Q9Text lcd;
            converted += GetKnob(gears[g], name, &record, &lcd);
        }
    }
    return converted;
}

}  // namespace

int main()
{
    SetPresetMessageReporter(Silent);
    const char *path = CVQ9_BINARY_DIR "/hlvlib.xcq";
    if (RT_LoadFileInRam(path) == 0) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    const int loads = 200;
    const auto load_start = std::chrono::steady_clock::now();
    for (int i = 0; i < loads; ++i)
        if (RT_LoadFileInRam(path) == 0 || !LoadUserPresets(UserPresetsPath()))
            return 1;
    const double load_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - load_start).count() / loads;
    const int converted = Pass();  // warm-up, and the counts
    const int runs = 200;
    const auto start = std::chrono::steady_clock::now();
    int total = 0;
    for (int i = 0; i < runs; ++i)
        total += Pass();
    const auto end = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(end - start).count() / runs;
    std::printf("preset library: %llu bytes, %d parameters converted per pass\n",
                static_cast<unsigned long long>(presetfiledatalength), converted);
    std::printf("start-up read of the shipped and the user's library: mean %.3f ms over %d reads\n", load_ms, loads);
    std::printf("list all gear + all parameters + convert all: mean %.3f ms over %d passes (target < 20 ms)\n", ms,
                runs);
    ReleasePresetLibrary();
    return total == converted * runs ? 0 : 1;
}
