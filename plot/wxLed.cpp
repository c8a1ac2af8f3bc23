#include "wxLed.h"

#include <cctype>
#include <cstring>
#include <string>

#include <wx/dcclient.h>

namespace
{
const char* const FallbackColour = "808080";

// Blank is transparent; '-' the grey rim above and left, '_' the light rim
// below and right, '*' the highlight and 'X' the lamp's own colour.
const char* const XpmRows[wxLed::Size] = {
    "      -----      ",
    "    ---------    ",
    "   -----------   ",
    "  -----XXX----_  ",
    " ----XX**XXX-___ ",
    " ---X***XXXXX___ ",
    "----X**XXXXXX____",
    "---X**XXXXXXXX___",
    "---XXXXXXXXXXX___",
    "---XXXXXXXXXXX___",
    "----XXXXXXXXX____",
    " ---XXXXXXXXX___ ",
    " ---_XXXXXXX____ ",
    "  _____XXX_____  ",
    "   ___________   ",
    "    _________    ",
    "      _____      ",
};

void CopyColour(char (&to)[7], const char* from)
{
    std::memcpy(to, from, 6);
    to[6] = '\0';
}
}

bool wxLed::IsHexColour(const char* text)
{
    if (!text)
        return false;
    for (int i = 0; i < 6; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

wxLed::wxLed(wxWindow* parent, wxWindowID id, const char* offColour, const wxPoint& pos,
             const wxSize& size)
    : wxWindow(parent, id, pos, size, 0, "panel")
{
    // Starts dark without going through Enable, which would pick a colour.
    m_isEnabled = false;
    CopyColour(m_offColour, IsHexColour(offColour) ? offColour : FallbackColour);
    Bind(wxEVT_PAINT, &wxLed::OnPaint, this);
    SetLedColour(m_offColour);
}

wxLed::~wxLed()
{
    wxMutexLocker lock(m_mutex);
    m_bitmap.reset();
}

bool wxLed::Enable(bool enable)
{
    const bool changed = wxWindow::Enable(enable);
    SetLedColour(IsThisEnabled() ? m_onColour : m_offColour);
    return changed;
}

void wxLed::SetLedColour(const char* colour)
{
    if (!IsHexColour(colour) || std::strncmp(colour, m_shownColour, 6) == 0)
        return;

    char hex[7];
    CopyColour(hex, colour);
    const std::string header = wxString::Format("%d %d %d 1", Size, Size, 5).ToStdString();
    const std::string body = std::string("X c #") + hex;
    const char* xpm[1 + 5 + Size] = {
        header.c_str(), "  c None", "- c #C0C0C0", "_ c #F8F8F8", "* c #FFFFFF", body.c_str(),
    };
    for (int row = 0; row < Size; ++row)
        xpm[6 + row] = XpmRows[row];

    // Build first: a picture that cannot be made leaves the old one shown.
    auto fresh = std::make_unique<wxBitmap>(xpm);
    if (!fresh->IsOk())
        return;
    {
        wxMutexLocker lock(m_mutex);
        m_bitmap.swap(fresh);
        const wxSize size(m_bitmap->GetWidth(), m_bitmap->GetHeight());
        // Creation took the size it was given as the minimum too; sizers
        // must see the picture's size.
        SetMinSize(size);
        SetSize(size);
    }
    InvalidateBestSize();
    Refresh(true);
    CopyColour(m_shownColour, hex);
    ++m_rebuilds;
}

void wxLed::SetOnColour(const char* colour)
{
    if (!colour || strnlen(colour, 7) != 6 || !IsHexColour(colour))
        return;
    if (std::strcmp(colour, m_onColour) == 0)
        return;
    CopyColour(m_onColour, colour);
    if (IsThisEnabled())
        SetLedColour(m_onColour);
}

wxBitmap wxLed::GetBitmap() const
{
    wxMutexLocker lock(m_mutex);
    return m_bitmap ? *m_bitmap : wxNullBitmap;
}

wxSize wxLed::DoGetBestSize() const
{
    return wxSize(Size, Size);
}

void wxLed::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    wxMutexLocker lock(m_mutex);
    if (m_bitmap && m_bitmap->IsOk())
        dc.DrawBitmap(*m_bitmap, 0, 0, true);
}
