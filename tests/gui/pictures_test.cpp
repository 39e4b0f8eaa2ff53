// The program's own reader of its built-in XPM pictures gives the images the
// toolkit's reader gives: the same size, the same visible pixels, the same
// transparent pixels; and damaged data is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/image.h>

#include "cvq9_pictures.h"
#include "cvq9_resources.h"

namespace {

// Compares two images pixel by pixel; "" when they are the same picture.
std::string Difference(const wxImage &mine, const wxImage &toolkit)
{
    if (!mine.IsOk() || !toolkit.IsOk())
        return "invalid image";
    if (mine.GetWidth() != toolkit.GetWidth() || mine.GetHeight() != toolkit.GetHeight())
        return "size";
    if (mine.HasMask() != toolkit.HasMask())
        return "mask presence";
    if (mine.HasAlpha() != toolkit.HasAlpha())
        return "alpha presence";
    for (int y = 0; y < mine.GetHeight(); ++y) {
        for (int x = 0; x < mine.GetWidth(); ++x) {
            const bool clear_mine = mine.IsTransparent(x, y);
            const bool clear_toolkit = toolkit.IsTransparent(x, y);
            if (clear_mine != clear_toolkit)
                return "transparency at " + std::to_string(x) + "," + std::to_string(y);
            if (clear_mine)
                continue;
            if (mine.GetRed(x, y) != toolkit.GetRed(x, y) || mine.GetGreen(x, y) != toolkit.GetGreen(x, y) ||
                mine.GetBlue(x, y) != toolkit.GetBlue(x, y))
                return "colour at " + std::to_string(x) + "," + std::to_string(y);
        }
    }
    return "";
}

}  // namespace

TEST(BuiltInPictureReader, EveryPictureAsTheToolkitReadsIt)
{
    size_t count = 0;
    const Cvq9XpmResource *resources = Cvq9XpmResources(&count);
    ASSERT_GT(count, 0u);
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(Difference(XpmToImage(resources[i].xpm), wxImage(resources[i].xpm)), "") << resources[i].name;
    EXPECT_EQ(Difference(XpmToImage(Cvq9AppIconXpm()), wxImage(Cvq9AppIconXpm())), "") << "IDI_ICON1";
}

TEST(BuiltInPictureReader, TransparentPixelsTakeAColourNoVisiblePixelHas)
{
    // Magenta is visible here, so the mask colour must be another one.
    const char *const xpm[] = {"3 1 3 1", "a c #FF00FF", "b c None", "c c #000000", "abc"};
    const wxImage image = XpmToImage(xpm);
    ASSERT_TRUE(image.IsOk());
    ASSERT_TRUE(image.HasMask());
    EXPECT_FALSE(image.IsTransparent(0, 0));
    EXPECT_TRUE(image.IsTransparent(1, 0));
    EXPECT_FALSE(image.IsTransparent(2, 0));
    EXPECT_EQ(image.GetRed(0, 0), 255);
    EXPECT_EQ(image.GetBlue(0, 0), 255);
    EXPECT_EQ(image.GetRed(2, 0), 0);
}

TEST(BuiltInPictureReader, TwoCharactersPerPixel)
{
    const char *const xpm[] = {"2 2 2 2", "ab c #102030", "   c #A0B0C0", "ab  ", "  ab"};
    const wxImage image = XpmToImage(xpm);
    ASSERT_TRUE(image.IsOk());
    EXPECT_FALSE(image.HasMask());
    EXPECT_EQ(image.GetRed(0, 0), 0x10);
    EXPECT_EQ(image.GetGreen(0, 0), 0x20);
    EXPECT_EQ(image.GetBlue(0, 0), 0x30);
    EXPECT_EQ(image.GetRed(1, 0), 0xA0);
    EXPECT_EQ(image.GetRed(0, 1), 0xA0);
    EXPECT_EQ(image.GetBlue(1, 1), 0x30);
}

TEST(BuiltInPictureReader, DamagedDataNeverCrashes)
{
    EXPECT_FALSE(XpmToImage(nullptr).IsOk());
    EXPECT_FALSE(XpmToBitmap(nullptr).IsOk());
    EXPECT_FALSE(BuiltInBitmap("no such picture").IsOk());
    EXPECT_FALSE(BuiltInBitmap(nullptr).IsOk());
    const std::vector<std::vector<const char *>> damaged = {
        {"", nullptr},
        {"2 1", nullptr},
        {"0 1 1 1", "a c #000000", "", nullptr},
        {"99999 99999 1 1", "a c #000000", nullptr},
        {"2 1 1 3", "abc c #000000", "abcabc", nullptr},
        {"2 1 1 1", "a c #00000", "aa", nullptr},
        {"2 1 1 1", "a c red", "aa", nullptr},
        {"2 1 1 1", "a c #000000", "a", nullptr},
        {"2 1 1 1", "a c #000000", "ab", nullptr},
        {"2 2 1 1", "a c #000000", "aa", nullptr},
        {"2 1 2 1", "a c #000000", "a c #FFFFFF", "aa", nullptr},
        {"2 1 1 1", "a  x #000000", "aa", nullptr},
        {"2 1 1 1", "a c #000000 extra", "aa", nullptr},
    };
    for (size_t i = 0; i < damaged.size(); ++i)
        EXPECT_FALSE(XpmToImage(damaged[i].data()).IsOk()) << "case " << i;
}
