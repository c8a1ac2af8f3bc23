#include "SpinnerFrames.h"

const wxString SpinnerFrames[4] = {"/", "-", "\\", "|"};
