// The main window.
//
// Contents:
//   Shared tables
//   Construction: frame, toolbar, status line, notebook
//   Live-readings area: layout
//   Forwarders and the controller host
//   Configuration ("Oskat.ini")
//   Poll timer and tools
//   Live data and parameters
//   Injector check boxes and fuel switch

#include "MyFrame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/sstream.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/wfstream.h>

#include "AboutDialog.h"
#include "AppResources.h"
#include "Controller.h"
#include "FilledBoxCtrl.h"
#include "InjectorCalcDialog.h"
#include "LevelBarCtrl.h"
#include "PanelCS.h"
#include "ReadingTextCtrl.h"
#include "SerialPortDialog.h"
#include "SerialPortList.h"

namespace
{
const wxColour kLabelBackground(192, 192, 192);
const wxColour kTimeBackground(0, 0, 0);
const wxColour kTimeForeground(0, 255, 0);
const wxColour kPetrolColour(255, 0, 0);
const wxColour kGasColour(0, 0, 255);
const wxColour kLevelLampColour(64, 128, 64);
const wxColour kToolBarColour(195, 195, 195);
const int kInjectionGaugeRange = 30;
const int kProgressRange = 14;

// Colours of the cylinder swatches (background, text).
const wxColour kSwatchColours[MyFrame::kCylinders] = {
    wxColour(128, 90, 0),  wxColour(255, 180, 205), wxColour(255, 163, 0), wxColour(255, 255, 0),
    wxColour(0, 127, 0),   wxColour(0, 0, 253),     wxColour(129, 0, 127), wxColour(195, 195, 195)};

const wchar_t* const kDemoOnLabel = L"关闭演示";
const wchar_t* const kDemoOnHelp = L"软件进入关闭演示模式";
const wchar_t* const kDemoOffLabel = L"启动演示";
const wchar_t* const kDemoOffHelp = L"软件进入演示模式";
const wchar_t* const kLinkUp = L"ECU连接";
const wchar_t* const kLinkDown = L"ECU断开";

wxFont LabelFont()
{
    // Tahoma is a Windows face; on GTK the labels take the default face, bold.
    return wxFont(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
}

// Gauges assert on values beyond their range; the line can send anything.
// The fraction is cut off, as the readings are shown.
template <class Gauge>
void SetGaugeValue(Gauge* gauge, double value)
{
    const int range = gauge->GetRange();
    int v = 0;
    if (value > 0)
        v = value >= range ? range : static_cast<int>(value);
    if (gauge->GetValue() != v)
        gauge->SetValue(v);
}
}

// --- Shared tables ---

const wxColour ChannelColours[10] = {
    wxColour(117, 255, 0),   wxColour(128, 0, 128), wxColour(248, 183, 244), wxColour(165, 42, 42),
    wxColour(105, 105, 105), wxColour(255, 0, 0),   wxColour(0, 0, 255),     wxColour(255, 255, 0),
    wxColour(255, 165, 0),   wxColour(162, 255, 255)};

int LampBlinkCounter = 0;

bool IsControllerReady(bool)
{
    return theController && theController->m_online && !theController->m_calibrating;
}

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
wxEND_EVENT_TABLE()

// --- Construction: frame, toolbar, status line, notebook ---

MyFrame::MyFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                 const wxSize& size, const wxString& configPath)
    : wxFrame(parent, id, title, pos, size, wxDEFAULT_FRAME_STYLE, "frame"),
      m_pollTimer(this, ID_POLL_TIMER),
      m_configPath(configPath)
{
    BuildToolBar();
    BuildStatusLine();
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    // Every repaint below the readings asks the frame for its font and
    // colour; without own ones wxGTK looks them up in the theme each time.
    SetOwnFont(GetFont());
    SetOwnForegroundColour(GetForegroundColour());
    CreateControls();

    wxASSERT_MSG(!theController, "MyFrame: one main window, one controller");
    theController = new Controller;
    m_ownsController = true;
    theController->SetHost(this);
    OnAttach();
    LoadPortConfig();
    FindPortIndex();
    // An empty name opens nothing: there is no port to try until one is chosen.
    if (!m_portDevice.empty())
        theController->OpenPort(m_portDevice);
}

MyFrame::~MyFrame()
{
    m_pollTimer.Stop();
    // Only tests destroy the frame; the program ends in OnClose without it.
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

    // Their dialogs (settings files, service information) are not part of
    // the program yet.
    m_toolBar->EnableTool(ID_TOOL_LOAD_SAVE, false);
    m_toolBar->EnableTool(ID_TOOL_SERVICE, false);
}

void MyFrame::BuildStatusLine()
{
    m_statusBar = CreateStatusBar(3, wxSTB_DEFAULT_STYLE, wxID_ANY, "status_line");
    const int widths[3] = {100, 200, -1};
    m_statusBar->SetStatusWidths(3, widths);
    m_progressGauge = new wxGauge(m_statusBar, wxID_ANY, kProgressRange, wxPoint(310, 4),
                                  wxSize(200, 15), wxGA_HORIZONTAL | wxGA_SMOOTH,
                                  wxDefaultValidator, "gauge");
    m_progressGauge->Hide();
    m_statusBar->Bind(wxEVT_SIZE, &MyFrame::OnStatusBarSize, this);
    PlaceProgressGauge();
}

void MyFrame::PlaceProgressGauge()
{
    // Field 2 starts where the fixed fields end; the gauge sits at its left,
    // centred in the bar's height (which GTK makes taller than Windows).
    wxRect field;
    if (!m_statusBar->GetFieldRect(2, field))
        return;
    const int height = std::min(15, std::max(6, field.height - 2));
    m_progressGauge->SetSize(field.x + 8, field.y + (field.height - height) / 2, 200, height);
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

    // The pages arrive one by one; until then each tab says so.
    auto comingPage = [this]() {
        auto* page = new wxPanel(m_notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxTAB_TRAVERSAL, "panel");
        auto* note = new wxStaticText(page, wxID_ANY, _(L"此页尚在开发中，将在后续版本中提供。"));
        note->SetFont(wxFont(wxFontInfo(10)));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->AddStretchSpacer();
        sizer->Add(note, wxSizerFlags().Center());
        sizer->AddStretchSpacer();
        page->SetSizer(sizer);
        return page;
    };
    m_settingsPage = new PanelCS(m_notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    m_mapPage = comingPage();
    m_faultPage = comingPage();
    m_oscylPage = comingPage();
    m_notebook->AddPage(m_settingsPage, _(L"参数"), true);
    m_notebook->AddPage(m_mapPage, _(L"调试图表"));
    m_notebook->AddPage(m_faultPage, _(L"故障"));
    m_notebook->AddPage(m_oscylPage, _(L"示波器"));

    grid->Add(m_notebook, wxSizerFlags().Expand().Border(wxALL, 1));
    frameSizer->Add(grid, wxSizerFlags(1).Expand());

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    CreateLiveBox(row);
    CreateInjectionBox(row);
    CreateFuelBox(row);
    auto* outer = new wxBoxSizer(wxHORIZONTAL);
    outer->Add(row, wxSizerFlags(1).Border(wxALL, 2));
    // GTK's controls are taller than the area's share of the window would
    // allow: the readings keep their natural height and the notebook takes
    // the rest.
    frameSizer->Add(outer, wxSizerFlags().Expand());

    SetSizer(frameSizer);
    Layout();
}

// --- Live-readings area: layout ---

void MyFrame::CreateLiveBox(wxSizer* row)
{
    m_liveBox = new wxStaticBox(this, wxID_ANY, wxEmptyString);
    auto* liveSizer = new wxStaticBoxSizer(m_liveBox, wxVERTICAL);
    auto* quad = new wxFlexGridSizer(2, 2, 0, 0);

    const wxFont font = LabelFont();
    // One labelled group of reading rows: name label, a check box no handler
    // reads, the value.
    struct Reading
    {
        const wchar_t* name;
        wxColour colour;
        ReadingTextCtrl** value;
        const char* initial;
    };
    auto addGroup = [&](const wchar_t* title, std::initializer_list<Reading> readings) {
        auto* box = new wxStaticBox(m_liveBox, wxID_ANY, _(title));
        auto* boxSizer = new wxStaticBoxSizer(box, wxVERTICAL);
        auto* rows = new wxFlexGridSizer(3, 2, 4);
        rows->AddGrowableCol(2);
        for (const Reading& r : readings) {
            auto* name = new wxStaticText(box, wxID_ANY, _(r.name));
            name->SetFont(font);
            name->SetForegroundColour(r.colour);
            name->SetBackgroundColour(kLabelBackground);
            auto* check = new wxCheckBox(box, wxID_ANY, wxEmptyString);
            *r.value = new ReadingTextCtrl(box, r.initial, "-128.0", font);
            rows->Add(name, wxSizerFlags().CenterVertical().Expand());
            rows->Add(check, wxSizerFlags().CenterVertical());
            rows->Add(*r.value, wxSizerFlags().CenterVertical().Expand());
        }
        boxSizer->Add(rows, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 3));
        quad->Add(boxSizer, wxSizerFlags().Expand().Border(wxALL, 1));
    };
    addGroup(L"燃气[Bar]", {{L"燃气", ChannelColours[0], &m_gasPressureText, "25.5"},
                            {L"歧管", ChannelColours[1], &m_manifoldPressureText, "25.5"}});
    addGroup(L"温度[C]", {{L"燃气", ChannelColours[7], &m_gasTemperatureText, "25.5"},
                          {L"减压器", ChannelColours[8], &m_reducerTemperatureText, "25.5"}});
    addGroup(L"电压[V]", {{L"氧 1", ChannelColours[3], &m_o2Voltage1Text, "25.5"},
                          {L"氧 2", ChannelColours[4], &m_o2Voltage2Text, "25.5"},
                          {L"电瓶", ChannelColours[2], &m_batteryVoltageText, "25.5"}});
    addGroup(L"转速[Rpm]", {{L"转速", ChannelColours[9], &m_rpmText, "0000"}});

    liveSizer->Add(quad, wxSizerFlags(1).Expand());
    row->Add(liveSizer, wxSizerFlags().Expand());
}

void MyFrame::CreateInjectionBox(wxSizer* row)
{
    m_injectionBox = new wxStaticBox(this, wxID_ANY, _(L"喷嘴脉宽"));
    auto* boxSizer = new wxStaticBoxSizer(m_injectionBox, wxVERTICAL);

    auto* captions = new wxBoxSizer(wxHORIZONTAL);
    auto* petrolCaption = new wxStaticText(m_injectionBox, wxID_ANY, _(L"汽油[mS]"));
    petrolCaption->SetForegroundColour(kPetrolColour);
    auto* gasCaption = new wxStaticText(m_injectionBox, wxID_ANY, _(L"燃气[mS]"));
    gasCaption->SetForegroundColour(kGasColour);
    captions->AddStretchSpacer();
    captions->Add(petrolCaption);
    captions->AddStretchSpacer(2);
    captions->Add(gasCaption);
    captions->AddStretchSpacer();
    boxSizer->Add(captions, wxSizerFlags().Expand().Border(wxBOTTOM, 2));

    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < kCylinders; ++i) {
        auto* column = new wxBoxSizer(wxVERTICAL);

        auto* top = new wxBoxSizer(wxHORIZONTAL);
        m_petrolTimeTexts[i] = new ReadingTextCtrl(m_injectionBox, "0.0", "88.8");
        m_petrolTimeTexts[i]->SetBackgroundColour(kTimeBackground);
        m_petrolTimeTexts[i]->SetForegroundColour(kTimeForeground);
        // Text and background share the colour, so "111" shows as a patch;
        // a narrow one leaves room for eight columns on GTK.
        m_cylinderSwatches[i] = new wxStaticText(m_injectionBox, wxID_ANY, "111",
                                                 wxDefaultPosition, wxSize(14, -1),
                                                 wxST_NO_AUTORESIZE);
        m_cylinderSwatches[i]->SetMinSize(wxSize(14, m_petrolTimeTexts[i]->GetMinSize().y));
        m_cylinderSwatches[i]->SetBackgroundColour(kSwatchColours[i]);
        m_cylinderSwatches[i]->SetForegroundColour(i == 7 ? wxColour(195, 196, 195)
                                                          : kSwatchColours[i]);
        top->Add(m_petrolTimeTexts[i], wxSizerFlags().CenterVertical());
        top->AddSpacer(2);
        top->Add(m_cylinderSwatches[i], wxSizerFlags().CenterVertical());

        auto* bars = new wxBoxSizer(wxHORIZONTAL);
        auto makeBar = [this](const wxColour& colour) {
            auto* bar = new LevelBarCtrl(m_injectionBox, wxID_ANY, kInjectionGaugeRange,
                                         wxDefaultPosition, wxSize(20, 95));
            bar->SetMinSize(wxSize(20, 95));
            bar->SetBackgroundColour(*wxBLACK);
            bar->SetForegroundColour(colour);
            return bar;
        };
        m_petrolTimeGauges[i] = makeBar(kPetrolColour);
        LevelBarCtrl* gasBar = makeBar(kGasColour);
        m_gasTimeGauges.push_back(gasBar);
        bars->Add(m_petrolTimeGauges[i], wxSizerFlags().Expand());
        bars->AddSpacer(4);
        bars->Add(gasBar, wxSizerFlags().Expand());

        auto* bottom = new wxBoxSizer(wxHORIZONTAL);
        auto* check = new wxCheckBox(m_injectionBox, ID_INJECTOR_CHECK_FIRST + i, wxEmptyString);
        m_injectorChecks.push_back(check);
        ReadingTextCtrl* gasText = new ReadingTextCtrl(m_injectionBox, "0.0", "88.88");
        gasText->SetBackgroundColour(kTimeBackground);
        gasText->SetForegroundColour(kTimeForeground);
        m_gasTimeTexts.push_back(gasText);
        bottom->Add(check, wxSizerFlags().CenterVertical());
        bottom->Add(gasText, wxSizerFlags().CenterVertical());

        column->Add(top, wxSizerFlags().Center());
        column->AddSpacer(3);
        column->Add(bars, wxSizerFlags(1).Center());
        column->AddSpacer(3);
        column->Add(bottom, wxSizerFlags().Center());
        columns->Add(column, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 1));
    }
    boxSizer->Add(columns, wxSizerFlags(1).Expand());
    row->Add(boxSizer, wxSizerFlags().Expand());
}

void MyFrame::CreateFuelBox(wxSizer* row)
{
    m_fuelBox = new wxStaticBox(this, wxID_ANY, _(L"燃料切换"));
    auto* boxSizer = new wxStaticBoxSizer(m_fuelBox, wxVERTICAL);

    auto makeLamp = [this]() {
        auto* lamp = new FilledBoxCtrl(m_fuelBox, wxID_ANY, 0, 0, 16, 16);
        lamp->SetMinSize(wxSize(16, 16));
        m_lamps.push_back(lamp);
        return lamp;
    };
    auto* levelRow = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            levelRow->AddSpacer(8);
        levelRow->Add(makeLamp());
    }

    auto* switchRow = new wxBoxSizer(wxHORIZONTAL);
    FilledBoxCtrl* statusLamp = makeLamp();
    m_fuelButton = new wxButton(m_fuelBox, ID_FUEL_SWITCH, _(L"燃气 "));
    m_fuelButton->SetForegroundColour(kGasColour);
    m_fuelButton->SetBackgroundColour(kToolBarColour);
    switchRow->Add(statusLamp, wxSizerFlags().CenterVertical().Border(wxLEFT, 8));
    switchRow->AddStretchSpacer();
    switchRow->Add(m_fuelButton, wxSizerFlags().CenterVertical());

    // Lamp 0 (empty tank) keeps its yellow and starts unlit; the others
    // start lit.
    for (int i = 1; i < kLamps; ++i) {
        m_lamps[i]->SetColour(kLevelLampColour);
        m_lamps[i]->m_lit = true;
    }

    boxSizer->Add(levelRow, wxSizerFlags().Center().Border(wxALL, 4));
    boxSizer->AddSpacer(6);
    boxSizer->Add(switchRow, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    // The last box takes what the row leaves, so the area ends where the
    // notebook does.
    row->Add(boxSizer, wxSizerFlags(1).Expand());
}

// --- Forwarders and the controller host ---

void MyFrame::SetStatusMessage(const wxString& text)
{
    SetStatusText(text, 1);
}

void MyFrame::ShowProgress(bool show)
{
    m_progressGauge->Show(show);
    if (!show)
        SetStatusText(wxEmptyString, 1);
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
    // The settings page calls this on every engine-type choice; the map
    // page and its pressure axis are not part of the program yet, so there
    // is nothing to redraw.
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

void MyFrame::Sleep(int milliseconds)
{
    wxMilliSleep(milliseconds);
}

void MyFrame::OnAttach()
{
    // The pages that observe the controller register here, before the frame,
    // once they exist.
    if (m_settingsPage)
        m_settingsPage->OnAttach();
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

void MyFrame::PrepareExit()
{
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
        theController->m_demoMode = 0;
        SetToolLabel(ID_TOOL_DEMO, _(kDemoOffLabel), _(kDemoOffHelp));
    } else {
        SetToolLabel(ID_TOOL_DEMO, _(kDemoOnLabel), _(kDemoOnHelp));
        theController->m_demoMode = 1;
        theController->m_linkLost = 0;
        theController->m_missCount = 0;
        theController->m_request.m_header = 0xAA;
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
        // Polling stays off until the port tool (or demo) is used again.
        StopPollTimer();
        theController->ClosePort();
        SetStatusText(kLinkDown, 0);
        theController->m_connected = 0;
        theController->m_missCount = 11;
        return;
    }

    theController->m_demoMode = 0;
    SerialPortDialog dialog(nullptr, wxID_ANY, _(L"选择端口"), pos, wxDefaultSize,
                            wxDEFAULT_DIALOG_STYLE);
    dialog.FillPortList(m_portIndex);
    dialog.SetConnectLabel(_(L"选择端口"));
    if (dialog.ShowModal() == SerialPortDialog::RESULT_CONNECT) {
        m_portName = dialog.GetChosenName();
        m_portIndex = dialog.GetChosenIndex();
        m_portDevice = DevicePath(m_portName);
        theController->OpenPort(m_portDevice);
        theController->ResetLink();
        theController->m_missCount = 0;
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
    // The settings-file dialog is not part of the program yet (tool disabled).
}

void MyFrame::OnInjectorCalc(wxCommandEvent&)
{
    InjectorCalcDialog dialog(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxDEFAULT_DIALOG_STYLE);
    dialog.ShowModal();
}

void MyFrame::OnServiceInfo(wxCommandEvent&)
{
    // The service dialog is not part of the program yet (tool disabled).
}

void MyFrame::OnClose(wxCloseEvent&)
{
    PrepareExit();
    // The process ends here, as it always has: nothing is torn down after
    // the port is closed and the configuration written.
    std::fflush(nullptr);
    std::_Exit(0);
}

// --- Live data and parameters ---

void MyFrame::ShowFuel(const wxString& label, const wxColour& background)
{
    bool changed = false;
    // GTK rebuilds a button's label on every set; skip it when unchanged.
    if (m_fuelButton->GetLabel() != label) {
        m_fuelButton->SetLabel(label);
        changed = true;
    }
    changed |= m_fuelButton->SetForegroundColour(*wxWHITE);
    changed |= m_fuelButton->SetBackgroundColour(background);
    // GTK does not always redraw a restyled button of its own accord.
    if (changed)
        m_fuelButton->Refresh();
}

void MyFrame::OnControllerData()
{
    Controller* c = theController;
    if (!c)
        return;
    c->m_online = 1;

    const bool statusLampWas = m_lamps[5]->m_lit;
    if (c->m_onGas) {
        ShowGasRows(c->m_gasCylinderMask);
        ShowFuel(_(L"燃气 "), kGasColour);
        const int stage = c->GetGasLevelStage();
        const bool lit[5] = {stage == 0, stage > 0, stage > 1, stage > 2, stage == 4};
        for (int i = 0; i < 5; ++i) {
            if (m_lamps[i]->m_lit != lit[i]) {
                m_lamps[i]->m_lit = lit[i];
                m_lamps[i]->Refresh(false);
            }
        }
        if (!c->m_statusBit1)
            m_lamps[5]->m_lit = true;
    } else {
        ShowPetrolRows();
        ShowFuel(_(L"汽油 "), kPetrolColour);
        m_lamps[5]->m_lit = false;
    }

    m_gasPressureText->SetLabel(wxString::Format("%3.2f", c->m_gasPressure));
    m_manifoldPressureText->SetLabel(wxString::Format("%3.2f", c->m_manifoldPressure));
    m_gasTemperatureText->SetLabel(wxString::Format("%3.1f", c->m_gasTemperature));
    m_reducerTemperatureText->SetLabel(wxString::Format("%3.1f", c->m_reducerTemperature));
    m_o2Voltage1Text->SetLabel(wxString::Format("%02.2f", c->GetO2Voltage1()));
    m_o2Voltage2Text->SetLabel(wxString::Format("%02.2f", c->GetO2Voltage2()));
    m_batteryVoltageText->SetLabel(wxString::Format("%02.2f", c->m_supplyVoltage));
    m_rpmText->SetLabel(wxString::Format("%4.0f", c->m_rpm * 100));

    for (int i = 0; i < kCylinders; ++i) {
        const double ms = c->m_petrolInjectionTimes[i];
        m_petrolTimeTexts[i]->SetLabel(wxString::Format("%3.1f", ms));
        SetGaugeValue(m_petrolTimeGauges[i], ms);
    }

    if (c->m_statusBit1) {
        ++LampBlinkCounter;
        m_lamps[5]->m_lit = (LampBlinkCounter % 2) != 0;
        if (LampBlinkCounter >= 9999)
            LampBlinkCounter = 0;
    }
    if (m_lamps[5]->m_lit != statusLampWas)
        m_lamps[5]->Refresh(false);
}

void MyFrame::ShowGasRows(unsigned char mask)
{
    const double gasMs = theController ? theController->m_gasInjectionTime : 0.0;
    for (int i = 0; i < kCylinders; ++i) {
        const bool on = (mask >> i) & 1;
        wxCheckBox* check = m_injectorChecks[i];
        if (check->GetValue() != on)
            check->SetValue(on);
        const wxColour background = on ? wxColour(0, 255, 0) : wxColour("LIGHT GREY");
        if (check->GetBackgroundColour() != background) {
            check->SetBackgroundColour(background);
            check->Refresh();
        }
        m_gasTimeTexts[i]->SetLabel(wxString::Format("%3.2f", on ? gasMs : 0.0));
        SetGaugeValue(m_gasTimeGauges[i], on ? gasMs : 0.0);
    }
}

void MyFrame::ShowPetrolRows()
{
    for (int i = 0; i < kCylinders; ++i) {
        m_gasTimeTexts[i]->SetLabel("0.00");
        SetGaugeValue(m_gasTimeGauges[i], 0);
    }
}

void MyFrame::OnParametersLoaded()
{
    Controller* c = theController;
    if (!c)
        return;
    const wxString label = c->m_onGas ? _(L"燃气 ") : _(L"汽油 ");
    if (m_fuelButton->GetLabel() != label) {
        m_fuelButton->SetLabel(label);
        m_fuelButton->Refresh();
    }
    const int code = c->m_cylinderCode;
    if (code < 0 || code > 7)
        return;
    const int n = code == 7 ? 2 : code == 6 ? 1 : 3 + code;
    for (int i = 0; i < kCylinders; ++i)
        m_injectorChecks[i]->Enable(i < n);
}

// --- Injector check boxes and fuel switch ---

unsigned char MyFrame::TickedInjectorMask() const
{
    unsigned mask = 0;
    for (int i = 0; i < kCylinders; ++i) {
        if (m_injectorChecks[i]->GetValue())
            mask |= 1u << i;
    }
    return static_cast<unsigned char>(mask);
}

void MyFrame::OnInjectorCheck(wxCommandEvent&)
{
    if (!theController)
        return;
    const unsigned char mask = TickedInjectorMask();
    // No cylinder left on gas means petrol for all of them.
    if (mask != 0)
        RequestFuel(theController->m_onGas != 0, mask);
    else
        RequestFuel(false, 0);
}

void MyFrame::OnFuelSwitch(wxCommandEvent&)
{
    if (!theController)
        return;
    const bool gas = !theController->m_onGas;
    // The label follows when the ECU's next live frame reports the new fuel.
    RequestFuel(gas, gas ? TickedInjectorMask() : 0);
}

void MyFrame::RequestFuel(bool gas, unsigned char mask)
{
    theController->SwitchFuel(gas, mask);
}
