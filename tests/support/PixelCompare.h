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
    int n = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if ((a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
                 a.GetBlue(x, y) != b.GetBlue(x, y)) && n++ < 5 && where)
                *where += wxString::Format("(%d,%d) ", x, y);
    return n;
}

// What draw puts on a bitmap of size when all of it goes through the
// toolkit's drawing calls: the DC's origin is moved, so the plot sets no
// pixel straight into the bitmap and copies no picture it made before.
inline wxImage RenderThroughToolkit(const wxSize& size, const std::function<void(wxDC&)>& draw)
{
    wxBitmap bitmap(size.x + 1, size.y + 1);
    {
        wxMemoryDC dc(bitmap);
        dc.SetDeviceOrigin(1, 1);
        draw(dc);
    }
    return bitmap.ConvertToImage().GetSubImage(wxRect(1, 1, size.x, size.y));
}
} // namespace pixeltest
