#include "wxGenericPen.h"

#include <wx/arrimpl.cpp>

#include <set>

WX_DEFINE_OBJARRAY(wxArrayGenericPen);

wxIMPLEMENT_DYNAMIC_CLASS(wxGenericPen, wxObject);

wxGenericPen wxNullGenericPen;

namespace
{
// wxPen keeps only a pointer to its dash array, so an array handed to it must
// outlive every wxPen made from it, whatever happens to the generic pen.
// Patterns are few; each distinct one is kept once for the program's life.
const wxDash* StableDashes(const std::vector<wxDash>& dashes)
{
    static std::set<std::vector<wxDash>> s_patterns;
    return s_patterns.insert(dashes).first->data();
}
} // namespace

wxObjectRefData* wxGenericPen::CreateRefData() const
{
    return new wxGenericPenRefData;
}

wxObjectRefData* wxGenericPen::CloneRefData(const wxObjectRefData* data) const
{
    const wxGenericPenRefData* d = static_cast<const wxGenericPenRefData*>(data);
    wxGenericPenRefData* c =
        new wxGenericPenRefData(d->m_colour, d->m_width, d->m_style, d->m_cap, d->m_join);
    c->m_dashes = d->m_dashes;
    return c;
}

void wxGenericPen::Create(const wxGenericColour& colour, int width, int style,
                          int cap, int join)
{
    UnRef();
    m_refData = new wxGenericPenRefData(colour, width, style, cap, join);
}

void wxGenericPen::CreateFromPen(const wxPen& pen)
{
    UnRef();
    m_refData = new wxGenericPenRefData;
    SetFromPen(pen);
}

void wxGenericPen::SetFromPen(const wxPen& pen)
{
    if (!Ok() || !pen.IsOk())
        return;
    SetColour(pen.GetColour());
    wxGenericPenRefData* d = Data();
    d->m_width = pen.GetWidth();
    d->m_style = pen.GetStyle();
    d->m_cap = pen.GetCap();
    d->m_join = pen.GetJoin();
    wxDash* dashes = NULL;
    const int count = pen.GetDashes(&dashes);
    SetDashes(dashes ? count : 0, dashes);
}

void wxGenericPen::SetColour(const wxColour& colour)
{
    if (Ok())
        Data()->m_colour = wxGenericColour(colour);
}

void wxGenericPen::SetColour(const wxGenericColour& colour)
{
    if (Ok())
        Data()->m_colour = colour;
}

void wxGenericPen::SetWidth(int width) { if (Ok()) Data()->m_width = width; }
void wxGenericPen::SetStyle(int style) { if (Ok()) Data()->m_style = style; }
void wxGenericPen::SetCap(int cap) { if (Ok()) Data()->m_cap = cap; }
void wxGenericPen::SetJoin(int join) { if (Ok()) Data()->m_join = join; }

void wxGenericPen::SetDashes(int count, const wxDash* dashes)
{
    if (!Ok())
        return;
    if (count == 0 && dashes == NULL)
        Data()->m_dashes.clear();
    else if (count >= 1 && dashes != NULL)
        Data()->m_dashes.assign(dashes, dashes + count);
}

wxGenericColour wxGenericPen::GetColour() const
{
    return Ok() ? Data()->m_colour : wxNullGenericColour;
}

int wxGenericPen::GetWidth() const { return Ok() ? Data()->m_width : 0; }
int wxGenericPen::GetStyle() const { return Ok() ? Data()->m_style : 0; }
int wxGenericPen::GetCap() const { return Ok() ? Data()->m_cap : 0; }
int wxGenericPen::GetJoin() const { return Ok() ? Data()->m_join : 0; }

int wxGenericPen::GetDashCount() const
{
    return Ok() ? int(Data()->m_dashes.size()) : 0;
}

const wxDash* wxGenericPen::GetDash() const
{
    return (Ok() && !Data()->m_dashes.empty()) ? Data()->m_dashes.data() : NULL;
}

wxPen wxGenericPen::GetPen() const
{
    if (!Ok())
        return wxNullPen;
    const wxGenericPenRefData* d = Data();
    // Opaque: a colour without data has alpha 0, which GTK would honour and
    // draw nothing. Transparency is the style's business.
    const wxGenericColour& c = d->m_colour;
    wxPen pen(wxColour(c.Red(), c.Green(), c.Blue()), d->m_width, wxPenStyle(d->m_style));
    pen.SetCap(wxPenCap(d->m_cap));
    pen.SetJoin(wxPenJoin(d->m_join));
    if (!d->m_dashes.empty())
        pen.SetDashes(int(d->m_dashes.size()), StableDashes(d->m_dashes));
    return pen;
}
