#ifndef QUENVAR_PLOT_WXLED_H
#define QUENVAR_PLOT_WXLED_H

#include <memory>

#include <wx/bitmap.h>
#include <wx/thread.h>
#include <wx/window.h>

// A 17 x 17 round lamp, drawn from an XPM template in one colour. It shows
// its off colour while disabled and its on colour while enabled; owners
// switch it with Enable. Colours are six hex digits "RRGGBB".
class wxLed : public wxWindow
{
public:
    static constexpr int Size = 17;

    // Starts disabled, showing offColour (a mid grey when offColour is not six
    // hex digits).
    wxLed(wxWindow* parent, wxWindowID id, const char* offColour,
          const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~wxLed() override;

    // Enables or disables the window and shows the matching colour.
    bool Enable(bool enable = true) override;
    // Rebuilds the picture in the given colour (its first six characters)
    // unless that colour is already shown or is not hex.
    virtual void SetLedColour(const char* colour);
    // Sets the colour shown while enabled; ignored unless exactly six hex
    // digits. Takes effect at once on an enabled lamp.
    void SetOnColour(const char* colour);

    wxString GetOnColour() const { return m_onColour; }
    wxString GetOffColour() const { return m_offColour; }
    // The colour of the current picture (empty before the first one).
    wxString GetShownColour() const { return m_shownColour; }
    // The current picture; invalid before the first one.
    wxBitmap GetBitmap() const;
    // How often the picture was built, for checking that equal colours cost
    // nothing.
    unsigned GetRebuildCount() const { return m_rebuilds; }

    // Whether text starts with six hex digits.
    static bool IsHexColour(const char* text);

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);

    std::unique_ptr<wxBitmap> m_bitmap;
    mutable wxMutex m_mutex;
    char m_onColour[7] = "FFFFFF";
    char m_offColour[7] = "";
    char m_shownColour[7] = "";
    unsigned m_rebuilds = 0;
};

#endif
