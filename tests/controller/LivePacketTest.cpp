#include <gtest/gtest.h>

#include <vector>

#include "DecodedPayload.h"
#include "FaultTexts.h"
#include "LivePacket.h"
#include "LivePayloadBuilder.h"

namespace
{
using decodetest::U;
using Decoded = decodetest::Decoded<LivePacket, LivePayloadBuilder>;

const char kHeading[] = "燃气喷嘴故障： ";
} // namespace

TEST(LivePacket, ReadsEachFieldAtItsOffsetWithItsByteOrder)
{
    LivePayloadBuilder b;
    b.Byte(1, 0x06)
        .Byte(2, 0x2C).Byte(3, 0x01)           // cylinder 1, low byte first: 300 -> 30.0 ms
        .Byte(12, 0x23).Byte(13, 0x00)         // cylinder 6: 3.5 ms
        .Byte(14, 0x01).Byte(15, 0x02).Byte(16, 0x03) // gas time, high byte first
        .Byte(17, 8)
        .Byte(18, 255)
        .Byte(19, 0x01).Byte(20, 0x2C)         // gas pressure, high byte first
        .Byte(21, 0x00).Byte(22, 0x21)
        .Byte(23, 0x0F).Byte(24, 123)
        .Byte(25, 218).Byte(26, 173).Byte(27, 3)
        .Byte(28, 0xF6).Byte(29, 0x80)
        .Byte(47, 0x01).Byte(48, 0x02)         // cylinder 7: 0x0201 = 513 -> 51.3 ms
        .Byte(49, 0x24).Byte(50, 0x00)
        .Byte(51, 51);
    const Decoded d(b);
    const LivePacket& p = d.packet;

    EXPECT_FALSE(p.m_onGas);
    EXPECT_TRUE(p.m_statusBit1);
    EXPECT_TRUE(p.m_statusBit2);
    EXPECT_DOUBLE_EQ(30.0, p.m_petrolInjectionTimes[0]);
    EXPECT_DOUBLE_EQ(3.5, p.m_petrolInjectionTimes[5]);
    EXPECT_DOUBLE_EQ(51.3, p.m_petrolInjectionTimes[6]);
    EXPECT_DOUBLE_EQ(3.6, p.m_petrolInjectionTimes[7]);
    EXPECT_DOUBLE_EQ(66.051, p.m_gasInjectionTime);
    EXPECT_DOUBLE_EQ(8.0, p.m_rpm);
    EXPECT_DOUBLE_EQ(5.0, p.m_o2Voltage1);
    EXPECT_DOUBLE_EQ(3.0, p.m_gasPressure);
    EXPECT_DOUBLE_EQ(0.33, p.m_manifoldPressure);
    EXPECT_EQ(0x0F, p.m_gasCylinderMask);
    EXPECT_EQ(123, p.m_multiplier);
    EXPECT_DOUBLE_EQ(218 * 5 * 0.01226536585102597 + 0.7, p.m_supplyVoltage);
    EXPECT_EQ(173, p.m_gasLevelRaw);
    EXPECT_EQ(3, p.m_gasLevelStage);
    EXPECT_DOUBLE_EQ(-10.0, p.m_reducerTemperature);
    EXPECT_DOUBLE_EQ(-128.0, p.m_gasTemperature);
    EXPECT_NEAR(1.0, p.m_o2Voltage2, 1e-12);

    // Only the low three status bits mean anything.
    const Decoded high(LivePayloadBuilder().Byte(1, 0xF9));
    EXPECT_TRUE(high.packet.m_onGas);
    EXPECT_FALSE(high.packet.m_statusBit1);
    EXPECT_FALSE(high.packet.m_statusBit2);
}

TEST(LivePacket, BuilderAndDecoderAgreeOnReadings)
{
    LivePayloadBuilder b;
    b.Status(true, false, true).PetrolTime(3, 3.4).PetrolTime(7, 12.5).GasInjectionTime(4.325)
        .Pressures(1.2, 0.33).Temperatures(-40, 85).SupplyVoltage(13.9);
    const Decoded d(b);
    EXPECT_TRUE(d.packet.m_onGas);
    EXPECT_TRUE(d.packet.m_statusBit2);
    EXPECT_DOUBLE_EQ(3.4, d.packet.m_petrolInjectionTimes[3]);
    EXPECT_DOUBLE_EQ(12.5, d.packet.m_petrolInjectionTimes[7]);
    EXPECT_DOUBLE_EQ(4.325, d.packet.m_gasInjectionTime);
    EXPECT_DOUBLE_EQ(1.2, d.packet.m_gasPressure);
    EXPECT_DOUBLE_EQ(-40.0, d.packet.m_reducerTemperature);
    EXPECT_DOUBLE_EQ(85.0, d.packet.m_gasTemperature);
    EXPECT_NEAR(13.9, d.packet.m_supplyVoltage, 0.035);
}

TEST(LivePacket, SamplesLandInTheRingAndStopAtItsEnd)
{
    const unsigned char petrol[5] = {1, 2, 3, 4, 5};
    const unsigned char gas[5] = {6, 0, 7, 8, 9};
    const Decoded wrap(LivePayloadBuilder().Samples(253, petrol, gas));
    EXPECT_EQ(253, wrap.packet.m_sampleIndex);
    EXPECT_DOUBLE_EQ(1.0, wrap.packet.m_petrolSamples[253]);
    EXPECT_DOUBLE_EQ(2.0, wrap.packet.m_petrolSamples[254]);
    EXPECT_DOUBLE_EQ(3.0, wrap.packet.m_petrolSamples[255]);
    EXPECT_DOUBLE_EQ(0.0, wrap.packet.m_petrolSamples[0]);
    EXPECT_DOUBLE_EQ(0.0, wrap.packet.m_petrolSamples[1]);
    EXPECT_DOUBLE_EQ(6.0, wrap.packet.m_gasSamples[253]);
    EXPECT_DOUBLE_EQ(0.0, wrap.packet.m_gasSamples[254]);
    EXPECT_DOUBLE_EQ(7.0, wrap.packet.m_gasSamples[255]);

    const unsigned char withZero[5] = {10, 11, 0, 13, 14};
    const Decoded start(LivePayloadBuilder().Samples(0, withZero, withZero));
    EXPECT_DOUBLE_EQ(10.0, start.packet.m_petrolSamples[0]);
    EXPECT_DOUBLE_EQ(0.0, start.packet.m_petrolSamples[2]);
    EXPECT_DOUBLE_EQ(14.0, start.packet.m_petrolSamples[4]);
    EXPECT_DOUBLE_EQ(0.0, start.packet.m_petrolSamples[5]);
}

TEST(LivePacket, CurrentFaultsFollowTheEcuOrder)
{
    EXPECT_TRUE(Decoded(LivePayloadBuilder()).packet.m_currentFaults.empty());
    // Bits 0 and 7 of A and 4..7 of B carry no text.
    EXPECT_TRUE(Decoded(LivePayloadBuilder().Faults(0x7E, 0x0F)).packet.m_currentFaults.empty());

    const Decoded all(LivePayloadBuilder().Faults(0x00, 0x00).InjectorMasks(0xFA, 0xFF));
    const std::vector<wxString> expected = {
        U(kHeading) + " 1  3 ",
        U("数据错误，请检查设置 "),   // B0
        U("T喷射时间过长 "),          // A1
        U("用燃气时电源电压过低 "),   // B1
        U("电压错误 "),               // A2
        U("工作时间错误 "),           // B2
        U("燃气压力太高  "),          // A3
        U("无法写入文件 ！！！ "),    // B3
        U("燃气压力太低 "),           // A4
        U("点火电压太高 "),           // A5
        U("汽油没有喷射 "),           // A6
    };
    EXPECT_EQ(expected, all.packet.m_currentFaults);

    const Decoded one(LivePayloadBuilder().Faults(0xF7, 0xFF));
    ASSERT_EQ(1u, one.packet.m_currentFaults.size());
    EXPECT_EQ(U("燃气压力太高  "), one.packet.m_currentFaults[0]);
}

TEST(InjectorFaultText, HeadingAndNumbersFromMaskA)
{
    EXPECT_TRUE(InjectorFaultText(0xFF, 0xFF).empty());
    EXPECT_EQ(U(kHeading) + " 1  3 ", InjectorFaultText(0xFA, 0xFF));
    // Mask B only decides whether there is an entry.
    EXPECT_EQ(U(kHeading), InjectorFaultText(0xFF, 0x00));
    EXPECT_EQ(U(kHeading) + " 1  3 ", InjectorFaultText(0xFA, 0x00));
    EXPECT_EQ(U(kHeading) + " 1  2  3  4  5  6  7  8 ", InjectorFaultText(0x00, 0xFF));
    EXPECT_EQ(U(kHeading) + " 8 ", InjectorFaultText(0x7F, 0xFF));
}
