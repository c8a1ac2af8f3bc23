#include "wxPlotDrawerBase.h"
#include "wxPlotCurve.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>

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
} // namespace

int ClipLineToRect(double& x0, double& y0, double& x1, double& y1, const wxRect2DDouble& rect)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return wxPLOTCLIP_OUTSIDE;
    const double left = rect.m_x, right = rect.m_x + rect.m_width;
    const double bottom = rect.m_y, top = rect.m_y + rect.m_height;

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
        const double ox = end ? x0 : x1;
        const double oy = end ? y0 : y1;
        int edge;
        double nx, ny;
        if (open & (Left | Right))
        {
            edge = (open & Left) ? Left : Right;
            nx = edge == Left ? left : right;
            const double t = (nx - x) / (ox - x);
            ny = y + t * (oy - y);
        }
        else
        {
            edge = (open & Bottom) ? Bottom : Top;
            ny = edge == Bottom ? bottom : top;
            const double t = (ny - y) / (oy - y);
            nx = x + t * (ox - x);
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
