// The settings page.
//
// Contents:
//   Rows: what each choice and spin control shows and sends
//   Construction and layout
//   Refresh from the controller
//   Edits

#include "PanelCS.h"
#include "UiUpdates.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include "Controller.h"
#include "ControllerReady.h"
#include "InjectorsDialog.h"
#include "MyFrame.h"
#include "WireScaling.h"
#include "qiliangxianshi.h"
#include "wxSpinCtrlDbl.h"
#include "wxSpinCtrlDblTextCtrl.h"

namespace
{
const wxColour kMarkColour(200, 0, 0);
const wxColour kPressureText(0, 255, 0);
const wxColour kPressureBackground(0, 0, 0);

wxFont BoldFont(int points)
{
    // Tahoma is a Windows face; on GTK the page takes the default face, bold.
    return wxFont(points, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
}

// --- Rows: what each choice and spin control shows and sends ---

// Rows flagged in `translated` pass through the translation lookup.
struct ChoiceRow
{
    int id;
    const wchar_t* label;
    int labelPoints;
    std::initializer_list<const wchar_t*> rows;
    unsigned translated;
    // The ECU's value, and the row that shows it (outside the rows: none).
    int (*raw)(const Controller&);
    int (*rowOf)(int raw);
    void (*write)(Controller&, int row);
};

int Same(int raw)
{
    return raw;
}

const wchar_t* const kPressureSensors[] = {L"Oskat-V1", L"Oskat-P4", L"Oskat-P3", L"Oskat-P2",
                                           L"Oskat-P1"};
const wchar_t* const kTemperatureSensors[] = {L"Oskat-T3", L"Oskat-T3", L"Oskat-T2", L"Oskat-T1"};

const ChoiceRow kChoiceRows[PanelCS::CHOICE_COUNT] = {
    {PanelCS::ID_CYLINDERS, L"气缸数", 10,
     {L"3缸", L"4缸", L"5缸", L"6缸", L"7缸", L"8缸", L"1 cylinder motor-bike", L"2 cylinder motor-bike"},
     0xC0, [](const Controller& c) { return int(c.m_cylinderCode); }, Same,
     [](Controller& c, int row) { c.SetCylinderCode(row); }},
    {PanelCS::ID_ENGINE_TYPE, L"发动机类型", 10, {L"自然吸气", L"增压"}, 0,
     [](const Controller& c) { return int(c.m_turbo); }, Same,
     [](Controller& c, int row) { c.SetTurbo(row == 1); }},
    {PanelCS::ID_IGNITION_COILS, L"气缸点火线圈数量", 10,
     {L"单线圈", L"双缸同时", L"3 缸", L"4 缸", L"5 缸", L"6 缸", L"8 缸"}, 0,
     [](const Controller& c) { return int(c.GetIgnitionCoils()); }, Same,
     [](Controller& c, int row) { c.SetIgnitionCoils(row); }},
    {PanelCS::ID_RPM_SIGNAL, L"转速信号", 10, {L"5v", L"12v"}, 0,
     [](const Controller& c) { return int(c.m_rpmSignalVolts); }, Same,
     [](Controller& c, int row) { c.SetRpmSignal(row != 0); }},
    // The code as the ECU sent it: one outside the injector tables leaves
    // the type as it was.
    {PanelCS::ID_INJECTOR_TYPE, L"燃气喷嘴类型", 10, {L"IG5", L"Dornavel"}, 0,
     [](const Controller& c) { return int(c.m_injectorCode); },
     [](int raw) { return raw == 5 ? 0 : raw == 9 ? 1 : -1; },
     [](Controller& c, int row) { c.SetInjectorType(row == 0 ? 5 : 9); }},
    {PanelCS::ID_GAS_PRESSURE_SENSOR, L"燃气压力传感器", 9,
     {kPressureSensors[0], kPressureSensors[1], kPressureSensors[2], kPressureSensors[3], kPressureSensors[4]}, 0,
     [](const Controller& c) { return int(c.m_gasPressureSensor); }, Same,
     [](Controller& c, int row) { c.SetGasPressureSensor(row); }},
    {PanelCS::ID_MANIFOLD_SENSOR, L"歧管压力传感器", 9,
     {kPressureSensors[0], kPressureSensors[1], kPressureSensors[2], kPressureSensors[3], kPressureSensors[4]}, 0,
     [](const Controller& c) { return int(c.m_manifoldSensor); }, Same,
     [](Controller& c, int row) { c.SetManifoldSensor(row); }},
    {PanelCS::ID_REDUCER_TEMP_SENSOR, L"减压器温度传感器", 9,
     {kTemperatureSensors[0], kTemperatureSensors[1], kTemperatureSensors[2], kTemperatureSensors[3]}, 0,
     [](const Controller& c) { return int(c.m_reducerTempSensor); }, Same,
     [](Controller& c, int row) { c.SetReducerTempSensor(row); }},
    {PanelCS::ID_GAS_TEMP_SENSOR, L"燃气温度传感器", 9,
     {kTemperatureSensors[0], kTemperatureSensors[1], kTemperatureSensors[2], kTemperatureSensors[3]}, 0,
     [](const Controller& c) { return int(c.m_gasTempSensor); }, Same,
     [](Controller& c, int row) { c.SetGasTempSensor(row); }},
};

// wireStep: what one unit of the value's byte is worth; a value goes out
// truncated to it, so the control is snapped to it and shows what was sent.
struct SpinRow
{
    int id;
    const wchar_t* label;
    const wchar_t* unit; // null: none, and the label keeps the inherited font
    double min, max, initial, increment, wireStep;
    int points;
    double (*read)(const Controller&);
    void (*write)(Controller&, double);
};

const SpinRow kSpinRows[PanelCS::SPIN_COUNT] = {
    {PanelCS::ID_MIN_GAS_TEMPERATURE, L"燃气最低温度", L"[度]", -30, 9, 0, 1, 1, 9,
     [](const Controller& c) { return double(c.m_minGasTemperature); },
     [](Controller& c, double v) { c.SetMinGasTemperature(int(v)); }},
    {PanelCS::ID_MIN_GAS_RPM, L"燃气最低转速", L"[RPM]", 0, 7000, 0, 100, 100, 9,
     [](const Controller& c) { return double(c.GetMinGasRpm()); },
     [](Controller& c, double v) { c.SetMinGasRpm(int(v)); }},
    {PanelCS::ID_MAX_GAS_RPM, L"燃气最大转速", L"[RPM]", 0, 10000, 6000, 100, 100, 10,
     [](const Controller& c) { return double(c.GetMaxGasRpm()); },
     [](Controller& c, double v) { c.SetMaxGasRpm(int(v)); }},
    {PanelCS::ID_GAS_FAULT_TIME, L"燃气故障时间", L"[mS]", 0, 2000, 1500, 100, 10, 10,
     [](const Controller& c) { return double(c.GetGasFaultTime()); },
     [](Controller& c, double v) { c.SetGasFaultTime(int(v)); }},
    // The ECU sends the switch temperature as a signed byte; the cache keeps
    // its bits in an unsigned one.
    {PanelCS::ID_SWITCH_TEMPERATURE, L"切换温度", L"[度]", 15, 95, 15, 1, 1, 9,
     [](const Controller& c) { return double(static_cast<signed char>(c.m_switchTemperature)); },
     [](Controller& c, double v) { c.SetSwitchTemperature(int(v)); }},
    // Below 100 rpm the byte (rpm / 100) would be 0.
    {PanelCS::ID_SWITCH_RPM, L"切换转速", L"[RPM]", 100, 7000, 500, 100, 100, 9,
     [](const Controller& c) { return double(c.m_switchRpm); },
     [](Controller& c, double v) { c.SetSwitchRpm(int(v)); }},
    {PanelCS::ID_SWITCH_TIME, L"切换时间", L"[S]", 0, 120, 2, 0.5, 0.5, 9,
     [](const Controller& c) { return c.GetSwitchTime(); },
     [](Controller& c, double v) { c.SetSwitchTime(v); }},
    {PanelCS::ID_CYLINDER_SWITCH_DELAY, L"汽缸切换", L"[mS]", 0, 2550, 1, 10, 10, 9,
     [](const Controller& c) { return c.GetCylinderSwitchDelay(); },
     [](Controller& c, double v) { c.SetCylinderSwitchDelay(int(v)); }},
    {PanelCS::ID_WORK_PRESSURE, L"工作", nullptr, 0, 2.55, 1.0, 0.01, 0.01, 9,
     [](const Controller& c) { return c.m_workPressure; },
     [](Controller& c, double v) { c.SetWorkPressure(v); }},
    {PanelCS::ID_MIN_PRESSURE, L"最小", nullptr, 0, 2.55, 0.6, 0.01, 0.01, 9,
     [](const Controller& c) { return c.m_minPressure; },
     [](Controller& c, double v) { c.SetMinPressure(v); }},
};

// The value in units of the wire's step (whole rpm hundreds, half seconds,
// hundredths of a bar), truncated as the setters truncate.
double WireUnits(double value, double step)
{
    return step >= 1 ? std::trunc(TruncScaled(value / step, 1.0)) : TruncScaled(value, 1.0 / step);
}

// Whether the control's range holds value, counted in the wire's steps:
// byte 255 decodes as 2.5500000000000003 bar, which is the maximum.
bool InRange(const SpinRow& row, double value)
{
    const double steps = std::round(value / row.wireStep);
    return steps >= std::round(row.min / row.wireStep) && steps <= std::round(row.max / row.wireStep);
}

double Snap(double value, double step)
{
    const double units = WireUnits(value, step);
    return step >= 1 ? units * step : units / (1.0 / step);
}

wxString Number(double value)
{
    return wxString::FromCDouble(value);
}

// GTK does not widen a box for its title: a title longer than the box's
// content would be cut off.
wxStaticBoxSizer* BoxSizer(wxStaticBox* box, int orient)
{
    auto* sizer = new wxStaticBoxSizer(box, orient);
    int width = 0;
    int height = 0;
    box->GetTextExtent(box->GetLabel(), &width, &height);
    sizer->SetMinSize(width + box->FromDIP(20), -1);
    return sizer;
}
}

wxBEGIN_EVENT_TABLE(PanelCS, wxPanel)
    EVT_COMMAND_RANGE(PanelCS::ID_CYLINDERS, PanelCS::ID_ENGINE_TYPE, wxEVT_CHOICE, PanelCS::OnChoice)
    EVT_COMMAND_RANGE(PanelCS::ID_GAS_PRESSURE_SENSOR, PanelCS::ID_GAS_TEMP_SENSOR, wxEVT_CHOICE,
                      PanelCS::OnChoice)
    EVT_CHOICE(PanelCS::ID_INJECTOR_TYPE, PanelCS::OnChoice)
    wx__DECLARE_EVT2(wxEVT_SPINCTRL, PanelCS::ID_SWITCH_TEMPERATURE, PanelCS::ID_GAS_FAULT_TIME,
                     wxSpinEventHandler(PanelCS::OnSpinUpdated))
    wx__DECLARE_EVT2(wxEVT_SPINCTRL, PanelCS::ID_WORK_PRESSURE, PanelCS::ID_MIN_PRESSURE,
                     wxSpinEventHandler(PanelCS::OnSpinUpdated))
    EVT_COMMAND_RANGE(PanelCS::ID_SWITCH_TEMPERATURE, PanelCS::ID_GAS_FAULT_TIME, wxEVT_TEXT_ENTER,
                      PanelCS::OnSpinEnter)
    EVT_COMMAND_RANGE(PanelCS::ID_WORK_PRESSURE, PanelCS::ID_MIN_PRESSURE, wxEVT_TEXT_ENTER,
                      PanelCS::OnSpinEnter)
    EVT_CHECKBOX(PanelCS::ID_GAS_SWITCH_TIME, PanelCS::OnGasSwitchTime)
    EVT_RADIOBUTTON(PanelCS::ID_FUEL_LPG, PanelCS::OnFuelType)
    EVT_RADIOBUTTON(PanelCS::ID_FUEL_CNG, PanelCS::OnFuelType)
    EVT_BUTTON(PanelCS::ID_GAS_LEVEL_BUTTON, PanelCS::OnGasLevel)
    EVT_BUTTON(PanelCS::ID_INJECTORS_BUTTON, PanelCS::OnInjectors)
    // The sensor choices stay disabled: the ECU's models are shown, not chosen.
    EVT_UPDATE_UI_RANGE(PanelCS::ID_CYLINDERS, PanelCS::ID_ENGINE_TYPE, PanelCS::OnUpdateEditable)
    EVT_UPDATE_UI_RANGE(PanelCS::ID_SWITCH_TEMPERATURE, PanelCS::ID_GAS_SWITCH_TIME,
                        PanelCS::OnUpdateEditable)
    EVT_UPDATE_UI_RANGE(PanelCS::ID_FUEL_LPG, PanelCS::ID_GAS_LEVEL_BUTTON, PanelCS::OnUpdateEditable)
    EVT_UPDATE_UI_RANGE(PanelCS::ID_WORK_PRESSURE, PanelCS::ID_MIN_PRESSURE, PanelCS::OnUpdateEditable)
    EVT_UPDATE_UI(PanelCS::ID_INJECTORS_BUTTON, PanelCS::OnUpdateInjectors)
wxEND_EVENT_TABLE()

// --- Construction and layout ---

PanelCS::PanelCS(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxPanel(parent, id, pos, size, style, "panel")
{
    // GTK draws choices and buttons far taller than the 15 and 20 pixels
    // the rows were drawn for; every control of a row gets the height of a
    // text field, which GTK draws without clipping.
    {
        auto* probe = new wxTextCtrl(this, wxID_ANY);
        probe->SetFont(BoldFont(10));
        m_rowHeight = probe->GetBestSize().y;
        delete probe;
    }

    auto* page = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    CreateVehicleBox(left);
    left->AddSpacer(2);
    CreateSwitchOverBox(left);
    auto* right = new wxBoxSizer(wxVERTICAL);
    CreateSensorBox(right);

    // A hostile frame can mark every row, more lines than the page is high:
    // the notice takes the room below the sensors and lists what fits.
    m_notice = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                wxST_NO_AUTORESIZE, "staticText");
    m_notice->SetForegroundColour(kMarkColour);
    m_notice->SetMinSize(wxSize(0, 0));
    m_notice->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        ShowNotice();
        event.Skip();
    });
    right->Add(m_notice, wxSizerFlags(1).Expand().Border(wxALL, 4));

    page->Add(left, wxSizerFlags().Border(wxLEFT | wxRIGHT, 2));
    page->Add(right, wxSizerFlags().Expand().Border(wxRIGHT, 2));
    // Laid out at once: GTK would otherwise allocate the boxes at their
    // creation size, too small for their titles and radio buttons.
    SetSizerAndFit(page);
    AskForUiUpdates(this, *GetEventTable());

    m_gasLevelDialog = new qiliangxianshi(this, 0, L"气量显示", wxDefaultPosition, wxSize(240, 280),
                                          wxDEFAULT_DIALOG_STYLE, wxEmptyString);
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
}

PanelCS::~PanelCS()
{
    // GTK may report a focus change while the children go.
    for (wxSpinCtrlDbl* spin : m_spins) {
        if (spin && spin->GetTextCtrl())
            spin->GetTextCtrl()->Unbind(wxEVT_KILL_FOCUS, &PanelCS::OnSpinFocusLost, this);
    }
    if (theController)
        theController->RemoveObserver(static_cast<ControllerObserver*>(this));
    // Deleted before the window tree takes the page's children, so that its
    // destroy notice never reaches a page that is half destroyed.
    if (m_injectorsDialog) {
        InjectorsDialog* dialog = m_injectorsDialog;
        m_injectorsDialog = nullptr;
        delete dialog;
    }
}

wxChoice* PanelCS::AddChoice(ChoiceIndex index, wxWindow* parent, wxSizer* grid)
{
    const ChoiceRow& row = kChoiceRows[index];
    auto* label = new wxStaticText(parent, wxID_ANY, row.label, wxDefaultPosition, wxDefaultSize, 0,
                                   "staticText");
    label->SetFont(BoldFont(row.labelPoints));
    wxArrayString texts;
    int n = 0;
    for (const wchar_t* text : row.rows)
        texts.Add((row.translated >> n++) & 1 ? wxGetTranslation(text) : wxString(text));
    auto* choice = new wxChoice(parent, row.id, wxDefaultPosition, wxSize(-1, m_rowHeight), texts, 0,
                                wxDefaultValidator, "choice");
    choice->SetFont(BoldFont(8));
    m_choiceLabels[index] = label;
    m_choices[index] = choice;
    grid->Add(label, wxSizerFlags().CenterVertical());
    grid->Add(choice, wxSizerFlags().CenterVertical().Expand());
    return choice;
}

void PanelCS::AddSpin(SpinIndex index, wxWindow* parent, wxSizer* grid)
{
    const SpinRow& row = kSpinRows[index];
    auto* label = new wxStaticText(parent, wxID_ANY, row.label, wxDefaultPosition, wxDefaultSize, 0,
                                   "staticText");
    // The pressure labels keep the page's own font, not their box's.
    label->SetFont(row.unit ? BoldFont(10) : GetFont());

    // Wide enough for the longest value the row can hold, beside the arrows.
    const bool pressure = !row.unit;
    const wxFont font = BoldFont(row.points);
    int textWidth = 0;
    int textHeight = 0;
    GetTextExtent(pressure ? "0.00" : "10000", &textWidth, &textHeight, nullptr, nullptr, &font);
    const wxSize size(textWidth + FromDIP(40), m_rowHeight);
    long style = wxSP_ARROW_KEYS;
    if (pressure)
        style |= wxTE_PROCESS_ENTER;
    auto* spin = new wxSpinCtrlDbl(parent, row.id, wxEmptyString, wxDefaultPosition, size, style,
                                   row.min, row.max, row.initial, row.increment,
                                   wxSPINCTRLDBL_AUTODIGITS, "wxSpinCtrlDbl");
    spin->SetFont(font);
    // Green on black only while editable (ShowPressuresLive).
    if (pressure)
        spin->SetFormat("%3.2f");
    // Escape brings back the ECU's value, not the value the control was
    // created with, and sends nothing.
    spin->GetTextCtrl()->Bind(wxEVT_CHAR, &PanelCS::OnSpinChar, this);
    spin->GetTextCtrl()->Bind(wxEVT_KILL_FOCUS, &PanelCS::OnSpinFocusLost, this);

    m_spinLabels[index] = label;
    m_spins[index] = spin;
    grid->Add(label, wxSizerFlags().CenterVertical());
    grid->Add(spin, wxSizerFlags().CenterVertical());
    if (row.unit) {
        auto* unit = new wxStaticText(parent, wxID_ANY, row.unit, wxDefaultPosition, wxDefaultSize, 0,
                                      "staticText");
        unit->SetFont(BoldFont(10));
        grid->Add(unit, wxSizerFlags().CenterVertical());
    }
}

void PanelCS::CreateVehicleBox(wxSizer* column)
{
    m_vehicleBox = new wxStaticBox(this, wxID_ANY, _(L"车辆参数"), wxDefaultPosition, wxDefaultSize, 0,
                                   "groupBox");
    m_vehicleBox->SetFont(BoldFont(12));
    auto* box = BoxSizer(m_vehicleBox, wxVERTICAL);
    auto* grid = new wxFlexGridSizer(4, 2, 6);
    grid->AddGrowableCol(1);
    grid->AddGrowableCol(3);
    for (ChoiceIndex index : {CHOICE_CYLINDERS, CHOICE_ENGINE_TYPE, CHOICE_IGNITION_COILS, CHOICE_RPM_SIGNAL})
        AddChoice(index, m_vehicleBox, grid);
    // Room between the two pairs of a row.
    grid->SetItemMinSize(m_choices[CHOICE_CYLINDERS], FromDIP(150), m_rowHeight);
    box->Add(grid, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    column->Add(box, wxSizerFlags().Expand());
}

void PanelCS::CreateSwitchOverBox(wxSizer* column)
{
    m_switchOverBox = new wxStaticBox(this, wxID_ANY, _(L"燃气ECU切换条件设定"), wxDefaultPosition,
                                      wxDefaultSize, 0, "groupBox");
    m_switchOverBox->SetFont(BoldFont(12));
    auto* box = BoxSizer(m_switchOverBox, wxHORIZONTAL);
    wxWindow* const outer = m_switchOverBox;
    auto makeBox = [this, outer](const wxString& title, int points) {
        auto* inner = new wxStaticBox(outer, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, 0,
                                      "groupBox");
        // Without a size of their own, boxes keep the page's font rather
        // than the larger one of the box around them.
        inner->SetFont(points ? BoldFont(points) : GetFont());
        return inner;
    };
    auto grid = []() { return new wxFlexGridSizer(3, 2, 4); };

    // Three columns; the pressures and the injector type stand beside the
    // buttons, so that the box is as tall as the switch-to-petrol rows.
    m_toPetrolBox = makeBox(_(L"切换到汽油"), 11);
    auto* toPetrol = BoxSizer(m_toPetrolBox, wxVERTICAL);
    auto* petrolRows = grid();
    for (SpinIndex index : {SPIN_MIN_GAS_TEMPERATURE, SPIN_MIN_GAS_RPM, SPIN_MAX_GAS_RPM, SPIN_GAS_FAULT_TIME})
        AddSpin(index, m_toPetrolBox, petrolRows);
    auto* switchTimeLabel = new wxStaticText(m_toPetrolBox, wxID_ANY, L"燃气切换时间", wxDefaultPosition,
                                             wxDefaultSize, 0, "staticText");
    switchTimeLabel->SetFont(BoldFont(10));
    m_gasSwitchTimeCheck = new wxCheckBox(m_toPetrolBox, ID_GAS_SWITCH_TIME, wxEmptyString,
                                          wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                                          "check");
    petrolRows->Add(switchTimeLabel, wxSizerFlags().CenterVertical());
    petrolRows->Add(m_gasSwitchTimeCheck, wxSizerFlags().CenterVertical());
    toPetrol->Add(petrolRows, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));

    auto* middle = new wxBoxSizer(wxVERTICAL);
    m_toGasBox = makeBox(_(L"切换到燃气"), 11);
    auto* toGas = BoxSizer(m_toGasBox, wxVERTICAL);
    auto* gasRows = grid();
    for (SpinIndex index : {SPIN_SWITCH_TEMPERATURE, SPIN_SWITCH_RPM, SPIN_SWITCH_TIME, SPIN_CYLINDER_SWITCH_DELAY})
        AddSpin(index, m_toGasBox, gasRows);
    toGas->Add(gasRows, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    middle->Add(toGas, wxSizerFlags().Expand());

    m_fuelTypeBox = makeBox(L"燃料类型选择", 0);
    auto* fuelType = BoxSizer(m_fuelTypeBox, wxHORIZONTAL);
    m_lpgRadio = new wxRadioButton(m_fuelTypeBox, ID_FUEL_LPG, "LPG", wxDefaultPosition, wxDefaultSize,
                                   wxRB_GROUP, wxDefaultValidator, "radioButton");
    m_cngRadio = new wxRadioButton(m_fuelTypeBox, ID_FUEL_CNG, "CNG", wxDefaultPosition, wxDefaultSize, 0,
                                   wxDefaultValidator, "radioButton");
    for (wxRadioButton* radio : {m_lpgRadio, m_cngRadio}) {
        radio->SetFont(BoldFont(12));
        fuelType->Add(radio, wxSizerFlags(1).Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    }
    middle->AddSpacer(2);
    middle->Add(fuelType, wxSizerFlags().Expand());

    auto* right = new wxBoxSizer(wxVERTICAL);
    auto makeButton = [this, outer](int id, const wchar_t* text) {
        auto* button = new wxButton(outer, id, text, wxDefaultPosition, wxSize(-1, m_rowHeight), 0,
                                    wxDefaultValidator, "button");
        button->SetFont(BoldFont(8));
        return button;
    };
    m_gasLevelButton = makeButton(ID_GAS_LEVEL_BUTTON, L"气量显示");
    m_injectorsButton = makeButton(ID_INJECTORS_BUTTON, L"燃气喷嘴修正");
    right->Add(m_gasLevelButton, wxSizerFlags().Expand());
    right->AddSpacer(4);
    right->Add(m_injectorsButton, wxSizerFlags().Expand());
    right->AddSpacer(6);
    auto* injectorType = new wxFlexGridSizer(1, 0, 0);
    injectorType->AddGrowableCol(0);
    AddChoice(CHOICE_INJECTOR_TYPE, outer, injectorType);
    right->Add(injectorType, wxSizerFlags().Expand());
    right->AddSpacer(2);
    m_pressureBox = makeBox(_(L"压力参数设定[Bar]"), 0);
    auto* pressures = BoxSizer(m_pressureBox, wxVERTICAL);
    auto* pressureRows = new wxFlexGridSizer(2, 2, 4);
    AddSpin(SPIN_WORK_PRESSURE, m_pressureBox, pressureRows);
    AddSpin(SPIN_MIN_PRESSURE, m_pressureBox, pressureRows);
    pressures->Add(pressureRows, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    right->Add(pressures, wxSizerFlags().Expand());

    box->Add(toPetrol, wxSizerFlags().Border(wxLEFT | wxBOTTOM, 2));
    box->Add(middle, wxSizerFlags().Border(wxLEFT | wxBOTTOM, 4));
    box->Add(right, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    column->Add(box, wxSizerFlags().Expand());
}

void PanelCS::CreateSensorBox(wxSizer* column)
{
    m_sensorBox = new wxStaticBox(this, wxID_ANY, L"传感器类型", wxDefaultPosition, wxDefaultSize, 0,
                                  "groupBox");
    m_sensorBox->SetFont(BoldFont(11));
    auto* box = BoxSizer(m_sensorBox, wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 2, 4);
    grid->AddGrowableCol(1);
    for (ChoiceIndex index : {CHOICE_GAS_PRESSURE_SENSOR, CHOICE_MANIFOLD_SENSOR, CHOICE_REDUCER_TEMP_SENSOR,
                              CHOICE_GAS_TEMP_SENSOR})
        AddChoice(index, m_sensorBox, grid)->Disable();
    box->Add(grid, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    column->Add(box, wxSizerFlags().Expand());
}

void PanelCS::OnAttach()
{
    theController->AddObserver(static_cast<ControllerObserver*>(this));
    if (m_gasLevelDialog)
        m_gasLevelDialog->OnAttach();
}

void PanelCS::UpdatePressureAxis()
{
    // The page sits in the main window's notebook; anywhere else there is
    // no axis to redraw.
    if (auto* frame = dynamic_cast<MyFrame*>(wxGetTopLevelParent(this)))
        frame->UpdatePressureAxis();
}

// --- Refresh from the controller ---

void PanelCS::OnParametersLoaded()
{
    if (!theController)
        return;
    RefreshChoice(CHOICE_INJECTOR_TYPE);
    for (int i = 0; i < CHOICE_COUNT; ++i) {
        if (i != CHOICE_INJECTOR_TYPE)
            RefreshChoice(static_cast<ChoiceIndex>(i));
    }
    for (int i = 0; i < SPIN_COUNT; ++i)
        RefreshSpin(static_cast<SpinIndex>(i));
    const bool cng = theController->m_fuelIsCng != 0;
    m_lpgRadio->SetValue(!cng);
    m_cngRadio->SetValue(cng);
    m_gasSwitchTimeCheck->SetValue(theController->m_gasSwitchTimeEnabled != 0);
    UpdateNotice();
    if (m_injectorsDialog)
        m_injectorsDialog->RefreshInjectors();
}

void PanelCS::RefreshChoice(ChoiceIndex index)
{
    const ChoiceRow& row = kChoiceRows[index];
    wxChoice* choice = m_choices[index];
    const int raw = row.raw(*theController);
    const int shown = row.rowOf(raw);
    if (shown >= 0 && shown < static_cast<int>(choice->GetCount())) {
        if (choice->GetSelection() != shown)
            choice->SetSelection(shown);
        SetMark(choice, m_choiceLabels[index], m_choiceMarks[index], wxString());
    } else {
        // No row means this value: show none rather than a wrong one.
        choice->SetSelection(wxNOT_FOUND);
        SetMark(choice, m_choiceLabels[index], m_choiceMarks[index], Number(raw));
    }
}

void PanelCS::RefreshSpin(SpinIndex index)
{
    wxSpinCtrlDbl* spin = m_spins[index];
    // What is being typed stays until Enter or focus loss sends it.
    if (spin->GetTextCtrl() && spin->GetTextCtrl()->IsModified())
        return;
    const SpinRow& row = kSpinRows[index];
    const double value = row.read(*theController);
    // The control refuses a value outside its range and would go on showing
    // the last one.
    const double shown = std::clamp(value, row.min, row.max);
    spin->SetValue(shown);
    SetMark(spin, m_spinLabels[index], m_spinMarks[index], InRange(row, value) ? wxString() : Number(value));
}

void PanelCS::SetMark(wxWindow* control, wxStaticText* label, wxString& slot, const wxString& raw)
{
    if (slot == raw)
        return;
    slot = raw;
    label->SetForegroundColour(raw.empty() ? wxNullColour : kMarkColour);
    label->Refresh();
    if (raw.empty())
        control->UnsetToolTip();
    else
        control->SetToolTip(wxString::Format(_(L"ECU的值：%s"), raw));
}

void PanelCS::UpdateNotice()
{
    wxString text;
    for (int i = 0; i < CHOICE_COUNT; ++i) {
        if (!m_choiceMarks[i].empty())
            text += "\n" + m_choiceLabels[i]->GetLabel() + " = " + m_choiceMarks[i];
    }
    for (int i = 0; i < SPIN_COUNT; ++i) {
        if (!m_spinMarks[i].empty())
            text += "\n" + m_spinLabels[i]->GetLabel() + " = " + m_spinMarks[i];
    }
    if (!text.empty())
        text = _(L"ECU的值超出范围：") + text;
    if (m_noticeText == text)
        return;
    m_noticeText = text;
    ShowNotice();
    if (text.empty())
        m_notice->UnsetToolTip();
    else
        m_notice->SetToolTip(text);
}

void PanelCS::ShowNotice()
{
    const wxArrayString lines = wxSplit(m_noticeText, '\n', '\0');
    const int lineHeight = std::max(1, m_notice->GetTextExtent(L"燃气Ay").y);
    const int room = std::max(1, m_notice->GetSize().y / lineHeight);
    wxString shown = m_noticeText;
    if (static_cast<int>(lines.size()) > room) {
        // The last line that fits says how many do not.
        const int kept = std::max(1, room - 1);
        shown = wxJoin(wxArrayString(kept, &lines[0]), '\n', '\0');
        shown += "\n" + wxString::Format(_(L"……还有 %d 项"), static_cast<int>(lines.size()) - kept);
    }
    if (m_notice->GetLabel() != shown)
        m_notice->SetLabel(shown);
}

// --- Edits ---

int PanelCS::SpinIndexOf(int id) const
{
    for (int i = 0; i < SPIN_COUNT; ++i) {
        if (kSpinRows[i].id == id)
            return i;
    }
    return -1;
}

int PanelCS::ChoiceIndexOf(int id) const
{
    for (int i = 0; i < CHOICE_COUNT; ++i) {
        if (kChoiceRows[i].id == id)
            return i;
    }
    return -1;
}

void PanelCS::OnChoice(wxCommandEvent& event)
{
    const int index = ChoiceIndexOf(event.GetId());
    if (index < 0 || !theController)
        return;
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        RefreshChoice(static_cast<ChoiceIndex>(index));
        return;
    }
    kChoiceRows[index].write(*theController, event.GetSelection());
    SetMark(m_choices[index], m_choiceLabels[index], m_choiceMarks[index], wxString());
    UpdateNotice();
    // Either engine type changes the pressure axis' scale.
    if (index == CHOICE_ENGINE_TYPE)
        UpdatePressureAxis();
    // An open injector dialog shows one row per cylinder.
    if (index == CHOICE_CYLINDERS && m_injectorsDialog)
        m_injectorsDialog->RefreshInjectors();
}

void PanelCS::CommitSpin(SpinIndex index)
{
    if (!theController)
        return;
    // The spin has taken what was typed. Retyped unchanged, the text would
    // stay marked as typing and no later parameter frame would refresh it.
    m_spins[index]->GetTextCtrl()->DiscardEdits();
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        RefreshSpin(index);
        return;
    }
    const SpinRow& row = kSpinRows[index];
    wxSpinCtrlDbl* spin = m_spins[index];
    const double value = std::clamp(Snap(spin->GetValue(), row.wireStep), row.min, row.max);
    if (value != spin->GetValue())
        spin->SetValue(value);
    // Enter sends both a spin and a text-enter event, and a step at a range
    // end reports the value that stayed: what the ECU has already is not
    // sent again.
    if (WireUnits(value, row.wireStep) == WireUnits(row.read(*theController), row.wireStep))
        return;
    row.write(*theController, value);
    SetMark(spin, m_spinLabels[index], m_spinMarks[index], wxString());
    UpdateNotice();
}

void PanelCS::OnSpinUpdated(wxSpinEvent& event)
{
    const int index = SpinIndexOf(event.GetId());
    if (index >= 0)
        CommitSpin(static_cast<SpinIndex>(index));
}

void PanelCS::OnSpinEnter(wxCommandEvent& event)
{
    event.Skip();
    const int index = SpinIndexOf(event.GetId());
    if (index >= 0)
        CommitSpin(static_cast<SpinIndex>(index));
}

int PanelCS::SpinIndexOfText(const wxObject* text) const
{
    for (int i = 0; i < SPIN_COUNT; ++i) {
        if (m_spins[i] && m_spins[i]->GetTextCtrl() == text)
            return i;
    }
    return -1;
}

void PanelCS::OnSpinChar(wxKeyEvent& event)
{
    const int index = SpinIndexOfText(event.GetEventObject());
    if (event.GetKeyCode() != WXK_ESCAPE || index < 0 || !theController) {
        event.Skip();
        return;
    }
    m_spins[index]->GetTextCtrl()->DiscardEdits();
    RefreshSpin(static_cast<SpinIndex>(index));
}

void PanelCS::OnSpinFocusLost(wxFocusEvent& event)
{
    event.Skip();
    const int index = SpinIndexOfText(event.GetEventObject());
    if (index < 0)
        return;
    // Typing ends here, whichever of this and the spin's own handler runs
    // first: the spin takes the text (and reports a change), after which the
    // text is its value.
    m_spins[index]->SyncSpinToText(true, true);
    m_spins[index]->GetTextCtrl()->DiscardEdits();
}

void PanelCS::OnGasSwitchTime(wxCommandEvent&)
{
    if (!theController)
        return;
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        m_gasSwitchTimeCheck->SetValue(theController->m_gasSwitchTimeEnabled != 0);
        return;
    }
    theController->SetGasSwitchTimeEnabled(m_gasSwitchTimeCheck->GetValue() ? 1 : 0);
}

void PanelCS::OnFuelType(wxCommandEvent& event)
{
    if (!theController || !event.IsChecked())
        return;
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        m_lpgRadio->SetValue(!theController->m_fuelIsCng);
        m_cngRadio->SetValue(theController->m_fuelIsCng != 0);
        return;
    }
    theController->SetFuelType(event.GetId() == ID_FUEL_CNG ? 1 : 0);
}

void PanelCS::OnGasLevel(wxCommandEvent&)
{
    if (!MayUseEcu(EcuPurpose::EditSettings))
        return;
    theController->EnableGasLevel();
    m_gasLevelDialog->ShowModal();
}

void PanelCS::OnInjectors(wxCommandEvent&)
{
    if (!theController || !theController->m_onGas)
        return;
    // A hidden one has been closed and waits to be deleted.
    if (m_injectorsDialog && m_injectorsDialog->IsShown()) {
        m_injectorsDialog->Raise();
        return;
    }
    m_injectorsDialog = new InjectorsDialog(this, wxID_ANY, " ", wxDefaultPosition, wxDefaultSize,
                                            wxDEFAULT_DIALOG_STYLE);
    m_injectorsDialog->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == m_injectorsDialog)
            m_injectorsDialog = nullptr;
        event.Skip();
    });
    m_injectorsDialog->Show();
}

void PanelCS::OnUpdateEditable(wxUpdateUIEvent& event)
{
    const bool editable = MayUseEcu(EcuPurpose::EditSettings);
    event.Enable(editable);
    if (event.GetId() == ID_WORK_PRESSURE || event.GetId() == ID_MIN_PRESSURE)
        ShowPressuresLive(editable);
}

void PanelCS::ShowPressuresLive(bool live)
{
    if (m_pressuresLive == live)
        return;
    m_pressuresLive = live;
    for (SpinIndex index : {SPIN_WORK_PRESSURE, SPIN_MIN_PRESSURE}) {
        wxSpinCtrlDbl* spin = m_spins[index];
        if (live) {
            spin->SetForegroundColour(kPressureText);
            spin->SetBackgroundColour(kPressureBackground);
            continue;
        }
        // Green on black would look live on a greyed page: the field takes
        // the theme's colours, which grey it as the others.
        spin->SetForegroundColour(spin->GetParent()->GetForegroundColour());
        spin->SetBackgroundColour(spin->GetParent()->GetBackgroundColour());
        spin->GetTextCtrl()->SetForegroundColour(wxNullColour);
        spin->GetTextCtrl()->SetBackgroundColour(wxNullColour);
    }
}

void PanelCS::OnUpdateInjectors(wxUpdateUIEvent& event)
{
    const bool onGas = theController && theController->m_onGas;
    event.Enable(MayUseEcu(EcuPurpose::EditSettings) && onGas);
    // Say why the button is dead on petrol (a disabled button gives no
    // other sign).
    ShowWhyDisabled(m_injectorsButton, onGas ? wxString() : _(L"发动机使用燃气时才能修正燃气喷嘴"));
}
