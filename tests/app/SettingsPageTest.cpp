// The settings page: what each control sends, the refresh, values no
// control can show, the gate, Escape and typing.

#include "SettingsFixture.h"

#include <functional>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/tooltip.h>

#include "MyApp.h"
#include "qiliangxianshi.h"

using namespace settingstest;
using P = PanelCS;

namespace
{
wxString Tip(wxWindow* window)
{
    return window->GetToolTip() ? window->GetToolTip()->GetTip() : wxString();
}
}

TEST_F(SettingsTest, EachEditSendsOneValueOnTheWiresStep)
{
    struct Case
    {
        const char* name;
        std::function<void(P*)> edit;
        Frames frames;
        int spin;          // typed into, or -1
        const char* shown; // its text afterwards
        int axisRedraws;
    };
    auto choose = [](const char* name, P::ChoiceIndex index, int row, Frames frames, int axis = 0) {
        return Case{name, [=](P* page) { Choose(page->GetChoice(index), row); }, frames, -1, nullptr, axis};
    };
    // Typed, then Enter.
    auto type = [](const char* name, P::SpinIndex index, const char* typed, Frames frames, const char* shown) {
        auto edit = [=](P* page) {
            Type(page->GetSpin(index)->GetTextCtrl(), typed);
            PressEnter(page->GetSpin(index)->GetTextCtrl());
        };
        return Case{name, edit, frames, index, shown, 0};
    };
    const Case cases[] = {
        choose("cylinders row 7", P::CHOICE_CYLINDERS, 7, {Frame(27, {7})}),
        choose("ignition coils row 6", P::CHOICE_IGNITION_COILS, 6, {Frame(10, {6})}),
        choose("rpm signal 12 V", P::CHOICE_RPM_SIGNAL, 1, {Frame(23, {1})}),
        choose("boosted engine", P::CHOICE_ENGINE_TYPE, 1, {Frame(33, {1})}, 1),
        choose("naturally aspirated", P::CHOICE_ENGINE_TYPE, 0, {Frame(33, {0})}, 1),
        choose("injector type 9 after 5", P::CHOICE_INJECTOR_TYPE, 1, {Frame(14, {9}), Frame(48, {35})}),
        type("switch time 2.5 s", P::SPIN_SWITCH_TIME, "2.5", {Frame(34, {0, 5})}, "2.5"),
        type("switch time 0.7 s", P::SPIN_SWITCH_TIME, "0.7", {Frame(34, {0, 1})}, "0.5"),
        type("gas fault time 1499 ms", P::SPIN_GAS_FAULT_TIME, "1499", {Frame(31, {149})}, "1490"),
        type("working pressure 1.25 bar", P::SPIN_WORK_PRESSURE, "1.25", {Frame(43, {125})}, "1.25"),
        type("minimum pressure 0.29 bar", P::SPIN_MIN_PRESSURE, "0.29", {Frame(30, {29})}, "0.29"),
        type("switch rpm 1550", P::SPIN_SWITCH_RPM, "1550", {Frame(9, {15})}, "1500"),
        type("switch rpm 60", P::SPIN_SWITCH_RPM, "60", {Frame(9, {1})}, "100"),
        type("switch temperature 50", P::SPIN_SWITCH_TEMPERATURE, "50", {Frame(15, {50})}, "50"),
        type("cylinder switch-over 1499 ms", P::SPIN_CYLINDER_SWITCH_DELAY, "1499", {Frame(35, {149})}, "1490"),
        type("lowest gas temperature -5", P::SPIN_MIN_GAS_TEMPERATURE, "-5", {Frame(55, {0xFB})}, "-5"),
        type("lowest rpm on gas 1250", P::SPIN_MIN_GAS_RPM, "1250", {Frame(54, {12})}, "1200"),
        type("highest rpm on gas 6500", P::SPIN_MAX_GAS_RPM, "6500", {Frame(17, {65})}, "6500"),
        type("what the ECU has already", P::SPIN_SWITCH_RPM, "1099", {}, "1000"),
        {"gas switch time ticked", [](P* page) { page->GetGasSwitchTimeCheck()->SetValue(true);
                                                 Click(page->GetGasSwitchTimeCheck(), wxEVT_CHECKBOX); },
         {Frame(46, {1})}, -1, nullptr, 0},
        {"CNG", [](P* page) { page->GetCngRadio()->SetValue(true);
                              Click(page->GetCngRadio(), wxEVT_RADIOBUTTON); },
         {Frame(51, {1})}, -1, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ready();
        m_page->m_axisRedraws = 0;
        c.edit(m_page);
        EXPECT_EQ(Queued(), c.frames);
        EXPECT_EQ(m_page->m_axisRedraws, c.axisRedraws);
        if (c.spin >= 0) {
            EXPECT_EQ(SpinText(static_cast<P::SpinIndex>(c.spin))->GetValue(), c.shown);
            EXPECT_FALSE(SpinText(static_cast<P::SpinIndex>(c.spin))->IsModified());
        }
    }
}

TEST_F(SettingsTest, RefreshSetsEveryControlAndSendsNothing)
{
    ParamPayloadBuilder frame = BaseFrame();
    frame.EngineFlags(true, true).InjectorCode(9).FuelFlags(true, true);
    Ready(frame);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(m_page->m_axisRedraws, 0);

    std::vector<int> rows;
    for (int i = 0; i < P::CHOICE_COUNT; ++i)
        rows.push_back(m_page->GetChoice(static_cast<P::ChoiceIndex>(i))->GetSelection());
    // Cylinders, engine, coils, rpm signal, injector, then the sensors as cached.
    EXPECT_EQ(rows, (std::vector<int>{1, 1, 2, 1, 1, 1, 4, 3, 2}));
    std::vector<wxString> texts;
    for (int i = 0; i < P::SPIN_COUNT; ++i)
        texts.push_back(SpinText(static_cast<P::SpinIndex>(i))->GetValue());
    EXPECT_EQ(texts, (std::vector<wxString>{"5", "500", "6000", "200", "35", "1000", "30", "300", "1.20", "0.80"}));
    EXPECT_TRUE(m_page->GetCngRadio()->GetValue());
    EXPECT_FALSE(m_page->GetLpgRadio()->GetValue());
    EXPECT_TRUE(m_page->GetGasSwitchTimeCheck()->GetValue());
    EXPECT_TRUE(m_page->GetNotice()->GetLabel().empty());
}

TEST_F(SettingsTest, HostileFrameMarksWhatNoControlCanShowAndSendsNothing)
{
    ParamPayloadBuilder frame = BaseFrame();
    frame.CylinderCode(9).IgnitionCoils(7).SwitchRpm(8000).SwitchTemperature(-10).InjectorCode(7);
    frame.Sensors(4, 0, 5, 1);
    Ready(frame);
    EXPECT_TRUE(Queued().empty());

    const wxString notice = m_page->GetNoticeText();
    const struct
    {
        P::ChoiceIndex index;
        const char* raw;
    } choices[] = {{P::CHOICE_CYLINDERS, "9"}, {P::CHOICE_IGNITION_COILS, "7"}, {P::CHOICE_INJECTOR_TYPE, "7"},
                   {P::CHOICE_GAS_PRESSURE_SENSOR, "5"}, {P::CHOICE_REDUCER_TEMP_SENSOR, "4"}};
    for (const auto& c : choices) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(m_page->GetChoice(c.index)->GetSelection(), wxNOT_FOUND);
        EXPECT_TRUE(Tip(m_page->GetChoice(c.index)).EndsWith(c.raw));
        EXPECT_EQ(m_page->GetChoiceLabel(c.index)->GetForegroundColour(), wxColour(200, 0, 0));
        EXPECT_TRUE(notice.Contains(m_page->GetChoiceLabel(c.index)->GetLabel() + " = " + c.raw)) << notice;
    }
    // Held to the range, marked with the ECU's value.
    EXPECT_EQ(SpinText(P::SPIN_SWITCH_RPM)->GetValue(), "7000");
    EXPECT_TRUE(Tip(m_page->GetSpin(P::SPIN_SWITCH_RPM)).EndsWith("8000"));
    EXPECT_EQ(SpinText(P::SPIN_SWITCH_TEMPERATURE)->GetValue(), "15");
    EXPECT_TRUE(notice.Contains(L"切换温度 = -10")) << notice;

    Choose(m_page->GetChoice(P::CHOICE_CYLINDERS), 3);
    EXPECT_EQ(Queued(), (Frames{Frame(27, {3})}));
    EXPECT_TRUE(Tip(m_page->GetChoice(P::CHOICE_CYLINDERS)).empty());
    Load(BaseFrame());
    EXPECT_TRUE(m_page->GetNotice()->GetLabel().empty());
}

// Applied in turn, the first to a fresh cache: code 12 kept the last type
// unmarked, or showed 0; byte 255 read as 2.5500000000000003 bar.
TEST_F(SettingsTest, EveryValueIsShownAsSentOrMarkedWithIt)
{
    const wxString injector = L"ECU的值超出范围：\n燃气喷嘴类型 = ";
    const struct { unsigned char code; double bar; int row; wxString notice; } frames[] = {
        {12, 1.2, wxNOT_FOUND, injector + "12"}, {9, 1.2, 1, ""}, {12, 1.2, wxNOT_FOUND, injector + "12"},
        {0xFF, 1.2, wxNOT_FOUND, injector + "255"}, {5, 2.55, 0, ""}};
    for (const auto& f : frames) {
        ParamPayloadBuilder frame = BaseFrame();
        Load(frame.InjectorCode(f.code).Pressures(f.bar, f.bar));
        EXPECT_EQ(m_page->GetChoice(P::CHOICE_INJECTOR_TYPE)->GetSelection(), f.row) << int(f.code);
        EXPECT_EQ(m_page->GetNoticeText(), f.notice) << int(f.code);
        EXPECT_EQ(SpinText(P::SPIN_WORK_PRESSURE)->GetValue(), wxString::Format("%.2f", f.bar));
    }
}

TEST_F(SettingsTest, EditableOnlyWithParametersAndLiveData)
{
    const std::vector<wxWindow*> editable = {
        m_page->GetChoice(P::CHOICE_CYLINDERS), m_page->GetChoice(P::CHOICE_INJECTOR_TYPE),
        m_page->GetSpin(P::SPIN_SWITCH_RPM),   m_page->GetSpin(P::SPIN_MIN_PRESSURE),
        m_page->GetGasSwitchTimeCheck(),       m_page->GetCngRadio(),
        m_page->GetGasLevelButton(),           m_page->GetInjectorsButton()};
    auto enabled = [&]() {
        UpdateUI(m_page);
        std::vector<bool> states;
        for (wxWindow* w : editable)
            states.push_back(w->IsEnabled());
        return states;
    };
    const std::vector<bool> none(editable.size(), false);
    std::vector<bool> all(editable.size(), true);

    EXPECT_EQ(enabled(), none) << "before any frame";
    GoLive(true);
    EXPECT_EQ(enabled(), none) << "live data but no parameters";
    Load(BaseFrame());
    EXPECT_EQ(enabled(), all);
    EXPECT_TRUE(Tip(m_page->GetInjectorsButton()).empty());
    GoLive(false);
    all.back() = false;
    EXPECT_EQ(enabled(), all) << "injector corrections only on gas";
    EXPECT_FALSE(Tip(m_page->GetInjectorsButton()).empty()) << "and the button says why";
    theController->m_calibrating = 1;
    EXPECT_EQ(enabled(), none) << "calibrating";
    theController->m_calibrating = 0;
    theController->ResetLink();
    EXPECT_EQ(enabled(), none) << "after a link reset";
    EXPECT_FALSE(m_page->GetChoice(P::CHOICE_GAS_PRESSURE_SENSOR)->IsEnabled()) << "shown, never chosen";
}

TEST_F(SettingsTest, DisabledWhenTheLinkIsLost)
{
    Ready();
    theController->m_linkLost = 1;
    theController->m_connected = 0;
    UpdateUI(m_page);
    EXPECT_FALSE(m_page->GetSpin(P::SPIN_SWITCH_RPM)->IsEnabled());
    EXPECT_FALSE(m_page->GetGasLevelButton()->IsEnabled());
    UpdateUI(m_page->GetGasLevelDialog());
    EXPECT_FALSE(m_page->GetGasLevelDialog()->GetSlider(0)->IsEnabled());
}

TEST_F(SettingsTest, EscapeBringsBackTheEcusValueAndTypingSurvivesARefresh)
{
    Ready();
    wxTextCtrl* rpm = SpinText(P::SPIN_SWITCH_RPM);
    Type(rpm, "3000");
    PressKey(rpm, WXK_ESCAPE);
    EXPECT_EQ(rpm->GetValue(), "1000") << "not the creation value";
    PressKey(rpm, WXK_UP);
    EXPECT_EQ(Queued(), (Frames{Frame(9, {11})}));
    theController->m_requestQueue.clear();
    PressKey(rpm, WXK_ESCAPE);
    EXPECT_EQ(rpm->GetValue(), "1100");
    EXPECT_TRUE(Queued().empty());

    Type(rpm, "1300");
    ParamPayloadBuilder frame = BaseFrame();
    frame.SwitchRpm(1200).MaxGasRpm(6500);
    Load(frame);
    EXPECT_EQ(rpm->GetValue(), "1300");
    EXPECT_EQ(SpinText(P::SPIN_MAX_GAS_RPM)->GetValue(), "6500");
    EXPECT_TRUE(Queued().empty());
    LoseFocus(rpm);
    EXPECT_EQ(Queued(), (Frames{Frame(9, {13})}));
}

TEST_F(SettingsTest, RetypingTheShownValueLeavesTheFieldFollowingTheEcu)
{
    const struct
    {
        const char* how;
        void (*commit)(wxTextCtrl*);
    } cases[] = {{"Enter", PressEnter}, {"focus loss", [](wxTextCtrl* text) { LoseFocus(text); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Ready();
        wxTextCtrl* rpm = SpinText(P::SPIN_SWITCH_RPM);
        Type(rpm, "1000");
        c.commit(rpm);
        EXPECT_TRUE(Queued().empty()) << "the ECU has it already";
        ParamPayloadBuilder frame = BaseFrame();
        frame.SwitchRpm(1200);
        Load(frame);
        EXPECT_EQ(rpm->GetValue(), "1200");
    }
}

// The program has idle time refresh the buttons' states at most every 100 ms:
// they must still follow the ECU with no explicit refresh.
TEST_F(SettingsTest, IdleTimeStillFollowsTheFuelWithTheProgramsToolkitSettings)
{
    MyApp::TuneToolkit();
    wxWindow* frame = m_page->GetParent();
    const bool wasShown = frame->IsShown();
    frame->Show();
    Ready();
    wxWindow* injectors = m_page->GetInjectorsButton();
    for (const bool onGas : {true, false, true}) {
        GoLive(onGas);
        EXPECT_TRUE(guitest::WaitFor([&] { return injectors->IsEnabled() == onGas; }))
            << (onGas ? "on gas" : "on petrol");
        EXPECT_EQ(Tip(injectors).empty(), onGas);
    }
    // Each range the page enables follows the link, the first and last of it.
    for (const bool online : {false, true}) {
        theController->m_online = online;
        for (const int id : {PanelCS::ID_CYLINDERS, PanelCS::ID_ENGINE_TYPE, PanelCS::ID_SWITCH_TEMPERATURE,
                             PanelCS::ID_GAS_SWITCH_TIME, PanelCS::ID_FUEL_LPG, PanelCS::ID_MIN_PRESSURE}) {
            wxWindow* control = m_page->FindWindow(id);
            EXPECT_TRUE(control && guitest::WaitFor([&] { return control->IsEnabled() == online; })) << id << online;
        }
    }
    frame->Show(wasShown);
    wxUpdateUIEvent::SetUpdateInterval(0);
    wxUpdateUIEvent::SetMode(wxUPDATE_UI_PROCESS_ALL);
}
