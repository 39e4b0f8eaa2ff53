// The editor's own clipboard for one control assignment and one group
// number. Nothing goes to the system clipboard or to the device.
#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
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

bool IsGroupControl(unsigned index)
{
    return index >= FIRST_GROUP_CONTROL && index <= LAST_CONTROL_INDEX;
}

} // namespace

void CVQ9MainFrame::OnButtonCopy(wxCommandEvent &)
{
    if (IsGroupControl(ControlIndex)) {
        mycontrolCopy = mycontrol[CurrentGroup][ControlIndex];
        mylcdstringCopy = mylcdstring[CurrentGroup][ControlIndex];
    } else if (ControlIndex < TRANSPORT_NB) {
        mycontrolCopy = mytransport[ControlIndex];
    }
    if (toolBar)
        toolBar->EnableTool(ID_CVQ9_PASTE, true);
    if (pParamMenu)
        pParamMenu->Enable(ID_CVQ9_PASTE, true);
    EnableRightClickPaste();
}

void CVQ9MainFrame::OnButtonPaste(wxCommandEvent &)
{
    if (IsGroupControl(ControlIndex)) {
        mycontrol[CurrentGroup][ControlIndex] = mycontrolCopy;
        mylcdstring[CurrentGroup][ControlIndex] = mylcdstringCopy;
    } else if (ControlIndex < TRANSPORT_NB) {
        mytransport[ControlIndex] = mycontrolCopy;
    }
    AfterClipboardEdit();
}

void CVQ9MainFrame::OnButtonClear(wxCommandEvent &)
{
    if (IsGroupControl(ControlIndex)) {
        InitMidiStruct(&mycontrol[CurrentGroup][ControlIndex], static_cast<uint8_t>(CurrentGroup),
                       static_cast<uint8_t>(ControlIndex), 0);
        mylcdstring[CurrentGroup][ControlIndex].clear();
    } else if (ControlIndex < TRANSPORT_NB) {
        InitMidiStruct(&mytransport[ControlIndex], 0, static_cast<uint8_t>(ControlIndex), 0);
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
    if (CurrentGroup == 0) {
        for (uint8_t t = 0; t < TRANSPORT_NB; ++t)
            InitMidiStruct(&mytransport[t], 0, t, 0);
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
