#include "CVQ9Mainframe.h"
#include "device_text.h"

#include <wx/accel.h>
#include <wx/datetime.h>
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
#include "edit_history.h"
#include "exchange.h"
#include "find_controls.h"
#include "legacy_import.h"
#include "libconv.h"
#include "library_file.h"
#include "midi_monitor.h"
#include "record_access.h"
#include "recovery_file.h"
#include "shell_rules.h"
#include "sysex_file.h"
#include "text_summary.h"
#include "user_presets.h"
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
bool library_recovered = false;

wxString ChosenPath(const wxFileDialog &dialog)
{
    wxString chosen = dialog.GetPath();
    if (chosen.empty() && !dialog.GetFilename().empty())
        chosen = wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath();
    return chosen.empty() ? chosen : wxFileName(chosen).GetFullPath();
}

namespace {

const char kLibraryWildcard[] = "CVQ files (*.cvq)|*.cvq";
const char kLegacyWildcard[] = "CVL files (*.cvl)|*.cvl";
const char kTextWildcard[] = "TXT files (*.txt)|*.txt";
const char kSysexWildcard[] = "SysEx files (*.syx)|*.syx";
const char kMidnamWildcard[] = "MIDI name documents (*.midnam)|*.midnam";
const char kDialogDirectory[] = "/lib/";

// Runs a modal file dialog; on OK gives the chosen path as a full path.
bool ChooseFile(wxWindow *parent, const char *title, const char *wildcard, long style, wxString &path)
{
    wxFileDialog dialog(parent, wxString::FromAscii(title), wxString::FromAscii(kDialogDirectory), wxEmptyString,
                        wxString::FromAscii(wildcard), style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = ChosenPath(dialog);
    return !path.empty();
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
    EVT_MENU(ID_CVQ9_EXPORT_SYSEX, CVQ9MainFrame::OnExportSysexFile)
    EVT_MENU(ID_CVQ9_IMPORT_SYSEX, CVQ9MainFrame::OnImportSysexFile)
    EVT_MENU(ID_CVQ9_IMPORT_MIDNAM, CVQ9MainFrame::OnImportMidnam)
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
    EVT_MENU(ID_CVQ9_UNDO, CVQ9MainFrame::OnUndo)
    EVT_MENU(ID_CVQ9_REDO, CVQ9MainFrame::OnRedo)
    EVT_MENU(ID_CVQ9_MIDI_MONITOR, CVQ9MainFrame::OnMidiMonitor)
    EVT_MENU(ID_CVQ9_FIND_CONTROLS, CVQ9MainFrame::OnFindControls)
    EVT_MENU(ID_CVQ9_COMPARE_LIBRARY, CVQ9MainFrame::OnCompareLibrary)
    EVT_MENU(ID_CVQ9_FIND_CONTROLLER, CVQ9MainFrame::OnFindController)
    EVT_UPDATE_UI(ID_CVQ9_FIND_CONTROLLER, CVQ9MainFrame::OnUpdateFindController)
    EVT_MENU(ID_CVQ9_COMPARE, CVQ9MainFrame::OnCompare)
    EVT_UPDATE_UI(ID_CVQ9_COMPARE, CVQ9MainFrame::OnUpdateCompare)
    EVT_CLOSE(CVQ9MainFrame::OnCloseWindow)
wxEND_EVENT_TABLE()

CVQ9MainFrame::CVQ9MainFrame(wxFrame *frame, const wxString &title, int x, int y, int w, int h, long style)
    : wxFrame(frame, wxID_ANY, title, wxPoint(x, y), wxSize(w, h), style), mygroupCopy(0), recovery_timer_(this)
{
    // The timer tells its owner, this frame.
    Bind(wxEVT_TIMER, &CVQ9MainFrame::OnRecoveryTimer, this, recovery_timer_.GetId());
    // Ctrl+Shift+Z redoes too, beside the menu's Ctrl+Y.
    wxAcceleratorEntry redo(wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', ID_CVQ9_REDO);
    SetAcceleratorTable(wxAcceleratorTable(1, &redo));
}

CVQ9MainFrame::~CVQ9MainFrame()
{
    if (m_pCVQ9MainFrame == this)
        m_pCVQ9MainFrame = nullptr;
}

void CVQ9MainFrame::ShowLibraryLabel()
{
    if (!pui || !pui->wxStaticTextLibraryFile)
        return;
    const wxString text(LibraryLabelText(FilePath, need_to_save_lib, library_recovered));
    if (pui->wxStaticTextLibraryFile->GetLabel() != text)
        pui->wxStaticTextLibraryFile->SetLabel(text);
}

void CVQ9MainFrame::SetLibraryState(const LibraryState &state)
{
    ApplyLibraryState(state);
    if (!need_to_save_lib) {
        MarkLibrarySaved();
        library_recovered = false;
        KeepRecoveryFile();
    }
    ShowLibraryLabel();
}

bool CVQ9MainFrame::AskToSaveChanges()
{
    if (!need_to_save_lib)
        return true;
    const wxString text = FilePath.empty() ? wxString(wxT("Save the changes to the current library?"))
                                           : wxString::Format(wxT("Save the changes to %s?"),
                                                              wxFileName(wxString(FilePath)).GetFullName());
    wxMessageDialog question(this, text, wxString::FromAscii(CVQ9_MAIN_TITLE),
                             wxYES_NO | wxCANCEL | wxICON_QUESTION | wxCENTRE);
    question.SetYesNoCancelLabels(wxT("Save"), wxT("Don't save"), wxT("Cancel"));
    switch (question.ShowModal()) {
    case wxID_YES:
        return SaveLibrary() && !need_to_save_lib;
    case wxID_NO:
        // The edits are dropped: nothing is to be recovered of them.
        RemoveRecoveryFile(recovery_path_);
        recovery_written_.clear();
        return true;
    default:
        return false;
    }
}

void CVQ9MainFrame::OnUndo(wxCommandEvent &)
{
    UndoEdit();
    ShowLibraryLabel();
}

void CVQ9MainFrame::OnRedo(wxCommandEvent &)
{
    RedoEdit();
    ShowLibraryLabel();
}

void CVQ9MainFrame::OnMidiMonitor(wxCommandEvent &)
{
    MidiMonitor::Open(this);
}

void CVQ9MainFrame::OnFindControls(wxCommandEvent &)
{
    FindControls::Open(this);
}

void CVQ9MainFrame::OnCompareLibrary(wxCommandEvent &)
{
    wxString path;
    if (!pui ||
        !ChooseFile(this, "Compare with library file", kLibraryWildcard, wxFD_OPEN | wxFD_FILE_MUST_EXIST, path))
        return;
    ConfigImage file;
    const LibraryLoadResult result = ReadLibraryImage(FileSystemPath(path), file);
    if (result.status != LibraryFileStatus::Ok) {
        ShowFileError(result.message);
        return;
    }
    pui->ShowDifferences(file, LibraryParts(), wxT("Compare with library file"),
                         wxT("The file holds what the editor shows."), true);
}

void CVQ9MainFrame::OnFindController(wxCommandEvent &event)
{
    if (pui && pui->wxButtonFindController->IsEnabled())
        pui->OnButtonFindControllerClick(event);
}

void CVQ9MainFrame::OnUpdateFindController(wxUpdateUIEvent &event)
{
    // Usable when its button on the Preferences tab is.
    event.Enable(pui && pui->wxButtonFindController->IsEnabled());
}

void CVQ9MainFrame::OnCompare(wxCommandEvent &)
{
    if (pui)
        pui->CompareWithController();
}

void CVQ9MainFrame::OnUpdateCompare(wxUpdateUIEvent &event)
{
    event.Enable(pui && pui->DeviceOperationsUsable());
}

void CVQ9MainFrame::StartRecovery()
{
    recovery_path_ = RecoveryFilePath();
    recovery_timer_.Start(1000);
    // The label follows the library state whatever changes it.
    if (pui)
        pui->wxStaticTextLibraryFile->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent &) { ShowLibraryLabel(); });
}

void CVQ9MainFrame::OnRecoveryTimer(wxTimerEvent &)
{
    // Never in the middle of a device operation: its waits yield to this loop.
    if (!programming)
        KeepRecoveryFile();
}

void CVQ9MainFrame::KeepRecoveryFile()
{
    if (recovery_path_.empty())
        return;
    if (!need_to_save_lib) {
        if (!recovery_written_.empty()) {
            RemoveRecoveryFile(recovery_path_);
            recovery_written_.clear();
        }
        return;
    }
    std::vector<uint8_t> image = BuildLibraryImage();
    if (image != recovery_written_ && WriteRecoveryFile(recovery_path_, image))
        recovery_written_.swap(image);
}

void CVQ9MainFrame::OfferRecovery()
{
    const std::string path = RecoveryFilePath();
    const RecoveryFound found = FindRecoveryFile(path);
    if (found.state == RecoveryFound::Damaged) {
        ShowFileError("The recovery file was damaged and was set aside as " + found.set_aside_path);
        return;
    }
    if (found.state != RecoveryFound::Found)
        return;
    const wxString when = wxDateTime(static_cast<time_t>(found.written)).Format(wxT("%Y-%m-%d %H:%M"));
    wxMessageDialog question(
        this, wxString::Format(wxT("The editor was not closed normally. Restore the unsaved work from %s?"), when),
        wxString::FromAscii(CVQ9_MAIN_TITLE), wxYES_NO | wxICON_QUESTION | wxCENTRE);
    question.SetYesNoLabels(wxT("Restore"), wxT("Discard"));
    if (question.ShowModal() != wxID_YES || !LoadRecoveryFile(path)) {
        RemoveRecoveryFile(path);
        return;
    }
    // An unsaved library with no file of its own yet.
    FilePath.clear();
    default_lib_loaded = false;
    need_to_save_lib = true;
    library_recovered = true;
    ForgetEdits();
    recovery_written_ = BuildLibraryImage();
    ShowLibraryLabel();
    RefreshParamWindows();
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
    if (!AskToSaveChanges() || !ChooseFile(this, "New CVQ9 library File", kLibraryWildcard, wxFD_OPEN, path))
        return;
    {
        // The step takes the library with the tables: undo goes back to the previous file.
        const EditStep step(wxT("New"));
        ResetConfiguration(0);
        // Nothing is written: the file is created by the next save.
        library_recovered = false;
        SetLibraryState(AfterNew(CurrentLibraryState(), path.ToStdWstring()));
    }
    if (pui)
        pui->EnableLibraryButtons();
    RefreshParamWindows();
}

void CVQ9MainFrame::OnOpen(wxCommandEvent &)
{
    wxString path;
    if (!AskToSaveChanges() ||
        !ChooseFile(this, "Open CVQ9 library File", kLibraryWildcard, wxFD_OPEN | wxFD_FILE_MUST_EXIST, path))
        return;
    OpenLibrary(path);
}

void CVQ9MainFrame::OpenFromCommandLine(const wxArrayString &arguments)
{
    if (arguments.empty())
        return;
    if (arguments.size() == 1 && wxFileName(arguments[0]).GetExt().Lower() == wxT("cvq")) {
        wxFileName file(arguments[0]);
        file.MakeAbsolute();
        if (AskToSaveChanges())
            OpenLibrary(file.GetFullPath());
        return;
    }
    wxMessageBox(wxT("Only a library file (*.cvq), given alone, can be opened from the command line.\nIgnored: ") +
                     wxJoin(arguments, wxT(' '), 0),
                 wxString::FromAscii(CVQ9_MAIN_TITLE), wxOK | wxICON_WARNING | wxCENTRE, this);
}

void CVQ9MainFrame::OpenLibrary(const wxString &path)
{
    bool loaded = false;
    {
        const EditStep step(wxT("Open"));
        loaded = LoadAllFromLibraryFile(path);
        SetLibraryState(AfterOpen(CurrentLibraryState(), path.ToStdWstring(), loaded));
    }
    if (!loaded)
        return;
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
    SetLibraryState(AfterSaveAs(CurrentLibraryState(), path.ToStdWstring(), saved));
    if (saved && pui)
        pui->EnableLibraryButtons();
    return saved;
}

bool CVQ9MainFrame::SaveLibrary()
{
    if (FilePath.empty())
        return SaveAsWithDialog();
    const bool saved = SaveAllToLibraryFile(wxString(FilePath));
    SetLibraryState(AfterSaveToCurrentFile(CurrentLibraryState(), saved));
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
    if (!AskToSaveChanges())
        return;
    {
        const EditStep step(wxT("Load default"));
        ResetConfiguration(1);
        SetLibraryState(AfterLoadDefault(CurrentLibraryState()));
    }
    RefreshParamWindows();
    // The Save button of the panel follows default_lib_loaded.
    if (pui)
        pui->EnableLibraryButtons();
}

void CVQ9MainFrame::OnImport(wxCommandEvent &)
{
    wxString path;
    if (!AskToSaveChanges() || !ChooseFile(this, "Import Corvana Pro library File", kLegacyWildcard, wxFD_OPEN, path))
        return;
    {
        // The import and the save that names its file are one step.
        const EditStep step(wxT("Import"));
        if (ImportCvProLibrary(path) != 0) {
            ShowLibraryLabel();
            return;
        }
        const LibraryState before = CurrentLibraryState();
        const bool saved = SaveAsWithDialog();
        SetLibraryState(AfterImport(before, FilePath, saved));
    }
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

void CVQ9MainFrame::OnExportSysexFile(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "Export SysEx file", kSysexWildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT, path))
        return;
    SysexExport image;
    {
        wxBusyCursor busy;
        image = BuildSysexExport(fw_version_float);
    }
    switch (image.refused) {
    case SysexExport::Refused::Control:
        // A failing check shows its own message and the faulty control.
        if (pui && !Check_Code_Passes(image.code))
            pui->DisplayParamError(image.code, static_cast<uint8_t>(image.group), static_cast<uint8_t>(image.item));
        else
            ShowFileError(RefusedControlText(image.group, image.item));
        return;
    case SysexExport::Refused::Parameter:
        ShowFileError(RefusedParameterText(image.group, image.item));
        return;
    case SysexExport::Refused::Nothing:
        break;
    }
    const std::string error = SaveSysexFile(FileSystemPath(path), image.bytes);
    if (!error.empty())
        ShowFileError(error);
}

void CVQ9MainFrame::OnImportSysexFile(wxCommandEvent &)
{
    // Only what the file writes changes, and undo takes it back: no question first.
    wxString path;
    if (!ChooseFile(this, "Import SysEx file", kSysexWildcard, wxFD_OPEN | wxFD_FILE_MUST_EXIST, path))
        return;
    SysexFileImport result;
    {
        wxBusyCursor busy;
        const EditStep step(wxT("Import SysEx file"));
        result = ImportSysexFile(FileSystemPath(path));
    }
    if (!result.ok) {
        ShowFileError(result.message);
        return;
    }
    if (result.counts.applied > 0)
        need_to_save_lib = true;
    ShowLibraryLabel();
    RefreshParamWindows();
    if (pcurveDialog && pcurveDialog->IsShown())
        pcurveDialog->DisplayCurves();
    wxMessageBox(DeviceText(SysexImportReport(result.counts)), wxString::FromAscii(CVQ9_MAIN_TITLE),
                 wxOK | wxICON_INFORMATION | wxCENTRE, nullptr);
}

void CVQ9MainFrame::OnImportMidnam(wxCommandEvent &)
{
    wxString path;
    if (!ChooseFile(this, "Import MIDI name document", kMidnamWildcard, wxFD_OPEN | wxFD_FILE_MUST_EXIST, path))
        return;
    MidnamImport result;
    {
        wxBusyCursor busy;
        result = ImportMidnamDocument(FileSystemPath(path), UserPresetsPath(), ShippedPresetNames());
    }
    if (!result.ok) {
        ShowFileError(result.message);
        return;
    }
    if (pui)
        pui->RefreshPresetGearList();
    wxMessageBox(DeviceText(MidnamImportReport(result)), wxString::FromAscii(CVQ9_MAIN_TITLE),
                 wxOK | wxICON_INFORMATION | wxCENTRE, nullptr);
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
    // A close that cannot be refused (the session ends) asks nothing: the
    // recovery file keeps the unsaved work for the next start.
    if (!ShutdownFrame(event.CanVeto()))
        event.Veto();
}

void CVQ9MainFrame::CloseIfRequested()
{
    if (!close_requested_)
        return;
    close_requested_ = false;
    const bool force = close_forced_;
    CallAfter([this, force] { Close(force); });
}

bool CVQ9MainFrame::ShutdownFrame(bool may_ask)
{
    if (closing_)
        return true;
    if (may_ask && !AskToSaveChanges())
        return false;
    closing_ = true;
    recovery_timer_.Stop();
    if (need_to_save_lib && !may_ask)
        KeepRecoveryFile();
    else
        RemoveRecoveryFile(recovery_path_);
    ReleasePresetLibrary();
    // Windows of their own would keep the program running after the frame.
    if (pCVQ9App && pCVQ9App->help)
        pCVQ9App->help->Quit();
    if (pcurveDialog) {
        pcurveDialog->Destroy();
        pcurveDialog = nullptr;
    }
    Destroy();
    return true;
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
