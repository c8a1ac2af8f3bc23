#ifndef QUENVAR_MAPPREVIEW_H
#define QUENVAR_MAPPREVIEW_H

class FakeAxis;
class PlotMap;
class wxPanel;
class wxWindow;

// The "调试图表" tab until the map page with its upload and calibration
// arrives: the map plot and its pressure axis show the map and the live
// curves, editing is off, and a line says so. Returns the page; plot and
// axis are its children.
wxPanel* CreateMapPreview(wxWindow* parent, PlotMap*& plot, FakeAxis*& axis);

#endif
