#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "ApplyTestSupport.h"
#include "LivePayloadBuilder.h"
#include "ParamPayloadBuilder.h"
#include "SimulatedEcu.h"

// The decoders behind the real parser and serial layer, against the
// simulated ECU on a pty.

using namespace decodetest;

namespace
{
using Clock = std::chrono::steady_clock;

template <std::size_t N>
SimulatedEcu::Bytes ToBytes(const std::array<unsigned char, N>& payload)
{
    return SimulatedEcu::Bytes(payload.begin(), payload.end());
}

SimulatedEcu::Bytes LivePayload(unsigned rpmHundreds)
{
    LivePayloadBuilder b;
    b.Status(true, false, false).Rpm(rpmHundreds).PetrolTime(0, 3.4).GasInjectionTime(4.125)
        .GasCylinderMask(0x0F).Pressures(1.2, 0.33).Faults(0xEF, 0xFF);
    return ToBytes(b.Payload());
}

SimulatedEcu::Bytes ParameterPayload()
{
    ParamPayloadBuilder p;
    p.CylinderCode(1).GasCylinderMask(0x0F).InjectorCode(9).SwitchRpm(1200);
    return ToBytes(p.Payload());
}

struct Link
{
    Link()
    {
        controller.SetHost(&host);
        observer.OnAttach();
    }

    // Runs poll ticks, letting the ECU answer every request that went out,
    // until done() or the deadline.
    template <typename Done>
    bool RunUntil(Done done, std::chrono::seconds limit = std::chrono::seconds(10))
    {
        const auto deadline = Clock::now() + limit;
        while (!done())
        {
            if (Clock::now() > deadline)
                return false;
            controller.PollTick();
            if (controller.m_awaitingReply && controller.m_ticksSinceSend == 0)
                ecu.WaitForRequest(std::chrono::milliseconds(2000));
            if (controller.m_linkLost)
                return false;
        }
        return true;
    }

    std::size_t LiveCount() const
    {
        return static_cast<std::size_t>(std::count(observer.m_events.begin(), observer.m_events.end(), 'D'));
    }

    SimulatedEcu ecu;
    Controller controller;
    RecordingHost host;
    RecordingObserver observer{controller};
};
} // namespace

TEST(LiveLink, ParametersOnceThenEveryLiveFrameDecoded)
{
    Link link;
    ASSERT_TRUE(link.ecu.IsOpen());
    link.ecu.SetPayload(12, ParameterPayload());
    link.ecu.SetPayload(1, LivePayload(8));
    ASSERT_EQ(0, link.controller.OpenPort(link.ecu.SlavePath()));

    ASSERT_TRUE(link.RunUntil([&] { return link.LiveCount() >= 3; }));
    link.ecu.SetPayload(1, LivePayload(9));
    ASSERT_TRUE(link.RunUntil([&] { return link.LiveCount() >= 6; }));

    const RecordingObserver& o = link.observer;
    EXPECT_EQ("PDDDDDD", o.m_events);
    EXPECT_EQ((std::vector<unsigned>{1}), o.m_cylinderCodes);
    // Every live frame that was answered reached the observers, decoded.
    const auto commands = link.ecu.ReceivedCommands();
    EXPECT_EQ(12, commands.front());
    EXPECT_EQ(1, std::count(commands.begin(), commands.end(), 12));
    EXPECT_EQ(6, std::count(commands.begin(), commands.end(), 1));
    EXPECT_EQ((std::vector<double>{8, 8, 8, 9, 9, 9}), o.m_rpm);
    for (std::size_t i = 0; i < o.m_gasTimes.size(); ++i)
    {
        EXPECT_DOUBLE_EQ(4.125, o.m_gasTimes[i]);
        EXPECT_EQ(0x0Fu, o.m_gasMasks[i]);
    }

    const Controller& c = link.controller;
    EXPECT_EQ(1, c.m_connected);
    EXPECT_EQ(1, c.m_parametersReceived);
    EXPECT_EQ(9, c.m_injectorType);
    EXPECT_EQ(1200, c.m_switchRpm);
    EXPECT_DOUBLE_EQ(3.4, c.m_petrolInjectionTimes[0]);
    EXPECT_DOUBLE_EQ(1.2, c.m_gasPressure);
    ASSERT_EQ(1, c.GetCurrentFaultCount());
    EXPECT_EQ(wxString::FromUTF8("燃气压力太低 "), c.GetCurrentFault(0));
    EXPECT_EQ(1, link.host.m_stops);
    EXPECT_EQ(1, link.host.m_starts);
}

TEST(LiveLink, ShortRepliesAreAnsweredButNotApplied)
{
    Link link;
    ASSERT_TRUE(link.ecu.IsOpen());
    link.ecu.SetPayload(12, ParameterPayload());
    link.ecu.SetPayload(1, LivePayload(8));
    link.ecu.SetShortPayload(51);
    ASSERT_EQ(0, link.controller.OpenPort(link.ecu.SlavePath()));

    // Short parameter replies: the tick keeps asking for parameters.
    ASSERT_TRUE(link.RunUntil([&] { return link.ecu.RepliesSent() >= 3; }));
    for (unsigned char command : link.ecu.ReceivedCommands())
        EXPECT_EQ(12, command);
    EXPECT_EQ("", link.observer.m_events);
    EXPECT_EQ(0, link.controller.m_parametersReceived);
    EXPECT_EQ(0, link.controller.m_missCount);

    // Full parameters, then short live replies: not connected, nothing told.
    link.ecu.SetShortPayload(SIZE_MAX);
    ASSERT_TRUE(link.RunUntil([&] { return link.controller.m_parametersReceived != 0; }));
    link.ecu.SetShortPayload(51);
    link.ecu.ClearReceived();
    const int before = link.ecu.RepliesSent();
    ASSERT_TRUE(link.RunUntil([&] { return link.ecu.RepliesSent() >= before + 3; }));
    for (unsigned char command : link.ecu.ReceivedCommands())
        EXPECT_EQ(1, command);
    EXPECT_EQ("P", link.observer.m_events);
    EXPECT_EQ(0, link.controller.m_connected);
    EXPECT_EQ(0.0, link.controller.m_rpm);

    link.ecu.SetShortPayload(SIZE_MAX);
    ASSERT_TRUE(link.RunUntil([&] { return link.LiveCount() >= 1; }));
    EXPECT_EQ(1, link.controller.m_connected);
    EXPECT_DOUBLE_EQ(8.0, link.controller.m_rpm);
}
