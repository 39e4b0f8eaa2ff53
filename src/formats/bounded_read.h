// Reading a whole file that may not be larger than a bound, without making
// room for the bound first: the memory used follows the file's length.
#ifndef CVQ9_BOUNDED_READ_H
#define CVQ9_BOUNDED_READ_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class BoundedRead { Whole, Missing, TooLarge, Failed };

// `bytes` gets the file's bytes when Whole, else stays empty.
BoundedRead ReadFileBounded(const std::string &path, size_t max_bytes, std::vector<uint8_t> &bytes);

#endif
