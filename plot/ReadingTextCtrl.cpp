#include "ReadingTextCtrl.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/toplevel.h>

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
      m_text(text),
      m_widest(widest)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(font.IsOk() ? font : parent->GetFont());
    m_parentBackground = parent->GetBackgroundColour();
    SetInitialSize(DoGetBestSize());
}

void ReadingTextCtrl::Measure()
{
    // Digits need not all be equally wide: the widest one stands for each.
    int digit = 0;
    for (const wxUniChar d : wxString("0123456789"))
        digit = std::max(digit, CharWidth(d));
    int width = 0;
    for (const wxUniChar ch : m_widest)
        width += wxIsdigit(ch) ? digit : CharWidth(ch);
    m_extent = wxSize(width, GetTextExtent(m_widest + m_text).y);
}

int ReadingTextCtrl::CharWidth(wxUniChar ch) const
{
    // Measured once per character and font: a reading changes ten times a
    // second and each measurement is a Pango layout.
    auto it = m_widths.find(ch);
    if (it == m_widths.end())
        it = m_widths.emplace(ch, std::max(1, GetTextExtent(wxString(ch)).x)).first;
    return it->second;
}

int ReadingTextCtrl::TextWidth(const wxString& text) const
{
    int width = 0;
    for (const wxUniChar ch : text)
        width += CharWidth(ch);
    return width;
}

void ReadingTextCtrl::SetLabel(const wxString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    const int width = TextWidth(text);
    if (width > m_extent.x) {
        m_extent.x = width;
        InvalidateBestSize();
        SetMinSize(DoGetBestSize());
        if (wxWindow* top = wxGetTopLevelParent(this))
            top->Layout();
    }
    Refresh(false);
}

bool ReadingTextCtrl::ShowsWhole() const
{
    return TextWidth(m_text) + 2 * kPadding <= GetClientSize().x;
}

bool ReadingTextCtrl::SetBackgroundColour(const wxColour& colour)
{
    m_ownBackground = colour.IsOk();
    ForgetPictures();
    return wxControl::SetBackgroundColour(colour);
}

bool ReadingTextCtrl::SetForegroundColour(const wxColour& colour)
{
    ForgetPictures();
    return wxControl::SetForegroundColour(colour);
}

bool ReadingTextCtrl::SetFont(const wxFont& font)
{
    ForgetPictures();
    m_widths.clear();
    const bool changed = wxControl::SetFont(font);
    Measure();
    InvalidateBestSize();
    return changed;
}

void ReadingTextCtrl::ForgetPictures()
{
    m_glyphs.clear();
    m_picture = wxBitmap();
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
    if (size.x < 1 || size.y < 1)
        return;
    // Composed off screen and laid in one piece: each copy onto the window
    // is a trip to the display, one per character otherwise.
    // In the window's own pixels (GDK_SCALE), as the glyphs are: a picture
    // of window pixels would squeeze them and then be doubled on the screen.
    const double scale = GetContentScaleFactor();
    const bool fits = m_picture.IsOk() && m_picture.GetLogicalSize() == size &&
                      m_picture.GetScaleFactor() == scale;
    if (!fits || m_pictureText != m_text) {
        if (!fits)
            m_picture.CreateWithDIPSize(size, scale);
        Compose();
    }
    dc.DrawBitmap(m_picture, 0, 0);
}

void ReadingTextCtrl::Compose()
{
    wxMemoryDC dc(m_picture);
    const wxSize size = m_picture.GetLogicalSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Background()));
    dc.DrawRectangle(0, 0, size.x, size.y);

    // Right-aligned; a text too wide for the control keeps its leading
    // digits rather than showing a smaller number.
    int x = std::max(kPadding, size.x - kPadding - TextWidth(m_text));
    const int y = (size.y - m_extent.y) / 2;
    for (const wxUniChar ch : m_text) {
        const wxBitmap& glyph = Glyph(ch);
        dc.DrawBitmap(glyph, x, y);
        x += glyph.GetLogicalWidth();
    }
    m_pictureText = m_text;
}

const wxBitmap& ReadingTextCtrl::Glyph(wxUniChar ch)
{
    // A window moved to a screen of another scale makes its glyphs anew.
    const double scale = GetContentScaleFactor();
    auto it = m_glyphs.find(ch);
    if (it != m_glyphs.end() && it->second.GetScaleFactor() == scale)
        return it->second;

    const wxString text(ch);
    const int width = CharWidth(ch);
    wxBitmap glyph;
    glyph.CreateWithDIPSize(wxSize(width, std::max(1, m_extent.y)), scale);
    {
        wxMemoryDC dc(glyph);
        dc.SetBackground(wxBrush(Background()));
        dc.Clear();
        dc.SetFont(GetFont());
        dc.SetTextForeground(GetForegroundColour());
        dc.DrawText(text, 0, 0);
    }
    return m_glyphs[ch] = glyph;
}
