#ifndef QUENVAR_WAITREDUCTORTEMP_H
#define QUENVAR_WAITREDUCTORTEMP_H

#include "GasCalibState.h"

// Waits on petrol until the reducer has been at 50 degrees C or more for ten
// steps in a row; no step limit.
class WaitReductorTemp : public GasCalibState
{
public:
    using GasCalibState::GasCalibState;

    void Enter() override;
    FSM_State* Tick() override;
    wxString GetName() const override { return "Waiting for reductor temp"; }
};

#endif
