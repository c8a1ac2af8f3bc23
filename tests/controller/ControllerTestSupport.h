#ifndef QUENVAR_TESTS_CONTROLLERTESTSUPPORT_H
#define QUENVAR_TESTS_CONTROLLERTESTSUPPORT_H

#include <memory>
#include <string>
#include <vector>

#include "Controller.h"
#include "ControllerHost.h"
#include "FakePort.h"

// Records what the controller asks of the program around it.
class RecordingHost : public ControllerHost
{
public:
    void StopPollTimer() override { m_calls.push_back("stop"); }
    void StartPollTimer() override { m_calls.push_back("start"); }
    void ShowMessage(const wxString& text, const wxString&) override { m_calls.push_back("message:" + text.ToStdString()); }
    void UpdateUI() override { m_calls.push_back("updateui"); }
    void Sleep(int milliseconds) override { m_calls.push_back("sleep:" + std::to_string(milliseconds)); }

    std::vector<std::string> m_calls;
};

// A controller on a fake port with a recording host.
struct FakeLink
{
    FakeLink()
    {
        auto owned = std::make_unique<FakePort>();
        port = owned.get();
        controller.SetPort(std::move(owned));
        controller.SetHost(&host);
    }

    static std::string Text(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

    Controller controller;
    RecordingHost host;
    FakePort* port = nullptr;
};

#endif
