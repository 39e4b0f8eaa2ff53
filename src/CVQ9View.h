// The front-panel view: the picture of the controller's front panel, one
// graphical item per control (its rectangle and its pair of pictures), the
// selected controls drawn in green over the picture, and the two MIDI
// activity LEDs. Where each item lies comes from panel_geometry.
#ifndef CVQ9_VIEW_H
#define CVQ9_VIEW_H

#include <functional>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/event.h>
#include <wx/gdicmn.h>
#include <wx/list.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "panel_geometry.h"

// Timer identifiers of the two LEDs.
#define ID_MIDI_IN_LED_TIMER  1000010
#define ID_MIDI_OUT_LED_TIMER 1000011

// One control on the panel. The pictures belong to the view.
struct CVQ9GraphicalItem {
    CVQ9GraphicalItem() : pbitmapRed(nullptr), pbitmapGreen(nullptr), rect() {}

    wxBitmap *pbitmapRed;    // kept with the item; no view operation draws it
    wxBitmap *pbitmapGreen;  // drawn while the control is selected
    wxRect rect;             // place in view coordinates, and the mouse's hit area
};

// Typed linked list of pointers to items; it does not own them.
WX_DECLARE_LIST(CVQ9GraphicalItem, ArrayGraphicalItem);

class CVQ9View : public wxWindow
{
public:
    // Builds the whole view: pictures, items, timers, right-click menu. The
    // panel form comes from the setting "HardwareVersion"; the view sizes
    // itself to the panel picture, whatever size is passed.
    CVQ9View(wxWindow *parent, int x = 0, int y = 0, int width = 0, int height = 0, long style = 0);
    CVQ9View(wxWindow *parent, const wxPoint &position);
    ~CVQ9View() override;

    // Paint and erase-background handlers.
    void OnPaint(wxPaintEvent &event);
    void OnEraseBackground(wxEraseEvent &event);

    // Mouse: a left click selects (Ctrl adds or removes), a right click opens
    // the clipboard menu for the control under the pointer, every other mouse
    // event updates the hover text. All three ignore the mouse during a transfer.
    void OnMouseLButtonDown(wxMouseEvent &event);
    void OnMouseRButtonDown(wxMouseEvent &event);
    void OnMouseOver(wxMouseEvent &event);

    // Flashes one MIDI LED (which: 0 in, 1 out) for 30 ms; a flash while the LED
    // is lit moves its off time to 30 ms from now.
    void UpdateMidiLeds(bool on, int which);
    // The LED's one-shot timer ran out: the LED goes dark.
    void OnTimerMidiInLed(wxTimerEvent &event);
    void OnTimerMidiOutLed(wxTimerEvent &event);

    // Switches the panel to the form matching hw_version_float (infrared below
    // 2.0, ribbon from 2.0), writes "HardwareVersion" and redraws everything.
    void UpdateGuiFromHwVersion();

    // Adds the item to the drawn selection, or removes it if it is there.
    void ManageSelectedItem(CVQ9GraphicalItem *item);
    // Draws ControlIndex alone as selected (all_selected_ctrl is left as it is)
    // and redraws the whole view.
    void DisplaySelected();
    // The controls drawn as selected, by index in drawing order; and drawing
    // exactly these (the whole view is redrawn).
    std::vector<unsigned> DrawnIndices() const;
    void DrawIndices(const std::vector<unsigned> &indices);

    // The panel form in use.
    PanelForm CurrentPanelForm() const { return panel_form; }

    wxTimer *midi_in_led_timer;                // switches the MIDI-in LED off
    wxTimer *midi_out_led_timer;               // switches the MIDI-out LED off
    CVQ9GraphicalItem all[PANEL_ITEM_COUNT];   // item i belongs to control index i
    wxBitmap background;                       // the panel picture in use
    wxBitmap bitmaps[2 * PICTURE_KIND_COUNT];  // green then red of each picture kind, in table order
    ArrayGraphicalItem arrSelectedItems;       // items drawn as selected, in the order they were added

    // Lit state of the MIDI LEDs (0 in, 1 out). Both handlers draw a lit LED,
    // so switching one on or off is: set the flag, refresh its rectangle.
    bool midi_led_lit[MIDI_LED_COUNT];

    // Shows the right-click menu at a view point; when empty the menu pops up
    // with PopupMenu. Tests stand in here for the user choosing in the menu.
    std::function<void(wxMenu *menu, const wxPoint &at)> right_click_popup;

private:
    // The control indices under a view point, in index order.
    std::vector<unsigned> ItemsAt(const wxPoint &at) const;
    void SwitchLedOff(unsigned which);
    void Build();
    // Background picture, item 5's pictures and rectangle for a form.
    void ApplyPanelForm(PanelForm form);
    // The parts both handlers draw over the background.
    void DrawSelectedItems(wxDC &dc);
    void DrawLitLeds(wxDC &dc);

    PanelForm panel_form;
    wxColour uncovered_colour;  // fills the columns the shifted picture leaves bare

    wxDECLARE_EVENT_TABLE();
};

// The view, set at start-up.
extern CVQ9View *pCVQ9View;
// The lit LED picture ("led_yellow.bmp"), loaded by the view.
extern wxBitmap yellow_led;
// The view's right-click menu (Copy, Paste, Clear), created by the view.
extern wxMenu *pMenuRightClick;

#endif
