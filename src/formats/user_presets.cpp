#include "user_presets.h"

#include <algorithm>
#include <vector>

#include "bounded_read.h"
#include "libconv.h"
#include "midnam.h"
#include "preset_image.h"
#include "safe_file_writer.h"
#include "user_data_folder.h"

namespace {

const char kUserSuffix[] = " (user)";

enum class Read { Missing, Whole, Damaged };

// The user library's gear; a missing file has none.
Read ReadUserPresets(const std::string &path, std::vector<StoredGear> &gear)
{
    gear.clear();
    std::vector<uint8_t> bytes;
    const BoundedRead read = ReadFileBounded(path, USER_PRESETS_MAX_BYTES, bytes);
    if (read == BoundedRead::Missing)
        return Read::Missing;
    if (read != BoundedRead::Whole || !SplitPresetImage(bytes, gear))
        return Read::Damaged;
    return Read::Whole;
}

std::string Count(unsigned n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string UserPresetsPath()
{
    return UserDataFolder() + "/user_presets.xcq";
}

bool LoadUserPresets(const std::string &path)
{
    std::vector<StoredGear> gear;
    const Read read = ReadUserPresets(path, gear);
    if (read == Read::Missing)
        return true;
    if (read == Read::Whole && UseUserPresets(JoinPresetImage(gear)))
        return true;
    ReportPresetMessage(PRESET_LIBRARY_ERROR_CAPTION,
                        "Your preset library " + path + " is damaged: its gear cannot be listed.");
    return false;
}

std::set<std::string> ShippedPresetNames()
{
    std::set<std::string> names;
    const uint64_t length = ShippedPresetLength();
    if (length == 0)
        return names;
    std::vector<StoredGear> gear;
    SplitPresetImage(std::vector<uint8_t>(Libfiledata, Libfiledata + length), gear);
    for (const StoredGear &g : gear)
        names.insert(g.name);
    return names;
}

MidnamImport ImportMidnamDocument(const std::string &midnam_path, const std::string &library_path,
                                  const std::set<std::string> &shipped)
{
    MidnamImport result;
    const std::string cannot = "Cannot import " + midnam_path + ":\n";
    MidnamConversion converted = ConvertMidnamFile(midnam_path);
    result.skipped = converted.skipped;
    if (!converted.error.empty()) {
        result.message = cannot + converted.error;
        return result;
    }
    if (converted.gear.empty()) {
        result.message = cannot + "it describes no device with a control that can be assigned.";
        return result;
    }
    std::vector<StoredGear> gear;
    if (ReadUserPresets(library_path, gear) == Read::Damaged) {
        result.message = cannot + "your preset library " + library_path + " is damaged; it is left as it is.";
        return result;
    }

    SortPresetGear(converted.gear);  // one gear per name, the first described
    for (PresetGear &device : converted.gear) {
        if (shipped.count(device.name)) {
            device.name = device.name.substr(0, PRESET_NAME_MAX - (sizeof kUserSuffix - 1)) + kUserSuffix;
            ++result.renamed;
        }
        const auto same = std::find_if(gear.begin(), gear.end(),
                                       [&](const StoredGear &g) { return g.name == device.name; });
        if (same != gear.end()) {
            *same = StoreGear(device);
            ++result.replaced;
        } else {
            gear.push_back(StoreGear(device));
        }
        ++result.added;
    }
    std::stable_sort(gear.begin(), gear.end(),
                     [](const StoredGear &a, const StoredGear &b) { return PresetNameLess(a.name, b.name); });

    const std::vector<uint8_t> image = JoinPresetImage(gear);
    if (image.size() > USER_PRESETS_MAX_BYTES) {
        result.message = cannot + "your preset library would grow beyond 16 MB.";
        return result;
    }
    if (!MakeFolders(FolderOf(library_path)) || !WriteWholeFileSafely(library_path, image.data(), image.size())) {
        result.message = cannot + "your preset library " + library_path + " cannot be written.";
        return result;
    }
    UseUserPresets(image);
    result.ok = true;
    return result;
}

std::string MidnamImportReport(const MidnamImport &import)
{
    std::string text = "Added to your presets: " + Count(import.added, "device", "devices");
    if (import.replaced > 0)
        text += " (" + std::to_string(import.replaced) + " replacing an earlier import)";
    text += ".";
    if (import.renamed > 0)
        text += "\n" + Count(import.renamed, "device", "devices") + " named like shipped gear " +
                (import.renamed == 1 ? "carries" : "carry") + " \"(user)\" after the name.";
    if (import.skipped > 0)
        text += "\n" + Count(import.skipped, "control", "controls") + " could not be expressed and were left out.";
    return text;
}
