#ifndef QUENVAR_GETMULTIPLIERSTATE_H
#define QUENVAR_GETMULTIPLIERSTATE_H

#include "GasCalibState.h"

// Runs the given cylinders on gas while the controller adjusts its
// multiplier, until cylinder 1's petrol time has stayed in the learned window
// for 100 steps; then takes over what it learned. After 900 steps without
// that the run is stopped: nothing was learned.
class GetMultiplierState : public GasCalibState
{
public:
    // cylinderMask: bit i = cylinder i+1 on gas; 0 = all cylinders.
    GetMultiplierState(Controller& controller, CalibrationHost& host, unsigned char cylinderMask);

    void Enter() override;
    FSM_State* Tick() override;
    bool Exit() override;
    wxString GetName() const override { return "Multiplier"; }

    int32_t m_stableTicks = 0;
    unsigned char m_cylinderMask;
    // Sum of the gas injection times, ms; after leaving, their mean.
    double m_sum = 0.0;
    // Window centre and half-width, 0.1 ms units.
    double m_target;
    double m_tolerance;
    unsigned char m_spinner = 0;
};

#endif
