#pragma once
// A plot control on the shared test frame, with its inner state reachable,
// and a log of the plot events it sends.

#include "GuiTest.h"
#include "wxPlotCtrl.h"

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <functional>
#include <set>
#include <vector>

// Reaches the members a derived page may set, and the handlers.
class PlotProbe : public wxPlotCtrl
{
public:
    using wxPlotCtrl::wxPlotCtrl;
    using wxPlotCtrl::OnTimer;

    int& DirtyFlags() { return m_dirtyFlags; }
    int& TickLabelLimit() { return m_tickLabelLimit; }
    wxSize& CharSize() { return m_charSize; }
    wxRect2DDouble& ViewRect() { return m_viewRect; }
    wxPoint2DDouble& Zoom() { return m_zoom; }
    void SetAreaSizeForTest(int w, int h) { m_areaSize = wxRect(0, 0, w, h); }
    IntRangeSelection& DataSelection(int i) { return m_curveDataSelections[i]; }
    void PlaceCursor(int curve, int index)
    {
        m_cursorCurveIndex = curve;
        m_cursorDataIndex = index;
        if (const wxPlotData* d = GetDataCurve(curve))
            m_cursorMarker.SetPlotPosition(d->GetPoint(index));
    }
    // Renders the area's contents as the back buffer gets them; with a
    // strip, renders that strip once more over it, as a partial redraw does.
    wxImage RenderArea(const wxRect& strip = wxRect())
    {
        wxBitmap bitmap;
        bitmap.CreateWithDIPSize(m_areaSize.GetSize(), GetContentScaleFactor());
        {
            wxMemoryDC dc(bitmap);
            DrawArea(&dc, m_areaSize);
            if (!strip.IsEmpty())
                DrawArea(&dc, strip);
        }
        return bitmap.ConvertToImage();
    }
};

struct RecordedEvent
{
    wxEventType type;
    wxPlotCurve* curve;
    int curveIndex;
    double x, y;
    wxString text;
    // The curve pointer was held by the control (or null) when sent.
    bool curveHeld;
};

// Records every plot event; vetoes the types in m_veto.
class PlotEventLog
{
public:
    void Attach(wxPlotCtrl* plot)
    {
        m_plot = plot;
        const wxEventType* types = wxPlotCtrlEventTypes();
        for (int i = 0; i < wxPLOTCTRL_EVENT_TYPE_COUNT; ++i)
            plot->Bind(wxEventTypeTag<wxPlotCtrlEvent>(types[i]), &PlotEventLog::OnEvent, this);
    }
    int Count(wxEventType type) const
    {
        int n = 0;
        for (const RecordedEvent& e : m_events)
            n += e.type == type;
        return n;
    }
    const RecordedEvent* Last(wxEventType type) const
    {
        for (auto it = m_events.rbegin(); it != m_events.rend(); ++it)
            if (it->type == type)
                return &*it;
        return nullptr;
    }

    std::vector<RecordedEvent> m_events;
    std::set<wxEventType> m_veto;

private:
    void OnEvent(wxPlotCtrlEvent& event)
    {
        wxPlotCurve* curve = event.GetCurve();
        m_events.push_back({event.GetEventType(), curve, event.GetCurveIndex(), event.GetX(),
                            event.GetY(), event.GetString(),
                            curve == nullptr || m_plot->GetCurveIndex(curve) >= 0});
        if (m_veto.count(event.GetEventType()))
            event.Veto();
        event.Skip();
    }

    wxPlotCtrl* m_plot = nullptr;
};

class PlotCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_plot = new PlotProbe(guitest::SharedFrame(), wxID_ANY, wxPoint(0, 0), wxSize(420, 320));
        m_plot->SetSnapTicksToPixels(false);
        m_log.Attach(m_plot);
    }
    void TearDown() override { delete m_plot; }

    // A data curve through the given points, lines on, points off.
    static wxPlotData* Curve(const std::vector<wxPoint2DDouble>& points, bool lines = true,
                             bool marks = false)
    {
        auto* data = new wxPlotData(int(points.size()));
        for (size_t i = 0; i < points.size(); ++i)
            data->SetPoint(int(i), points[i]);
        data->CalcBoundingRect();
        data->SetDrawLines(lines);
        data->SetDrawPoints(marks);
        return data;
    }

    static bool SameRect(const wxRect2DDouble& a, const wxRect2DDouble& b, double eps = 1e-9)
    {
        return std::fabs(a.m_x - b.m_x) <= eps && std::fabs(a.m_y - b.m_y) <= eps &&
               std::fabs(a.m_width - b.m_width) <= eps && std::fabs(a.m_height - b.m_height) <= eps;
    }

    PlotProbe* m_plot = nullptr;
    PlotEventLog m_log;
};
