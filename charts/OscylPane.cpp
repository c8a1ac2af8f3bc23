#include "OscylPane.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/translation.h>

#include "ChannelColours.h"

namespace
{
// The style the page hands to the plot control's creation.
constexpr long kPlotStyle = 0x220;

// Check box labels by channel; the last two are shown as written.
struct ChannelLabel
{
    const wchar_t* text;
    bool translated;
};
const ChannelLabel kLabels[PlotOscyl::kChannels] = {
    {L"燃气压力", true},    {L"歧管压力", true},     {L"电瓶电压", true}, {L"氧 1", true},
    {L"氧 2", true},        {L"汽油喷射时间", true}, {L"燃气喷射时间", true},
    {L"燃气温度", true},    {L"减压器温度 ", false}, {L"转速 ", false},
};
} // namespace

#define OSCYL_PLOT_EVENT(type) wx__DECLARE_PLOTEVT(type, wxID_ANY, OscylPane::OnPlotEvent)

wxBEGIN_EVENT_TABLE(OscylPane, wxPanel)
    EVT_BUTTON(OscylPane::ID_PAUSE, OscylPane::OnPause)
    EVT_COMMAND_RANGE(OscylPane::ID_CHANNEL_CHECK_FIRST, OscylPane::ID_CHANNEL_CHECK_LAST, wxEVT_CHECKBOX,
                      OscylPane::OnChannelCheck)
    OSCYL_PLOT_EVENT(ACTIVE_CURVE_CHANGING)
    OSCYL_PLOT_EVENT(ACTIVE_CURVE_CHANGED)
    OSCYL_PLOT_EVENT(MOUSE_MOVED)
    OSCYL_PLOT_EVENT(AREA_CLICK)
    OSCYL_PLOT_EVENT(AREA_DOUBLE_CLICK)
    OSCYL_PLOT_EVENT(POINT_CLICK)
    OSCYL_PLOT_EVENT(POINT_DOUBLE_CLICK)
    OSCYL_PLOT_EVENT(RESERVED_1)
    OSCYL_PLOT_EVENT(RESERVED_2)
    OSCYL_PLOT_EVENT(RESERVED_3)
    OSCYL_PLOT_EVENT(VIEW_CHANGING)
    OSCYL_PLOT_EVENT(VIEW_CHANGED)
    OSCYL_PLOT_EVENT(CURSOR_CHANGING)
    OSCYL_PLOT_EVENT(CURSOR_CHANGED)
    OSCYL_PLOT_EVENT(ERROR)
    OSCYL_PLOT_EVENT(TITLE_EDIT_BEGIN)
    OSCYL_PLOT_EVENT(TITLE_EDITED)
    OSCYL_PLOT_EVENT(XLABEL_EDIT_BEGIN)
    OSCYL_PLOT_EVENT(XLABEL_EDITED)
    OSCYL_PLOT_EVENT(YLABEL_EDIT_BEGIN)
    OSCYL_PLOT_EVENT(YLABEL_EDITED)
    OSCYL_PLOT_EVENT(MOUSE_FUNCTION_CHANGING)
    OSCYL_PLOT_EVENT(MOUSE_FUNCTION_CHANGED)
wxEND_EVENT_TABLE()

OscylPane::OscylPane(wxWindow* parent, wxWindowID id)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER, "panel")
{
    m_pauseButton = new wxButton(this, ID_PAUSE, _(L"暂停"), wxDefaultPosition, wxDefaultSize, 0,
                                 wxDefaultValidator, "button");
    m_plot = new PlotOscyl(this, ID_PLOT, kPlotStyle);
    for (int channel = 0; channel < PlotOscyl::kChannels; ++channel)
    {
        const ChannelLabel& label = kLabels[channel];
        auto* check = new wxCheckBox(this, ID_CHANNEL_CHECK_FIRST + channel,
                                     label.translated ? wxGetTranslation(label.text) : wxString(label.text),
                                     wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator, "check");
        check->SetForegroundColour(ChannelColours[channel]);
        check->SetValue(true);
        m_channelChecks[channel] = check;
    }
    DoLayout();
}

void OscylPane::DoLayout()
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* line = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL, "staticLine");

    row->Add(m_plot, wxSizerFlags(1).Expand());
    row->Add(line, wxSizerFlags(0).Expand().Border(wxTOP | wxBOTTOM, 1));
    row->Add(column, wxSizerFlags(0).Expand().Border(wxTOP, 2));

    // Expanded to the column's width, which centres it too (the toolkit
    // refuses an alignment beside expand).
    column->Add(m_pauseButton, wxSizerFlags().Expand().Border(wxALL, 3));
    for (wxCheckBox* check : m_channelChecks)
        column->Add(check, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, 3));
    column->AddStretchSpacer();

    SetSizer(row);
    Layout();
}

void OscylPane::OnPause(wxCommandEvent&)
{
    m_plot->m_paused = !m_plot->m_paused;
    m_pauseButton->SetLabel(m_plot->m_paused ? _(L"开始 ") : _(L"暂停"));
}

void OscylPane::OnChannelCheck(wxCommandEvent& event)
{
    const auto* check = dynamic_cast<wxCheckBox*>(event.GetEventObject());
    if (!check)
        return;
    m_plot->SetChannelVisible(check->GetId() - ID_CHANNEL_CHECK_FIRST, check->GetValue());
}

void OscylPane::OnPlotEvent(wxPlotCtrlEvent& event)
{
    // The mouse position the plot reports is in the shared band's units,
    // which are no reading's own: it is not shown.
    event.Skip();
}
