// User curves: the generated models, the text form and its check, the
// two-page check of "Check && Exit", and the plotted value.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "curve_models.h"

namespace {

using Curve = std::vector<uint8_t>;

Curve Generated(const wchar_t *name)
{
    Curve c(kCurvePoints, 0xAA);
    EXPECT_TRUE(GenerateCurve(name, c.data()));
    return c;
}

// A text of 128 lines of `fill`, line `line` (if any) holding `content`.
std::wstring Lines(const std::wstring &fill, size_t line = kCurvePoints, const std::wstring &content = L"")
{
    std::wstring text;
    for (size_t i = 0; i < kCurvePoints; ++i)
        text += (i ? L"\n" : L"") + (i == line ? content : fill);
    return text;
}

}  // namespace

TEST(CurveModels, NamesAndGeneratedPoints)
{
    for (size_t i = 0; i < kCurveModelCount; ++i) {
        CurveModel m = CurveModel::Zeros;
        ASSERT_TRUE(CurveModelFromName(CurveModelName(static_cast<CurveModel>(i)), &m));
        EXPECT_EQ(static_cast<size_t>(m), i);
    }
    CurveModel m = CurveModel::Expo;
    for (const wchar_t *unknown : {L"linear", L"Log.", L"", L"Sine"}) {
        EXPECT_FALSE(CurveModelFromName(unknown, &m));
        Curve c(kCurvePoints, 33);
        EXPECT_FALSE(GenerateCurve(unknown, c.data()));
        EXPECT_EQ(c, Curve(kCurvePoints, 33));
    }
    EXPECT_EQ(m, CurveModel::Expo);

    const Curve zeros = Generated(L"Zeros"), linear = Generated(L"Linear"), inv_linear = Generated(L"Inv Linear");
    const Curve log = Generated(L"Log"), inv_log = Generated(L"Inv Log");
    const Curve expo = Generated(L"Expo"), inv_expo = Generated(L"Inv Expo");
    for (size_t i = 0; i < kCurvePoints; ++i) {
        EXPECT_EQ(zeros[i], 0);
        EXPECT_EQ(linear[i], i);
        EXPECT_EQ(inv_linear[i], 127 - i);
        EXPECT_EQ(inv_log[i], 127 - log[i]);
        EXPECT_EQ(inv_expo[i], 127 - expo[i]);
        EXPECT_LE(log[i], 127);
        EXPECT_LE(expo[i], 127);
        EXPECT_TRUE(i == 0 || (log[i] >= log[i - 1] && expo[i] >= expo[i - 1])) << "rising at " << i;
    }
    EXPECT_EQ(Curve(log.begin(), log.begin() + 6), Curve({0, 9, 18, 28, 36, 42}));
    EXPECT_EQ(Curve({log[10], log[100], log[127]}), Curve({60, 120, 127}));
    EXPECT_EQ(Curve(expo.begin(), expo.begin() + 9), Curve({0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Curve({expo[26], expo[100], expo[127]}), Curve({2, 45, 127}));
}

TEST(CurveModels, RandomTakesEachDrawModulo127)
{
    const std::vector<int> draws = {0, 126, 127, 128, 254, 1000, 32767};
    size_t next = 0;
    Curve c(kCurvePoints);
    ASSERT_TRUE(GenerateCurve(L"Random", c.data(), [&] { return draws[next++ % draws.size()]; }));
    EXPECT_EQ(next, 128u) << "one draw per point, in order";
    EXPECT_EQ(Curve(c.begin(), c.begin() + 7), Curve({0, 126, 0, 1, 0, 1000 % 127, 32767 % 127}));
    ASSERT_TRUE(GenerateCurve(L"Random", c.data()));
    for (uint8_t point : c)
        EXPECT_LE(point, 126);
}

TEST(CurveText, DisplayedTextHas128LinesAndChecksBackToTheSameCurve)
{
    const Curve log = Generated(L"Log");
    const std::wstring text = CurveToText(log.data());
    EXPECT_EQ(CurveTextLineCount(text), 128u);
    EXPECT_EQ(text.substr(0, 6), L"0\n9\n18");
    EXPECT_EQ(text.substr(text.size() - 4), L"\n127");
    Curve back(kCurvePoints, 0xEE);
    EXPECT_TRUE(CheckCurveText(text, back.data()).ok());
    EXPECT_EQ(back, log);
    EXPECT_EQ(CurveCheckMessage(CurveCheck()), L"");
    EXPECT_EQ(CurveTextLineCount(L""), 1u);
    EXPECT_EQ(CurveTextLineCount(L"\n\n"), 3u);
}

TEST(CurveText, CheckStoresEachLineUntilTheFirstFault)
{
    struct Case {
        std::wstring text;
        CurveFault fault;
        size_t value;
    };
    const Case cases[] = {
        {Lines(L"5") + L"\n", CurveFault::LineCount, 129},
        {Lines(L"5").substr(2), CurveFault::LineCount, 127},
        {L"", CurveFault::LineCount, 1},
        {Lines(L"5", 10, L"12a"), CurveFault::BadCharacter, 10},
        {Lines(L"5", 0, L" 1"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"1 "), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"-1"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"+1"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"1\r"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"1.0"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 0, L"\x00B2"), CurveFault::BadCharacter, 0},
        {Lines(L"5", 127, L"x"), CurveFault::BadCharacter, 127},
        {Lines(L"5", 3, L"128"), CurveFault::OutOfRange, 3},
        {Lines(L"5", 0, L"4294967301"), CurveFault::OutOfRange, 0},  // 2^32 + 5 must not wrap round
        {Lines(L"5", 1, std::wstring(400, L'9')), CurveFault::OutOfRange, 1},
    };
    for (const Case &c : cases) {
        Curve target(kCurvePoints, 99);
        const CurveCheck check = CheckCurveText(c.text, target.data());
        EXPECT_EQ(check.fault, c.fault) << &c - cases;
        EXPECT_EQ(check.value, c.value) << &c - cases;
        const std::wstring message = CurveCheckMessage(check);
        EXPECT_NE(message.find(std::to_wstring(c.value)), std::wstring::npos) << &c - cases;
        EXPECT_EQ(message.find(L"between 0 and 127") != std::wstring::npos, c.fault == CurveFault::OutOfRange);
        const size_t stored = c.fault == CurveFault::LineCount ? 0 : c.value;
        for (size_t i = 0; i < kCurvePoints; ++i)
            ASSERT_EQ(target[i], i < stored ? 5 : 99) << &c - cases << " at " << i;
    }
    Curve target(kCurvePoints, 50);  // bounds, leading zeros, an empty line stores 0
    ASSERT_TRUE(CheckCurveText(L"127\n0\n\n000127" + Lines(L"5").substr(7), target.data()).ok());
    EXPECT_EQ(Curve(target.begin(), target.begin() + 5), Curve({127, 0, 0, 127, 5}));
    ASSERT_TRUE(CheckCurveText(std::wstring(127, L'\n'), target.data()).ok());
    EXPECT_EQ(target, Curve(kCurvePoints, 0));
}

TEST(CurveText, BothPagesAreCheckedInOrderAndPlottedWhenValid)
{
    Curve c1(kCurvePoints, 9), c2(kCurvePoints, 9);
    CurveCheck failure;
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"1") + L"\n", c1.data(), Lines(L"2"), c2.data(), &failure), 1);
    EXPECT_EQ(failure.value, 129u);
    EXPECT_EQ(c1, Curve(kCurvePoints, 9));
    EXPECT_EQ(c2, Curve(kCurvePoints, 9)) << "page 2 is not looked at";
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"100"), c1.data(), Lines(L"7", 20, L"200"), c2.data(), &failure), 2);
    EXPECT_EQ(failure.fault, CurveFault::OutOfRange);
    EXPECT_EQ(c1, Curve(kCurvePoints, 100)) << "page 1 is stored whole";
    EXPECT_EQ(Curve({c2[19], c2[20]}), Curve({7, 9}));
    EXPECT_EQ(CheckBothCurveTexts(Lines(L"1"), c1.data(), Lines(L"2"), c2.data(), &failure), 0);
    EXPECT_EQ(Curve({c1[127], c2[127]}), Curve({1, 2}));

    Curve c(kCurvePoints, 127);
    EXPECT_TRUE(CurvePageIsPlottable(Lines(L"x"), c.data())) << "the text's content is not looked at";
    EXPECT_FALSE(CurvePageIsPlottable(Lines(L"1") + L"\n", c.data()));
    c[64] = 128;
    EXPECT_FALSE(CurvePageIsPlottable(Lines(L"1"), c.data()));
}

TEST(CurveText, PlottedValueTruncatesTowardsZeroInsideTheTable)
{
    Curve c = Generated(L"Inv Linear");
    c[127] = 42;
    const std::pair<double, double> cases[] = {{0.0, 127},  {0.99, 127}, {1.0, 126},  {50.5, 77},
                                               {127.0, 42}, {127.9, 42}, {-0.5, 127}, {128.0, 0},
                                               {1e9, 0},    {-1.0, 0},   {-50.0, 0},  {std::nan(""), 0}};
    for (const auto &x : cases)
        EXPECT_DOUBLE_EQ(CurveValueAt(c.data(), x.first), x.second) << x.first;
}
