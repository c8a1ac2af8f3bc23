#ifndef QUENVAR_READYCHECK_H
#define QUENVAR_READYCHECK_H

#include <wx/string.h>

class wxWindow;

// Why a page or dialog cannot hand a request to the ECU now (no ECU, demo
// mode, a calibration running); empty when it can.
wxString NotReadyReason();

// Tells the user that what was asked has not been done, and why.
void ShowNotDone(wxWindow* parent, const wxString& what, const wxString& why);

#endif
