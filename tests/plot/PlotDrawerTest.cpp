// The drawers of the plot control, drawn into memory bitmaps: the reduced
// data-curve drawing against drawing every segment, markers, the key, and
// pens whose colour has no data.

#include "PixelCompare.h"
#include "PlotCtrlTestSupport.h"
#include "wxPlotDrawer.h"

#include <random>

namespace
{

using pixeltest::CountDifferences;

wxBitmap WhiteBitmap(int w, int h, double scale = 1)
{
    wxBitmap bitmap;
    bitmap.CreateWithDIPSize(wxSize(w, h), scale);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    return bitmap;
}

bool IsWhite(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 255 && image.GetBlue(x, y) == 255;
}

// Every segment and every cross drawn on its own, in index order, with the
// same pixel rules as the drawer, in the screen's pixels.
wxImage FullRender(PlotProbe* plot, wxPlotData* curve, int index)
{
    const wxRect& area = plot->GetAreaSize();
    const int s = int(plot->GetContentScaleFactor());
    wxPlotPixelCanvas canvas;
    canvas.Reset(area.width, area.height, s);
    const wxRect2DDouble view = plot->GetViewRect();
    const double zx = plot->GetZoomX() * s, zy = plot->GetZoomY() * s, ah = area.height * s;
    auto toPixel = [&](double x, double y) {
        return wxPoint(wxPlotPixel((x - view.m_x) * zx + 0.5), wxPlotPixel(ah - (y - view.m_y) * zy + 0.5));
    };
    const wxPen normal = curve->GetPen(index == plot->GetActiveIndex() ? wxPLOTPEN_ACTIVE : wxPLOTPEN_NORMAL).GetPen();
    const wxPen selected = curve->GetPen(wxPLOTPEN_SELECTED).GetPen();
    auto usePen = [&](const wxPen& pen) {
        canvas.SetColour(pen.GetColour());
        canvas.SetWidth(pen.GetWidth() * s);
    };
    const IntRangeSelection& sel = *plot->GetDataCurveSelection(index);
    auto startsRange = [&](int i) {
        for (const IntRange& r : sel.GetRanges())
            if (r.m_min == i)
                return true;
        return false;
    };
    for (int i = 0; i < curve->GetCount(); ++i)
    {
        const int prev = i == 0 ? 0 : i - 1;
        double x0 = curve->GetXValue(prev), y0 = curve->GetYValue(prev);
        double x1 = curve->GetXValue(i), y1 = curve->GetYValue(i);
        const int r = ClipLineToRect(x0, y0, x1, y1, view);
        if (r == wxPLOTCLIP_OUTSIDE)
            continue;
        const wxPoint p = toPixel(x0, y0), c = toPixel(x1, y1);
        const bool segmentSelected = sel.IsSelected(prev) && sel.IsSelected(i);
        if (curve->GetDrawLines() && p != c)
        {
            usePen(segmentSelected ? selected : normal);
            canvas.Line(p.x, p.y, c.x, c.y);
        }
        if (curve->GetDrawPoints() && !(r & wxPLOTCLIP_SECOND) && (c != p || i == 0 || startsRange(i)))
        {
            usePen(sel.IsSelected(i) ? selected : normal);
            canvas.Line(c.x, c.y, c.x + 2 * s, c.y);
            canvas.Line(c.x, c.y, c.x, c.y + 2 * s);
            canvas.Line(c.x, c.y, c.x - 2 * s, c.y);
            canvas.Line(c.x, c.y, c.x, c.y - 2 * s);
        }
    }
    wxBitmap bitmap = WhiteBitmap(area.width, area.height, s);
    {
        wxMemoryDC dc(bitmap);
        canvas.DrawOnto(dc);
    }
    return bitmap.ConvertToImage();
}

wxImage DrawerRender(PlotProbe* plot, wxPlotData* curve, int index)
{
    const wxRect& area = plot->GetAreaSize();
    wxBitmap bitmap = WhiteBitmap(area.width, area.height, plot->GetContentScaleFactor());
    {
        wxMemoryDC dc(bitmap);
        wxPlotSetCrispDrawing(dc);
        wxPlotDrawerDataCurve* drawer = plot->GetPlotDrawerDataCurve();
        drawer->SetPlotViewRect(plot->GetViewRect());
        drawer->SetDCRect(area);
        drawer->Draw(&dc, curve, index);
    }
    return bitmap.ConvertToImage();
}

TEST_F(PlotCtrlTest, ReducedCurveDrawingHasThePixelsOfEverySegment)
{
    struct Case
    {
        const char* name;
        int points;
        bool sorted, lines, marks, selections, active;
        int penWidth;
        bool inView = false;   // y stays in the view
        bool steps = false;    // runs of equal x on whole numbers, the view's edges among them
        bool nanX = false;     // some x not a number
    };
    const Case cases[] = {
        {"dense sorted lines in view", 30000, true, true, false, false, false, 1, true},
        {"dense sorted lines in view, wide", 30000, true, true, false, false, true, 2, true},
        {"dense unsorted lines in view", 20000, false, true, false, false, false, 1, true},
        {"dense sorted lines", 20000, true, true, false, false, false, 1},
        {"dense sorted lines, selections", 20000, true, true, false, true, true, 1},
        {"dense sorted points, selections", 5000, true, false, true, true, false, 1},
        {"sorted lines and points", 3000, true, true, true, true, false, 1},
        {"wide pen", 8000, true, true, false, true, false, 2},
        {"unsorted lines and points", 400, false, true, true, true, false, 1},
        {"sparse sorted", 60, true, true, true, true, true, 1},
        {"steps on the edges", 3000, true, true, false, false, false, 1, false, true},
        {"steps on the edges, points", 3000, true, true, true, true, true, 1, false, true},
        {"steps on the edges in view", 30000, true, true, false, true, false, 1, true, true},
        {"x not a number", 3000, true, true, true, true, false, 1, false, false, true},
        {"wide pen with points", 400, true, true, true, true, false, 16},
        {"wider pen in view", 3000, true, true, false, false, false, 20, true},
    };
    // Under the curves: a ring without a brush (the map's points), a filled ring, a line across, a rectangle.
    const wxGenericPen ringPen(wxGenericColour(55, 55, 55), 2, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND);
    m_plot->AddMarker(wxPlotMarker(wxPLOTMARKER_ELLIPSE, {30, 0.2}, wxSize(4, 4), ringPen, wxNullGenericBrush));
    m_plot->AddMarker(wxPlotMarker(wxPLOTMARKER_ELLIPSE, {60, -0.3}, wxSize(5, 3),
                                   wxGenericPen(wxGenericColour(155, 55, 55), 4),
                                   wxGenericBrush(wxGenericColour(255, 255, 0))));
    wxPlotMarker line, rectangle;
    line.CreateHorizLineMarker(0.5, wxGenericPen(wxGenericColour(120, 120, 100), 1));
    m_plot->AddMarker(line);
    rectangle.Create(6, {75, 0.4, 12, 3}, {-1, -1}, ringPen, wxGenericBrush(wxGenericColour(255, 236, 180)));
    m_plot->AddMarker(rectangle);
    m_plot->GetCursorMarker().SetSize(wxSize(4, 4));
    std::mt19937 rng(7);
    for (const Case& c : cases)
    {
        m_plot->DeleteCurveAt(-1);
        m_plot->SetAreaSizeForTest(237, 131);
        // Every other case with 10-pixel tick marks instead of the grid.
        m_plot->SetShowGrid((&c - cases) % 2 == 0);
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0.0, -1.0, 100.0, 2.0)));

        auto* data = new wxPlotData(c.points);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        double y = 0;
        double* xs = data->GetXData();
        double* ys = data->GetYData();
        for (int i = 0; i < c.points; ++i)
        {
            // Walks past the top and bottom now and then, and begins and
            // ends outside the view.
            xs[i] = c.sorted ? -5.0 + 110.0 * i / c.points : -10 + 120 * unit(rng);
            if (c.steps)
                xs[i] = std::floor(xs[i]);
            if (c.nanX && unit(rng) < 0.05)
                xs[i] = std::nan("");
            y += (unit(rng) - 0.5) * 0.2;
            if (unit(rng) < 0.002)
                y = (unit(rng) - 0.5) * 5;
            ys[i] = y + 0.3 * std::sin(i * 0.37);
            if (c.inView)
                ys[i] = 0.9 * std::sin(xs[i] * 0.2) + 0.09 * std::sin(i * 0.37) * (unit(rng) - 0.5);
        }
        data->CalcBoundingRect();
        data->SetDrawLines(c.lines);
        data->SetDrawPoints(c.marks);
        if (c.penWidth != 1)
        {
            wxGenericPen pen = data->GetPen(wxPLOTPEN_NORMAL);
            pen.SetWidth(c.penWidth);
        }
        ASSERT_EQ(c.sorted && !c.nanX, data->GetIsSorted()) << c.name;
        ASSERT_TRUE(m_plot->AddCurve(new wxPlotData(1), false));   // a neighbour
        ASSERT_TRUE(m_plot->AddCurve(data, c.active));
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0.0, -1.0, 100.0, 2.0)));
        if (c.selections)
        {
            std::uniform_int_distribution<int> at(0, c.points - 1);
            for (int k = 0; k < 6; ++k)
            {
                const int a = at(rng), len = at(rng) / 10;
                m_plot->DataSelection(1).SelectRange(IntRange(a, std::min(a + len, c.points - 1)));
            }
            m_plot->DataSelection(1).SelectRange(IntRange(0, 0));
        }
        wxString where;
        const wxImage full = FullRender(m_plot, data, 1);
        const wxImage reduced = DrawerRender(m_plot, data, 1);
        EXPECT_EQ(0, CountDifferences(full, reduced, &where)) << c.name << " at " << where;
        int inked = 0;
        for (int yy = 0; yy < full.GetHeight(); ++yy)
            for (int xx = 0; xx < full.GetWidth(); ++xx)
                inked += !IsWhite(full, xx, yy);
        EXPECT_GT(inked, 200) << c.name;

        // Set straight into the bitmap's pixels (background, grid, rings, curves, frame), the area is what the
        // toolkit's drawing makes of it; strips drawn again over it, as partial redraws do, leave it so (with
        // few points also strips with an edge on a marker or the cursor).
        m_plot->PlaceCursor(1, c.points / 2);
        const wxImage whole = m_plot->RenderArea();
        std::vector<std::pair<wxString, wxImage>> renders = {{"through the toolkit", pixeltest::RenderThroughToolkit(
            m_plot->GetAreaSize().GetSize(), [&](wxDC& dc) { m_plot->DrawArea(&dc, m_plot->GetAreaSize()); },
            m_plot->GetContentScaleFactor())}};
        std::vector<int> starts = {0, 1, 57, 235, 236};
        for (double at : {30.0, 60.0, 75.0, 87.0, m_plot->GetCursorMarker().GetPlotPosition().m_x})
            for (int dx = -7; dx <= 5 && std::isfinite(at) && c.points <= 400; ++dx)
                starts.push_back(m_plot->PlotXToPixel(at) + dx);
        for (int x : starts)
            for (int width : {1, 2, 3})
                renders.emplace_back(wxString::Format("strip %d+%d", x, width), m_plot->RenderArea({x, 0, width, 131}));
        for (const auto& [what, render] : renders)
            EXPECT_EQ(0, CountDifferences(whole, render, &(where = ""))) << c.name << ": " << what << " at " << where;
    }
}

TEST_F(PlotCtrlTest, SegmentsCrossingTheViewEdgesAreDrawnUpToThem)
{
    m_plot->SetAreaSizeForTest(200, 100);
    std::vector<wxPoint2DDouble> points = {{-5, 5}};
    for (int x = 1; x <= 19; ++x)
        points.push_back({double(x), 5});
    points.push_back({40, 5});
    ASSERT_TRUE(m_plot->AddCurve(Curve(points), false));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 20, 10)));
    const wxImage image = m_plot->RenderArea();
    const int row = m_plot->PlotYToPixel(5);
    for (int x : {2, 5, 195, 197})
        EXPECT_EQ(0, image.GetRed(x, row)) << "column " << x;
}

TEST_F(PlotCtrlTest, CurveLeftOfTheViewDrawsNothingAndKeepsThePen)
{
    m_plot->SetAreaSizeForTest(100, 100);
    wxPlotData* data = Curve({{-30, 0}, {-20, 5}});
    ASSERT_TRUE(m_plot->AddCurve(data, false));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 10, 10)));
    wxBitmap bitmap = WhiteBitmap(100, 100);
    wxMemoryDC dc(bitmap);
    const wxPen magenta(wxColour(255, 0, 255), 3);
    dc.SetPen(magenta);
    m_plot->GetPlotDrawerDataCurve()->SetPlotViewRect(m_plot->GetViewRect());
    m_plot->GetPlotDrawerDataCurve()->Draw(&dc, data, 0);
    EXPECT_EQ(magenta.GetColour(), dc.GetPen().GetColour());
    EXPECT_EQ(3, dc.GetPen().GetWidth());
    dc.SelectObject(wxNullBitmap);
    const wxImage image = bitmap.ConvertToImage();
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 100; x += 3)
            ASSERT_TRUE(IsWhite(image, x, y));
}

TEST_F(PlotCtrlTest, PenAndBrushWithoutColourDataAreVisible)
{
    wxGenericPen pen;
    pen.Create(wxGenericColour(), 3);
    ASSERT_FALSE(pen.GetColour().Ok());
    wxGenericBrush brush;
    brush.Create(wxGenericColour(40, 50, 60, 0));
    wxBitmap bitmap = WhiteBitmap(40, 40);
    {
        wxMemoryDC dc(bitmap);
        dc.SetPen(pen.GetPen());
        dc.DrawLine(2, 5, 38, 5);
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(brush.GetBrush());
        dc.DrawRectangle(10, 20, 10, 10);
    }
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(0, image.GetRed(20, 5));
    EXPECT_EQ(0, image.GetBlue(20, 5));
    EXPECT_EQ(40, image.GetRed(15, 25));
    EXPECT_EQ(60, image.GetBlue(15, 25));
}

TEST_F(PlotCtrlTest, MarkersDrawWhereTheyAreAndOnlyThere)
{
    m_plot->SetAreaSizeForTest(100, 80);
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 10, 8)));
    const wxGenericPen red(wxGenericColour(255, 0, 0), 1);
    struct Case
    {
        const char* name;
        wxPlotMarker marker;
        std::vector<wxPoint> inked, blank;
    };
    wxPlotMarker horizIn, horizOut, vertIn, point, rect, huge;
    horizIn.CreateHorizLineMarker(4.0, red);
    horizOut.CreateHorizLineMarker(9.0, red);
    vertIn.CreateVertLineMarker(5.0, red);
    point.Create(wxPLOTMARKER_ELLIPSE, wxRect2DDouble(2, 2, 0, 0), wxSize(2, 2), red);
    rect.Create(6, wxRect2DDouble(1, 1, 2, 2), wxSize(-1, -1), red,
                wxGenericBrush(wxGenericColour(255, 0, 0)));
    huge.Create(6, wxRect2DDouble(-1e300, -1e10, 2e300, 1e10 + 4), wxSize(-1, -1), red,
                wxGenericBrush(wxGenericColour(255, 0, 0)));
    const Case cases[] = {
        {"horizontal line in view", horizIn, {{0, 40}, {50, 40}, {99, 40}}, {{50, 35}, {50, 45}}},
        {"horizontal line above", horizOut, {}, {{50, 0}, {50, 40}, {0, 79}}},
        {"vertical line", vertIn, {{50, 0}, {50, 40}, {50, 79}}, {{45, 40}}},
        {"point mark", point, {{18, 60}, {20, 58}}, {{20, 50}, {30, 60}}},
        {"rectangle", rect, {{10, 70}, {20, 60}, {30, 50}}, {{40, 50}, {5, 70}}},
        {"rectangle reaching far past the view", huge, {{0, 79}, {99, 79}, {50, 45}}, {{50, 30}}},
    };
    for (const Case& c : cases)
    {
        wxBitmap bitmap = WhiteBitmap(100, 80);
        {
            wxMemoryDC dc(bitmap);
            wxPlotSetCrispDrawing(dc);
            wxPlotDrawerMarker* drawer = m_plot->GetPlotDrawerMarker();
            drawer->SetPlotViewRect(m_plot->GetViewRect());
            drawer->Draw(&dc, c.marker);
        }
        const wxImage image = bitmap.ConvertToImage();
        for (const wxPoint& p : c.inked)
            EXPECT_FALSE(IsWhite(image, p.x, p.y)) << c.name << " at " << p.x << "," << p.y;
        for (const wxPoint& p : c.blank)
            EXPECT_TRUE(IsWhite(image, p.x, p.y)) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(PlotCtrlTest, KeyAtTopRightKeepsItsMargin)
{
    m_plot->SetAreaSizeForTest(200, 150);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 1}})));
    wxBitmap bitmap = WhiteBitmap(200, 150);
    {
        wxMemoryDC dc(bitmap);
        wxPlotDrawerKey* key = m_plot->GetPlotDrawerKey();
        key->SetDCRect(wxRect(0, 0, 200, 150));
        key->Draw(&dc, wxS("Curve 0\nlonger curve name"));
    }
    const wxImage image = bitmap.ConvertToImage();
    int right = -1, top = 150, left = 200;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            if (!IsWhite(image, x, y))
            {
                right = std::max(right, x);
                left = std::min(left, x);
                top = std::min(top, y);
            }
    EXPECT_LE(right, 200 - 5 - 1);
    EXPECT_GE(right, 200 - 5 - 15);
    EXPECT_GE(top, 5);
    EXPECT_LE(top, 5 + 8);
    EXPECT_LT(left, 120);   // the sample line stands before the text
}

TEST_F(PlotCtrlTest, KeyKeepsItsMarginWhenItsTextOrFontChanges)
{
    // One drawer draws one key after another, as the area does on every
    // redraw: each must be placed from its own text and font.
    m_plot->SetAreaSizeForTest(200, 150);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 1}})));
    wxPlotDrawerKey* key = m_plot->GetPlotDrawerKey();
    key->SetDCRect(wxRect(0, 0, 200, 150));
    const wxFont normal = key->GetFont();
    const wxFont large = normal.Scaled(2.0f);
    const struct
    {
        const char* text;
        wxFont font;
    } keys[] = {{"a much longer curve name", normal}, {"a", normal}, {"a", large}, {"a much longer", normal}};
    for (const auto& k : keys)
    {
        key->SetFont(k.font);
        wxBitmap bitmap = WhiteBitmap(200, 150);
        {
            wxMemoryDC dc(bitmap);
            key->Draw(&dc, wxString(k.text));
        }
        const wxImage image = bitmap.ConvertToImage();
        int right = -1;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                if (!IsWhite(image, x, y))
                    right = std::max(right, x);
        EXPECT_LE(right, 200 - 5) << k.text;   // a glyph may ink one pixel past its extent
        EXPECT_GE(right, 200 - 5 - 15) << k.text;
    }
}

} // namespace
