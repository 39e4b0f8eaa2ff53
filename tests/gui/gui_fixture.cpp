#include "gui_fixture.h"

#include <stdlib.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "CVQ9Test.h"

int DialogRecorder::Enter(wxDialog *dialog)
{
    if (auto *file = dynamic_cast<wxFileDialog *>(dialog)) {
        const wxString answer = file_answers_.empty() ? wxString() : file_answers_.front();
        if (!file_answers_.empty())
            file_answers_.pop_front();
        file_dialogs.push_back({file->GetMessage(), file->GetWildcard(), file->GetWindowStyle(), !answer.empty()});
        if (answer.empty())
            return wxID_CANCEL;
        file->SetPath(answer);
        return wxID_OK;
    }
    if (auto *box = dynamic_cast<wxMessageDialogBase *>(dialog)) {
        messages.push_back({box->GetCaption(), box->GetMessage(), box->GetMessageDialogStyle(), dialog->GetParent()});
        if (message_answer)
            return message_answer(messages.back());
        return (messages.back().style & wxYES_NO) ? wxID_YES : wxID_OK;
    }
    other_dialogs.push_back(dialog->GetTitle());
    return other_answer ? other_answer(dialog) : wxID_CANCEL;
}

std::vector<wxString> DialogRecorder::Texts(const wxString &caption) const
{
    std::vector<wxString> texts;
    for (const RecordedMessage &m : messages)
        if (m.caption == caption)
            texts.push_back(m.text);
    return texts;
}

std::string DialogRecorder::Describe() const
{
    wxString text;
    for (const RecordedMessage &m : messages)
        text += "message [" + m.caption + "]: " + m.text + "\n";
    for (const RecordedFileDialog &f : file_dialogs)
        text += "file dialog [" + f.title + "] " + (f.answered ? "answered\n" : "cancelled\n");
    for (const wxString &t : other_dialogs)
        text += "dialog [" + t + "]\n";
    return text.empty() ? "no dialogs" : text.utf8_string();
}

void DialogRecorder::Clear()
{
    messages.clear();
    file_dialogs.clear();
    other_dialogs.clear();
}

void GuiFixture::SetUp()
{
    const char *home = getenv("HOME");
    had_home_ = home != nullptr;
    old_home_ = home ? home : "";
    char pattern[] = "/tmp/cvq9_gui_home_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    home_ = pattern;
    setenv("HOME", pattern, 1);
    // The user's data folder (recovery library, own presets) goes to the home folder too.
    const char *data = getenv("XDG_DATA_HOME");
    had_data_home_ = data != nullptr;
    old_data_home_ = data ? data : "";
    unsetenv("XDG_DATA_HOME");
    dialogs.Register();
}

void GuiFixture::TearDown()
{
    if (running_)
        Kill();
    dialogs.Unregister();
    wxFileName::Rmdir(wxString::FromUTF8(home_), wxPATH_RMDIR_RECURSIVE);
    if (had_home_)
        setenv("HOME", old_home_.c_str(), 1);
    else
        unsetenv("HOME");
    if (had_data_home_)
        setenv("XDG_DATA_HOME", old_data_home_.c_str(), 1);
}

void GuiFixture::Pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        if (wxEventLoopBase *loop = wxEventLoopBase::GetActive())
            loop->YieldFor(wxEVT_CATEGORY_ALL);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

bool GuiFixture::WaitFor(const std::function<bool()> &done)
{
    for (int round = 0; round < 20000 && !done(); ++round) {
        Pump(1);
        wxMilliSleep(1);
    }
    return done();
}

void GuiFixture::StartApp()
{
    running_ = true;
    ASSERT_TRUE(wxTheApp->OnInit()) << dialogs.Describe();
    Pump();
}

void GuiFixture::FinishShutdown()
{
    Pump();
    while (!wxTopLevelWindows.empty()) {
        wxTopLevelWindows.GetFirst()->GetData()->Destroy();
        Pump(1);
    }
    wxTheApp->OnExit();
    running_ = false;
}

void GuiFixture::Kill()
{
    need_to_save_lib = false;
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->Destroy();
    FinishShutdown();
}

void GuiFixture::ExitByCommand()
{
    SendCommand(ID_CVQ9_QUIT);
    FinishShutdown();
}

void GuiFixture::CloseByCloseBox()
{
    m_pCVQ9MainFrame->Close(false);
    FinishShutdown();
}

void GuiFixture::SendCommand(int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    Deliver(m_pCVQ9MainFrame, event);
    Pump(2);
}

void GuiFixture::SelectGroupInCombo(int group)
{
    Choose(m_pGroupCombo, group);
    Pump(2);
}

void GuiFixture::SelectControls(unsigned group, const std::vector<int> &selection)
{
    CurrentGroup = group;
    all_selected_ctrl = selection;
    ControlIndex = static_cast<unsigned>(selection.back());
}

void GuiFixture::SetGroupRange(int first, int last)
{
    pui->wxSpinCtrlStartGroup->SetValue(first);
    pui->wxSpinCtrlEndGroup->SetValue(last);
}

// ---- Widgets

void Deliver(wxWindow *window, wxEvent &event)
{
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

void Click(wxButton *button)
{
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    Deliver(button, event);
}

void Check(wxCheckBox *box, bool on)
{
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetInt(on);
    Deliver(box, event);
}

namespace {

void ChooseItem(wxWindow *window, wxItemContainerImmutable *items, wxEventType type, int item)
{
    items->SetSelection(item);
    wxCommandEvent event(type, window->GetId());
    event.SetInt(item);
    event.SetString(item >= 0 ? items->GetString(static_cast<unsigned>(item)) : wxString());
    Deliver(window, event);
}

}  // namespace

void Choose(wxChoice *choice, int item)
{
    ChooseItem(choice, choice, wxEVT_CHOICE, item);
}

void Choose(wxComboBox *combo, int item)
{
    ChooseItem(combo, combo, wxEVT_COMBOBOX, item);
}

void Choose(wxRadioBox *box, int item)
{
    ChooseItem(box, box, wxEVT_RADIOBOX, item);
}

void Choose(wxRadioButton *button)
{
    button->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
    event.SetInt(1);
    Deliver(button, event);
}

void Choose(wxChoice *choice, const wxString &text)
{
    ASSERT_NE(choice->FindString(text, true), wxNOT_FOUND) << text;
    Choose(choice, choice->FindString(text, true));
}

void Spin(wxSpinCtrl *spin, int value, bool typed)  // arrows, or typed text
{
    spin->SetValue(value);
    wxCommandEvent text(wxEVT_TEXT, spin->GetId());
    wxSpinEvent arrows(wxEVT_SPINCTRL, spin->GetId());
    arrows.SetPosition(value);
    Deliver(spin, typed ? static_cast<wxEvent &>(text) : arrows);
}

void Drive(wxWindow *widget, int value, bool typed)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(widget))
        Check(box, value != 0);
    else if (auto *radio = dynamic_cast<wxRadioBox *>(widget))
        Choose(radio, value);
    else if (auto *combo = dynamic_cast<wxComboBox *>(widget))
        Choose(combo, value);
    else if (auto *choice = dynamic_cast<wxChoice *>(widget))
        Choose(choice, value);
    else
        Spin(dynamic_cast<wxSpinCtrl *>(widget), value, typed);
}

int Shown(wxWindow *widget)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(widget))
        return box->GetValue();
    if (auto *spin = dynamic_cast<wxSpinCtrl *>(widget))
        return spin->GetValue();
    return dynamic_cast<wxItemContainerImmutable *>(widget)->GetSelection();
}

void ShowPage(int page)
{
    wxNotebook *book = pui->wxNotebookPages;
    book->ChangeSelection(static_cast<size_t>(page));
    wxBookCtrlEvent event(wxEVT_NOTEBOOK_PAGE_CHANGED, book->GetId(), page, wxNOT_FOUND);
    Deliver(book, event);
}

void ExpectShownAndEdited(unsigned group, const std::vector<int> &selection, unsigned current, int max)
{
    EXPECT_EQ(CurrentGroup * 100 + ControlIndex, group * 100 + current);
    EXPECT_EQ(all_selected_ctrl, selection);
    EXPECT_EQ(m_pGroupCombo->GetSelection(), static_cast<int>(group));
    EXPECT_EQ(pCVQ9View->DrawnIndices(), std::vector<unsigned>(selection.begin(), selection.end()));
    EXPECT_TRUE(selection.size() > 1 || pui->wxStaticTextCtrlNb->GetLabel() == wxString::Format("%u", current));
    TablesSnapshot expected;
    for (int index : selection)
        expected.Addressed(group, static_cast<unsigned>(index)).ctrl_value_max = static_cast<uint8_t>(max);
    Spin(pui->SpinCtrlMaxValue, max);
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
}
