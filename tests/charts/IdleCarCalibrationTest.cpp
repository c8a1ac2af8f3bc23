// Whole calibrations on the serial line: the real controller on a pty against
// the simulated ECU's idling car, and the real map page with its plot, which
// starts, steps and ends the machine and sends the map. The test drives the
// poll ticks and the page's map timer itself and waits for the ECU only when
// a request went out.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>

#include "CalibrationFsm.h"
#include "CalibrationRig.h"
#include "Controller.h"
#include "ControllerObserver.h"
#include "GuiTest.h"
#include "IdleCar.h"
#include "MapModel.h"
#include "MapPane.h"
#include "PlotMap.h"
#include "SimulatedEcu.h"

namespace
{

using Bytes = SimulatedEcu::Bytes;

// One live frame the machine was stepped on.
struct SteppedFrame
{
    int state; // chain index before the step
    int petrolTenths;
    double reducer;
};

// Registered ahead of the page: sees the state each frame is about to step,
// and counts the parameter frames.
struct StepRecorder : ControllerObserver
{
    void OnControllerData() override
    {
        const Controller& c = *theController;
        if (page->m_fsm && page->m_fsm->IsRunning())
            frames.push_back({page->m_fsm->GetCurrentIndex(), static_cast<int>(c.m_petrolInjectionTimes[0] * 10.0 + 0.5),
                              c.m_reducerTemperature});
    }
    void OnParametersLoaded() override { ++readBacks; }
    void OnAttach() override {}

    MapPane* page = nullptr;
    std::vector<SteppedFrame> frames;
    int readBacks = 0;
};

// The main window's part, after the page: a live frame marks the link online.
struct FramePart : ControllerObserver
{
    void OnControllerData() override { theController->m_online = 1; }
    void OnParametersLoaded() override {}
    void OnAttach() override {}
};

// A controller on the pty of an ECU with an idling car and the map page on
// it; the page's boxes are answered OK, "自动标定完成." after some ticks.
class CalibrationLine
{
public:
    // Far more than a whole run needs (about 2 400 ticks).
    static constexpr int kTickLimit = 8000;
    static constexpr int kBoxOpenTicks = 10;

    CalibrationLine()
    {
        theController = &controller;
        controller.AddObserver(&recorder);
        page = new MapPane(guitest::SharedFrame(), wxID_ANY, true, host);
        page->m_mapTimer.Stop();
        page->OnAttach();
        controller.AddObserver(&framePart);
        recorder.page = page;
        host.whileOpen = [this](const wxString& text) {
            if (text != L"自动标定完成.")
                return;
            for (int i = 0; i < kBoxOpenTicks; ++i)
                m_ok = Tick(false) && m_ok;
            sentWhileBoxOpen = ecu.ReceivedCommands();
        };
    }
    ~CalibrationLine()
    {
        delete page;
        theController = nullptr;
    }

    // One poll tick, the ECU's answer, the page's map timer and (outside a
    // box) the events the page queued.
    bool Tick(bool events = true)
    {
        // As the main window's timer: no poll once the link is lost.
        if (!controller.m_linkLost)
            controller.PollTick();
        const bool sent = !controller.m_linkLost && controller.m_awaitingReply && controller.m_ticksSinceSend == 0;
        if (sent && !ecu.WaitForRequest())
            return false;
        page->SendMapIfChanged();
        page->EndRunIfLinkLost();
        if (events)
            wxTheApp->ProcessPendingEvents();
        return m_ok;
    }
    template <class Done> bool TickUntil(Done done)
    {
        for (int i = 0; i < kTickLimit && !done(); ++i)
            if (!Tick())
                return false;
        return done();
    }
    // Nothing but polls waits to go out, and the page has nothing to send.
    bool Settled() const
    {
        return !page->m_plot->m_modified &&
               std::all_of(controller.m_requestQueue.begin(), controller.m_requestQueue.end(),
                           [](const Request& r) { return r.m_command == CMD_READ_LIVE_DATA; });
    }
    void Press()
    {
        wxCommandEvent press(wxEVT_BUTTON, MapPane::ID_AUTO_CALIBRATE);
        press.SetEventObject(page->m_calibrateButton);
        page->GetEventHandler()->ProcessEvent(press);
    }
    // Connects and, once the link has settled, presses the calibration
    // button at idle; the wire is recorded from the press on.
    void Start()
    {
        ASSERT_TRUE(ecu.IsOpen());
        ASSERT_EQ(0, controller.OpenPort(ecu.SlavePath()));
        ASSERT_TRUE(TickUntil([&] { return controller.m_online == 1 && Settled(); }));
        // Showing the ECU's own map sends nothing back to the car.
        for (unsigned char command : ecu.ReceivedCommands())
            ASSERT_TRUE(command == CMD_READ_PARAMETERS || command == CMD_READ_LIVE_DATA || command == CMD_WRITE_HISTORY)
                << int(command);
        ecu.ClearReceived();
        Press();
        ASSERT_TRUE(page->m_fsm);
    }
    // Requests since the press other than the polls (1, 59): command and data.
    std::vector<Bytes> Commands() const
    {
        std::vector<Bytes> out;
        for (const Bytes& f : ecu.Received())
            if (f[1] != CMD_READ_LIVE_DATA && f[1] != CMD_WRITE_HISTORY)
                out.emplace_back(f.begin() + 1, f.end() - 1);
        return out;
    }
    int FramesIn(int state) const
    {
        return static_cast<int>(std::count_if(recorder.frames.begin(), recorder.frames.end(),
                                              [&](const SteppedFrame& f) { return f.state == state; }));
    }

    SimulatedEcu ecu;
    IdleCar& car = ecu.UseIdleCar();
    ScriptedHost host;
    Controller controller;
    StepRecorder recorder;
    FramePart framePart;
    MapPane* page = nullptr;
    std::vector<unsigned char> sentWhileBoxOpen;

private:
    bool m_ok = true;
};

} // namespace

TEST(IdleCarCalibration, RunLearnsTheCarsMultiplierAndThePageShowsTheMapTheEcuKept)
{
    CalibrationLine line;
    ASSERT_NO_FATAL_FAILURE(line.Start());
    const MapPane& page = *line.page;
    const StepRecorder& steps = line.recorder;
    const Controller& controller = line.controller;
    const ScriptedHost& host = line.host;
    ASSERT_TRUE(line.TickUntil([&] { return steps.readBacks >= 2 && line.Settled(); }));
    // Nothing follows the read-back: the map shown is the ECU's own.
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(line.Tick());

    EXPECT_FALSE(page.m_fsm);
    EXPECT_EQ(page.m_calibrateButton->GetLabel(), wxString(L"自动修正"));
    EXPECT_TRUE(page.m_plot->IsEnabled());
    EXPECT_EQ(controller.m_calibrating, 0);
    EXPECT_FALSE(host.gauge);
    EXPECT_EQ(host.progress.front(), 1);
    EXPECT_EQ(host.progress.back(), 13);
    EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()));
    EXPECT_EQ(host.boxes.back(), wxString(L"自动标定完成.|自动修正"));
    // The box came with polling on: the result and the map went out while it
    // was open, the parameters were asked for once it had closed.
    EXPECT_EQ(host.boxesWhilePolling, 2);
    EXPECT_EQ(std::count(line.sentWhileBoxOpen.begin(), line.sentWhileBoxOpen.end(), CMD_WRITE_MAP_POINTS), 1);
    EXPECT_EQ(std::count(line.sentWhileBoxOpen.begin(), line.sentWhileBoxOpen.end(), CMD_READ_PARAMETERS), 0);

    // Every state in turn; the counted ones stay exactly their count, the
    // gas phases after the first settle at once and leave on step 101.
    const int counted[13] = {0, 150, 100, 0, 101, 101, 75, 100, 101, 75, 100, 101, 1};
    for (int state = 0; state < 13; ++state)
    {
        SCOPED_TRACE(state);
        if (counted[state])
            EXPECT_EQ(line.FramesIn(state), counted[state]);
        else
            EXPECT_GT(line.FramesIn(state), 0);
    }
    EXPECT_TRUE(std::is_sorted(steps.frames.begin(), steps.frames.end(),
                               [](const SteppedFrame& a, const SteppedFrame& b) { return a.state < b.state; }));
    EXPECT_GE(steps.frames.size(), 1100u);
    EXPECT_LE(steps.frames.size(), 1200u);

    // The reducer crossed 50 °C, dipped, and the wait ended on the step
    // after ten warm frames in a row.
    std::vector<double> reducer;
    for (const SteppedFrame& f : steps.frames)
        if (f.state == 0)
            reducer.push_back(f.reducer);
    const auto firstWarm = std::find_if(reducer.begin(), reducer.end(), [](double t) { return t >= 50.0; });
    const auto lastCold = std::find_if(reducer.rbegin(), reducer.rend(), [](double t) { return t < 50.0; });
    ASSERT_NE(lastCold, reducer.rend());
    EXPECT_LT(firstWarm - reducer.begin(), reducer.rend() - lastCold - 1) << "no dip after crossing";
    EXPECT_EQ(lastCold - reducer.rbegin(), 11);

    // The first gas phase: the petrol time drifted out of the window while
    // the multiplier came down from 128, then stayed in for the 100 samples
    // that let the phase go, long before the 900-step cap.
    std::vector<int> petrol;
    for (const SteppedFrame& f : steps.frames)
        if (f.state == 3)
            petrol.push_back(f.petrolTenths);
    ASSERT_GT(petrol.size(), 101u);
    EXPECT_LT(petrol.size(), 900u);
    const auto inWindow = [](int tenths) { return tenths >= 25 - 2 && tenths <= 25 + 2; };
    EXPECT_FALSE(std::all_of(petrol.begin(), petrol.end(), inWindow));
    EXPECT_TRUE(std::all_of(petrol.end() - 101, petrol.end() - 1, inWindow));
    EXPECT_FALSE(inWindow(petrol.end()[-102]));

    // The wire, polls left out.
    const std::vector<Bytes> run = {
        {3, 2, 0x0F}, {37}, {3, 2, 0x0F}, {3, 2, 0x0F}, {25, 0x19, 0x02, 0x80}, {3, 3, 0x01}, {3, 3, 0x05},
        {3, 3, 0x0F}, {3, 2, 0x0F}, {3, 2, 0x0F}, {25, 0x19, 0x02, 0x76}, {3, 3, 0x0F}, {3, 2, 0x0F},
        {3, 2, 0x0F}, {25, 0x19, 0x02, 0x76}, {3, 3, 0x0F}, {2, 0x75, 0x19, 0x76, 0x14, 0x46}};
    const std::vector<Bytes> wire = line.Commands();
    ASSERT_EQ(wire.size(), run.size() + 3);
    EXPECT_EQ(std::vector<Bytes>(wire.begin(), wire.begin() + static_cast<long>(run.size())), run);
    const Bytes& map = wire[run.size()];
    const Bytes& points = wire[run.size() + 1];
    EXPECT_EQ(map[0], CMD_WRITE_MULTIPLIER_MAP);
    EXPECT_EQ(points, (Bytes{32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 25, 50, 75, 100, 125, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(wire[run.size() + 2], (Bytes{12, 1}));

    // The seeded map: 118 % up to the learned 2.5 ms, falling in four equal
    // steps to 100 % at five times that; entry i is byte i - 9 of the frame
    // (command byte first).
    ASSERT_EQ(map.size(), 247u);
    const auto percent = [&](const Bytes& m, int entry) { return int(m[static_cast<std::size_t>(entry - 9)]); };
    const std::pair<int, int> seeded[] = {{10, 118}, {25, 118}, {50, 113}, {75, 109}, {100, 104}, {125, 100}, {255, 100}};
    for (const auto& [entry, expected] : seeded)
        EXPECT_EQ(percent(map, entry), expected) << "entry " << entry;
    for (int entry = 11; entry <= 255; ++entry)
        EXPECT_LE(percent(map, entry), percent(map, entry - 1)) << "entry " << entry;

    // The ECU keeps what was sent; read back, the page shows the learned
    // points and every entry as the ECU kept it.
    const Bytes held = line.car.ParameterPayload();
    EXPECT_TRUE(std::equal(map.begin() + 1, map.end(), held.begin() + 62));
    const MapModel& shown = *page.m_plot->m_model;
    for (int entry = 10; entry <= 255; ++entry)
        EXPECT_NEAR(shown.GetCurve().GetYValue(entry) * 100.0, percent(map, entry), 1e-9) << "entry " << entry;
    EXPECT_EQ(shown.PointIndexTable(), (std::array<unsigned char, 10>{10, 25, 50, 75, 100, 125, 255, 255, 255, 255}));
    EXPECT_TRUE(std::equal(points.begin() + 11, points.end(), held.begin() + 52));
    EXPECT_EQ(held[32], 0x75);
    EXPECT_EQ(held[35], 0x14);
}

TEST(IdleCarCalibration, RunThatCannotGoOnEndsAtRestWithOneStopWhereTheLineAllows)
{
    using Trouble = void (*)(CalibrationLine&);
    const Trouble stall = [](CalibrationLine& line) { line.car.StallFrom(line.car.LiveFrames()); };
    const struct { const char* what; int state; Trouble trouble; const wchar_t* said; } cases[] = {
        {"stall while the reducer warms", 0, stall, L"发动机已熄火,自动标定已停止"},
        {"stall in the first gas phase", 3, stall, L"发动机已熄火,自动标定已停止"},
        {"stall in the last gas phase", 11, stall, L"发动机已熄火,自动标定已停止"},
        {"petrol time never settles on gas", 0, [](CalibrationLine& line) { line.car.SwingOnGas(); },
         L"喷射时间未稳定,无法标定"},
        {"petrol time reads 0 ms", 0, [](CalibrationLine& line) { line.car.PetrolTime(0); },
         L"喷射时间低于1.0ms,无法标定"},
        {"ECU silent in a gas phase", 4, [](CalibrationLine& line) { line.ecu.SetSilent(true); },
         L"ECU连接已断开,自动标定已停止"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        CalibrationLine line;
        ASSERT_NO_FATAL_FAILURE(line.Start());
        const MapPane& page = *line.page;
        ASSERT_TRUE(line.TickUntil([&] { return page.m_fsm && page.m_fsm->GetCurrentIndex() == c.state; }));
        c.trouble(line);
        ASSERT_TRUE(line.TickUntil([&] { return !page.m_fsm; }));
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(line.Tick());

        EXPECT_EQ(page.m_calibrateButton->GetLabel(), wxString(L"自动标定"));
        EXPECT_TRUE(page.m_plot->IsEnabled());
        EXPECT_EQ(line.controller.m_calibrating, 0);
        EXPECT_FALSE(line.host.gauge);
        EXPECT_EQ(line.host.status.back(), wxString(c.said));
        const std::vector<Bytes> wire = line.Commands();
        for (unsigned char never : {CMD_WRITE_CALIBRATION, CMD_WRITE_MULTIPLIER_MAP, CMD_WRITE_MAP_POINTS, CMD_READ_PARAMETERS})
            EXPECT_EQ(std::count_if(wire.begin(), wire.end(), [&](const Bytes& w) { return w[0] == never; }), 0)
                << int(never);
        if (line.controller.m_linkLost)
        {
            // Answered again on a port opened anew: the stop owed goes out.
            line.ecu.SetSilent(false);
            line.controller.ResetLink();
            for (int i = 0; i < 300; ++i)
                ASSERT_TRUE(line.Tick());
        }
        // One stop, the last thing the car heard.
        const std::vector<Bytes> all = line.Commands();
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(std::count(all.begin(), all.end(), Bytes{5, 0}), 1);
        EXPECT_EQ(all.back(), (Bytes{5, 0}));
    }
}
