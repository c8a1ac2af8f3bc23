#include "wxPlotDrawerKey.h"
#include "wxPlotCtrl.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/tokenzr.h>

#include <cmath>

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerKey, wxPlotDrawerBase);

wxPlotDrawerKey::wxPlotDrawerKey(wxPlotCtrl* owner)
    : wxPlotDrawerBase(owner),
      m_font(*wxNORMAL_FONT),
      m_fontColour(0, 0, 0, 255),
      m_keyPosition(100, 100)
{
}

void wxPlotDrawerKey::Draw(wxDC* dc, const wxString& keyText)
{
    if (!dc || !m_owner || keyText.empty())
        return;
    const wxFont font = wxPlotScaledFont(m_font, m_fontScale);
    dc->SetFont(font);
    dc->SetTextForeground(wxColour(m_fontColour.Red(), m_fontColour.Green(), m_fontColour.Blue()));
    const int lineLength = int(std::lround(m_keyLineLength * m_penScale));
    const int gap = int(std::lround(m_keyLineGap * m_penScale));

    // A printer's DC measures in its own resolution.
    const wxSize ppi = dc->GetPPI();
    if (keyText != m_measuredText || !(font == m_measuredFont) || ppi != m_measuredPPI)
    {
        dc->GetMultiLineTextExtent(keyText, &m_textW, &m_textH, &m_lineH);
        m_measuredText = keyText;
        m_measuredFont = font;
        m_measuredPPI = ppi;
    }
    const wxCoord textW = m_textW, textH = m_textH, lineH = m_lineH;

    const int w = m_dcRect.width, h = m_dcRect.height;
    int x = int(m_keyPosition.x * 0.01 * w) + 30;
    int y = h - int(m_keyPosition.y * 0.01 * h);
    if (m_keyInside)
    {
        x = std::max(x, 30);
        x = std::min(w - m_keyMargin - textW, x + textW - 1);
        y = std::max(y, m_keyMargin);
        y = std::min(h - m_keyMargin - textH, y);
    }
    x += m_dcRect.x;
    y += m_dcRect.y;

    wxStringTokenizer lines(keyText, wxS("\n"), wxTOKEN_RET_EMPTY);
    for (int i = 0; lines.HasMoreTokens(); ++i)
    {
        const wxString line = lines.GetNextToken();
        if (const wxPlotCurve* curve = m_owner->GetCurve(i))
        {
            wxPen pen = curve->GetPen(wxPLOTPEN_NORMAL).GetPen();
            if (pen.IsOk())
            {
                int width = pen.GetWidth();
                if (m_penScale != 1.0)
                    width = int(width * m_penScale);
                pen.SetWidth(std::max(width, 3));
                dc->SetPen(pen);
                dc->DrawLine(x - gap - lineLength, y + lineH / 2, x - gap, y + lineH / 2);
            }
        }
        if (!line.empty())
            dc->DrawText(line, x, y);
        y += lineH;
    }
    dc->SetPen(wxNullPen);
}
