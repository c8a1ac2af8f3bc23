// Curves held by the plot control: ownership, deletion, the active curve
// and the cursor, and the events each change sends.

#include "PlotCtrlTestSupport.h"

namespace
{

// Tells when it is deleted.
class TrackedData : public wxPlotData
{
public:
    TrackedData(int points, bool* deleted) : wxPlotData(points), m_deleted(deleted) {}
    ~TrackedData() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

TEST_F(PlotCtrlTest, CurveHeldAlreadyIsRefusedAndKept)
{
    bool deleted = false;
    auto* curve = new TrackedData(3, &deleted);
    ASSERT_TRUE(m_plot->AddCurve(curve, true, true));
    EXPECT_FALSE(m_plot->AddCurve(curve, true, true));
    EXPECT_FALSE(deleted);
    EXPECT_EQ(1, m_plot->GetCurveCount());
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_CURVE_ADDED));
    EXPECT_EQ(curve, m_plot->GetActiveCurve());
    EXPECT_TRUE(m_plot->DeleteCurve(curve));
    EXPECT_TRUE(deleted);
}

TEST_F(PlotCtrlTest, InvalidCurveIsDeletedNotKept)
{
    bool deleted = false;
    auto* empty = new TrackedData(0, &deleted);   // no points: not valid
    EXPECT_FALSE(m_plot->AddCurve(empty));
    EXPECT_TRUE(deleted);
    EXPECT_EQ(0, m_plot->GetCurveCount());
    EXPECT_FALSE(m_plot->AddCurve(nullptr));
}

TEST_F(PlotCtrlTest, DeletingKeepsTheActiveCurveAndCursorInStep)
{
    struct Case
    {
        const char* name;
        int active;             // active curve (and cursor curve) before
        int deleteAt;
        int activeAfter;        // index of the curve that is active after
        int activeNameAfter;    // which of the four original curves it is, -1 none
        int cursorAfter;        // cursor curve index after, -1 none
    };
    const Case cases[] = {
        {"below the active", 2, 0, 1, 2, 1},
        {"above the active", 2, 3, 2, 2, 2},
        {"the active", 2, 2, 2, 3, -1},
        {"the last, active", 3, 3, 2, 2, -1},
        {"every curve", 2, -1, -1, -1, -1},
    };
    for (const Case& c : cases)
    {
        m_plot->DeleteCurveAt(-1);
        wxPlotCurve* curves[4];
        for (int i = 0; i < 4; ++i)
        {
            curves[i] = Curve({{0, double(i)}, {1, double(i) + 1}});
            ASSERT_TRUE(m_plot->AddCurve(curves[i], false));
        }
        m_plot->SetActiveCurve(c.active);
        m_plot->PlaceCursor(c.active, 1);
        m_log.m_events.clear();

        ASSERT_TRUE(m_plot->DeleteCurveAt(c.deleteAt, true)) << c.name;
        EXPECT_EQ(c.activeAfter, m_plot->GetActiveIndex()) << c.name;
        EXPECT_EQ(c.activeNameAfter < 0 ? nullptr : curves[c.activeNameAfter],
                  m_plot->GetActiveCurve()) << c.name;
        EXPECT_EQ(m_plot->GetActiveCurve(), m_plot->GetCurve(m_plot->GetActiveIndex())) << c.name;
        EXPECT_EQ(c.cursorAfter, m_plot->GetCursorCurveIndex()) << c.name;
        if (c.cursorAfter < 0)
        {
            EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_CURSOR_CHANGED)) << c.name;
        }
        for (const RecordedEvent& e : m_log.m_events)
            EXPECT_TRUE(e.curveHeld) << c.name << ": event " << e.type << " carries a curve not held";
        EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_CURVE_REMOVING)) << c.name;
        ASSERT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_CURVE_REMOVED)) << c.name;
        EXPECT_EQ(c.deleteAt, m_log.Last(wxEVT_PLOTCTRL_CURVE_REMOVED)->curveIndex) << c.name;
    }
}

TEST_F(PlotCtrlTest, DeletingTheActiveCurveAnnouncesNoFreedCurve)
{
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 1}})));
    ASSERT_EQ(1, m_plot->GetActiveIndex());
    ASSERT_TRUE(m_plot->DeleteCurveAt(1, true));
    const RecordedEvent* changing = m_log.Last(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGING);
    ASSERT_NE(nullptr, changing);
    EXPECT_EQ(nullptr, changing->curve);
    EXPECT_EQ(-1, changing->curveIndex);
    EXPECT_EQ(0, m_plot->GetActiveIndex());
}

TEST_F(PlotCtrlTest, VetoedRemovalKeepsEveryCurve)
{
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 1}})));
    m_log.m_veto.insert(wxEVT_PLOTCTRL_CURVE_REMOVING);
    EXPECT_FALSE(m_plot->DeleteCurveAt(0, true));
    EXPECT_FALSE(m_plot->DeleteCurveAt(-1, true));
    EXPECT_EQ(1, m_plot->GetCurveCount());
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_CURVE_REMOVED));
    EXPECT_FALSE(m_plot->DeleteCurveAt(1));
    EXPECT_FALSE(m_plot->DeleteCurveAt(-2));
}

TEST_F(PlotCtrlTest, VetoedActiveChangeKeepsTheActiveCurve)
{
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 1}})));
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 1}, {1, 0}}), false));
    ASSERT_EQ(0, m_plot->GetActiveIndex());
    m_log.m_veto.insert(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGING);
    m_plot->SetActiveCurve(1, true);
    EXPECT_EQ(0, m_plot->GetActiveIndex());
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGED));
    m_log.m_veto.clear();
    m_plot->SetActiveCurve(m_plot->GetCurve(1), true);
    EXPECT_EQ(1, m_plot->GetActiveIndex());
    EXPECT_EQ(m_plot->GetCurve(1), m_log.Last(wxEVT_PLOTCTRL_ACTIVE_CURVE_CHANGED)->curve);
}

TEST_F(PlotCtrlTest, KeyTextNamesEveryCurve)
{
    auto* named = Curve({{0, 0}, {1, 1}});
    named->SetOption(wxS("File.Name"), wxS("petrol.dat"));
    ASSERT_TRUE(m_plot->AddCurve(named));
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 2}})));
    EXPECT_EQ(wxS("petrol.dat\n\n"), m_plot->GetKeyText());
    m_plot->DeleteCurveAt(0);
    EXPECT_EQ(wxS("\n"), m_plot->GetKeyText());
}

} // namespace
