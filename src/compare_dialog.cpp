#include "compare_dialog.h"
#include "device_text.h"

#include <iterator>
#include <utility>

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "config_tables.h"
#include "edit_history.h"

namespace {

const struct {
    const wchar_t *title;
    int width;
} kColumns[] = {{L"Group", 60}, {L"Control", 190}, {L"Field", 210}, {L"Editor", 150}, {L"", 150}};

wxString Capitalised(wxString word)
{
    if (!word.empty())
        word[0] = wxToupper(word[0]);
    return word;
}

}  // namespace

CompareDialog::CompareDialog(wxWindow *parent, const wxString &title, std::vector<ConfigDifference> rows,
                             const ConfigImage &other_image, Other other, std::function<void()> shown_again)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxSize(820, 460), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      rows_(std::move(rows)), other_image_(other_image),
      other_(other == Other::Controller ? wxT("controller") : wxT("file")), shown_again_(std::move(shown_again))
{
    heading_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
    list_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
    for (size_t c = 0; c < std::size(kColumns); ++c)
        list_->InsertColumn(static_cast<long>(c), c == ColumnOther ? Capitalised(other_) : wxString(kColumns[c].title),
                            wxLIST_FORMAT_LEFT, kColumns[c].width);

    wxBoxSizer *buttons = new wxBoxSizer(wxHORIZONTAL);
    const struct {
        int id;
        wxString label;
        bool take, all;
    } actions[] = {{ID_TAKE, wxT("Take the ") + other_ + wxT("'s"), true, false},
                   {ID_KEEP, wxT("Keep the editor's"), false, false},
                   {ID_TAKE_ALL, wxT("Take all the ") + other_ + wxT("'s"), true, true},
                   {ID_KEEP_ALL, wxT("Keep all the editor's"), false, true}};
    for (const auto &action : actions) {
        buttons->Add(new wxButton(this, action.id, action.label), 0, wxRIGHT, 5);
        Bind(
            wxEVT_BUTTON, [this, action](wxCommandEvent &) { Settle(action.take, action.all); }, action.id);
    }
    // The row buttons need a row.
    for (int id : {static_cast<int>(ID_TAKE), static_cast<int>(ID_KEEP)})
        Bind(
            wxEVT_UPDATE_UI, [this](wxUpdateUIEvent &event) { event.Enable(list_->GetSelectedItemCount() > 0); }, id);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_CLOSE, wxT("Close")));
    SetEscapeId(wxID_CLOSE);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent &) {
            if (IsModal())
                EndModal(wxID_CLOSE);
            else
                Hide();
        },
        wxID_CLOSE);

    wxBoxSizer *top = new wxBoxSizer(wxVERTICAL);
    top->Add(heading_, 0, wxALL, 8);
    top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(top);
    Fill();
    CentreOnParent();
}

void CompareDialog::Fill()
{
    heading_->SetLabel(wxString::Format(rows_.size() == 1 ? wxT("%d field differs between the editor and the %s.")
                                                          : wxT("%d fields differ between the editor and the %s."),
                                        static_cast<int>(rows_.size()), other_));
    list_->DeleteAllItems();
    for (size_t r = 0; r < rows_.size(); ++r) {
        const ConfigDifference &d = rows_[r];
        const long item = list_->InsertItem(static_cast<long>(r), DeviceText(d.group));
        list_->SetItem(item, ColumnControl, DeviceText(d.control));
        list_->SetItem(item, ColumnField, DeviceText(d.field_name));
        list_->SetItem(item, ColumnEditor, DeviceText(d.editor_value));
        list_->SetItem(item, ColumnOther, DeviceText(d.controller_value));
    }
}

void CompareDialog::Settle(bool take, bool all)
{
    std::vector<size_t> chosen;
    for (size_t r = 0; r < rows_.size(); ++r)
        if (all || list_->GetItemState(static_cast<long>(r), wxLIST_STATE_SELECTED))
            chosen.push_back(r);
    if (chosen.empty())
        return;
    if (take) {
        {
            const EditStep step(wxT("Take the ") + other_ + wxT("'s"));
            for (size_t r : chosen)
                TakeOtherValue(rows_[r], other_image_);
            need_to_save_lib = true;
        }
        if (shown_again_)
            shown_again_();
    }
    for (auto r = chosen.rbegin(); r != chosen.rend(); ++r)
        rows_.erase(rows_.begin() + static_cast<long>(*r));
    Fill();
    if (rows_.empty() && IsModal())
        EndModal(wxID_OK);
}
