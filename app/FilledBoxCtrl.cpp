#include "FilledBoxCtrl.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

wxBEGIN_EVENT_TABLE(FilledBoxCtrl, wxControl)
    EVT_PAINT(FilledBoxCtrl::OnPaint)
wxEND_EVENT_TABLE()

FilledBoxCtrl::FilledBoxCtrl(wxWindow* parent, wxWindowID id, int x, int y, int width, int height)
    : wxControl(parent, id, wxPoint(x, y), wxSize(width, height), wxNO_BORDER,
                wxDefaultValidator, "control"),
      m_colour(255, 255, 0),
      m_lit(false)
{
    // Every pixel is painted, so the toolkit need not clear first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
}

FilledBoxCtrl::~FilledBoxCtrl() = default;

void FilledBoxCtrl::SetColour(wxColour colour)
{
    m_colour = colour;
    Refresh(false);
}

wxVisualAttributes FilledBoxCtrl::GetDefaultAttributes() const
{
    return wxWindow::GetClassDefaultAttributes(GetWindowVariant());
}

wxSize FilledBoxCtrl::DoGetBestSize() const
{
    // wxControl would ask GTK for a native widget size; a lamp has none.
    const wxSize min = GetMinSize();
    return wxSize(min.x > 0 ? min.x : 16, min.y > 0 ? min.y : 16);
}

void FilledBoxCtrl::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW), 1, wxPENSTYLE_SOLID));
    const wxColour fill = m_lit ? m_colour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc.SetBrush(wxBrush(fill, wxBRUSHSTYLE_SOLID));
    const wxSize size = GetClientSize();
    dc.DrawRectangle(0, 0, size.x, size.y);
}
