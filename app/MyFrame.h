#ifndef QUENVAR_MYFRAME_H
#define QUENVAR_MYFRAME_H

#include <memory>
#include <string>
#include <vector>

#include <wx/colour.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include "CalibrationHost.h"
// The channel colours live with the oscilloscope that draws them.
#include "ChannelColours.h"
#include "ControllerHost.h"
#include "ControllerObserver.h"
#include "ControllerReady.h"
// The spinner table lives with the calibration, which runs without windows.
#include "SpinnerFrames.h"

class FilledBoxCtrl;
class GuZhangMa;
class LevelBarCtrl;
class MapPane;
class OscylPane;
class PanelCS;
class ReadingTextCtrl;
class SettingsFileTransfer;
class wxButton;
class wxCheckBox;
class wxGauge;
class wxNotebook;
class wxPanel;
class wxStaticBox;
class wxStaticText;
class wxStatusBar;
class wxToolBar;

// Window and command ids of the main window.
enum
{
    ID_TOOL_PORT = 8566,
    ID_TOOL_LOAD_SAVE = 8567,
    ID_TOOL_INJECTOR_CALC = 8568,
    ID_TOOL_ABOUT = 8569,
    ID_TOOL_DEMO = 8570,
    ID_INJECTOR_CHECK_FIRST = 8670,
    ID_INJECTOR_CHECK_LAST = 8677,
    ID_POLL_TIMER = 8678,
    ID_FUEL_SWITCH = 8679,
    ID_TOOL_SERVICE = 8680
};

// The only top-level window: toolbar, status bar with a progress gauge, the
// notebook of pages and, below it, the live readings. Creates the one
// Controller, drives it from the 50 ms poll timer and is its host, and the
// calibration's.
class MyFrame : public wxFrame, public ControllerObserver, public ControllerHost, public CalibrationHost
{
public:
    static constexpr int kPollIntervalMs = 50;
    static constexpr int kCylinders = 8;
    static constexpr int kLamps = 6;
    // Longest wait for a calibration's stop to be answered before the line
    // is closed or handed to the demo.
    static constexpr int kStopWaitMs = 400;

    // configPath: where "Oskat.ini" lives; the working directory unless a
    // test gives another file.
    MyFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
            const wxSize& size, const wxString& configPath = "Oskat.ini");
    ~MyFrame() override;

    // --- Forwarders for the controller, the pages and the calibration ---
    // The text into status field 1.
    void SetStatusMessage(const wxString& text) override;
    // Shows or hides the progress gauge; hiding also empties status field 1.
    void ShowProgress(bool show) override;
    // Moves the gauge: 1..15 as given (clamped to the gauge's range), else 0.
    void SetProgress(int value) override;
    // Stops the poll timer if it runs.
    void StopPollTimer() override;
    // Starts the poll timer (50 ms, repeating) if it does not run.
    void StartPollTimer() override;
    // Relabels a tool when its label differs; pauses polling meanwhile.
    void SetToolLabel(int toolId, wxString label, wxString shortHelp);
    // Redraws the map page's pressure axis (after the engine type changed).
    void UpdatePressureAxis();
    // A modal wxMessageBox without parent; polling goes on unless the
    // caller stopped it.
    int ShowMessageBox(const wxString& message, const wxString& caption, long style) override;
    // Switches demo mode on or off, as the demo tool does; a running
    // calibration ends first.
    void ToggleDemo();

    // --- Configuration ("Oskat.ini", the one key "Port") ---
    // Reads the port name; false when the file does not exist.
    bool LoadPortConfig();
    // Replaces the file by the one key; false (and an error logged) when it
    // cannot be written.
    bool SavePortConfig();
    // What closing does before the process ends: end a running calibration
    // (its stop sent first), save the configuration and close the port.
    void PrepareExit();
    // The narrow device path handed to the serial layer for a port name:
    // on Linux the name is the device path itself (/dev/ttyUSB0), in UTF-8.
    static std::string DevicePath(const wxString& portName);

    // --- ControllerObserver ---
    void OnControllerData() override;
    void OnParametersLoaded() override;
    void OnAttach() override;

    // --- ControllerHost ---
    void ShowMessage(const wxString& text, const wxString& caption) override;
    void UpdateUI() override;
    void Sleep(int milliseconds) override;
    void SayStatus(const wxString& text) override;
    void SettingsFileSaved(const wxString& path, const wxString& error) override;
    void SettingsFileLoaded(const wxString& path) override;
    // Hands settings files to the controller and reports what came of them.
    SettingsFileTransfer* GetSettingsFileTransfer() const { return m_fileTransfer.get(); }

    // --- Live-readings area ---
    // Injector check boxes and gas times from the gas cylinder mask.
    void ShowGasRows(unsigned char mask);
    // Every gas time and bar to zero.
    void ShowPetrolRows();
    // The cylinder mask of the ticked injector check boxes (cylinder 1 = bit 0).
    unsigned char TickedInjectorMask() const;

    bool IsPollTimerRunning() const { return m_pollTimer.IsRunning(); }
    wxStatusBar* GetStatusLine() const { return m_statusBar; }
    wxGauge* GetProgressGauge() const { return m_progressGauge; }

    // Pages and controls; the pages and the tests read them.
    wxNotebook* m_notebook = nullptr;
    wxToolBar* m_toolBar = nullptr;
    PanelCS* m_settingsPage = nullptr;
    MapPane* m_mapPage = nullptr;
    OscylPane* m_oscylPage = nullptr;
    GuZhangMa* m_faultPage = nullptr;

    wxStaticBox* m_liveBox = nullptr;
    wxStaticBox* m_injectionBox = nullptr;
    wxStaticBox* m_fuelBox = nullptr;
    ReadingTextCtrl* m_gasPressureText = nullptr;
    ReadingTextCtrl* m_manifoldPressureText = nullptr;
    ReadingTextCtrl* m_gasTemperatureText = nullptr;
    ReadingTextCtrl* m_reducerTemperatureText = nullptr;
    ReadingTextCtrl* m_o2Voltage1Text = nullptr;
    ReadingTextCtrl* m_o2Voltage2Text = nullptr;
    ReadingTextCtrl* m_batteryVoltageText = nullptr;
    ReadingTextCtrl* m_rpmText = nullptr;
    ReadingTextCtrl* m_petrolTimeTexts[kCylinders] = {};
    wxStaticText* m_cylinderSwatches[kCylinders] = {};
    LevelBarCtrl* m_petrolTimeGauges[kCylinders] = {};
    std::vector<wxCheckBox*> m_injectorChecks;
    std::vector<ReadingTextCtrl*> m_gasTimeTexts;
    std::vector<LevelBarCtrl*> m_gasTimeGauges;
    std::vector<FilledBoxCtrl*> m_lamps;
    wxButton* m_fuelButton = nullptr;

    wxString m_portName;      // as listed, e.g. /dev/ttyUSB0; empty when none
    int m_portIndex = 0;      // position of m_portName in the port listing
    std::string m_portDevice; // what the serial layer opens

private:
    void BuildToolBar();
    void BuildStatusLine();
    void CreateControls();
    void CreateLiveArea(wxSizer* frameSizer);
    void CreateLiveBox(wxSizer* row);
    void CreateInjectionBox(wxSizer* row);
    void CreateFuelBox(wxSizer* row);
    // Field 1 takes the room the gauge's field leaves.
    void LayoutStatusFields();
    void PlaceProgressGauge();
    void FitMinimumSize();
    void FindPortIndex();
    // Ends a running calibration with reason and waits up to kStopWaitMs
    // for its stop to be answered.
    void EndCalibrationRun(const wxString& reason);
    void SyncDemoTool();
    void ShowFuel(const wxString& label, const wxColour& background);
    // Switches the fuel for the user's controls when the gate allows it, else
    // says why not; whether it was asked of the controller.
    bool RequestFuel(bool gas, unsigned char mask);

    void OnPollTimer(wxTimerEvent& event);
    void OnPort(wxCommandEvent& event);
    void OnLoadSave(wxCommandEvent& event);
    void OnInjectorCalc(wxCommandEvent& event);
    void OnServiceInfo(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnDemo(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnInjectorCheck(wxCommandEvent& event);
    void OnFuelSwitch(wxCommandEvent& event);
    void OnUpdateFuelControl(wxUpdateUIEvent& event);
    void OnStatusBarSize(wxSizeEvent& event);
    void OnStatusBarMotion(wxMouseEvent& event);

    // Injector check boxes the engine has, from its cylinder code.
    int m_injectorsInUse = kCylinders;
    wxTimer m_pollTimer;
    wxStatusBar* m_statusBar = nullptr;
    wxGauge* m_progressGauge = nullptr;
    wxString m_configPath;
    bool m_ownsController = false;
    std::unique_ptr<SettingsFileTransfer> m_fileTransfer;

    wxDECLARE_EVENT_TABLE();
};

// Advanced on each live frame; lamp 5 blinks with its parity.
extern int LampBlinkCounter;

#endif
