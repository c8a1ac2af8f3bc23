#ifndef QUENVAR_UIUPDATES_H
#define QUENVAR_UIUPDATES_H

#include "ControllerReady.h"

class wxString;
class wxUpdateUIEvent;
class wxWindow;
struct wxEventTable;

// Idle time asks only marked windows whether they should be enabled (asking
// every window of the tree, dozens of times a second, costs more than all a
// live frame draws). Marks each window under root whose id an update-UI
// entry of table (or of a table it derives from) names, so that its handler
// keeps being asked: the event table is the one list of them. Called with
// the caller's own table once its controls exist.
void AskForUiUpdates(wxWindow* root, const wxEventTable& table);

// The control's tooltip says why it is disabled; an empty why removes it.
void ShowWhyDisabled(wxWindow* control, const wxString& why);

// Enables the event's control when usable and no run holds the ECU for
// purpose; a control dead for the run says so in its tooltip. Its other
// refusals are said when it is pressed.
void EnableUnlessRunning(wxUpdateUIEvent& event, EcuPurpose purpose, bool usable = true);

#endif
