// Driving the editor panel's widgets the way the user's actions reach its
// handlers: the widget's value changes, then its event is processed.
#ifndef CVQ9_PANEL_TEST_SUPPORT_H
#define CVQ9_PANEL_TEST_SUPPORT_H

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>

#include "cvq9_config_ui.h"

inline void Deliver(wxWindow *window, wxEvent &event)
{
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

inline void ClickCheck(wxCheckBox *box, bool on)
{
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetInt(on ? 1 : 0);
    Deliver(box, event);
}

inline void ClickButton(wxButton *button)
{
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    Deliver(button, event);
}

// Selects the entry with exactly this text; fails the test if there is none.
inline void SelectChoice(wxChoice *choice, const wxString &text)
{
    const int index = choice->FindString(text, true);
    ASSERT_NE(index, wxNOT_FOUND) << text;
    choice->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetInt(index);
    event.SetString(text);
    Deliver(choice, event);
}

inline void SelectCombo(wxComboBox *combo, int index)
{
    combo->SetSelection(index);
    wxCommandEvent event(wxEVT_COMBOBOX, combo->GetId());
    event.SetInt(index);
    event.SetString(combo->GetString(static_cast<unsigned>(index)));
    Deliver(combo, event);
}

inline void SpinTo(wxSpinCtrl *spin, int value)
{
    spin->SetValue(value);
    wxSpinEvent event(wxEVT_SPINCTRL, spin->GetId());
    event.SetPosition(value);
    Deliver(spin, event);
}

// Shows a notebook page and runs the page-change handler as a click on the tab does.
inline void SelectPage(int page)
{
    wxNotebook *book = pui->wxNotebookPages;
    book->ChangeSelection(static_cast<size_t>(page));
    wxBookCtrlEvent event(wxEVT_NOTEBOOK_PAGE_CHANGED, book->GetId(), page, wxNOT_FOUND);
    Deliver(book, event);
}

inline std::vector<std::string> ChoiceItems(const wxChoice *choice)
{
    std::vector<std::string> items;
    for (unsigned i = 0; i < choice->GetCount(); ++i)
        items.push_back(choice->GetString(i).ToStdString());
    return items;
}

#endif
