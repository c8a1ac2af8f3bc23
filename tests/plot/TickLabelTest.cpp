// Tick labels as a user reads them: the number of each tick as printf would
// write it (they are written without printf on the common formats), with the
// digits its step needs, zero without a sign, and no two labels of an axis
// touching or cut off, however dense the ticks are asked for.

#include "PlotCtrlTestSupport.h"
#include "wxPlotDrawerAxis.h"

#include <cmath>
#include <cstdio>
#include <locale.h>

namespace
{

TEST_F(PlotCtrlTest, TickLabelsReadAsTheirTicks)
{
    const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", (locale_t)0);
    // {start, width, label limit}: fixed and exponential formats, whole and
    // fractional steps, across zero (where repeated steps land beside it),
    // halfway cases, far from zero, steps far below the values.
    const double views[][3] = {
        {0, 200, 50000},      {-0.35, 0.7, 1000},     {0.013, 9.91, 1000},   {-1234.5, 77.25, 50000},
        {2000, 1000, 1000},   {-0.0005, 0.001, 1000}, {1e-7, 3.3e-7, 1000},  {-9.87e12, 4.1e11, 1000},
        {0.125, 0.0625, 1000}, {999999.5, 2.5, 1e7},  {-1e300, 7e299, 1000}, {2.5e-300, 1e-300, 1000},
        {-0.7, 2.1, 1000},    {-3.3, 6.6, 1000},      {-0.063, 0.09, 1000},  {-2.1e-5, 3e-5, 1000},
        {1000, 5, 1000},      {-1005, 5, 1000},       {123456, 0.7, 1000},   {60000, 12.5, 50000},
        {2.2e-5, 6e-6, 1000}, {1e6, 1e-4, 1000},      {7e15, 64, 1000},      {-2.5e-7, 1e-17, 1000},
    };
    m_plot->SetSize(700, 400);
    m_plot->DoSize();
    int zeros = 0;
    for (const auto& v : views)
    {
        m_plot->TickLabelLimit() = int(v[2]);
        m_plot->ViewRect() = wxRect2DDouble();
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(v[0], v[0], v[1], v[1])));
        for (bool xAxis : {true, false})
        {
            const wxArrayString& labels = xAxis ? m_plot->GetXTickLabels() : m_plot->GetYTickLabels();
            const wxString format = xAxis ? m_plot->GetXTickFormat() : m_plot->GetYTickFormat();
            const double step = xAxis ? m_plot->GetXTickStep() : m_plot->GetYTickStep();
            ASSERT_GT(labels.GetCount(), 1u) << v[0] << " " << v[1];
            // The ticks follow the first inside the view by repeated
            // addition; the one at zero reads as zero.
            double t = std::ceil(v[0] / step) * step;
            for (const wxString& label : labels)
            {
                const bool zero = std::fabs(t) < step / 2;
                zeros += zero;
                char expected[128];
                const locale_t old = uselocale(cLocale);
                std::snprintf(expected, sizeof expected, format.utf8_str().data(), zero ? 0.0 : t);
                uselocale(old);
                EXPECT_EQ(wxString::FromUTF8(expected), label) << format << " at " << t;
                // So neighbours differ: 1000.5 once read 1.000e+03.
                double read = 0;
                EXPECT_TRUE(label.ToCDouble(&read) && std::fabs(read - t) < step / 100) << label << " at " << t;
                t += step;
            }
        }
    }
    EXPECT_GE(zeros, 12);
    freelocale(cLocale);
}

// The map plot and the oscilloscope ask for twice the ticks.
struct DenseTickPlot : PlotProbe
{
    using PlotProbe::PlotProbe;
    void CalcTicks(bool xAxis) override { CalcTicksWithHintFactor(xAxis, 2); }
};

TEST_F(PlotCtrlTest, TickLabelsNeitherTouchNorAreCutOff)
{
    auto* dense = new DenseTickPlot(guitest::SharedFrame(), wxID_ANY, wxPoint(0, 0), wxSize(420, 320));
    dense->SetSnapTicksToPixels(true);
    // The oscilloscope's window past frame 1000, long labels far from zero, exponential ones, across zero.
    const double views[][2] = {{0, 200}, {1010, 200}, {99990, 200}, {-1234.5, 77.25}, {2000, 1000},
                               {-0.0005, 0.001}, {-9.87e12, 4.1e11}, {0.013, 9.91}, {-3.3, 6.6}, {1000, 5}};
    wxBitmap bitmap(8, 8);
    wxMemoryDC dc(bitmap);
    for (PlotProbe* plot : {m_plot, static_cast<PlotProbe*>(dense)})
        for (const wxSize size : {wxSize(260, 200), wxSize(640, 420), wxSize(1280, 900)})
            for (const auto& v : views)
                for (bool xAxis : {true, false})
                {
                    plot->SetSize(size);
                    plot->DoSize();
                    ASSERT_TRUE(plot->SetViewRect(wxRect2DDouble(v[0], v[0], v[1], v[1])));
                    const wxSize axis = (xAxis ? plot->GetPlotXAxis() : plot->GetPlotYAxis())->GetClientSize();
                    const std::vector<int>& ticks = xAxis ? plot->GetXTickPositions() : plot->GetYTickPositions();
                    const wxArrayString& labels = xAxis ? plot->GetXTickLabels() : plot->GetYTickLabels();
                    const wxString where = wxString::Format("%s axis %dx%d dense %d: %s", xAxis ? "x" : "y",
                                                            size.x, size.y, plot == dense, wxJoin(labels, ' '));
                    // A narrow axis may have room for one long label only.
                    EXPECT_GE(labels.GetCount(), size.x < 600 ? 1u : 2u) << where;
                    dc.SetFont(plot->GetPlotDrawerXAxis()->GetTickFont());
                    for (int i = 0, prevStart = 0, prevEnd = 0; i < int(labels.GetCount()); ++i)
                    {
                        // Where the axis drawer puts the label, measured here.
                        const wxSize extent = dc.GetTextExtent(labels[i]);
                        const int length = xAxis ? extent.x : extent.y, span = xAxis ? axis.x : axis.y;
                        const int start = wxPlotDrawerAxisBase::LabelStart(ticks[i], length, span);
                        EXPECT_TRUE(start >= 0 && start + length <= span) << where << " cut at " << i;
                        // y labels start 2 pixels in; the axis is as wide as they need.
                        EXPECT_TRUE(xAxis || 2 + extent.x <= axis.x) << where << " cut short at " << i;
                        EXPECT_TRUE(i == 0 || std::max(start - prevEnd, prevStart - start - length) >= 1)
                            << where << " touching at " << i;
                        std::tie(prevStart, prevEnd) = std::make_pair(start, start + length);
                    }
                }
    delete dense;
}

} // namespace
