#ifndef QUENVAR_GUZHANGMA_H
#define QUENVAR_GUZHANGMA_H

#include <wx/panel.h>

#include "AnswerWatch.h"
#include "ControllerObserver.h"

class wxButton;
class wxCheckBox;
class wxListCtrl;
class wxStaticBox;

// The fault page "故障": the current faults of every live frame, the faults
// stored in the ECU from every parameter frame, and the button that erases
// the stored ones, telling whether the ECU did.
class GuZhangMa : public wxPanel, public ControllerObserver
{
public:
    enum
    {
        ID_ERASE_FAULTS = 8211,
        ID_SIGNAL_CHECK = 8212
    };

    GuZhangMa(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style);
    // Leaves the controller's observer list.
    ~GuZhangMa() override;

    // --- ControllerObserver ---
    // Shows the current faults; only a changed list is rebuilt.
    void OnControllerData() override;
    // Shows the stored faults (no column when there are none) and judges a
    // waiting erase by them.
    void OnParametersLoaded() override;
    // Registers the page with theController.
    void OnAttach() override;

    // Erase button: sends the erase and reads the stored faults back.
    void OnEraseFaults(wxCommandEvent& event);

    wxStaticBox* m_currentBox = nullptr;
    wxStaticBox* m_warningBox = nullptr;
    wxStaticBox* m_storedBox = nullptr;
    wxListCtrl* m_currentList = nullptr;
    wxListCtrl* m_warningList = nullptr;
    wxListCtrl* m_storedList = nullptr;
    wxButton* m_eraseButton = nullptr;
    wxCheckBox* m_signalCheck = nullptr;

private:
    // The stored-fault list as the controller holds it.
    void ShowStoredFaults();

    AnswerWatch m_eraseWatch;
    bool m_eraseAwaited = false;

    wxDECLARE_EVENT_TABLE();
};

#endif
