#include "SerialPortDialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/sizer.h>

#include "Controller.h"
#include "SerialPortList.h"

wxBEGIN_EVENT_TABLE(SerialPortDialog, wxDialog)
    EVT_BUTTON(SerialPortDialog::ID_CONNECT, SerialPortDialog::OnConnect)
wxEND_EVENT_TABLE()

SerialPortDialog::SerialPortDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                                   const wxPoint& pos, const wxSize& size, long style)
    : wxDialog(parent, id, title, pos, size, style, "dialog")
{
    m_portList = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, 0,
                              wxDefaultValidator, "choice");
    m_connectButton = new wxButton(this, ID_CONNECT, wxGetTranslation(L"PC通信连接"),
                                   wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator, "button");

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_portList, wxSizerFlags().CentreVertical().Border(wxALL, FromDIP(8)));
    row->Add(m_connectButton,
             wxSizerFlags().CentreVertical().Border(wxTOP | wxBOTTOM | wxRIGHT, FromDIP(8)));
    SetSizer(row);
    Refit();
}

void SerialPortDialog::FillPortList(int preselected)
{
    FillPortList(preselected, SerialPortList());
}

void SerialPortDialog::FillPortList(int preselected, const SerialPortList& ports)
{
    FillPortList(preselected, ports.Scan());
}

void SerialPortDialog::FillPortList(int preselected, const std::vector<std::string>& devices)
{
    m_portList->Clear();
    for (const std::string& device : devices)
        m_portList->Append(wxString(device.c_str(), *wxConvFileName));
    if (!devices.empty()) {
        m_portList->SetSelection(0);
        // On Linux the listed name is the device path the serial layer opens.
        if (theController)
            theController->m_portNames = devices;
    }
    if (preselected != -1) {
        if (preselected >= 0 && preselected < static_cast<int>(m_portList->GetCount()))
            m_portList->SetSelection(preselected);
        else
            m_portList->SetSelection(wxNOT_FOUND);
    }
    Refit();
}

void SerialPortDialog::SetConnectLabel(const wxString& label)
{
    m_connectButton->SetLabel(label);
    Refit();
}

void SerialPortDialog::Refit()
{
    // At least as wide as /dev/ttyUSB10 (also while the list is empty), and
    // as wide as the longest path up to a limit; longer ones are cut short.
    m_portList->SetMinSize(wxDefaultSize);
    m_portList->InvalidateBestSize();
    const int width = std::clamp(m_portList->GetBestSize().x, FromDIP(150), FromDIP(480));
    m_portList->SetMinSize(wxSize(width, -1));
    m_connectButton->InvalidateBestSize();
    GetSizer()->SetSizeHints(this);
    Layout();
}

void SerialPortDialog::OnConnect(wxCommandEvent& WXUNUSED(event))
{
    const int row = m_portList->GetSelection();
    // Nothing chosen: there is nothing to connect to, so this is a cancel.
    if (row == wxNOT_FOUND) {
        SetReturnCode(wxID_CANCEL);
        EndDialog(wxID_CANCEL);
        return;
    }
    m_chosenIndex = row;
    m_chosenName = m_portList->GetString(row);
    SetReturnCode(RESULT_CONNECT);
    EndDialog(RESULT_CONNECT);
}
