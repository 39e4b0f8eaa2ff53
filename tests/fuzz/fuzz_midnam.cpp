// libFuzzer target for the MIDI name document reader, on arbitrary bytes held
// in a heap block of exactly their size (ASan catches any read past it): a
// refused document gives no gear, and every gear given goes into a preset
// library that reads back whole, each parameter within the library's rules.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "midnam.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    bytes.shrink_to_fit();
    const MidnamConversion m = ConvertMidnam(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    if (!m.error.empty() && !m.gear.empty())
        std::abort();
    for (const PresetGear &g : m.gear) {
        if (!PresetNameProblem(g.name, "gear").empty() || g.params.empty())
            std::abort();
        for (const PresetParameter &p : g.params)
            if (!PresetParameterProblem(p).empty())
                std::abort();
    }
    std::vector<StoredGear> stored;
    if (!SplitPresetImage(BuildPresetImage(m.gear), stored) || stored.size() != m.gear.size())
        std::abort();
    return 0;
}
