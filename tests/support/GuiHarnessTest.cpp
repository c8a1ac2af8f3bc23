// Checks the GUI harness itself: a toolkit assertion must fail the test.

#include "GuiTest.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/timer.h>

TEST(GuiHarness, ToolkitAssertionBecomesFailure)
{
    wxGauge* gauge = new wxGauge(guitest::SharedFrame(), wxID_ANY, 14);
    const int before = guitest::AssertionCount();
    // A gauge value beyond its range asserts in the toolkit.
    EXPECT_NONFATAL_FAILURE(gauge->SetValue(15), "toolkit assertion");
    EXPECT_EQ(guitest::AssertionCount(), before + 1);
    gauge->Destroy();
}

TEST(GuiHarness, WaitForDrivesTimers)
{
    wxTimer timer;
    int fired = 0;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++fired; });
    timer.Start(10);
    EXPECT_TRUE(guitest::WaitFor([&] { return fired >= 3; }));
    timer.Stop();
    EXPECT_FALSE(guitest::WaitFor([] { return false; }, std::chrono::milliseconds(20)));
}
