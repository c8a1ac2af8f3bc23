#ifndef QUENVAR_TESTS_SETTINGSFIXTURE_H
#define QUENVAR_TESTS_SETTINGSFIXTURE_H

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "Controller.h"
#include "GuiTest.h"
#include "PanelCS.h"
#include "ParamPayloadBuilder.h"
#include "wxSpinCtrlDbl.h"
#include "wxSpinCtrlDblTextCtrl.h"

namespace settingstest
{
using Frames = std::vector<std::string>;

// A request frame as queued: AA, command, data, sum.
inline std::string Frame(unsigned char command, std::initializer_list<unsigned char> data)
{
    std::string frame{'\xAA', static_cast<char>(command)};
    frame.append(data.begin(), data.end());
    unsigned sum = 0;
    for (char c : frame)
        sum += static_cast<unsigned char>(c);
    return frame + static_cast<char>(sum & 0xFF);
}

inline Frames Queued()
{
    Frames frames;
    for (const Request& r : theController->m_requestQueue)
        frames.push_back(r.m_bytes);
    return frames;
}

// Every value differs from the controls' initial ones and from the edits
// the tests make.
inline ParamPayloadBuilder BaseFrame()
{
    const unsigned char thresholds[4] = {20, 60, 100, 140};
    ParamPayloadBuilder b;
    b.CylinderCode(1).IgnitionCoils(2).EngineFlags(false, false).InjectorCode(5);
    b.SwitchTemperature(35).SwitchRpm(1000).SwitchTime(30).CylinderSwitchDelay(300);
    b.MinGasTemperature(5).MinGasRpm(500).MaxGasRpm(6000).GasFaultTime(200);
    b.Pressures(1.2, 0.8).FuelFlags(false, false).Sensors(3, 2, 1, 4).GasLevel(0, thresholds);
    b.InjectorCorrectionByte(0, 100).InjectorCorrectionByte(1, 154).InjectorCorrectionByte(3, 255);
    return b;
}

// Typed into a field: marked edited, as by the user.
inline void Type(wxTextCtrl* text, const wxString& value)
{
    text->ChangeValue(value);
    text->MarkDirty();
}

// Sends event from window as the toolkit would.
inline void Send(wxWindow* window, wxEvent& event)
{
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

inline void PressEnter(wxTextCtrl* text)
{
    wxCommandEvent event(wxEVT_TEXT_ENTER, text->GetId());
    Send(text, event);
}

inline void PressKey(wxTextCtrl* text, int key)
{
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = key;
    Send(text, event);
}

inline void LoseFocus(wxWindow* window)
{
    wxFocusEvent event(wxEVT_KILL_FOCUS, window->GetId());
    Send(window, event);
}

// GTK has selected the row when the event comes.
inline void Choose(wxChoice* choice, int row)
{
    choice->SetSelection(row);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetInt(row);
    Send(choice, event);
}

inline void Click(wxWindow* control, wxEventType type = wxEVT_BUTTON)
{
    wxCommandEvent event(type, control->GetId());
    event.SetInt(1);
    Send(control, event);
}

// A page outside the main window that counts its pressure-axis redraws.
class RecordingPage : public PanelCS
{
public:
    explicit RecordingPage(wxWindow* parent) : PanelCS(parent) {}
    int m_axisRedraws = 0;

protected:
    void UpdatePressureAxis() override { ++m_axisRedraws; }
};

// The page with a controller of its own.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_assertions = guitest::AssertionCount();
        ASSERT_EQ(theController, nullptr);
        theController = new Controller;
        m_page = new RecordingPage(guitest::SharedFrame());
        m_page->OnAttach();
    }

    void TearDown() override
    {
        delete m_page;
        EXPECT_TRUE(theController->m_observers.empty()) << "the page and its dialog left";
        delete theController;
        theController = nullptr;
        EXPECT_EQ(guitest::AssertionCount(), m_assertions);
    }

    static void Load(const ParamPayloadBuilder& frame)
    {
        ASSERT_TRUE(theController->ApplyParameters(frame.Payload().data(), frame.Payload().size()));
    }

    // As a live frame and the main window leave the link.
    static void GoLive(bool onGas = false)
    {
        theController->m_online = 1;
        theController->m_connected = 1;
        theController->m_onGas = onGas ? 1 : 0;
    }

    static void Ready(const ParamPayloadBuilder& frame = BaseFrame())
    {
        Load(frame);
        GoLive();
        theController->m_requestQueue.clear();
    }

    // The enabled states the next idle time sets.
    static void UpdateUI(wxWindow* window) { guitest::UpdateUiAsIdle(window); }

    wxTextCtrl* SpinText(PanelCS::SpinIndex index) const { return m_page->GetSpin(index)->GetTextCtrl(); }

    RecordingPage* m_page = nullptr;
    int m_assertions = 0;
};

} // namespace settingstest

#endif
