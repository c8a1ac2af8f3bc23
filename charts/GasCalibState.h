#ifndef QUENVAR_GASCALIBSTATE_H
#define QUENVAR_GASCALIBSTATE_H

#include <cstdint>

#include <wx/string.h>

#include "FSM_State.h"

class CalibrationHost;
class Controller;

// Base of the five calibration states: the link to the next state, the step
// count, and the controller and host every state works through.
class GasCalibState : public FSM_State
{
public:
    GasCalibState(Controller& controller, CalibrationHost& host);

    // Leaving does nothing and lets the run go on.
    bool Exit() override { return true; }

    // The state that follows in the chain; null for the last.
    FSM_State* m_next = nullptr;
    // Steps taken in this state; entering does not reset it.
    int32_t m_ticks = 0;

protected:
    // The label followed by the spinner frame at position (modulo 4).
    void ShowStatus(const wxString& label, int position);
    // What a refusing Exit returns: the run is stopped and reason said.
    bool Refuse(const wxString& reason);
    // A reading in ms as whole 0.1 ms units: the controller's readings come
    // in 0.1 ms steps, which the doubles hold only approximately.
    static int Tenths(double ms);

    Controller& m_controller;
    CalibrationHost& m_host;
};

#endif
