// The global and realtime parameter tabs: each widget writes exactly its bits
// of the common parameters where the chosen firmware keeps them, and shows
// them back without writing; the tempo and the current group's name.
#include <cstring>

#include "gui_fixture.h"

class GlobalTabs : public RunningApp
{
protected:
    // Driving `w` to `item` changes only `byte` (to `bits` in `mask`; byte < 0:
    // nothing at all) whatever the other bits, and showing them selects `item` again.
    void ExpectWidget(wxWindow *w, int item, int byte, uint8_t mask, uint8_t bits)
    {
        for (uint8_t background : {0x00, 0xFF, 0x5A}) {
            std::memset(common_params, background, sizeof common_params);
            TablesSnapshot expected;
            if (byte >= 0)
                expected.common[byte] = static_cast<uint8_t>((background & ~mask) | bits);
            need_to_save_lib = false;
            Drive(w, item);
            EXPECT_TABLES_EQ(expected, TablesSnapshot());
            EXPECT_EQ(need_to_save_lib, byte >= 0) << w->GetLabel() << " " << item;
            Drive(w, item == 0);
            std::memcpy(common_params, expected.common.data(), sizeof common_params);
            need_to_save_lib = false;
            pui->UpdateWholeGlobalParamsWindows();
            EXPECT_EQ(Shown(w), byte >= 0 ? item : item == 0) << w->GetLabel() << " " << int(background);
            EXPECT_TABLES_EQ(expected, TablesSnapshot());
            EXPECT_FALSE(need_to_save_lib);
        }
    }
};

TEST_F(GlobalTabs, EveryWidgetWritesAndShowsItsBitsForEachFirmware)
{
    Check(pui->wxCheckBoxOffline, true);
    const cvq9_config_ui *p = pui;
    for (const char *firmware : {"1.4", "1.5", "1.6"}) {
        Choose(pui->wxChoiceFwOffline, firmware);
        const float fw = fw_version_float;
        // A single-bit widget: byte and bit, where the firmware keeps it (byte < 0: nowhere).
        const struct {
            wxWindow *widget;
            int byte, bit;
        } bits[] = {{p->wxCheckBoxMergeMidiOut, 0, 0},
                    {p->wxCheckBoxMergeUsbOut, 0, 1},
                    {p->wxCheckBoxMergeUsbIn, 0, 2},
                    {p->wxCheckBoxMergeMidiIn, 0, 3},
                    {p->CheckboxSync24Enable, 0, 5},
                    {p->wxChoiceExtSyncSrc, 1, 0},
                    {p->wxCheckBoxGenIntSync, 1, 1},
                    {p->wxChoiceExtArppMIDISrc, 1, 3},
                    {p->wxChoiceSync24Sync, 1, 6},
                    {p->CheckboxShiftLockChannel, 3, 0},
                    {p->wxRadioBoxShiftMode, 3, 1},
                    {p->CheckboxArppToMidiOut2, 3, 2},
                    {p->CheckboxArppToMidiOut1, 3, 3},
                    {p->CheckboxArppToUSB, 3, 4},
                    {p->wxChoiceExtArppSync, 3, 6},
                    {p->CheckboxMotionLoop, 4, 0},
                    {p->CheckboxMotionState, 4, 1},
                    {p->wxChoiceExtLfoSync, 4, 2},
                    {p->CheckboxLFOState, 4, 3},
                    {p->CheckboxInfraredState, 4, 4},
                    {p->wxChoiceExtMotionSync, 4, 5},
                    {p->wxChoiceAnalogMode, 4, 6},
                    {p->CheckboxShiftLockMidi, 5, 0},
                    {p->CheckboxArppState, fw < 1.5f ? 1 : 3, fw < 1.5f ? 4 : 5},
                    {p->wxCheckBoxMackieFadFbkEn, fw < 1.6f ? -1 : 5, 3},
                    {p->wxCheckBoxTempoMode, fw < 1.6f ? -1 : 5, 4}};
        for (const auto &b : bits)
            for (int on : {1, 0})
                ExpectWidget(b.widget, on, b.byte, static_cast<uint8_t>(1u << b.bit),
                             static_cast<uint8_t>(on << b.bit));
        // A widget of several items: byte, mask and the bits of each item.
        const struct {
            wxWindow *widget;
            int byte;
            uint8_t mask;
            std::vector<uint8_t> bits;
        } items[] = {{p->wxRadioBoxFilterMidi, 0, 0x50, {0x00, 0x40, 0x50}},
                     {p->wxChoiceVideoMode, 5, 0x06, {0x02, 0x04}},
                     {p->wxChoiceLfoWave, 5, 0x60, {0x00, 0x20, 0x40, 0x60}},
                     {p->wxChoiceCurrentAutomation, 11, 0xFF, {0, 1, 2}},
                     {p->wxChoiceOperatingMode, fw < 1.6f ? 5 : 33, static_cast<uint8_t>(fw < 1.6f ? 0x18 : 0xFF),
                      fw < 1.5f   ? std::vector<uint8_t>{0x00, 0x08, 0x10}  // up to 1.4: three modes
                      : fw < 1.6f ? std::vector<uint8_t>{0x00, 0x08, 0x10, 0x18}
                                  : std::vector<uint8_t>{0, 1, 2, 3, 4}}};
        for (const auto &m : items) {
            ASSERT_EQ(dynamic_cast<wxItemContainerImmutable *>(m.widget)->GetCount(), m.bits.size());
            for (int item = static_cast<int>(m.bits.size()) - 1; item >= 0; --item)
                ExpectWidget(m.widget, item, m.byte, m.mask, m.bits[static_cast<size_t>(item)]);
        }
    }
    // The tempo field: the typed tempo less 30 in eight bits, shown back as three digits.
    TablesSnapshot tempo;
    tempo.common[32] = 251;
    pui->wxTextCtrlTempo->SetValue("25");
    EXPECT_TABLES_EQ(tempo, TablesSnapshot());
    pui->UpdateWholeGlobalParamsWindows();
    EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), "281");
    // The name field edits the current group's name and shows it without the stored NUL.
    mygroupnames[3] = Q9Text(L"Caf\u00e9 \u00ff") + L'\0';
    SelectGroupInCombo(3);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue().ToStdWstring(), L"Caf\u00e9 \u00ff");
    TablesSnapshot expected;
    expected.group_names[3] = L"Drums";
    need_to_save_lib = false;
    pui->wxTextCtrlGroupName->SetValue("Drums");
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
    EXPECT_TRUE(need_to_save_lib);
}
