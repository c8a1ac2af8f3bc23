#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ApplyTestSupport.h"
#include "DemoRecording.h"
#include "FrameSum.h"
#include "LivePacket.h"
#include "ParamPacket.h"

using namespace decodetest;

namespace
{
template <std::size_t N>
void ExpectWellFramed(const std::array<unsigned char, N>& frame, unsigned char command)
{
    EXPECT_EQ(0xAA, frame[0]);
    EXPECT_EQ(N, static_cast<std::size_t>(frame[1] * 256 + frame[2]));
    EXPECT_EQ(command, frame[3]);
    EXPECT_EQ(FrameSum(frame.data(), N - 1), frame[N - 1]);
}
} // namespace

TEST(DemoRecording, EveryFrameIsAWellFormedReply)
{
    ExpectWellFramed(demoParameterFrame, 12);
    for (std::size_t i = 0; i < kDemoLiveFrameCount; ++i)
    {
        SCOPED_TRACE(i);
        ExpectWellFramed(demoLiveFrames[i], 1);
    }
}

TEST(DemoRecording, ParameterFrameDescribesAWarmFourCylinderLpgCar)
{
    const ParamPacket p(demoParameterFrame.data() + 4);
    EXPECT_EQ(1, p.m_cylinderCode);                 // four cylinders
    EXPECT_EQ(0, p.m_fuelIsCng);
    EXPECT_EQ(0x0F, p.m_gasCylinderMask);
    EXPECT_EQ(5, p.m_injectorCode);                 // a type the settings page offers
    EXPECT_GT(p.m_workPressure, 0.8);
    EXPECT_LT(p.m_workPressure, 1.6);
    EXPECT_LT(p.m_minPressure, p.m_workPressure);
    EXPECT_GT(p.m_maxGasRpm, p.m_switchRpm);
    ASSERT_EQ(1u, p.m_storedFaults.size());
    EXPECT_EQ(wxString::FromUTF8("燃气压力太低 "), p.m_storedFaults[0]);
    // A map over the whole range, with at least two map points.
    for (int i = 10; i < 256; ++i)
    {
        EXPECT_GT(p.m_multiplierMap[i], 100.0) << i;
        EXPECT_LT(p.m_multiplierMap[i], 150.0) << i;
    }
    EXPECT_NE(0xFF, p.m_mapPointIndices[0]);
    EXPECT_NE(0xFF, p.m_mapPointIndices[1]);
    // Counters as a car in use has them: more on gas than on petrol, service ahead.
    EXPECT_GT(p.m_workCounters[1], p.m_workCounters[0]);
    EXPECT_GT(p.m_workCounters[4], p.m_workCounters[3]);
    EXPECT_EQ(2024, p.m_historyRecords[1].date[0] + 256 * p.m_historyRecords[1].date[1]);
}

TEST(DemoRecording, LiveFramesTellTheSwitchOverStory)
{
    const ParamPacket params(demoParameterFrame.data() + 4);
    double o2Min = 5.0;
    double o2Max = 0.0;
    std::set<int> petrolPoints;
    std::set<int> gasPoints;
    std::size_t firstOnGas = kDemoLiveFrameCount;
    std::size_t firstAllOnGas = kDemoLiveFrameCount;
    for (std::size_t i = 0; i < kDemoLiveFrameCount; ++i)
    {
        SCOPED_TRACE(i);
        const LivePacket p(demoLiveFrames[i].data() + 4);
        if (p.m_onGas && firstOnGas == kDemoLiveFrameCount)
            firstOnGas = i;
        if (p.m_gasCylinderMask == 0x0F && firstAllOnGas == kDemoLiveFrameCount)
            firstAllOnGas = i;
        // The cylinder mask only grows, and gas time appears with gas.
        EXPECT_EQ(p.m_onGas, p.m_gasCylinderMask != 0);
        EXPECT_EQ(p.m_onGas, p.m_gasInjectionTime > 0.0);
        // Lamp 5 blinks while the switch-over runs.
        EXPECT_EQ(p.m_gasCylinderMask != 0x0F, p.m_statusBit1);
        EXPECT_TRUE(p.m_currentFaults.empty());

        for (int c = 0; c < 4; ++c)
        {
            EXPECT_GE(p.m_petrolInjectionTimes[c], 2.8);
            EXPECT_LE(p.m_petrolInjectionTimes[c], 4.0);
        }
        for (int c = 4; c < 8; ++c)
            EXPECT_EQ(0.0, p.m_petrolInjectionTimes[c]);
        if (p.m_onGas)
        {
            EXPECT_GE(p.m_gasInjectionTime, 3.5);
            EXPECT_LE(p.m_gasInjectionTime, 5.0);
        }
        EXPECT_GE(p.m_rpm, 7.0);
        EXPECT_LE(p.m_rpm, 12.0);
        EXPECT_GT(p.m_reducerTemperature, params.m_switchTemperature);
        EXPECT_GT(p.m_gasPressure, 1.0);
        EXPECT_GT(p.m_manifoldPressure, 0.2);
        EXPECT_LT(p.m_manifoldPressure, 0.45);
        EXPECT_GT(p.m_supplyVoltage, 13.5);
        EXPECT_LT(p.m_supplyVoltage, 14.5);
        EXPECT_EQ(3, p.m_gasLevelStage);
        // The sensor voltage lies between the third and fourth threshold.
        EXPECT_GT(p.m_gasLevelRaw * 5.0 / 255.0, params.m_gasLevelThresholds[2] / 50.0);
        EXPECT_LT(p.m_gasLevelRaw * 5.0 / 255.0, params.m_gasLevelThresholds[3] / 50.0);
        o2Min = std::min(o2Min, p.m_o2Voltage1);
        o2Max = std::max(o2Max, p.m_o2Voltage1);

        // As the map page collects them: point trunc(sample) per ring position.
        for (unsigned k = 0; k < 5; ++k)
        {
            const unsigned position = (p.m_sampleIndex + k) % 256;
            if (position == 255)
                continue;
            if (p.m_petrolSamples[position] != 0.0)
                petrolPoints.insert(static_cast<int>(p.m_petrolSamples[position]));
            if (p.m_gasSamples[position] != 0.0)
                gasPoints.insert(static_cast<int>(p.m_gasSamples[position]));
        }
    }
    EXPECT_EQ(0u, LivePacket(demoLiveFrames[0].data() + 4).m_gasCylinderMask);
    EXPECT_GT(firstOnGas, 0u);
    EXPECT_LT(firstAllOnGas, 12u);
    EXPECT_LT(o2Min, 0.2);
    EXPECT_GT(o2Max, 0.7);
    // Enough distinct points for the map page to draw a line through each.
    EXPECT_GE(petrolPoints.size(), 16u);
    EXPECT_GE(gasPoints.size(), 16u);
}

TEST(DemoRecording, DemoCycleReplaysEveryFrameThroughTheParser)
{
    Controller controller;
    RecordingHost host;
    controller.SetHost(&host);
    RecordingObserver observer(controller);
    observer.OnAttach();
    // As the main window switches demo on.
    controller.m_demoMode = 1;
    controller.m_linkLost = 0;
    controller.m_missCount = 0;

    // One parameter frame, all 52 live frames, and the first one again.
    const std::size_t wanted = 1 + kDemoLiveFrameCount + 1;
    for (int tick = 0; tick < 1000 && observer.m_events.size() < wanted; ++tick)
        controller.PollTick();

    ASSERT_EQ("P" + std::string(kDemoLiveFrameCount + 1, 'D'), observer.m_events);
    for (std::size_t i = 0; i <= kDemoLiveFrameCount; ++i)
    {
        SCOPED_TRACE(i);
        const LivePacket expected(demoLiveFrames[i % kDemoLiveFrameCount].data() + 4);
        EXPECT_DOUBLE_EQ(expected.m_rpm, observer.m_rpm[i]);
        EXPECT_EQ(expected.m_gasCylinderMask, observer.m_gasMasks[i]);
        EXPECT_DOUBLE_EQ(expected.m_gasInjectionTime, observer.m_gasTimes[i]);
        EXPECT_EQ(expected.m_sampleIndex, observer.m_sampleIndices[i]);
    }
    EXPECT_EQ(std::vector<int>(wanted, 150), host.m_sleeps);
    EXPECT_EQ(1, controller.m_connected);
    EXPECT_EQ(1, controller.m_parametersReceived);
    EXPECT_EQ(0, controller.m_missCount);
    EXPECT_TRUE(controller.m_rxBuffer.empty());
    EXPECT_EQ(1, controller.GetStoredFaultCount());
    EXPECT_EQ(1, controller.m_cylinderCode);
    EXPECT_EQ(4, controller.GetCylinderCount());

    // Off and on again, as the demo tool is pressed: the next session starts
    // with the parameters too, or its pages stay locked.
    controller.SetDemoMode(false);
    controller.SetDemoMode(true);
    observer.m_events.clear();
    for (int tick = 0; tick < 20 && observer.m_events.size() < 2; ++tick)
        controller.PollTick();
    EXPECT_EQ("PD", observer.m_events);
    EXPECT_EQ(1, controller.m_parametersApplied);
}
