// The injector-correction dialog of the settings page and the nozzle
// calculator of the main window's tool.

#include "SettingsFixture.h"
#include "MainWindowFixture.h"

#include <wx/button.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include "InjectorCalcDialog.h"
#include "InjectorsDialog.h"
#include "LayoutCheck.h"
#include "Screenshot.h"

using namespace settingstest;

namespace
{
void ChangeSpin(wxSpinCtrl* spin, int value)
{
    spin->SetValue(value);
    wxSpinEvent event(wxEVT_SPINCTRL, spin->GetId());
    event.SetPosition(value);
    Send(spin, event);
}

std::vector<int> Values(const InjectorsDialog* dialog)
{
    std::vector<int> values;
    for (int i = 0; i < dialog->GetRowCount(); ++i)
        values.push_back(dialog->GetSpin(i)->GetValue());
    return values;
}
}

TEST_F(SettingsTest, InjectorRowsFollowTheCylinderCodeHeldWithinEight)
{
    const struct
    {
        unsigned char code;
        int rows;
    } cases[] = {{7, 2}, {6, 1}, {0, 3}, {5, 8}, {9, 8}, {253, 8}};
    // Bytes 100, 154, 128, 255 read as -21, 21, 0 and 100 %.
    const std::vector<int> percent = {-21, 21, 0, 100, 0, 0, 0, 0};
    for (const auto& c : cases) {
        ParamPayloadBuilder frame = BaseFrame();
        frame.CylinderCode(c.code);
        Load(frame);
        InjectorsDialog dialog(nullptr, wxID_ANY, " ");
        EXPECT_EQ(dialog.GetTitle(), wxString(L"燃气喷嘴设定 "));
        EXPECT_EQ(Values(&dialog), std::vector<int>(percent.begin(), percent.begin() + c.rows)) << int(c.code);
    }
}

TEST_F(SettingsTest, PageKeepsOneInjectorDialogThatSendsRefreshesAndGoes)
{
    Ready();
    GoLive(true);
    Click(m_page->GetInjectorsButton());
    InjectorsDialog* dialog = m_page->GetInjectorsDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->IsShown());
    Click(m_page->GetInjectorsButton());
    EXPECT_EQ(m_page->GetInjectorsDialog(), dialog) << "a second click raises the open one";
    ASSERT_TRUE(guitest::WaitFor([&] { return dialog->IsShownOnScreen(); }));
    guitest::ProcessPendingEvents();
    ExpectTidyLayout(dialog);
    EXPECT_TRUE(SaveScreenshotIfAsked(dialog, "injectors-dialog.png"));

    // The untouched cylinders go back as read; +100 % stops at 0xFF.
    ChangeSpin(dialog->GetSpin(2), 10);
    EXPECT_EQ(Queued(), (Frames{Frame(53, {100, 154, 140, 255, 128, 128, 128, 128})}));
    ChangeSpin(dialog->GetSpin(0), 100);
    EXPECT_EQ(Queued(), (Frames{Frame(53, {0xFF, 154, 140, 255, 128, 128, 128, 128})}));
    theController->m_requestQueue.clear();
    theController->m_online = 0;
    ChangeSpin(dialog->GetSpin(1), 60);
    EXPECT_EQ(dialog->GetSpin(1)->GetValue(), 21) << "not ready: back at once";
    EXPECT_TRUE(Queued().empty());

    ParamPayloadBuilder frame = BaseFrame();
    frame.CylinderCode(7).InjectorCorrectionByte(1, 192);
    Load(frame);
    EXPECT_EQ(Values(dialog), (std::vector<int>{-21, 50}));
    // Chosen on the page: the open dialog follows at once.
    GoLive(true);
    Choose(m_page->GetChoice(PanelCS::CHOICE_CYLINDERS), 3);
    EXPECT_EQ(Values(dialog), (std::vector<int>{-21, 50, 0, 100, 0, 0}));

    dialog->Close();
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_TRUE(guitest::WaitFor([this] { return !m_page->GetInjectorsDialog(); }));
}

TEST(NozzleCalculator, TableByPowerPerCylinderAndMode)
{
    using D = InjectorCalcDialog;
    const struct
    {
        int cylinders, power, mode;
        double mm;
    } cases[] = {
        {3, 53, D::MODE_SEQUENTIAL, 2.0},    {3, 320, D::MODE_SEQUENTIAL, 4.1}, {8, 20, D::MODE_SIMULTANEOUS, 1.8},
        {4, 100, D::MODE_GROUP, 2.5},        {4, 71, D::MODE_SEQUENTIAL, 2.0},  {4, 72, D::MODE_SEQUENTIAL, 2.3},
        {6, 288, D::MODE_GROUP, 3.1},        {5, 270, D::MODE_SIMULTANEOUS, 3.3},
        {3, 195, D::MODE_SIMULTANEOUS, 3.9}, {4, 100, -1, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(D::NozzleSize(c.cylinders, c.power, c.mode), c.mm)
            << c.cylinders << " " << c.power << " " << c.mode;
}

TEST_F(MainWindowTest, NozzleToolShowsTheCalculatorWhichComputesIntoAReadOnlyField)
{
    MakeFrame();
    EXPECT_TRUE(m_frame->m_toolBar->GetToolEnabled(ID_TOOL_INJECTOR_CALC));
    bool seen = false;
    wxTimer inside;
    inside.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<InjectorCalcDialog*>(window);
            if (!dialog || !dialog->IsModal())
                continue;
            seen = true;
            EXPECT_EQ(dialog->GetTitle(), wxString(L"喷嘴计算"));
            dialog->GetCylinderChoice()->SetSelection(1);
            dialog->GetPowerSpin()->SetValue(100);
            dialog->GetModeChoice()->SetSelection(InjectorCalcDialog::MODE_GROUP);
            Click(dialog->FindWindow(InjectorCalcDialog::ID_COMPUTE));
            EXPECT_EQ(dialog->GetResultText()->GetValue(), "2.5");
            EXPECT_FALSE(dialog->GetResultText()->IsEditable());
            ExpectTidyLayout(dialog);
            EXPECT_TRUE(SaveScreenshotIfAsked(dialog, "nozzle-calculator.png"));
            dialog->EndModal(wxID_CANCEL);
        }
    });
    inside.StartOnce(100);
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_INJECTOR_CALC);
    EXPECT_TRUE(seen);
}
