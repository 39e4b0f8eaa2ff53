#include "riff_tools.h"

#include <cstdio>
#include <cstdlib>

#include "libconv.h"

namespace {

uintptr_t Addr(const uint8_t *p)
{
    return reinterpret_cast<uintptr_t>(p);
}

// The range a search walks, as addresses, with the image base kept so that every
// pointer handed out is derived from the caller's buffer.
struct Range {
    uintptr_t begin;
    uintptr_t end;
};

// The data of `parent` (or the whole image) intersected with the image.
Range LevelRange(const RT_FILE *file, const RT_CKINFO *parent)
{
    Range r{Addr(file->StartAddress), Addr(file->EndAddress)};
    if (parent) {
        const uintptr_t pbegin = Addr(parent->pData);
        uintptr_t pend = pbegin + parent->dataSize;
        if (pend < pbegin)
            pend = UINTPTR_MAX;
        if (pbegin > r.begin)
            r.begin = pbegin;
        if (pend < r.end)
            r.end = pend;
    }
    return r;
}

uint8_t *PointerAt(const RT_FILE *file, uintptr_t address)
{
    return file->StartAddress + (address - Addr(file->StartAddress));
}

enum class Walk { Found, End, Damaged };

// Walks the headers of one level from `pos` to `range.end`. With a null chunk it
// only checks the sizes. On Found, `found` is the header's address.
Walk WalkLevel(const RT_FILE *file, Range range, uintptr_t pos, const RT_CKINFO *chunk, uint16_t kind, uintptr_t *found)
{
    if (pos < range.begin || range.end < range.begin)
        return Walk::End;
    while (pos < range.end) {
        const uintptr_t avail = range.end - pos;
        if (avail < 8)
            return Walk::End;  // too few bytes for a chunk: the level ends here
        const uint8_t *header = PointerAt(file, pos);
        const uint32_t id = RT_ReadDword(header);
        const uint32_t size = RT_ReadDword(header + 4);
        if (static_cast<uint64_t>(size) + 8u > avail)
            return Walk::Damaged;
        if (chunk && id == chunk->ckid) {
            if (kind == RT_FINDCHUNK) {
                *found = pos;
                return Walk::Found;
            }
            if (size >= 4) {
                const uint32_t form = RT_ReadDword(header + 8);
                if (form == chunk->fccType || form == chunk->fccType2) {
                    *found = pos;
                    return Walk::Found;
                }
            }
        }
        const uint64_t step = 8u + static_cast<uint64_t>(size) + (size & 1u);
        if (step >= avail)
            break;  // the last chunk of the level (its pad may be missing)
        pos += static_cast<uintptr_t>(step);
    }
    return Walk::End;
}

}  // namespace

RT_RES RT_Open(RT_FILE *file, uint8_t *start, uint32_t size)
{
    file->StartAddress = start;
    file->EndAddress = size == 0 ? reinterpret_cast<uint8_t *>(UINTPTR_MAX) : start + size;
    file->CurPtr = start;
    return RT_OK;
}

uint32_t RT_ReadDword(const uint8_t *address)
{
    return static_cast<uint32_t>(address[0]) | (static_cast<uint32_t>(address[1]) << 8) |
           (static_cast<uint32_t>(address[2]) << 16) | (static_cast<uint32_t>(address[3]) << 24);
}

RT_RES RT_Descend(RT_FILE *file, RT_CKINFO *chunk, RT_CKINFO *parent, uint16_t flags)
{
    if (!file || !chunk)
        return RT_FAIL;
    const uint16_t kind = flags & RT_FINDMASK;
    if (kind != RT_FINDCHUNK && kind != RT_FINDRIFF && kind != RT_FINDLIST)
        return RT_CHUNK_NOT_FOUND;

    const Range range = LevelRange(file, parent);
    const uintptr_t start = (flags & RT_FROMSTART) ? range.begin : Addr(file->CurPtr);
    uintptr_t header = 0;
    if (WalkLevel(file, range, start, chunk, kind, &header) != Walk::Found)
        return RT_CHUNK_NOT_FOUND;

    uint8_t *p = PointerAt(file, header);
    const uint32_t size = RT_ReadDword(p + 4);
    if (kind == RT_FINDCHUNK) {
        chunk->pData = p + 8;
        chunk->dataSize = size;
    } else {
        chunk->pData = p + 12;
        chunk->dataSize = size - 4;
    }
    file->CurPtr = chunk->pData;
    return RT_OK;
}

RT_RES RT_Ascend(RT_FILE *file, RT_CKINFO *chunk)
{
    if (!file || !chunk)
        return RT_FAIL;
    const uintptr_t begin = Addr(file->StartAddress);
    const uintptr_t end = Addr(file->EndAddress);
    const uintptr_t data = Addr(chunk->pData);
    if (data < begin || data > end)
        return RT_OK;  // not a chunk of this image: stay where we are
    const uint64_t after = static_cast<uint64_t>(data - begin) + chunk->dataSize + (chunk->dataSize & 1u);
    file->CurPtr = after >= static_cast<uint64_t>(end - begin) ? file->EndAddress
                                                               : PointerAt(file, begin + static_cast<uintptr_t>(after));
    return RT_OK;
}

RT_RES RT_CheckSizes(const RT_FILE *file, const RT_CKINFO *parent)
{
    if (!file)
        return RT_FAIL;
    const Range range = LevelRange(file, parent);
    uintptr_t unused = 0;
    return WalkLevel(file, range, Addr(file->CurPtr), nullptr, 0, &unused) == Walk::Damaged ? RT_FAIL : RT_OK;
}

uint64_t RT_LoadFileInRam(const char *path)
{
    presetfiledatalength = 0;
    if (!path)
        return 0;
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return 0;
    uint64_t length = 0;
    uint8_t *buffer = nullptr;
    bool whole = false;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long end = std::ftell(f);
        // The image is addressed with 32-bit sizes; a longer file is no preset data.
        if (end > 0 && static_cast<unsigned long>(end) <= 0xFFFFFFFFul && std::fseek(f, 0, SEEK_SET) == 0) {
            length = static_cast<uint64_t>(end);
            buffer = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(length)));
            if (buffer) {
                const size_t got = std::fread(buffer, 1, static_cast<size_t>(length), f);
                // One more read must hit the end: the file did not grow under us.
                whole = got == length && std::fgetc(f) == EOF && !std::ferror(f);
            }
        }
    }
    std::fclose(f);
    if (!whole) {
        std::free(buffer);
        return 0;
    }
    std::free(Libfiledata);
    Libfiledata = buffer;
    presetfiledatalength = length;
    return length;
}
