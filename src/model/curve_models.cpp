#include "curve_models.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const wchar_t *const kModelNames[kCurveModelCount] = {
    L"Zeros", L"Linear", L"Inv Linear", L"Log", L"Inv Log", L"Expo", L"Inv Expo", L"Random",
};

// trunc(60.37 * log10(i)): reaches 127 at i = 127 (127.006); i = 0 and 1 are fixed points.
uint8_t LogPoint(size_t i)
{
    if (i == 0)
        return 0;
    if (i == 1)
        return 9;
    return static_cast<uint8_t>(std::trunc(60.37 * std::log10(static_cast<double>(i))));
}

// trunc(exp(i / 26.2)): reaches 127 at i = 127 (127.4); the first eight points are 0.
uint8_t ExpoPoint(size_t i)
{
    if (i < 8)
        return 0;
    return static_cast<uint8_t>(std::trunc(std::exp(static_cast<double>(i) / 26.2)));
}

std::wstring Format(const wchar_t *format, size_t value)
{
    wchar_t buffer[128];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], format, static_cast<int>(value));
    return buffer;
}

}  // namespace

const wchar_t *CurveModelName(CurveModel model)
{
    const size_t index = static_cast<size_t>(model);
    return index < kCurveModelCount ? kModelNames[index] : L"";
}

bool CurveModelFromName(const std::wstring &name, CurveModel *model)
{
    for (size_t i = 0; i < kCurveModelCount; ++i) {
        if (name == kModelNames[i]) {
            *model = static_cast<CurveModel>(i);
            return true;
        }
    }
    return false;
}

uint8_t CurveModelPoint(CurveModel model, size_t i)
{
    const uint8_t linear = static_cast<uint8_t>(i & 0x7F);
    switch (model) {
    case CurveModel::Zeros:
        return 0;
    case CurveModel::Linear:
        return linear;
    case CurveModel::InvLinear:
        return static_cast<uint8_t>(kCurveMaxValue - linear);
    case CurveModel::Log:
        return LogPoint(linear);
    case CurveModel::InvLog:
        return static_cast<uint8_t>(kCurveMaxValue - LogPoint(linear));
    case CurveModel::Expo:
        return ExpoPoint(linear);
    case CurveModel::InvExpo:
        return static_cast<uint8_t>(kCurveMaxValue - ExpoPoint(linear));
    case CurveModel::Random:
        break;
    }
    return 0;
}

bool GenerateCurve(const std::wstring &name, uint8_t *curve, const CurveRandomSource &random)
{
    CurveModel model;
    if (!CurveModelFromName(name, &model))
        return false;
    for (size_t i = 0; i < kCurvePoints; ++i) {
        if (model == CurveModel::Random) {
            const int r = random ? random() : std::rand();
            // rand() never returns a negative number; a negative test source maps the same way.
            curve[i] = static_cast<uint8_t>(((r % 127) + 127) % 127);
        } else {
            curve[i] = CurveModelPoint(model, i);
        }
    }
    return true;
}

std::wstring CurveToText(const uint8_t *curve)
{
    std::wstring text;
    text.reserve(kCurvePoints * 4);
    for (size_t i = 0; i < kCurvePoints; ++i) {
        text += std::to_wstring(static_cast<unsigned>(curve[i]));
        if (i + 1 < kCurvePoints)
            text += L'\n';
    }
    return text;
}

size_t CurveTextLineCount(const std::wstring &text)
{
    size_t lines = 1;
    for (wchar_t c : text)
        if (c == L'\n')
            ++lines;
    return lines;
}

CurveCheck CheckCurveText(const std::wstring &text, uint8_t *curve)
{
    CurveCheck check;
    const size_t lines = CurveTextLineCount(text);
    if (lines != kCurvePoints) {
        check.fault = CurveFault::LineCount;
        check.value = lines;
        return check;
    }
    size_t start = 0;
    for (size_t line = 0; line < kCurvePoints; ++line) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        // The value saturates above the limit, so a long row of digits cannot wrap round.
        unsigned value = 0;
        for (size_t k = start; k < end; ++k) {
            const wchar_t c = text[k];
            if (c < L'0' || c > L'9') {
                check.fault = CurveFault::BadCharacter;
                check.value = line;
                return check;
            }
            if (value <= kCurveMaxValue)
                value = value * 10 + static_cast<unsigned>(c - L'0');
        }
        if (value > kCurveMaxValue) {
            check.fault = CurveFault::OutOfRange;
            check.value = line;
            return check;
        }
        curve[line] = static_cast<uint8_t>(value);
        start = end + 1;
    }
    return check;
}

std::wstring CurveCheckMessage(const CurveCheck &check)
{
    switch (check.fault) {
    case CurveFault::None:
        break;
    case CurveFault::LineCount:
        return Format(L"Uncorrect number of values\n(128 values required, found %d)", check.value);
    case CurveFault::BadCharacter:
        return Format(L"Uncorrect value found at line %d", check.value);
    case CurveFault::OutOfRange:
        return Format(L"Uncorrect value found at line %d\nAll values must be between 0 and 127", check.value);
    }
    return std::wstring();
}

int CheckBothCurveTexts(const std::wstring &text1, uint8_t *curve1, const std::wstring &text2, uint8_t *curve2,
                        CurveCheck *failure)
{
    CurveCheck check = CheckCurveText(text1, curve1);
    if (!check.ok()) {
        if (failure)
            *failure = check;
        return 1;
    }
    check = CheckCurveText(text2, curve2);
    if (!check.ok()) {
        if (failure)
            *failure = check;
        return 2;
    }
    return 0;
}

bool CurvePageIsPlottable(const std::wstring &text, const uint8_t *curve)
{
    if (CurveTextLineCount(text) != kCurvePoints)
        return false;
    for (size_t i = 0; i < kCurvePoints; ++i)
        if (curve[i] > kCurveMaxValue)
            return false;
    return true;
}

double CurveValueAt(const uint8_t *curve, double x)
{
    // Exactly the x whose truncation is an index 0..127; NaN fails both tests.
    if (!(x > -1.0 && x < static_cast<double>(kCurvePoints)))
        return 0.0;
    const size_t index = static_cast<size_t>(std::trunc(x < 0.0 ? 0.0 : x));
    return static_cast<double>(curve[index]);
}
