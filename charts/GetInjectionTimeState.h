#ifndef QUENVAR_GETINJECTIONTIMESTATE_H
#define QUENVAR_GETINJECTIONTIMESTATE_H

#include "GasCalibState.h"

// Samples cylinder 1's petrol injection time on petrol and, on leaving,
// sends the learned window (midpoint and tolerance, 0.1 ms units); a
// midpoint above 25.5 ms, which its byte cannot carry, or a sample below
// 1.0 ms stops the run.
class GetInjectionTimeState : public GasCalibState
{
public:
    using GasCalibState::GasCalibState;

    void Enter() override;
    FSM_State* Tick() override;
    bool Exit() override;
    wxString GetName() const override { return wxString::FromUTF8("喷射时间"); }

    // Smallest and largest sample, whole 0.1 ms units.
    int m_min = 0;
    int m_max = 0;
};

#endif
