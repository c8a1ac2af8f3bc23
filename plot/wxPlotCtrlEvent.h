#pragma once
// Notifications of the plot control. Changing events can be vetoed; the
// matching changed event follows only when none was. Every event carries the
// control as its object and the control's window id.

#include "IntRange.h"
#include "DoubleRange.h"
#include "IntRangeSelection.h"

#include <wx/event.h>

class wxPlotCurve;
class wxWindow;

class wxPlotCtrlEvent : public wxNotifyEvent
{
public:
    // source is the sending control, which becomes the event object.
    wxPlotCtrlEvent(wxEventType commandType = wxEVT_NULL, int id = 0,
                    wxWindow* source = NULL);
    wxPlotCtrlEvent(const wxPlotCtrlEvent& event) = default;

    // The curve concerned (not owned) and its index in the control.
    wxPlotCurve* GetCurve() const { return m_curve; }
    int GetCurveIndex() const { return m_curveIndex; }
    void SetCurve(wxPlotCurve* curve, int index) { m_curve = curve; m_curveIndex = index; }
    // The data point concerned; -1 when none.
    int GetCurveDataIndex() const { return m_dataIndex; }
    void SetCurveDataIndex(int index) { m_dataIndex = index; }
    // The area mouse function (mouse-function events).
    int GetMouseFunction() const { return m_mouseFunction; }
    void SetMouseFunction(int function) { m_mouseFunction = function; }
    // A position in plot units (mouse, point, new origin).
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    void SetPosition(double x, double y) { m_x = x; m_y = y; }

    wxEvent* Clone() const wxOVERRIDE { return new wxPlotCtrlEvent(*this); }

protected:
    wxPlotCurve* m_curve = NULL;
    int m_curveIndex = -1;
    int m_dataIndex = -1;
    int m_mouseFunction = 0;
    double m_x = 0.0;
    double m_y = 0.0;

private:
    wxDECLARE_ABSTRACT_CLASS(wxPlotCtrlEvent);
};

// A change of a curve's selection, with a copy of the whole selection after
// it, so that the event stays meaningful after the control has moved on.
class wxPlotCtrlSelEvent : public wxPlotCtrlEvent
{
public:
    wxPlotCtrlSelEvent(wxEventType commandType = wxEVT_NULL, int id = 0,
                       wxWindow* source = NULL);
    wxPlotCtrlSelEvent(const wxPlotCtrlSelEvent& event) = default;

    // Index range (de)selected on a data curve.
    IntRange GetDataRange() const { return m_dataRange; }
    void SetDataRange(const IntRange& range, bool selecting)
        { m_dataRange = range; m_selecting = selecting; }
    // x range (de)selected on another curve.
    DoubleRange GetValueRange() const { return m_valueRange; }
    void SetValueRange(const DoubleRange& range, bool selecting)
        { m_valueRange = range; m_selecting = selecting; }
    // The curve's index selection after the change.
    const IntRangeSelection& GetDataSelection() const { return m_selection; }
    void SetDataSelection(const IntRangeSelection& selection) { m_selection = selection; }
    // True when points were selected, false when deselected.
    bool GetSelecting() const { return m_selecting; }
    void SetSelecting(bool selecting) { m_selecting = selecting; }

    wxEvent* Clone() const wxOVERRIDE { return new wxPlotCtrlSelEvent(*this); }

protected:
    IntRange m_dataRange = IntRange(0, 0);
    DoubleRange m_valueRange = DoubleRange(0.0, 0.0);
    IntRangeSelection m_selection;
    bool m_selecting = false;

private:
    wxDECLARE_ABSTRACT_CLASS(wxPlotCtrlSelEvent);
};

// The 27 event types, numbered in this order.
wxDECLARE_EVENT(wxEVT_PLOTCTRL_CURVE_ADDED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_CURVE_REMOVING, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_CURVE_REMOVED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGING, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_MOUSE_MOVED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_AREA_CLICK, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_AREA_DOUBLE_CLICK, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_POINT_CLICK, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_POINT_DOUBLE_CLICK, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_RESERVED_1, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_RESERVED_2, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_RESERVED_3, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_VIEW_CHANGING, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_VIEW_CHANGED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_CURSOR_CHANGING, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_CURSOR_CHANGED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_ERROR, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_TITLE_EDIT_BEGIN, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_TITLE_EDITED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_XLABEL_EDIT_BEGIN, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_XLABEL_EDITED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_YLABEL_EDIT_BEGIN, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_YLABEL_EDITED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGING, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGED, wxPlotCtrlEvent);
wxDECLARE_EVENT(wxEVT_PLOTCTRL_RANGE_SELECTED, wxPlotCtrlSelEvent);

// All 27 in registration order, for code that handles them alike.
const wxEventType* wxPlotCtrlEventTypes();
enum { wxPLOTCTRL_EVENT_TYPE_COUNT = 27 };

typedef void (wxEvtHandler::*wxPlotCtrlEventFunction)(wxPlotCtrlEvent&);
typedef void (wxEvtHandler::*wxPlotCtrlSelEventFunction)(wxPlotCtrlSelEvent&);

#define wxPlotCtrlEventHandler(func) wxEVENT_HANDLER_CAST(wxPlotCtrlEventFunction, func)
#define wxPlotCtrlSelEventHandler(func) wxEVENT_HANDLER_CAST(wxPlotCtrlSelEventFunction, func)

#define wx__DECLARE_PLOTEVT(evt, id, fn) \
    wx__DECLARE_EVT1(wxEVT_PLOTCTRL_##evt, id, wxPlotCtrlEventHandler(fn))

#define EVT_PLOTCTRL_CURVE_ADDED(id, fn) wx__DECLARE_PLOTEVT(CURVE_ADDED, id, fn)
#define EVT_PLOTCTRL_CURVE_REMOVING(id, fn) wx__DECLARE_PLOTEVT(CURVE_REMOVING, id, fn)
#define EVT_PLOTCTRL_CURVE_REMOVED(id, fn) wx__DECLARE_PLOTEVT(CURVE_REMOVED, id, fn)
#define EVT_PLOTCTRL_ACTIVE_CURVE_CHANGING(id, fn) wx__DECLARE_PLOTEVT(ACTIVE_CURVE_CHANGING, id, fn)
#define EVT_PLOTCTRL_ACTIVE_CURVE_CHANGED(id, fn) wx__DECLARE_PLOTEVT(ACTIVE_CURVE_CHANGED, id, fn)
#define EVT_PLOTCTRL_MOUSE_MOVED(id, fn) wx__DECLARE_PLOTEVT(MOUSE_MOVED, id, fn)
#define EVT_PLOTCTRL_AREA_CLICK(id, fn) wx__DECLARE_PLOTEVT(AREA_CLICK, id, fn)
#define EVT_PLOTCTRL_AREA_DOUBLE_CLICK(id, fn) wx__DECLARE_PLOTEVT(AREA_DOUBLE_CLICK, id, fn)
#define EVT_PLOTCTRL_POINT_CLICK(id, fn) wx__DECLARE_PLOTEVT(POINT_CLICK, id, fn)
#define EVT_PLOTCTRL_POINT_DOUBLE_CLICK(id, fn) wx__DECLARE_PLOTEVT(POINT_DOUBLE_CLICK, id, fn)
#define EVT_PLOTCTRL_RESERVED_1(id, fn) wx__DECLARE_PLOTEVT(RESERVED_1, id, fn)
#define EVT_PLOTCTRL_RESERVED_2(id, fn) wx__DECLARE_PLOTEVT(RESERVED_2, id, fn)
#define EVT_PLOTCTRL_RESERVED_3(id, fn) wx__DECLARE_PLOTEVT(RESERVED_3, id, fn)
#define EVT_PLOTCTRL_VIEW_CHANGING(id, fn) wx__DECLARE_PLOTEVT(VIEW_CHANGING, id, fn)
#define EVT_PLOTCTRL_VIEW_CHANGED(id, fn) wx__DECLARE_PLOTEVT(VIEW_CHANGED, id, fn)
#define EVT_PLOTCTRL_CURSOR_CHANGING(id, fn) wx__DECLARE_PLOTEVT(CURSOR_CHANGING, id, fn)
#define EVT_PLOTCTRL_CURSOR_CHANGED(id, fn) wx__DECLARE_PLOTEVT(CURSOR_CHANGED, id, fn)
#define EVT_PLOTCTRL_ERROR(id, fn) wx__DECLARE_PLOTEVT(ERROR, id, fn)
#define EVT_PLOTCTRL_TITLE_EDIT_BEGIN(id, fn) wx__DECLARE_PLOTEVT(TITLE_EDIT_BEGIN, id, fn)
#define EVT_PLOTCTRL_TITLE_EDITED(id, fn) wx__DECLARE_PLOTEVT(TITLE_EDITED, id, fn)
#define EVT_PLOTCTRL_XLABEL_EDIT_BEGIN(id, fn) wx__DECLARE_PLOTEVT(XLABEL_EDIT_BEGIN, id, fn)
#define EVT_PLOTCTRL_XLABEL_EDITED(id, fn) wx__DECLARE_PLOTEVT(XLABEL_EDITED, id, fn)
#define EVT_PLOTCTRL_YLABEL_EDIT_BEGIN(id, fn) wx__DECLARE_PLOTEVT(YLABEL_EDIT_BEGIN, id, fn)
#define EVT_PLOTCTRL_YLABEL_EDITED(id, fn) wx__DECLARE_PLOTEVT(YLABEL_EDITED, id, fn)
#define EVT_PLOTCTRL_MOUSE_FUNCTION_CHANGING(id, fn) wx__DECLARE_PLOTEVT(MOUSE_FUNCTION_CHANGING, id, fn)
#define EVT_PLOTCTRL_MOUSE_FUNCTION_CHANGED(id, fn) wx__DECLARE_PLOTEVT(MOUSE_FUNCTION_CHANGED, id, fn)
#define EVT_PLOTCTRL_RANGE_SELECTED(id, fn) \
    wx__DECLARE_EVT1(wxEVT_PLOTCTRL_RANGE_SELECTED, id, wxPlotCtrlSelEventHandler(fn))
