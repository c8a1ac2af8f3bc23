#include "wxPlotCurve.h"
#include "wxPlotData.h"
#include "wxPlotMarker.h"

#include <gtest/gtest.h>

namespace
{

void ExpectColour(const wxGenericPen& pen, int r, int g, int b)
{
    ASSERT_TRUE(pen.Ok());
    EXPECT_EQ(r, pen.GetColour().Red());
    EXPECT_EQ(g, pen.GetColour().Green());
    EXPECT_EQ(b, pen.GetColour().Blue());
    EXPECT_EQ(255, pen.GetColour().Alpha());
    EXPECT_EQ(1, pen.GetWidth());
    EXPECT_EQ(wxPENSTYLE_SOLID, pen.GetStyle());
    EXPECT_EQ(wxCAP_ROUND, pen.GetCap());
    EXPECT_EQ(wxJOIN_ROUND, pen.GetJoin());
}

TEST(PlotCurve, NewDataHasBlackBlueRedPensAndNoFourth)
{
    wxPlotData d(3);
    EXPECT_EQ(3, d.GetPenCount());
    ExpectColour(d.GetPen(wxPLOTPEN_NORMAL), 0, 0, 0);
    ExpectColour(d.GetPen(wxPLOTPEN_ACTIVE), 0, 0, 255);
    ExpectColour(d.GetPen(wxPLOTPEN_SELECTED), 255, 0, 0);
    EXPECT_FALSE(d.GetPen(3).Ok());
    EXPECT_FALSE(d.GetPen(-1).Ok());

    d.SetPen(3, wxGenericPen(wxGenericColour(1, 2, 3)));
    EXPECT_EQ(3, d.GetPenCount());
    d.SetPen(wxPLOTPEN_NORMAL, wxGenericPen(wxGenericColour(1, 2, 3), 2));
    EXPECT_EQ(2, d.GetPen(wxPLOTPEN_NORMAL).GetWidth());

    wxPlotCurve none;
    EXPECT_FALSE(none.GetPen(0).Ok());
    EXPECT_EQ(0, none.GetPenCount());
}

TEST(PlotCurve, ChangingOneCurvesPenLeavesTheDefaultsAlone)
{
    wxPlotData a(1);
    a.GetPen(wxPLOTPEN_NORMAL).SetWidth(9);  // writes to a's own pen data
    EXPECT_EQ(9, a.GetPen(wxPLOTPEN_NORMAL).GetWidth());
    wxPlotData b(1);
    ExpectColour(b.GetPen(wxPLOTPEN_NORMAL), 0, 0, 0);
    EXPECT_EQ(1, wxPlotCurveDefaultPen(wxPLOTPEN_NORMAL).GetWidth());
}

TEST(PlotCurve, PlainCurveClonesToNothingAndAnswersNeutralValues)
{
    wxPlotCurve c;
    wxPlotCurve* clone = c.Clone();
    EXPECT_FALSE(clone->Ok());
    delete clone;
    EXPECT_EQ(0.0, c.GetY(3.0));
    EXPECT_EQ(wxRect2DDouble(), c.GetBoundingRect());
    c.SetBoundingRect(wxRect2DDouble(1, 2, 3, 4));
    EXPECT_EQ(wxRect2DDouble(), c.GetBoundingRect());
    EXPECT_TRUE(c.GetOption(wxS("File.Name")).empty());

    wxObject* obj = wxCreateDynamicObject(wxS("wxPlotData"));
    ASSERT_NE(nullptr, obj);
    EXPECT_TRUE(obj->IsKindOf(wxCLASSINFO(wxPlotCurve)));
    EXPECT_FALSE(static_cast<wxPlotData*>(obj)->Ok());
    delete obj;
}

TEST(PlotCurve, OptionsAreExactSortedLookups)
{
    wxPlotData d(1);
    d.SetOption(wxS("Zeta"), wxS("z"));
    d.SetOption(wxS("File.Name"), wxS("run1.dat"));
    d.SetOption(wxS("Alpha"), wxS("a"));
    d.SetOption(wxS("Zeta"), wxS("z2"));
    EXPECT_EQ(3, d.GetOptionCount());
    EXPECT_EQ(wxS("run1.dat"), d.GetFilename());
    EXPECT_EQ(wxS("z2"), d.GetOption(wxS("Zeta")));
    EXPECT_EQ(wxS("a"), d.GetOption(wxS("Alpha")));
    EXPECT_TRUE(d.GetOption(wxS("file.name")).empty());
    EXPECT_TRUE(d.GetOption(wxS("Beta")).empty());

    // A deep copy has options of its own.
    wxPlotData copy = d;
    copy.UnShare();
    copy.SetOption(wxS("File.Name"), wxS("other.dat"));
    EXPECT_EQ(wxS("run1.dat"), d.GetFilename());
    EXPECT_EQ(wxS("other.dat"), copy.GetFilename());
}

TEST(PlotMarker, MovingThroughAnyCopyMovesEveryCopy)
{
    const wxGenericPen pen(wxGenericColour(55, 55, 55), 2);
    wxPlotMarker m(wxPLOTMARKER_ELLIPSE, wxPoint2DDouble(1.0, 2.0), wxSize(4, 4), pen);
    wxArrayPlotMarker markers;
    markers.Add(m);
    markers.Insert(m, 0, 2);
    ASSERT_EQ(3u, markers.GetCount());

    wxPlotMarker copy = m;
    copy.SetPlotPosition(3.5, 0.25);
    for (size_t i = 0; i < markers.GetCount(); ++i)
    {
        EXPECT_EQ(3.5, markers[i].GetPlotPosition().m_x);
        EXPECT_EQ(0.25, markers[i].GetPlotPosition().m_y);
    }
    markers[1].SetPen(wxGenericPen(wxGenericColour(155, 55, 55), 4));
    EXPECT_EQ(4, m.GetPen().GetWidth());
    EXPECT_EQ(wxSize(4, 4), m.GetSize());
    EXPECT_EQ(wxPLOTMARKER_ELLIPSE, m.GetType());

    EXPECT_EQ(wxRect2DDouble(3.5, 0.25, 0, 0), m.GetPlotRect());

    // A deep copy moves on its own but keeps sharing the pen.
    wxPlotMarker own = m;
    own.UnShare();
    own.SetPlotPosition(7.0, 7.0);
    EXPECT_EQ(3.5, m.GetPlotPosition().m_x);
    EXPECT_TRUE(own.GetPen().IsSameAs(m.GetPen()));

    markers.Clear();
    EXPECT_EQ(3.5, m.GetPlotPosition().m_x);
}

TEST(PlotMarker, WithoutDataAnswersNeutralValuesAndIgnoresChanges)
{
    wxPlotMarker m;
    EXPECT_EQ(0, m.GetType());
    EXPECT_EQ(wxSize(-1, -1), m.GetSize());
    EXPECT_EQ(wxRect2DDouble(), m.GetPlotRect());
    EXPECT_FALSE(m.GetPen().Ok());
    EXPECT_FALSE(m.GetBrush().Ok());
    m.SetPlotPosition(1.0, 1.0);
    m.SetPen(wxGenericPen(wxGenericColour(1, 1, 1)));
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(0.0, m.GetPlotPosition().m_x);

    wxPlotMarker line;
    line.CreateHorizLineMarker(0.0, wxGenericPen(wxGenericColour(255, 0, 0)));
    EXPECT_EQ(wxPLOTMARKER_HORIZ_LINE, line.GetType());
    EXPECT_EQ(wxRect2DDouble(0, 0.0, -1, 0), line.GetPlotRect());
    EXPECT_EQ(wxSize(-1, -1), line.GetSize());
    EXPECT_EQ(255, line.GetPen().GetColour().Red());
    EXPECT_FALSE(line.GetBrush().Ok());
    EXPECT_FALSE(line.GetBitmap().IsOk());
}

} // namespace
