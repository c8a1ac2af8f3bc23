#include "GetInjectionTimeState.h"

#include <algorithm>

#include <wx/translation.h>

#include "Controller.h"

namespace
{
// The leaving step samples nothing: 99 samples.
constexpr int32_t kLeavingStep = 100;
// Above any sample (ms x 10 of a u16 reading is at most 65535).
constexpr int kNoMinimum = 1 << 30;
constexpr int kLargestByte = 255;
// 1.0 ms, the first map entry the ECU keeps: a point learned below it seeds
// nothing that is sent, and a sample below it (0 from an unconnected
// injector wire) would widen the window down to where a dead reading
// counts as settled.
constexpr int kShortestSample = 10;
}

void GetInjectionTimeState::Enter()
{
    m_controller.SwitchFuel(false, 0);
    m_min = kNoMinimum;
    m_max = 0;
}

FSM_State* GetInjectionTimeState::Tick()
{
    ShowStatus(wxGetTranslation(L"读取喷射时间 "), m_ticks);
    ++m_ticks;
    if (m_ticks == kLeavingStep)
        return m_next;
    const int v = Tenths(m_controller.m_petrolInjectionTimes[0]);
    if (v < m_min)
        m_min = v;
    if (v > m_max)
        m_max = v;
    return this;
}

bool GetInjectionTimeState::Exit()
{
    if (m_min < kShortestSample)
        return Refuse(wxGetTranslation(L"喷射时间低于1.0ms,无法标定"));
    // In whole units a 2.4-2.6 ms spread is 2 units: half of it plus one.
    // Samples are never negative, so the division floors.
    const int midpoint = (m_min + m_max) / 2;
    // The window goes out in bytes: a wrapped midpoint would be a window
    // the petrol time never enters.
    if (midpoint > kLargestByte)
        return Refuse(wxGetTranslation(L"喷射时间超过25.5ms,无法标定"));
    const auto tolerance = static_cast<unsigned char>(std::min((m_max - m_min) / 2 + 1, kLargestByte));
    m_controller.m_calibrationTolerance = tolerance;
    m_controller.m_calibrationTime = midpoint;
    m_controller.SendCalibrationWindow(static_cast<unsigned char>(midpoint), tolerance,
                                       m_controller.m_calibrationMultiplier);
    return true;
}
