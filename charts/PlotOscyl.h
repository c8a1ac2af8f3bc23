#ifndef QUENVAR_PLOTOSCYL_H
#define QUENVAR_PLOTOSCYL_H

#include "ControllerObserver.h"
#include "wxPlotCtrl.h"

// The oscilloscope's plot: ten live readings scaled into one 0..6 band, one
// point per live frame, scrolled so that the newest point stays near the
// right edge unless the user has moved the view away from it.
//
// Channels are numbered by reading (0 gas pressure .. 9 engine speed); the
// control holds their curves in another order, so everything here goes by
// channel, never by the control's curve index.
class PlotOscyl : public wxPlotCtrl, public ControllerObserver
{
public:
    static constexpr int kChannels = 10;
    // The initial view: this many frames wide, the band this high.
    static constexpr double kViewWidth = 200.0;
    static constexpr double kBandHeight = 6.0;
    // Once scrolling, the newest point stays this share of the view's width
    // from its right edge: 1/20, 10 frames of the first view.
    static constexpr double kRightMarginShare = 20.0;

    // Registers with theController when it exists already; otherwise
    // OnAttach does.
    PlotOscyl(wxWindow* parent, wxWindowID id, long style);
    // Leaves the controller's observer list.
    ~PlotOscyl() override;

    // --- ControllerObserver ---
    // One sample per channel unless paused, then the scroll rule.
    void OnControllerData() override;
    void OnParametersLoaded() override {}
    // Registers with theController; a second call changes nothing.
    void OnAttach() override;

    // Lines on (visible) or nothing drawn (hidden); the points stay.
    void SetChannelVisible(int channel, bool visible);
    // The channel's curve of points points (i, value), added to the control.
    void CreateChannel(int channel, int points, double value);
    // Appends (point count, value) to the channel's curve.
    void AddSample(int channel, double value);
    // Each channel's normal pen in its colour, width 2; no curve active.
    void SetupPens();
    // The control's ticks with twice the tick-count hint: a denser grid.
    void CalcTicks(bool xAxis) override;
    // The control's view change; a fit to the curves takes in every sample.
    bool SetZoom(double zoomX, double zoomY, double originX, double originY,
                 bool sendEvent = false) override;

    // The channel's curve (held by the control); null outside 0..9.
    wxPlotData* GetChannel(int channel) const;

    // Frames add no samples while set; the view still follows the rule.
    bool m_paused = false;

private:
    void OnMouseCaptureLost(wxMouseCaptureLostEvent&) {}
    void OnCurveRemoving(wxPlotCtrlEvent& event);

    // The channel curves, owned by the control.
    wxPlotData* m_channels[kChannels] = {};

    wxDECLARE_EVENT_TABLE();
};

#endif
