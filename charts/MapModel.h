#pragma once
// The injection-time multiplier map: 256 entries (entry i stands for
// i x 0.1 ms, 1.0 = 100 %) held as a plot curve, shaped by up to ten points
// with straight lines between them. No window code: the plot and the map page
// reach it through theMapModel and hear of changes as MapObservers.

#include "MapObserver.h"
#include "MapPoint.h"
#include "wxPlotData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class MapModel
{
public:
    static constexpr int kEntries = 256;
    static constexpr int kMaxPoints = 10;
    // Point indexes that a move may reach; 0 and 255 stay where they are.
    static constexpr int kLowestMovedIndex = 11;
    static constexpr int kHighestMovedIndex = 254;

    // No points, nothing selected, entry i at (i x 0.1, 0), drawn as a green
    // line.
    MapModel();
    MapModel(const MapModel&) = delete;
    MapModel& operator=(const MapModel&) = delete;

    // Appends to the notification list (not owned); a second add is ignored.
    void AddObserver(MapObserver* observer);
    // Takes an observer off the list; safe from inside a notification.
    void RemoveObserver(MapObserver* observer);

    // Entry index := percent / 100; entry 10 also sets 0..9. Out-of-range
    // indexes and non-finite values are ignored. Tells no observer.
    void SetMultiplier(int index, double percent);
    // Adds a point on trunc(index) with value, or the curve's value there
    // when value < 0, and draws straight lines to its neighbours only.
    // Refused: an eleventh point, an index outside 0..255, non-finite input;
    // a point already on that index keeps its value.
    void AddMapPoint(double index, double value);
    // Removes the selected point unless it is the first or the last.
    void RemoveSelectedPoint();
    // Drops every point and the selection; tells no observer.
    void ClearMapPoints();
    // Value and/or index step of the selected point, within its neighbours
    // and 11..254 for the index.
    void MoveSelectedPoint(int indexStep, double valueStep);
    // Adds step to every point that stays within 0.0 .. below 2.0; the
    // entries move with their neighbouring points, keeping their shape.
    void ShiftCurve(double step);
    // Straight lines between all points (whole) or around the selected one;
    // a lone point sets its own entry.
    void RebuildCurve(bool whole);
    // Creates, colours and places the point markers and tells the observers.
    void UpdateMarkers();
    // Selects the first point whose marker box (half-width, half-height,
    // width, height in box) around it contains p.
    void SelectPointAt(const wxPoint2DDouble& p, const wxRect2DDouble& box);
    // Selects the point whose marker sits exactly at p; a miss changes nothing.
    void SelectPointUnder(const wxPoint2DDouble& p);
    // Each point's index in list order, 0xFF for the unused slots.
    std::array<unsigned char, kMaxPoints> PointIndexTable() const;
    // Replaces the map by the ECU's as it is: percent[10..255] (entry 10
    // also sets 0..9), then a point, at the entry's value, on each index but
    // 0; an unused slot (0xFF) thus gives the point on 255. Nothing is
    // re-drawn and nothing counts as modified.
    void LoadMap(const double percent[kEntries], const unsigned char indices[kMaxPoints]);
    // PointIndexTable of a map loaded with indices.
    static std::array<unsigned char, kMaxPoints> LoadedPointTable(const unsigned char indices[kMaxPoints]);
    // Replaces the points by a map seeded from a calibration: point.m_x is
    // the learned petrol time in ms, the multipliers are the controller's
    // two percent bytes.
    void BuildCalibratedMap(const wxPoint2DDouble& point, int multiplier,
                            int calibrationMultiplier);

    // The curve; a copy shares its points, so a plot shows every change.
    const wxPlotData& GetCurve() const { return m_curve; }
    const std::vector<MapPoint>& GetPoints() const { return m_points; }
    // Position of the selected point in GetPoints, or -1.
    int GetSelectedIndex() const { return HasSelection() ? m_selectedIndex : -1; }

private:
    bool HasSelection() const;
    // The point indexes LoadMap makes of a table: rising, each once, no 0.
    static std::vector<int32_t> LoadedPointIndexes(const unsigned char indices[kMaxPoints]);
    // Puts point in its place in the list; its position, or -1 when a point
    // already sits on its index.
    int Insert(const MapPoint& point);
    // Re-interpolates the curve between points first..last.
    void RebuildBetween(std::size_t first, std::size_t last);
    // Markers for visible points, pens by selection, placed at the points.
    void PlaceMarkers();
    // Marks the point at position as the only selected one.
    void Select(int position);
    // No hit: the highlight goes, the keys still act on the point.
    void Unhighlight();
    template <typename Call> void Notify(Call call);
    void NotifyMarkersChanged();

    int m_selectedIndex = -1;
    std::vector<MapObserver*> m_observers;
    wxPlotData m_curve;
    std::vector<MapPoint> m_points;
    // Notifications running; removals then only blank their slot.
    int m_notifying = 0;
};

// The one map model, created by the first map plot; never destroyed.
extern MapModel* theMapModel;
