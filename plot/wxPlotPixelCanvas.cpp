#include "wxPlotPixelCanvas.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/image.h>

#ifdef QUENVAR_HAVE_CAIRO
#include <cairo.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
#ifdef QUENVAR_HAVE_CAIRO
cairo_t* CairoOf(wxDC& dc)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!gc || gc->GetRenderer() != wxGraphicsRenderer::GetCairoRenderer())
        return nullptr;
    return static_cast<cairo_t*>(gc->GetNativeContext());
}
#endif
} // namespace

void wxPlotPixelCanvas::Reset(int width, int height, int scale)
{
    Release();
    m_layerScale = m_scale = std::max(1, scale);
    const int w = std::max(0, width) * m_scale, h = std::max(0, height) * m_scale;
    const size_t size = size_t(w) * size_t(h);
    if (m_pixels.size() != size || w != m_width)
    {
        m_pixels.assign(size, 0u);
        m_dirtyX0 = m_dirtyX1 = 0;
    }
    m_width = w;
    m_height = h;
    ClearDirty();
    m_data = m_pixels.data();
    m_stride = m_width;
    m_clipX0 = m_clipY0 = 0;
    m_clipX1 = m_width;
    m_clipY1 = m_height;
}

void wxPlotPixelCanvas::Start(wxDC& dc, int width, int height)
{
    if (!Attach(dc, width, height))
        Reset(width, height, int(std::lround(dc.GetContentScaleFactor())));
}

void wxPlotPixelCanvas::ClearDirty()
{
    // The layer is all clear outside what was drawn since it was last laid.
    if (!m_surface && !IsEmpty())
        for (int y = m_dirtyY0; y < m_dirtyY1; ++y)
            std::fill_n(&m_pixels[size_t(y) * m_width + m_dirtyX0], m_dirtyX1 - m_dirtyX0, 0u);
    m_dirtyX0 = m_dirtyY0 = m_dirtyX1 = m_dirtyY1 = 0;
}

bool wxPlotPixelCanvas::Attach(wxDC& dc, int width, int height)
{
#ifdef QUENVAR_HAVE_CAIRO
    if (m_surface)
        return false;
    cairo_t* cr = CairoOf(dc);
    if (!cr)
        return false;
    // Only where setting a pixel is what cairo would draw: the DC's own
    // image (no group pushed), no transform, opaque pixels laid as they are.
    cairo_surface_t* surface = cairo_get_target(cr);
    if (cairo_get_group_target(cr) != surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return false;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return false;
    const cairo_operator_t op = cairo_get_operator(cr);
    if (op != CAIRO_OPERATOR_OVER && op != CAIRO_OPERATOR_SOURCE)
        return false;
    // The DC's scale (GDK_SCALE) is cairo's matrix; a whole number of the
    // image's pixels makes one of the DC's.
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double ox = 0, oy = 0, sx = 1, sy = 1;
    cairo_surface_get_device_offset(surface, &ox, &oy);
    cairo_surface_get_device_scale(surface, &sx, &sy);
    const double scale = m.xx * sx;
    const int s = int(scale);
    if (m.xy != 0 || m.yx != 0 || m.x0 != 0 || m.y0 != 0 || ox != 0 || oy != 0 ||
        m.yy * sy != scale || s < 1 || s != scale)
        return false;
    // A clip of one rectangle on whole pixels (or none, which lists the
    // whole image); anything else is left to cairo.
    cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
    const bool one = clips->status == CAIRO_STATUS_SUCCESS && clips->num_rectangles <= 1;
    cairo_rectangle_t clip = {0, 0, 0, 0};
    if (one && clips->num_rectangles == 1)
        clip = clips->rectangles[0];
    cairo_rectangle_list_destroy(clips);
    clip = {clip.x * s, clip.y * s, clip.width * s, clip.height * s};
    if (!one || clip.x != int(clip.x) || clip.y != int(clip.y) || clip.width != int(clip.width) ||
        clip.height != int(clip.height))
        return false;

    ClearDirty();
    cairo_surface_flush(surface);
    // Held until released, should the DC go before.
    m_surface = cairo_surface_reference(surface);
    m_data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    m_stride = cairo_image_surface_get_stride(surface) / 4;
    m_scale = s;
    const int w = std::min(width * s, cairo_image_surface_get_width(surface));
    const int h = std::min(height * s, cairo_image_surface_get_height(surface));
    m_clipX0 = std::max(0, int(clip.x));
    m_clipY0 = std::max(0, int(clip.y));
    m_clipX1 = std::max(m_clipX0, std::min(w, int(clip.x + clip.width)));
    m_clipY1 = std::max(m_clipY0, std::min(h, int(clip.y + clip.height)));
    return true;
#else
    wxUnusedVar(dc);
    wxUnusedVar(width);
    wxUnusedVar(height);
    return false;
#endif
}

void wxPlotPixelCanvas::SetColour(const wxColour& colour)
{
    m_colour = 0xff000000u | (uint32_t(colour.Red()) << 16) | (uint32_t(colour.Green()) << 8) |
               uint32_t(colour.Blue());
}

void wxPlotPixelCanvas::Touch(int x0, int y0, int x1, int y1)
{
    if (IsEmpty())
    {
        m_dirtyX0 = x0;
        m_dirtyY0 = y0;
        m_dirtyX1 = x1;
        m_dirtyY1 = y1;
        return;
    }
    m_dirtyX0 = std::min(m_dirtyX0, x0);
    m_dirtyY0 = std::min(m_dirtyY0, y0);
    m_dirtyX1 = std::max(m_dirtyX1, x1);
    m_dirtyY1 = std::max(m_dirtyY1, y1);
}

void wxPlotPixelCanvas::FillRect(const wxRect& rect)
{
    const int x0 = std::max(rect.x, m_clipX0), x1 = std::min(rect.x + rect.width, m_clipX1);
    const int y0 = std::max(rect.y, m_clipY0), y1 = std::min(rect.y + rect.height, m_clipY1);
    if (x0 >= x1 || y0 >= y1)
        return;
    Touch(x0, y0, x1, y1);
    uint32_t* first = m_data + size_t(y0) * m_stride + x0;
    const int width = x1 - x0;
    if (width < 16)
    {
        for (int y = y0; y < y1; ++y, first += m_stride)
            for (int x = 0; x < width; ++x)
                first[x] = m_colour;
        return;
    }
    // Wide: one row set, then copied; the copy goes at the memory's speed, a
    // loop setting pixels one by one does not.
    std::fill_n(first, width, m_colour);
    for (int y = y0 + 1; y < y1; ++y)
        std::memcpy(m_data + size_t(y) * m_stride + x0, first, size_t(width) * sizeof(uint32_t));
}

void wxPlotPixelCanvas::Stamp(int x, int y)
{
    const int x0 = x - (m_penWidth - 1) / 2, y0 = y - (m_penWidth - 1) / 2;
    const int x1 = std::min(x0 + m_penWidth, m_clipX1), y1 = std::min(y0 + m_penWidth, m_clipY1);
    const int xs = std::max(x0, m_clipX0), ys = std::max(y0, m_clipY0);
    for (int yy = ys; yy < y1; ++yy)
    {
        uint32_t* row = m_data + size_t(yy) * m_stride;
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
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    const int bx0 = std::max(x0 - before, m_clipX0), bx1 = std::min(x1 + after + 1, m_clipX1);
    const int by0 = std::max(top - before, m_clipY0), by1 = std::min(bottom + after + 1, m_clipY1);
    if (bx0 >= bx1 || by0 >= by1)
        return;
    // A straight line is the rectangle its stamps cover.
    if (dx == 0 || dy == 0)
    {
        FillRect(wxRect(bx0, by0, bx1 - bx0, by1 - by0));
        return;
    }
    Touch(bx0, by0, bx1, by1);

    // All of it within the clip: no pixel needs a test.
    const bool inside = x0 - before >= m_clipX0 && x1 + after < m_clipX1 &&
                        top - before >= m_clipY0 && bottom + after < m_clipY1;
    const int sy = y0 < y1 ? 1 : -1;
    long long err = dx - dy;
    int x = x0, y = y0;
    for (;;)
    {
        if (!inside)
            Stamp(x, y);
        else
        {
            uint32_t* p = m_data + size_t(y - before) * m_stride + (x - before);
            for (int yy = 0; yy < m_penWidth; ++yy, p += m_stride)
                for (int xx = 0; xx < m_penWidth; ++xx)
                    p[xx] = m_colour;
        }
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
    if (m_surface || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return wxNullColour;
    const uint32_t p = m_pixels[size_t(y) * m_width + x];
    if (!p)
        return wxNullColour;
    return wxColour((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
}

void wxPlotPixelCanvas::Release()
{
#ifdef QUENVAR_HAVE_CAIRO
    if (!m_surface)
        return;
    cairo_surface_t* surface = static_cast<cairo_surface_t*>(m_surface);
    if (!IsEmpty())
        cairo_surface_mark_dirty_rectangle(surface, m_dirtyX0, m_dirtyY0, m_dirtyX1 - m_dirtyX0,
                                           m_dirtyY1 - m_dirtyY0);
    cairo_surface_destroy(surface);
    m_surface = nullptr;
    m_dirtyX0 = m_dirtyY0 = m_dirtyX1 = m_dirtyY1 = 0;
    m_scale = m_layerScale;
    m_data = m_pixels.data();
    m_stride = m_width;
    m_clipX0 = m_clipY0 = 0;
    m_clipX1 = m_width;
    m_clipY1 = m_height;
#endif
}

void wxPlotPixelCanvas::DrawOnto(wxDC& dc, int x, int y)
{
    if (m_surface)
    {
        Release();
        return;
    }
    if (IsEmpty())
        return;
    // Whole window pixels: the layer is laid in those.
    const int k = m_scale;
    const int x0 = m_dirtyX0 / k * k, y0 = m_dirtyY0 / k * k;
    const wxRect r(x0, y0, (m_dirtyX1 - x0 + k - 1) / k * k, (m_dirtyY1 - y0 + k - 1) / k * k);
    m_dirtyX0 = m_dirtyY0 = m_dirtyX1 = m_dirtyY1 = 0;
#ifdef QUENVAR_HAVE_CAIRO
    // The layer already is cairo's premultiplied ARGB: laid straight onto a
    // cairo DC, with no copy and no conversion.
    if (cairo_t* cr = CairoOf(dc))
    {
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(m_pixels.data()), CAIRO_FORMAT_ARGB32, m_width,
            m_height, m_width * 4);
        cairo_surface_set_device_scale(surface, k, k);
        cairo_save(cr);
        cairo_rectangle(cr, x + r.x / k, y + r.y / k, r.width / k, r.height / k);
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
    dc.DrawBitmap(wxBitmap(image, wxBITMAP_SCREEN_DEPTH, k), x + r.x / k, y + r.y / k, false);
}
