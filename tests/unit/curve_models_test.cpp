// User curves: the generated models, the text form and its check, the
// two-page check of "Check && Exit", and the plotted value.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "curve_models.h"

namespace {

struct Curve {
    uint8_t points[kCurvePoints];
    explicit Curve(uint8_t fill = 0) { std::memset(points, fill, sizeof points); }
};

Curve Generated(const wchar_t *name)
{
    Curve c(0xAA);
    EXPECT_TRUE(GenerateCurve(name, c.points)) << "model " << std::string(name, name + std::wcslen(name));
    return c;
}

// A text of `lines` lines holding `value` each.
std::wstring Lines(size_t lines, const std::wstring &value)
{
    std::wstring text;
    for (size_t i = 0; i < lines; ++i) {
        if (i)
            text += L'\n';
        text += value;
    }
    return text;
}

// A valid 128-line text with line `line` replaced by `content`.
std::wstring WithLine(size_t line, const std::wstring &content, const std::wstring &fill = L"5")
{
    std::wstring text;
    for (size_t i = 0; i < kCurvePoints; ++i) {
        if (i)
            text += L'\n';
        text += (i == line) ? content : fill;
    }
    return text;
}

}  // namespace

// ---- Models -----------------------------------------------------------------

TEST(CurveModelNames, ListOrderAndLookup)
{
    const wchar_t *expected[] = {L"Zeros",   L"Linear", L"Inv Linear", L"Log",
                                 L"Inv Log", L"Expo",   L"Inv Expo",   L"Random"};
    for (size_t i = 0; i < kCurveModelCount; ++i) {
        EXPECT_STREQ(expected[i], CurveModelName(static_cast<CurveModel>(i)));
        CurveModel m = CurveModel::Zeros;
        ASSERT_TRUE(CurveModelFromName(expected[i], &m));
        EXPECT_EQ(static_cast<CurveModel>(i), m);
    }
    CurveModel m = CurveModel::Expo;
    EXPECT_FALSE(CurveModelFromName(L"linear", &m));
    EXPECT_FALSE(CurveModelFromName(L"Log.", &m));
    EXPECT_FALSE(CurveModelFromName(L"", &m));
    EXPECT_EQ(CurveModel::Expo, m);
}

TEST(CurveModels, ZerosAndLinear)
{
    const Curve zeros = Generated(L"Zeros");
    const Curve linear = Generated(L"Linear");
    const Curve inv = Generated(L"Inv Linear");
    for (size_t i = 0; i < kCurvePoints; ++i) {
        EXPECT_EQ(0, zeros.points[i]);
        EXPECT_EQ(i, linear.points[i]);
        EXPECT_EQ(127 - i, inv.points[i]);
    }
    EXPECT_EQ(127, inv.points[0]);
    EXPECT_EQ(0, inv.points[127]);
}

TEST(CurveModels, LogAtListedPoints)
{
    const Curve log = Generated(L"Log");
    const int first[] = {0, 9, 18, 28, 36, 42};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(first[i], log.points[i]) << "i = " << i;
    EXPECT_EQ(60, log.points[10]);
    EXPECT_EQ(120, log.points[100]);
    EXPECT_EQ(127, log.points[127]);
    for (size_t i = 1; i < kCurvePoints; ++i)
        EXPECT_GE(log.points[i], log.points[i - 1]) << "not rising at " << i;
}

TEST(CurveModels, InvLogMirrorsLog)
{
    const Curve log = Generated(L"Log");
    const Curve inv = Generated(L"Inv Log");
    EXPECT_EQ(127, inv.points[0]);
    EXPECT_EQ(118, inv.points[1]);
    EXPECT_EQ(0, inv.points[127]);
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_EQ(127 - log.points[i], inv.points[i]) << "i = " << i;
}

TEST(CurveModels, ExpoAtListedPoints)
{
    const Curve expo = Generated(L"Expo");
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(0, expo.points[i]) << "i = " << i;
    EXPECT_EQ(1, expo.points[8]);
    EXPECT_EQ(2, expo.points[26]);
    EXPECT_EQ(45, expo.points[100]);
    EXPECT_EQ(127, expo.points[127]);
}

TEST(CurveModels, InvExpoAtListedPoints)
{
    const Curve inv = Generated(L"Inv Expo");
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(127, inv.points[i]) << "i = " << i;
    EXPECT_EQ(126, inv.points[8]);
    EXPECT_EQ(82, inv.points[100]);
    EXPECT_EQ(0, inv.points[127]);
}

TEST(CurveModels, EveryModelStaysInRange)
{
    for (size_t m = 0; m < kCurveModelCount; ++m) {
        const Curve c = Generated(CurveModelName(static_cast<CurveModel>(m)));
        for (size_t i = 0; i < kCurvePoints; ++i)
            EXPECT_LE(c.points[i], 127) << CurveModelName(static_cast<CurveModel>(m)) << " at " << i;
    }
}

TEST(CurveModels, RandomTakesEachDrawModulo127)
{
    int next = 0;
    const std::vector<int> draws = {0, 126, 127, 128, 254, 1000, 32767};
    Curve c;
    ASSERT_TRUE(GenerateCurve(L"Random", c.points, [&] { return draws[static_cast<size_t>(next++) % draws.size()]; }));
    EXPECT_EQ(128, next);  // one draw per point, in order
    const int expected[] = {0, 126, 0, 1, 0, 1000 % 127, 32767 % 127};
    for (size_t i = 0; i < draws.size(); ++i)
        EXPECT_EQ(expected[i], c.points[i]) << "i = " << i;
}

TEST(CurveModels, RandomByDefaultNeverReaches127)
{
    Curve c(200);
    ASSERT_TRUE(GenerateCurve(L"Random", c.points));
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_LE(c.points[i], 126);
}

TEST(CurveModels, UnknownNameLeavesCurveUnchanged)
{
    Curve c(33);
    EXPECT_FALSE(GenerateCurve(L"Sine", c.points));
    EXPECT_FALSE(GenerateCurve(L"", c.points));
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_EQ(33, c.points[i]);
}

// ---- Text form ----------------------------------------------------------------

TEST(CurveText, DisplayedCurveHas128LinesAndNoFinalBreak)
{
    const Curve linear = Generated(L"Linear");
    const std::wstring text = CurveToText(linear.points);
    EXPECT_EQ(128u, CurveTextLineCount(text));
    EXPECT_EQ(0u, text.find(L"0\n1\n2\n"));
    EXPECT_EQ(L"\n127", text.substr(text.size() - 4));
    EXPECT_NE(L'\n', text.back());
}

TEST(CurveText, LineCountIsBreaksPlusOne)
{
    EXPECT_EQ(1u, CurveTextLineCount(L""));
    EXPECT_EQ(1u, CurveTextLineCount(L"12"));
    EXPECT_EQ(2u, CurveTextLineCount(L"12\n"));
    EXPECT_EQ(3u, CurveTextLineCount(L"\n\n"));
}

TEST(CurveText, DisplayedTextChecksBackToTheSameCurve)
{
    const Curve log = Generated(L"Log");
    Curve back(0xEE);
    EXPECT_TRUE(CheckCurveText(CurveToText(log.points), back.points).ok());
    EXPECT_EQ(0, std::memcmp(log.points, back.points, kCurvePoints));
}

// ---- Check of the text ------------------------------------------------------------

TEST(CurveCheckLineCount, TrailingBreakGives129)
{
    const Curve linear = Generated(L"Linear");
    Curve target(7);
    const CurveCheck check = CheckCurveText(CurveToText(linear.points) + L"\n", target.points);
    EXPECT_EQ(CurveFault::LineCount, check.fault);
    EXPECT_EQ(129u, check.value);
    EXPECT_EQ(L"Uncorrect number of values\n(128 values required, found 129)", CurveCheckMessage(check));
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_EQ(7, target.points[i]) << "a wrong count stores nothing";
}

TEST(CurveCheckLineCount, TooFewAndEmpty)
{
    Curve target;
    CurveCheck check = CheckCurveText(Lines(127, L"1"), target.points);
    EXPECT_EQ(CurveFault::LineCount, check.fault);
    EXPECT_EQ(127u, check.value);
    check = CheckCurveText(L"", target.points);
    EXPECT_EQ(CurveFault::LineCount, check.fault);
    EXPECT_EQ(1u, check.value);
    EXPECT_EQ(L"Uncorrect number of values\n(128 values required, found 1)", CurveCheckMessage(check));
}

TEST(CurveCheckCharacters, LetterInLineIsReportedWithItsIndex)
{
    Curve target(99);
    const CurveCheck check = CheckCurveText(WithLine(10, L"12a"), target.points);
    EXPECT_EQ(CurveFault::BadCharacter, check.fault);
    EXPECT_EQ(10u, check.value);
    EXPECT_EQ(L"Uncorrect value found at line 10", CurveCheckMessage(check));
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(5, target.points[i]) << "lines before the fault are stored";
    for (size_t i = 10; i < kCurvePoints; ++i)
        EXPECT_EQ(99, target.points[i]) << "nothing from the faulty line on";
}

TEST(CurveCheckCharacters, SpacesSignsAndCarriageReturnsAreRefused)
{
    Curve target;
    for (const wchar_t *bad : {L" 1", L"1 ", L"-1", L"+1", L"1\r", L"1.0", L"\x00B2"}) {
        const CurveCheck check = CheckCurveText(WithLine(0, bad), target.points);
        EXPECT_EQ(CurveFault::BadCharacter, check.fault);
        EXPECT_EQ(0u, check.value);
    }
    const CurveCheck last = CheckCurveText(WithLine(127, L"x"), target.points);
    EXPECT_EQ(CurveFault::BadCharacter, last.fault);
    EXPECT_EQ(127u, last.value);
}

TEST(CurveCheckRange, AboveLimitIsReportedWithItsIndex)
{
    Curve target(99);
    const CurveCheck check = CheckCurveText(WithLine(3, L"128"), target.points);
    EXPECT_EQ(CurveFault::OutOfRange, check.fault);
    EXPECT_EQ(3u, check.value);
    EXPECT_EQ(L"Uncorrect value found at line 3\nAll values must be between 0 and 127", CurveCheckMessage(check));
    EXPECT_EQ(5, target.points[2]);
    EXPECT_EQ(99, target.points[3]);
}

TEST(CurveCheckRange, LongNumbersDoNotWrapRound)
{
    Curve target;
    // 2^32 + 5 would read as 5 in a 32-bit accumulator that wraps.
    const CurveCheck check = CheckCurveText(WithLine(0, L"4294967301"), target.points);
    EXPECT_EQ(CurveFault::OutOfRange, check.fault);
    const CurveCheck many = CheckCurveText(WithLine(1, std::wstring(400, L'9')), target.points);
    EXPECT_EQ(CurveFault::OutOfRange, many.fault);
    EXPECT_EQ(1u, many.value);
}

TEST(CurveCheckRange, BoundariesAndLeadingZerosAndEmptyLines)
{
    Curve target(50);
    std::wstring text = L"127\n0\n\n000127";
    for (size_t i = 4; i < kCurvePoints; ++i)
        text += L"\n5";
    ASSERT_EQ(128u, CurveTextLineCount(text));
    ASSERT_TRUE(CheckCurveText(text, target.points).ok());
    EXPECT_EQ(127, target.points[0]);
    EXPECT_EQ(0, target.points[1]);
    EXPECT_EQ(0, target.points[2]) << "an empty line stores 0";
    EXPECT_EQ(127, target.points[3]);
    EXPECT_EQ(5, target.points[127]);
}

TEST(CurveCheckRange, AllEmptyLinesGiveZeros)
{
    Curve target(50);
    ASSERT_TRUE(CheckCurveText(std::wstring(127, L'\n'), target.points).ok());
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_EQ(0, target.points[i]);
}

TEST(CurveCheckMessages, PassedCheckHasNoMessage)
{
    EXPECT_EQ(L"", CurveCheckMessage(CurveCheck()));
}

// ---- "Check && Exit" over both pages ---------------------------------------------------

TEST(CurveCheckBothPages, BothValidStoresBoth)
{
    Curve c1, c2;
    CurveCheck failure;
    EXPECT_EQ(0, CheckBothCurveTexts(Lines(128, L"1"), c1.points, Lines(128, L"2"), c2.points, &failure));
    EXPECT_TRUE(failure.ok());
    EXPECT_EQ(1, c1.points[127]);
    EXPECT_EQ(2, c2.points[127]);
}

TEST(CurveCheckBothPages, Page1IsStoredBeforePage2Fails)
{
    Curve c1(9), c2(9);
    CurveCheck failure;
    EXPECT_EQ(2, CheckBothCurveTexts(Lines(128, L"100"), c1.points, WithLine(20, L"200", L"7"), c2.points, &failure));
    EXPECT_EQ(CurveFault::OutOfRange, failure.fault);
    EXPECT_EQ(20u, failure.value);
    for (size_t i = 0; i < kCurvePoints; ++i)
        EXPECT_EQ(100, c1.points[i]) << "page 1 stored whole";
    EXPECT_EQ(7, c2.points[19]);
    EXPECT_EQ(9, c2.points[20]);
}

TEST(CurveCheckBothPages, Page1FailureLeavesPage2Alone)
{
    Curve c1(9), c2(9);
    CurveCheck failure;
    EXPECT_EQ(1, CheckBothCurveTexts(Lines(129, L"1"), c1.points, Lines(128, L"2"), c2.points, &failure));
    EXPECT_EQ(CurveFault::LineCount, failure.fault);
    EXPECT_EQ(129u, failure.value);
    for (size_t i = 0; i < kCurvePoints; ++i) {
        EXPECT_EQ(9, c1.points[i]);
        EXPECT_EQ(9, c2.points[i]);
    }
}

// ---- Replot on page change -----------------------------------------------------------

TEST(CurvePagePlottable, NeedsExactly128LinesAndPointsInRange)
{
    Curve c(127);
    EXPECT_TRUE(CurvePageIsPlottable(Lines(128, L"x"), c.points)) << "the text's content is not looked at";
    EXPECT_FALSE(CurvePageIsPlottable(Lines(129, L"1"), c.points));
    EXPECT_FALSE(CurvePageIsPlottable(L"", c.points));
    c.points[64] = 128;
    EXPECT_FALSE(CurvePageIsPlottable(Lines(128, L"1"), c.points));
}

// ---- Plotted value ---------------------------------------------------------------------

TEST(CurvePlotValue, TruncatesTowardsZeroInsideTheTable)
{
    Curve c = Generated(L"Inv Linear");
    c.points[127] = 42;
    EXPECT_DOUBLE_EQ(127.0, CurveValueAt(c.points, 0.0));
    EXPECT_DOUBLE_EQ(127.0, CurveValueAt(c.points, 0.99));
    EXPECT_DOUBLE_EQ(126.0, CurveValueAt(c.points, 1.0));
    EXPECT_DOUBLE_EQ(77.0, CurveValueAt(c.points, 50.5));
    EXPECT_DOUBLE_EQ(42.0, CurveValueAt(c.points, 127.0));
    EXPECT_DOUBLE_EQ(42.0, CurveValueAt(c.points, 127.9));
}

TEST(CurvePlotValue, ZeroOutsideTheTable)
{
    Curve c(100);
    EXPECT_DOUBLE_EQ(0.0, CurveValueAt(c.points, 128.0));
    EXPECT_DOUBLE_EQ(0.0, CurveValueAt(c.points, 1e9));
    EXPECT_DOUBLE_EQ(0.0, CurveValueAt(c.points, -1.0));
    EXPECT_DOUBLE_EQ(0.0, CurveValueAt(c.points, -50.0));
    EXPECT_DOUBLE_EQ(0.0, CurveValueAt(c.points, std::nan("")));
    // Truncation towards zero: just below 0 still reads entry 0.
    EXPECT_DOUBLE_EQ(100.0, CurveValueAt(c.points, -0.5));
}
