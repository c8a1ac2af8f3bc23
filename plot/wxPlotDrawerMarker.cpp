#include "wxPlotDrawerMarker.h"
#include "wxPlotCtrl.h"

#include <wx/dc.h>

#include <algorithm>

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerMarker, wxPlotDrawerBase);

void wxPlotDrawerMarker::Draw(wxDC* dc, const wxPlotMarker& marker)
{
    if (!dc || !m_owner || !marker.Ok())
        return;
    DrawOne(dc, marker);
}

void wxPlotDrawerMarker::Draw(wxDC* dc, const wxArrayPlotMarker& markers)
{
    if (!dc || !m_owner)
        return;
    for (size_t i = 0; i < markers.GetCount(); ++i)
    {
        if (!markers[i].Ok())
            break;
        DrawOne(dc, markers[i]);
    }
}

void wxPlotDrawerMarker::DrawClippedLine(wxDC* dc, double x0, double y0, double x1, double y1)
{
    if (ClipLineToRect(x0, y0, x1, y1, m_plotViewRect) == wxPLOTCLIP_OUTSIDE)
        return;
    dc->DrawLine(m_owner->PlotXToPixel(x0), m_owner->PlotYToPixel(y0),
                 m_owner->PlotXToPixel(x1), m_owner->PlotYToPixel(y1));
}

void wxPlotDrawerMarker::DrawOne(wxDC* dc, const wxPlotMarker& marker)
{
    const wxGenericPen pen = marker.GetPen();
    if (pen.Ok())
        dc->SetPen(pen.GetPen());
    const wxGenericBrush brush = marker.GetBrush();
    if (brush.Ok())
        dc->SetBrush(brush.GetBrush());

    const wxRect2DDouble& view = m_plotViewRect;
    const wxRect2DDouble r = marker.GetPlotRect();
    // A negative extent stands for the whole view in that direction.
    double x0 = r.m_x, x1 = r.m_x + r.m_width;
    double y0 = r.m_y, y1 = r.m_y + r.m_height;
    if (r.m_width < 0)
    {
        x0 = view.m_x - view.m_width;
        x1 = view.m_x + 2 * view.m_width;
    }
    if (r.m_height < 0)
    {
        y0 = view.m_y - view.m_height;
        y1 = view.m_y + 2 * view.m_height;
    }
    const bool pointInView = PointInPlotRect(r.m_x, r.m_y, view);
    const int px = m_owner->PlotXToPixel(r.m_x);
    const int py = m_owner->PlotYToPixel(r.m_y);
    const int type = marker.GetType();

    if (type == wxPLOTMARKER_BITMAP)
    {
        const wxBitmap bitmap = marker.GetBitmap();
        if (pointInView && bitmap.IsOk())
            dc->DrawBitmap(bitmap, px - bitmap.GetWidth() / 2, py - bitmap.GetHeight() / 2, true);
    }
    else if (type == wxPLOTMARKER_LINE)
        DrawClippedLine(dc, r.m_x, r.m_y, r.m_x + r.m_width, r.m_y + r.m_height);
    else if (type == wxPLOTMARKER_ELLIPSE)
    {
        // The ring is centred on the point, w and h pixels each way.
        const wxSize size = marker.GetSize();
        if (size.x > 0 && size.y > 0 && pointInView)
            dc->DrawEllipse(px - size.x, py - size.y, 2 * size.x + 1, 2 * size.y + 1);
    }
    else if (type == wxPLOTMARKER_POINT || (r.m_width == 0 && r.m_height == 0))
    {
        if (pointInView)
            dc->DrawPoint(px, py);
    }
    else if (type == wxPLOTMARKER_VERT_LINE || r.m_width == 0)
        DrawClippedLine(dc, r.m_x, y0, r.m_x, y1);
    else if (type == wxPLOTMARKER_HORIZ_LINE || r.m_height == 0)
        DrawClippedLine(dc, x0, r.m_y, x1, r.m_y);
    else if (type == wxPLOTMARKER_CROSS || (r.m_width < 0 && r.m_height < 0))
    {
        if (pointInView)
        {
            DrawClippedLine(dc, x0, r.m_y, x1, r.m_y);
            DrawClippedLine(dc, r.m_x, y0, r.m_x, y1);
        }
    }
    else if (PlotRectsIntersect(wxRect2DDouble(x0, y0, x1 - x0, y1 - y0), view))
    {
        // Clamped to the area plus the pen's width, so that the frame's edge
        // stays out of sight where the rectangle reaches past the view.
        const int m = std::max(1, dc->GetPen().IsOk() ? dc->GetPen().GetWidth() : 1);
        const wxRect& area = m_owner->GetAreaSize();
        auto clampX = [&](int v) { return std::max(-m, std::min(v, area.width + m)); };
        auto clampY = [&](int v) { return std::max(-m, std::min(v, area.height + m)); };
        const int left = clampX(m_owner->PlotXToPixel(x0));
        const int right = clampX(m_owner->PlotXToPixel(x1));
        const int top = clampY(m_owner->PlotYToPixel(y1));
        const int bottom = clampY(m_owner->PlotYToPixel(y0));
        dc->DrawRectangle(left, top, right - left + 1, bottom - top + 1);
    }
}
