// The differences between the editor's configuration and another one (the
// controller's, or a library file's), one row per field (group, control,
// field, the editor's value, the other's), each to be settled: take the
// other's value into the editor, or keep the editor's. Settled rows leave the
// list; the dialog closes when none is left.
#ifndef CVQ9_COMPARE_DIALOG_H
#define CVQ9_COMPARE_DIALOG_H

#include <functional>
#include <vector>

#include <wx/dialog.h>

#include "config_compare.h"

class wxListCtrl;
class wxStaticText;

class CompareDialog : public wxDialog
{
public:
    enum : int { ID_TAKE = wxID_HIGHEST + 1, ID_KEEP, ID_TAKE_ALL, ID_KEEP_ALL };
    enum Column : int { ColumnGroup, ColumnControl, ColumnField, ColumnEditor, ColumnOther };

    // Where the other configuration comes from, as the texts name it.
    enum class Other { Controller, File };

    // `shown_again` redisplays the editor after values were taken.
    CompareDialog(wxWindow *parent, const wxString &title, std::vector<ConfigDifference> rows,
                  const ConfigImage &other_image, Other other, std::function<void()> shown_again);

    size_t RowCount() const { return rows_.size(); }
    wxListCtrl *List() const { return list_; }

private:
    // The selected rows, or all of them, taken (one step of the history) or
    // kept; either way they leave the list.
    void Settle(bool take, bool all);
    void Fill();

    std::vector<ConfigDifference> rows_;
    ConfigImage other_image_;
    wxString other_;  // "controller" or "file"
    std::function<void()> shown_again_;
    wxListCtrl *list_ = nullptr;
    wxStaticText *heading_ = nullptr;
};

#endif
