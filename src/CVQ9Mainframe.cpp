#include "CVQ9Mainframe.h"
#include "device_text.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/strconv.h>
#include <wx/utils.h>

#include "CVQ9Test.h"
#include "CVQ9View.h"
#include "cvq9_config_ui.h"
#include "legacy_import.h"
#include "libconv.h"
#include "library_file.h"
#include "record_access.h"
#include "shell_rules.h"
#include "text_summary.h"
#include "usercurvesedition.h"

const char CVQ9_MAIN_TITLE[] = "Halvorn CVQ9 Configuration software";
const char CVQ9_VERSION_TEXT[] = "1.4a -  Jan 2006";
const char CVQ9_HELP_BOOK[] = "cvq9_cfg_soft_hlp_v14.htb";

CVQ9MainFrame *m_pCVQ9MainFrame = nullptr;
wxMenu *pFileMenu = nullptr;
wxMenu *pParamMenu = nullptr;
wxMenu *pGroupMenu = nullptr;
wxMenuBar *m_pMenu = nullptr;
wxToolBar *toolBar = nullptr;
wxComboBox *m_pGroupCombo = nullptr;
UserCurvesedition *pcurveDialog = nullptr;

namespace {

const char kLibraryWildcard[] = "CVQ files (*.cvq)|*.cvq";
const char kLegacyWildcard[] = "CVL files (*.cvl)|*.cvl";
const char kTextWildcard[] = "TXT files (*.txt)|*.txt";
const char kDialogDirectory[] = "/lib/";

// Runs a modal file dialog; on OK gives the chosen path as a full path.
bool ChooseFile(wxWindow *parent, const char *title, const char *wildcard, long style, wxString &path)
{
    wxFileDialog dialog(parent, wxString::FromAscii(title), wxString::FromAscii(kDialogDirectory), wxEmptyString,
                        wxString::FromAscii(wildcard), style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    wxString chosen = dialog.GetPath();
    // GTK's chooser reports no path when it was answered before being
    // realised; the dialog's own folder and file name stand in then.
    if (chosen.empty() && !dialog.GetFilename().empty())
        chosen = wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath();
    if (chosen.empty())
        return false;
    path = wxFileName(chosen).GetFullPath();
    return true;
}

// A path as the file-format units take it: the file system's bytes.
std::string FileSystemPath(const wxString &path)
{
    const wxCharBuffer bytes = path.fn_str();
    return bytes.data() ? std::string(bytes.data()) : std::string();
}

// A message holding a path in the file system's bytes.
wxString MessageFromFileSystem(const std::string &text)
{
    wxString message(text.c_str(), *wxConvFileName);
    if (message.empty() && !text.empty())
        message = DeviceText(text);
    return message;
}

void ShowFileError(const std::string &text)
{
    wxMessageBox(MessageFromFileSystem(text), wxString::FromAscii(LIBRARY_FILE_ERROR_TITLE),
                 wxOK | wxICON_WARNING | wxCENTRE, nullptr);
}

}  // namespace

wxBEGIN_EVENT_TABLE(CVQ9MainFrame, wxFrame)
    EVT_MENU(ID_CVQ9_QUIT, CVQ9MainFrame::OnQuit)
    EVT_MENU(ID_CVQ9_ABOUT, CVQ9MainFrame::About)
    EVT_MENU(ID_CVQ9_IMPORT, CVQ9MainFrame::OnImport)
    EVT_MENU(ID_CVQ9_LOAD_DEFAULT, CVQ9MainFrame::OnLoadDefault)
    EVT_MENU(ID_CVQ9_EXPORT_TEXT, CVQ9MainFrame::OnExportToTextFile)
    EVT_MENU(ID_CVQ9_COPY, CVQ9MainFrame::OnButtonCopy)
    EVT_MENU(ID_CVQ9_PASTE, CVQ9MainFrame::OnButtonPaste)
    EVT_MENU(ID_CVQ9_CLEAR, CVQ9MainFrame::OnButtonClear)
    EVT_MENU(ID_CVQ9_COPY_GROUP, CVQ9MainFrame::OnButtonCopyGroup)
    EVT_MENU(ID_CVQ9_PASTE_GROUP, CVQ9MainFrame::OnButtonPasteGroup)
    EVT_MENU(ID_CVQ9_CLEAR_GROUP, CVQ9MainFrame::OnButtonClearGroup)
    EVT_MENU(ID_CVQ9_OPEN, CVQ9MainFrame::OnOpen)
    EVT_MENU(ID_CVQ9_NEW, CVQ9MainFrame::OnNew)
    EVT_MENU(ID_CVQ9_SAVE, CVQ9MainFrame::OnSave)
    EVT_MENU(ID_CVQ9_SAVEAS, CVQ9MainFrame::OnSaveAs)
    EVT_MENU(ID_CVQ9_HELP, CVQ9MainFrame::OnHelp)
    EVT_CLOSE(CVQ9MainFrame::OnCloseWindow)
wxEND_EVENT_TABLE()

CVQ9MainFrame::CVQ9MainFrame(wxFrame *frame, const wxString &title, int x, int y, int w, int h, long style)
    : wxFrame(frame, wxID_ANY, title, wxPoint(x, y), wxSize(w, h), style), mygroupCopy(0)
{
}

CVQ9MainFrame::~CVQ9MainFrame()
{
    if (m_pCVQ9MainFrame == this)
        m_pCVQ9MainFrame = nullptr;
}

void CVQ9MainFrame::ShowLibraryLabel()
{
    if (pui && pui->wxStaticTextLibraryFile)
        pui->wxStaticTextLibraryFile->SetLabel(wxString(FilePath));
}

void CVQ9MainFrame::RefreshParamWindows()
{
    if (pui) {
        pui->UpdateWholeParamWindows();
        pui->UpdateWholeGlobalParamsWindows();
    }
}

void CVQ9MainFrame::OnNew(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "New CVQ9 library File", kLibraryWildcard, wxFD_OPEN, path))
        return;
    // Nothing is written: the file is created by the next save.
    ApplyLibraryState(AfterNew(CurrentLibraryState(), path.ToStdWstring()));
    ShowLibraryLabel();
    if (pui)
        pui->EnableLibraryButtons();
    ResetConfiguration(0);
    RefreshParamWindows();
}

void CVQ9MainFrame::OnOpen(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "Open CVQ9 library File", kLibraryWildcard, wxFD_OPEN | wxFD_FILE_MUST_EXIST, path))
        return;
    const bool loaded = LoadAllFromLibraryFile(path);
    ApplyLibraryState(AfterOpen(CurrentLibraryState(), path.ToStdWstring(), loaded));
    if (!loaded)
        return;
    ShowLibraryLabel();
    if (pui)
        pui->EnableLibraryButtons();
    RefreshParamWindows();
}

bool CVQ9MainFrame::SaveAsWithDialog()
{
    wxString path;
    if (!ChooseFile(this, "Save CVQ9 library File", kLibraryWildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT, path))
        return false;
    const bool saved = SaveAllToLibraryFile(path);
    ApplyLibraryState(AfterSaveAs(CurrentLibraryState(), path.ToStdWstring(), saved));
    if (saved) {
        ShowLibraryLabel();
        if (pui)
            pui->EnableLibraryButtons();
    }
    return saved;
}

bool CVQ9MainFrame::SaveLibrary()
{
    if (FilePath.empty())
        return SaveAsWithDialog();
    const bool saved = SaveAllToLibraryFile(wxString(FilePath));
    ApplyLibraryState(AfterSaveToCurrentFile(CurrentLibraryState(), saved));
    if (pui)
        pui->EnableLibraryButtons();
    return saved;
}

void CVQ9MainFrame::OnSaveAs(wxCommandEvent &)
{
    SaveAsWithDialog();
}

void CVQ9MainFrame::OnSave(wxCommandEvent &)
{
    SaveLibrary();
}

void CVQ9MainFrame::OnLoadDefault(wxCommandEvent &)
{
    ResetConfiguration(1);
    ApplyLibraryState(AfterLoadDefault(CurrentLibraryState()));
    RefreshParamWindows();
    // The Save button of the panel follows default_lib_loaded.
    if (pui)
        pui->EnableLibraryButtons();
}

void CVQ9MainFrame::OnImport(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "Import Corvana Pro library File", kLegacyWildcard, wxFD_OPEN, path))
        return;
    if (ImportCvProLibrary(path) != 0)
        return;
    const LibraryState before = CurrentLibraryState();
    const bool saved = SaveAsWithDialog();
    ApplyLibraryState(AfterImport(before, FilePath, saved));
    RefreshParamWindows();
}

void CVQ9MainFrame::OnExportToTextFile(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "Export all assignments to text file", kTextWildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                    path))
        return;
    const SummaryExportResult result =
        ExportTextSummaryFile(FileSystemPath(path), FileSystemPath(wxString(FilePath)), CurrentIsoDate(),
                              [] { return pui ? pui->CheckAllParam() : static_cast<uint8_t>(0); });
    if (!result.ok)
        ShowFileError(result.message);
}

void CVQ9MainFrame::OnQuit(wxCommandEvent &)
{
    ShutdownFrame();
}

void CVQ9MainFrame::OnCloseWindow(wxCloseEvent &event)
{
    if (programming) {
        // The operation waits on the controller inside this very event loop:
        // the windows it uses must outlive it. It stops at its next step and
        // the close runs right after it.
        must_finish_midi = true;
        close_requested_ = true;
        close_forced_ = close_forced_ || !event.CanVeto();
        if (event.CanVeto())
            event.Veto();
        return;
    }
    ShutdownFrame();
}

void CVQ9MainFrame::CloseIfRequested()
{
    if (!close_requested_)
        return;
    close_requested_ = false;
    const bool force = close_forced_;
    CallAfter([this, force] { Close(force); });
}

void CVQ9MainFrame::ShutdownFrame()
{
    if (closing_)
        return;
    closing_ = true;
    // Cancelling the Save as does not stop the exit.
    if (need_to_save_lib)
        SaveAsWithDialog();
    ReleasePresetLibrary();
    // Windows of their own would keep the program running after the frame.
    if (pCVQ9App && pCVQ9App->help)
        pCVQ9App->help->Quit();
    if (pcurveDialog) {
        pcurveDialog->Destroy();
        pcurveDialog = nullptr;
    }
    Destroy();
}

void CVQ9MainFrame::About(wxCommandEvent &)
{
    wxMessageBox(wxString::Format("Corvana Q9 Configuration Software\nVersion %s", CVQ9_VERSION_TEXT),
                 wxString::FromAscii(CVQ9_MAIN_TITLE), wxOK | wxCENTRE, nullptr);
}

void CVQ9MainFrame::OnHelp(wxCommandEvent &)
{
    if (pCVQ9App && pCVQ9App->help) {
        pCVQ9App->AddHelpBook();
        pCVQ9App->help->DisplayContents();
    }
}

bool CVQ9MainFrame::SaveAllToLibraryFile(wxString path)
{
    wxBusyCursor busy;
    // An invalid configuration is not written; the check has shown why.
    if (pui && !Check_Code_Passes(pui->CheckAllParam()))
        return false;
    const LibrarySaveResult result = SaveLibraryFile(FileSystemPath(path));
    if (result.status != LibraryFileStatus::Ok) {
        ShowFileError(result.message);
        return false;
    }
    return true;
}

bool CVQ9MainFrame::LoadAllFromLibraryFile(wxString path)
{
    wxBusyCursor busy;
    const LibraryLoadResult result = LoadLibraryFile(FileSystemPath(path));
    if (result.status != LibraryFileStatus::Ok) {
        ShowFileError(result.message);
        return false;
    }
    if (result.layout == LibraryLayout::Pre14)
        wxMessageBox(wxString::FromAscii(LIBRARY_CONVERSION_NOTICE), wxString::FromAscii(LIBRARY_CONVERSION_TITLE),
                     wxOK | wxICON_WARNING | wxCENTRE, nullptr);
    if (pui) {
        pui->CheckAllParam();
        pui->UpdateWholeParamWindows();
    }
    return true;
}

uint8_t CVQ9MainFrame::ImportCvProLibrary(wxString path)
{
    wxBusyCursor busy;
    const LegacyImportResult result = ImportCvProLibraryFile(FileSystemPath(path), [](uint8_t group, uint8_t control) {
        return pui ? pui->CheckCurrentParam(group, control) : static_cast<uint8_t>(0);
    });
    if (result.status == LEGACY_IMPORT_CANNOT_OPEN) {
        ShowFileError(result.message);
        return result.status;
    }
    // Even an import stopped by a check has changed the tables (and the group
    // names, parameters and curves always): unsaved until a Save as succeeds.
    need_to_save_lib = true;
    if (pui) {
        // The import leaves the last entry it read addressed: show that one.
        std::vector<unsigned> drawn;
        if (result.entries_imported > 0) {
            all_selected_ctrl.assign(1, static_cast<int>(ControlIndex));
            drawn.push_back(ControlIndex);
        } else if (pCVQ9View) {
            drawn = pCVQ9View->DrawnIndices();
        }
        pui->ShowAddressedSelection(drawn, true);
    }
    return result.status;
}
