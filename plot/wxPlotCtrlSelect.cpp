// The data cursor, the selections of points and x ranges, and the partial
// redraws they use: a changed stretch of the area is rendered again into
// the back buffer, clipped to that stretch, and only it is refreshed on
// screen.

#include "wxPlotCtrl.h"
#include "wxPlotDrawerBase.h"

#include <wx/dcmemory.h>

#include <algorithm>
#include <cfloat>
#include <cstdlib>
#include <climits>
#include <cmath>
#include <vector>

namespace
{
DoubleRange Ordered(const DoubleRange& r)
{
    return r.m_min <= r.m_max ? r : DoubleRange(r.m_max, r.m_min);
}

// One range of the selection holds all of r.
bool RangeHeld(const IntRangeSelection& selection, const IntRange& r)
{
    const int k = selection.Index(r.m_min);
    return k >= 0 && k < selection.GetCount() && selection.GetRange(k).Contains(r);
}

// Some range of the selection has an index of r.
bool RangeMeets(const IntRangeSelection& selection, const IntRange& r)
{
    const int k = selection.Index(r.m_min);
    if (k >= 0 && k < selection.GetCount() && selection.GetRange(k).m_max >= r.m_min)
        return true;
    const IntRange next = selection.GetRange(k + 1);
    return !next.IsEmpty() && next.m_min <= r.m_max;
}

// The selection with the sorted, disjoint runs added / taken out.
IntRangeSelection Union(const IntRangeSelection& selection, const std::vector<IntRange>& runs)
{
    const std::vector<IntRange>& old = selection.GetRanges();
    IntRangeSelection result;
    size_t i = 0, j = 0;
    while (i < old.size() || j < runs.size())
    {
        const bool takeOld = j >= runs.size() || (i < old.size() && old[i].m_min <= runs[j].m_min);
        result.SelectRange(takeOld ? old[i++] : runs[j++]);
    }
    return result;
}

IntRangeSelection Without(const IntRangeSelection& selection, const std::vector<IntRange>& runs)
{
    IntRangeSelection result;
    size_t j = 0;
    for (const IntRange& r : selection.GetRanges())
    {
        int start = r.m_min;
        while (j < runs.size() && runs[j].m_max < start)
            ++j;
        for (size_t k = j; k < runs.size() && runs[k].m_min <= r.m_max; ++k)
        {
            if (runs[k].m_min > start)
                result.SelectRange(IntRange(start, runs[k].m_min - 1));
            start = std::max(start, runs[k].m_max + 1);
        }
        if (start <= r.m_max)
            result.SelectRange(IntRange(start, r.m_max));
    }
    return result;
}
} // namespace

// --- Partial redraw --------------------------------------------------------------

void wxPlotCtrl::RedrawAreaStretch(const wxRect& stretch)
{
    if (m_batchCount > 0 || !m_area)
        return;
    // A whole render is on its way, or nothing may be painted.
    if (m_dirtyFlags & (wxPLOTCTRL_LAYOUT_INVALID | wxPLOTCTRL_REDRAW_PLOT))
        return;
    const wxRect r = stretch.Intersect(m_areaSize);
    if (r.IsEmpty())
        return;
    wxBitmap& bitmap = m_area->m_bitmap;
    if (!wxPlotBackBufferFits(bitmap, m_areaSize.GetSize(), m_area))
    {
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
        return;
    }
    {
        wxMemoryDC dc(bitmap);
        DrawArea(&dc, r);
    }
    m_area->RefreshRect(r, false);
}

void wxPlotCtrl::RedrawPlotXRange(double minX, double maxX, int margin)
{
    if (m_batchCount > 0)
        return;
    // In 64 bits: the pixel mapping saturates at the ends of int.
    long long c0 = PlotXToPixel(std::min(minX, maxX));
    long long c1 = PlotXToPixel(std::max(minX, maxX));
    if (std::isnan(minX) || std::isnan(maxX))
    {
        c0 = 0;
        c1 = m_areaSize.width;
    }
    c0 -= margin;
    c1 += margin;
    if (c1 < 0 || c0 >= m_areaSize.width)
        return;
    c0 = std::max(c0, -1LL);
    c1 = std::min(c1, (long long)m_areaSize.width);
    RedrawAreaStretch(wxRect(int(c0), 0, int(c1 - c0 + 1), m_areaSize.height));
}

int wxPlotCtrl::StretchMargin(int curveIndex) const
{
    const wxSize mark = m_cursorMarker.GetSize();
    const int reach = std::max(mark.x, 0) + std::max(m_cursorMarker.GetPen().GetWidth(), 1);
    return std::max(reach, wxPlotCurveReach(GetCurve(curveIndex))) + 1;
}

void wxPlotCtrl::RedrawDataCurve(int curveIndex, int firstIndex, int lastIndex)
{
    const wxPlotData* data = GetDataCurve(curveIndex);
    if (m_batchCount > 0 || !data || firstIndex < 0 || lastIndex < firstIndex ||
        lastIndex >= data->GetCount())
        return;
    const double x0 = data->GetXValue(std::max(firstIndex - 1, 0));
    const double x1 = data->GetXValue(std::min(lastIndex + 1, data->GetCount() - 1));
    // Unsorted points may lie anywhere, and so may the lines to them.
    if (!data->GetIsSorted() || !std::isfinite(x0) || !std::isfinite(x1))
        RedrawAreaStretch(m_areaSize);
    else
        RedrawPlotXRange(x0, x1, StretchMargin(curveIndex));
}

void wxPlotCtrl::RedrawCurve(int curveIndex, double minX, double maxX)
{
    if (m_batchCount > 0 || !CurveIndexOk(curveIndex) || !(minX <= maxX))
        return;
    RedrawPlotXRange(minX, maxX, StretchMargin(curveIndex));
}

// --- Cursor --------------------------------------------------------------------

namespace
{
void FillCursorEvent(wxPlotCtrlEvent& event, wxPlotCurve* curve, int curveIndex, int dataIndex,
                     const wxPoint2DDouble& pt)
{
    event.SetCurve(curve, curveIndex);
    event.SetCurveDataIndex(dataIndex);
    event.SetPosition(pt.m_x, pt.m_y);
}
} // namespace

bool wxPlotCtrl::SetCursorDataIndex(int curveIndex, int dataIndex, bool sendEvent)
{
    wxPlotData* data = GetDataCurve(curveIndex);
    if (!data || dataIndex < 0 || dataIndex >= data->GetCount() ||
        (curveIndex == m_cursorCurveIndex && dataIndex == m_cursorDataIndex))
        return false;
    const wxPoint2DDouble pt = data->GetPoint(dataIndex);
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGING, GetId(), this);
        FillCursorEvent(event, data, curveIndex, dataIndex, pt);
        if (!DoSendEvent(event) || GetDataCurve(curveIndex) != data ||
            dataIndex >= data->GetCount())
            return false;
    }
    const bool had = IsCursorValid();
    const int oldCurve = m_cursorCurveIndex, oldIndex = m_cursorDataIndex;
    const double oldX = m_cursorMarker.GetPlotPosition().m_x;
    m_cursorMarker.SetPlotPosition(pt);
    m_cursorCurveIndex = curveIndex;
    m_cursorDataIndex = dataIndex;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGED, GetId(), this);
        FillCursorEvent(event, data, curveIndex, dataIndex, pt);
        DoSendEvent(event);
    }
    // Old and new mark only: the stretch render draws whatever lies there.
    // A step to the next point is one stretch.
    if (had && oldCurve == curveIndex && std::abs(oldIndex - dataIndex) == 1)
        RedrawDataCurve(curveIndex, std::min(oldIndex, dataIndex), std::max(oldIndex, dataIndex));
    else
    {
        if (had && oldCurve == curveIndex)
            RedrawDataCurve(curveIndex, oldIndex, oldIndex);
        else if (had)
            RedrawPlotXRange(oldX, oldX, StretchMargin(-1));
        RedrawDataCurve(curveIndex, dataIndex, dataIndex);
    }
    return true;
}

bool wxPlotCtrl::SetCursorAtX(int curveIndex, double x, bool sendEvent)
{
    if (const wxPlotData* data = GetDataCurve(curveIndex))
        return SetCursorDataIndex(curveIndex, data->GetIndexFromX(x), sendEvent);
    wxPlotCurve* curve = GetCurve(curveIndex);
    if (!curve || !curve->Ok() || !std::isfinite(x))
        return false;
    const wxPoint2DDouble pt(x, curve->GetY(x));
    const wxPoint2DDouble old = m_cursorMarker.GetPlotPosition();
    if (curveIndex == m_cursorCurveIndex && old.m_x == pt.m_x && old.m_y == pt.m_y)
        return false;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGING, GetId(), this);
        FillCursorEvent(event, curve, curveIndex, -1, pt);
        if (!DoSendEvent(event) || GetCurve(curveIndex) != curve)
            return false;
    }
    const bool had = IsCursorValid();
    m_cursorMarker.SetPlotPosition(pt);
    m_cursorCurveIndex = curveIndex;
    m_cursorDataIndex = -1;
    if (sendEvent)
    {
        wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGED, GetId(), this);
        FillCursorEvent(event, curve, curveIndex, -1, pt);
        DoSendEvent(event);
    }
    if (had)
        RedrawPlotXRange(old.m_x, old.m_x, StretchMargin(curveIndex));
    RedrawCurve(curveIndex, x, x);
    return true;
}

bool wxPlotCtrl::UpdateCursor()
{
    if (!IsCursorValid())
        return false;
    if (m_cursorCurveIndex >= GetCurveCount())
    {
        InvalidateCursor(true);
        return false;
    }
    if (const wxPlotData* data = GetDataCurve(m_cursorCurveIndex))
    {
        if (m_cursorDataIndex >= 0 && m_cursorDataIndex < data->GetCount())
        {
            m_cursorMarker.SetPlotPosition(data->GetPoint(m_cursorDataIndex));
            return true;
        }
        InvalidateCursor(true);
        return false;
    }
    const double x = m_cursorMarker.GetPlotPosition().m_x;
    m_cursorMarker.SetPlotPosition(x, m_curves[m_cursorCurveIndex]->GetY(x));
    return true;
}

void wxPlotCtrl::MakeCursorVisible(bool centre, bool sendEvent)
{
    if (!IsCursorValid())
        return;
    const wxPoint2DDouble pt = GetCursorPoint();
    const wxRect2DDouble& v = m_viewRect;
    if (centre)
    {
        SetZoom(m_zoom.m_x, m_zoom.m_y, pt.m_x - v.m_width / 2, pt.m_y - v.m_height / 2,
                sendEvent);
        return;
    }
    // Just inside, with a margin of a few pixels.
    const double mx = 4 / m_zoom.m_x, my = 4 / m_zoom.m_y;
    double x = v.m_x, y = v.m_y;
    if (pt.m_x < v.m_x)
        x = pt.m_x - mx;
    else if (pt.m_x > v.m_x + v.m_width)
        x = pt.m_x - v.m_width + mx;
    if (pt.m_y < v.m_y)
        y = pt.m_y - my;
    else if (pt.m_y > v.m_y + v.m_height)
        y = pt.m_y - v.m_height + my;
    if (x != v.m_x || y != v.m_y)
        SetOrigin(x, y, sendEvent);
}

// --- Selection state -------------------------------------------------------------

bool wxPlotCtrl::HasSelection(int curveIndex) const
{
    if (curveIndex == -1)
    {
        for (int i = 0; i < GetCurveCount(); ++i)
            if (HasSelection(i))
                return true;
        return false;
    }
    return CurveIndexOk(curveIndex) && (!m_curveDataSelections[curveIndex].IsEmpty() ||
                                        !m_curveValueSelections[curveIndex].IsEmpty());
}

int wxPlotCtrl::GetSelectionCount(int curveIndex) const
{
    if (!CurveIndexOk(curveIndex))
        return 0;
    return IsDataCurve(curveIndex) ? m_curveDataSelections[curveIndex].GetCount()
                                   : m_curveValueSelections[curveIndex].GetCount();
}

void wxPlotCtrl::SendDataRangeEvent(int curveIndex, const IntRange& range, bool selecting)
{
    wxPlotCtrlSelEvent event(wxEVT_PLOTCTRL_RANGE_SELECTED, GetId(), this);
    event.SetCurve(GetCurve(curveIndex), curveIndex);
    event.SetDataRange(range, selecting);
    event.SetDataSelection(m_curveDataSelections[curveIndex]);
    DoSendEvent(event);
}

void wxPlotCtrl::SendValueRangeEvent(int curveIndex, const DoubleRange& range, bool selecting)
{
    wxPlotCtrlSelEvent event(wxEVT_PLOTCTRL_RANGE_SELECTED, GetId(), this);
    event.SetCurve(GetCurve(curveIndex), curveIndex);
    event.SetValueRange(range, selecting);
    DoSendEvent(event);
}

bool wxPlotCtrl::ClearSelectedRanges(int curveIndex, bool sendEvent)
{
    if (curveIndex == -1)
    {
        bool any = false;
        for (int i = 0; i < GetCurveCount(); ++i)
            any |= ClearSelectedRanges(i, sendEvent);
        return any;
    }
    if (!HasSelection(curveIndex))
        return false;
    const bool hadPoints = !m_curveDataSelections[curveIndex].IsEmpty();
    const bool hadRanges = !m_curveValueSelections[curveIndex].IsEmpty();
    m_curveDataSelections[curveIndex].Clear();
    m_curveValueSelections[curveIndex].Clear();
    if (const wxPlotData* data = GetDataCurve(curveIndex))
    {
        if (hadPoints)
        {
            const IntRange all(0, data->GetCount() - 1);
            if (sendEvent)
                SendDataRangeEvent(curveIndex, all, false);
            RedrawDataCurve(curveIndex, all.m_min, all.m_max);
        }
    }
    else if (hadRanges)
    {
        const DoubleRange visible(m_viewRect.m_x, m_viewRect.m_x + m_viewRect.m_width);
        if (sendEvent)
            SendValueRangeEvent(curveIndex, visible, false);
        RedrawCurve(curveIndex, visible.m_min, visible.m_max);
    }
    return true;
}

bool wxPlotCtrl::ClearSelectionForMode(int curveIndex, bool sendEvent)
{
    switch (m_selectionMode)
    {
        case wxPLOTCTRL_SELECT_SINGLE:
            return ClearSelectedRanges(-1, sendEvent);
        case wxPLOTCTRL_SELECT_SINGLE_CURVE:
        {
            bool any = false;
            for (int i = 0; i < GetCurveCount(); ++i)
                if (i != curveIndex)
                    any |= ClearSelectedRanges(i, sendEvent);
            return any;
        }
        case wxPLOTCTRL_SELECT_SINGLE_PER_CURVE:
            return ClearSelectedRanges(curveIndex, sendEvent);
        default:
            return false;
    }
}

// --- Selecting -----------------------------------------------------------------

bool wxPlotCtrl::SelectDataRange(int curveIndex, const IntRange& range, bool select,
                                 bool sendEvent)
{
    return DoSelectDataRange(curveIndex, range, select, sendEvent, true);
}

bool wxPlotCtrl::DoSelectDataRange(int curveIndex, const IntRange& range, bool select,
                                   bool sendEvent, bool clearForMode)
{
    const wxPlotData* data = GetDataCurve(curveIndex);
    if (!data || range.m_min > range.m_max || m_selectionMode == wxPLOTCTRL_SELECT_NONE ||
        range.m_min < 0 || range.m_max >= data->GetCount())
        return false;
    if (select && clearForMode)
    {
        ClearSelectionForMode(curveIndex, sendEvent);
        // A handler of the clearing events may have removed the curve.
        if (GetDataCurve(curveIndex) != data || range.m_max >= data->GetCount())
            return false;
    }
    IntRangeSelection& selection = m_curveDataSelections[curveIndex];
    if (!(select ? selection.SelectRange(range) : selection.DeselectRange(range)))
        return false;
    if (sendEvent)
        SendDataRangeEvent(curveIndex, range, select);
    RedrawDataCurve(curveIndex, range.m_min, range.m_max);
    return true;
}

bool wxPlotCtrl::SelectValueRange(int curveIndex, const DoubleRange& range, bool select,
                                  bool sendEvent)
{
    DoubleRangeSelection& selection = m_curveValueSelections[curveIndex];
    if (!(select ? selection.SelectRange(range) : selection.DeselectRange(range)))
        return false;
    if (sendEvent)
        SendValueRangeEvent(curveIndex, range, select);
    RedrawCurve(curveIndex, range.m_min, range.m_max);
    return true;
}

bool wxPlotCtrl::SelectRectangle(int curveIndex, const wxRect2DDouble& rect, bool select,
                                 bool sendEvent)
{
    if (curveIndex < -1 || curveIndex >= GetCurveCount() ||
        (rect.m_width <= 0 && rect.m_height <= 0) || m_selectionMode == wxPLOTCTRL_SELECT_NONE)
        return false;
    if (!IsFiniteOrReport(rect.m_x, wxS("Selection x is NaN")) ||
        !IsFiniteOrReport(rect.m_y, wxS("Selection y is NaN")) ||
        !IsFiniteOrReport(rect.m_width, wxS("Selection width is NaN")) ||
        !IsFiniteOrReport(rect.m_height, wxS("Selection height is NaN")))
        return false;
    SelectionBox box;
    box.x = DoubleRange(rect.m_x, rect.m_x + rect.m_width);
    box.y = DoubleRange(rect.m_y, rect.m_y + rect.m_height);
    box.anyX = rect.m_width <= 0;
    box.anyY = rect.m_height <= 0;
    return SelectBox(curveIndex, box, select, sendEvent);
}

bool wxPlotCtrl::SelectAxisRange(int curveIndex, const DoubleRange& range, bool xAxis,
                                 bool select, bool sendEvent)
{
    if (curveIndex < -1 || curveIndex >= GetCurveCount() ||
        m_selectionMode == wxPLOTCTRL_SELECT_NONE)
        return false;
    // Given the wrong way round, a negative width would read as "any x" and
    // change the whole curve.
    const DoubleRange r = Ordered(range);
    if (!IsFiniteOrReport(r.m_min, xAxis ? wxS("Selection x is NaN") : wxS("Selection y is NaN")) ||
        !IsFiniteOrReport(r.m_max - r.m_min,
                          xAxis ? wxS("Selection width is NaN") : wxS("Selection height is NaN")))
        return false;
    SelectionBox box;
    box.x = box.y = r;
    box.anyX = !xAxis;
    box.anyY = xAxis;
    return SelectBox(curveIndex, box, select, sendEvent);
}

bool wxPlotCtrl::SelectXRange(int curveIndex, const DoubleRange& range, bool sendEvent)
{
    return SelectAxisRange(curveIndex, range, true, true, sendEvent);
}

bool wxPlotCtrl::DeselectXRange(int curveIndex, const DoubleRange& range, bool sendEvent)
{
    return SelectAxisRange(curveIndex, range, true, false, sendEvent);
}

bool wxPlotCtrl::SelectYRange(int curveIndex, const DoubleRange& range, bool sendEvent)
{
    return SelectAxisRange(curveIndex, range, false, true, sendEvent);
}

bool wxPlotCtrl::DeselectYRange(int curveIndex, const DoubleRange& range, bool sendEvent)
{
    return SelectAxisRange(curveIndex, range, false, false, sendEvent);
}

bool wxPlotCtrl::SelectBox(int curveIndex, const SelectionBox& box, bool select, bool sendEvent)
{
    if (curveIndex != -1)
    {
        if (select)
            ClearSelectionForMode(curveIndex, sendEvent);
        return CurveIndexOk(curveIndex) && SelectBoxOnCurve(curveIndex, box, select, sendEvent);
    }
    // Every curve at once is one new selection: the modes that clear the
    // curve being selected clear everything once, not each curve the next
    // one's result.
    if (select && (m_selectionMode == wxPLOTCTRL_SELECT_SINGLE ||
                   m_selectionMode == wxPLOTCTRL_SELECT_SINGLE_PER_CURVE))
        ClearSelectedRanges(-1, sendEvent);
    bool any = false;
    for (int i = 0; i < GetCurveCount(); ++i)
        any |= SelectBoxOnCurve(i, box, select, sendEvent);
    return any;
}

bool wxPlotCtrl::SelectBoxOnCurve(int curveIndex, const SelectionBox& box, bool select,
                                  bool sendEvent)
{
    const wxPlotData* data = GetDataCurve(curveIndex);
    if (!data)
        return SelectValueRange(curveIndex,
                                box.anyX ? DoubleRange(-DBL_MAX, DBL_MAX) : box.x, select,
                                sendEvent);
    const wxRect2DDouble bounds = data->GetBoundingRect();
    if (!box.anyX &&
        (box.x.m_max < bounds.m_x || box.x.m_min > bounds.m_x + bounds.m_width))
        return false;
    const int count = data->GetCount();
    const double* xs = data->GetConstXData();
    const double* ys = data->GetConstYData();

    const bool anyY = box.anyY ||
                      (box.y.m_min <= bounds.m_y && box.y.m_max >= bounds.m_y + bounds.m_height);
    if (anyY && data->GetIsSorted())
    {
        int first = 0, last = count - 1;
        if (!box.anyX)
        {
            // The lookup gives the nearest points, which may lie outside;
            // only those inside count, and none means no change.
            first = data->GetIndexFromX(box.x.m_min, wxPLOTDATA_INDEX_UPPER);
            last = data->GetIndexFromX(box.x.m_max, wxPLOTDATA_INDEX_LOWER);
            if (first > last || !box.x.Contains(xs[first]) || !box.x.Contains(xs[last]))
                return false;
        }
        return DoSelectDataRange(curveIndex, IntRange(first, last), select, sendEvent, false);
    }

    // Every point on its own, taken in runs of neighbours inside.
    std::vector<IntRange> runs;
    int runStart = -1;
    for (int i = 0; i < count; ++i)
    {
        const bool inside =
            (box.anyX || box.x.Contains(xs[i])) && (box.anyY || box.y.Contains(ys[i]));
        if (inside && runStart < 0)
            runStart = i;
        else if (!inside && runStart >= 0)
        {
            runs.emplace_back(runStart, i - 1);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        runs.emplace_back(runStart, count - 1);

    IntRangeSelection& selection = m_curveDataSelections[curveIndex];
    int changedMin = INT_MAX, changedMax = -1;
    for (const IntRange& run : runs)
        if (select ? !RangeHeld(selection, run) : RangeMeets(selection, run))
        {
            changedMin = std::min(changedMin, run.m_min);
            changedMax = std::max(changedMax, run.m_max);
        }
    if (changedMax < 0)
        return false;
    // Scattered points give many runs: the new selection is merged in one
    // pass, not range by range into the middle of the old one.
    selection = select ? Union(selection, runs) : Without(selection, runs);
    if (sendEvent)
        SendDataRangeEvent(curveIndex, IntRange(changedMin, changedMax), select);
    RedrawDataCurve(curveIndex, changedMin, changedMax);
    return true;
}
