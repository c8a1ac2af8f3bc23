// Feeds well-framed replies of arbitrary length to the payload decoders,
// through the frame parser and directly from a buffer of exactly the
// payload's size (so that a read past it is caught).
//
// Input: byte 0 picks the reply: bits 0-1 = 0 live data (command 1),
// 1 parameters (command 12), 2 another command (byte 1), 3 the raw bytes go
// into the receive buffer as they are. The rest is the payload.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Controller.h"
#include "ControllerObserver.h"
#include "FrameSum.h"

namespace
{
// Reads what the pages read, so that every cached value is touched.
class ReadingObserver final : public ControllerObserver
{
public:
    explicit ReadingObserver(Controller& controller) : m_controller(controller) {}
    void OnControllerData() override
    {
        double sum = m_controller.m_rpm + m_controller.m_gasInjectionTime + m_controller.m_supplyVoltage;
        for (int i = 0; i < m_controller.GetCurrentFaultCount(); ++i)
            sum += static_cast<double>(m_controller.GetCurrentFault(i).length());
        for (int i = 0; i < 8; ++i)
            sum += m_controller.m_petrolInjectionTimes[i];
        m_sink += sum;
    }
    void OnParametersLoaded() override
    {
        double sum = m_controller.m_switchTime + m_controller.m_multiplierMap[255];
        for (int i = 0; i < m_controller.GetStoredFaultCount(); ++i)
            sum += static_cast<double>(m_controller.GetStoredFault(i).length());
        for (int i = 0; i < 8; ++i)
            sum += m_controller.GetInjectorCorrection(i);
        m_sink += sum + m_controller.m_injectorType;
    }
    void OnAttach() override { m_controller.AddObserver(this); }

    volatile double m_sink = 0.0;

private:
    Controller& m_controller;
};

Controller& TheController()
{
    static Controller* controller = [] {
        auto* c = new Controller;
        static ReadingObserver observer(*c);
        observer.OnAttach();
        return c;
    }();
    return *controller;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    Controller& c = TheController();
    c.m_rxBuffer.clear();
    c.m_saveFileName.clear();

    const unsigned mode = data[0] & 3;
    const uint8_t* payload = data + 1;
    std::size_t length = size - 1;

    if (mode == 3)
    {
        c.m_rxBuffer.assign(reinterpret_cast<const char*>(payload), length);
        c.ParseReply();
        return 0;
    }

    unsigned char command = mode == 0 ? 1 : 12;
    if (mode == 2)
    {
        if (length < 1)
            return 0;
        command = payload[0];
        ++payload;
        --length;
    }
    if (length + 5 > 0xFFFF)
        return 0;

    // Straight into the decoders, from a buffer that ends where the payload ends.
    const std::vector<unsigned char> exact(payload, payload + length);
    if (command == 1)
        c.ApplyLiveData(exact.data(), exact.size());
    else if (command == 12)
        c.ApplyParameters(exact.data(), exact.size());

    // And through the parser, as a reply with a correct length and sum.
    std::vector<unsigned char> frame;
    frame.reserve(length + 5);
    frame.push_back(0xAA);
    frame.push_back(static_cast<unsigned char>((length + 5) >> 8));
    frame.push_back(static_cast<unsigned char>(length + 5));
    frame.push_back(command);
    frame.insert(frame.end(), payload, payload + length);
    frame.push_back(FrameSum(frame.data(), frame.size()));
    c.m_rxBuffer.assign(reinterpret_cast<const char*>(frame.data()), frame.size());
    c.ParseReply();
    return 0;
}
