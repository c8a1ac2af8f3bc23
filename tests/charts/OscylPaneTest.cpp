// The oscilloscope page fed live frames by a controller: sampling, the
// scroll and hold rule, pause, the channel check boxes and registration.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>

#include "ChannelColours.h"
#include "Controller.h"
#include "GuiTest.h"
#include "LivePayloadBuilder.h"
#include "OscylPane.h"

namespace
{

// Reaches the redraw flags and renders the area as its back buffer gets it.
class PlotOscylProbe : public PlotOscyl
{
public:
    using PlotOscyl::PlotOscyl;
    int& DirtyFlags() { return m_dirtyFlags; }
};

wxImage RenderArea(PlotOscyl* plot)
{
    const wxRect area = plot->GetAreaSize();
    wxBitmap bitmap(area.width, area.height);
    {
        wxMemoryDC dc(bitmap);
        plot->DrawArea(&dc, area);
    }
    return bitmap.ConvertToImage();
}

int PixelsOf(const wxImage& image, const wxColour& colour)
{
    int n = 0;
    const unsigned char* p = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, p += 3)
        n += p[0] == colour.Red() && p[1] == colour.Green() && p[2] == colour.Blue();
    return n;
}

// Readings that put every channel on a height of its own in the band.
LivePayloadBuilder SpreadReadings()
{
    LivePayloadBuilder live;
    live.Pressures(0.6, 0.2).SupplyVoltage(11.0).O2Voltages(0.2, 1.0).PetrolTime(0, 2.0);
    live.GasInjectionTime(7.0).Temperatures(30, 17).Rpm(17);
    return live;
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
        EXPECT_EQ(guitest::AssertionCount(), m_assertions);
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

    // A click on a check box as the toolkit delivers it.
    static void Toggle(wxCheckBox* check, bool value)
    {
        check->SetValue(value);
        wxCommandEvent event(wxEVT_CHECKBOX, check->GetId());
        event.SetEventObject(check);
        event.SetInt(value);
        check->GetEventHandler()->ProcessEvent(event);
    }
    void ClickPause()
    {
        wxCommandEvent event(wxEVT_BUTTON, OscylPane::ID_PAUSE);
        event.SetEventObject(m_pane->m_pauseButton);
        m_pane->m_pauseButton->GetEventHandler()->ProcessEvent(event);
    }

    OscylPane* m_pane = nullptr;
    PlotOscylProbe* m_probe = nullptr;
    int m_assertions = 0;
};

TEST_F(OscylTest, ViewScrollsOnceTheNewestPointNearsTheRightEdge)
{
    PlotOscyl* plot = MakeProbe();
    struct Step
    {
        int framesSoFar;
        double originX;
    };
    // The initial point counts: 189 frames make 190 points.
    const Step steps[] = {{1, 0.0}, {189, 0.0}, {190, 1.0}, {191, 2.0}, {400, 211.0}};
    int fed = 0;
    for (const Step& s : steps)
    {
        Feed(s.framesSoFar - fed);
        fed = s.framesSoFar;
        EXPECT_EQ(s.framesSoFar + 1, Count(plot)) << s.framesSoFar << " frames";
        EXPECT_EQ(s.originX, plot->GetViewRect().m_x) << s.framesSoFar << " frames";
        EXPECT_NEAR(PlotOscyl::kViewWidth, plot->GetViewRect().m_width, 1e-9);
    }
    // Panned up and down by hand: the next scroll puts the band back.
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
    ASSERT_EQ(100, Count(plot));
    const wxRect2DDouble zoomed(0.0, 0.0, 50.0, 6.0);
    ASSERT_TRUE(plot->SetViewRect(zoomed));

    plot->DirtyFlags() = 0;
    Feed(30);
    EXPECT_EQ(130, Count(plot)) << "sampling goes on while held";
    EXPECT_EQ(zoomed.m_x, plot->GetViewRect().m_x);
    EXPECT_NEAR(zoomed.m_width, plot->GetViewRect().m_width, 1e-9);
    EXPECT_EQ(0, plot->DirtyFlags()) << "no redraw while held";

    // Back at the newest point a narrower view follows it too, the newest
    // point a twentieth of the width (at least one frame) from its right
    // edge, frame after frame.
    struct Zoom
    {
        double width, lead;
    };
    for (const Zoom& z : {Zoom{50.0, 47.5}, Zoom{10.0, 9.0}})
    {
        const int n = Count(plot);
        ASSERT_TRUE(plot->SetViewRect(wxRect2DDouble(n - z.width / 2, 0.0, z.width, 6.0)));
        for (int frame = 1; frame <= 5; ++frame)
        {
            plot->DirtyFlags() = 0;
            Feed(1);
            EXPECT_NEAR(n + frame - z.lead, plot->GetViewRect().m_x, 1e-9) << z.width << " wide";
            EXPECT_TRUE(plot->DirtyFlags() & wxPLOTCTRL_REDRAW_PLOT) << z.width << " wide";
        }
    }
}

TEST_F(OscylTest, PauseKeepsPointsAndViewAndResumesTheNumbering)
{
    MakePane();
    PlotOscyl* plot = m_pane->m_plot;
    Feed(200);
    const double origin = plot->GetViewRect().m_x;

    ClickPause();
    EXPECT_EQ(wxString(L"开始 "), m_pane->m_pauseButton->GetLabel());
    Feed(25);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        EXPECT_EQ(201, Count(plot, channel)) << "channel " << channel;
    EXPECT_EQ(origin, plot->GetViewRect().m_x);

    ClickPause();
    EXPECT_EQ(wxString(L"暂停"), m_pane->m_pauseButton->GetLabel());
    Feed(1, LivePayloadBuilder().Rpm(30));
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
    {
        const wxPlotData* curve = plot->GetChannel(channel);
        ASSERT_EQ(202, curve->GetCount());
        EXPECT_EQ(201.0, curve->GetXValue(201)) << "channel " << channel;
    }
    EXPECT_DOUBLE_EQ(3.0, plot->GetChannel(9)->GetYValue(201));
}

TEST_F(OscylTest, EachChannelPlotsItsOwnReadingInItsBand)
{
    PlotOscyl* plot = MakeProbe();
    LivePayloadBuilder live;
    live.Pressures(1.2, 0.95).SupplyVoltage(12.6).O2Voltages(0.45, 0.8);
    live.PetrolTime(0, 4.2).PetrolTime(1, 6.0).GasInjectionTime(5.6).Temperatures(65, 26).Rpm(25);
    Feed(1, live);
    const Controller& c = *theController;

    struct Row
    {
        int channel;
        double expected;
    };
    const Row rows[] = {
        {0, 3.2},  // 1.2 bar + 2
        {9, 2.5},  // 2500 rpm
        {1, c.m_manifoldPressure + 3.0},
        {2, c.m_supplyVoltage / 3.0},
        {3, c.m_o2Voltage1 / 2.3},
        {4, c.m_o2Voltage2 / 2.3},
        {5, c.m_petrolInjectionTimes[0] / (20.0 / 7.0)},
        {6, c.m_gasInjectionTime / 7.0},
        {7, c.m_gasTemperature / 13.0},
        {8, c.m_reducerTemperature / 15.0},
    };
    for (const Row& r : rows)
    {
        const wxPlotData* curve = plot->GetChannel(r.channel);
        ASSERT_EQ(2, curve->GetCount());
        EXPECT_EQ(1.0, curve->GetXValue(1)) << "channel " << r.channel;
        EXPECT_NEAR(r.expected, curve->GetYValue(1), 1e-9) << "channel " << r.channel;
    }
}

TEST_F(OscylTest, CheckBoxHidesOnlyItsChannelAndSamplingGoesOn)
{
    MakePane();
    PlotOscyl* plot = m_pane->m_plot;
    Feed(40, SpreadReadings());
    const wxImage all = RenderArea(plot);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        ASSERT_GT(PixelsOf(all, ChannelColours[channel]), 20) << "channel " << channel << " drawn in its colour";

    // Channels whose curves the control holds at other indexes too.
    for (int hidden : {0, 2, 5, 9})
    {
        wxCheckBox* check = m_pane->m_channelChecks[hidden];
        EXPECT_EQ(OscylPane::ID_CHANNEL_CHECK_FIRST + hidden, check->GetId());
        Toggle(check, false);
        const int before = Count(plot, hidden);
        Feed(15, SpreadReadings());
        EXPECT_EQ(before + 15, Count(plot, hidden)) << "channel " << hidden;
        const wxImage shown = RenderArea(plot);
        for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        {
            const int pixels = PixelsOf(shown, ChannelColours[channel]);
            if (channel == hidden)
                EXPECT_EQ(0, pixels) << "channel " << hidden << " hidden";
            else
                EXPECT_GT(pixels, 20) << "channel " << channel << " with " << hidden << " hidden";
        }
        Toggle(check, true);
        // Shown again, with the points taken meanwhile: the curve reaches
        // the newest x.
        const wxImage again = RenderArea(plot);
        const int right = plot->PlotXToPixel(Count(plot, hidden) - 1);
        const int row = plot->PlotYToPixel(plot->GetChannel(hidden)->GetYValue(Count(plot, hidden) - 1));
        bool reached = false;
        for (int dy = -1; dy <= 1; ++dy)
            reached |= wxColour(again.GetRed(right - 1, row + dy), again.GetGreen(right - 1, row + dy),
                                again.GetBlue(right - 1, row + dy)) == ChannelColours[hidden];
        EXPECT_TRUE(reached) << "channel " << hidden << " drawn up to its newest point";
    }
}

TEST_F(OscylTest, OnePointPerFrameHoweverThePlotWasRegistered)
{
    struct Case
    {
        const char* name;
        bool controllerFirst;
        int attachCalls;
    };
    const Case cases[] = {
        {"controller made before the page", true, 0},
        {"controller first, then attached twice more", true, 2},
        {"page first, attached twice", false, 2},
    };
    for (const Case& k : cases)
    {
        delete theController;
        theController = k.controllerFirst ? new Controller : nullptr;
        auto* plot = new PlotOscyl(guitest::SharedFrame(), wxID_ANY, 0);
        if (!theController)
            theController = new Controller;
        for (int i = 0; i < k.attachCalls; ++i)
            plot->OnAttach();
        Feed(3);
        EXPECT_EQ(4, Count(plot)) << k.name;
        delete plot;
        EXPECT_TRUE(theController->m_observers.empty()) << k.name;
    }
}

TEST_F(OscylTest, PageMadeAgainLeavesNoDeadObserver)
{
    for (int round = 0; round < 3; ++round)
    {
        MakePane();
        Feed(2);
        EXPECT_EQ(3, Count(m_pane->m_plot)) << "round " << round;
        delete m_pane;
        m_pane = nullptr;
        // Told after the page is gone: nothing reaches it (the sanitizer
        // build would stop on a call into freed memory).
        Feed(1);
        EXPECT_TRUE(theController->m_observers.empty());
    }
}

TEST_F(OscylTest, ChannelCurvesCannotBeRemovedThroughTheControl)
{
    PlotOscyl* plot = MakeProbe();
    for (int index : {-1, 0, 4, 9})
    {
        EXPECT_FALSE(plot->DeleteCurveAt(index, true)) << "index " << index;
        EXPECT_EQ(PlotOscyl::kChannels, plot->GetCurveCount());
    }
    Feed(1);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        EXPECT_EQ(2, Count(plot, channel));
}

TEST_F(OscylTest, ViewDraggedBackStaysThereUntilDraggedToTheNewestPoint)
{
    MakePane();
    guitest::SharedFrame()->Show();
    PlotOscyl* plot = m_pane->m_plot;
    wxPlotCtrlArea* area = plot->GetPlotArea();
    // A left drag in the area through the control's own mouse handling.
    auto drag = [&](int fromX, int toX) {
        struct Step
        {
            wxEventType type;
            int x;
            bool held;
        };
        const Step steps[] = {{wxEVT_LEFT_DOWN, fromX, true},
                              {wxEVT_MOTION, (fromX + toX) / 2, true},
                              {wxEVT_MOTION, toX, true},
                              {wxEVT_LEFT_UP, toX, false}};
        for (const Step& s : steps)
        {
            wxMouseEvent event(s.type);
            event.m_x = s.x;
            event.m_y = 100;
            event.m_leftDown = s.held;
            event.SetEventObject(area);
            area->GetEventHandler()->ProcessEvent(event);
        }
    };
    Feed(300);
    ASSERT_EQ(111.0, plot->GetViewRect().m_x);
    const double zoom = plot->GetZoomX();

    drag(300, 390);
    const double held = plot->GetViewRect().m_x;
    EXPECT_NEAR(111.0 - 90 / zoom, held, 1e-9) << "the view follows the pointer";
    Feed(20);
    EXPECT_EQ(held, plot->GetViewRect().m_x) << "held on the older data";
    EXPECT_EQ(321, Count(plot));

    // Dragged on past the newest point: the scrolling takes over again.
    drag(390, 230);
    ASSERT_GE(plot->GetViewRect().m_x + plot->GetViewRect().m_width, 321.0);
    Feed(1);
    EXPECT_EQ(322.0 - 190.0, plot->GetViewRect().m_x);
    EXPECT_FALSE(area->HasCapture());
}

TEST_F(OscylTest, ControlKeysCannotDeleteAChannel)
{
    MakePane();
    PlotOscyl* plot = m_pane->m_plot;
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
        ASSERT_GE(plot->GetActiveIndex(), 0);
        key(WXK_DELETE);
        EXPECT_EQ(PlotOscyl::kChannels, plot->GetCurveCount()) << "turn " << turn;
    }
    Feed(1);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        EXPECT_EQ(2, Count(plot, channel)) << "channel " << channel;
}

TEST_F(OscylTest, FittingTheViewTakesInEverySample)
{
    PlotOscyl* plot = MakeProbe();
    Feed(299, SpreadReadings());
    double top = 0;
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
        top = std::max(top, plot->GetChannel(channel)->GetYValue(299));
    ASSERT_TRUE(plot->FitToCurve(-1));
    const wxRect2DDouble view = plot->GetViewRect();
    EXPECT_LE(view.m_x, 0.0);
    EXPECT_GE(view.m_x + view.m_width, 299.0);
    EXPECT_LE(view.m_y, 0.0);
    EXPECT_GE(view.m_y + view.m_height, top);
}

} // namespace
