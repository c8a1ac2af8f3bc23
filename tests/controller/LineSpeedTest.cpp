// The link against an ECU that answers at 10000 baud (one byte per
// millisecond, replies queued behind each other as a UART sends them), over
// the real serial port on a pty. The poll ticks come every 50 ms of real
// time, as from the program's timer, and the ECU's line runs between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <vector>

#include <poll.h>

#include "ApplyTestSupport.h"
#include "CommandTestSupport.h"
#include "SimulatedEcu.h"

using namespace decodetest;

namespace
{
using Clock = SimulatedEcu::Clock;
using namespace std::chrono_literals;

class LineSpeed : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ecu.IsOpen());
        ecu.SetLineSpeed(1000);
        controller.SetHost(&host);
        observer.OnAttach();
        ASSERT_EQ(0, controller.OpenPort(ecu.SlavePath()));
    }

    // Ticks every 50 ms and serves the line until done() holds; false at
    // the deadline or when the link was given up.
    template <typename Done>
    bool Run(Done done, Clock::duration limit = 20s)
    {
        const auto deadline = Clock::now() + limit;
        while (!done())
        {
            const auto now = Clock::now();
            if (now > deadline || controller.m_linkLost)
                return false;
            if (now >= nextTick)
            {
                controller.PollTick();
                ++ticks;
                nextTick = now + std::chrono::milliseconds(Controller::kTickMs);
            }
            ecu.Service();
            // Until the next tick, the next byte of the line or a request.
            const auto wait = std::min<Clock::duration>(nextTick - Clock::now(), ecu.NextByteDue());
            const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(std::max(wait, Clock::duration{}));
            pollfd pfd = {ecu.MasterFd(), POLLIN, 0};
            poll(&pfd, 1, static_cast<int>(waitMs.count()));
        }
        return true;
    }

    long LiveFrames() const { return std::count(observer.m_events.begin(), observer.m_events.end(), 'D'); }
    bool Queued(unsigned char command) const
    {
        const auto& queue = controller.m_requestQueue;
        return std::any_of(queue.begin(), queue.end(), [&](const Request& r) { return r.m_command == command; });
    }
    std::vector<SimulatedEcu::Bytes> Sent(unsigned char command, std::size_t from = 0) const
    {
        std::vector<SimulatedEcu::Bytes> frames;
        std::copy_if(ecu.Received().begin() + static_cast<std::ptrdiff_t>(from), ecu.Received().end(),
                     std::back_inserter(frames), [&](const SimulatedEcu::Bytes& frame) { return frame[1] == command; });
        return frames;
    }

    SimulatedEcu ecu;
    Controller controller;
    RecordingHost host;
    RecordingObserver observer{controller};
    int ticks = 0;
    Clock::time_point nextTick = Clock::now();
};

} // namespace

TEST_F(LineSpeed, ParametersAskedOnceThenFreshLiveFrames)
{
    // The 887-byte parameter reply spans eighteen ticks.
    ASSERT_TRUE(Run([&] { return LiveFrames() >= 1; }));
    EXPECT_EQ(1u, Sent(CMD_READ_PARAMETERS).size());
    EXPECT_EQ("PD", observer.m_events);

    // A live exchange is 61 ms on the wire: one frame every third tick, at
    // least five a second, each asked for once.
    const int from = ticks;
    const long framesBefore = LiveFrames();
    ASSERT_TRUE(Run([&] { return ticks - from >= 60; }));
    EXPECT_GE(LiveFrames() - framesBefore, 15);
    EXPECT_EQ(LiveFrames(), static_cast<long>(Sent(CMD_READ_LIVE_DATA).size() - ecu.UnsentReplies()));
    // The ECU never holds a second reply behind the one it is sending, so a
    // reading is never older than one exchange.
    EXPECT_EQ(1u, ecu.PeakUnsentReplies());
    EXPECT_EQ(0, controller.m_missCount);
}

TEST_F(LineSpeed, LastValueOfABurstFollowsOnTheWire)
{
    ASSERT_TRUE(Run([&] { return LiveFrames() >= 1; }));
    controller.m_online = 1;
    // Value A goes out; value B is set while A's reply is still to come.
    controller.SetSwitchRpm(1200);
    ASSERT_TRUE(Run([&] { return !Sent(CMD_SET_SWITCH_RPM).empty(); }));
    controller.SetSwitchRpm(1500);
    ASSERT_TRUE(Run([&] { return !Queued(CMD_SET_SWITCH_RPM); }));

    const auto frames = Sent(CMD_SET_SWITCH_RPM);
    ASSERT_EQ(2u, frames.size()) << "the newer value must follow the older on the wire";
    EXPECT_EQ(12, frames[0][2]);
    EXPECT_EQ(15, frames[1][2]);
}

TEST_F(LineSpeed, LineNoiseNeitherFloodsNorBacklogsTheEcuAndLiveDataRecovers)
{
    // Serves until the ECU has sent one more reply, these bytes in front of it.
    const auto serveReply = [&](const SimulatedEcu::Bytes& stray) {
        ecu.StrayBeforeNextReply(stray);
        const int replies = ecu.RepliesSent();
        ASSERT_TRUE(Run([&] { return ecu.RepliesSent() > replies; }));
    };
    SimulatedEcu::Bytes junk = {0xAA, 0x7F, 0xFF};
    junk.resize(24, 0x5A);
    const std::pair<const char*, std::function<void()>> faults[] = {
        // 0x00 arrives as 0x80: the live reply announces 32825 bytes.
        {"corrupted length byte", [&] { ecu.SetFlipLengthEvery(1); serveReply({}); ecu.SetFlipLengthEvery(0); }},
        {"junk frame of impossible length", [&] { serveReply(junk); }},
        {"ten stray bytes between replies, nulls and false headers",
         [&] {
             for (int i = 0; i < 10; ++i)
                 serveReply({static_cast<unsigned char>(i % 2 ? 0xAA : 0x00)});
         }},
    };
    ASSERT_TRUE(Run([&] { return LiveFrames() >= 3; }));
    for (const auto& [fault, inject] : faults)
    {
        SCOPED_TRACE(fault);
        inject();
        const long frames = LiveFrames();
        ASSERT_TRUE(Run([&] { return LiveFrames() >= frames + 10; }, 3s));
    }
    EXPECT_LE(ecu.PeakRequestsPerSecond(), 10u);
    EXPECT_LE(ecu.PeakUnsentReplies(), 2u);
    // No reset: the parameters were read once and stay applied (the pages
    // stay editable).
    EXPECT_EQ(Sent(CMD_READ_PARAMETERS), std::vector<cmdtest::Bytes>{cmdtest::RequestFrame(12, {1})});
    EXPECT_EQ(1, controller.m_parametersApplied);
}

TEST_F(LineSpeed, LoadWhileALiveReplyIsUnderWaySendsEveryFrameOnce)
{
    const cmdtest::TempDir dir;
    const wxString path = cmdtest::SettingsFileIn(dir, 7);
    ASSERT_TRUE(Run([&] { return LiveFrames() >= 2; }));
    controller.m_online = 1;

    // The live reply is on the line when the file is loaded; or it is held
    // back and arrives together with the block's acknowledgement.
    for (const bool heldBack : {false, true})
    {
        SCOPED_TRACE(heldBack ? "held back" : "under way");
        host.m_loaded.clear();
        const std::size_t from = ecu.Received().size();
        if (heldBack)
            ecu.HoldNextReply();
        ASSERT_TRUE(
            Run([&] { return !Sent(CMD_READ_LIVE_DATA, from).empty() && (heldBack || ecu.UnsentReplies() > 0); }));
        ASSERT_TRUE(controller.LoadSettingsFile(path));
        ASSERT_TRUE(Run([&] { return !host.m_loaded.empty(); }));
        controller.SetSwitchRpm(1200);
        ASSERT_TRUE(Run([&] { return !Sent(CMD_SET_SWITCH_RPM, from).empty(); }));
        // A few exchanges more, for any frame that would go out twice.
        const long frames = LiveFrames();
        ASSERT_TRUE(Run([&] { return LiveFrames() >= frames + 3; }));
        EXPECT_EQ(1u, Sent(CMD_WRITE_SETTINGS, from).size());
        EXPECT_EQ(Sent(CMD_READ_PARAMETERS, from), std::vector<cmdtest::Bytes>{cmdtest::RequestFrame(12, {1})});
        EXPECT_EQ(1u, Sent(CMD_SET_SWITCH_RPM, from).size());
    }
}

TEST_F(LineSpeed, NoiseInFrontOfAnAcknowledgementNeverSendsTheWriteTwice)
{
    // Garbage bytes, or a false header announcing a length, in front of it.
    const std::pair<std::size_t, std::size_t> noises[] = {{50, 0}, {150, 0}, {200, 0}, {300, 0}, {0, 5},
                                                          {0, 6},  {0, 7},   {0, 8},   {0, 9},   {0, 10}};
    ASSERT_TRUE(Run([&] { return LiveFrames() >= 2; }));
    controller.m_online = 1;
    unsigned char cng = 0;
    for (const auto& [burst, falseLength] : noises)
    {
        SCOPED_TRACE(::testing::Message() << burst << " garbage bytes, false header of length " << falseLength);
        ecu.SetNoise({burst, falseLength, 1, CMD_SET_FUEL_TYPE});
        const std::size_t from = ecu.Received().size();
        cng ^= 1;
        controller.SetFuelType(cng);
        ASSERT_TRUE(Run([&] { return !Queued(CMD_SET_FUEL_TYPE); }));
        const long frames = LiveFrames();
        EXPECT_TRUE(Run([&] { return LiveFrames() >= frames + 3; }, 1s)) << "live data did not come back";
        EXPECT_EQ(1u, Sent(CMD_SET_FUEL_TYPE, from).size());
        EXPECT_LE(ecu.PeakUnsentReplies(), 1u);
    }
}
