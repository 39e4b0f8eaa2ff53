// Glue that turns the PortMidi test double into a stand-in for the system's
// libportmidi.so.0, so that the installed, unmodified program can be run
// against the simulated controller (LD_LIBRARY_PATH puts this library first).
//
// The usual system (see SetUsualSystem) with an empty controller; two
// environment variables name files, when set:
//   CVQ9_PMFAKE_MEMORY  the controller's memory is written there, in the
//                       library file layout, whenever a message changed it
//                       (written to a temporary file first, then renamed, so a
//                       reader never sees half a file)
//   CVQ9_PMFAKE_LOG     every message is appended there as a line of hex
//                       bytes, "> " for what the program sent, "< " for the answers
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "portmidi_fake.h"
#include "simulated_q9.h"

namespace {

struct Glue {
    SimulatedQ9 controller;
    std::string memory_out;
    std::string log;
    std::vector<uint8_t> last_dump;
};

Glue &G()
{
    static Glue glue;
    return glue;
}

// The controller's memory in the library file layout: signature, transport
// records, 21 groups of 62 entries (record then LCD text), group names,
// common parameters, the two user curves.
std::vector<uint8_t> Image(const SimulatedQ9 &q)
{
    std::vector<uint8_t> image;
    image.push_back(0x53);
    image.push_back(0x31);
    for (const auto &record : q.transport)
        image.insert(image.end(), record, record + SimulatedQ9::RECORD);
    for (int g = 0; g < SimulatedQ9::GROUPS; ++g)
        for (int c = SimulatedQ9::TRANSPORTS; c < SimulatedQ9::CONTROLS; ++c) {
            image.insert(image.end(), q.midi[g][c], q.midi[g][c] + SimulatedQ9::RECORD);
            image.insert(image.end(), q.lcd[g][c], q.lcd[g][c] + 16);
        }
    for (const auto &name : q.names)
        image.insert(image.end(), name, name + 14);
    image.insert(image.end(), q.common, q.common + sizeof q.common);
    for (const auto &curve : q.curves)
        image.insert(image.end(), curve, curve + 128);
    return image;
}

void Dump()
{
    Glue &g = G();
    if (g.memory_out.empty())
        return;
    std::vector<uint8_t> image = Image(g.controller);
    if (image == g.last_dump)
        return;
    const std::string temporary = g.memory_out + ".part";
    FILE *f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr)
        return;
    const bool written = std::fwrite(image.data(), 1, image.size(), f) == image.size();
    if (std::fclose(f) == 0 && written && std::rename(temporary.c_str(), g.memory_out.c_str()) == 0)
        g.last_dump = image;
}

void LogLine(FILE *f, char direction, const std::vector<uint8_t> &bytes)
{
    std::fprintf(f, "%c ", direction);
    for (size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(f, i == 0 ? "%02X" : " %02X", bytes[i]);
    std::fputc('\n', f);
}

void Observe(const pmfake::Bytes &message, const std::vector<pmfake::Bytes> &answers)
{
    Glue &g = G();
    if (FILE *f = g.log.empty() ? nullptr : std::fopen(g.log.c_str(), "ab")) {
        LogLine(f, '>', message);
        for (const auto &a : answers)
            LogLine(f, '<', a);
        std::fclose(f);
    }
    Dump();
}

std::string Setting(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

__attribute__((constructor)) void ConfigureAtLoad()
{
    Glue &g = G();
    g.memory_out = Setting("CVQ9_PMFAKE_MEMORY");
    g.log = Setting("CVQ9_PMFAKE_LOG");
    pmfake::SetUsualSystem(&g.controller);
    pmfake::SetWriteObserver(Observe);
    Dump();
}

}  // namespace
