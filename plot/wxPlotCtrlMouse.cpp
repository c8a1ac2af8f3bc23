// Mouse handling of the plot control: the area (rubber band, zoom, panning,
// clicks on points, wheel, cross hair), the axes (panning, wheel), the mouse
// capture and the closest-point search. Keys are in wxPlotCtrlKeys.cpp, the
// cursor and the selections in wxPlotCtrlSelect.cpp.
//
// The rubber band and the cross hair are state drawn by the area's paint
// over the copied back buffer (GTK3 draws nothing from outside paint and
// knows no inverted drawing); moving them refreshes only the pixels they
// covered and cover now.

#include "wxPlotCtrl.h"
#include "wxPlotDrawerBase.h"

#include <wx/cursor.h>

#include <algorithm>
#include <cmath>

namespace
{
// A click finds a curve point within this many pixels each way.
const double kPointPickPixels = 2.0;
// A zoom band must be at least this many pixels on the sides that count,
// so that a click with a shaky hand does not zoom.
const int kMinZoomBandPixels = 11;
// The wheel in the area moves the view by this share of its height, on an
// axis by this share of the view along that axis.
const double kAreaWheelStep = 0.25;
const double kAxisWheelStep = 0.25;
// Pixels refreshed round an overlay line (width 1), so that nothing of it
// stays behind whatever the toolkit's rounding.
const int kOverlayMargin = 2;

bool IsButtonPress(const wxMouseEvent& event)
{
    return event.ButtonDown() || event.ButtonDClick();
}
} // namespace

// --- Mouse function, band shape and cursor ---------------------------------------

void wxPlotCtrl::SetAreaMouseFunction(int function, bool sendEvent)
{
    // A vetoed function must not come back with the next key that has no
    // modifier.
    if (ApplyAreaMouseFunction(function, sendEvent))
        m_unmodifiedMouseFunction = function;
}

bool wxPlotCtrl::ApplyAreaMouseFunction(int function, bool sendEvent)
{
    m_mouseFunctionFromKeys = false;
    if (function == m_areaMouseFunction)
        return true;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGING, GetId(), this);
        event.SetMouseFunction(function);
        if (!DoSendEvent(event))
            return false;
    }
    // Dragging the view (and any unknown function) hides the band; the
    // shape it had comes back with a function that uses it, or zooming by
    // band would be dead once drag mode had been on.
    auto hidesBand = [](int f) {
        return f < wxPLOTCTRL_MOUSE_ZOOM || f > wxPLOTCTRL_MOUSE_DESELECT;
    };
    const bool hidBand = hidesBand(m_areaMouseFunction);
    m_areaMouseFunction = function;
    switch (function)
    {
        case wxPLOTCTRL_MOUSE_ZOOM: SetAreaCursor(wxCURSOR_MAGNIFIER); break;
        case wxPLOTCTRL_MOUSE_SELECT:
        case wxPLOTCTRL_MOUSE_DESELECT: SetAreaCursor(wxCURSOR_ARROW); break;
        case wxPLOTCTRL_MOUSE_PAN: SetAreaCursor(wxPLOTCTRL_CURSOR_GRAB); break;
        default: SetAreaCursor(wxCURSOR_CROSS); break;
    }
    if (hidesBand(function))
    {
        if (!hidBand)
            m_markerBeforeDrag = m_areaMouseMarker;
        SetAreaMouseMarker(wxPLOTCTRL_MARKER_NONE);
    }
    else if (hidBand && m_areaMouseMarker == wxPLOTCTRL_MARKER_NONE)
        SetAreaMouseMarker(m_markerBeforeDrag);
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGED, GetId(), this);
        event.SetMouseFunction(function);
        DoSendEvent(event);
    }
    return true;
}

void wxPlotCtrl::SetAreaMouseMarker(int type)
{
    if (type == m_areaMouseMarker)
        return;
    if (m_area)
        RefreshMouseMarker(m_areaMouseMarker, m_area->m_mouseRect);
    m_areaMouseMarker = type;
    if (m_area)
        RefreshMouseMarker(m_areaMouseMarker, m_area->m_mouseRect);
}

void wxPlotCtrl::SetAreaCursor(int cursorId)
{
    if (cursorId == m_areaCursorId)
        return;
    m_areaCursorId = cursorId;
    if (!m_area)
        return;
    if (cursorId == wxPLOTCTRL_CURSOR_GRAB || cursorId == wxPLOTCTRL_CURSOR_GRABBING)
        m_area->SetCursor(DragCursor(cursorId));
    else if (cursorId > wxCURSOR_NONE && cursorId < wxCURSOR_MAX)
        m_area->SetCursor(wxCursor(static_cast<wxStockCursor>(cursorId)));
    else
        m_area->SetCursor(wxCursor(wxCURSOR_ARROW));
}

// --- Overlays ------------------------------------------------------------------

void wxPlotCtrl::RefreshMouseMarker(int type, const wxRect& band)
{
    if (!m_area || band.width == 0 || band.height == 0)
        return;
    const wxRect r = wxPlotNormalisedRect(band);
    const wxSize client = m_area->GetClientSize();
    auto strip = [this](int x, int y, int w, int h) {
        wxRect s(x, y, w, h);
        s.Inflate(kOverlayMargin);
        m_area->RefreshRect(s, false);
    };
    switch (type)
    {
        case wxPLOTCTRL_MARKER_RECT:
            strip(r.x, r.y, r.width, 1);
            strip(r.x, r.y + r.height - 1, r.width, 1);
            strip(r.x, r.y, 1, r.height);
            strip(r.x + r.width - 1, r.y, 1, r.height);
            break;
        case wxPLOTCTRL_MARKER_VERT:
            strip(r.x, 0, 1, client.y);
            strip(r.x + r.width, 0, 1, client.y);
            break;
        case wxPLOTCTRL_MARKER_HORIZ:
            strip(0, r.y, client.x, 1);
            strip(0, r.y + r.height, client.x, 1);
            break;
        default:
            break;
    }
}

void wxPlotCtrl::RefreshCrosshair(const wxPoint& pos)
{
    if (!m_area)
        return;
    const wxSize client = m_area->GetClientSize();
    m_area->RefreshRect(wxRect(0, pos.y - kOverlayMargin, client.x, 2 * kOverlayMargin + 1),
                        false);
    m_area->RefreshRect(wxRect(pos.x - kOverlayMargin, 0, 2 * kOverlayMargin + 1, client.y),
                        false);
}

// --- Capture -------------------------------------------------------------------

void wxPlotCtrl::SetCaptureWindow(wxWindow* window)
{
    // wx 3.2 asserts on a release without the capture or a second capture:
    // both sides ask first.
    if (m_captureWindow && m_captureWindow != window && m_captureWindow->HasCapture())
        m_captureWindow->ReleaseMouse();
    m_captureWindow = window;
    if (window && !window->HasCapture())
        window->CaptureMouse();
}

void wxPlotCtrl::EndMouseDrag(bool releaseCapture)
{
    StopAutoScrollTimer();
    if (m_area && m_area->m_mouseRect != wxRect())
    {
        RefreshMouseMarker(m_areaMouseMarker, m_area->m_mouseRect);
        m_area->m_mouseRect = wxRect();
    }
    if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRABBING)
        SetAreaCursor(wxPLOTCTRL_CURSOR_GRAB);
    if (releaseCapture && m_captureWindow && m_captureWindow->HasCapture())
        m_captureWindow->ReleaseMouse();
    m_captureWindow = NULL;
}

void wxPlotCtrl::OnMouseCaptureLost(wxMouseCaptureLostEvent& WXUNUSED(event))
{
    // The capture is gone already: releasing it here would assert.
    EndMouseDrag(false);
}

// --- Area ----------------------------------------------------------------------

bool wxPlotCtrl::ZoomToPixelRect(const wxRect& rect, bool sendEvent)
{
    if (rect.width < 1 || rect.height < 1)
        return false;
    const double originX = rect.x / m_zoom.m_x + m_viewRect.m_x;
    const double originY =
        (m_areaSize.height - rect.y - rect.height) / m_zoom.m_y + m_viewRect.m_y;
    const double zoomX = m_areaSize.width * m_zoom.m_x / rect.width;
    const double zoomY = m_areaSize.height * m_zoom.m_y / rect.height;
    if (!SetZoom(zoomX, zoomY, originX, originY, sendEvent))
        return false;
    PushViewHistory();
    return true;
}

void wxPlotCtrl::ProcessAreaMouseEvent(wxMouseEvent& event)
{
    event.Skip();
    wxPlotCtrlArea* area = m_area;
    if (!area)
        return;
    const wxPoint prev = area->m_lastMousePos;
    const wxPoint pos = event.GetPosition();
    area->m_lastMousePos = pos;

    if (IsButtonPress(event) && IsLabelEditorShown())
    {
        EndLabelEdit(true, true);
        return;
    }
    if (m_focusAreaOnMouse && FindFocus() != area)
        area->SetFocus();

    const wxEventType type = event.GetEventType();
    const wxPoint2DDouble p(pos.x / m_zoom.m_x + m_viewRect.m_x,
                            (m_areaSize.height - pos.y) / m_zoom.m_y + m_viewRect.m_y);

    // The cross hair leaves with the pointer unless a drag holds the mouse.
    const bool crosshairWas = area->m_mouseInside && m_areaSize.Contains(prev);
    area->m_mouseInside = !(type == wxEVT_LEAVE_WINDOW && !area->HasCapture());
    const bool crosshairIs = area->m_mouseInside && m_areaSize.Contains(pos);
    if (m_showCrosshairCursor && (crosshairWas != crosshairIs || pos != prev))
    {
        if (crosshairWas)
            RefreshCrosshair(prev);
        if (crosshairIs)
            RefreshCrosshair(pos);
    }
    if (pos != prev)
    {
        wxPlotCtrlEvent moved(wxEVT_PLOTCTRL_MOUSE_MOVED, GetId(), this);
        moved.SetPosition(p.m_x, p.m_y);
        DoSendEvent(moved);
    }

    if (type == wxEVT_MOUSEWHEEL && event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL &&
        event.GetWheelRotation() != 0)
    {
        const double step = event.GetWheelRotation() > 0 ? kAreaWheelStep : -kAreaWheelStep;
        SetZoom(m_zoom.m_x, m_zoom.m_y, m_viewRect.m_x,
                m_viewRect.m_y + step * m_viewRect.m_height, true);
    }

    if (event.LeftDown() || event.LeftDClick())
        AreaLeftDown(event, p);
    else if (event.LeftUp())
        AreaLeftUp();
    else if (type == wxEVT_MOTION && event.LeftIsDown())
        AreaDrag(pos, prev);
    else if (type == wxEVT_MOTION && IsAreaDragging())
        // The button came up where we did not see it (another window, a
        // lost event): the drag is over.
        EndMouseDrag(true);
}

bool wxPlotCtrl::IsAreaDragging() const
{
    return m_area && (m_captureWindow == m_area || m_area->m_mouseRect != wxRect() ||
                      (m_autoScrollTimer && m_autoScrollTimer->GetId() == wxPLOTCTRL_TIMER_AREA));
}

void wxPlotCtrl::AreaLeftDown(const wxMouseEvent& event, const wxPoint2DDouble& p)
{
    wxPlotCtrlArea* area = m_area;
    const bool doubleClick = event.LeftDClick();
    // A modifier key-up that went to another window left the function
    // stale; the press knows which modifiers are really held.
    if (m_mouseFunctionFromKeys)
        SetAreaMouseFunctionFromKeys(event.GetModifiers());
    if (FindFocus() != area)
        area->SetFocus();
    if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRAB)
        SetAreaCursor(wxPLOTCTRL_CURSOR_GRABBING);

    wxPlotCtrlEvent click(doubleClick ? wxEVT_PLOTCTRL_AREA_DOUBLE_CLICK : wxEVT_PLOTCTRL_AREA_CLICK,
                          GetId(), this);
    click.SetPosition(p.m_x, p.m_y);
    DoSendEvent(click);

    if (!doubleClick)
    {
        RefreshMouseMarker(m_areaMouseMarker, area->m_mouseRect);
        area->m_mouseRect = wxRect(area->m_lastMousePos.x, area->m_lastMousePos.y, 0, 0);
    }

    int curveIndex = -1, dataIndex = -1;
    wxPoint2DDouble found;
    if (!FindClosestPoint(p,
                          wxPoint2DDouble(kPointPickPixels / m_zoom.m_x,
                                          kPointPickPixels / m_zoom.m_y),
                          curveIndex, dataIndex, found))
        return;
    wxPlotCtrlEvent point(doubleClick ? wxEVT_PLOTCTRL_POINT_DOUBLE_CLICK
                                      : wxEVT_PLOTCTRL_POINT_CLICK,
                          GetId(), this);
    point.SetCurve(GetCurve(curveIndex), curveIndex);
    point.SetCurveDataIndex(dataIndex);
    point.SetPosition(found.m_x, found.m_y);
    DoSendEvent(point);
    // A handler may have taken the curve away.
    if (!CurveIndexOk(curveIndex))
        return;
    if (curveIndex != m_activeIndex)
        SetActiveCurve(curveIndex, true);

    const bool isData = IsDataCurve(curveIndex);
    if (!doubleClick && (m_areaMouseFunction == wxPLOTCTRL_MOUSE_SELECT ||
                         m_areaMouseFunction == wxPLOTCTRL_MOUSE_DESELECT))
    {
        const bool select = m_areaMouseFunction == wxPLOTCTRL_MOUSE_SELECT;
        if (isData)
            SelectDataRange(curveIndex, IntRange(dataIndex, dataIndex), select, true);
        else if (select)
            SelectXRange(curveIndex, DoubleRange(found.m_x, found.m_x), true);
        else
            DeselectXRange(curveIndex, DoubleRange(found.m_x, found.m_x), true);
    }
    else if (isData)
        SetCursorDataIndex(curveIndex, dataIndex, true);
    else
        SetCursorAtX(curveIndex, found.m_x, true);
}

void wxPlotCtrl::AreaLeftUp()
{
    wxPlotCtrlArea* area = m_area;
    SetCaptureWindow(NULL);
    if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRABBING)
        SetAreaCursor(wxPLOTCTRL_CURSOR_GRAB);
    StopAutoScrollTimer();
    if (area->m_mouseRect == wxRect())
        return;
    RefreshMouseMarker(m_areaMouseMarker, area->m_mouseRect);
    const wxRect band = wxPlotNormalisedRect(area->m_mouseRect);
    area->m_mouseRect = wxRect();

    const int marker = m_areaMouseMarker;
    if (m_areaMouseFunction == wxPLOTCTRL_MOUSE_ZOOM)
    {
        if (marker == wxPLOTCTRL_MARKER_RECT && band.width >= kMinZoomBandPixels &&
            band.height >= kMinZoomBandPixels)
            ZoomToPixelRect(band, true);
        else if (marker == wxPLOTCTRL_MARKER_VERT && band.width >= kMinZoomBandPixels)
            ZoomToPixelRect(wxRect(band.x, 0, band.width, m_areaSize.height), true);
        else if (marker == wxPLOTCTRL_MARKER_HORIZ && band.height >= kMinZoomBandPixels)
            ZoomToPixelRect(wxRect(0, band.y, m_areaSize.width, band.height), true);
        return;
    }
    if ((m_areaMouseFunction != wxPLOTCTRL_MOUSE_SELECT &&
         m_areaMouseFunction != wxPLOTCTRL_MOUSE_DESELECT) ||
        !CurveIndexOk(m_activeIndex))
        return;

    const int active = m_activeIndex;
    const bool select = m_areaMouseFunction == wxPLOTCTRL_MOUSE_SELECT;
    ++m_batchCount;
    const wxRect2DDouble r = ClientToPlotRect(band);
    if (marker == wxPLOTCTRL_MARKER_VERT && r.m_width > 0)
    {
        const DoubleRange range(r.m_x, r.m_x + r.m_width);
        if (select)
            SelectXRange(active, range, true);
        else
            DeselectXRange(active, range, true);
    }
    else if (marker == wxPLOTCTRL_MARKER_HORIZ && r.m_height > 0)
    {
        const DoubleRange range(r.m_y, r.m_y + r.m_height);
        if (select)
            SelectYRange(active, range, true);
        else
            DeselectYRange(active, range, true);
    }
    else if (r.m_width > 0 || r.m_height > 0)
        SelectRectangle(active, r, select, true);
    m_batchCount = std::max(0, m_batchCount - 1);
    if (m_batchCount == 0)
    {
        Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
        AdjustScrollBars();
    }
}

void wxPlotCtrl::AreaDrag(const wxPoint& pos, const wxPoint& prev)
{
    wxPlotCtrlArea* area = m_area;
    SetCaptureWindow(area);
    if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRAB)
        SetAreaCursor(wxPLOTCTRL_CURSOR_GRABBING);
    if (m_areaMouseFunction == wxPLOTCTRL_MOUSE_PAN)
    {
        if (!m_areaSize.Contains(pos))
            StartAutoScrollTimer(wxPLOTCTRL_TIMER_AREA);
        if (area->m_mouseRect != wxRect())
        {
            RefreshMouseMarker(m_areaMouseMarker, area->m_mouseRect);
            area->m_mouseRect = wxRect();
        }
        SetOrigin(m_viewRect.m_x - (pos.x - prev.x) / m_zoom.m_x,
                  m_viewRect.m_y + (pos.y - prev.y) / m_zoom.m_y, true);
        return;
    }
    wxRect band = area->m_mouseRect;
    if (band == wxRect())
        band = wxRect(pos.x, pos.y, 1, 1);
    else
        RefreshMouseMarker(m_areaMouseMarker, band);
    band.width = pos.x - band.x;
    band.height = pos.y - band.y;
    area->m_mouseRect = band;
    RefreshMouseMarker(m_areaMouseMarker, band);
}

// --- Axes ----------------------------------------------------------------------

void wxPlotCtrl::ProcessAxisMouseEvent(wxMouseEvent& event)
{
    event.Skip();
    auto* axis = dynamic_cast<wxPlotCtrlAxis*>(event.GetEventObject());
    if (!axis)
        return;
    if (IsButtonPress(event) && IsLabelEditorShown())
    {
        EndLabelEdit(true, true);
        return;
    }
    const wxPoint pos = event.GetPosition();
    const bool xAxis = axis->IsXAxis();
    // Both axes pan like a scroll bar's thumb: the view moves the way the
    // pointer goes.
    auto panBy = [&](const wxPoint& from) {
        if (xAxis)
            SetOrigin(m_viewRect.m_x + (pos.x - from.x) / m_zoom.m_x, m_viewRect.m_y, true);
        else
            SetOrigin(m_viewRect.m_x, m_viewRect.m_y + (from.y - pos.y) / m_zoom.m_y, true);
    };

    if (event.LeftIsDown())
    {
        if (m_captureWindow != axis)
        {
            SetCaptureWindow(axis);
            axis->m_lastMousePos = pos;
            return;
        }
        const wxSize size = axis->GetClientSize();
        const bool outside = xAxis ? (pos.x < 0 || pos.x > size.x) : (pos.y < 0 || pos.y > size.y);
        if (outside)
        {
            axis->m_lastMousePos = pos;
            StartAutoScrollTimer(xAxis ? wxPLOTCTRL_TIMER_XAXIS : wxPLOTCTRL_TIMER_YAXIS);
        }
        else if (IsAutoScrollTimerRunning())
            axis->m_lastMousePos = pos;
    }
    else if (m_captureWindow == axis)
    {
        // Only a drag of this axis ends here: a mere hover holds no capture.
        SetCaptureWindow(NULL);
        StopAutoScrollTimer();
        if (m_scrollOnThumbRelease && event.LeftUp())
            panBy(axis->m_lastMousePos);
    }

    if (event.GetEventType() == wxEVT_MOUSEWHEEL && event.GetWheelRotation() != 0)
    {
        const double s = event.GetWheelRotation() > 0 ? kAxisWheelStep : -kAxisWheelStep;
        if (xAxis)
            SetOrigin(m_viewRect.m_x + s * m_viewRect.m_width, m_viewRect.m_y, true);
        else
            SetOrigin(m_viewRect.m_x, m_viewRect.m_y + s * m_viewRect.m_height, true);
    }

    if (!m_scrollOnThumbRelease && event.Dragging() && event.LeftIsDown() &&
        m_captureWindow == axis)
    {
        panBy(axis->m_lastMousePos);
        axis->m_lastMousePos = pos;
    }
}

// --- Closest point -------------------------------------------------------------

namespace
{
// The side of r restricts the box only when it has an extent.
bool BoxMeetsRect(const wxPoint2DDouble& pt, const wxPoint2DDouble& d, const wxRect2DDouble& r)
{
    if (r.m_width > 0 && (pt.m_x + d.m_x < r.m_x || pt.m_x - d.m_x > r.m_x + r.m_width))
        return false;
    if (r.m_height > 0 && (pt.m_y + d.m_y < r.m_y || pt.m_y - d.m_y > r.m_y + r.m_height))
        return false;
    return true;
}
} // namespace

bool wxPlotCtrl::FindClosestPoint(const wxPoint2DDouble& pt, const wxPoint2DDouble& d,
                                  int& curveIndex, int& dataIndex, wxPoint2DDouble& found)
{
    curveIndex = -1;
    dataIndex = -1;
    const wxString message = wxS("point is not finite");
    if (!IsFiniteOrReport(pt.m_x, message) || !IsFiniteOrReport(pt.m_y, message) ||
        !IsFiniteOrReport(d.m_x, message) || !IsFiniteOrReport(d.m_y, message))
        return false;
    const int count = GetCurveCount();
    const int first = CurveIndexOk(m_activeIndex) ? m_activeIndex : 0;
    for (int k = -1; k < count; ++k)
    {
        const int i = k < 0 ? first : k;
        if ((k >= 0 && k == first) || !CurveIndexOk(i))
            continue;
        const wxPlotCurve* curve = m_curves[i];
        if (!curve->Ok() || !BoxMeetsRect(pt, d, curve->GetBoundingRect()))
            continue;
        if (const wxPlotData* data = GetDataCurve(i))
        {
            int index = data->GetIndexFromXY(pt.m_x, pt.m_y, d.m_x);
            const wxPoint2DDouble q = data->GetPoint(index);
            // The lookup measures in plot units, where the nearest point may
            // lie outside the box while another lies inside.
            if (!(std::fabs(q.m_x - pt.m_x) <= d.m_x && std::fabs(q.m_y - pt.m_y) <= d.m_y))
                index = data->GetIndexInBox(pt.m_x, pt.m_y, d.m_x, d.m_y);
            if (index < 0)
                continue;
            curveIndex = i;
            dataIndex = index;
            found = data->GetPoint(index);
            return true;
        }
        const double y = curve->GetY(pt.m_x);
        if (std::fabs(y - pt.m_y) <= d.m_y)
        {
            curveIndex = i;
            found = wxPoint2DDouble(pt.m_x, y);
            return true;
        }
    }
    return false;
}
