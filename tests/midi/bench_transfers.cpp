// Benchmark: download all and upload all of groups 0..20 through the real
// editor panel against the simulated controller answering at once. Prints the
// number of 1-ms wait steps, the wall time, and how much the wall time exceeds
// the steps' own milliseconds (sleep overshoot plus the yields to the event loop).
// Run under a display: xvfb-run -a build/tests/bench/bench_transfers
#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include "CVQ9Test.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "simulated_q9.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

namespace {

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
        dialogs.Clear();   // the preset library is not beside this program; it is not needed here
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

TEST_F(BenchTransfers, DownloadAllAndUploadAllOfEveryGroup)
{
    ResetConfiguration(1);
    pui->wxSpinCtrlStartGroup->SetValue(0);
    pui->wxSpinCtrlEndGroup->SetValue(20);
    pui->wxNotebookPages->SetSelection(PAGE_ASSIGN_STD);
    Pump();
    Run("download all", pui->wxButtonDownloadAllToQ9);
    ResetConfiguration(0);
    Run("upload all", pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

} // namespace

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
