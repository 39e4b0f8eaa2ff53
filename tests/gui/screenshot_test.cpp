// Pictures of the main window on each tab and of both panel pictures, saved
// into the build folder's "screenshots" folder. These tests run one at a time
// (suite Serial*): nothing else may cover the window while it is taken.
#include <wx/notebook.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"

class SerialScreenshots : public GuiFixture
{};

TEST_F(SerialScreenshots, MainWindowOnEachTab)
{
    StartApp();
    wxNotebook *book = pui->wxNotebookPages;
    ASSERT_EQ(book->GetPageCount(), 5u);
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        book->SetSelection(page);
        const wxString path = SaveScreenshot(m_pCVQ9MainFrame, wxString::Format("main_tab_%zu", page));
        EXPECT_TRUE(FileExists(path)) << path;
    }
}

TEST_F(SerialScreenshots, BothPanelPictures)
{
    WriteSettingsFile("HardwareVersion=Infrared\n");
    StartApp();
    EXPECT_TRUE(FileExists(SaveScreenshot(pCVQ9View, "panel_infrared")));
    CloseByCloseBox();
    WriteSettingsFile("HardwareVersion=Ribbon\n");
    StartApp();
    EXPECT_TRUE(FileExists(SaveScreenshot(pCVQ9View, "panel_ribbon")));
}
