#ifndef QUENVAR_TESTS_PAGETESTSUPPORT_H
#define QUENVAR_TESTS_PAGETESTSUPPORT_H

// Shared by the page and dialog tests: modal dialogs answered without a
// user, replies fed through the receive path, an ECU on a pty.

#include <functional>
#include <vector>

#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>

#include "../controller/CommandTestSupport.h"
#include "AnswerWatch.h"
#include "LivePayloadBuilder.h"
#include "MainWindowFixture.h"
#include "ParamPayloadBuilder.h"
#include "ReplyFrame.h"

using cmdtest::Bytes;
using cmdtest::RequestFrame;

// The next-service counter in a counters block (command 59) frame.
inline uint32_t NextServiceIn(const Bytes& frame)
{
    const Bytes d = cmdtest::DataOf(frame);
    return d.size() != 254 ? 0xDEADBEEF : d[16] | d[17] << 8 | d[18] << 16 | static_cast<uint32_t>(d[19]) << 24;
}

// Message boxes are recorded and answered with m_answer; other dialogs go
// to m_act, whose result ShowModal returns.
class ModalCatcher : public wxModalDialogHook
{
public:
    ModalCatcher() { Register(); }
    ~ModalCatcher() override { Unregister(); }

    std::vector<wxString> m_messages;
    std::vector<wxString> m_dialogs; // titles
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

class PageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_savedTimeout = AnswerWatch::s_timeoutMs;
        SetAnswerWait(true);
    }
    void TearDown() override
    {
        AnswerWatch::s_timeoutMs = m_savedTimeout;
        MainWindowTest::TearDown();
    }

    // How long the next watched request waits for its answer: long when the
    // test gives one (a loaded machine may take its time before it does),
    // short when the test is about an answer that never comes.
    static void SetAnswerWait(bool answerComes) { AnswerWatch::s_timeoutMs = answerComes ? 60000 : 300; }

    // Applying parameters restarts the poll timer; here the test polls.
    void Reply(unsigned char command, const Bytes& payload)
    {
        const Bytes frame = WrapReplyFrame(command, payload);
        theController->m_rxBuffer.assign(frame.begin(), frame.end());
        theController->ParseReply();
        m_frame->StopPollTimer();
    }
    void ReplyLive(const LivePayloadBuilder& live) { Reply(1, Bytes(live.Payload().begin(), live.Payload().end())); }
    void ReplyParameters(const ParamPayloadBuilder& p) { Reply(12, Bytes(p.Payload().begin(), p.Payload().end())); }
    // A fresh link, ready.
    void BringOnline(const ParamPayloadBuilder& parameters = ParamPayloadBuilder())
    {
        theController->ResetLink();
        ReplyParameters(parameters);
        ReplyLive(LivePayloadBuilder());
    }

    wxString Status() const { return m_frame->GetStatusLine()->GetStatusText(1); }
    static std::vector<Bytes> Queued() { return cmdtest::QueuedFrames(*theController); }

    int m_savedTimeout = 0;
};

#endif
