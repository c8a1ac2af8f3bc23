#ifndef QUENVAR_TESTS_IDLECAR_H
#define QUENVAR_TESTS_IDLECAR_H

#include <vector>

#include "ParamPayloadBuilder.h"

// A four-cylinder car idling at 800 rpm behind the simulated ECU, as a
// calibration finds it: the reducer still warming, cylinder 1's petrol time
// alternating 2.4 and 2.6 ms, the gas at 20 °C and 1.17 bar. It follows the
// commands a calibration sends: the fuel switch (3), the calibration window
// (25, whose multiplier the controller starts from), the map and its points
// (11, 32) and the learned point (2), which later parameter replies return.
class IdleCar
{
public:
    using Bytes = std::vector<unsigned char>;

    // The multiplier the car's controller settles on when it runs on gas.
    static constexpr unsigned char kOwnMultiplier = 118;

    IdleCar();

    // A request frame the ECU has taken and answers (header to sum).
    void Take(const Bytes& request);
    // The payload of the next live frame; each call is one frame further.
    Bytes NextLivePayload();
    // The parameter payload: four cylinders, the map and points last written.
    Bytes ParameterPayload() const;
    // The parameters the car's ECU holds; a test may give it a map of its own.
    ParamPayloadBuilder& Parameters() { return m_parameters; }

    // From live frame number frame on (0 = the first) the engine stands
    // still: speed 0, no injection, petrol.
    void StallFrom(int frame) { m_stallFrom = frame; }
    // Live frames produced so far.
    int LiveFrames() const { return m_frame; }
    // From now on, while on gas, cylinder 1's petrol time swings 0.5 ms to
    // either side every frame: it never settles in a calibration window.
    void SwingOnGas() { m_swingOnGas = true; }
    // From now on the petrol times read tenths x 0.1 ms on every frame (0:
    // an unconnected petrol-injector wire); negative = the car's own.
    void PetrolTime(int tenths) { m_fixedPetrol = tenths; }

    // Reducer temperature of live frame number frame, °C: warming from the
    // 40s, with one dip below 50 on the seventh frame after it crossed.
    static int ReducerTemperature(int frame);

private:
    // Cylinder 1's petrol time of this frame in 0.1 ms units.
    int PetrolTenths() const;
    // One frame of the controller's learning on gas.
    void AdjustOnGas();

    ParamPayloadBuilder m_parameters;
    int m_frame = 0;
    int m_stallFrom = -1;
    bool m_swingOnGas = false;
    int m_fixedPetrol = -1;
    bool m_onGas = false;
    unsigned char m_gasMask = 0;
    unsigned char m_multiplier = kOwnMultiplier;
    // How far the petrol ECU has trimmed its time against a wrong gas
    // mixture, 0.1 ms units.
    int m_drift = 0;
    unsigned char m_sampleIndex = 0;
};

#endif
