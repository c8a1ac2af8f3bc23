#ifndef QUENVAR_CALIBRATIONFSM_H
#define QUENVAR_CALIBRATIONFSM_H

#include <cstdint>
#include <memory>
#include <vector>

#include <wx/string.h>

class CalibrationHost;
class Controller;
class FSM_Listener;
class FSM_State;

// The automatic calibration: a chain of states walked once, one step per
// live-data frame. Owns its states. Step never tells the listener and never
// causes the machine's destruction; RunCalibrationStep does both afterwards.
class CalibrationFsm
{
public:
    // How the run stands.
    enum class Outcome
    {
        None,      // built or running
        Finished,  // went through the whole chain
        Stopped,   // stopped (engine stalled, calibration cleared, or Stop)
        Aborted,   // a state's exit refused (cold gas, no settling, no window)
    };

    CalibrationFsm(Controller& controller, CalibrationHost& host, FSM_Listener* listener);
    ~CalibrationFsm();
    CalibrationFsm(const CalibrationFsm&) = delete;
    CalibrationFsm& operator=(const CalibrationFsm&) = delete;

    // Makes the first state current and enters it.
    void Restart();
    // One step: 0 while the run goes on, -1 once it is over or when the
    // machine does not run.
    int32_t Step();
    // Not running any more; nothing is sent.
    void Clear() { m_current = nullptr; }
    // True while a state is current.
    bool IsRunning() const { return m_current != nullptr; }
    // Ends the run as the page's stop branch does (StopCalibrationRun).
    void Stop(const wxString& reason);

    Outcome GetOutcome() const { return m_outcome; }
    // Index of the current state in the chain; -1 when not running.
    int GetCurrentIndex() const;
    FSM_Listener* GetListener() const { return m_listener; }

    // Appends a state to the chain (the builder's job).
    void AddState(std::unique_ptr<FSM_State> state);

    FSM_State* m_current = nullptr;
    FSM_State* m_initial = nullptr;
    // The chain in order; the machine owns it.
    std::vector<std::unique_ptr<FSM_State>> m_states;

private:
    Controller& m_controller;
    CalibrationHost& m_host;
    FSM_Listener* m_listener;
    Outcome m_outcome = Outcome::None;
};

// A new machine with the thirteen-state chain, not running yet. The listener
// (may be null) is told how the run ended by RunCalibrationStep.
std::unique_ptr<CalibrationFsm> BuildGasCalibration(FSM_Listener* listener, Controller& controller,
                                                    CalibrationHost& host);

// The calibration button's start: offline, only hides the gauge; online, the
// idle notice and the gauge, then below 500 rpm "启动引擎！ " with the gauge
// hidden again. Otherwise calibration multiplier 128, a new machine,
// restarted, and the controller's calibration started. Null when no run starts.
std::unique_ptr<CalibrationFsm> StartGasCalibration(FSM_Listener* listener, Controller& controller,
                                                    CalibrationHost& host);

// Steps the machine held in fsm (nothing without one) and returns Step's
// result. When this step ended the run, however, the machine is destroyed
// (fsm becomes null) after Step has returned, and only then is its listener
// told.
int32_t RunCalibrationStep(std::unique_ptr<CalibrationFsm>& fsm);

// Ends the ECU's calibration and says so: command 5 (on a lost link only
// the flag is cleared), the gauge hidden, then reason into status field 1.
void StopCalibrationRun(Controller& controller, CalibrationHost& host, const wxString& reason);

#endif
