// Builders of chunk images for the chunk reader and preset library tests, and a
// temporary folder for the files they are read from.
#ifndef CVQ9_PRESET_IMAGE_BUILDER_H
#define CVQ9_PRESET_IMAGE_BUILDER_H

#include <cstdint>
#include <string>
#include <vector>

#include <cstring>

#include "riff_tools.h"
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

// A chunk searched for: its identifier and form types.
inline RT_CKINFO Want(RT_FOURCC id, RT_FOURCC form = 0, RT_FOURCC form2 = 0)
{
    RT_CKINFO c;
    std::memset(&c, 0, sizeof c);
    c.ckid = id;
    c.fccType = form;
    c.fccType2 = form2;
    return c;
}

// An image in a heap block of exactly its size (the sanitizers see any read past it).
struct Image {
    explicit Image(const std::string &bytes) : data(Bytes(bytes))
    {
        RT_Open(&file, data.data(), static_cast<uint32_t>(data.size()));
    }
    size_t At(const uint8_t *p) const { return static_cast<size_t>(p - data.data()); }
    // The data of the chunk found, or "-" when none.
    std::string Find(RT_CKINFO want, RT_CKINFO *parent = nullptr, uint16_t flags = RT_FINDCHUNK)
    {
        found = want;
        if (RT_Descend(&file, &found, parent, flags) != RT_OK)
            return "-";
        EXPECT_EQ(file.CurPtr, found.pData);
        return std::string(reinterpret_cast<char *>(found.pData), found.dataSize);
    }
    std::vector<uint8_t> data;
    RT_FILE file;
    RT_CKINFO found;
};

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
