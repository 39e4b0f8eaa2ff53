// Opens the help book in the toolkit's HTML help window, set up the way the
// editor sets it up, to see how the pages render.
//
//   help_preview [--book FILE.htb] [--page PAGE.html | --keyword WORD]
//                [--shot FILE.png] [--size WIDTHxHEIGHT]
//
// Without --shot the window stays open until it is closed. With --shot the
// program waits until the page is laid out, saves a picture of the help
// window as PNG and exits (status 0 on success). The default book is the
// one built beside the program.
#include <wx/cmdline.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/wx.h>

#include <cstdio>

namespace {

class PreviewApp : public wxApp
{
public:
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;
    void OnInitCmdLine(wxCmdLineParser &parser) override;
    bool OnCmdLineParsed(wxCmdLineParser &parser) override;

private:
    void OnShotTimer(wxTimerEvent &event);
    bool SaveShot();

    wxHtmlHelpController *m_help = nullptr;
    wxTimer m_timer;
    wxString m_book = CVQ9_HELP_BOOK;
    wxString m_page;
    wxString m_keyword;
    wxString m_shot;
    wxSize m_size{1000, 720};
    int m_status = 0;
};

void PreviewApp::OnInitCmdLine(wxCmdLineParser &parser)
{
    parser.AddOption("b", "book", "help book (.htb)");
    parser.AddOption("p", "page", "page to show instead of the contents");
    parser.AddOption("k", "keyword", "index entry to look up instead");
    parser.AddOption("s", "shot", "save a picture of the help window (PNG) and exit");
    parser.AddOption("z", "size", "window size, WIDTHxHEIGHT");
    parser.AddSwitch("h", "help", "show this help", wxCMD_LINE_OPTION_HELP);
}

bool PreviewApp::OnCmdLineParsed(wxCmdLineParser &parser)
{
    parser.Found("book", &m_book);
    parser.Found("page", &m_page);
    parser.Found("keyword", &m_keyword);
    parser.Found("shot", &m_shot);
    wxString size;
    if (parser.Found("size", &size)) {
        long w = 0, h = 0;
        if (!size.BeforeFirst('x').ToLong(&w) || !size.AfterFirst('x').ToLong(&h) || w <= 0 || h <= 0) {
            std::fprintf(stderr, "help_preview: bad size %s\n", size.utf8_str().data());
            return false;
        }
        m_size = wxSize(int(w), int(h));
    }
    return true;
}

bool PreviewApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;

    // The book is a zip archive holding pictures: both handlers are needed
    // before the controller reads it, exactly as at the editor's start-up.
    wxInitAllImageHandlers();
    wxFileSystem::AddHandler(new wxZipFSHandler);

    if (!wxFileName::FileExists(m_book)) {
        std::fprintf(stderr, "help_preview: no book at %s\n", m_book.utf8_str().data());
        return false;
    }
    m_help = new wxHtmlHelpController(wxHF_DEFAULT_STYLE);
    if (!m_help->AddBook(m_book, false)) {
        std::fprintf(stderr, "help_preview: the help window cannot read %s\n", m_book.utf8_str().data());
        return false;
    }
    bool shown;
    wxString what;
    if (!m_keyword.empty()) {
        shown = m_help->KeywordSearch(m_keyword, wxHELP_SEARCH_INDEX);
        what = "the index entry " + m_keyword;
    } else if (!m_page.empty()) {
        shown = m_help->Display(m_page);
        what = m_page;
    } else {
        shown = m_help->DisplayContents();
        what = "the contents";
    }
    if (!shown) {
        std::fprintf(stderr, "help_preview: cannot display %s\n", what.utf8_str().data());
        return false;
    }
    wxFrame *frame = m_help->GetFrame();
    if (frame) {
        frame->SetSize(m_size);
        frame->Move(0, 0);
    }

    if (!m_shot.empty()) {
        m_timer.SetOwner(this);
        Bind(wxEVT_TIMER, &PreviewApp::OnShotTimer, this);
        m_timer.StartOnce(2000);
    }
    return true;
}

bool PreviewApp::SaveShot()
{
    wxFrame *frame = m_help ? m_help->GetFrame() : nullptr;
    if (!frame) {
        std::fprintf(stderr, "help_preview: no help window to picture\n");
        return false;
    }
    frame->Raise();
    frame->Update();
    wxRect rect = frame->GetScreenRect();
    wxBitmap picture(rect.width, rect.height, 24);
    {
        wxMemoryDC memory(picture);
        wxScreenDC screen;
        memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    }
    if (!picture.SaveFile(m_shot, wxBITMAP_TYPE_PNG)) {
        std::fprintf(stderr, "help_preview: cannot write %s\n", m_shot.utf8_str().data());
        return false;
    }
    std::printf("help_preview: saved %dx%d to %s\n", rect.width, rect.height, m_shot.utf8_str().data());
    return true;
}

void PreviewApp::OnShotTimer(wxTimerEvent &)
{
    m_status = SaveShot() ? 0 : 1;
    if (wxFrame *frame = m_help->GetFrame())
        frame->Destroy();
    ExitMainLoop();
}

int PreviewApp::OnRun()
{
    int status = wxApp::OnRun();
    return status != 0 ? status : m_status;
}

int PreviewApp::OnExit()
{
    delete m_help;
    m_help = nullptr;
    return m_status;
}

}  // namespace

wxIMPLEMENT_APP(PreviewApp);
