// Clipping a segment to a plot rectangle.

#include "wxPlotDrawerBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{
const double Inf = std::numeric_limits<double>::infinity();
const wxRect2DDouble Unit(0, 0, 1, 1);

TEST(ClipLineToRect, KnownSegments)
{
    struct Case
    {
        const char* name;
        double x0, y0, x1, y1;
        int result;
        double cx0, cy0, cx1, cy1;
    };
    const Case cases[] = {
        {"inside", 0.2, 0.2, 0.8, 0.7, 0, 0.2, 0.2, 0.8, 0.7},
        {"both left", -2, 0, -1, 1, wxPLOTCLIP_OUTSIDE, 0, 0, 0, 0},
        {"both above", 0, 2, 1, 3, wxPLOTCLIP_OUTSIDE, 0, 0, 0, 0},
        {"in from the left", -1, 0.5, 0.5, 0.5, wxPLOTCLIP_FIRST_X, 0, 0.5, 0.5, 0.5},
        {"out at the top", 0.5, 0.5, 0.5, 3, wxPLOTCLIP_SECOND_Y, 0.5, 0.5, 0.5, 1},
        {"right across", -1, 0.5, 2, 0.5, wxPLOTCLIP_FIRST_X | wxPLOTCLIP_SECOND_X, 0, 0.5, 1, 0.5},
        {"corner to corner", -1, -1, 2, 2, wxPLOTCLIP_FIRST_X | wxPLOTCLIP_SECOND_X, 0, 0, 1, 1},
        {"misses a corner", -0.5, 0.6, 0.6, 1.7, wxPLOTCLIP_OUTSIDE, 0, 0, 0, 0},
        {"end at infinity", 0.5, 0.5, Inf, 0.5, wxPLOTCLIP_OUTSIDE, 0, 0, 0, 0},
        {"not a number", NAN, 0.5, 0.5, 0.5, wxPLOTCLIP_OUTSIDE, 0, 0, 0, 0},
        // Far ends: the clipped ends stay on the segment.
        {"ends at the top of the range", -1e308, -1e308, 1e308, 1e308,
         wxPLOTCLIP_FIRST_X | wxPLOTCLIP_SECOND_X, 0, 0, 1, 1},
        {"far end out at the right", 0.5, 0.5, 1e17, 7e16, wxPLOTCLIP_SECOND_X, 0.5, 0.5, 1, 0.85},
        {"far end out at the top", 0.5, 0.5, 3e16, 1e17, wxPLOTCLIP_SECOND, 0.5, 0.5, 0.65, 1},
        {"far end out at a corner", 0.25, 0.5, 1e17, 1e17, wxPLOTCLIP_SECOND, 0.25, 0.5, 0.75, 1},
        {"far first end", -1e17, -5e16, 0.5, 0.25, wxPLOTCLIP_FIRST_X, 0, 0, 0.5, 0.25},
        {"both ends far", -1e17, -5e16, 1e17, 5e16, wxPLOTCLIP_FIRST_X | wxPLOTCLIP_SECOND_X, 0, 0, 1, 0.5},
    };
    for (const Case& c : cases)
    {
        double x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        const int r = ClipLineToRect(x0, y0, x1, y1, Unit);
        EXPECT_EQ(c.result, r) << c.name;
        if (r == wxPLOTCLIP_OUTSIDE || r != c.result)
            continue;
        EXPECT_NEAR(c.cx0, x0, 1e-12) << c.name;
        EXPECT_NEAR(c.cy0, y0, 1e-12) << c.name;
        EXPECT_NEAR(c.cx1, x1, 1e-12) << c.name;
        EXPECT_NEAR(c.cy1, y1, 1e-12) << c.name;
    }
}

// Against a reference that samples the segment: what lies inside the
// rectangle is kept, nothing outside is added, and the ends stay on the line.
TEST(ClipLineToRect, MatchesASampledReference)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-3.0, 4.0);
    std::uniform_int_distribution<int> pick(0, 9);
    const wxRect2DDouble rect(0.25, -0.5, 1.5, 2.0);
    const double eps = 1e-9;
    auto strictlyInside = [&](double x, double y) {
        return x > rect.m_x + 1e-6 && x < rect.m_x + rect.m_width - 1e-6 && y > rect.m_y + 1e-6 &&
               y < rect.m_y + rect.m_height - 1e-6;
    };
    for (int n = 0; n < 20000; ++n)
    {
        double ax = coord(rng), ay = coord(rng), bx = coord(rng), by = coord(rng);
        // Some axis-parallel and degenerate segments, and ends on an edge.
        switch (pick(rng))
        {
            case 0: by = ay; break;
            case 1: bx = ax; break;
            case 2: bx = ax; by = ay; break;
            case 3: ax = rect.m_x; break;
            default: break;
        }
        double x0 = ax, y0 = ay, x1 = bx, y1 = by;
        const int r = ClipLineToRect(x0, y0, x1, y1, rect);
        const int samples = 400;
        if (r == wxPLOTCLIP_OUTSIDE)
        {
            for (int i = 0; i <= samples; ++i)
            {
                const double t = double(i) / samples;
                ASSERT_FALSE(strictlyInside(ax + t * (bx - ax), ay + t * (by - ay)))
                    << "dropped a visible segment " << ax << "," << ay << " " << bx << "," << by;
            }
            continue;
        }
        // Ends inside the rectangle and on the original line.
        for (double x : {x0, x1})
            ASSERT_TRUE(x >= rect.m_x - eps && x <= rect.m_x + rect.m_width + eps);
        for (double y : {y0, y1})
            ASSERT_TRUE(y >= rect.m_y - eps && y <= rect.m_y + rect.m_height + eps);
        const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
        auto param = [&](double x, double y) {
            return len2 == 0 ? 0.0 : ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / len2;
        };
        auto offLine = [&](double x, double y) {
            return std::fabs((x - ax) * (by - ay) - (y - ay) * (bx - ax));
        };
        ASSERT_LT(offLine(x0, y0), 1e-9);
        ASSERT_LT(offLine(x1, y1), 1e-9);
        const double t0 = param(x0, y0), t1 = param(x1, y1);
        for (int i = 0; i <= samples && len2 > 0; ++i)
        {
            const double t = double(i) / samples;
            if (strictlyInside(ax + t * (bx - ax), ay + t * (by - ay)))
            {
                ASSERT_TRUE(t >= t0 - 1e-9 && t <= t1 + 1e-9) << "cut off a visible part of " << ax << "," << ay << " " << bx << "," << by
                    << " -> " << x0 << "," << y0 << " " << x1 << "," << y1 << " r=" << r;
            }
        }
        // An end reported as unmoved is the original end.
        if (!(r & wxPLOTCLIP_FIRST))
        {
            ASSERT_EQ(ax, x0);
            ASSERT_EQ(ay, y0);
        }
        if (!(r & wxPLOTCLIP_SECOND))
        {
            ASSERT_EQ(bx, x1);
            ASSERT_EQ(by, y1);
        }
    }
}

TEST(PlotRects, IntersectAndContainTouchingEdges)
{
    EXPECT_TRUE(PlotRectsIntersect(Unit, wxRect2DDouble(1, 1, 1, 1)));
    EXPECT_FALSE(PlotRectsIntersect(Unit, wxRect2DDouble(1.01, 0, 1, 1)));
    EXPECT_TRUE(PlotRectsIntersect(Unit, wxRect2DDouble(0.5, 0.5, 0, 0)));
    EXPECT_TRUE(PointInPlotRect(1, 1, Unit));
    EXPECT_FALSE(PointInPlotRect(1, 1.0000001, Unit));
    EXPECT_FALSE(PointInPlotRect(NAN, 0.5, Unit));
}

} // namespace
