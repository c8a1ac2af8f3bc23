// Applying decoded live data and parameters to the controller's cache.
#include "Controller.h"

#include <array>
#include <cstring>
#include <iterator>

#include "LivePacket.h"
#include "ParamPacket.h"

bool Controller::ApplyLiveData(const unsigned char* payload, std::size_t length)
{
    // A short reply cannot be decoded without reading past it; it is
    // dropped whole, so the readings never mix two frames.
    if (!payload || length < kLivePayloadSize)
        return false;

    LivePacket packet(payload);

    m_o2Voltage1 = packet.m_o2Voltage1;
    m_rpm = packet.m_rpm;
    m_o2Voltage2 = packet.m_o2Voltage2;
    m_onGas = packet.m_onGas;
    m_statusBit1 = packet.m_statusBit1;
    m_statusBit2 = packet.m_statusBit2;
    m_supplyVoltage = packet.m_supplyVoltage;
    m_multiplier = packet.m_multiplier;
    m_gasInjectionTime = packet.m_gasInjectionTime;
    m_gasTemperature = packet.m_gasTemperature;
    m_reducerTemperature = packet.m_reducerTemperature;
    m_manifoldPressure = packet.m_manifoldPressure;
    m_gasLevelRaw = packet.m_gasLevelRaw;
    m_gasPressure = packet.m_gasPressure;

    StorePetrolSamples(packet.m_sampleIndex, packet.m_petrolSamples);
    StoreGasSamples(packet.m_sampleIndex, packet.m_gasSamples);

    // assign() reuses the list's storage: no allocation when there are no
    // faults, and the texts are moved, not copied.
    m_currentFaults.assign(std::make_move_iterator(packet.m_currentFaults.begin()),
                           std::make_move_iterator(packet.m_currentFaults.end()));

    std::memcpy(m_petrolInjectionTimes, packet.m_petrolInjectionTimes, sizeof m_petrolInjectionTimes);
    m_gasLevelStage = packet.m_gasLevelStage;
    m_gasCylinderMask = packet.m_gasCylinderMask;

    // Observers of the very first frame already see a live link.
    m_connected = 1;
    NotifyObservers(0);
    return true;
}

bool Controller::ApplyParameters(const unsigned char* payload, std::size_t length)
{
    // As for live data: a short reply is dropped and the cache keeps the
    // last complete parameter set.
    if (!payload || length < kParamPayloadSize)
        return false;

    m_lastParameters.reset();
    m_lastParameters = std::make_unique<ParamPacket>(payload);
    const ParamPacket& p = *m_lastParameters;

    m_ignitionCoils = p.m_ignitionCoils;
    m_cylinderCode = p.m_cylinderCode;
    m_switchRpm = p.m_switchRpm;
    m_switchTemperature = static_cast<unsigned char>(p.m_switchTemperature);
    m_switchTime = p.m_switchTime;
    m_cylinderSwitchDelay = p.m_cylinderSwitchDelay;
    m_gasFaultTime = p.m_gasFaultTime;
    m_maxGasRpm = p.m_maxGasRpm;
    m_minGasRpm = p.m_minGasRpm;
    m_minGasTemperature = p.m_minGasTemperature;
    m_turbo = p.m_turbo;
    m_rpmSignalVolts = p.m_rpmSignalVolts;
    m_fuelIsCng = p.m_fuelIsCng;
    m_calibrationGasTemperature = p.m_calibrationGasTemperature;
    m_gasSwitchTimeEnabled = p.m_gasSwitchTimeEnabled;
    m_gasPressureSensor = p.m_gasPressureSensor;
    m_manifoldSensor = p.m_manifoldSensor;
    m_reducerTempSensor = p.m_reducerTempSensor;
    m_gasTempSensor = p.m_gasTempSensor;
    m_minPressure = p.m_minPressure;
    m_workPressure = p.m_workPressure;

    // A code outside the tables would index past them: keep the injector
    // settings the cache already has.
    m_injectorCode = p.m_injectorCode;
    if (p.m_injectorCode < kInjectorCodeCount)
    {
        m_injectorType = kInjectorTypeTable[p.m_injectorCode];
        m_injectorParamA = kInjectorParamATable[p.m_injectorCode];
        m_injectorParamB = kInjectorParamBTable[p.m_injectorCode];
    }

    m_storedFaults.assign(p.m_storedFaults.begin(), p.m_storedFaults.end());

    std::memcpy(m_injectorCorrections, p.m_injectorCorrections, sizeof m_injectorCorrections);
    std::memcpy(m_injectorCorrectionBytes, p.m_injectorCorrectionBytes, sizeof m_injectorCorrectionBytes);
    std::memcpy(m_mapPointIndices, p.m_mapPointIndices, sizeof m_mapPointIndices);
    std::memcpy(m_multiplierMap, p.m_multiplierMap, sizeof m_multiplierMap);

    m_gasLevelSensorType = p.m_gasLevelSensorType;
    std::memcpy(m_gasLevelThresholds, p.m_gasLevelThresholds, sizeof m_gasLevelThresholds);

    std::memcpy(m_historyRecords, p.m_historyRecords, sizeof m_historyRecords);
    std::memcpy(m_workCounters, p.m_workCounters, sizeof m_workCounters);

    m_parametersApplied = 1;

    // On CNG the ECU's byte 16 does not describe the cylinders on gas; the
    // live frames keep the mask.
    if (!m_fuelIsCng)
        m_gasCylinderMask = p.m_gasCylinderMask;

    // An observer may reset the link (dropping m_lastParameters) or cause
    // another frame to be applied; the file must get this frame's block.
    const std::array<unsigned char, kSettingsBlockSize> block = p.m_settingsBlock;

    NotifyObservers(1);

    // --- Settings-file save, after the observers have run ---
    WritePendingSettingsFile(block.data());
    ConfirmLoadedSettingsFile();
    return true;
}
