#include "ParamPayloadBuilder.h"

#include <cmath>

#include "DateRecord.h"
#include "HistoryBlock.h"
#include "ReplyFrame.h"

namespace
{
// Payload offsets of the parameter frame.
enum ParamOffset : std::size_t
{
    kGasCylinderMask = 16,
    kIgnitionCoils = 17,
    kCylinderCode = 18,
    kSwitchRpm = 19,
    kMaxGasRpm = 20,
    kGasLevelThresholds = 21,
    kGasLevelType = 25,
    kSensors = 26,
    kEngineFlags = 30,
    kSwitchTemperature = 31,
    kWorkPressure = 32,
    kCalibrationGasTemp = 35,
    kMinPressure = 36,
    kGasFaultTime = 37,
    kSwitchTimeLow = 38,
    kCylinderSwitchDelay = 39,
    kInjectorCode = 41,
    kMapPoints = 52,
    kMapBase = 62,
    kMapCorrection = 308,
    kFuelFlags = 554,
    kSwitchTimeHigh = 557,
    kInjectorCorrections = 558,
    kMinGasRpm = 566,
    kMinGasTemperature = 567,
    kStoredFaults = 571,
};

constexpr std::size_t kStoredFaultBytes = 40;
constexpr std::size_t kMapPointCount = 10;

unsigned char Hundreds(int rpm)
{
    return static_cast<unsigned char>(rpm / 100);
}

unsigned char Percent(double bar)
{
    return static_cast<unsigned char>(std::lround(bar * 100.0));
}
} // namespace

ParamPayloadBuilder::ParamPayloadBuilder()
{
    for (std::size_t i = 0; i < kMapPointCount; ++i)
        m_payload[kMapPoints + i] = 0xFF;
    for (std::size_t i = 0; i < 8; ++i)
        m_payload[kInjectorCorrections + i] = 128;
    for (std::size_t i = 0; i < kStoredFaultBytes; ++i)
        m_payload[kStoredFaults + i] = 0xFF;
}

ParamPayloadBuilder& ParamPayloadBuilder::GasCylinderMask(unsigned char mask)
{
    m_payload[kGasCylinderMask] = mask;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::IgnitionCoils(unsigned char row)
{
    m_payload[kIgnitionCoils] = row;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::CylinderCode(unsigned char code)
{
    m_payload[kCylinderCode] = code;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::SwitchRpm(int rpm)
{
    m_payload[kSwitchRpm] = Hundreds(rpm);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::MaxGasRpm(int rpm)
{
    m_payload[kMaxGasRpm] = Hundreds(rpm);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::MinGasRpm(int rpm)
{
    m_payload[kMinGasRpm] = Hundreds(rpm);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::GasLevel(unsigned char sensorType, const unsigned char* thresholds)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_payload[kGasLevelThresholds + i] = thresholds[i];
    m_payload[kGasLevelType] = sensorType;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::Sensors(unsigned char reducerTemp, unsigned char gasTemp,
                                                  unsigned char gasPressure, unsigned char manifold)
{
    m_payload[kSensors] = reducerTemp;
    m_payload[kSensors + 1] = gasTemp;
    m_payload[kSensors + 2] = gasPressure;
    m_payload[kSensors + 3] = manifold;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::EngineFlags(bool twelveVoltRpmSignal, bool turbo)
{
    m_payload[kEngineFlags] = static_cast<unsigned char>((twelveVoltRpmSignal ? 0x02 : 0) | (turbo ? 0x08 : 0));
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::SwitchTemperature(int celsius)
{
    m_payload[kSwitchTemperature] = static_cast<unsigned char>(static_cast<signed char>(celsius));
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::Pressures(double workBar, double minBar)
{
    m_payload[kWorkPressure] = Percent(workBar);
    m_payload[kMinPressure] = Percent(minBar);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::CalibrationGasTemperature(unsigned char celsius)
{
    m_payload[kCalibrationGasTemp] = celsius;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::GasFaultTime(int ms)
{
    m_payload[kGasFaultTime] = static_cast<unsigned char>(ms / 10);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::SwitchTime(double seconds)
{
    const long halfSeconds = std::lround(seconds * 2.0);
    m_payload[kSwitchTimeLow] = static_cast<unsigned char>(halfSeconds);
    m_payload[kSwitchTimeHigh] = static_cast<unsigned char>(halfSeconds >> 8);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::CylinderSwitchDelay(int ms)
{
    m_payload[kCylinderSwitchDelay] = static_cast<unsigned char>(ms / 10);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::InjectorCode(unsigned char code)
{
    m_payload[kInjectorCode] = code;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::MapPoints(const unsigned char* indices)
{
    for (std::size_t i = 0; i < kMapPointCount; ++i)
        m_payload[kMapPoints + i] = indices[i];
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::MapEntry(unsigned index, unsigned char base, unsigned char correction)
{
    if (index >= 10 && index <= 255)
    {
        m_payload[kMapBase + index - 10] = base;
        m_payload[kMapCorrection + index - 10] = correction;
    }
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::FuelFlags(bool gasSwitchTimeEnabled, bool cng)
{
    m_payload[kFuelFlags] = static_cast<unsigned char>((gasSwitchTimeEnabled ? 0x01 : 0) | (cng ? 0x02 : 0));
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::InjectorCorrectionByte(unsigned cylinder, unsigned char raw)
{
    if (cylinder < 8)
        m_payload[kInjectorCorrections + cylinder] = raw;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::MinGasTemperature(int celsius)
{
    m_payload[kMinGasTemperature] = static_cast<unsigned char>(static_cast<signed char>(celsius));
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::StoredFaults(const unsigned char* items, std::size_t count)
{
    for (std::size_t i = 0; i < kStoredFaultBytes; ++i)
        m_payload[kStoredFaults + i] = i < count ? items[i] : 0xFF;
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::WorkCounter(unsigned index, unsigned long halfSeconds)
{
    if (index < HistoryBlock::kCounterCount)
        PutU32LE(HistoryBlock::kPayloadOffset + HistoryBlock::CounterOffset(index), halfSeconds);
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::HistoryRecordBytes(unsigned index, const unsigned char* date,
                                                             unsigned long value)
{
    if (index < HistoryBlock::kRecordCount)
    {
        const std::size_t offset = HistoryBlock::kPayloadOffset + HistoryBlock::RecordOffset(index);
        for (std::size_t i = 0; i < kDateRecordSize; ++i)
            m_payload[offset + i] = date[i];
        PutU32LE(offset + kDateRecordSize, value);
    }
    return *this;
}

ParamPayloadBuilder& ParamPayloadBuilder::Byte(std::size_t offset, unsigned char value)
{
    if (offset < m_payload.size())
        m_payload[offset] = value;
    return *this;
}

std::array<unsigned char, ParamPayloadBuilder::kFrameSize> ParamPayloadBuilder::Frame() const
{
    return WrapReplyFrame<kPayloadSize>(12, m_payload);
}

void ParamPayloadBuilder::PutU32LE(std::size_t offset, unsigned long value)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_payload[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}
