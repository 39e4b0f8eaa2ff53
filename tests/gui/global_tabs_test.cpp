// The global and realtime parameter tabs: each widget writes exactly its bits
// of the common parameters where the chosen firmware keeps them, and shows
// them back without writing; the tempo and the current group's name.
#include <cstring>

#include "CVQ9Mainframe.h"
#include "gui_fixture.h"

namespace {

// A single-bit widget and where its bit lives for a firmware (byte < 0: nowhere).
struct Bit {
    const char *name;
    wxWindow *widget;
    int byte, bit;
    float from = 0.0f;               // the firmware from which the bit is there
    int old_byte = -1, old_bit = 0;  // where it lived before 1.5
};

std::vector<Bit> Bits()
{
    const cvq9_config_ui *p = pui;
    return {
        {"merge MIDI out", p->wxCheckBoxMergeMidiOut, 0, 0},
        {"merge USB out", p->wxCheckBoxMergeUsbOut, 0, 1},
        {"merge USB in", p->wxCheckBoxMergeUsbIn, 0, 2},
        {"merge MIDI in", p->wxCheckBoxMergeMidiIn, 0, 3},
        {"sync 24", p->CheckboxSync24Enable, 0, 5},
        {"sync source", p->wxChoiceExtSyncSrc, 1, 0},
        {"internal sync", p->wxCheckBoxGenIntSync, 1, 1},
        {"arpeggio source", p->wxChoiceExtArppMIDISrc, 1, 3},
        {"arpeggio", p->CheckboxArppState, 3, 5, 0, 1, 4},
        {"sync 24 sync", p->wxChoiceSync24Sync, 1, 6},
        {"lock channel", p->CheckboxShiftLockChannel, 3, 0},
        {"shift mode", p->wxRadioBoxShiftMode, 3, 1},
        {"arpeggio out 2", p->CheckboxArppToMidiOut2, 3, 2},
        {"arpeggio out 1", p->CheckboxArppToMidiOut1, 3, 3},
        {"arpeggio USB", p->CheckboxArppToUSB, 3, 4},
        {"arpeggio sync", p->wxChoiceExtArppSync, 3, 6},
        {"motion loop", p->CheckboxMotionLoop, 4, 0},
        {"motion", p->CheckboxMotionState, 4, 1},
        {"LFO sync", p->wxChoiceExtLfoSync, 4, 2},
        {"LFO", p->CheckboxLFOState, 4, 3},
        {"infrared", p->CheckboxInfraredState, 4, 4},
        {"motion sync", p->wxChoiceExtMotionSync, 4, 5},
        {"analog mode", p->wxChoiceAnalogMode, 4, 6},
        {"lock MIDI", p->CheckboxShiftLockMidi, 5, 0},
        {"fader feedback", p->wxCheckBoxMackieFadFbkEn, 5, 3, 1.6f},
        {"tempo mode", p->wxCheckBoxTempoMode, 5, 4, 1.6f},
    };
}

// The bits a multi-bit widget's item stands for: byte, mask, bits of each item.
struct Items {
    const char *name;
    wxWindow *widget;
    int byte;
    uint8_t mask;
    std::vector<uint8_t> bits;
};

void Drive(wxWindow *w, int item)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(w))
        Check(box, item != 0);
    else if (auto *radio = dynamic_cast<wxRadioBox *>(w))
        Choose(radio, item);
    else
        Choose(dynamic_cast<wxChoice *>(w), item);
}

int Shown(wxWindow *w)
{
    if (auto *box = dynamic_cast<wxCheckBox *>(w))
        return box->GetValue();
    return dynamic_cast<wxItemContainerImmutable *>(w)->GetSelection();
}

}  // namespace

class GlobalTabs : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        Check(pui->wxCheckBoxOffline, true);
        dialogs.Clear();
    }

    // Driving `w` to `item` on every background changes only `byte` (to
    // `bits` in `mask`), and showing those bits selects `item` again.
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
            EXPECT_EQ(need_to_save_lib, byte >= 0);  // a setting the firmware lacks is no edit
            Drive(w, item == 0);
            std::memcpy(common_params, expected.common.data(), sizeof common_params);
            need_to_save_lib = false;
            pui->UpdateWholeGlobalParamsWindows();
            EXPECT_EQ(Shown(w), byte >= 0 ? item : item == 0) << int(background);
            EXPECT_TABLES_EQ(expected, TablesSnapshot());
            EXPECT_FALSE(need_to_save_lib);
        }
    }
};

TEST_F(GlobalTabs, EveryWidgetWritesAndShowsItsBitsForEachFirmware)
{
    for (const char *firmware : {"1.4", "1.5", "1.6"}) {
        SCOPED_TRACE(firmware);
        Choose(pui->wxChoiceFwOffline, firmware);
        const float fw = fw_version_float;
        for (const Bit &b : Bits()) {
            SCOPED_TRACE(b.name);
            const bool there = fw >= b.from;
            const bool old = fw < 1.5f && b.old_byte >= 0;
            for (int on : {1, 0})
                ExpectWidget(b.widget, on, there ? (old ? b.old_byte : b.byte) : -1,
                             static_cast<uint8_t>(1u << (old ? b.old_bit : b.bit)),
                             static_cast<uint8_t>(on << (old ? b.old_bit : b.bit)));
        }
        std::vector<uint8_t> modes = {0x00, 0x08, 0x10};  // up to 1.4: Standard, Reason 3, User in bits 3-4
        if (fw >= 1.5f)
            modes = {0x00, 0x08, 0x10, 0x18};
        const std::vector<Items> multi = {
            {"filter", pui->wxRadioBoxFilterMidi, 0, 0x50, {0x00, 0x40, 0x50}},
            {"video", pui->wxChoiceVideoMode, 5, 0x06, {0x02, 0x04}},
            {"LFO wave", pui->wxChoiceLfoWave, 5, 0x60, {0x00, 0x20, 0x40, 0x60}},
            {"automation", pui->wxChoiceCurrentAutomation, 11, 0xFF, {0, 1, 2}},
            fw < 1.6f ? Items{"mode", pui->wxChoiceOperatingMode, 5, 0x18, modes}
                      : Items{"mode", pui->wxChoiceOperatingMode, 33, 0xFF, {0, 1, 2, 3, 4}},
        };
        for (const Items &m : multi) {
            SCOPED_TRACE(m.name);
            ASSERT_EQ(dynamic_cast<wxItemContainerImmutable *>(m.widget)->GetCount(), m.bits.size());
            for (int item = static_cast<int>(m.bits.size()) - 1; item >= 0; --item)
                ExpectWidget(m.widget, item, m.byte, m.mask, m.bits[static_cast<size_t>(item)]);
        }
    }
}

TEST_F(GlobalTabs, TempoAndGroupNameFields)
{
    const struct {
        const char *typed;
        uint8_t stored;
        const char *shown;
    } tempos[] = {{"120", 90, "120"}, {"25", 251, "281"}, {"", 226, "256"}};
    for (const auto &t : tempos) {
        TablesSnapshot expected;
        expected.common[32] = t.stored;
        need_to_save_lib = false;
        pui->wxTextCtrlTempo->SetValue(t.typed);
        EXPECT_TABLES_EQ(expected, TablesSnapshot());
        EXPECT_TRUE(need_to_save_lib);
        pui->UpdateWholeGlobalParamsWindows();
        EXPECT_EQ(pui->wxTextCtrlTempo->GetValue(), t.shown);
        EXPECT_EQ(common_params[32], t.stored);
    }
    // The field edits the current group's name and shows it without the stored NUL.
    mygroupnames[3] = Q9Text(L"   Group 03   ") + L'\0';
    mygroupnames[4] = L"Caf\u00e9 \u00ff";
    SelectGroupInCombo(3);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue(), "   Group 03   ");
    SelectGroupInCombo(4);
    EXPECT_EQ(pui->wxTextCtrlGroupName->GetValue().ToStdWstring(), L"Caf\u00e9 \u00ff");
    TablesSnapshot expected;
    expected.group_names[4] = L"Drums";
    need_to_save_lib = false;
    pui->wxTextCtrlGroupName->SetValue("Drums");
    EXPECT_TABLES_EQ(expected, TablesSnapshot());
    EXPECT_TRUE(need_to_save_lib);
}
