// The one gate every page, dialog and tool asks before talking to the ECU.

#include <gtest/gtest.h>

#include "Controller.h"
#include "ControllerReady.h"

namespace
{

using A = EcuAccess;
using P = EcuPurpose;

TEST(ReadinessGate, RefusesWhatTheLinkCannotServeAndSaysWhy)
{
    enum : unsigned { Online = 1, Connected = 2, Lost = 4, Params = 8, Calibrating = 16, Demo = 32 };
    const unsigned up = Online | Connected | Params;
    const struct { const char* state; unsigned flags; P purpose; A access; } cases[] = {
        {"parameters, no live data yet", Params, P::ReadLive, A::NoEcu},
        {"ready", up, P::Calibrate, A::Open},
        // Online stays set when the ECU goes quiet.
        {"lost", up | Lost, P::ReadLive, A::LinkLost},
        {"parameters not read", Online | Connected, P::EditSettings, A::ParametersNotRead},
        {"parameters not read", Online | Connected, P::SendCommand, A::Open},
        {"parameters not read", Online | Connected, P::SwitchFuel, A::ParametersNotRead}, // mask 0: all cylinders
        {"calibrating", up | Calibrating, P::SettingsFile, A::Calibrating},
        {"calibrating", up | Calibrating, P::ReadLive, A::Open},
        // Demo goes ahead on its own values; nothing is sent.
        {"demo", up | Demo, P::SendCommand, A::Demo},
        {"demo", up | Demo, P::EditSettings, A::Demo},
        {"demo", up | Demo, P::Calibrate, A::DemoRefused},
    };
    for (const auto& k : cases)
    {
        SCOPED_TRACE(testing::Message() << k.state << ", purpose " << static_cast<int>(k.purpose));
        Controller c;
        c.m_online = (k.flags & Online) != 0;
        c.m_connected = (k.flags & Connected) != 0;
        c.m_linkLost = (k.flags & Lost) != 0;
        c.m_parametersApplied = (k.flags & Params) != 0;
        c.m_calibrating = (k.flags & Calibrating) != 0;
        c.m_demoMode = (k.flags & Demo) != 0;
        const EcuAccess access = CheckEcuAccess(k.purpose, &c);
        EXPECT_EQ(access, k.access);
        // Every refusal says why; going ahead says nothing.
        EXPECT_EQ(RefusalText(access).empty(), Allows(access));
    }
    EXPECT_EQ(CheckEcuAccess(P::ReadLive, nullptr), A::NoEcu);
}

} // namespace
