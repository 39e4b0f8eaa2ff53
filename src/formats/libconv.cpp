#include "libconv.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "preset_image.h"
#include "text_bytes.h"

const char PRESET_FILE_NAME[] = "hlvlib.xcq";
const char PRESET_ERROR_CAPTION[] = "Error while opening presets";
const char PRESET_LIBRARY_ERROR_CAPTION[] = "Library error";

char HlvLib[512];
uint8_t *Libfiledata = nullptr;
uint64_t presetfiledatalength = 0;
RT_FILE LibHnd;
RT_CKINFO LibChunk;
RT_CKINFO CtrlChunk;
RT_CKINFO Chunk;

namespace {

constexpr RT_FOURCC ID_LIBR = RT_MakeFourcc('L', 'I', 'B', 'R');
constexpr RT_FOURCC ID_NAME = RT_MakeFourcc('N', 'A', 'M', 'E');
constexpr RT_FOURCC ID_CTRL = RT_MakeFourcc('C', 'T', 'R', 'L');
constexpr RT_FOURCC ID_LGNM = RT_MakeFourcc('L', 'G', 'N', 'M');
constexpr RT_FOURCC ID_SHNM = RT_MakeFourcc('S', 'H', 'N', 'M');
constexpr RT_FOURCC ID_MSG = RT_MakeFourcc('M', 'S', 'G', ' ');
constexpr RT_FOURCC ID_POS = RT_MakeFourcc('P', 'O', 'S', ' ');

void DefaultReporter(const std::string &caption, const std::string &text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

PresetMessageReporter reporter_in_use = DefaultReporter;

// The user's part at the end of Libfiledata, valid while Libfiledata is the
// buffer it was put into.
uint64_t user_length = 0;
const uint8_t *user_buffer = nullptr;

void Report(const char *text)
{
    ReportPresetMessage(PRESET_ERROR_CAPTION, text);
}

// Clears `chunk`, sets its identifier and searches it as a plain chunk.
bool FindChunk(RT_CKINFO &chunk, RT_FOURCC id, RT_CKINFO *parent)
{
    std::memset(&chunk, 0, sizeof chunk);
    chunk.ckid = id;
    return RT_Descend(&LibHnd, &chunk, parent, RT_FINDCHUNK) == RT_OK;
}

// Common start of the public lookups: the image reopened at the start of the file.
bool OpenPresetImage()
{
    if (presetfiledatalength == 0 || !Libfiledata || presetfiledatalength > 0xFFFFFFFFull) {
        Report("Cannot open Preset File\nhlvlib.xcq missing");
        return false;
    }
    RT_Open(&LibHnd, Libfiledata, static_cast<uint32_t>(presetfiledatalength));
    return true;
}

// Walks the gears until one is named `gear`; the position is then after its name.
bool FindGear(const char *gear)
{
    char name[PRESET_GEAR_ROW];
    while (GetLibChunk(&LibHnd, name)) {
        if (gear && std::strcmp(name, gear) == 0)
            return true;
        RT_Ascend(&LibHnd, &LibChunk);
    }
    return false;
}

// The shared body of GetLibChunk and GetCtrlChunk.
int GetNamedChunk(RT_FILE *image, char *name, RT_CKINFO &outer, RT_FOURCC outer_id, RT_FOURCC name_id,
                  const char *missing, const char *too_large)
{
    std::memset(&outer, 0, sizeof outer);
    outer.ckid = outer_id;
    if (RT_Descend(image, &outer, nullptr, RT_FINDCHUNK) != RT_OK) {
        // The end of the list, unless a damaged size cut the walk short.
        if (RT_CheckSizes(image, nullptr) != RT_OK)
            Report(missing);
        return 0;
    }
    std::memset(&Chunk, 0, sizeof Chunk);
    Chunk.ckid = name_id;
    if (RT_Descend(image, &Chunk, &outer, RT_FINDCHUNK) != RT_OK) {
        Report(missing);
        return 0;
    }
    if (Chunk.dataSize > PRESET_NAME_MAX) {
        Report(too_large);
        return 0;
    }
    std::memcpy(name, Chunk.pData, Chunk.dataSize);
    name[Chunk.dataSize] = '\0';
    RT_Ascend(image, &Chunk);
    return 1;
}

}  // namespace

PresetMessageReporter SetPresetMessageReporter(PresetMessageReporter reporter)
{
    PresetMessageReporter previous = reporter_in_use;
    reporter_in_use = reporter ? reporter : DefaultReporter;
    return previous;
}

void ReportPresetMessage(const std::string &caption, const std::string &text)
{
    reporter_in_use(caption, text);
}

uint64_t LoadPresetLibrary(const std::string &exec_dir)
{
    const int n = std::snprintf(HlvLib, sizeof HlvLib, "%s%s", exec_dir.c_str(), PRESET_FILE_NAME);
    // A path cut to fit would name another file: such a path is not tried.
    const uint64_t length = (n > 0 && static_cast<size_t>(n) < sizeof HlvLib) ? RT_LoadFileInRam(HlvLib) : 0;
    if (length == 0) {
        presetfiledatalength = 0;
        ReportPresetMessage(PRESET_LIBRARY_ERROR_CAPTION,
                            std::string("Cannot load preset file hlvlib.xcq\nPlease copy this file to ") + HlvLib);
    }
    return length;
}

void ReleasePresetLibrary()
{
    std::free(Libfiledata);
    Libfiledata = nullptr;
    presetfiledatalength = 0;
    user_length = 0;
    user_buffer = nullptr;
}

uint64_t ShippedPresetLength()
{
    if (!Libfiledata)
        return 0;
    const bool has_user_part = user_buffer == Libfiledata && user_length <= presetfiledatalength;
    return presetfiledatalength - (has_user_part ? user_length : 0);
}

bool UseUserPresets(const std::vector<uint8_t> &image)
{
    const uint64_t shipped = ShippedPresetLength();
    if (!WholeChunkFile(image.data(), image.size()) ||
        (shipped > 0 && !WholeChunkFile(Libfiledata, static_cast<size_t>(shipped))) ||
        shipped + image.size() > 0xFFFFFFFFull)
        return false;
    const size_t total = static_cast<size_t>(shipped) + image.size();
    uint8_t *buffer = total > 0 ? static_cast<uint8_t *>(std::malloc(total)) : nullptr;
    if (total > 0 && !buffer)
        return false;
    if (shipped > 0)
        std::memcpy(buffer, Libfiledata, static_cast<size_t>(shipped));
    if (!image.empty())
        std::memcpy(buffer + shipped, image.data(), image.size());
    std::free(Libfiledata);
    Libfiledata = buffer;
    presetfiledatalength = total;
    user_length = image.size();
    user_buffer = buffer;
    return true;
}

uint8_t CharToHex(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint8_t>(c - 'A' + 10);
    return 0;
}

int GetLibChunk(RT_FILE *image, char *name)
{
    return GetNamedChunk(image, name, LibChunk, ID_LIBR, ID_NAME, "Preset File corrupted : preset name not found",
                         "Preset File corrupted (name chunk too large)");
}

int GetCtrlChunk(RT_FILE *image, char *name)
{
    return GetNamedChunk(image, name, CtrlChunk, ID_CTRL, ID_LGNM, "Preset File corrupted : Parameter name not found",
                         "Preset File corrupted (Chunk name too large)");
}

int FillLibTab(char (*table)[PRESET_GEAR_ROW], int max)
{
    if (!OpenPresetImage())
        return 0;
    if (!table || max <= 0)
        return 0;
    int count = 0;
    char name[PRESET_GEAR_ROW];
    while (GetLibChunk(&LibHnd, name)) {
        RT_Ascend(&LibHnd, &LibChunk);
        std::memset(table[count], 0, PRESET_GEAR_ROW);
        std::memcpy(table[count], name, std::strlen(name));
        if (++count >= max)
            break;
    }
    return count;
}

int FillCtrlTab(const char *gear, char (*table)[PRESET_PARAM_ROW], int max)
{
    if (!OpenPresetImage())
        return 0;
    if (!FindGear(gear)) {
        Report("Preset not found");
        return 0;
    }
    if (!table || max <= 0)
        return 0;
    int count = 0;
    char name[PRESET_GEAR_ROW];
    while (GetCtrlChunk(&LibHnd, name)) {
        RT_Ascend(&LibHnd, &CtrlChunk);
        // A 127-byte name fills its row without a terminator.
        std::memset(table[count], 0, PRESET_PARAM_ROW);
        std::memcpy(table[count], name, std::min<size_t>(std::strlen(name), PRESET_PARAM_ROW));
        if (++count >= max)
            break;
    }
    return count;
}

int GetKnob(const char *gear, const char *param, All_Params *record, Q9Text *lcd)
{
    if (!OpenPresetImage())
        return 0;
    if (!record || !lcd)
        return 0;
    if (!FindGear(gear)) {
        Report("Library not found");
        return 0;
    }
    char name[PRESET_GEAR_ROW];
    bool found = false;
    while (GetCtrlChunk(&LibHnd, name)) {
        if (param && std::strcmp(name, param) == 0) {
            found = true;
            break;
        }
        RT_Ascend(&LibHnd, &CtrlChunk);
    }
    if (!found) {
        Report("Control not found");
        return 0;
    }

    if (!FindChunk(Chunk, ID_SHNM, &CtrlChunk)) {
        Report("Preset file corrupted : LCD string not found");
        return 0;
    }
    if (Chunk.dataSize > PRESET_LCD_MAX) {
        Report("Preset File corrupted (sh name too long)");
        return 0;
    }
    uint8_t lcd_bytes[PRESET_LCD_MAX + 1];
    std::memcpy(lcd_bytes, Chunk.pData, Chunk.dataSize);
    lcd_bytes[Chunk.dataSize] = 0;
    RT_Ascend(&LibHnd, &Chunk);

    if (!FindChunk(Chunk, ID_MSG, &CtrlChunk)) {
        Report("Preset file corrupted : MIDI Event not found");
        return 0;
    }
    if (Chunk.dataSize > PRESET_MSG_MAX) {
        Report("Preset File corrupted (msg name too long)");
        return 0;
    }
    // Work on a copy so that a refused parameter leaves the caller's record as it was.
    All_Params converted = *record;
    const unsigned n = Chunk.dataSize / 2;  // an odd last character is ignored
    const char *hex = reinterpret_cast<const char *>(Chunk.pData);
    for (unsigned i = 0; i < n; ++i)
        converted.midi_string[i] = static_cast<uint8_t>(CharToHex(hex[2 * i]) * 16 + CharToHex(hex[2 * i + 1]));
    if (n < MIDI_STRING_MAX_LENGHT)
        converted.midi_string[n] = 0;
    converted.midi_str_lenght = static_cast<uint8_t>(n);
    RT_Ascend(&LibHnd, &Chunk);

    if (!FindChunk(Chunk, ID_POS, &CtrlChunk)) {
        Report("Preset File corrupted : MIDI Position not found");
        return 0;
    }
    if (Chunk.dataSize != PRESET_POS_SIZE) {
        Report("Preset File corrupted (msg name too long)");
        return 0;
    }
    const uint8_t *pos = Chunk.pData;
    converted.ctrl_status_0 = 0;
    converted.ctrl_status_1 = 0x1C;  // MIDI out 1, MIDI out 2 and USB; no delay, push mode
    converted.ctrl_status_2 = 0;
    converted.midi_channel_position = pos[0];
    converted.checksum_start_position = pos[1];
    converted.ctrl_value_position_0 = pos[2];
    converted.ctrl_value_min = pos[3];
    converted.ctrl_value_max = pos[4];
    converted.ctrl_value_position_1 = 0;
    converted.ctrl_chain = 0;
    RT_Ascend(&LibHnd, &Chunk);

    *record = converted;
    *lcd = BytesToText(lcd_bytes, PRESET_LCD_MAX);
    return 1;
}
