// Cost of the oscilloscope's recording path (each live frame appends one
// point to each of ten curves and recomputes its bounds) as the curves grow,
// and of the lookups the drawer and the map model make on long curves.

#include "wxPlotData.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace
{

const int kChannels = 10;

// One live frame: the sample of every channel goes onto its curve.
inline void Frame(std::vector<wxPlotData>& curves, double t)
{
    for (int ch = 0; ch < kChannels; ++ch)
    {
        wxPlotData& c = curves[ch];
        c = c.AppendPoint(c.GetCount(), 3.0 + std::sin(t * 0.01 + ch), 0.0);
        c.CalcBoundingRect();
    }
}

std::vector<wxPlotData> Recording(int points)
{
    std::vector<wxPlotData> curves(kChannels);
    for (wxPlotData& c : curves)
    {
        c.Create(1);
        c.m_drawLines = true;
        c.m_drawPoints = false;
        c.CalcBoundingRect();
    }
    for (int i = 1; i < points; ++i)
        Frame(curves, i);
    return curves;
}

// Frames on curves that already hold N points; the run appends N/10 more
// frames, so it crosses the buffer growth that falls in that stretch.
void BM_FrameAtLength(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::vector<wxPlotData> curves = Recording(n);
    double t = n;
    double worst = 0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        Frame(curves, t);
        const auto stop = std::chrono::steady_clock::now();
        worst = std::max(worst, std::chrono::duration<double, std::micro>(stop - start).count());
        t += 1;
    }
    benchmark::DoNotOptimize(curves[0].GetBoundingRect());
    state.counters["worst_frame_us"] = worst;
    state.counters["points"] = curves[0].GetCount();
}
BENCHMARK(BM_FrameAtLength)->Arg(10000)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameAtLength)->Arg(100000)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameAtLength)->Arg(1000000)->Iterations(100000)->Unit(benchmark::kMicrosecond);

// A whole recording from the first frame to N, averaged per frame: every
// buffer growth on the way is in the figure.
void BM_RecordingPerFrame(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state)
    {
        std::vector<wxPlotData> curves = Recording(n);
        benchmark::DoNotOptimize(curves[0].GetBoundingRect());
        state.PauseTiming();
        curves.clear();
        state.ResumeTiming();
    }
    state.counters["per_frame"] = benchmark::Counter(
        double(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecordingPerFrame)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

wxPlotData SortedCurve(int n)
{
    wxPlotData d(n);
    double* x = d.GetXData();
    double* y = d.GetYData();
    for (int i = 0; i < n; ++i)
    {
        x[i] = i * 0.1;
        y[i] = std::sin(i * 0.001);
    }
    d.CalcBoundingRect();
    return d;
}

std::vector<double> Probes(double right)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> pick(-1.0, right + 1.0);
    std::vector<double> xs(4096);
    for (double& x : xs)
        x = pick(rng);
    return xs;
}

void BM_GetIndexFromX(benchmark::State& state)
{
    const wxPlotData d = SortedCurve(int(state.range(0)));
    const std::vector<double> probes = Probes(d.GetBoundingRect().GetRight());
    size_t k = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(d.GetIndexFromX(probes[k], wxPLOTDATA_INDEX_CLOSEST));
        k = (k + 1) & (probes.size() - 1);
    }
}
BENCHMARK(BM_GetIndexFromX)->Arg(1000000)->Unit(benchmark::kNanosecond);

void BM_GetY(benchmark::State& state)
{
    const wxPlotData d = SortedCurve(int(state.range(0)));
    const std::vector<double> probes = Probes(d.GetBoundingRect().GetRight());
    size_t k = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(d.GetY(probes[k]));
        k = (k + 1) & (probes.size() - 1);
    }
}
BENCHMARK(BM_GetY)->Arg(1000000)->Unit(benchmark::kNanosecond);

} // namespace
