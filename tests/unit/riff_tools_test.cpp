// Chunk reader: opening, dword reads, flat descend/ascend, padding, form types,
// sizes that lie, and reading a whole file into memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "libconv.h"
#include "preset_image_builder.h"
#include "riff_tools.h"

using namespace preset_image;

namespace {

constexpr RT_FOURCC ID_AAAA = RT_MakeFourcc('A', 'A', 'A', 'A');
constexpr RT_FOURCC ID_BBBB = RT_MakeFourcc('B', 'B', 'B', 'B');
constexpr RT_FOURCC ID_CCCC = RT_MakeFourcc('C', 'C', 'C', 'C');
constexpr RT_FOURCC ID_RIFF = RT_MakeFourcc('R', 'I', 'F', 'F');
constexpr RT_FOURCC ID_LIST = RT_MakeFourcc('L', 'I', 'S', 'T');
constexpr RT_FOURCC FORM_ONE = RT_MakeFourcc('O', 'N', 'E', ' ');
constexpr RT_FOURCC FORM_TWO = RT_MakeFourcc('T', 'W', 'O', ' ');

RT_CKINFO Want(RT_FOURCC id, RT_FOURCC form = 0, RT_FOURCC form2 = 0)
{
    RT_CKINFO c;
    std::memset(&c, 0, sizeof c);
    c.ckid = id;
    c.fccType = form;
    c.fccType2 = form2;
    return c;
}

// An image in a heap block of exactly its size, so that any read past its end
// is caught by the address sanitizer.
struct Image {
    explicit Image(const std::string &bytes) : data(Bytes(bytes))
    {
        RT_Open(&file, data.data(), static_cast<uint32_t>(data.size()));
    }
    size_t Offset(const uint8_t *p) const { return static_cast<size_t>(p - data.data()); }
    std::vector<uint8_t> data;
    RT_FILE file;
};

bool SameChunk(const RT_CKINFO &a, const RT_CKINFO &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// ---- RT_Open and RT_ReadDword ----

TEST(RiffOpen, SetsStartEndAndCurrentPosition)
{
    uint8_t block[10] = {};
    RT_FILE f;
    EXPECT_EQ(RT_Open(&f, block, 10), RT_OK);
    EXPECT_EQ(f.StartAddress, block);
    EXPECT_EQ(f.EndAddress, block + 10);
    EXPECT_EQ(f.CurPtr, block);
}

TEST(RiffOpen, SizeZeroMeansUnknownEnd)
{
    uint8_t block[4] = {};
    RT_FILE f;
    EXPECT_EQ(RT_Open(&f, block, 0), RT_OK);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(f.EndAddress), UINTPTR_MAX);
}

TEST(RiffReadDword, LittleEndianAtAnyAlignment)
{
    const uint8_t bytes[] = {0x00, 0x43, 0x54, 0x52, 0x4C, 0xFF};
    EXPECT_EQ(RT_ReadDword(bytes + 1), RT_MakeFourcc('C', 'T', 'R', 'L'));
    EXPECT_EQ(RT_ReadDword(bytes + 1), 0x4C525443u);
    EXPECT_EQ(RT_ReadDword(bytes + 2), 0xFF4C5254u);
}

// ---- Plain chunk search ----

TEST(RiffDescend, FindsChunkAndReportsItsData)
{
    Image img(MakeChunk("AAAA", "xy") + MakeChunk("BBBB", "hello!"));
    RT_CKINFO b = Want(ID_BBBB);
    ASSERT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(img.Offset(b.pData), 10u + 8u);
    EXPECT_EQ(b.dataSize, 6u);
    EXPECT_EQ(img.file.CurPtr, b.pData);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(b.pData), b.dataSize), "hello!");
}

TEST(RiffDescend, FromStartFindsFirstEvenWhenPositionIsPastIt)
{
    Image img(MakeChunk("AAAA", "1") + MakeChunk("BBBB", "") + MakeChunk("AAAA", "2"));
    img.file.CurPtr = img.data.data() + 10 + 8;  // the second AAAA
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK | RT_FROMSTART), RT_OK);
    EXPECT_EQ(*a.pData, '1');
}

TEST(RiffDescend, WithoutFromStartFindsNextAtOrAfterPosition)
{
    Image img(MakeChunk("AAAA", "1") + MakeChunk("BBBB", "") + MakeChunk("AAAA", "2"));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(*a.pData, '1');
    RT_Ascend(&img.file, &a);
    RT_CKINFO again = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &again, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(*again.pData, '2');
}

TEST(RiffDescend, FailedSearchChangesNeitherPositionNorChunk)
{
    Image img(MakeChunk("AAAA", "12") + MakeChunk("BBBB", "34"));
    img.file.CurPtr = img.data.data() + 10;
    RT_CKINFO c = Want(ID_CCCC);
    c.pData = img.data.data() + 3;
    c.dataSize = 77;
    const RT_CKINFO before = c;
    EXPECT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(img.file.CurPtr, img.data.data() + 10);
    EXPECT_TRUE(SameChunk(c, before));
}

TEST(RiffDescend, WalkIsFlatAndDoesNotSeeNestedChunks)
{
    Image img(MakeChunk("AAAA", MakeChunk("CCCC", "in")) + MakeChunk("BBBB", ""));
    RT_CKINFO c = Want(ID_CCCC);
    EXPECT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    ASSERT_EQ(RT_Descend(&img.file, &c, &a, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(c.pData), c.dataSize), "in");
}

TEST(RiffDescend, ParentBoundsTheSearch)
{
    Image img(MakeChunk("AAAA", MakeChunk("BBBB", "x")) + MakeChunk("CCCC", "after"));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    RT_CKINFO c = Want(ID_CCCC);
    EXPECT_EQ(RT_Descend(&img.file, &c, &a, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_Descend(&img.file, &c, &a, RT_FINDCHUNK | RT_FROMSTART), RT_CHUNK_NOT_FOUND);
}

TEST(RiffDescend, WithoutParentSearchContinuesPastParentEndIntoNextTopLevelChunks)
{
    Image img(MakeChunk("AAAA", MakeChunk("BBBB", "12") + MakeChunk("BBBB", "34")) +
              MakeChunk("AAAA", MakeChunk("BBBB", "56")) + MakeChunk("BBBB", "78"));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    std::vector<std::string> seen;
    RT_CKINFO b = Want(ID_BBBB);
    while (RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK) == RT_OK) {
        seen.emplace_back(reinterpret_cast<char *>(b.pData), b.dataSize);
        RT_Ascend(&img.file, &b);
    }
    // The second top-level AAAA is stepped over whole, so "56" is not seen.
    EXPECT_EQ(seen, (std::vector<std::string>{"12", "34", "78"}));
}

TEST(RiffDescend, KindOtherThanTheThreeFindsNothing)
{
    Image img(MakeChunk("AAAA", "1"));
    RT_CKINFO a = Want(ID_AAAA);
    EXPECT_EQ(RT_Descend(&img.file, &a, nullptr, 0), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FROMSTART), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK | RT_FINDRIFF), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
}

TEST(RiffDescend, NullArgumentsFail)
{
    Image img(MakeChunk("AAAA", "1"));
    RT_CKINFO a = Want(ID_AAAA);
    EXPECT_EQ(RT_Descend(nullptr, &a, nullptr, RT_FINDCHUNK), RT_FAIL);
    EXPECT_EQ(RT_Descend(&img.file, nullptr, nullptr, RT_FINDCHUNK), RT_FAIL);
}

// ---- Padding ----

TEST(RiffPadding, OddChunkIsFollowedByPadAndAscendLandsOnNextHeader)
{
    Image img(MakeChunk("AAAA", "abc") + MakeChunk("BBBB", "d") + MakeChunk("CCCC", "ef"));
    ASSERT_EQ(img.data.size(), 12u + 10u + 10u);
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(a.dataSize, 3u);
    RT_Ascend(&img.file, &a);
    EXPECT_EQ(img.Offset(img.file.CurPtr), 12u);
    EXPECT_EQ(RT_ReadDword(img.file.CurPtr), ID_BBBB);
    RT_CKINFO b = Want(ID_BBBB);
    ASSERT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_OK);
    RT_Ascend(&img.file, &b);
    EXPECT_EQ(img.Offset(img.file.CurPtr), 22u);
    RT_CKINFO c = Want(ID_CCCC);
    ASSERT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(c.pData), c.dataSize), "ef");
}

TEST(RiffPadding, SearchStepsOverOddChunksWithTheirPad)
{
    Image img(MakeChunk("AAAA", "a") + MakeChunk("AAAA", "bbb") + MakeChunk("CCCC", "z"));
    RT_CKINFO c = Want(ID_CCCC);
    ASSERT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(*c.pData, 'z');
}

TEST(RiffPadding, MissingPadAfterTheLastChunkIsTolerated)
{
    Image img(MakeChunk("AAAA", "xy") + RawChunk("BBBB", 3, "abc"));
    RT_CKINFO b = Want(ID_BBBB);
    ASSERT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_OK);
    RT_Ascend(&img.file, &b);
    EXPECT_EQ(img.file.CurPtr, img.file.EndAddress);  // kept within the image
    RT_CKINFO c = Want(ID_CCCC);
    EXPECT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_OK);
}

// ---- RIFF and LIST form types ----

TEST(RiffForms, MatchesEitherFormTypeAndReportsDataAfterIt)
{
    Image img(Form("RIFF", "TWO ", "payload!"));
    RT_CKINFO r = Want(ID_RIFF, FORM_ONE, FORM_TWO);
    ASSERT_EQ(RT_Descend(&img.file, &r, nullptr, RT_FINDRIFF), RT_OK);
    EXPECT_EQ(img.Offset(r.pData), 12u);
    EXPECT_EQ(r.dataSize, 8u);
    EXPECT_EQ(img.file.CurPtr, r.pData);
}

TEST(RiffForms, WrongFormTypeIsSteppedOver)
{
    Image img(Form("LIST", "XXXX", "no") + Form("LIST", "ONE ", "yes"));
    RT_CKINFO l = Want(ID_LIST, FORM_ONE, FORM_ONE);
    ASSERT_EQ(RT_Descend(&img.file, &l, nullptr, RT_FINDLIST), RT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(l.pData), l.dataSize), "yes");
}

TEST(RiffForms, RiffAndListSearchesBehaveAlike)
{
    Image img(Form("LIST", "ONE ", "a") + Form("RIFF", "ONE ", "b"));
    RT_CKINFO l = Want(ID_LIST, FORM_ONE);
    RT_CKINFO r = Want(ID_RIFF, FORM_ONE);
    ASSERT_EQ(RT_Descend(&img.file, &l, nullptr, RT_FINDRIFF | RT_FROMSTART), RT_OK);
    ASSERT_EQ(RT_Descend(&img.file, &r, nullptr, RT_FINDLIST | RT_FROMSTART), RT_OK);
    EXPECT_EQ(*l.pData, 'a');
    EXPECT_EQ(*r.pData, 'b');
}

TEST(RiffForms, NestedListInsideRiff)
{
    Image img(Form("RIFF", "ONE ", MakeChunk("AAAA", "q") + Form("LIST", "TWO ", MakeChunk("BBBB", "deep"))));
    RT_CKINFO r = Want(ID_RIFF, FORM_ONE);
    ASSERT_EQ(RT_Descend(&img.file, &r, nullptr, RT_FINDRIFF), RT_OK);
    RT_CKINFO l = Want(ID_LIST, FORM_TWO);
    ASSERT_EQ(RT_Descend(&img.file, &l, &r, RT_FINDLIST), RT_OK);
    RT_CKINFO b = Want(ID_BBBB);
    ASSERT_EQ(RT_Descend(&img.file, &b, &l, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(b.pData), b.dataSize), "deep");
}

TEST(RiffForms, FormChunkTooShortForItsTypeIsNotMatched)
{
    Image img(MakeChunk("RIFF", "ON") + Form("RIFF", "ONE ", "ok"));
    RT_CKINFO r = Want(ID_RIFF, RT_MakeFourcc('O', 'N', 0, 0), FORM_ONE);
    ASSERT_EQ(RT_Descend(&img.file, &r, nullptr, RT_FINDRIFF), RT_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(r.pData), r.dataSize), "ok");
}

// ---- Sizes that lie, truncated headers ----

TEST(RiffBounds, SizePastTheImageEndsTheSearch)
{
    Image img(MakeChunk("AAAA", "1") + RawChunk("BBBB", 1000, "short"));
    RT_CKINFO b = Want(ID_BBBB);
    const uint8_t *before = img.file.CurPtr;
    EXPECT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(img.file.CurPtr, before);
    EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_FAIL);
}

TEST(RiffBounds, ChunkBehindALyingSizeIsNotReached)
{
    Image img(RawChunk("AAAA", 0xFFFFFFF0u, "") + MakeChunk("BBBB", "x"));
    RT_CKINFO b = Want(ID_BBBB);
    EXPECT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
}

TEST(RiffBounds, LargestSizeDoesNotWrapAround)
{
    Image img(RawChunk("AAAA", 0xFFFFFFFFu, "abcd"));
    RT_CKINFO a = Want(ID_AAAA);
    EXPECT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
}

TEST(RiffBounds, SizePastTheParentEndsTheSearch)
{
    // The inner chunk claims 20 bytes: it fits in the image but not in its parent.
    const std::string inner = RawChunk("BBBB", 20, "abcd");
    Image img(MakeChunk("AAAA", inner) + std::string(40, 'z'));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    RT_CKINFO b = Want(ID_BBBB);
    EXPECT_EQ(RT_Descend(&img.file, &b, &a, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_CheckSizes(&img.file, &a), RT_FAIL);
}

TEST(RiffBounds, BytesTooFewForAHeaderEndTheLevel)
{
    for (size_t cut = 1; cut < 8; ++cut) {
        Image img(MakeChunk("AAAA", "12") + std::string("BBBBxxxx").substr(0, cut));
        RT_CKINFO b = Want(ID_BBBB);
        EXPECT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND) << cut;
        EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_OK) << cut;
    }
}

TEST(RiffBounds, TruncatedFormHeaderIsNotMatched)
{
    // A RIFF header whose form type would lie past the image.
    Image img(RawChunk("RIFF", 4, "ON"));
    RT_CKINFO r = Want(ID_RIFF, FORM_ONE);
    EXPECT_EQ(RT_Descend(&img.file, &r, nullptr, RT_FINDRIFF), RT_CHUNK_NOT_FOUND);
}

TEST(RiffBounds, PositionOutsideTheRangeFindsNothing)
{
    Image img(MakeChunk("AAAA", MakeChunk("BBBB", "x")) + MakeChunk("BBBB", "y"));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    img.file.CurPtr = img.data.data();  // before the parent's data
    RT_CKINFO b = Want(ID_BBBB);
    EXPECT_EQ(RT_Descend(&img.file, &b, &a, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    img.file.CurPtr = img.file.EndAddress;
    EXPECT_EQ(RT_Descend(&img.file, &b, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
}

TEST(RiffBounds, EmptyImageAndEmptyParentFindNothing)
{
    Image img(MakeChunk("AAAA", ""));
    RT_CKINFO a = Want(ID_AAAA);
    ASSERT_EQ(RT_Descend(&img.file, &a, nullptr, RT_FINDCHUNK), RT_OK);
    EXPECT_EQ(a.dataSize, 0u);
    RT_CKINFO b = Want(ID_BBBB);
    EXPECT_EQ(RT_Descend(&img.file, &b, &a, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(RT_CheckSizes(&img.file, &a), RT_OK);
}

TEST(RiffBounds, AscendStaysWithinTheImage)
{
    Image img(MakeChunk("AAAA", "12"));
    RT_CKINFO fake = Want(ID_AAAA);
    fake.pData = img.data.data() + 8;
    fake.dataSize = 5000;
    RT_Ascend(&img.file, &fake);
    EXPECT_EQ(img.file.CurPtr, img.file.EndAddress);
    RT_CKINFO unfound = Want(ID_BBBB);
    img.file.CurPtr = img.data.data() + 4;
    RT_Ascend(&img.file, &unfound);  // never found: the position stays
    EXPECT_EQ(img.file.CurPtr, img.data.data() + 4);
}

TEST(RiffBounds, CheckSizesAcceptsAWellFormedLevel)
{
    Image img(MakeChunk("AAAA", "odd") + Form("LIST", "ONE ", MakeChunk("BBBB", "x")) + MakeChunk("CCCC", ""));
    EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_OK);
}

// ---- RT_LoadFileInRam ----

class RiffLoadFile : public ::testing::Test
{
protected:
    void SetUp() override { ReleasePresetLibrary(); }
    void TearDown() override { ReleasePresetLibrary(); }
    TempDir dir;
};

TEST_F(RiffLoadFile, ReadsTheWholeFile)
{
    std::string content = MakeChunk("LIBR", "abc");
    content += std::string("\0\r\n\x1a\xff", 5);  // binary bytes survive
    const std::string path = dir.Write("whole.xcq", content);
    EXPECT_EQ(RT_LoadFileInRam(path.c_str()), content.size());
    EXPECT_EQ(presetfiledatalength, content.size());
    ASSERT_NE(Libfiledata, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(Libfiledata), content.size()), content);
}

TEST_F(RiffLoadFile, MissingFileGivesZeroAndLeavesTheBuffer)
{
    const std::string good = dir.Write("good.xcq", "0123456789");
    ASSERT_EQ(RT_LoadFileInRam(good.c_str()), 10u);
    uint8_t *const buffer = Libfiledata;
    EXPECT_EQ(RT_LoadFileInRam(dir.File("absent.xcq").c_str()), 0u);
    EXPECT_EQ(presetfiledatalength, 0u);
    EXPECT_EQ(Libfiledata, buffer);
    EXPECT_EQ(std::memcmp(Libfiledata, "0123456789", 10), 0);
}

TEST_F(RiffLoadFile, EmptyFileIsNoPresetData)
{
    const std::string path = dir.Write("empty.xcq", "");
    EXPECT_EQ(RT_LoadFileInRam(path.c_str()), 0u);
    EXPECT_EQ(presetfiledatalength, 0u);
}

TEST_F(RiffLoadFile, FolderIsNoPresetData)
{
    EXPECT_EQ(RT_LoadFileInRam(dir.Path().c_str()), 0u);
    EXPECT_EQ(presetfiledatalength, 0u);
}

TEST_F(RiffLoadFile, NullPathIsNoPresetData)
{
    EXPECT_EQ(RT_LoadFileInRam(nullptr), 0u);
}

TEST_F(RiffLoadFile, SecondLoadReplacesTheFirst)
{
    const std::string a = dir.Write("a.xcq", "first file");
    const std::string b = dir.Write("b.xcq", "second");
    ASSERT_EQ(RT_LoadFileInRam(a.c_str()), 10u);
    ASSERT_EQ(RT_LoadFileInRam(b.c_str()), 6u);
    EXPECT_EQ(std::memcmp(Libfiledata, "second", 6), 0);
}
