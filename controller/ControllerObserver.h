#ifndef QUENVAR_CONTROLLEROBSERVER_H
#define QUENVAR_CONTROLLEROBSERVER_H

// Told by the controller when new data has been applied. Observers register
// themselves once for the program's life; the controller does not own them.
class ControllerObserver
{
public:
    // A live-data frame has been applied to the controller's readings.
    virtual void OnControllerData() = 0;
    // A parameter frame has been applied (settings, map, faults, counters).
    virtual void OnParametersLoaded() = 0;
    // Registers this observer with theController, then passes the call on
    // to the observers it contains.
    virtual void OnAttach() = 0;

protected:
    ~ControllerObserver() = default;
};

#endif
