#include "PlotOscyl.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <wx/gdicmn.h>
#include <wx/pen.h>

#include "ChannelColours.h"
#include "Controller.h"

namespace
{
// A channel's reading in its band: reading * factor + offset. The factors
// are the stored reciprocals, each applied as one multiplication; an offset
// of 0 and a factor of 1 change nothing.
struct ChannelScale
{
    double (*read)(const Controller&);
    double factor;
    double offset;
};

const ChannelScale kScales[PlotOscyl::kChannels] = {
    {[](const Controller& c) { return c.m_gasPressure; }, 1.0, 2.0},
    {[](const Controller& c) { return c.m_manifoldPressure; }, 1.0, 3.0},
    {[](const Controller& c) { return c.m_supplyVoltage; }, 0.3333333333333333, 0.0},
    {[](const Controller& c) { return c.GetO2Voltage1(); }, 0.4347826086956522, 0.0},
    {[](const Controller& c) { return c.GetO2Voltage2(); }, 0.4347826086956522, 0.0},
    {[](const Controller& c) { return c.m_petrolInjectionTimes[0]; }, 0.35, 0.0},
    {[](const Controller& c) { return c.m_gasInjectionTime; }, 0.14285714285714285, 0.0},
    {[](const Controller& c) { return c.m_gasTemperature; }, 0.07692307692307693, 0.0},
    {[](const Controller& c) { return c.m_reducerTemperature; }, 0.06666666666666667, 0.0},
    // The controller keeps hundreds of rpm.
    {[](const Controller& c) { return c.m_rpm * 100.0; }, 0.001, 0.0},
};

// The order in which the curves enter the control (their curve indexes).
const int kCurveOrder[PlotOscyl::kChannels] = {0, 1, 5, 6, 2, 3, 4, 7, 8, 9};
// The order in which a frame's readings are sampled.
const int kSamplingOrder[PlotOscyl::kChannels] = {0, 1, 5, 6, 7, 8, 3, 4, 2, 9};
} // namespace

wxBEGIN_EVENT_TABLE(PlotOscyl, wxPlotCtrl)
    EVT_MOUSE_CAPTURE_LOST(PlotOscyl::OnMouseCaptureLost)
    EVT_PLOTCTRL_CURVE_REMOVING(wxID_ANY, PlotOscyl::OnCurveRemoving)
wxEND_EVENT_TABLE()

PlotOscyl::PlotOscyl(wxWindow* parent, wxWindowID id, long style)
    : wxPlotCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style, "wxPlotCtrl")
{
    // The first tick computation replaces the hints.
    m_tickCount = wxPoint(10, 10);
    m_tickLabelLimit = 50000;
    m_paused = false;
    // The view sits on whole frame numbers; snapping the ticks to pixels
    // would move it off them on every scroll.
    SetSnapTicksToPixels(false);

    const wxRect2DDouble view(0.0, 0.0, kViewWidth, kBandHeight);
    SetViewRect(view, false);
    SetDefaultBoundingRect(view, false);
    // The check boxes beside the plot name the channels; the key would list
    // ten curves without names.
    SetShowKey(false);
    SetFitPlotOnNewCurve(false);
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
    SetShowGrid(true);
    SetShowXAxis(true);
    HideScrollBars();
    SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN, false);
    SetSelectionMode(wxPLOTCTRL_SELECT_NONE);

    for (int channel : kCurveOrder)
        CreateChannel(channel, 1, 0.0);
    SetupPens();

    // At start-up the controller comes after the pages, and the main
    // window's OnAttach registers the plot instead.
    OnAttach();
}

PlotOscyl::~PlotOscyl()
{
    if (theController)
        theController->RemoveObserver(this);
}

void PlotOscyl::OnAttach()
{
    Controller* c = theController;
    if (!c)
        return;
    // Registered twice, every frame would add two points per channel.
    const ControllerObserver* self = this;
    if (std::find(c->m_observers.begin(), c->m_observers.end(), self) == c->m_observers.end())
        c->AddObserver(this);
}

wxPlotData* PlotOscyl::GetChannel(int channel) const
{
    return channel >= 0 && channel < kChannels ? m_channels[channel] : nullptr;
}

void PlotOscyl::CreateChannel(int channel, int points, double value)
{
    wxCHECK_RET(channel >= 0 && channel < kChannels && !m_channels[channel] && points >= 1,
                "OscylosckopPane: a channel is made once, with at least one point");
    auto* curve = new wxPlotData(1);
    curve->SetPoint(0, 0.0, value);
    for (int i = 1; i < points; ++i)
        *curve = curve->AppendPoint(i, value, 0.0);
    curve->SetDrawLines(true);
    curve->SetDrawPoints(false);
    curve->CalcBoundingRect();
    if (AddCurve(curve, false, false))
        m_channels[channel] = curve;
}

void PlotOscyl::AddSample(int channel, double value)
{
    wxPlotData* curve = GetChannel(channel);
    wxCHECK_RET(curve, "OscylosckopPane: no such channel");
    // The appended data set shares the curve's growing store; the control's
    // own curve object takes it over, so the points are not copied.
    wxPlotData grown = curve->AppendPoint(curve->GetCount(), value, 0.0);
    // Out of memory: keep what has been recorded rather than nothing.
    if (!grown.Ok())
        return;
    *curve = grown;
    // The append has brought the bounds up to date; this only takes them.
    curve->CalcBoundingRect();
}

void PlotOscyl::SetChannelVisible(int channel, bool visible)
{
    wxPlotData* curve = GetChannel(channel);
    wxCHECK_RET(curve, "OscylosckopPane: no such channel");
    curve->SetDrawLines(visible);
    curve->SetDrawPoints(false);
    // A view held on older data is not redrawn by the frames.
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

void PlotOscyl::SetupPens()
{
    for (int channel = 0; channel < kChannels; ++channel)
    {
        if (wxPlotData* curve = m_channels[channel])
        {
            const wxPen* pen = wxThePenList->FindOrCreatePen(ChannelColours[channel], 2, wxPENSTYLE_SOLID);
            curve->SetPen(wxPLOTPEN_NORMAL, wxGenericPen(*pen));
        }
    }
    SetActiveCurve(-1, false);
}

void PlotOscyl::CalcTicks(bool xAxis)
{
    CalcTicksWithHintFactor(xAxis, 2);
}

void PlotOscyl::OnControllerData()
{
    const Controller* c = theController;
    if (c && !m_paused)
    {
        for (int channel : kSamplingOrder)
        {
            const ChannelScale& s = kScales[channel];
            AddSample(channel, s.read(*c) * s.factor + s.offset);
        }
    }

    const wxPlotData* first = m_channels[0];
    const double count = first ? first->GetCount() : 0;
    // Moved away from the newest data: hold the view, draw nothing new.
    if (count > m_viewRect.m_x + m_viewRect.m_width)
        return;
    // The newest point keeps a twentieth of the view from its right edge (10
    // frames of the 200 first shown) at whatever width the user has zoomed
    // to, and at least one frame, or the next frame would pass the edge and
    // hold the view. The width comes back from the zoom with rounding noise:
    // it is taken to a millionth of a frame.
    const double width = std::round(m_viewRect.m_width * 1e6) / 1e6;
    const double lead = width - std::max(1.0, width / kRightMarginShare);
    if (count > lead)
        SetZoom(m_zoom.m_x, m_zoom.m_y, count - lead, 0.0, false);
    else
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

bool PlotOscyl::SetZoom(double zoomX, double zoomY, double originX, double originY, bool sendEvent)
{
    // Fitting to the curves needs their bounds, which the frames leave as
    // they were when the channels were made.
    if (zoomX <= 0 || zoomY <= 0)
        CalcCurvesBounds();
    return wxPlotCtrl::SetZoom(zoomX, zoomY, originX, originY, sendEvent);
}

void PlotOscyl::OnCurveRemoving(wxPlotCtrlEvent& event)
{
    // The control's delete key would free a curve this plot still samples.
    const wxPlotCurve* curve = GetCurve(event.GetCurveIndex());
    if (event.GetCurveIndex() < 0 || std::find(std::begin(m_channels), std::end(m_channels), curve) != std::end(m_channels))
    {
        event.Veto();
        return;
    }
    event.Skip();
}
