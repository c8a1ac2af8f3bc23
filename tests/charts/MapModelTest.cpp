// The map model without a display: edits, refusals, selection, observers.
#include "MapModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Points = std::vector<std::pair<int, double>>;

void Add(MapModel& m, const Points& points)
{
    for (const auto& p : points)
        m.AddMapPoint(p.first, p.second);
}

// Selects the point on entry index as a click on its marker does.
void SelectEntry(MapModel& m, int index)
{
    for (const MapPoint& p : m.GetPoints())
        if (p.m_index == index)
            m.SelectPointUnder(wxPoint2DDouble(index * 0.1, p.m_value));
}

// Values to 1e-9, so that 1.2 - 0.05 compares equal to 1.15.
double Round(double v)
{
    return std::round(v * 1e9) / 1e9;
}

Points PointsOf(const MapModel& m)
{
    Points out;
    for (const MapPoint& p : m.GetPoints())
        out.emplace_back(p.m_index, Round(p.m_value));
    return out;
}

// The first broken rule of a sound map, or "": at most ten points, sorted,
// one per entry, on 0..255, a finite curve through every point's value and
// straight between neighbours, a highlight only on the selected point and
// drawn as such.
std::string Violation(const MapModel& m)
{
    const std::vector<MapPoint>& pts = m.GetPoints();
    const wxPlotData& c = m.GetCurve();
    if (pts.size() > 10 || c.GetCount() != 256)
        return "size";
    for (int i = 0; i < 256; ++i)
        if (!std::isfinite(c.GetYValue(i)) || c.GetXValue(i) != i * 0.1)
            return "entry " + std::to_string(i);
    for (std::size_t k = 0; k < pts.size(); ++k)
    {
        const MapPoint& b = pts[k];
        const std::string at = "point " + std::to_string(k) + " on " + std::to_string(b.m_index);
        if (b.m_index < 0 || b.m_index > 255 || (k > 0 && pts[k - 1].m_index >= b.m_index))
            return at;
        if (c.GetYValue(b.m_index) != b.m_value)
            return at + " is off the curve";
        if (b.m_selected && int(k) != m.GetSelectedIndex())
            return at + " highlighted, not selected";
        if (b.m_marker.GetPen().GetWidth() != (b.m_selected ? 4 : 2))
            return at + " drawn with the wrong pen";
        if (k == 0)
            continue;
        const MapPoint& a = pts[k - 1];
        const double slope = (b.m_value - a.m_value) / (b.m_index - a.m_index);
        for (int i = a.m_index + 1; i < b.m_index; ++i)
            if (std::fabs(c.GetYValue(i) - (a.m_value + slope * (i - a.m_index))) > 1e-9)
                return "entry " + std::to_string(i) + " off the line to " + at;
    }
    return "";
}

TEST(MapModel, EditsGiveTheExpectedPointsAndCurve)
{
    const Points three = {{10, 1.0}, {20, 2.0}, {30, 1.0}};
    const struct
    {
        const char* name;
        std::function<void(MapModel&)> edit;
        Points points;   // in list order
        Points entries;  // curve y at these entries
    } cases[] = {
        {"a duplicate on 25, whole or with a fraction, keeps the old value",
         [](MapModel& m) { Add(m, {{10, 1}, {25, 1.2}, {40, 1}, {25, 1.9}}); m.AddMapPoint(25.3, 1.7); },
         {{10, 1.0}, {25, 1.2}, {40, 1.0}}, {{25, 1.2}, {26, Round(1.2 - 0.2 / 15)}}},
        {"entry 10 carries 0..9", [](MapModel& m) { m.SetMultiplier(10, 80); },
         {}, {{0, 0.8}, {9, 0.8}, {10, 0.8}, {11, 0.0}}},
        {"entry 11 alone", [](MapModel& m) { m.SetMultiplier(11, 80); }, {}, {{9, 0.0}, {10, 0.0}, {11, 0.8}}},
        {"rebuild between 20 and 40 only",
         [](MapModel& m) { for (int i = 0; i < 256; ++i) m.SetMultiplier(i, 70); Add(m, {{20, 1}, {40, 2}}); },
         {{20, 1.0}, {40, 2.0}}, {{19, 0.7}, {30, 1.5}, {41, 0.7}, {255, 0.7}}},
        {"the first point is not removed",
         [&](MapModel& m) { Add(m, three); SelectEntry(m, 10); m.RemoveSelectedPoint(); }, three, {{15, 1.5}}},
        {"a middle point goes, straight between the outer two",
         [&](MapModel& m) { Add(m, three); SelectEntry(m, 20); m.RemoveSelectedPoint(); },
         {{10, 1.0}, {30, 1.0}}, {{20, 1.0}}},
        {"11 does not move down",
         [](MapModel& m) { Add(m, {{0, 1}, {11, 1.5}, {255, 1}}); SelectEntry(m, 11); m.MoveSelectedPoint(-1, 0); },
         {{0, 1.0}, {11, 1.5}, {255, 1.0}}, {}},
        {"255 does not move",
         [](MapModel& m) { Add(m, {{100, 1}, {255, 1.5}}); SelectEntry(m, 255); m.MoveSelectedPoint(-1, 0);
                           m.MoveSelectedPoint(1, 0); },
         {{100, 1.0}, {255, 1.5}}, {}},
        {"a move keeps the lines straight to the new place",
         [](MapModel& m) { Add(m, {{20, 1}, {30, 2}, {40, 1}}); SelectEntry(m, 30); m.MoveSelectedPoint(1, 0); },
         {{20, 1.0}, {31, 1.9}, {40, 1.0}}, {{30, Round(1.0 + 0.9 * 10 / 11)}}},
        {"a shift stops below 2.0", [](MapModel& m) { Add(m, {{10, 1.995}, {20, 1.5}}); m.ShiftCurve(0.01); },
         {{10, 1.995}, {20, 1.51}}, {}},
        {"calibration at 6.0 ms, both 120",
         [](MapModel& m) { Add(m, {{30, 0.5}}); m.BuildCalibratedMap(wxPoint2DDouble(6.0, 0.9), 120, 120); },
         {{10, 1.2}, {60, 1.2}, {120, 1.15}, {180, 1.1}, {240, 1.05}, {255, 1.0}},
         {{30, 1.2}, {250, Round(1.0 + 0.05 / 3)}}},
        {"out of range and non-finite refused",
         [](MapModel& m) {
             for (double i : {-0.5, 256.0, kNaN, kInf, -kInf}) m.AddMapPoint(i, 1.0);
             for (double v : {kNaN, kInf, -kInf}) m.AddMapPoint(20, v);
             m.SetMultiplier(-1, 50); m.SetMultiplier(256, 50); m.SetMultiplier(12, kNaN);
         },
         {}, {{12, 0.0}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MapModel m;
        auto* shown = new wxPlotData(m.GetCurve());  // as the plot holds it
        c.edit(m);
        EXPECT_EQ(PointsOf(m), c.points);
        Points entries;
        for (const auto& e : c.entries)
            entries.emplace_back(e.first, Round(shown->GetYValue(e.first)));
        EXPECT_EQ(entries, c.entries);
        delete shown;  // the plot may drop its copy
        EXPECT_EQ(Violation(m), "");
    }
    MapModel m;
    Add(m, {{255, 1.0}, {10, 1.0}, {25, 1.0}});
    const std::array<unsigned char, 10> table = {0x0A, 0x19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(m.PointIndexTable(), table);
}

TEST(MapModel, SelectionNeverNamesAPointThatIsGoneOrAnother)
{
    MapModel m;
    Add(m, {{10, 1.0}, {20, 1.0}, {30, 1.0}, {40, 1.0}, {50, 1.0}});
    SelectEntry(m, 40);
    m.ClearMapPoints();  // a parameter frame with other points
    Add(m, {{10, 1.0}, {100, 1.0}, {120, 1.0}, {255, 1.0}});
    m.MoveSelectedPoint(1, 0.5);
    m.RemoveSelectedPoint();
    EXPECT_EQ(PointsOf(m), (Points{{10, 1.0}, {100, 1.0}, {120, 1.0}, {255, 1.0}}));

    Add(m, {{40, 1.0}});
    SelectEntry(m, 40);
    m.AddMapPoint(30, 1.0);  // before the selected point
    m.MoveSelectedPoint(0, 0.5);
    m.RemoveSelectedPoint();
    m.RemoveSelectedPoint();  // a second Del must not take the neighbour
    EXPECT_EQ(PointsOf(m), (Points{{10, 1.0}, {30, 1.0}, {100, 1.0}, {120, 1.0}, {255, 1.0}}));
    EXPECT_EQ(m.GetCurve().GetYValue(40), 1.0);  // 40 had moved to 1.5 before it went
}

TEST(MapModel, ClicksSelectWithinTheBoxAroundAMarker)
{
    MapModel m;
    Add(m, {{20, 1.0}, {40, 1.0}});
    // A miss takes the highlight but keeps the keys on the point.
    const struct { double x, y; int selected; } clicks[] = {
        {4.09, 1.04, 1}, {2.0, 0.96, 0}, {3.0, 1.0, 0}, {kNaN, 1.0, 0}, {2.11, 1.0, 0}, {4.0, 1.06, 0}};
    for (const auto& c : clicks)
    {
        m.SelectPointAt(wxPoint2DDouble(c.x, c.y), wxRect2DDouble(0.1, 0.05, 0.2, 0.1));
        EXPECT_EQ(m.GetSelectedIndex(), c.selected) << c.x << ", " << c.y;
        EXPECT_EQ(Violation(m), "");
    }
    // The plot asks under the clicked curve point right after the box test:
    // a point on the curve but not on a marker leaves selection and highlight.
    m.SelectPointAt(wxPoint2DDouble(2.03, 1.0), wxRect2DDouble(0.1, 0.05, 0.2, 0.1));
    m.SelectPointUnder(wxPoint2DDouble(2.1, 1.0));
    EXPECT_EQ(m.GetSelectedIndex(), 0);
    EXPECT_TRUE(m.GetPoints()[0].m_selected);
    EXPECT_EQ(Violation(m), "");
}

struct Listener final : MapObserver
{
    std::function<void()> onMarkers;
    int markers = 0, modified = 0;
    void OnPointAdded() override {}
    void OnMapEvent(int) override {}
    void OnPointsMoved(bool) override {}
    void OnMarkersCleared() override {}
    void OnMarkersChanged() override { ++markers; if (onMarkers) onMarkers(); }
    void SetModified(bool) override { ++modified; }
};

TEST(MapModel, ObserversMayLeaveDuringANotification)
{
    MapModel m;
    Listener control, first, third;
    auto second = std::make_unique<Listener>();
    for (MapObserver* o : std::vector<MapObserver*>{&control, &first, second.get(), &third, &third})
        m.AddObserver(o);
    first.onMarkers = [&] {
        m.RemoveObserver(second.get());
        second.reset();  // a plot destroyed from inside the notice
        m.RemoveObserver(&first);
    };
    Add(m, {{10, 1.0}, {20, 1.0}});
    EXPECT_EQ(first.markers, 1);
    // Also the notice in which two left; once each, though added twice.
    EXPECT_EQ(third.markers, control.markers);
    EXPECT_EQ(third.modified, control.modified);
    m.RemoveObserver(&third);
    m.ShiftCurve(0.1);
    EXPECT_LT(third.modified, control.modified);
}

TEST(MapModel, RandomEditsKeepTheMapSound)
{
    MapModel m;
    for (int i = 0; i < 256; ++i)
        m.SetMultiplier(i, 100);
    std::mt19937 rng(14);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto any = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    // Mostly at an existing point, as a user clicks.
    auto aim = [&] {
        const std::vector<MapPoint>& pts = m.GetPoints();
        if (pts.empty() || any(4) == 0)
            return wxPoint2DDouble(real(-1.0, 27.0), real(-0.5, 3.0));
        const MapPoint& p = pts[any(int(pts.size()))];
        return wxPoint2DDouble(p.m_index * 0.1, p.m_value);
    };
    int full = 0, removed = 0, selected = 0;
    for (int n = 0; n < 6000; ++n)
    {
        const std::size_t before = m.GetPoints().size();
        switch (any(8))
        {
        case 0:
        case 1:
            m.AddMapPoint(any(3) == 0 ? aim().m_x * 10.0 + real(0.0, 1.0) : real(-5.0, 262.0),
                          any(4) == 0 ? -1.0 : any(30) == 0 ? kNaN : real(0.0, 2.5));
            break;
        case 2: m.MoveSelectedPoint(any(5) - 2, any(30) == 0 ? kNaN : (any(5) - 2) * 0.01); break;
        case 3: m.ShiftCurve((any(3) - 1) * 0.01); break;
        case 4: m.RemoveSelectedPoint(); break;
        case 5:
            m.SelectPointAt(aim() + wxPoint2DDouble(real(-0.1, 0.1), real(-0.05, 0.05)),
                            wxRect2DDouble(0.08, 0.04, 0.16, 0.08));
            break;
        case 6: m.SelectPointUnder(aim()); break;
        default:
            if (any(15) == 0)
                m.ClearMapPoints();
            else
                m.MoveSelectedPoint(any(2) ? -1 : 1, 0.0);
        }
        ASSERT_EQ(Violation(m), "") << "after edit " << n;
        full += m.GetPoints().size() == 10;
        removed += m.GetPoints().size() + 1 == before;
        selected += m.GetSelectedIndex() >= 0;
    }
    // The walk reached the states worth checking.
    EXPECT_GT(full, 100);
    EXPECT_GT(removed, 10);
    EXPECT_GT(selected, 1000);
}

} // namespace
