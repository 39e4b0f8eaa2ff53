// What the tests share, without any window: a temporary folder, whole files
// in and out, random configurations, and snapshots of the tables to compare
// before and after an action (a change to the wrong record shows up by name).
#ifndef CVQ9_TEST_SUPPORT_H
#define CVQ9_TEST_SUPPORT_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config_tables.h"

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
    // Names of the entries, "." and ".." left out, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string path_;
};

bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);
bool WriteFileText(const std::string &path, const std::string &text);
std::vector<uint8_t> ReadFileBytes(const std::string &path);
std::string ReadFileText(const std::string &path);

// A text of one character per byte of `ascii`.
Q9Text Text(const char *ascii);

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

// Runs `fn` with an ordinary user's rights (root may write any file): as
// root, in a child process under the "nobody" identity. Gives what `fn`
// returns (0 to 127), or -1 when the child could not run.
int AsOrdinaryUser(const std::function<int()> &fn);

#endif
