// The parameter-write commands: every request the program sends besides the
// periodic polls. Setters store into the cache first and then queue; the
// queue coalesces by command, so only the last value of a burst goes out.
#include "Controller.h"

#include <cstddef>
#include <string>

#include "ParamPacket.h"
#include "WireScaling.h"

namespace
{

// Fuel mode bytes of CMD_SWITCH_FUEL.
constexpr unsigned char kFuelPetrol = 2;
constexpr unsigned char kFuelGas = 3;
// Curve selectors of CMD_ERASE_CURVE.
constexpr unsigned char kPetrolCurve = 1;
constexpr unsigned char kGasCurve = 2;

// The ECU keeps no multiplier for the ten shortest injection times.
constexpr std::size_t kFirstSentMapEntry = 10;
constexpr std::size_t kMapEntries = 256;
constexpr std::size_t kMapPoints = 10;
constexpr int kCylinders = 8;

// Above this the calibration's pressure byte is sent as 0xFF.
constexpr int kCalibrationPressureLimit = 127;

unsigned char Hundreds(int value)
{
    return static_cast<unsigned char>(value / 100);
}

unsigned char Tens(int value)
{
    return static_cast<unsigned char>(value / 10);
}

} // namespace

// --- Calibration ---

void Controller::FinishCalibration()
{
    std::string data(5, '\0');
    data[0] = static_cast<char>(ScaledByte(m_workPressure, 100.0));
    data[1] = static_cast<char>(ScaledByte(m_calibrationTime, 1.0));
    data[2] = static_cast<char>(m_calibrationMultiplier);
    data[3] = static_cast<char>(m_calibrationGasTemperature);
    // 60 % of the working pressure in 0.01 bar; above 127 it saturates.
    const double scaled = TruncScaled(m_workPressure, 60.0);
    data[4] = static_cast<char>(scaled > kCalibrationPressureLimit ? 0xFF : LowByte(scaled));
    m_request.Build(CMD_WRITE_CALIBRATION, data);
    QueueRequest();
    m_calibrating = 0;
    // The main window's tools re-enable themselves in the update-UI pass.
    if (m_host)
        m_host->UpdateUI();
}

void Controller::StartCalibration()
{
    m_request.Build(CMD_START_CALIBRATION);
    QueueRequest();
    m_calibrating = 1;
}

void Controller::StopCalibration()
{
    m_calibrating = 0;
    m_request.Build(CMD_STOP_CALIBRATION, 0);
    QueueRequest();
}

void Controller::SendCalibrationWindow(unsigned char midpoint, unsigned char tolerance, unsigned char multiplier)
{
    std::string data;
    data += static_cast<char>(midpoint);
    data += static_cast<char>(tolerance);
    data += static_cast<char>(multiplier);
    m_request.Build(CMD_SET_CALIBRATION_WINDOW, data);
    QueueRequest();
}

void Controller::SwitchFuel(bool gas, unsigned char mask)
{
    if (!m_online)
        return;
    if (mask == 0)
        mask = static_cast<unsigned char>(0xFF >> (kCylinders - GetCylinderCount()));
    m_request.Build(CMD_SWITCH_FUEL, gas ? kFuelGas : kFuelPetrol, mask);
    QueueRequest();
}

// --- Map page ---

void Controller::SendMultiplierMap(const double map[256])
{
    std::string data;
    data.reserve(kMapEntries - kFirstSentMapEntry);
    // Saturated: the map's keys set no limit, and a wrapped byte would send
    // 2.60 as 4 % and -0.01 as 255 %.
    for (std::size_t i = kFirstSentMapEntry; i < kMapEntries; ++i)
        data += static_cast<char>(ClampedScaledByte(map[i], 100.0));
    m_request.Build(CMD_WRITE_MULTIPLIER_MAP, data);
    QueueRequest();
}

void Controller::SendMapPoints(const unsigned char indices[10])
{
    std::string data(kMapPoints, '\0');
    for (std::size_t i = 0; i < kMapPoints; ++i)
    {
        m_mapPointIndices[i] = indices[i];
        data += static_cast<char>(indices[i]);
    }
    m_request.Build(CMD_WRITE_MAP_POINTS, data);
    QueueRequest();
}

void Controller::ErasePetrolCurve()
{
    m_request.Build(CMD_ERASE_CURVE, kPetrolCurve);
    QueueRequest();
}

void Controller::EraseGasCurve()
{
    m_request.Build(CMD_ERASE_CURVE, kGasCurve);
    QueueRequest();
}

// --- Reads, faults, gas level ---

void Controller::RequestParameterBlock(unsigned char arg)
{
    m_request.Build(CMD_READ_PARAMETERS, arg);
    QueueRequest();
}

void Controller::EraseFaults()
{
    m_request.Build(CMD_ERASE_FAULTS, 0);
    QueueRequest();
    // The next live frame fills the current list again.
    m_storedFaults.clear();
    m_currentFaults.clear();
}

void Controller::EnableGasLevel()
{
    if (m_gasLevelEnabled)
        return;
    m_request.Build(CMD_ENABLE_GAS_LEVEL, 1);
    QueueRequest();
    m_gasLevelEnabled = 1;
}

void Controller::SetGasLevelSettings(int type, double t1, double t2, double t3, double t4)
{
    m_gasLevelSensorType = type;
    EnableGasLevel();
    const double volts[4] = {t1, t2, t3, t4};
    std::string data;
    for (int k = 0; k < 4; ++k)
    {
        // Steps of 20 mV; adding half a step rounds to the nearest one.
        m_gasLevelThresholds[k] = ScaledByte(volts[k] + 0.01, 50.0);
        data += static_cast<char>(m_gasLevelThresholds[k]);
    }
    data += static_cast<char>(type);
    m_request.Build(CMD_SET_GAS_LEVEL, data);
    QueueRequest();
}

// --- Settings page ---

void Controller::SetSwitchRpm(int rpm)
{
    if (!m_online)
        return;
    m_switchRpm = rpm;
    m_request.Build(CMD_SET_SWITCH_RPM, Hundreds(rpm));
    QueueRequest();
}

void Controller::SetIgnitionCoils(int row)
{
    if (!m_online)
        return;
    m_ignitionCoils = static_cast<unsigned char>(row);
    m_request.Build(CMD_SET_IGNITION_COILS, static_cast<unsigned char>(row));
    QueueRequest();
}

void Controller::SetInjectorType(int code)
{
    if (!m_online)
        return;
    // Codes outside the tables name no injector.
    if (code < 0 || code >= static_cast<int>(kInjectorCodeCount))
        return;
    m_injectorCode = static_cast<unsigned char>(code);
    if (m_injectorType != kInjectorTypeTable[code])
    {
        m_injectorType = kInjectorTypeTable[code];
        m_request.Build(CMD_SET_INJECTOR_TYPE, m_injectorType);
        QueueRequest();
    }
    if (m_injectorParamA != kInjectorParamATable[code])
    {
        m_injectorParamA = kInjectorParamATable[code];
        m_request.Build(CMD_SET_INJECTOR_PARAM_A, m_injectorParamA);
        QueueRequest();
    }
    if (m_injectorParamB != kInjectorParamBTable[code])
    {
        m_injectorParamB = kInjectorParamBTable[code];
        m_request.Build(CMD_SET_INJECTOR_PARAM_B, m_injectorParamB);
        QueueRequest();
    }
}

void Controller::SetSwitchTemperature(int v)
{
    if (!m_online)
        return;
    m_switchTemperature = static_cast<unsigned char>(v);
    m_request.Build(CMD_SET_SWITCH_TEMPERATURE, static_cast<unsigned char>(v));
    QueueRequest();
}

void Controller::SetMaxGasRpm(int rpm)
{
    if (!m_online)
        return;
    m_maxGasRpm = rpm;
    m_request.Build(CMD_SET_MAX_GAS_RPM, Hundreds(rpm));
    QueueRequest();
}

void Controller::SetGasPressureSensor(int row)
{
    if (!m_online)
        return;
    m_gasPressureSensor = static_cast<unsigned char>(row);
    m_request.Build(CMD_SET_GAS_PRESSURE_SENSOR, static_cast<unsigned char>(row));
    QueueRequest();
}

void Controller::SetReducerTempSensor(int row)
{
    if (!m_online)
        return;
    m_reducerTempSensor = static_cast<unsigned char>(row);
    m_request.Build(CMD_SET_REDUCER_TEMP_SENSOR, static_cast<unsigned char>(row));
    QueueRequest();
}

void Controller::SetRpmSignal(bool twelveVolt)
{
    if (!m_online)
        return;
    // The cache holds the settings page's row, as the parameter frame does.
    m_rpmSignalVolts = twelveVolt ? 1 : 0;
    m_request.Build(CMD_SET_RPM_SIGNAL, m_rpmSignalVolts);
    QueueRequest();
}

void Controller::SetGasTempSensor(int row)
{
    if (!m_online)
        return;
    m_gasTempSensor = static_cast<unsigned char>(row);
    m_request.Build(CMD_SET_GAS_TEMP_SENSOR, static_cast<unsigned char>(row));
    QueueRequest();
}

void Controller::SetCylinderCode(int code)
{
    if (!m_online)
        return;
    m_cylinderCode = static_cast<unsigned char>(code);
    m_request.Build(CMD_SET_CYLINDERS, static_cast<unsigned char>(code));
    QueueRequest();
}

void Controller::SetMinPressure(double bar)
{
    if (!m_online)
        return;
    m_minPressure = bar;
    m_request.Build(CMD_SET_MIN_PRESSURE, ScaledByte(bar, 100.0));
    QueueRequest();
}

void Controller::SetGasFaultTime(int ms)
{
    if (!m_online)
        return;
    m_gasFaultTime = ms;
    m_request.Build(CMD_SET_GAS_FAULT_TIME, Tens(ms));
    QueueRequest();
}

void Controller::SetTurbo(unsigned char v)
{
    if (!m_online)
        return;
    m_turbo = v;
    m_request.Build(CMD_SET_ENGINE_TYPE, v ? 1 : 0);
    QueueRequest();
}

void Controller::SetSwitchTime(double s)
{
    if (!m_online)
        return;
    m_switchTime = s;
    // Half-second steps; the high byte stays 0.
    m_request.Build(CMD_SET_SWITCH_TIME, 0, ScaledByte(s, 2.0));
    QueueRequest();
}

void Controller::SetCylinderSwitchDelay(int ms)
{
    if (!m_online)
        return;
    m_cylinderSwitchDelay = ms;
    m_request.Build(CMD_SET_CYLINDER_SWITCH_DELAY, Tens(ms));
    QueueRequest();
}

void Controller::SetManifoldSensor(int row)
{
    if (!m_online)
        return;
    m_manifoldSensor = static_cast<unsigned char>(row);
    m_request.Build(CMD_SET_MANIFOLD_SENSOR, static_cast<unsigned char>(row));
    QueueRequest();
}

void Controller::SetWorkPressure(double bar)
{
    if (!m_online)
        return;
    m_pressureChanged = 1;
    m_workPressure = bar;
    m_request.Build(CMD_SET_WORK_PRESSURE, ScaledByte(bar, 100.0));
    QueueRequest();
}

void Controller::SetGasSwitchTimeEnabled(unsigned char v)
{
    m_gasSwitchTimeEnabled = v;
    m_request.Build(CMD_SET_GAS_SWITCH_TIME_FLAG, v ? 1 : 0);
    QueueRequest();
}

void Controller::SetFuelType(unsigned char cng)
{
    if (!m_online)
        return;
    m_fuelIsCng = cng;
    m_request.Build(CMD_SET_FUEL_TYPE, cng ? 1 : 0);
    QueueRequest();
}

void Controller::SetInjectorCorrection(int index, double percent)
{
    if (!m_online)
        return;
    if (index < 0 || index >= kCylinders)
        return;
    m_injectorCorrections[index] = percent;
    // 128 is 0 %; +100 % would be 256 and wrap to -100 %, so the byte stops
    // at 255 (99 %).
    m_injectorCorrectionBytes[index] = ClampedScaledByte((percent + 100.0) * 128.0, 0.01);
    // Re-encoding the others from their rounded percents would move 55 of
    // the 256 byte values by one step (byte 100 reads -21 % and would go
    // back as 101).
    std::string data(reinterpret_cast<const char*>(m_injectorCorrectionBytes), kCylinders);
    m_request.Build(CMD_SET_INJECTOR_CORRECTIONS, data);
    QueueRequest();
}

void Controller::SetMinGasRpm(int rpm)
{
    if (!m_online)
        return;
    m_minGasRpm = rpm;
    m_request.Build(CMD_SET_MIN_GAS_RPM, Hundreds(rpm));
    QueueRequest();
}

void Controller::SetMinGasTemperature(int v)
{
    if (!m_online)
        return;
    m_minGasTemperature = v;
    // Two's complement: -5 degrees goes out as 0xFB.
    m_request.Build(CMD_SET_MIN_GAS_TEMPERATURE, static_cast<unsigned char>(v));
    QueueRequest();
}
