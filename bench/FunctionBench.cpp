// Cost of evaluating compiled expressions: one run of 20 instructions, and a
// function curve's y at each of 800 columns (what drawing it asks for).

#include "wxPlotFunction.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{

// abs(sin(x)*exp(-x/10) + cos(2*x)/(1+x*x)): 20 instructions.
const std::vector<std::uint32_t> kCode = {
    opVariable, opSin, opVariable, opNegate, opImmediate, opDiv, opExp, opMul,
    opImmediate, opVariable, opMul, opCos,
    opImmediate, opVariable, opVariable, opMul, opAdd, opDiv, opAdd, opAbs,
};
const std::vector<double> kImmediates = {10.0, 2.0, 1.0};

void BM_Eval20Instructions(benchmark::State& state)
{
    wxFunctionParser p;
    if (kCode.size() != 20 || !p.LoadByteCode(1, kCode, kImmediates))
    {
        state.SkipWithError("code refused");
        return;
    }
    double x = 0.25;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(p.Eval(&x, 1));
        x += 1e-3;
    }
    const double expected = std::fabs(std::sin(1.0) * std::exp(-0.1) + std::cos(2.0) / 2.0);
    if (std::fabs(p.Eval({1.0}) - expected) > 1e-12)
        state.SkipWithError("wrong value");
}
BENCHMARK(BM_Eval20Instructions);

void BM_FunctionCurve800Columns(benchmark::State& state)
{
    wxPlotFunction f;
    if (!f.Create(wxS("sin(x)*exp(-x/10)")))
    {
        state.SkipWithError("did not compile");
        return;
    }
    for (auto _ : state)
    {
        double sum = 0.0;
        for (int column = 0; column < 800; ++column)
            sum += f.GetY(column * 0.05);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FunctionCurve800Columns)->Unit(benchmark::kMicrosecond);

} // namespace
