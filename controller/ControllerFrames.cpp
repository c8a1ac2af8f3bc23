// The request queue and the receive path: reading what arrived, cutting
// reply frames, checking length and sum, and dispatching them.
#include "Controller.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "DemoRecording.h"
#include "FrameSum.h"

namespace
{

// Header, two length bytes, command, sum: the shortest reply.
constexpr std::size_t kMinReplyLength = 5;
// More than the longest reply (887) unparsed means the line is out of step.
constexpr std::size_t kRxLimit = 888;
// Most bytes taken from the port in one read; the driver queue holds 4096,
// and a port reporting more must not make the buffer grow without bound.
constexpr int kMaxReadBytes = 4096;
constexpr int kDemoPauseMs = 150;

} // namespace

void Controller::QueueRequest()
{
    for (Request& queued : m_requestQueue)
    {
        if (queued.m_command == m_request.m_command)
        {
            // The newer value wins and keeps the older one's place, even if
            // that one was already sent and awaits its reply.
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
    m_request = m_requestQueue.front();
    if (m_port)
        m_port->Write(m_request.m_bytes.data(), m_request.m_bytes.size());
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

    const unsigned char* payload = reinterpret_cast<const unsigned char*>(m_lastPayload.data());
    const std::size_t payloadLength = m_lastPayload.size() - 1;
    switch (command)
    {
    case CMD_READ_LIVE_DATA:
        if (ApplyLiveData(payload, payloadLength))
            m_connected = 1;
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

    m_requestQueue.erase(std::remove_if(m_requestQueue.begin(), m_requestQueue.end(),
                                        [command](const Request& r) { return r.m_command == command; }),
                         m_requestQueue.end());
}
