#include "MapModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

MapModel* theMapModel = nullptr;

namespace
{

constexpr double kEntryStep = 0.1;  // ms per map entry
constexpr double kPercent = 0.01;
// Entries below 1.0 ms follow entry 10: the controller keeps none of them.
constexpr int kFollowedEntry = 10;
// A shift keeps every value within 0.0 .. below this.
constexpr double kShiftCeiling = 2.0;
constexpr unsigned char kUnusedSlot = 0xFF;

// Seeding from a calibration: the value falls in four equal steps from the
// learned point to 1.0 at five times its injection time, within entry 240.
constexpr int kSeedSteps = 4;
constexpr double kLastSeededIndex = 240.0;
constexpr double kMeanOfTwoPercents = 0.005;

double EntryX(int index)
{
    return index * kEntryStep;
}

wxGenericPen MarkerPen(bool selected)
{
    return selected
        ? wxGenericPen(wxGenericColour(155, 55, 55), 4, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND)
        : wxGenericPen(wxGenericColour(55, 55, 55), 2, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND);
}

} // namespace

MapModel::MapModel()
{
    m_curve.Create(kEntries);
    // x set from the start: a zero x at the end would draw the line back to
    // the origin and leave the curve unsorted for GetY.
    double* x = m_curve.GetXData();
    for (int i = 0; i < kEntries; ++i)
        x[i] = EntryX(i);
    m_curve.CalcBoundingRect();
    // A line: a mark on each of the 256 entries reads as a hatch.
    m_curve.SetDrawLines(true);
    m_curve.SetDrawPoints(false);
    m_curve.SetPen(wxPLOTPEN_NORMAL, wxGenericPen(wxGenericColour(0, 255, 0), 1, wxPENSTYLE_SOLID));
}

// --- Observers ---------------------------------------------------------------

void MapModel::AddObserver(MapObserver* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void MapModel::RemoveObserver(MapObserver* observer)
{
    auto it = std::find(m_observers.begin(), m_observers.end(), observer);
    if (it == m_observers.end())
        return;
    // A running notification walks the list by position.
    if (m_notifying > 0)
        *it = nullptr;
    else
        m_observers.erase(it);
}

template <typename Call>
void MapModel::Notify(Call call)
{
    ++m_notifying;
    for (std::size_t i = 0; i < m_observers.size(); ++i)
        if (MapObserver* observer = m_observers[i])
            call(*observer);
    if (--m_notifying == 0)
        m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), nullptr),
                          m_observers.end());
}

void MapModel::NotifyMarkersChanged()
{
    Notify([](MapObserver& o) { o.OnMarkersChanged(); });
}

// --- Curve -------------------------------------------------------------------

void MapModel::SetMultiplier(int index, double percent)
{
    if (index < 0 || index >= kEntries || !std::isfinite(percent))
        return;
    const double value = percent * kPercent;
    m_curve.SetPoint(index, EntryX(index), value);
    if (index == kFollowedEntry)
        for (int i = 0; i < kFollowedEntry; ++i)
            m_curve.SetPoint(i, EntryX(i), value);
}

void MapModel::RebuildCurve(bool whole)
{
    const std::size_t count = m_points.size();
    // A lone point still sets its own entry: the curve is what is sent, and
    // a value off it would be lost at the next parameter frame.
    if (count == 0)
        return;
    std::size_t first = 0, last = count - 1;
    // Without a selection the whole map is rebuilt: it is straight between
    // its points either way.
    if (!whole && HasSelection())
    {
        const std::size_t selected = static_cast<std::size_t>(m_selectedIndex);
        first = selected > 0 ? selected - 1 : 0;
        last = std::min(selected + 1, count - 1);
    }
    RebuildBetween(first, last);
}

void MapModel::RebuildBetween(std::size_t first, std::size_t last)
{
    double* x = m_curve.GetXData();
    double* y = m_curve.GetYData();
    for (std::size_t k = first; k < last; ++k)
    {
        const MapPoint& a = m_points[k];
        const MapPoint& b = m_points[k + 1];
        const int span = b.m_index - a.m_index;
        for (int i = a.m_index; i < b.m_index; ++i)
        {
            x[i] = EntryX(i);
            y[i] = a.m_value + (b.m_value - a.m_value) * (i - a.m_index) / span;
        }
    }
    // The end knot exactly, not as a + (b - a).
    const MapPoint& lastPoint = m_points[last];
    x[lastPoint.m_index] = EntryX(lastPoint.m_index);
    y[lastPoint.m_index] = lastPoint.m_value;
    m_curve.CalcBoundingRect();

    UpdateMarkers();
    Notify([](MapObserver& o) { o.SetModified(true); });
}

void MapModel::ShiftCurve(double step)
{
    if (step == 0.0 || !std::isfinite(step))
        return;
    std::vector<double> moved(m_points.size(), 0.0);
    for (std::size_t k = 0; k < m_points.size(); ++k)
    {
        const double value = m_points[k].m_value + step;
        if (value < kShiftCeiling && value >= 0.0)
        {
            m_points[k].m_value = value;
            moved[k] = step;
            Notify([](MapObserver& o) { o.OnPointsMoved(true); });
        }
    }
    if (std::all_of(moved.begin(), moved.end(), [](double d) { return d == 0.0; }))
        return;
    // Each entry moves with its two neighbouring points, by the straight line
    // between their steps: the map's own shape between the points stays.
    double* y = m_curve.GetYData();
    for (std::size_t k = 0; k + 1 < m_points.size(); ++k)
    {
        const MapPoint& a = m_points[k];
        const MapPoint& b = m_points[k + 1];
        const int span = b.m_index - a.m_index;
        for (int i = a.m_index + 1; i < b.m_index; ++i)
            y[i] += moved[k] + (moved[k + 1] - moved[k]) * (i - a.m_index) / span;
    }
    for (const MapPoint& p : m_points)
        y[p.m_index] = p.m_value;
    m_curve.CalcBoundingRect();
    UpdateMarkers();
    Notify([](MapObserver& o) { o.SetModified(true); });
}

// --- Points ------------------------------------------------------------------

bool MapModel::HasSelection() const
{
    return m_selectedIndex >= 0 && static_cast<std::size_t>(m_selectedIndex) < m_points.size();
}

int MapModel::Insert(const MapPoint& point)
{
    auto at = std::lower_bound(m_points.begin(), m_points.end(), point.m_index,
                               [](const MapPoint& p, int32_t i) { return p.m_index < i; });
    if (at != m_points.end() && at->m_index == point.m_index)
        return -1;
    const int position = static_cast<int>(at - m_points.begin());
    // The selection stays on the point it named.
    if (HasSelection() && position <= m_selectedIndex)
        ++m_selectedIndex;
    m_points.insert(at, point);
    return position;
}

void MapModel::AddMapPoint(double index, double value)
{
    if (m_points.size() >= static_cast<std::size_t>(kMaxPoints))
        return;
    // A double click outside the map or a bad number must not reach the
    // 256-entry curve or the one-byte point table.
    if (!(index >= 0.0 && index < kEntries) || !std::isfinite(value))
        return;

    MapPoint point;
    point.m_index = static_cast<int32_t>(index);
    point.m_value = value < 0.0 ? m_curve.GetY(index * kEntryStep) : value;

    // Compared on the entry, so 25.3 beside a point on 25 is a duplicate:
    // two knots on one entry would divide by a zero span.
    const int position = Insert(point);
    UpdateMarkers();
    if (position >= 0)
    {
        // Only the segments that meet the new point: the map beyond its
        // neighbours stays as the ECU or the user left it.
        const std::size_t at = static_cast<std::size_t>(position);
        RebuildBetween(at > 0 ? at - 1 : 0, std::min(at + 1, m_points.size() - 1));
    }
    Notify([](MapObserver& o) { o.OnPointAdded(); });
}

void MapModel::RemoveSelectedPoint()
{
    if (m_points.size() < 3 || !HasSelection())
        return;
    const std::size_t selected = static_cast<std::size_t>(m_selectedIndex);
    if (selected == 0 || selected == m_points.size() - 1)
        return;
    m_points.erase(m_points.begin() + m_selectedIndex);
    // The point it named is gone; a second Del must not take its neighbour.
    m_selectedIndex = -1;
    RebuildBetween(selected - 1, selected);
}

void MapModel::ClearMapPoints()
{
    m_points.clear();
    m_selectedIndex = -1;
}

void MapModel::MoveSelectedPoint(int indexStep, double valueStep)
{
    if (!HasSelection() || !std::isfinite(valueStep))
        return;
    if (valueStep != 0.0)
    {
        m_points[m_selectedIndex].m_value += valueStep;
        RebuildCurve(false);
        Notify([](MapObserver& o) { o.OnPointsMoved(false); });
    }
    if (indexStep == 0 || !HasSelection())
        return;

    const std::size_t selected = static_cast<std::size_t>(m_selectedIndex);
    MapPoint& point = m_points[selected];
    if (point.m_index == 0 || point.m_index == kEntries - 1)
        return;
    const int64_t to = int64_t(point.m_index) + indexStep;
    if (indexStep < 0)
    {
        if (to < kLowestMovedIndex || (selected > 0 && to <= m_points[selected - 1].m_index))
            return;
    }
    else if (to > kHighestMovedIndex
             || (selected + 1 < m_points.size() && to >= m_points[selected + 1].m_index))
    {
        return;
    }
    point.m_index = static_cast<int32_t>(to);
    point.m_value = m_curve.GetYValue(point.m_index);
    // Straight again from the new place to both neighbours, as the next
    // parameter frame would draw it.
    RebuildCurve(false);
    NotifyMarkersChanged();
}

std::array<unsigned char, MapModel::kMaxPoints> MapModel::PointIndexTable() const
{
    std::array<unsigned char, kMaxPoints> table;
    table.fill(kUnusedSlot);
    const std::size_t used = std::min(m_points.size(), table.size());
    for (std::size_t k = 0; k < used; ++k)
        table[k] = static_cast<unsigned char>(m_points[k].m_index & 0xFF);
    return table;
}

std::vector<int32_t> MapModel::LoadedPointIndexes(const unsigned char indices[kMaxPoints])
{
    // 0 is no point; 0xFF is the point on 255 (so an unused slot gives it).
    std::vector<int32_t> out;
    for (int k = 0; k < kMaxPoints; ++k)
        if (indices[k] != 0)
            out.push_back(indices[k]);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::array<unsigned char, MapModel::kMaxPoints> MapModel::LoadedPointTable(
    const unsigned char indices[kMaxPoints])
{
    std::array<unsigned char, kMaxPoints> table;
    table.fill(kUnusedSlot);
    const std::vector<int32_t> loaded = LoadedPointIndexes(indices);
    std::copy(loaded.begin(), loaded.end(), table.begin());
    return table;
}

void MapModel::LoadMap(const double percent[kEntries], const unsigned char indices[kMaxPoints])
{
    ClearMapPoints();
    // The ECU keeps entries 10..255 only.
    for (int i = kFollowedEntry; i < kEntries; ++i)
        SetMultiplier(i, percent[i]);
    // The points sit on the entries as read, which stay as the ECU holds
    // them: between the points its map need not be straight.
    for (int32_t index : LoadedPointIndexes(indices))
    {
        MapPoint point;
        point.m_index = index;
        point.m_value = m_curve.GetYValue(index);
        m_points.push_back(point);
    }
    m_curve.CalcBoundingRect();
    UpdateMarkers();
}

void MapModel::BuildCalibratedMap(const wxPoint2DDouble& point, int multiplier,
                                  int calibrationMultiplier)
{
    ClearMapPoints();
    const double value = (multiplier + calibrationMultiplier) * kMeanOfTwoPercents;
    AddMapPoint(kFollowedEntry, value);
    AddMapPoint(point.m_x * 10.0, value);
    const double drop = (value - 1.0) / kSeedSteps;
    for (int k = 1; k <= kSeedSteps; ++k)
    {
        const double index = (1 + k) * point.m_x * 10.0;
        if (index > kLastSeededIndex)
            break;
        AddMapPoint(index, value - k * drop);
    }
    AddMapPoint(kEntries - 1, 1.0);
    RebuildCurve(true);
}

// --- Markers and selection ---------------------------------------------------

void MapModel::PlaceMarkers()
{
    for (MapPoint& p : m_points)
    {
        if (!p.m_visible)
        {
            p.m_marker.UnRef();
            continue;
        }
        if (!p.m_marker.Ok())
            p.m_marker.Create(wxPLOTMARKER_ELLIPSE, wxRect2DDouble(), wxSize(4, 4), wxGenericPen(),
                              wxNullGenericBrush);
        p.m_marker.SetPen(MarkerPen(p.m_selected));
        p.m_marker.SetPlotPosition(EntryX(p.m_index), p.m_value);
    }
}

void MapModel::UpdateMarkers()
{
    PlaceMarkers();
    Notify([](MapObserver& o) {
        o.OnPointsMoved(true);
        o.OnMarkersChanged();
    });
}

void MapModel::Select(int position)
{
    for (MapPoint& p : m_points)
        p.m_selected = false;
    m_points[position].m_selected = true;
    m_selectedIndex = position;
}

void MapModel::Unhighlight()
{
    for (MapPoint& p : m_points)
        p.m_selected = false;
}

namespace
{
// First point whose marker box contains p; a NaN p hits nothing.
int FindMarker(const std::vector<MapPoint>& points, const wxPoint2DDouble& p,
               const wxRect2DDouble& box)
{
    for (std::size_t k = 0; k < points.size(); ++k)
    {
        if (!points[k].m_marker.Ok())
            continue;
        const wxPoint2DDouble at = points[k].m_marker.GetPlotPosition();
        const double left = at.m_x - box.m_x;
        const double bottom = at.m_y - box.m_y;
        if (p.m_x >= left && p.m_x <= left + box.m_width && p.m_y >= bottom
            && p.m_y <= bottom + box.m_height)
            return static_cast<int>(k);
    }
    return -1;
}
} // namespace

void MapModel::SelectPointAt(const wxPoint2DDouble& p, const wxRect2DDouble& box)
{
    const int hit = FindMarker(m_points, p, box);
    if (hit >= 0)
        Select(hit);
    else
        Unhighlight();
    UpdateMarkers();
    NotifyMarkersChanged();
}

void MapModel::SelectPointUnder(const wxPoint2DDouble& p)
{
    // The plot asks after every click that lands on a curve point, right
    // after the box test has selected the marker near it: a miss here must
    // not take back that selection.
    const int hit = FindMarker(m_points, p, wxRect2DDouble(0, 0, 0, 0));
    if (hit < 0)
        return;
    Select(hit);
    // Pens renewed here too, so the highlight shows with the selection.
    PlaceMarkers();
    NotifyMarkersChanged();
}
