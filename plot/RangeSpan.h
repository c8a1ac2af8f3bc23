#pragma once
// Shared steps of the integer and double range selections, which both keep
// their ranges sorted and disjoint in a vector.

#include <algorithm>
#include <utility>
#include <vector>

namespace rangespan
{

// The stored ranges [first, last) that meet the closed interval lo..hi.
template <class Range, class T>
auto Meeting(std::vector<Range>& ranges, T lo, T hi)
{
    auto first = std::lower_bound(ranges.begin(), ranges.end(), lo,
                                  [](const Range& s, T value) { return s.m_max < value; });
    auto last = first;
    while (last != ranges.end() && last->m_min <= hi)
        ++last;
    return std::make_pair(first, last);
}

// Joins r with the stored ranges [first, last) it meets. False when a single
// stored range already holds r.
template <class Range, class It>
bool Join(std::vector<Range>& ranges, It first, It last, const Range& r)
{
    if (first == last)
    {
        ranges.insert(first, r);
        return true;
    }
    if (last - first == 1 && first->Contains(r))
        return false;
    *first = Range(std::min(r.m_min, first->m_min), std::max(r.m_max, (last - 1)->m_max));
    ranges.erase(first + 1, last);
    return true;
}

// Index of the last range starting at or before v: v lies in it or in the
// gap after it. -1 below the first range or when empty, the count above the
// last one.
template <class Range, class T>
int Nearest(const std::vector<Range>& ranges, T v)
{
    const int n = int(ranges.size());
    if (n < 1 || v < ranges[0].m_min)
        return -1;
    if (v > ranges[n - 1].m_max)
        return n;
    auto it = std::upper_bound(ranges.begin(), ranges.end(), v,
                               [](T value, const Range& r) { return value < r.m_min; });
    return int(it - ranges.begin()) - 1;
}

}
