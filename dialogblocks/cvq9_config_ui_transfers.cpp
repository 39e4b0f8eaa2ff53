// Editor panel: talking to the controller. The identity request, the waits
// for answers with their error boxes, the four transfer workers and the four
// transfer buttons with Cancel. Each operation opens both ports, exchanges its
// messages on the GUI thread (yielding at every wait step so that Cancel stays
// usable) and closes the ports again.
#include "cvq9_config_ui.h"
#include "device_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/msgdlg.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "Midi_Ios.h"
#include "config_tables.h"
#include "controller_search.h"
#include "cross_functions.h"
#include "download_messages.h"
#include "edit_history.h"
#include "exchange.h"
#include "global_params.h"
#include "record_access.h"
#include "settings.h"
#include "text_bytes.h"

namespace {

// Both MIDI activity LEDs flash before every message sent.
void LightLeds()
{
    if (pCVQ9View) {
        pCVQ9View->UpdateMidiLeds(true, 0);
        pCVQ9View->UpdateMidiLeds(true, 1);
    }
}

void ShowMidiError(wxWindow *parent, const wxString &text)
{
    wxMessageDialog(parent, text, wxT("MIDI error"), wxOK | wxCENTRE).ShowModal();
}

// The port layer's own box ("There are still data into the input buffer") has no parent.
void InstallMidiReporter()
{
    SetMidiReporter([](const std::string &caption, const std::string &text) {
        wxMessageDialog(nullptr, DeviceText(text), DeviceText(caption), wxOK | wxCENTRE).ShowModal();
    });
}

// The device numbers behind the two selectors, or a "MIDI error" box and false
// when a selector has no entry selected.
bool SelectedDevices(wxWindow *parent, wxComboBox *in_selector, wxComboBox *out_selector, int &in, int &out)
{
    in = in_selector ? MidiInDeviceAt(in_selector->GetSelection(), static_cast<int>(in_selector->GetCount())) : -1;
    out = out_selector ? MidiOutDeviceAt(out_selector->GetSelection(), static_cast<int>(out_selector->GetCount())) : -1;
    if (in < 0) {
        ShowMidiError(parent, wxT("No MIDI In port selected"));
        return false;
    }
    if (out < 0) {
        ShowMidiError(parent, wxT("No MIDI Out port selected"));
        return false;
    }
    return true;
}

// Output first, then input; on failure nothing stays open and nothing is said.
bool OpenPorts(int in, int out)
{
    InstallMidiReporter();
    if (Open_Midi_Out(out) != 0)
        return false;
    if (Open_Midi_In(in) != 0) {
        Close_Midi_Out();
        return false;
    }
    return true;
}

void ClosePorts()
{
    Close_Midi_In();
    Close_Midi_Out();
}

// One pacer for every wait, so that the yields keep their rhythm from one
// wait to the next.
WaitStepPacer &Pacer()
{
    static WaitStepPacer pacer;
    return pacer;
}

bool Checked(const wxCheckBox *box)
{
    return box && box->GetValue();
}

void SetNumber(wxStaticText *label, unsigned value)
{
    // Setting a label re-measures it; most controls leave the group number as it is.
    const wxString text = wxString::Format(wxT("%d"), static_cast<int>(value));
    if (label->GetLabel() != text)
        label->SetLabel(text);
}

// Lets the toolkit handle what is pending during a wait, as a yield does, but
// one event at a time: once Cancel has been handled the wait ends at once,
// without the frame the toolkit would draw next. The number of events is
// bounded, for a source that is always ready.
void HandlePendingEvents()
{
    wxEventLoopBase *loop = wxEventLoopBase::GetActive();
    for (int n = 0; loop && n < 200 && !must_finish_midi && loop->Pending(); ++n)
        loop->Dispatch();
    if (!must_finish_midi) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

}  // namespace

// ---- Exchange.

int cvq9_config_ui::WaitIncomingSysex(int action, uint8_t *sysex_in, uint8_t *values, unsigned timeout,
                                      uint8_t &sysex_error, uint8_t update_bargraph, uint8_t param_address)
{
    wxGauge *gauge = update_bargraph ? GAUGE_Bargraph : nullptr;
    if (gauge) {
        gauge->SetValue(0);
        gauge->SetRange(static_cast<int>(timeout));
    }
    // The gauge follows the step number. Nothing but the yields can look at
    // it, so it is moved just before each yield and once when the wait ends:
    // what any event handler or paint sees is the same as if it had been
    // moved at every step.
    int last_step = -1;
    auto show_step = [gauge, &last_step] {
        if (gauge && last_step >= 0 && gauge->GetValue() != last_step)
            gauge->SetValue(last_step);
    };
    // Answers about a control go to the record and text of the control the
    // request named: ControlIndex in CurrentGroup.
    AnswerTarget target;
    target.index = static_cast<uint8_t>(ControlIndex);
    target.group = static_cast<uint8_t>(CurrentGroup);
    if (CurrentGroup < GROUP_NB && ControlIndex <= LAST_CONTROL_INDEX) {
        target.record = &AddressedRecord(CurrentGroup, ControlIndex);
        if (ControlIndex >= FIRST_GROUP_CONTROL)
            target.lcd = &mylcdstring[CurrentGroup][ControlIndex];
    }
    target.values = values;
    target.param_address = param_address;
    WaitStepPacer &pacer = Pacer();
    pacer.StartWait();
    auto yield_if_due = [&] {
        if (wxTheApp && pacer.YieldDue()) {
            show_step();
            HandlePendingEvents();
        }
    };
    const int result = WaitSysexAnswer(
        action, sysex_in, target, timeout, sysex_error,
        [&](unsigned step) {
            last_step = static_cast<int>(step);
            pacer.SleepStep();
            yield_if_due();
        },
        // An answer that came in whole is not kept waiting for the step's end.
        [&](unsigned step) {
            last_step = static_cast<int>(step);
            yield_if_due();
        });
    show_step();
    return result;
}

void cvq9_config_ui::DisplaySysexError(uint8_t sysex_error, const uint8_t *sysex_in)
{
    DisplayRefusedRequest(SysexErrorText(sysex_error, sysex_in));
}

void cvq9_config_ui::DisplayRefusedRequest(const std::string &text)
{
    wxMessageDialog(this, DeviceText(text), wxT("CVQ9 MIDI Error"), wxOK | wxCENTRE).ShowModal();
}

// ---- Identity.

void cvq9_config_ui::OnButtonGetIdentityClick(wxCommandEvent &event)
{
    cvq9_connected = false;
    wxStaticText *labels[] = {TEXTCTRL_CurrentFwVersion, TEXTCTRL_CurrentHwVersion, TEXTCTRL_CurrentFwYear,
                              TEXTCTRL_CurrentFwMonth, TEXTCTRL_CurrentFwSerial};
    for (wxStaticText *label : labels)
        label->SetLabel(wxT("-"));
    BeginDeviceOperation();

    int in = -1, out = -1;
    if (SelectedDevices(this, wxComboBoxMidiIn, wxComboBoxMidiOut, in, out) && OpenPorts(in, out)) {
        LightLeds();
        uint8_t sysex_out[SYSEX_BUFFER_SIZE] = {};
        uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};
        Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_IDENTITY, serial_nb, sysex_out, 0);
        SendSysexToMidiOut(sysex_out);
        uint8_t status = SYSEX_MALFORMED;
        WaitIncomingSysex(WAIT_IDENTITY, sysex_in, serial_nb, WAIT_STEPS_DEFAULT, status, 1, 0);
        if (status <= 239)
            ShowIdentity();
        else
            DisplaySysexError(status, sysex_in);
        ClosePorts();
    }
    programming = false;
    ManageButtons();
    EndDeviceOperation();
    event.Skip();
}

void cvq9_config_ui::ShowIdentity()
{
        const IdentityTexts texts = IdentityFromSerial(serial_nb);
        const wxString fw = DeviceText(texts.fw_version);
        const wxString hw = DeviceText(texts.hw_version);
        TEXTCTRL_CurrentFwVersion->SetLabel(fw);
        TEXTCTRL_CurrentHwVersion->SetLabel(hw);
        TEXTCTRL_CurrentFwYear->SetLabel(DeviceText(texts.fw_year));
        TEXTCTRL_CurrentFwMonth->SetLabel(DeviceText(texts.fw_month));
        TEXTCTRL_CurrentFwSerial->SetLabel(DeviceText(texts.serial));
        fw_version_float = texts.fw_version_number;
        hw_version_float = texts.hw_version_number;
        for (const auto &c : {std::make_pair(wxChoiceFwOffline, fw), std::make_pair(wxChoiceHwOffline, hw)}) {
            if (!c.first)
                continue;
            const int found = c.first->FindString(c.second, true);
            if (found != wxNOT_FOUND)
                c.first->SetSelection(found);
        }
        settings::SetOfflineFwVersion(fw);
        settings::SetOfflineHwVersion(hw);
        cvq9_connected = true;
        offline_mode = false;
        EnableDisableUiFromFwVersion();
        if (pCVQ9View)
            pCVQ9View->UpdateGuiFromHwVersion();
}

void cvq9_config_ui::OnButtonFindControllerClick(wxCommandEvent &event)
{
    BeginDeviceOperation();
    WaitStepPacer &pacer = Pacer();
    pacer.StartWait();
    const ControllerSearch found = SearchController([&pacer](unsigned) {
        pacer.SleepStep();
        if (wxTheApp && pacer.YieldDue())
            HandlePendingEvents();
    });
    ShowMidiDevices(found.lists);
    if (found.out_position >= 0) {
        // The pair found is kept as if the user had chosen it.
        wxComboBoxMidiIn->SetSelection(found.in_position);
        wxComboBoxMidiOut->SetSelection(found.out_position);
        settings::SetMidiInDev(found.in_position);
        settings::SetMidiOutDev(found.out_position);
        std::copy(std::begin(found.identity), std::end(found.identity), serial_nb);
        ShowIdentity();
    } else if (!must_finish_midi) {
        wxMessageDialog(this,
                        wxString::Format(wxT("No controller answered on the %d MIDI outputs. Check that the "
                                             "Corvana Q9 is plugged in and switched on."),
                                         static_cast<int>(found.lists.outputs.size())),
                        wxT("Find the controller"), wxOK | wxCENTRE)
            .ShowModal();
    }
    programming = false;
    must_finish_midi = false;
    ManageButtons();
    EndDeviceOperation();
    event.Skip();
}

void cvq9_config_ui::BeginDeviceOperation()
{
    must_finish_midi = false;
    programming = true;
    ManageButtons();
}

void cvq9_config_ui::EndDeviceOperation()
{
    GAUGE_Bargraph->SetValue(0);
    // A close asked for while the operation waited on the controller runs now.
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->CloseIfRequested();
}

// ---- Workers.

uint8_t cvq9_config_ui::DownloadSingleToCvQ9(uint8_t update_bargraph, bool type)
{
    const All_Params record = AddressedRecord(CurrentGroup, ControlIndex);
    if (must_finish_midi)
        return 0;
    const bool force = Checked(CheckboxProgUndef);
    const uint8_t index = static_cast<uint8_t>(ControlIndex);
    const uint8_t group = static_cast<uint8_t>(CurrentGroup);
    uint8_t sysex_out[SYSEX_BUFFER_SIZE] = {};
    uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};
    bool midi_failed = false;

    if (!Checked(CheckboxIgnoreMIDI)) {
        if (CheckMidiStruct(&record, index) == 2 && !force)
            return 0;  // an undefined control sends nothing at all
        LightLeds();
        if (ControlMidiWrite(ACTION_WRITE_ACK, group, index, sysex_out) == SYSEX_INVALID_REQUEST) {
            DisplayRefusedRequest(RefusedControlText(group, index));
            return SYSEX_INVALID_REQUEST;
        }
        SendSysexToMidiOut(sysex_out);
        written_.push_back({ComparedPart::Record, group, index});
        uint8_t status = SYSEX_MALFORMED;
        WaitIncomingSysex(WAIT_MIDI_ACK, sysex_in, nullptr, WAIT_STEPS_DEFAULT, status, update_bargraph, 0);
        if (status != SYSEX_ACK_OK) {
            DisplaySysexError(status, sysex_in);
            midi_failed = true;
            write_failed_ = true;
        }
    }

    bool lcd_ran = false;
    uint8_t lcd_status = SYSEX_ACK_OK;
    if (!Checked(CheckboxIgnoreLcd) && type) {
        const Q9Text &text = mylcdstring[CurrentGroup][ControlIndex];
        // Only a text with no character at all is empty: the stored form of
        // an empty field, a lone NUL, still replaces what the controller shows.
        if (text.empty() && !force)
            return 0;
        LightLeds();
        if (!midi_failed) {
            if (ControlLcdWrite(ACTION_WRITE_ACK, group, index, sysex_out) == SYSEX_INVALID_REQUEST) {
                DisplayRefusedRequest(RefusedControlText(group, index));
                return SYSEX_INVALID_REQUEST;
            }
            SendSysexToMidiOut(sysex_out);
            written_.push_back({ComparedPart::LcdText, group, index});
            WaitIncomingSysex(WAIT_LCD_ACK, sysex_in, nullptr, WAIT_STEPS_DEFAULT, lcd_status, update_bargraph, 0);
            lcd_ran = true;
        }
    }
    GAUGE_Bargraph->SetValue(0);
    if (lcd_ran && lcd_status != SYSEX_ACK_OK) {
        DisplaySysexError(lcd_status, sysex_in);
        write_failed_ = true;
    }
    return 0;
}

uint8_t cvq9_config_ui::UploadSingleFromCvQ9(uint8_t update_bargraph, bool type)
{
    if (must_finish_midi)
        return 0;
    const uint8_t index = static_cast<uint8_t>(ControlIndex);
    const uint8_t group = static_cast<uint8_t>(CurrentGroup);
    uint8_t sysex_out[SYSEX_BUFFER_SIZE] = {};
    uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};
    uint8_t r = 0;
    bool unanswered = false;

    // Each failed exchange is reported once; an unanswered one ends the upload.
    auto exchange = [&](int kind) {
        SendSysexToMidiOut(sysex_out);
        uint8_t status = SYSEX_MALFORMED;
        WaitIncomingSysex(kind, sysex_in, nullptr, WAIT_STEPS_DEFAULT, status, update_bargraph, 0);
        if (IsFailedExchange(status)) {
            DisplaySysexError(status, sysex_in);
            if (status == SYSEX_NO_ANSWER)
                unanswered = true;
        }
    };

    if (!Checked(CheckboxIgnoreMIDI)) {
        LightLeds();
        All_Params &record = AddressedRecord(CurrentGroup, ControlIndex);
        if (Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &record, sysex_out, index, group) == SYSEX_INVALID_REQUEST)
            r = SYSEX_INVALID_REQUEST;
        else
            exchange(WAIT_MIDI_DATA);
    }
    if (!Checked(CheckboxIgnoreLcd) && type && !unanswered) {
        LightLeds();
        if (r == 0) {
            uint8_t lcd[LCD_STRING_LENGHT + 1] = {};
            if (Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, lcd, sysex_out, index, group) == SYSEX_INVALID_REQUEST)
                r = SYSEX_INVALID_REQUEST;
            else
                exchange(WAIT_LCD_DATA);
        }
    }
    if (r != 0) {
        DisplayRefusedRequest(RefusedControlText(group, index));
    } else if (unanswered) {
        r = SYSEX_NO_ANSWER;
    } else {
        r = CheckCurrentParam(group, index);
        if (update_bargraph)
            UpdateWholeParamWindows();
    }
    GAUGE_Bargraph->SetValue(0);
    need_to_save_lib = true;
    return r;
}

uint8_t cvq9_config_ui::DownloadSelectedParametersToCvQ9()
{
    const uint8_t group = static_cast<uint8_t>(CurrentGroup);
    // The name on the global tab is stored first, then its first 14 characters travel.
    mygroupnames[CurrentGroup] = wxTextCtrlGroupName->GetValue().ToStdWstring();
    uint8_t result = 0;
    uint8_t sysex_out[SYSEX_BUFFER_SIZE] = {};
    for (const CommonTransferItem &item : kCommonTransferSequence) {
        if (result == 0 && CommonItemTravels(item.address, fw_version_float)) {
            LightLeds();
            if (CommonItemWrite(item.address, group, sysex_out) == SYSEX_INVALID_REQUEST) {
                result = SYSEX_INVALID_REQUEST;
                DisplayRefusedRequest(RefusedParameterText(group, item.address));
            } else {
                SendSysexToMidiOut(sysex_out);
            }
        }
        // The controller needs its pause after every item, sent or not.
        TransferPause(item.pause_after_download_ms);
    }
    return result;
}

uint8_t cvq9_config_ui::UploadSelectedParametersFromCvQ9()
{
    const uint8_t group = static_cast<uint8_t>(CurrentGroup);
    uint8_t name[GROUP_NAME_LENGHT + 1] = {};
    uint8_t sysex_out[SYSEX_BUFFER_SIZE] = {};
    uint8_t sysex_in[SYSEX_BUFFER_SIZE] = {};
    uint8_t status = 0;
    bool build_failed = false;
    bool unanswered = false;
    for (const CommonTransferItem &item : kCommonTransferSequence) {
        if (!CommonItemTravels(item.address, fw_version_float))
            continue;
        if (item.pause_before_upload_ms > 0)
            TransferPause(item.pause_before_upload_ms);
        LightLeds();
        uint8_t *values = CommonItemBytes(item.address, name);
        if (Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, item.address, values, sysex_out, group) ==
            SYSEX_INVALID_REQUEST) {
            build_failed = true;
            DisplayRefusedRequest(RefusedParameterText(group, item.address));
            break;
        }
        SendSysexToMidiOut(sysex_out);
        WaitIncomingSysex(WAIT_COMMON_PARAM, sysex_in, values, WAIT_STEPS_DEFAULT, status, 1, item.address);
        if (item.address == COMMON_PARAM_GROUP_NAME && !IsFailedExchange(status))
            mygroupnames[CurrentGroup] = FixedWidthText(name, GROUP_NAME_LENGHT);
        if (IsFailedExchange(status)) {
            DisplaySysexError(status, sysex_in);
            // Without an answer (or after Cancel) the rest would only wait in vain.
            unanswered = status == SYSEX_NO_ANSWER;
            if (unanswered)
                break;
        }
    }
    if (!build_failed && status != SYSEX_INVALID_REQUEST)
        UpdateWholeGlobalParamsWindows();
    need_to_save_lib = true;
    return build_failed ? SYSEX_INVALID_REQUEST : unanswered ? SYSEX_NO_ANSWER : 0;
}

// ---- Transfer buttons.

bool cvq9_config_ui::AssignmentTransferHasWork(bool all)
{
    const int page = wxNotebookPages->GetSelection();
    const bool parameters = !all && (page == PAGE_GLOBAL || page == PAGE_REALTIME);
    if (parameters || !Checked(CheckboxIgnoreMIDI) || !Checked(CheckboxIgnoreLcd))
        return true;
    wxMessageDialog(this,
                    wxString::Format(wxT("Nothing to transfer: \"%s\" and \"%s\" are both checked on the "
                                         "Preferences tab."),
                                     CheckboxIgnoreMIDI->GetLabel(), CheckboxIgnoreLcd->GetLabel()),
                    wxString::FromAscii(CVQ9_MAIN_TITLE), wxOK | wxICON_INFORMATION | wxCENTRE)
        .ShowModal();
    return false;
}

void cvq9_config_ui::RunDeviceOperation(int gauge_range, bool clear_gauge, const std::function<void()> &work)
{
    // What the user looks at. A failed check shows the faulty control on its
    // own while the operation runs; at the end everything shows this again.
    const unsigned saved_group = CurrentGroup;
    const unsigned saved_index = ControlIndex;
    const std::vector<int> saved_selection = all_selected_ctrl;
    const std::vector<unsigned> saved_drawn = pCVQ9View ? pCVQ9View->DrawnIndices() : std::vector<unsigned>();
    int in = -1, out = -1;
    const bool have_ports = SelectedDevices(this, wxComboBoxMidiIn, wxComboBoxMidiOut, in, out);
    BeginDeviceOperation();

    if (clear_gauge)
        GAUGE_Bargraph->SetValue(0);
    GAUGE_Bargraph->SetRange(gauge_range > 0 ? gauge_range : 1);

    if (have_ports && OpenPorts(in, out)) {
        work();
        ClosePorts();
    }

    GAUGE_Bargraph->SetValue(0);
    programming = false;
    const bool group_moved = CurrentGroup != saved_group;
    CurrentGroup = saved_group;
    ControlIndex = saved_index;
    all_selected_ctrl = saved_selection;
    ManageButtons();
    must_finish_midi = false;
    ShowAddressedSelection(saved_drawn, group_moved);
    EndDeviceOperation();
}

void cvq9_config_ui::RunTransfer(bool all, bool upload)
{
    if (!AssignmentTransferHasWork(all))
        return;
    // What an upload brings from the controller is one step of the history,
    // and unsaved whatever it brought.
    std::optional<EditStep> step;
    if (upload) {
        step.emplace(all ? wxT("Upload All") : wxT("Upload selected"));
        need_to_save_lib = true;
    }
    const int range = all ? AllOperationsGaugeRange(wxSpinCtrlStartGroup->GetValue(), wxSpinCtrlEndGroup->GetValue())
                          : static_cast<int>(all_selected_ctrl.size());
    const bool verify = !upload && Checked(CheckboxVerifyAfterDownload);
    std::optional<ConfigImage> read_back;
    written_.clear();
    write_failed_ = false;
    RunDeviceOperation(range, upload || all, [&] {
        if (all)
            TransferAll(upload);
        else
            TransferSelection(upload);
        // Only a download that ran to its end without a failed exchange is
        // read back: the failures have been reported already.
        if (verify && !must_finish_midi && !write_failed_ && !written_.empty())
            read_back = ReadControllerImage(written_);
    });
    if (read_back)
        ShowDifferences(*read_back, written_, wxT("Verify after download"),
                        wxString::Format(wxT("Verified: %d controls match"), static_cast<int>(ControlsIn(written_))));
}

void cvq9_config_ui::TransferSelection(bool upload)
{
    const int page = wxNotebookPages->GetSelection();
    if (page == PAGE_GLOBAL || page == PAGE_REALTIME) {
        if (upload)
            UploadSelectedParametersFromCvQ9();
        else
            DownloadSelectedParametersToCvQ9();
        return;
    }
    const unsigned saved_index = ControlIndex;
    const std::vector<int> selection = all_selected_ctrl;
    for (size_t i = 0; i < selection.size() && !must_finish_midi; ++i) {
        GAUGE_Bargraph->SetValue(static_cast<int>(i));
        ControlIndex = static_cast<unsigned>(selection[i]);
        SetNumber(wxStaticTextCtrlNb, ControlIndex);
        const uint8_t group = static_cast<uint8_t>(CurrentGroup);
        const uint8_t index = static_cast<uint8_t>(ControlIndex);
        if (upload) {
            if (!Check_Code_Passes(UploadSingleFromCvQ9(0, !IsTransportIndex(ControlIndex))))
                must_finish_midi = true;
        } else if (!Check_Code_Passes(CheckCurrentParam(group, index))) {
            must_finish_midi = true;
        } else if (!Check_Code_Passes(DownloadSingleToCvQ9(0, !IsTransportIndex(ControlIndex)))) {
            must_finish_midi = true;
        }
    }
    ControlIndex = saved_index;
}

void cvq9_config_ui::TransferAll(bool upload)
{
    int counter = 0;
    auto step = [&]() {
        GAUGE_Bargraph->SetValue(counter);
        ++counter;
    };
    const int from = wxSpinCtrlStartGroup->GetValue();
    if (from == 0) {
        CurrentGroup = 0;
        for (ControlIndex = 0; ControlIndex < FIRST_GROUP_CONTROL && !must_finish_midi; ++ControlIndex) {
            step();
            const uint8_t index = static_cast<uint8_t>(ControlIndex);
            if (upload) {
                if (!Check_Code_Passes(UploadSingleFromCvQ9(0, false)) ||
                    !Check_Code_Passes(CheckCurrentParam(0, index)))
                    must_finish_midi = true;
            } else if (!Check_Code_Passes(CheckCurrentParam(0, index)) ||
                       !Check_Code_Passes(DownloadSingleToCvQ9(0, false))) {
                must_finish_midi = true;
            }
        }
    }
    for (CurrentGroup = static_cast<unsigned>(from < 0 ? 0 : from);
         static_cast<int>(CurrentGroup) <= wxSpinCtrlEndGroup->GetValue() && CurrentGroup < GROUP_NB &&
         !must_finish_midi;
         ++CurrentGroup) {
        for (ControlIndex = FIRST_GROUP_CONTROL; ControlIndex <= LAST_CONTROL_INDEX && !must_finish_midi;
             ++ControlIndex) {
            step();
            SetNumber(wxStaticTextCtrlNb, ControlIndex);
            SetNumber(wxStaticTextGroupNb, CurrentGroup);
            const uint8_t group = static_cast<uint8_t>(CurrentGroup);
            const uint8_t index = static_cast<uint8_t>(ControlIndex);
            if (upload) {
                if (!Check_Code_Passes(UploadSingleFromCvQ9(0, true)))
                    must_finish_midi = true;
            } else if (!Check_Code_Passes(CheckCurrentParam(group, index)) ||
                       !Check_Code_Passes(DownloadSingleToCvQ9(0, true))) {
                must_finish_midi = true;
            }
        }
    }
}

void cvq9_config_ui::OnButtonDownloadcurrenttoq9Click(wxCommandEvent &event)
{
    RunTransfer(false, false);
    event.Skip();
}

void cvq9_config_ui::OnButtonUploadcurrentfromq9Click(wxCommandEvent &event)
{
    RunTransfer(false, true);
    event.Skip();
}

void cvq9_config_ui::OnButtonDownloadalltoq9Click(wxCommandEvent &event)
{
    RunTransfer(true, false);
    event.Skip();
}

void cvq9_config_ui::OnButtonUploadallfromq9Click(wxCommandEvent &event)
{
    // Every control of the group range is replaced: unsaved edits are offered for saving first.
    if (AssignmentTransferHasWork(true) && (!m_pCVQ9MainFrame || m_pCVQ9MainFrame->AskToSaveChanges()))
        RunTransfer(true, true);
    event.Skip();
}

void cvq9_config_ui::OnButtonCancelClick(wxCommandEvent &event)
{
    must_finish_midi = true;
    event.Skip();
}
