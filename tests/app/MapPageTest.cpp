// The map page in the main window: its place among the observers and a
// whole calibration of the simulated ECU's idling car through the window's
// status line, gauge and message boxes (the wire is the charts tests'
// business). With QUENVAR_SCREENSHOT_DIR set (scripts/screenshot-calibration)
// it keeps pictures of the page during and after the run.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/notebook.h>

#include "CalibrationFsm.h"
#include "GuZhangMa.h"
#include "IdleCar.h"
#include "LayoutCheck.h"
#include "MapModel.h"
#include "MapPane.h"
#include "PageTestSupport.h"
#include "PanelCS.h"
#include "PlotMap.h"
#include "Screenshot.h"
#include "SimulatedEcu.h"

namespace
{

class MapPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        MakeFrame();
        m_page = m_frame->m_mapPage;
        // The test runs the poll ticks and the map timer itself.
        m_page->m_mapTimer.Stop();
        m_pollTick.SetOwner(m_frame, ID_POLL_TIMER);
        m_frame->Show();
        m_frame->m_notebook->SetSelection(1);
        guitest::ProcessPendingEvents();
    }
    void TearDown() override
    {
        m_frame->Hide();
        PageTest::TearDown();
    }

    // One tick of the window's poll timer, the ECU's answer, the map timer,
    // then the queued events.
    bool Tick(bool events = true)
    {
        wxTimerEvent tick(m_pollTick);
        m_frame->GetEventHandler()->ProcessEvent(tick);
        // Applying parameters restarts the window's poll timer.
        m_frame->StopPollTimer();
        if (theController->m_awaitingReply && theController->m_ticksSinceSend == 0 && !m_ecu.WaitForRequest())
            return false;
        m_page->SendMapIfChanged();
        m_page->EndRunIfLinkLost();
        if (events)
            wxTheApp->ProcessPendingEvents();
        return true;
    }
    template <class Done> bool TickUntil(Done done)
    {
        for (int i = 0; i < 8000 && !done(); ++i)
            if (!Tick())
                return false;
        return done();
    }

    MapPane* m_page = nullptr;
    SimulatedEcu m_ecu;
    // Never started: its events are sent by hand.
    wxTimer m_pollTick;
};

TEST_F(MapPageTest, PageHearsEachFrameAfterTheSettingsAndBeforeItsPlotAndTheFaults)
{
    const std::deque<ControllerObserver*>& all = theController->m_observers;
    auto at = [&](const ControllerObserver* o) { return std::find(all.begin(), all.end(), o) - all.begin(); };
    const long page = at(m_page);
    EXPECT_LT(at(m_frame->m_settingsPage), page);
    EXPECT_EQ(at(m_page->m_plot), page + 1);
    EXPECT_EQ(at(m_frame->m_faultPage), page + 2);
    EXPECT_EQ(at(m_frame), static_cast<long>(all.size()) - 1);
    // The plot control's own axes are its business.
    ExpectTidyLayout(m_page, false);
}

TEST_F(MapPageTest, CalibratesTheIdlingCarFromTheButtonToTheLearnedMap)
{
    m_ecu.UseIdleCar();
    ASSERT_EQ(0, theController->OpenPort(m_ecu.SlavePath()));
    ASSERT_TRUE(TickUntil([&] { return theController->m_online && !m_page->m_plot->m_modified; }));

    ModalCatcher boxes;
    auto sent = [&](unsigned char command) {
        const std::vector<unsigned char> wire = m_ecu.ReceivedCommands();
        return std::count(wire.begin(), wire.end(), command);
    };
    m_ecu.ClearReceived();
    Fire(m_page, wxEVT_BUTTON, MapPane::ID_AUTO_CALIBRATE);
    ASSERT_TRUE(m_page->m_fsm);
    EXPECT_FALSE(m_page->m_plot->IsEnabled());

    // Mid-run: the second gas phase, its status and the gauge.
    ASSERT_TRUE(TickUntil([&] { return m_frame->GetProgressGauge()->GetValue() == 5; }));
    EXPECT_TRUE(m_frame->GetProgressGauge()->IsShown());
    EXPECT_TRUE(Status().StartsWith(L"选择加倍 ")) << Status();
    EXPECT_TRUE(SaveScreenshotIfAsked(m_frame, "map-calibration-running.png", true));

    // Only the run switches fuel: the user's controls are dead, say why and send nothing.
    const wxString running = L"自动标定正在进行，请等它结束。";
    guitest::UpdateUiAsIdle(m_frame);
    wxCheckBox* check = m_frame->m_injectorChecks[1];
    const wxWindow* const dead[] = {m_frame->m_fuelButton, check, m_page->m_eraseGasButton};
    for (const wxWindow* control : dead)
        EXPECT_TRUE(!control->IsEnabled() && control->GetToolTipText() == running) << control->GetId();
    const long switches = sent(CMD_SWITCH_FUEL);
    Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH);
    check->SetValue(!check->GetValue());
    Fire(check, wxEVT_CHECKBOX, check->GetId());
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_SERVICE);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(Tick());
    EXPECT_EQ(sent(CMD_SWITCH_FUEL), switches);

    ASSERT_TRUE(TickUntil([&] { return sent(CMD_READ_PARAMETERS) == 1; }));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(Tick());
    const wxString refused = L"燃料没有切换。\n" + running;
    EXPECT_EQ(boxes.m_messages, (std::vector<wxString>{L"自动标定应使发动机处于怠速状态！", refused, refused,
                                                       L"信息服务没有打开。\n" + running, L"自动标定完成."}));
    EXPECT_FALSE(m_frame->GetProgressGauge()->IsShown());
    EXPECT_EQ(m_page->m_calibrateButton->GetLabel(), L"自动修正");
    EXPECT_TRUE(m_page->m_plot->IsEnabled());
    // The whole map in view, 0.5 to 26 ms, as before the run.
    EXPECT_EQ(m_page->m_plot->GetViewRect(), PlotMap::kHomeView);
    ExpectTidyLayout(m_page, false);
    EXPECT_TRUE(SaveScreenshotIfAsked(m_frame, "map-calibration-done.png", true));
}

TEST_F(MapPageTest, DemoPortToolOrClosingMidRunStopsTheCarFirst)
{
    const std::pair<std::function<void()>, const wchar_t*> cases[] = {
        {[&] { m_frame->ToggleDemo(); }, L"演示模式已启动,自动标定已停止"},
        {[&] { m_frame->PrepareExit(); }, L"程序关闭,自动标定已停止"},
        {[&] { Fire(m_frame, wxEVT_TOOL, ID_TOOL_PORT); }, L"端口已关闭,自动标定已停止"}};
    m_ecu.UseIdleCar();
    for (const auto& [act, said] : cases)
    {
        ASSERT_EQ(0, theController->OpenPort(m_ecu.SlavePath()));
        theController->ResetLink();
        ASSERT_TRUE(TickUntil([&] { return theController->m_online && !m_page->m_plot->m_modified; }));
        ModalCatcher boxes;
        Fire(m_page, wxEVT_BUTTON, MapPane::ID_AUTO_CALIBRATE);
        ASSERT_TRUE(TickUntil([&] { return m_frame->GetProgressGauge()->GetValue() == 4; }));
        m_ecu.ClearReceived();
        // The window waits for the stop's answer; the ECU gives it from a
        // thread of its own meanwhile.
        std::atomic<bool> done{false};
        std::thread serving([&] {
            while (!done)
                m_ecu.WaitForRequest(std::chrono::milliseconds(20));
        });
        act();
        done = true;
        serving.join();
        const std::vector<unsigned char> wire = m_ecu.ReceivedCommands();
        EXPECT_EQ(std::count(wire.begin(), wire.end(), CMD_STOP_CALIBRATION), 1) << said;
        EXPECT_EQ(std::count(wire.begin(), wire.end(), CMD_WRITE_CALIBRATION), 0) << said;
        for (const Bytes& queued : Queued())
            EXPECT_NE(queued[1], CMD_STOP_CALIBRATION) << "a second stop waits";
        EXPECT_EQ(m_page->m_calibrateButton->GetLabel(), L"自动标定");
        EXPECT_FALSE(m_frame->GetProgressGauge()->IsShown());
        EXPECT_EQ(Status(), said);
        if (theController->m_demoMode)
            m_frame->ToggleDemo();
    }
    EXPECT_FALSE(theController->m_port->IsOpen());
}

} // namespace
