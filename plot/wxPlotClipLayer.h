#pragma once
// Cairo's unsmoothed rings and rectangles come out different along the edge
// of a clip: the pixel column at the edge gets pixels a whole render leaves
// alone, or loses some. While one of these lives, what is drawn on a DC
// clipped to part of bounds goes into a layer whose clip reaches a few
// pixels further, and at its end only the clipped part of the layer is laid
// onto the DC, so that a stretch drawn again has the pixels of a whole
// render. Nothing changes when the clip is all of bounds or the DC does not
// draw through cairo.

#include <wx/gdicmn.h>

class wxDC;

class wxPlotClipLayer
{
public:
    wxPlotClipLayer(wxDC& dc, const wxRect& clip, const wxRect& bounds);
    ~wxPlotClipLayer();
    wxPlotClipLayer(const wxPlotClipLayer&) = delete;
    wxPlotClipLayer& operator=(const wxPlotClipLayer&) = delete;

private:
    void* m_cairo = nullptr;   // the DC's cairo context while the layer is open
};
