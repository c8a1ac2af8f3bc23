#ifndef QUENVAR_ABOUTDIALOG_H
#define QUENVAR_ABOUTDIALOG_H

#include <wx/dialog.h>

class MyTextCtrl;

// The maker's profile in a read-only text with clickable mail and web links.
// Use:
//   AboutDialog dialog(nullptr, wxID_ANY, wxEmptyString);
//   dialog.BuildText(0);
//   dialog.ShowModal();
class AboutDialog : public wxDialog
{
public:
    enum
    {
        LANGUAGE_CHINESE = 0 // any other value of BuildText's language: English
    };

    // An empty title gets the about tool's own label.
    AboutDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition);

    // Appends the profile: Chinese for LANGUAGE_CHINESE, else English.
    void BuildText(int language);

    MyTextCtrl* GetTextCtrl() const { return m_text; }

private:
    void ScrollToTop();

    MyTextCtrl* m_text = nullptr;
};

#endif
