// The main window's shell: configuration file, demo tool, progress gauge,
// port tool and the poll timer against a simulated ECU.

#include "MainWindowFixture.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include <wx/fileconf.h>
#include <wx/gauge.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/log.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/toolbar.h>
#include <wx/translation.h>
#include <wx/wfstream.h>

#include "SerialPortDialog.h"
#include "SimulatedEcu.h"

namespace
{
std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Collects error messages instead of showing or printing them.
class ErrorCollector : public wxLog
{
public:
    wxString m_errors;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override
    {
        if (level == wxLOG_Error)
            m_errors += msg + "\n";
    }
};

wxString ToolLabel(MyFrame* frame, int id)
{
    wxToolBarToolBase* tool = frame->m_toolBar->FindById(id);
    return tool ? tool->GetLabel() : wxString("(no tool)");
}

wxString ToolHelp(MyFrame* frame, int id)
{
    return frame->m_toolBar->GetToolShortHelp(id);
}

// A message catalogue built in memory (the .mo layout), so that a test can
// run the window with its texts translated.
class MemoryCatalogLoader : public wxTranslationsLoader
{
public:
    explicit MemoryCatalogLoader(std::vector<std::pair<std::string, std::string>> entries)
        : m_entries(std::move(entries))
    {
        m_entries.insert(m_entries.begin(), {"", "Content-Type: text/plain; charset=UTF-8\n"});
    }

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString&) override
    {
        const std::uint32_t n = static_cast<std::uint32_t>(m_entries.size());
        const std::uint32_t originals = 28;
        const std::uint32_t translations = originals + 8 * n;
        std::uint32_t text = translations + 8 * n;
        std::vector<std::uint32_t> head = {0x950412de, 0, n, originals, translations, 0, text};
        std::vector<std::uint32_t> tables;
        std::string strings;
        for (int side = 0; side < 2; ++side) {
            for (const auto& entry : m_entries) {
                const std::string& s = side == 0 ? entry.first : entry.second;
                tables.push_back(static_cast<std::uint32_t>(s.size()));
                tables.push_back(text + static_cast<std::uint32_t>(strings.size()));
                strings += s;
                strings += '\0';
            }
        }
        const size_t size = 4 * (head.size() + tables.size()) + strings.size();
        char* data = static_cast<char*>(std::malloc(size));
        std::memcpy(data, head.data(), 4 * head.size());
        std::memcpy(data + 4 * head.size(), tables.data(), 4 * tables.size());
        std::memcpy(data + 4 * (head.size() + tables.size()), strings.data(), strings.size());
        return wxMsgCatalog::CreateFromData(wxScopedCharBuffer::CreateOwned(data, size), domain);
    }

    wxArrayString GetAvailableTranslations(const wxString&) const override
    {
        wxArrayString languages;
        languages.Add("en");
        return languages;
    }

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};
}

TEST_F(MainWindowTest, ConfiguredDevicePathIsOpenedAndStoredAsItIs)
{
    // Linux names ports by device path; no Windows prefix rule applies, even
    // to a name that looks like a long COM name.
    const char* names[] = {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_Kabel_Überall-if00-port0",
                           "COM10", "/dev/ttyUSB$HOME"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        {
            std::ofstream(m_dir / "Oskat.ini") << "Port=" << name << "\n";
        }
        MakeFrame();
        const wxString expected = wxString::FromUTF8(name);
        EXPECT_EQ(m_frame->m_portName, expected);
        EXPECT_EQ(m_frame->m_portDevice, std::string(name));
        EXPECT_EQ(MyFrame::DevicePath(expected), std::string(name));

        // Nothing answers on these paths: the open failed quietly.
        EXPECT_FALSE(theController->m_port->IsOpen());

        ASSERT_TRUE(m_frame->SavePortConfig());
        EXPECT_EQ(ReadFile(m_dir / "Oskat.ini"), std::string("Port=") + name + "\n");
        delete m_frame;
        m_frame = nullptr;
    }
}

TEST_F(MainWindowTest, ConfigurationWithoutPortOrFile)
{
    // No file: nothing read, nothing opened.
    MakeFrame();
    EXPECT_FALSE(m_frame->LoadPortConfig());
    EXPECT_TRUE(m_frame->m_portName.empty());
    EXPECT_TRUE(m_frame->m_portDevice.empty());
    EXPECT_EQ(m_frame->m_portIndex, 0);
    EXPECT_FALSE(theController->m_port->IsOpen());

    // Closing writes the one key, empty, and nothing else survives.
    m_frame->PrepareExit();
    EXPECT_EQ(ReadFile(m_dir / "Oskat.ini"), "Port=\n");
    wxFileInputStream in(ConfigPath());
    wxFileConfig config(in);
    EXPECT_TRUE(config.HasEntry("/Port"));
    EXPECT_EQ(config.GetNumberOfEntries(true), 1u);

    // A file with other keys but no "Port" leaves the name as it was, and
    // saving drops the other keys.
    {
        std::ofstream(m_dir / "Oskat.ini") << "Speed=10000\n[Window]\nX=3\n";
    }
    m_frame->m_portName = "/dev/ttyS1";
    EXPECT_TRUE(m_frame->LoadPortConfig());
    EXPECT_EQ(m_frame->m_portName, "/dev/ttyS1");
    EXPECT_EQ(m_frame->m_portDevice, "/dev/ttyS1");
    ASSERT_TRUE(m_frame->SavePortConfig());
    EXPECT_EQ(ReadFile(m_dir / "Oskat.ini"), "Port=/dev/ttyS1\n");
}

TEST_F(MainWindowTest, UnwritableConfigurationIsReported)
{
    // A folder that is a file cannot be written, not even by root.
    {
        std::ofstream(m_dir / "work") << "not a folder\n";
    }
    m_frame = new MyFrame(nullptr, wxID_ANY, "Quenvar test", wxPoint(0, 0), wxSize(850, 620),
                          wxString((m_dir / "work" / "Oskat.ini").string()));
    m_frame->m_portName = "/dev/ttyUSB1";

    auto* collector = new ErrorCollector;
    wxLog* previous = wxLog::SetActiveTarget(collector);
    const bool saved = m_frame->SavePortConfig();
    wxLog::SetActiveTarget(previous);

    EXPECT_FALSE(saved);
    EXPECT_NE(collector->m_errors.Find(wxString(L"无法写入配置文件")), wxNOT_FOUND)
        << collector->m_errors;
    EXPECT_EQ(ReadFile(m_dir / "work"), "not a folder\n");
    delete collector;
}

TEST_F(MainWindowTest, DemoToolTogglesModeAndLabel)
{
    MakeFrame();
    EXPECT_EQ(ToolLabel(m_frame, ID_TOOL_DEMO), wxString(L"启动演示"));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), "");

    theController->m_linkLost = 1;
    theController->m_missCount = 20;
    theController->m_request.m_header = 0;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_DEMO);
    EXPECT_EQ(theController->m_demoMode, 1);
    EXPECT_EQ(theController->m_linkLost, 0);
    EXPECT_EQ(theController->m_missCount, 0);
    EXPECT_EQ(theController->m_request.m_header, 0xAA);
    EXPECT_EQ(ToolLabel(m_frame, ID_TOOL_DEMO), wxString(L"关闭演示"));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), wxString(L"软件进入关闭演示模式"));
    // Relabelling starts polling even when nothing had started it.
    EXPECT_TRUE(m_frame->IsPollTimerRunning());

    Fire(m_frame, wxEVT_TOOL, ID_TOOL_DEMO);
    EXPECT_EQ(theController->m_demoMode, 0);
    EXPECT_EQ(ToolLabel(m_frame, ID_TOOL_DEMO), wxString(L"启动演示"));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), wxString(L"软件进入演示模式"));
}

TEST_F(MainWindowTest, DemoLabelFollowsFlagClearedByLinkReset)
{
    MakeFrame();
    InstallPort(false);
    m_frame->ToggleDemo();
    ASSERT_EQ(ToolLabel(m_frame, ID_TOOL_DEMO), wxString(L"关闭演示"));
    // A receive-buffer overflow or a newly opened port ends demo mode
    // without the tool; the next tick relabels it.
    theController->ResetLink();
    EXPECT_TRUE(guitest::WaitFor(
        [&] { return ToolLabel(m_frame, ID_TOOL_DEMO) == wxString(L"启动演示"); }));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), wxString(L"软件进入演示模式"));
}

TEST_F(MainWindowTest, DemoToolKeepsItsTranslatedLabelWhilePolling)
{
    auto* translations = new wxTranslations;
    translations->SetLoader(new MemoryCatalogLoader({
        {"启动演示", "Start demo"},
        {"软件进入演示模式", "Starts the demo"},
        {"关闭演示", "Stop demo"},
        {"软件进入关闭演示模式", "Stops the demo"},
    }));
    translations->SetLanguage("en");
    wxTranslations::Set(translations);
    struct Restore
    {
        ~Restore() { wxTranslations::Set(nullptr); }
    } restore;
    ASSERT_TRUE(translations->AddCatalog("quenvar-test", wxLANGUAGE_CHINESE_SIMPLIFIED));
    ASSERT_EQ(_(L"启动演示"), "Start demo");

    MakeFrame();
    InstallPort(false);
    EXPECT_EQ(ToolLabel(m_frame, ID_TOOL_DEMO), "Start demo");
    // The tick keeps the label in step with the flag; it must not fall back
    // to the untranslated text.
    m_frame->StartPollTimer();
    EXPECT_FALSE(guitest::WaitFor([&] { return ToolLabel(m_frame, ID_TOOL_DEMO) != "Start demo"; },
                                  std::chrono::milliseconds(300)));
    m_frame->ToggleDemo();
    EXPECT_FALSE(guitest::WaitFor([&] { return ToolLabel(m_frame, ID_TOOL_DEMO) != "Stop demo"; },
                                  std::chrono::milliseconds(300)));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), "Stops the demo");
    // Demo ended by a link reset: the tick relabels, translated.
    theController->ResetLink();
    EXPECT_TRUE(guitest::WaitFor([&] { return ToolLabel(m_frame, ID_TOOL_DEMO) == "Start demo"; }));
    EXPECT_EQ(ToolHelp(m_frame, ID_TOOL_DEMO), "Starts the demo");
}

TEST_F(MainWindowTest, ProgressGaugeAndStatusMessage)
{
    MakeFrame()->SetSize(m_frame->GetMinSize());
    wxGauge* gauge = m_frame->GetProgressGauge();
    EXPECT_EQ(gauge->GetRange(), 14);
    EXPECT_FALSE(gauge->IsShown());

    m_frame->ShowProgress(true);
    EXPECT_TRUE(gauge->IsShown());
    // A failed erase opens no box: the field beside the gauge is all there is of it.
    wxStatusBar* bar = m_frame->GetStatusLine();
    wxRect field;
    ASSERT_TRUE(bar->GetFieldRect(1, field));
    EXPECT_GE(field.width, bar->GetTextExtent(L"故障擦除未确认：ECU没有应答。").x + 8);
    m_frame->SetProgress(7);
    EXPECT_EQ(gauge->GetValue(), 7);
    // 15 is the callers' last step; the gauge of 14 shows it full instead
    // of asserting.
    m_frame->SetProgress(15);
    EXPECT_EQ(gauge->GetValue(), 14);
    m_frame->SetProgress(16);
    EXPECT_EQ(gauge->GetValue(), 0);
    m_frame->SetProgress(3);
    m_frame->SetProgress(0);
    EXPECT_EQ(gauge->GetValue(), 0);
    m_frame->SetProgress(-1);
    EXPECT_EQ(gauge->GetValue(), 0);

    m_frame->SetStatusMessage("calibrating /");
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(1), "calibrating /");
    m_frame->ShowProgress(false);
    EXPECT_FALSE(gauge->IsShown());
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(1), "");
    // Hiding an already hidden gauge still empties the field.
    m_frame->SetStatusMessage("again");
    m_frame->ShowProgress(false);
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(1), "");
    // Too long for its field: whole as the field's tooltip, and only there.
    const wxString saved = wxString(L"设置文件已保存：/home/me/") + wxString('x', 200) + ".xse";
    m_frame->SetStatusMessage(saved);
    for (const auto& [at, tip] : {std::pair<int, wxString>(1, saved), {0, ""}}) {
        bar->GetFieldRect(at, field);
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetPosition(field.GetPosition() + field.GetSize() / 2);
        bar->GetEventHandler()->ProcessEvent(motion);
        EXPECT_EQ(bar->GetToolTipText(), tip);
    }
}

TEST_F(MainWindowTest, ClosingThePortStopsPolling)
{
    MakeFrame();
    RecordingPort* port = InstallPort(true);
    m_frame->StartPollTimer();
    ASSERT_TRUE(guitest::WaitFor([&] { return !port->m_written.empty(); }));

    theController->m_connected = 1;
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_PORT);
    EXPECT_FALSE(port->m_open);
    EXPECT_EQ(port->m_closes, 1);
    EXPECT_FALSE(m_frame->IsPollTimerRunning());
    EXPECT_EQ(theController->m_connected, 0);
    EXPECT_EQ(theController->m_missCount, 0);
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), wxString(L"ECU断开"));

    // Nothing more goes out and the status stays as it is.
    port->m_written.clear();
    port->m_open = true;
    EXPECT_FALSE(guitest::WaitFor([&] { return !port->m_written.empty(); },
                                  std::chrono::milliseconds(300)));
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), wxString(L"ECU断开"));
}

TEST_F(MainWindowTest, PollTimerTalksToTheEcu)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    {
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << ecu.SlavePath() << "\n";
    }
    MakeFrame();
    ASSERT_TRUE(theController->m_port->IsOpen());
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), "");
    m_frame->StartPollTimer();

    // First the parameters, then live data, which marks the link up.
    ASSERT_TRUE(guitest::WaitFor([&] {
        ecu.Service();
        return !ecu.Received().empty();
    }));
    const SimulatedEcu::Bytes first = ecu.Received().front();
    EXPECT_EQ(first, (SimulatedEcu::Bytes{0xAA, 0x0C, 0x01, 0xB7}));
    ASSERT_TRUE(guitest::WaitFor([&] {
        ecu.Service();
        return m_frame->GetStatusLine()->GetStatusText(0) == wxString(L"ECU连接");
    }));
    EXPECT_EQ(theController->m_online, 1);
    EXPECT_EQ(ecu.ReceivedCommands().back(), 1);

    // An ECU that falls silent: after fourteen empty reads the link is lost
    // and the status shows it.
    ecu.SetSilent(true);
    ASSERT_TRUE(guitest::WaitFor([&] {
        ecu.Service();
        return theController->m_linkLost != 0;
    }));
    EXPECT_TRUE(guitest::WaitFor([&] {
        return m_frame->GetStatusLine()->GetStatusText(0) == wxString(L"ECU断开");
    }));
}

TEST_F(MainWindowTest, PortToolOpensTheChooserAndCancelKeepsPolling)
{
    MakeFrame();
    InstallPort(false);
    m_frame->ToggleDemo();
    m_frame->StopPollTimer();

    // Inspect the modal chooser from inside its loop, then cancel it.
    wxString title;
    wxString connectLabel;
    bool seen = false;
    auto closeChooser = [&]() {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<SerialPortDialog*>(window);
            if (dialog && dialog->IsModal()) {
                seen = true;
                title = dialog->GetTitle();
                connectLabel = dialog->GetConnectButton()->GetLabel();
                dialog->EndModal(wxID_CANCEL);
                return;
            }
        }
    };
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { closeChooser(); });
    closer.StartOnce(50);
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_PORT);

    ASSERT_TRUE(seen);
    EXPECT_EQ(title, wxString(L"选择端口"));
    EXPECT_EQ(connectLabel, wxString(L"选择端口"));
    // Cancelled: demo mode stays off, nothing was opened, polling runs.
    EXPECT_EQ(theController->m_demoMode, 0);
    EXPECT_FALSE(theController->m_port->IsOpen());
    EXPECT_TRUE(m_frame->IsPollTimerRunning());
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), wxString(L"ECU断开"));
    EXPECT_TRUE(m_frame->m_portName.empty());
}

TEST_F(MainWindowTest, PortChosenInTheChooserIsOpenedAndPolled)
{
    SimulatedEcu ecu;
    ASSERT_TRUE(ecu.IsOpen());
    MakeFrame();
    // The ECU's port is still open after a link loss: the one press closes it and offers the chooser.
    ASSERT_EQ(0, theController->OpenPort(ecu.SlavePath()));
    theController->m_demoMode = 1;
    theController->m_linkLost = 1;
    // Whatever was known before, another port's ECU is asked first.
    theController->m_parametersReceived = 1;

    // The machine's own listing has no pty; put the ECU's in and connect.
    wxTimer chooser;
    bool seen = false;
    chooser.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<SerialPortDialog*>(window);
            if (dialog && dialog->IsModal()) {
                seen = true;
                wxChoice* list = dialog->GetPortList();
                list->Append(wxString::FromUTF8(ecu.SlavePath()));
                list->SetSelection(list->GetCount() - 1);
                wxCommandEvent click(wxEVT_BUTTON, SerialPortDialog::ID_CONNECT);
                dialog->OnConnect(click);
                return;
            }
        }
    });
    chooser.StartOnce(50);
    Fire(m_frame, wxEVT_TOOL, ID_TOOL_PORT);

    ASSERT_TRUE(seen);
    EXPECT_EQ(m_frame->m_portName, wxString::FromUTF8(ecu.SlavePath()));
    EXPECT_EQ(m_frame->m_portDevice, ecu.SlavePath());
    ASSERT_TRUE(theController->m_port->IsOpen());
    EXPECT_EQ(theController->m_demoMode, 0);
    EXPECT_EQ(theController->m_linkLost, 0);
    EXPECT_EQ(theController->m_missCount, 0);
    EXPECT_TRUE(m_frame->IsPollTimerRunning());

    ASSERT_TRUE(guitest::WaitFor([&] {
        ecu.Service();
        return !ecu.Received().empty();
    }));
    EXPECT_EQ(ecu.Received().front(), (SimulatedEcu::Bytes{0xAA, 0x0C, 0x01, 0xB7}));

    // Closing saves the chosen device path as it is.
    m_frame->PrepareExit();
    EXPECT_FALSE(theController->m_port->IsOpen());
    EXPECT_EQ(ReadFile(m_dir / "Oskat.ini"), "Port=" + ecu.SlavePath() + "\n");
}

TEST_F(MainWindowTest, ReadyOnlyWithALiveLink)
{
    MakeFrame();
    Controller* c = theController;
    const struct
    {
        int online, connected, lost, calibrating;
        bool ready;
    } cases[] = {
        {1, 1, 0, 0, true},  {0, 1, 0, 0, false}, {1, 0, 0, 0, false},
        {1, 1, 1, 0, false}, {1, 1, 0, 1, false},
    };
    for (const auto& k : cases) {
        c->m_online = static_cast<unsigned char>(k.online);
        c->m_connected = static_cast<unsigned char>(k.connected);
        c->m_linkLost = static_cast<unsigned char>(k.lost);
        c->m_calibrating = static_cast<unsigned char>(k.calibrating);
        EXPECT_EQ(IsControllerReady(true), k.ready)
            << k.online << k.connected << k.lost << k.calibrating;
    }

    // A link that goes silent after live data: no longer ready.
    InstallPort(true);
    c->m_online = c->m_connected = 1;
    c->m_linkLost = c->m_calibrating = 0;
    for (int i = 0; i < 40 && !c->m_linkLost; ++i)
        c->PollTick();
    ASSERT_EQ(c->m_linkLost, 1);
    EXPECT_EQ(c->m_online, 1);
    EXPECT_FALSE(IsControllerReady(true));
}

TEST_F(MainWindowTest, ToolHelpLeavesTheLinkStateAlone)
{
    MakeFrame();
    m_frame->SetStatusText(wxString(L"ECU连接"), 0);
    m_frame->m_toolBar->OnMouseEnter(ID_TOOL_PORT);
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), wxString(L"ECU连接"));
    m_frame->m_toolBar->OnMouseEnter(wxID_ANY);
    EXPECT_EQ(m_frame->GetStatusLine()->GetStatusText(0), wxString(L"ECU连接"));
}
