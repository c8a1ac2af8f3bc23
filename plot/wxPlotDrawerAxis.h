#pragma once
// Tick labels of the x and y axes. Tick marks and grid lines are the
// control's; the axes draw text only.

#include "wxPlotDrawerBase.h"
#include "wxGenericBrush.h"
#include "wxGenericPen.h"

#include <wx/arrstr.h>

#include <vector>

class wxPlotDrawerAxisBase : public wxPlotDrawerBase
{
public:
    explicit wxPlotDrawerAxisBase(wxPlotCtrl* owner = NULL);

    // Pixel positions along the axis (x: left edge of each label; y: top of
    // each label) and one label per tick.
    void SetTickPositions(const std::vector<int>& positions) { m_tickPositions = positions; }
    void SetTickLabels(const wxArrayString& labels) { m_tickLabels = labels; }
    const std::vector<int>& GetTickPositions() const { return m_tickPositions; }
    const wxArrayString& GetTickLabels() const { return m_tickLabels; }

    const wxFont& GetTickFont() const { return m_tickFont; }
    void SetTickFont(const wxFont& font) { m_tickFont = font; }
    const wxFont& GetLabelFont() const { return m_labelFont; }
    void SetLabelFont(const wxFont& font) { m_labelFont = font; }
    const wxGenericColour& GetTickColour() const { return m_tickColour; }
    void SetTickColour(const wxGenericColour& colour) { m_tickColour = colour; }
    const wxGenericColour& GetLabelColour() const { return m_labelColour; }
    void SetLabelColour(const wxGenericColour& colour) { m_labelColour = colour; }
    const wxGenericBrush& GetBackgroundBrush() const { return m_backgroundBrush; }
    void SetBackgroundBrush(const wxGenericBrush& brush) { m_backgroundBrush = brush; }

protected:
    // Fills the background when refresh is set and selects the tick font
    // and colour.
    void Prepare(wxDC* dc, bool refresh);

    std::vector<int> m_tickPositions;
    wxArrayString m_tickLabels;
    wxFont m_tickFont;
    wxFont m_labelFont;
    wxGenericColour m_tickColour;
    wxGenericColour m_labelColour;
    wxGenericBrush m_backgroundBrush;

private:
    wxDECLARE_ABSTRACT_CLASS(wxPlotDrawerAxisBase);
};

class wxPlotDrawerXAxis : public wxPlotDrawerAxisBase
{
public:
    explicit wxPlotDrawerXAxis(wxPlotCtrl* owner = NULL) : wxPlotDrawerAxisBase(owner) {}
    // Labels vertically centred (plus 2) at their positions.
    void Draw(wxDC* dc, bool refresh) wxOVERRIDE;

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerXAxis);
};

class wxPlotDrawerYAxis : public wxPlotDrawerAxisBase
{
public:
    explicit wxPlotDrawerYAxis(wxPlotCtrl* owner = NULL) : wxPlotDrawerAxisBase(owner) {}
    // Labels 2 pixels from the left at their positions.
    void Draw(wxDC* dc, bool refresh) wxOVERRIDE;

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerYAxis);
};
