#include "ControllerReady.h"

#include <wx/translation.h>

#include "Controller.h"

namespace
{
// Everything but a one-off command and the live readings (the map's curves
// included) is built on, or shows, the parameters: the fuel switch's mask 0,
// for one, means every cylinder they name.
bool NeedsParameters(EcuPurpose purpose)
{
    return purpose != EcuPurpose::ReadLive && purpose != EcuPurpose::CollectCurves &&
           purpose != EcuPurpose::SendCommand;
}
} // namespace

EcuAccess CheckEcuAccess(EcuPurpose purpose, const Controller* c)
{
    if (!c)
        return EcuAccess::NoEcu;
    // Online alone stays set after the link is lost: loads, saves and
    // setters would queue into a dead line.
    if (c->m_linkLost)
        return EcuAccess::LinkLost;
    // A calibration learned from recorded frames would go to no car.
    if (purpose == EcuPurpose::Calibrate && c->m_demoMode)
        return EcuAccess::DemoRefused;
    if (!c->m_online || !c->m_connected)
    {
        // The parameters are read first on every line that opens: until
        // then the ECU is being asked, not missing.
        if (c->HasLine() && !c->m_parametersApplied)
            return EcuAccess::ParametersNotRead;
        return EcuAccess::NoEcu;
    }
    if (purpose == EcuPurpose::ReadLive)
        return EcuAccess::Open;
    if (c->m_calibrating)
        return EcuAccess::Calibrating;
    if (NeedsParameters(purpose) && !c->m_parametersApplied)
        return EcuAccess::ParametersNotRead;
    return c->m_demoMode ? EcuAccess::Demo : EcuAccess::Open;
}

EcuAccess CheckEcuAccess(EcuPurpose purpose)
{
    return CheckEcuAccess(purpose, theController);
}

bool MayUseEcu(EcuPurpose purpose)
{
    return Allows(CheckEcuAccess(purpose));
}

wxString RefusalText(EcuAccess access)
{
    switch (access)
    {
    case EcuAccess::Open:
    case EcuAccess::Demo:
        break;
    case EcuAccess::NoEcu:
        return _(L"没有连接ECU。");
    case EcuAccess::LinkLost:
        return _(L"ECU没有应答，连接已断开。请检查连线，再用“端口连接”重新连接。");
    case EcuAccess::ParametersNotRead:
        return _(L"尚未读到ECU的参数，请稍后再试。");
    case EcuAccess::Calibrating:
        return _(L"自动标定正在进行，请等它结束。");
    case EcuAccess::DemoRefused:
        return _(L"演示模式下不与ECU通信。");
    }
    return wxString();
}

wxString DemoNotSentText()
{
    return _(L"演示模式：没有发送到ECU。");
}

bool IsControllerReady(bool)
{
    return Allows(CheckEcuAccess(EcuPurpose::SendCommand));
}
