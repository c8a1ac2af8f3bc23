#include "wxPlotDrawerCurve.h"
#include "wxPlotCtrl.h"

#include <wx/dc.h>

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerCurve, wxPlotDrawerBase);

void wxPlotDrawerCurve::Draw(wxDC* dc, wxPlotCurve* curve, int curveIndex)
{
    if (!dc || !m_owner || !curve || !curve->Ok() || m_dcRect.width <= 0)
        return;
    const wxPen normalPen = wxPlotCurveDrawPen(curve, curveIndex == m_owner->GetActiveIndex()
                                                ? wxPLOTPEN_ACTIVE : wxPLOTPEN_NORMAL, m_penScale);
    const wxPen selectedPen = wxPlotCurveDrawPen(curve, wxPLOTPEN_SELECTED, m_penScale);
    const DoubleRangeSelection* selection = m_owner->GetCurveSelection(curveIndex);

    // Lines go through a pixel layer, as data curves do (cairo's
    // unsmoothed strokes smear between neighbouring columns of one path),
    // one column of the canvas's own pixels after the other.
    const wxRect& area = m_owner->GetAreaSize();
    m_canvas.Start(*dc, area.width, area.height);
    const int scale = m_canvas.GetScale();
    const wxRect2DDouble& view = m_plotViewRect;
    const double zx = m_owner->GetZoomX(), zy = m_owner->GetZoomY();
    const double ah = area.height;
    auto toPixel = [&](double x, double y, int k) {
        return wxPoint(wxPlotPixel((x - view.m_x) * zx * k + 0.5),
                       wxPlotPixel((ah - (y - view.m_y) * zy) * k + 0.5));
    };
    m_rings.clear();
    auto usePen = [&](const wxPen& pen) {
        m_canvas.SetColour(pen.GetColour());
        m_canvas.SetWidth(pen.GetWidth() * scale);
    };

    double prevX = 0, prevY = 0;
    const int firstColumn = m_dcRect.x * scale, lastColumn = (m_dcRect.GetRight() + 1) * scale - 1;
    for (int px = firstColumn; px <= lastColumn; ++px)
    {
        const double x = double(px) / (zx * scale) + view.m_x;
        const double y = curve->GetY(x);
        const bool selected = selection && selection->IsSelected(x);
        if (px > firstColumn)
        {
            double x0 = prevX, y0 = prevY, x1 = x, y1 = y;
            const int r = ClipLineToRect(x0, y0, x1, y1, view);
            if (r != wxPLOTCLIP_OUTSIDE)
            {
                const wxPoint p = toPixel(x0, y0, scale), c = toPixel(x1, y1, scale);
                usePen(selected ? selectedPen : normalPen);
                m_canvas.Line(p.x, p.y, c.x, c.y);
                // Rings go on whole window pixels.
                if (selected && !(r & wxPLOTCLIP_SECOND) && px % scale == 0)
                    m_rings.push_back(toPixel(x1, y1, 1));
            }
        }
        prevX = x;
        prevY = y;
    }
    m_canvas.DrawOnto(*dc);
    if (!m_rings.empty())
    {
        dc->SetPen(selectedPen);
        dc->SetBrush(*wxTRANSPARENT_BRUSH);
        for (const wxPoint& c : m_rings)
            dc->DrawEllipse(c.x - 2, c.y - 2, 5, 5);
        dc->SetPen(wxNullPen);
    }
}
