#include "edit_history.h"

#include <wx/control.h>
#include <wx/menu.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "usercurvesedition.h"

namespace {

int g_step_depth = 0;

// The Edit menu says what undo and redo would do. It is told after every
// change of the history: the toolkit updates a menu only when it is opened,
// and a greyed item's shortcut does nothing.
void ShowEditMenu()
{
    if (!m_pMenu)
        return;
    const struct {
        int id;
        const wchar_t *verb;
        const wchar_t *shortcut;
        std::wstring name;
    } items[] = {{ID_CVQ9_UNDO, L"&Undo", L"\tCtrl+Z", EditHistory().UndoName()},
                 {ID_CVQ9_REDO, L"&Redo", L"\tCtrl+Y", EditHistory().RedoName()}};
    for (const auto &item : items) {
        wxMenuItem *entry = m_pMenu->FindItem(item.id);
        if (!entry)
            continue;
        const wxString text =
            wxString(item.verb) + (item.name.empty() ? wxString() : wxT(" ") + wxString(item.name)) + item.shortcut;
        if (entry->GetItemLabel() != text)
            entry->SetItemLabel(text);
        entry->Enable(!item.name.empty());
    }
}

void ShowStep(const UndoHistory::Step *step)
{
    ShowEditMenu();
    if (!step)
        return;
    need_to_save_lib = !EditHistory().AtSaved();
    if (!pui)
        return;
    const StepFocus focus = FocusOf(step->parts);
    if (focus.group >= 0) {
        pui->ShowControls(static_cast<unsigned>(focus.group), focus.controls);
    } else {
        pui->UpdateWholeParamWindows();
    }
    pui->UpdateWholeGlobalParamsWindows();
    if (pcurveDialog && pcurveDialog->IsShown())
        pcurveDialog->DisplayCurves();
}

}  // namespace

wxString StepName(const wxWindow *label)
{
    if (!label)
        return wxString();
    const wxControl *control = dynamic_cast<const wxControl *>(label);
    wxString name = control ? control->GetLabelText() : label->GetLabel();
    name.Trim();
    if (name.EndsWith(wxT(":")))
        name.RemoveLast().Trim();
    return name;
}

UndoHistory &EditHistory()
{
    static UndoHistory history;
    return history;
}

EditStep::EditStep(const wxString &name, int merge_key)
    : name_(name), merge_key_(merge_key), outermost_(g_step_depth == 0)
{
    ++g_step_depth;
}

EditStep::~EditStep()
{
    --g_step_depth;
    if (outermost_) {
        EditHistory().Record(name_.ToStdWstring(), before_.ChangedParts(), merge_key_);
        ShowEditMenu();
    }
}

void ForgetEdits()
{
    EditHistory().Clear();
    ShowEditMenu();
}

void UndoEdit()
{
    ShowStep(EditHistory().Undo());
}

void RedoEdit()
{
    ShowStep(EditHistory().Redo());
}
