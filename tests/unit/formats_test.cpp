// The files: the library image and its layout before 1.4, cut and long files,
// failed saves; the import of the predecessor's libraries line by line; the
// text summary against a file worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sstream>
#include <unistd.h>
#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "legacy_import.h"
#include "library_file.h"
#include "library_images.h"
#include "record_access.h"
#include "test_support.h"
#include "text_bytes.h"
#include "text_summary.h"

using namespace library_images;

namespace {

using Bytes = std::vector<uint8_t>;

// What `fn` returns (0 to 127) run in a child process, with an ordinary user's rights when `nobody` (root may
// write any file); -1 when the child could not run.
int InChild(bool nobody, const std::function<int()> &fn)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(nobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0) ? 100 : fn());
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
        EXPECT_TRUE(loaded.whole);
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
        EXPECT_FALSE(loaded.whole) << size;
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
        EXPECT_TRUE(loaded.whole);
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
    const int outcome = InChild(false, [&path] {  // a child that may write 4000 bytes per file fails part way
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {4000, 4000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 10;
        FillRandomConfiguration(1234);
        const LibrarySaveResult result = SaveLibraryFile(path);
        return result.status != LibraryFileStatus::CannotWrite ? 11
                                                               : result.message != "Unable to write/overwrite " + path;
    });
    EXPECT_EQ(outcome, 0);
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
        const int outcome = InChild(true, [&path] {
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
    // A pipe (or a device) in the library's place is never written nor replaced.
    const std::string pipe = folder.File("pipe.cvq");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(SaveLibraryFile(pipe).status, LibraryFileStatus::CannotWrite);
    struct stat st;
    ASSERT_EQ(stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

namespace {

const std::string HEADER = "[MANUF].m.\n[MODEL].x.\n[COMMENTS].Test library.\n";
using Checked = std::vector<std::pair<unsigned, unsigned>>;

// A plain three-byte control change line for old control k in group g.
std::string SimpleLine(unsigned k, unsigned g, unsigned cc)
{
    char line[80];
    std::snprintf(line, sizeof line, "[K%02u][G%02u].03.00.01.03.00.00.00.00.7F.BN%02XVV.CC line.\n", k, g, cc);
    return line;
}

class LegacyImport : public ::testing::Test
{
protected:
    void SetUp() override { ResetConfiguration(1); }

    // Imports `text` from a file, recording every check; the check number `fail_at` gives `fail_code`.
    LegacyImportResult Import(const std::string &text, uint8_t fail_code = 0, unsigned fail_at = 0)
    {
        EXPECT_TRUE(WriteFileText(folder.File("lib.cvl"), text));
        checked.clear();
        return ImportCvProLibraryFile(folder.File("lib.cvl"), [&](uint8_t group, uint8_t control) -> uint8_t {
            checked.emplace_back(group, control);
            EXPECT_EQ(CurrentGroup * 100 + ControlIndex, group * 100u + control) << "the entry checked is shown";
            return checked.size() == fail_at ? fail_code : 0;
        });
    }

    TempFolder folder;
    Checked checked;
};

}  // namespace

TEST_F(LegacyImport, EachFieldOfALineIsConverted)
{
    const std::string ones(38, '1');
    // The nine fields, the MIDI text, the LCD text; the record's eleven fields
    // and string bytes expected (the other bytes keep 5A).
    const struct {
        std::string fields, midi, lcd, record;
    } cases[] = {
        {"03.00.01.03.00.00.00.00.7F", "BN07VV", "Volume", "00 9C 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"7F.00.00.00.00.00.00.00.7F", "F0" + ones + "F7", "Long",  // at most 21 bytes; the upper bits: the delay
         "00 9F 00 15 00 00 00 00 7F 00 00 F0" + Repeat(" 11", 19) + " F7"},
        {"23.00.01.83.00.00.20.00.7F", "BN07VV", "a", "00 FD 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"43.00.01.03.00.00.DF.00.7F", "BN07VV", "b", "00 9E 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"03.FF.61.03.1F.00.00.00.7F", "BN07VV", "3 to 5", "00 9C 00 03 01 03 00 00 7F 00 30 B0 07 00"},
        {"03.00.01.43.40.42.00.00.7F", "BN07VV", "chain", "00 9C 00 03 01 03 00 00 7F 02 8A B0 07 00"},
        {"03.00.61.63.60.5F.00.10.6f", "BN07VV", "all", "00 9C 00 03 01 03 00 10 6F 1F BF B0 07 00"},
        {"06.00.01.05.00.02.00.00.7F", "F0NNCSVVCSF7", "placeholders",
         "00 9C 00 06 01 05 00 00 7F 02 00 F0 00 00 00 00 F7"},
        {"04.00.01.03.00.00.00.00.7F", "b1ffzG7x", "digits", "00 9C 00 04 01 03 00 00 7F 00 00 B1 FF 00 70"},
        {"04.00.01.03.00.00.00.00.7F", "C5A", "short", "00 9C 00 04 01 03 00 00 7F 00 00 C5 A0 00 00"},
        {"05.00.00.00.00.00.00.00.7F", "CNCSSVVVE1", "in order", "00 9C 00 05 00 00 00 00 7F 00 00 C0 00 00 00 E1"},
        {"02.00.01.02.00.00.00.00.7F", "B0VV", "ABCDEFGHIJKLMNOP", "00 9C 00 02 01 02 00 00 7F 00 00 B0 00"},
        {"03.00.01.03.00.00.00.00.7F", "BN07VV", "caf\xE9 50%s", "00 9C 00 03 01 03 00 00 7F 00 00 B0 07 00"},
        {"00.00.00.00.00.00.00.00.00", "", "", "00 00 00 00 00 00 00 00 00 00 00"},  // undefined
        {"60.00.00.80.00.00.20.00.00", "", "", "00 00 00 00 00 00 00 00 00 00 00"},  // still undefined
    };
    for (const auto &c : cases) {
        mycontrol[3][15] = FilledRecord(0x5A);
        const LegacyImportResult result =
            Import(HEADER + "[K07][G03]." + c.fields + "." + c.midi + "." + c.lcd + ".\n");
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.entries_imported, 1u);
        EXPECT_EQ(checked, Checked({{3, 15}})) << c.lcd;
        std::vector<uint8_t> expected = HexBytes(c.record);
        expected.resize(sizeof(All_Params), 0x5A);
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&mycontrol[3][15]);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + sizeof(All_Params)), expected) << c.lcd;
        EXPECT_EQ(mylcdstring[3][15], Text(c.lcd.c_str()) + L'\0');
    }
}

TEST_F(LegacyImport, ControlNumbersAndGroups)
{
    unsigned offset = 0;  // 0..39 +8, 40..47 +18, 49 to 66; any other number reuses the last offset
    for (const auto &n :
         {std::pair<unsigned, unsigned>{48, 48}, {5, 13}, {48, 56}, {40, 58}, {48, 66}, {49, 66}, {48, 65}, {99, 116}})
        EXPECT_EQ(LegacyControlIndex(n.first, offset), n.second) << n.first;

    FillRandomConfiguration(21);
    TablesSnapshot expected;
    const LegacyImportResult result =
        Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(39, 0, 2) + SimpleLine(47, 0, 4) + SimpleLine(49, 2, 5) +
               SimpleLine(0, 21, 1) + SimpleLine(0, 99, 1) + SimpleLine(40, 0, 3) + SimpleLine(60, 0, 1) +
               SimpleLine(99, 20, 1) + SimpleLine(3, 20, 7));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.entries_imported, 6u);
    // Groups above 20 and, after 40 -> 58, 60 and 99 at 78 and 117 are skipped.
    EXPECT_EQ(checked, Checked({{0, 8}, {0, 47}, {0, 65}, {2, 66}, {0, 58}, {20, 11}}));
    for (const auto &entry : checked) {
        const size_t e = entry.first * CONTROLS_PER_GROUP + entry.second;
        std::copy_n(reinterpret_cast<uint8_t *>(&mycontrol[entry.first][entry.second]), sizeof(All_Params),
                    &expected.controls[e * sizeof(All_Params)]);
        expected.lcd[e] = Text("CC line") + L'\0';
    }
    const TablesSnapshot after;
    EXPECT_EQ(after.controls, expected.controls) << after.DiffFrom(expected);
    EXPECT_EQ(after.lcd, expected.lcd);
    EXPECT_EQ(after.transport, expected.transport);
    EXPECT_EQ(mycontrol[0][58].midi_string[1], 3);
    EXPECT_EQ(mycontrol[20][11].midi_string[1], 7);
}

TEST_F(LegacyImport, DefaultsLineLimitAndTheCheckThatStops)
{
    FillRandomConfiguration(23);
    const TablesSnapshot before;
    std::string text = HEADER;
    for (unsigned i = 0; i < 150; ++i)
        text += SimpleLine(i % 48, i / 48, i % 128);
    EXPECT_EQ(Import(text).entries_imported, 147u);
    EXPECT_EQ(checked.size(), 147u);
    EXPECT_EQ(checked.back(), std::make_pair(3u, 10u)) << "line 147: old control 2 of group 3";
    EXPECT_TRUE(SameRecord(mycontrol[3][11], before.Record(3, 11))) << "line 148 is not read";
    for (unsigned g = 0; g < GROUP_NB; ++g)
        EXPECT_EQ(mygroupnames[g], DefaultGroupName(g));
    uint8_t defaults[COMMON_PARAMS_LENGHT];
    InitCommonParams(defaults, 1);
    EXPECT_EQ(std::vector<uint8_t>(common_params, common_params + 40), std::vector<uint8_t>(defaults, defaults + 40));
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i)
        ASSERT_EQ(user_curve_1[i] + user_curve_2[i], 2 * i);

    ResetConfiguration(1);
    LegacyImportResult result =
        Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) + SimpleLine(2, 0, 3) + SimpleLine(3, 0, 4), 13, 3);
    EXPECT_EQ(result.status, 13);
    EXPECT_EQ(result.entries_imported, 3u);
    EXPECT_EQ(checked.size(), 3u);
    EXPECT_EQ(mycontrol[0][10].midi_string[1], 3) << "the refused entry keeps what was imported";
    EXPECT_EQ(mycontrol[0][11].midi_string[1], 11) << "the next line is not read";
    EXPECT_EQ(CurrentGroup * 100 + ControlIndex, 10u);
    result = Import(HEADER + SimpleLine(0, 0, 1) + SimpleLine(1, 0, 2) + SimpleLine(2, 0, 3), 4, 1);
    EXPECT_EQ(result.status, 0) << "a warning does not stop";
    EXPECT_EQ(checked.size(), 3u);

    FillRandomConfiguration(25);
    const TablesSnapshot unchanged;
    const std::string path = folder.File("missing.cvl");
    result = ImportCvProLibraryFile(path, [](uint8_t, uint8_t) -> uint8_t {
        ADD_FAILURE() << "nothing to check";
        return 0;
    });
    EXPECT_EQ(result.status, 22);
    EXPECT_EQ(result.message, "Unable to read " + path);
    EXPECT_TABLES_EQ(unchanged, TablesSnapshot());
}

TEST_F(LegacyImport, HeaderAndSpacing)
{
    const std::pair<std::string, Checked> cases[] = {
        {"[MANUF]..  \r\n\t[MODEL].x.[COMMENTS]..\r\n\r\n" + SimpleLine(0, 0, 1) + "\r\n   " + SimpleLine(1, 0, 2),
         {{0, 8}, {0, 9}}},
        {"maker.model.comment." + SimpleLine(0, 0, 1), {{0, 8}}},  // without the words: one dotted piece each
        {HEADER + "[K 1][G2].3.0.1. 3.0.0.0.0.7f.BN07VV.one digit.\n", {{2, 9}}},
        {"[MANUF].no dot at all" + SimpleLine(0, 0, 1), {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        FillRandomConfiguration(26);
        const TablesSnapshot before;
        EXPECT_EQ(Import(c.first).status, 0);
        EXPECT_EQ(checked, c.second) << c.first;
        EXPECT_EQ(TablesSnapshot().controls == before.controls, c.second.empty());
        EXPECT_EQ(mygroupnames[20], DefaultGroupName(20)) << "the defaults, whatever was read";
        for (const auto &entry : c.second)
            EXPECT_EQ(mycontrol[entry.first][entry.second].ctrl_value_max, 0x7F);
    }
}

TEST_F(LegacyImport, MalformedLinesEndTheReadingAndChangeNothing)
{
    const std::string partial[] = {
        "[K00][G00].03.00.01",                                                // the file ends inside the fields
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.no end dot",            // ... inside the LCD text
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07",                         // the MIDI text runs on
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VVX.lcd.\n",               // longer than 2 x its length
        "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.ABCDEFGHIJKLMNOPQ.\n",  // an LCD text of 17
        "[K00][G00].123.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",               // three digits
        "[K00][G00].03.00.01.03.00.00.00.00.\n",                              // a field missing
        "[K0A][G00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // K is decimal
        "[G00][K00].03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                // the items swapped
        "K00G00.03.00.01.03.00.00.00.00.7F.BN07VV.lcd.\n",                    // no brackets
    };
    for (const std::string &line : partial) {
        FillRandomConfiguration(27);
        const TablesSnapshot before;
        EXPECT_EQ(Import(HEADER + SimpleLine(1, 0, 2) + line + SimpleLine(2, 0, 3)).status, 0);
        EXPECT_EQ(checked, Checked({{0, 9}})) << line;
        const TablesSnapshot after;
        EXPECT_TRUE(SameRecord(after.Record(0, 8), before.Record(0, 8))) << line;
        EXPECT_EQ(after.lcd[8], before.lcd[8]);
        EXPECT_TRUE(SameRecord(after.Record(0, 10), before.Record(0, 10))) << line;
    }
    // The same text in memory gives the same result as from a file.
    const std::string text = HEADER + SimpleLine(0, 0, 1) + SimpleLine(49, 5, 2);
    ResetConfiguration(1);
    Import(text);
    const TablesSnapshot from_file;
    ResetConfiguration(1);
    EXPECT_EQ(ImportCvProText(reinterpret_cast<const uint8_t *>(text.data()), text.size(), nullptr).entries_imported,
              2u);
    EXPECT_TABLES_EQ(from_file, TablesSnapshot());
}

namespace {

const char LIBRARY_PATH[] = "/home/q9/libraries/default.cvq";
const char DATE[] = "2024-01-31";

class TextSummary : public ::testing::Test
{
protected:
    void SetUp() override { ResetConfiguration(1); }

    // Line `n` (0-based) of the summary.
    static std::string Line(size_t n, const std::string &path = LIBRARY_PATH)
    {
        std::istringstream in(BuildTextSummary(path, DATE));
        std::string line;
        while (std::getline(in, line) && n--) {
        }
        return line;
    }
    // The line of control c (5..66) of group g.
    static std::string ControlLine(unsigned g, unsigned c) { return Line(14 + g * 66 + 4 + (c - 5)); }
};

}  // namespace

TEST_F(TextSummary, DefaultLibraryMatchesTheExpectedFile)
{
    const std::string expected = ReadFileText(CVQ9_SOURCE_DIR "/tests/unit/data/default_library_summary.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(BuildTextSummary(LIBRARY_PATH, DATE), expected);
}

TEST_F(TextSummary, LineRules)
{
    ResetConfiguration(0);
    EXPECT_EQ(Line(4, ""), "Library file: ");
    EXPECT_EQ(Line(9), "Control 00 [Rec button] >> [MIDI] ");
    EXPECT_EQ(Line(16), "***** GROUP 00 *****");
    EXPECT_EQ(ControlLine(20, 66), "Control 66 [LFO] >> Undefined Control");

    ResetConfiguration(1);
    mycontrol[0][13] = All_Params{};  // undefined even with a chain and MIDI bytes
    mycontrol[0][13].ctrl_chain = 9;
    mycontrol[0][13].midi_string[0] = 0x90;
    EXPECT_EQ(ControlLine(0, 13), "Control 13 [Knob 5 (row 0 - col 5)] >> Undefined Control");
    mycontrol[4][20].midi_str_lenght = 2;  // failing other checks: still written
    mycontrol[4][20].midi_string[0] = 0xC3;
    mycontrol[4][20].midi_string[1] = 0xab;
    EXPECT_EQ(ControlLine(4, 20), "Control 20 [Knob 12 (row 1 - col 4)] >> [LCD]     CC # 052  [MIDI] C3AB");
    for (unsigned i = 0; i < 21; ++i)
        mycontrol[5][30].midi_string[i] = static_cast<uint8_t>(i);
    mycontrol[5][30].midi_str_lenght = 200;  // 21 bytes at most
    mylcdstring[5][30] = Text("x");
    EXPECT_EQ(ControlLine(5, 30),
              "Control 30 [Knob 22 (row 2 - col 6)] >> [LCD] x  [MIDI] 000102030405060708090A0B0C0D0E0F1011121314");

    // LCD texts verbatim up to their NUL, as their low 8 bits.
    const std::pair<Q9Text, std::string> lcd[] = {{Text("100%s %d%%"), "100%s %d%%"},
                                                  {Text("Cut") + L'\0' + Text("hidden"), "Cut"},
                                                  {Q9Text(1, L'\0'), ""},
                                                  {Q9Text{L'a', wchar_t(0xE9), wchar_t(0x141)}, "a\xE9\x41"},
                                                  {Text("A text longer than sixteen"), "A text longer than sixteen"}};
    for (const auto &t : lcd) {
        mylcdstring[2][8] = t.first;
        EXPECT_EQ(ControlLine(2, 8), "Control 08 [Knob 0 (row 0 - col 0)] >> [LCD] " + t.second + "  [MIDI] B01800");
    }
    // Group titles: the name up to its NUL when it holds more than spaces and only 8-bit characters.
    std::vector<std::pair<Q9Text, std::string>> titles = {
        {Text("Drums %s"), "Drums %s"}, {Text("  "), "  "}, {Text("Keys") + L'\0' + wchar_t(0xE9), "Keys"}};
    for (const Q9Text &unnamed : {Text(" "), Q9Text(), Q9Text(1, L'\0'), Text(" ") + L'\0',
                                  Q9Text{L'B', wchar_t(0xE4), L's'}, Q9Text{L'X', wchar_t(0x158)}})
        titles.emplace_back(unnamed, "GROUP 03");
    for (const auto &t : titles) {
        mygroupnames[3] = t.first;
        EXPECT_EQ(Line(14 + 3 * 66 + 2), "***** " + t.second + " *****");
    }
    // The library path: its first 256 characters, a UTF-8 one counting once, other bytes one by one.
    const std::string plain = "/" + std::string(300, 'p'), latin = "/" + std::string(300, '\xE9');
    const std::string utf8 = "/" + Repeat("\xC3\xA9", 300), utf8_cut = "/" + Repeat("\xC3\xA9", 255);
    for (const auto &p :
         {std::make_pair(plain, plain.substr(0, 256)), std::make_pair(plain.substr(0, 256), plain.substr(0, 256)),
          std::make_pair(utf8, utf8_cut), std::make_pair(latin, latin.substr(0, 256))})
        EXPECT_EQ(Line(4, p.first), "Library file: " + p.second);
}

TEST_F(TextSummary, ExportCreatesTheFileThenChecks)
{
    TempFolder folder;
    const std::string path = folder.File("summary.txt"), missing = folder.File("missing/summary.txt");
    int checks = 0;
    auto check = [&checks]() -> uint8_t { return ++checks == 1 ? 0 : 13; };
    SummaryExportResult result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, check);
    EXPECT_TRUE(result.ok && result.check == 0 && result.message.empty());
    EXPECT_EQ(ReadFileText(path), BuildTextSummary(LIBRARY_PATH, DATE));
    result = ExportTextSummaryFile(path, LIBRARY_PATH, DATE, check);
    EXPECT_TRUE(result.ok && result.check == 13);
    EXPECT_EQ(ReadFileText(path), "") << "a failed check leaves an empty file";
    result = ExportTextSummaryFile(missing, LIBRARY_PATH, DATE, check);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Unable to create " + missing);
    EXPECT_EQ(checks, 2) << "no check without a file";
}
