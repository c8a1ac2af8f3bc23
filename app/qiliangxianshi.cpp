#include "qiliangxianshi.h"
#include "UiUpdates.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "Controller.h"
#include "ControllerReady.h"
#include "ReadingTextCtrl.h"
#include "WireScaling.h"
#include "wxLed.h"

namespace
{
// Volts per slider step, as the ECU keeps the thresholds (V x 50).
constexpr double kVoltsPerStep = 0.02;
const wxColour kNoticeColour(200, 0, 0);

wxString Volts(int step)
{
    // The C locale, so that a comma locale still shows (and reads) 1.18.
    return wxString::FromCDouble(step * kVoltsPerStep, 2);
}
}

wxBEGIN_EVENT_TABLE(qiliangxianshi, wxDialog)
    EVT_CHOICE(qiliangxianshi::ID_SENSOR_TYPE, qiliangxianshi::OnSensorType)
    EVT_COMMAND_SCROLL_CHANGED(qiliangxianshi::ID_T1, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_THUMBTRACK(qiliangxianshi::ID_T1, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_CHANGED(qiliangxianshi::ID_T1 + 1, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_THUMBTRACK(qiliangxianshi::ID_T1 + 1, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_CHANGED(qiliangxianshi::ID_T1 + 2, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_THUMBTRACK(qiliangxianshi::ID_T1 + 2, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_CHANGED(qiliangxianshi::ID_T4, qiliangxianshi::OnThresholdScroll)
    EVT_COMMAND_SCROLL_THUMBTRACK(qiliangxianshi::ID_T4, qiliangxianshi::OnThresholdScroll)
    // A voltage is taken on Enter or focus loss, not per keystroke: "1.5"
    // could not be typed past its "1", and an emptied field would send 0.
    EVT_COMMAND_RANGE(qiliangxianshi::ID_X1, qiliangxianshi::ID_X4, wxEVT_TEXT_ENTER,
                      qiliangxianshi::OnThresholdText)
    EVT_BUTTON(qiliangxianshi::ID_ORDER, qiliangxianshi::OnPutInOrder)
    EVT_BUTTON(qiliangxianshi::ID_EXIT, qiliangxianshi::OnCloseDialog)
    EVT_CLOSE(qiliangxianshi::OnCloseWindow)
    EVT_UPDATE_UI(qiliangxianshi::ID_SENSOR_TYPE, qiliangxianshi::OnUpdateType)
    EVT_UPDATE_UI_RANGE(qiliangxianshi::ID_T1, qiliangxianshi::ID_T4, qiliangxianshi::OnUpdateThreshold)
    EVT_UPDATE_UI_RANGE(qiliangxianshi::ID_X1, qiliangxianshi::ID_ORDER, qiliangxianshi::OnUpdateThreshold)
wxEND_EVENT_TABLE()

qiliangxianshi::qiliangxianshi(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                               const wxSize& size, long style, const wxString& name)
    : wxDialog(parent, id, title, pos, size, style, name)
{
    const wxFont font(10, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
    auto label = [this, &font](const wxString& text) {
        auto* control = new wxStaticText(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize, 0,
                                         "staticText");
        control->SetFont(font);
        return control;
    };

    // Created in the order of their tab stops; the sizers place them.
    wxStaticText* typeLabel = label(L"传感器类型");
    const wxString types[] = {L"90 Ohm 升 ", L"50 kOhm 升 ", L"90 Ohm 降 ", L"50 kOhm 降 "};
    m_typeChoice = new wxChoice(this, ID_SENSOR_TYPE, wxDefaultPosition, wxDefaultSize,
                                static_cast<int>(std::size(types)), types, 0, wxDefaultValidator, "choice");
    wxStaticText* quantityLabel = label(L"燃气量");
    // Changes with every live frame: a GTK label would lay the window out
    // again each time.
    m_voltage = new ReadingTextCtrl(this, "2.55", "0.00", font);
    wxStaticText* unitLabel = label("[V]");
    for (int i = kThresholds - 1; i >= 0; --i)
        m_sliders[i] = new wxSlider(this, ID_T1 + i, 0, 0, kMaxStep, wxDefaultPosition,
                                    wxSize(FromDIP(140), -1), wxSL_HORIZONTAL | wxSL_AUTOTICKS,
                                    wxDefaultValidator, "slider");
    for (int i = kThresholds - 1; i >= 0; --i)
        m_lamps[i] = new wxLed(this, wxID_ANY, "666666");
    int digitsWidth = 0;
    int digitsHeight = 0;
    GetTextExtent("5.100", &digitsWidth, &digitsHeight);
    for (int i = kThresholds - 1; i >= 0; --i) {
        m_texts[i] = new wxTextCtrl(this, ID_X1 + i, "0.0", wxDefaultPosition,
                                    wxSize(digitsWidth + FromDIP(24), -1), wxTE_PROCESS_ENTER,
                                    wxDefaultValidator, "text");
        m_texts[i]->Bind(wxEVT_KILL_FOCUS, &qiliangxianshi::OnThresholdFocusLost, this);
    }
    m_refuelLamp = new wxLed(this, wxID_ANY, "888826");
    m_typeChoice->SetSelection(0);
    for (wxLed* lamp : m_lamps)
        lamp->SetOnColour("22AA55");
    m_refuelLamp->SetOnColour("FF5555");
    wxStaticText* refuelLabel = label(L"加气警示");
    m_exitButton = new wxButton(this, ID_EXIT, L"退出", wxDefaultPosition, wxDefaultSize, 0,
                                wxDefaultValidator, "button");
    m_exitButton->SetBackgroundColour(wxColour(220, 220, 220));
    m_notice = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                "staticText");
    m_notice->SetForegroundColour(kNoticeColour);
    m_orderButton = new wxButton(this, ID_ORDER, L"按传感器类型排列阈值", wxDefaultPosition, wxDefaultSize, 0,
                                 wxDefaultValidator, "button");
    m_orderButton->Hide();

    auto* main = new wxBoxSizer(wxVERTICAL);
    auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
    typeRow->Add(typeLabel, wxSizerFlags().CenterVertical());
    typeRow->AddStretchSpacer();
    typeRow->Add(m_typeChoice, wxSizerFlags().CenterVertical().Border(wxLEFT, 8));
    main->Add(typeRow, wxSizerFlags().Expand().Border(wxALL, 4));

    auto* quantityRow = new wxBoxSizer(wxHORIZONTAL);
    quantityRow->Add(quantityLabel, wxSizerFlags().CenterVertical());
    quantityRow->AddStretchSpacer();
    quantityRow->Add(m_voltage, wxSizerFlags().CenterVertical());
    quantityRow->Add(unitLabel, wxSizerFlags().CenterVertical().Border(wxLEFT, 4));
    main->Add(quantityRow, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));

    // One row per threshold, T4 on top: slider, lamp, voltage.
    for (int i = kThresholds - 1; i >= 0; --i) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(m_sliders[i], wxSizerFlags(1).CenterVertical());
        row->Add(m_lamps[i], wxSizerFlags().CenterVertical().Border(wxLEFT | wxRIGHT, 4));
        row->Add(m_texts[i], wxSizerFlags().CenterVertical());
        main->Add(row, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 4));
    }

    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->Add(m_refuelLamp, wxSizerFlags().CenterVertical());
    bottom->Add(refuelLabel, wxSizerFlags().CenterVertical().Border(wxLEFT, 4));
    bottom->AddStretchSpacer();
    bottom->Add(m_exitButton, wxSizerFlags().CenterVertical());
    main->Add(bottom, wxSizerFlags().Expand().Border(wxALL, 4));
    main->Add(m_notice, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    main->Add(m_orderButton, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, 4));
    SetSizerAndFit(main);
    AskForUiUpdates(this, *GetEventTable());
}

qiliangxianshi::~qiliangxianshi()
{
    if (theController)
        theController->RemoveObserver(static_cast<ControllerObserver*>(this));
}

void qiliangxianshi::OnAttach()
{
    theController->AddObserver(static_cast<ControllerObserver*>(this));
}

// --- Ordering rule ---

int qiliangxianshi::OrderedStep(int type, int p, int lower, int upper)
{
    // Both tests look at p, so that when both apply the second one stands.
    int step = p;
    if (IsRising(type)) {
        if (lower >= 0 && p < lower)
            step = lower + 1;
        if (upper >= 0 && p > upper)
            step = upper - 1;
    } else if (type == 2 || type == 3) {
        if (lower >= 0 && p > lower)
            step = lower - 1;
        if (upper >= 0 && p < upper)
            step = upper + 1;
    }
    // A neighbour at an end would otherwise push the step off the slider.
    return std::clamp(step, 0, kMaxStep);
}

bool qiliangxianshi::IsInOrder(int type, const int steps[kThresholds])
{
    for (int i = 1; i < kThresholds; ++i) {
        if (IsRising(type) ? steps[i] < steps[i - 1] : steps[i] > steps[i - 1])
            return false;
    }
    return true;
}

void qiliangxianshi::KeepThresholdOrder(int type, int p, int index)
{
    const int lower = index > 0 ? Step(index - 1) : -1;
    const int upper = index < kThresholds - 1 ? Step(index + 1) : -1;
    m_sliders[index]->SetValue(OrderedStep(type, p, lower, upper));
}

void qiliangxianshi::PutInOrder(int type)
{
    int steps[kThresholds];
    for (int i = 0; i < kThresholds; ++i)
        steps[i] = Step(i);
    if (IsRising(type))
        std::sort(std::begin(steps), std::end(steps));
    else
        std::sort(std::begin(steps), std::end(steps), std::greater<int>());
    for (int i = 0; i < kThresholds; ++i) {
        m_sliders[i]->SetValue(steps[i]);
        ShowThreshold(i);
    }
}

int qiliangxianshi::Step(int index) const
{
    return m_sliders[index]->GetValue();
}

// --- Edits ---

void qiliangxianshi::ShowThreshold(int index)
{
    m_texts[index]->ChangeValue(Volts(Step(index)));
    m_texts[index]->DiscardEdits();
}

void qiliangxianshi::SendThresholds()
{
    const int type = m_typeChoice->GetSelection();
    if (!MayUseEcu(EcuPurpose::EditSettings) || type < 0)
        return;
    int steps[kThresholds];
    for (int i = 0; i < kThresholds; ++i)
        steps[i] = Step(i);
    // The ECU would light the lamps in a nonsensical order.
    m_outOfOrder = !IsInOrder(type, steps);
    UpdateNotice();
    if (m_outOfOrder)
        return;
    theController->SetGasLevelSettings(type, steps[0] * kVoltsPerStep, steps[1] * kVoltsPerStep,
                                       steps[2] * kVoltsPerStep, steps[3] * kVoltsPerStep);
}

void qiliangxianshi::OnThresholdScroll(wxScrollEvent& event)
{
    const int index = event.GetId() - ID_T1;
    if (index < 0 || index >= kThresholds)
        return;
    // Every move ends in a changed event, by mouse or keys; only that one
    // is sent.
    const bool tracking = event.GetEventType() == wxEVT_SCROLL_THUMBTRACK;
    m_dragging[index] = tracking;
    m_reordered = false;
    KeepThresholdOrder(m_typeChoice->GetSelection(), event.GetPosition(), index);
    ShowThreshold(index);
    if (!tracking)
        SendThresholds();
}

int qiliangxianshi::TextIndexOf(const wxObject* object) const
{
    for (int i = 0; i < kThresholds; ++i) {
        if (m_texts[i] == object)
            return i;
    }
    return -1;
}

void qiliangxianshi::CommitText(int index)
{
    wxTextCtrl* text = m_texts[index];
    if (!text->IsModified())
        return;
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        ShowThreshold(index);
        return;
    }
    wxString typed = text->GetValue();
    typed.Trim(true).Trim(false);
    double volts = 0.0;
    m_reordered = false;
    // Refused whole: a half-typed or out-of-range voltage moves nothing.
    m_refused = !typed.ToCDouble(&volts) || !(volts >= 0.0) || volts > kMaxStep * kVoltsPerStep + 1e-9;
    if (!m_refused)
        KeepThresholdOrder(m_typeChoice->GetSelection(), static_cast<int>(TruncScaled(volts, 50.0)), index);
    ShowThreshold(index);
    UpdateNotice();
    if (!m_refused)
        SendThresholds();
}

void qiliangxianshi::OnThresholdText(wxCommandEvent& event)
{
    const int index = TextIndexOf(event.GetEventObject());
    if (index >= 0)
        CommitText(index);
}

void qiliangxianshi::OnThresholdFocusLost(wxFocusEvent& event)
{
    const int index = TextIndexOf(event.GetEventObject());
    if (index >= 0)
        CommitText(index);
    event.Skip();
}

void qiliangxianshi::OnSensorType(wxCommandEvent& event)
{
    const int type = event.GetSelection();
    if (!MayUseEcu(EcuPurpose::EditSettings)) {
        m_typeChoice->SetSelection(m_shownType);
        return;
    }
    // A sensor of the other direction reads the lamps the other way round:
    // the sliders turn round with the thresholds sent.
    if (m_shownType >= 0 && IsRising(m_shownType) != IsRising(type)) {
        int steps[kThresholds];
        for (int i = 0; i < kThresholds; ++i)
            steps[i] = Step(i);
        for (int i = 0; i < kThresholds; ++i) {
            m_sliders[i]->SetValue(steps[kThresholds - 1 - i]);
            ShowThreshold(i);
        }
    }
    // Thresholds out of order for the new type (the ECU may hold such a set)
    // could not be sent, and moving sliders one by one against the rule is no
    // way out: they are put in the type's order, and the notice says so.
    int steps[kThresholds];
    for (int i = 0; i < kThresholds; ++i)
        steps[i] = Step(i);
    m_reordered = !IsInOrder(type, steps);
    if (m_reordered)
        PutInOrder(type);
    m_shownType = type;
    m_unknownType = -1;
    UpdateNotice();
    SendThresholds();
}

void qiliangxianshi::OnPutInOrder(wxCommandEvent&)
{
    const int type = m_typeChoice->GetSelection();
    if (type < 0 || !MayUseEcu(EcuPurpose::EditSettings))
        return;
    PutInOrder(type);
    m_reordered = true;
    SendThresholds();
}

void qiliangxianshi::UpdateNotice()
{
    wxString text;
    if (m_unknownType >= 0)
        text += wxString::Format(L"ECU的传感器类型 %d 无效：请选择类型。\n", m_unknownType);
    if (m_outOfOrder)
        text += L"阈值顺序与传感器类型不符：调整后才发送。\n";
    else if (m_reordered)
        text += L"阈值已按传感器类型的顺序重新排列。\n";
    if (m_refused)
        text += L"请输入 0.00 到 5.10 V。\n";
    text.Trim();
    if (m_notice->GetLabel() == text && m_orderButton->IsShown() == m_outOfOrder)
        return;
    m_notice->SetLabel(text);
    m_orderButton->Show(m_outOfOrder);
    // Grows the dialog for the message and shrinks it back after.
    GetSizer()->SetSizeHints(this);
}

// --- Controller ---

void qiliangxianshi::OnParametersLoaded()
{
    if (!theController)
        return;
    int type = 0;
    double thresholds[kThresholds] = {};
    theController->GetGasLevelSettings(type, thresholds[0], thresholds[1], thresholds[2], thresholds[3]);
    if (type >= 0 && type < static_cast<int>(m_typeChoice->GetCount())) {
        m_typeChoice->SetSelection(type);
        m_shownType = type;
        m_unknownType = -1;
    } else {
        // No row is this type; the thresholds wait until one is chosen.
        m_typeChoice->SetSelection(wxNOT_FOUND);
        m_shownType = -1;
        m_unknownType = type;
    }
    int steps[kThresholds];
    for (int i = 0; i < kThresholds; ++i) {
        steps[i] = std::clamp(static_cast<int>(thresholds[i]), 0, kMaxStep);
        // A dragged slider and a voltage being typed keep what the user has
        // in hand; Enter, focus loss or the release sends it.
        if (m_dragging[i])
            continue;
        m_sliders[i]->SetValue(steps[i]);
        if (!m_texts[i]->IsModified())
            ShowThreshold(i);
    }
    m_outOfOrder = m_shownType >= 0 && !IsInOrder(m_shownType, steps);
    m_refused = false;
    m_reordered = false;
    UpdateNotice();
    Refresh();
    Update();
}

void qiliangxianshi::OnControllerData()
{
    if (!theController)
        return;
    const int stage = theController->GetGasLevelStage();
    m_refuelLamp->Enable(stage == 0);
    m_lamps[0]->Enable(stage > 0);
    m_lamps[1]->Enable(stage > 1);
    m_lamps[2]->Enable(stage > 2);
    m_lamps[3]->Enable(stage == 4);
    // Hundredths of a volt with the rest dropped: 255 reads 5.00, 254 4.98.
    const int hundredths = theController->m_gasLevelRaw * 500 / 255;
    // Whole numbers: a locale-free double format costs more than the rest of
    // the frame's work here.
    m_voltage->SetLabel(wxString::Format("%d.%02d", hundredths / 100, hundredths % 100));
}

// --- Closing and the gate ---

void qiliangxianshi::OnCloseDialog(wxCommandEvent&)
{
    // Kept for the next time, as it was left.
    if (IsModal())
        EndModal(0);
    else
        Hide();
}

void qiliangxianshi::OnCloseWindow(wxCloseEvent&)
{
    wxCommandEvent event;
    OnCloseDialog(event);
}

void qiliangxianshi::OnUpdateType(wxUpdateUIEvent& event)
{
    event.Enable(MayUseEcu(EcuPurpose::EditSettings));
}

void qiliangxianshi::OnUpdateThreshold(wxUpdateUIEvent& event)
{
    event.Enable(MayUseEcu(EcuPurpose::EditSettings) && m_typeChoice->GetSelection() >= 0);
}
