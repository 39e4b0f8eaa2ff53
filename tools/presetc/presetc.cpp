// presetc: compiles the readable preset library source into the chunk file the
// editor reads ("hlvlib.xcq").
//
//   presetc SOURCE OUTPUT
//
// Source format, one item per line ('#' starts a comment line, blank lines are
// ignored, leading and trailing spaces of every field are dropped):
//
//   gear: <gear name>
//   <parameter name> | <LCD text> | <event> | <channel pos> | <checksum pos> | <value pos> | <min> | <max>
//
// The event is hexadecimal, two digits per byte, spaces allowed between bytes.
// Positions are 1-based byte positions in the event, 0 for none. Every
// parameter is checked as the editor will use it: the record it converts to
// must pass the firmware's assignment check with a warning at most.
//
// Output tree: an "INFO" chunk, then per gear a "LIBR" chunk holding "NAME" and
// one "CTRL" per parameter with "LGNM", "SHNM", "MSG " and "POS ".
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cross_functions.h"

namespace {

constexpr size_t NAME_MAX_BYTES = 127;
constexpr size_t LCD_MAX_BYTES = 16;

struct Parameter {
    std::string name;
    std::string lcd;
    std::vector<uint8_t> event;
    uint8_t pos[5];  // channel, checksum start, value, min, max
};

struct Gear {
    std::string name;
    std::vector<Parameter> params;
};

struct SourceError {
    std::string text;
};

std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

std::vector<std::string> Split(const std::string &line, char sep)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep))
        fields.push_back(Trim(field));
    if (!line.empty() && line.back() == sep)
        fields.push_back("");
    return fields;
}

void CheckName(const std::string &name, const char *what)
{
    if (name.empty())
        throw SourceError{std::string("empty ") + what};
    if (name.size() > NAME_MAX_BYTES)
        throw SourceError{std::string(what) + " longer than 127 bytes"};
    for (unsigned char c : name) {
        if (c < 0x20 || c > 0x7E)
            throw SourceError{std::string(what) + " holds a character outside printable ASCII"};
    }
}

std::vector<uint8_t> ParseEvent(const std::string &text)
{
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '\t')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            throw SourceError{"event holds a character that is not a hexadecimal digit"};
        digits.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    if (digits.empty() || digits.size() % 2 != 0)
        throw SourceError{"event must hold whole bytes (two digits each)"};
    if (digits.size() / 2 > MIDI_STRING_MAX_LENGHT)
        throw SourceError{"event longer than 21 bytes"};
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

uint8_t ParseNumber(const std::string &text, unsigned max, const char *what)
{
    if (text.empty() || text.size() > 3)
        throw SourceError{std::string("bad ") + what};
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            throw SourceError{std::string("bad ") + what};
    }
    const unsigned long value = std::stoul(text);
    if (value > max)
        throw SourceError{std::string(what) + " out of range"};
    return static_cast<uint8_t>(value);
}

// The record the editor makes of the parameter, as the preset reader fills it.
All_Params AsRecord(const Parameter &p)
{
    All_Params r{};
    r.ctrl_status_1 = 0x1C;
    r.midi_str_lenght = static_cast<uint8_t>(p.event.size());
    for (size_t i = 0; i < p.event.size(); ++i)
        r.midi_string[i] = p.event[i];
    r.midi_channel_position = p.pos[0];
    r.checksum_start_position = p.pos[1];
    r.ctrl_value_position_0 = p.pos[2];
    r.ctrl_value_min = p.pos[3];
    r.ctrl_value_max = p.pos[4];
    return r;
}

Parameter ParseParameter(const std::string &line)
{
    const std::vector<std::string> f = Split(line, '|');
    if (f.size() != 8)
        throw SourceError{"a parameter line has 8 fields separated by '|'"};
    Parameter p;
    p.name = f[0];
    CheckName(p.name, "parameter name");
    p.lcd = f[1];
    if (p.lcd.size() > LCD_MAX_BYTES)
        throw SourceError{"LCD text longer than 16 characters"};
    for (unsigned char c : p.lcd) {
        if (c < 0x20 || c > 0x7E)
            throw SourceError{"LCD text holds a character outside printable ASCII"};
    }
    p.event = ParseEvent(f[2]);
    p.pos[0] = ParseNumber(f[3], 255, "channel position");
    p.pos[1] = ParseNumber(f[4], 255, "checksum position");
    p.pos[2] = ParseNumber(f[5], 255, "value position");
    p.pos[3] = ParseNumber(f[6], 127, "minimum");
    p.pos[4] = ParseNumber(f[7], 127, "maximum");
    const All_Params record = AsRecord(p);
    const uint8_t code = CheckMidiStruct(&record, FIRST_GROUP_CONTROL);
    if (code > 3)
        throw SourceError{"the assignment fails the record check with code " + std::to_string(code)};
    return p;
}

std::vector<Gear> ParseSource(std::istream &in, const std::string &source_name, bool &ok)
{
    std::vector<Gear> gears;
    std::set<std::string> gear_names;
    std::set<std::string> param_names;
    std::string line;
    unsigned number = 0;
    ok = true;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        try {
            if (text.compare(0, 5, "gear:") == 0) {
                Gear g;
                g.name = Trim(text.substr(5));
                CheckName(g.name, "gear name");
                if (!gear_names.insert(g.name).second)
                    throw SourceError{"gear \"" + g.name + "\" defined twice"};
                param_names.clear();
                gears.push_back(g);
                continue;
            }
            if (gears.empty())
                throw SourceError{"parameter before the first \"gear:\" line"};
            Parameter p = ParseParameter(text);
            if (!param_names.insert(p.name).second)
                throw SourceError{"parameter \"" + p.name + "\" defined twice in this gear"};
            gears.back().params.push_back(p);
        } catch (const SourceError &e) {
            std::cerr << source_name << ":" << number << ": " << e.text << "\n";
            ok = false;
        }
    }
    for (const Gear &g : gears) {
        if (g.params.empty()) {
            std::cerr << source_name << ": gear \"" << g.name << "\" has no parameter\n";
            ok = false;
        }
    }
    if (gears.empty()) {
        std::cerr << source_name << ": no gear defined\n";
        ok = false;
    }
    return gears;
}

void PutDword(std::string &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// One chunk: identifier, size, data, pad byte after odd data.
std::string MakeChunk(const char *id, const std::string &data)
{
    std::string out(id, 4);
    PutDword(out, static_cast<uint32_t>(data.size()));
    out += data;
    if (data.size() & 1)
        out.push_back('\0');
    return out;
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

std::string Compile(const std::vector<Gear> &gears)
{
    std::string image = MakeChunk("INFO", "Corvana Q9 preset library");
    for (const Gear &g : gears) {
        std::string gear = MakeChunk("NAME", g.name);
        for (const Parameter &p : g.params) {
            std::string ctrl = MakeChunk("LGNM", p.name);
            ctrl += MakeChunk("SHNM", p.lcd);
            ctrl += MakeChunk("MSG ", HexText(p.event));
            ctrl += MakeChunk("POS ", std::string(reinterpret_cast<const char *>(p.pos), 5));
            gear += MakeChunk("CTRL", ctrl);
        }
        image += MakeChunk("LIBR", gear);
    }
    return image;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: presetc SOURCE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "presetc: cannot read " << argv[1] << "\n";
        return 1;
    }
    bool ok = false;
    const std::vector<Gear> gears = ParseSource(in, argv[1], ok);
    if (!ok)
        return 1;
    const std::string image = Compile(gears);

    // Written beside the target and renamed, so a failed run leaves no half file.
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(image.data(), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) {
            std::cerr << "presetc: cannot write " << temp << "\n";
            std::remove(temp.c_str());
            return 1;
        }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::cerr << "presetc: cannot write " << argv[2] << "\n";
        std::remove(temp.c_str());
        return 1;
    }
    size_t params = 0;
    for (const Gear &g : gears)
        params += g.params.size();
    std::cout << "presetc: " << gears.size() << " gear, " << params << " parameters, " << image.size() << " bytes\n";
    return 0;
}
