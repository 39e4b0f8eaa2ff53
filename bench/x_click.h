// A mouse that clicks through the X server, as a user's hand does: the events
// reach the program by the same way as real ones. For the benchmarks only.
#pragma once

class XClicker
{
public:
    XClicker();  // on $DISPLAY
    ~XClicker();
    XClicker(const XClicker &) = delete;
    XClicker &operator=(const XClicker &) = delete;
    bool Opened() const { return display_ != nullptr; }
    void MoveTo(int x, int y);  // screen coordinates; waits until the server has it
    void Click();               // press and release of the first button, sent at once
private:
    void *display_;
};
