#include "controller_search.h"

#include <memory>
#include <vector>

#include "config_tables.h"
#include "cross_functions.h"
#include "midi_traffic.h"

namespace {

std::string NameOf(const MidiDeviceEntry &entry)
{
    std::string name;
    for (wchar_t c : entry.name)
        name.push_back(static_cast<char>(c));
    return name;
}

// One listening input with the answer it is collecting.
struct Listener {
    PortMidiStream *stream = nullptr;
    int position = 0;
    std::string name;
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    SysexCollector collector{buffer};
};

// Reads what the input holds; true when an identity answer is complete.
bool HeardIdentity(Listener &l, uint8_t *identity)
{
    Traffic().UsePort(true, l.name);
    PmEvent event;
    for (unsigned n = 0; n < EVENTS_PER_STEP && Pm_Poll(l.stream) > 0 && Pm_Read(l.stream, &event, 1) > 0; ++n) {
        Traffic().Received(event.message);
        l.collector.Feed(event.message);
        if (!l.collector.Ended())
            continue;
        const bool whole = l.collector.Complete() && !l.collector.Overflowed() &&
                           l.collector.Count() > SYSEX_HEADER_LENGHT &&
                           DeclaredLengthMatches(l.buffer, l.collector.Count());
        AnswerTarget target;
        target.values = identity;
        if (whole && DecodeSysexAnswer(WAIT_IDENTITY, l.buffer, target) < SYSEX_MALFORMED)
            return true;
        l.collector.Start();
    }
    return false;
}

}  // namespace

MidiDeviceLists RelistMidiDevices()
{
    Pm_Terminate();
    Pm_Initialize();
    return ListMidiDevices();
}

ControllerSearch SearchController(const WaitStepHook &step)
{
    ControllerSearch found;
    found.lists = RelistMidiDevices();

    std::vector<std::unique_ptr<Listener>> listeners;
    for (size_t i = 0; i < found.lists.inputs.size(); ++i) {
        auto l = std::make_unique<Listener>();
        if (Pm_OpenInput(&l->stream, found.lists.inputs[i].device, nullptr, MIDI_IN_BUFFER_SIZE, nullptr, nullptr) <
            0)
            continue;
        Pm_SetFilter(l->stream, MIDI_IN_FILTER);
        l->position = static_cast<int>(i);
        l->name = NameOf(found.lists.inputs[i]);
        listeners.push_back(std::move(l));
    }

    uint8_t request[SYSEX_BUFFER_SIZE];
    uint8_t unused[11] = {};
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, unused, request, 0);
    for (size_t o = 0; o < found.lists.outputs.size() && found.out_position < 0 && !must_finish_midi; ++o) {
        PortMidiStream *out = nullptr;
        if (Pm_OpenOutput(&out, found.lists.outputs[o].device, nullptr, MIDI_OUT_BUFFER_SIZE, nullptr, nullptr,
                          MIDI_OUT_LATENCY) < 0)
            continue;
        // What the inputs held before this request answers nothing.
        for (auto &l : listeners) {
            uint8_t ignored[11];
            for (int n = 0; n < 16 && HeardIdentity(*l, ignored); ++n) {
            }
            l->collector.Start();
        }
        Traffic().UsePort(false, NameOf(found.lists.outputs[o]));
        Traffic().Sent(request);
        Pm_WriteSysEx(out, SYSEX_SEND_TIMESTAMP, request);
        for (unsigned s = 0; s < SEARCH_STEPS_PER_OUTPUT && found.out_position < 0 && !must_finish_midi; ++s) {
            for (auto &l : listeners) {
                if (HeardIdentity(*l, found.identity)) {
                    found.in_position = l->position;
                    found.out_position = static_cast<int>(o);
                    break;
                }
            }
            if (step && found.out_position < 0)
                step(s);
        }
        Pm_Close(out);
    }
    for (auto &l : listeners)
        Pm_Close(l->stream);
    return found;
}
