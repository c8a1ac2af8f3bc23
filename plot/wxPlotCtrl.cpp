// Construction, child windows, curves, markers, cursor state and events.

#include "wxPlotCtrl.h"
#include "wxPlotDrawer.h"
#include "wxPlotFunction.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/module.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cmath>
#include <memory>

wxIMPLEMENT_ABSTRACT_CLASS(wxPlotCtrlArea, wxWindow);
wxIMPLEMENT_ABSTRACT_CLASS(wxPlotCtrlAxis, wxWindow);
wxIMPLEMENT_ABSTRACT_CLASS(wxPlotCtrl, wxWindow);

// --- Child windows -----------------------------------------------------------

wxBEGIN_EVENT_TABLE(wxPlotCtrlArea, wxWindow)
    EVT_PAINT(wxPlotCtrlArea::OnPaint)
    EVT_MOUSE_EVENTS(wxPlotCtrlArea::OnMouse)
    EVT_CHAR(wxPlotCtrlArea::OnChar)
    EVT_KEY_DOWN(wxPlotCtrlArea::OnKeyDown)
    EVT_KEY_UP(wxPlotCtrlArea::OnKeyUp)
    EVT_MOUSE_CAPTURE_LOST(wxPlotCtrlArea::OnMouseCaptureLost)
wxEND_EVENT_TABLE()

wxPlotCtrlArea::wxPlotCtrlArea(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                               const wxSize& size, long style, const wxString& name)
    : m_owner(dynamic_cast<wxPlotCtrl*>(parent))
{
    // Painted whole from the back buffer: no erase, which would flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, id, pos, size, style, name);
    SetMinSize(wxSize(4, 4));
}

void wxPlotCtrlArea::OnPaint(wxPaintEvent& event)
{
    wxPaintDC dc(this);
    if (m_owner)
        m_owner->DrawAreaWindow(event, &dc, this);
}

void wxPlotCtrlArea::OnMouse(wxMouseEvent& event)
{
    if (m_owner)
        m_owner->ProcessAreaMouseEvent(event);
    else
        event.Skip();
}

void wxPlotCtrlArea::OnChar(wxKeyEvent& event)
{
    if (m_owner)
        m_owner->ProcessAreaCharEvent(event);
    else
        event.Skip();
}

void wxPlotCtrlArea::OnKeyDown(wxKeyEvent& event)
{
    if (m_owner)
        m_owner->ProcessAreaKeyDown(event);
    else
        event.Skip();
}

void wxPlotCtrlArea::OnKeyUp(wxKeyEvent& event)
{
    if (m_owner)
        m_owner->ProcessAreaKeyUp(event);
    else
        event.Skip();
}

void wxPlotCtrlArea::OnMouseCaptureLost(wxMouseCaptureLostEvent& WXUNUSED(event))
{
    // A modal box took the mouse mid-drag: the drag ends here, or the
    // auto-scroll timer would move the view for ever.
    if (m_owner)
        m_owner->EndMouseDrag(false);
}

wxBEGIN_EVENT_TABLE(wxPlotCtrlAxis, wxWindow)
    EVT_PAINT(wxPlotCtrlAxis::OnPaint)
    EVT_MOUSE_EVENTS(wxPlotCtrlAxis::OnMouse)
    EVT_CHAR(wxPlotCtrlAxis::OnChar)
    EVT_MOUSE_CAPTURE_LOST(wxPlotCtrlAxis::OnMouseCaptureLost)
wxEND_EVENT_TABLE()

wxPlotCtrlAxis::wxPlotCtrlAxis(int kind, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                               const wxSize& size, long style, const wxString& name)
    : m_kind(kind), m_owner(dynamic_cast<wxPlotCtrl*>(parent))
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, id, pos, size, style, name);
    SetMinSize(wxSize(4, 4));
    SetCursor(wxCursor(kind == wxPLOTCTRL_Y_AXIS ? wxCURSOR_SIZENS : wxCURSOR_SIZEWE));
}

void wxPlotCtrlAxis::OnPaint(wxPaintEvent& event)
{
    wxPaintDC dc(this);
    if (m_owner)
        m_owner->DrawAxisWindow(event, &dc, this);
}

void wxPlotCtrlAxis::OnMouse(wxMouseEvent& event)
{
    if (m_owner)
        m_owner->ProcessAxisMouseEvent(event);
    else
        event.Skip();
}

void wxPlotCtrlAxis::OnChar(wxKeyEvent& event)
{
    if (m_owner)
        m_owner->ProcessAxisCharEvent(event);
    else
        event.Skip();
}

void wxPlotCtrlAxis::OnMouseCaptureLost(wxMouseCaptureLostEvent& WXUNUSED(event))
{
    // wx asserts when a window that held the capture leaves this unhandled.
    if (m_owner)
        m_owner->EndMouseDrag(false);
}

// --- Drag cursors ------------------------------------------------------------

namespace
{
// 16 x 16 hands: '.' transparent, 'X' black outline, ' ' white, 'o' grey.
const char* const OpenHand[16] = {
    "......XX........",
    "...XX.X X.XX....",
    "..X  XX  X  X...",
    "..X  XX  X  X.X.",
    "...X  X  X  XX X",
    "...X  X  X  X  X",
    ".XX X       X  X",
    "X  XX          X",
    "X   X         X.",
    ".X            X.",
    "..X           X.",
    "..X          X..",
    "...X         X..",
    "....X       X...",
    ".....X      X...",
    ".....X      X...",
};
const char* const ClosedHand[16] = {
    "................",
    "................",
    "................",
    "....XX.XX.XX....",
    "...X  X  X  XX..",
    "...X  X  X  X X.",
    "....Xoooooooo X.",
    "...XXooooooo  X.",
    "..X  X        X.",
    "..X           X.",
    "...X         X..",
    "...X         X..",
    "....X       X...",
    ".....X      X...",
    ".....X      X...",
    "................",
};

wxCursor CursorFromRows(const char* const* rows)
{
    wxImage image(16, 16);
    image.SetMaskColour(1, 2, 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            switch (rows[y][x])
            {
                case 'X': image.SetRGB(x, y, 0, 0, 0); break;
                case ' ': image.SetRGB(x, y, 255, 255, 255); break;
                case 'o': image.SetRGB(x, y, 128, 128, 128); break;
                default: image.SetRGB(x, y, 1, 2, 3); break;
            }
        }
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, image.GetWidth() / 2);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, image.GetHeight() / 2);
    return wxCursor(image);
}

std::unique_ptr<wxCursor> s_grabCursor, s_grabbingCursor;

// Frees the shared cursors before the toolkit goes.
class wxPlotCtrlModule : public wxModule
{
public:
    bool OnInit() wxOVERRIDE { return true; }
    void OnExit() wxOVERRIDE
    {
        s_grabCursor.reset();
        s_grabbingCursor.reset();
    }

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotCtrlModule);
};
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotCtrlModule, wxModule);

const wxCursor& wxPlotCtrl::DragCursor(int id)
{
    if (!s_grabCursor)
    {
        s_grabCursor.reset(new wxCursor(CursorFromRows(OpenHand)));
        s_grabbingCursor.reset(new wxCursor(CursorFromRows(ClosedHand)));
    }
    return id == wxPLOTCTRL_CURSOR_GRABBING ? *s_grabbingCursor : *s_grabCursor;
}

// --- Construction ------------------------------------------------------------

wxBEGIN_EVENT_TABLE(wxPlotCtrl, wxWindow)
    EVT_SIZE(wxPlotCtrl::OnSize)
    EVT_PAINT(wxPlotCtrl::OnPaint)
    EVT_CHAR(wxPlotCtrl::OnChar)
    EVT_SCROLL(wxPlotCtrl::OnScroll)
    EVT_IDLE(wxPlotCtrl::OnIdle)
    EVT_MOUSE_EVENTS(wxPlotCtrl::OnMouse)
    EVT_TIMER(wxID_ANY, wxPlotCtrl::OnTimer)
    EVT_MOUSE_CAPTURE_LOST(wxPlotCtrl::OnMouseCaptureLost)
    EVT_TEXT_ENTER(wxID_ANY, wxPlotCtrl::OnTextEnter)
wxEND_EVENT_TABLE()

void wxPlotCtrl::Init()
{
    m_activeCurve = NULL;
    m_activeIndex = -1;
    m_cursorMarker.Create(wxPLOTMARKER_ELLIPSE, wxRect2DDouble(0, 0, 0, 0), wxSize(2, 2),
                          wxGenericPen(wxGenericColour(0, 255, 0), 1, wxPENSTYLE_SOLID,
                                       wxCAP_ROUND, wxJOIN_ROUND));
    m_cursorCurveIndex = -1;
    m_cursorDataIndex = -1;
    m_selectionMode = wxPLOTCTRL_SELECT_MULTIPLE;
    m_showKey = true;
    m_showTitle = false;
    m_title = wxS("Title");
    m_showXAxisLabel = false;
    m_showYAxisLabel = false;
    m_xAxisLabel = wxS("X-Axis");
    m_yAxisLabel = wxS("Y-Axis");
    m_titleFont = *wxSWISS_FONT;
    m_titleColour = *wxBLACK;
    m_borderColour = *wxBLACK;
    m_scrollOnThumbRelease = false;
    m_showCrosshairCursor = false;
    m_showGrid = true;
    m_fitOnNewCurve = true;
    m_showXAxis = true;
    m_showYAxis = true;
    m_zoom = wxPoint2DDouble(1.0, 1.0);
    m_viewHistoryIndex = -1;
    m_fixAspectRatio = false;
    m_viewRect = wxRect2DDouble(-10, -10, 20, 20);
    m_curvesBounds = m_viewRect;
    m_defaultBounds = m_viewRect;
    m_areaSize = wxRect(0, 0, 10, 10);
    m_xTickFormat = m_yTickFormat = wxS("%f");
    m_xTickStep = m_yTickStep = 1.0;
    m_tickCount = wxPoint(4, 4);
    m_snapTicksToPixels = 1;
    m_areaDrawer = NULL;
    m_xAxisDrawer = NULL;
    m_yAxisDrawer = NULL;
    m_keyDrawer = NULL;
    m_curveDrawer = NULL;
    m_dataCurveDrawer = NULL;
    m_markerDrawer = NULL;
    m_area = NULL;
    m_xAxis = m_yAxis = NULL;
    m_xScrollBar = m_yScrollBar = NULL;
    m_labelEditor = NULL;
    m_cornerFocusWindow = NULL;
    m_focusAreaOnMouse = false;
    m_dirtyFlags = wxPLOTCTRL_LAYOUT_INVALID;
    m_batchCount = 0;
    m_charSize = wxSize(6, 12);
    m_yAxisWidth = 60;
    m_yAxisLabelWidth = 0;
    m_borderWidth = 1;
    m_labelMargin = 4;
    m_tickLabelLimit = 1000;
    m_autoScrollTimer = NULL;
    m_captureWindow = NULL;
    m_areaMouseFunction = wxPLOTCTRL_MOUSE_ZOOM;
    m_areaMouseMarker = wxPLOTCTRL_MARKER_RECT;
    m_areaCursorId = wxCURSOR_CROSS;
    m_controlCursorId = wxCURSOR_ARROW;
    m_markerBeforeDrag = wxPLOTCTRL_MARKER_RECT;
    m_mouseFunctionFromKeys = false;
    m_unmodifiedMouseFunction = wxPLOTCTRL_MOUSE_ZOOM;
}

namespace
{
// The focus indicator: a small ball, coloured or grey, on a transparent
// square.
wxBitmap CornerBitmap(bool coloured)
{
    const int size = 15;
    wxImage image(size, size);
    image.SetMaskColour(1, 2, 3);
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const double d = std::hypot(x - c, y - c) / c;
            if (d > 1.0)
            {
                image.SetRGB(x, y, 1, 2, 3);
                continue;
            }
            // Lit from the upper left.
            const double light = std::max(0.0, 1.0 - std::hypot(x - c + 3, y - c + 3) / (1.6 * c));
            const int grey = int(90 + 150 * light);
            if (coloured)
                image.SetRGB(x, y, int(30 + 90 * light), grey, int(40 + 60 * light));
            else
                image.SetRGB(x, y, grey, grey, grey);
        }
    return wxBitmap(image);
}
} // namespace

bool wxPlotCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                        long WXUNUSED(style), const wxString& name)
{
    m_dirtyFlags = wxPLOTCTRL_LAYOUT_INVALID;
    wxSize sz(size);
    if (sz.x <= 20)
        sz.x = 20;
    if (sz.y <= 20)
        sz.y = 20;
    if (!wxWindow::Create(parent, id, pos, sz, wxWANTS_CHARS | wxCLIP_CHILDREN, name))
        return false;
    SetMinSize(wxSize(20, 20));
    // The focus indicator follows the focus from idle time.
    SetExtraStyle(GetExtraStyle() | wxWS_EX_PROCESS_IDLE);
    DragCursor(wxPLOTCTRL_CURSOR_GRAB);
    m_cornerBitmaps[0] = CornerBitmap(true);
    m_cornerBitmaps[1] = CornerBitmap(false);

    m_areaDrawer = new wxPlotDrawerArea(this);
    m_xAxisDrawer = new wxPlotDrawerXAxis(this);
    m_yAxisDrawer = new wxPlotDrawerYAxis(this);
    m_keyDrawer = new wxPlotDrawerKey(this);
    m_curveDrawer = new wxPlotDrawerCurve(this);
    m_dataCurveDrawer = new wxPlotDrawerDataCurve(this);
    m_markerDrawer = new wxPlotDrawerMarker(this);

    const wxSize extent = GetTextExtent(wxS("5"));
    m_charSize = (extent.x < 2 || extent.y < 2) ? wxSize(6, 12) : extent;
    m_xAxisDrawer->SetTickFont(GetFont());
    m_yAxisDrawer->SetTickFont(GetFont());

    const long childStyle = wxBORDER_NONE | wxWANTS_CHARS | wxCLIP_CHILDREN;
    m_xAxis = new wxPlotCtrlAxis(wxPLOTCTRL_X_AXIS, this, wxPLOTCTRL_ID_XAXIS, wxDefaultPosition,
                                 wxDefaultSize, childStyle);
    m_yAxis = new wxPlotCtrlAxis(wxPLOTCTRL_Y_AXIS, this, wxPLOTCTRL_ID_YAXIS, wxDefaultPosition,
                                 wxDefaultSize, childStyle);
    m_area = new wxPlotCtrlArea(this, wxPLOTCTRL_ID_AREA, wxDefaultPosition, wxSize(100, 100),
                                childStyle);
    m_xScrollBar = new wxScrollBar(this, wxPLOTCTRL_ID_XSCROLLBAR, wxDefaultPosition,
                                   wxDefaultSize, wxSB_HORIZONTAL);
    m_yScrollBar = new wxScrollBar(this, wxPLOTCTRL_ID_YSCROLLBAR, wxDefaultPosition,
                                   wxDefaultSize, wxSB_VERTICAL);

    m_area->SetCursor(wxCursor(wxCURSOR_CROSS));
    m_area->SetBackgroundColour(*wxWHITE);
    m_xAxis->SetBackgroundColour(*wxWHITE);
    m_yAxis->SetBackgroundColour(*wxWHITE);
    wxWindow::SetBackgroundColour(*wxWHITE);
    m_area->SetForegroundColour(*wxLIGHT_GREY);

    SetPlotTitle(m_title);
    SetXAxisLabel(m_xAxisLabel);
    SetYAxisLabel(m_yAxisLabel);
    m_dirtyFlags = 0;
    Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
    return true;
}

wxPlotCtrl::~wxPlotCtrl()
{
    StopAutoScrollTimer();
    if (m_captureWindow && m_captureWindow->HasCapture())
        m_captureWindow->ReleaseMouse();
    delete m_areaDrawer;
    delete m_xAxisDrawer;
    delete m_yAxisDrawer;
    delete m_keyDrawer;
    delete m_curveDrawer;
    delete m_dataCurveDrawer;
    delete m_markerDrawer;
    for (wxPlotCurve* curve : m_curves)
        delete curve;
}

// --- Curves ------------------------------------------------------------------

wxPlotData* wxPlotCtrl::GetDataCurve(int index) const
{
    return dynamic_cast<wxPlotData*>(GetCurve(index));
}

wxPlotFunction* wxPlotCtrl::GetFunctionCurve(int index) const
{
    return dynamic_cast<wxPlotFunction*>(GetCurve(index));
}

int wxPlotCtrl::GetCurveIndex(const wxPlotCurve* curve) const
{
    if (!curve)
        return -1;
    auto it = std::find(m_curves.begin(), m_curves.end(), curve);
    return it == m_curves.end() ? -1 : int(it - m_curves.begin());
}

bool wxPlotCtrl::AddCurve(wxPlotCurve* curve, bool select, bool sendEvent)
{
    if (!curve)
        return false;
    // Held already: taking it twice would delete it twice.
    if (GetCurveIndex(curve) >= 0)
        return false;
    if (!curve->Ok())
    {
        delete curve;
        return false;
    }
    m_curves.push_back(curve);
    m_curveDataSelections.emplace_back();
    m_curveValueSelections.emplace_back();
    const int index = GetCurveCount() - 1;
    CalcCurvesBounds();
    UpdateKeyText();
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURVE_ADDED, GetId(), this);
        event.SetCurve(curve, index);
        DoSendEvent(event);
    }
    ++m_batchCount;
    if (select && GetCurve(index) == curve)
        SetActiveCurve(index, sendEvent);
    m_batchCount = std::max(0, m_batchCount - 1);
    if (m_fitOnNewCurve)
        SetZoom(-1, -1, 0, 0);
    else
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
    return true;
}

bool wxPlotCtrl::DeleteCurve(wxPlotCurve* curve, bool sendEvent)
{
    const int index = GetCurveIndex(curve);
    return index >= 0 && DeleteCurveAt(index, sendEvent);
}

bool wxPlotCtrl::DeleteCurveAt(int index, bool sendEvent)
{
    if (index < -1 || index >= GetCurveCount())
        return false;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURVE_REMOVING, GetId(), this);
        event.SetCurve(GetCurve(index), index);
        if (!DoSendEvent(event))
            return false;
        if (index >= GetCurveCount())
            return false;
    }
    ++m_batchCount;

    // The doomed curves leave every list before any event goes out, and are
    // deleted last: no handler can see a freed pointer or a stale index.
    std::vector<wxPlotCurve*> doomed;
    bool activeRemoved = false;
    bool cursorRemoved = false;
    if (index == -1)
    {
        doomed.swap(m_curves);
        m_curveDataSelections.clear();
        m_curveValueSelections.clear();
        activeRemoved = true;
        cursorRemoved = true;
    }
    else
    {
        doomed.push_back(m_curves[index]);
        m_curves.erase(m_curves.begin() + index);
        m_curveDataSelections.erase(m_curveDataSelections.begin() + index);
        m_curveValueSelections.erase(m_curveValueSelections.begin() + index);
        if (m_cursorCurveIndex == index)
            cursorRemoved = true;
        else if (m_cursorCurveIndex > index)
            --m_cursorCurveIndex;
        // The active curve keeps its identity; only its index moves.
        if (m_activeCurve == doomed[0])
            activeRemoved = true;
        else if (m_activeIndex > index)
            --m_activeIndex;
    }
    if (activeRemoved)
    {
        m_activeCurve = NULL;
        m_activeIndex = -1;
    }
    if (cursorRemoved)
        InvalidateCursor(sendEvent);
    if (activeRemoved && index >= 0 && GetCurveCount() > 0)
        SetActiveCurve(std::min(index, GetCurveCount() - 1), sendEvent);

    for (wxPlotCurve* curve : doomed)
        delete curve;
    m_batchCount = std::max(0, m_batchCount - 1);
    CalcCurvesBounds();
    UpdateKeyText();
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURVE_REMOVED, GetId(), this);
        event.SetCurve(NULL, index);
        DoSendEvent(event);
    }
    return true;
}

void wxPlotCtrl::SetActiveCurve(int index, bool sendEvent)
{
    if (index >= GetCurveCount())
        return;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGING, GetId(), this);
        event.SetCurve(m_activeCurve, m_activeIndex);
        if (!DoSendEvent(event))
            return;
    }
    if (CurveIndexOk(index) && m_curves[index]->Ok())
    {
        m_activeCurve = m_curves[index];
        m_activeIndex = index;
    }
    else
    {
        m_activeCurve = NULL;
        m_activeIndex = -1;
    }
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGED, GetId(), this);
        event.SetCurve(m_activeCurve, m_activeIndex);
        DoSendEvent(event);
    }
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

void wxPlotCtrl::SetActiveCurve(wxPlotCurve* curve, bool sendEvent)
{
    const int index = GetCurveIndex(curve);
    if (index >= 0)
        SetActiveCurve(index, sendEvent);
}

void wxPlotCtrl::UpdateKeyText()
{
    m_keyText.clear();
    for (int i = 0; i < GetCurveCount(); ++i)
    {
        if (const wxPlotData* data = GetDataCurve(i))
            m_keyText += data->GetFilename();
        else if (const wxPlotFunction* function = GetFunctionCurve(i))
            m_keyText += function->GetFunctionString();
        else
            m_keyText += wxString::Format(wxS("Curve %d"), i);
        m_keyText += wxS("\n");
    }
}

// --- Markers -----------------------------------------------------------------

int wxPlotCtrl::AddMarker(const wxPlotMarker& marker)
{
    m_markers.Add(marker);
    return GetMarkerCount() - 1;
}

void wxPlotCtrl::RemoveMarker(int index)
{
    if (index >= 0 && index < GetMarkerCount())
        m_markers.RemoveAt(size_t(index));
}

void wxPlotCtrl::ClearMarkers()
{
    m_markers.Clear();
}

// --- Data cursor ---------------------------------------------------------------

wxPoint2DDouble wxPlotCtrl::GetCursorPoint() const
{
    return IsCursorValid() ? m_cursorMarker.GetPlotPosition() : wxPoint2DDouble(0, 0);
}

void wxPlotCtrl::InvalidateCursor(bool sendEvent)
{
    const bool existed = IsCursorValid();
    const double oldX = m_cursorMarker.GetPlotPosition().m_x;
    m_cursorCurveIndex = -1;
    m_cursorDataIndex = -1;
    m_cursorMarker.SetPlotPosition(0, 0);
    // The old mark goes from the screen, not only from the state.
    if (existed)
        RedrawPlotXRange(oldX, oldX, StretchMargin(-1));
    if (sendEvent && existed)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGED, GetId(), this);
        DoSendEvent(event);
    }
}

// --- Events ------------------------------------------------------------------

bool wxPlotCtrl::DoSendEvent(wxPlotCtrlEvent& event)
{
    GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
}

bool wxPlotCtrl::IsFiniteOrReport(double value, const wxString& message)
{
    if (std::isfinite(value))
        return true;
    if (!message.empty())
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_ERROR, GetId(), this);
        event.SetString(message);
        DoSendEvent(event);
    }
    return false;
}

// --- Auto-scroll timer ---------------------------------------------------------

void wxPlotCtrl::StartAutoScrollTimer(int id)
{
    if (m_autoScrollTimer && m_autoScrollTimer->GetId() != id)
        StopAutoScrollTimer();
    if (!m_autoScrollTimer)
        m_autoScrollTimer = new wxTimer(this, id);
    if (!m_autoScrollTimer->IsRunning())
        m_autoScrollTimer->StartOnce(200);
}

void wxPlotCtrl::StopAutoScrollTimer()
{
    if (!m_autoScrollTimer)
        return;
    m_autoScrollTimer->Stop();
    delete m_autoScrollTimer;
    m_autoScrollTimer = NULL;
}

bool wxPlotCtrl::IsAutoScrollTimerRunning() const
{
    return m_autoScrollTimer && m_autoScrollTimer->IsRunning();
}

void wxPlotCtrl::OnTimer(wxTimerEvent& event)
{
    wxPoint pos;
    switch (event.GetId())
    {
        case wxPLOTCTRL_TIMER_AREA: pos = m_area->m_lastMousePos; break;
        case wxPLOTCTRL_TIMER_XAXIS: pos = m_xAxis->m_lastMousePos; break;
        case wxPLOTCTRL_TIMER_YAXIS: pos = m_yAxis->m_lastMousePos; break;
        default: event.Skip(); return;
    }
    const int dx = pos.x < 0 ? -20 : (pos.x > m_areaSize.width ? 20 : 0);
    const int dy = pos.y < 0 ? 20 : (pos.y > m_areaSize.height ? -20 : 0);
    const double sx = dx / m_zoom.m_x, sy = dy / m_zoom.m_y;
    if ((sx == 0 && sy == 0) ||
        !SetZoom(m_zoom.m_x, m_zoom.m_y, m_viewRect.m_x + sx, m_viewRect.m_y + sy, true))
        StopAutoScrollTimer();
    else
        StartAutoScrollTimer(event.GetId());
}
