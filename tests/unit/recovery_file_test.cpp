// The recovery library in the user's data folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "library_file.h"
#include "record_access.h"
#include "recovery_file.h"
#include "test_support.h"

TEST(RecoveryFile, LivesInTheUsersDataFolder)
{
    auto put = [](const char *name, const char *value) { value ? setenv(name, value, 1) : unsetenv(name); };
    const char *old_home = std::getenv("HOME"), *old_data = std::getenv("XDG_DATA_HOME");
    const std::string home = old_home ? old_home : "", data = old_data ? old_data : "";
    setenv("HOME", "/home/someone", 1);
    const std::pair<const char *, const char *> cases[] = {
        {nullptr, "/home/someone/.local/share/cvq9_config_soft/recovery.cvq"},
        {"relative/data", "/home/someone/.local/share/cvq9_config_soft/recovery.cvq"},
        {"/srv/data", "/srv/data/cvq9_config_soft/recovery.cvq"},
    };
    for (const auto &c : cases) {
        put("XDG_DATA_HOME", c.first);
        EXPECT_EQ(RecoveryFilePath(), c.second);
    }
    put("HOME", old_home ? home.c_str() : nullptr);
    put("XDG_DATA_HOME", old_data ? data.c_str() : nullptr);
}

TEST(RecoveryFile, WrittenFoundAndLoadedBackWholeEvenWhenTheChecksWouldRefuseIt)
{
    TempFolder folder;
    const std::string path = folder.File("new/folder/recovery.cvq");
    FillRandomConfiguration(3);  // records the checks refuse
    const std::vector<uint8_t> image = BuildLibraryImage();
    ASSERT_TRUE(WriteRecoveryFile(path, image));
    EXPECT_EQ(ReadFileBytes(path), image);
    const RecoveryFound found = FindRecoveryFile(path);
    EXPECT_EQ(found.state, RecoveryFound::Found);
    EXPECT_GT(found.written, 0);
    ResetConfiguration(0);
    ASSERT_TRUE(LoadRecoveryFile(path));
    EXPECT_EQ(BuildLibraryImage(), image);
    RemoveRecoveryFile(path);
    EXPECT_EQ(FindRecoveryFile(path).state, RecoveryFound::None);
}

TEST(RecoveryFile, ADamagedOneIsSetAsideAndNeverLoaded)
{
    ResetConfiguration(1);
    const std::vector<uint8_t> image = BuildLibraryImage();
    for (size_t cut : {size_t(0), size_t(100), LIBRARY_IMAGE_SIZE - 1, LIBRARY_IMAGE_SIZE + 1}) {
        TempFolder folder;
        const std::string path = folder.File("recovery.cvq");
        std::vector<uint8_t> damaged = image;
        damaged.resize(cut, 0x7F);
        ASSERT_TRUE(WriteFileBytes(path, damaged));
        const RecoveryFound found = FindRecoveryFile(path);
        EXPECT_EQ(found.state, RecoveryFound::Damaged) << cut;
        EXPECT_EQ(ReadFileBytes(found.set_aside_path), damaged) << cut;
        EXPECT_EQ(FindRecoveryFile(path).state, RecoveryFound::None) << "offered again, " << cut;
        const TablesSnapshot before;
        EXPECT_FALSE(LoadRecoveryFile(found.set_aside_path));
        EXPECT_TABLES_EQ(before, TablesSnapshot());
    }
}
