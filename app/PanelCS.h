#ifndef QUENVAR_PANELCS_H
#define QUENVAR_PANELCS_H

#include <wx/panel.h>

#include "ControllerObserver.h"

class InjectorsDialog;
class qiliangxianshi;
class wxButton;
class wxCheckBox;
class wxFocusEvent;
class wxChoice;
class wxRadioButton;
class wxSpinCtrlDbl;
class wxSpinEvent;
class wxStaticBox;
class wxStaticText;
class wxUpdateUIEvent;

// The "参数" page: vehicle settings, the switch-over conditions and the
// sensor models as the ECU holds them. Every edit goes at once to one
// controller setter; every parameter frame reloads every control. Owns the
// gas-level dialog and the injector-correction dialog.
class PanelCS : public wxPanel, public ControllerObserver
{
public:
    enum
    {
        ID_CYLINDERS = 4560,
        ID_IGNITION_COILS = 4561,
        ID_RPM_SIGNAL = 4562,
        ID_ENGINE_TYPE = 4563,
        ID_SWITCH_TEMPERATURE = 4566,
        ID_SWITCH_RPM = 4567,
        ID_SWITCH_TIME = 4568,
        ID_CYLINDER_SWITCH_DELAY = 4569,
        ID_MIN_GAS_TEMPERATURE = 4570,
        ID_MIN_GAS_RPM = 4571,
        ID_MAX_GAS_RPM = 4572,
        ID_GAS_FAULT_TIME = 4573,
        ID_GAS_SWITCH_TIME = 4574,
        ID_GAS_PRESSURE_SENSOR = 4575,
        ID_MANIFOLD_SENSOR = 4576,
        ID_REDUCER_TEMP_SENSOR = 4577,
        ID_GAS_TEMP_SENSOR = 4578,
        ID_FUEL_LPG = 4579,
        ID_FUEL_CNG = 4580,
        ID_INJECTOR_TYPE = 4581,
        ID_GAS_LEVEL_BUTTON = 4582,
        ID_INJECTORS_BUTTON = 4583,
        ID_WORK_PRESSURE = 4584,
        ID_MIN_PRESSURE = 4585
    };

    // The spin controls, in the order of their boxes.
    enum SpinIndex
    {
        SPIN_MIN_GAS_TEMPERATURE,
        SPIN_MIN_GAS_RPM,
        SPIN_MAX_GAS_RPM,
        SPIN_GAS_FAULT_TIME,
        SPIN_SWITCH_TEMPERATURE,
        SPIN_SWITCH_RPM,
        SPIN_SWITCH_TIME,
        SPIN_CYLINDER_SWITCH_DELAY,
        SPIN_WORK_PRESSURE,
        SPIN_MIN_PRESSURE,
        SPIN_COUNT
    };

    // The choices, vehicle box first, sensor box last.
    enum ChoiceIndex
    {
        CHOICE_CYLINDERS,
        CHOICE_ENGINE_TYPE,
        CHOICE_IGNITION_COILS,
        CHOICE_RPM_SIGNAL,
        CHOICE_INJECTOR_TYPE,
        CHOICE_GAS_PRESSURE_SENSOR,
        CHOICE_MANIFOLD_SENSOR,
        CHOICE_REDUCER_TEMP_SENSOR,
        CHOICE_GAS_TEMP_SENSOR,
        CHOICE_COUNT
    };

    PanelCS(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
            const wxSize& size = wxDefaultSize, long style = wxTAB_TRAVERSAL);
    ~PanelCS() override;

    // --- ControllerObserver ---
    // Live data changes nothing here (the gate follows in idle time).
    void OnControllerData() override {}
    // Reloads every control from the controller's cache; sends nothing.
    void OnParametersLoaded() override;
    // Registers the page, then its gas-level dialog.
    void OnAttach() override;

    // Controls, for the main window and the tests.
    wxSpinCtrlDbl* GetSpin(SpinIndex index) const { return m_spins[index]; }
    wxChoice* GetChoice(ChoiceIndex index) const { return m_choices[index]; }
    wxStaticText* GetSpinLabel(SpinIndex index) const { return m_spinLabels[index]; }
    wxStaticText* GetChoiceLabel(ChoiceIndex index) const { return m_choiceLabels[index]; }
    wxCheckBox* GetGasSwitchTimeCheck() const { return m_gasSwitchTimeCheck; }
    wxRadioButton* GetLpgRadio() const { return m_lpgRadio; }
    wxRadioButton* GetCngRadio() const { return m_cngRadio; }
    wxButton* GetGasLevelButton() const { return m_gasLevelButton; }
    wxButton* GetInjectorsButton() const { return m_injectorsButton; }
    // Lists the ECU values the controls cannot show, as many lines as fit
    // and how many more; empty when none. Its tooltip lists them all.
    wxStaticText* GetNotice() const { return m_notice; }
    const wxString& GetNoticeText() const { return m_noticeText; }
    qiliangxianshi* GetGasLevelDialog() const { return m_gasLevelDialog; }
    // The open injector-correction dialog, or null.
    InjectorsDialog* GetInjectorsDialog() const { return m_injectorsDialog; }

protected:
    // Redraws the map page's pressure axis through the main window, when
    // the page sits in one.
    virtual void UpdatePressureAxis();

private:
    void CreateVehicleBox(wxSizer* column);
    void CreateSwitchOverBox(wxSizer* column);
    void CreateSensorBox(wxSizer* column);
    wxChoice* AddChoice(ChoiceIndex index, wxWindow* parent, wxSizer* grid);
    void AddSpin(SpinIndex index, wxWindow* parent, wxSizer* grid);

    // Shows the cache's value of one control, held to what the control can
    // show and marked when the ECU's value lies outside it.
    void RefreshChoice(ChoiceIndex index);
    void RefreshSpin(SpinIndex index);
    // Takes the spin's value to the wire's step, shows it and sends it when
    // it differs from the cache.
    void CommitSpin(SpinIndex index);
    // Marks (raw non-empty) or unmarks a control whose ECU value it cannot show.
    void SetMark(wxWindow* control, wxStaticText* label, wxString& slot, const wxString& raw);
    void UpdateNotice();
    // The notice's lines that fit its height.
    void ShowNotice();
    // The pressure fields green on black while the page is editable, else
    // as every other greyed field.
    void ShowPressuresLive(bool live);
    int SpinIndexOf(int id) const;
    int SpinIndexOfText(const wxObject* text) const;
    int ChoiceIndexOf(int id) const;

    void OnChoice(wxCommandEvent& event);
    void OnSpinUpdated(wxSpinEvent& event);
    void OnSpinEnter(wxCommandEvent& event);
    void OnSpinChar(wxKeyEvent& event);
    void OnSpinFocusLost(wxFocusEvent& event);
    void OnGasSwitchTime(wxCommandEvent& event);
    void OnFuelType(wxCommandEvent& event);
    void OnGasLevel(wxCommandEvent& event);
    void OnInjectors(wxCommandEvent& event);
    void OnUpdateEditable(wxUpdateUIEvent& event);
    void OnUpdateInjectors(wxUpdateUIEvent& event);

    wxStaticBox* m_vehicleBox = nullptr;
    wxStaticBox* m_switchOverBox = nullptr;
    wxStaticBox* m_toPetrolBox = nullptr;
    wxStaticBox* m_toGasBox = nullptr;
    wxStaticBox* m_pressureBox = nullptr;
    wxStaticBox* m_fuelTypeBox = nullptr;
    wxStaticBox* m_sensorBox = nullptr;
    wxChoice* m_choices[CHOICE_COUNT] = {};
    wxStaticText* m_choiceLabels[CHOICE_COUNT] = {};
    wxSpinCtrlDbl* m_spins[SPIN_COUNT] = {};
    wxStaticText* m_spinLabels[SPIN_COUNT] = {};
    wxCheckBox* m_gasSwitchTimeCheck = nullptr;
    wxRadioButton* m_lpgRadio = nullptr;
    wxRadioButton* m_cngRadio = nullptr;
    wxButton* m_gasLevelButton = nullptr;
    wxButton* m_injectorsButton = nullptr;
    wxStaticText* m_notice = nullptr;
    // Every line of the notice; m_notice shows what fits.
    wxString m_noticeText;
    qiliangxianshi* m_gasLevelDialog = nullptr;
    InjectorsDialog* m_injectorsDialog = nullptr;

    // The ECU's value of each control that cannot show it; empty when shown.
    wxString m_choiceMarks[CHOICE_COUNT];
    wxString m_spinMarks[SPIN_COUNT];
    // Height of one row of controls, the height of a text field.
    int m_rowHeight = 0;
    bool m_pressuresLive = false;

    wxDECLARE_EVENT_TABLE();
};

#endif
