// The settings page in the main window against the simulated ECU on a pty.

#include "MainWindowFixture.h"
#include "SettingsFixture.h"

#include <fstream>

#include <wx/button.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>

#include "ControllerReady.h"
#include "InjectorsDialog.h"
#include "LayoutCheck.h"
#include "LivePayloadBuilder.h"
#include "Screenshot.h"
#include "SimulatedEcu.h"
#include "qiliangxianshi.h"

using namespace settingstest;

class SettingsWireTest : public MainWindowTest
{
protected:
    // The main window polling an ECU on gas that holds the base settings.
    void Connect()
    {
        ASSERT_TRUE(m_ecu.IsOpen());
        const ParamPayloadBuilder params = BaseFrame();
        m_ecu.SetPayload(12, SimulatedEcu::Bytes(params.Payload().begin(), params.Payload().end()));
        LivePayloadBuilder live;
        live.Status(true, false, false).GasCylinderMask(0x0F).GasLevel(180, 3).Rpm(9);
        m_ecu.SetPayload(1, SimulatedEcu::Bytes(live.Payload().begin(), live.Payload().end()));
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << m_ecu.SlavePath() << "\n";
        MakeFrame();
        m_page = m_frame->m_settingsPage;
        m_frame->StartPollTimer();
        ASSERT_TRUE(guitest::WaitFor([&] {
            m_ecu.Service();
            return MayUseEcu(EcuPurpose::EditSettings) && theController->m_onGas;
        }));
    }

    // Waits until the ECU got frame, after the frame `after` if one is given.
    bool Received(const std::string& frame, const std::string& after = "")
    {
        return guitest::WaitFor([&] {
            m_ecu.Service();
            bool afterSeen = after.empty();
            for (const SimulatedEcu::Bytes& got : m_ecu.Received()) {
                const std::string bytes(got.begin(), got.end());
                if (afterSeen && bytes == frame)
                    return true;
                afterSeen = afterSeen || bytes == after;
            }
            return false;
        });
    }

    SimulatedEcu m_ecu;
    PanelCS* m_page = nullptr;
};

TEST_F(SettingsWireTest, SpinThresholdAndCorrectionReachTheLine)
{
    Connect();
    wxTextCtrl* rpm = m_page->GetSpin(PanelCS::SPIN_SWITCH_RPM)->GetTextCtrl();
    Type(rpm, "1200");
    PressEnter(rpm);
    EXPECT_TRUE(Received("\xAA\x09\x0C\xBF"));

    // In the modal gas-level dialog; the gas level is enabled first.
    qiliangxianshi* gasLevel = m_page->GetGasLevelDialog();
    bool seen = false;
    wxTimer inside;
    inside.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        seen = gasLevel->IsModal();
        gasLevel->GetSlider(3)->SetValue(150);
        wxScrollEvent changed(wxEVT_SCROLL_CHANGED, gasLevel->GetSlider(3)->GetId(), 150, wxHORIZONTAL);
        Send(gasLevel->GetSlider(3), changed);
        Click(gasLevel->FindWindow(qiliangxianshi::ID_EXIT));
    });
    inside.StartOnce(100);
    Click(m_page->GetGasLevelButton());
    EXPECT_TRUE(seen);
    EXPECT_FALSE(gasLevel->IsShown());
    EXPECT_TRUE(Received(Frame(13, {20, 60, 100, 150, 0}), Frame(49, {1})));

    // The other cylinders' bytes go back as read.
    Click(m_page->GetInjectorsButton());
    ASSERT_TRUE(m_page->GetInjectorsDialog());
    wxSpinCtrl* third = m_page->GetInjectorsDialog()->GetSpin(2);
    third->SetValue(10);
    wxSpinEvent spun(wxEVT_SPINCTRL, third->GetId());
    spun.SetPosition(10);
    Send(third, spun);
    EXPECT_TRUE(Received(Frame(53, {100, 154, 140, 255, 128, 128, 128, 128})));
}

TEST_F(SettingsWireTest, FilledPageFitsTheWindow)
{
    Connect();
    m_frame->Show();
    ASSERT_TRUE(guitest::WaitFor([&] {
        m_ecu.Service();
        return m_frame->IsShownOnScreen();
    }));
    EXPECT_TRUE(Received(Frame(1, {1})));
    m_frame->StopPollTimer();
    m_page->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    guitest::ProcessPendingEvents();

    EXPECT_EQ(m_frame->GetSize(), wxSize(850, 620));
    EXPECT_GE(m_page->GetSize().y, m_page->GetBestSize().y);
    EXPECT_GE(m_page->GetSize().x, m_page->GetBestSize().x);
    ExpectTidyLayout(m_page);
    EXPECT_TRUE(SaveScreenshotIfAsked(m_frame, "settings-page.png"));
}
