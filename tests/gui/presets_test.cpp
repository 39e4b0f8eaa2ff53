// The ready-made assignments of the user tab, standard templates and presets
// of the preset library, rewrite every selected control and nothing else.
#include <wx/clntdata.h>

#include "gui_fixture.h"
#include "libconv.h"
#include "templates.h"

// A chunk of the preset library: identifier, size (little-endian), data, pad byte.
static std::string Piece(const std::string &id, const std::string &data)
{
    std::string s = id;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((data.size() >> (8 * i)) & 0xFF));
    s += data;
    if (data.size() % 2)
        s.push_back('\0');
    return s;
}

static std::string Param(const std::string &name, const std::string &message, bool with_position = true)
{
    return Piece("CTRL", Piece("LGNM", name) + Piece("SHNM", name) + Piece("MSG ", message) +
                             (with_position ? Piece("POS ", std::string{1, 0, 3, 0, 127}) : ""));
}

static const std::string kLongGear = "A synthesizer with a name longer than the list shows";

class Presets : public RunningApp
{
protected:
    void SetUp() override
    {
        RunningApp::SetUp();
        const std::string image =
            Piece("LIBR", Piece("NAME", "Broken synth") + Param("Cutoff", "B04A00", false)) +
            Piece("LIBR", Piece("NAME", kLongGear) + Param("Cutoff", "B04A00") + Param("Reso", "B147")) +
            Piece("LIBR", Piece("NAME", "Drum machine") + Param("Kick", "9924"));
        ASSERT_TRUE(WriteFileText(folder_.File(PRESET_FILE_NAME), image));
        ReleasePresetLibrary();
        ASSERT_EQ(LoadPresetLibrary(folder_.Path() + "/"), image.size());
        ShowPage(PAGE_ASSIGN_USER);
        // Three controls of group 6, a transport button among them.
        FillRandomConfiguration(6);
        SelectControls(6, {3, 55, 10});
        pui->UpdateWholeParamWindows();
        dialogs.Clear();
    }

    // Choosing `item` of `combo` gives each selected record what `apply` makes of it, nothing else.
    void ExpectApplied(wxComboBox *combo, int item, const std::function<void(All_Params &, Q9Text &)> &apply)
    {
        TablesSnapshot expected;
        for (int i : all_selected_ctrl)
            apply(expected.Addressed(6, i), expected.Lcd(6, i));
        need_to_save_lib = false;
        Choose(combo, item);
        EXPECT_TABLES_EQ(expected, TablesSnapshot());
        EXPECT_TRUE(need_to_save_lib);
        EXPECT_EQ(pui->wxTextCtrlLcdString->GetValue(), wxString(expected.Lcd(6, 10)));  // the tab shows the control
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Describe();
    }

    TempFolder folder_;
};

TEST_F(Presets, AStandardTemplateRewritesEverySelectedControl)
{
    ASSERT_TRUE(pui->wxRadioButtonUseStdTemplate->GetValue());
    wxComboBox *templates = pui->wxComboBoxStdTemplateCtrl;
    ASSERT_EQ(templates->GetCount(), STD_TEMPLATE_COUNT);
    for (unsigned item : {0u, 261u, 388u, 132u})
        ExpectApplied(templates, static_cast<int>(item), [&](All_Params &r, Q9Text &lcd) {
            ApplyStdTemplate(item, r, lcd);
            lcd = templates->GetString(item).ToStdWstring();  // the text is the entry as the list shows it
        });
}

TEST_F(Presets, APresetRewritesEverySelectedControl)
{
    Choose(pui->wxRadioButtonUsePreset);
    EXPECT_FALSE(pui->wxRadioButtonUseStdTemplate->GetValue() || pui->wxComboBoxStdTemplateCtrl->IsEnabled());
    EXPECT_TRUE(pui->wxComboBoxPresetCtrl->IsEnabled() && pui->wxComboBoxPresetParamCtrl->IsEnabled());
    wxComboBox *gears = pui->wxComboBoxPresetCtrl;
    ASSERT_EQ(gears->GetCount(), 3u);
    // The list shows 33 characters of a name and keeps the whole name.
    const int item = gears->FindString(kLongGear.substr(0, 33), true);
    ASSERT_NE(item, wxNOT_FOUND);
    const auto *full = dynamic_cast<wxStringClientData *>(gears->GetClientObject(static_cast<unsigned>(item)));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetData(), kLongGear);
    Choose(gears, item);
    wxComboBox *params = pui->wxComboBoxPresetParamCtrl;
    ASSERT_EQ(params->GetCount(), 2u);
    EXPECT_EQ(params->GetString(1), "Reso");
    ExpectApplied(params, 1,
                  [](All_Params &r, Q9Text &lcd) { ASSERT_EQ(GetKnob(kLongGear.c_str(), "Reso", &r, &lcd), 1); });
    // The other source takes over; checking presets again lists the gears afresh.
    Choose(pui->wxRadioButtonUseStdTemplate);
    EXPECT_TRUE(pui->wxComboBoxStdTemplateCtrl->IsEnabled());
    EXPECT_FALSE(gears->IsEnabled() || params->IsEnabled());
    Choose(pui->wxRadioButtonUsePreset);
    EXPECT_EQ(gears->GetCount(), 3u);
}

TEST_F(Presets, ABrokenOrUnknownPresetChangesNothing)
{
    Choose(pui->wxRadioButtonUsePreset);
    Choose(pui->wxComboBoxPresetCtrl, pui->wxComboBoxPresetCtrl->FindString("Broken synth", true));
    ASSERT_EQ(pui->wxComboBoxPresetParamCtrl->GetCount(), 1u);
    const TablesSnapshot before;
    need_to_save_lib = false;
    Choose(pui->wxComboBoxPresetParamCtrl, 0);
    EXPECT_TABLES_EQ(before, TablesSnapshot());
    EXPECT_FALSE(need_to_save_lib);
    ASSERT_EQ(dialogs.messages.size(), 2u) << dialogs.Describe();  // the reader's, then the panel's
    EXPECT_EQ(dialogs.messages[0].caption, PRESET_ERROR_CAPTION);
    EXPECT_EQ(dialogs.messages[1].caption, PRESET_LIBRARY_ERROR_CAPTION);
    dialogs.Clear();
    pui->wxComboBoxPresetCtrl->SetValue("No such gear");
    wxCommandEvent typed(wxEVT_COMBOBOX, pui->wxComboBoxPresetCtrl->GetId());
    Deliver(pui->wxComboBoxPresetCtrl, typed);
    EXPECT_EQ(pui->wxComboBoxPresetParamCtrl->GetCount(), 0u);
    EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_TABLES_EQ(before, TablesSnapshot());
}

// An imported device is listed after the shipped gear, even where its name
// sorts first; typing narrows the list and Enter chooses the first gear left.
TEST_F(Presets, ImportedGearFollowsTheShippedGearAndTypingNarrowsTheList)
{
    const std::string list = "<ControlNameList><Control Number=\"74\" Name=\"Cutoff\"/></ControlNameList>";
    const std::string doc = "<MIDINameDocument><MasterDeviceNames><Manufacturer>Aardvark</Manufacturer><Model>Box"
                            "</Model>" +
                            list +
                            "</MasterDeviceNames><MasterDeviceNames><Manufacturer>Aardvark Long "
                            "Name Instruments Company</Manufacturer><Model>Alpha One</Model><Model>Beta Two</Model>" +
                            list + "</MasterDeviceNames></MIDINameDocument>";
    WriteFileBytes(HomePath("box.midnam"), std::vector<uint8_t>(doc.begin(), doc.end()));
    Choose(pui->wxRadioButtonUsePreset);
    wxComboBox *gears = pui->wxComboBoxPresetCtrl;
    const unsigned shipped = gears->GetCount();
    dialogs.AnswerFileDialog(HomePath("box.midnam"));
    SendCommand(ID_CVQ9_IMPORT_MIDNAM);
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(dialogs.messages[0].text.StartsWith("Added to your presets: 3 devices.")) << dialogs.Describe();
    ASSERT_EQ(gears->GetCount(), shipped + 3);
    // Long names that start alike show what tells them apart.
    EXPECT_EQ(gears->GetString(shipped) + "|" + gears->GetString(shipped + 1) + "|" + gears->GetString(shipped + 2),
              "Aardvark Box|Aardvark Long Name ...Alpha One|Aardvark Long Name ...Beta Two");

    pui->wxTextCtrlPresetFilter->SetValue("K BOX");
    ASSERT_EQ(gears->GetCount(), 1u);
    EXPECT_EQ(gears->GetString(0), "Aardvark Box");
    wxCommandEvent enter(wxEVT_TEXT_ENTER, pui->wxTextCtrlPresetFilter->GetId());
    Deliver(pui->wxTextCtrlPresetFilter, enter);
    ASSERT_EQ(pui->wxComboBoxPresetParamCtrl->GetCount(), 1u);
    EXPECT_EQ(pui->wxComboBoxPresetParamCtrl->GetString(0), "Cutoff");
    pui->wxTextCtrlPresetFilter->SetValue("");
    EXPECT_EQ(gears->GetCount(), shipped + 3);
    EXPECT_EQ(gears->GetValue(), "Aardvark Box") << "the chosen gear stays chosen";
}
