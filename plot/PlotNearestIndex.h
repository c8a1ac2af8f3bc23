#pragma once
// The nearest-point search of a data curve. On sorted x it walks outwards
// from the x asked for, nearest first, and stops where no point further
// out can be nearer; past the block of points around that x it goes block
// by block over a summary of each block's x and y extent (built on the
// first search that needs it), so that a block whose points all lie too
// far away in y costs one look however many points it holds.

#include <vector>

// What a search looks for: the point nearest to (x, y), distances measured
// in units of unitX and unitY (0: that direction does not count), among the
// points within reachX and reachY of it (infinity: any).
struct PlotNearestQuery
{
    double x, y;
    double unitX, unitY;
    double reachX, reachY;
};

class PlotNearestIndex
{
public:
    // Forgets the summary; the points changed.
    void Clear() { m_blocks.clear(); }

    // The index of the nearest point, ties to the lowest index; -1 when no
    // point is within reach or the point asked for is not a number. sorted:
    // the x values never decrease (and are all finite).
    int Nearest(const double* xs, const double* ys, int count, bool sorted,
                const PlotNearestQuery& q);

private:
    struct Block
    {
        double firstX, lastX;   // x of the block's first and last point
        double minY, maxY;      // extent of its y values that are numbers
    };
    const Block& GetBlock(int k, const double* xs, const double* ys, int count);

    std::vector<Block> m_blocks;
    int m_count = 0;   // points the summary was built over
};
