#include "GasCalibState.h"

#include <algorithm>
#include <cmath>

#include "CalibrationFsm.h"
#include "CalibrationHost.h"
#include "SpinnerFrames.h"

GasCalibState::GasCalibState(Controller& controller, CalibrationHost& host)
    : m_controller(controller), m_host(host)
{
}

void GasCalibState::ShowStatus(const wxString& label, int position)
{
    m_host.SetStatusMessage(label + SpinnerFrames[static_cast<unsigned>(position) % 4]);
}

bool GasCalibState::Refuse(const wxString& reason)
{
    StopCalibrationRun(m_controller, m_host, reason);
    return false;
}

int GasCalibState::Tenths(double ms)
{
    if (!std::isfinite(ms))
        return 0;
    // Far beyond any u16 reading; keeps the conversion defined.
    constexpr double kLimit = 1.0e6;
    return static_cast<int>(std::lround(std::clamp(ms, -kLimit, kLimit) * 10.0));
}
