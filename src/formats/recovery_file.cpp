#include "recovery_file.h"

#include <cstdio>

#include <sys/stat.h>

#include "bounded_read.h"
#include "library_file.h"
#include "safe_file_writer.h"
#include "user_data_folder.h"

namespace {

// The file whole, if it is no larger than a library.
bool ReadWhole(const std::string &path, std::vector<uint8_t> &bytes)
{
    return ReadFileBounded(path, LIBRARY_IMAGE_SIZE, bytes) == BoundedRead::Whole;
}

bool WholeCurrentImage(const std::vector<uint8_t> &bytes)
{
    return bytes.size() == LIBRARY_IMAGE_SIZE && bytes[0] == LIBRARY_SIGNATURE && bytes[1] == LIBRARY_VERSION;
}

}  // namespace

std::string RecoveryFilePath()
{
    return UserDataFolder() + "/recovery.cvq";
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
