// Every command of the protocol table on a real line: the controller opens
// the simulated ECU's pseudo-terminal, the poll tick sends, and the ECU
// records the frames exactly as they arrived. Also the settings-file round
// trip: load a file, the ECU keeps it, save it again, compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "CommandTestSupport.h"
#include "Controller.h"
#include "SimulatedEcu.h"

using cmdtest::Bytes;
using cmdtest::PatternBlock;
using cmdtest::RequestFrame;
using cmdtest::WxPath;

namespace
{

using Action = std::function<void(Controller&)>;

struct WireCase
{
    std::string name;
    Action act;                  // runs on an online controller
    std::vector<Bytes> expected; // the first frames on the wire, in order
};

constexpr auto kDeadline = std::chrono::seconds(10);

// Ticks until the ECU has taken count frames (or the deadline passed).
void TickUntilReceived(Controller& c, SimulatedEcu& ecu, std::size_t count)
{
    const auto deadline = SimulatedEcu::Clock::now() + kDeadline;
    while (ecu.Received().size() < count && SimulatedEcu::Clock::now() < deadline && !c.m_linkLost)
    {
        c.PollTick();
        if (c.m_awaitingReply && c.m_ticksSinceSend == 0)
            ecu.WaitForRequest(std::chrono::milliseconds(1000));
    }
}

std::vector<WireCase> AllCommands(const cmdtest::TempDir& dir)
{
    static double map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = i < 10 ? 9.99 : (i % 200) / 100.0;
    Bytes mapBytes;
    for (int i = 10; i < 256; ++i)
        mapBytes.push_back(static_cast<unsigned char>(i % 200));

    static const unsigned char points[10] = {10, 20, 30, 40, 50, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    Bytes pointBytes(10, 0);
    pointBytes.insert(pointBytes.end(), std::begin(points), std::end(points));

    const Bytes settings = PatternBlock(554, 77);
    const auto settingsPath = dir.Path("wire.xse");
    cmdtest::WriteFile(settingsPath, settings);
    const wxString settingsFile = WxPath(settingsPath);

    Bytes history(254, 0);
    history[16] = 0x80;
    history[17] = 0xFC;
    history[18] = 0x0A;
    history[141] = 1;

    return {
        {"RequestLiveData", [](Controller& c) { c.RequestLiveData(); }, {RequestFrame(1, {1})}},
        {"FinishCalibration",
         [](Controller& c) {
             c.m_workPressure = 1.17;
             c.m_calibrationTime = 52.4;
             c.m_calibrationMultiplier = 130;
             c.m_calibrationGasTemperature = 35;
             c.FinishCalibration();
         },
         {RequestFrame(2, {117, 52, 130, 35, 70})}},
        {"SwitchFuelAllSix",
         [](Controller& c) {
             c.m_cylinderCode = 3;
             c.SwitchFuel(true, 0);
         },
         {RequestFrame(3, {3, 0x3F})}},
        {"SwitchFuelPetrolMask", [](Controller& c) { c.SwitchFuel(false, 0x05); }, {RequestFrame(3, {2, 0x05})}},
        {"StopCalibration", [](Controller& c) { c.StopCalibration(); }, {RequestFrame(5, {0})}},
        {"SetSwitchRpm", [](Controller& c) { c.SetSwitchRpm(550); }, {RequestFrame(9, {5})}},
        {"SetIgnitionCoils", [](Controller& c) { c.SetIgnitionCoils(2); }, {RequestFrame(10, {2})}},
        {"SendMultiplierMap", [](Controller& c) { c.SendMultiplierMap(map); }, {RequestFrame(11, mapBytes)}},
        {"RequestParameterBlock", [](Controller& c) { c.RequestParameterBlock(0); }, {RequestFrame(12, {0})}},
        {"RequestParameters", [](Controller& c) { c.RequestParameters(); }, {RequestFrame(12, {1})}},
        {"SetGasLevelSettings",
         [](Controller& c) { c.SetGasLevelSettings(3, 2.5, 0.98, 1.5, 3.0); },
         {RequestFrame(49, {1}), RequestFrame(13, {125, 49, 75, 150, 3})}},
        {"SetInjectorTypeFromFive",
         [](Controller& c) {
             c.m_injectorType = 5;
             c.m_injectorParamA = 6;
             c.m_injectorParamB = 50;
             c.SetInjectorType(9);
         },
         {RequestFrame(14, {9}), RequestFrame(48, {35})}},
        {"SetInjectorTypeAllThree",
         [](Controller& c) {
             c.m_injectorType = 5;
             c.m_injectorParamA = 6;
             c.m_injectorParamB = 50;
             c.SetInjectorType(3);
         },
         {RequestFrame(14, {3}), RequestFrame(36, {9}), RequestFrame(48, {45})}},
        {"SetSwitchTemperature", [](Controller& c) { c.SetSwitchTemperature(35); }, {RequestFrame(15, {35})}},
        {"EraseFaults", [](Controller& c) { c.EraseFaults(); }, {RequestFrame(16, {0})}},
        {"SetMaxGasRpm", [](Controller& c) { c.SetMaxGasRpm(4500); }, {RequestFrame(17, {45})}},
        {"SetGasPressureSensor", [](Controller& c) { c.SetGasPressureSensor(1); }, {RequestFrame(18, {1})}},
        {"SetReducerTempSensor", [](Controller& c) { c.SetReducerTempSensor(3); }, {RequestFrame(19, {3})}},
        {"SetRpmSignal12V", [](Controller& c) { c.SetRpmSignal(true); }, {RequestFrame(23, {1})}},
        {"SetRpmSignal5V", [](Controller& c) { c.SetRpmSignal(false); }, {RequestFrame(23, {0})}},
        {"SetGasTempSensor", [](Controller& c) { c.SetGasTempSensor(2); }, {RequestFrame(24, {2})}},
        {"SendCalibrationWindow",
         [](Controller& c) { c.SendCalibrationWindow(50, 3, 120); },
         {RequestFrame(25, {50, 3, 120})}},
        {"LoadSettingsFile",
         [settingsFile](Controller& c) { c.LoadSettingsFile(settingsFile); },
         {RequestFrame(26, settings), RequestFrame(12, {1})}},
        {"SetCylinderCode", [](Controller& c) { c.SetCylinderCode(1); }, {RequestFrame(27, {1})}},
        {"SetMinPressure", [](Controller& c) { c.SetMinPressure(0.29); }, {RequestFrame(30, {29})}},
        {"SetGasFaultTime", [](Controller& c) { c.SetGasFaultTime(250); }, {RequestFrame(31, {25})}},
        {"SendMapPoints", [](Controller& c) { c.SendMapPoints(points); }, {RequestFrame(32, pointBytes)}},
        {"SetTurbo", [](Controller& c) { c.SetTurbo(5); }, {RequestFrame(33, {1})}},
        {"SetSwitchTime", [](Controller& c) { c.SetSwitchTime(2.5); }, {RequestFrame(34, {0, 5})}},
        {"SetCylinderSwitchDelay", [](Controller& c) { c.SetCylinderSwitchDelay(120); }, {RequestFrame(35, {12})}},
        {"StartCalibration", [](Controller& c) { c.StartCalibration(); }, {Bytes{0xAA, 0x25, 0xCF}}},
        {"SetManifoldSensor", [](Controller& c) { c.SetManifoldSensor(4); }, {RequestFrame(39, {4})}},
        {"ErasePetrolCurve", [](Controller& c) { c.ErasePetrolCurve(); }, {RequestFrame(42, {1})}},
        {"EraseGasCurve", [](Controller& c) { c.EraseGasCurve(); }, {RequestFrame(42, {2})}},
        {"SetWorkPressure", [](Controller& c) { c.SetWorkPressure(1.25); }, {RequestFrame(43, {125})}},
        {"SetGasSwitchTimeEnabled", [](Controller& c) { c.SetGasSwitchTimeEnabled(1); }, {RequestFrame(46, {1})}},
        {"EnableGasLevel", [](Controller& c) { c.EnableGasLevel(); }, {RequestFrame(49, {1})}},
        {"SetFuelType", [](Controller& c) { c.SetFuelType(1); }, {RequestFrame(51, {1})}},
        {"SetInjectorCorrection",
         [](Controller& c) { c.SetInjectorCorrection(2, 50.0); },
         {RequestFrame(53, {128, 128, 192, 128, 128, 128, 128, 128})}},
        {"SetMinGasRpm", [](Controller& c) { c.SetMinGasRpm(1200); }, {RequestFrame(54, {12})}},
        {"SetMinGasTemperature", [](Controller& c) { c.SetMinGasTemperature(-5); }, {RequestFrame(55, {0xFB})}},
        {"SetServiceInterval",
         [](Controller& c) {
             c.m_parametersApplied = 1;
             c.m_historyStamped = 1; // records stay zero
             c.SetServiceInterval(100);
         },
         {RequestFrame(59, history)}},
    };
}

} // namespace

TEST(CommandWireTest, EveryCommandGoesOutWithItsBytes)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    cmdtest::TempDir dir;
    ASSERT_TRUE(dir.Ok());

    std::vector<unsigned char> covered;
    for (const WireCase& wc : AllCommands(dir))
    {
        SCOPED_TRACE(wc.name);
        cmdtest::RecordingHost host;
        Controller c;
        c.SetHost(&host);
        ASSERT_EQ(c.OpenPort(ecu.SlavePath()), 0);
        c.m_online = 1;
        ecu.ClearReceived();

        wc.act(c);
        TickUntilReceived(c, ecu, wc.expected.size());

        ASSERT_GE(ecu.Received().size(), wc.expected.size());
        for (std::size_t i = 0; i < wc.expected.size(); ++i)
        {
            EXPECT_EQ(ecu.Received()[i], wc.expected[i]) << "frame " << i;
            covered.push_back(wc.expected[i][1]);
        }
        c.ClosePort();
    }

    // Every command number the program may send was on the wire.
    for (int cmd : {1, 2, 3, 5, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 23, 24, 25, 26, 27, 30, 31, 32, 33,
                    34, 35, 36, 37, 39, 42, 43, 46, 48, 49, 51, 53, 54, 55, 59})
        EXPECT_NE(std::find(covered.begin(), covered.end(), cmd), covered.end()) << "command " << cmd;
}

TEST(CommandWireTest, SettingsFileRoundTripThroughTheEcu)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    cmdtest::TempDir dir;
    ASSERT_TRUE(dir.Ok());
    cmdtest::RecordingHost host;
    Controller c;
    c.SetHost(&host);
    ASSERT_EQ(c.OpenPort(ecu.SlavePath()), 0);
    c.m_online = 1;

    const Bytes block = PatternBlock(554, 91);
    const auto loadPath = dir.Path("load.xse");
    const auto savePath = dir.Path("save.xse");
    cmdtest::WriteFile(loadPath, block);

    c.LoadSettingsFile(WxPath(loadPath));
    TickUntilReceived(c, ecu, 1);
    ASSERT_EQ(ecu.Received().size(), 1u);
    const Bytes& sent = ecu.Received()[0];
    ASSERT_EQ(sent, RequestFrame(26, block));

    // The ECU takes the block: its parameter frames carry it from now on.
    Bytes payload = ecu.Payload(12);
    std::copy(sent.begin() + 2, sent.end() - 1, payload.begin() + 17);
    ecu.SetPayload(12, payload);

    // The parameter read queued by the load is answered and applied.
    const auto deadline = SimulatedEcu::Clock::now() + kDeadline;
    while (!c.m_parametersReceived && SimulatedEcu::Clock::now() < deadline && !c.m_linkLost)
    {
        c.PollTick();
        if (c.m_awaitingReply && c.m_ticksSinceSend == 0)
            ecu.WaitForRequest(std::chrono::milliseconds(1000));
    }
    ASSERT_TRUE(c.m_parametersReceived);
    EXPECT_EQ(ecu.Received()[1], RequestFrame(12, {1}));

    c.SetSaveFileName(WxPath(savePath));
    c.RequestParameterBlock(0);
    while (!std::filesystem::exists(savePath) && SimulatedEcu::Clock::now() < deadline && !c.m_linkLost)
    {
        c.PollTick();
        if (c.m_awaitingReply && c.m_ticksSinceSend == 0)
            ecu.WaitForRequest(std::chrono::milliseconds(1000));
    }
    EXPECT_EQ(cmdtest::ReadFile(savePath), cmdtest::ReadFile(loadPath));
    EXPECT_TRUE(c.m_saveFileName.empty());
    EXPECT_TRUE(host.m_messages.empty());
    EXPECT_NE(std::find(ecu.Received().begin(), ecu.Received().end(), RequestFrame(12, {0})), ecu.Received().end());
}
