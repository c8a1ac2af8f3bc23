#ifndef QUENVAR_SETTINGSFILETRANSFER_H
#define QUENVAR_SETTINGSFILETRANSFER_H

#include <wx/string.h>

#include "AnswerWatch.h"

class wxWindow;

// Hands settings files to the controller and says in the status field what
// came of each: loading, then loaded when the ECU answered with its new
// parameters; saving, then saved with the path, or why not. Lives as long
// as the main window, beyond the dialog that chose the file.
class SettingsFileTransfer
{
public:
    explicit SettingsFileTransfer(wxWindow* speaker);

    // Why no file can be loaded or saved now (not ready, or the last
    // transfer still waits for the ECU); empty when one can.
    wxString WhyNot() const;
    // Sends the file; false when the controller refused it (it said why).
    bool Load(const wxString& path);
    // Asks for the parameters whose settings block the file will hold.
    void Save(const wxString& path);

    // --- The controller's reports ---
    void Saved(const wxString& path, const wxString& error);
    void Loaded(const wxString& path);
    // After every applied parameter frame (the main window passes it on).
    void ParametersApplied();

    bool IsWaiting() const { return m_watch.IsWaiting(); }

private:
    // In demo mode: says that what was asked went nowhere; true then.
    bool SaidDemo(const wxString& what) const;

    wxWindow* m_speaker;
    AnswerWatch m_watch;
};

#endif
