#include "MyApp.h"

#include <cstdlib>

#include <wx/cmdline.h>
#include <wx/log.h>
#include <wx/notebook.h>
#include <wx/snglinst.h>
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
    if (!wxApp::OnInit())
        return false;

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
