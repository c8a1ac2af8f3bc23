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

    const wxRect2DDouble& view = m_plotViewRect;
    const double zx = m_owner->GetZoomX(), zy = m_owner->GetZoomY();
    const double ah = m_owner->GetAreaSize().height;
    auto toPixel = [&](double x, double y) {
        return wxPoint(wxPlotPixel((x - view.m_x) * zx + 0.5),
                       wxPlotPixel(ah - (y - view.m_y) * zy + 0.5));
    };

    // Lines go through a pixel layer, as data curves do (cairo's
    // unsmoothed strokes smear between neighbouring columns of one path).
    const wxRect& area = m_owner->GetAreaSize();
    if (!m_canvas.Attach(*dc, area.width, area.height))
        m_canvas.Reset(area.width, area.height);
    m_rings.clear();
    auto usePen = [&](const wxPen& pen) {
        m_canvas.SetColour(pen.GetColour());
        m_canvas.SetWidth(pen.GetWidth());
    };

    double prevX = 0, prevY = 0;
    for (int px = m_dcRect.x; px <= m_dcRect.GetRight(); ++px)
    {
        const double x = px / zx + view.m_x;
        const double y = curve->GetY(x);
        const bool selected = selection && selection->IsSelected(x);
        if (px > m_dcRect.x)
        {
            double x0 = prevX, y0 = prevY, x1 = x, y1 = y;
            const int r = ClipLineToRect(x0, y0, x1, y1, view);
            if (r != wxPLOTCLIP_OUTSIDE)
            {
                const wxPoint p = toPixel(x0, y0), c = toPixel(x1, y1);
                usePen(selected ? selectedPen : normalPen);
                m_canvas.Line(p.x, p.y, c.x, c.y);
                if (selected && !(r & wxPLOTCLIP_SECOND))
                    m_rings.push_back(c);
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
