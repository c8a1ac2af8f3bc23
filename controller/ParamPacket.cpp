#include "ParamPacket.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "FaultTexts.h"
#include "HistoryBlock.h"

double MultiplierMapValue(unsigned char base, unsigned char correction)
{
    return base + base * correction * 0.0078125;
}

double InjectorCorrectionPercent(unsigned char raw)
{
    // Adding 0.0 turns the -0.0 that ceil gives for 127 into 0.0, which a
    // page would otherwise print as "-0".
    return std::ceil(raw * 100 * 0.0078125 - 100) + 0.0;
}

ParamPacket::ParamPacket(const unsigned char* payload)
    : m_reader(payload)
{
    std::memcpy(m_settingsBlock.data(), payload + kSettingsBlockOffset, kSettingsBlockSize);

    Skip(16);
    m_gasCylinderMask = m_reader.get_u8();
    m_ignitionCoils = m_reader.get_u8();
    m_cylinderCode = m_reader.get_u8();
    m_switchRpm = m_reader.get_u8() * 100;
    m_maxGasRpm = m_reader.get_u8() * 100;
    for (auto& threshold : m_gasLevelThresholds)
        threshold = m_reader.get_u8();
    m_gasLevelSensorType = m_reader.get_u8();
    m_reducerTempSensor = m_reader.get_u8();
    m_gasTempSensor = m_reader.get_u8();
    m_gasPressureSensor = m_reader.get_u8();
    m_manifoldSensor = m_reader.get_u8();
    m_engineFlags = m_reader.get_u8();
    m_rpmSignalVolts = (m_engineFlags & 0x02) ? 1 : 0;
    m_turbo = (m_engineFlags & 0x08) ? 1 : 0;
    m_switchTemperature = m_reader.get_s8();
    m_workPressure = m_reader.get_u8() * 0.01;
    Skip(2);
    m_calibrationGasTemperature = m_reader.get_u8();
    m_minPressure = m_reader.get_u8() * 0.01;
    m_gasFaultTime = m_reader.get_u8() * 10;
    const unsigned switchTimeLow = m_reader.get_u8();
    m_cylinderSwitchDelay = m_reader.get_u8() * 10;
    Skip(1);
    m_injectorCode = m_reader.get_u8();
    Skip(10);
    for (auto& index : m_mapPointIndices)
        index = m_reader.get_u8();

    // Entries 10..255 come as 246 base bytes followed by 246 corrections.
    unsigned char bases[246];
    for (auto& base : bases)
        base = m_reader.get_u8();
    for (std::size_t i = 0; i < 246; ++i)
        m_multiplierMap[10 + i] = MultiplierMapValue(bases[i], m_reader.get_u8());

    m_fuelFlags = m_reader.get_u8();
    m_gasSwitchTimeEnabled = m_fuelFlags & 0x01;
    m_fuelIsCng = (m_fuelFlags & 0x02) ? 1 : 0;
    Skip(2);
    // The switch time's high byte lives far from its low byte (byte 38).
    const unsigned switchTimeHigh = m_reader.get_u8();
    m_switchTime = (switchTimeHigh * 256 + switchTimeLow) * 0.5;
    for (std::size_t k = 0; k < 8; ++k)
    {
        m_injectorCorrectionBytes[k] = m_reader.get_u8();
        m_injectorCorrections[k] = InjectorCorrectionPercent(m_injectorCorrectionBytes[k]);
    }
    m_minGasRpm = m_reader.get_u8() * 100;
    m_minGasTemperature = m_reader.get_s8();
    Skip(3);

    unsigned char faultList[kStoredFaultListSize];
    for (auto& byte : faultList)
        byte = m_reader.get_u8();
    DecodeStoredFaults(faultList);

    const HistoryBlock history(m_reader);
    std::memcpy(m_workCounters, history.m_workCounters, sizeof m_workCounters);
    std::memcpy(m_historyRecords, history.m_records, sizeof m_historyRecords);

    Skip(16);
}

void ParamPacket::DecodeStoredFaults(const unsigned char* list)
{
    std::size_t pos = 0;
    while (pos < kStoredFaultListSize)
    {
        const unsigned char code = list[pos];
        if (code == 0)
        {
            // An injector item cut by the end of the list adds nothing.
            if (pos + 3 > kStoredFaultListSize)
                break;
            // Kept even when empty: the fault page lists it as a line.
            m_storedFaults.push_back(InjectorFaultText(list[pos + 1], list[pos + 2]));
            pos += 3;
            continue;
        }
        wxString text = StoredFaultText(code);
        if (!text.empty())
            m_storedFaults.push_back(std::move(text));
        ++pos;
    }
}

void ParamPacket::Skip(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        m_reader.get_u8();
}
