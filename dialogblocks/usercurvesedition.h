// The user-curve editor: a modeless dialog created hidden at start-up and
// shown by the editor's "Edit" buttons.
#ifndef CVQ9_USERCURVESEDITION_H
#define CVQ9_USERCURVESEDITION_H

#include <wx/dialog.h>
#include <wx/intl.h>
#include <wx/string.h>

#define ID_USERCURVESEDITION 10095
#define SYMBOL_USERCURVESEDITION_STYLE (wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxCLIP_CHILDREN)
#define SYMBOL_USERCURVESEDITION_TITLE _("User Curves edition")
#define SYMBOL_USERCURVESEDITION_IDNAME ID_USERCURVESEDITION
#define SYMBOL_USERCURVESEDITION_SIZE wxSize(450, 410)
#define SYMBOL_USERCURVESEDITION_POSITION wxDefaultPosition

class UserCurvesedition : public wxDialog
{
    wxDECLARE_DYNAMIC_CLASS(UserCurvesedition);

public:
    UserCurvesedition();
    UserCurvesedition(wxWindow *parent, wxWindowID id = SYMBOL_USERCURVESEDITION_IDNAME,
                      const wxString &caption = SYMBOL_USERCURVESEDITION_TITLE,
                      const wxPoint &pos = SYMBOL_USERCURVESEDITION_POSITION,
                      const wxSize &size = SYMBOL_USERCURVESEDITION_SIZE,
                      long style = SYMBOL_USERCURVESEDITION_STYLE);
    bool Create(wxWindow *parent, wxWindowID id = SYMBOL_USERCURVESEDITION_IDNAME,
                const wxString &caption = SYMBOL_USERCURVESEDITION_TITLE,
                const wxPoint &pos = SYMBOL_USERCURVESEDITION_POSITION,
                const wxSize &size = SYMBOL_USERCURVESEDITION_SIZE,
                long style = SYMBOL_USERCURVESEDITION_STYLE);
    ~UserCurvesedition() override;

    // Builds the dialog's widgets.
    void CreateControls();
};

#endif
