// Dialogs driven through the display's pointer and keyboard, where the
// toolkit's own handling of typed text was at fault.

#include "SettingsFixture.h"

#include <wx/button.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>

#include "InjectorsDialog.h"

using namespace settingstest;

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
    sim.MouseMove(first->GetScreenRect().GetPosition() + wxPoint(8, first->GetSize().y / 2));
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
