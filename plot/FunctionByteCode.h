#pragma once
// The compiled form of an expression and the machine that runs it, shared by
// wxFunctionParser and its compiler. A parse result is reference-counted and
// never changes once shared: a parser about to change a shared result takes a
// deep copy first, so a result referenced by another parser's function table
// or by a running evaluation stays as it was.

#include <wx/object.h>

#include <cstdint>
#include <string>
#include <vector>

// An external function callable from an expression: it gets a pointer to its
// first argument and returns the value.
typedef double (*wxFunctionParserFunction)(const double* arguments);

// One instruction word; 16 and 29 take two operand words (target, immediates
// position), 48 and 49 one (table index).
enum FunctionOpcode : std::uint32_t
{
    opAbs = 0, opAcos, opAcosh, opAsin, opAsinh, opAtan, opAtan2, opAtanh,
    opCeil, opCos, opCosh, opCot, opCsc, opEval, opExp, opFloor,
    opIf = 16, opRound, opLog, opLog10, opMax, opMin, opSec, opSin,
    opSinh, opSqrt, opTan, opTanh,
    opImmediate = 28, opJump = 29, opNegate = 30,
    opAdd = 31, opSub, opMul, opDiv, opMod, opPow,
    opEqual = 37, opNotEqual, opLess, opLessOrEqual, opGreater, opGreaterOrEqual,
    opNot = 43, opAnd, opOr, opDegrees, opRadians,
    opCallFunction = 48, opCallParser = 49, opNop = 50, opDup = 51, opReciprocal = 52,
    opVariable = 53  // and above: push variable (word - 53)
};

// Evaluation error codes.
enum
{
    wxFP_EVAL_OK = 0,
    wxFP_EVAL_DIVISION_BY_ZERO = 1,
    wxFP_EVAL_SQRT_OF_NEGATIVE = 2,
    wxFP_EVAL_LOG_DOMAIN = 3,
    wxFP_EVAL_ARC_DOMAIN = 4,
    // Nested evaluation 1000 deep, more nested calls in one evaluation than
    // kFunctionMaxNestedCalls, or kFunctionMaxRuns evaluations started from
    // external functions.
    wxFP_EVAL_RECURSION = 5,
    // Not parsed, or fewer variable values than the function has variables.
    wxFP_EVAL_NO_INPUT = 6
};

// Nested evaluations (eval and parser calls, across all parsers) allowed at
// once, and in total within one outermost evaluation.
const int kFunctionMaxNesting = 1000;
const long kFunctionMaxNestedCalls = 100000;
// Evaluations started from inside external functions nest on the native
// stack; they count as nesting and stop at this depth.
const int kFunctionMaxRuns = 100;

class FunctionParseResult : public wxRefCounter
{
public:
    struct ExternalFunction
    {
        std::string name;
        wxFunctionParserFunction function;
        int parameters;
    };
    struct Constant
    {
        std::string name;
        double value;
    };
    struct ParserFunction
    {
        std::string name;
        wxObjectDataPtr<FunctionParseResult> result;  // runnable
    };

    FunctionParseResult();
    // A deep copy: tables, byte code and immediates.
    FunctionParseResult* Copy() const;
    // Drops the byte code; the tables stay.
    void ClearCode();

    // Used only by parsing.
    std::vector<std::string> m_variableNames;
    std::vector<Constant> m_constants;

    std::vector<ExternalFunction> m_functions;
    std::vector<ParserFunction> m_parsers;

    int m_variables = 0;
    std::vector<std::uint32_t> m_code;
    std::vector<double> m_immediates;
    // The outermost evaluation's stack, sized to the deepest stack the code
    // reaches.
    std::vector<double> m_stack;
    bool m_runnable = false;  // the code passed VerifyByteCode
    bool m_stackBusy = false;
};

// Checks everything the machine trusts: opcodes, operand words, stack depth
// before and after each instruction (exactly one value at the end),
// immediates, variable and table indexes, and that jumps go forward to an
// instruction start with the same stack depth and immediates position on
// every path. Sizes m_stack and sets m_runnable on success.
bool VerifyByteCode(FunctionParseResult& result);

// Runs verified code; stores the evaluation error code in error and returns
// 0.0 on an error. variables must hold at least result.m_variables values.
double RunByteCode(FunctionParseResult& result, const double* variables, int& error);
