#pragma once
// Draws a data curve: the visible index range found by bisection (sorted x),
// each segment clipped to the view and mapped to pixels, and the path within
// one pixel column reduced to the one vertical stretch from its lowest to
// its highest point, so that a curve costs about two short lines per pixel
// column however many points it has. The lines are set into the DC's own
// pixels, or into a pixel layer laid over the DC in one piece; the result
// has the same pixels as drawing every segment on its own.

#include "wxPlotDrawerBase.h"
#include "wxPlotPixelCanvas.h"

#include <vector>

class wxPlotCurve;
class wxPlotData;

class wxPlotDrawerDataCurve : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerDataCurve(wxPlotCtrl* owner = NULL) : wxPlotDrawerBase(owner) {}

    void Draw(wxDC*, bool) wxOVERRIDE {}
    // curveIndex picks the active pen and the owner's selection of the curve.
    virtual void Draw(wxDC* dc, wxPlotData* curve, int curveIndex);

    // Between these, curves are set straight into dc's image where it has
    // one (a memory DC), else they collect in one layer of width x height
    // that EndBatch lays over dc; the area draws all its data curves this
    // way. Outside a batch each Draw does the same on its own.
    void BeginBatch(wxDC* dc, int width, int height);
    void EndBatch(wxDC* dc);
    bool InBatch() const { return m_batch; }

private:
    struct Run;
    void FlushColumn(Run& run);
    void EndChain(Run& run);
    void AddPoint(Run& run, const wxPoint& p);
    void AddCross(Run& run, const wxPoint& p);

    wxPlotPixelCanvas m_canvas;
    bool m_batch = false;
    // Which rows of the current pixel column already have a cross.
    std::vector<unsigned> m_crossStamp;
    unsigned m_stamp = 0;

    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerDataCurve);
};
