#include "UiUpdates.h"

#include <wx/window.h>

void AskForUiUpdates(wxWindow* root, int firstId, int lastId)
{
    for (wxWindow* child : root->GetChildren()) {
        const int id = child->GetId();
        if (id >= firstId && id <= lastId)
            child->SetExtraStyle(child->GetExtraStyle() | wxWS_EX_PROCESS_UI_UPDATES);
        AskForUiUpdates(child, firstId, lastId);
    }
}
