#include "LevelBarCtrl.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/settings.h>

wxBEGIN_EVENT_TABLE(LevelBarCtrl, wxControl)
    EVT_PAINT(LevelBarCtrl::OnPaint)
wxEND_EVENT_TABLE()

LevelBarCtrl::LevelBarCtrl(wxWindow* parent, wxWindowID id, int range, const wxPoint& pos,
                           const wxSize& size)
    : wxControl(parent, id, pos, size, wxNO_BORDER, wxDefaultValidator, "gauge"),
      m_range(std::max(1, range))
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
}

void LevelBarCtrl::SetValue(int value)
{
    value = std::clamp(value, 0, m_range);
    if (value == m_value)
        return;
    m_value = value;
    Refresh(false);
}

wxVisualAttributes LevelBarCtrl::GetDefaultAttributes() const
{
    return wxWindow::GetClassDefaultAttributes(GetWindowVariant());
}

wxSize LevelBarCtrl::DoGetBestSize() const
{
    const wxSize min = GetMinSize();
    return wxSize(min.x > 0 ? min.x : 20, min.y > 0 ? min.y : 95);
}

void LevelBarCtrl::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(GetBackgroundColour()));
    dc.DrawRectangle(0, 0, size.x, size.y);

    const int inner = size.y - 2;
    const int filled = inner * m_value / m_range;
    if (filled > 0) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(GetForegroundColour()));
        dc.DrawRectangle(1, 1 + inner - filled, size.x - 2, filled);
    }
}
