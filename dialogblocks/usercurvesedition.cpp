#include "usercurvesedition.h"

#include <string>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/pen.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "config_tables.h"
#include "curve_models.h"
#include "edit_history.h"
#include "light_surface.h"

mpWindow *m_plot = nullptr;
MyPlot *MyCurve = nullptr;

namespace {

// What the dialog changes in one visit is one step of the history.
const wxChar kCurvesStep[] = wxT("User curves");

const wxChar *const kCurveErrorCaption = wxT("Curve error");

// The curve table of notebook page `page` (0 or 1).
uint8_t *CurveOfPage(int page)
{
    return page == 1 ? user_curve_2 : user_curve_1;
}

// The fault of a curve text, in a box of its own: no parent, centred, OK only.
void ShowCurveError(const CurveCheck &check)
{
    wxMessageDialog box(nullptr, wxString(CurveCheckMessage(check)), kCurveErrorCaption, wxOK | wxCENTRE);
    box.ShowModal();
}

}  // namespace

// ---- The curve layer --------------------------------------------------------

MyPlot::MyPlot(uint8_t *curve) : mpFX(wxT("User curve")), m_curve(curve) {}

double MyPlot::GetY(double x)
{
    return m_curve ? CurveValueAt(m_curve, x) : 0.0;
}

// ---- The dialog ---------------------------------------------------------------

wxIMPLEMENT_DYNAMIC_CLASS(UserCurvesedition, wxDialog);

wxBEGIN_EVENT_TABLE(UserCurvesedition, wxDialog)
    EVT_NOTEBOOK_PAGE_CHANGED(ID_NOTEBOOK_CURVES, UserCurvesedition::OnNotebookPagePageChanged)
    EVT_BUTTON(ID_BUTTON_UPDATE_GRAPH, UserCurvesedition::OnButtonUpdateGraphClick)
    EVT_BUTTON(ID_BUTTON_UPDATE_GRAPH2, UserCurvesedition::OnButtonUpdateGraph2Click)
    EVT_BUTTON(ID_BUTTON_GENERATE_CURVE, UserCurvesedition::OnButtonGenerateClick)
    EVT_BUTTON(ID_BUTTON_SAVE_QUIT_CURVE, UserCurvesedition::OnButtonSaveClick)
wxEND_EVENT_TABLE()

UserCurvesedition::UserCurvesedition()
{
    Init();
}

UserCurvesedition::UserCurvesedition(wxWindow *parent, wxWindowID id, const wxString &caption, const wxPoint &pos,
                                     const wxSize &size, long style)
{
    Init();
    Create(parent, id, caption, pos, size, style);
}

void UserCurvesedition::Init()
{
    wxNotebookPage = nullptr;
    wxPanelCurve1 = nullptr;
    wxTextCtrlCurve1 = nullptr;
    wxButtonUpdateGraph = nullptr;
    wxPanelCurve2 = nullptr;
    wxTextCtrlCurve2 = nullptr;
    wxButtonUpdateGraph2 = nullptr;
    wxComboBoxResetCurve = nullptr;
    wxButtonGenerateCurve = nullptr;
    wxButtonSaveQuitCurve = nullptr;
}

bool UserCurvesedition::Create(wxWindow *parent, wxWindowID id, const wxString &caption, const wxPoint &pos,
                               const wxSize &size, long style)
{
    Init();
    SetExtraStyle(wxWS_EX_VALIDATE_RECURSIVELY);
    if (!wxDialog::Create(parent, id, caption, pos, size, style))
        return false;
    CreateControls();
    Centre();

    // The plot stands over the right part of the dialog, beside the notebook's text field.
    m_plot = new mpWindow(this, ID_CURVE_PLOT, CURVE_PLOT_POSITION, CURVE_PLOT_SIZE, wxSUNKEN_BORDER);
    m_plot->SetScaleX(128);
    m_plot->SetMargins(8, 10, 20, 30);
    m_plot->AddLayer(new mpScaleX(wxT("Position")), false);
    m_plot->AddLayer(new mpScaleY(wxT("Value")), false);
    MyCurve = nullptr;
    return true;
}

UserCurvesedition::~UserCurvesedition()
{
    // The plot window deletes its layers with itself.
    m_plot = nullptr;
    MyCurve = nullptr;
}

void UserCurvesedition::CreateControls()
{
    const bool tips = ShowToolTips();

    wxBoxSizer *topSizer = new wxBoxSizer(wxHORIZONTAL);
    SetSizer(topSizer);

    wxNotebookPage = new wxNotebook(this, ID_NOTEBOOK_CURVES, wxDefaultPosition, wxSize(200, 320), wxBK_DEFAULT);
    wxNotebookPage->SetBackgroundColour(LightSurfaceColour());

    // One page per curve: the 128 values, and the button that plots them.
    struct PageWidgets {
        wxPanel **panel;
        wxTextCtrl **text;
        wxButton **update;
        wxWindowID panelId, textId, updateId;
        const wxChar *tab;
        const wxChar *tabTip;
    };
    const PageWidgets pages[2] = {
        {&wxPanelCurve1, &wxTextCtrlCurve1, &wxButtonUpdateGraph, ID_PANEL_CURVE1, ID_TEXTCTRL_CURVE1,
         ID_BUTTON_UPDATE_GRAPH, wxT("User curve 1"), wxT("Select this tab to edit User curve 1")},
        {&wxPanelCurve2, &wxTextCtrlCurve2, &wxButtonUpdateGraph2, ID_PANEL_CURVE2, ID_TEXTCTRL_CURVE2,
         ID_BUTTON_UPDATE_GRAPH2, wxT("User curve 2"), wxT("Select this tab to edit User curve 2")},
    };
    for (const PageWidgets &p : pages) {
        wxPanel *panel = new wxPanel(wxNotebookPage, p.panelId, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
        if (tips)
            panel->SetToolTip(_(p.tabTip));
        wxBoxSizer *pageSizer = new wxBoxSizer(wxHORIZONTAL);
        panel->SetSizer(pageSizer);
        wxTextCtrl *text = new wxTextCtrl(panel, p.textId, wxEmptyString, wxDefaultPosition, wxSize(60, 265),
                                          wxTE_MULTILINE | wxHSCROLL);
        if (tips)
            text->SetToolTip(_("Enter here all 128 values corresponding to all 128 control physical positions"));
        pageSizer->Add(text, 0, wxALIGN_TOP | wxALL, 5);
        wxButton *update = new wxButton(panel, p.updateId, _("Update"));
        if (tips)
            update->SetToolTip(_("Click this button to update the graph"));
        pageSizer->Add(update, 0, wxALIGN_TOP | wxALL, 5);
        *p.panel = panel;
        *p.text = text;
        *p.update = update;
    }
    // Pages are added once both fields exist: adding the first page may already
    // report a page change.
    wxNotebookPage->AddPage(wxPanelCurve1, _("User curve 1"));
    wxNotebookPage->AddPage(wxPanelCurve2, _("User curve 2"));
    DarkTextOn(wxNotebookPage);
    topSizer->Add(wxNotebookPage, 0, wxALIGN_TOP | wxALL, 5);

    // Right of the notebook: room for the plot, then the generator and the exit button.
    wxBoxSizer *rightSizer = new wxBoxSizer(wxVERTICAL);
    topSizer->Add(rightSizer, 1, wxEXPAND | wxALL, 0);
    rightSizer->AddSpacer(CURVE_PLOT_POSITION.y + CURVE_PLOT_SIZE.y);

    wxBoxSizer *generatorSizer = new wxBoxSizer(wxHORIZONTAL);
    rightSizer->Add(generatorSizer, 0, wxALIGN_LEFT | wxTOP | wxBOTTOM, 5);
    wxArrayString models;
    for (size_t i = 0; i < kCurveModelCount; ++i)
        models.Add(CurveModelName(static_cast<CurveModel>(i)));
    wxComboBoxResetCurve = new wxComboBox(this, ID_COMBOBOX_RESET_CURVE, _("Linear"), wxDefaultPosition,
                                          wxSize(120, -1), models, wxCB_DROPDOWN);
    wxComboBoxResetCurve->SetStringSelection(_("Linear"));
    if (tips)
        wxComboBoxResetCurve->SetToolTip(_("Select here the predefined curve model"));
    generatorSizer->Add(wxComboBoxResetCurve, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    wxButtonGenerateCurve = new wxButton(this, ID_BUTTON_GENERATE_CURVE, _("Generate"));
    if (tips)
        wxButtonGenerateCurve->SetToolTip(_("Click to generate the selected curve model"));
    generatorSizer->Add(wxButtonGenerateCurve, 0, wxALIGN_CENTER_VERTICAL, 0);

    wxButtonSaveQuitCurve =
        new wxButton(this, ID_BUTTON_SAVE_QUIT_CURVE, _("Check && Exit"), wxDefaultPosition, wxSize(110, 20));
    if (tips)
        wxButtonSaveQuitCurve->SetToolTip(_("Click to check and exit user curve"));
    rightSizer->Add(wxButtonSaveQuitCurve, 0, wxALIGN_RIGHT | wxRIGHT | wxTOP, 10);
}

void UserCurvesedition::DisplayCurves()
{
    wxTextCtrl *fields[2] = {wxTextCtrlCurve1, wxTextCtrlCurve2};
    const uint8_t *curves[2] = {user_curve_1, user_curve_2};
    for (int i = 0; i < 2; ++i) {
        if (!fields[i])
            continue;
        fields[i]->Clear();
        fields[i]->SetValue(wxString(CurveToText(curves[i])));
    }
}

bool UserCurvesedition::CheckCurves(uint8_t *curve, wxTextCtrl *field)
{
    if (!field)
        return false;
    const CurveCheck check = CheckCurveText(field->GetValue().ToStdWstring(), curve);
    if (!check.ok()) {
        ShowCurveError(check);
        return false;
    }
    need_to_save_lib = true;
    return true;
}

void UserCurvesedition::RemoveCurveLayer()
{
    if (MyCurve && m_plot)
        m_plot->DelLayer(MyCurve, true);
    MyCurve = nullptr;
}

void UserCurvesedition::UpdateGraph()
{
    const EditStep step(kCurvesStep, ID_USERCURVESEDITION);
    const int page = wxNotebookPage->GetSelection();
    wxTextCtrl *field = nullptr;
    if (page == 0)
        field = wxTextCtrlCurve1;
    else if (page == 1)
        field = wxTextCtrlCurve2;
    else
        return;
    uint8_t *curve = CurveOfPage(page);
    if (!CheckCurves(curve, field) || !m_plot)
        return;
    RemoveCurveLayer();
    MyCurve = new MyPlot(curve);
    MyCurve->SetPen(wxPen(*wxBLUE, 1, wxPENSTYLE_SOLID));
    m_plot->AddLayer(MyCurve);
    m_plot->Fit(MyCurve->GetMinX(), MyCurve->GetMaxX(), MyCurve->GetMinY(), MyCurve->GetMaxY());
}

void UserCurvesedition::OnNotebookPagePageChanged(wxNotebookEvent &event)
{
    const int page = event.GetSelection();
    wxTextCtrl *field = page == 0 ? wxTextCtrlCurve1 : page == 1 ? wxTextCtrlCurve2 : nullptr;
    if (!field || !CurvePageIsPlottable(field->GetValue().ToStdWstring(), CurveOfPage(page)))
        return;
    UpdateGraph();
    event.Skip();
}

void UserCurvesedition::OnButtonUpdateGraphClick(wxCommandEvent &event)
{
    UpdateGraph();
    event.Skip();
}

void UserCurvesedition::OnButtonUpdateGraph2Click(wxCommandEvent &event)
{
    UpdateGraph();
    event.Skip();
}

void UserCurvesedition::OnButtonGenerateClick(wxCommandEvent &event)
{
    const EditStep step(kCurvesStep, ID_USERCURVESEDITION);
    const wxString model = wxComboBoxResetCurve->GetValue();
    const int page = wxNotebookPage->GetSelection();
    GenerateCurve(model.ToStdWstring(), CurveOfPage(page == 1 ? 1 : 0));
    need_to_save_lib = true;
    DisplayCurves();
    UpdateGraph();
    event.Skip();
}

void UserCurvesedition::OnButtonSaveClick(wxCommandEvent &event)
{
    const EditStep step(kCurvesStep, ID_USERCURVESEDITION);
    RemoveCurveLayer();
    // Page 1 is stored whole before page 2 is looked at; a fault keeps the dialog open.
    CurveCheck failure;
    const int failed = CheckBothCurveTexts(wxTextCtrlCurve1->GetValue().ToStdWstring(), user_curve_1,
                                           wxTextCtrlCurve2->GetValue().ToStdWstring(), user_curve_2, &failure);
    if (failed != 1)
        need_to_save_lib = true;
    if (failed) {
        ShowCurveError(failure);
    } else {
        Show(false);
        EditHistory().CloseMerging();
    }
    event.Skip();
}

bool UserCurvesedition::ShowToolTips()
{
    return true;
}

wxBitmap UserCurvesedition::GetBitmapResource(const wxString &name)
{
    wxUnusedVar(name);
    return wxNullBitmap;
}

wxIcon UserCurvesedition::GetIconResource(const wxString &name)
{
    wxUnusedVar(name);
    return wxNullIcon;
}
