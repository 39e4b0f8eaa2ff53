// The MIDI traffic log and the meaning of its messages (see midi_traffic.h).
#include "midi_traffic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "config_tables.h"
#include "cross_functions.h"
#include "exchange.h"

namespace {

std::string Address(unsigned group, unsigned control)
{
    return ", group " + std::to_string(group) + ", control " + std::to_string(control);
}

std::string CommonItem(unsigned address)
{
    switch (address) {
    case COMMON_PARAM_TEMPO:
        return "tempo";
    case COMMON_PARAM_OPERATING:
        return "operating mode";
    case COMMON_PARAM_CURVE1_LOW:
        return "user curve 1, points 0 to 63";
    case COMMON_PARAM_CURVE1_HIGH:
        return "user curve 1, points 64 to 127";
    case COMMON_PARAM_CURVE2_LOW:
        return "user curve 2, points 0 to 63";
    case COMMON_PARAM_CURVE2_HIGH:
        return "user curve 2, points 64 to 127";
    case COMMON_PARAM_GROUP_NAME:
        return "group name";
    case COMMON_PARAM_IDENTITY:
        return "identity";
    default:
        return "global parameter " + std::to_string(address);
    }
}

// The data bytes after a channel or system status byte.
size_t DataBytesAfter(uint8_t status)
{
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    case 0xF0:
        return status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
    default:
        return 2;
    }
}

MessageMeaning OtherMessage(const std::vector<uint8_t> &b)
{
    static const char *const kChannelKinds[] = {"note off",         "note on",        "key pressure",
                                                "control change",   "program change", "channel pressure",
                                                "pitch bend"};
    const uint8_t status = b[0];
    if (status < 0x80)
        return {"data bytes without a status byte", true};
    if (status < 0xF0)
        return {std::string(kChannelKinds[(status >> 4) - 8]) + ", channel " + std::to_string((status & 0x0F) + 1),
                false};
    return {"system message", false};
}

// An incoming message of this controller, checked with the decoder of its kind.
MessageMeaning Answer(const TrafficMessage &m, const uint8_t *sysex, size_t length)
{
    const uint8_t code = sysex[6], kind = code & SYSEX_KIND_MASK, declared = sysex[7];
    const uint8_t index = sysex[8], group = sysex[9];
    const bool acknowledge = declared == 0 && kind != SYSEX_KIND_COMMON;
    MessageMeaning meaning;
    uint8_t status = SYSEX_MALFORMED;
    if (kind == SYSEX_KIND_MIDI) {
        All_Params record;
        status = Cvq9_Sysex_To_Midi_Assign(acknowledge ? 1 : 3, &record, sysex, index, group);
        meaning.text = acknowledge ? "acknowledge" : "MIDI assignment answer" + Address(group, index);
    } else if (kind == SYSEX_KIND_LCD) {
        uint8_t text[LCD_STRING_LENGHT + 1];
        status = Cvq9_Sysex_To_Lcd_Assign(acknowledge ? 2 : 4, text, sysex, index, group);
        meaning.text = acknowledge ? "acknowledge" : "LCD text answer" + Address(group, index);
    } else if (kind == SYSEX_KIND_COMMON) {
        uint8_t values[SYSEX_BUFFER_SIZE];
        status = Cvq9_Sysex_To_Common_Param(index, values, sysex, group);
        meaning.text = CommonItem(index) + " answer, group " + std::to_string(group);
    } else {
        return {"message of an unknown kind", true};
    }
    if (status == SYSEX_REFUSED) {
        meaning.text += ", refused";
        meaning.error = true;
    } else if (status >= SYSEX_INVALID_REQUEST || !DeclaredLengthMatches(sysex, static_cast<unsigned>(length))) {
        meaning.text += ", malformed";
        meaning.error = true;
    }
    // An answer carries the kind, the address and the group of its request;
    // an acknowledge answers a write asking for one, data a read request.
    const std::array<uint8_t, 10> &r = m.request;
    const bool answers = r[0] == SYSEX_START && (r[6] & SYSEX_KIND_MASK) == kind && r[8] == index &&
                         r[9] == group &&
                         (acknowledge ? (r[6] & (SYSEX_WRITE_BIT | SYSEX_ACK_BIT)) == (SYSEX_WRITE_BIT | SYSEX_ACK_BIT)
                                      : (r[6] & SYSEX_REQUEST_BIT) != 0);
    if (!answers) {
        meaning.text += ", not an answer to this request";
        meaning.error = true;
    }
    return meaning;
}

MessageMeaning Request(const uint8_t *sysex)
{
    const uint8_t code = sysex[6], kind = code & SYSEX_KIND_MASK;
    const uint8_t index = sysex[8], group = sysex[9];
    const bool read = (code & SYSEX_REQUEST_BIT) != 0;
    const bool ack = (code & SYSEX_ACK_BIT) != 0;
    std::string what;
    if (kind == SYSEX_KIND_MIDI || kind == SYSEX_KIND_LCD) {
        what = kind == SYSEX_KIND_MIDI ? "MIDI assignment " : "LCD text ";
        what += read ? "read request" : ack ? "write with acknowledge" : "write";
        return {what + Address(group, index), false};
    }
    if (kind == SYSEX_KIND_COMMON && index == COMMON_PARAM_IDENTITY && read)
        return {"identity request", false};
    if (kind == SYSEX_KIND_COMMON)
        return {CommonItem(index) + (read ? " read request" : " write") + ", group " + std::to_string(group), false};
    return {"message of an unknown kind", true};
}

}  // namespace

MessageMeaning DescribeMessage(const TrafficMessage &m)
{
    const std::vector<uint8_t> &b = m.bytes;
    if (b.empty())
        return {"empty message", true};
    if (b[0] != SYSEX_START)
        return OtherMessage(b);
    if (b.back() != SYSEX_END || b.size() > MidiTraffic::LONGEST_KEPT)
        return {"SysEx message cut short", true};
    const bool ours = b.size() > SYSEX_HEADER_LENGHT && b[1] == CVQ9_MANUFACTURER_ID_0 &&
                      b[2] == CVQ9_MANUFACTURER_ID_1 && b[3] == CVQ9_MANUFACTURER_ID_2 && b[4] == CVQ9_MODEL_ID_0 &&
                      b[5] == CVQ9_MODEL_ID_1;
    if (!ours)
        return {m.incoming ? "another device's SysEx, not an answer" : "another device's SysEx", m.incoming};
    if (!m.incoming)
        return Request(b.data());
    if ((b[6] & SYSEX_ANSWER_BIT) == 0)
        return {"echo of a request, not an answer", true};
    if (b.size() > SYSEX_BUFFER_SIZE)
        return {"answer longer than 128 bytes", true};
    uint8_t sysex[SYSEX_BUFFER_SIZE] = {};
    std::copy(b.begin(), b.end(), sysex);
    return Answer(m, sysex, b.size());
}

std::string HexBytes(const std::vector<uint8_t> &bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

bool FilterPasses(TrafficFilter filter, const TrafficMessage &message)
{
    switch (filter) {
    case TrafficFilter::SysExOnly:
        return !message.bytes.empty() && message.bytes[0] == SYSEX_START;
    case TrafficFilter::ErrorsOnly:
        return DescribeMessage(message).error;
    default:
        return true;
    }
}

std::string TrafficTime(const TrafficMessage &message)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(message.time);
    std::tm local{};
    localtime_r(&seconds, &local);
    const long ms = static_cast<long>(duration_cast<milliseconds>(message.time.time_since_epoch()).count() % 1000);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min, local.tm_sec, ms);
    return text;
}

std::string TrafficLine(const TrafficMessage &message, const MidiTraffic &traffic)
{
    return TrafficTime(message) + "\t" + traffic.PortName(message.port) + "\t" + (message.incoming ? "In" : "Out") +
           "\t" + HexBytes(message.bytes) + "\t" + DescribeMessage(message).text;
}

uint16_t MidiTraffic::PortIndex(const std::string &name)
{
    const auto known = std::find(ports_.begin(), ports_.end(), name);
    if (known != ports_.end())
        return static_cast<uint16_t>(known - ports_.begin());
    ports_.push_back(name);
    assemblies_.emplace_back();
    return static_cast<uint16_t>(ports_.size() - 1);
}

void MidiTraffic::UsePort(bool incoming, const std::string &name)
{
    (incoming ? in_port_ : out_port_) = PortIndex(name);
}

void MidiTraffic::Keep(TrafficMessage message)
{
    if (messages_.size() >= CAPACITY)
        messages_.pop_front();
    messages_.push_back(std::move(message));
    ++total_;
}

void MidiTraffic::Sent(const uint8_t *sysex)
{
    TrafficMessage m;
    m.time = std::chrono::system_clock::now();
    m.port = out_port_;
    for (size_t i = 0; i < SYSEX_BUFFER_SIZE; ++i) {
        m.bytes.push_back(sysex[i]);
        if (sysex[i] == SYSEX_END)
            break;
    }
    if (m.bytes.size() >= SYSEX_HEADER_LENGHT)
        std::copy(m.bytes.begin(), m.bytes.begin() + SYSEX_HEADER_LENGHT, last_request_.begin());
    Keep(std::move(m));
}

void MidiTraffic::Begin(Assembly &a, uint8_t first)
{
    End(a);
    a.message.time = std::chrono::system_clock::now();
    a.message.incoming = true;
    a.message.port = in_port_;
    a.message.request = last_request_;
    a.message.bytes.push_back(first);
}

void MidiTraffic::End(Assembly &a)
{
    if (!a.message.bytes.empty())
        Keep(std::move(a.message));
    a = Assembly();
}

void MidiTraffic::Received(PmMessage message)
{
    Assembly &a = assemblies_[in_port_];
    const uint32_t bits = static_cast<uint32_t>(message);
    for (int shift = 0; shift < 32; shift += 8) {
        const uint8_t byte = static_cast<uint8_t>(bits >> shift);
        if (byte >= 0xF8) {
            // A realtime message stands alone, even inside SysEx; its event
            // carries nothing else.
            if (shift == 0) {
                Assembly alone;
                Begin(alone, byte);
                End(alone);
                return;
            }
        } else if (byte == SYSEX_END && a.in_sysex) {
            a.message.bytes.push_back(byte);
            End(a);
        } else if (byte & 0x80) {
            Begin(a, byte);  // a status byte ends what came before
            a.in_sysex = byte == SYSEX_START;
            a.short_expected = a.in_sysex ? 0 : DataBytesAfter(byte);
            if (!a.in_sysex && a.short_expected == 0)
                End(a);
        } else if (a.in_sysex) {
            if (a.message.bytes.size() <= LONGEST_KEPT)
                a.message.bytes.push_back(byte);
        } else if (a.short_expected > 0) {
            a.message.bytes.push_back(byte);
            if (--a.short_expected == 0)
                End(a);
        } else if (shift == 0) {
            // A data byte without a status byte before it.
            Begin(a, byte);
            End(a);
            return;
        } else {
            return;  // the rest of the event, after its message
        }
    }
}

void MidiTraffic::Clear()
{
    messages_.clear();
    for (Assembly &a : assemblies_)
        a = Assembly();
}

MidiTraffic &Traffic()
{
    static MidiTraffic traffic;
    return traffic;
}
