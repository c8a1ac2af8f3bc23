// The main window.
//
// Contents:
//   Shared tables
//   Construction: frame, toolbar, status line, notebook
//   Forwarders and the controller host
//   Configuration ("Oskat.ini")
//   Poll timer and tools
// The live-readings area below the notebook is in MyFrameLiveArea.cpp.

#include "MyFrame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/sstream.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/wfstream.h>

#include "AboutDialog.h"
#include "AppResources.h"
#include "Controller.h"
#include "ControllerReady.h"
#include "DiagnosticDialog.h"
#include "GaugeValue.h"
#include "GuZhangMa.h"
#include "InjectorCalcDialog.h"
#include "LoadSaveSelector.h"
#include "MapPane.h"
#include "OscylPane.h"
#include "PanelCS.h"
#include "PortOpenError.h"
#include "ReadyCheck.h"
#include "SerialPortDialog.h"
#include "SerialPortList.h"
#include "SettingsFileTransfer.h"
#include "UiUpdates.h"

namespace
{
const wxColour kToolBarColour(195, 195, 195);
const int kProgressRange = 14;
const int kLinkFieldWidth = 100;
// Field 1, the messages, takes what the window has to spare, at least this.
const int kMessageFieldWidth = 200;
// The gauge sits in field 2, this far from its left edge.
const int kGaugeMargin = 8;
const int kGaugeWidth = 200;
// Field 2 without the gauge: room for the size grip.
const int kIdleLastFieldWidth = 24;

const wchar_t* const kDemoOnLabel = L"关闭演示";
const wchar_t* const kDemoOnHelp = L"软件进入关闭演示模式";
const wchar_t* const kDemoOffLabel = L"启动演示";
const wchar_t* const kDemoOffHelp = L"软件进入演示模式";
const wchar_t* const kLinkUp = L"ECU连接";
const wchar_t* const kLinkDown = L"ECU断开";

// Says once why a port could not be opened: in the status line, or in a box
// when the user has to act first (the status field is too narrow for the
// remedy). The box waits until the window is up.
void SayWhyNotOpened(MyFrame& frame, int code, const wxString& port)
{
    if (code >= 0)
        return;
    const wxString why = PortOpenErrorText(code, port);
    if (code != SERIAL_ACCESS_DENIED)
        frame.SetStatusMessage(why);
    else
        frame.CallAfter([&frame, why]() { frame.ShowMessage(why, _(L"错误 ")); });
}
} // namespace

// --- Shared tables ---

int LampBlinkCounter = 0;

wxBEGIN_EVENT_TABLE(MyFrame, wxFrame)
    EVT_CLOSE(MyFrame::OnClose)
    EVT_TOOL(ID_TOOL_PORT, MyFrame::OnPort)
    EVT_TOOL(ID_TOOL_LOAD_SAVE, MyFrame::OnLoadSave)
    EVT_COMMAND_RANGE(ID_INJECTOR_CHECK_FIRST, ID_INJECTOR_CHECK_LAST, wxEVT_CHECKBOX,
                      MyFrame::OnInjectorCheck)
    EVT_TIMER(ID_POLL_TIMER, MyFrame::OnPollTimer)
    EVT_BUTTON(ID_FUEL_SWITCH, MyFrame::OnFuelSwitch)
    EVT_TOOL(ID_TOOL_INJECTOR_CALC, MyFrame::OnInjectorCalc)
    EVT_TOOL(ID_TOOL_SERVICE, MyFrame::OnServiceInfo)
    EVT_TOOL(ID_TOOL_ABOUT, MyFrame::OnAbout)
    EVT_TOOL(ID_TOOL_DEMO, MyFrame::OnDemo)
    EVT_UPDATE_UI_RANGE(ID_INJECTOR_CHECK_FIRST, ID_INJECTOR_CHECK_LAST, MyFrame::OnUpdateFuelControl)
    EVT_UPDATE_UI(ID_FUEL_SWITCH, MyFrame::OnUpdateFuelControl)
wxEND_EVENT_TABLE()

// --- Construction: frame, toolbar, status line, notebook ---

MyFrame::MyFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                 const wxSize& size, const wxString& configPath)
    : wxFrame(parent, id, title, pos, size, wxDEFAULT_FRAME_STYLE, "frame"),
      m_pollTimer(this, ID_POLL_TIMER),
      m_configPath(configPath),
      m_fileTransfer(new SettingsFileTransfer(this))
{
    BuildToolBar();
    BuildStatusLine();
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    // Every repaint below the readings asks the frame for its font and
    // colour; without own ones wxGTK looks them up in the theme each time.
    SetOwnFont(GetFont());
    SetOwnForegroundColour(GetForegroundColour());
    CreateControls();
    FitMinimumSize();
    AskForUiUpdates(this, *GetEventTable());

    wxASSERT_MSG(!theController, "MyFrame: one main window, one controller");
    theController = new Controller;
    m_ownsController = true;
    theController->SetHost(this);
    OnAttach();
    LoadPortConfig();
    FindPortIndex();
    // An empty name opens nothing: there is no port to try until one is chosen.
    if (!m_portDevice.empty()) {
        // Otherwise a port the user may not open looks like an unplugged ECU.
        SayWhyNotOpened(*this, theController->OpenPort(m_portDevice), m_portName);
    }
}

MyFrame::~MyFrame()
{
    m_pollTimer.Stop();
    // Only tests destroy the frame; the program ends in OnClose without it.
    // The pages leave the controller's observer list as they go, so they go
    // while it still exists.
    delete m_notebook;
    m_notebook = nullptr;
    if (theController)
        theController->RemoveObserver(this);
    if (m_ownsController && theController) {
        theController->SetHost(nullptr);
        delete theController;
        theController = nullptr;
    }
}

void MyFrame::BuildToolBar()
{
    m_toolBar = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                              wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxNO_BORDER, "toolbar");
    m_toolBar->SetBackgroundColour(kToolBarColour);
    SetToolBar(m_toolBar);
    m_toolBar->SetToolBitmapSize(wxSize(32, 32));

    struct Tool
    {
        int id;
        const wchar_t* label;
        const char* icon;
    };
    const Tool tools[] = {
        {ID_TOOL_PORT, L"端口连接", "ID_ZPORT"},
        {ID_TOOL_LOAD_SAVE, L"载入/保存", "ID_ZAIRUBAOCUN"},
        {ID_TOOL_INJECTOR_CALC, L"喷嘴计算", "ID_PENZUIJISUAN"},
        {ID_TOOL_SERVICE, L"保    养", "ID_ZBAOYANG"},
        {ID_TOOL_DEMO, kDemoOffLabel, "ID_YANSHI"},
        {ID_TOOL_ABOUT, L"公司介绍", "ID_ZGONGSI"},
    };
    for (const Tool& tool : tools)
        m_toolBar->AddTool(tool.id, _(tool.label), LoadAppBitmap(tool.icon), wxNullBitmap,
                           wxITEM_NORMAL, wxEmptyString, wxEmptyString);
    m_toolBar->Realize();
    SetIcon(LoadAppIcon("ID_LOGOICO"));
}

void MyFrame::BuildStatusLine()
{
    // Without wxSTB_SHOW_TIPS, which GTK's status bar does not implement
    // and which forbids tooltips of our own.
    m_statusBar = CreateStatusBar(3, wxSTB_SIZEGRIP | wxSTB_ELLIPSIZE_END | wxFULL_REPAINT_ON_RESIZE, wxID_ANY,
                                  "status_line");
    m_progressGauge = new wxGauge(m_statusBar, wxID_ANY, kProgressRange, wxPoint(310, 4),
                                  wxSize(kGaugeWidth, 15), wxGA_HORIZONTAL | wxGA_SMOOTH,
                                  wxDefaultValidator, "gauge");
    m_progressGauge->Hide();
    LayoutStatusFields();
    m_statusBar->Bind(wxEVT_SIZE, &MyFrame::OnStatusBarSize, this);
    // A message longer than its field is shown whole as the field's tooltip.
    m_statusBar->Bind(wxEVT_MOTION, &MyFrame::OnStatusBarMotion, this);
    // Field 0 shows the link state; the tools' help goes to their tooltips.
    SetStatusBarPane(-1);
}

void MyFrame::FitMinimumSize()
{
    // Nothing may be cut off: the controls, every tool and the status
    // fields with the gauge must fit.
    wxSize client = GetSizer()->GetMinSize();
    client.x = std::max(client.x, m_toolBar->GetBestSize().x);
    client.x = std::max(client.x, kLinkFieldWidth + kMessageFieldWidth + kGaugeMargin + kGaugeWidth);
    SetMinClientSize(client);
}

void MyFrame::LayoutStatusFields()
{
    const int last = m_progressGauge->IsShown() ? kGaugeMargin + kGaugeWidth + kGaugeMargin : kIdleLastFieldWidth;
    const int widths[3] = {kLinkFieldWidth, -1, last};
    m_statusBar->SetStatusWidths(3, widths);
    PlaceProgressGauge();
}

void MyFrame::OnStatusBarMotion(wxMouseEvent& event)
{
    event.Skip();
    wxRect field;
    const wxString text = m_statusBar->GetStatusText(1);
    if (!text.empty() && m_statusBar->GetFieldRect(1, field) && field.Contains(event.GetPosition())) {
        if (m_statusBar->GetToolTipText() != text)
            m_statusBar->SetToolTip(text);
    } else if (m_statusBar->GetToolTip()) {
        m_statusBar->UnsetToolTip();
    }
}

void MyFrame::PlaceProgressGauge()
{
    // Field 2 starts where the fixed fields end; the gauge sits at its left,
    // centred in the bar's height (which GTK makes taller than Windows).
    wxRect field;
    if (!m_statusBar->GetFieldRect(2, field))
        return;
    const int height = std::min(15, std::max(6, field.height - 2));
    m_progressGauge->SetSize(field.x + kGaugeMargin, field.y + (field.height - height) / 2, kGaugeWidth, height);
}

void MyFrame::OnStatusBarSize(wxSizeEvent& event)
{
    PlaceProgressGauge();
    event.Skip();
}

void MyFrame::CreateControls()
{
    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxGridSizer(1, 1, 0, 0);

    m_notebook = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "notebook");
    m_notebook->SetFont(wxFont(9, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));

    m_settingsPage = new PanelCS(m_notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    m_mapPage = new MapPane(m_notebook, wxID_ANY, true, *this);
    m_faultPage = new GuZhangMa(m_notebook, wxID_ANY, wxDefaultPosition, wxSize(656, 528), wxTAB_TRAVERSAL);
    m_oscylPage = new OscylPane(m_notebook, wxID_ANY);
    m_notebook->AddPage(m_settingsPage, _(L"参数"), true);
    m_notebook->AddPage(m_mapPage, _(L"调试图表"));
    m_notebook->AddPage(m_faultPage, _(L"故障"));
    m_notebook->AddPage(m_oscylPage, _(L"示波器"));

    grid->Add(m_notebook, wxSizerFlags().Expand().Border(wxALL, 1));
    frameSizer->Add(grid, wxSizerFlags(1).Expand());

    CreateLiveArea(frameSizer);

    SetSizer(frameSizer);
    Layout();
}

// --- Forwarders and the controller host ---

void MyFrame::SetStatusMessage(const wxString& text)
{
    SetStatusText(text, 1);
    // A tooltip being shown follows the text.
    if (m_statusBar->GetToolTip()) {
        if (text.empty())
            m_statusBar->UnsetToolTip();
        else
            m_statusBar->SetToolTip(text);
    }
}

void MyFrame::ShowProgress(bool show)
{
    if (m_progressGauge->IsShown() != show) {
        m_progressGauge->Show(show);
        LayoutStatusFields();
    }
    if (!show)
        SetStatusMessage(wxEmptyString);
    Layout();
}

void MyFrame::SetProgress(int value)
{
    // Callers count to 15 on a gauge of 14: the last step shows as full.
    SetGaugeValue(m_progressGauge, value >= 1 && value <= 15 ? value : 0);
}

void MyFrame::StopPollTimer()
{
    if (m_pollTimer.IsRunning())
        m_pollTimer.Stop();
}

void MyFrame::StartPollTimer()
{
    if (!m_pollTimer.IsRunning())
        m_pollTimer.Start(kPollIntervalMs, wxTIMER_CONTINUOUS);
}

void MyFrame::SetToolLabel(int toolId, wxString label, wxString shortHelp)
{
    StopPollTimer();
    wxToolBarToolBase* tool = m_toolBar->FindById(toolId);
    if (tool && tool->GetLabel() != label) {
        tool->SetLabel(label);
        m_toolBar->SetToolShortHelp(toolId, shortHelp);
        m_toolBar->Realize();
        m_toolBar->Refresh(true);
        Refresh(true);
    }
    StartPollTimer();
}

void MyFrame::UpdatePressureAxis()
{
    if (m_mapPage)
        m_mapPage->UpdatePressureAxis();
}

int MyFrame::ShowMessageBox(const wxString& message, const wxString& caption, long style)
{
    return wxMessageBox(message, caption, style, nullptr);
}

void MyFrame::ShowMessage(const wxString& text, const wxString& caption)
{
    // The controller only reports errors this way (a refused settings file).
    wxMessageBox(text, caption, wxOK | wxICON_ERROR, this);
}

void MyFrame::UpdateUI()
{
    UpdateWindowUI(wxUPDATE_UI_RECURSE);
}

void MyFrame::SayStatus(const wxString& text)
{
    // A page may ask again on every change; the field is set once.
    if (m_statusBar && m_statusBar->GetStatusText(1) != text)
        SetStatusMessage(text);
}

void MyFrame::Sleep(int milliseconds)
{
    wxMilliSleep(milliseconds);
}

void MyFrame::SettingsFileSaved(const wxString& path, const wxString& error)
{
    m_fileTransfer->Saved(path, error);
}

void MyFrame::SettingsFileLoaded(const wxString& path)
{
    m_fileTransfer->Loaded(path);
}

void MyFrame::OnAttach()
{
    // The pages that observe the controller register here, before the frame,
    // once they exist.
    if (m_settingsPage)
        m_settingsPage->OnAttach();
    if (m_oscylPage)
        m_oscylPage->m_plot->OnAttach();
    if (m_mapPage)
        m_mapPage->OnAttach();
    if (m_faultPage)
        m_faultPage->OnAttach();
    theController->AddObserver(static_cast<ControllerObserver*>(this));
}

// --- Configuration ("Oskat.ini") ---

std::string MyFrame::DevicePath(const wxString& portName)
{
    // The configuration is UTF-8 text, and so are Linux device names.
    const wxScopedCharBuffer narrow = portName.utf8_str();
    return std::string(narrow.data(), narrow.length());
}

bool MyFrame::LoadPortConfig()
{
    if (!wxFileName::FileExists(m_configPath))
        return false;
    wxFileInputStream in(m_configPath);
    if (!in.IsOk())
        return false;
    wxFileConfig config(in, wxConvAuto());
    // A device path is taken as written, "$" and all.
    config.SetExpandEnvVars(false);
    m_portIndex = 0;
    config.Read("/Port", &m_portName);
    m_portDevice = DevicePath(m_portName);
    return true;
}

bool MyFrame::SavePortConfig()
{
    wxStringInputStream empty(wxEmptyString);
    wxFileConfig config(empty, wxConvUTF8);
    config.Write("/Port", m_portName);
    // Written beside and renamed over the old file, so a failed write never
    // leaves half a file behind.
    wxTempFileOutputStream out(m_configPath);
    if (out.IsOk() && config.Save(out, wxConvUTF8) && out.Commit())
        return true;
    out.Discard();
    wxLogError(_(L"无法写入配置文件 \"%s\"：端口设置未保存。"),
               wxFileName(m_configPath).GetAbsolutePath());
    return false;
}

void MyFrame::FindPortIndex()
{
    if (m_portName.empty())
        return;
    const std::vector<std::string> ports = SerialPortList().Scan();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (wxString::FromUTF8(ports[i]) == m_portName) {
            m_portIndex = static_cast<int>(i);
            return;
        }
    }
}

void MyFrame::EndCalibrationRun(const wxString& reason)
{
    if (!theController || !m_mapPage || !m_mapPage->EndCalibration(reason))
        return;
    // The stop must reach the car before the line is given up: poll ticks
    // at their own pace until it is answered, the link is lost or the time
    // is up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
    const auto stopQueued = [] {
        const auto& queue = theController->m_requestQueue;
        return std::any_of(queue.begin(), queue.end(),
                           [](const Request& r) { return r.m_command == CMD_STOP_CALIBRATION; });
    };
    while (stopQueued() && !theController->m_linkLost && std::chrono::steady_clock::now() < deadline) {
        theController->PollTick();
        if (stopQueued())
            wxMilliSleep(kPollIntervalMs);
    }
}

void MyFrame::PrepareExit()
{
    EndCalibrationRun(_(L"程序关闭,自动标定已停止"));
    StopPollTimer();
    if (theController)
        theController->ClosePort();
    if (!SavePortConfig())
        wxLog::FlushActive();
}

// --- Poll timer and tools ---

void MyFrame::OnPollTimer(wxTimerEvent&)
{
    if (!theController)
        return;
    const auto start = std::chrono::steady_clock::now();
    SetStatusText(theController->m_connected ? kLinkUp : kLinkDown, 0);
    if (!theController->m_linkLost)
        theController->PollTick();
    SyncDemoTool();

    // GLib counts the next interval from before a tick that blocked (the
    // demo feed's pause), so the timer would be due again at once and GTK,
    // whose redraws rank below timers, would never paint: count it afresh.
    if (m_pollTimer.IsRunning() &&
        std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(kPollIntervalMs))
        m_pollTimer.Start(kPollIntervalMs, wxTIMER_CONTINUOUS);
}

void MyFrame::SyncDemoTool()
{
    // Demo mode also ends without the tool (port command, link reset); the
    // tool's label follows the flag.
    const bool demo = theController && theController->m_demoMode;
    const wxString label = demo ? _(kDemoOnLabel) : _(kDemoOffLabel);
    wxToolBarToolBase* tool = m_toolBar->FindById(ID_TOOL_DEMO);
    if (tool && tool->GetLabel() != label)
        SetToolLabel(ID_TOOL_DEMO, label, demo ? _(kDemoOnHelp) : _(kDemoOffHelp));
}

void MyFrame::ToggleDemo()
{
    if (!theController)
        return;
    if (theController->m_demoMode) {
        theController->SetDemoMode(false);
        SetToolLabel(ID_TOOL_DEMO, _(kDemoOffLabel), _(kDemoOffHelp));
    } else {
        // A run needs the car: it ends first, and its stop goes out before
        // the demo takes the line.
        EndCalibrationRun(_(L"演示模式已启动,自动标定已停止"));
        SetToolLabel(ID_TOOL_DEMO, _(kDemoOnLabel), _(kDemoOnHelp));
        theController->SetDemoMode(true);
    }
}

void MyFrame::OnDemo(wxCommandEvent&)
{
    ToggleDemo();
}

void MyFrame::OnPort(wxCommandEvent&)
{
    if (!theController)
        return;
    wxPoint pos = wxGetMousePosition();
    pos.x = std::min(pos.x, 20);
    pos.y = std::min(pos.y, 32);

    if (theController->m_port && theController->m_port->IsOpen()) {
        // A dead port is only in the way of the next one: the same press
        // offers the chooser.
        const bool lost = theController->m_linkLost != 0;
        // The car hears the run's stop while the line still reaches it.
        EndCalibrationRun(_(L"端口已关闭,自动标定已停止"));
        // Polling stays off until the port tool (or demo) is used again.
        StopPollTimer();
        theController->ClosePort();
        SetStatusText(kLinkDown, 0);
        if (!lost)
            return;
    }

    // Leaving demo for a car: the demo's cache must not reach it.
    if (theController->m_demoMode)
        theController->SetDemoMode(false);
    SerialPortDialog dialog(nullptr, wxID_ANY, _(L"选择端口"), pos, wxDefaultSize,
                            wxDEFAULT_DIALOG_STYLE);
    dialog.FillPortList(m_portIndex);
    dialog.SetConnectLabel(_(L"选择端口"));
    if (dialog.ShowModal() == SerialPortDialog::RESULT_CONNECT) {
        m_portName = dialog.GetChosenName();
        m_portIndex = dialog.GetChosenIndex();
        m_portDevice = DevicePath(m_portName);
        SetStatusMessage(wxEmptyString);
        SayWhyNotOpened(*this, theController->OpenPort(m_portDevice), m_portName);
    }
    SetStatusText(kLinkDown, 0);
    StartPollTimer();
}

void MyFrame::OnAbout(wxCommandEvent&)
{
    AboutDialog dialog(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition);
    dialog.BuildText(0);
    dialog.ShowModal();
}

void MyFrame::OnLoadSave(wxCommandEvent&)
{
    LoadSaveSelector dialog(this, wxID_ANY, _(L"载入/保存窗口"));
    dialog.ShowModal();
}

void MyFrame::OnInjectorCalc(wxCommandEvent&)
{
    InjectorCalcDialog dialog(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxDEFAULT_DIALOG_STYLE);
    dialog.ShowModal();
}

void MyFrame::OnServiceInfo(wxCommandEvent&)
{
    // The dialog also shows that no ECU is there; a run is the one refusal.
    // Said in a box: the run's status text would overwrite the status line.
    const EcuAccess access = CheckEcuAccess(EcuPurpose::ServiceInterval);
    if (access == EcuAccess::Calibrating) {
        ShowNotDone(this, _(L"信息服务没有打开。"), RefusalText(access));
        return;
    }
    DiagnosticDialog dialog(this, wxID_ANY, _(L"信息服务 "), wxDefaultPosition, wxDefaultSize,
                            wxDEFAULT_DIALOG_STYLE);
    dialog.ShowModal();
}

void MyFrame::OnClose(wxCloseEvent&)
{
    PrepareExit();
    // The process ends here, as it always has: nothing is torn down after
    // the port is closed and the configuration written.
    std::fflush(nullptr);
    std::_Exit(0);
}
