#pragma once
// A pen held as plain numbers in shared data, converted to wxPen only when
// drawing. Copies share the data; setters change it for every copy.

#include "wxGenericColour.h"

#include <wx/pen.h>
#include <wx/dynarray.h>

#include <vector>

class wxGenericPenRefData : public wxObjectRefData
{
public:
    wxGenericPenRefData() {}
    wxGenericPenRefData(const wxGenericColour& colour, int width, int style,
                        int cap, int join)
        : m_colour(colour), m_width(width), m_style(style), m_cap(cap), m_join(join) {}

    wxGenericColour m_colour;
    int m_width = 1;
    int m_style = wxPENSTYLE_SOLID;
    int m_cap = wxCAP_ROUND;
    int m_join = wxJOIN_ROUND;
    std::vector<wxDash> m_dashes;
};

class wxGenericPen : public wxObject
{
public:
    wxGenericPen() {}
    wxGenericPen(const wxGenericColour& colour, int width = 1,
                 int style = wxPENSTYLE_SOLID, int cap = wxCAP_ROUND,
                 int join = wxJOIN_ROUND)
        { Create(colour, width, style, cap, join); }
    explicit wxGenericPen(const wxPen& pen) { CreateFromPen(pen); }

    bool Ok() const { return m_refData != NULL; }
    bool IsOk() const { return Ok(); }
    // Gives this object a deep copy of its data when the data is shared.
    using wxObject::UnShare;

    // New data of its own; the colour's data is shared with the argument.
    void Create(const wxGenericColour& colour, int width = 1,
                int style = wxPENSTYLE_SOLID, int cap = wxCAP_ROUND,
                int join = wxJOIN_ROUND);
    // New default data (width 1, solid, round cap and join), then SetFromPen.
    void CreateFromPen(const wxPen& pen);

    // Takes colour, width, style, cap, join and dashes of a valid wxPen.
    void SetFromPen(const wxPen& pen);
    void SetColour(const wxColour& colour);
    void SetColour(const wxGenericColour& colour);
    void SetWidth(int width);
    void SetStyle(int style);
    void SetCap(int cap);
    void SetJoin(int join);
    // (0, NULL) removes the dashes, (n >= 1, array) copies n of them;
    // any other combination changes nothing.
    void SetDashes(int count, const wxDash* dashes);

    // Values of the pen; neutral ones without data.
    wxGenericColour GetColour() const;
    int GetWidth() const;
    int GetStyle() const;
    int GetCap() const;
    int GetJoin() const;
    int GetDashCount() const;
    const wxDash* GetDash() const;

    // The toolkit pen (wxNullPen without data), always opaque.
    wxPen GetPen() const;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    wxGenericPenRefData* Data() const
        { return static_cast<wxGenericPenRefData*>(m_refData); }

    wxDECLARE_DYNAMIC_CLASS(wxGenericPen);
};

// The pen without data, used where none is given.
extern wxGenericPen wxNullGenericPen;

// Value copies of pens, each element sharing the data of the pen added.
WX_DECLARE_OBJARRAY(wxGenericPen, wxArrayGenericPen);
