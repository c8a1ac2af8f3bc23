#ifndef QUENVAR_LOADSAVESELECTOR_H
#define QUENVAR_LOADSAVESELECTOR_H

#include <functional>

#include <wx/dialog.h>

class SettingsFileTransfer;

// The small dialog behind the "载入/保存" tool: load a settings file
// ("*.xse") into the ECU or save the ECU's settings into one. It chooses the
// file and hands the path on; each button closes it.
class LoadSaveSelector : public wxDialog
{
public:
    enum
    {
        ID_LOAD = 8841,
        ID_SAVE = 8842
    };

    // The file selector's arguments, as the toolkit's wxFileSelector takes
    // them (no parent, default position); returns the path, "" = cancelled.
    using FileSelector = std::function<wxString(const wxString& message, const wxString& folder,
                                                const wxString& name, const wxString& extension,
                                                const wxString& wildcard, int flags)>;

    // Centred on the mouse pointer, within the screen. The transfer is the
    // parent main window's.
    LoadSaveSelector(wxWindow* parent, wxWindowID id, const wxString& title);
    ~LoadSaveSelector() override;

    // Moves the dialog so that point is at the centre of its client area,
    // then back inside the screen that holds point.
    void CentreOnPoint(const wxPoint& point);

    void OnLoad(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);

    // Replaces the file selector (tests answer it); an empty one brings the
    // toolkit's back.
    static void SetFileSelector(FileSelector selector);
    // The file a save writes for the chosen name: ".xse" added when the name
    // lacks it; empty when the name is refused (empty, or with wildcards).
    static wxString SavePathFor(const wxString& chosen);

private:
    SettingsFileTransfer* Transfer() const;
    // Says why nothing can be transferred now; true when that is so.
    bool Refused(const wxString& what);

    wxDECLARE_EVENT_TABLE();
};

#endif
