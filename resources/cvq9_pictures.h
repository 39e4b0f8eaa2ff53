// The built-in pictures as toolkit images and bitmaps.
//
// The pictures are kept as XPM data (cvq9_resources.h). The toolkit's own XPM
// reader looks every pixel up through a text-keyed table, which makes the
// 800 x 338 panel picture a noticeable part of the program's start-up; this
// reader decodes the simple form tools/draw_artwork writes (one or two
// characters per pixel, colours as "c #RRGGBB" or "c None") through a direct
// table and gives the same image: the same pixels, and the "None" pixels
// transparent through a mask colour no visible pixel has.
#ifndef CVQ9_PICTURES_H
#define CVQ9_PICTURES_H

#include <wx/bitmap.h>
#include <wx/image.h>

// The image of XPM data whose rows are terminated texts. Data of another form
// (other colour notations, more than two characters per pixel, undefined
// pixel characters, missing or short rows: the array must hold the header,
// the colours and the rows) and nullptr give the invalid image.
wxImage XpmToImage(const char *const *xpm);

// The bitmap of XPM data, through XpmToImage; the null bitmap for nullptr.
wxBitmap XpmToBitmap(const char *const *xpm);

// The bitmap of the built-in picture `name` (FindXpmResource); the null
// bitmap for an unknown name.
wxBitmap BuiltInBitmap(const char *name);

#endif
