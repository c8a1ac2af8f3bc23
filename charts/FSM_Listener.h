#ifndef QUENVAR_FSM_LISTENER_H
#define QUENVAR_FSM_LISTENER_H

// Told how a calibration run ended. Both calls come after the machine has
// been destroyed, from RunCalibrationStep, never from inside a step.
class FSM_Listener
{
public:
    // The run went through all its states; the learned values are in the
    // controller and its calibration is still on.
    virtual void OnCalibrationFinished() = 0;
    // The run ended without a result (engine stalled, the controller's
    // calibration cleared underneath, a state that refused to go on):
    // the stop is queued where the line allows, the gauge is hidden and
    // status field 1 says why.
    virtual void OnCalibrationStopped() = 0;

protected:
    ~FSM_Listener() = default;
};

#endif
