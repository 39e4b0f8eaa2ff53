// The library file: its byte layout, save and load round trips through real
// files, the layout before 1.4, cut and long files, and failures to read or write.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "library_file.h"
#include "library_images.h"
#include "record_access.h"
#include "test_support.h"
#include "text_bytes.h"

using namespace library_images;

namespace {

using Bytes = std::vector<uint8_t>;

class LibraryFile : public ::testing::Test
{
protected:
    void SetUp() override { ResetConfiguration(1); }
    TempFolder folder;
};

}  // namespace

TEST_F(LibraryFile, ImageLayout)
{
    FillRandomConfiguration(7);
    mylcdstring[0][5] = {L'V', wchar_t(0x1E9), L'l'};  // low 8 bits, then zero bytes
    mylcdstring[0][6] = Text("ABCDEFGHIJKLMNOPQ");     // cut at 16, no NUL
    mygroupnames[0] = Text("Drums");
    mygroupnames[1] = Text("0123456789ABCDE");
    const TablesSnapshot tables;
    const Bytes image = BuildLibraryImage();
    ASSERT_EQ(image.size(), 63248u);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 2), HexBytes("53 31"));
    EXPECT_EQ(Bytes(image.begin() + 2, image.begin() + 162), tables.transport);
    for (const auto &e : {std::make_pair(0u, 5u), {0u, 6u}, {0u, 66u}, {1u, 5u}, {20u, 66u}}) {
        const size_t at = LibraryEntryOffset(e.first, e.second);
        EXPECT_EQ(at, 162 + (e.first * 62 + e.second - 5) * 48);
        const size_t record = R * (e.first * CONTROLS_PER_GROUP + e.second);
        EXPECT_EQ(Bytes(&image[at], &image[at + R]), Bytes(&tables.controls[record], &tables.controls[record + R]));
    }
    EXPECT_EQ(LibraryEntryOffset(20, 66), 62610u);
    EXPECT_EQ(Bytes(&image[162 + 32], &image[162 + 48]), HexBytes("56 E9 6C 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(std::string(&image[210 + 32], &image[210 + 48]), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(std::string(&image[62658], &image[62658 + 28]),
              std::string("Drums\0\0\0\0\0\0\0\0\0", 14) + "0123456789ABCD");
    EXPECT_EQ(Bytes(&image[62952], &image[62992]), tables.common);
    EXPECT_EQ(Bytes(&image[62992], &image[63120]), tables.curve1);
    EXPECT_EQ(Bytes(&image[63120], &image[63248]), tables.curve2);
}

TEST_F(LibraryFile, RandomConfigurationsSurviveSaveAndLoad)
{
    const std::string path = folder.File("round.cvq");
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        FillRandomConfiguration(seed);
        const TablesSnapshot saved;
        ASSERT_EQ(SaveLibraryFile(path).status, LibraryFileStatus::Ok);
        FillRandomConfiguration(seed + 1000);
        const TablesSnapshot before;
        const LibraryLoadResult loaded = LoadLibraryFile(path);
        ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
        EXPECT_EQ(loaded.layout, LibraryLayout::Current);
        EXPECT_TRUE(loaded.message.empty());
        EXPECT_TABLES_EQ(AfterLoad(before, saved, LIBRARY_IMAGE_SIZE), TablesSnapshot()) << seed;
        ASSERT_EQ(SaveLibraryFile(folder.File("again.cvq")).status, LibraryFileStatus::Ok);
        EXPECT_EQ(ReadFileBytes(folder.File("again.cvq")), ReadFileBytes(path)) << "saving what was loaded";
    }
    Bytes image = BuildLibraryImage();  // bytes above 7 bits read back as characters
    std::copy_n(HexBytes("E9 FF 80 78 00 79").begin(), 6, &image[LibraryEntryOffset(7, 30) + R]);
    ParseLibraryImage(image.data(), image.size());
    EXPECT_EQ(mylcdstring[7][30], (Q9Text{wchar_t(0xE9), wchar_t(0xFF), wchar_t(0x80), L'x', L'\0'}));
}

TEST_F(LibraryFile, CutAndLongFilesAreReadWithinThemselves)
{
    FillRandomConfiguration(77);
    const TablesSnapshot full;
    const Bytes image = BuildLibraryImage();
    for (size_t size = 0; size <= image.size(); size += (size < 400 || size > 62600) ? 1 : 997) {
        const Bytes part(image.begin(), image.begin() + size);  // exact size: the sanitizers see any read past it
        FillRandomConfiguration(79);
        const TablesSnapshot before;
        EXPECT_EQ(ParseLibraryImage(size ? part.data() : nullptr, size),
                  size ? LibraryLayout::Current : LibraryLayout::Pre14);
        ASSERT_TRUE(TablesSnapshot() == AfterLoad(before, full, size)) << "size " << size;
    }
    for (size_t size : {size_t(0), LibraryEntryOffset(3, 10) + 35, size_t(62658 + 14 * 3 + 6), image.size() + 100000}) {
        Bytes bytes = image;
        bytes.resize(size, 0xEE);
        ASSERT_TRUE(WriteFileBytes(folder.File("cut.cvq"), bytes));
        FillRandomConfiguration(80);
        const TablesSnapshot before;
        const LibraryLoadResult loaded = LoadLibraryFile(folder.File("cut.cvq"));
        EXPECT_EQ(loaded.status, LibraryFileStatus::Ok);
        EXPECT_TABLES_EQ(AfterLoad(before, full, size), TablesSnapshot()) << size;
    }
}

TEST_F(LibraryFile, LayoutBefore14IsConvertedWithItsOperatingMode)
{
    for (uint8_t mode = 0; mode < 4; ++mode) {
        FillRandomConfiguration(31 + mode);
        mytransport[0].ctrl_status_0 = 0x12;  // not the signature
        common_params[5] = static_cast<uint8_t>(mode << 3 | 0xE7);
        TablesSnapshot old;
        ASSERT_TRUE(WriteFileBytes(folder.File("old.cvq"), Pre14Image(old)));
        FillRandomConfiguration(40 + mode);
        const TablesSnapshot before;
        const LibraryLoadResult loaded = LoadLibraryFile(folder.File("old.cvq"));
        ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
        EXPECT_EQ(loaded.layout, LibraryLayout::Pre14);
        old.common[5] = 0xE7;
        old.common[33] = mode;
        for (Q9Text &lcd : old.lcd)
            lcd = StoredFieldText(lcd, 15);
        for (Q9Text &name : old.group_names)
            name = StoredFieldText(name, 13);
        EXPECT_TABLES_EQ(AfterLoad(before, old, LIBRARY_IMAGE_SIZE), TablesSnapshot()) << int(mode);
    }
    TablesSnapshot tables;  // a short file keeps the common parameters unconverted
    tables.transport[0] = 0;
    Bytes image = Pre14Image(tables);
    image.resize(62950 + 20);
    common_params[5] = 0x18;
    common_params[33] = 0;
    EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Pre14);
    EXPECT_EQ(common_params[5], 0x18);
    EXPECT_EQ(common_params[33], 0);
    tables.transport[0] = 0x53;  // beginning with the signature byte: read as current, 2 bytes on
    image = Pre14Image(tables);
    std::fill_n(user_curve_2, 128, 0x55);
    EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Current);
    EXPECT_EQ(Bytes(reinterpret_cast<uint8_t *>(mytransport), reinterpret_cast<uint8_t *>(mytransport) + R),
              Bytes(image.begin() + 2, image.begin() + 34));
    EXPECT_EQ(Bytes(user_curve_2, user_curve_2 + 128), Bytes(128, 0)) << "3 bytes short";
    image = BuildLibraryImage();
    image[0] = 0x54;
    EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Pre14);
}

TEST_F(LibraryFile, UnreadableFilesChangeNothing)
{
    FillRandomConfiguration(3);
    const TablesSnapshot before;
    for (const std::string &path : {folder.File("absent.cvq"), folder.Path()}) {
        const LibraryLoadResult loaded = LoadLibraryFile(path);
        EXPECT_EQ(loaded.status, LibraryFileStatus::CannotRead);
        EXPECT_EQ(loaded.message, "Unable to read " + path);
        EXPECT_TABLES_EQ(before, TablesSnapshot());
    }
}

TEST_F(LibraryFile, FailedSavesLeaveThePreviousFilesAsTheyWere)
{
    ASSERT_TRUE(WriteFileText(folder.File("plain"), "not a folder"));
    ASSERT_EQ(mkdir(folder.File("sub").c_str(), 0755), 0);
    for (const std::string &path : {folder.File("missing/lib.cvq"), folder.File("plain/lib.cvq"), folder.File("sub")}) {
        const LibrarySaveResult result = SaveLibraryFile(path);
        EXPECT_EQ(result.status, LibraryFileStatus::CannotWrite);
        EXPECT_EQ(result.message, "Unable to write/overwrite " + path);
    }
    EXPECT_EQ(ReadFileText(folder.File("plain")), "not a folder");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>({"plain", "sub"}));
    EXPECT_EQ(rmdir(folder.File("sub").c_str()), 0) << "still an empty folder";

    const std::string path = folder.File("keep.cvq");
    ASSERT_EQ(SaveLibraryFile(path).status, LibraryFileStatus::Ok);
    const Bytes previous = ReadFileBytes(path);
    const pid_t child = fork();  // a child that may write 4000 bytes per file fails part way
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {4000, 4000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(10);
        FillRandomConfiguration(1234);
        const LibrarySaveResult result = SaveLibraryFile(path);
        _exit(result.status != LibraryFileStatus::CannotWrite         ? 11
              : result.message != "Unable to write/overwrite " + path ? 12
                                                                      : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>({"keep.cvq", "plain"})) << "no temporary file left";

    ASSERT_EQ(symlink(path.c_str(), folder.File("link.cvq").c_str()), 0);  // a link stays a link
    FillRandomConfiguration(5);
    ASSERT_EQ(SaveLibraryFile(folder.File("link.cvq")).status, LibraryFileStatus::Ok);
    struct stat st;
    ASSERT_EQ(lstat(folder.File("link.cvq").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFileBytes(path), BuildLibraryImage());
}

TEST_F(LibraryFile, PermissionsDecideHowAnExistingFileIsReplaced)
{
    struct Case {
        const char *name;
        mode_t file_mode, folder_mode;
        bool saved;
    } const cases[] = {
        {"writable file", 0640, 0755, true},
        {"read-only file", 0444, 0755, false},
        {"writable file in a folder that takes no new file", 0640, 0555, true},
    };
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    int n = 0;
    for (const Case &c : cases) {
        const std::string dir = folder.File(std::to_string(n++)), path = dir + "/lib.cvq";
        ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
        ASSERT_TRUE(WriteFileText(path, "old contents"));
        ASSERT_EQ(chmod(path.c_str(), c.file_mode), 0);
        ASSERT_EQ(chmod(dir.c_str(), c.folder_mode), 0);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(dir.c_str(), 65534, 65534), 0);
            ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        }
        FillRandomConfiguration(55);
        const int outcome = AsOrdinaryUser([&path] {
            const LibrarySaveResult result = SaveLibraryFile(path);
            if (result.status == LibraryFileStatus::Ok)
                return 0;
            return result.message == "Unable to write/overwrite " + path ? 1 : 2;
        });
        EXPECT_EQ(outcome, c.saved ? 0 : 1) << c.name;
        ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
        EXPECT_EQ(ReadFileText(path), c.saved ? ReadFileText(folder.File("0/lib.cvq")) : "old contents") << c.name;
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.file_mode) << c.name;
        EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"lib.cvq"}) << c.name;
    }
}
