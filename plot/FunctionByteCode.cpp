#include "FunctionByteCode.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

FunctionParseResult::FunctionParseResult()
{
    m_constants.push_back({"pi", 3.14159265358979323846});
    m_constants.push_back({"e", 2.71828182845904523536});
}

FunctionParseResult* FunctionParseResult::Copy() const
{
    FunctionParseResult* copy = new FunctionParseResult;
    copy->m_variableNames = m_variableNames;
    copy->m_constants = m_constants;
    copy->m_functions = m_functions;
    copy->m_parsers = m_parsers;
    copy->m_variables = m_variables;
    copy->m_code = m_code;
    copy->m_immediates = m_immediates;
    copy->m_stack.assign(m_stack.size(), 0.0);
    copy->m_runnable = m_runnable;
    return copy;
}

void FunctionParseResult::ClearCode()
{
    m_variableNames.clear();
    m_variables = 0;
    m_code.clear();
    m_immediates.clear();
    m_stack.clear();
    m_runnable = false;
}

// --- Verification ---

namespace
{

// Operand words after an opcode.
size_t OperandWords(std::uint32_t op)
{
    switch (op)
    {
    case opIf:
    case opJump:
        return 2;
    case opCallFunction:
    case opCallParser:
        return 1;
    default:
        return 0;
    }
}

bool IsUnary(std::uint32_t op)
{
    switch (op)
    {
    case opAbs: case opAcos: case opAcosh: case opAsin: case opAsinh: case opAtan:
    case opAtanh: case opCeil: case opCos: case opCosh: case opCot: case opCsc:
    case opExp: case opFloor: case opRound: case opLog: case opLog10: case opSec:
    case opSin: case opSinh: case opSqrt: case opTan: case opTanh: case opNegate:
    case opNot: case opDegrees: case opRadians: case opReciprocal:
        return true;
    default:
        return false;
    }
}

bool IsBinary(std::uint32_t op)
{
    return op == opAtan2 || op == opMax || op == opMin || (op >= opAdd && op <= opOr && op != opNot);
}

// Stack depth and immediates position before an instruction; depth -1 while
// no path reaches it.
struct FlowState
{
    long depth = -1;
    size_t dp = 0;
};

bool Merge(FlowState& into, const FlowState& from)
{
    if (into.depth < 0)
    {
        into = from;
        return true;
    }
    return into.depth == from.depth && into.dp == from.dp;
}

} // namespace

bool VerifyByteCode(FunctionParseResult& r)
{
    r.m_runnable = false;
    const std::vector<std::uint32_t>& code = r.m_code;
    const size_t n = code.size();
    if (n == 0 || r.m_variables < 0)
        return false;

    std::vector<char> isStart(n + 1, 0);
    for (size_t ip = 0; ip < n; ip += 1 + OperandWords(code[ip]))
    {
        if (ip + OperandWords(code[ip]) >= n)
            return false;  // operand words cut off
        isStart[ip] = 1;
    }
    isStart[n] = 1;

    std::vector<FlowState> at(n + 1);
    at[0].depth = 0;
    long deepest = 0;
    for (size_t ip = 0; ip < n; ip += 1 + OperandWords(code[ip]))
    {
        const std::uint32_t op = code[ip];
        if (op >= opVariable && op - opVariable >= std::uint32_t(r.m_variables))
            return false;
        FlowState s = at[ip];
        if (s.depth < 0)
            continue;  // nothing reaches it

        long pops = 0, pushes = 0;
        bool fallsThrough = true;
        if (IsUnary(op))
            pops = pushes = 1;
        else if (IsBinary(op))
            pops = 2, pushes = 1;
        else if (op >= opVariable)
            pushes = 1;
        else
        {
            switch (op)
            {
            case opEval:
                pops = r.m_variables, pushes = 1;
                break;
            case opImmediate:
                if (s.dp >= r.m_immediates.size())
                    return false;
                pushes = 1;
                break;
            case opCallFunction:
                if (code[ip + 1] >= r.m_functions.size())
                    return false;
                pops = r.m_functions[code[ip + 1]].parameters, pushes = 1;
                break;
            case opCallParser:
            {
                if (code[ip + 1] >= r.m_parsers.size())
                    return false;
                const FunctionParseResult* callee = r.m_parsers[code[ip + 1]].result.get();
                if (!callee || !callee->m_runnable)
                    return false;
                pops = callee->m_variables, pushes = 1;
                break;
            }
            case opIf:
            case opJump:
            {
                pops = op == opIf ? 1 : 0;
                if (s.depth < pops)
                    return false;
                // Forward only, onto an instruction start (or the end), so
                // every run ends.
                const size_t target = size_t(code[ip + 1]) + 1;
                const size_t dp = code[ip + 2];
                if (target < ip + 3 || target > n || !isStart[target] || dp > r.m_immediates.size())
                    return false;
                FlowState jumped;
                jumped.depth = s.depth - pops;
                jumped.dp = dp;
                if (!Merge(at[target], jumped))
                    return false;
                fallsThrough = op == opIf;
                break;
            }
            case opNop:
                break;
            case opDup:
                pops = 1, pushes = 2;
                break;
            default:
                return false;
            }
        }
        if (s.depth < pops)
            return false;
        s.depth += pushes - pops;
        if (op == opImmediate)
            ++s.dp;
        if (s.depth > deepest)
            deepest = s.depth;
        if (fallsThrough && !Merge(at[ip + 1 + OperandWords(op)], s))
            return false;
    }
    if (at[n].depth != 1)
        return false;
    r.m_stack.assign(size_t(deepest), 0.0);
    r.m_runnable = true;
    return true;
}

// --- Evaluation ---

namespace
{

thread_local int t_nesting = 0;         // evaluations running, all parsers
thread_local long t_nestedCalls = 0;    // within the outermost one
thread_local int t_runs = 0;            // RunByteCode calls running

struct RunScope
{
    RunScope() { ++t_nesting, ++t_runs; }
    ~RunScope() { --t_nesting, --t_runs; }
};

// Conditions round half away from zero; in double, since converting NaN or
// 1e300 to an integer is undefined. NaN counts as true.
inline bool RoundsToZero(double x)
{
    return std::fabs(x) < 0.5;
}

const double kLn2 = 0.69314718055995;

double Log1p(double x)
{
    if (x == 0.0)
        return 0.0;
    if (x >= -0.2928 && x <= 0.4142)
    {
        const double s = x / (2.0 + x);
        const double z = s * s;
        return s * ((((((0.16948212488 * z + 0.1811136267967) * z + 0.22223823332791) * z
                       + 0.285714091590488) * z + 0.400000001206045) * z + 0.666666666663366) * z
                    + 2.0);
    }
    return std::log(1.0 + x);
}

double Acosh(double x)
{
    if (x <= 1.0)
        return 0.0;
    if (x > 1e10)
        return std::log(x) + kLn2;
    return std::log(x + std::sqrt((x - 1.0) * (x + 1.0)));
}

double Asinh(double x)
{
    if (x == 0.0)
        return 0.0;
    const double a = std::fabs(x);
    const double v = a > 1e10 ? std::log(a) + kLn2 : Log1p(a + x * x / (1.0 + std::sqrt(1.0 + x * x)));
    return x < 0 ? -v : v;
}

double Atanh(double x)
{
    const double a = std::fabs(x);
    if (a >= 1.0)
        return x > 0 ? DBL_MAX : -DBL_MAX;
    if (x == 0.0)
        return 0.0;
    const double v = 0.5 * Log1p(2.0 * a / (1.0 - a));
    return x < 0 ? -v : v;
}

// An evaluation waiting for a nested one (eval or a parser call) to end.
// Nesting lives here rather than on the native stack, whose frames vary too
// much between builds for a depth of 1000 to be safe.
struct PendingCall
{
    const FunctionParseResult* result;
    const double* vars;
    double* stack;
    size_t ip;
    size_t dp;
    long sp;  // before the arguments were taken
    long arguments;
};

// Variables and stack of the nested evaluations, one buffer per depth, kept
// for the next call at that depth.
class CallBuffers
{
public:
    double* At(size_t depth, size_t size)
    {
        if (depth >= m_buffers.size())
            m_buffers.resize(depth + 1);
        Buffer& b = m_buffers[depth];
        if (b.size < size)
        {
            b.data.reset(new double[size]);
            b.size = size;
        }
        return b.data.get();
    }

private:
    struct Buffer
    {
        std::unique_ptr<double[]> data;
        size_t size = 0;
    };
    std::vector<Buffer> m_buffers;
};

// Restores the count of running evaluations however Run ends.
struct NestingRestore
{
    int saved = t_nesting;
    ~NestingRestore() { t_nesting = saved; }
};

double Run(const FunctionParseResult& outermost, const double* vars, double* stack, int& error)
{
    NestingRestore restore;
    std::vector<PendingCall> pending;
    CallBuffers buffers;
    const FunctionParseResult* r = &outermost;
    const std::uint32_t* code = r->m_code.data();
    size_t length = r->m_code.size();
    const double* immediates = r->m_immediates.data();
    size_t ip = 0, dp = 0;
    long sp = -1;
    const FunctionParseResult* callee = nullptr;
    for (;; ++ip)
    {
        if (ip >= length)
        {
            const double v = stack[sp];
            if (pending.empty())
            {
                error = wxFP_EVAL_OK;
                return v;
            }
            PendingCall& caller = pending.back();
            r = caller.result;
            vars = caller.vars;
            stack = caller.stack;
            ip = caller.ip;
            dp = caller.dp;
            sp = caller.sp + 1 - caller.arguments;
            code = r->m_code.data();
            length = r->m_code.size();
            immediates = r->m_immediates.data();
            pending.pop_back();
            --t_nesting;
            stack[sp] = v;
            continue;
        }
        switch (code[ip])
        {
        case opAbs: stack[sp] = std::fabs(stack[sp]); break;
        case opAcos:
            if (stack[sp] < -1.0 || stack[sp] > 1.0)
                return error = wxFP_EVAL_ARC_DOMAIN, 0.0;
            stack[sp] = std::acos(stack[sp]);
            break;
        case opAcosh: stack[sp] = Acosh(stack[sp]); break;
        case opAsin:
            if (stack[sp] < -1.0 || stack[sp] > 1.0)
                return error = wxFP_EVAL_ARC_DOMAIN, 0.0;
            stack[sp] = std::asin(stack[sp]);
            break;
        case opAsinh: stack[sp] = Asinh(stack[sp]); break;
        case opAtan: stack[sp] = std::atan(stack[sp]); break;
        case opAtan2: stack[sp - 1] = std::atan2(stack[sp - 1], stack[sp]); --sp; break;
        case opAtanh: stack[sp] = Atanh(stack[sp]); break;
        case opCeil: stack[sp] = std::ceil(stack[sp]); break;
        case opCos: stack[sp] = std::cos(stack[sp]); break;
        case opCosh: stack[sp] = std::cosh(stack[sp]); break;
        case opCot:
        {
            const double t = std::tan(stack[sp]);
            if (t == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp] = 1.0 / t;
            break;
        }
        case opCsc:
        {
            const double s = std::sin(stack[sp]);
            if (s == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp] = 1.0 / s;
            break;
        }
        case opEval: callee = r; break;
        case opExp: stack[sp] = std::exp(stack[sp]); break;
        case opFloor: stack[sp] = std::floor(stack[sp]); break;
        case opIf:
            if (RoundsToZero(stack[sp--]))
            {
                dp = code[ip + 2];
                ip = code[ip + 1];
            }
            else
                ip += 2;
            break;
        case opRound: stack[sp] = std::floor(stack[sp] + 0.5); break;
        case opLog:
            if (stack[sp] <= 0.0)
                return error = wxFP_EVAL_LOG_DOMAIN, 0.0;
            stack[sp] = std::log(stack[sp]);
            break;
        case opLog10:
            if (stack[sp] <= 0.0)
                return error = wxFP_EVAL_LOG_DOMAIN, 0.0;
            stack[sp] = std::log10(stack[sp]);
            break;
        case opMax: stack[sp - 1] = std::max(stack[sp - 1], stack[sp]); --sp; break;
        case opMin: stack[sp - 1] = std::min(stack[sp - 1], stack[sp]); --sp; break;
        case opSec:
        {
            const double c = std::cos(stack[sp]);
            if (c == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp] = 1.0 / c;
            break;
        }
        case opSin: stack[sp] = std::sin(stack[sp]); break;
        case opSinh: stack[sp] = std::sinh(stack[sp]); break;
        case opSqrt:
            if (stack[sp] < 0.0)
                return error = wxFP_EVAL_SQRT_OF_NEGATIVE, 0.0;
            stack[sp] = std::sqrt(stack[sp]);
            break;
        case opTan: stack[sp] = std::tan(stack[sp]); break;
        case opTanh: stack[sp] = std::tanh(stack[sp]); break;
        case opImmediate: stack[++sp] = immediates[dp++]; break;
        case opJump:
            dp = code[ip + 2];
            ip = code[ip + 1];
            break;
        case opNegate: stack[sp] = -stack[sp]; break;
        case opAdd: stack[sp - 1] += stack[sp]; --sp; break;
        case opSub: stack[sp - 1] -= stack[sp]; --sp; break;
        case opMul: stack[sp - 1] *= stack[sp]; --sp; break;
        case opDiv:
            if (stack[sp] == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp - 1] /= stack[sp];
            --sp;
            break;
        case opMod:
            if (stack[sp] == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp - 1] = std::fmod(stack[sp - 1], stack[sp]);
            --sp;
            break;
        case opPow: stack[sp - 1] = std::pow(stack[sp - 1], stack[sp]); --sp; break;
        case opEqual: stack[sp - 1] = std::fabs(stack[sp - 1] - stack[sp]) <= 1e-14 ? 1.0 : 0.0; --sp; break;
        case opNotEqual: stack[sp - 1] = std::fabs(stack[sp - 1] - stack[sp]) >= 1e-14 ? 1.0 : 0.0; --sp; break;
        case opLess: stack[sp - 1] = stack[sp - 1] < stack[sp] - 1e-14 ? 1.0 : 0.0; --sp; break;
        case opLessOrEqual: stack[sp - 1] = stack[sp - 1] <= stack[sp] + 1e-14 ? 1.0 : 0.0; --sp; break;
        case opGreater: stack[sp - 1] = stack[sp - 1] - 1e-14 > stack[sp] ? 1.0 : 0.0; --sp; break;
        case opGreaterOrEqual: stack[sp - 1] = stack[sp - 1] + 1e-14 >= stack[sp] ? 1.0 : 0.0; --sp; break;
        case opNot: stack[sp] = RoundsToZero(stack[sp]) ? 1.0 : 0.0; break;
        case opAnd:
            stack[sp - 1] = !RoundsToZero(stack[sp - 1]) && !RoundsToZero(stack[sp]) ? 1.0 : 0.0;
            --sp;
            break;
        case opOr:
            stack[sp - 1] = !RoundsToZero(stack[sp - 1]) || !RoundsToZero(stack[sp]) ? 1.0 : 0.0;
            --sp;
            break;
        case opDegrees: stack[sp] *= 57.29577951308232; break;
        case opRadians: stack[sp] *= 0.017453292519943295; break;
        case opCallFunction:
        {
            const FunctionParseResult::ExternalFunction& f = r->m_functions[code[++ip]];
            const long m = f.parameters;
            const double v = f.function(stack + sp + 1 - m);
            sp += 1 - m;
            stack[sp] = v;
            break;
        }
        case opCallParser: callee = r->m_parsers[code[++ip]].result.get(); break;
        case opNop: break;
        case opDup: stack[sp + 1] = stack[sp]; ++sp; break;
        case opReciprocal:
            if (stack[sp] == 0.0)
                return error = wxFP_EVAL_DIVISION_BY_ZERO, 0.0;
            stack[sp] = 1.0 / stack[sp];
            break;
        default: stack[++sp] = vars[code[ip] - opVariable]; break;
        }
        if (!callee)
            continue;

        // Into a nested evaluation with the top values as its variables.
        if (t_nesting >= kFunctionMaxNesting || ++t_nestedCalls > kFunctionMaxNestedCalls)
            return error = wxFP_EVAL_RECURSION, 0.0;
        const long n = callee->m_variables;
        double* storage = buffers.At(pending.size(), size_t(n) + callee->m_stack.size());
        std::copy(stack + sp + 1 - n, stack + sp + 1, storage);
        pending.push_back({r, vars, stack, ip, dp, sp, n});
        ++t_nesting;
        r = callee;
        callee = nullptr;
        vars = storage;
        stack = storage + n;
        code = r->m_code.data();
        length = r->m_code.size();
        immediates = r->m_immediates.data();
        ip = size_t(-1);  // the loop steps to 0
        dp = 0;
        sp = -1;
    }
}

} // namespace

double RunByteCode(FunctionParseResult& r, const double* variables, int& error)
{
    if (t_nesting >= kFunctionMaxNesting || t_runs >= kFunctionMaxRuns)
    {
        error = wxFP_EVAL_RECURSION;
        return 0.0;
    }
    if (t_nesting == 0)
        t_nestedCalls = 0;
    // An external function may reparse or reassign the parser that runs it;
    // the code stays alive until this run ends.
    r.IncRef();
    wxObjectDataPtr<FunctionParseResult> hold(&r);
    RunScope scope;
    if (r.m_stackBusy)
    {
        // Called again from an external function while its stack is in use.
        std::vector<double> stack(r.m_stack.size());
        return Run(r, variables, stack.data(), error);
    }
    r.m_stackBusy = true;
    const double v = Run(r, variables, r.m_stack.data(), error);
    r.m_stackBusy = false;
    return v;
}
