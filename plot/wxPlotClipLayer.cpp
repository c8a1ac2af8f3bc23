#include "wxPlotClipLayer.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#ifdef QUENVAR_HAVE_CAIRO
#include <cairo.h>
#endif

namespace
{
// Far enough that no edge of the wider clip touches the stretch.
const int kEdgeMargin = 2;
} // namespace

wxPlotClipLayer::wxPlotClipLayer(wxDC& dc, const wxRect& clip, const wxRect& bounds)
{
#ifdef QUENVAR_HAVE_CAIRO
    wxRect wide(clip);
    wide.Inflate(kEdgeMargin);
    wide.Intersect(bounds);
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (clip.IsEmpty() || wide == clip || !gc ||
        gc->GetRenderer() != wxGraphicsRenderer::GetCairoRenderer())
        return;
    cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    // The DC keeps its own clip; cairo's is set wider only within the saved
    // state, and the layer is laid back under the DC's.
    cairo_save(cr);
    cairo_reset_clip(cr);
    cairo_rectangle(cr, wide.x, wide.y, wide.width, wide.height);
    cairo_clip(cr);
    cairo_push_group(cr);
    m_cairo = cr;
#else
    wxUnusedVar(dc);
    wxUnusedVar(clip);
    wxUnusedVar(bounds);
#endif
}

wxPlotClipLayer::~wxPlotClipLayer()
{
#ifdef QUENVAR_HAVE_CAIRO
    if (!m_cairo)
        return;
    cairo_t* cr = static_cast<cairo_t*>(m_cairo);
    cairo_pattern_t* layer = cairo_pop_group(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_set_source(cr, layer);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(layer);
#endif
}
