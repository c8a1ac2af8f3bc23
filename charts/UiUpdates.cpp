#include "UiUpdates.h"

#include <utility>
#include <vector>

#include <wx/event.h>
#include <wx/window.h>

namespace
{
using IdRange = std::pair<int, int>;

bool Named(int id, const std::vector<IdRange>& ranges)
{
    for (const IdRange& range : ranges) {
        if (range.first == wxID_ANY || (id >= range.first && id <= range.second))
            return true;
    }
    return false;
}

void Mark(wxWindow* root, const std::vector<IdRange>& ranges)
{
    for (wxWindow* child : root->GetChildren()) {
        // A dialog's events stop at the dialog: the caller's handler never
        // hears of its controls.
        if (child->IsTopLevel())
            continue;
        if (Named(child->GetId(), ranges))
            child->SetExtraStyle(child->GetExtraStyle() | wxWS_EX_PROCESS_UI_UPDATES);
        Mark(child, ranges);
    }
}
} // namespace

void AskForUiUpdates(wxWindow* root, const wxEventTable& table)
{
    std::vector<IdRange> ranges;
    for (const wxEventTable* t = &table; t; t = t->baseTable) {
        for (const wxEventTableEntry* entry = t->entries; entry->m_fn; ++entry) {
            if (entry->m_eventType == wxEVT_UPDATE_UI)
                ranges.emplace_back(entry->m_id, entry->m_lastId == wxID_ANY ? entry->m_id : entry->m_lastId);
        }
    }
    Mark(root, ranges);
}

void ShowWhyDisabled(wxWindow* control, const wxString& why)
{
    // Asked on every update-UI pass: GTK would rebuild the tooltip each time.
    if (control->GetToolTipText() == why)
        return;
    if (why.empty())
        control->UnsetToolTip();
    else
        control->SetToolTip(why);
}

void EnableUnlessRunning(wxUpdateUIEvent& event, EcuPurpose purpose, bool usable)
{
    const EcuAccess access = CheckEcuAccess(purpose);
    const bool running = access == EcuAccess::Calibrating;
    event.Enable(usable && !running);
    if (auto* control = wxDynamicCast(event.GetEventObject(), wxWindow))
        ShowWhyDisabled(control, running ? RefusalText(access) : wxString());
}
