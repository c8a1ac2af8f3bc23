#include "MapPane.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "CalibrationFsm.h"
#include "CalibrationHost.h"
#include "Controller.h"
#include "ControllerReady.h"
#include "FakeAxis.h"
#include "PlotMap.h"
#include "ReadingTextCtrl.h"
#include "UiUpdates.h"
#include "WireScaling.h"

namespace
{
constexpr int kBorder = 3;
constexpr int kValueBorder = 9;
// m_calibrationTime is in 0.1 ms units.
constexpr double kMsPerUnit = 0.1;
// Widest reading a value text must hold without being cut.
const wchar_t* const kWidestValue = L"000.00";

const wxColour kPetrolColour(255, 0, 0);
const wxColour kGasColour(0, 0, 255);
const wxColour kO2Colour1(255, 0, 255);
const wxColour kO2Colour2(128, 128, 0);

const wchar_t* const kStartLabel = L"自动标定";
const wchar_t* const kStopLabel = L"关闭自动标定 ";
const wchar_t* const kAgainLabel = L"自动修正";
} // namespace

bool gasTemperatureQuestionAnswered = false;

wxBEGIN_EVENT_TABLE(MapPane, wxPanel)
    EVT_BUTTON(MapPane::ID_AUTO_CALIBRATE, MapPane::OnAutoCalibrate)
    EVT_BUTTON(MapPane::ID_ERASE_PETROL, MapPane::OnErasePetrolCurve)
    EVT_BUTTON(MapPane::ID_ERASE_GAS, MapPane::OnEraseGasCurve)
    EVT_CHECKBOX(wxID_ANY, MapPane::OnLock)
    EVT_TIMER(MapPane::ID_MAP_TIMER, MapPane::OnMapTimer)
    EVT_UPDATE_UI_RANGE(MapPane::ID_ERASE_PETROL, MapPane::ID_ERASE_GAS, MapPane::OnUpdateErase)
wxEND_EVENT_TABLE()

// --- Construction and layout ---------------------------------------------------

MapPane::MapPane(wxWindow* parent, wxWindowID id, bool calibrationAllowed, CalibrationHost& host)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER, "panel"),
      m_mapTimer(this, ID_MAP_TIMER),
      m_calibrationAllowed(calibrationAllowed),
      m_host(host)
{
    m_plot = new PlotMap(this, ID_MAP_PLOT, 0);
    m_calibrateButton = new wxButton(this, ID_AUTO_CALIBRATE, _(kStartLabel));
    m_calibrateButton->Show(m_calibrationAllowed);
    m_erasePetrolButton = new wxButton(this, ID_ERASE_PETROL, _(L"擦除汽油曲线"));
    m_lockCheck = new wxCheckBox(this, wxID_ANY, _(L"锁定"));
    m_eraseGasButton = new wxButton(this, ID_ERASE_GAS, _(L"擦除燃气曲线"));
    m_petrolLegend = new wxStaticText(this, wxID_ANY, _(L"汽油"));
    m_petrolLegend->SetForegroundColour(kPetrolColour);
    m_gasLegend = new wxStaticText(this, wxID_ANY, _(L"燃气"));
    m_gasLegend->SetForegroundColour(kGasColour);

    for (const wchar_t* caption : {L"汽油 [ms]", L"燃气 [ms]", L"氧 1 [V]", L"氧 2 [V]"})
        m_valueLabels.push_back(new wxStaticText(this, wxID_ANY, _(caption)));
    // Readings change every frame: drawn by themselves, they neither move
    // the row nor have GTK lay the window out again, shown or not.
    auto value = [this]() {
        auto* text = new ReadingTextCtrl(this, "0.0", kWidestValue);
        // GTK paints a notebook page white whatever colour the panel reports.
        text->SetBackgroundColour(*wxWHITE);
        return text;
    };
    m_gasTimeText = value();
    m_petrolTimeText = value();
    m_o2Text1 = value();
    m_o2Text2 = value();

    const wxColour rowColours[] = {kPetrolColour, kGasColour, kO2Colour1, kO2Colour2};
    ReadingTextCtrl* const rowValues[] = {m_petrolTimeText, m_gasTimeText, m_o2Text1, m_o2Text2};
    for (std::size_t row = 0; row < m_valueLabels.size(); ++row)
    {
        m_valueLabels[row]->SetForegroundColour(rowColours[row]);
        rowValues[row]->SetForegroundColour(rowColours[row]);
    }

    LayoutControls();
    AskForUiUpdates(this, *GetEventTable());
    m_mapTimer.Start(kMapTimerMs, wxTIMER_CONTINUOUS);
}

MapPane::~MapPane()
{
    m_mapTimer.Stop();
    if (theController)
        theController->RemoveObserver(this);
}

void MapPane::LayoutControls()
{
    m_axis = new FakeAxis(this, wxID_ANY, m_plot);
    auto* line = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL,
                                  "staticLine");

    // The column keeps its width whichever label the calibration button shows.
    int buttonWidth = 0;
    for (const wchar_t* label : {kStopLabel, kAgainLabel, kStartLabel})
    {
        m_calibrateButton->SetLabel(_(label));
        buttonWidth = std::max(buttonWidth, m_calibrateButton->GetBestSize().x);
    }
    m_calibrateButton->SetMinSize(wxSize(buttonWidth, -1));

    auto* column = new wxBoxSizer(wxVERTICAL);
    const wxSizerFlags button = wxSizerFlags().Expand().Border(wxALL, kBorder);
    column->Add(m_calibrateButton, button);
    column->Add(m_erasePetrolButton, button);
    column->Add(m_lockCheck, wxSizerFlags().Right().Border(wxALL, kBorder));
    column->Add(m_eraseGasButton, button);

    ReadingTextCtrl* const rowValues[] = {m_petrolTimeText, m_gasTimeText, m_o2Text1, m_o2Text2};
    for (std::size_t i = 0; i < m_valueLabels.size(); ++i)
    {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(m_valueLabels[i], wxSizerFlags().Border(wxLEFT | wxRIGHT, kBorder));
        row->AddStretchSpacer();
        const int sides = rowValues[i] == m_gasTimeText ? wxLEFT | wxRIGHT : wxRIGHT;
        row->Add(rowValues[i], wxSizerFlags().Border(sides, kValueBorder));
        column->Add(row, wxSizerFlags().Expand().Border(wxTOP, kBorder));
    }

    // The legend takes the rest of the height, so the rows follow the buttons.
    auto* legend = new wxBoxSizer(wxVERTICAL);
    legend->Add(m_petrolLegend, wxSizerFlags().Border(wxTOP, kBorder));
    legend->Add(m_gasLegend, wxSizerFlags().Border(wxTOP, kBorder));
    column->Add(legend, wxSizerFlags(1).Expand());

    auto* page = new wxBoxSizer(wxHORIZONTAL);
    page->Add(m_plot, wxSizerFlags(1).Expand());
    page->Add(m_axis, wxSizerFlags().Expand());
    page->Add(line, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 1));
    page->Add(column, wxSizerFlags().Expand());
    SetSizer(page);
    Layout();
}

void MapPane::UpdatePressureAxis()
{
    m_axis->UpdateLabels();
    m_axis->Refresh(true);
}

// --- Controller ------------------------------------------------------------------

void MapPane::OnAttach()
{
    theController->AddObserver(this);
    m_plot->OnAttach();
}

void MapPane::OnControllerData()
{
    const Controller* c = theController;
    if (!c || !MayUseEcu(EcuPurpose::ReadLive))
        return;
    m_o2Text1->SetLabel(wxString::Format("%02.2f", c->GetO2Voltage1()));
    m_o2Text2->SetLabel(wxString::Format("%02.2f", c->GetO2Voltage2()));
    m_petrolTimeText->SetLabel(wxString::Format("%3.1f", c->m_petrolInjectionTimes[0]));
    m_gasTimeText->SetLabel(wxString::Format("%3.2f", c->m_gasInjectionTime));
    if (m_fsm && m_fsm->IsRunning())
        StepCalibration();
    else if (m_stopOwed && CheckEcuAccess(EcuPurpose::SendCommand) == EcuAccess::Open)
    {
        // The car is reached again: it may still be calibrating.
        m_stopOwed = false;
        theController->StopCalibration();
    }
}

MapPane::WireMap MapPane::WireBytes(const double* entries, double toPercent)
{
    WireMap bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = ClampedScaledByte(entries[kFirstSentEntry + i], toPercent);
    return bytes;
}

void MapPane::OnParametersLoaded()
{
    // What the ECU reported is what it holds; the plot shows the same map
    // once it hears of this frame, right after this page.
    if (!theController)
        return;
    m_ecuBytes = WireBytes(theController->m_multiplierMap, 1.0);
    m_ecuPoints = MapModel::LoadedPointTable(theController->m_mapPointIndices);
    m_ecuMapKnown = true;
}

void MapPane::SendMapIfChanged()
{
    if (!m_plot->m_modified)
        return;
    const EcuAccess access = CheckEcuAccess(EcuPurpose::EditSettings);
    if (!Allows(access))
        return;
    // One attempt per change: where it cannot reach the ECU (the demo) it is
    // not tried again on every tick.
    m_plot->m_modified = false;
    const MapModel& model = *m_plot->m_model;
    const double* y = model.GetCurve().GetYData();
    const WireMap bytes = WireBytes(y, 100.0);
    const auto points = model.PointIndexTable();
    if (m_ecuMapKnown && bytes == m_ecuBytes && points == m_ecuPoints)
        return;
    theController->SendMultiplierMap(y);
    theController->SendMapPoints(points.data());
    if (access == EcuAccess::Demo)
        return;
    m_ecuBytes = bytes;
    m_ecuPoints = points;
    m_ecuMapKnown = true;
}

void MapPane::EndRunIfLinkLost()
{
    // No live frame steps the machine once the link is lost: the page ends
    // the run itself. (A link reset, or a port closed and opened again, is
    // the machine's to answer on the next frame, with a stop that then
    // reaches the car.)
    if (m_fsm && m_fsm->IsRunning() && CheckEcuAccess(EcuPurpose::ReadLive) == EcuAccess::LinkLost)
        EndRun(_(L"ECU连接已断开,自动标定已停止"));
}

void MapPane::OnMapTimer(wxTimerEvent&)
{
    SendMapIfChanged();
    EndRunIfLinkLost();
}

// --- Calibration -----------------------------------------------------------------

void MapPane::OnAutoCalibrate(wxCommandEvent&)
{
    if (!theController)
        return;
    if (m_fsm)
    {
        EndRun(_(L"自动标定已关闭"));
        return;
    }
    std::unique_ptr<CalibrationFsm> fsm = StartGasCalibration(this, *theController, m_host);
    if (!fsm)
    {
        Layout();
        return;
    }
    m_plot->Enable(false);
    m_calibratedPoint = wxPoint2DDouble(0.0, 0.0);
    m_calibrateButton->SetLabel(_(kStopLabel));
    m_stopOwed = false;
    m_fsm = std::move(fsm);
    Layout();
}

void MapPane::StepCalibration()
{
    if (!m_fsm || !CheckGasTemperature())
        return;
    // Destroys a machine that finished or stopped, after its Step, before
    // telling this page.
    if (RunCalibrationStep(m_fsm) == -1 && m_fsm)
        m_fsm->Clear();
}

bool MapPane::CheckGasTemperature()
{
    if (gasTemperatureQuestionAnswered || !(theController->m_gasTemperature < 0.0))
        return true;
    m_host.StopPollTimer();
    const int answer = m_host.ShowMessageBox(_(L"燃气温度过低,还要继续吗? "), _(L"警告！ "), wxYES_NO);
    m_host.StartPollTimer();
    if (answer != wxYES)
    {
        // A machine left running would ask again on every frame and could
        // end as a success of a calibration the ECU no longer does.
        EndRun(_(L"燃气温度过低,自动标定已停止"));
        return false;
    }
    gasTemperatureQuestionAnswered = true;
    return true;
}

void MapPane::EndRun(const wxString& reason)
{
    // Without a live line the stop cannot reach the car now; it goes once
    // the link is back.
    m_stopOwed = !MayUseEcu(EcuPurpose::ReadLive);
    m_fsm->Stop(reason);
    m_fsm.reset();
    ShowIdle(_(kStartLabel));
}

bool MapPane::EndCalibration(const wxString& reason)
{
    if (!m_fsm)
        return false;
    EndRun(reason);
    return true;
}

void MapPane::ShowIdle(const wxString& label)
{
    m_calibrateButton->SetLabel(label);
    m_plot->Enable(true);
    Layout();
}

void MapPane::OnCalibrationStopped()
{
    ShowIdle(_(kStartLabel));
}

void MapPane::OnCalibrationFinished()
{
    m_calibratedPoint = wxPoint2DDouble(1.0, 1.0);
    if (!theController || !theController->m_calibrating)
    {
        // Nothing the ECU learned backs this run: no map from a made-up point.
        ShowIdle(_(kStartLabel));
        return;
    }
    Controller& c = *theController;
    m_calibratedPoint = wxPoint2DDouble(c.m_calibrationTime * kMsPerUnit, c.m_calibrationAverage);
    c.FinishCalibration();
    m_plot->BuildCalibratedMap(m_calibratedPoint);
    ShowIdle(_(kAgainLabel));
    m_host.SetStatusMessage(_(L"自动标定完成."));
    // Shown from inside the live-data notification, the box's own loop
    // would run poll ticks within the tick that is still parsing.
    CallAfter(&MapPane::ShowCalibrationDone);
}

void MapPane::ShowCalibrationDone()
{
    // Polling goes on while the box is open; the map goes out meanwhile.
    m_host.ShowMessageBox(_(L"自动标定完成."), _(kAgainLabel), wxOK);
    Layout();
    if (theController)
        theController->RequestParameters();
}

// --- Erase and lock --------------------------------------------------------------

void MapPane::OnErasePetrolCurve(wxCommandEvent&)
{
    if (MayErase(_(L"ECU中的汽油曲线未擦除。")))
        theController->ErasePetrolCurve();
    m_plot->ClearPetrolCurve();
}

void MapPane::OnEraseGasCurve(wxCommandEvent&)
{
    if (MayErase(_(L"ECU中的燃气曲线未擦除。")))
        theController->EraseGasCurve();
    m_plot->ClearGasCurve();
}

bool MapPane::MayErase(const wxString& notDone)
{
    const EcuAccess access = CheckEcuAccess(EcuPurpose::SendCommand);
    if (!Allows(access))
        m_host.ShowMessageBox(notDone + "\n" + RefusalText(access), _(L"提示"), wxOK | wxICON_WARNING);
    return Allows(access);
}

void MapPane::OnUpdateErase(wxUpdateUIEvent& event)
{
    // The run learns from the ECU's curves.
    EnableUnlessRunning(event, EcuPurpose::SendCommand);
}

void MapPane::OnLock(wxCommandEvent&)
{
    m_plot->m_unlocked = !m_lockCheck->IsChecked();
}
