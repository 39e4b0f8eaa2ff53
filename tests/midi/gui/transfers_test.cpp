// The identity request and the transfers through the real editor panel,
// against the PortMidi test double and its simulated controller: the messages
// byte for byte, the controller's memory and the tables afterwards, the boxes
// shown, Cancel and a close while an operation waits.
#include <cstring>

#include <wx/app.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include "Midi_Ios.h"
#include "device_gui.h"
#include "text_bytes.h"

namespace {

Bytes MidiWrite(unsigned group, unsigned index)
{
    uint8_t out[SYSEX_BUFFER_SIZE] = {};
    return Bytes(out, out + Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &AddressedRecord(group, index), out,
                                                      static_cast<uint8_t>(index), static_cast<uint8_t>(group)));
}

std::string LcdBytes(const Q9Text &text)  // the 16 device characters, spaces after the end
{
    uint8_t bytes[LCD_STRING_LENGHT + 2] = {};
    TextToBytes(bytes, text, LCD_STRING_LENGHT);
    std::string s(reinterpret_cast<char *>(bytes));
    s.resize(LCD_STRING_LENGHT, ' ');
    return s;
}

bool SameRecord(const uint8_t *device, const All_Params &table)
{
    return std::memcmp(device, &table, 11 + table.midi_str_lenght) == 0;
}

wxString Identity()  // as the Preferences tab shows it
{
    wxString shown;
    for (wxStaticText *label :
         {pui->TEXTCTRL_CurrentFwVersion, pui->TEXTCTRL_CurrentHwVersion, pui->TEXTCTRL_CurrentFwYear,
          pui->TEXTCTRL_CurrentFwMonth, pui->TEXTCTRL_CurrentFwSerial})
        shown += label->GetLabel() + " ";
    return shown;
}

}  // namespace

using Transfers = DeviceGui;

TEST_F(Transfers, TheIdentityShowsTheControllerAndEnablesTheEditor)
{
    offline_mode = true;
    Run(pui->wxButtonGetIdentity, PAGE_PREFERENCES);
    EXPECT_EQ(q9.received, std::vector<Bytes>{kIdentityRequest});
    EXPECT_EQ(Identity(), "1.6 2.0 2007 03 1-2345 ");
    EXPECT_EQ(fw_version_float, static_cast<float>(1.6));
    EXPECT_EQ(hw_version_float, 2.0f);
    EXPECT_TRUE(cvq9_connected && !offline_mode);
    EXPECT_EQ(settings::OfflineFwVersion() + settings::OfflineHwVersion(), "1.62.0");
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Ribbon);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    // Older hardware shows the infrared panel; an unlisted firmware still counts.
    const uint8_t older[11] = {1, 7, 1, 2, 6, 11, 0, 0, 0, 4, 2};
    std::memcpy(q9.identity, older, sizeof older);
    Run(pui->wxButtonGetIdentity, PAGE_PREFERENCES);
    EXPECT_EQ(Identity(), "1.7 1.2 2006 11 0-0042 ");
    EXPECT_EQ(fw_version_float, static_cast<float>(1.7));
    EXPECT_EQ(settings::OfflineFwVersion(), "1.7");
    EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.6");  // no such entry: the choice stays
    EXPECT_EQ(pCVQ9View->CurrentPanelForm(), PanelForm::Infrared);
    ASSERT_EQ(Open_Midi_In(2), 0);  // the port layer's own box reaches the screen
    pmfake::InjectNotes(2, 1000);
    WaitQueuedData();
    Close_Midi_In();
    EXPECT_EQ(dialogs.Texts("MIDI error").size(), 1u) << dialogs.Describe();
}

TEST_F(Transfers, WithoutAnswerOrPortTheVersionsStayAndNothingIsConnected)
{
    q9.silent = true;
    fw_version_float = 1.4f;
    Run(pui->wxButtonGetIdentity, PAGE_PREFERENCES);
    EXPECT_EQ(MidiErrors(), std::vector<wxString>{"No answer received"});
    EXPECT_EQ(timer_wait, WAIT_STEPS_DEFAULT);
    EXPECT_EQ(Identity(), "- - - - - ");
    EXPECT_FALSE(fw_version_float != 1.4f || cvq9_connected);
    // A port that refuses to open ends the operation silently.
    dialogs.Clear();
    pmfake::SetDevices({{"through", true, false, false},
                        {"through", false, true, false},
                        {"controller", true, false, true},
                        {"controller", false, true, false}});
    Run(pui->wxButtonGetIdentity, PAGE_PREFERENCES);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_TRUE(q9.received.size() == 1 && !cvq9_connected);  // nothing more sent
    // A selector without a selection says which and opens nothing.
    pmfake::SetUsualSystem(&q9);
    pmfake::ClearRecords();
    for (wxComboBox *selector : {pui->wxComboBoxMidiIn, pui->wxComboBoxMidiOut}) {
        dialogs.Clear();
        selector->SetSelection(wxNOT_FOUND);
        const bool in = selector == pui->wxComboBoxMidiIn;
        Run(in ? pui->wxButtonGetIdentity : pui->wxButtonDownloadAllToQ9);
        EXPECT_EQ(dialogs.Texts("MIDI error"),
                  std::vector<wxString>{in ? "No MIDI In port selected" : "No MIDI Out port selected"});
        EXPECT_TRUE(pmfake::Opens().empty());
        selector->SetSelection(1);
    }
}

// The wait ends at its next step, the operation finishes as after Cancel,
// then the program closes, once. Under the sanitizers this also shows that
// nothing is used after it is freed.
TEST_F(Transfers, ClosingWhileTheControllerIsSilentEndsTheOperationThenTheProgram)
{
    struct Case {
        const char *name;
        wxButton *cvq9_config_ui::*button;
        bool forced;
    } const cases[] = {
        {"identity, close box", &cvq9_config_ui::wxButtonGetIdentity, false},
        {"download all, session logout", &cvq9_config_ui::wxButtonDownloadAllToQ9, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (!AppRunning())
            StartWithController();
        q9.silent = true;
        ResetConfiguration(1);
        need_to_save_lib = true;  // the close box offers the unsaved library once
        dialogs.Clear();
        dialogs.AnswerFileDialog(HomePath("closing.cvq"));
        ShowPage(PAGE_ASSIGN_STD);
        wxTimer closer;  // fires from the event loop the wait yields to
        closer.Bind(wxEVT_TIMER, [&c](wxTimerEvent &) { m_pCVQ9MainFrame->Close(c.forced); });
        closer.StartOnce(300);
        Click(pui->*c.button);
        EXPECT_LT(timer_wait, WAIT_STEPS_DEFAULT);  // ended by the close, not by the time-out
        EXPECT_FALSE(programming);
        EXPECT_EQ(0, pmfake::OpenStreams());
        Pump();
        EXPECT_TRUE(!m_pCVQ9MainFrame || wxTheApp->IsScheduledForDestruction(m_pCVQ9MainFrame));
        // A logout cannot wait for a question: the work stays in the recovery file.
        EXPECT_EQ(c.forced ? 0u : 1u, dialogs.file_dialogs.size());
        FinishShutdown();
    }
}

TEST_F(Transfers, DownloadingTheSelectionSendsEachControlAsItIs)
{
    ResetConfiguration(1);
    SelectControls(0, {2, 10});
    std::vector<wxString> shown;  // the control number and both activity LEDs as each message goes out
    q9.tamper = [&](Bytes &) {
        shown.push_back(pui->wxStaticTextCtrlNb->GetLabel() + (pCVQ9View->midi_led_lit[0] ? " in" : "") +
                        (pCVQ9View->midi_led_lit[1] ? " out" : ""));
    };
    Run(pui->wxButtonDownloadCurrentToQ9);
    // A transport button is MIDI only; a group control has its text too.
    ASSERT_EQ(q9.received.size(), 3u);
    EXPECT_TRUE(q9.received[0] == MidiWrite(0, 2) && q9.received[1] == MidiWrite(0, 10));
    EXPECT_EQ(shown, (std::vector<wxString>{"2 in out", "10 in out", "10 in out"}));
    EXPECT_TRUE(SameRecord(q9.transport[2], mytransport[2]) && SameRecord(q9.midi[0][10], mycontrol[0][10]));
    EXPECT_EQ(LcdBytes(mylcdstring[0][10]), std::string(reinterpret_cast<char *>(q9.lcd[0][10]), 16));
    EXPECT_EQ(pui->GAUGE_Bargraph->GetRange(), 2);
    EXPECT_EQ(ControlIndex, 10u);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    // A refused MIDI write is reported and its text not sent; a refused text is reported too.
    q9.tamper = nullptr;
    for (bool lcd_only : {false, true}) {
        q9.received.clear();
        dialogs.Clear();
        q9.refuse_acks = !lcd_only;
        if (lcd_only)
            q9.tamper = [](Bytes &a) { a[6] = a[6] == 0x59 ? 0x49 : a[6]; };
        SelectControls(1, {5, 6});
        Run(pui->wxButtonDownloadCurrentToQ9);
        EXPECT_EQ(q9.received.size(), lcd_only ? 4u : 2u);
        EXPECT_EQ(q9.received[lcd_only ? 2 : 1], MidiWrite(1, 6));
        EXPECT_EQ(MidiErrors(), std::vector<wxString>(2, "Bad Acknoledge received"));
    }
}

TEST_F(Transfers, DownloadOfUndefinedControlSendsNothingUnlessForced)
{
    ResetConfiguration(0);
    SelectControls(4, {20});
    Run(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_TRUE(q9.received.empty());
    pui->CheckboxProgUndef->SetValue(true);
    Run(pui->wxButtonDownloadCurrentToQ9);
    ASSERT_EQ(2u, q9.received.size()) << dialogs.Describe();
    EXPECT_EQ(34u, q9.received[0].size());
    EXPECT_EQ(44u, q9.received[1].size());

    // A defined control whose text is the stored empty field, a lone NUL,
    // still replaces the controller's text; only a text without any
    // character is left out.
    pui->CheckboxProgUndef->SetValue(false);
    InitMidiStruct(&mycontrol[4][20], 4, 20, 1);
    for (const Q9Text &text : {Q9Text(1, L'\0'), Q9Text()}) {
        mylcdstring[4][20] = text;
        q9.received.clear();
        Run(pui->wxButtonDownloadCurrentToQ9);
        ASSERT_EQ(text.empty() ? 1u : 2u, q9.received.size()) << dialogs.Describe();
        if (!text.empty()) {
            EXPECT_EQ(std::string(16, ' '), std::string(reinterpret_cast<char *>(q9.lcd[4][20]), 16));
        }
    }
}

TEST_F(Transfers, RequestsThatCannotBeBuiltAreReportedNamingTheirControl)
{
    ResetConfiguration(1);
    ShowPage(PAGE_ASSIGN_STD);
    SelectControls(3, {2});  // a transport button kept selected while the group moved on
    Click(pui->wxButtonDownloadCurrentToQ9);
    // A length from a damaged library: the check only warns, the message cannot hold it.
    CurrentGroup = 1;
    mycontrol[1][9].midi_str_lenght = 22;
    SetGroupRange(1, 1);
    Click(pui->wxButtonDownloadAllToQ9);
    // A group name the controller cannot show.
    mygroupnames[1] = L"Tab\there";
    ShowPage(PAGE_GLOBAL);
    pui->wxTextCtrlGroupName->ChangeValue(wxT("Tab\there"));
    Click(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_EQ(
        (std::vector<wxString>{wxT("Group 3 - Control 2\nInvalid request"), wxT("Group 1 - Control 9\nInvalid request"),
                               wxT("Group 1 - Parameter 38\nInvalid request")}),
        MidiErrors());
    EXPECT_FALSE(programming);
    EXPECT_EQ(0, pmfake::OpenStreams());
    // An upload stops at the request it cannot build: nothing for 2, control 10 not reached.
    dialogs.Clear();
    q9.received.clear();
    SelectControls(3, {2, 10});
    Run(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_EQ(MidiErrors(), std::vector<wxString>{"Group 3 - Control 2\nInvalid request"});
    EXPECT_TRUE(q9.received.empty());
}

// A check that fails during a transfer shows the faulty control on its own;
// when the transfer ends, the group selector, the view, the tabs and the
// selection that edits reach show again what the user looked at.
TEST_F(Transfers, AfterAStoppedTransferEditsReachTheControlsTheUserSees)
{
    ResetConfiguration(1);
    mycontrol[4][20].midi_string[0] = 0x30;  // not a status byte: the check fails
    SelectGroupInCombo(2);
    SelectControls(2, {10, 12});
    pCVQ9View->DrawIndices({10, 12});
    SetGroupRange(3, 5);
    ShowPage(PAGE_ASSIGN_USER);
    for (wxButton *button : {pui->wxButtonDownloadAllToQ9, pui->wxButtonDownloadCurrentToQ9}) {
        if (button == pui->wxButtonDownloadCurrentToQ9) {
            // A selection download stopped on its own faulty control.
            mycontrol[2][10].midi_string[0] = 0x30;
        }
        dialogs.Clear();
        Click(button);
        ASSERT_EQ(1u, dialogs.Texts(wxT("Parameter check")).size()) << dialogs.Describe();
        ExpectShownAndEdited(2, {10, 12}, 12, button == pui->wxButtonDownloadAllToQ9 ? 99 : 98);
        mycontrol[2][10].midi_string[0] = 0xB0;
    }
}

TEST_F(Transfers, UploadingTheSelectionFillsRecordsAndTexts)
{
    SelectControls(7, {12, 40});
    for (int index : {12, 40}) {
        All_Params record;
        InitMidiStruct(&record, 7, static_cast<uint8_t>(index), 1);
        std::memcpy(q9.midi[7][index], &record, 32);
        std::memcpy(q9.lcd[7][index], index == 12 ? "Twelve          " : "Forty   40      ", 16);
    }
    need_to_save_lib = false;
    Run(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    ASSERT_EQ(q9.received.size(), 4u);
    EXPECT_EQ(q9.received[0], (Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x33, 0x00, 12, 7, 0xF7}));
    EXPECT_EQ(q9.received[1], (Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x31, 0x00, 12, 7, 0xF7}));
    EXPECT_TRUE(SameRecord(q9.midi[7][12], mycontrol[7][12]) && SameRecord(q9.midi[7][40], mycontrol[7][40]));
    EXPECT_EQ(mylcdstring[7][12] + mylcdstring[7][40], Q9Text(L"Twelve          Forty   40      "));
    EXPECT_TRUE(need_to_save_lib);
    // Control 5 answered, control 6 not: one box, and the upload ends.
    q9.received.clear();
    q9.answer_budget = 2;
    SelectControls(2, {5, 6, 7});
    Run(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_EQ(MidiErrors(), std::vector<wxString>{"No answer received"});
    EXPECT_EQ(q9.received.size(), 3u);
}

TEST_F(Transfers, TheGlobalTabsSendAndFetchTheCommonParametersInOrder)
{
    ResetConfiguration(1);
    fw_version_float = 1.6f;
    CurrentGroup = 3;
    common_params[5] = 1;
    common_params[32] = 100;
    user_curve_2[127] = 99;
    ShowPage(PAGE_GLOBAL);
    pui->wxTextCtrlGroupName->ChangeValue(wxT("Brass"));
    Run(pui->wxButtonDownloadCurrentToQ9, PAGE_GLOBAL);
    std::vector<int> addresses;
    for (const Bytes &m : q9.received) {
        addresses.push_back(m[8]);
        EXPECT_EQ(m[6] + m[9], 0x00 + 3);  // a write of group 3
    }
    EXPECT_EQ(addresses, (std::vector<int>{5, 38, 0, 3, 4, 32, 11, 33, 1, 34, 35, 36, 37}));
    EXPECT_EQ(std::memcmp(q9.names[3], "Brass         ", 14), 0);
    EXPECT_EQ(q9.common[5] + q9.common[32] + q9.curves[1][127], 1 + 100 + 99);
    EXPECT_EQ(mygroupnames[3].substr(0, 5), Q9Text(L"Brass"));
    // Fetched back into emptied tables.
    ResetConfiguration(0);
    q9.common[11] = 7;
    std::memcpy(q9.names[3], "Organ  Drawbar", 14);
    for (int i = 0; i < 128; ++i)
        q9.curves[0][i] = static_cast<uint8_t>(127 - i);
    need_to_save_lib = false;
    q9.received.clear();
    Run(pui->wxButtonUploadCurrentFromQ9, PAGE_REALTIME);
    EXPECT_EQ(q9.received.size(), 13u);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    for (int address : {0, 1, 3, 4, 5, 11, 32, 33})
        EXPECT_EQ(common_params[address], q9.common[address]) << address;
    EXPECT_EQ(mygroupnames[3], Q9Text(L"Organ  Drawbar"));
    EXPECT_EQ(Bytes(user_curve_1, user_curve_1 + 128), Bytes(q9.curves[0], q9.curves[0] + 128));
    EXPECT_EQ(Bytes(user_curve_2, user_curve_2 + 128), Bytes(q9.curves[1], q9.curves[1] + 128));
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(Transfers, OlderFirmwareSkipsTheOperatingModeButNotItsPause)
{
    ResetConfiguration(1);
    fw_version_float = 1.5f;
    ShowPage(PAGE_REALTIME);
    Click(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_EQ(12u, q9.received.size());
    for (const Bytes &m : q9.received)
        EXPECT_NE(33, m[8]);
    // The controller gets every pause, the one after the item not sent included.
    EXPECT_EQ((std::vector<unsigned>{150, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 150}), pauses);
    q9.received.clear();
    Click(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_EQ(12u, q9.received.size());
}

TEST_F(Transfers, DownloadAllSendsTheGroupRangeAndShowsWhereItIs)
{
    ResetConfiguration(1);
    SetGroupRange(3, 5);
    CurrentGroup = 9;
    ControlIndex = 30;
    wxString last;  // the group and control numbers as the last message goes out
    q9.tamper = [&](Bytes &) {
        last = pui->wxStaticTextGroupNb->GetLabel() + "/" + pui->wxStaticTextCtrlNb->GetLabel();
    };
    Run(pui->wxButtonDownloadAllToQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    EXPECT_EQ(q9.received.size(), 2u * 3u * 62u);  // no transport button outside group 0
    for (const Bytes &m : q9.received)
        EXPECT_TRUE(m[8] >= 5 && m[9] >= 3 && m[9] <= 5);
    for (unsigned g = 3; g <= 5; ++g)
        for (unsigned c = 5; c <= 66; ++c)
            EXPECT_TRUE(SameRecord(q9.midi[g][c], mycontrol[g][c])) << g << "/" << c;
    EXPECT_EQ(pui->GAUGE_Bargraph->GetRange(), 191);
    EXPECT_EQ(last, "5/66");
    EXPECT_EQ(CurrentGroup + ControlIndex, 9u + 30u);
    // A reversed range sends nothing but opens and closes the ports; with
    // both ignore boxes checked there is nothing to do, and the user is told.
    for (bool ignore : {false, true}) {
        q9.received.clear();
        pmfake::ClearRecords();
        dialogs.Clear();
        SetGroupRange(ignore ? 0 : 4, ignore ? 1 : 2);
        pui->CheckboxIgnoreMIDI->SetValue(ignore);
        pui->CheckboxIgnoreLcd->SetValue(ignore);
        for (wxButton *button : {pui->wxButtonDownloadAllToQ9, pui->wxButtonUploadAllFromQ9})
            Run(button);
        EXPECT_TRUE(q9.received.empty());
        EXPECT_EQ(pmfake::Opens().size() + pmfake::CloseCount(), ignore ? 0u : 8u);
        EXPECT_EQ(dialogs.Texts(CVQ9_MAIN_TITLE).size(), ignore ? 2u : 0u) << dialogs.Describe();
    }
}

// While a transfer runs only Cancel is usable and the window keeps painting;
// Cancel ends the running wait at the step it is seen, without another read.
TEST_F(Transfers, CancelStopsATransferAtOnce)
{
    for (bool upload : {false, true}) {
        ResetConfiguration(upload ? 0 : 1);
        SetGroupRange(0, 20);
        CurrentGroup = 6;
        ControlIndex = 8;
        q9.answer_delay = 20;
        dialogs.Clear();
        q9.received.clear();
        bool seen = false, others_enabled = true, painted = false;
        int polls = -1, gauge = 0, ticks = 0;
        size_t received = 0;
        auto on_paint = [&](wxPaintEvent &event) {
            painted = painted || (seen && programming);
            event.Skip();
        };
        pCVQ9View->Bind(wxEVT_PAINT, on_paint);
        wxTimer watch;
        watch.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
            if (!seen) {
                seen = programming && pui->wxButtonCancel->IsEnabled();
                others_enabled = pui->wxButtonDownloadAllToQ9->IsEnabled() || pui->wxNotebookPages->IsEnabled() ||
                                 pui->wxButtonCheckAll->IsEnabled() || toolBar->IsEnabled() ||
                                 m_pGroupCombo->IsEnabled() || m_pMenu->IsEnabledTop(0);
                pCVQ9View->Refresh();
            } else if ((painted && pui->GAUGE_Bargraph->GetValue() > 0) || ++ticks > 1000) {  // far beyond a frame
                watch.Stop();
                gauge = pui->GAUGE_Bargraph->GetValue();
                polls = pmfake::PollCount();
                received = q9.received.size();
                Click(pui->wxButtonCancel);
            }
        });
        watch.Start(10);
        Run(upload ? pui->wxButtonUploadAllFromQ9 : pui->wxButtonDownloadAllToQ9);
        watch.Stop();
        pCVQ9View->Unbind(wxEVT_PAINT, on_paint);
        ASSERT_GE(polls, 0) << "Cancel was not pressed during the transfer";
        EXPECT_TRUE(seen && !others_enabled && painted && gauge > 0 && received > 0);
        EXPECT_EQ(pmfake::PollCount(), polls);
        EXPECT_EQ(q9.received.size(), received);
        EXPECT_EQ(MidiErrors(), std::vector<wxString>{"No answer received"});
        EXPECT_EQ(CurrentGroup + ControlIndex, 6u + 8u);
        EXPECT_TRUE(pui->wxNotebookPages->IsEnabled() && !pui->wxButtonCancel->IsEnabled());
    }
}

TEST_F(Transfers, TheWholeConfigurationTravelsThereAndBack)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    mycontrol[20][66].midi_str_lenght = 3;
    mycontrol[20][66].midi_string[2] = 0x11;
    mylcdstring[12][33] = L"Round trip";
    mytransport[4].ctrl_value_max = 100;
    SetGroupRange(0, 20);
    const TablesSnapshot original;
    SendCommand(ID_CVQ9_DOWNLOAD_ALL);  // the menu items run the transfers too
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    dialogs.message_answer = [](const RecordedMessage &) { return wxID_NO; };  // the edits dropped
    dialogs.AnswerFileDialog(HomePath("fresh.cvq"));
    SendCommand(ID_CVQ9_NEW);
    const TablesSnapshot fresh;
    ASSERT_NE(original.controls, fresh.controls);
    Run(pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    const TablesSnapshot uploaded;
    EXPECT_EQ(original.controls, uploaded.controls);
    EXPECT_EQ(original.transport, uploaded.transport);
    for (size_t i = 0; i < original.lcd.size(); ++i)
        ASSERT_TRUE(i % CONTROLS_PER_GROUP < FIRST_GROUP_CONTROL ||
                    LcdBytes(original.lcd[i]) == LcdBytes(uploaded.lcd[i]))
            << i;
    // The upload is one step: undone to the new library, redone to what came.
    SendCommand(ID_CVQ9_UNDO);
    EXPECT_TABLES_EQ(fresh, TablesSnapshot());
    SendCommand(ID_CVQ9_REDO);
    EXPECT_TABLES_EQ(uploaded, TablesSnapshot());
    q9.received.clear();
    SelectControls(0, {3});
    SendCommand(ID_CVQ9_DOWNLOAD_CURRENT);
    SendCommand(ID_CVQ9_UPLOAD_CURRENT);
    ASSERT_EQ(q9.received.size(), 2u);
    EXPECT_EQ(q9.received[0], MidiWrite(0, 3));
    EXPECT_EQ(q9.received[1][6], 0x33);
    SetGroupRange(4, 4);
    SendCommand(ID_CVQ9_UPLOAD_ALL);
    EXPECT_EQ(q9.received.size(), 2u + 2u * 62u);
}
