// presetc: compiles the readable preset library source, with any MIDI name
// documents given, into the chunk file the editor reads ("hlvlib.xcq").
//
//   presetc SOURCE OUTPUT [MIDNAM...]
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
// Each MIDI name document with a control list adds its devices (midnam.h);
// the others are passed over, and a document that cannot be read is reported
// and passed over too, so that the library never depends on one outside
// file. The gear of both are sorted by name together; a gear whose name is
// already taken is dropped.
//
// Output tree: an "INFO" chunk, then per gear a "LIBR" chunk holding "NAME" and
// one "CTRL" per parameter with "LGNM", "SHNM", "MSG " and "POS ".
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "midnam.h"
#include "preset_image.h"
#include "safe_file_writer.h"

namespace {

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
    const std::string problem = PresetNameProblem(name, what);
    if (!problem.empty())
        throw SourceError{problem};
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

PresetParameter ParseParameter(const std::string &line)
{
    const std::vector<std::string> f = Split(line, '|');
    if (f.size() != 8)
        throw SourceError{"a parameter line has 8 fields separated by '|'"};
    PresetParameter p;
    p.name = f[0];
    p.lcd = f[1];
    p.event = ParseEvent(f[2]);
    p.pos[0] = ParseNumber(f[3], 255, "channel position");
    p.pos[1] = ParseNumber(f[4], 255, "checksum position");
    p.pos[2] = ParseNumber(f[5], 255, "value position");
    p.pos[3] = ParseNumber(f[6], 127, "minimum");
    p.pos[4] = ParseNumber(f[7], 127, "maximum");
    const std::string problem = PresetParameterProblem(p);
    if (!problem.empty())
        throw SourceError{problem};
    return p;
}

std::vector<PresetGear> ParseSource(std::istream &in, const std::string &source_name, bool &ok)
{
    std::vector<PresetGear> gears;
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
                PresetGear g;
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
            PresetParameter p = ParseParameter(text);
            if (!param_names.insert(p.name).second)
                throw SourceError{"parameter \"" + p.name + "\" defined twice in this gear"};
            gears.back().params.push_back(p);
        } catch (const SourceError &e) {
            std::cerr << source_name << ":" << number << ": " << e.text << "\n";
            ok = false;
        }
    }
    for (const PresetGear &g : gears) {
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

struct MidnamCounts {
    unsigned documents = 0;      // documents with a control list that gave gear
    unsigned without_list = 0;   // documents without one, passed over
    unsigned unreadable = 0;     // documents refused by the converter
    unsigned skipped = 0;        // controls that could not be expressed
};

// The devices of every MIDI name document with a control list. A document
// without one is passed over before it is parsed.
std::vector<PresetGear> ReadMidnamDocuments(const std::vector<std::string> &paths, MidnamCounts &counts)
{
    std::vector<PresetGear> gears;
    for (const std::string &path : paths) {
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad() || text.find("<ControlNameList") == std::string::npos) {
            ++counts.without_list;
            continue;
        }
        const MidnamConversion converted = ConvertMidnam(reinterpret_cast<const uint8_t *>(text.data()), text.size());
        if (!converted.error.empty()) {
            std::cerr << path << ": " << converted.error << " Passed over.\n";
            ++counts.unreadable;
            continue;
        }
        counts.skipped += converted.skipped;
        if (converted.gear.empty()) {
            ++counts.without_list;  // its lists are empty, or in comments
            continue;
        }
        ++counts.documents;
        gears.insert(gears.end(), converted.gear.begin(), converted.gear.end());
    }
    return gears;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::cerr << "usage: presetc SOURCE OUTPUT [MIDNAM...]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "presetc: cannot read " << argv[1] << "\n";
        return 1;
    }
    bool ok = false;
    std::vector<PresetGear> gears = ParseSource(in, argv[1], ok);
    if (!ok)
        return 1;
    const size_t standards = gears.size();

    MidnamCounts counts;
    std::vector<PresetGear> devices = ReadMidnamDocuments(std::vector<std::string>(argv + 3, argv + argc), counts);
    for (const PresetGear &g : devices) {
        for (const PresetParameter &p : g.params) {
            const std::string problem = PresetParameterProblem(p);
            if (!problem.empty()) {
                std::cerr << "presetc: " << g.name << " / " << p.name << ": " << problem << "\n";
                return 1;
            }
        }
    }
    gears.insert(gears.end(), devices.begin(), devices.end());
    const std::vector<std::string> dropped = SortPresetGear(gears);
    for (const std::string &name : dropped)
        std::cout << "presetc: \"" << name << "\" described twice; the first is kept\n";

    const std::vector<uint8_t> image = BuildPresetImage(gears);
    if (!WriteWholeFileSafely(argv[2], image.data(), image.size())) {
        std::cerr << "presetc: cannot write " << argv[2] << "\n";
        return 1;
    }
    size_t params = 0;
    for (const PresetGear &g : gears)
        params += g.params.size();
    if (argc > 3) {
        std::cout << "presetc: " << argc - 3 << " MIDI name documents, " << counts.documents
                  << " with a control list (" << counts.without_list << " without, " << counts.unreadable
                  << " unreadable): " << devices.size() << " devices, " << counts.skipped
                  << " controls skipped\n";
    }
    std::cout << "presetc: " << gears.size() << " gear (" << standards << " from the standards source, "
              << dropped.size() << " duplicates dropped), " << params << " parameters, " << image.size()
              << " bytes\n";
    return 0;
}
