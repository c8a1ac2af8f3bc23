#include "PlotNearestIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Points per block of the summary.
const int kBlockPoints = 64;
// Curves up to this long are searched point by point: a walk and a
// summary would not pay for themselves.
const int kWalkFrom = 4 * kBlockPoints;

const double kInf = std::numeric_limits<double>::infinity();

// The nearest point found so far.
class Best
{
public:
    explicit Best(const PlotNearestQuery& q) : m_q(q) {}

    // Distance of a point dx, dy away (both >= 0) in the query's units.
    double Distance(double dx, double dy) const
    {
        const double nx = m_q.unitX > 0 ? dx / m_q.unitX : 0.0;
        const double ny = m_q.unitY > 0 ? dy / m_q.unitY : 0.0;
        return nx * nx + ny * ny;
    }
    // A point at least bound away can still win: it would be nearer, or as
    // near with a lower index.
    bool CanWin(double bound, bool lowerIndex) const
    {
        return m_index < 0 || bound < m_distance || (lowerIndex && bound == m_distance);
    }
    void Consider(int i, double x, double y)
    {
        const double dx = std::fabs(x - m_q.x), dy = std::fabs(y - m_q.y);
        if (!(dx <= m_q.reachX && dy <= m_q.reachY))
            return;
        const double d = Distance(dx, dy);
        if (m_index < 0 || d < m_distance || (d == m_distance && i < m_index))
        {
            m_index = i;
            m_distance = d;
        }
    }
    int Index() const { return m_index; }

private:
    const PlotNearestQuery& m_q;
    int m_index = -1;
    double m_distance = 0;
};

// How far y lies outside lo..hi (infinity when the range is empty).
double OutsideBy(double y, double lo, double hi)
{
    if (y < lo)
        return lo - y;
    if (y > hi)
        return y - hi;
    return lo <= hi ? 0.0 : kInf;
}
} // namespace

const PlotNearestIndex::Block& PlotNearestIndex::GetBlock(int k, const double* xs,
                                                          const double* ys, int count)
{
    if (m_blocks.empty() || m_count != count)
    {
        m_count = count;
        m_blocks.resize((count + kBlockPoints - 1) / kBlockPoints);
        for (size_t b = 0; b < m_blocks.size(); ++b)
        {
            const int first = int(b) * kBlockPoints;
            const int end = std::min(first + kBlockPoints, count);
            double lo = kInf, hi = -kInf;
            for (int i = first; i < end; ++i)
            {
                // Not a number compares false and stays out.
                const double y = ys[i];
                lo = y < lo ? y : lo;
                hi = y > hi ? y : hi;
            }
            m_blocks[b] = {xs[first], xs[end - 1], lo, hi};
        }
    }
    return m_blocks[k];
}

int PlotNearestIndex::Nearest(const double* xs, const double* ys, int count, bool sorted,
                              const PlotNearestQuery& q)
{
    Best best(q);
    if (std::isnan(q.x) || std::isnan(q.y) || count <= 0)
        return -1;
    if (!sorted || count <= kWalkFrom)
    {
        for (int i = 0; i < count; ++i)
            best.Consider(i, xs[i], ys[i]);
        return best.Index();
    }

    // Outwards on both sides, the nearer side first. Going right the
    // indexes grow, so a point as near as the best loses; going left they
    // fall, so it wins.
    int right = int(std::lower_bound(xs, xs + count, q.x) - xs);
    int left = right - 1;
    auto blockEnd = [&](int k) { return std::min((k + 1) * kBlockPoints, count); };
    for (;;)
    {
        // The x distance of the nearest point of each side's next piece:
        // the rest of the block the walk is in, or a whole block.
        double dr = kInf, dl = kInf;
        if (right < count)
        {
            dr = (right % kBlockPoints ? xs[right]
                                       : GetBlock(right / kBlockPoints, xs, ys, count).firstX) - q.x;
            if (!(dr <= q.reachX) || !best.CanWin(best.Distance(dr, 0), false))
                right = count;
        }
        if (left >= 0)
        {
            const int k = left / kBlockPoints;
            dl = q.x - (left == blockEnd(k) - 1 ? GetBlock(k, xs, ys, count).lastX : xs[left]);
            if (!(dl <= q.reachX) || !best.CanWin(best.Distance(dl, 0), true))
                left = -1;
        }
        if (right >= count && left < 0)
            break;

        if (right < count && (left < 0 || dr <= dl))
        {
            const int k = right / kBlockPoints, end = blockEnd(k);
            if (right % kBlockPoints == 0)
            {
                const Block& b = GetBlock(k, xs, ys, count);
                const double dy = OutsideBy(q.y, b.minY, b.maxY);
                if (!(dy <= q.reachY) || !best.CanWin(best.Distance(dr, dy), false))
                {
                    right = end;
                    continue;
                }
            }
            for (; right < end; ++right)
            {
                const double dx = xs[right] - q.x;
                if (!(dx <= q.reachX) || !best.CanWin(best.Distance(dx, 0), false))
                {
                    right = count;
                    break;
                }
                best.Consider(right, xs[right], ys[right]);
            }
        }
        else
        {
            const int k = left / kBlockPoints, begin = k * kBlockPoints;
            if (left == blockEnd(k) - 1)
            {
                const Block& b = GetBlock(k, xs, ys, count);
                const double dy = OutsideBy(q.y, b.minY, b.maxY);
                if (!(dy <= q.reachY) || !best.CanWin(best.Distance(dl, dy), true))
                {
                    left = begin - 1;
                    continue;
                }
            }
            for (; left >= begin; --left)
            {
                const double dx = q.x - xs[left];
                if (!(dx <= q.reachX) || !best.CanWin(best.Distance(dx, 0), true))
                {
                    left = -1;
                    break;
                }
                best.Consider(left, xs[left], ys[left]);
            }
        }
    }
    return best.Index();
}
