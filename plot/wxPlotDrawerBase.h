#pragma once
// The plot control's painters: one small object per kind of thing on a plot,
// created once by the control, given the current pixel rectangle and view
// before each call and drawing onto a wxDC. Also the clipping and pixel
// helpers they share.

#include <wx/object.h>
#include <wx/gdicmn.h>
#include <wx/geometry.h>
#include <wx/font.h>

#include <climits>

class wxDC;
class wxPen;
class wxPlotCtrl;
class wxPlotCurve;

// --- Shared helpers ----------------------------------------------------------

// The two plot rectangles overlap or touch.
bool PlotRectsIntersect(const wxRect2DDouble& a, const wxRect2DDouble& b);
// x >= left, y >= bottom, x <= right, y <= top.
bool PointInPlotRect(double x, double y, const wxRect2DDouble& rect);

// Results of ClipLineToRect: which ends moved onto which kind of edge, or
// that nothing of the segment lies in the rectangle.
enum
{
    wxPLOTCLIP_FIRST_X = 1,     // first end moved onto a left or right edge
    wxPLOTCLIP_FIRST_Y = 2,     // first end moved onto a bottom or top edge
    wxPLOTCLIP_SECOND_X = 16,
    wxPLOTCLIP_SECOND_Y = 32,
    wxPLOTCLIP_FIRST = wxPLOTCLIP_FIRST_X | wxPLOTCLIP_FIRST_Y,
    wxPLOTCLIP_SECOND = wxPLOTCLIP_SECOND_X | wxPLOTCLIP_SECOND_Y,
    wxPLOTCLIP_OUTSIDE = 256
};

// Clips the segment to rect in place. wxPLOTCLIP_OUTSIDE when a coordinate
// is not finite, the segment misses the rectangle, or an end is still
// outside after one move per edge; otherwise the bits of the ends moved.
int ClipLineToRect(double& x0, double& y0, double& x1, double& y1, const wxRect2DDouble& rect);

// A pixel coordinate truncated toward zero and saturated at both ends of
// int; not a number gives INT_MAX.
inline int wxPlotPixel(double v)
{
    if (!(v < 2147483647.0))
        return INT_MAX;
    if (v <= -2147483648.0)
        return INT_MIN;
    return int(v);
}

// A pixel rectangle with a negative width or height turned round (a rubber
// band dragged up or left).
inline wxRect wxPlotNormalisedRect(wxRect r)
{
    if (r.width < 0)
    {
        r.x += r.width;
        r.width = -r.width;
    }
    if (r.height < 0)
    {
        r.y += r.height;
        r.height = -r.height;
    }
    return r;
}

// Turns anti-aliasing off, so that lines fall on whole pixels.
void wxPlotSetCrispDrawing(wxDC& dc);

// A curve's pen (wxPLOTPEN_*) as a toolkit pen, its width scaled (printing);
// black when the curve has no such pen.
wxPen wxPlotCurveDrawPen(const wxPlotCurve* curve, int which, double penScale);

// How far the arms of a data point's cross, and a function curve's
// selected ring, reach from the point, in window pixels.
const int wxPLOT_POINT_MARK_REACH = 2;

// Window pixels the drawing of curve may reach beyond its points (its
// widest pen and the marks on them); 0 for none.
int wxPlotCurveReach(const wxPlotCurve* curve);

// A copy of font whose point size is round(size * scale), at least 2.
wxFont wxPlotScaledFont(const wxFont& font, double scale);

// --- Drawers -----------------------------------------------------------------

class wxPlotDrawerBase : public wxObject
{
public:
    explicit wxPlotDrawerBase(wxPlotCtrl* owner = NULL) : m_owner(owner) {}

    virtual void Draw(wxDC* dc, bool refresh) = 0;

    wxPlotCtrl* GetOwner() const { return m_owner; }
    // Pixel rectangle to draw in.
    const wxRect& GetDCRect() const { return m_dcRect; }
    void SetDCRect(const wxRect& rect) { m_dcRect = rect; }
    // Visible plot rectangle (origin lower left).
    const wxRect2DDouble& GetPlotViewRect() const { return m_plotViewRect; }
    void SetPlotViewRect(const wxRect2DDouble& rect) { m_plotViewRect = rect; }
    // Factors for pen widths and font sizes (printing).
    double GetPenScale() const { return m_penScale; }
    void SetPenScale(double scale) { m_penScale = scale; }
    double GetFontScale() const { return m_fontScale; }
    void SetFontScale(double scale) { m_fontScale = scale; }

protected:
    wxPlotCtrl* m_owner;
    wxRect m_dcRect;
    wxRect2DDouble m_plotViewRect;
    double m_penScale = 1.0;
    double m_fontScale = 1.0;

private:
    wxDECLARE_ABSTRACT_CLASS(wxPlotDrawerBase);
};

// The area itself: its background and frame are drawn by the control.
class wxPlotDrawerArea : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerArea(wxPlotCtrl* owner = NULL) : wxPlotDrawerBase(owner) {}
    void Draw(wxDC*, bool) wxOVERRIDE {}

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerArea);
};
