#pragma once
// The interactive plot window: curves and markers in a zoomable, scrollable
// view with a title, axis labels, ticked axes, grid, key and data cursor.
//
// Contents
//   constants ............ window ids, redraw flags, mouse functions
//   wxPlotCtrlArea ....... the plot-area child window
//   wxPlotCtrlAxis ....... an axis child window
//   wxPlotCtrl
//     construction, curves and markers ..... wxPlotCtrl.cpp
//     view, bounds, scroll bars, history .... wxPlotCtrlView.cpp
//     ticks, redraw, layout ................. wxPlotCtrlAxes.cpp
//     painting .............................. wxPlotCtrlPaint.cpp
//     title, labels and their editing ....... wxPlotCtrlLabels.cpp
//     mouse and capture ..................... wxPlotCtrlMouse.cpp
//     keys .................................. wxPlotCtrlKeys.cpp
//     cursor, selection, partial redraws .... wxPlotCtrlSelect.cpp
//
// The view changes through one path: SetZoom checks every value for
// finiteness, stores it, asks for the redraw and sends the events. Changes
// go out as a changing/changed pair; a veto of the first leaves everything
// as it was.

#include "wxPlotCtrlEvent.h"
#include "wxPlotCurve.h"
#include "wxPlotData.h"
#include "wxPlotMarker.h"
#include "IntRangeSelection.h"
#include "DoubleRangeSelection.h"
#include "wxPlotPixelCanvas.h"

#include <wx/window.h>
#include <wx/bitmap.h>
#include <wx/geometry.h>
#include <wx/timer.h>

#include <vector>

class wxScrollBar;
class wxPlotFunction;
class wxTextCtrl;
class wxPlotDrawerArea;
class wxPlotDrawerXAxis;
class wxPlotDrawerYAxis;
class wxPlotDrawerKey;
class wxPlotDrawerCurve;
class wxPlotDrawerDataCurve;
class wxPlotDrawerMarker;

// --- Constants ---------------------------------------------------------------

// Child window ids; the scroll handler and the auto-scroll timer tell the
// windows apart by them.
enum
{
    wxPLOTCTRL_ID_XAXIS = 100,
    wxPLOTCTRL_ID_YAXIS = 101,
    wxPLOTCTRL_ID_AREA = 102,
    wxPLOTCTRL_ID_XSCROLLBAR = 103,
    wxPLOTCTRL_ID_YSCROLLBAR = 104
};

// Axis window kinds.
enum
{
    wxPLOTCTRL_X_AXIS = 32,
    wxPLOTCTRL_Y_AXIS = 512
};

// Redraw flags; wxPLOTCTRL_LAYOUT_INVALID is the dirty bit of a control
// without a valid layout, which paints nothing.
enum
{
    wxPLOTCTRL_REDRAW_PLOT = 1,
    wxPLOTCTRL_REDRAW_XAXIS = 2,
    wxPLOTCTRL_REDRAW_YAXIS = 4,
    wxPLOTCTRL_REDRAW_WINDOW = 8,
    wxPLOTCTRL_REDRAW_EVERYTHING = 15,
    wxPLOTCTRL_LAYOUT_INVALID = 16
};

// Auto-scroll timer ids: which window's last mouse position steers it.
enum
{
    wxPLOTCTRL_TIMER_AREA = 10,
    wxPLOTCTRL_TIMER_XAXIS = 11,
    wxPLOTCTRL_TIMER_YAXIS = 12
};

// What a left drag in the area does.
enum
{
    wxPLOTCTRL_MOUSE_NOTHING = 0,
    wxPLOTCTRL_MOUSE_ZOOM = 1,
    wxPLOTCTRL_MOUSE_SELECT = 2,
    wxPLOTCTRL_MOUSE_DESELECT = 3,
    wxPLOTCTRL_MOUSE_PAN = 4
};

// Shape of the rubber band.
enum
{
    wxPLOTCTRL_MARKER_NONE = 0,
    wxPLOTCTRL_MARKER_RECT = 1,
    wxPLOTCTRL_MARKER_VERT = 2,
    wxPLOTCTRL_MARKER_HORIZ = 3
};

// How a new selection treats the existing ones.
enum
{
    wxPLOTCTRL_SELECT_NONE = 0,
    wxPLOTCTRL_SELECT_SINGLE = 1,
    wxPLOTCTRL_SELECT_SINGLE_CURVE = 2,
    wxPLOTCTRL_SELECT_SINGLE_PER_CURVE = 3,
    wxPLOTCTRL_SELECT_MULTIPLE = 4
};

// The control's own drag cursors beside the toolkit's stock cursor ids.
enum
{
    wxPLOTCTRL_CURSOR_GRAB = 6,
    wxPLOTCTRL_CURSOR_GRABBING = 128
};

// Which text the label editor edits.
enum
{
    wxPLOTCTRL_EDIT_TITLE = 1,
    wxPLOTCTRL_EDIT_XAXIS = 2,
    wxPLOTCTRL_EDIT_YAXIS = 3
};

class wxPlotCtrl;

// --- Child windows -----------------------------------------------------------

// A back buffer holds size window pixels at window's content scale, so that
// at GDK_SCALE=2 it is as sharp as the toolkit's own drawing. Fits: it is
// such a buffer; Fit makes it one, true when it had to be made anew.
bool wxPlotBackBufferFits(const wxBitmap& bitmap, const wxSize& size, const wxWindow* window);
bool wxPlotFitBackBuffer(wxBitmap& bitmap, const wxSize& size, const wxWindow* window);

// The plot area. Paint and input go to the owning control.
class wxPlotCtrlArea : public wxWindow
{
public:
    wxPlotCtrlArea(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize, long style = 0,
                   const wxString& name = wxS("wxPlotCtrlArea"));

    wxPlotCtrl* GetOwner() const { return m_owner; }

    // Rubber band in area pixels (start corner, signed size); all zero: none.
    wxRect m_mouseRect;
    // Last mouse position in area pixels.
    wxPoint m_lastMousePos;
    // The pointer is over the area (the cross hair shows).
    bool m_mouseInside = false;
    // Back buffer, rebuilt when the area is dirty or resized.
    wxBitmap m_bitmap;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);

    wxPlotCtrl* m_owner;

    wxDECLARE_ABSTRACT_CLASS(wxPlotCtrlArea);
    wxDECLARE_EVENT_TABLE();
};

// An axis window (wxPLOTCTRL_X_AXIS or wxPLOTCTRL_Y_AXIS).
class wxPlotCtrlAxis : public wxWindow
{
public:
    wxPlotCtrlAxis(int kind, wxWindow* parent, wxWindowID id,
                   const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                   long style = 0, const wxString& name = wxS("wxPlotCtrlAxis"));

    wxPlotCtrl* GetOwner() const { return m_owner; }
    bool IsXAxis() const { return m_kind != wxPLOTCTRL_Y_AXIS; }
    int GetKind() const { return m_kind; }

    // Last mouse position in axis pixels.
    wxPoint m_lastMousePos;
    // Back buffer, rebuilt when the axis is dirty or resized.
    wxBitmap m_bitmap;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);

    int m_kind;
    wxPlotCtrl* m_owner;

    wxDECLARE_ABSTRACT_CLASS(wxPlotCtrlAxis);
    wxDECLARE_EVENT_TABLE();
};

// --- The control -------------------------------------------------------------

class wxPlotCtrl : public wxWindow
{
public:
    wxPlotCtrl() { Init(); }
    wxPlotCtrl(wxWindow* parent, wxWindowID id = wxID_ANY,
               const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
               long style = 0, const wxString& name = wxS("wxPlotCtrl"))
    {
        Init();
        Create(parent, id, pos, size, style, name);
    }
    virtual ~wxPlotCtrl();

    // Builds the window, its five children and seven drawers. Sizes of 20 or
    // less become 20; the style is the control's own (wants chars, clips
    // children). False when the toolkit window cannot be made.
    bool Create(wxWindow* parent, wxWindowID id = wxID_ANY,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = 0, const wxString& name = wxS("wxPlotCtrl"));

    // --- Curves --------------------------------------------------------------

    // Takes ownership. A null or invalid curve is deleted and refused; a
    // curve already held is refused and left alone.
    bool AddCurve(wxPlotCurve* curve, bool select = true, bool sendEvent = false);
    // Deletes the curve (index -1: every curve). The removing event can veto.
    bool DeleteCurve(wxPlotCurve* curve, bool sendEvent = false);
    bool DeleteCurveAt(int index, bool sendEvent = false);

    int GetCurveCount() const { return int(m_curves.size()); }
    bool CurveIndexOk(int index) const { return index >= 0 && index < GetCurveCount(); }
    // Null when out of range.
    wxPlotCurve* GetCurve(int index) const { return CurveIndexOk(index) ? m_curves[index] : NULL; }
    // The curve as data curve, null when it is not one.
    wxPlotData* GetDataCurve(int index) const;
    bool IsDataCurve(int index) const { return GetDataCurve(index) != NULL; }
    // The curve as function curve, null when it is not one.
    wxPlotFunction* GetFunctionCurve(int index) const;
    // Index of a held curve, -1 when absent.
    int GetCurveIndex(const wxPlotCurve* curve) const;

    // The curve drawn on top and carried in events; -1 / null for none.
    void SetActiveCurve(int index, bool sendEvent = false);
    void SetActiveCurve(wxPlotCurve* curve, bool sendEvent = false);
    wxPlotCurve* GetActiveCurve() const { return m_activeCurve; }
    int GetActiveIndex() const { return m_activeIndex; }

    // Selected point ranges of a data curve / x ranges of another curve;
    // null when the index is out of range.
    const IntRangeSelection* GetDataCurveSelection(int index) const
        { return CurveIndexOk(index) ? &m_curveDataSelections[index] : NULL; }
    const DoubleRangeSelection* GetCurveSelection(int index) const
        { return CurveIndexOk(index) ? &m_curveValueSelections[index] : NULL; }

    // The legend: one line per curve.
    virtual void UpdateKeyText();
    const wxString& GetKeyText() const { return m_keyText; }

    // --- Markers -------------------------------------------------------------

    // Appends a copy sharing the marker's data; returns its index.
    int AddMarker(const wxPlotMarker& marker);
    void RemoveMarker(int index);
    void ClearMarkers();
    int GetMarkerCount() const { return int(m_markers.GetCount()); }
    const wxArrayPlotMarker& GetMarkers() const { return m_markers; }

    // --- Data cursor ---------------------------------------------------------

    bool IsCursorValid() const { return m_cursorCurveIndex >= 0; }
    int GetCursorCurveIndex() const { return m_cursorCurveIndex; }
    int GetCursorDataIndex() const { return m_cursorDataIndex; }
    // The cursor's position; (0, 0) without a valid cursor.
    wxPoint2DDouble GetCursorPoint() const;
    wxPlotMarker& GetCursorMarker() { return m_cursorMarker; }
    // Forgets the cursor; a cursor-changed event when one existed.
    void InvalidateCursor(bool sendEvent = false);

    // --- View ----------------------------------------------------------------

    // The one path that changes the view. A zoom <= 0 fits that direction to
    // the curves. False, with an error event and no change, when a value is
    // not finite, or when the changing event is vetoed.
    virtual bool SetZoom(double zoomX, double zoomY, double originX, double originY,
                         bool sendEvent = false);
    bool SetViewRect(const wxRect2DDouble& view, bool sendEvent = false);
    bool SetOrigin(double originX, double originY, bool sendEvent = false);
    // New zooms, keeping the view centre when aroundCentre, else the origin.
    bool SetZoomPair(const wxPoint2DDouble& zoom, bool aroundCentre = true,
                     bool sendEvent = false);
    const wxRect2DDouble& GetViewRect() const { return m_viewRect; }
    wxPoint2DDouble GetZoom() const { return m_zoom; }
    double GetZoomX() const { return m_zoom.m_x; }
    double GetZoomY() const { return m_zoom.m_y; }

    // Bounds while there is no curve; applied as the view at once.
    void SetDefaultBoundingRect(const wxRect2DDouble& rect, bool sendEvent = false);
    const wxRect2DDouble& GetDefaultBoundingRect() const { return m_defaultBounds; }
    // Union of the curves' bounds plus a 2 % margin.
    const wxRect2DDouble& GetCurvesBoundingRect() const { return m_curvesBounds; }
    void CalcCurvesBounds();
    // index < 0 fits all curves.
    bool FitToCurve(int index = -1, bool sendEvent = false);
    // Holds both zooms equal (the smaller one), keeping the view centre.
    void SetFixAspectRatio(bool fix);
    bool GetFixAspectRatio() const { return m_fixAspectRatio; }

    // Up to five remembered views.
    void PushViewHistory();
    void StepViewHistory(bool forward, bool sendEvent = false);
    void ClearViewHistory();
    int GetViewHistoryCount() const { return int(m_viewHistory.size()); }
    int GetViewHistoryIndex() const { return m_viewHistoryIndex; }
    wxRect2DDouble GetViewHistory(int i) const
        { return i >= 0 && i < GetViewHistoryCount() ? m_viewHistory[i] : wxRect2DDouble(); }

    // Area pixel column / row of a plot coordinate. Saturates at both ends
    // of int (not a number gives INT_MAX), truncates toward zero.
    int PlotXToPixel(double x) const;
    int PlotYToPixel(double y) const;
    // The area's last mouse position in plot units.
    wxPoint2DDouble GetAreaMousePlotPoint() const;
    wxRect2DDouble ClientToPlotRect(const wxRect& rect) const;

    // Client size of the area, at least 10 x 10.
    const wxRect& GetAreaSize() const { return m_areaSize; }
    void UpdateAreaSize();

    // --- Axes and ticks ------------------------------------------------------

    // Tick step, count and label format of one axis from the view.
    virtual void CalcTicks(bool xAxis);
    // The same with the tick-count hint (from area size and font) multiplied
    // by hintFactor: the denser grids of the map and oscilloscope plots.
    void CalcTicksWithHintFactor(bool xAxis, int hintFactor);
    virtual void CalcXAxisTickPositions();
    virtual void CalcYAxisTickPositions();
    double GetXTickStep() const { return m_xTickStep; }
    double GetYTickStep() const { return m_yTickStep; }
    int GetXTickCount() const { return m_tickCount.x; }
    int GetYTickCount() const { return m_tickCount.y; }
    const wxString& GetXTickFormat() const { return m_xTickFormat; }
    const wxString& GetYTickFormat() const { return m_yTickFormat; }
    const std::vector<int>& GetXTickPositions() const { return m_xTickPositions; }
    const std::vector<int>& GetYTickPositions() const { return m_yTickPositions; }
    const wxArrayString& GetXTickLabels() const { return m_xTickLabels; }
    const wxArrayString& GetYTickLabels() const { return m_yTickLabels; }
    // When set, every axis redraw adjusts the zoom so that ticks fall on
    // whole pixels.
    void SetSnapTicksToPixels(bool snap) { m_snapTicksToPixels = snap ? 1 : 0; }

    // --- Appearance ----------------------------------------------------------

    void SetPlotTitle(const wxString& title);
    const wxString& GetPlotTitle() const { return m_title; }
    void SetXAxisLabel(const wxString& label);
    const wxString& GetXAxisLabel() const { return m_xAxisLabel; }
    void SetYAxisLabel(const wxString& label);
    const wxString& GetYAxisLabel() const { return m_yAxisLabel; }
    // Each relays the control out.
    void SetShowPlotTitle(bool show);
    void SetShowXAxisLabel(bool show);
    void SetShowYAxisLabel(bool show);
    void SetShowXAxis(bool show);
    void SetShowYAxis(bool show);
    bool GetShowPlotTitle() const { return m_showTitle; }
    bool GetShowXAxisLabel() const { return m_showXAxisLabel; }
    bool GetShowYAxisLabel() const { return m_showYAxisLabel; }
    bool GetShowXAxis() const { return m_showXAxis; }
    bool GetShowYAxis() const { return m_showYAxis; }
    void SetShowKey(bool show);
    bool GetShowKey() const { return m_showKey; }
    // Full grid lines, or 10-pixel tick marks.
    void SetShowGrid(bool show);
    bool GetShowGrid() const { return m_showGrid; }
    void SetFitPlotOnNewCurve(bool fit) { m_fitOnNewCurve = fit; }
    void SetCrossHairCursor(bool show);
    void SetScrollOnThumbRelease(bool onRelease) { m_scrollOnThumbRelease = onRelease; }
    void HideScrollBars();

    // Goes to the area, both axes and the control; false for an invalid colour.
    bool SetBackgroundColour(const wxColour& colour) wxOVERRIDE;
    wxColour GetAreaBackgroundColour() const;
    void SetGridColour(const wxColour& colour);
    wxColour GetGridColour() const;
    void SetBorderColour(const wxColour& colour);
    const wxColour& GetBorderColour() const { return m_borderColour; }
    void SetTitleFont(const wxFont& font);
    const wxFont& GetTitleFont() const { return m_titleFont; }
    void SetTitleColour(const wxColour& colour);
    const wxColour& GetTitleColour() const { return m_titleColour; }
    // Font and colour of the axis labels (kept by the x-axis drawer).
    void SetAxisLabelFont(const wxFont& font);
    wxFont GetAxisLabelFont() const;
    void SetAxisLabelColour(const wxColour& colour);
    wxColour GetAxisLabelColour() const;
    // Font of the tick labels of both axes.
    void SetAxisFont(const wxFont& font);

    // --- Redraw and layout ---------------------------------------------------

    // wxPLOTCTRL_REDRAW_* flags: area, x axis, y axis, whole control.
    void Redraw(int flags);
    int GetRedrawFlags() const { return m_dirtyFlags; }
    // Lays out the children in rect (all zero: the client size).
    void DoSize(const wxRect& rect = wxRect(), bool setWindows = true);
    void AdjustScrollBars();

    // --- Events --------------------------------------------------------------

    // Sends event to the control's handler; false when a handler vetoed it.
    bool DoSendEvent(wxPlotCtrlEvent& event);
    // True for a finite value; otherwise false, and an error event carrying
    // message when the message is not empty.
    bool IsFiniteOrReport(double value, const wxString& message = wxEmptyString);

    // --- Label editing -------------------------------------------------------

    // Edits the title or an axis label in place (wxPLOTCTRL_EDIT_*).
    void BeginLabelEdit(int which, bool sendEvent = true);
    void EndLabelEdit(bool apply, bool sendEvent = true);
    bool IsLabelEditorShown() const { return m_labelEditor != NULL; }
    wxTextCtrl* GetLabelEditor() const { return m_labelEditor; }

    // --- Auto-scroll timer ---------------------------------------------------

    // A one-shot 200 ms timer that moves the view while a drag is outside.
    void StartAutoScrollTimer(int id);
    void StopAutoScrollTimer();
    bool IsAutoScrollTimerRunning() const;

    // --- Windows and drawers -------------------------------------------------

    wxPlotCtrlArea* GetPlotArea() const { return m_area; }
    wxPlotCtrlAxis* GetPlotXAxis() const { return m_xAxis; }
    wxPlotCtrlAxis* GetPlotYAxis() const { return m_yAxis; }
    wxScrollBar* GetXScrollBar() const { return m_xScrollBar; }
    wxScrollBar* GetYScrollBar() const { return m_yScrollBar; }
    wxPlotDrawerXAxis* GetPlotDrawerXAxis() const { return m_xAxisDrawer; }
    wxPlotDrawerYAxis* GetPlotDrawerYAxis() const { return m_yAxisDrawer; }
    wxPlotDrawerKey* GetPlotDrawerKey() const { return m_keyDrawer; }
    wxPlotDrawerDataCurve* GetPlotDrawerDataCurve() const { return m_dataCurveDrawer; }
    wxPlotDrawerMarker* GetPlotDrawerMarker() const { return m_markerDrawer; }
    const wxRect& GetPlotAreaRect() const { return m_areaRect; }
    const wxRect& GetXAxisRect() const { return m_xAxisRect; }
    const wxRect& GetYAxisRect() const { return m_yAxisRect; }
    const wxRect& GetTitleRect() const { return m_titleRect; }
    const wxRect& GetXLabelRect() const { return m_xLabelRect; }
    const wxRect& GetYLabelRect() const { return m_yLabelRect; }
    // Square between the scroll bars that shows whether the control has focus.
    wxRect GetScrollBarCornerRect() const;
    bool CornerShowsFocus() const { return m_cornerFocusWindow != NULL; }

    // --- Mouse ---------------------------------------------------------------

    // What a left drag in the area does (wxPLOTCTRL_MOUSE_*); the area cursor
    // and band shape follow. A vetoed changing event keeps the old function.
    void SetAreaMouseFunction(int function, bool sendEvent = false);
    int GetAreaMouseFunction() const { return m_areaMouseFunction; }
    // Shape of the rubber band (wxPLOTCTRL_MARKER_*).
    void SetAreaMouseMarker(int type);
    int GetAreaMouseMarker() const { return m_areaMouseMarker; }
    // Area cursor: a stock cursor id, or wxPLOTCTRL_CURSOR_GRAB / _GRABBING.
    void SetAreaCursor(int cursorId);
    int GetAreaCursor() const { return m_areaCursorId; }
    // Every mouse event in the area gives it the keyboard focus.
    void SetFocusAreaOnMouse(bool focus) { m_focusAreaOnMouse = focus; }
    // Zooms so that the area pixel rectangle fills the area; remembered in
    // the view history. False for a side below 1 or a refused view.
    bool ZoomToPixelRect(const wxRect& rect, bool sendEvent = false);

    // The child window holding the mouse capture; the previous one lets go.
    void SetCaptureWindow(wxWindow* window);
    wxWindow* GetCaptureWindow() const { return m_captureWindow; }
    // Ends a drag in progress: no auto-scroll, no rubber band, the open hand
    // back, no capture window. With releaseCapture the window still holding
    // the capture lets go (not when the capture was taken away).
    void EndMouseDrag(bool releaseCapture);

    // The first curve point within d of pt (plot units): the active curve
    // first, then the others by index. dataIndex is -1 for curves that are
    // not data. False, with no result, when none is near or pt or d is not
    // finite.
    bool FindClosestPoint(const wxPoint2DDouble& pt, const wxPoint2DDouble& d, int& curveIndex,
                          int& dataIndex, wxPoint2DDouble& found);

    // --- Data cursor (moving) ------------------------------------------------

    // Puts the cursor on point dataIndex of a data curve; false when invalid,
    // unchanged or vetoed.
    bool SetCursorDataIndex(int curveIndex, int dataIndex, bool sendEvent = false);
    // Data curve: the point nearest to x; other curve: (x, y(x)).
    bool SetCursorAtX(int curveIndex, double x, bool sendEvent = false);
    // Follows the cursor's curve after a change of it; false (and cleared)
    // when the curve or point went away.
    bool UpdateCursor();
    // Moves the view so that the cursor shows (centred, or just inside).
    void MakeCursorVisible(bool centre, bool sendEvent = false);

    // --- Selection -----------------------------------------------------------

    // How a new selection treats the existing ones (wxPLOTCTRL_SELECT_*).
    void SetSelectionMode(int mode) { m_selectionMode = mode; }
    int GetSelectionMode() const { return m_selectionMode; }
    // (De)selects the points of a curve inside rect (curve -1: every curve).
    // A width <= 0 means any x, a height <= 0 any y.
    virtual bool SelectRectangle(int curveIndex, const wxRect2DDouble& rect, bool select,
                                 bool sendEvent = false);
    // (De)selects the points min..max of a data curve.
    virtual bool SelectDataRange(int curveIndex, const IntRange& range, bool select,
                                 bool sendEvent = false);
    // Clears what the selection mode says a new selection on curveIndex
    // clears; true when anything was cleared.
    virtual bool ClearSelectionForMode(int curveIndex, bool sendEvent = false);
    // Clears both selections of a curve (-1: every curve); true when anything
    // had been selected.
    bool ClearSelectedRanges(int curveIndex, bool sendEvent = false);
    // Points (or x ranges) with x, or y, within range; min > max is taken
    // the other way round, and min == max is that single value.
    bool SelectXRange(int curveIndex, const DoubleRange& range, bool sendEvent = false);
    bool DeselectXRange(int curveIndex, const DoubleRange& range, bool sendEvent = false);
    bool SelectYRange(int curveIndex, const DoubleRange& range, bool sendEvent = false);
    bool DeselectYRange(int curveIndex, const DoubleRange& range, bool sendEvent = false);
    // -1: any curve.
    bool HasSelection(int curveIndex = -1) const;
    // Ranges in the curve's index selection (data curves) or x selection.
    int GetSelectionCount(int curveIndex) const;

    // --- Input handlers ------------------------------------------------------

    virtual void ProcessAreaMouseEvent(wxMouseEvent& event);
    virtual void ProcessAxisMouseEvent(wxMouseEvent& event);
    virtual void ProcessAreaCharEvent(wxKeyEvent& event);
    virtual void ProcessAreaKeyDown(wxKeyEvent& event);
    virtual void ProcessAreaKeyUp(wxKeyEvent& event);
    virtual void ProcessAxisCharEvent(wxKeyEvent& event);

    // --- Painting ------------------------------------------------------------

    virtual void DrawAreaWindow(wxPaintEvent& event, wxDC* dc, wxPlotCtrlArea* area);
    virtual void DrawAxisWindow(wxPaintEvent& event, wxDC* dc, wxPlotCtrlAxis* axis);
    virtual void DrawScrollBarCorner(wxDC* dc);
    virtual void DrawTitleAndLabels(wxDC* dc);
    // Renders the area's contents (background, ticks, markers, curves with
    // the active one last, cursor, key, frame) clipped to rect.
    virtual void DrawArea(wxDC* dc, const wxRect& rect);
    virtual void DrawDataCurve(wxDC* dc, wxPlotData* curve, int curveIndex, const wxRect& rect);
    virtual void DrawCurve(wxDC* dc, wxPlotCurve* curve, int curveIndex, const wxRect& rect);
    virtual void DrawKey(wxDC* dc);
    // Dotted rubber band (wxPLOTCTRL_MARKER_*) in area pixels.
    virtual void DrawMouseMarker(wxDC* dc, int type, const wxRect& rect);
    // Full-area cross hair through pos.
    virtual void DrawCrosshairCursor(wxDC* dc, const wxPoint& pos);
    virtual void DrawCursor(wxDC* dc);
    virtual void DrawTickMarks(wxDC* dc, const wxRect& rect);
    virtual void DrawMarkers(wxDC* dc, const wxRect& rect);
    // Re-render the stretch of the area where points firstIndex..lastIndex
    // (or the x range minX..maxX) lie and show it.
    virtual void RedrawDataCurve(int curveIndex, int firstIndex, int lastIndex);
    virtual void RedrawCurve(int curveIndex, double minX, double maxX);
    virtual void DrawXAxis(wxDC* dc, bool refresh);
    virtual void DrawYAxis(wxDC* dc, bool refresh);

protected:
    void Init();
    // Overlays drawn from stored state after the area's back buffer has been
    // copied: the cross hair and the rubber band.
    virtual void DrawAreaOverlays(wxDC* dc);
    // Tick positions and labels of one axis from its step, count and format.
    void CalcTickPositions(bool xAxis);
    // Both zooms become the smaller one, keeping the view centre.
    void ApplyAspectRule(double& zoomX, double& zoomY, double& originX, double& originY) const;
    // The tick-snapping step after CalcTicks; true when it moved the view.
    bool SnapTicksToPixels(bool xAxis);
    // CalcTicks, the snapping and the tick positions of one axis, the step
    // widened while labels would touch; true when snapping moved the view.
    bool UpdateAxisTicks(bool xAxis);
    // No two of the axis' labels, as its drawer places them, come within a
    // few pixels of each other.
    bool TickLabelsApart(bool xAxis);
    // The next step of the series 1, 2, 5, 10, ... with its format and
    // count; false when there is none.
    bool WidenTickStep(bool xAxis);
    // Sizes the y axis to its widest tick label, never below m_yAxisWidth;
    // true when its width changed and the control must be laid out again.
    bool FitYAxisToLabels();
    // Text extent in font of text, or of fallback when text is empty.
    wxSize LabelExtent(const wxString& text, const wxString& fallback, const wxFont& font) const;
    // The open-hand (6) and closed-hand (128) cursors, built once per process.
    static const wxCursor& DragCursor(int id);

    // What a selection takes: an x and a y range, either of which may be
    // "any".
    struct SelectionBox
    {
        DoubleRange x, y;
        bool anyX, anyY;
    };
    // The selection worker behind SelectRectangle and the range selections.
    // DoSelectDataRange runs ClearSelectionForMode first when selecting and
    // clearForMode is set.
    bool SelectBox(int curveIndex, const SelectionBox& box, bool select, bool sendEvent);
    bool SelectBoxOnCurve(int curveIndex, const SelectionBox& box, bool select, bool sendEvent);
    bool DoSelectDataRange(int curveIndex, const IntRange& range, bool select, bool sendEvent,
                           bool clearForMode);
    bool SelectValueRange(int curveIndex, const DoubleRange& range, bool select, bool sendEvent);
    // Sends a range-selected event about a data curve / another curve.
    void SendDataRangeEvent(int curveIndex, const IntRange& range, bool selecting);
    void SendValueRangeEvent(int curveIndex, const DoubleRange& range, bool selecting);
    // Re-renders the area's back buffer within stretch and shows it.
    void RedrawAreaStretch(const wxRect& stretch);
    // The same for the pixel columns of minX..maxX widened by margin;
    // nothing when they lie wholly outside the view.
    void RedrawPlotXRange(double minX, double maxX, int margin);
    // Columns a cursor mark or a curve's pens reach beyond a point's own.
    int StretchMargin(int curveIndex) const;
    // Refreshes the pixels a rubber band / cross hair covers, so that the
    // next paint shows it drawn or gone.
    void RefreshMouseMarker(int type, const wxRect& band);
    void RefreshCrosshair(const wxPoint& pos);
    // Parts of the area's mouse handling.
    void AreaLeftDown(const wxMouseEvent& event, const wxPoint2DDouble& p);
    void AreaLeftUp();
    void AreaDrag(const wxPoint& pos, const wxPoint& prev);
    // A drag of the area is on: capture, band or its auto-scroll timer.
    bool IsAreaDragging() const;
    // SelectXRange and the like: range on one axis, the other unbounded.
    bool SelectAxisRange(int curveIndex, const DoubleRange& range, bool xAxis, bool select,
                         bool sendEvent);
    // The mouse function the held modifiers choose (wxMOD_* bits).
    void SetAreaMouseFunctionFromKeys(int modifiers);
    // Sets the function without making it the one for no modifier; false
    // when the changing event was vetoed.
    bool ApplyAreaMouseFunction(int function, bool sendEvent);
    // The key table of the area, the axes and the control.
    void ProcessPlotChar(wxKeyEvent& event);
    // Cursor one point (or pixel column) left or right.
    void StepCursor(bool left);

    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);
    void OnTextEnter(wxCommandEvent& event);

    // Curves in display order, owned; one selection of each kind per curve.
    std::vector<wxPlotCurve*> m_curves;
    wxPlotCurve* m_activeCurve;
    int m_activeIndex;

    wxPlotMarker m_cursorMarker;
    int m_cursorCurveIndex;
    int m_cursorDataIndex;

    std::vector<IntRangeSelection> m_curveDataSelections;
    std::vector<DoubleRangeSelection> m_curveValueSelections;
    int m_selectionMode;

    wxArrayPlotMarker m_markers;

    bool m_showKey;
    wxString m_keyText;

    bool m_showTitle;
    wxString m_title;
    bool m_showXAxisLabel, m_showYAxisLabel;
    wxString m_xAxisLabel, m_yAxisLabel;
    // Position and text extent of each (the y label's extent is swapped).
    wxRect m_titleRect, m_xLabelRect, m_yLabelRect;
    wxFont m_titleFont;
    wxColour m_titleColour;
    wxColour m_borderColour;

    bool m_scrollOnThumbRelease;
    bool m_showCrosshairCursor;
    bool m_showGrid;
    bool m_fitOnNewCurve;
    bool m_showXAxis, m_showYAxis;

    // Layout computed by DoSize, in control pixels.
    wxRect m_xAxisRect, m_yAxisRect, m_areaRect, m_clientRect;

    // Pixels per plot unit.
    wxPoint2DDouble m_zoom;
    std::vector<wxRect2DDouble> m_viewHistory;
    int m_viewHistoryIndex;
    bool m_fixAspectRatio;
    // Visible plot rectangle; its origin is the lower left corner.
    wxRect2DDouble m_viewRect;
    wxRect2DDouble m_curvesBounds;
    wxRect2DDouble m_defaultBounds;
    wxRect m_areaSize;

    std::vector<int> m_xTickPositions, m_yTickPositions;
    wxArrayString m_xTickLabels, m_yTickLabels;
    wxString m_xTickFormat, m_yTickFormat;
    double m_xTickStep, m_yTickStep;
    // Ticks to draw per axis; CalcTicks also writes its hint here.
    wxPoint m_tickCount;
    int m_snapTicksToPixels;

    wxPlotDrawerArea* m_areaDrawer;
    wxPlotDrawerXAxis* m_xAxisDrawer;
    wxPlotDrawerYAxis* m_yAxisDrawer;
    wxPlotDrawerKey* m_keyDrawer;
    wxPlotDrawerCurve* m_curveDrawer;
    wxPlotDrawerDataCurve* m_dataCurveDrawer;
    wxPlotDrawerMarker* m_markerDrawer;

    wxPlotCtrlArea* m_area;
    wxPlotCtrlAxis* m_xAxis;
    wxPlotCtrlAxis* m_yAxis;
    wxScrollBar* m_xScrollBar;
    wxScrollBar* m_yScrollBar;

    // Background, grid and frame of the area, set straight into the back
    // buffer's pixels.
    wxPlotPixelCanvas m_areaPixels;

    wxTextCtrl* m_labelEditor;
    // Focus indicator: coloured while the focus is in the control, grey else.
    wxBitmap m_cornerBitmaps[2];
    wxWindow* m_cornerFocusWindow;
    bool m_focusAreaOnMouse;

    int m_dirtyFlags;
    int m_batchCount;
    wxSize m_charSize;
    int m_yAxisWidth;
    // Width the y tick labels take, their insets included.
    int m_yAxisLabelWidth;
    int m_borderWidth;
    int m_labelMargin;
    int m_tickLabelLimit;

    wxTimer* m_autoScrollTimer;
    wxWindow* m_captureWindow;
    int m_areaMouseFunction;
    int m_areaMouseMarker;
    int m_areaCursorId;
    int m_controlCursorId;
    // Band shape to restore when a function that hides the band ends.
    int m_markerBeforeDrag;
    // The function was last chosen by modifier keys, so a left press may
    // correct it when a key-up went to another window.
    bool m_mouseFunctionFromKeys;
    // The function last set by the program: the one with no modifier held.
    int m_unmodifiedMouseFunction;

private:
    wxDECLARE_ABSTRACT_CLASS(wxPlotCtrl);
    wxDECLARE_EVENT_TABLE();
};
