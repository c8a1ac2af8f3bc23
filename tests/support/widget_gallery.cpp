// A window with the small widgets at the sizes the pages use, for looking at
// them: two spin controls and the five gas-level lamps, dark and lit.
// scripts/screenshot-widgets runs it under Xvfb and keeps the picture.
//
//   widget_gallery [--ready FILE]
// With --ready, once the window is drawn its screen rectangle is written to
// FILE as WxH+X+Y (ImageMagick's crop geometry).

#include "ReadyFile.h"
#include "wxLed.h"
#include "wxSpinCtrlDbl.h"

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>

namespace
{
// The level lamps' colours from the gas-level dialog: four green, one red.
const char* const OffColours[5] = {"666666", "666666", "666666", "666666", "888826"};
const char* const OnColours[5] = {"22AA55", "22AA55", "22AA55", "22AA55", "FF5555"};

wxFont LabelFont()
{
    return wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS).Bold().FaceName("Tahoma"));
}

class GalleryFrame : public wxFrame
{
public:
    explicit GalleryFrame(const wxString& readyFile)
        : wxFrame(nullptr, wxID_ANY, "Widget gallery", wxPoint(0, 0)), m_readyFile(readyFile)
    {
        auto* panel = new wxPanel(this, wxID_ANY);
        m_panel = panel;
        auto* grid = new wxFlexGridSizer(2, wxSize(12, 10));

        auto label = [panel](const wxString& text) {
            auto* st = new wxStaticText(panel, wxID_ANY, text);
            st->SetFont(LabelFont());
            return st;
        };

        auto* temperature = new wxSpinCtrlDbl(panel, 4570, wxEmptyString, wxDefaultPosition,
                                              wxSize(60, 20), wxSP_ARROW_KEYS, -30, 9, 0, 1);
        temperature->SetFont(LabelFont());
        temperature->SetValue(-12);
        grid->Add(label("Gas temperature -30..9"), wxSizerFlags().CenterVertical());
        grid->Add(temperature);

        auto* pressure = new wxSpinCtrlDbl(panel, 4584, wxEmptyString, wxDefaultPosition,
                                           wxSize(60, 20), wxSP_ARROW_KEYS | wxTE_PROCESS_ENTER,
                                           0, 2.55, 1.0, 0.01);
        pressure->SetFont(LabelFont());
        pressure->SetForegroundColour(*wxGREEN);
        pressure->SetBackgroundColour(*wxBLACK);
        pressure->SetFormat("%3.2f");
        grid->Add(label("Working pressure [Bar]"), wxSizerFlags().CenterVertical());
        grid->Add(pressure);

        for (int lit = 0; lit < 2; ++lit) {
            auto* row = new wxBoxSizer(wxHORIZONTAL);
            for (int i = 0; i < 5; ++i) {
                auto* led = new wxLed(panel, wxID_ANY, OffColours[i]);
                led->SetOnColour(OnColours[i]);
                led->Enable(lit == 1);
                row->Add(led, wxSizerFlags().Border(wxRIGHT, 6));
            }
            grid->Add(label(lit ? "Lamps lit" : "Lamps dark"), wxSizerFlags().CenterVertical());
            grid->Add(row);
        }

        auto* outer = new wxBoxSizer(wxVERTICAL);
        outer->Add(grid, wxSizerFlags().Border(wxALL, 12));
        panel->SetSizer(outer);
        panel->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
        SetClientSize(panel->GetBestSize());

        // Let GTK finish its first drawing before telling anyone to look.
        m_settle.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ReportReady(); });
    }

    void Start()
    {
        Show();
        Update();
        if (!m_readyFile.empty())
            m_settle.StartOnce(300);
    }

private:
    void ReportReady() { WriteReadyFile(m_readyFile, m_panel->GetScreenRect()); }

    wxString m_readyFile;
    wxPanel* m_panel = nullptr;
    wxTimer m_settle;
};
}

class GalleryApp : public wxApp
{
public:
    bool OnInit() override
    {
        wxCmdLineParser parser(argc, argv);
        parser.AddOption("", "ready", "write the window's screen rectangle to this file");
        if (parser.Parse() != 0)
            return false;
        wxString readyFile;
        parser.Found("ready", &readyFile);
        auto* frame = new GalleryFrame(readyFile);
        frame->Start();
        return true;
    }
};

wxIMPLEMENT_APP(GalleryApp);
