// The plot control under the mouse: real pointer input through
// wxUIActionSimulator (under Xvfb), constructed events for the wheel and a
// lost capture.

#include "PlotInputSupport.h"

namespace
{

TEST_F(PlotInputTest, RubberBandZoomsOnlyWhenLargeEnough)
{
    const int w = m_size.x, h = m_size.y;
    struct Case
    {
        const char* name;
        int marker;
        wxPoint from, to;
        bool zooms;
        wxRect2DDouble view;   // after, when it zooms
    };
    const Case cases[] = {
        {"10 x 40 rectangle", wxPLOTCTRL_MARKER_RECT, {50, 50}, {60, 90}, false, {}},
        {"60 x 40 rectangle", wxPLOTCTRL_MARKER_RECT, {50, 50}, {110, 90}, true,
         {50, double(h - 90), 60, 40}},
        {"drawn backwards", wxPLOTCTRL_MARKER_RECT, {110, 90}, {50, 50}, true,
         {50, double(h - 90), 60, 40}},
        {"vertical band, flat", wxPLOTCTRL_MARKER_VERT, {50, 50}, {110, 53}, true,
         {50, 0, 60, double(h)}},
        {"vertical band, narrow", wxPLOTCTRL_MARKER_VERT, {50, 50}, {58, 120}, false, {}},
        {"horizontal band", wxPLOTCTRL_MARKER_HORIZ, {50, 50}, {53, 110}, true,
         {0, double(h - 110), double(w), 60}},
    };
    int shift = 0;   // successive presses apart, or GTK makes a double click
    for (const Case& c : cases)
    {
        shift = 20 - shift;
        OnePixelPerUnit();
        m_plot->ClearViewHistory();
        m_plot->SetAreaMouseMarker(c.marker);
        const wxRect2DDouble before = m_plot->GetViewRect();
        const wxPoint offset(shift, shift);
        Drag(c.from + offset, c.to + offset);
        const wxRect2DDouble after = m_plot->GetViewRect();
        if (c.zooms)
        {
            const wxRect2DDouble view(c.view.m_x + (c.view.m_width < w ? shift : 0),
                                      c.view.m_y - (c.view.m_height < h ? shift : 0),
                                      c.view.m_width, c.view.m_height);
            EXPECT_TRUE(SameRect(view, after, 1e-6)) << c.name << ": " << after.m_x << ","
                                                       << after.m_y << " " << after.m_width
                                                       << "x" << after.m_height;
            EXPECT_EQ(1, m_plot->GetViewHistoryCount()) << c.name;
        }
        else
        {
            EXPECT_TRUE(SameRect(before, after)) << c.name;
            EXPECT_EQ(0, m_plot->GetViewHistoryCount()) << c.name;
        }
        EXPECT_EQ(wxRect(), m_area->m_mouseRect) << c.name;
        EXPECT_FALSE(m_area->HasCapture()) << c.name;
    }
}

TEST_F(PlotInputTest, ClickNearAPointOfAnInactiveCurveTakesItAndTheCursor)
{
    ASSERT_TRUE(m_plot->AddCurve(Curve({{100, 100}, {200, 150}, {300, 100}}), false));
    ASSERT_TRUE(m_plot->AddCurve(Curve({{100, 50}, {300, 50}}), true));
    OnePixelPerUnit();
    ASSERT_EQ(1, m_plot->GetActiveIndex());
    m_log.m_events.clear();

    // Point 1 of curve 0 is at pixel (200, h - 150); the click lands 2 off.
    Click(wxPoint(202, m_size.y - 150 + 2));
    EXPECT_EQ(0, m_plot->GetActiveIndex());
    EXPECT_EQ(0, m_plot->GetCursorCurveIndex());
    EXPECT_EQ(1, m_plot->GetCursorDataIndex());
    std::vector<wxEventType> order;
    for (const RecordedEvent& e : m_log.m_events)
        if (e.type != wxEVT_PLOTCTRL_MOUSE_MOVED && e.type != wxEVT_PLOTCTRL_VIEW_CHANGED)
            order.push_back(e.type);
    const std::vector<wxEventType> expected = {
        wxEVT_PLOTCTRL_AREA_CLICK,           wxEVT_PLOTCTRL_POINT_CLICK,
        wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGING, wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGED,
        wxEVT_PLOTCTRL_CURSOR_CHANGING,       wxEVT_PLOTCTRL_CURSOR_CHANGED};
    EXPECT_EQ(expected, order);
    const RecordedEvent* point = m_log.Last(wxEVT_PLOTCTRL_POINT_CLICK);
    ASSERT_TRUE(point);
    EXPECT_EQ(200, point->x);
    EXPECT_EQ(150, point->y);

    // Three pixels off is no hit: only the area click.
    m_log.m_events.clear();
    Click(wxPoint(100 + 3, m_size.y - 100));
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_AREA_CLICK));
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_POINT_CLICK));
    EXPECT_EQ(1, m_plot->GetCursorDataIndex());
}

TEST_F(PlotInputTest, ZoomByBandStillWorksAfterDragMode)
{
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN, true);
    EXPECT_EQ(wxPLOTCTRL_MARKER_NONE, m_plot->GetAreaMouseMarker());
    EXPECT_EQ(wxPLOTCTRL_CURSOR_GRAB, m_plot->GetAreaCursor());

    // Dragging the view: it follows the pointer.
    Drag(wxPoint(200, 100), wxPoint(150, 130));
    EXPECT_TRUE(SameRect(wxRect2DDouble(50, 30, m_size.x, m_size.y), m_plot->GetViewRect()));
    EXPECT_EQ(wxPLOTCTRL_CURSOR_GRAB, m_plot->GetAreaCursor());

    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_ZOOM, true);
    EXPECT_EQ(wxPLOTCTRL_MARKER_RECT, m_plot->GetAreaMouseMarker());
    OnePixelPerUnit();
    Drag(wxPoint(40, 40), wxPoint(140, 90));
    EXPECT_TRUE(SameRect(wxRect2DDouble(40, m_size.y - 90, 100, 50), m_plot->GetViewRect()));

    // A shape chosen while dragging the view is kept.
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN);
    m_plot->SetAreaMouseMarker(wxPLOTCTRL_MARKER_VERT);
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_ZOOM);
    EXPECT_EQ(wxPLOTCTRL_MARKER_VERT, m_plot->GetAreaMouseMarker());
}

TEST_F(PlotInputTest, BandAndCrosshairArePaintedMidDragAndGoneAfter)
{
    m_plot->SetCrossHairCursor(true);
    const wxPoint a(60, 40), b(200, 120);
    // On the display: what the paints after the refreshes really left.
    auto screenShows = [&](int row, int x0, int x1, int least, int most) {
        return guitest::WaitFor([&] {
            const wxImage shown = GrabFromScreen(m_area);
            if (!shown.IsOk())
                return false;
            const int n = DarkOnRow(shown, row, x0, x1);
            return n >= least && n <= most;
        }, std::chrono::milliseconds(3000));
    };
    MoveTo(a);
    Press();
    MoveTo(b);
    const wxImage during = PaintAreaLikeThePaintHandler(m_plot);
    EXPECT_GT(DarkOnRow(during, a.y, a.x + 5, b.x - 5), 20) << "top edge of the band";
    EXPECT_GT(DarkOnRow(during, b.y - 1, a.x + 5, b.x - 5), 20) << "bottom edge of the band";
    EXPECT_EQ(b.x - a.x - 9, DarkOnRow(during, b.y, a.x + 5, b.x - 5)) << "cross hair row";
    EXPECT_TRUE(screenShows(a.y, a.x + 5, b.x - 5, 20, 1000)) << "band not on the display";
    Release();
    MoveTo(wxPoint(300, 200));
    const wxImage after = PaintAreaLikeThePaintHandler(m_plot);
    EXPECT_EQ(0, DarkOnRow(after, a.y, a.x + 5, b.x - 5));
    EXPECT_EQ(0, DarkOnRow(after, b.y - 1, a.x + 5, b.x - 5));
    EXPECT_EQ(0, DarkOnRow(after, b.y, a.x + 5, b.x - 5));
    EXPECT_GT(DarkOnRow(after, 200, 100, 200), 90) << "the cross hair moved on";
    EXPECT_TRUE(screenShows(a.y, a.x + 5, b.x - 5, 0, 0)) << "band left on the display";
    EXPECT_TRUE(screenShows(b.y, a.x + 5, b.x - 5, 0, 0)) << "old cross hair on the display";
    // Leaving the area without a drag takes the cross hair away.
    wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
    leave.m_x = -1;
    leave.m_y = 200;
    Send(m_area, leave);
    EXPECT_EQ(0, DarkOnRow(PaintAreaLikeThePaintHandler(m_plot), 200, 100, 200));
}

TEST_F(PlotInputTest, LostCaptureMidDragEndsTheDrag)
{
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN);
    MoveTo(wxPoint(100, 100));
    Press();
    MoveTo(wxPoint(m_size.x + 30, 100));
    ASSERT_TRUE(m_area->HasCapture());
    ASSERT_TRUE(m_plot->IsAutoScrollTimerRunning());
    EXPECT_EQ(wxPLOTCTRL_CURSOR_GRABBING, m_plot->GetAreaCursor());

    // A modal box takes the mouse: the toolkit has let go of the capture
    // before it tells the window.
    m_area->ReleaseMouse();
    wxMouseCaptureLostEvent lost(m_area->GetId());
    EXPECT_TRUE(Send(m_area, lost));
    EXPECT_FALSE(m_plot->IsAutoScrollTimerRunning());
    EXPECT_EQ(nullptr, m_plot->GetCaptureWindow());
    EXPECT_EQ(wxPLOTCTRL_CURSOR_GRAB, m_plot->GetAreaCursor());
    const wxRect2DDouble view = m_plot->GetViewRect();
    EXPECT_FALSE(guitest::WaitFor([&] { return !SameRect(view, m_plot->GetViewRect()); },
                                  std::chrono::milliseconds(1000)))
        << "the view moved on after the drag ended";
    ReleaseAnywhere();

    // The band goes too, and an axis handles the event (wx asserts when a
    // window that held the capture does not).
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_ZOOM);
    MoveTo(wxPoint(100, 100));
    Press();
    MoveTo(wxPoint(150, 150));
    ASSERT_NE(wxRect(), m_area->m_mouseRect);
    m_area->ReleaseMouse();
    wxMouseCaptureLostEvent lostAgain(m_area->GetId());
    Send(m_area, lostAgain);
    EXPECT_EQ(wxRect(), m_area->m_mouseRect);
    ReleaseAnywhere();
    wxMouseCaptureLostEvent axisLost(m_plot->GetPlotXAxis()->GetId());
    EXPECT_TRUE(Send(m_plot->GetPlotXAxis(), axisLost));
    EXPECT_TRUE(NoNewAssertion());
}

TEST_F(PlotInputTest, MotionWithoutTheButtonEndsADragWhoseReleaseWasLost)
{
    MoveTo(wxPoint(100, 100));
    Press();
    MoveTo(wxPoint(150, 150));
    ASSERT_TRUE(m_area->HasCapture());
    ASSERT_NE(wxRect(), m_area->m_mouseRect);
    // The release went elsewhere; the next motion comes without the button.
    wxMouseEvent motion(wxEVT_MOTION);
    motion.m_x = 160;
    motion.m_y = 160;
    Send(m_area, motion);
    EXPECT_FALSE(m_area->HasCapture());
    EXPECT_EQ(nullptr, m_plot->GetCaptureWindow());
    EXPECT_EQ(wxRect(), m_area->m_mouseRect);
    Release();
    EXPECT_TRUE(NoNewAssertion());
}

TEST_F(PlotInputTest, PlainClickAndAxisHoverAssertNothing)
{
    Click(wxPoint(100, 100));
    Click(wxPoint(160, 100));
    wxWindow* xAxis = m_plot->GetPlotXAxis();
    MoveTo(wxPoint(50, 5), xAxis);
    MoveTo(wxPoint(80, 5), xAxis);
    EXPECT_FALSE(xAxis->HasCapture());
    EXPECT_TRUE(NoNewAssertion());
}

TEST_F(PlotInputTest, WheelMovesAQuarterOfTheView)
{
    const double w = m_size.x, h = m_size.y;
    struct Case
    {
        const char* name;
        wxWindow* window;
        int rotation;
        double dx, dy;   // origin change
    };
    const Case cases[] = {
        {"area up", m_area, 120, 0, 0.25 * h},
        {"area down", m_area, -120, 0, -0.25 * h},
        {"x axis up", m_plot->GetPlotXAxis(), 120, 0.25 * w, 0},
        {"x axis down", m_plot->GetPlotXAxis(), -120, -0.25 * w, 0},
        {"y axis up", m_plot->GetPlotYAxis(), 120, 0, 0.25 * h},
        {"y axis down", m_plot->GetPlotYAxis(), -120, 0, -0.25 * h},
        {"no rotation", m_area, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        OnePixelPerUnit();
        Wheel(c.window, c.rotation);
        EXPECT_TRUE(SameRect(wxRect2DDouble(c.dx, c.dy, w, h), m_plot->GetViewRect())) << c.name;
    }
}

TEST_F(PlotInputTest, DraggingAnAxisPansAlongIt)
{
    wxWindow* xAxis = m_plot->GetPlotXAxis();
    MoveTo(wxPoint(100, 5), xAxis);
    Press();
    EXPECT_EQ(xAxis, m_plot->GetCaptureWindow());
    MoveTo(wxPoint(130, 5), xAxis);
    MoveTo(wxPoint(160, 5), xAxis);
    Release();
    EXPECT_DOUBLE_EQ(60.0, m_plot->GetViewRect().m_x);
    EXPECT_DOUBLE_EQ(0.0, m_plot->GetViewRect().m_y);
    EXPECT_EQ(nullptr, m_plot->GetCaptureWindow());
    EXPECT_FALSE(xAxis->HasCapture());

    // On thumb release the view moves once, by the whole way.
    OnePixelPerUnit();
    m_plot->SetScrollOnThumbRelease(true);
    MoveTo(wxPoint(100, 5), xAxis);
    Press();
    MoveTo(wxPoint(140, 5), xAxis);
    EXPECT_DOUBLE_EQ(0.0, m_plot->GetViewRect().m_x);
    Release();
    EXPECT_DOUBLE_EQ(40.0, m_plot->GetViewRect().m_x);
}

} // namespace
