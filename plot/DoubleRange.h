#pragma once
// A closed range of x values; empty when min > max (or either is NaN).

class DoubleRange
{
public:
    constexpr DoubleRange() : m_min(0.0), m_max(-1.0) {}
    constexpr DoubleRange(double min, double max) : m_min(min), m_max(max) {}

    bool IsEmpty() const { return !(m_min <= m_max); }
    bool Contains(double v) const { return m_min <= v && v <= m_max; }
    bool Contains(const DoubleRange& r) const
        { return !r.IsEmpty() && !IsEmpty() && m_min <= r.m_min && r.m_max <= m_max; }
    // True when the ranges overlap or share an end (neither empty).
    bool Touches(const DoubleRange& r) const
        { return !IsEmpty() && !r.IsEmpty() && r.m_min <= m_max && m_min <= r.m_max; }

    // Removes r, which must lie inside this range (else false, unchanged).
    // The cut keeps its ends: removing [a, b] from [min, max] leaves
    // [min, a] and [b, max]; the upper part goes to *right when the cut lies
    // strictly inside. right is set to the empty range first when given.
    bool Delete(const DoubleRange& r, DoubleRange* right = nullptr);

    bool operator==(const DoubleRange& o) const { return m_min == o.m_min && m_max == o.m_max; }
    bool operator!=(const DoubleRange& o) const { return !(*this == o); }

    double m_min;
    double m_max;
};

inline constexpr DoubleRange wxEmptyDoubleRange(0.0, -1.0);
