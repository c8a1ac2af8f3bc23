// The plot control under the mouse and keys: moving the rubber band and the
// cross hair, stepping the cursor and selecting on a 1 M-point curve,
// selecting by band, the closest-point search, and a function curve drawn.
// Needs a display (run under Xvfb):
//   xvfb-run -a build/bench/plot_input_bench

#include "wxPlotCtrl.h"
#include "wxPlotFunction.h"

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace
{

const int kAreaWidth = 800, kAreaHeight = 400;
const int kPoints = 1000000;

// A shown control whose area is 800 x 400, painted as its paint handler
// paints (the back buffer, re-rendered when dirty, then the overlays).
class BenchPlot : public wxPlotCtrl
{
public:
    explicit BenchPlot(wxWindow* parent) : wxPlotCtrl(parent, wxID_ANY)
    {
        SetSnapTicksToPixels(false);
        SetShowKey(false);
        m_fitOnNewCurve = false;
        SetSize(kAreaWidth + 100, kAreaHeight + 100);
        // Grow the control until its area has the size asked for.
        for (int i = 0; i < 3; ++i)
        {
            const wxSize area = GetPlotArea()->GetClientSize();
            const wxSize size = GetSize();
            SetSize(size.x + kAreaWidth - area.x, size.y + kAreaHeight - area.y);
            DoSize();
        }
        m_target.Create(kAreaWidth, kAreaHeight);
        m_paint.reset(static_cast<wxPaintEvent*>(wxCreateDynamicObject("wxPaintEvent")));
    }
    void Paint()
    {
        wxMemoryDC dc(m_target);
        DrawAreaWindow(*m_paint, &dc, GetPlotArea());
    }
    bool AreaRerenders() const { return (m_dirtyFlags & wxPLOTCTRL_REDRAW_PLOT) != 0; }
    wxSize AreaSize() const { return m_areaSize.GetSize(); }
    void Motion(int x, int y, bool left)
    {
        wxMouseEvent event(wxEVT_MOTION);
        event.m_x = x;
        event.m_y = y;
        event.m_leftDown = left;
        event.SetEventObject(GetPlotArea());
        ProcessAreaMouseEvent(event);
    }
    void Char(int key)
    {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = key;
        event.SetEventObject(GetPlotArea());
        ProcessAreaCharEvent(event);
    }
    void BatchedXRange(const DoubleRange& range, bool select)
    {
        // As a band released in the area does it: the whole repaint is
        // left to the next paint.
        ++m_batchCount;
        if (select)
            SelectXRange(0, range, true);
        else
            DeselectXRange(0, range, true);
        --m_batchCount;
        Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
    }

private:
    wxBitmap m_target;
    std::unique_ptr<wxPaintEvent> m_paint;
};

wxFrame* Frame()
{
    static wxFrame* frame = nullptr;
    if (!frame)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1000, 600));
        frame->Show();
    }
    return frame;
}

// n points with sorted x = 0, 1, ... (or x shuffled), y noisy round level.
wxPlotData* Noisy(int n, double level, bool sorted, unsigned seed)
{
    auto* data = new wxPlotData(n);
    double* xs = data->GetXData();
    double* ys = data->GetYData();
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-0.3, 0.3);
    for (int i = 0; i < n; ++i)
    {
        xs[i] = i;
        ys[i] = level + 0.5 * std::sin(i * 1e-4) + noise(rng);
    }
    if (!sorted)
        std::shuffle(xs, xs + n, rng);
    data->CalcBoundingRect();
    data->SetDrawLines(sorted);
    data->SetDrawPoints(!sorted);
    return data;
}

std::unique_ptr<BenchPlot> PlotWith(wxPlotData* data)
{
    std::unique_ptr<BenchPlot> plot(new BenchPlot(Frame()));
    plot->AddCurve(data, true);
    plot->FitToCurve(-1);
    plot->Paint();
    return plot;
}

void CheckArea(benchmark::State& state, const BenchPlot& plot)
{
    if (plot.AreaSize() != wxSize(kAreaWidth, kAreaHeight))
        state.SkipWithError("area is not 800 x 400");
}

// A drag moving the band, each move painted: the back buffer is copied and
// the band drawn over it; nothing is rendered again.
void BM_MoveBand(benchmark::State& state)
{
    auto plot = PlotWith(Noisy(100000, 5, true, 1));
    CheckArea(state, *plot);
    plot->Motion(100, 100, true);
    int k = 0, rerenders = 0;
    for (auto _ : state)
    {
        plot->Motion(300 + (k & 63), 250 + (k & 31), true);
        rerenders += plot->AreaRerenders();
        plot->Paint();
        ++k;
    }
    plot->EndMouseDrag(true);
    state.counters["rerenders"] = rerenders;
}
BENCHMARK(BM_MoveBand)->Unit(benchmark::kMicrosecond);

void BM_MoveCrosshair(benchmark::State& state)
{
    auto plot = PlotWith(Noisy(100000, 5, true, 1));
    CheckArea(state, *plot);
    plot->SetCrossHairCursor(true);
    plot->Paint();
    int k = 0, rerenders = 0;
    for (auto _ : state)
    {
        plot->Motion(200 + (k & 127), 100 + (k & 63), false);
        rerenders += plot->AreaRerenders();
        plot->Paint();
        ++k;
    }
    state.counters["rerenders"] = rerenders;
}
BENCHMARK(BM_MoveCrosshair)->Unit(benchmark::kMicrosecond);

// "." and "," on a visible sorted 1 M-point curve: the cursor moves one
// point and the two stretches of the back buffer are rendered again.
void BM_CursorStep(benchmark::State& state)
{
    auto plot = PlotWith(Noisy(kPoints, 5, true, 2));
    CheckArea(state, *plot);
    plot->SetCursorDataIndex(0, kPoints / 2);
    plot->Paint();
    int k = 0, rerenders = 0;
    for (auto _ : state)
    {
        plot->Char((k++ & 1) ? ',' : '.');
        rerenders += plot->AreaRerenders();
    }
    state.counters["rerenders"] = rerenders;
}
BENCHMARK(BM_CursorStep)->Unit(benchmark::kMicrosecond);

// One point selected and deselected in turn on the same curve.
void BM_PointSelect(benchmark::State& state)
{
    auto plot = PlotWith(Noisy(kPoints, 5, true, 3));
    CheckArea(state, *plot);
    bool select = true;
    int rerenders = 0;
    for (auto _ : state)
    {
        plot->SelectDataRange(0, IntRange(kPoints / 3, kPoints / 3), select, true);
        select = !select;
        rerenders += plot->AreaRerenders();
    }
    state.counters["rerenders"] = rerenders;
}
BENCHMARK(BM_PointSelect)->Unit(benchmark::kMicrosecond);

// A vertical band over a fifth of the curve, selected and deselected in turn.
void BM_BandSelect(benchmark::State& state)
{
    const bool sorted = state.range(0) != 0;
    auto plot = PlotWith(Noisy(kPoints, 5, sorted, 4));
    bool select = true;
    for (auto _ : state)
    {
        plot->BatchedXRange(DoubleRange(0.4 * kPoints, 0.6 * kPoints), select);
        select = !select;
    }
    state.SetLabel(sorted ? "sorted" : "unsorted");
}
BENCHMARK(BM_BandSelect)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The click's search over ten sorted 1 M-point curves whose bounds all
// overlap the click, so that a miss examines every curve. Arg 0: the view
// shows 200 points of each, as the oscilloscope does; arg 1: all of them, so
// that two pixels hold 2 500 points of each curve.
void BM_FindClosestPoint(benchmark::State& state)
{
    std::unique_ptr<BenchPlot> plot(new BenchPlot(Frame()));
    for (int c = 0; c < 10; ++c)
        plot->AddCurve(Noisy(kPoints, 5 + 0.01 * c, true, 10 + c), false);
    const double width = state.range(0) ? kPoints : 200;
    plot->SetViewRect(wxRect2DDouble(kPoints - width, 0, width, 10));
    const wxPoint2DDouble d(2 / plot->GetZoomX(), 2 / plot->GetZoomY());
    int hits = 0, k = 0;
    for (auto _ : state)
    {
        int curve, index;
        wxPoint2DDouble found;
        const wxPoint2DDouble pt(kPoints - width + width * (k++ % 97) / 97.0, 5.5);
        hits += plot->FindClosestPoint(pt, d, curve, index, found);
    }
    state.counters["hits"] = hits;
    state.SetLabel(state.range(0) ? "whole curve in view" : "200 points in view");
}
BENCHMARK(BM_FindClosestPoint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The function curve of the demo drawn across the 800 columns of the area.
void BM_DrawFunctionCurve(benchmark::State& state)
{
    std::unique_ptr<BenchPlot> plot(new BenchPlot(Frame()));
    auto* f = new wxPlotFunction;
    if (!f->Create(wxS("sin(x)*exp(-x/10)")))
    {
        state.SkipWithError("did not compile");
        return;
    }
    plot->AddCurve(f);
    plot->SetViewRect(wxRect2DDouble(0, -1, 40, 2));
    CheckArea(state, *plot);
    wxBitmap bitmap(kAreaWidth, kAreaHeight);
    wxMemoryDC dc(bitmap);
    for (auto _ : state)
        plot->DrawCurve(&dc, f, 0, wxRect(0, 0, kAreaWidth, kAreaHeight));
}
BENCHMARK(BM_DrawFunctionCurve)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [] { Frame()->Destroy(); });
}
