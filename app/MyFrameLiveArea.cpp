// The main window's live-readings area: what the ECU reports right now,
// below the notebook whatever page is shown. Members of MyFrame.
//
// Contents:
//   Layout
//   Live data and parameters
//   Injector check boxes and fuel switch

#include "MyFrame.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "Controller.h"
#include "FilledBoxCtrl.h"
#include "GaugeValue.h"
#include "LevelBarCtrl.h"
#include "ReadingTextCtrl.h"
#include "ReadyCheck.h"
#include "SettingsFileTransfer.h"
#include "UiUpdates.h"

namespace
{
const wxColour kLabelBackground(192, 192, 192);
const wxColour kTimeBackground(0, 0, 0);
const wxColour kTimeForeground(0, 255, 0);
const wxColour kPetrolColour(255, 0, 0);
const wxColour kGasColour(0, 0, 255);
const wxColour kLevelLampColour(64, 128, 64);
const wxColour kFuelButtonColour(195, 195, 195);
const int kInjectionGaugeRange = 30;

// Colours of the cylinder swatches (background, text).
const wxColour kSwatchColours[MyFrame::kCylinders] = {
    wxColour(128, 90, 0),  wxColour(255, 180, 205), wxColour(255, 163, 0), wxColour(255, 255, 0),
    wxColour(0, 127, 0),   wxColour(0, 0, 253),     wxColour(129, 0, 127), wxColour(195, 195, 195)};

wxFont LabelFont()
{
    // Tahoma is a Windows face; on GTK the labels take the default face, bold.
    return wxFont(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
}
} // namespace

// --- Layout ---

void MyFrame::CreateLiveArea(wxSizer* frameSizer)
{
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
}

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
        const char* widest; // the longest the payload can make it
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
            *r.value = new ReadingTextCtrl(box, r.initial, r.widest, font);
            rows->Add(name, wxSizerFlags().CenterVertical().Expand());
            rows->Add(check, wxSizerFlags().CenterVertical());
            rows->Add(*r.value, wxSizerFlags().CenterVertical().Expand());
        }
        boxSizer->Add(rows, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 3));
        quad->Add(boxSizer, wxSizerFlags().Expand().Border(wxALL, 1));
    };
    // Pressures: 16 bits of 0.01 bar; temperatures: -128..127 degrees;
    // oxygen sensors 0..5 V, battery up to 16.3 V; speed: 8 bits of 100 rpm.
    addGroup(L"燃气[Bar]", {{L"燃气", ChannelColours[0], &m_gasPressureText, "25.5", "000.00"},
                            {L"歧管", ChannelColours[1], &m_manifoldPressureText, "25.5", "000.00"}});
    addGroup(L"温度[C]", {{L"燃气", ChannelColours[7], &m_gasTemperatureText, "25.5", "-000.0"},
                          {L"减压器", ChannelColours[8], &m_reducerTemperatureText, "25.5", "-000.0"}});
    addGroup(L"电压[V]", {{L"氧 1", ChannelColours[3], &m_o2Voltage1Text, "25.5", "0.00"},
                          {L"氧 2", ChannelColours[4], &m_o2Voltage2Text, "25.5", "0.00"},
                          {L"电瓶", ChannelColours[2], &m_batteryVoltageText, "25.5", "00.00"}});
    addGroup(L"转速[Rpm]", {{L"转速", ChannelColours[9], &m_rpmText, "0000", "00000"}});

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

    // Eight columns wide enough for the longest times the ECU can report
    // fit beside the other boxes only in a smaller face.
    const wxFont timeFont(wxFontInfo(8));
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < kCylinders; ++i) {
        auto* column = new wxBoxSizer(wxVERTICAL);

        auto* top = new wxBoxSizer(wxHORIZONTAL);
        // 16 bits of 0.1 ms: up to 6553.5.
        m_petrolTimeTexts[i] = new ReadingTextCtrl(m_injectionBox, "0.0", "0000.0", timeFont);
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

        // The check box sits above the gas time, which needs the column's
        // whole width.
        auto* bottom = new wxBoxSizer(wxVERTICAL);
        auto* check = new wxCheckBox(m_injectionBox, ID_INJECTOR_CHECK_FIRST + i, wxEmptyString);
        m_injectorChecks.push_back(check);
        // 24 bits of 0.001 ms: up to 16777.22.
        ReadingTextCtrl* gasText = new ReadingTextCtrl(m_injectionBox, "0.0", "00000.00", timeFont);
        gasText->SetBackgroundColour(kTimeBackground);
        gasText->SetForegroundColour(kTimeForeground);
        m_gasTimeTexts.push_back(gasText);
        bottom->Add(check, wxSizerFlags().Center());
        bottom->AddSpacer(1);
        bottom->Add(gasText, wxSizerFlags().Center());

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
    m_fuelButton->SetBackgroundColour(kFuelButtonColour);
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
        // "LIGHT GREY" without a lookup in the colour database per frame.
        static const wxColour kOnGas(0, 255, 0), kOffGas("LIGHT GREY");
        const wxColour& background = on ? kOnGas : kOffGas;
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
    // A settings file may wait for this frame.
    m_fileTransfer->ParametersApplied();
    // The frame may bring another engine type, and with it another scale.
    UpdatePressureAxis();
    const wxString label = c->m_onGas ? _(L"燃气 ") : _(L"汽油 ");
    if (m_fuelButton->GetLabel() != label) {
        m_fuelButton->SetLabel(label);
        m_fuelButton->Refresh();
    }
    const int code = c->m_cylinderCode;
    if (code < 0 || code > 7)
        return;
    m_injectorsInUse = code == 7 ? 2 : code == 6 ? 1 : 3 + code;
    // At once, not at the next idle time.
    m_injectionBox->UpdateWindowUI(wxUPDATE_UI_RECURSE);
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

void MyFrame::OnInjectorCheck(wxCommandEvent& event)
{
    if (!theController)
        return;
    const unsigned char mask = TickedInjectorMask();
    // No cylinder left on gas means petrol for all of them.
    const bool asked = RequestFuel(mask != 0 && theController->m_onGas != 0, mask);
    // A refused tick must not stand for a cylinder the ECU has not switched.
    auto* check = wxDynamicCast(event.GetEventObject(), wxCheckBox);
    if (!asked && check)
        check->SetValue(!check->GetValue());
}

void MyFrame::OnFuelSwitch(wxCommandEvent&)
{
    if (!theController)
        return;
    const bool gas = !theController->m_onGas;
    // The label follows when the ECU's next live frame reports the new fuel.
    RequestFuel(gas, gas ? TickedInjectorMask() : 0);
}

bool MyFrame::RequestFuel(bool gas, unsigned char mask)
{
    // The calibration drives the fuel through the controller itself; only
    // the user's controls ask here.
    if (!Allows(AskEcuAccess(this, EcuPurpose::SwitchFuel, _(L"燃料没有切换。"))))
        return false;
    theController->SwitchFuel(gas, mask);
    return true;
}

void MyFrame::OnUpdateFuelControl(wxUpdateUIEvent& event)
{
    // During a run only the run switches fuel: a press would put the car on
    // petrol in the middle of a gas phase.
    const int cylinder = event.GetId() - ID_INJECTOR_CHECK_FIRST;
    EnableUnlessRunning(event, EcuPurpose::SwitchFuel,
                        event.GetId() == ID_FUEL_SWITCH || cylinder < m_injectorsInUse);
}
