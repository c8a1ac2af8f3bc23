#include "WaitReductorTemp.h"

#include <wx/translation.h>

#include "CalibrationHost.h"
#include "Controller.h"

namespace
{
constexpr double kWarmReducer = 50.0;
constexpr int32_t kWarmSteps = 10;
}

void WaitReductorTemp::Enter()
{
    m_controller.SwitchFuel(false, 0);
}

FSM_State* WaitReductorTemp::Tick()
{
    m_host.SetStatusMessage(wxGetTranslation(L"减压器温度 >50° C"));
    ++m_ticks;
    // The step after ten warm ones leaves without reading the temperature.
    if (m_ticks > kWarmSteps)
        return m_next;
    if (m_controller.m_reducerTemperature < kWarmReducer)
        m_ticks = 0;
    return this;
}
