// The main window: menus, toolbar with the group selector, the file commands
// on the library file, the legacy import, the text export and the SysEx
// files, the import of MIDI name documents into the user's presets, About,
// Help and the control and group clipboard.
#ifndef CVQ9_MAINFRAME_H
#define CVQ9_MAINFRAME_H

#include <cstdint>
#include <string>
#include <vector>

#include <wx/arrstr.h>
#include <wx/combobox.h>
#include <wx/event.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/string.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include "config_tables.h"
#include "shell_rules.h"

class UserCurvesedition;
class wxFileDialog;

// The path chosen in a file dialog that ended with OK, as a full path; empty
// when there is none. GTK's chooser reports no path when it was answered
// before being realised: the dialog's folder and file name stand in then.
wxString ChosenPath(const wxFileDialog &dialog);

// Command identifiers shared by menu items, tools and the view's right-click menu.
enum : int {
    ID_CVQ9_QUIT = 100,
    ID_CVQ9_ABOUT = 101,
    ID_CVQ9_TOOLBAR = 102,
    ID_CVQ9_IMPORT = 103,
    ID_CVQ9_LOAD_DEFAULT = 104,
    ID_CVQ9_GROUP_COMBO = 106,
    ID_CVQ9_EXPORT_TEXT = 107,
    ID_CVQ9_EXPORT_SYSEX = 108,
    ID_CVQ9_IMPORT_SYSEX = 109,
    ID_CVQ9_IMPORT_MIDNAM = 110,
    ID_CVQ9_COPY = 1000,
    ID_CVQ9_PASTE = 1001,
    ID_CVQ9_CLEAR = 1002,
    ID_CVQ9_COPY_GROUP = 1003,
    ID_CVQ9_PASTE_GROUP = 1004,
    ID_CVQ9_CLEAR_GROUP = 1005,
    ID_CVQ9_OPEN = 5000,    // wxID_OPEN
    ID_CVQ9_NEW = 5002,     // wxID_NEW
    ID_CVQ9_SAVE = 5003,    // wxID_SAVE
    ID_CVQ9_SAVEAS = 5004,  // wxID_SAVEAS
    ID_CVQ9_UNDO = 5007,    // wxID_UNDO
    ID_CVQ9_REDO = 5008,    // wxID_REDO
    ID_CVQ9_HELP = 5009,    // wxID_HELP
    ID_CVQ9_UPLOAD_CURRENT = 10044,
    ID_CVQ9_UPLOAD_ALL = 10045,
    ID_CVQ9_DOWNLOAD_CURRENT = 10046,
    ID_CVQ9_DOWNLOAD_ALL = 10047,
    ID_CVQ9_LOAD_ALL_FROM_LIB = 10049,
    ID_CVQ9_SAVE_ALL_TO_LIB = 10051,
    ID_CVQ9_CHECK_CURRENT = 10052,
    ID_CVQ9_CHECK_ALL = 10053,
    ID_CVQ9_MIDI_MONITOR = 10100,
    ID_CVQ9_FIND_CONTROLLER = 10101,
    ID_CVQ9_COMPARE = 10102,
    ID_CVQ9_FIND_CONTROLS = 10103,
    ID_CVQ9_COMPARE_LIBRARY = 10104,
};

// Texts of the main window.
extern const char CVQ9_MAIN_TITLE[];    // "Halvorn CVQ9 Configuration software"
extern const char CVQ9_VERSION_TEXT[];  // "1.4a -  Jan 2006"
extern const char CVQ9_HELP_BOOK[];     // "cvq9_cfg_soft_hlp_v14.htb"

class CVQ9MainFrame : public wxFrame
{
public:
    CVQ9MainFrame(wxFrame *frame, const wxString &title, int x, int y, int w, int h, long style);
    ~CVQ9MainFrame() override;

    // File commands.
    void OnNew(wxCommandEvent &event);
    void OnOpen(wxCommandEvent &event);
    void OnSave(wxCommandEvent &event);
    void OnSaveAs(wxCommandEvent &event);
    void OnLoadDefault(wxCommandEvent &event);
    void OnImport(wxCommandEvent &event);
    void OnExportToTextFile(wxCommandEvent &event);
    // The messages of a whole download as a SysEx file, and the writes of
    // any SysEx file applied to the tables (one step of the history).
    void OnExportSysexFile(wxCommandEvent &event);
    void OnImportSysexFile(wxCommandEvent &event);
    // The devices of a MIDI name document into the user's own preset
    // library; the configuration is not touched.
    void OnImportMidnam(wxCommandEvent &event);
    void OnQuit(wxCommandEvent &event);
    // The title-bar close box and Exit end the same way: the unsaved library
    // is offered for saving first.
    // While a device operation runs, a close stops it and follows it.
    void OnCloseWindow(wxCloseEvent &event);
    // Called by a device operation as it ends: runs the close asked for
    // while it ran, if any.
    void CloseIfRequested();
    void About(wxCommandEvent &event);
    void OnHelp(wxCommandEvent &event);

    // Control and group clipboard.
    void OnButtonCopy(wxCommandEvent &event);
    void OnButtonPaste(wxCommandEvent &event);
    void OnButtonClear(wxCommandEvent &event);
    void OnButtonCopyGroup(wxCommandEvent &event);
    void OnButtonPasteGroup(wxCommandEvent &event);
    void OnButtonClearGroup(wxCommandEvent &event);

    // The library file. Both report their failures to the user; the result
    // says whether the file was really written or read, so that the callers
    // change the library state only after a success.
    bool SaveAllToLibraryFile(wxString path);
    bool LoadAllFromLibraryFile(wxString path);
    // Imports a Corvana Pro library: 0 on success, the refusing check's code,
    // or 22 when the file cannot be opened.
    uint8_t ImportCvProLibrary(wxString path);

    // Opens a chosen library file: what Open does once its dialog is answered.
    void OpenLibrary(const wxString &path);
    // The program's command line: a library file given alone (a desktop's
    // "Open with") is opened as Open does, unsaved-changes question first;
    // anything else is reported and ignored.
    void OpenFromCommandLine(const wxArrayString &arguments);

    // Before a command that replaces or drops the configuration: while edits
    // are unsaved, asks whether to save them (Save, Don't save, Cancel). True
    // when the command may go on: the save succeeded, or the user chose to
    // drop the edits.
    bool AskToSaveChanges();

    // Edit menu.
    void OnUndo(wxCommandEvent &event);
    void OnRedo(wxCommandEvent &event);

    // Tools menu.
    void OnMidiMonitor(wxCommandEvent &event);
    void OnFindControls(wxCommandEvent &event);
    void OnCompareLibrary(wxCommandEvent &event);
    void OnFindController(wxCommandEvent &event);
    void OnUpdateFindController(wxUpdateUIEvent &event);
    void OnCompare(wxCommandEvent &event);
    void OnUpdateCompare(wxUpdateUIEvent &event);

    // The recovery library: written while edits are unsaved (the timer's
    // work, at most once a second and never while a device operation runs),
    // offered back at start-up.
    void KeepRecoveryFile();
    void StartRecovery();
    wxTimer &RecoveryTimer() { return recovery_timer_; }
    void OfferRecovery();

    // Save as, with its dialog: true when a file was chosen and written.
    bool SaveAsWithDialog();
    // Save: to FilePath without a dialog, or Save as when there is none.
    bool SaveLibrary();

    // The group last copied with the group Copy command.
    int mygroupCopy;

private:
    // Shows the library file name on the editor panel's label.
    void ShowLibraryLabel();
    // Refreshes the panel's assignment and global tabs.
    void RefreshParamWindows();
    // Ends the program: the unsaved-library question, the preset buffer, then
    // the frame goes. False when the user kept the program open.
    bool ShutdownFrame(bool may_ask = true);
    // The library state after a command; a saved or opened library is the
    // history's saved state and needs no recovery file.
    void SetLibraryState(const LibraryState &state);
    void OnRecoveryTimer(wxTimerEvent &event);
    // Paste in the view's right-click menu follows the control Copy.
    void EnableRightClickPaste();

    bool closing_ = false;
    wxTimer recovery_timer_;
    std::string recovery_path_;
    std::vector<uint8_t> recovery_written_;
    bool close_requested_ = false;
    bool close_forced_ = false;

    wxDECLARE_EVENT_TABLE();
};

// Handles set at start-up.
extern CVQ9MainFrame *m_pCVQ9MainFrame;
extern wxMenu *pFileMenu;
extern wxMenu *pParamMenu;
extern wxMenu *pGroupMenu;
extern wxMenuBar *m_pMenu;
extern wxToolBar *toolBar;
extern wxComboBox *m_pGroupCombo;
extern UserCurvesedition *pcurveDialog;

// The configuration in memory came from a recovery library.
extern bool library_recovered;

// The control clipboard.
extern All_Params mycontrolCopy;
extern Q9Text mylcdstringCopy;

#endif
