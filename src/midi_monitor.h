// The MIDI monitor: a window beside the editor listing the MIDI traffic as it
// happens (time, port, direction, bytes, meaning), with a filter, Clear,
// Copy, and Save as a .syx file of the raw messages or a .txt file of the list.
#ifndef CVQ9_MIDI_MONITOR_H
#define CVQ9_MIDI_MONITOR_H

#include <cstdint>
#include <vector>

#include <wx/frame.h>
#include <wx/timer.h>

#include "midi_traffic.h"

class wxChoice;
class wxListCtrl;

class MidiMonitor : public wxFrame
{
public:
    // Shows the one monitor, made at the first call, in front.
    static MidiMonitor *Open(wxWindow *parent);
    // The open monitor, or null.
    static MidiMonitor *Current();

    ~MidiMonitor() override;

    // Lists what the log holds now (the window does so by itself a few times a second).
    void CatchUp();
    size_t ShownCount() const { return shown_.size(); }
    const TrafficMessage &Shown(size_t row) const;
    // The text of a row's column, as the list shows it.
    wxString CellText(size_t row, int column) const;

    // The list as the buttons use it; the file's kind follows its extension.
    wxString ListedText(bool selected_only) const;
    bool SaveTo(const wxString &path, wxString &error) const;

private:
    explicit MidiMonitor(wxWindow *parent);
    void Rebuild();
    void OnFilter(wxCommandEvent &event);
    void OnClear(wxCommandEvent &event);
    void OnCopy(wxCommandEvent &event);
    void OnSave(wxCommandEvent &event);

    class List;
    List *list_ = nullptr;
    wxChoice *filter_ = nullptr;
    wxTimer timer_;
    TrafficFilter shown_filter_ = TrafficFilter::All;
    std::vector<uint64_t> shown_;  // serial numbers of the listed messages
    uint64_t seen_total_ = 0;      // the log's total when the list last caught up
    unsigned ticks_ = 0;
};

#endif
