// libFuzzer target for the SysEx file import: arbitrary bytes are imported
// into the default configuration. The import must stay inside the buffer (the
// sanitizers watch it), count at most one message per 0xF0, change nothing
// when it applied nothing, and leave only what the export can send again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "library_file.h"
#include "record_access.h"
#include "sysex_file.h"

namespace {

// Every table the import may write, texts as they are held (not as a file stores them).
std::vector<Q9Text> Tables()
{
    const std::vector<uint8_t> image = BuildLibraryImage();
    std::vector<Q9Text> tables(1, Q9Text(image.begin(), image.end()));
    tables.insert(tables.end(), mygroupnames, mygroupnames + GROUP_NB);
    for (const auto &group : mylcdstring)
        tables.insert(tables.end(), group, group + CONTROLS_PER_GROUP);
    return tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool initialised = false;
    if (!initialised) {
        ResetConfiguration(1);
        initialised = true;
    }
    const std::vector<Q9Text> before = Tables();
    const SysexImportCounts counts = ImportSysexBytes(size ? data : nullptr, size);
    const size_t starts = size ? static_cast<size_t>(std::count(data, data + size, 0xF0)) : 0;
    Check(counts.applied + counts.refused + counts.skipped <= starts);
    if (counts.applied == 0)
        Check(Tables() == before);
    else
        Check(BuildSysexExport(1.6f).refused == SysexExport::Refused::Nothing);
    return 0;
}
