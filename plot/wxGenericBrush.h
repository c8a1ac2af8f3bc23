#pragma once
// A brush held as a colour, a style and an optional stipple in shared data,
// converted to wxBrush only when drawing.

#include "wxGenericColour.h"

#include <wx/brush.h>
#include <wx/bitmap.h>

class wxGenericBrushRefData : public wxObjectRefData
{
public:
    wxGenericBrushRefData() {}
    wxGenericBrushRefData(const wxGenericColour& colour, int style)
        : m_colour(colour), m_style(style) {}

    wxGenericColour m_colour;
    int m_style = wxBRUSHSTYLE_SOLID;
    wxBitmap m_stipple;
};

class wxGenericBrush : public wxObject
{
public:
    wxGenericBrush() {}
    wxGenericBrush(const wxGenericColour& colour, int style = wxBRUSHSTYLE_SOLID)
        { Create(colour, style); }
    explicit wxGenericBrush(const wxBrush& brush) { CreateFromBrush(brush); }

    bool Ok() const { return m_refData != NULL; }
    bool IsOk() const { return Ok(); }
    // Gives this object a deep copy of its data when the data is shared.
    using wxObject::UnShare;

    // New data of its own; the colour's data is shared with the argument.
    void Create(const wxGenericColour& colour, int style = wxBRUSHSTYLE_SOLID);
    // New data with the colour, style and stipple of a valid wxBrush
    // (a solid brush without colour data otherwise).
    void CreateFromBrush(const wxBrush& brush);

    // Setters act on the shared data; nothing without data.
    void SetColour(const wxGenericColour& colour);
    void SetStyle(int style);
    void SetStipple(const wxBitmap& stipple);

    // Values; neutral ones without data.
    wxGenericColour GetColour() const;
    int GetStyle() const;
    wxBitmap GetStipple() const;

    // The toolkit brush: wxNullBrush without data, a stipple brush when a
    // stipple is set, else colour and style.
    wxBrush GetBrush() const;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    wxGenericBrushRefData* Data() const
        { return static_cast<wxGenericBrushRefData*>(m_refData); }

    wxDECLARE_DYNAMIC_CLASS(wxGenericBrush);
};

// The brush without data, used where none is given.
extern wxGenericBrush wxNullGenericBrush;
