#ifndef QUENVAR_FILLEDBOXCTRL_H
#define QUENVAR_FILLEDBOXCTRL_H

#include <wx/control.h>

// A small square lamp: filled with its colour when lit, with the button-face
// colour when not. The main window writes m_lit and asks for a repaint.
class FilledBoxCtrl : public wxControl
{
public:
    FilledBoxCtrl(wxWindow* parent, wxWindowID id, int x, int y, int width, int height);
    ~FilledBoxCtrl() override;

    // Changes the lit colour and repaints; the lit state stays as it is.
    void SetColour(wxColour colour);
    const wxColour& GetColour() const { return m_colour; }

    wxColour m_colour;
    bool m_lit;

    // The system's attributes, without asking GTK's style machinery on
    // every paint as wxControl would.
    wxVisualAttributes GetDefaultAttributes() const override;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);

    wxDECLARE_EVENT_TABLE();
};

#endif
