#include "MyApp.h"

#include <clocale>
#include <cstdlib>

#ifdef __WXGTK3__
#include <dlfcn.h>
#endif

#include <wx/cmdline.h>
#include <wx/event.h>
#include <wx/log.h>
#include <wx/notebook.h>
#include <wx/snglinst.h>
#include <wx/uilocale.h>
#include <wx/utils.h>

#include "MyFrame.h"

MyApp::MyApp()
{
    // Runs before GTK starts. GDK would otherwise load the OpenGL driver to
    // pick visuals, which a program drawing only with Cairo never uses; with
    // Mesa's software driver that alone is some 45 MB. A setting of the
    // user's own wins.
    setenv("GDK_GL", "disable", 0);
}

MyApp::~MyApp() = default;

namespace
{
// GTK fades a restyled widget over a fifth of a second, and every step of the
// fade has a button's label ask for a new size, so the whole window is laid
// out and the shown page redrawn at each frame of it: a fuel switch or an
// injector lit cost a dozen relayouts. Restyles now show at once. Looked up
// at run time: GTK's headers are not needed to build the program.
void ShowRestylesAtOnce()
{
#ifdef __WXGTK3__
    using GetSettings = void* (*)();
    using SetProperties = void (*)(void*, const char*, ...);
    auto getSettings = reinterpret_cast<GetSettings>(dlsym(RTLD_DEFAULT, "gtk_settings_get_default"));
    auto setProperties = reinterpret_cast<SetProperties>(dlsym(RTLD_DEFAULT, "g_object_set"));
    if (!getSettings || !setProperties)
        return;
    if (void* settings = getSettings())
        setProperties(settings, "gtk-enable-animations", 0, static_cast<void*>(nullptr));
#endif
}
} // namespace

void MyApp::TuneToolkit()
{
    ShowRestylesAtOnce();
    // Idle time comes after every batch of events, a few dozen times a
    // second with live data flowing, and each time asked every window of
    // the tree whether it should be enabled. A tenth of a second is as
    // quick as anyone could notice.
    wxUpdateUIEvent::SetUpdateInterval(100);
    // And only the windows marked for it (AskForUiUpdates).
    wxUpdateUIEvent::SetMode(wxUPDATE_UI_PROCESS_SPECIFIED);
    // Idle events only for the windows that handle them (the plot control,
    // the rich text of the about box), not for every control of the pages.
    wxIdleEvent::SetMode(wxIDLE_PROCESS_SPECIFIED);
}

void MyApp::UseUserLocale()
{
    // The toolkit leaves the C library in the "C" locale, in which GTK
    // labels its message boxes and file chooser in English.
    wxUILocale::UseDefault();
    // Every number the program shows or reads back (readings, spin controls,
    // values typed in) is written printf's way and read in the C form: a
    // decimal comma would show 1,50 and refuse 1.5 typed in.
    std::setlocale(LC_NUMERIC, "C");
}

wxString MyApp::InstanceLockName(const wxString& userId)
{
    return wxString::Format("MyApp-%s", userId);
}

wxSingleInstanceChecker* MyApp::AcquireInstanceLock(const wxString& userId, const wxString& lockDir)
{
    auto* checker = new wxSingleInstanceChecker;
    checker->Create(InstanceLockName(userId), lockDir);
    if (checker->IsAnotherRunning()) {
        delete checker;
        wxLogError(_("Program already running,aborting."));
        return nullptr;
    }
    return checker;
}

void MyApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    wxApp::OnInitCmdLine(parser);
    parser.AddSwitch("", "demo", "start in demo mode, as if the demo tool had been pressed");
    parser.AddOption("", "page", "show this notebook page at start (0: settings, 1: map, ...)",
                     wxCMD_LINE_VAL_NUMBER);
}

bool MyApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    m_startDemo = parser.Found("demo");
    parser.Found("page", &m_startPage);
    return wxApp::OnCmdLineParsed(parser);
}

bool MyApp::OnInit()
{
    UseUserLocale();
    if (!wxApp::OnInit())
        return false;
    TuneToolkit();

    m_checker = AcquireInstanceLock(wxGetUserId(), wxEmptyString);
    if (!m_checker) {
        // Show the box now: start-up fails and the log would go unread.
        wxLog::FlushActive();
        return false;
    }

    m_frame = new MyFrame(nullptr, wxID_ANY, wxString(L"Morvenda \u2161 V1.0.0"), wxPoint(0, 0),
                          wxSize(850, 620));
    if (m_startPage >= 0 && static_cast<size_t>(m_startPage) < m_frame->m_notebook->GetPageCount())
        m_frame->m_notebook->SetSelection(static_cast<size_t>(m_startPage));
    m_frame->Show(true);
    m_frame->StartPollTimer();
    if (m_startDemo)
        m_frame->ToggleDemo();
    return true;
}

void MyApp::SetStatusMessage(const wxString& text)
{
    if (m_frame)
        m_frame->SetStatusMessage(text);
}

void MyApp::ShowProgress(bool show)
{
    if (m_frame)
        m_frame->ShowProgress(show);
}

void MyApp::SetProgress(int value)
{
    if (m_frame)
        m_frame->SetProgress(value);
}
