// Entry point of the GUI tests: the toolkit starts once around the program's
// own application object; each test runs the program's start-up and shutdown.
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

#include "CVQ9Test.h"

wxIMPLEMENT_APP_NO_MAIN(CVQ9App);

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))  // listing needs no display
        return RUN_ALL_TESTS();
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "the toolkit cannot start (is there a display?)\n");
        return 1;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);  // no test waits on a log window
    int result = 0;
    {
        wxEventLoop loop;
        wxEventLoopActivator activate(&loop);
        result = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    return result;
}
