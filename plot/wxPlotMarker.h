#pragma once
// A mark on the plot (point, line or area) in shared data: every copy moves
// and changes with the others, which is how a model and the plot control
// hold the same marker.

#include "wxGenericPen.h"
#include "wxGenericBrush.h"

#include <wx/object.h>
#include <wx/geometry.h>
#include <wx/gdicmn.h>
#include <wx/bitmap.h>
#include <wx/dynarray.h>

// Marker kinds the marker drawer knows.
enum
{
    wxPLOTMARKER_NONE = 0,
    wxPLOTMARKER_POINT = 1,
    wxPLOTMARKER_LINE = 2,
    wxPLOTMARKER_HORIZ_LINE = 3,
    wxPLOTMARKER_VERT_LINE = 4,
    wxPLOTMARKER_CROSS = 5,
    wxPLOTMARKER_ELLIPSE = 7,
    wxPLOTMARKER_BITMAP = 8
};

class wxPlotMarkerRefData : public wxObjectRefData
{
public:
    int m_type = wxPLOTMARKER_NONE;
    wxRect2DDouble m_plotRect;        // negative width/height: no bound
    wxSize m_size = wxSize(-1, -1);   // pixels
    wxBitmap m_bitmap;
    wxGenericPen m_pen;
    wxGenericBrush m_brush;
};

class wxPlotMarker : public wxObject
{
public:
    wxPlotMarker() {}
    // A marker at (x, y) with a zero-sized rectangle and no bitmap.
    wxPlotMarker(int type, const wxPoint2DDouble& pos, const wxSize& size,
                 const wxGenericPen& pen, const wxGenericBrush& brush = wxNullGenericBrush)
        { Create(type, wxRect2DDouble(pos.m_x, pos.m_y, 0, 0), size, pen, brush); }

    bool Ok() const { return m_refData != NULL; }
    bool IsOk() const { return Ok(); }
    // Gives this object a deep copy of its data when the data is shared.
    using wxObject::UnShare;

    // New data of its own with these values; copies keep the old data.
    void Create(int type, const wxRect2DDouble& rect, const wxSize& size,
                const wxGenericPen& pen, const wxGenericBrush& brush = wxNullGenericBrush,
                const wxBitmap& bitmap = wxNullBitmap);
    // A horizontal line at y across the whole view.
    void CreateHorizLineMarker(double y, const wxGenericPen& pen);
    // A vertical line at x across the whole view.
    void CreateVertLineMarker(double x, const wxGenericPen& pen);

    // Values; neutral ones without data (type 0, zero rectangle, size -1, -1).
    int GetType() const;
    wxRect2DDouble GetPlotRect() const;
    wxPoint2DDouble GetPlotPosition() const;
    wxSize GetSize() const;
    wxGenericPen GetPen() const;
    wxGenericBrush GetBrush() const;
    wxBitmap GetBitmap() const;

    // Changes act on the shared data, so every copy sees them; nothing
    // without data.
    void SetPlotPosition(const wxPoint2DDouble& pos);
    void SetPlotPosition(double x, double y) { SetPlotPosition(wxPoint2DDouble(x, y)); }
    void SetPlotRect(const wxRect2DDouble& rect);
    void SetType(int type);
    void SetSize(const wxSize& size);
    void SetPen(const wxGenericPen& pen);
    void SetBrush(const wxGenericBrush& brush);
    void SetBitmap(const wxBitmap& bitmap);

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    wxPlotMarkerRefData* Data() const
        { return static_cast<wxPlotMarkerRefData*>(m_refData); }

    wxDECLARE_DYNAMIC_CLASS(wxPlotMarker);
};

// Heap copies of markers, each sharing the data of the marker it was made from.
WX_DECLARE_OBJARRAY(wxPlotMarker, wxArrayPlotMarker);
