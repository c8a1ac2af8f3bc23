#include "DoubleRangeSelection.h"

#include "RangeSpan.h"

#include <algorithm>
#include <cmath>

DoubleRange DoubleRangeSelection::GetRange(int i) const
{
    if (i < 0 || i >= GetCount())
        return wxEmptyDoubleRange;
    return m_ranges[i];
}

int DoubleRangeSelection::NearestIndex(double v) const
{
    return std::isnan(v) ? -1 : rangespan::Nearest(m_ranges, v);
}

int DoubleRangeSelection::Index(double v) const
{
    const int i = NearestIndex(v);
    return (i >= 0 && i < GetCount() && m_ranges[i].Contains(v)) ? i : -1;
}

bool DoubleRangeSelection::SelectRange(const DoubleRange& r)
{
    if (r.IsEmpty())
        return false;
    const auto span = rangespan::Meeting(m_ranges, r.m_min, r.m_max);
    return rangespan::Join(m_ranges, span.first, span.second, r);
}

bool DoubleRangeSelection::DeselectRange(const DoubleRange& r)
{
    if (r.IsEmpty() || m_ranges.empty())
        return false;
    const auto [first, last] = rangespan::Meeting(m_ranges, r.m_min, r.m_max);
    if (first == last)
        return false;

    DoubleRange pieces[2];
    int count = 0;
    if (first->m_min < r.m_min)
        pieces[count++] = DoubleRange(first->m_min, r.m_min);
    if ((last - 1)->m_max > r.m_max)
        pieces[count++] = DoubleRange(r.m_max, (last - 1)->m_max);
    // A single point cut from inside a range leaves it whole.
    if (count == 2 && pieces[0].m_max >= pieces[1].m_min)
    {
        pieces[0].m_max = pieces[1].m_max;
        count = 1;
    }
    // Touching only the ends of what is there changes nothing.
    if (last - first == count && std::equal(first, last, pieces))
        return false;

    auto pos = m_ranges.erase(first, last);
    m_ranges.insert(pos, pieces, pieces + count);
    return true;
}
