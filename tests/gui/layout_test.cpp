// The editor panel's layout: every widget of every tab inside the fixed-size
// window, none squeezed, none overlapping; and under a dark desktop theme
// every text on the panel's light surfaces still readable.
#include <cmath>

#include <wx/frame.h>
#include <wx/statbox.h>
#include <wx/statline.h>

#include "checked_cast.h"
#include "gui_fixture.h"
#include "usercurvesedition.h"

static std::string Describe(wxWindow *w)
{
    const wxRect r = w->GetRect();
    return (w->GetLabel() + w->GetName() + wxString::Format(" at (%d,%d %dx%d)", r.x, r.y, r.width, r.height))
        .utf8_string();
}

// Every shown child inside `parent`'s client area at no less than the size it
// needs, and no two overlapping (lines may touch their neighbours).
static void ExpectCleanLayout(wxWindow *parent, const wxString &where)
{
    const wxSize client = parent->GetClientSize();
    std::vector<wxWindow *> children;
    for (wxWindow *child : parent->GetChildren())
        if (child->IsShown() && !CheckedCast<wxStaticLine>(child) && !child->IsTopLevel())
            children.push_back(child);
    for (size_t i = 0; i < children.size(); ++i) {
        const wxRect r = children[i]->GetRect();
        const wxSize needed = children[i]->GetEffectiveMinSize();
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.GetRight() < client.x && r.GetBottom() < client.y &&
                    r.width >= needed.x && r.height >= needed.y)
            << where << ": " << Describe(children[i]) << " outside or squeezed";
        for (size_t j = i + 1; j < children.size(); ++j) {
            const bool book = CheckedCast<wxNotebook>(children[i]) || CheckedCast<wxNotebook>(children[j]);
            EXPECT_FALSE(!book && r.Intersects(children[j]->GetRect()))
                << where << ": " << Describe(children[i]) << " overlaps " << Describe(children[j]);
        }
    }
}

static double Luminance(const wxColour &c)
{
    auto channel = [](unsigned char v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
}

// A text GTK draws straight on its parent's surface, the nearest window whose
// colour the program set, needs a contrast of 4.5 to it.
static void ExpectReadable(wxWindow *w)
{
    wxWindow *surface = w;
    while (surface && !surface->UseBackgroundColour())
        surface = surface->GetParent();
    if (surface && (CheckedCast<wxStaticText>(w) || CheckedCast<wxCheckBox>(w) || CheckedCast<wxRadioButton>(w) ||
                    CheckedCast<wxRadioBox>(w) || CheckedCast<wxStaticBox>(w) || CheckedCast<wxNotebook>(w))) {
        const double a = Luminance(w->GetForegroundColour()), b = Luminance(surface->GetBackgroundColour());
        EXPECT_GE((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05), 4.5) << Describe(w);
    }
    for (wxWindow *child : w->GetChildren())
        ExpectReadable(child);
}

TEST_F(RunningApp, EveryTabFitsTheFixedSizeWindow)
{
    for (int page = 0; page < static_cast<int>(pui->wxNotebookPages->GetPageCount()); ++page) {
        ShowPage(page);
        Pump();
        ExpectCleanLayout(pui->wxNotebookPages->GetPage(page), pui->wxNotebookPages->GetPageText(page));
    }
    ExpectCleanLayout(pui, "bottom area");
    // A panel of its own comes and goes without touching the program's.
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, "panel");
    cvq9_config_ui *program_panel = pui;
    new cvq9_config_ui(frame, wxID_ANY, "panel", wxDefaultPosition, wxSize(806, 305));
    frame->Destroy();
    Pump();
    EXPECT_EQ(pui, program_panel);
    EXPECT_FALSE(cvq9_config_ui::GetIconResource("").IsOk());
}

// Run by its own CTest entry under GTK_THEME=Adwaita:dark.
using DarkTheme = RunningApp;

TEST_F(DarkTheme, EveryTextOnTheLightSurfacesIsReadable)
{
    ResetConfiguration(1);  // two knobs that differ in their maximum: the blue labels show too
    mycontrol[CurrentGroup][9].ctrl_value_max = 100;
    all_selected_ctrl = {8, 9};
    ControlIndex = 9;
    pui->UpdateWholeParamWindows();
    ExpectReadable(pui);
    ExpectReadable(pcurveDialog);
}
