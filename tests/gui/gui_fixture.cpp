#include "gui_fixture.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"
#include "cvq9_config_ui.h"

extern char **environ;

// ---- DialogRecorder --------------------------------------------------------

int DialogRecorder::Enter(wxDialog *dialog)
{
    if (auto *file = dynamic_cast<wxFileDialog *>(dialog)) {
        RecordedFileDialog record;
        record.title = file->GetMessage();
        record.directory = file->GetDirectory();
        record.filename = file->GetFilename();
        record.wildcard = file->GetWildcard();
        record.style = file->GetWindowStyle();
        wxString answer;
        if (!file_answers_.empty()) {
            answer = file_answers_.front();
            file_answers_.pop_front();
        }
        record.answered = !answer.empty();
        file_dialogs.push_back(record);
        if (answer.empty())
            return wxID_CANCEL;
        file->SetPath(answer);
        return wxID_OK;
    }
    if (auto *box = dynamic_cast<wxMessageDialogBase *>(dialog)) {
        RecordedMessage record;
        record.caption = box->GetCaption();
        record.text = box->GetMessage();
        record.style = box->GetMessageDialogStyle();
        messages.push_back(record);
        if (message_answer)
            return message_answer(record);
        return (record.style & wxYES_NO) ? wxID_YES : wxID_OK;
    }
    other_dialogs.push_back(dialog->GetTitle());
    return wxID_CANCEL;
}

std::vector<RecordedMessage> DialogRecorder::WithCaption(const wxString &caption) const
{
    std::vector<RecordedMessage> found;
    for (const RecordedMessage &m : messages)
        if (m.caption == caption)
            found.push_back(m);
    return found;
}

std::string DialogRecorder::Describe() const
{
    std::string text;
    for (const RecordedMessage &m : messages)
        text += "message [" + m.caption.utf8_string() + "]: " + m.text.utf8_string() + "\n";
    for (const RecordedFileDialog &f : file_dialogs)
        text += "file dialog [" + f.title.utf8_string() + "] " + (f.answered ? "answered" : "cancelled") + "\n";
    for (const wxString &t : other_dialogs)
        text += "dialog [" + t.utf8_string() + "]\n";
    return text.empty() ? std::string("no dialogs") : text;
}

void DialogRecorder::Clear()
{
    messages.clear();
    file_dialogs.clear();
    other_dialogs.clear();
}

// ---- GuiFixture ------------------------------------------------------------

class GuiFixture::LogRecorder : public wxLog
{
public:
    explicit LogRecorder(std::vector<std::pair<unsigned long, wxString>> &into) : into_(into) {}

protected:
    void DoLogRecord(wxLogLevel level, const wxString &message, const wxLogRecordInfo &) override
    {
        // What a user would see: errors, warnings and messages; not debug output.
        if (level > wxLOG_Message)
            return;
        into_.emplace_back(level, message);
        std::fprintf(stderr, "log (%lu): %s\n", static_cast<unsigned long>(level), message.utf8_str().data());
    }

private:
    std::vector<std::pair<unsigned long, wxString>> &into_;
};

bool GuiFixture::InChildProcess()
{
    const char *flag = getenv("CVQ9_GUI_CHILD");
    return flag && std::strcmp(flag, "1") == 0;
}

void GuiFixture::SetUp()
{
    const char *home = getenv("HOME");
    had_home_ = home != nullptr;
    if (home)
        old_home_ = home;
    if (InChildProcess()) {
        home_ = wxString::FromUTF8(home ? home : "/tmp");
    } else {
        char pattern[] = "/tmp/cvq9_gui_home_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home_ = wxString::FromUTF8(pattern);
        setenv("HOME", pattern, 1);
    }
    // The user's data folder (recovery library, own presets) goes to the home folder too.
    const char *data = getenv("XDG_DATA_HOME");
    had_data_home_ = data != nullptr;
    if (data)
        old_data_home_ = data;
    unsetenv("XDG_DATA_HOME");
    dialogs.Register();
    log_recorder_ = new LogRecorder(log_messages);
    previous_log_ = wxLog::SetActiveTarget(log_recorder_);
}

void GuiFixture::TearDown()
{
    if (running_) {
        // No questions while cleaning up: the test is over.
        need_to_save_lib = false;
        if (m_pCVQ9MainFrame)
            m_pCVQ9MainFrame->Destroy();
        FinishShutdown();
    }
    dialogs.Unregister();
    wxLog::FlushActive();
    delete wxLog::SetActiveTarget(static_cast<wxLog *>(previous_log_));
    log_recorder_ = nullptr;
    if (!InChildProcess()) {
        wxFileName::Rmdir(home_, wxPATH_RMDIR_RECURSIVE);
        if (had_home_)
            setenv("HOME", old_home_.c_str(), 1);
        else
            unsetenv("HOME");
    }
    if (had_data_home_)
        setenv("XDG_DATA_HOME", old_data_home_.c_str(), 1);
}

void GuiFixture::Pump(int rounds)
{
    wxEventLoopBase *loop = wxEventLoopBase::GetActive();
    for (int i = 0; i < rounds; ++i) {
        if (loop)
            loop->YieldFor(wxEVT_CATEGORY_ALL);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

void GuiFixture::StartApp(bool settle)
{
    ASSERT_FALSE(running_) << "the program is already running";
    ASSERT_NE(wxTheApp, nullptr);
    running_ = true;
    ASSERT_TRUE(wxTheApp->OnInit()) << dialogs.Describe();
    if (settle)
        Pump();
}

void GuiFixture::FinishShutdown()
{
    Pump();
    // Whatever top-level window is left (a help window, say) goes with the program.
    while (!wxTopLevelWindows.empty()) {
        wxWindow *w = wxTopLevelWindows.GetFirst()->GetData();
        w->Destroy();
        Pump(1);
    }
    wxTheApp->OnExit();
    running_ = false;
}

size_t GuiFixture::ShownTopLevelWindows()
{
    size_t shown = 0;
    for (wxWindow *w : wxTopLevelWindows)
        if (w->IsShown() && !w->IsBeingDeleted())
            ++shown;
    return shown;
}

void GuiFixture::ExitByCommand()
{
    ASSERT_TRUE(running_);
    SendCommand(ID_CVQ9_QUIT);
    FinishShutdown();
}

void GuiFixture::CloseByCloseBox()
{
    ASSERT_TRUE(running_);
    ASSERT_NE(m_pCVQ9MainFrame, nullptr);
    m_pCVQ9MainFrame->Close(false);
    FinishShutdown();
}

void GuiFixture::SendCommand(int id)
{
    ASSERT_NE(m_pCVQ9MainFrame, nullptr);
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(m_pCVQ9MainFrame);
    m_pCVQ9MainFrame->ProcessWindowEvent(event);
    Pump(2);
}

void GuiFixture::SelectGroupInCombo(int group)
{
    ASSERT_NE(m_pGroupCombo, nullptr);
    m_pGroupCombo->SetSelection(group);
    wxCommandEvent event(wxEVT_COMBOBOX, m_pGroupCombo->GetId());
    event.SetEventObject(m_pGroupCombo);
    event.SetInt(group);
    event.SetString(m_pGroupCombo->GetValue());
    m_pGroupCombo->GetEventHandler()->ProcessEvent(event);
    Pump(2);
}

wxString GuiFixture::HomePath(const wxString &name) const
{
    return home_ + "/" + name;
}

wxString GuiFixture::SettingsFilePath() const
{
    return HomePath(".cvq9_config_soft");
}

void GuiFixture::WriteSettingsFile(const std::string &contents) const
{
    WriteFileBytes(SettingsFilePath(), std::vector<uint8_t>(contents.begin(), contents.end()));
}

std::string GuiFixture::ReadSettingsFile() const
{
    const std::vector<uint8_t> bytes = ReadFileBytes(SettingsFilePath());
    return std::string(bytes.begin(), bytes.end());
}

void GuiFixture::WriteFileBytes(const wxString &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path.fn_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> GuiFixture::ReadFileBytes(const wxString &path)
{
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool GuiFixture::FileExists(const wxString &path)
{
    return wxFileName::FileExists(path);
}

wxString GuiFixture::SaveScreenshot(wxWindow *window, const wxString &name)
{
    const wxString folder = wxString::FromUTF8(CVQ9_SCREENSHOT_DIR);
    wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    window->Raise();
    window->Refresh();
    window->Update();
    // The toolkit draws on its frame clock: let a few frames pass.
    for (int i = 0; i < 30; ++i) {
        Pump(1);
        wxMilliSleep(10);
    }
    // What the X server shows, read by ImageMagick (the toolkit's screen
    // context keeps an old picture of the screen on GTK 3).
    const wxRect rect = window->GetScreenRect();
    const wxString path = folder + "/" + name + ".png";
    const std::string geometry = wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y).utf8_string();
    const std::string target = path.utf8_string();
    std::string program = "import";
    std::string window_arg = "-window", root = "root", crop = "-crop", repage = "+repage";
    std::string geometry_arg = geometry, target_arg = target;
    char *argv[] = {&program[0],      &window_arg[0], &root[0],       &crop[0],
                    &geometry_arg[0], &repage[0],     &target_arg[0], nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "import", nullptr, nullptr, argv, environ) != 0)
        return wxString();
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return wxString();
    return path;
}

int GuiFixture::RunChildProcess(const std::string &filter, const std::string &program_path) const
{
    std::vector<std::string> env_text;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "HOME=", 5) == 0 || std::strncmp(*e, "CVQ9_GUI_CHILD=", 15) == 0)
            continue;
        env_text.push_back(*e);
    }
    env_text.push_back("HOME=" + home_.utf8_string());
    env_text.push_back("CVQ9_GUI_CHILD=1");
    std::vector<char *> envp;
    for (std::string &s : env_text)
        envp.push_back(&s[0]);
    envp.push_back(nullptr);

    std::string program = program_path;
    std::string filter_arg = "--gtest_filter=" + filter;
    std::string disabled_arg = "--gtest_also_run_disabled_tests";
    char *argv[] = {&program[0], &filter_arg[0], &disabled_arg[0], nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return status;
}
