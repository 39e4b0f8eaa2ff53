// The "Find controls" window: controls found by what they send or by their
// LCD text, or the clashing controls of each group; a double click on a row
// selects that control in the editor.
#ifndef CVQ9_FIND_CONTROLS_H
#define CVQ9_FIND_CONTROLS_H

#include <vector>

#include <wx/dialog.h>

#include "control_search.h"

class wxChoice;
class wxListCtrl;
class wxListEvent;
class wxStaticText;
class wxTextCtrl;

class FindControls : public wxDialog
{
public:
    // Shows the one window, made at the first call, in front.
    static FindControls *Open(wxWindow *parent);
    static FindControls *Current();
    ~FindControls() override;

    // What the fields ask for; false, with a reason, when a field cannot be read.
    bool ReadQuery(ControlQuery &query, wxString &problem) const;
    void ShowFound();
    void ShowConflicts();
    // Selects the control of a row in the editor.
    void GoTo(long row);

    wxChoice *kind = nullptr;
    wxTextCtrl *number = nullptr;
    wxChoice *channel = nullptr;
    wxTextCtrl *bytes = nullptr;
    wxTextCtrl *lcd = nullptr;
    wxListCtrl *results = nullptr;
    wxStaticText *status = nullptr;

private:
    explicit FindControls(wxWindow *parent);
    struct Row {
        unsigned group, control;
    };
    void AddRow(unsigned group, unsigned control, const std::string &sends);
    std::vector<Row> rows_;
};

#endif
