// Undo and redo of changes to the configuration tables.
//
// A step keeps only the parts of the tables that its action changed: a record,
// a text, the common parameters, a curve. On the undo side a step holds the
// parts as they were before the action; undoing swaps them with the tables,
// so that afterwards the step holds the parts as they were after the action,
// ready for redo. The history keeps as many steps as fit in its memory budget
// (a full configuration is about 65 kB, so at least 200 of the largest).
#ifndef CVQ9_UNDO_HISTORY_H
#define CVQ9_UNDO_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "config_tables.h"

// A run of consecutive entries of one table and their contents: records as
// their bytes, texts one after the other in the encoding of EncodeText.
struct TablePart {
    enum Kind : uint8_t { Control, Transport, Lcd, GroupName, Common, Curve1, Curve2 };
    Kind kind = Control;
    uint16_t first = 0;  // Control, Lcd: group * 67 + control; Transport, GroupName: their number
    uint16_t count = 1;
    std::vector<uint8_t> contents;
};
using TableParts = std::vector<TablePart>;

// An exact copy of the tables, taken before an action to find what it changed.
class TablesCopy
{
public:
    TablesCopy();  // the tables as they are now

    // The parts in which the tables now differ from this copy, holding this
    // copy's contents.
    TableParts ChangedParts() const;

private:
    std::vector<All_Params> controls_;
    std::vector<All_Params> transport_;
    std::vector<Q9Text> lcd_;
    std::vector<Q9Text> names_;
    std::vector<uint8_t> common_, curve1_, curve2_;
};

// Swaps each part's contents with the tables'. Parts may overlap when a step
// joined several changes (the earlier recorded first): undoing swaps them
// backwards, so the earliest contents end in the tables, and redoing
// forwards, so the latest do.
void SwapWithTables(TableParts &parts, bool backwards);

// The group and the controls a step changed, to show them after undo and
// redo: the controls of the lowest group it changed (the transport buttons
// belong to group 0). `group` is -1 when the step changed no control.
struct StepFocus {
    int group = -1;
    std::vector<int> controls;
};
StepFocus FocusOf(const TableParts &parts);

class UndoHistory
{
public:
    static constexpr size_t MEMORY_BUDGET = 16u * 1024u * 1024u;

    struct Step {
        std::wstring name;
        TableParts parts;
        int merge_key = 0;
        uint64_t serial = 0;
        size_t bytes = 0;
    };

    // Records the action `name` whose changed parts, as they were before it,
    // are `before`; nothing when it changed nothing. A step with the same
    // non-zero merge key as the last one, while merging is open, joins it
    // (typing in one field is one step). The redo side is dropped.
    void Record(const std::wstring &name, TableParts before, int merge_key = 0);
    // The field visit ended: the next step stands on its own.
    void CloseMerging() { merging_open_ = false; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The names of the steps undo and redo would take; empty when none.
    std::wstring UndoName() const;
    std::wstring RedoName() const;
    // Undoes or redoes one step on the tables; the step, or null when none.
    const Step *Undo();
    const Step *Redo();

    // The tables are now as in the library file (saved or opened).
    void MarkSaved();
    // True when the tables are as they were at the last MarkSaved.
    bool AtSaved() const;

    // Forgets every step; the tables as they are become a state of their own.
    void Clear();
    size_t Steps() const { return undo_.size() + redo_.size(); }
    // The serial number of the newest step to undo; 0 when none.
    uint64_t NewestSerial() const { return undo_.empty() ? 0 : undo_.back().serial; }
    size_t Bytes() const { return bytes_; }

private:
    uint64_t CurrentState() const;
    void KeepWithinBudget();

    std::deque<Step> undo_;
    std::vector<Step> redo_;
    size_t bytes_ = 0;
    uint64_t next_serial_ = 1;
    uint64_t base_state_ = 0;  // the state before the oldest step kept
    uint64_t saved_state_ = 0;
    bool merging_open_ = false;
};

// A text as bytes, exactly: a marker, its length and its characters (one
// byte each, or four each when one is above 255), appended to `bytes`; and
// back from `bytes` at `at`, which moves past it.
void EncodeText(const Q9Text &text, std::vector<uint8_t> &bytes);
Q9Text DecodeText(const std::vector<uint8_t> &bytes, size_t &at);

#endif
