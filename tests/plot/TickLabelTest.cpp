// Tick labels as a user reads them: the number of each tick as printf would
// write it (they are written without printf on the common formats), and
// zero without a sign.

#include "PlotCtrlTestSupport.h"

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
    // halfway cases, far from zero.
    const double views[][3] = {
        {0, 200, 50000},      {-0.35, 0.7, 1000},     {0.013, 9.91, 1000},   {-1234.5, 77.25, 50000},
        {2000, 1000, 1000},   {-0.0005, 0.001, 1000}, {1e-7, 3.3e-7, 1000},  {-9.87e12, 4.1e11, 1000},
        {0.125, 0.0625, 1000}, {999999.5, 2.5, 1e7},  {-1e300, 7e299, 1000}, {2.5e-300, 1e-300, 1000},
        {-0.7, 2.1, 1000},    {-3.3, 6.6, 1000},      {-0.063, 0.09, 1000},  {-2.1e-5, 3e-5, 1000},
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
                t += step;
            }
        }
    }
    EXPECT_GE(zeros, 12);
    freelocale(cLocale);
}

} // namespace
