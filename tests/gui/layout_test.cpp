// The editor panel's layout: every widget of every tab inside the fixed-size
// window, none squeezed, none overlapping; and under a dark desktop theme
// every text on the panel's light surfaces still readable.
#include <algorithm>
#include <cmath>

#include <wx/statbox.h>
#include <wx/statline.h>

#include "CVQ9Mainframe.h"
#include "checked_cast.h"
#include "gui_fixture.h"
#include "record_access.h"
#include "usercurvesedition.h"

namespace {

std::string Describe(wxWindow *w)
{
    const wxRect r = w->GetRect();
    return (w->GetLabel().empty() ? w->GetName() : w->GetLabel()).utf8_string() +
           wxString::Format(" at (%d,%d %dx%d)", r.x, r.y, r.width, r.height).utf8_string();
}

// Every shown child inside `parent`'s client area at no less than the size it
// needs, and no two overlapping (lines may touch their neighbours).
void ExpectCleanLayout(wxWindow *parent, const wxString &where)
{
    const wxSize client = parent->GetClientSize();
    std::vector<wxWindow *> children;
    for (wxWindow *child : parent->GetChildren())
        if (child->IsShown() && !CheckedCast<wxStaticLine>(child) && !child->IsTopLevel())
            children.push_back(child);
    for (size_t i = 0; i < children.size(); ++i) {
        const wxRect r = children[i]->GetRect();
        const wxSize needed = children[i]->GetEffectiveMinSize();
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.GetRight() < client.x && r.GetBottom() < client.y)
            << where << ": " << Describe(children[i]) << " leaves the area";
        EXPECT_TRUE(r.width >= needed.x && r.height >= needed.y) << where << ": " << Describe(children[i]);
        for (size_t j = i + 1; j < children.size(); ++j) {
            const bool book = CheckedCast<wxNotebook>(children[i]) || CheckedCast<wxNotebook>(children[j]);
            EXPECT_FALSE(!book && r.Intersects(children[j]->GetRect()))
                << where << ": " << Describe(children[i]) << " overlaps " << Describe(children[j]);
        }
    }
}

double Luminance(const wxColour &c)
{
    auto channel = [](unsigned char v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
}

// Texts GTK draws straight on their parent's surface, the nearest window whose
// colour the program set, need a contrast of 4.5 to it.
void CollectUnreadable(wxWindow *w, std::vector<std::string> &unreadable)
{
    const bool on_surface = CheckedCast<wxStaticText>(w) || CheckedCast<wxCheckBox>(w) ||
                            CheckedCast<wxRadioButton>(w) || CheckedCast<wxRadioBox>(w) ||
                            CheckedCast<wxStaticBox>(w) || CheckedCast<wxNotebook>(w);
    wxWindow *surface = w;
    while (surface && !surface->UseBackgroundColour())
        surface = surface->GetParent();
    if (on_surface && surface) {
        const double a = Luminance(w->GetForegroundColour()), b = Luminance(surface->GetBackgroundColour());
        const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
        if (ratio < 4.5)
            unreadable.push_back(Describe(w) + wxString::Format(" contrast %.1f", ratio).utf8_string());
    }
    for (wxWindow *child : w->GetChildren())
        CollectUnreadable(child, unreadable);
}

}  // namespace

TEST_F(GuiFixture, EveryTabFitsTheFixedSizeWindow)
{
    StartApp();
    wxNotebook *book = pui->wxNotebookPages;
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        ShowPage(static_cast<int>(page));
        Pump();
        ExpectCleanLayout(book->GetPage(page), book->GetPageText(page));
    }
    ExpectCleanLayout(pui, "bottom area");
}

// Run by its own CTest entry under GTK_THEME=Adwaita:dark.
class DarkTheme : public GuiFixture
{};

TEST_F(DarkTheme, EveryTextOnTheLightSurfacesIsReadable)
{
    StartApp();
    // Two knobs that differ in their maximum: the blue difference labels show too.
    ResetConfiguration(1);
    mycontrol[CurrentGroup][9].ctrl_value_max = 100;
    all_selected_ctrl = {8, 9};
    ControlIndex = 9;
    pui->UpdateWholeParamWindows();
    std::vector<std::string> unreadable;
    CollectUnreadable(pui, unreadable);
    CollectUnreadable(pcurveDialog, unreadable);
    for (const std::string &w : unreadable)
        ADD_FAILURE() << w;
}
