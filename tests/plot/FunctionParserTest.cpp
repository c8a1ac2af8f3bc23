#include "wxFunctionParser.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace
{

const double kNaN = std::nan("");

struct CodeCase
{
    const char* name;
    std::vector<std::uint32_t> code;
    std::vector<double> immediates;
    std::vector<double> variables;
    double value;
    int error;
};

// if (imm0) imm1 else imm2
const std::vector<std::uint32_t> kIfCode = {opImmediate, opIf, 7, 2, opImmediate, opJump, 8, 3, opImmediate};

TEST(FunctionByteCode, EachOpcodeGivesItsValueOrError)
{
    const double x = 1e11;
    const CodeCase cases[] = {
        {"divide by zero", {opImmediate, opImmediate, opDiv}, {1, 0}, {}, 0.0, wxFP_EVAL_DIVISION_BY_ZERO},
        {"divide", {opImmediate, opImmediate, opDiv}, {1, 4}, {}, 0.25, 0},
        {"modulo keeps the sign of a", {opImmediate, opImmediate, opMod}, {-7, 3}, {}, -1.0, 0},
        {"modulo by zero", {opImmediate, opImmediate, opMod}, {7, 0}, {}, 0.0, 1},
        {"reciprocal of zero", {opImmediate, opReciprocal}, {0}, {}, 0.0, 1},
        {"cotangent of zero", {opImmediate, opCot}, {0}, {}, 0.0, 1},
        {"cosecant of zero", {opImmediate, opCsc}, {0}, {}, 0.0, 1},
        {"square root of -1", {opImmediate, opSqrt}, {-1}, {}, 0.0, wxFP_EVAL_SQRT_OF_NEGATIVE},
        {"log of 0", {opImmediate, opLog}, {0}, {}, 0.0, wxFP_EVAL_LOG_DOMAIN},
        {"log10 of -1", {opImmediate, opLog10}, {-1}, {}, 0.0, 3},
        {"log10 of 1000", {opImmediate, opLog10}, {1000}, {}, 3.0, 0},
        {"acos of 1.5", {opImmediate, opAcos}, {1.5}, {}, 0.0, wxFP_EVAL_ARC_DOMAIN},
        {"asin of -1.01", {opImmediate, opAsin}, {-1.01}, {}, 0.0, 4},
        {"asin of -1", {opImmediate, opAsin}, {-1}, {}, -M_PI / 2, 0},
        {"equal within 1e-14", {opImmediate, opImmediate, opEqual}, {1.0, 1.0 + 1e-15}, {}, 1.0, 0},
        {"not equal within 1e-14", {opImmediate, opImmediate, opNotEqual}, {1.0, 1.0 + 1e-15}, {}, 0.0, 0},
        {"less within 1e-14", {opImmediate, opImmediate, opLess}, {1.0, 1.0 + 1e-15}, {}, 0.0, 0},
        {"less or equal", {opImmediate, opImmediate, opLessOrEqual}, {1.0 + 1e-15, 1.0}, {}, 1.0, 0},
        {"greater within 1e-14", {opImmediate, opImmediate, opGreater}, {1.0 + 1e-15, 1.0}, {}, 0.0, 0},
        {"greater or equal", {opImmediate, opImmediate, opGreaterOrEqual}, {1.0, 1.0 + 1e-15}, {}, 1.0, 0},
        {"if 0.4 jumps", kIfCode, {0.4, 10, 20}, {}, 20, 0},
        {"if -0.49 jumps", kIfCode, {-0.49, 10, 20}, {}, 20, 0},
        {"if 0.5 does not", kIfCode, {0.5, 10, 20}, {}, 10, 0},
        {"if -0.5 does not", kIfCode, {-0.5, 10, 20}, {}, 10, 0},
        {"if 1e300 does not", kIfCode, {1e300, 10, 20}, {}, 10, 0},
        {"if NaN does not", kIfCode, {kNaN, 10, 20}, {}, 10, 0},
        {"not 0.4", {opImmediate, opNot}, {0.4}, {}, 1.0, 0},
        {"not -1e300", {opImmediate, opNot}, {-1e300}, {}, 0.0, 0},
        {"and 0.5, 1", {opImmediate, opImmediate, opAnd}, {0.5, 1}, {}, 1.0, 0},
        {"and 0.4, 1", {opImmediate, opImmediate, opAnd}, {0.4, 1}, {}, 0.0, 0},
        {"or 0.4, -0.6", {opImmediate, opImmediate, opOr}, {0.4, -0.6}, {}, 1.0, 0},
        {"round -2.5", {opImmediate, opRound}, {-2.5}, {}, -2.0, 0},
        {"round 2.5", {opImmediate, opRound}, {2.5}, {}, 3.0, 0},
        {"asinh -1e11", {opVariable, opNegate, opAsinh}, {}, {x}, -(std::log(x) + 0.69314718055995), 0},
        {"asinh 1e11", {opVariable, opAsinh}, {}, {x}, std::log(x) + 0.69314718055995, 0},
        {"asinh 0.3", {opImmediate, opAsinh}, {0.3}, {}, std::asinh(0.3), 0},
        {"acosh 0.5", {opImmediate, opAcosh}, {0.5}, {}, 0.0, 0},
        {"acosh 2", {opImmediate, opAcosh}, {2}, {}, std::acosh(2.0), 0},
        {"atanh 1", {opImmediate, opAtanh}, {1}, {}, DBL_MAX, 0},
        {"atanh -1", {opImmediate, opAtanh}, {-1}, {}, -DBL_MAX, 0},
        {"atanh -0.1", {opImmediate, opAtanh}, {-0.1}, {}, std::atanh(-0.1), 0},
        {"atanh 0.5", {opImmediate, opAtanh}, {0.5}, {}, std::atanh(0.5), 0},
        {"atan2 is the angle of (b, a)", {opImmediate, opImmediate, opAtan2}, {1, 0}, {}, M_PI / 2, 0},
        {"degrees", {opImmediate, opDegrees}, {M_PI}, {}, 180.0, 0},
        {"radians", {opImmediate, opRadians}, {180}, {}, M_PI, 0},
        {"dup, nop, multiply", {opVariable, opDup, opNop, opMul}, {}, {3}, 9.0, 0},
        {"second variable", {opVariable + 1, opVariable, opSub}, {}, {1, 5}, 4.0, 0},
        {"max, min", {opImmediate, opImmediate, opMax, opImmediate, opMin}, {2, 7, 5}, {}, 5.0, 0},
    };
    for (const CodeCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        wxFunctionParser p;
        ASSERT_TRUE(p.LoadByteCode(int(c.variables.size()), c.code, c.immediates));
        const double v = p.Eval(c.variables);
        EXPECT_EQ(c.error, p.GetEvalErrorCode());
        EXPECT_NEAR(c.value, v, std::fabs(c.value) * 1e-13 + 1e-300);
    }
}

TEST(FunctionByteCode, MalformedCodeIsRefused)
{
    const CodeCase cases[] = {
        {"empty", {}, {}, {}, 0, 0},
        {"operator without operands", {opAdd}, {}, {}, 0, 0},
        {"binary with one operand", {opVariable, opAdd}, {}, {1}, 0, 0},
        {"two values left", {opVariable, opVariable}, {}, {1}, 0, 0},
        {"immediate missing", {opImmediate, opImmediate, opAdd}, {1}, {}, 0, 0},
        {"variable out of range", {opVariable + 1}, {}, {1}, 0, 0},
        {"no external function 0", {opVariable, opCallFunction, 0}, {}, {1}, 0, 0},
        {"no parser 0", {opVariable, opCallParser, 0}, {}, {1}, 0, 0},
        {"operand words cut off", {opVariable, opIf, 3}, {}, {1}, 0, 0},
        {"call index cut off", {opCallFunction}, {}, {}, 0, 0},
        {"jump backwards", {opVariable, opJump, 0, 0}, {}, {1}, 0, 0},
        {"jump onto itself", {opVariable, opJump, 1, 0}, {}, {1}, 0, 0},
        {"jump into an operand word",
         {opVariable, opVariable, opIf, 6, 0, opVariable, opJump, 8, 0, opAdd}, {}, {1}, 0, 0},
        {"jump past the end", {opVariable, opJump, 4, 0}, {}, {1}, 0, 0},
        {"jump past the immediates", {opVariable, opJump, 3, 1}, {}, {1}, 0, 0},
        {"paths meet with different depths",
         {opVariable, opVariable, opIf, 5, 0, opVariable, opAdd}, {}, {1}, 0, 0},
        {"paths meet at different immediates",
         {opVariable, opIf, 3, 1, opImmediate}, {5, 6}, {1}, 0, 0},
        {"eval with too few values", {opVariable, opEval}, {}, {1, 2}, 0, 0},
        {"stack empty before if", {opIf, 2, 0, opVariable}, {}, {1}, 0, 0},
    };
    for (const CodeCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        wxFunctionParser p;
        EXPECT_FALSE(p.LoadByteCode(int(c.variables.size()), c.code, c.immediates));
        EXPECT_EQ(wxFP_PARSE_UNEXPECTED, p.GetParseErrorCode());
        EXPECT_FALSE(p.IsParsed());
        EXPECT_EQ(0.0, p.Eval(c.variables));
        EXPECT_EQ(wxFP_EVAL_NO_INPUT, p.GetEvalErrorCode());
    }
}

struct ExprCase
{
    const char* text;
    const char* variables;
    std::vector<double> values;
    double value;
    int error;
};

TEST(FunctionParser, GoodExpressionsGiveTheirValues)
{
    const ExprCase cases[] = {
        {"1+2*3", "", {}, 7, 0},
        {"(1+2)*3", "", {}, 9, 0},
        {"10-4-3", "", {}, 3, 0},
        {"2*3%4", "", {}, 2, 0},
        {"-2^2", "", {}, -4, 0},
        {"2^3^2", "", {}, 512, 0},
        {"2^-1", "", {}, 0.5, 0},
        {"--x", "x", {3}, 3, 0},
        {" x * y ", "x, y", {3, 4}, 12, 0},
        {"1 < 2 & 2 < 1 | 3 == 3", "", {}, 1, 0},
        {"x >= 2 & !(x != 2)", "x", {2}, 1, 0},
        {"1+2=3", "", {}, 1, 0},
        {"if(x > 0, 1, -1) * 10 + if(x, 5, 6)", "x", {-3}, -5, 0},
        {"if(x<1, if(x<0, -1, 0), 1+if(x>5, 2.5e1, .5))", "x", {3}, 1.5, 0},
        {"max(x, y) - min(x, y)", "x,y", {2, 7}, 5, 0},
        {"atan2(1, 0) - pi/2", "", {}, 0, 0},
        {"round(2.5) + floor(-0.5) + ceil(0.2) + abs(-4)", "", {}, 7, 0},
        {"log(e) + log10(100) + sqrt(16) + exp(0)", "", {}, 8, 0},
        {"deg(rad(90))", "", {}, 90, 0},
        {"sin(x)*exp(-x/10)", "x", {2}, std::sin(2.0) * std::exp(-0.2), 0},
        {"if(x <= 0, 1, x*eval(x-1))", "x", {5}, 120, 0},
        {"x_1 + X2", "x_1,X2", {1, 2}, 3, 0},
        {"x/0", "x", {1}, 0, wxFP_EVAL_DIVISION_BY_ZERO},
        {"1 + 1/(x-x)", "x", {1}, 0, wxFP_EVAL_DIVISION_BY_ZERO},
        {"log(x)", "x", {0}, 0, wxFP_EVAL_LOG_DOMAIN},
        {"if(1, 2, 1/0)", "", {}, 2, 0},
    };
    for (const ExprCase& c : cases)
    {
        SCOPED_TRACE(c.text);
        wxFunctionParser p;
        ASSERT_TRUE(p.Parse(c.text, c.variables)) << p.GetParseErrorCode();
        EXPECT_EQ(wxFP_PARSE_NONE, p.GetParseErrorCode());
        EXPECT_TRUE(p.GetParseErrorText().empty());
        EXPECT_EQ(int(c.values.size()), p.GetNumberOfVariables());
        EXPECT_NEAR(c.value, p.Eval(c.values), 1e-12);
        EXPECT_EQ(c.error, p.GetEvalErrorCode());
    }
}

TEST(FunctionParser, BadExpressionsGiveTheirCodes)
{
    const std::string deepParens = std::string(100000, '(') + "x" + std::string(100000, ')');
    const std::string manyMinus = std::string(100000, '-') + "x";
    std::string longPower = "2";
    for (int i = 0; i < 50000; ++i)
        longPower += "^2";
    const ExprCase cases[] = {
        {"x +* 2", "x", {}, 0, wxFP_PARSE_SYNTAX},
        {"x # 2", "x", {}, 0, 0},
        {"foo", "x", {}, 0, 0},
        {"foo(x)", "x", {}, 0, 0},
        {"1e999", "", {}, 0, 0},
        {"max(x,)", "x", {}, 0, 0},
        {"(x))", "x", {}, 0, wxFP_PARSE_MISMATCHED_PARENTHESIS},
        {"(x", "x", {}, 0, wxFP_PARSE_MISSING_PARENTHESIS},
        {"sin(x", "x", {}, 0, 2},
        {"if(x, 1, 2", "x", {}, 0, 2},
        {"()", "", {}, 0, wxFP_PARSE_EMPTY_PARENTHESES},
        {"sin( )", "x", {}, 0, 3},
        {"2 3", "", {}, 0, wxFP_PARSE_OPERATOR_EXPECTED},
        {"2(x)", "x", {}, 0, 4},
        {"(x y)", "x,y", {}, 0, 4},
        {deepParens.c_str(), "x", {}, 0, wxFP_PARSE_NO_MEMORY},
        {manyMinus.c_str(), "x", {}, 0, 5},
        {longPower.c_str(), "", {}, 0, 5},
        {"x", "x,,y", {}, 0, wxFP_PARSE_BAD_VARIABLES},
        {"x", "x,x", {}, 0, 7},
        {"x", "1x", {}, 0, 7},
        {"x", "sin", {}, 0, 7},
        {"atan2(x)", "x", {}, 0, wxFP_PARSE_ARGUMENT_COUNT},
        {"if(x, 1)", "x", {}, 0, 8},
        {"if(x, 1, 2, 3)", "x", {}, 0, 8},
        {"eval(x)", "x,y", {}, 0, 8},
        {"", "x", {}, 0, wxFP_PARSE_PREMATURE_END},
        {"x +", "x", {}, 0, 9},
        {"sin(", "x", {}, 0, 9},
        {"-", "", {}, 0, 9},
        {"sin x", "x", {}, 0, wxFP_PARSE_EXPECTING_PARENTHESIS},
        {"x + cos", "x", {}, 0, 10},
    };
    for (const ExprCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.text).substr(0, 40));
        wxFunctionParser p;
        EXPECT_FALSE(p.Parse(c.text, c.variables));
        EXPECT_EQ(c.error, p.GetParseErrorCode());
        EXPECT_EQ(wxString(FunctionParseErrorTexts[c.error]), p.GetParseErrorText());
        EXPECT_FALSE(p.IsParsed());
        EXPECT_EQ(0, p.GetNumberOfVariables());
    }

    // Nesting below the limit still works.
    wxFunctionParser p;
    ASSERT_TRUE(p.Parse(std::string(150, '(') + "x" + std::string(150, ')'), "x"));
    EXPECT_EQ(4.0, p.Eval({4.0}));
}

TEST(FunctionParser, RecursionStopsAtDepth1000AcrossParsers)
{
    wxFunctionParser count;
    ASSERT_TRUE(count.Parse("if(x <= 0, 0, 1 + eval(x - 1))", "x"));
    EXPECT_EQ(999.0, count.Eval({999.0}));
    EXPECT_EQ(wxFP_EVAL_OK, count.GetEvalErrorCode());
    EXPECT_EQ(0.0, count.Eval({1000.0}));
    EXPECT_EQ(wxFP_EVAL_RECURSION, count.GetEvalErrorCode());

    // Without an end, and doubly: stops at once instead of 2^1000 calls.
    wxFunctionParser twice;
    ASSERT_TRUE(twice.Parse("eval(x) + eval(x)", "x"));
    EXPECT_EQ(0.0, twice.Eval({1.0}));
    EXPECT_EQ(wxFP_EVAL_RECURSION, twice.GetEvalErrorCode());

    // Doubly with an end: fine while small, stopped when it would take too
    // many calls.
    wxFunctionParser power;
    ASSERT_TRUE(power.Parse("if(x <= 0, 1, eval(x - 1) + eval(x - 1))", "x"));
    EXPECT_EQ(1024.0, power.Eval({10.0}));
    EXPECT_EQ(0.0, power.Eval({40.0}));
    EXPECT_EQ(wxFP_EVAL_RECURSION, power.GetEvalErrorCode());

    // One count for both parsers: x nested levels here, then y in count.
    wxFunctionParser outer;
    ASSERT_TRUE(outer.AddFunction("count", count));
    ASSERT_TRUE(outer.Parse("if(x <= 0, count(y), 1 + eval(x - 1, y))", "x,y"));
    EXPECT_EQ(899.0, outer.Eval({500.0, 399.0}));
    EXPECT_EQ(wxFP_EVAL_OK, outer.GetEvalErrorCode());
    EXPECT_EQ(0.0, outer.Eval({500.0, 600.0}));
    EXPECT_EQ(wxFP_EVAL_RECURSION, outer.GetEvalErrorCode());
    EXPECT_EQ(600.0, count.Eval({600.0}));
}

double Hypot(const double* a)
{
    return std::sqrt(a[0] * a[0] + a[1] * a[1]);
}

TEST(FunctionParser, FunctionTablesCallWhatTheyWereGiven)
{
    wxFunctionParser inc;
    ASSERT_TRUE(inc.Parse("x + 1", "x"));
    wxFunctionParser p;
    EXPECT_FALSE(p.AddFunction("sin", Hypot, 2));
    EXPECT_FALSE(p.AddFunction("2h", Hypot, 2));
    EXPECT_FALSE(p.AddFunction("none", wxFunctionParser()));
    EXPECT_FALSE(p.AddConstant("pi", 3.0));
    ASSERT_TRUE(p.AddFunction("hyp", Hypot, 2));
    ASSERT_TRUE(p.AddFunction("inc", inc));
    ASSERT_TRUE(p.AddConstant("k", 10.0));
    EXPECT_FALSE(p.AddConstant("k", 11.0));

    ASSERT_TRUE(p.Parse("hyp(3, 4) + inc(x) * k", "x"));
    EXPECT_EQ(25.0, p.Eval({1.0}));
    EXPECT_FALSE(p.Parse("hyp(3)", "x"));
    EXPECT_EQ(wxFP_PARSE_ARGUMENT_COUNT, p.GetParseErrorCode());
    EXPECT_FALSE(p.Parse("x", "x,hyp"));
    EXPECT_EQ(wxFP_PARSE_BAD_VARIABLES, p.GetParseErrorCode());

    // The table keeps the callee's code: reparsing or destroying it later
    // changes nothing, and a parser that adds itself calls its old code.
    ASSERT_TRUE(p.Parse("inc(x)", "x"));
    ASSERT_TRUE(inc.Parse("x * 100", "x"));
    inc = wxFunctionParser();
    EXPECT_EQ(2.0, p.Eval({1.0}));
    ASSERT_TRUE(p.AddFunction("self", p));
    ASSERT_TRUE(p.Parse("self(self(x)) * 2", "x"));
    EXPECT_EQ(6.0, p.Eval({1.0}));
}

wxFunctionParser* g_reentered = nullptr;

// Evaluates and reparses the parser that calls it.
double Reenter(const double* a)
{
    const double v = a[0] > 0 ? g_reentered->Eval({a[0] - 1}) : 0.0;
    // Longer code than before: its arrays move.
    g_reentered->Parse("x * 1000 + 0 * (x + x + x + x + x + x + x + x + x + x)", "x");
    return v + 1;
}

// Evaluates the parser that calls it with x - 1.
double Deeper(const double* a)
{
    return a[0] > 0 ? g_reentered->Eval({a[0] - 1}) + 1 : 0.0;
}

TEST(FunctionParser, CopiesShareUntilOneChanges)
{
    wxFunctionParser a;
    ASSERT_TRUE(a.Parse("x * 2", "x"));
    wxFunctionParser b(a);
    wxFunctionParser c;
    c = a;
    EXPECT_EQ(wxS("x * 2"), c.GetFunctionString());
    EXPECT_EQ(wxS("x"), c.GetVarString());
    EXPECT_FALSE(a.Parse("x +", "x"));
    EXPECT_EQ(8.0, b.Eval({4.0}));
    EXPECT_EQ(8.0, c.Eval({4.0}));
    EXPECT_EQ(0.0, a.Eval({4.0}));
    EXPECT_EQ(wxFP_EVAL_NO_INPUT, a.GetEvalErrorCode());
    EXPECT_EQ(0.0, b.Eval(nullptr, 0));
    EXPECT_EQ(wxFP_EVAL_NO_INPUT, b.GetEvalErrorCode());
}

TEST(FunctionParser, ExternalFunctionsMayReenterSafelyAndBoundedly)
{
    // The running code stays alive and its stack untouched.
    wxFunctionParser r;
    g_reentered = &r;
    ASSERT_TRUE(r.AddFunction("reenter", Reenter, 1));
    ASSERT_TRUE(r.Parse("reenter(x) + x", "x"));
    EXPECT_EQ(6.0, r.Eval({2.0}));
    EXPECT_EQ(5000.0, r.Eval({5.0}));

    // Evaluations from external functions nest natively: stopped at 100.
    wxFunctionParser deep;
    g_reentered = &deep;
    ASSERT_TRUE(deep.AddFunction("deeper", Deeper, 1));
    ASSERT_TRUE(deep.Parse("deeper(x)", "x"));
    EXPECT_EQ(50.0, deep.Eval({50.0}));
    EXPECT_EQ(100.0, deep.Eval({5000.0}));
    g_reentered = nullptr;
}

} // namespace
