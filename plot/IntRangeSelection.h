#pragma once
// The selected point indexes of a data curve: sorted, disjoint closed ranges
// with at least one unselected index between neighbours.

#include "IntRange.h"

#include <vector>

class IntRangeSelection
{
public:
    int GetCount() const { return int(m_ranges.size()); }
    bool IsEmpty() const { return m_ranges.empty(); }
    // Range i, the empty range when i is out of bounds.
    IntRange GetRange(int i) const;
    IntRange operator[](int i) const { return GetRange(i); }
    const std::vector<IntRange>& GetRanges() const { return m_ranges; }
    void Clear() { m_ranges.clear(); }

    // -1 below the first range (or when empty), GetCount() above the last;
    // otherwise the range holding v or the range after which v lies in a gap.
    int Index(int v) const;
    bool IsSelected(int v) const;

    // Adds r, joining every range it overlaps or adjoins. False when r is
    // empty or already selected.
    bool SelectRange(const IntRange& r);
    // Removes r from every range it meets. True when anything changed.
    bool DeselectRange(const IntRange& r);

    bool operator==(const IntRangeSelection& o) const { return m_ranges == o.m_ranges; }
    bool operator!=(const IntRangeSelection& o) const { return !(*this == o); }

private:
    std::vector<IntRange> m_ranges;
};
