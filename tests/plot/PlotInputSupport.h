#pragma once
// A shown plot control driven by real input (wxUIActionSimulator under
// Xvfb) or by constructed events, with a view of one plot unit per pixel.

#include "PlotCtrlTestSupport.h"

#include <wx/filename.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <map>
#include <memory>

// Paints the area as its paint handler does: the back buffer (re-rendered
// when dirty), then the overlays.
inline wxImage PaintAreaLikeThePaintHandler(wxPlotCtrl* plot)
{
    wxPlotCtrlArea* area = plot->GetPlotArea();
    const wxSize size = area->GetClientSize();
    wxBitmap bitmap(size.x, size.y);
    {
        // Only the toolkit may construct paint events; its class info may.
        std::unique_ptr<wxPaintEvent> paint(
            static_cast<wxPaintEvent*>(wxCreateDynamicObject("wxPaintEvent")));
        wxMemoryDC dc(bitmap);
        plot->DrawAreaWindow(*paint, &dc, area);
    }
    return bitmap.ConvertToImage();
}

// What the display shows of window now (ImageMagick's import reads it back
// from the X server), in the screen's pixels; an empty image when that fails.
inline wxImage GrabFromScreen(wxWindow* window)
{
    const double s = window->GetContentScaleFactor();
    const wxPoint at = window->ClientToScreen(wxPoint(0, 0));
    const wxSize size = window->GetClientSize();
    const wxRect rect(wxRound(at.x * s), wxRound(at.y * s), wxRound(size.x * s), wxRound(size.y * s));
    const wxString path = wxFileName::CreateTempFileName("plotgrab") + ".bmp";
    const wxString crop = wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y);
    const wxString target = "BMP3:" + path;
    const wxCharBuffer cropArg = crop.utf8_str(), targetArg = target.utf8_str();
    const char* argv[] = {"import", "-window", "root", "-crop", cropArg.data(), "+repage",
                          targetArg.data(), nullptr};
    wxImage image;
    if (wxExecute(const_cast<char**>(argv), wxEXEC_SYNC | wxEXEC_NOEVENTS) == 0)
        image.LoadFile(path, wxBITMAP_TYPE_BMP);
    wxRemoveFile(path);
    wxRemoveFile(path.BeforeLast('.'));
    return image;
}

// Near black: the dotted pen comes out dark grey.
inline bool IsDark(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) < 64 && image.GetGreen(x, y) < 64 && image.GetBlue(x, y) < 64;
}

// Dark pixels on row y between x0 and x1 (a dotted band edge has some).
inline int DarkOnRow(const wxImage& image, int y, int x0, int x1)
{
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        n += IsDark(image, x, y);
    return n;
}

class PlotInputTest : public PlotCtrlTest
{
protected:
    void SetUp() override
    {
        PlotCtrlTest::SetUp();
        wxFrame* frame = guitest::SharedFrame();
        frame->Show();
        frame->Raise();
        m_plot->SetSize(0, 0, 420, 320);
        m_plot->SetShowKey(false);
        m_area = m_plot->GetPlotArea();
        m_plot->DoSize();
        // Painted once: the window is on the display and takes input.
        m_area->Refresh(false);
        ASSERT_TRUE(guitest::WaitFor([&] {
            return m_area->IsShownOnScreen() && m_area->m_bitmap.IsOk() &&
                   !(m_plot->GetRedrawFlags() & wxPLOTCTRL_REDRAW_PLOT);
        }));
        m_size = m_area->GetClientSize();
        OnePixelPerUnit();
        for (wxWindow* w : {static_cast<wxWindow*>(m_area),
                            static_cast<wxWindow*>(m_plot->GetPlotXAxis())})
        {
            for (const auto& type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_MOTION, wxEVT_LEFT_DCLICK})
                w->Bind(type, &PlotInputTest::Count, this);
            for (const auto& type : {wxEVT_CHAR, wxEVT_KEY_DOWN, wxEVT_KEY_UP})
                w->Bind(type, &PlotInputTest::Count, this);
        }
        m_assertionsBefore = guitest::AssertionCount();
    }
    void TearDown() override
    {
        if (m_pressed)
            m_sim.MouseUp();
        guitest::WaitFor([&] { return !m_area->HasCapture(); }, std::chrono::milliseconds(500));
        for (wxWindow* w : {static_cast<wxWindow*>(m_area),
                            static_cast<wxWindow*>(m_plot->GetPlotXAxis()),
                            static_cast<wxWindow*>(m_plot->GetPlotYAxis())})
            if (w->HasCapture())
                w->ReleaseMouse();
        PlotCtrlTest::TearDown();
    }

    // Plot x = pixel column, plot y = area height - pixel row.
    void OnePixelPerUnit()
    {
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(0, 0, m_size.x, m_size.y)));
        ASSERT_DOUBLE_EQ(1.0, m_plot->GetZoomX());
    }

    wxPoint Screen(wxWindow* window, const wxPoint& p) { return window->ClientToScreen(p); }

    // Moves the pointer to p in window and waits until the move arrived.
    void MoveTo(const wxPoint& p, wxWindow* window = nullptr)
    {
        window = window ? window : m_area;
        const int before = m_seen[wxEVT_MOTION];
        m_sim.MouseMove(Screen(window, p));
        EXPECT_TRUE(guitest::WaitFor([&] { return m_seen[wxEVT_MOTION] > before; }))
            << "no motion to " << p.x << "," << p.y;
    }
    // GTK turns a second press soon after and near the first into a
    // double click alone: tests that want single presses keep them apart.
    void Press()
    {
        const int before = m_seen[wxEVT_LEFT_DOWN] + m_seen[wxEVT_LEFT_DCLICK];
        m_sim.MouseDown();
        m_pressed = true;
        EXPECT_TRUE(guitest::WaitFor(
            [&] { return m_seen[wxEVT_LEFT_DOWN] + m_seen[wxEVT_LEFT_DCLICK] > before; }));
    }
    // Lets go of the button wherever the pointer is.
    void ReleaseAnywhere()
    {
        m_sim.MouseUp();
        m_pressed = false;
        EXPECT_TRUE(guitest::WaitFor([] { return !wxGetMouseState().LeftIsDown(); }));
        guitest::ProcessPendingEvents();
    }
    void Release()
    {
        const int before = m_seen[wxEVT_LEFT_UP];
        m_sim.MouseUp();
        m_pressed = false;
        EXPECT_TRUE(guitest::WaitFor([&] { return m_seen[wxEVT_LEFT_UP] > before; }));
    }
    // A left drag in the area from a to b.
    void Drag(const wxPoint& a, const wxPoint& b)
    {
        MoveTo(a);
        Press();
        MoveTo(wxPoint((a.x + b.x) / 2, (a.y + b.y) / 2));
        MoveTo(b);
        Release();
    }
    void Click(const wxPoint& p)
    {
        MoveTo(p);
        Press();
        Release();
    }
    // Sends a constructed event to window as the toolkit would.
    bool Send(wxWindow* window, wxEvent& event)
    {
        event.SetEventObject(window);
        return window->GetEventHandler()->ProcessEvent(event);
    }
    bool Wheel(wxWindow* window, int rotation)
    {
        wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
        wheel.m_wheelRotation = rotation;
        wheel.m_wheelDelta = 120;
        wheel.m_x = 10;
        wheel.m_y = 10;
        return Send(window, wheel);
    }
    // A char event as the area gets it for key with modifiers.
    void Key(int key, int modifiers = wxMOD_NONE, wxEventType type = wxEVT_CHAR)
    {
        wxKeyEvent event(type);
        event.m_keyCode = key;
        event.m_uniChar = key < WXK_START ? key : WXK_NONE;
        event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
        event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        event.m_altDown = (modifiers & wxMOD_ALT) != 0;
        Send(m_area, event);
    }
    bool NoNewAssertion() const { return guitest::AssertionCount() == m_assertionsBefore; }

    wxUIActionSimulator m_sim;
    wxPlotCtrlArea* m_area = nullptr;
    wxSize m_size;
    std::map<wxEventType, int> m_seen;

private:
    void Count(wxEvent& event)
    {
        ++m_seen[event.GetEventType()];
        event.Skip();
    }

    bool m_pressed = false;
    int m_assertionsBefore = 0;
};
