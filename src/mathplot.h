// A small plot window in the manner of wxMathPlot: a window `mpWindow` holding
// layers, function layers `mpFX` that draw y = GetY(x) as a line, and axis
// layers with ticks and numbers. The window maps world coordinates to pixels
// with a scale (pixels per unit) and the world position of its top-left
// plotting corner; Fit() chooses both so that a bounding box fills the area
// inside the margins. All drawing happens in the paint handler.
#ifndef CVQ9_MATHPLOT_H
#define CVQ9_MATHPLOT_H

#include <vector>

#include <wx/dc.h>
#include <wx/font.h>
#include <wx/pen.h>
#include <wx/string.h>
#include <wx/window.h>

class mpWindow;

// Anything the window draws.
class mpLayer : public wxObject
{
public:
    mpLayer();
    ~mpLayer() override;

    // Layers with a bounding box take part in Fit(); axes do not.
    virtual bool HasBBox() { return true; }
    virtual double GetMinX() { return -1.0; }
    virtual double GetMaxX() { return 1.0; }
    virtual double GetMinY() { return -1.0; }
    virtual double GetMaxY() { return 1.0; }

    // Draws the layer on `dc` through the window's coordinate mapping.
    virtual void Plot(wxDC &dc, mpWindow &w) = 0;

    const wxString &GetName() const { return m_name; }
    void SetName(const wxString &name) { m_name = name; }
    const wxPen &GetPen() const { return m_pen; }
    void SetPen(const wxPen &pen) { m_pen = pen; }
    const wxFont &GetFont() const { return m_font; }
    void SetFont(const wxFont &font) { m_font = font; }

protected:
    wxString m_name;
    wxPen m_pen;
    wxFont m_font;

    wxDECLARE_ABSTRACT_CLASS(mpLayer);
};

// A function y = GetY(x), drawn as a line through one point per pixel column
// of the plotting area, clipped to its x range and to the area.
class mpFX : public mpLayer
{
public:
    explicit mpFX(const wxString &name = wxEmptyString);

    virtual double GetY(double x) = 0;

    void Plot(wxDC &dc, mpWindow &w) override;

    wxDECLARE_ABSTRACT_CLASS(mpFX);
};

// The horizontal axis along the bottom edge of the plotting area, with ticks
// and their numbers below it.
class mpScaleX : public mpLayer
{
public:
    explicit mpScaleX(const wxString &name = wxT("X"));
    bool HasBBox() override { return false; }
    void Plot(wxDC &dc, mpWindow &w) override;

    wxDECLARE_DYNAMIC_CLASS(mpScaleX);
};

// The vertical axis along the left edge of the plotting area, with ticks and
// their numbers to its left.
class mpScaleY : public mpLayer
{
public:
    explicit mpScaleY(const wxString &name = wxT("Y"));
    bool HasBBox() override { return false; }
    void Plot(wxDC &dc, mpWindow &w) override;

    wxDECLARE_DYNAMIC_CLASS(mpScaleY);
};

// A distance between ticks of 1, 2 or 5 times a power of ten that gives the
// nearest to `pixels` between neighbouring ticks at `scale` pixels per unit.
double mpTickStep(double scale, double pixels);

class mpWindow : public wxWindow
{
public:
    mpWindow();
    mpWindow(wxWindow *parent, wxWindowID id, const wxPoint &pos = wxDefaultPosition,
             const wxSize &size = wxDefaultSize, long flags = 0);
    ~mpWindow() override;

    // The window owns the layers added to it and deletes those left at its end.
    bool AddLayer(mpLayer *layer, bool refreshDisplay = true);
    // Takes a layer out of the window; deletes it when asked to.
    bool DelLayer(mpLayer *layer, bool alsoDeleteObject = false, bool refreshDisplay = true);
    void DelAllLayers(bool alsoDeleteObject, bool refreshDisplay = true);
    size_t CountLayers() const { return m_layers.size(); }
    mpLayer *GetLayer(size_t position) const { return position < m_layers.size() ? m_layers[position] : nullptr; }
    bool HasLayer(const mpLayer *layer) const;

    // Fits the union of the bounding boxes of the layers that have one.
    void Fit();
    // Fits the box [xMin, xMax] x [yMin, yMax] into the plotting area; the
    // window keeps fitting this box when it is resized.
    void Fit(double xMin, double xMax, double yMin, double yMax);

    // Pixels per unit along each axis.
    void SetScaleX(double scaleX);
    void SetScaleY(double scaleY);
    double GetScaleX() const { return m_scaleX; }
    double GetScaleY() const { return m_scaleY; }
    // World coordinates of the top-left corner of the plotting area.
    double GetXpos() const { return m_posX; }
    double GetYpos() const { return m_posY; }

    // Empty space around the plotting area, for the axes' numbers.
    void SetMargins(int top, int right, int bottom, int left);
    int GetMarginTop() const { return m_marginTop; }
    int GetMarginRight() const { return m_marginRight; }
    int GetMarginBottom() const { return m_marginBottom; }
    int GetMarginLeft() const { return m_marginLeft; }
    // The plotting area inside the margins, in client pixels.
    wxRect GetPlotArea() const;

    // World to client pixels and back.
    wxCoord x2p(double x) const;
    wxCoord y2p(double y) const;
    double p2x(wxCoord px) const;
    double p2y(wxCoord py) const;

    // Visible world range of the plotting area.
    double GetMinXVisible() const { return p2x(GetPlotArea().GetLeft()); }
    double GetMaxXVisible() const { return p2x(GetPlotArea().GetRight()); }
    double GetMinYVisible() const { return p2y(GetPlotArea().GetBottom()); }
    double GetMaxYVisible() const { return p2y(GetPlotArea().GetTop()); }

    // Draws the background, the frame of the plotting area and every layer in
    // order onto `dc` (the paint handler's buffer, or a memory DC for a picture).
    void Render(wxDC &dc);

private:
    void OnPaint(wxPaintEvent &event);
    void OnSize(wxSizeEvent &event);
    void ApplyFit();

    std::vector<mpLayer *> m_layers;
    double m_scaleX = 1.0, m_scaleY = 1.0;
    double m_posX = 0.0, m_posY = 0.0;
    int m_marginTop = 8, m_marginRight = 10, m_marginBottom = 20, m_marginLeft = 30;
    bool m_fitted = false;
    double m_fitMinX = 0.0, m_fitMaxX = 1.0, m_fitMinY = 0.0, m_fitMaxY = 1.0;

    wxDECLARE_DYNAMIC_CLASS(mpWindow);
    wxDECLARE_EVENT_TABLE();
};

#endif
