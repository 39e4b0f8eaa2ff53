// The two 128-point user curves as the curve editor sees them: their text form
// (one value per line), the check of that text, the predefined models that
// generate a curve, and the value the plot draws at a position.
#ifndef CVQ9_CURVE_MODELS_H
#define CVQ9_CURVE_MODELS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Number of points of a user curve, and the largest value a point may hold.
constexpr size_t kCurvePoints = 128;
constexpr unsigned kCurveMaxValue = 127;

// The predefined models offered by the editor, in the order of its list.
enum class CurveModel { Zeros, Linear, InvLinear, Log, InvLog, Expo, InvExpo, Random };
constexpr size_t kCurveModelCount = 8;

// The name shown for a model ("Zeros", "Linear", "Inv Linear", "Log", "Inv Log",
// "Expo", "Inv Expo", "Random").
const wchar_t *CurveModelName(CurveModel model);
// The model with exactly this name; false when no model has it.
bool CurveModelFromName(const std::wstring &name, CurveModel *model);

// Entry i (0..127) of a deterministic model; Random has no fixed entries and gives 0 here.
uint8_t CurveModelPoint(CurveModel model, size_t i);

// Source of pseudo-random numbers for the Random model (by default the runtime
// library's rand(), never seeded by the program).
using CurveRandomSource = std::function<int()>;

// Fills `curve` (128 points) from the model named `name`. Random takes each
// point as the next value of `random` modulo 127. An unknown name leaves the
// curve unchanged and returns false.
bool GenerateCurve(const std::wstring &name, uint8_t *curve, const CurveRandomSource &random = CurveRandomSource());

// The text form of a curve: points 0..126 each followed by a line break, point
// 127 without one, so the text has exactly 128 lines.
std::wstring CurveToText(const uint8_t *curve);

// Lines of a text as the editor's text field counts them: line breaks + 1.
size_t CurveTextLineCount(const std::wstring &text);

// Result of checking a curve text.
enum class CurveFault {
    None,          // all 128 lines valid, all stored
    LineCount,     // not exactly 128 lines; `value` is the line count
    BadCharacter,  // a character other than a digit; `value` is the 0-based line
    OutOfRange,    // a value above 127; `value` is the 0-based line
};
struct CurveCheck {
    CurveFault fault = CurveFault::None;
    size_t value = 0;
    bool ok() const { return fault == CurveFault::None; }
};

// Checks `text` line by line and stores each valid line into `curve` at once,
// so a failure leaves the points before the faulty line already updated.
// An empty line stores 0. A wrong line count stores nothing.
CurveCheck CheckCurveText(const std::wstring &text, uint8_t *curve);

// The message shown for a failed check (empty for a passed one).
std::wstring CurveCheckMessage(const CurveCheck &check);

// "Check && Exit": page 1's text into curve 1 and, only when that passes,
// page 2's text into curve 2. Returns 0 when both pass, otherwise the page
// (1 or 2) that failed, with its check in `failure`.
int CheckBothCurveTexts(const std::wstring &text1, uint8_t *curve1, const std::wstring &text2, uint8_t *curve2,
                        CurveCheck *failure);

// True when a page may be replotted on being selected: its text has exactly 128
// lines and every point of its curve is 127 or less.
bool CurvePageIsPlottable(const std::wstring &text, const uint8_t *curve);

// The value plotted at position x: the point at x truncated towards zero when
// that index is 0..127, 0 for any other x.
double CurveValueAt(const uint8_t *curve, double x);

#endif
