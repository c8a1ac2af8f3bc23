// Whole calibrations on the serial line: the real controller on a pty against
// the simulated ECU's idling car, the real machine started and stepped as the
// map page does it, and a stand-in for the page around it. The test drives
// the poll ticks itself and waits for the ECU only when a request went out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "CalibrationFsm.h"
#include "CalibrationHost.h"
#include "Controller.h"
#include "ControllerObserver.h"
#include "FSM_Listener.h"
#include "IdleCar.h"
#include "MapModel.h"
#include "MapObserver.h"
#include "SimulatedEcu.h"

namespace
{

using Bytes = SimulatedEcu::Bytes;

// Status line, gauge and poll timer as the main window keeps them; every box
// is recorded as "text|caption" and answered OK.
struct MainWindowHost : CalibrationHost
{
    void SetStatusMessage(const wxString& text) override { status.push_back(text); }
    void ShowProgress(bool show) override { gauge = show; }
    void SetProgress(int value) override { progress.push_back(value); }
    void StopPollTimer() override {}
    void StartPollTimer() override {}
    int ShowMessageBox(const wxString& text, const wxString& caption, long) override
    {
        boxes.push_back(text + "|" + caption);
        return wxOK;
    }
    std::vector<wxString> status, boxes;
    std::vector<int> progress;
    bool gauge = false;
};

// One live frame the machine was stepped on.
struct SteppedFrame
{
    int state; // chain index before the step
    int petrolTenths;
    double reducer;
};

// The map page and the main window around the machine, without windows:
// - each live frame marks the link online (the main window's part) and
//   steps the held machine;
// - the page's map timer, run once per poll tick, sends a changed map (11,
//   then 32) once the controller is ready;
// - the end of a run: command 2, the map seeded from the learned point, and
//   the "自动标定完成." box, opened after the notification has returned and
//   closed a few ticks later with polling going on; closing it asks for the
//   parameters (12);
// - a parameter frame is read back into the map as the map plot does it,
//   which marks the map changed, so it goes back to the controller.
class PageStandIn : public ControllerObserver, public FSM_Listener, public MapObserver
{
public:
    static constexpr int kBoxOpenTicks = 10;

    PageStandIn(Controller& c, CalibrationHost& host) : m_c(c), m_host(host) {}

    void OnControllerData() override
    {
        m_c.m_online = 1;
        if (!fsm || !fsm->IsRunning())
            return;
        frames.push_back({fsm->GetCurrentIndex(), static_cast<int>(m_c.m_petrolInjectionTimes[0] * 10.0 + 0.5),
                          m_c.m_reducerTemperature});
        RunCalibrationStep(fsm);
    }
    void OnParametersLoaded() override
    {
        MapModel& map = *theMapModel;
        map.ClearMapPoints();
        for (int i = 10; i < MapModel::kEntries; ++i)
            map.SetMultiplier(i, m_c.m_multiplierMap[i]);
        for (unsigned char index : m_c.m_mapPointIndices)
            if (index != 0)
                map.AddMapPoint(index, -1.0);
        ++readBacks;
    }
    void OnAttach() override {}

    void OnCalibrationFinished() override
    {
        ++finished;
        wxPoint2DDouble point(1.0, 1.0);
        if (m_c.m_calibrating)
        {
            point = wxPoint2DDouble(m_c.m_calibrationTime * 0.1, m_c.m_calibrationAverage);
            m_c.FinishCalibration();
        }
        theMapModel->BuildCalibratedMap(point, m_c.m_multiplier, m_c.m_calibrationMultiplier);
        m_boxDue = true;
    }
    void OnCalibrationStopped() override { ++stopped; }

    void OnPointAdded() override {}
    void OnMapEvent(int) override {}
    void OnPointsMoved(bool) override {}
    void OnMarkersCleared() override {}
    void OnMarkersChanged() override {}
    void SetModified(bool changed) override { modified = changed; }

    // What the page's own event handlers do between two poll ticks.
    void AfterTick()
    {
        if (m_boxDue)
        {
            m_boxDue = false;
            m_boxTicksLeft = kBoxOpenTicks;
            m_host.ShowMessageBox(L"自动标定完成.", L"自动修正", wxOK);
        }
        else if (m_boxTicksLeft > 0 && --m_boxTicksLeft == 0)
        {
            m_c.RequestParameters();
        }
        // As IsControllerReady: a live link and no calibration running.
        const bool ready = m_c.m_online && m_c.m_connected && !m_c.m_linkLost && !m_c.m_calibrating;
        if (modified && ready)
        {
            m_c.SendMultiplierMap(theMapModel->GetCurve().GetYData());
            m_c.SendMapPoints(theMapModel->PointIndexTable().data());
            modified = false;
        }
    }
    bool BoxOpen() const { return m_boxDue || m_boxTicksLeft > 0; }

    std::unique_ptr<CalibrationFsm> fsm;
    std::vector<SteppedFrame> frames;
    int finished = 0, stopped = 0, readBacks = 0;
    bool modified = false;

private:
    Controller& m_c;
    CalibrationHost& m_host;
    bool m_boxDue = false;
    int m_boxTicksLeft = 0;
};

// A controller on the pty of an ECU with an idling car, the map model and
// the page around the machine.
class CalibrationLine
{
public:
    // Far more than a whole run needs (about 2 400 ticks).
    static constexpr int kTickLimit = 8000;

    CalibrationLine()
    {
        m_previousModel = theMapModel;
        theMapModel = &model;
        model.AddObserver(&page);
        controller.AddObserver(&page);
    }
    ~CalibrationLine()
    {
        model.RemoveObserver(&page);
        theMapModel = m_previousModel;
    }

    // One poll tick and the page's handlers after it; a request written in
    // the tick is taken and answered by the ECU before the next one.
    bool Tick()
    {
        controller.PollTick();
        const bool sent = controller.m_awaitingReply && controller.m_ticksSinceSend == 0;
        if (sent && !ecu.WaitForRequest())
            return false;
        page.AfterTick();
        return true;
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
        return !page.modified && std::all_of(controller.m_requestQueue.begin(), controller.m_requestQueue.end(),
                                             [](const Request& r) { return r.m_command == CMD_READ_LIVE_DATA; });
    }
    // Connects and, once the link has settled, presses the calibration
    // button at idle; the wire is recorded from the press on.
    void Start()
    {
        ASSERT_TRUE(ecu.IsOpen());
        ASSERT_EQ(0, controller.OpenPort(ecu.SlavePath()));
        ASSERT_TRUE(TickUntil([&] { return controller.m_online == 1 && Settled(); }));
        ecu.ClearReceived();
        page.fsm = StartGasCalibration(&page, controller, host);
        ASSERT_TRUE(page.fsm);
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
        return static_cast<int>(std::count_if(page.frames.begin(), page.frames.end(),
                                              [&](const SteppedFrame& f) { return f.state == state; }));
    }

    SimulatedEcu ecu;
    IdleCar& car = ecu.UseIdleCar();
    MainWindowHost host;
    Controller controller;
    MapModel model;
    PageStandIn page{controller, host};

private:
    MapModel* m_previousModel = nullptr;
};

} // namespace

TEST(IdleCarCalibration, RunLearnsTheCarsMultiplierAndItsMapComesBackFromTheEcu)
{
    CalibrationLine line;
    ASSERT_NO_FATAL_FAILURE(line.Start());
    const PageStandIn& page = line.page;
    const Controller& controller = line.controller;
    const MainWindowHost& host = line.host;
    ASSERT_TRUE(line.TickUntil([&] { return page.readBacks >= 2 && line.Settled(); }));
    // Nothing follows the second upload.
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(line.Tick());

    EXPECT_EQ(page.finished, 1);
    EXPECT_EQ(page.stopped, 0);
    EXPECT_FALSE(page.fsm);
    EXPECT_EQ(controller.m_calibrating, 0);
    EXPECT_FALSE(host.gauge);
    EXPECT_EQ(host.progress.front(), 1);
    EXPECT_EQ(host.progress.back(), 13);
    EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()));
    EXPECT_EQ(host.boxes.back(), wxString(L"自动标定完成.|自动修正"));

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
    EXPECT_TRUE(std::is_sorted(page.frames.begin(), page.frames.end(),
                               [](const SteppedFrame& a, const SteppedFrame& b) { return a.state < b.state; }));
    EXPECT_GE(page.frames.size(), 1100u);
    EXPECT_LE(page.frames.size(), 1200u);

    // The reducer crossed 50 °C, dipped, and the wait ended on the step
    // after ten warm frames in a row.
    std::vector<double> reducer;
    for (const SteppedFrame& f : page.frames)
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
    for (const SteppedFrame& f : page.frames)
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
    ASSERT_EQ(wire.size(), run.size() + 5);
    EXPECT_EQ(std::vector<Bytes>(wire.begin(), wire.begin() + static_cast<long>(run.size())), run);
    const Bytes& map = wire[run.size()];
    const Bytes& points = wire[run.size() + 1];
    EXPECT_EQ(map[0], CMD_WRITE_MULTIPLIER_MAP);
    EXPECT_EQ(points, (Bytes{32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 25, 50, 75, 100, 125, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(wire[run.size() + 2], (Bytes{12, 1}));
    EXPECT_EQ(wire[run.size() + 4], points);

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

    // Read back, the map goes out again as the whole percents the ECU keeps,
    // and the ECU's parameters hold what was sent last.
    const Bytes& again = wire[run.size() + 3];
    ASSERT_EQ(again.size(), map.size());
    for (int entry = 10; entry <= 255; ++entry)
        EXPECT_LE(std::abs(percent(again, entry) - percent(map, entry)), 1) << "entry " << entry;
    const Bytes held = line.car.ParameterPayload();
    EXPECT_TRUE(std::equal(again.begin() + 1, again.end(), held.begin() + 62));
    EXPECT_TRUE(std::equal(points.begin() + 11, points.end(), held.begin() + 52));
    EXPECT_EQ(held[32], 0x75);
    EXPECT_EQ(held[35], 0x14);
}

TEST(IdleCarCalibration, StallMidwayStopsTheRunWithOneStopAndNothingLearned)
{
    struct Case { const char* what; int state; };
    const Case cases[] = {{"while the reducer warms", 0}, {"in the first gas phase", 3}, {"in the last gas phase", 11}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CalibrationLine line;
        ASSERT_NO_FATAL_FAILURE(line.Start());
        ASSERT_TRUE(line.TickUntil([&] { return line.page.fsm && line.page.fsm->GetCurrentIndex() == c.state; }));
        line.car.StallFrom(line.car.LiveFrames());
        ASSERT_TRUE(line.TickUntil([&] { return !line.page.fsm; }));
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(line.Tick());

        EXPECT_EQ(line.page.stopped, 1);
        EXPECT_EQ(line.page.finished, 0);
        EXPECT_EQ(line.controller.m_calibrating, 0);
        EXPECT_EQ(line.controller.m_rpm, 0.0);
        EXPECT_FALSE(line.host.gauge);
        EXPECT_EQ(line.host.status.back(), wxString(L"发动机已熄火,自动标定已停止"));
        const std::vector<Bytes> wire = line.Commands();
        ASSERT_FALSE(wire.empty());
        EXPECT_EQ(wire.back(), (Bytes{5, 0}));
        for (unsigned char never : {CMD_STOP_CALIBRATION, CMD_WRITE_CALIBRATION, CMD_WRITE_MULTIPLIER_MAP,
                                    CMD_WRITE_MAP_POINTS, CMD_READ_PARAMETERS})
            EXPECT_EQ(std::count_if(wire.begin(), wire.end() - 1, [&](const Bytes& w) { return w[0] == never; }), 0)
                << int(never);
    }
}
