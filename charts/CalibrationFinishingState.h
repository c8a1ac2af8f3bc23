#ifndef QUENVAR_CALIBRATIONFINISHINGSTATE_H
#define QUENVAR_CALIBRATIONFINISHINGSTATE_H

#include "GasCalibState.h"

// The last state: judges the learned multiplier, hides the gauge and ends the
// chain. The listener is told by the machine's owner once the machine is gone.
class CalibrationFinishingState : public GasCalibState
{
public:
    using GasCalibState::GasCalibState;

    void Enter() override {}
    FSM_State* Tick() override;
    wxString GetName() const override { return "Finishing"; }
};

#endif
