#include "x_click.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XClicker::XClicker() : display_(XOpenDisplay(nullptr)) {}

XClicker::~XClicker()
{
    if (display_)
        XCloseDisplay(static_cast<Display *>(display_));
}

void XClicker::MoveTo(int x, int y)
{
    Display *display = static_cast<Display *>(display_);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

void XClicker::Click()
{
    Display *display = static_cast<Display *>(display_);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}
