#include "Screenshot.h"

#include <wx/filename.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "GuiTest.h"

bool SaveScreenshotIfAsked(wxWindow* window, const wxString& fileName, bool wholeWindow)
{
    wxString dir;
    if (!wxGetEnv("QUENVAR_SCREENSHOT_DIR", &dir) || dir.empty())
        return true;
    window->Raise();
    window->Refresh();
    window->Update();
    guitest::ProcessPendingEvents();

    // The virtual display has no window manager: the window is undecorated
    // and may not sit where it asked to be, so ask the display where its
    // client area really is.
    const wxRect rect = wholeWindow ? window->GetScreenRect()
                                    : wxRect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
    const wxString path = wxFileName(dir, fileName).GetFullPath();
    const wxString crop = wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y);
    const wxCharBuffer cropArg = crop.utf8_str();
    const wxCharBuffer pathArg = path.fn_str();
    const char* argv[] = {"import", "-window", "root", "-crop", cropArg.data(), "+repage",
                          pathArg.data(), nullptr};
    return wxExecute(const_cast<char**>(argv), wxEXEC_SYNC) == 0;
}
