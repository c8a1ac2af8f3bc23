// Tick labels are written without printf on the common formats; they must
// read exactly as printf would have written them.

#include "PlotCtrlTestSupport.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace
{

wxString PrintfLabel(const wxString& format, double value)
{
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", (locale_t)0);
    const locale_t old = uselocale(c);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format.utf8_str().data(), value == 0 ? 0.0 : value);
    uselocale(old);
    return wxString::FromUTF8(buffer);
}

TEST_F(PlotCtrlTest, TickLabelsReadAsPrintfWouldWriteThem)
{
    struct View
    {
        double start, width;
        int limit;
    };
    // Fixed and exponential formats, whole and fractional steps, below and
    // across zero, halfway cases and labels far from zero.
    const View views[] = {
        {0, 200, 50000},         {-0.35, 0.7, 1000},     {0.013, 9.91, 1000},    {-1234.5, 77.25, 50000},
        {2000, 1000, 1000},      {-0.0005, 0.001, 1000}, {1e-7, 3.3e-7, 1000},   {-9.87e12, 4.1e11, 1000},
        {0.125, 0.0625, 1000},   {999999.5, 2.5, 10000000},   {-1e300, 7e299, 1000},  {2.5e-300, 1e-300, 1000},
    };
    for (const View& v : views)
    {
        m_plot->SetAreaSizeForTest(640, 300);
        m_plot->TickLabelLimit() = v.limit;
        m_plot->ViewRect() = wxRect2DDouble();
        ASSERT_TRUE(m_plot->SetViewRect(wxRect2DDouble(v.start, v.start, v.width, v.width)));
        for (bool xAxis : {true, false})
        {
            const wxArrayString& labels = xAxis ? m_plot->GetXTickLabels() : m_plot->GetYTickLabels();
            const wxString& format = xAxis ? m_plot->GetXTickFormat() : m_plot->GetYTickFormat();
            const double step = xAxis ? m_plot->GetXTickStep() : m_plot->GetYTickStep();
            ASSERT_GT(labels.GetCount(), 1u) << v.start << " " << v.width;
            // The first tick is the first inside the view; the others follow
            // by repeated addition, as the control counts them.
            double t = std::ceil(v.start / step) * step;
            for (const wxString& label : labels)
            {
                EXPECT_EQ(PrintfLabel(format, t), label) << format << " at " << t;
                t += step;
            }
        }
    }
}

} // namespace
