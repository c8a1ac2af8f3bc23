#ifndef QUENVAR_PARAMPAYLOADBUILDER_H
#define QUENVAR_PARAMPAYLOADBUILDER_H

#include <array>
#include <cstddef>

// Encodes a parameter set into a parameter payload the way the ECU sends it;
// the demo recording and the tests build their frames with it. Starts with
// every byte zero except: no map points (0xFF), neutral injector corrections
// (128, 0 %) and an empty stored-fault list (0xFF).
class ParamPayloadBuilder
{
public:
    static constexpr std::size_t kPayloadSize = 882;
    static constexpr std::size_t kFrameSize = kPayloadSize + 5;

    ParamPayloadBuilder();

    // Payload byte 16: cylinders on gas, taken only for LPG.
    ParamPayloadBuilder& GasCylinderMask(unsigned char mask);
    ParamPayloadBuilder& IgnitionCoils(unsigned char row);
    ParamPayloadBuilder& CylinderCode(unsigned char code);
    // Engine speeds in rpm, stored in hundreds.
    ParamPayloadBuilder& SwitchRpm(int rpm);
    ParamPayloadBuilder& MaxGasRpm(int rpm);
    ParamPayloadBuilder& MinGasRpm(int rpm);
    // Thresholds in V x 50.
    ParamPayloadBuilder& GasLevel(unsigned char sensorType, const unsigned char* thresholds);
    ParamPayloadBuilder& Sensors(unsigned char reducerTemp, unsigned char gasTemp,
                                 unsigned char gasPressure, unsigned char manifold);
    ParamPayloadBuilder& EngineFlags(bool twelveVoltRpmSignal, bool turbo);
    ParamPayloadBuilder& SwitchTemperature(int celsius);
    ParamPayloadBuilder& Pressures(double workBar, double minBar);
    ParamPayloadBuilder& CalibrationGasTemperature(unsigned char celsius);
    ParamPayloadBuilder& GasFaultTime(int ms);
    // Seconds in 0.5 s steps, split over bytes 38 (low) and 557 (high).
    ParamPayloadBuilder& SwitchTime(double seconds);
    ParamPayloadBuilder& CylinderSwitchDelay(int ms);
    ParamPayloadBuilder& InjectorCode(unsigned char code);
    ParamPayloadBuilder& MapPoints(const unsigned char* indices);
    // Map entry 10..255: base multiplier in percent and its correction.
    ParamPayloadBuilder& MapEntry(unsigned index, unsigned char base, unsigned char correction);
    ParamPayloadBuilder& FuelFlags(bool gasSwitchTimeEnabled, bool cng);
    // Cylinder 0..7, the raw byte (128 = 0 %).
    ParamPayloadBuilder& InjectorCorrectionByte(unsigned cylinder, unsigned char raw);
    ParamPayloadBuilder& MinGasTemperature(int celsius);
    // Up to 40 bytes of the stored-fault list; the rest stays 0xFF.
    ParamPayloadBuilder& StoredFaults(const unsigned char* items, std::size_t count);
    // Work counter 0..4 in half-seconds.
    ParamPayloadBuilder& WorkCounter(unsigned index, unsigned long halfSeconds);
    // History record 0..8: seven date bytes and its value.
    ParamPayloadBuilder& HistoryRecordBytes(unsigned index, const unsigned char* date,
                                            unsigned long value);
    // Raw access, for payloads no setter produces.
    ParamPayloadBuilder& Byte(std::size_t offset, unsigned char value);

    const std::array<unsigned char, kPayloadSize>& Payload() const { return m_payload; }
    // The complete reply frame: header, length, command 12, payload, sum.
    std::array<unsigned char, kFrameSize> Frame() const;

private:
    void PutU32LE(std::size_t offset, unsigned long value);

    std::array<unsigned char, kPayloadSize> m_payload{};
};

#endif
