// The map plot.
//
// Contents
//   construction and attach
//   live curves (collection, smoothed lines, live lines)
//   the map from the controller and the model's markers
//   mouse, keys and zoom
//   ticks, resize, curve ownership

#include "PlotMap.h"

#include "Controller.h"
#include "ControllerReady.h"
#include "MapModel.h"

#include <wx/intl.h>

#include <algorithm>
#include <cmath>

const wxRect2DDouble PlotMap::kHomeView(0.5, 0.0, 25.5, 2.56);

namespace
{
// Samples the controller adds to each ring per live frame.
constexpr unsigned kSamplesPerFrame = 5;
constexpr unsigned kRingSize = 256;
// The ring's last position holds no sample the plot can place.
constexpr unsigned kUnusedRingPosition = 255;
// Injection times come in 0.1 ms units; the plot's x is ms.
constexpr double kMsPerUnit = 0.1;
// A sample's y follows its ring position.
constexpr double kRowStep = 0.02390625;
constexpr double kRowBase = 0.2;

// A line is built once 16 points of its curve hold samples, from blocks of a
// fifth of them, and renewed every tenth live frame.
constexpr int kLeastCurvePoints = 10;
constexpr int kLeastSamples = 16;
constexpr int kLineBlocks = 5;
constexpr int kLineRenewFrames = 10;
constexpr int kLineWidth = 2;

// The pressure axis reads 0..100 kPa (250 on a boosted engine) over the
// plot's 0..2.56; a bar is 2.55 plot units on the 100 kPa scale.
constexpr double kPlotPerBar = 2.55;
constexpr double kAspiratedFullScale = 100.0;
constexpr double kTurboFullScale = 250.0;

const wxRect2DDouble kDefaultBounds(0.0, 0.0, 21.7, 2.55);

// Map keys: one entry per step, the value in multiplier units.
constexpr double kValueStep = 0.01;
constexpr double kShiftStep = 0.01;

// Zoom keys scale the view about the mouse, within the map's range.
constexpr double kZoomInFactor = 0.67;
constexpr double kZoomOutFactor = 1.5;
constexpr double kNarrowestZoomWidth = 2.5;
constexpr double kZoomInRight = 25.6;
constexpr double kZoomOutRight = 25.5;
constexpr double kLowestViewHeight = 0.2;
constexpr double kHighestViewHeight = 3.0;
constexpr double kHighestViewBottom = 1.5;

// A click within this many pixels of a marker selects its point; a data
// point within this many pixels is clicked.
constexpr int kMarkerBoxPixels = 16;
constexpr int kPointPixels = 2;

// The y-axis ticks come twice as dense as the control's own.
constexpr int kYTickHintFactor = 2;

const wxGenericPen kZeroLinePen(wxGenericColour(255, 0, 0), 1, wxPENSTYLE_SOLID, wxCAP_ROUND,
                                wxJOIN_ROUND);
const wxGenericPen kLiveLinePen(wxGenericColour(120, 120, 100), 1, wxPENSTYLE_SOLID, wxCAP_ROUND,
                                wxJOIN_ROUND);

wxGenericPen CurvePen(const wxColour& colour)
{
    return wxGenericPen(wxGenericColour(colour), kLineWidth, wxPENSTYLE_SOLID);
}

// Pens of a collected curve or line, also as the active pen: a clicked curve
// becomes active and must keep its colour, or petrol would show in the gas
// colour.
void Dress(wxPlotData& curve, const wxColour& colour)
{
    curve.SetPen(wxPLOTPEN_NORMAL, CurvePen(colour));
    curve.SetPen(wxPLOTPEN_ACTIVE, CurvePen(colour));
}
} // namespace

wxBEGIN_EVENT_TABLE(PlotMap, wxPlotCtrl)
    EVT_SIZE(PlotMap::OnSize)
    EVT_PLOTCTRL_MOUSE_MOVED(wxID_ANY, PlotMap::OnMouseMoved)
    EVT_PLOTCTRL_AREA_CLICK(wxID_ANY, PlotMap::OnAreaClick)
    EVT_PLOTCTRL_AREA_DOUBLE_CLICK(wxID_ANY, PlotMap::OnAreaDoubleClick)
    EVT_PLOTCTRL_POINT_DOUBLE_CLICK(wxID_ANY, PlotMap::OnAreaDoubleClick)
    EVT_PLOTCTRL_POINT_CLICK(wxID_ANY, PlotMap::OnPointClick)
    EVT_PLOTCTRL_CURVE_REMOVING(wxID_ANY, PlotMap::OnCurveRemoving)
wxEND_EVENT_TABLE()

// --- Construction and attach ---------------------------------------------------

PlotMap::PlotMap(wxWindow* parent, wxWindowID id, long style)
    : wxPlotCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style, wxS("wxPlotCtrl"))
{
    if (!theMapModel)
        theMapModel = new MapModel;
    m_model = theMapModel;

    // Goes again with the first marker rebuild at attach.
    wxPlotMarker zeroLine;
    zeroLine.CreateHorizLineMarker(0.0, kZeroLinePen);
    AddMarker(zeroLine);

    // The view is the map's range, 0.5..26 ms: ticks snapped to whole pixels
    // would shift and shrink it a little at every redraw of the axes, until
    // the point on 25.5 ms sat on the border.
    SetSnapTicksToPixels(false);
    SetFitPlotOnNewCurve(false);
    SetCrossHairCursor(false);
    SetShowXAxis(true);
    SetShowYAxis(true);
    SetShowXAxisLabel(true);
    SetShowYAxisLabel(true);
    // The page's column says which colour is which; the plot's own key would
    // show a red line with no name (its curves have none).
    SetShowKey(false);
    HideScrollBars();
    SetupAxisLabels();
    // No rubber band, no selection, no mouse function: clicks only select
    // and add map points.
    SetAreaMouseMarker(wxPLOTCTRL_MARKER_NONE);
    SetSelectionMode(wxPLOTCTRL_SELECT_NONE);
    SetAreaMouseFunction(wxPLOTCTRL_MOUSE_NOTHING, false);

    m_petrolCurve = AddCollectedCurve(true);
    m_gasCurve = AddCollectedCurve(false);

    SetViewRect(kHomeView);
    SetDefaultBoundingRect(kDefaultBounds);
    AdjustScrollBars();
}

PlotMap::~PlotMap()
{
    // The controller and the model outlive any plot (tests make several).
    if (theController)
        theController->RemoveObserver(this);
    if (m_model)
        m_model->RemoveObserver(this);
}

wxPlotData* PlotMap::AddCollectedCurve(bool petrol)
{
    auto* curve = new wxPlotData(kCurvePoints);
    curve->SetDrawLines(false);
    curve->SetDrawPoints(true);
    Dress(*curve, LineColour(petrol));
    curve->CalcBoundingRect();
    AddCurve(curve, true, false);
    return curve;
}

void PlotMap::SetupAxisLabels()
{
    SetShowXAxisLabel(true);
    SetShowYAxisLabel(true);
    SetXAxisLabel(_(L"喷射时间 [ms]"));
    SetYAxisLabel(_(L"增量系数"));
    Redraw(wxPLOTCTRL_REDRAW_EVERYTHING);
}

void PlotMap::OnAttach()
{
    if (theController)
        theController->AddObserver(this);
    m_model->AddObserver(this);
    if (!m_mapCurve)
    {
        // The plot deletes what it holds: it gets an object of its own that
        // shares the model's points, and the green pen also when active.
        auto* curve = new wxPlotData(m_model->GetCurve());
        curve->SetPen(wxPLOTPEN_ACTIVE, curve->GetPen(wxPLOTPEN_NORMAL));
        if (AddCurve(curve, true, false))
            m_mapCurve = curve;
    }
    // 100 % until the first parameter frame brings the map, the last entry
    // too, so that the line does not drop to 0 at 25.5 ms.
    for (int i = 0; i < MapModel::kEntries; ++i)
        m_model->SetMultiplier(i, 100.0);
    OnMarkersChanged();
}

void PlotMap::BuildCalibratedMap(const wxPoint2DDouble& point)
{
    if (theController)
        m_model->BuildCalibratedMap(point, theController->m_multiplier,
                                    theController->m_calibrationMultiplier);
}

// --- Live curves ---------------------------------------------------------------

double PlotMap::PressureFullScale(bool turbo)
{
    return turbo ? kTurboFullScale : kAspiratedFullScale;
}

double PlotMap::PressureToPlotY(double bar, bool turbo)
{
    return bar * kPlotPerBar * kAspiratedFullScale / PressureFullScale(turbo);
}

void PlotMap::ClearPetrolCurve()
{
    ClearCurve(*m_petrolCurve);
}

void PlotMap::ClearGasCurve()
{
    ClearCurve(*m_gasCurve);
}

void PlotMap::ClearCurve(wxPlotData& curve)
{
    for (int i = 0; i < kCurvePoints; ++i)
        curve.SetPoint(i, curve.GetXValue(i), 0.0);
    curve.CalcBoundingRect();
    // Gone from the screen at once, also while no live frame comes.
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

bool PlotMap::Collect(wxPlotData& curve, const double* ring, unsigned k0, bool gas)
{
    bool changed = false;
    auto put = [&](int index, double x, double y) {
        if (curve.GetXValue(index) == x && curve.GetYValue(index) == y)
            return;
        curve.SetPoint(index, x, y);
        changed = true;
    };
    for (unsigned j = 0; j < kSamplesPerFrame; ++j)
    {
        const unsigned i = (k0 + j) % kRingSize;
        if (i == kUnusedRingPosition)
            continue;
        const double t = ring[i];
        if (t == 0.0)
        {
            if (gas)
                put(0, 0.0, 0.0);
            continue;
        }
        // The ring holds bytes from the line; anything else has no point.
        if (!(t > 0.0 && t < kCurvePoints))
            continue;
        put(static_cast<int>(t), t * kMsPerUnit, i * kRowStep + kRowBase);
    }
    if (changed)
        curve.CalcBoundingRect();
    return changed;
}

bool PlotMap::HasEnoughPoints(const wxPlotData& curve)
{
    const int count = curve.GetCount();
    if (count < kLeastCurvePoints)
        return false;
    const double* y = curve.GetYData();
    return std::count_if(y, y + count, [](double v) { return v != 0.0; }) >= kLeastSamples;
}

void PlotMap::BuildLineCurve(const wxPlotData& curve, wxPlotData& line)
{
    const int count = std::min(curve.GetCount(), kCurvePoints);
    const double* xs = curve.GetXData();
    const double* ys = curve.GetYData();
    int taken[kCurvePoints];
    int n = 0;
    for (int i = 0; i < count; ++i)
        if (ys[i] != 0.0)
            taken[n++] = i;

    // Five blocks at most, and the last sample.
    double lineX[kLineBlocks + 2] = {};
    double lineY[kLineBlocks + 2] = {};
    int points = 0;
    auto append = [&](double x, double y) {
        wxASSERT_MSG(points == 0 || lineX[points - 1] < x, "prev_x<new_x");
        if (points > 0 && !(lineX[points - 1] < x))
            return;
        lineX[points] = x;
        lineY[points] = y;
        ++points;
    };
    const int w = n / kLineBlocks;
    for (int b = 0; w > 0 && b + w < n; b += w)
    {
        double sum = 0.0;
        for (int k = b; k < b + w; ++k)
            sum += ys[taken[k]];
        append((xs[taken[b]] + xs[taken[b + w]]) * 0.5, sum / w);
    }
    if (n > 0)
        append(xs[taken[n - 1]], ys[taken[n - 1]]);

    line.Create(std::max(points, 1));
    for (int k = 0; k < points; ++k)
        line.SetPoint(k, lineX[k], lineY[k]);
    line.SetDrawLines(true);
    line.SetDrawPoints(false);
    line.CalcBoundingRect();
}

wxColour PlotMap::LineColour(bool petrol)
{
    return petrol ? *wxRED : *wxBLUE;
}

bool PlotMap::UpdateLine(const wxPlotData& curve, wxPlotData*& line, int& age, bool petrol)
{
    if (HasEnoughPoints(curve))
    {
        if (age < 0 || !line)
        {
            // A fresh object each time: the plot deleted the last one.
            auto* fresh = new wxPlotData;
            BuildLineCurve(curve, *fresh);
            Dress(*fresh, LineColour(petrol));
            if (!AddCurve(fresh, true, false))
                return false;
            line = fresh;
            age = 1;
            return true;
        }
        else if (++age > kLineRenewFrames)
        {
            age = 1;
            BuildLineCurve(curve, *line);
            // New data comes with the library's pens.
            Dress(*line, LineColour(petrol));
            line->CalcBoundingRect();
            return true;
        }
    }
    else if (age > 0)
    {
        wxPlotData* gone = line;
        line = nullptr;
        age = -1;
        DeleteCurve(gone, false);
        return true;
    }
    return false;
}

bool PlotMap::MoveMarker(int position, double x, double y)
{
    if (position < 0 || position >= GetMarkerCount())
        return false;
    // A copy shares the plot's marker, so moving it moves the plot's.
    wxPlotMarker marker = GetMarkers()[position];
    const wxPoint2DDouble at = marker.GetPlotPosition();
    if (at.m_x == x && at.m_y == y)
        return false;
    marker.SetPlotPosition(x, y);
    return true;
}

void PlotMap::OnControllerData()
{
    if (!MayUseEcu(EcuPurpose::CollectCurves))
        return;
    const Controller& c = *theController;
    const unsigned k0 = c.m_sampleIndex & 0xFF;
    // Only what changed is drawn again, and only the area: a live frame
    // leaves the view and with it the axes as they were. The map tab is
    // open for hours at ten frames a second.
    bool changed = m_unlocked && Collect(*m_petrolCurve, c.GetPetrolSamples(), k0, false);
    changed |= Collect(*m_gasCurve, c.GetGasSamples(), k0, true);
    changed |= UpdateLine(*m_gasCurve, m_gasLine, m_gasLineAge, false);
    changed |= UpdateLine(*m_petrolCurve, m_petrolLine, m_petrolLineAge, true);
    changed |= MoveMarker(m_petrolMarker, c.m_petrolInjectionTimes[0], 0.0);
    changed |= MoveMarker(m_pressureMarker, 0.0, PressureToPlotY(c.m_manifoldPressure, c.IsTurbo()));
    if (changed)
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

// --- The map from the controller and the model's markers -----------------------

void PlotMap::OnParametersLoaded()
{
    if (!theController)
        return;
    m_model->LoadMap(theController->m_multiplierMap, theController->m_mapPointIndices);
    if (m_mapCurve)
        m_mapCurve->CalcBoundingRect();
    Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
    OnMarkersChanged();
}

void PlotMap::OnMarkersCleared()
{
    ClearMarkers();
    m_petrolMarker = -1;
    m_pressureMarker = -1;
}

void PlotMap::OnMarkersChanged()
{
    OnMarkersCleared();
    for (const MapPoint& point : m_model->GetPoints())
        if (point.m_marker.Ok())
            AddMarker(point.m_marker);

    // Both live lines where the next live frame puts them: the present
    // petrol time, and the pressure on the scale of the pressure axis.
    const Controller* c = theController;
    wxPlotMarker petrolLine;
    petrolLine.CreateVertLineMarker(c ? c->m_petrolInjectionTimes[0] : 0.0, kLiveLinePen);
    m_petrolMarker = AddMarker(petrolLine);
    wxPlotMarker pressureLine;
    pressureLine.CreateHorizLineMarker(c ? PressureToPlotY(c->m_manifoldPressure, c->IsTurbo()) : 0.0,
                                       kLiveLinePen);
    m_pressureMarker = AddMarker(pressureLine);
    Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
}

// --- Mouse, keys and zoom ------------------------------------------------------

bool PlotMap::EditingAllowed()
{
    return MayUseEcu(EcuPurpose::EditSettings);
}

void PlotMap::SendClick(wxEventType type, const wxPoint2DDouble& p, int curve, int dataIndex)
{
    wxPlotCtrlEvent event(type, GetId(), this);
    event.SetPosition(p.m_x, p.m_y);
    event.SetCurve(GetCurve(curve), curve);
    event.SetCurveDataIndex(dataIndex);
    DoSendEvent(event);
}

void PlotMap::ProcessAreaMouseEvent(wxMouseEvent& event)
{
    if (!EditingAllowed())
    {
        // A drag begun before the link went down still lets the pointer go.
        if (event.LeftUp() || (event.Dragging() && !event.LeftIsDown()))
            EndMouseDrag(true);
        return;
    }
    const wxPoint previous = m_area->m_lastMousePos;
    m_area->m_lastMousePos = event.GetPosition();
    if ((event.ButtonDown() || event.ButtonDClick()) && IsLabelEditorShown())
    {
        EndLabelEdit(true, true);
        return;
    }
    const wxPoint2DDouble p = GetAreaMousePlotPoint();
    if (m_area->m_lastMousePos != previous)
        SendClick(wxEVT_PLOTCTRL_MOUSE_MOVED, p);

    if (event.LeftDown() || event.LeftDClick())
    {
        const bool twice = event.LeftDClick();
        if (FindFocus() != m_area)
            m_area->SetFocus();
        if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRAB)
            SetAreaCursor(wxPLOTCTRL_CURSOR_GRABBING);
        SendClick(twice ? wxEVT_PLOTCTRL_AREA_DOUBLE_CLICK : wxEVT_PLOTCTRL_AREA_CLICK, p);

        int curve = -1, dataIndex = -1;
        wxPoint2DDouble found;
        const wxPoint2DDouble reach(kPointPixels / m_zoom.m_x, kPointPixels / m_zoom.m_y);
        if (!FindClosestPoint(p, reach, curve, dataIndex, found) || dataIndex < 0)
            return;
        SendClick(twice ? wxEVT_PLOTCTRL_POINT_DOUBLE_CLICK : wxEVT_PLOTCTRL_POINT_CLICK, found,
                  curve, dataIndex);
        if (!CurveIndexOk(curve))
            return;
        if (curve != m_activeIndex)
            SetActiveCurve(curve, true);
        SetCursorDataIndex(curve, dataIndex, true);
    }
    else if (event.LeftUp())
        EndMouseDrag(true);
    else if (event.Dragging() && event.LeftIsDown())
    {
        SetCaptureWindow(m_area);
        if (m_areaCursorId == wxPLOTCTRL_CURSOR_GRAB)
            SetAreaCursor(wxPLOTCTRL_CURSOR_GRABBING);
    }
}

void PlotMap::OnAreaClick(wxPlotCtrlEvent& event)
{
    // A click within 8 pixels of a marker selects its point.
    const double width = kMarkerBoxPixels / m_zoom.m_x;
    const double height = kMarkerBoxPixels / m_zoom.m_y;
    m_model->SelectPointAt(wxPoint2DDouble(event.GetX(), event.GetY()),
                           wxRect2DDouble(width / 2, height / 2, width, height));
}

void PlotMap::OnPointClick(wxPlotCtrlEvent& event)
{
    m_model->SelectPointUnder(wxPoint2DDouble(event.GetX(), event.GetY()));
}

void PlotMap::OnAreaDoubleClick(wxPlotCtrlEvent& event)
{
    // The model refuses places off the map (a zoomed view reaches below 0 ms).
    m_model->AddMapPoint(event.GetX() * 10.0, event.GetY());
}

void PlotMap::ProcessAreaCharEvent(wxKeyEvent& event)
{
    if (!EditingAllowed())
        return;
    switch (event.GetKeyCode())
    {
        case WXK_LEFT: m_model->MoveSelectedPoint(-1, 0.0); break;
        case WXK_RIGHT: m_model->MoveSelectedPoint(+1, 0.0); break;
        case WXK_UP: m_model->MoveSelectedPoint(0, +kValueStep); break;
        case WXK_DOWN: m_model->MoveSelectedPoint(0, -kValueStep); break;
        case WXK_PAGEUP: m_model->ShiftCurve(+kShiftStep); break;
        case WXK_PAGEDOWN: m_model->ShiftCurve(-kShiftStep); break;
        case WXK_DELETE: m_model->RemoveSelectedPoint(); break;
        case '+':
        case '=':
        case WXK_NUMPAD_ADD: ZoomIn(); break;
        case '-':
        case '_':
        case WXK_NUMPAD_SUBTRACT: ZoomOut(); break;
        default: event.Skip(); break;
    }
}

void PlotMap::ProcessAreaKeyDown(wxKeyEvent& event)
{
    wxPlotCtrl::ProcessAreaKeyDown(event);
}

wxRect2DDouble PlotMap::ScaledView(double factor) const
{
    const wxPoint2DDouble centre = GetAreaMousePlotPoint();
    const double width = m_viewRect.m_width * factor;
    const double height = m_viewRect.m_height * factor;
    return wxRect2DDouble(centre.m_x - width / 2, centre.m_y - height / 2, width, height);
}

void PlotMap::ZoomIn()
{
    if (m_viewRect.m_width < kNarrowestZoomWidth)
        return;
    wxRect2DDouble view = ScaledView(kZoomInFactor);
    if (view.m_x + view.m_width > kZoomInRight)
        view.m_x = kZoomInRight - view.m_width;
    if (view.m_y + view.m_height < 0.0)
        view.m_height = -view.m_y;
    view.m_height = std::max(view.m_height, kLowestViewHeight);
    view.m_y = std::max(view.m_y, 0.0);
    SetViewRect(view, true);
}

void PlotMap::ZoomOut()
{
    wxRect2DDouble view = ScaledView(kZoomOutFactor);
    if (view.m_x < 0.0)
    {
        view.m_x = 0.0;
        view.m_width = kZoomOutRight;
    }
    if (view.m_x + view.m_width > kZoomOutRight)
        view.m_width = kZoomOutRight - view.m_x;
    view.m_height = std::clamp(view.m_height, kLowestViewHeight, kHighestViewHeight);
    view.m_y = std::clamp(view.m_y, 0.0, kHighestViewBottom);
    SetViewRect(view, true);
}

// --- Ticks, resize, curve ownership ----------------------------------------------

void PlotMap::CalcTicks(bool xAxis)
{
    CalcTicksWithHintFactor(xAxis, xAxis ? 1 : kYTickHintFactor);
}

void PlotMap::OnSize(wxSizeEvent& event)
{
    // The control lays itself out after this handler and keeps the view.
    event.Skip();
    SetViewRect(kHomeView);
    Redraw(wxPLOTCTRL_REDRAW_EVERYTHING);
}

void PlotMap::OnCurveRemoving(wxPlotCtrlEvent& event)
{
    // Deleting every curve (index -1) takes these too.
    const wxPlotCurve* curve = event.GetCurve();
    if (event.GetCurveIndex() < 0 || curve == m_petrolCurve || curve == m_gasCurve ||
        curve == m_mapCurve || curve == m_petrolLine || curve == m_gasLine)
        event.Veto();
    event.Skip();
}
