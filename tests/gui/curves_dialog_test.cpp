// The user-curve dialog as the Edit buttons open it: typed curves checked,
// stored and plotted, generated models, page changes, Check & Exit, the plot.
#include <cmath>
#include <limits>

#include <wx/dcmemory.h>

#include "curve_models.h"
#include "gui_fixture.h"
#include "mathplot.h"
#include "usercurvesedition.h"

// 128 lines of `value`, line `line` replaced by `content`.
static wxString CurveText(const wxString &value, int line = -1, const wxString &content = wxString())
{
    wxString text;
    for (int i = 0; i < 128; ++i)
        text += (i ? "\n" : "") + (i == line ? content : value);
    return text;
}

static std::vector<uint8_t> Curve(const uint8_t *curve)
{
    return std::vector<uint8_t>(curve, curve + 128);
}

static bool BlueNear(double x, double y)  // a blue pixel of the plot within two pixels of (x, y)
{
    wxBitmap bitmap(m_plot->GetClientSize().x, m_plot->GetClientSize().y, 24);
    {
        wxMemoryDC dc(bitmap);
        m_plot->Render(dc);
    }
    const wxImage image = bitmap.ConvertToImage();
    for (int px = m_plot->x2p(x) - 2; px <= m_plot->x2p(x) + 2; ++px)
        for (int py = m_plot->y2p(y) - 2; py <= m_plot->y2p(y) + 2; ++py)
            if (image.GetRed(px, py) < 80 && image.GetGreen(px, py) < 80 && image.GetBlue(px, py) > 180)
                return true;
    return false;
}

class CurvesDialog : public RunningApp
{
protected:
    UserCurvesedition *dlg = nullptr;

    // Opens the dialog as the assignment tab's Edit button does, on curve 1 or 2.
    void Open(int curve)
    {
        dlg = pcurveDialog;
        GenerateCurve(L"Linear", user_curve_1);
        GenerateCurve(L"Inv Linear", user_curve_2);
        Choose(pui->wxComboBoxCurveModel, 4 + curve);
        const TablesSnapshot before;
        Click(pui->wxButtonEditCurve);
        Pump();
        EXPECT_TABLES_EQ(before, TablesSnapshot());  // showing the curves changes nothing
        EXPECT_TRUE(dlg->IsShown());
        EXPECT_EQ(dlg->wxNotebookPage->GetSelection(), curve - 1);
        EXPECT_EQ(dlg->wxTextCtrlCurve1->GetValue() + dlg->wxTextCtrlCurve2->GetValue(),
                  CurveToText(user_curve_1) + CurveToText(user_curve_2));
        EXPECT_TRUE(MyCurve->m_curve == (curve == 1 ? user_curve_1 : user_curve_2) &&
                    MyCurve->GetPen().GetColour() == *wxBLUE);
        EXPECT_EQ(m_plot->CountLayers(), 3u);  // two axes and the curve
    }

    // Sets the texts shown (all but empty ones), then presses `button`.
    std::vector<wxString> Press(wxButton *button, const wxString &text1 = "", const wxString &text2 = "")
    {
        if (!text1.empty())
            dlg->wxTextCtrlCurve1->SetValue(text1);
        if (!text2.empty())
            dlg->wxTextCtrlCurve2->SetValue(text2);
        dialogs.Clear();
        need_to_save_lib = false;
        Click(button);
        Pump();
        return dialogs.Texts("Curve error");
    }
};

TEST_F(CurvesDialog, TypedCurvesAreCheckedStoredAndPlotted)
{
    Open(2);
    dlg->Close();  // closing only hides
    Pump();
    EXPECT_FALSE(dlg->IsShown());
    for (const char *shown : {"User 1", "Log."}) {  // the global tab's button: curve 1 for "User 1", else curve 2
        pui->wxComboBoxCurveModel->SetValue(shown);
        Click(pui->wxButtonEditCurveModels);
        EXPECT_EQ(dlg->wxNotebookPage->GetSelection(), wxString(shown) == "User 1" ? 0 : 1);
    }
    Open(1);
    MyPlot *plotted = MyCurve;
    // A fault (the rules have their unit test) is reported, the lines before it stored, the plot left as it was.
    const std::vector<uint8_t> old = Curve(user_curve_1);
    const std::vector<wxString> errors = Press(dlg->wxButtonUpdateGraph, CurveText("3", 7, "12a"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].Contains("line 7")) << errors[0];
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(user_curve_1[i], i < 7 ? 3 : old[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(MyCurve == plotted && !need_to_save_lib);
    dlg->wxNotebookPage->ChangeSelection(1);  // an empty line stores 0; page 2 has its own button
    EXPECT_TRUE(Press(dlg->wxButtonUpdateGraph2, "", CurveText("90", 2, "")).empty());
    EXPECT_EQ(Curve(user_curve_2)[0] + Curve(user_curve_2)[2], 90);
    EXPECT_TRUE(need_to_save_lib && MyCurve->m_curve == user_curve_2 && MyCurve->GetName() == "User curve");
    // A page change plots a page of 128 lines only, and reports a fault in it.
    dlg->wxTextCtrlCurve1->SetValue(CurveText("1") + "\n");
    dlg->wxNotebookPage->SetSelection(0);
    EXPECT_EQ(MyCurve->m_curve, user_curve_2);
    dlg->wxNotebookPage->SetSelection(1);
    dlg->wxTextCtrlCurve1->SetValue(CurveText("1", 4, "x"));
    dlg->wxNotebookPage->SetSelection(0);
    ASSERT_EQ(dialogs.Texts("Curve error").size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(dialogs.Texts("Curve error")[0].Contains("line 4"));
    EXPECT_FALSE(dlg->GetBitmapResource("").IsOk() || dlg->GetIconResource("").IsOk());
}

TEST_F(CurvesDialog, GenerateAndCheckAndExitStoreTheCurves)
{
    Open(1);
    dlg->wxNotebookPage->ChangeSelection(1);  // page 2 generates its own curve (the models have their unit test)
    dlg->wxComboBoxResetCurve->SetValue("Expo");
    Press(dlg->wxButtonGenerateCurve);
    EXPECT_EQ(user_curve_2[100], CurveModelPoint(CurveModel::Expo, 100));
    EXPECT_TRUE(need_to_save_lib && MyCurve->m_curve == user_curve_2);
    EXPECT_EQ(dlg->wxTextCtrlCurve2->GetValue(), wxString(CurveToText(user_curve_2)));
    dlg->wxNotebookPage->ChangeSelection(0);
    const std::vector<uint8_t> first = Curve(user_curve_1), second = Curve(user_curve_2);
    dlg->wxComboBoxResetCurve->SetValue("Sine");  // an unknown model keeps the curve and shows it again
    EXPECT_TRUE(Press(dlg->wxButtonGenerateCurve, "typed").empty());
    EXPECT_EQ(Curve(user_curve_1), first);
    EXPECT_EQ(dlg->wxTextCtrlCurve1->GetValue(), wxString(CurveToText(user_curve_1)));
    // Check & Exit stores page 1 whole before page 2 is looked at; a fault keeps the dialog open.
    EXPECT_EQ(Press(dlg->wxButtonSaveQuitCurve, "1\n2\n3", CurveText("44")).size(), 1u);
    EXPECT_EQ(Curve(user_curve_2), second);
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_EQ(Press(dlg->wxButtonSaveQuitCurve, CurveText("11"), CurveText("22", 30, "300")).size(), 1u);
    EXPECT_EQ(Curve(user_curve_1), std::vector<uint8_t>(128, 11));
    EXPECT_TRUE(Curve(user_curve_2)[29] == 22 && Curve(user_curve_2)[30] == second[30]);
    EXPECT_TRUE(need_to_save_lib && dlg->IsShown() && MyCurve == nullptr && m_plot->CountLayers() == 2);
    EXPECT_TRUE(Press(dlg->wxButtonSaveQuitCurve, "", CurveText("22")).empty());
    EXPECT_EQ(Curve(user_curve_2), std::vector<uint8_t>(128, 22));
    EXPECT_FALSE(dlg->IsShown());
}

struct CountedFX : mpFX {  // a function layer that counts its deletion
    double value;
    int *deleted;
    CountedFX(double v, int *d) : mpFX(wxT("counted")), value(v), deleted(d) {}
    ~CountedFX() override { *deleted += 1; }
    double GetY(double) override { return value; }
};

TEST_F(CurvesDialog, ThePlotDrawsTheCurveInItsAreaAndOwnsItsLayers)
{
    Open(1);
    EXPECT_EQ(wxRect(wxPoint(m_plot->x2p(0.0), m_plot->y2p(128.0)), wxPoint(m_plot->x2p(128.0), m_plot->y2p(0.0))),
              m_plot->GetPlotArea());
    EXPECT_TRUE(BlueNear(10.5, 10.0) && BlueNear(120.5, 120.0) && !BlueNear(100.0, 20.0));
    dlg->wxComboBoxResetCurve->SetValue("Inv Linear");
    Press(dlg->wxButtonGenerateCurve);
    EXPECT_TRUE(BlueNear(10.5, 117.0) && !BlueNear(10.5, 10.0));
    const double scale = m_plot->GetScaleX();  // resized, the plot fits its area again
    m_plot->SetSize(400, 300);
    Pump(20);
    EXPECT_TRUE(m_plot->GetScaleX() > scale && m_plot->GetPlotArea().GetRight() == m_plot->x2p(128.0));
    int deleted = 0;
    mpWindow *plot = new mpWindow(dlg, wxID_ANY, wxPoint(0, 0), wxSize(120, 90));
    CountedFX *kept = new CountedFX(1.0, &deleted), *removed = new CountedFX(2.0, &deleted);
    EXPECT_TRUE(plot->AddLayer(kept) && plot->AddLayer(removed));
    EXPECT_FALSE(plot->AddLayer(kept) || plot->AddLayer(nullptr));  // a layer is added once
    EXPECT_TRUE(plot->DelLayer(removed, false) && !plot->DelLayer(removed, true));
    delete removed;
    plot->AddLayer(new mpScaleX);
    plot->AddLayer(new mpScaleY);
    for (double odd : {std::numeric_limits<double>::infinity(), std::nan(""), -1e300})
        plot->AddLayer(new CountedFX(odd, &deleted));
    plot->Fit(0, 10, 0, 10);
    wxBitmap bitmap(120, 90, 24);
    {
        wxMemoryDC dc(bitmap);
        plot->Render(dc);
    }
    EXPECT_TRUE(plot->y2p(-1e300) == 1000000 && plot->x2p(std::nan("")) == -1000000);
    for (double step : {1.0, 2.0, 5.0, 10.0})
        EXPECT_DOUBLE_EQ(mpTickStep(40.0 / step, 40.0), step);
    EXPECT_DOUBLE_EQ(mpTickStep(0.0, 40.0), 1.0);
    plot->Destroy();
    Pump();
    EXPECT_EQ(deleted, 5);  // the window deleted the layers it held
}
