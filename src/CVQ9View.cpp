#include "CVQ9View.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/listimpl.cpp>
#include <wx/msgdlg.h>
#include <wx/tooltip.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "cvq9_pictures.h"
#include "cvq9_resources.h"
#include "edit_history.h"
#include "panel_selection.h"
#include "settings.h"

WX_DEFINE_LIST(ArrayGraphicalItem);

CVQ9View *pCVQ9View = nullptr;
wxBitmap yellow_led;
wxMenu *pMenuRightClick = nullptr;

wxBEGIN_EVENT_TABLE(CVQ9View, wxWindow)
    EVT_PAINT(CVQ9View::OnPaint)
    EVT_LEFT_DOWN(CVQ9View::OnMouseLButtonDown)
    EVT_RIGHT_DOWN(CVQ9View::OnMouseRButtonDown)
    EVT_ERASE_BACKGROUND(CVQ9View::OnEraseBackground)
    EVT_LEFT_UP(CVQ9View::OnMouseOver)
    EVT_MIDDLE_DOWN(CVQ9View::OnMouseOver)
    EVT_MIDDLE_UP(CVQ9View::OnMouseOver)
    EVT_RIGHT_UP(CVQ9View::OnMouseOver)
    EVT_MOTION(CVQ9View::OnMouseOver)
    EVT_LEFT_DCLICK(CVQ9View::OnMouseOver)
    EVT_MIDDLE_DCLICK(CVQ9View::OnMouseOver)
    EVT_RIGHT_DCLICK(CVQ9View::OnMouseOver)
    EVT_LEAVE_WINDOW(CVQ9View::OnMouseOver)
    EVT_ENTER_WINDOW(CVQ9View::OnMouseOver)
    EVT_MOUSEWHEEL(CVQ9View::OnMouseOver)
    EVT_TIMER(ID_MIDI_IN_LED_TIMER, CVQ9View::OnTimerMidiInLed)
    EVT_TIMER(ID_MIDI_OUT_LED_TIMER, CVQ9View::OnTimerMidiOutLed)
wxEND_EVENT_TABLE()

namespace {

// A built-in picture by name; the null bitmap for an unknown name.
wxBitmap PictureResource(const char *name)
{
    return BuiltInBitmap(name);
}

wxRect ToWxRect(const PanelRect &r)
{
    return wxRect(r.x, r.y, r.w, r.h);
}

// An LED stays lit this long after its last flash.
constexpr int kLedFlashMilliseconds = 30;

}  // namespace

CVQ9View::CVQ9View(wxWindow *parent, int x, int y, int width, int height, long style)
    : wxWindow(parent, wxID_ANY, wxPoint(x, y), wxSize(width, height), style, wxPanelNameStr),
      midi_in_led_timer(nullptr), midi_out_led_timer(nullptr), midi_led_lit{false, false}, panel_form(PanelForm::Ribbon)
{
    Build();
}

CVQ9View::CVQ9View(wxWindow *parent, const wxPoint &position) : CVQ9View(parent, position.x, position.y, 0, 0, 0) {}

void CVQ9View::Build()
{
    // The form the last identified controller had; "0" on a first run.
    const PanelForm form = PanelFormFromSetting(settings::HardwareVersion().ToStdWstring());

    yellow_led = PictureResource(MIDI_LED_PICTURE_NAME);

    midi_in_led_timer = new wxTimer(this, ID_MIDI_IN_LED_TIMER);
    midi_out_led_timer = new wxTimer(this, ID_MIDI_OUT_LED_TIMER);
    midi_in_led_timer->Stop();
    midi_out_led_timer->Stop();

    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        bitmaps[2 * k] = PictureResource(GreenPictureName(kind).c_str());
        bitmaps[2 * k + 1] = PictureResource(RedPictureName(kind).c_str());
    }
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        const PanelItem item = PanelItemGeometry(i, form);
        const unsigned k = static_cast<unsigned>(item.kind);
        all[i].pbitmapGreen = &bitmaps[2 * k];
        all[i].pbitmapRed = &bitmaps[2 * k + 1];
        all[i].rect = ToWxRect(item.rect);
    }
    ApplyPanelForm(form);

    SetSize(background.IsOk() ? background.GetWidth() : PANEL_PICTURE_WIDTH,
            background.IsOk() ? background.GetHeight() : PANEL_PICTURE_HEIGHT);

    pMenuRightClick = new wxMenu;
    pMenuRightClick->Append(ID_CVQ9_COPY, "&Copy", "Copy");
    pMenuRightClick->Append(ID_CVQ9_PASTE, "&Paste", "Paste");
    pMenuRightClick->Append(ID_CVQ9_CLEAR, "&Clear", "Clear");
    pMenuRightClick->Enable(ID_CVQ9_COPY, false);
    pMenuRightClick->Enable(ID_CVQ9_PASTE, false);
    pMenuRightClick->Enable(ID_CVQ9_CLEAR, false);
}

CVQ9View::~CVQ9View()
{
    arrSelectedItems.Clear();
    if (midi_in_led_timer)
        midi_in_led_timer->Stop();
    if (midi_out_led_timer)
        midi_out_led_timer->Stop();
    delete midi_in_led_timer;
    delete midi_out_led_timer;
    delete pMenuRightClick;
    pMenuRightClick = nullptr;
    // The LED picture is process-wide but loaded here: release it with the view,
    // while the toolkit is still up.
    yellow_led = wxNullBitmap;
    if (pCVQ9View == this)
        pCVQ9View = nullptr;
}

void CVQ9View::ApplyPanelForm(PanelForm form)
{
    panel_form = form;
    // The image is kept only for the corner colour below: reading it back from
    // the bitmap would convert the whole picture once more.
    const wxImage picture = XpmToImage(FindXpmResource(PanelPictureName(form)));
    background = picture.IsOk() ? wxBitmap(picture) : wxNullBitmap;
    const PanelItem item5 = PanelItemGeometry(5, form);
    const unsigned k = static_cast<unsigned>(item5.kind);
    all[5].pbitmapGreen = &bitmaps[2 * k];
    all[5].pbitmapRed = &bitmaps[2 * k + 1];
    all[5].rect = ToWxRect(item5.rect);
    // The picture's top-right corner is the frame around the panel: the view's
    // rightmost columns, which the shifted picture leaves bare, get that colour.
    uncovered_colour = *wxBLACK;
    if (picture.IsOk()) {
        const int x = picture.GetWidth() - 1;
        uncovered_colour = wxColour(picture.GetRed(x, 0), picture.GetGreen(x, 0), picture.GetBlue(x, 0));
    }
}

void CVQ9View::UpdateGuiFromHwVersion()
{
    const PanelForm form = PanelFormFromHwVersion(hw_version_float);
    ApplyPanelForm(form);
    settings::SetHardwareVersion(wxString(PanelFormSettingText(form)));
    Refresh(true);
}

void CVQ9View::ManageSelectedItem(CVQ9GraphicalItem *item)
{
    if (!item)
        return;
    if (arrSelectedItems.Find(item)) {
        arrSelectedItems.DeleteObject(item);
    } else {
        arrSelectedItems.Append(item);
    }
}

void CVQ9View::DisplaySelected()
{
    DrawIndices({ControlIndex});
}

std::vector<unsigned> CVQ9View::DrawnIndices() const
{
    std::vector<unsigned> indices;
    for (ArrayGraphicalItem::compatibility_iterator node = arrSelectedItems.GetFirst(); node; node = node->GetNext()) {
        indices.push_back(static_cast<unsigned>(node->GetData() - all));
    }
    return indices;
}

void CVQ9View::DrawIndices(const std::vector<unsigned> &indices)
{
    arrSelectedItems.Clear();
    for (unsigned index : indices) {
        if (index < PANEL_ITEM_COUNT)
            arrSelectedItems.Append(&all[index]);
    }
    Refresh(true);
}

void CVQ9View::DrawSelectedItems(wxDC &dc)
{
    for (ArrayGraphicalItem::compatibility_iterator node = arrSelectedItems.GetFirst(); node; node = node->GetNext()) {
        const CVQ9GraphicalItem *item = node->GetData();
        dc.DestroyClippingRegion();
        dc.SetClippingRegion(item->rect);
        if (item->pbitmapGreen && item->pbitmapGreen->IsOk()) {
            dc.DrawBitmap(*item->pbitmapGreen, item->rect.GetX(), item->rect.GetY(), false);
        }
    }
    dc.DestroyClippingRegion();
}

void CVQ9View::DrawLitLeds(wxDC &dc)
{
    if (!yellow_led.IsOk())
        return;
    for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
        if (!midi_led_lit[which])
            continue;
        const PanelRect led = MidiLedRect(which);
        dc.DrawBitmap(yellow_led, led.x, led.y, false);
    }
}

void CVQ9View::OnEraseBackground(wxEraseEvent &event)
{
    // The toolkit hands the erase event a context for the area being redrawn.
    wxDC *dc = event.GetDC();
    if (!dc)
        return;
    if (background.IsOk()) {
        dc->DrawBitmap(background, PANEL_PICTURE_VIEW_X, PANEL_PICTURE_VIEW_Y, false);
        const int bare_x = PANEL_PICTURE_VIEW_X + background.GetWidth();
        const wxSize size = GetClientSize();
        if (bare_x < size.GetWidth()) {
            dc->SetPen(*wxTRANSPARENT_PEN);
            dc->SetBrush(wxBrush(uncovered_colour));
            dc->DrawRectangle(bare_x, 0, size.GetWidth() - bare_x, size.GetHeight());
            dc->SetBrush(wxNullBrush);
            dc->SetPen(wxNullPen);
        }
    }
    DrawSelectedItems(*dc);
    DrawLitLeds(*dc);
}

void CVQ9View::OnPaint(wxPaintEvent &)
{
    wxPaintDC dc(this);
    PrepareDC(dc);
    DrawSelectedItems(dc);
    DrawLitLeds(dc);
}

std::vector<unsigned> CVQ9View::ItemsAt(const wxPoint &at) const
{
    std::vector<unsigned> hits;
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        if (all[i].rect.Contains(at))
            hits.push_back(i);
    }
    return hits;
}

void CVQ9View::OnMouseLButtonDown(wxMouseEvent &event)
{
    if (programming)
        return;
    const std::vector<unsigned> hits = ItemsAt(event.GetPosition());

    PanelSelection selection;
    selection.selected = all_selected_ctrl;
    selection.control_index = ControlIndex;
    selection.drawn = DrawnIndices();

    const LeftClickOutcome outcome = ApplyLeftClick(selection, hits, event.ControlDown(), CurrentGroup);

    // Controls processed before a refusal keep their effect, as one control
    // after the other would have.
    if (outcome.hit) {
        // Typing after another selection is a step of its own.
        EditHistory().CloseMerging();
        all_selected_ctrl = selection.selected;
        ControlIndex = selection.control_index;
        arrSelectedItems.Clear();
        for (unsigned index : selection.drawn)
            arrSelectedItems.Append(&all[index]);
    }
    for (unsigned shown : outcome.control_index_steps) {
        if (m_pGroupCombo)
            m_pGroupCombo->Enable(!IsTransportIndex(shown));
        settings::SetControlIndex(shown);
        if (pui) {
            pui->ResetStdTemplate();
            pui->UpdateWholeParamWindows();
        }
    }
    if (outcome.transport_refused) {
        wxMessageDialog(this, "Select Group 0 to assign Transport Buttons", "Info", wxOK | wxCENTRE).ShowModal();
        return;
    }
    if (outcome.hit)
        Refresh(true);
}

void CVQ9View::OnMouseRButtonDown(wxMouseEvent &event)
{
    if (programming)
        return;
    const wxPoint at = event.GetPosition();
    // The chosen command runs on ControlIndex; its events travel up to the
    // main frame, which handles the clipboard. Afterwards the control the
    // tabs show is the selection's again, so that the next edit reaches what
    // the user sees.
    const unsigned shown = ControlIndex;
    bool addressed = false;
    for (unsigned index : ItemsAt(at)) {
        if (RightClickFor(index, CurrentGroup) == RightClickStep::Refuse) {
            wxMessageDialog(this, "Select Group 0 to manage Transport Buttons", "Info", wxOK | wxCENTRE).ShowModal();
            break;
        }
        ControlIndex = index;
        addressed = true;
        if (!pMenuRightClick)
            continue;
        if (right_click_popup)
            right_click_popup(pMenuRightClick, at);
        else
            PopupMenu(pMenuRightClick, at);
    }
    if (!addressed)
        return;
    ControlIndex = shown;
    if (pui)
        pui->UpdateWholeParamWindows();
}

void CVQ9View::OnMouseOver(wxMouseEvent &event)
{
    if (programming)
        return;
    std::vector<HoverItem> hovered;
    // The transport buttons have no hover text.
    for (unsigned index : ItemsAt(event.GetPosition())) {
        if (IsTransportIndex(index))
            continue;
        HoverItem item;
        item.check_code = CheckMidiStruct(&mycontrol[CurrentGroup][index], static_cast<uint8_t>(index));
        item.lcd = mylcdstring[CurrentGroup][index];
        hovered.push_back(item);
    }
    const std::optional<std::wstring> tooltip = HoverTooltip(hovered);
    // Texts are one character per device byte: the wide characters go over as they are.
    if (tooltip)
        SetToolTip(wxString(*tooltip));
}

void CVQ9View::UpdateMidiLeds(bool on, int which)
{
    if (which < 0 || which >= static_cast<int>(MIDI_LED_COUNT))
        return;
    wxTimer *timer = which == 0 ? midi_in_led_timer : midi_out_led_timer;
    if (!timer)
        return;
    if (timer->IsRunning()) {
        timer->Start(kLedFlashMilliseconds, wxTIMER_ONE_SHOT);
    } else if (on) {
        // The paint handlers draw a lit LED; only its rectangle is redrawn.
        midi_led_lit[which] = true;
        RefreshRect(ToWxRect(MidiLedRect(static_cast<unsigned>(which))), false);
        timer->Start(kLedFlashMilliseconds, wxTIMER_ONE_SHOT);
    }
}

void CVQ9View::SwitchLedOff(unsigned which)
{
    midi_led_lit[which] = false;
    // Erasing draws the panel picture there again.
    RefreshRect(ToWxRect(MidiLedRect(which)), true);
}

void CVQ9View::OnTimerMidiInLed(wxTimerEvent &)
{
    SwitchLedOff(0);
}

void CVQ9View::OnTimerMidiOutLed(wxTimerEvent &)
{
    SwitchLedOff(1);
}
