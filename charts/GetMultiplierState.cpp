#include "GetMultiplierState.h"

#include <cmath>

#include <wx/defs.h>
#include <wx/translation.h>

#include "CalibrationHost.h"
#include "Controller.h"

namespace
{
constexpr int32_t kStepLimit = 900;
constexpr int32_t kStableSteps = 100;

// Low 8 bits of the whole degrees (two's complement below zero).
unsigned char TemperatureByte(double celsius)
{
    if (!std::isfinite(celsius) || std::fabs(celsius) > 1.0e6)
        return 0;
    return static_cast<unsigned char>(static_cast<int>(celsius));
}
}

GetMultiplierState::GetMultiplierState(Controller& controller, CalibrationHost& host, unsigned char cylinderMask)
    : GasCalibState(controller, host),
      m_cylinderMask(cylinderMask),
      m_target(controller.m_calibrationTime),
      m_tolerance(controller.m_calibrationTolerance)
{
}

void GetMultiplierState::Enter()
{
    // The window was learned after the machine was built.
    m_target = m_controller.m_calibrationTime;
    m_tolerance = m_controller.m_calibrationTolerance;
    m_controller.SwitchFuel(true, m_cylinderMask);
}

FSM_State* GetMultiplierState::Tick()
{
    ++m_spinner;
    ShowStatus(wxGetTranslation(L"选择加倍 "), m_spinner);
    ++m_ticks;
    if (m_ticks == kStepLimit)
        return m_next;
    if (m_stableTicks == kStableSteps)
        return m_next;
    m_sum += m_controller.m_gasInjectionTime;
    // Whole units on both sides: 2.4 ms is inside a window ending at 24.
    const double v = Tenths(m_controller.m_petrolInjectionTimes[0]);
    if (m_target - m_tolerance <= v && v <= m_target + m_tolerance)
        ++m_stableTicks;
    else
        m_stableTicks = 0;
    return this;
}

bool GetMultiplierState::Exit()
{
    // A phase that ran to its cap learned nothing: no result may follow.
    if (m_stableTicks < kStableSteps)
        return Refuse(wxGetTranslation(L"喷射时间未稳定,无法标定"));
    Controller& c = m_controller;
    c.m_calibrationMultiplier = c.m_multiplier;
    c.m_workPressure = c.m_gasPressure;
    c.m_calibrationTime = m_target;
    c.m_calibrationGasTemperature = TemperatureByte(c.m_gasTemperature);
    m_sum /= m_ticks;
    c.m_calibrationAverage = m_sum;
    if (!(c.m_gasTemperature < 0.0))
        return true;
    m_host.StopPollTimer();
    const int answer = m_host.ShowMessageBox(wxGetTranslation(L"在自动标定过程中燃气温度应大于0度 "),
                                             wxGetTranslation(L"注意 "), wxOK | wxCANCEL | wxICON_EXCLAMATION);
    m_host.StartPollTimer();
    if (answer == wxOK)
        return true;
    return Refuse(wxGetTranslation(L"燃气温度过低,自动标定已停止"));
}
