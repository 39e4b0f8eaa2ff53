// Writes the program's window icon as a PNG file, for the desktop's menus.
//   icon_export OUTPUT.png
#include <cstdio>

#include <wx/image.h>
#include <wx/init.h>

#include "cvq9_resources.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon_export OUTPUT.png\n");
        return 2;
    }
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 1;
    wxImage::AddHandler(new wxPNGHandler);
    wxImage icon(Cvq9AppIconXpm());
    if (!icon.IsOk() || !icon.SaveFile(wxString::FromUTF8(argv[1]), wxBITMAP_TYPE_PNG)) {
        std::fprintf(stderr, "icon_export: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
