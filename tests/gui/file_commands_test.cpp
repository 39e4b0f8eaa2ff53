// The file commands of the main window with their dialogs and errors, and the
// library state they leave: New, Open, Save, Save as, Load default, Import,
// Export, Exit and the close box.
#include <sys/stat.h>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>

#include "gui_fixture.h"
#include "library_file.h"

class FileCommands : public RunningApp
{
protected:
    // The question before unsaved edits go is answered Don't save here; its
    // answers have their own test.
    void SetUp() override
    {
        RunningApp::SetUp();
        AnswerDontSave();
    }

    void AnswerDontSave()
    {
        dialogs.message_answer = [](const RecordedMessage &m) {
            return m.text.StartsWith(wxT("Save the changes")) ? wxID_NO : wxID_OK;
        };
    }

    // The messages other than that question.
    size_t OtherMessages() const
    {
        size_t n = 0;
        for (const RecordedMessage &m : dialogs.messages)
            n += !m.text.StartsWith(wxT("Save the changes"));
        return n;
    }

    // A configuration unlike the empty and the default one, its group names as
    // a library file reads them back (with one NUL), saved as `name` when given.
    std::string Distinct(const std::string &name = "")
    {
        ResetConfiguration(1);
        mycontrol[2][9].ctrl_value_max = 100;
        mytransport[3].ctrl_value_min = 1;
        mylcdstring[5][30] = Q9Text(L"Resonance") + L'\0';
        mygroupnames[7] = L"Strings";
        for (Q9Text &group_name : mygroupnames)
            group_name.push_back(L'\0');
        common_params[12] = 3;
        user_curve_1[10] = 99;
        EXPECT_TRUE(name.empty() || SaveLibraryFile(HomePath(name)).status == LibraryFileStatus::Ok);
        return HomePath(name);
    }

    std::string Legacy(const std::string &entry)
    {
        WriteFileText(HomePath("old.cvl"), "[MANUF].maker.\n[MODEL].model.\n[COMMENTS].test library.\n" + entry);
        return HomePath("old.cvl");
    }

    void ExpectLibrary(const std::string &path, bool unsaved, bool default_lib)
    {
        EXPECT_EQ(wxString(FilePath), wxString(path));
        EXPECT_EQ(pui->wxStaticTextLibraryFile->GetLabel(),
                  (path.empty() ? wxString("-") : wxString(path)) + (unsaved ? " (unsaved)" : ""));
        EXPECT_EQ(need_to_save_lib, unsaved);
        EXPECT_EQ(default_lib_loaded, default_lib);
    }
};

TEST_F(FileCommands, CancelledDialogsChangeNothing)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    Distinct();
    const TablesSnapshot before;
    for (int command : {ID_CVQ9_NEW, ID_CVQ9_OPEN, ID_CVQ9_SAVEAS, ID_CVQ9_IMPORT, ID_CVQ9_EXPORT_TEXT,
                        ID_CVQ9_EXPORT_SYSEX, ID_CVQ9_IMPORT_SYSEX, ID_CVQ9_IMPORT_MIDNAM, ID_CVQ9_COMPARE_LIBRARY}) {
        dialogs.Clear();
        SendCommand(command);
        EXPECT_EQ(dialogs.file_dialogs.size(), 1u);
        EXPECT_EQ(OtherMessages(), 0u) << dialogs.Describe();
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        ExpectLibrary("", true, true);
    }
}

TEST_F(FileCommands, SaveThenOpenGiveBackEveryStoredByte)
{
    Distinct();
    const TablesSnapshot saved;
    need_to_save_lib = true;
    dialogs.AnswerFileDialog(HomePath("round.cvq"));
    SendCommand(ID_CVQ9_SAVE);  // without a file, Save asks for one
    ExpectLibrary(HomePath("round.cvq"), false, false);
    EXPECT_EQ(ReadFileBytes(HomePath("round.cvq")), BuildLibraryImage());
    ResetConfiguration(0);
    need_to_save_lib = default_lib_loaded = true;
    dialogs.AnswerFileDialog(HomePath("round.cvq"));
    SendCommand(ID_CVQ9_OPEN);
    EXPECT_TABLES_EQ(saved, TablesSnapshot());
    ExpectLibrary(HomePath("round.cvq"), false, false);
    EXPECT_EQ(OtherMessages(), 0u) << dialogs.Describe();
    // From the command line a library given alone is opened; anything else is reported.
    ResetConfiguration(0);
    m_pCVQ9MainFrame->OpenFromCommandLine(wxArrayString(1, wxString(HomePath("round.cvq"))));
    EXPECT_TABLES_EQ(saved, TablesSnapshot());
    m_pCVQ9MainFrame->OpenFromCommandLine(wxArrayString(1, wxString("notes.txt")));
    EXPECT_EQ(OtherMessages(), 1u) << dialogs.Describe();
    // The summary names the library.
    dialogs.AnswerFileDialog(HomePath("summary.txt"));
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    const std::string text = ReadFileText(HomePath("summary.txt"));
    EXPECT_NE(text.find("\nLibrary file: " + HomePath("round.cvq") + "\n"), std::string::npos) << text.substr(0, 300);
}

TEST_F(FileCommands, AFileThatCannotBeReadOrWrittenIsReportedAndChangesNothing)
{
    const std::string current = Distinct("current.cvq");
    dialogs.AnswerFileDialog(current);
    SendCommand(ID_CVQ9_OPEN);
    need_to_save_lib = true;
    const TablesSnapshot before;
    ASSERT_EQ(mkdir(HomePath("folder.cvq").c_str(), 0755), 0);
    const struct {
        int command;
        std::string path;
        const char *error;
    } cases[] = {{ID_CVQ9_OPEN, HomePath("folder.cvq"), "Unable to read "},
                 {ID_CVQ9_IMPORT, HomePath("absent.cvl"), "Unable to read "},
                 {ID_CVQ9_SAVEAS, HomePath("no-folder/lib.cvq"), "Unable to write/overwrite "},
                 {ID_CVQ9_EXPORT_TEXT, HomePath("no-folder/summary.txt"), "Unable to create "}};
    for (const auto &c : cases) {
        dialogs.Clear();
        dialogs.AnswerFileDialog(c.path);
        SendCommand(c.command);
        EXPECT_EQ(dialogs.file_dialogs.size(), 1u) << "no Save as after a failed import";
        EXPECT_EQ(dialogs.Texts(LIBRARY_FILE_ERROR_TITLE), std::vector<wxString>{c.error + c.path});
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        ExpectLibrary(current, true, false);
    }
    // A failed Save as leaves the library unsaved: Exit asks, and saves into its file.
    mycontrol[2][9].ctrl_value_max = 90;
    const std::vector<uint8_t> unsaved = BuildLibraryImage();
    dialogs.message_answer = [](const RecordedMessage &) { return wxID_YES; };
    ExitByCommand();
    EXPECT_EQ(ReadFileBytes(current), unsaved);
}

// Save into the current file, refused the same way, is a case of the unsaved-edits test.
TEST_F(FileCommands, ARefusedCheckStopsSaveAsAndExportLeavesAnEmptyFile)
{
    Distinct();
    mycontrol[1][10].ctrl_value_min = 120;  // above the maximum, in the group range of the checks
    mycontrol[1][10].ctrl_value_max = 10;
    need_to_save_lib = true;
    dialogs.AnswerFileDialog(HomePath("invalid.cvq"));
    SendCommand(ID_CVQ9_SAVEAS);
    EXPECT_FALSE(wxFileName::FileExists(HomePath("invalid.cvq")));
    ExpectLibrary("", true, false);
    dialogs.AnswerFileDialog(HomePath("summary.txt"));
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    EXPECT_TRUE(wxFileName::FileExists(HomePath("summary.txt")) && ReadFileBytes(HomePath("summary.txt")).empty());
    EXPECT_EQ(dialogs.Texts("Parameter check").size(), 2u) << dialogs.Describe();
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(FileCommands, OpenOfAFileOfTheEarlierLayoutConvertsItWithOneNotice)
{
    // No signature, 39 common parameters, the operating mode in bits 3-4 of parameter 5.
    Distinct();
    const std::vector<uint8_t> image = BuildLibraryImage();
    std::vector<uint8_t> old(image.begin() + 2, image.begin() + LIBRARY_COMMON_OFFSET);
    for (int i = 0; i < 40; ++i)
        if (i != 33)
            old.push_back(i == 5 ? 0x18 | 0x41 : static_cast<uint8_t>(i + 1));
    old.insert(old.end(), image.begin() + LIBRARY_CURVE1_OFFSET, image.end());
    ASSERT_EQ(old.size(), PRE14_LIBRARY_IMAGE_SIZE);
    old[0] = 0x90;  // the first transport record byte: no signature
    WriteFileBytes(HomePath("old.cvq"), old);
    ResetConfiguration(0);
    dialogs.AnswerFileDialog(HomePath("old.cvq"));
    SendCommand(ID_CVQ9_OPEN);
    EXPECT_EQ(dialogs.Texts(LIBRARY_CONVERSION_TITLE).size(), 1u) << dialogs.Describe();
    EXPECT_EQ(common_params[33], 3);                     // the operating mode where the current layout keeps it
    EXPECT_EQ(ReadFileBytes(HomePath("old.cvq")), old);  // converted, not saved
    ExpectLibrary(HomePath("old.cvq"), false, false);
}

TEST_F(FileCommands, ImportWithCancelledSaveAsStaysUnsavedAndShowsTheImportedControl)
{
    const std::string current = Distinct("current.cvq");
    FilePath = wxString(current).ToStdWstring();
    need_to_save_lib = false;
    SelectGroupInCombo(1);
    all_selected_ctrl = {10, 12};
    ControlIndex = 12;
    pCVQ9View->DrawIndices({10, 12});
    ShowPage(PAGE_ASSIGN_USER);
    dialogs.AnswerFileDialog(Legacy("[K01][G03].03.00.01.03.00.00.00.00.7F.BN08VV.Pan.\n"));
    SendCommand(ID_CVQ9_IMPORT);
    ASSERT_EQ(dialogs.file_dialogs.size(), 2u) << dialogs.Describe();
    EXPECT_EQ(mycontrol[3][9].midi_string[1], 0x08);
    EXPECT_EQ(wxString(FilePath), wxString(current));
    // The imported configuration exists only in memory: Exit will offer to save it.
    EXPECT_TRUE(need_to_save_lib);
    // The import addresses its last entry: everything shows it, and edits reach it alone.
    ExpectShownAndEdited(3, {9}, 9);
    // An import that a check stops (minimum above maximum) has changed the tables all the same.
    need_to_save_lib = false;
    dialogs.Clear();
    dialogs.AnswerFileDialog(Legacy("[K00][G00].03.00.01.03.00.00.00.70.10.B007VV.Bad.\n"));
    SendCommand(ID_CVQ9_IMPORT);
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u) << "no Save as after a refused entry";
    EXPECT_FALSE(dialogs.Texts("Parameter check").empty()) << dialogs.Describe();
    EXPECT_TRUE(need_to_save_lib);
}

// Exit and the close box offer an unsaved library once; cancelling still ends
// the program, and no window of its own (help) keeps it running.
TEST_F(FileCommands, EndingOffersTheUnsavedLibrary)
{
    for (int end = 0; end < 4; ++end) {
        if (!AppRunning())
            StartApp();
        dialogs.Clear();
        if (end < 3)
            SendCommand(ID_CVQ9_LOAD_DEFAULT);
        const std::string path = HomePath("at-end" + std::to_string(end) + ".cvq");
        if (end < 2) {  // Save, then Save as names the file
            dialogs.message_answer = [](const RecordedMessage &) { return wxID_YES; };
            dialogs.AnswerFileDialog(path);
        }
        SendCommand(ID_CVQ9_HELP);
        EXPECT_TRUE(pCVQ9App->help->GetFrame()->IsShown());
        if (end % 2 == 0)
            SendCommand(ID_CVQ9_QUIT);
        else
            m_pCVQ9MainFrame->Close();
        Pump();
        for (wxWindow *w : wxTopLevelWindows)
            EXPECT_FALSE(w->IsShown() && !w->IsBeingDeleted()) << w->GetLabel();
        FinishShutdown();
        EXPECT_EQ(dialogs.file_dialogs.size(), end < 2 ? 1u : 0u) << end;
        EXPECT_EQ(ReadFileBytes(path).size(), end < 2 ? LIBRARY_IMAGE_SIZE : 0u) << end;
        EXPECT_EQ(dialogs.messages.size(), end < 3 ? 1u : 0u) << dialogs.Describe();
        AnswerDontSave();
    }
}
