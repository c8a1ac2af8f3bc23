// The view: zoom and origin, curve bounds, scroll bars, view history and
// the pixel mapping.

#include "wxPlotCtrl.h"
#include "wxPlotDrawerBase.h"

#include <wx/scrolbar.h>

#include <algorithm>
#include <cmath>

void wxPlotCtrl::ApplyAspectRule(double& zoomX, double& zoomY, double& originX,
                                 double& originY) const
{
    const double centreX = m_areaSize.width / zoomX / 2 + originX;
    const double centreY = m_areaSize.height / zoomY / 2 + originY;
    if (zoomX <= zoomY)
        zoomY = zoomX;
    else
        zoomX = zoomY;
    originX = centreX - m_areaSize.width / zoomX / 2;
    originY = centreY - m_areaSize.height / zoomY / 2;
}

namespace
{
bool SameRect(const wxRect2DDouble& a, const wxRect2DDouble& b)
{
    return a.m_x == b.m_x && a.m_y == b.m_y && a.m_width == b.m_width && a.m_height == b.m_height;
}
} // namespace

// --- Zoom and origin -----------------------------------------------------------

bool wxPlotCtrl::SetZoom(double zoomX, double zoomY, double originX, double originY,
                         bool sendEvent)
{
    if (zoomX <= 0)
    {
        zoomX = m_areaSize.width / m_curvesBounds.m_width;
        originX = m_curvesBounds.m_x;
    }
    if (zoomY <= 0)
    {
        zoomY = m_areaSize.height / m_curvesBounds.m_height;
        originY = m_curvesBounds.m_y;
    }
    if (m_fixAspectRatio)
        ApplyAspectRule(zoomX, zoomY, originX, originY);
    const double width = m_areaSize.width / zoomX;
    const double height = m_areaSize.height / zoomY;

    if (!IsFiniteOrReport(zoomX, wxS("X zoom is NaN")) ||
        !IsFiniteOrReport(zoomY, wxS("Y zoom is NaN")) ||
        !IsFiniteOrReport(originX, wxS("X origin is not finite")) ||
        !IsFiniteOrReport(originY, wxS("Y origin is not finite")) ||
        !IsFiniteOrReport(width, wxS("Plot width is NaN")) ||
        !IsFiniteOrReport(height, wxS("Plot height is NaN")) ||
        // A finite origin and size can still put the far edge beyond the
        // doubles: points at infinity would then lie in the view.
        !IsFiniteOrReport(originX + width, wxS("Plot width is NaN")) ||
        !IsFiniteOrReport(originY + height, wxS("Plot height is NaN")))
        return false;

    const bool xChanged = originX != m_viewRect.m_x || zoomX != m_zoom.m_x;
    const bool yChanged = originY != m_viewRect.m_y || zoomY != m_zoom.m_y;
    if (xChanged || yChanged)
    {
        if (sendEvent)
        {
            wxPlotCtrlEvent event(wxEVT_PLOTCTRL_VIEW_CHANGING, GetId(), this);
            event.SetCurve(m_activeCurve, m_activeIndex);
            event.SetPosition(originX, originY);
            if (!DoSendEvent(event))
                return false;
        }
        m_zoom = wxPoint2DDouble(zoomX, zoomY);
        m_viewRect = wxRect2DDouble(originX, originY, width, height);
    }
    Redraw(wxPLOTCTRL_REDRAW_PLOT | (xChanged ? wxPLOTCTRL_REDRAW_XAXIS : 0) |
           (yChanged ? wxPLOTCTRL_REDRAW_YAXIS : 0));
    if (m_batchCount == 0)
        AdjustScrollBars();
    if (sendEvent && (xChanged || yChanged))
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_VIEW_CHANGED, GetId(), this);
        event.SetCurve(m_activeCurve, m_activeIndex);
        event.SetPosition(originX, originY);
        DoSendEvent(event);
    }
    return true;
}

bool wxPlotCtrl::SetViewRect(const wxRect2DDouble& view, bool sendEvent)
{
    // An infinite size gives zoom 0, which SetZoom would take for "fit".
    if (!IsFiniteOrReport(view.m_width, wxS("Plot width is NaN")) ||
        !IsFiniteOrReport(view.m_height, wxS("Plot height is NaN")))
        return false;
    return SetZoom(m_areaSize.width / view.m_width, m_areaSize.height / view.m_height, view.m_x,
                   view.m_y, sendEvent);
}

bool wxPlotCtrl::SetOrigin(double originX, double originY, bool sendEvent)
{
    return SetZoom(m_zoom.m_x, m_zoom.m_y, originX, originY, sendEvent);
}

bool wxPlotCtrl::SetZoomPair(const wxPoint2DDouble& zoom, bool aroundCentre, bool sendEvent)
{
    double originX = m_viewRect.m_x, originY = m_viewRect.m_y;
    if (aroundCentre && zoom.m_x != 0 && zoom.m_y != 0)
    {
        originX = m_viewRect.m_x + m_viewRect.m_width / 2 -
                  (m_zoom.m_x / zoom.m_x) * m_viewRect.m_width / 2;
        originY = m_viewRect.m_y + m_viewRect.m_height / 2 -
                  (m_zoom.m_y / zoom.m_y) * m_viewRect.m_height / 2;
    }
    return SetZoom(zoom.m_x, zoom.m_y, originX, originY, sendEvent);
}

void wxPlotCtrl::SetFixAspectRatio(bool fix)
{
    m_fixAspectRatio = fix;
    if (fix)
        SetZoom(m_zoom.m_x, m_zoom.m_y, m_viewRect.m_x, m_viewRect.m_y);
}

// --- Bounds --------------------------------------------------------------------

void wxPlotCtrl::SetDefaultBoundingRect(const wxRect2DDouble& rect, bool sendEvent)
{
    if (!std::isfinite(rect.m_x) || !std::isfinite(rect.m_y) ||
        !std::isfinite(rect.m_x + rect.m_width) || !std::isfinite(rect.m_y + rect.m_height) ||
        !(rect.m_width > 0) || !(rect.m_height > 0))
        return;
    m_defaultBounds = rect;
    CalcCurvesBounds();
    SetZoom(m_areaSize.width / rect.m_width, m_areaSize.height / rect.m_height, rect.m_x, rect.m_y,
            sendEvent);
}

void wxPlotCtrl::CalcCurvesBounds()
{
    if (m_curves.empty())
    {
        m_curvesBounds = m_defaultBounds;
        AdjustScrollBars();
        return;
    }
    // A curve's rectangle counts only when every edge is finite; each edge
    // that is not gets its own report.
    auto usable = [this](const wxRect2DDouble& r) {
        const bool left = IsFiniteOrReport(r.m_x, wxS("left curve boundary is NaN"));
        const bool bottom = IsFiniteOrReport(r.m_y, wxS("bottom curve boundary is NaN"));
        const bool right = IsFiniteOrReport(r.m_x + r.m_width, wxS("right curve boundary is NaN"));
        const bool top = IsFiniteOrReport(r.m_y + r.m_height, wxS("top curve boundary is NaN"));
        return left && bottom && right && top;
    };
    wxRect2DDouble bounds;
    const wxRect2DDouble first = m_curves[0]->GetBoundingRect();
    if (usable(first) && first.m_width >= 0 && first.m_height >= 0)
        bounds = first;
    for (size_t i = 1; i < m_curves.size(); ++i)
    {
        const wxRect2DDouble r = m_curves[i]->GetBoundingRect();
        if (!(r.m_width > 0 && r.m_height > 0))
            continue;
        wxRect2DDouble joined;
        wxRect2DDouble::Union(bounds, r, &joined);
        if (usable(joined))
            bounds = joined;
    }
    const bool zeroWidth = bounds.m_width == 0;
    const bool zeroHeight = bounds.m_height == 0;
    if (zeroWidth)
    {
        bounds.m_x -= 1.0;
        bounds.m_width = 2.0;
    }
    else
    {
        bounds.m_x -= bounds.m_width * 0.02;
        bounds.m_width *= 1.04;
    }
    if (zeroHeight)
    {
        bounds.m_y -= 1.0;
        bounds.m_height = 2.0;
    }
    else
    {
        bounds.m_y -= bounds.m_height * 0.02;
        bounds.m_height *= 1.04;
    }
    m_curvesBounds = bounds;
    AdjustScrollBars();
}

bool wxPlotCtrl::FitToCurve(int index, bool sendEvent)
{
    if (index < 0)
        return SetZoom(-1, -1, 0, 0, sendEvent);
    const wxPlotCurve* curve = GetCurve(index);
    if (!curve || !curve->Ok())
        return false;
    wxRect2DDouble r = curve->GetBoundingRect();
    if (r.m_width == 0)
    {
        r.m_x -= 0.1;
        r.m_width = 0.2;
    }
    if (r.m_height == 0)
    {
        r.m_y -= 0.1;
        r.m_height = 0.2;
    }
    return SetViewRect(r, sendEvent);
}

// --- Scroll bars ---------------------------------------------------------------

void wxPlotCtrl::AdjustScrollBars()
{
    if (!m_xScrollBar || !m_yScrollBar)
        return;
    const wxRect2DDouble& b = m_curvesBounds;
    const wxRect2DDouble& v = m_viewRect;
    // Units are pixels of the whole curve extent, capped so that huge zooms
    // stay within the toolkit's integer scroll range. The y bar counts from
    // the top. A hidden bar is left alone: setting one costs more than a
    // plot's whole frame of sampling (the oscilloscope moves its view ten
    // times a second).
    auto adjust = [this](wxScrollBar* bar, double range, double viewPart, double viewStart,
                         bool fromTop, const wxString& message) {
        if (!bar->IsShown() || !IsFiniteOrReport(range, message))
            return;
        range = std::max(1.0, std::min(range, 32000.0));
        const double thumb = std::max(1.0, std::min(viewPart * range, range));
        double pos = viewStart * range;
        if (fromTop)
            pos = range - pos - thumb;
        pos = std::max(0.0, std::min(pos, range - thumb));
        if (IsFiniteOrReport(thumb, message) && IsFiniteOrReport(pos, message))
            bar->SetScrollbar(int(pos), int(thumb), int(range), int(thumb), true);
    };
    adjust(m_xScrollBar, m_zoom.m_x * b.m_width, v.m_width / b.m_width, (v.m_x - b.m_x) / b.m_width,
           false, wxS("plot's x range is NaN"));
    adjust(m_yScrollBar, m_zoom.m_y * b.m_height, v.m_height / b.m_height,
           (v.m_y - b.m_y) / b.m_height, true, wxS("plot's y range is NaN"));
}

void wxPlotCtrl::OnScroll(wxScrollEvent& event)
{
    if (m_scrollOnThumbRelease && event.GetEventType() == wxEVT_SCROLL_THUMBTRACK)
        return;
    if (event.GetId() == wxPLOTCTRL_ID_XSCROLLBAR)
    {
        const int range = m_xScrollBar->GetRange();
        if (range < 1)
            return;
        const double x = double(event.GetPosition()) / range * m_curvesBounds.m_width +
                         m_curvesBounds.m_x;
        if (!IsFiniteOrReport(x, wxS("plot's x-origin is NaN")))
            return;
        // Through the one path that changes the view, without events.
        SetOrigin(x, m_viewRect.m_y, false);
    }
    else if (event.GetId() == wxPLOTCTRL_ID_YSCROLLBAR)
    {
        const int range = m_yScrollBar->GetRange();
        if (range < 1)
            return;
        const double y = double(range - event.GetPosition() - m_yScrollBar->GetThumbSize()) /
                             range * m_curvesBounds.m_height + m_curvesBounds.m_y;
        if (!IsFiniteOrReport(y, wxS("plot's y-origin is NaN")))
            return;
        SetOrigin(m_viewRect.m_x, y, false);
    }
}

void wxPlotCtrl::HideScrollBars()
{
    if (m_yScrollBar)
        m_yScrollBar->Hide();
    if (m_xScrollBar)
        m_xScrollBar->Hide();
    DoSize();
}

// --- View history --------------------------------------------------------------

void wxPlotCtrl::PushViewHistory()
{
    const wxRect2DDouble& v = m_viewRect;
    if (!std::isfinite(v.m_x) || !std::isfinite(v.m_x + v.m_width) || !std::isfinite(v.m_y) ||
        !std::isfinite(v.m_y + v.m_height))
        return;
    const int count = GetViewHistoryCount();
    if (m_viewHistoryIndex >= 0 && m_viewHistoryIndex < count &&
        SameRect(m_viewHistory[m_viewHistoryIndex], v))
        return;
    if (count < 5)
    {
        m_viewHistory.push_back(v);
        ++m_viewHistoryIndex;
    }
    else if (m_viewHistoryIndex == count - 1)
    {
        m_viewHistory.erase(m_viewHistory.begin());
        m_viewHistory.push_back(v);
    }
    else
        m_viewHistory[std::max(0, m_viewHistoryIndex)] = v;
}

void wxPlotCtrl::StepViewHistory(bool forward, bool sendEvent)
{
    const int count = GetViewHistoryCount();
    if (m_viewHistoryIndex >= 0 && m_viewHistoryIndex < count &&
        !SameRect(m_viewHistory[m_viewHistoryIndex], m_viewRect))
        SetViewRect(m_viewHistory[m_viewHistoryIndex], sendEvent);
    if (!forward)
    {
        if (m_viewHistoryIndex > 0)
        {
            --m_viewHistoryIndex;
            SetViewRect(m_viewHistory[m_viewHistoryIndex], sendEvent);
        }
        else
            SetZoom(-1, -1, 0, 0, sendEvent);
    }
    else if (count > 0 && m_viewHistoryIndex < count - 1)
    {
        ++m_viewHistoryIndex;
        SetViewRect(m_viewHistory[m_viewHistoryIndex], sendEvent);
    }
}

void wxPlotCtrl::ClearViewHistory()
{
    m_viewHistory.clear();
    m_viewHistoryIndex = -1;
}

// --- Pixel mapping -------------------------------------------------------------

int wxPlotCtrl::PlotXToPixel(double x) const
{
    return wxPlotPixel((x - m_viewRect.m_x) * m_zoom.m_x + 0.5);
}

int wxPlotCtrl::PlotYToPixel(double y) const
{
    return wxPlotPixel(m_areaSize.height - (y - m_viewRect.m_y) * m_zoom.m_y + 0.5);
}

wxPoint2DDouble wxPlotCtrl::GetAreaMousePlotPoint() const
{
    const wxPoint pos = m_area ? m_area->m_lastMousePos : wxPoint();
    return wxPoint2DDouble(pos.x / m_zoom.m_x + m_viewRect.m_x,
                           (m_areaSize.height - pos.y) / m_zoom.m_y + m_viewRect.m_y);
}

wxRect2DDouble wxPlotCtrl::ClientToPlotRect(const wxRect& rect) const
{
    return wxRect2DDouble(rect.x / m_zoom.m_x + m_viewRect.m_x,
                          (m_areaSize.height - rect.y - rect.height + 1) / m_zoom.m_y +
                              m_viewRect.m_y,
                          rect.width / m_zoom.m_x, rect.height / m_zoom.m_y);
}

void wxPlotCtrl::UpdateAreaSize()
{
    m_areaSize = wxRect(0, 0, 10, 10);
    if (m_area)
    {
        const wxSize size = m_area->GetClientSize();
        m_areaSize.width = std::max(10, size.x);
        m_areaSize.height = std::max(10, size.y);
    }
}
