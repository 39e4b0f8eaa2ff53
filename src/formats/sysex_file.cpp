#include "sysex_file.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "assignment_checks.h"
#include "bounded_read.h"
#include "config_tables.h"
#include "download_messages.h"
#include "global_params.h"
#include "record_access.h"
#include "safe_file_writer.h"
#include "text_bytes.h"

namespace {

// A file read for import is held whole; a whole configuration is about
// 110 kB, so anything beyond this is no file to import.
constexpr size_t kLargestImport = 64u * 1024u * 1024u;

// Bytes 0..5 say whose a message is: its start, the maker's identifier, the model.
constexpr size_t kOwnerBytes = 6;

// The decoders' kinds for a data answer (an upload's waits for MIDI and LCD data).
constexpr uint8_t kMidiData = 3;
constexpr uint8_t kLcdData = 4;

bool Append(std::vector<uint8_t> &bytes, uint8_t length, const uint8_t *sysex)
{
    if (length == SYSEX_INVALID_REQUEST)
        return false;
    bytes.insert(bytes.end(), sysex, sysex + length);
    return true;
}

// A control as a download sends it: its checks first (they refuse what the
// codec would pass on in another form, a character wider than a byte), then
// its MIDI write and, for a group control, its LCD write. `code` is the
// failing check's, or 0 when the codec refused.
bool AppendControl(std::vector<uint8_t> &bytes, unsigned group, unsigned index, uint8_t &code)
{
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    code = CheckStoredControl(group, index);
    if (!Check_Code_Passes(code))
        return false;
    code = 0;
    if (!Append(bytes, ControlMidiWrite(ACTION_WRITE_NO_ACK, group, index, sysex), sysex))
        return false;
    return IsTransportIndex(index) || Append(bytes, ControlLcdWrite(ACTION_WRITE_NO_ACK, group, index, sysex), sysex);
}

bool Decoded(uint8_t status)
{
    return status > 0 && status < SYSEX_NO_ANSWER;  // a decoder's success is a message length
}

bool CarriesOurHeader(const uint8_t *message)
{
    static const uint8_t header[kOwnerBytes] = {
        SYSEX_START,     CVQ9_MANUFACTURER_ID_0, CVQ9_MANUFACTURER_ID_1, CVQ9_MANUFACTURER_ID_2,
        CVQ9_MODEL_ID_0, CVQ9_MODEL_ID_1};
    return std::memcmp(message, header, sizeof header) == 0;
}

// The writes this controller takes: MIDI and LCD assignments, with or without
// acknowledge, and common parameters. Requests, answers and acknowledges
// carry its header but write nothing: they count as refused, so that the
// skipped messages are other devices' only.
//
// A write has the layout of the controller's data answer to a read request:
// marked as an answer, it goes through the decoder an upload uses. It is
// taken only when the codec would build exactly these bytes again from what
// it decoded: the encoder's rules (addresses, record checks, printable texts
// and names, lengths) are the rules of acceptance, and a bad checksum, a bad
// nibble or a length that does not match the data fail them as well.
// Nothing changes before the message is accepted whole.
bool ApplyWrite(const uint8_t *message, size_t count)
{
    if (count <= SYSEX_HEADER_LENGHT || count > SYSEX_BUFFER_SIZE)
        return false;
    uint8_t answer[SYSEX_BUFFER_SIZE] = {};
    std::memcpy(answer, message, count);
    const uint8_t code = message[6], index = message[8], group = message[9];
    answer[6] = static_cast<uint8_t>(code | SYSEX_ANSWER_BIT);
    const uint8_t action = (code & SYSEX_ACK_BIT) ? ACTION_WRITE_ACK : ACTION_WRITE_NO_ACK;
    uint8_t rebuilt[SYSEX_BUFFER_SIZE];
    auto rebuilt_same = [&](uint8_t length) { return length == count && std::memcmp(rebuilt, message, count) == 0; };

    switch (code) {
    case MIDI_ASSIGN_WRITE:
    case MIDI_ASSIGN_WRITE_ACK: {
        if (Check_invalid_request(code, index, group) != 0)
            return false;
        // String bytes beyond the length the message carries stay as they were.
        All_Params record = AddressedRecord(group, index);
        if (!Decoded(Cvq9_Sysex_To_Midi_Assign(kMidiData, &record, answer, index, group)) ||
            !rebuilt_same(Cvq9_Midi_Assign_To_Sysex(action, &record, rebuilt, index, group)))
            return false;
        AddressedRecord(group, index) = record;
        return true;
    }
    case LCD_ASSIGN_WRITE:
    case LCD_ASSIGN_WRITE_ACK: {
        if (IsTransportIndex(index))
            return false;  // LCD texts belong to group controls only
        uint8_t text[LCD_STRING_LENGHT + 1] = {};
        if (!Decoded(Cvq9_Sysex_To_Lcd_Assign(kLcdData, text, answer, index, group)) ||
            !rebuilt_same(Cvq9_Lcd_Assign_To_Sysex(action, text, rebuilt, index, group)))
            return false;
        mylcdstring[group][index] = FixedWidthText(text, LCD_STRING_LENGHT);  // as an upload stores it
        return true;
    }
    case COMMON_PARAM_WRITE: {
        const uint8_t address = index;
        if (Check_invalid_request(code, address, group) != 0)
            return false;
        uint8_t values[SYSEX_BUFFER_SIZE] = {};
        if (!Decoded(Cvq9_Sysex_To_Common_Param(address, values, answer, group)) ||
            !rebuilt_same(Cvq9_Common_Param_To_Sysex(action, address, values, rebuilt, group)))
            return false;
        if (address == COMMON_PARAM_GROUP_NAME) {
            mygroupnames[group] = FixedWidthText(values, GROUP_NAME_LENGHT);  // trailing spaces kept
        } else {
            // The tempo travels as a nibble pair of its one byte.
            const size_t size = address == COMMON_PARAM_TEMPO ? 1u : Get_Common_Param_Data_Lenght(address);
            std::memcpy(CommonItemBytes(address, nullptr), values, size);
        }
        return true;
    }
    default:
        return false;
    }
}

// Collects the messages of a byte stream as MIDI frames them: a 0xF0 starts a
// message (and cuts the one before), a 0xF7 ends it, realtime bytes may sit
// inside and are dropped, any other status byte cuts it. Only the first
// SYSEX_BUFFER_SIZE bytes of a message are kept; a longer one is counted on.
class MessageSplitter
{
public:
    explicit MessageSplitter(SysexImportCounts &counts) : counts_(counts) {}

    void Feed(uint8_t byte)
    {
        if (byte == SYSEX_START) {
            if (inside_)
                End(false);
            inside_ = true;
            length_ = 0;
            Store(byte);
            return;
        }
        if (!inside_ || byte >= 0xF8u)
            return;
        if (byte == SYSEX_END) {
            Store(byte);
            End(true);
        } else if (byte >= 0x80u) {
            End(false);
        } else {
            Store(byte);
        }
    }

    void Finish()
    {
        if (inside_)
            End(false);  // cut by the end of the file
    }

private:
    void Store(uint8_t byte)
    {
        if (length_ < SYSEX_BUFFER_SIZE)
            message_[length_] = byte;
        ++length_;
    }

    // A message too short to show whose it is counts as another device's.
    void End(bool complete)
    {
        inside_ = false;
        if (length_ < kOwnerBytes || !CarriesOurHeader(message_))
            ++counts_.skipped;
        else if (complete && ApplyWrite(message_, length_))
            ++counts_.applied;
        else
            ++counts_.refused;
    }

    SysexImportCounts &counts_;
    uint8_t message_[SYSEX_BUFFER_SIZE] = {};
    size_t length_ = 0;
    bool inside_ = false;
};

}  // namespace

SysexExport BuildSysexExport(float fw_version)
{
    SysexExport result;
    auto refuse = [&result](SysexExport::Refused what, unsigned group, unsigned item, uint8_t code) {
        result.refused = what;
        result.group = group;
        result.item = item;
        result.code = code;
        return result;
    };
    std::vector<uint8_t> bytes;
    uint8_t code = 0;
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        if (!AppendControl(bytes, 0, t, code))
            return refuse(SysexExport::Refused::Control, 0, t, code);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c)
            if (!AppendControl(bytes, g, c, code))
                return refuse(SysexExport::Refused::Control, g, c, code);
    uint8_t sysex[SYSEX_BUFFER_SIZE];
    for (const CommonTransferItem &item : kCommonTransferSequence) {
        if (!CommonItemTravels(item.address, fw_version))
            continue;
        const unsigned groups = item.address == COMMON_PARAM_GROUP_NAME ? GROUP_NB : 1;
        for (unsigned g = 0; g < groups; ++g)
            if (!Append(bytes, CommonItemWrite(item.address, static_cast<uint8_t>(g), sysex), sysex))
                return refuse(SysexExport::Refused::Parameter, g, item.address, 0);
    }
    result.bytes = std::move(bytes);
    return result;
}

SysexImportCounts ImportSysexBytes(const uint8_t *data, size_t size)
{
    SysexImportCounts counts;
    MessageSplitter splitter(counts);
    for (size_t i = 0; i < size; ++i)
        splitter.Feed(data[i]);
    splitter.Finish();
    return counts;
}

std::string SysexImportReport(const SysexImportCounts &counts)
{
    char text[160];
    std::snprintf(text, sizeof text, "Applied %u message%s, refused %u, skipped %u from other devices.", counts.applied,
                  counts.applied == 1 ? "" : "s", counts.refused, counts.skipped);
    return text;
}

std::string SaveSysexFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    if (WriteWholeFileSafely(path, bytes.data(), bytes.size()))
        return std::string();
    return "Unable to write/overwrite " + path;
}

SysexFileImport ImportSysexFile(const std::string &path)
{
    SysexFileImport result;
    // Read whole before any table changes: a failed read changes nothing.
    std::vector<uint8_t> bytes;
    const bool ok = ReadFileBounded(path, kLargestImport, bytes) == BoundedRead::Whole;
    if (!ok) {
        result.message = "Unable to read " + path;
        return result;
    }
    result.ok = true;
    result.counts = ImportSysexBytes(bytes.data(), bytes.size());
    return result;
}
