// The shell's rules that need no window: program directory, stored settings,
// frame size and the library state after each file command.
#include <unistd.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "shell_rules.h"

namespace {

std::wstring Dir(const char *link)
{
    return ProgramDirectoryFromLink(link, std::strlen(link));
}

}  // namespace

TEST(ProgramDirectory, KeepsThePathUpToTheLastSlash)
{
    EXPECT_EQ(Dir("/usr/local/bin/editor"), L"/usr/local/bin/");
    EXPECT_EQ(Dir("/editor"), L"/");
    EXPECT_EQ(Dir("/usr/lib/cvq9_config_soft/cvq9_config_soft"), L"/usr/lib/cvq9_config_soft/");
}

TEST(ProgramDirectory, WithoutSlashKeepsOneCharacter)
{
    EXPECT_EQ(Dir("editor"), L"e");
    EXPECT_EQ(Dir(""), L"");
}

TEST(ProgramDirectory, StopsAtTheFirstZeroByte)
{
    const char link[] = "/opt/q9/bin\0/hidden/editor";
    EXPECT_EQ(ProgramDirectoryFromLink(link, sizeof link - 1), L"/opt/q9/");
}

TEST(ProgramDirectory, OneCharacterPerByteWithoutDecoding)
{
    // "/home/j\xC3\xA9r\xC3\xB4me/bin/editor": UTF-8 bytes stay separate characters.
    const char link[] = "/home/j\xC3\xA9r\xC3\xB4me/bin/editor";
    const std::wstring dir = Dir(link);
    ASSERT_EQ(dir.size(), std::strlen("/home/j\xC3\xA9r\xC3\xB4me/bin/"));
    EXPECT_EQ(dir[7], wchar_t(0xC3));
    EXPECT_EQ(dir[8], wchar_t(0xA9));
    EXPECT_EQ(dir.back(), L'/');
}

TEST(ProgramDirectory, OfThisProcessIsTheFolderOfThisBinary)
{
    char link[2048] = {0};
    ASSERT_GT(readlink("/proc/self/exe", link, sizeof link - 1), 0);
    std::string expected(link);
    expected.erase(expected.rfind('/') + 1);
    const std::wstring dir = ReadProgramDirectory(static_cast<int>(getpid()));
    EXPECT_EQ(dir, std::wstring(expected.begin(), expected.end()));
}

TEST(ProgramDirectory, UnreadableLinkFallsBackToTheWorkingFolder)
{
    // No process has id -1: its link cannot be read.
    char cwd[4096] = {0};
    ASSERT_NE(getcwd(cwd, sizeof cwd - 1), nullptr);
    std::string expected(cwd);
    if (expected.back() != '/')
        expected.push_back('/');
    EXPECT_EQ(ReadProgramDirectory(-1), std::wstring(expected.begin(), expected.end()));
}

TEST(StoredSettings, ControlIndexOutsideTheRosterBecomesEight)
{
    EXPECT_EQ(StoredControlIndex(67), 8u);
    EXPECT_EQ(StoredControlIndex(200), 8u);
    EXPECT_EQ(StoredControlIndex(-1), 8u);
    EXPECT_EQ(StoredControlIndex(0), 0u);
    EXPECT_EQ(StoredControlIndex(1), 1u);
    EXPECT_EQ(StoredControlIndex(66), 66u);
}

TEST(StoredSettings, GroupOutsideZeroToTwentyBecomesOne)
{
    EXPECT_EQ(StoredCurrentGroup(21), 1u);
    EXPECT_EQ(StoredCurrentGroup(-1), 1u);
    EXPECT_EQ(StoredCurrentGroup(1000), 1u);
    EXPECT_EQ(StoredCurrentGroup(0), 0u);
    EXPECT_EQ(StoredCurrentGroup(20), 20u);
}

TEST(StoredSettings, EmptyVersionTextTakesTheDefault)
{
    EXPECT_EQ(StoredVersionText(L"", L"1.6"), L"1.6");
    EXPECT_EQ(StoredVersionText(L"1.2", L"1.6"), L"1.2");
    EXPECT_EQ(StoredVersionText(L"9.9", L"2.0"), L"9.9");
}

TEST(StoredSettings, OptionsUseTheLowestBit)
{
    EXPECT_TRUE(StoredOption(1));
    EXPECT_FALSE(StoredOption(0));
    EXPECT_FALSE(StoredOption(2));
    EXPECT_TRUE(StoredOption(3));
}

TEST(MainFrameSize, UnavailableMetricsCountAsZero)
{
    EXPECT_EQ(MainFrameWidth(-1, -1), 794);
    EXPECT_EQ(MainFrameWidth(1, 2), 800);
    EXPECT_EQ(MainFrameWidth(-1, 3), 800);
    EXPECT_EQ(MAIN_FRAME_HEIGHT, 770);
}

namespace {
const LibraryState kUnsavedWithFile{L"/tmp/a.cvq", true, false};
const LibraryState kDefaultNoFile{L"", true, true};
}  // namespace

TEST(LibraryStateRules, NewTakesThePathAndIsUnsaved)
{
    EXPECT_EQ(AfterNew(kDefaultNoFile, L"/x/new.cvq"), (LibraryState{L"/x/new.cvq", true, false}));
}

TEST(LibraryStateRules, OpenChangesTheStateOnlyWhenTheFileWasRead)
{
    EXPECT_EQ(AfterOpen(kUnsavedWithFile, L"/x/b.cvq", true), (LibraryState{L"/x/b.cvq", false, false}));
    EXPECT_EQ(AfterOpen(kUnsavedWithFile, L"/x/b.cvq", false), kUnsavedWithFile);
}

TEST(LibraryStateRules, SaveAsClearsTheFlagsOnlyWhenWritten)
{
    EXPECT_EQ(AfterSaveAs(kDefaultNoFile, L"/x/c.cvq", true), (LibraryState{L"/x/c.cvq", false, false}));
    EXPECT_EQ(AfterSaveAs(kDefaultNoFile, L"/x/c.cvq", false), kDefaultNoFile);
}

TEST(LibraryStateRules, SaveToTheCurrentFileLeavesTheFlags)
{
    EXPECT_EQ(AfterSaveToCurrentFile(kUnsavedWithFile, true), kUnsavedWithFile);
    EXPECT_EQ(AfterSaveToCurrentFile(kUnsavedWithFile, false), kUnsavedWithFile);
}

TEST(LibraryStateRules, LoadDefaultKeepsThePath)
{
    EXPECT_EQ(AfterLoadDefault(LibraryState{L"/x/d.cvq", false, false}), (LibraryState{L"/x/d.cvq", true, true}));
}

TEST(LibraryStateRules, ImportIsUnsavedUntilItsSaveAsSucceeds)
{
    const LibraryState clean{L"/x/e.cvq", false, false};
    EXPECT_EQ(AfterImport(clean, L"/x/imported.cvq", true), (LibraryState{L"/x/imported.cvq", false, false}));
    EXPECT_EQ(AfterImport(clean, L"", false), (LibraryState{L"/x/e.cvq", true, false}));
}
