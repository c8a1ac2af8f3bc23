#pragma once
// Opaque pixels that curves, grid lines and fills are set into: either a
// transparent layer of its own that is then laid over a DC in one piece, or
// straight the pixels of a DC's image (a memory DC on a bitmap, as the back
// buffers are), which saves laying a whole area's layer over it every frame.
//
// Its pixels are the DC's own: at a content scale of 2 (GDK_SCALE=2) each
// window pixel is 2 x 2 of them, and curves are drawn in those, as sharp as
// the toolkit's text. Callers give coordinates in them (ToDevice).
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
    wxPlotPixelCanvas() = default;
    wxPlotPixelCanvas(const wxPlotPixelCanvas&) = delete;
    wxPlotPixelCanvas& operator=(const wxPlotPixelCanvas&) = delete;
    ~wxPlotPixelCanvas() { Release(); }

    // Clears the layer and gives it the size of width x height window
    // pixels at scale (reusing its memory).
    void Reset(int width, int height, int scale = 1);
    // From here on sets the pixels of dc's image itself, as a layer of
    // width x height window pixels laid over dc at (0, 0) would set them,
    // when dc draws through cairo onto an image, scaled by a whole number
    // and not moved, with a clip of one rectangle; false, with the canvas
    // as it was, when not.
    bool Attach(wxDC& dc, int width, int height);
    // Attach, or else Reset at dc's content scale.
    void Start(wxDC& dc, int width, int height);
    bool IsAttached() const { return m_surface != nullptr; }
    // Size in its own pixels, and how many of them make a window pixel.
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetScale() const { return m_scale; }
    wxRect ToDevice(const wxRect& r) const
        { return wxRect(r.x * m_scale, r.y * m_scale, r.width * m_scale, r.height * m_scale); }

    void SetColour(const wxColour& colour);
    // Pen width in pixels, at least 1.
    void SetWidth(int width) { m_penWidth = width < 1 ? 1 : width; }

    // Pixels outside the layer (or the attached DC's clip) are dropped.
    void Line(int x0, int y0, int x1, int y1);
    void Point(int x, int y);
    // Every pixel of rect in the colour.
    void FillRect(const wxRect& rect);
    bool IsEmpty() const { return m_dirtyX1 <= m_dirtyX0; }
    // Colour of a pixel of the layer, wxNullColour where nothing was drawn.
    wxColour GetPixel(int x, int y) const;

    // The layer: lays the drawn pixels over dc with the layer's origin at
    // (x, y) and clears it. Attached: hands the changed pixels back to the
    // DC's image and lets go of it.
    void DrawOnto(wxDC& dc, int x = 0, int y = 0);

private:
    void Stamp(int x, int y);
    void Touch(int x0, int y0, int x1, int y1);
    void ClearDirty();
    // Attached: tells the image which pixels changed and goes back to the
    // layer.
    void Release();

    int m_width = 0, m_height = 0;
    int m_scale = 1;        // of what pixels are set into now
    int m_layerScale = 1;
    std::vector<uint32_t> m_pixels;   // the layer; 0: nothing drawn, else 0xff rrggbb
    // Where pixels go: the layer, or the attached image (row stride in
    // pixels); only pixels within the clip are set.
    uint32_t* m_data = nullptr;
    int m_stride = 0;
    int m_clipX0 = 0, m_clipY0 = 0, m_clipX1 = 0, m_clipY1 = 0;
    void* m_surface = nullptr;        // the attached image's cairo surface
    uint32_t m_colour = 0xff000000u;
    int m_penWidth = 1;
    // Bounds of what was set since the last Reset / Attach / DrawOnto
    // (x1, y1 exclusive).
    int m_dirtyX0 = 0, m_dirtyY0 = 0, m_dirtyX1 = 0, m_dirtyY1 = 0;
};
