#include "wxSpinArrows.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>

wxSpinArrows::wxSpinArrows(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                           const wxSize& size, const wxString& name)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE, name),
      m_repeat(this)
{
    // The buffered paint DC below needs the paint-only background style.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Not even GTK's own Tab traversal may stop here.
    SetCanFocus(false);
    Bind(wxEVT_PAINT, &wxSpinArrows::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &wxSpinArrows::OnLeftDown, this);
    // GTK turns the second click of a quick pair into a double-click; it is
    // still a press of the arrow.
    Bind(wxEVT_LEFT_DCLICK, &wxSpinArrows::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &wxSpinArrows::OnLeftUp, this);
    Bind(wxEVT_LEAVE_WINDOW, &wxSpinArrows::OnLeave, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &wxSpinArrows::OnCaptureLost, this);
    Bind(wxEVT_TIMER, &wxSpinArrows::OnTimer, this);
}

wxSpinArrows::~wxSpinArrows()
{
    m_repeat.Stop();
}

wxSize wxSpinArrows::DoGetBestSize() const
{
    return FromDIP(wxSize(14, 20));
}

void wxSpinArrows::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    const int w = size.x;
    const int h = size.y;
    const int mid = h / 2;

    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (w <= 2 || h <= 2)
        return;

    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    if (m_pressed != 0) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(shadow));
        if (m_pressed > 0)
            dc.DrawRectangle(0, 0, w, mid);
        else
            dc.DrawRectangle(0, mid, w, h - mid);
    }
    dc.SetPen(wxPen(shadow));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, w, h);
    dc.DrawLine(0, mid, w, mid);

    const wxColour arrow = wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT
                                                                   : wxSYS_COLOUR_GRAYTEXT);
    dc.SetPen(wxPen(arrow));
    dc.SetBrush(wxBrush(arrow));
    // Half-width of a triangle: fits the width and half the height.
    const int half = std::max(1, std::min((w - 4) / 2, (mid - 3)));
    const int cx = w / 2;
    const int upBase = (mid + half) / 2 + 1;
    const wxPoint up[3] = {{cx - half, upBase}, {cx + half, upBase}, {cx, upBase - half}};
    dc.DrawPolygon(3, up);
    const int downBase = mid + (h - mid - half) / 2;
    const wxPoint down[3] = {{cx - half, downBase}, {cx + half, downBase}, {cx, downBase + half}};
    dc.DrawPolygon(3, down);
}

void wxSpinArrows::OnLeftDown(wxMouseEvent& event)
{
    if (!IsEnabled())
        return;
    Press(event.GetY() < GetClientSize().y / 2 ? 1 : -1);
}

void wxSpinArrows::OnLeftUp(wxMouseEvent&)
{
    Release();
}

void wxSpinArrows::OnLeave(wxMouseEvent& event)
{
    // Under X the pressed window keeps the pointer until release; leaving it
    // stops the repeat so that a slipped finger does not keep counting.
    Release();
    event.Skip();
}

void wxSpinArrows::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    Release();
}

void wxSpinArrows::OnTimer(wxTimerEvent&)
{
    if (m_pressed == 0 || !IsEnabled()) {
        Release();
        return;
    }
    SendSpin();
    m_repeat.StartOnce(RepeatIntervalMs);
}

void wxSpinArrows::Press(int direction)
{
    m_pressed = direction;
    Refresh(false);
    SendSpin();
    m_repeat.StartOnce(RepeatDelayMs);
}

void wxSpinArrows::Release()
{
    m_repeat.Stop();
    if (m_pressed != 0) {
        m_pressed = 0;
        Refresh(false);
    }
}

void wxSpinArrows::SendSpin()
{
    wxSpinEvent event(m_pressed > 0 ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, GetId());
    event.SetEventObject(this);
    HandleWindowEvent(event);
}
