// Never losing work: the question before unsaved edits go, undo and redo of
// every kind of edit through the real windows, and the recovery library.
#include <algorithm>

#include <wx/button.h>
#include <wx/menu.h>

#include "edit_history.h"
#include "gui_fixture.h"
#include "library_file.h"
#include "recovery_file.h"
#include "usercurvesedition.h"

class EditHistoryTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        Start();
    }

    void Start()
    {
        StartApp();
        Check(pui->wxCheckBoxOffline, true);
        dialogs.Clear();
    }

    std::string RecoveryPath() const { return HomePath(".local/share/cvq9_config_soft/recovery.cvq"); }

    // The answer to the next questions, by their button.
    void Answer(int answer)
    {
        dialogs.message_answer = [answer](const RecordedMessage &m) { return (m.style & wxYES_NO) ? answer : wxID_OK; };
    }
};

TEST_F(EditHistoryTest, MixedEditsUndoToTheStartAndRedoToTheEndShowingWhatTheyChanged)
{
    const std::string lib = HomePath("new.cvq");
    struct Edit {
        const char *name;
        std::function<void()> make;
    };
    const std::vector<Edit> edits = {
        {"Load default", [this] { SendCommand(ID_CVQ9_LOAD_DEFAULT); }},
        {"Max value",
         [this] {
             SelectGroupInCombo(2);
             all_selected_ctrl = {10, 12};
             ControlIndex = 12;
             ShowPage(PAGE_ASSIGN_USER);
             // Typing in one field is one step.
             Spin(pui->SpinCtrlMaxValue, 99);
             Spin(pui->SpinCtrlMaxValue, 98);
         }},
        {"Auto-send at startup",
         [] {
             ShowPage(PAGE_ASSIGN_STD);
             Check(pui->CheckboxAutosend, true);
         }},
        {"CC#7 : Volume",
         [] {
             ShowPage(PAGE_ASSIGN_USER);
             Choose(pui->wxComboBoxStdTemplateCtrl, 12);
         }},
        {"Group name", [] { pui->wxTextCtrlGroupName->SetValue(wxT("Brass")); }},
        {"Paste control 20",
         [this] {
             SendCommand(ID_CVQ9_COPY);
             ControlIndex = 20;
             SendCommand(ID_CVQ9_PASTE);
         }},
        {"Enable LFO", [] { Check(pui->CheckboxLFOState, true); }},
        {"User curves",
         [] {
             pcurveDialog->wxComboBoxResetCurve->SetValue(wxT("Log"));
             Click(pcurveDialog->wxButtonGenerateCurve);
         }},
        {"Clear group 2", [this] { SendCommand(ID_CVQ9_CLEAR_GROUP); }},
        {"New",
         [this, lib] {
             Answer(wxID_NO);
             dialogs.AnswerFileDialog(lib);
             SendCommand(ID_CVQ9_NEW);
         }},
    };
    // The tables, and the file they belong to (New names one).
    std::vector<TablesSnapshot> states{TablesSnapshot()};
    std::vector<std::wstring> files{FilePath};
    for (const Edit &edit : edits) {
        edit.make();
        Pump();
        states.push_back(TablesSnapshot());
        files.push_back(FilePath);
        EXPECT_NE(states.back(), states[states.size() - 2]) << edit.name << " changed nothing";
        EXPECT_EQ(m_pMenu->FindItem(ID_CVQ9_UNDO)->GetItemLabelText(), wxString("Undo ") + edit.name);
    }
    for (size_t i = edits.size(); i > 0; --i) {
        SendCommand(ID_CVQ9_UNDO);
        EXPECT_TABLES_EQ(states[i - 1], TablesSnapshot()) << "undoing " << edits[i - 1].name;
        EXPECT_EQ(files[i - 1], FilePath) << "undoing " << edits[i - 1].name;
        if (std::string(edits[i - 1].name) == "Paste control 20") {
            // The step's group and control are what the windows show.
            EXPECT_EQ(CurrentGroup, 2u);
            EXPECT_EQ(all_selected_ctrl, std::vector<int>{20});
            EXPECT_EQ(m_pGroupCombo->GetSelection(), 2);
            EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>{20});
            EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "20");
        }
    }
    Pump();
    EXPECT_FALSE(m_pMenu->FindItem(ID_CVQ9_UNDO)->IsEnabled());
    EXPECT_FALSE(need_to_save_lib) << "back at the state the program started with";
    for (size_t i = 0; i < edits.size(); ++i) {
        SendCommand(ID_CVQ9_REDO);
        EXPECT_TABLES_EQ(states[i + 1], TablesSnapshot()) << "redoing " << edits[i].name;
        EXPECT_EQ(files[i + 1], FilePath) << "redoing " << edits[i].name;
    }
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(EditHistoryTest, UnsavedEditsAreOfferedBeforeEveryCommandThatDropsThem)
{
    const std::string lib = HomePath("lib.cvq");
    struct Command {
        const char *name;
        std::function<void()> run;
        std::function<bool()> ran;  // the command went ahead
    };
    auto app_closed = [this] { return !AppRunning() || !m_pCVQ9MainFrame || m_pCVQ9MainFrame->IsBeingDeleted(); };
    auto file_dialog = [this](const char *title) {
        return [this, title] { return !dialogs.file_dialogs.empty() && dialogs.file_dialogs[0].title == title; };
    };
    const std::vector<Command> commands = {
        {"New", [this] { SendCommand(ID_CVQ9_NEW); }, file_dialog("New CVQ9 library File")},
        {"Open", [this] { SendCommand(ID_CVQ9_OPEN); }, file_dialog("Open CVQ9 library File")},
        {"Import", [this] { SendCommand(ID_CVQ9_IMPORT); }, file_dialog("Import Corvana Pro library File")},
        {"Load default", [this] { SendCommand(ID_CVQ9_LOAD_DEFAULT); }, [] { return default_lib_loaded; }},
        {"Load All from library", [] { Click(pui->wxButtonLoadAllFromLib); },
         [lib] { return BuildLibraryImage() == ReadFileBytes(lib); }},
        {"Upload All",
         [] {
             pui->CheckboxIgnoreLcd->SetValue(false);  // something to transfer
             Click(pui->wxButtonUploadAllFromQ9);
         },
         [this] { return !dialogs.Texts(wxT("MIDI error")).empty(); }},
        {"Exit", [this] { SendCommand(ID_CVQ9_QUIT); }, app_closed},
        {"Close box", [this] { m_pCVQ9MainFrame->Close(false); }, app_closed},
    };
    // Save that succeeds, Save that the checks refuse, Don't save, Cancel.
    enum Reply { SaveOk, SaveRefused, DontSave, Cancel };
    const char *const replies[] = {"Save", "Save, refused", "Don't save", "Cancel"};
    for (const Command &command : commands) {
        for (Reply answer : {SaveOk, SaveRefused, DontSave, Cancel}) {
            SCOPED_TRACE(std::string(command.name) + " answered " + replies[answer]);
            if (!AppRunning())
                Start();
            ResetConfiguration(1);
            ASSERT_EQ(SaveLibraryFile(lib).status, LibraryFileStatus::Ok);
            FilePath = wxString::FromUTF8(lib).ToStdWstring();
            mycontrol[1][10].ctrl_value_min = 5;  // the unsaved edit
            if (answer == SaveRefused) {
                mycontrol[1][11].ctrl_value_min = 120;  // above its maximum: the check refuses the save
                mycontrol[1][11].ctrl_value_max = 10;
            }
            need_to_save_lib = true;
            default_lib_loaded = false;
            dialogs.Clear();
            Answer(answer == DontSave ? wxID_NO : answer == Cancel ? wxID_CANCEL : wxID_YES);
            command.run();
            Pump();
            ASSERT_FALSE(dialogs.messages.empty());
            EXPECT_EQ(dialogs.messages[0].text, "Save the changes to lib.cvq?");
            const bool saved = ReadFileBytes(lib)[LibraryEntryOffset(1, 10) + 7] == 5;
            EXPECT_EQ(saved, answer == SaveOk);
            EXPECT_EQ(command.ran(), answer == SaveOk || answer == DontSave);
            if (AppRunning() && app_closed())
                FinishShutdown();
        }
    }
}

TEST_F(EditHistoryTest, AKilledProgramsUnsavedWorkIsOfferedBack)
{
    auto offers = [this] {
        return std::count_if(dialogs.messages.begin(), dialogs.messages.end(), [](const RecordedMessage &m) {
            return m.text.StartsWith(wxT("The editor was not closed normally. Restore the unsaved work from "));
        });
    };
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    ShowPage(PAGE_ASSIGN_USER);
    Spin(pui->SpinCtrlMaxValue, 42);
    m_pCVQ9MainFrame->RecoveryTimer().Notify();  // as its second ends
    const std::vector<uint8_t> unsaved = BuildLibraryImage();
    EXPECT_EQ(ReadFileBytes(RecoveryPath()), unsaved);
    Kill();

    // Discard: the work is dropped and not offered again.
    dialogs.Clear();
    Answer(wxID_NO);
    StartApp();
    EXPECT_EQ(offers(), 1);
    EXPECT_NE(BuildLibraryImage(), unsaved);
    Kill();
    dialogs.Clear();
    StartApp();
    EXPECT_EQ(offers(), 0);
    Kill();

    // Restore: the work comes back, unsaved, until a save ends the recovery.
    ASSERT_TRUE(WriteRecoveryFile(RecoveryPath(), unsaved));
    dialogs.Clear();
    Answer(wxID_YES);
    StartApp();
    EXPECT_EQ(offers(), 1);
    EXPECT_EQ(BuildLibraryImage(), unsaved);
    EXPECT_TRUE(need_to_save_lib);
    EXPECT_EQ(pui->wxStaticTextLibraryFile->GetLabel(), "recovered work (unsaved)");
    Check(pui->wxCheckBoxOffline, true);
    EXPECT_TRUE(pFileMenu->IsEnabled(ID_CVQ9_SAVEAS)) << "recovered work can be saved";
    const std::string saved = HomePath("saved.cvq");
    dialogs.AnswerFileDialog(saved);
    ExitByCommand();
    EXPECT_EQ(ReadFileBytes(saved), unsaved);
    EXPECT_FALSE(wxFileExists(wxString::FromUTF8(RecoveryPath())));

    // A damaged one is reported, set aside, and the program starts empty.
    ASSERT_TRUE(WriteRecoveryFile(RecoveryPath(), std::vector<uint8_t>(unsaved.begin(), unsaved.begin() + 100)));
    dialogs.Clear();
    StartApp();
    EXPECT_EQ(offers(), 0);
    const auto reports = dialogs.Texts(wxT("File I/O Error..."));
    ASSERT_EQ(reports.size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(reports[0].StartsWith(wxT("The recovery file was damaged and was set aside as ")));
    EXPECT_FALSE(wxFileExists(wxString::FromUTF8(RecoveryPath())));
}
