#pragma once
// The main of the benchmarks that need the toolkit started (and a display:
// run them under Xvfb). cleanup runs before the toolkit goes, for the
// windows the benchmarks made.

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <functional>

inline int RunGuiBenchmarks(int argc, char** argv, const std::function<void()>& cleanup)
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
    cleanup();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
