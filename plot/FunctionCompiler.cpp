#include "FunctionCompiler.h"

#include <charconv>
#include <cstring>

namespace
{

// Parentheses, unary operators and powers nest by recursion; deeper input is
// refused before it can exhaust the native stack.
const int kMaxNesting = 200;

enum
{
    kSyntax = 0,
    kMismatched = 1,
    kMissingClose = 2,
    kEmptyParentheses = 3,
    kOperatorExpected = 4,
    kTooDeep = 5,
    kBadVariables = 7,
    kArgumentCount = 8,
    kPrematureEnd = 9,
    kExpectingOpen = 10,
    kSuccess = 11
};

struct BuiltIn
{
    const char* name;
    std::uint32_t op;
    int arguments;  // -1: the number of variables (eval)
};

const BuiltIn kBuiltIns[] = {
    {"abs", opAbs, 1},     {"acos", opAcos, 1},   {"acosh", opAcosh, 1}, {"asin", opAsin, 1},
    {"asinh", opAsinh, 1}, {"atan", opAtan, 1},   {"atan2", opAtan2, 2}, {"atanh", opAtanh, 1},
    {"ceil", opCeil, 1},   {"cos", opCos, 1},     {"cosh", opCosh, 1},   {"cot", opCot, 1},
    {"csc", opCsc, 1},     {"deg", opDegrees, 1}, {"eval", opEval, -1},  {"exp", opExp, 1},
    {"floor", opFloor, 1}, {"if", opIf, 3},       {"log", opLog, 1},     {"log10", opLog10, 1},
    {"max", opMax, 2},     {"min", opMin, 2},     {"rad", opRadians, 1}, {"round", opRound, 1},
    {"sec", opSec, 1},     {"sin", opSin, 1},     {"sinh", opSinh, 1},   {"sqrt", opSqrt, 1},
    {"tan", opTan, 1},     {"tanh", opTanh, 1},
};

const BuiltIn* FindBuiltIn(const std::string& name)
{
    for (const BuiltIn& b : kBuiltIns)
        if (name == b.name)
            return &b;
    return nullptr;
}

bool IsIdentStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsIdentifier(const std::string& s)
{
    if (s.empty() || !IsIdentStart(s[0]))
        return false;
    for (char c : s)
        if (!IsIdentStart(c) && !IsDigit(c))
            return false;
    return true;
}

template <class Entry>
int IndexOf(const std::vector<Entry>& table, const std::string& name)
{
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].name == name)
            return int(i);
    return -1;
}

class Compiler
{
public:
    Compiler(const std::string& text, const FunctionParseResult& tables,
             std::vector<std::uint32_t>& code, std::vector<double>& immediates)
        : m_text(text), m_tables(tables), m_code(code), m_immediates(immediates)
    {
    }

    int Compile()
    {
        m_code.clear();
        m_immediates.clear();
        SkipSpace();
        if (AtEnd())
            return kPrematureEnd;
        if (!Or())
            return m_error;
        SkipSpace();
        if (!AtEnd())
            return Unexpected(kSyntax);
        return kSuccess;
    }

private:
    // --- Characters ---

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }

    void SkipSpace()
    {
        while (IsSpace(Peek()))
            ++m_pos;
    }

    // Consumes op when the text continues with it (after blanks).
    bool Accept(const char* op)
    {
        SkipSpace();
        const size_t n = std::strlen(op);
        if (m_text.compare(m_pos, n, op) != 0)
            return false;
        m_pos += n;
        return true;
    }

    bool Error(int code)
    {
        m_error = code;
        return false;
    }

    // The code for what stands at the current position where an operator,
    // ',' or ')' would be fine: a stray ')', or an operand right after an
    // operand, or something else.
    int Unexpected(int otherwise) const
    {
        const char c = Peek();
        if (c == ')')
            return kMismatched;
        if (IsIdentStart(c) || IsDigit(c) || c == '.' || c == '(')
            return kOperatorExpected;
        return otherwise;
    }

    void Emit(std::uint32_t word) { m_code.push_back(word); }

    // --- Grammar ---

    // Binary levels: next parses the operands, ops lists operator texts
    // (longest first where one is a prefix of another) with their opcodes.
    struct BinaryOp
    {
        const char* text;
        std::uint32_t op;
    };

    template <size_t N>
    bool Binary(bool (Compiler::*next)(), const BinaryOp (&ops)[N])
    {
        if (!(this->*next)())
            return false;
        for (;;)
        {
            const BinaryOp* found = nullptr;
            for (const BinaryOp& o : ops)
                if (Accept(o.text))
                {
                    found = &o;
                    break;
                }
            if (!found)
                return true;
            if (!(this->*next)())
                return false;
            Emit(found->op);
        }
    }

    bool Or()
    {
        static const BinaryOp ops[] = {{"|", opOr}};
        return Binary(&Compiler::And, ops);
    }

    bool And()
    {
        static const BinaryOp ops[] = {{"&", opAnd}};
        return Binary(&Compiler::Comparison, ops);
    }

    bool Comparison()
    {
        static const BinaryOp ops[] = {{"==", opEqual},      {"=", opEqual},   {"!=", opNotEqual},
                                       {"<=", opLessOrEqual}, {"<", opLess},    {">=", opGreaterOrEqual},
                                       {">", opGreater}};
        return Binary(&Compiler::Sum, ops);
    }

    bool Sum()
    {
        static const BinaryOp ops[] = {{"+", opAdd}, {"-", opSub}};
        return Binary(&Compiler::Product, ops);
    }

    bool Product()
    {
        static const BinaryOp ops[] = {{"*", opMul}, {"/", opDiv}, {"%", opMod}};
        return Binary(&Compiler::Unary, ops);
    }

    bool Unary()
    {
        if (m_depth >= kMaxNesting)
            return Error(kTooDeep);
        ++m_depth;
        bool ok;
        if (Accept("-"))
            ok = Unary() && (Emit(opNegate), true);
        else if (Accept("!"))
            ok = Unary() && (Emit(opNot), true);
        else if (Accept("+"))
            ok = Unary();
        else
            ok = Power();
        --m_depth;
        return ok;
    }

    // -2^2 is -(2^2); 2^-1 and 2^3^2 = 2^9 work.
    bool Power()
    {
        if (!Primary())
            return false;
        if (!Accept("^"))
            return true;
        if (!Unary())
            return false;
        Emit(opPow);
        return true;
    }

    bool Primary()
    {
        SkipSpace();
        if (AtEnd())
            return Error(kPrematureEnd);
        const char c = Peek();
        if (IsDigit(c) || c == '.')
            return Number();
        if (IsIdentStart(c))
            return Name();
        if (c != '(')
            return Error(kSyntax);
        ++m_pos;
        if (Accept(")"))
            return Error(kEmptyParentheses);
        if (!Or())
            return false;
        return Close();
    }

    // After a complete argument or parenthesised expression.
    bool Close()
    {
        return Accept(")") || CloseMissing();
    }

    bool CloseMissing()
    {
        return Error(AtEnd() ? kMissingClose : Unexpected(kSyntax));
    }

    bool Number()
    {
        const size_t begin = m_pos;
        size_t digits = 0;
        while (IsDigit(Peek()))
            ++m_pos, ++digits;
        if (Peek() == '.')
        {
            ++m_pos;
            while (IsDigit(Peek()))
                ++m_pos, ++digits;
        }
        if (digits == 0)
            return Error(kSyntax);
        if (Peek() == 'e' || Peek() == 'E')
        {
            size_t p = m_pos + 1;
            if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
                ++p;
            if (p < m_text.size() && IsDigit(m_text[p]))
            {
                m_pos = p;
                while (IsDigit(Peek()))
                    ++m_pos;
            }
        }
        double value = 0.0;
        const char* first = m_text.data() + begin;
        const char* last = m_text.data() + m_pos;
        const std::from_chars_result r = std::from_chars(first, last, value);
        if (r.ec != std::errc() || r.ptr != last)
            return Error(kSyntax);  // out of range, such as 1e999
        PushImmediate(value);
        return true;
    }

    void PushImmediate(double value)
    {
        Emit(opImmediate);
        m_immediates.push_back(value);
    }

    bool Name()
    {
        const size_t begin = m_pos;
        while (IsIdentStart(Peek()) || IsDigit(Peek()))
            ++m_pos;
        const std::string name = m_text.substr(begin, m_pos - begin);

        for (size_t i = 0; i < m_tables.m_variableNames.size(); ++i)
            if (m_tables.m_variableNames[i] == name)
            {
                Emit(opVariable + std::uint32_t(i));
                return true;
            }
        const int constant = IndexOf(m_tables.m_constants, name);
        if (constant >= 0)
        {
            PushImmediate(m_tables.m_constants[constant].value);
            return true;
        }

        std::uint32_t op = opNop, index = 0;
        int arguments = 0;
        bool hasIndex = false;
        if (const BuiltIn* b = FindBuiltIn(name))
        {
            op = b->op;
            arguments = b->arguments < 0 ? int(m_tables.m_variableNames.size()) : b->arguments;
        }
        else if (int f = IndexOf(m_tables.m_functions, name); f >= 0)
        {
            op = opCallFunction, index = std::uint32_t(f), hasIndex = true;
            arguments = m_tables.m_functions[f].parameters;
        }
        else if (int p = IndexOf(m_tables.m_parsers, name); p >= 0)
        {
            op = opCallParser, index = std::uint32_t(p), hasIndex = true;
            arguments = m_tables.m_parsers[p].result->m_variables;
        }
        else
            return Error(kSyntax);  // unknown name

        if (!Accept("("))
            return Error(kExpectingOpen);
        if (!Arguments(arguments, op == opIf))
            return false;
        if (op == opIf)
            return true;
        Emit(op);
        if (hasIndex)
            Emit(index);
        return true;
    }

    // The argument list after '('; for if, the jumps between the three.
    bool Arguments(int expected, bool isIf)
    {
        if (Accept(")"))
            return expected == 0 || Error(kEmptyParentheses);
        size_t ifAt = 0, jumpAt = 0;
        int count = 0;
        for (;;)
        {
            if (!Or())
                return false;
            ++count;
            if (Accept(")"))
                break;
            if (!Accept(","))
                return CloseMissing();
            if (isIf && count == 1)
            {
                ifAt = m_code.size();
                Emit(opIf), Emit(0), Emit(0);
            }
            else if (isIf && count == 2)
            {
                jumpAt = m_code.size();
                Emit(opJump), Emit(0), Emit(0);
                // False: on to the third argument, past the second one's
                // immediates.
                m_code[ifAt + 1] = std::uint32_t(m_code.size() - 1);
                m_code[ifAt + 2] = std::uint32_t(m_immediates.size());
            }
        }
        if (count != expected)
            return Error(kArgumentCount);
        if (isIf)
        {
            m_code[jumpAt + 1] = std::uint32_t(m_code.size() - 1);
            m_code[jumpAt + 2] = std::uint32_t(m_immediates.size());
        }
        return true;
    }

    const std::string& m_text;
    const FunctionParseResult& m_tables;
    std::vector<std::uint32_t>& m_code;
    std::vector<double>& m_immediates;
    size_t m_pos = 0;
    int m_depth = 0;
    int m_error = kSyntax;
};

} // namespace

bool IsFreeFunctionName(const std::string& name, const FunctionParseResult& tables)
{
    return IsIdentifier(name) && !FindBuiltIn(name) && IndexOf(tables.m_constants, name) < 0
        && IndexOf(tables.m_functions, name) < 0 && IndexOf(tables.m_parsers, name) < 0;
}

int CompileVariableNames(const std::string& variables, const FunctionParseResult& tables,
                         std::vector<std::string>& names)
{
    names.clear();
    if (variables.find_first_not_of(" \t") == std::string::npos)
        return kSuccess;
    size_t start = 0;
    for (;;)
    {
        const size_t comma = variables.find(',', start);
        const std::string piece = variables.substr(start, comma == std::string::npos ? std::string::npos
                                                                                     : comma - start);
        const size_t b = piece.find_first_not_of(" \t");
        const size_t e = piece.find_last_not_of(" \t");
        const std::string name = b == std::string::npos ? std::string() : piece.substr(b, e - b + 1);
        if (!IsIdentifier(name) || FindBuiltIn(name) || IndexOf(tables.m_functions, name) >= 0
            || IndexOf(tables.m_parsers, name) >= 0)
            return kBadVariables;
        for (const std::string& other : names)
            if (other == name)
                return kBadVariables;
        names.push_back(name);
        if (comma == std::string::npos)
            return kSuccess;
        start = comma + 1;
    }
}

int CompileFunction(const std::string& text, const FunctionParseResult& tables,
                    std::vector<std::uint32_t>& code, std::vector<double>& immediates)
{
    return Compiler(text, tables, code, immediates).Compile();
}
