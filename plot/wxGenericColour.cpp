#include "wxGenericColour.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxGenericColour, wxObject);

wxGenericColour wxNullGenericColour;

wxObjectRefData* wxGenericColour::CreateRefData() const
{
    return new wxGenericColourRefData;
}

wxObjectRefData* wxGenericColour::CloneRefData(const wxObjectRefData* data) const
{
    const wxGenericColourRefData* d = static_cast<const wxGenericColourRefData*>(data);
    return new wxGenericColourRefData(d->m_r, d->m_g, d->m_b, d->m_a);
}

void wxGenericColour::Create(unsigned char red, unsigned char green,
                             unsigned char blue, unsigned char alpha)
{
    UnRef();
    m_refData = new wxGenericColourRefData(red, green, blue, alpha);
}

void wxGenericColour::CreateFromColour(const wxColour& colour)
{
    UnRef();
    wxGenericColourRefData* d = new wxGenericColourRefData;
    m_refData = d;
    // The toolkit's alpha is not taken over: drawing is opaque unless asked.
    if (colour.IsOk())
    {
        d->m_r = colour.Red();
        d->m_g = colour.Green();
        d->m_b = colour.Blue();
    }
}

unsigned char wxGenericColour::Red() const { return Ok() ? Data()->m_r : 0; }
unsigned char wxGenericColour::Green() const { return Ok() ? Data()->m_g : 0; }
unsigned char wxGenericColour::Blue() const { return Ok() ? Data()->m_b : 0; }
unsigned char wxGenericColour::Alpha() const { return Ok() ? Data()->m_a : 0; }

wxColour wxGenericColour::GetColour() const
{
    return wxColour(Red(), Green(), Blue(), Alpha());
}
