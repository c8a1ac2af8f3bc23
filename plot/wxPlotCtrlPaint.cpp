// Painting: the area and both axes render into back buffers that are
// rebuilt only when dirty and otherwise copied; the control paints the
// title, the labels and the focus indicator. GTK3 draws only from paint
// events, so everything that shows on screen is drawn here from state.

#include "wxPlotCtrl.h"
#include "wxPlotClipLayer.h"
#include "wxPlotDrawer.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/scrolbar.h>

#include <algorithm>

// --- Back buffers ----------------------------------------------------------------

bool wxPlotBackBufferFits(const wxBitmap& bitmap, const wxSize& size, const wxWindow* window)
{
    return bitmap.IsOk() && bitmap.GetLogicalSize() == size &&
           bitmap.GetScaleFactor() == window->GetContentScaleFactor();
}

bool wxPlotFitBackBuffer(wxBitmap& bitmap, const wxSize& size, const wxWindow* window)
{
    if (wxPlotBackBufferFits(bitmap, size, window))
        return false;
    bitmap.CreateWithDIPSize(size, window->GetContentScaleFactor());
    return true;
}

// --- Area ----------------------------------------------------------------------

void wxPlotCtrl::DrawAreaWindow(wxPaintEvent& WXUNUSED(event), wxDC* dc, wxPlotCtrlArea* area)
{
    if (!dc || !area || (m_dirtyFlags & wxPLOTCTRL_LAYOUT_INVALID))
        return;
    if (m_dirtyFlags & wxPLOTCTRL_REDRAW_PLOT)
    {
        if (m_areaSize.width <= 0 || m_areaSize.height <= 0)
            return;
        wxPlotFitBackBuffer(area->m_bitmap, m_areaSize.GetSize(), area);
        wxMemoryDC mdc(area->m_bitmap);
        DrawArea(&mdc, m_areaSize);
        m_dirtyFlags &= ~wxPLOTCTRL_REDRAW_PLOT;
    }
    if (area->m_bitmap.IsOk())
        dc->DrawBitmap(area->m_bitmap, 0, 0, false);
    DrawAreaOverlays(dc);
}

void wxPlotCtrl::DrawAreaOverlays(wxDC* dc)
{
    if (!m_area)
        return;
    if (m_showCrosshairCursor && m_area->m_mouseInside &&
        m_areaSize.Contains(m_area->m_lastMousePos))
        DrawCrosshairCursor(dc, m_area->m_lastMousePos);
    DrawMouseMarker(dc, m_areaMouseMarker, m_area->m_mouseRect);
}

namespace
{
// Curves are handed a few columns more than the clip on each side, so that
// a re-rendered stretch gets the lines and marks of the points just outside
// it exactly as a whole render does; the clip keeps them within it. Wider
// pens reach further: the overlap grows with them.
const int kCurveOverlap = 8;

// Fills the rectangles that emit hands to its argument in colour, within
// the area: set straight into the DC's pixels where it has them (a back
// buffer), else through the DC. A plot drawn every live frame spends more
// on the toolkit's calls than on the pixels.
template <typename Emit>
void FillRects(wxPlotPixelCanvas& pixels, wxDC& dc, const wxRect& area, const wxColour& colour, Emit emit)
{
    const bool direct = pixels.Attach(dc, area.width, area.height);
    if (direct)
        pixels.SetColour(colour);
    else
    {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(colour, wxBRUSHSTYLE_SOLID));
    }
    emit([&](const wxRect& r) {
        if (direct)
            pixels.FillRect(pixels.ToDevice(r));
        else
            dc.DrawRectangle(r);
    });
    if (direct)
        pixels.DrawOnto(dc);
}
} // namespace

void wxPlotCtrl::DrawArea(wxDC* dc, const wxRect& rect)
{
    if (!dc)
        return;
    const wxRect clip = rect.Intersect(m_areaSize);
    if (clip.IsEmpty())
        return;
    wxPlotSetCrispDrawing(*dc);

    // Clipped throughout: a stretch re-rendered into the back buffer must
    // not draw the curves, cursor or key a second time beside it.
    dc->SetClippingRegion(clip);
    FillRects(m_areaPixels, *dc, m_areaSize, GetAreaBackgroundColour(), [&](auto fill) { fill(clip); });
    // Markers without a brush of their own are filled with the background.
    dc->SetBrush(wxBrush(GetAreaBackgroundColour(), wxBRUSHSTYLE_SOLID));
    dc->SetPen(*wxTRANSPARENT_PEN);
    DrawTickMarks(dc, rect);
    {
        const wxPlotClipLayer layer(*dc, clip, m_areaSize);
        DrawMarkers(dc, rect);
    }

    int overlap = kCurveOverlap;
    for (const wxPlotCurve* curve : m_curves)
        overlap = std::max(overlap, wxPlotCurveReach(curve) + 1);
    wxRect curveRect(clip);
    curveRect.Inflate(overlap, 0);
    curveRect = curveRect.Intersect(m_areaSize);
    // The active curve last, so that it lies on top. Data curves are set
    // straight into the back buffer's pixels, or collect in one pixel layer
    // laid over the area before any other kind of curve.
    if (m_dataCurveDrawer)
        m_dataCurveDrawer->BeginBatch(dc, m_areaSize.width, m_areaSize.height);
    auto drawOne = [&](int i) {
        if (wxPlotData* data = GetDataCurve(i))
            DrawDataCurve(dc, data, i, curveRect);
        else
        {
            if (m_dataCurveDrawer)
            {
                m_dataCurveDrawer->EndBatch(dc);
                m_dataCurveDrawer->BeginBatch(dc, m_areaSize.width, m_areaSize.height);
            }
            const wxPlotClipLayer layer(*dc, clip, m_areaSize);
            DrawCurve(dc, m_curves[i], i, curveRect);
        }
    };
    for (int i = 0; i < GetCurveCount(); ++i)
        if (i != m_activeIndex)
            drawOne(i);
    if (CurveIndexOk(m_activeIndex))
        drawOne(m_activeIndex);
    if (m_dataCurveDrawer)
        m_dataCurveDrawer->EndBatch(dc);
    {
        const wxPlotClipLayer layer(*dc, clip, m_areaSize);
        DrawCursor(dc);
    }
    DrawKey(dc);

    // The frame as four filled strips: a stroked rectangle with
    // anti-aliasing off lights every pixel of a clip one or two pixels wide
    // (a thin partial redraw).
    const int b = std::max(m_borderWidth, 1), w = m_areaSize.width, h = m_areaSize.height;
    FillRects(m_areaPixels, *dc, m_areaSize, m_borderColour, [&](auto fill) {
        fill(wxRect(0, 0, w, b));
        fill(wxRect(0, h - b, w, b));
        fill(wxRect(0, 0, b, h));
        fill(wxRect(w - b, 0, b, h));
    });
    dc->DestroyClippingRegion();
    dc->SetPen(wxNullPen);
    dc->SetBrush(wxNullBrush);
}

void wxPlotCtrl::DrawTickMarks(wxDC* dc, const wxRect& rect)
{
    if (!dc)
        return;
    // Filled: the pixels a crisp line of width 1 would light, ends included.
    const int xLength = m_showGrid ? m_areaSize.height : 10;
    const int yLength = m_showGrid ? m_areaSize.width : 10;
    const wxBrush brush = dc->GetBrush();
    FillRects(m_areaPixels, *dc, m_areaSize, GetGridColour(), [&](auto fill) {
        for (int p : m_xTickPositions)
        {
            if (p > rect.x + rect.width - 1)
                break;
            if (p >= rect.x)
                fill(wxRect(p, m_areaSize.height - xLength, 1, xLength + 1));
        }
        for (int q : m_yTickPositions)
        {
            if (q < rect.y)
                break;
            if (q <= rect.y + rect.height - 1)
                fill(wxRect(0, q, yLength + 1, 1));
        }
    });
    // What follows without a pen of its own draws with the grid's.
    dc->SetBrush(brush);
    dc->SetPen(wxPen(GetGridColour(), 1, wxPENSTYLE_SOLID));
}

void wxPlotCtrl::DrawMarkers(wxDC* dc, const wxRect& rect)
{
    if (!dc || !m_markerDrawer)
        return;
    m_markerDrawer->SetPlotViewRect(m_viewRect);
    m_markerDrawer->SetDCRect(rect);
    m_markerDrawer->Draw(dc, m_markers);
}

void wxPlotCtrl::DrawDataCurve(wxDC* dc, wxPlotData* curve, int curveIndex, const wxRect& rect)
{
    if (!dc || !m_dataCurveDrawer || !curve || !curve->Ok())
        return;
    m_dataCurveDrawer->SetDCRect(rect);
    m_dataCurveDrawer->SetPlotViewRect(m_viewRect);
    m_dataCurveDrawer->Draw(dc, curve, curveIndex);
}

void wxPlotCtrl::DrawCurve(wxDC* dc, wxPlotCurve* curve, int curveIndex, const wxRect& rect)
{
    if (!dc || !m_curveDrawer || !curve || !curve->Ok())
        return;
    m_curveDrawer->SetDCRect(rect);
    m_curveDrawer->SetPlotViewRect(m_viewRect);
    m_curveDrawer->Draw(dc, curve, curveIndex);
}

void wxPlotCtrl::DrawCursor(wxDC* dc)
{
    if (!dc || !m_markerDrawer || !IsCursorValid())
        return;
    m_markerDrawer->SetPlotViewRect(m_viewRect);
    m_markerDrawer->SetDCRect(m_areaSize);
    // The cursor has no brush of its own: a ring, not filled with whatever
    // brush the markers drawn before it left in the DC.
    dc->SetBrush(*wxTRANSPARENT_BRUSH);
    m_markerDrawer->Draw(dc, m_cursorMarker);
}

void wxPlotCtrl::DrawKey(wxDC* dc)
{
    if (!dc || !m_keyDrawer || !m_showKey || m_keyText.empty())
        return;
    m_keyDrawer->SetDCRect(wxRect(0, 0, m_areaSize.width, m_areaSize.height));
    m_keyDrawer->SetPlotViewRect(m_viewRect);
    m_keyDrawer->Draw(dc, m_keyText);
}

void wxPlotCtrl::DrawMouseMarker(wxDC* dc, int type, const wxRect& rect)
{
    if (!dc || rect.width == 0 || rect.height == 0)
        return;
    // Drawn over the copied back buffer from state (no inverted drawing,
    // which GTK3 does not do); moving it repaints the area from the buffer.
    const wxRect r = wxPlotNormalisedRect(rect);
    const wxSize client = m_area ? m_area->GetClientSize() : m_areaSize.GetSize();
    dc->SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
    dc->SetBrush(*wxTRANSPARENT_BRUSH);
    switch (type)
    {
        case wxPLOTCTRL_MARKER_RECT:
            dc->DrawRectangle(r);
            break;
        case wxPLOTCTRL_MARKER_VERT:
            dc->DrawLine(r.x, 1, r.x, client.y - 2);
            dc->DrawLine(r.x + r.width, 1, r.x + r.width, client.y - 2);
            break;
        case wxPLOTCTRL_MARKER_HORIZ:
            dc->DrawLine(1, r.y, client.x - 2, r.y);
            dc->DrawLine(1, r.y + r.height, client.x - 2, r.y + r.height);
            break;
        default:
            break;
    }
    dc->SetPen(wxNullPen);
    dc->SetBrush(wxNullBrush);
}

void wxPlotCtrl::DrawCrosshairCursor(wxDC* dc, const wxPoint& pos)
{
    if (!dc)
        return;
    const wxSize client = m_area ? m_area->GetClientSize() : m_areaSize.GetSize();
    dc->SetPen(*wxBLACK_PEN);
    dc->DrawLine(0, pos.y, client.x, pos.y);
    dc->DrawLine(pos.x, 0, pos.x, client.y);
    dc->SetPen(wxNullPen);
}

// --- Axes ----------------------------------------------------------------------

void wxPlotCtrl::DrawAxisWindow(wxPaintEvent& WXUNUSED(event), wxDC* dc, wxPlotCtrlAxis* axis)
{
    if (!dc || !axis || (m_dirtyFlags & wxPLOTCTRL_LAYOUT_INVALID))
        return;
    const int flag = axis->IsXAxis() ? wxPLOTCTRL_REDRAW_XAXIS : wxPLOTCTRL_REDRAW_YAXIS;
    const wxSize size = axis->GetClientSize();
    if (size.x < 2 || size.y < 2)
        return;
    const bool resized = !wxPlotBackBufferFits(axis->m_bitmap, size, axis);
    if ((m_dirtyFlags & flag) || resized)
    {
        m_dirtyFlags &= ~flag;
        UpdateAreaSize();
        wxPlotFitBackBuffer(axis->m_bitmap, size, axis);
        wxMemoryDC mdc(axis->m_bitmap);
        if (axis->IsXAxis())
            DrawXAxis(&mdc, true);
        else
            DrawYAxis(&mdc, true);
    }
    dc->DrawBitmap(axis->m_bitmap, 0, 0, false);
}

void wxPlotCtrl::DrawXAxis(wxDC* dc, bool refresh)
{
    if (!dc || !m_xAxisDrawer || !m_xAxis)
        return;
    const wxSize size = m_xAxis->GetClientSize();
    m_xAxisDrawer->SetTickPositions(m_xTickPositions);
    m_xAxisDrawer->SetTickLabels(m_xTickLabels);
    m_xAxisDrawer->SetPlotViewRect(m_viewRect);
    m_xAxisDrawer->SetDCRect(wxRect(0, 0, size.x, size.y));
    m_xAxisDrawer->Draw(dc, refresh);
}

void wxPlotCtrl::DrawYAxis(wxDC* dc, bool refresh)
{
    if (!dc || !m_yAxisDrawer || !m_yAxis)
        return;
    const wxSize size = m_yAxis->GetClientSize();
    m_yAxisDrawer->SetTickPositions(m_yTickPositions);
    m_yAxisDrawer->SetTickLabels(m_yTickLabels);
    m_yAxisDrawer->SetPlotViewRect(m_viewRect);
    m_yAxisDrawer->SetDCRect(wxRect(0, 0, size.x, size.y));
    m_yAxisDrawer->Draw(dc, refresh);
}

// --- The control itself ----------------------------------------------------------

void wxPlotCtrl::OnPaint(wxPaintEvent& WXUNUSED(event))
{
    wxPaintDC dc(this);
    // GTK paints the control again for every redraw of its area window, ten
    // times a second with live data; the texts cost a Pango layout each, so
    // they are drawn only when the update reaches them.
    const wxRegion& update = GetUpdateRegion();
    auto exposed = [&update](const wxRect& rect) {
        return !rect.IsEmpty() && update.Contains(rect) != wxOutRegion;
    };
    if (exposed(GetScrollBarCornerRect()))
        DrawScrollBarCorner(&dc);
    const bool title = m_showTitle && !m_title.empty() && exposed(m_titleRect);
    const bool xLabel = m_showXAxisLabel && !m_xAxisLabel.empty() && exposed(m_xLabelRect);
    const bool yLabel = m_showYAxisLabel && !m_yAxisLabel.empty() && exposed(m_yLabelRect);
    if (title || xLabel || yLabel)
        DrawTitleAndLabels(&dc);
}

wxRect wxPlotCtrl::GetScrollBarCornerRect() const
{
    if (!m_xScrollBar || !m_yScrollBar)
        return wxRect();
    return wxRect(m_clientRect.width, m_clientRect.height, m_yScrollBar->GetSize().x,
                  m_xScrollBar->GetSize().y);
}

void wxPlotCtrl::DrawScrollBarCorner(wxDC* dc)
{
    if (!dc || !m_xScrollBar || !m_yScrollBar || !m_xScrollBar->IsShown() ||
        !m_yScrollBar->IsShown())
        return;
    const wxRect corner = GetScrollBarCornerRect();
    dc->SetPen(*wxTRANSPARENT_PEN);
    dc->SetBrush(wxBrush(GetAreaBackgroundColour()));
    dc->DrawRectangle(corner);
    const wxBitmap& bitmap = m_cornerBitmaps[m_cornerFocusWindow ? 0 : 1];
    if (bitmap.IsOk())
        dc->DrawBitmap(bitmap, corner.x + (corner.width - bitmap.GetWidth()) / 2,
                       corner.y + (corner.height - bitmap.GetHeight()) / 2, true);
}

void wxPlotCtrl::DrawTitleAndLabels(wxDC* dc)
{
    if (!dc)
        return;
    if (m_showTitle && !m_title.empty())
    {
        dc->SetFont(m_titleFont);
        dc->SetTextForeground(m_titleColour);
        dc->DrawText(m_title, m_titleRect.GetPosition());
    }
    dc->SetFont(GetAxisLabelFont());
    dc->SetTextForeground(GetAxisLabelColour());
    if (m_showXAxisLabel && !m_xAxisLabel.empty())
        dc->DrawText(m_xAxisLabel, m_xLabelRect.GetPosition());
    if (m_showYAxisLabel && !m_yAxisLabel.empty())
        dc->DrawRotatedText(m_yAxisLabel, m_yLabelRect.x, m_yLabelRect.y + m_yLabelRect.height,
                            90.0);
}

void wxPlotCtrl::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    wxWindow* focus = FindFocus();
    if (focus != m_area && focus != m_xAxis && focus != m_yAxis && focus != this)
        focus = NULL;
    if (focus == m_cornerFocusWindow)
        return;
    const bool wasShown = m_cornerFocusWindow != NULL;
    m_cornerFocusWindow = focus;
    // Drawn by the next paint: GTK3 draws nothing from outside paint events.
    if (wasShown != (focus != NULL))
        RefreshRect(GetScrollBarCornerRect(), false);
}

// --- Colours and fonts ---------------------------------------------------------

bool wxPlotCtrl::SetBackgroundColour(const wxColour& colour)
{
    if (!colour.IsOk())
        return false;
    const wxGenericBrush brush(wxGenericColour(colour), wxBRUSHSTYLE_SOLID);
    if (m_area)
        m_area->SetBackgroundColour(colour);
    if (m_xAxis)
        m_xAxis->SetBackgroundColour(colour);
    if (m_yAxis)
        m_yAxis->SetBackgroundColour(colour);
    if (m_xAxisDrawer)
        m_xAxisDrawer->SetBackgroundBrush(brush);
    if (m_yAxisDrawer)
        m_yAxisDrawer->SetBackgroundBrush(brush);
    wxWindow::SetBackgroundColour(colour);
    Redraw(wxPLOTCTRL_REDRAW_EVERYTHING);
    return true;
}

wxColour wxPlotCtrl::GetAreaBackgroundColour() const
{
    return m_area ? m_area->GetBackgroundColour() : *wxWHITE;
}

void wxPlotCtrl::SetGridColour(const wxColour& colour)
{
    if (m_area && colour.IsOk())
    {
        m_area->SetForegroundColour(colour);
        Redraw(wxPLOTCTRL_REDRAW_PLOT);
    }
}

wxColour wxPlotCtrl::GetGridColour() const
{
    return m_area ? m_area->GetForegroundColour() : *wxLIGHT_GREY;
}

void wxPlotCtrl::SetBorderColour(const wxColour& colour)
{
    m_borderColour = colour;
    Redraw(wxPLOTCTRL_REDRAW_PLOT);
}

void wxPlotCtrl::SetAxisFont(const wxFont& font)
{
    if (m_xAxisDrawer)
        m_xAxisDrawer->SetTickFont(font);
    if (m_yAxisDrawer)
        m_yAxisDrawer->SetTickFont(font);
    Redraw(wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
}
