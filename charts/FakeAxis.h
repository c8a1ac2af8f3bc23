#pragma once
// A narrow panel beside the map plot that labels the plot's y axis a second
// time, as manifold pressure in kPa: 0..100 over the plot's 0..2.56, or
// 0..250 on a boosted engine. Follows the plot's view.

#include <wx/arrstr.h>
#include <wx/panel.h>

#include <vector>

class PlotMap;
class wxPlotCtrlEvent;
class wxDC;
class wxPlotDrawerYAxis;

class FakeAxis : public wxPanel
{
public:
    FakeAxis(wxWindow* parent, wxWindowID id, PlotMap* plot);
    ~FakeAxis() override;

    // Recomputes the labels and their rows from the plot's view and the
    // engine type (the map page calls it after the engine type changed).
    void UpdateLabels();

    // Paints the labels at their rows and the rotated title right of them.
    void Draw(wxDC& dc);

    // Rows in this panel's pixels, one per label.
    const std::vector<int>& GetTicks() const { return m_ticks; }
    const wxArrayString& GetLabels() const { return m_labels; }

private:
    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnPlotViewChanged(wxPlotCtrlEvent& event);
    // The title's place clear of the widest label, and the width it needs.
    void PlaceTitle();
    // Row of the plot area's top edge in this panel.
    int AreaTop() const;

    wxPlotDrawerYAxis* m_drawer = nullptr;
    wxArrayString m_labels;
    std::vector<int> m_ticks;
    // Plot units between two labels.
    double m_step = 0.64;
    PlotMap* m_plot = nullptr;
    // The panel's rectangle as of the last size event.
    wxRect m_rect;
    // Where the rotated title is drawn (its glyphs lie left of it).
    int m_titleX = 0;

    wxDECLARE_EVENT_TABLE();
};
