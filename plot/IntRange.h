#pragma once
// A closed range of point indexes; empty when min > max.

class IntRange
{
public:
    constexpr IntRange() : m_min(0), m_max(-1) {}
    constexpr IntRange(int min, int max) : m_min(min), m_max(max) {}

    bool IsEmpty() const { return m_min > m_max; }
    bool Contains(int v) const { return m_min <= v && v <= m_max; }
    bool Contains(const IntRange& r) const
        { return !r.IsEmpty() && !IsEmpty() && m_min <= r.m_min && r.m_max <= m_max; }

    // True when an end of r lies within [min - 1, max + 1] (neither empty).
    // Only the ends of r are tested: a range reaching past both sides does
    // not touch.
    bool Touches(const IntRange& r) const;

    // Removes r, which must lie inside this range (else false, unchanged).
    // A cut from the middle leaves the upper part in *right; right is set to
    // the empty range first when given.
    bool Delete(const IntRange& r, IntRange* right = nullptr);

    bool operator==(const IntRange& o) const { return m_min == o.m_min && m_max == o.m_max; }
    bool operator!=(const IntRange& o) const { return !(*this == o); }

    int m_min;
    int m_max;
};

inline constexpr IntRange wxEmptyIntRange(0, -1);
