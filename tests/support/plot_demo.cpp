// A window with one plot control holding what the pages will put in it:
// two data curves, a curve of 100 000 points, markers of every kind the
// system uses (horizontal and vertical lines, point marks, a rectangle), a
// selection, the data cursor, the key, the title and both axis labels; or,
// with --function, the function curve sin(x)*exp(-x/10). It answers the
// mouse and keys as the pages will (drag a band to zoom, Shift + drag to
// select, Control + drag to deselect, click a point for the cursor, the
// key table), and its status bar says what the plot reported last.
// scripts/screenshot-plot runs it under Xvfb and keeps the pictures.
//
//   plot_demo [--zoomed] [--function] [--act band|zoom|select|cursor|xrange]
//             [--ready FILE]
// Without --zoomed the view is fitted to the curves; with it SetViewRect
// zooms into the middle. --act plays one piece of input through the real
// pointer and keyboard (wxUIActionSimulator): a rubber band held mid-drag,
// the zoom it gives, a selection by band with Shift held, a click on a
// point and two steps of the cursor, or an x range of the function curve.
// With --ready, once the window is drawn (and the input played) its screen
// rectangle is written to FILE as WxH+X+Y (ImageMagick's crop geometry).

#include "ReadyFile.h"
#include "wxPlotCtrl.h"
#include "wxPlotFunction.h"

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
wxPlotData* MakeCurve(int points, const wxString& name, double (*f)(double, int), double x0,
                      double x1)
{
    auto* data = new wxPlotData(points);
    double* xs = data->GetXData();
    double* ys = data->GetYData();
    for (int i = 0; i < points; ++i)
    {
        xs[i] = x0 + (x1 - x0) * i / (points - 1);
        ys[i] = f(xs[i], i);
    }
    data->CalcBoundingRect();
    data->SetOption(wxS("File.Name"), name);
    data->SetDrawLines(true);
    data->SetDrawPoints(false);
    return data;
}

void SetPens(wxPlotData* data, const wxColour& colour, int width)
{
    data->SetPen(wxPLOTPEN_NORMAL, wxGenericPen(wxGenericColour(colour), width));
    data->SetPen(wxPLOTPEN_ACTIVE, wxGenericPen(wxGenericColour(colour), width + 1));
}

// Input played through the real pointer and keyboard, one step at a time:
// each step acts, and the next waits until the plot has seen the last.
class InputScript
{
public:
    struct Step
    {
        std::function<void()> act;
        std::function<bool()> done;
    };
    void Add(std::function<void()> act, std::function<bool()> done)
    {
        m_steps.push_back({std::move(act), std::move(done)});
    }
    void Run(std::function<void()> finished)
    {
        m_finished = std::move(finished);
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        m_timer.Start(20);
    }
    wxUIActionSimulator& Sim() { return m_sim; }

private:
    void Tick()
    {
        if (m_next > 0 && !m_steps[m_next - 1].done())
        {
            if (std::chrono::steady_clock::now() - m_started > std::chrono::seconds(10))
            {
                std::fprintf(stderr, "plot_demo: input step %zu was not seen\n", m_next);
                std::exit(1);
            }
            return;
        }
        if (m_next == m_steps.size())
        {
            m_timer.Stop();
            m_finished();
            return;
        }
        m_started = std::chrono::steady_clock::now();
        m_steps[m_next++].act();
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    std::chrono::steady_clock::time_point m_started;
    wxTimer m_timer;
    wxUIActionSimulator m_sim;
    std::function<void()> m_finished;
};

class DemoFrame : public wxFrame
{
public:
    DemoFrame(bool zoomed, bool function, const wxString& act, const wxString& readyFile)
        : wxFrame(nullptr, wxID_ANY, "Plot control", wxPoint(0, 0), wxSize(900, 560)),
          m_act(act), m_readyFile(readyFile)
    {
        m_plot = new wxPlotCtrl(this);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_plot, wxSizerFlags(1).Expand());
        SetSizer(sizer);
        CreateStatusBar(2);
        const int widths[] = {-5, -4};
        SetStatusWidths(2, widths);
        SetStatusText(wxS("Drag: zoom, +Shift: select, +Ctrl: deselect; click: cursor, "
                          ", and .: step"),
                      0);
        Layout();
        BindStatus();

        if (function)
            ShowFunction();
        else
            ShowInjectionTimes(zoomed);
        m_settle.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ReportReady(); });
    }

    void Start()
    {
        Show();
        Update();
        if (!m_act.empty())
            PlayInput();
        else if (!m_readyFile.empty())
            m_settle.StartOnce(500);
    }

private:
    void ShowInjectionTimes(bool zoomed)
    {
        m_plot->SetPlotTitle(wxS("Injection times"));
        m_plot->SetShowPlotTitle(true);
        m_plot->SetXAxisLabel(wxS("Time [s]"));
        m_plot->SetYAxisLabel(wxS("Injection time [ms]"));
        m_plot->SetShowXAxisLabel(true);
        m_plot->SetShowYAxisLabel(true);

        wxPlotData* petrol = MakeCurve(
            60, wxS("petrol"), [](double x, int) { return 6.0 + 2.5 * std::sin(x * 0.35); }, 0, 40);
        SetPens(petrol, wxColour(200, 30, 30), 2);
        petrol->SetPen(wxPLOTPEN_SELECTED, wxGenericPen(wxGenericColour(255, 150, 0), 3));
        petrol->SetDrawPoints(true);
        wxPlotData* gas = MakeCurve(
            80, wxS("gas"), [](double x, int) { return 7.0 + 2.0 * std::cos(x * 0.22); }, 0, 40);
        SetPens(gas, wxColour(30, 60, 200), 2);
        wxPlotData* noise = MakeCurve(
            100000, wxS("lambda (100 000 points)"),
            [](double x, int i) {
                return 2.5 + 0.8 * std::sin(x * 1.3) + 0.35 * std::sin(i * 0.913) * std::sin(i * 0.0123);
            },
            0, 40);
        SetPens(noise, wxColour(20, 140, 60), 1);

        m_plot->AddCurve(noise, false);
        m_plot->AddCurve(gas, false);
        m_plot->AddCurve(petrol, true);
        m_plot->GetCursorMarker().SetSize(wxSize(5, 5));
        m_plot->GetCursorMarker().SetPen(wxGenericPen(wxGenericColour(0, 200, 0), 2));
        if (m_act.empty())
        {
            // The still pictures show a selection and the cursor as the
            // mouse and keys would leave them.
            m_plot->SelectDataRange(2, IntRange(20, 30), true);
            m_plot->SetCursorDataIndex(2, 42);
        }

        const wxGenericPen guide(wxGenericColour(120, 120, 100), 1);
        wxPlotMarker horizontal, vertical, rectangle;
        horizontal.CreateHorizLineMarker(4.0, guide);
        vertical.CreateVertLineMarker(12.5, guide);
        rectangle.Create(6, wxRect2DDouble(22, 1.2, 6, 1.0), wxSize(-1, -1),
                         wxGenericPen(wxGenericColour(230, 160, 0), 1),
                         wxGenericBrush(wxGenericColour(255, 236, 180)));
        m_plot->AddMarker(rectangle);
        m_plot->AddMarker(horizontal);
        m_plot->AddMarker(vertical);
        for (double x : {5.0, 15.0, 25.0, 35.0})
            m_plot->AddMarker(wxPlotMarker(wxPLOTMARKER_ELLIPSE, wxPoint2DDouble(x, 4.0),
                                           wxSize(3, 3), wxGenericPen(wxGenericColour(0, 0, 0), 1),
                                           wxGenericBrush(wxGenericColour(255, 255, 0))));

        if (zoomed)
            m_plot->SetViewRect(wxRect2DDouble(9.0, 3.0, 14.0, 5.5));
        else
            m_plot->FitToCurve(-1);
    }

    void ShowFunction()
    {
        m_plot->SetPlotTitle(wxS("A damped wave"));
        m_plot->SetShowPlotTitle(true);
        m_plot->SetXAxisLabel(wxS("x"));
        m_plot->SetYAxisLabel(wxS("sin(x)*exp(-x/10)"));
        m_plot->SetShowXAxisLabel(true);
        m_plot->SetShowYAxisLabel(true);
        auto* wave = new wxPlotFunction;
        if (!wave->Create(wxS("sin(x)*exp(-x/10)")))
        {
            delete wave;
            return;
        }
        wave->SetPen(wxPLOTPEN_ACTIVE, wxGenericPen(wxGenericColour(30, 60, 200), 2));
        wave->SetPen(wxPLOTPEN_SELECTED, wxGenericPen(wxGenericColour(255, 150, 0), 3));
        m_plot->AddCurve(wave, true);
        // A function's band selects x ranges: the band spans the height.
        m_plot->SetAreaMouseMarker(wxPLOTCTRL_MARKER_VERT);
        m_plot->SetViewRect(wxRect2DDouble(-1, -0.8, 42, 1.8));
    }

    void BindStatus()
    {
        m_plot->Bind(wxEVT_PLOTCTRL_CURSOR_CHANGED, [this](wxPlotCtrlEvent& e) {
            e.Skip();
            if (e.GetCurveIndex() < 0)
                SetStatusText(wxS("Cursor cleared"), 1);
            else
                SetStatusText(wxString::Format(wxS("Cursor: curve %d, point %d at (%.2f, %.2f)"),
                                               e.GetCurveIndex(), e.GetCurveDataIndex(), e.GetX(),
                                               e.GetY()),
                              1);
        });
        m_plot->Bind(wxEVT_PLOTCTRL_RANGE_SELECTED, [this](wxPlotCtrlSelEvent& e) {
            e.Skip();
            const wxString what = e.GetSelecting() ? wxS("Selected") : wxS("Deselected");
            if (m_plot->IsDataCurve(e.GetCurveIndex()))
                SetStatusText(wxString::Format(wxS("%s points %d..%d of curve %d"), what,
                                               e.GetDataRange().m_min, e.GetDataRange().m_max,
                                               e.GetCurveIndex()),
                              1);
            else
                SetStatusText(wxString::Format(wxS("%s x %.2f..%.2f of curve %d"), what,
                                               e.GetValueRange().m_min, e.GetValueRange().m_max,
                                               e.GetCurveIndex()),
                              1);
        });
        m_plot->Bind(wxEVT_PLOTCTRL_VIEW_CHANGED, [this](wxPlotCtrlEvent& e) {
            e.Skip();
            const wxRect2DDouble& v = m_plot->GetViewRect();
            SetStatusText(wxString::Format(wxS("View x %.2f..%.2f, y %.2f..%.2f"), v.m_x,
                                           v.m_x + v.m_width, v.m_y, v.m_y + v.m_height),
                          1);
        });
    }

    // Area pixel of a plot point, on the screen.
    wxPoint ScreenOf(double x, double y) const
    {
        return m_plot->GetPlotArea()->ClientToScreen(
            wxPoint(m_plot->PlotXToPixel(x), m_plot->PlotYToPixel(y)));
    }
    wxPoint ScreenAt(double fx, double fy) const
    {
        const wxSize size = m_plot->GetPlotArea()->GetClientSize();
        return m_plot->GetPlotArea()->ClientToScreen(wxPoint(int(fx * size.x), int(fy * size.y)));
    }

    void MoveTo(const wxPoint& screen)
    {
        wxPlotCtrlArea* area = m_plot->GetPlotArea();
        m_script.Add([this, screen] { m_script.Sim().MouseMove(screen); },
                     [area, screen] { return area->ClientToScreen(area->m_lastMousePos) == screen; });
    }
    void Press()
    {
        m_script.Add([this] { m_script.Sim().MouseDown(); },
                     [this] { return m_plot->GetPlotArea()->m_mouseRect != wxRect(); });
    }
    void Release()
    {
        m_script.Add([this] { m_script.Sim().MouseUp(); },
                     [this] { return m_plot->GetPlotArea()->m_mouseRect == wxRect(); });
    }
    void Shift(bool down)
    {
        const int function = down ? wxPLOTCTRL_MOUSE_SELECT : wxPLOTCTRL_MOUSE_ZOOM;
        m_script.Add(
            [this, down] {
                if (down)
                    m_script.Sim().KeyDown(WXK_SHIFT);
                else
                    m_script.Sim().KeyUp(WXK_SHIFT);
            },
            [this, function] { return m_plot->GetAreaMouseFunction() == function; });
    }
    void Drag(const wxPoint& from, const wxPoint& to, bool release)
    {
        MoveTo(from);
        Press();
        MoveTo((from + to) / 2);
        MoveTo(to);
        if (release)
            Release();
    }

    void PlayInput()
    {
        m_plot->GetPlotArea()->SetFocus();
        if (m_act == wxS("band") || m_act == wxS("zoom"))
            Drag(ScreenAt(0.22, 0.18), ScreenAt(0.55, 0.62), m_act == wxS("zoom"));
        else if (m_act == wxS("select"))
        {
            Shift(true);
            Drag(ScreenOf(8, 8.9), ScreenOf(17, 3.0), true);
            Shift(false);
        }
        else if (m_act == wxS("cursor"))
        {
            const wxPoint2DDouble p = m_plot->GetDataCurve(2)->GetPoint(30);
            MoveTo(ScreenOf(p.m_x, p.m_y) + wxPoint(1, 1));
            Press();
            Release();
            for (int i = 0; i < 2; ++i)
                m_script.Add([this] { m_script.Sim().Char('.'); },
                             [this, i] { return m_plot->GetCursorDataIndex() == 31 + i; });
            MoveTo(ScreenAt(0.9, 0.9));
        }
        else if (m_act == wxS("xrange"))
        {
            Shift(true);
            Drag(ScreenOf(9, 0.7), ScreenOf(17, -0.5), true);
            Shift(false);
            MoveTo(ScreenAt(0.95, 0.05));
        }
        else
        {
            std::fprintf(stderr, "plot_demo: no such input: %s\n", m_act.utf8_str().data());
            std::exit(2);
        }
        m_script.Run([this] {
            Update();
            if (!m_readyFile.empty())
                m_settle.StartOnce(300);
        });
    }

    void ReportReady() { WriteReadyFile(m_readyFile, GetScreenRect()); }

    wxPlotCtrl* m_plot = nullptr;
    wxString m_act;
    wxString m_readyFile;
    wxTimer m_settle;
    InputScript m_script;
};
} // namespace

class PlotDemoApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxCmdLineParser parser(argc, argv);
        parser.AddSwitch("", "zoomed", "zoom into the middle instead of fitting all");
        parser.AddSwitch("", "function", "show the function curve sin(x)*exp(-x/10)");
        parser.AddOption("", "act", "play input: band, zoom, select, cursor or xrange");
        parser.AddOption("", "ready", "write the window's screen rectangle to this file");
        if (parser.Parse() != 0)
            return false;
        wxString readyFile, act;
        parser.Found("ready", &readyFile);
        parser.Found("act", &act);
        auto* frame =
            new DemoFrame(parser.Found("zoomed"), parser.Found("function"), act, readyFile);
        frame->Start();
        return true;
    }
};

wxIMPLEMENT_APP(PlotDemoApp);
