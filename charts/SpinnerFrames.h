#ifndef QUENVAR_SPINNERFRAMES_H
#define QUENVAR_SPINNERFRAMES_H

#include <wx/string.h>

// Spinner frames of the calibration's status texts: "/", "-", "\", "|".
extern const wxString SpinnerFrames[4];

#endif
