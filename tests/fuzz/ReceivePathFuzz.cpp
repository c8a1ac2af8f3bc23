// Feeds arbitrary bytes to the controller's receive path as if they came
// from the serial line, between poll ticks, in port mode.
//
// Input: a sequence of steps. Each step starts with a control byte c:
//   c & 3 == 0: the next byte n, then n bytes arrive; one tick
//   c & 3 == 1: nothing arrives; one tick
//   c & 3 == 2: the next byte n, then n bytes wait but the read fails; one tick
//   c & 3 == 3: two bytes give n (0..2047), then n bytes arrive; one tick
//   c & 4:      an extra parse call after the tick
//   c & 8:      a setting with command c >> 4 is queued before the tick
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "Controller.h"

namespace
{

class FuzzPort : public wxIOBase
{
public:
    int Close() override { return 0; }
    int Open(const char*, SerialSettings*) override { return 0; }
    int Ioctl(int code, void* arg) override
    {
        if (code != SERIAL_BYTES_WAITING || !arg)
            return -1;
        *static_cast<int*>(arg) = static_cast<int>(m_bytes.size() - m_head);
        return 0;
    }
    bool IsOpen() override { return true; }
    int Read(char* buf, std::size_t len) override
    {
        if (m_failNextRead)
        {
            m_failNextRead = false;
            return -1;
        }
        const std::size_t n = std::min(len, m_bytes.size() - m_head);
        if (n > 0)
            std::memcpy(buf, m_bytes.data() + m_head, n);
        m_head += n;
        if (m_head == m_bytes.size())
        {
            m_bytes.clear();
            m_head = 0;
        }
        return static_cast<int>(n);
    }
    int Write(const char*, std::size_t len) override { return static_cast<int>(len); }

    void Arrive(const uint8_t* data, std::size_t n) { m_bytes.insert(m_bytes.end(), data, data + n); }

    std::vector<uint8_t> m_bytes;
    std::size_t m_head = 0;
    bool m_failNextRead = false;
};

void CheckInvariants(const Controller& c)
{
    bool queued[256] = {};
    for (const Request& r : c.m_requestQueue)
    {
        if (queued[r.m_command])
            __builtin_trap(); // two queued requests with one command
        queued[r.m_command] = true;
    }
    // The parser keeps nothing but the start of one reply the ECU may send:
    // a header and, once known, a length it sends, not yet complete.
    const std::size_t held = c.m_rxBuffer.size();
    const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<uint8_t>(c.m_rxBuffer[i])); };
    if (held > 0 && (byte(0) != 0xAA || held >= Controller::kLongestReply))
        __builtin_trap();
    const std::size_t length = held >= 3 ? byte(1) * 256 + byte(2) : Controller::kLongestReply;
    if (length < Controller::kShortestReply || length > Controller::kLongestReply || length <= held)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // One controller for the whole run: construction scans the machine's
    // serial ports, too slow to repeat per input. Each input starts from a
    // link reset with no parameters known, as after start-up.
    static Controller controller;
    controller.ResetLink();
    controller.m_parametersReceived = 0;
    controller.m_historyTickCounter = 0;
    controller.m_lastPayload.clear();
    auto owned = std::make_unique<FuzzPort>();
    FuzzPort* port = owned.get();
    controller.SetPort(std::move(owned));

    std::size_t pos = 0;
    auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
    auto deliver = [&](std::size_t n) {
        n = std::min(n, size - pos);
        port->Arrive(data + pos, n);
        pos += n;
    };

    while (pos < size)
    {
        const uint8_t control = next();
        switch (control & 3)
        {
        case 0:
            deliver(next());
            break;
        case 1:
            break;
        case 2:
            deliver(next());
            port->m_failNextRead = true;
            break;
        default:
        {
            const std::size_t high = next();
            const std::size_t n = ((high << 8) | next()) & 0x7FF;
            deliver(n);
            break;
        }
        }
        if (control & 8)
        {
            controller.m_request.Build(static_cast<unsigned char>(control >> 4), control);
            controller.QueueRequest();
        }
        // The reply is read only by a tick that follows a send.
        controller.m_awaitingReply = 1;
        controller.PollTick();
        if (control & 4)
            controller.ParseReply();
        // As the port command would: a lost link is reopened.
        if (controller.m_linkLost)
            controller.ResetLink();
        CheckInvariants(controller);
    }
    return 0;
}
