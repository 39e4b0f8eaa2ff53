// Entry point of the GUI tests: the toolkit is initialised once around the
// program's own application object; each test then runs the program's
// start-up and shutdown itself (see gui_fixture.h).
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

#include "CVQ9Test.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "gui_tests: the toolkit cannot start (is there a display?)\n");
        return 1;
    }
    // Log messages go to the error output: a test never waits on a log window.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    int result = 0;
    {
        wxEventLoop loop;
        wxEventLoopActivator activate(&loop);
        result = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    return result;
}
