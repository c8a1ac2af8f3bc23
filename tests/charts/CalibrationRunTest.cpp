// Whole calibration runs: start, end, stops and the wire.
#include <gtest/gtest.h>

#include <algorithm>

#include "CalibrationRig.h"

TEST(CalibrationRun, StartNeedsTheLinkAndARunningEngine)
{
    const wxString idle = L"自动标定应使发动机处于怠速状态！|提示";
    struct Case { bool online; unsigned rpm; std::vector<wxString> boxes; bool gauge; std::vector<Bytes> sent; };
    const Case cases[] = {
        {false, 8, {}, false, {}},
        {true, 4, {idle, L"启动引擎！ |错误 "}, false, {}},
        {true, 5, {idle}, true, {{0xAA, 3, 2, 0x0F, 0xBE}, {0xAA, 37, 0xCF}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.online << " at " << c.rpm * 100 << " rpm");
        CalibrationRig rig;
        rig.c.m_online = c.online;
        EXPECT_EQ(rig.Start(c.rpm), !c.sent.empty());
        EXPECT_EQ(rig.host.boxes, c.boxes);
        EXPECT_EQ(rig.host.gauge, c.gauge);
        EXPECT_EQ(rig.sent, c.sent);
        EXPECT_EQ(rig.c.m_calibrating, c.sent.empty() ? 0 : 1);
    }
}

TEST(CalibrationRun, LearnedMultiplierJudgedThenMachineGoneBeforeTheListenerHears)
{
    const std::pair<unsigned char, std::vector<wxString>> cases[] = {
        {89, {L"喷射量过小 |Message"}}, {90, {}}, {180, {}}, {181, {L"喷射量过大 |Message"}}};
    for (const auto& [multiplier, boxes] : cases)
    {
        SCOPED_TRACE(int(multiplier));
        CalibrationRig rig;
        ASSERT_TRUE(rig.Start());
        rig.host.boxes.clear(), rig.host.boxesWhilePolling = 0;
        const Live l{8, 60, 20, 2.5, multiplier};
        ASSERT_TRUE(rig.FeedTo(12, l));
        rig.Feed(l);
        EXPECT_EQ(rig.host.boxes, boxes);
        EXPECT_EQ(rig.host.boxesWhilePolling, 0);
        EXPECT_TRUE(rig.host.polling);
        EXPECT_FALSE(rig.host.gauge);
        EXPECT_EQ(rig.host.status.end()[-2], wxString(L"自动标定完成！ /"));
        EXPECT_TRUE(std::is_sorted(rig.host.progress.begin(), rig.host.progress.end()));
        EXPECT_EQ(rig.host.progress.front(), 1);
        EXPECT_EQ(rig.host.progress.back(), 13);
        EXPECT_EQ(rig.result, -1);
        EXPECT_EQ(rig.finished, 1);
        EXPECT_FALSE(rig.heldAtNotice);
        EXPECT_EQ(rig.Sent(CMD_WRITE_CALIBRATION).size(), 1u);
        EXPECT_EQ(rig.Sent(CMD_WRITE_CALIBRATION)[0][2], multiplier);
    }
}

TEST(CalibrationRun, LastStepAloneTellsNoOneAndLeavesTheMachineWhole)
{
    CalibrationRig rig;
    ASSERT_TRUE(rig.Start() && rig.FeedTo(12));
    EXPECT_EQ(rig.fsm->Step(), -1);
    EXPECT_EQ(rig.finished, 0);
    EXPECT_FALSE(rig.fsm->IsRunning());
    EXPECT_EQ(rig.fsm->GetOutcome(), CalibrationFsm::Outcome::Finished);
    EXPECT_EQ(RunCalibrationStep(rig.fsm), -1);
    EXPECT_EQ(rig.finished, 0);
}

TEST(CalibrationRun, StalledEngineOrLostCalibrationStopsTheRun)
{
    const wchar_t* stalled = L"发动机已熄火,自动标定已停止";
    const wchar_t* lost = L"控制器已退出标定,自动标定已停止";
    struct Case { const char* what; int index; bool resetLink; const wchar_t* reason; };
    const Case cases[] = {
        {"stall while the reducer warms", 0, false, stalled},
        {"stall in a gas phase", 4, false, stalled},
        {"stall on the finishing step", 12, false, stalled},
        {"link reset in a gas phase", 3, true, lost},
        {"link reset before the finishing step", 12, true, lost},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CalibrationRig rig;
        ASSERT_TRUE(rig.Start() && rig.FeedTo(c.index));
        rig.sent.clear();
        rig.host.boxes.clear(), rig.host.boxesWhilePolling = 0;
        if (c.resetLink)
            rig.c.ResetLink();
        const Live l{c.resetLink ? 8u : 0u};
        for (int i = 0; i < 5; ++i)
            rig.Feed(i ? Live{} : l);
        EXPECT_EQ(rig.stopped, 1);
        EXPECT_EQ(rig.finished, 0);
        EXPECT_FALSE(rig.heldAtNotice);
        EXPECT_EQ(rig.sent, (std::vector<Bytes>{{0xAA, 5, 0, 0xAF}}));
        EXPECT_TRUE(rig.host.boxes.empty());
        EXPECT_FALSE(rig.host.gauge);
        EXPECT_EQ(rig.host.status.back(), wxString(c.reason));
    }
}

// A steady idle: every state in chain order on the wire, the learned
// multiplier carried into the later windows, the end handed over once.
TEST(CalibrationRun, SteadyIdleWalksTheChainInOrder)
{
    CalibrationRig rig;
    ASSERT_TRUE(rig.Start());
    rig.c.m_calibrationMultiplier = 100;
    for (int frames = 0; rig.fsm && frames < 5000; ++frames)
        rig.Feed();
    const std::vector<Bytes> expected = {
        {3, 2, 0x0F}, {37}, {3, 2, 0x0F}, {3, 2, 0x0F}, {25, 25, 1, 100}, {3, 3, 0x01}, {3, 3, 0x05},
        {3, 3, 0x0F}, {3, 2, 0x0F}, {3, 2, 0x0F}, {25, 25, 1, 118}, {3, 3, 0x0F}, {3, 2, 0x0F},
        {3, 2, 0x0F}, {25, 25, 1, 118}, {3, 3, 0x0F}, {2, 117, 25, 118, 20, 70}, {12, 1}};
    std::vector<Bytes> wire;
    for (const Bytes& f : rig.sent)
        wire.emplace_back(f.begin() + 1, f.end() - 1);
    EXPECT_EQ(wire, expected);
    // 100 samples over the phase's 101 steps.
    EXPECT_NEAR(rig.c.m_calibrationAverage, 3.2 * 100 / 101, 1e-9);
}
