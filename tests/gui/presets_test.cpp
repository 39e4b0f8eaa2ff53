// The ready-made assignments of the user tab: standard templates and presets
// from the shipped preset library, applied to every selected control.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <wx/clntdata.h>
#include <wx/radiobut.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "gui_fixture.h"
#include "libconv.h"
#include "panel_test_support.h"
#include "record_access.h"
#include "templates.h"

#include "../unit/preset_image_builder.h"

namespace {

void ClickRadio(wxRadioButton *button)
{
    button->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
    event.SetInt(1);
    Deliver(button, event);
}

std::vector<std::string> ComboItems(wxComboBox *combo)
{
    std::vector<std::string> items;
    for (unsigned i = 0; i < combo->GetCount(); ++i)
        items.push_back(combo->GetString(i).ToStdString());
    return items;
}

int FindItem(wxComboBox *combo, const wxString &text)
{
    return combo->FindString(text, true);
}

All_Params Filled(uint8_t byte)
{
    All_Params r;
    std::memset(&r, byte, sizeof r);
    return r;
}

bool Same(const All_Params &a, const All_Params &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class Presets : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        StartApp();
        dialogs.Clear();
        // Three controls of group 6, a transport button among them, with
        // contents no template or preset writes.
        CurrentGroup = 6;
        ControlIndex = 10;
        all_selected_ctrl = {3, 55, 10};
        for (int i : all_selected_ctrl) {
            AddressedRecord(static_cast<unsigned>(i)) = Filled(static_cast<uint8_t>(0x40 + i));
            mylcdstring[6][i] = L"old";
        }
        neighbour_ = Filled(0x33);
        mycontrol[6][11] = neighbour_;
        mycontrol[5][10] = neighbour_;
        pui->UpdateWholeParamWindows();
    }

    // Everything but the three selected records and LCD texts, as it was.
    void ExpectOthersUnchanged(const TablesSnapshot &before)
    {
        TablesSnapshot expected = before;
        TablesSnapshot now;
        for (int i : all_selected_ctrl) {
            const size_t lcd = 6 * CONTROLS_PER_GROUP + static_cast<size_t>(i);
            expected.lcd[lcd] = now.lcd[lcd];
            if (i < 5)
                std::memcpy(&expected.transport[static_cast<size_t>(i) * sizeof(All_Params)],
                            &now.transport[static_cast<size_t>(i) * sizeof(All_Params)], sizeof(All_Params));
            else
                std::memcpy(&expected.controls[lcd * sizeof(All_Params)], &now.controls[lcd * sizeof(All_Params)],
                            sizeof(All_Params));
        }
        EXPECT_TABLES_EQ(expected, now);
        EXPECT_TRUE(Same(mycontrol[6][11], neighbour_));
        EXPECT_TRUE(Same(mycontrol[5][10], neighbour_));
    }

    All_Params neighbour_;
};

// ---- Standard templates

struct TemplateCase {
    unsigned index;
    std::vector<uint8_t> event;
    uint8_t channel_position;
    uint8_t value_position;
    const char *label;
};

TEST_F(Presets, TemplatesRewriteAllThreeControls)
{
    const TemplateCase cases[] = {
        {0, {}, 0, 0, "User Defined"},
        {132, {0xB0, 0x7F, 0x00}, 1, 3, "CC#127 : Poly On"},
        {133, {0x90, 0x00, 0x00}, 1, 3, "Note 0 :C-1"},
        {261, {0xC0, 0x00}, 0, 0, "Program Ch 0"},
        {388, {0xC0, 0x7F}, 0, 0, "Program Ch 127"},
    };
    ASSERT_TRUE(pui->wxRadioButtonUseStdTemplate->GetValue());
    pui->FillStdTemplateList();  // as when its tab is first shown
    for (const TemplateCase &c : cases) {
        SCOPED_TRACE(c.index);
        std::vector<uint8_t> status0;
        for (int i : all_selected_ctrl)
            status0.push_back(AddressedRecord(static_cast<unsigned>(i)).ctrl_status_0);
        const TablesSnapshot before;
        need_to_save_lib = false;
        SelectCombo(pui->wxComboBoxStdTemplateCtrl, static_cast<int>(c.index));
        EXPECT_TRUE(need_to_save_lib);
        size_t k = 0;
        for (int i : all_selected_ctrl) {
            SCOPED_TRACE(i);
            const All_Params &r = AddressedRecord(static_cast<unsigned>(i));
            EXPECT_EQ(r.ctrl_status_0, status0[k++]);
            EXPECT_EQ(r.ctrl_status_1, 0x9C);
            EXPECT_EQ(r.ctrl_status_2, 0);
            EXPECT_EQ(r.midi_str_lenght, c.event.size());
            EXPECT_EQ(r.midi_channel_position, c.channel_position);
            EXPECT_EQ(r.ctrl_value_position_0, c.value_position);
            EXPECT_EQ(r.ctrl_value_position_1, 0);
            EXPECT_EQ(r.ctrl_value_min, 0);
            EXPECT_EQ(r.ctrl_value_max, 127);
            EXPECT_EQ(r.checksum_start_position, 0);
            EXPECT_EQ(r.ctrl_chain, 0);
            for (size_t b = 0; b < MIDI_STRING_MAX_LENGHT; ++b)
                EXPECT_EQ(r.midi_string[b], b < c.event.size() ? c.event[b] : 0x20) << b;
            EXPECT_EQ(mylcdstring[6][i], Q9Text(wxString(c.label).ToStdWstring()));
        }
        ExpectOthersUnchanged(before);
        // The tab shows the new assignment of the current control.
        EXPECT_EQ(pui->SpinCtrlMaxValue->GetValue(), 127);
        EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), c.label);
    }
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
}

TEST_F(Presets, TheTwoSourcesExcludeEachOther)
{
    ClickRadio(pui->wxRadioButtonUsePreset);
    EXPECT_FALSE(pui->wxRadioButtonUseStdTemplate->GetValue());
    EXPECT_TRUE(pui->wxComboBoxPresetCtrl->IsEnabled());
    EXPECT_TRUE(pui->wxComboBoxPresetParamCtrl->IsEnabled());
    EXPECT_FALSE(pui->wxComboBoxStdTemplateCtrl->IsEnabled());
    EXPECT_EQ(pui->wxComboBoxPresetCtrl->GetValue(), "Select from preset ...");
    EXPECT_EQ(pui->wxComboBoxPresetParamCtrl->GetValue(), "Select parameter ...");
    const unsigned gears = pui->wxComboBoxPresetCtrl->GetCount();
    EXPECT_GT(gears, 0u);
    ClickRadio(pui->wxRadioButtonUseStdTemplate);
    EXPECT_FALSE(pui->wxRadioButtonUsePreset->GetValue());
    EXPECT_TRUE(pui->wxComboBoxStdTemplateCtrl->IsEnabled());
    EXPECT_FALSE(pui->wxComboBoxPresetCtrl->IsEnabled());
    EXPECT_FALSE(pui->wxComboBoxPresetParamCtrl->IsEnabled());
    EXPECT_EQ(pui->wxComboBoxPresetCtrl->GetCount(), gears);  // contents left as they are
    // Checking "Use preset" again rebuilds the list, it does not add to it.
    ClickRadio(pui->wxRadioButtonUsePreset);
    EXPECT_EQ(pui->wxComboBoxPresetCtrl->GetCount(), gears);
}

// ---- Presets from the shipped library

// Every gear is listed once, in the library's order, with its full name kept;
// what is shown fits in 33 characters and tells it from every other.
TEST_F(Presets, GearListShowsThirtyThreeCharactersAndRemembersTheFullName)
{
    std::vector<char[PRESET_GEAR_ROW]> rows(PRESET_MAX_GEAR);
    const int count = FillLibTab(rows.data(), PRESET_MAX_GEAR);
    ASSERT_GT(count, 0);
    ClickRadio(pui->wxRadioButtonUsePreset);
    wxComboBox *gears = pui->wxComboBoxPresetCtrl;
    ASSERT_EQ(gears->GetCount(), static_cast<unsigned>(count));
    bool some_long = false;
    std::set<std::string> shown;
    for (int i = 0; i < count; ++i) {
        const std::string full = rows[static_cast<size_t>(i)];
        some_long = some_long || full.size() > 33;
        const auto *data = dynamic_cast<wxStringClientData *>(gears->GetClientObject(static_cast<unsigned>(i)));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetData().ToStdString(), full);
        const std::string text = gears->GetString(static_cast<unsigned>(i)).ToStdString();
        EXPECT_LE(text.size(), 33u);
        EXPECT_TRUE(full.size() > 33 || text == full) << full;
        EXPECT_TRUE(shown.insert(text).second) << text << " shown twice";
    }
    EXPECT_TRUE(some_long) << "the shipped library has names longer than 33 characters";
}

TEST_F(Presets, LongGearNameListsItsParametersAndConverts)
{
    const std::string gear = "Universal Real Time SysEx - Device Control";
    ASSERT_GT(gear.size(), 33u);
    std::vector<char[PRESET_PARAM_ROW]> rows(PRESET_MAX_PARAMS);
    const int count = FillCtrlTab(gear.c_str(), rows.data(), PRESET_MAX_PARAMS);
    ASSERT_GT(count, 0) << "the shipped library has this gear";
    dialogs.Clear();

    ClickRadio(pui->wxRadioButtonUsePreset);
    const int item = FindItem(pui->wxComboBoxPresetCtrl, wxString(gear.substr(0, 33)));
    ASSERT_NE(item, wxNOT_FOUND);
    SelectCombo(pui->wxComboBoxPresetCtrl, item);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    wxComboBox *params = pui->wxComboBoxPresetParamCtrl;
    ASSERT_EQ(params->GetCount(), static_cast<unsigned>(count));
    const std::string param(rows[0], strnlen(rows[0], PRESET_PARAM_ROW));
    EXPECT_EQ(params->GetString(0).ToStdString(), param);

    // What the reader itself makes of this parameter, for each control.
    std::vector<All_Params> expected;
    std::vector<Q9Text> expected_lcd;
    for (int i : all_selected_ctrl) {
        All_Params r = AddressedRecord(static_cast<unsigned>(i));
        Q9Text lcd = mylcdstring[6][i];
        ASSERT_EQ(GetKnob(gear.c_str(), param.c_str(), &r, &lcd), 1);
        expected.push_back(r);
        expected_lcd.push_back(lcd);
    }
    const TablesSnapshot before;
    need_to_save_lib = false;
    SelectCombo(params, 0);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    EXPECT_TRUE(need_to_save_lib);
    for (size_t k = 0; k < all_selected_ctrl.size(); ++k) {
        const int i = all_selected_ctrl[k];
        EXPECT_TRUE(Same(AddressedRecord(static_cast<unsigned>(i)), expected[k])) << i;
        EXPECT_EQ(mylcdstring[6][i], expected_lcd[k]) << i;
        EXPECT_EQ(AddressedRecord(static_cast<unsigned>(i)).ctrl_status_0, 0);
    }
    ExpectOthersUnchanged(before);
    EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), wxString(expected_lcd.back()));
}

TEST_F(Presets, UnknownGearShowsPresetNotFoundAndAnEmptyList)
{
    ClickRadio(pui->wxRadioButtonUsePreset);
    pui->wxComboBoxPresetCtrl->SetValue("No such gear");
    wxCommandEvent event(wxEVT_COMBOBOX, pui->wxComboBoxPresetCtrl->GetId());
    Deliver(pui->wxComboBoxPresetCtrl, event);
    EXPECT_EQ(pui->wxComboBoxPresetParamCtrl->GetCount(), 0u);
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_EQ(dialogs.messages[0].text, "Preset not found");
}

class PresetsBroken : public Presets
{
protected:
    void SetUp() override
    {
        Presets::SetUp();
        using namespace preset_image;
        const std::string no_pos =
            MakeChunk("CTRL", MakeChunk("LGNM", "Cutoff") + MakeChunk("SHNM", "Cutoff") + MakeChunk("MSG ", "B04A00"));
        const std::string image = Gear("Broken synth", no_pos) +
                                  Gear("Good synth", Param("Cutoff", "Cutoff", "B04A00", Pos(1, 0, 3, 0, 127)));
        dir_.Write("hlvlib.xcq", image);
        ReleasePresetLibrary();
        ASSERT_EQ(LoadPresetLibrary(dir_.Path() + "/"), image.size());
        dialogs.Clear();
    }
    preset_image::TempDir dir_;
};

TEST_F(PresetsBroken, FailedConversionChangesNothing)
{
    ClickRadio(pui->wxRadioButtonUsePreset);
    ASSERT_EQ(ComboItems(pui->wxComboBoxPresetCtrl), (std::vector<std::string>{"Broken synth", "Good synth"}));
    SelectCombo(pui->wxComboBoxPresetCtrl, FindItem(pui->wxComboBoxPresetCtrl, "Broken synth"));
    ASSERT_EQ(ComboItems(pui->wxComboBoxPresetParamCtrl), (std::vector<std::string>{"Cutoff"}));
    const TablesSnapshot before;
    need_to_save_lib = false;
    dialogs.Clear();
    SelectCombo(pui->wxComboBoxPresetParamCtrl, 0);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(need_to_save_lib);
    ASSERT_EQ(dialogs.messages.size(), 2u) << dialogs.Describe();
    EXPECT_EQ(dialogs.messages[0].caption, "Error while opening presets");
    EXPECT_EQ(dialogs.messages[0].text, "Preset File corrupted : MIDI Position not found");
    EXPECT_EQ(dialogs.messages[1].caption, "Library error");
    EXPECT_EQ(dialogs.messages[1].text, "No parameter found");

    // The good gear converts all three.
    SelectCombo(pui->wxComboBoxPresetCtrl, FindItem(pui->wxComboBoxPresetCtrl, "Good synth"));
    SelectCombo(pui->wxComboBoxPresetParamCtrl, 0);
    EXPECT_TRUE(need_to_save_lib);
    for (int i : all_selected_ctrl) {
        const All_Params &r = AddressedRecord(static_cast<unsigned>(i));
        EXPECT_EQ(r.midi_str_lenght, 3) << i;
        EXPECT_EQ(r.midi_string[1], 0x4A) << i;
        EXPECT_EQ(mylcdstring[6][i], L"Cutoff") << i;
    }
}

// An imported device is listed after the shipped gear, even where its name
// sorts first; typing narrows the list and Enter chooses the first gear left.
TEST_F(Presets, ImportedGearFollowsTheShippedGearAndTypingNarrowsTheList)
{
    const std::string doc = "<MIDINameDocument><MasterDeviceNames><Manufacturer>Aardvark</Manufacturer>"
                            "<Model>Box</Model><ControlNameList><Control Number=\"74\" Name=\"Cutoff\"/>"
                            "</ControlNameList></MasterDeviceNames></MIDINameDocument>";
    WriteFileBytes(HomePath("box.midnam"), std::vector<uint8_t>(doc.begin(), doc.end()));
    ClickRadio(pui->wxRadioButtonUsePreset);
    const unsigned shipped = pui->wxComboBoxPresetCtrl->GetCount();
    dialogs.AnswerFileDialog(HomePath("box.midnam"));
    SendCommand(ID_CVQ9_IMPORT_MIDNAM);
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(dialogs.messages[0].text.StartsWith("Added to your presets: 1 device.")) << dialogs.Describe();
    const std::vector<std::string> all = ComboItems(pui->wxComboBoxPresetCtrl);
    ASSERT_EQ(all.size(), shipped + 1);
    EXPECT_EQ(all.back(), "Aardvark Box");

    pui->wxTextCtrlPresetFilter->SetValue("DVARK");
    EXPECT_EQ(ComboItems(pui->wxComboBoxPresetCtrl), std::vector<std::string>{"Aardvark Box"});
    wxCommandEvent enter(wxEVT_TEXT_ENTER, pui->wxTextCtrlPresetFilter->GetId());
    Deliver(pui->wxTextCtrlPresetFilter, enter);
    EXPECT_EQ(ComboItems(pui->wxComboBoxPresetParamCtrl), std::vector<std::string>{"Cutoff"});
    pui->wxTextCtrlPresetFilter->SetValue("");
    EXPECT_EQ(pui->wxComboBoxPresetCtrl->GetCount(), shipped + 1);
    EXPECT_EQ(pui->wxComboBoxPresetCtrl->GetValue(), "Aardvark Box") << "the chosen gear stays chosen";
}
