#include "wxGenericBrush.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxGenericBrush, wxObject);

wxGenericBrush wxNullGenericBrush;

wxObjectRefData* wxGenericBrush::CreateRefData() const
{
    return new wxGenericBrushRefData;
}

wxObjectRefData* wxGenericBrush::CloneRefData(const wxObjectRefData* data) const
{
    const wxGenericBrushRefData* d = static_cast<const wxGenericBrushRefData*>(data);
    wxGenericBrushRefData* c = new wxGenericBrushRefData(d->m_colour, d->m_style);
    c->m_stipple = d->m_stipple;
    return c;
}

void wxGenericBrush::Create(const wxGenericColour& colour, int style)
{
    UnRef();
    m_refData = new wxGenericBrushRefData(colour, style);
}

void wxGenericBrush::CreateFromBrush(const wxBrush& brush)
{
    UnRef();
    wxGenericBrushRefData* d = new wxGenericBrushRefData;
    m_refData = d;
    if (!brush.IsOk())
        return;
    d->m_colour = wxGenericColour(brush.GetColour());
    d->m_style = brush.GetStyle();
    if (const wxBitmap* stipple = brush.GetStipple())
        d->m_stipple = *stipple;
}

void wxGenericBrush::SetColour(const wxGenericColour& colour)
{
    if (Ok())
        Data()->m_colour = colour;
}

void wxGenericBrush::SetStyle(int style)
{
    if (Ok())
        Data()->m_style = style;
}

void wxGenericBrush::SetStipple(const wxBitmap& stipple)
{
    if (Ok())
        Data()->m_stipple = stipple;
}

wxGenericColour wxGenericBrush::GetColour() const
{
    return Ok() ? Data()->m_colour : wxNullGenericColour;
}

int wxGenericBrush::GetStyle() const { return Ok() ? Data()->m_style : 0; }

wxBitmap wxGenericBrush::GetStipple() const
{
    return Ok() ? Data()->m_stipple : wxNullBitmap;
}

wxBrush wxGenericBrush::GetBrush() const
{
    if (!Ok())
        return wxNullBrush;
    const wxGenericBrushRefData* d = Data();
    if (d->m_stipple.IsOk())
        return wxBrush(d->m_stipple);
    // Opaque, as the pens: transparency is the style's business.
    const wxGenericColour& c = d->m_colour;
    return wxBrush(wxColour(c.Red(), c.Green(), c.Blue()), wxBrushStyle(d->m_style));
}
