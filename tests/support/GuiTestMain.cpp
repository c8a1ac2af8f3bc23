// Shared main for GUI tests: starts the toolkit without showing a window and
// turns every toolkit assertion into a test failure.

#include "GuiTest.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{
int g_assertions = 0;

// Xvfb, unless started with -noreset, resets itself whenever its last client
// leaves and refuses connections meanwhile: with tests starting one after
// another, now and then one found no display. A connection of our own, tried
// until the server takes it, lets the toolkit's find the server up and keeps
// it from resetting until this process ends.
Display* HoldDisplay()
{
    if (!std::getenv("DISPLAY"))
        return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;)
    {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (std::chrono::steady_clock::now() >= deadline)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

class GuiTestApp : public wxApp
{
public:
    bool OnInit() override { return true; }
};

void FailOnAssert(const wxString& file, int line, const wxString& func,
                  const wxString& cond, const wxString& msg)
{
    ++g_assertions;
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "toolkit assertion in " << func.utf8_str().data() << ": "
        << cond.utf8_str().data() << " " << msg.utf8_str().data();
}
}

int guitest::AssertionCount()
{
    return g_assertions;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (done by CTest before a run) needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    Display* held = HoldDisplay();
    struct Release
    {
        Display* display;
        ~Release()
        {
            if (display)
                XCloseDisplay(display);
        }
    } release{held};

    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot start the toolkit (no display?)\n");
        return 2;
    }
    if (!wxTheApp->CallOnInit()) {
        wxEntryCleanup();
        return 2;
    }
    wxSetAssertHandler(FailOnAssert);
    // Log messages would open modal boxes; print them instead.
    delete wxLog::SetActiveTarget(new wxLogStderr);

    const int result = RUN_ALL_TESTS();

    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
