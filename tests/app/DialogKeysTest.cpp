// Dialogs driven through the display's pointer and keyboard, where the
// toolkit's own handling of a key was at fault.

#include "PageTestSupport.h"

#include <wx/timer.h>
#include <wx/uiaction.h>

#include "PrzegladDialog.h"

// With no window manager, the window under the pointer has the keys.
static void PointAt(wxUIActionSimulator& sim, wxWindow* window)
{
    sim.MouseMove(window->GetScreenRect().GetPosition() + wxPoint(8, window->GetSize().y / 2));
}

// Its one button had the toolkit's OK id, and the dialog opens on "失效 ":
// the close box and Escape switched the reminder off.
TEST_F(PageTest, LeavingTheServiceIntervalDialogSendsNothing)
{
    MakeFrame();
    for (bool escape : {false, true}) {
        ParamPayloadBuilder parameters;
        BringOnline(parameters.WorkCounter(4, 2));
        theController->m_requestQueue.clear();
        PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
        wxTimer inside;
        wxUIActionSimulator sim;
        inside.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (!dialog.IsShownOnScreen()) {
                inside.StartOnce(20);
            } else if (escape) {
                PointAt(sim, &dialog);
                sim.Char(WXK_ESCAPE);
            } else {
                dialog.Close();
            }
        });
        inside.StartOnce(20);
        EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL) << escape;
        EXPECT_TRUE(Queued().empty()) << escape;
        EXPECT_EQ(theController->GetWorkCounter(4), 2u);
    }
}
