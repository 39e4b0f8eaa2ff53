// Helpers shared by the file-format tests: a temporary folder on disk, whole
// files in and out, random configurations and full snapshots of the tables.
#ifndef CVQ9_TESTS_FILE_FORMATS_SUPPORT_H
#define CVQ9_TESTS_FILE_FORMATS_SUPPORT_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config_tables.h"

namespace cvq9_test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder
{
public:
    TempFolder()
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cvq9-files-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr)
            path_ = buffer.data();
    }
    ~TempFolder()
    {
        if (!path_.empty())
            nftw(path_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }

    // Names of the entries in the folder, "." and ".." excluded.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        if (DIR *dir = opendir(path_.c_str())) {
            while (dirent *entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            closedir(dir);
        }
        return names;
    }

private:
    static int RemoveEntry(const char *path, const struct stat *, int, struct FTW *) { return std::remove(path); }
    std::string path_;
};

inline bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

inline bool WriteFileText(const std::string &path, const std::string &text)
{
    return WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::vector<uint8_t> bytes;
    if (FILE *file = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        std::fclose(file);
    }
    return bytes;
}

inline bool FileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// A random text: up to `max_length` characters, mostly printable, some above
// 255 (none whose low 8 bits are 0, which would end the text in a byte field),
// sometimes followed by the stored form's NUL.
inline Q9Text RandomText(std::mt19937 &random, size_t max_length)
{
    Q9Text text;
    const size_t length = random() % (max_length + 1);
    for (size_t i = 0; i < length; ++i) {
        const unsigned kind = random() % 10;
        if (kind == 0)
            text.push_back(static_cast<wchar_t>((0x100 + random() % 0x700) | 0x01));  // low 8 bits never 0
        else if (kind == 1)
            text.push_back(static_cast<wchar_t>(0x80 + random() % 0x80));
        else
            text.push_back(static_cast<wchar_t>(0x20 + random() % 0x5F));
    }
    if (random() % 2)
        text.push_back(L'\0');
    return text;
}

inline void RandomBytes(std::mt19937 &random, void *target, size_t size)
{
    uint8_t *bytes = static_cast<uint8_t *>(target);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(random());
}

// Fills every table with random contents.
inline void FillRandomConfiguration(uint32_t seed)
{
    std::mt19937 random(seed);
    RandomBytes(random, mycontrol, sizeof mycontrol);
    RandomBytes(random, mytransport, sizeof mytransport);
    for (auto &group : mylcdstring)
        for (auto &text : group)
            text = RandomText(random, 20);
    for (auto &name : mygroupnames)
        name = RandomText(random, 17);
    RandomBytes(random, common_params, sizeof common_params);
    RandomBytes(random, user_curve_1, sizeof user_curve_1);
    RandomBytes(random, user_curve_2, sizeof user_curve_2);
}

// Every table and the selection state, to compare before and after an action.
struct TablesSnapshot {
    std::vector<uint8_t> control, transport, common, curve1, curve2;
    std::vector<Q9Text> lcd, names;
    unsigned group = 0, index = 0;

    static TablesSnapshot Take()
    {
        TablesSnapshot s;
        const uint8_t *c = reinterpret_cast<const uint8_t *>(mycontrol);
        s.control.assign(c, c + sizeof mycontrol);
        const uint8_t *t = reinterpret_cast<const uint8_t *>(mytransport);
        s.transport.assign(t, t + sizeof mytransport);
        s.common.assign(common_params, common_params + sizeof common_params);
        s.curve1.assign(user_curve_1, user_curve_1 + sizeof user_curve_1);
        s.curve2.assign(user_curve_2, user_curve_2 + sizeof user_curve_2);
        for (auto &group : mylcdstring)
            for (auto &text : group)
                s.lcd.push_back(text);
        for (auto &name : mygroupnames)
            s.names.push_back(name);
        s.group = CurrentGroup;
        s.index = ControlIndex;
        return s;
    }

    const All_Params &Record(unsigned g, unsigned c) const
    {
        return reinterpret_cast<const All_Params *>(control.data())[g * CONTROLS_PER_GROUP + c];
    }
    const All_Params &Transport(unsigned t) const { return reinterpret_cast<const All_Params *>(transport.data())[t]; }
    const Q9Text &Lcd(unsigned g, unsigned c) const { return lcd[g * CONTROLS_PER_GROUP + c]; }

    bool operator==(const TablesSnapshot &o) const
    {
        return control == o.control && transport == o.transport && common == o.common && curve1 == o.curve1 &&
               curve2 == o.curve2 && lcd == o.lcd && names == o.names && group == o.group && index == o.index;
    }
};

inline bool SameRecord(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What a text field of `width` bytes gives back: the characters up to the first
// NUL, at most `width` of them, each reduced to its low 8 bits, then one NUL.
inline Q9Text StoredFieldText(const Q9Text &text, size_t width)
{
    Q9Text result;
    for (size_t i = 0; i < text.size() && i < width && text[i] != L'\0'; ++i) {
        const wchar_t ch = static_cast<wchar_t>(static_cast<uint32_t>(text[i]) & 0xFFu);
        if (ch == L'\0')
            break;  // a character whose low 8 bits are 0 ends the field's text
        result.push_back(ch);
    }
    result.push_back(L'\0');
    return result;
}

inline Q9Text Text(const char *ascii)
{
    Q9Text text;
    for (const char *p = ascii; *p; ++p)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return text;
}

}  // namespace cvq9_test

#endif
