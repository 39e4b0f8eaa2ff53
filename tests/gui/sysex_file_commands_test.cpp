// The SysEx file commands through the real window: the export of the whole
// configuration, its import over a cleared editor with its report and the
// tabs shown afresh, and the import undone as one step.
#include <algorithm>

#include <wx/filedlg.h>
#include <wx/menu.h>

#include "gui_fixture.h"
#include "sysex_file.h"

TEST_F(GuiFixture, SysexFileExportThenImportOverANewLibraryIsOneStepToUndo)
{
    StartApp();
    Check(pui->wxCheckBoxOffline, true);
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const TablesSnapshot exported;
    const std::string path = HomePath("all.syx");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_EXPORT_SYSEX);
    ASSERT_EQ(dialogs.file_dialogs.size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(dialogs.file_dialogs[0].wildcard.EndsWith("|*.syx"));
    EXPECT_TRUE(dialogs.file_dialogs[0].style & wxFD_OVERWRITE_PROMPT);
    const std::vector<uint8_t> file = ReadFileBytes(path);

    dialogs.message_answer = [](const RecordedMessage &) { return wxID_NO; };  // drop the default library
    dialogs.AnswerFileDialog(HomePath("new.cvq"));
    SendCommand(ID_CVQ9_NEW);
    const TablesSnapshot cleared;
    EXPECT_NE(pui->wxTextCtrlTempo->GetValue(), "130");
    EXPECT_TRUE(pFileMenu->IsEnabled(ID_CVQ9_IMPORT_SYSEX));
    dialogs.Clear();
    need_to_save_lib = false;
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_IMPORT_SYSEX);

    SysexImportCounts counts;
    counts.applied = static_cast<unsigned>(std::count(file.begin(), file.end(), 0xF0));
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(dialogs.messages[0].text, SysexImportReport(counts));
    const TablesSnapshot imported;
    EXPECT_EQ(imported.controls, exported.controls);
    EXPECT_EQ(imported.common, exported.common);
    EXPECT_EQ(imported.curve2, exported.curve2);
    EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), "130");
    EXPECT_TRUE(need_to_save_lib);

    EXPECT_EQ(m_pMenu->FindItem(ID_CVQ9_UNDO)->GetItemLabelText(), "Undo Import SysEx file");
    SendCommand(ID_CVQ9_UNDO);
    EXPECT_TABLES_EQ(cleared, TablesSnapshot());

    // Files that cannot be read, and an export a control's check refuses: each says so and changes nothing.
    dialogs.Clear();
    dialogs.AnswerFileDialog(HomePath("missing.syx"));
    SendCommand(ID_CVQ9_IMPORT_SYSEX);
    dialogs.AnswerFileDialog(HomePath("missing.midnam"));
    SendCommand(ID_CVQ9_IMPORT_MIDNAM);
    EXPECT_TABLES_EQ(cleared, TablesSnapshot());
    mycontrol[3][20].ctrl_value_min = 200;
    dialogs.AnswerFileDialog(HomePath("refused.syx"));
    SendCommand(ID_CVQ9_EXPORT_SYSEX);
    ASSERT_EQ(dialogs.messages.size(), 3u) << dialogs.Describe();
    EXPECT_EQ(dialogs.Texts("Parameter check").size(), 1u) << dialogs.Describe();
    EXPECT_FALSE(wxFileExists(HomePath("refused.syx")));
}
