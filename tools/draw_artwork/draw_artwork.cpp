// Draws every built-in picture of the editor and writes it as XPM C source.
//
// The panel pictures, the control sprites, the LED, the toolbar images and the
// program icon all come from here, drawn at the geometry of panel_geometry, so
// the artwork can be regenerated at any time and never drifts from the hit
// areas the view uses. Regenerate from the repository's root with:
//
//   cmake -S tools/draw_artwork -B build-artwork && cmake --build build-artwork -j2
//   xvfb-run -a build-artwork/draw_artwork resources [PREVIEW_DIR]
//
// It writes resources/xpm/<name>.xpm for each picture (name without ".bmp"),
// resources/xpm/IDI_ICON1.xpm for the program icon, and the same icon at the
// desktop's sizes as resources/icons/cvq9_config_soft-<size>.png. With PREVIEW_DIR it
// also writes PNG previews there: both panels with every control shown
// selected, the sprites, and the toolbar images enlarged.
// Before writing it checks that every item of a kind looks the same on the
// panel, so that one green picture fits every item of its kind.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>

#include "panel_art.h"
#include "panel_geometry.h"
#include "pixel_icons.h"
#include "xpm_writer.h"

namespace {

// The panel pictures and sprites keep to one character per pixel.
constexpr unsigned kMaxColours = 92;

std::string BaseName(const std::string &name)
{
    const size_t dot = name.rfind(".bmp");
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// C identifier of a picture's data: "knob_green.bmp" gives "knob_green_bmp_xpm".
std::string VariableName(const std::string &name)
{
    std::string v;
    for (char c : name)
        v += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return v + "_xpm";
}

bool SameImage(const wxImage &a, const wxImage &b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    return std::memcmp(a.GetData(), b.GetData(), size_t(a.GetWidth()) * size_t(a.GetHeight()) * 3) == 0;
}

// Share of pixels that differ between two images of the same size.
double DifferingShare(const wxImage &a, const wxImage &b)
{
    const size_t n = size_t(a.GetWidth()) * size_t(a.GetHeight());
    size_t differing = 0;
    for (size_t i = 0; i < n; ++i) {
        if (std::memcmp(a.GetData() + 3 * i, b.GetData() + 3 * i, 3) != 0)
            ++differing;
    }
    return n ? double(differing) / double(n) : 0.0;
}

void CheckSpritesFitEveryItem()
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        const wxImage panel = RenderPanel(form, -1, Look::Normal, false);
        for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
            const PanelItem item = PanelItemGeometry(i, form);
            const unsigned rep = RepresentativeItem(item.kind);
            const PanelForm rep_form = RepresentativeForm(item.kind);
            const wxImage rep_panel = RenderPanel(rep_form, -1, Look::Normal, false);
            const wxImage here = CropViewRect(panel, item.rect);
            const wxImage there = CropViewRect(rep_panel, PanelItemGeometry(rep, rep_form).rect);
            if (!SameImage(here, there)) {
                throw std::runtime_error("item " + std::to_string(i) + " does not look like item " +
                                         std::to_string(rep) + " on the panel: something is drawn into its rectangle");
            }
        }
    }
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        const wxImage normal = RenderSprite(kind, Look::Normal);
        for (Look look : {Look::Green, Look::Red}) {
            if (DifferingShare(normal, RenderSprite(kind, look)) < 0.10) {
                throw std::runtime_error(std::string(PictureKindBaseName(kind)) + ": lit picture hardly differs");
            }
        }
    }
}

void WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out << text;
    if (!out)
        throw std::runtime_error("write failed: " + path);
}

void WriteXpm(const std::string &dir, const std::string &name, const wxImage &image)
{
    int w = 0, h = 0;
    if (BuiltInPictureSize(name, &w, &h) && (image.GetWidth() != w || image.GetHeight() != h)) {
        throw std::runtime_error(name + ": wrong picture size");
    }
    const std::string xpm = ImageToXpm(image, VariableName(name), kMaxColours, {PanelFaceRgb(), PanelFrameRgb()});
    WriteText(dir + "/" + BaseName(name) + ".xpm", xpm);
}

wxImage PictureByName(const std::string &name)
{
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        if (name == PanelPictureName(form))
            return RenderPanel(form, -1, Look::Normal, false);
    }
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        if (name == GreenPictureName(kind))
            return RenderSprite(kind, Look::Green);
        if (name == RedPictureName(kind))
            return RenderSprite(kind, Look::Red);
    }
    if (name == MIDI_LED_PICTURE_NAME)
        return RenderLitLed();
    wxImage icon = RenderToolbarIcon(name);
    if (!icon.IsOk())
        throw std::runtime_error("no drawing for " + name);
    return icon;
}

// The panel as the view shows it with every control selected: each green
// picture pasted at its item, over the panel drawn 10 columns to the left.
wxImage ViewWithEverythingSelected(PanelForm form)
{
    const wxImage panel = RenderPanel(form, -1, Look::Normal, true);
    wxImage view(PANEL_PICTURE_WIDTH, PANEL_PICTURE_HEIGHT);
    view.Paste(panel, PANEL_PICTURE_VIEW_X, PANEL_PICTURE_VIEW_Y);
    for (unsigned i = 0; i < PANEL_ITEM_COUNT; ++i) {
        const PanelItem item = PanelItemGeometry(i, form);
        if (i % 3 != 0 && item.kind != PictureKind::Lfo)
            continue;  // every third control, and the LFO
        view.Paste(PictureByName(GreenPictureName(item.kind)), item.rect.x, item.rect.y);
    }
    return view;
}

void WritePreviews(const std::string &dir)
{
    wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    for (PanelForm form : {PanelForm::Infrared, PanelForm::Ribbon}) {
        const std::string base = BaseName(PanelPictureName(form));
        RenderPanel(form, -1, Look::Normal, false).SaveFile(dir + "/" + base + ".png", wxBITMAP_TYPE_PNG);
        ViewWithEverythingSelected(form).SaveFile(dir + "/" + base + "_selected.png", wxBITMAP_TYPE_PNG);
    }
    // Sprite sheet: normal, green and red of each kind side by side, enlarged.
    wxImage sheet(3 * 150, 13 * 120);
    sheet.SetRGB(wxRect(0, 0, sheet.GetWidth(), sheet.GetHeight()), 255, 255, 255);
    for (unsigned k = 0; k < PICTURE_KIND_COUNT; ++k) {
        const PictureKind kind = PictureKindAt(k);
        const Look looks[] = {Look::Normal, Look::Green, Look::Red};
        for (int l = 0; l < 3; ++l) {
            wxImage sprite = RenderSprite(kind, looks[l]);
            const int scale = sprite.GetWidth() > 70 ? 1 : (sprite.GetHeight() > 60 ? 1 : 3);
            sprite.Rescale(sprite.GetWidth() * scale, sprite.GetHeight() * scale, wxIMAGE_QUALITY_NEAREST);
            if (sprite.GetHeight() > 118)
                sprite = sprite.GetSubImage(wxRect(0, 0, sprite.GetWidth(), 118));
            sheet.Paste(sprite, 150 * l + 2, 120 * int(k) + 1);
        }
    }
    sheet.SaveFile(dir + "/sprites.png", wxBITMAP_TYPE_PNG);
    // Toolbar images, the LED and the icon, enlarged 4 times on grey.
    const char *const tools[] = {"new.bmp",  "open.bmp",  "save.bmp",  "print.bmp",  "help.bmp",
                                 "copy.bmp", "paste.bmp", "clear.bmp", "import.bmp", "export.bmp"};
    wxImage icons(11 * 72 + 40, 140);
    icons.SetRGB(wxRect(0, 0, icons.GetWidth(), icons.GetHeight()), 212, 212, 212);
    int x = 4;
    for (const char *tool : tools) {
        wxImage icon = RenderToolbarIcon(tool);
        icon.Rescale(64, 60, wxIMAGE_QUALITY_NEAREST);
        icons.Paste(icon, x, 4, wxIMAGE_ALPHA_BLEND_COMPOSE);
        x += 72;
    }
    wxImage led = RenderLitLed();
    led.Rescale(48, 28, wxIMAGE_QUALITY_NEAREST);
    icons.Paste(led, 4, 80);
    wxImage app = RenderAppIcon(32);
    icons.Paste(app, 80, 80, wxIMAGE_ALPHA_BLEND_COMPOSE);
    app.Rescale(64, 64, wxIMAGE_QUALITY_NEAREST);
    icons.Paste(app, 130, 70, wxIMAGE_ALPHA_BLEND_COMPOSE);
    icons.SaveFile(dir + "/icons.png", wxBITMAP_TYPE_PNG);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::cerr << "usage: draw_artwork RESOURCES_DIR [PREVIEW_DIR]\n";
        return 2;
    }
    // The toolkit's GUI part (fonts, graphics contexts) needs an application object and a display.
    wxApp::SetInstance(new wxApp);
    // Only the program name goes to the toolkit: the arguments are ours.
    int toolkit_argc = 1;
    if (!wxEntryStart(toolkit_argc, argv) || !wxTheApp->CallOnInit()) {
        std::cerr << "draw_artwork: cannot start the toolkit (run it under xvfb-run)\n";
        return 1;
    }
    wxInitAllImageHandlers();
    try {
        CheckSpritesFitEveryItem();
        const std::string xpm_dir = std::string(argv[1]) + "/xpm";
        wxFileName::Mkdir(xpm_dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        for (const BuiltInPicture &picture : BuiltInPictures()) {
            WriteXpm(xpm_dir, picture.name, PictureByName(picture.name));
        }
        WriteXpm(xpm_dir, "IDI_ICON1", RenderAppIcon(32));
        // The program icon at the desktop icon theme's sizes, installed from here.
        const std::string icon_dir = std::string(argv[1]) + "/icons";
        wxFileName::Mkdir(icon_dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const std::string path = icon_dir + "/cvq9_config_soft-" + std::to_string(size) + ".png";
            if (!RenderAppIcon(size).SaveFile(path, wxBITMAP_TYPE_PNG))
                throw std::runtime_error("cannot write " + path);
        }
        if (argc >= 3)
            WritePreviews(argv[2]);
    } catch (const std::exception &e) {
        std::cerr << "draw_artwork: " << e.what() << "\n";
        wxEntryCleanup();
        return 1;
    }
    wxEntryCleanup();
    return 0;
}
