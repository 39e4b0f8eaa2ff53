#include "legacy_import.h"

#include <cstdio>

#include "record_access.h"

namespace {

constexpr unsigned LEGACY_LCD_TEXT_MAX = 16;
constexpr unsigned LEGACY_LAST_GROUP = GROUP_NB - 1;

// Characters of a legacy file held in memory.
class BufferSource
{
public:
    BufferSource(const uint8_t *data, size_t size) : data_(data), size_(data ? size : 0) {}
    int Peek() const { return position_ < size_ ? data_[position_] : EOF; }
    void Next()
    {
        if (position_ < size_)
            ++position_;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t position_ = 0;
};

// Characters of a legacy file read as it goes, with one character of lookahead;
// a read error ends the file.
class FileSource
{
public:
    explicit FileSource(FILE *file) : file_(file) { next_ = std::getc(file_); }
    int Peek() const { return next_; }
    void Next()
    {
        if (next_ != EOF)
            next_ = std::getc(file_);
    }

private:
    FILE *file_;
    int next_;
};

bool IsSpace(int ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

int DigitValue(int ch, unsigned base)
{
    int value = -1;
    if (ch >= '0' && ch <= '9')
        value = ch - '0';
    else if (ch >= 'A' && ch <= 'F')
        value = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f')
        value = ch - 'a' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

template <typename Source>
void SkipSpace(Source &source)
{
    while (IsSpace(source.Peek()))
        source.Next();
}

// Matches `word` character by character, consuming what matches.
template <typename Source>
bool Expect(Source &source, const char *word)
{
    for (; *word; ++word) {
        if (source.Peek() != static_cast<unsigned char>(*word))
            return false;
        source.Next();
    }
    return true;
}

// A number of one or two digits, after optional white space (as "%02d" / "%02X").
template <typename Source>
bool ReadNumber(Source &source, unsigned base, unsigned &value)
{
    SkipSpace(source);
    int digit = DigitValue(source.Peek(), base);
    if (digit < 0)
        return false;
    value = static_cast<unsigned>(digit);
    source.Next();
    digit = DigitValue(source.Peek(), base);
    if (digit >= 0) {
        value = value * base + static_cast<unsigned>(digit);
        source.Next();
    }
    return true;
}

// A text of at most `limit` characters ended by ".", which is consumed.
// After a text of full length the "." must follow at once.
template <typename Source>
bool ReadDottedText(Source &source, size_t limit, std::string &text)
{
    text.clear();
    while (text.size() < limit) {
        const int ch = source.Peek();
        if (ch == EOF)
            return false;
        if (ch == '.')
            break;
        text.push_back(static_cast<char>(ch));
        source.Next();
    }
    if (source.Peek() != '.')
        return false;
    source.Next();
    return true;
}

// One header item: optional white space, the header word (as far as it
// matches), then everything up to and including the next "." or to the end
// of the file. A missing word thus skips to the next ".".
template <typename Source>
void SkipHeaderItem(Source &source, const char *word)
{
    SkipSpace(source);
    Expect(source, word);
    for (;;) {
        const int ch = source.Peek();
        if (ch == EOF)
            return;
        source.Next();
        if (ch == '.')
            return;
    }
}

struct LegacyLine {
    unsigned old_control = 0;
    unsigned group = 0;
    unsigned field[9] = {0};
    std::string midi_text;
    std::string lcd_text;
};

uint8_t LegacyMidiLength(unsigned field1)
{
    const unsigned length = field1 & 0x1Fu;
    return static_cast<uint8_t>(length > MIDI_STRING_MAX_LENGHT ? MIDI_STRING_MAX_LENGHT : length);
}

// "[K%02d][G%02d].%02X. ... %02X." then the MIDI text and the LCD text.
template <typename Source>
bool ReadControlLine(Source &source, LegacyLine &line)
{
    if (!Expect(source, "[K") || !ReadNumber(source, 10, line.old_control) || !Expect(source, "][G") ||
        !ReadNumber(source, 10, line.group) || !Expect(source, "]."))
        return false;
    for (unsigned &field : line.field) {
        if (!ReadNumber(source, 16, field) || !Expect(source, "."))
            return false;
    }
    if (!ReadDottedText(source, 2u * LegacyMidiLength(line.field[0]), line.midi_text))
        return false;
    if (!ReadDottedText(source, LEGACY_LCD_TEXT_MAX, line.lcd_text))
        return false;
    SkipSpace(source);
    return true;
}

void ReplaceAll(std::string &text, const std::string &from, char to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + from.size()))
        text.replace(at, from.size(), from.size(), to);
}

unsigned HexCharValue(const std::string &text, size_t at)
{
    if (at >= text.size())
        return 0;
    const int value = DigitValue(static_cast<unsigned char>(text[at]), 16);
    return value < 0 ? 0u : static_cast<unsigned>(value);
}

void ConvertLine(const LegacyLine &line, All_Params &record, Q9Text &lcd)
{
    const unsigned *f = line.field;
    uint8_t status_1 = 0x9C;
    if (f[6] & 0x20u)
        status_1 |= 0x20;
    if (f[3] & 0x80u)
        status_1 |= 0x40;
    status_1 = static_cast<uint8_t>((status_1 & ~0x03u) | ((f[0] >> 5) & 0x03u));

    record.ctrl_status_0 = 0;
    record.ctrl_status_1 = status_1;
    record.ctrl_status_2 = 0;
    record.midi_str_lenght = LegacyMidiLength(f[0]);
    record.midi_channel_position = static_cast<uint8_t>(f[2] & 0x1Fu);
    record.ctrl_value_position_0 = static_cast<uint8_t>(f[3] & 0x1Fu);
    record.ctrl_value_position_1 = 0;
    record.ctrl_value_min = static_cast<uint8_t>(f[7]);
    record.ctrl_value_max = static_cast<uint8_t>(f[8]);
    record.checksum_start_position = static_cast<uint8_t>(f[5] & 0x1Fu);
    record.ctrl_chain = static_cast<uint8_t>((((f[2] >> 5) & 0x03u) << 4) | (((f[3] >> 5) & 0x03u) << 2) |
                                             ((f[4] >> 5) & 0x03u) | ((f[5] & 0x40u) ? 0x80u : 0u));

    std::string midi = line.midi_text;
    ReplaceAll(midi, "N", '0');
    ReplaceAll(midi, "CS", '0');
    ReplaceAll(midi, "VV", '0');
    for (size_t i = 0; i < record.midi_str_lenght; ++i)
        record.midi_string[i] = static_cast<uint8_t>(HexCharValue(midi, 2 * i) * 16 + HexCharValue(midi, 2 * i + 1));

    lcd.clear();
    for (char ch : line.lcd_text)
        lcd.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
    lcd.push_back(L'\0');

    if (record.midi_str_lenght == 0 && record.ctrl_value_min == 0 && record.ctrl_value_max == 0 &&
        record.midi_channel_position == 0 && record.checksum_start_position == 0 && record.ctrl_chain == 0 &&
        record.ctrl_value_position_0 == 0)
        record.ctrl_status_1 = 0;
}

template <typename Source>
LegacyImportResult Import(Source &source, const LegacyEntryCheck &check)
{
    LegacyImportResult result;
    SkipHeaderItem(source, "[MANUF].");
    SkipHeaderItem(source, "[MODEL].");
    SkipHeaderItem(source, "[COMMENTS].");
    SkipSpace(source);

    unsigned offset = 0;
    for (unsigned attempt = 0; attempt < LEGACY_MAX_CONTROL_LINES; ++attempt) {
        LegacyLine line;
        if (!ReadControlLine(source, line))
            break;
        const unsigned index = LegacyControlIndex(line.old_control, offset);
        if (line.group > LEGACY_LAST_GROUP || index < FIRST_GROUP_CONTROL || index > LAST_CONTROL_INDEX)
            continue;
        ConvertLine(line, mycontrol[line.group][index], mylcdstring[line.group][index]);
        ++result.entries_imported;
        CurrentGroup = line.group;
        ControlIndex = index;
        const uint8_t code = check ? check(static_cast<uint8_t>(line.group), static_cast<uint8_t>(index)) : 0;
        if (!Check_Code_Passes(code)) {
            result.status = code;
            break;
        }
    }

    for (unsigned g = 0; g < GROUP_NB; ++g)
        mygroupnames[g] = DefaultGroupName(g);
    InitCommonParams(common_params, 1);
    InitUserCurves(user_curve_1, 1);
    InitUserCurves(user_curve_2, 1);
    return result;
}

}  // namespace

unsigned LegacyControlIndex(unsigned old_control, unsigned &offset)
{
    if (old_control <= 39)
        offset = 8;
    else if (old_control >= 40 && old_control <= 47)
        offset = 18;
    else if (old_control == 49)
        offset = LAST_CONTROL_INDEX - 49;
    return old_control + offset;
}

LegacyImportResult ImportCvProText(const uint8_t *text, size_t size, const LegacyEntryCheck &check)
{
    BufferSource source(text, size);
    return Import(source, check);
}

LegacyImportResult ImportCvProLibraryFile(const std::string &path, const LegacyEntryCheck &check)
{
    FILE *file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        LegacyImportResult result;
        result.status = LEGACY_IMPORT_CANNOT_OPEN;
        result.message = "Unable to read " + path;
        return result;
    }
    FileSource source(file);
    LegacyImportResult result = Import(source, check);
    std::fclose(file);
    return result;
}
