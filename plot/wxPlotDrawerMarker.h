#pragma once
// Draws markers: points, lines across the view, crosses, rectangles and
// bitmaps, each clipped to the view before it reaches the DC.

#include "wxPlotDrawerBase.h"
#include "wxPlotMarker.h"

class wxPlotDrawerMarker : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerMarker(wxPlotCtrl* owner = NULL) : wxPlotDrawerBase(owner) {}

    void Draw(wxDC*, bool) wxOVERRIDE {}
    virtual void Draw(wxDC* dc, const wxPlotMarker& marker);
    // Stops at the first marker without data.
    virtual void Draw(wxDC* dc, const wxArrayPlotMarker& markers);

private:
    void DrawClippedLine(wxDC* dc, double x0, double y0, double x1, double y1);
    void DrawOne(wxDC* dc, const wxPlotMarker& marker);

    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerMarker);
};
