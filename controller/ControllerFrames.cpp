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

// Header, two length bytes, command, sum: the shortest reply.
constexpr std::size_t kMinReplyLength = 5;
// The longest reply: the parameter frame.
constexpr std::size_t kLongestReply = 887;
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
    front.m_wire = Request::WIRE_SENT;
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

std::size_t Controller::AwaitedLength() const
{
    const std::size_t held = m_rxBuffer.size();
    if (held == 0)
        return 0;
    if (held < 3)
        return kMinReplyLength;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_rxBuffer.data());
    const std::size_t length = static_cast<std::size_t>(bytes[1]) * 256 + bytes[2];
    // A length no reply has is line noise, not a reply under way.
    if (length > kLongestReply || held >= length)
        return 0;
    return length;
}

bool Controller::ReplyStillArriving()
{
    const std::size_t length = AwaitedLength();
    if (length == 0)
    {
        m_partialTicks = 0;
        return false;
    }
    // Wait as long as the line needs for the length the header announces.
    ++m_partialTicks;
    if (m_partialTicks * kTickMs <= LineMs(length) + kReplyMarginMs)
        return true;
    // The rest is not coming: a stale start would hold up the next reply.
    m_rxBuffer.clear();
    m_partialTicks = 0;
    return false;
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
    m_rxBuffer.resize(held + static_cast<std::size_t>(std::min(got, waiting)));
    ParseReply();
}

void Controller::ParseReply()
{
    const std::size_t held = m_rxBuffer.size();
    if (held < 3)
        return;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(m_rxBuffer.data());
    const std::size_t length = static_cast<std::size_t>(bytes[1]) * 256 + bytes[2];

    // Too short to hold command and sum: garbage, dropped like a bad sum.
    if (length < kMinReplyLength)
    {
        m_rxBuffer.clear();
        return;
    }
    // Incomplete: keep everything for the next read.
    if (length > held)
        return;
    if (FrameSum(bytes, length - 1) != bytes[length - 1])
    {
        // The request stays queued and goes out again on the next tick.
        m_rxBuffer.clear();
        return;
    }

    const unsigned char command = bytes[3];
    m_lastPayload.assign(m_rxBuffer, 4, length - 4);
    m_rxBuffer.erase(0, length);
    m_missCount = 0;
    m_partialTicks = 0;

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

    for (auto it = m_requestQueue.begin(); it != m_requestQueue.end();)
    {
        if (it->m_command != command)
        {
            ++it;
        }
        else if (it->m_wire == Request::WIRE_CHANGED_AFTER_SEND)
        {
            // This reply answers the older bytes; the newer ones go next.
            it->m_wire = Request::WIRE_QUEUED;
            ++it;
        }
        else
        {
            it = m_requestQueue.erase(it);
        }
    }
}
