// The map plot and its pressure axis under a display: collection from live
// frames, the smoothed lines, the map from a parameter frame, clicks, keys,
// zoom, the kPa labels, curve ownership.
#include "Controller.h"
#include "FakeAxis.h"
#include "GuiTest.h"
#include "LivePayloadBuilder.h"
#include "MapModel.h"
#include "ParamPayloadBuilder.h"
#include "PlotMap.h"

#include <gtest/gtest.h>

#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace
{

using Five = std::array<unsigned char, 5>;

// Reaches what the plot asked to redraw (no paint clears it: the frame is hidden).
struct Probe : PlotMap
{
    using PlotMap::PlotMap;
    int& Dirty() { return m_dirtyFlags; }
};

class PlotMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(theController, nullptr);
        theController = &m_controller;
        if (theMapModel)
            theMapModel->ClearMapPoints();
        m_plot = new Probe(guitest::SharedFrame(), wxID_ANY, 0);
        m_plot->SetSize(0, 0, 600, 400);
        m_plot->SetSnapTicksToPixels(false);
        m_plot->SetViewRect(PlotMap::kHomeView);
        m_plot->OnAttach();
        GoOnline();
    }
    void TearDown() override
    {
        delete m_axis;
        delete m_plot;
        theController = nullptr;
    }

    void GoOnline()
    {
        m_controller.m_online = 1;
        m_controller.m_connected = 1;
        m_controller.m_parametersApplied = 1;
    }
    // One live frame with five samples of each ring from ring position index.
    void Live(unsigned char index, const Five& petrol, const Five& gas,
              LivePayloadBuilder b = LivePayloadBuilder())
    {
        b.Samples(index, petrol.data(), gas.data());
        ASSERT_TRUE(m_controller.ApplyLiveData(b.Payload().data(), b.Payload().size()));
    }
    // Frames carrying petrol samples first..first+count-1 (0.1 ms units).
    void LivePetrol(int first, int count)
    {
        for (int k = 0; k < count; k += 5)
        {
            Five p{};
            for (int j = 0; j < 5 && k + j < count; ++j)
                p[j] = static_cast<unsigned char>(first + k + j);
            Live(static_cast<unsigned char>(k), p, Five{});
        }
    }
    void Key(int code)
    {
        wxKeyEvent e(wxEVT_CHAR);
        e.m_keyCode = code;
        m_plot->ProcessAreaCharEvent(e);
    }
    // A mouse event at a plot point, dx pixels to the right of it.
    void Mouse(wxEventType type, double x, double y, int dx = 0)
    {
        wxMouseEvent e(type);
        e.m_x = m_plot->PlotXToPixel(x) + dx;
        e.m_y = m_plot->PlotYToPixel(y);
        e.m_leftDown = type != wxEVT_LEFT_UP;
        m_plot->ProcessAreaMouseEvent(e);
    }
    static double Y(const wxPlotData* c, int i) { return c->GetYValue(i); }
    static int Pixels(const wxImage& image, const wxRect& rect, const wxColour& colour)
    {
        int n = 0;
        for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
            for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
                n += wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)) == colour;
        return n;
    }

    Controller m_controller;
    Probe* m_plot = nullptr;
    FakeAxis* m_axis = nullptr;
};

TEST_F(PlotMapTest, SamplesLandOnTheirInjectionTimeAtTheRowOfTheirRingPosition)
{
    const struct
    {
        const char* name;
        unsigned char index;  // ring position of the first sample
        unsigned char petrol, gas;
        bool locked, calibrating;
        double petrolY, gasY;  // y of point 35 / 36; 0 = not collected
    } cases[] = {
        {"position 40", 40, 35, 36, false, false, 1.15625, 1.15625},
        {"position 255 is ignored", 251, 35, 36, false, false, 0.0, 0.0},
        {"the lock stops petrol only", 40, 35, 36, true, false, 0.0, 1.15625},
        {"nothing while calibrating", 40, 35, 36, false, true, 0.0, 0.0},
    };
    for (const auto& c : cases)
    {
        m_controller.ResetLink();
        GoOnline();
        m_plot->ClearPetrolCurve();
        m_plot->ClearGasCurve();
        m_plot->m_unlocked = !c.locked;
        m_controller.m_calibrating = c.calibrating;
        const int slot = c.index == 251 ? 4 : 0;
        Five petrol{}, gas{};
        petrol[slot] = c.petrol;
        gas[slot] = c.gas;
        Live(c.index, petrol, gas);
        EXPECT_DOUBLE_EQ(Y(m_plot->m_petrolCurve, 35), c.petrolY) << c.name;
        EXPECT_DOUBLE_EQ(Y(m_plot->m_gasCurve, 36), c.gasY) << c.name;
        if (c.petrolY != 0.0)
        {
            EXPECT_DOUBLE_EQ(m_plot->m_petrolCurve->GetXValue(35), 3.5) << c.name;
        }
    }
}

TEST_F(PlotMapTest, LineComesWithTheSixteenthSampleIsRenewedAndGoesAfterAnErase)
{
    const int curves = m_plot->GetCurveCount();
    LivePetrol(20, 15);
    EXPECT_EQ(m_plot->m_petrolLine, nullptr);
    LivePetrol(35, 1);
    ASSERT_NE(m_plot->m_petrolLine, nullptr);
    EXPECT_EQ(m_plot->GetCurveIndex(m_plot->m_petrolLine), curves);
    EXPECT_EQ(m_plot->m_petrolLine->GetCount(), 6);  // 16 samples: blocks of 3
    EXPECT_EQ(m_plot->m_gasLine, nullptr);

    // Four more samples: the line keeps its shape until its tenth frame.
    LivePetrol(36, 4);
    EXPECT_EQ(m_plot->m_petrolLine->GetCount(), 6);
    for (int i = 0; i < 9; ++i)
        Live(100, Five{}, Five{});
    EXPECT_EQ(m_plot->m_petrolLineAge, 1);
    EXPECT_EQ(m_plot->m_petrolLine->GetCount(), 5);  // 20 samples: blocks of 4

    m_plot->ClearPetrolCurve();
    Live(100, Five{}, Five{});
    EXPECT_EQ(m_plot->m_petrolLine, nullptr);
    EXPECT_EQ(m_plot->m_petrolLineAge, -1);
    EXPECT_EQ(m_plot->GetCurveCount(), curves);

    // Shown again: a fresh line the plot holds.
    LivePetrol(50, 16);
    ASSERT_NE(m_plot->m_petrolLine, nullptr);
    EXPECT_EQ(m_plot->GetCurveIndex(m_plot->m_petrolLine), curves);
}

TEST_F(PlotMapTest, OnlyAChangeIsDrawnAgainAndAnEraseAtOnce)
{
    const struct
    {
        double bar;
        int dirty;
    } frames[] = {{0.5, wxPLOTCTRL_REDRAW_PLOT}, {0.5, 0}, {0.6, wxPLOTCTRL_REDRAW_PLOT}};
    for (const auto& f : frames)
    {
        m_plot->Dirty() = 0;
        Live(0, Five{}, Five{}, LivePayloadBuilder().Pressures(0, f.bar));
        EXPECT_EQ(m_plot->Dirty(), f.dirty) << f.bar;
    }
    // The page erases its curves also while no live frame comes.
    m_controller.m_online = 0;
    m_plot->Dirty() = 0;
    m_plot->ClearGasCurve();
    EXPECT_EQ(m_plot->Dirty(), wxPLOTCTRL_REDRAW_PLOT);
}

TEST_F(PlotMapTest, LineIsBlockMeansThenTheLastSample)
{
    const struct
    {
        int samples;
        std::vector<wxPoint2DDouble> line;
    } cases[] = {
        {20, {{1.2, 11.5}, {1.6, 15.5}, {2.0, 19.5}, {2.4, 23.5}, {2.9, 29.0}}},
        {16, {{1.15, 11.0}, {1.45, 14.0}, {1.75, 17.0}, {2.05, 20.0}, {2.35, 23.0}, {2.5, 25.0}}},
    };
    for (const auto& c : cases)
    {
        wxPlotData curve(PlotMap::kCurvePoints);
        for (int i = 10; i < 10 + c.samples; ++i)
            curve.SetPoint(i, i * 0.1, i);
        EXPECT_TRUE(PlotMap::HasEnoughPoints(curve));
        wxPlotData line;
        PlotMap::BuildLineCurve(curve, line);
        ASSERT_EQ(line.GetCount(), int(c.line.size())) << c.samples;
        for (int k = 0; k < line.GetCount(); ++k)
        {
            EXPECT_NEAR(line.GetXValue(k), c.line[k].m_x, 1e-12) << c.samples << " point " << k;
            EXPECT_NEAR(line.GetYValue(k), c.line[k].m_y, 1e-12) << c.samples << " point " << k;
        }
        curve.SetPoint(10, 1.0, 0.0);
        EXPECT_EQ(PlotMap::HasEnoughPoints(curve), c.samples > 16) << c.samples;
    }
}

TEST_F(PlotMapTest, KeysAndClicksEditTheMapOnlyOnline)
{
    MapModel& m = *theMapModel;
    m.AddMapPoint(20, 1.0);
    m.AddMapPoint(40, 1.2);
    m.AddMapPoint(255, 1.0);
    m_plot->m_modified = false;
    const wxRect2DDouble view = m_plot->GetViewRect();
    const struct
    {
        const char* name;
        std::function<void()> act;
        std::function<bool()> done;
    } steps[] = {
        // Within 8 pixels of the marker on 40 and on the green curve 2
        // pixels from its point on 40: selected, and it stays highlighted.
        {"click beside a marker", [&] { Mouse(wxEVT_LEFT_DOWN, 4.0, 1.2, 3); },
         [&] { return m.GetSelectedIndex() == 1 && m.GetPoints()[1].m_selected; }},
        {"up", [&] { Key(WXK_UP); }, [&] { return std::fabs(m.GetPoints()[1].m_value - 1.21) < 1e-9; }},
        {"right", [&] { Key(WXK_RIGHT); }, [&] { return m.GetPoints()[1].m_index == 41; }},
        {"page up", [&] { Key(WXK_PAGEUP); }, [&] { return std::fabs(m.GetPoints()[0].m_value - 1.01) < 1e-9; }},
        {"delete", [&] { Key(WXK_DELETE); }, [&] { return m.GetPoints().size() == 2; }},
        {"double click", [&] { Mouse(wxEVT_LEFT_DCLICK, 10.04, 1.1); },
         [&] { return m.GetPoints().size() == 3 && m.GetPoints()[1].m_index == 100; }},
        {"zoom in", [&] { Key('+'); }, [&] { return m_plot->GetViewRect().m_width < view.m_width; }},
    };
    m_controller.m_online = 0;
    for (const auto& s : steps)
    {
        s.act();
        EXPECT_FALSE(s.done()) << "offline: " << s.name;
    }
    EXPECT_FALSE(m_plot->m_modified);
    GoOnline();
    for (const auto& s : steps)
    {
        s.act();
        EXPECT_TRUE(s.done()) << s.name;
    }
    EXPECT_TRUE(m_plot->m_modified);
}

TEST_F(PlotMapTest, DragBegunOnlineEndsOnReleaseAfterTheLinkWentDown)
{
    m_plot->GetParent()->Show();
    Mouse(wxEVT_LEFT_DOWN, 5.0, 1.0);
    Mouse(wxEVT_MOTION, 5.0, 1.0, 10);
    ASSERT_NE(m_plot->GetCaptureWindow(), nullptr);
    m_controller.m_online = 0;
    Mouse(wxEVT_LEFT_UP, 5.0, 1.0, 10);
    EXPECT_EQ(m_plot->GetCaptureWindow(), nullptr);
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
    m_plot->GetParent()->Hide();
}

TEST_F(PlotMapTest, ZoomKeysScaleAboutTheMouseWithinTheMap)
{
    const struct
    {
        const char* name;
        wxRect2DDouble start;
        wxPoint2DDouble mouse;
        int key;
        wxRect2DDouble view;
    } cases[] = {
        {"in at width 2.4 does nothing", {5, 0.5, 2.4, 1}, {6, 1}, '+', {5, 0.5, 2.4, 1}},
        {"in about the mouse", {0.5, 0, 25.5, 2.56}, {13.25, 1.28}, '=', {4.7075, 0.4224, 17.085, 1.7152}},
        {"in at the right edge", {0.5, 0, 25.5, 2.56}, {25, 0.1}, WXK_NUMPAD_ADD, {8.515, 0, 17.085, 1.7152}},
        {"out about the mouse", {5, 0.5, 10, 1}, {10, 1}, '-', {2.5, 0.25, 15, 1.5}},
        {"out to the whole map", {0.5, 0, 25.5, 2.56}, {13.25, 1.28}, '_', {0, 0, 25.5, 3.0}},
    };
    for (const auto& c : cases)
    {
        m_plot->SetViewRect(c.start);
        m_plot->GetPlotArea()->m_lastMousePos =
            wxPoint(m_plot->PlotXToPixel(c.mouse.m_x), m_plot->PlotYToPixel(c.mouse.m_y));
        Key(c.key);
        const wxRect2DDouble& v = m_plot->GetViewRect();
        // The mouse position is a whole pixel.
        EXPECT_NEAR(v.m_x, c.view.m_x, 0.05) << c.name;
        EXPECT_NEAR(v.m_y, c.view.m_y, 0.01) << c.name;
        EXPECT_NEAR(v.m_width, c.view.m_width, 1e-9) << c.name;
        EXPECT_NEAR(v.m_height, c.view.m_height, 1e-9) << c.name;
    }
}

TEST_F(PlotMapTest, ParameterFrameIsShownAsTheEcuHoldsIt)
{
    ParamPayloadBuilder p;
    const unsigned char points[10] = {20, 40, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    p.MapPoints(points);
    for (unsigned i = 10; i < 256; ++i)
        p.MapEntry(i, i == 20 ? 110 : i == 30 ? 150 : i == 40 ? 120 : 100, i == 31 ? 64 : 0);
    m_plot->m_modified = false;
    ASSERT_TRUE(m_controller.ApplyParameters(p.Payload().data(), p.Payload().size()));

    const wxPlotData& curve = theMapModel->GetCurve();
    EXPECT_EQ(theMapModel->GetPoints().size(), 3u);  // 20, 40 and one on 255
    // Between the points the ECU's own entries, corrections included.
    const std::pair<int, double> shown[] = {{10, 1.0}, {20, 1.1}, {30, 1.5}, {31, 1.5}, {32, 1.0}, {40, 1.2}, {255, 1.0}};
    for (const auto& [entry, y] : shown)
        EXPECT_DOUBLE_EQ(Y(&curve, entry), y) << entry;
    EXPECT_FALSE(m_plot->m_modified);
    EXPECT_EQ(m_plot->GetMarkerCount(), 3 + 2);  // the points and both live lines
}

TEST_F(PlotMapTest, PressureAxisReadsKpaWhereThePressureLineStands)
{
    // The page's bold font (larger here): the labels' width depends on it.
    m_plot->SetFont(wxFont(11, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
    m_axis = new FakeAxis(guitest::SharedFrame(), wxID_ANY, m_plot);
    m_axis->SetSize(600, 0, m_axis->GetMinSize().x, 400);
    const struct
    {
        bool turbo;
        double bar;
        const char* labels;
        int atLabel;  // the label the line stands at
    } cases[] = {
        {false, 0.5, "0 25 50 75 100", 2},
        {true, 1.25, "0 62 125 187 250", 2},
        {true, 2.5, "0 62 125 187 250", 4},
    };
    for (const auto& c : cases)
    {
        m_controller.m_turbo = c.turbo;
        m_controller.m_manifoldPressure = c.bar;
        m_controller.m_petrolInjectionTimes[0] = 3.6;
        for (int pass = 0; pass < 2; ++pass)
        {
            // After a marker rebuild, then after a live frame.
            if (pass == 0)
                m_plot->OnMarkersChanged();
            else
                Live(0, Five{}, Five{}, LivePayloadBuilder().Pressures(0, c.bar).PetrolTime(0, 3.6));
            m_axis->UpdateLabels();
            EXPECT_EQ(wxJoin(m_axis->GetLabels(), ' '), c.labels);
            const wxArrayPlotMarker& markers = m_plot->GetMarkers();
            const double y = markers[m_plot->m_pressureMarker].GetPlotPosition().m_y;
            const int row = m_plot->PlotYToPixel(y) + m_plot->GetPlotAreaRect().y;
            ASSERT_EQ(m_axis->GetTicks().size(), 5u);
            EXPECT_NEAR(row, m_axis->GetTicks()[c.atLabel], 1) << c.bar << " bar, pass " << pass;
            EXPECT_DOUBLE_EQ(markers[m_plot->m_petrolMarker].GetPlotPosition().m_x, 3.6);
        }
        // The rotated title stands clear of the middle label: its ink, just
        // below that label, begins right of where the label ends.
        wxBitmap bitmap(m_axis->GetSize());
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            m_axis->Draw(dc);
        }
        const wxImage image = bitmap.ConvertToImage();
        int titleStart = image.GetWidth();
        for (int y = m_axis->GetTicks()[2] + 10; y < m_axis->GetTicks()[2] + 20; ++y)
            for (int x = 0; x < titleStart; ++x)
                titleStart = image.GetRed(x, y) < 160 ? x : titleStart;
        EXPECT_LT(titleStart, image.GetWidth()) << "no title";
        EXPECT_GT(titleStart, 2 + m_plot->GetTextExtent(m_axis->GetLabels()[2]).x) << c.labels;
    }
}

TEST_F(PlotMapTest, CurvesItPointsToCannotBeRemovedAndAPlotCanBeMadeAgain)
{
    LivePetrol(20, 16);
    ASSERT_NE(m_plot->m_petrolLine, nullptr);
    const int curves = m_plot->GetCurveCount();
    const wxPlotCurve* held[] = {m_plot->m_petrolCurve, m_plot->m_gasCurve, m_plot->m_petrolLine,
                                 m_plot->GetCurve(2)};
    for (const wxPlotCurve* c : held)
        EXPECT_FALSE(m_plot->DeleteCurve(const_cast<wxPlotCurve*>(c), true));
    EXPECT_FALSE(m_plot->DeleteCurveAt(-1, true));
    EXPECT_EQ(m_plot->GetCurveCount(), curves);

    // The model's curve survives its plot; a new plot shows it and alone
    // hears the controller and the model.
    theMapModel->AddMapPoint(30, 1.3);
    delete m_plot;
    m_plot = new Probe(guitest::SharedFrame(), wxID_ANY, 0);
    m_plot->SetSize(0, 0, 600, 400);
    m_plot->OnAttach();
    int observers = 0;
    for (ControllerObserver* o : m_controller.m_observers)
        observers += o != nullptr;
    EXPECT_EQ(observers, 1);
    theMapModel->AddMapPoint(50, 1.5);
    LivePetrol(20, 16);
    EXPECT_NE(m_plot->m_petrolLine, nullptr);
    EXPECT_DOUBLE_EQ(m_plot->GetDataCurve(2)->GetYValue(40), 1.4);
}

TEST_F(PlotMapTest, MapIsAGreenLineAlsoWhileActiveAtHundredPercentBeforeTheFirstFrameAndNoKeyShows)
{
    ASSERT_EQ(m_plot->GetActiveIndex(), 2);
    EXPECT_DOUBLE_EQ(theMapModel->GetCurve().GetYValue(255), 1.0);
    const wxRect& area = m_plot->GetAreaSize();
    wxBitmap bitmap(area.width, area.height);
    {
        wxMemoryDC dc(bitmap);
        m_plot->DrawArea(&dc, area);
    }
    const wxImage image = bitmap.ConvertToImage();
    // Green on the line at every column, and not a row beside it (marks on
    // the entries would hatch it); no key: nothing red without petrol samples.
    const int row = m_plot->PlotYToPixel(1.0), left = m_plot->PlotXToPixel(5.0);
    const int width = m_plot->PlotXToPixel(20.0) - left;
    EXPECT_EQ(Pixels(image, wxRect(left, row, width, 1), *wxGREEN), width);
    EXPECT_EQ(Pixels(image, wxRect(left, row - 3, width, 2), *wxGREEN), 0);
    EXPECT_EQ(Pixels(image, wxRect(left, row + 2, width, 2), *wxGREEN), 0);
    EXPECT_EQ(Pixels(image, wxRect(area.GetSize()), *wxRED), 0);
}

} // namespace
