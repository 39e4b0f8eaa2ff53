// The two assignment tabs: each field widget edits its bits in every selected
// record and nothing else, shows the current record without editing it, and
// turns its label blue while the selected records differ in that field.
#include <cstring>

#include <wx/uiaction.h>
#include <wx/utils.h>

#include "gui_fixture.h"

// A field widget, its label, and a widget value with the bits it stands for.
struct Field {
    const char *name;
    wxWindow *widget, *label;
    uint8_t All_Params::*byte;
    uint8_t mask;
    int value, bits;
};

static std::vector<Field> Fields()
{
    const cvq9_config_ui *p = pui;
    return {
        {"auto-send", p->CheckboxAutosend, p->wxStaticTextAutosend, &All_Params::ctrl_status_1, 0x20, 1, 0x20},
        {"scenes", p->CheckboxSceneExclude, p->wxStaticTextSceneExclude, &All_Params::ctrl_status_1, 0x40, 1, 0x40},
        {"switch", p->RadioBoxSwitchMode, p->wxStaticTextSwMode, &All_Params::ctrl_status_1, 0x80, 1, 0x80},
        {"out 1", p->CheckboxSendToOut1, p->wxStaticTextSendOut1, &All_Params::ctrl_status_1, 0x08, 1, 0x08},
        {"out 2", p->CheckboxSendToOut2, p->wxStaticTextSendOut2, &All_Params::ctrl_status_1, 0x04, 1, 0x04},
        {"usb", p->CheckboxSendToOutUsb, p->wxStaticTextSendUsb, &All_Params::ctrl_status_1, 0x10, 1, 0x10},
        {"delay", p->wxComboBoxMidiDelay, p->wxStaticTextDelayTxt, &All_Params::ctrl_status_1, 0x03, 2, 0x02},
        {"event", p->RadioBoxMidiEventStdMode, p->wxStaticTextMidiEvent, &All_Params::ctrl_status_0, 0x80, 1, 0x80},
        {"number", p->SpinCtrlCcNoteNumberStdMode, p->wxStaticTextCCNtNb, &All_Params::ctrl_status_0, 0x7F, 100, 100},
        {"chain", p->wxComboBoxChainedCtrlNumero, p->wxStaticTextChainTxt, &All_Params::ctrl_chain, 0x7F, 57, 61},
        {"crossfade", p->wxCheckBoxCrossfadeChain, p->wxStaticTextCrossfader, &All_Params::ctrl_chain, 0x80, 1, 0x80},
        {"channel", p->wxSpinCtrlMidiChannelPosition, p->wxStaticTextChannelTxt, &All_Params::midi_channel_position,
         0xFF, 2, 2},
        {"min", p->SpinCtrlMinValue, p->wxStaticTextMinTxt, &All_Params::ctrl_value_min, 0xFF, 17, 17},
        {"max", p->SpinCtrlMaxValue, p->wxStaticTextMaxTxt, &All_Params::ctrl_value_max, 0xFF, 99, 99},
        {"V1", p->wxSpinCtrlCtrlValuePosition1, p->wxStaticTextVal1Txt, &All_Params::ctrl_value_position_0, 0xFF, 3, 3},
        {"V2", p->wxSpinCtrlCtrlValuePosition2, p->wxStaticTextVal2Txt, &All_Params::ctrl_value_position_1, 0xFF, 5, 5},
        {"curve", p->wxComboBoxCurveModel, p->wxStaticTextCurveTxt, &All_Params::ctrl_status_2, 0x07, 6, 6},
        {"nibble", p->wxCheckBoxNibbleCtrl, p->wxStaticTextSplit, &All_Params::ctrl_status_2, 0x10, 1, 0x10},
        {"checksum", p->wxSpinCtrlChecksumFirstByte, p->wxStaticTextChecksumEn, &All_Params::checksum_start_position,
         0xFF, 7, 7}};
}

static void Select(unsigned group, const std::vector<int> &selection, unsigned current)
{
    CurrentGroup = group;
    ControlIndex = current;
    all_selected_ctrl = selection;
    pui->UpdateWholeParamWindows();
}

static bool Blue(wxWindow *label)
{
    return label->GetForegroundColour() == wxColour("BLUE");
}

class AssignTabs : public RunningApp
{
protected:
    // Runs `edit`; `change` applied to each selected record and text gives the tables.
    void ExpectEdit(const std::function<void()> &edit, const std::function<void(All_Params &, Q9Text &)> &change,
                    bool is_edit = true)
    {
        TablesSnapshot expected;
        for (int i : all_selected_ctrl)
            change(expected.Addressed(CurrentGroup, i), expected.Lcd(CurrentGroup, i));
        need_to_save_lib = false;
        edit();
        EXPECT_TABLES_EQ(expected, TablesSnapshot());
        EXPECT_EQ(need_to_save_lib, is_edit);
    }
};

TEST_F(AssignTabs, EveryFieldEditReachesTheSelectedControlsAlone)
{
    const struct {
        unsigned group;
        std::vector<int> selection;
        unsigned current;
    } selections[] = {{4, {10}, 10}, {7, {3}, 3}, {4, {2, 55, 10, 49}, 10}, {20, {12, 66, 0}, 0}};
    for (const auto &s : selections) {
        SCOPED_TRACE(s.current);
        FillRandomConfiguration(s.current);
        Select(s.group, s.selection, s.current);
        Check(pui->wxCheckBoxEnableChecksum, true);  // the records keep their positions until the spin moves
        for (const Field &f : Fields())
            for (int value : {f.value, 0})  // 0 typed into the spins
                ExpectEdit([&] { Drive(f.widget, value, value == 0); },
                           [&](All_Params &r, Q9Text &) {
                               r.*f.byte = static_cast<uint8_t>((r.*f.byte & ~f.mask) | (value ? f.bits : 0));
                           });
        ExpectEdit([] { Check(pui->wxCheckBoxEnableChecksum, false); },
                   [](All_Params &r, Q9Text &) { r.checksum_start_position = 0; });
        EXPECT_FALSE(pui->wxSpinCtrlChecksumFirstByte->IsEnabled());
        EXPECT_EQ(pui->wxSpinCtrlChecksumFirstByte->GetValue(), 0);
        ExpectEdit([] { pui->wxTextCtrlMidiString->SetValue("F0417f"); },
                   [](All_Params &r, Q9Text &) {
                       r.midi_str_lenght = 3;
                       std::memcpy(r.midi_string, "\xF0\x41\x7F", 3);
                   });
        ExpectEdit([] { pui->wxTextCtrlMidiString->SetValue("F0417"); }, [](All_Params &, Q9Text &) {}, false);
        ExpectEdit([] { pui->wxTextCtrlLcdString->SetValue("Filter Cutoff"); },
                   [](All_Params &, Q9Text &lcd) { lcd = L"Filter Cutoff"; });
    }
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(AssignTabs, TheTabsShowTheCurrentRecordWithoutEditingIt)
{
    ResetConfiguration(1);
    All_Params &r = mycontrol[3][58];  // a switch of the group
    r = All_Params{};
    for (const Field &f : Fields())
        r.*f.byte = static_cast<uint8_t>(r.*f.byte | f.bits);
    r.midi_str_lenght = 3;
    std::memcpy(r.midi_string, "\xF0\x7F\x01", 3);
    mylcdstring[3][58] = Q9Text(L"Button zero") + L'\0';
    const TablesSnapshot before;
    need_to_save_lib = false;
    Select(3, {58}, 58);
    for (const Field &f : Fields()) {
        EXPECT_EQ(Shown(f.widget), f.value) << f.name;
        EXPECT_FALSE(Blue(f.label)) << f.name;
    }
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel() + pui->wxStaticTextGroupNb->GetLabel(), "583");
    EXPECT_EQ(pui->wxTextCtrlMidiString->GetValue() + pui->wxStaticTextMidiStrLenght->GetLabel(), "F07F013");
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), "Button zero");
    EXPECT_TRUE(pui->wxCheckBoxEnableChecksum->GetValue());
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(need_to_save_lib);

    // What each kind of control offers: a switch mode for switches, the value
    // fields for group controls, a text for all but the transport buttons and
    // the right crossfader, crossfading with a chain, the Edit button for user curves.
    Select(0, {10}, 10);
    Spin(pui->SpinCtrlMaxValue, 90);
    const struct {
        unsigned index;
        bool switch_mode, group_fields, lcd;
    } kinds[] = {{1, false, false, false}, {8, false, true, true}, {58, true, true, true}, {49, false, true, false}};
    for (const auto &k : kinds) {
        Select(0, {static_cast<int>(k.index)}, k.index);
        EXPECT_EQ(pui->RadioBoxSwitchMode->IsEnabled(), k.switch_mode) << k.index;
        EXPECT_EQ(pui->RadioBoxSwitchMode->GetSelection(), k.switch_mode ? 1 : 0) << k.index;
        for (const Field &f : Fields())
            EXPECT_TRUE(f.widget->IsEnabled() == k.group_fields ||
                        (f.byte != &All_Params::ctrl_value_min && f.byte != &All_Params::ctrl_status_2))
                << k.index << f.name;
        EXPECT_TRUE(k.group_fields || pui->SpinCtrlMaxValue->GetValue() == 90) << "a transport button leaves it";
        EXPECT_EQ(pui->wxTextCtrlLcdString->IsEnabled(), k.lcd) << k.index;
        EXPECT_EQ(pui->wxTextCtrlLcdString->IsEmpty(), !k.lcd) << k.index;
    }
    mycontrol[6][20].ctrl_chain = 66;  // chained on a control the list has not: none shown
    Select(6, {20}, 20);
    EXPECT_EQ(pui->wxComboBoxChainedCtrlNumero->GetSelection(), wxNOT_FOUND);
    for (int item : {57, 0})
        Choose(pui->wxComboBoxChainedCtrlNumero, item);
    EXPECT_FALSE(pui->wxCheckBoxCrossfadeChain->IsEnabled());
    for (int item : {4, 5}) {
        Choose(pui->wxComboBoxCurveModel, item);
        EXPECT_EQ(pui->wxButtonEditCurve->IsEnabled(), item == 5) << item;
    }
}

TEST_F(AssignTabs, FieldsThatDifferWithinTheSelectionHaveBlueLabels)
{
    std::vector<std::pair<wxWindow *, std::function<void(All_Params &, Q9Text &)>>> rows;
    for (const Field &f : Fields())
        rows.push_back({f.label, [f](All_Params &r, Q9Text &) { r.*f.byte ^= f.mask & -f.mask; }});
    rows.push_back({pui->wxStaticTextLcdTxt, [](All_Params &, Q9Text &t) { t = L"other"; }});
    rows.push_back({pui->wxStaticTextMidiStrTxt, [](All_Params &r, Q9Text &) { r.midi_string[1] ^= 1; }});
    // A longer string is another string as well.
    rows.push_back({pui->wxStaticTextLenghtTxt, [](All_Params &r, Q9Text &) { r.midi_str_lenght = 9; }});
    for (const auto &row : rows) {
        InitAllStructsTables(1);
        mycontrol[9][30].checksum_start_position = 2;
        mycontrol[9][30].ctrl_chain = 10;
        mycontrol[9][31] = mycontrol[9][30];
        mylcdstring[9][31] = mylcdstring[9][30];
        row.second(mycontrol[9][31], mylcdstring[9][31]);
        Select(9, {31, 30}, 30);
        for (const auto &other : rows)
            EXPECT_EQ(Blue(other.first), other.first == row.first || (row.first == pui->wxStaticTextLenghtTxt &&
                                                                      other.first == pui->wxStaticTextMidiStrTxt))
                << row.first->GetLabel() << ": " << other.first->GetLabel();
        EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "*");
        EXPECT_TRUE(Blue(pui->wxStaticTextCtrlNb));
    }
    // A differing field keeps the value its widget showed; an edit makes it common.
    Select(0, {20}, 20);
    Spin(pui->SpinCtrlMinValue, 33);
    mycontrol[0][21].ctrl_value_min = 1;
    Select(0, {22, 21, 20}, 21);
    EXPECT_EQ(pui->SpinCtrlMinValue->GetValue(), 33);
    Spin(pui->SpinCtrlMinValue, 5);
    Select(0, {22, 20, 21}, 21);
    EXPECT_FALSE(Blue(pui->wxStaticTextMinTxt));
    Select(0, {21}, 21);
    EXPECT_EQ(pui->wxStaticTextCtrlNb->GetLabel(), "21");
    EXPECT_FALSE(Blue(pui->wxStaticTextCtrlNb));
}

// The keyboard through the toolkit (one test at a time: the fields need the
// focus): the fields take only what they may hold.
using SerialTyping = GuiFixture;

TEST_F(SerialTyping, FieldsTakeOnlyWhatTheyMayHold)
{
    StartApp();
    ShowPage(PAGE_ASSIGN_USER);
    Select(2, {30}, 30);
    auto type = [this](wxWindow *window, const std::function<void(wxUIActionSimulator &)> &keys) {
        window->SetFocus();
        Pump();
        wxUIActionSimulator typist;
        keys(typist);
        for (int i = 0; i < 10; ++i) {
            Pump();
            wxMilliSleep(10);
        }
    };
    auto text = [&](wxTextCtrl *field, const char *keys) {
        field->ChangeValue(wxEmptyString);
        type(field, [keys](wxUIActionSimulator &typist) { typist.Text(keys); });
        return field->GetValue();
    };
    EXPECT_EQ(text(pui->wxTextCtrlMidiString, "b0g7"), "b07");
    EXPECT_EQ(mycontrol[2][30].midi_string[0], 0xB0);
    EXPECT_EQ(text(pui->wxTextCtrlMidiString, "0123456789012345678901234567890123456789ABC").length(), 42u);
    EXPECT_EQ(mycontrol[2][30].midi_str_lenght, 21);
    EXPECT_EQ(text(pui->wxTextCtrlLcdString, "ABCDEFGHIJKLMNOPQR"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(mylcdstring[2][30], L"ABCDEFGHIJKLMNOP");
    ShowPage(PAGE_REALTIME);
    EXPECT_EQ(text(pui->wxTextCtrlTempo, "1x2345"), "123");
    EXPECT_EQ(common_params[32], 123 - 30);
    ShowPage(PAGE_GLOBAL);
    EXPECT_EQ(text(pui->wxTextCtrlGroupName, "Bass 1"), "Bass 1");
    EXPECT_EQ(mygroupnames[2], L"Bass 1");
    ShowPage(PAGE_PREFERENCES);
    type(pui->wxSpinCtrlEndGroup, [](wxUIActionSimulator &typist) {
        for (int key : {WXK_END, WXK_BACK, WXK_BACK})
            typist.Char(key);
        typist.Text("1x2");
    });
    EXPECT_EQ(pui->wxSpinCtrlEndGroup->GetTextValue(), "12");
}
