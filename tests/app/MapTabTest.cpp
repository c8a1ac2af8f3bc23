// The map tab of the main window: the plot shows the ECU's map, editable,
// and the pressure axis follows the engine type of every parameter frame.
#include "FakeAxis.h"
#include "MapModel.h"
#include "MapPane.h"
#include "PageTestSupport.h"
#include "PlotMap.h"

#include <wx/arrstr.h>

namespace
{

class MapTabTest : public PageTest
{
};

TEST_F(MapTabTest, ShowsTheEcuMapForEditingAndTheScaleOfEachParameterFrame)
{
    MakeFrame();
    const unsigned char points[10] = {20, 40, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const struct
    {
        bool turbo;
        const char* labels;
    } frames[] = {{true, "0 62 125 187 250"}, {false, "0 25 50 75 100"}};
    for (const auto& f : frames)
    {
        ParamPayloadBuilder p;
        p.MapPoints(points).EngineFlags(false, f.turbo);
        BringOnline(p);
        EXPECT_EQ(wxJoin(m_frame->m_mapPage->m_axis->GetLabels(), ' '), f.labels);
    }
    EXPECT_EQ(theMapModel->GetPoints().size(), 3u);
    EXPECT_TRUE(m_frame->m_mapPage->m_plot->IsEnabled());
}

} // namespace
