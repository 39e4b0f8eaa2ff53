// libFuzzer target for the MIDI name document reader, on arbitrary bytes held
// in a heap block of exactly their size (ASan catches any read past it): a
// refused document gives no gear, and every gear given goes into a preset
// library that reads back whole, each parameter within the library's rules.
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "midnam.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    bytes.shrink_to_fit();
    const MidnamConversion m = ConvertMidnam(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    Check(m.error.empty() || m.gear.empty());
    for (const PresetGear &g : m.gear) {
        Check(PresetNameProblem(g.name, "gear").empty() && !g.params.empty());
        for (const PresetParameter &p : g.params)
            Check(PresetParameterProblem(p).empty());
    }
    std::vector<StoredGear> stored;
    Check(SplitPresetImage(BuildPresetImage(m.gear), stored) && stored.size() == m.gear.size());
    return 0;
}
