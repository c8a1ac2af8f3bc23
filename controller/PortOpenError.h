#ifndef QUENVAR_PORTOPENERROR_H
#define QUENVAR_PORTOPENERROR_H

#include <wx/string.h>

// What the user is told when a port cannot be opened: the reason for a
// SerialOpenError code, with the remedy where there is one. Empty for 0.
wxString PortOpenErrorText(int code, const wxString& device);

#endif
