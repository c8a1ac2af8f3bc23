// Parameter-write commands: data bytes, scaling, guards and cache, checked
// on the queued frames. The same frames on a real line: CommandWireTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "CommandTestSupport.h"
#include "Controller.h"

using cmdtest::Bytes;
using cmdtest::DataOf;
using cmdtest::QueuedFrames;
using cmdtest::RequestFrame;

namespace
{

class CommandsTest : public ::testing::Test
{
protected:
    CommandsTest() { m_c.SetHost(&m_host); }

    // Online, as after the first live frame.
    void GoOnline() { m_c.m_online = 1; }

    std::vector<Bytes> Frames() const { return QueuedFrames(m_c); }
    Bytes OnlyData()
    {
        const auto frames = Frames();
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? Bytes{} : DataOf(frames.front());
    }

    cmdtest::RecordingHost m_host;
    Controller m_c;
};

} // namespace

TEST_F(CommandsTest, ScalingOfSingleValueSetters)
{
    GoOnline();
    m_c.SetSwitchRpm(550);
    EXPECT_EQ(OnlyData(), (Bytes{5}));
    EXPECT_EQ(m_c.m_switchRpm, 550);
    m_c.m_requestQueue.clear();

    m_c.SetSwitchTime(2.5);
    EXPECT_EQ(OnlyData(), (Bytes{0, 5}));
    m_c.SetSwitchTime(0.7);
    EXPECT_EQ(OnlyData(), (Bytes{0, 1}));
    EXPECT_DOUBLE_EQ(m_c.m_switchTime, 0.7);
    m_c.m_requestQueue.clear();

    m_c.SetWorkPressure(1.25);
    EXPECT_EQ(OnlyData(), (Bytes{125}));
    EXPECT_DOUBLE_EQ(m_c.m_workPressure, 1.25);
    EXPECT_EQ(m_c.m_pressureChanged, 1);
    m_c.m_requestQueue.clear();

    m_c.SetMinPressure(0.6);
    EXPECT_EQ(OnlyData(), (Bytes{60}));
    EXPECT_DOUBLE_EQ(m_c.m_minPressure, 0.6);
    m_c.m_requestQueue.clear();

    m_c.SetMinGasTemperature(-5);
    EXPECT_EQ(OnlyData(), (Bytes{0xFB}));
    EXPECT_EQ(m_c.m_minGasTemperature, -5);
    m_c.m_requestQueue.clear();

    m_c.SetGasFaultTime(259);
    EXPECT_EQ(OnlyData(), (Bytes{25}));
    m_c.m_requestQueue.clear();

    m_c.SetCylinderSwitchDelay(120);
    EXPECT_EQ(OnlyData(), (Bytes{12}));
    EXPECT_DOUBLE_EQ(m_c.m_cylinderSwitchDelay, 120.0);
    m_c.m_requestQueue.clear();

    // A value above 255 goes out as its low 8 bits.
    m_c.SetMaxGasRpm(30000);
    EXPECT_EQ(OnlyData(), (Bytes{300 - 256}));
}

TEST_F(CommandsTest, PressuresReadFromTheEcuGoBackAsTheSameByte)
{
    // 0.29 x 100 is 28.999999999999996 in binary; the ECU must get 29 back,
    // not 28, for every byte it can have sent.
    GoOnline();
    for (int raw = 0; raw <= 255; ++raw)
    {
        m_c.SetWorkPressure(raw * 0.01);
        ASSERT_EQ(OnlyData(), (Bytes{static_cast<unsigned char>(raw)})) << raw;
        m_c.SetMinPressure(raw * 0.01);
        ASSERT_EQ(DataOf(Frames().back()), (Bytes{static_cast<unsigned char>(raw)})) << raw;
        m_c.m_requestQueue.clear();
    }
}

TEST_F(CommandsTest, GuardedSettersDoNothingBeforeTheFirstLiveFrame)
{
    const std::vector<std::function<void(Controller&)>> guarded = {
        [](Controller& c) { c.SwitchFuel(true, 0); },
        [](Controller& c) { c.SetSwitchRpm(900); },
        [](Controller& c) { c.SetIgnitionCoils(2); },
        [](Controller& c) { c.SetInjectorType(9); },
        [](Controller& c) { c.SetSwitchTemperature(40); },
        [](Controller& c) { c.SetMaxGasRpm(5000); },
        [](Controller& c) { c.SetGasPressureSensor(2); },
        [](Controller& c) { c.SetReducerTempSensor(2); },
        [](Controller& c) { c.SetRpmSignal(true); },
        [](Controller& c) { c.SetGasTempSensor(2); },
        [](Controller& c) { c.SetCylinderCode(2); },
        [](Controller& c) { c.SetMinPressure(0.9); },
        [](Controller& c) { c.SetGasFaultTime(300); },
        [](Controller& c) { c.SetTurbo(1); },
        [](Controller& c) { c.SetSwitchTime(3.0); },
        [](Controller& c) { c.SetCylinderSwitchDelay(50); },
        [](Controller& c) { c.SetManifoldSensor(2); },
        [](Controller& c) { c.SetWorkPressure(1.5); },
        [](Controller& c) { c.SetFuelType(1); },
        [](Controller& c) { c.SetInjectorCorrection(0, 20.0); },
        [](Controller& c) { c.SetMinGasRpm(800); },
        [](Controller& c) { c.SetMinGasTemperature(10); },
    };
    for (std::size_t i = 0; i < guarded.size(); ++i)
    {
        Controller c;
        guarded[i](c);
        EXPECT_TRUE(c.m_requestQueue.empty()) << "setter " << i;
        EXPECT_EQ(c.m_switchRpm, 0);
        EXPECT_EQ(c.m_ignitionCoils, 0);
        EXPECT_EQ(c.m_injectorType, 0);
        EXPECT_EQ(c.m_injectorParamB, 0);
        EXPECT_EQ(c.m_switchTemperature, 0);
        EXPECT_EQ(c.m_maxGasRpm, 0);
        EXPECT_EQ(c.m_gasPressureSensor, 0);
        EXPECT_EQ(c.m_reducerTempSensor, 0);
        EXPECT_EQ(c.m_rpmSignalVolts, 0);
        EXPECT_EQ(c.m_gasTempSensor, 0);
        EXPECT_EQ(c.m_cylinderCode, 0);
        EXPECT_EQ(c.m_minPressure, 0.0);
        EXPECT_EQ(c.m_gasFaultTime, 0);
        EXPECT_EQ(c.m_turbo, 0);
        EXPECT_EQ(c.m_switchTime, 0.0);
        EXPECT_EQ(c.m_cylinderSwitchDelay, 0.0);
        EXPECT_EQ(c.m_manifoldSensor, 0);
        EXPECT_EQ(c.m_workPressure, 0.0);
        EXPECT_EQ(c.m_pressureChanged, 0);
        EXPECT_EQ(c.m_fuelIsCng, 0);
        EXPECT_EQ(c.m_injectorCorrections[0], 0.0);
        EXPECT_EQ(c.m_minGasRpm, 0);
        EXPECT_EQ(c.m_minGasTemperature, 0);
    }

    // After a link reset the gate is shut again.
    GoOnline();
    m_c.ResetLink();
    m_c.SetSwitchRpm(900);
    EXPECT_TRUE(m_c.m_requestQueue.empty());
    EXPECT_EQ(m_c.m_switchRpm, 0);
}

TEST_F(CommandsTest, UnguardedSendersWorkOffline)
{
    m_c.SetGasSwitchTimeEnabled(1);
    m_c.EnableGasLevel();
    m_c.EraseFaults();
    m_c.StartCalibration();
    m_c.StopCalibration();
    m_c.ErasePetrolCurve();
    m_c.SendCalibrationWindow(1, 2, 3);
    m_c.RequestParameterBlock(0);
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], RequestFrame(46, {1}));
    EXPECT_EQ(frames[1], RequestFrame(49, {1}));
    EXPECT_EQ(frames[2], RequestFrame(16, {0}));
    EXPECT_EQ(frames[3], RequestFrame(37, {}));
    EXPECT_EQ(frames[4], RequestFrame(5, {0}));
    EXPECT_EQ(frames[5], RequestFrame(42, {1}));
    EXPECT_EQ(frames[6], RequestFrame(25, {1, 2, 3}));
    EXPECT_EQ(frames[7], RequestFrame(12, {0}));
}

TEST_F(CommandsTest, ThreeCylinderCodesBeforeATickLeaveOneRequestWithTheLast)
{
    GoOnline();
    m_c.SetCylinderCode(1);
    m_c.SetSwitchRpm(700);
    m_c.SetCylinderCode(3);
    m_c.SetCylinderCode(5);
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], RequestFrame(27, {5}));
    EXPECT_EQ(frames[1], RequestFrame(9, {7}));
    EXPECT_EQ(m_c.m_cylinderCode, 5);
}

TEST_F(CommandsTest, SwitchFuelMaskZeroMeansEveryCylinder)
{
    GoOnline();
    m_c.m_cylinderCode = 3; // six cylinders
    m_c.SwitchFuel(true, 0);
    EXPECT_EQ(OnlyData(), (Bytes{3, 0x3F}));
    m_c.m_cylinderCode = 6; // one-cylinder motorcycle
    m_c.SwitchFuel(true, 0);
    EXPECT_EQ(OnlyData(), (Bytes{3, 0x01}));
    m_c.m_cylinderCode = 1;
    m_c.SwitchFuel(false, 0);
    EXPECT_EQ(OnlyData(), (Bytes{2, 0x0F}));
    m_c.m_cylinderCode = 5;
    m_c.SwitchFuel(false, 0);
    EXPECT_EQ(OnlyData(), (Bytes{2, 0xFF}));
    m_c.SwitchFuel(true, 0x24);
    EXPECT_EQ(OnlyData(), (Bytes{3, 0x24}));
    // A code from the line outside 0..7 must not shift by a negative count.
    m_c.m_cylinderCode = 200;
    m_c.SwitchFuel(true, 0);
    EXPECT_EQ(OnlyData(), (Bytes{3, 0xFF}));
}

TEST_F(CommandsTest, FinishCalibrationSendsTheLearnedPointAndEndsTheCalibration)
{
    m_c.m_calibrating = 1;
    m_c.m_workPressure = 1.17;
    m_c.m_calibrationTime = 45.9;
    m_c.m_calibrationMultiplier = 118;
    m_c.m_calibrationGasTemperature = 41;
    m_c.FinishCalibration();
    EXPECT_EQ(OnlyData(), (Bytes{117, 45, 118, 41, 70}));
    EXPECT_EQ(m_c.m_calibrating, 0);
    EXPECT_EQ(m_host.m_updates, 1);

    m_c.m_workPressure = 2.20;
    m_c.FinishCalibration();
    EXPECT_EQ(OnlyData(), (Bytes{220, 45, 118, 41, 0xFF}));
    // 2.13 bar: 127.8 -> 127 is the last value sent as it is.
    m_c.m_workPressure = 2.13;
    m_c.FinishCalibration();
    EXPECT_EQ(DataOf(Frames().front())[4], 127);
    m_c.m_workPressure = 2.14;
    m_c.FinishCalibration();
    EXPECT_EQ(DataOf(Frames().front())[4], 0xFF);
}

TEST_F(CommandsTest, StartAndStopCalibrationOrderTheFlag)
{
    m_c.StartCalibration();
    EXPECT_EQ(m_c.m_calibrating, 1);
    EXPECT_EQ(Frames().back(), (Bytes{0xAA, 37, 0xCF}));
    m_c.StopCalibration();
    EXPECT_EQ(m_c.m_calibrating, 0);
    EXPECT_EQ(Frames().back(), RequestFrame(5, {0}));
}

TEST_F(CommandsTest, MultiplierMapSendsEntriesTenToTheEnd)
{
    double map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = (i % 200) / 100.0; // 0.29, 1.13 ... come back whole
    for (int i = 0; i < 10; ++i)
        map[i] = 9.99;
    m_c.SendMultiplierMap(map);
    const Bytes data = OnlyData();
    ASSERT_EQ(data.size(), 246u);
    for (int i = 10; i < 256; ++i)
        EXPECT_EQ(data[i - 10], i % 200) << "entry " << i;
    map[10] = 1.12;
    m_c.SendMultiplierMap(map);
    EXPECT_EQ(OnlyData()[0], 112);
}

TEST_F(CommandsTest, MultiplierMapBytesSaturateInsteadOfWrapping)
{
    const struct { double value; int sent; } cases[] = {
        {1.15, 115}, {2.55, 255}, {2.60, 255}, {-0.01, 0}, {0.0, 0}, {1e300, 255},
        {std::nan(""), 0}, {-INFINITY, 0}};
    double map[256] = {};
    for (const auto& c : cases)
    {
        map[200] = c.value;
        m_c.SendMultiplierMap(map);
        EXPECT_EQ(OnlyData()[190], c.sent) << c.value;
    }
}

TEST_F(CommandsTest, MapPointsAreTenZerosThenTheIndices)
{
    const unsigned char indices[10] = {12, 40, 80, 120, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3};
    m_c.SendMapPoints(indices);
    Bytes expected(10, 0);
    expected.insert(expected.end(), std::begin(indices), std::end(indices));
    EXPECT_EQ(OnlyData(), expected);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(m_c.m_mapPointIndices[i], indices[i]);
}

TEST_F(CommandsTest, GasLevelIsEnabledOncePerResetAndBeforeItsSettings)
{
    m_c.SetGasLevelSettings(2, 2.5, 0.98, 1.5, 0.99);
    auto frames = Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], RequestFrame(49, {1}));
    EXPECT_EQ(frames[1], RequestFrame(13, {125, 49, 75, 50, 2}));
    EXPECT_EQ(m_c.m_gasLevelSensorType, 2);
    EXPECT_EQ(m_c.m_gasLevelThresholds[0], 125);
    EXPECT_EQ(m_c.m_gasLevelThresholds[1], 49);
    EXPECT_EQ(m_c.m_gasLevelThresholds[3], 50);

    // Already enabled: the next settings go out alone.
    m_c.m_requestQueue.clear();
    m_c.SetGasLevelSettings(1, 1, 2, 3, 4);
    frames = Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][1], 13);

    m_c.m_requestQueue.clear();
    m_c.EnableGasLevel();
    m_c.EnableGasLevel();
    EXPECT_TRUE(m_c.m_requestQueue.empty());
    m_c.ResetLink();
    m_c.EnableGasLevel();
    m_c.m_requestQueue.clear();
    m_c.EnableGasLevel();
    EXPECT_TRUE(m_c.m_requestQueue.empty());
    m_c.ResetLink();
    m_c.EnableGasLevel();
    EXPECT_EQ(Frames(), (std::vector<Bytes>{RequestFrame(49, {1})}));
}

TEST_F(CommandsTest, InjectorTypeSendsOnlyWhatDiffers)
{
    GoOnline();
    // As a parameter frame with type code 5 leaves the cache.
    m_c.m_injectorType = 5;
    m_c.m_injectorParamA = 6;
    m_c.m_injectorParamB = 50;
    m_c.SetInjectorType(9);
    EXPECT_EQ(Frames(), (std::vector<Bytes>{RequestFrame(14, {9}), RequestFrame(48, {35})}));
    EXPECT_EQ(m_c.m_injectorType, 9);
    EXPECT_EQ(m_c.m_injectorParamA, 6);
    EXPECT_EQ(m_c.m_injectorParamB, 35);

    m_c.m_requestQueue.clear();
    m_c.SetInjectorType(9);
    EXPECT_TRUE(m_c.m_requestQueue.empty());

    m_c.SetInjectorType(2);
    EXPECT_EQ(Frames(), (std::vector<Bytes>{RequestFrame(14, {2}), RequestFrame(36, {10}), RequestFrame(48, {0})}));

    // Codes outside the tables do nothing.
    m_c.m_requestQueue.clear();
    m_c.SetInjectorType(10);
    m_c.SetInjectorType(-1);
    m_c.SetInjectorType(255);
    EXPECT_TRUE(m_c.m_requestQueue.empty());
    EXPECT_EQ(m_c.m_injectorType, 2);
}

TEST_F(CommandsTest, InjectorCorrectionSendsAllEightCylinders)
{
    GoOnline();
    m_c.SetInjectorCorrection(2, 50.0);
    EXPECT_EQ(OnlyData(), (Bytes{128, 128, 192, 128, 128, 128, 128, 128}));
    EXPECT_DOUBLE_EQ(m_c.m_injectorCorrections[2], 50.0);
    m_c.SetInjectorCorrection(0, -100.0);
    m_c.SetInjectorCorrection(7, 21.0);
    EXPECT_EQ(OnlyData(), (Bytes{0, 128, 192, 128, 128, 128, 128, 154}));

    // +100 % would be 256 and wrap to -100 %; it stops at 255.
    m_c.SetInjectorCorrection(1, 100.0);
    EXPECT_EQ(OnlyData()[1], 255);
    m_c.SetInjectorCorrection(1, 150.0);
    EXPECT_EQ(OnlyData()[1], 255);
    m_c.SetInjectorCorrection(1, -150.0);
    EXPECT_EQ(OnlyData()[1], 0);

    // Outside 0..7 nothing changes and nothing new is queued.
    m_c.m_requestQueue.clear();
    m_c.SetInjectorCorrection(8, 10.0);
    m_c.SetInjectorCorrection(-1, 10.0);
    EXPECT_TRUE(m_c.m_requestQueue.empty());
    EXPECT_DOUBLE_EQ(m_c.m_injectorCorrections[7], 21.0);
}

TEST_F(CommandsTest, InjectorCorrectionByteReadsBackAsTheSamePercent)
{
    // The ECU's byte b means ceil(b x 100 / 128 - 100) percent.
    GoOnline();
    for (int percent = -100; percent <= 99; ++percent)
    {
        m_c.SetInjectorCorrection(0, percent);
        const int b = OnlyData()[0];
        EXPECT_EQ(static_cast<int>(std::ceil(b * 100 * 0.0078125 - 100)), percent);
    }
}

TEST_F(CommandsTest, InjectorCorrectionResendsTheOtherCylindersAsRead)
{
    // Every byte the ECU can send, in the untouched cylinders, goes back
    // unchanged; only the edited cylinder is re-encoded.
    GoOnline();
    for (int raw = 0; raw < 256; ++raw)
    {
        for (int k = 0; k < 8; ++k)
        {
            m_c.m_injectorCorrectionBytes[k] = static_cast<unsigned char>(raw);
            m_c.m_injectorCorrections[k] = std::ceil(raw * 100 * 0.0078125 - 100);
        }
        m_c.m_requestQueue.clear();
        m_c.SetInjectorCorrection(3, 10.0);
        const Bytes data = OnlyData();
        ASSERT_EQ(data.size(), 8u);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(data[k], k == 3 ? 140 : raw) << "raw " << raw << " cylinder " << k;
    }
}

TEST_F(CommandsTest, EraseFaultsEmptiesBothLists)
{
    m_c.m_storedFaults.push_back("a");
    m_c.m_currentFaults.push_back("b");
    m_c.EraseFaults();
    EXPECT_EQ(OnlyData(), (Bytes{0}));
    EXPECT_EQ(m_c.GetStoredFaultCount(), 0);
    EXPECT_EQ(m_c.GetCurrentFaultCount(), 0);
}
