#ifndef QUENVAR_MYTEXTCTRL_H
#define QUENVAR_MYTEXTCTRL_H

#include <functional>
#include <wx/richtext/richtextctrl.h>

// A rich text control for fixed texts: web and mail addresses in appended text
// become links, and a click on a link opens it in the default browser.
class MyTextCtrl : public wxRichTextCtrl
{
public:
    // Opens a link; returns whether that worked. Tests install a counter.
    using BrowserLauncher = std::function<bool(const wxString& url)>;

    MyTextCtrl(wxWindow* parent, wxWindowID id, const wxString& text = wxEmptyString,
               const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
               long style = wxRE_MULTILINE | wxRE_READONLY);

    // Appends text at the end, marking "http://", "https://", "www." and
    // "mailto:" addresses in it as links.
    void AppendText(const wxString& text) override;

    // Replaces the way links are opened (default: wxLaunchDefaultBrowser).
    void SetBrowserLauncher(BrowserLauncher launcher);

    // Length of the link-like address at the start of text (0: none).
    static size_t LinkLengthAt(const wxString& text, size_t start);

private:
    void OnUrl(wxTextUrlEvent& event);
    void OnMouseDown(wxMouseEvent& event);
    void OnMouseUp(wxMouseEvent& event);
    void OnFocus(wxFocusEvent& event);
    void HideCaretIfReadOnly();

    // The link under a window point, as the control reports it in its link
    // events; false when the point is not on a link.
    bool LinkAt(const wxPoint& pt, long& start, long& end);
    void ForgetPress();
    // Appends piece at the end, as a link to url unless url is empty.
    void AppendPiece(const wxString& piece, const wxString& url);

    BrowserLauncher m_launchBrowser;
    // The link a left button went down on; -1 while there is none.
    long m_pressStart = -1;
    long m_pressEnd = -1;

    wxDECLARE_EVENT_TABLE();
};

#endif
