// The plot control's view: zoom, bounds, pixel mapping, ticks, history and
// the auto-scroll timer.

#include "PlotCtrlTestSupport.h"
#include "wxPlotFunction.h"

#include <wx/scrolbar.h>
#include <wx/timer.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

namespace
{
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

TEST_F(PlotCtrlTest, CreatedTooSmallBecomesTwentySquare)
{
    auto* small = new wxPlotCtrl(guitest::SharedFrame(), wxID_ANY, wxPoint(0, 0), wxSize(10, 10));
    EXPECT_EQ(wxSize(20, 20), small->GetSize());
    // The layout of a tiny control clamps instead of going negative.
    EXPECT_GE(small->GetPlotAreaRect().width, 0);
    EXPECT_GE(small->GetPlotAreaRect().height, 0);
    EXPECT_GE(small->GetXAxisRect().width, 0);
    EXPECT_GE(small->GetYAxisRect().height, 0);
    delete small;
}

TEST_F(PlotCtrlTest, VetoedViewChangeKeepsTheViewAndSendsNoChanged)
{
    const wxRect2DDouble before = m_plot->GetViewRect();
    m_log.m_veto.insert(wxEVT_PLOTCTRL_VIEW_CHANGING);
    EXPECT_FALSE(m_plot->SetViewRect(wxRect2DDouble(1, 2, 3, 4), true));
    EXPECT_TRUE(SameRect(before, m_plot->GetViewRect(), 0));
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_VIEW_CHANGING));
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_VIEW_CHANGED));

    m_log.m_veto.clear();
    EXPECT_TRUE(m_plot->SetViewRect(wxRect2DDouble(1, 2, 3, 4), true));
    ASSERT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_VIEW_CHANGED));
    EXPECT_DOUBLE_EQ(1.0, m_log.Last(wxEVT_PLOTCTRL_VIEW_CHANGED)->x);
    EXPECT_DOUBLE_EQ(2.0, m_log.Last(wxEVT_PLOTCTRL_VIEW_CHANGED)->y);
    EXPECT_TRUE(SameRect(wxRect2DDouble(1, 2, 3, 4), m_plot->GetViewRect()));
}

TEST_F(PlotCtrlTest, NonFiniteViewIsReportedAndLeavesTheView)
{
    struct Case
    {
        const char* name;
        wxRect2DDouble view;
        const char* message;
    };
    const Case cases[] = {
        {"NaN origin x", wxRect2DDouble(NaN, 0, 5, 5), "X origin is not finite"},
        {"infinite origin y", wxRect2DDouble(0, -Inf, 5, 5), "Y origin is not finite"},
        {"zero width", wxRect2DDouble(0, 0, 0, 5), "X zoom is NaN"},
        {"zero height", wxRect2DDouble(0, 0, 5, 0), "Y zoom is NaN"},
        {"NaN width", wxRect2DDouble(0, 0, NaN, 5), "Plot width is NaN"},
        {"denormal width", wxRect2DDouble(0, 0, 4.9e-324, 5), "X zoom is NaN"},
        {"huge height", wxRect2DDouble(0, 0, 5, Inf), "Plot height is NaN"},
        {"right edge beyond the doubles", wxRect2DDouble(1e308, 0, 1e308, 5), "Plot width is NaN"},
        {"top edge beyond the doubles", wxRect2DDouble(0, 1.5e308, 5, 1e308), "Plot height is NaN"},
    };
    for (const Case& c : cases)
    {
        m_log.m_events.clear();
        const wxRect2DDouble before = m_plot->GetViewRect();
        const wxPoint2DDouble zoomBefore = m_plot->GetZoom();
        EXPECT_FALSE(m_plot->SetViewRect(c.view, true)) << c.name;
        EXPECT_TRUE(SameRect(before, m_plot->GetViewRect(), 0)) << c.name;
        EXPECT_EQ(zoomBefore.m_x, m_plot->GetZoomX()) << c.name;
        ASSERT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_ERROR)) << c.name;
        EXPECT_EQ(wxString(c.message), m_log.Last(wxEVT_PLOTCTRL_ERROR)->text) << c.name;
        EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_VIEW_CHANGING)) << c.name;
    }
}

TEST_F(PlotCtrlTest, FiniteCheckWithoutMessageSendsNothing)
{
    EXPECT_TRUE(m_plot->IsFiniteOrReport(1.0, wxS("x")));
    EXPECT_FALSE(m_plot->IsFiniteOrReport(NaN));
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_ERROR));
    EXPECT_FALSE(m_plot->IsFiniteOrReport(Inf, wxS("bad")));
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_ERROR));
}

TEST_F(PlotCtrlTest, FitAllUsesDefaultBoundsOrCurvesWithMargin)
{
    m_plot->SetFitPlotOnNewCurve(false);
    EXPECT_TRUE(m_plot->SetZoom(-1, -1, 0, 0));
    EXPECT_TRUE(SameRect(wxRect2DDouble(-10, -10, 20, 20), m_plot->GetViewRect()));

    struct Case
    {
        std::vector<wxPoint2DDouble> points;
        wxRect2DDouble fitted;
    };
    const Case cases[] = {
        {{{0, 0}, {10, 5}}, wxRect2DDouble(-0.2, -0.1, 10.4, 5.2)},
        {{{3, 4}}, wxRect2DDouble(2, 3, 2, 2)},                    // one point: no margin
        {{{0, 1}, {10, 1}}, wxRect2DDouble(-0.2, 0, 10.4, 2)},     // flat line
    };
    for (const Case& c : cases)
    {
        m_plot->DeleteCurveAt(-1);
        ASSERT_TRUE(m_plot->AddCurve(Curve(c.points)));
        EXPECT_TRUE(m_plot->SetZoom(-1, -1, 0, 0));
        EXPECT_TRUE(SameRect(c.fitted, m_plot->GetViewRect())) << c.points.size();
    }
}

TEST_F(PlotCtrlTest, PixelMappingTruncatesAndSaturates)
{
    m_plot->SetAreaSizeForTest(100, 100);
    ASSERT_TRUE(m_plot->SetZoom(1, 1, 0, 0));
    struct Case
    {
        double v;
        int x, y;
    };
    const Case cases[] = {
        {-1.4, 0, 101},   {0.4, 0, 100}, {-1.5, -1, 102}, {0.5, 1, 100},
        {0, 0, 100},      {100, 100, 0}, {NaN, INT_MAX, INT_MAX},
        {1e300, INT_MAX, INT_MIN},       {-1e300, INT_MIN, INT_MAX},
        {2147483647.0, INT_MAX, -2147483546}, {-3e9, INT_MIN, INT_MAX},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.x, m_plot->PlotXToPixel(c.v)) << c.v;
        EXPECT_EQ(c.y, m_plot->PlotYToPixel(c.v)) << c.v;
    }
}

TEST_F(PlotCtrlTest, TicksOfTheKnownViews)
{
    struct Case
    {
        bool xAxis;
        int width;
        double start, end;
        double step;
        const char* format;
        int count;
    };
    const Case cases[] = {
        {true, 600, 0, 21.7, 2.0, "%.0lf", 12},
        {false, 300, 0, 1, 0.1, "%.1lf", 11},
    };
    for (const Case& c : cases)
    {
        m_plot->CharSize() = wxSize(6, 12);
        m_plot->SetAreaSizeForTest(c.width, c.width);
        if (c.xAxis)
            m_plot->ViewRect() = wxRect2DDouble(c.start, 0, c.end - c.start, 1);
        else
            m_plot->ViewRect() = wxRect2DDouble(0, c.start, 1, c.end - c.start);
        m_plot->CalcTicks(c.xAxis);
        const double step = c.xAxis ? m_plot->GetXTickStep() : m_plot->GetYTickStep();
        EXPECT_NEAR(c.step, step, c.step * 1e-9) << c.start;
        EXPECT_EQ(wxString(c.format), c.xAxis ? m_plot->GetXTickFormat() : m_plot->GetYTickFormat())
            << c.start;
        EXPECT_EQ(c.count, c.xAxis ? m_plot->GetXTickCount() : m_plot->GetYTickCount()) << c.start;
    }
}

TEST_F(PlotCtrlTest, LabelsTurnExponentialOutsideTheLimit)
{
    struct Case
    {
        double start, end;
        int limit;
        bool exponential;
    };
    const Case cases[] = {
        {-0.0005, 0.0005, 1000, true}, {2000, 3000, 1000, true}, {0, 999, 1000, false},
        {2000, 3000, 50000, false},    {-0.5, 0.5, 1000, false},
    };
    for (const Case& c : cases)
    {
        m_plot->SetAreaSizeForTest(600, 300);
        m_plot->TickLabelLimit() = c.limit;
        m_plot->ViewRect() = wxRect2DDouble(c.start, 0, c.end - c.start, 1);
        m_plot->CalcTicks(true);
        EXPECT_EQ(c.exponential, m_plot->GetXTickFormat().EndsWith(wxS("le"))) << c.start;
        EXPECT_GT(m_plot->GetXTickCount(), 1) << c.start;
    }
}

TEST_F(PlotCtrlTest, ExtremeViewsStayBoundedAndDefined)
{
    const double origins[] = {0, 1e-300, -1e300, 1e300, 4.9e-324, 1e15, -7.5e200};
    const double widths[] = {4.9e-324, 1e-300, 1e-10, 1e-3, 1, 1e10, 1e300};
    for (double origin : origins)
        for (double width : widths)
        {
            m_plot->SetViewRect(wxRect2DDouble(origin, origin, width, width));
            // The same view straight into the members: CalcTicks must cope with
            // what a derived page may set.
            m_plot->ViewRect() = wxRect2DDouble(origin, origin, width, width);
            m_plot->SetSnapTicksToPixels(true);
            m_plot->Redraw(wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
            m_plot->SetSnapTicksToPixels(false);
            EXPECT_LE(m_plot->GetXTickCount(), 1000) << origin << " " << width;
            EXPECT_LE(m_plot->GetYTickCount(), 1000) << origin << " " << width;
            EXPECT_LE(m_plot->GetXTickPositions().size(), 1000u);
            EXPECT_EQ(m_plot->GetXTickPositions().size(), m_plot->GetXTickLabels().GetCount());
            EXPECT_TRUE(std::isfinite(m_plot->GetZoomX()));
            EXPECT_GT(m_plot->GetZoomX(), 0);
        }
}

TEST_F(PlotCtrlTest, CursorKeysStepOnePixelOnAFunctionCurveFarOutsideTheView)
{
    auto* function = new wxPlotFunction;
    ASSERT_TRUE(function->Create(wxS("x")));
    ASSERT_TRUE(m_plot->AddCurve(function, true));
    m_plot->SetAreaSizeForTest(200, 100);
    const struct
    {
        const char* name;
        double cursorX;
        int key, direction;
    } cases[] = {
        {"right, in view", 5, '.', 1},
        {"left, in view", 5, ',', -1},
        // Columns beyond the ends of int.
        {"right, far right", 1e12, '.', 1},
        {"left, far right", 1e12, ',', -1},
        {"right, far left", -1e12, '.', 1},
        {"left, far left", -1e12, ',', -1},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 20, 10)));  // 10 pixels a unit
        ASSERT_TRUE(m_plot->SetCursorAtX(0, c.cursorX)) << c.name;
        wxKeyEvent key(wxEVT_CHAR);
        key.m_keyCode = c.key;
        m_plot->ProcessAreaCharEvent(key);
        const double moved = m_plot->GetCursorPoint().m_x - c.cursorX;
        EXPECT_GT(moved * c.direction, 0) << c.name;
        EXPECT_LE(std::fabs(moved), 2 / m_plot->GetZoomX()) << c.name;
    }
}

TEST_F(PlotCtrlTest, SnappingFarFromZeroNeverFitsAll)
{
    m_plot->SetAreaSizeForTest(400, 300);
    m_plot->SetSnapTicksToPixels(true);
    // Here t + step rounds to t: the tick spacing is no pixel at all.
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(1e15, 0, 1e-3, 1)));
    EXPECT_EQ(1e15, m_plot->GetViewRect().m_x);
    EXPECT_NEAR(1e-3, m_plot->GetViewRect().m_width, 1e-3);
}

TEST_F(PlotCtrlTest, SnappedTicksFallOnWholePixels)
{
    m_plot->SetAreaSizeForTest(400, 300);
    m_plot->SetSnapTicksToPixels(true);
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0.013, -1.7, 9.91, 3.3)));
    const double xSpacing = m_plot->GetZoomX() * m_plot->GetXTickStep();
    const double ySpacing = m_plot->GetZoomY() * m_plot->GetYTickStep();
    EXPECT_NEAR(std::round(xSpacing), xSpacing, 1e-6);
    EXPECT_NEAR(std::round(ySpacing), ySpacing, 1e-6);
    ASSERT_FALSE(m_plot->GetXTickPositions().empty());
    const double first = std::ceil(m_plot->GetViewRect().m_x / m_plot->GetXTickStep()) *
                         m_plot->GetXTickStep();
    EXPECT_NEAR(0.0, std::fmod((first - m_plot->GetViewRect().m_x) * m_plot->GetZoomX() + 1e-7, 1.0),
                1e-6);
}

TEST_F(PlotCtrlTest, TickLabelsReadBackUnderAGermanLocale)
{
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/bootstrap generates it)";
    ASSERT_EQ(',', *std::localeconv()->decimal_point);
    m_plot->SetAreaSizeForTest(400, 300);
    m_plot->SetSnapTicksToPixels(true);
    const bool ok = m_plot->SetViewRect(wxRect2DDouble(0.013, 0.021, 0.991, 0.33));
    const wxArrayString labels = m_plot->GetYTickLabels();
    const double ySpacing = m_plot->GetZoomY() * m_plot->GetYTickStep();
    std::setlocale(LC_ALL, old.c_str());

    ASSERT_TRUE(ok);
    ASSERT_FALSE(labels.empty());
    for (const wxString& label : labels)
        EXPECT_EQ(wxNOT_FOUND, label.Find(',')) << label;
    EXPECT_NE(wxNOT_FOUND, labels[0].Find('.')) << labels[0];
    // Snapping read the labels back: the spacing is whole pixels.
    EXPECT_NEAR(std::round(ySpacing), ySpacing, 1e-6);
}

TEST_F(PlotCtrlTest, SixthHistoryEntryDropsTheOldest)
{
    for (int i = 0; i < 6; ++i)
    {
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(i, 0, 10, 10)));
        m_plot->PushViewHistory();
    }
    ASSERT_EQ(5, m_plot->GetViewHistoryCount());
    EXPECT_EQ(4, m_plot->GetViewHistoryIndex());
    EXPECT_NEAR(1.0, m_plot->GetViewHistory(0).m_x, 1e-9);
    EXPECT_NEAR(5.0, m_plot->GetViewHistory(4).m_x, 1e-9);

    m_plot->PushViewHistory();  // the same view again adds nothing
    EXPECT_EQ(5, m_plot->GetViewHistoryCount());

    m_plot->StepViewHistory(false);
    EXPECT_NEAR(4.0, m_plot->GetViewRect().m_x, 1e-9);
    m_plot->StepViewHistory(true);
    EXPECT_NEAR(5.0, m_plot->GetViewRect().m_x, 1e-9);
}

TEST_F(PlotCtrlTest, ScrollBarsMoveTheViewWithoutEvents)
{
    m_plot->SetAreaSizeForTest(200, 100);
    m_plot->SetFitPlotOnNewCurve(false);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {100, 50}})));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 10, 5)));
    const wxRect2DDouble bounds = m_plot->GetCurvesBoundingRect();
    struct Case
    {
        wxEventType type;
        int id;
        int position;
        bool onRelease;
        bool moves;
    };
    const Case cases[] = {
        {wxEVT_SCROLL_THUMBRELEASE, wxPLOTCTRL_ID_XSCROLLBAR, 500, false, true},
        {wxEVT_SCROLL_THUMBTRACK, wxPLOTCTRL_ID_XSCROLLBAR, 700, false, true},
        {wxEVT_SCROLL_THUMBTRACK, wxPLOTCTRL_ID_XSCROLLBAR, 900, true, false},
        {wxEVT_SCROLL_LINEDOWN, wxPLOTCTRL_ID_YSCROLLBAR, 40, true, true},
        {wxEVT_SCROLL_THUMBRELEASE, 999, 40, false, false},
    };
    for (const Case& c : cases)
    {
        m_plot->SetScrollOnThumbRelease(c.onRelease);
        m_log.m_events.clear();
        const wxRect2DDouble before = m_plot->GetViewRect();
        wxScrollEvent event(c.type, c.id, c.position);
        m_plot->GetEventHandler()->ProcessEvent(event);
        const wxRect2DDouble after = m_plot->GetViewRect();
        EXPECT_EQ(c.moves, !SameRect(before, after, 0)) << c.position;
        EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_VIEW_CHANGED)) << c.position;
        if (c.moves && c.id == wxPLOTCTRL_ID_XSCROLLBAR)
        {
            const double range = m_plot->GetXScrollBar()->GetRange();
            EXPECT_NEAR(c.position / range * bounds.m_width + bounds.m_x, after.m_x, 1e-9);
            EXPECT_NEAR(before.m_width, after.m_width, 1e-9);
        }
    }
}

TEST_F(PlotCtrlTest, AutoScrollMovesTwentyPixelsAndStopsInside)
{
    m_plot->SetAreaSizeForTest(200, 100);
    ASSERT_TRUE(m_plot->SetZoom(2, 4, 0, 0));
    struct Case
    {
        wxPoint mouse;
        double dx, dy;
        bool running;
    };
    const Case cases[] = {
        {{-5, 50}, -10, 0, true},   // left of the area: 20 pixels left
        {{250, 50}, 10, 0, true},
        {{50, -1}, 0, 5, true},     // above: up
        {{50, 101}, 0, -5, true},
        {{50, 50}, 0, 0, false},    // inside: stops
    };
    for (const Case& c : cases)
    {
        const wxRect2DDouble before = m_plot->GetViewRect();
        m_plot->GetPlotArea()->m_lastMousePos = c.mouse;
        m_plot->StartAutoScrollTimer(wxPLOTCTRL_TIMER_AREA);
        wxTimer timer(m_plot, wxPLOTCTRL_TIMER_AREA);
        wxTimerEvent event(timer);
        m_plot->OnTimer(event);
        EXPECT_NEAR(before.m_x + c.dx, m_plot->GetViewRect().m_x, 1e-9) << c.mouse.x;
        EXPECT_NEAR(before.m_y + c.dy, m_plot->GetViewRect().m_y, 1e-9) << c.mouse.y;
        EXPECT_EQ(c.running, m_plot->IsAutoScrollTimerRunning()) << c.mouse.x;
    }
}

TEST_F(PlotCtrlTest, AutoScrollTimerRunsUntilThePointerReturns)
{
    m_plot->SetAreaSizeForTest(200, 100);
    ASSERT_TRUE(m_plot->SetZoom(2, 2, 0, 0));
    m_plot->GetPlotArea()->m_lastMousePos = wxPoint(300, 50);
    m_plot->StartAutoScrollTimer(wxPLOTCTRL_TIMER_AREA);
    EXPECT_TRUE(guitest::WaitFor([&] { return m_plot->GetViewRect().m_x >= 20.0; }));
    m_plot->GetPlotArea()->m_lastMousePos = wxPoint(10, 50);
    EXPECT_TRUE(guitest::WaitFor([&] { return !m_plot->IsAutoScrollTimerRunning(); }));
    const double stopped = m_plot->GetViewRect().m_x;
    EXPECT_NEAR(0.0, std::fmod(stopped, 10.0), 1e-9);
}

} // namespace
