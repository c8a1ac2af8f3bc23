// The fault page: the lists, and an erase called done only when the ECU's
// next parameter frame says so.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>

#include "GuZhangMa.h"
#include "Screenshot.h"

namespace
{
std::vector<wxString> Rows(wxListCtrl* list)
{
    std::vector<wxString> rows;
    for (int i = 0; i < list->GetItemCount(); ++i)
        rows.push_back(list->GetItemText(i));
    return rows;
}

ParamPayloadBuilder Stored(std::vector<unsigned char> codes)
{
    ParamPayloadBuilder parameters;
    parameters.StoredFaults(codes.data(), codes.size());
    return parameters;
}

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
    }
    void Erase() { Fire(m_page->m_eraseButton, wxEVT_BUTTON, GuZhangMa::ID_ERASE_FAULTS); }

    GuZhangMa* m_page = nullptr;
};

TEST_F(FaultPageTest, ListsFollowTheFramesAndTheCurrentOneIsRebuiltOnlyOnAChange)
{
    wxListCtrl* current = m_page->m_currentList;
    EXPECT_EQ(current->GetTextColour(), *wxRED);
    EXPECT_EQ(m_page->m_storedList->GetTextColour(), *wxRED);
    const struct
    {
        unsigned char bitsA;
        std::vector<wxString> rows;
        bool rebuilt;
    } live[] = {{0xFF, {}, true}, {0xFB, {L"电压错误 "}, true}, {0xFB, {L"电压错误 "}, false}, {0xFF, {}, true}};
    for (const auto& frame : live) {
        // A width nobody else sets: a rebuild loses it.
        if (current->GetColumnCount() > 0)
            current->SetColumnWidth(0, 611);
        ReplyLive(LivePayloadBuilder().Faults(frame.bitsA, 0xFF));
        EXPECT_EQ(current->GetColumnCount(), 1);
        EXPECT_EQ(Rows(current), frame.rows);
        EXPECT_EQ(current->GetColumnWidth(0) != 611, frame.rebuilt);
    }
    const struct
    {
        std::vector<unsigned char> codes;
        std::vector<wxString> rows;
    } parameters[] = {{{}, {}}, {{2, 4}, {L"电压错误 ", L"燃气压力太低 "}}, {{}, {}}};
    for (const auto& frame : parameters) {
        ReplyParameters(Stored(frame.codes));
        EXPECT_EQ(m_page->m_storedList->GetColumnCount(), frame.rows.empty() ? 0 : 1);
        EXPECT_EQ(Rows(m_page->m_storedList), frame.rows);
    }
    EXPECT_EQ(m_page->m_warningList->GetItemCount(), 0);
}

TEST_F(FaultPageTest, EraseIsJudgedByTheParameterFrameReadBehindIt)
{
    const struct
    {
        bool staleFrameFirst; // a read asked for before the erase is answered first
        bool answered;
        std::vector<unsigned char> after;
        const wchar_t* status;
    } cases[] = {
        {false, true, {}, L"故障已擦除。"},
        {true, true, {}, L"故障已擦除。"},
        {false, true, {4}, L"故障未擦除：ECU仍存有 1 个故障。"},
        {false, false, {}, L"故障擦除未确认：ECU没有应答。"},
    };
    const std::vector<Bytes> eraseThenRead = {RequestFrame(16, {0}), RequestFrame(12, {1})};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        BringOnline(Stored({2, 4}));
        SetAnswerWait(c.answered);
        Erase();
        EXPECT_EQ(Queued(), eraseThenRead);
        EXPECT_EQ(Status(), wxString(L"正在擦除故障…"));
        if (c.staleFrameFirst) {
            ReplyParameters(Stored({2, 4}));
            EXPECT_TRUE(guitest::WaitFor([&] { return Queued() == eraseThenRead; }));
        }
        // Until the answer, the list shows what the ECU last reported.
        EXPECT_EQ(m_page->m_storedList->GetItemCount(), 2);
        if (c.answered) {
            Reply(16, {});
            ReplyParameters(Stored(c.after));
        }
        EXPECT_TRUE(guitest::WaitFor([&] { return Status() == c.status; })) << Status();
        EXPECT_EQ(m_page->m_storedList->GetItemCount(), c.answered ? static_cast<int>(c.after.size()) : 2);
    }
}

TEST_F(FaultPageTest, PageFitsTheNotebookOfTheMainWindow)
{
    m_frame->Show();
    m_frame->m_notebook->SetSelection(2);
    ReplyParameters(Stored({0, 0x00, 0xFF, 2, 4, 9}));
    ReplyLive(LivePayloadBuilder().Faults(0xE1, 0xFE).InjectorMasks(0xF6, 0xFF));
    guitest::ProcessPendingEvents();

    const wxRect page(wxPoint(0, 0), m_page->GetClientSize());
    EXPECT_TRUE(wxRect(m_frame->m_notebook->GetClientSize()).Contains(RectIn(m_page, m_frame->m_notebook)));
    for (wxListCtrl* list : {m_page->m_currentList, m_page->m_warningList, m_page->m_storedList}) {
        EXPECT_TRUE(page.Contains(RectIn(list, m_page)));
        EXPECT_GE(list->GetSize().y, 40);
    }
    EXPECT_TRUE(page.Contains(RectIn(m_page->m_eraseButton, m_page)));
    EXPECT_LE(RectIn(m_frame->m_fuelButton, m_frame).GetBottom(), m_frame->GetClientSize().y);
    // The injector fault with its numbers is wider than the 250 of the column.
    wxListCtrl* current = m_page->m_currentList;
    EXPECT_GE(current->GetColumnWidth(0), current->GetTextExtent(current->GetItemText(0)).x);
    EXPECT_TRUE(SaveScreenshotIfAsked(m_frame, "fault-page.png"));
    m_frame->Hide();
}

TEST(FaultPageAlone, LeavesTheObserverListWhenDestroyed)
{
    ASSERT_EQ(theController, nullptr);
    theController = new Controller;
    auto* page = new GuZhangMa(guitest::SharedFrame(), wxID_ANY, wxDefaultPosition, wxDefaultSize, 0);
    page->OnAttach();
    ASSERT_EQ(theController->m_observers.size(), 1u);
    delete page;
    EXPECT_TRUE(theController->m_observers.empty());
    // A frame after it went must not reach it.
    const LivePayloadBuilder live;
    EXPECT_TRUE(theController->ApplyLiveData(live.Payload().data(), live.Payload().size()));
    delete theController;
    theController = nullptr;
}
