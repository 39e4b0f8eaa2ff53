#include "bounded_read.h"

#include <cstdio>

BoundedRead ReadFileBounded(const std::string &path, size_t max_bytes, std::vector<uint8_t> &bytes)
{
    bytes.clear();
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return BoundedRead::Missing;
    uint8_t chunk[64 * 1024];
    size_t got = 0;
    while (bytes.size() <= max_bytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    const BoundedRead read = failed ? BoundedRead::Failed
                             : bytes.size() > max_bytes ? BoundedRead::TooLarge
                                                        : BoundedRead::Whole;
    if (read != BoundedRead::Whole)
        bytes.clear();
    return read;
}
