// Glue that turns the PortMidi test double into a stand-in for the system's
// libportmidi.so.0, so that the installed, unmodified program can be run
// against the simulated controller (LD_LIBRARY_PATH puts this library first).
//
// Everything is chosen through a configuration file named by the environment
// variable CVQ9_PMFAKE_CONFIG, one "key = value" per line ('#' starts a
// comment):
//   devices       usual (default: two through ports and the controller's
//                 ports, see SetUsualSystem) or none (no MIDI device at all)
//   memory_in     a file in the library file layout loaded into the
//                 controller's memory at start
//   memory_out    a file the controller's memory is written to, in the same
//                 layout, whenever a message changed it (written to a
//                 temporary file first, then renamed, so a reader never sees
//                 half a file)
//   log           a file every message is appended to as a line of hex bytes,
//                 "> " for what the program sent, "< " for the answers
//   silent, refuse_acks                      0 or 1
//   answer_budget, answer_delay, split_size, split_gap   numbers
// Without the variable the library behaves as the usual system with an
// empty controller.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <portmidi.h>

#include "portmidi_fake.h"
#include "simulated_q9.h"

namespace {

// Library file layout of the controller's memory: signature, transport
// records, 21 groups of 62 entries (record then LCD text), group names,
// common parameters, the two user curves.
constexpr size_t kImageSize = 63248;

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

std::vector<uint8_t> Image(const SimulatedQ9 &q)
{
    std::vector<uint8_t> image;
    image.reserve(kImageSize);
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

// Fills the memory from an image; a short or damaged file loads what it has.
void LoadImage(SimulatedQ9 &q, const std::vector<uint8_t> &image)
{
    size_t at = 2;
    auto take = [&](uint8_t *to, size_t n) {
        if (at + n <= image.size())
            std::memcpy(to, image.data() + at, n);
        at += n;
    };
    for (auto &record : q.transport)
        take(record, SimulatedQ9::RECORD);
    for (int g = 0; g < SimulatedQ9::GROUPS; ++g)
        for (int c = SimulatedQ9::TRANSPORTS; c < SimulatedQ9::CONTROLS; ++c) {
            take(q.midi[g][c], SimulatedQ9::RECORD);
            take(q.lcd[g][c], 16);
        }
    for (auto &name : q.names)
        take(name, 14);
    take(q.common, sizeof q.common);
    for (auto &curve : q.curves)
        take(curve, 128);
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
    std::fputc(direction, f);
    std::fputc(' ', f);
    for (size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(f, i == 0 ? "%02X" : " %02X", bytes[i]);
    std::fputc('\n', f);
}

void Observe(const pmfake::Bytes &message, const std::vector<pmfake::Bytes> &answers)
{
    Glue &g = G();
    if (!g.log.empty()) {
        if (FILE *f = std::fopen(g.log.c_str(), "ab")) {
            LogLine(f, '>', message);
            for (const auto &a : answers)
                LogLine(f, '<', a);
            std::fclose(f);
        }
    }
    Dump();
}

std::string Trim(const std::string &s)
{
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

long Number(const std::string &value)
{
    return std::strtol(value.c_str(), nullptr, 10);
}

void Configure()
{
    Glue &g = G();
    SimulatedQ9 &q = g.controller;
    bool devices = true;
    if (const char *path = std::getenv("CVQ9_PMFAKE_CONFIG")) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            const size_t hash = line.find('#');
            if (hash != std::string::npos)
                line.erase(hash);
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = Trim(line.substr(0, eq));
            const std::string value = Trim(line.substr(eq + 1));
            if (key == "devices")
                devices = value != "none";
            else if (key == "memory_in") {
                std::ifstream file(value, std::ios::binary);
                std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
                LoadImage(q, image);
            } else if (key == "memory_out")
                g.memory_out = value;
            else if (key == "log")
                g.log = value;
            else if (key == "silent")
                q.silent = Number(value) != 0;
            else if (key == "refuse_acks")
                q.refuse_acks = Number(value) != 0;
            else if (key == "answer_budget")
                q.answer_budget = static_cast<int>(Number(value));
            else if (key == "answer_delay")
                q.answer_delay = static_cast<uint64_t>(Number(value));
            else if (key == "split_size")
                q.split_size = static_cast<size_t>(Number(value));
            else if (key == "split_gap")
                q.split_gap = static_cast<uint64_t>(Number(value));
        }
    }
    pmfake::Reset();
    if (devices)
        pmfake::SetUsualSystem(&q);
    pmfake::SetWriteObserver(Observe);
    g.last_dump.clear();
    Dump();
}

__attribute__((constructor)) void ConfigureAtLoad()
{
    Configure();
}

}  // namespace

// The rest of the real library's interface, which the program does not use:
// present so that the two libraries export the same functions.
extern "C" {
struct PmQueueStub;
PmQueueStub *Pm_QueueCreate(long, int32_t)
{
    return nullptr;
}
PmError Pm_QueueDestroy(PmQueueStub *)
{
    return pmBadPtr;
}
PmError Pm_Dequeue(PmQueueStub *, void *)
{
    return pmBadPtr;
}
PmError Pm_Enqueue(PmQueueStub *, void *)
{
    return pmBadPtr;
}
int Pm_QueueFull(PmQueueStub *)
{
    return 0;
}
int Pm_QueueEmpty(PmQueueStub *)
{
    return 1;
}
void *Pm_QueuePeek(PmQueueStub *)
{
    return nullptr;
}
PmError Pm_SetOverflow(PmQueueStub *)
{
    return pmBadPtr;
}
PmError Pm_Synchronize(PortMidiStream *)
{
    return pmNoError;
}
}
