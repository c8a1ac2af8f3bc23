#pragma once
// The selected x ranges of a function curve: sorted, disjoint closed ranges;
// ranges that overlap or share an end are joined.

#include "DoubleRange.h"

#include <vector>

class DoubleRangeSelection
{
public:
    int GetCount() const { return int(m_ranges.size()); }
    bool IsEmpty() const { return m_ranges.empty(); }
    // Range i, the empty range when i is out of bounds.
    DoubleRange GetRange(int i) const;
    DoubleRange operator[](int i) const { return GetRange(i); }
    const std::vector<DoubleRange>& GetRanges() const { return m_ranges; }
    void Clear() { m_ranges.clear(); }

    // Index of the range holding v, else -1.
    int Index(double v) const;
    // As IntRangeSelection::Index: -1 below, GetCount() above, else the range
    // holding v or the one after which v lies in a gap (-1 for NaN).
    int NearestIndex(double v) const;
    bool IsSelected(double v) const { return Index(v) >= 0; }

    // Adds r, joining every range it overlaps or touches. False when r is
    // empty (or NaN) or already selected.
    bool SelectRange(const DoubleRange& r);
    // Removes r from the selection. The ranges stay closed, so a range cut by
    // r keeps the cut's end as its own end: [0, 10] minus [3, 5] leaves
    // [0, 3] and [5, 10]; a single point is removed only where it stands
    // alone. True when anything changed.
    bool DeselectRange(const DoubleRange& r);

    bool operator==(const DoubleRangeSelection& o) const { return m_ranges == o.m_ranges; }
    bool operator!=(const DoubleRangeSelection& o) const { return !(*this == o); }

private:
    std::vector<DoubleRange> m_ranges;
};
