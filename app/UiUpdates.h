#ifndef QUENVAR_UIUPDATES_H
#define QUENVAR_UIUPDATES_H

class wxWindow;

// Idle time asks only marked windows whether they should be enabled (asking
// every window of the tree, dozens of times a second, costs more than all a
// live frame draws). Marks each window under root whose id lies in
// [firstId, lastId], so that its handler keeps being asked.
void AskForUiUpdates(wxWindow* root, int firstId, int lastId);

#endif
