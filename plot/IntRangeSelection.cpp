#include "IntRangeSelection.h"

#include "RangeSpan.h"

IntRange IntRangeSelection::GetRange(int i) const
{
    if (i < 0 || i >= GetCount())
        return wxEmptyIntRange;
    return m_ranges[i];
}

int IntRangeSelection::Index(int v) const
{
    return rangespan::Nearest(m_ranges, v);
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
    const auto span = rangespan::Meeting(m_ranges, (long long)r.m_min - 1, (long long)r.m_max + 1);
    return rangespan::Join(m_ranges, span.first, span.second, r);
}

bool IntRangeSelection::DeselectRange(const IntRange& r)
{
    if (r.IsEmpty() || m_ranges.empty())
        return false;
    const auto [first, last] = rangespan::Meeting(m_ranges, r.m_min, r.m_max);
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
