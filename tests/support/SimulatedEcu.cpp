#include "SimulatedEcu.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "ControllerCommand.h"
#include "FrameSum.h"
#include "IdleCar.h"
#include "ReplyFrame.h"
#include "PosixSerial.h"

namespace
{

// How long the ECU waits for its own output to become readable on the
// slave side (the pty hands bytes over through a kernel work queue).
constexpr std::chrono::milliseconds kDeliveryTimeout(2000);

std::size_t SlaveWaiting(int slave)
{
    int count = 0;
    if (slave < 0 || posixserial::BytesWaiting(slave, &count) < 0)
        return 0;
    return static_cast<std::size_t>(count);
}

} // namespace

SimulatedEcu::SimulatedEcu()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return;
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof name) != 0)
    {
        close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = name;
    // Held for the ECU's life: the pty stays up while the program closes
    // and reopens its side, and the ECU can see what waits for the program.
    m_slave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave >= 0)
    {
        const posixserial::LineSettings raw = {10000, 0, 8, 1, false, false};
        posixserial::Configure(m_slave, raw);
    }
    m_payloads[1] = Bytes(kLivePayloadSize, 0);
    m_payloads[12] = Bytes(kParameterPayloadSize, 0);
}

SimulatedEcu::~SimulatedEcu()
{
    if (m_slave >= 0)
        close(m_slave);
    CloseMaster();
}

void SimulatedEcu::CloseMaster()
{
    if (m_master >= 0)
        close(m_master);
    m_master = -1;
}

int SimulatedEcu::DataLength(unsigned char command)
{
    switch (command)
    {
    case 1: case 5: case 9: case 10: case 12: case 14: case 15: case 16: case 17: case 18: case 19:
    case 23: case 24: case 27: case 30: case 31: case 33: case 35: case 36: case 39: case 42:
    case 43: case 46: case 48: case 49: case 51: case 54: case 55:
        return 1;
    case 3: case 34:
        return 2;
    case 25:
        return 3;
    case 2: case 13:
        return 5;
    case 53:
        return 8;
    case 32:
        return 20;
    case 11:
        return 246;
    case 59:
        return 254;
    case 26:
        return 554;
    case 37:
        return 0;
    default:
        return -1;
    }
}

SimulatedEcu::Bytes SimulatedEcu::MakeReply(unsigned char command, const Bytes& payload)
{
    return WrapReplyFrame(command, payload);
}

void SimulatedEcu::SetPayload(unsigned char command, const Bytes& payload)
{
    m_payloads[command] = payload;
}

const SimulatedEcu::Bytes& SimulatedEcu::Payload(unsigned char command) const
{
    static const Bytes kNone;
    const auto it = m_payloads.find(command);
    return it == m_payloads.end() ? kNone : it->second;
}

IdleCar& SimulatedEcu::UseIdleCar()
{
    if (!m_car)
        m_car = std::make_unique<IdleCar>();
    return *m_car;
}

std::vector<unsigned char> SimulatedEcu::ReceivedCommands() const
{
    std::vector<unsigned char> commands;
    for (const Bytes& frame : m_received)
        commands.push_back(frame[1]);
    return commands;
}

void SimulatedEcu::TakeInput()
{
    if (m_master < 0)
        return;
    unsigned char chunk[1024];
    for (;;)
    {
        const ssize_t got = read(m_master, chunk, sizeof chunk);
        if (got > 0)
        {
            m_input.insert(m_input.end(), chunk, chunk + got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // EAGAIN: nothing more now; EIO: no slave open at the moment.
        return;
    }
}

int SimulatedEcu::ParseRequests()
{
    int taken = 0;
    std::size_t pos = 0;
    while (pos < m_input.size())
    {
        if (m_input[pos] != 0xAA)
        {
            ++pos;
            ++m_discarded;
            continue;
        }
        if (m_input.size() - pos < 2)
            break;
        const int dataLength = DataLength(m_input[pos + 1]);
        if (dataLength < 0)
        {
            ++pos;
            ++m_discarded;
            continue;
        }
        const std::size_t frameLength = static_cast<std::size_t>(dataLength) + 3;
        if (m_input.size() - pos < frameLength)
            break;
        const unsigned char* frame = m_input.data() + pos;
        if (FrameSum(frame, frameLength - 1) != frame[frameLength - 1])
        {
            ++pos;
            ++m_discarded;
            continue;
        }
        Bytes request(frame, frame + frameLength);
        pos += frameLength;
        m_received.push_back(request);
        const Clock::time_point now = Clock::now();
        m_lastSecond.push_back(now);
        while (now - m_lastSecond.front() > std::chrono::seconds(1))
            m_lastSecond.pop_front();
        m_peakRate = std::max(m_peakRate, m_lastSecond.size());
        ++taken;
        Answer(request);
    }
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(pos));
    return taken;
}

void SimulatedEcu::Answer(const Bytes& request)
{
    ++m_requestCount;
    if (m_silent || (m_silentEvery > 0 && m_requestCount % m_silentEvery == 0)
        || (m_silentFrom > 0 && m_requestCount >= m_silentFrom))
        return;

    TakeEffect(request);
    const unsigned char command = request[1];
    Bytes payload;
    if (m_car)
        m_car->Take(request);
    if (m_car && command == CMD_READ_LIVE_DATA)
        payload = m_car->NextLivePayload();
    else if (m_car && command == CMD_READ_PARAMETERS)
        payload = m_car->ParameterPayload();
    else
        payload = Payload(command);
    if (payload.size() > m_shortPayload)
        payload.resize(m_shortPayload);
    Bytes reply = MakeReply(command, payload);

    ++m_repliesSent;
    bool corrupt = false;
    if (m_corruptNext > 0)
    {
        --m_corruptNext;
        corrupt = true;
    }
    if (m_corruptEvery > 0 && m_repliesSent % m_corruptEvery == 0)
        corrupt = true;
    if (corrupt)
        reply.back() = static_cast<unsigned char>(reply.back() + 1);
    if (m_flipLengthEvery > 0 && m_repliesSent % m_flipLengthEvery == 0)
        reply[1] ^= 0x80;
    // Noise and stray bytes travel with the reply, so that the backlog still
    // counts replies.
    const Bytes noise = NoiseBefore(command);
    reply.insert(reply.begin(), noise.begin(), noise.end());
    reply.insert(reply.begin(), m_strayNext.begin(), m_strayNext.end());
    m_strayNext.clear();
    // A reply held back travels with the next, as stray bytes do.
    if (m_holdNext)
    {
        m_holdNext = false;
        m_strayNext = reply;
        return;
    }

    // At line speed the ECU has the request only once its last byte is in.
    const Clock::time_point arrived = Clock::now() + static_cast<long>(request.size()) * m_byteTime;
    if (m_splitNext > 0 && m_splitNext < reply.size())
    {
        const auto cut = reply.begin() + static_cast<std::ptrdiff_t>(m_splitNext);
        m_outbox.push_back({Bytes(reply.begin(), cut), true, arrived});
        m_outbox.push_back({Bytes(cut, reply.end()), false, arrived});
    }
    else
    {
        m_outbox.push_back({reply, false, arrived});
    }
    m_splitNext = 0;
    m_peakUnsent = std::max(m_peakUnsent, m_outbox.size());
}

void SimulatedEcu::SetLineSpeed(unsigned bytesPerSecond)
{
    m_byteTime = bytesPerSecond > 0 ? Clock::duration(std::chrono::seconds(1)) / bytesPerSecond
                                    : Clock::duration::zero();
    m_lineFree = Clock::time_point();
}

SimulatedEcu::Clock::time_point SimulatedEcu::LineStart(const Chunk& chunk) const
{
    return std::max(m_lineFree, chunk.notBefore);
}

std::size_t SimulatedEcu::DueBytes(Clock::time_point now) const
{
    if (m_byteTime == Clock::duration::zero())
        return static_cast<std::size_t>(-1);
    const Clock::time_point start = LineStart(m_outbox.front());
    return now < start ? 0 : static_cast<std::size_t>((now - start) / m_byteTime);
}

SimulatedEcu::Clock::duration SimulatedEcu::NextByteDue() const
{
    if (m_outbox.empty())
        return Clock::duration::max();
    if (m_byteTime == Clock::duration::zero())
        return Clock::duration::zero();
    const Clock::time_point due = LineStart(m_outbox.front()) + m_byteTime;
    const Clock::time_point now = Clock::now();
    return due > now ? due - now : Clock::duration::zero();
}

SimulatedEcu::Bytes SimulatedEcu::NoiseBefore(unsigned char command)
{
    Bytes noise;
    if (m_noise.burstBytes == 0 && m_noise.falseLength == 0)
        return noise;
    if (m_noise.command >= 0 && m_noise.command != command)
        return noise;
    if (m_noise.every > 1 && ++m_noiseCount % m_noise.every != 0)
        return noise;
    while (noise.size() < m_noise.burstBytes)
    {
        // A fixed LCG: each burst differs from the last, every run alike.
        m_noiseSeed = m_noiseSeed * 1103515245u + 12345u;
        const unsigned char byte = static_cast<unsigned char>(m_noiseSeed >> 16);
        // After 0xAA a byte of 4 or more: a length of 1024 or more.
        if (!noise.empty() && noise.back() == 0xAA)
            noise.push_back(byte | 0x04);
        else
            noise.push_back(byte % 8 == 0 ? 0xAA : byte);
    }
    if (m_noise.falseLength > 0)
        noise.insert(noise.end(), {0xAA, static_cast<unsigned char>(m_noise.falseLength >> 8),
                                   static_cast<unsigned char>(m_noise.falseLength)});
    return noise;
}

void SimulatedEcu::TakeEffect(const Bytes& request)
{
    constexpr std::size_t kSettingsAt = 17;
    constexpr std::size_t kSettingsSize = 554;
    constexpr std::size_t kStoredFaultsAt = 571;
    constexpr std::size_t kStoredFaultsSize = 40;
    Bytes& parameters = m_payloads[12];
    if (parameters.size() < kParameterPayloadSize)
        return;
    const auto at = [&](std::size_t offset) { return parameters.begin() + static_cast<std::ptrdiff_t>(offset); };
    if (request[1] == 16)
        std::fill(at(kStoredFaultsAt), at(kStoredFaultsAt + kStoredFaultsSize), 0xFF);
    else if (request[1] == 26 && request.size() == kSettingsSize + 3)
        std::copy(request.begin() + 2, request.begin() + 2 + kSettingsSize, at(kSettingsAt));
}

void SimulatedEcu::Flush()
{
    if (m_master < 0)
    {
        m_outbox.clear();
        return;
    }
    const Clock::time_point now = Clock::now();
    const std::size_t before = SlaveWaiting(m_slave);
    std::size_t written = 0;
    std::size_t budget = m_trickle > 0 ? m_trickle : static_cast<std::size_t>(-1);
    while (!m_outbox.empty() && budget > 0)
    {
        Chunk& chunk = m_outbox.front();
        const Clock::time_point start = LineStart(chunk);
        const std::size_t n = std::min({budget, chunk.bytes.size(), DueBytes(now)});
        if (n == 0 && !chunk.bytes.empty())
            break;
        std::size_t done = 0;
        while (done < n)
        {
            const ssize_t put = write(m_master, chunk.bytes.data() + done, n - done);
            if (put > 0)
                done += static_cast<std::size_t>(put);
            else if (put < 0 && errno != EINTR && errno != EAGAIN)
                break;
            else if (put < 0 && errno == EAGAIN)
            {
                struct pollfd pfd = {m_master, POLLOUT, 0};
                if (poll(&pfd, 1, 100) <= 0)
                    break;
            }
        }
        if (m_byteTime != Clock::duration::zero())
            m_lineFree = start + static_cast<long>(done) * m_byteTime;
        written += done;
        budget -= done;
        chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + static_cast<std::ptrdiff_t>(done));
        if (done < n)
            break;
        if (!chunk.bytes.empty())
            break;
        const bool stop = chunk.endOfCall;
        m_outbox.pop_front();
        if (stop)
            break;
    }
    WaitDelivered(before, written);
}

void SimulatedEcu::WaitDelivered(std::size_t before, std::size_t written)
{
    if (!m_waitForDelivery || written == 0 || m_slave < 0)
        return;
    const Clock::time_point deadline = Clock::now() + kDeliveryTimeout;
    while (SlaveWaiting(m_slave) < before + written && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

int SimulatedEcu::Service()
{
    TakeInput();
    const int taken = ParseRequests();
    Flush();
    return taken;
}

bool SimulatedEcu::WaitForRequest(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;)
    {
        if (Service() > 0)
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || m_master < 0)
            return false;
        struct pollfd pfd = {m_master, POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
}

void SimulatedEcu::SendRaw(const Bytes& bytes)
{
    m_outbox.push_back({bytes, false, Clock::now()});
    Flush();
}
