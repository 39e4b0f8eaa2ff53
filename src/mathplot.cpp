#include "mathplot.h"

#include <algorithm>
#include <cmath>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

wxIMPLEMENT_ABSTRACT_CLASS(mpLayer, wxObject);
wxIMPLEMENT_ABSTRACT_CLASS(mpFX, mpLayer);
wxIMPLEMENT_DYNAMIC_CLASS(mpScaleX, mpLayer);
wxIMPLEMENT_DYNAMIC_CLASS(mpScaleY, mpLayer);
wxIMPLEMENT_DYNAMIC_CLASS(mpWindow, wxWindow);

wxBEGIN_EVENT_TABLE(mpWindow, wxWindow)
    EVT_PAINT(mpWindow::OnPaint)
    EVT_SIZE(mpWindow::OnSize)
wxEND_EVENT_TABLE()

namespace {

const int kTickLength = 4;
const double kTickSpacingPixels = 40.0;
const wxColour kAxisColour(0, 0, 0);
const wxColour kGridColour(222, 222, 222);

// The tick values of [from, to] at `step`, computed from an integer count so
// that rounding never adds or drops the last tick.
std::vector<double> Ticks(double from, double to, double step)
{
    std::vector<double> ticks;
    if (!(step > 0.0) || !(to >= from))
        return ticks;
    const double first = std::ceil(from / step - 1e-9);
    const double last = std::floor(to / step + 1e-9);
    for (double k = first; k <= last && ticks.size() < 1000; k += 1.0)
        ticks.push_back(k * step);
    return ticks;
}

wxString TickLabel(double value)
{
    if (std::fabs(value) < 1e-12)
        value = 0.0;
    return wxString::Format(wxT("%g"), value);
}

}  // namespace

double mpTickStep(double scale, double pixels)
{
    if (!(scale > 0.0) || !(pixels > 0.0))
        return 1.0;
    const double raw = pixels / scale;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / power;
    // The nice step nearest to the wanted one, halfway points taken geometrically.
    double nice = 10.0;
    if (mantissa < 1.4142)
        nice = 1.0;
    else if (mantissa < 3.1623)
        nice = 2.0;
    else if (mantissa < 7.0711)
        nice = 5.0;
    return nice * power;
}

// ---- Layers ---------------------------------------------------------------------

mpLayer::mpLayer() : m_pen(*wxBLACK, 1, wxPENSTYLE_SOLID), m_font(*wxSMALL_FONT) {}

mpLayer::~mpLayer() = default;

mpFX::mpFX(const wxString &name)
{
    SetName(name);
}

void mpFX::Plot(wxDC &dc, mpWindow &w)
{
    const wxRect area = w.GetPlotArea();
    if (area.IsEmpty())
        return;
    wxDCClipper clip(dc, area);
    dc.SetPen(m_pen);
    std::vector<wxPoint> points;
    const double minX = GetMinX();
    const double maxX = GetMaxX();
    for (wxCoord px = area.GetLeft(); px <= area.GetRight(); ++px) {
        const double x = w.p2x(px);
        if (x < minX || x > maxX)
            continue;
        const double y = GetY(x);
        // Far-off values are pinned just outside the area so the line still leaves it.
        const double py =
            std::min(std::max(static_cast<double>(w.y2p(y)), area.GetTop() - 10.0), area.GetBottom() + 10.0);
        points.emplace_back(px, static_cast<wxCoord>(py));
    }
    if (points.size() >= 2)
        dc.DrawLines(static_cast<int>(points.size()), points.data());
    else if (points.size() == 1)
        dc.DrawPoint(points[0]);
}

mpScaleX::mpScaleX(const wxString &name)
{
    SetName(name);
}

void mpScaleX::Plot(wxDC &dc, mpWindow &w)
{
    const wxRect area = w.GetPlotArea();
    if (area.IsEmpty())
        return;
    dc.SetFont(m_font);
    dc.SetTextForeground(kAxisColour);
    const double step = mpTickStep(w.GetScaleX(), kTickSpacingPixels);
    const std::vector<double> ticks = Ticks(w.GetMinXVisible(), w.GetMaxXVisible(), step);
    dc.SetPen(wxPen(kGridColour, 1, wxPENSTYLE_SOLID));
    for (double t : ticks)
        dc.DrawLine(w.x2p(t), area.GetTop(), w.x2p(t), area.GetBottom());
    dc.SetPen(m_pen);
    dc.DrawLine(area.GetLeft(), area.GetBottom(), area.GetRight() + 1, area.GetBottom());
    for (double t : ticks) {
        const wxCoord px = w.x2p(t);
        dc.DrawLine(px, area.GetBottom(), px, area.GetBottom() + kTickLength + 1);
        const wxString label = TickLabel(t);
        const wxSize extent = dc.GetTextExtent(label);
        dc.DrawText(label, px - extent.x / 2, area.GetBottom() + kTickLength + 2);
    }
}

mpScaleY::mpScaleY(const wxString &name)
{
    SetName(name);
}

void mpScaleY::Plot(wxDC &dc, mpWindow &w)
{
    const wxRect area = w.GetPlotArea();
    if (area.IsEmpty())
        return;
    dc.SetFont(m_font);
    dc.SetTextForeground(kAxisColour);
    const double step = mpTickStep(w.GetScaleY(), kTickSpacingPixels);
    const std::vector<double> ticks = Ticks(w.GetMinYVisible(), w.GetMaxYVisible(), step);
    dc.SetPen(wxPen(kGridColour, 1, wxPENSTYLE_SOLID));
    for (double t : ticks)
        dc.DrawLine(area.GetLeft(), w.y2p(t), area.GetRight() + 1, w.y2p(t));
    dc.SetPen(m_pen);
    dc.DrawLine(area.GetLeft(), area.GetTop(), area.GetLeft(), area.GetBottom() + 1);
    for (double t : ticks) {
        const wxCoord py = w.y2p(t);
        dc.DrawLine(area.GetLeft() - kTickLength, py, area.GetLeft(), py);
        const wxString label = TickLabel(t);
        const wxSize extent = dc.GetTextExtent(label);
        dc.DrawText(label, area.GetLeft() - kTickLength - 2 - extent.x, py - extent.y / 2);
    }
}

// ---- Window ---------------------------------------------------------------------

mpWindow::mpWindow() = default;

mpWindow::mpWindow(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size, long flags)
{
    // The paint handler covers every pixel, through a buffer: no erase, no flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, id, pos, size, flags, wxT("mathplot"));
    SetBackgroundColour(*wxWHITE);
}

mpWindow::~mpWindow()
{
    DelAllLayers(true, false);
}

bool mpWindow::AddLayer(mpLayer *layer, bool refreshDisplay)
{
    if (!layer || HasLayer(layer))
        return false;
    m_layers.push_back(layer);
    if (refreshDisplay)
        Refresh(false);
    return true;
}

bool mpWindow::DelLayer(mpLayer *layer, bool alsoDeleteObject, bool refreshDisplay)
{
    const auto found = std::find(m_layers.begin(), m_layers.end(), layer);
    if (found == m_layers.end())
        return false;
    m_layers.erase(found);
    if (alsoDeleteObject)
        delete layer;
    if (refreshDisplay)
        Refresh(false);
    return true;
}

void mpWindow::DelAllLayers(bool alsoDeleteObject, bool refreshDisplay)
{
    std::vector<mpLayer *> layers;
    layers.swap(m_layers);
    if (alsoDeleteObject)
        for (mpLayer *layer : layers)
            delete layer;
    if (refreshDisplay)
        Refresh(false);
}

bool mpWindow::HasLayer(const mpLayer *layer) const
{
    return std::find(m_layers.begin(), m_layers.end(), layer) != m_layers.end();
}

void mpWindow::Fit()
{
    bool any = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (mpLayer *layer : m_layers) {
        if (!layer->HasBBox())
            continue;
        if (!any) {
            minX = layer->GetMinX();
            maxX = layer->GetMaxX();
            minY = layer->GetMinY();
            maxY = layer->GetMaxY();
            any = true;
        } else {
            minX = std::min(minX, layer->GetMinX());
            maxX = std::max(maxX, layer->GetMaxX());
            minY = std::min(minY, layer->GetMinY());
            maxY = std::max(maxY, layer->GetMaxY());
        }
    }
    if (any)
        Fit(minX, maxX, minY, maxY);
}

void mpWindow::Fit(double xMin, double xMax, double yMin, double yMax)
{
    m_fitMinX = xMin;
    m_fitMaxX = xMax;
    m_fitMinY = yMin;
    m_fitMaxY = yMax;
    m_fitted = true;
    ApplyFit();
    Refresh(false);
}

void mpWindow::ApplyFit()
{
    const wxRect area = GetPlotArea();
    // The box's edges fall on the first and last pixel of the area.
    const double width = std::max(1, area.width - 1);
    const double height = std::max(1, area.height - 1);
    const double rangeX = (m_fitMaxX - m_fitMinX) != 0.0 ? m_fitMaxX - m_fitMinX : 1.0;
    const double rangeY = (m_fitMaxY - m_fitMinY) != 0.0 ? m_fitMaxY - m_fitMinY : 1.0;
    m_scaleX = width / rangeX;
    m_scaleY = height / rangeY;
    m_posX = m_fitMinX;
    m_posY = m_fitMaxY;
}

void mpWindow::SetScaleX(double scaleX)
{
    if (scaleX > 0.0)
        m_scaleX = scaleX;
    m_fitted = false;
    Refresh(false);
}

void mpWindow::SetScaleY(double scaleY)
{
    if (scaleY > 0.0)
        m_scaleY = scaleY;
    m_fitted = false;
    Refresh(false);
}

void mpWindow::SetMargins(int top, int right, int bottom, int left)
{
    m_marginTop = std::max(0, top);
    m_marginRight = std::max(0, right);
    m_marginBottom = std::max(0, bottom);
    m_marginLeft = std::max(0, left);
    if (m_fitted)
        ApplyFit();
    Refresh(false);
}

wxRect mpWindow::GetPlotArea() const
{
    const wxSize client = GetClientSize();
    return wxRect(m_marginLeft, m_marginTop, std::max(0, client.x - m_marginLeft - m_marginRight),
                  std::max(0, client.y - m_marginTop - m_marginBottom));
}

namespace {

// A pixel coordinate from a world one; values far outside any window (or not
// numbers at all) are pinned so that the conversion to an integer stays defined.
wxCoord ToPixel(double p)
{
    const double limit = 1e6;
    if (!(p > -limit))
        p = -limit;
    else if (p > limit)
        p = limit;
    return static_cast<wxCoord>(std::lround(p));
}

}  // namespace

wxCoord mpWindow::x2p(double x) const
{
    return ToPixel(m_marginLeft + (x - m_posX) * m_scaleX);
}

wxCoord mpWindow::y2p(double y) const
{
    return ToPixel(m_marginTop + (m_posY - y) * m_scaleY);
}

double mpWindow::p2x(wxCoord px) const
{
    return m_posX + (px - m_marginLeft) / m_scaleX;
}

double mpWindow::p2y(wxCoord py) const
{
    return m_posY - (py - m_marginTop) / m_scaleY;
}

void mpWindow::Render(wxDC &dc)
{
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    for (mpLayer *layer : m_layers)
        layer->Plot(dc, *this);
}

void mpWindow::OnPaint(wxPaintEvent &)
{
    wxAutoBufferedPaintDC dc(this);
    Render(dc);
}

void mpWindow::OnSize(wxSizeEvent &event)
{
    if (m_fitted)
        ApplyFit();
    Refresh(false);
    event.Skip();
}
