// Undo and redo of the configuration tables.
#include <gtest/gtest.h>

#include <random>

#include "record_access.h"
#include "test_support.h"
#include "undo_history.h"

namespace {

// One kind of change to the tables, as the editor's actions make them.
struct Edit {
    const char *name;
    void (*apply)();
};

// Edits, with what the window test of the history leaves out: a transport
// button's record, a character above 255, every table at once.
const Edit kEdits[] = {
    {"Max value", [] { mycontrol[3][20].ctrl_value_max = 99; }},
    {"LCD string", [] { mylcdstring[3][20] = L"Cutoff \x263A"; }},
    {"Switch mode", [] { mytransport[2].ctrl_status_1 ^= 0x80; }},
    {"Group name", [] { mygroupnames[7] = L"Brass"; }},
    {"Tempo", [] { common_params[32] = 90; }},
    {"Upload All", [] { FillRandomConfiguration(9); }},
};

TableParts Apply(const Edit &edit)
{
    const TablesCopy before;
    edit.apply();
    return before.ChangedParts();
}

}  // namespace

TEST(UndoHistory, MixedEditsUndoToTheStartAndRedoToTheEnd)
{
    FillRandomConfiguration(1);
    UndoHistory history;
    std::vector<TablesSnapshot> states{TablesSnapshot()};
    for (const Edit &edit : kEdits) {
        history.Record(Text(edit.name), Apply(edit));
        states.push_back(TablesSnapshot());
    }
    ASSERT_EQ(history.Steps(), std::size(kEdits));
    for (size_t i = std::size(kEdits); i > 0; --i) {
        EXPECT_EQ(history.UndoName(), Text(kEdits[i - 1].name));
        ASSERT_NE(history.Undo(), nullptr);
        EXPECT_TABLES_EQ(states[i - 1], TablesSnapshot()) << "after undoing " << kEdits[i - 1].name;
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(), nullptr);
    for (size_t i = 0; i < std::size(kEdits); ++i) {
        EXPECT_EQ(history.RedoName(), Text(kEdits[i].name));
        ASSERT_NE(history.Redo(), nullptr);
        EXPECT_TABLES_EQ(states[i + 1], TablesSnapshot()) << "after redoing " << kEdits[i].name;
    }
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistory, TypingInOneFieldIsOneStepUntilTheVisitEnds)
{
    ResetConfiguration(1);
    const TablesSnapshot start;
    UndoHistory history;
    // The selection grows during the visit: the later change covers more records.
    for (uint8_t max : {1, 12, 120}) {
        const TablesCopy before;
        mycontrol[2][9].ctrl_value_max = max;
        if (max == 120)
            mycontrol[2][10].ctrl_value_max = max;
        history.Record(L"Max value", before.ChangedParts(), 42);
    }
    EXPECT_EQ(history.Steps(), 1u);
    const TablesSnapshot typed;
    history.CloseMerging();
    const TablesCopy before;
    mycontrol[2][9].ctrl_value_max = 7;
    history.Record(L"Max value", before.ChangedParts(), 42);
    EXPECT_EQ(history.Steps(), 2u);
    history.Undo();
    EXPECT_TABLES_EQ(typed, TablesSnapshot());
    history.Undo();
    EXPECT_TABLES_EQ(start, TablesSnapshot());
    history.Redo();
    EXPECT_TABLES_EQ(typed, TablesSnapshot());
}

TEST(UndoHistory, TheSavedStateIsKnownWhereverUndoAndRedoLead)
{
    ResetConfiguration(0);
    UndoHistory history;
    history.Record(L"Nothing", TablesCopy().ChangedParts());  // no step
    EXPECT_TRUE(history.AtSaved() && !history.CanUndo());
    history.Record(L"Max value", Apply(kEdits[0]));
    EXPECT_FALSE(history.AtSaved());
    history.MarkSaved();
    history.Record(L"Tempo", Apply(kEdits[4]));
    EXPECT_FALSE(history.AtSaved());
    for (const auto &[undo, saved] : {std::pair{true, true}, {true, false}, {false, true}}) {
        undo ? history.Undo() : history.Redo();
        EXPECT_EQ(history.AtSaved(), saved);
    }
    // A new step after an undo past the saved state makes it unreachable.
    history.Undo();
    history.Record(L"Group name", Apply(kEdits[3]));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoName(), L"Group name");
    history.Undo();
    EXPECT_FALSE(history.AtSaved());
}

TEST(UndoHistory, TheLargestStepsKeepTwoHundredWithinTheBudget)
{
    // An upload of every group from a controller whose memory holds noise:
    // every record and every 16-character text changes.
    UndoHistory history;
    std::mt19937 random(5);
    for (uint32_t i = 0; i < 260; ++i) {
        const TablesCopy before;
        for (unsigned g = 0; g < GROUP_NB; ++g)
            for (unsigned c = FIRST_GROUP_CONTROL; c < CONTROLS_PER_GROUP; ++c) {
                uint8_t *bytes = reinterpret_cast<uint8_t *>(&mycontrol[g][c]);
                for (size_t b = 0; b < sizeof(All_Params); ++b)
                    bytes[b] = static_cast<uint8_t>(random());
                mylcdstring[g][c].assign(16, static_cast<wchar_t>(0x20 + random() % 0x5F));
            }
        history.Record(L"Upload All", before.ChangedParts());
        ASSERT_LE(history.Bytes(), UndoHistory::MEMORY_BUDGET);
    }
    EXPECT_GE(history.Steps(), 200u);
    const TablesSnapshot last;
    while (history.Undo()) {
    }
    while (history.Redo()) {
    }
    EXPECT_TABLES_EQ(last, TablesSnapshot());
}

TEST(UndoHistory, AStepShowsTheControlsOfTheLowestGroupItChanged)
{
    ResetConfiguration(1);
    const TablesCopy before;
    mycontrol[4][12].ctrl_value_min = 3;
    mylcdstring[4][9] = L"x";
    mycontrol[6][30].ctrl_value_min = 3;
    StepFocus focus = FocusOf(before.ChangedParts());
    EXPECT_EQ(focus.group, 4);
    EXPECT_EQ(focus.controls, (std::vector<int>{9, 12}));
    mytransport[1].ctrl_value_min = 2;
    focus = FocusOf(before.ChangedParts());
    EXPECT_EQ(focus.group, 0);
    EXPECT_EQ(focus.controls, std::vector<int>{1});
    const TablesCopy names;
    mygroupnames[3] = L"Keys";
    EXPECT_EQ(FocusOf(names.ChangedParts()).group, -1);
}
