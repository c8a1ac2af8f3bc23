#include "wxPlotDrawerDataCurve.h"
#include "wxPlotCtrl.h"
#include "wxPlotData.h"

#include <wx/dc.h>

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDrawerDataCurve, wxPlotDrawerBase);

namespace
{
// Lowest and highest y of the points [i, end); false when one of them lies
// outside xa..xb in x or b..t in y, or is not a number.
bool ColumnExtremes(const double* xs, const double* ys, int i, int end, double xa, double xb,
                    double b, double t, double& ymin, double& ymax)
{
    int k = i;
    double lo = ys[i], hi = ys[i];
#if defined(__SSE2__)
    // Two points at a time: this loop is most of the time a long curve takes.
    __m128d vmin = _mm_set1_pd(lo), vmax = vmin, vmin2 = vmin, vmax2 = vmin;
    __m128d ok = _mm_castsi128_pd(_mm_set1_epi32(-1)), ok2 = ok;
    const __m128d vxa = _mm_set1_pd(xa), vxb = _mm_set1_pd(xb);
    const __m128d vb = _mm_set1_pd(b), vt = _mm_set1_pd(t);
    auto step = [&](const double* px, const double* py, __m128d& mn, __m128d& mx, __m128d& in) {
        const __m128d x = _mm_loadu_pd(px), y = _mm_loadu_pd(py);
        const __m128d inX = _mm_and_pd(_mm_cmpge_pd(x, vxa), _mm_cmple_pd(x, vxb));
        const __m128d inY = _mm_and_pd(_mm_cmpge_pd(y, vb), _mm_cmple_pd(y, vt));
        in = _mm_and_pd(in, _mm_and_pd(inX, inY));
        mn = _mm_min_pd(mn, y);
        mx = _mm_max_pd(mx, y);
    };
    for (; k + 4 <= end; k += 4)
    {
        step(xs + k, ys + k, vmin, vmax, ok);
        step(xs + k + 2, ys + k + 2, vmin2, vmax2, ok2);
    }
    if (k + 2 <= end)
    {
        step(xs + k, ys + k, vmin, vmax, ok);
        k += 2;
    }
    vmin = _mm_min_pd(vmin, vmin2);
    vmax = _mm_max_pd(vmax, vmax2);
    if (_mm_movemask_pd(_mm_and_pd(ok, ok2)) != 3)
        return false;
    double mins[2], maxs[2];
    _mm_storeu_pd(mins, vmin);
    _mm_storeu_pd(maxs, vmax);
    lo = std::min(mins[0], mins[1]);
    hi = std::max(maxs[0], maxs[1]);
#endif
    for (; k < end; ++k)
    {
        const double xk = xs[k], yk = ys[k];
        if (!(xk >= xa && xk <= xb && yk >= b && yk <= t))
            return false;
        lo = yk < lo ? yk : lo;
        hi = yk > hi ? yk : hi;
    }
    ymin = lo;
    ymax = hi;
    return true;
}

struct ColumnState
{
    int x = INT_MIN, minY = 0, maxY = 0, lastY = 0;
};

// The common case (lines only, nothing selected) for as long as the points
// stay in view: no clipping, and the pixels need no bounds. A function of
// its own so that the compiler keeps everything in registers; min and max
// without branches, which noisy data would mispredict. With sorted x each
// pixel column's stretch of points is found by bisection and only its y
// extremes are taken. col holds the column the path is in (x INT_MIN for
// none) and gets the one it ends in. Returns the index of the first point
// outside the view (or last).
[[gnu::noinline]] int ReduceInView(const double* xs, const double* ys, int first, int last, bool sorted, double l,
                 double r, double b, double t, double fx, double fy, double h,
                 wxPlotPixelCanvas& canvas, ColumnState& col)
{
    int colX = col.x, minY = col.minY, maxY = col.maxY, lastY = col.lastY;
    auto pixelX = [=](double x) { return int((x - l) * fx + 0.5); };
    auto pixelY = [=](double y) { return int(h - (y - b) * fy + 0.5); };
    auto startColumn = [&](int px, int py) {
        if (colX != INT_MIN)
        {
            if (minY != maxY)
                canvas.Line(colX, minY, colX, maxY);
            canvas.Line(colX, lastY, px, py);
        }
        colX = px;
        minY = maxY = lastY = py;
    };

    int i = first;
    int columnLength = 1;
    while (sorted && i < last)
    {
        const double x = xs[i];
        if (!(x >= l && x <= r))
            break;
        const int px = pixelX(x);
        auto same = [&](int j) {
            const double xj = xs[j];
            return xj >= l && xj <= r && pixelX(xj) == px;
        };
        // The column most likely holds as many points as the one before:
        // look there first, then gallop and bisect.
        int lo = i, hi;
        const int guess = std::min(last, i + std::max(1, columnLength));
        if (guess > i + 1 && !same(guess - 1))
            hi = guess - 1;
        else if (guess == last || !same(guess))
            lo = hi = guess;
        else
        {
            lo = guess;
            for (int step = std::max(1, columnLength);; step *= 2)
            {
                hi = std::min(last, lo + step);
                if (hi == last || !same(hi))
                    break;
                lo = hi;
            }
        }
        while (hi - lo > 1)
        {
            const int mid = lo + (hi - lo) / 2;
            (same(mid) ? lo : hi) = mid;
        }
        columnLength = hi - i;
        // Points [i, hi) share the column, unless a value out of order or
        // not a number hides among them: then the point walk below checks
        // each one.
        double ymin, ymax;
        if (!ColumnExtremes(xs, ys, i, hi, xs[i], xs[hi - 1], b, t, ymin, ymax))
            break;
        if (px != colX)
            startColumn(px, pixelY(ys[i]));
        minY = std::min(minY, pixelY(ymax));
        maxY = std::max(maxY, pixelY(ymin));
        lastY = pixelY(ys[hi - 1]);
        i = hi;
    }
    for (; i < last; ++i)
    {
        const double x = xs[i], y = ys[i];
        if (!(x >= l && x <= r && y >= b && y <= t))
            break;
        const int px = pixelX(x);
        const int py = pixelY(y);
        if (px == colX)
        {
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
            lastY = py;
            continue;
        }
        startColumn(px, py);
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

void wxPlotDrawerDataCurve::BeginBatch(wxDC* dc, int width, int height)
{
    if (dc)
        m_canvas.Start(*dc, width, height);
    else
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
    const int arm = wxPLOT_POINT_MARK_REACH * m_canvas.GetScale();
    m_canvas.Line(p.x - arm, p.y, p.x + arm, p.y);
    m_canvas.Line(p.x, p.y - arm, p.x, p.y + arm);
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
        double left = view.m_x, right = view.m_x + view.m_width;
        // A stretch of the area (a partial redraw) needs only its own
        // columns; the caller hands over a few more than it shows, so the
        // column cut short here lies outside what is shown.
        const double zx = m_owner->GetZoomX();
        if (m_dcRect.width > 0 && m_dcRect.x > 0)
            left = std::max(left, view.m_x + m_dcRect.x / zx);
        if (m_dcRect.width > 0 && m_dcRect.GetRight() < m_owner->GetAreaSize().width - 1)
            right = std::min(right, view.m_x + (m_dcRect.x + m_dcRect.width) / zx);
        // From the point before the first one at or past the left edge to
        // the point after the last one at or before the right edge: a run
        // of equal x on an edge (a vertical step) is drawn whole.
        first = curve->GetIndexFromX(left, wxPLOTDATA_INDEX_UPPER) - 1;
        last = curve->GetIndexFromX(right, wxPLOTDATA_INDEX_LOWER) + 2;
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

    const bool ownLayer = !m_batch;
    const wxRect& area = m_owner->GetAreaSize();
    if (ownLayer)
        m_canvas.Start(*dc, area.width, area.height);
    // In the canvas's own pixels: at a scale of 2 a curve is drawn in the
    // screen's pixels, not in doubled ones.
    const int scale = m_canvas.GetScale();
    const double zx = m_owner->GetZoomX() * scale, zy = m_owner->GetZoomY() * scale;
    const double ah = double(area.height) * scale;
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

    Run run;
    run.drawLines = curve->GetDrawLines();
    const bool drawPoints = curve->GetDrawPoints();

    bool runSelected = false;
    auto usePen = [&](bool selected) {
        const wxPen& pen = selected ? selectedPen : normalPen;
        m_canvas.SetColour(pen.GetColour());
        m_canvas.SetWidth(pen.GetWidth() * scale);
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

    // Lines only: stretches of points in view drawn with one pen go through
    // the tight loop. A stretch ends where the pen would change: past the
    // selected range the run is in, or at the next selected point.
    const bool reduce = run.drawLines && !drawPoints;
    const bool sorted = curve->GetIsSorted();
    auto samePenUntil = [&](int i) {
        const bool selected = isSelected(i);
        if (runSelected)
            return selected ? std::min(last, ranges[ri].m_max + 1) : i;
        if (selected)
            return i;
        return ri < ranges.size() ? std::min(last, ranges[ri].m_min) : last;
    };

    for (int i = first; i < last; ++i)
    {
        const int stop = (reduce && run.visible && havePrev && prevInside && run.chainOpen &&
                          run.colOpen) ? samePenUntil(i) : i;
        if (stop > i)
        {
            ColumnState col;
            col.x = run.colX;
            col.minY = run.minY;
            col.maxY = run.maxY;
            col.lastY = run.lastY;
            const int j = ReduceInView(xs, ys, i, stop, sorted, left, right, bottom, top, zx, zy,
                                       ah, m_canvas, col);
            if (j > i)
            {
                run.colX = col.x;
                run.minY = col.minY;
                run.maxY = col.maxY;
                run.lastY = col.lastY;
                prevPix = wxPoint(col.x, col.lastY);
                prevX = xs[j - 1];
                prevY = ys[j - 1];
                prevSelected = runSelected;
                i = j;
                if (i >= last)
                    break;
            }
        }
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
