#ifndef QUENVAR_OSCYLPANE_H
#define QUENVAR_OSCYLPANE_H

#include <wx/panel.h>

#include "PlotOscyl.h"

class wxButton;
class wxCheckBox;

// The oscilloscope page "示波器": the plot of ten live channels, a button
// that pauses and resumes the sampling and a coloured check box per channel
// that shows or hides its curve.
class OscylPane : public wxPanel
{
public:
    enum
    {
        ID_PAUSE = 9300,
        ID_CHANNEL_CHECK_FIRST = 9301,
        ID_CHANNEL_CHECK_LAST = 9310,
        ID_PLOT = 9900
    };

    OscylPane(wxWindow* parent, wxWindowID id);

    // Plot, a vertical line, then the button and check boxes in a column.
    void DoLayout();

    // Pauses or resumes the sampling; the button says what it will do next.
    void OnPause(wxCommandEvent& event);
    // Shows or hides the channel of the check box that was clicked.
    void OnChannelCheck(wxCommandEvent& event);
    // Lets the plot's events go on up the window chain.
    void OnPlotEvent(wxPlotCtrlEvent& event);

    PlotOscyl* m_plot = nullptr;
    wxButton* m_pauseButton = nullptr;
    wxCheckBox* m_channelChecks[PlotOscyl::kChannels] = {};

private:
    wxDECLARE_EVENT_TABLE();
};

#endif
