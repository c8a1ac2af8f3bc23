#include "ReadingTextCtrl.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

wxBEGIN_EVENT_TABLE(ReadingTextCtrl, wxControl)
    EVT_PAINT(ReadingTextCtrl::OnPaint)
wxEND_EVENT_TABLE()

namespace
{
const int kPadding = 1;
}

ReadingTextCtrl::ReadingTextCtrl(wxWindow* parent, const wxString& text, const wxString& widest,
                                 const wxFont& font)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxNO_BORDER,
                wxDefaultValidator, "staticText"),
      m_text(text)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(font.IsOk() ? font : parent->GetFont());
    m_parentBackground = parent->GetBackgroundColour();
    m_extent = GetTextExtent(widest);
    SetInitialSize(DoGetBestSize());
}

void ReadingTextCtrl::SetLabel(const wxString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Refresh(false);
}

bool ReadingTextCtrl::SetBackgroundColour(const wxColour& colour)
{
    m_ownBackground = colour.IsOk();
    m_glyphs.clear();
    return wxControl::SetBackgroundColour(colour);
}

bool ReadingTextCtrl::SetForegroundColour(const wxColour& colour)
{
    m_glyphs.clear();
    return wxControl::SetForegroundColour(colour);
}

bool ReadingTextCtrl::SetFont(const wxFont& font)
{
    m_glyphs.clear();
    return wxControl::SetFont(font);
}

wxColour ReadingTextCtrl::Background() const
{
    return m_ownBackground ? GetBackgroundColour() : m_parentBackground;
}

wxVisualAttributes ReadingTextCtrl::GetDefaultAttributes() const
{
    return wxWindow::GetClassDefaultAttributes(GetWindowVariant());
}

wxSize ReadingTextCtrl::DoGetBestSize() const
{
    return wxSize(m_extent.x + 2 * kPadding, m_extent.y);
}

void ReadingTextCtrl::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Background()));
    dc.DrawRectangle(0, 0, size.x, size.y);

    int x = size.x - kPadding;
    for (const wxUniChar ch : m_text)
        x -= Glyph(ch).GetLogicalWidth();
    const int y = (size.y - m_extent.y) / 2;
    for (const wxUniChar ch : m_text) {
        const wxBitmap& glyph = Glyph(ch);
        dc.DrawBitmap(glyph, x, y);
        x += glyph.GetLogicalWidth();
    }
}

const wxBitmap& ReadingTextCtrl::Glyph(wxUniChar ch)
{
    auto it = m_glyphs.find(ch);
    if (it != m_glyphs.end())
        return it->second;

    const wxString text(ch);
    const int width = std::max(1, GetTextExtent(text).x);
    wxBitmap glyph;
    glyph.CreateWithDIPSize(wxSize(width, std::max(1, m_extent.y)), GetContentScaleFactor());
    {
        wxMemoryDC dc(glyph);
        dc.SetBackground(wxBrush(Background()));
        dc.Clear();
        dc.SetFont(GetFont());
        dc.SetTextForeground(GetForegroundColour());
        dc.DrawText(text, 0, 0);
    }
    return m_glyphs.emplace(ch, glyph).first->second;
}
