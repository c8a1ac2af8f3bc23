// The map page in the main window at its default size: the plot's own work
// per live frame, and one arrow-key step with its repaint. Needs a display
// (run under Xvfb):
//   xvfb-run -a build/bench/plot_map_bench
// Goals: a live frame under 50 us, an arrow step under 10 ms (a held key
// repeats about every 30 ms).

#include "Controller.h"
#include "MapModel.h"
#include "MapPane.h"
#include "MyFrame.h"
#include "ParamPayloadBuilder.h"
#include "PlotMap.h"

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/notebook.h>

#include <cmath>

namespace
{

MyFrame* Frame()
{
    static MyFrame* frame = [] {
        auto* f = new MyFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(850, 620),
                              "bench-Oskat.ini");
        f->m_notebook->SetSelection(1);
        f->Show();
        theController->m_online = 1;
        theController->m_connected = 1;
        // The demo car's map: five points and one on 255.
        ParamPayloadBuilder p;
        const unsigned char points[10] = {20, 35, 50, 70, 90, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        p.MapPoints(points);
        for (unsigned i = 10; i < 256; ++i)
            p.MapEntry(i, static_cast<unsigned char>(112 + 20 * std::exp((10.0 - i) / 40.0)), 0);
        theController->ApplyParameters(p.Payload().data(), p.Payload().size());
        wxTheApp->Yield();
        return f;
    }();
    return frame;
}

// Every ring position holds a sample, as after a pass of the recording.
void FillRings()
{
    for (int i = 0; i < 255; ++i)
    {
        theController->m_petrolSamples[i] = 20 + i * 0.7;
        theController->m_gasSamples[i] = 24 + i * 0.75;
    }
}

// Five new samples from index on, as the engine's load moves.
void NextSamples(uint32_t& index, double& wobble)
{
    wobble = wobble > 0.0 ? 0.0 : 0.5;
    for (uint32_t k = index; k < index + 5 && k < 255; ++k)
    {
        theController->m_petrolSamples[k] = 20 + k * 0.7 + wobble;
        theController->m_gasSamples[k] = 24 + k * 0.75 + wobble;
    }
    theController->m_sampleIndex = index;
    index = (index + 5) % 255;
}

// Ten samples, both bounds, both lines renewed every tenth frame, the live
// lines moved and the redraw asked for; the paint is not part of it.
void BM_LiveFrame(benchmark::State& state)
{
    PlotMap* plot = Frame()->m_mapPage->m_plot;
    FillRings();
    uint32_t index = 0;
    double wobble = 0.0;
    for (auto _ : state)
    {
        state.PauseTiming();
        NextSamples(index, wobble);
        state.ResumeTiming();
        plot->OnControllerData();
    }
    state.counters["lines"] = (plot->m_petrolLine != nullptr) + (plot->m_gasLine != nullptr);
}
BENCHMARK(BM_LiveFrame)->Unit(benchmark::kMicrosecond);

// A live frame as the user sees it: the plot's work and the paint of what
// it made dirty, through the toolkit's own paint path.
void BM_LiveFramePainted(benchmark::State& state)
{
    MyFrame* frame = Frame();
    PlotMap* plot = frame->m_mapPage->m_plot;
    FillRings();
    frame->Update();
    uint32_t index = 0;
    double wobble = 0.0;
    long painted = 0;
    for (auto _ : state)
    {
        NextSamples(index, wobble);
        // The live lines move as a running engine's readings do.
        theController->m_petrolInjectionTimes[0] = 3.0 + wobble;
        theController->m_manifoldPressure = 0.4 + wobble * 0.1;
        plot->OnControllerData();
        frame->Update();
        painted += (plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_EVERYTHING) == 0;
    }
    state.counters["painted"] = double(painted) / double(state.iterations());
    state.counters["area_px"] = plot->GetAreaSize().width * plot->GetAreaSize().height;
}
BENCHMARK(BM_LiveFramePainted)->Unit(benchmark::kMicrosecond);

// Up and down in turn on a selected point: the model, the markers and the
// repaint of area and axes.
void BM_ArrowStep(benchmark::State& state)
{
    MyFrame* frame = Frame();
    PlotMap* plot = frame->m_mapPage->m_plot;
    theMapModel->SelectPointAt(wxPoint2DDouble(5.0, theMapModel->GetPoints()[2].m_value),
                               wxRect2DDouble(0.1, 0.05, 0.2, 0.1));
    wxKeyEvent key(wxEVT_CHAR);
    bool up = true;
    int painted = 0;
    for (auto _ : state)
    {
        key.m_keyCode = up ? WXK_UP : WXK_DOWN;
        up = !up;
        plot->ProcessAreaCharEvent(key);
        frame->Update();
        painted += plot->GetRedrawFlags() == 0;
    }
    state.counters["painted"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
    state.counters["area_px"] = plot->GetAreaSize().width * plot->GetAreaSize().height;
}
BENCHMARK(BM_ArrowStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [] { delete Frame(); });
}
