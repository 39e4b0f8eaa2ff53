#include "text_summary.h"

#include <cstdio>
#include <ctime>

#include "control_roster.h"
#include "safe_file_writer.h"

namespace {

constexpr uint8_t UNDEFINED_CONTROL_CODE = 2;

// Characters of a text up to its first NUL, each reduced to its low 8 bits.
std::string TextBytes(const Q9Text &text)
{
    std::string bytes;
    for (wchar_t ch : text) {
        if (ch == L'\0')
            break;
        bytes.push_back(static_cast<char>(static_cast<uint32_t>(ch) & 0xFFu));
    }
    return bytes;
}

// Byte length of the UTF-8 sequence starting at `at`, or 0 if it is not one.
size_t Utf8SequenceLength(const std::string &text, size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The first `limit` characters of a native path: UTF-8 characters when the
// whole path is valid UTF-8, bytes otherwise.
std::string CutPath(const std::string &path, size_t limit)
{
    size_t cut = path.size();
    size_t chars = 0;
    for (size_t at = 0; at < path.size();) {
        const size_t length = Utf8SequenceLength(path, at);
        if (length == 0)
            return path.substr(0, limit);
        if (chars == limit && cut == path.size())
            cut = at;
        at += length;
        ++chars;
    }
    return path.substr(0, cut);
}

void AppendHex(std::string &out, const All_Params &record)
{
    static const char digits[] = "0123456789ABCDEF";
    const size_t length =
        record.midi_str_lenght > MIDI_STRING_MAX_LENGHT ? MIDI_STRING_MAX_LENGHT : record.midi_str_lenght;
    for (size_t i = 0; i < length; ++i) {
        out.push_back(digits[record.midi_string[i] >> 4]);
        out.push_back(digits[record.midi_string[i] & 0x0F]);
    }
}

std::string TwoDigits(unsigned number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u", number);
    return text;
}

std::string GroupTitle(unsigned group)
{
    const std::string name = TextBytes(mygroupnames[group]);
    // Judged on the characters themselves: a character above 255 is not ASCII
    // even though its low 8 bits may be.
    bool ascii = true;
    for (wchar_t ch : mygroupnames[group]) {
        if (ch == L'\0')
            break;
        if (static_cast<uint32_t>(ch) > 0x7Fu)
            ascii = false;
    }
    if (name.empty() || name == " " || !ascii)
        return "GROUP " + TwoDigits(group);
    return name;
}

}  // namespace

std::string CurrentIsoDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0)
        return std::string();
    return text;
}

std::string BuildTextSummary(const std::string &library_path, const std::string &date)
{
    const std::string stars(36, '*');
    std::string out;
    out.reserve(96 * 1024);
    out += stars + "\n";
    out += "* CORVANA Q9 ASSIGNMENTS SUMMARY *\n";
    out += stars + "\n";
    out += "\n";
    out += "Library file: " + CutPath(library_path, SUMMARY_PATH_MAX_CHARS) + "\n";
    out += "Date: " + date + "\n";
    out += "\n";
    out += "***** TRANSPORT BAR *****\n";
    out += "\n";
    for (unsigned t = 0; t < TRANSPORT_NB; ++t) {
        out += "Control " + TwoDigits(t) + " [" + ControlName(t) + "] >> [MIDI] ";
        AppendHex(out, mytransport[t]);
        out += "\n";
    }
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        out += "\n\n***** " + GroupTitle(g) + " *****\n\n";
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            const All_Params &record = mycontrol[g][c];
            const std::string name = c == LAST_CONTROL_INDEX ? std::string("LFO") : ControlName(c);
            out += "Control " + TwoDigits(c) + " [" + name + "] >> ";
            if (CheckMidiStruct(&record, static_cast<uint8_t>(c)) == UNDEFINED_CONTROL_CODE) {
                out += "Undefined Control";
            } else {
                out += "[LCD] " + TextBytes(mylcdstring[g][c]) + " " + " [MIDI] ";
                AppendHex(out, record);
            }
            out += "\n";
        }
    }
    return out;
}

SummaryExportResult ExportTextSummaryFile(const std::string &path, const std::string &library_path,
                                          const std::string &date, const std::function<uint8_t()> &check_all)
{
    SummaryExportResult result;
    SafeFileWriter writer;
    bool ok = writer.Open(path);
    if (ok) {
        result.check = check_all ? check_all() : 0;
        if (result.check == 0) {
            const std::string text = BuildTextSummary(library_path, date);
            ok = writer.Write(text.data(), text.size());
        }
        ok = ok && writer.Commit();
    }
    if (!ok) {
        writer.Abort();
        result.ok = false;
        result.message = "Unable to create " + path;
    }
    return result;
}
