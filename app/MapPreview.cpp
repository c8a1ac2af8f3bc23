#include "MapPreview.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "FakeAxis.h"
#include "PlotMap.h"

namespace
{
// The map plot's window id on the map page.
constexpr int kMapPlotId = 9901;
} // namespace

wxPanel* CreateMapPreview(wxWindow* parent, PlotMap*& plot, FakeAxis*& axis)
{
    auto* page = new wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                             wxTAB_TRAVERSAL | wxNO_BORDER, "panel");
    plot = new PlotMap(page, kMapPlotId, 0);
    axis = new FakeAxis(page, wxID_ANY, plot);
    // Nothing would send an edited map to the ECU yet.
    plot->Enable(false);
    auto* note = new wxStaticText(
        page, wxID_ANY, _(L"地图编辑、上传和自动标定尚在开发中：此页目前只显示地图和实时曲线。"));

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(plot, wxSizerFlags(1).Expand());
    row->Add(axis, wxSizerFlags().Expand());
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, wxSizerFlags(1).Expand());
    column->Add(note, wxSizerFlags().Border(wxALL, 3));
    page->SetSizer(column);
    return page;
}
