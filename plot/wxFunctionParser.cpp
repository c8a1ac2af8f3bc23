#include "wxFunctionParser.h"

#include "FunctionCompiler.h"

#include <new>

const char* const FunctionParseErrorTexts[wxFP_PARSE_NONE + 1] = {
    "Syntax error",
    "Mismatched parenthesis",
    "Missing ')'",
    "Empty parentheses",
    "Syntax error: Operator expected",
    "Not enough memory",
    "An unexpected error occurred. Please make a full bug report to the author",
    "Syntax error in parameter 'Vars' given to FunctionParser::Parse()",
    "Illegal number of parameters to function",
    "Syntax error: Premature end of string",
    "Syntax error: Expecting ( after function",
    "",
};

wxFunctionParser::wxFunctionParser()
    : m_data(new FunctionParseResult)
{
}

wxFunctionParser::wxFunctionParser(const wxFunctionParser& other)
    : m_function(other.m_function),
      m_variables(other.m_variables),
      m_parsed(other.m_parsed),
      m_parseError(other.m_parseError),
      m_evalError(other.m_evalError),
      m_data(other.m_data)
{
}

wxFunctionParser& wxFunctionParser::operator=(const wxFunctionParser& other)
{
    if (m_data.get() != other.m_data.get())
        m_data = other.m_data;
    m_parseError = other.m_parseError;
    m_evalError = other.m_evalError;
    m_function = other.m_function;
    m_variables = other.m_variables;
    m_parsed = other.m_parsed;
    return *this;
}

FunctionParseResult& wxFunctionParser::Own()
{
    // Shared with a copy, another parser's function table or a running
    // evaluation: change a copy of it instead.
    if (m_data->GetRefCount() > 1)
        m_data.reset(m_data->Copy());
    return *m_data;
}

bool wxFunctionParser::Fail(int code)
{
    Own().ClearCode();
    m_parsed = false;
    m_parseError = code;
    return false;
}

bool wxFunctionParser::Parse(const wxString& function, const wxString& variables)
{
    m_function = function;
    m_variables = variables;
    try
    {
        FunctionParseResult& r = Own();
        r.ClearCode();
        m_parsed = false;
        int code = CompileVariableNames(variables.utf8_string(), r, r.m_variableNames);
        if (code == wxFP_PARSE_NONE)
            code = CompileFunction(function.utf8_string(), r, r.m_code, r.m_immediates);
        if (code != wxFP_PARSE_NONE)
            return Fail(code);
        r.m_variables = int(r.m_variableNames.size());
        if (!VerifyByteCode(r))
            return Fail(wxFP_PARSE_UNEXPECTED);
    }
    catch (const std::bad_alloc&)
    {
        return Fail(wxFP_PARSE_NO_MEMORY);
    }
    m_parsed = true;
    m_parseError = wxFP_PARSE_NONE;
    return true;
}

bool wxFunctionParser::LoadByteCode(int variables, const std::vector<std::uint32_t>& code,
                                    const std::vector<double>& immediates)
{
    m_function.clear();
    m_variables.clear();
    FunctionParseResult& r = Own();
    r.ClearCode();
    r.m_variables = variables;
    r.m_code = code;
    r.m_immediates = immediates;
    if (!VerifyByteCode(r))
        return Fail(wxFP_PARSE_UNEXPECTED);
    m_parsed = true;
    m_parseError = wxFP_PARSE_NONE;
    return true;
}

bool wxFunctionParser::AddConstant(const wxString& name, double value)
{
    const std::string n = name.utf8_string();
    if (!IsFreeFunctionName(n, *m_data))
        return false;
    Own().m_constants.push_back({n, value});
    return true;
}

bool wxFunctionParser::AddFunction(const wxString& name, wxFunctionParserFunction function,
                                   int parameters)
{
    const std::string n = name.utf8_string();
    if (!function || parameters < 0 || !IsFreeFunctionName(n, *m_data))
        return false;
    Own().m_functions.push_back({n, function, parameters});
    return true;
}

bool wxFunctionParser::AddFunction(const wxString& name, const wxFunctionParser& parser)
{
    const std::string n = name.utf8_string();
    if (!parser.m_parsed || !IsFreeFunctionName(n, *m_data))
        return false;
    // Taking the callee's result before Own() keeps it shared, so a later
    // change to the callee (or to this parser, when it calls itself) makes
    // a copy and the table keeps calling the code it was given.
    wxObjectDataPtr<FunctionParseResult> callee = parser.m_data;
    Own().m_parsers.push_back({n, callee});
    return true;
}

double wxFunctionParser::Eval(const double* variables, size_t count)
{
    if (!m_parsed || !m_data->m_runnable || count < size_t(m_data->m_variables)
        || (count > 0 && !variables))
    {
        m_evalError = wxFP_EVAL_NO_INPUT;
        return 0.0;
    }
    return RunByteCode(*m_data, variables, m_evalError);
}

wxString wxFunctionParser::GetParseErrorText() const
{
    if (m_parseError < 0 || m_parseError > wxFP_PARSE_NONE)
        return wxString();
    return wxString::FromUTF8(FunctionParseErrorTexts[m_parseError]);
}
