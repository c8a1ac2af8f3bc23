#include "CalibrationFsm.h"

#include <utility>

#include <wx/defs.h>
#include <wx/translation.h>

#include "CalibrationFinishingState.h"
#include "CalibrationHost.h"
#include "Controller.h"
#include "ControllerReady.h"
#include "FSM_Listener.h"
#include "GetInjectionTimeState.h"
#include "GetMultiplierState.h"
#include "WaitReductorTemp.h"
#include "WaitState.h"

namespace
{
constexpr int32_t kFirstWait = 150;
constexpr int32_t kLaterWait = 75;
// m_rpm is in hundreds of rpm.
constexpr double kIdleRpm = 500.0;
constexpr unsigned char kStartMultiplier = 128;

// Puts the odd-numbered half of the cylinders on gas.
unsigned char HalfMask(unsigned cylinders)
{
    switch (cylinders / 2)
    {
    case 1:
        return 0x01;
    case 2:
        return 0x05;
    case 3:
        return 0x15;
    default:
        return 0x55;
    }
}
} // namespace

CalibrationFsm::CalibrationFsm(Controller& controller, CalibrationHost& host, FSM_Listener* listener)
    : m_controller(controller), m_host(host), m_listener(listener)
{
}

CalibrationFsm::~CalibrationFsm() = default;

void CalibrationFsm::AddState(std::unique_ptr<FSM_State> state)
{
    if (!m_initial)
        m_initial = state.get();
    m_states.push_back(std::move(state));
}

void CalibrationFsm::Restart()
{
    m_current = m_initial;
    m_outcome = Outcome::None;
    if (m_current)
        m_current->Enter();
}

int CalibrationFsm::GetCurrentIndex() const
{
    for (std::size_t i = 0; i < m_states.size(); ++i)
        if (m_states[i].get() == m_current)
            return static_cast<int>(i);
    return -1;
}

void StopCalibrationRun(Controller& controller, CalibrationHost& host, const wxString& reason)
{
    // A lost link takes no more requests: only a link reset revives it, and
    // that empties the queue. A link just reset carries the stop on its
    // first frames.
    if (CheckEcuAccess(EcuPurpose::ReadLive, &controller) == EcuAccess::LinkLost)
        controller.m_calibrating = 0;
    else
        controller.StopCalibration();
    // Hiding the gauge empties the message field: the reason goes after.
    host.ShowProgress(false);
    if (!reason.empty())
        host.SetStatusMessage(reason);
}

void CalibrationFsm::Stop(const wxString& reason)
{
    m_current = nullptr;
    m_outcome = Outcome::Stopped;
    StopCalibrationRun(m_controller, m_host, reason);
}

int32_t CalibrationFsm::Step()
{
    if (!m_current)
        return -1;
    // A link reset clears the calibrating flag: the controller no longer
    // learns, so nothing this run would hand over is real.
    if (!m_controller.m_calibrating)
    {
        Stop(wxGetTranslation(L"控制器已退出标定,自动标定已停止"));
        return -1;
    }
    // A stalled engine would let each gas phase run to its cap learning
    // nothing.
    if (!(m_controller.m_rpm > 0.0))
    {
        Stop(wxGetTranslation(L"发动机已熄火,自动标定已停止"));
        return -1;
    }

    const int index = GetCurrentIndex();
    if (index >= 0)
        m_host.SetProgress(index + 1);

    FSM_State* next = m_current->Tick();
    if (next == m_current)
        return 0;
    // A refusing exit has stopped the run and said why.
    if (!m_current->Exit())
    {
        m_current = nullptr;
        m_outcome = Outcome::Aborted;
        return -1;
    }
    if (!next)
    {
        m_current = nullptr;
        m_outcome = Outcome::Finished;
        return -1;
    }
    m_current = next;
    m_current->Enter();
    return 0;
}

std::unique_ptr<CalibrationFsm> BuildGasCalibration(FSM_Listener* listener, Controller& controller,
                                                    CalibrationHost& host)
{
    auto fsm = std::make_unique<CalibrationFsm>(controller, host, listener);
    GasCalibState* previous = nullptr;
    auto add = [&](std::unique_ptr<GasCalibState> state) {
        if (previous)
            previous->m_next = state.get();
        previous = state.get();
        fsm->AddState(std::move(state));
    };
    const unsigned char halfMask = HalfMask(controller.GetCylinderCount());
    add(std::make_unique<WaitReductorTemp>(controller, host));
    add(std::make_unique<WaitState>(controller, host, kFirstWait, false));
    add(std::make_unique<GetInjectionTimeState>(controller, host));
    add(std::make_unique<GetMultiplierState>(controller, host, 0x01));
    add(std::make_unique<GetMultiplierState>(controller, host, halfMask));
    add(std::make_unique<GetMultiplierState>(controller, host, 0));
    add(std::make_unique<WaitState>(controller, host, kLaterWait, false));
    add(std::make_unique<GetInjectionTimeState>(controller, host));
    add(std::make_unique<GetMultiplierState>(controller, host, 0));
    add(std::make_unique<WaitState>(controller, host, kLaterWait, false));
    add(std::make_unique<GetInjectionTimeState>(controller, host));
    add(std::make_unique<GetMultiplierState>(controller, host, 0));
    add(std::make_unique<CalibrationFinishingState>(controller, host));
    return fsm;
}

std::unique_ptr<CalibrationFsm> StartGasCalibration(FSM_Listener* listener, Controller& controller,
                                                    CalibrationHost& host)
{
    const EcuAccess access = CheckEcuAccess(EcuPurpose::Calibrate, &controller);
    if (!Allows(access))
    {
        // Hiding the gauge empties the message field: the reason goes after.
        host.ShowProgress(false);
        host.SetStatusMessage(wxGetTranslation(L"自动标定没有启动：") + RefusalText(access));
        return nullptr;
    }
    host.ShowMessageBox(wxGetTranslation(L"自动标定应使发动机处于怠速状态！"), wxGetTranslation(L"提示"),
                        wxOK | wxCENTRE | wxICON_EXCLAMATION);
    host.ShowProgress(true);
    if (controller.m_rpm * 100.0 < kIdleRpm)
    {
        host.ShowMessageBox(wxGetTranslation(L"启动引擎！ "), wxGetTranslation(L"错误 "), wxOK | wxCENTRE);
        // No run follows: the gauge would otherwise stay up with nothing to show.
        host.ShowProgress(false);
        return nullptr;
    }
    controller.m_calibrationMultiplier = kStartMultiplier;
    auto fsm = BuildGasCalibration(listener, controller, host);
    fsm->Restart();
    controller.StartCalibration();
    return fsm;
}

int32_t RunCalibrationStep(std::unique_ptr<CalibrationFsm>& fsm)
{
    if (!fsm)
        return -1;
    const bool wasRunning = fsm->IsRunning();
    const int32_t result = fsm->Step();
    const CalibrationFsm::Outcome outcome = fsm->GetOutcome();
    if (!wasRunning || outcome == CalibrationFsm::Outcome::None)
        return result;
    // The machine goes before anyone hears of the end: a listener that drops
    // or replaces it can touch nothing of a machine still inside its Step.
    FSM_Listener* listener = fsm->GetListener();
    fsm.reset();
    if (listener)
    {
        if (outcome == CalibrationFsm::Outcome::Finished)
            listener->OnCalibrationFinished();
        else
            listener->OnCalibrationStopped();
    }
    return result;
}
