#include "usercurvesedition.h"

#include <wx/intl.h>

wxIMPLEMENT_DYNAMIC_CLASS(UserCurvesedition, wxDialog);

UserCurvesedition::UserCurvesedition() = default;

UserCurvesedition::UserCurvesedition(wxWindow *parent, wxWindowID id, const wxString &caption,
                                     const wxPoint &pos, const wxSize &size, long style)
{
    Create(parent, id, caption, pos, size, style);
}

bool UserCurvesedition::Create(wxWindow *parent, wxWindowID id, const wxString &caption,
                               const wxPoint &pos, const wxSize &size, long style)
{
    SetExtraStyle(wxWS_EX_VALIDATE_RECURSIVELY);
    if (!wxDialog::Create(parent, id, caption, pos, size, style))
        return false;
    CreateControls();
    Centre();
    return true;
}

UserCurvesedition::~UserCurvesedition() = default;

void UserCurvesedition::CreateControls()
{
}
