// The user-curve dialog as the user meets it: opened the way the editor's
// "Edit" buttons open it, its widgets driven through their events, its error
// boxes recorded, its plot drawn into a picture and checked pixel by pixel.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "curve_models.h"
#include "gui_fixture.h"
#include "mathplot.h"
#include "usercurvesedition.h"

namespace {

// A text of 128 lines, each `value`, with line `line` replaced by `content`.
wxString CurveText(const wxString &value, int line = -1, const wxString &content = wxString())
{
    wxString text;
    for (int i = 0; i < 128; ++i) {
        if (i)
            text += "\n";
        text += (i == line) ? content : value;
    }
    return text;
}

void Fill(uint8_t *curve, uint8_t value)
{
    std::memset(curve, value, 128);
}

}  // namespace

class CurvesDialog : public GuiFixture
{
protected:
    UserCurvesedition *dlg = nullptr;

    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dlg = pcurveDialog;
        ASSERT_NE(dlg, nullptr);
        // Start-up's own messages (no MIDI ports here) are not the dialog's.
        dialogs.Clear();
    }

    // What the assignment tab's and the global tab's "Edit" buttons do.
    void Open(int page)
    {
        dlg->wxNotebookPage->SetSelection(page);
        dlg->Show();
        dlg->DisplayCurves();
        dlg->UpdateGraph();
        Pump();
    }

    // A click, delivered as the button delivers it.
    void Click(wxButton *button)
    {
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
        Pump();
    }

    void Generate(const wxString &model)
    {
        dlg->wxComboBoxResetCurve->SetValue(model);
        Click(dlg->wxButtonGenerateCurve);
    }

    std::vector<RecordedMessage> CurveErrors() const { return dialogs.WithCaption("Curve error"); }

    // The plot as it draws itself, at its size on the screen.
    wxImage PlotPicture()
    {
        const wxSize size = m_plot->GetClientSize();
        wxBitmap bitmap(size.x, size.y, 24);
        {
            wxMemoryDC dc(bitmap);
            m_plot->Render(dc);
        }
        return bitmap.ConvertToImage();
    }

    static bool IsBlue(const wxImage &image, int x, int y)
    {
        return image.GetRed(x, y) < 80 && image.GetGreen(x, y) < 80 && image.GetBlue(x, y) > 180;
    }

    // True when a blue pixel lies within `reach` pixels of the plotted point (x, y).
    bool BlueNear(const wxImage &image, double x, double y, int reach = 1)
    {
        const int px = m_plot->x2p(x), py = m_plot->y2p(y);
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                if (px + dx >= 0 && py + dy >= 0 && px + dx < image.GetWidth() && py + dy < image.GetHeight() &&
                    IsBlue(image, px + dx, py + dy))
                    return true;
        return false;
    }
};

// ---- Widgets --------------------------------------------------------------------

TEST_F(CurvesDialog, RosterLabelsAndTooltips)
{
    wxNotebook *book = dlg->wxNotebookPage;
    ASSERT_EQ(2u, book->GetPageCount());
    EXPECT_EQ("User curve 1", book->GetPageText(0));
    EXPECT_EQ("User curve 2", book->GetPageText(1));
    EXPECT_EQ(book->GetPage(0), dlg->wxPanelCurve1);
    EXPECT_EQ(book->GetPage(1), dlg->wxPanelCurve2);
    EXPECT_EQ(wxSize(200, 320), book->GetSize());
    EXPECT_EQ(wxColour(227, 230, 230), book->GetBackgroundColour());
    EXPECT_EQ("Select this tab to edit User curve 1", dlg->wxPanelCurve1->GetToolTipText());
    EXPECT_EQ("Select this tab to edit User curve 2", dlg->wxPanelCurve2->GetToolTipText());

    for (wxTextCtrl *field : {dlg->wxTextCtrlCurve1, dlg->wxTextCtrlCurve2}) {
        EXPECT_TRUE(field->IsMultiLine());
        EXPECT_TRUE(field->HasFlag(wxHSCROLL));
        EXPECT_EQ(wxSize(60, 265), field->GetSize());
        EXPECT_EQ("", field->GetValue());
        EXPECT_EQ("Enter here all 128 values corresponding to all 128 control physical positions",
                  field->GetToolTipText());
    }
    EXPECT_EQ(dlg->wxTextCtrlCurve1->GetParent(), dlg->wxPanelCurve1);
    EXPECT_EQ(dlg->wxTextCtrlCurve2->GetParent(), dlg->wxPanelCurve2);
    for (wxButton *update : {dlg->wxButtonUpdateGraph, dlg->wxButtonUpdateGraph2}) {
        EXPECT_EQ("Update", update->GetLabel());
        EXPECT_EQ("Click this button to update the graph", update->GetToolTipText());
    }
    EXPECT_EQ(dlg->wxButtonUpdateGraph->GetParent(), dlg->wxPanelCurve1);
    EXPECT_EQ(dlg->wxButtonUpdateGraph2->GetParent(), dlg->wxPanelCurve2);

    wxComboBox *combo = dlg->wxComboBoxResetCurve;
    const char *models[] = {"Zeros", "Linear", "Inv Linear", "Log", "Inv Log", "Expo", "Inv Expo", "Random"};
    ASSERT_EQ(8u, combo->GetCount());
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(models[i], combo->GetString(i));
    EXPECT_EQ(1, combo->GetSelection());
    EXPECT_EQ("Linear", combo->GetValue());
    EXPECT_FALSE(combo->HasFlag(wxCB_READONLY));
    EXPECT_EQ("Select here the predefined curve model", combo->GetToolTipText());

    EXPECT_EQ("Generate", dlg->wxButtonGenerateCurve->GetLabel());
    EXPECT_EQ("Click to generate the selected curve model", dlg->wxButtonGenerateCurve->GetToolTipText());
    EXPECT_EQ("Check && Exit", dlg->wxButtonSaveQuitCurve->GetLabel());
    EXPECT_EQ("Check & Exit", dlg->wxButtonSaveQuitCurve->GetLabelText());
    EXPECT_EQ(110, dlg->wxButtonSaveQuitCurve->GetSize().x);
    EXPECT_EQ("Click to check and exit user curve", dlg->wxButtonSaveQuitCurve->GetToolTipText());
    EXPECT_TRUE(UserCurvesedition::ShowToolTips());
    EXPECT_FALSE(dlg->GetBitmapResource("any").IsOk());
    EXPECT_FALSE(dlg->GetIconResource("any").IsOk());
}

TEST_F(CurvesDialog, PlotWindowPlaceScaleAndAxes)
{
    ASSERT_NE(m_plot, nullptr);
    EXPECT_EQ(m_plot->GetParent(), dlg);
    EXPECT_EQ(wxPoint(173, 43), m_plot->GetPosition());
    EXPECT_EQ(wxSize(256, 256), m_plot->GetSize());
    EXPECT_TRUE(m_plot->HasFlag(wxSUNKEN_BORDER));
    EXPECT_DOUBLE_EQ(128.0, m_plot->GetScaleX());
    EXPECT_EQ(nullptr, MyCurve) << "nothing is plotted before the dialog is opened";
    EXPECT_EQ(2u, m_plot->CountLayers()) << "the two axes";
}

TEST_F(CurvesDialog, ClosingOnlyHides)
{
    Open(0);
    EXPECT_TRUE(dlg->IsShown());
    dlg->Close();
    Pump();
    EXPECT_FALSE(dlg->IsShown());
    EXPECT_EQ(pcurveDialog, dlg);
    Open(1);
    EXPECT_TRUE(dlg->IsShown());
    EXPECT_EQ(1, dlg->wxNotebookPage->GetSelection());
}

// ---- Opening --------------------------------------------------------------------

TEST_F(CurvesDialog, OpeningShowsBothTablesAndPlotsTheSelectedPage)
{
    GenerateCurve(L"Log", user_curve_1);
    GenerateCurve(L"Inv Linear", user_curve_2);
    need_to_save_lib = false;
    TablesSnapshot before;
    Open(1);
    EXPECT_EQ(wxString(CurveToText(user_curve_1)), dlg->wxTextCtrlCurve1->GetValue());
    EXPECT_EQ(wxString(CurveToText(user_curve_2)), dlg->wxTextCtrlCurve2->GetValue());
    EXPECT_EQ(128, dlg->wxTextCtrlCurve1->GetNumberOfLines());
    EXPECT_EQ(128, dlg->wxTextCtrlCurve2->GetNumberOfLines());
    EXPECT_EQ("127", dlg->wxTextCtrlCurve1->GetLineText(127));
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_EQ(user_curve_2, MyCurve->m_curve);
    EXPECT_EQ("User curve", MyCurve->GetName());
    EXPECT_EQ(*wxBLUE, MyCurve->GetPen().GetColour());
    EXPECT_EQ(1, MyCurve->GetPen().GetWidth());
    EXPECT_EQ(wxPENSTYLE_SOLID, MyCurve->GetPen().GetStyle());
    EXPECT_TRUE(m_plot->HasLayer(MyCurve));
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(CurvesDialog, EachUpdateReplacesTheLayer)
{
    Open(0);
    MyPlot *first = MyCurve;
    ASSERT_NE(nullptr, first);
    Click(dlg->wxButtonUpdateGraph);
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_TRUE(m_plot->HasLayer(MyCurve));
    EXPECT_EQ(3u, m_plot->CountLayers()) << "two axes and one curve, whatever the number of updates";
    Click(dlg->wxButtonUpdateGraph);
    EXPECT_EQ(3u, m_plot->CountLayers());
}

TEST_F(CurvesDialog, GetYAtTheEnds)
{
    GenerateCurve(L"Linear", user_curve_1);
    user_curve_1[127] = 99;
    MyPlot layer(user_curve_1);
    EXPECT_DOUBLE_EQ(99.0, layer.GetY(127.9));
    EXPECT_DOUBLE_EQ(0.0, layer.GetY(128.0));
    EXPECT_DOUBLE_EQ(0.0, layer.GetY(0.5));
    EXPECT_DOUBLE_EQ(64.0, layer.GetY(64.99));
    EXPECT_DOUBLE_EQ(0.0, layer.GetMinX());
    EXPECT_DOUBLE_EQ(128.0, layer.GetMaxX());
    EXPECT_DOUBLE_EQ(0.0, layer.GetMinY());
    EXPECT_DOUBLE_EQ(128.0, layer.GetMaxY());
}

// ---- Generate ----------------------------------------------------------------------

TEST_F(CurvesDialog, GenerateFillsTheCurveOfTheCurrentPage)
{
    Fill(user_curve_1, 50);
    Fill(user_curve_2, 60);
    Open(0);
    need_to_save_lib = false;
    TablesSnapshot before;

    Generate("Log");
    const int log_first[] = {0, 9, 18, 28, 36, 42};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(log_first[i], user_curve_1[i]) << i;
    EXPECT_EQ(60, user_curve_1[10]);
    EXPECT_EQ(120, user_curve_1[100]);
    EXPECT_EQ(127, user_curve_1[127]);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(60, user_curve_2[i]) << "page 2's curve untouched";
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_EQ(wxString(CurveToText(user_curve_1)), dlg->wxTextCtrlCurve1->GetValue());
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_EQ(user_curve_1, MyCurve->m_curve);

    // Only the curve tables changed.
    TablesSnapshot after;
    after.curve1 = before.curve1;
    EXPECT_TABLES_EQ(before, after);

    dlg->wxNotebookPage->SetSelection(1);
    Pump();
    Generate("Expo");
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(0, user_curve_2[i]) << i;
    EXPECT_EQ(1, user_curve_2[8]);
    EXPECT_EQ(2, user_curve_2[26]);
    EXPECT_EQ(45, user_curve_2[100]);
    EXPECT_EQ(127, user_curve_2[127]);
    EXPECT_EQ(127, user_curve_1[127]) << "page 1's curve kept";
    EXPECT_EQ(wxString(CurveToText(user_curve_2)), dlg->wxTextCtrlCurve2->GetValue());
    EXPECT_EQ(user_curve_2, MyCurve->m_curve);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(CurvesDialog, GenerateEveryModelFromTheList)
{
    Open(0);
    for (unsigned i = 0; i < dlg->wxComboBoxResetCurve->GetCount(); ++i) {
        dlg->wxComboBoxResetCurve->SetSelection(static_cast<int>(i));
        Click(dlg->wxButtonGenerateCurve);
        const CurveModel model = static_cast<CurveModel>(i);
        if (model == CurveModel::Random) {
            for (int k = 0; k < 128; ++k)
                EXPECT_LE(user_curve_1[k], 126);
        } else {
            for (int k = 0; k < 128; ++k)
                ASSERT_EQ(CurveModelPoint(model, static_cast<size_t>(k)), user_curve_1[k])
                    << CurveModelName(model) << " at " << k;
        }
    }
    EXPECT_EQ(127, CurveModelPoint(CurveModel::InvLinear, 0));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(CurvesDialog, GenerateWithUnknownTextKeepsTheCurveButRedisplays)
{
    Fill(user_curve_1, 77);
    Open(0);
    dlg->wxTextCtrlCurve1->SetValue("typed but not checked");
    need_to_save_lib = false;
    Generate("Sine");
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(77, user_curve_1[i]);
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_EQ(wxString(CurveToText(user_curve_1)), dlg->wxTextCtrlCurve1->GetValue());
}

// ---- Errors of the text ---------------------------------------------------------------

TEST_F(CurvesDialog, TrailingLineBreakIsRefusedWithTheCount)
{
    GenerateCurve(L"Linear", user_curve_1);
    Open(0);
    MyPlot *plotted = MyCurve;
    dlg->wxTextCtrlCurve1->SetValue(CurveText("5") + "\n");
    need_to_save_lib = false;
    TablesSnapshot before;
    Click(dlg->wxButtonUpdateGraph);
    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect number of values\n(128 values required, found 129)", errors[0].text);
    EXPECT_TRUE(errors[0].style & wxOK);
    EXPECT_TRUE(errors[0].style & wxCENTRE);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_EQ(plotted, MyCurve) << "the plot is left as it was";
    EXPECT_TRUE(dlg->IsShown());
}

TEST_F(CurvesDialog, LetterIsRefusedWithItsLineAndEarlierLinesAreStored)
{
    Fill(user_curve_2, 100);
    Open(1);
    dlg->wxTextCtrlCurve2->SetValue(CurveText("3", 7, "12a"));
    Click(dlg->wxButtonUpdateGraph2);
    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect value found at line 7", errors[0].text);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(3, user_curve_2[i]) << i;
    for (int i = 7; i < 128; ++i)
        EXPECT_EQ(100, user_curve_2[i]) << i;
}

TEST_F(CurvesDialog, ValueAbove127IsRefusedWithTheSecondMessage)
{
    Open(0);
    dlg->wxTextCtrlCurve1->SetValue(CurveText("1", 0, "128"));
    Click(dlg->wxButtonUpdateGraph);
    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect value found at line 0\nAll values must be between 0 and 127", errors[0].text);
}

TEST_F(CurvesDialog, ValidTypedTextIsStoredAndPlotted)
{
    Open(0);
    dlg->wxTextCtrlCurve1->SetValue(CurveText("90", 2, ""));
    need_to_save_lib = false;
    Click(dlg->wxButtonUpdateGraph);
    EXPECT_TRUE(CurveErrors().empty()) << dialogs.Describe();
    EXPECT_EQ(90, user_curve_1[0]);
    EXPECT_EQ(0, user_curve_1[2]) << "an empty line stores 0";
    EXPECT_EQ(90, user_curve_1[127]);
    EXPECT_TRUE(need_to_save_lib);
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_EQ(user_curve_1, MyCurve->m_curve);
}

// ---- Page change --------------------------------------------------------------------------

TEST_F(CurvesDialog, PageChangeReplotsAValidPage)
{
    GenerateCurve(L"Log", user_curve_1);
    GenerateCurve(L"Expo", user_curve_2);
    Open(0);
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_EQ(user_curve_1, MyCurve->m_curve);
    dlg->wxNotebookPage->SetSelection(1);
    Pump();
    ASSERT_NE(nullptr, MyCurve);
    EXPECT_EQ(user_curve_2, MyCurve->m_curve);
    dlg->wxNotebookPage->SetSelection(0);
    Pump();
    EXPECT_EQ(user_curve_1, MyCurve->m_curve);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(CurvesDialog, PageChangeIgnoresAPageWithoutExactly128Lines)
{
    Open(0);
    MyPlot *plotted = MyCurve;
    dlg->wxTextCtrlCurve2->SetValue(CurveText("1") + "\n");
    TablesSnapshot before;
    dlg->wxNotebookPage->SetSelection(1);
    Pump();
    EXPECT_TRUE(dialogs.messages.empty()) << "no check, so no message: " << dialogs.Describe();
    EXPECT_EQ(plotted, MyCurve);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(CurvesDialog, PageChangeWithA128LineFaultyPageReportsIt)
{
    Open(0);
    dlg->wxTextCtrlCurve2->SetValue(CurveText("1", 4, "x"));
    dlg->wxNotebookPage->SetSelection(1);
    Pump();
    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect value found at line 4", errors[0].text);
}

// ---- Check && Exit ----------------------------------------------------------------------

TEST_F(CurvesDialog, CheckAndExitStoresPage1BeforeFailingOnPage2)
{
    Fill(user_curve_1, 0);
    Fill(user_curve_2, 0);
    Open(1);
    dlg->wxTextCtrlCurve1->SetValue(CurveText("11"));
    dlg->wxTextCtrlCurve2->SetValue(CurveText("22", 30, "300"));
    need_to_save_lib = false;
    TablesSnapshot before;
    Click(dlg->wxButtonSaveQuitCurve);

    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect value found at line 30\nAll values must be between 0 and 127", errors[0].text);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(11, user_curve_1[i]) << "page 1 stored whole, at " << i;
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(22, user_curve_2[i]) << i;
    for (int i = 30; i < 128; ++i)
        EXPECT_EQ(0, user_curve_2[i]) << i;
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_TRUE(dlg->IsShown()) << "the dialog stays open";
    EXPECT_EQ(nullptr, MyCurve) << "the curve layer was taken out of the plot";
    EXPECT_EQ(2u, m_plot->CountLayers());

    TablesSnapshot after;
    after.curve1 = before.curve1;
    after.curve2 = before.curve2;
    EXPECT_TABLES_EQ(before, after);

    // Once page 2 is right, both are stored and the dialog goes away.
    dialogs.Clear();
    dlg->wxTextCtrlCurve2->SetValue(CurveText("22"));
    Click(dlg->wxButtonSaveQuitCurve);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_EQ(22, user_curve_2[127]);
    EXPECT_FALSE(dlg->IsShown());
}

TEST_F(CurvesDialog, CheckAndExitStopsAtPage1)
{
    Fill(user_curve_2, 9);
    Open(0);
    dlg->wxTextCtrlCurve1->SetValue("1\n2\n3");
    dlg->wxTextCtrlCurve2->SetValue(CurveText("44"));
    need_to_save_lib = false;
    Click(dlg->wxButtonSaveQuitCurve);
    const auto errors = CurveErrors();
    ASSERT_EQ(1u, errors.size()) << dialogs.Describe();
    EXPECT_EQ("Uncorrect number of values\n(128 values required, found 3)", errors[0].text);
    EXPECT_EQ(9, user_curve_2[0]) << "page 2 not looked at";
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_TRUE(dlg->IsShown());
}

// ---- The plot ---------------------------------------------------------------------------

TEST_F(CurvesDialog, PlotFitsTheLayerAndDrawsTheCurve)
{
    GenerateCurve(L"Linear", user_curve_1);
    Open(0);
    const wxRect area = m_plot->GetPlotArea();
    EXPECT_EQ(area.GetLeft(), m_plot->x2p(0.0));
    EXPECT_EQ(area.GetRight(), m_plot->x2p(128.0));
    EXPECT_EQ(area.GetBottom(), m_plot->y2p(0.0));
    EXPECT_EQ(area.GetTop(), m_plot->y2p(128.0));

    const wxImage picture = PlotPicture();
    for (double x : {10.0, 40.0, 64.0, 100.0, 120.0})
        EXPECT_TRUE(BlueNear(picture, x + 0.5, x, 2)) << "linear curve at " << x;
    EXPECT_FALSE(BlueNear(picture, 100.0, 20.0, 2)) << "nothing blue away from the curve";
    // The axes' numbers and frame are drawn in black outside the plotting area.
    bool dark_left = false;
    for (int y = area.GetTop(); y <= area.GetBottom() && !dark_left; ++y)
        for (int x = 0; x < area.GetLeft() - 2 && !dark_left; ++x)
            dark_left = picture.GetRed(x, y) < 100 && picture.GetBlue(x, y) < 100;
    EXPECT_TRUE(dark_left) << "numbers of the vertical axis";

    // A generated inverse curve replaces the line.
    Generate("Inv Linear");
    const wxImage inverse = PlotPicture();
    EXPECT_TRUE(BlueNear(inverse, 10.5, 117.0, 2));
    EXPECT_FALSE(BlueNear(inverse, 10.5, 10.0, 2));
}

TEST_F(CurvesDialog, PlotRefitsWhenResized)
{
    Open(0);
    const double scale = m_plot->GetScaleX();
    m_plot->SetSize(400, 300);
    Pump(20);
    ASSERT_EQ(wxSize(400, 300), m_plot->GetSize());
    EXPECT_GT(m_plot->GetScaleX(), scale);
    EXPECT_EQ(m_plot->GetPlotArea().GetRight(), m_plot->x2p(128.0));
    EXPECT_EQ(m_plot->GetPlotArea().GetBottom(), m_plot->y2p(0.0));
}

TEST(MathPlotTicks, NiceSteps)
{
    EXPECT_DOUBLE_EQ(20.0, mpTickStep(1.7, 40.0));  // 23.5 units wanted: 20 is nearer than 50
    EXPECT_DOUBLE_EQ(1.0, mpTickStep(40.0, 40.0));
    EXPECT_DOUBLE_EQ(5.0, mpTickStep(10.0, 40.0));
    EXPECT_DOUBLE_EQ(10.0, mpTickStep(4.0, 40.0));
    EXPECT_DOUBLE_EQ(0.5, mpTickStep(100.0, 40.0));
    EXPECT_DOUBLE_EQ(50.0, mpTickStep(1.0, 40.0));
    EXPECT_DOUBLE_EQ(1.0, mpTickStep(0.0, 40.0)) << "no scale: a step of 1";
}

namespace {

// A function layer that counts its deletion, for the ownership rules.
struct CountedFX : public mpFX {
    double value;
    int *deleted;
    CountedFX(double v, int *d) : mpFX(wxT("counted")), value(v), deleted(d) {}
    ~CountedFX() override
    {
        if (deleted)
            ++*deleted;
    }
    double GetY(double) override { return value; }
};

}  // namespace

TEST_F(CurvesDialog, PlotLayersAreOwnedByTheWindow)
{
    int deleted = 0;
    {
        mpWindow *plot = new mpWindow(dlg, wxID_ANY, wxPoint(0, 0), wxSize(100, 100));
        CountedFX *kept = new CountedFX(1.0, &deleted);
        CountedFX *removed = new CountedFX(2.0, &deleted);
        EXPECT_TRUE(plot->AddLayer(kept));
        EXPECT_FALSE(plot->AddLayer(kept)) << "a layer is added once";
        EXPECT_FALSE(plot->AddLayer(nullptr));
        EXPECT_TRUE(plot->AddLayer(removed));
        EXPECT_EQ(2u, plot->CountLayers());
        EXPECT_TRUE(plot->DelLayer(removed, false));
        EXPECT_FALSE(plot->DelLayer(removed, true)) << "no longer in the window";
        EXPECT_EQ(0, deleted);
        delete removed;
        EXPECT_EQ(1, deleted);
        plot->Destroy();
    }
    Pump();
    EXPECT_EQ(2, deleted) << "the window deleted the layer it still held";
}

TEST_F(CurvesDialog, PlotSurvivesValuesOutsideAnyWindow)
{
    mpWindow *plot = new mpWindow(dlg, wxID_ANY, wxPoint(0, 0), wxSize(120, 90));
    plot->AddLayer(new mpScaleX);
    plot->AddLayer(new mpScaleY);
    plot->AddLayer(new CountedFX(std::numeric_limits<double>::infinity(), nullptr));
    plot->AddLayer(new CountedFX(std::nan(""), nullptr));
    plot->AddLayer(new CountedFX(-1e300, nullptr));
    plot->Fit(0, 10, 0, 10);
    wxBitmap bitmap(120, 90, 24);
    {
        wxMemoryDC dc(bitmap);
        plot->Render(dc);
    }
    EXPECT_TRUE(bitmap.IsOk());
    EXPECT_EQ(1000000, plot->y2p(-1e300));
    EXPECT_EQ(-1000000, plot->x2p(std::nan("")));
    plot->Destroy();
}

// ---- Picture ------------------------------------------------------------------------------

class SerialCurvesScreenshot : public CurvesDialog
{
protected:
    // The toolkit redraws on its frame clock: give it a few frames before the picture.
    void LetTheScreenCatchUp()
    {
        for (int i = 0; i < 15; ++i) {
            Pump();
            wxMilliSleep(20);
        }
    }

    // The dialog as the X server shows it, cut out of the whole screen by
    // ImageMagick (an in-process screen copy can return the first frame again).
    wxString ScreenPicture(const wxString &name)
    {
        LetTheScreenCatchUp();
        const wxString folder = wxString::FromUTF8(CVQ9_SCREENSHOT_DIR);
        wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        const wxString path = folder + "/" + name + ".png";
        const wxRect rect = dlg->GetScreenRect();
        const wxString command = wxString::Format("import -window root -crop %dx%d+%d+%d +repage '%s'", rect.width,
                                                  rect.height, rect.x, rect.y, path);
        wxArrayString output, errors;
        EXPECT_EQ(0, wxExecute(command, output, errors, wxEXEC_SYNC)) << command;
        return path;
    }
};

TEST_F(SerialCurvesScreenshot, DialogWithLogAndExpoCurves)
{
    GenerateCurve(L"Log", user_curve_1);
    GenerateCurve(L"Expo", user_curve_2);
    Open(0);
    dlg->wxComboBoxResetCurve->SetValue("Log");
    const wxString log = ScreenPicture("curves_dialog_log");
    ASSERT_TRUE(FileExists(log)) << log;
    wxImage picture(log, wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(picture.IsOk());
    EXPECT_EQ(dlg->GetScreenRect().GetSize(), picture.GetSize());

    dlg->wxNotebookPage->SetSelection(1);
    const wxString expo = ScreenPicture("curves_dialog_expo");
    EXPECT_TRUE(FileExists(expo)) << expo;
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}
