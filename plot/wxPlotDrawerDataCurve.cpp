#include "wxPlotDrawerDataCurve.h"
#include "wxPlotCtrl.h"
#include "wxPlotData.h"

#include <wx/dc.h>

#include <algorithm>
#include <cmath>

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerDataCurve, wxPlotDrawerBase);

namespace
{
struct ColumnState
{
    int x = INT_MIN, minY = 0, maxY = 0, lastY = 0;
};

// The common case (lines only, nothing selected) for as long as the points
// stay in view: no clipping, and the pixels need no bounds. A function of
// its own so that the compiler keeps everything in registers; min and max
// without branches, which noisy data would mispredict. Returns the index of
// the first point outside the view (or last).
int ReduceInView(const double* xs, const double* ys, int first, int last, double l, double r,
                 double b, double t, double fx, double fy, double h, wxPlotPixelCanvas& canvas,
                 ColumnState& col)
{
    int colX = INT_MIN, minY = 0, maxY = 0, lastY = 0;
    int i = first;
    for (; i < last; ++i)
    {
        const double x = xs[i], y = ys[i];
        if (!(x >= l && x <= r && y >= b && y <= t))
            break;
        const int px = int((x - l) * fx + 0.5);
        const int py = int(h - (y - b) * fy + 0.5);
        if (px == colX)
        {
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
            lastY = py;
            continue;
        }
        if (colX != INT_MIN)
        {
            if (minY != maxY)
                canvas.Line(colX, minY, colX, maxY);
            canvas.Line(colX, lastY, px, py);
        }
        colX = px;
        minY = maxY = lastY = py;
    }
    col.x = colX;
    col.minY = minY;
    col.maxY = maxY;
    col.lastY = lastY;
    return i;
}
} // namespace

// The pixel column whose points are being reduced, and whether the path
// goes on from the column's last point.
struct wxPlotDrawerDataCurve::Run
{
    bool drawLines = false;
    bool visible = true;   // the pen draws at all
    bool chainOpen = false;
    bool colOpen = false;
    int colX = 0;
    int minY = 0, maxY = 0, lastY = 0;
    int crossColumn = INT_MIN;
};

void wxPlotDrawerDataCurve::BeginBatch(int width, int height)
{
    m_canvas.Reset(width, height);
    m_batch = true;
}

void wxPlotDrawerDataCurve::EndBatch(wxDC* dc)
{
    m_batch = false;
    if (dc)
        m_canvas.DrawOnto(*dc);
}

void wxPlotDrawerDataCurve::FlushColumn(Run& run)
{
    // Within one column every segment is vertical, and together they cover
    // exactly lowest..highest whatever the order of the visits.
    if (run.colOpen && run.minY != run.maxY && run.visible)
        m_canvas.Line(run.colX, run.minY, run.colX, run.maxY);
    run.colOpen = false;
}

void wxPlotDrawerDataCurve::EndChain(Run& run)
{
    FlushColumn(run);
    run.chainOpen = false;
}

void wxPlotDrawerDataCurve::AddPoint(Run& run, const wxPoint& p)
{
    if (run.colOpen && p.x == run.colX)
    {
        run.minY = std::min(run.minY, p.y);
        run.maxY = std::max(run.maxY, p.y);
        run.lastY = p.y;
        return;
    }
    if (run.chainOpen && run.colOpen)
    {
        FlushColumn(run);
        if (run.visible)
            m_canvas.Line(run.colX, run.lastY, p.x, p.y);
    }
    run.chainOpen = true;
    run.colOpen = true;
    run.colX = p.x;
    run.minY = run.maxY = run.lastY = p.y;
}

void wxPlotDrawerDataCurve::AddCross(Run& run, const wxPoint& p)
{
    // A cross already drawn at this pixel in this run adds nothing.
    if (p.x != run.crossColumn)
    {
        run.crossColumn = p.x;
        if (++m_stamp == 0)
        {
            std::fill(m_crossStamp.begin(), m_crossStamp.end(), 0u);
            m_stamp = 1;
        }
    }
    if (p.y >= 0 && size_t(p.y) < m_crossStamp.size())
    {
        if (m_crossStamp[p.y] == m_stamp)
            return;
        m_crossStamp[p.y] = m_stamp;
    }
    if (!run.visible)
        return;
    m_canvas.Line(p.x - 2, p.y, p.x + 2, p.y);
    m_canvas.Line(p.x, p.y - 2, p.x, p.y + 2);
}

void wxPlotDrawerDataCurve::Draw(wxDC* dc, wxPlotData* curve, int curveIndex)
{
    if (!dc || !m_owner || !curve || !curve->Ok())
        return;
    const wxRect2DDouble view = m_plotViewRect;
    if (!PlotRectsIntersect(view, curve->GetBoundingRect()))
        return;

    const int count = curve->GetCount();
    const double* xs = curve->GetConstXData();
    const double* ys = curve->GetConstYData();
    int first = 0, last = count;
    if (curve->GetIsSorted())
    {
        // The points just outside both edges, so that segments crossing an
        // edge are drawn up to it.
        first = curve->GetIndexFromX(view.m_x, wxPLOTDATA_INDEX_LOWER);
        last = curve->GetIndexFromX(view.m_x + view.m_width, wxPLOTDATA_INDEX_UPPER) + 1;
        first = std::max(0, std::min(first, count - 1));
        last = std::max(first + 1, std::min(last, count));
    }

    const wxPen normalPen = wxPlotCurveDrawPen(curve, curveIndex == m_owner->GetActiveIndex()
                                                 ? wxPLOTPEN_ACTIVE : wxPLOTPEN_NORMAL, m_penScale);
    const wxPen selectedPen = wxPlotCurveDrawPen(curve, wxPLOTPEN_SELECTED, m_penScale);

    static const std::vector<IntRange> noRanges;
    const IntRangeSelection* selection = m_owner->GetDataCurveSelection(curveIndex);
    const std::vector<IntRange>& ranges = selection ? selection->GetRanges() : noRanges;
    size_t ri = std::lower_bound(ranges.begin(), ranges.end(), first,
                                 [](const IntRange& r, int v) { return r.m_max < v; }) -
                ranges.begin();
    auto isSelected = [&](int i) {
        while (ri < ranges.size() && ranges[ri].m_max < i)
            ++ri;
        return ri < ranges.size() && ranges[ri].m_min <= i;
    };

    const double zx = m_owner->GetZoomX(), zy = m_owner->GetZoomY();
    const double ah = m_owner->GetAreaSize().height;
    const double left = view.m_x, right = view.m_x + view.m_width;
    const double bottom = view.m_y, top = view.m_y + view.m_height;
    auto toPixel = [&](double x, double y) {
        return wxPoint(wxPlotPixel((x - left) * zx + 0.5), wxPlotPixel(ah - (y - bottom) * zy + 0.5));
    };
    auto inside = [&](double x, double y) {
        return x >= left && x <= right && y >= bottom && y <= top;
    };

    if (m_crossStamp.size() < size_t(ah) + 2)
        m_crossStamp.assign(size_t(ah) + 2, 0u);
    const bool ownLayer = !m_batch;
    if (ownLayer)
        m_canvas.Reset(m_owner->GetAreaSize().width, m_owner->GetAreaSize().height);

    Run run;
    run.drawLines = curve->GetDrawLines();
    const bool drawPoints = curve->GetDrawPoints();

    bool runSelected = false;
    auto usePen = [&](bool selected) {
        const wxPen& pen = selected ? selectedPen : normalPen;
        m_canvas.SetColour(pen.GetColour());
        m_canvas.SetWidth(pen.GetWidth());
        run.visible = pen.GetStyle() != wxPENSTYLE_TRANSPARENT;
        run.crossColumn = INT_MIN;
        runSelected = selected;
    };
    usePen(isSelected(first));
    auto switchPen = [&](bool selected) {
        EndChain(run);
        usePen(selected);
    };

    double prevX = xs[first], prevY = ys[first];
    bool prevInside = inside(prevX, prevY);
    bool prevSelected = runSelected;
    bool havePrev = false;   // the previous point lies in the view
    wxPoint prevPix;
    int start = first;

    if (run.drawLines && !drawPoints && run.visible && !runSelected &&
        (ri >= ranges.size() || ranges[ri].m_min >= last))
    {
        // The common case (lines only, nothing selected) in a tight loop for
        // as long as the points stay in view: no clipping, and the pixels
        // need no bounds. Locals the compiler can keep in registers; min and
        // max without branches, which noisy data would mispredict.
        ColumnState col;
        const int i = ReduceInView(xs, ys, first, last, left, right, bottom, top, zx, zy, ah,
                                   m_canvas, col);
        const int colX = col.x, minY = col.minY, maxY = col.maxY, lastY = col.lastY;
        if (i > first)
        {
            // The general walk goes on from here with the column as it is.
            run.chainOpen = run.colOpen = true;
            run.colX = colX;
            run.minY = minY;
            run.maxY = maxY;
            run.lastY = lastY;
            havePrev = true;
            prevPix = wxPoint(colX, lastY);
            prevX = xs[i - 1];
            prevY = ys[i - 1];
            prevInside = true;
            start = i;
        }
    }

    for (int i = start; i < last; ++i)
    {
        const double cx = xs[i], cy = ys[i];
        const bool curInside = inside(cx, cy);
        const bool curSelected = isSelected(i);
        const bool segmentSelected = i == first ? curSelected : (prevSelected && curSelected);
        if (segmentSelected != runSelected)
        {
            switchPen(segmentSelected);
            if (havePrev && run.drawLines)
                AddPoint(run, prevPix);
        }

        double x0 = prevX, y0 = prevY, x1 = cx, y1 = cy;
        const int r = (prevInside && curInside) ? 0 : ClipLineToRect(x0, y0, x1, y1, view);
        if (r == wxPLOTCLIP_OUTSIDE)
        {
            EndChain(run);
            havePrev = false;
        }
        else
        {
            const wxPoint p = (havePrev && !(r & wxPLOTCLIP_FIRST)) ? prevPix : toPixel(x0, y0);
            const wxPoint c = toPixel(x1, y1);
            if (run.drawLines)
            {
                if (r & wxPLOTCLIP_FIRST)
                    EndChain(run);
                if (!run.chainOpen)
                    AddPoint(run, p);
                AddPoint(run, c);
            }

            const bool startsRange = curSelected && ranges[ri].m_min == i;
            if (drawPoints && !(r & wxPLOTCLIP_SECOND) && (c != p || i == first || startsRange))
            {
                if (curSelected != runSelected)
                {
                    switchPen(curSelected);
                    if (run.drawLines)
                        AddPoint(run, c);
                }
                AddCross(run, c);
            }
            havePrev = !(r & wxPLOTCLIP_SECOND);
            prevPix = c;
        }
        prevX = cx;
        prevY = cy;
        prevInside = curInside;
        prevSelected = curSelected;
    }
    EndChain(run);
    if (ownLayer)
        m_canvas.DrawOnto(*dc);
}
