// The application object: start-up of every window in a fixed order, the
// settings store, the forwarding of device, library and check commands to the
// editor panel, and shutdown.
#ifndef CVQ9_TEST_H
#define CVQ9_TEST_H

#include <wx/app.h>
#include <wx/event.h>
#include <wx/string.h>

#include "settings.h"

class wxHtmlHelpController;

class CVQ9App : public wxApp
{
public:
    // Sets pCVQ9App to this object and the window and settings handles to null.
    CVQ9App();

    bool OnInit() override;
    int OnExit() override;

    // Group selector (identifier 106).
    void OnComboGroupChange(wxCommandEvent &event);
    // Device transfers, library and check commands of the Control menu,
    // forwarded to the editor panel.
    void OnUploadCurrentfromq9Menu(wxCommandEvent &event);
    void OnUploadAllfromq9Menu(wxCommandEvent &event);
    void OnDownloadCurrentToq9Menu(wxCommandEvent &event);
    void OnDownloadAllToq9Menu(wxCommandEvent &event);
    void OnUploadAllfromLibraryMenu(wxCommandEvent &event);
    void OnDownloadAllToLibraryMenu(wxCommandEvent &event);
    void OnCheckCurrentMenu(wxCommandEvent &event);
    void OnCheckAllMenu(wxCommandEvent &event);

    wxHtmlHelpController *help;

    // Adds the help book to `help` unless that is done already. Start-up
    // leaves it to the first idle moment after the window is up (reading the
    // book's index is slow); Help calls it too, so the book is always there
    // when asked for.
    void AddHelpBook();

private:
    bool help_book_pending_ = false;

    wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(CVQ9App);

// The application object, set by its constructor.
extern CVQ9App *pCVQ9App;
// The program's directory, ending in "/", one character per byte of the path.
extern wxString MyExecPath;

#endif
