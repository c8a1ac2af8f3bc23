#ifndef QUENVAR_ANSWERWATCH_H
#define QUENVAR_ANSWERWATCH_H

#include <functional>

#include <wx/string.h>
#include <wx/timer.h>

class wxEvtHandler;
class wxWindow;

// Waits a bounded time for the ECU's answer to one request and says in the
// main window's status field what came of it: the request, then the answer,
// or that none came.
class AnswerWatch
{
public:
    // speaker: a window inside the main window (or the main window itself);
    // boxOnFailure: a failure is also shown in an error box.
    AnswerWatch(wxWindow* speaker, bool boxOnFailure);
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    // Says text and starts waiting; when no Finish comes in time, onTimeout
    // runs and what it returns is said.
    void Start(const wxString& text, std::function<wxString()> onTimeout);
    // The answer came: stops waiting and says text; failed: it was a failure
    // (its box opens once the event being handled is done).
    void Finish(const wxString& text, bool failed = false);
    // Still waiting for an answer.
    bool IsWaiting() const { return m_timer.IsRunning(); }
    // Says text in status field 1 of the main window around the speaker.
    void Say(const wxString& text) const;

    // How long an answer may take, ms (5 s; tests shorten it).
    static int s_timeoutMs;

private:
    void OnTimeout(wxTimerEvent& event);

    wxWindow* m_speaker;
    bool m_boxOnFailure;
    wxTimer m_timer;
    std::function<wxString()> m_onTimeout;
};

// For a parameter frame just applied: true when a request with command still
// waits for its answer. The frame was then asked for before that request,
// and its reply also took the parameter read queued behind the request off
// the queue; the read is queued again through handler once the receive path
// is done.
bool StillAwaited(unsigned char command, wxEvtHandler* handler);

#endif
