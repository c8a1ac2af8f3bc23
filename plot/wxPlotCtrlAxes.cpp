// Axis ticks, tick snapping, redraw requests and the layout of the children.

#include "wxPlotCtrl.h"
#include "wxPlotDrawerAxis.h"

#include <wx/scrolbar.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace
{
// No axis gets more ticks than this, however the view and format turn out.
const int MaxTickCount = 1000;
// A tick nearer to zero than this share of a step is zero.
const double kZeroTickShare = 1e-6;
// Two tick labels stand at least this many pixels apart (or a character's
// width, when that is more), so that each reads as a number of its own.
const int kMinTickLabelGap = 3;
// Widenings of the tick step tried at most: four decades.
const int kMaxTickWidening = 12;
// The y-axis drawer writes its labels this far in from the left; as much
// stays free on the right.
const int kYLabelInset = 2;
// Decimals of a tick label at most: more than ticks that are different
// doubles ever need; nine repeated labels on a view a billionth as wide as
// its values are far from zero.
const int kMaxTickDigits = 20;

// The tick labels are written and read back in the C locale, so that a
// label parses to the value it shows whatever the user's decimal separator.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", (locale_t)0);
    return c;
}

// Writes one axis' tick labels in the C locale. The formats CalcTicks makes
// ("%.<n>lf", "%.<n>le") go through std::to_chars, which writes what printf
// would at a fraction of its cost: a scrolling plot labels a whole axis on
// every frame. Any other format, or a number too long for the buffer, goes
// through printf.
class TickLabelWriter
{
public:
    explicit TickLabelWriter(const wxString& format) : m_format(format.utf8_str())
    {
        int digits = -1, used = 0;
        char kind = 0;
        if (std::sscanf(m_format.data(), "%%.%dl%c%n", &digits, &kind, &used) == 2 &&
            m_format.data()[used] == '\0' && digits >= 0 && digits <= 20 && (kind == 'f' || kind == 'e'))
        {
            m_precision = digits;
            m_style = kind == 'f' ? std::chars_format::fixed : std::chars_format::scientific;
            m_direct = true;
        }
    }

    wxString operator()(double value) const
    {
        char buffer[128];
        // A tick at zero reached from below would read "-0".
        if (value == 0)
            value = 0.0;
        size_t n = 0;
        const std::to_chars_result direct =
            m_direct ? std::to_chars(buffer, buffer + sizeof buffer, value, m_style, m_precision)
                     : std::to_chars_result{buffer, std::errc::not_supported};
        if (direct.ec == std::errc())
            n = size_t(direct.ptr - buffer);
        else
        {
            const locale_t old = uselocale(CLocale());
            const int written = std::snprintf(buffer, sizeof buffer, m_format.data(), value);
            uselocale(old);
            if (written < 0)
                return wxString();
            n = std::min<size_t>(size_t(written), sizeof buffer - 1);
        }
        // Numbers in the C locale are plain ASCII.
        wchar_t wide[sizeof buffer];
        for (size_t i = 0; i < n; ++i)
            wide[i] = wchar_t(static_cast<unsigned char>(buffer[i]));
        return wxString(wide, n);
    }

private:
    wxScopedCharBuffer m_format;
    bool m_direct = false;
    std::chars_format m_style = std::chars_format::fixed;
    int m_precision = 0;
};

bool ReadTickLabel(const wxString& label, double* value)
{
    return label.ToCDouble(value);
}

// The power of ten of v's leading digit. Floored, not truncated: a step of
// 0.5 leads at 10^-1, not 10^0. A step built by repeated multiplication may
// fall a rounding error short of its power of ten and still belongs to it.
int DecimalExponent(double v)
{
    return int(std::floor(std::log10(v) + 1e-9));
}

// Decimals of the labels of ticks step apart on an axis whose farthest end
// from zero is absMax, fixed-point or exponential: down to the step's leading
// digit, so that neighbouring ticks read differently. An exponential label
// counts them behind the leading digit of the largest tick.
int TickDigits(double step, bool exponential, double absMax)
{
    const int stepExponent = DecimalExponent(step);
    return std::max(0, (exponential ? DecimalExponent(absMax) : 0) - stepExponent);
}

wxString TickFormat(int digits, bool exponential)
{
    digits = std::min(std::max(digits, 0), kMaxTickDigits);
    return wxString::Format(exponential ? wxS("%%.%dle") : wxS("%%.%dlf"), digits);
}

// Labels of an axis whose ends lie absMin and absMax from zero are written
// exponential beyond the label limit either way.
bool ExponentialLabels(double absMin, double absMax, int labelLimit)
{
    const double limit = labelLimit > 0 ? double(labelLimit) : 1000.0;
    return absMin >= limit || absMax < 1.0 / limit;
}

// The step after step in the series 1, 2, 5, 10, 20, 50, ...
double NextTickStep(double step)
{
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / decade;
    return decade * (mantissa < 1.5 ? 2.0 : mantissa < 3.5 ? 5.0 : 10.0);
}
} // namespace

// --- Ticks ---------------------------------------------------------------------

void wxPlotCtrl::CalcTicks(bool xAxis)
{
    CalcTicksWithHintFactor(xAxis, 1);
}

void wxPlotCtrl::CalcTicksWithHintFactor(bool xAxis, int hintFactor)
{
    const double W = xAxis ? m_areaSize.width : m_areaSize.height;
    const double start = xAxis ? m_viewRect.m_x : m_viewRect.m_y;
    const double end = start + (xAxis ? m_viewRect.m_width : m_viewRect.m_height);
    int& tickCount = xAxis ? m_tickCount.x : m_tickCount.y;
    double& tickStep = xAxis ? m_xTickStep : m_yTickStep;
    wxString& tickFormat = xAxis ? m_xTickFormat : m_yTickFormat;
    (xAxis ? m_xTickPositions : m_yTickPositions).clear();

    int n;
    if (xAxis)
        n = int(W) / (m_charSize.x * 10);
    else
    {
        const double f = W / (2.0 * m_charSize.y) > 2.0 ? 2.0 : 1.5;
        n = int(W / (m_charSize.y * f) + 0.5);
    }
    hintFactor = std::max(1, hintFactor);
    n *= hintFactor;
    tickCount = n;
    if (W < 5)
        return;
    if (!IsFiniteOrReport(start, wxS("axis range is not finite")) ||
        !IsFiniteOrReport(end, wxS("axis range is not finite")))
    {
        tickCount = 0;
        return;
    }
    const double range = end - start;
    const double absMax = std::max(std::fabs(start), std::fabs(end));
    const double absMin = std::min(std::fabs(start), std::fabs(end));
    const bool exponential = ExponentialLabels(absMin, absMax, m_tickLabelLimit);
    if (!IsFiniteOrReport(range, wxS("axis range is not finite")) ||
        !IsFiniteOrReport(absMin, wxS("axis range is not finite")) ||
        !IsFiniteOrReport(absMax, wxS("axis range is not finite")))
    {
        tickCount = 0;
        return;
    }
    // Far from zero a tiny width can round to nothing: no ticks then.
    if (!(range > 0))
    {
        tickCount = 0;
        return;
    }
    const int places = exponential ? 1 : int(std::floor(std::fabs(std::log10(absMax))));

    double step = 1.0;
    const int k = int(std::log10(range));
    for (int i = 0; i < k; ++i)
        step *= 10.0;
    for (int i = 0; i > k; --i)
        step *= 0.1;

    int digits = 0;
    double base = step * 0.1;
    bool found = false;
    for (int decade = 0; decade < 4 && !found; ++decade, base *= 10.0)
    {
        for (double factor : {0.1, 0.2, 0.5})
        {
            step = base * factor;
            if (!std::isfinite(std::log10(step)))
                continue;
            digits = TickDigits(step, exponential, absMax);
            if (xAxis)
            {
                const int width = places + 4 + (exponential ? 4 : 0) + (digits > 0 ? digits + 1 : 0);
                n = int(W / (m_charSize.x * width) + 0.5) * hintFactor;
                tickCount = n;
            }
            if (n >= range / step)
            {
                found = true;
                break;
            }
        }
    }
    if (!(step > 0) || !std::isfinite(range / step))
    {
        tickCount = 0;
        return;
    }
    tickFormat = TickFormat(digits, exponential);
    tickStep = step;
    const double ticks = std::ceil(range / step) + 1;
    tickCount = ticks > MaxTickCount ? MaxTickCount : int(ticks);
}

bool wxPlotCtrl::WidenTickStep(bool xAxis)
{
    const double start = xAxis ? m_viewRect.m_x : m_viewRect.m_y;
    const double end = start + (xAxis ? m_viewRect.m_width : m_viewRect.m_height);
    double& step = xAxis ? m_xTickStep : m_yTickStep;
    const double wider = NextTickStep(step);
    const double range = end - start;
    if (!(wider > step) || !std::isfinite(wider) || !(range > 0) || !std::isfinite(range))
        return false;
    const double absMax = std::max(std::fabs(start), std::fabs(end));
    const double absMin = std::min(std::fabs(start), std::fabs(end));
    const bool exponential = ExponentialLabels(absMin, absMax, m_tickLabelLimit);
    step = wider;
    (xAxis ? m_xTickFormat : m_yTickFormat) = TickFormat(TickDigits(wider, exponential, absMax),
                                                         exponential);
    const double ticks = std::ceil(range / wider) + 1;
    (xAxis ? m_tickCount.x : m_tickCount.y) = ticks > MaxTickCount ? MaxTickCount : int(ticks);
    return true;
}

bool wxPlotCtrl::TickLabelsApart(bool xAxis)
{
    wxPlotDrawerAxisBase* drawer = xAxis ? static_cast<wxPlotDrawerAxisBase*>(m_xAxisDrawer)
                                         : static_cast<wxPlotDrawerAxisBase*>(m_yAxisDrawer);
    wxWindow* window = xAxis ? static_cast<wxWindow*>(m_xAxis) : static_cast<wxWindow*>(m_yAxis);
    if (!drawer || !window || !window->IsShown())
        return true;
    const std::vector<int>& positions = xAxis ? m_xTickPositions : m_yTickPositions;
    const wxArrayString& labels = xAxis ? m_xTickLabels : m_yTickLabels;
    const wxSize client = window->GetClientSize();
    const int span = xAxis ? client.x : client.y;
    const int gap = std::max(kMinTickLabelGap, m_charSize.x);
    // Each label as the axis drawer places it, against the one before.
    int prevStart = 0, prevEnd = 0;
    for (size_t i = 0; i < std::min(positions.size(), labels.GetCount()); ++i)
    {
        const wxSize extent = drawer->GetLabelExtent(labels[i], window);
        const int length = xAxis ? extent.x : extent.y;
        const int start = wxPlotDrawerAxisBase::LabelStart(positions[i], length, span);
        if (i > 0 && std::max(start - prevEnd, prevStart - (start + length)) < gap)
            return false;
        prevStart = start;
        prevEnd = start + length;
    }
    return true;
}

bool wxPlotCtrl::UpdateAxisTicks(bool xAxis)
{
    CalcTicks(xAxis);
    // The tick hint gives the densest ticks an axis may get; where their
    // labels would run together the step widens until they stand apart.
    bool moved = false;
    for (int widened = 0;; ++widened)
    {
        if (m_snapTicksToPixels == 1)
            moved |= SnapTicksToPixels(xAxis);
        if (xAxis)
            CalcXAxisTickPositions();
        else
            CalcYAxisTickPositions();
        if (widened == kMaxTickWidening || TickLabelsApart(xAxis) || !WidenTickStep(xAxis))
            return moved;
    }
}

void wxPlotCtrl::CalcXAxisTickPositions()
{
    CalcTickPositions(true);
}

void wxPlotCtrl::CalcYAxisTickPositions()
{
    CalcTickPositions(false);
}

void wxPlotCtrl::CalcTickPositions(bool xAxis)
{
    std::vector<int>& positions = xAxis ? m_xTickPositions : m_yTickPositions;
    wxArrayString& labels = xAxis ? m_xTickLabels : m_yTickLabels;
    const double step = xAxis ? m_xTickStep : m_yTickStep;
    const double origin = xAxis ? m_viewRect.m_x : m_viewRect.m_y;
    const double zoom = xAxis ? m_zoom.m_x : m_zoom.m_y;
    const int size = xAxis ? m_areaSize.width : m_areaSize.height;
    const TickLabelWriter label(xAxis ? m_xTickFormat : m_yTickFormat);
    positions.clear();
    labels.Clear();
    double t = std::ceil(origin / step) * step;
    for (int i = 0; i < (xAxis ? m_tickCount.x : m_tickCount.y); ++i)
    {
        if (!IsFiniteOrReport(t, wxS("axis label is not finite")))
            break;
        // Reached by repeated addition, the zero tick may land a rounding
        // error beside zero, and would read "-0.0" or "5.6e-17".
        if (std::fabs(t) < step * kZeroTickShare)
            t = 0.0;
        const double offset = (t - origin) * zoom;
        const int p = wxPlotPixel(xAxis ? offset + 0.5 : size - offset + 0.5);
        if (p >= -1 && p < size + 2)
        {
            positions.push_back(p);
            labels.Add(label(t));
        }
        // Far from zero a step can be lost in rounding: no tick repeats.
        const double next = t + step;
        if (next == t)
            break;
        t = next;
    }
}

bool wxPlotCtrl::SnapTicksToPixels(bool xAxis)
{
    const double step = xAxis ? m_xTickStep : m_yTickStep;
    const double origin = xAxis ? m_viewRect.m_x : m_viewRect.m_y;
    const double zoom = xAxis ? m_zoom.m_x : m_zoom.m_y;
    double t = std::ceil(origin / step) * step;
    if (!ReadTickLabel(TickLabelWriter(xAxis ? m_xTickFormat : m_yTickFormat)(t), &t))
        return false;
    int p0, p1;
    if (xAxis)
    {
        p0 = wxPlotPixel((t - origin) * zoom + 0.5);
        p1 = wxPlotPixel((t + step - origin) * zoom + 0.5);
    }
    else
    {
        p0 = wxPlotPixel(m_areaSize.height - (t - origin) * zoom + 0.5);
        p1 = wxPlotPixel(m_areaSize.height - (t + step - origin) * zoom + 0.5);
    }
    // Where t + step rounds to t (far from zero) the spacing is no pixel at
    // all, and a zoom of 0 would mean "fit everything".
    const double spacing = xAxis ? double(p1) - p0 : double(p0) - p1;
    if (!(spacing > 0) || p0 == INT_MAX || p1 == INT_MAX || p0 == INT_MIN || p1 == INT_MIN)
        return false;
    const wxRect2DDouble before = m_viewRect;
    const wxPoint2DDouble zoomBefore = m_zoom;
    ++m_batchCount;
    bool ok;
    if (xAxis)
    {
        const double newZoom = spacing / step;
        ok = SetZoom(newZoom, m_zoom.m_y, t - p0 / newZoom, m_viewRect.m_y, true);
        if (!ok)
            m_tickCount.x = 0;
    }
    else
    {
        const double newZoom = spacing / step;
        ok = SetZoom(m_zoom.m_x, newZoom, m_viewRect.m_x,
                     t - (m_areaSize.height - p0) / newZoom, true);
        if (!ok)
            m_tickCount.y = 0;
    }
    m_batchCount = std::max(0, m_batchCount - 1);
    return ok && (before.m_x != m_viewRect.m_x || before.m_y != m_viewRect.m_y ||
                  zoomBefore.m_x != m_zoom.m_x || zoomBefore.m_y != m_zoom.m_y);
}

// --- Redraw --------------------------------------------------------------------

void wxPlotCtrl::Redraw(int flags)
{
    if (m_batchCount > 0)
        return;
    bool moved = false;
    if (flags & wxPLOTCTRL_REDRAW_XAXIS)
    {
        m_dirtyFlags |= wxPLOTCTRL_REDRAW_XAXIS;
        moved |= UpdateAxisTicks(true);
    }
    if (flags & wxPLOTCTRL_REDRAW_YAXIS)
    {
        m_dirtyFlags |= wxPLOTCTRL_REDRAW_YAXIS;
        moved |= UpdateAxisTicks(false);
    }
    // Snapping moved the view: the curves must follow the ticks.
    if (moved)
    {
        flags |= wxPLOTCTRL_REDRAW_PLOT;
        AdjustScrollBars();
    }
    if (flags & wxPLOTCTRL_REDRAW_PLOT)
    {
        m_dirtyFlags |= wxPLOTCTRL_REDRAW_PLOT;
        if (m_area)
            m_area->Refresh(false);
    }
    if ((flags & wxPLOTCTRL_REDRAW_XAXIS) && m_xAxis)
        m_xAxis->Refresh(false);
    if ((flags & wxPLOTCTRL_REDRAW_YAXIS) && m_yAxis)
        m_yAxis->Refresh(false);
    if (flags & wxPLOTCTRL_REDRAW_WINDOW)
        Refresh(true);
    // The y axis holds its widest label: a new width is a new layout, which
    // redraws everything again. The labels depend on heights only, so the
    // new layout keeps them.
    if ((flags & wxPLOTCTRL_REDRAW_YAXIS) && FitYAxisToLabels())
        DoSize();
}

bool wxPlotCtrl::FitYAxisToLabels()
{
    if (!m_yAxisDrawer || !m_yAxis || !m_showYAxis)
        return false;
    int widest = 0;
    for (const wxString& label : m_yTickLabels)
        widest = std::max(widest, m_yAxisDrawer->GetLabelExtent(label, m_yAxis).x);
    const int needed = widest + 2 * kYLabelInset;
    const bool changed = std::max(needed, m_yAxisWidth) != std::max(m_yAxisLabelWidth, m_yAxisWidth);
    m_yAxisLabelWidth = needed;
    return changed;
}

// --- Layout --------------------------------------------------------------------

void wxPlotCtrl::OnSize(wxSizeEvent& event)
{
    DoSize();
    event.Skip();
}

void wxPlotCtrl::DoSize(const wxRect& rect, bool setWindows)
{
    if (!m_yScrollBar)
        return;
    m_dirtyFlags |= wxPLOTCTRL_LAYOUT_INVALID;
    wxSize size = rect.GetSize();
    if (rect == wxRect())
    {
        UpdateAreaSize();
        size = GetClientSize();
    }
    if (size.x < 2 || size.y < 2)
        return;

    // Hidden scroll bars give their strip back to the plot.
    const int s = m_yScrollBar->IsShown() ? m_yScrollBar->GetBestSize().x : 0;
    const int sx = m_xScrollBar->IsShown() ? m_xScrollBar->GetBestSize().y : 0;
    const int c = m_charSize.y, h = c / 2, e = c & ~1, m = m_labelMargin;

    // Small controls give negative sizes below; every size is clamped at 0.
    auto clampSize = [](wxRect r) {
        r.width = std::max(0, r.width);
        r.height = std::max(0, r.height);
        return r;
    };
    m_clientRect = clampSize(wxRect(0, 0, size.x - s, size.y - sx));
    const wxRect T = m_showTitle ? wxRect(m_titleRect).Inflate(m) : wxRect(0, 0, 1, 1);
    const wxRect X = m_showXAxisLabel ? wxRect(m_xLabelRect).Inflate(m) : wxRect(0, 0, 1, 1);
    const wxRect Y = m_showYAxisLabel ? wxRect(m_yLabelRect).Inflate(m) : wxRect(0, 0, 1, 1);
    const int th = m_showTitle ? T.height - m : T.height;
    // The title sits at the top and the y label at the left edge (their
    // stored positions are those of the last layout, unset before the first).
    const int ty = 0, yx = 0;
    const int yAxisW = m_showYAxis ? std::max(m_yAxisWidth, m_yAxisLabelWidth) : 1;
    const int xAxisH = m_showXAxis ? c : h;
    const int free = m_clientRect.height - ty - X.height - xAxisH - th;

    m_yAxisRect = clampSize(wxRect(yx + Y.width - 1, ty + th - 1, yAxisW, e + free - h + 1));
    m_xAxisRect = clampSize(wxRect(m_yAxisRect.x + m_yAxisRect.width - 1,
                                   m_yAxisRect.y + m_yAxisRect.height - h,
                                   m_clientRect.width - Y.width - yx - yAxisW + 1, xAxisH));
    m_areaRect = clampSize(wxRect(m_yAxisRect.x + m_yAxisRect.width - 1 + h, m_yAxisRect.y + h,
                                  m_clientRect.width - e - Y.width - yx - yAxisW + 1,
                                  free - h + 1));

    if (setWindows)
    {
        m_yScrollBar->SetSize(m_clientRect.width, 0, s, m_clientRect.height);
        m_xScrollBar->SetSize(0, m_clientRect.height, m_clientRect.width, sx);
        m_xAxis->Show(m_showXAxis);
        m_yAxis->Show(m_showYAxis);
        if (m_showXAxis)
            m_xAxis->SetSize(m_xAxisRect);
        if (m_showYAxis)
            m_yAxis->SetSize(m_yAxisRect);
        m_area->SetSize(m_areaRect);
        UpdateAreaSize();
    }
    else
        m_areaSize = wxRect(0, 0, std::max(10, m_areaRect.width), std::max(10, m_areaRect.height));

    m_titleRect.SetPosition(
        wxPoint((m_areaRect.width - m_titleRect.width) / 2 + m_areaRect.x, m));
    m_xLabelRect.SetPosition(wxPoint(m_areaRect.width / 2 - m_xLabelRect.width / 2 + m_areaRect.x,
                                     m_xAxisRect.y + m_xAxisRect.height + m - 1));
    m_yLabelRect.SetPosition(
        wxPoint(m, m_areaRect.height / 2 - m_yLabelRect.height / 2 + m_areaRect.y));

    // The visible extent is kept; the zooms follow the new area size.
    double zoomX = m_areaSize.width / m_viewRect.m_width;
    double zoomY = m_areaSize.height / m_viewRect.m_height;
    const bool okX = IsFiniteOrReport(zoomX, wxS("Plot zoom is NaN"));
    const bool okY = IsFiniteOrReport(zoomY, wxS("Plot zoom is NaN"));
    if (!okX || !okY)
        return;
    if (m_fixAspectRatio)
    {
        ApplyAspectRule(zoomX, zoomY, m_viewRect.m_x, m_viewRect.m_y);
        m_viewRect.m_width = m_areaSize.width / zoomX;
        m_viewRect.m_height = m_areaSize.height / zoomY;
    }
    m_zoom = wxPoint2DDouble(zoomX, zoomY);
    wxPlotCtrlEvent event(wxEVT_PLOTCTRL_VIEW_CHANGED, GetId(), this);
    event.SetCurve(m_activeCurve, m_activeIndex);
    DoSendEvent(event);
    m_dirtyFlags = 0;
    Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
}
