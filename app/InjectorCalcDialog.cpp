#include "InjectorCalcDialog.h"

#include <iterator>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

wxBEGIN_EVENT_TABLE(InjectorCalcDialog, wxDialog)
    EVT_BUTTON(InjectorCalcDialog::ID_COMPUTE, InjectorCalcDialog::ComputeNozzleSize)
wxEND_EVENT_TABLE()

namespace
{
// Upper bounds (exclusive) of the power-per-cylinder rows.
const int kPowerBounds[] = {18, 25, 33, 41, 49, 57, 65};

// Per row: simultaneous, group, sequential, then zeros for "no mode".
const double kNozzles[std::size(kPowerBounds) + 1][6] = {
    {1.8, 1.9, 2.0, 0, 0, 0}, {2.1, 2.2, 2.3, 0, 0, 0}, {2.4, 2.5, 2.6, 0, 0, 0},
    {2.7, 2.8, 2.9, 0, 0, 0}, {3.0, 3.1, 3.2, 0, 0, 0}, {3.3, 3.4, 3.5, 0, 0, 0},
    {3.6, 3.7, 3.8, 0, 0, 0}, {3.9, 4.0, 4.1, 0, 0, 0},
};

constexpr int kFewestCylinders = 3;
}

InjectorCalcDialog::InjectorCalcDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                                       const wxPoint& pos, const wxSize& size, long style,
                                       const wxString& name)
    : wxDialog(parent, id, title, pos, size, style, name)
{
    auto* box = new wxStaticBox(this, wxID_ANY, wxEmptyString);
    auto* boxSizer = new wxStaticBoxSizer(box, wxVERTICAL);

    wxArrayString cylinders;
    for (const char* text : {"3 cyl.", "4 cyl.", "5 cyl.", "6 cyl.", "7 cyl.", "8 cyl."})
        cylinders.Add(wxGetTranslation(text));
    m_cylinderChoice = new wxChoice(box, wxID_ANY, wxDefaultPosition, wxDefaultSize, cylinders, 0,
                                    wxDefaultValidator, "choice");
    m_cylinderChoice->SetSelection(0);
    m_powerSpin = new wxSpinCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, 20, 320, 100, "wxSpinCtrl");
    m_modeLabel = new wxStaticText(box, wxID_ANY, _(L"增压方式"));
    wxArrayString modes;
    for (const wchar_t* text : {L"顺序喷射 ", L"分组喷射 ", L"同时喷射 "})
        modes.Add(wxGetTranslation(text));
    m_modeChoice = new wxChoice(box, wxID_ANY, wxDefaultPosition, wxDefaultSize, modes);
    m_modeChoice->SetSelection(MODE_SEQUENTIAL);
    m_computeButton = new wxButton(box, ID_COMPUTE, _(L"计算"), wxDefaultPosition, wxDefaultSize, 0,
                                   wxDefaultValidator, "button");
    m_resultText = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                  wxTE_READONLY, wxDefaultValidator, "text");
    m_resultText->SetMinSize(wxSize(40, -1));

    auto addRow = [box, boxSizer](const wxString& text, wxWindow* control) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(box, wxID_ANY, text), wxSizerFlags().CenterVertical());
        row->AddStretchSpacer();
        row->Add(control, wxSizerFlags().CenterVertical());
        boxSizer->Add(row, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 4));
    };
    addRow(_(L"气缸数"), m_cylinderChoice);
    addRow(_(L"发动机功率"), m_powerSpin);
    auto* modeRow = new wxBoxSizer(wxHORIZONTAL);
    modeRow->Add(m_modeLabel, wxSizerFlags().CenterVertical());
    modeRow->AddStretchSpacer();
    modeRow->Add(m_modeChoice, wxSizerFlags().CenterVertical());
    boxSizer->Add(modeRow, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 4));

    auto* resultRow = new wxBoxSizer(wxHORIZONTAL);
    resultRow->AddSpacer(20);
    resultRow->Add(m_resultText, wxSizerFlags().CenterVertical());
    resultRow->Add(new wxStaticText(box, wxID_ANY, "mm"), wxSizerFlags().CenterVertical().Border(wxLEFT, 6));
    resultRow->AddStretchSpacer();
    resultRow->Add(m_computeButton, wxSizerFlags().CenterVertical());
    boxSizer->Add(resultRow, wxSizerFlags(1).Expand().Border(wxALL, 3));

    boxSizer->Add(new wxStaticLine(box, wxID_ANY), wxSizerFlags().Expand().Border(wxALL, 3));
    boxSizer->AddSpacer(10);
    boxSizer->Add(new wxButton(box, wxID_CANCEL, _(L"关闭")), wxSizerFlags().CenterHorizontal());
    boxSizer->AddSpacer(10);

    SetTitle(_(L"喷嘴计算"));
    SetSizerAndFit(boxSizer);
    const wxSize fitted = GetSize();
    SetSize(fitted.x + 32, fitted.y);
    Layout();
}

double InjectorCalcDialog::NozzleSize(int cylinders, int power, int modeRow)
{
    if (cylinders <= 0)
        return 0.0;
    const int perCylinder = power / cylinders;
    std::size_t row = 0;
    while (row < std::size(kPowerBounds) && perCylinder >= kPowerBounds[row])
        ++row;
    // Mode row m reads entry 2 - m: sequential is the third column, and no
    // mode (-1) the first zero.
    const int entry = 2 - modeRow;
    if (entry < 0 || entry >= 6)
        return 0.0;
    return kNozzles[row][entry];
}

void InjectorCalcDialog::ComputeNozzleSize(wxCommandEvent&)
{
    const int cylinders = m_cylinderChoice->GetSelection() + kFewestCylinders;
    const double nozzle = NozzleSize(cylinders, m_powerSpin->GetValue(), m_modeChoice->GetSelection());
    m_resultText->ChangeValue(wxString::FromCDouble(nozzle, 1));
}
