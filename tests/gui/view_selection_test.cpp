// Selection on the front panel: plain and Ctrl left clicks at the controls'
// places, clicks in gaps, the overlapping joystick items, the transport
// buttons outside group 0, the right-click menu and its commands, the hover
// text and the two MIDI activity LEDs with their one-shot timers. The pure
// rules (gui_panel_selection) are tested directly first.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "cvq9_resources.h"
#include "gui_fixture.h"
#include "panel_geometry.h"
#include "panel_selection.h"
#include "record_access.h"
#include "settings.h"

// ---- The pure rules ------------------------------------------------------------

TEST(PanelSelectionRules, PlainClickSelectsTheControlAlone)
{
    PanelSelection s;
    s.selected = {9, 12};
    s.control_index = 12;
    s.drawn = {9, 12};
    const LeftClickOutcome out = ApplyLeftClick(s, {20}, false, 3);
    EXPECT_TRUE(out.hit);
    EXPECT_FALSE(out.transport_refused);
    EXPECT_EQ(s.selected, (std::vector<int>{20}));
    EXPECT_EQ(s.control_index, 20u);
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{20}));
    EXPECT_EQ(out.control_index_steps, (std::vector<unsigned>{20}));
}

TEST(PanelSelectionRules, NothingUnderThePointerChangesNothing)
{
    PanelSelection s;
    s.selected = {9};
    s.control_index = 9;
    s.drawn = {9};
    for (bool ctrl : {false, true}) {
        const LeftClickOutcome out = ApplyLeftClick(s, {}, ctrl, 0);
        EXPECT_FALSE(out.hit);
        EXPECT_TRUE(out.control_index_steps.empty());
        EXPECT_EQ(s.selected, (std::vector<int>{9}));
        EXPECT_EQ(s.drawn, (std::vector<unsigned>{9}));
    }
}

TEST(PanelSelectionRules, CtrlClickAddsAndRemovesKeepingSelectionOrder)
{
    PanelSelection s;
    s.selected = {8};
    s.control_index = 8;
    s.drawn = {8};
    ApplyLeftClick(s, {30}, true, 1);
    ApplyLeftClick(s, {40}, true, 1);
    EXPECT_EQ(s.selected, (std::vector<int>{8, 30, 40}));
    EXPECT_EQ(s.control_index, 40u);
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{8, 30, 40}));
    // Removing one of three: the last remaining index is shown.
    ApplyLeftClick(s, {40}, true, 1);
    EXPECT_EQ(s.selected, (std::vector<int>{8, 30}));
    EXPECT_EQ(s.control_index, 30u);
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{8, 30}));
    ApplyLeftClick(s, {8}, true, 1);
    EXPECT_EQ(s.selected, (std::vector<int>{30}));
    EXPECT_EQ(s.control_index, 30u);
}

TEST(PanelSelectionRules, CtrlClickOnTheOnlyControlKeepsIt)
{
    PanelSelection s;
    s.selected = {17};
    s.control_index = 17;
    s.drawn = {17};
    const LeftClickOutcome out = ApplyLeftClick(s, {17}, true, 2);
    EXPECT_TRUE(out.hit);
    EXPECT_EQ(s.selected, (std::vector<int>{17}));
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{17}));
    EXPECT_EQ(out.control_index_steps, (std::vector<unsigned>{17}));
}

TEST(PanelSelectionRules, OverlapEndsWithTheLastControlAlone)
{
    PanelSelection s;
    s.selected = {8};
    s.drawn = {8};
    const LeftClickOutcome out = ApplyLeftClick(s, {6, 55}, false, 1);
    EXPECT_EQ(s.selected, (std::vector<int>{55}));
    EXPECT_EQ(s.control_index, 55u);
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{55}));
    EXPECT_EQ(out.control_index_steps, (std::vector<unsigned>{6, 55}));
}

TEST(PanelSelectionRules, CtrlOverlapAddsBoth)
{
    PanelSelection s;
    s.selected = {8};
    s.drawn = {8};
    ApplyLeftClick(s, {6, 55}, true, 1);
    EXPECT_EQ(s.selected, (std::vector<int>{8, 6, 55}));
    EXPECT_EQ(s.drawn, (std::vector<unsigned>{8, 6, 55}));
    EXPECT_EQ(s.control_index, 55u);
}

TEST(PanelSelectionRules, TransportOutsideGroupZeroIsRefusedUnchanged)
{
    PanelSelection s;
    s.selected = {9};
    s.control_index = 9;
    s.drawn = {9};
    for (unsigned index = 0; index <= 4; ++index) {
        for (bool ctrl : {false, true}) {
            const LeftClickOutcome out = ApplyLeftClick(s, {index}, ctrl, 3);
            EXPECT_TRUE(out.transport_refused);
            EXPECT_FALSE(out.hit);
            EXPECT_EQ(s.selected, (std::vector<int>{9}));
            EXPECT_EQ(s.control_index, 9u);
            EXPECT_EQ(s.drawn, (std::vector<unsigned>{9}));
        }
    }
    const LeftClickOutcome in_group0 = ApplyLeftClick(s, {2}, false, 0);
    EXPECT_FALSE(in_group0.transport_refused);
    EXPECT_EQ(s.selected, (std::vector<int>{2}));
}

TEST(PanelSelectionRules, RightClickRefusesOnlyTransportOutsideGroupZero)
{
    EXPECT_EQ(RightClickFor(0, 1), RightClickStep::Refuse);
    EXPECT_EQ(RightClickFor(4, 20), RightClickStep::Refuse);
    EXPECT_EQ(RightClickFor(4, 0), RightClickStep::PopUp);
    EXPECT_EQ(RightClickFor(5, 7), RightClickStep::PopUp);
    EXPECT_EQ(RightClickFor(66, 0), RightClickStep::PopUp);
}

TEST(PanelSelectionRules, HoverPieceIsSixteenCharactersUpToTheFirstNul)
{
    EXPECT_EQ(HoverPiece(L"Volume"), L"Volume          ");
    EXPECT_EQ(HoverPiece(L"ABCDEFGHIJKLMNOPQRST"), L"ABCDEFGHIJKLMNOP");
    EXPECT_EQ(HoverPiece(std::wstring(L"Pan\0junk", 8)), L"Pan             ");
    EXPECT_EQ(HoverPiece(L""), std::wstring(16, L' '));
    // Characters above 127 go through as they are (one per device byte).
    EXPECT_EQ(HoverPiece(L"\x00e9t\x00e9"), L"\x00e9t\x00e9             ");
}

TEST(PanelSelectionRules, HoverTooltipGathersDefinedTextsAndTheLastSetWins)
{
    EXPECT_FALSE(HoverTooltip({}).has_value());
    EXPECT_EQ(HoverTooltip({{2, L"ignored"}}), std::wstring(L"Undefined"));
    EXPECT_EQ(HoverTooltip({{0, L"X axis"}, {0, L"Button"}}), std::wstring(L"X axis          Button          "));
    EXPECT_EQ(HoverTooltip({{0, L"X axis"}, {2, L""}}), std::wstring(L"Undefined"));
    EXPECT_EQ(HoverTooltip({{2, L""}, {0, L"Button"}}), std::wstring(L"Button          "));
    // A failing check other than "undefined" still shows the text.
    EXPECT_EQ(HoverTooltip({{7, L"Odd"}}), std::wstring(L"Odd             "));
}

// ---- The view in the running program ------------------------------------------------

namespace {

wxPoint Centre(unsigned index)
{
    const wxRect r = pCVQ9View->all[index].rect;
    return wxPoint(r.x + r.width / 2, r.y + r.height / 2);
}

// A point of the item that lies in no other item (joystick X and the joystick
// button overlap).
wxPoint OwnPoint(unsigned index)
{
    const wxRect r = pCVQ9View->all[index].rect;
    if (index == 6)
        return wxPoint(r.x + r.width / 2, r.y + 1);
    if (index == 55)
        return wxPoint(r.x + 3, r.y + r.height / 2);
    return Centre(index);
}

// Records the check finds entirely undefined, or defined.
void MakeUndefined(unsigned group, unsigned index)
{
    mycontrol[group][index] = All_Params{};
}
void MakeDefined(unsigned group, unsigned index)
{
    mycontrol[group][index] = All_Params{};
    mycontrol[group][index].midi_str_lenght = 3;
    mycontrol[group][index].ctrl_value_max = 127;
}

void SendMouse(wxEventType type, const wxPoint &at, bool ctrl = false)
{
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.SetControlDown(ctrl);
    event.SetEventObject(pCVQ9View);
    pCVQ9View->GetEventHandler()->ProcessEvent(event);
}

void LeftClick(const wxPoint &at, bool ctrl = false)
{
    SendMouse(wxEVT_LEFT_DOWN, at, ctrl);
}
void LeftClick(unsigned index, bool ctrl = false)
{
    LeftClick(Centre(index), ctrl);
}

std::vector<unsigned> Drawn()
{
    std::vector<unsigned> drawn;
    for (auto node = pCVQ9View->arrSelectedItems.GetFirst(); node; node = node->GetNext())
        drawn.push_back(static_cast<unsigned>(node->GetData() - pCVQ9View->all));
    return drawn;
}

long StoredControlIndexSetting()
{
    return CVQ9_SOFT_config->Read("ControlIndex", -1L);
}

wxString Tooltip()
{
    wxToolTip *tip = pCVQ9View->GetToolTip();
    return tip ? tip->GetTip() : wxString("<none>");
}

// The view as its erase handler draws it, into a memory picture.
wxImage RenderView()
{
    const wxSize size = pCVQ9View->GetClientSize();
    wxBitmap picture(size.GetWidth(), size.GetHeight(), 24);
    {
        wxMemoryDC dc(picture);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        wxEraseEvent erase(pCVQ9View->GetId(), &dc);
        erase.SetEventObject(pCVQ9View);
        pCVQ9View->GetEventHandler()->ProcessEvent(erase);
    }
    return picture.ConvertToImage();
}

bool Shows(const wxImage &shown, const wxRect &rect, const wxImage &sprite, int sx = 0, int sy = 0)
{
    for (int y = 0; y < rect.height; ++y)
        for (int x = 0; x < rect.width; ++x)
            if (shown.GetRed(rect.x + x, rect.y + y) != sprite.GetRed(sx + x, sy + y) ||
                shown.GetGreen(rect.x + x, rect.y + y) != sprite.GetGreen(sx + x, sy + y) ||
                shown.GetBlue(rect.x + x, rect.y + y) != sprite.GetBlue(sx + x, sy + y))
                return false;
    return true;
}

bool ShowsGreen(const wxImage &shown, unsigned index)
{
    return Shows(shown, pCVQ9View->all[index].rect, pCVQ9View->all[index].pbitmapGreen->ConvertToImage());
}

// The panel picture itself at a view rectangle.
bool ShowsPanel(const wxImage &shown, const wxRect &rect)
{
    return Shows(shown, rect, pCVQ9View->background.ConvertToImage(), rect.x - PANEL_PICTURE_VIEW_X,
                 rect.y - PANEL_PICTURE_VIEW_Y);
}

wxRect LedRect(unsigned which)
{
    const PanelRect r = MidiLedRect(which);
    return wxRect(r.x, r.y, r.w, r.h);
}

// Counts the view's paint and erase events, letting them through.
class PaintCounter : public wxEvtHandler
{
public:
    int count = 0;
    bool ProcessEvent(wxEvent &event) override
    {
        if (event.GetEventType() == wxEVT_PAINT || event.GetEventType() == wxEVT_ERASE_BACKGROUND)
            ++count;
        return wxEvtHandler::ProcessEvent(event);
    }
};

// Notes the parent of every modal dialog and lets the fixture's hook answer it.
class ParentRecorder : public wxModalDialogHook
{
public:
    std::vector<wxWindow *> parents;

protected:
    int Enter(wxDialog *dialog) override
    {
        parents.push_back(dialog->GetParent());
        return wxID_NONE;
    }
    void Exit(wxDialog *) override {}
};

}  // namespace

class ViewSelection : public GuiFixture
{
protected:
    void Start(unsigned group)
    {
        StartApp();
        parents.Register();
        CurrentGroup = group;
        m_pGroupCombo->SetSelection(static_cast<int>(group));
        dialogs.Clear();
    }

    // Runs the event loop until `done` or a generous number of rounds: a guard
    // against hanging, not a measure of time.
    template <typename Done>
    bool WaitFor(Done done)
    {
        for (int round = 0; round < 20000 && !done(); ++round) {
            Pump(1);
            wxMilliSleep(1);
        }
        return done();
    }

    // Selecting clicks repaint on the toolkit's frame clock, some time after
    // the click. Before counting the paints of a later action, pump until the
    // view has had no paint for a while (bounded, in case it never settles).
    void SettlePaints()
    {
        PaintCounter counter;
        pCVQ9View->PushEventHandler(&counter);
        int quiet = 0, seen = 0;
        for (int round = 0; round < 3000 && quiet < 200; ++round) {
            Pump(1);
            wxMilliSleep(1);
            if (counter.count != seen) {
                seen = counter.count;
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        pCVQ9View->PopEventHandler(false);
    }

    void TearDown() override
    {
        parents.Unregister();
        GuiFixture::TearDown();
    }

    ParentRecorder parents;
};

TEST_F(ViewSelection, PlainClickSelectsAKnobAndStoresControlIndex)
{
    Start(1);
    const TablesSnapshot before;
    pui->wxComboBoxStdTemplateCtrl->SetSelection(7);
    LeftClick(20);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{20}));
    EXPECT_EQ(ControlIndex, 20u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{20}));
    EXPECT_EQ(StoredControlIndexSetting(), 20);
    // The assignment tabs were redisplayed, the template selector back on its first entry.
    EXPECT_EQ(pui->wxComboBoxStdTemplateCtrl->GetSelection(), 0);
    EXPECT_TRUE(m_pGroupCombo->IsThisEnabled());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    const wxImage shown = RenderView();
    EXPECT_TRUE(ShowsGreen(shown, 20));
    EXPECT_TRUE(ShowsPanel(shown, pCVQ9View->all[21].rect));
}

TEST_F(ViewSelection, EveryControlIsSelectableAtItsPlace)
{
    Start(0);
    for (unsigned index = 0; index < PANEL_ITEM_COUNT; ++index) {
        LeftClick(OwnPoint(index));
        EXPECT_EQ(all_selected_ctrl, (std::vector<int>{static_cast<int>(index)})) << index;
        EXPECT_EQ(ControlIndex, index);
        EXPECT_EQ(StoredControlIndexSetting(), static_cast<long>(index));
    }
}

TEST_F(ViewSelection, HitTestIncludesTheTopLeftAndExcludesTheFarEdges)
{
    Start(1);
    const wxRect r = pCVQ9View->all[8].rect;  // knob 0 at (39, 23, 34, 33)
    LeftClick(wxPoint(r.x, r.y));
    EXPECT_EQ(ControlIndex, 8u);
    LeftClick(40);
    LeftClick(wxPoint(r.x + r.width, r.y));
    LeftClick(wxPoint(r.x, r.y + r.height));
    LeftClick(wxPoint(r.x - 1, r.y));
    EXPECT_EQ(ControlIndex, 40u);
    LeftClick(wxPoint(r.GetRight(), r.GetBottom()));
    EXPECT_EQ(ControlIndex, 8u);
}

// Tests that count the view's paints to show that nothing was redrawn. Any
// other program's window appearing on the same display makes the view paint,
// so these run in the serial entry, with no other test process beside them.
class SerialViewPaints : public ViewSelection
{};

TEST_F(SerialViewPaints, ClickInAGapChangesNothingAndRedrawsNothing)
{
    Start(1);
    LeftClick(9);
    SettlePaints();
    CVQ9_SOFT_config->Write("ControlIndex", 33L);
    PaintCounter counter;
    pCVQ9View->PushEventHandler(&counter);
    for (bool ctrl : {false, true}) {
        LeftClick(wxPoint(80, 40), ctrl);    // between knob 0 and knob 1
        LeftClick(wxPoint(5, 5), ctrl);      // the frame's corner
        LeftClick(wxPoint(795, 330), ctrl);  // the bare columns at the right
    }
    Pump();
    pCVQ9View->PopEventHandler(false);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9}));
    EXPECT_EQ(ControlIndex, 9u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{9}));
    EXPECT_EQ(StoredControlIndexSetting(), 33);
}

TEST_F(ViewSelection, ASelectingClickRedrawsTheView)
{
    Start(1);
    Pump();
    PaintCounter counter;
    pCVQ9View->PushEventHandler(&counter);
    LeftClick(12);
    // The toolkit paints on its frame clock.
    WaitFor([&] { return counter.count > 0; });
    pCVQ9View->PopEventHandler(false);
    EXPECT_GT(counter.count, 0);
}

TEST_F(ViewSelection, CtrlClicksBuildAMultipleSelectionInOrder)
{
    Start(2);
    LeftClick(8);
    LeftClick(30, true);
    LeftClick(45, true);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{8, 30, 45}));
    EXPECT_EQ(ControlIndex, 45u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{8, 30, 45}));
    EXPECT_EQ(StoredControlIndexSetting(), 45);
    const wxImage shown = RenderView();
    for (unsigned index : {8u, 30u, 45u})
        EXPECT_TRUE(ShowsGreen(shown, index)) << index;

    // Removing one of three: the last remaining index in selection order is shown.
    LeftClick(45, true);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{8, 30}));
    EXPECT_EQ(ControlIndex, 30u);
    EXPECT_EQ(StoredControlIndexSetting(), 30);
    const wxImage after = RenderView();
    EXPECT_TRUE(ShowsPanel(after, pCVQ9View->all[45].rect));
    EXPECT_TRUE(ShowsGreen(after, 8));
    EXPECT_TRUE(ShowsGreen(after, 30));

    // A plain click ends the multiple selection.
    LeftClick(57);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{57}));
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{57}));
}

TEST_F(ViewSelection, CtrlClickOnTheOnlySelectedControlKeepsItDrawn)
{
    Start(1);
    LeftClick(66);
    LeftClick(66, true);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{66}));
    EXPECT_EQ(ControlIndex, 66u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{66}));
    EXPECT_TRUE(ShowsGreen(RenderView(), 66));
}

TEST_F(ViewSelection, CtrlSelectingAllGroupControls)
{
    Start(4);
    LeftClick(5);
    for (unsigned index = 6; index < PANEL_ITEM_COUNT; ++index) {
        LeftClick(OwnPoint(index), true);
    }
    ASSERT_EQ(all_selected_ctrl.size(), 62u);
    for (unsigned k = 0; k < 62; ++k)
        EXPECT_EQ(all_selected_ctrl[k], static_cast<int>(k + 5));
    EXPECT_EQ(Drawn().size(), 62u);
    EXPECT_EQ(ControlIndex, 66u);
}

TEST_F(ViewSelection, JoystickOverlapEndsWithTheButtonAlone)
{
    Start(1);
    const wxPoint overlap(735, 225);  // inside (731, 211, 24, 26) and (716, 219, 30, 18)
    ASSERT_TRUE(pCVQ9View->all[6].rect.Contains(overlap));
    ASSERT_TRUE(pCVQ9View->all[55].rect.Contains(overlap));
    LeftClick(overlap);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{55}));
    EXPECT_EQ(ControlIndex, 55u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{55}));
    EXPECT_EQ(StoredControlIndexSetting(), 55);
    // With Ctrl both join.
    LeftClick(8);
    LeftClick(overlap, true);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{8, 6, 55}));
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{8, 6, 55}));
}

TEST_F(ViewSelection, TransportButtonInGroupZeroDisablesTheGroupSelector)
{
    Start(0);
    for (unsigned index = 0; index <= 4; ++index) {
        LeftClick(8);
        EXPECT_TRUE(m_pGroupCombo->IsThisEnabled());
        LeftClick(index);
        EXPECT_EQ(all_selected_ctrl, (std::vector<int>{static_cast<int>(index)}));
        EXPECT_EQ(ControlIndex, index);
        EXPECT_FALSE(m_pGroupCombo->IsThisEnabled()) << index;
    }
    LeftClick(8);
    EXPECT_TRUE(m_pGroupCombo->IsThisEnabled());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(SerialViewPaints, TransportButtonOutsideGroupZeroShowsInfoAndChangesNothing)
{
    Start(3);
    LeftClick(10);
    LeftClick(11, true);
    CVQ9_SOFT_config->Write("ControlIndex", 44L);
    pui->wxComboBoxStdTemplateCtrl->SetSelection(9);
    SettlePaints();
    PaintCounter counter;
    pCVQ9View->PushEventHandler(&counter);
    const TablesSnapshot before;
    for (unsigned index = 0; index <= 4; ++index) {
        dialogs.Clear();
        LeftClick(index, index % 2 == 1);
        const auto info = dialogs.WithCaption("Info");
        ASSERT_EQ(info.size(), 1u) << dialogs.Describe();
        EXPECT_EQ(info[0].text, "Select Group 0 to assign Transport Buttons");
        EXPECT_TRUE(info[0].style & wxOK);
        ASSERT_FALSE(parents.parents.empty());
        EXPECT_EQ(parents.parents.back(), wxGetTopLevelParent(pCVQ9View));  // the view, seen through its frame
    }
    Pump();
    pCVQ9View->PopEventHandler(false);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{10, 11}));
    EXPECT_EQ(ControlIndex, 11u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{10, 11}));
    EXPECT_EQ(StoredControlIndexSetting(), 44);
    EXPECT_EQ(pui->wxComboBoxStdTemplateCtrl->GetSelection(), 9);
    EXPECT_TRUE(m_pGroupCombo->IsThisEnabled());
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(ViewSelection, ClicksAreIgnoredDuringATransfer)
{
    Start(0);
    LeftClick(9);
    programming = true;
    LeftClick(10);
    LeftClick(11, true);
    LeftClick(1);
    bool popped = false;
    pCVQ9View->right_click_popup = [&](wxMenu *, const wxPoint &) { popped = true; };
    SendMouse(wxEVT_RIGHT_DOWN, Centre(12));
    const wxString tip = Tooltip();
    SendMouse(wxEVT_MOTION, Centre(13));
    programming = false;
    EXPECT_FALSE(popped);
    EXPECT_EQ(Tooltip(), tip);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9}));
    EXPECT_EQ(ControlIndex, 9u);
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{9}));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

// ---- Right click ------------------------------------------------------------------

TEST_F(ViewSelection, RightClickSetsControlIndexAndPopsUpTheMenuAtThePointer)
{
    Start(1);
    LeftClick(9);
    LeftClick(10, true);
    CVQ9_SOFT_config->Write("ControlIndex", 44L);
    std::vector<std::pair<wxMenu *, wxPoint>> popups;
    std::vector<unsigned> index_when_shown;
    pCVQ9View->right_click_popup = [&](wxMenu *menu, const wxPoint &at) {
        popups.push_back({menu, at});
        index_when_shown.push_back(ControlIndex);
    };
    SendMouse(wxEVT_RIGHT_DOWN, Centre(30));
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].first, pMenuRightClick);
    EXPECT_EQ(popups[0].second, Centre(30));
    EXPECT_EQ(index_when_shown, (std::vector<unsigned>{30}));
    EXPECT_EQ(ControlIndex, 30u);
    // The selection, its drawing and the setting stay.
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9, 10}));
    EXPECT_EQ(Drawn(), (std::vector<unsigned>{9, 10}));
    EXPECT_EQ(StoredControlIndexSetting(), 44);
    // A gap pops up nothing; the overlap pops up once per control.
    SendMouse(wxEVT_RIGHT_DOWN, wxPoint(80, 40));
    EXPECT_EQ(popups.size(), 1u);
    SendMouse(wxEVT_RIGHT_DOWN, wxPoint(735, 225));
    EXPECT_EQ(index_when_shown, (std::vector<unsigned>{30, 6, 55}));
}

TEST_F(ViewSelection, RightClickMenuCommandsReachTheClipboard)
{
    Start(2);
    LeftClick(9);
    mylcdstring[2][31] = L"Cutoff";
    mylcdstring[2][9] = L"Other";
    mycontrol[2][31].midi_str_lenght = 3;
    const All_Params original31 = mycontrol[2][31];
    int command = ID_CVQ9_COPY;
    pCVQ9View->right_click_popup = [&](wxMenu *menu, const wxPoint &) {
        // The user chooses in the menu: the command starts at the view.
        wxCommandEvent chosen(wxEVT_MENU, command);
        chosen.SetEventObject(menu);
        pCVQ9View->GetEventHandler()->ProcessEvent(chosen);
    };
    SendMouse(wxEVT_RIGHT_DOWN, Centre(31));
    EXPECT_EQ(mylcdstringCopy, L"Cutoff");
    EXPECT_EQ(0, memcmp(&mycontrolCopy, &original31, sizeof(All_Params)));

    command = ID_CVQ9_CLEAR;
    const TablesSnapshot before_clear;
    SendMouse(wxEVT_RIGHT_DOWN, Centre(31));
    EXPECT_TRUE(mylcdstring[2][31].empty());
    EXPECT_EQ(mylcdstring[2][9], L"Other");
    EXPECT_NE(TablesSnapshot(), before_clear);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9}));
}

TEST_F(ViewSelection, RightClickOnTransportOutsideGroupZeroShowsInfo)
{
    Start(5);
    LeftClick(14);
    bool popped = false;
    pCVQ9View->right_click_popup = [&](wxMenu *, const wxPoint &) { popped = true; };
    for (unsigned index = 0; index <= 4; ++index) {
        dialogs.Clear();
        SendMouse(wxEVT_RIGHT_DOWN, Centre(index));
        const auto info = dialogs.WithCaption("Info");
        ASSERT_EQ(info.size(), 1u) << dialogs.Describe();
        EXPECT_EQ(info[0].text, "Select Group 0 to manage Transport Buttons");
        ASSERT_FALSE(parents.parents.empty());
        EXPECT_EQ(parents.parents.back(), wxGetTopLevelParent(pCVQ9View));  // the view, seen through its frame
    }
    EXPECT_FALSE(popped);
    EXPECT_EQ(ControlIndex, 14u);
    // In group 0 the transport buttons have the menu.
    CurrentGroup = 0;
    dialogs.Clear();
    SendMouse(wxEVT_RIGHT_DOWN, Centre(3));
    EXPECT_TRUE(popped);
    EXPECT_EQ(ControlIndex, 3u);
    EXPECT_TRUE(dialogs.messages.empty());
}

// ---- Hover --------------------------------------------------------------------------

TEST_F(ViewSelection, HoverShowsTheLcdTextOrUndefined)
{
    Start(6);
    // Knob 3 undefined, knob 4 with a six-character text, knob 5 with twenty.
    MakeUndefined(6, 11);
    mylcdstring[6][11] = L"Hidden";
    ASSERT_EQ(CheckMidiStruct(&mycontrol[6][11], 11), 2);
    MakeDefined(6, 12);
    mylcdstring[6][12] = L"Volume";
    MakeDefined(6, 13);
    mylcdstring[6][13] = L"ABCDEFGHIJKLMNOPQRST";
    ASSERT_NE(CheckMidiStruct(&mycontrol[6][12], 12), 2);

    SendMouse(wxEVT_MOTION, Centre(11));
    EXPECT_EQ(Tooltip(), "Undefined");
    SendMouse(wxEVT_MOTION, Centre(12));
    EXPECT_EQ(Tooltip(), "Volume          ");
    SendMouse(wxEVT_MOTION, Centre(13));
    EXPECT_EQ(Tooltip(), "ABCDEFGHIJKLMNOP");
    // Over no control the text stays.
    SendMouse(wxEVT_MOTION, wxPoint(80, 40));
    EXPECT_EQ(Tooltip(), "ABCDEFGHIJKLMNOP");
    // Other mouse events than motion update it too.
    SendMouse(wxEVT_ENTER_WINDOW, Centre(12));
    EXPECT_EQ(Tooltip(), "Volume          ");
    SendMouse(wxEVT_LEFT_UP, Centre(11));
    EXPECT_EQ(Tooltip(), "Undefined");
}

TEST_F(ViewSelection, HoverOverTheJoystickOverlapHoldsBothTextsXFirst)
{
    Start(1);
    MakeDefined(1, 6);
    MakeDefined(1, 55);
    mylcdstring[1][6] = L"Joy X";
    mylcdstring[1][55] = L"Joy B";
    SendMouse(wxEVT_MOTION, wxPoint(735, 225));
    EXPECT_EQ(Tooltip(), "Joy X           Joy B           ");
}

TEST_F(ViewSelection, TransportButtonsHaveNoHoverText)
{
    Start(0);
    SendMouse(wxEVT_MOTION, Centre(12));
    const wxString tip = Tooltip();
    for (unsigned index = 0; index <= 4; ++index) {
        SendMouse(wxEVT_MOTION, Centre(index));
        EXPECT_EQ(Tooltip(), tip) << index;
    }
}

// ---- LEDs -----------------------------------------------------------------------------

TEST_F(ViewSelection, LedFlashLightsThenGoesDarkWhenItsTimerRunsOut)
{
    Start(1);
    const wxImage led = yellow_led.ConvertToImage();
    for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
        wxTimer *timer = which == 0 ? pCVQ9View->midi_in_led_timer : pCVQ9View->midi_out_led_timer;
        ASSERT_FALSE(timer->IsRunning());
        EXPECT_TRUE(ShowsPanel(RenderView(), LedRect(which))) << which;
        pCVQ9View->UpdateMidiLeds(true, static_cast<int>(which));
        EXPECT_TRUE(pCVQ9View->midi_led_lit[which]);
        EXPECT_FALSE(pCVQ9View->midi_led_lit[1 - which]);
        EXPECT_TRUE(timer->IsRunning());
        EXPECT_TRUE(timer->IsOneShot());
        EXPECT_EQ(timer->GetInterval(), 30);
        const wxImage lit = RenderView();
        EXPECT_TRUE(Shows(lit, LedRect(which), led)) << which;
        EXPECT_TRUE(ShowsPanel(lit, LedRect(1 - which))) << which;
        ASSERT_TRUE(WaitFor([&] { return !pCVQ9View->midi_led_lit[which]; })) << which;
        EXPECT_FALSE(timer->IsRunning());
        EXPECT_TRUE(ShowsPanel(RenderView(), LedRect(which))) << which;
    }
}

TEST_F(ViewSelection, FlashWhileLitRestartsTheTimerAndOffDoesNotLight)
{
    Start(1);
    wxTimer *timer = pCVQ9View->midi_out_led_timer;
    // Off while dark: nothing.
    pCVQ9View->UpdateMidiLeds(false, 1);
    EXPECT_FALSE(pCVQ9View->midi_led_lit[1]);
    EXPECT_FALSE(timer->IsRunning());
    pCVQ9View->UpdateMidiLeds(true, 1);
    // A second flash, and even an "off" one, while lit keeps it lit with a fresh one-shot.
    pCVQ9View->UpdateMidiLeds(true, 1);
    EXPECT_TRUE(timer->IsRunning());
    pCVQ9View->UpdateMidiLeds(false, 1);
    EXPECT_TRUE(pCVQ9View->midi_led_lit[1]);
    EXPECT_TRUE(timer->IsRunning());
    EXPECT_TRUE(timer->IsOneShot());
    EXPECT_EQ(timer->GetInterval(), 30);
    ASSERT_TRUE(WaitFor([&] { return !pCVQ9View->midi_led_lit[1]; }));
    EXPECT_FALSE(timer->IsRunning());
    // Unknown LEDs are ignored.
    pCVQ9View->UpdateMidiLeds(true, 2);
    pCVQ9View->UpdateMidiLeds(true, -1);
    EXPECT_FALSE(pCVQ9View->midi_led_lit[0]);
    EXPECT_FALSE(pCVQ9View->midi_in_led_timer->IsRunning());
}

// ---- On the screen, with the real pointer ------------------------------------------------

class SerialViewSelection : public ViewSelection
{};

TEST_F(SerialViewSelection, RealClicksSelectAndThePictureShowsIt)
{
    Start(0);
    wxUIActionSimulator sim;
    auto click_at = [&](unsigned index, bool ctrl) {
        sim.MouseMove(pCVQ9View->ClientToScreen(Centre(index)));
        Pump();
        if (ctrl)
            sim.KeyDown(WXK_CONTROL);
        sim.MouseClick();
        if (ctrl)
            sim.KeyUp(WXK_CONTROL);
        Pump();
    };
    click_at(8, false);
    WaitFor([] { return ControlIndex == 8; });
    click_at(41, true);
    WaitFor([] { return ControlIndex == 41; });
    click_at(2, true);
    WaitFor([] { return ControlIndex == 2; });
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{8, 41, 2}));
    const wxString path = SaveScreenshot(pCVQ9View, "view_selection");
    EXPECT_FALSE(path.empty());
    wxImage shot;
    ASSERT_TRUE(shot.LoadFile(path, wxBITMAP_TYPE_PNG));
    const wxImage shown = RenderView();
    // The screen shows what the handlers draw at the selected controls.
    for (unsigned index : {8u, 41u, 2u}) {
        const wxRect r = pCVQ9View->all[index].rect;
        EXPECT_TRUE(Shows(shot, r, shown, r.x, r.y)) << index;
    }
}

TEST_F(SerialViewSelection, RealRightClickMenuSendsItsCommandToTheClipboard)
{
    Start(2);
    mylcdstring[2][20] = L"Resonance";
    mylcdstringCopy.clear();
    pMenuRightClick->Enable(ID_CVQ9_COPY, true);
    bool shown = false;
    // The menu runs its own loop: the keys that choose "&Copy" are typed from
    // inside it, once it is open.
    pMenuRightClick->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent &event) {
        event.Skip();
        if (shown)
            return;
        shown = true;
        wxTheApp->CallAfter([] {
            wxUIActionSimulator keys;
            keys.Char(WXK_DOWN);
            keys.Char(WXK_RETURN);
        });
    });
    // Should the keys go astray, the menu is taken down so the test ends.
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
        using Popdown = void (*)(void *);
        if (auto popdown = reinterpret_cast<Popdown>(dlsym(RTLD_DEFAULT, "gtk_menu_popdown")))
            popdown(pMenuRightClick->m_menu);
    });
    guard.StartOnce(5000);
    wxUIActionSimulator sim;
    sim.MouseMove(pCVQ9View->ClientToScreen(Centre(20)));
    Pump();
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    WaitFor([&] { return mylcdstringCopy == L"Resonance"; });
    guard.Stop();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ControlIndex, 20u);
    EXPECT_EQ(mylcdstringCopy, L"Resonance");
}
