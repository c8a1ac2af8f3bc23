// Painting of the plot control through its back buffers, the focus
// indicator and the in-place editing of the title and labels.

#include "PlotCtrlTestSupport.h"

#include "wxPlotFunction.h"

#include <wx/textctrl.h>

namespace
{

TEST_F(PlotCtrlTest, ActiveCurveLiesOnTopWhateverItsIndex)
{
    m_plot->SetAreaSizeForTest(100, 100);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 5}, {10, 5}}), false));
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 5}, {10, 5}}), false));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 10, 10)));
    m_plot->SetShowKey(false);
    const int row = m_plot->PlotYToPixel(5);
    struct Case
    {
        int active;
        wxColour expected;
    };
    // Curve 1 is drawn after curve 0 in index order; the active one's pen
    // is blue.
    const Case cases[] = {{-1, *wxBLACK}, {0, wxColour(0, 0, 255)}, {1, wxColour(0, 0, 255)}};
    for (const Case& c : cases)
    {
        m_plot->SetActiveCurve(c.active);
        const wxImage image = m_plot->RenderArea();
        EXPECT_EQ(c.expected, wxColour(image.GetRed(50, row), image.GetGreen(50, row),
                                       image.GetBlue(50, row)))
            << "active " << c.active;
    }
}

TEST_F(PlotCtrlTest, AreaShowsGridFrameCursorAndSelection)
{
    m_plot->SetAreaSizeForTest(200, 100);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 2}, {5, 2}, {10, 2}, {15, 2}, {20, 2}}), false));
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 20, 10)));
    m_plot->DataSelection(0).SelectRange(IntRange(2, 3));
    m_plot->PlaceCursor(0, 1);
    m_plot->SetShowKey(false);
    wxImage image = m_plot->RenderArea();
    auto colour = [&](int x, int y) {
        return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    };
    const int row = m_plot->PlotYToPixel(2);
    EXPECT_EQ(*wxBLACK, colour(25, row));                  // normal stretch
    EXPECT_EQ(wxColour(255, 0, 0), colour(125, row));     // selected stretch 10..15
    EXPECT_EQ(*wxBLACK, colour(0, 50));                    // frame
    EXPECT_EQ(*wxBLACK, colour(199, 50));
    ASSERT_FALSE(m_plot->GetXTickPositions().empty());
    const int tick = m_plot->GetXTickPositions()[1];
    EXPECT_EQ(*wxLIGHT_GREY, colour(tick, 20));            // grid line
    // The cursor's ring round point 1 at (5, 2).
    const int cx = m_plot->PlotXToPixel(5);
    EXPECT_EQ(wxColour(0, 255, 0), colour(cx, row - 2));

    // Without the grid, marks as a crisp line from the edge 10 pixels in
    // draws them: 10 rows up from the bottom, 11 columns from the left.
    m_plot->SetShowGrid(false);
    image = m_plot->RenderArea();
    const int q = m_plot->GetYTickPositions()[1];
    EXPECT_EQ(*wxLIGHT_GREY, colour(tick, 100 - 10));
    EXPECT_EQ(*wxWHITE, colour(tick, 100 - 11));
    EXPECT_EQ(*wxLIGHT_GREY, colour(10, q));
    EXPECT_EQ(*wxWHITE, colour(11, q));
}

TEST_F(PlotCtrlTest, NothingIsPaintedWithoutAValidLayout)
{
    wxFrame* frame = guitest::SharedFrame();
    frame->Show();
    m_plot->SetSize(400, 300);
    wxPlotCtrlArea* area = m_plot->GetPlotArea();
    area->m_bitmap = wxBitmap();

    m_plot->DirtyFlags() |= wxPLOTCTRL_LAYOUT_INVALID | wxPLOTCTRL_REDRAW_PLOT;
    area->Refresh();
    area->Update();
    guitest::ProcessPendingEvents();
    EXPECT_FALSE(area->m_bitmap.IsOk());
    EXPECT_TRUE(m_plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_PLOT);

    m_plot->DoSize();
    EXPECT_FALSE(m_plot->GetRedrawFlags() & wxPLOTCTRL_LAYOUT_INVALID);
    area->Refresh();
    EXPECT_TRUE(guitest::WaitFor([&] { return area->m_bitmap.IsOk(); }));
    EXPECT_TRUE(guitest::WaitFor(
        [&] { return !(m_plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_PLOT); }));
    frame->Hide();
}

TEST_F(PlotCtrlTest, FocusIndicatorFollowsTheFocus)
{
    wxFrame* frame = guitest::SharedFrame();
    frame->Show();
    auto* other = new wxTextCtrl(frame, wxID_ANY, wxEmptyString, wxPoint(500, 400));
    // The program sends idle events only to the windows that ask for them.
    for (const wxIdleMode mode : {wxIDLE_PROCESS_ALL, wxIDLE_PROCESS_SPECIFIED})
    {
        wxIdleEvent::SetMode(mode);
        m_plot->GetPlotArea()->SetFocus();
        EXPECT_TRUE(guitest::WaitFor([&] { return m_plot->CornerShowsFocus(); })) << mode;
        other->SetFocus();
        EXPECT_TRUE(guitest::WaitFor([&] { return !m_plot->CornerShowsFocus(); })) << mode;
    }
    wxIdleEvent::SetMode(wxIDLE_PROCESS_ALL);
    delete other;
    frame->Hide();
}

TEST_F(PlotCtrlTest, LabelEditsSendEventsAndHonourVetoes)
{
    m_plot->SetShowPlotTitle(true);
    struct Case
    {
        const char* name;
        wxEventType veto;
        wxString typed;
        bool apply;
        bool editorOpens;
        int editedEvents;
        wxString titleAfter;
    };
    const Case cases[] = {
        {"vetoed begin opens nothing", wxEVT_PLOTCTRL_TITLE_EDIT_BEGIN, "New", true, false, 0, "Title"},
        {"unchanged text sends nothing", wxEVT_NULL, "Title", true, true, 0, "Title"},
        {"not applied", wxEVT_NULL, "New", false, true, 0, "Title"},
        {"vetoed edit keeps the old", wxEVT_PLOTCTRL_TITLE_EDITED, "New", true, true, 1, "Title"},
        {"applied", wxEVT_NULL, "New", true, true, 1, "New"},
    };
    for (const Case& c : cases)
    {
        m_plot->SetPlotTitle(wxS("Title"));
        m_log.m_events.clear();
        m_log.m_veto = {c.veto};
        m_plot->BeginLabelEdit(wxPLOTCTRL_EDIT_TITLE, true);
        EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_TITLE_EDIT_BEGIN)) << c.name;
        EXPECT_EQ(c.editorOpens, m_plot->IsLabelEditorShown()) << c.name;
        if (m_plot->IsLabelEditorShown())
        {
            EXPECT_EQ(wxS("Title"), m_plot->GetLabelEditor()->GetValue()) << c.name;
            m_plot->GetLabelEditor()->ChangeValue(c.typed);
            m_plot->EndLabelEdit(c.apply, true);
        }
        EXPECT_FALSE(m_plot->IsLabelEditorShown()) << c.name;
        EXPECT_EQ(c.editedEvents, m_log.Count(wxEVT_PLOTCTRL_TITLE_EDITED)) << c.name;
        EXPECT_EQ(c.titleAfter, m_plot->GetPlotTitle()) << c.name;
    }
}

TEST_F(PlotCtrlTest, EnterInTheEditorEndsTheEditAfterItsEvent)
{
    m_plot->SetShowYAxisLabel(true);
    m_plot->BeginLabelEdit(wxPLOTCTRL_EDIT_YAXIS, true);
    wxTextCtrl* editor = m_plot->GetLabelEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_GE(editor->GetSize().x, 1);
    EXPECT_GE(editor->GetSize().y, 1);
    editor->ChangeValue(wxS("kPa"));
    wxCommandEvent enter(wxEVT_TEXT_ENTER, editor->GetId());
    enter.SetEventObject(editor);
    editor->GetEventHandler()->ProcessEvent(enter);
    // The editor that sent the event still exists while it is handled.
    EXPECT_TRUE(m_plot->IsLabelEditorShown());
    EXPECT_TRUE(guitest::WaitFor([&] { return !m_plot->IsLabelEditorShown(); }));
    EXPECT_EQ(wxS("kPa"), m_plot->GetYAxisLabel());
    EXPECT_EQ(1, m_log.Count(wxEVT_PLOTCTRL_YLABEL_EDITED));
}

TEST_F(PlotCtrlTest, EmptyLabelKeepsTheRoomOfTheDefaultText)
{
    m_plot->SetShowXAxisLabel(true);
    m_plot->SetXAxisLabel(wxS("X - Axis"));
    const wxSize defaultSize = m_plot->GetXLabelRect().GetSize();
    const wxRect areaWithLabel = m_plot->GetPlotAreaRect();
    m_plot->SetXAxisLabel(wxEmptyString);
    EXPECT_EQ(defaultSize, m_plot->GetXLabelRect().GetSize());
    EXPECT_EQ(areaWithLabel, m_plot->GetPlotAreaRect());
    m_plot->SetShowXAxisLabel(false);
    EXPECT_GT(m_plot->GetPlotAreaRect().height, areaWithLabel.height);
}

} // namespace

namespace
{

TEST_F(PlotCtrlTest, FunctionCurveIsNamedByItsExpressionAndDrawnPerColumn)
{
    auto* function = new wxPlotFunction;
    ASSERT_TRUE(function->Create(wxS("x*0.5+1")));
    m_plot->SetAreaSizeForTest(200, 100);
    ASSERT_TRUE(m_plot->AddCurve(Curve({{0, 0}, {1, 0}}), false));
    ASSERT_TRUE(m_plot->AddCurve(function, false));
    EXPECT_EQ(function, m_plot->GetFunctionCurve(1));
    EXPECT_EQ(nullptr, m_plot->GetDataCurve(1));
    EXPECT_EQ(nullptr, m_plot->GetFunctionCurve(0));
    EXPECT_EQ(wxS("\nx*0.5+1\n"), m_plot->GetKeyText());

    m_plot->SetShowKey(false);
    ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, 20, 10)));
    const wxImage image = m_plot->RenderArea();
    // y = x/2 + 1 crosses the area from (0, 1) to (20, 11): in every column
    // of its visible part one pixel is drawn at its value.
    for (double x : {1.0, 5.0, 10.0, 17.0})
    {
        const int px = m_plot->PlotXToPixel(x), py = m_plot->PlotYToPixel(x * 0.5 + 1);
        bool inked = false;
        for (int dy = -1; dy <= 1; ++dy)
            inked |= image.GetRed(px, py + dy) == 0;
        EXPECT_TRUE(inked) << x;
    }
    EXPECT_EQ(255, image.GetRed(m_plot->PlotXToPixel(11), m_plot->PlotYToPixel(3.3)));
}

} // namespace
