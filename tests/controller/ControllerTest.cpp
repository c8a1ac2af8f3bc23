#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ControllerTestSupport.h"
#include "DemoRecording.h"
#include "SerialPortList.h"
#include "SimulatedEcu.h"

namespace
{

using Bytes = std::vector<unsigned char>;

std::string PayloadOf(const unsigned char* frame, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(frame) + 4, size - 4);
}

class CountingObserver : public ControllerObserver
{
public:
    explicit CountingObserver(std::vector<std::string>* log, std::string name)
        : m_log(log), m_name(std::move(name)) {}
    virtual ~CountingObserver() = default;
    void OnControllerData() override { m_log->push_back(m_name + ":data"); }
    void OnParametersLoaded() override { m_log->push_back(m_name + ":params"); }
    void OnAttach() override { theController->AddObserver(this); }

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

} // namespace

TEST(Controller, StartsQuietWithAClosedSerialPort)
{
    Controller c;
    EXPECT_EQ(0xAA, c.m_request.m_header);
    EXPECT_STREQ("wxSerialPort", c.m_port->ClassName());
    EXPECT_FALSE(c.m_port->IsOpen());
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_EQ(0, c.m_linkLost + c.m_connected + c.m_demoMode + c.m_awaitingReply + c.m_parametersReceived);
    EXPECT_EQ(nullptr, c.m_lastParameters);
    EXPECT_TRUE(c.m_saveFileName.empty());
    EXPECT_TRUE(std::all_of(c.m_petrolSamples, c.m_petrolSamples + 256, [](double v) { return v == 0.0; }));
    EXPECT_EQ(SerialPortList().Scan(), c.m_portNames);

    std::vector<std::string> out = {"stale"};
    c.EnumeratePorts(out);
    EXPECT_EQ(c.m_portNames, out);
    EXPECT_EQ(nullptr, c.GetHost());
}

TEST(Controller, OpenPortReportsThePortsCode)
{
    Controller c;
    EXPECT_EQ(SERIAL_NO_DEVICE, c.OpenPort("/dev/quenvar-no-such-port"));
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    EXPECT_EQ(0, c.OpenPort(ecu.SlavePath()));
    EXPECT_TRUE(c.m_port->IsOpen());
    c.ClosePort();
    EXPECT_FALSE(c.m_port->IsOpen());
}

TEST(PollCycle, FirstTicksAskForParameters)
{
    FakeLink link;
    Controller& c = link.controller;
    c.PollTick();
    ASSERT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(FakeLink::Text({0xAA, 0x0C, 0x01, 0xB7}), c.m_requestQueue[0].m_bytes);
    EXPECT_TRUE(link.port->m_written.empty());

    c.PollTick();
    ASSERT_EQ(1u, link.port->m_written.size());
    EXPECT_EQ(FakeLink::Text({0xAA, 0x0C, 0x01, 0xB7}), link.port->m_written[0]);
    EXPECT_EQ(1, c.m_awaitingReply);

    // The third tick reads, finds nothing and sends again.
    c.PollTick();
    EXPECT_EQ(1, c.m_missCount);
    EXPECT_EQ(2u, link.port->m_written.size());

    // A reply arrives: the next tick reads it and queues the first live poll.
    link.port->Arrive(SimulatedEcu::MakeReply(12, Bytes(882, 0)));
    c.PollTick();
    EXPECT_EQ(1, c.m_parametersReceived);
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_EQ(0, c.m_awaitingReply);
    ASSERT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(FakeLink::Text({0xAA, 0x01, 0x01, 0xAC}), c.m_requestQueue[0].m_bytes);
}

TEST(PollCycle, LinkLostAfterFourteenEmptyReads)
{
    FakeLink link;
    Controller& c = link.controller;
    int tick = 0;
    while (!c.m_linkLost && tick < 100)
    {
        c.PollTick();
        ++tick;
    }
    // Tick 1 queues, ticks 2..16 send (ticks 3..16 each read nothing first),
    // tick 17 finds fourteen misses and gives up.
    EXPECT_EQ(17, tick);
    EXPECT_EQ(14, c.m_missCount);
    EXPECT_EQ(15u, link.port->m_written.size());
    EXPECT_EQ(0, c.m_connected);
    for (int i = 0; i < 5; ++i)
        c.PollTick();
    EXPECT_EQ(15u, link.port->m_written.size());
}

TEST(Controller, PortThatRefusesTheLineSettingsIsClosedAgain)
{
    for (const int code : {int(SERIAL_BAUD_REFUSED), int(SERIAL_SETTINGS_REFUSED)})
    {
        FakeLink link;
        link.port->m_openResult = code;
        EXPECT_EQ(code, link.controller.OpenPort("/dev/ttyUSB0"));
        EXPECT_FALSE(link.port->m_open) << code;
    }
}

TEST(PollCycle, ReadFailureIsNotAMissButAFailedQueryIs)
{
    FakeLink link;
    Controller& c = link.controller;
    link.port->Arrive({0xAA, 0x00, 0x39});
    link.port->m_failRead = true;
    c.ReadPort();
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_TRUE(c.m_rxBuffer.empty());

    link.port->m_failWaiting = true;
    c.ReadPort();
    EXPECT_EQ(1, c.m_missCount);

    // A driver claiming far more than it has cannot blow up the buffer.
    link.port->m_failWaiting = false;
    link.port->m_failRead = false;
    link.port->m_reportWaiting = INT_MAX;
    c.ReadPort();
    EXPECT_EQ(3u, c.m_rxBuffer.size());
    EXPECT_EQ(1, c.m_missCount);
}

TEST(PollCycle, HistoryTickWithoutParametersQueuesNothing)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_parametersReceived = 1;
    c.m_parametersApplied = 0;
    c.m_historyTickCounter = 49;
    c.PollTick();
    EXPECT_EQ(0, c.m_historyTickCounter);
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_TRUE(link.port->m_written.empty());
    c.PollTick();
    EXPECT_EQ(1, c.m_historyTickCounter);
    ASSERT_EQ(1u, c.m_requestQueue.size());
    EXPECT_EQ(CMD_READ_LIVE_DATA, c.m_requestQueue[0].m_command);

    // Each controller counts for itself.
    Controller other;
    EXPECT_EQ(0, other.m_historyTickCounter);
}

TEST(PollCycle, OverfullReceiveBufferResetsTheLink)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_rxBuffer.assign(900, '\x55');
    c.m_parametersReceived = 1;
    c.m_calibrating = 1;
    c.m_online = 1;
    c.m_connected = 1;
    c.m_gasLevelEnabled = 1;
    c.m_sampleIndex = 17;
    c.m_portNames = {"/dev/ttyUSB7"};
    c.m_currentFaults.push_back("fault");
    c.RequestLiveData();
    c.m_awaitingReply = 1;
    link.port->Arrive({0xAA, 0x00, 0x05});

    c.ReadPort();
    EXPECT_TRUE(c.m_rxBuffer.empty());
    EXPECT_TRUE(link.port->m_incoming.empty()); // the bytes read are dropped
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(0, c.m_calibrating + c.m_online + c.m_connected + c.m_gasLevelEnabled + c.m_awaitingReply);
    // The parameters are read again before anything needs them.
    EXPECT_EQ(0, c.m_parametersReceived);
    EXPECT_EQ(17u, c.m_sampleIndex);
    EXPECT_EQ(1u, c.m_portNames.size());
    EXPECT_EQ(1, c.GetCurrentFaultCount());
}

TEST(PollCycle, ResetLinkClearsTheLinkButKeepsTheCache)
{
    FakeLink link;
    Controller& c = link.controller;
    std::vector<std::string> log;
    CountingObserver observer(&log, "a");
    c.AddObserver(&observer);
    c.m_demoMode = c.m_demoParametersSent = c.m_linkLost = c.m_historyStamped = c.m_pressureChanged = 1;
    c.m_demoFrameIndex = 30;
    c.m_missCount = 20;
    c.m_manifoldPressure = c.m_minPressure = 1.5;
    c.m_ignitionCoils = c.m_cylinderCode = 3;
    c.m_maxGasRpm = 5000;
    c.m_parametersReceived = 1;
    c.m_saveFileName = "x.xse";
    c.m_gasSamples[3] = 4.0;
    c.m_request.m_header = 0x11;
    c.m_historyTickCounter = 12;

    c.ResetLink();
    EXPECT_EQ(0, c.m_demoMode + c.m_demoParametersSent + c.m_linkLost + c.m_historyStamped + c.m_pressureChanged);
    EXPECT_EQ(0u, c.m_demoFrameIndex);
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_EQ(0.0, c.m_manifoldPressure + c.m_minPressure);
    EXPECT_EQ(0, c.m_ignitionCoils + c.m_cylinderCode);
    EXPECT_EQ(0.0, c.m_gasSamples[3]);
    EXPECT_TRUE(c.m_saveFileName.empty());
    EXPECT_EQ(0xAA, c.m_request.m_header);
    EXPECT_EQ(5000, c.m_maxGasRpm);
    EXPECT_EQ(0, c.m_parametersReceived);
    EXPECT_EQ(1u, c.m_observers.size());
    EXPECT_EQ(12, c.m_historyTickCounter);
}

TEST(Demo, PlaysParameterFrameOnceThenLiveFramesInTurn)
{
    FakeLink link;
    Controller& c = link.controller;
    c.m_demoMode = 1;
    c.RequestParameters();

    c.PollTick(); // clears the queue, reads on the next tick
    EXPECT_TRUE(c.m_requestQueue.empty());
    EXPECT_EQ(1, c.m_awaitingReply);

    c.PollTick();
    EXPECT_EQ(PayloadOf(demoParameterFrame.data(), demoParameterFrame.size()), c.m_lastPayload);
    EXPECT_EQ(1, c.m_parametersReceived);
    EXPECT_EQ(1u, c.m_demoParametersSent);

    for (std::size_t i = 0; i < kDemoLiveFrameCount + 2; ++i)
    {
        c.PollTick();
        const auto& frame = demoLiveFrames[i % kDemoLiveFrameCount];
        ASSERT_EQ(PayloadOf(frame.data(), frame.size()), c.m_lastPayload) << i;
    }
    EXPECT_EQ(1, c.m_connected);

    // Demo off and on again goes on with the next live frame.
    c.m_demoMode = 0;
    c.m_awaitingReply = 0;
    c.PollTick();
    c.m_demoMode = 1;
    c.m_awaitingReply = 1;
    c.PollTick();
    EXPECT_EQ(PayloadOf(demoLiveFrames[2].data(), demoLiveFrames[2].size()), c.m_lastPayload);

    // The port is never touched in demo mode, and nothing counts as a miss.
    EXPECT_EQ(0, link.port->m_reads);
    EXPECT_TRUE(link.port->m_written.empty());
    EXPECT_EQ(0, c.m_missCount);
    EXPECT_EQ(static_cast<long>(kDemoLiveFrameCount + 4),
              std::count(link.host.m_calls.begin(), link.host.m_calls.end(), "sleep:150"));
}

TEST(Observers, NotifiedInOrderOfAttachment)
{
    Controller c;
    std::vector<std::string> log;
    CountingObserver a(&log, "a");
    CountingObserver b(&log, "b");
    theController = &c;
    a.OnAttach();
    b.OnAttach();
    theController = nullptr;
    c.NotifyObservers(0);
    c.NotifyObservers(1);
    c.NotifyObservers(7);
    EXPECT_EQ((std::vector<std::string>{"a:data", "b:data", "a:params", "b:params", "a:params", "b:params"}), log);
}

TEST(Observers, RemovedDuringANotificationAreSkippedAndTheOthersToldOnce)
{
    Controller c;
    std::vector<std::string> log;
    CountingObserver a(&log, "a");
    CountingObserver d(&log, "d");
    auto b = std::make_unique<CountingObserver>(&log, "b");
    // A page closing while being told takes an observer before it and one
    // after it (destroying that one) off the list, then itself.
    struct Closing : CountingObserver
    {
        using CountingObserver::CountingObserver;
        std::function<void()> onData;
        void OnControllerData() override { onData(); }
    } closing(&log, "closing");
    closing.onData = [&] {
        c.RemoveObserver(&a);
        c.RemoveObserver(b.get());
        b.reset();
        c.RemoveObserver(&closing);
    };
    for (CountingObserver* o : {&a, static_cast<CountingObserver*>(&closing), b.get(), &d})
        c.AddObserver(o);

    c.NotifyObservers(0);
    c.NotifyObservers(1);
    EXPECT_EQ((std::vector<std::string>{"a:data", "d:data", "d:params"}), log);
    EXPECT_EQ(1u, c.m_observers.size());
}

TEST(Getters, CylinderCountAndIndexedValues)
{
    Controller c;
    // Codes above 7 come only from a broken frame; the count stays 1..8 so
    // that per-cylinder loops never run past the eight corrections.
    const struct
    {
        unsigned char code;
        int cylinders;
    } cases[] = {{0, 3}, {1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}, {6, 1}, {7, 2},
                 {8, 8}, {9, 8}, {200, 8}, {253, 8}, {255, 8}};
    for (const auto& k : cases)
    {
        c.m_cylinderCode = k.code;
        EXPECT_EQ(k.cylinders, c.GetCylinderCount()) << int(k.code);
    }

    c.m_currentFaults = {"one", "two"};
    EXPECT_EQ(2, c.GetCurrentFaultCount());
    EXPECT_EQ("two", c.GetCurrentFault(1));
    EXPECT_EQ("", c.GetCurrentFault(2));
    EXPECT_EQ("", c.GetCurrentFault(-1));
    c.m_storedFaults = {"stored"};
    EXPECT_EQ("stored", c.GetStoredFault(0));

    c.m_gasLevelSensorType = 2;
    const unsigned char thresholds[4] = {125, 49, 0, 255};
    std::copy(thresholds, thresholds + 4, c.m_gasLevelThresholds);
    int type = 0;
    double t[4] = {};
    c.GetGasLevelSettings(type, t[0], t[1], t[2], t[3]);
    EXPECT_EQ(2, type);
    EXPECT_EQ(125.0, t[0]);
    EXPECT_EQ(255.0, t[3]);

    c.m_workCounters[4] = 7200;
    EXPECT_EQ(7200u, c.GetWorkCounter(4));
    c.m_injectorCorrections[7] = -12.5;
    EXPECT_EQ(-12.5, c.GetInjectorCorrection(7));
}

TEST(SampleRings, FiveSamplesWrapAtTheEnd)
{
    Controller c;
    double src[256];
    for (int i = 0; i < 256; ++i)
        src[i] = 1000 + i;
    c.StorePetrolSamples(254, src);
    EXPECT_EQ(254u, c.m_sampleIndex);
    for (int slot : {254, 255, 0, 1, 2})
        EXPECT_EQ(1000.0 + slot, c.GetPetrolSamples()[slot]) << slot;
    EXPECT_EQ(0.0, c.GetPetrolSamples()[3]);
    EXPECT_EQ(0.0, c.GetPetrolSamples()[253]);
    EXPECT_EQ(0.0, c.GetGasSamples()[254]);

    c.StoreGasSamples(100, src);
    EXPECT_EQ(100u, c.m_sampleIndex);
    EXPECT_EQ(1104.0, c.GetGasSamples()[104]);
    EXPECT_EQ(0.0, c.GetGasSamples()[105]);
    EXPECT_EQ(0.0, c.GetGasSamples()[99]);
}
