// The plot control's keys: the key table (view, cursor and active curve
// after each key), the modifier keys choosing the mouse function, and keys
// typed for real under Xvfb.

#include "PlotInputSupport.h"

#include <functional>

namespace
{

class PlotKeysTest : public PlotInputTest
{
protected:
    void SetUp() override
    {
        PlotInputTest::SetUp();
        // Curve 0 flat at y 10; curve 1 rising, active.
        ASSERT_TRUE(m_plot->AddCurve(
            Curve({{0, 10}, {10, 10}, {20, 10}, {30, 10}, {40, 10}, {50, 10}}), false));
        ASSERT_TRUE(m_plot->AddCurve(
            Curve({{0, 40}, {20, 44}, {40, 48}, {60, 52}, {80, 56}, {100, 60}}), true));
        Reset();
    }
    void Reset()
    {
        m_plot->SetViewRect(m_view);
        m_plot->ClearViewHistory();
        m_plot->InvalidateCursor();
        m_plot->SetActiveCurve(1);
        m_area->m_lastMousePos = wxPoint(m_size.x / 2, m_size.y / 2);
    }

    const wxRect2DDouble m_view = wxRect2DDouble(0, 0, 200, 100);
};

// View rect w x h with its centre at (100, 50), the centre of m_view.
wxRect2DDouble Centred(double w, double h)
{
    return wxRect2DDouble(100 - w / 2, 50 - h / 2, w, h);
}

TEST_F(PlotKeysTest, KeyTable)
{
    const double third = 0.6666666666666666;
    const wxPoint2DDouble mouse = m_plot->GetAreaMousePlotPoint();
    const wxRect2DDouble fitAll = m_plot->GetCurvesBoundingRect();
    struct Case
    {
        const char* name;
        int key;
        int modifiers;
        std::function<void(wxPlotCtrl*)> before;   // may be empty
        wxRect2DDouble view;
        int cursorCurve, cursorIndex;
        int active;
        int curves;
    };
    const wxRect2DDouble same = wxRect2DDouble(0, 0, 200, 100);
    auto cursorOn = [](int curve, int index) {
        return [=](wxPlotCtrl* p) { p->SetCursorDataIndex(curve, index); };
    };
    const Case cases[] = {
        {"zoom out at the mouse", '-', 0, {},
         {mouse.m_x - 150, mouse.m_y - 75, 300, 150}, -1, -1, 1, 2},
        {"zoom in at the mouse", '=', 0, {},
         {mouse.m_x - 67, mouse.m_y - 33.5, 134, 67}, -1, -1, 1, 2},
        {"q", 'q', 0, {}, Centred(300, 100 / 1.5), -1, -1, 1, 2},
        {"w", 'w', 0, {}, Centred(200, 100 / 1.5), -1, -1, 1, 2},
        {"e", 'e', 0, {}, Centred(200 / 1.5, 100 / 1.5), -1, -1, 1, 2},
        {"a", 'a', 0, {}, Centred(300, 100), -1, -1, 1, 2},
        {"d", 'd', 0, {}, Centred(200 / 1.5, 100), -1, -1, 1, 2},
        {"z", 'z', 0, {}, Centred(300, 100 / third), -1, -1, 1, 2},
        {"x", 'x', 0, {}, Centred(200, 100 / third), -1, -1, 1, 2},
        {"c", 'c', 0, {}, Centred(200 / 1.5, 100 / third), -1, -1, 1, 2},
        {"s fits the active curve", 's', 0, {}, {0, 40, 100, 20}, -1, -1, 1, 2},
        {"S is not s", 'S', wxMOD_SHIFT, {}, same, -1, -1, 1, 2},
        {"[ without history fits all", '[', 0, {}, fitAll, -1, -1, 1, 2},
        {"] without history stays", ']', 0, {}, same, -1, -1, 1, 2},
        {"left", WXK_LEFT, 0, {}, {-20, 0, 200, 100}, -1, -1, 1, 2},
        {"right", WXK_RIGHT, 0, {}, {20, 0, 200, 100}, -1, -1, 1, 2},
        {"up", WXK_UP, 0, {}, {0, 10, 200, 100}, -1, -1, 1, 2},
        {"down", WXK_DOWN, 0, {}, {0, -10, 200, 100}, -1, -1, 1, 2},
        {"page up", WXK_PAGEUP, 0, {}, {0, 50, 200, 100}, -1, -1, 1, 2},
        {"page down", WXK_PAGEDOWN, 0, {}, {0, -50, 200, 100}, -1, -1, 1, 2},
        {"home without cursor", WXK_HOME, 0, {}, {-100, -50, 200, 100}, -1, -1, 1, 2},
        {"home centres the cursor", WXK_HOME, 0, cursorOn(1, 4), {-20, 6, 200, 100}, 1, 4, 1,
         2},
        {"end fits the active data curve", WXK_END, 0, {}, {-1.25, 39.75, 102.5, 20.5}, -1,
         -1, 1, 2},
        {"comma starts at the right edge", ',', 0, {}, same, 1, 5, 1, 2},
        {"full stop starts at the left edge", '.', 0, {}, same, 1, 0, 1, 2},
        {"less-than steps left", '<', wxMOD_SHIFT, cursorOn(1, 3), same, 1, 2, 1, 2},
        {"greater-than steps right", '>', wxMOD_SHIFT, cursorOn(1, 3), same, 1, 4, 1, 2},
        {"no step before the first point", ',', 0, cursorOn(1, 0), same, 1, 0, 1, 2},
        {"no step past the last point", '.', 0, cursorOn(1, 5), same, 1, 5, 1, 2},
        {"step off the view brings it along", '.', 0,
         [](wxPlotCtrl* p) {
             p->SetCursorDataIndex(1, 4);
             p->SetViewRect(wxRect2DDouble(0, 0, 90, 100));
         },
         {10 + 4 * 90.0 / m_size.x, 0, 90, 100}, 1, 5, 1, 2},
        {"space after the last curve wraps", ' ', 0, {}, same, -1, -1, 0, 2},
        {"space takes the next curve", ' ', 0, [](wxPlotCtrl* p) { p->SetActiveCurve(0); }, same,
         -1, -1, 1, 2},
        {"escape clears the cursor", WXK_ESCAPE, 0, cursorOn(0, 1), same, -1, -1, 1, 2},
        {"escape then drops the active curve", WXK_ESCAPE, 0, {}, same, -1, -1, -1, 2},
        {"delete removes the active curve", WXK_DELETE, 0, {}, same, -1, -1, 0, 1},
        {"control passes keys on", 'q', wxMOD_CONTROL, {}, same, -1, -1, 1, 2},
        {"alt passes keys on", WXK_LEFT, wxMOD_ALT, {}, same, -1, -1, 1, 2},
    };
    for (const Case& c : cases)
    {
        while (m_plot->GetCurveCount() < 2)
            m_plot->AddCurve(Curve({{0, 40}, {20, 44}, {40, 48}, {60, 52}, {80, 56}, {100, 60}}),
                             false);
        Reset();
        if (c.before)
            c.before(m_plot);
        Key(c.key, c.modifiers);
        const wxRect2DDouble v = m_plot->GetViewRect();
        EXPECT_TRUE(SameRect(c.view, v, 1e-6))
            << c.name << ": view " << v.m_x << "," << v.m_y << " " << v.m_width << "x"
            << v.m_height;
        EXPECT_EQ(c.cursorCurve, m_plot->GetCursorCurveIndex()) << c.name;
        EXPECT_EQ(c.cursorIndex, m_plot->GetCursorDataIndex()) << c.name;
        EXPECT_EQ(c.active, m_plot->GetActiveIndex()) << c.name;
        EXPECT_EQ(c.curves, m_plot->GetCurveCount()) << c.name;
    }
}

TEST_F(PlotKeysTest, EscapeClearsOneThingAtATimeAndAlwaysRedraws)
{
    m_plot->SelectDataRange(0, IntRange(1, 2), true);
    m_plot->SelectDataRange(1, IntRange(3, 3), true);
    m_plot->SetCursorDataIndex(1, 0);
    struct Step
    {
        bool selection0, selection1, cursor;
        int active;
    };
    // Active curve's selection, then the first curve's, then the cursor,
    // then the active curve; then nothing changes.
    const Step steps[] = {{true, false, true, 1},
                          {false, false, true, 1},
                          {false, false, false, 1},
                          {false, false, false, -1},
                          {false, false, false, -1}};
    for (const Step& s : steps)
    {
        m_plot->DirtyFlags() = 0;
        Key(WXK_ESCAPE);
        EXPECT_EQ(s.selection0, m_plot->HasSelection(0));
        EXPECT_EQ(s.selection1, m_plot->HasSelection(1));
        EXPECT_EQ(s.cursor, m_plot->IsCursorValid());
        EXPECT_EQ(s.active, m_plot->GetActiveIndex());
        EXPECT_EQ(7, m_plot->GetRedrawFlags() & 7);
    }
}

TEST_F(PlotKeysTest, DeleteIsRefusedWhenTheRemovalIsVetoed)
{
    wxPlotCurve* active = m_plot->GetActiveCurve();
    m_log.m_veto.insert(wxEVT_PLOTCTRL_CURVE_REMOVING);
    Key(WXK_DELETE);
    EXPECT_EQ(2, m_plot->GetCurveCount());
    EXPECT_EQ(active, m_plot->GetActiveCurve());
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_CURVE_REMOVING));
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_CURVE_REMOVED));
    // Without an active curve nothing is deleted at all.
    m_log.m_veto.clear();
    m_plot->SetActiveCurve(-1);
    Key(WXK_DELETE);
    EXPECT_EQ(2, m_plot->GetCurveCount());
}

TEST_F(PlotKeysTest, ModifierKeysChooseTheMouseFunction)
{
    struct Press
    {
        int key;
        bool down;
        int heldBefore;   // modifiers the event reports
    };
    struct Case
    {
        const char* name;
        std::vector<Press> presses;
        int function;
        int chosen = wxPLOTCTRL_MOUSE_ZOOM;   // what the program set before
    };
    const Case cases[] = {
        {"shift", {{WXK_SHIFT, true, 0}}, wxPLOTCTRL_MOUSE_SELECT},
        {"shift released", {{WXK_SHIFT, true, 0}, {WXK_SHIFT, false, wxMOD_SHIFT}},
         wxPLOTCTRL_MOUSE_ZOOM},
        {"control", {{WXK_CONTROL, true, 0}}, wxPLOTCTRL_MOUSE_DESELECT},
        {"shift control alt",
         {{WXK_SHIFT, true, 0}, {WXK_CONTROL, true, wxMOD_SHIFT},
          {WXK_ALT, true, wxMOD_SHIFT | wxMOD_CONTROL}},
         wxPLOTCTRL_MOUSE_PAN},
        {"shift and control", {{WXK_SHIFT, true, 0}, {WXK_CONTROL, true, wxMOD_SHIFT}},
         wxPLOTCTRL_MOUSE_ZOOM},
        {"alt", {{WXK_ALT, true, 0}}, wxPLOTCTRL_MOUSE_ZOOM},
        {"a letter", {{WXK_CONTROL, true, 0}, {'A', true, 0}}, wxPLOTCTRL_MOUSE_ZOOM},
        // A plot set to drag keeps dragging once the keys are let go.
        {"a letter while dragging", {{'A', true, 0}}, wxPLOTCTRL_MOUSE_PAN,
         wxPLOTCTRL_MOUSE_PAN},
        {"shift while dragging", {{WXK_SHIFT, true, 0}}, wxPLOTCTRL_MOUSE_SELECT,
         wxPLOTCTRL_MOUSE_PAN},
        {"shift released while dragging", {{WXK_SHIFT, true, 0}, {WXK_SHIFT, false, wxMOD_SHIFT}},
         wxPLOTCTRL_MOUSE_PAN, wxPLOTCTRL_MOUSE_PAN},
    };
    for (const Case& c : cases)
    {
        m_plot->SetAreaMouseFunction(c.chosen);
        for (const Press& p : c.presses)
            Key(p.key, p.heldBefore, p.down ? wxEVT_KEY_DOWN : wxEVT_KEY_UP);
        EXPECT_EQ(c.function, m_plot->GetAreaMouseFunction()) << c.name;
    }
    // The function changes go out as events a handler can veto.
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_ZOOM);
    m_log.m_events.clear();
    m_log.m_veto.insert(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGING);
    Key(WXK_SHIFT, 0, wxEVT_KEY_DOWN);
    EXPECT_EQ(wxPLOTCTRL_MOUSE_ZOOM, m_plot->GetAreaMouseFunction());
    EXPECT_EQ(0, m_log.Count(wxEVT_PLOTCTRL_MOUSE_FUNCTION_CHANGED));
    // A vetoed function leaves nothing to come back with the next key.
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN, true);
    m_log.m_veto.clear();
    Key('A', 0, wxEVT_KEY_DOWN);
    EXPECT_EQ(wxPLOTCTRL_MOUSE_ZOOM, m_plot->GetAreaMouseFunction());
}

TEST_F(PlotKeysTest, AShiftReleaseLostElsewhereIsCorrectedByTheNextPress)
{
    Key(WXK_SHIFT, 0, wxEVT_KEY_DOWN);
    ASSERT_EQ(wxPLOTCTRL_MOUSE_SELECT, m_plot->GetAreaMouseFunction());
    // Shift came up over another window; the click comes without it.
    Click(wxPoint(150, 150));
    EXPECT_EQ(wxPLOTCTRL_MOUSE_ZOOM, m_plot->GetAreaMouseFunction());
    // A function the program chose is not the keys' to change.
    m_plot->SetAreaMouseFunction(wxPLOTCTRL_MOUSE_PAN);
    Click(wxPoint(200, 120));
    EXPECT_EQ(wxPLOTCTRL_MOUSE_PAN, m_plot->GetAreaMouseFunction());
}

TEST_F(PlotKeysTest, TypedShiftAndControlSpaceSelectAndDeselectAtTheCursor)
{
    m_plot->SetCursorDataIndex(1, 2);
    MoveTo(wxPoint(150, 150));
    m_area->SetFocus();
    ASSERT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == m_area; }));

    m_sim.Char(' ', wxMOD_SHIFT);
    EXPECT_TRUE(guitest::WaitFor([&] { return m_plot->HasSelection(1); }));
    EXPECT_EQ(IntRange(2, 2), m_plot->GetDataCurveSelection(1)->GetRange(0));
    m_sim.Char(' ', wxMOD_CONTROL);
    EXPECT_TRUE(guitest::WaitFor([&] { return !m_plot->HasSelection(1); }))
        << "Control+Space did not deselect";
    EXPECT_EQ(1, m_plot->GetActiveIndex()) << "taken for a plain space";
}

} // namespace
