#ifndef QUENVAR_INJECTORSDIALOG_H
#define QUENVAR_INJECTORSDIALOG_H

#include <vector>

#include <wx/dialog.h>

class wxBoxSizer;
class wxButton;
class wxSpinCtrl;
class wxSpinEvent;
class wxStaticLine;

// "燃气喷嘴设定 ": one spin control per cylinder with the ECU's gas-injector
// correction in percent; every change goes at once to the controller. The
// settings page keeps one, refreshes it on every parameter frame and lets it
// destroy itself when closed.
class InjectorsDialog : public wxDialog
{
public:
    InjectorsDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                    const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                    long style = wxDEFAULT_DIALOG_STYLE, const wxString& name = "dialog");

    // Title, default button and every cylinder's correction from the
    // controller; the rows are built anew when the cylinder count changed.
    void RefreshInjectors();

    int GetRowCount() const { return static_cast<int>(m_spins.size()); }
    // The spin control of cylinder index + 1.
    wxSpinCtrl* GetSpin(int index) const { return m_spins[index]; }

private:
    void BuildRows(int count);
    // Cylinder index + 1's correction as the controller holds it.
    void ShowCorrection(int index);
    void OnInjectorSpin(wxSpinEvent& event);
    void OnCloseButton(wxCommandEvent& event);
    void OnCloseWindow(wxCloseEvent& event);

    std::vector<wxSpinCtrl*> m_spins;
    wxStaticLine* m_upperLine = nullptr;
    wxStaticLine* m_lowerLine = nullptr;
    wxButton* m_okButton = nullptr;
    wxBoxSizer* m_rows = nullptr;

    wxDECLARE_EVENT_TABLE();
};

#endif
