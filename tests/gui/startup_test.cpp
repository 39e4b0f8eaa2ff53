// The settings a run writes: in the store at once, in the file after Exit or
// the close box only, and back at the next start.
#include <wx/filename.h>

#include "gui_fixture.h"

TEST_F(GuiFixture, SettingsOfARunComeBackAtTheNextStart)
{
    for (bool exit_command : {true, false}) {
        StartApp();
        EXPECT_EQ(CurrentGroup, 1u);
        SelectGroupInCombo(7);
        EXPECT_EQ(CVQ9_SOFT_config->ReadLong("CurrentGroup", -1), 7);
        for (wxCheckBox *box : {pui->CheckboxProgUndef, pui->CheckboxIgnoreLcd, pui->CheckboxIgnoreMIDI})
            Check(box, false);
        Spin(pui->wxSpinCtrlStartGroup, 10);  // a reversed range is kept as it is
        Spin(pui->wxSpinCtrlEndGroup, 5);
        Check(pui->wxCheckBoxOffline, true);
        Choose(pui->wxChoiceFwOffline, "1.2");
        Choose(pui->wxChoiceHwOffline, "1.0");
        for (wxComboBox *ports : {pui->wxComboBoxMidiIn, pui->wxComboBoxMidiOut}) {
            ports->Append("a port");
            Choose(ports, 0);
        }
        SendCommand(ID_CVQ9_HELP);  // the help window keeps its layout elsewhere
        EXPECT_FALSE(wxFileName::FileExists(SettingsFilePath()));
        exit_command ? ExitByCommand() : CloseByCloseBox();
        const std::string file = ReadFileText(SettingsFilePath());
        EXPECT_EQ(file.find("hcW"), std::string::npos) << file;
        for (const char *line :
             {"CurrentGroup=7", "ProgUndef=0", "IgnoreLcdProg=0", "IgnoreMidiProg=0", "StartGroup=10", "EndGroup=5",
              "Offline_Hw_Version=1.0", "MidiInDev=0", "MidiOutDev=0"})
            EXPECT_NE(file.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << file;
        StartApp();
        EXPECT_EQ(m_pGroupCombo->GetSelection(), 7);
        EXPECT_FALSE(pui->CheckboxProgUndef->GetValue() || pui->CheckboxIgnoreLcd->GetValue() ||
                     pui->CheckboxIgnoreMIDI->GetValue());
        EXPECT_EQ(pui->wxSpinCtrlStartGroup->GetValue() * 100 + pui->wxSpinCtrlEndGroup->GetValue(), 1005);
        EXPECT_EQ(pui->wxChoiceFwOffline->GetStringSelection(), "1.2");
        CloseByCloseBox();
        std::remove(SettingsFilePath().c_str());
    }
}
