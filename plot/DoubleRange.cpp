#include "DoubleRange.h"

bool DoubleRange::Delete(const DoubleRange& r, DoubleRange* right)
{
    if (r.IsEmpty() || IsEmpty() || r.m_min < m_min || r.m_max > m_max)
        return false;
    if (right)
        *right = wxEmptyDoubleRange;

    if (r.m_min == m_min)
    {
        if (r.m_max < m_max)
            m_min = r.m_max;
        else
            *this = wxEmptyDoubleRange;
    }
    else if (r.m_max == m_max)
    {
        m_max = r.m_min;
    }
    else
    {
        if (right)
            *right = DoubleRange(r.m_max, m_max);
        m_max = r.m_min;
    }
    return true;
}
