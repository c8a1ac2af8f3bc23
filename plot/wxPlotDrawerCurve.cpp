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

    bool runSelected = false;
    dc->SetPen(normalPen);
    auto flush = [&]() {
        if (m_line.size() >= 2)
            dc->DrawLines(int(m_line.size()), m_line.data());
        m_line.clear();
    };

    double prevX = 0, prevY = 0;
    for (int px = m_dcRect.x; px <= m_dcRect.GetRight(); ++px)
    {
        const double x = px / zx + view.m_x;
        const double y = curve->GetY(x);
        const bool selected = selection && selection->IsSelected(x);
        if (selected != runSelected)
        {
            const wxPoint tail = m_line.empty() ? wxPoint() : m_line.back();
            const bool joined = !m_line.empty();
            flush();
            runSelected = selected;
            dc->SetPen(selected ? selectedPen : normalPen);
            if (joined)
                m_line.push_back(tail);
        }
        if (px > m_dcRect.x)
        {
            double x0 = prevX, y0 = prevY, x1 = x, y1 = y;
            const int r = ClipLineToRect(x0, y0, x1, y1, view);
            if (r == wxPLOTCLIP_OUTSIDE)
                flush();
            else
            {
                const wxPoint p = toPixel(x0, y0), c = toPixel(x1, y1);
                if ((r & wxPLOTCLIP_FIRST) || m_line.empty())
                {
                    flush();
                    m_line.push_back(p);
                }
                if (c != m_line.back())
                    m_line.push_back(c);
                if (selected && !(r & wxPLOTCLIP_SECOND))
                {
                    dc->SetBrush(*wxTRANSPARENT_BRUSH);
                    dc->DrawEllipse(c.x - 2, c.y - 2, 5, 5);
                }
                if (r & wxPLOTCLIP_SECOND)
                    flush();
            }
        }
        prevX = x;
        prevY = y;
    }
    flush();
    dc->SetPen(wxNullPen);
}
