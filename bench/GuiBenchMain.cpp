// The main of the benchmarks that need the toolkit started (and a display:
// run them under Xvfb). Windows the benchmarks leave open are destroyed
// before the toolkit goes.

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/toplevel.h>

#include <cstdio>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        std::fprintf(stderr, "cannot start the toolkit (no display?)\n");
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (wxWindow* window : wxTopLevelWindows)
        window->Destroy();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
