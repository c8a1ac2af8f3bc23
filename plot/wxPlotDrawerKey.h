#pragma once
// The legend: one line per curve, each behind a short sample of the curve's
// pen.

#include "wxPlotDrawerBase.h"
#include "wxGenericColour.h"

#include <wx/string.h>

class wxPlotDrawerKey : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerKey(wxPlotCtrl* owner = NULL);

    void Draw(wxDC*, bool) wxOVERRIDE {}
    // Lines of keyText are separated by "\n"; nothing for an empty text.
    virtual void Draw(wxDC* dc, const wxString& keyText);
    // A literal would otherwise pick Draw(wxDC*, bool).
    void Draw(wxDC* dc, const char* keyText) { Draw(dc, wxString(keyText)); }
    void Draw(wxDC* dc, const wchar_t* keyText) { Draw(dc, wxString(keyText)); }

    const wxFont& GetFont() const { return m_font; }
    void SetFont(const wxFont& font) { m_font = font; }
    const wxGenericColour& GetFontColour() const { return m_fontColour; }
    void SetFontColour(const wxGenericColour& colour) { m_fontColour = colour; }
    // Position in percent of the rectangle; (100, 100) is the top right.
    const wxPoint& GetKeyPosition() const { return m_keyPosition; }
    void SetKeyPosition(const wxPoint& pos) { m_keyPosition = pos; }
    bool GetKeyInside() const { return m_keyInside; }
    void SetKeyInside(bool inside) { m_keyInside = inside; }

protected:
    wxFont m_font;
    wxGenericColour m_fontColour;
    wxPoint m_keyPosition;
    bool m_keyInside = true;
    int m_keyMargin = 5;
    int m_keyLineLength = 20;
    int m_keyLineGap = 5;

private:
    // The text's extent as last measured: the key is drawn with every redraw
    // of the area, and each measurement is a Pango layout per line.
    wxString m_measuredText;
    wxFont m_measuredFont;
    wxSize m_measuredPPI;
    wxCoord m_textW = 0, m_textH = 0, m_lineH = 0;

    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerKey);
};
