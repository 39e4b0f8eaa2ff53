#include "midi_monitor.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "device_text.h"
#include "safe_file_writer.h"

namespace {

MidiMonitor *g_monitor = nullptr;

// The list follows the log a few times a second; during a transfer once a
// second, so that its redrawing costs the transfer little.
constexpr int kRefreshMs = 250;
constexpr int kRefreshesPerSecondWhileProgramming = 1;

enum Column { ColumnTime, ColumnPort, ColumnDirection, ColumnBytes, ColumnMeaning };

}  // namespace

// A virtual list: rows are drawn from the log when they are shown, so that
// 50,000 messages cost no widgets.
class MidiMonitor::List : public wxListCtrl
{
public:
    List(wxWindow *parent, MidiMonitor *owner)
        : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL), owner_(owner)
    {
        AppendColumn(wxT("Time"), wxLIST_FORMAT_LEFT, 95);
        AppendColumn(wxT("Port"), wxLIST_FORMAT_LEFT, 130);
        AppendColumn(wxT(""), wxLIST_FORMAT_LEFT, 40);
        AppendColumn(wxT("Bytes"), wxLIST_FORMAT_LEFT, 280);
        AppendColumn(wxT("Meaning"), wxLIST_FORMAT_LEFT, 400);
    }

    wxString OnGetItemText(long item, long column) const override
    {
        return owner_->CellText(static_cast<size_t>(item), static_cast<int>(column));
    }

private:
    MidiMonitor *owner_;
};

MidiMonitor *MidiMonitor::Open(wxWindow *parent)
{
    if (!g_monitor)
        g_monitor = new MidiMonitor(parent);
    g_monitor->CatchUp();
    g_monitor->Show();
    g_monitor->Raise();
    return g_monitor;
}

MidiMonitor *MidiMonitor::Current()
{
    return g_monitor;
}

MidiMonitor::MidiMonitor(wxWindow *parent)
    : wxFrame(parent, wxID_ANY, wxT("MIDI monitor"), wxDefaultPosition, wxSize(960, 480),
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      timer_(this)
{
    wxPanel *panel = new wxPanel(this);
    wxBoxSizer *bar = new wxBoxSizer(wxHORIZONTAL);
    bar->Add(new wxStaticText(panel, wxID_ANY, wxT("Show")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    const wxString filters[] = {wxT("All messages"), wxT("SysEx only"), wxT("Errors only")};
    filter_ = new wxChoice(panel, wxID_ANY, wxDefaultPosition, wxDefaultSize, 3, filters);
    filter_->SetSelection(0);
    bar->Add(filter_, 0, wxALIGN_CENTER_VERTICAL);
    bar->AddStretchSpacer();
    wxButton *clear = new wxButton(panel, wxID_ANY, wxT("Clear"));
    wxButton *copy = new wxButton(panel, wxID_ANY, wxT("Copy"));
    wxButton *save = new wxButton(panel, wxID_ANY, wxT("Save as..."));
    for (wxButton *b : {clear, copy, save})
        bar->Add(b, 0, wxLEFT, 5);
    list_ = new List(panel, this);
    wxBoxSizer *top = new wxBoxSizer(wxVERTICAL);
    top->Add(bar, 0, wxEXPAND | wxALL, 5);
    top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 5);
    panel->SetSizer(top);

    filter_->Bind(wxEVT_CHOICE, &MidiMonitor::OnFilter, this);
    clear->Bind(wxEVT_BUTTON, &MidiMonitor::OnClear, this);
    copy->Bind(wxEVT_BUTTON, &MidiMonitor::OnCopy, this);
    save->Bind(wxEVT_BUTTON, &MidiMonitor::OnSave, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent &) {
        if (!programming || ++ticks_ % (1000 / kRefreshMs / kRefreshesPerSecondWhileProgramming) == 0)
            CatchUp();
    }, timer_.GetId());
    // Closing hides the monitor; the log goes on.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent &event) {
        if (event.CanVeto()) {
            Hide();
            timer_.Stop();
            event.Veto();
        } else {
            Destroy();
        }
    });
    Bind(wxEVT_SHOW, [this](wxShowEvent &event) {
        if (event.IsShown())
            timer_.Start(kRefreshMs);
        event.Skip();
    });
}

MidiMonitor::~MidiMonitor()
{
    if (g_monitor == this)
        g_monitor = nullptr;
}

const TrafficMessage &MidiMonitor::Shown(size_t row) const
{
    const MidiTraffic &traffic = Traffic();
    const uint64_t first = traffic.Total() - traffic.Messages().size();
    return traffic.Messages()[static_cast<size_t>(shown_[row] - first)];
}

wxString MidiMonitor::CellText(size_t row, int column) const
{
    if (row >= shown_.size())
        return wxString();
    const TrafficMessage &m = Shown(row);
    switch (column) {
    case ColumnTime:
        return wxString::FromAscii(TrafficTime(m).c_str());
    case ColumnPort:
        return DeviceText(Traffic().PortName(m.port));
    case ColumnDirection:
        return m.incoming ? wxT("In") : wxT("Out");
    case ColumnBytes:
        return wxString::FromAscii(HexBytes(m.bytes).c_str());
    default:
        return DeviceText(DescribeMessage(m).text);
    }
}

void MidiMonitor::Rebuild()
{
    shown_.clear();
    seen_total_ = Traffic().Total() - Traffic().Messages().size();
    CatchUp();
}

void MidiMonitor::CatchUp()
{
    const MidiTraffic &traffic = Traffic();
    const uint64_t total = traffic.Total();
    const uint64_t first = total - traffic.Messages().size();
    if (total == seen_total_ && !(shown_.size() && shown_.front() < first))
        return;
    const bool at_end = shown_.empty() || list_->GetItemCount() == 0 ||
                        list_->GetTopItem() + list_->GetCountPerPage() >= list_->GetItemCount();
    // The oldest messages went out of the log: their rows go too.
    size_t dropped = 0;
    while (dropped < shown_.size() && shown_[dropped] < first)
        ++dropped;
    shown_.erase(shown_.begin(), shown_.begin() + static_cast<long>(dropped));
    for (uint64_t serial = std::max(seen_total_, first); serial < total; ++serial)
        if (FilterPasses(shown_filter_, traffic.Messages()[static_cast<size_t>(serial - first)]))
            shown_.push_back(serial);
    seen_total_ = total;
    list_->SetItemCount(static_cast<long>(shown_.size()));
    if (at_end && !shown_.empty())
        list_->EnsureVisible(static_cast<long>(shown_.size() - 1));
    list_->Refresh();
}

wxString MidiMonitor::ListedText(bool selected_only) const
{
    wxString text;
    long row = -1;
    const bool any_selected = list_->GetSelectedItemCount() > 0;
    for (size_t n = 0; n < shown_.size(); ++n) {
        if (selected_only && any_selected) {
            row = list_->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
            if (row < 0)
                break;
            n = static_cast<size_t>(row);
        }
        text += DeviceText(TrafficLine(Shown(n), Traffic())) + wxT("\n");
    }
    return text;
}

bool MidiMonitor::SaveTo(const wxString &path, wxString &error) const
{
    std::vector<uint8_t> bytes;
    if (wxFileName(path).GetExt().Lower() == wxT("syx")) {
        // The raw messages, whole SysEx ones only, one after the other.
        for (size_t n = 0; n < shown_.size(); ++n) {
            const std::vector<uint8_t> &b = Shown(n).bytes;
            if (b.size() >= 2 && b.front() == 0xF0 && b.back() == 0xF7)
                bytes.insert(bytes.end(), b.begin(), b.end());
        }
    } else {
        const std::string text = DeviceBytes(ListedText(false));
        bytes.assign(text.begin(), text.end());
    }
    if (WriteWholeFileSafely(FileSystemPath(path), bytes.data(), bytes.size()))
        return true;
    error = wxT("Unable to write/overwrite ") + path;
    return false;
}

void MidiMonitor::OnFilter(wxCommandEvent &)
{
    shown_filter_ = static_cast<TrafficFilter>(filter_->GetSelection());
    Rebuild();
}

void MidiMonitor::OnClear(wxCommandEvent &)
{
    Traffic().Clear();
    shown_.clear();
    seen_total_ = Traffic().Total();
    list_->SetItemCount(0);
    list_->Refresh();
}

void MidiMonitor::OnCopy(wxCommandEvent &)
{
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(ListedText(true)));
        wxTheClipboard->Close();
    }
}

void MidiMonitor::OnSave(wxCommandEvent &)
{
    wxFileDialog dialog(this, wxT("Save the MIDI messages"), wxEmptyString, wxT("midi_messages.syx"),
                        wxT("SysEx files (*.syx)|*.syx|Text files (*.txt)|*.txt"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    wxString path = ChosenPath(dialog);
    if (path.empty())
        return;
    if (wxFileName(path).GetExt().empty())
        path += dialog.GetFilterIndex() == 1 ? wxT(".txt") : wxT(".syx");
    wxString error;
    if (!SaveTo(path, error))
        wxMessageDialog(this, error, wxT("File I/O Error..."), wxOK | wxCENTRE).ShowModal();
}
