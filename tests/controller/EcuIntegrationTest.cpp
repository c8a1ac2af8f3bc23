// The whole link over the real serial port on a pty, against the simulated
// ECU: the test alternates poll ticks with the ECU's service calls.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "ControllerTestSupport.h"
#include "ParamPayloadBuilder.h"
#include "SimulatedEcu.h"

namespace
{

using Bytes = SimulatedEcu::Bytes;

const Bytes kLiveRequest = {0xAA, 0x01, 0x01, 0xAC};
const Bytes kParameterRequest = {0xAA, 0x0C, 0x01, 0xB7};

class EcuLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ecu.IsOpen());
        controller.SetHost(&host);
        ASSERT_EQ(0, controller.OpenPort(ecu.SlavePath()));
    }

    // One poll tick; when it sent a request, the ECU takes it (and answers
    // unless told otherwise) before the next tick.
    void Tick()
    {
        controller.PollTick();
        const bool sent = controller.m_awaitingReply && controller.m_ticksSinceSend == 0;
        if (sent && !controller.m_demoMode && !controller.m_linkLost)
        {
            ASSERT_TRUE(ecu.WaitForRequest()) << "no request reached the ECU";
        }
    }

    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            Tick();
    }

    // Requests with this command the ECU took.
    long Count(unsigned char command) const
    {
        const std::vector<unsigned char> commands = ecu.ReceivedCommands();
        return std::count(commands.begin(), commands.end(), command);
    }

    // Ticks until the first live frame has been read.
    void Connect()
    {
        for (int i = 0; i < 20 && !controller.m_connected; ++i)
            Tick();
        ASSERT_EQ(1, controller.m_connected);
        ecu.ClearReceived();
    }

    // The ECU answers again: ticks until live data flows, the ECU's record
    // of requests starting afresh.
    void Reconnect()
    {
        ecu.SetSilent(false);
        ecu.ClearReceived();
        controller.m_connected = 0;
        Ticks(20);
        ASSERT_EQ(1, controller.m_connected);
    }

    SimulatedEcu ecu;
    RecordingHost host;
    Controller controller;
};

} // namespace

TEST_F(EcuLink, StartupReadsParametersOnceThenPollsLiveData)
{
    Ticks(3);
    EXPECT_EQ(1, controller.m_parametersReceived);
    EXPECT_EQ(0, controller.m_connected);
    Ticks(2);
    EXPECT_EQ(1, controller.m_connected);
    Ticks(15);

    const std::vector<Bytes>& got = ecu.Received();
    ASSERT_GE(got.size(), 9u);
    EXPECT_EQ(kParameterRequest, got[0]);
    for (std::size_t i = 1; i < got.size(); ++i)
        EXPECT_EQ(kLiveRequest, got[i]) << i;
    EXPECT_EQ(0, controller.m_missCount);
    EXPECT_EQ(0, controller.m_linkLost);
    EXPECT_EQ(1, std::count(host.m_calls.begin(), host.m_calls.end(), "stop"));
    // A healthy link: one request every second tick.
    EXPECT_EQ(10u, got.size());
}

TEST_F(EcuLink, SettingQueuedTwiceGoesOutOnceWithTheLastValue)
{
    Connect();
    controller.m_request.Build(54, 5);
    controller.QueueRequest();
    controller.m_request.Build(17, 30);
    controller.QueueRequest();
    controller.m_request.Build(54, 7);
    controller.QueueRequest();
    Ticks(8);

    const std::vector<unsigned char> commands = ecu.ReceivedCommands();
    ASSERT_GE(commands.size(), 3u);
    // A live poll may already stand in the queue in front of the settings.
    const auto first = std::find(commands.begin(), commands.end(), 54);
    ASSERT_NE(commands.end(), first);
    EXPECT_EQ(17, *(first + 1));
    EXPECT_EQ(1, std::count(commands.begin(), commands.end(), 54));
    EXPECT_EQ(1, std::count(commands.begin(), commands.end(), 17));
    const Bytes& sent54 = ecu.Received()[static_cast<std::size_t>(first - commands.begin())];
    EXPECT_EQ((Bytes{0xAA, 54, 7, static_cast<unsigned char>(0xAA + 54 + 7)}), sent54);
    EXPECT_TRUE(controller.m_requestQueue.empty() || controller.m_requestQueue[0].m_command == 1);
}

TEST_F(EcuLink, CorruptReplyIsAskedForAgainOnceTheLineIsQuiet)
{
    ecu.CorruptNextReplies(1);
    // Queue, send, read the corrupt reply: a reply may still follow what
    // turned out to be none, so one more read must find the line quiet.
    Ticks(3);
    EXPECT_EQ(1u, ecu.Received().size());
    Tick();
    EXPECT_EQ(0, controller.m_parametersReceived);
    EXPECT_TRUE(controller.m_rxBuffer.empty());
    ASSERT_EQ(2u, ecu.Received().size());
    EXPECT_EQ(kParameterRequest, ecu.Received()[1]);
    Tick();
    EXPECT_EQ(1, controller.m_parametersReceived);
}

TEST_F(EcuLink, ReplySplitAcrossTwoReadsIsAssembledWithoutAskingAgain)
{
    Ticks(3);
    ASSERT_EQ(1, controller.m_parametersReceived);
    ecu.SplitNextReply(40);
    Tick(); // sends the first live poll: 40 bytes of its reply arrive
    Tick(); // reads them and waits for the rest instead of asking again
    EXPECT_EQ(40u, controller.m_rxBuffer.size());
    EXPECT_EQ(0, controller.m_connected);
    EXPECT_EQ(0, controller.m_missCount);
    ecu.Service(); // the rest of the reply
    Tick();
    EXPECT_EQ(1, controller.m_connected);
    EXPECT_TRUE(controller.m_rxBuffer.empty());
    // The poll went out once; the ECU never had a second reply to send.
    EXPECT_EQ((std::vector<unsigned char>{CMD_READ_PARAMETERS, CMD_READ_LIVE_DATA}), ecu.ReceivedCommands());
}

TEST_F(EcuLink, SilentEcuLosesTheLinkAndNothingIsSentAfter)
{
    ecu.SetSilent(true);
    int ticks = 0;
    while (!controller.m_linkLost && ticks < 100)
    {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(17, ticks);
    EXPECT_EQ(15u, ecu.Received().size());
    Ticks(5);
    ecu.Service();
    EXPECT_EQ(15u, ecu.Received().size());
    EXPECT_EQ(0, controller.m_connected);
}

TEST_F(EcuLink, GarbageOnTheLineIsDroppedAndTheLinkRecovers)
{
    Connect();
    // Junk that looks like the start of a frame with a wrong sum, in front
    // of the next reply: the whole read is dropped and the poll repeated.
    ecu.SendRaw({0x13, 0x00, 0x08, 0x42, 0x42, 0x42, 0x42, 0x42});
    controller.m_connected = 0;
    Ticks(6);
    EXPECT_EQ(1, controller.m_connected);
    EXPECT_EQ(0, controller.m_linkLost);
    EXPECT_EQ(0, controller.m_missCount);
}

TEST_F(EcuLink, ShortLivePayloadAnswersWithoutConnecting)
{
    Ticks(3);
    ASSERT_EQ(1, controller.m_parametersReceived);
    ecu.SetShortPayload(10);
    Ticks(10);
    EXPECT_EQ(0, controller.m_connected);
    EXPECT_EQ(0, controller.m_missCount);
    EXPECT_EQ(0, controller.m_linkLost);
    ecu.SetShortPayload(static_cast<std::size_t>(-1));
    Ticks(4);
    EXPECT_EQ(1, controller.m_connected);
}

TEST_F(EcuLink, TrickledRepliesStillGetThrough)
{
    Ticks(3);
    ASSERT_EQ(1, controller.m_parametersReceived);
    ecu.SetTrickle(20);
    for (int i = 0; i < 40 && !controller.m_connected; ++i)
    {
        Tick();
        ecu.Service();
    }
    EXPECT_EQ(1, controller.m_connected);
    EXPECT_LT(controller.m_rxBuffer.size(), 888u);
}

TEST_F(EcuLink, VanishedPortEndsInLinkLost)
{
    Connect();
    ecu.CloseMaster();
    int ticks = 0;
    while (!controller.m_linkLost && ticks < 100)
    {
        controller.PollTick();
        ++ticks;
    }
    EXPECT_EQ(1, controller.m_linkLost);
    EXPECT_EQ(0, controller.m_connected);
    EXPECT_LE(ticks, 30);
}

TEST_F(EcuLink, EndlessJunkIsDroppedAsItComesAndPollingResumes)
{
    Connect();
    ecu.SetSilent(true);
    // A length field of 0x7FFF announces no reply: nothing of it is held.
    Bytes junk = {0xAA, 0x7F, 0xFF};
    junk.resize(600, 0x5A);
    ecu.SendRaw(junk);
    Tick();
    Tick();
    EXPECT_TRUE(controller.m_rxBuffer.empty());
    ecu.SendRaw(Bytes(400, 0x5A));
    Tick();
    Tick();
    EXPECT_TRUE(controller.m_rxBuffer.empty());
    ecu.SendRaw(Bytes(10, 0x5A));
    Tick();
    Tick();

    Reconnect();
    // No reset: the parameters are not read again.
    EXPECT_EQ(0, Count(CMD_READ_PARAMETERS));
}

TEST_F(EcuLink, EveryNewFarEndReadsTheParametersAgain)
{
    const std::pair<const char*, std::function<void()>> resets[] = {
        {"link reset (port tool, receive guard)", [&] { controller.ResetLink(); }},
        {"demo on and off", [&] { controller.SetDemoMode(true); controller.SetDemoMode(false); }},
        {"port opened again", [&] { ASSERT_EQ(0, controller.OpenPort(ecu.SlavePath())); }},
    };
    for (const auto& [name, reset] : resets)
    {
        SCOPED_TRACE(name);
        Connect();
        reset();
        Reconnect();
        // Parameters first and applied again.
        ASSERT_FALSE(ecu.Received().empty());
        EXPECT_EQ(kParameterRequest, ecu.Received().front());
        EXPECT_EQ(1, controller.m_parametersApplied);
    }
}

TEST_F(EcuLink, UnconfirmedLoadNeverGoesOutAfterItIsWithdrawn)
{
    const cmdtest::TempDir dir;
    const wxString path = cmdtest::SettingsFileIn(dir, 3);
    // Withdrawn before the block went out, and after it went out unanswered.
    for (const bool sentFirst : {false, true})
    {
        SCOPED_TRACE(sentFirst ? "block sent" : "block not sent");
        Connect();
        ecu.SetSilent(true);
        ASSERT_TRUE(controller.LoadSettingsFile(path));
        for (int i = 0; i < 30 && sentFirst && Count(CMD_WRITE_SETTINGS) == 0; ++i)
            Tick();
        ASSERT_EQ(sentFirst ? 1 : 0, Count(CMD_WRITE_SETTINGS));
        EXPECT_EQ(sentFirst, controller.WithdrawSettingsFile());
        Reconnect();
        // Neither the block nor the read that was to confirm it.
        EXPECT_EQ(0, Count(CMD_WRITE_SETTINGS));
        EXPECT_EQ(0, Count(CMD_READ_PARAMETERS));
    }
}

TEST_F(EcuLink, HistoryBlockReplacesEveryFiftiethPoll)
{
    Ticks(210);
    const std::vector<unsigned char> commands = ecu.ReceivedCommands();
    const long history = std::count(commands.begin(), commands.end(), CMD_WRITE_HISTORY);
    const long live = std::count(commands.begin(), commands.end(), CMD_READ_LIVE_DATA);
    // The counter steps on every other tick: one block per ~100 ticks.
    EXPECT_GE(history, 1);
    EXPECT_LE(history, 3);
    EXPECT_GE(live, 95);
    EXPECT_EQ(0, controller.m_missCount);
    for (const Bytes& frame : ecu.Received())
    {
        if (frame[1] == CMD_WRITE_HISTORY)
        {
            EXPECT_EQ(257u, frame.size());
        }
    }
}

TEST_F(EcuLink, DemoNeverWritesItsCountersToTheCar)
{
    ParamPayloadBuilder car;
    car.WorkCounter(0, 1782).WorkCounter(4, 720000);
    ecu.SetPayload(CMD_READ_PARAMETERS, Bytes(car.Payload().begin(), car.Payload().end()));
    Connect();
    ASSERT_EQ(1782u, controller.m_workCounters[0]);

    controller.SetDemoMode(true);
    Ticks(6);
    ASSERT_NE(1782u, controller.m_workCounters[0]) << "the demo's own counters";
    controller.SetDemoMode(false);
    EXPECT_EQ(0, controller.m_online + controller.m_connected);

    ecu.ClearReceived();
    const auto sentHistory = [&] {
        const std::vector<unsigned char> commands = ecu.ReceivedCommands();
        return std::find(commands.begin(), commands.end(), CMD_WRITE_HISTORY) != commands.end();
    };
    for (int i = 0; i < 300 && !sentHistory(); ++i)
        Tick();
    ASSERT_TRUE(sentHistory());

    // The car's parameters are read first; the block carries its counters.
    EXPECT_EQ(CMD_READ_PARAMETERS, ecu.ReceivedCommands().front());
    for (const Bytes& frame : ecu.Received())
    {
        if (frame[1] == CMD_WRITE_HISTORY)
        {
            EXPECT_EQ((Bytes{0xF6, 0x06, 0x00, 0x00}), Bytes(frame.begin() + 2, frame.begin() + 6));
            EXPECT_EQ((Bytes{0x80, 0xFC, 0x0A, 0x00}), Bytes(frame.begin() + 18, frame.begin() + 22));
        }
    }
}

TEST_F(EcuLink, WritesIntoAStalledLineReturnWithinATickAndFramesStayWhole)
{
    // The ECU stops reading: the pty's buffers fill with settings frames.
    const std::string block(554, '\x5A');
    controller.m_request.Build(CMD_WRITE_SETTINGS, block);
    controller.QueueRequest();
    const Bytes frame(controller.m_request.m_bytes.begin(), controller.m_request.m_bytes.end());

    SimulatedEcu::Clock::duration slowest{};
    const auto timedSend = [&] {
        const auto start = SimulatedEcu::Clock::now();
        controller.SendFront();
        slowest = std::max(slowest, SimulatedEcu::Clock::now() - start);
    };
    const auto tick = std::chrono::milliseconds(Controller::kTickMs);
    for (int i = 0; i < 2000 && controller.m_txRemainder.empty() && slowest < tick; ++i)
        timedSend();
    ASSERT_FALSE(controller.m_txRemainder.empty()) << "the line never filled";
    for (int i = 0; i < 3; ++i)
        timedSend();
    EXPECT_LT(slowest, tick);

    // Reading again, the ECU gets the cut frame finished before the next.
    const auto deadline = SimulatedEcu::Clock::now() + std::chrono::seconds(10);
    while (!controller.m_txRemainder.empty() && SimulatedEcu::Clock::now() < deadline)
    {
        ecu.Service();
        controller.SendFront();
    }
    EXPECT_TRUE(controller.m_txRemainder.empty());
    while (ecu.WaitForRequest(std::chrono::milliseconds(300)))
    {
    }
    EXPECT_EQ(0u, ecu.DiscardedBytes());
    ASSERT_FALSE(ecu.Received().empty());
    for (const Bytes& got : ecu.Received())
        ASSERT_EQ(frame, got);
}
