#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include <wx/filename.h>

#include "ApplyTestSupport.h"
#include "LivePayloadBuilder.h"
#include "ParamPacket.h"
#include "ParamPayloadBuilder.h"
#include "SimulatedEcu.h"

using namespace decodetest;

namespace
{
wxString U(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

LivePayloadBuilder IdleOnGas()
{
    LivePayloadBuilder b;
    b.Status(true, true, false)
        .PetrolTime(0, 3.4).PetrolTime(1, 3.5).PetrolTime(6, 2.0).PetrolTime(7, 2.1)
        .GasInjectionTime(4.125)
        .Rpm(8)
        .O2Voltages(0.8, 0.6)
        .Pressures(1.2, 0.33)
        .GasCylinderMask(0x0F)
        .Multiplier(123)
        .SupplyVoltage(13.9)
        .GasLevel(173, 3)
        .Temperatures(-10, 22);
    return b;
}

void QueueCommand(Controller& c, unsigned char command, unsigned char data)
{
    c.m_request.Build(command, data);
    c.QueueRequest();
}

class ControllerApply : public ::testing::Test
{
protected:
    ControllerApply()
    {
        m_controller.SetHost(&m_host);
        m_observer.OnAttach();
        m_second.OnAttach();
    }

    Controller m_controller;
    RecordingHost m_host;
    RecordingObserver m_observer{m_controller};
    RecordingObserver m_second{m_controller};
};
} // namespace

TEST_F(ControllerApply, LiveFrameFillsTheReadingsBeforeObserversRun)
{
    FeedReply(m_controller, IdleOnGas().Frame());
    const Controller& c = m_controller;

    EXPECT_EQ(1, c.m_connected);
    // The first frame's observers already see the link as live.
    EXPECT_EQ(std::vector<unsigned>{1}, m_observer.m_connectedSeen);
    EXPECT_EQ("D", m_observer.m_events);
    EXPECT_EQ("D", m_second.m_events);
    ASSERT_EQ(1u, m_observer.m_rpm.size());
    EXPECT_DOUBLE_EQ(8.0, m_observer.m_rpm[0]);
    EXPECT_EQ(0x0Fu, m_observer.m_gasMasks[0]);

    EXPECT_EQ(1, c.m_onGas);
    EXPECT_EQ(1, c.m_statusBit1);
    EXPECT_EQ(0, c.m_statusBit2);
    EXPECT_DOUBLE_EQ(3.4, c.m_petrolInjectionTimes[0]);
    EXPECT_DOUBLE_EQ(3.5, c.m_petrolInjectionTimes[1]);
    EXPECT_DOUBLE_EQ(0.0, c.m_petrolInjectionTimes[2]);
    EXPECT_DOUBLE_EQ(2.0, c.m_petrolInjectionTimes[6]);
    EXPECT_DOUBLE_EQ(2.1, c.m_petrolInjectionTimes[7]);
    EXPECT_DOUBLE_EQ(4.125, c.m_gasInjectionTime);
    EXPECT_NEAR(0.8, c.m_o2Voltage1, 0.01);
    EXPECT_NEAR(0.6, c.m_o2Voltage2, 0.01);
    EXPECT_DOUBLE_EQ(1.2, c.m_gasPressure);
    EXPECT_DOUBLE_EQ(0.33, c.m_manifoldPressure);
    EXPECT_EQ(123, c.m_multiplier);
    EXPECT_NEAR(13.9, c.m_supplyVoltage, 0.035);
    EXPECT_EQ(173, c.m_gasLevelRaw);
    EXPECT_EQ(3, c.m_gasLevelStage);
    EXPECT_DOUBLE_EQ(-10.0, c.m_reducerTemperature);
    EXPECT_DOUBLE_EQ(22.0, c.m_gasTemperature);
    EXPECT_EQ(0, c.GetCurrentFaultCount());
}

TEST_F(ControllerApply, SampleRingsKeepOlderSamplesAndDropPastTheEnd)
{
    const unsigned char first[5] = {30, 31, 32, 33, 34};
    const unsigned char firstGas[5] = {40, 41, 42, 43, 44};
    FeedReply(m_controller, LivePayloadBuilder().Samples(0, first, firstGas).Frame());
    FeedReply(m_controller, LivePayloadBuilder().Samples(250, first, firstGas).Frame());
    const unsigned char wrap[5] = {1, 2, 3, 4, 5};
    FeedReply(m_controller, LivePayloadBuilder().Samples(253, wrap, wrap).Frame());

    const double* petrol = m_controller.GetPetrolSamples();
    const double* gas = m_controller.GetGasSamples();
    EXPECT_EQ(253u, m_controller.m_sampleIndex);
    EXPECT_DOUBLE_EQ(30.0, petrol[250]);   // from the second frame, untouched
    EXPECT_DOUBLE_EQ(32.0, petrol[252]);
    EXPECT_DOUBLE_EQ(1.0, petrol[253]);
    EXPECT_DOUBLE_EQ(2.0, petrol[254]);
    EXPECT_DOUBLE_EQ(3.0, petrol[255]);
    // The samples that ran past the end clear the ring's first entries...
    EXPECT_DOUBLE_EQ(0.0, petrol[0]);
    EXPECT_DOUBLE_EQ(0.0, petrol[1]);
    EXPECT_DOUBLE_EQ(0.0, gas[1]);
    // ...and nothing behind them.
    EXPECT_DOUBLE_EQ(32.0, petrol[2]);
    EXPECT_DOUBLE_EQ(44.0, gas[4]);
    EXPECT_DOUBLE_EQ(3.0, gas[255]);
    EXPECT_EQ((std::vector<unsigned>{0, 250, 253}), m_observer.m_sampleIndices);
}

TEST_F(ControllerApply, CurrentFaultsAreReplacedByEachFrame)
{
    FeedReply(m_controller, LivePayloadBuilder().Faults(0xFD, 0xFE).InjectorMasks(0xFB, 0xFF).Frame());
    ASSERT_EQ(3, m_controller.GetCurrentFaultCount());
    EXPECT_EQ(U("燃气喷嘴故障：  3 "), m_controller.GetCurrentFault(0));
    EXPECT_EQ(U("数据错误，请检查设置 "), m_controller.GetCurrentFault(1));
    EXPECT_EQ(U("T喷射时间过长 "), m_controller.GetCurrentFault(2));

    FeedReply(m_controller, LivePayloadBuilder().Faults(0xEF, 0xFF).Frame());
    ASSERT_EQ(1, m_controller.GetCurrentFaultCount());
    EXPECT_EQ(U("燃气压力太低 "), m_controller.GetCurrentFault(0));

    FeedReply(m_controller, LivePayloadBuilder().Frame());
    EXPECT_EQ(0, m_controller.GetCurrentFaultCount());
}

TEST_F(ControllerApply, ShortLiveReplyIsDroppedButAnswersItsRequest)
{
    FeedReply(m_controller, IdleOnGas().Frame());
    m_controller.m_connected = 0;          // as after a lost link
    QueueCommand(m_controller, 1, 1);
    QueueCommand(m_controller, 17, 40);

    LivePayloadBuilder other;
    other.Rpm(30).Faults(0x00, 0x00);
    const auto& full = other.Payload();
    for (std::size_t length : {std::size_t(0), std::size_t(1), std::size_t(40), kLivePayloadSize - 1})
    {
        SCOPED_TRACE(length);
        m_controller.m_missCount = 5;
        FeedReply(m_controller, SimulatedEcu::MakeReply(1, SimulatedEcu::Bytes(full.begin(), full.begin() + length)));
        EXPECT_TRUE(m_controller.m_rxBuffer.empty());
        EXPECT_EQ(0, m_controller.m_missCount);   // still a good frame
        EXPECT_EQ(0, m_controller.m_connected);
        EXPECT_DOUBLE_EQ(8.0, m_controller.m_rpm);
        EXPECT_EQ(0, m_controller.GetCurrentFaultCount());
        EXPECT_EQ("D", m_observer.m_events);
        ASSERT_EQ(1u, m_controller.m_requestQueue.size());
        EXPECT_EQ(17, m_controller.m_requestQueue.front().m_command);
    }

    // A longer payload is decoded from its start.
    auto longer = SimulatedEcu::Bytes(full.begin(), full.end());
    longer.push_back(0x77);
    FeedReply(m_controller, SimulatedEcu::MakeReply(1, longer));
    EXPECT_EQ(1, m_controller.m_connected);
    EXPECT_DOUBLE_EQ(30.0, m_controller.m_rpm);
    EXPECT_EQ("DD", m_observer.m_events);
}

namespace
{
ParamPayloadBuilder SampleParameters()
{
    ParamPayloadBuilder p;
    const unsigned char thresholds[4] = {45, 90, 135, 180};
    const unsigned char points[10] = {20, 35, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const unsigned char faults[] = {0x00, 0xFE, 0xFF, 0x04};
    p.GasCylinderMask(0x0F).IgnitionCoils(1).CylinderCode(3).SwitchRpm(1500).MaxGasRpm(6000)
        .MinGasRpm(700).GasLevel(2, thresholds).Sensors(1, 2, 3, 4).EngineFlags(true, true)
        .SwitchTemperature(-5).Pressures(1.25, 0.6).CalibrationGasTemperature(30).GasFaultTime(200)
        .SwitchTime(2.5).CylinderSwitchDelay(300).InjectorCode(5).MapPoints(points)
        .MapEntry(10, 100, 64).MapEntry(255, 112, 0)
        .FuelFlags(true, false).InjectorCorrectionByte(0, 154).InjectorCorrectionByte(7, 100)
        .MinGasTemperature(-10).StoredFaults(faults, sizeof faults)
        .WorkCounter(0, 1782).WorkCounter(4, 720000);
    const unsigned char date[7] = {0xDC, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x3A};
    p.HistoryRecordBytes(1, date, 0x58E6C3DD);
    return p;
}
} // namespace

TEST_F(ControllerApply, ParameterFrameFillsTheCacheWithThePollTimerStopped)
{
    FeedReply(m_controller, SampleParameters().Frame());
    const Controller& c = m_controller;

    EXPECT_EQ("P", m_observer.m_events);
    EXPECT_EQ("P", m_second.m_events);
    // Observers see the whole cache, the applied flag included.
    EXPECT_EQ((std::vector<unsigned>{3}), m_observer.m_cylinderCodes);
    EXPECT_EQ((std::vector<unsigned>{1}), m_observer.m_appliedSeen);
    EXPECT_EQ(1, m_host.m_stops);
    EXPECT_EQ(1, m_host.m_starts);
    EXPECT_EQ(1, c.m_parametersReceived);
    EXPECT_EQ(1, c.m_parametersApplied);
    ASSERT_TRUE(c.m_lastParameters);

    EXPECT_EQ(1, c.m_ignitionCoils);
    EXPECT_EQ(3, c.m_cylinderCode);
    EXPECT_EQ(1500, c.m_switchRpm);
    EXPECT_EQ(6000, c.m_maxGasRpm);
    EXPECT_EQ(700, c.m_minGasRpm);
    EXPECT_EQ(-10, c.m_minGasTemperature);
    EXPECT_EQ(static_cast<unsigned char>(-5), c.m_switchTemperature);
    EXPECT_DOUBLE_EQ(2.5, c.GetSwitchTime());
    EXPECT_DOUBLE_EQ(300.0, c.GetCylinderSwitchDelay());
    EXPECT_EQ(200, c.GetGasFaultTime());
    EXPECT_EQ(1, c.m_turbo);
    EXPECT_EQ(1, c.m_rpmSignalVolts);
    EXPECT_EQ(0, c.m_fuelIsCng);
    EXPECT_EQ(1, c.m_gasSwitchTimeEnabled);
    EXPECT_EQ(30, c.m_calibrationGasTemperature);
    EXPECT_EQ(1, c.m_reducerTempSensor);
    EXPECT_EQ(2, c.m_gasTempSensor);
    EXPECT_EQ(3, c.m_gasPressureSensor);
    EXPECT_EQ(4, c.m_manifoldSensor);
    EXPECT_DOUBLE_EQ(0.6, c.m_minPressure);
    EXPECT_DOUBLE_EQ(1.25, c.m_workPressure);
    EXPECT_EQ(5, c.m_injectorType);
    EXPECT_EQ(6, c.m_injectorParamA);
    EXPECT_EQ(50, c.m_injectorParamB);
    EXPECT_DOUBLE_EQ(21.0, c.GetInjectorCorrection(0));
    EXPECT_DOUBLE_EQ(0.0, c.GetInjectorCorrection(1));
    EXPECT_DOUBLE_EQ(-21.0, c.GetInjectorCorrection(7));
    EXPECT_EQ(154, c.m_injectorCorrectionBytes[0]);
    EXPECT_EQ(128, c.m_injectorCorrectionBytes[1]);
    EXPECT_EQ(100, c.m_injectorCorrectionBytes[7]);
    EXPECT_EQ(20, c.m_mapPointIndices[0]);
    EXPECT_EQ(0xFF, c.m_mapPointIndices[2]);
    EXPECT_DOUBLE_EQ(150.0, c.m_multiplierMap[10]);
    EXPECT_DOUBLE_EQ(112.0, c.m_multiplierMap[255]);
    EXPECT_DOUBLE_EQ(0.0, c.m_multiplierMap[9]);
    int type = 0;
    double t[4] = {};
    c.GetGasLevelSettings(type, t[0], t[1], t[2], t[3]);
    EXPECT_EQ(2, type);
    EXPECT_DOUBLE_EQ(45.0, t[0]);
    EXPECT_DOUBLE_EQ(180.0, t[3]);
    EXPECT_EQ(1782u, c.GetWorkCounter(0));
    EXPECT_EQ(720000u, c.GetWorkCounter(4));
    EXPECT_EQ(0x58E6C3DDu, c.m_historyRecords[1].value);
    EXPECT_EQ(0x1F, c.m_historyRecords[1].date[3]);
    ASSERT_EQ(2, c.GetStoredFaultCount());
    EXPECT_EQ(U("燃气喷嘴故障：  1 "), c.GetStoredFault(0));
    EXPECT_EQ(U("燃气压力太低 "), c.GetStoredFault(1));
    EXPECT_EQ(0x0F, c.m_gasCylinderMask);
}

TEST_F(ControllerApply, CngLeavesTheCylinderMaskToLiveData)
{
    FeedReply(m_controller, LivePayloadBuilder().GasCylinderMask(0x03).Frame());
    FeedReply(m_controller, SampleParameters().FuelFlags(false, true).GasCylinderMask(0x0F).Frame());
    EXPECT_EQ(1, m_controller.m_fuelIsCng);
    EXPECT_EQ(0x03, m_controller.m_gasCylinderMask);

    FeedReply(m_controller, SampleParameters().FuelFlags(false, false).GasCylinderMask(0x05).Frame());
    EXPECT_EQ(0, m_controller.m_fuelIsCng);
    EXPECT_EQ(0x05, m_controller.m_gasCylinderMask);
}

TEST_F(ControllerApply, UnknownInjectorCodeKeepsTheInjectorSettings)
{
    FeedReply(m_controller, SampleParameters().InjectorCode(9).Frame());
    EXPECT_EQ(9, m_controller.m_injectorType);
    EXPECT_EQ(6, m_controller.m_injectorParamA);
    EXPECT_EQ(35, m_controller.m_injectorParamB);

    for (unsigned char code : {10, 200, 255})
    {
        FeedReply(m_controller, SampleParameters().InjectorCode(code).CylinderCode(4).Frame());
        EXPECT_EQ(9, m_controller.m_injectorType);
        EXPECT_EQ(6, m_controller.m_injectorParamA);
        EXPECT_EQ(35, m_controller.m_injectorParamB);
        EXPECT_EQ(4, m_controller.m_cylinderCode);   // the rest is applied
        EXPECT_EQ(code, m_controller.m_lastParameters->m_injectorCode);
    }
}

TEST_F(ControllerApply, ShortParameterReplyIsDroppedAndAskedForAgain)
{
    QueueCommand(m_controller, 12, 1);
    const ParamPayloadBuilder params = SampleParameters();
    const auto& full = params.Payload();
    for (std::size_t length : {std::size_t(0), std::size_t(17), std::size_t(571), kParamPayloadSize - 1})
    {
        SCOPED_TRACE(length);
        FeedReply(m_controller, SimulatedEcu::MakeReply(12, SimulatedEcu::Bytes(full.begin(), full.begin() + length)));
        EXPECT_TRUE(m_controller.m_requestQueue.empty());
        EXPECT_EQ(0, m_controller.m_parametersReceived);
        EXPECT_EQ(0, m_controller.m_parametersApplied);
        EXPECT_FALSE(m_controller.m_lastParameters);
        EXPECT_EQ(0, m_controller.m_cylinderCode);
        EXPECT_EQ(0, m_controller.GetStoredFaultCount());
        EXPECT_EQ("", m_observer.m_events);
        // The timer is running again whatever became of the frame.
        EXPECT_TRUE(m_host.m_running);
    }
    // The next idle tick asks for the parameters, not for live data.
    m_controller.PollTick();
    ASSERT_EQ(1u, m_controller.m_requestQueue.size());
    EXPECT_EQ(12, m_controller.m_requestQueue.front().m_command);

    // A later full frame replaces nothing but what it carries.
    FeedReply(m_controller, SampleParameters().Frame());
    EXPECT_EQ(1, m_controller.m_parametersReceived);
    EXPECT_EQ("P", m_observer.m_events);
}

TEST_F(ControllerApply, PendingSaveWritesThisFramesSettingsBlockOnce)
{
    const wxString path = wxFileName::CreateTempFileName("quenvar-save");
    ASSERT_FALSE(path.empty());
    m_controller.SetSaveFileName(path);
    const ParamPayloadBuilder params = SampleParameters();
    FeedReply(m_controller, params.Frame());
    EXPECT_TRUE(m_controller.m_saveFileName.empty());

    std::ifstream in(path.fn_str(), std::ios::binary);
    const std::vector<unsigned char> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    ASSERT_EQ(kSettingsBlockSize, written.size());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), params.Payload().begin() + kSettingsBlockOffset));

    // The next frame writes nothing.
    std::remove(path.fn_str());
    FeedReply(m_controller, SampleParameters().CylinderCode(5).Frame());
    EXPECT_FALSE(wxFileName::FileExists(path));
}
