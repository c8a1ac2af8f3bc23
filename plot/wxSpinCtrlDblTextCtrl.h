#ifndef QUENVAR_PLOT_WXSPINCTRLDBLTEXTCTRL_H
#define QUENVAR_PLOT_WXSPINCTRLDBLTEXTCTRL_H

#include <wx/textctrl.h>

class wxSpinCtrlDbl;

// The text part of wxSpinCtrlDbl. It hands typed keys and the loss of focus
// to its owner; owner and text field clear each other's pointer when either
// is destroyed first.
class wxSpinCtrlDblTextCtrl : public wxTextCtrl
{
public:
    wxSpinCtrlDblTextCtrl(wxWindow* parent, wxWindowID id, const wxString& value,
                          const wxPoint& pos, const wxSize& size, long style,
                          const wxValidator& validator, const wxString& name);
    ~wxSpinCtrlDblTextCtrl() override;

    wxSpinCtrlDbl* GetOwner() const { return m_owner; }

private:
    friend class wxSpinCtrlDbl;

    void OnChar(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    wxSpinCtrlDbl* m_owner = nullptr;
};

#endif
