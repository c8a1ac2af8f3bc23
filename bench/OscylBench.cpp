// The oscilloscope fed by a controller: the work of one live frame, the
// redraw and paint of the scrolling view at the end of long curves, and the
// memory of a long recording. Needs a display (run under Xvfb):
//   xvfb-run -a build/bench/oscyl_bench

#include "Controller.h"
#include "GuiBenchMain.h"
#include "PlotOscyl.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <cmath>
#include <fstream>
#include <memory>

namespace
{

wxFrame* Frame()
{
    static wxFrame* frame = nullptr;
    if (!frame)
    {
        // About the plot's size on the page of the 850 x 620 main window.
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(700, 360));
        frame->Show();
    }
    return frame;
}

// Readings that move a little with every frame, as a running engine's do.
void NextReadings(Controller& c, long frame)
{
    const double s = std::sin(frame * 0.05);
    c.m_gasPressure = 1.2 + 0.1 * s;
    c.m_manifoldPressure = 0.4 + 0.2 * s;
    c.m_supplyVoltage = 13.8 + 0.3 * s;
    c.m_o2Voltage1 = 0.45 + 0.4 * s;
    c.m_o2Voltage2 = 0.45 - 0.4 * s;
    c.m_petrolInjectionTimes[0] = 3.5 + s;
    c.m_gasInjectionTime = 4.2 + s;
    c.m_gasTemperature = 25 + 5 * s;
    c.m_reducerTemperature = 60 + 5 * s;
    c.m_rpm = 8 + 2 * s;
}

// A controller of its own and a plot on the frame, its curves grown to
// points by live frames.
struct Scope
{
    explicit Scope(long points)
    {
        theController = new Controller;
        plot = new PlotOscyl(Frame(), wxID_ANY, 0x220);
        plot->SetSize(Frame()->GetClientSize());
        plot->DoSize();
        while (frame + 1 < points)
            Step();
    }
    ~Scope()
    {
        delete plot;
        delete theController;
        theController = nullptr;
    }
    void Step()
    {
        NextReadings(*theController, frame++);
        plot->OnControllerData();
    }

    PlotOscyl* plot = nullptr;
    long frame = 0;
};

// One live frame: ten appends, the bounds and the scroll (the view moved
// and its redraw asked for); the paint that follows is not counted here.
void BM_OscylFrame(benchmark::State& state)
{
    Scope scope(state.range(0));
    for (auto _ : state)
        scope.Step();
    state.counters["points"] = double(scope.plot->GetChannel(0)->GetCount());
}
BENCHMARK(BM_OscylFrame)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Redraw and paint of the 200-wide view at the end of the ten curves:
// ticks, the back buffers of the area and both axes rebuilt and copied out
// by the paint handlers (onto bitmaps standing in for the windows).
void BM_OscylRedrawAndPaint(benchmark::State& state)
{
    Scope scope(state.range(0));
    PlotOscyl* plot = scope.plot;
    struct Target
    {
        wxWindow* window;
        wxBitmap screen;
    };
    Target targets[] = {{plot->GetPlotArea(), {}}, {plot->GetPlotXAxis(), {}}, {plot->GetPlotYAxis(), {}}};
    for (Target& t : targets)
        t.screen.Create(t.window->GetClientSize());
    // Only the toolkit constructs paint events; its class information can.
    std::unique_ptr<wxPaintEvent> paint(wxDynamicCast(wxCreateDynamicObject("wxPaintEvent"), wxPaintEvent));
    long painted = 0;
    for (auto _ : state)
    {
        plot->Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
        for (Target& t : targets)
        {
            wxMemoryDC dc(t.screen);
            if (t.window == plot->GetPlotArea())
                plot->DrawAreaWindow(*paint, &dc, plot->GetPlotArea());
            else
                plot->DrawAxisWindow(*paint, &dc, static_cast<wxPlotCtrlAxis*>(t.window));
        }
        painted += (plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_EVERYTHING) == 0;
    }
    // Each redraw asked for was painted: 1.
    state.counters["painted"] = double(painted) / double(state.iterations());
    state.counters["area_px"] = double(plot->GetAreaSize().width * plot->GetAreaSize().height);
}
BENCHMARK(BM_OscylRedrawAndPaint)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// One live frame as the user sees it, once the view scrolls: the samples,
// the scroll, and the paint of what it made dirty (the area and the x axis)
// through the toolkit's own paint path.
void BM_OscylLiveFramePainted(benchmark::State& state)
{
    Scope scope(state.range(0));
    PlotOscyl* plot = scope.plot;
    // Until the window is mapped, nothing paints.
    for (int i = 0; i < 100 && (plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_EVERYTHING); ++i)
    {
        wxTheApp->Yield();
        Frame()->Update();
    }
    long painted = 0;
    for (auto _ : state)
    {
        scope.Step();
        Frame()->Update();
        painted += (plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_EVERYTHING) == 0;
    }
    // Each frame was painted: 1.
    state.counters["painted"] = double(painted) / double(state.iterations());
    state.counters["area_px"] = double(plot->GetAreaSize().width * plot->GetAreaSize().height);
}
BENCHMARK(BM_OscylLiveFramePainted)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
    {
        if (key == "VmRSS:")
        {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

// A recording of a million frames: the memory it holds. About 16 bytes per
// point and channel (x and y), with room for the curves to grow.
void BM_OscylRecordingMemory(benchmark::State& state)
{
    const long frames = state.range(0);
    for (auto _ : state)
    {
        const long before = ResidentKiB();
        Scope scope(frames + 1);
        const long after = ResidentKiB();
        const double perPoint = (after - before) * 1024.0 / (double(frames) * PlotOscyl::kChannels);
        state.counters["resident_MB"] = ResidentKiB() / 1024.0;
        state.counters["grown_MB"] = (after - before) / 1024.0;
        state.counters["bytes_per_point"] = perPoint;
    }
}
BENCHMARK(BM_OscylRecordingMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [] { Frame()->Destroy(); });
}
