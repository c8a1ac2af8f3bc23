// The fault page: current and stored faults, and an erase that is only
// called done when the ECU's next parameter frame says so.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/statbox.h>

#include "GuZhangMa.h"
#include "Screenshot.h"

using cmdtest::RequestFrame;

namespace
{
std::vector<wxString> Rows(wxListCtrl* list)
{
    std::vector<wxString> rows;
    for (int i = 0; i < list->GetItemCount(); ++i)
        rows.push_back(list->GetItemText(i));
    return rows;
}

ParamPayloadBuilder WithStoredFaults(std::vector<unsigned char> codes)
{
    ParamPayloadBuilder parameters;
    parameters.StoredFaults(codes.data(), codes.size());
    return parameters;
}

// The rectangle of window in the coordinates of ancestor.
wxRect RectIn(wxWindow* window, wxWindow* ancestor)
{
    return wxRect(ancestor->ScreenToClient(window->GetScreenPosition()), window->GetSize());
}
}

class FaultPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        MakeFrame();
        m_page = m_frame->m_faultPage;
        ASSERT_NE(m_page, nullptr);
    }

    GuZhangMa* m_page = nullptr;
};

TEST_F(FaultPageTest, CurrentFaultsAreRebuiltOnlyWhenTheyChange)
{
    wxListCtrl* list = m_page->m_currentList;
    EXPECT_EQ(list->GetColumnCount(), 0);
    EXPECT_EQ(list->GetTextColour(), *wxRED);
    EXPECT_EQ(m_page->m_storedList->GetTextColour(), *wxRED);

    struct Frame
    {
        unsigned char bitsA;
        unsigned char injectorsA;
        std::vector<wxString> rows;
        bool rebuilt;
    };
    const Frame frames[] = {
        {0xFF, 0xFF, {}, true},
        {0xFB, 0xFF, {L"电压错误 "}, true},
        {0xFB, 0xFF, {L"电压错误 "}, false},
        {0xFB, 0xFA, {L"燃气喷嘴故障：  1  3 ", L"电压错误 "}, true},
        {0xFB, 0xFA, {L"燃气喷嘴故障：  1  3 ", L"电压错误 "}, false},
        {0xFF, 0xFF, {}, true},
        {0xFF, 0xFF, {}, false},
    };
    for (std::size_t i = 0; i < std::size(frames); ++i) {
        SCOPED_TRACE(i);
        // A mark that a rebuild loses: item data on the first row, or a
        // column width nobody else sets.
        if (list->GetItemCount() > 0) {
            list->SetItemData(0, 7);
            list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        }
        if (list->GetColumnCount() > 0)
            list->SetColumnWidth(0, 611);
        const bool hadRows = list->GetItemCount() > 0;

        ReplyLive(LivePayloadBuilder().Faults(frames[i].bitsA, 0xFF).InjectorMasks(frames[i].injectorsA, 0xFF));
        EXPECT_EQ(list->GetColumnCount(), 1);
        EXPECT_EQ(Rows(list), frames[i].rows);
        if (!frames[i].rebuilt) {
            EXPECT_EQ(list->GetColumnWidth(0), 611);
            if (hadRows) {
                EXPECT_EQ(list->GetItemData(0), 7u);
                EXPECT_EQ(list->GetItemState(0, wxLIST_STATE_SELECTED), wxLIST_STATE_SELECTED);
            }
        } else {
            EXPECT_NE(list->GetColumnWidth(0), 611);
        }
    }
    // Nothing ever fills the warnings.
    EXPECT_EQ(m_page->m_warningList->GetItemCount(), 0);
}

TEST_F(FaultPageTest, StoredFaultsShowWithAColumnOnlyWhenThereAreAny)
{
    struct Frame
    {
        std::vector<unsigned char> codes;
        std::vector<wxString> rows;
    };
    const Frame frames[] = {
        {{}, {}},
        {{2, 4}, {L"电压错误 ", L"燃气压力太低 "}},
        {{0, 0x7F, 0xFF}, {L"燃气喷嘴故障：  8 "}},
        {{}, {}},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.rows.size());
        ReplyParameters(WithStoredFaults(frame.codes));
        EXPECT_EQ(m_page->m_storedList->GetColumnCount(), frame.rows.empty() ? 0 : 1);
        EXPECT_EQ(Rows(m_page->m_storedList), frame.rows);
    }
}

TEST_F(FaultPageTest, EraseWithoutALinkSaysSoAndQueuesNothing)
{
    struct Case
    {
        const char* name;
        std::function<void()> state;
    };
    const Case cases[] = {
        {"no live data yet", [] {}},
        {"demo mode", [this] { ReplyLive(LivePayloadBuilder()); theController->m_demoMode = 1; }},
        {"calibration running", [this] { ReplyLive(LivePayloadBuilder()); theController->m_calibrating = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        theController->ResetLink();
        ReplyParameters(WithStoredFaults({2, 4}));
        c.state();
        const auto queued = Queued();
        ModalCatcher catcher;
        Fire(m_page->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS);

        ASSERT_EQ(catcher.m_messages.size(), 1u);
        EXPECT_TRUE(catcher.m_messages[0].StartsWith(L"故障未擦除。")) << catcher.m_messages[0];
        EXPECT_EQ(Queued(), queued);
        EXPECT_EQ(theController->GetStoredFaultCount(), 2);
        EXPECT_EQ(m_page->m_storedList->GetItemCount(), 2);
    }
}

TEST_F(FaultPageTest, EraseIsJudgedByTheParameterFrameThatAnswersIt)
{
    struct Case
    {
        const char* name;
        bool staleFrameFirst;           // a read asked for before the erase comes back first
        std::vector<unsigned char> after; // stored faults in the answer; none = no answer
        bool answered;
        const wchar_t* status;
        int rowsAfter;
    };
    const Case cases[] = {
        {"erased", false, {}, true, L"故障已擦除。", 0},
        {"erased behind a stale frame", true, {}, true, L"故障已擦除。", 0},
        {"faults remain", false, {4}, true, L"故障未擦除：ECU仍存有 1 个故障。", 1},
        {"no answer", false, {}, false, L"故障擦除未确认：ECU没有应答。", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        theController->ResetLink();
        BringOnline(WithStoredFaults({2, 4}));
        ASSERT_TRUE(Queued().empty());

        Fire(m_page->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS);
        EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(16, {0}), RequestFrame(12, {1})}));
        EXPECT_EQ(Status(), wxString(L"正在擦除故障…"));
        // Until the ECU answers, the page shows what it last reported.
        EXPECT_EQ(m_page->m_storedList->GetItemCount(), 2);

        if (c.staleFrameFirst) {
            ReplyParameters(WithStoredFaults({2, 4}));
            EXPECT_EQ(Status(), wxString(L"正在擦除故障…"));
            ASSERT_TRUE(guitest::WaitFor([] { return theController->m_requestQueue.size() == 2; }));
            EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(16, {0}), RequestFrame(12, {1})}));
        }
        if (c.answered) {
            Reply(16, {});
            ReplyParameters(WithStoredFaults(c.after));
        } else {
            EXPECT_TRUE(guitest::WaitFor([&] { return Status() == c.status; }));
        }
        EXPECT_EQ(Status(), wxString(c.status));
        EXPECT_EQ(m_page->m_storedList->GetItemCount(), c.rowsAfter);
    }
}

TEST_F(FaultPageTest, PageFitsTheNotebookOfTheMainWindow)
{
    m_frame->Show();
    m_frame->m_notebook->SetSelection(2);
    ReplyParameters(WithStoredFaults({0, 0x00, 0xFF, 2, 4, 9}));
    ReplyLive(LivePayloadBuilder().Faults(0xE1, 0xFE).InjectorMasks(0xF6, 0xFF));
    m_frame->StopPollTimer();
    guitest::ProcessPendingEvents();

    EXPECT_EQ(m_frame->m_notebook->GetPageText(2), wxString(L"故障"));
    EXPECT_EQ(m_page->m_eraseButton->GetLabel(), wxString(L"擦除故障"));
    EXPECT_EQ(m_page->m_signalCheck->GetLabel(), wxString(L"信号连接错误"));

    const wxRect page(wxPoint(0, 0), m_page->GetClientSize());
    ASSERT_TRUE(wxRect(wxPoint(0, 0), m_frame->m_notebook->GetClientSize()).Contains(RectIn(m_page, m_frame->m_notebook)));
    for (wxListCtrl* list : {m_page->m_currentList, m_page->m_warningList, m_page->m_storedList}) {
        const wxRect rect = RectIn(list, m_page);
        EXPECT_TRUE(page.Contains(rect)) << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
        EXPECT_GE(rect.height, 40);
    }
    for (wxWindow* control : std::initializer_list<wxWindow*>{m_page->m_eraseButton, m_page->m_signalCheck})
        EXPECT_TRUE(page.Contains(RectIn(control, m_page)));
    // The live area below the notebook is not pushed out of the window.
    EXPECT_LE(RectIn(m_frame->m_fuelButton, m_frame).GetBottom(), m_frame->GetClientSize().y);
    // The widest fault is shown whole.
    wxListCtrl* current = m_page->m_currentList;
    ASSERT_GT(current->GetItemCount(), 0);
    EXPECT_GE(current->GetColumnWidth(0), current->GetTextExtent(current->GetItemText(0)).x);

    EXPECT_TRUE(SaveScreenshotIfAsked(m_frame, "fault-page.png"));
    m_frame->Hide();
}

class FaultPageEcuTest : public EcuPageTest
{
};

TEST_F(FaultPageEcuTest, EraseGoesOnTheWireAndIsConfirmed)
{
    const unsigned char stored[] = {2, 4};
    ParamPayloadBuilder parameters;
    parameters.StoredFaults(stored, 2);
    m_ecu.SetPayload(12, Bytes(parameters.Payload().begin(), parameters.Payload().end()));
    StartPolling();
    GuZhangMa* page = m_frame->m_faultPage;
    ASSERT_EQ(page->m_storedList->GetItemCount(), 2);

    const std::size_t before = m_wire.size();
    Fire(page->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS);
    ASSERT_TRUE(Serve([&] { return Status() != wxString(L"正在擦除故障…"); }));
    EXPECT_EQ(Status(), wxString(L"故障已擦除。"));
    const std::size_t erase = FindOnWire(16, before);
    ASSERT_LT(erase, m_wire.size());
    EXPECT_EQ(m_wire[erase], (Bytes{0xAA, 0x10, 0x00, 0xBA}));
    const std::size_t read = FindOnWire(12, erase);
    ASSERT_LT(read, m_wire.size());
    EXPECT_EQ(m_wire[read], (Bytes{0xAA, 0x0C, 0x01, 0xB7}));
    EXPECT_EQ(page->m_storedList->GetItemCount(), 0);
    EXPECT_EQ(page->m_storedList->GetColumnCount(), 0);
}
