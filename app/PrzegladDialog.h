#ifndef QUENVAR_PRZEGLADDIALOG_H
#define QUENVAR_PRZEGLADDIALOG_H

#include <wx/dialog.h>

#include <cstdint>

class wxButton;
class wxComboBox;

// Sets the service interval: a distance in km, turned into engine hours at
// 50 km/h beyond the total engine time and handed to the controller as the
// next-service mark.
class PrzegladDialog : public wxDialog
{
public:
    // Not the toolkit's OK id: the close box and Escape would press it.
    enum
    {
        ID_SET = wxID_HIGHEST + 1
    };
    // The longest interval taken.
    static constexpr unsigned long kMaxKm = 999999;

    // Style: caption, system menu and close box, whatever is passed.
    PrzegladDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                   const wxSize& size, long style);

    // "设定 ": converts and sends the interval, then closes the dialog.
    void OnSet(wxCommandEvent& event);
    // Escape leaves without sending, as the close box does.
    void OnCharHook(wxKeyEvent& event);
    // Enter in the interval's text: shows the distance as a number.
    virtual void OnIntervalText(wxCommandEvent& event);
    // A row chosen: the text is parsed, nothing changes.
    virtual void OnIntervalChoice(wxCommandEvent& event);

    // km from an interval text: leading blanks skipped, the digits (ASCII or
    // full-width) up to the first other character, none = 0. False when
    // beyond kMaxKm.
    static bool ParseKm(const wxString& text, unsigned long& km);
    // Engine hours of the next service: the total engine time (half-seconds)
    // plus the time km takes at 50 km/h; 0 for 0 km. False when the mark
    // would not fit the 32-bit counter.
    static bool ServiceHours(uint32_t totalHalfSeconds, unsigned long km, double& hours);

    wxComboBox* m_interval = nullptr;
    wxButton* m_setButton = nullptr;

private:
    // Parses the text and shows km; false (and said so) when refused.
    bool ShowParsedKm(unsigned long& km);

    wxDECLARE_EVENT_TABLE();
};

#endif
