#include "undo_history.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kPartOverhead = sizeof(TablePart) + 16;  // the part itself and its allocation

template <typename T>
void SwapRecords(T *target, TablePart &part)
{
    const size_t size = part.count * sizeof(T);
    std::vector<uint8_t> now(reinterpret_cast<const uint8_t *>(target + part.first),
                             reinterpret_cast<const uint8_t *>(target + part.first) + size);
    if (part.contents.size() == size)
        std::memcpy(target + part.first, part.contents.data(), size);
    part.contents.swap(now);
}

void SwapTexts(Q9Text *target, TablePart &part)
{
    std::vector<uint8_t> now;
    for (unsigned i = 0; i < part.count; ++i)
        EncodeText(target[part.first + i], now);
    size_t at = 0;
    for (unsigned i = 0; i < part.count; ++i)
        target[part.first + i] = DecodeText(part.contents, at);
    part.contents.swap(now);
}

size_t BytesOfStep(const UndoHistory::Step &step)
{
    size_t bytes = sizeof step + step.name.size() * sizeof(wchar_t);
    for (const TablePart &part : step.parts)
        bytes += kPartOverhead + part.contents.size();
    return bytes;
}

// Runs of the entries that differ between `before` and `now`, with `before`'s contents.
template <typename T, typename Differ, typename Append>
void AddRuns(TableParts &parts, TablePart::Kind kind, const T *before, const T *now, size_t count, Differ differ,
             Append append)
{
    for (size_t i = 0; i < count;) {
        if (!differ(before[i], now[i])) {
            ++i;
            continue;
        }
        TablePart part;
        part.kind = kind;
        part.first = static_cast<uint16_t>(i);
        part.count = 0;
        for (; i < count && differ(before[i], now[i]); ++i, ++part.count)
            append(before[i], part.contents);
        parts.push_back(std::move(part));
    }
}

bool RecordsDiffer(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) != 0;
}

void AppendRecord(const All_Params &record, std::vector<uint8_t> &bytes)
{
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&record);
    bytes.insert(bytes.end(), p, p + sizeof record);
}

bool TextsDiffer(const Q9Text &a, const Q9Text &b)
{
    return a != b;
}

}  // namespace

void EncodeText(const Q9Text &text, std::vector<uint8_t> &bytes)
{
    const bool wide = std::any_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<uint32_t>(c) > 0xFF; });
    bytes.push_back(wide ? 1 : 0);
    bytes.push_back(static_cast<uint8_t>(text.size()));
    bytes.push_back(static_cast<uint8_t>(text.size() >> 8));
    for (wchar_t c : text) {
        const uint32_t code = static_cast<uint32_t>(c);
        bytes.push_back(static_cast<uint8_t>(code));
        if (wide) {
            bytes.push_back(static_cast<uint8_t>(code >> 8));
            bytes.push_back(static_cast<uint8_t>(code >> 16));
            bytes.push_back(static_cast<uint8_t>(code >> 24));
        }
    }
}

Q9Text DecodeText(const std::vector<uint8_t> &bytes, size_t &at)
{
    Q9Text text;
    if (at + 3 > bytes.size())
        return text;
    const size_t width = bytes[at] ? 4 : 1;
    const size_t length = bytes[at + 1] | static_cast<size_t>(bytes[at + 2]) << 8;
    at += 3;
    for (size_t i = 0; i < length && at + width <= bytes.size(); ++i, at += width) {
        uint32_t code = bytes[at];
        if (width == 4)
            code |= static_cast<uint32_t>(bytes[at + 1]) << 8 | static_cast<uint32_t>(bytes[at + 2]) << 16 |
                    static_cast<uint32_t>(bytes[at + 3]) << 24;
        text.push_back(static_cast<wchar_t>(code));
    }
    return text;
}

TablesCopy::TablesCopy()
    : controls_(&mycontrol[0][0], &mycontrol[0][0] + GROUP_NB * CONTROLS_PER_GROUP),
      transport_(mytransport, mytransport + TRANSPORT_NB),
      lcd_(&mylcdstring[0][0], &mylcdstring[0][0] + GROUP_NB * CONTROLS_PER_GROUP),
      names_(mygroupnames, mygroupnames + GROUP_NB), common_(common_params, common_params + COMMON_PARAMS_LENGHT),
      curve1_(user_curve_1, user_curve_1 + USER_CURVE_POINTS), curve2_(user_curve_2, user_curve_2 + USER_CURVE_POINTS)
{
}

TableParts TablesCopy::ChangedParts() const
{
    TableParts parts;
    AddRuns(parts, TablePart::Control, controls_.data(), &mycontrol[0][0], controls_.size(), RecordsDiffer,
            AppendRecord);
    AddRuns(parts, TablePart::Lcd, lcd_.data(), &mylcdstring[0][0], lcd_.size(), TextsDiffer, EncodeText);
    AddRuns(parts, TablePart::Transport, transport_.data(), mytransport, transport_.size(), RecordsDiffer,
            AppendRecord);
    AddRuns(parts, TablePart::GroupName, names_.data(), mygroupnames, names_.size(), TextsDiffer, EncodeText);
    // The small blocks go whole.
    const struct {
        TablePart::Kind kind;
        const std::vector<uint8_t> &before;
        const uint8_t *now;
    } blocks[] = {{TablePart::Common, common_, common_params},
                  {TablePart::Curve1, curve1_, user_curve_1},
                  {TablePart::Curve2, curve2_, user_curve_2}};
    for (const auto &block : blocks) {
        if (std::memcmp(block.before.data(), block.now, block.before.size()) == 0)
            continue;
        TablePart part;
        part.kind = block.kind;
        part.count = static_cast<uint16_t>(block.before.size());
        part.contents = block.before;
        parts.push_back(std::move(part));
    }
    return parts;
}

void SwapWithTables(TableParts &parts, bool backwards)
{
    for (size_t n = 0; n < parts.size(); ++n) {
        TablePart &part = parts[backwards ? parts.size() - 1 - n : n];
        switch (part.kind) {
        case TablePart::Control:
            SwapRecords(&mycontrol[0][0], part);
            break;
        case TablePart::Lcd:
            SwapTexts(&mylcdstring[0][0], part);
            break;
        case TablePart::Transport:
            SwapRecords(mytransport, part);
            break;
        case TablePart::GroupName:
            SwapTexts(mygroupnames, part);
            break;
        case TablePart::Common:
            SwapRecords(common_params, part);
            break;
        case TablePart::Curve1:
            SwapRecords(user_curve_1, part);
            break;
        case TablePart::Curve2:
            SwapRecords(user_curve_2, part);
            break;
        }
    }
}

StepFocus FocusOf(const TableParts &parts)
{
    StepFocus focus;
    auto take = [&focus](int group, int control) {
        if (focus.group >= 0 && group > focus.group)
            return;
        if (focus.group < 0 || group < focus.group) {
            focus.group = group;
            focus.controls.clear();
        }
        if (std::find(focus.controls.begin(), focus.controls.end(), control) == focus.controls.end())
            focus.controls.push_back(control);
    };
    for (const TablePart &part : parts) {
        for (unsigned i = 0; i < part.count; ++i) {
            const unsigned entry = part.first + i;
            if (part.kind == TablePart::Control || part.kind == TablePart::Lcd)
                take(static_cast<int>(entry / CONTROLS_PER_GROUP), static_cast<int>(entry % CONTROLS_PER_GROUP));
            else if (part.kind == TablePart::Transport)
                take(0, static_cast<int>(entry));
        }
    }
    std::sort(focus.controls.begin(), focus.controls.end());
    return focus;
}

void UndoHistory::Record(const std::wstring &name, TableParts before, int merge_key)
{
    if (before.empty())
        return;
    for (const Step &dropped : redo_)
        bytes_ -= dropped.bytes;
    redo_.clear();
    if (merge_key != 0 && merging_open_ && !undo_.empty() && undo_.back().merge_key == merge_key) {
        // The earlier contents of a part win: they are what the tables held
        // before the first change of the visit.
        Step &last = undo_.back();
        bytes_ -= last.bytes;
        // Parts are kept whole: a run already in the step keeps its contents.
        for (TablePart &part : before) {
            const bool known = std::any_of(last.parts.begin(), last.parts.end(), [&part](const TablePart &p) {
                return p.kind == part.kind && p.first == part.first && p.count == part.count;
            });
            if (!known)
                last.parts.push_back(std::move(part));
        }
        last.bytes = BytesOfStep(last);
        bytes_ += last.bytes;
    } else {
        Step step;
        step.name = name;
        step.parts = std::move(before);
        step.merge_key = merge_key;
        step.serial = next_serial_++;
        step.bytes = BytesOfStep(step);
        bytes_ += step.bytes;
        undo_.push_back(std::move(step));
    }
    merging_open_ = merge_key != 0;
    KeepWithinBudget();
}

void UndoHistory::KeepWithinBudget()
{
    while (bytes_ > MEMORY_BUDGET && undo_.size() > 1) {
        base_state_ = undo_.front().serial;
        bytes_ -= undo_.front().bytes;
        undo_.pop_front();
    }
}

std::wstring UndoHistory::UndoName() const
{
    return undo_.empty() ? std::wstring() : undo_.back().name;
}

std::wstring UndoHistory::RedoName() const
{
    return redo_.empty() ? std::wstring() : redo_.back().name;
}

const UndoHistory::Step *UndoHistory::Undo()
{
    if (undo_.empty())
        return nullptr;
    merging_open_ = false;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    SwapWithTables(step.parts, true);
    redo_.push_back(std::move(step));
    return &redo_.back();
}

const UndoHistory::Step *UndoHistory::Redo()
{
    if (redo_.empty())
        return nullptr;
    merging_open_ = false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    SwapWithTables(step.parts, false);
    undo_.push_back(std::move(step));
    return &undo_.back();
}

uint64_t UndoHistory::CurrentState() const
{
    return undo_.empty() ? base_state_ : undo_.back().serial;
}

void UndoHistory::MarkSaved()
{
    saved_state_ = CurrentState();
    merging_open_ = false;
}

bool UndoHistory::AtSaved() const
{
    return CurrentState() == saved_state_;
}

void UndoHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    base_state_ = next_serial_++;
    merging_open_ = false;
}
