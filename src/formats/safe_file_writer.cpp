#include "safe_file_writer.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file the target path stands for: a symbolic link is replaced through
// the file it points to, so the link itself survives the save.
std::string ResolvedTarget(const std::string &path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr)
            return resolved;
    }
    return path;
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

}  // namespace

SafeFileWriter::~SafeFileWriter()
{
    Abort();
}

bool SafeFileWriter::Open(const std::string &path)
{
    Abort();
    failed_ = false;
    if (path.empty() || path.back() == '/')
        return false;
    target_path_ = ResolvedTarget(path);
    const std::string folder = FolderOf(target_path_);
    struct stat target_st;
    const bool target_exists = stat(target_path_.c_str(), &target_st) == 0;
    // A read-only library stays read-only: the rename below would replace it
    // whatever its permissions say.
    // Only a regular file is replaced: a device, a pipe or a folder is no library.
    if (target_exists &&
        (!S_ISREG(target_st.st_mode) || faccessat(AT_FDCWD, target_path_.c_str(), W_OK, AT_EACCESS) != 0)) {
        target_path_.clear();
        return false;
    }

    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + (folder == "/" ? "" : "/") + ".cvq9-save-" + std::to_string(getpid()) + "-" +
                                std::to_string(counter++) + ".tmp";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_path_ = candidate;
            // A replaced file keeps its permissions.
            if (target_exists && S_ISREG(target_st.st_mode))
                fchmod(fd_, target_st.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    // The folder takes no new file, but the file itself may be written.
    if (target_exists && S_ISREG(target_st.st_mode)) {
        const int fd = open(target_path_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0) {
            fd_ = fd;
            in_place_ = true;
            written_ = 0;
            return true;
        }
    }
    target_path_.clear();
    return false;
}

bool SafeFileWriter::Write(const void *data, size_t size)
{
    if (fd_ < 0 || failed_) {
        failed_ = true;
        return false;
    }
    const uint8_t *bytes = static_cast<const uint8_t *>(data);
    while (size > 0) {
        const ssize_t written = write(fd_, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
        written_ += static_cast<uint64_t>(written);
    }
    return true;
}

bool SafeFileWriter::Commit()
{
    if (fd_ < 0)
        return false;
    bool ok = !failed_;
    // In place, the old contents past the new end go.
    if (ok && in_place_ && ftruncate(fd_, static_cast<off_t>(written_)) != 0)
        ok = false;
    ok = ok && fsync(fd_) == 0;
    if (close(fd_) != 0)
        ok = false;
    fd_ = -1;
    if (in_place_) {
        in_place_ = false;
        target_path_.clear();
        failed_ = false;
        return ok;
    }
    if (ok && rename(temp_path_.c_str(), target_path_.c_str()) != 0)
        ok = false;
    // The folder itself is not flushed: the data is on disk before the rename,
    // so after a crash either the old or the new library is there, whole.
    if (!ok)
        unlink(temp_path_.c_str());
    temp_path_.clear();
    target_path_.clear();
    failed_ = false;
    return ok;
}

void SafeFileWriter::Abort()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    in_place_ = false;
    if (!temp_path_.empty())
        unlink(temp_path_.c_str());
    temp_path_.clear();
    target_path_.clear();
}

bool WriteWholeFileSafely(const std::string &path, const void *data, size_t size)
{
    SafeFileWriter writer;
    if (!writer.Open(path))
        return false;
    if (!writer.Write(data, size)) {
        writer.Abort();
        return false;
    }
    return writer.Commit();
}
