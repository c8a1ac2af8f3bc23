#include "IntRange.h"

bool IntRange::Touches(const IntRange& r) const
{
    if (IsEmpty() || r.IsEmpty())
        return false;
    // 64-bit so that the +-1 steps cannot overflow at the int limits.
    const long long lo = (long long)m_min - 1;
    const long long hi = (long long)m_max + 1;
    return (r.m_min >= lo && r.m_min <= hi) || (r.m_max >= lo && r.m_max <= hi);
}

bool IntRange::Delete(const IntRange& r, IntRange* right)
{
    if (r.IsEmpty() || r.m_min < m_min || r.m_max > m_max)
        return false;
    if (right)
        *right = wxEmptyIntRange;

    if (r.m_min == m_min)
    {
        if (r.m_max < m_max)
            m_min = r.m_max + 1;
        else
            *this = wxEmptyIntRange;
    }
    else if (r.m_max == m_max)
    {
        m_max = r.m_min - 1;
    }
    else
    {
        if (right)
            *right = IntRange(r.m_max + 1, m_max);
        m_max = r.m_min - 1;
    }
    return true;
}
