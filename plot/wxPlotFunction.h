#pragma once
// A curve given by an expression instead of points: its y at x is the
// expression's value. Copies share the curve data (pens, options, rectangle
// and the compiled expression).

#include "wxPlotCurve.h"
#include "wxFunctionParser.h"

#include <vector>

class wxPlotFuncRefData : public wxPlotCurveRefData
{
public:
    wxPlotFuncRefData() {}
    explicit wxPlotFuncRefData(NoDefaults) : wxPlotCurveRefData(NoDefaults()) {}

    wxFunctionParser m_parser;
};

class wxPlotFunction : public wxPlotCurve
{
public:
    wxPlotFunction() {}
    // Share a valid source's data; an invalid source leaves no data.
    wxPlotFunction(const wxPlotFunction& other);
    wxPlotFunction& operator=(const wxPlotFunction& other);
    bool Create(const wxPlotFunction& source);
    // New data with function compiled in variables (e.g. "x" or "x,y");
    // false when it does not compile (GetParseErrorCode says why).
    bool Create(const wxString& function, const wxString& variables = wxS("x"));

    // A new heap function sharing this one's data.
    wxPlotCurve* Clone() const wxOVERRIDE;
    // Has data with a compiled expression.
    bool Ok() const wxOVERRIDE;
    // The value with x as the only variable; 0.0 when not Ok or on an
    // evaluation error (also when the expression has more variables).
    double GetY(double x) const wxOVERRIDE;
    // 0 when not Ok.
    virtual int GetNumberOfVariables() const;
    // The value at count variables; 0.0 when not Ok, on an evaluation error
    // or with fewer values than GetNumberOfVariables.
    virtual double GetValue(const double* variables, size_t count) const;
    double GetValue(const std::vector<double>& variables) const
        { return GetValue(variables.data(), variables.size()); }

    // The expression text, the legend's text; empty when not Ok.
    wxString GetFunctionString() const;
    // Why the last Create (text) failed (wxFP_PARSE_*; 11 without data), and
    // the code of the last evaluation (wxFP_EVAL_*; 0 without data).
    int GetParseErrorCode() const;
    int GetEvalErrorCode() const;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    wxPlotFuncRefData* Data() const { return static_cast<wxPlotFuncRefData*>(m_refData); }

    wxDECLARE_DYNAMIC_CLASS(wxPlotFunction);
};
