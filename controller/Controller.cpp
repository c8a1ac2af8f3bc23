#include "Controller.h"

#include <algorithm>
#include <iterator>

#include <wx/debug.h>

#include "ParamPacket.h"
#include "SerialPortList.h"
#include "wxSerialPort.h"

Controller* theController = nullptr;

namespace
{

// After this many reads in a row that found nothing, the link is given up.
constexpr int kMaxMisses = 13;
// The counters-and-history block replaces every this-many-th poll.
constexpr int kHistoryTicks = 50;

} // namespace

Controller::Controller()
    : m_port(new wxSerialPort)
{
    m_request.m_header = 0xAA;
    std::vector<std::string> ports;
    EnumeratePorts(ports);
}

Controller::~Controller() = default;

int Controller::OpenPort(std::string device)
{
    if (!m_port)
        return SERIAL_OPEN_FAILED;
    // Another port may lead to another car: what the pages show must come
    // from its ECU, so its parameters are read before live data.
    ResetLink();
    SerialSettings settings = {10000, 0, 8, 1, 0, 0};
    const int result = m_port->Open(device.c_str(), &settings);
    // The port layer keeps a device open whose line settings it could not
    // apply (an adapter without 10000 baud): polled, it would only hear
    // garbage.
    if (result < 0 && m_port->IsOpen())
        m_port->Close();
    return result;
}

void Controller::ClosePort()
{
    if (m_port)
        m_port->Close();
    // Nothing awaited or queued belongs to the next port; demo mode stays.
    ForgetFarEnd();
}

bool Controller::HasLine() const
{
    return m_demoMode || (m_port && m_port->IsOpen());
}

void Controller::SetPort(std::unique_ptr<wxIOBase> port)
{
    if (m_port)
        m_port->Close();
    m_port = std::move(port);
}

void Controller::SetHost(ControllerHost* host)
{
    m_host = host;
}

void Controller::ForgetFarEnd()
{
    m_requestQueue.clear();
    m_rxBuffer.clear();
    m_awaitingReply = 0;
    m_ticksSinceSend = 0;
    m_partialTicks = 0;
    m_missCount = 0;
    m_linkLost = 0;
    m_connected = 0;
    m_online = 0;
    // Until the parameters have been read again the pages stay locked and
    // nothing built from the old cache goes out.
    m_parametersReceived = 0;
    m_parametersApplied = 0;
    // The demo feed is a far end too: each session starts with its
    // parameter frame, or the pages stay locked from the second on.
    m_demoParametersSent = 0;
    // A pending save would get the other side's parameter frame; a pending
    // load's block went with the queue.
    m_saveFileName.clear();
    m_loadFileName.clear();
}

void Controller::ResetLink()
{
    ForgetFarEnd();
    m_manifoldPressure = 0.0;
    m_minPressure = 0.0;
    m_demoMode = 0;
    m_gasLevelEnabled = 0;
    m_gasLevelRaw = 0;
    m_gasSwitchTimeEnabled = 0;
    m_demoFrameIndex = 0;
    m_pressureChanged = 0;
    m_historyStamped = 0;
    m_calibrating = 0;
    m_ignitionCoils = 0;
    m_cylinderCode = 0;
    m_txRemainder.clear();
    m_lastParameters.reset();
    std::fill(std::begin(m_petrolSamples), std::end(m_petrolSamples), 0.0);
    std::fill(std::begin(m_gasSamples), std::end(m_gasSamples), 0.0);
    m_request.m_header = 0xAA;
}

void Controller::SetDemoMode(bool on)
{
    // Demo frames and car frames must not mix: the demo's invented counters
    // and settings never go to a car, nor the car's stay on screen as demo.
    ForgetFarEnd();
    m_demoMode = on ? 1 : 0;
    if (on)
        m_request.m_header = 0xAA;
}

void Controller::EnumeratePorts(std::vector<std::string>& out)
{
    out.clear();
    m_portNames.clear();
    // Linux paths open as they are; there is no prefix for high numbers.
    for (const std::string& path : SerialPortList().Scan())
    {
        m_portNames.push_back(path);
        out.push_back(path);
    }
}

void Controller::PollTick()
{
    if (m_missCount > kMaxMisses)
    {
        m_linkLost = 1;
        m_connected = 0;
        return;
    }
    if (m_awaitingReply)
    {
        ++m_ticksSinceSend;
        // At 10000 baud a long request, and then a long reply, spans several
        // ticks. Asking again meanwhile would pile reply behind reply in the
        // ECU, and the readings would fall ever further behind.
        if (!m_demoMode && RequestStillOnTheLine())
            return;
        // Without a port (none configured, or it would not open) there is
        // nothing to read: counting that as misses would call the link lost
        // and send the technician to the wiring of a port never opened.
        if (HasLine())
        {
            ReadPort();
            if (!m_demoMode && ReplyStillArriving())
                return;
        }
        m_awaitingReply = 0;
    }
    if (m_demoMode)
    {
        m_requestQueue.clear();
        m_awaitingReply = 1;
        return;
    }
    if (!m_requestQueue.empty())
    {
        // An unanswered request goes out again here, in the same tick that
        // found no reply.
        SendFront();
        m_awaitingReply = 1;
        m_ticksSinceSend = 0;
        return;
    }
    if (++m_historyTickCounter == kHistoryTicks)
    {
        m_historyTickCounter = 0;
        SendHistoryBlock();
        return;
    }
    if (m_parametersReceived)
        RequestLiveData();
    else
        RequestParameters();
}

void Controller::RequestLiveData()
{
    m_request.Build(CMD_READ_LIVE_DATA, 1);
    QueueRequest();
}

void Controller::RequestParameters()
{
    m_request.Build(CMD_READ_PARAMETERS, 1);
    QueueRequest();
}

void Controller::AddObserver(ControllerObserver* observer)
{
    m_observers.push_back(observer);
}

void Controller::RemoveObserver(ControllerObserver* observer)
{
    // While the list is being walked its entries keep their places; a
    // removed one is blanked and dropped when the walk is over.
    for (ControllerObserver*& entry : m_observers)
    {
        if (entry == observer)
            entry = nullptr;
    }
    if (m_notifyDepth == 0)
        DropRemovedObservers();
}

void Controller::DropRemovedObservers()
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), nullptr), m_observers.end());
}

void Controller::NotifyObservers(int which)
{
    struct Walk
    {
        Controller& c;
        explicit Walk(Controller& owner) : c(owner) { ++c.m_notifyDepth; }
        ~Walk()
        {
            if (--c.m_notifyDepth == 0)
                c.DropRemovedObservers();
        }
    } walk(*this);

    // By index: an observer may attach another one while being told.
    for (std::size_t i = 0; i < m_observers.size(); ++i)
    {
        ControllerObserver* observer = m_observers[i];
        if (!observer)
            continue;
        if (which == 0)
            observer->OnControllerData();
        else
            observer->OnParametersLoaded();
    }
}

void Controller::StoreSamples(double* ring, uint32_t index, const double* src)
{
    wxCHECK_RET(index < 256 && src, "sample index outside the ring");
    for (uint32_t k = 0; k < 5; ++k)
    {
        const uint32_t slot = (index + k) % 256;
        ring[slot] = src[slot];
    }
}

void Controller::StoreGasSamples(uint32_t index, const double* src)
{
    m_sampleIndex = index;
    StoreSamples(m_gasSamples, index, src);
}

void Controller::StorePetrolSamples(uint32_t index, const double* src)
{
    m_sampleIndex = index;
    StoreSamples(m_petrolSamples, index, src);
}

void Controller::SetSaveFileName(const wxString& path)
{
    m_saveFileName = path;
}

unsigned char Controller::GetCylinderCount() const
{
    if (m_cylinderCode == 6)
        return 1;
    if (m_cylinderCode == 7)
        return 2;
    // Codes above 7 name no engine; 253 would otherwise wrap to 0 cylinders.
    return static_cast<unsigned char>(std::min(m_cylinderCode + 3, 8));
}

double Controller::GetInjectorCorrection(int index) const
{
    wxCHECK_MSG(index >= 0 && index < 8, 0.0, "injector index outside 0..7");
    return m_injectorCorrections[index];
}

void Controller::GetGasLevelSettings(int& type, double& t1, double& t2, double& t3, double& t4) const
{
    type = m_gasLevelSensorType;
    t1 = m_gasLevelThresholds[0];
    t2 = m_gasLevelThresholds[1];
    t3 = m_gasLevelThresholds[2];
    t4 = m_gasLevelThresholds[3];
}

uint32_t Controller::GetWorkCounter(int index) const
{
    wxCHECK_MSG(index >= 0 && index < 5, 0, "work counter index outside 0..4");
    return m_workCounters[index];
}

wxString Controller::GetCurrentFault(int index) const
{
    if (index < 0 || index >= GetCurrentFaultCount())
        return wxString();
    return m_currentFaults[static_cast<std::size_t>(index)];
}

wxString Controller::GetStoredFault(int index) const
{
    wxCHECK_MSG(index >= 0 && index < GetStoredFaultCount(), wxString(), "stored fault index outside the list");
    return m_storedFaults[static_cast<std::size_t>(index)];
}
