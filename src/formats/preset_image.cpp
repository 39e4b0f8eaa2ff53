#include "preset_image.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "riff_tools.h"

namespace {

constexpr RT_FOURCC ID_LIBR = RT_MakeFourcc('L', 'I', 'B', 'R');
constexpr RT_FOURCC ID_NAME = RT_MakeFourcc('N', 'A', 'M', 'E');
const char kInfoText[] = "Corvana Q9 preset library";

bool Printable(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

void PutDword(std::vector<uint8_t> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

// One chunk: identifier, size, data, and a pad byte after odd data.
void PutChunk(std::vector<uint8_t> &out, const char *id, const void *data, size_t size)
{
    out.insert(out.end(), id, id + 4);
    PutDword(out, static_cast<uint32_t>(size));
    const uint8_t *bytes = static_cast<const uint8_t *>(data);
    out.insert(out.end(), bytes, bytes + size);
    if (size & 1)
        out.push_back(0);
}

void PutChunk(std::vector<uint8_t> &out, const char *id, const std::string &text)
{
    PutChunk(out, id, text.data(), text.size());
}

std::string HexText(const std::vector<uint8_t> &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (uint8_t b : bytes) {
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 0x0F]);
    }
    return hex;
}

std::string Joined(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words) {
        if (word.empty())
            continue;
        if (!text.empty())
            text.push_back(' ');
        text += word;
    }
    return text;
}

std::vector<std::string> Words(const std::string &text)
{
    std::vector<std::string> words(1);
    for (char c : text) {
        if (c == ' ') {
            if (!words.back().empty())
                words.emplace_back();
        } else {
            words.back().push_back(c);
        }
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

// The letters of a word that holds only letters and maybe one closing
// punctuation mark ("Time", "default:"); 0 for any other word ("<=63", "On/Off").
size_t Letters(const std::string &word)
{
    size_t n = word.size();
    if (n > 1 && std::strchr(",.:;", word.back()))
        --n;
    for (size_t i = 0; i < n; ++i)
        if (!std::isalpha(static_cast<unsigned char>(word[i])))
            return 0;
    return n;
}

// "Frequency" -> "Frqncy", "Oscillator" -> "Oscltr": the first letter stays.
std::string WithoutVowels(const std::string &word)
{
    const size_t letters = Letters(word);
    std::string out;
    for (size_t i = 0; i < letters; ++i) {
        const char c = word[i];
        if (!out.empty() && (std::strchr("aeiou", c) || c == out.back()))
            continue;
        out.push_back(c);
    }
    return out + word.substr(letters);
}

}  // namespace

std::string PresetNameProblem(const std::string &name, const char *what)
{
    if (name.empty())
        return std::string("empty ") + what;
    if (name.size() > PRESET_NAME_MAX)
        return std::string(what) + " longer than 127 bytes";
    if (!Printable(name))
        return std::string(what) + " holds a character outside printable ASCII";
    return {};
}

All_Params PresetRecord(const PresetParameter &param)
{
    All_Params r{};
    r.ctrl_status_1 = 0x1C;  // as GetKnob: the three outputs
    r.midi_str_lenght = static_cast<uint8_t>(std::min<size_t>(param.event.size(), MIDI_STRING_MAX_LENGHT));
    std::copy_n(param.event.begin(), r.midi_str_lenght, r.midi_string);
    r.midi_channel_position = param.pos[0];
    r.checksum_start_position = param.pos[1];
    r.ctrl_value_position_0 = param.pos[2];
    r.ctrl_value_min = param.pos[3];
    r.ctrl_value_max = param.pos[4];
    return r;
}

std::string PresetParameterProblem(const PresetParameter &param)
{
    std::string problem = PresetNameProblem(param.name, "parameter name");
    if (!problem.empty())
        return problem;
    if (param.lcd.size() > PRESET_LCD_MAX)
        return "LCD text longer than 16 characters";
    if (!Printable(param.lcd))
        return "LCD text holds a character outside printable ASCII";
    if (param.event.empty() || param.event.size() > MIDI_STRING_MAX_LENGHT)
        return "event not 1 to 21 bytes long";
    if (param.pos[3] > 127 || param.pos[4] > 127)
        return "value range outside 0 to 127";
    const All_Params record = PresetRecord(param);
    const uint8_t code = CheckMidiStruct(&record, FIRST_GROUP_CONTROL);
    if (code > 3)
        return "the assignment fails the record check with code " + std::to_string(code);
    return {};
}

std::string PresetLcdText(const std::string &name)
{
    std::string text;
    for (char c : name)
        text.push_back(c >= 0x20 && c <= 0x7E ? c : ' ');
    std::vector<std::string> words = Words(text);
    if (Joined(words).size() <= PRESET_LCD_MAX)
        return Joined(words);

    // A leading category in square brackets goes: "[Channel Mode Message] All Sound Off".
    const size_t first = text.find_first_not_of(' ');
    const size_t close = text.find(']');
    if (first != std::string::npos && text[first] == '[' && close != std::string::npos &&
        !Words(text.substr(close + 1)).empty())
        text.erase(0, close + 1);
    for (char &c : text)
        if (std::strchr("()[]{}", c))
            c = ' ';
    words = Words(text);
    const auto fits = [&words] { return Joined(words).size() <= PRESET_LCD_MAX; };

    std::vector<size_t> longest_first(words.size());
    for (size_t i = 0; i < words.size(); ++i)
        longest_first[i] = i;
    std::stable_sort(longest_first.begin(), longest_first.end(),
                     [&](size_t a, size_t b) { return words[a].size() > words[b].size(); });
    for (size_t i : longest_first) {
        if (fits())
            break;
        if (Letters(words[i]) > 3)
            words[i] = WithoutVowels(words[i]);
    }
    while (!fits()) {
        size_t longest = words.size();
        for (size_t i = 0; i < words.size(); ++i)
            if (Letters(words[i]) > 3 && (longest == words.size() || Letters(words[i]) > Letters(words[longest])))
                longest = i;
        if (longest == words.size())
            break;
        words[longest].erase(Letters(words[longest]) - 1, 1);
    }
    std::string lcd = Joined(words).substr(0, PRESET_LCD_MAX);
    while (!lcd.empty() && lcd.back() == ' ')
        lcd.pop_back();
    return lcd;
}

bool PresetNameLess(const std::string &a, const std::string &b)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (lower(a[i]) != lower(b[i]))
            return static_cast<unsigned char>(lower(a[i])) < static_cast<unsigned char>(lower(b[i]));
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> SortPresetGear(std::vector<PresetGear> &gear)
{
    std::vector<std::string> dropped;
    std::vector<PresetGear> kept;
    std::set<std::string> names;
    for (PresetGear &g : gear) {
        if (names.insert(g.name).second)
            kept.push_back(std::move(g));
        else
            dropped.push_back(g.name);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const PresetGear &a, const PresetGear &b) { return PresetNameLess(a.name, b.name); });
    gear = std::move(kept);
    return dropped;
}

StoredGear StoreGear(const PresetGear &gear)
{
    std::vector<uint8_t> data;
    PutChunk(data, "NAME", gear.name);
    for (const PresetParameter &p : gear.params) {
        std::vector<uint8_t> ctrl;
        PutChunk(ctrl, "LGNM", p.name);
        PutChunk(ctrl, "SHNM", p.lcd);
        PutChunk(ctrl, "MSG ", HexText(p.event));
        PutChunk(ctrl, "POS ", p.pos, PRESET_POS_SIZE);
        PutChunk(data, "CTRL", ctrl.data(), ctrl.size());
    }
    StoredGear stored;
    stored.name = gear.name;
    PutChunk(stored.chunk, "LIBR", data.data(), data.size());
    return stored;
}

std::vector<uint8_t> JoinPresetImage(const std::vector<StoredGear> &gear)
{
    std::vector<uint8_t> image;
    PutChunk(image, "INFO", kInfoText);
    for (const StoredGear &g : gear)
        image.insert(image.end(), g.chunk.begin(), g.chunk.end());
    return image;
}

std::vector<uint8_t> BuildPresetImage(const std::vector<PresetGear> &gear)
{
    std::vector<StoredGear> stored;
    for (const PresetGear &g : gear)
        stored.push_back(StoreGear(g));
    return JoinPresetImage(stored);
}

bool WholeChunkFile(const uint8_t *data, size_t size)
{
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 8)
            return false;
        const uint64_t length = RT_ReadDword(data + pos + 4);
        const uint64_t step = 8 + length + (length & 1);
        if (step > size - pos)
            return false;
        pos += static_cast<size_t>(step);
    }
    return true;
}

bool SplitPresetImage(const std::vector<uint8_t> &image, std::vector<StoredGear> &gear)
{
    gear.clear();
    if (image.size() > 0xFFFFFFFFu || !WholeChunkFile(image.data(), image.size()))
        return false;
    // The walker takes a writable image but only reads it.
    std::vector<uint8_t> copy(image);
    RT_FILE file;
    RT_Open(&file, copy.data(), static_cast<uint32_t>(copy.size()));
    for (;;) {
        RT_CKINFO libr;
        std::memset(&libr, 0, sizeof libr);
        libr.ckid = ID_LIBR;
        if (RT_Descend(&file, &libr, nullptr, RT_FINDCHUNK) != RT_OK)
            return true;
        if (!WholeChunkFile(libr.pData, libr.dataSize))
            return false;
        RT_CKINFO name;
        std::memset(&name, 0, sizeof name);
        name.ckid = ID_NAME;
        if (RT_Descend(&file, &name, &libr, RT_FINDCHUNK) != RT_OK || name.dataSize > PRESET_NAME_MAX)
            return false;
        StoredGear g;
        g.name.assign(reinterpret_cast<const char *>(name.pData), name.dataSize);
        g.chunk.assign(libr.pData - 8, libr.pData + libr.dataSize + (libr.dataSize & 1));
        gear.push_back(std::move(g));
        RT_Ascend(&file, &libr);
    }
}
