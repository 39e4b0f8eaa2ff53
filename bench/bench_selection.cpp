// Time from a left click on the front panel to the assignment tabs
// redisplayed: a plain click selecting a knob, and a Ctrl-click adding the
// 62nd control of a group. The program starts as it does for the user, in a
// temporary home folder; run under a display (xvfb-run -a ./bench_selection).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/config.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

namespace {

using Clock = std::chrono::steady_clock;

void Pump()
{
    for (int i = 0; i < 5; ++i) {
        if (wxEventLoopBase *loop = wxEventLoopBase::GetActive())
            loop->YieldFor(wxEVT_CATEGORY_ALL);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

wxPoint Centre(unsigned index)
{
    const wxRect r = pCVQ9View->all[index].rect;
    return wxPoint(r.x + r.width / 2, r.y + r.height / 2);
}

// The click as the toolkit delivers it to the view; returns when the handler
// has selected, written the setting and redisplayed the tabs.
double ClickMicroseconds(unsigned index, bool ctrl)
{
    wxMouseEvent event(wxEVT_LEFT_DOWN);
    event.SetPosition(Centre(index));
    event.SetControlDown(ctrl);
    event.SetEventObject(pCVQ9View);
    const Clock::time_point start = Clock::now();
    pCVQ9View->GetEventHandler()->ProcessEvent(event);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void Report(const char *name, std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2];
    const double p90 = us[us.size() * 9 / 10];
    std::printf("%-44s n=%zu  min %8.1f us  median %8.1f us  p90 %8.1f us  max %8.1f us\n", name, us.size(), us.front(),
                median, p90, us.back());
}

void Measure(const char *name, int rounds, const std::function<void()> &prepare, const std::function<double()> &click,
             const std::function<bool()> &verify)
{
    std::vector<double> us;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        us.push_back(click());
        if (!verify()) {
            std::printf("%s: the click did not select as expected\n", name);
            std::exit(1);
        }
        // Let the repaint the click asked for happen outside the measurement.
        Pump();
    }
    Report(name, us);
}

// The program may report that it has no MIDI ports or no preset library
// here: every box is answered at once and named on the error output.
class AnswerEveryDialog : public wxModalDialogHook
{
protected:
    int Enter(wxDialog *dialog) override
    {
        std::fprintf(stderr, "bench_selection: dialog \"%s\" answered\n", dialog->GetTitle().utf8_str().data());
        return wxID_OK;
    }
    void Exit(wxDialog *) override {}
};

}  // namespace

int main(int argc, char **argv)
{
    char home[] = "/tmp/cvq9_bench_home_XXXXXX";
    if (!mkdtemp(home))
        return 1;
    setenv("HOME", home, 1);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "bench_selection: the toolkit cannot start (is there a display?)\n");
        return 1;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    AnswerEveryDialog answer;
    answer.Register();
    int status = 0;
    {
        wxEventLoop loop;
        wxEventLoopActivator activate(&loop);
        if (!wxTheApp->OnInit()) {
            std::fprintf(stderr, "bench_selection: start-up failed\n");
            status = 1;
        } else {
            Pump();
            CurrentGroup = 1;
            const int rounds = 300;

            // A plain click selecting a knob, alternating two knobs so every click changes the selection.
            unsigned knob = 8;
            Measure(
                "plain click selecting a knob", rounds, [&] { knob = knob == 8 ? 9 : 8; },
                [&] { return ClickMicroseconds(knob, false); },
                [&] { return ControlIndex == knob && all_selected_ctrl.size() == 1; });

            // Ctrl-click adding control 66 to a selection of the 61 others of the group.
            Measure(
                "Ctrl-click adding the 62nd control of a group", rounds,
                [] {
                    all_selected_ctrl.clear();
                    pCVQ9View->arrSelectedItems.Clear();
                    for (unsigned index = 5; index < 66; ++index) {
                        all_selected_ctrl.push_back(static_cast<int>(index));
                        pCVQ9View->ManageSelectedItem(&pCVQ9View->all[index]);
                    }
                    ControlIndex = 65;
                },
                [] { return ClickMicroseconds(66, true); },
                [] { return ControlIndex == 66 && all_selected_ctrl.size() == 62; });

            need_to_save_lib = false;
            m_pCVQ9MainFrame->Destroy();
            Pump();
            while (!wxTopLevelWindows.empty()) {
                wxTopLevelWindows.GetFirst()->GetData()->Destroy();
                Pump();
            }
            wxTheApp->OnExit();
        }
    }
    answer.Unregister();
    wxEntryCleanup();
    wxFileName::Rmdir(home, wxPATH_RMDIR_RECURSIVE);
    return status;
}
