#ifndef QUENVAR_TESTS_SCREENSHOT_H
#define QUENVAR_TESTS_SCREENSHOT_H

#include <wx/string.h>

class wxWindow;

// When QUENVAR_SCREENSHOT_DIR is set (scripts/screenshot-dialogs sets it),
// saves a PNG of the shown window there under fileName; otherwise does
// nothing. Returns false only when a requested picture could not be made.
// The client area, or with wholeWindow a frame's tool and status bars too.
bool SaveScreenshotIfAsked(wxWindow* window, const wxString& fileName, bool wholeWindow = false);

#endif
