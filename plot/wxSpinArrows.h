#ifndef QUENVAR_PLOT_WXSPINARROWS_H
#define QUENVAR_PLOT_WXSPINARROWS_H

#include <wx/timer.h>
#include <wx/window.h>

// A small up/down arrow pair beside a text field. Unlike the native GTK spin
// button it fits a 20-pixel high field, has no value or range of its own and
// always reports the arrow that was pressed: one wxEVT_SPIN_UP or
// wxEVT_SPIN_DOWN (a wxSpinEvent with this window's id) per press, repeated
// while the button is held.
class wxSpinArrows : public wxWindow
{
public:
    // Delay before a held arrow starts repeating, and the repeat interval.
    static constexpr int RepeatDelayMs = 400;
    static constexpr int RepeatIntervalMs = 60;

    wxSpinArrows(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxDefaultSize, const wxString& name = "wxSpinButton");
    ~wxSpinArrows() override;

    // The arrows take no focus: keys go to the text field beside them.
    bool AcceptsFocus() const override { return false; }
    bool AcceptsFocusFromKeyboard() const override { return false; }

    // Which arrow is held: +1 up, -1 down, 0 none.
    int GetPressed() const { return m_pressed; }
    // Whether a held arrow is repeating (or waiting to start repeating).
    bool IsRepeating() const { return m_repeat.IsRunning(); }

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnTimer(wxTimerEvent& event);

    void Press(int direction);
    void Release();
    void SendSpin();

    wxTimer m_repeat;
    int m_pressed = 0;
};

#endif
