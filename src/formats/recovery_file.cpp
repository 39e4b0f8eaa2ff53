#include "recovery_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

#include "library_file.h"
#include "safe_file_writer.h"

namespace {

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Creates every missing folder of `folder`.
bool MakeFolders(const std::string &folder)
{
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool ReadWhole(const std::string &path, std::vector<uint8_t> &bytes)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.assign(LIBRARY_IMAGE_SIZE + 1, 0);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    bytes.resize(got);
    return true;
}

bool WholeCurrentImage(const std::vector<uint8_t> &bytes)
{
    return bytes.size() == LIBRARY_IMAGE_SIZE && bytes[0] == LIBRARY_SIGNATURE && bytes[1] == LIBRARY_VERSION;
}

}  // namespace

std::string RecoveryFilePath()
{
    const char *data_home = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (data_home && data_home[0] == '/') {
        base = data_home;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.local/share";
    }
    return base + "/cvq9_config_soft/recovery.cvq";
}

bool WriteRecoveryFile(const std::string &path, const std::vector<uint8_t> &image)
{
    return MakeFolders(FolderOf(path)) && WriteWholeFileSafely(path, image.data(), image.size());
}

void RemoveRecoveryFile(const std::string &path)
{
    std::remove(path.c_str());
}

RecoveryFound FindRecoveryFile(const std::string &path)
{
    RecoveryFound found;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return found;
    std::vector<uint8_t> bytes;
    if (S_ISREG(st.st_mode) && ReadWhole(path, bytes) && WholeCurrentImage(bytes)) {
        found.state = RecoveryFound::Found;
        found.written = st.st_mtime;
        return found;
    }
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    found.state = RecoveryFound::Damaged;
    found.set_aside_path = FolderOf(path) + "/recovery-damaged-" + stamp + ".cvq";
    if (std::rename(path.c_str(), found.set_aside_path.c_str()) != 0) {
        // Not even moved aside: it goes, so that it is not offered again.
        std::remove(path.c_str());
        found.set_aside_path.clear();
    }
    return found;
}

bool LoadRecoveryFile(const std::string &path)
{
    std::vector<uint8_t> bytes;
    if (!ReadWhole(path, bytes) || !WholeCurrentImage(bytes))
        return false;
    ParseLibraryImage(bytes.data(), bytes.size());
    return true;
}
