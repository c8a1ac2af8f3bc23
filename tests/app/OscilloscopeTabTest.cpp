// The oscilloscope tab of the main window, fed through the receive path.

#include "PageTestSupport.h"

#include <algorithm>

#include <wx/notebook.h>

#include "GuZhangMa.h"
#include "OscylPane.h"

namespace
{
int Position(const Controller& c, const ControllerObserver* observer)
{
    const auto it = std::find(c.m_observers.begin(), c.m_observers.end(), observer);
    return it == c.m_observers.end() ? -1 : static_cast<int>(it - c.m_observers.begin());
}
}

TEST_F(PageTest, OscilloscopeTabIsToldOfEachFrameOnceBeforeTheFaultPageAndTheFrame)
{
    MakeFrame();
    ASSERT_EQ(m_frame->m_notebook->GetPageText(3), wxString(L"示波器"));
    ASSERT_EQ(m_frame->m_notebook->GetPage(3), m_frame->m_oscylPage);
    PlotOscyl* plot = m_frame->m_oscylPage->m_plot;

    // Registered by the constructor's attach cascade; asked again, it stays
    // registered once.
    plot->OnAttach();
    const Controller& c = *theController;
    const int plotAt = Position(c, plot);
    EXPECT_GE(plotAt, 0);
    EXPECT_LT(plotAt, Position(c, m_frame->m_faultPage));
    EXPECT_LT(Position(c, m_frame->m_faultPage), Position(c, m_frame));
    EXPECT_EQ(std::count(c.m_observers.begin(), c.m_observers.end(), static_cast<ControllerObserver*>(plot)), 1);

    theController->ResetLink();
    for (int frame = 1; frame <= 3; ++frame) {
        ReplyLive(LivePayloadBuilder().Rpm(static_cast<unsigned>(10 * frame)));
        EXPECT_EQ(plot->GetChannel(9)->GetCount(), frame + 1);
        EXPECT_DOUBLE_EQ(plot->GetChannel(9)->GetYValue(frame), frame * 1.0);
    }
}
