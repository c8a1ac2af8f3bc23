#ifndef QUENVAR_LIVEPACKET_H
#define QUENVAR_LIVEPACKET_H

#include <cstddef>
#include <vector>

#include <wx/string.h>

#include "Kandrel.h"

// Payload bytes of the reply to the live-data request (frame length 57).
constexpr std::size_t kLivePayloadSize = 52;
// Entries of each injection-time sample ring.
constexpr std::size_t kSampleRingSize = 256;
// Samples of each kind carried by one live frame.
constexpr std::size_t kSamplesPerFrame = 5;

// One decoded live-data payload. Lives for one frame on the stack of the
// apply step; the fields are read directly.
class LivePacket
{
public:
    // Decodes exactly kLivePayloadSize bytes from payload; the caller has
    // checked that they are there.
    explicit LivePacket(const unsigned char* payload);

    Kandrel m_reader;

    bool m_onGas = false;
    bool m_statusBit1 = false;
    bool m_statusBit2 = false;
    double m_petrolInjectionTimes[8] = {};   // ms, cylinders 1..8
    double m_gasInjectionTime = 0.0;         // ms
    double m_rpm = 0.0;                      // hundreds of rpm
    double m_o2Voltage1 = 0.0;               // V
    double m_o2Voltage2 = 0.0;               // V
    double m_gasPressure = 0.0;              // bar
    double m_manifoldPressure = 0.0;         // bar
    unsigned char m_gasCylinderMask = 0;     // bit i = cylinder i+1 on gas
    unsigned char m_multiplier = 0;
    double m_supplyVoltage = 0.0;            // V
    unsigned char m_gasLevelRaw = 0;         // volts = raw * 5 / 255
    unsigned char m_gasLevelStage = 0;       // 0..4 lamps
    double m_reducerTemperature = 0.0;       // degrees C
    double m_gasTemperature = 0.0;           // degrees C
    unsigned char m_faultBitsA = 0xFF;       // byte 30, clear bit = fault
    unsigned char m_injectorMaskA = 0xFF;    // byte 31, clear bit = faulty injector
    unsigned char m_sampleIndex = 0;         // ring position of the first sample
    unsigned char m_byte43 = 0;
    unsigned char m_faultBitsB = 0xFF;       // byte 44
    unsigned char m_injectorMaskB = 0xFF;    // byte 45
    unsigned char m_byte46 = 0;
    double m_petrolSamples[kSampleRingSize] = {};  // 0.1 ms units
    double m_gasSamples[kSampleRingSize] = {};
    std::vector<wxString> m_currentFaults;   // in the ECU's order

private:
    void ReadSamples(double* ring);
    void DecodeCurrentFaults();
};

#endif
