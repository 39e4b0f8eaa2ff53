// Benchmark: download all and upload all of groups 0..20 through the real
// editor panel against the simulated controller answering at once, with the
// MIDI monitor closed and open, and of groups 0..2 at DIN MIDI's wire speed
// (3125 bytes per second each way), against the wire's own time for the same
// bytes; the search for the controller among ten pairs of ports.
// Then, in runs of their own (so that the timed runs stay undisturbed):
// - how soon Cancel ends a running wait: Cancel is clicked through the X
//   server at varied moments of a transfer once Cancel is usable, as a click
//   arrives at any moment; the time is taken from the click to its handling, to the
//   "No answer received" box that follows the cancelled wait at once, and to
//   the end of the whole operation;
// - that the window keeps repainting during a transfer: the view is
//   invalidated every 50 ms and its paint events are counted with the delay
//   from request to paint, and the progress gauge is read off the X server's
//   screen (ImageMagick's import, from another thread) once a second.
// Run under a display: xvfb-run -a build/bench_transfers
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "midi_monitor.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "simulated_q9.h"
#include "x_click.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

struct Spread {
    double median = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values)
{
    Spread s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.median = values[values.size() / 2];
    s.max = values.back();
    return s;
}

// Raw RGB pixels of a screen rectangle as the X server shows it, or "" when
// the capture fails.
std::string CaptureScreen(const wxRect &rect, const std::string &file)
{
    const std::string geometry = wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y).utf8_string();
    std::string program = "import", window = "-window", root = "root", crop = "-crop", repage = "+repage";
    std::string geometry_arg = geometry, target = "rgb:" + file;
    char *argv[] = {&program[0], &window[0], &root[0], &crop[0], &geometry_arg[0], &repage[0], &target[0], nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "import", nullptr, nullptr, argv, environ) != 0)
        return std::string();
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::string();
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class BenchTransfers : public GuiFixture
{
protected:
    SimulatedQ9 q9;

    void SetUp() override
    {
        pmfake::Reset();
        pmfake::SetUsualSystem(&q9);
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();  // the preset library is not beside this program; it is not needed here
        pui->CheckboxIgnoreMIDI->SetValue(false);
        pui->CheckboxIgnoreLcd->SetValue(false);
        pui->CheckboxProgUndef->SetValue(false);
    }

    // Runs a transfer button and prints its messages, the bytes both ways,
    // the wall time and, against it, the time the same bytes take on a DIN
    // MIDI wire (3125 bytes per second).
    double Run(const char *name, wxButton *button)
    {
        static size_t bytes = 0;
        bytes = 0;
        pmfake::SetWriteObserver([](const pmfake::Bytes &message, const std::vector<pmfake::Bytes> &answers) {
            bytes += message.size();
            for (const pmfake::Bytes &a : answers)
                bytes += a.size();
        });
        const size_t messages_before = q9.received.size();
        const auto start = std::chrono::steady_clock::now();
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
        const double wall_ms = MsBetween(start, std::chrono::steady_clock::now());
        pmfake::SetWriteObserver(nullptr);
        const double wire_ms = static_cast<double>(bytes) * 1000.0 / 3125.0;
        std::printf("%-34s messages %5zu  bytes %7zu  wall %8.1f ms  wire's own time %8.1f ms  ratio %.3f\n", name,
                    q9.received.size() - messages_before, bytes, wall_ms, wire_ms, wall_ms / wire_ms);
        return wall_ms;
    }
};

// Cancel clicked at varied moments of a transfer of every group at DIN
// MIDI's wire speed: a press and release of the first mouse button, sent
// through the X server from another thread with the pointer resting on
// Cancel, as a user's click comes. The moments are counted from when Cancel is
// usable (a click can come no sooner): in the transfer's first 300 ms, and in
// its running phase from 400 ms on.
TEST_F(BenchTransfers, CancelEndsARunningWaitWithinMilliseconds)
{
    pmfake::SetWireSpeed(3125);
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
    Pump();
    XClicker mouse;
    ASSERT_TRUE(mouse.Opened());
    const wxPoint on_cancel_button = pui->wxButtonCancel->GetScreenRect().GetPosition() + wxPoint(10, 10);
    mouse.MoveTo(on_cancel_button.x, on_cancel_button.y);
    Pump();
    std::atomic<Clock::rep> posted{0};
    Clock::time_point boxed{}, handled{};
    bool boxed_seen = false;
    dialogs.message_answer = [&](const RecordedMessage &) {
        if (!boxed_seen) {
            boxed = Clock::now();
            boxed_seen = true;
        }
        return wxID_OK;
    };
    auto on_cancel = [&](wxCommandEvent &event) {
        handled = Clock::now();
        event.Skip();
    };
    pui->wxButtonCancel->Bind(wxEVT_BUTTON, on_cancel);
    // Cancel is usable once it is enabled and shown so: the first frame drawn
    // after it was enabled has painted a small probe window refreshed then.
    std::atomic<bool> offered{false};
    bool probing = false;
    wxWindow *probe = new wxWindow(pui, wxID_ANY, wxPoint(0, 0), wxSize(2, 2));
    probe->Bind(wxEVT_PAINT, [&](wxPaintEvent &) {
        wxPaintDC dc(probe);
        if (probing)
            offered = true;
    });
    auto on_idle = [&](wxIdleEvent &event) {
        if (!probing && pui->wxButtonCancel->IsEnabled()) {
            probing = true;
            probe->Refresh();
        }
        event.Skip();
    };
    pui->wxButtonCancel->Bind(wxEVT_IDLE, on_idle);
    for (int early = 0; early < 2; ++early) {
        for (int upload = 0; upload < 2; ++upload) {
            std::vector<double> to_box, to_end, to_handled, handled_to_box;
            int missed = 0, within_5 = 0;
            for (int run = 0; run < 20; ++run) {
                ResetConfiguration(upload ? 0 : 1);
                need_to_save_lib = false;  // no question before an upload
                dialogs.Clear();
                boxed_seen = false;
                posted = 0;
                offered = false;
                probing = false;
                wxButton *button = upload ? pui->wxButtonUploadAllFromQ9 : pui->wxButtonDownloadAllToQ9;
                const int after_ms = early ? 15 * run : 400 + 29 * run;
                std::thread poster([after_ms, &posted, &offered, &mouse] {
                    while (!offered)
                        std::this_thread::sleep_for(std::chrono::microseconds(50));
                    std::this_thread::sleep_for(std::chrono::milliseconds(after_ms));
                    posted = Clock::now().time_since_epoch().count();
                    mouse.Click();
                });
                wxCommandEvent event(wxEVT_BUTTON, button->GetId());
                event.SetEventObject(button);
                button->ProcessWindowEvent(event);
                const Clock::time_point end = Clock::now();
                poster.join();
                Pump(1);  // a Cancel that came after the end is handled here
                const Clock::time_point post{Clock::duration(posted.load())};
                if (!boxed_seen || dialogs.messages.size() != 1 || dialogs.messages[0].text != "No answer received") {
                    ++missed;
                    continue;
                }
                to_box.push_back(MsBetween(post, boxed));
                to_handled.push_back(MsBetween(post, handled));
                handled_to_box.push_back(MsBetween(handled, boxed));
                to_end.push_back(MsBetween(post, end));
                if (to_box.back() <= 5.0)
                    ++within_5;
            }
            const Spread box = SpreadOf(to_box), whole = SpreadOf(to_end), seen = SpreadOf(to_handled),
                         inner = SpreadOf(handled_to_box);
            std::printf("cancel %-8s %s: %2zu runs, %2d with the wait ended within 5 ms of the click\n"
                        "  click to Cancel handled   median %6.2f ms  max %6.2f ms\n"
                        "  Cancel handled to the end of the wait (its box) median %5.2f ms  max %5.2f ms\n"
                        "  click to the end of the wait                    median %6.2f ms  max %6.2f ms\n"
                        "  click to the end of the operation               median %6.2f ms  max %6.2f ms\n",
                        upload ? "upload" : "download", early ? "in the first 300 ms" : "from 400 ms on", to_box.size(),
                        within_5, seen.median, seen.max, inner.median, inner.max, box.median, box.max, whole.median,
                        whole.max);
            std::printf("  click to the end of the wait, each run (ms):");
            for (double v : to_box)
                std::printf(" %.1f", v);
            std::printf("\n");
            EXPECT_EQ(0, missed);
        }
    }
    pui->wxButtonCancel->Unbind(wxEVT_BUTTON, on_cancel);
    pui->wxButtonCancel->Unbind(wxEVT_IDLE, on_idle);
    probe->Destroy();
    dialogs.message_answer = nullptr;
    pmfake::SetWireSpeed(0);
}

TEST_F(BenchTransfers, TheWindowKeepsRepaintingDuringATransfer)
{
    // At the wire's speed, so that the transfer lasts longer than the five
    // seconds the camera watches.
    ResetConfiguration(1);
    pmfake::SetWireSpeed(3125);
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(2);
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
    Pump();
    ASSERT_NE(nullptr, pCVQ9View);
    const wxRect gauge_rect = pui->GAUGE_Bargraph->GetScreenRect();

    // Paints of the view while a transfer runs, each with the delay since the
    // last invalidation asked for it.
    int paints = 0, requests = 0;
    Clock::time_point requested{};
    bool pending = false;
    std::vector<double> delays;
    auto on_paint = [&](wxPaintEvent &event) {
        if (programming) {
            ++paints;
            if (pending) {
                delays.push_back(MsBetween(requested, Clock::now()));
                pending = false;
            }
        }
        event.Skip();
    };
    pCVQ9View->Bind(wxEVT_PAINT, on_paint);
    wxTimer invalidate;
    invalidate.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
        if (!programming || pending)
            return;
        ++requests;
        pending = true;
        requested = Clock::now();
        pCVQ9View->Refresh();
    });
    invalidate.Start(50);

    // The gauge as the screen shows it, once a second for five seconds.
    std::vector<std::string> pictures;
    std::thread camera([&] {
        const std::string file = "/tmp/bench_transfers_gauge_" + std::to_string(getpid()) + ".rgb";
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            pictures.push_back(CaptureScreen(gauge_rect, file));
        }
        std::remove(file.c_str());
    });
    wxButton *button = pui->wxButtonDownloadAllToQ9;
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
    camera.join();
    invalidate.Stop();
    pCVQ9View->Unbind(wxEVT_PAINT, on_paint);
    pmfake::SetWireSpeed(0);

    std::set<std::string> distinct;
    size_t captured = 0;
    for (const std::string &p : pictures)
        if (!p.empty()) {
            ++captured;
            distinct.insert(p);
        }
    const Spread d = SpreadOf(delays);
    std::printf("repaint during download all at wire speed, groups 0-2: view invalidated %d times, %d paints, request to paint median %.1f ms "
                "max %.1f ms; gauge on screen: %zu captures, %zu different pictures\n",
                requests, paints, d.median, d.max, captured, distinct.size());
    EXPECT_GT(requests, 50);
    EXPECT_GE(paints, requests - 1);
    EXPECT_EQ(5u, captured);
    EXPECT_EQ(5u, distinct.size());
}

TEST_F(BenchTransfers, DownloadAllAndUploadAllOfEveryGroup)
{
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
    auto both = [this](const char *download, const char *upload) {
        ResetConfiguration(1);
        Run(download, pui->wxButtonDownloadAllToQ9);
        ResetConfiguration(0);
        need_to_save_lib = false;  // no question before the upload
        Run(upload, pui->wxButtonUploadAllFromQ9);
    };
    // Against a controller that answers at once, with the MIDI monitor
    // closed and then open.
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
    Pump();
    both("download all, groups 0-20", "upload all, groups 0-20");
    SendCommand(ID_CVQ9_MIDI_MONITOR);
    both("  the same, MIDI monitor open", "  the same, MIDI monitor open");
    MidiMonitor::Current()->Close();
    // At DIN MIDI's wire speed both ways (groups 0 to 2: a third of a minute each way).
    pmfake::SetWireSpeed(3125);
    pui->wxSpinCtrlEndGroup->SetValue(2);
    both("download all at wire speed, 0-2", "upload all at wire speed, 0-2");
    pmfake::SetWireSpeed(0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

// Find among ten pairs of ports: the controller on the last pair, then none.
TEST_F(BenchTransfers, FindAmongTenPairsOfPorts)
{
    for (bool answers : {true, false}) {
        std::vector<pmfake::Device> devices;
        for (int pair = 0; pair < 10; ++pair) {
            const std::string name = "Port pair " + std::to_string(pair);
            devices.push_back({name, true, false, false});
            devices.push_back({name, false, true, false});
        }
        pmfake::PlugDevices(devices);
        pmfake::ConnectController(&q9, 19, 18);
        q9.silent = !answers;
        dialogs.Clear();
        const auto start = Clock::now();
        wxCommandEvent event(wxEVT_BUTTON, pui->wxButtonFindController->GetId());
        event.SetEventObject(pui->wxButtonFindController);
        pui->wxButtonFindController->ProcessWindowEvent(event);
        std::printf("find among ten pairs, %-28s %7.1f ms\n",
                    answers ? "the controller on the last:" : "none answering:", MsBetween(start, Clock::now()));
    }
    q9.silent = false;
}

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "bench_transfers: the toolkit cannot start (is there a display?)\n");
        return 1;
    }
    int result = 0;
    {
        wxEventLoop loop;
        wxEventLoopActivator activate(&loop);
        result = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    return result;
}
