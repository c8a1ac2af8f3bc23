#ifndef QUENVAR_INJECTORCALCDIALOG_H
#define QUENVAR_INJECTORCALCDIALOG_H

#include <wx/dialog.h>

class wxButton;
class wxChoice;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;

// "喷嘴计算": proposes a gas nozzle diameter from the cylinder count, the
// engine power and the injection mode, from a fixed table. Offline: it
// does not touch the controller.
class InjectorCalcDialog : public wxDialog
{
public:
    enum
    {
        ID_COMPUTE = 8674
    };
    // Rows of the mode choice.
    enum
    {
        MODE_SEQUENTIAL,
        MODE_GROUP,
        MODE_SIMULTANEOUS
    };

    InjectorCalcDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                       const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                       long style = wxDEFAULT_DIALOG_STYLE, const wxString& name = "dialog");

    // Shows the nozzle for the chosen cylinders, power and mode.
    virtual void ComputeNozzleSize(wxCommandEvent& event);

    // Nozzle diameter in mm; the power per cylinder is power / cylinders in
    // whole numbers. A mode row of -1 (none chosen) gives 0.
    static double NozzleSize(int cylinders, int power, int modeRow);

    wxChoice* GetCylinderChoice() const { return m_cylinderChoice; }
    wxSpinCtrl* GetPowerSpin() const { return m_powerSpin; }
    wxChoice* GetModeChoice() const { return m_modeChoice; }
    wxTextCtrl* GetResultText() const { return m_resultText; }

private:
    wxChoice* m_cylinderChoice = nullptr;
    wxSpinCtrl* m_powerSpin = nullptr;
    wxStaticText* m_modeLabel = nullptr;
    wxChoice* m_modeChoice = nullptr;
    wxButton* m_computeButton = nullptr;
    wxTextCtrl* m_resultText = nullptr;

    wxDECLARE_EVENT_TABLE();
};

#endif
