// The user-curve editor: a modeless dialog created hidden at start-up and
// shown by the editor's "Edit" buttons. One notebook page per user curve holds
// its 128 values as text, one per line; beside the notebook a plot shows the
// curve of the current page, and below it a generator fills the current curve
// from a predefined model.
#ifndef CVQ9_USERCURVESEDITION_H
#define CVQ9_USERCURVESEDITION_H

#include <cstdint>

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/icon.h>
#include <wx/intl.h>
#include <wx/notebook.h>
#include <wx/string.h>

#include "mathplot.h"

class wxButton;
class wxComboBox;
class wxPanel;
class wxTextCtrl;

#define ID_USERCURVESEDITION              10095
#define SYMBOL_USERCURVESEDITION_STYLE    (wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxCLIP_CHILDREN)
#define SYMBOL_USERCURVESEDITION_TITLE    _("User Curves edition")
#define SYMBOL_USERCURVESEDITION_IDNAME   ID_USERCURVESEDITION
#define SYMBOL_USERCURVESEDITION_SIZE     wxSize(450, 410)
#define SYMBOL_USERCURVESEDITION_POSITION wxDefaultPosition

// Widget identifiers of the dialog.
#define ID_NOTEBOOK_CURVES        10096
#define ID_PANEL_CURVE1           10097
#define ID_TEXTCTRL_CURVE1        10098
#define ID_BUTTON_UPDATE_GRAPH    10099
#define ID_PANEL_CURVE2           10100
#define ID_TEXTCTRL_CURVE2        10101
#define ID_BUTTON_UPDATE_GRAPH2   10102
#define ID_COMBOBOX_RESET_CURVE   10103
#define ID_BUTTON_GENERATE_CURVE  10104
#define ID_BUTTON_SAVE_QUIT_CURVE 10105
#define ID_CURVE_PLOT             10106

// Where the plot stands in the dialog, and its size.
#define CURVE_PLOT_POSITION wxPoint(173, 43)
#define CURVE_PLOT_SIZE     wxSize(256, 256)

// The plot layer of one user curve: its 128 points as a function of the
// control position, on 0..128 in both directions.
class MyPlot : public mpFX
{
public:
    explicit MyPlot(uint8_t *curve);

    double GetMinX() override { return 0.0; }
    double GetMaxX() override { return 128.0; }
    double GetMinY() override { return 0.0; }
    double GetMaxY() override { return 128.0; }
    // The point at x truncated towards zero for an index 0..127, 0 elsewhere.
    double GetY(double x) override;

    uint8_t *m_curve;
};

class UserCurvesedition : public wxDialog
{
    wxDECLARE_DYNAMIC_CLASS(UserCurvesedition);
    wxDECLARE_EVENT_TABLE();

public:
    UserCurvesedition();
    UserCurvesedition(wxWindow *parent, wxWindowID id = SYMBOL_USERCURVESEDITION_IDNAME,
                      const wxString &caption = SYMBOL_USERCURVESEDITION_TITLE,
                      const wxPoint &pos = SYMBOL_USERCURVESEDITION_POSITION,
                      const wxSize &size = SYMBOL_USERCURVESEDITION_SIZE, long style = SYMBOL_USERCURVESEDITION_STYLE);
    bool Create(wxWindow *parent, wxWindowID id = SYMBOL_USERCURVESEDITION_IDNAME,
                const wxString &caption = SYMBOL_USERCURVESEDITION_TITLE,
                const wxPoint &pos = SYMBOL_USERCURVESEDITION_POSITION,
                const wxSize &size = SYMBOL_USERCURVESEDITION_SIZE, long style = SYMBOL_USERCURVESEDITION_STYLE);
    ~UserCurvesedition() override;

    // Builds the dialog's widgets.
    void CreateControls();

    // Both text fields filled afresh from user_curve_1 and user_curve_2.
    void DisplayCurves();
    // Parses `field` into `curve`; on a fault shows it in a "Curve error" box
    // and returns false (the points before the faulty line are stored).
    bool CheckCurves(uint8_t *curve, wxTextCtrl *field);
    // Parses the current page's field and, when it is valid, plots its curve.
    void UpdateGraph();

    void OnNotebookPagePageChanged(wxNotebookEvent &event);
    void OnButtonUpdateGraphClick(wxCommandEvent &event);
    void OnButtonUpdateGraph2Click(wxCommandEvent &event);
    void OnButtonGenerateClick(wxCommandEvent &event);
    void OnButtonSaveClick(wxCommandEvent &event);

    wxBitmap GetBitmapResource(const wxString &name);
    wxIcon GetIconResource(const wxString &name);
    static bool ShowToolTips();

    wxNotebook *wxNotebookPage;
    wxPanel *wxPanelCurve1;
    wxTextCtrl *wxTextCtrlCurve1;
    wxButton *wxButtonUpdateGraph;
    wxPanel *wxPanelCurve2;
    wxTextCtrl *wxTextCtrlCurve2;
    wxButton *wxButtonUpdateGraph2;
    wxComboBox *wxComboBoxResetCurve;
    wxButton *wxButtonGenerateCurve;
    wxButton *wxButtonSaveQuitCurve;

private:
    void Init();
    void RemoveCurveLayer();
};

// The plot window of the dialog, and the curve layer it currently shows (or null).
extern mpWindow *m_plot;
extern MyPlot *MyCurve;

#endif
