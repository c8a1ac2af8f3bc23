// The plot events: their types and copies.

#include "wxPlotCtrlEvent.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace
{

TEST(PlotEvent, TwentySevenDistinctTypesNumberedInOrder)
{
    const wxEventType* types = wxPlotCtrlEventTypes();
    std::set<wxEventType> seen;
    for (int i = 0; i < wxPLOTCTRL_EVENT_TYPE_COUNT; ++i)
    {
        EXPECT_NE(wxEVT_NULL, types[i]) << i;
        EXPECT_TRUE(seen.insert(types[i]).second) << "duplicate at " << i;
        if (i > 0)
        {
            EXPECT_EQ(types[i - 1] + 1, types[i]) << "out of order at " << i;
        }
    }
    EXPECT_EQ(27u, seen.size());
    EXPECT_EQ(wxEVT_PLOTCTRL_CURVE_ADDED, types[0]);
    EXPECT_EQ(wxEVT_PLOTCTRL_VIEW_CHANGING, types[13]);
    EXPECT_EQ(wxEVT_PLOTCTRL_ERROR, types[17]);
    EXPECT_EQ(wxEVT_PLOTCTRL_RANGE_SELECTED, types[26]);
}

TEST(PlotEvent, CloneCopiesEveryMemberAndTheVeto)
{
    wxPlotCtrlEvent event(wxEVT_PLOTCTRL_CURSOR_CHANGING, 42);
    wxPlotCurve* curve = reinterpret_cast<wxPlotCurve*>(&event);  // identity only
    event.SetCurve(curve, 3);
    event.SetCurveDataIndex(7);
    event.SetMouseFunction(2);
    event.SetPosition(1.5, -2.5);
    event.SetString(wxS("text"));
    event.Veto();

    std::unique_ptr<wxEvent> copy(event.Clone());
    auto* c = wxDynamicCast(copy.get(), wxPlotCtrlEvent);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(wxEVT_PLOTCTRL_CURSOR_CHANGING, c->GetEventType());
    EXPECT_EQ(42, c->GetId());
    EXPECT_EQ(curve, c->GetCurve());
    EXPECT_EQ(3, c->GetCurveIndex());
    EXPECT_EQ(7, c->GetCurveDataIndex());
    EXPECT_EQ(2, c->GetMouseFunction());
    EXPECT_EQ(1.5, c->GetX());
    EXPECT_EQ(-2.5, c->GetY());
    EXPECT_EQ(wxS("text"), c->GetString());
    EXPECT_FALSE(c->IsAllowed());
}

TEST(PlotEvent, SelectionEventCloneOwnsItsSelection)
{
    std::unique_ptr<wxEvent> copy;
    {
        IntRangeSelection selection;
        selection.SelectRange(IntRange(2, 4));
        selection.SelectRange(IntRange(8, 9));
        wxPlotCtrlSelEvent event(wxEVT_PLOTCTRL_RANGE_SELECTED, 1);
        event.SetDataSelection(selection);
        event.SetDataRange(IntRange(8, 9), true);
        event.SetValueRange(DoubleRange(0.5, 1.5), false);
        copy.reset(event.Clone());
        selection.Clear();
    }
    auto* c = wxDynamicCast(copy.get(), wxPlotCtrlSelEvent);
    ASSERT_NE(nullptr, c);
    ASSERT_EQ(2, c->GetDataSelection().GetCount());
    EXPECT_EQ(IntRange(8, 9), c->GetDataSelection().GetRange(1));
    EXPECT_EQ(IntRange(8, 9), c->GetDataRange());
    EXPECT_EQ(DoubleRange(0.5, 1.5), c->GetValueRange());
    EXPECT_FALSE(c->GetSelecting());  // the value range was set last
}

} // namespace
