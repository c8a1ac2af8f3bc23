// Erasing faults, settings files and the service interval together: none
// goes out while the ECU cannot take it, and all of them reach a simulated
// ECU on a pty. The fuel switch and the map's curve erase are refused alike.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>

#include "DiagnosticDialog.h"
#include "GuZhangMa.h"
#include "LoadSaveSelector.h"
#include "MapPane.h"
#include "ParamPacket.h"
#include "PrzegladDialog.h"
#include "SettingsFixture.h"
#include "SimulatedEcu.h"

using cmdtest::PatternBlock;
using cmdtest::ReadFile;

namespace
{
ParamPayloadBuilder Session(const Bytes& settings)
{
    ParamPayloadBuilder parameters;
    for (std::size_t k = 0; k < settings.size(); ++k)
        parameters.Byte(17 + k, settings[k]);
    const unsigned char stored[] = {2, 4};
    parameters.StoredFaults(stored, 2).WorkCounter(3, 0).WorkCounter(4, 77);
    return parameters;
}

// Presses "载入 " or "保存 " in a dialog on the main window.
void Press(MyFrame* frame, int id)
{
    LoadSaveSelector dialog(frame, wxID_ANY, L"载入/保存窗口");
    wxCommandEvent click(wxEVT_BUTTON, id);
    dialog.GetEventHandler()->ProcessEvent(click);
}
}

class WorkshopSessionTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        ASSERT_TRUE(m_ecu.IsOpen());
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << m_ecu.SlavePath() << "\n";
        MakeFrame();
        AnswerWatch::s_timeoutMs = 5000;
        LoadSaveSelector::SetFileSelector([this](const wxString&, const wxString&, const wxString&,
                                                 const wxString&, const wxString&, int) {
            ++m_selections;
            if (m_whileSelecting)
                m_whileSelecting();
            return wxString::FromUTF8((m_dir / m_answer).string());
        });
    }
    void TearDown() override
    {
        LoadSaveSelector::SetFileSelector(nullptr);
        PageTest::TearDown();
    }

    void StartPolling(const ParamPayloadBuilder& parameters)
    {
        m_ecu.SetPayload(12, Bytes(parameters.Payload().begin(), parameters.Payload().end()));
        m_frame->StartPollTimer();
        ASSERT_TRUE(Serve([] { return IsControllerReady(true) && theController->m_parametersApplied; }));
    }

    bool Serve(const std::function<bool()>& condition)
    {
        return guitest::WaitFor([&] {
            m_ecu.Service();
            m_wire.insert(m_wire.end(), m_ecu.Received().begin(), m_ecu.Received().end());
            m_ecu.ClearReceived();
            return condition();
        }, std::chrono::milliseconds(8000));
    }

    // The first request with the command from position from on.
    std::size_t FindOnWire(unsigned char command, std::size_t from) const
    {
        while (from < m_wire.size() && m_wire[from][1] != command)
            ++from;
        return from;
    }

    SimulatedEcu m_ecu;
    std::vector<Bytes> m_wire;

    int m_selections = 0;
    std::string m_answer = "car.xse";
    std::function<void()> m_whileSelecting;
};

TEST_F(WorkshopSessionTest, NothingGoesOutWithoutTheEcuAndItIsSaid)
{
    cmdtest::WriteFile(m_dir / "car.xse", PatternBlock(554, 1));
    const wxString noEcu = L"没有连接ECU。";
    const wxString calibrating = L"自动标定正在进行，请等它结束。";
    const wxString notRead = L"尚未读到ECU的参数，请稍后再试。";
    enum { Erase = 1, Files = 2, Interval = 4, Meanwhile = 8, Fuel = 16, All = Erase | Files | Interval | Fuel };
    const struct
    {
        std::function<void()> state;
        wxString why;
        int asked;
    } states[] = {
        // The line open, the parameters being read again.
        {[] { theController->ResetLink(); }, notRead, All},
        {[] { theController->ClosePort(); theController->ResetLink(); }, noEcu, All},
        {[] { theController->m_linkLost = 1; }, L"ECU没有应答，连接已断开。请检查连线，再用“端口连接”重新连接。", All},
        {[] { theController->m_calibrating = 1; }, calibrating, All},
        // Ready when the selector opens, not when it closes.
        {[] {}, calibrating, Files | Meanwhile},
        // Reconnected: live data again, the parameters not read back yet.
        {[this] { theController->ResetLink(); ReplyLive(LivePayloadBuilder()); }, notRead, Interval},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.asked);
        BringOnline(Session(PatternBlock(554, 3)));
        s.state();
        m_whileSelecting = [&] {
            if (s.asked & Meanwhile)
                theController->m_calibrating = 1;
        };
        m_selections = 0;
        ModalCatcher catcher;
        std::vector<wxString> expected;
        if (s.asked & Erase) {
            Fire(m_frame->m_faultPage->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS);
            expected.push_back(wxString(L"故障未擦除。\n") + s.why);
        }
        if (s.asked & Files) {
            for (int button : {LoadSaveSelector::ID_LOAD, LoadSaveSelector::ID_SAVE}) {
                if (s.asked & Meanwhile)
                    theController->m_calibrating = 0;
                Press(m_frame, button);
            }
            expected.push_back(wxString(L"设置文件未载入。\n") + s.why);
            expected.push_back(wxString(L"设置文件未保存。\n") + s.why);
            EXPECT_EQ(m_selections, (s.asked & Meanwhile) ? 2 : 0);
        }
        if (s.asked & Interval) {
            PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
            dialog.Show();
            dialog.m_interval->SetValue("5000");
            Fire(dialog.m_setButton, wxEVT_BUTTON, PrzegladDialog::ID_SET);
            EXPECT_TRUE(dialog.IsShown());
            expected.push_back(wxString(L"保养里程未设定。\n") + s.why);
        }
        if (s.asked & Fuel) {
            wxCheckBox* check = m_frame->m_injectorChecks[0];
            check->SetValue(true);
            Fire(check, wxEVT_CHECKBOX, check->GetId());
            EXPECT_FALSE(check->GetValue()) << "a refused tick is taken back";
            Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH);
            Fire(m_frame->m_mapPage->m_erasePetrolButton, wxEVT_BUTTON, MapPane::ID_ERASE_PETROL);
            const wxString notSwitched = wxString(L"燃料没有切换。\n") + s.why;
            expected.insert(expected.end(), {notSwitched, notSwitched, wxString(L"ECU中的汽油曲线未擦除。\n") + s.why});
        }
        EXPECT_EQ(catcher.m_messages, expected);
        EXPECT_TRUE(Queued().empty());
        EXPECT_EQ(m_frame->m_faultPage->m_storedList->GetItemCount(), 2);
        EXPECT_EQ(theController->GetWorkCounter(4), 77u);
    }
}

TEST_F(WorkshopSessionTest, EraseSaveLoadAndServiceIntervalReachTheEcu)
{
    const Bytes saved = PatternBlock(554, 41);
    StartPolling(Session(saved));
    GuZhangMa* page = m_frame->m_faultPage;
    ASSERT_EQ(page->m_storedList->GetItemCount(), 2);

    std::size_t from = m_wire.size();
    Fire(page->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS);
    ASSERT_TRUE(Serve([&] { return Status() == wxString(L"故障已擦除。"); })) << Status();
    const std::size_t erase = FindOnWire(16, from);
    ASSERT_LT(FindOnWire(12, erase), m_wire.size());
    EXPECT_EQ(m_wire[erase], (Bytes{0xAA, 0x10, 0x00, 0xBA}));
    EXPECT_EQ(m_wire[FindOnWire(12, erase)], (Bytes{0xAA, 0x0C, 0x01, 0xB7}));
    EXPECT_EQ(page->m_storedList->GetColumnCount(), 0);

    m_answer = "car";
    Press(m_frame, LoadSaveSelector::ID_SAVE);
    ASSERT_TRUE(Serve([&] { return Status().StartsWith(L"设置文件已保存："); })) << Status();
    EXPECT_EQ(ReadFile(m_dir / "car.xse"), saved);
    // Someone changes the ECU's settings; the file puts them back.
    const ParamPayloadBuilder changed = Session(PatternBlock(554, 43));
    m_ecu.SetPayload(12, Bytes(changed.Payload().begin(), changed.Payload().end()));
    m_answer = "car.xse";
    from = m_wire.size();
    Press(m_frame, LoadSaveSelector::ID_LOAD);
    ASSERT_TRUE(Serve([&] { return Status().StartsWith(L"设置文件已载入："); })) << Status();
    ASSERT_LT(FindOnWire(26, from), m_wire.size());
    EXPECT_EQ(m_wire[FindOnWire(26, from)], RequestFrame(26, saved));
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), theController->m_lastParameters->m_settingsBlock.begin()));

    // "保    养", then "保养设定", then 10000 km.
    ModalCatcher catcher;
    catcher.m_act = [](wxDialog* shown) {
        wxCommandEvent click(wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
        if (auto* interval = dynamic_cast<PrzegladDialog*>(shown)) {
            interval->m_interval->SetSelection(4);
            click.SetId(PrzegladDialog::ID_SET);
        }
        shown->FindWindow(click.GetId())->GetEventHandler()->ProcessEvent(click);
        return wxID_OK;
    };
    from = m_wire.size();
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_SERVICE);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"汽车数据资料： ", L"保养设定 "}));
    ASSERT_TRUE(Serve([&] { return FindOnWire(59, from) < m_wire.size(); }));
    EXPECT_EQ(NextServiceIn(m_wire[FindOnWire(59, from)]), 1440000u);
}

TEST_F(WorkshopSessionTest, DemoTriesEverythingOnItsOwnValuesAndSaysNothingWentOut)
{
    theController->SetDemoMode(true);
    for (int i = 0; i < 4 && !IsControllerReady(true); ++i)
        theController->PollTick();
    ASSERT_GT(theController->GetStoredFaultCount(), 0);
    const uint32_t nextService = theController->GetWorkCounter(4);
    const int turbo = theController->IsTurbo();
    PrzegladDialog interval(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
    interval.m_interval->SetValue("5000");
    wxChoice* engine = m_frame->m_settingsPage->GetChoice(PanelCS::CHOICE_ENGINE_TYPE);

    ModalCatcher catcher;
    const wxString notSent = L"演示模式：没有发送到ECU。";
    const struct { const char* what; std::function<void()> act; wxString said; } actions[] = {
        {"settings", [&] { settingstest::Choose(engine, 1 - turbo); }, notSent},
        {"erase", [&] { Fire(m_frame->m_faultPage->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS); }, notSent},
        {"load", [&] { Press(m_frame, LoadSaveSelector::ID_LOAD); }, L"设置文件未载入。" + notSent},
        {"save", [&] { Press(m_frame, LoadSaveSelector::ID_SAVE); }, L"设置文件未保存。" + notSent},
        {"interval", [&] { Fire(interval.m_setButton, wxEVT_BUTTON, PrzegladDialog::ID_SET); }, notSent},
        {"fuel", [&] { Fire(m_frame->m_fuelButton, wxEVT_BUTTON, ID_FUEL_SWITCH); }, notSent},
        {"curve", [&] { Fire(m_frame->m_mapPage->m_eraseGasButton, wxEVT_BUTTON, MapPane::ID_ERASE_GAS); }, notSent},
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(a.what);
        m_frame->SetStatusMessage(wxString());
        a.act();
        EXPECT_EQ(Status(), a.said);
        EXPECT_TRUE(Queued().empty());
    }
    // Done on the demo's values only; no box asked the user anything.
    EXPECT_EQ(m_frame->m_faultPage->m_storedList->GetItemCount(), 0);
    EXPECT_NE(theController->GetWorkCounter(4), nextService);
    EXPECT_NE(theController->IsTurbo(), turbo);
    EXPECT_TRUE(catcher.m_messages.empty());
    EXPECT_TRUE(m_ecu.Received().empty());
}
