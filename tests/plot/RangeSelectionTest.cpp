#include "IntRangeSelection.h"
#include "DoubleRangeSelection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{

IntRangeSelection Ints(std::initializer_list<IntRange> ranges)
{
    IntRangeSelection s;
    for (const IntRange& r : ranges)
        EXPECT_TRUE(s.SelectRange(r));
    return s;
}

std::string Str(const IntRangeSelection& s)
{
    std::string out;
    for (const IntRange& r : s.GetRanges())
        out += "{" + std::to_string(r.m_min) + ".." + std::to_string(r.m_max) + "}";
    return out;
}

std::string Str(const DoubleRangeSelection& s)
{
    std::string out;
    char buf[64];
    for (const DoubleRange& r : s.GetRanges())
    {
        snprintf(buf, sizeof buf, "{%g..%g}", r.m_min, r.m_max);
        out += buf;
    }
    return out;
}

TEST(IntRange, TouchesOnlyByItsEndsAndDeleteNeedsContainment)
{
    const IntRange r(5, 6);
    EXPECT_TRUE(r.Touches(IntRange(7, 9)));
    EXPECT_TRUE(r.Touches(IntRange(1, 4)));
    EXPECT_FALSE(r.Touches(IntRange(8, 9)));
    EXPECT_FALSE(r.Touches(IntRange(3, 10)));  // covers it, ends outside
    EXPECT_FALSE(r.Touches(wxEmptyIntRange));
    EXPECT_FALSE(IntRange(0, 0).Touches(IntRange(std::numeric_limits<int>::max(),
                                                 std::numeric_limits<int>::max())));

    IntRange a(0, 9), right;
    EXPECT_FALSE(a.Delete(IntRange(5, 10), &right));
    EXPECT_EQ(IntRange(0, 9), a);
    EXPECT_FALSE(a.Delete(IntRange(6, 4), &right));  // empty cut
    EXPECT_TRUE(a.Delete(IntRange(3, 5), &right));
    EXPECT_EQ(IntRange(0, 2), a);
    EXPECT_EQ(IntRange(6, 9), right);
    EXPECT_TRUE(a.Delete(IntRange(0, 0), &right));
    EXPECT_EQ(IntRange(1, 2), a);
    EXPECT_TRUE(right.IsEmpty());
    EXPECT_TRUE(a.Delete(IntRange(1, 2)));
    EXPECT_TRUE(a.IsEmpty());

    DoubleRange d(0.0, 10.0), dr;
    EXPECT_TRUE(d.Delete(DoubleRange(3.0, 5.0), &dr));
    EXPECT_EQ(DoubleRange(0.0, 3.0), d);
    EXPECT_EQ(DoubleRange(5.0, 10.0), dr);
}

TEST(IntRangeSelection, IndexFindsRangeOrGapBefore)
{
    const IntRangeSelection s = Ints({{2, 4}, {8, 9}});
    EXPECT_EQ(-1, s.Index(1));
    EXPECT_EQ(0, s.Index(3));
    EXPECT_EQ(0, s.Index(6));
    EXPECT_EQ(1, s.Index(9));
    EXPECT_EQ(2, s.Index(10));
    EXPECT_EQ(-1, IntRangeSelection().Index(0));
    EXPECT_TRUE(s.IsSelected(8));
    EXPECT_FALSE(s.IsSelected(6));
}

TEST(IntRangeSelection, SelectJoinsTouchingAndCoveredRanges)
{
    IntRangeSelection s = Ints({{2, 4}});
    EXPECT_TRUE(s.SelectRange(IntRange(5, 6)));
    EXPECT_EQ("{2..6}", Str(s));
    EXPECT_FALSE(s.SelectRange(IntRange(3, 4)));
    EXPECT_FALSE(s.SelectRange(IntRange(4, 3)));
    EXPECT_EQ("{2..6}", Str(s));

    s = Ints({{2, 4}});
    EXPECT_TRUE(s.SelectRange(IntRange(0, 0)));
    EXPECT_EQ("{0..0}{2..4}", Str(s));
    s = Ints({{2, 4}});
    EXPECT_TRUE(s.SelectRange(IntRange(1, 1)));
    EXPECT_EQ("{1..4}", Str(s));

    s = Ints({{2, 3}, {8, 9}});
    EXPECT_TRUE(s.SelectRange(IntRange(5, 7)));
    EXPECT_EQ("{2..3}{5..9}", Str(s));
    s = Ints({{2, 3}, {8, 9}});
    EXPECT_TRUE(s.SelectRange(IntRange(4, 7)));
    EXPECT_EQ("{2..9}", Str(s));

    // A range covering stored ones swallows them.
    s = Ints({{5, 6}});
    EXPECT_TRUE(s.SelectRange(IntRange(3, 10)));
    EXPECT_EQ("{3..10}", Str(s));
    s = Ints({{1, 1}, {5, 6}});
    EXPECT_TRUE(s.SelectRange(IntRange(3, 10)));
    EXPECT_EQ("{1..1}{3..10}", Str(s));
    s = Ints({{1, 1}, {5, 6}, {20, 30}});
    EXPECT_TRUE(s.SelectRange(IntRange(0, 40)));
    EXPECT_EQ("{0..40}", Str(s));

    const int big = std::numeric_limits<int>::max();
    s = Ints({{big - 1, big}});
    EXPECT_TRUE(s.SelectRange(IntRange(std::numeric_limits<int>::min(), big - 2)));
    EXPECT_EQ(1, s.GetCount());
}

TEST(IntRangeSelection, DeselectSubtractsAcrossRanges)
{
    IntRangeSelection s = Ints({{0, 9}});
    EXPECT_TRUE(s.DeselectRange(IntRange(0, 9)));
    EXPECT_TRUE(s.IsEmpty());

    s = Ints({{0, 9}});
    EXPECT_TRUE(s.DeselectRange(IntRange(0, 0)));
    EXPECT_EQ("{1..9}", Str(s));
    EXPECT_TRUE(s.DeselectRange(IntRange(3, 5)));
    EXPECT_EQ("{1..2}{6..9}", Str(s));

    s = Ints({{0, 9}, {11, 14}});
    EXPECT_TRUE(s.DeselectRange(IntRange(3, 12)));
    EXPECT_EQ("{0..2}{13..14}", Str(s));

    s = Ints({{0, 1}, {4, 5}, {8, 9}});
    EXPECT_TRUE(s.DeselectRange(IntRange(-5, 20)));
    EXPECT_TRUE(s.IsEmpty());

    s = Ints({{0, 1}, {8, 9}});
    EXPECT_FALSE(s.DeselectRange(IntRange(3, 6)));
    EXPECT_FALSE(s.DeselectRange(IntRange(6, 3)));
    EXPECT_FALSE(IntRangeSelection().DeselectRange(IntRange(0, 1)));
    EXPECT_EQ("{0..1}{8..9}", Str(s));
}

TEST(DoubleRangeSelection, JoinsOverlapsAndSharedEndsAndCutsKeepEnds)
{
    DoubleRangeSelection s;
    EXPECT_TRUE(s.SelectRange(DoubleRange(1.0, 2.0)));
    EXPECT_TRUE(s.SelectRange(DoubleRange(1.5, 3.0)));
    EXPECT_EQ("{1..3}", Str(s));
    EXPECT_TRUE(s.SelectRange(DoubleRange(5.0, 6.0)));
    EXPECT_TRUE(s.SelectRange(DoubleRange(3.0, 4.0)));  // shares an end
    EXPECT_EQ("{1..4}{5..6}", Str(s));
    EXPECT_FALSE(s.SelectRange(DoubleRange(1.5, 2.5)));
    EXPECT_FALSE(s.SelectRange(DoubleRange(std::nan(""), 2.5)));
    EXPECT_FALSE(s.SelectRange(DoubleRange(2.0, 1.0)));

    EXPECT_EQ(-1, s.Index(4.5));
    EXPECT_EQ(1, s.Index(6.0));
    EXPECT_EQ(-1, s.Index(7.0));
    EXPECT_EQ(0, s.NearestIndex(4.5));
    EXPECT_EQ(2, s.NearestIndex(7.0));
    EXPECT_EQ(-1, s.NearestIndex(0.5));
    EXPECT_EQ(-1, s.Index(std::nan("")));

    EXPECT_TRUE(s.DeselectRange(DoubleRange(2.0, 3.0)));
    EXPECT_EQ("{1..2}{3..4}{5..6}", Str(s));
    EXPECT_TRUE(s.IsSelected(2.0));
    EXPECT_FALSE(s.IsSelected(2.5));
    EXPECT_TRUE(s.DeselectRange(DoubleRange(1.0, 2.0)));  // the whole range
    EXPECT_EQ("{3..4}{5..6}", Str(s));
    EXPECT_TRUE(s.DeselectRange(DoubleRange(3.5, 5.5)));
    EXPECT_EQ("{3..3.5}{5.5..6}", Str(s));

    // A point inside a range cannot be cut out of a closed range.
    EXPECT_FALSE(s.DeselectRange(DoubleRange(5.75, 5.75)));
    EXPECT_FALSE(s.DeselectRange(DoubleRange(3.0, 3.0)));
    EXPECT_TRUE(s.SelectRange(DoubleRange(8.0, 8.0)));
    EXPECT_TRUE(s.DeselectRange(DoubleRange(8.0, 8.0)));
    EXPECT_EQ("{3..3.5}{5.5..6}", Str(s));
}

// Random select/deselect against a plain set of indexes.
TEST(IntRangeSelection, RandomOperationsMatchASetModel)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> pos(0, 60), len(0, 12), coin(0, 2);
    IntRangeSelection sel;
    std::set<int> model;
    for (int step = 0; step < 20000; ++step)
    {
        const int lo = pos(rng);
        const IntRange r(lo, lo + len(rng) - (coin(rng) == 0 ? 1 : 0));
        const bool select = coin(rng) != 0;
        const std::set<int> before = model;
        for (int v = r.m_min; v <= r.m_max; ++v)
        {
            if (select)
                model.insert(v);
            else
                model.erase(v);
        }
        const bool changed = select ? sel.SelectRange(r) : sel.DeselectRange(r);
        ASSERT_EQ(model != before, changed) << "step " << step << " " << Str(sel);

        const auto& ranges = sel.GetRanges();
        for (size_t i = 0; i < ranges.size(); ++i)
        {
            ASSERT_LE(ranges[i].m_min, ranges[i].m_max) << Str(sel);
            if (i > 0)
            {
                ASSERT_LT(ranges[i - 1].m_max + 1, ranges[i].m_min) << Str(sel);
            }
        }
        for (int v = -2; v <= 75; ++v)
        {
            ASSERT_EQ(model.count(v) == 1, sel.IsSelected(v)) << "step " << step << " v " << v;
            const int idx = sel.Index(v);
            if (model.count(v))
            {
                ASSERT_TRUE(ranges[idx].Contains(v));
            }
        }
    }
}

// Random select/deselect of x ranges against a model of grid cells and grid
// points: a closed range [a, b] holds the points a..b and the open cells
// between them. A cut keeps its end point where a selected cell still
// reaches it; a lone point goes when the cut covers it.
TEST(DoubleRangeSelection, RandomOperationsMatchAnIntervalModel)
{
    const int grid = 40;  // points 0..grid at 0.5 steps; cell k lies between k and k + 1
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> pos(0, grid), len(0, 8), coin(0, 1);
    std::vector<bool> points(grid + 1, false), cells(grid, false);
    DoubleRangeSelection sel;
    auto x = [](int k) { return k * 0.5; };

    for (int step = 0; step < 20000; ++step)
    {
        const int a = pos(rng);
        const int b = std::min(grid, a + len(rng));
        const bool select = coin(rng) != 0;
        const std::vector<bool> beforePoints = points, beforeCells = cells;
        if (select)
        {
            for (int k = a; k <= b; ++k)
                points[k] = true;
            for (int k = a; k < b; ++k)
                cells[k] = true;
        }
        else
        {
            for (int k = a; k < b; ++k)
                cells[k] = false;
            for (int k = a; k <= b; ++k)
            {
                const bool leftCell = k > 0 && cells[k - 1];
                const bool rightCell = k < grid && cells[k];
                if (!leftCell && !rightCell)
                    points[k] = false;
            }
        }
        const bool modelChanged = points != beforePoints || cells != beforeCells;
        const DoubleRange r(x(a), x(b));
        const bool changed = select ? sel.SelectRange(r) : sel.DeselectRange(r);
        ASSERT_EQ(modelChanged, changed) << "step " << step << " " << (select ? "+" : "-")
                                         << x(a) << ".." << x(b) << " " << Str(sel);

        const auto& ranges = sel.GetRanges();
        for (size_t i = 0; i < ranges.size(); ++i)
        {
            ASSERT_LE(ranges[i].m_min, ranges[i].m_max) << Str(sel);
            if (i > 0)
            {
                ASSERT_LT(ranges[i - 1].m_max, ranges[i].m_min) << Str(sel);
            }
        }
        for (int k = 0; k <= grid; ++k)
        {
            ASSERT_EQ(points[k], sel.IsSelected(x(k))) << "step " << step << " x " << x(k) << " " << Str(sel);
            if (k < grid)
            {
                ASSERT_EQ(cells[k], sel.IsSelected(x(k) + 0.25)) << "step " << step << " " << Str(sel);
            }
        }
        ASSERT_FALSE(sel.IsSelected(-0.25));
        ASSERT_FALSE(sel.IsSelected(x(grid) + 0.25));
    }
}

} // namespace
