#include "DiagnosticDialog.h"

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/translation.h>

#include "Controller.h"
#include "MyFrame.h"
#include "PrzegladDialog.h"
#include "ReadyCheck.h"

namespace
{
constexpr long kStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
constexpr int kLastModificationRecord = 1;
constexpr int kPetrolCounter = 0;
constexpr int kGasCounter = 1;
constexpr int kNextServiceCounter = 4;

// Why the dialog has nothing of the car to show; empty when it has.
wxString NoDataReason()
{
    return RefusalText(CheckEcuAccess(EcuPurpose::ServiceInterval));
}
}

wxBEGIN_EVENT_TABLE(DiagnosticDialog, wxDialog)
    EVT_BUTTON(DiagnosticDialog::ID_SERVICE_SETTINGS, DiagnosticDialog::OnServiceSettings)
wxEND_EVENT_TABLE()

DiagnosticDialog::DiagnosticDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                                   const wxSize& size, long)
    : wxDialog(parent, id, title, pos, size, kStyle, "dialog")
{
    m_workBox = new wxStaticBox(this, wxID_ANY, _(L"工作时间 "));
    auto* boxSizer = new wxStaticBoxSizer(m_workBox, wxVERTICAL);
    auto addRow = [&](wxSizer* into, wxWindow* parentOfRow, const wxString& label, const wxString& initial) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(parentOfRow, wxID_ANY, label), wxSizerFlags().CenterVertical());
        row->Add(20, 20, 1);
        auto* text = new wxStaticText(parentOfRow, wxID_ANY, initial);
        row->Add(text, wxSizerFlags().CenterVertical());
        into->Add(row, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 4));
        return text;
    };
    m_petrolTime = addRow(boxSizer, m_workBox, _(L"汽油 "), "00:00:00");
    m_gasTime = addRow(boxSizer, m_workBox, _(L"燃气 "), "00:00:00");
    m_lastModification = addRow(boxSizer, m_workBox, _(L"上一次的修改设置 "), "0-0-0 00:00:00 z 0000-0000");

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(boxSizer, wxSizerFlags().Expand().Border(wxALL, 4));
    m_nextService = addRow(sizer, this, _(L"下次保养"), "0000:00:00");
    m_noDataNote = new wxStaticText(this, wxID_ANY, wxEmptyString);
    m_noDataNote->SetForegroundColour(*wxRED);
    sizer->Add(m_noDataNote, wxSizerFlags().Border(wxALL, 4));
    m_serviceButton = new wxButton(this, ID_SERVICE_SETTINGS, _(L"保养设定"));
    sizer->Add(m_serviceButton, wxSizerFlags().Center().Border(wxALL, 4));
    SetSizer(sizer);

    ShowVehicleData();
    sizer->SetSizeHints(this);
    Layout();
}

wxString DiagnosticDialog::WorkTimeText(uint32_t halfSeconds)
{
    return wxTimeSpan(0, 0, wxLongLong(halfSeconds / 2)).Format("%H:%M:%S");
}

wxString DiagnosticDialog::LastModificationText(const HistoryRecord& record)
{
    const int year = record.date[0] | (record.date[1] << 8);
    return wxString::Format("%02d-%02d-%02d na %04X-%04X", year, record.date[2], record.date[3],
                            static_cast<unsigned>(record.value & 0xFFFF),
                            static_cast<unsigned>(record.value >> 16));
}

wxString DiagnosticDialog::NextServiceText(uint32_t mark)
{
    return mark < 2 ? wxString() : WorkTimeText(mark);
}

void DiagnosticDialog::ShowVehicleData()
{
    SetTitle(_(L"汽车数据资料： "));
    // The initial zeros would read as the car's: say there is nothing.
    const wxString why = NoDataReason();
    m_noDataNote->SetLabel(why.empty() ? wxString() : _(L"没有汽车数据：") + why);
    m_noDataNote->Show(!why.empty());
    if (!why.empty())
        return;
    const Controller* c = theController;
    m_lastModification->SetLabel(LastModificationText(c->m_historyRecords[kLastModificationRecord]));
    m_petrolTime->SetLabel(WorkTimeText(c->GetWorkCounter(kPetrolCounter)));
    m_gasTime->SetLabel(WorkTimeText(c->GetWorkCounter(kGasCounter)));
    ShowNextService();
}

void DiagnosticDialog::ShowNextService()
{
    if (theController)
        m_nextService->SetLabel(NextServiceText(theController->GetWorkCounter(kNextServiceCounter)));
}

void DiagnosticDialog::OnServiceSettings(wxCommandEvent&)
{
    if (!Allows(AskEcuAccess(this, EcuPurpose::ServiceInterval, _(L"保养里程不能设定。"))))
        return;
    {
        PrzegladDialog dialog(nullptr, wxID_ANY, _(L"保养设定 "), wxDefaultPosition, wxDefaultSize, kStyle);
        dialog.ShowModal();
    }
    ShowNextService();
    // A longer time than before must not be cut off.
    GetSizer()->SetSizeHints(this);
    Layout();
}
