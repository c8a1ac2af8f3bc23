// Dialogs driven through the display's pointer and keyboard, where the
// toolkit's own handling of a key or of typed text was at fault.

#include "PageTestSupport.h"
#include "SettingsFixture.h"

#include <wx/button.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "InjectorsDialog.h"
#include "PrzegladDialog.h"

using namespace settingstest;

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

// GTK keeps no letter in the field and took the empty field for 0 %.
TEST_F(SettingsTest, TextThatIsNoNumberInAnInjectorCorrectionSendsNothing)
{
    Ready();
    GoLive(true);
    Click(m_page->GetInjectorsButton());
    InjectorsDialog* dialog = m_page->GetInjectorsDialog();
    ASSERT_TRUE(dialog && guitest::WaitFor([&] { return dialog->IsShownOnScreen(); }));
    wxSpinCtrl* first = dialog->GetSpin(0);
    wxUIActionSimulator sim;
    PointAt(sim, first);
    sim.MouseClick();
    ASSERT_TRUE(guitest::WaitFor([&] { return first->HasFocus(); }));
    sim.Char('a', wxMOD_CONTROL);
    sim.Text("abc");
    sim.Char(WXK_TAB);
    ASSERT_TRUE(guitest::WaitFor([&] { return !first->HasFocus(); }));
    EXPECT_TRUE(guitest::WaitFor([&] { return first->GetTextValue() == "-21"; })) << first->GetTextValue();
    EXPECT_TRUE(Queued().empty());
    dialog->Close();
}
