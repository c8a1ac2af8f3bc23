#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "DecodedPayload.h"
#include "FaultTexts.h"
#include "HistoryBlock.h"
#include "ParamPacket.h"
#include "ParamPayloadBuilder.h"

namespace
{
using decodetest::U;
using Decoded = decodetest::Decoded<ParamPacket, ParamPayloadBuilder>;

ParamPayloadBuilder WithFaultList(std::vector<unsigned char> list)
{
    ParamPayloadBuilder b;
    b.StoredFaults(list.data(), list.size());
    return b;
}

std::vector<wxString> StoredFaults(std::vector<unsigned char> list)
{
    return Decoded(WithFaultList(std::move(list))).packet.m_storedFaults;
}
} // namespace

TEST(ParamPacket, ReadsSettingsAtTheirOffsets)
{
    ParamPayloadBuilder b;
    b.Byte(16, 0x0F).Byte(17, 2).Byte(18, 1).Byte(19, 12).Byte(20, 60)
        .Byte(21, 45).Byte(22, 90).Byte(23, 135).Byte(24, 180).Byte(25, 3)
        .Byte(26, 4).Byte(27, 5).Byte(28, 6).Byte(29, 7)
        .Byte(30, 0x0A)
        .Byte(31, 0xFB)                       // signed: -5
        .Byte(32, 120).Byte(35, 30).Byte(36, 60).Byte(37, 20).Byte(39, 30)
        .Byte(41, 9)
        .Byte(554, 0x03)
        .Byte(566, 5).Byte(567, 0xF6);       // signed: -10
    for (int i = 0; i < 10; ++i)
        b.Byte(52 + i, static_cast<unsigned char>(i == 9 ? 0xFF : 10 * i + 5));
    const Decoded d(b);
    const ParamPacket& p = d.packet;

    EXPECT_EQ(0x0F, p.m_gasCylinderMask);
    EXPECT_EQ(2, p.m_ignitionCoils);
    EXPECT_EQ(1, p.m_cylinderCode);
    EXPECT_EQ(1200, p.m_switchRpm);
    EXPECT_EQ(6000, p.m_maxGasRpm);
    EXPECT_EQ(45, p.m_gasLevelThresholds[0]);
    EXPECT_EQ(180, p.m_gasLevelThresholds[3]);
    EXPECT_EQ(3, p.m_gasLevelSensorType);
    EXPECT_EQ(4, p.m_reducerTempSensor);
    EXPECT_EQ(5, p.m_gasTempSensor);
    EXPECT_EQ(6, p.m_gasPressureSensor);
    EXPECT_EQ(7, p.m_manifoldSensor);
    EXPECT_EQ(1, p.m_rpmSignalVolts);
    EXPECT_EQ(1, p.m_turbo);
    EXPECT_EQ(-5, p.m_switchTemperature);
    EXPECT_DOUBLE_EQ(1.2, p.m_workPressure);
    EXPECT_EQ(30, p.m_calibrationGasTemperature);
    EXPECT_DOUBLE_EQ(0.6, p.m_minPressure);
    EXPECT_EQ(200, p.m_gasFaultTime);
    EXPECT_DOUBLE_EQ(300.0, p.m_cylinderSwitchDelay);
    EXPECT_EQ(9, p.m_injectorCode);
    EXPECT_EQ(5, p.m_mapPointIndices[0]);
    EXPECT_EQ(85, p.m_mapPointIndices[8]);
    EXPECT_EQ(0xFF, p.m_mapPointIndices[9]);
    EXPECT_EQ(1, p.m_gasSwitchTimeEnabled);
    EXPECT_EQ(1, p.m_fuelIsCng);
    EXPECT_EQ(500, p.m_minGasRpm);
    EXPECT_EQ(-10, p.m_minGasTemperature);

    // The other bits of the flag bytes mean nothing.
    const Decoded other(ParamPayloadBuilder().Byte(30, 0xF5).Byte(554, 0xFC));
    EXPECT_EQ(0, other.packet.m_rpmSignalVolts);
    EXPECT_EQ(0, other.packet.m_turbo);
    EXPECT_EQ(0, other.packet.m_gasSwitchTimeEnabled);
    EXPECT_EQ(0, other.packet.m_fuelIsCng);
}

TEST(ParamPacket, KeepsTheRawSettingsBlock)
{
    ParamPayloadBuilder b;
    for (std::size_t i = 0; i < kParamPayloadSize; ++i)
        b.Byte(i, static_cast<unsigned char>(i * 7 + 3));
    const Decoded d(b);
    for (std::size_t k = 0; k < kSettingsBlockSize; ++k)
        ASSERT_EQ(d.bytes[kSettingsBlockOffset + k], d.packet.m_settingsBlock[k]) << "block byte " << k;
}

TEST(ParamPacket, SwitchTimeJoinsBytes38And557)
{
    EXPECT_DOUBLE_EQ(2.5, Decoded(ParamPayloadBuilder().Byte(38, 0x05).Byte(557, 0x00)).packet.m_switchTime);
    EXPECT_DOUBLE_EQ(128.0, Decoded(ParamPayloadBuilder().Byte(38, 0x00).Byte(557, 0x01)).packet.m_switchTime);
    EXPECT_DOUBLE_EQ(30.0, Decoded(ParamPayloadBuilder().SwitchTime(30.0)).packet.m_switchTime);
}

TEST(ParamPacket, MultiplierMapFromBaseAndCorrection)
{
    EXPECT_DOUBLE_EQ(150.0, MultiplierMapValue(100, 64));
    EXPECT_DOUBLE_EQ(100.0, MultiplierMapValue(100, 0));
    EXPECT_DOUBLE_EQ(255.0 * (1 + 255 / 128.0), MultiplierMapValue(255, 255));

    ParamPayloadBuilder b;
    for (int i = 0; i < 10; ++i)
        b.Byte(52 + i, 0x55);                // map points must not leak into the map
    b.Byte(62, 100).Byte(308, 64)              // entry 10
        .Byte(62 + 25, 112).Byte(308 + 25, 0)  // entry 35
        .Byte(307, 120).Byte(553, 32);         // entry 255
    const Decoded d(b);
    for (int i = 0; i < 10; ++i)
        EXPECT_DOUBLE_EQ(0.0, d.packet.m_multiplierMap[i]) << i;
    EXPECT_DOUBLE_EQ(150.0, d.packet.m_multiplierMap[10]);
    EXPECT_DOUBLE_EQ(112.0, d.packet.m_multiplierMap[35]);
    EXPECT_DOUBLE_EQ(150.0, d.packet.m_multiplierMap[255]);
    EXPECT_DOUBLE_EQ(0.0, d.packet.m_multiplierMap[11]);
}

TEST(ParamPacket, InjectorCorrectionsRoundUp)
{
    EXPECT_DOUBLE_EQ(0.0, InjectorCorrectionPercent(128));
    EXPECT_DOUBLE_EQ(21.0, InjectorCorrectionPercent(154));
    EXPECT_DOUBLE_EQ(-21.0, InjectorCorrectionPercent(100));
    EXPECT_DOUBLE_EQ(-100.0, InjectorCorrectionPercent(0));
    EXPECT_DOUBLE_EQ(100.0, InjectorCorrectionPercent(255));
    EXPECT_FALSE(std::signbit(InjectorCorrectionPercent(127)));

    ParamPayloadBuilder b;
    const unsigned char raw[8] = {128, 154, 100, 0, 255, 129, 127, 128};
    for (unsigned k = 0; k < 8; ++k)
        b.Byte(558 + k, raw[k]);
    const Decoded d(b);
    const double expected[8] = {0, 21, -21, -100, 100, 1, 0, 0};
    for (unsigned k = 0; k < 8; ++k)
        EXPECT_DOUBLE_EQ(expected[k], d.packet.m_injectorCorrections[k]) << "cylinder " << k + 1;
}

TEST(ParamPacket, InjectorTablesForTheOfferedTypes)
{
    EXPECT_EQ(5, kInjectorTypeTable[5]);
    EXPECT_EQ(6, kInjectorParamATable[5]);
    EXPECT_EQ(50, kInjectorParamBTable[5]);
    EXPECT_EQ(9, kInjectorTypeTable[9]);
    EXPECT_EQ(6, kInjectorParamATable[9]);
    EXPECT_EQ(35, kInjectorParamBTable[9]);
    EXPECT_EQ(10, kInjectorParamATable[2]);
    EXPECT_EQ(0, kInjectorParamBTable[2]);
}

TEST(ParamPacket, StoredFaultItems)
{
    EXPECT_TRUE(StoredFaults({}).empty());
    EXPECT_EQ((std::vector<wxString>{wxString(), U("电压错误 ")}), StoredFaults({0x00, 0xFF, 0xFF, 0x02}));
    EXPECT_EQ((std::vector<wxString>{U("燃气喷嘴故障：  1 ")}), StoredFaults({0x00, 0xFE, 0xFF}));
    // Codes 8 and 10 and above add nothing and take one byte each.
    EXPECT_EQ((std::vector<wxString>{U("T喷射时间太长 "), U("电压错误 ")}), StoredFaults({0x08, 0x01, 0x0A, 0x02}));
    EXPECT_EQ((std::vector<wxString>{U("燃气喷嘴故障：  2 ")}), StoredFaults({0x08, 0x00, 0xFD, 0xFF}));
    // The stored list keeps its own wording.
    const std::vector<wxString> every = {
        U("T喷射时间太长 "), U("电压错误 "), U("燃气压力太高 "), U("燃气压力太低 "),
        U("点火电压太高 "), U("汽油没有喷射 "), U("汽车固件无法控制 "), U("用燃气时电源电压过低 "),
    };
    EXPECT_EQ(every, StoredFaults({1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(ParamPacket, InjectorItemCutByTheEndOfTheList)
{
    // Filler of 37 ignored codes, then an injector item in the last 3 bytes.
    std::vector<unsigned char> fits(37, 0x0A);
    fits.insert(fits.end(), {0x00, 0xFE, 0xFF});
    EXPECT_EQ((std::vector<wxString>{U("燃气喷嘴故障：  1 ")}), StoredFaults(fits));

    // Beginning at payload byte 609 or 610 it is cut and adds nothing.
    std::vector<unsigned char> at609(38, 0x0A);
    at609.insert(at609.end(), {0x00, 0xFE});
    EXPECT_TRUE(StoredFaults(at609).empty());
    std::vector<unsigned char> at610(39, 0x0A);
    at610.push_back(0x00);
    EXPECT_TRUE(StoredFaults(at610).empty());
    // What precedes the cut item stays.
    std::vector<unsigned char> before(37, 0x0A);
    before.insert(before.end(), {0x03, 0x00, 0xFE});
    EXPECT_EQ((std::vector<wxString>{U("燃气压力太高 ")}), StoredFaults(before));
}

TEST(ParamPacket, CountersAndRecordsLowByteFirst)
{
    ParamPayloadBuilder b;
    b.Byte(611, 0xF6).Byte(612, 0x06);                       // counter 0: 1782
    b.Byte(611 + 16, 0x80).Byte(611 + 17, 0xFC).Byte(611 + 18, 0x0A); // counter 4: 720000
    const unsigned char date[7] = {0xDC, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x3A};
    for (int i = 0; i < 7; ++i)
        b.Byte(611 + 42 + 11 + i, date[i]);                  // record 1
    const unsigned char value[4] = {0xDD, 0xC3, 0xE6, 0x58};
    for (int i = 0; i < 4; ++i)
        b.Byte(611 + 42 + 11 + 7 + i, value[i]);
    b.Byte(611 + 42 + 8 * 11 + 10, 0x7F);                    // record 8, value's high byte
    b.Byte(611 + 141, 0xEE);                                 // not read back
    const Decoded d(b);

    EXPECT_EQ(1782u, d.packet.m_workCounters[0]);
    EXPECT_EQ(0u, d.packet.m_workCounters[1]);
    EXPECT_EQ(720000u, d.packet.m_workCounters[4]);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(date[i], d.packet.m_historyRecords[1].date[i]) << i;
    EXPECT_EQ(0x58E6C3DDu, d.packet.m_historyRecords[1].value);
    EXPECT_EQ(0x7F000000u, d.packet.m_historyRecords[8].value);
    EXPECT_EQ(0u, d.packet.m_historyRecords[0].value);
}

TEST(HistoryBlock, ReadsExactlyItsBytes)
{
    std::vector<unsigned char> bytes(HistoryBlock::kSize + 1, 0);
    bytes[HistoryBlock::kSize] = 0xA5;
    Kandrel reader(bytes.data());
    const HistoryBlock block(reader);
    EXPECT_EQ(0xA5, reader.get_u8());
}
