// The request queue and the receive path: reading what arrived, cutting
// reply frames, checking length and sum, and dispatching them.
#include "Controller.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "ControllerReady.h"
#include "DemoRecording.h"
#include "FrameSum.h"

namespace
{

constexpr unsigned char kHeader = 0xAA;
constexpr int kDemoPauseMs = 150;

// 10000 baud with start and stop bit: one byte per millisecond each way.
constexpr int LineMs(std::size_t bytes)
{
    return static_cast<int>(bytes);
}
// What a reply may lag behind the line's own time (the ECU's turnaround,
// the driver's and the timer's latency).
constexpr int kReplyMarginMs = 2 * Controller::kTickMs;

} // namespace

void Controller::QueueRequest()
{
    // The demo plays a recording: what the pages change stays in the cache,
    // and the user is told that no ECU got it.
    if (m_demoMode)
    {
        if (m_host)
            m_host->SayStatus(DemoNotSentText());
        return;
    }
    for (Request& queued : m_requestQueue)
    {
        if (queued.m_command == m_request.m_command)
        {
            // The newer value wins and keeps the older one's place. If the
            // older bytes are on the wire, their reply must not count for
            // the newer ones: those go out after it.
            if (queued.m_wire == Request::WIRE_SENT && queued.m_bytes != m_request.m_bytes)
                queued.m_wire = Request::WIRE_CHANGED_AFTER_SEND;
            queued = m_request;
            return;
        }
    }
    m_requestQueue.push_back(m_request);
}

void Controller::SendFront()
{
    if (m_requestQueue.empty())
        return;
    Request& front = m_requestQueue.front();
    m_request = front;
    m_sentLength = 0;
    if (!m_port)
        return;

    // The rest of a frame the port took only in part goes first: the ECU
    // must never see the start of one frame run into the next. Until it is
    // out, the request counts as unanswered and is tried again.
    if (!m_txRemainder.empty())
    {
        m_txRemainder.erase(0, Put(m_txRemainder.data(), m_txRemainder.size()));
        if (!m_txRemainder.empty())
            return;
    }
    const std::string& frame = m_request.m_bytes;
    const std::size_t put = Put(frame.data(), frame.size());
    // Once any of it is out, the ECU may act on it (the rest follows).
    if (put > 0)
        m_requestQueue.front().m_wire = Request::WIRE_SENT;
    if (put > 0 && put < frame.size())
        m_txRemainder.assign(frame, put, std::string::npos);
}

std::size_t Controller::Put(const char* data, std::size_t size)
{
    const int put = m_port->Write(data, size);
    const std::size_t taken = put > 0 ? std::min(static_cast<std::size_t>(put), size) : 0;
    m_sentLength += taken;
    return taken;
}

bool Controller::RequestStillOnTheLine() const
{
    return m_ticksSinceSend * kTickMs < LineMs(m_sentLength);
}

bool Controller::FrontSent() const
{
    return !m_requestQueue.empty() && m_requestQueue.front().m_wire != Request::WIRE_QUEUED;
}

std::size_t Controller::AwaitedLength() const
{
    // The parser leaves the buffer empty or holding the start of one reply
    // whose length, once known, is one the ECU sends.
    const std::size_t held = m_rxBuffer.size();
    if (held == 0)
        return 0;
    if (held < 3)
        return kShortestReply;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_rxBuffer.data());
    const std::size_t length = static_cast<std::size_t>(bytes[1]) * 256 + bytes[2];
    return held < length ? length : 0;
}

bool Controller::ReplyStillArriving()
{
    // A start held past its own line time is no reply: one byte goes and the
    // search starts again behind it, where a reply may be whole or arriving.
    while (HeldStartOverdue())
    {
        EraseReceived(1);
        m_readNoise = true;
        ParseReply();
    }
    // Once this read has brought the answer and nothing else is out, a start
    // held behind it is no reply to wait for: the next read sorts it out.
    const bool done = m_readAnswer && !FrontSent();
    if (done)
    {
        m_partialTicks = 0;
        return false;
    }
    ++m_partialTicks;
    if (AwaitedLength() > 0)
        return true;
    // Noise may be the answer garbled, or come before it; an earlier
    // request's answer (late, or one still under way when the queue was
    // changed) has the answer to this one right behind it. While it keeps
    // coming, wait at most the longest reply's time.
    const bool behind = FrontSent() && (m_readNoise || (m_readFrame && !m_readAnswer));
    if (behind && m_partialTicks * kTickMs <= LineMs(kLongestReply) + kReplyMarginMs)
        return true;
    m_partialTicks = 0;
    return false;
}

bool Controller::HeldStartOverdue() const
{
    const std::size_t length = AwaitedLength();
    if (length == 0)
        return false;
    // Its header came with the read numbered FrontArrival(); noise before
    // it took none of its time.
    const unsigned reads = m_rxReads - FrontArrival() + 1;
    return reads * kTickMs > static_cast<unsigned>(LineMs(length) + kReplyMarginMs);
}

unsigned Controller::FrontArrival() const
{
    return m_rxArrivals.empty() ? m_rxReads : m_rxArrivals.front().read;
}

void Controller::EraseReceived(std::size_t count)
{
    count = std::min(count, m_rxBuffer.size());
    m_rxBuffer.erase(0, count);
    while (count > 0 && !m_rxArrivals.empty())
    {
        RxArrival& oldest = m_rxArrivals.front();
        const std::size_t taken = std::min(count, oldest.bytes);
        oldest.bytes -= taken;
        count -= taken;
        if (oldest.bytes == 0)
            m_rxArrivals.pop_front();
    }
}

void Controller::ReadPort()
{
    if (m_demoMode)
    {
        if (!m_demoParametersSent)
        {
            m_rxBuffer.assign(reinterpret_cast<const char*>(demoParameterFrame.data()), demoParameterFrame.size());
            ++m_demoParametersSent;
        }
        else
        {
            if (m_demoFrameIndex >= kDemoLiveFrameCount)
                m_demoFrameIndex = 0;
            const auto& frame = demoLiveFrames[m_demoFrameIndex];
            m_rxBuffer.assign(reinterpret_cast<const char*>(frame.data()), frame.size());
            ++m_demoFrameIndex;
        }
        ParseReply();
        if (m_host)
            m_host->Sleep(kDemoPauseMs);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kDemoPauseMs));
        return;
    }

    m_readNoise = false;
    m_readFrame = false;
    m_readAnswer = false;
    ++m_rxReads;
    // The buffer emptied elsewhere (a link reset) takes its arrivals along.
    if (m_rxBuffer.empty())
        m_rxArrivals.clear();
    // A vanished port (pty closed, adapter unplugged) fails this query; it
    // then counts as a read that found nothing, and the misses end the link.
    int waiting = 0;
    if (!m_port || m_port->Ioctl(SERIAL_BYTES_WAITING, &waiting) < 0)
        waiting = 0;
    if (waiting < 1)
    {
        // A pause inside a reply under way is not a read that found nothing.
        if (AwaitedLength() == 0)
            ++m_missCount;
        return;
    }
    waiting = std::min(waiting, kMaxReadBytes);

    // Reads do not block, so the bytes are in place when Read returns and
    // nothing can arrive into the buffer later.
    const std::size_t held = m_rxBuffer.size();
    m_rxBuffer.resize(held + static_cast<std::size_t>(waiting));
    const int got = m_port->Read(&m_rxBuffer[held], static_cast<std::size_t>(waiting));
    // The parser never holds this much; the last guard if it ever did.
    if (held >= kRxLimit)
    {
        ResetLink();
        m_rxBuffer.clear();
        return;
    }
    if (got < 0)
    {
        m_rxBuffer.resize(held);
        return;
    }
    const std::size_t added = static_cast<std::size_t>(std::min(got, waiting));
    m_rxBuffer.resize(held + added);
    if (added > 0)
        m_rxArrivals.push_back({added, m_rxReads});
    ParseReply();
}

void Controller::ParseReply()
{
    // Each frame answers its own request: one left behind would put every
    // later reply one request out of step.
    while (TakeFrame())
    {
    }
}

void Controller::DropNoise()
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_rxBuffer.data());
    const std::size_t held = m_rxBuffer.size();
    std::size_t start = 0;
    while (start < held)
    {
        if (bytes[start] == kHeader)
        {
            if (held - start < 3)
                break;
            const std::size_t length = static_cast<std::size_t>(bytes[start + 1]) * 256 + bytes[start + 2];
            if (length >= kShortestReply && length <= kLongestReply)
                break;
        }
        ++start;
    }
    if (start == 0)
        return;
    EraseReceived(start);
    m_readNoise = true;
}

bool Controller::TakeFrame()
{
    DropNoise();
    const std::size_t held = m_rxBuffer.size();
    if (held < 3)
        return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_rxBuffer.data());
    const std::size_t length = static_cast<std::size_t>(bytes[1]) * 256 + bytes[2];
    // Incomplete: keep it for the next read.
    if (length > held)
        return false;
    if (FrameSum(bytes, length - 1) != bytes[length - 1])
    {
        // A false header's "frame" may hold the start of the reply behind
        // it, so only one byte goes; of a garbled reply, the rest is noise
        // (or fails in turn) and its request goes out again.
        EraseReceived(1);
        m_readNoise = true;
        return true;
    }

    const unsigned char command = bytes[3];
    m_lastPayload.assign(m_rxBuffer, 4, length - 4);
    EraseReceived(length);
    m_missCount = 0;
    m_partialTicks = 0;
    m_readFrame = true;

    // While a request is out, a reply answers only what has gone out: the
    // parameter read queued behind a settings block is not answered by the
    // late reply to an earlier read. A reply nobody waits for answers its
    // command's request wherever it stands.
    const bool onlySent = m_awaitingReply || FrontSent();
    for (auto it = m_requestQueue.begin(); it != m_requestQueue.end();)
    {
        if (it->m_command != command || (onlySent && it->m_wire == Request::WIRE_QUEUED))
        {
            ++it;
        }
        else if (it->m_wire == Request::WIRE_CHANGED_AFTER_SEND)
        {
            // This reply answers the older bytes; the newer ones go next.
            it->m_wire = Request::WIRE_QUEUED;
            m_readAnswer = true;
            ++it;
        }
        else
        {
            m_readAnswer = m_readAnswer || it->m_wire == Request::WIRE_SENT;
            it = m_requestQueue.erase(it);
        }
    }

    const unsigned char* payload = reinterpret_cast<const unsigned char*>(m_lastPayload.data());
    const std::size_t payloadLength = m_lastPayload.size() - 1;
    switch (command)
    {
    case CMD_READ_LIVE_DATA:
        ApplyLiveData(payload, payloadLength);
        break;
    case CMD_READ_PARAMETERS:
    {
        // No nested tick while an observer shows a modal dialog.
        if (m_host)
            m_host->StopPollTimer();
        const bool applied = ApplyParameters(payload, payloadLength);
        if (m_host)
            m_host->StartPollTimer();
        if (applied)
            m_parametersReceived = 1;
        break;
    }
    default:
        break;
    }
    return true;
}
