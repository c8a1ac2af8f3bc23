#include "wxPlotData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

wxPlotData Make(const std::vector<double>& xs, const std::vector<double>& ys)
{
    wxPlotData d(int(xs.size()));
    for (size_t i = 0; i < xs.size(); ++i)
        d.SetPoint(int(i), xs[i], ys[i]);
    d.CalcBoundingRect();
    return d;
}

// Bounds and sorted flag as a fresh walk over a private copy finds them.
void ExpectBoundsAsRecomputed(const wxPlotData& d)
{
    wxPlotData copy = d;
    copy.UnShare();
    copy.GetXData();  // a writable pointer forces the next walk
    copy.CalcBoundingRect();
    EXPECT_EQ(copy.GetBoundingRect(), d.GetBoundingRect());
    EXPECT_EQ(copy.GetIsSorted(), d.GetIsSorted());
}

TEST(PlotData, CreateRefusesNoPointsKeepsOldDataAndZeroes)
{
    wxPlotData d(4, false);
    ASSERT_TRUE(d.Ok());
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(0.0, d.GetXValue(i));
        EXPECT_EQ(0.0, d.GetYValue(i));
    }
    EXPECT_FALSE(d.Create(0, true));
    EXPECT_EQ(4, d.GetCount());
    EXPECT_FALSE(d.Create(-3, false));
    EXPECT_EQ(4, d.GetCount());
    EXPECT_FALSE(d.m_drawLines);
    EXPECT_TRUE(d.m_drawPoints);

    wxPlotData none;
    EXPECT_FALSE(none.Ok());
    EXPECT_EQ(0, none.GetCount());
    EXPECT_EQ(nullptr, none.GetXData());
    EXPECT_EQ(0.0, none.GetY(1.0));
    EXPECT_EQ(0, none.GetIndexFromX(1.0));
    EXPECT_FALSE(none.InsertPoint(0, 1, 1).Ok());
    EXPECT_FALSE(none.Resample(0, 1, 5).Ok());
    EXPECT_EQ(wxPoint2DDouble(0, 0), d.GetPoint(4));
}

TEST(PlotData, GetYInterpolatesAndIsFlatOutside)
{
    const wxPlotData d = Make({0, 1, 2}, {0, 10, 20});
    EXPECT_DOUBLE_EQ(15.0, d.GetY(1.5));
    EXPECT_EQ(10.0, d.GetY(1.0));
    EXPECT_EQ(0.0, d.GetY(-1.0));
    EXPECT_EQ(20.0, d.GetY(5.0));
    EXPECT_EQ(20.0, d.GetY(2.0));

    // Equal neighbours give their value exactly.
    const wxPlotData flat = Make({0, 1, 2}, {0.1, 0.1, 0.3});
    EXPECT_EQ(0.1, flat.GetY(0.7));
    const wxPlotData one = Make({3}, {7});
    EXPECT_EQ(7.0, one.GetY(-100));
    EXPECT_EQ(7.0, one.GetY(100));
}

TEST(PlotData, IndexFromXOnSortedDataByMode)
{
    const wxPlotData d = Make({0, 1, 2}, {0, 0, 0});
    ASSERT_TRUE(d.GetIsSorted());
    EXPECT_EQ(1, d.GetIndexFromX(0.5, wxPLOTDATA_INDEX_CLOSEST));  // tie keeps bisection
    EXPECT_EQ(1, d.GetIndexFromX(1.0, wxPLOTDATA_INDEX_LOWER));
    EXPECT_EQ(0, d.GetIndexFromX(0.5, wxPLOTDATA_INDEX_LOWER));
    EXPECT_EQ(1, d.GetIndexFromX(0.5, wxPLOTDATA_INDEX_UPPER));
    EXPECT_EQ(0, d.GetIndexFromX(0.4, wxPLOTDATA_INDEX_CLOSEST));
    EXPECT_EQ(2, d.GetIndexFromX(1.6, wxPLOTDATA_INDEX_CLOSEST));
    EXPECT_EQ(0, d.GetIndexFromX(-5, wxPLOTDATA_INDEX_UPPER));
    EXPECT_EQ(2, d.GetIndexFromX(5, wxPLOTDATA_INDEX_LOWER));
    EXPECT_EQ(0, d.GetIndexFromX(kNaN));

    // Bisection agrees with a plain walk on a larger set, whose points come
    // in runs of equal x: lower is the last point of a run, upper the first.
    std::vector<double> xs, ys, queries;
    for (int i = 0; i < 200; ++i)
    {
        xs.push_back((i / 3) * 0.5 + ((i / 3) % 7 == 0 ? 0.01 : 0.0));
        ys.push_back((i % 5) * 1.5 - i * 0.1);
    }
    const wxPlotData big = Make(xs, ys);
    ASSERT_TRUE(big.GetIsSorted());
    for (double x = -1; x < 101; x += 0.13)
        queries.push_back(x);
    queries.insert(queries.end(), xs.begin(), xs.end());
    for (double x : queries)
    {
        int lower = 0, upper = int(xs.size()) - 1;
        for (int i = 0; i < int(xs.size()); ++i)
            if (xs[i] <= x)
                lower = i;
        for (int i = int(xs.size()) - 1; i >= 0; --i)
            if (xs[i] >= x)
                upper = i;
        if (x < xs.front())
            lower = 0;
        EXPECT_EQ(lower, big.GetIndexFromX(x, wxPLOTDATA_INDEX_LOWER)) << x;
        EXPECT_EQ(upper, big.GetIndexFromX(x, wxPLOTDATA_INDEX_UPPER)) << x;
        const double expected = (lower == upper || xs[lower] == x)
            ? ys[lower] : ys[lower] + (ys[upper] - ys[lower]) * (x - xs[lower]) / (xs[upper] - xs[lower]);
        EXPECT_NEAR(expected, big.GetY(x), 1e-9) << x;
    }
}

TEST(PlotData, IndexFromXOnUnsortedDataScans)
{
    const wxPlotData d = Make({3, 1, 2}, {0, 0, 0});
    EXPECT_FALSE(d.GetIsSorted());
    EXPECT_EQ(2, d.GetIndexFromX(1.9, wxPLOTDATA_INDEX_CLOSEST));
    EXPECT_EQ(1, d.GetIndexFromX(1.0, wxPLOTDATA_INDEX_UPPER));  // exact hit
    EXPECT_EQ(1, d.GetIndexFromX(1.9, wxPLOTDATA_INDEX_LOWER));
    EXPECT_EQ(2, d.GetIndexFromX(1.9, wxPLOTDATA_INDEX_UPPER));
    EXPECT_EQ(1, d.GetIndexFromX(-4, wxPLOTDATA_INDEX_UPPER));   // outside: closest
}

TEST(PlotData, NonFiniteValuesStayOutOfTheBounds)
{
    wxPlotData d = Make({0, 1, 2, 3}, {1, kInf, 5, kNaN});
    EXPECT_EQ(4, d.GetCount());
    EXPECT_EQ(wxRect2DDouble(0, 1, 2, 4), d.GetBoundingRect());
    EXPECT_TRUE(d.GetIsSorted());

    const wxPlotData nan = Make({kNaN, kNaN}, {1, 2});
    EXPECT_EQ(wxRect2DDouble(), nan.GetBoundingRect());

    // The lookups bisect over every x: its order counts whatever the y, and
    // an x that is not finite has no place in it.
    EXPECT_FALSE(nan.GetIsSorted());
    EXPECT_FALSE(Make({0, 5, 2, 6}, {0, kNaN, 0, 0}).GetIsSorted());
    EXPECT_FALSE(Make({0, 1, kInf}, {0, 0, 0}).GetIsSorted());
    EXPECT_TRUE(Make({-1, 1, 1, 1}, {kInf, 0, kNaN, 0}).GetIsSorted());

    // A lone point set to NaN does not become the position.
    wxPlotData one(1);
    one.SetBoundingRect(wxRect2DDouble(0, 0, 2, 3));
    one.SetPoint(0, 4, 5);
    EXPECT_EQ(wxRect2DDouble(4, 5, 2, 3), one.GetBoundingRect());
    one.SetPoint(0, kNaN, 5);
    EXPECT_EQ(wxRect2DDouble(), one.GetBoundingRect());

    // Appending NaN and infinity leaves the bounds as they were.
    wxPlotData grown = d.AppendPoint(kNaN, 100).AppendPoint(-kInf, 1).AppendPoint(10, kNaN);
    EXPECT_EQ(wxRect2DDouble(0, 1, 2, 4), grown.GetBoundingRect());
    EXPECT_EQ(7, grown.GetCount());
}

TEST(PlotData, NanXAndAWideRectangleKeepIndexesInRange)
{
    wxPlotData d = Make({0, 5, kNaN}, {1, 2, 3});
    d.SetBoundingRect(wxRect2DDouble(0, 0, 100, 10));
    for (int mode = 0; mode < 3; ++mode)
    {
        const int i = d.GetIndexFromX(50, mode);
        EXPECT_GE(i, 0);
        EXPECT_LT(i, 3);
    }
}

TEST(PlotData, InsertPointsAtEveryPosition)
{
    wxPlotData d = Make({1, 2, 3}, {10, 20, 30});
    d.SetOption(wxS("File.Name"), wxS("a.dat"));
    d.SetPen(wxPLOTPEN_NORMAL, wxGenericPen(wxGenericColour(1, 2, 3), 5));
    d.m_drawLines = true;
    d.m_drawPoints = false;
    const double xs[] = {7, 8}, ys[] = {70, 80};

    const wxPlotData front = d.InsertPoints(0, 2, xs, ys);
    ASSERT_EQ(5, front.GetCount());
    EXPECT_EQ(7, front.GetXValue(0));
    EXPECT_EQ(8, front.GetXValue(1));
    EXPECT_EQ(1, front.GetXValue(2));
    EXPECT_FALSE(front.GetIsSorted());
    EXPECT_EQ(wxRect2DDouble(1, 10, 7, 70), front.GetBoundingRect());
    EXPECT_EQ(wxS("a.dat"), front.GetFilename());
    EXPECT_EQ(5, front.GetPen(wxPLOTPEN_NORMAL).GetWidth());
    EXPECT_FALSE(front.m_drawLines);  // flags of a new data set
    EXPECT_TRUE(front.m_drawPoints);

    const wxPlotData middle = d.InsertPoints(1, 2, xs, ys);
    EXPECT_EQ(1, middle.GetXValue(0));
    EXPECT_EQ(7, middle.GetXValue(1));
    EXPECT_EQ(80, middle.GetYValue(2));
    EXPECT_EQ(2, middle.GetXValue(3));

    for (int index : {-1, 3})
    {
        const wxPlotData end = d.InsertPoints(index, 2, xs, ys);
        ASSERT_EQ(5, end.GetCount());
        EXPECT_EQ(3, end.GetXValue(2));
        EXPECT_EQ(8, end.GetXValue(4));
        EXPECT_TRUE(end.GetIsSorted());
    }
    EXPECT_FALSE(d.InsertPoints(4, 2, xs, ys).Ok());
    EXPECT_FALSE(d.InsertPoints(-2, 2, xs, ys).Ok());
    EXPECT_FALSE(d.InsertPoints(0, 2, NULL, ys).Ok());
    EXPECT_FALSE(d.InsertPoints(0, -1, xs, ys).Ok());

    // The source is untouched by all of this.
    ASSERT_EQ(3, d.GetCount());
    EXPECT_EQ(3, d.GetXValue(2));
    EXPECT_EQ(wxRect2DDouble(1, 10, 2, 20), d.GetBoundingRect());
}

TEST(PlotData, ThirdArrayTravelsOnlyWhenPresentAndGiven)
{
    wxPlotData d = Make({1, 2}, {1, 2});
    EXPECT_FALSE(d.SetExtraData({1.0}));
    EXPECT_EQ(nullptr, d.GetExtraData());
    ASSERT_TRUE(d.SetExtraData({0.5, 0.25}));

    const wxPlotData appended = d.AppendPoint(3, 3, 9.0);
    ASSERT_NE(nullptr, appended.GetConstExtraData());
    const double* extra = appended.GetConstExtraData();
    EXPECT_EQ(0.5, extra[0]);
    EXPECT_EQ(0.25, extra[1]);
    EXPECT_EQ(9.0, extra[2]);

    const double x = 1.5, y = 0;
    const wxPlotData without = d.InsertPoints(1, 1, &x, &y, NULL);
    EXPECT_EQ(nullptr, without.GetConstExtraData());
    const double e = 4.0;
    const wxPlotData inside = d.InsertPoints(1, 1, &x, &y, &e);
    const double* ie = inside.GetConstExtraData();
    ASSERT_NE(nullptr, ie);
    EXPECT_EQ(0.5, ie[0]);
    EXPECT_EQ(4.0, ie[1]);
    EXPECT_EQ(0.25, ie[2]);

    EXPECT_EQ(nullptr, d.Resample(0, 1, 3).GetExtraData());
    EXPECT_TRUE(d.SetExtraData({}));
    EXPECT_EQ(nullptr, d.GetExtraData());
}

TEST(PlotData, ResampleAddsStepsAndInterpolates)
{
    wxPlotData knots = Make({0.0, 10.0, 25.5}, {1.0, 2.0, 2.0});
    knots.SetPen(wxPLOTPEN_NORMAL, wxGenericPen(wxGenericColour(0, 255, 0), 3));
    const wxPlotData r = knots.Resample(0.0, 0.1, 256);
    ASSERT_EQ(256, r.GetCount());
    EXPECT_EQ(25.500000000000092, r.GetXValue(255));
    EXPECT_EQ(1.0, r.GetYValue(0));
    EXPECT_DOUBLE_EQ(1.5, r.GetYValue(50));
    EXPECT_EQ(2.0, r.GetYValue(255));
    EXPECT_TRUE(r.GetIsSorted());
    EXPECT_DOUBLE_EQ(25.500000000000092, r.GetBoundingRect().GetRight());
    EXPECT_EQ(1, r.GetPen(wxPLOTPEN_NORMAL).GetWidth());  // a new curve's pens
    EXPECT_FALSE(knots.Resample(0, 0.1, 0).Ok());
}

TEST(PlotData, CopiesShareChangesButAppendsLeaveTheSourceAlone)
{
    wxPlotData a = Make({0, 1}, {5, 6});
    a.m_drawLines = true;
    a.m_drawPoints = false;
    wxPlotData b = a;
    EXPECT_TRUE(b.m_drawLines);
    b.SetPoint(1, 2, 8);
    EXPECT_EQ(2, a.GetXValue(1));
    EXPECT_EQ(wxRect2DDouble(0, 5, 2, 3), a.GetBoundingRect());

    // Appending from the same data twice forks it.
    const wxPlotData c1 = a.AppendPoint(3, 1);
    const wxPlotData c2 = a.AppendPoint(-1, 100);
    EXPECT_EQ(2, a.GetCount());
    EXPECT_EQ(2, b.GetCount());
    EXPECT_EQ(3, c1.GetXValue(2));
    EXPECT_EQ(-1, c2.GetXValue(2));
    EXPECT_TRUE(c1.GetIsSorted());
    EXPECT_FALSE(c2.GetIsSorted());
    EXPECT_EQ(wxRect2DDouble(0, 1, 3, 7), c1.GetBoundingRect());
    EXPECT_EQ(wxRect2DDouble(-1, 5, 3, 95), c2.GetBoundingRect());
    EXPECT_EQ(wxRect2DDouble(0, 5, 2, 3), a.GetBoundingRect());
    EXPECT_TRUE(a.GetIsSorted());

    // Writes stay with the data set they were made on.
    wxPlotData w1 = c1;
    w1.SetPoint(0, -7, 5);
    EXPECT_EQ(0, a.GetXValue(0));
    EXPECT_EQ(0, c2.GetXValue(0));
    a.SetPoint(0, 0.5, 5);
    EXPECT_EQ(-7, c1.GetXValue(0));
    EXPECT_EQ(0, c2.GetXValue(0));

    double* xs = a.GetXData();
    const wxPlotData c3 = a.AppendPoint(9, 9);
    xs[1] = 50;
    EXPECT_EQ(2, c3.GetXValue(1));
    a.CalcBoundingRect();
    EXPECT_EQ(50, a.GetBoundingRect().GetRight());

    // A read-only pointer stays good while data sets grow from its owner.
    wxPlotData grow = a.AppendPoint(1, 1);
    const double* readable = grow.GetConstXData();
    wxPlotData longer = grow;
    for (int i = 0; i < 1000; ++i)
        longer = longer.AppendPoint(i, i);
    EXPECT_EQ(0.5, readable[0]);
    EXPECT_EQ(50, readable[1]);
    EXPECT_EQ(1, readable[2]);
    EXPECT_EQ(readable, grow.GetConstXData());

    // Assignment takes the data and keeps this object's draw flags.
    wxPlotData osc(1);
    osc.m_drawLines = true;
    osc.m_drawPoints = false;
    osc = osc.AppendPoint(1, 0.5, 0.0);
    EXPECT_TRUE(osc.m_drawLines);
    EXPECT_FALSE(osc.m_drawPoints);
    EXPECT_EQ(2, osc.GetCount());
}

TEST(PlotData, GrowingByAppendKeepsBoundsAndSortedFlagRight)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> value(-50, 50);
    wxPlotData d(1);
    d.CalcBoundingRect();
    std::vector<wxPlotData> snapshots;
    for (int i = 1; i < 3000; ++i)
    {
        double x = i;
        if (i == 2600)
            x = 10;  // one step back
        double y = value(rng);
        if (i % 97 == 0)
            y = kNaN;
        d = d.AppendPoint(x, y, 0.0);
        d.CalcBoundingRect();
        if (i % 500 == 0)
        {
            snapshots.push_back(d);
            ExpectBoundsAsRecomputed(d);
        }
    }
    ASSERT_EQ(3000, d.GetCount());
    EXPECT_FALSE(d.GetIsSorted());
    ExpectBoundsAsRecomputed(d);
    EXPECT_EQ(2999, d.GetXValue(2999));

    // Earlier data sets kept their own points and bounds.
    for (size_t k = 0; k < snapshots.size(); ++k)
    {
        const int count = int(500 * (k + 1)) + 1;
        ASSERT_EQ(count, snapshots[k].GetCount());
        EXPECT_EQ(count - 1, snapshots[k].GetXValue(count - 1));
        ExpectBoundsAsRecomputed(snapshots[k]);
    }
    EXPECT_TRUE(snapshots[0].GetIsSorted());

    // A copy taken mid-way shares the data: appending to it leaves d alone.
    wxPlotData shared = d;
    shared = shared.AppendPoint(-1000, 0);
    EXPECT_EQ(3000, d.GetCount());
    EXPECT_EQ(3001, shared.GetCount());
    EXPECT_EQ(-1000, shared.GetBoundingRect().m_x);
    EXPECT_EQ(0, d.GetBoundingRect().m_x);
}

TEST(PlotData, CopyConstructionCloneAndDeepCopy)
{
    wxPlotData a = Make({0, 1, 2}, {3, 4, 5});
    a.SetBoundingRect(wxRect2DDouble(0, 0, 1, 1));
    wxPlotData b(a);  // shares and recomputes the bounds
    EXPECT_TRUE(b.IsSameAs(a));
    EXPECT_EQ(wxRect2DDouble(0, 3, 2, 2), a.GetBoundingRect());

    wxPlotCurve* clone = a.Clone();
    ASSERT_TRUE(clone->IsKindOf(wxCLASSINFO(wxPlotData)));
    EXPECT_TRUE(clone->IsSameAs(a));
    delete clone;

    wxPlotData deep = a;
    deep.UnShare();
    EXPECT_FALSE(deep.IsSameAs(a));
    deep.SetPoint(0, -1, -1);
    EXPECT_EQ(0, a.GetXValue(0));
    EXPECT_EQ(-1, deep.GetXValue(0));
    EXPECT_EQ(wxRect2DDouble(-1, -1, 3, 6), deep.GetBoundingRect());

    wxPlotData none;
    EXPECT_FALSE(b.CopyFrom(none));
    EXPECT_TRUE(b.IsSameAs(a));
    EXPECT_FALSE(b.CopyExtra(none));
}

TEST(PlotData, IndexFromXYFindsNearestWithinRange)
{
    const wxPlotData d = Make({0, 1, 2, 3, 4}, {0, 10, 0, 10, 0});
    EXPECT_EQ(3, d.GetIndexFromXY(2.9, 9.0, 0.0));
    EXPECT_EQ(2, d.GetIndexFromXY(1.6, 1.0, 0.0));
    EXPECT_EQ(1, d.GetIndexFromXY(1.4, 9.0, 1.0));
    EXPECT_EQ(0, d.GetIndexFromXY(1.4, 9.0, -1.0));
    EXPECT_EQ(4, d.GetIndexFromXY(40, 0, 0.0));
}

// Both nearest-point lookups against a plain scan, on long curves (searched
// block by block) with runs of equal x, y not a number or infinite, and
// boxes of every scale.
TEST(PlotData, NearestPointLookupsMatchAPlainScan)
{
    std::mt19937 rng(25);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (bool sorted : {true, false})
    {
        std::vector<double> xs(5000), ys(5000);
        for (size_t i = 0; i < xs.size(); ++i)
        {
            xs[i] = sorted ? std::floor(i / 1.7) * 0.01 : unit(rng) * 30;
            ys[i] = unit(rng) < 0.01 ? (unit(rng) < 0.5 ? kNaN : kInf) : 5 * std::sin(i * 0.003) + unit(rng) * 0.4;
        }
        const wxPlotData d = Make(xs, ys);
        ASSERT_EQ(sorted, d.GetIsSorted());
        // Nearest in units u among points within reach r (any when r < 0), the lowest index first.
        auto scan = [&](double x, double y, double ux, double uy, double rx, double ry) {
            std::pair<double, int> best(kInf, -1);
            for (size_t i = 0; i < xs.size(); ++i)
            {
                const double dx = std::fabs(xs[i] - x), dy = std::fabs(ys[i] - y);
                const std::pair<double, int> here(std::pow(dx / ux, 2) + std::pow(dy / uy, 2), int(i));
                if ((rx < 0 || dx <= rx) && (ry < 0 || dy <= ry) && !std::isnan(dy) && (best.second < 0 || here < best))
                    best = here;
            }
            return best.second;
        };
        for (int k = 0; k < 3000; ++k)
        {
            const double x = unit(rng) * 32 - 1, y = unit(rng) * 12 - 6;
            const double dx = std::pow(10.0, unit(rng) * 5 - 4), dy = std::pow(10.0, unit(rng) * 5 - 4);
            EXPECT_EQ(scan(x, y, dx, dy, dx, dy), d.GetIndexInBox(x, y, dx, dy)) << x << "," << y << " " << dx << "," << dy;
            const double range = k % 5 == 0 ? 0.0 : dx;
            const int expected = scan(x, y, 1, 1, range == 0 ? -1 : range, -1);
            EXPECT_TRUE(expected < 0 || expected == d.GetIndexFromXY(x, y, range)) << x << "," << y << " in " << range;
        }
    }
}

} // namespace
