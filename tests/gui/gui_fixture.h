// Fixture for the GUI tests: starts the program the way its start-up does,
// in a fresh home folder of its own (so settings never leak between tests),
// records and answers every modal dialog, and compares whole tables.
//
// Typical use:
//   TEST_F(GuiFixture, OpenCancelled) {
//       StartApp();                        // the real CVQ9App::OnInit
//       dialogs.AnswerFileDialog(wxString()); // next file dialog: Cancel
//       TablesSnapshot before;
//       SendCommand(ID_CVQ9_OPEN);
//       EXPECT_TABLES_EQ(before, TablesSnapshot());
//   }
// Message boxes are answered with OK (or Yes) unless `dialogs.message_answer`
// says otherwise; file dialogs take the queued answers in order and are
// cancelled when the queue is empty.
#ifndef CVQ9_GUI_FIXTURE_H
#define CVQ9_GUI_FIXTURE_H

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/window.h>

#include "config_tables.h"
#include "test_support.h"

// One message box shown by the program.
struct RecordedMessage {
    wxString caption;
    wxString text;
    long style = 0;  // wxOK, wxICON_WARNING, ...
    bool has_parent = false;
};

// One file dialog shown by the program.
struct RecordedFileDialog {
    wxString title;      // the dialog's message (its title bar)
    wxString directory;  // start directory
    wxString filename;   // default file name
    wxString wildcard;
    long style = 0;         // wxFD_OPEN, wxFD_SAVE, wxFD_OVERWRITE_PROMPT, wxFD_FILE_MUST_EXIST
    bool answered = false;  // false: cancelled
};

// Intercepts every modal dialog while registered.
class DialogRecorder : public wxModalDialogHook
{
public:
    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileDialog> file_dialogs;
    std::vector<wxString> other_dialogs;  // titles of any other modal dialog (answered Cancel)

    // Answer for message boxes; by default OK (or Yes for a Yes/No box).
    std::function<int(const RecordedMessage &)> message_answer;

    // Queues the answer to the next file dialog: a path, or an empty text for Cancel.
    void AnswerFileDialog(const wxString &path) { file_answers_.push_back(path); }
    size_t PendingFileAnswers() const { return file_answers_.size(); }

    // Messages with this caption.
    std::vector<RecordedMessage> WithCaption(const wxString &caption) const;
    // All messages as "caption: text" lines, for failure output.
    std::string Describe() const;
    void Clear();

protected:
    int Enter(wxDialog *dialog) override;
    void Exit(wxDialog *) override {}

private:
    std::deque<wxString> file_answers_;
};

// Gives every group name the form a library file reads back: the text
// followed by one NUL character.
inline void UseStoredGroupNames()
{
    for (Q9Text &name : mygroupnames)
        if (name.empty() || name.back() != L'\0')
            name.push_back(L'\0');
}

class GuiFixture : public ::testing::Test
{
protected:
    void SetUp() override;     // fresh home folder, HOME pointed at it, hook registered
    void TearDown() override;  // program closed without saving, home removed

    // The program's start-up (CVQ9App::OnInit) in the current home folder,
    // then the toolkit's waiting events (none with `settle` false). Fails the
    // test if start-up returns false.
    void StartApp(bool settle = true);
    // Ends the program through its Exit command (which may ask for a file),
    // then the application's shutdown (OnExit) that writes the settings.
    void ExitByCommand();
    // Ends the program through the title-bar close box, then OnExit.
    void CloseByCloseBox();
    bool AppRunning() const { return running_; }
    // The end of either: pending events, any window left, then OnExit.
    void FinishShutdown();
    // Top-level windows still shown and not on their way out.
    static size_t ShownTopLevelWindows();

    // Runs the events waiting in the toolkit's queues, idle processing included.
    void Pump(int rounds = 5);
    // A menu or tool command, delivered as the menu bar delivers it (to the
    // frame, then on to the application when the frame does not handle it).
    void SendCommand(int id);
    // Selects group `group` in the toolbar's group selector as the user would.
    void SelectGroupInCombo(int group);

    // The home folder of this test, and paths in it.
    const wxString &Home() const { return home_; }
    wxString HomePath(const wxString &name) const;
    // The settings file of the program in the home folder ("~/.cvq9_config_soft").
    wxString SettingsFilePath() const;
    // Writes the settings file before start-up; reads it back (empty when absent).
    void WriteSettingsFile(const std::string &contents) const;
    std::string ReadSettingsFile() const;
    // Writes and reads whole files.
    static void WriteFileBytes(const wxString &path, const std::vector<uint8_t> &bytes);
    static std::vector<uint8_t> ReadFileBytes(const wxString &path);
    static bool FileExists(const wxString &path);

    // Saves a picture of `window` (what the screen shows of it) as PNG into
    // the build folder's "screenshots" folder; returns the file's path.
    wxString SaveScreenshot(wxWindow *window, const wxString &name);

    // Runs this test binary (or `program`, a copy of it) again in a child
    // process with `filter` as its test filter, HOME set to this test's home folder and CVQ9_GUI_CHILD=1 in its
    // environment; returns the raw wait status.
    int RunChildProcess(const std::string &filter, const std::string &program = "/proc/self/exe") const;
    // True inside such a child.
    static bool InChildProcess();

    DialogRecorder dialogs;
    // Every error, warning or message logged through the toolkit during the
    // test (level, text); they are also printed. The program reports nothing this way.
    std::vector<std::pair<unsigned long, wxString>> log_messages;

private:
    wxString home_;
    std::string old_home_;
    bool had_home_ = false;
    std::string old_data_home_;
    bool had_data_home_ = false;
    bool running_ = false;
    class LogRecorder;
    LogRecorder *log_recorder_ = nullptr;
    void *previous_log_ = nullptr;
};

#endif
