// The editor's undo and redo: one history of the configuration tables for
// the whole program, the steps of the user's actions, and what undo and redo
// show afterwards.
#ifndef CVQ9_EDIT_HISTORY_H
#define CVQ9_EDIT_HISTORY_H

#include <string>

#include <wx/string.h>
#include <wx/window.h>

#include "undo_history.h"

UndoHistory &EditHistory();

// One user action as one step of the history: made before the action, it
// records what the action changed when it goes. Steps made inside another
// step belong to it. A non-zero merge key joins the steps of one field visit
// (typing in a text or spin field is one step).
class EditStep
{
public:
    explicit EditStep(const wxString &name, int merge_key = 0);
    ~EditStep();
    EditStep(const EditStep &) = delete;
    EditStep &operator=(const EditStep &) = delete;

    // Which library the tables belong to: its file, and whether they are the
    // built-in default library or recovered work.
    struct Library {
        std::wstring path;
        bool default_loaded = false;
        bool recovered = false;
        bool operator==(const Library &o) const
        {
            return path == o.path && default_loaded == o.default_loaded && recovered == o.recovered;
        }
    };

private:
    TablesCopy before_;
    Library library_before_;
    wxString name_;
    int merge_key_;
    bool outermost_;
};

// The name of a step for a field: the text of its label, without
// accelerator marks and without a trailing colon.
wxString StepName(const wxWindow *label);

// Forgets every step: the tables as they are start a history of their own.
void ForgetEdits();

// The tables are as in the library file: now, or when the open step ends
// (the step of the command that saved or opened is recorded first).
void MarkLibrarySaved();

// Undoes or redoes one step, sets need_to_save_lib by whether the tables are
// back at the saved state, and shows the result: the group and the controls
// the step changed, in the group selector, the view and the tabs.
void UndoEdit();
void RedoEdit();

#endif
