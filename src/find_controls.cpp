#include "find_controls.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "config_tables.h"
#include "control_roster.h"
#include "cvq9_config_ui.h"
#include "device_text.h"
#include "record_access.h"

namespace {

FindControls *g_window = nullptr;

// The kinds of the choice, in its order; -1 is any.
const int kKinds[] = {-1, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0};

wxStaticText *Label(wxWindow *parent, const wxString &text)
{
    return new wxStaticText(parent, wxID_ANY, text);
}

}  // namespace

FindControls *FindControls::Open(wxWindow *parent)
{
    if (!g_window)
        g_window = new FindControls(parent);
    g_window->Show();
    g_window->Raise();
    return g_window;
}

FindControls *FindControls::Current()
{
    return g_window;
}

FindControls::~FindControls()
{
    if (g_window == this)
        g_window = nullptr;
}

FindControls::FindControls(wxWindow *parent)
    : wxDialog(parent, wxID_ANY, wxT("Find controls"), wxDefaultPosition, wxSize(720, 460),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    const wxString kinds[] = {wxT("Any message"),      wxT("Note off"),       wxT("Note on"),
                              wxT("Key pressure"),     wxT("Control change"), wxT("Program change"),
                              wxT("Channel pressure"), wxT("Pitch bend"),     wxT("System exclusive")};
    kind = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, WXSIZEOF(kinds), kinds);
    kind->SetSelection(0);
    number = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(60, -1));
    wxArrayString channels;
    channels.Add(wxT("Any"));
    channels.Add(wxT("The controller's"));
    for (int c = 1; c <= 16; ++c)
        channels.Add(wxString::Format(wxT("%d"), c));
    channel = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, channels);
    channel->SetSelection(0);
    bytes = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(150, -1));
    lcd = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(150, -1));
    wxButton *find = new wxButton(this, wxID_FIND, wxT("Find"));
    wxButton *conflicts = new wxButton(this, wxID_ANY, wxT("Conflicts"));
    results = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    results->AppendColumn(wxT("Group"), wxLIST_FORMAT_LEFT, 60);
    results->AppendColumn(wxT("Control"), wxLIST_FORMAT_LEFT, 190);
    results->AppendColumn(wxT("LCD text"), wxLIST_FORMAT_LEFT, 140);
    results->AppendColumn(wxT("Sends"), wxLIST_FORMAT_LEFT, 300);
    status = new wxStaticText(this, wxID_ANY, wxEmptyString);

    wxFlexGridSizer *fields = new wxFlexGridSizer(2, 6, 5, 8);
    fields->Add(Label(this, wxT("Sends")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(kind);
    fields->Add(Label(this, wxT("Number")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(number);
    fields->Add(Label(this, wxT("Channel")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(channel);
    fields->Add(Label(this, wxT("Bytes (hex)")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(bytes, 0, wxEXPAND);
    fields->Add(Label(this, wxT("LCD text")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(lcd, 0, wxEXPAND);
    wxBoxSizer *buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(find);
    buttons->Add(conflicts, 0, wxLEFT, 5);
    buttons->Add(status, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 10);
    wxBoxSizer *top = new wxBoxSizer(wxVERTICAL);
    top->Add(fields, 0, wxALL, 8);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    top->Add(results, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(top);
    find->SetDefault();

    find->Bind(wxEVT_BUTTON, [this](wxCommandEvent &) { ShowFound(); });
    conflicts->Bind(wxEVT_BUTTON, [this](wxCommandEvent &) { ShowConflicts(); });
    results->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent &event) { GoTo(event.GetIndex()); });
}

bool FindControls::ReadQuery(ControlQuery &query, wxString &problem) const
{
    query = ControlQuery();
    query.kind = kKinds[kind->GetSelection() < 0 ? 0 : kind->GetSelection()];
    long n = -1;
    const wxString number_text = number->GetValue().Strip(wxString::both);
    if (!number_text.empty() && (!number_text.ToLong(&n) || n < 0 || n > 127)) {
        problem = wxT("The number must be 0 to 127.");
        return false;
    }
    query.number = static_cast<int>(n);
    const int c = channel->GetSelection();
    query.channel = c <= 0 ? -1 : c == 1 ? SentMessage::CONTROLLER_CHANNEL : c - 1;
    if (!ParseHexBytes(DeviceBytes(bytes->GetValue()), query.bytes)) {
        problem = wxT("The bytes must be hexadecimal, two digits each.");
        return false;
    }
    query.lcd = lcd->GetValue().ToStdWstring();
    return true;
}

void FindControls::AddRow(unsigned group, unsigned control, const std::string &sends)
{
    const long row = results->InsertItem(
        results->GetItemCount(), IsTransportIndex(control) ? wxString(wxT("All")) : wxString::Format(wxT("%u"), group));
    results->SetItem(row, 1, DeviceText(ControlName(control)));
    results->SetItem(row, 2, IsTransportIndex(control) ? wxString() : wxString(mylcdstring[group][control].c_str()));
    results->SetItem(row, 3, DeviceText(sends));
    rows_.push_back({group, control});
}

void FindControls::ShowFound()
{
    results->DeleteAllItems();
    rows_.clear();
    ControlQuery query;
    wxString problem;
    if (!ReadQuery(query, problem)) {
        status->SetLabel(problem);
        return;
    }
    const std::vector<FoundControl> found = SearchControls(query);
    for (const FoundControl &f : found)
        AddRow(f.group, f.control, f.sends);
    status->SetLabel(found.size() == 1 ? wxString(wxT("1 control found"))
                                       : wxString::Format(wxT("%zu controls found"), found.size()));
}

void FindControls::ShowConflicts()
{
    results->DeleteAllItems();
    rows_.clear();
    const std::vector<Conflict> conflicts = SearchConflicts();
    for (const Conflict &c : conflicts)
        for (unsigned control : c.controls)
            AddRow(c.group, control, c.sends);
    status->SetLabel(conflicts.empty()       ? wxString(wxT("No conflicts"))
                     : conflicts.size() == 1 ? wxString(wxT("1 conflict"))
                                             : wxString::Format(wxT("%zu conflicts"), conflicts.size()));
}

void FindControls::GoTo(long row)
{
    if (row < 0 || static_cast<size_t>(row) >= rows_.size() || !pui || programming)
        return;
    const Row &r = rows_[static_cast<size_t>(row)];
    // A transport button is shown in group 0, where it can be selected.
    pui->ShowControls(IsTransportIndex(r.control) ? 0u : r.group, {static_cast<int>(r.control)});
}
