#ifndef QUENVAR_DIAGNOSTICDIALOG_H
#define QUENVAR_DIAGNOSTICDIALOG_H

#include <cstdint>

#include <wx/dialog.h>

#include "HistoryRecord.h"

class wxButton;
class wxStaticBox;
class wxStaticText;

// Service information: working times on petrol and on gas, the last
// modification of the ECU's settings and the next service, as the ECU
// reported them when the dialog opened; its button sets the interval.
class DiagnosticDialog : public wxDialog
{
public:
    enum
    {
        ID_SERVICE_SETTINGS = 8200
    };

    // Style: caption, system menu and close box, whatever is passed.
    DiagnosticDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                     long style = wxDEFAULT_DIALOG_STYLE);

    // Fills the title and the texts from the controller, or says that there
    // is no data.
    void ShowVehicleData();
    // Button "保养设定": runs the service-interval dialog, then shows the new
    // next service.
    virtual void OnServiceSettings(wxCommandEvent& event);

    // "%H:%M:%S" of a count of half-seconds (hours not limited to 24).
    static wxString WorkTimeText(uint32_t halfSeconds);
    // The date of a record and its value's two halves, low half first.
    static wxString LastModificationText(const HistoryRecord& record);
    // The next-service mark as a time; empty when none is set (below 2).
    static wxString NextServiceText(uint32_t mark);

    wxStaticBox* m_workBox = nullptr;
    wxStaticText* m_petrolTime = nullptr;
    wxStaticText* m_gasTime = nullptr;
    wxStaticText* m_lastModification = nullptr;
    wxStaticText* m_nextService = nullptr;
    wxStaticText* m_noDataNote = nullptr;
    wxButton* m_serviceButton = nullptr;

private:
    void ShowNextService();

    wxDECLARE_EVENT_TABLE();
};

#endif
