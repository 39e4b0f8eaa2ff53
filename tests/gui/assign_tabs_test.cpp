// The two control assignment tabs: every field widget edits exactly its bits
// in exactly the selected records, the display fills the widgets without
// touching the tables, and a multiple selection shows differing fields with
// blue labels.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <wx/radiobox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "record_access.h"
#include "usercurvesedition.h"

namespace {

// Deterministic varied contents for every record and LCD text, so that every
// field starts out different between controls.
void FillTablesVaried(uint32_t seed)
{
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint8_t>(state >> 24);
    };
    auto fill = [&next](All_Params &r) {
        auto *bytes = reinterpret_cast<uint8_t *>(&r);
        for (size_t i = 0; i < sizeof r; ++i)
            bytes[i] = next();
        r.midi_str_lenght = static_cast<uint8_t>(1 + next() % 21);
    };
    for (All_Params &r : mytransport)
        fill(r);
    for (unsigned g = 0; g < GROUP_NB; ++g) {
        for (unsigned c = 0; c < CONTROLS_PER_GROUP; ++c) {
            fill(mycontrol[g][c]);
            Q9Text text;
            const unsigned n = next() % 17;
            for (unsigned i = 0; i < n; ++i)
                text.push_back(static_cast<wchar_t>(0x20 + next() % 0x5F));
            if (next() & 1)
                text.push_back(L'\0');
            mylcdstring[g][c] = text;
        }
    }
}

struct Tables {
    std::vector<All_Params> controls;
    std::vector<All_Params> transport;
    std::vector<Q9Text> lcd;

    static Tables Now()
    {
        Tables t;
        t.controls.assign(&mycontrol[0][0], &mycontrol[0][0] + GROUP_NB * CONTROLS_PER_GROUP);
        t.transport.assign(mytransport, mytransport + TRANSPORT_NB);
        t.lcd.assign(&mylcdstring[0][0], &mylcdstring[0][0] + GROUP_NB * CONTROLS_PER_GROUP);
        return t;
    }
    All_Params &Record(unsigned group, unsigned index)
    {
        return index < TRANSPORT_NB ? transport[index] : controls[group * CONTROLS_PER_GROUP + index];
    }
    Q9Text &Lcd(unsigned group, unsigned index) { return lcd[group * CONTROLS_PER_GROUP + index]; }
};

std::string Hex(const All_Params &r)
{
    std::string s;
    const auto *b = reinterpret_cast<const uint8_t *>(&r);
    char buf[4];
    for (size_t i = 0; i < sizeof r; ++i) {
        std::snprintf(buf, sizeof buf, "%02X ", b[i]);
        s += buf;
    }
    return s;
}

// Every difference between two table sets, named.
std::string Compare(const Tables &expected, const Tables &actual)
{
    std::string out;
    for (unsigned t = 0; t < TRANSPORT_NB; ++t)
        if (std::memcmp(&expected.transport[t], &actual.transport[t], sizeof(All_Params)) != 0)
            out += "transport " + std::to_string(t) + ": expected " + Hex(expected.transport[t]) + " got " +
                   Hex(actual.transport[t]) + "\n";
    for (size_t i = 0; i < expected.controls.size(); ++i)
        if (std::memcmp(&expected.controls[i], &actual.controls[i], sizeof(All_Params)) != 0)
            out += "group " + std::to_string(i / CONTROLS_PER_GROUP) + " control " +
                   std::to_string(i % CONTROLS_PER_GROUP) + ": expected " + Hex(expected.controls[i]) + " got " +
                   Hex(actual.controls[i]) + "\n";
    for (size_t i = 0; i < expected.lcd.size(); ++i)
        if (expected.lcd[i] != actual.lcd[i])
            out += "lcd group " + std::to_string(i / CONTROLS_PER_GROUP) + " control " +
                   std::to_string(i % CONTROLS_PER_GROUP) + "\n";
    return out;
}

void ClickRadioBox(wxRadioBox *box, int item)
{
    box->SetSelection(item);
    wxCommandEvent event(wxEVT_RADIOBOX, box->GetId());
    event.SetInt(item);
    Deliver(box, event);
}

// The spin's text changed as when the user types a number into it.
void TypeIntoSpin(wxSpinCtrl *spin, int value)
{
    spin->SetValue(value);
    wxCommandEvent event(wxEVT_TEXT, spin->GetId());
    event.SetString(wxString::Format("%d", value));
    Deliver(spin, event);
}

void SetBits(uint8_t &byte, uint8_t mask, unsigned value)
{
    byte = static_cast<uint8_t>((byte & ~mask) | (value & mask));
}

// One edit through a widget and what it must do to each selected record (and
// LCD text), independently of the program's own field table.
struct FieldEdit {
    const char *name;
    std::function<void()> act;
    std::function<void(All_Params &, Q9Text &)> expect;
};

std::vector<FieldEdit> AllFieldEdits()
{
    cvq9_config_ui *p = pui;
    std::vector<FieldEdit> edits;
    struct Flag {
        const char *name;
        wxCheckBox *box;
        uint8_t All_Params::*byte;
        uint8_t mask;
    };
    const Flag flags[] = {
        {"auto-send", p->CheckboxAutosend, &All_Params::ctrl_status_1, 0x20},
        {"scene exclude", p->CheckboxSceneExclude, &All_Params::ctrl_status_1, 0x40},
        {"MIDI out 1", p->CheckboxSendToOut1, &All_Params::ctrl_status_1, 0x08},
        {"MIDI out 2", p->CheckboxSendToOut2, &All_Params::ctrl_status_1, 0x04},
        {"USB out", p->CheckboxSendToOutUsb, &All_Params::ctrl_status_1, 0x10},
        {"crossfade", p->wxCheckBoxCrossfadeChain, &All_Params::ctrl_chain, 0x80},
        {"nibble", p->wxCheckBoxNibbleCtrl, &All_Params::ctrl_status_2, 0x10},
    };
    for (const Flag &f : flags) {
        for (bool on : {true, false}) {
            edits.push_back({f.name, [f, on] { ClickCheck(f.box, on); },
                             [f, on](All_Params &r, Q9Text &) { SetBits(r.*f.byte, f.mask, on ? 0xFF : 0); }});
        }
    }
    for (int item : {1, 0}) {
        edits.push_back({"switch mode", [p, item] { ClickRadioBox(p->RadioBoxSwitchMode, item); },
                         [item](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_1, 0x80, item ? 0x80 : 0); }});
        edits.push_back({"standard event", [p, item] { ClickRadioBox(p->RadioBoxMidiEventStdMode, item); },
                         [item](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_0, 0x80, item ? 0x80 : 0); }});
    }
    edits.push_back({"CC/note number", [p] { SpinTo(p->SpinCtrlCcNoteNumberStdMode, 100); },
                     [](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_0, 0x7F, 100); }});
    edits.push_back({"CC/note number typed", [p] { TypeIntoSpin(p->SpinCtrlCcNoteNumberStdMode, 3); },
                     [](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_0, 0x7F, 3); }});
    for (int item : {3, 1}) {
        edits.push_back({"MIDI delay", [p, item] { SelectCombo(p->wxComboBoxMidiDelay, item); },
                         [item](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_1, 0x03, item); }});
    }
    edits.push_back({"chain Button 3", [p] { SelectCombo(p->wxComboBoxChainedCtrlNumero, 57); },
                     [](All_Params &r, Q9Text &) { SetBits(r.ctrl_chain, 0x7F, 61); }});
    edits.push_back({"chain None", [p] { SelectCombo(p->wxComboBoxChainedCtrlNumero, 0); },
                     [](All_Params &r, Q9Text &) { SetBits(r.ctrl_chain, 0x7F, 0); }});
    struct Spin {
        const char *name;
        wxSpinCtrl *spin;
        uint8_t All_Params::*byte;
        int value;
    };
    const Spin spins[] = {
        {"min", p->SpinCtrlMinValue, &All_Params::ctrl_value_min, 17},
        {"max", p->SpinCtrlMaxValue, &All_Params::ctrl_value_max, 99},
        {"channel position", p->wxSpinCtrlMidiChannelPosition, &All_Params::midi_channel_position, 2},
        {"value position 1", p->wxSpinCtrlCtrlValuePosition1, &All_Params::ctrl_value_position_0, 3},
        {"value position 2", p->wxSpinCtrlCtrlValuePosition2, &All_Params::ctrl_value_position_1, 21},
    };
    for (const Spin &s : spins) {
        edits.push_back({s.name, [s] { SpinTo(s.spin, s.value); },
                         [s](All_Params &r, Q9Text &) { r.*s.byte = static_cast<uint8_t>(s.value); }});
        edits.push_back({s.name, [s] { TypeIntoSpin(s.spin, s.value - 1); },
                         [s](All_Params &r, Q9Text &) { r.*s.byte = static_cast<uint8_t>(s.value - 1); }});
    }
    for (int item : {5, 4, 0}) {
        edits.push_back({"curve", [p, item] { SelectCombo(p->wxComboBoxCurveModel, item); },
                         [item](All_Params &r, Q9Text &) { SetBits(r.ctrl_status_2, 0x07, item); }});
    }
    edits.push_back(
        {"checksum on", [p] { ClickCheck(p->wxCheckBoxEnableChecksum, true); }, [](All_Params &, Q9Text &) {}});
    edits.push_back({"checksum start", [p] { SpinTo(p->wxSpinCtrlChecksumFirstByte, 7); },
                     [](All_Params &r, Q9Text &) { r.checksum_start_position = 7; }});
    edits.push_back({"checksum start typed", [p] { TypeIntoSpin(p->wxSpinCtrlChecksumFirstByte, 9); },
                     [](All_Params &r, Q9Text &) { r.checksum_start_position = 9; }});
    edits.push_back({"checksum off", [p] { ClickCheck(p->wxCheckBoxEnableChecksum, false); },
                     [](All_Params &r, Q9Text &) { r.checksum_start_position = 0; }});
    edits.push_back({"MIDI string", [p] { p->wxTextCtrlMidiString->SetValue("F0417f"); },
                     [](All_Params &r, Q9Text &) {
                         r.midi_str_lenght = 3;
                         r.midi_string[0] = 0xF0;
                         r.midi_string[1] = 0x41;
                         r.midi_string[2] = 0x7F;
                     }});
    edits.push_back(
        {"MIDI string odd", [p] { p->wxTextCtrlMidiString->SetValue("F0417"); }, [](All_Params &, Q9Text &) {}});
    edits.push_back({"LCD text", [p] { p->wxTextCtrlLcdString->SetValue("Filter Cutoff"); },
                     [](All_Params &, Q9Text &lcd) { lcd = L"Filter Cutoff"; }});
    return edits;
}

}  // namespace

class AssignTabs : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
    }

    static void Select(unsigned group, std::vector<int> selection, unsigned current)
    {
        CurrentGroup = group;
        ControlIndex = current;
        all_selected_ctrl = selection;
        pui->UpdateWholeParamWindows();
    }

    // Runs every field edit on the selection; each one must change exactly its
    // field in exactly the selected records and set need_to_save_lib.
    void CheckEveryEdit(unsigned group, const std::vector<int> &selection, unsigned current)
    {
        FillTablesVaried(1234u + current);
        Select(group, selection, current);
        for (const FieldEdit &edit : AllFieldEdits()) {
            SCOPED_TRACE(edit.name);
            Tables expected = Tables::Now();
            for (int i : selection)
                edit.expect(expected.Record(group, static_cast<unsigned>(i)),
                            expected.Lcd(group, static_cast<unsigned>(i)));
            const TablesSnapshot others;
            need_to_save_lib = false;
            edit.act();
            const std::string diff = Compare(expected, Tables::Now());
            EXPECT_TRUE(diff.empty()) << diff;
            // Group names, common parameters and curves stay out of it.
            const TablesSnapshot after;
            EXPECT_EQ(others.group_names, after.group_names);
            EXPECT_EQ(others.common, after.common);
            EXPECT_EQ(others.curve1, after.curve1);
            EXPECT_EQ(others.curve2, after.curve2);
            if (std::string(edit.name) != "checksum on" && std::string(edit.name) != "MIDI string odd") {
                EXPECT_TRUE(need_to_save_lib);
            }
        }
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    }

    static wxColour Blue() { return wxColour("BLUE"); }
    static wxColour Black() { return wxColour("BLACK"); }
};

// ---- Every field, single and multiple selections

TEST_F(AssignTabs, EveryFieldOnASingleKnob)
{
    CheckEveryEdit(4, {10}, 10);
}

TEST_F(AssignTabs, EveryFieldOnASingleTransportButton)
{
    CheckEveryEdit(7, {3}, 3);
}

TEST_F(AssignTabs, EveryFieldOnAMixedSelectionShownByAKnob)
{
    CheckEveryEdit(4, {2, 55, 10, 49}, 10);
}

TEST_F(AssignTabs, EveryFieldOnAMixedSelectionShownByATransportButton)
{
    CheckEveryEdit(20, {12, 66, 0}, 0);
}

// ---- The display

TEST_F(AssignTabs, DisplayChangesNoTable)
{
    FillTablesVaried(99);
    for (const auto &selection : std::vector<std::pair<std::vector<int>, unsigned>>{
             {{10}, 10u}, {{2}, 2u}, {{49}, 49u}, {{2, 10, 55}, 10u}, {{12, 15, 1}, 1u}, {{12, 15}, 15u}}) {
        const TablesSnapshot before;
        need_to_save_lib = false;
        Select(5, selection.first, selection.second);
        EXPECT_TABLES_EQ(before, TablesSnapshot());
        EXPECT_FALSE(need_to_save_lib);
    }
}

TEST_F(AssignTabs, DisplayShowsTheRecord)
{
    All_Params &r = mycontrol[3][58];  // "Button 0"
    std::memset(&r, 0, sizeof r);
    r.ctrl_status_0 = 0x80 | 45;
    r.ctrl_status_1 = 0x80 | 0x20 | 0x08 | 0x02;
    r.ctrl_status_2 = 0x10 | 6;
    r.midi_str_lenght = 3;
    r.midi_string[0] = 0xF0;
    r.midi_string[1] = 0x7F;
    r.midi_string[2] = 0x01;
    r.midi_channel_position = 1;
    r.ctrl_value_position_0 = 2;
    r.ctrl_value_position_1 = 3;
    r.ctrl_value_min = 5;
    r.ctrl_value_max = 100;
    r.checksum_start_position = 2;
    r.ctrl_chain = 0x80 | 61;
    mylcdstring[3][58] = Q9Text(L"Button zero") + L'\0';
    Select(3, {58}, 58);
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "58");
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetForegroundColour(), Black());
    EXPECT_EQ(pui->wxStaticTextGroupNb->GetLabel(), "3");
    EXPECT_TRUE(pui->CheckboxAutosend->GetValue());
    EXPECT_FALSE(pui->CheckboxSceneExclude->GetValue());
    EXPECT_TRUE(pui->CheckboxSendToOut1->GetValue());
    EXPECT_FALSE(pui->CheckboxSendToOut2->GetValue());
    EXPECT_FALSE(pui->CheckboxSendToOutUsb->GetValue());
    EXPECT_EQ(pui->RadioBoxSwitchMode->GetSelection(), 1);
    EXPECT_TRUE(pui->RadioBoxSwitchMode->IsEnabled());
    EXPECT_EQ(pui->wxComboBoxMidiDelay->GetSelection(), 2);
    EXPECT_EQ(pui->RadioBoxMidiEventStdMode->GetSelection(), 1);
    EXPECT_EQ(pui->SpinCtrlCcNoteNumberStdMode->GetValue(), 45);
    EXPECT_EQ(pui->wxComboBoxChainedCtrlNumero->GetSelection(), 57);
    EXPECT_TRUE(pui->wxCheckBoxCrossfadeChain->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxCrossfadeChain->GetValue());
    EXPECT_EQ(pui->wxSpinCtrlMidiChannelPosition->GetValue(), 1);
    EXPECT_EQ(pui->SpinCtrlMinValue->GetValue(), 5);
    EXPECT_EQ(pui->SpinCtrlMaxValue->GetValue(), 100);
    EXPECT_EQ(pui->wxSpinCtrlCtrlValuePosition1->GetValue(), 2);
    EXPECT_EQ(pui->wxSpinCtrlCtrlValuePosition2->GetValue(), 3);
    EXPECT_EQ(pui->wxComboBoxCurveModel->GetSelection(), 6);
    EXPECT_TRUE(pui->wxButtonEditCurve->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxNibbleCtrl->GetValue());
    EXPECT_TRUE(pui->wxCheckBoxEnableChecksum->GetValue());
    EXPECT_TRUE(pui->wxSpinCtrlChecksumFirstByte->IsEnabled());
    EXPECT_EQ(pui->wxSpinCtrlChecksumFirstByte->GetValue(), 2);
    EXPECT_EQ(pui->wxTextCtrlMidiString->GetValue(), "F07F01");
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "3");
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "Button zero");
    EXPECT_TRUE(pui->wxTextCtrlLcdString->IsEnabled());
}

TEST_F(AssignTabs, KnobHasNoSwitchModeButtonHasOne)
{
    InitAllStructsTables(1);  // defaults: toggle mode everywhere
    Select(0, {8}, 8);
    EXPECT_FALSE(pui->RadioBoxSwitchMode->IsEnabled());
    EXPECT_EQ(pui->RadioBoxSwitchMode->GetSelection(), 0);
    Select(0, {58}, 58);
    EXPECT_TRUE(pui->RadioBoxSwitchMode->IsEnabled());
    EXPECT_EQ(pui->RadioBoxSwitchMode->GetSelection(), 1);
    Select(0, {1}, 1);
    EXPECT_FALSE(pui->RadioBoxSwitchMode->IsEnabled());
    EXPECT_EQ(pui->RadioBoxSwitchMode->GetSelection(), 0);
}

TEST_F(AssignTabs, CrossfaderRHasNoLcdTextCrossfaderLHasOne)
{
    InitAllStructsTables(1);
    Select(2, {49}, 49);
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "");
    EXPECT_FALSE(pui->wxTextCtrlLcdString->IsEnabled());
    Select(2, {48}, 48);
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "    CC # 064");
    EXPECT_TRUE(pui->wxTextCtrlLcdString->IsEnabled());
}

TEST_F(AssignTabs, TransportButtonDisablesTheGroupFields)
{
    InitAllStructsTables(1);
    Select(0, {10}, 10);
    SpinTo(pui->SpinCtrlMaxValue, 90);  // the knob's value stays in the spin
    Select(0, {4}, 4);
    for (wxWindow *w :
         std::vector<wxWindow *>{pui->SpinCtrlMinValue, pui->SpinCtrlMaxValue, pui->wxSpinCtrlCtrlValuePosition1,
                                 pui->wxSpinCtrlCtrlValuePosition2, pui->wxComboBoxCurveModel,
                                 pui->wxCheckBoxNibbleCtrl, pui->wxTextCtrlLcdString})
        EXPECT_FALSE(w->IsEnabled()) << w->GetName();
    EXPECT_EQ(pui->SpinCtrlMaxValue->GetValue(), 90);
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "");
    Select(0, {10}, 10);
    EXPECT_TRUE(pui->SpinCtrlMinValue->IsEnabled());
    EXPECT_TRUE(pui->wxCheckBoxNibbleCtrl->IsEnabled());
    EXPECT_TRUE(pui->wxTextCtrlLcdString->IsEnabled());
}

TEST_F(AssignTabs, ChainNoneDisablesCrossfadeButKeepsItsBit)
{
    InitAllStructsTables(1);
    Select(6, {20}, 20);
    SelectCombo(pui->wxComboBoxChainedCtrlNumero, 57);
    EXPECT_EQ(mycontrol[6][20].ctrl_chain, 61);
    EXPECT_TRUE(pui->wxCheckBoxCrossfadeChain->IsEnabled());
    ClickCheck(pui->wxCheckBoxCrossfadeChain, true);
    EXPECT_EQ(mycontrol[6][20].ctrl_chain, 0x80 | 61);
    SelectCombo(pui->wxComboBoxChainedCtrlNumero, 0);
    EXPECT_EQ(mycontrol[6][20].ctrl_chain, 0x80);
    EXPECT_FALSE(pui->wxCheckBoxCrossfadeChain->IsEnabled());
    Select(6, {20}, 20);
    EXPECT_FALSE(pui->wxCheckBoxCrossfadeChain->IsEnabled());
    EXPECT_EQ(pui->wxComboBoxChainedCtrlNumero->GetSelection(), 0);
}

TEST_F(AssignTabs, CurveEditButtonOnlyForUserCurves)
{
    InitAllStructsTables(1);
    Select(0, {9}, 9);
    SelectCombo(pui->wxComboBoxCurveModel, 4);  // "Random"
    EXPECT_FALSE(pui->wxButtonEditCurve->IsEnabled());
    SelectCombo(pui->wxComboBoxCurveModel, 5);
    EXPECT_TRUE(pui->wxButtonEditCurve->IsEnabled());
    SelectCombo(pui->wxComboBoxCurveModel, 6);
    EXPECT_TRUE(pui->wxButtonEditCurve->IsEnabled());
    SelectCombo(pui->wxComboBoxCurveModel, 0);
    EXPECT_FALSE(pui->wxButtonEditCurve->IsEnabled());
}

TEST_F(AssignTabs, CurveEditButtonOpensTheCurveDialogOnTheChosenCurve)
{
    ASSERT_NE(pcurveDialog, nullptr);
    for (unsigned i = 0; i < USER_CURVE_POINTS; ++i) {
        user_curve_1[i] = static_cast<uint8_t>(i / 2);
        user_curve_2[i] = static_cast<uint8_t>(127 - i);
    }
    Select(0, {9}, 9);
    SelectCombo(pui->wxComboBoxCurveModel, 5);
    ClickButton(pui->wxButtonEditCurve);
    EXPECT_TRUE(pcurveDialog->IsShown());
    EXPECT_EQ(pcurveDialog->wxNotebookPage->GetSelection(), 0);
    EXPECT_TRUE(pcurveDialog->wxTextCtrlCurve1->GetValue().StartsWith("0\n0\n1\n1\n2\n"));
    pcurveDialog->Hide();
    SelectCombo(pui->wxComboBoxCurveModel, 6);
    ClickButton(pui->wxButtonEditCurve);
    EXPECT_TRUE(pcurveDialog->IsShown());
    EXPECT_EQ(pcurveDialog->wxNotebookPage->GetSelection(), 1);
    EXPECT_TRUE(pcurveDialog->wxTextCtrlCurve2->GetValue().StartsWith("127\n126\n"));
    EXPECT_EQ(user_curve_1[3], 1);
    pcurveDialog->Hide();
}

TEST_F(AssignTabs, UncheckingChecksumClearsAllThreeAndTheSpin)
{
    InitAllStructsTables(1);
    for (int i : {11, 12, 13})
        mycontrol[0][i].checksum_start_position = static_cast<uint8_t>(i - 8);
    Select(0, {11, 12, 13}, 12);
    // The positions differ: the box shows what it showed before, with blue labels.
    EXPECT_EQ(pui->wxStaticTextChecksumEn->GetForegroundColour(), Blue());
    ClickCheck(pui->wxCheckBoxEnableChecksum, true);
    EXPECT_EQ(mycontrol[0][11].checksum_start_position, 3);
    EXPECT_TRUE(pui->wxSpinCtrlChecksumFirstByte->IsEnabled());
    ClickCheck(pui->wxCheckBoxEnableChecksum, false);
    for (int i : {11, 12, 13})
        EXPECT_EQ(mycontrol[0][i].checksum_start_position, 0) << i;
    EXPECT_FALSE(pui->wxSpinCtrlChecksumFirstByte->IsEnabled());
    EXPECT_EQ(pui->wxSpinCtrlChecksumFirstByte->GetValue(), 0);
}

// ---- The MIDI string field

TEST_F(AssignTabs, TypingB007AndBack)
{
    InitAllStructsTables(0);
    All_Params &r = mycontrol[1][20];
    Select(1, {20}, 20);
    wxTextCtrl *field = pui->wxTextCtrlMidiString;
    ASSERT_EQ(field->GetValue(), "");
    const All_Params empty = r;

    field->AppendText("B");
    EXPECT_EQ(std::memcmp(&r, &empty, sizeof r), 0);
    field->AppendText("0");
    EXPECT_EQ(r.midi_str_lenght, 1);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "1");
    All_Params one = r;
    field->AppendText("0");
    EXPECT_EQ(std::memcmp(&r, &one, sizeof r), 0);
    field->AppendText("7");
    EXPECT_EQ(r.midi_str_lenght, 2);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "2");
    const All_Params two = r;

    field->Remove(3, 4);
    EXPECT_EQ(field->GetValue(), "B00");
    EXPECT_EQ(std::memcmp(&r, &two, sizeof r), 0);
    field->Remove(2, 3);
    EXPECT_EQ(r.midi_str_lenght, 1);
    EXPECT_EQ(r.midi_string[0], 0xB0);
    EXPECT_EQ(r.midi_string[1], 0x07);  // stays beyond the length
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "1");
    // Only the string changed.
    All_Params rest = r;
    rest.midi_str_lenght = empty.midi_str_lenght;
    std::memcpy(rest.midi_string, empty.midi_string, sizeof rest.midi_string);
    EXPECT_EQ(std::memcmp(&rest, &empty, sizeof r), 0);
}

// ---- Label colours of a multiple selection

TEST_F(AssignTabs, TwoKnobsDifferingInMaxOnly)
{
    InitAllStructsTables(1);
    mycontrol[0][12] = mycontrol[0][15];
    mylcdstring[0][12] = mylcdstring[0][15];
    mycontrol[0][12].ctrl_value_max = 80;
    Select(0, {12, 15}, 15);
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "*");
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetForegroundColour(), Blue());
    EXPECT_EQ(pui->wxStaticTextMaxTxt->GetForegroundColour(), Blue());
    EXPECT_EQ(pui->wxStaticTextMinTxt->GetForegroundColour(), Black());
    EXPECT_EQ(pui->wxStaticTextMidiStrTxt->GetForegroundColour(), Black());
    SpinTo(pui->SpinCtrlMaxValue, 111);
    EXPECT_EQ(mycontrol[0][12].ctrl_value_max, 111);
    EXPECT_EQ(mycontrol[0][15].ctrl_value_max, 111);
    Select(0, {12, 15}, 15);
    EXPECT_EQ(pui->wxStaticTextMaxTxt->GetForegroundColour(), Black());
    Select(0, {15}, 15);
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "15");
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetForegroundColour(), Black());
}

TEST_F(AssignTabs, EachDifferingFieldTurnsItsOwnLabelBlue)
{
    cvq9_config_ui *p = pui;
    struct Row {
        const char *name;
        wxWindow *label;
        std::function<void(All_Params &, Q9Text &)> differ;
    };
    const std::vector<Row> rows = {
        // A longer string is another string as well.
        {"length", p->wxStaticTextLenghtTxt, [](All_Params &r, Q9Text &) { r.midi_str_lenght = 9; }},
        {"auto-send", p->wxStaticTextAutosend, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x20; }},
        {"scene", p->wxStaticTextSceneExclude, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x40; }},
        {"switch", p->wxStaticTextSwMode, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x80; }},
        {"out 1", p->wxStaticTextSendOut1, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x08; }},
        {"out 2", p->wxStaticTextSendOut2, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x04; }},
        {"usb", p->wxStaticTextSendUsb, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x10; }},
        {"delay", p->wxStaticTextDelayTxt, [](All_Params &r, Q9Text &) { r.ctrl_status_1 ^= 0x01; }},
        {"event", p->wxStaticTextMidiEvent, [](All_Params &r, Q9Text &) { r.ctrl_status_0 ^= 0x80; }},
        {"number", p->wxStaticTextCCNtNb, [](All_Params &r, Q9Text &) { r.ctrl_status_0 ^= 0x01; }},
        {"chain", p->wxStaticTextChainTxt, [](All_Params &r, Q9Text &) { r.ctrl_chain ^= 0x01; }},
        {"crossfade", p->wxStaticTextCrossfader, [](All_Params &r, Q9Text &) { r.ctrl_chain ^= 0x80; }},
        {"channel", p->wxStaticTextChannelTxt, [](All_Params &r, Q9Text &) { r.midi_channel_position ^= 1; }},
        {"V1", p->wxStaticTextVal1Txt, [](All_Params &r, Q9Text &) { r.ctrl_value_position_0 ^= 1; }},
        {"V2", p->wxStaticTextVal2Txt, [](All_Params &r, Q9Text &) { r.ctrl_value_position_1 ^= 1; }},
        {"curve", p->wxStaticTextCurveTxt, [](All_Params &r, Q9Text &) { r.ctrl_status_2 ^= 0x02; }},
        {"min", p->wxStaticTextMinTxt, [](All_Params &r, Q9Text &) { r.ctrl_value_min ^= 1; }},
        {"max", p->wxStaticTextMaxTxt, [](All_Params &r, Q9Text &) { r.ctrl_value_max ^= 1; }},
        {"nibble", p->wxStaticTextSplit, [](All_Params &r, Q9Text &) { r.ctrl_status_2 ^= 0x10; }},
        {"checksum", p->wxStaticTextChecksumEn, [](All_Params &r, Q9Text &) { r.checksum_start_position ^= 1; }},
        {"lcd", p->wxStaticTextLcdTxt, [](All_Params &, Q9Text &t) { t = L"other"; }},
        {"string", p->wxStaticTextMidiStrTxt, [](All_Params &r, Q9Text &) { r.midi_string[1] ^= 0x01; }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        InitAllStructsTables(1);
        std::memset(mycontrol[9][30].midi_string, 0x11, sizeof mycontrol[9][30].midi_string);
        mycontrol[9][30].midi_string[0] = 0xB0;
        mycontrol[9][30].ctrl_value_position_0 = 4;
        mycontrol[9][30].ctrl_value_position_1 = 6;
        mycontrol[9][30].checksum_start_position = 2;
        mycontrol[9][30].ctrl_chain = 10;
        mycontrol[9][31] = mycontrol[9][30];
        mylcdstring[9][31] = mylcdstring[9][30];
        row.differ(mycontrol[9][31], mylcdstring[9][31]);
        Select(9, {31, 30}, 30);
        for (const Row &other : rows) {
            const bool differs =
                &other == &row || (row.label == p->wxStaticTextLenghtTxt && other.label == p->wxStaticTextMidiStrTxt);
            EXPECT_EQ(other.label->GetForegroundColour(), differs ? Blue() : Black()) << other.name;
        }
    }
}

TEST_F(AssignTabs, DifferingFieldsKeepTheWidgetValue)
{
    InitAllStructsTables(1);
    Select(0, {20}, 20);
    SpinTo(pui->SpinCtrlMinValue, 33);
    mycontrol[0][21].ctrl_value_min = 1;
    mycontrol[0][22].ctrl_value_min = 2;
    Select(0, {21, 22}, 22);
    EXPECT_EQ(pui->SpinCtrlMinValue->GetValue(), 33);
    EXPECT_EQ(pui->wxStaticTextMinTxt->GetForegroundColour(), Blue());
    // The current control always ends the selection.
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{21, 22}));
    Select(0, {22, 21}, 22);
    EXPECT_EQ(all_selected_ctrl, (std::vector<int>{21, 22}));
}

// ---- Real keystrokes (one at a time: the field needs the keyboard focus)

class SerialAssignTyping : public GuiFixture
{
protected:
    void Settle()
    {
        for (int i = 0; i < 5; ++i) {
            Pump();
            wxMilliSleep(10);
        }
    }
};

TEST_F(SerialAssignTyping, KeysB007ThenTwoBackspaces)
{
    StartApp();
    InitAllStructsTables(0);
    CurrentGroup = 2;
    ControlIndex = 30;
    all_selected_ctrl = {30};
    pui->UpdateWholeParamWindows();
    SelectPage(PAGE_ASSIGN_USER);
    wxTextCtrl *field = pui->wxTextCtrlMidiString;
    ASSERT_EQ(field->GetValue(), "");
    field->SetFocus();
    Settle();
    wxUIActionSimulator typist;
    typist.Text("b0");
    Settle();
    EXPECT_EQ(mycontrol[2][30].midi_str_lenght, 1);
    EXPECT_EQ(mycontrol[2][30].midi_string[0], 0xB0);
    typist.Text("0x7");  // the x is refused by the field
    Settle();
    EXPECT_EQ(field->GetValue(), "b007");
    EXPECT_EQ(mycontrol[2][30].midi_str_lenght, 2);
    EXPECT_EQ(mycontrol[2][30].midi_string[1], 0x07);
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "2");
    typist.Char(WXK_BACK);
    typist.Char(WXK_BACK);
    Settle();
    EXPECT_EQ(field->GetValue(), "b0");
    EXPECT_EQ(mycontrol[2][30].midi_str_lenght, 1);
    EXPECT_EQ(mycontrol[2][30].midi_string[1], 0x07);
    EXPECT_EQ(pui->wxStaticTextMidiStrLenght->GetLabel(), "1");
}

// ---- Pictures

class SerialAssignScreens : public GuiFixture
{};

TEST_F(SerialAssignScreens, BothAssignTabsWithAMixedSelection)
{
    StartApp();
    InitAllStructsTables(1);
    mycontrol[0][12].ctrl_value_max = 80;
    mycontrol[0][12].ctrl_status_1 ^= 0x20;
    mylcdstring[0][12] = L"Mixed";
    CurrentGroup = 0;
    ControlIndex = 15;
    all_selected_ctrl = {2, 12, 15};
    pui->UpdateWholeParamWindows();
    SelectPage(PAGE_ASSIGN_STD);
    Pump();
    EXPECT_TRUE(FileExists(SaveScreenshot(m_pCVQ9MainFrame, "assign_std_mixed")));
    SelectPage(PAGE_ASSIGN_USER);
    Pump();
    EXPECT_TRUE(FileExists(SaveScreenshot(m_pCVQ9MainFrame, "assign_user_mixed")));

    // The preset source with a gear whose name is longer than the list shows.
    wxRadioButton *preset = pui->wxRadioButtonUsePreset;
    preset->SetValue(true);
    wxCommandEvent click(wxEVT_RADIOBUTTON, preset->GetId());
    click.SetInt(1);
    Deliver(preset, click);
    const int gear = pui->wxComboBoxPresetCtrl->FindString("Universal Real Time SysEx - Devic", true);
    ASSERT_NE(gear, wxNOT_FOUND);
    SelectCombo(pui->wxComboBoxPresetCtrl, gear);
    ASSERT_GT(pui->wxComboBoxPresetParamCtrl->GetCount(), 0u);
    SelectCombo(pui->wxComboBoxPresetParamCtrl, 0);
    Pump();
    EXPECT_TRUE(FileExists(SaveScreenshot(m_pCVQ9MainFrame, "assign_user_preset")));
}
