// Pictures of every tab of the editor panel, at the size start-up gives it and
// at its nominal size, and the layout checks behind them: every widget of a
// tab lies inside the tab and no two widgets overlap.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <wx/filename.h>

#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/radiobox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "CVQ9Mainframe.h"
#include "checked_cast.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "record_access.h"
#include "usercurvesedition.h"

namespace {

// The visible children of a window, lines left out (they may touch their neighbours).
std::vector<wxWindow *> LaidOutChildren(wxWindow *parent)
{
    std::vector<wxWindow *> children;
    for (wxWindow *child : parent->GetChildren()) {
        if (!child->IsShown() || CheckedCast<wxStaticLine>(child) || child->IsTopLevel())
            continue;
        children.push_back(child);
    }
    return children;
}

wxString Describe(wxWindow *w)
{
    wxString label = w->GetLabel();
    if (label.empty())
        label = w->GetName();
    const wxRect r = w->GetRect();
    return wxString::Format("'%s' at (%d,%d %dx%d)", label, r.x, r.y, r.width, r.height);
}

// Every child inside `parent`'s client area, and no two children overlapping.
void ExpectCleanLayout(wxWindow *parent, const wxString &where)
{
    const wxSize client = parent->GetClientSize();
    const std::vector<wxWindow *> children = LaidOutChildren(parent);
    for (wxWindow *child : children) {
        const wxRect r = child->GetRect();
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.GetRight() < client.x && r.GetBottom() < client.y)
            << where << ": " << Describe(child) << " leaves the " << client.x << "x" << client.y << " area";
        // A widget squeezed below the size it needs is clipped by the toolkit.
        const wxSize needed = child->GetEffectiveMinSize();
        EXPECT_TRUE(r.width >= needed.x && r.height >= needed.y)
            << where << ": " << Describe(child) << " squeezed below " << needed.x << "x" << needed.y;
    }
    for (size_t i = 0; i < children.size(); ++i) {
        for (size_t j = i + 1; j < children.size(); ++j) {
            if (CheckedCast<wxNotebook>(children[i]) || CheckedCast<wxNotebook>(children[j]))
                continue;
            EXPECT_FALSE(children[i]->GetRect().Intersects(children[j]->GetRect()))
                << where << ": " << Describe(children[i]) << " overlaps " << Describe(children[j]);
        }
    }
}

// What the X server shows of `window`, cropped from the root window with
// ImageMagick's import (a screen device context may return a picture taken
// before the last page change). Empty when the picture could not be taken.
wxString CaptureScreen(wxWindow *window, const wxString &name)
{
    const wxString folder = wxString::FromUTF8(CVQ9_SCREENSHOT_DIR);
    wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    const wxString path = folder + "/" + name + ".png";
    const wxRect r = window->GetScreenRect();
    const wxString command =
        wxString::Format("import -window root -crop %dx%d+%d+%d +repage '%s'", r.width, r.height, r.x, r.y, path);
    if (std::system(command.utf8_str()) != 0 || !wxFileName::FileExists(path))
        return wxString();
    return path;
}

bool HaveImport()
{
    return std::system("command -v import >/dev/null 2>&1") == 0;
}

}  // namespace

class PanelLayout : public GuiFixture
{};

TEST_F(PanelLayout, EveryTabFitsThePanelStartUpGivesIt)
{
    StartApp();
    wxNotebook *book = pui->wxNotebookPages;
    EXPECT_EQ(book->GetSize().x, 800);
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        book->ChangeSelection(page);
        Pump();
        ExpectCleanLayout(book->GetPage(page), book->GetPageText(page));
    }
    ExpectCleanLayout(pui, "bottom area");
}

class SerialPanelScreenshots : public GuiFixture
{
protected:
    // Shows `page` and lets the toolkit draw it before the picture is taken.
    void ShowPage(wxNotebook *book, size_t page)
    {
        book->SetSelection(page);
        book->Refresh();
        book->Update();
        for (int i = 0; i < 10; ++i) {
            Pump();
            wxMilliSleep(20);
        }
        ASSERT_EQ(book->GetSelection(), static_cast<int>(page));
    }
};

TEST_F(SerialPanelScreenshots, EveryTabInTheMainWindow)
{
    if (!HaveImport())
        GTEST_SKIP() << "ImageMagick's import is not installed";
    StartApp();
    wxNotebook *book = pui->wxNotebookPages;
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        ShowPage(book, page);
        EXPECT_FALSE(CaptureScreen(pui, wxString::Format("panel_tab_%zu", page)).empty());
    }
}

// This suite runs under a dark desktop theme (GTK_THEME=Adwaita:dark, see
// CMakeLists.txt): every text drawn straight on the editor's light surfaces
// must still be readable there.
class DarkTheme : public SerialPanelScreenshots
{
protected:
    // WCAG relative luminance and contrast ratio.
    static double Luminance(const wxColour &c)
    {
        auto channel = [](unsigned char v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
    }
    static double Contrast(const wxColour &a, const wxColour &b)
    {
        const double la = Luminance(a), lb = Luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    // Windows whose text GTK draws straight on their parent's surface; the
    // surface is the nearest window, from `w` up, whose colour the program set.
    void ExpectReadable(wxWindow *w, std::vector<std::string> &unreadable)
    {
        const bool on_surface = CheckedCast<wxStaticText>(w) || CheckedCast<wxCheckBox>(w) ||
                                CheckedCast<wxRadioButton>(w) || CheckedCast<wxRadioBox>(w) ||
                                CheckedCast<wxStaticBox>(w) || CheckedCast<wxNotebook>(w);
        wxWindow *surface = w;
        while (surface && !surface->UseBackgroundColour())
            surface = surface->GetParent();
        if (on_surface && surface) {
            const double ratio = Contrast(w->GetForegroundColour(), surface->GetBackgroundColour());
            if (ratio < 4.5)
                unreadable.push_back(Describe(w).utf8_string() +
                                     wxString::Format(" contrast %.1f", ratio).utf8_string());
        }
        for (wxWindow *child : w->GetChildren())
            ExpectReadable(child, unreadable);
    }
};

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
    ExpectReadable(pui, unreadable);
    ExpectReadable(pcurveDialog, unreadable);
    for (const std::string &w : unreadable)
        ADD_FAILURE() << w;
    if (!HaveImport())
        return;
    wxNotebook *book = pui->wxNotebookPages;
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        ShowPage(book, page);
        EXPECT_FALSE(CaptureScreen(pui, wxString::Format("dark_theme_tab_%zu", page)).empty());
    }
}

TEST_F(SerialPanelScreenshots, EveryTabAtTheNominalSize)
{
    if (!HaveImport())
        GTEST_SKIP() << "ImageMagick's import is not installed";
    StartApp();
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, "panel", wxPoint(0, 0), wxDefaultSize);
    cvq9_config_ui *panel = new cvq9_config_ui(frame, wxID_ANY, "panel", wxDefaultPosition, wxSize(806, 305));
    frame->SetClientSize(806, 305);
    panel->SetSize(0, 0, 806, 305);
    frame->Show();
    Pump();
    wxNotebook *book = panel->wxNotebookPages;
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        ShowPage(book, page);
        EXPECT_FALSE(CaptureScreen(panel, wxString::Format("panel_nominal_tab_%zu", page)).empty());
    }
    frame->Destroy();
}
