// Benchmark: download all and upload all of groups 0..20 through the real
// editor panel against the simulated controller answering at once. Prints the
// number of 1-ms wait steps, the wall time, and how much the wall time exceeds
// the steps' own milliseconds (sleep overshoot plus the yields to the event loop).
// Then, in runs of their own (so that the timed runs stay undisturbed):
// - how soon Cancel ends a running wait: Cancel is posted from another thread
//   at varied moments of a transfer, as a click arrives at any moment; the
//   time is taken from the post to its handling, to the "No answer received"
//   box that follows the cancelled wait at once, and to the end of the whole
//   operation;
// - that the window keeps repainting during a transfer: the view is
//   invalidated every 50 ms and its paint events are counted with the delay
//   from request to paint, and the progress gauge is read off the X server's
//   screen (ImageMagick's import, from another thread) once a second.
// Run under a display: xvfb-run -a build/bench/bench_transfers
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
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "simulated_q9.h"

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

    void Run(const char *name, wxButton *button)
    {
        pmfake::ClearRecords();
        const size_t messages_before = q9.received.size();
        const auto start = std::chrono::steady_clock::now();
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
        const auto end = std::chrono::steady_clock::now();
        const double wall_ms = std::chrono::duration<double, std::milli>(end - start).count();
        // One poll per wait step; opening the input polls once more to empty it.
        const long steps = pmfake::PollCount() - 1;
        std::printf("%-14s messages %6zu  wait steps %7ld  wall %9.1f ms  wall/(steps x 1 ms) %.3f\n", name,
                    q9.received.size() - messages_before, steps, wall_ms,
                    steps > 0 ? wall_ms / static_cast<double>(steps) : 0.0);
    }
};

// Cancel posted from another thread at varied moments of a transfer of every
// group: in its running phase (from 400 ms on), and, for comparison, in its
// first 300 ms, while the toolkit repaints the whole window in its disabled
// state (one frame of tens of milliseconds, then the buttons' state
// transitions), during which no event can be handled.
TEST_F(BenchTransfers, CancelEndsARunningWaitWithinMilliseconds)
{
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
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
                wxButton *button = upload ? pui->wxButtonUploadAllFromQ9 : pui->wxButtonDownloadAllToQ9;
                const int after_ms = early ? 20 + 14 * run : 400 + 29 * run;
                std::thread poster([after_ms, &posted] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(after_ms));
                    auto *cancel = new wxCommandEvent(wxEVT_BUTTON, pui->wxButtonCancel->GetId());
                    cancel->SetEventObject(pui->wxButtonCancel);
                    posted = Clock::now().time_since_epoch().count();
                    wxQueueEvent(pui->wxButtonCancel, cancel);
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
            std::printf("cancel %-8s %s: %2zu runs, %2d with the wait ended within 5 ms of the post\n"
                        "  post to Cancel handled    median %6.2f ms  max %6.2f ms\n"
                        "  Cancel handled to the end of the wait (its box) median %5.2f ms  max %5.2f ms\n"
                        "  post to the end of the wait                     median %6.2f ms  max %6.2f ms\n"
                        "  post to the end of the operation                median %6.2f ms  max %6.2f ms\n",
                        upload ? "upload" : "download", early ? "in the first 300 ms" : "from 400 ms on", to_box.size(),
                        within_5, seen.median, seen.max, inner.median, inner.max, box.median, box.max, whole.median,
                        whole.max);
            std::printf("  post to the end of the wait, each run (ms):");
            for (double v : to_box)
                std::printf(" %.1f", v);
            std::printf("\n");
            EXPECT_EQ(0, missed);
        }
    }
    pui->wxButtonCancel->Unbind(wxEVT_BUTTON, on_cancel);
    dialogs.message_answer = nullptr;
}

TEST_F(BenchTransfers, TheWindowKeepsRepaintingDuringATransfer)
{
    ResetConfiguration(1);
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
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

    std::set<std::string> distinct;
    size_t captured = 0;
    for (const std::string &p : pictures)
        if (!p.empty()) {
            ++captured;
            distinct.insert(p);
        }
    const Spread d = SpreadOf(delays);
    std::printf("repaint during download all: view invalidated %d times, %d paints, request to paint median %.1f ms "
                "max %.1f ms; gauge on screen: %zu captures, %zu different pictures\n",
                requests, paints, d.median, d.max, captured, distinct.size());
    EXPECT_GT(requests, 50);
    EXPECT_GE(paints, requests - 1);
    EXPECT_EQ(5u, captured);
    EXPECT_EQ(5u, distinct.size());
}

TEST_F(BenchTransfers, DownloadAllAndUploadAllOfEveryGroup)
{
    ResetConfiguration(1);
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
    Pump();
    Run("download all", pui->wxButtonDownloadAllToQ9);
    ResetConfiguration(0);
    need_to_save_lib = false;  // no question before the upload
    Run("upload all", pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
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
