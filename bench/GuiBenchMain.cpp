// The main of the benchmarks that need the toolkit (plot painting and input,
// the oscilloscope): starts it on the display, runs the benchmarks and takes
// down the windows they left. Run them under Xvfb.

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/toplevel.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        fprintf(stderr, "cannot start the toolkit (no display?)\n");
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::vector<wxWindow*> windows(wxTopLevelWindows.begin(), wxTopLevelWindows.end());
    for (wxWindow* window : windows)
        window->Destroy();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
