#include "CalibrationFinishingState.h"

#include <wx/defs.h>
#include <wx/translation.h>

#include "CalibrationHost.h"
#include "Controller.h"

namespace
{
constexpr unsigned char kLowestGoodMultiplier = 90;
constexpr unsigned char kHighestGoodMultiplier = 180;
}

FSM_State* CalibrationFinishingState::Tick()
{
    // This state never counts its steps: the spinner stays on "/".
    ShowStatus(wxGetTranslation(L"自动标定完成！ "), m_ticks);
    const unsigned char multiplier = m_controller.m_calibrationMultiplier;
    wxString verdict;
    if (multiplier < kLowestGoodMultiplier)
        verdict = wxGetTranslation(L"喷射量过小 ");
    else if (multiplier > kHighestGoodMultiplier)
        verdict = wxGetTranslation(L"喷射量过大 ");
    if (!verdict.empty())
    {
        m_host.StopPollTimer();
        m_host.ShowMessageBox(verdict, "Message", wxOK | wxCENTRE);
        m_host.StartPollTimer();
    }
    m_host.ShowProgress(false);
    return m_next;
}
