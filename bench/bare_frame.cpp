// The smallest wxWidgets program with a frame like the editor's main window:
// the yardstick of the start-up benchmark.
#include <wx/app.h>
#include <wx/frame.h>

class BareFrameApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxFrame *frame = new wxFrame(nullptr, wxID_ANY, wxT("Bare frame"), wxDefaultPosition, wxSize(794, 770),
                                     wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX | wxCLIP_CHILDREN);
        frame->Centre(wxBOTH);
        frame->Show(true);
        SetTopWindow(frame);
        return true;
    }
};

wxIMPLEMENT_APP(BareFrameApp);
