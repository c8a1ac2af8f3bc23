// The map page under a display: the calibration button's branches, the
// cold-gas question, the end of a run, the map upload, the erase buttons and
// leaving the controller. Frames go through the controller's decoder; what
// the page queues is taken off the queue as sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/stattext.h>

#include "CalibrationRig.h"
#include "GuiTest.h"
#include "MapModel.h"
#include "MapPane.h"
#include "ParamPayloadBuilder.h"
#include "PlotMap.h"
#include "ReadingTextCtrl.h"

namespace
{

const wxString kIdleNotice = L"自动标定应使发动机处于怠速状态！|提示";
const wxString kColdQuestion = L"燃气温度过低,还要继续吗? |警告！ ";
const wxString kDone = L"自动标定完成.|自动修正";

class MapPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(theController, nullptr);
        theController = &c;
        c.m_cylinderCode = 1;
        page = new MapPane(guitest::SharedFrame(), wxID_ANY, true, host);
        page->m_mapTimer.Stop();
        page->OnAttach();
        c.m_online = c.m_connected = c.m_parametersApplied = 1;
        c.m_rpm = 8;
        gasTemperatureQuestionAnswered = false;
    }
    void TearDown() override
    {
        delete page;
        theController = nullptr;
    }

    void Fire(int id)
    {
        wxCommandEvent event(wxEVT_BUTTON, id);
        page->GetEventHandler()->ProcessEvent(event);
        Drain();
    }
    void Feed(const Live& l = {})
    {
        LivePayloadBuilder b;
        b.Rpm(l.rpm).Temperatures(l.reducer, l.gasTemp).PetrolTime(0, l.petrol).GasInjectionTime(3.2);
        b.Multiplier(l.multiplier).Pressures(1.17, 0.3).O2Voltages(0.45, 0.8);
        c.ApplyLiveData(b.Payload().data(), b.Payload().size());
        Drain();
    }
    void Drain()
    {
        for (const Request& r : c.m_requestQueue)
            sent.emplace_back(r.m_bytes.begin(), r.m_bytes.end());
        c.m_requestQueue.clear();
    }
    long Count(unsigned char command) const
    {
        return std::count_if(sent.begin(), sent.end(), [&](const Bytes& f) { return f[1] == command; });
    }
    long Boxes(const wxString& box) const { return std::count(host.boxes.begin(), host.boxes.end(), box); }
    wxString Label() const { return page->m_calibrateButton->GetLabel(); }
    // The run over with one stop, said so, the page free again.
    void ExpectEndedWithOneStop(const wchar_t* said)
    {
        EXPECT_FALSE(page->m_fsm);
        EXPECT_EQ(Count(CMD_STOP_CALIBRATION), 1);
        EXPECT_EQ(host.status.back(), said);
        EXPECT_FALSE(host.gauge);
        EXPECT_EQ(Label(), L"自动标定");
        EXPECT_TRUE(page->m_plot->IsEnabled());
    }

    Controller c;
    ScriptedHost host;
    MapPane* page = nullptr;
    std::vector<Bytes> sent;
};

TEST_F(MapPaneTest, ButtonStartsARunOnlyOnlineWithTheEngineRunning)
{
    struct Case { bool online; unsigned rpm; std::vector<wxString> boxes; bool runs; };
    const Case cases[] = {
        {false, 8, {}, false},
        {true, 4, {kIdleNotice, L"启动引擎！ |错误 "}, false},
        {true, 8, {kIdleNotice}, true},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << k.online << " at " << k.rpm * 100 << " rpm");
        host = ScriptedHost();
        sent.clear();
        c.m_online = k.online;
        c.m_rpm = k.rpm;
        Fire(MapPane::ID_AUTO_CALIBRATE);
        EXPECT_EQ(host.boxes, k.boxes);
        EXPECT_EQ(host.gauge, k.runs);
        EXPECT_EQ(bool(page->m_fsm), k.runs);
        EXPECT_EQ(page->m_plot->IsEnabled(), !k.runs);
        EXPECT_EQ(Label(), k.runs ? L"关闭自动标定 " : L"自动标定");
        EXPECT_EQ(Count(CMD_START_CALIBRATION), k.runs ? 1 : 0);
        EXPECT_EQ(sent.size(), k.runs ? 2u : 0u);
    }
    // Pressed again, the run ends with one stop.
    Fire(MapPane::ID_AUTO_CALIBRATE);
    ExpectEndedWithOneStop(L"自动标定已关闭");
}

TEST_F(MapPaneTest, ColdGasYesHoldsUntilTheProgramEndsAndNoEndsTheRunWithOneStop)
{
    const Live cold{8, 60, -5, 2.5, 118};
    for (const int answer : {wxNO, wxYES})
    {
        SCOPED_TRACE(answer == wxYES ? "Yes" : "No");
        host = ScriptedHost();
        host.answers = {wxOK, answer};
        sent.clear();
        Fire(MapPane::ID_AUTO_CALIBRATE);
        for (int i = 0; i < 20; ++i)
            Feed(cold);
        EXPECT_EQ(Boxes(kColdQuestion), 1);
        EXPECT_EQ(host.boxesWhilePolling, 1) << "only the idle notice comes with polling on";
        EXPECT_TRUE(host.polling);
        if (answer == wxYES)
        {
            ASSERT_TRUE(page->m_fsm);
            EXPECT_GT(page->m_fsm->GetCurrentIndex(), 0);
            EXPECT_EQ(Count(CMD_STOP_CALIBRATION), 0);
            // A new run does not ask again.
            Fire(MapPane::ID_AUTO_CALIBRATE);
            Fire(MapPane::ID_AUTO_CALIBRATE);
            Feed(cold);
            EXPECT_EQ(Boxes(kColdQuestion), 1);
        }
        else
            ExpectEndedWithOneStop(L"燃气温度过低,自动标定已停止");
    }
}

TEST_F(MapPaneTest, CancelAtTheColdGasBoxEndsTheRunWithOneStopAndSaysSo)
{
    host.answers = {wxOK, wxYES, wxCANCEL};
    Fire(MapPane::ID_AUTO_CALIBRATE);
    const Live cold{8, 60, -5, 2.5, 118};
    for (int i = 0; i < 2000 && page->m_fsm; ++i)
        Feed(cold);
    EXPECT_EQ(host.boxes.back(), L"在自动标定过程中燃气温度应大于0度 |注意 ");
    ExpectEndedWithOneStop(L"燃气温度过低,自动标定已停止");
}

TEST_F(MapPaneTest, FinishedRunShowsItsBoxAfterTheFrameAndReadsBackOnceClosed)
{
    Fire(MapPane::ID_AUTO_CALIBRATE);
    for (int i = 0; i < 2000 && page->m_fsm; ++i)
        Feed();
    ASSERT_FALSE(page->m_fsm);

    // The frame that finished the run has returned; the box is still to come.
    EXPECT_EQ(Boxes(kDone), 0);
    EXPECT_EQ(Count(CMD_WRITE_CALIBRATION), 1);
    EXPECT_EQ(c.m_calibrating, 0);
    EXPECT_EQ(Label(), L"自动修正");
    EXPECT_TRUE(page->m_plot->IsEnabled());
    EXPECT_DOUBLE_EQ(page->m_calibratedPoint.m_x, 2.5);
    EXPECT_EQ(page->m_plot->m_model->PointIndexTable(),
              (std::array<unsigned char, 10>{10, 25, 50, 75, 100, 125, 255, 255, 255, 255}));

    bool pollingWhileOpen = false;
    long readsWhileOpen = -1;
    host.whileOpen = [&](const wxString& text) {
        if (text + L"|自动修正" != kDone)
            return;
        pollingWhileOpen = host.polling;
        Feed();
        page->SendMapIfChanged();
        Drain();
        readsWhileOpen = Count(CMD_READ_PARAMETERS);
    };
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(Boxes(kDone), 1);
    EXPECT_TRUE(pollingWhileOpen);
    EXPECT_EQ(readsWhileOpen, 0);
    EXPECT_EQ(Count(CMD_WRITE_MULTIPLIER_MAP), 1);
    EXPECT_EQ(Count(CMD_WRITE_MAP_POINTS), 1);
    Drain();
    EXPECT_EQ(Count(CMD_READ_PARAMETERS), 1);

    // "自动修正" starts the next run.
    Fire(MapPane::ID_AUTO_CALIBRATE);
    EXPECT_TRUE(page->m_fsm);
    EXPECT_EQ(Label(), L"关闭自动标定 ");
    EXPECT_EQ(host.boxes.back(), kIdleNotice);
}

TEST_F(MapPaneTest, MapGoesOutOnceOnTheNextReadyTickOnlyWhenAnEntryDiffersFromTheEcus)
{
    // Not straight between its first two points, entry 25 with a
    // correction (150 %); 100 % from 40 on.
    ParamPayloadBuilder ecu;
    const unsigned char points[10] = {10, 40, 255, 255, 255, 255, 255, 255, 255, 255};
    ecu.MapPoints(points);
    for (unsigned i = 10; i <= 255; ++i)
        ecu.MapEntry(i, static_cast<unsigned char>(i < 40 ? 100 + i % 7 : 100), i == 25 ? 64 : 0);
    MapModel& model = *page->m_plot->m_model;
    auto raise255 = [&](double step) {
        model.SelectPointUnder(wxPoint2DDouble(25.5, model.GetPoints().back().m_value));
        model.MoveSelectedPoint(0, step);
    };
    // Sent: entries below kept as the ECU's plus added percent.
    struct Case { const char* what; std::function<void()> act; int uploads; int kept = 0; int added = 0; };
    const Case cases[] = {
        {"the ECU's map read", [&] { c.ApplyParameters(ecu.Payload().data(), ecu.Payload().size()); }, 0},
        {"the ECU's map without points read",
         [&] { ParamPayloadBuilder bare; c.ApplyParameters(bare.Payload().data(), bare.Payload().size()); }, 0},
        {"the last point up and down again", [&] { raise255(0.01); raise255(-0.01); }, 0},
        {"the last point up", [&] { raise255(0.01); }, 1, 41},
        {"a point added", [&] { model.AddMapPoint(60, 1.3); }, 1, 41},
        {"the map shifted", [&] { model.ShiftCurve(0.01); }, 1, 256, 1},
        {"edited while calibrating, sent after", [&] {
             c.m_calibrating = 1;
             model.ShiftCurve(0.01);
             page->SendMapIfChanged();
             Drain();
             EXPECT_EQ(Count(CMD_WRITE_MULTIPLIER_MAP), 0);
             c.m_calibrating = 0;
         }, 1},
        // Nothing can reach an ECU: tried once, not on every tick.
        {"edited in demo mode", [&] { c.m_demoMode = 1; raise255(0.01); }, 0},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.what);
        c.m_demoMode = 0;
        c.ApplyParameters(ecu.Payload().data(), ecu.Payload().size());
        sent.clear();
        k.act();
        for (int tick = 0; tick < 3; ++tick)
            page->SendMapIfChanged();
        Drain();
        EXPECT_EQ(Count(CMD_WRITE_MULTIPLIER_MAP), k.uploads);
        EXPECT_EQ(Count(CMD_WRITE_MAP_POINTS), k.uploads);
        EXPECT_FALSE(page->m_plot->m_modified);
        for (const Bytes& f : sent)
            for (int i = 10; f[1] == CMD_WRITE_MULTIPLIER_MAP && i < k.kept; ++i)
                ASSERT_EQ(f[2 + i - 10], ecu.Payload()[62 + i - 10] * (i == 25 ? 3 : 2) / 2 + k.added) << i;
    }
}

TEST_F(MapPaneTest, EraseClearsTheCurveAlwaysAndTellsTheEcuOnlyWhenReady)
{
    struct Case { int button; bool ready; unsigned char which; };
    const Case cases[] = {{MapPane::ID_ERASE_PETROL, true, 1}, {MapPane::ID_ERASE_PETROL, false, 1},
                          {MapPane::ID_ERASE_GAS, true, 2}, {MapPane::ID_ERASE_GAS, false, 2}};
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << k.button << (k.ready ? " ready" : " offline"));
        sent.clear();
        c.m_online = k.ready;
        wxPlotData* curve = k.which == 1 ? page->m_plot->m_petrolCurve : page->m_plot->m_gasCurve;
        curve->SetPoint(30, 3.0, 1.0);
        Fire(k.button);
        EXPECT_EQ(curve->GetYValue(30), 0.0);
        const Bytes erase{0xAA, 42, k.which, static_cast<unsigned char>(0xAA + 42 + k.which)};
        EXPECT_EQ(sent, k.ready ? std::vector<Bytes>{erase} : std::vector<Bytes>());
    }
}

TEST_F(MapPaneTest, ShowsTheReadingsOnlineAndLeavesTheControllerWhenDestroyed)
{
    c.m_online = 0;
    Feed(Live{8, 60, 20, 2.5, 118});
    EXPECT_EQ(page->m_petrolTimeText->GetLabel(), "0.0");
    c.m_online = 1;
    Feed(Live{8, 60, 20, 2.5, 118});
    const ReadingTextCtrl* texts[] = {page->m_petrolTimeText, page->m_gasTimeText, page->m_o2Text1, page->m_o2Text2};
    const wxString shown[] = {"2.5", "3.20", "0.45", "0.80"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(texts[i]->GetLabel(), shown[i]) << i;

    const ControllerObserver* plot = page->m_plot;
    const ControllerObserver* self = page;
    delete page;
    page = nullptr;
    for (const ControllerObserver* gone : {plot, self})
        EXPECT_EQ(std::count(c.m_observers.begin(), c.m_observers.end(), gone), 0);
    Feed();
}

} // namespace
