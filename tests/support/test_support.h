// What the tests share, without any window: a temporary folder, whole files
// in and out, random configurations, and snapshots of the tables to compare
// before and after an action (a change to the wrong record shows up by name).
#ifndef CVQ9_TEST_SUPPORT_H
#define CVQ9_TEST_SUPPORT_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config_tables.h"

// Names of the entries of any folder, "." and ".." left out, sorted.
std::vector<std::string> FolderEntries(const std::string &path);

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }
    std::vector<std::string> Entries() const { return FolderEntries(path_); }

private:
    std::string path_;
};

bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);
bool WriteFileText(const std::string &path, const std::string &text);
std::vector<uint8_t> ReadFileBytes(const std::string &path);
std::string ReadFileText(const std::string &path);

// The standard output of a shell command; `status` its exit status (-1 when it did not exit).
std::string CommandOutput(const std::string &command, int &status);

// The first group of every match of `pattern` (case-insensitive) in `text`.
std::vector<std::string> RegexMatches(const std::string &text, const std::string &pattern);

// A text of one character per byte of `ascii`.
Q9Text Text(const char *ascii);

// The bytes written as hexadecimal numbers separated by spaces ("F0 00 7F").
std::vector<uint8_t> HexBytes(const std::string &text);

// A record whose 32 bytes all hold `value`.
All_Params FilledRecord(uint8_t value);

// Every transport button and every entry of every group holds a correct
// record (code 0: CC 7 on the controller's channel, to the three outputs),
// every LCD text `lcd`.
void FillValidConfiguration(const Q9Text &lcd);

// A random record that CheckMidiStruct passes (code 0 or 3) for control
// `index`, of string length `length` (1..21); the unused string bytes are random too.
All_Params RandomValidRecord(std::mt19937 &random, uint8_t length, uint8_t index);

// The 7-bit running sum of bytes [from, from + count) of a message.
uint8_t NibbleSum(const uint8_t *sysex, size_t from, size_t count);

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t> &b);
std::string Repeat(const std::string &text, size_t times);
// `length` random printable characters (0x20..0x7E).
std::string RandomPrintable(std::mt19937 &random, size_t length);

// Every table filled with random contents: texts mostly printable, some above
// 255 (never with low 8 bits of 0), some ending in the stored form's NUL.
void FillRandomConfiguration(uint32_t seed);

inline bool SameRecord(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A copy of every configuration table, taken when made.
struct TablesSnapshot {
    TablesSnapshot();
    std::vector<uint8_t> controls, transport, common, curve1, curve2;
    std::vector<Q9Text> lcd, group_names;

    const All_Params &Record(unsigned group, unsigned control) const;
    // The record and text the editor addresses for a control of a group: the
    // shared transport record for controls 0..4 (whose texts are unused).
    All_Params &Addressed(unsigned group, unsigned control);
    Q9Text &Lcd(unsigned group, unsigned control) { return lcd[group * CONTROLS_PER_GROUP + control]; }
    bool operator==(const TablesSnapshot &other) const;
    bool operator!=(const TablesSnapshot &other) const { return !(*this == other); }
    // The first differences, named by table, group and control; "" when equal.
    std::string DiffFrom(const TablesSnapshot &before) const;
};

#define EXPECT_TABLES_EQ(before, after) EXPECT_TRUE((before) == (after)) << (after).DiffFrom(before)

#endif
