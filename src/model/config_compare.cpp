#include "config_compare.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <set>
#include <utility>

#include "control_roster.h"
#include "global_params.h"
#include "record_access.h"
#include "text_bytes.h"

namespace {

// How a value is written in the list.
enum class Shown : uint8_t { Hex, Number, Chain, MidiString, Tempo };

// The fields of a record as the list names them. The string length is no
// field of its own: a string is its used bytes.
struct RecordField {
    const char *name;
    uint8_t All_Params::*byte;
    Shown shown;
};

const RecordField kRecordFields[] = {
    {"Standard mode event and number", &All_Params::ctrl_status_0, Shown::Hex},
    {"Outputs, delay and switch mode", &All_Params::ctrl_status_1, Shown::Hex},
    {"Curve model and nibbles", &All_Params::ctrl_status_2, Shown::Hex},
    {"MIDI channel position", &All_Params::midi_channel_position, Shown::Number},
    {"Control value position 1", &All_Params::ctrl_value_position_0, Shown::Number},
    {"Control value position 2", &All_Params::ctrl_value_position_1, Shown::Number},
    {"Min value", &All_Params::ctrl_value_min, Shown::Number},
    {"Max value", &All_Params::ctrl_value_max, Shown::Number},
    {"Checksum from byte", &All_Params::checksum_start_position, Shown::Number},
    {"Chained control", &All_Params::ctrl_chain, Shown::Chain},
    {"MIDI string", &All_Params::midi_str_lenght, Shown::MidiString},
};
constexpr uint16_t kMidiStringField = static_cast<uint16_t>(std::size(kRecordFields) - 1);

// The common parameters the global tabs exchange, by address.
struct CommonByte {
    uint8_t address;
    const char *name;
    Shown shown;
};

const CommonByte kCommonBytes[] = {
    {0, "MIDI merges and input filter", Shown::Hex},         {1, "Sync and arpeggiator source", Shown::Hex},
    {3, "SHIFT button and arpeggiator", Shown::Hex},         {4, "Motion, LFO, ribbon and analog mode", Shown::Hex},
    {5, "SHIFT lock, video, mode and LFO wave", Shown::Hex}, {11, "Current automation", Shown::Number},
    {kTempoByte, "Internal tempo (BPM)", Shown::Tempo},      {kOperatingModeByte, "Operating mode", Shown::Number},
};

const CommonByte *FindCommonByte(unsigned address)
{
    for (const CommonByte &entry : kCommonBytes)
        if (entry.address == address)
            return &entry;
    return nullptr;
}

std::string Narrow(const std::wstring &text)
{
    std::string bytes;
    for (wchar_t c : text)
        bytes.push_back(static_cast<char>(static_cast<unsigned>(c) & 0xFFu));
    return bytes;
}

std::string ByteText(uint8_t value, Shown shown)
{
    char text[16];
    switch (shown) {
    case Shown::Hex:
        std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
        return text;
    case Shown::Tempo:
        return Narrow(TempoText(value));
    case Shown::Chain: {
        const unsigned index = value & 0x7Fu;
        std::string name = index == 0 ? std::string("None") : ControlName(index);
        if (name.empty())
            name = "Control " + std::to_string(index);
        return (value & 0x80u) ? name + ", crossfade" : name;
    }
    default:
        return std::to_string(value);
    }
}

// The used bytes of a record's MIDI string.
std::vector<uint8_t> UsedString(const All_Params &record)
{
    const size_t length = std::min<size_t>(record.midi_str_lenght, MIDI_STRING_MAX_LENGHT);
    return {record.midi_string, record.midi_string + length};
}

std::string StringText(const All_Params &record)
{
    std::string text;
    for (uint8_t byte : UsedString(record)) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(byte));
        text += (text.empty() ? "" : " ") + std::string(hex);
    }
    return text.empty() ? std::string("(empty)") : text;
}

// A text as the controller holds it: its bytes up to the first NUL, at most
// `width`, padded with spaces (as the codec pads what it sends).
std::string DeviceForm(const Q9Text &text, size_t width)
{
    std::vector<uint8_t> bytes(width + 1, 0);
    const size_t length = TextToBytes(bytes.data(), text, width);
    std::string form(bytes.begin(), bytes.begin() + static_cast<long>(length));
    form.resize(width, ' ');
    return form;
}

std::string Quoted(std::string form)
{
    form.erase(form.find_last_not_of(' ') + 1);
    return "\"" + form + "\"";
}

std::string GroupText(const ComparedPart &part)
{
    if (part.kind == ComparedPart::CommonParams || part.kind == ComparedPart::StoredCommonParams ||
        part.kind == ComparedPart::Curves || (part.kind == ComparedPart::Record && IsTransportIndex(part.index)))
        return "-";
    return std::to_string(part.group);
}

class Lister
{
public:
    Lister(const ComparedPart &part, std::vector<ConfigDifference> &into) : part_(part), into_(into) {}

    void Add(uint16_t field, const std::string &control, const std::string &name, std::string editor,
             std::string controller)
    {
        ConfigDifference d;
        d.part = part_;
        d.field = field;
        d.group = GroupText(part_);
        d.control = control;
        d.field_name = name;
        d.editor_value = std::move(editor);
        d.controller_value = std::move(controller);
        into_.push_back(std::move(d));
    }

private:
    const ComparedPart &part_;
    std::vector<ConfigDifference> &into_;
};

void CompareRecords(Lister &list, const ComparedPart &part, const All_Params &editor, const All_Params &controller)
{
    const std::string &control = ControlName(part.index);
    for (uint16_t f = 0; f < kMidiStringField; ++f) {
        const RecordField &field = kRecordFields[f];
        if (editor.*field.byte != controller.*field.byte)
            list.Add(f, control, field.name, ByteText(editor.*field.byte, field.shown),
                     ByteText(controller.*field.byte, field.shown));
    }
    if (UsedString(editor) != UsedString(controller))
        list.Add(kMidiStringField, control, kRecordFields[kMidiStringField].name, StringText(editor),
                 StringText(controller));
}

void CompareTexts(Lister &list, const std::string &control, const char *name, const Q9Text &editor,
                  const Q9Text &controller, size_t width)
{
    const std::string a = DeviceForm(editor, width), b = DeviceForm(controller, width);
    if (a != b)
        list.Add(0, control, name, Quoted(a), Quoted(b));
}

}  // namespace

ConfigImage ConfigImage::OfTables()
{
    ConfigImage image;
    image.controls.assign(&mycontrol[0][0], &mycontrol[0][0] + GROUP_NB * CONTROLS_PER_GROUP);
    image.transport.assign(mytransport, mytransport + TRANSPORT_NB);
    image.lcd.assign(&mylcdstring[0][0], &mylcdstring[0][0] + GROUP_NB * CONTROLS_PER_GROUP);
    image.names.assign(mygroupnames, mygroupnames + GROUP_NB);
    image.common.assign(common_params, common_params + COMMON_PARAMS_LENGHT);
    image.curve1.assign(user_curve_1, user_curve_1 + USER_CURVE_POINTS);
    image.curve2.assign(user_curve_2, user_curve_2 + USER_CURVE_POINTS);
    return image;
}

void ConfigImage::ToTables() const
{
    std::copy(controls.begin(), controls.end(), &mycontrol[0][0]);
    std::copy(transport.begin(), transport.end(), mytransport);
    std::copy(lcd.begin(), lcd.end(), &mylcdstring[0][0]);
    std::copy(names.begin(), names.end(), mygroupnames);
    std::copy(common.begin(), common.end(), common_params);
    std::copy(curve1.begin(), curve1.end(), user_curve_1);
    std::copy(curve2.begin(), curve2.end(), user_curve_2);
}

const All_Params &ConfigImage::Record(unsigned group, unsigned index) const
{
    if (IsTransportIndex(index))
        return transport[index];
    return controls[(group % GROUP_NB) * CONTROLS_PER_GROUP + index % CONTROLS_PER_GROUP];
}

const Q9Text &ConfigImage::Lcd(unsigned group, unsigned index) const
{
    return lcd[(group % GROUP_NB) * CONTROLS_PER_GROUP + index % CONTROLS_PER_GROUP];
}

std::vector<ComparedPart> RangeParts(int from_group, int to_group, bool records, bool lcd_texts)
{
    std::vector<ComparedPart> parts;
    if (from_group == 0 && records)
        for (uint8_t t = 0; t < TRANSPORT_NB; ++t)
            parts.push_back({ComparedPart::Record, 0, t});
    const int last = std::min(to_group, static_cast<int>(GROUP_NB) - 1);
    for (int g = std::max(from_group, 0); g <= last; ++g) {
        const uint8_t group = static_cast<uint8_t>(g);
        parts.push_back({ComparedPart::GroupName, group, 0});
        for (uint8_t c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            if (records)
                parts.push_back({ComparedPart::Record, group, c});
            if (lcd_texts)
                parts.push_back({ComparedPart::LcdText, group, c});
        }
    }
    parts.push_back({ComparedPart::CommonParams, 0, 0});
    parts.push_back({ComparedPart::Curves, 0, 0});
    return parts;
}

std::vector<ComparedPart> LibraryParts(int from_group, int to_group)
{
    std::vector<ComparedPart> parts = RangeParts(from_group, to_group, true, true);
    for (ComparedPart &part : parts)
        if (part.kind == ComparedPart::CommonParams)
            part.kind = ComparedPart::StoredCommonParams;
    return parts;
}

size_t ControlsIn(const std::vector<ComparedPart> &parts)
{
    std::set<std::pair<unsigned, unsigned>> controls;
    for (const ComparedPart &part : parts)
        if (part.kind == ComparedPart::Record || part.kind == ComparedPart::LcdText)
            controls.emplace(IsTransportIndex(part.index) ? 0u : part.group, part.index);
    return controls.size();
}

std::vector<ConfigDifference> CompareImages(const ConfigImage &editor, const ConfigImage &controller,
                                            const std::vector<ComparedPart> &parts, float fw_version)
{
    std::vector<ConfigDifference> differences;
    for (const ComparedPart &part : parts) {
        Lister list(part, differences);
        switch (part.kind) {
        case ComparedPart::Record:
            CompareRecords(list, part, editor.Record(part.group, part.index),
                           controller.Record(part.group, part.index));
            break;
        case ComparedPart::LcdText:
            CompareTexts(list, ControlName(part.index), "LCD text", editor.Lcd(part.group, part.index),
                         controller.Lcd(part.group, part.index), LCD_STRING_LENGHT);
            break;
        case ComparedPart::GroupName:
            CompareTexts(list, std::string(), "Group name", editor.names[part.group % GROUP_NB],
                         controller.names[part.group % GROUP_NB], GROUP_NAME_LENGHT);
            break;
        case ComparedPart::CommonParams:
            for (const CommonTransferItem &item : kCommonTransferSequence) {
                const CommonByte *entry = FindCommonByte(item.address);
                if (!entry || !CommonItemTravels(item.address, fw_version))
                    continue;
                const uint8_t a = editor.common[item.address], b = controller.common[item.address];
                if (a != b)
                    list.Add(item.address, "Global parameters", entry->name, ByteText(a, entry->shown),
                             ByteText(b, entry->shown));
            }
            break;
        case ComparedPart::StoredCommonParams:
            for (unsigned address = 0; address < COMMON_PARAMS_LENGHT; ++address) {
                const CommonByte *entry = FindCommonByte(address);
                const uint8_t a = editor.common[address], b = controller.common[address];
                if (a != b)
                    list.Add(static_cast<uint16_t>(address), "Global parameters",
                             entry ? std::string(entry->name) : "Byte " + std::to_string(address),
                             ByteText(a, entry ? entry->shown : Shown::Number),
                             ByteText(b, entry ? entry->shown : Shown::Number));
            }
            break;
        case ComparedPart::Curves:
            for (unsigned curve = 0; curve < 2; ++curve)
                for (unsigned point = 0; point < USER_CURVE_POINTS; ++point) {
                    const uint8_t a = editor.Curve(curve)[point], b = controller.Curve(curve)[point];
                    if (a != b)
                        list.Add(static_cast<uint16_t>(curve * USER_CURVE_POINTS + point),
                                 "User curve " + std::to_string(curve + 1), "Point " + std::to_string(point),
                                 std::to_string(a), std::to_string(b));
                }
            break;
        }
    }
    return differences;
}

void TakeOtherValue(const ConfigDifference &difference, const ConfigImage &controller)
{
    const ComparedPart &part = difference.part;
    switch (part.kind) {
    case ComparedPart::Record: {
        All_Params &target = AddressedRecord(part.group, part.index);
        const All_Params &source = controller.Record(part.group, part.index);
        if (difference.field == kMidiStringField) {
            target.midi_str_lenght = source.midi_str_lenght;
            std::copy(std::begin(source.midi_string), std::end(source.midi_string), target.midi_string);
        } else if (difference.field < kMidiStringField) {
            uint8_t All_Params::*const byte = kRecordFields[difference.field].byte;
            target.*byte = source.*byte;
        }
        break;
    }
    case ComparedPart::LcdText:
        mylcdstring[part.group % GROUP_NB][part.index % CONTROLS_PER_GROUP] = controller.Lcd(part.group, part.index);
        break;
    case ComparedPart::GroupName:
        mygroupnames[part.group % GROUP_NB] = controller.names[part.group % GROUP_NB];
        break;
    case ComparedPart::CommonParams:
    case ComparedPart::StoredCommonParams:
        if (difference.field < COMMON_PARAMS_LENGHT)
            common_params[difference.field] = controller.common[difference.field];
        break;
    case ComparedPart::Curves: {
        const unsigned curve = difference.field / USER_CURVE_POINTS, point = difference.field % USER_CURVE_POINTS;
        if (curve < 2)
            (curve == 0 ? user_curve_1 : user_curve_2)[point] = controller.Curve(curve)[point];
        break;
    }
    }
}
