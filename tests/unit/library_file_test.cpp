// The library file: its byte layout, save/load round trips through real
// files, the pre-1.4 conversion, short files and failures to read or write.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>

#include "file_formats_support.h"
#include "library_file.h"
#include "record_access.h"
#include "text_bytes.h"

using namespace cvq9_test;

namespace {

class LibraryFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetConfiguration(1);
        CurrentGroup = 0;
        ControlIndex = 0;
        ASSERT_FALSE(folder.Path().empty());
    }
    TempFolder folder;
};

// The transport positions 0..4 of every group are never stored: give them
// recognisable contents to prove a load leaves them alone.
void MarkUnusedEntries()
{
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 0; c < FIRST_GROUP_CONTROL; ++c) {
            std::memset(&mycontrol[g][c], static_cast<int>(0xA0 + c), sizeof(All_Params));
            mylcdstring[g][c] = Text("unused entry");
        }
    }
}

void ExpectUnusedEntriesMarked()
{
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 0; c < FIRST_GROUP_CONTROL; ++c) {
            All_Params expected;
            std::memset(&expected, static_cast<int>(0xA0 + c), sizeof expected);
            EXPECT_TRUE(SameRecord(mycontrol[g][c], expected)) << "group " << g << " index " << c;
            EXPECT_EQ(mylcdstring[g][c], Text("unused entry"));
        }
    }
}

// The tables as a reload of `saved` must show them.
void ExpectLoadedFrom(const TablesSnapshot &saved)
{
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        EXPECT_TRUE(SameRecord(mytransport[t], saved.Transport(t))) << "transport " << t;
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c) {
            ASSERT_TRUE(SameRecord(mycontrol[g][c], saved.Record(g, c))) << "group " << g << " index " << c;
            ASSERT_EQ(mylcdstring[g][c], StoredFieldText(saved.Lcd(g, c), LCD_STRING_LENGHT))
                << "group " << g << " index " << c;
        }
        EXPECT_EQ(mygroupnames[g], StoredFieldText(saved.names[g], GROUP_NAME_LENGHT)) << "group " << g;
    }
    EXPECT_EQ(std::vector<uint8_t>(common_params, common_params + COMMON_PARAMS_LENGHT), saved.common);
    EXPECT_EQ(std::vector<uint8_t>(user_curve_1, user_curve_1 + USER_CURVE_POINTS), saved.curve1);
    EXPECT_EQ(std::vector<uint8_t>(user_curve_2, user_curve_2 + USER_CURVE_POINTS), saved.curve2);
}

std::vector<uint8_t> RecordBytes(const All_Params &record)
{
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&record);
    return std::vector<uint8_t>(bytes, bytes + sizeof record);
}

// ---------------------------------------------------------------- layout

TEST_F(LibraryFileTest, SavedFileHasTheFixedSizeAndSignature)
{
    const std::string path = folder.File("lib.cvq");
    const LibrarySaveResult result = SaveLibraryFile(path);
    ASSERT_EQ(result.status, LibraryFileStatus::Ok);
    EXPECT_TRUE(result.message.empty());
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 63248u);
    EXPECT_EQ(bytes[0], 0x53);
    EXPECT_EQ(bytes[1], 0x31);
}

TEST_F(LibraryFileTest, ItemsSitAtTheirOffsets)
{
    FillRandomConfiguration(7);
    const std::vector<uint8_t> image = BuildLibraryImage();
    ASSERT_EQ(image.size(), 63248u);
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + 2 + 32 * t, image.begin() + 34 + 32 * t),
                  RecordBytes(mytransport[t]));
    // Offsets worked out by hand: 162 + (g * 62 + c - 5) * 48.
    struct {
        unsigned g, c;
        size_t offset;
    } entries[] = {{0, 5, 162}, {0, 6, 210}, {0, 66, 162 + 61 * 48}, {1, 5, 162 + 62 * 48}, {20, 66, 62610}};
    for (const auto &e : entries) {
        EXPECT_EQ(LibraryEntryOffset(e.g, e.c), e.offset);
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + e.offset, image.begin() + e.offset + 32),
                  RecordBytes(mycontrol[e.g][e.c]));
        uint8_t lcd[17] = {0};
        TextToBytes(lcd, mylcdstring[e.g][e.c], 16);
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + e.offset + 32, image.begin() + e.offset + 48),
                  std::vector<uint8_t>(lcd, lcd + 16));
    }
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        uint8_t name[17] = {0};
        TextToBytes(name, mygroupnames[g], 14);
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + 62658 + 14 * g, image.begin() + 62672 + 14 * g),
                  std::vector<uint8_t>(name, name + 14));
    }
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 62952, image.begin() + 62992),
              std::vector<uint8_t>(common_params, common_params + 40));
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 62992, image.begin() + 63120),
              std::vector<uint8_t>(user_curve_1, user_curve_1 + 128));
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 63120, image.end()),
              std::vector<uint8_t>(user_curve_2, user_curve_2 + 128));
}

TEST_F(LibraryFileTest, ShortTextsArePaddedWithZeroBytes)
{
    mylcdstring[0][5] = Text("Vol");
    mygroupnames[0] = Text("Drums");
    mygroupnames[0].push_back(L'\0');
    const std::vector<uint8_t> image = BuildLibraryImage();
    const uint8_t lcd[16] = {'V', 'o', 'l', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&image[162 + 32], lcd, 16));
    const uint8_t name[14] = {'D', 'r', 'u', 'm', 's', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&image[62658], name, 14));
}

TEST_F(LibraryFileTest, FullWidthTextsHaveNoNulAndLongerOnesAreCut)
{
    mylcdstring[0][5] = Text("ABCDEFGHIJKLMNOPQ");  // 17 characters
    mygroupnames[1] = Text("0123456789ABCD");       // exactly 14
    mygroupnames[2] = Text("0123456789ABCDE");      // 15
    const std::vector<uint8_t> image = BuildLibraryImage();
    EXPECT_EQ(0, std::memcmp(&image[162 + 32], "ABCDEFGHIJKLMNOP", 16));
    EXPECT_EQ(image[162 + 48], mycontrol[0][6].ctrl_status_0);  // the next entry follows at once
    EXPECT_EQ(0, std::memcmp(&image[62658 + 14], "0123456789ABCD", 14));
    EXPECT_EQ(0, std::memcmp(&image[62658 + 28], "0123456789ABCD", 14));
}

TEST_F(LibraryFileTest, CharactersAreStoredAsTheirLowEightBits)
{
    mylcdstring[0][5] = Q9Text{L'A', static_cast<wchar_t>(0x1E9), static_cast<wchar_t>(0xE9), L'Z'};
    const std::vector<uint8_t> image = BuildLibraryImage();
    EXPECT_EQ(image[162 + 32], 'A');
    EXPECT_EQ(image[162 + 33], 0xE9);
    EXPECT_EQ(image[162 + 34], 0xE9);
    EXPECT_EQ(image[162 + 35], 'Z');
    EXPECT_EQ(image[162 + 36], 0);
}

// ---------------------------------------------------------------- round trips

TEST_F(LibraryFileTest, RandomConfigurationsSurviveSaveAndLoad)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        FillRandomConfiguration(seed);
        const TablesSnapshot saved = TablesSnapshot::Take();
        const std::string path = folder.File("round.cvq");
        ASSERT_EQ(SaveLibraryFile(path).status, LibraryFileStatus::Ok);

        FillRandomConfiguration(seed + 1000);
        MarkUnusedEntries();
        const LibraryLoadResult loaded = LoadLibraryFile(path);
        ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
        EXPECT_EQ(loaded.layout, LibraryLayout::Current);
        EXPECT_TRUE(loaded.message.empty());
        ExpectLoadedFrom(saved);
        ExpectUnusedEntriesMarked();

        // Saving what was loaded gives the same file again.
        const std::vector<uint8_t> first = ReadFileBytes(path);
        ASSERT_EQ(SaveLibraryFile(folder.File("again.cvq")).status, LibraryFileStatus::Ok);
        EXPECT_EQ(ReadFileBytes(folder.File("again.cvq")), first);
    }
}

TEST_F(LibraryFileTest, LoadedTextsEndWithOneNul)
{
    mylcdstring[3][20] = Text("Cutoff");
    mylcdstring[3][21] = Q9Text();
    mygroupnames[4] = Text("0123456789ABCD");
    mygroupnames[5] = Text("0123456789ABCDE");
    mylcdstring[3][22] = Text("ABCDEFGHIJKLMNOPQ");
    const std::string path = folder.File("texts.cvq");
    ASSERT_EQ(SaveLibraryFile(path).status, LibraryFileStatus::Ok);
    ResetConfiguration(0);
    ASSERT_EQ(LoadLibraryFile(path).status, LibraryFileStatus::Ok);
    Q9Text cutoff = Text("Cutoff");
    cutoff.push_back(L'\0');
    EXPECT_EQ(mylcdstring[3][20], cutoff);
    EXPECT_EQ(mylcdstring[3][21], Q9Text(1, L'\0'));
    Q9Text fourteen = Text("0123456789ABCD");
    fourteen.push_back(L'\0');
    EXPECT_EQ(mygroupnames[4], fourteen);
    EXPECT_EQ(mygroupnames[5], fourteen);
    Q9Text sixteen = Text("ABCDEFGHIJKLMNOP");
    sixteen.push_back(L'\0');
    EXPECT_EQ(mylcdstring[3][22], sixteen);
}

TEST_F(LibraryFileTest, FieldBytesAboveSevenBitsReadBackAsCharacters)
{
    std::vector<uint8_t> image = BuildLibraryImage();
    const uint8_t lcd[16] = {0xE9, 0xFF, 0x80, 'x', 0, 'y', 'z'};
    std::memcpy(&image[LibraryEntryOffset(7, 30) + 32], lcd, 16);
    ParseLibraryImage(image.data(), image.size());
    EXPECT_EQ(mylcdstring[7][30], (Q9Text{static_cast<wchar_t>(0xE9), static_cast<wchar_t>(0xFF),
                                          static_cast<wchar_t>(0x80), L'x', L'\0'}));
}

// ---------------------------------------------------------------- pre-1.4 layout

// A pre-1.4 image: transport at 0, controls at 160, names at 62656, common
// parameters 0..32 and 34..39 at 62950, the curves at 62989 and 63117.
std::vector<uint8_t> Pre14Image(const TablesSnapshot &tables)
{
    std::vector<uint8_t> image(63245, 0);
    std::memcpy(&image[0], tables.transport.data(), 160);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 5; c <= 66; ++c) {
            const size_t at = 160 + (g * 62 + c - 5) * 48;
            std::memcpy(&image[at], &tables.Record(g, c), 32);
            TextToBytes(&image[at + 32], tables.Lcd(g, c), 15);  // at most 15 characters then its NUL
        }
        TextToBytes(&image[62656 + 14 * g], tables.names[g], 13);
    }
    std::memcpy(&image[62950], tables.common.data(), 33);
    std::memcpy(&image[62950 + 33], tables.common.data() + 34, 6);
    std::memcpy(&image[62989], tables.curve1.data(), 128);
    std::memcpy(&image[63117], tables.curve2.data(), 128);
    return image;
}

TEST_F(LibraryFileTest, Pre14FileIsConvertedWithItsOperatingMode)
{
    FillRandomConfiguration(31);
    mytransport[0].ctrl_status_0 = 0x12;  // not the signature
    common_params[5] = 0x18 | 0x61;
    common_params[33] = 0x77;  // not stored in that layout
    TablesSnapshot old_tables = TablesSnapshot::Take();
    const std::string path = folder.File("old.cvq");
    ASSERT_TRUE(WriteFileBytes(path, Pre14Image(old_tables)));

    FillRandomConfiguration(32);
    MarkUnusedEntries();
    const LibraryLoadResult loaded = LoadLibraryFile(path);
    ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
    EXPECT_EQ(loaded.layout, LibraryLayout::Pre14);
    EXPECT_EQ(common_params[33], 3);
    EXPECT_EQ(common_params[5], 0x61);

    old_tables.common[5] = 0x61;
    old_tables.common[33] = 3;
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 5; c <= 66; ++c)
            old_tables.lcd[g * CONTROLS_PER_GROUP + c] = StoredFieldText(old_tables.Lcd(g, c), 15);
        old_tables.names[g] = StoredFieldText(old_tables.names[g], 13);
    }
    ExpectLoadedFrom(old_tables);
    ExpectUnusedEntriesMarked();
}

TEST_F(LibraryFileTest, Pre14OperatingModeBitsGiveModesZeroToThree)
{
    const uint8_t bits[] = {0x00, 0x08, 0x10, 0x18};
    for (uint8_t mode = 0; mode < 4; ++mode) {
        TablesSnapshot tables = TablesSnapshot::Take();
        tables.transport[0] = 0;
        tables.common[5] = static_cast<uint8_t>(bits[mode] | 0x80 | 0x01);
        const std::vector<uint8_t> image = Pre14Image(tables);
        common_params[33] = 0xEE;
        EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Pre14);
        EXPECT_EQ(common_params[33], mode);
        EXPECT_EQ(common_params[5], 0x81);
    }
}

TEST_F(LibraryFileTest, Pre14FileStartingWithTheSignatureByteIsReadAsCurrent)
{
    TablesSnapshot tables = TablesSnapshot::Take();
    tables.transport[0] = 0x53;
    std::vector<uint8_t> image = Pre14Image(tables);
    const std::string path = folder.File("old53.cvq");
    ASSERT_TRUE(WriteFileBytes(path, image));
    std::memset(user_curve_2, 0x55, sizeof user_curve_2);
    const LibraryLoadResult loaded = LoadLibraryFile(path);
    ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
    EXPECT_EQ(loaded.layout, LibraryLayout::Current);
    // Everything is read two bytes further on: the first transport record
    // comes from bytes 2..33, and the second curve, 3 bytes short, is zeroed.
    EXPECT_EQ(RecordBytes(mytransport[0]), std::vector<uint8_t>(image.begin() + 2, image.begin() + 34));
    EXPECT_EQ(std::vector<uint8_t>(user_curve_2, user_curve_2 + 128), std::vector<uint8_t>(128, 0));
}

TEST_F(LibraryFileTest, CurrentSizedFileWithoutSignatureIsConverted)
{
    std::vector<uint8_t> image = BuildLibraryImage();
    image[0] = 0x54;
    EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Pre14);
}

// ---------------------------------------------------------------- short and long files

TEST_F(LibraryFileTest, EmptyFileChangesNoRecordAndDefaultsNamesAndCurves)
{
    FillRandomConfiguration(5);
    const TablesSnapshot before = TablesSnapshot::Take();
    const std::string path = folder.File("empty.cvq");
    ASSERT_TRUE(WriteFileBytes(path, {}));
    const LibraryLoadResult loaded = LoadLibraryFile(path);
    ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
    EXPECT_EQ(loaded.layout, LibraryLayout::Pre14);
    const TablesSnapshot after = TablesSnapshot::Take();
    EXPECT_EQ(after.control, before.control);
    EXPECT_EQ(after.transport, before.transport);
    EXPECT_EQ(after.lcd, before.lcd);
    EXPECT_EQ(after.common, before.common);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        EXPECT_EQ(mygroupnames[g], DefaultGroupName(g));
    EXPECT_EQ(mygroupnames[7], Text("   Group 07   "));
    EXPECT_EQ(after.curve1, std::vector<uint8_t>(128, 0));
    EXPECT_EQ(after.curve2, std::vector<uint8_t>(128, 0));
}

// What a load of the first `size` bytes of `image` (current layout) must give:
// an item wholly inside the file is taken, anything else keeps its previous
// contents, except names (default name) and curves (zeros).
TablesSnapshot ExpectedAfterTruncatedLoad(const TablesSnapshot &before, const TablesSnapshot &full, size_t size)
{
    TablesSnapshot expected = before;
    auto inside = [size](size_t offset, size_t length) { return offset + length <= size; };
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        if (inside(2 + 32 * t, 32))
            std::memcpy(&expected.transport[32 * t], &full.transport[32 * t], 32);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 5; c <= 66; ++c) {
            const size_t at = 162 + (g * 62 + c - 5) * 48;
            if (inside(at, 32))
                std::memcpy(&expected.control[(g * CONTROLS_PER_GROUP + c) * 32],
                            &full.control[(g * CONTROLS_PER_GROUP + c) * 32], 32);
            if (inside(at + 32, 16))
                expected.lcd[g * CONTROLS_PER_GROUP + c] = StoredFieldText(full.Lcd(g, c), 16);
        }
        expected.names[g] = inside(62658 + 14 * g, 14) ? StoredFieldText(full.names[g], 14) : DefaultGroupName(g);
    }
    if (inside(62952, 40))
        expected.common = full.common;
    expected.curve1 = inside(62992, 128) ? full.curve1 : std::vector<uint8_t>(128, 0);
    expected.curve2 = inside(63120, 128) ? full.curve2 : std::vector<uint8_t>(128, 0);
    return expected;
}

TEST_F(LibraryFileTest, TruncatedFilesKeepWhatTheyDoNotHold)
{
    FillRandomConfiguration(77);
    const TablesSnapshot full = TablesSnapshot::Take();
    const std::vector<uint8_t> image = BuildLibraryImage();
    const size_t e = LibraryEntryOffset(3, 10);
    const size_t sizes[] = {1,
                            2,
                            12,
                            34,
                            162,
                            e,
                            e + 5,
                            e + 32,
                            e + 35,
                            e + 48,
                            62610 + 47,
                            62658,
                            62658 + 14 * 5 + 3,
                            62658 + 14 * 21 - 1,
                            62952,
                            62952 + 20,
                            62991,
                            62992,
                            63000,
                            63119,
                            63120,
                            63200,
                            63247};
    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        FillRandomConfiguration(static_cast<uint32_t>(size));
        const TablesSnapshot before = TablesSnapshot::Take();
        const std::string path = folder.File("short.cvq");
        ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(image.begin(), image.begin() + size)));
        const LibraryLoadResult loaded = LoadLibraryFile(path);
        ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
        EXPECT_EQ(loaded.layout, LibraryLayout::Current);
        const TablesSnapshot expected = ExpectedAfterTruncatedLoad(before, full, size);
        const TablesSnapshot after = TablesSnapshot::Take();
        EXPECT_EQ(after.transport, expected.transport);
        EXPECT_EQ(after.control, expected.control);
        EXPECT_EQ(after.lcd, expected.lcd);
        EXPECT_EQ(after.names, expected.names);
        EXPECT_EQ(after.common, expected.common);
        EXPECT_EQ(after.curve1, expected.curve1);
        EXPECT_EQ(after.curve2, expected.curve2);
    }
}

TEST_F(LibraryFileTest, EveryLengthOfAnImageIsReadWithinIt)
{
    FillRandomConfiguration(78);
    const TablesSnapshot full = TablesSnapshot::Take();
    const std::vector<uint8_t> image = BuildLibraryImage();
    FillRandomConfiguration(79);
    const TablesSnapshot before = TablesSnapshot::Take();
    for (size_t size = 0; size <= image.size(); size += (size < 400 || size > 62600) ? 1 : 997) {
        // An exact-size copy, so that the sanitizer build catches any read past it.
        const std::vector<uint8_t> part(image.begin(), image.begin() + size);
        FillRandomConfiguration(79);
        ParseLibraryImage(part.empty() ? nullptr : part.data(), part.size());
        ASSERT_TRUE(TablesSnapshot::Take() == ExpectedAfterTruncatedLoad(before, full, size)) << "size " << size;
    }
}

TEST_F(LibraryFileTest, FileEndingInsideTheNamesKeepsCommonParameters)
{
    const std::vector<uint8_t> image = BuildLibraryImage();
    const std::string path = folder.File("names.cvq");
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(image.begin(), image.begin() + 62658 + 14 * 3 + 6)));
    std::memset(common_params, 0x42, sizeof common_params);
    for (auto &name : mygroupnames)
        name = Text("before");
    ASSERT_EQ(LoadLibraryFile(path).status, LibraryFileStatus::Ok);
    EXPECT_EQ(std::vector<uint8_t>(common_params, common_params + 40), std::vector<uint8_t>(40, 0x42));
    for (unsigned g = 0; g < 3; ++g)
        EXPECT_EQ(mygroupnames[g], StoredFieldText(DefaultGroupName(g), 14));
    for (unsigned g = 3; g < GROUP_NB; ++g)
        EXPECT_EQ(mygroupnames[g], DefaultGroupName(g));
    EXPECT_EQ(std::vector<uint8_t>(user_curve_1, user_curve_1 + 128), std::vector<uint8_t>(128, 0));
}

TEST_F(LibraryFileTest, ShortPre14FileKeepsCommonParametersUnconverted)
{
    TablesSnapshot tables = TablesSnapshot::Take();
    tables.transport[0] = 0;
    std::vector<uint8_t> image = Pre14Image(tables);
    image.resize(62950 + 20);
    common_params[5] = 0x18;
    common_params[33] = 0;
    EXPECT_EQ(ParseLibraryImage(image.data(), image.size()), LibraryLayout::Pre14);
    EXPECT_EQ(common_params[5], 0x18);
    EXPECT_EQ(common_params[33], 0);
}

TEST_F(LibraryFileTest, BytesAfterTheLayoutAreIgnored)
{
    FillRandomConfiguration(90);
    const TablesSnapshot saved = TablesSnapshot::Take();
    std::vector<uint8_t> image = BuildLibraryImage();
    image.resize(image.size() + 100000, 0xEE);
    const std::string path = folder.File("long.cvq");
    ASSERT_TRUE(WriteFileBytes(path, image));
    FillRandomConfiguration(91);
    const LibraryLoadResult loaded = LoadLibraryFile(path);
    ASSERT_EQ(loaded.status, LibraryFileStatus::Ok);
    EXPECT_EQ(loaded.layout, LibraryLayout::Current);
    ExpectLoadedFrom(saved);
}

// ---------------------------------------------------------------- failures

TEST_F(LibraryFileTest, MissingFileIsRefusedAndChangesNothing)
{
    FillRandomConfiguration(3);
    const TablesSnapshot before = TablesSnapshot::Take();
    const std::string path = folder.File("absent.cvq");
    const LibraryLoadResult loaded = LoadLibraryFile(path);
    EXPECT_EQ(loaded.status, LibraryFileStatus::CannotRead);
    EXPECT_EQ(loaded.message, "Unable to read " + path);
    EXPECT_TRUE(TablesSnapshot::Take() == before);
}

TEST_F(LibraryFileTest, FolderInsteadOfFileIsRefusedAndChangesNothing)
{
    FillRandomConfiguration(4);
    const TablesSnapshot before = TablesSnapshot::Take();
    const LibraryLoadResult loaded = LoadLibraryFile(folder.Path());
    EXPECT_EQ(loaded.status, LibraryFileStatus::CannotRead);
    EXPECT_EQ(loaded.message, "Unable to read " + folder.Path());
    EXPECT_TRUE(TablesSnapshot::Take() == before);
}

TEST_F(LibraryFileTest, SaveIntoMissingFolderFails)
{
    const std::string path = folder.File("no-such-folder/lib.cvq");
    const LibrarySaveResult result = SaveLibraryFile(path);
    EXPECT_EQ(result.status, LibraryFileStatus::CannotWrite);
    EXPECT_EQ(result.message, "Unable to write/overwrite " + path);
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(LibraryFileTest, SaveBelowARegularFileFails)
{
    ASSERT_TRUE(WriteFileText(folder.File("plain"), "not a folder"));
    const std::string path = folder.File("plain/lib.cvq");
    const LibrarySaveResult result = SaveLibraryFile(path);
    EXPECT_EQ(result.status, LibraryFileStatus::CannotWrite);
    EXPECT_EQ(result.message, "Unable to write/overwrite " + path);
    EXPECT_EQ(ReadFileBytes(folder.File("plain")),
              std::vector<uint8_t>({'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'}));
}

TEST_F(LibraryFileTest, SaveOntoAFolderFailsAndLeavesIt)
{
    ASSERT_EQ(mkdir(folder.File("sub").c_str(), 0755), 0);
    const LibrarySaveResult result = SaveLibraryFile(folder.File("sub"));
    EXPECT_EQ(result.status, LibraryFileStatus::CannotWrite);
    struct stat st;
    ASSERT_EQ(stat(folder.File("sub").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"sub"});
}

TEST_F(LibraryFileTest, FailedWriteLeavesThePreviousLibraryIntact)
{
    const std::string path = folder.File("keep.cvq");
    ASSERT_EQ(SaveLibraryFile(path).status, LibraryFileStatus::Ok);
    const std::vector<uint8_t> previous = ReadFileBytes(path);
    ASSERT_EQ(previous.size(), 63248u);

    // A child process may write at most 4000 bytes per file: the save fails
    // part way through the image.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4000, 4000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(10);
        FillRandomConfiguration(1234);
        const LibrarySaveResult result = SaveLibraryFile(path);
        if (result.status != LibraryFileStatus::CannotWrite)
            _exit(11);
        if (result.message != "Unable to write/overwrite " + path)
            _exit(12);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.cvq"});  // no temporary file left
}

// Runs `fn` with the rights of an ordinary user: root may write any file, so
// as root it runs in a child process under the "nobody" identity. Gives what
// `fn` returns (0 to 127).
int AsOrdinaryUser(const std::function<int()> &fn)
{
    if (geteuid() != 0)
        return fn();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(100);
        _exit(fn());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(LibraryFileTest, PermissionsDecideHowAnExistingFileIsReplaced)
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
        const std::string dir = folder.File(std::to_string(n++));
        const std::string path = dir + "/lib.cvq";
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
        const std::vector<uint8_t> old_contents = {'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't', 's'};
        EXPECT_EQ(ReadFileBytes(path), c.saved ? BuildLibraryImage() : old_contents) << c.name;
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.file_mode) << c.name;
        std::vector<std::string> entries;
        if (DIR *d = opendir(dir.c_str())) {
            while (dirent *e = readdir(d)) {
                const std::string name = e->d_name;
                if (name != "." && name != "..")
                    entries.push_back(name);
            }
            closedir(d);
        }
        EXPECT_EQ(entries, std::vector<std::string>{"lib.cvq"}) << c.name;
    }
}

TEST_F(LibraryFileTest, SaveThroughASymbolicLinkKeepsTheLink)
{
    const std::string target = folder.File("real.cvq");
    const std::string link = folder.File("link.cvq");
    ASSERT_TRUE(WriteFileText(target, "old"));
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(SaveLibraryFile(link).status, LibraryFileStatus::Ok);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFileBytes(target).size(), 63248u);
}

}  // namespace
