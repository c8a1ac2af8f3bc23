#pragma once
// The plot of the map page: the multiplier map of theMapModel with its point
// markers, the petrol and gas injection times collected from the
// controller's live samples with a smoothed line through each, and two live
// lines (the present petrol time, the manifold pressure). Clicks and keys
// edit the map; every parameter frame reloads it. It sends nothing itself:
// the map page uploads the map while m_modified is set.

#include "ControllerObserver.h"
#include "MapObserver.h"
#include "wxPlotCtrl.h"

class MapModel;

class PlotMap : public wxPlotCtrl, public ControllerObserver, public MapObserver
{
public:
    // Entries of a collected curve: one per 0.1 ms of injection time.
    static constexpr int kCurvePoints = 256;
    // The view the plot returns to on every resize.
    static const wxRect2DDouble kHomeView;

    // Creates theMapModel on first use; registers with nothing until OnAttach.
    PlotMap(wxWindow* parent, wxWindowID id, long style);
    // Leaves the controller's and the model's observer lists.
    ~PlotMap() override;

    // Every y of the collected curve := 0 (x kept); the area is redrawn.
    void ClearPetrolCurve();
    void ClearGasCurve();
    // Shows both axis labels with their texts.
    void SetupAxisLabels();
    // Replaces the map points by a map seeded from a calibration at
    // point.m_x ms with the controller's two multipliers; nothing without a
    // controller.
    void BuildCalibratedMap(const wxPoint2DDouble& point);

    // kPa at the top of the pressure axis (plot y 2.56): 100, or 250 on a
    // boosted engine.
    static double PressureFullScale(bool turbo);
    // The manifold pressure as a plot y on the pressure axis' scale.
    static double PressureToPlotY(double bar, bool turbo);
    // At least 16 of the curve's points hold a sample (y not 0); false for a
    // curve of fewer than 10 points.
    static bool HasEnoughPoints(const wxPlotData& curve);
    // The smoothed line through the samples of curve: the mean of each block
    // of a fifth of them at the middle between the block's first sample and
    // the next block's, then the last sample. Replaces line's data.
    static void BuildLineCurve(const wxPlotData& curve, wxPlotData& line);

    // --- ControllerObserver ---
    // Collects the five new samples of each ring, renews the lines, moves
    // the live lines.
    void OnControllerData() override;
    // Reloads the map and its points from the controller's cache.
    void OnParametersLoaded() override;
    // Registers with the controller and the model and shows the model's curve.
    void OnAttach() override;

    // --- MapObserver ---
    void OnPointAdded() override {}
    void OnMapEvent(int) override {}
    void OnPointsMoved(bool) override {}
    // Removes every marker from the plot.
    void OnMarkersCleared() override;
    // Shows the model's point markers afresh, and the two live lines.
    void OnMarkersChanged() override;
    void SetModified(bool modified) override { m_modified = modified; }

    // --- wxPlotCtrl ---
    // Clicks select and add map points; only while the controller is online.
    void ProcessAreaMouseEvent(wxMouseEvent& event) override;
    // The map keys; only while the controller is online.
    void ProcessAreaCharEvent(wxKeyEvent& event) override;
    // Passed on to the control's own handling.
    void ProcessAreaKeyDown(wxKeyEvent& event) override;
    // The control's ticks with twice as many on the y axis.
    void CalcTicks(bool xAxis) override;

    // The smoothed lines: in the plot (owned by it) while their age is 1 to
    // 10, null while their age is -1.
    wxPlotData* m_petrolLine = nullptr;
    wxPlotData* m_gasLine = nullptr;
    // Live frames since the line was last built; -1 while not in the plot.
    int m_petrolLineAge = -1;
    int m_gasLineAge = -1;
    // The collected curves, owned by the plot: point i holds the sample whose
    // injection time truncates to i (0.1 ms units); y 0 marks an empty point.
    wxPlotData* m_petrolCurve = nullptr;
    wxPlotData* m_gasCurve = nullptr;
    // The map must be sent to the controller (the map page clears it).
    bool m_modified = false;
    // Petrol samples are collected (the page's lock check box clears it).
    bool m_unlocked = true;
    MapModel* m_model = nullptr;
    // Positions of the two live lines in the plot's marker array, -1 when absent.
    int m_petrolMarker = -1;
    int m_pressureMarker = -1;

private:
    void OnSize(wxSizeEvent& event);
    void OnAreaClick(wxPlotCtrlEvent& event);
    void OnAreaDoubleClick(wxPlotCtrlEvent& event);
    void OnPointClick(wxPlotCtrlEvent& event);
    void OnMouseMoved(wxPlotCtrlEvent&) {}
    // The plot would delete a curve this plot still points to.
    void OnCurveRemoving(wxPlotCtrlEvent& event);

    // Keys and clicks act only while the map may be edited (the gate).
    static bool EditingAllowed();
    void ClearCurve(wxPlotData& curve);
    // A new collected curve, added to the plot.
    wxPlotData* AddCollectedCurve(bool petrol);
    // Petrol red, gas blue.
    static wxColour LineColour(bool petrol);
    // Writes the five samples from ring position k0 into curve; true when
    // a point changed.
    bool Collect(wxPlotData& curve, const double* ring, unsigned k0, bool gas);
    // Builds, renews or removes one smoothed line after a live frame; true
    // when it did.
    bool UpdateLine(const wxPlotData& curve, wxPlotData*& line, int& age, bool petrol);
    // Moves the live line at position in the marker array, if it is there;
    // true when it moved.
    bool MoveMarker(int position, double x, double y);
    void ZoomIn();
    void ZoomOut();
    // The view scaled by factor and centred on the last mouse position.
    wxRect2DDouble ScaledView(double factor) const;
    // Sends a click event of type at p; with a curve point when curve >= 0.
    void SendClick(wxEventType type, const wxPoint2DDouble& p, int curve = -1, int dataIndex = -1);

    // The plot's own object sharing the model's curve.
    wxPlotData* m_mapCurve = nullptr;

    wxDECLARE_EVENT_TABLE();
};
