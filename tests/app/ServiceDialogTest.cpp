// The service dialogs: working times and the last modification as the ECU
// reported them, and a service interval that is sent only when it is sound.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "DiagnosticDialog.h"
#include "PrzegladDialog.h"
#include "Screenshot.h"

namespace
{
constexpr std::size_t kNextServiceAt = 16;
constexpr std::size_t kServiceFlagAt = 141;

uint32_t U32At(const Bytes& data, std::size_t at)
{
    return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (static_cast<uint32_t>(data[at + 3]) << 24);
}

// The counters block queued for the ECU, if any.
const Request* QueuedHistory()
{
    for (const Request& r : theController->m_requestQueue) {
        if (r.m_command == CMD_WRITE_HISTORY)
            return &r;
    }
    return nullptr;
}

// Every text of the dialog is shown whole and inside it.
void ExpectNothingCut(wxWindow* dialog)
{
    const wxRect client(wxPoint(0, 0), dialog->GetClientSize());
    std::function<void(wxWindow*)> check = [&](wxWindow* window) {
        for (wxWindow* child : window->GetChildren()) {
            if (!child->IsShown())
                continue;
            const wxRect rect(dialog->ScreenToClient(child->GetScreenPosition()), child->GetSize());
            EXPECT_TRUE(client.Contains(rect)) << child->GetLabel().utf8_str().data();
            if (auto* text = dynamic_cast<wxStaticText*>(child)) {
                EXPECT_GE(rect.width, text->GetTextExtent(text->GetLabel()).x) << text->GetLabel().utf8_str().data();
            }
            check(child);
        }
    };
    check(dialog);
}
}

TEST(ServiceTexts, TimesDatesAndMarks)
{
    const struct
    {
        uint32_t halfSeconds;
        const char* work;
        const char* next;
    } times[] = {
        {0, "00:00:00", ""}, {1, "00:00:00", ""}, {2, "00:00:01", "00:00:01"},
        {7201, "01:00:00", "01:00:00"}, {180000, "25:00:00", "25:00:00"},
        {4294967295u, "596523:14:07", "596523:14:07"},
    };
    for (const auto& t : times) {
        EXPECT_EQ(DiagnosticDialog::WorkTimeText(t.halfSeconds), t.work) << t.halfSeconds;
        EXPECT_EQ(DiagnosticDialog::NextServiceText(t.halfSeconds), t.next) << t.halfSeconds;
    }
    const HistoryRecord march{{0xE8, 0x07, 3, 9, 10, 20, 30}, 0x12345678};
    EXPECT_EQ(DiagnosticDialog::LastModificationText(march), "2024-03-09 na 5678-1234");
    const HistoryRecord blank{{0, 0, 0, 0, 0, 0, 0}, 0xFFFF0000};
    EXPECT_EQ(DiagnosticDialog::LastModificationText(blank), "00-00-00 na 0000-FFFF");
}

TEST(ServiceTexts, IntervalInKm)
{
    const struct
    {
        const wchar_t* text;
        bool taken;
        unsigned long km;
    } cases[] = {
        {L"12abc", true, 12},      {L"  10000", true, 10000},  {L"失效 ", true, 0},
        {L"", true, 0},            {L"-5", true, 0},          {L"999999", true, 999999},
        {L"0999999", true, 999999}, {L"1000000", false, 0},    {L"12345678901234567890", false, 0},
        {L"18446744073709551617", false, 0},
    };
    for (const auto& c : cases) {
        unsigned long km = 77;
        EXPECT_EQ(PrzegladDialog::ParseKm(c.text, km), c.taken) << wxString(c.text).utf8_str().data();
        if (c.taken) {
            EXPECT_EQ(km, c.km) << wxString(c.text).utf8_str().data();
        }
    }

    const struct
    {
        uint32_t total;
        unsigned long km;
        bool fits;
        double hours;
    } marks[] = {
        {0, 10000, true, 200.0},
        {7200, 12, true, 1.24},
        {7201, 0, true, 0.0},
        {4294967295u - 144 * 999999, 999999, true, 596523.235},
        {4294967295u, 1, false, 0.0},
    };
    for (const auto& m : marks) {
        double hours = -1;
        EXPECT_EQ(PrzegladDialog::ServiceHours(m.total, m.km, hours), m.fits) << m.total;
        if (m.fits) {
            EXPECT_NEAR(hours, m.hours, 0.001) << m.total;
        }
    }
}

class ServiceDialogTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        MakeFrame();
    }

    static ParamPayloadBuilder Counters(uint32_t total, uint32_t next)
    {
        ParamPayloadBuilder parameters;
        parameters.WorkCounter(0, 7201).WorkCounter(1, 180000).WorkCounter(3, total).WorkCounter(4, next);
        const unsigned char march[7] = {0xE8, 0x07, 3, 9, 10, 20, 30};
        parameters.HistoryRecordBytes(1, march, 0x12345678);
        return parameters;
    }
};

TEST_F(ServiceDialogTest, SetSendsTheMarkOnlyWhenItIsSound)
{
    struct Case
    {
        const wchar_t* text;
        uint32_t total;
        bool sent;
        uint32_t mark;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"10000", 0, true, 1440000, L"10000"},
        {L"12abc", 7200, true, 8928, L"12"},
        {L"失效 ", 7200, true, 0, L"0"},
        {L"1000000", 0, false, 0, L"1000000"},
        {L"12345678901234567890", 0, false, 0, L"12345678901234567890"},
        {L"999999", 4294000000u, false, 0, L"999999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wxString(c.text).utf8_str().data());
        theController->ResetLink();
        BringOnline(Counters(c.total, 77));
        theController->m_requestQueue.clear();
        PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
        dialog.Show();
        dialog.m_interval->SetValue(c.text);
        ModalCatcher catcher;
        Fire(dialog.m_setButton, wxEVT_BUTTON, wxID_OK);

        EXPECT_EQ(dialog.m_interval->GetValue(), c.shown);
        if (!c.sent) {
            ASSERT_EQ(catcher.m_messages.size(), 1u);
            EXPECT_TRUE(catcher.m_messages[0].StartsWith(L"保养里程未设定。"));
            EXPECT_TRUE(Queued().empty());
            EXPECT_EQ(theController->GetWorkCounter(4), 77u);
            EXPECT_TRUE(dialog.IsShown());
            continue;
        }
        EXPECT_TRUE(catcher.m_messages.empty());
        EXPECT_FALSE(dialog.IsShown());
        const Request* history = QueuedHistory();
        ASSERT_NE(history, nullptr);
        const Bytes data = cmdtest::DataOf(cmdtest::ToBytes(history->m_bytes));
        ASSERT_EQ(data.size(), 254u);
        EXPECT_EQ(U32At(data, kNextServiceAt), c.mark);
        EXPECT_EQ(data[kServiceFlagAt], c.mark != 0 ? 1 : 0);
    }
}

TEST_F(ServiceDialogTest, NothingIsSetWithoutTheEcuAndItIsSaid)
{
    struct Case
    {
        const char* name;
        std::function<void()> state;
        const wchar_t* why;
    };
    const Case cases[] = {
        {"no live data yet", [] {}, L"没有连接ECU。"},
        {"demo mode", [this] { BringOnline(Counters(0, 77)); theController->m_demoMode = 1; },
         L"演示模式下不与ECU通信。"},
        {"calibration running", [this] { BringOnline(Counters(0, 77)); theController->m_calibrating = 1; },
         L"自动标定正在进行，请等它结束。"},
        // Reconnected: live data again, the parameters not yet read back.
        {"parameters not read since a reset",
         [this] {
             BringOnline(Counters(0, 77));
             theController->ResetLink();
             ReplyLive(LivePayloadBuilder());
         },
         L"尚未读到ECU的参数，请稍后再试。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        theController->ResetLink();
        theController->m_workCounters[4] = 77;
        c.state();
        theController->m_requestQueue.clear();
        PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
        dialog.Show();
        dialog.m_interval->SetValue("5000");
        ModalCatcher catcher;
        Fire(dialog.m_setButton, wxEVT_BUTTON, wxID_OK);

        EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{wxString(L"保养里程未设定。\n") + c.why}));
        EXPECT_TRUE(Queued().empty());
        EXPECT_EQ(theController->GetWorkCounter(4), 77u);
        EXPECT_TRUE(dialog.IsShown());
    }
}

TEST_F(ServiceDialogTest, EnterShowsTheDistanceAsANumber)
{
    PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
    EXPECT_EQ(dialog.m_interval->GetValue(), wxString(L"失效 "));
    EXPECT_EQ(dialog.m_interval->GetCount(), 7u);
    for (const wchar_t* text : {L" 42km", L"2000000"}) {
        dialog.m_interval->SetValue(text);
        ModalCatcher catcher;
        Fire(dialog.m_interval, wxEVT_TEXT_ENTER, dialog.m_interval->GetId());
        const bool taken = wxString(text) == L" 42km";
        EXPECT_EQ(dialog.m_interval->GetValue(), taken ? wxString("42") : wxString(text));
        EXPECT_EQ(catcher.m_messages.size(), taken ? 0u : 1u);
    }
    EXPECT_TRUE(Queued().empty());
}

TEST_F(ServiceDialogTest, InformationShowsTheEcuDataOrSaysThereIsNone)
{
    {
        ModalCatcher catcher;
        DiagnosticDialog dialog(m_frame, wxID_ANY, L"信息服务 ");
        EXPECT_EQ(dialog.GetTitle(), wxString(L"汽车数据资料： "));
        EXPECT_TRUE(dialog.m_noDataNote->IsShown());
        EXPECT_EQ(dialog.m_noDataNote->GetLabel(), wxString(L"没有汽车数据：没有连接ECU。"));
        EXPECT_EQ(dialog.m_petrolTime->GetLabel(), "00:00:00");
        EXPECT_EQ(dialog.m_lastModification->GetLabel(), "0-0-0 00:00:00 z 0000-0000");
        // The interval cannot be set either, and that is said.
        Fire(dialog.m_serviceButton, wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
        EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{L"保养里程不能设定。\n没有连接ECU。"}));
        EXPECT_TRUE(catcher.m_dialogs.empty());
        dialog.Show();
        guitest::ProcessPendingEvents();
        ExpectNothingCut(&dialog);
        EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "service-information-no-data.png"));
    }

    BringOnline(Counters(0, 2));
    DiagnosticDialog dialog(m_frame, wxID_ANY, L"信息服务 ");
    EXPECT_FALSE(dialog.m_noDataNote->IsShown());
    EXPECT_EQ(dialog.m_petrolTime->GetLabel(), "01:00:00");
    EXPECT_EQ(dialog.m_gasTime->GetLabel(), "25:00:00");
    EXPECT_EQ(dialog.m_lastModification->GetLabel(), "2024-03-09 na 5678-1234");
    EXPECT_EQ(dialog.m_nextService->GetLabel(), "00:00:01");
    EXPECT_EQ(dialog.m_serviceButton->GetId(), 8200);

    // The interval dialog sets a longer mark; the text follows it uncut.
    ModalCatcher catcher;
    catcher.m_act = [](wxDialog* shown) {
        auto* interval = dynamic_cast<PrzegladDialog*>(shown);
        if (!interval)
            return wxID_CANCEL;
        interval->m_interval->SetValue("50000");
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        interval->m_setButton->GetEventHandler()->ProcessEvent(click);
        return wxID_OK;
    };
    Fire(dialog.m_serviceButton, wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"保养设定 "}));
    EXPECT_EQ(dialog.m_nextService->GetLabel(), "1000:00:00");
    dialog.Show();
    guitest::ProcessPendingEvents();
    ExpectNothingCut(&dialog);
    EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "service-information-dialog.png"));
    dialog.Hide();

    PrzegladDialog interval(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
    interval.Show();
    guitest::ProcessPendingEvents();
    ExpectNothingCut(&interval);
    EXPECT_TRUE(SaveScreenshotIfAsked(&interval, "service-interval-dialog.png"));
}

TEST_F(ServiceDialogTest, ToolDoesNothingWhileACalibrationRuns)
{
    EXPECT_TRUE(m_frame->m_toolBar->GetToolEnabled(ID_TOOL_SERVICE));
    ModalCatcher catcher;
    theController->m_calibrating = 1;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_SERVICE);
    EXPECT_TRUE(catcher.m_dialogs.empty());
    theController->m_calibrating = 0;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_SERVICE);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"汽车数据资料： "}));
}

class ServiceEcuTest : public EcuPageTest
{
};

TEST_F(ServiceEcuTest, TenThousandKmFromTheToolGoesOnTheWire)
{
    ParamPayloadBuilder parameters;
    parameters.WorkCounter(3, 0).WorkCounter(4, 0);
    m_ecu.SetPayload(12, Bytes(parameters.Payload().begin(), parameters.Payload().end()));
    StartPolling();

    ModalCatcher catcher;
    catcher.m_act = [](wxDialog* shown) {
        if (auto* info = dynamic_cast<DiagnosticDialog*>(shown)) {
            wxCommandEvent click(wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
            info->m_serviceButton->GetEventHandler()->ProcessEvent(click);
        } else if (auto* interval = dynamic_cast<PrzegladDialog*>(shown)) {
            interval->m_interval->SetSelection(4);
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            interval->m_setButton->GetEventHandler()->ProcessEvent(click);
        }
        return wxID_OK;
    };
    const std::size_t before = m_wire.size();
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_SERVICE);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"汽车数据资料： ", L"保养设定 "}));
    EXPECT_TRUE(catcher.m_messages.empty());

    ASSERT_TRUE(Serve([&] { return FindOnWire(59, before) < m_wire.size(); }));
    const Bytes data = cmdtest::DataOf(m_wire[FindOnWire(59, before)]);
    ASSERT_EQ(data.size(), 254u);
    EXPECT_EQ(U32At(data, kNextServiceAt), 1440000u);
    EXPECT_EQ(data[kServiceFlagAt], 1);
}
