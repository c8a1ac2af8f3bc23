#pragma once
// A curve of sampled points: x, y and an optional third array of doubles,
// the bounding rectangle of the finite points and whether x never decreases.
// Copies share the points; InsertPoints, AppendPoint and Resample return new
// data sets and leave this one as it was.
//
// Appending to the end of a data set reuses its growing buffer when nothing
// else has appended to it yet, so building a long curve point by point costs
// amortised O(1) per point, bounds and sorted flag included. Reading through
// the const accessors (GetConstXData and the like) keeps that path; taking a
// writable pointer (GetXData on a non-const object) means that the next
// append copies the points once and that CalcBoundingRect walks them again.

#include "wxPlotCurve.h"

#include <wx/geometry.h>
#include <wx/bitmap.h>
#include <wx/module.h>

#include <vector>

// Modes of wxPlotData::GetIndexFromX.
enum
{
    wxPLOTDATA_INDEX_CLOSEST = 0,  // the nearest point
    wxPLOTDATA_INDEX_LOWER = 1,    // the last point whose x is not above x
    wxPLOTDATA_INDEX_UPPER = 2     // the first point whose x is not below x
};

class wxPlotDataRefData;

class wxPlotData : public wxPlotCurve
{
public:
    wxPlotData() {}
    // Create (points, zero).
    explicit wxPlotData(int points, bool zero = true) { Create(points, zero); }
    // Copies both flags; shares the data of a valid source and updates its
    // bounding rectangle.
    wxPlotData(const wxPlotData& other);
    // Shares the other's data; this object keeps its own draw flags.
    wxPlotData& operator=(const wxPlotData& other);

    // New data of points points, all zero (the flag is kept for callers; the
    // arrays are zeroed either way), no third array; lines off, points on.
    // False when points < 1 (the old data stays) or memory runs out.
    bool Create(int points, bool zero = true);
    // Copies both flags and shares a valid source's data (false otherwise).
    bool CopyFrom(const wxPlotData& source);
    // Takes over rectangle, pens and options when both are valid.
    bool CopyExtra(const wxPlotData& source);

    // A new heap data set sharing this one's data.
    wxPlotCurve* Clone() const wxOVERRIDE;
    // Has data with at least one point.
    bool Ok() const wxOVERRIDE;
    // y at x, linear between the neighbouring points, the end values outside.
    double GetY(double x) const wxOVERRIDE;
    // Recomputes the bounding rectangle of the finite points and the sorted
    // flag.
    virtual void CalcBoundingRect();

    int GetCount() const;
    // Writable pointers into the shared arrays (NULL when not valid; the
    // third array NULL when absent).
    double* GetXData();
    double* GetYData();
    double* GetExtraData();
    // Read-only pointers; valid until this data set is changed. Readers such
    // as the drawer use these, also on a non-const data set, to keep the
    // append path cheap.
    const double* GetXData() const;
    const double* GetYData() const;
    const double* GetExtraData() const;
    const double* GetConstXData() const { return GetXData(); }
    const double* GetConstYData() const { return GetYData(); }
    const double* GetConstExtraData() const { return GetExtraData(); }
    // 0 when i is out of range.
    double GetXValue(int i) const;
    double GetYValue(int i) const;
    wxPoint2DDouble GetPoint(int i) const;
    // Every x is finite and x never decreases (as of CalcBoundingRect); an
    // x that is not finite makes the data unsorted, whatever its y.
    bool GetIsSorted() const;
    // The option "File.Name".
    wxString GetFilename() const;

    // Stores point i (ignored when out of range) and updates the bounds;
    // every copy sharing the data sees it.
    void SetPoint(int i, double x, double y);
    void SetPoint(int i, const wxPoint2DDouble& pt) { SetPoint(i, pt.m_x, pt.m_y); }
    // Replaces the third array: one value per point, or empty to drop it.
    // False (and no change) for any other length or when not valid.
    bool SetExtraData(const std::vector<double>& extra);

    // A new data set with n points inserted before index (-1 or the count
    // appends). The third array is carried when this data has one and extras
    // is given. Empty when not valid, xs or ys is NULL, n < 0 or index is out
    // of -1..count.
    wxPlotData InsertPoints(int index, int n, const double* xs, const double* ys,
                            const double* extras = NULL) const;
    wxPlotData InsertPoint(int index, double x, double y, double extra = 0.0) const
        { return InsertPoints(index, 1, &x, &y, &extra); }
    wxPlotData AppendPoint(double x, double y, double extra = 0.0) const
        { return InsertPoint(-1, x, y, extra); }
    // n points from start in steps of step (repeated addition), y by GetY.
    wxPlotData Resample(double start, double step, int n) const;

    // Index of the point nearest to x by mode (wxPLOTDATA_INDEX_*); 0 when
    // not valid or x is NaN. On sorted data a run of points with equal x
    // counts as a whole: LOWER gives its last point, UPPER its first.
    int GetIndexFromX(double x, int mode = wxPLOTDATA_INDEX_CLOSEST) const;
    // Index of the point nearest to (x, y) among those within xRange of x
    // (any x when xRange is 0), ties to the lowest index; with none there
    // the point before that range (sorted data) or 0. 0 when not valid or
    // xRange < 0.
    int GetIndexFromXY(double x, double y, double xRange = 0.0) const;
    // Index of the point within dx and dy of (x, y) nearest to it in units
    // of dx and dy (a side of 0 does not count), ties to the lowest index;
    // -1 when there is none or the data is not valid.
    int GetIndexInBox(double x, double y, double dx, double dy) const;

    // Symbol bitmaps by pen state (wxPLOTPEN_*); empty by default.
    wxBitmap GetSymbol(int state) const;
    void SetSymbol(int state, const wxBitmap& bitmap);

    bool GetDrawLines() const { return m_drawLines; }
    void SetDrawLines(bool draw) { m_drawLines = draw; }
    bool GetDrawPoints() const { return m_drawPoints; }
    void SetDrawPoints(bool draw) { m_drawPoints = draw; }

    // Not shared: the drawer joins the points with lines / marks each point.
    bool m_drawLines = false;
    bool m_drawPoints = true;

protected:
    wxObjectRefData* CreateRefData() const wxOVERRIDE;
    wxObjectRefData* CloneRefData(const wxObjectRefData* data) const wxOVERRIDE;

private:
    wxPlotDataRefData* Data() const;

    wxDECLARE_DYNAMIC_CLASS(wxPlotData);
};

// The data set without data that stands for no data.
extern wxPlotData wxNullPlotData;

// Releases the library-wide data set at exit.
class wxPlotDataModule : public wxModule
{
public:
    bool OnInit() wxOVERRIDE { return true; }
    void OnExit() wxOVERRIDE;

private:
    wxDECLARE_DYNAMIC_CLASS(wxPlotDataModule);
};
