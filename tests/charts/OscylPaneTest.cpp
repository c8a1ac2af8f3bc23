// The oscilloscope page fed live frames by a controller: sampling, the
// scroll and hold rule, pause, the channel check boxes and registration.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <tuple>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "ChannelColours.h"
#include "Controller.h"
#include "GuiTest.h"
#include "LivePayloadBuilder.h"
#include "OscylPane.h"
#include "PixelCompare.h"

namespace
{

class PlotOscylProbe : public PlotOscyl
{
public:
    using PlotOscyl::PlotOscyl;
    int& DirtyFlags() { return m_dirtyFlags; }
};

// Pixels of each channel's colour in the area as its back buffer gets it.
std::array<int, PlotOscyl::kChannels> ChannelPixels(PlotOscyl* plot)
{
    wxBitmap bitmap(plot->GetAreaSize().GetSize());
    {
        wxMemoryDC dc(bitmap);
        plot->DrawArea(&dc, plot->GetAreaSize());
    }
    const wxImage image = bitmap.ConvertToImage();
    std::array<int, PlotOscyl::kChannels> n{};
    const unsigned char* end = image.GetData() + 3 * image.GetWidth() * image.GetHeight();
    for (const unsigned char* p = image.GetData(); p < end; p += 3)
        for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        {
            const wxColour& c = ChannelColours[channel];
            n[channel] += p[0] == c.Red() && p[1] == c.Green() && p[2] == c.Blue();
        }
    return n;
}

class OscylTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_assertions = guitest::AssertionCount();
        theController = new Controller;
    }
    void TearDown() override
    {
        delete m_pane;
        delete m_probe;
        delete theController;
        theController = nullptr;
        EXPECT_EQ(m_assertions, guitest::AssertionCount());
    }
    OscylPane* MakePane()
    {
        m_pane = new OscylPane(guitest::SharedFrame(), wxID_ANY);
        m_pane->SetSize(760, 420);
        m_pane->Layout();
        m_pane->m_plot->DoSize();
        return m_pane;
    }
    PlotOscylProbe* MakeProbe()
    {
        m_probe = new PlotOscylProbe(guitest::SharedFrame(), wxID_ANY, 0x220);
        m_probe->SetSize(640, 360);
        m_probe->DoSize();
        return m_probe;
    }
    static void Feed(int frames, const LivePayloadBuilder& live = LivePayloadBuilder())
    {
        for (int i = 0; i < frames; ++i)
            theController->ApplyLiveData(live.Payload().data(), live.Payload().size());
    }
    static int Count(const PlotOscyl* plot, int channel = 0) { return plot->GetChannel(channel)->GetCount(); }
    // A command event from control, as a click delivers it.
    static void Click(wxControl* control, wxEventType type, int value = 0)
    {
        wxCommandEvent event(type, control->GetId());
        event.SetEventObject(control);
        event.SetInt(value);
        control->GetEventHandler()->ProcessEvent(event);
    }

    OscylPane* m_pane = nullptr;
    PlotOscylProbe* m_probe = nullptr;
    int m_assertions = 0;
};

TEST_F(OscylTest, ViewScrollsOnceTheNewestPointNearsTheRightEdge)
{
    PlotOscyl* plot = MakeProbe();
    // {frames so far, x origin}; the initial point counts: 189 frames make 190 points.
    const int steps[][2] = {{189, 0}, {190, 1}, {191, 2}, {400, 211}};
    for (const auto& s : steps)
    {
        Feed(s[0] + 1 - Count(plot));
        EXPECT_EQ(s[1], plot->GetViewRect().m_x) << s[0] << " frames";
    }
    // Panned up or down by hand: the next scroll puts the band back.
    for (double y : {1.5, -2.0})
    {
        ASSERT_TRUE(plot->SetOrigin(plot->GetViewRect().m_x, y));
        Feed(1);
        EXPECT_EQ(0.0, plot->GetViewRect().m_y) << "panned to " << y;
    }
}

TEST_F(OscylTest, ViewMovedAwayFromTheNewestPointIsHeldUntilMovedBack)
{
    PlotOscylProbe* plot = MakeProbe();
    Feed(99);
    ASSERT_TRUE(plot->SetViewRect(wxRect2DDouble(0.0, 0.0, 50.0, 6.0)));
    plot->DirtyFlags() = 0;
    Feed(30);
    EXPECT_EQ(130, Count(plot)) << "sampling goes on while held";
    EXPECT_EQ(0.0, plot->GetViewRect().m_x);
    EXPECT_EQ(0, plot->DirtyFlags()) << "no redraw while held";

    // Back at the newest point a narrower view follows it too, the newest
    // point a twentieth of the width (at least a frame) from its right edge.
    for (const auto& zoom : {std::pair{50.0, 47.5}, std::pair{10.0, 9.0}})
    {
        const int n = Count(plot);
        ASSERT_TRUE(plot->SetViewRect(wxRect2DDouble(n - zoom.first / 2, 0.0, zoom.first, 6.0)));
        for (int frame = 1; frame <= 5; ++frame)
        {
            plot->DirtyFlags() = 0;
            Feed(1);
            EXPECT_NEAR(n + frame - zoom.second, plot->GetViewRect().m_x, 1e-9) << zoom.first << " wide";
            EXPECT_TRUE(plot->DirtyFlags() & wxPLOTCTRL_REDRAW_PLOT) << zoom.first << " wide";
        }
    }
}

TEST_F(OscylTest, ViewDraggedBackStaysThereUntilDraggedToTheNewestPoint)
{
    MakePane();
    guitest::SharedFrame()->Show();
    PlotOscyl* plot = m_pane->m_plot;
    wxPlotCtrlArea* area = plot->GetPlotArea();
    // A left drag in the area through the control's own mouse handling.
    auto drag = [&](int fromX, int toX) {
        const std::tuple<wxEventType, int, bool> steps[] = {{wxEVT_LEFT_DOWN, fromX, true},
                                                            {wxEVT_MOTION, (fromX + toX) / 2, true},
                                                            {wxEVT_MOTION, toX, true},
                                                            {wxEVT_LEFT_UP, toX, false}};
        for (const auto& [type, x, held] : steps)
        {
            wxMouseEvent event(type);
            event.m_x = x;
            event.m_y = 100;
            event.m_leftDown = held;
            event.SetEventObject(area);
            area->GetEventHandler()->ProcessEvent(event);
        }
    };
    Feed(300);
    ASSERT_EQ(111.0, plot->GetViewRect().m_x);
    drag(300, 390);
    const double held = plot->GetViewRect().m_x;
    EXPECT_NEAR(111.0 - 90 / plot->GetZoomX(), held, 1e-9) << "the view follows the pointer";
    Feed(20);
    EXPECT_EQ(held, plot->GetViewRect().m_x) << "held on the older data";

    // Dragged on past the newest point: the scrolling takes over again.
    drag(390, 230);
    Feed(1);
    EXPECT_EQ(322.0 - 190.0, plot->GetViewRect().m_x);
    EXPECT_FALSE(area->HasCapture());
}

TEST_F(OscylTest, PauseKeepsPointsAndViewAndResumesTheNumbering)
{
    PlotOscyl* plot = MakePane()->m_plot;
    Feed(200);
    const double origin = plot->GetViewRect().m_x;
    Click(m_pane->m_pauseButton, wxEVT_BUTTON);
    EXPECT_EQ(wxString(L"开始 "), m_pane->m_pauseButton->GetLabel());
    Feed(25);
    EXPECT_EQ(origin, plot->GetViewRect().m_x);

    Click(m_pane->m_pauseButton, wxEVT_BUTTON);
    EXPECT_EQ(wxString(L"暂停"), m_pane->m_pauseButton->GetLabel());
    Feed(1, LivePayloadBuilder().Rpm(30));
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
    {
        ASSERT_EQ(202, Count(plot, channel)) << "channel " << channel;
        EXPECT_EQ(201.0, plot->GetChannel(channel)->GetXValue(201)) << "channel " << channel;
    }
    EXPECT_DOUBLE_EQ(3.0, plot->GetChannel(9)->GetYValue(201));
}

TEST_F(OscylTest, EachChannelPlotsItsOwnReadingInItsBand)
{
    PlotOscyl* plot = MakeProbe();
    Feed(1, LivePayloadBuilder()
                .Pressures(1.2, 0.95).SupplyVoltage(12.6).O2Voltages(0.45, 0.8).PetrolTime(0, 4.2)
                .PetrolTime(1, 6.0).GasInjectionTime(5.6).Temperatures(65, 26).Rpm(25));
    const Controller& c = *theController;
    // {channel, plotted value}: 1.2 bar + 2, 2500 rpm, then each reading
    // over its scale.
    const std::pair<int, double> rows[] = {
        {0, 3.2},
        {9, 2.5},
        {1, c.m_manifoldPressure + 3.0},
        {2, c.m_supplyVoltage / 3.0},
        {3, c.m_o2Voltage1 / 2.3},
        {4, c.m_o2Voltage2 / 2.3},
        {5, c.m_petrolInjectionTimes[0] / (20.0 / 7.0)},
        {6, c.m_gasInjectionTime / 7.0},
        {7, c.m_gasTemperature / 13.0},
        {8, c.m_reducerTemperature / 15.0},
    };
    for (const auto& [channel, expected] : rows)
        EXPECT_NEAR(expected, plot->GetChannel(channel)->GetYValue(1), 1e-9) << "channel " << channel;
}

TEST_F(OscylTest, CheckBoxHidesOnlyItsChannelAndSamplingGoesOn)
{
    PlotOscyl* plot = MakePane()->m_plot;
    // Every channel on a height of its own in the band.
    const LivePayloadBuilder spread = LivePayloadBuilder()
                                          .Pressures(0.6, 0.2).SupplyVoltage(11.0).O2Voltages(0.2, 1.0)
                                          .PetrolTime(0, 2.0).GasInjectionTime(7.0).Temperatures(30, 17).Rpm(17);
    Feed(40, spread);
    // Channels whose curves the control holds at other indexes too.
    for (int hidden : {0, 2, 5, 9})
    {
        wxCheckBox* check = m_pane->m_channelChecks[hidden];
        check->SetValue(false);
        Click(check, wxEVT_CHECKBOX, 0);
        Feed(15, spread);
        const auto pixels = ChannelPixels(plot);
        for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
            EXPECT_EQ(channel != hidden, pixels[channel] > 20) << channel << " with " << hidden << " hidden";
        EXPECT_EQ(0, pixels[hidden]);
        check->SetValue(true);
        Click(check, wxEVT_CHECKBOX, 1);
        // Shown again with the points taken meanwhile: the line reaches the
        // newest point.
        const int newest = Count(plot, hidden) - 1;
        plot->SetViewRect(wxRect2DDouble(newest - 1, 0, 2, 6));
        EXPECT_GT(ChannelPixels(plot)[hidden], 0) << "channel " << hidden;
        plot->SetViewRect(wxRect2DDouble(0, 0, PlotOscyl::kViewWidth, PlotOscyl::kBandHeight));
    }
}

TEST_F(OscylTest, OnePointPerFrameHoweverThePlotWasRegistered)
{
    // {controller made before the page, further OnAttach calls}
    const std::pair<bool, int> cases[] = {{true, 0}, {true, 2}, {false, 2}};
    for (const auto& [controllerFirst, attachCalls] : cases)
    {
        delete theController;
        theController = controllerFirst ? new Controller : nullptr;
        auto* plot = new PlotOscyl(guitest::SharedFrame(), wxID_ANY, 0);
        if (!theController)
            theController = new Controller;
        for (int i = 0; i < attachCalls; ++i)
            plot->OnAttach();
        Feed(3);
        EXPECT_EQ(4, Count(plot)) << controllerFirst << " " << attachCalls;
        delete plot;
        // Told after the plot is gone: nothing reaches it (the sanitizer
        // build would stop on a call into freed memory).
        Feed(1);
        EXPECT_TRUE(theController->m_observers.empty());
    }
    // A page made again in the same process starts afresh.
    Feed(2);
    EXPECT_EQ(1, Count(MakePane()->m_plot));
    Feed(2);
    EXPECT_EQ(3, Count(m_pane->m_plot));
}

TEST_F(OscylTest, NeitherKeysNorCallsCanRemoveAChannel)
{
    PlotOscyl* plot = MakePane()->m_plot;
    auto key = [&](int code) {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = code;
        event.m_uniChar = code < WXK_START ? code : WXK_NONE;
        event.SetEventObject(plot->GetPlotArea());
        plot->GetPlotArea()->GetEventHandler()->ProcessEvent(event);
    };
    // Space makes the curves active in turn; delete would remove the active one.
    for (int turn = 0; turn < 3; ++turn)
    {
        key(' ');
        key(WXK_DELETE);
    }
    EXPECT_FALSE(plot->DeleteCurveAt(-1, true));
    EXPECT_FALSE(plot->DeleteCurveAt(4, true));
    EXPECT_EQ(PlotOscyl::kChannels, plot->GetCurveCount());
    Feed(1);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        EXPECT_EQ(2, Count(plot, channel)) << "channel " << channel;
}

TEST_F(OscylTest, FittingTheViewTakesInEverySample)
{
    PlotOscyl* plot = MakeProbe();
    Feed(299, LivePayloadBuilder().Rpm(50));
    ASSERT_TRUE(plot->FitToCurve(-1));
    const wxRect2DDouble view = plot->GetViewRect();
    EXPECT_LE(view.m_x, 0.0);
    EXPECT_GE(view.m_x + view.m_width, 299.0);
    EXPECT_GE(view.m_y + view.m_height, 5.0);
}

// Frame after frame, before and once the view scrolls, and after the tick
// font, the colours or the channels shown change, the back buffers hold
// what the toolkit's own drawing makes of the plot.
TEST_F(OscylTest, FramesPaintWhatTheToolkitDraws)
{
    PlotOscylProbe* plot = MakeProbe();
    // Only the toolkit constructs paint events; its class information can.
    std::unique_ptr<wxPaintEvent> paint(wxDynamicCast(wxCreateDynamicObject("wxPaintEvent"), wxPaintEvent));
    // Each window painted as its paint event does, onto a stand-in screen.
    auto paintAll = [&] {
        wxBitmap screen(plot->GetClientSize());
        wxMemoryDC dc(screen);
        plot->DrawAreaWindow(*paint, &dc, plot->GetPlotArea());
        plot->DrawAxisWindow(*paint, &dc, plot->GetPlotXAxis());
        plot->DrawAxisWindow(*paint, &dc, plot->GetPlotYAxis());
    };
    const std::pair<const wxBitmap*, std::function<void(wxDC&)>> windows[] = {
        {&plot->GetPlotArea()->m_bitmap, [&](wxDC& dc) { plot->DrawArea(&dc, plot->GetAreaSize()); }},
        {&plot->GetPlotXAxis()->m_bitmap, [&](wxDC& dc) { plot->DrawXAxis(&dc, true); }},
        {&plot->GetPlotYAxis()->m_bitmap, [&](wxDC& dc) { plot->DrawYAxis(&dc, true); }}};
    const wxFont bold(11, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
    const std::tuple<int, const char*, std::function<void()>> checks[] = {
        {150, "not scrolling yet", [] {}},
        {195, "scrolling", [] {}},
        {200, "bold tick font", [&] { plot->SetAxisFont(bold); }},
        {205, "dark background", [&] { plot->SetBackgroundColour(wxColour(20, 30, 40)); }},
        {210, "a channel hidden, another grid colour", [&] {
             plot->SetChannelVisible(5, false);
             plot->SetGridColour(wxColour(90, 200, 90));
         }}};
    int frame = 0;
    for (const auto& [at, name, change] : checks)
    {
        while (frame < at)
        {
            const double s = std::sin(++frame * 0.3);
            Feed(1, LivePayloadBuilder().Pressures(1.2 + s, 0.5 + 0.4 * s).Rpm(unsigned(20 + 15 * s))
                        .PetrolTime(0, 4 + 3 * s).Temperatures(int(60 + 20 * s), int(30 - 20 * s)));
            paintAll();
        }
        change();
        paintAll();
        for (int k = 0; k < 3; ++k)
        {
            wxString where;
            // What the toolkit draws at the window's scale (GDK_SCALE).
            const wxImage drawn = pixeltest::RenderThroughToolkit(windows[k].first->GetLogicalSize(), windows[k].second,
                                                                  plot->GetContentScaleFactor());
            EXPECT_EQ(0, pixeltest::CountDifferences(windows[k].first->ConvertToImage(), drawn, &where))
                << name << ", window " << k << " at " << where;
        }
    }
    EXPECT_GT(plot->GetViewRect().m_x, 0.0);
}

} // namespace
