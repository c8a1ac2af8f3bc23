// Compiles and runs expressions, and loads and runs raw byte code.
//
// Input: byte 0 bit 0 = 0: the rest is an expression, optionally followed by
// byte 0x01 and the variable list (default "x"). Bit 0 = 1: byte code; bit 1
// picks one byte per word (0) or four little-endian bytes (1); byte 1 = the
// number of variables (low 2 bits) and of immediates (next 3 bits, picked
// from a table of awkward values by the following bytes); the rest is code.
// Both can call the external functions hyp (2), neg (1) and the parsers
// sq (1 variable) and fac (1, recursive), and use the constant k.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "wxFunctionParser.h"

namespace
{

double Hyp(const double* a)
{
    return std::hypot(a[0], a[1]);
}

double Neg(const double* a)
{
    return -a[0];
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

wxFunctionParser NewParser()
{
    static wxFunctionParser sq, fac;
    static bool ready = false;
    if (!ready)
    {
        Check(sq.Parse("x*x", "x"));
        Check(fac.Parse("if(x <= 1, 1, x*eval(x - 1))", "x"));
        ready = true;
    }
    wxFunctionParser p;
    Check(p.AddFunction("hyp", Hyp, 2));
    Check(p.AddFunction("neg", Neg, 1));
    Check(p.AddFunction("sq", sq));
    Check(p.AddFunction("fac", fac));
    Check(p.AddConstant("k", 0.25));
    return p;
}

const double kValues[8] = {0.0, 1.0, -1.0, 0.5, 0.4999, 1e300, -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};

// Evaluates at a few points; the codes must stay in their ranges, and a
// copy must agree with the original.
void EvaluateAll(wxFunctionParser& p)
{
    const int n = p.GetNumberOfVariables();
    Check(p.GetParseErrorCode() == wxFP_PARSE_NONE && n >= 0);
    wxFunctionParser copy(p);
    for (int set = 0; set < 3; ++set)
    {
        std::vector<double> v(size_t(n) + 1);
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = set == 0 ? double(i) + 0.5 : kValues[(i * 3 + size_t(set)) % 8];
        const double a = p.Eval(v);
        const int e = p.GetEvalErrorCode();
        Check(e >= wxFP_EVAL_OK && e <= wxFP_EVAL_RECURSION);
        Check(e == wxFP_EVAL_OK || a == 0.0);
        const double b = copy.Eval(v);
        Check(copy.GetEvalErrorCode() == e && (a == b || (std::isnan(a) && std::isnan(b))));
    }
    if (n > 0)
    {
        Check(p.Eval(nullptr, 0) == 0.0 && p.GetEvalErrorCode() == wxFP_EVAL_NO_INPUT);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    wxFunctionParser p = NewParser();
    const uint8_t* rest = data + 1;
    const std::size_t length = size - 1;

    if ((data[0] & 1) == 0)
    {
        std::size_t split = 0;
        while (split < length && rest[split] != 1)
            ++split;
        const wxString text = wxString::From8BitData(reinterpret_cast<const char*>(rest), split);
        const wxString vars = split < length ? wxString::From8BitData(reinterpret_cast<const char*>(rest + split + 1),
                                                                      length - split - 1)
                                             : wxString("x");
        if (!p.Parse(text, vars))
        {
            const int code = p.GetParseErrorCode();
            Check(code >= wxFP_PARSE_SYNTAX && code < wxFP_PARSE_NONE && !p.IsParsed());
            Check(p.Eval({1.0, 2.0, 3.0}) == 0.0 && p.GetEvalErrorCode() == wxFP_EVAL_NO_INPUT);
            return 0;
        }
        EvaluateAll(p);
        return 0;
    }

    if (length < 1)
        return 0;
    const bool wide = (data[0] & 2) != 0;
    const int variables = rest[0] & 3;
    const std::size_t count = (rest[0] >> 2) & 7;
    std::size_t pos = 1;
    std::vector<double> immediates;
    for (std::size_t i = 0; i < count && pos < length; ++i, ++pos)
        immediates.push_back(kValues[rest[pos] & 7] * (1 + (rest[pos] >> 3)));
    std::vector<std::uint32_t> code;
    const std::size_t step = wide ? 4 : 1;
    for (; pos + step <= length; pos += step)
    {
        std::uint32_t w = 0;
        for (std::size_t b = 0; b < step; ++b)
            w |= std::uint32_t(rest[pos + b]) << (8 * b);
        code.push_back(w);
    }
    if (p.LoadByteCode(variables, code, immediates))
        EvaluateAll(p);
    else
        Check(!p.IsParsed() && p.GetParseErrorCode() == wxFP_PARSE_UNEXPECTED);
    return 0;
}
