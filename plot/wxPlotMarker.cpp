#include "wxPlotMarker.h"

#include <wx/arrimpl.cpp>

WX_DEFINE_OBJARRAY(wxArrayPlotMarker);

wxIMPLEMENT_DYNAMIC_CLASS(wxPlotMarker, wxObject);

wxObjectRefData* wxPlotMarker::CreateRefData() const
{
    return new wxPlotMarkerRefData;
}

wxObjectRefData* wxPlotMarker::CloneRefData(const wxObjectRefData* data) const
{
    const wxPlotMarkerRefData* d = static_cast<const wxPlotMarkerRefData*>(data);
    wxPlotMarkerRefData* c = new wxPlotMarkerRefData;
    c->m_type = d->m_type;
    c->m_plotRect = d->m_plotRect;
    c->m_size = d->m_size;
    c->m_bitmap = d->m_bitmap;
    c->m_pen = d->m_pen;
    c->m_brush = d->m_brush;
    return c;
}

void wxPlotMarker::Create(int type, const wxRect2DDouble& rect, const wxSize& size,
                          const wxGenericPen& pen, const wxGenericBrush& brush,
                          const wxBitmap& bitmap)
{
    UnRef();
    wxPlotMarkerRefData* d = new wxPlotMarkerRefData;
    d->m_type = type;
    d->m_plotRect = rect;
    d->m_size = size;
    d->m_bitmap = bitmap;
    d->m_pen = pen;
    d->m_brush = brush;
    m_refData = d;
}

void wxPlotMarker::CreateHorizLineMarker(double y, const wxGenericPen& pen)
{
    Create(wxPLOTMARKER_HORIZ_LINE, wxRect2DDouble(0, y, -1, 0), wxSize(-1, -1), pen);
}

void wxPlotMarker::CreateVertLineMarker(double x, const wxGenericPen& pen)
{
    Create(wxPLOTMARKER_VERT_LINE, wxRect2DDouble(x, 0, 0, -1), wxSize(-1, -1), pen);
}

int wxPlotMarker::GetType() const { return Ok() ? Data()->m_type : 0; }

wxRect2DDouble wxPlotMarker::GetPlotRect() const
{
    return Ok() ? Data()->m_plotRect : wxRect2DDouble();
}

wxPoint2DDouble wxPlotMarker::GetPlotPosition() const
{
    return Ok() ? Data()->m_plotRect.GetPosition() : wxPoint2DDouble(0, 0);
}

wxSize wxPlotMarker::GetSize() const { return Ok() ? Data()->m_size : wxSize(-1, -1); }
wxGenericPen wxPlotMarker::GetPen() const { return Ok() ? Data()->m_pen : wxGenericPen(); }
wxGenericBrush wxPlotMarker::GetBrush() const { return Ok() ? Data()->m_brush : wxGenericBrush(); }
wxBitmap wxPlotMarker::GetBitmap() const { return Ok() ? Data()->m_bitmap : wxNullBitmap; }

void wxPlotMarker::SetPlotPosition(const wxPoint2DDouble& pos)
{
    if (Ok())
    {
        Data()->m_plotRect.m_x = pos.m_x;
        Data()->m_plotRect.m_y = pos.m_y;
    }
}

void wxPlotMarker::SetPlotRect(const wxRect2DDouble& rect) { if (Ok()) Data()->m_plotRect = rect; }
void wxPlotMarker::SetType(int type) { if (Ok()) Data()->m_type = type; }
void wxPlotMarker::SetSize(const wxSize& size) { if (Ok()) Data()->m_size = size; }
void wxPlotMarker::SetPen(const wxGenericPen& pen) { if (Ok()) Data()->m_pen = pen; }
void wxPlotMarker::SetBrush(const wxGenericBrush& brush) { if (Ok()) Data()->m_brush = brush; }
void wxPlotMarker::SetBitmap(const wxBitmap& bitmap) { if (Ok()) Data()->m_bitmap = bitmap; }
