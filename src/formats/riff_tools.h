// Reader of RIFF-style chunk trees held in memory, navigated by descending into
// a chunk found by its identifier and ascending past it. It never copies and
// never allocates, except RT_LoadFileInRam, which reads the preset file whole.
//
// Chunk layout: 4-byte identifier, 4-byte little-endian data size, the data, and
// one pad byte after odd-sized data. RIFF and LIST data begin with a form type.
//
// Every header read and every chunk is bounded by the parent's data (when a
// parent is given) and by the image: a chunk whose size runs past either end
// stops the search, so no byte outside the image is ever read.
#ifndef CVQ9_RIFF_TOOLS_H
#define CVQ9_RIFF_TOOLS_H

#include <cstdint>

// Four ASCII characters in file order, compared as a little-endian word.
typedef uint32_t RT_FOURCC;

constexpr RT_FOURCC RT_MakeFourcc(char a, char b, char c, char d)
{
    return static_cast<RT_FOURCC>(static_cast<uint8_t>(a)) | (static_cast<RT_FOURCC>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<RT_FOURCC>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<RT_FOURCC>(static_cast<uint8_t>(d)) << 24);
}

typedef enum _RT_RES { RT_OK = 0, RT_FAIL = 1, RT_CHUNK_NOT_FOUND = 2 } RT_RES;

// An open image; the memory belongs to the caller.
typedef struct _RT_FILE {
    uint8_t *StartAddress;  // first byte
    uint8_t *EndAddress;    // one past the last byte; all ones when the size is unknown
    uint8_t *CurPtr;        // current position
} RT_FILE;

// One chunk: the caller clears it and sets ckid (and the form types for RIFF and
// LIST searches); a successful search sets pData and dataSize.
typedef struct _RTCKINFO {
    RT_FOURCC ckid;
    uint8_t *pData;
    uint8_t *pCurrent;  // not used by the reader
    uint32_t dataSize;
    RT_FOURCC fccType;
    RT_FOURCC fccType2;
    uint32_t dwFlags;  // not used by the reader
} RT_CKINFO;

// Search flags of RT_Descend: RT_FROMSTART may be combined with one kind.
#define RT_FROMSTART 0x01u
#define RT_FINDCHUNK 0x10u
#define RT_FINDRIFF  0x20u
#define RT_FINDLIST  0x40u
#define RT_FINDMASK  0x70u

RT_RES RT_Open(RT_FILE *file, uint8_t *start, uint32_t size);
uint32_t RT_ReadDword(const uint8_t *address);
// Finds `chunk` at the level of the search range: the parent's data (or the
// image when `parent` is null), from its start with RT_FROMSTART, otherwise from
// CurPtr. On success fills pData and dataSize and sets CurPtr = pData; otherwise
// returns RT_CHUNK_NOT_FOUND and changes nothing. A flag word naming no single
// known kind finds nothing.
RT_RES RT_Descend(RT_FILE *file, RT_CKINFO *chunk, RT_CKINFO *parent, uint16_t flags);
// CurPtr = first byte after the chunk's data and pad (kept within the image).
RT_RES RT_Ascend(RT_FILE *file, RT_CKINFO *chunk);
// Walks the chunk headers from CurPtr to the end of the parent's data (or of the
// image) without moving: RT_OK when every chunk fits, RT_FAIL when one declares
// a size running past the end. Fewer bytes than a header at the end of a level
// are no chunk and end it normally. Used to tell a
// search that ended normally from one stopped by a damaged size.
RT_RES RT_CheckSizes(const RT_FILE *file, const RT_CKINFO *parent);
// Reads the whole file at `path` into a new buffer, Libfiledata, and sets
// presetfiledatalength (both declared in libconv.h). Returns the length, 0 when
// the file cannot be opened or read whole (Libfiledata is then left as it was).
uint64_t RT_LoadFileInRam(const char *path);

#endif
