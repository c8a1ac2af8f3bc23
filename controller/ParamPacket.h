#ifndef QUENVAR_PARAMPACKET_H
#define QUENVAR_PARAMPACKET_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "HistoryRecord.h"
#include "Kandrel.h"

// Payload bytes of the reply to the parameter request (frame length 887).
constexpr std::size_t kParamPayloadSize = 882;
// The settings block: payload bytes 17..570, the content of a settings file.
constexpr std::size_t kSettingsBlockOffset = 17;
constexpr std::size_t kSettingsBlockSize = 554;
// Bytes of the stored-fault list (payload 571..610).
constexpr std::size_t kStoredFaultListSize = 40;

// Injector tables, indexed by the injector type code 0..9: the type, and the
// two values the ECU keeps for it.
constexpr std::size_t kInjectorCodeCount = 10;
constexpr unsigned char kInjectorTypeTable[kInjectorCodeCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr unsigned char kInjectorParamATable[kInjectorCodeCount] = {0, 6, 10, 9, 6, 6, 6, 6, 6, 6};
constexpr unsigned char kInjectorParamBTable[kInjectorCodeCount] = {0, 30, 0, 45, 45, 50, 30, 30, 30, 35};

// Multiplier map entry in percent from its base byte and correction byte:
// base * (1 + correction / 128).
double MultiplierMapValue(unsigned char base, unsigned char correction);
// Injector correction in percent from its byte (128 = 0 %), rounded up.
double InjectorCorrectionPercent(unsigned char raw);

// One decoded parameter payload. The controller keeps the last one; the
// fields are read directly.
class ParamPacket
{
public:
    // Decodes exactly kParamPayloadSize bytes from payload; the caller has
    // checked that they are there.
    explicit ParamPacket(const unsigned char* payload);

    Kandrel m_reader;

    // The raw settings block, copied before anything in it is decoded.
    std::array<unsigned char, kSettingsBlockSize> m_settingsBlock{};

    unsigned char m_gasCylinderMask = 0;      // byte 16, taken only for LPG
    unsigned char m_ignitionCoils = 0;
    unsigned char m_cylinderCode = 0;
    int m_switchRpm = 0;                      // rpm
    int m_maxGasRpm = 0;                      // rpm
    unsigned char m_gasLevelThresholds[4] = {}; // V x 50
    unsigned char m_gasLevelSensorType = 0;
    unsigned char m_reducerTempSensor = 0;
    unsigned char m_gasTempSensor = 0;
    unsigned char m_gasPressureSensor = 0;
    unsigned char m_manifoldSensor = 0;
    unsigned char m_engineFlags = 0;          // byte 30
    unsigned char m_rpmSignalVolts = 0;       // 1 = 12 V
    unsigned char m_turbo = 0;
    int m_switchTemperature = 0;              // degrees C
    double m_workPressure = 0.0;              // bar
    unsigned char m_calibrationGasTemperature = 0; // degrees C
    double m_minPressure = 0.0;               // bar
    int m_gasFaultTime = 0;                   // ms
    double m_switchTime = 0.0;                // s
    double m_cylinderSwitchDelay = 0.0;       // ms
    unsigned char m_injectorCode = 0;         // byte 41, may lie outside the tables
    unsigned char m_mapPointIndices[10] = {}; // 0xFF = no point
    double m_multiplierMap[256] = {};         // percent; entries 0..9 stay 0
    unsigned char m_fuelFlags = 0;            // byte 554
    unsigned char m_gasSwitchTimeEnabled = 0;
    unsigned char m_fuelIsCng = 0;
    double m_injectorCorrections[8] = {};     // percent
    unsigned char m_injectorCorrectionBytes[8] = {}; // as read (128 = 0 %)
    int m_minGasRpm = 0;                      // rpm
    int m_minGasTemperature = 0;              // degrees C
    std::vector<wxString> m_storedFaults;
    uint32_t m_workCounters[5] = {};          // half-seconds
    HistoryRecord m_historyRecords[9] = {};

private:
    void DecodeStoredFaults(const unsigned char* list);
    void Skip(std::size_t count);
};

#endif
