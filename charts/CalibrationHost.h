#ifndef QUENVAR_CALIBRATIONHOST_H
#define QUENVAR_CALIBRATIONHOST_H

#include <wx/defs.h>
#include <wx/string.h>

// What the calibration needs of the program around it: the status line, the
// progress gauge, the poll timer and its modal boxes. The main window
// implements it; tests implement it and answer the boxes, so the machine runs
// without a display.
class CalibrationHost
{
public:
    virtual ~CalibrationHost() = default;

    // The text into status-bar field 1.
    virtual void SetStatusMessage(const wxString& text) = 0;
    // Shows or hides the progress gauge; hiding also empties status field 1.
    virtual void ShowProgress(bool show) = 0;
    // Moves the gauge; a run shows 1 to 13, the number of its current state.
    virtual void SetProgress(int value) = 0;
    // Stops the 50 ms poll timer if it runs.
    virtual void StopPollTimer() = 0;
    // Starts the poll timer (50 ms, repeating) if it does not run.
    virtual void StartPollTimer() = 0;
    // A modal message box without parent, as wxMessageBox does it: style is
    // made of wxOK, wxCANCEL, wxYES_NO, wxCENTRE and wxICON_EXCLAMATION; the
    // answer is wxOK, wxCANCEL, wxYES or wxNO.
    virtual int ShowMessageBox(const wxString& message, const wxString& caption, long style) = 0;
};

#endif
