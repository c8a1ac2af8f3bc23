// The live-readings area: readings, bars, injector rows, lamps and the
// fuel-switch requests.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>

#include "FilledBoxCtrl.h"
#include "LevelBarCtrl.h"
#include "LivePayloadBuilder.h"
#include "ReadingTextCtrl.h"

namespace
{
// The request frame the controller would send: AA, command, data, sum.
std::string RequestBytes(unsigned char command, std::initializer_list<unsigned char> data)
{
    std::string frame{'\xAA', static_cast<char>(command)};
    for (unsigned char b : data)
        frame += static_cast<char>(b);
    unsigned sum = 0;
    for (char c : frame)
        sum += static_cast<unsigned char>(c);
    frame += static_cast<char>(sum & 0xFF);
    return frame;
}

const Request* QueuedRequest(unsigned char command)
{
    for (const Request& r : theController->m_requestQueue) {
        if (r.m_command == command)
            return &r;
    }
    return nullptr;
}

std::vector<bool> LampsLit(MyFrame* frame)
{
    std::vector<bool> lit;
    for (FilledBoxCtrl* lamp : frame->m_lamps)
        lit.push_back(lamp->m_lit);
    return lit;
}
}

class LiveAreaTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        MakeFrame();
        LampBlinkCounter = 0;
    }

    void Tick(wxCheckBox* check, bool value)
    {
        check->SetValue(value);
        Fire(check, wxEVT_CHECKBOX, check->GetId());
    }
};

TEST_F(LiveAreaTest, InitialStateBeforeAnyFrame)
{
    EXPECT_EQ(m_frame->m_gasPressureText->GetLabel(), "25.5");
    EXPECT_EQ(m_frame->m_rpmText->GetLabel(), "0000");
    EXPECT_EQ(LampsLit(m_frame), (std::vector<bool>{false, true, true, true, true, true}));
    EXPECT_EQ(m_frame->m_lamps[0]->GetColour(), wxColour(255, 255, 0));
    EXPECT_EQ(m_frame->m_lamps[5]->GetColour(), wxColour(64, 128, 64));
    ASSERT_EQ(m_frame->m_injectorChecks.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(m_frame->m_injectorChecks[i]->GetId(), 8670 + i);
        EXPECT_TRUE(m_frame->m_injectorChecks[i]->IsEnabled());
        EXPECT_EQ(m_frame->m_petrolTimeGauges[i]->GetRange(), 30);
        EXPECT_EQ(m_frame->m_gasTimeGauges[i]->GetValue(), 0);
    }
    EXPECT_EQ(m_frame->m_fuelButton->GetId(), 8679);
    EXPECT_EQ(m_frame->m_fuelButton->GetLabel(), wxString(L"燃气 "));
}

TEST_F(LiveAreaTest, ReadingsFormatsAndPetrolBars)
{
    Controller* c = theController;
    c->m_gasPressure = 1.234;
    c->m_manifoldPressure = 0.5;
    c->m_gasTemperature = -10;
    c->m_reducerTemperature = 48.25;
    c->m_o2Voltage1 = 0.123;
    c->m_o2Voltage2 = 0.9;
    c->m_supplyVoltage = 13.756;
    c->m_rpm = 8.5;
    c->m_petrolInjectionTimes[0] = 4.96;
    c->m_petrolInjectionTimes[1] = 31.0;
    c->m_petrolInjectionTimes[2] = 6553.5;
    m_frame->OnControllerData();

    EXPECT_EQ(c->m_online, 1);
    EXPECT_EQ(m_frame->m_gasPressureText->GetLabel(), "1.23");
    EXPECT_EQ(m_frame->m_manifoldPressureText->GetLabel(), "0.50");
    EXPECT_EQ(m_frame->m_gasTemperatureText->GetLabel(), "-10.0");
    EXPECT_EQ(m_frame->m_reducerTemperatureText->GetLabel(), "48.2");
    EXPECT_EQ(m_frame->m_o2Voltage1Text->GetLabel(), "0.12");
    EXPECT_EQ(m_frame->m_o2Voltage2Text->GetLabel(), "0.90");
    EXPECT_EQ(m_frame->m_batteryVoltageText->GetLabel(), "13.76");
    EXPECT_EQ(m_frame->m_rpmText->GetLabel(), " 850");

    EXPECT_EQ(m_frame->m_petrolTimeTexts[0]->GetLabel(), "5.0");
    EXPECT_EQ(m_frame->m_petrolTimeGauges[0]->GetValue(), 4);
    // Beyond the bar's range of 30 it shows full instead of asserting.
    EXPECT_EQ(m_frame->m_petrolTimeTexts[1]->GetLabel(), "31.0");
    EXPECT_EQ(m_frame->m_petrolTimeGauges[1]->GetValue(), 30);
    EXPECT_EQ(m_frame->m_petrolTimeGauges[2]->GetValue(), 30);
    EXPECT_EQ(m_frame->m_petrolTimeTexts[3]->GetLabel(), "0.0");
}

TEST_F(LiveAreaTest, GasMaskTicksAndColoursTheCylinderRows)
{
    Controller* c = theController;
    c->m_onGas = 1;
    c->m_gasCylinderMask = 0x05;
    c->m_gasInjectionTime = 4.96;
    m_frame->OnControllerData();

    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const bool on = i == 0 || i == 2;
        EXPECT_EQ(m_frame->m_injectorChecks[i]->GetValue(), on);
        EXPECT_EQ(m_frame->m_injectorChecks[i]->GetBackgroundColour(),
                  on ? wxColour(0, 255, 0) : wxColour("LIGHT GREY"));
        EXPECT_EQ(m_frame->m_gasTimeTexts[i]->GetLabel(), on ? "4.96" : "0.00");
        EXPECT_EQ(m_frame->m_gasTimeGauges[i]->GetValue(), on ? 4 : 0);
    }
    EXPECT_EQ(m_frame->m_fuelButton->GetLabel(), wxString(L"燃气 "));
    EXPECT_EQ(m_frame->m_fuelButton->GetBackgroundColour(), wxColour(0, 0, 255));
    EXPECT_EQ(m_frame->m_fuelButton->GetForegroundColour(), wxColour(255, 255, 255));

    // A gas time beyond the bars' range fills them.
    c->m_gasInjectionTime = 45.0;
    m_frame->OnControllerData();
    EXPECT_EQ(m_frame->m_gasTimeGauges[0]->GetValue(), 30);

    // Back on petrol every gas row reads zero; the boxes keep their ticks.
    c->m_onGas = 0;
    m_frame->OnControllerData();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(m_frame->m_gasTimeTexts[i]->GetLabel(), "0.00");
        EXPECT_EQ(m_frame->m_gasTimeGauges[i]->GetValue(), 0);
    }
    EXPECT_TRUE(m_frame->m_injectorChecks[0]->GetValue());
    EXPECT_EQ(m_frame->m_fuelButton->GetLabel(), wxString(L"汽油 "));
    EXPECT_EQ(m_frame->m_fuelButton->GetBackgroundColour(), wxColour(255, 0, 0));
}

TEST_F(LiveAreaTest, GasLevelLampsFollowTheStage)
{
    Controller* c = theController;
    c->m_onGas = 1;
    c->m_statusBit1 = 0;
    const struct
    {
        int stage;
        std::vector<bool> lit;
    } cases[] = {
        {0, {true, false, false, false, false, true}},
        {2, {false, true, true, false, false, true}},
        {4, {false, true, true, true, true, true}},
        {3, {false, true, true, true, false, true}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.stage);
        c->m_gasLevelStage = static_cast<unsigned char>(k.stage);
        m_frame->OnControllerData();
        EXPECT_EQ(LampsLit(m_frame), k.lit);
    }

    // On petrol the level lamps keep their state and the status lamp goes out.
    c->m_onGas = 0;
    c->m_gasLevelStage = 0;
    m_frame->OnControllerData();
    EXPECT_EQ(LampsLit(m_frame), (std::vector<bool>{false, true, true, true, false, false}));
}

TEST_F(LiveAreaTest, StatusLampBlinksWithStatusBit)
{
    Controller* c = theController;
    for (int gas = 0; gas <= 1; ++gas) {
        SCOPED_TRACE(gas);
        c->m_onGas = static_cast<unsigned char>(gas);
        c->m_statusBit1 = 1;
        std::vector<bool> seen;
        for (int frame = 0; frame < 4; ++frame) {
            m_frame->OnControllerData();
            seen.push_back(m_frame->m_lamps[5]->m_lit);
        }
        EXPECT_NE(seen[0], seen[1]);
        EXPECT_EQ(seen[0], seen[2]);
        EXPECT_EQ(seen[1], seen[3]);

        c->m_statusBit1 = 0;
        for (int frame = 0; frame < 2; ++frame) {
            m_frame->OnControllerData();
            EXPECT_EQ(m_frame->m_lamps[5]->m_lit, gas == 1);
        }
    }

    // The counter wraps at 9999.
    c->m_statusBit1 = 1;
    LampBlinkCounter = 9998;
    m_frame->OnControllerData();
    EXPECT_EQ(LampBlinkCounter, 0);
    EXPECT_TRUE(m_frame->m_lamps[5]->m_lit);
    m_frame->OnControllerData();
    EXPECT_EQ(LampBlinkCounter, 1);
}

TEST_F(LiveAreaTest, CylinderCodeEnablesInjectorBoxes)
{
    Controller* c = theController;
    const struct
    {
        int code;
        int enabled;
    } cases[] = {{7, 2}, {6, 1}, {0, 3}, {5, 8}, {3, 6}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.code);
        c->m_cylinderCode = static_cast<unsigned char>(k.code);
        m_frame->OnParametersLoaded();
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(m_frame->m_injectorChecks[i]->IsEnabled(), i < k.enabled) << i;
    }
    // An unknown code leaves the boxes alone; the button still follows the fuel.
    c->m_cylinderCode = 9;
    c->m_onGas = 0;
    m_frame->OnParametersLoaded();
    EXPECT_TRUE(m_frame->m_injectorChecks[5]->IsEnabled());
    EXPECT_FALSE(m_frame->m_injectorChecks[6]->IsEnabled());
    EXPECT_EQ(m_frame->m_fuelButton->GetLabel(), wxString(L"汽油 "));
}

TEST_F(LiveAreaTest, InjectorBoxesAndFuelButtonRequestFuel)
{
    Controller* c = theController;
    c->m_cylinderCode = 1; // four cylinders
    auto& checks = m_frame->m_injectorChecks;

    // Before the first live frame nothing is sent. Ticks without a port miss
    // nothing: no lost link is claimed.
    for (int i = 0; i < 40; ++i)
        c->PollTick();
    ModalCatcher boxes;
    Tick(checks[0], true);
    EXPECT_EQ(QueuedRequest(CMD_SWITCH_FUEL), nullptr);
    EXPECT_EQ(boxes.m_messages, (std::vector<wxString>{L"燃料没有切换。\n没有连接ECU。"}));

    c->m_onGas = 1;
    c->m_gasCylinderMask = 0x01;
    c->m_connected = c->m_parametersApplied = 1;
    m_frame->OnControllerData();
    ASSERT_EQ(c->m_online, 1);

    // Ticking a second box keeps gas with the new set.
    Tick(checks[2], true);
    const Request* r = QueuedRequest(CMD_SWITCH_FUEL);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_bytes, RequestBytes(3, {3, 0x05}));

    // Unticking the last ticked box asks for petrol on all cylinders.
    Tick(checks[2], false);
    Tick(checks[0], false);
    r = QueuedRequest(CMD_SWITCH_FUEL);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_bytes, RequestBytes(3, {2, 0x0F}));

    // The button on gas asks for petrol; the label waits for the ECU.
    Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH);
    EXPECT_EQ(QueuedRequest(CMD_SWITCH_FUEL)->m_bytes, RequestBytes(3, {2, 0x0F}));
    EXPECT_EQ(m_frame->m_fuelButton->GetLabel(), wxString(L"燃气 "));

    // On petrol it asks for gas on the ticked cylinders, or all of them.
    c->m_onGas = 0;
    checks[1]->SetValue(true);
    Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH);
    EXPECT_EQ(QueuedRequest(CMD_SWITCH_FUEL)->m_bytes, RequestBytes(3, {3, 0x02}));
    checks[1]->SetValue(false);
    Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH);
    EXPECT_EQ(QueuedRequest(CMD_SWITCH_FUEL)->m_bytes, RequestBytes(3, {3, 0x0F}));
}

TEST_F(LiveAreaTest, LiveFrameFromTheLineReachesTheArea)
{
    LivePayloadBuilder b;
    b.Status(true, false, false).GasCylinderMask(0x03).GasInjectionTime(3.5).Rpm(12);
    b.PetrolTime(0, 2.5).GasLevel(200, 2).Pressures(1.2, 0.35).Temperatures(40, 25);
    const auto& payload = b.Payload();
    theController->ApplyLiveData(payload.data(), payload.size());

    EXPECT_EQ(m_frame->m_rpmText->GetLabel(), "1200");
    EXPECT_EQ(m_frame->m_petrolTimeTexts[0]->GetLabel(), "2.5");
    EXPECT_EQ(m_frame->m_gasTimeTexts[1]->GetLabel(), "3.50");
    EXPECT_EQ(m_frame->m_gasTimeTexts[2]->GetLabel(), "0.00");
    EXPECT_EQ(m_frame->m_gasPressureText->GetLabel(), "1.20");
    EXPECT_EQ(m_frame->m_reducerTemperatureText->GetLabel(), "40.0");
    EXPECT_EQ(LampsLit(m_frame), (std::vector<bool>{false, true, true, false, false, true}));
    EXPECT_EQ(theController->m_online, 1);
}

TEST_F(LiveAreaTest, AtTheSmallestWindowNothingIsCutOffAndEveryReadingShowsWhole)
{
    // The extremes of every field: all bits set, the temperatures' minimum.
    LivePayloadBuilder b;
    b.Status(true, false, false).GasCylinderMask(0xFF).GasInjectionTime(16777.215).Rpm(255);
    b.Pressures(655.35, 655.35).O2Voltages(5.0, 5.0).SupplyVoltage(16.34).Temperatures(-128, -128);
    for (unsigned cylinder = 0; cylinder < 8; ++cylinder)
        b.PetrolTime(cylinder, 6553.5);
    theController->ApplyLiveData(b.Payload().data(), b.Payload().size());
    m_frame->SetSize(600, 400);
    m_frame->Layout();

    const struct
    {
        ReadingTextCtrl* text;
        const char* shown;
    } readings[] = {
        {m_frame->m_gasPressureText, "655.35"},     {m_frame->m_manifoldPressureText, "655.35"},
        {m_frame->m_gasTemperatureText, "-128.0"},  {m_frame->m_reducerTemperatureText, "-128.0"},
        {m_frame->m_o2Voltage1Text, "5.00"},        {m_frame->m_batteryVoltageText, "16.34"},
        {m_frame->m_rpmText, "25500"},              {m_frame->m_petrolTimeTexts[0], "6553.5"},
        {m_frame->m_petrolTimeTexts[7], "6553.5"},  {m_frame->m_gasTimeTexts[0], "16777.22"},
        {m_frame->m_gasTimeTexts[7], "16777.22"},
    };
    for (const auto& k : readings) {
        SCOPED_TRACE(k.shown);
        EXPECT_EQ(k.text->GetLabel(), k.shown);
        EXPECT_TRUE(k.text->ShowsWhole()) << k.text->GetClientSize().x << " px";
    }

    // Every control lies inside the frame's client area at its full size.
    const wxRect client(m_frame->GetClientSize());
    std::vector<wxWindow*> controls = {m_frame->m_fuelButton, m_frame->m_rpmText, m_frame->m_notebook,
                                       m_frame->m_batteryVoltageText, m_frame->m_gasTimeTexts[7],
                                       m_frame->m_injectorChecks[7]};
    controls.insert(controls.end(), m_frame->m_lamps.begin(), m_frame->m_lamps.end());
    for (wxWindow* w : controls) {
        wxRect place(w->GetPosition(), w->GetSize());
        for (wxWindow* p = w->GetParent(); p && p != m_frame; p = p->GetParent())
            place.Offset(p->GetPosition() + p->GetClientAreaOrigin());
        SCOPED_TRACE(w->GetClassInfo()->GetClassName());
        EXPECT_TRUE(client.Contains(place)) << place.GetRight() << " of " << client.width;
        EXPECT_GE(w->GetSize().x, w->GetMinSize().x);
    }
}
