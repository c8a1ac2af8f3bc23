// Keyboard handling of the plot control: the modifier keys choose the area
// mouse function, and one key table (for the area, the axes and the control
// itself) zooms, pans, steps the cursor and the active curve and selects.
// Keys reach the focused child only; the area takes the focus on a click.

#include "wxPlotCtrl.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// The modifiers that choose the mouse function.
const int kFunctionModifiers = wxMOD_SHIFT | wxMOD_CONTROL | wxMOD_ALT;

// "-" and "=" scale the view about the mouse by these.
const double kKeyZoomOut = 1.5;
const double kKeyZoomIn = 0.67;
// End: a data curve's bounds grown by this share of their size each side;
// a flat function curve gets this much room above and below.
const double kFitMargin = 0.0125;
const double kFlatCurveRoom = 5.0;
// Arrow keys pan by this share of the view, page up and down by that.
const double kArrowPan = 0.1;
const double kPagePan = 0.5;
const double kTwoThirds = 0.6666666666666666;

enum class KeyAction
{
    CursorLeft,
    CursorRight,
    ZoomOutAtMouse,
    ZoomInAtMouse,
    HistoryBack,
    HistoryForward,
    FitActive,
    ZoomPair,
    DeleteActive,
    FitActiveHeight,
    Home,
    Pan,
    Escape
};

// A key (the char code, matched case-sensitively, or a WXK_ code) and what
// it does; fx, fy are the zoom factors or the pan shares.
struct KeyBinding
{
    int key;
    KeyAction action;
    double fx, fy;
};

const KeyBinding kKeyBindings[] = {
    {',', KeyAction::CursorLeft, 0, 0},
    {'<', KeyAction::CursorLeft, 0, 0},
    {'.', KeyAction::CursorRight, 0, 0},
    {'>', KeyAction::CursorRight, 0, 0},
    {'-', KeyAction::ZoomOutAtMouse, 0, 0},
    {'=', KeyAction::ZoomInAtMouse, 0, 0},
    {'[', KeyAction::HistoryBack, 0, 0},
    {']', KeyAction::HistoryForward, 0, 0},
    {'s', KeyAction::FitActive, 0, 0},
    {'q', KeyAction::ZoomPair, kTwoThirds, 1.5},
    {'w', KeyAction::ZoomPair, 1.0, 1.5},
    {'e', KeyAction::ZoomPair, 1.5, 1.5},
    {'a', KeyAction::ZoomPair, kTwoThirds, 1.0},
    {'d', KeyAction::ZoomPair, 1.5, 1.0},
    {'z', KeyAction::ZoomPair, kTwoThirds, kTwoThirds},
    {'x', KeyAction::ZoomPair, 1.0, kTwoThirds},
    {'c', KeyAction::ZoomPair, 1.5, kTwoThirds},
    {WXK_DELETE, KeyAction::DeleteActive, 0, 0},
    {WXK_NUMPAD_DELETE, KeyAction::DeleteActive, 0, 0},
    {WXK_END, KeyAction::FitActiveHeight, 0, 0},
    {WXK_NUMPAD_END, KeyAction::FitActiveHeight, 0, 0},
    {WXK_HOME, KeyAction::Home, 0, 0},
    {WXK_NUMPAD_HOME, KeyAction::Home, 0, 0},
    {WXK_LEFT, KeyAction::Pan, -kArrowPan, 0},
    {WXK_NUMPAD_LEFT, KeyAction::Pan, -kArrowPan, 0},
    {WXK_RIGHT, KeyAction::Pan, kArrowPan, 0},
    {WXK_NUMPAD_RIGHT, KeyAction::Pan, kArrowPan, 0},
    {WXK_UP, KeyAction::Pan, 0, kArrowPan},
    {WXK_NUMPAD_UP, KeyAction::Pan, 0, kArrowPan},
    {WXK_DOWN, KeyAction::Pan, 0, -kArrowPan},
    {WXK_NUMPAD_DOWN, KeyAction::Pan, 0, -kArrowPan},
    {WXK_PAGEUP, KeyAction::Pan, 0, kPagePan},
    {WXK_NUMPAD_PAGEUP, KeyAction::Pan, 0, kPagePan},
    {WXK_PAGEDOWN, KeyAction::Pan, 0, -kPagePan},
    {WXK_NUMPAD_PAGEDOWN, KeyAction::Pan, 0, -kPagePan},
    {WXK_ESCAPE, KeyAction::Escape, 0, 0},
};

// The modifier bit a modifier key itself stands for.
int ModifierOfKey(int keyCode)
{
    switch (keyCode)
    {
        case WXK_SHIFT: return wxMOD_SHIFT;
        case WXK_ALT: return wxMOD_ALT;
        case WXK_CONTROL: return wxMOD_CONTROL;
        default: return 0;
    }
}

// Without a chord of its own the plot goes back to what its program chose:
// a key press must not turn the oscilloscope's dragging into zooming.
int FunctionForModifiers(int modifiers, int unmodified)
{
    switch (modifiers & kFunctionModifiers)
    {
        case wxMOD_CONTROL: return wxPLOTCTRL_MOUSE_DESELECT;
        case wxMOD_SHIFT: return wxPLOTCTRL_MOUSE_SELECT;
        case wxMOD_SHIFT | wxMOD_CONTROL | wxMOD_ALT: return wxPLOTCTRL_MOUSE_PAN;
        default: return unmodified;
    }
}
} // namespace

// --- Modifier keys ---------------------------------------------------------------

void wxPlotCtrl::SetAreaMouseFunctionFromKeys(int modifiers)
{
    ApplyAreaMouseFunction(FunctionForModifiers(modifiers, m_unmodifiedMouseFunction), true);
    m_mouseFunctionFromKeys = true;
}

void wxPlotCtrl::ProcessAreaKeyDown(wxKeyEvent& event)
{
    event.Skip();
    // The key going down counts as held whether or not the platform has
    // put it into the state yet.
    SetAreaMouseFunctionFromKeys(event.GetModifiers() | ModifierOfKey(event.GetKeyCode()));
}

void wxPlotCtrl::ProcessAreaKeyUp(wxKeyEvent& event)
{
    event.Skip();
    SetAreaMouseFunctionFromKeys(event.GetModifiers() & ~ModifierOfKey(event.GetKeyCode()));
}

// --- Key table -----------------------------------------------------------------

void wxPlotCtrl::OnChar(wxKeyEvent& event)
{
    ProcessPlotChar(event);
}

void wxPlotCtrl::ProcessAreaCharEvent(wxKeyEvent& event)
{
    ProcessPlotChar(event);
}

void wxPlotCtrl::ProcessAxisCharEvent(wxKeyEvent& event)
{
    ProcessPlotChar(event);
}

void wxPlotCtrl::ProcessPlotChar(wxKeyEvent& event)
{
    const int code = event.GetKeyCode();
    const int modifiers = event.GetModifiers() & kFunctionModifiers;
    const bool control = (modifiers & wxMOD_CONTROL) != 0;
    // Control+Space may come as the control code NUL.
    const bool space = code == WXK_SPACE || (code == 0 && control);

    if (space && (modifiers & (wxMOD_SHIFT | wxMOD_CONTROL)))
    {
        if (!IsCursorValid())
            return;
        const int curve = m_cursorCurveIndex;
        const bool select = !control;
        if (IsDataCurve(curve))
            SelectDataRange(curve, IntRange(m_cursorDataIndex, m_cursorDataIndex), select, true);
        else
        {
            // No x range follows from a point of a function: the pixel
            // column under the cursor is what the user sees.
            const double x = GetCursorPoint().m_x, half = 0.5 / m_zoom.m_x;
            SelectAxisRange(curve, DoubleRange(x - half, x + half), true, select, true);
        }
        return;
    }
    if (space && modifiers == 0)
    {
        const int count = GetCurveCount();
        if (count == 0 || (count == 1 && m_activeIndex == 0))
            return;
        SetActiveCurve((m_activeIndex + 1) % count, true);
        return;
    }
    if (modifiers & (wxMOD_CONTROL | wxMOD_ALT))
    {
        event.Skip();
        return;
    }

    const KeyBinding* binding = NULL;
    for (const KeyBinding& b : kKeyBindings)
        if (b.key == code)
        {
            binding = &b;
            break;
        }
    if (!binding)
    {
        event.Skip();
        return;
    }

    const wxRect2DDouble view = m_viewRect;
    switch (binding->action)
    {
        case KeyAction::CursorLeft:
        case KeyAction::CursorRight:
            StepCursor(binding->action == KeyAction::CursorLeft);
            break;
        case KeyAction::ZoomOutAtMouse:
        case KeyAction::ZoomInAtMouse:
        {
            const double f =
                binding->action == KeyAction::ZoomOutAtMouse ? kKeyZoomOut : kKeyZoomIn;
            const wxPoint2DDouble mouse = GetAreaMousePlotPoint();
            const double w = view.m_width * f, h = view.m_height * f;
            SetViewRect(wxRect2DDouble(mouse.m_x - w / 2, mouse.m_y - h / 2, w, h), true);
            break;
        }
        case KeyAction::HistoryBack:
            StepViewHistory(false, true);
            break;
        case KeyAction::HistoryForward:
            StepViewHistory(true, true);
            break;
        case KeyAction::FitActive:
            FitToCurve(m_activeIndex, true);
            break;
        case KeyAction::ZoomPair:
            SetZoomPair(wxPoint2DDouble(m_zoom.m_x * binding->fx, m_zoom.m_y * binding->fy), true,
                        false);
            break;
        case KeyAction::DeleteActive:
            // The removing event goes first: a page holding a pointer to
            // the curve vetoes it.
            DeleteCurve(m_activeCurve, true);
            break;
        case KeyAction::FitActiveHeight:
            if (const wxPlotData* data = GetDataCurve(m_activeIndex))
            {
                wxRect2DDouble r = data->GetBoundingRect();
                const double mx = r.m_width * kFitMargin, my = r.m_height * kFitMargin;
                SetViewRect(wxRect2DDouble(r.m_x - mx, r.m_y - my, r.m_width + 2 * mx,
                                           r.m_height + 2 * my),
                            true);
            }
            else if (const wxPlotCurve* curve = GetCurve(m_activeIndex))
            {
                double lo = std::numeric_limits<double>::infinity(), hi = -lo;
                for (int px = 0; px < m_areaSize.width; ++px)
                {
                    const double y = curve->GetY(px / m_zoom.m_x + view.m_x);
                    if (std::isfinite(y))
                    {
                        lo = std::min(lo, y);
                        hi = std::max(hi, y);
                    }
                }
                if (!(lo <= hi))
                    break;
                if (lo == hi)
                {
                    lo -= kFlatCurveRoom;
                    hi += kFlatCurveRoom;
                }
                SetViewRect(wxRect2DDouble(view.m_x, lo, view.m_width, hi - lo), true);
            }
            break;
        case KeyAction::Home:
            if (IsCursorValid())
                MakeCursorVisible(true, true);
            else
                SetOrigin(-view.m_width / 2, -view.m_height / 2, true);
            break;
        case KeyAction::Pan:
            SetOrigin(view.m_x + binding->fx * view.m_width, view.m_y + binding->fy * view.m_height,
                      true);
            break;
        case KeyAction::Escape:
        {
            ++m_batchCount;
            int withSelection = -1;
            for (int i = 0; i < GetCurveCount() && withSelection < 0; ++i)
                if (HasSelection(i))
                    withSelection = i;
            if (CurveIndexOk(m_activeIndex) && HasSelection(m_activeIndex))
                ClearSelectedRanges(m_activeIndex, true);
            else if (withSelection >= 0)
                ClearSelectedRanges(withSelection, true);
            else if (IsCursorValid())
                InvalidateCursor(true);
            else if (m_activeCurve)
                SetActiveCurve(-1, true);
            m_batchCount = std::max(0, m_batchCount - 1);
            if (m_batchCount == 0)
            {
                Redraw(wxPLOTCTRL_REDRAW_PLOT | wxPLOTCTRL_REDRAW_XAXIS | wxPLOTCTRL_REDRAW_YAXIS);
                AdjustScrollBars();
            }
            break;
        }
    }
}

void wxPlotCtrl::StepCursor(bool left)
{
    const wxRect2DDouble& view = m_viewRect;
    if (const wxPlotData* data = GetDataCurve(m_activeIndex))
    {
        const wxPlotData* cursorData = GetDataCurve(m_cursorCurveIndex);
        if (!IsCursorValid())
        {
            // Stepping left starts at the right edge of the view and back.
            const double x = left ? view.m_x + view.m_width : view.m_x;
            SetCursorDataIndex(m_activeIndex,
                               data->GetIndexFromX(x, left ? wxPLOTDATA_INDEX_LOWER
                                                           : wxPLOTDATA_INDEX_UPPER),
                               true);
        }
        else if (left && m_cursorDataIndex > 0)
            SetCursorDataIndex(m_cursorCurveIndex, m_cursorDataIndex - 1, true);
        else if (!left && cursorData && m_cursorDataIndex >= 0 &&
                 m_cursorDataIndex < cursorData->GetCount() - 1)
            SetCursorDataIndex(m_cursorCurveIndex, m_cursorDataIndex + 1, true);
    }
    else if (CurveIndexOk(m_activeIndex))
    {
        double x = left ? view.m_x + view.m_width : view.m_x;
        if (IsCursorValid())
        {
            const double cursorX = GetCursorPoint().m_x;
            const int column = PlotXToPixel(cursorX);
            const int step = left ? -1 : 1;
            // A cursor beyond the ends of int has a saturated column, and one
            // more would overflow: the step goes from the cursor itself.
            x = column == INT_MAX || column == INT_MIN ? cursorX + step / m_zoom.m_x
                                                       : (column + step) / m_zoom.m_x + view.m_x;
        }
        SetCursorAtX(m_activeIndex, x, true);
    }
    MakeCursorVisible(false, true);
}
