#include "CVQ9Test.h"
#include "device_text.h"

#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/strconv.h>

#include "CVQ9Mainframe.h"
#include "CVQ9View.h"
#include "config_tables.h"
#include "cross_functions.h"
#include "cvq9_config_ui.h"
#include "cvq9_pictures.h"
#include "cvq9_resources.h"
#include "edit_history.h"
#include "libconv.h"
#include "record_access.h"
#include "shell_rules.h"
#include "usercurvesedition.h"

CVQ9App *pCVQ9App = nullptr;
wxString MyExecPath;

namespace {

// One entry of a menu: identifier, label, help text, enabled at start-up.
struct MenuEntry {
    int id;  // 0: a separator
    const char *label;
    const char *help;
    bool enabled;
};

const MenuEntry kFileMenu[] = {
    {ID_CVQ9_NEW, "&New ...", "New ...", false},
    {ID_CVQ9_OPEN, "&Open ...", "Open ...", false},
    {ID_CVQ9_SAVE, "&Save", "Save", false},
    {ID_CVQ9_SAVEAS, "&Save as ...", "Save as ...", false},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_LOAD_DEFAULT, "&Load default", "Load default", false},
    {ID_CVQ9_IMPORT, "&Import Corvana Pro lib ...", "Import Corvana Pro lib ...", false},
    {ID_CVQ9_EXPORT_TEXT, "&Export to text file", "Export to text file", false},
    {ID_CVQ9_EXPORT_SYSEX, "Export S&ysEx file...", "Export SysEx file...", false},
    {ID_CVQ9_IMPORT_SYSEX, "I&mport SysEx file...", "Import SysEx file...", false},
    // It adds to the user's presets and leaves the configuration alone: usable at any time.
    {ID_CVQ9_IMPORT_MIDNAM, "Import MIDI &name document...", "Import MIDI name document...", true},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_QUIT, "E&xit", "Exit", true},
};

// Their texts follow the steps to undo and redo (edit_history.cpp).
const MenuEntry kEditMenu[] = {
    {ID_CVQ9_UNDO, "&Undo\tCtrl+Z", "Undo", false},
    {ID_CVQ9_REDO, "&Redo\tCtrl+Y", "Redo", false},
};

const MenuEntry kControlMenu[] = {
    {ID_CVQ9_COPY, "&Copy", "Copy", false},
    {ID_CVQ9_PASTE, "&Paste", "Paste", false},
    {ID_CVQ9_CLEAR, "&Clear", "Clear", false},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_UPLOAD_CURRENT, "&Upload Current control from CVQ9", "Upload Current control from CVQ9", false},
    {ID_CVQ9_UPLOAD_ALL, "&Upload All controls from CVQ9", "Upload All controls from CVQ9", false},
    {ID_CVQ9_DOWNLOAD_CURRENT, "&Download Current control to CVQ9", "Download Current control to CVQ9", false},
    {ID_CVQ9_DOWNLOAD_ALL, "&Download All controls to CVQ9", "Download All controls to CVQ9", false},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_LOAD_ALL_FROM_LIB, "&Load All from library", "Load All from library", false},
    {ID_CVQ9_SAVE_ALL_TO_LIB, "&Save All to library", "Save All to library", false},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_CHECK_CURRENT, "&Check Current", "Check Current", false},
    {ID_CVQ9_CHECK_ALL, "&Check All", "Check All", false},
};

const MenuEntry kGroupMenu[] = {
    {ID_CVQ9_COPY_GROUP, "&Copy", "Copy", false},
    {ID_CVQ9_PASTE_GROUP, "&Paste", "Paste", false},
    {ID_CVQ9_CLEAR_GROUP, "&Clear", "Clear", false},
};

const MenuEntry kToolsMenu[] = {
    {ID_CVQ9_MIDI_MONITOR, "&MIDI monitor", "MIDI monitor", true},
    {ID_CVQ9_FIND_CONTROLLER, "&Find the controller", "Find the controller", true},
    {ID_CVQ9_COMPARE, "&Compare with controller...", "Compare with controller...", true},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_FIND_CONTROLS, "Find co&ntrols...", "Find controls...", true},
    {ID_CVQ9_COMPARE_LIBRARY, "Compare with &library file...", "Compare with library file...", true},
};

const MenuEntry kHelpMenu[] = {
    {ID_CVQ9_HELP, "&Help", "Help", true},
    {0, nullptr, nullptr, false},
    {ID_CVQ9_ABOUT, "&About", "About", true},
};

template <size_t N>
wxMenu *BuildMenu(const MenuEntry (&entries)[N])
{
    wxMenu *menu = new wxMenu;
    for (const MenuEntry &e : entries) {
        if (e.id == 0) {
            menu->AppendSeparator();
            continue;
        }
        menu->Append(e.id, wxString::FromAscii(e.label), wxString::FromAscii(e.help), wxITEM_NORMAL);
        if (!e.enabled)
            menu->Enable(e.id, false);
    }
    return menu;
}

// One element of the toolbar, left to right: a tool, a run of separators, or
// the group label and selector.
struct ToolEntry {
    enum Kind { Tool, Separators, GroupSelector } kind;
    int id;  // Tool; the number of separators for Separators
    const char *image;
    const char *label;
    const char *tooltip;
};

const ToolEntry kToolbar[] = {
    {ToolEntry::Separators, 1, nullptr, nullptr, nullptr},
    {ToolEntry::Tool, ID_CVQ9_NEW, "new.bmp", "New ...", "New library ..."},
    {ToolEntry::Tool, ID_CVQ9_OPEN, "open.bmp", "Open ...", "Open library ..."},
    {ToolEntry::Tool, ID_CVQ9_SAVE, "save.bmp", "Save ...", "Save library ..."},
    {ToolEntry::Tool, ID_CVQ9_IMPORT, "import.bmp", "Import Corvana Pro lib ...", "Import Corvana Pro library ..."},
    {ToolEntry::Tool, ID_CVQ9_EXPORT_TEXT, "export.bmp", "Export to text file", "Export all assignments to text file"},
    {ToolEntry::Separators, 2, nullptr, nullptr, nullptr},
    {ToolEntry::Tool, ID_CVQ9_HELP, "help.bmp", "Help", "Help"},
    {ToolEntry::Separators, 2, nullptr, nullptr, nullptr},
    {ToolEntry::Tool, ID_CVQ9_COPY, "copy.bmp", "Copy", "Copy current control"},
    {ToolEntry::Tool, ID_CVQ9_PASTE, "paste.bmp", "Paste", "Paste current control"},
    {ToolEntry::Tool, ID_CVQ9_CLEAR, "clear.bmp", "Clear", "Clear current control"},
    {ToolEntry::Separators, 3, nullptr, nullptr, nullptr},
    {ToolEntry::GroupSelector, 0, nullptr, nullptr, nullptr},
    {ToolEntry::Separators, 2, nullptr, nullptr, nullptr},
    {ToolEntry::Tool, ID_CVQ9_COPY_GROUP, "copy.bmp", "Copy", "Copy current group"},
    {ToolEntry::Tool, ID_CVQ9_PASTE_GROUP, "paste.bmp", "Paste", "Paste current group"},
    {ToolEntry::Tool, ID_CVQ9_CLEAR_GROUP, "clear.bmp", "Clear", "Clear current group"},
};

// The group selector's width. 50 pixels leave GTK 3's combo box no room to
// show its text beside the arrow; 70 show the two digits of "20".
constexpr int kGroupComboWidth = 70;

void BuildToolbar(wxFrame *frame)
{
    toolBar = frame->GetToolBar();
    if (toolBar == nullptr)
        toolBar = frame->CreateToolBar(wxTB_HORIZONTAL, ID_CVQ9_TOOLBAR);
    toolBar->SetToolBitmapSize(wxSize(16, 15));
    for (const ToolEntry &e : kToolbar) {
        switch (e.kind) {
        case ToolEntry::Separators:
            for (int i = 0; i < e.id; ++i)
                toolBar->AddSeparator();
            break;
        case ToolEntry::Tool:
            toolBar->AddTool(e.id, wxString::FromAscii(e.label),
                             cvq9_config_ui::GetBitmapResource(wxString::FromAscii(e.image)), wxNullBitmap,
                             wxITEM_NORMAL, wxString::FromAscii(e.tooltip));
            break;
        case ToolEntry::GroupSelector: {
            toolBar->AddControl(new wxStaticText(toolBar, wxID_ANY, wxT("Group : ")));
            m_pGroupCombo = new wxComboBox(toolBar, ID_CVQ9_GROUP_COMBO, wxEmptyString, wxDefaultPosition,
                                           wxSize(kGroupComboWidth, -1), 0, nullptr, wxCB_READONLY);
            for (unsigned g = 0; g < GROUP_NB; ++g)
                m_pGroupCombo->Append(wxString::Format("%d", g), reinterpret_cast<void *>(static_cast<uintptr_t>(g)));
            toolBar->AddControl(m_pGroupCombo);
            break;
        }
        }
    }
    toolBar->EnableTool(ID_CVQ9_PASTE, false);
    toolBar->EnableTool(ID_CVQ9_PASTE_GROUP, false);
    toolBar->Realize();
}

// The preset library's messages appear as message boxes with the reader's caption.
void ShowPresetMessage(const std::string &caption, const std::string &text)
{
    wxMessageBox(DeviceText(text), DeviceText(caption), wxOK | wxCENTRE, nullptr);
}

// A path held one character per byte, as the file system takes it.
wxString PathForFileSystem(const wxString &bytes_path)
{
    const wxString name(DeviceBytes(bytes_path).c_str(), *wxConvFileName);
    return name.empty() ? bytes_path : name;
}

}  // namespace

wxBEGIN_EVENT_TABLE(CVQ9App, wxApp)
    EVT_MENU(ID_CVQ9_UPLOAD_CURRENT, CVQ9App::OnUploadCurrentfromq9Menu)
    EVT_MENU(ID_CVQ9_UPLOAD_ALL, CVQ9App::OnUploadAllfromq9Menu)
    EVT_MENU(ID_CVQ9_DOWNLOAD_CURRENT, CVQ9App::OnDownloadCurrentToq9Menu)
    EVT_MENU(ID_CVQ9_DOWNLOAD_ALL, CVQ9App::OnDownloadAllToq9Menu)
    EVT_MENU(ID_CVQ9_LOAD_ALL_FROM_LIB, CVQ9App::OnUploadAllfromLibraryMenu)
    EVT_MENU(ID_CVQ9_SAVE_ALL_TO_LIB, CVQ9App::OnDownloadAllToLibraryMenu)
    EVT_MENU(ID_CVQ9_CHECK_CURRENT, CVQ9App::OnCheckCurrentMenu)
    EVT_MENU(ID_CVQ9_CHECK_ALL, CVQ9App::OnCheckAllMenu)
    EVT_COMBOBOX(ID_CVQ9_GROUP_COMBO, CVQ9App::OnComboGroupChange)
wxEND_EVENT_TABLE()

CVQ9App::CVQ9App() : help(nullptr)
{
    pCVQ9App = this;
    m_pCVQ9MainFrame = nullptr;
    m_pMenu = nullptr;
    m_pGroupCombo = nullptr;
    CVQ9_SOFT_config = nullptr;
}

bool CVQ9App::OnInit()
{
    // 1. The settings store; nothing is read yet. A missing or unreadable
    // file gives every key its default, silently. It is not the toolkit's
    // global configuration: that one is the toolkit's own (step 18).
    {
        wxLogNull quiet;
        CVQ9_SOFT_config =
            new wxFileConfig(wxString::FromAscii(CVQ9_SETTINGS_APP_NAME), wxEmptyString, wxEmptyString, wxEmptyString,
                             wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE, wxConvUTF8);
    }

    // 2. Not connected, not offline, no library, nothing to save.
    programming = false;
    must_finish_midi = false;
    cvq9_connected = false;
    offline_mode = false;
    default_lib_loaded = false;
    need_to_save_lib = false;
    FilePath.clear();
    fw_version_float = 0.0f;
    hw_version_float = 0.0f;

    // 3.
    all_selected_ctrl.reserve(CONTROLS_PER_GROUP);
    all_selected_ctrl.clear();

    // 4.
    MyExecPath = cvq9_config_ui::GetExecutablePath();

    SetPresetMessageReporter(&ShowPresetMessage);

    // 5. A fixed-size frame: the default style without resizable border and maximise box.
    const int width =
        MainFrameWidth(wxSystemSettings::GetMetric(wxSYS_BORDER_X), wxSystemSettings::GetMetric(wxSYS_EDGE_X));
    const long style = wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX | wxCLIP_CHILDREN;
    m_pCVQ9MainFrame = new CVQ9MainFrame(nullptr, wxString::FromAscii(CVQ9_MAIN_TITLE), wxDefaultCoord, wxDefaultCoord,
                                         width, MAIN_FRAME_HEIGHT, style);
    m_pCVQ9MainFrame->SetAutoLayout(true);
    wxIcon icon;
    icon.CopyFromBitmap(XpmToBitmap(Cvq9AppIconXpm()));
    m_pCVQ9MainFrame->SetIcon(icon);

    // 6, 7.
    pFileMenu = BuildMenu(kFileMenu);
    pParamMenu = BuildMenu(kControlMenu);
    pGroupMenu = BuildMenu(kGroupMenu);
    wxMenu *help_menu = BuildMenu(kHelpMenu);
    m_pMenu = new wxMenuBar;
    m_pMenu->Append(pFileMenu, wxT("&Library file"));
    m_pMenu->Append(BuildMenu(kEditMenu), wxT("&Edit"));
    m_pMenu->Append(pParamMenu, wxT("&Control"));
    m_pMenu->Append(pGroupMenu, wxT("&Group"));
    m_pMenu->Append(BuildMenu(kToolsMenu), wxT("&Tools"));
    m_pMenu->Append(help_menu, wxT("&Help"));
    m_pCVQ9MainFrame->SetMenuBar(m_pMenu);

    // 8.
    BuildToolbar(m_pCVQ9MainFrame);

    // 9. The view sizes itself to its panel picture and reads "HardwareVersion".
    pCVQ9View = new CVQ9View(m_pCVQ9MainFrame, wxPoint(0, 0));

    // 10. Building the panel lists the MIDI ports and loads the preset library.
    pui = new cvq9_config_ui(m_pCVQ9MainFrame, ID_CVQ9_CONFIG_UI, SYMBOL_CVQ9_CONFIG_UI_TITLE, wxDefaultPosition,
                             wxSize(806, 305));

    // 11. The panel directly below the view.
    const wxSize view_size = pCVQ9View->GetSize();
    const wxSize client = m_pCVQ9MainFrame->GetClientSize();
    pui->SetSize(0, view_size.GetHeight(), view_size.GetWidth() + 1, client.GetHeight() - view_size.GetHeight() + 1);

    // 12.
    m_pCVQ9MainFrame->Centre(wxBOTH);
    m_pCVQ9MainFrame->Show(true);
    pCVQ9View->Show(true);
    SetTopWindow(m_pCVQ9MainFrame);

    // 13. The empty configuration.
    ResetConfiguration(0);
    for (unsigned g = 0; g < GROUP_NB; ++g)
        mygroupnames[g] = L" ";

    // 14. The remembered group and control.
    CurrentGroup = settings::CurrentGroup();
    ControlIndex = settings::ControlIndex();
    all_selected_ctrl.push_back(static_cast<int>(ControlIndex));

    // 15. Preferences: only the widgets are set; the operations read them.
    pui->CheckboxProgUndef->SetValue(settings::ProgUndef());
    pui->CheckboxIgnoreLcd->SetValue(settings::IgnoreLcdProg());
    pui->CheckboxIgnoreMIDI->SetValue(settings::IgnoreMidiProg());
    pui->CheckboxVerifyAfterDownload->SetValue(settings::VerifyAfterDownload());
    pui->wxSpinCtrlStartGroup->SetValue(static_cast<int>(settings::StartGroup()));
    pui->wxSpinCtrlEndGroup->SetValue(static_cast<int>(settings::EndGroup()));

    // 16. The offline versions; selecting does not run the choices' handlers.
    pui->wxChoiceFwOffline->SetSelection(pui->wxChoiceFwOffline->FindString(settings::OfflineFwVersion(), true));
    pui->wxChoiceHwOffline->SetSelection(pui->wxChoiceHwOffline->FindString(settings::OfflineHwVersion(), true));

    // 17.
    m_pGroupCombo->SetSelection(static_cast<int>(CurrentGroup));
    pCVQ9View->DisplaySelected();
    pui->UpdateWholeParamWindows();
    pui->UpdateWholeGlobalParamsWindows();
    pui->DisableMidiButtons();
    pui->DisableLibraryButtons();
    pui->wxButtonCancel->Enable(false);

    // 18. The help book (a zip archive) beside the program; without it the
    // help window simply has nothing to show.
    // Once per process: a second start-up in the same process finds them registered.
    static bool handlers_added = false;
    if (!handlers_added) {
        wxInitAllImageHandlers();
        wxFileSystem::AddHandler(new wxZipFSHandler);
        handlers_added = true;
    }
    // The toolkit's own configuration, under these names, keeps what the
    // toolkit stores (the help window's layout); the program's file holds
    // only the program's keys.
    SetVendorName(wxT("Halvorn"));
    SetAppName(wxT("Corvana Q9 Configuration software Help"));
    wxConfigBase::Get();
    help = new wxHtmlHelpController(wxHF_DEFAULT_STYLE);
    help_book_pending_ = true;
    CallAfter(&CVQ9App::AddHelpBook);

    // 19. The user-curve dialog, hidden until the editor opens it.
    pcurveDialog = new UserCurvesedition(m_pCVQ9MainFrame, ID_USERCURVESEDITION, _("User Curves edition"),
                                         wxDefaultPosition, wxSize(450, 410),
                                         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxCLIP_CHILDREN);

    // 20. Until a device is identified or offline mode is chosen only Exit,
    // Help and About are usable.
    toolBar->Enable(false);

    // Unsaved work left by a run that did not end normally is offered back,
    // and from now on kept while edits are unsaved.
    ForgetEdits();
    EditHistory().MarkSaved();
    library_recovered = false;
    m_pCVQ9MainFrame->OfferRecovery();
    m_pCVQ9MainFrame->StartRecovery();

    // A library file given on the command line is opened once the window is up.
    wxArrayString arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    if (!arguments.empty())
        CallAfter([arguments] {
            if (m_pCVQ9MainFrame)
                m_pCVQ9MainFrame->OpenFromCommandLine(arguments);
        });
    return true;
}

int CVQ9App::OnExit()
{
    help_book_pending_ = false;
    delete help;
    help = nullptr;
    // Deleting the settings object writes the settings changed during the run.
    delete CVQ9_SOFT_config;
    CVQ9_SOFT_config = nullptr;
    delete wxConfigBase::Set(nullptr);

    for (unsigned g = 0; g < GROUP_NB; ++g) {
        mygroupnames[g].clear();
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c)
            mylcdstring[g][c].clear();
    }
    SetPresetMessageReporter(nullptr);
    m_pCVQ9MainFrame = nullptr;
    pFileMenu = pParamMenu = pGroupMenu = nullptr;
    m_pMenu = nullptr;
    toolBar = nullptr;
    m_pGroupCombo = nullptr;
    pCVQ9View = nullptr;
    pui = nullptr;
    pcurveDialog = nullptr;
    return 0;
}

void CVQ9App::AddHelpBook()
{
    if (!help_book_pending_ || help == nullptr)
        return;
    help_book_pending_ = false;
    // Without the book the help window simply has nothing to show.
    wxLogNull quiet;
    help->AddBook(wxFileName(PathForFileSystem(MyExecPath + wxString::FromAscii(CVQ9_HELP_BOOK))), false);
}

void CVQ9App::OnComboGroupChange(wxCommandEvent &)
{
    const int position = m_pGroupCombo ? m_pGroupCombo->GetSelection() : wxNOT_FOUND;
    if (position < 0 || position >= static_cast<int>(GROUP_NB))
        return;
    CurrentGroup = static_cast<unsigned>(position);
    EditHistory().CloseMerging();
    settings::SetCurrentGroup(CurrentGroup);
    if (pui) {
        pui->UpdateWholeParamWindows();
        pui->UpdateWholeGlobalParamsWindows();
    }
}

void CVQ9App::OnUploadCurrentfromq9Menu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonUploadcurrentfromq9Click(event);
}

void CVQ9App::OnUploadAllfromq9Menu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonUploadallfromq9Click(event);
}

void CVQ9App::OnDownloadCurrentToq9Menu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonDownloadcurrenttoq9Click(event);
}

void CVQ9App::OnDownloadAllToq9Menu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonDownloadalltoq9Click(event);
}

void CVQ9App::OnUploadAllfromLibraryMenu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonLoadallfromlibClick(event);
}

void CVQ9App::OnDownloadAllToLibraryMenu(wxCommandEvent &event)
{
    if (pui)
        pui->OnButtonSavealltolibraryfileClick(event);
}

void CVQ9App::OnCheckCurrentMenu(wxCommandEvent &)
{
    if (pui)
        pui->CheckCurrentParam(static_cast<uint8_t>(CurrentGroup), static_cast<uint8_t>(ControlIndex));
}

void CVQ9App::OnCheckAllMenu(wxCommandEvent &)
{
    if (pui)
        pui->CheckAllParam();
}
