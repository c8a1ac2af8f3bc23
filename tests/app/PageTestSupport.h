#ifndef QUENVAR_TESTS_PAGETESTSUPPORT_H
#define QUENVAR_TESTS_PAGETESTSUPPORT_H

// What the page and dialog tests share: modal dialogs answered without a
// user, replies fed through the controller's receive path, and a main
// window whose controller talks to a simulated ECU on a pty.

#include <functional>
#include <vector>

#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>

#include "../controller/CommandTestSupport.h"
#include "AnswerWatch.h"
#include "LivePayloadBuilder.h"
#include "MainWindowFixture.h"
#include "ParamPayloadBuilder.h"
#include "ReplyFrame.h"
#include "SimulatedEcu.h"

using cmdtest::Bytes;

// Answers every modal dialog instead of showing it: message boxes are
// recorded and answered with m_answer; any other dialog goes to m_act, whose
// result ShowModal returns (cancel when there is none).
class ModalCatcher : public wxModalDialogHook
{
public:
    ModalCatcher() { Register(); }
    ~ModalCatcher() override { Unregister(); }
    ModalCatcher(const ModalCatcher&) = delete;
    ModalCatcher& operator=(const ModalCatcher&) = delete;

    std::vector<wxString> m_messages;
    std::vector<wxString> m_dialogs; // titles of the other dialogs
    int m_answer = wxID_OK;
    std::function<int(wxDialog*)> m_act;

protected:
    int Enter(wxDialog* dialog) override
    {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            m_messages.push_back(box->GetMessage());
            return m_answer;
        }
        m_dialogs.push_back(dialog->GetTitle());
        return m_act ? m_act(dialog) : wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// A main window whose controller is fed replies directly, with answers
// waited for a short time only.
class PageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_savedTimeout = AnswerWatch::s_timeoutMs;
        AnswerWatch::s_timeoutMs = 300;
    }
    void TearDown() override
    {
        AnswerWatch::s_timeoutMs = m_savedTimeout;
        MainWindowTest::TearDown();
    }

    // A reply as the ECU sends it, through the receive path. Applying
    // parameters restarts the poll timer; here the test is the only poller.
    void Reply(unsigned char command, const Bytes& payload)
    {
        const Bytes frame = WrapReplyFrame(command, payload);
        theController->m_rxBuffer.assign(frame.begin(), frame.end());
        theController->ParseReply();
        m_frame->StopPollTimer();
    }
    void ReplyLive(const LivePayloadBuilder& live)
    {
        Reply(1, Bytes(live.Payload().begin(), live.Payload().end()));
    }
    void ReplyParameters(const ParamPayloadBuilder& parameters)
    {
        Reply(12, Bytes(parameters.Payload().begin(), parameters.Payload().end()));
    }
    // Parameters, then live data: the link is up and ready.
    void BringOnline(const ParamPayloadBuilder& parameters = ParamPayloadBuilder())
    {
        ReplyParameters(parameters);
        ReplyLive(LivePayloadBuilder());
    }

    wxString Status() const { return m_frame->GetStatusLine()->GetStatusText(1); }

    static std::vector<Bytes> Queued() { return cmdtest::QueuedFrames(*theController); }

    int m_savedTimeout = 0;
};

// The main window polling a simulated ECU on a pty, in this process.
class EcuPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        ASSERT_TRUE(m_ecu.IsOpen());
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << m_ecu.SlavePath() << "\n";
        MakeFrame();
        ASSERT_TRUE(theController->m_port->IsOpen());
        // Time enough for the answers that travel over the pty.
        AnswerWatch::s_timeoutMs = 5000;
    }

    void StartPolling()
    {
        m_frame->StartPollTimer();
        ASSERT_TRUE(Serve([] { return IsControllerReady(true) && theController->m_parametersApplied; }));
    }

    // Serves the ECU while events run, until condition() holds.
    bool Serve(const std::function<bool()>& condition)
    {
        return guitest::WaitFor([&] {
            m_ecu.Service();
            for (const Bytes& frame : m_ecu.Received())
                m_wire.push_back(frame);
            m_ecu.ClearReceived();
            return condition();
        }, std::chrono::milliseconds(8000));
    }

    // Position of the first request frame from `from` on with the command.
    std::size_t FindOnWire(unsigned char command, std::size_t from = 0) const
    {
        for (std::size_t i = from; i < m_wire.size(); ++i) {
            if (m_wire[i].size() > 1 && m_wire[i][1] == command)
                return i;
        }
        return m_wire.size();
    }

    SimulatedEcu m_ecu;
    std::vector<Bytes> m_wire; // every request frame the ECU took, in order
};

#endif
