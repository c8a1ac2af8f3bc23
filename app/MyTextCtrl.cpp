#include "MyTextCtrl.h"

#include <cstring>
#include <utility>
#include <wx/caret.h>
#include <wx/utils.h>
#include <wx/wupdlock.h>

namespace
{
const char* const kLinkPrefixes[] = {"http://", "https://", "mailto:", "www."};

// Characters that end an address written in running text.
bool EndsLink(wxUniChar c)
{
    if (!c.IsAscii())
        return true;
    const char a = static_cast<char>(c.GetValue());
    return a <= ' ' || a == 0x7f || wxString("\"<>()[]{}'`").Find(a) != wxNOT_FOUND;
}

wxString LinkTarget(const wxString& shown)
{
    return shown.Lower().StartsWith("www.") ? "http://" + shown : shown;
}
}

wxBEGIN_EVENT_TABLE(MyTextCtrl, wxRichTextCtrl)
    EVT_TEXT_URL(wxID_ANY, MyTextCtrl::OnUrl)
    EVT_LEFT_DOWN(MyTextCtrl::OnMouseDown)
    EVT_LEFT_UP(MyTextCtrl::OnMouseUp)
    EVT_SET_FOCUS(MyTextCtrl::OnFocus)
wxEND_EVENT_TABLE()

MyTextCtrl::MyTextCtrl(wxWindow* parent, wxWindowID id, const wxString& text, const wxPoint& pos,
                       const wxSize& size, long style)
    : wxRichTextCtrl(parent, id, wxEmptyString, pos, size, style, wxDefaultValidator, "text"),
      m_launchBrowser([](const wxString& url) { return wxLaunchDefaultBrowser(url); })
{
    // The rich text lays itself out from idle time.
    SetExtraStyle(GetExtraStyle() | wxWS_EX_PROCESS_IDLE);
    // A fixed text needs no undo history.
    BeginSuppressUndo();
    HideCaretIfReadOnly();
    if (!text.empty())
        AppendText(text);
}

void MyTextCtrl::SetBrowserLauncher(BrowserLauncher launcher)
{
    m_launchBrowser = std::move(launcher);
}

size_t MyTextCtrl::LinkLengthAt(const wxString& text, size_t start)
{
    for (const char* prefix : kLinkPrefixes) {
        const size_t prefixLength = strlen(prefix);
        if (text.Mid(start, prefixLength).Lower() != prefix)
            continue;
        size_t end = start + prefixLength;
        while (end < text.length() && !EndsLink(text[end]))
            ++end;
        // A full stop or comma after an address belongs to the sentence.
        while (end > start + prefixLength && wxString(".,;:!?").Find(text[end - 1]) != wxNOT_FOUND)
            --end;
        return end > start + prefixLength ? end - start : 0;
    }
    return 0;
}

void MyTextCtrl::AppendText(const wxString& text)
{
    // One redraw for the whole text; redrawing each piece while shown also
    // makes the control refresh rectangles of negative height.
    wxWindowUpdateLocker noUpdates(this);
    size_t plainStart = 0;
    size_t i = 0;
    while (i < text.length()) {
        // An address starts a word; "xhttp://" is not one.
        const bool wordStart = i == 0 || !wxIsalnum(text[i - 1]);
        const size_t linkLength = wordStart ? LinkLengthAt(text, i) : 0;
        if (linkLength == 0) {
            ++i;
            continue;
        }
        if (i > plainStart)
            AppendPiece(text.Mid(plainStart, i - plainStart), wxEmptyString);
        const wxString shown = text.Mid(i, linkLength);
        AppendPiece(shown, LinkTarget(shown));
        i += linkLength;
        plainStart = i;
    }
    if (plainStart < text.length())
        AppendPiece(text.Mid(plainStart), wxEmptyString);
}

void MyTextCtrl::AppendPiece(const wxString& piece, const wxString& url)
{
    // Moving the insertion point takes over the style of the character
    // before it, so text after a link would be a link too: set the style
    // afresh for each piece.
    SetInsertionPointEnd();
    wxRichTextAttr style;
    if (!url.empty()) {
        style.SetTextColour(wxColour(0, 70, 200));
        style.SetFontUnderlined(true);
        style.SetURL(url);
    }
    SetDefaultStyle(style);
    WriteText(piece);
}

bool MyTextCtrl::LinkAt(const wxPoint& pt, long& start, long& end)
{
    long pos = -1;
    if (HitTest(pt, &pos) != wxTE_HT_ON_TEXT || pos < 0)
        return false;
    wxRichTextAttr attr;
    if (!GetStyle(pos, attr) || !attr.HasURL() || attr.GetURL().empty())
        return false;
    const wxRichTextObject* leaf = GetFocusObject()->GetLeafObjectAtPosition(pos);
    if (!leaf)
        return false;
    // The same range the control puts into its link event on release.
    start = leaf->GetRange().GetStart();
    end = leaf->GetRange().GetEnd();
    return true;
}

void MyTextCtrl::ForgetPress()
{
    m_pressStart = -1;
    m_pressEnd = -1;
}

void MyTextCtrl::OnMouseDown(wxMouseEvent& event)
{
    long start = -1;
    long end = -1;
    if (LinkAt(event.GetPosition(), start, end)) {
        m_pressStart = start;
        m_pressEnd = end;
    } else {
        ForgetPress();
    }
    event.Skip();
}

void MyTextCtrl::OnMouseUp(wxMouseEvent& event)
{
    // The rich text control reports a link only on release; run its handler
    // here so that a press is forgotten once its release has been seen.
    wxRichTextCtrl::OnLeftUp(event);
    ForgetPress();
}

void MyTextCtrl::HideCaretIfReadOnly()
{
    // Read-only text has nothing to type into; a blinking caret suggests
    // otherwise. The control shows its caret again on every focus.
    wxCaret* caret = GetCaret();
    if (!IsEditable() && caret && caret->IsVisible())
        caret->Hide();
}

void MyTextCtrl::OnFocus(wxFocusEvent& event)
{
    wxRichTextCtrl::OnSetFocus(event);
    HideCaretIfReadOnly();
}

void MyTextCtrl::OnUrl(wxTextUrlEvent& event)
{
    const wxMouseEvent& mouse = event.GetMouseEvent();
    const long start = event.GetURLStart();
    const long end = event.GetURLEnd();
    if (mouse.LeftDown()) {
        m_pressStart = start;
        m_pressEnd = end;
        return;
    }
    // A click opens the link once, on release over the link it went down on.
    // Moves, drags, double clicks and other buttons open nothing.
    if (!mouse.LeftUp())
        return;
    const bool sameLink = m_pressStart >= 0 && m_pressStart == start && m_pressEnd == end;
    ForgetPress();
    if (!sameLink)
        return;
    wxString url = event.GetString();
    if (url.empty())
        url = GetRange(start, end);
    if (!url.empty() && m_launchBrowser)
        m_launchBrowser(url);
}
