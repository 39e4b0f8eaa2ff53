#include "control_search.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <map>

#include "cross_functions.h"
#include "record_access.h"

namespace {

bool IsValuePosition(const All_Params &r, unsigned position)
{
    return position != 0 && (r.ctrl_value_position_0 == position || r.ctrl_value_position_1 == position);
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t &c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool Matches(const ControlQuery &q, const SentMessage &m)
{
    return (q.kind < 0 || q.kind == m.kind) && (q.number < 0 || q.number == m.number) &&
           (q.channel < 0 || q.channel == m.channel);
}

bool ContainsRun(const All_Params &r, const std::vector<uint8_t> &run)
{
    const unsigned length = std::min<unsigned>(r.midi_str_lenght, sizeof r.midi_string);
    return std::search(r.midi_string, r.midi_string + length, run.begin(), run.end()) != r.midi_string + length;
}

template <typename Visit>
void ForEachControl(Visit visit)
{
    for (unsigned t = 0; t < FIRST_GROUP_CONTROL; ++t)
        visit(0u, t);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c)
            visit(g, c);
}

}  // namespace

std::vector<SentMessage> MessagesOf(const All_Params &r)
{
    std::vector<SentMessage> messages;
    if (CheckMidiStruct(&r, FIRST_GROUP_CONTROL) == 2)
        return messages;  // an undefined control sends nothing
    const unsigned length = std::min<unsigned>(r.midi_str_lenght, sizeof r.midi_string);
    if (length > 0) {
        SentMessage m;
        const uint8_t status = r.midi_string[0];
        m.channel_message = status >= 0x80 && status < 0xF0;
        m.kind = m.channel_message ? static_cast<uint8_t>(status & 0xF0) : status;
        if (m.channel_message) {
            m.channel = r.midi_channel_position == 1 ? SentMessage::CONTROLLER_CHANNEL : (status & 0x0F) + 1;
            const bool numbered = m.kind <= 0xB0;  // note off, note on, key pressure, control change
            if (numbered && length > 1 && !IsValuePosition(r, 2) && r.midi_channel_position != 2)
                m.number = r.midi_string[1];
        }
        messages.push_back(m);
    }
    {
        SentMessage standard;
        standard.channel_message = true;
        standard.kind = (r.ctrl_status_0 & 0x80) ? 0x90 : 0xB0;
        standard.channel = SentMessage::CONTROLLER_CHANNEL;
        standard.number = r.ctrl_status_0 & 0x7F;
        standard.standard_mode = true;
        messages.push_back(standard);
    }
    return messages;
}

std::string DescribeSent(const SentMessage &m)
{
    static const char *const kKinds[] = {"Note off",       "Note on",          "Key pressure", "Control change",
                                         "Program change", "Channel pressure", "Pitch bend"};
    std::string text;
    if (!m.channel_message) {
        text = m.kind == 0xF0 ? "System exclusive" : "Bytes without a channel message";
    } else {
        text = kKinds[(m.kind >> 4) - 8];
        if (m.number >= 0)
            text += " " + std::to_string(m.number);
        text += m.channel == SentMessage::CONTROLLER_CHANNEL ? ", the controller's channel"
                                                              : ", channel " + std::to_string(m.channel);
    }
    return m.standard_mode ? text + " (standard mode)" : text;
}

std::vector<FoundControl> SearchControls(const ControlQuery &q)
{
    std::vector<FoundControl> found;
    const std::wstring lcd = Lower(q.lcd);
    ForEachControl([&](unsigned g, unsigned c) {
        const All_Params &r = AddressedRecord(g, c);
        if (!q.bytes.empty() && !ContainsRun(r, q.bytes))
            return;
        if (!lcd.empty() && (c < FIRST_GROUP_CONTROL || Lower(mylcdstring[g][c]).find(lcd) == std::wstring::npos))
            return;
        for (const SentMessage &m : MessagesOf(r)) {
            // Bytes given: only the MIDI string can hold them.
            if (Matches(q, m) && !(m.standard_mode && !q.bytes.empty())) {
                found.push_back({g, c, DescribeSent(m)});
                return;
            }
        }
        if (q.kind < 0 && q.number < 0 && q.channel < 0 && (!q.bytes.empty() || !lcd.empty()))
            found.push_back({g, c, std::string()});
    });
    return found;
}

std::vector<Conflict> SearchConflicts()
{
    std::vector<Conflict> conflicts;
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        // Controls by what they send, in control order; the standard mode
        // and the MIDI strings clash only among themselves.
        std::vector<std::pair<SentMessage, std::vector<unsigned>>> seen;
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            for (const SentMessage &m : MessagesOf(AddressedRecord(g, c))) {
                if (!m.channel_message || m.number < 0)
                    continue;
                auto same = std::find_if(seen.begin(), seen.end(), [&m](const auto &s) {
                    return s.first == m && s.first.standard_mode == m.standard_mode;
                });
                if (same == seen.end())
                    seen.push_back({m, {c}});
                else
                    same->second.push_back(c);
            }
        }
        for (const auto &s : seen)
            if (s.second.size() > 1)
                conflicts.push_back({g, s.second, DescribeSent(s.first)});
    }
    return conflicts;
}

bool ParseHexBytes(const std::string &text, std::vector<uint8_t> &bytes)
{
    std::string digits;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        digits += c;
    }
    if (digits.size() % 2 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return true;
}
