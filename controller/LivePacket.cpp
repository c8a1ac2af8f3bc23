#include "LivePacket.h"

#include <utility>

#include "FaultTexts.h"

namespace
{
// Supply voltage: the ECU's divider and the diode drop in front of it.
constexpr double kSupplyVoltsPerStep = 0.01226536585102597;
constexpr double kSupplyDiodeDrop = 0.7;
// An 8-bit ADC reading of a 0..5 V input.
constexpr double kAdcVoltsPerStep = 0.00392156862745098;
} // namespace

LivePacket::LivePacket(const unsigned char* payload)
    : m_reader(payload)
{
    m_reader.get_u8(); // status byte, not used

    const unsigned char status = m_reader.get_u8();
    m_onGas = (status & 0x01) != 0;
    m_statusBit1 = (status & 0x02) != 0;
    m_statusBit2 = (status & 0x04) != 0;

    // The petrol times are little-endian, the pressures and the gas time
    // big-endian: the ECU mixes both.
    for (int cylinder = 0; cylinder < 6; ++cylinder)
        m_petrolInjectionTimes[cylinder] = m_reader.get_u16l() * 0.1;

    unsigned long gasTime = m_reader.get_u8();
    gasTime = (gasTime << 8) | m_reader.get_u8();
    gasTime = (gasTime << 8) | m_reader.get_u8();
    m_gasInjectionTime = gasTime * 0.001;

    m_rpm = m_reader.get_u8();
    m_o2Voltage1 = m_reader.get_u8() * 5.0 * kAdcVoltsPerStep;
    m_gasPressure = m_reader.get_u16() * 0.01;
    m_manifoldPressure = m_reader.get_u16() * 0.01;
    m_gasCylinderMask = m_reader.get_u8();
    m_multiplier = m_reader.get_u8();
    m_supplyVoltage = (m_reader.get_u8() * 5) * kSupplyVoltsPerStep + kSupplyDiodeDrop;
    m_gasLevelRaw = m_reader.get_u8();
    m_gasLevelStage = m_reader.get_u8();
    m_reducerTemperature = m_reader.get_s8();
    m_gasTemperature = m_reader.get_s8();
    m_faultBitsA = m_reader.get_u8();
    m_injectorMaskA = m_reader.get_u8();
    m_sampleIndex = m_reader.get_u8();
    ReadSamples(m_petrolSamples);
    ReadSamples(m_gasSamples);
    m_byte43 = m_reader.get_u8();
    m_faultBitsB = m_reader.get_u8();
    m_injectorMaskB = m_reader.get_u8();
    m_byte46 = m_reader.get_u8();
    m_petrolInjectionTimes[6] = m_reader.get_u16l() * 0.1;
    m_petrolInjectionTimes[7] = m_reader.get_u16l() * 0.1;
    m_o2Voltage2 = m_reader.get_u8() * 5.0 * kAdcVoltsPerStep;

    DecodeCurrentFaults();
}

void LivePacket::ReadSamples(double* ring)
{
    // Samples that would run past the ring's end are dropped; a zero sample
    // means "no sample" and leaves 0.0.
    for (unsigned k = 0; k < kSamplesPerFrame; ++k)
    {
        const unsigned char sample = m_reader.get_u8();
        const unsigned position = m_sampleIndex + k;
        if (position < kSampleRingSize && sample != 0)
            ring[position] = sample;
    }
}

void LivePacket::DecodeCurrentFaults()
{
    // Nothing to build on the usual frame without faults.
    if (m_faultBitsA == 0xFF && m_faultBitsB == 0xFF && m_injectorMaskA == 0xFF && m_injectorMaskB == 0xFF)
        return;

    wxString text = InjectorFaultText(m_injectorMaskA, m_injectorMaskB);
    if (!text.empty())
        m_currentFaults.push_back(std::move(text));

    // The ECU interleaves the two fault bytes: B0, A1, B1, A2, B2, A3, B3, A4..A6.
    for (unsigned n = 0; n < 8; ++n)
    {
        if (!(m_faultBitsA & (1u << n)))
        {
            text = CurrentFaultTextA(n);
            if (!text.empty())
                m_currentFaults.push_back(std::move(text));
        }
        if (!(m_faultBitsB & (1u << n)))
        {
            text = CurrentFaultTextB(n);
            if (!text.empty())
                m_currentFaults.push_back(std::move(text));
        }
    }
}
