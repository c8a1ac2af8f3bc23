// Selections of points and x ranges, the selection modes, the cursor on
// function curves and the partial redraws, which must leave the back buffer
// as a whole render would.

#include "PixelCompare.h"
#include "PlotInputSupport.h"

#include "wxPlotFunction.h"

#include <random>
#include <set>

namespace
{

// x = 0, 1, ..., n - 1 with y = x.
wxPlotData* Line(int n)
{
    auto* data = new wxPlotData(n);
    for (int i = 0; i < n; ++i)
        data->SetPoint(i, i, i);
    data->CalcBoundingRect();
    return data;
}

std::vector<IntRange> Ranges(wxPlotCtrl* plot, int curve)
{
    return plot->GetDataCurveSelection(curve)->GetRanges();
}

TEST_F(PlotCtrlTest, XRangeOnSortedDataTakesExactlyTheInsidePoints)
{
    struct Case
    {
        const char* name;
        double min, max;
        bool changes;
        IntRange selected;
    };
    const Case cases[] = {
        {"inside", 2.5, 7.5, true, {3, 7}},
        {"on the points", 3, 7, true, {3, 7}},
        {"given backwards", 7.5, 2.5, true, {3, 7}},
        {"between two points", 4.2, 4.8, false, {}},
        {"a single x", 4, 4, true, {4, 4}},
        {"over the left end", -5, 1.5, true, {0, 1}},
        {"right of the data", 30, 40, false, {}},
        {"over everything", -100, 100, true, {0, 20}},
    };
    for (const Case& c : cases)
    {
        m_plot->DeleteCurveAt(-1);
        ASSERT_TRUE(m_plot->AddCurve(Line(21)));
        m_log.m_events.clear();
        EXPECT_EQ(c.changes, m_plot->SelectXRange(0, DoubleRange(c.min, c.max), true)) << c.name;
        const std::vector<IntRange> expected =
            c.changes ? std::vector<IntRange>{c.selected} : std::vector<IntRange>{};
        EXPECT_EQ(expected, Ranges(m_plot, 0)) << c.name;
        EXPECT_EQ(c.changes ? 1 : 0, m_log.Count(wxEVT_PLOTCTRL_RANGE_SELECTED)) << c.name;
    }
}

// Selection by x against a plain model: a point is selected when the last
// x range selected or deselected that holds it was selected. Data 0 is the
// run the fault showed on (0, five 1s, 2); 1 has runs of equal x, 2 runs and
// NaN x, 3 is scattered.
TEST_F(PlotCtrlTest, SelectionByXMatchesAPointModel)
{
    std::mt19937 rng(2025);
    std::uniform_int_distribution<int> grid(0, 24), coin(0, 3);
    for (int data = 0; data < 4; ++data)
    {
        std::vector<wxPoint2DDouble> points;
        for (int i = 0; i < (data == 0 ? 7 : 60); ++i)
            points.push_back({data == 0   ? (i + 4) / 5
                              : data == 3 ? grid(rng) * 0.5
                              : (data == 2 && i % 9 == 4) ? std::nan("") : (i / 4) * 0.5, grid(rng) * 0.1});
        m_plot->DeleteCurveAt(-1);
        ASSERT_TRUE(m_plot->AddCurve(Curve(points)));
        std::set<int> model;
        for (int step = 0; step < 3000; ++step)
        {
            const double a = grid(rng) * 0.25 - 0.5, b = a + (coin(rng) == 0 ? 0 : grid(rng) * 0.25);
            const bool select = coin(rng) != 0;
            for (size_t i = 0; i < points.size(); ++i)
                if (points[i].m_x >= a && points[i].m_x <= b)
                    select ? (void)model.insert(int(i)) : (void)model.erase(int(i));
            const DoubleRange range = coin(rng) == 0 ? DoubleRange(b, a) : DoubleRange(a, b);
            select ? m_plot->SelectXRange(0, range) : m_plot->DeselectXRange(0, range);
            std::set<int> selected;
            for (const IntRange& r : Ranges(m_plot, 0))
                for (int i = r.m_min; i <= r.m_max; ++i)
                    selected.insert(i);
            ASSERT_EQ(model, selected) << "data " << data << " step " << step << (select ? " +" : " -") << a << ".." << b;
        }
    }
}

TEST_F(PlotCtrlTest, DeselectingABackwardRangeTakesOnlyThatRange)
{
    ASSERT_TRUE(m_plot->AddCurve(Line(11)));
    ASSERT_TRUE(m_plot->SelectXRange(0, DoubleRange(0, 10)));
    EXPECT_TRUE(m_plot->DeselectXRange(0, DoubleRange(6, 4)));
    EXPECT_EQ((std::vector<IntRange>{{0, 3}, {7, 10}}), Ranges(m_plot, 0));
    EXPECT_TRUE(m_plot->DeselectYRange(0, DoubleRange(9, 8)));
    EXPECT_EQ((std::vector<IntRange>{{0, 3}, {7, 7}, {10, 10}}), Ranges(m_plot, 0));
}

TEST_F(PlotCtrlTest, EachSelectionModeClearsWhatItSays)
{
    struct Case
    {
        int mode;
        bool selects;
        std::vector<IntRange> curve0, curve1;   // after selecting 5..6 on curve 0
    };
    const Case cases[] = {
        {wxPLOTCTRL_SELECT_NONE, false, {{1, 2}}, {{1, 2}}},
        {wxPLOTCTRL_SELECT_SINGLE, true, {{5, 6}}, {}},
        {wxPLOTCTRL_SELECT_SINGLE_CURVE, true, {{1, 2}, {5, 6}}, {}},
        {wxPLOTCTRL_SELECT_SINGLE_PER_CURVE, true, {{5, 6}}, {{1, 2}}},
        {wxPLOTCTRL_SELECT_MULTIPLE, true, {{1, 2}, {5, 6}}, {{1, 2}}},
    };
    for (const Case& c : cases)
    {
        m_plot->DeleteCurveAt(-1);
        m_plot->AddCurve(Line(10));
        m_plot->AddCurve(Line(10));
        m_plot->SetSelectionMode(wxPLOTCTRL_SELECT_MULTIPLE);
        m_plot->SelectDataRange(0, IntRange(1, 2), true);
        m_plot->SelectDataRange(1, IntRange(1, 2), true);
        m_plot->SetSelectionMode(c.mode);
        EXPECT_EQ(c.selects, m_plot->SelectXRange(0, DoubleRange(4.5, 6.5))) << c.mode;
        EXPECT_EQ(c.curve0, Ranges(m_plot, 0)) << "mode " << c.mode;
        EXPECT_EQ(c.curve1, Ranges(m_plot, 1)) << "mode " << c.mode;
        // Deselecting never clears anything else.
        m_plot->DeselectXRange(0, DoubleRange(5, 5));
        EXPECT_EQ(c.curve1, Ranges(m_plot, 1)) << "mode " << c.mode;
    }
}

TEST_F(PlotCtrlTest, SelectingOnEveryCurveAtOnceKeepsEveryCurvesPart)
{
    m_plot->AddCurve(Line(10));
    m_plot->AddCurve(Line(10));
    m_plot->SetSelectionMode(wxPLOTCTRL_SELECT_SINGLE);
    m_plot->SelectDataRange(0, IntRange(8, 9), true);
    EXPECT_TRUE(m_plot->SelectXRange(-1, DoubleRange(1, 2)));
    EXPECT_EQ((std::vector<IntRange>{{1, 2}}), Ranges(m_plot, 0));
    EXPECT_EQ((std::vector<IntRange>{{1, 2}}), Ranges(m_plot, 1));
}

TEST_F(PlotCtrlTest, RectangleOnScatteredDataTestsEveryPoint)
{
    // Unsorted: x goes back and forth.
    ASSERT_TRUE(m_plot->AddCurve(
        Curve({{0, 0}, {5, 5}, {1, 1}, {6, 2}, {2, 8}, {3, 3}, {9, 9}, {4, 4}})));
    IntRange reported;
    m_plot->Bind(wxEVT_PLOTCTRL_RANGE_SELECTED,
                 [&](wxPlotCtrlSelEvent& e) { reported = e.GetDataRange(); e.Skip(); });
    struct Case
    {
        const char* name;
        wxRect2DDouble rect;
        bool select;
        std::vector<IntRange> after;
        IntRange event;
    };
    const Case cases[] = {
        {"x 0.5..4.5, y 0.5..4.5", {0.5, 0.5, 4, 4}, true, {{2, 2}, {5, 5}, {7, 7}}, {2, 7}},
        {"any y for x 4.5..6.5", {4.5, 0, 2, 0}, true, {{1, 3}, {5, 5}, {7, 7}}, {1, 3}},
        {"any x for y 2.5..9.5, deselect", {0, 2.5, 0, 7}, false, {{2, 3}}, {1, 7}},
    };
    for (const Case& c : cases)
    {
        m_log.m_events.clear();
        EXPECT_TRUE(m_plot->SelectRectangle(0, c.rect, c.select, true)) << c.name;
        EXPECT_EQ(c.after, Ranges(m_plot, 0)) << c.name;
        EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_RANGE_SELECTED)) << c.name;
        EXPECT_EQ(c.event, reported) << c.name;
    }
    // Nothing inside, or only what is selected already: no change, no event.
    m_log.m_events.clear();
    EXPECT_FALSE(m_plot->SelectRectangle(0, wxRect2DDouble(7, 0, 1, 1), true, true));
    EXPECT_FALSE(m_plot->SelectRectangle(0, wxRect2DDouble(0.5, 0, 1, 0), true, true));
    EXPECT_FALSE(m_plot->SelectRectangle(0, wxRect2DDouble(8.5, 0, 1, 0), false, true));
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_RANGE_SELECTED));
    EXPECT_EQ((std::vector<IntRange>{{2, 3}}), Ranges(m_plot, 0));
}

TEST_F(PlotCtrlTest, RefusedSelectionsChangeNothing)
{
    m_plot->AddCurve(Line(10));
    const double nan = std::nan("");
    struct Case
    {
        const char* name;
        int curve;
        wxRect2DDouble rect;
        const char* error;   // nullptr: none
    };
    const Case cases[] = {
        {"curve below -1", -2, {1, 1, 2, 2}, nullptr},
        {"curve past the end", 1, {1, 1, 2, 2}, nullptr},
        {"no extent", 0, {1, 1, 0, -1}, nullptr},
        {"x not a number", 0, {nan, 1, 2, 2}, "Selection x is NaN"},
        {"height not a number", 0, {1, 1, 2, nan}, "Selection height is NaN"},
    };
    for (const Case& c : cases)
    {
        m_log.m_events.clear();
        EXPECT_FALSE(m_plot->SelectRectangle(c.curve, c.rect, true, true)) << c.name;
        EXPECT_FALSE(m_plot->HasSelection()) << c.name;
        const RecordedEvent* error = m_log.Last(wxEVT_PLOTCTRL_ERROR);
        if (c.error)
        {
            ASSERT_TRUE(error) << c.name;
            EXPECT_EQ(c.error, error->text) << c.name;
        }
        else
            EXPECT_FALSE(error) << c.name;
    }
    int curve = 0, index = 0;
    wxPoint2DDouble found;
    m_log.m_events.clear();
    EXPECT_FALSE(m_plot->FindClosestPoint(wxPoint2DDouble(nan, 1), wxPoint2DDouble(1, 1), curve,
                                          index, found));
    EXPECT_EQ(-1, curve);
    ASSERT_TRUE(m_log.Last(wxEVT_PLOTCTRL_ERROR));
    EXPECT_EQ("point is not finite", m_log.Last(wxEVT_PLOTCTRL_ERROR)->text);
}

TEST_F(PlotCtrlTest, ClosestPointIsFoundWhateverTheScaleOfTheAxes)
{
    // x spans 1, y spans 1000: a box of 2 pixels is 0.005 wide and 5 high.
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0.100, 500}, {0.104, 503}, {0.2, 600}})));
    int curve = -1, index = -1;
    wxPoint2DDouble found;
    // Point 0 lies just outside the box in x but is near in y: the point
    // inside must win.
    ASSERT_TRUE(m_plot->FindClosestPoint(wxPoint2DDouble(0.1055, 500.2),
                                         wxPoint2DDouble(0.005, 5), curve, index, found));
    EXPECT_EQ(0, curve);
    EXPECT_EQ(1, index);
    EXPECT_EQ(503, found.m_y);
}

TEST_F(PlotCtrlTest, FunctionCurvesTakeXRangesAndACursor)
{
    auto* f = new wxPlotFunction;
    ASSERT_TRUE(f->Create(wxS("sin(x)*exp(-x/10)")));
    ASSERT_TRUE(m_plot->AddCurve(f));
    IntRange data(9, 9);
    DoubleRange value;
    bool selecting = true;
    m_plot->Bind(wxEVT_PLOTCTRL_RANGE_SELECTED, [&](wxPlotCtrlSelEvent& e) {
        data = e.GetDataRange();
        value = e.GetValueRange();
        selecting = e.GetSelecting();
        e.Skip();
    });
    EXPECT_TRUE(m_plot->SelectXRange(0, DoubleRange(4, 2), true));
    EXPECT_EQ(DoubleRange(2, 4), value);
    EXPECT_EQ(1, m_plot->GetSelectionCount(0));
    EXPECT_TRUE(m_plot->GetCurveSelection(0)->IsSelected(3));
    EXPECT_TRUE(m_plot->DeselectXRange(0, DoubleRange(2.5, 3), true));
    EXPECT_FALSE(selecting);
    EXPECT_TRUE(m_plot->ClearSelectedRanges(0, true));
    EXPECT_FALSE(m_plot->HasSelection(0));
    EXPECT_FALSE(m_plot->ClearSelectedRanges(0, true));

    EXPECT_TRUE(m_plot->SetCursorAtX(0, 1.5, true));
    EXPECT_EQ(-1, m_plot->GetCursorDataIndex());
    EXPECT_DOUBLE_EQ(std::sin(1.5) * std::exp(-0.15), m_plot->GetCursorPoint().m_y);
    EXPECT_FALSE(m_plot->SetCursorAtX(0, 1.5, true)) << "unchanged";
    m_log.m_veto.insert(wxEVT_PLOTCTRL_CURSOR_CHANGING);
    EXPECT_FALSE(m_plot->SetCursorAtX(0, 2.5, true));
    EXPECT_DOUBLE_EQ(1.5, m_plot->GetCursorPoint().m_x);
}

TEST_F(PlotCtrlTest, CursorIsARingWhateverBrushTheMarkersLeft)
{
    m_plot->SetAreaSizeForTest(100, 100);
    m_plot->SetShowKey(false);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{2, 2}, {7, 7}}, false, false)));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 10, 10)));
    m_plot->AddMarker(wxPlotMarker(wxPLOTMARKER_ELLIPSE, wxPoint2DDouble(2, 2), wxSize(3, 3),
                                   wxGenericPen(wxGenericColour(0, 0, 0), 1),
                                   wxGenericBrush(wxGenericColour(255, 255, 0))));
    m_plot->GetCursorMarker().SetSize(wxSize(4, 4));
    ASSERT_TRUE(m_plot->SetCursorDataIndex(0, 1));
    const wxImage image = m_plot->RenderArea();
    const int x = m_plot->PlotXToPixel(7), y = m_plot->PlotYToPixel(7);
    EXPECT_EQ(*wxWHITE, wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)));
    EXPECT_EQ(wxColour(0, 255, 0),
              wxColour(image.GetRed(x, y - 4), image.GetGreen(x, y - 4), image.GetBlue(x, y - 4)));
}

// --- Partial redraws against whole renders ---------------------------------------

class PlotRedrawTest : public PlotInputTest
{
protected:
    // Paints until the back buffer is current, then forgets the dirty flag
    // check: what follows must keep the buffer right by itself.
    void Settle()
    {
        m_area->Refresh(false);
        ASSERT_TRUE(guitest::WaitFor(
            [&] { return !(m_plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_PLOT); }));
    }
    void ExpectBufferIsAWholeRender(const char* what)
    {
        EXPECT_FALSE(m_plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_PLOT)
            << what << ": took a whole render instead of the stretch";
        const wxImage buffer = m_area->m_bitmap.ConvertToImage();
        const wxImage whole = m_plot->RenderArea();
        ASSERT_EQ(whole.GetSize(), buffer.GetSize());
        wxString where;
        EXPECT_EQ(0, pixeltest::CountDifferences(whole, buffer, &where)) << what << ": first at " << where;
    }
};

TEST_F(PlotRedrawTest, StretchRedrawsLeaveWhatAWholeRenderWould)
{
    auto* data = new wxPlotData(200);
    for (int i = 0; i < 200; ++i)
        data->SetPoint(i, i * 2.0, 100 + 60 * std::sin(i * 0.1));
    data->CalcBoundingRect();
    data->SetDrawLines(true);
    data->SetDrawPoints(true);
    data->SetPen(wxPLOTPEN_SELECTED, wxGenericPen(wxGenericColour(255, 0, 0), 3));
    ASSERT_TRUE(m_plot->AddCurve(data));
    auto* f = new wxPlotFunction;
    ASSERT_TRUE(f->Create(wxS("100+50*sin(x/20)")));
    ASSERT_TRUE(m_plot->AddCurve(f, false));
    m_plot->GetCursorMarker().SetSize(wxSize(3, 3));
    // Rings on points as the map page puts them.
    const wxGenericPen ring(wxGenericColour(55, 55, 55), 2, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND);
    for (int i : {33, 36, 40})
        m_plot->AddMarker(wxPlotMarker(wxPLOTMARKER_ELLIPSE, data->GetPoint(i), wxSize(4, 4), ring));
    OnePixelPerUnit();
    // A point three columns right of the area: its cursor's stretch is the last two columns.
    ASSERT_TRUE(m_size.x % 2 == 1 || m_plot->SetOrigin(-1, 0));
    const int outside = (m_size.x + 3 - m_plot->PlotXToPixel(0)) / 2;
    ASSERT_EQ(m_size.x + 3, m_plot->PlotXToPixel(data->GetXValue(outside)));
    Settle();

    struct Step
    {
        const char* name;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"select points", [&] { m_plot->SelectDataRange(0, IntRange(40, 60), true); }},
        {"deselect some", [&] { m_plot->SelectDataRange(0, IntRange(45, 50), false); }},
        {"cursor on a point", [&] { m_plot->SetCursorDataIndex(0, 30); }},
        {"cursor moved on", [&] { m_plot->SetCursorDataIndex(0, 31); }},
        {"cursor walked over the rings", [&] {
             for (int i = 32; i <= 90; ++i)
             {
                 m_plot->SetCursorDataIndex(0, i);
                 ExpectBufferIsAWholeRender(wxString::Format("cursor on point %d", i).utf8_str());
             }
         }},
        {"cursor to the function", [&] { m_plot->SetCursorAtX(1, 250); }},
        {"cursor gone", [&] { m_plot->InvalidateCursor(); }},
        {"cursor just outside the area", [&] { m_plot->SetCursorDataIndex(0, outside); }},
        {"that cursor gone", [&] { m_plot->InvalidateCursor(); }},
        {"x range of the function", [&] { m_plot->SelectXRange(1, DoubleRange(300, 340)); }},
        {"function range cleared", [&] { m_plot->ClearSelectedRanges(1); }},
        {"point selection cleared", [&] { m_plot->ClearSelectedRanges(0); }},
    };
    for (const Step& s : steps)
    {
        s.act();
        ExpectBufferIsAWholeRender(s.name);
    }
}

TEST_F(PlotInputTest, BandOverSortedDataSelectsTheInsidePointsAsOneRange)
{
    ASSERT_TRUE(m_plot->AddCurve(Line(400)));
    OnePixelPerUnit();
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_SELECT);
    m_plot->SetAreaMouseMarker(wxPLOTCTRL_MARKER_VERT);
    Drag(wxPoint(100, 40), wxPoint(150, 60));
    // Pixels 100..149 are x 100..150 in plot units.
    const wxRect2DDouble r = m_plot->ClientToPlotRect(wxRect(100, 40, 50, 20));
    EXPECT_EQ((std::vector<IntRange>{{int(std::ceil(r.m_x)), int(std::floor(r.m_x + r.m_width))}}),
              Ranges(m_plot, 0));

    // With selection mode 0 nothing is ever selected.
    m_plot->ClearSelectedRanges(-1);
    m_plot->SetSelectionMode(wxPLOTCTRL_SELECT_NONE);
    Drag(wxPoint(100, 40), wxPoint(150, 60));
    Click(wxPoint(200, m_size.y - 200));
    EXPECT_FALSE(m_plot->HasSelection());
}

} // namespace
