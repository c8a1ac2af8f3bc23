#include "LivePayloadBuilder.h"

#include <cmath>

#include "ReplyFrame.h"

namespace
{
// Payload offsets of the live-data frame.
enum LiveOffset : std::size_t
{
    kStatusBits = 1,
    kPetrolTimes = 2,   // cylinders 1..6, two bytes each
    kGasTime = 14,
    kRpm = 17,
    kO2Voltage1 = 18,
    kGasPressure = 19,
    kManifoldPressure = 21,
    kCylinderMask = 23,
    kMultiplier = 24,
    kSupply = 25,
    kGasLevelRaw = 26,
    kGasLevelStage = 27,
    kReducerTemp = 28,
    kGasTemp = 29,
    kFaultBitsA = 30,
    kInjectorMaskA = 31,
    kSampleIndex = 32,
    kPetrolSamples = 33,
    kGasSamples = 38,
    kFaultBitsB = 44,
    kInjectorMaskB = 45,
    kPetrolTime7 = 47,
    kO2Voltage2 = 51,
};

unsigned char Clamp8(long value)
{
    return static_cast<unsigned char>(value < 0 ? 0 : value > 255 ? 255 : value);
}

unsigned char VoltsToAdc(double volts)
{
    return Clamp8(std::lround(volts * 255.0 / 5.0));
}
} // namespace

LivePayloadBuilder::LivePayloadBuilder()
{
    Faults(0xFF, 0xFF);
    InjectorMasks(0xFF, 0xFF);
}

LivePayloadBuilder& LivePayloadBuilder::Status(bool onGas, bool statusBit1, bool statusBit2)
{
    m_payload[kStatusBits] = static_cast<unsigned char>((onGas ? 1 : 0) | (statusBit1 ? 2 : 0) | (statusBit2 ? 4 : 0));
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::PetrolTime(unsigned cylinder, double ms)
{
    const unsigned raw = static_cast<unsigned>(std::lround(ms * 10.0)) & 0xFFFF;
    if (cylinder < 6)
        PutU16LE(kPetrolTimes + 2 * cylinder, raw);
    else if (cylinder < 8)
        PutU16LE(kPetrolTime7 + 2 * (cylinder - 6), raw);
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::GasInjectionTime(double ms)
{
    const unsigned long raw = static_cast<unsigned long>(std::lround(ms * 1000.0)) & 0xFFFFFF;
    m_payload[kGasTime] = static_cast<unsigned char>(raw >> 16);
    m_payload[kGasTime + 1] = static_cast<unsigned char>(raw >> 8);
    m_payload[kGasTime + 2] = static_cast<unsigned char>(raw);
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Rpm(unsigned hundreds)
{
    m_payload[kRpm] = Clamp8(hundreds);
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::O2Voltages(double volts1, double volts2)
{
    m_payload[kO2Voltage1] = VoltsToAdc(volts1);
    m_payload[kO2Voltage2] = VoltsToAdc(volts2);
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Pressures(double gasBar, double manifoldBar)
{
    PutU16BE(kGasPressure, static_cast<unsigned>(std::lround(gasBar * 100.0)));
    PutU16BE(kManifoldPressure, static_cast<unsigned>(std::lround(manifoldBar * 100.0)));
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::GasCylinderMask(unsigned char mask)
{
    m_payload[kCylinderMask] = mask;
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Multiplier(unsigned char multiplier)
{
    m_payload[kMultiplier] = multiplier;
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::SupplyVoltage(double volts)
{
    m_payload[kSupply] = Clamp8(std::lround((volts - 0.7) / (5 * 0.01226536585102597)));
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::GasLevel(unsigned char raw, unsigned char stage)
{
    m_payload[kGasLevelRaw] = raw;
    m_payload[kGasLevelStage] = stage;
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Temperatures(int reducer, int gas)
{
    m_payload[kReducerTemp] = static_cast<unsigned char>(static_cast<signed char>(reducer));
    m_payload[kGasTemp] = static_cast<unsigned char>(static_cast<signed char>(gas));
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Faults(unsigned char bitsA, unsigned char bitsB)
{
    m_payload[kFaultBitsA] = bitsA;
    m_payload[kFaultBitsB] = bitsB;
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::InjectorMasks(unsigned char maskA, unsigned char maskB)
{
    m_payload[kInjectorMaskA] = maskA;
    m_payload[kInjectorMaskB] = maskB;
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Samples(unsigned char index, const unsigned char* petrol,
                                                const unsigned char* gas)
{
    m_payload[kSampleIndex] = index;
    for (std::size_t k = 0; k < kSamplesPerFrame; ++k)
    {
        m_payload[kPetrolSamples + k] = petrol[k];
        m_payload[kGasSamples + k] = gas[k];
    }
    return *this;
}

LivePayloadBuilder& LivePayloadBuilder::Byte(std::size_t offset, unsigned char value)
{
    if (offset < m_payload.size())
        m_payload[offset] = value;
    return *this;
}

std::array<unsigned char, LivePayloadBuilder::kFrameSize> LivePayloadBuilder::Frame() const
{
    return WrapReplyFrame<kLivePayloadSize>(1, m_payload);
}

void LivePayloadBuilder::PutU16LE(std::size_t offset, unsigned value)
{
    m_payload[offset] = static_cast<unsigned char>(value);
    m_payload[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void LivePayloadBuilder::PutU16BE(std::size_t offset, unsigned value)
{
    m_payload[offset] = static_cast<unsigned char>(value >> 8);
    m_payload[offset + 1] = static_cast<unsigned char>(value);
}
