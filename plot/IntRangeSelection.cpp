#include "IntRangeSelection.h"

#include <algorithm>

IntRange IntRangeSelection::GetRange(int i) const
{
    if (i < 0 || i >= GetCount())
        return wxEmptyIntRange;
    return m_ranges[i];
}

int IntRangeSelection::Index(int v) const
{
    const int n = GetCount();
    if (n < 1 || v < m_ranges[0].m_min)
        return -1;
    if (v > m_ranges[n - 1].m_max)
        return n;
    // Last range starting at or before v: v is in it or in the gap after it.
    auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), v,
                               [](int value, const IntRange& r) { return value < r.m_min; });
    return int(it - m_ranges.begin()) - 1;
}

bool IntRangeSelection::IsSelected(int v) const
{
    const int i = Index(v);
    return i >= 0 && i < GetCount() && m_ranges[i].Contains(v);
}

bool IntRangeSelection::SelectRange(const IntRange& r)
{
    if (r.IsEmpty())
        return false;
    // 64-bit so that adjacency at the int limits cannot overflow.
    const long long lo = (long long)r.m_min - 1;
    const long long hi = (long long)r.m_max + 1;
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), lo,
                                  [](const IntRange& s, long long value) { return s.m_max < value; });
    auto last = first;
    while (last != m_ranges.end() && last->m_min <= hi)
        ++last;

    if (first == last)
    {
        m_ranges.insert(first, r);
        return true;
    }
    if (last - first == 1 && first->Contains(r))
        return false;

    const IntRange merged(std::min(r.m_min, first->m_min), std::max(r.m_max, (last - 1)->m_max));
    *first = merged;
    m_ranges.erase(first + 1, last);
    return true;
}

bool IntRangeSelection::DeselectRange(const IntRange& r)
{
    if (r.IsEmpty() || m_ranges.empty())
        return false;
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), r.m_min,
                                  [](const IntRange& s, int value) { return s.m_max < value; });
    auto last = first;
    while (last != m_ranges.end() && last->m_min <= r.m_max)
        ++last;
    if (first == last)
        return false;

    // What is left of the first and the last range met, outside r.
    IntRange pieces[2];
    int count = 0;
    if (first->m_min < r.m_min)
        pieces[count++] = IntRange(first->m_min, r.m_min - 1);
    if ((last - 1)->m_max > r.m_max)
        pieces[count++] = IntRange(r.m_max + 1, (last - 1)->m_max);

    auto pos = m_ranges.erase(first, last);
    m_ranges.insert(pos, pieces, pieces + count);
    return true;
}
