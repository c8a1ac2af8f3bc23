#pragma once
// The "调试图表" page: the map plot with its pressure axis, the calibration
// and erase buttons, the lock and four live readings. Sends the map to the
// controller when the user changed it, and runs the automatic calibration:
// builds, steps and stops the machine, asks about cold gas, and seeds the
// map from what the run learned.

#include <array>
#include <memory>
#include <vector>

#include <wx/geometry.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include "ControllerObserver.h"
#include "FSM_Listener.h"
#include "MapModel.h"

class CalibrationFsm;
class CalibrationHost;
class FakeAxis;
class PlotMap;
class ReadingTextCtrl;
class wxButton;
class wxCheckBox;
class wxStaticText;

// The user once answered Yes to the cold-gas question: it is not asked again
// until the program ends.
extern bool gasTemperatureQuestionAnswered;

class MapPane : public wxPanel, public FSM_Listener, public ControllerObserver
{
public:
    enum
    {
        ID_AUTO_CALIBRATE = 9200,
        ID_ERASE_PETROL = 9201,
        ID_ERASE_GAS = 9202,
        ID_MAP_TIMER = 9888,
        ID_MAP_PLOT = 9901
    };
    static constexpr int kMapTimerMs = 50;

    // host: status line, gauge, poll timer and message boxes of the program
    // around the page; it outlives the page.
    MapPane(wxWindow* parent, wxWindowID id, bool calibrationAllowed, CalibrationHost& host);
    // Leaves the controller's observer list (the plot leaves its own).
    ~MapPane() override;

    // Relabels the pressure axis for the engine type and redraws it.
    void UpdatePressureAxis();
    // The map timer's work: sends the map when the user changed it and the
    // controller is ready; a change made while it is not stays pending.
    void SendMapIfChanged();
    // Also the map timer's: a run whose link is lost ends, queueing nothing.
    void EndRunIfLinkLost();
    // Ends a run as the stop button does, reason into the status line;
    // false when none runs.
    bool EndCalibration(const wxString& reason);

    // --- ControllerObserver ---
    // The live readings; steps a running calibration, or sends the stop a
    // run ended on a dead line still owes the car.
    void OnControllerData() override;
    // Remembers the map the ECU reported: a map equal to it is not sent.
    void OnParametersLoaded() override;
    // Registers the page, then its plot: the page hears each frame first.
    void OnAttach() override;

    // --- FSM_Listener ---
    // Seeds the map from the learned point and sends the result; the
    // parameters are read back once "自动标定完成." has been closed.
    void OnCalibrationFinished() override;
    // The machine stopped the run itself (and said why): the page is idle.
    void OnCalibrationStopped() override;

    PlotMap* m_plot = nullptr;
    wxButton* m_calibrateButton = nullptr;
    wxButton* m_erasePetrolButton = nullptr;
    FakeAxis* m_axis = nullptr;
    wxCheckBox* m_lockCheck = nullptr;
    wxButton* m_eraseGasButton = nullptr;
    wxStaticText* m_petrolLegend = nullptr;
    wxStaticText* m_gasLegend = nullptr;
    wxTimer m_mapTimer;
    // The run; null while the page holds none.
    std::unique_ptr<CalibrationFsm> m_fsm;
    // The learned point: injection time in ms and the mean gas time.
    wxPoint2DDouble m_calibratedPoint{0.0, 0.0};
    // Row captions in row order.
    std::vector<wxStaticText*> m_valueLabels;
    ReadingTextCtrl* m_gasTimeText = nullptr;
    ReadingTextCtrl* m_petrolTimeText = nullptr;
    ReadingTextCtrl* m_o2Text1 = nullptr;
    ReadingTextCtrl* m_o2Text2 = nullptr;
    const bool m_calibrationAllowed;

private:
    void LayoutControls();
    // Steps the machine unless the gas-temperature question says no.
    void StepCalibration();
    // Asks whether to go on with gas below 0 °C until the first Yes; No
    // ends the run.
    bool CheckGasTemperature();
    // The button's stop branch: one stop command where the line carries it,
    // the machine gone, reason into the status line.
    void EndRun(const wxString& reason);
    // No run: the button reads label, the plot can be edited again.
    void ShowIdle(const wxString& label);
    // Whether the gate lets a curve be erased in the ECU; else says so,
    // notDone first.
    bool MayErase(const wxString& notDone);
    // After a finished run, outside the live-data notification.
    void ShowCalibrationDone();
    // The ECU keeps map entries 10..255; command 11 carries them as whole
    // percents.
    static constexpr std::size_t kFirstSentEntry = 10;
    using WireMap = std::array<unsigned char, MapModel::kEntries - kFirstSentEntry>;
    static WireMap WireBytes(const double* entries, double toPercent);

    void OnAutoCalibrate(wxCommandEvent& event);
    void OnErasePetrolCurve(wxCommandEvent& event);
    void OnEraseGasCurve(wxCommandEvent& event);
    // The erase buttons are dead during a run, and say so.
    void OnUpdateErase(wxUpdateUIEvent& event);
    void OnLock(wxCommandEvent& event);
    void OnMapTimer(wxTimerEvent& event);

    CalibrationHost& m_host;
    // A run ended while its stop could not reach the car: it goes on the
    // first live frame that can carry it.
    bool m_stopOwed = false;
    // The map the ECU holds: the bytes of its last parameter frame, or what
    // was sent to it since; a map equal to it is not sent.
    bool m_ecuMapKnown = false;
    WireMap m_ecuBytes{};
    std::array<unsigned char, MapModel::kMaxPoints> m_ecuPoints{};

    wxDECLARE_EVENT_TABLE();
};
