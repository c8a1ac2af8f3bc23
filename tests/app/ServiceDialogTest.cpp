// The service dialogs: the ECU's times and dates, and an interval sent only
// when it is sound.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>

#include "DiagnosticDialog.h"
#include "PrzegladDialog.h"
#include "Screenshot.h"

namespace
{
ParamPayloadBuilder Counters(uint32_t total)
{
    ParamPayloadBuilder parameters;
    parameters.WorkCounter(0, 7201).WorkCounter(1, 180000).WorkCounter(3, total).WorkCounter(4, 2);
    const unsigned char march[7] = {0xE8, 0x07, 3, 9, 10, 20, 30};
    parameters.HistoryRecordBytes(1, march, 0x12345678);
    return parameters;
}

// Every text of the dialog (in boxes too) is inside it and shown whole.
void ExpectNothingCut(wxWindow* dialog, wxWindow* parent = nullptr)
{
    const wxRect client(dialog->GetClientSize());
    for (wxWindow* child : (parent ? parent : dialog)->GetChildren()) {
        const wxRect rect(dialog->ScreenToClient(child->GetScreenPosition()), child->GetSize());
        EXPECT_TRUE(!child->IsShown() || client.Contains(rect)) << child->GetLabel().utf8_str().data();
        if (dynamic_cast<wxStaticText*>(child)) {
            EXPECT_GE(rect.width, child->GetTextExtent(child->GetLabel()).x);
        }
        ExpectNothingCut(dialog, child);
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

    // Text in the interval, then "设定 " (leave 0), the close box (1) or
    // Escape (2); the messages shown.
    std::vector<wxString> Set(const wxString& text, wxString& shown, bool& closed, int leave = 0)
    {
        theController->m_requestQueue.clear();
        PrzegladDialog dialog(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
        dialog.Show();
        dialog.m_interval->SetValue(text);
        ModalCatcher catcher;
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        if (leave == 0)
            Fire(dialog.m_setButton, wxEVT_BUTTON, PrzegladDialog::ID_SET);
        else if (leave == 1)
            dialog.Close();
        else
            dialog.GetEventHandler()->ProcessEvent(escape);
        shown = dialog.m_interval->GetValue();
        closed = !dialog.IsShown();
        return catcher.m_messages;
    }
};

TEST_F(ServiceDialogTest, SetSendsTheMarkOnlyWhenItIsSound)
{
    const struct
    {
        const wchar_t* text;
        uint32_t total;
        const wchar_t* shown;
        uint32_t mark; // 2: nothing sent
        int leave = 0;
    } cases[] = {
        {L"10000", 0, L"10000", 1440000},
        {L"12abc", 7200, L"12", 8928},
        {L"　１２", 7200, L"12", 8928},
        {L"失效 ", 7200, L"0", 0},
        {L"1000000", 0, L"1000000", 2},
        {L"12345678901234567890", 0, L"12345678901234567890", 2},
        {L"999999", 4294000000u, L"999999", 2},
        // The button had the toolkit's OK id: the close box and Escape set "失效 ".
        {L"失效 ", 7200, L"失效 ", 2, 1},
        {L"失效 ", 7200, L"失效 ", 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(wxString(c.text).utf8_str().data());
        BringOnline(Counters(c.total));
        wxString shown;
        bool closed = false;
        const auto messages = Set(c.text, shown, closed, c.leave);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(closed, c.mark != 2 || c.leave);
        EXPECT_EQ(theController->GetWorkCounter(4), c.mark);
        if (c.mark == 2) {
            ASSERT_EQ(messages.size(), c.leave ? 0u : 1u);
            EXPECT_TRUE(c.leave || messages[0].StartsWith(L"保养里程未设定。"));
            EXPECT_TRUE(Queued().empty());
        } else {
            ASSERT_EQ(Queued().size(), 1u);
            EXPECT_EQ(NextServiceIn(Queued()[0]), c.mark);
        }
    }
}

TEST_F(ServiceDialogTest, InformationShowsTheEcuDataOrSaysThereIsNone)
{
    {
        DiagnosticDialog dialog(m_frame, wxID_ANY, L"信息服务 ");
        EXPECT_EQ(dialog.GetTitle(), wxString(L"汽车数据资料： "));
        EXPECT_EQ(dialog.m_noDataNote->GetLabel(), wxString(L"没有汽车数据：没有连接ECU。"));
        EXPECT_EQ(dialog.m_petrolTime->GetLabel(), "00:00:00");
        ModalCatcher catcher;
        Fire(dialog.m_serviceButton, wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
        EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{L"保养里程不能设定。\n没有连接ECU。"}));
        dialog.Show();
        ExpectNothingCut(&dialog);
        EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "service-information-no-data.png"));
    }
    BringOnline(Counters(0));
    theController->m_linkLost = 1;
    EXPECT_TRUE(DiagnosticDialog(m_frame, wxID_ANY, L"信息服务 ").m_noDataNote->IsShown());
    theController->m_linkLost = 0;
    DiagnosticDialog dialog(m_frame, wxID_ANY, L"信息服务 ");
    EXPECT_FALSE(dialog.m_noDataNote->IsShown());
    EXPECT_EQ(dialog.m_petrolTime->GetLabel(), "01:00:00");
    EXPECT_EQ(dialog.m_gasTime->GetLabel(), "25:00:00");
    EXPECT_EQ(dialog.m_lastModification->GetLabel(), "2024-03-09 na 5678-1234");
    EXPECT_EQ(dialog.m_nextService->GetLabel(), "00:00:01");
    EXPECT_EQ(DiagnosticDialog::NextServiceText(1), "");

    // A longer next service afterwards is shown whole.
    ModalCatcher catcher;
    catcher.m_act = [](wxDialog* shown) {
        auto* interval = static_cast<PrzegladDialog*>(shown);
        interval->m_interval->SetValue("50000");
        wxCommandEvent click(wxEVT_BUTTON, PrzegladDialog::ID_SET);
        interval->m_setButton->GetEventHandler()->ProcessEvent(click);
        return wxID_OK;
    };
    Fire(dialog.m_serviceButton, wxEVT_BUTTON, DiagnosticDialog::ID_SERVICE_SETTINGS);
    EXPECT_EQ(dialog.m_nextService->GetLabel(), "1000:00:00");
    dialog.Show();
    ExpectNothingCut(&dialog);
    EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "service-information-dialog.png"));
    dialog.Hide();

    PrzegladDialog interval(nullptr, wxID_ANY, L"保养设定 ", wxDefaultPosition, wxDefaultSize, 0);
    interval.Show();
    ExpectNothingCut(&interval);
    EXPECT_TRUE(SaveScreenshotIfAsked(&interval, "service-interval-dialog.png"));
}
