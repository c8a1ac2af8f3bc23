#ifndef QUENVAR_TESTS_CALIBRATIONRIG_H
#define QUENVAR_TESTS_CALIBRATIONRIG_H

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "CalibrationFsm.h"
#include "CalibrationHost.h"
#include "Controller.h"
#include "FSM_Listener.h"
#include "LivePayloadBuilder.h"

using Bytes = std::vector<unsigned char>;

// One live frame's readings (rpm in hundreds).
struct Live
{
    unsigned rpm = 8;
    int reducer = 60, gasTemp = 20;
    double petrol = 2.5;
    unsigned char multiplier = 118;
};

// Status line, gauge and poll timer as the main window keeps them (hiding the
// gauge empties the status); boxes are recorded as "text|caption" and
// answered from answers, OK when none are left, after whileOpen has run
// (what happens while the box is open).
struct ScriptedHost : CalibrationHost
{
    void SetStatusMessage(const wxString& text) override { status.push_back(text); }
    void ShowProgress(bool show) override { gauge = show; if (!show) status.push_back(""); }
    void SetProgress(int value) override { progress.push_back(value); }
    void StopPollTimer() override { polling = false; }
    void StartPollTimer() override { polling = true; }
    int ShowMessageBox(const wxString& text, const wxString& caption, long) override
    {
        boxes.push_back(text + "|" + caption);
        boxesWhilePolling += polling;
        if (whileOpen)
            whileOpen(text);
        const int answer = answers.empty() ? wxOK : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::vector<wxString> status, boxes;
    std::vector<int> progress;
    std::deque<int> answers;
    std::function<void(const wxString&)> whileOpen;
    int boxesWhilePolling = 0;
    bool gauge = true, polling = true;
};

// A controller fed live frames through its decoder, stepping the held machine
// as the map page does and ending a finished run as the page does. What a
// frame queued counts as sent and answered.
struct CalibrationRig : FSM_Listener
{
    explicit CalibrationRig(unsigned char cylinderCode = 1) { c.m_cylinderCode = cylinderCode, c.m_online = 1; }
    bool Start(unsigned rpm = 8)
    {
        c.m_rpm = rpm;
        c.m_connected = c.m_parametersApplied = 1;
        fsm = StartGasCalibration(this, c, host);
        Drain();
        return fsm != nullptr;
    }
    // exact >= 0 replaces the decoded petrol time (between the wire's steps).
    void Feed(const Live& l = {}, double exact = -1.0)
    {
        LivePayloadBuilder b;
        b.Rpm(l.rpm).Temperatures(l.reducer, l.gasTemp).PetrolTime(0, l.petrol).GasInjectionTime(3.2);
        b.Multiplier(l.multiplier).Pressures(1.17, 0.3);
        c.ApplyLiveData(b.Payload().data(), b.Payload().size());
        if (exact >= 0.0)
            c.m_petrolInjectionTimes[0] = exact;
        result = RunCalibrationStep(fsm);
        Drain();
    }
    int Index() const { return fsm ? fsm->GetCurrentIndex() : -1; }
    bool FeedTo(int index, const Live& l = {})
    {
        for (int i = 0; i < 5000 && Index() != index && Index() >= 0; ++i)
            Feed(l);
        return Index() == index;
    }
    // Frames fed while the state at index stays current, the leaving one included.
    template <class F> int StepsIn(int index, F reading)
    {
        int steps = 0;
        while (Index() == index && steps < 5000)
            Feed(reading(++steps));
        return steps;
    }
    // Data bytes of the sent requests with this command.
    std::vector<Bytes> Sent(unsigned char command) const
    {
        std::vector<Bytes> out;
        for (const Bytes& f : sent)
            if (f[1] == command)
                out.emplace_back(f.begin() + 2, f.end() - 1);
        return out;
    }
    void OnCalibrationFinished() override
    {
        ++finished, heldAtNotice = fsm != nullptr;
        fsm.reset();
        c.FinishCalibration();
        c.RequestParameters();
    }
    void OnCalibrationStopped() override { ++stopped, heldAtNotice = fsm != nullptr; }
    void Drain()
    {
        for (const Request& r : c.m_requestQueue)
            sent.emplace_back(r.m_bytes.begin(), r.m_bytes.end());
        c.m_requestQueue.clear();
    }

    Controller c;
    ScriptedHost host;
    std::unique_ptr<CalibrationFsm> fsm;
    std::vector<Bytes> sent;
    int result = 0, finished = 0, stopped = 0;
    bool heldAtNotice = false;
};

#endif
