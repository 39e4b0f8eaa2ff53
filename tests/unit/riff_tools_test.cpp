// Chunk reader: opening, dword reads, flat descend and ascend, padding, form
// types, sizes that lie or run past their parent, and reading a whole file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "libconv.h"
#include "preset_image_builder.h"
#include "riff_tools.h"

using namespace preset_image;

namespace {

constexpr RT_FOURCC A = RT_MakeFourcc('A', 'A', 'A', 'A'), B = RT_MakeFourcc('B', 'B', 'B', 'B'),
                    C = RT_MakeFourcc('C', 'C', 'C', 'C'), RIFF = RT_MakeFourcc('R', 'I', 'F', 'F'),
                    LIST = RT_MakeFourcc('L', 'I', 'S', 'T'), ONE = RT_MakeFourcc('O', 'N', 'E', ' '),
                    TWO = RT_MakeFourcc('T', 'W', 'O', ' ');

}  // namespace

TEST(RiffReader, OpenAndReadDwords)
{
    uint8_t block[10] = {0x00, 0x43, 0x54, 0x52, 0x4C, 0xFF};
    RT_FILE f;
    EXPECT_EQ(RT_Open(&f, block, 10), RT_OK);
    EXPECT_TRUE(f.StartAddress == block && f.EndAddress == block + 10 && f.CurPtr == block);
    EXPECT_EQ(RT_Open(&f, block, 0), RT_OK);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(f.EndAddress), UINTPTR_MAX) << "size 0: an unknown end";
    EXPECT_EQ(RT_ReadDword(block + 1), RT_MakeFourcc('C', 'T', 'R', 'L'));
    EXPECT_EQ(RT_ReadDword(block + 2), 0xFF4C5254u);
}

TEST(RiffReader, FlatSearchWithinTheParent)
{
    Image img(MakeChunk("AAAA", "1") + MakeChunk("BBBB", "hello!") + MakeChunk("AAAA", "2"));
    EXPECT_EQ(img.Find(Want(B)), "hello!");
    EXPECT_EQ(img.At(img.found.pData), 18u);
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.Find(Want(A)), "2") << "from the position on";
    EXPECT_EQ(img.Find(Want(A), nullptr, RT_FINDCHUNK | RT_FROMSTART), "1");
    for (unsigned flags : {0u, RT_FROMSTART, RT_FINDCHUNK | RT_FINDRIFF})  // no single known kind
        EXPECT_EQ(img.Find(Want(A), nullptr, static_cast<uint16_t>(flags)), "-");
    RT_CKINFO c = Want(C);  // a failed search changes neither the position nor the chunk
    c.pData = img.data.data() + 3;
    c.dataSize = 77;
    const RT_CKINFO before = c;
    img.file.CurPtr = img.data.data() + 10;
    EXPECT_EQ(RT_Descend(&img.file, &c, nullptr, RT_FINDCHUNK), RT_CHUNK_NOT_FOUND);
    EXPECT_EQ(img.At(img.file.CurPtr), 10u);
    EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0);
    EXPECT_EQ(RT_Descend(nullptr, &c, nullptr, RT_FINDCHUNK), RT_FAIL);
    EXPECT_EQ(RT_Descend(&img.file, nullptr, nullptr, RT_FINDCHUNK), RT_FAIL);

    Image nested(MakeChunk("AAAA", MakeChunk("BBBB", "12") + MakeChunk("BBBB", "34")) +
                 MakeChunk("AAAA", MakeChunk("BBBB", "56")) + MakeChunk("CCCC", "78"));
    EXPECT_EQ(nested.Find(Want(C), nullptr, RT_FINDCHUNK), "78");
    EXPECT_EQ(nested.Find(Want(B), nullptr, RT_FINDCHUNK | RT_FROMSTART), "-") << "nested chunks are not seen";
    ASSERT_NE(nested.Find(Want(A), nullptr, RT_FINDCHUNK | RT_FROMSTART), "-");
    RT_CKINFO parent = nested.found;
    EXPECT_EQ(nested.Find(Want(B), &parent), "12");
    RT_Ascend(&nested.file, &nested.found);
    EXPECT_EQ(nested.Find(Want(B), &parent), "34");
    RT_Ascend(&nested.file, &nested.found);
    EXPECT_EQ(nested.Find(Want(C), &parent, RT_FINDCHUNK | RT_FROMSTART), "-") << "the parent bounds the search";
    EXPECT_EQ(nested.Find(Want(B)), "-") << "without a parent: the next top-level chunk is stepped over whole";
    nested.file.CurPtr = nested.data.data();  // a position before the parent's data
    EXPECT_EQ(nested.Find(Want(B), &parent), "-");
    nested.file.CurPtr = nested.file.EndAddress;
    EXPECT_EQ(nested.Find(Want(C)), "-");
}

TEST(RiffReader, PaddingAndFormTypes)
{
    Image img(MakeChunk("AAAA", "abc") + MakeChunk("AAAA", "d") + MakeChunk("CCCC", "ef") + RawChunk("BBBB", 3, "xyz"));
    EXPECT_EQ(img.Find(Want(A)), "abc");
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.At(img.file.CurPtr), 12u) << "after the pad byte";
    EXPECT_EQ(img.Find(Want(C)), "ef") << "odd chunks are stepped over with their pad";
    RT_Ascend(&img.file, &img.found);
    EXPECT_EQ(img.Find(Want(B)), "xyz");
    RT_Ascend(&img.file, &img.found);  // no pad after the last chunk: tolerated
    EXPECT_EQ(img.file.CurPtr, img.file.EndAddress);
    EXPECT_EQ(img.Find(Want(C)), "-");
    img.file.CurPtr = img.data.data();
    EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_OK);

    Image forms(MakeChunk("RIFF", "ON") + Form("LIST", "XXXX", "no") + Form("LIST", "ONE ", "a") +
                Form("RIFF", "TWO ", MakeChunk("AAAA", "q") + Form("LIST", "TWO ", MakeChunk("BBBB", "deep"))));
    EXPECT_EQ(forms.Find(Want(LIST, ONE, ONE), nullptr, RT_FINDLIST), "a") << "a wrong form type is stepped over";
    EXPECT_EQ(forms.At(forms.found.pData), 10u + 14u + 12u) << "the data after the form type";
    ASSERT_NE(forms.Find(Want(RIFF, ONE, TWO), nullptr, RT_FINDRIFF | RT_FROMSTART), "-") << "either form type";
    EXPECT_EQ(forms.At(forms.found.pData), 50u);
    EXPECT_EQ(forms.found.dataSize, 34u);
    RT_CKINFO riff = forms.found;
    ASSERT_NE(forms.Find(Want(LIST, TWO), &riff, RT_FINDRIFF), "-") << "RIFF and LIST searches alike";
    RT_CKINFO list = forms.found;
    EXPECT_EQ(forms.Find(Want(B), &list), "deep");
    EXPECT_EQ(forms.Find(Want(RIFF, RT_MakeFourcc('O', 'N', 0, 0)), nullptr, RT_FINDRIFF | RT_FROMSTART), "-")
        << "a form chunk too short for its type";
    Image cut(RawChunk("RIFF", 4, "ON"));
    EXPECT_EQ(cut.Find(Want(RIFF, ONE), nullptr, RT_FINDRIFF), "-");
}

TEST(RiffReader, SizesRunningPastTheImageOrTheParentEndTheSearch)
{
    const std::string cases[] = {MakeChunk("AAAA", "1") + RawChunk("BBBB", 1000, "short"),
                                 RawChunk("AAAA", 0xFFFFFFF0u, "") + MakeChunk("BBBB", "x"),
                                 RawChunk("BBBB", 0xFFFFFFFFu, "abcd")};
    for (const std::string &bytes : cases) {
        Image img(bytes);
        EXPECT_EQ(img.Find(Want(B)), "-");
        EXPECT_EQ(img.file.CurPtr, img.data.data());
        EXPECT_EQ(RT_CheckSizes(&img.file, nullptr), RT_FAIL);
    }
    Image img(MakeChunk("AAAA", RawChunk("BBBB", 20, "abcd")) + std::string(40, 'z') + MakeChunk("CCCC", ""));
    ASSERT_NE(img.Find(Want(A)), "-");
    RT_CKINFO parent = img.found;
    EXPECT_EQ(img.Find(Want(B), &parent), "-") << "inside the image, past the parent";
    EXPECT_EQ(RT_CheckSizes(&img.file, &parent), RT_FAIL);
    for (size_t cut = 1; cut < 8; ++cut) {  // too few bytes for a header end the level
        Image end(MakeChunk("AAAA", "12") + std::string("BBBBxxxx").substr(0, cut));
        EXPECT_EQ(end.Find(Want(B)), "-");
        EXPECT_EQ(RT_CheckSizes(&end.file, nullptr), RT_OK) << cut;
    }
    Image empty(MakeChunk("AAAA", "") + Form("LIST", "ONE ", MakeChunk("BBBB", "x")));
    EXPECT_EQ(empty.Find(Want(A)), "");
    parent = empty.found;
    EXPECT_EQ(empty.Find(Want(B), &parent), "-");
    EXPECT_EQ(RT_CheckSizes(&empty.file, &parent), RT_OK);
    RT_CKINFO fake = Want(A);  // an ascend stays within the image; one past an unfound chunk stays put
    fake.pData = empty.data.data() + 8;
    fake.dataSize = 5000;
    RT_Ascend(&empty.file, &fake);
    EXPECT_EQ(empty.file.CurPtr, empty.file.EndAddress);
    empty.file.CurPtr = empty.data.data() + 4;
    RT_CKINFO unfound = Want(B);
    RT_Ascend(&empty.file, &unfound);
    EXPECT_EQ(empty.At(empty.file.CurPtr), 4u);
}

TEST(RiffReader, LoadFileInRam)
{
    ReleasePresetLibrary();
    TempDir dir;
    const std::string content = MakeChunk("LIBR", "abc") + std::string("\0\r\n\x1a\xff", 5);
    ASSERT_EQ(RT_LoadFileInRam(dir.Write("whole.xcq", content).c_str()), content.size());
    EXPECT_EQ(presetfiledatalength, content.size());
    ASSERT_NE(Libfiledata, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(Libfiledata), content.size()), content);
    uint8_t *const buffer = Libfiledata;
    for (const std::string &path : {dir.File("absent.xcq"), dir.Write("empty.xcq", ""), dir.Path()}) {
        EXPECT_EQ(RT_LoadFileInRam(path.c_str()), 0u) << path;
        EXPECT_EQ(presetfiledatalength, 0u);
        EXPECT_EQ(Libfiledata, buffer) << "the buffer is left";
    }
    EXPECT_EQ(RT_LoadFileInRam(nullptr), 0u);
    ASSERT_EQ(RT_LoadFileInRam(dir.Write("b.xcq", "second").c_str()), 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(Libfiledata), 6), "second");
    ReleasePresetLibrary();
}
