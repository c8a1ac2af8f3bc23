#pragma once
// Base of everything the plot control draws as a curve: a bounding
// rectangle in plot units, a pen per drawing state and string options, all
// in shared data (copies share it; the last owner frees it).

#include "wxGenericPen.h"

#include <wx/object.h>
#include <wx/clntdata.h>
#include <wx/geometry.h>
#include <wx/arrstr.h>

// Pen indexes of a curve by drawing state.
enum
{
    wxPLOTPEN_NORMAL = 0,
    wxPLOTPEN_ACTIVE = 1,
    wxPLOTPEN_SELECTED = 2,
    wxPLOTPEN_MAXTYPE = 3
};

class wxPlotCurveRefData : public wxObjectRefData, public wxClientDataContainer
{
public:
    // Starts with a zero rectangle, no options and pens of their own that
    // look like the library-wide defaults.
    wxPlotCurveRefData();
    virtual ~wxPlotCurveRefData() {}

    // Takes over rectangle, pens and options of another curve's data.
    void CopyExtra(const wxPlotCurveRefData& source);

    wxRect2DDouble m_boundingRect;
    wxArrayGenericPen m_pens;
    wxArrayString m_optionNames;   // sorted
    wxArrayString m_optionValues;  // in the order of the names

    // Tag for derived data that takes everything over from a source at once.
    struct NoDefaults {};

protected:
    explicit wxPlotCurveRefData(NoDefaults) {}
};

// The library-wide default pens: black, blue and red, width 1, solid, round
// cap and join. Index by wxPLOTPEN_*.
const wxGenericPen& wxPlotCurveDefaultPen(int which);

class wxPlotCurve : public wxObject
{
public:
    wxPlotCurve() {}
    virtual ~wxPlotCurve() {}

    // A new heap curve; the base class returns one without data.
    virtual wxPlotCurve* Clone() const;
    virtual bool Ok() const { return m_refData != NULL; }
    bool IsOk() const { return Ok(); }
    // Gives this object a deep copy of its data when the data is shared.
    using wxObject::UnShare;

    // y at x; the base curve has none and answers 0.
    virtual double GetY(double x) const;
    // The rectangle, all zero without data.
    virtual wxRect2DDouble GetBoundingRect() const;
    virtual void SetBoundingRect(const wxRect2DDouble& rect);

    // A copy of pen which (wxPLOTPEN_*); an empty pen when out of range.
    wxGenericPen GetPen(int which) const;
    void SetPen(int which, const wxGenericPen& pen);
    int GetPenCount() const;

    // The value stored under name (exact match), empty when absent.
    wxString GetOption(const wxString& name) const;
    // Stores value under name, keeping the names sorted. Nothing without data.
    void SetOption(const wxString& name, const wxString& value);
    int GetOptionCount() const;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

    wxPlotCurveRefData* CurveData() const
        { return static_cast<wxPlotCurveRefData*>(m_refData); }

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotCurve);
};

// The curve without data that stands for no curve.
extern wxPlotCurve wxNullPlotCurve;
