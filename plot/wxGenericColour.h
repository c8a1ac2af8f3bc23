#pragma once
// A colour held as plain RGBA bytes in shared data, converted to wxColour
// only when drawing.

#include <wx/object.h>
#include <wx/colour.h>

class wxGenericColourRefData : public wxObjectRefData
{
public:
    wxGenericColourRefData(unsigned char r = 0, unsigned char g = 0,
                           unsigned char b = 0, unsigned char a = 255)
        : m_r(r), m_g(g), m_b(b), m_a(a) {}

    unsigned char m_r, m_g, m_b, m_a;
};

class wxGenericColour : public wxObject
{
public:
    wxGenericColour() {}
    wxGenericColour(unsigned char red, unsigned char green, unsigned char blue,
                    unsigned char alpha = 255)
        { Create(red, green, blue, alpha); }
    explicit wxGenericColour(const wxColour& colour) { CreateFromColour(colour); }

    bool Ok() const { return m_refData != NULL; }
    bool IsOk() const { return Ok(); }
    // Gives this object a deep copy of its data when the data is shared.
    using wxObject::UnShare;

    // New data of its own with these bytes; copies keep the old data.
    void Create(unsigned char red, unsigned char green, unsigned char blue,
                unsigned char alpha = 255);
    // New data: black with alpha 255, then the colour's RGB when it is valid.
    void CreateFromColour(const wxColour& colour);

    // Bytes of the colour; 0 without data.
    unsigned char Red() const;
    unsigned char Green() const;
    unsigned char Blue() const;
    unsigned char Alpha() const;

    // The toolkit colour (0, 0, 0, 0 without data).
    wxColour GetColour() const;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    const wxGenericColourRefData* Data() const
        { return static_cast<const wxGenericColourRefData*>(m_refData); }

    wxDECLARE_DYNAMIC_CLASS(wxGenericColour);
};

// The colour without data, used where none is given.
extern wxGenericColour wxNullGenericColour;
