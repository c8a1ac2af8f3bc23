#include "DoubleRangeSelection.h"

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
    const int n = GetCount();
    if (n < 1 || std::isnan(v) || v < m_ranges[0].m_min)
        return -1;
    if (v > m_ranges[n - 1].m_max)
        return n;
    auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), v,
                               [](double value, const DoubleRange& r) { return value < r.m_min; });
    return int(it - m_ranges.begin()) - 1;
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
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), r.m_min,
                                  [](const DoubleRange& s, double value) { return s.m_max < value; });
    auto last = first;
    while (last != m_ranges.end() && last->m_min <= r.m_max)
        ++last;

    if (first == last)
    {
        m_ranges.insert(first, r);
        return true;
    }
    if (last - first == 1 && first->Contains(r))
        return false;

    *first = DoubleRange(std::min(r.m_min, first->m_min), std::max(r.m_max, (last - 1)->m_max));
    m_ranges.erase(first + 1, last);
    return true;
}

bool DoubleRangeSelection::DeselectRange(const DoubleRange& r)
{
    if (r.IsEmpty() || m_ranges.empty())
        return false;
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), r.m_min,
                                  [](const DoubleRange& s, double value) { return s.m_max < value; });
    auto last = first;
    while (last != m_ranges.end() && last->m_min <= r.m_max)
        ++last;
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
