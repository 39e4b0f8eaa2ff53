#include "midnam.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include "bounded_read.h"

namespace {

// Letters of U+00C0..U+00FF without their accents.
const char kLatinLetters[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
static_assert(sizeof kLatinLetters == 0x40 + 1, "one letter per character");

bool StartsWith(const char *p, size_t n, size_t at, const char *prefix)
{
    const size_t len = std::strlen(prefix);
    return n - at >= len && std::memcmp(p + at, prefix, len) == 0;
}

// Position after the first `end` at or after `at`, or `n`.
size_t After(const char *p, size_t n, size_t at, const char *end)
{
    const size_t len = std::strlen(end);
    for (size_t i = at; i + len <= n; ++i)
        if (std::memcmp(p + i, end, len) == 0)
            return i + len;
    return n;
}

// Position of the '>' closing the tag that starts at `at` (outside quoted
// values), or `n`. `subset` tells whether a '[' stood outside quotes.
size_t TagEnd(const char *p, size_t n, size_t at, bool &subset)
{
    char quote = 0;
    subset = false;
    for (size_t i = at; i < n; ++i) {
        if (quote) {
            if (p[i] == quote)
                quote = 0;
        } else if (p[i] == '"' || p[i] == '\'') {
            quote = p[i];
        } else if (p[i] == '[') {
            subset = true;
        } else if (p[i] == '>') {
            return i;
        }
    }
    return n;
}

// The bounds the document must keep before the XML reader sees it: its
// elements nested at most MIDNAM_MAX_DEPTH deep (the reader's tree is freed
// recursively), and no internal declarations (entities). A scan of the
// markup's nesting, not a reader: anything it lets through the XML reader
// still judges.
std::string MarkupProblem(const char *p, size_t n)
{
    unsigned depth = 0;
    size_t i = 0;
    while (i < n) {
        if (p[i] != '<') {
            ++i;
            continue;
        }
        bool subset = false;
        if (StartsWith(p, n, i, "<!--")) {
            i = After(p, n, i + 4, "-->");
        } else if (StartsWith(p, n, i, "<![CDATA[")) {
            i = After(p, n, i + 9, "]]>");
        } else if (StartsWith(p, n, i, "<?")) {
            i = After(p, n, i + 2, "?>");
        } else if (StartsWith(p, n, i, "<!")) {
            i = TagEnd(p, n, i + 2, subset) + 1;
            if (subset)
                return "it declares entities or elements of its own";
        } else if (StartsWith(p, n, i, "</")) {
            depth -= depth > 0;
            i = TagEnd(p, n, i + 2, subset) + 1;
        } else {
            const size_t end = TagEnd(p, n, i + 1, subset);
            const bool empty = end < n && p[end - 1] == '/';
            if (!empty && ++depth > MIDNAM_MAX_DEPTH)
                return "its elements are nested more than 64 deep";
            i = end + 1;
        }
    }
    return {};
}

// Keeps the XML reader's complaint for our own message instead of letting it
// reach the program's log window.
class CapturedLog : public wxLog
{
public:
    wxString first;

protected:
    void DoLogRecord(wxLogLevel level, const wxString &msg, const wxLogRecordInfo &) override
    {
        if (first.empty() && level <= wxLOG_Warning)
            first = msg;
    }
};

// The document's tree is freed one node at a time: freeing it whole would
// recurse once per level.
void FreeTree(wxXmlNode *root)
{
    std::vector<wxXmlNode *> pending;
    if (root)
        pending.push_back(root);
    while (!pending.empty()) {
        wxXmlNode *node = pending.back();
        pending.pop_back();
        while (wxXmlNode *child = node->GetChildren()) {
            node->RemoveChild(child);
            pending.push_back(child);
        }
        delete node;
    }
}

bool Is(const wxXmlNode *node, const char *name)
{
    return node->GetType() == wxXML_ELEMENT_NODE && node->GetName() == name;
}

const wxXmlNode *Child(const wxXmlNode *parent, const char *name)
{
    for (const wxXmlNode *n = parent->GetChildren(); n; n = n->GetNext())
        if (Is(n, name))
            return n;
    return nullptr;
}

// Printable ASCII: accented Latin letters lose their accents, a few signs
// become their ASCII spelling, white space runs become one space, anything
// else a '?'.
std::string Printable(const wxString &text)
{
    std::string out;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
        const wxUint32 c = static_cast<wxUint32>((*it).GetValue());
        if (c > 0x20 && c < 0x7F)
            out.push_back(static_cast<char>(c));
        else if (c <= 0x20 || c == 0x7F || c == 0xA0 || (c >= 0x2000 && c <= 0x200B))
            out.push_back(' ');
        else if (c >= 0xC0 && c <= 0xFF)
            out.push_back(kLatinLetters[c - 0xC0]);
        else if (c == 0x2264)
            out += "<=";
        else if (c == 0x2265)
            out += ">=";
        else if (c == 0x2018 || c == 0x2019 || c == 0xB4)
            out.push_back('\'');
        else if (c == 0x201C || c == 0x201D)
            out.push_back('"');
        else if (c == 0x2013 || c == 0x2014)
            out.push_back('-');
        else if (c == 0x2026)
            out += "...";
        else
            out.push_back('?');
    }
    std::string squeezed;
    for (char c : out)
        if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' '))
            squeezed.push_back(c);
    while (!squeezed.empty() && squeezed.back() == ' ')
        squeezed.pop_back();
    return squeezed;
}

std::string Attribute(const wxXmlNode *node, const char *name)
{
    return Printable(node->GetAttribute(name, wxString()));
}

// A decimal number up to `max`.
bool Number(const std::string &text, long max, long &value)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), ::isdigit))
        return false;
    value = std::stol(text);
    return value <= max;
}

using ValueLists = std::map<wxString, const wxXmlNode *>;

// The lowest and highest listed value; false when a value is no number.
bool ListedRange(const wxXmlNode *list, long &lo, long &hi)
{
    bool any = false;
    for (const wxXmlNode *v = list ? list->GetChildren() : nullptr; v; v = v->GetNext()) {
        if (!Is(v, "Value"))
            continue;
        long n = 0;
        if (!Number(Attribute(v, "Number"), 16383, n))
            return false;
        lo = any ? std::min(lo, n) : n;
        hi = any ? std::max(hi, n) : n;
        any = true;
    }
    return true;
}

// The control's value range on the controller's 7 bits.
bool ValueRange(const wxXmlNode *control, const ValueLists &lists, bool fourteen_bits, uint8_t &min, uint8_t &max)
{
    long lo = 0, hi = 127;
    if (const wxXmlNode *values = Child(control, "Values")) {
        const std::string min_text = Attribute(values, "Min"), max_text = Attribute(values, "Max");
        if (!min_text.empty() || !max_text.empty()) {
            if (!Number(min_text, 16383, lo) || !Number(max_text, 16383, hi))
                return false;
        } else {
            const wxXmlNode *list = Child(values, "ValueNameList");
            if (const wxXmlNode *uses = Child(values, "UsesValueNameList")) {
                const auto named = lists.find(uses->GetAttribute("Name", wxString()));
                list = named != lists.end() ? named->second : nullptr;
            }
            if (!ListedRange(list, lo, hi))
                return false;
        }
    }
    if (fourteen_bits && hi > 127) {
        lo >>= 7;
        hi >>= 7;
    }
    if (lo > hi || hi > 127)
        return false;
    min = static_cast<uint8_t>(lo);
    max = static_cast<uint8_t>(hi);
    return true;
}

// One control as a parameter; false when it cannot be expressed. `label`
// tells the kind and number apart ("CC 7", "NRPN 300").
bool ConvertControl(const wxXmlNode *control, const ValueLists &lists, PresetParameter &param, std::string &label)
{
    std::string type = Attribute(control, "Type");
    std::transform(type.begin(), type.end(), type.begin(), ::tolower);
    long number = 0;
    if (!Number(Attribute(control, "Number"), 16383, number))
        return false;
    const uint8_t msb = static_cast<uint8_t>(number >> 7), lsb = static_cast<uint8_t>(number & 0x7F);
    bool wide = true;
    if (type.empty() || type == "7bit" || type == "14bit") {
        wide = type == "14bit";
        if (number > (wide ? 31 : 127))
            return false;
        param.event = {0xB0, lsb, 0x00};
        label = "CC " + std::to_string(number);
    } else if (type == "nrpn" || type == "rpn") {
        const uint8_t select = type == "nrpn" ? 0x63 : 0x65;
        param.event = {0xB0, select, msb, static_cast<uint8_t>(select - 1), lsb, 0x06, 0x00};
        label = (type == "nrpn" ? "NRPN " : "RPN ") + std::to_string(number);
    } else {
        return false;
    }
    param.name = Attribute(control, "Name");
    if (param.name.empty() || !ValueRange(control, lists, wide, param.pos[3], param.pos[4]))
        return false;
    param.pos[0] = 1;
    param.pos[1] = 0;
    param.pos[2] = static_cast<uint8_t>(param.event.size());
    return true;
}

// The parameters of one device's control lists; two controls of one name
// carry their kind and number after it.
std::vector<PresetParameter> DeviceParameters(const wxXmlNode *device, unsigned &skipped)
{
    ValueLists lists;
    for (const wxXmlNode *n = device->GetChildren(); n; n = n->GetNext())
        if (Is(n, "ValueNameList"))
            lists.emplace(n->GetAttribute("Name", wxString()), n);

    std::vector<PresetParameter> params;
    std::vector<std::string> labels;
    std::map<std::string, unsigned> uses;
    for (const wxXmlNode *list = device->GetChildren(); list; list = list->GetNext()) {
        if (!Is(list, "ControlNameList"))
            continue;
        for (const wxXmlNode *control = list->GetChildren(); control; control = control->GetNext()) {
            if (!Is(control, "Control"))
                continue;
            PresetParameter param;
            std::string label;
            if (!ConvertControl(control, lists, param, label)) {
                ++skipped;
                continue;
            }
            ++uses[param.name];
            params.push_back(std::move(param));
            labels.push_back(label);
        }
    }

    std::vector<PresetParameter> kept;
    std::set<std::string> names;
    for (size_t i = 0; i < params.size(); ++i) {
        PresetParameter &p = params[i];
        if (uses[p.name] > 1) {
            const std::string suffix = " (" + labels[i] + ")";
            p.name = p.name.substr(0, PRESET_NAME_MAX - suffix.size()) + suffix;
        }
        p.name.resize(std::min<size_t>(p.name.size(), PRESET_NAME_MAX));
        p.lcd = PresetLcdText(p.name);
        if (kept.size() >= static_cast<size_t>(PRESET_MAX_PARAMS) || !names.insert(p.name).second) {
            ++skipped;  // beyond what the chooser lists, or the same control twice
            continue;
        }
        kept.push_back(std::move(p));
    }
    return kept;
}

std::string GearName(const std::string &manufacturer, const std::string &model)
{
    std::string name = manufacturer;
    if (!name.empty() && !model.empty())
        name.push_back(' ');
    name += model;
    name.resize(std::min<size_t>(name.size(), PRESET_NAME_MAX));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

}  // namespace

MidnamConversion ConvertMidnam(const uint8_t *data, size_t size)
{
    MidnamConversion result;
    if (size > MIDNAM_MAX_BYTES) {
        result.error = "The file is refused: it is larger than 4 MB.";
        return result;
    }
    const std::string bound = MarkupProblem(reinterpret_cast<const char *>(data), size);
    if (!bound.empty()) {
        result.error = "The file is refused: " + bound + ".";
        return result;
    }

    wxXmlDocument document;
    bool loaded = false;
    CapturedLog log;
    {
        wxLog *previous = wxLog::SetActiveTarget(&log);
        wxMemoryInputStream in(data, size);
        loaded = size > 0 && document.Load(in);
        wxLog::SetActiveTarget(previous);
    }
    wxXmlNode *root = loaded ? document.DetachRoot() : nullptr;
    if (!root) {
        const wxString why = log.first.empty() ? wxString("it holds no XML document") : log.first;
        result.error = "The file is not a MIDI name document: " + Printable(why) + ".";
        return result;
    }
    if (!Is(root, "MIDINameDocument")) {
        result.error = "The file is not a MIDI name document: its root element is <" + Printable(root->GetName()) + ">.";
        FreeTree(root);
        return result;
    }

    for (const wxXmlNode *device = root->GetChildren(); device; device = device->GetNext()) {
        if (!Is(device, "MasterDeviceNames") || !Child(device, "ControlNameList"))
            continue;
        const std::vector<PresetParameter> params = DeviceParameters(device, result.skipped);
        if (params.empty())
            continue;
        const wxXmlNode *maker = Child(device, "Manufacturer");
        const std::string manufacturer = maker ? Printable(maker->GetNodeContent()) : std::string();
        std::vector<std::string> models;
        for (const wxXmlNode *n = device->GetChildren(); n; n = n->GetNext())
            if (Is(n, "Model"))
                models.push_back(Printable(n->GetNodeContent()));
        if (models.empty())
            models.emplace_back();
        for (const std::string &model : models) {
            PresetGear gear;
            gear.name = GearName(manufacturer, model);
            if (gear.name.empty() || result.gear.size() >= static_cast<size_t>(PRESET_MAX_GEAR))
                continue;
            gear.params = params;
            result.gear.push_back(std::move(gear));
        }
    }
    FreeTree(root);
    return result;
}

MidnamConversion ConvertMidnamFile(const std::string &path)
{
    MidnamConversion result;
    std::vector<uint8_t> bytes;
    switch (ReadFileBounded(path, MIDNAM_MAX_BYTES, bytes)) {
    case BoundedRead::Missing:
        result.error = "The file cannot be opened.";
        return result;
    case BoundedRead::Failed:
        result.error = "The file cannot be read.";
        return result;
    case BoundedRead::TooLarge:
        // Refused on its length alone, with the same message as in memory.
        return ConvertMidnam(nullptr, MIDNAM_MAX_BYTES + 1);
    case BoundedRead::Whole:
        break;
    }
    return ConvertMidnam(bytes.data(), bytes.size());
}
