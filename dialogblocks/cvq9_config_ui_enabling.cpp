// Editor panel: which action buttons, menu items, menus and toolbar are usable.
// The rules themselves are in enabling_rules; this file applies them to the widgets.
#include "cvq9_config_ui.h"

#include <wx/menu.h>
#include <wx/toolbar.h>

#include "CVQ9Mainframe.h"
#include "config_tables.h"
#include "panel_selection.h"

namespace {

void ApplyTo(wxWindow *window, Switch change)
{
    if (window && change != Switch::Keep)
        window->Enable(change == Switch::On);
}

void ApplyTo(wxMenu *menu, int id, Switch change)
{
    if (menu && change != Switch::Keep && menu->FindItem(id))
        menu->Enable(id, change == Switch::On);
}

void ApplyLibrary(const cvq9_config_ui &panel, const LibraryButtons &rule)
{
    ApplyTo(panel.wxButtonLoadAllFromLib, rule.load_button);
    ApplyTo(panel.wxButtonSaveAllToLibraryFile, rule.save_button);
    ApplyTo(pParamMenu, ID_CVQ9_LOAD_ALL_FROM_LIB, rule.load_menu);
    ApplyTo(pParamMenu, ID_CVQ9_SAVE_ALL_TO_LIB, rule.save_menu);
}

void ApplyMidi(const cvq9_config_ui &panel, const MidiButtons &rule)
{
    ApplyTo(panel.wxButtonUploadCurrentFromQ9, rule.selected);
    ApplyTo(panel.wxButtonDownloadCurrentToQ9, rule.selected);
    ApplyTo(pParamMenu, ID_CVQ9_UPLOAD_CURRENT, rule.selected);
    ApplyTo(pParamMenu, ID_CVQ9_DOWNLOAD_CURRENT, rule.selected);
    ApplyTo(panel.wxButtonUploadAllFromQ9, rule.all);
    ApplyTo(panel.wxButtonDownloadAllToQ9, rule.all);
    ApplyTo(pParamMenu, ID_CVQ9_UPLOAD_ALL, rule.all);
    ApplyTo(pParamMenu, ID_CVQ9_DOWNLOAD_ALL, rule.all);
}

int SelectedPage(const cvq9_config_ui &panel)
{
    return panel.wxNotebookPages ? panel.wxNotebookPages->GetSelection() : PAGE_PREFERENCES;
}

}  // namespace

void cvq9_config_ui::ManageButtons()
{
    ButtonState state;
    state.programming = programming;
    state.connected = cvq9_connected;
    state.file_path_set = !FilePath.empty();
    state.default_lib_loaded = default_lib_loaded;
    state.page = SelectedPage(*this);
    state.transport_shown = IsTransportIndex(ControlIndex);
    const ManagedButtons result = ManageButtonsRule(state);

    if (wxNotebookPages)
        wxNotebookPages->Enable(result.notebook);
    if (m_pGroupCombo)
        m_pGroupCombo->Enable(result.group_selector);
    ApplyLibrary(*this, result.library);
    ApplyMidi(*this, result.midi);
    if (wxButtonCancel)
        wxButtonCancel->Enable(result.cancel);
    if (m_pMenu) {
        for (size_t i = 0; i < m_pMenu->GetMenuCount(); ++i)
            m_pMenu->EnableTop(i, result.menu_bar);
    }
    if (toolBar)
        toolBar->Enable(result.toolbar);
    if (wxButtonCheckAll)
        wxButtonCheckAll->Enable(result.check_all);
}

void cvq9_config_ui::EnableLibraryButtons()
{
    ApplyLibrary(*this, EnableLibraryButtonsRule(!FilePath.empty(), default_lib_loaded));
}

void cvq9_config_ui::DisableLibraryButtons()
{
    ApplyLibrary(*this, DisableLibraryButtonsRule());
}

void cvq9_config_ui::EnableMidiButtons()
{
    ApplyMidi(*this, EnableMidiButtonsRule(cvq9_connected, SelectedPage(*this)));
}

void cvq9_config_ui::DisableMidiButtons()
{
    ApplyMidi(*this, DisableMidiButtonsRule());
}

void cvq9_config_ui::OnNotebookPageChanged(wxNotebookEvent &event)
{
    if (SelectedPage(*this) == PAGE_ASSIGN_USER)
        FillStdTemplateList();
    ManageButtons();
    event.Skip();
}
