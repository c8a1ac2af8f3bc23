// The oscilloscope tab of the main window, fed through the receive path.

#include "PageTestSupport.h"

#include <algorithm>

#include <wx/notebook.h>

#include "GuZhangMa.h"
#include "MapPane.h"
#include "OscylPane.h"
#include "PanelCS.h"

TEST_F(PageTest, OscilloscopeTabIsToldOfEachFrameOnceAfterTheSettingsAndBeforeTheMapPage)
{
    MakeFrame();
    ASSERT_EQ(m_frame->m_notebook->GetPageText(3), wxString(L"示波器"));
    ASSERT_EQ(m_frame->m_notebook->GetPage(3), m_frame->m_oscylPage);
    PlotOscyl* plot = m_frame->m_oscylPage->m_plot;
    // Registered by the main window's attach cascade; asked again, it stays
    // registered once.
    plot->OnAttach();
    const auto& list = theController->m_observers;
    auto at = [&](const ControllerObserver* o) { return std::find(list.begin(), list.end(), o) - list.begin(); };
    EXPECT_LT(at(m_frame->m_settingsPage), at(plot));
    EXPECT_LT(at(plot), at(m_frame->m_mapPage));
    EXPECT_LT(at(m_frame->m_mapPage), at(m_frame->m_faultPage));
    EXPECT_LT(at(m_frame->m_faultPage), at(m_frame));
    EXPECT_EQ(std::count(list.begin(), list.end(), static_cast<ControllerObserver*>(plot)), 1);

    for (int frame = 1; frame <= 3; ++frame) {
        ReplyLive(LivePayloadBuilder().Rpm(static_cast<unsigned>(10 * frame)));
        EXPECT_EQ(plot->GetChannel(9)->GetCount(), frame + 1);
        EXPECT_DOUBLE_EQ(plot->GetChannel(9)->GetYValue(frame), frame * 1.0);
    }
}
