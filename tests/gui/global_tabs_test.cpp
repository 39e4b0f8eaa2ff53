// The "Global parameters" and "Realtime parameters" tabs: every widget driven
// by its event writes exactly its bits of common_params (and nothing else of
// the tables) for firmware 1.4, 1.5 and 1.6, the display shows a given block,
// the tempo field's arithmetic, and the group name field.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <wx/radiobox.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "panel_test_support.h"
#include "usercurvesedition.h"

namespace {

void SelectItem(wxChoice *choice, int item)
{
    choice->SetSelection(item);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetInt(item);
    event.SetString(choice->GetString(static_cast<unsigned>(item)));
    Deliver(choice, event);
}

void SelectRadio(wxRadioBox *radio, int item)
{
    radio->SetSelection(item);
    wxCommandEvent event(wxEVT_RADIOBOX, radio->GetId());
    event.SetInt(item);
    event.SetString(radio->GetString(static_cast<unsigned>(item)));
    Deliver(radio, event);
}

// Typing into a text field: the new text, and with it the field's change event.
void TypeText(wxTextCtrl *field, const wxString &text)
{
    field->SetValue(text);
}

// Where a setting lives: byte and bit, or byte < 0 when the firmware has none.
struct Where {
    int byte;
    int bit;
};
constexpr Where kNowhere = {-1, 0};

// One single-bit widget: how to drive it to a state, how to read what it
// shows, and where its bit lives for a firmware.
struct BitCase {
    const char *name;
    std::function<void(bool)> drive;
    std::function<bool()> shown;
    std::function<Where(float)> where;
};

Where Fixed(int byte, int bit)
{
    return {byte, bit};
}

std::vector<BitCase> BitCases()
{
    auto check = [](wxCheckBox *cvq9_config_ui::*member) {
        return std::make_pair(std::function<void(bool)>([member](bool on) { ClickCheck(pui->*member, on); }),
                              std::function<bool()>([member] { return (pui->*member)->GetValue(); }));
    };
    auto choice = [](wxChoice *cvq9_config_ui::*member) {
        return std::make_pair(std::function<void(bool)>([member](bool on) { SelectItem(pui->*member, on ? 1 : 0); }),
                              std::function<bool()>([member] { return (pui->*member)->GetSelection() == 1; }));
    };
    auto radio = [](wxRadioBox *cvq9_config_ui::*member) {
        return std::make_pair(std::function<void(bool)>([member](bool on) { SelectRadio(pui->*member, on ? 1 : 0); }),
                              std::function<bool()>([member] { return (pui->*member)->GetSelection() == 1; }));
    };
    auto fixed = [](int byte, int bit) { return std::function<Where(float)>([=](float) { return Fixed(byte, bit); }); };
    std::vector<BitCase> cases;
    auto add = [&](const char *name, std::pair<std::function<void(bool)>, std::function<bool()>> widget,
                   std::function<Where(float)> where) {
        cases.push_back({name, widget.first, widget.second, where});
    };
    add("MergeMidiOut", check(&cvq9_config_ui::wxCheckBoxMergeMidiOut), fixed(0, 0));
    add("MergeUsbOut", check(&cvq9_config_ui::wxCheckBoxMergeUsbOut), fixed(0, 1));
    add("MergeUsbIn", check(&cvq9_config_ui::wxCheckBoxMergeUsbIn), fixed(0, 2));
    add("MergeMidiIn", check(&cvq9_config_ui::wxCheckBoxMergeMidiIn), fixed(0, 3));
    add("Sync24Enable", check(&cvq9_config_ui::CheckboxSync24Enable), fixed(0, 5));
    add("ExtSyncSrc", choice(&cvq9_config_ui::wxChoiceExtSyncSrc), fixed(1, 0));
    add("GenIntSync", check(&cvq9_config_ui::wxCheckBoxGenIntSync), fixed(1, 1));
    add("ArppMidiSrc", choice(&cvq9_config_ui::wxChoiceExtArppMIDISrc), fixed(1, 3));
    add("ArppState", check(&cvq9_config_ui::CheckboxArppState),
        [](float fw) { return fw < 1.5f ? Fixed(1, 4) : Fixed(3, 5); });
    add("Sync24Sync", choice(&cvq9_config_ui::wxChoiceSync24Sync), fixed(1, 6));
    add("ShiftLockChannel", check(&cvq9_config_ui::CheckboxShiftLockChannel), fixed(3, 0));
    add("ShiftMode", radio(&cvq9_config_ui::wxRadioBoxShiftMode), fixed(3, 1));
    add("ArppToMidiOut2", check(&cvq9_config_ui::CheckboxArppToMidiOut2), fixed(3, 2));
    add("ArppToMidiOut1", check(&cvq9_config_ui::CheckboxArppToMidiOut1), fixed(3, 3));
    add("ArppToUSB", check(&cvq9_config_ui::CheckboxArppToUSB), fixed(3, 4));
    add("ArppSync", choice(&cvq9_config_ui::wxChoiceExtArppSync), fixed(3, 6));
    add("MotionLoop", check(&cvq9_config_ui::CheckboxMotionLoop), fixed(4, 0));
    add("MotionState", check(&cvq9_config_ui::CheckboxMotionState), fixed(4, 1));
    add("LfoSync", choice(&cvq9_config_ui::wxChoiceExtLfoSync), fixed(4, 2));
    add("LFOState", check(&cvq9_config_ui::CheckboxLFOState), fixed(4, 3));
    add("InfraredState", check(&cvq9_config_ui::CheckboxInfraredState), fixed(4, 4));
    add("MotionSync", choice(&cvq9_config_ui::wxChoiceExtMotionSync), fixed(4, 5));
    add("AnalogMode", choice(&cvq9_config_ui::wxChoiceAnalogMode), fixed(4, 6));
    add("ShiftLockMidi", check(&cvq9_config_ui::CheckboxShiftLockMidi), fixed(5, 0));
    add("MackieFadFbkEn", check(&cvq9_config_ui::wxCheckBoxMackieFadFbkEn),
        [](float fw) { return fw > 1.5f ? Fixed(5, 3) : kNowhere; });
    add("TempoMode", check(&cvq9_config_ui::wxCheckBoxTempoMode),
        [](float fw) { return fw > 1.5f ? Fixed(5, 4) : kNowhere; });
    return cases;
}

// Backgrounds the block is filled with before a widget is driven, so that a
// handler that clears or sets a neighbouring bit is caught either way.
const uint8_t kBackgrounds[] = {0x00, 0x7F, 0xA5, 0x5A};

void FillCommon(uint8_t value)
{
    std::memset(common_params, value, sizeof common_params);
}

}  // namespace

// Offline with the firmware of the test's parameter and hardware 2.0.
class GlobalTabs : public GuiFixture, public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        ClickCheck(pui->wxCheckBoxOffline, true);
        SelectChoice(pui->wxChoiceFwOffline, GetParam());
        SelectChoice(pui->wxChoiceHwOffline, "2.0");
        fw = fw_version_float;
        UseStoredGroupNames();
        dialogs.Clear();
    }

    // The tables after an edit must equal the snapshot with only `common`
    // changed as given.
    void ExpectOnlyCommonChanged(const TablesSnapshot &before, const std::vector<uint8_t> &expected_common)
    {
        TablesSnapshot expected = before;
        expected.common = expected_common;
        const TablesSnapshot after;
        EXPECT_TABLES_EQ(expected, after);
    }

    static std::vector<uint8_t> Common()
    {
        return std::vector<uint8_t>(common_params, common_params + sizeof common_params);
    }

    float fw = 0.0f;
};

INSTANTIATE_TEST_SUITE_P(Firmware, GlobalTabs, ::testing::Values("1.4", "1.5", "1.6"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             std::string name = std::string("fw") + info.param;
                             name.erase(name.find('.'), 1);
                             return name;
                         });

// ---- Single-bit widgets

TEST_P(GlobalTabs, EverySingleBitWidgetWritesExactlyItsBit)
{
    for (const BitCase &c : BitCases()) {
        SCOPED_TRACE(c.name);
        const Where where = c.where(fw);
        for (uint8_t background : kBackgrounds) {
            SCOPED_TRACE(static_cast<int>(background));
            for (bool on : {true, false}) {
                FillCommon(background);
                need_to_save_lib = false;
                const TablesSnapshot before;
                c.drive(on);
                std::vector<uint8_t> expected = before.common;
                if (where.byte >= 0) {
                    const uint8_t mask = static_cast<uint8_t>(1u << where.bit);
                    expected[where.byte] = on ? static_cast<uint8_t>(expected[where.byte] | mask)
                                              : static_cast<uint8_t>(expected[where.byte] & ~mask);
                }
                ExpectOnlyCommonChanged(before, expected);
                // A setting the firmware lacks is no edit at all.
                EXPECT_EQ(need_to_save_lib, where.byte >= 0) << (on ? "on" : "off");
            }
        }
    }
}

TEST_P(GlobalTabs, EverySingleBitWidgetShowsItsBit)
{
    for (const BitCase &c : BitCases()) {
        SCOPED_TRACE(c.name);
        const Where where = c.where(fw);
        for (uint8_t background : kBackgrounds) {
            for (bool on : {true, false}) {
                FillCommon(background);
                c.drive(!on);  // the widget starts from the other state
                need_to_save_lib = false;
                FillCommon(background);
                if (where.byte >= 0) {
                    const uint8_t mask = static_cast<uint8_t>(1u << where.bit);
                    common_params[where.byte] = on ? static_cast<uint8_t>(common_params[where.byte] | mask)
                                                   : static_cast<uint8_t>(common_params[where.byte] & ~mask);
                }
                const TablesSnapshot before;
                pui->UpdateWholeGlobalParamsWindows();
                // A bit the firmware does not have leaves the widget as it was.
                EXPECT_EQ(c.shown(), where.byte >= 0 ? on : !on)
                    << "background " << int(background) << (on ? " on" : " off");
                EXPECT_TABLES_EQ(before, TablesSnapshot());
                EXPECT_FALSE(need_to_save_lib);
            }
        }
    }
}

TEST_P(GlobalTabs, ArpeggiatorStateFollowsTheFirmwaresByte)
{
    FillCommon(0);
    common_params[1] = 0x10;  // byte 1 bit 4 only
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->CheckboxArppState->GetValue(), fw < 1.5f);
    FillCommon(0);
    common_params[3] = 0x20;  // byte 3 bit 5 only
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->CheckboxArppState->GetValue(), fw >= 1.5f);
}

TEST_P(GlobalTabs, DisabledFaderAndTempoBoxesAreEnabledOnlyFromFirmware16)
{
    EXPECT_EQ(pui->wxCheckBoxMackieFadFbkEn->IsEnabled(), fw >= 1.6f);
    EXPECT_EQ(pui->wxCheckBoxTempoMode->IsEnabled(), fw >= 1.6f);
}

// ---- Input filter

TEST_P(GlobalTabs, FilterRadioBoxWritesBits6And4)
{
    const int expected_bits[] = {0x00, 0x40, 0x50};
    for (uint8_t background : kBackgrounds) {
        for (int item = 0; item < 3; ++item) {
            FillCommon(background);
            need_to_save_lib = false;
            const TablesSnapshot before;
            SelectRadio(pui->wxRadioBoxFilterMidi, item);
            std::vector<uint8_t> expected = before.common;
            expected[0] = static_cast<uint8_t>((expected[0] & ~0x50) | expected_bits[item]);
            ExpectOnlyCommonChanged(before, expected);
            EXPECT_TRUE(need_to_save_lib);
        }
    }
}

TEST_P(GlobalTabs, FilterRadioBoxDisplay)
{
    const std::pair<uint8_t, int> cases[] = {{0x00, 0}, {0x10, 0}, {0x40, 1}, {0x50, 2},
                                             {0xAF, 0}, {0x6F, 1}, {0x7F, 2}};
    for (const auto &c : cases) {
        FillCommon(0);
        common_params[0] = c.first;
        pui->UpdateWholeGlobalParamsWindows();
        EXPECT_EQ(pui->wxRadioBoxFilterMidi->GetSelection(), c.second) << int(c.first);
    }
}

// ---- Video mode, LFO wave, current automation

TEST_P(GlobalTabs, VideoModeSetsItsBitAndClearsTheOther)
{
    for (uint8_t background : kBackgrounds) {
        for (int item = 0; item < 2; ++item) {
            FillCommon(background);
            need_to_save_lib = false;
            const TablesSnapshot before;
            SelectItem(pui->wxChoiceVideoMode, item);
            std::vector<uint8_t> expected = before.common;
            expected[5] = static_cast<uint8_t>((expected[5] & ~0x06) | (item == 0 ? 0x02 : 0x04));
            ExpectOnlyCommonChanged(before, expected);
            EXPECT_TRUE(need_to_save_lib);
        }
    }
    const std::pair<uint8_t, int> shown[] = {{0x00, 0}, {0x02, 0}, {0x04, 1}, {0x06, 1}};
    for (const auto &c : shown) {
        FillCommon(0);
        common_params[5] = c.first;
        pui->UpdateWholeGlobalParamsWindows();
        EXPECT_EQ(pui->wxChoiceVideoMode->GetSelection(), c.second) << int(c.first);
    }
}

TEST_P(GlobalTabs, LfoWaveIsBits5And6)
{
    for (uint8_t background : kBackgrounds) {
        for (int item = 0; item < 4; ++item) {
            FillCommon(background);
            need_to_save_lib = false;
            const TablesSnapshot before;
            SelectItem(pui->wxChoiceLfoWave, item);
            std::vector<uint8_t> expected = before.common;
            expected[5] = static_cast<uint8_t>((expected[5] & ~0x60) | (item << 5));
            ExpectOnlyCommonChanged(before, expected);
            EXPECT_TRUE(need_to_save_lib);

            FillCommon(static_cast<uint8_t>(~background & 0x9F));
            common_params[5] = static_cast<uint8_t>(common_params[5] | (item << 5));
            pui->UpdateWholeGlobalParamsWindows();
            EXPECT_EQ(pui->wxChoiceLfoWave->GetSelection(), item);
        }
    }
}

TEST_P(GlobalTabs, CurrentAutomationIsByte11)
{
    for (uint8_t background : kBackgrounds) {
        for (int item = 0; item < 3; ++item) {
            FillCommon(background);
            need_to_save_lib = false;
            const TablesSnapshot before;
            SelectItem(pui->wxChoiceCurrentAutomation, item);
            std::vector<uint8_t> expected = before.common;
            expected[11] = static_cast<uint8_t>(item);
            ExpectOnlyCommonChanged(before, expected);
            EXPECT_TRUE(need_to_save_lib);

            FillCommon(background);
            common_params[11] = static_cast<uint8_t>(2 - item);
            pui->UpdateWholeGlobalParamsWindows();
            EXPECT_EQ(pui->wxChoiceCurrentAutomation->GetSelection(), 2 - item);
        }
    }
}

// ---- Operating mode

TEST_P(GlobalTabs, OperatingModeEncodingPerFirmware)
{
    const std::vector<std::string> items = ChoiceItems(pui->wxChoiceOperatingMode);
    for (uint8_t background : kBackgrounds) {
        for (size_t s = 0; s < items.size(); ++s) {
            SCOPED_TRACE(items[s]);
            FillCommon(background);
            need_to_save_lib = false;
            const TablesSnapshot before;
            SelectItem(pui->wxChoiceOperatingMode, static_cast<int>(s));
            std::vector<uint8_t> expected = before.common;
            if (fw < 1.5f) {
                const uint8_t bits[] = {0x00, 0x08, 0x10};
                ASSERT_LT(s, 3u);
                expected[5] = static_cast<uint8_t>((expected[5] & ~0x18) | bits[s]);
            } else if (fw < 1.6f) {
                expected[5] = static_cast<uint8_t>((expected[5] & ~0x18) | (s << 3));
            } else {
                expected[33] = static_cast<uint8_t>(s);
            }
            ExpectOnlyCommonChanged(before, expected);
            EXPECT_TRUE(need_to_save_lib);
        }
    }
}

TEST_P(GlobalTabs, OperatingModeUserItem)
{
    // "User" is item 2 up to 1.4 (Standard, Reason 3, User), item 3 from 1.5 on.
    FillCommon(0);
    SelectChoice(pui->wxChoiceOperatingMode, "User");
    if (fw < 1.5f) {
        EXPECT_EQ(common_params[5], 0x10);
        EXPECT_EQ(common_params[33], 0);
    } else if (fw < 1.6f) {
        EXPECT_EQ(common_params[5], 0x18);  // both bits, byte 33 untouched
        EXPECT_EQ(common_params[33], 0);
    } else {
        EXPECT_EQ(common_params[33], 3);  // byte 5 untouched
        EXPECT_EQ(common_params[5], 0);
    }
    // The display reads the same place back.
    SelectItem(pui->wxChoiceOperatingMode, 0);
    pui->EnableDisableUiFromFwVersion();
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "Standard");
    FillCommon(0);
    if (fw < 1.5f)
        common_params[5] = 0x10;
    else if (fw < 1.6f)
        common_params[5] = 0x18;
    else
        common_params[33] = 3;
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "User");
}

TEST_P(GlobalTabs, OperatingModeDisplayReadsTheFirmwaresPlace)
{
    // Byte 5 says item 1, byte 33 says item 2: the firmware decides which one shows.
    FillCommon(0);
    common_params[5] = 0x08;
    common_params[33] = 2;
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetSelection(), fw < 1.6f ? 1 : 2);
}

// ---- Tempo

TEST_P(GlobalTabs, TempoExamples)
{
    const struct {
        const char *typed;
        uint8_t stored;
        const char *shown;
    } cases[] = {{"120", 90, "120"}, {"30", 0, "030"}, {"25", 251, "281"}, {"999", 201, "231"}, {"255", 225, "255"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        FillCommon(0x11);
        need_to_save_lib = false;
        const TablesSnapshot before;
        TypeText(pui->wxTextCtrlTempo, c.typed);
        std::vector<uint8_t> expected = before.common;
        expected[32] = c.stored;
        ExpectOnlyCommonChanged(before, expected);
        EXPECT_TRUE(need_to_save_lib);
        need_to_save_lib = false;
        pui->UpdateWholeGlobalParamsWindows();
        EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), c.shown);
        EXPECT_EQ(common_params[32], c.stored);  // the display writes nothing back
        EXPECT_FALSE(need_to_save_lib);
    }
}

TEST_P(GlobalTabs, EmptyTempoFieldCountsAsZero)
{
    TypeText(pui->wxTextCtrlTempo, "120");
    TypeText(pui->wxTextCtrlTempo, "");
    EXPECT_EQ(common_params[32], 226);
}

// ---- Group name

TEST_P(GlobalTabs, GroupNameFieldEditsTheCurrentGroupsName)
{
    SelectGroupInCombo(7);
    ASSERT_EQ(CurrentGroup, 7u);
    need_to_save_lib = false;
    const TablesSnapshot before;
    TypeText(pui->wxTextCtrlGroupName, "Drums");
    EXPECT_TRUE(need_to_save_lib);
    TablesSnapshot expected = before;
    expected.group_names[7] = L"Drums";
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
}

TEST_P(GlobalTabs, GroupNameFieldShowsTheCurrentGroupsVisibleName)
{
    mygroupnames[3] = Q9Text(L"   Group 03   ") + L'\0';
    mygroupnames[4] = L"Keys";
    SelectGroupInCombo(3);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue(), "   Group 03   ");
    SelectGroupInCombo(4);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue(), "Keys");
    // Showing a name is no edit: the stored form keeps its NUL.
    EXPECT_EQ(mygroupnames[3], Q9Text(L"   Group 03   ") + L'\0');
}

TEST_P(GlobalTabs, GroupNameFieldKeepsEightBitCharacters)
{
    SelectGroupInCombo(2);
    mygroupnames[2] = L"Caf\u00e9 \u00ff";
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue().ToStdWstring(), L"Caf\u00e9 \u00ff");
}

// ---- A whole block shown, then written back widget by widget

TEST_P(GlobalTabs, DisplayOfTheDefaultBlock)
{
    // The block "Load default" gives.
    FillCommon(0);
    common_params[0] = 0x0F;
    common_params[3] = 0x04;
    common_params[4] = 0x51;
    common_params[11] = 1;
    common_params[32] = 100;
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_TRUE(pui->wxCheckBoxMergeMidiOut->GetValue());
    EXPECT_TRUE(pui->wxCheckBoxMergeUsbOut->GetValue());
    EXPECT_TRUE(pui->wxCheckBoxMergeUsbIn->GetValue());
    EXPECT_TRUE(pui->wxCheckBoxMergeMidiIn->GetValue());
    EXPECT_EQ(pui->wxRadioBoxFilterMidi->GetSelection(), 0);
    EXPECT_FALSE(pui->CheckboxSync24Enable->GetValue());
    EXPECT_TRUE(pui->CheckboxArppToMidiOut2->GetValue());
    EXPECT_FALSE(pui->CheckboxArppToMidiOut1->GetValue());
    EXPECT_FALSE(pui->CheckboxArppToUSB->GetValue());
    EXPECT_FALSE(pui->CheckboxArppState->GetValue());
    EXPECT_TRUE(pui->CheckboxMotionLoop->GetValue());
    EXPECT_FALSE(pui->CheckboxMotionState->GetValue());
    EXPECT_TRUE(pui->CheckboxInfraredState->GetValue());
    EXPECT_EQ(pui->wxChoiceAnalogMode->GetStringSelection(), "Hook");
    EXPECT_EQ(pui->wxChoiceCurrentAutomation->GetStringSelection(), "LFO");
    EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), "130");
    EXPECT_EQ(pui->wxChoiceVideoMode->GetStringSelection(), "Normal");
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "Standard");
    EXPECT_EQ(pui->wxChoiceLfoWave->GetStringSelection(), "Sine");
    EXPECT_FALSE(pui->CheckboxShiftLockMidi->GetValue());
}

TEST_P(GlobalTabs, HandlersLetTheirEventsTravelOn)
{
    // The panel's command events go on to the frame and the application.
    wxCommandEvent event(wxEVT_CHECKBOX, pui->wxCheckBoxMergeUsbIn->GetId());
    event.SetEventObject(pui->wxCheckBoxMergeUsbIn);
    pui->OnCheckboxMergeUsbInClick(event);
    EXPECT_TRUE(event.GetSkipped());
    wxCommandEvent tempo(wxEVT_TEXT, pui->wxTextCtrlTempo->GetId());
    pui->OnTextctrlTempoUpdated(tempo);
    EXPECT_TRUE(tempo.GetSkipped());
    wxCommandEvent mode(wxEVT_CHOICE, pui->wxChoiceOperatingMode->GetId());
    pui->OnChoiceOperatingModeSelected(mode);
    EXPECT_TRUE(mode.GetSkipped());
    wxCommandEvent fader(wxEVT_CHECKBOX, pui->wxCheckBoxMackieFadFbkEn->GetId());
    pui->OnCheckboxMackieFaderFbkClick(fader);
    EXPECT_TRUE(fader.GetSkipped());
}

// ---- Firmware changes

TEST_P(GlobalTabs, AFirmwareChangeShowsTheNewEncodingAtTheNextDisplay)
{
    // Byte 5 bits 3-4 hold the operating mode up to 1.5 and the fader
    // feedback and tempo mode from 1.6 on.
    ClickCheck(pui->wxCheckBoxMackieFadFbkEn, false);
    FillCommon(0);
    common_params[5] = 0x08;
    common_params[33] = 4;
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxCheckBoxMackieFadFbkEn->GetValue(), fw >= 1.6f);
    EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), fw >= 1.6f ? "Logic" : "Reason 3");

    const char *other = fw >= 1.6f ? "1.5" : "1.6";
    SelectChoice(pui->wxChoiceFwOffline, other);
    FillCommon(0);
    common_params[5] = 0x08;
    common_params[33] = 4;
    const bool was_checked = pui->wxCheckBoxMackieFadFbkEn->GetValue();
    pui->UpdateWholeGlobalParamsWindows();
    if (fw_version_float >= 1.6f) {
        EXPECT_TRUE(pui->wxCheckBoxMackieFadFbkEn->GetValue());
        EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "Logic");
    } else {
        EXPECT_EQ(pui->wxCheckBoxMackieFadFbkEn->GetValue(), was_checked);
        EXPECT_EQ(pui->wxChoiceOperatingMode->GetStringSelection(), "Reason 3");
    }
}

// ---- User curves button

TEST_P(GlobalTabs, EditButtonOpensTheCurveEditorLikeTheAssignmentTabs)
{
    ASSERT_NE(pcurveDialog, nullptr);
    user_curve_2[0] = 77;
    const TablesSnapshot before;
    pui->wxComboBoxCurveModel->SetValue("User 1");
    ClickButton(pui->wxButtonEditCurveModels);
    EXPECT_TRUE(pcurveDialog->IsShown());
    EXPECT_EQ(pcurveDialog->wxNotebookPage->GetSelection(), 0);
    pcurveDialog->Hide();
    pui->wxComboBoxCurveModel->SetValue("Log.");
    ClickButton(pui->wxButtonEditCurveModels);
    EXPECT_TRUE(pcurveDialog->IsShown());
    EXPECT_EQ(pcurveDialog->wxNotebookPage->GetSelection(), 1);
    EXPECT_TRUE(pcurveDialog->wxTextCtrlCurve2->GetValue().StartsWith("77\n"));
    pcurveDialog->Hide();
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

// ---- Pictures of both tabs

class SerialGlobalTabsPictures : public GuiFixture
{};

TEST_F(SerialGlobalTabsPictures, BothTabsOffline16)
{
    StartApp();
    ClickCheck(pui->wxCheckBoxOffline, true);
    SelectChoice(pui->wxChoiceFwOffline, "1.6");
    SelectChoice(pui->wxChoiceHwOffline, "2.0");
    FillCommon(0);
    common_params[0] = 0x4F;  // merges on, filter Realtime
    common_params[1] = 0x03;  // USB sync source, internal sync
    common_params[3] = 0x3E;  // SHIFT toggle, arpeggio everywhere, enabled
    common_params[4] = 0x5B;
    common_params[5] = 0x5D;  // lock, inverted, fader feedback, tempo mode, square wave
    common_params[11] = 2;
    common_params[32] = 90;
    common_params[33] = 4;
    mygroupnames[CurrentGroup] = L"Synth pads";
    pui->UpdateWholeGlobalParamsWindows();
    SelectPage(PAGE_GLOBAL);
    const wxString global = SaveScreenshot(m_pCVQ9MainFrame, "global_tab_fw16");
    EXPECT_TRUE(FileExists(global)) << global;
    SelectPage(PAGE_REALTIME);
    const wxString realtime = SaveScreenshot(m_pCVQ9MainFrame, "realtime_tab_fw16");
    EXPECT_TRUE(FileExists(realtime)) << realtime;
}

// The keyboard and the mouse reaching the handlers through the toolkit.
class SerialGlobalTabsInput : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        ClickCheck(pui->wxCheckBoxOffline, true);
        SelectChoice(pui->wxChoiceFwOffline, "1.6");
        Pump();
    }

    void Settle()
    {
        for (int i = 0; i < 10; ++i) {
            Pump();
            wxMilliSleep(10);
        }
    }

    void TypeInto(wxTextCtrl *field, const char *text)
    {
        field->SetFocus();
        Settle();
        wxUIActionSimulator typist;
        typist.Text(text);
        Settle();
    }

    void ClickOn(wxWindow *window)
    {
        wxUIActionSimulator mouse;
        mouse.MouseMove(window->GetScreenRect().GetLeftTop() + wxPoint(8, window->GetSize().y / 2));
        Settle();
        mouse.MouseClick();
        Settle();
    }
};

TEST_F(SerialGlobalTabsInput, TypedTempoIsStored)
{
    SelectPage(PAGE_REALTIME);
    pui->wxTextCtrlTempo->ChangeValue(wxEmptyString);
    need_to_save_lib = false;
    TypeInto(pui->wxTextCtrlTempo, "120");
    EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), "120");
    EXPECT_EQ(common_params[32], 90);
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(SerialGlobalTabsInput, TypedGroupNameIsStored)
{
    SelectGroupInCombo(9);
    SelectPage(PAGE_GLOBAL);
    pui->wxTextCtrlGroupName->ChangeValue(wxEmptyString);
    need_to_save_lib = false;
    TypeInto(pui->wxTextCtrlGroupName, "Bass 1");
    EXPECT_EQ(mygroupnames[9], L"Bass 1");
    EXPECT_TRUE(need_to_save_lib);
}

TEST_F(SerialGlobalTabsInput, ClickedCheckBoxWritesItsBit)
{
    SelectPage(PAGE_GLOBAL);
    std::memset(common_params, 0, sizeof common_params);
    pui->UpdateWholeGlobalParamsWindows();
    need_to_save_lib = false;
    const TablesSnapshot before;
    ClickOn(pui->CheckboxLFOState);
    EXPECT_TRUE(pui->CheckboxLFOState->GetValue());
    TablesSnapshot expected = before;
    expected.common[4] = 0x08;
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
    EXPECT_TRUE(need_to_save_lib);
}
