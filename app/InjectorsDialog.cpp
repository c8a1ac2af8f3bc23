#include "InjectorsDialog.h"

#include <cmath>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "Controller.h"
#include "ControllerReady.h"

wxBEGIN_EVENT_TABLE(InjectorsDialog, wxDialog)
    EVT_SPINCTRL(wxID_ANY, InjectorsDialog::OnInjectorSpin)
    EVT_BUTTON(wxID_OK, InjectorsDialog::OnCloseButton)
    EVT_BUTTON(wxID_CANCEL, InjectorsDialog::OnCloseButton)
    EVT_CLOSE(InjectorsDialog::OnCloseWindow)
wxEND_EVENT_TABLE()

namespace
{
int ShownCorrection(int index)
{
    return static_cast<int>(std::trunc(theController->GetInjectorCorrection(index)));
}

// GTK reads text that is no number as 0 % and sends it; the field goes back
// to the correction it showed instead.
class CorrectionSpin : public wxSpinCtrl
{
public:
    explicit CorrectionSpin(wxWindow* parent)
        : wxSpinCtrl(parent, wxID_ANY, "0", wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, -100, 100, 0,
                     "wxSpinCtrl")
    {
    }

    // The value the field falls back on.
    int m_shown = 0;

#ifdef __WXGTK__
    GTKInputResult GTKInput(double* value) const override
    {
        wxString text = GetTextValue();
        text.Trim(true).Trim(false);
        long typed = 0;
        if (text.ToLong(&typed))
            return GTKInput_Default;
        *value = m_shown;
        return GTKInput_Converted;
    }
#endif
};

CorrectionSpin* AsCorrection(wxSpinCtrl* spin)
{
    return static_cast<CorrectionSpin*>(spin);
}
}

InjectorsDialog::InjectorsDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                                 const wxSize& size, long, const wxString& name)
    : wxDialog(parent, id, title, pos, size, wxDEFAULT_DIALOG_STYLE, name)
{
    auto* main = new wxBoxSizer(wxVERTICAL);
    m_upperLine = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    main->Add(m_upperLine, wxSizerFlags().Expand().Border(wxTOP | wxBOTTOM, 3));
    m_rows = new wxBoxSizer(wxVERTICAL);
    main->Add(m_rows, wxSizerFlags(1).Expand());
    m_lowerLine = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    main->Add(m_lowerLine, wxSizerFlags().Expand().Border(wxTOP | wxBOTTOM, 3));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_okButton = new wxButton(this, wxID_OK, wxEmptyString);
    buttons->AddStretchSpacer();
    buttons->Add(m_okButton, wxSizerFlags().CenterVertical());
    buttons->AddStretchSpacer();
    main->Add(buttons, wxSizerFlags().Expand().Border(wxTOP | wxBOTTOM, 3));
    SetSizer(main);
    RefreshInjectors();
}

void InjectorsDialog::BuildRows(int count)
{
    m_rows->Clear(true);
    m_spins.clear();
    for (int n = 1; n <= count; ++n) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        auto* label = new wxStaticText(this, wxID_ANY, wxString::Format(_("W%d"), n));
        auto* spin = new CorrectionSpin(this);
        row->Add(label, wxSizerFlags(1).Center());
        row->Add(spin, wxSizerFlags(2).CenterVertical().Border(wxRIGHT, 2));
        row->Add(new wxStaticText(this, wxID_ANY, "%"), wxSizerFlags().CenterVertical().Border(wxRIGHT, 4));
        m_rows->Add(row, wxSizerFlags(1).Expand().Border(wxTOP, 3));
        m_spins.push_back(spin);
    }
    GetSizer()->SetSizeHints(this);
}

void InjectorsDialog::RefreshInjectors()
{
    SetTitle(_(L"燃气喷嘴设定 "));
    m_okButton->SetDefault();
    if (!theController)
        return;
    // The cylinder code may have changed since the rows were built.
    const int count = theController->GetCylinderCount();
    if (count != GetRowCount())
        BuildRows(count);
    for (int i = 0; i < count; ++i)
        ShowCorrection(i);
}

void InjectorsDialog::ShowCorrection(int index)
{
    const int value = ShownCorrection(index);
    AsCorrection(m_spins[index])->m_shown = value;
    if (m_spins[index]->GetValue() != value)
        m_spins[index]->SetValue(value);
}

void InjectorsDialog::OnInjectorSpin(wxSpinEvent& event)
{
    for (int i = 0; i < GetRowCount(); ++i) {
        if (m_spins[i] != event.GetEventObject())
            continue;
        // The other cylinders go out as the ECU holds them, so they must
        // have been read since the link came up.
        if (MayUseEcu(EcuPurpose::EditSettings)) {
            theController->SetInjectorCorrection(i, event.GetPosition());
            AsCorrection(m_spins[i])->m_shown = ShownCorrection(i);
        } else if (theController) {
            ShowCorrection(i);
        }
        return;
    }
}

void InjectorsDialog::OnCloseButton(wxCommandEvent&)
{
    Close();
}

void InjectorsDialog::OnCloseWindow(wxCloseEvent&)
{
    // Closed is gone: the settings page builds a fresh one next time.
    Hide();
    Destroy();
}
