// "Compare with controller..." and "Verify after download" against the
// simulated controller: the differences listed, the editor's tables left as
// they were, taking one row as one undoable step.
#include <cstddef>
#include <cstring>

#include <wx/listctrl.h>
#include <wx/menu.h>

#include "compare_dialog.h"
#include "control_roster.h"
#include "device_gui.h"
#include "edit_history.h"
#include "library_file.h"
#include "settings.h"

namespace {

class CompareGui : public DeviceGui
{
protected:
    std::function<void(CompareDialog &)> inside;  // looks at the compare dialog before it is closed
    std::vector<std::string> rows;                // its rows as "editor / controller"
    int shown = 0;

    void SetUp() override
    {
        DeviceGui::SetUp();
        dialogs.other_answer = [this](wxDialog *dialog) {
            auto *compare = dynamic_cast<CompareDialog *>(dialog);
            if (!compare)
                return wxID_CANCEL;
            ++shown;
            rows.clear();
            for (long r = 0; r < compare->List()->GetItemCount(); ++r)
                rows.push_back((compare->List()->GetItemText(r, CompareDialog::ColumnEditor) + " / " +
                                compare->List()->GetItemText(r, CompareDialog::ColumnOther))
                                   .utf8_string());
            if (inside)
                inside(*compare);
            return wxID_CLOSE;
        };
        ResetConfiguration(1);
        mygroupnames[3] = L"Pads";
        mylcdstring[3][20] = L"Cutoff";
        SelectGroupInCombo(3);
        SetGroupRange(3, 3);
        Click(pui->wxButtonGetIdentity);
        ASSERT_TRUE(cvq9_connected);
        dialogs.Clear();
    }
};

TEST_F(CompareGui, VerifyAfterDownloadReadsBackWhatWasWritten)
{
    Check(pui->CheckboxVerifyAfterDownload, true);
    EXPECT_TRUE(settings::VerifyAfterDownload());
    SelectControls(3, {10, 12});
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_EQ(0, shown);
    ASSERT_EQ(1u, dialogs.messages.size()) << dialogs.Describe();
    EXPECT_EQ(wxT("Verified: 2 controls match"), dialogs.messages[0].text);

    // The controller keeps another minimum for control 12 than it acknowledged.
    q9.tamper = [this](std::vector<uint8_t> &answer) {
        if (answer[6] == (MIDI_ASSIGN_WRITE_ACK | SYSEX_ANSWER_BIT) && answer[8] == 12)
            q9.midi[3][12][offsetof(All_Params, ctrl_value_min)] = 9;
    };
    dialogs.Clear();
    const TablesSnapshot before;
    Click(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_EQ(1, shown);
    EXPECT_EQ(std::vector<std::string>{std::to_string(mycontrol[3][12].ctrl_value_min) + " / 9"}, rows);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

TEST_F(CompareGui, CompareListsWhatDiffersLeavesTheTablesAndTakesOneRowAsAStep)
{
    // The controller holds what the editor shows: the group's assignments,
    // then its name, the common parameters and the curves.
    Click(pui->wxButtonDownloadAllToQ9);
    ShowPage(PAGE_GLOBAL);
    Click(pui->wxButtonDownloadCurrentToQ9);
    ShowPage(PAGE_ASSIGN_STD);
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    // Then one field, one LCD text, the group name and a curve point change there.
    q9.midi[3][10][offsetof(All_Params, ctrl_value_max)] = 100;
    std::memcpy(q9.lcd[3][20], "Resonance       ", 16);
    std::memcpy(q9.names[3], "Strings       ", 14);
    q9.curves[1][64] = 5;

    need_to_save_lib = false;
    ForgetEdits();
    const TablesSnapshot before;
    wxMenuItem *item = m_pMenu->FindItem(ID_CVQ9_COMPARE);
    for (bool busy : {true, false}) {
        programming = busy;
        m_pCVQ9MainFrame->UpdateWindowUI();
        EXPECT_EQ(!busy, item->IsEnabled());
    }
    inside = [&](CompareDialog &dialog) {
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        EXPECT_FALSE(need_to_save_lib);
        EXPECT_FALSE(EditHistory().CanUndo());
        EXPECT_EQ(ControlName(10), dialog.List()->GetItemText(1, CompareDialog::ColumnControl));
        dialog.Show();
        dialog.Hide();
        // The Max value taken: only that field changes, and the row goes.
        dialog.List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        Click(static_cast<wxButton *>(dialog.FindWindow(CompareDialog::ID_TAKE)));
        EXPECT_EQ(100, mycontrol[3][10].ctrl_value_max);
        mycontrol[3][10].ctrl_value_max = 127;
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        mycontrol[3][10].ctrl_value_max = 100;
        EXPECT_EQ(3u, dialog.RowCount());
    };
    SendCommand(ID_CVQ9_COMPARE);
    EXPECT_EQ(1, shown);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_EQ((std::vector<std::string>{"\"Pads\" / \"Strings\"", "127 / 100", "\"Cutoff\" / \"Resonance\"", "64 / 5"}),
              rows);
    EXPECT_TRUE(need_to_save_lib);
    SendCommand(ID_CVQ9_UNDO);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(programming);
    EXPECT_EQ(0, pmfake::OpenStreams());
}

// A library file against the editor: the same list, the same settling, and
// a file that cannot be read reported with the tables untouched.
TEST_F(CompareGui, CompareWithALibraryFileTakesTheFilesValues)
{
    const std::string path = HomePath("saved.cvq");
    ASSERT_EQ(LibraryFileStatus::Ok, SaveLibraryFile(path).status);
    ASSERT_EQ(LibraryFileStatus::Ok, LoadLibraryFile(path).status);  // the texts as the file keeps them
    const TablesSnapshot saved;
    mycontrol[3][10].ctrl_value_max = 100;
    mygroupnames[3] = L"Strings";
    common_params[12] = 3;
    user_curve_2[64] = 5;
    const TablesSnapshot edited;
    inside = [&](CompareDialog &dialog) {
        EXPECT_TABLES_EQ(edited, TablesSnapshot());
        Click(static_cast<wxButton *>(dialog.FindWindow(CompareDialog::ID_TAKE_ALL)));
    };
    dialogs.AnswerFileDialog(path);
    SendCommand(ID_CVQ9_COMPARE_LIBRARY);
    ASSERT_EQ(1, shown) << dialogs.Describe();
    EXPECT_EQ((std::vector<std::string>{"\"Strings\" / \"Pads\"", "100 / 127", "3 / 0", "5 / 64"}), rows);
    EXPECT_TABLES_EQ(saved, TablesSnapshot());

    dialogs.Clear();
    dialogs.AnswerFileDialog(HomePath("absent.cvq"));
    mycontrol[3][10].ctrl_value_max = 100;
    const TablesSnapshot before;
    SendCommand(ID_CVQ9_COMPARE_LIBRARY);
    EXPECT_EQ(1, shown);
    EXPECT_EQ(1u, dialogs.Texts(LIBRARY_FILE_ERROR_TITLE).size()) << dialogs.Describe();
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

}  // namespace
