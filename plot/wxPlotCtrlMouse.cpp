// Mouse, keys, cursor movement and selection of the plot control.
//
// Not built yet: the handlers below pass their events on and the selection
// operations select nothing. Zoom, pan, the rubber band, the cross hair, the
// data cursor and the selections by mouse and keys come with this file's
// next step; the painting already draws the cursor, the selections and the
// overlays from their stored state.

#include "wxPlotCtrl.h"

bool wxPlotCtrl::SelectRectangle(int, const wxRect2DDouble&, bool, bool)
{
    return false;
}

bool wxPlotCtrl::SelectDataRange(int, const IntRange&, bool, bool)
{
    return false;
}

bool wxPlotCtrl::ClearSelectionForMode(int, bool)
{
    return false;
}

void wxPlotCtrl::ProcessAreaMouseEvent(wxMouseEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::ProcessAxisMouseEvent(wxMouseEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::ProcessAreaCharEvent(wxKeyEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::ProcessAreaKeyDown(wxKeyEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::ProcessAreaKeyUp(wxKeyEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::ProcessAxisCharEvent(wxKeyEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::OnChar(wxKeyEvent& event)
{
    event.Skip();
}

void wxPlotCtrl::OnMouseCaptureLost(wxMouseCaptureLostEvent& WXUNUSED(event))
{
    if (m_captureWindow && m_captureWindow->HasCapture())
        m_captureWindow->ReleaseMouse();
    m_captureWindow = NULL;
}
