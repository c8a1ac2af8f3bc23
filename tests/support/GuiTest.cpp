#include "GuiTest.h"

#include <thread>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/utils.h>
#include <wx/window.h>

wxFrame* guitest::SharedFrame()
{
    static wxFrame* frame = nullptr;
    if (!frame)
        frame = new wxFrame(nullptr, wxID_ANY, "tests", wxDefaultPosition, wxSize(800, 600));
    return frame;
}

void guitest::ProcessPendingEvents()
{
    // Without a running loop, Yield still drives GTK's main context.
    wxYield();
    if (wxTheApp)
        wxTheApp->ProcessPendingEvents();
}

void guitest::UpdateUiAsIdle(wxWindow* root)
{
    // Unlike idle time, the windows of a hidden frame too.
    if (root->GetExtraStyle() & wxWS_EX_PROCESS_UI_UPDATES)
        root->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    for (wxWindow* child : root->GetChildren())
        UpdateUiAsIdle(child);
}

bool guitest::WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return condition();
        ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
