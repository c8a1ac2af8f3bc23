#pragma once
// Told by the map model when its points or curve change. An observer must
// leave the model's list (MapModel::RemoveObserver) before it is destroyed.

class MapObserver
{
public:
    // A point was added (or an add was refused as a duplicate).
    virtual void OnPointAdded() = 0;
    // Not raised by the model.
    virtual void OnMapEvent(int event) = 0;
    // Point values or positions changed; whole: the whole curve may have.
    virtual void OnPointsMoved(bool whole) = 0;
    // Not raised by the model.
    virtual void OnMarkersCleared() = 0;
    // The point markers changed; show the model's markers afresh.
    virtual void OnMarkersChanged() = 0;
    // The map must be sent to the controller (always raised with true).
    virtual void SetModified(bool modified) = 0;

protected:
    ~MapObserver() = default;
};
