// A window with one plot control holding what the pages will put in it:
// two data curves, a curve of 100 000 points, markers of every kind the
// system uses (horizontal and vertical lines, point marks, a rectangle), a
// selection, the data cursor, the key, the title and both axis labels.
// scripts/screenshot-plot runs it under Xvfb and keeps the pictures.
//
//   plot_demo [--zoomed] [--ready FILE]
// Without --zoomed the view is fitted to the curves; with it SetViewRect
// zooms into the middle. With --ready, once the window is drawn its screen
// rectangle is written to FILE as WxH+X+Y (ImageMagick's crop geometry).

#include "ReadyFile.h"
#include "wxPlotCtrl.h"

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/timer.h>

#include <cmath>

namespace
{
// The mouse and key handling that moves the cursor and selects points is
// the control's next step; the demo sets both directly.
class DemoPlot : public wxPlotCtrl
{
public:
    explicit DemoPlot(wxWindow* parent) : wxPlotCtrl(parent, wxID_ANY) {}

    void PlaceCursor(int curve, int index)
    {
        m_cursorCurveIndex = curve;
        m_cursorDataIndex = index;
        m_cursorMarker.SetPlotPosition(GetDataCurve(curve)->GetPoint(index));
        m_cursorMarker.SetSize(wxSize(3, 3));
    }
    void Select(int curve, const IntRange& range)
    {
        m_curveDataSelections[curve].SelectRange(range);
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
    }
};

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

class DemoFrame : public wxFrame
{
public:
    DemoFrame(bool zoomed, const wxString& readyFile)
        : wxFrame(nullptr, wxID_ANY, "Plot control", wxPoint(0, 0), wxSize(900, 560)),
          m_readyFile(readyFile)
    {
        m_plot = new DemoPlot(this);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_plot, wxSizerFlags(1).Expand());
        SetSizer(sizer);
        Layout();

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
        m_plot->Select(2, IntRange(20, 30));
        m_plot->PlaceCursor(2, 42);

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

        m_settle.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ReportReady(); });
    }

    void Start()
    {
        Show();
        Update();
        if (!m_readyFile.empty())
            m_settle.StartOnce(500);
    }

private:
    void ReportReady() { WriteReadyFile(m_readyFile, GetScreenRect()); }

    DemoPlot* m_plot = nullptr;
    wxString m_readyFile;
    wxTimer m_settle;
};
} // namespace

class PlotDemoApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxCmdLineParser parser(argc, argv);
        parser.AddSwitch("", "zoomed", "zoom into the middle instead of fitting all");
        parser.AddOption("", "ready", "write the window's screen rectangle to this file");
        if (parser.Parse() != 0)
            return false;
        wxString readyFile;
        parser.Found("ready", &readyFile);
        auto* frame = new DemoFrame(parser.Found("zoomed"), readyFile);
        frame->Start();
        return true;
    }
};

wxIMPLEMENT_APP(PlotDemoApp);
