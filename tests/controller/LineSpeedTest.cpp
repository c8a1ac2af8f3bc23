// The link against an ECU that answers at 10000 baud (one byte per
// millisecond, replies queued behind each other as a UART sends them), over
// the real serial port on a pty. The poll ticks come every 50 ms of real
// time, as from the program's timer, and the ECU's line runs between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

#include <poll.h>

#include "ApplyTestSupport.h"
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
    std::vector<SimulatedEcu::Bytes> Sent(unsigned char command) const
    {
        std::vector<SimulatedEcu::Bytes> frames;
        std::copy_if(ecu.Received().begin(), ecu.Received().end(), std::back_inserter(frames),
                     [&](const SimulatedEcu::Bytes& frame) { return frame[1] == command; });
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
    ASSERT_TRUE(Run([&] {
        return std::none_of(controller.m_requestQueue.begin(), controller.m_requestQueue.end(),
                            [](const Request& r) { return r.m_command == CMD_SET_SWITCH_RPM; });
    }));

    const auto frames = Sent(CMD_SET_SWITCH_RPM);
    ASSERT_EQ(2u, frames.size()) << "the newer value must follow the older on the wire";
    EXPECT_EQ(12, frames[0][2]);
    EXPECT_EQ(15, frames[1][2]);
}
