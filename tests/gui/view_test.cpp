// The front-panel view: selection by left clicks (Ctrl adds and removes), the
// transport buttons outside group 0, the right-click menu, the hover text,
// the MIDI activity LEDs, what the paint handlers draw and the panel form
// following the hardware. The real pointer on the screen is the end-to-end
// scenarios' part.
#include <cstring>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/tooltip.h>

#include "cvq9_pictures.h"
#include "cvq9_resources.h"
#include "gui_fixture.h"

namespace {

// The centre of a control, or for the overlapping joystick items a point of their own.
wxPoint At(unsigned index)
{
    const wxRect r = pCVQ9View->all[index].rect;
    return index == 6    ? wxPoint(r.x + r.width / 2, r.y + 1)
           : index == 55 ? wxPoint(r.x + 3, r.y + 3)
                         : wxPoint(r.x + r.width / 2, r.y + r.height / 2);
}

const wxPoint kGap(80, 40), kOverlap(735, 225);  // no control; joystick X and its button

void Mouse(wxEventType type, const wxPoint &at, bool ctrl = false)
{
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.SetControlDown(ctrl);
    Deliver(pCVQ9View, event);
}

wxString Tooltip()
{
    return pCVQ9View->GetToolTip() ? pCVQ9View->GetToolTip()->GetTip() : wxString("<none>");
}

wxImage RenderView()  // as the erase handler draws it
{
    wxBitmap picture(pCVQ9View->GetClientSize().x, pCVQ9View->GetClientSize().y, 24);
    {
        wxMemoryDC dc(picture);
        wxEraseEvent erase(pCVQ9View->GetId(), &dc);
        Deliver(pCVQ9View, erase);
    }
    return picture.ConvertToImage();
}

// True when `rect` of `shown` is `picture` from (px, py) on, pixel for pixel.
bool Shows(const wxImage &shown, const wxRect &rect, const wxImage &picture, int px = 0, int py = 0)
{
    for (int y = 0; y < rect.height; ++y)
        if (std::memcmp(shown.GetData() + 3 * ((rect.y + y) * shown.GetWidth() + rect.x),
                        picture.GetData() + 3 * ((py + y) * picture.GetWidth() + px), 3 * rect.width) != 0)
            return false;
    return true;
}

bool ShowsGreen(const wxImage &shown, unsigned index)
{
    return Shows(shown, pCVQ9View->all[index].rect, pCVQ9View->all[index].pbitmapGreen->ConvertToImage());
}

bool ShowsPanel(const wxImage &shown, const wxRect &rect)  // the panel picture is drawn 10 columns to the left
{
    return Shows(shown, rect, pCVQ9View->background.ConvertToImage(), rect.x + 10, rect.y);
}

}  // namespace

class View : public GuiFixture
{
protected:
    void Start(int group)
    {
        StartApp();
        pui->FillStdTemplateList();
        SelectGroupInCombo(group);
        dialogs.Clear();
    }

    void ExpectSelection(const std::vector<int> &selected, long stored)
    {
        EXPECT_EQ(all_selected_ctrl, selected);
        EXPECT_EQ(static_cast<int>(ControlIndex), selected.back());
        EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>(selected.begin(), selected.end()));
        EXPECT_EQ(CVQ9_SOFT_config->Read("ControlIndex", -1L), stored);
    }
};

TEST_F(View, ClicksSelectControlsAndCtrlAddsOrRemovesThem)
{
    Start(0);
    const TablesSnapshot before;
    for (unsigned index = 0; index < PANEL_ITEM_COUNT; ++index) {
        pui->wxComboBoxStdTemplateCtrl->SetSelection(7);
        Mouse(wxEVT_LEFT_DOWN, At(index));
        ExpectSelection({static_cast<int>(index)}, index);
        // The tabs show the control; a transport button belongs to group 0 alone.
        EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), wxString::Format("%u", index));
        EXPECT_EQ(pui->wxComboBoxStdTemplateCtrl->GetSelection(), 0);
        EXPECT_EQ(m_pGroupCombo->IsThisEnabled(), index >= TRANSPORT_NB) << index;
    }
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    // A rectangle holds its top-left corner, not its far edges; Ctrl adds and
    // removes, the last remaining control is shown and the only one stays;
    // where two overlap a plain click ends on the last, a Ctrl click adds both.
    const wxRect r = pCVQ9View->all[8].rect;
    const struct {
        wxPoint at;
        bool ctrl;
        std::vector<int> selected;
    } steps[] = {{r.GetTopLeft(), false, {8}},
                 {r.GetTopRight() + wxPoint(1, 0), false, {8}},
                 {kGap, true, {8}},
                 {At(30), true, {8, 30}},
                 {At(45), true, {8, 30, 45}},
                 {At(45), true, {8, 30}},
                 {At(8), true, {30}},
                 {At(30), true, {30}},
                 {kOverlap, false, {55}},
                 {At(8), false, {8}},
                 {kOverlap, true, {8, 6, 55}}};
    for (const auto &s : steps) {
        Mouse(wxEVT_LEFT_DOWN, s.at, s.ctrl);
        ExpectSelection(s.selected, s.selected.back());
    }
    const wxImage shown = RenderView();
    EXPECT_TRUE(ShowsGreen(shown, 8) && ShowsGreen(shown, 55) && ShowsPanel(shown, pCVQ9View->all[45].rect));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

// Clicks on transport buttons outside group 0 are refused with an Info box
// over the main window and change nothing, whatever the mouse button; during
// a transfer the mouse is ignored altogether.
TEST_F(View, TransportButtonsOutsideGroupZeroAreRefused)
{
    Start(3);
    Mouse(wxEVT_LEFT_DOWN, At(10));
    Mouse(wxEVT_LEFT_DOWN, At(11), true);
    pCVQ9View->right_click_popup = [](wxMenu *, const wxPoint &) { ADD_FAILURE() << "menu shown"; };
    CVQ9_SOFT_config->Write("ControlIndex", 44L);
    pui->wxComboBoxStdTemplateCtrl->SetSelection(9);
    const TablesSnapshot before;
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN})
        for (unsigned index = 0; index < TRANSPORT_NB; ++index) {
            dialogs.Clear();
            Mouse(type, At(index), index % 2);
            EXPECT_EQ(dialogs.Texts("Info").size(), 1u) << dialogs.Describe();
            EXPECT_EQ(dialogs.messages.back().parent, m_pCVQ9MainFrame);
        }
    EXPECT_EQ(pui->wxComboBoxStdTemplateCtrl->GetSelection(), 9);
    EXPECT_TRUE(m_pGroupCombo->IsThisEnabled());
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    const wxString tip = Tooltip();
    programming = true;
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MOTION})
        Mouse(type, At(20));
    programming = false;
    EXPECT_EQ(Tooltip(), tip);
    ExpectSelection({10, 11}, 44);
}

TEST_F(View, ARightClickOpensTheClipboardMenuOnTheControlUnderThePointer)
{
    Start(2);
    Mouse(wxEVT_LEFT_DOWN, At(9));
    Mouse(wxEVT_LEFT_DOWN, At(10), true);
    mylcdstring[2][31] = L"Cutoff";
    const wxString tabs_show = pui->wxStaticTextCtrlNb->GetLabel();
    std::vector<std::pair<unsigned, wxPoint>> shown;
    int command = ID_CVQ9_COPY;
    pCVQ9View->right_click_popup = [&](wxMenu *menu, const wxPoint &at) {
        EXPECT_EQ(menu, pMenuRightClick);
        shown.emplace_back(ControlIndex, at);
        wxCommandEvent chosen(wxEVT_MENU, command);  // the user's choice starts at the view
        Deliver(pCVQ9View, chosen);
    };
    Mouse(wxEVT_RIGHT_DOWN, At(31));
    EXPECT_EQ(mylcdstringCopy, L"Cutoff");
    // The control under the pointer is addressed; the selection, its drawing, the control the tabs show and
    // the stored index stay.
    EXPECT_EQ(shown.back().first, 31u);
    EXPECT_EQ(ControlIndex, 10u);
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), tabs_show);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9, 10}));
    EXPECT_EQ(pCVQ9View->DrawnIndices(), (std::vector<unsigned>{9, 10}));
    EXPECT_EQ(CVQ9_SOFT_config->Read("ControlIndex", -1L), 10);
    command = ID_CVQ9_CLEAR;
    Mouse(wxEVT_RIGHT_DOWN, kGap);
    Mouse(wxEVT_RIGHT_DOWN, kOverlap);  // once for each control there
    SelectGroupInCombo(0);              // where the transport buttons have the menu too
    Mouse(wxEVT_RIGHT_DOWN, At(3));
    EXPECT_EQ(shown,
              (std::vector<std::pair<unsigned, wxPoint>>{{31, At(31)}, {6, kOverlap}, {55, kOverlap}, {3, At(3)}}));
    EXPECT_TRUE(mylcdstring[2][6].empty() && mylcdstring[2][55].empty() && !mylcdstring[2][31].empty());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(View, HoverShowsTheTextsOfTheControlsUnderThePointer)
{
    Start(6);
    for (unsigned index : {6u, 12u, 55u}) {  // defined controls; 11 is undefined
        mycontrol[6][index].midi_str_lenght = 3;
        mycontrol[6][index].ctrl_value_max = 127;
    }
    mycontrol[6][11] = All_Params{};
    mylcdstring[6][11] = L"Hidden";
    mylcdstring[6][12] = L"ABCDEFGHIJKLMNOPQRST";
    mylcdstring[6][6] = L"Joy X";
    mylcdstring[6][55] = L"Joy B";
    const std::vector<std::pair<wxPoint, wxString>> steps = {
        {At(11), "Undefined"},
        {At(12), "ABCDEFGHIJKLMNOP"},
        {kOverlap, "Joy X           Joy B           "},
        {kGap, "Joy X           Joy B           "},
        {At(2), "Joy X           Joy B           "}};  // none there
    for (const auto &step : steps) {
        Mouse(wxEVT_MOTION, step.first);
        EXPECT_EQ(Tooltip(), step.second);
    }
    Mouse(wxEVT_ENTER_WINDOW, At(11));  // other mouse events too
    EXPECT_EQ(Tooltip(), "Undefined");
}

TEST_F(View, TheHandlersDrawThePanelTheSelectedControlsAndTheLitLeds)
{
    Start(1);
    pCVQ9View->DrawIndices({});
    const wxImage bare = RenderView(), panel = pCVQ9View->background.ConvertToImage();
    EXPECT_TRUE(ShowsPanel(bare, wxRect(0, 0, 790, 338)));
    EXPECT_TRUE(Shows(bare, wxRect(795, 100, 1, 1), panel, 799, 0));  // bare columns: the frame's colour
    // Overlapping items are each clipped to their rectangle, in selection order.
    for (unsigned index : {6u, 55u, 40u, 41u, 41u})
        pCVQ9View->ManageSelectedItem(&pCVQ9View->all[index]);  // adds, or removes what is there
    pCVQ9View->ManageSelectedItem(nullptr);
    EXPECT_EQ(pCVQ9View->DrawnIndices(), (std::vector<unsigned>{6, 55, 40}));
    const wxImage shown = RenderView();
    EXPECT_TRUE(ShowsGreen(shown, 55) && ShowsGreen(shown, 40) && ShowsPanel(shown, pCVQ9View->all[41].rect));
    const wxRect x = pCVQ9View->all[6].rect;
    const int right = pCVQ9View->all[55].rect.GetRight() + 1;
    EXPECT_TRUE(Shows(shown, wxRect(right, x.y, x.GetRight() + 1 - right, x.height),
                      pCVQ9View->all[6].pbitmapGreen->ConvertToImage(), right - x.x, 0));
    // An LED is lit for 30 ms after its last flash.
    for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
        wxTimer *timer = which == 0 ? pCVQ9View->midi_in_led_timer : pCVQ9View->midi_out_led_timer;
        const PanelRect r = MidiLedRect(which), other = MidiLedRect(1 - which);
        pCVQ9View->UpdateMidiLeds(false, static_cast<int>(which));  // off while dark: nothing
        EXPECT_FALSE(timer->IsRunning() || pCVQ9View->midi_led_lit[which]);
        pCVQ9View->UpdateMidiLeds(true, static_cast<int>(which));
        pCVQ9View->UpdateMidiLeds(false, static_cast<int>(which));  // while lit, any flash restarts the timer
        EXPECT_TRUE(pCVQ9View->midi_led_lit[which] && !pCVQ9View->midi_led_lit[1 - which]);
        EXPECT_TRUE(timer->IsRunning() && timer->IsOneShot() && timer->GetInterval() == 30);
        EXPECT_TRUE(Shows(RenderView(), wxRect(r.x, r.y, r.w, r.h), yellow_led.ConvertToImage()));
        EXPECT_TRUE(ShowsPanel(RenderView(), wxRect(other.x, other.y, other.w, other.h)));
        ASSERT_TRUE(WaitFor([&] { return !pCVQ9View->midi_led_lit[which]; }));
        EXPECT_FALSE(timer->IsRunning());
        EXPECT_TRUE(ShowsPanel(RenderView(), wxRect(r.x, r.y, r.w, r.h)));
    }
    pCVQ9View->UpdateMidiLeds(true, 2);
    pCVQ9View->UpdateMidiLeds(true, -1);
    EXPECT_FALSE(pCVQ9View->midi_led_lit[0] || pCVQ9View->midi_in_led_timer->IsRunning());
    // Hardware below 2.0 has the infrared panel: the selection stays drawn and
    // the next start remembers it; without a settings store nothing is written.
    wxFileConfig *store = CVQ9_SOFT_config;
    for (float hw : {1.0f, 2.0f, 1.2f}) {
        CVQ9_SOFT_config = hw == 1.2f ? nullptr : store;
        hw_version_float = hw;
        pCVQ9View->DrawIndices({5, PANEL_ITEM_COUNT});  // no such control
        pCVQ9View->UpdateGuiFromHwVersion();
        const PanelForm form = hw < 2.0f ? PanelForm::Infrared : PanelForm::Ribbon;
        EXPECT_EQ(pCVQ9View->CurrentPanelForm(), form);
        EXPECT_EQ(store->Read("HardwareVersion", ""), hw == 1.0f ? "Infrared" : "Ribbon");
        const PanelRect five = PanelItemGeometry(5, form).rect;
        EXPECT_EQ(pCVQ9View->all[5].rect, wxRect(five.x, five.y, five.w, five.h));
        EXPECT_TRUE(ShowsGreen(RenderView(), 5) && pCVQ9View->DrawnIndices().size() == 1);
        EXPECT_TRUE(
            Shows(RenderView(), wxRect(0, 0, 700, 338), XpmToImage(FindXpmResource(PanelPictureName(form))), 10, 0));
    }
    CVQ9_SOFT_config = store;
}
