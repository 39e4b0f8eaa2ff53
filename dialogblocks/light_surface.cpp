#include "light_surface.h"

#include "checked_cast.h"

#include <wx/checkbox.h>
#include <wx/notebook.h>
#include <wx/radiobox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

wxColour LightSurfaceColour()
{
    return wxColour(227, 230, 230);
}

void UseLightSurface(wxWindow *surface)
{
    surface->SetBackgroundColour(LightSurfaceColour());
    DarkTextOn(surface);
}

void DarkTextOn(wxWindow *surface)
{
    const bool draws_on_surface = CheckedCast<wxStaticText>(surface) || CheckedCast<wxCheckBox>(surface) ||
                                  CheckedCast<wxRadioButton>(surface) || CheckedCast<wxRadioBox>(surface) ||
                                  CheckedCast<wxStaticBox>(surface) || CheckedCast<wxNotebook>(surface);
    if (draws_on_surface && !surface->UseForegroundColour())
        surface->SetForegroundColour(*wxBLACK);
    for (wxWindow *child : surface->GetChildren())
        DarkTextOn(child);
}
