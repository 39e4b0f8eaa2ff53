// Fixture of the GUI tests: starts the program as its start-up does, in a
// fresh home folder of its own (settings never leak between tests), records
// and answers every modal dialog, and drives widgets as the user's actions
// reach their handlers. Message boxes are answered OK (Yes) unless
// `dialogs.message_answer` says otherwise; file dialogs take the queued
// answers in order, Cancel when there is none.
#ifndef CVQ9_GUI_FIXTURE_H
#define CVQ9_GUI_FIXTURE_H

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/modalhook.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "record_access.h"
#include "test_support.h"

struct RecordedMessage {
    wxString caption, text;
    long style = 0;
    wxWindow *parent = nullptr;
};

struct RecordedFileDialog {
    wxString title, wildcard;
    long style = 0;
    bool answered = false;  // false: cancelled
};

class DialogRecorder : public wxModalDialogHook
{
public:
    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileDialog> file_dialogs;
    std::vector<wxString> other_dialogs;  // titles of other modal dialogs
    std::function<int(const RecordedMessage &)> message_answer;
    std::function<int(wxDialog *)> other_answer;  // looks at another modal dialog and answers it; Cancel when unset

    // The answer to the next file dialog: a path, or "" for Cancel.
    void AnswerFileDialog(const std::string &path) { file_answers_.push_back(path); }
    std::vector<wxString> Texts(const wxString &caption) const;  // of the messages with this caption
    std::string Describe() const;
    void Clear();

protected:
    int Enter(wxDialog *dialog) override;
    void Exit(wxDialog *) override {}

private:
    std::deque<wxString> file_answers_;
};

class GuiFixture : public ::testing::Test
{
protected:
    void SetUp() override;     // fresh home folder, HOME pointed at it, hooks registered
    void TearDown() override;  // program closed without saving, home removed

    void StartApp();  // the program's start-up (CVQ9App::OnInit), then its waiting events
    // Exit command or title-bar close box, then the application's shutdown.
    void ExitByCommand();
    void CloseByCloseBox();
    bool AppRunning() const { return running_; }
    void FinishShutdown();  // pending events, every window left, then OnExit
    void Kill();            // the program ended as a crash would: no question, no clean-up

    void Pump(int rounds = 5);
    bool WaitFor(const std::function<bool()> &done);  // runs the event loop, a generous number of rounds at most
    void SendCommand(int id);                         // as the menu bar delivers it
    void SelectGroupInCombo(int group);
    // Group `group` current, `selection` selected and its last control current; no window updated.
    static void SelectControls(unsigned group, const std::vector<int> &selection);
    static void SetGroupRange(int first, int last);  // the group range of the transfers and checks

    std::string HomePath(const std::string &name) const { return home_ + "/" + name; }
    std::string SettingsFilePath() const { return HomePath(".cvq9_config_soft"); }

    DialogRecorder dialogs;

private:
    std::string home_, old_home_, old_data_home_;
    bool had_home_ = false, had_data_home_ = false, running_ = false;
};

// Each test starts with the program running and no dialog recorded.
class RunningApp : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }
};

// The user's actions on widgets: the new value, then its event.
void Deliver(wxWindow *window, wxEvent &event);
void Click(wxButton *button);
void Check(wxCheckBox *box, bool on);
void Choose(wxChoice *choice, int item);
void Choose(wxComboBox *combo, int item);
void Choose(wxRadioBox *box, int item);
void Choose(wxRadioButton *button);
void Choose(wxChoice *choice, const wxString &text);  // fails the test when there is no such entry
void Spin(wxSpinCtrl *spin, int value, bool typed = false);
// Any of the widgets above given `value` (an item, or 0/1 for a check box), and the value it shows.
void Drive(wxWindow *widget, int value, bool typed = false);
int Shown(wxWindow *widget);
void ShowPage(int page);  // and the page-change handler, as a click on the tab runs it
// The group selector, the view and the tabs show control `current` of `group`
// with `selection` selected, and a Max value typed on the page shown reaches
// those controls alone.
void ExpectShownAndEdited(unsigned group, const std::vector<int> &selection, unsigned current, int max = 99);

#endif
