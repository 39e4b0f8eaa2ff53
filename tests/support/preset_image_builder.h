// Builders of chunk images for the chunk reader and preset library tests, and a
// temporary folder for the files they are read from.
#ifndef CVQ9_PRESET_IMAGE_BUILDER_H
#define CVQ9_PRESET_IMAGE_BUILDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

namespace preset_image {

inline std::string Dword(uint32_t v)
{
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

// A chunk whose header declares `declared` bytes of data, whatever `data` holds
// (for lying sizes); no pad byte is added.
inline std::string RawChunk(const std::string &id, uint32_t declared, const std::string &data)
{
    return id.substr(0, 4) + Dword(declared) + data;
}

// A well-formed chunk: header, data, and a pad byte after odd data.
inline std::string MakeChunk(const std::string &id, const std::string &data)
{
    std::string s = RawChunk(id, static_cast<uint32_t>(data.size()), data);
    if (data.size() & 1)
        s.push_back('\0');
    return s;
}

// A RIFF or LIST chunk: its data begins with the form type.
inline std::string Form(const std::string &id, const std::string &form, const std::string &data)
{
    return MakeChunk(id, form.substr(0, 4) + data);
}

inline std::string Pos(uint8_t channel, uint8_t checksum, uint8_t value, uint8_t min, uint8_t max)
{
    return std::string{static_cast<char>(channel), static_cast<char>(checksum), static_cast<char>(value),
                       static_cast<char>(min), static_cast<char>(max)};
}

// A complete parameter chunk.
inline std::string Param(const std::string &name, const std::string &lcd, const std::string &msg,
                         const std::string &pos)
{
    return MakeChunk("CTRL", MakeChunk("LGNM", name) + MakeChunk("SHNM", lcd) + MakeChunk("MSG ", msg) +
                                 MakeChunk("POS ", pos));
}

// A gear chunk: its name, then the given parameter chunks (or any chunks).
inline std::string Gear(const std::string &name, const std::string &params)
{
    return MakeChunk("LIBR", MakeChunk("NAME", name) + params);
}

inline std::vector<uint8_t> Bytes(const std::string &s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// A temporary folder that also writes whole files.
class TempDir : public TempFolder
{
public:
    std::string Write(const std::string &name, const std::string &bytes) const
    {
        WriteFileText(File(name), bytes);
        return File(name);
    }
};

}  // namespace preset_image

#endif
