#include "wxPlotFunction.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotFunction, wxPlotCurve);

wxObjectRefData* wxPlotFunction::CreateRefData() const
{
    return new wxPlotFuncRefData;
}

wxObjectRefData* wxPlotFunction::CloneRefData(const wxObjectRefData* data) const
{
    const wxPlotFuncRefData* source = static_cast<const wxPlotFuncRefData*>(data);
    wxPlotFuncRefData* copy = new wxPlotFuncRefData(wxPlotCurveRefData::NoDefaults());
    copy->CopyExtra(*source);
    copy->m_parser = source->m_parser;
    return copy;
}

wxPlotFunction::wxPlotFunction(const wxPlotFunction& other)
    : wxPlotCurve()
{
    Create(other);
}

wxPlotFunction& wxPlotFunction::operator=(const wxPlotFunction& other)
{
    if (this != &other)
        Create(other);
    return *this;
}

bool wxPlotFunction::Create(const wxPlotFunction& source)
{
    if (!source.Ok())
    {
        UnRef();
        return false;
    }
    Ref(source);
    return true;
}

bool wxPlotFunction::Create(const wxString& function, const wxString& variables)
{
    wxPlotFuncRefData* d = new wxPlotFuncRefData;
    d->m_parser.Parse(function, variables);
    UnRef();
    m_refData = d;
    return Ok();
}

wxPlotCurve* wxPlotFunction::Clone() const
{
    return new wxPlotFunction(*this);
}

bool wxPlotFunction::Ok() const
{
    return m_refData != NULL && Data()->m_parser.IsParsed();
}

double wxPlotFunction::GetY(double x) const
{
    return Ok() ? Data()->m_parser.Eval(&x, 1) : 0.0;
}

int wxPlotFunction::GetNumberOfVariables() const
{
    return Ok() ? Data()->m_parser.GetNumberOfVariables() : 0;
}

double wxPlotFunction::GetValue(const double* variables, size_t count) const
{
    return Ok() ? Data()->m_parser.Eval(variables, count) : 0.0;
}

wxString wxPlotFunction::GetFunctionString() const
{
    return Ok() ? Data()->m_parser.GetFunctionString() : wxString();
}

int wxPlotFunction::GetParseErrorCode() const
{
    return m_refData ? Data()->m_parser.GetParseErrorCode() : int(wxFP_PARSE_NONE);
}

int wxPlotFunction::GetEvalErrorCode() const
{
    return m_refData ? Data()->m_parser.GetEvalErrorCode() : int(wxFP_EVAL_OK);
}
