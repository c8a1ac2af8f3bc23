// Painting the plot control's area, the oscilloscope's scrolling window and
// the tick computation. Needs a display (run under Xvfb):
//   xvfb-run -a build/bench/plot_ctrl_bench

#include "wxPlotCtrl.h"

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{

const int kCurves = 10;

// A control whose area is exactly w x h, rendered as its back buffer is.
class BenchPlot : public wxPlotCtrl
{
public:
    BenchPlot(wxWindow* parent, int w, int h) : wxPlotCtrl(parent, wxID_ANY)
    {
        SetSnapTicksToPixels(false);
        m_areaSize = wxRect(0, 0, w, h);
        m_buffer.Create(w, h);
        m_fitOnNewCurve = false;
    }
    void Render()
    {
        wxMemoryDC dc(m_buffer);
        DrawArea(&dc, m_areaSize);
    }
    void SetTickView(double start, double width)
    {
        m_viewRect = wxRect2DDouble(start, start, width, width);
    }

private:
    wxBitmap m_buffer;
};

wxFrame* Frame()
{
    static wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "bench");
    return frame;
}

// A noisy channel of n points at x = 0, 1, 2, ...
wxPlotData* Channel(int n, int channel)
{
    auto* data = new wxPlotData(n);
    double* xs = data->GetXData();
    double* ys = data->GetYData();
    std::mt19937 rng(channel);
    std::uniform_real_distribution<double> noise(-0.15, 0.15);
    for (int i = 0; i < n; ++i)
    {
        xs[i] = i;
        ys[i] = 0.5 + channel * 0.55 + 0.2 * std::sin(i * 0.01 + channel) + noise(rng);
    }
    data->CalcBoundingRect();
    data->SetDrawLines(true);
    data->SetDrawPoints(false);
    return data;
}

std::unique_ptr<BenchPlot> PlotWithChannels(int n, int w, int h)
{
    std::unique_ptr<BenchPlot> plot(new BenchPlot(Frame(), w, h));
    for (int c = 0; c < kCurves; ++c)
        plot->AddCurve(Channel(n, c), false);
    plot->SetActiveCurve(-1);
    return plot;
}

// Ten curves of 100 000 points, all of them in an 800 x 400 view.
void BM_PaintTenCurvesWhole(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto plot = PlotWithChannels(n, 800, 400);
    plot->SetViewRect(wxRect2DDouble(0, 0, n, 6));
    for (auto _ : state)
        plot->Render();
    state.counters["points"] = double(n) * kCurves;
}
BENCHMARK(BM_PaintTenCurvesWhole)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same with 100 short selections on each curve, spread over it.
void BM_PaintTenCurvesSelected(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto plot = PlotWithChannels(n, 800, 400);
    plot->SetViewRect(wxRect2DDouble(0, 0, n, 6));
    for (int c = 0; c < kCurves; ++c)
        for (int k = 0; k < 100; ++k)
        {
            const int first = int((k + 0.3 + 0.01 * c) * (n / 100.0));
            plot->SelectDataRange(c, IntRange(first, first + 20), true);
        }
    for (auto _ : state)
        plot->Render();
    state.counters["selections"] = double(plot->GetSelectionCount(0));
}
BENCHMARK(BM_PaintTenCurvesSelected)->Arg(100000)->Unit(benchmark::kMillisecond);

// The oscilloscope: a 200-unit window at the end of each curve.
void BM_PaintScopeWindow(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto plot = PlotWithChannels(n, 800, 400);
    plot->SetViewRect(wxRect2DDouble(n - 190, 0, 200, 6));
    for (auto _ : state)
        plot->Render();
}
BENCHMARK(BM_PaintScopeWindow)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

// One live frame on the oscilloscope: a point appended to each of the ten
// curves, the view moved on, the redraw of area and axes, and the paint.
void BM_ScopeFrame(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto plot = PlotWithChannels(n, 800, 400);
    plot->SetViewRect(wxRect2DDouble(n - 190, 0, 200, 6));
    double t = n;
    for (auto _ : state)
    {
        for (int c = 0; c < kCurves; ++c)
        {
            wxPlotData* data = plot->GetDataCurve(c);
            *data = data->AppendPoint(t, 0.5 + c * 0.55, 0.0);
            data->CalcBoundingRect();
        }
        t += 1;
        plot->SetZoom(plot->GetZoomX(), plot->GetZoomY(), t - 190, 0.0);
        plot->Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
        plot->Render();
    }
}
BENCHMARK(BM_ScopeFrame)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// CalcTicks over views from tiny to huge, near and far from zero.
void BM_CalcTicks(benchmark::State& state)
{
    std::unique_ptr<BenchPlot> plot(new BenchPlot(Frame(), 800, 400));
    std::vector<std::pair<double, double>> views;
    for (double start : {0.0, -1e-300, 1e-3, 123.456, -5e7, 1e15, 1e300})
        for (double width : {4.9e-324, 1e-300, 1e-9, 0.37, 21.7, 1e6, 1e200})
            views.push_back({start, width});
    size_t k = 0;
    int most = 0;
    for (auto _ : state)
    {
        plot->SetTickView(views[k].first, views[k].second);
        plot->CalcTicks(k & 1);
        most = std::max(most, std::max(plot->GetXTickCount(), plot->GetYTickCount()));
        k = (k + 1) % views.size();
    }
    state.counters["most_ticks"] = most;
}
BENCHMARK(BM_CalcTicks)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [] { Frame()->Destroy(); });
}
