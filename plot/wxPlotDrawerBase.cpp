#include "wxPlotDrawerBase.h"
#include "wxPlotCurve.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <utility>

wxIMPLEMENT_ABSTRACT_CLASS(wxPlotDrawerBase, wxObject);
wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerArea, wxPlotDrawerBase);

bool PlotRectsIntersect(const wxRect2DDouble& a, const wxRect2DDouble& b)
{
    return std::min(a.m_x + a.m_width, b.m_x + b.m_width) >= std::max(a.m_x, b.m_x) &&
           std::min(a.m_y + a.m_height, b.m_y + b.m_height) >= std::max(a.m_y, b.m_y);
}

bool PointInPlotRect(double x, double y, const wxRect2DDouble& rect)
{
    return x >= rect.m_x && y >= rect.m_y && x <= rect.m_x + rect.m_width &&
           y <= rect.m_y + rect.m_height;
}

namespace
{
enum { Left = 1, Right = 2, Top = 4, Bottom = 8 };

int OutCode(double x, double y, double left, double right, double bottom, double top)
{
    int code = 0;
    if (x < left)
        code |= Left;
    else if (x > right)
        code |= Right;
    if (y < bottom)
        code |= Bottom;
    else if (y > top)
        code |= Top;
    return code;
}

// A double-double: the unevaluated sum of two doubles, about 32 digits.
struct Wide
{
    double hi, lo;
};

Wide Normalised(double hi, double lo)
{
    const double s = hi + lo;
    return {s, lo - (s - hi)};
}

Wide Sum(double a, double b)
{
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

Wide Product(const Wide& a, const Wide& b)
{
    const double p = a.hi * b.hi;
    return Normalised(p, std::fma(a.hi, b.hi, -p) + (a.hi * b.lo + a.lo * b.hi));
}

Wide Quotient(const Wide& a, const Wide& b)
{
    const double q = a.hi / b.hi;
    const Wide p = Product({q, 0.0}, b);
    Wide r = Sum(a.hi, -p.hi);
    r.lo += a.lo - p.lo;
    return Normalised(q, (r.hi + r.lo) / b.hi);
}

// The coordinate b where the line through (a0, b0) and (a1, b1) has a = v,
// worked out from the end nearer to v in double-double: with ends far
// away (1e17) the rounding of plain doubles would be larger than the
// whole rectangle.
double Interpolate(double v, double a0, double b0, double a1, double b1)
{
    // Differences of ends near the top of the double range would overflow.
    const double most = std::max({std::fabs(v), std::fabs(a0), std::fabs(b0), std::fabs(a1),
                                  std::fabs(b1)});
    if (most > 1e300)
        return std::ldexp(Interpolate(std::ldexp(v, -64), std::ldexp(a0, -64), std::ldexp(b0, -64),
                                      std::ldexp(a1, -64), std::ldexp(b1, -64)),
                          64);
    if (std::fabs(v - a1) < std::fabs(v - a0))
    {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const Wide t = Quotient(Sum(v, -a0), Sum(a1, -a0));
    const Wide p = Product(t, Sum(b1, -b0));
    const Wide r = Sum(b0, p.hi);
    return r.hi + (r.lo + p.lo);
}
} // namespace

int ClipLineToRect(double& x0, double& y0, double& x1, double& y1, const wxRect2DDouble& rect)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return wxPLOTCLIP_OUTSIDE;
    const double left = rect.m_x, right = rect.m_x + rect.m_width;
    const double bottom = rect.m_y, top = rect.m_y + rect.m_height;
    // Every move interpolates between the ends as given, never from an end
    // moved before, so that the clipped ends stay on the segment.
    const double ax = x0, ay = y0, bx = x1, by = y1;

    int code[2] = {OutCode(x0, y0, left, right, bottom, top),
                   OutCode(x1, y1, left, right, bottom, top)};
    // Each end moves at most once onto each edge: rounding can leave a moved
    // end a hair outside, and chasing it would never end.
    int used[2] = {0, 0};
    int result = 0;
    for (;;)
    {
        if ((code[0] | code[1]) == 0)
            return result;
        if (code[0] & code[1])
            return wxPLOTCLIP_OUTSIDE;
        const int end = code[0] ? 0 : 1;
        const int open = code[end] & ~used[end];
        if (open == 0)
            return wxPLOTCLIP_OUTSIDE;
        double& x = end ? x1 : x0;
        double& y = end ? y1 : y0;
        int edge;
        double nx, ny;
        if (open & (Left | Right))
        {
            edge = (open & Left) ? Left : Right;
            nx = edge == Left ? left : right;
            ny = Interpolate(nx, ax, ay, bx, by);
        }
        else
        {
            edge = (open & Bottom) ? Bottom : Top;
            ny = edge == Bottom ? bottom : top;
            nx = Interpolate(ny, ay, ax, by, bx);
        }
        if (!std::isfinite(nx) || !std::isfinite(ny))
            return wxPLOTCLIP_OUTSIDE;
        x = nx;
        y = ny;
        used[end] |= edge;
        const bool xEdge = (edge & (Left | Right)) != 0;
        result |= end ? (xEdge ? wxPLOTCLIP_SECOND_X : wxPLOTCLIP_SECOND_Y)
                      : (xEdge ? wxPLOTCLIP_FIRST_X : wxPLOTCLIP_FIRST_Y);
        code[end] = OutCode(x, y, left, right, bottom, top);
    }
}

void wxPlotSetCrispDrawing(wxDC& dc)
{
    if (wxGraphicsContext* gc = dc.GetGraphicsContext())
        gc->SetAntialiasMode(wxANTIALIAS_NONE);
}

wxFont wxPlotScaledFont(const wxFont& font, double scale)
{
    if (scale == 1.0 || !font.IsOk())
        return font;
    wxFont scaled(font);
    const int size = int(std::lround(font.GetPointSize() * scale));
    scaled.SetPointSize(std::max(size, 2));
    return scaled;
}

wxPen wxPlotCurveDrawPen(const wxPlotCurve* curve, int which, double penScale)
{
    wxPen pen = curve ? curve->GetPen(which).GetPen() : wxNullPen;
    if (!pen.IsOk())
        pen = *wxBLACK_PEN;
    if (penScale != 1.0)
        pen.SetWidth(int(pen.GetWidth() * penScale));
    return pen;
}

int wxPlotCurveReach(const wxPlotCurve* curve)
{
    int reach = 0;
    if (curve)
        for (int i = 0; i < wxPLOTPEN_MAXTYPE; ++i)
            reach = std::max(reach, curve->GetPen(i).GetWidth() + wxPLOT_POINT_MARK_REACH);
    return reach;
}
