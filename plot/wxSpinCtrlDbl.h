#ifndef QUENVAR_PLOT_WXSPINCTRLDBL_H
#define QUENVAR_PLOT_WXSPINCTRLDBL_H

#include <wx/control.h>
#include <wx/spinctrl.h>

class wxSpinArrows;
class wxSpinCtrlDblTextCtrl;

// Digits value that selects the general format ("%lg", six significant digits).
constexpr int wxSPINCTRLDBL_AUTODIGITS = -1;

// A text field with up/down arrows for editing a double. The value moves by
// an increment with the arrows and keys, is shown through a printf-style
// format, is limited to a range (none while max < min), and every change is
// announced as a wxEVT_SPINCTRL wxSpinEvent (value rounded to an int, the
// shown text as its string), so pages bind it like wxSpinCtrl.
// Numbers are formatted and read in the C locale whatever the user's locale.
class wxSpinCtrlDbl : public wxControl
{
public:
    wxSpinCtrlDbl();
    wxSpinCtrlDbl(wxWindow* parent, wxWindowID id = wxID_ANY,
                  const wxString& value = wxEmptyString,
                  const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                  long style = 0, double min = 0.0, double max = 100.0, double initial = 0.0,
                  double increment = 1.0, int digits = wxSPINCTRLDBL_AUTODIGITS,
                  const wxString& name = "wxSpinCtrlDbl");
    ~wxSpinCtrlDbl() override;

    bool Create(wxWindow* parent, wxWindowID id = wxID_ANY,
                const wxString& value = wxEmptyString,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = 0, double min = 0.0, double max = 100.0, double initial = 0.0,
                double increment = 1.0, int digits = wxSPINCTRLDBL_AUTODIGITS,
                const wxString& name = "wxSpinCtrlDbl");

    // Shows text if it reads as a number (through SetValue); otherwise only
    // with force, and then the value stays.
    virtual void SetValueString(const wxString& text, bool force = false);
    // Shows v through the format and takes the shown text back as the value;
    // ignores v outside a set range (and non-finite v). Sends no event.
    virtual void SetValue(double v);
    // Back to the value given at creation.
    virtual void ResetValue();
    // A range is set while max >= min.
    virtual bool HasRange() const;
    virtual bool InRange(double v) const;
    // Takes the typed text as the value: without force a value outside the
    // range is refused, with force it is clamped and unreadable text is
    // replaced by the current value. Sends the update event on a change when
    // sendEvent is set.
    virtual void SyncSpinToText(bool sendEvent = true, bool force = false);

    // Takes a printf format for one double (e.g. "%3.2f"); anything else is
    // ignored. Returns whether it was taken.
    bool SetFormat(const wxString& format);
    // Announces the current value as a wxEVT_SPINCTRL event.
    void SendUpdateEvent();

    double GetValue() const { return m_value; }
    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }
    double GetIncrement() const { return m_increment; }
    double GetDefaultValue() const { return m_default_value; }
    int GetDigits() const { return m_digits; }
    wxString GetFormat() const { return m_textFormat; }
    // The text the field shows (empty without a text field).
    wxString GetText() const;
    void SetRange(double min, double max);
    void SetIncrement(double increment) { m_increment = increment; }

    wxSpinCtrlDblTextCtrl* GetTextCtrl() const { return m_textCtrl; }
    wxSpinArrows* GetSpinButton() const { return m_spinButton; }

    // The focus belongs to the text field.
    void SetFocus() override;
    // Colours and font belong to the text field.
    bool SetBackgroundColour(const wxColour& colour) override;
    bool SetForegroundColour(const wxColour& colour) override;
    bool SetFont(const wxFont& font) override;

    // The spin-up value carried by the event: round to nearest, clamped to
    // the int range.
    static int RoundToInt(double v);

protected:
    wxSize DoGetBestSize() const override;
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;

private:
    friend class wxSpinCtrlDblTextCtrl;

    void OnChar(wxKeyEvent& event);
    void OnSpinUp(wxSpinEvent& event);
    void OnSpinDown(wxSpinEvent& event);
    void OnTextEnter(wxCommandEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void SpinBy(double delta);
    double Stepped(double delta) const;
    // Text field on the left, arrows on the right, both of full height.
    void LayoutParts();
    wxString FormatValue(double v) const;

    wxSpinArrows* m_spinButton = nullptr;
    wxSpinCtrlDblTextCtrl* m_textCtrl = nullptr;
    double m_min = 0.0;
    double m_max = 100.0;
    double m_value = 0.0;
    double m_default_value = 0.0;
    double m_increment = 1.0;
    int m_digits = wxSPINCTRLDBL_AUTODIGITS;
    wxString m_textFormat;

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(wxSpinCtrlDbl);
};

#endif
