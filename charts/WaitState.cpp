#include "WaitState.h"

#include <wx/translation.h>

#include "Controller.h"

WaitState::WaitState(Controller& controller, CalibrationHost& host, int32_t duration, bool gas)
    : GasCalibState(controller, host), m_duration(duration), m_gas(gas ? 1 : 0)
{
}

void WaitState::Enter()
{
    m_controller.SwitchFuel(m_gas != 0, 0);
}

FSM_State* WaitState::Tick()
{
    ShowStatus(wxGetTranslation(L"等待..."), m_spinner);
    ++m_ticks;
    ++m_spinner;
    return m_ticks >= m_duration ? m_next : this;
}
