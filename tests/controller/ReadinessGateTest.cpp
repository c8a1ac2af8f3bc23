// The one gate every page, dialog and tool asks before talking to the ECU.

#include <gtest/gtest.h>

#include "Controller.h"
#include "ControllerReady.h"

namespace
{

using A = EcuAccess;

TEST(ReadinessGate, EachStateAllowsOrRefusesEachPurposeWithOneReason)
{
    enum : unsigned { Online = 1, Connected = 2, Lost = 4, Params = 8, Calibrating = 16, Demo = 32 };
    const unsigned up = Online | Connected | Params;
    const struct
    {
        const char* state;
        unsigned flags;
        // ReadLive, SendCommand, EditSettings, SettingsFile, ServiceInterval, Calibrate
        A access[6];
    } cases[] = {
        {"fresh", 0, {A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu}},
        {"parameters, no live data yet", Params, {A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu, A::NoEcu}},
        {"ready", up, {A::Open, A::Open, A::Open, A::Open, A::Open, A::Open}},
        // Online stays set when the ECU goes quiet.
        {"lost", up | Lost, {A::LinkLost, A::LinkLost, A::LinkLost, A::LinkLost, A::LinkLost, A::LinkLost}},
        {"live data, parameters not read",
         Online | Connected,
         {A::Open, A::Open, A::ParametersNotRead, A::ParametersNotRead, A::ParametersNotRead,
          A::ParametersNotRead}},
        {"calibrating",
         up | Calibrating,
         {A::Open, A::Calibrating, A::Calibrating, A::Calibrating, A::Calibrating, A::Calibrating}},
        {"demo", up | Demo, {A::Open, A::Demo, A::Demo, A::Demo, A::Demo, A::DemoRefused}},
        {"demo before its parameters",
         Online | Connected | Demo,
         {A::Open, A::Demo, A::ParametersNotRead, A::ParametersNotRead, A::ParametersNotRead, A::DemoRefused}},
    };
    const EcuPurpose purposes[] = {EcuPurpose::ReadLive,     EcuPurpose::SendCommand,     EcuPurpose::EditSettings,
                                   EcuPurpose::SettingsFile, EcuPurpose::ServiceInterval, EcuPurpose::Calibrate};
    for (const auto& k : cases)
    {
        Controller c;
        c.m_online = (k.flags & Online) != 0;
        c.m_connected = (k.flags & Connected) != 0;
        c.m_linkLost = (k.flags & Lost) != 0;
        c.m_parametersApplied = (k.flags & Params) != 0;
        c.m_calibrating = (k.flags & Calibrating) != 0;
        c.m_demoMode = (k.flags & Demo) != 0;
        for (int p = 0; p < 6; ++p)
        {
            SCOPED_TRACE(testing::Message() << k.state << ", purpose " << p);
            const EcuAccess access = CheckEcuAccess(purposes[p], &c);
            EXPECT_EQ(access, k.access[p]);
            // Every refusal says why; going ahead says nothing.
            EXPECT_EQ(RefusalText(access).empty(), Allows(access));
        }
    }
    EXPECT_EQ(CheckEcuAccess(EcuPurpose::ReadLive, nullptr), A::NoEcu);
}

} // namespace
