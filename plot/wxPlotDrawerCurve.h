#pragma once
// Draws a curve that is not sampled data (a function): one point per pixel
// column at the curve's y there, joined column to column; columns in a
// selected x range are drawn with the selected pen and get a small ring.

#include "wxPlotDrawerBase.h"
#include "wxPlotPixelCanvas.h"

#include <vector>

class wxPlotCurve;

class wxPlotDrawerCurve : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerCurve(wxPlotCtrl* owner = NULL) : wxPlotDrawerBase(owner) {}

    void Draw(wxDC*, bool) wxOVERRIDE {}
    virtual void Draw(wxDC* dc, wxPlotCurve* curve, int curveIndex);

private:
    wxPlotPixelCanvas m_canvas;
    std::vector<wxPoint> m_rings;

    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerCurve);
};
