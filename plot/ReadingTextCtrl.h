#ifndef QUENVAR_READINGTEXTCTRL_H
#define QUENVAR_READINGTEXTCTRL_H

#include <map>

#include <wx/bitmap.h>
#include <wx/control.h>

// A one-line reading drawn by itself, right-aligned in a fixed width. A new
// value only repaints the control: a GTK label would have the whole window
// laid out again on every change, ten times a second. Each character is
// rendered once into a small bitmap and then only copied, which spares Pango
// a layout per reading per frame.
class ReadingTextCtrl : public wxControl
{
public:
    // widest: the longest text it must show, each digit in it standing for
    // any digit (as "0000.0"); it sets the control's width.
    ReadingTextCtrl(wxWindow* parent, const wxString& text, const wxString& widest,
                    const wxFont& font = wxNullFont);

    // A text wider than foreseen widens the control and lays the window out
    // again, rather than losing digits.
    void SetLabel(const wxString& text) override;
    // The text shown fits the control whole.
    bool ShowsWhole() const;
    wxString GetLabel() const override { return m_text; }

    // Draw the background colour behind the text instead of the parent's.
    bool SetBackgroundColour(const wxColour& colour) override;
    bool SetForegroundColour(const wxColour& colour) override;
    bool SetFont(const wxFont& font) override;

    // The system's attributes, without asking GTK's style machinery on
    // every paint as wxControl would.
    wxVisualAttributes GetDefaultAttributes() const override;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);

    const wxBitmap& Glyph(wxUniChar ch);
    // Draws the text onto m_picture.
    void Compose();
    void ForgetPictures();
    wxColour Background() const;
    int CharWidth(wxUniChar ch) const;
    int TextWidth(const wxString& text) const;
    void Measure();

    wxString m_text;
    wxString m_widest;
    // The characters drawn so far (readings use about a dozen), in the
    // current font and colours.
    std::map<wxUniChar, wxBitmap> m_glyphs;
    // The whole control as last painted, and the text it shows.
    wxBitmap m_picture;
    wxString m_pictureText;
    mutable std::map<wxUniChar, int> m_widths;
    wxSize m_extent;
    bool m_ownBackground = false;
    wxColour m_parentBackground;

    wxDECLARE_EVENT_TABLE();
};

#endif
