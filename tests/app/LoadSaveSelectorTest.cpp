// The settings-file dialog: the file selector answered by the test, the
// transfer handed to the controller only while it can reach the ECU, and
// the outcome said once the ECU has answered.

#include "PageTestSupport.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/toolbar.h>

#include "ParamPacket.h"

#include "LoadSaveSelector.h"
#include "Screenshot.h"

using cmdtest::PatternBlock;
using cmdtest::ReadFile;
using cmdtest::RequestFrame;
using cmdtest::WriteFile;

namespace
{
constexpr std::size_t kBlock = 554;

struct SelectorCall
{
    wxString message;
    wxString folder;
    wxString name;
    wxString extension;
    wxString wildcard;
    int flags;
};

ParamPayloadBuilder WithSettingsBlock(const Bytes& block)
{
    ParamPayloadBuilder parameters;
    for (std::size_t k = 0; k < kBlock; ++k)
        parameters.Byte(17 + k, block[k]);
    return parameters;
}
}

class LoadSaveSelectorTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        MakeFrame();
        LoadSaveSelector::SetFileSelector([this](const wxString& message, const wxString& folder,
                                                 const wxString& name, const wxString& extension,
                                                 const wxString& wildcard, int flags) {
            m_calls.push_back({message, folder, name, extension, wildcard, flags});
            if (m_whileOpen)
                m_whileOpen();
            return m_answer;
        });
    }
    void TearDown() override
    {
        LoadSaveSelector::SetFileSelector(nullptr);
        PageTest::TearDown();
    }

    // Presses a button of the dialog as the user would.
    void Press(int id)
    {
        LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
        Fire(&dialog, wxEVT_BUTTON, id);
    }

    wxString Path(const std::string& name) const { return wxString::FromUTF8((m_dir / name).string()); }

    // A new link, ready, nothing said yet; the selector will answer name.
    void Afresh(const std::string& name)
    {
        theController->ResetLink();
        BringOnline();
        m_frame->SetStatusMessage(wxEmptyString);
        m_answer = Path(name);
        m_calls.clear();
    }

    std::vector<SelectorCall> m_calls;
    wxString m_answer;
    std::function<void()> m_whileOpen;
};

TEST_F(LoadSaveSelectorTest, NothingIsTransferredWhileTheEcuCannotTakeIt)
{
    WriteFile(m_dir / "good.xse", PatternBlock(kBlock, 3));
    struct Case
    {
        const char* name;
        std::function<void()> before;    // state when the button is pressed
        std::function<void()> whileOpen; // what happens while the selector is open
        std::size_t selectorCalls;
    };
    const Case cases[] = {
        {"no live data yet", [] {}, nullptr, 0},
        {"demo mode", [this] { BringOnline(); theController->m_demoMode = 1; }, nullptr, 0},
        {"calibration running", [this] { BringOnline(); theController->m_calibrating = 1; }, nullptr, 0},
        {"calibration started meanwhile", [this] { BringOnline(); },
         [] { theController->m_calibrating = 1; }, 1},
    };
    for (const Case& c : cases) {
        for (int button : {LoadSaveSelector::ID_LOAD, LoadSaveSelector::ID_SAVE}) {
            SCOPED_TRACE(std::string(c.name) + (button == LoadSaveSelector::ID_LOAD ? " load" : " save"));
            theController->ResetLink();
            c.before();
            m_whileOpen = c.whileOpen;
            m_calls.clear();
            m_answer = Path("good.xse");
            ModalCatcher catcher;
            Press(button);

            EXPECT_EQ(m_calls.size(), c.selectorCalls);
            ASSERT_EQ(catcher.m_messages.size(), 1u);
            const wxString what = button == LoadSaveSelector::ID_LOAD ? L"设置文件未载入。" : L"设置文件未保存。";
            EXPECT_TRUE(catcher.m_messages[0].StartsWith(what)) << catcher.m_messages[0];
            EXPECT_TRUE(Queued().empty());
            EXPECT_TRUE(theController->m_saveFileName.empty());
        }
    }
}

TEST_F(LoadSaveSelectorTest, LoadSendsAWholeFileAndSaysLoadedWhenTheEcuAnswers)
{
    struct Case
    {
        const char* file;
        std::size_t size; // 0: no such file
        bool sent;
    };
    const Case cases[] = {{"good.xse", kBlock, true}, {"short.xse", kBlock - 1, false}, {"gone.xse", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes block = PatternBlock(c.size, 5);
        if (c.size)
            WriteFile(m_dir / c.file, block);
        Afresh(c.file);
        ModalCatcher catcher;
        Press(LoadSaveSelector::ID_LOAD);

        ASSERT_EQ(m_calls.size(), 1u);
        EXPECT_EQ(m_calls[0].message, wxString(L"选择一个设置文件 "));
        EXPECT_EQ(m_calls[0].folder, "./settings/");
        EXPECT_EQ(m_calls[0].extension, "xse");
        EXPECT_EQ(m_calls[0].wildcard, wxString(L"设置文件  (*.xse)|*.xse"));
        EXPECT_EQ(m_calls[0].flags, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (!c.sent) {
            // The controller refuses it with its own message.
            EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{L"无效的文件设置 "}));
            EXPECT_TRUE(Queued().empty());
            EXPECT_EQ(Status(), "");
            continue;
        }
        EXPECT_TRUE(catcher.m_messages.empty());
        EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(26, block), RequestFrame(12, {1})}));
        EXPECT_EQ(Status(), wxString::Format(L"正在载入设置文件 %s …", m_answer));
        // A frame asked for before the block is no answer to it, and the
        // read behind the block is asked for again.
        ReplyParameters(ParamPayloadBuilder());
        EXPECT_EQ(Status(), wxString::Format(L"正在载入设置文件 %s …", m_answer));
        EXPECT_TRUE(guitest::WaitFor([&] {
            return Queued() == std::vector<Bytes>{RequestFrame(26, block), RequestFrame(12, {1})};
        }));
        Reply(26, {});
        ReplyParameters(WithSettingsBlock(block));
        EXPECT_EQ(Status(), wxString::Format(L"设置文件已载入：%s", m_answer));
    }
}

TEST_F(LoadSaveSelectorTest, SavedFileNames)
{
    const struct
    {
        const char* chosen;
        const char* written;
    } cases[] = {
        {"/w/car.xse", "/w/car.xse"}, {"/w/car.XSE", "/w/car.XSE"}, {"/w/car", "/w/car.xse"},
        {"/w/car.", "/w/car.xse"},    {"/w/car.v1", "/w/car.v1.xse"}, {"/w/*.xse", ""},
        {"/w/c?r.xse", ""},           {"/w/", ""},                    {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadSaveSelector::SavePathFor(c.chosen), wxString(c.written)) << c.chosen;
}

TEST_F(LoadSaveSelectorTest, SaveWritesTheAnsweringFrameAndSaysWhatCameOfIt)
{
    std::filesystem::create_directory(m_dir / "folder");
    {
        std::ofstream(m_dir / "plain") << "a file, not a folder\n";
    }
    struct Case
    {
        const char* chosen;
        const char* written; // "" = nothing may be written
        bool queued;
        const wchar_t* outcome; // start of the status after the answer
    };
    const Case cases[] = {
        {"folder/car", "folder/car.xse", true, L"设置文件已保存："},
        {"folder/van.xse", "folder/van.xse", true, L"设置文件已保存："},
        {"folder/*.xse", "", false, L""},
        {"plain/car.xse", "", true, L"设置文件保存失败: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        Afresh(c.chosen);
        ModalCatcher catcher;
        Press(LoadSaveSelector::ID_SAVE);

        ASSERT_EQ(m_calls.size(), 1u);
        EXPECT_EQ(m_calls[0].message, wxString(L"选择目标文件 "));
        // GTK would put "*.xse" into the name field.
        EXPECT_EQ(m_calls[0].name, "");
        EXPECT_EQ(m_calls[0].flags, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (!c.queued) {
            ASSERT_EQ(catcher.m_messages.size(), 1u);
            EXPECT_TRUE(catcher.m_messages[0].StartsWith(L"设置文件未保存。"));
            EXPECT_TRUE(Queued().empty());
            ReplyParameters(ParamPayloadBuilder());
            EXPECT_FALSE(std::filesystem::exists(m_dir / "folder" / "*.xse"));
            continue;
        }
        const wxString target = *c.written ? Path(c.written) : m_answer;
        EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(12, {0})}));
        EXPECT_EQ(Status(), wxString::Format(L"正在保存设置文件 %s …", target));
        const Bytes block = PatternBlock(kBlock, 7);
        ReplyParameters(WithSettingsBlock(block));
        EXPECT_TRUE(Status().StartsWith(c.outcome)) << Status();
        EXPECT_NE(Status().Find(target), wxNOT_FOUND);
        if (*c.written) {
            EXPECT_EQ(ReadFile(m_dir / c.written), block);
            EXPECT_TRUE(catcher.m_messages.empty());
        } else {
            // The error is shown, with why.
            ASSERT_EQ(catcher.m_messages.size(), 1u);
            EXPECT_NE(catcher.m_messages[0].Find(target), wxNOT_FOUND);
            EXPECT_NE(catcher.m_messages[0].Find("\n"), wxNOT_FOUND) << catcher.m_messages[0];
        }
        EXPECT_TRUE(theController->m_saveFileName.empty());
    }
}

TEST_F(LoadSaveSelectorTest, ASaveWithoutAnswerForgetsTheNameAndSaysItFailed)
{
    BringOnline();
    m_answer = Path("late.xse");
    ModalCatcher catcher;
    Press(LoadSaveSelector::ID_SAVE);
    ASSERT_EQ(theController->m_saveFileName, m_answer);
    ASSERT_TRUE(guitest::WaitFor([&] { return !catcher.m_messages.empty(); }));

    const wxString failed = wxString::Format(L"设置文件保存失败：ECU没有应答，%s 未写入。", m_answer);
    EXPECT_EQ(catcher.m_messages, (std::vector<wxString>{failed}));
    EXPECT_EQ(Status(), failed);
    EXPECT_TRUE(theController->m_saveFileName.empty());
    // A frame that comes later writes nothing.
    ReplyParameters(ParamPayloadBuilder());
    EXPECT_FALSE(std::filesystem::exists(m_dir / "late.xse"));
    EXPECT_EQ(Status(), failed);
}

TEST_F(LoadSaveSelectorTest, OneTransferAtATimeAndReplacingAskedFirst)
{
    BringOnline();
    WriteFile(m_dir / "old.xse", PatternBlock(kBlock, 9));

    // "old" becomes "old.xse", which exists: the selector did not ask about
    // that name, so the dialog does.
    for (int answer : {wxID_NO, wxID_YES}) {
        SCOPED_TRACE(answer);
        m_answer = Path("old");
        ModalCatcher catcher;
        catcher.m_answer = answer;
        Press(LoadSaveSelector::ID_SAVE);
        ASSERT_EQ(catcher.m_messages.size(), 1u);
        EXPECT_NE(catcher.m_messages[0].Find(Path("old.xse")), wxNOT_FOUND);
        EXPECT_EQ(theController->m_saveFileName, answer == wxID_YES ? Path("old.xse") : wxString());
    }

    // While that save waits, neither a load nor another save starts.
    for (int button : {LoadSaveSelector::ID_LOAD, LoadSaveSelector::ID_SAVE}) {
        ModalCatcher catcher;
        m_calls.clear();
        Press(button);
        EXPECT_TRUE(m_calls.empty());
        ASSERT_EQ(catcher.m_messages.size(), 1u);
        EXPECT_NE(catcher.m_messages[0].Find(L"仍在等待ECU的应答"), wxNOT_FOUND);
    }
    EXPECT_EQ(Queued(), (std::vector<Bytes>{RequestFrame(12, {0})}));
}

TEST_F(LoadSaveSelectorTest, OpensFromTheToolCentredOnThePointerAndOnScreen)
{
    EXPECT_TRUE(m_frame->m_toolBar->GetToolEnabled(ID_TOOL_LOAD_SAVE));
    ModalCatcher catcher;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_LOAD_SAVE);
    EXPECT_EQ(catcher.m_dialogs, (std::vector<wxString>{L"载入/保存窗口"}));

    const wxRect screen = wxDisplay(0u).GetClientArea();
    LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
    const wxPoint spots[] = {screen.GetPosition() + wxSize(400, 300), screen.GetPosition(),
                             screen.GetBottomRight()};
    for (const wxPoint& spot : spots) {
        SCOPED_TRACE(spot.x);
        dialog.CentreOnPoint(spot);
        EXPECT_TRUE(screen.Contains(dialog.GetRect()));
    }
    dialog.CentreOnPoint(spots[0]);
    EXPECT_EQ(dialog.GetPosition(), spots[0] - dialog.GetClientSize() / 2);

    auto* load = wxDynamicCast(dialog.FindWindow(LoadSaveSelector::ID_LOAD), wxButton);
    auto* save = wxDynamicCast(dialog.FindWindow(LoadSaveSelector::ID_SAVE), wxButton);
    ASSERT_TRUE(load && save);
    EXPECT_EQ(load->GetLabel(), wxString(L"载入 "));
    EXPECT_EQ(save->GetToolTipText(), wxString(L"保存该司机驾驶的设置 "));
    dialog.Show();
    guitest::ProcessPendingEvents();
    EXPECT_GE(dialog.GetClientSize().x, load->GetSize().x + save->GetSize().x);
    EXPECT_TRUE(SaveScreenshotIfAsked(&dialog, "load-save-dialog.png"));
}

class LoadSaveEcuTest : public EcuPageTest
{
protected:
    void SetUp() override
    {
        EcuPageTest::SetUp();
        LoadSaveSelector::SetFileSelector([this](const wxString&, const wxString&, const wxString&,
                                                 const wxString&, const wxString&, int) { return m_answer; });
    }
    void TearDown() override
    {
        LoadSaveSelector::SetFileSelector(nullptr);
        EcuPageTest::TearDown();
    }
    wxString m_answer;
};

TEST_F(LoadSaveEcuTest, SaveThenLoadPutsTheFileOnTheWire)
{
    const Bytes saved = PatternBlock(kBlock, 41);
    const ParamPayloadBuilder first = WithSettingsBlock(saved);
    m_ecu.SetPayload(12, Bytes(first.Payload().begin(), first.Payload().end()));
    StartPolling();

    m_answer = wxString::FromUTF8((m_dir / "car").string());
    {
        LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
        Fire(&dialog, wxEVT_BUTTON, LoadSaveSelector::ID_SAVE);
    }
    ASSERT_TRUE(Serve([&] { return Status().StartsWith(L"设置文件已保存："); })) << Status();
    EXPECT_EQ(ReadFile(m_dir / "car.xse"), saved);

    // Someone changes the ECU's settings; loading the file puts them back.
    const ParamPayloadBuilder changed = WithSettingsBlock(PatternBlock(kBlock, 43));
    m_ecu.SetPayload(12, Bytes(changed.Payload().begin(), changed.Payload().end()));
    m_answer = wxString::FromUTF8((m_dir / "car.xse").string());
    const std::size_t before = m_wire.size();
    {
        LoadSaveSelector dialog(m_frame, wxID_ANY, L"载入/保存窗口");
        Fire(&dialog, wxEVT_BUTTON, LoadSaveSelector::ID_LOAD);
    }
    ASSERT_TRUE(Serve([&] { return Status().StartsWith(L"设置文件已载入："); })) << Status();
    const std::size_t load = FindOnWire(26, before);
    ASSERT_LT(load, m_wire.size());
    EXPECT_EQ(m_wire[load], RequestFrame(26, saved));
    EXPECT_LT(FindOnWire(12, load), m_wire.size());
    ASSERT_TRUE(theController->m_lastParameters);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), theController->m_lastParameters->m_settingsBlock.begin()));
}
