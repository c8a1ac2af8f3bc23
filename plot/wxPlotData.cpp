#include "wxPlotData.h"
#include "PlotNearestIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotData, wxPlotCurve);
wxIMPLEMENT_DYNAMIC_CLASS(wxPlotDataModule, wxModule);

wxPlotData wxNullPlotData;

void wxPlotDataModule::OnExit()
{
    wxNullPlotData.UnRef();
}

// --- Shared data -------------------------------------------------------------

namespace
{
// The point arrays. Data sets appended one from another share one store, each
// seeing its own first count points, so that an append writes only past the
// end of what any existing data set sees.
struct PointStore
{
    std::vector<double> x, y, extra;
    // A writable pointer was handed out: anything may change at any time.
    bool exposed = false;
};

// What CalcBoundingRect computes, kept up to date point by point.
struct PointStats
{
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    // The last x of the sorted walk; -infinity before the first point.
    double lastX = -std::numeric_limits<double>::infinity();
    bool any = false;
    bool sorted = true;

    void Add(double x, double y)
    {
        // The lookups bisect over every x whatever its y, so the order is
        // that of all points; an x that is not finite has no place in it.
        if (sorted && std::isfinite(x) && x >= lastX)
            lastX = x;
        else
            sorted = false;
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        if (!any)
        {
            minX = maxX = x;
            minY = maxY = y;
            any = true;
            return;
        }
        if (x < minX) minX = x; else if (x > maxX) maxX = x;
        if (y < minY) minY = y; else if (y > maxY) maxY = y;
    }

    wxRect2DDouble Rect() const
    {
        return any ? wxRect2DDouble(minX, minY, maxX - minX, maxY - minY) : wxRect2DDouble();
    }
};

// Capacity for a store that must hold needed points: room to grow so that
// repeated appends copy only now and then.
size_t GrownCapacity(size_t needed)
{
    return std::max<size_t>(needed + needed / 2, 16);
}
} // namespace

class wxPlotDataRefData : public wxPlotCurveRefData
{
public:
    wxPlotDataRefData() : m_store(std::make_shared<PointStore>()) {}
    // For a data set built from another: pens and options come from it.
    explicit wxPlotDataRefData(NoDefaults) : wxPlotCurveRefData(NoDefaults()) {}

    std::shared_ptr<PointStore> m_store;
    int m_count = 0;
    bool m_hasExtra = false;
    bool m_sorted = false;
    PointStats m_stats;
    bool m_statsValid = false;
    wxBitmap m_symbols[wxPLOTPEN_MAXTYPE];
    // Built by the first nearest-point search that needs it; as of the last
    // CalcBoundingRect, like the sorted flag.
    PlotNearestIndex m_nearest;

    bool StatsUsable() const { return m_statsValid && !m_store->exposed; }

    void RecomputeStats()
    {
        m_nearest.Clear();
        m_stats = PointStats();
        const double* x = m_store->x.data();
        const double* y = m_store->y.data();
        for (int i = 0; i < m_count; ++i)
            m_stats.Add(x[i], y[i]);
        m_statsValid = true;
    }

    // Before writing: a store other data sets also see is copied first.
    void MakeStoreExclusive()
    {
        if (m_store.use_count() == 1)
            return;
        auto own = std::make_shared<PointStore>();
        own->x.assign(m_store->x.begin(), m_store->x.begin() + m_count);
        own->y.assign(m_store->y.begin(), m_store->y.begin() + m_count);
        if (m_hasExtra)
            own->extra.assign(m_store->extra.begin(), m_store->extra.begin() + m_count);
        m_store = std::move(own);
    }

    // A fresh store holding the first m_count points, with room for capacity.
    std::shared_ptr<PointStore> CopyStore(size_t capacity, bool withExtra) const
    {
        auto copy = std::make_shared<PointStore>();
        copy->x.reserve(capacity);
        copy->y.reserve(capacity);
        copy->x.assign(m_store->x.begin(), m_store->x.begin() + m_count);
        copy->y.assign(m_store->y.begin(), m_store->y.begin() + m_count);
        if (withExtra)
        {
            copy->extra.reserve(capacity);
            copy->extra.assign(m_store->extra.begin(), m_store->extra.begin() + m_count);
        }
        return copy;
    }

    void CopyRest(const wxPlotDataRefData& source)
    {
        CopyExtra(source);
        for (int i = 0; i < wxPLOTPEN_MAXTYPE; ++i)
            m_symbols[i] = source.m_symbols[i];
    }
};

wxPlotDataRefData* wxPlotData::Data() const
{
    return static_cast<wxPlotDataRefData*>(m_refData);
}

wxObjectRefData* wxPlotData::CreateRefData() const
{
    return new wxPlotDataRefData;
}

wxObjectRefData* wxPlotData::CloneRefData(const wxObjectRefData* data) const
{
    const wxPlotDataRefData* source = static_cast<const wxPlotDataRefData*>(data);
    wxPlotDataRefData* copy = new wxPlotDataRefData(wxPlotCurveRefData::NoDefaults());
    copy->CopyRest(*source);
    copy->m_store = source->CopyStore(source->m_count, source->m_hasExtra);
    copy->m_count = source->m_count;
    copy->m_hasExtra = source->m_hasExtra;
    copy->m_sorted = source->m_sorted;
    copy->m_stats = source->m_stats;
    copy->m_statsValid = source->StatsUsable();
    return copy;
}

// --- Construction ------------------------------------------------------------

wxPlotData::wxPlotData(const wxPlotData& other)
    : wxPlotCurve(), m_drawLines(other.m_drawLines), m_drawPoints(other.m_drawPoints)
{
    if (other.Ok())
    {
        Ref(other);
        CalcBoundingRect();
    }
}

wxPlotData& wxPlotData::operator=(const wxPlotData& other)
{
    if (this != &other)
        Ref(other);
    return *this;
}

bool wxPlotData::Create(int points, bool WXUNUSED(zero))
{
    m_drawLines = false;
    m_drawPoints = true;
    if (points < 1)
        return false;

    UnRef();
    // Always zeroed: uninitialised points would reach the bounds and the
    // drawer as garbage.
    wxPlotDataRefData* d = new (std::nothrow) wxPlotDataRefData;
    if (!d)
        return false;
    try
    {
        d->m_store->x.assign(points, 0.0);
        d->m_store->y.assign(points, 0.0);
    }
    catch (const std::bad_alloc&)
    {
        d->DecRef();
        return false;
    }
    d->m_count = points;
    d->RecomputeStats();
    m_refData = d;
    return true;
}

bool wxPlotData::CopyFrom(const wxPlotData& source)
{
    m_drawLines = source.m_drawLines;
    m_drawPoints = source.m_drawPoints;
    if (!source.Ok())
        return false;
    Ref(source);
    CalcBoundingRect();
    return true;
}

bool wxPlotData::CopyExtra(const wxPlotData& source)
{
    if (!Ok() || !source.Ok())
        return false;
    Data()->CopyExtra(*source.Data());
    return true;
}

wxPlotCurve* wxPlotData::Clone() const
{
    wxPlotData* copy = new wxPlotData;
    copy->CopyFrom(*this);
    return copy;
}

bool wxPlotData::Ok() const
{
    return m_refData != NULL && Data()->m_count > 0;
}

void wxPlotData::CalcBoundingRect()
{
    if (!Ok())
        return;
    wxPlotDataRefData* d = Data();
    if (!d->StatsUsable())
        d->RecomputeStats();
    d->m_boundingRect = d->m_stats.Rect();
    d->m_sorted = d->m_stats.sorted;
}

// --- Access ------------------------------------------------------------------

int wxPlotData::GetCount() const
{
    return Ok() ? Data()->m_count : 0;
}

double* wxPlotData::GetXData()
{
    if (!Ok())
        return NULL;
    Data()->MakeStoreExclusive();
    Data()->m_store->exposed = true;
    Data()->m_nearest.Clear();
    return Data()->m_store->x.data();
}

double* wxPlotData::GetYData()
{
    if (!Ok())
        return NULL;
    Data()->MakeStoreExclusive();
    Data()->m_store->exposed = true;
    Data()->m_nearest.Clear();
    return Data()->m_store->y.data();
}

double* wxPlotData::GetExtraData()
{
    if (!Ok() || !Data()->m_hasExtra)
        return NULL;
    Data()->MakeStoreExclusive();
    Data()->m_store->exposed = true;
    return Data()->m_store->extra.data();
}

const double* wxPlotData::GetXData() const
{
    return Ok() ? Data()->m_store->x.data() : NULL;
}

const double* wxPlotData::GetYData() const
{
    return Ok() ? Data()->m_store->y.data() : NULL;
}

const double* wxPlotData::GetExtraData() const
{
    return (Ok() && Data()->m_hasExtra) ? Data()->m_store->extra.data() : NULL;
}

double wxPlotData::GetXValue(int i) const
{
    return (Ok() && i >= 0 && i < Data()->m_count) ? Data()->m_store->x[i] : 0.0;
}

double wxPlotData::GetYValue(int i) const
{
    return (Ok() && i >= 0 && i < Data()->m_count) ? Data()->m_store->y[i] : 0.0;
}

wxPoint2DDouble wxPlotData::GetPoint(int i) const
{
    return wxPoint2DDouble(GetXValue(i), GetYValue(i));
}

bool wxPlotData::GetIsSorted() const
{
    return Ok() && Data()->m_sorted;
}

wxString wxPlotData::GetFilename() const
{
    return Ok() ? GetOption(wxS("File.Name")) : wxString();
}

wxBitmap wxPlotData::GetSymbol(int state) const
{
    if (!Ok() || state < 0 || state >= wxPLOTPEN_MAXTYPE)
        return wxNullBitmap;
    return Data()->m_symbols[state];
}

void wxPlotData::SetSymbol(int state, const wxBitmap& bitmap)
{
    if (Ok() && state >= 0 && state < wxPLOTPEN_MAXTYPE)
        Data()->m_symbols[state] = bitmap;
}

// --- Changes -----------------------------------------------------------------

void wxPlotData::SetPoint(int i, double x, double y)
{
    if (!Ok() || i < 0 || i >= Data()->m_count)
        return;
    wxPlotDataRefData* d = Data();
    d->MakeStoreExclusive();
    d->m_store->x[i] = x;
    d->m_store->y[i] = y;
    d->m_statsValid = false;

    if (d->m_count == 1 && std::isfinite(x) && std::isfinite(y))
    {
        // A single point moves the rectangle and keeps its size.
        d->RecomputeStats();
        d->m_boundingRect.m_x = x;
        d->m_boundingRect.m_y = y;
    }
    else
    {
        // Also a lone non-finite point: it must not become the position.
        CalcBoundingRect();
    }
}

bool wxPlotData::SetExtraData(const std::vector<double>& extra)
{
    if (!Ok())
        return false;
    wxPlotDataRefData* d = Data();
    if (extra.empty())
    {
        d->m_hasExtra = false;
        return true;
    }
    if (int(extra.size()) != d->m_count)
        return false;
    d->MakeStoreExclusive();
    d->m_store->extra = extra;
    d->m_hasExtra = true;
    return true;
}

wxPlotData wxPlotData::InsertPoints(int index, int n, const double* xs, const double* ys,
                                    const double* extras) const
{
    if (!Ok() || xs == NULL || ys == NULL || n < 0)
        return wxPlotData();
    const wxPlotDataRefData* d = Data();
    const int count = d->m_count;
    if (index < -1 || index > count || n > std::numeric_limits<int>::max() - count)
        return wxPlotData();

    const bool withExtra = d->m_hasExtra && extras != NULL;
    const bool append = (index == -1 || index == count);
    const size_t total = size_t(count) + size_t(n);

    wxPlotDataRefData* r = new wxPlotDataRefData(wxPlotCurveRefData::NoDefaults());
    r->CopyRest(*d);
    r->m_count = int(total);
    r->m_hasExtra = withExtra;

    try
    {
        if (append)
        {
            std::shared_ptr<PointStore> store = d->m_store;
            // Truncating is safe when nothing else sees the store: what lies
            // past our count belonged to a data set that is gone.
            if (store.use_count() == 2 && !store->exposed && store->x.size() > size_t(count))
            {
                store->x.resize(count);
                store->y.resize(count);
                if (store->extra.size() > size_t(count))
                    store->extra.resize(count);
            }
            const bool reuse = !store->exposed
                && store->x.size() == size_t(count)
                && store->x.capacity() >= total && store->y.capacity() >= total
                && (!withExtra || (store->extra.size() == size_t(count)
                                   && store->extra.capacity() >= total));
            if (!reuse)
                store = d->CopyStore(GrownCapacity(total), withExtra);
            // Within capacity: no reallocation, so pointers that other data
            // sets handed out stay valid.
            store->x.insert(store->x.end(), xs, xs + n);
            store->y.insert(store->y.end(), ys, ys + n);
            if (withExtra)
                store->extra.insert(store->extra.end(), extras, extras + n);
            r->m_store = std::move(store);

            if (d->StatsUsable())
            {
                r->m_stats = d->m_stats;
                for (int i = 0; i < n; ++i)
                    r->m_stats.Add(xs[i], ys[i]);
                r->m_statsValid = true;
            }
            else
            {
                r->RecomputeStats();
            }
        }
        else
        {
            auto store = std::make_shared<PointStore>();
            const PointStore& old = *d->m_store;
            auto layout = [&](std::vector<double>& out, const std::vector<double>& in,
                              const double* added) {
                out.reserve(total);
                out.insert(out.end(), in.begin(), in.begin() + index);
                out.insert(out.end(), added, added + n);
                out.insert(out.end(), in.begin() + index, in.begin() + count);
            };
            layout(store->x, old.x, xs);
            layout(store->y, old.y, ys);
            if (withExtra)
                layout(store->extra, old.extra, extras);
            r->m_store = std::move(store);
            r->RecomputeStats();
        }
    }
    catch (const std::bad_alloc&)
    {
        r->DecRef();
        return wxPlotData();
    }

    r->m_boundingRect = r->m_stats.Rect();
    r->m_sorted = r->m_stats.sorted;

    wxPlotData result;
    result.m_refData = r;
    return result;
}

wxPlotData wxPlotData::Resample(double start, double step, int n) const
{
    wxPlotData result;
    if (!Ok() || n < 1 || !result.Create(n))
        return wxPlotData();
    PointStore& store = *result.Data()->m_store;
    double x = start;
    for (int i = 0; i < n; ++i)
    {
        store.x[i] = x;
        store.y[i] = GetY(x);
        x += step;
    }
    result.Data()->m_statsValid = false;
    result.CalcBoundingRect();
    return result;
}

// --- Lookup ------------------------------------------------------------------

namespace
{
// On sorted x: the first index whose x is not below x / is above x (count
// when there is none). A run of equal x is found from its first point and
// left from its last.
int FirstNotBelow(const double* xs, int count, double x)
{
    return int(std::lower_bound(xs, xs + count, x) - xs);
}

int FirstAbove(const double* xs, int count, double x)
{
    return int(std::upper_bound(xs, xs + count, x) - xs);
}
} // namespace

int wxPlotData::GetIndexFromX(double x, int mode) const
{
    if (!Ok() || std::isnan(x))
        return 0;
    const wxPlotDataRefData* d = Data();
    const int count = d->m_count;
    const double* xs = d->m_store->x.data();

    if (d->m_sorted)
    {
        if (mode == wxPLOTDATA_INDEX_LOWER)
            return std::max(FirstAbove(xs, count, x) - 1, 0);
        const int r = std::min(FirstNotBelow(xs, count, x), count - 1);
        if (mode == wxPLOTDATA_INDEX_UPPER)
            return r;
        // Closest; a tie keeps the point at or above x.
        return (r > 0 && std::fabs(x - xs[r - 1]) < std::fabs(x - xs[r])) ? r - 1 : r;
    }

    const double left = d->m_boundingRect.m_x;
    const double right = d->m_boundingRect.m_x + d->m_boundingRect.m_width;
    int closest = 0, lower = 0, upper = 0;
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i)
    {
        const double dist = std::fabs(x - xs[i]);
        if (dist == 0)
            return i;
        if (dist < best)
        {
            best = dist;
            closest = i;
            if (xs[i] > x)
                upper = i;
            else
                lower = i;
        }
    }
    if (x < left || x > right)
        return closest;
    if (mode == wxPLOTDATA_INDEX_LOWER)
        return lower;
    if (mode == wxPLOTDATA_INDEX_UPPER)
        return upper;
    return closest;
}

namespace
{
double LinearInterpolate(double x1, double y1, double x2, double y2, double x)
{
    const double m = (y2 - y1) / (x2 - x1);
    return y1 - x1 * m + m * x;
}
} // namespace

double wxPlotData::GetY(double x) const
{
    if (!Ok())
        return 0.0;
    const wxPlotDataRefData* d = Data();
    const double* xs = d->m_store->x.data();
    const double* ys = d->m_store->y.data();
    const int count = d->m_count;
    int i, j;
    if (d->m_sorted && !std::isnan(x))
    {
        // One search gives both neighbours: j is the first point above x.
        j = FirstAbove(xs, count, x);
        i = std::max(j - 1, 0);
        if (xs[i] == x || i == count - 1)
            return ys[i];
    }
    else
    {
        i = GetIndexFromX(x, wxPLOTDATA_INDEX_LOWER);
        if (xs[i] == x || i == count - 1)
            return ys[i];
        j = GetIndexFromX(x, wxPLOTDATA_INDEX_UPPER);
    }
    if (ys[i] == ys[j])
        return ys[i];
    return LinearInterpolate(xs[i], ys[i], xs[j], ys[j], x);
}

int wxPlotData::GetIndexFromXY(double x, double y, double xRange) const
{
    if (!Ok() || !(xRange >= 0))
        return 0;
    wxPlotDataRefData* d = Data();
    const double inf = std::numeric_limits<double>::infinity();
    const int best = d->m_nearest.Nearest(d->m_store->x.data(), d->m_store->y.data(), d->m_count,
                                          d->m_sorted,
                                          {x, y, 1.0, 1.0, xRange == 0 ? inf : xRange, inf});
    if (best >= 0)
        return best;
    // Nothing within range: the point before it, where the search begins.
    return d->m_sorted ? GetIndexFromX(x - xRange, wxPLOTDATA_INDEX_LOWER) : 0;
}

int wxPlotData::GetIndexInBox(double x, double y, double dx, double dy) const
{
    if (!Ok() || !(dx >= 0) || !(dy >= 0))
        return -1;
    wxPlotDataRefData* d = Data();
    return d->m_nearest.Nearest(d->m_store->x.data(), d->m_store->y.data(), d->m_count,
                                d->m_sorted, {x, y, dx, dy, dx, dy});
}
