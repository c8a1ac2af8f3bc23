#pragma once
// Tick labels of the x and y axes. Tick marks and grid lines are the
// control's; the axes draw text only.

#include "wxPlotDrawerBase.h"
#include "wxGenericBrush.h"
#include "wxGenericPen.h"

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/font.h>

#include <algorithm>
#include <functional>
#include <map>
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
    // Where along the axis a label of the given length starts for a tick at
    // position: there, or moved just inside a window span pixels long where
    // it would stick out.
    static int LabelStart(int position, int length, int span)
        { return std::max(0, std::min(position, span - length)); }
    // Text size of a label in the tick font as drawn, measured through window
    // (or the DC drawing it) once per text and font.
    wxSize GetLabelExtent(const wxString& label, const wxWindow* window);

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
    wxSize LabelExtent(const wxString& label, wxDC* dc);
    // Draws label with its top left at (x, y), after Prepare. On a freshly
    // filled back buffer the label is copied from a picture of it made once:
    // a scrolling axis draws the same few texts every frame, and a text
    // layout costs far more than a copy.
    void DrawLabel(wxDC* dc, bool refresh, const wxString& label, int x, int y);

    std::vector<int> m_tickPositions;
    wxArrayString m_tickLabels;
    wxFont m_tickFont;
    wxFont m_labelFont;
    wxGenericColour m_tickColour;
    wxGenericColour m_labelColour;
    wxGenericBrush m_backgroundBrush;

private:
    // The labels' sizes in m_extentFont: a scrolling plot shows the same
    // few dozen texts frame after frame, and each measure is a text layout.
    wxSize CachedExtent(const wxString& label, const std::function<wxSize(const wxFont&)>& measure);
    std::map<wxString, wxSize> m_extents;
    wxFont m_extentFont;
    // Pictures of the labels on the background, for the font, colours and
    // scale they were made with.
    std::map<wxString, wxBitmap> m_pictures;
    wxFont m_pictureFont;
    wxColour m_pictureText, m_pictureBackground;
    double m_pictureScale = 1;

    wxDECLARE_ABSTRACT_CLASS(wxPlotDrawerAxisBase);
};

class wxPlotDrawerXAxis : public wxPlotDrawerAxisBase
{
public:
    explicit wxPlotDrawerXAxis(wxPlotCtrl* owner = NULL) : wxPlotDrawerAxisBase(owner) {}
    // Labels vertically centred (plus 2) at their positions, none cut at an
    // end of the axis.
    void Draw(wxDC* dc, bool refresh) wxOVERRIDE;

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerXAxis);
};

class wxPlotDrawerYAxis : public wxPlotDrawerAxisBase
{
public:
    explicit wxPlotDrawerYAxis(wxPlotCtrl* owner = NULL) : wxPlotDrawerAxisBase(owner) {}
    // Labels 2 pixels from the left at their positions, none cut at the top
    // or the bottom.
    void Draw(wxDC* dc, bool refresh) wxOVERRIDE;

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDrawerYAxis);
};
