#pragma once
// A transparent layer of opaque pixels that curves are drawn into and that
// is then laid over a DC in one piece.
//
// Lines are set pixel by pixel (Bresenham, both ends included, a square
// stamp for wider pens), so a line's pixels depend only on its two ends:
// drawing a path in pieces, or a reduced path with the same outline, gives
// the same pixels. Cairo's unsmoothed strokes do not: one path of many
// segments comes out different from the same segments stroked one by one.

#include <wx/colour.h>
#include <wx/gdicmn.h>

#include <cstdint>
#include <vector>

class wxDC;

class wxPlotPixelCanvas
{
public:
    // Clears the layer and gives it this size (reusing its memory).
    void Reset(int width, int height);
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    void SetColour(const wxColour& colour);
    // Pen width in pixels, at least 1.
    void SetWidth(int width) { m_penWidth = width < 1 ? 1 : width; }

    // Pixels outside the layer are dropped.
    void Line(int x0, int y0, int x1, int y1);
    void Point(int x, int y);
    bool IsEmpty() const { return m_dirty.IsEmpty(); }
    // Colour of a pixel, wxNullColour where nothing was drawn.
    wxColour GetPixel(int x, int y) const;

    // Lays the drawn pixels over dc with the layer's origin at (x, y) and
    // clears the layer.
    void DrawOnto(wxDC& dc, int x = 0, int y = 0);

private:
    void Stamp(int x, int y);

    int m_width = 0, m_height = 0;
    std::vector<uint32_t> m_pixels;   // 0: nothing drawn; else 0xff rrggbb
    uint32_t m_colour = 0xff000000u;
    int m_penWidth = 1;
    wxRect m_dirty;
};
