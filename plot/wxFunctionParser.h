#pragma once
// An expression in one or more variables, compiled to byte code that runs on
// a stack of doubles. Copies share the compiled result; changing a parser
// (parsing, loading code, adding names) never changes its copies.

#include "FunctionByteCode.h"

#include <wx/string.h>

#include <cstdint>
#include <vector>

// Parse error codes, indexes into FunctionParseErrorTexts.
enum
{
    wxFP_PARSE_SYNTAX = 0,
    wxFP_PARSE_MISMATCHED_PARENTHESIS = 1,
    wxFP_PARSE_MISSING_PARENTHESIS = 2,
    wxFP_PARSE_EMPTY_PARENTHESES = 3,
    wxFP_PARSE_OPERATOR_EXPECTED = 4,
    wxFP_PARSE_NO_MEMORY = 5,           // also: nested too deeply
    wxFP_PARSE_UNEXPECTED = 6,          // also: byte code refused
    wxFP_PARSE_BAD_VARIABLES = 7,
    wxFP_PARSE_ARGUMENT_COUNT = 8,
    wxFP_PARSE_PREMATURE_END = 9,
    wxFP_PARSE_EXPECTING_PARENTHESIS = 10,
    wxFP_PARSE_NONE = 11
};

extern const char* const FunctionParseErrorTexts[wxFP_PARSE_NONE + 1];

class wxFunctionParser
{
public:
    // Empty texts, not parsed, parse error 11, evaluation error 0.
    wxFunctionParser();
    wxFunctionParser(const wxFunctionParser& other);
    // Shares the other's result and takes its texts, flag and error codes.
    wxFunctionParser& operator=(const wxFunctionParser& other);
    virtual ~wxFunctionParser() {}

    // Compiles function in the comma-separated variables (e.g. "x,y").
    // Names: the operators + - * / % ^ = == != < <= > >= & | ! and unary -,
    // the functions abs acos acosh asin asinh atan atan2 atanh ceil cos cosh
    // cot csc deg eval exp floor if log log10 max min rad round sec sin sinh
    // sqrt tan tanh, the constants pi and e, and whatever AddConstant and
    // AddFunction added. False with the parse error code set on failure.
    bool Parse(const wxString& function, const wxString& variables);
    // Takes ready byte code instead; false (error 6) when the code fails the
    // checks the machine relies on.
    bool LoadByteCode(int variables, const std::vector<std::uint32_t>& code,
                      const std::vector<double>& immediates);

    // Names for later parses; false when the name is not an identifier, is
    // taken, or (parser) the parser is not parsed. A parser is called by
    // the result it has now.
    bool AddConstant(const wxString& name, double value);
    bool AddFunction(const wxString& name, wxFunctionParserFunction function, int parameters);
    bool AddFunction(const wxString& name, const wxFunctionParser& parser);

    // The value at the given variables; 0.0 with the evaluation error code
    // set on an error (wxFP_EVAL_*), including fewer values than variables.
    double Eval(const double* variables, size_t count);
    double Eval(const std::vector<double>& variables)
        { return Eval(variables.data(), variables.size()); }

    bool IsParsed() const { return m_parsed; }
    int GetNumberOfVariables() const { return m_parsed ? m_data->m_variables : 0; }
    int GetParseErrorCode() const { return m_parseError; }
    wxString GetParseErrorText() const;
    int GetEvalErrorCode() const { return m_evalError; }
    wxString GetFunctionString() const { return m_function; }
    wxString GetVarString() const { return m_variables; }

private:
    // Makes the result this parser's own before a change.
    FunctionParseResult& Own();
    bool Fail(int code);

    wxString m_function;
    wxString m_variables;
    bool m_parsed = false;
    int m_parseError = wxFP_PARSE_NONE;
    int m_evalError = wxFP_EVAL_OK;
    wxObjectDataPtr<FunctionParseResult> m_data;
};
