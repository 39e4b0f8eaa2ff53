// Editor panel: the handlers of the global, realtime and assignment tabs, and
// the bottom-area buttons that lead to the library file. The identity request,
// the transfers and Cancel are in cvq9_config_ui_transfers.cpp.
#include "cvq9_config_ui.h"

#include "CVQ9Mainframe.h"
#include "config_tables.h"

// ---- Tab displays.

// ---- Bottom area.

void cvq9_config_ui::OnButtonSavealltolibraryfileClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->SaveLibrary();
    event.Skip();
}

void cvq9_config_ui::OnButtonLoadallfromlibClick(wxCommandEvent &event)
{
    if (m_pCVQ9MainFrame)
        m_pCVQ9MainFrame->LoadAllFromLibraryFile(wxString(FilePath));
    event.Skip();
}
