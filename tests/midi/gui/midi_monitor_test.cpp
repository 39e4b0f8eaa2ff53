// The MIDI monitor: every message sent and received through the port layer,
// with its meaning, as the monitor window lists and saves it.
#include <algorithm>

#include <wx/button.h>
#include <wx/choice.h>

#include "Midi_Ios.h"
#include "device_gui.h"
#include "midi_monitor.h"

namespace {

class MidiMonitorTest : public DeviceGui
{
protected:
    void SetUp() override
    {
        DeviceGui::SetUp();
        Traffic().Clear();
        ASSERT_EQ(0, Open_Midi_Out(3));
        ASSERT_EQ(0, Open_Midi_In(2));
    }

    void TearDown() override
    {
        Close_Midi_In();
        Close_Midi_Out();
        DeviceGui::TearDown();
    }

    // Sends a request built by the codec and, when `answer` names a wait
    // kind, waits a little for its answer.
    void Exchange(uint8_t *request, int answer = 0)
    {
        SendSysexToMidiOut(request);
        if (answer == 0)
            return;
        uint8_t in[SYSEX_BUFFER_SIZE];
        All_Params record;
        Q9Text text;
        uint8_t values[SYSEX_BUFFER_SIZE];
        AnswerTarget target{17, 1, &record, &text, values, COMMON_PARAM_GROUP_NAME};
        uint8_t status = 0;
        WaitSysexAnswer(answer, in, target, 40, status, nullptr);
    }
};

TEST_F(MidiMonitorTest, EveryExchangeIsListedWithItsMeaning)
{
    uint8_t out[SYSEX_BUFFER_SIZE];
    All_Params record;
    InitMidiStruct(&record, 1, 17, 1);
    const uint8_t lcd[] = "Cutoff";
    uint8_t name[15] = "Strings";
    uint8_t tempo = 90;

    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &record, out, 17, 1);
    Exchange(out, WAIT_MIDI_ACK);
    Cvq9_Lcd_Assign_To_Sysex(ACTION_WRITE_ACK, lcd, out, 17, 1);
    Exchange(out, WAIT_LCD_ACK);
    Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &record, out, 17, 1);
    Exchange(out, WAIT_MIDI_DATA);
    Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, lcd, out, 17, 1);
    Exchange(out, WAIT_LCD_DATA);
    Cvq9_Common_Param_To_Sysex(ACTION_WRITE_ACK, COMMON_PARAM_TEMPO, &tempo, out, 1);
    Exchange(out);
    Cvq9_Common_Param_To_Sysex(ACTION_READ_REQUEST, COMMON_PARAM_GROUP_NAME, name, out, 1);
    Exchange(out, WAIT_COMMON_PARAM);
    // Faults: a refused write, other messages before an answer, a corrupt
    // answer, and an answer for another control.
    q9.refuse_acks = true;
    Cvq9_Midi_Assign_To_Sysex(ACTION_WRITE_ACK, &record, out, 17, 1);
    Exchange(out, WAIT_MIDI_ACK);
    q9.before_answer = {{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, {0x90, 0x3C, 0x64}};
    Cvq9_Midi_Assign_To_Sysex(ACTION_READ_REQUEST, &record, out, 17, 1);
    Exchange(out, WAIT_MIDI_DATA);
    q9.before_answer.clear();
    q9.tamper = [](Bytes &answer) { answer[answer.size() - 2] ^= 1; };  // its checksum
    Exchange(out, WAIT_MIDI_DATA);
    q9.tamper = [](Bytes &answer) { answer[8] = 18; };
    Cvq9_Lcd_Assign_To_Sysex(ACTION_READ_REQUEST, lcd, out, 17, 1);
    Exchange(out, WAIT_LCD_DATA);

    struct Line {
        bool incoming;
        const char *meaning;
        bool error;
    };
    const std::vector<Line> expected = {
        {false, "MIDI assignment write with acknowledge, group 1, control 17", false},
        {true, "acknowledge", false},
        {false, "LCD text write with acknowledge, group 1, control 17", false},
        {true, "acknowledge", false},
        {false, "MIDI assignment read request, group 1, control 17", false},
        {true, "MIDI assignment answer, group 1, control 17", false},
        {false, "LCD text read request, group 1, control 17", false},
        {true, "LCD text answer, group 1, control 17", false},
        {false, "tempo write, group 1", false},
        {false, "group name read request, group 1", false},
        {true, "group name answer, group 1", false},
        {false, "MIDI assignment write with acknowledge, group 1, control 17", false},
        {true, "acknowledge, refused", true},
        {false, "MIDI assignment read request, group 1, control 17", false},
        {true, "another device's SysEx, not an answer", true},
        {true, "note on, channel 1", false},
        {true, "MIDI assignment answer, group 1, control 17", false},
        {false, "MIDI assignment read request, group 1, control 17", false},
        {true, "MIDI assignment answer, group 1, control 17, malformed", true},
        {false, "LCD text read request, group 1, control 17", false},
        {true, "LCD text answer, group 1, control 18, not an answer to this request", true},
    };

    // The window lists the log as it is; the filter keeps the faults.
    SendCommand(ID_CVQ9_MIDI_MONITOR);
    MidiMonitor *monitor = MidiMonitor::Current();
    ASSERT_NE(nullptr, monitor);
    ASSERT_EQ(expected.size(), monitor->ShownCount());
    for (size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(expected[row].meaning, monitor->CellText(row, 4)) << "row " << row;
        EXPECT_EQ(expected[row].incoming ? "In" : "Out", monitor->CellText(row, 2)) << "row " << row;
        EXPECT_EQ(expected[row].error, DescribeMessage(monitor->Shown(row)).error) << "row " << row;
    }
    EXPECT_EQ(wxString("Corvana Q9 MIDI 1"), monitor->CellText(0, 1));
    EXPECT_EQ(wxString::FromAscii(HexBytes(pmfake::WrittenTo(3)[0]).c_str()), monitor->CellText(0, 3));
    auto *filter = dynamic_cast<wxChoice *>(wxWindow::FindWindowByName(wxChoiceNameStr, monitor));
    ASSERT_NE(nullptr, filter);
    Choose(filter, 2);  // errors only
    EXPECT_EQ(std::count_if(expected.begin(), expected.end(), [](const Line &l) { return l.error; }),
              static_cast<long>(monitor->ShownCount()));

    // Saved as .syx: the SysEx messages listed, one after the other.
    wxString error;
    ASSERT_TRUE(monitor->SaveTo(wxString(HomePath("faults.syx")), error));
    Bytes whole;
    for (size_t row = 0; row < monitor->ShownCount(); ++row)
        if (monitor->Shown(row).bytes[0] == 0xF0)
            whole.insert(whole.end(), monitor->Shown(row).bytes.begin(), monitor->Shown(row).bytes.end());
    EXPECT_EQ(whole, ReadFileBytes(HomePath("faults.syx")));
    // Saved as .txt: a line for each row listed, its cells between tabs.
    ASSERT_TRUE(monitor->SaveTo(wxString(HomePath("faults.txt")), error));
    wxString lines;
    for (size_t row = 0; row < monitor->ShownCount(); ++row)
        for (int column = 0; column < 5; ++column)
            lines += monitor->CellText(row, column) + (column < 4 ? "\t" : "\n");
    EXPECT_EQ(lines, wxString::FromUTF8(ReadFileText(HomePath("faults.txt"))));
    EXPECT_FALSE(monitor->SaveTo(wxString(HomePath("no folder/faults.txt")), error));
    EXPECT_TRUE(error.StartsWith("Unable to write/overwrite ")) << error;

    dialogs.AnswerFileDialog(HomePath("saved"));  // a name without extension takes the first type's
    Click(dynamic_cast<wxButton *>(wxWindow::FindWindowByLabel("Save as...", monitor)));
    EXPECT_EQ(ReadFileBytes(HomePath("faults.syx")), ReadFileBytes(HomePath("saved.syx")));
    monitor->Close();  // closing hides it; the command shows it again
    EXPECT_FALSE(monitor->IsShown());
    SendCommand(ID_CVQ9_MIDI_MONITOR);
    EXPECT_TRUE(MidiMonitor::Current() == monitor && monitor->IsShown());

    Click(dynamic_cast<wxButton *>(wxWindow::FindWindowByLabel("Copy", monitor)));
    Choose(filter, 1);  // SysEx only: all but the note
    EXPECT_EQ(expected.size() - 1, monitor->ShownCount());
    Click(dynamic_cast<wxButton *>(wxWindow::FindWindowByLabel("Clear", monitor)));
    EXPECT_EQ(0u, monitor->ShownCount());
    EXPECT_TRUE(Traffic().Messages().empty());
}

}  // namespace
