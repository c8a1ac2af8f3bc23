#ifndef QUENVAR_CONTROLLERHOST_H
#define QUENVAR_CONTROLLERHOST_H

#include <wx/log.h>
#include <wx/string.h>

// What the controller needs from the program around it. The application
// installs the main window's implementation; tests install their own, so the
// controller runs without a display.
class ControllerHost
{
public:
    virtual ~ControllerHost() = default;

    // Stops the 50 ms poll timer (around applying a parameter frame, so an
    // observer's modal dialog cannot cause a nested tick).
    virtual void StopPollTimer() = 0;
    // Starts the poll timer again, only when it is not running.
    virtual void StartPollTimer() = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(const wxString& text, const wxString& caption) = 0;
    // Runs the toolkit's update-UI pass over the windows.
    virtual void UpdateUI() = 0;
    // Blocks the calling (GUI) thread; paces the demo feed.
    virtual void Sleep(int milliseconds) = 0;
    // A line for the status bar's message field.
    virtual void SayStatus(const wxString& text) { (void)text; }

    // --- Settings files: what came of a request, after the ECU answered ---
    // The file of a save has been written (error empty) or not (error says
    // why). Without an own report the error goes to the log.
    virtual void SettingsFileSaved(const wxString& path, const wxString& error)
    {
        (void)path;
        if (!error.empty())
            wxLogError("%s", error);
    }
    // The parameter frame answering a loaded file has been applied.
    virtual void SettingsFileLoaded(const wxString& path) { (void)path; }
};

#endif
