#include "edit_history.h"

#include <map>
#include <utility>

#include <wx/control.h>
#include <wx/menu.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "usercurvesedition.h"

namespace {

int g_step_depth = 0;
bool g_mark_saved_after_step = false;

// The library before and after each step that changed it (New, Open,
// Import...), by the step's serial number: undo and redo take the library
// with the tables, so that a Save never writes tables into another file.
std::map<uint64_t, std::pair<EditStep::Library, EditStep::Library>> g_library_steps;

EditStep::Library CurrentLibrary()
{
    return {FilePath, default_lib_loaded, library_recovered};
}

void UseLibrary(const EditStep::Library &library)
{
    FilePath = library.path;
    default_lib_loaded = library.default_loaded;
    library_recovered = library.recovered;
}

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
    // The library may have changed with the step (New, Open...): Save follows it.
    pui->EnableDisableUiFromFwVersion();
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
    : library_before_(CurrentLibrary()), name_(name), merge_key_(merge_key), outermost_(g_step_depth == 0)
{
    ++g_step_depth;
}

EditStep::~EditStep()
{
    --g_step_depth;
    if (outermost_) {
        const uint64_t newest = EditHistory().NewestSerial();
        EditHistory().Record(name_.ToStdWstring(), before_.ChangedParts(), merge_key_);
        if (EditHistory().NewestSerial() != newest && !(CurrentLibrary() == library_before_))
            g_library_steps[EditHistory().NewestSerial()] = {library_before_, CurrentLibrary()};
        if (g_mark_saved_after_step)
            EditHistory().MarkSaved();
        g_mark_saved_after_step = false;
        ShowEditMenu();
    }
}

void ForgetEdits()
{
    EditHistory().Clear();
    g_library_steps.clear();
    ShowEditMenu();
}

void MarkLibrarySaved()
{
    if (g_step_depth > 0)
        g_mark_saved_after_step = true;
    else
        EditHistory().MarkSaved();
}

void UndoEdit()
{
    const UndoHistory::Step *step = EditHistory().Undo();
    if (step && g_library_steps.count(step->serial))
        UseLibrary(g_library_steps[step->serial].first);
    ShowStep(step);
}

void RedoEdit()
{
    const UndoHistory::Step *step = EditHistory().Redo();
    if (step && g_library_steps.count(step->serial))
        UseLibrary(g_library_steps[step->serial].second);
    ShowStep(step);
}
