#include "wxPlotDrawerAxis.h"

#include <wx/dc.h>
#include <wx/settings.h>

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

void wxPlotDrawerXAxis::Draw(wxDC* dc, bool refresh)
{
    if (!dc)
        return;
    Prepare(dc, refresh);
    const int h = dc->GetTextExtent(wxS("5")).GetHeight();
    const int y = (m_dcRect.height - h) / 2 + 2;
    const size_t n = std::min(m_tickPositions.size(), m_tickLabels.GetCount());
    for (size_t i = 0; i < n; ++i)
        dc->DrawText(m_tickLabels[i], m_tickPositions[i], y);
}

void wxPlotDrawerYAxis::Draw(wxDC* dc, bool refresh)
{
    if (!dc)
        return;
    Prepare(dc, refresh);
    const size_t n = std::min(m_tickPositions.size(), m_tickLabels.GetCount());
    for (size_t i = 0; i < n; ++i)
        dc->DrawText(m_tickLabels[i], 2, m_tickPositions[i]);
}
