#ifndef QUENVAR_MYAPP_H
#define QUENVAR_MYAPP_H

#include <wx/app.h>

class MyFrame;
class wxSingleInstanceChecker;

// The application: one copy per user, the main window and its poll timer.
class MyApp : public wxApp
{
public:
    MyApp();
    ~MyApp() override;

    bool OnInit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

    // Forwarders to the main window, for the calibration and the map page.
    void SetStatusMessage(const wxString& text);
    void ShowProgress(bool show);
    void SetProgress(int value);

    // Toolkit settings that keep a window showing live data cheap: restyles
    // without fades, update-UI from idle time at most every 100 ms.
    static void TuneToolkit();

    // The desktop's language for the toolkit's own texts (GTK's stock
    // buttons, its file chooser); numbers keep the C form.
    static void UseUserLocale();

    // The lock name of a user's copy: "MyApp-<user id>".
    static wxString InstanceLockName(const wxString& userId);
    // Takes the user's lock in lockDir (empty: the home folder). When another
    // copy holds it, logs "Program already running,aborting." and returns
    // null; otherwise the held checker.
    static wxSingleInstanceChecker* AcquireInstanceLock(const wxString& userId,
                                                        const wxString& lockDir);

    MyFrame* m_frame = nullptr;
    // Held for the life of the process, never deleted.
    wxSingleInstanceChecker* m_checker = nullptr;

private:
    bool m_startDemo = false;
    // Notebook page shown at start (--page), -1: the first.
    long m_startPage = -1;
};

wxDECLARE_APP(MyApp);

#endif
