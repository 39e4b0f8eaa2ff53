// Starts a program and measures, on the X display, the time until its window
// with a given title is shown, then its peak resident memory.
//
//   startup_probe TITLE PROGRAM [ARGS...]
// prints "shown_ms=<ms> peak_kb=<kB>" and exits 0, or exits 1 when the window
// did not appear within 60 seconds. Message boxes titled "MIDI error" (shown
// by the editor on a machine without MIDI ports) are closed as they appear.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

extern char **environ;

namespace {

// Windows come and go while the tree is walked: a window gone between two
// requests is simply skipped.
int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

double NowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1.0e6;
}

std::string WindowName(Display *display, Window w)
{
    char *name = nullptr;
    std::string text;
    if (XFetchName(display, w, &name) && name) {
        text = name;
        XFree(name);
    }
    return text;
}

void CloseWindow(Display *display, Window w)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, w, False, NoEventMask, &event);
    XFlush(display);
}

// Walks the window tree: true when a viewable window is named `title`;
// closes viewable "MIDI error" boxes on the way.
bool FindShown(Display *display, Window w, const std::string &title, int depth)
{
    XWindowAttributes attributes;
    if (depth > 0 && XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable) {
        const std::string name = WindowName(display, w);
        if (name == title)
            return true;
        if (name == "MIDI error")
            CloseWindow(display, w);
    }
    if (depth >= 3)
        return false;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = FindShown(display, children[i], title, depth + 1);
    if (children)
        XFree(children);
    return found;
}

long PeakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string title = argv[1];
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no display\n");
        return 2;
    }
    XSetErrorHandler(&IgnoreXError);
    const double start = NowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "startup_probe: cannot start %s\n", argv[2]);
        return 2;
    }
    double shown = -1;
    while (NowMs() - start < 60000.0) {
        if (FindShown(display, DefaultRootWindow(display), title, 0)) {
            shown = NowMs() - start;
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s ended before its window appeared\n", argv[2]);
            return 1;
        }
        usleep(1000);
    }
    // Let the first paint and the idle work after showing happen before the peak is read.
    usleep(700000);
    const long peak = PeakResidentKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (shown < 0) {
        std::fprintf(stderr, "startup_probe: no window \"%s\" within 60 s\n", title.c_str());
        return 1;
    }
    std::printf("shown_ms=%.1f peak_kb=%ld\n", shown, peak);
    return 0;
}
