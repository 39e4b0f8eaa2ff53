// Benchmark: undo and redo through the real editor panel. Prints
// - the time to undo and to redo the largest steps (the step an upload of all
//   groups records, a paste of a whole group) until the window is redrawn,
// - the time to record a field edit's step, alone and with its handler,
// - the peak memory with a full history against the program just started.
// Run under a display: xvfb-run -a build/bench_undo
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "edit_history.h"
#include "gui_fixture.h"
#include "record_access.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median and the largest of a set of times.
struct Spread {
    double median = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

// The process's peak resident memory in kB.
long PeakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// What an upload of all groups brings: any records, and texts of the
// controller's 16 characters.
void FillAsAnUpload(uint32_t seed)
{
    FillRandomConfiguration(seed);
    for (auto &group : mylcdstring)
        for (auto &text : group)
            for (wchar_t &c : text.assign(LCD_STRING_LENGHT, L' '))
                c = static_cast<wchar_t>(0x20 + (seed++ * 2654435761u >> 7) % 0x5F);
}

class BenchUndo : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        Check(pui->wxCheckBoxOffline, true);
        dialogs.Clear();
        SendCommand(ID_CVQ9_LOAD_DEFAULT);
        ShowPage(PAGE_ASSIGN_USER);
    }

    // Undo, then redo, of the last step `runs` times, each until the window
    // is redrawn.
    void TimeUndoRedo(const char *what, int runs)
    {
        std::vector<double> undo, redo;
        for (int run = 0; run < runs; ++run) {
            Clock::time_point start = Clock::now();
            UndoEdit();
            m_pCVQ9MainFrame->Update();
            undo.push_back(MsSince(start));
            start = Clock::now();
            RedoEdit();
            m_pCVQ9MainFrame->Update();
            redo.push_back(MsSince(start));
        }
        const Spread u = SpreadOf(undo), r = SpreadOf(redo);
        std::printf("%-26s undo median %6.2f ms max %6.2f ms   redo median %6.2f ms max %6.2f ms\n", what, u.median,
                    u.max, r.median, r.max);
    }
};

TEST_F(BenchUndo, Figures)
{
    const long start_kb = PeakKb();

    // An upload of all groups changes every table: one step of all of them.
    {
        EditStep step(wxT("Upload All"));
        FillAsAnUpload(7);
    }
    SelectGroupInCombo(0);
    TimeUndoRedo("Upload All (all groups)", 20);

    SelectGroupInCombo(3);
    SendCommand(ID_CVQ9_COPY_GROUP);
    SelectGroupInCombo(5);
    SendCommand(ID_CVQ9_PASTE_GROUP);
    TimeUndoRedo("Paste group 5", 20);

    // A field edit: the step alone, then with the spin field's handler.
    std::vector<double> alone, handled;
    all_selected_ctrl = {12};
    ControlIndex = 12;
    for (int run = 0; run < 200; ++run) {
        const Clock::time_point start = Clock::now();
        {
            EditStep step(wxT("Max value"));
            mycontrol[5][12].ctrl_value_max = static_cast<uint8_t>(run % 100);
        }
        alone.push_back(MsSince(start));
    }
    for (int run = 0; run < 200; ++run) {
        EditHistory().CloseMerging();
        const Clock::time_point start = Clock::now();
        Spin(pui->SpinCtrlMaxValue, 1 + run % 100);
        handled.push_back(MsSince(start));
    }
    const Spread a = SpreadOf(alone), h = SpreadOf(handled);
    std::printf("record a field edit        step alone median %5.3f ms max %5.3f ms   with its handler median %5.3f "
                "ms max %5.3f ms\n",
                a.median, a.max, h.median, h.max);

    // The history filled with the largest steps.
    for (uint32_t seed = 100; seed < 400; ++seed) {
        EditStep step(wxT("Upload All"));
        FillAsAnUpload(seed);
    }
    std::printf("full history               %zu steps, %.1f MB held; peak memory %.1f MB, %.1f MB above the "
                "program just started (%.1f MB)\n",
                EditHistory().Steps(), static_cast<double>(EditHistory().Bytes()) / 1048576.0, PeakKb() / 1024.0,
                (PeakKb() - start_kb) / 1024.0, start_kb / 1024.0);
}

}  // namespace
