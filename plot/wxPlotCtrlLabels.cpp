// Title and axis labels: their texts, fonts and visibility, and editing them
// in place.

#include "wxPlotCtrl.h"
#include "wxPlotDrawerAxis.h"

#include <wx/textctrl.h>

#include <algorithm>

// --- Texts and visibility ------------------------------------------------------

wxSize wxPlotCtrl::LabelExtent(const wxString& text, const wxString& fallback,
                               const wxFont& font) const
{
    int w = 0, h = 0;
    GetTextExtent(text.empty() ? fallback : text, &w, &h, NULL, NULL, &font);
    return wxSize(w, h);
}

void wxPlotCtrl::SetPlotTitle(const wxString& title)
{
    // An empty text keeps the room of the default one.
    const wxSize extent = LabelExtent(title, wxS("Title"), m_titleFont);
    m_titleRect.SetSize(extent);
    m_title = title;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetXAxisLabel(const wxString& label)
{
    const wxSize extent = LabelExtent(label, wxS("X - Axis"), GetAxisLabelFont());
    m_xLabelRect.SetSize(extent);
    m_xAxisLabel = label;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetYAxisLabel(const wxString& label)
{
    // Drawn rotated: the extent is swapped.
    const wxSize extent = LabelExtent(label, wxS("Y - Axis"), GetAxisLabelFont());
    m_yLabelRect.SetSize(wxSize(extent.y, extent.x));
    m_yAxisLabel = label;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetShowPlotTitle(bool show)
{
    m_showTitle = show;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetShowXAxisLabel(bool show)
{
    m_showXAxisLabel = show;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetShowYAxisLabel(bool show)
{
    m_showYAxisLabel = show;
    Refresh();
    DoSize();
}

void wxPlotCtrl::SetShowXAxis(bool show)
{
    m_showXAxis = show;
    DoSize();
}

void wxPlotCtrl::SetShowYAxis(bool show)
{
    m_showYAxis = show;
    DoSize();
}

void wxPlotCtrl::SetShowKey(bool show)
{
    m_showKey = show;
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

void wxPlotCtrl::SetShowGrid(bool show)
{
    m_showGrid = show;
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

void wxPlotCtrl::SetCrossHairCursor(bool show)
{
    m_showCrosshairCursor = show;
    if (m_area)
        m_area->Refresh(false);
}

void wxPlotCtrl::SetTitleFont(const wxFont& font)
{
    m_titleFont = font;
    SetPlotTitle(m_title);
}

void wxPlotCtrl::SetTitleColour(const wxColour& colour)
{
    m_titleColour = colour;
    Refresh();
}

void wxPlotCtrl::SetAxisLabelFont(const wxFont& font)
{
    if (m_xAxisDrawer)
        m_xAxisDrawer->SetLabelFont(font);
    SetXAxisLabel(m_xAxisLabel);
    SetYAxisLabel(m_yAxisLabel);
}

wxFont wxPlotCtrl::GetAxisLabelFont() const
{
    return m_xAxisDrawer ? m_xAxisDrawer->GetLabelFont() : *wxSWISS_FONT;
}

void wxPlotCtrl::SetAxisLabelColour(const wxColour& colour)
{
    if (m_xAxisDrawer)
        m_xAxisDrawer->SetLabelColour(wxGenericColour(colour));
    Refresh();
}

wxColour wxPlotCtrl::GetAxisLabelColour() const
{
    if (!m_xAxisDrawer)
        return *wxBLACK;
    const wxGenericColour& c = m_xAxisDrawer->GetLabelColour();
    return wxColour(c.Red(), c.Green(), c.Blue());
}

// --- Editing in place ----------------------------------------------------------

namespace
{
// The editor's window id is the number of the event its edit ends with.
wxEventType EditedEventType(int which)
{
    switch (which)
    {
        case wxPLOTCTRL_EDIT_TITLE: return wxEVT_PLOTCTRL_TITLE_EDITED;
        case wxPLOTCTRL_EDIT_XAXIS: return wxEVT_PLOTCTRL_XLABEL_EDITED;
        case wxPLOTCTRL_EDIT_YAXIS: return wxEVT_PLOTCTRL_YLABEL_EDITED;
        default: return wxEVT_NULL;
    }
}
} // namespace

void wxPlotCtrl::BeginLabelEdit(int which, bool sendEvent)
{
    const wxEventType edited = EditedEventType(which);
    if (edited == wxEVT_NULL)
        return;
    if (m_labelEditor)
    {
        if (m_labelEditor->GetId() == int(edited))
            return;
        EndLabelEdit(true, true);
    }
    const wxString& text = which == wxPLOTCTRL_EDIT_TITLE ? m_title
                           : which == wxPLOTCTRL_EDIT_XAXIS ? m_xAxisLabel : m_yAxisLabel;
    if (sendEvent)
    {
        const wxEventType begin = which == wxPLOTCTRL_EDIT_TITLE ? wxEVT_PLOTCTRL_TITLE_EDIT_BEGIN
                                  : which == wxPLOTCTRL_EDIT_XAXIS ? wxEVT_PLOTCTRL_XLABEL_EDIT_BEGIN
                                                                   : wxEVT_PLOTCTRL_YLABEL_EDIT_BEGIN;
        wxPlotCtrlEvent event(begin, GetId(), this);
        event.SetString(text);
        if (!DoSendEvent(event))
            return;
    }
    wxPoint pos;
    wxSize size;
    const int m = m_labelMargin;
    switch (which)
    {
        case wxPLOTCTRL_EDIT_TITLE:
            pos = wxPoint(m_areaRect.x, 0);
            size = wxSize(m_areaRect.width, m_titleRect.height + 2 * m);
            break;
        case wxPLOTCTRL_EDIT_XAXIS:
            pos = wxPoint(m_areaRect.x, m_xAxisRect.y + m_xAxisRect.height - 1);
            size = wxSize(m_areaRect.width, m_xLabelRect.height + 2 * m);
            break;
        default:
            pos = wxPoint(0, m_areaRect.y + m_areaRect.height / 2);
            size = wxSize(m_clientRect.width - m_charSize.y / 2, m_yLabelRect.width + 2 * m);
            break;
    }
    // A small control leaves no room; the editor still gets a usable size.
    size.x = std::max(size.x, 20);
    size.y = std::max(size.y, 10);
    m_labelEditor = new wxTextCtrl(this, int(edited), text, pos, size, wxTE_PROCESS_ENTER,
                                   wxDefaultValidator, wxS("text"));
    const bool title = which == wxPLOTCTRL_EDIT_TITLE;
    m_labelEditor->SetFont(title ? m_titleFont : GetAxisLabelFont());
    m_labelEditor->SetForegroundColour(title ? m_titleColour : GetAxisLabelColour());
    m_labelEditor->SetBackgroundColour(GetAreaBackgroundColour());
    m_labelEditor->SetFocus();
    m_labelEditor->SelectAll();
}

void wxPlotCtrl::EndLabelEdit(bool apply, bool sendEvent)
{
    if (!m_labelEditor)
        return;
    wxTextCtrl* editor = m_labelEditor;
    m_labelEditor = NULL;
    const wxString text = editor->GetValue();
    const wxEventType edited = wxEventType(editor->GetId());
    editor->Destroy();

    const wxString& current = edited == wxEVT_PLOTCTRL_TITLE_EDITED    ? m_title
                              : edited == wxEVT_PLOTCTRL_XLABEL_EDITED ? m_xAxisLabel
                                                                       : m_yAxisLabel;
    if (!apply || text == current)
        return;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(edited, GetId(), this);
        event.SetString(text);
        if (!DoSendEvent(event))
            return;
    }
    if (edited == wxEVT_PLOTCTRL_TITLE_EDITED)
        SetPlotTitle(text);
    else if (edited == wxEVT_PLOTCTRL_XLABEL_EDITED)
        SetXAxisLabel(text);
    else
        SetYAxisLabel(text);
}

void wxPlotCtrl::OnTextEnter(wxCommandEvent& event)
{
    if (!m_labelEditor || event.GetEventObject() != m_labelEditor)
    {
        event.Skip();
        return;
    }
    // The editor sent this event and must not be destroyed inside it.
    CallAfter([this]() { EndLabelEdit(true, true); });
}

void wxPlotCtrl::OnMouse(wxMouseEvent& event)
{
    if (event.ButtonDown() && IsLabelEditorShown())
    {
        EndLabelEdit(true, true);
        return;
    }
    const wxPoint pos = event.GetPosition();
    int which = 0;
    if (m_showTitle && m_titleRect.Contains(pos))
        which = wxPLOTCTRL_EDIT_TITLE;
    else if (m_showXAxisLabel && m_xLabelRect.Contains(pos))
        which = wxPLOTCTRL_EDIT_XAXIS;
    else if (m_showYAxisLabel && m_yLabelRect.Contains(pos))
        which = wxPLOTCTRL_EDIT_YAXIS;
    const int cursorId = which ? wxCURSOR_IBEAM : wxCURSOR_ARROW;
    if (cursorId != m_controlCursorId)
    {
        m_controlCursorId = cursorId;
        SetCursor(wxCursor(wxStockCursor(cursorId)));
    }
    if (event.LeftDClick() && which && !IsLabelEditorShown())
        BeginLabelEdit(which, true);
    event.Skip();
}
