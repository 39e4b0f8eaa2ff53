// SysEx files: the export holds a download's messages in its order, an
// import of it over a cleared editor gives the tables back, and an import of
// a hostile file applies what it may, counts the rest and changes nothing for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <tuple>

#include "global_params.h"
#include "record_access.h"
#include "sysex_file.h"
#include "test_support.h"
#include "text_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

void ClearTables()
{
    std::memset(mycontrol, 0, sizeof mycontrol);
    std::memset(mytransport, 0, sizeof mytransport);
    ResetConfiguration(0);
}

// Everything the messages carry whole: records the checks pass, without
// string bytes beyond their length; LCD texts of 16 and names of 14 printable
// characters; 7-bit parameters and curve points (the tempo's byte is whole).
void FillSendableConfiguration(uint32_t seed)
{
    std::mt19937 random(seed);
    ClearTables();
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = g == 0 ? 0 : FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            All_Params record = RandomValidRecord(random, static_cast<uint8_t>(1 + random() % 21), uint8_t(c));
            std::fill(std::begin(record.midi_string) + record.midi_str_lenght, std::end(record.midi_string), 0);
            AddressedRecord(g, c) = record;
            if (!IsTransportIndex(c))
                mylcdstring[g][c] = Text(RandomPrintable(random, LCD_STRING_LENGHT).c_str());
        }
        mygroupnames[g] = Text(RandomPrintable(random, GROUP_NAME_LENGHT).c_str());
    }
    for (const CommonTransferItem &item : kCommonTransferSequence)
        if (item.address < COMMON_PARAM_TEMPO || item.address == COMMON_PARAM_OPERATING)
            common_params[item.address] = static_cast<uint8_t>(random() & 0x7F);
    common_params[COMMON_PARAM_TEMPO] = static_cast<uint8_t>(random());
    for (uint8_t *curve : {user_curve_1, user_curve_2})
        std::generate_n(curve, USER_CURVE_POINTS, [&] { return static_cast<uint8_t>(random() & 0x7F); });
}

// The message the codec built in `m` (nothing when it refused).
Bytes Built(uint8_t length, const uint8_t *m)
{
    return Bytes(m, m + (length <= SYSEX_BUFFER_SIZE ? length : 0));
}

Bytes MidiWrite(uint8_t action, const All_Params &record, uint8_t index, uint8_t group)
{
    uint8_t m[SYSEX_BUFFER_SIZE];
    return Built(Cvq9_Midi_Assign_To_Sysex(action, &record, m, index, group), m);
}

Bytes LcdWrite(const Q9Text &text, uint8_t index, uint8_t group)
{
    uint8_t lcd[LCD_STRING_LENGHT + 2] = {}, m[SYSEX_BUFFER_SIZE];
    TextToBytes(lcd, text, LCD_STRING_LENGHT);
    return Built(Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_NO_ACK, lcd, m, index, group), m);
}

Bytes CommonWrite(uint8_t address, uint8_t *values, uint8_t group)
{
    uint8_t m[SYSEX_BUFFER_SIZE];
    return Built(Cvq9_Common_Param_To_Sysex(ACTION_WRITE_NO_ACK, address, values, m, group), m);
}

// Byte `at` of message `m` set to `value`, with the checksum made right again if asked.
Bytes Changed(Bytes m, size_t at, uint8_t value, bool fix_checksum = false)
{
    m[at] = value;
    if (fix_checksum)
        m[m.size() - 2] = NibbleSum(m.data(), SYSEX_HEADER_LENGHT, m.size() - 12);
    return m;
}

Bytes Inserted(Bytes m, uint8_t byte)
{
    m.insert(m.begin() + 12, byte);
    return m;
}

}  // namespace

TEST(SysexFile, ExportThenImportOverAClearedEditorGivesTheSameTables)
{
    TempFolder folder;
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        FillSendableConfiguration(seed);
        const TablesSnapshot exported;
        const SysexExport image = BuildSysexExport(1.6f);
        ASSERT_EQ(SaveSysexFile(folder.File("all.syx"), image.bytes), "");
        ClearTables();
        const SysexFileImport imported = ImportSysexFile(folder.File("all.syx"));
        ASSERT_TRUE(imported.ok);
        const SysexImportCounts all{unsigned(std::count(image.bytes.begin(), image.bytes.end(), SYSEX_START)), 0, 0};
        EXPECT_EQ(SysexImportReport(imported.counts), SysexImportReport(all));
        EXPECT_TABLES_EQ(exported, TablesSnapshot()) << seed;
    }
    EXPECT_FALSE(ImportSysexFile(folder.File("missing.syx")).ok);
}

TEST(SysexFile, ExportIsTheDownloadsMessagesInItsOrder)
{
    ResetConfiguration(1);
    const Bytes image = BuildSysexExport(1.6f).bytes;
    Bytes head;
    for (uint8_t t = 0; t < TRANSPORT_NB; ++t)
        head = head + MidiWrite(ACTION_WRITE_NO_ACK, mytransport[t], t, 0);
    head = head + MidiWrite(ACTION_WRITE_NO_ACK, mycontrol[0][5], 5, 0) + LcdWrite(mylcdstring[0][5], 5, 0) +
           MidiWrite(ACTION_WRITE_NO_ACK, mycontrol[0][6], 6, 0);
    ASSERT_GT(image.size(), head.size());
    EXPECT_EQ(Bytes(image.begin(), image.begin() + long(head.size())), head);
    // The common parameters end it, the curves last; a firmware that has no
    // operating mode byte does not get it.
    const Bytes tail = CommonWrite(34, user_curve_1, 0) + CommonWrite(35, user_curve_1 + 64, 0) +
                       CommonWrite(36, user_curve_2, 0) + CommonWrite(37, user_curve_2 + 64, 0);
    EXPECT_EQ(Bytes(image.end() - long(tail.size()), image.end()), tail);
    EXPECT_EQ(BuildSysexExport(1.5f).bytes.size() + CommonWrite(33, common_params + 33, 0).size(), image.size());
}

TEST(SysexFile, WhatADownloadWouldRefuseStopsTheExport)
{
    using R = SysexExport::Refused;
    const struct {
        std::function<void()> spoil;
        R refused;
        unsigned group, item, code;
    } cases[] = {
        {[] { mycontrol[4][9].ctrl_value_min = 200; }, R::Control, 4, 9, 5},
        {[] { mylcdstring[7][40] = Q9Text(L"A") + wchar_t(0x141); }, R::Control, 7, 40, 21},
        {[] { mygroupnames[12] = Text("Caf\xe9"); }, R::Parameter, 12, 38, 0},
        {[] { user_curve_1[100] = 0x80; }, R::Parameter, 0, 35, 0},
    };
    for (const auto &c : cases) {
        ResetConfiguration(1);
        c.spoil();
        const SysexExport image = BuildSysexExport(1.6f);
        EXPECT_TRUE(image.bytes.empty() && image.refused == c.refused);
        EXPECT_EQ(std::make_tuple(image.group, image.item, unsigned(image.code)),
                  std::make_tuple(c.group, c.item, c.code));
    }
}

TEST(SysexFile, AHostileFileIsCountedAndWhatIsRefusedChangesNothing)
{
    std::mt19937 random(5);
    const All_Params record = RandomValidRecord(random, 5, 9);
    const Bytes midi = MidiWrite(ACTION_WRITE_NO_ACK, record, 9, 4), lcd = LcdWrite(Text("Hostile"), 9, 4);
    uint8_t tempo = 0xE1, zeros[11] = {};
    const Bytes parameter_0 = CommonWrite(0, zeros, 0), cut(midi.begin(), midi.end() - 1);
    Bytes request(SYSEX_BUFFER_SIZE);
    request.resize(Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &record, request.data(), 9, 4));
    const struct {
        const char *name;
        Bytes bytes;
        SysexImportCounts counts;
    } cases[] = {
        {"MIDI write with acknowledge", MidiWrite(ACTION_WRITE_ACK, record, 9, 4), {1, 0, 0}},
        {"LCD write", lcd, {1, 0, 0}},
        {"tempo", CommonWrite(COMMON_PARAM_TEMPO, &tempo, 20), {1, 0, 0}},
        {"bytes between messages", HexBytes("01 F7 7F") + midi + HexBytes("00"), {1, 0, 0}},
        {"realtime byte inside", Inserted(midi, 0xF8), {1, 0, 0}},
        {"bad checksum", Changed(midi, midi.size() - 2, midi[midi.size() - 2] ^ 1), {0, 1, 0}},
        {"transport button outside group 0",
         Changed(MidiWrite(ACTION_WRITE_ACK, RandomValidRecord(random, 3, 3), 3, 0), 9, 2),
         {0, 1, 0}},
        {"common parameter 39", Changed(parameter_0, 8, 39), {0, 1, 0}},
        {"identity written", Changed(parameter_0, 8, COMMON_PARAM_IDENTITY), {0, 1, 0}},
        {"minimum above 127", Changed(midi, 24, 0x0C, true), {0, 1, 0}},
        {"tab in an LCD text", Changed(Changed(lcd, 10, 0x00), 11, 0x09, true), {0, 1, 0}},
        {"read request", request, {0, 1, 0}},
        {"longer than 128 bytes", Bytes(midi.begin(), midi.begin() + 10) + Bytes(200, 1) + HexBytes("F7"), {0, 1, 0}},
        {"status byte inside", Inserted(midi, 0x90), {0, 1, 0}},
        {"cut at the end", cut, {0, 1, 0}},
        {"cut by the next message", cut + midi, {1, 1, 0}},
        {"another device's", HexBytes("F0 7E 7F 06 01 F7"), {0, 0, 1}},
        {"another device's, long", HexBytes("F0 43 10") + Bytes(300, 0x11) + HexBytes("F7"), {0, 0, 1}},
        {"too short to tell", HexBytes("F0 00 F7 F0 00"), {0, 0, 2}},
    };
    Bytes all;
    SysexImportCounts total;
    for (const auto &c : cases) {
        FillSendableConfiguration(9);
        const TablesSnapshot before;
        const SysexImportCounts counts = ImportSysexBytes(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(SysexImportReport(counts), SysexImportReport(c.counts)) << c.name;
        if (c.counts.applied == 0) {
            EXPECT_TABLES_EQ(before, TablesSnapshot()) << c.name;
        }
        all = all + c.bytes;
        total = {total.applied + c.counts.applied, total.refused + c.counts.refused, total.skipped + c.counts.skipped};
    }
    EXPECT_EQ(SysexImportReport(ImportSysexBytes(all.data(), all.size())), SysexImportReport(total));
}
