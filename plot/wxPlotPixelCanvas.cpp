#include "wxPlotPixelCanvas.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/image.h>

#ifdef QUENVAR_HAVE_CAIRO
#include <cairo.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

void wxPlotPixelCanvas::Reset(int width, int height)
{
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    const size_t size = size_t(m_width) * size_t(m_height);
    if (m_pixels.size() != size)
        m_pixels.assign(size, 0u);
    else if (!m_dirty.IsEmpty())
        std::fill(m_pixels.begin(), m_pixels.end(), 0u);
    m_dirty = wxRect();
}

void wxPlotPixelCanvas::SetColour(const wxColour& colour)
{
    m_colour = 0xff000000u | (uint32_t(colour.Red()) << 16) | (uint32_t(colour.Green()) << 8) |
               uint32_t(colour.Blue());
}

void wxPlotPixelCanvas::Stamp(int x, int y)
{
    const int x0 = x - (m_penWidth - 1) / 2, y0 = y - (m_penWidth - 1) / 2;
    const int x1 = std::min(x0 + m_penWidth, m_width), y1 = std::min(y0 + m_penWidth, m_height);
    const int xs = std::max(x0, 0), ys = std::max(y0, 0);
    for (int yy = ys; yy < y1; ++yy)
    {
        uint32_t* row = &m_pixels[size_t(yy) * m_width];
        for (int xx = xs; xx < x1; ++xx)
            row[xx] = m_colour;
    }
}

void wxPlotPixelCanvas::Point(int x, int y)
{
    Line(x, y, x, y);
}

void wxPlotPixelCanvas::Line(int x0, int y0, int x1, int y1)
{
    // Drawn from the same end whichever way it is given.
    if (x1 < x0 || (x1 == x0 && y1 < y0))
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const long long dx = (long long)x1 - x0, dy = std::llabs((long long)y1 - y0);
    // The drawers clip before they get here; anything longer than this is
    // not a line on any screen.
    if (dx > 1000000 || dy > 1000000)
        return;
    // What the line can touch, pen included.
    const int before = (m_penWidth - 1) / 2, after = m_penWidth - 1 - before;
    wxRect box(x0 - before, std::min(y0, y1) - before, int(dx) + 1 + before + after,
               int(dy) + 1 + before + after);
    box.Intersect(wxRect(0, 0, m_width, m_height));
    if (box.IsEmpty())
        return;
    m_dirty = m_dirty.IsEmpty() ? box : m_dirty.Union(box);

    const bool inside = m_penWidth == 1 && x0 >= 0 && x1 < m_width && std::min(y0, y1) >= 0 &&
                        std::max(y0, y1) < m_height;
    const int sy = y0 < y1 ? 1 : -1;
    if (dx == 0 && inside)
    {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            m_pixels[size_t(y) * m_width + x0] = m_colour;
        return;
    }
    long long err = dx - dy;
    int x = x0, y = y0;
    for (;;)
    {
        if (inside)
            m_pixels[size_t(y) * m_width + x] = m_colour;
        else
            Stamp(x, y);
        if (x == x1 && y == y1)
            break;
        const long long e2 = 2 * err;
        if (e2 > -dy)
        {
            err -= dy;
            ++x;
        }
        if (e2 < dx)
        {
            err += dx;
            y += sy;
        }
    }
}

wxColour wxPlotPixelCanvas::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return wxNullColour;
    const uint32_t p = m_pixels[size_t(y) * m_width + x];
    if (!p)
        return wxNullColour;
    return wxColour((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
}

void wxPlotPixelCanvas::DrawOnto(wxDC& dc, int x, int y)
{
    if (m_dirty.IsEmpty())
        return;
    const wxRect r = m_dirty;
    m_dirty = wxRect();
#ifdef QUENVAR_HAVE_CAIRO
    // The layer already is cairo's premultiplied ARGB: laid straight onto a
    // cairo DC, with no copy and no conversion.
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (gc && gc->GetRenderer() == wxGraphicsRenderer::GetCairoRenderer())
    {
        cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(m_pixels.data()), CAIRO_FORMAT_ARGB32, m_width,
            m_height, m_width * 4);
        cairo_save(cr);
        cairo_rectangle(cr, x + r.x, y + r.y, r.width, r.height);
        cairo_clip(cr);
        cairo_set_source_surface(cr, surface, x, y);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(surface);
        for (int yy = r.y; yy < r.y + r.height; ++yy)
            std::fill_n(&m_pixels[size_t(yy) * m_width + r.x], r.width, 0u);
        return;
    }
#endif
    wxImage image(r.width, r.height, false);
    image.InitAlpha();
    unsigned char* rgb = image.GetData();
    unsigned char* alpha = image.GetAlpha();
    for (int yy = 0; yy < r.height; ++yy)
    {
        uint32_t* row = &m_pixels[size_t(r.y + yy) * m_width + r.x];
        for (int xx = 0; xx < r.width; ++xx)
        {
            const uint32_t p = row[xx];
            *rgb++ = (p >> 16) & 0xff;
            *rgb++ = (p >> 8) & 0xff;
            *rgb++ = p & 0xff;
            *alpha++ = p ? 255 : 0;
            row[xx] = 0;
        }
    }
    dc.DrawBitmap(wxBitmap(image), x + r.x, y + r.y, false);
}
