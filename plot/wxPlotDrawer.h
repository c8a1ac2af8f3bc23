#pragma once
// All drawers of the plot control.

#include "wxPlotDrawerBase.h"
#include "wxPlotDrawerAxis.h"
#include "wxPlotDrawerKey.h"
#include "wxPlotDrawerCurve.h"
#include "wxPlotDrawerDataCurve.h"
#include "wxPlotDrawerMarker.h"
