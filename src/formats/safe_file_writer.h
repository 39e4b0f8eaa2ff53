// Replaces a file only when its new contents are completely on disk.
//
// The bytes go to a temporary file created in the target's folder; Commit()
// flushes it to disk and renames it over the target, so a failure at any
// point leaves the previous file exactly as it was. A writer that is
// destroyed without a successful Commit() removes its temporary file.
//
// A target the user may not write is refused, as the system would refuse
// writing it in place: the rename must not get round a read-only file. The
// new file gets the old one's permission bits. Where the folder takes no new
// file but the target itself may be written, the target is written in place
// (then a failure part way can leave it damaged, and is reported).
#ifndef CVQ9_SAFE_FILE_WRITER_H
#define CVQ9_SAFE_FILE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string>

class SafeFileWriter
{
public:
    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    // Creates the temporary file beside `path` (or opens `path` itself, see
    // above). False when neither can be written (missing folder, parent not a
    // folder, a target the user may not write...).
    bool Open(const std::string &path);
    // Appends bytes; false (and the writer failed for good) on any short or failed write.
    bool Write(const void *data, size_t size);
    // Flushes, closes and renames the temporary file over the target.
    // False when anything failed since Open(); the temporary file is then removed.
    bool Commit();
    // Drops the temporary file; the target is not touched.
    void Abort();

    // The temporary file's path while the writer is open (empty otherwise).
    const std::string &TemporaryPath() const { return temp_path_; }

private:
    std::string target_path_;
    std::string temp_path_;
    int fd_ = -1;
    bool failed_ = false;
    bool in_place_ = false;  // writing the target itself
    uint64_t written_ = 0;
};

// Writes `size` bytes as the whole new contents of `path` with a SafeFileWriter.
bool WriteWholeFileSafely(const std::string &path, const void *data, size_t size);

#endif
