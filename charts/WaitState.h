#ifndef QUENVAR_WAITSTATE_H
#define QUENVAR_WAITSTATE_H

#include "GasCalibState.h"

// Runs the engine on one fuel for a fixed number of steps.
class WaitState : public GasCalibState
{
public:
    // duration: steps to stay; gas: the fuel selected on entry.
    WaitState(Controller& controller, CalibrationHost& host, int32_t duration, bool gas);

    void Enter() override;
    FSM_State* Tick() override;
    wxString GetName() const override { return "Waiting"; }

    int32_t m_duration;
    unsigned char m_spinner = 0;
    unsigned char m_gas;
};

#endif
