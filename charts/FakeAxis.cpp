#include "FakeAxis.h"

#include "Controller.h"
#include "PlotMap.h"
#include "wxPlotDrawerAxis.h"

#include <wx/dcclient.h>
#include <wx/intl.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kLabelCount = 5;
// kPa per label step: a quarter of the full scale.
constexpr double kLabelsPerFullScale = 4.0;
// The labels' left edge (the drawer's), and the gap between them and the
// rotated title, whose glyphs lie left of the point it is drawn at.
constexpr int kLabelX = 2;
constexpr int kTitleGap = 4;
constexpr double kTitleAngle = 270.0;
const wchar_t* const kTitle = L"歧管压力 [KPa]";
// The widest label: a boosted engine's full scale.
const wchar_t* const kWidestLabel = L"250";
const wxSize kInitialSize(48, 32);
const wxSize kMinimumSize(48, 16);
// Pixels a label's row may lie outside the plot area.
constexpr double kRowSlack = 8.0;
} // namespace

wxBEGIN_EVENT_TABLE(FakeAxis, wxPanel)
    EVT_SIZE(FakeAxis::OnSize)
    EVT_PAINT(FakeAxis::OnPaint)
wxEND_EVENT_TABLE()

FakeAxis::FakeAxis(wxWindow* parent, wxWindowID id, PlotMap* plot)
    : m_plot(plot)
{
    // Painted whole by the drawer: no erase, which would flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, id, wxDefaultPosition, kInitialSize, wxTAB_TRAVERSAL | wxNO_BORDER, wxS("panel"));
    m_drawer = new wxPlotDrawerYAxis(plot);
    if (plot)
    {
        m_drawer->SetTickFont(plot->GetFont());
        // Zoom keys and the plot's own layout move the rows.
        plot->Bind(wxEVT_PLOTCTRL_VIEW_CHANGED, &FakeAxis::OnPlotViewChanged, this);
    }
    m_rect = wxRect(GetPosition(), GetClientSize());
    PlaceTitle();
}

void FakeAxis::PlaceTitle()
{
    const wxFont labelFont = m_drawer->GetTickFont();
    const wxFont titleFont = m_plot ? m_plot->GetAxisLabelFont() : GetFont();
    int labelWidth = 0, titleHeight = 0;
    GetTextExtent(kWidestLabel, &labelWidth, nullptr, nullptr, nullptr, &labelFont);
    GetTextExtent(_(kTitle), nullptr, &titleHeight, nullptr, nullptr, &titleFont);
    m_titleX = kLabelX + labelWidth + kTitleGap + titleHeight;
    SetMinSize(wxSize(std::max(kMinimumSize.x, m_titleX + kTitleGap), kMinimumSize.y));
}

FakeAxis::~FakeAxis()
{
    delete m_drawer;
}

int FakeAxis::AreaTop() const
{
    const wxWindow* area = m_plot->GetPlotArea();
    if (m_plot->GetParent() == GetParent())
        return m_plot->GetPosition().y + m_plot->GetPlotAreaRect().y - GetPosition().y;
    return area->GetScreenPosition().y - GetScreenPosition().y;
}

void FakeAxis::UpdateLabels()
{
    m_labels.Clear();
    m_ticks.clear();
    if (!m_plot)
        return;
    const double fullScale = PlotMap::PressureFullScale(theController && theController->IsTurbo());
    const int areaHeight = m_plot->GetAreaSize().height;
    const double viewY = m_plot->GetViewRect().m_y;
    const double zoomY = m_plot->GetZoomY();
    const int top = AreaTop();
    const int first = static_cast<int>(std::ceil(m_rect.x / m_step));
    for (int k = first; k < first + kLabelCount; ++k)
    {
        // Each label stands at its own row. The top one may lie a little
        // above the area, whose ticks snap to whole pixels; rows farther
        // out (a zoomed view) show nothing.
        const double row = areaHeight - (k * m_step - viewY) * zoomY + 0.5;
        if (!std::isfinite(row) || row < -kRowSlack || row > areaHeight + kRowSlack)
            continue;
        m_ticks.push_back(top + static_cast<int>(row));
        // k x 0.64 plot units read k quarters of the full scale.
        m_labels.Add(wxString::Format(wxS("%d"), static_cast<int>(k * fullScale / kLabelsPerFullScale)));
    }
}

void FakeAxis::OnSize(wxSizeEvent& event)
{
    m_rect = wxRect(event.GetRect()).Union(wxRect(wxPoint(0, 0), event.GetSize()));
    UpdateLabels();
    event.Skip();
    Refresh();
}

void FakeAxis::OnPlotViewChanged(wxPlotCtrlEvent& event)
{
    Refresh(false);
    event.Skip();
}

void FakeAxis::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    UpdateLabels();
    Draw(dc);
}

void FakeAxis::Draw(wxDC& dc)
{
    const wxSize size = GetClientSize();
    // Each label centred on its row and kept inside the panel.
    dc.SetFont(m_drawer->GetTickFont());
    const int textHeight = dc.GetCharHeight();
    std::vector<int> tops;
    for (int row : m_ticks)
        tops.push_back(std::max(0, std::min(row - textHeight / 2, size.y - textHeight)));
    m_drawer->SetTickPositions(tops);
    m_drawer->SetTickLabels(m_labels);
    m_drawer->SetPlotViewRect(PlotMap::kHomeView);
    m_drawer->SetDCRect(wxRect(size));
    m_drawer->Draw(&dc, true);

    if (size.x < m_titleX)
        return;
    const wxString title = _(kTitle);
    if (m_plot)
    {
        dc.SetFont(m_plot->GetAxisLabelFont());
        dc.SetTextForeground(m_plot->GetAxisLabelColour());
    }
    const int width = dc.GetTextExtent(title).x;
    dc.DrawRotatedText(title, m_titleX, width < size.y ? (size.y - width) / 2 : 0, kTitleAngle);
}
