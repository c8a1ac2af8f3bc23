#include "wxSpinCtrlDblTextCtrl.h"

#include "wxSpinCtrlDbl.h"

wxSpinCtrlDblTextCtrl::wxSpinCtrlDblTextCtrl(wxWindow* parent, wxWindowID id,
                                             const wxString& value, const wxPoint& pos,
                                             const wxSize& size, long style,
                                             const wxValidator& validator,
                                             const wxString& name)
    : wxTextCtrl(parent, id, value, pos, size, style, validator, name)
{
    Bind(wxEVT_CHAR, &wxSpinCtrlDblTextCtrl::OnChar, this);
    Bind(wxEVT_KILL_FOCUS, &wxSpinCtrlDblTextCtrl::OnKillFocus, this);
}

wxSpinCtrlDblTextCtrl::~wxSpinCtrlDblTextCtrl()
{
    // GTK may still report a focus change while the base class tears the
    // widget down; by then nothing of this class may run.
    Unbind(wxEVT_CHAR, &wxSpinCtrlDblTextCtrl::OnChar, this);
    Unbind(wxEVT_KILL_FOCUS, &wxSpinCtrlDblTextCtrl::OnKillFocus, this);
    if (m_owner)
        m_owner->m_textCtrl = nullptr;
    m_owner = nullptr;
}

void wxSpinCtrlDblTextCtrl::OnChar(wxKeyEvent& event)
{
    if (m_owner)
        m_owner->OnChar(event);
    else
        event.Skip();
}

void wxSpinCtrlDblTextCtrl::OnKillFocus(wxFocusEvent& event)
{
    if (m_owner)
        m_owner->SyncSpinToText(true, true);
    event.Skip();
}
