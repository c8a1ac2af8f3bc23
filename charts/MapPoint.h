#pragma once
// One point of the multiplier map as the user shapes it; kept by value in
// the map model's list.

#include "wxPlotMarker.h"

#include <cstdint>

struct MapPoint
{
    // Shares its data with the copies the plot shows; invalid until the
    // model's UpdateMarkers gives the point one.
    wxPlotMarker m_marker;
    bool m_visible = true;
    bool m_selected = false;
    // Map entry 0..255 (x = index x 0.1 ms).
    int32_t m_index = 0;
    // Multiplier at the point (1.0 = 100 %).
    double m_value = 0.0;
};
