#ifndef QUENVAR_LEVELBARCTRL_H
#define QUENVAR_LEVELBARCTRL_H

#include <wx/control.h>

// A vertical bar filled from the bottom in its foreground colour over its
// background colour, with a range and a value like a gauge. Drawn by
// itself: GTK's progress bar takes neither colour.
class LevelBarCtrl : public wxControl
{
public:
    LevelBarCtrl(wxWindow* parent, wxWindowID id, int range, const wxPoint& pos,
                 const wxSize& size);

    int GetRange() const { return m_range; }
    int GetValue() const { return m_value; }
    // Values outside 0..range are clamped; a change repaints.
    void SetValue(int value);

    // The system's attributes, without asking GTK's style machinery on
    // every paint as wxControl would.
    wxVisualAttributes GetDefaultAttributes() const override;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);

    int m_range;
    int m_value = 0;

    wxDECLARE_EVENT_TABLE();
};

#endif
