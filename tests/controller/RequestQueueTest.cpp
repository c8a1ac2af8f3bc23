#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ControllerTestSupport.h"
#include "FrameSum.h"
#include "SimulatedEcu.h"

namespace
{

using Bytes = std::vector<unsigned char>;

std::string Str(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Bytes Frame(unsigned char command, std::size_t payloadSize, unsigned char fill = 0)
{
    return SimulatedEcu::MakeReply(command, Bytes(payloadSize, fill));
}

} // namespace

TEST(Request, BuildsFramesWithHeaderAndSum)
{
    Request r;
    r.Build(1, 1);
    EXPECT_EQ(FakeLink::Text({0xAA, 0x01, 0x01, 0xAC}), r.m_bytes);
    EXPECT_EQ(0xAC, r.m_sum);
    EXPECT_EQ(1, r.m_command);
    r.Build(12, 1);
    EXPECT_EQ(FakeLink::Text({0xAA, 0x0C, 0x01, 0xB7}), r.m_bytes);
    r.Build(37);
    EXPECT_EQ(FakeLink::Text({0xAA, 0x25, 0xCF}), r.m_bytes);
    r.Build(34, 0, 4);
    EXPECT_EQ(FakeLink::Text({0xAA, 0x22, 0x00, 0x04, 0xD0}), r.m_bytes);
    EXPECT_EQ(34, r.m_command);

    // The longest request: 554 data bytes; the sum wraps many times.
    r.Build(26, std::string(554, '\xFF'));
    ASSERT_EQ(557u, r.m_bytes.size());
    EXPECT_EQ(static_cast<unsigned char>((0xAA + 26 + 554 * 0xFF) % 256), static_cast<unsigned char>(r.m_bytes.back()));

    r.m_header = 0x55;
    r.Build(9, 5);
    EXPECT_EQ(FakeLink::Text({0x55, 0x09, 0x05, 0x63}), r.m_bytes);
}

TEST(Request, CopiesFrameButNotHeader)
{
    Request source;
    source.m_header = 0x55;
    source.Build(9, 5);
    Request copy(source);
    EXPECT_EQ(source.m_bytes, copy.m_bytes);
    EXPECT_EQ(source.m_sum, copy.m_sum);
    EXPECT_EQ(9, copy.m_command);
    EXPECT_EQ(0xAA, copy.m_header);

    Request assigned;
    assigned.m_header = 0x11;
    assigned = source;
    EXPECT_EQ(source.m_bytes, assigned.m_bytes);
    EXPECT_EQ(0x11, assigned.m_header);
}

TEST(RequestQueue, NewerValueReplacesQueuedCommandInPlace)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_request.Build(54, 5);
    c.QueueRequest();
    c.m_request.Build(17, 30);
    c.QueueRequest();
    c.m_request.Build(54, 7);
    c.QueueRequest();

    ASSERT_EQ(2u, c.m_requestQueue.size());
    EXPECT_EQ(54, c.m_requestQueue[0].m_command);
    EXPECT_EQ(FakeLink::Text({0xAA, 54, 7, static_cast<unsigned char>(0xAA + 54 + 7)}), c.m_requestQueue[0].m_bytes);
    EXPECT_EQ(17, c.m_requestQueue[1].m_command);

    // The front stays queued after sending; a newer value replaces even it.
    c.SendFront();
    ASSERT_EQ(1u, link.port->m_written.size());
    EXPECT_EQ(c.m_requestQueue[0].m_bytes, link.port->m_written[0]);
    c.m_request.Build(54, 9);
    c.QueueRequest();
    c.SendFront();
    EXPECT_EQ(FakeLink::Text({0xAA, 54, 9, static_cast<unsigned char>(0xAA + 54 + 9)}), link.port->m_written[1]);
    EXPECT_EQ(2u, c.m_requestQueue.size());
    EXPECT_EQ(0xAA, c.m_request.m_header);
}

TEST(ReplyParser, FrameArrivingInTwoReadsIsParsedAfterTheSecond)
{
    FakeLink link;
    Controller& c = link.controller;
    c.RequestLiveData();
    const Bytes frame = Frame(1, 52);

    link.port->Arrive(Bytes(frame.begin(), frame.begin() + 40));
    c.ReadPort();
    EXPECT_EQ(40u, c.m_rxBuffer.size());
    EXPECT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(0, c.m_connected);

    link.port->Arrive(Bytes(frame.begin() + 40, frame.end()));
    c.ReadPort();
    EXPECT_TRUE(c.m_rxBuffer.empty());
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(1, c.m_connected);
    EXPECT_EQ(53u, c.m_lastPayload.size());
    EXPECT_EQ(frame.back(), static_cast<unsigned char>(c.m_lastPayload.back()));
}

TEST(ReplyParser, SumMismatchDropsTheFrameAndLeavesTheRequest)
{
    FakeLink link;
    Controller& c = link.controller;
    c.RequestParameters();
    c.m_missCount = 4;
    Bytes bad = Frame(12, 882);
    bad.back() = static_cast<unsigned char>(bad.back() + 1);
    bad.insert(bad.end(), {0xAA, 0x00, 0x05});
    c.m_rxBuffer = Str(bad);
    c.ParseReply();
    // What follows the garbled frame may be the next reply.
    EXPECT_EQ(FakeLink::Text({0xAA, 0x00, 0x05}), c.m_rxBuffer);
    EXPECT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(4, c.m_missCount);
    EXPECT_EQ(0, c.m_parametersReceived);
    EXPECT_TRUE(link.host.m_calls.empty());
}

TEST(ReplyParser, GarbledReplyCostsOnlyItselfWhateverHeadersItHolds)
{
    // False headers in a garbled live reply: one ends inside it, one reaches
    // into the acknowledgement behind it.
    Bytes line = Frame(CMD_READ_LIVE_DATA, 52);
    line[10] = line[50] = 0xAA;
    line[12] = 0x07;
    line[52] = 0x0C;
    line.back() = static_cast<unsigned char>(FrameSum(line.data(), 56) + 1);
    const Bytes ack = SimulatedEcu::MakeReply(CMD_SET_FUEL_TYPE, {});
    line.insert(line.end(), ack.begin(), ack.end());
    FakeLink link;
    Controller& c = link.controller;
    c.RequestLiveData();
    c.m_request.Build(CMD_SET_FUEL_TYPE, 1);
    c.QueueRequest();
    // A byte a read: every piece is waited for.
    for (unsigned char byte : line)
    {
        link.port->Arrive({byte});
        c.ReadPort();
    }
    EXPECT_TRUE(c.m_rxBuffer.empty());
    EXPECT_EQ(Str({ack.back()}), c.m_lastPayload);
    ASSERT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(CMD_READ_LIVE_DATA, c.m_requestQueue[0].m_command);
}

TEST(ReplyParser, AcknowledgementAndWhatFollowsIt)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_request.Build(9, 5);
    c.QueueRequest();
    c.RequestLiveData();
    c.m_missCount = 9;

    // A good frame followed by three bytes of the next one.
    c.m_rxBuffer = FakeLink::Text({0xAA, 0x00, 0x05, 0x09, 0xB8, 0xAA, 0x00, 0x39});
    c.ParseReply();
    EXPECT_EQ(FakeLink::Text({0xB8}), c.m_lastPayload);
    EXPECT_EQ(0, c.m_missCount);
    ASSERT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(1, c.m_requestQueue[0].m_command);
    EXPECT_EQ(FakeLink::Text({0xAA, 0x00, 0x39}), c.m_rxBuffer);

    // A reply to a command nobody asked for still counts as a good frame.
    c.m_missCount = 3;
    c.m_rxBuffer = Str(SimulatedEcu::MakeReply(40, {1, 2}));
    c.ParseReply();
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_EQ(1u, c.m_requestQueue.size());
}

TEST(ReplyParser, DeclaredLengthIsWaitedForUpToIt)
{
    FakeLink link;
    Controller& c = link.controller;
    const Bytes frame = Frame(20, 123); // L = 128: length bytes 00 80
    ASSERT_EQ(0x80, frame[2]);
    c.m_rxBuffer = Str(Bytes(frame.begin(), frame.end() - 1));
    c.ParseReply();
    EXPECT_EQ(127u, c.m_rxBuffer.size());
    c.m_rxBuffer.push_back(static_cast<char>(frame.back()));
    c.ParseReply();
    EXPECT_TRUE(c.m_rxBuffer.empty());
    EXPECT_EQ(124u, c.m_lastPayload.size());

    // Fewer than three bytes: not even the length is known.
    c.m_rxBuffer = FakeLink::Text({0xAA, 0x00});
    c.ParseReply();
    EXPECT_EQ(2u, c.m_rxBuffer.size());
}

TEST(ReplyParser, LengthTooShortForCommandAndSumIsDropped)
{
    for (unsigned char length = 0; length < 5; ++length)
    {
        FakeLink link;
        Controller& c = link.controller;
        c.m_request.Build(0);
        c.QueueRequest();
        c.m_missCount = 2;
        c.m_lastPayload = "old";
        c.m_rxBuffer = FakeLink::Text({0xAA, 0x00, length, 0x00, 0x00, 0x00});
        c.ParseReply();
        EXPECT_TRUE(c.m_rxBuffer.empty()) << int(length);
        EXPECT_EQ("old", c.m_lastPayload);
        EXPECT_EQ(2, c.m_missCount);
        EXPECT_EQ(1u, c.m_requestQueue.size());
    }
}

TEST(ReplyParser, ParameterFrameStopsThePollTimerAroundItsApply)
{
    FakeLink link;
    Controller& c = link.controller;
    c.RequestParameters();
    c.m_rxBuffer = Str(Frame(12, 882));
    c.ParseReply();
    EXPECT_EQ(883u, c.m_lastPayload.size());
    EXPECT_EQ(1, c.m_parametersReceived);
    EXPECT_TRUE(c.m_requestQueue.empty());
    ASSERT_GE(link.host.m_calls.size(), 2u);
    EXPECT_EQ("stop", link.host.m_calls.front());
    EXPECT_EQ("start", link.host.m_calls.back());
}

TEST(ReplyParser, ShortDataRepliesAnswerButBringNoData)
{
    FakeLink link;
    Controller& c = link.controller;
    c.RequestParameters();
    c.m_rxBuffer = Str(Frame(12, 100));
    c.ParseReply();
    EXPECT_EQ(0, c.m_parametersReceived);
    EXPECT_EQ(0, c.m_parametersApplied);
    EXPECT_TRUE(c.m_requestQueue.empty());

    c.RequestLiveData();
    c.m_rxBuffer = Str(Frame(1, 51));
    c.ParseReply();
    EXPECT_EQ(0, c.m_connected);
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(0, c.m_missCount);
}

TEST(ReplyParser, EveryWholeFrameOfOneReadIsTaken)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_request.Build(9, 1);
    c.QueueRequest();
    c.m_request.Build(17, 1);
    c.QueueRequest();
    Bytes two = SimulatedEcu::MakeReply(9, {});
    const Bytes second = SimulatedEcu::MakeReply(17, {});
    two.insert(two.end(), second.begin(), second.end());
    c.m_rxBuffer = Str(two);
    c.ParseReply();
    EXPECT_TRUE(c.m_rxBuffer.empty());
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(Str(Bytes{second.back()}), c.m_lastPayload);
}
