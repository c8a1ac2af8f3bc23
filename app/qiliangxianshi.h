#ifndef QUENVAR_QILIANGXIANSHI_H
#define QUENVAR_QILIANGXIANSHI_H

#include <wx/dialog.h>

#include "ControllerObserver.h"

class ReadingTextCtrl;
class wxButton;
class wxChoice;
class wxFocusEvent;
class wxLed;
class wxScrollEvent;
class wxSlider;
class wxStaticText;
class wxTextCtrl;
class wxUpdateUIEvent;

// The gas-level gauge set-up ("气量显示"): the level sensor's type and the
// four thresholds (steps of 0.02 V) at which the ECU lights the level lamps,
// with the live sensor voltage and the lamps themselves. Built once by the
// settings page and shown modally from its button; every change goes to
// Controller::SetGasLevelSettings.
class qiliangxianshi : public wxDialog, public ControllerObserver
{
public:
    enum
    {
        ID_SENSOR_TYPE = 9336,
        ID_T1 = 9337, // T2 .. T4 follow
        ID_T4 = 9340,
        ID_EXIT = 9341,
        ID_X1 = 9342, // X2 .. X4 follow
        ID_X4 = 9345,
        ID_ORDER = 9346
    };
    static constexpr int kThresholds = 4;
    static constexpr int kMaxStep = 255;

    qiliangxianshi(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                   const wxSize& size, long style, const wxString& name);
    // Leaves the controller's observer list.
    ~qiliangxianshi() override;

    // --- ControllerObserver ---
    // Lamps and voltage from the live reading, shown or not.
    void OnControllerData() override;
    // Sensor type and thresholds from the cache; sends nothing.
    void OnParametersLoaded() override;
    void OnAttach() override;

    // Types 0 and 1 rise (thresholds must not fall from T1 to T4); 2 and 3 fall.
    static bool IsRising(int type) { return type == 0 || type == 1; }
    // The step threshold `index` (0 = T1) takes for the proposed step p
    // beside its neighbours' steps (-1: no neighbour): one short of a
    // neighbour it passes, held within 0..255.
    static int OrderedStep(int type, int p, int lower, int upper);
    // Whether the four steps are in order for the type.
    static bool IsInOrder(int type, const int steps[kThresholds]);
    // Sets threshold `index` to p kept in order with its neighbours.
    void KeepThresholdOrder(int type, int p, int index);
    // Puts the four thresholds in the type's order (rising: T1 lowest).
    void PutInOrder(int type);

    wxChoice* GetSensorChoice() const { return m_typeChoice; }
    wxSlider* GetSlider(int index) const { return m_sliders[index]; }
    wxTextCtrl* GetText(int index) const { return m_texts[index]; }
    wxLed* GetLevelLamp(int index) const { return m_lamps[index]; }
    wxLed* GetRefuelLamp() const { return m_refuelLamp; }
    ReadingTextCtrl* GetVoltageLabel() const { return m_voltage; }
    // Says why nothing was sent or what the ECU holds that cannot be shown.
    wxStaticText* GetNotice() const { return m_notice; }
    // Shown while the thresholds are out of order: puts them in order and sends.
    wxButton* GetOrderButton() const { return m_orderButton; }

private:
    void OnSensorType(wxCommandEvent& event);
    void OnThresholdScroll(wxScrollEvent& event);
    void OnThresholdText(wxCommandEvent& event);
    void OnThresholdFocusLost(wxFocusEvent& event);
    void OnPutInOrder(wxCommandEvent& event);
    void OnCloseDialog(wxCommandEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    void OnUpdateType(wxUpdateUIEvent& event);
    void OnUpdateThreshold(wxUpdateUIEvent& event);

    // Takes the typed voltage of threshold `index`, if it was edited.
    void CommitText(int index);
    // The threshold's text from its slider, without a text event.
    void ShowThreshold(int index);
    // Sends type and thresholds when they are in order; else says so.
    void SendThresholds();
    void UpdateNotice();
    int Step(int index) const;
    int TextIndexOf(const wxObject* object) const;

    wxChoice* m_typeChoice = nullptr;
    ReadingTextCtrl* m_voltage = nullptr;
    wxSlider* m_sliders[kThresholds] = {};
    wxLed* m_lamps[kThresholds] = {};
    wxTextCtrl* m_texts[kThresholds] = {};
    wxLed* m_refuelLamp = nullptr;
    wxButton* m_exitButton = nullptr;
    wxStaticText* m_notice = nullptr;
    wxButton* m_orderButton = nullptr;

    // The type the sliders are arranged for; -1 while the ECU's is unknown.
    int m_shownType = -1;
    // The ECU's type when no row shows it, else -1.
    int m_unknownType = -1;
    bool m_outOfOrder = false;
    // The last type change or the order button put the thresholds in order.
    bool m_reordered = false;
    bool m_refused = false;
    // A slider the user is dragging keeps its place through a refresh.
    bool m_dragging[kThresholds] = {};

    wxDECLARE_EVENT_TABLE();
};

#endif
