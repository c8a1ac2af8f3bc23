// Takes the per-user lock the way the program starts:
//   instance_lock_probe USER LOCK_DIR
// exits 0 when it got the lock, 1 when another copy holds it (after logging
// the program's message to stderr), 2 on bad use.
#include <memory>

#include <wx/init.h>
#include <wx/log.h>
#include <wx/snglinst.h>

#include "MyApp.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    wxInitializer init;
    if (!init.IsOk())
        return 2;
    delete wxLog::SetActiveTarget(new wxLogStderr);
    std::unique_ptr<wxSingleInstanceChecker> lock(
        MyApp::AcquireInstanceLock(wxString::FromUTF8(argv[1]), wxString::FromUTF8(argv[2])));
    wxLog::FlushActive();
    return lock ? 0 : 1;
}
