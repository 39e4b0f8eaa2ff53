// The editor's start-up shows its window with the Preferences tab and the
// bottom area built and the four other tabs still empty; they are built
// right after the first paint, or before the first user action that comes
// sooner, and end up exactly as if they had been built with the rest.
#include <sstream>
#include <string>

#include <wx/frame.h>
#include <wx/notebook.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "usercurvesedition.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"

namespace {

// Every window under `window`: kind, label, place, sizes, state and font.
void Describe(std::ostringstream &out, wxWindow *window, int depth)
{
    const wxRect r = window->GetRect();
    const wxSize min = window->GetMinSize();
    const wxSize best = window->GetBestSize();
    out << std::string(static_cast<size_t>(depth) * 2, ' ')
        << wxString(window->GetClassInfo()->GetClassName()).utf8_str().data() << " '"
        << window->GetLabel().utf8_str().data() << "' " << r.x << "," << r.y << " " << r.width << "x" << r.height
        << " min " << min.x << "x" << min.y << " best " << best.x << "x" << best.y
        << (window->IsEnabled() ? "" : " disabled") << (window->IsShown() ? "" : " hidden") << " font "
        << window->GetFont().GetNativeFontInfoDesc().utf8_str().data() << " tip '"
        << window->GetToolTipText().utf8_str().data() << "'\n";
    for (wxWindow *child : window->GetChildren())
        Describe(out, child, depth + 1);
}

std::string Describe(wxWindow *window)
{
    std::ostringstream out;
    Describe(out, window, 0);
    return out.str();
}

} // namespace

class HiddenTabs : public GuiFixture
{
};

TEST_F(HiddenTabs, StartUpShowsTheWindowBeforeTheOtherTabsAreBuilt)
{
    StartApp(false);
    ASSERT_NE(pui, nullptr);
    EXPECT_TRUE(m_pCVQ9MainFrame->IsShown());
    EXPECT_TRUE(pui->HiddenTabsPending());
    // The five tabs are there, the first one and the bottom area complete.
    ASSERT_EQ(pui->wxNotebookPages->GetPageCount(), 5u);
    EXPECT_GT(pui->wxPanelPref->GetChildren().size(), 20u);
    EXPECT_NE(pui->wxChoiceFwOffline, nullptr);
    EXPECT_NE(pui->GAUGE_Bargraph, nullptr);
    for (wxPanel *page : {pui->wxPanelGlobal, pui->wxPanelRealtime, pui->wxPanelStd, pui->wxPanelUser})
        EXPECT_TRUE(page->GetChildren().empty());
    EXPECT_EQ(pui->wxTextCtrlGroupName, nullptr);
    EXPECT_EQ(pui->wxTextCtrlLcdString, nullptr);
    // The user-curve dialog, hidden until opened, waits as well.
    EXPECT_EQ(pcurveDialog, nullptr);

    // The first paint brings the rest.
    ASSERT_TRUE(WaitForHiddenTabs());
    EXPECT_NE(pui->wxTextCtrlGroupName, nullptr);
    EXPECT_NE(pui->wxTextCtrlLcdString, nullptr);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetParent(), pui->wxPanelGlobal);
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetParent(), pui->wxPanelUser);
    ASSERT_NE(pcurveDialog, nullptr);
    EXPECT_EQ(pcurveDialog->GetParent(), m_pCVQ9MainFrame);
    EXPECT_FALSE(pcurveDialog->IsShown());
    // No window is left over from building them.
    Pump();
    EXPECT_EQ(ShownTopLevelWindows(), 1u);
}

TEST_F(HiddenTabs, AUserActionBeforeTheFirstPaintFindsThemBuilt)
{
    StartApp(false);
    ASSERT_TRUE(pui->HiddenTabsPending());
    mygroupnames[3] = L"Strings";
    // The group selector's command reaches the program before anything was
    // painted; its handler shows the group's name in the global tab.
    SelectGroupInCombo(3);
    EXPECT_FALSE(pui->HiddenTabsPending());
    ASSERT_NE(pui->wxTextCtrlGroupName, nullptr);
    EXPECT_EQ(CurrentGroup, 3u);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue(), "Strings");
    EXPECT_NE(pcurveDialog, nullptr);
}

TEST_F(HiddenTabs, ClosingBeforeTheFirstPaintLeavesNoWindowBehind)
{
    StartApp(false);
    ASSERT_TRUE(pui->HiddenTabsPending());
    // The close box, with nothing to save: the windows built on the way,
    // the user-curve dialog among them, go with the main window.
    m_pCVQ9MainFrame->Close(false);
    EXPECT_FALSE(pui && pui->HiddenTabsPending());
    EXPECT_EQ(pcurveDialog, nullptr);
    Pump();
    EXPECT_TRUE(wxTopLevelWindows.empty());
    FinishShutdown();
}

TEST_F(HiddenTabs, BuiltLaterTheyAreAsIfBuiltWithTheRest)
{
    StartApp();
    ASSERT_NE(pui, nullptr);

    // The same panel built all at once, before its window is shown, in a
    // frame of the main window's size, below a stand-in for the view, placed,
    // sized and set up as start-up does.
    wxFrame *frame = new wxFrame(nullptr, wxID_ANY, "whole", wxDefaultPosition, m_pCVQ9MainFrame->GetSize(),
                                 m_pCVQ9MainFrame->GetWindowStyle());
    new wxWindow(frame, wxID_ANY, wxPoint(0, 0), pCVQ9View->GetSize());
    cvq9_config_ui *whole = new cvq9_config_ui(frame, ID_CVQ9_CONFIG_UI, SYMBOL_CVQ9_CONFIG_UI_TITLE,
                                               wxDefaultPosition, wxSize(806, 305));
    EXPECT_FALSE(whole->HiddenTabsPending());
    whole->SetSize(pui->GetRect());
    frame->Show();
    for (cvq9_config_ui *panel : {pui, whole}) {
        panel->UpdateWholeParamWindows();
        panel->UpdateWholeGlobalParamsWindows();
        panel->DisableMidiButtons();
        panel->DisableLibraryButtons();
        panel->wxButtonCancel->Enable(false);
    }
    Pump();

    std::istringstream started(Describe(pui));
    std::istringstream built(Describe(whole));
    std::string started_line, built_line;
    int line = 0;
    while (std::getline(built, built_line)) {
        ++line;
        ASSERT_TRUE(std::getline(started, started_line)) << "window " << line << " is missing: " << built_line;
        ASSERT_EQ(started_line, built_line) << "window " << line;
    }
    EXPECT_FALSE(std::getline(started, started_line)) << "one window too many: " << started_line;
    EXPECT_GT(line, 190);
    frame->Destroy();
}
