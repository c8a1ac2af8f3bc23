#include "wxPlotCurve.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotCurve, wxObject);

wxPlotCurve wxNullPlotCurve;

namespace
{
const wxGenericPen* DefaultPens()
{
    static const wxGenericPen s_pens[wxPLOTPEN_MAXTYPE] = {
        wxGenericPen(wxGenericColour(0, 0, 0, 255), 1, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND),
        wxGenericPen(wxGenericColour(0, 0, 255, 255), 1, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND),
        wxGenericPen(wxGenericColour(255, 0, 0, 255), 1, wxPENSTYLE_SOLID, wxCAP_ROUND, wxJOIN_ROUND),
    };
    return s_pens;
}
} // namespace

const wxGenericPen& wxPlotCurveDefaultPen(int which)
{
    if (which < 0 || which >= wxPLOTPEN_MAXTYPE)
        return wxNullGenericPen;
    return DefaultPens()[which];
}

wxPlotCurveRefData::wxPlotCurveRefData()
{
    // Pens of their own: the pen setters write to shared data, and a change
    // made through one curve's pen must not recolour every other curve.
    for (int i = 0; i < wxPLOTPEN_MAXTYPE; ++i)
    {
        const wxGenericPen& def = DefaultPens()[i];
        const wxGenericColour& c = def.GetColour();
        m_pens.Add(wxGenericPen(wxGenericColour(c.Red(), c.Green(), c.Blue(), c.Alpha()),
                                def.GetWidth(), def.GetStyle(), def.GetCap(), def.GetJoin()));
    }
}

void wxPlotCurveRefData::CopyExtra(const wxPlotCurveRefData& source)
{
    m_boundingRect = source.m_boundingRect;
    m_pens = source.m_pens;
    m_optionNames = source.m_optionNames;
    m_optionValues = source.m_optionValues;
}

wxObjectRefData* wxPlotCurve::CreateRefData() const
{
    return new wxPlotCurveRefData;
}

wxObjectRefData* wxPlotCurve::CloneRefData(const wxObjectRefData* data) const
{
    wxPlotCurveRefData* c = new wxPlotCurveRefData;
    c->CopyExtra(*static_cast<const wxPlotCurveRefData*>(data));
    return c;
}

wxPlotCurve* wxPlotCurve::Clone() const
{
    return new wxPlotCurve;
}

double wxPlotCurve::GetY(double) const
{
    return 0.0;
}

wxRect2DDouble wxPlotCurve::GetBoundingRect() const
{
    return m_refData ? CurveData()->m_boundingRect : wxRect2DDouble();
}

void wxPlotCurve::SetBoundingRect(const wxRect2DDouble& rect)
{
    if (m_refData)
        CurveData()->m_boundingRect = rect;
}

wxGenericPen wxPlotCurve::GetPen(int which) const
{
    if (!m_refData || which < 0 || which >= int(CurveData()->m_pens.GetCount()))
        return wxGenericPen();
    return CurveData()->m_pens[which];
}

void wxPlotCurve::SetPen(int which, const wxGenericPen& pen)
{
    if (!m_refData || which < 0 || which >= int(CurveData()->m_pens.GetCount()))
        return;
    CurveData()->m_pens[which] = pen;
}

int wxPlotCurve::GetPenCount() const
{
    return m_refData ? int(CurveData()->m_pens.GetCount()) : 0;
}

namespace
{
// Index of the first name not below name.
size_t LowerBound(const wxArrayString& names, const wxString& name)
{
    size_t lo = 0, hi = names.GetCount();
    while (lo < hi)
    {
        const size_t mid = (lo + hi) / 2;
        if (names[mid].Cmp(name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}
} // namespace

wxString wxPlotCurve::GetOption(const wxString& name) const
{
    if (!m_refData)
        return wxString();
    const wxPlotCurveRefData* d = CurveData();
    const size_t i = LowerBound(d->m_optionNames, name);
    if (i < d->m_optionNames.GetCount() && d->m_optionNames[i] == name)
        return d->m_optionValues[i];
    return wxString();
}

void wxPlotCurve::SetOption(const wxString& name, const wxString& value)
{
    if (!m_refData)
        return;
    wxPlotCurveRefData* d = CurveData();
    const size_t i = LowerBound(d->m_optionNames, name);
    if (i < d->m_optionNames.GetCount() && d->m_optionNames[i] == name)
    {
        d->m_optionValues[i] = value;
        return;
    }
    d->m_optionNames.Insert(name, i);
    d->m_optionValues.Insert(value, i);
}

int wxPlotCurve::GetOptionCount() const
{
    return m_refData ? int(CurveData()->m_optionNames.GetCount()) : 0;
}
