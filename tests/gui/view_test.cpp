// The front-panel view: construction from the "HardwareVersion" setting, the
// panel form following the hardware version, the drawn selection, painting
// (through the view's own handlers and on the screen) and the built-in pictures.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/utils.h>

#include "CVQ9View.h"
#include "config_tables.h"
#include "cvq9_resources.h"
#include "panel_geometry.h"
#include "settings.h"

namespace {

// A view in a plain frame, with a settings store of its own in a temporary file.
class ViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings_path_ = wxFileName::CreateTempFileName("cvq9_view");
        RemoveSettingsFile();
        previous_ = CVQ9_SOFT_config;
        CVQ9_SOFT_config = nullptr;
        InstallSettings();
        saved_control_index_ = ControlIndex;
        saved_selection_ = all_selected_ctrl;
        saved_hw_version_ = hw_version_float;
    }

    void TearDown() override
    {
        DestroyView();
        delete CVQ9_SOFT_config;
        CVQ9_SOFT_config = previous_;
        RemoveSettingsFile();
        ControlIndex = saved_control_index_;
        all_selected_ctrl = saved_selection_;
        hw_version_float = saved_hw_version_;
    }

    void RemoveSettingsFile()
    {
        if (wxFileExists(settings_path_))
            wxRemoveFile(settings_path_);
    }

    void InstallSettings()
    {
        delete CVQ9_SOFT_config;
        CVQ9_SOFT_config =
            new wxFileConfig("cvq9_view_test", wxEmptyString, settings_path_, wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    }

    // Writes the settings to their file and reads them back in a new store, as a new run would.
    void RestartSettings()
    {
        CVQ9_SOFT_config->Flush();
        InstallSettings();
    }

    CVQ9View *MakeView()
    {
        DestroyView();
        frame_ = new wxFrame(nullptr, wxID_ANY, "view", wxPoint(0, 0), wxSize(820, 380));
        view_ = new CVQ9View(frame_, 0, 0, 0, 0, 0);
        // The frame sizes its only child to its client area: make that the view's size.
        frame_->SetClientSize(view_->GetSize());
        pCVQ9View = view_;
        return view_;
    }

    void DestroyView()
    {
        if (frame_) {
            frame_->Destroy();
            frame_ = nullptr;
            view_ = nullptr;
            wxTheApp->ProcessIdle();
        }
    }

    wxString ReadSetting(const wxString &key) { return CVQ9_SOFT_config->Read(key, wxString("<absent>")); }

    // Runs the view's erase handler, then its paint-time drawing, into a memory
    // picture of the view's size, the way the toolkit hands the erase event a context.
    wxImage RenderThroughEraseHandler()
    {
        wxBitmap picture(view_->GetClientSize().GetWidth(), view_->GetClientSize().GetHeight(), 24);
        {
            wxMemoryDC dc(picture);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            wxEraseEvent erase(view_->GetId(), &dc);
            erase.SetEventObject(view_);
            view_->GetEventHandler()->ProcessEvent(erase);
        }
        return picture.ConvertToImage();
    }

    static wxImage ResourceImage(const char *name)
    {
        const char *const *xpm = FindXpmResource(name);
        return xpm ? wxBitmap(xpm).ConvertToImage() : wxImage();
    }

    static bool SamePixel(const wxImage &a, int ax, int ay, const wxImage &b, int bx, int by)
    {
        return a.GetRed(ax, ay) == b.GetRed(bx, by) && a.GetGreen(ax, ay) == b.GetGreen(bx, by) &&
               a.GetBlue(ax, ay) == b.GetBlue(bx, by);
    }

    // Number of pixels of `rect` (view coordinates) in `view_image` that differ
    // from the panel picture drawn 10 columns to the left.
    static int DifferencesFromPanel(const wxImage &view_image, const wxImage &panel, const wxRect &rect)
    {
        int differing = 0;
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            for (int x = rect.x; x < rect.x + rect.width; ++x) {
                if (!SamePixel(view_image, x, y, panel, x - PANEL_PICTURE_VIEW_X, y))
                    ++differing;
            }
        }
        return differing;
    }

    // True when `rect` of `view_image` shows the picture `sprite` pixel for pixel.
    static bool ShowsSprite(const wxImage &view_image, const wxRect &rect, const wxImage &sprite)
    {
        for (int y = 0; y < rect.height; ++y) {
            for (int x = 0; x < rect.width; ++x) {
                if (!SamePixel(view_image, rect.x + x, rect.y + y, sprite, x, y))
                    return false;
            }
        }
        return true;
    }

    wxFrame *frame_ = nullptr;
    CVQ9View *view_ = nullptr;

private:
    wxString settings_path_;
    wxFileConfig *previous_ = nullptr;
    unsigned saved_control_index_ = 0;
    std::vector<int> saved_selection_;
    float saved_hw_version_ = 0.0f;
};

wxRect Rect(int x, int y, int w, int h)
{
    return wxRect(x, y, w, h);
}

void ExpectItemsMatchGeometry(const CVQ9View &view, PanelForm form)
{
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        const PanelItem item = PanelItemGeometry(i, form);
        EXPECT_EQ(view.all[i].rect, Rect(item.rect.x, item.rect.y, item.rect.w, item.rect.h)) << "item " << i;
        const unsigned k = static_cast<unsigned>(item.kind);
        EXPECT_EQ(view.all[i].pbitmapGreen, &view.bitmaps[2 * k]) << "item " << i;
        EXPECT_EQ(view.all[i].pbitmapRed, &view.bitmaps[2 * k + 1]) << "item " << i;
        // Each item is exactly as large as its green picture.
        ASSERT_TRUE(view.all[i].pbitmapGreen->IsOk()) << "item " << i;
        EXPECT_EQ(view.all[i].pbitmapGreen->GetWidth(), item.rect.w) << "item " << i;
        EXPECT_EQ(view.all[i].pbitmapGreen->GetHeight(), item.rect.h) << "item " << i;
    }
}

}  // namespace

// --- Construction --------------------------------------------------------------

TEST_F(ViewTest, FirstRunShowsTheRibbonPanel)
{
    CVQ9View *view = MakeView();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Ribbon);
    EXPECT_EQ(view->all[5].rect, Rect(753, 52, 27, 113));
    ExpectItemsMatchGeometry(*view, PanelForm::Ribbon);
    // Reading the setting does not create it.
    EXPECT_EQ(ReadSetting("HardwareVersion"), "<absent>");
}

TEST_F(ViewTest, StoredInfraredShowsTheInfraredPanel)
{
    CVQ9_SOFT_config->Write("HardwareVersion", "Infrared");
    CVQ9View *view = MakeView();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Infrared);
    EXPECT_EQ(view->all[5].rect, Rect(718, 17, 53, 20));
    ExpectItemsMatchGeometry(*view, PanelForm::Infrared);
}

TEST_F(ViewTest, AnyOtherStoredTextShowsTheRibbonPanel)
{
    for (const char *text : {"Ribbon", "0", "", "infrared", "2.0"}) {
        CVQ9_SOFT_config->Write("HardwareVersion", text);
        CVQ9View *view = MakeView();
        EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Ribbon) << text;
        EXPECT_EQ(view->all[5].rect, Rect(753, 52, 27, 113)) << text;
    }
}

TEST_F(ViewTest, WithoutAnySettingsStoreTheViewUsesTheDefault)
{
    delete CVQ9_SOFT_config;
    CVQ9_SOFT_config = nullptr;
    CVQ9View *view = MakeView();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Ribbon);
    hw_version_float = 1.0f;
    view->UpdateGuiFromHwVersion();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Infrared);
    InstallSettings();
}

TEST_F(ViewTest, ViewSizesItselfToThePanelPicture)
{
    CVQ9View *view = MakeView();
    EXPECT_EQ(view->GetSize(), wxSize(800, 338));
    EXPECT_EQ(view->GetPosition(), wxPoint(0, 0));
    ASSERT_TRUE(view->background.IsOk());
    EXPECT_EQ(view->background.GetWidth(), 800);
    EXPECT_EQ(view->background.GetHeight(), 338);
    EXPECT_EQ(view->GetName(), wxString(wxPanelNameStr));
    // A size passed in is overridden; the position is kept.
    DestroyView();
    frame_ = new wxFrame(nullptr, wxID_ANY, "view", wxPoint(0, 0), wxSize(820, 380));
    view_ = new CVQ9View(frame_, 3, 4, 100, 50, 0);
    EXPECT_EQ(view_->GetSize(), wxSize(800, 338));
    EXPECT_EQ(view_->GetPosition(), wxPoint(3, 4));
}

TEST_F(ViewTest, TwentySixPicturesGreenThenRedInTableOrder)
{
    CVQ9View *view = MakeView();
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        const PanelRect size = PictureKindSize(kind);
        for (unsigned colour = 0; colour < 2; ++colour) {
            const wxBitmap &bitmap = view->bitmaps[2 * k + colour];
            ASSERT_TRUE(bitmap.IsOk()) << PictureKindBaseName(kind);
            EXPECT_EQ(bitmap.GetWidth(), size.w) << PictureKindBaseName(kind);
            EXPECT_EQ(bitmap.GetHeight(), size.h) << PictureKindBaseName(kind);
        }
        // The green picture is the one named green.
        const wxImage green = view->bitmaps[2 * k].ConvertToImage();
        const wxImage named = ResourceImage(GreenPictureName(kind).c_str());
        EXPECT_EQ(std::memcmp(green.GetData(), named.GetData(), size_t(size.w) * size_t(size.h) * 3), 0)
            << PictureKindBaseName(kind);
    }
}

TEST_F(ViewTest, LedTimersExistStoppedWithTheirIdentifiers)
{
    CVQ9View *view = MakeView();
    ASSERT_NE(view->midi_in_led_timer, nullptr);
    ASSERT_NE(view->midi_out_led_timer, nullptr);
    EXPECT_EQ(view->midi_in_led_timer->GetId(), 1000010);
    EXPECT_EQ(view->midi_out_led_timer->GetId(), 1000011);
    EXPECT_EQ(view->midi_in_led_timer->GetOwner(), view);
    EXPECT_EQ(view->midi_out_led_timer->GetOwner(), view);
    EXPECT_FALSE(view->midi_in_led_timer->IsRunning());
    EXPECT_FALSE(view->midi_out_led_timer->IsRunning());
    ASSERT_TRUE(yellow_led.IsOk());
    EXPECT_EQ(yellow_led.GetWidth(), 12);
    EXPECT_EQ(yellow_led.GetHeight(), 7);
    EXPECT_FALSE(view->midi_led_lit[0]);
    EXPECT_FALSE(view->midi_led_lit[1]);
}

TEST_F(ViewTest, RightClickMenuHasCopyPasteClearAllDisabled)
{
    MakeView();
    ASSERT_NE(pMenuRightClick, nullptr);
    ASSERT_EQ(pMenuRightClick->GetMenuItemCount(), 3u);
    const struct {
        int id;
        const char *label;
        const char *help;
    } expected[] = {{1000, "&Copy", "Copy"}, {1001, "&Paste", "Paste"}, {1002, "&Clear", "Clear"}};
    for (size_t i = 0; i < 3; ++i) {
        const wxMenuItem *item = pMenuRightClick->FindItemByPosition(i);
        EXPECT_EQ(item->GetId(), expected[i].id);
        EXPECT_EQ(item->GetItemLabel(), expected[i].label);
        EXPECT_EQ(item->GetHelp(), expected[i].help);
        EXPECT_FALSE(item->IsEnabled()) << expected[i].label;
    }
    DestroyView();
    EXPECT_EQ(pMenuRightClick, nullptr);
}

// --- Panel form from the hardware version ------------------------------------------

TEST_F(ViewTest, HardwareOneZeroSwitchesToInfraredAndTheNextRunStartsThere)
{
    CVQ9View *view = MakeView();
    hw_version_float = 1.0f;
    view->UpdateGuiFromHwVersion();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Infrared);
    EXPECT_EQ(view->all[5].rect, Rect(718, 17, 53, 20));
    EXPECT_EQ(view->all[5].pbitmapGreen, &view->bitmaps[2 * static_cast<unsigned>(PictureKind::Infrared)]);
    EXPECT_EQ(view->all[5].pbitmapRed, &view->bitmaps[2 * static_cast<unsigned>(PictureKind::Infrared) + 1]);
    EXPECT_EQ(ReadSetting("HardwareVersion"), "Infrared");
    // Only item 5 changed.
    ExpectItemsMatchGeometry(*view, PanelForm::Infrared);

    RestartSettings();
    CVQ9View *next = MakeView();
    EXPECT_EQ(next->CurrentPanelForm(), PanelForm::Infrared);
    EXPECT_EQ(next->all[5].rect, Rect(718, 17, 53, 20));
}

TEST_F(ViewTest, HardwareExactlyTwoGivesTheRibbonPanel)
{
    CVQ9_SOFT_config->Write("HardwareVersion", "Infrared");
    CVQ9View *view = MakeView();
    ASSERT_EQ(view->CurrentPanelForm(), PanelForm::Infrared);
    hw_version_float = 2.0f;
    view->UpdateGuiFromHwVersion();
    EXPECT_EQ(view->CurrentPanelForm(), PanelForm::Ribbon);
    EXPECT_EQ(view->all[5].rect, Rect(753, 52, 27, 113));
    EXPECT_EQ(view->all[5].pbitmapGreen, &view->bitmaps[2 * static_cast<unsigned>(PictureKind::Ribbon)]);
    EXPECT_EQ(ReadSetting("HardwareVersion"), "Ribbon");
    ExpectItemsMatchGeometry(*view, PanelForm::Ribbon);
}

TEST_F(ViewTest, VersionsBelowTwoAreInfraredAboveAreRibbon)
{
    CVQ9View *view = MakeView();
    const struct {
        float version;
        PanelForm form;
        const char *stored;
    } cases[] = {{0.0f, PanelForm::Infrared, "Infrared"},
                 {1.2f, PanelForm::Infrared, "Infrared"},
                 {1.0f + 9 * 0.1f, PanelForm::Infrared, "Infrared"},
                 {2.1f, PanelForm::Ribbon, "Ribbon"},
                 {1.9f, PanelForm::Infrared, "Infrared"},
                 {3.0f, PanelForm::Ribbon, "Ribbon"}};
    for (const auto &c : cases) {
        hw_version_float = c.version;
        view->UpdateGuiFromHwVersion();
        EXPECT_EQ(view->CurrentPanelForm(), c.form) << c.version;
        EXPECT_EQ(ReadSetting("HardwareVersion"), c.stored) << c.version;
    }
}

TEST_F(ViewTest, SwitchingFormKeepsTheSelectionDrawn)
{
    CVQ9View *view = MakeView();
    ControlIndex = 5;
    view->DisplaySelected();
    hw_version_float = 1.0f;
    view->UpdateGuiFromHwVersion();
    ASSERT_EQ(view->arrSelectedItems.GetCount(), 1u);
    EXPECT_EQ(view->arrSelectedItems.GetFirst()->GetData(), &view->all[5]);
    EXPECT_EQ(view->arrSelectedItems.GetFirst()->GetData()->rect, Rect(718, 17, 53, 20));
}

// --- Drawn selection ----------------------------------------------------------------

TEST_F(ViewTest, DisplaySelectedDrawsControlIndexAloneAndLeavesTheSelectionList)
{
    CVQ9View *view = MakeView();
    view->ManageSelectedItem(&view->all[9]);
    view->ManageSelectedItem(&view->all[12]);
    all_selected_ctrl = {9, 12, 40};
    ControlIndex = 40;
    view->DisplaySelected();
    ASSERT_EQ(view->arrSelectedItems.GetCount(), 1u);
    EXPECT_EQ(view->arrSelectedItems.GetFirst()->GetData(), &view->all[40]);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{9, 12, 40}));
}

TEST_F(ViewTest, DisplaySelectedWithAnIndexOutsideTheRosterDrawsNothing)
{
    CVQ9View *view = MakeView();
    view->ManageSelectedItem(&view->all[9]);
    ControlIndex = 67;
    view->DisplaySelected();
    EXPECT_EQ(view->arrSelectedItems.GetCount(), 0u);
}

TEST_F(ViewTest, ManageSelectedItemTogglesAndKeepsTheOrderOfAdding)
{
    CVQ9View *view = MakeView();
    view->ManageSelectedItem(&view->all[20]);
    view->ManageSelectedItem(&view->all[8]);
    view->ManageSelectedItem(&view->all[66]);
    ASSERT_EQ(view->arrSelectedItems.GetCount(), 3u);
    EXPECT_EQ(view->arrSelectedItems.Item(0)->GetData(), &view->all[20]);
    EXPECT_EQ(view->arrSelectedItems.Item(1)->GetData(), &view->all[8]);
    EXPECT_EQ(view->arrSelectedItems.Item(2)->GetData(), &view->all[66]);
    view->ManageSelectedItem(&view->all[8]);
    ASSERT_EQ(view->arrSelectedItems.GetCount(), 2u);
    EXPECT_EQ(view->arrSelectedItems.Item(0)->GetData(), &view->all[20]);
    EXPECT_EQ(view->arrSelectedItems.Item(1)->GetData(), &view->all[66]);
    view->ManageSelectedItem(&view->all[8]);
    EXPECT_EQ(view->arrSelectedItems.Item(2)->GetData(), &view->all[8]);
    view->ManageSelectedItem(nullptr);
    EXPECT_EQ(view->arrSelectedItems.GetCount(), 3u);
}

// --- Painting through the handlers -----------------------------------------------------

TEST_F(ViewTest, WithNothingSelectedTheViewShowsOnlyThePanelPictureShiftedLeft)
{
    CVQ9View *view = MakeView();
    const wxImage shown = RenderThroughEraseHandler();
    const wxImage panel = ResourceImage("design_front_cs_v11.bmp");
    EXPECT_EQ(DifferencesFromPanel(shown, panel, Rect(0, 0, 790, 338)), 0);
    // The bare columns at the right take the picture's frame colour.
    EXPECT_TRUE(SamePixel(shown, 795, 100, panel, 799, 0));
    (void)view;
}

TEST_F(ViewTest, ASelectedControlIsDrawnWithItsGreenPictureAndNothingElseChanges)
{
    CVQ9View *view = MakeView();
    const wxImage panel = ResourceImage("design_front_cs_v11.bmp");
    for (unsigned index : {1u, 5u, 8u, 40u, 48u, 49u, 56u, 57u, 66u}) {
        ControlIndex = index;
        view->DisplaySelected();
        const wxImage shown = RenderThroughEraseHandler();
        const wxRect rect = view->all[index].rect;
        const wxImage green = view->all[index].pbitmapGreen->ConvertToImage();
        EXPECT_TRUE(ShowsSprite(shown, rect, green)) << "index " << index;
        // Visible at a glance: a good part of the item's pixels change.
        EXPECT_GT(DifferencesFromPanel(shown, panel, rect), rect.width * rect.height / 10) << "index " << index;
        // Outside the item the panel is untouched.
        const int outside =
            DifferencesFromPanel(shown, panel, Rect(0, 0, 790, 338)) - DifferencesFromPanel(shown, panel, rect);
        EXPECT_EQ(outside, 0) << "index " << index;
    }
}

TEST_F(ViewTest, OverlappingJoystickItemsAreEachClippedToTheirRectangle)
{
    CVQ9View *view = MakeView();
    view->ManageSelectedItem(&view->all[6]);
    view->ManageSelectedItem(&view->all[55]);
    const wxImage shown = RenderThroughEraseHandler();
    // Drawn in list order: the joystick button last, over the overlap.
    const wxImage button = view->all[55].pbitmapGreen->ConvertToImage();
    EXPECT_TRUE(ShowsSprite(shown, view->all[55].rect, button));
    const wxImage x_axis = view->all[6].pbitmapGreen->ConvertToImage();
    const wxRect x_rect = view->all[6].rect;
    // The part of the X item right of the button item shows the X picture.
    const int right_of_button = view->all[55].rect.GetRight() + 1;
    for (int y = x_rect.y; y < x_rect.GetBottom(); ++y) {
        for (int x = right_of_button; x <= x_rect.GetRight(); ++x) {
            ASSERT_TRUE(SamePixel(shown, x, y, x_axis, x - x_rect.x, y - x_rect.y)) << x << "," << y;
        }
    }
}

TEST_F(ViewTest, InfraredPanelDrawsTheInfraredPictures)
{
    CVQ9_SOFT_config->Write("HardwareVersion", "Infrared");
    CVQ9View *view = MakeView();
    ControlIndex = 5;
    view->DisplaySelected();
    const wxImage shown = RenderThroughEraseHandler();
    const wxImage panel = ResourceImage("design_front_cs_v10.bmp");
    EXPECT_TRUE(ShowsSprite(shown, Rect(718, 17, 53, 20), ResourceImage("infrared_green.bmp")));
    EXPECT_EQ(DifferencesFromPanel(shown, panel, Rect(0, 0, 718, 338)), 0);
}

TEST_F(ViewTest, LitLedIsDrawnAtItsPlaceAndADarkOneIsNot)
{
    CVQ9View *view = MakeView();
    const wxImage panel = ResourceImage("design_front_cs_v11.bmp");
    const wxImage led = ResourceImage("led_yellow.bmp");
    view->midi_led_lit[1] = true;
    const wxImage shown = RenderThroughEraseHandler();
    EXPECT_TRUE(ShowsSprite(shown, Rect(724, 118, 12, 7), led));
    EXPECT_EQ(DifferencesFromPanel(shown, panel, Rect(724, 105, 12, 7)), 0);
    EXPECT_GT(DifferencesFromPanel(shown, panel, Rect(724, 118, 12, 7)), 12 * 7 / 3);
}

// --- Built-in pictures --------------------------------------------------------------------

TEST(BuiltInPictures, EveryNameGivesAPictureOfItsSize)
{
    for (const BuiltInPicture &picture : BuiltInPictures()) {
        const char *const *xpm = FindXpmResource(picture.name);
        ASSERT_NE(xpm, nullptr) << picture.name;
        int w = 0, h = 0, colours = 0, chars = 0;
        ASSERT_EQ(std::sscanf(xpm[0], "%d %d %d %d", &w, &h, &colours, &chars), 4) << picture.name;
        EXPECT_EQ(w, picture.w) << picture.name;
        EXPECT_EQ(h, picture.h) << picture.name;
        const wxBitmap bitmap(xpm);
        ASSERT_TRUE(bitmap.IsOk()) << picture.name;
        EXPECT_EQ(bitmap.GetWidth(), picture.w) << picture.name;
        EXPECT_EQ(bitmap.GetHeight(), picture.h) << picture.name;
    }
    size_t count = 0;
    Cvq9XpmResources(&count);
    EXPECT_EQ(count, BuiltInPictures().size());
}

TEST(BuiltInPictures, UnknownNamesGiveNothing)
{
    EXPECT_EQ(FindXpmResource(nullptr), nullptr);
    EXPECT_EQ(FindXpmResource(""), nullptr);
    EXPECT_EQ(FindXpmResource("knob_green"), nullptr);
    EXPECT_EQ(FindXpmResource("KNOB_GREEN.BMP"), nullptr);
    EXPECT_EQ(FindXpmResource("knob_blue.bmp"), nullptr);
    EXPECT_EQ(FindXpmResource("IDI_ICON1"), nullptr);
}

TEST(BuiltInPictures, ProgramIconIsThirtyTwoSquareWithTransparentCorners)
{
    const wxBitmap icon(Cvq9AppIconXpm());
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(icon.GetWidth(), 32);
    EXPECT_EQ(icon.GetHeight(), 32);
    const wxImage image = icon.ConvertToImage();
    ASSERT_TRUE(image.HasMask() || image.HasAlpha());
    EXPECT_TRUE(image.IsTransparent(0, 0));
    EXPECT_FALSE(image.IsTransparent(16, 16));
}

TEST(BuiltInPictures, ToolbarImagesHaveATransparentBackgroundAndAFigure)
{
    for (const char *name : {"new.bmp", "open.bmp", "save.bmp", "print.bmp", "help.bmp", "copy.bmp", "paste.bmp",
                             "clear.bmp", "import.bmp", "export.bmp"}) {
        const wxImage image = wxBitmap(FindXpmResource(name)).ConvertToImage();
        ASSERT_TRUE(image.IsOk()) << name;
        int transparent = 0;
        for (int y = 0; y < image.GetHeight(); ++y) {
            for (int x = 0; x < image.GetWidth(); ++x)
                transparent += image.IsTransparent(x, y) ? 1 : 0;
        }
        EXPECT_GT(transparent, 0) << name;
        EXPECT_LT(transparent, 16 * 15 * 3 / 4) << name;
    }
}

TEST(BuiltInPictures, GreenAndRedPicturesOfAKindDiffer)
{
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        const wxImage green = wxBitmap(FindXpmResource(GreenPictureName(kind).c_str())).ConvertToImage();
        const wxImage red = wxBitmap(FindXpmResource(RedPictureName(kind).c_str())).ConvertToImage();
        int differing = 0;
        for (int y = 0; y < green.GetHeight(); ++y) {
            for (int x = 0; x < green.GetWidth(); ++x) {
                differing +=
                    (green.GetRed(x, y) != red.GetRed(x, y) || green.GetGreen(x, y) != red.GetGreen(x, y)) ? 1 : 0;
            }
        }
        EXPECT_GT(differing, green.GetWidth() * green.GetHeight() / 10) << PictureKindBaseName(kind);
    }
}

// --- On the screen (one at a time: nothing may cover the window) ------------------------

class SerialViewOnScreen : public ViewTest
{
protected:
    // What the screen shows of the view, and a copy saved as PNG.
    wxImage Grab(const wxString &name)
    {
        // Wait (by event rounds, not by time) until the view has been painted,
        // then until two pictures of the screen in a row agree, so that neither
        // an earlier window's remains nor a half-finished drawing is taken.
        bool painted = false;
        view_->Bind(wxEVT_PAINT, [&painted](wxPaintEvent &event) {
            painted = true;
            event.Skip();
        });
        frame_->Show();
        frame_->Raise();
        view_->Refresh(true);
        for (int round = 0; round < 500 && !painted; ++round) {
            wxTheApp->Yield(true);
            wxMilliSleep(10);
        }
        EXPECT_TRUE(painted);
        wxImage previous;
        wxBitmap picture;
        for (int round = 0; round < 100; ++round) {
            wxTheApp->Yield(true);
            wxMilliSleep(20);
            picture = GrabScreen(view_->GetScreenRect());
            const wxImage now = picture.ConvertToImage();
            if (previous.IsOk() && std::memcmp(previous.GetData(), now.GetData(),
                                               size_t(now.GetWidth()) * size_t(now.GetHeight()) * 3) == 0) {
                break;
            }
            previous = now;
        }
        const wxString folder = wxString::FromUTF8(CVQ9_BINARY_DIR) + "/screenshots";
        wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        picture.SaveFile(folder + "/" + name + ".png", wxBITMAP_TYPE_PNG);
        return picture.ConvertToImage();
    }

    // What the X server shows in `rect`, read by ImageMagick's import from the
    // root window (the toolkit's screen context can hand back an older picture).
    static wxBitmap GrabScreen(const wxRect &rect)
    {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        const wxString base = wxFileName::CreateTempFileName("cvq9_grab");
        const wxString path = base + ".png";
        const wxString command = wxString::Format("import -window root -crop %dx%d+%d+%d +repage %s", rect.width,
                                                  rect.height, rect.x, rect.y, path);
        wxImage image;
        if (std::system(command.utf8_str()) == 0)
            image.LoadFile(path, wxBITMAP_TYPE_PNG);
        wxRemoveFile(path);
        wxRemoveFile(base);
        if (!image.IsOk())
            return wxBitmap(rect.width, rect.height, 24);
        return wxBitmap(image, 24);
    }

    void SelectSeveral(const std::vector<unsigned> &indices)
    {
        view_->arrSelectedItems.Clear();
        for (unsigned i : indices)
            view_->ManageSelectedItem(&view_->all[i]);
    }
};

TEST_F(SerialViewOnScreen, RibbonPanelWithASelectionAsShown)
{
    MakeView();
    SelectSeveral({0, 5, 7, 8, 21, 34, 43, 49, 53, 56, 57, 60, 66});
    const wxImage shown = Grab("view_ribbon_selected");
    const wxImage panel = ResourceImage("design_front_cs_v11.bmp");
    EXPECT_TRUE(ShowsSprite(shown, view_->all[8].rect, view_->all[8].pbitmapGreen->ConvertToImage()));
    EXPECT_TRUE(ShowsSprite(shown, view_->all[5].rect, view_->all[5].pbitmapGreen->ConvertToImage()));
    EXPECT_TRUE(ShowsSprite(shown, view_->all[66].rect, view_->all[66].pbitmapGreen->ConvertToImage()));
    EXPECT_EQ(DifferencesFromPanel(shown, panel, view_->all[9].rect), 0);
}

TEST_F(SerialViewOnScreen, InfraredPanelWithASelectionAsShown)
{
    CVQ9_SOFT_config->Write("HardwareVersion", "Infrared");
    MakeView();
    SelectSeveral({1, 5, 6, 16, 39, 40, 48, 50, 55, 58, 65});
    const wxImage shown = Grab("view_infrared_selected");
    const wxImage panel = ResourceImage("design_front_cs_v10.bmp");
    EXPECT_TRUE(ShowsSprite(shown, view_->all[5].rect, view_->all[5].pbitmapGreen->ConvertToImage()));
    EXPECT_TRUE(ShowsSprite(shown, view_->all[40].rect, view_->all[40].pbitmapGreen->ConvertToImage()));
    EXPECT_EQ(DifferencesFromPanel(shown, panel, view_->all[41].rect), 0);
}

TEST_F(SerialViewOnScreen, NothingSelectedShowsThePanelPictureOnly)
{
    MakeView();
    const wxImage shown = Grab("view_ribbon_plain");
    const wxImage panel = ResourceImage("design_front_cs_v11.bmp");
    EXPECT_EQ(DifferencesFromPanel(shown, panel, Rect(0, 0, 790, 338)), 0);
}
