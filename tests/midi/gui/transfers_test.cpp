// The identity request and the transfers, through the real editor panel and
// the PortMidi test double with its simulated controller: what the controller
// receives, what ends up in its memory and in the tables, which boxes appear.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/timer.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "cvq9_config_ui.h"
#include "exchange.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "portmidi_fake.h"
#include "record_access.h"
#include "settings.h"
#include "simulated_q9.h"
#include "text_bytes.h"

namespace {

constexpr int kQ9In = 2;
constexpr int kQ9Out = 3;

using Bytes = std::vector<uint8_t>;

class TransfersGui : public GuiFixture
{
protected:
    SimulatedQ9 q9;

    void SetUp() override
    {
        GuiFixture::SetUp();
        StartPlain();
    }

    // The program started with the controller's ports selected, the
    // preferences in a plain state and the pauses recorded.
    void StartPlain()
    {
        pmfake::Reset();
        pmfake::SetUsualSystem(&q9);
        StartApp();
        ASSERT_NE(nullptr, pui);
        // Settings default to position 1 of each selector: the controller's ports.
        ASSERT_EQ(1, pui->wxComboBoxMidiIn->GetSelection());
        ASSERT_EQ(1, pui->wxComboBoxMidiOut->GetSelection());
        pmfake::ClearRecords();
        dialogs.Clear();  // start-up's own boxes are not the transfers' business
        // The preferences start from the settings' defaults (both ignore boxes
        // and forced programming checked); the tests start from a plain state.
        pui->CheckboxIgnoreMIDI->SetValue(false);
        pui->CheckboxIgnoreLcd->SetValue(false);
        pui->CheckboxProgUndef->SetValue(false);
        // The pauses that pace the controller are recorded, not waited.
        SetTransferPause([this](unsigned ms) { pauses.push_back(ms); });
    }

    void TearDown() override
    {
        SetTransferPause(nullptr);
        GuiFixture::TearDown();
    }

    std::vector<unsigned> pauses;

    void Click(wxButton *button)
    {
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
        Pump(2);
    }

    // Presses Cancel `ms` milliseconds from now, from the event loop the waits yield to.
    void CancelAfter(int ms)
    {
        cancel_timer_.Bind(wxEVT_TIMER, [](wxTimerEvent &) {
            wxCommandEvent event(wxEVT_BUTTON, pui->wxButtonCancel->GetId());
            event.SetEventObject(pui->wxButtonCancel);
            pui->wxButtonCancel->ProcessWindowEvent(event);
        });
        cancel_timer_.StartOnce(ms);
    }

    // Closes the main window `ms` milliseconds from now, as the close box does
    // (or, `forced`, as a session logout does: a close that cannot be refused).
    void CloseAfter(int ms, bool forced)
    {
        close_timer_.Bind(wxEVT_TIMER, [forced](wxTimerEvent &) { m_pCVQ9MainFrame->Close(forced); });
        close_timer_.StartOnce(ms);
    }

    void ShowPage(int page)
    {
        pui->wxNotebookPages->SetSelection(static_cast<size_t>(page));
        Pump(2);
    }

    void SetRange(int from, int to)
    {
        pui->wxSpinCtrlStartGroup->SetValue(from);
        pui->wxSpinCtrlEndGroup->SetValue(to);
    }

    static Bytes MidiWrite(unsigned group, unsigned index)
    {
        uint8_t out[SYSEX_BUFFER_SIZE] = {};
        const uint8_t n = Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &AddressedRecord(group, index), out,
                                                    static_cast<uint8_t>(index), static_cast<uint8_t>(group));
        return Bytes(out, out + n);
    }

    static Bytes LcdWrite(unsigned group, unsigned index)
    {
        uint8_t text[LCD_STRING_LENGHT + 2] = {};
        TextToBytes(text, mylcdstring[group][index], LCD_STRING_LENGHT + 1);
        uint8_t out[SYSEX_BUFFER_SIZE] = {};
        const uint8_t n = Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, text, out, static_cast<uint8_t>(index),
                                                   static_cast<uint8_t>(group));
        return Bytes(out, out + n);
    }

    // The 16 device characters of a stored LCD text (spaces after its end).
    static std::string LcdBytes(const Q9Text &text)
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

    std::vector<wxString> MidiErrors() const
    {
        std::vector<wxString> texts;
        for (const RecordedMessage &m : dialogs.WithCaption(wxT("CVQ9 MIDI Error")))
            texts.push_back(m.text);
        return texts;
    }

    // After a transfer; the identity request leaves must_finish_midi as Cancel set it.
    void ExpectIdle(bool after_transfer = true)
    {
        EXPECT_FALSE(programming);
        if (after_transfer) {
            EXPECT_FALSE(must_finish_midi);
        }
        EXPECT_EQ(0, pmfake::OpenStreams());
        EXPECT_EQ(0, pui->GAUGE_Bargraph->GetValue());
    }

private:
    wxTimer cancel_timer_;
    wxTimer close_timer_;
};

// ---- Identity ----------------------------------------------------------

TEST_F(TransfersGui, IdentityShowsVersionsDateAndSerialAndRemembersThem)
{
    offline_mode = true;
    Click(pui->wxButtonGetIdentity);
    ASSERT_EQ(1u, q9.received.size());
    EXPECT_EQ((Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x30, 0x0B, 0x7F, 0x00, 0xF7}), q9.received[0]);
    EXPECT_EQ(wxString("1.6"), pui->TEXTCTRL_CurrentFwVersion->GetLabel());
    EXPECT_EQ(wxString("2.0"), pui->TEXTCTRL_CurrentHwVersion->GetLabel());
    EXPECT_EQ(wxString("2007"), pui->TEXTCTRL_CurrentFwYear->GetLabel());
    EXPECT_EQ(wxString("03"), pui->TEXTCTRL_CurrentFwMonth->GetLabel());
    EXPECT_EQ(wxString("1-2345"), pui->TEXTCTRL_CurrentFwSerial->GetLabel());
    EXPECT_EQ(static_cast<float>(1.6), fw_version_float);
    EXPECT_EQ(2.0f, hw_version_float);
    EXPECT_TRUE(cvq9_connected);
    EXPECT_FALSE(offline_mode);
    EXPECT_EQ(wxString("1.6"), CVQ9_SOFT_config->Read(wxT("Offline_Fw_Version"), wxT("?")));
    EXPECT_EQ(wxString("2.0"), CVQ9_SOFT_config->Read(wxT("Offline_Hw_Version"), wxT("?")));
    EXPECT_EQ(wxString("1.6"), pui->wxChoiceFwOffline->GetStringSelection());
    EXPECT_EQ(wxString("2.0"), pui->wxChoiceHwOffline->GetStringSelection());
    EXPECT_EQ(PanelForm::Ribbon, pCVQ9View->CurrentPanelForm());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    ExpectIdle();
    SaveScreenshot(m_pCVQ9MainFrame, wxT("identity_connected"));
}

TEST_F(TransfersGui, BothActivityLedsAreLitWhenAMessageGoesOut)
{
    std::vector<std::pair<bool, bool>> lit;
    q9.tamper = [&lit](Bytes &) { lit.emplace_back(pCVQ9View->midi_led_lit[0], pCVQ9View->midi_led_lit[1]); };
    ASSERT_FALSE(pCVQ9View->midi_led_lit[0]);
    Click(pui->wxButtonGetIdentity);
    ASSERT_EQ(1u, lit.size());
    EXPECT_TRUE(lit[0].first);
    EXPECT_TRUE(lit[0].second);

    ResetConfiguration(1);
    CurrentGroup = 1;
    all_selected_ctrl = {5};
    ShowPage(PAGE_ASSIGN_STD);
    lit.clear();
    Click(pui->wxButtonDownloadCurrentToQ9);
    ASSERT_EQ(2u, lit.size());  // MIDI and LCD writes
    EXPECT_TRUE(lit[0].first && lit[0].second && lit[1].first && lit[1].second);
}

TEST_F(TransfersGui, StaleInputBoxHasNoParent)
{
    Click(pui->wxButtonGetIdentity);  // every operation routes the port layer's box to the screen
    dialogs.Clear();
    ASSERT_EQ(0, Open_Midi_In(kQ9In));
    pmfake::InjectNotes(kQ9In, 1000);
    WaitQueuedData();
    Close_Midi_In();
    ASSERT_EQ(1u, dialogs.messages.size()) << dialogs.Describe();
    EXPECT_EQ(wxString("MIDI error"), dialogs.messages[0].caption);
    EXPECT_EQ(wxString("There are still data into the input buffer"), dialogs.messages[0].text);
    EXPECT_FALSE(dialogs.messages[0].has_parent);
}

TEST_F(TransfersGui, IdentityOfOlderHardwareSwitchesToTheInfraredPanel)
{
    const uint8_t id[11] = {1, 5, 1, 2, 6, 11, 0, 0, 0, 4, 2};
    std::memcpy(q9.identity, id, sizeof id);
    Click(pui->wxButtonGetIdentity);
    EXPECT_EQ(wxString("1.5"), pui->TEXTCTRL_CurrentFwVersion->GetLabel());
    EXPECT_EQ(wxString("1.2"), pui->TEXTCTRL_CurrentHwVersion->GetLabel());
    EXPECT_EQ(wxString("2006"), pui->TEXTCTRL_CurrentFwYear->GetLabel());
    EXPECT_EQ(wxString("11"), pui->TEXTCTRL_CurrentFwMonth->GetLabel());
    EXPECT_EQ(wxString("0-0042"), pui->TEXTCTRL_CurrentFwSerial->GetLabel());
    EXPECT_EQ(PanelForm::Infrared, pCVQ9View->CurrentPanelForm());
}

TEST_F(TransfersGui, IdentityWithUnlistedFirmwareStillSetsVersionAndSetting)
{
    q9.identity[1] = 7;
    const int before = pui->wxChoiceFwOffline->GetSelection();
    Click(pui->wxButtonGetIdentity);
    EXPECT_EQ(static_cast<float>(1.7), fw_version_float);
    EXPECT_EQ(wxString("1.7"), CVQ9_SOFT_config->Read(wxT("Offline_Fw_Version"), wxT("?")));
    EXPECT_EQ(before, pui->wxChoiceFwOffline->GetSelection());
    EXPECT_TRUE(cvq9_connected);
}

TEST_F(TransfersGui, IdentitySkipsUnrelatedMessages)
{
    q9.before_answer = {{0x90, 0x40, 0x7F},
                        {0xF8},
                        {0xF0, 0x7E, 0x7F, 0x06, 0x02, 0xF7},
                        SimulatedQ9::Header(0x70, 11, 127, 3)};  // identity of "group 3": not ours
    q9.before_answer.back().resize(21, 9);
    q9.before_answer.back().push_back(0xF7);
    q9.split_size = 7;
    q9.split_gap = 20;
    Click(pui->wxButtonGetIdentity);
    EXPECT_EQ(wxString("1.6"), pui->TEXTCTRL_CurrentFwVersion->GetLabel());
    EXPECT_TRUE(cvq9_connected);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(TransfersGui, IdentityCancelledGivesNoAnswerAndKeepsVersions)
{
    q9.silent = true;
    fw_version_float = 1.4f;
    hw_version_float = 1.2f;
    CancelAfter(150);
    Click(pui->wxButtonGetIdentity);
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    EXPECT_EQ(wxString("-"), pui->TEXTCTRL_CurrentFwVersion->GetLabel());
    EXPECT_EQ(wxString("-"), pui->TEXTCTRL_CurrentFwSerial->GetLabel());
    EXPECT_EQ(1.4f, fw_version_float);
    EXPECT_EQ(1.2f, hw_version_float);
    EXPECT_FALSE(cvq9_connected);
    ExpectIdle(false);
}

TEST_F(TransfersGui, IdentityWithoutControllerWaitsTheFullTimeout)
{
    q9.silent = true;
    Click(pui->wxButtonGetIdentity);
    ASSERT_EQ(1u, MidiErrors().size());
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    EXPECT_EQ(5000u, timer_wait);
    EXPECT_EQ(wxString("-"), pui->TEXTCTRL_CurrentHwVersion->GetLabel());
    ExpectIdle();
}

TEST_F(TransfersGui, IdentityWithPortThatCannotOpenEndsSilently)
{
    pmfake::SetDevices({{"Midi Through Port-0", true, false, false},
                        {"Midi Through Port-0", false, true, false},
                        {"Corvana Q9 MIDI 1", true, false, true},
                        {"Corvana Q9 MIDI 1", false, true, false}});
    Click(pui->wxButtonGetIdentity);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_TRUE(q9.received.empty());
    EXPECT_FALSE(cvq9_connected);
    EXPECT_EQ(wxString("-"), pui->TEXTCTRL_CurrentFwVersion->GetLabel());
    ExpectIdle();
}

TEST_F(TransfersGui, OperationWithoutSelectedPortSaysSoAndOpensNothing)
{
    pui->wxComboBoxMidiIn->SetSelection(wxNOT_FOUND);
    Click(pui->wxButtonGetIdentity);
    ASSERT_EQ(1u, dialogs.WithCaption(wxT("MIDI error")).size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No MIDI In port selected"), dialogs.WithCaption(wxT("MIDI error"))[0].text);
    EXPECT_TRUE(pmfake::Opens().empty());

    dialogs.Clear();
    pui->wxComboBoxMidiIn->SetSelection(1);
    pui->wxComboBoxMidiOut->SetSelection(wxNOT_FOUND);
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadAllToQ9);
    ASSERT_EQ(1u, dialogs.WithCaption(wxT("MIDI error")).size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No MIDI Out port selected"), dialogs.WithCaption(wxT("MIDI error"))[0].text);
    EXPECT_TRUE(pmfake::Opens().empty());
    ExpectIdle();
}

// ---- A close while an operation waits --------------------------------------

// The wait ends at its next step, the operation finishes as after Cancel,
// then the program closes, once. Under the sanitizers this also shows that
// nothing is used after it is freed.
TEST_F(TransfersGui, ClosingWhileTheControllerIsSilentEndsTheOperationThenTheProgram)
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
            StartPlain();
        q9.silent = true;
        ResetConfiguration(1);
        need_to_save_lib = true;  // the close offers the unsaved library once
        dialogs.Clear();
        ShowPage(PAGE_ASSIGN_STD);
        CloseAfter(300, c.forced);
        Click(pui->*c.button);
        EXPECT_LT(timer_wait, WAIT_STEPS_DEFAULT);  // ended by the close, not by the time-out
        EXPECT_FALSE(programming);
        EXPECT_EQ(0, pmfake::OpenStreams());
        Pump();
        EXPECT_TRUE(!m_pCVQ9MainFrame || wxTheApp->IsScheduledForDestruction(m_pCVQ9MainFrame));
        EXPECT_EQ(1u, dialogs.file_dialogs.size());
        FinishShutdown();
    }
}

// ---- Selection transfers -------------------------------------------------

TEST_F(TransfersGui, DownloadSelectionSendsTransportAsMidiOnlyAndGroupControlWithLcd)
{
    ResetConfiguration(1);
    CurrentGroup = 0;
    all_selected_ctrl = {2, 10};
    ControlIndex = 10;
    ShowPage(PAGE_ASSIGN_STD);
    pmfake::ClearRecords();
    std::vector<wxString> shown;  // the CONTROL label while each message goes out
    q9.tamper = [&shown](Bytes &) { shown.push_back(pui->wxStaticTextCtrlNb->GetLabel()); };
    Click(pui->wxButtonDownloadCurrentToQ9);
    ASSERT_EQ(3u, q9.received.size()) << dialogs.Describe();
    EXPECT_EQ((std::vector<wxString>{wxT("2"), wxT("10"), wxT("10")}), shown);
    EXPECT_EQ(MidiWrite(0, 2), q9.received[0]);
    EXPECT_EQ(MidiWrite(0, 10), q9.received[1]);
    EXPECT_EQ(LcdWrite(0, 10), q9.received[2]);
    EXPECT_TRUE(SameRecord(q9.transport[2], mytransport[2]));
    EXPECT_TRUE(SameRecord(q9.midi[0][10], mycontrol[0][10]));
    EXPECT_EQ(LcdBytes(mylcdstring[0][10]), std::string(reinterpret_cast<char *>(q9.lcd[0][10]), 16));
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    EXPECT_EQ(10u, ControlIndex);
    EXPECT_EQ(2, pui->GAUGE_Bargraph->GetRange());
    ExpectIdle();
}

TEST_F(TransfersGui, DownloadOfUndefinedControlSendsNothingUnlessForced)
{
    ResetConfiguration(0);
    CurrentGroup = 4;
    all_selected_ctrl = {20};
    ControlIndex = 20;
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadCurrentToQ9);
    EXPECT_TRUE(q9.received.empty());

    pui->CheckboxProgUndef->SetValue(true);
    Click(pui->wxButtonDownloadCurrentToQ9);
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
        Click(pui->wxButtonDownloadCurrentToQ9);
        ASSERT_EQ(text.empty() ? 1u : 2u, q9.received.size()) << dialogs.Describe();
        if (!text.empty()) {
            EXPECT_EQ(std::string(16, ' '), std::string(reinterpret_cast<char *>(q9.lcd[4][20]), 16));
        }
    }
}

TEST_F(TransfersGui, RefusedAcknowledgesAreReportedAndTheDownloadGoesOn)
{
    ResetConfiguration(1);
    q9.refuse_acks = true;
    CurrentGroup = 1;
    all_selected_ctrl = {5, 6};
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadCurrentToQ9);
    // Each control: the MIDI write is refused, so its LCD text is not sent.
    ASSERT_EQ(2u, q9.received.size());
    EXPECT_EQ(MidiWrite(1, 5), q9.received[0]);
    EXPECT_EQ(MidiWrite(1, 6), q9.received[1]);
    ASSERT_EQ(2u, MidiErrors().size());
    EXPECT_EQ(wxString("Bad Acknoledge received"), MidiErrors()[0]);
    EXPECT_EQ(wxString("Bad Acknoledge received"), MidiErrors()[1]);
    ExpectIdle();
}

TEST_F(TransfersGui, RequestsThatCannotBeBuiltAreReportedNamingTheirControl)
{
    ResetConfiguration(1);
    ShowPage(PAGE_ASSIGN_STD);
    // A transport button kept selected while the group moved on.
    CurrentGroup = 3;
    all_selected_ctrl = {2};
    ControlIndex = 2;
    Click(pui->wxButtonDownloadCurrentToQ9);
    // A length from a damaged library: the check only warns, the message cannot hold it.
    CurrentGroup = 1;
    mycontrol[1][9].midi_str_lenght = 22;
    SetRange(1, 1);
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
    ExpectIdle();
}

// A check that fails during a transfer shows the faulty control on its own;
// when the transfer ends, the group selector, the view, the tabs and the
// selection that edits reach show again what the user looked at.
TEST_F(TransfersGui, AfterAStoppedTransferEditsReachTheControlsTheUserSees)
{
    ResetConfiguration(1);
    mycontrol[4][20].midi_string[0] = 0x30;  // not a status byte: the check fails
    SelectGroupInCombo(2);
    all_selected_ctrl = {10, 12};
    ControlIndex = 12;
    pCVQ9View->DrawIndices({10, 12});
    SetRange(3, 5);
    ShowPage(PAGE_ASSIGN_USER);
    for (wxButton *button : {pui->wxButtonDownloadAllToQ9, pui->wxButtonDownloadCurrentToQ9}) {
        if (button == pui->wxButtonDownloadCurrentToQ9) {
            // A selection download stopped on its own faulty control.
            mycontrol[2][10].midi_string[0] = 0x30;
        }
        dialogs.Clear();
        Click(button);
        ASSERT_EQ(1u, dialogs.WithCaption(wxT("Parameter check")).size()) << dialogs.Describe();
        EXPECT_EQ(2u, CurrentGroup);
        EXPECT_EQ(12u, ControlIndex);
        EXPECT_EQ((std::vector<int>{10, 12}), all_selected_ctrl);
        EXPECT_EQ(2, m_pGroupCombo->GetSelection());
        EXPECT_EQ((std::vector<unsigned>{10, 12}), pCVQ9View->DrawnIndices());
        const TablesSnapshot before;
        SpinTo(pui->SpinCtrlMaxValue, 99);
        const TablesSnapshot after;
        EXPECT_EQ(99, mycontrol[2][10].ctrl_value_max);
        EXPECT_EQ(99, mycontrol[2][12].ctrl_value_max);
        mycontrol[2][10].ctrl_value_max = mycontrol[2][12].ctrl_value_max = 127;
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        mycontrol[2][10].midi_string[0] = 0xB0;
    }
}

TEST_F(TransfersGui, MenuCommandsForwardToTheTransfers)
{
    ResetConfiguration(1);
    CurrentGroup = 0;
    all_selected_ctrl = {3};
    ShowPage(PAGE_ASSIGN_STD);
    SendCommand(ID_CVQ9_DOWNLOAD_CURRENT);
    ASSERT_EQ(1u, q9.received.size());
    EXPECT_EQ(MidiWrite(0, 3), q9.received[0]);
    SendCommand(ID_CVQ9_UPLOAD_CURRENT);
    ASSERT_EQ(2u, q9.received.size());
    EXPECT_EQ(0x33, q9.received[1][6]);

    SetRange(4, 4);
    q9.received.clear();
    SendCommand(ID_CVQ9_DOWNLOAD_ALL);
    EXPECT_EQ(2u * 62u, q9.received.size());
    q9.received.clear();
    SendCommand(ID_CVQ9_UPLOAD_ALL);
    EXPECT_EQ(2u * 62u, q9.received.size());
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
}

TEST_F(TransfersGui, UploadSelectionFillsRecordsAndTextsFromTheController)
{
    ResetConfiguration(0);
    CurrentGroup = 7;
    all_selected_ctrl = {12, 40};
    ControlIndex = 12;
    for (int index : {12, 40}) {
        All_Params record;
        InitMidiStruct(&record, 7, static_cast<uint8_t>(index), 1);
        std::memcpy(q9.midi[7][index], &record, 32);
        std::memcpy(q9.lcd[7][index], index == 12 ? "Twelve          " : "Forty   40      ", 16);
    }
    need_to_save_lib = false;
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    ASSERT_EQ(4u, q9.received.size());
    EXPECT_EQ((Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x33, 0x00, 12, 7, 0xF7}), q9.received[0]);
    EXPECT_EQ((Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x31, 0x00, 12, 7, 0xF7}), q9.received[1]);
    EXPECT_TRUE(SameRecord(q9.midi[7][12], mycontrol[7][12]));
    EXPECT_TRUE(SameRecord(q9.midi[7][40], mycontrol[7][40]));
    EXPECT_EQ(Q9Text(L"Twelve          "), mylcdstring[7][12]);
    EXPECT_EQ(Q9Text(L"Forty   40      "), mylcdstring[7][40]);
    EXPECT_TRUE(need_to_save_lib);
    ExpectIdle();
}

TEST_F(TransfersGui, UnansweredUploadIsReportedAndEndsTheSelection)
{
    ResetConfiguration(0);
    CurrentGroup = 2;
    all_selected_ctrl = {5, 6, 7};
    q9.answer_budget = 2;  // control 5 is answered, control 6 is not
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonUploadCurrentFromQ9);
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    // 5: MIDI and LCD; 6: MIDI only, then the upload ends.
    EXPECT_EQ(3u, q9.received.size());
    ExpectIdle();
}

TEST_F(TransfersGui, UploadRequestThatCannotBeBuiltIsReportedAndStops)
{
    ResetConfiguration(0);
    CurrentGroup = 3;  // a transport button exists only as group 0
    all_selected_ctrl = {2, 10};
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonUploadCurrentFromQ9);
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("Group 3 - Control 2\nInvalid request"), MidiErrors()[0]);
    EXPECT_TRUE(q9.received.empty());  // nothing for 2, and control 10 is not reached
    ExpectIdle();
}

TEST_F(TransfersGui, CorruptedUploadAnswersAreSkippedUntilNoAnswer)
{
    ResetConfiguration(0);
    CurrentGroup = 2;
    all_selected_ctrl = {9};
    q9.tamper = [](Bytes &answer) { answer[answer.size() - 2] ^= 0x01; };  // checksum wrong
    ShowPage(PAGE_ASSIGN_STD);
    CancelAfter(200);
    const TablesSnapshot before;
    Click(pui->wxButtonUploadCurrentFromQ9);
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    EXPECT_TRUE(SameRecord(q9.midi[2][9], mycontrol[2][9]) || mycontrol[2][9].midi_str_lenght == 0);
    ExpectIdle();
}

// ---- Common parameters -------------------------------------------------------

TEST_F(TransfersGui, GlobalTabDownloadSendsTheCommonSequenceInOrder)
{
    ResetConfiguration(1);
    fw_version_float = 1.6f;
    CurrentGroup = 3;
    common_params[5] = 1;
    common_params[32] = 100;
    user_curve_2[127] = 99;
    ShowPage(PAGE_GLOBAL);
    pui->wxTextCtrlGroupName->ChangeValue(wxT("Brass"));
    Click(pui->wxButtonDownloadCurrentToQ9);
    std::vector<int> addresses;
    for (const Bytes &m : q9.received)
        addresses.push_back(m[8]);
    EXPECT_EQ((std::vector<int>{5, 38, 0, 3, 4, 32, 11, 33, 1, 34, 35, 36, 37}), addresses);
    for (const Bytes &m : q9.received) {
        EXPECT_EQ(0x00, m[6]);
        EXPECT_EQ(3, m[9]);
    }
    EXPECT_EQ((Bytes{0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x00, 0x02, 0x20, 0x03, 0x06, 0x04, 0xF7}), q9.received[5]);
    EXPECT_EQ(0, std::memcmp(q9.names[3], "Brass         ", 14));
    EXPECT_EQ(1, q9.common[5]);
    EXPECT_EQ(99, q9.curves[1][127]);
    EXPECT_EQ(Q9Text(L"Brass"), mygroupnames[3].substr(0, 5));
    ExpectIdle();
}

TEST_F(TransfersGui, OlderFirmwareSkipsTheOperatingModeButNotItsPause)
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

TEST_F(TransfersGui, GlobalTabUploadFillsCommonParametersNameAndCurves)
{
    ResetConfiguration(0);
    fw_version_float = 1.6f;
    CurrentGroup = 8;
    q9.common[0] = 3;
    q9.common[1] = 2;
    q9.common[5] = 1;
    q9.common[11] = 7;
    q9.common[32] = 90;
    q9.common[33] = 2;
    std::memcpy(q9.names[8], "Organ  Drawbar", 14);
    for (int i = 0; i < 128; ++i) {
        q9.curves[0][i] = static_cast<uint8_t>(127 - i);
        q9.curves[1][i] = static_cast<uint8_t>(i / 2);
    }
    need_to_save_lib = false;
    ShowPage(PAGE_GLOBAL);
    Click(pui->wxButtonUploadCurrentFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    EXPECT_EQ(3, common_params[0]);
    EXPECT_EQ(2, common_params[1]);
    EXPECT_EQ(1, common_params[5]);
    EXPECT_EQ(7, common_params[11]);
    EXPECT_EQ(90, common_params[32]);
    EXPECT_EQ(2, common_params[33]);
    EXPECT_EQ(Q9Text(L"Organ  Drawbar"), mygroupnames[8]);
    EXPECT_EQ(0, std::memcmp(user_curve_1, q9.curves[0], 128));
    EXPECT_EQ(0, std::memcmp(user_curve_2, q9.curves[1], 128));
    EXPECT_TRUE(need_to_save_lib);
    ExpectIdle();
}

// ---- All-operations ------------------------------------------------------------

TEST_F(TransfersGui, DownloadAllOfGroupsThreeToFiveSkipsTransportButtons)
{
    ResetConfiguration(1);
    SetRange(3, 5);
    CurrentGroup = 9;
    ControlIndex = 30;
    ShowPage(PAGE_ASSIGN_STD);
    wxString last_control, last_group;  // the labels while the last message goes out
    q9.tamper = [&](Bytes &) {
        last_control = pui->wxStaticTextCtrlNb->GetLabel();
        last_group = pui->wxStaticTextGroupNb->GetLabel();
    };
    Click(pui->wxButtonDownloadAllToQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    size_t midi = 0, lcd = 0;
    for (const Bytes &m : q9.received) {
        EXPECT_GE(m[8], 5);
        EXPECT_GE(m[9], 3);
        EXPECT_LE(m[9], 5);
        if (m[6] == 0x1B)
            ++midi;
        else if (m[6] == 0x19)
            ++lcd;
    }
    EXPECT_EQ(186u, midi);
    EXPECT_EQ(191, pui->GAUGE_Bargraph->GetRange());
    for (unsigned g = 3; g <= 5; ++g)
        for (unsigned c = 5; c <= 66; ++c)
            EXPECT_TRUE(SameRecord(q9.midi[g][c], mycontrol[g][c])) << g << "/" << c;
    EXPECT_EQ(9u, CurrentGroup);
    EXPECT_EQ(30u, ControlIndex);
    EXPECT_EQ(wxString("5"), last_group);
    EXPECT_EQ(wxString("66"), last_control);
    ExpectIdle();
}

TEST_F(TransfersGui, ReversedGroupRangeTransfersNothingButOpensAndClosesThePorts)
{
    ResetConfiguration(1);
    SetRange(4, 2);
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadAllToQ9);
    EXPECT_TRUE(q9.received.empty());
    ASSERT_EQ(2u, pmfake::Opens().size());
    EXPECT_EQ(2, pmfake::CloseCount());
    Click(pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(q9.received.empty());
    EXPECT_EQ(4, pmfake::CloseCount());
    ExpectIdle();
}

TEST_F(TransfersGui, IgnoreBoxesSendNothingButWalkTheRange)
{
    ResetConfiguration(1);
    SetRange(0, 1);
    pui->CheckboxIgnoreMIDI->SetValue(true);
    pui->CheckboxIgnoreLcd->SetValue(true);
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonDownloadAllToQ9);
    EXPECT_TRUE(q9.received.empty());
    EXPECT_EQ(2u, pmfake::Opens().size());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    ExpectIdle();
}

TEST_F(TransfersGui, CancelDuringDownloadAllStopsAfterTheCurrentControl)
{
    ResetConfiguration(1);
    SetRange(0, 20);
    CurrentGroup = 6;
    ControlIndex = 8;
    q9.answer_delay = 30;  // every acknowledge takes a while
    ShowPage(PAGE_ASSIGN_STD);
    CancelAfter(400);
    Click(pui->wxButtonDownloadAllToQ9);
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    EXPECT_GT(q9.received.size(), 0u);
    EXPECT_LT(q9.received.size(), 40u);
    EXPECT_EQ(6u, CurrentGroup);
    EXPECT_EQ(8u, ControlIndex);
    ExpectIdle();
}

TEST_F(TransfersGui, DuringATransferOnlyCancelIsUsableAndTheGaugeMoves)
{
    ResetConfiguration(1);
    SetRange(3, 5);
    q9.answer_delay = 20;
    ShowPage(PAGE_ASSIGN_STD);
    bool seen = false, was_programming = false, cancel_enabled = false, download_enabled = true;
    bool notebook_enabled = true;
    int gauge_value = 0, gauge_range = 0;
    wxString group_label;
    wxTimer look;
    look.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
        seen = true;
        was_programming = programming;
        cancel_enabled = pui->wxButtonCancel->IsEnabled();
        download_enabled = pui->wxButtonDownloadAllToQ9->IsEnabled();
        notebook_enabled = pui->wxNotebookPages->IsEnabled();
        gauge_value = pui->GAUGE_Bargraph->GetValue();
        gauge_range = pui->GAUGE_Bargraph->GetRange();
        group_label = pui->wxStaticTextGroupNb->GetLabel();
        SaveScreenshot(m_pCVQ9MainFrame, wxT("transfer_running"));
        wxCommandEvent cancel(wxEVT_BUTTON, pui->wxButtonCancel->GetId());
        cancel.SetEventObject(pui->wxButtonCancel);
        pui->wxButtonCancel->ProcessWindowEvent(cancel);
    });
    look.StartOnce(600);
    Click(pui->wxButtonDownloadAllToQ9);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(was_programming);
    EXPECT_TRUE(cancel_enabled);
    EXPECT_FALSE(download_enabled);
    EXPECT_FALSE(notebook_enabled);
    EXPECT_EQ(191, gauge_range);
    EXPECT_GT(gauge_value, 0);
    EXPECT_EQ(wxString("3"), group_label);
    ExpectIdle();
    EXPECT_FALSE(pui->wxButtonCancel->IsEnabled());
    EXPECT_TRUE(pui->wxNotebookPages->IsEnabled());
}

// Cancel is seen at a yield inside a wait step; the wait ends right there,
// without polling the input once more, and nothing else is exchanged.
TEST_F(TransfersGui, CancelEndsTheRunningWaitAtTheStepItIsSeen)
{
    for (int upload = 0; upload < 2; ++upload) {
        SCOPED_TRACE(upload ? "upload all" : "download all");
        ResetConfiguration(upload ? 0 : 1);
        SetRange(0, 20);
        q9.answer_delay = 40;
        ShowPage(PAGE_ASSIGN_STD);
        dialogs.Clear();
        pmfake::ClearRecords();
        int polls_at_cancel = -1;
        size_t received_at_cancel = 0;
        bool was_programming = false;
        auto on_cancel = [&](wxCommandEvent &event) {
            polls_at_cancel = pmfake::PollCount();
            received_at_cancel = q9.received.size();
            was_programming = programming;
            event.Skip();
        };
        pui->wxButtonCancel->Bind(wxEVT_BUTTON, on_cancel);
        wxTimer press;
        press.Bind(wxEVT_TIMER, [](wxTimerEvent &) {
            wxCommandEvent cancel(wxEVT_BUTTON, pui->wxButtonCancel->GetId());
            cancel.SetEventObject(pui->wxButtonCancel);
            pui->wxButtonCancel->ProcessWindowEvent(cancel);
        });
        press.StartOnce(250);
        Click(upload ? pui->wxButtonUploadAllFromQ9 : pui->wxButtonDownloadAllToQ9);
        press.Stop();
        pui->wxButtonCancel->Unbind(wxEVT_BUTTON, on_cancel);
        ASSERT_GE(polls_at_cancel, 0) << "Cancel was not pressed during the transfer";
        EXPECT_TRUE(was_programming);
        EXPECT_EQ(polls_at_cancel, pmfake::PollCount());
        EXPECT_EQ(received_at_cancel, q9.received.size());
        ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
        EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
        ExpectIdle();
    }
}

// While a transfer runs, the event loop still paints: an invalidated view is
// repainted before the transfer ends (the transfer is only cancelled once the
// paint has come, or after a generous bound).
TEST_F(TransfersGui, TheViewKeepsRepaintingDuringATransfer)
{
    ResetConfiguration(1);
    SetRange(0, 20);
    q9.answer_delay = 20;
    ShowPage(PAGE_ASSIGN_STD);
    bool asked = false, painted = false;
    int ticks = 0;
    wxString ctrl_label_then;
    auto on_paint = [&](wxPaintEvent &event) {
        if (asked && programming)
            painted = true;
        event.Skip();
    };
    pCVQ9View->Bind(wxEVT_PAINT, on_paint);
    wxTimer watch;
    watch.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
        if (!programming)
            return;
        ++ticks;
        if (!asked) {
            asked = true;
            pCVQ9View->Refresh();
            return;
        }
        if (painted || ticks > 1000) {  // 1000 ticks of 10 ms: far beyond a frame
            watch.Stop();
            ctrl_label_then = pui->wxStaticTextCtrlNb->GetLabel();
            SaveScreenshot(m_pCVQ9MainFrame, wxT("transfer_repainting"));
            wxCommandEvent cancel(wxEVT_BUTTON, pui->wxButtonCancel->GetId());
            cancel.SetEventObject(pui->wxButtonCancel);
            pui->wxButtonCancel->ProcessWindowEvent(cancel);
        }
    });
    watch.Start(10);
    Click(pui->wxButtonDownloadAllToQ9);
    watch.Stop();
    pCVQ9View->Unbind(wxEVT_PAINT, on_paint);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(painted);
    EXPECT_FALSE(ctrl_label_then.empty());
    ASSERT_EQ(1u, MidiErrors().size()) << dialogs.Describe();
    EXPECT_EQ(wxString("No answer received"), MidiErrors()[0]);
    ExpectIdle();
}

TEST_F(TransfersGui, UploadAllFromGroupZeroTakesTheTransportButtonsToo)
{
    ResetConfiguration(0);
    SetRange(0, 0);
    for (int t = 0; t < 5; ++t) {
        All_Params record;
        InitMidiStruct(&record, 0, static_cast<uint8_t>(t), 1);
        std::memcpy(q9.transport[t], &record, 32);
    }
    for (int c = 5; c <= 66; ++c) {
        All_Params record;
        InitMidiStruct(&record, 0, static_cast<uint8_t>(c), 1);
        std::memcpy(q9.midi[0][c], &record, 32);
    }
    ShowPage(PAGE_ASSIGN_STD);
    Click(pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    EXPECT_EQ(5u + 62u * 2u, q9.received.size());
    for (int t = 0; t < 5; ++t)
        EXPECT_TRUE(SameRecord(q9.transport[t], mytransport[t])) << t;
    for (int c = 5; c <= 66; ++c)
        EXPECT_TRUE(SameRecord(q9.midi[0][c], mycontrol[0][c])) << c;
    ExpectIdle();
}

TEST_F(TransfersGui, RoundTripOfTheWholeConfiguration)
{
    SendCommand(ID_CVQ9_LOAD_DEFAULT);
    ASSERT_TRUE(default_lib_loaded);
    // Some variety beyond the defaults.
    mycontrol[20][66].midi_str_lenght = 3;
    mycontrol[20][66].midi_string[2] = 0x11;
    mylcdstring[12][33] = L"Round trip";
    mytransport[4].ctrl_value_max = 100;
    SetRange(0, 20);
    ShowPage(PAGE_ASSIGN_STD);
    const TablesSnapshot original;
    Click(pui->wxButtonDownloadAllToQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    EXPECT_TRUE(SameRecord(q9.midi[20][66], mycontrol[20][66]));

    // Clear: a new, empty library, the edits dropped.
    dialogs.message_answer = [](const RecordedMessage &) { return wxID_NO; };
    dialogs.AnswerFileDialog(HomePath(wxT("fresh.cvq")));
    SendCommand(ID_CVQ9_NEW);
    const TablesSnapshot fresh;
    ASSERT_NE(original.controls, fresh.controls);
    Click(pui->wxButtonUploadAllFromQ9);
    EXPECT_TRUE(MidiErrors().empty()) << dialogs.Describe();
    const TablesSnapshot uploaded;
    EXPECT_EQ(original.controls, uploaded.controls);
    EXPECT_EQ(original.transport, uploaded.transport);
    for (size_t i = 0; i < original.lcd.size(); ++i) {
        if (i % CONTROLS_PER_GROUP < FIRST_GROUP_CONTROL)
            continue;
        ASSERT_EQ(LcdBytes(original.lcd[i]), LcdBytes(uploaded.lcd[i])) << "entry " << i;
    }
    ExpectIdle();

    // The upload is one step: undone to the new library, redone to what came.
    EXPECT_EQ(wxT("Undo Upload All"), m_pMenu->FindItem(ID_CVQ9_UNDO)->GetItemLabelText());
    SendCommand(ID_CVQ9_UNDO);
    EXPECT_TABLES_EQ(fresh, TablesSnapshot());
    SendCommand(ID_CVQ9_REDO);
    EXPECT_TABLES_EQ(uploaded, TablesSnapshot());
}

}  // namespace
