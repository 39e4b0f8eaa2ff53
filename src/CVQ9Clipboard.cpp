// The editor's own clipboard for one control assignment and one group
// number. Nothing goes to the system clipboard or to the device.
#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "edit_history.h"
#include "record_access.h"

All_Params mycontrolCopy = {};
Q9Text mylcdstringCopy;

namespace {

void AfterClipboardEdit()
{
    if (pui)
        pui->UpdateWholeParamWindows();
    need_to_save_lib = true;
}

bool Addressable(unsigned index)
{
    return CurrentGroup < GROUP_NB && index <= LAST_CONTROL_INDEX;
}

}  // namespace

void CVQ9MainFrame::OnButtonCopy(wxCommandEvent &)
{
    if (Addressable(ControlIndex)) {
        mycontrolCopy = AddressedRecord(ControlIndex);
        if (!IsTransportIndex(ControlIndex))
            mylcdstringCopy = mylcdstring[CurrentGroup][ControlIndex];
    }
    if (toolBar)
        toolBar->EnableTool(ID_CVQ9_PASTE, true);
    if (pParamMenu)
        pParamMenu->Enable(ID_CVQ9_PASTE, true);
    EnableRightClickPaste();
}

void CVQ9MainFrame::OnButtonPaste(wxCommandEvent &)
{
    const EditStep step(wxString::Format(wxT("Paste control %u"), ControlIndex));
    if (Addressable(ControlIndex)) {
        AddressedRecord(ControlIndex) = mycontrolCopy;
        if (!IsTransportIndex(ControlIndex))
            mylcdstring[CurrentGroup][ControlIndex] = mylcdstringCopy;
    }
    AfterClipboardEdit();
}

void CVQ9MainFrame::OnButtonClear(wxCommandEvent &)
{
    const EditStep step(wxString::Format(wxT("Clear control %u"), ControlIndex));
    if (Addressable(ControlIndex)) {
        // A transport button is cleared as the group 0 record it is.
        const uint8_t group = IsTransportIndex(ControlIndex) ? 0 : static_cast<uint8_t>(CurrentGroup);
        InitMidiStruct(&AddressedRecord(ControlIndex), group, static_cast<uint8_t>(ControlIndex), 0);
        if (!IsTransportIndex(ControlIndex))
            mylcdstring[CurrentGroup][ControlIndex].clear();
    }
    AfterClipboardEdit();
}

void CVQ9MainFrame::OnButtonCopyGroup(wxCommandEvent &)
{
    // Only the number: the contents are taken when pasting.
    mygroupCopy = static_cast<int>(CurrentGroup);
    if (toolBar)
        toolBar->EnableTool(ID_CVQ9_PASTE_GROUP, true);
    if (pGroupMenu)
        pGroupMenu->Enable(ID_CVQ9_PASTE_GROUP, true);
}

void CVQ9MainFrame::OnButtonPasteGroup(wxCommandEvent &)
{
    const EditStep step(wxString::Format(wxT("Paste group %u"), CurrentGroup));
    if (mygroupCopy >= 0 && mygroupCopy < static_cast<int>(GROUP_NB) && CurrentGroup < GROUP_NB) {
        for (unsigned k = FIRST_GROUP_CONTROL; k <= LAST_CONTROL_INDEX; ++k) {
            mycontrol[CurrentGroup][k] = mycontrol[mygroupCopy][k];
            mylcdstring[CurrentGroup][k] = mylcdstring[mygroupCopy][k];
        }
    }
    AfterClipboardEdit();
}

void CVQ9MainFrame::OnButtonClearGroup(wxCommandEvent &)
{
    const EditStep step(wxString::Format(wxT("Clear group %u"), CurrentGroup));
    if (CurrentGroup == 0) {
        for (uint8_t t = 0; t < TRANSPORT_NB; ++t)
            InitMidiStruct(&AddressedRecord(0, t), 0, t, 0);
    }
    if (CurrentGroup < GROUP_NB) {
        for (unsigned k = FIRST_GROUP_CONTROL; k <= LAST_CONTROL_INDEX; ++k) {
            InitMidiStruct(&mycontrol[CurrentGroup][k], static_cast<uint8_t>(CurrentGroup), static_cast<uint8_t>(k), 0);
            mylcdstring[CurrentGroup][k].clear();
        }
    }
    AfterClipboardEdit();
}

void CVQ9MainFrame::EnableRightClickPaste()
{
    if (pMenuRightClick)
        pMenuRightClick->Enable(ID_CVQ9_PASTE, true);
}
