// The file commands of the main window: New, Open, Save, Save as, Load
// default, Import, Export and Exit, with cancelled dialogs, failed saves and
// libraries of the layout before 1.4.
#include <cstdio>
#include <fstream>
#include <sstream>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/stattext.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "gui_fixture.h"
#include "libconv.h"
#include "library_file.h"
#include "panel_test_support.h"
#include "record_access.h"

namespace {

const wxString kLibraryWildcard = "CVQ files (*.cvq)|*.cvq";

// A configuration that differs from both the empty and the default one.
void FillDistinctConfiguration()
{
    ResetConfiguration(1);
    mycontrol[2][9].ctrl_value_max = 100;
    mycontrol[20][66].midi_string[0] = 0xB5;
    mytransport[3].ctrl_value_min = 1;
    mylcdstring[5][30] = Q9Text(L"Resonance") + L'\0';
    mygroupnames[7] = L"Strings";
    UseStoredGroupNames();
    common_params[12] = 3;
    user_curve_1[10] = 99;
    user_curve_2[127] = 5;
}

// A record the checks refuse (minimum above maximum), in group 1, inside the
// group range that the start-up settings give the checks (1 to 1).
void MakeGroupOneInvalid()
{
    InitMidiStruct(&mycontrol[1][10], 1, 10, 1);
    mycontrol[1][10].ctrl_value_min = 120;
    mycontrol[1][10].ctrl_value_max = 10;
}

std::string LibraryLabel()
{
    return pui->wxStaticTextLibraryFile->GetLabel().utf8_string();
}

}  // namespace

class FileCommands : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }

    void ExpectLibraryDialog(size_t index, const char *title, long style)
    {
        ASSERT_LT(index, dialogs.file_dialogs.size()) << dialogs.Describe();
        const RecordedFileDialog &d = dialogs.file_dialogs[index];
        EXPECT_EQ(d.title, title);
        EXPECT_EQ(d.directory, "/lib/");
        EXPECT_EQ(d.wildcard, kLibraryWildcard);
        EXPECT_EQ(d.style & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT | wxFD_FILE_MUST_EXIST), style);
    }

    // A library file of the current layout holding the distinct configuration.
    wxString WriteDistinctLibrary(const wxString &name)
    {
        FillDistinctConfiguration();
        const wxString path = HomePath(name);
        EXPECT_EQ(SaveLibraryFile(std::string(path.fn_str())).status, LibraryFileStatus::Ok);
        return path;
    }
};

// ---- New --------------------------------------------------------------------

TEST_F(FileCommands, NewCancelledChangesNothing)
{
    FillDistinctConfiguration();
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_NEW);
    ExpectLibraryDialog(0, "New CVQ9 library File", wxFD_OPEN);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_TRUE(FilePath.empty());
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_EQ(LibraryLabel(), "-");
}

TEST_F(FileCommands, NewResetsTheConfigurationAndWritesNoFile)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    FillDistinctConfiguration();
    const wxString path = HomePath("fresh.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_NEW);
    EXPECT_EQ(wxString(FilePath), path);
    EXPECT_EQ(LibraryLabel(), path.utf8_string());
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_FALSE(default_lib_loaded);
    EXPECT_FALSE(FileExists(path));
    const TablesSnapshot after;
    ResetConfiguration(0);
    EXPECT_TABLES_EQ(TablesSnapshot(), after);
    EXPECT_TRUE(mygroupnames[0].empty());
    // The library buttons follow the new file name.
    EXPECT_TRUE(pui->wxButtonSaveAllToLibraryFile->IsEnabled());
}

// ---- Open -------------------------------------------------------------------

TEST_F(FileCommands, OpenCancelledChangesNothing)
{
    FillDistinctConfiguration();
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_OPEN);
    ExpectLibraryDialog(0, "Open CVQ9 library File", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_TRUE(FilePath.empty());
}

TEST_F(FileCommands, OpenReadsTheWholeConfiguration)
{
    const wxString path = WriteDistinctLibrary("saved.cvq");
    const TablesSnapshot saved;
    ResetConfiguration(0);
    need_to_save_lib = true;
    default_lib_loaded = true;
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_OPEN);
    EXPECT_TABLES_EQ(saved, TablesSnapshot());
    EXPECT_EQ(wxString(FilePath), path);
    EXPECT_EQ(LibraryLabel(), path.utf8_string());
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_FALSE(default_lib_loaded);
    EXPECT_TRUE(dialogs.WithCaption("Library format ...").empty());
    EXPECT_TRUE(pui->wxButtonLoadAllFromLib->IsEnabled() || pui->wxNotebookPages->GetSelection() == 0);
}

TEST_F(FileCommands, OpenOfAnUnreadableFileReportsItAndKeepsTheLibrary)
{
    // A folder cannot be read as a library.
    const wxString current = WriteDistinctLibrary("current.cvq");
    FilePath = current.ToStdWstring();
    need_to_save_lib = true;
    const TablesSnapshot before;
    const wxString folder = HomePath("folder.cvq");
    ASSERT_TRUE(wxFileName::Mkdir(folder));
    dialogs.AnswerFileDialog(folder);
    SendCommand(ID_CVQ9_OPEN);
    const auto errors = dialogs.WithCaption("File I/O Error...");
    ASSERT_EQ(errors.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(errors[0].text, "Unable to read " + folder);
    EXPECT_TRUE(errors[0].style & wxICON_WARNING);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_EQ(wxString(FilePath), current);
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(FileCommands, OpenOfAPre14FileConvertsItWithOneNotice)
{
    // The earlier layout: no signature, 39 common parameters with the
    // operating mode in bits 3-4 of parameter 5.
    FillDistinctConfiguration();
    std::vector<uint8_t> image = BuildLibraryImage();
    std::vector<uint8_t> old(image.begin() + 2, image.begin() + LIBRARY_COMMON_OFFSET);
    std::vector<uint8_t> common(40, 0);
    for (int i = 0; i < 40; ++i)
        common[i] = static_cast<uint8_t>(i + 1);
    common[5] = 0x18 | 0x41;
    for (int i = 0; i < 40; ++i)
        if (i != 33)
            old.push_back(common[i]);
    old.insert(old.end(), image.begin() + LIBRARY_CURVE1_OFFSET, image.end());
    ASSERT_EQ(old.size(), PRE14_LIBRARY_IMAGE_SIZE);
    old[0] = 0x90;  // first transport record byte: not the signature
    const wxString path = HomePath("old.cvq");
    WriteFileBytes(path, old);

    ResetConfiguration(0);
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_OPEN);
    const auto notices = dialogs.WithCaption("Library format ...");
    ASSERT_EQ(notices.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(notices[0].text, "The library file format has changed from configuration software version 1.4\n"
                               "This library will be automatically converted to the new format\n"
                               "Please save your library after the conversion");
    EXPECT_TRUE(notices[0].style & wxICON_WARNING);
    EXPECT_EQ(common_params[33], 3);
    EXPECT_EQ(common_params[5], 0x41);
    EXPECT_EQ(common_params[34], 35);
    EXPECT_EQ(mytransport[0].ctrl_status_0, 0x90);
    EXPECT_EQ(mygroupnames[7], L"Strings" + Q9Text(1, L'\0'));
    EXPECT_EQ(user_curve_1[10], 99);
    // Converted, not saved: nothing is written and the flags say so.
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_EQ(wxString(FilePath), path);
}

// ---- Save as and Save ------------------------------------------------------------

TEST_F(FileCommands, SaveWithoutFileAsksForANameAndWritesTheLibrary)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const wxString path = HomePath("named.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_SAVE);
    ExpectLibraryDialog(0, "Save CVQ9 library File", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), LIBRARY_IMAGE_SIZE);
    EXPECT_EQ(bytes[0], 0x53);
    EXPECT_EQ(bytes[1], 0x31);
    EXPECT_EQ(bytes, BuildLibraryImage());
    EXPECT_EQ(wxString(FilePath), path);
    EXPECT_EQ(LibraryLabel(), path.utf8_string());
    EXPECT_FALSE(need_to_save_lib);
    EXPECT_FALSE(default_lib_loaded);
}

TEST_F(FileCommands, SaveAsCancelledChangesNothing)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    SendCommand(ID_CVQ9_SAVEAS);
    ExpectLibraryDialog(0, "Save CVQ9 library File", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    EXPECT_TRUE(FilePath.empty());
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_TRUE(default_lib_loaded);
}

TEST_F(FileCommands, SaveToTheKnownFileLeavesTheFlagsAndExitStillAsks)
{
    const wxString path = HomePath("known.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_NEW);
    ASSERT_TRUE(need_to_save_lib);
    SendCommand(ID_CVQ9_SAVE);
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u) << "Save with a known file shows no dialog";
    EXPECT_EQ(ReadFileBytes(path).size(), LIBRARY_IMAGE_SIZE);
    EXPECT_TRUE(need_to_save_lib);

    // Exit offers Save as; cancelling it still ends the program.
    ExitByCommand();
    ASSERT_EQ(dialogs.file_dialogs.size(), 2u) << dialogs.Describe();
    EXPECT_EQ(dialogs.file_dialogs[1].title, "Save CVQ9 library File");
    EXPECT_EQ(m_pCVQ9MainFrame, nullptr);
}

TEST_F(FileCommands, FailedSaveAsKeepsTheFlagsSoExitAsksAgain)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const wxString path = HomePath("missing-folder/lib.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_SAVEAS);
    const auto errors = dialogs.WithCaption("File I/O Error...");
    ASSERT_EQ(errors.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(errors[0].text, "Unable to write/overwrite " + path);
    EXPECT_TRUE(FilePath.empty());
    EXPECT_EQ(LibraryLabel(), "-");
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_TRUE(default_lib_loaded);

    const wxString good = HomePath("good.cvq");
    dialogs.AnswerFileDialog(good);
    ExitByCommand();
    ASSERT_EQ(dialogs.file_dialogs.size(), 2u);
    EXPECT_EQ(ReadFileBytes(good).size(), LIBRARY_IMAGE_SIZE);
}

TEST_F(FileCommands, FailedSaveToTheKnownFileKeepsTheOldFile)
{
    const wxString path = WriteDistinctLibrary("keep.cvq");
    const std::vector<uint8_t> old = ReadFileBytes(path);
    FilePath = path.ToStdWstring();
    need_to_save_lib = true;
    MakeGroupOneInvalid();
    SendCommand(ID_CVQ9_SAVE);
    EXPECT_FALSE(dialogs.WithCaption("Parameter check").empty()) << dialogs.Describe();
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(FileCommands, SaveAsOfAnInvalidConfigurationWritesNothing)
{
    MakeGroupOneInvalid();
    need_to_save_lib = true;
    const wxString path = HomePath("invalid.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_SAVEAS);
    EXPECT_FALSE(dialogs.WithCaption("Parameter check").empty()) << dialogs.Describe();
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(FilePath.empty());
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(FileCommands, SaveAndOpenRoundTripEveryStoredByte)
{
    FillDistinctConfiguration();
    // Entries 0..4 of each group are not stored.
    mycontrol[6][2].ctrl_value_max = 77;
    const TablesSnapshot saved;
    const wxString path = HomePath("round.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_SAVEAS);
    ResetConfiguration(0);
    mycontrol[6][2].ctrl_value_max = 77;
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_OPEN);
    EXPECT_TABLES_EQ(saved, TablesSnapshot());
}

// ---- Load default -----------------------------------------------------------------

TEST_F(FileCommands, LoadDefaultBuildsTheDefaultLibraryAndKeepsTheFile)
{
    const wxString path = WriteDistinctLibrary("lib.cvq");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_OPEN);
    const std::string label = LibraryLabel();
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    EXPECT_TRUE(dialogs.file_dialogs.size() == 1u);
    EXPECT_EQ(wxString(FilePath), path);
    EXPECT_EQ(LibraryLabel(), label);
    EXPECT_TRUE(default_lib_loaded);
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_EQ(mygroupnames[0], L"   Group 00   ");
    EXPECT_EQ(mygroupnames[20], L"   Group 20   ");
    const TablesSnapshot after;
    ResetConfiguration(1);
    EXPECT_TABLES_EQ(TablesSnapshot(), after);

    // Save then writes the default library over the current file.
    SendCommand(ID_CVQ9_SAVE);
    EXPECT_EQ(ReadFileBytes(path), BuildLibraryImage());
}

TEST_F(FileCommands, LoadDefaultWithoutFileEnablesOnlyTheSaveButton)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    pui->EnableLibraryButtons();
    EXPECT_TRUE(pui->wxButtonSaveAllToLibraryFile->IsEnabled());
    EXPECT_FALSE(pui->wxButtonLoadAllFromLib->IsEnabled());
}

// ---- Import -------------------------------------------------------------------------

namespace {

const char kLegacyHeader[] = "[MANUF].Corvana.\n[MODEL].Pro.\n[COMMENTS].test library.\n";

}  // namespace

TEST_F(FileCommands, ImportConvertsThenSavesAsTheNewLibrary)
{
    const wxString legacy = HomePath("old.cvl");
    const std::string text = std::string(kLegacyHeader) + "[K00][G00].03.00.01.03.00.00.00.00.7F.BN07VV.Volume.\n";
    WriteFileBytes(legacy, std::vector<uint8_t>(text.begin(), text.end()));
    const wxString saved = HomePath("imported.cvq");
    dialogs.AnswerFileDialog(legacy);
    dialogs.AnswerFileDialog(saved);
    SendCommand(ID_CVQ9_IMPORT);
    ASSERT_EQ(dialogs.file_dialogs.size(), 2u) << dialogs.Describe();
    const RecordedFileDialog &d = dialogs.file_dialogs[0];
    EXPECT_EQ(d.title, "Import Corvana Pro library File");
    EXPECT_EQ(d.directory, "/lib/");
    EXPECT_EQ(d.wildcard, "CVL files (*.cvl)|*.cvl");
    EXPECT_EQ(d.style & (wxFD_OPEN | wxFD_SAVE), wxFD_OPEN);
    EXPECT_EQ(dialogs.file_dialogs[1].title, "Save CVQ9 library File");

    const All_Params &r = mycontrol[0][8];
    EXPECT_EQ(r.midi_str_lenght, 3);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(r.midi_string[2], 0x00);
    EXPECT_EQ(r.midi_channel_position, 1);
    EXPECT_EQ(r.ctrl_value_position_0, 3);
    EXPECT_EQ(r.ctrl_value_max, 0x7F);
    EXPECT_EQ(mygroupnames[4], L"   Group 04   ");
    EXPECT_EQ(ReadFileBytes(saved), BuildLibraryImage());
    EXPECT_EQ(wxString(FilePath), saved);
    EXPECT_FALSE(need_to_save_lib);
}

TEST_F(FileCommands, ImportWithCancelledSaveAsStaysUnsavedAndShowsTheImportedControl)
{
    const wxString current = WriteDistinctLibrary("current.cvq");
    FilePath = current.ToStdWstring();
    need_to_save_lib = false;
    SelectGroupInCombo(1);
    all_selected_ctrl = {10, 12};
    ControlIndex = 12;
    pCVQ9View->DrawIndices({10, 12});
    const wxString legacy = HomePath("old.cvl");
    const std::string text = std::string(kLegacyHeader) + "[K01][G03].03.00.01.03.00.00.00.00.7F.BN08VV.Pan.\n";
    WriteFileBytes(legacy, std::vector<uint8_t>(text.begin(), text.end()));
    dialogs.AnswerFileDialog(legacy);
    SendCommand(ID_CVQ9_IMPORT);
    ASSERT_EQ(dialogs.file_dialogs.size(), 2u) << dialogs.Describe();
    EXPECT_EQ(mycontrol[3][9].midi_string[1], 0x08);
    EXPECT_EQ(wxString(FilePath), current);
    // The imported configuration exists only in memory: Exit will offer to save it.
    EXPECT_TRUE(need_to_save_lib);
    // The import addresses its last entry: everything shows it, and edits reach it alone.
    EXPECT_EQ(CurrentGroup, 3u);
    EXPECT_EQ(ControlIndex, 9u);
    EXPECT_EQ(all_selected_ctrl, std::vector<int>{9});
    EXPECT_EQ(m_pGroupCombo->GetSelection(), 3);
    EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>{9});
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "9");
    SelectPage(PAGE_ASSIGN_USER);
    const TablesSnapshot before;
    SpinTo(pui->SpinCtrlMaxValue, 99);
    EXPECT_EQ(mycontrol[3][9].ctrl_value_max, 99);
    mycontrol[3][9].ctrl_value_max = 0x7F;
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(FileCommands, ImportOfAMissingFileReportsAndStops)
{
    const TablesSnapshot before;
    const wxString legacy = HomePath("absent.cvl");
    dialogs.AnswerFileDialog(legacy);
    SendCommand(ID_CVQ9_IMPORT);
    ASSERT_EQ(dialogs.file_dialogs.size(), 1u) << "no Save as after a failed import";
    const auto errors = dialogs.WithCaption("File I/O Error...");
    ASSERT_EQ(errors.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(errors[0].text, "Unable to read " + legacy);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(FileCommands, ImportOfARefusedEntryStopsWithoutSaveAsButLeavesTheTablesUnsaved)
{
    need_to_save_lib = false;
    // Minimum above maximum: the check refuses it.
    const wxString legacy = HomePath("bad.cvl");
    const std::string text = std::string(kLegacyHeader) + "[K00][G00].03.00.01.03.00.00.00.70.10.B007VV.Bad.\n";
    WriteFileBytes(legacy, std::vector<uint8_t>(text.begin(), text.end()));
    dialogs.AnswerFileDialog(legacy);
    SendCommand(ID_CVQ9_IMPORT);
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u) << dialogs.Describe();
    EXPECT_FALSE(dialogs.WithCaption("Parameter check").empty()) << dialogs.Describe();
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(FileCommands, ImportCancelledChangesNothing)
{
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_IMPORT);
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

// ---- Export ---------------------------------------------------------------------------

TEST_F(FileCommands, ExportWritesTheSummary)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const wxString path = HomePath("summary.txt");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    ASSERT_EQ(dialogs.file_dialogs.size(), 1u);
    const RecordedFileDialog &d = dialogs.file_dialogs[0];
    EXPECT_EQ(d.title, "Export all assignments to text file");
    EXPECT_EQ(d.directory, "/lib/");
    EXPECT_EQ(d.wildcard, "TXT files (*.txt)|*.txt");
    EXPECT_EQ(d.style & (wxFD_SAVE | wxFD_OVERWRITE_PROMPT), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("************************************\n* CORVANA Q9 ASSIGNMENTS SUMMARY *\n", 0), 0u)
        << text.substr(0, 200);
    EXPECT_NE(text.find("\nLibrary file: \n"), std::string::npos);
    EXPECT_NE(text.find("Control 08 [Knob 0 (row 0 - col 0)] >> [LCD] "), std::string::npos);
}

TEST_F(FileCommands, ExportNamesTheCurrentLibrary)
{
    const wxString lib = WriteDistinctLibrary("named.cvq");
    dialogs.AnswerFileDialog(lib);
    SendCommand(ID_CVQ9_OPEN);
    const wxString path = HomePath("summary.txt");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("\nLibrary file: " + lib.utf8_string() + "\n"), std::string::npos);
}

TEST_F(FileCommands, ExportOfAnInvalidConfigurationLeavesAnEmptyFile)
{
    MakeGroupOneInvalid();
    const wxString path = HomePath("summary.txt");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    EXPECT_FALSE(dialogs.WithCaption("Parameter check").empty()) << dialogs.Describe();
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(ReadFileBytes(path).empty());
}

TEST_F(FileCommands, ExportToAnUnwritablePlaceReportsIt)
{
    const wxString path = HomePath("no-such-folder/summary.txt");
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    const auto errors = dialogs.WithCaption("File I/O Error...");
    ASSERT_EQ(errors.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(errors[0].text, "Unable to create " + path);
    EXPECT_TRUE(dialogs.WithCaption("Parameter check").empty());
}

TEST_F(FileCommands, ExportCancelledWritesNothing)
{
    SendCommand(ID_CVQ9_EXPORT_TEXT);
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

// ---- Exit and the close box ----------------------------------------------------------------

TEST_F(FileCommands, ExitWithNothingToSaveAsksNothing)
{
    ExitByCommand();
    EXPECT_TRUE(dialogs.file_dialogs.empty());
    EXPECT_EQ(m_pCVQ9MainFrame, nullptr);
}

TEST_F(FileCommands, ExitWithUnsavedChangesSavesThem)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const wxString path = HomePath("at-exit.cvq");
    dialogs.AnswerFileDialog(path);
    ExitByCommand();
    ASSERT_EQ(dialogs.file_dialogs.size(), 1u);
    EXPECT_EQ(dialogs.file_dialogs[0].title, "Save CVQ9 library File");
    EXPECT_EQ(ReadFileBytes(path).size(), LIBRARY_IMAGE_SIZE);
    EXPECT_EQ(m_pCVQ9MainFrame, nullptr);
}

TEST_F(FileCommands, CloseBoxOffersTheUnsavedLibraryLikeExit)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    const wxString path = HomePath("at-close.cvq");
    dialogs.AnswerFileDialog(path);
    CloseByCloseBox();
    ASSERT_EQ(dialogs.file_dialogs.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(dialogs.file_dialogs[0].title, "Save CVQ9 library File");
    EXPECT_EQ(ReadFileBytes(path).size(), LIBRARY_IMAGE_SIZE);
}

TEST_F(FileCommands, CloseBoxWithCancelledSaveStillCloses)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    CloseByCloseBox();
    EXPECT_EQ(dialogs.file_dialogs.size(), 1u);
    EXPECT_EQ(m_pCVQ9MainFrame, nullptr);
}

TEST_F(FileCommands, ExitReleasesThePresetLibrary)
{
    ExitByCommand();
    EXPECT_EQ(Libfiledata, nullptr);
    EXPECT_EQ(presetfiledatalength, 0u);
}

// ---- About, Help ------------------------------------------------------------------------------

TEST_F(FileCommands, AboutShowsTheVersion)
{
    SendCommand(ID_CVQ9_ABOUT);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "Halvorn CVQ9 Configuration software");
    EXPECT_EQ(dialogs.messages[0].text, "Corvana Q9 Configuration Software\nVersion 1.4a -  Jan 2006");
    EXPECT_TRUE(dialogs.messages[0].style & wxOK);
}

TEST_F(FileCommands, HelpOpensTheHelpWindowWithoutComplaint)
{
    SendCommand(ID_CVQ9_HELP);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    ASSERT_NE(pCVQ9App->help, nullptr);
    EXPECT_NE(pCVQ9App->help->GetFrame(), nullptr);
}

TEST_F(FileCommands, ExitAlsoClosesAnOpenHelpWindow)
{
    SendCommand(ID_CVQ9_HELP);
    ASSERT_NE(pCVQ9App->help->GetFrame(), nullptr);
    SendCommand(ID_CVQ9_QUIT);
    Pump();
    // Nothing is left that would keep the program running.
    EXPECT_EQ(ShownTopLevelWindows(), 0u);
    FinishShutdown();
}
