#include "panel_art.h"

#include <cmath>
#include <cstring>
#include <memory>

#include <wx/brush.h>
#include <wx/font.h>
#include <wx/graphics.h>

#include "xpm_writer.h"

namespace {

// ---------------------------------------------------------------------------
// Colours

const wxColour kFrame(21, 22, 25);      // around the panel
const wxColour kFace(50, 53, 58);       // the panel face: flat, so sprites fit anywhere
const wxColour kFaceLight(78, 82, 89);  // bevel and groove highlights
const wxColour kFaceDark(30, 32, 35);   // grooves and shadows
const wxColour kLegend(214, 217, 222);  // printed legends
const wxColour kLegendDim(168, 173, 181);
const wxColour kShiftLegend(235, 160, 50);
const wxColour kRecRed(225, 55, 45);

// The three shades of a control's lit colour.
struct Tint {
    wxColour light;
    wxColour mid;
    wxColour dark;
};
const Tint kGreen{wxColour(170, 255, 160), wxColour(52, 210, 70), wxColour(14, 105, 28)};
const Tint kRed{wxColour(255, 165, 150), wxColour(226, 52, 40), wxColour(115, 18, 12)};

const Tint *TintOf(Look look)
{
    switch (look) {
    case Look::Green:
        return &kGreen;
    case Look::Red:
        return &kRed;
    case Look::Normal:
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Small drawing helpers over the graphics context

using Gc = wxGraphicsContext;

void NoPen(Gc &gc)
{
    gc.SetPen(*wxTRANSPARENT_PEN);
}
void NoBrush(Gc &gc)
{
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
}
void Pen(Gc &gc, const wxColour &c, double width)
{
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(c).Width(width)));
}
void Brush(Gc &gc, const wxColour &c)
{
    gc.SetBrush(wxBrush(c));
}

void FillCircle(Gc &gc, double cx, double cy, double r, const wxColour &c)
{
    NoPen(gc);
    Brush(gc, c);
    gc.DrawEllipse(cx - r, cy - r, 2 * r, 2 * r);
}

void StrokeCircle(Gc &gc, double cx, double cy, double r, const wxColour &c, double width)
{
    Pen(gc, c, width);
    NoBrush(gc);
    gc.DrawEllipse(cx - r, cy - r, 2 * r, 2 * r);
}

void GradientCircle(Gc &gc, double cx, double cy, double r, const wxColour &inner, const wxColour &outer)
{
    NoPen(gc);
    gc.SetBrush(gc.CreateRadialGradientBrush(cx - r * 0.35, cy - r * 0.45, cx, cy, r * 1.15, inner, outer));
    gc.DrawEllipse(cx - r, cy - r, 2 * r, 2 * r);
}

void FillRoundRect(Gc &gc, double x, double y, double w, double h, double r, const wxColour &c)
{
    NoPen(gc);
    Brush(gc, c);
    gc.DrawRoundedRectangle(x, y, w, h, r);
}

void VerticalGradientRoundRect(Gc &gc, double x, double y, double w, double h, double r, const wxColour &top,
                               const wxColour &bottom)
{
    NoPen(gc);
    gc.SetBrush(gc.CreateLinearGradientBrush(x, y, x, y + h, top, bottom));
    gc.DrawRoundedRectangle(x, y, w, h, r);
}

void Line(Gc &gc, double x1, double y1, double x2, double y2, const wxColour &c, double width)
{
    Pen(gc, c, width);
    gc.StrokeLine(x1, y1, x2, y2);
}

void Triangle(Gc &gc, double x1, double y1, double x2, double y2, double x3, double y3, const wxColour &c)
{
    wxGraphicsPath path = gc.CreatePath();
    path.MoveToPoint(x1, y1);
    path.AddLineToPoint(x2, y2);
    path.AddLineToPoint(x3, y3);
    path.CloseSubpath();
    NoPen(gc);
    Brush(gc, c);
    gc.FillPath(path);
}

wxFont LegendFont(int pixel_height, bool bold)
{
    return wxFont(wxSize(0, pixel_height), wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL,
                  bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL, false, "DejaVu Sans");
}

wxFont CondensedFont(int pixel_height, bool bold)
{
    return wxFont(wxSize(0, pixel_height), wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL,
                  bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL, false, "DejaVu Sans Condensed");
}

enum class Align { Left, Centre, Right };

// Draws `text` with its horizontal anchor at x (by `align`) and its vertical centre at cy.
void Text(Gc &gc, const wxString &text, double x, double cy, const wxFont &font, const wxColour &colour,
          Align align = Align::Centre)
{
    gc.SetFont(font, colour);
    double w = 0, h = 0, descent = 0, leading = 0;
    gc.GetTextExtent(text, &w, &h, &descent, &leading);
    double left = x;
    if (align == Align::Centre)
        left = x - w / 2;
    if (align == Align::Right)
        left = x - w;
    gc.DrawText(text, std::round(left), std::round(cy - h / 2));
}

// ---------------------------------------------------------------------------
// Controls. Each takes the top-left corner of its item in picture coordinates.

void DrawKnob(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    const double cx = x + 17, cy = y + 16.5;
    // Scale: 11 dots over 270 degrees.
    for (int i = 0; i <= 10; ++i) {
        const double a = (-225.0 + 27.0 * i) * M_PI / 180.0;
        const double r = (i == 0 || i == 10 || i == 5) ? 1.1 : 0.8;
        FillCircle(gc, cx + 15.0 * std::cos(a), cy + 15.0 * std::sin(a), r, tint ? tint->light : kLegendDim);
    }
    // Skirt, then the cap with a soft top-left light.
    FillCircle(gc, cx, cy + 0.6, 12.6, kFaceDark);
    FillCircle(gc, cx, cy, 12.2, tint ? tint->dark : wxColour(20, 21, 24));
    if (tint)
        StrokeCircle(gc, cx, cy, 11.6, tint->mid, 1.6);
    GradientCircle(gc, cx, cy, 9.4, tint ? tint->light : wxColour(122, 127, 135),
                   tint ? tint->mid : wxColour(46, 49, 54));
    StrokeCircle(gc, cx, cy, 9.4, tint ? tint->dark : wxColour(16, 17, 19), 0.8);
    // Pointer at twelve o'clock.
    Line(gc, cx, cy - 3.0, cx, cy - 11.2, tint ? wxColour(255, 255, 255) : wxColour(238, 238, 238), 2.0);
}

void DrawEncoder(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    const double cx = x + 13, cy = y + 12.5;
    FillCircle(gc, cx, cy + 0.5, 12.2, kFaceDark);
    FillCircle(gc, cx, cy, 11.8, tint ? tint->dark : wxColour(24, 25, 28));
    // Knurled rim: an endless knob has no scale, only grip ridges.
    for (int i = 0; i < 24; ++i) {
        const double a = i * M_PI / 12.0;
        Line(gc, cx + 9.2 * std::cos(a), cy + 9.2 * std::sin(a), cx + 11.6 * std::cos(a), cy + 11.6 * std::sin(a),
             tint ? tint->mid : wxColour(92, 96, 103), 1.0);
    }
    GradientCircle(gc, cx, cy, 8.4, tint ? tint->light : wxColour(175, 179, 186),
                   tint ? tint->mid : wxColour(82, 86, 93));
    StrokeCircle(gc, cx, cy, 8.4, tint ? tint->dark : wxColour(30, 31, 34), 0.8);
    // Finger dimple.
    GradientCircle(gc, cx + 3.2, cy - 3.2, 2.0, tint ? tint->dark : wxColour(60, 63, 68),
                   tint ? tint->mid : wxColour(130, 134, 140));
}

void DrawSlider(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    const double cx = x + 10.5;
    // Scale ticks either side of the slot.
    for (int i = 0; i <= 8; ++i) {
        const double ty = y + 4.5 + i * 4.6;
        const double len = (i % 4 == 0) ? 3.0 : 2.0;
        Line(gc, x + 4.5 - len, ty, x + 4.5, ty, tint ? tint->light : kLegendDim, 0.8);
        Line(gc, x + 16.5, ty, x + 16.5 + len, ty, tint ? tint->light : kLegendDim, 0.8);
    }
    // Slot.
    FillRoundRect(gc, cx - 2, y + 2, 4, 42, 2, tint ? tint->dark : wxColour(10, 10, 12));
    if (tint) {
        Pen(gc, tint->mid, 1.0);
        NoBrush(gc);
        gc.DrawRoundedRectangle(cx - 2.5, y + 1.5, 5, 43, 2.5);
    }
    // Cap in the lower third, with its grip lines and centre mark.
    const double capy = y + 27;
    FillRoundRect(gc, x + 2, capy + 1, 17, 11, 2, wxColour(12, 12, 14));
    VerticalGradientRoundRect(gc, x + 2, capy, 17, 11, 2, tint ? tint->light : wxColour(168, 172, 179),
                              tint ? tint->dark : wxColour(62, 65, 71));
    Line(gc, x + 4, capy + 2.5, x + 17, capy + 2.5, tint ? tint->light : wxColour(200, 203, 208), 0.8);
    Line(gc, x + 3, capy + 5.5, x + 18, capy + 5.5, wxColour(250, 250, 250), 1.2);
    Line(gc, x + 4, capy + 8.5, x + 17, capy + 8.5, tint ? tint->dark : wxColour(45, 47, 51), 0.8);
}

void DrawButton(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    FillRoundRect(gc, x + 0.5, y + 1.0, 21, 12, 3, wxColour(14, 14, 16));
    VerticalGradientRoundRect(gc, x + 1, y + 0.5, 20, 11, 2.5, tint ? tint->light : wxColour(204, 207, 212),
                              tint ? tint->mid : wxColour(126, 130, 137));
    Pen(gc, tint ? tint->dark : wxColour(40, 42, 46), 0.8);
    NoBrush(gc);
    gc.DrawRoundedRectangle(x + 1, y + 0.5, 20, 11, 2.5);
    Line(gc, x + 3.5, y + 2.2, x + 18.5, y + 2.2, wxColour(255, 255, 255, 150), 0.8);
}

// The crossfader spans both of its items (left 487, right 521 in the view); each half lights on its own.
void DrawCrossfader(Gc &gc, double left_x, double y, Look left_look, Look right_look)
{
    const double split = left_x + 34;  // the boundary between the two items
    const double cy = y + 13;
    for (int side = 0; side < 2; ++side) {
        const Tint *tint = TintOf(side == 0 ? left_look : right_look);
        const double x0 = side == 0 ? left_x : split;
        const double x1 = side == 0 ? split : split + 36;
        gc.Clip(x0, y, x1 - x0, 26);
        // Ticks above and below the slot.
        for (int i = 0; i <= 12; ++i) {
            const double tx = left_x + 5 + i * 5.0;
            const double len = (i % 6 == 0) ? 4.0 : 2.5;
            Line(gc, tx, y + 5 - len, tx, y + 5, tint ? tint->light : kLegendDim, 0.8);
            Line(gc, tx, y + 21, tx, y + 21 + len, tint ? tint->light : kLegendDim, 0.8);
        }
        FillRoundRect(gc, left_x + 3, cy - 2, 64, 4, 2, tint ? tint->dark : wxColour(10, 10, 12));
        if (tint) {
            Pen(gc, tint->mid, 1.0);
            NoBrush(gc);
            gc.DrawRoundedRectangle(left_x + 2.5, cy - 2.5, 65, 5, 2.5);
        }
        // The cap sits in the middle, half on each item.
        FillRoundRect(gc, split - 7, y + 3, 14, 21, 2, wxColour(12, 12, 14));
        NoPen(gc);
        gc.SetBrush(gc.CreateLinearGradientBrush(split - 7, y, split + 7, y,
                                                 tint ? tint->light : wxColour(168, 172, 179),
                                                 tint ? tint->dark : wxColour(62, 65, 71)));
        gc.DrawRoundedRectangle(split - 7, y + 2, 14, 21, 2);
        Line(gc, split, y + 4, split, y + 21, wxColour(250, 250, 250), 1.2);
        gc.ResetClip();
    }
}

// The joystick: three overlapping items (Y above, X lower right, button lower left).
void DrawJoystick(Gc &gc, Look x_look, Look y_look, Look button_look)
{
    // Picture coordinates of the items.
    const PanelRect xr = ViewToPictureRect(PanelItemGeometry(6, PanelForm::Ribbon).rect);
    const PanelRect yr = ViewToPictureRect(PanelItemGeometry(7, PanelForm::Ribbon).rect);
    const PanelRect br = ViewToPictureRect(PanelItemGeometry(55, PanelForm::Ribbon).rect);
    const Tint *xt = TintOf(x_look);
    const Tint *yt = TintOf(y_look);
    const Tint *bt = TintOf(button_look);
    const double cx = yr.x + 16.0, cy = yr.y + yr.h + 0.5;  // stick centre, on the Y/X boundary

    // Base: a round boot with a ring; each axis lights its own part of the ring.
    FillCircle(gc, cx, cy + 0.8, 17.5, kFaceDark);
    GradientCircle(gc, cx, cy, 17.0, wxColour(70, 74, 80), wxColour(22, 23, 26));
    if (yt) {
        gc.Clip(yr.x, yr.y, yr.w, yr.h);
        StrokeCircle(gc, cx, cy, 15.8, yt->mid, 2.4);
        gc.ResetClip();
    }
    if (xt) {
        gc.Clip(xr.x, xr.y, xr.w, xr.h);
        StrokeCircle(gc, cx, cy, 15.8, xt->mid, 2.4);
        gc.ResetClip();
    }
    StrokeCircle(gc, cx, cy, 13.0, wxColour(16, 17, 19), 1.0);

    // Axis arrows: Y up at the top, X to the right.
    const wxColour yc = yt ? yt->light : kLegend;
    const wxColour xc = xt ? xt->light : kLegend;
    Triangle(gc, cx, yr.y + 0.5, cx - 3.5, yr.y + 5.5, cx + 3.5, yr.y + 5.5, yc);
    Triangle(gc, xr.x + xr.w - 0.5, cy + 5, xr.x + xr.w - 5.5, cy + 1.5, xr.x + xr.w - 5.5, cy + 8.5, xc);

    // The stick, seen from above: a glossy ball.
    GradientCircle(gc, cx, cy, 8.0, yt ? yt->light : (xt ? xt->light : wxColour(150, 154, 160)),
                   yt ? yt->dark : (xt ? xt->dark : wxColour(14, 15, 17)));
    StrokeCircle(gc, cx, cy, 8.0, wxColour(8, 8, 9), 0.8);

    // The push button at the stick's lower left.
    const double bx = br.x + 7.5, by = br.y + br.h - 7.5;
    FillCircle(gc, bx, by + 0.6, 6.2, wxColour(10, 10, 12));
    GradientCircle(gc, bx, by, 5.6, bt ? bt->light : wxColour(240, 120, 100), bt ? bt->dark : wxColour(140, 30, 22));
    if (bt)
        StrokeCircle(gc, bx, by, 6.6, bt->mid, 1.4);
}

void DrawFootswitch(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    // A jack socket on the top edge: metal rim, dark slot.
    VerticalGradientRoundRect(gc, x + 0.5, y + 0.5, 58, 7, 3, tint ? tint->light : wxColour(170, 174, 180),
                              tint ? tint->dark : wxColour(70, 73, 79));
    FillRoundRect(gc, x + 5, y + 2.5, 49, 3, 1.5, wxColour(6, 6, 7));
    FillCircle(gc, x + 29.5, y + 4, 2.6, wxColour(6, 6, 7));
}

void DrawInfrared(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    FillRoundRect(gc, x, y, 53, 20, 4, tint ? tint->mid : wxColour(12, 12, 14));
    NoPen(gc);
    gc.SetBrush(gc.CreateLinearGradientBrush(x, y, x, y + 20, wxColour(110, 22, 30), wxColour(38, 6, 10)));
    gc.DrawRoundedRectangle(x + 2, y + 2, 49, 16, 3);
    // Emitter and receiver eyes behind the dark red glass.
    for (double ex : {x + 17.0, x + 36.0}) {
        GradientCircle(gc, ex, y + 10, 4.2, tint ? tint->light : wxColour(200, 70, 80), wxColour(30, 4, 8));
    }
    Line(gc, x + 5, y + 4.5, x + 48, y + 4.5, wxColour(255, 255, 255, 60), 1.0);
}

void DrawRibbon(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    for (int i = 0; i <= 10; ++i) {
        const double ty = y + 6.5 + i * 10.0;
        Line(gc, x + 0.5, ty, x + 3.0, ty, tint ? tint->light : kLegendDim, 0.8);
        Line(gc, x + 24.0, ty, x + 26.5, ty, tint ? tint->light : kLegendDim, 0.8);
    }
    FillRoundRect(gc, x + 4, y + 1, 19, 111, 3, tint ? tint->mid : wxColour(12, 12, 14));
    NoPen(gc);
    wxGraphicsGradientStops stops(tint ? tint->dark : wxColour(26, 27, 30), tint ? tint->dark : wxColour(26, 27, 30));
    stops.Add(tint ? tint->light : wxColour(86, 90, 97), 0.45f);
    gc.SetBrush(gc.CreateLinearGradientBrush(x + 5.5, y, x + 21.5, y, stops));
    gc.DrawRoundedRectangle(x + 5.5, y + 2.5, 16, 108, 2);
}

void DrawLfo(Gc &gc, double x, double y, Look look)
{
    const Tint *tint = TintOf(look);
    const wxColour line = tint ? tint->mid : wxColour(112, 117, 125);
    // The section's frame and title.
    Pen(gc, line, tint ? 2.0 : 1.0);
    NoBrush(gc);
    gc.DrawRoundedRectangle(x + 1, y + 1, 140, 36, 4);
    FillRoundRect(gc, x + 6, y + 4, 26, 11, 2, tint ? tint->mid : wxColour(80, 84, 91));
    Text(gc, "LFO", x + 19, y + 9.5, LegendFont(9, true), tint ? wxColour(10, 40, 10) : kLegend);
    // Rate knob.
    const double kx = x + 19, ky = y + 25.5;
    FillCircle(gc, kx, ky, 7.8, wxColour(20, 21, 24));
    GradientCircle(gc, kx, ky, 6.0, tint ? tint->light : wxColour(122, 127, 135),
                   tint ? tint->mid : wxColour(46, 49, 54));
    Line(gc, kx, ky - 1.5, kx - 4.5, ky - 5.5, wxColour(240, 240, 240), 1.4);
    // Four wave shapes, each over its LED.
    const wxColour wave = tint ? tint->light : kLegend;
    Pen(gc, wave, 1.3);
    NoBrush(gc);
    const double top = y + 9, bottom = y + 19, mid = y + 14;
    double wx = x + 42;
    {  // sine
        wxGraphicsPath p = gc.CreatePath();
        for (int i = 0; i <= 20; ++i) {
            const double px = wx + i;
            const double py = mid - 5.0 * std::sin(i * M_PI / 10.0);
            if (i == 0)
                p.MoveToPoint(px, py);
            else
                p.AddLineToPoint(px, py);
        }
        gc.StrokePath(p);
    }
    wx += 24;
    {  // triangle
        wxGraphicsPath p = gc.CreatePath();
        p.MoveToPoint(wx, mid);
        p.AddLineToPoint(wx + 5, top);
        p.AddLineToPoint(wx + 15, bottom);
        p.AddLineToPoint(wx + 20, mid);
        gc.StrokePath(p);
    }
    wx += 24;
    {  // square
        wxGraphicsPath p = gc.CreatePath();
        p.MoveToPoint(wx, bottom);
        p.AddLineToPoint(wx, top);
        p.AddLineToPoint(wx + 10, top);
        p.AddLineToPoint(wx + 10, bottom);
        p.AddLineToPoint(wx + 20, bottom);
        p.AddLineToPoint(wx + 20, top);
        gc.StrokePath(p);
    }
    wx += 24;
    {  // saw
        wxGraphicsPath p = gc.CreatePath();
        p.MoveToPoint(wx, bottom);
        p.AddLineToPoint(wx + 10, top);
        p.AddLineToPoint(wx + 10, bottom);
        p.AddLineToPoint(wx + 20, top);
        p.AddLineToPoint(wx + 20, bottom);
        gc.StrokePath(p);
    }
    for (int i = 0; i < 4; ++i) {
        const double lx = x + 52 + 24 * i;
        FillRoundRect(gc, lx - 3, y + 26, 6, 4, 1.5, tint ? tint->light : wxColour(70, 20, 18));
    }
}

// A MIDI LED, dark or lit, in its 12 x 7 rectangle.
void DrawLed(Gc &gc, double x, double y, bool lit)
{
    FillRoundRect(gc, x, y, 12, 7, 2.5, wxColour(12, 12, 13));
    if (lit) {
        VerticalGradientRoundRect(gc, x + 1, y + 1, 10, 5, 2, wxColour(255, 250, 190), wxColour(250, 200, 20));
    } else {
        VerticalGradientRoundRect(gc, x + 1, y + 1, 10, 5, 2, wxColour(110, 100, 50), wxColour(58, 52, 22));
    }
}

// ---------------------------------------------------------------------------
// The panel: face, legends, then every control.

PanelRect PictureRect(unsigned index, PanelForm form)
{
    return ViewToPictureRect(PanelItemGeometry(index, form).rect);
}

double CentreX(const PanelRect &r)
{
    return r.x + r.w / 2.0;
}
double CentreY(const PanelRect &r)
{
    return r.y + r.h / 2.0;
}

// Transport symbols, drawn centred at (cx, cy).
enum class Symbol { Backward, Forward, Stop, Play, Rec };

void DrawSymbol(Gc &gc, Symbol symbol, double cx, double cy, const wxColour &c)
{
    switch (symbol) {
    case Symbol::Backward:
        Triangle(gc, cx - 6, cy, cx, cy - 3.5, cx, cy + 3.5, c);
        Triangle(gc, cx, cy, cx + 6, cy - 3.5, cx + 6, cy + 3.5, c);
        break;
    case Symbol::Forward:
        Triangle(gc, cx + 6, cy, cx, cy - 3.5, cx, cy + 3.5, c);
        Triangle(gc, cx, cy, cx - 6, cy - 3.5, cx - 6, cy + 3.5, c);
        break;
    case Symbol::Stop:
        NoPen(gc);
        Brush(gc, c);
        gc.DrawRectangle(cx - 3.5, cy - 3.5, 7, 7);
        break;
    case Symbol::Play:
        Triangle(gc, cx + 4.5, cy, cx - 3.5, cy - 4, cx - 3.5, cy + 4, c);
        break;
    case Symbol::Rec:
        FillCircle(gc, cx, cy, 3.8, c);
        break;
    }
}

void DrawFaceAndLegends(Gc &gc, PanelForm form)
{
    // Background and the panel body with a bevelled edge.
    NoPen(gc);
    Brush(gc, kFrame);
    gc.DrawRectangle(0, 0, PANEL_PICTURE_WIDTH, PANEL_PICTURE_HEIGHT);
    FillRoundRect(gc, 11, 0, 787, 338, 9, kFaceLight);
    FillRoundRect(gc, 12, 1.5, 786, 336.5, 8, kFaceDark);
    FillRoundRect(gc, 12, 1.5, 785, 335, 8, kFace);

    const wxFont small = CondensedFont(7, true);
    const wxFont legend = CondensedFont(8, true);

    // Section grooves: the knob and slider field on the left, the right-hand
    // field split into display/transport above and buttons/crossfader below.
    Line(gc, 467, 10, 467, 328, kFaceDark, 1.0);
    Line(gc, 468, 10, 468, 328, kFaceLight, 1.0);
    Line(gc, 469, 246, 788, 246, kFaceDark, 1.0);
    Line(gc, 469, 247, 788, 247, kFaceLight, 1.0);

    // Knob field: column numbers above, row letters at the left.
    for (unsigned col = 0; col < 8; ++col) {
        const PanelRect r = PictureRect(8 + col, form);
        Text(gc, wxString::Format("%u", col + 1), CentreX(r), 12, legend, kLegendDim);
    }
    const char *const rows[] = {"A", "B", "C", "D"};
    for (unsigned row = 0; row < 4; ++row) {
        const PanelRect r = PictureRect(8 + 8 * row, form);
        Text(gc, rows[row], 34, CentreY(r), legend, kLegendDim);
    }

    // Scribble strip across the eight channels, then the slider numbers.
    {
        const PanelRect first = PictureRect(8, form), last = PictureRect(15, form);
        const double x0 = first.x - 4, x1 = last.x + last.w + 4;
        FillRoundRect(gc, x0, 199, x1 - x0, 26, 3, wxColour(28, 30, 33));
        FillRoundRect(gc, x0 + 1, 200, x1 - x0 - 2, 24, 2.5, wxColour(176, 174, 166));
        for (unsigned col = 1; col < 8; ++col) {
            const double sx = (PictureRect(8 + col - 1, form).x + 34 + PictureRect(8 + col, form).x) / 2.0;
            Line(gc, sx, 203, sx, 221, wxColour(136, 134, 127), 1.0);
        }
    }
    Text(gc, L"32 KNOBS  \u00B7  8 SLIDERS  \u00B7  21 GROUPS", 240, 242, CondensedFont(10, true), kLegendDim);
    for (unsigned col = 0; col < 8; ++col) {
        const PanelRect r = PictureRect(40 + col, form);
        Text(gc, wxString::Format("%u", col + 1), CentreX(r), 275, legend, kLegendDim);
    }

    // Foot-switch socket legend.
    {
        const PanelRect fs = PictureRect(56, form);
        Text(gc, "FOOT SW", fs.x + fs.w + 6, CentreY(fs) + 1, small, kLegendDim, Align::Left);
    }

    // LCD display above the encoder.
    {
        const PanelRect enc = PictureRect(57, form);
        const double cx = CentreX(enc);
        const double x0 = cx - 68, y0 = 17, w = 136, h = 46;
        FillRoundRect(gc, x0 - 1, y0 - 1, w + 2, h + 2, 4, kFaceLight);
        FillRoundRect(gc, x0, y0, w, h, 4, wxColour(14, 15, 17));
        NoPen(gc);
        gc.SetBrush(
            gc.CreateLinearGradientBrush(x0, y0 + 5, x0, y0 + h - 5, wxColour(178, 210, 74), wxColour(132, 170, 44)));
        gc.DrawRoundedRectangle(x0 + 5, y0 + 6, w - 10, h - 12, 2);
        const wxFont lcd(wxSize(0, 11), wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false,
                         "DejaVu Sans Mono");
        Text(gc, "G01 CORVANA Q9", x0 + 10, y0 + 17, lcd, wxColour(28, 44, 10), Align::Left);
        Text(gc, "Knob 0   CC 7", x0 + 10, y0 + 30, lcd, wxColour(28, 44, 10), Align::Left);
        Text(gc, "PUSH", cx, enc.y + enc.h + 6, small, kLegendDim);
        Text(gc, L"\u25C0", enc.x - 8, CentreY(enc), small, kLegendDim);
        Text(gc, L"\u25B6", enc.x + enc.w + 8, CentreY(enc), small, kLegendDim);
        Text(gc, "DATA", enc.x - 26, CentreY(enc), small, kLegendDim);
    }

    // Maker and model.
    Text(gc, "HALVORN", 667, 24, CondensedFont(9, true), kLegendDim);
    Text(gc, "Corvana", 667, 44, LegendFont(15, true), kLegend);
    Text(gc, "Q9", 667, 70, LegendFont(24, true), wxColour(236, 238, 241));

    // MIDI activity LEDs.
    for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
        const PanelRect led = ViewToPictureRect(MidiLedRect(which));
        Text(gc, which == 0 ? "MIDI IN" : "MIDI OUT", led.x - 5, CentreY(led), small, kLegendDim, Align::Right);
    }

    // Infrared sensor or ribbon legend.
    if (form == PanelForm::Infrared) {
        const PanelRect ir = PictureRect(5, form);
        Text(gc, "INFRARED", CentreX(ir), ir.y + ir.h + 7, small, kLegendDim);
    } else {
        const PanelRect rb = PictureRect(5, form);
        Text(gc, "RIBBON", CentreX(rb), rb.y - 8, small, kLegendDim);
    }

    // Transport: symbols above the first row, shifted functions in orange under the second.
    {
        const struct {
            unsigned index;
            Symbol symbol;
        } top[] = {{2, Symbol::Backward}, {4, Symbol::Forward}, {3, Symbol::Stop}, {1, Symbol::Play}, {0, Symbol::Rec}},
          shifted[] = {
              {52, Symbol::Stop}, {54, Symbol::Rec}, {53, Symbol::Play}, {51, Symbol::Forward}, {50, Symbol::Backward}};
        for (const auto &t : top) {
            const PanelRect r = PictureRect(t.index, form);
            DrawSymbol(gc, t.symbol, CentreX(r), r.y - 7, t.symbol == Symbol::Rec ? kRecRed : kLegend);
        }
        for (const auto &t : shifted) {
            const PanelRect r = PictureRect(t.index, form);
            DrawSymbol(gc, t.symbol, CentreX(r), r.y + r.h + 6, kShiftLegend);
        }
        const PanelRect first_shift = PictureRect(52, form);
        Text(gc, "SHIFT", first_shift.x - 5, CentreY(first_shift), small, kShiftLegend, Align::Right);
        const PanelRect first = PictureRect(2, form);
        Text(gc, "TRANSPORT", first.x - 5, CentreY(first), small, kLegendDim, Align::Right);
    }

    // Joystick legend.
    {
        const PanelRect b = PictureRect(55, form);
        Text(gc, "JOYSTICK", b.x - 4, CentreY(b) - 4, small, kLegendDim, Align::Right);
        // Axis letters beside the axis arrows, outside the items.
        const PanelRect y = PictureRect(7, form), x = PictureRect(6, form);
        Text(gc, "Y", y.x + y.w + 4, y.y + 4, legend, kLegendDim);
        Text(gc, "X", x.x + x.w + 5, x.y + 17, legend, kLegendDim);
    }

    // Buttons: numbers above.
    for (unsigned i = 0; i < 8; ++i) {
        const PanelRect r = PictureRect(58 + i, form);
        Text(gc, wxString::Format("%u", i + 1), CentreX(r), r.y - 7, legend, kLegendDim);
    }
    {
        const PanelRect last = PictureRect(65, form);
        Text(gc, "BUTTONS", last.x + last.w + 8, CentreY(last), small, kLegendDim, Align::Left);
    }

    // Crossfader ends and legend.
    {
        const PanelRect l = PictureRect(48, form), r = PictureRect(49, form);
        Text(gc, "L", l.x - 6, CentreY(l), legend, kLegend);
        Text(gc, "R", r.x + r.w + 6, CentreY(r), legend, kLegend);
        Text(gc, "CROSSFADER", (l.x + r.x + r.w) / 2.0, l.y + l.h + 6, small, kLegendDim);
    }

    // Lower right corner: the controller's connections, printed as on its back panel.
    Text(gc, L"USB  \u00B7  MIDI IN  \u00B7  MIDI OUT", 700, 300, small, kLegendDim);
}

Look LookOf(unsigned index, int highlighted, Look look)
{
    return int(index) == highlighted ? look : Look::Normal;
}

void DrawControls(Gc &gc, PanelForm form, int highlighted, Look look)
{
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        const PanelItem item = PanelItemGeometry(i, form);
        const PanelRect r = ViewToPictureRect(item.rect);
        const Look l = LookOf(i, highlighted, look);
        switch (item.kind) {
        case PictureKind::Button:
            DrawButton(gc, r.x, r.y, l);
            break;
        case PictureKind::Knob:
            DrawKnob(gc, r.x, r.y, l);
            break;
        case PictureKind::Slider:
            DrawSlider(gc, r.x, r.y, l);
            break;
        case PictureKind::Encoder:
            DrawEncoder(gc, r.x, r.y, l);
            break;
        case PictureKind::Footswitch:
            DrawFootswitch(gc, r.x, r.y, l);
            break;
        case PictureKind::Infrared:
            DrawInfrared(gc, r.x, r.y, l);
            break;
        case PictureKind::Ribbon:
            DrawRibbon(gc, r.x, r.y, l);
            break;
        case PictureKind::Lfo:
            DrawLfo(gc, r.x, r.y, l);
            break;
        case PictureKind::CrossfaderLeft:
            DrawCrossfader(gc, r.x, r.y, l, LookOf(49, highlighted, look));
            break;
        case PictureKind::JoystickY:
            DrawJoystick(gc, LookOf(6, highlighted, look), l, LookOf(55, highlighted, look));
            break;
        case PictureKind::CrossfaderRight:  // drawn with the left half
        case PictureKind::JoystickX:        // drawn with the Y axis
        case PictureKind::JoystickButton:
            break;
        }
    }
}

std::unique_ptr<Gc> ContextFor(wxImage &image)
{
    std::unique_ptr<Gc> gc(wxGraphicsContext::Create(image));
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    return gc;
}

}  // namespace

uint32_t PanelFaceRgb()
{
    return Rgb(kFace.Red(), kFace.Green(), kFace.Blue());
}
uint32_t PanelFrameRgb()
{
    return Rgb(kFrame.Red(), kFrame.Green(), kFrame.Blue());
}

wxImage RenderPanel(PanelForm form, int highlighted, Look look, bool leds_lit)
{
    wxImage image(PANEL_PICTURE_WIDTH, PANEL_PICTURE_HEIGHT);
    {
        std::unique_ptr<Gc> gc = ContextFor(image);
        DrawFaceAndLegends(*gc, form);
        DrawControls(*gc, form, highlighted, look);
        for (unsigned which = 0; which < MIDI_LED_COUNT; ++which) {
            const PanelRect led = ViewToPictureRect(MidiLedRect(which));
            DrawLed(*gc, led.x, led.y, leds_lit);
        }
    }
    return image;
}

wxImage CropViewRect(const wxImage &panel, const PanelRect &view_rect)
{
    const PanelRect r = ViewToPictureRect(view_rect);
    return panel.GetSubImage(wxRect(r.x, r.y, r.w, r.h));
}

unsigned RepresentativeItem(PictureKind kind)
{
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        if (PanelItemGeometry(i, PanelForm::Ribbon).kind == kind ||
            PanelItemGeometry(i, PanelForm::Infrared).kind == kind) {
            return i;
        }
    }
    return 0;
}

PanelForm RepresentativeForm(PictureKind kind)
{
    return kind == PictureKind::Infrared ? PanelForm::Infrared : PanelForm::Ribbon;
}

wxImage RenderSprite(PictureKind kind, Look look)
{
    const unsigned index = RepresentativeItem(kind);
    const PanelForm form = RepresentativeForm(kind);
    return CropViewRect(RenderPanel(form, int(index), look, false), PanelItemGeometry(index, form).rect);
}

wxImage RenderLitLed()
{
    return CropViewRect(RenderPanel(PanelForm::Ribbon, -1, Look::Normal, true), MidiLedRect(0));
}

wxImage RenderAppIcon(int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    std::memset(image.GetAlpha(), 0, size_t(size) * size_t(size));
    {
        std::unique_ptr<Gc> gc = ContextFor(image);
        const double s = size / 32.0;
        gc->Scale(s, s);
        // A tiny front panel: body, display, a knob grid and two faders.
        FillRoundRect(*gc, 1, 3, 30, 26, 4, kFaceLight);
        FillRoundRect(*gc, 1.5, 3.5, 29, 25, 3.5, kFace);
        FillRoundRect(*gc, 18, 6, 11, 6, 1, wxColour(170, 205, 70));
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                const double cx = 6 + 5.2 * col, cy = 9 + 6 * row;
                GradientCircle(*gc, cx, cy, 2.2, (row == 0 && col == 0) ? kGreen.light : wxColour(150, 155, 162),
                               (row == 0 && col == 0) ? kGreen.dark : wxColour(40, 42, 46));
            }
        }
        for (int col = 0; col < 4; ++col) {
            const double cx = 5 + 3.6 * col;
            FillRoundRect(*gc, cx - 0.6, 19, 1.2, 7.5, 0.6, wxColour(10, 10, 12));
            FillRoundRect(*gc, cx - 1.4, 21 + (col % 2) * 2.5, 2.8, 2.2, 0.5, wxColour(200, 203, 208));
        }
        for (int b = 0; b < 2; ++b)
            FillRoundRect(*gc, 19 + 5.5 * b, 15, 4, 2.5, 0.8, wxColour(200, 203, 208));
        GradientCircle(*gc, 24, 23, 3.4, wxColour(150, 155, 162), wxColour(22, 23, 26));
    }
    return image;
}
