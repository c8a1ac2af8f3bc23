#ifndef QUENVAR_READYCHECK_H
#define QUENVAR_READYCHECK_H

#include <wx/string.h>

#include "ControllerReady.h"

class wxWindow;

// Asks the gate whether purpose may go to the ECU now; when not, tells the
// user that `what` has not been done, and why. The gate's answer.
EcuAccess AskEcuAccess(wxWindow* parent, EcuPurpose purpose, const wxString& what);

// Tells the user that what was asked has not been done, and why.
void ShowNotDone(wxWindow* parent, const wxString& what, const wxString& why);

#endif
