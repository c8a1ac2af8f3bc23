#pragma once
// Rendered pictures compared pixel for pixel, and pictures rendered through
// the toolkit's own drawing calls to compare with.

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/string.h>

#include <functional>

namespace pixeltest
{
// Pixels that differ between two pictures of one size; where (when given)
// gets the first few.
inline int CountDifferences(const wxImage& a, const wxImage& b, wxString* where = nullptr)
{
    if (a.GetSize() != b.GetSize())
        return a.GetWidth() * a.GetHeight();
    int n = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if ((a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
                 a.GetBlue(x, y) != b.GetBlue(x, y)) && n++ < 5 && where)
                *where += wxString::Format("(%d,%d) ", x, y);
    return n;
}

// What draw puts on a bitmap of size (at scale) when all of it goes through the
// toolkit's drawing calls: the DC's origin is moved, so the plot sets no
// pixel straight into the bitmap and copies no picture it made before.
inline wxImage RenderThroughToolkit(const wxSize& size, const std::function<void(wxDC&)>& draw, double scale = 1)
{
    wxBitmap bitmap;
    bitmap.CreateWithDIPSize(size + wxSize(1, 1), scale);
    {
        wxMemoryDC dc(bitmap);
        dc.SetDeviceOrigin(1, 1);
        draw(dc);
    }
    const int s = int(scale);
    return bitmap.ConvertToImage().GetSubImage(wxRect(s, s, size.x * s, size.y * s));
}
} // namespace pixeltest
