#ifndef QUENVAR_TESTS_APPLYTESTSUPPORT_H
#define QUENVAR_TESTS_APPLYTESTSUPPORT_H

#include <string>
#include <vector>

#include "Controller.h"
#include "ControllerHost.h"
#include "ControllerObserver.h"

// Helpers of the decoder tests; in their own namespace, beside the link
// tests' helpers in the same executable.
namespace decodetest
{

// Records what observers are told, with a snapshot of the readings taken at
// the moment of the call.
class RecordingObserver final : public ControllerObserver
{
public:
    explicit RecordingObserver(Controller& controller)
        : m_controller(controller)
    {
    }

    void OnControllerData() override
    {
        m_events += 'D';
        m_rpm.push_back(m_controller.m_rpm);
        m_gasMasks.push_back(m_controller.m_gasCylinderMask);
        m_gasTimes.push_back(m_controller.m_gasInjectionTime);
        m_sampleIndices.push_back(m_controller.m_sampleIndex);
        m_connectedSeen.push_back(m_controller.m_connected);
    }
    void OnParametersLoaded() override
    {
        m_events += 'P';
        m_cylinderCodes.push_back(m_controller.m_cylinderCode);
        m_appliedSeen.push_back(m_controller.m_parametersApplied);
    }
    void OnAttach() override { m_controller.AddObserver(this); }

    std::string m_events;                 // 'D' live data, 'P' parameters
    std::vector<double> m_rpm;
    std::vector<unsigned> m_gasMasks;
    std::vector<double> m_gasTimes;
    std::vector<unsigned> m_sampleIndices;
    std::vector<unsigned> m_connectedSeen;
    std::vector<unsigned> m_cylinderCodes;
    std::vector<unsigned> m_appliedSeen;

private:
    Controller& m_controller;
};

// Stands in for the main window: counts timer stops and starts, takes the
// demo pauses without sleeping.
class RecordingHost final : public ControllerHost
{
public:
    void StopPollTimer() override
    {
        ++m_stops;
        m_running = false;
    }
    void StartPollTimer() override
    {
        ++m_starts;
        m_running = true;
    }
    void ShowMessage(const wxString& text, const wxString&) override { m_messages.push_back(text); }
    void UpdateUI() override {}
    void Sleep(int milliseconds) override { m_sleeps.push_back(milliseconds); }
    void SettingsFileLoaded(const wxString& path) override { m_loaded.push_back(path); }

    int m_stops = 0;
    int m_starts = 0;
    bool m_running = true;
    std::vector<wxString> m_messages;
    std::vector<int> m_sleeps;
    std::vector<wxString> m_loaded;
};

// Puts a complete reply frame into the receive buffer and runs the parser.
template <typename Frame>
void FeedReply(Controller& controller, const Frame& frame)
{
    controller.m_rxBuffer.append(reinterpret_cast<const char*>(frame.data()), frame.size());
    controller.ParseReply();
}

} // namespace decodetest

#endif
