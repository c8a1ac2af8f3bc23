#include "IdleCar.h"

#include <algorithm>
#include <iterator>

#include "ControllerCommand.h"
#include "LivePayloadBuilder.h"

namespace
{
// Four cylinders: cylinder code 1 (code + 3).
constexpr unsigned char kCylinderCode = 1;
constexpr unsigned kCylinders = 4;
constexpr unsigned kIdleRpmHundreds = 8;
constexpr int kGasTemperature = 20;
constexpr double kGasPressureBar = 1.17;
constexpr double kManifoldBar = 0.35;
// Cylinder 1's petrol time alternates between these, 0.1 ms units.
constexpr int kPetrolShort = 24;
constexpr int kPetrolLong = 26;
// A car that never settles swings this far on gas.
constexpr int kSwing = 5;
// The petrol ECU's trim against a wrong gas mixture goes no further.
constexpr int kMostDrift = 4;
constexpr unsigned char kNeutralMapPercent = 100;
// Parameter payload offset of the working pressure, which command 2 brings.
constexpr std::size_t kWorkPressureOffset = 32;
// Command 32: ten zero bytes, then the ten point indices.
constexpr std::size_t kPointsInCommand32 = 10;
constexpr std::size_t kFirstSentMapEntry = 10;
constexpr std::size_t kMapEntries = 256;

int Sign(int v)
{
    return (v > 0) - (v < 0);
}
} // namespace

IdleCar::IdleCar()
{
    // An ordinary LPG setup; the map neutral and without points.
    m_parameters.CylinderCode(kCylinderCode).SwitchRpm(1500).MaxGasRpm(6000).SwitchTemperature(35);
    m_parameters.Pressures(1.0, 0.6);
    for (std::size_t i = kFirstSentMapEntry; i < kMapEntries; ++i)
        m_parameters.MapEntry(static_cast<unsigned>(i), kNeutralMapPercent, 0);
}

int IdleCar::ReducerTemperature(int frame)
{
    // One degree a frame up to 55 °C; then the thermostat opens and cold
    // coolant takes the reducer to 49 °C for a frame; then it warms slowly.
    if (frame < 12)
        return 44 + frame;
    if (frame == 12)
        return 49;
    return std::min(50 + (frame - 13) / 4, 75);
}

void IdleCar::Take(const Bytes& request)
{
    if (request.size() < 3)
        return;
    const Bytes data(request.begin() + 2, request.end() - 1);
    switch (request[1])
    {
    case CMD_SWITCH_FUEL:
        if (data.size() == 2)
        {
            m_onGas = data[0] == 3;
            m_gasMask = data[1];
        }
        break;
    case CMD_SET_CALIBRATION_WINDOW:
        // The controller learns from the multiplier the window brings.
        if (data.size() == 3)
            m_multiplier = data[2];
        break;
    case CMD_WRITE_MULTIPLIER_MAP:
        if (data.size() == kMapEntries - kFirstSentMapEntry)
            for (std::size_t i = 0; i < data.size(); ++i)
                m_parameters.MapEntry(static_cast<unsigned>(kFirstSentMapEntry + i), data[i], 0);
        break;
    case CMD_WRITE_MAP_POINTS:
        if (data.size() == 2 * kPointsInCommand32)
            m_parameters.MapPoints(data.data() + kPointsInCommand32);
        break;
    case CMD_WRITE_CALIBRATION:
        if (data.size() == 5)
        {
            m_parameters.Byte(kWorkPressureOffset, data[0]);
            m_parameters.CalibrationGasTemperature(data[3]);
        }
        break;
    default:
        break;
    }
}

IdleCar::Bytes IdleCar::ParameterPayload() const
{
    const auto& p = m_parameters.Payload();
    return Bytes(p.begin(), p.end());
}

int IdleCar::PetrolTenths() const
{
    if (m_fixedPetrol >= 0)
        return m_fixedPetrol;
    const int swing = m_swingOnGas && m_onGas ? (m_frame % 2 == 0 ? -kSwing : kSwing) : 0;
    return (m_frame % 2 == 0 ? kPetrolShort : kPetrolLong) + m_drift + swing;
}

void IdleCar::AdjustOnGas()
{
    if (m_onGas && m_multiplier != kOwnMultiplier)
        m_multiplier = static_cast<unsigned char>(m_multiplier + Sign(kOwnMultiplier - m_multiplier));
    if (m_onGas && m_multiplier != kOwnMultiplier)
    {
        // Too rich a gas mixture and the petrol ECU shortens its time.
        m_drift = std::clamp(m_drift + Sign(kOwnMultiplier - m_multiplier), -kMostDrift, kMostDrift);
    }
    else
    {
        m_drift -= Sign(m_drift);
    }
}

IdleCar::Bytes IdleCar::NextLivePayload()
{
    const bool stalled = m_stallFrom >= 0 && m_frame >= m_stallFrom;
    if (stalled)
    {
        // A stalled engine runs on nothing; the gas valves close.
        m_onGas = false;
        m_drift = 0;
    }
    AdjustOnGas();

    const int petrol = stalled ? 0 : PetrolTenths();
    const double petrolMs = petrol / 10.0;
    const double gasMs = m_onGas ? petrolMs * m_multiplier / 100.0 : 0.0;
    const auto gasTenths = static_cast<unsigned char>(gasMs * 10.0);

    LivePayloadBuilder b;
    b.Status(m_onGas, false, false).Rpm(stalled ? 0 : kIdleRpmHundreds);
    for (unsigned c = 0; c < kCylinders; ++c)
        b.PetrolTime(c, petrolMs);
    b.GasInjectionTime(gasMs).GasCylinderMask(m_onGas ? m_gasMask : 0).Multiplier(m_multiplier);
    b.Temperatures(ReducerTemperature(m_frame), kGasTemperature).Pressures(kGasPressureBar, kManifoldBar);
    b.O2Voltages(0.45, 0.60).SupplyVoltage(14.0).GasLevel(150, 3);
    unsigned char petrolSamples[kSamplesPerFrame];
    unsigned char gasSamples[kSamplesPerFrame];
    std::fill(std::begin(petrolSamples), std::end(petrolSamples), static_cast<unsigned char>(petrol));
    std::fill(std::begin(gasSamples), std::end(gasSamples), gasTenths);
    b.Samples(m_sampleIndex, petrolSamples, gasSamples);
    m_sampleIndex = static_cast<unsigned char>(m_sampleIndex + kSamplesPerFrame);

    ++m_frame;
    return Bytes(b.Payload().begin(), b.Payload().end());
}
