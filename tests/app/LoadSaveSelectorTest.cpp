// The settings-file dialog: the selector answered by the test; refused
// files, failed saves and missing answers are said.

#include "PageTestSupport.h"

#include <wx/display.h>
#include <wx/filedlg.h>

#include "LoadSaveSelector.h"
#include "Screenshot.h"

using cmdtest::PatternBlock;
using cmdtest::ReadFile;
using cmdtest::WriteFile;

class LoadSaveSelectorTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        MakeFrame();
        LoadSaveSelector::SetFileSelector([this](const wxString& message, const wxString& folder,
                                                 const wxString& name, const wxString&, const wxString&,
                                                 int flags) {
            m_calls.push_back(message + "|" + folder + "|" + name + "|" + wxString::Format("%x", flags));
            return m_answer;
        });
        BringOnline();
    }
    void TearDown() override
    {
        LoadSaveSelector::SetFileSelector(nullptr);
        PageTest::TearDown();
    }

    // Presses a button of the dialog, the selector answering name.
    void Press(int id, const std::string& name)
    {
        m_answer = Path(name);
        m_calls.clear();
        LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
        Fire(&dialog, wxEVT_BUTTON, id);
    }
    wxString Path(const std::string& name) const { return wxString::FromUTF8((m_dir / name).string()); }

    std::vector<wxString> m_calls;
    wxString m_answer;
};

TEST_F(LoadSaveSelectorTest, LoadSendsOnlyAWholeFileAndIsConfirmedByTheFrameBehindIt)
{
    const Bytes block = PatternBlock(554, 5);
    WriteFile(m_dir / "good.xse", block);
    WriteFile(m_dir / "short.xse", PatternBlock(553, 5));
    ModalCatcher catcher;
    Press(LoadSaveSelector::ID_LOAD, "short.xse");
    EXPECT_EQ(m_calls, (std::vector<wxString>{L"选择一个设置文件 |./settings/|*.xse|11"}));
    EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{L"无效的文件设置 "}));
    EXPECT_TRUE(Queued().empty());

    Press(LoadSaveSelector::ID_LOAD, "good.xse");
    const std::vector<Bytes> blockThenRead = {RequestFrame(26, block), RequestFrame(12, {1})};
    EXPECT_EQ(Queued(), blockThenRead);
    // A frame asked for earlier is no answer; the read behind the block,
    // which its reply took off, is asked for again.
    ReplyParameters(ParamPayloadBuilder());
    EXPECT_EQ(Status(), wxString::Format(L"正在载入设置文件 %s …", m_answer));
    EXPECT_TRUE(guitest::WaitFor([&] { return Queued() == blockThenRead; }));
    Reply(26, {});
    ReplyParameters(ParamPayloadBuilder());
    EXPECT_EQ(Status(), wxString::Format(L"设置文件已载入：%s", m_answer));
}

TEST_F(LoadSaveSelectorTest, RefusedNamesFailedWritesAndMissingAnswersAreSaid)
{
    std::ofstream(m_dir / "plain") << "a file, not a folder\n";
    ModalCatcher catcher;
    // GTK would put "*.xse" into the name field, and a file of that name
    // could be written: it starts empty and wildcards are refused.
    Press(LoadSaveSelector::ID_SAVE, "*.xse");
    EXPECT_EQ(m_calls, (std::vector<wxString>{L"选择目标文件 |./settings/||6"}));
    EXPECT_TRUE(Queued().empty());

    Press(LoadSaveSelector::ID_SAVE, "plain/car");
    EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(12, {0})}));
    ReplyParameters(ParamPayloadBuilder());
    const wxString failed = wxString(L"设置文件保存失败: ") + Path("plain/car.xse");
    EXPECT_TRUE(Status().StartsWith(failed)) << Status();

    SetAnswerWait(false);
    Press(LoadSaveSelector::ID_SAVE, "late.xse");
    ASSERT_TRUE(guitest::WaitFor([&] { return catcher.m_messages.size() == 3; }));
    const wxString noAnswer = wxString::Format(L"设置文件保存失败：ECU没有应答，%s 未写入。", m_answer);
    EXPECT_EQ(Status(), noAnswer);
    ReplyParameters(ParamPayloadBuilder());
    EXPECT_FALSE(std::filesystem::exists(m_dir / "late.xse"));

    ASSERT_EQ(catcher.m_messages.size(), 3u);
    EXPECT_TRUE(catcher.m_messages[0].StartsWith(L"设置文件未保存。"));
    // The write error says why on a line of its own, in the program's words.
    EXPECT_EQ(catcher.m_messages[1], failed + L"\n原因：路径中有一项不是文件夹（系统错误 20）");
    EXPECT_EQ(catcher.m_messages[2], noAnswer);
    // Nothing but the file that was there.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
}

TEST_F(LoadSaveSelectorTest, ReplacingAFileTheSelectorDidNotNameIsAskedFirst)
{
    WriteFile(m_dir / "old.xse", PatternBlock(554, 9));
    for (int answer : {wxID_NO, wxID_YES}) {
        ModalCatcher catcher;
        catcher.m_answer = answer;
        Press(LoadSaveSelector::ID_SAVE, "old");
        EXPECT_EQ(catcher.m_messages.size(), 1u);
        EXPECT_EQ(theController->m_saveFileName, answer == wxID_YES ? Path("old.xse") : wxString());
    }
}

TEST_F(LoadSaveSelectorTest, OpensFromTheToolCentredOnThePointerAndOnScreen)
{
    ModalCatcher catcher;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_LOAD_SAVE);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"载入/保存窗口"}));

    const wxRect screen = wxDisplay(0u).GetClientArea();
    LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
    dialog.CentreOnPoint(screen.GetBottomRight());
    EXPECT_TRUE(screen.Contains(dialog.GetRect()));
    const wxPoint middle = screen.GetPosition() + wxSize(400, 300);
    dialog.CentreOnPoint(middle);
    EXPECT_EQ(dialog.GetPosition(), middle - dialog.GetClientSize() / 2);
    EXPECT_EQ(dialog.FindWindow(LoadSaveSelector::ID_SAVE)->GetToolTipText(), wxString(L"保存该司机驾驶的设置 "));
    dialog.Show();
    EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "load-save-dialog.png"));
}

TEST_F(LoadSaveSelectorTest, AFailedSaveIsSaidWhilePollingGoesOn)
{
    // Records whether the poll timer runs while each box is up.
    struct PollWatch : ModalCatcher
    {
        explicit PollWatch(MyFrame* frame) : m_frame(frame) {}
        int Enter(wxDialog* dialog) override
        {
            m_polling.push_back(m_frame->IsPollTimerRunning());
            return ModalCatcher::Enter(dialog);
        }
        MyFrame* m_frame;
        std::vector<bool> m_polling;
    } watch(m_frame);
    std::ofstream(m_dir / "plain") << "a file, not a folder\n";
    Press(LoadSaveSelector::ID_SAVE, "plain/car");
    ASSERT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(12, {0})}));

    // The answer arrives inside a poll tick, which holds the timer while it
    // applies a parameter frame; a box opened there would hold it too.
    m_frame->StartPollTimer();
    const ParamPayloadBuilder parameters;
    const Bytes frame = WrapReplyFrame(12, Bytes(parameters.Payload().begin(), parameters.Payload().end()));
    theController->m_rxBuffer.assign(frame.begin(), frame.end());
    theController->ParseReply();
    EXPECT_TRUE(guitest::WaitFor([&] { return !watch.m_messages.empty(); }));
    m_frame->StopPollTimer();
    EXPECT_EQ(watch.m_polling, std::vector<bool>{true});
    ASSERT_EQ(watch.m_messages.size(), 1u);
    EXPECT_TRUE(watch.m_messages[0].StartsWith(wxString(L"设置文件保存失败: ") + Path("plain/car.xse")));
}
