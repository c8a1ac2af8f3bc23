#include "wxPlotDrawerAxis.h"

#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/window.h>

wxIMPLEMENT_ABSTRACT_CLASS(wxPlotDrawerAxisBase, wxPlotDrawerBase);
wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerXAxis, wxPlotDrawerAxisBase);
wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerYAxis, wxPlotDrawerAxisBase);

wxPlotDrawerAxisBase::wxPlotDrawerAxisBase(wxPlotCtrl* owner)
    : wxPlotDrawerBase(owner),
      m_tickFont(*wxNORMAL_FONT),
      m_labelFont(*wxSWISS_FONT),
      m_tickColour(0, 0, 0, 255),
      m_labelColour(0, 0, 0, 255),
      m_backgroundBrush(wxGenericColour(255, 255, 255, 255), wxBRUSHSTYLE_SOLID)
{
}

void wxPlotDrawerAxisBase::Prepare(wxDC* dc, bool refresh)
{
    if (refresh)
    {
        dc->SetBrush(m_backgroundBrush.GetBrush());
        dc->SetPen(*wxTRANSPARENT_PEN);
        dc->DrawRectangle(m_dcRect);
    }
    dc->SetFont(wxPlotScaledFont(m_tickFont, m_fontScale));
    dc->SetTextForeground(wxColour(m_tickColour.Red(), m_tickColour.Green(), m_tickColour.Blue()));
}

namespace
{
// More texts than a scrolling plot shows in a long while; past it the
// cache starts again.
const size_t kMaxCachedExtents = 2000;
// Background round a label's picture; neighbouring labels stand further apart.
const int kPictureMargin = 1;
} // namespace

wxSize wxPlotDrawerAxisBase::CachedExtent(const wxString& label,
                                          const std::function<wxSize(const wxFont&)>& measure)
{
    const wxFont font = wxPlotScaledFont(m_tickFont, m_fontScale);
    if (!m_extentFont.IsOk() || font != m_extentFont || m_extents.size() > kMaxCachedExtents)
    {
        m_extents.clear();
        m_extentFont = font;
    }
    auto it = m_extents.find(label);
    if (it == m_extents.end())
        it = m_extents.emplace(label, measure(font)).first;
    return it->second;
}

wxSize wxPlotDrawerAxisBase::GetLabelExtent(const wxString& label, const wxWindow* window)
{
    return CachedExtent(label, [&](const wxFont& font) {
        int w = 0, h = 0;
        window->GetTextExtent(label, &w, &h, NULL, NULL, &font);
        return wxSize(w, h);
    });
}

wxSize wxPlotDrawerAxisBase::LabelExtent(const wxString& label, wxDC* dc)
{
    return CachedExtent(label, [&](const wxFont&) { return dc->GetTextExtent(label); });
}

void wxPlotDrawerAxisBase::DrawLabel(wxDC* dc, bool refresh, const wxString& label, int x, int y)
{
    // Only where a copy has the pixels drawing would set: over the plain
    // background just filled, at whole pixels of an unscaled DC.
    double sx = 1, sy = 1, ux = 1, uy = 1;
    dc->GetLogicalScale(&sx, &sy);
    dc->GetUserScale(&ux, &uy);
    const wxBrush background = m_backgroundBrush.GetBrush();
    if (!refresh || background.GetStyle() != wxBRUSHSTYLE_SOLID || sx != 1 || sy != 1 || ux != 1 ||
        uy != 1 || dc->GetDeviceOrigin() != wxPoint(0, 0) || label.empty())
    {
        dc->DrawText(label, x, y);
        return;
    }
    const wxFont font = dc->GetFont();
    const wxColour text = dc->GetTextForeground(), back = background.GetColour();
    // Made in the DC's own pixels (GDK_SCALE), so that the copy is as sharp
    // as the text drawn.
    const double scale = dc->GetContentScaleFactor();
    if (font != m_pictureFont || text != m_pictureText || back != m_pictureBackground ||
        scale != m_pictureScale || m_pictures.size() > kMaxCachedExtents)
    {
        m_pictures.clear();
        m_pictureFont = font;
        m_pictureText = text;
        m_pictureBackground = back;
        m_pictureScale = scale;
    }
    auto it = m_pictures.find(label);
    if (it == m_pictures.end())
    {
        // A margin round the text's box holds any ink that leaves it.
        const wxSize extent = LabelExtent(label, dc);
        wxBitmap picture;
        picture.CreateWithDIPSize(extent + wxSize(2 * kPictureMargin, 2 * kPictureMargin), scale);
        {
            wxMemoryDC mdc(picture);
            mdc.SetBackground(wxBrush(back));
            mdc.Clear();
            mdc.SetFont(font);
            mdc.SetTextForeground(text);
            mdc.DrawText(label, kPictureMargin, kPictureMargin);
        }
        it = m_pictures.emplace(label, picture).first;
    }
    dc->DrawBitmap(it->second, x - kPictureMargin, y - kPictureMargin, false);
}

void wxPlotDrawerXAxis::Draw(wxDC* dc, bool refresh)
{
    if (!dc)
        return;
    Prepare(dc, refresh);
    const int h = LabelExtent(wxS("5"), dc).GetHeight();
    const int y = (m_dcRect.height - h) / 2 + 2;
    const size_t n = std::min(m_tickPositions.size(), m_tickLabels.GetCount());
    for (size_t i = 0; i < n; ++i)
    {
        const int w = LabelExtent(m_tickLabels[i], dc).GetWidth();
        DrawLabel(dc, refresh, m_tickLabels[i], LabelStart(m_tickPositions[i], w, m_dcRect.width), y);
    }
}

void wxPlotDrawerYAxis::Draw(wxDC* dc, bool refresh)
{
    if (!dc)
        return;
    Prepare(dc, refresh);
    const size_t n = std::min(m_tickPositions.size(), m_tickLabels.GetCount());
    for (size_t i = 0; i < n; ++i)
    {
        const int h = LabelExtent(m_tickLabels[i], dc).GetHeight();
        DrawLabel(dc, refresh, m_tickLabels[i], 2, LabelStart(m_tickPositions[i], h, m_dcRect.height));
    }
}
