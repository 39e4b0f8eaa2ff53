#include "test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include <sys/wait.h>

namespace {

template <typename T>
std::vector<uint8_t> RawBytes(const T &table)
{
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&table);
    return std::vector<uint8_t>(p, p + sizeof(T));
}

std::string Shown(uint8_t byte)
{
    return std::to_string(byte);
}

std::string Shown(const Q9Text &text)
{
    std::ostringstream out;
    out << '"' << std::hex;
    for (wchar_t c : text)
        (c >= 32 && c < 127) ? out << static_cast<char>(c) : out << "\\x" << static_cast<unsigned>(c);
    return out.str() + '"';
}

// Lines "name: before -> after" for the entries that differ, while fewer than 12 lines are shown.
template <typename T, typename Name>
void ListDifferences(std::ostream &out, int &shown, const std::vector<T> &was, const std::vector<T> &now, Name name)
{
    for (size_t i = 0; i < was.size() && shown < 12; ++i)
        if (was[i] != now[i]) {
            out << name(i) << ": " << Shown(was[i]) << " -> " << Shown(now[i]) << "\n";
            ++shown;
        }
}

Q9Text RandomText(std::mt19937 &random, size_t max_length)
{
    Q9Text text;
    const size_t length = random() % (max_length + 1);
    for (size_t i = 0; i < length; ++i) {
        const unsigned kind = random() % 10;
        if (kind == 0)
            text.push_back(static_cast<wchar_t>((0x100 + random() % 0x700) | 0x01));
        else if (kind == 1)
            text.push_back(static_cast<wchar_t>(0x80 + random() % 0x80));
        else
            text.push_back(static_cast<wchar_t>(0x20 + random() % 0x5F));
    }
    if (random() % 2)
        text.push_back(L'\0');
    return text;
}

void RandomBytes(std::mt19937 &random, void *target, size_t size)
{
    uint8_t *bytes = static_cast<uint8_t *>(target);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(random());
}

}  // namespace

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "cvq9-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool WriteFileText(const std::string &path, const std::string &text)
{
    return WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::string &path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

Q9Text Text(const char *ascii)
{
    Q9Text text;
    for (const char *p = ascii; *p; ++p)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return text;
}

std::vector<uint8_t> HexBytes(const std::string &text)
{
    std::vector<uint8_t> bytes;
    std::istringstream in(text);
    unsigned value;
    while (in >> std::hex >> value)
        bytes.push_back(static_cast<uint8_t>(value));
    return bytes;
}

All_Params FilledRecord(uint8_t value)
{
    All_Params record;
    std::memset(&record, value, sizeof record);
    return record;
}

void FillValidConfiguration(const Q9Text &lcd)
{
    All_Params valid{};
    valid.ctrl_status_0 = 0x07;
    valid.ctrl_status_1 = 0x0C;
    valid.midi_str_lenght = 3;
    valid.midi_channel_position = 1;
    valid.ctrl_value_position_0 = 3;
    valid.ctrl_value_max = 127;
    const uint8_t event[] = {0xB0, 0x07, 0x40};
    std::memcpy(valid.midi_string, event, sizeof event);
    for (All_Params &r : mytransport)
        r = valid;
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {  // the transport buttons' unused entries too
            mycontrol[g][c] = valid;
            mylcdstring[g][c] = lcd;
        }
}

void FillRandomConfiguration(uint32_t seed)
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

TablesSnapshot::TablesSnapshot()
    : controls(RawBytes(mycontrol)), transport(RawBytes(mytransport)), common(RawBytes(common_params)),
      curve1(RawBytes(user_curve_1)), curve2(RawBytes(user_curve_2))
{
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        group_names.push_back(mygroupnames[g]);
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c)
            lcd.push_back(mylcdstring[g][c]);
    }
}

const All_Params &TablesSnapshot::Record(unsigned group, unsigned control) const
{
    return reinterpret_cast<const All_Params *>(controls.data())[group * CONTROLS_PER_GROUP + control];
}

All_Params &TablesSnapshot::Addressed(unsigned group, unsigned control)
{
    if (control < TRANSPORT_NB)
        return reinterpret_cast<All_Params *>(transport.data())[control];
    return reinterpret_cast<All_Params *>(controls.data())[group * CONTROLS_PER_GROUP + control];
}

bool TablesSnapshot::operator==(const TablesSnapshot &o) const
{
    return controls == o.controls && transport == o.transport && lcd == o.lcd && group_names == o.group_names &&
           common == o.common && curve1 == o.curve1 && curve2 == o.curve2;
}

std::string TablesSnapshot::DiffFrom(const TablesSnapshot &before) const
{
    std::ostringstream out;
    int shown = 0;
    const size_t R = sizeof(All_Params), C = CONTROLS_PER_GROUP;
    auto at = [](const char *table, size_t i, size_t j = SIZE_MAX) {
        return std::string(table) + "[" + std::to_string(i) + "]" +
               (j == SIZE_MAX ? "" : "[" + std::to_string(j) + "]");
    };
    ListDifferences(out, shown, before.controls, controls,
                    [&](size_t i) { return at("mycontrol", i / R / C, i / R % C) + " byte " + std::to_string(i % R); });
    ListDifferences(out, shown, before.transport, transport,
                    [&](size_t i) { return at("mytransport", i / R) + " byte " + std::to_string(i % R); });
    ListDifferences(out, shown, before.lcd, lcd, [&](size_t i) { return at("mylcdstring", i / C, i % C); });
    ListDifferences(out, shown, before.group_names, group_names, [&](size_t i) { return at("mygroupnames", i); });
    ListDifferences(out, shown, before.common, common, [&](size_t i) { return at("common_params", i); });
    ListDifferences(out, shown, before.curve1, curve1, [&](size_t i) { return at("user_curve_1", i); });
    ListDifferences(out, shown, before.curve2, curve2, [&](size_t i) { return at("user_curve_2", i); });
    return out.str();
}

std::vector<std::string> FolderEntries(const std::string &path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(path, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

All_Params RandomValidRecord(std::mt19937 &random, uint8_t length, uint8_t index)
{
    auto pick = [&random](unsigned lo, unsigned hi) { return static_cast<uint8_t>(lo + random() % (hi - lo + 1)); };
    All_Params r;
    for (uint8_t &b : r.midi_string)
        b = pick(0, 255);
    r.midi_string[0] = pick(0x80, 0xFD);
    for (unsigned i = 1; i < length; ++i)
        r.midi_string[i] = pick(0, 0xFD);
    r.midi_str_lenght = length;
    r.ctrl_status_0 = pick(0, 255);
    r.ctrl_status_1 = static_cast<uint8_t>(pick(0, 255) | 0x08);   // MIDI Out 1
    r.ctrl_status_2 = static_cast<uint8_t>(pick(0, 255) & ~0x10);  // no nibble mode
    r.ctrl_value_min = pick(0, 127);
    r.ctrl_value_max = pick(r.ctrl_value_min, 127);
    std::vector<uint8_t> positions(length);  // distinct insertion positions, 0 allowed
    for (unsigned i = 0; i < length; ++i)
        positions[i] = static_cast<uint8_t>(i + 1);
    std::shuffle(positions.begin(), positions.end(), random);
    positions.resize(3, 0);
    r.midi_channel_position = random() % 4 ? positions[0] : 0;
    r.ctrl_value_position_0 = random() % 4 ? positions[1] : 0;
    r.ctrl_value_position_1 = random() % 4 ? positions[2] : 0;
    r.checksum_start_position = pick(0, length);
    uint8_t chain;
    do {
        chain = pick(0, 67);
    } while (index != 0 && chain == index);
    r.ctrl_chain = static_cast<uint8_t>(chain | (random() % 2) << 7);
    return r;
}

uint8_t NibbleSum(const uint8_t *sysex, size_t from, size_t count)
{
    unsigned sum = 0;
    for (size_t i = from; i < from + count; ++i)
        sum += sysex[i];
    return static_cast<uint8_t>(sum & 0x7F);
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Repeat(const std::string &text, size_t times)
{
    std::string out;
    while (times--)
        out += text;
    return out;
}

std::string RandomPrintable(std::mt19937 &random, size_t length)
{
    std::string s;
    while (s.size() < length)
        s.push_back(static_cast<char>(0x20 + random() % 0x5F));
    return s;
}

std::string CommandOutput(const std::string &command, int &status)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int raw = pipe ? pclose(pipe) : -1;
    status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::vector<std::string> RegexMatches(const std::string &text, const std::string &pattern)
{
    std::vector<std::string> found;
    const std::regex re(pattern, std::regex::icase);
    for (auto m = std::sregex_iterator(text.begin(), text.end(), re); m != std::sregex_iterator(); ++m)
        found.push_back((*m)[1].str());
    return found;
}
