#include "wxSpinCtrlDbl.h"

#include "wxSpinArrows.h"
#include "wxSpinCtrlDblTextCtrl.h"

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>
#include <string>

#include <wx/valtext.h>

wxIMPLEMENT_DYNAMIC_CLASS(wxSpinCtrlDbl, wxControl);

namespace
{
// Characters a number may be typed with; a comma is not one of them, in any
// locale.
const char* const NumberChars = " 0123456789+-.eE";

const char* const GeneralFormat = "%lg";

// Whether format converts exactly one double (flags, width, precision, an
// optional 'l') and holds otherwise only literal text and "%%". Anything else
// would make printf read arguments that are not there.
bool IsDoubleFormat(const wxString& format)
{
    int conversions = 0;
    for (auto it = format.begin(); it != format.end(); ++it) {
        if (*it != '%')
            continue;
        if (++it == format.end())
            return false;
        if (*it == '%')
            continue;
        while (it != format.end() && wxString("-+ #0").Find(*it) != wxNOT_FOUND)
            ++it;
        while (it != format.end() && *it >= '0' && *it <= '9')
            ++it;
        if (it != format.end() && *it == '.') {
            ++it;
            while (it != format.end() && *it >= '0' && *it <= '9')
                ++it;
        }
        if (it != format.end() && *it == 'l')
            ++it;
        if (it == format.end() || wxString("fFeEgGaA").Find(*it) == wxNOT_FOUND)
            return false;
        ++conversions;
    }
    return conversions == 1;
}

// printf in the C locale: a German desktop must still show 1.5, not 1,5,
// since the text is read back with the C reader and the validator has no
// comma.
wxString FormatCDouble(const wxString& format, double v)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const wxScopedCharBuffer fmt = format.utf8_str();
    const locale_t previous = cLocale ? uselocale(cLocale) : locale_t(0);
    std::string out(64, '\0');
    int n = std::snprintf(&out[0], out.size(), fmt.data(), v);
    if (n >= static_cast<int>(out.size())) {
        out.assign(static_cast<size_t>(n) + 1, '\0');
        n = std::snprintf(&out[0], out.size(), fmt.data(), v);
    }
    if (cLocale)
        uselocale(previous);
    if (n < 0)
        return wxString();
    out.resize(static_cast<size_t>(n));
    return wxString::FromUTF8(out.data(), out.size());
}

// Reads the whole text as a finite number in the C locale; blanks around it
// are allowed (the validator lets them be typed).
bool ParseCDouble(const wxString& text, double* value)
{
    wxString trimmed(text);
    trimmed.Trim(true).Trim(false);
    double v = 0.0;
    if (trimmed.empty() || !trimmed.ToCDouble(&v) || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}
}

wxSpinCtrlDbl::wxSpinCtrlDbl() = default;

wxSpinCtrlDbl::wxSpinCtrlDbl(wxWindow* parent, wxWindowID id, const wxString& value,
                             const wxPoint& pos, const wxSize& size, long style, double min,
                             double max, double initial, double increment, int digits,
                             const wxString& name)
{
    Create(parent, id, value, pos, size, style, min, max, initial, increment, digits, name);
}

wxSpinCtrlDbl::~wxSpinCtrlDbl()
{
    Unbind(wxEVT_KILL_FOCUS, &wxSpinCtrlDbl::OnKillFocus, this);
    Unbind(wxEVT_SET_FOCUS, &wxSpinCtrlDbl::OnSetFocus, this);
    if (m_textCtrl) {
        m_textCtrl->m_owner = nullptr;
        delete m_textCtrl;
        m_textCtrl = nullptr;
    }
    delete m_spinButton;
    m_spinButton = nullptr;
}

bool wxSpinCtrlDbl::Create(wxWindow* parent, wxWindowID id, const wxString& value,
                           const wxPoint& pos, const wxSize& size, long style, double min,
                           double max, double initial, double increment, int digits,
                           const wxString& name)
{
    if (!wxControl::Create(parent, id, pos, size, style | wxNO_BORDER, wxDefaultValidator, name))
        return false;
    wxControl::SetBackgroundColour(parent->GetBackgroundColour());
    wxControl::SetForegroundColour(parent->GetForegroundColour());

    int width = size.x;
    int height = size.y;
    if (width < 0 || height < 0) {
        const wxSize best = DoGetBestSize();
        if (width < 0)
            width = best.x;
        if (height < 0)
            height = best.y;
    }

    wxTextValidator validator(wxFILTER_INCLUDE_CHAR_LIST);
    validator.SetCharIncludes(NumberChars);

    m_spinButton = new wxSpinArrows(this, GetId(), wxPoint(0, 0), wxSize(-1, height));
    const int spinWidth = std::min(m_spinButton->GetBestSize().x, width);
    m_textCtrl = new wxSpinCtrlDblTextCtrl(this, GetId(), value, wxPoint(0, 0),
                                           wxSize(width - spinWidth, height),
                                           wxTE_PROCESS_ENTER | wxTE_NOHIDESEL, validator,
                                           "text");
    m_textCtrl->m_owner = this;
    // Only the text field takes the focus natively; were the control itself
    // focusable, GTK's Tab would land on it and bounce back into the field.
    SetCanFocus(false);

    SetInitialSize(wxSize(width, height));
    LayoutParts();

    m_min = min;
    m_max = max;
    m_value = m_default_value = initial;
    m_increment = increment;

    if (digits >= -1) {
        m_digits = digits;
        m_textFormat = digits == -1 ? wxString(GeneralFormat)
                                    : wxString::Format("%%.%dlg", digits);
        SetValue(m_value);
    }

    if (!value.empty())
        m_textCtrl->ChangeValue(value);
    else
        m_textCtrl->ChangeValue(FormatValue(m_value));
    m_textCtrl->DiscardEdits();

    Bind(wxEVT_SPIN_UP, &wxSpinCtrlDbl::OnSpinUp, this);
    Bind(wxEVT_SPIN_DOWN, &wxSpinCtrlDbl::OnSpinDown, this);
    Bind(wxEVT_TEXT_ENTER, &wxSpinCtrlDbl::OnTextEnter, this);
    Bind(wxEVT_SET_FOCUS, &wxSpinCtrlDbl::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &wxSpinCtrlDbl::OnKillFocus, this);
    return true;
}

// --- Value ---

wxString wxSpinCtrlDbl::FormatValue(double v) const
{
    // printf rounds exact halves to even (2.5 with one digit reads 2, and a
    // half-increment step would stick there); read them away from zero as a
    // technician would. One ulp changes nothing else at the precisions a
    // field shows.
    if (v != 0.0 && std::isfinite(v))
        v = std::nextafter(v, v > 0.0 ? HUGE_VAL : -HUGE_VAL);
    return FormatCDouble(m_textFormat.empty() ? wxString(GeneralFormat) : m_textFormat, v);
}

wxString wxSpinCtrlDbl::GetText() const
{
    return m_textCtrl ? m_textCtrl->GetValue() : wxString();
}

void wxSpinCtrlDbl::SetValue(double v)
{
    if (!m_textCtrl || !std::isfinite(v) || !InRange(v))
        return;
    const wxString text = FormatValue(v);
    if (v == m_value && text == m_textCtrl->GetValue())
        return;
    m_textCtrl->ChangeValue(text);
    m_textCtrl->DiscardEdits();
    // The value is what the field shows, so rounding by the format sticks.
    double shown = v;
    m_value = ParseCDouble(text, &shown) ? shown : v;
}

void wxSpinCtrlDbl::SetValueString(const wxString& text, bool force)
{
    if (!m_textCtrl)
        return;
    double v = 0.0;
    if (ParseCDouble(text, &v)) {
        SetValue(v);
    } else if (force) {
        m_textCtrl->ChangeValue(text);
        m_textCtrl->DiscardEdits();
    }
}

void wxSpinCtrlDbl::ResetValue()
{
    SetValue(m_default_value);
}

bool wxSpinCtrlDbl::HasRange() const
{
    return m_max >= m_min;
}

bool wxSpinCtrlDbl::InRange(double v) const
{
    return !HasRange() || (m_min <= v && v <= m_max);
}

void wxSpinCtrlDbl::SetRange(double min, double max)
{
    m_min = min;
    m_max = max;
    if (HasRange() && !InRange(m_value))
        SetValue(std::clamp(m_value, m_min, m_max));
}

bool wxSpinCtrlDbl::SetFormat(const wxString& format)
{
    if (!IsDoubleFormat(format) || FormatCDouble(format, 123456.123456).empty())
        return false;
    m_textFormat = format;
    SetValue(m_value);
    return true;
}

void wxSpinCtrlDbl::SyncSpinToText(bool sendEvent, bool force)
{
    if (!m_textCtrl)
        return;
    double v = 0.0;
    if (ParseCDouble(m_textCtrl->GetValue(), &v)) {
        if (HasRange()) {
            if (!force && !InRange(v))
                return;
            v = std::clamp(v, m_min, m_max);
        }
        if (v != m_value) {
            SetValue(v);
            if (sendEvent)
                SendUpdateEvent();
        } else if (force) {
            // Clamped onto the current value (12 typed at the top of 0..10):
            // the field must not go on showing what was typed.
            SetValue(v);
        }
    } else if (force) {
        SetValue(m_value);
    }
}

int wxSpinCtrlDbl::RoundToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(std::lround(v));
}

void wxSpinCtrlDbl::SendUpdateEvent()
{
    wxSpinEvent event(wxEVT_SPINCTRL, GetId());
    event.SetEventObject(this);
    event.SetPosition(RoundToInt(m_value));
    event.SetString(GetText());
    HandleWindowEvent(event);
}

// --- Stepping: keys and arrows ---

double wxSpinCtrlDbl::Stepped(double delta) const
{
    double v = m_value + delta;
    // Steps of 0.1 through zero leave a residue of 1e-17 that would show as
    // such; it is zero.
    if (std::fabs(v) < std::fabs(m_increment) * 1e-9)
        v = 0.0;
    return v;
}

void wxSpinCtrlDbl::OnChar(wxKeyEvent& event)
{
    double factor = 1.0;
    if (event.ShiftDown())
        factor = 2.0;
    if (event.ControlDown())
        factor *= 10.0;
    if (event.AltDown())
        factor *= 100.0;

    double delta = 0.0;
    switch (event.GetKeyCode()) {
    case WXK_UP:
    case WXK_NUMPAD_UP:
        delta = factor * m_increment;
        break;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        delta = -factor * m_increment;
        break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        delta = factor * m_increment * 10.0;
        break;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        delta = -factor * m_increment * 10.0;
        break;
    case WXK_TAB: {
#ifdef wxHAS_NATIVE_TAB_TRAVERSAL
        // GTK moves the focus itself and no panel there listens for
        // navigation events: one sent from here would leave Tab dead.
        event.Skip();
#else
        wxWindow* parent = GetParent();
        if (parent) {
            wxNavigationKeyEvent nav;
            nav.SetEventObject(parent);
            nav.SetDirection(!event.ShiftDown());
            nav.SetWindowChange(event.ControlDown());
            nav.SetCurrentFocus(this);
            parent->GetEventHandler()->ProcessEvent(nav);
        }
#endif
        return;
    }
    case WXK_ESCAPE:
        ResetValue();
        SendUpdateEvent();
        return;
    case WXK_SPACE:
        SetValue(m_value);
        return;
    default:
        event.Skip();
        return;
    }

    if (m_textCtrl && m_textCtrl->IsModified())
        SyncSpinToText(false, true);
    // At a range end SetValue refuses, and the event still reports the value
    // that stayed.
    SetValue(Stepped(delta));
    SendUpdateEvent();
}

void wxSpinCtrlDbl::SpinBy(double delta)
{
    if (m_textCtrl && m_textCtrl->IsModified())
        SyncSpinToText(false, true);
    const double v = Stepped(delta);
    if (InRange(v)) {
        SetValue(v);
        SendUpdateEvent();
    }
}

void wxSpinCtrlDbl::OnSpinUp(wxSpinEvent&)
{
    SpinBy(m_increment);
}

void wxSpinCtrlDbl::OnSpinDown(wxSpinEvent&)
{
    SpinBy(-m_increment);
}

// --- Focus and Enter ---

void wxSpinCtrlDbl::OnTextEnter(wxCommandEvent& event)
{
    SyncSpinToText(true, true);
    event.Skip();
}

void wxSpinCtrlDbl::SetFocus()
{
    if (m_textCtrl)
        m_textCtrl->SetFocus();
    else
        wxControl::SetFocus();
}

void wxSpinCtrlDbl::OnSetFocus(wxFocusEvent& event)
{
    if (m_textCtrl)
        m_textCtrl->SetFocus();
    event.Skip();
}

void wxSpinCtrlDbl::OnKillFocus(wxFocusEvent& event)
{
    SyncSpinToText(true, true);
    event.Skip();
}

// --- Colours, font and size ---

bool wxSpinCtrlDbl::SetBackgroundColour(const wxColour& colour)
{
    const bool changed = wxControl::SetBackgroundColour(colour);
    if (m_textCtrl) {
        m_textCtrl->SetBackgroundColour(colour);
        m_textCtrl->Refresh();
    }
    return changed;
}

bool wxSpinCtrlDbl::SetForegroundColour(const wxColour& colour)
{
    const bool changed = wxControl::SetForegroundColour(colour);
    if (m_textCtrl) {
        m_textCtrl->SetForegroundColour(colour);
        m_textCtrl->Refresh();
    }
    return changed;
}

bool wxSpinCtrlDbl::SetFont(const wxFont& font)
{
    const bool changed = wxControl::SetFont(font);
    if (m_textCtrl)
        m_textCtrl->SetFont(font);
    return changed;
}

wxSize wxSpinCtrlDbl::DoGetBestSize() const
{
    // The size of the toolkit's own integer spin control, measured once.
    static wxSize measured;
    if (measured == wxSize()) {
        auto* probe = new wxSpinCtrl(const_cast<wxSpinCtrlDbl*>(this), wxID_ANY, wxEmptyString,
                                     wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0, 100,
                                     0, "wxSpinCtrl");
        wxSize size = probe->GetBestSize();
        delete probe;
        if (size.x < 20)
            size.x = 95;
        if (size.y < 10)
            size.y = 22;
        measured = size;
    }
    return measured;
}

void wxSpinCtrlDbl::DoSetSize(int x, int y, int width, int height, int sizeFlags)
{
    const wxSize current = GetSize();
    if (width < 0)
        width = current.x;
    if (height < 0)
        height = current.y;
    wxControl::DoSetSize(x, y, width, height, sizeFlags);
    LayoutParts();
}

void wxSpinCtrlDbl::LayoutParts()
{
    const wxSize size = GetSize();
    const int width = size.x;
    const int height = size.y;
    const int spinWidth = std::min(m_spinButton ? m_spinButton->GetBestSize().x : 15, width);
    if (m_textCtrl)
        m_textCtrl->SetSize(0, 0, width - spinWidth, height);
    if (m_spinButton)
        m_spinButton->SetSize(width - spinWidth, 0, spinWidth, height);
}
