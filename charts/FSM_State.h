#ifndef QUENVAR_FSM_STATE_H
#define QUENVAR_FSM_STATE_H

#include <wx/string.h>

// One state of the calibration machine. The machine owns its states and
// destroys them through this interface.
class FSM_State
{
public:
    virtual ~FSM_State() = default;

    // Runs when the state becomes the current one.
    virtual void Enter() = 0;
    // One step (one live-data frame): the next state, this to stay, or null
    // at the end of the chain.
    virtual FSM_State* Tick() = 0;
    // Runs when Tick returned another state or null; false aborts the run.
    virtual bool Exit() = 0;
    // The state's name, for diagnostics.
    virtual wxString GetName() const = 0;
};

#endif
