#include "AnswerWatch.h"

#include <algorithm>
#include <utility>

#include <wx/msgdlg.h>
#include <wx/translation.h>
#include <wx/window.h>

#include "Controller.h"
#include "MyFrame.h"

int AnswerWatch::s_timeoutMs = 5000;

AnswerWatch::AnswerWatch(wxWindow* speaker, bool boxOnFailure)
    : m_speaker(speaker), m_boxOnFailure(boxOnFailure)
{
    m_timer.Bind(wxEVT_TIMER, &AnswerWatch::OnTimeout, this);
}

void AnswerWatch::Start(const wxString& text, std::function<wxString()> onTimeout)
{
    m_onTimeout = std::move(onTimeout);
    Say(text);
    m_timer.StartOnce(s_timeoutMs);
}

void AnswerWatch::Finish(const wxString& text, bool failed)
{
    m_timer.Stop();
    m_onTimeout = nullptr;
    Say(text);
    if (!failed || !m_boxOnFailure)
        return;
    // An answer comes inside a poll tick: a modal box there would hold the
    // poll timer while it is up and run what was queued for after the tick.
    wxWindow* speaker = m_speaker;
    speaker->CallAfter([text, speaker]() { wxMessageBox(text, _(L"错误 "), wxOK | wxICON_ERROR, speaker); });
}

void AnswerWatch::Say(const wxString& text) const
{
    auto* frame = dynamic_cast<MyFrame*>(wxGetTopLevelParent(m_speaker));
    if (!frame)
        return;
    // The status field has one line.
    wxString line = text;
    line.Replace("\n", " ");
    frame->SetStatusMessage(line);
}

void AnswerWatch::OnTimeout(wxTimerEvent&)
{
    std::function<wxString()> onTimeout = std::move(m_onTimeout);
    m_onTimeout = nullptr;
    if (onTimeout)
        Finish(onTimeout(), true);
}

bool StillAwaited(unsigned char command, wxEvtHandler* handler)
{
    if (!theController)
        return false;
    const auto& queue = theController->m_requestQueue;
    if (std::none_of(queue.begin(), queue.end(), [command](const Request& r) { return r.m_command == command; }))
        return false;
    handler->CallAfter([]() {
        if (theController)
            theController->RequestParameters();
    });
    return true;
}
