#include "PrzegladDialog.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/translation.h>

#include "Controller.h"
#include "ReadyCheck.h"
#include "WireScaling.h"

namespace
{
constexpr long kStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
constexpr double kHoursPerSecond = 0.0002777777777777778;
// At the assumed mean speed of 50 km/h.
constexpr double kHoursPerKm = 0.02;
constexpr double kHalfSecondsPerHour = 7200.0;
}

wxBEGIN_EVENT_TABLE(PrzegladDialog, wxDialog)
    EVT_BUTTON(PrzegladDialog::ID_SET, PrzegladDialog::OnSet)
    EVT_CHAR_HOOK(PrzegladDialog::OnCharHook)
    EVT_TEXT_ENTER(wxID_ANY, PrzegladDialog::OnIntervalText)
    EVT_COMBOBOX(wxID_ANY, PrzegladDialog::OnIntervalChoice)
wxEND_EVENT_TABLE()

PrzegladDialog::PrzegladDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                               const wxSize& size, long)
    : wxDialog(parent, id, title, pos, size, kStyle, "dialog")
{
    auto* label = new wxStaticText(this, wxID_ANY, _(L"下次保养:"));
    const wxString rows[] = {_(L"失效 "), "1000", "2000", "5000", "10000", "20000", "50000"};
    m_interval = new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                WXSIZEOF(rows), rows, wxCB_DROPDOWN | wxTE_PROCESS_ENTER,
                                wxDefaultValidator, "comboBox");
    m_interval->SetSelection(0);
    auto* unit = new wxStaticText(this, wxID_ANY, _(L"Km"));
    m_setButton = new wxButton(this, ID_SET, L"设定 ", wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator, "button");
    auto* warning = new wxStaticText(this, wxID_ANY, _(L"警告：计算得到平均速度不得超过50km/h."));

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(label, wxSizerFlags().CenterVertical().Border(wxLEFT, 3));
    row->Add(80, 20, 1);
    row->Add(m_interval, wxSizerFlags().CenterVertical());
    row->Add(unit, wxSizerFlags().CenterVertical().Border(wxLEFT, 3));
    row->Add(m_setButton, wxSizerFlags().CenterVertical().Border(wxALL, 3));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(row, wxSizerFlags(1).Expand());
    sizer->Add(warning, wxSizerFlags().Center().Border(wxALL, 2));
    SetSizerAndFit(sizer);
    Layout();
}

namespace
{
// A Chinese input method types full-width digits and blanks.
constexpr wxUniChar::value_type kFullWidthZero = 0xFF10;
constexpr wxUniChar::value_type kIdeographicSpace = 0x3000;

int DigitValue(wxUniChar c)
{
    const wxUniChar::value_type v = c.GetValue();
    if (v >= '0' && v <= '9')
        return static_cast<int>(v - '0');
    if (v >= kFullWidthZero && v <= kFullWidthZero + 9)
        return static_cast<int>(v - kFullWidthZero);
    return -1;
}
}

bool PrzegladDialog::ParseKm(const wxString& text, unsigned long& km)
{
    km = 0;
    auto it = text.begin();
    while (it != text.end() && (*it == ' ' || *it == '\t' || *it == kIdeographicSpace))
        ++it;
    for (; it != text.end() && DigitValue(*it) >= 0; ++it) {
        km = km * 10 + static_cast<unsigned long>(DigitValue(*it));
        // Checked digit by digit, so twenty digits cannot wrap around.
        if (km > kMaxKm)
            return false;
    }
    return true;
}

bool PrzegladDialog::ServiceHours(uint32_t totalHalfSeconds, unsigned long km, double& hours)
{
    hours = 0.0;
    if (km == 0)
        return true;
    hours = (totalHalfSeconds / 2) * kHoursPerSecond + static_cast<double>(km) * kHoursPerKm;
    // The controller would clamp a larger mark without a word.
    return TruncScaled(hours, kHalfSecondsPerHour) <= 4294967295.0;
}

bool PrzegladDialog::ShowParsedKm(unsigned long& km)
{
    if (!ParseKm(m_interval->GetValue(), km)) {
        ShowNotDone(this, _(L"保养里程未设定。"),
                    wxString::Format(_(L"保养里程应在 0 到 %lu km 之间。"), kMaxKm));
        return false;
    }
    m_interval->SetValue(wxString::Format("%lu", km));
    return true;
}

void PrzegladDialog::OnSet(wxCommandEvent&)
{
    unsigned long km = 0;
    if (!ShowParsedKm(km))
        return;
    const wxString notSet = _(L"保养里程未设定。");
    // Without a parameter frame since the last reset the counters are not
    // the ECU's, and the controller would send nothing.
    if (!Allows(AskEcuAccess(this, EcuPurpose::ServiceInterval, notSet)))
        return;
    double hours = 0.0;
    if (!ServiceHours(theController->GetWorkCounter(3), km, hours)) {
        ShowNotDone(this, notSet, _(L"发动机总工作时间加上这个里程超出了计数范围。"));
        return;
    }
    theController->SetServiceInterval(hours);
    EndDialog(wxID_OK);
}

void PrzegladDialog::OnCharHook(wxKeyEvent& event)
{
    // With no Cancel button the toolkit would take Escape to "设定 ".
    if (event.GetKeyCode() == WXK_ESCAPE && event.GetModifiers() == wxMOD_NONE) {
        Close();
        return;
    }
    event.Skip();
}

void PrzegladDialog::OnIntervalText(wxCommandEvent&)
{
    unsigned long km = 0;
    ShowParsedKm(km);
}

void PrzegladDialog::OnIntervalChoice(wxCommandEvent&)
{
    unsigned long km = 0;
    ParseKm(m_interval->GetValue(), km);
}
