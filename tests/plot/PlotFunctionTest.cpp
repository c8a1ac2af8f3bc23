#include "wxPlotFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{

TEST(PlotFunction, WithoutExpressionAnswersNeutralValues)
{
    std::unique_ptr<wxObject> obj(wxCreateDynamicObject(wxS("wxPlotFunction")));
    ASSERT_NE(nullptr, obj);
    ASSERT_TRUE(obj->IsKindOf(wxCLASSINFO(wxPlotCurve)));
    const wxPlotFunction& f = *static_cast<wxPlotFunction*>(obj.get());
    EXPECT_FALSE(f.Ok());
    EXPECT_EQ(0.0, f.GetY(1.0));
    EXPECT_TRUE(f.GetFunctionString().empty());
    EXPECT_EQ(0, f.GetNumberOfVariables());
    EXPECT_EQ(0.0, f.GetValue({1.0}));

    wxPlotFunction copy(f);
    EXPECT_FALSE(copy.Ok());
    wxPlotFunction other;
    EXPECT_FALSE(other.Create(f));
    std::unique_ptr<wxPlotCurve> clone(f.Clone());
    EXPECT_FALSE(clone->Ok());

    // A text that does not compile leaves a function that is not Ok.
    wxPlotFunction bad;
    EXPECT_FALSE(bad.Create(wxS("sin(x")));
    EXPECT_FALSE(bad.Ok());
    EXPECT_EQ(wxFP_PARSE_MISSING_PARENTHESIS, bad.GetParseErrorCode());
    EXPECT_EQ(0.0, bad.GetY(1.0));
    EXPECT_TRUE(bad.GetFunctionString().empty());
}

TEST(PlotFunction, CopiesShareTheExpression)
{
    wxPlotFunction f;
    ASSERT_TRUE(f.Create(wxS("sin(x)*exp(-x/10)")));
    EXPECT_EQ(1, f.GetNumberOfVariables());
    EXPECT_EQ(wxS("sin(x)*exp(-x/10)"), f.GetFunctionString());
    for (double x : {-3.0, 0.0, 0.5, 12.0})
        EXPECT_NEAR(std::sin(x) * std::exp(-x / 10), f.GetY(x), 1e-15);

    std::unique_ptr<wxPlotCurve> clone(f.Clone());
    ASSERT_TRUE(clone->IsKindOf(wxCLASSINFO(wxPlotFunction)));
    ASSERT_TRUE(clone->Ok());
    EXPECT_EQ(f.GetY(2.0), clone->GetY(2.0));

    // A deep copy keeps the expression.
    wxPlotFunction own(f);
    own.UnShare();
    EXPECT_TRUE(own.Ok());
    EXPECT_EQ(f.GetY(3.0), own.GetY(3.0));

    // Recreating one copy leaves the others as they were.
    wxPlotFunction g = f;
    ASSERT_TRUE(g.Create(wxS("2*x")));
    EXPECT_EQ(6.0, g.GetY(3.0));
    EXPECT_NEAR(std::sin(3.0) * std::exp(-0.3), f.GetY(3.0), 1e-15);
}

TEST(PlotFunction, VariablesAreCountedNotOverread)
{
    wxPlotFunction f;
    ASSERT_TRUE(f.Create(wxS("x - y"), wxS("x,y")));
    EXPECT_EQ(2, f.GetNumberOfVariables());
    EXPECT_EQ(0.0, f.GetY(5.0));
    EXPECT_EQ(wxFP_EVAL_NO_INPUT, f.GetEvalErrorCode());
    EXPECT_EQ(3.0, f.GetValue({5.0, 2.0}));
    EXPECT_EQ(wxFP_EVAL_OK, f.GetEvalErrorCode());
    EXPECT_EQ(0.0, f.GetValue({5.0}));
    EXPECT_EQ(wxFP_EVAL_NO_INPUT, f.GetEvalErrorCode());

    wxPlotFunction g;
    ASSERT_TRUE(g.Create(wxS("1/x")));
    EXPECT_EQ(0.0, g.GetY(0.0));
    EXPECT_EQ(wxFP_EVAL_DIVISION_BY_ZERO, g.GetEvalErrorCode());
    EXPECT_EQ(0.5, g.GetY(2.0));
    EXPECT_EQ(wxFP_EVAL_OK, g.GetEvalErrorCode());
}

} // namespace
