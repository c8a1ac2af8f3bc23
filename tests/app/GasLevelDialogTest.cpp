// The gas-level dialog: ordering rule, sliders, typed voltages, type
// changes, loading, live lamps and closing.

#include "SettingsFixture.h"

#include <wx/button.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include "LayoutCheck.h"
#include "LivePayloadBuilder.h"
#include "Screenshot.h"
#include "ReadingTextCtrl.h"
#include "qiliangxianshi.h"
#include "wxLed.h"

using namespace settingstest;

namespace
{
ParamPayloadBuilder WithThresholds(unsigned char type, std::vector<unsigned char> steps)
{
    ParamPayloadBuilder frame = BaseFrame();
    frame.GasLevel(type, steps.data());
    return frame;
}

const std::string kEnable = Frame(49, {1});
}

class GasLevelTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        m_dialog = m_page->GetGasLevelDialog();
    }

    // The slider at position and the event GTK sends for it.
    void Scroll(int index, wxEventType type, int position)
    {
        m_dialog->GetSlider(index)->SetValue(position);
        wxScrollEvent event(type, m_dialog->GetSlider(index)->GetId(), position, wxHORIZONTAL);
        Send(m_dialog->GetSlider(index), event);
    }

    // Dragged to position, then let go where the rule left it.
    void Drag(int index, int position)
    {
        Scroll(index, wxEVT_SCROLL_THUMBTRACK, position);
        Scroll(index, wxEVT_SCROLL_CHANGED, m_dialog->GetSlider(index)->GetValue());
    }

    std::vector<int> Steps() const
    {
        std::vector<int> steps;
        for (int i = 0; i < 4; ++i)
            steps.push_back(m_dialog->GetSlider(i)->GetValue());
        return steps;
    }

    wxString Texts() const
    {
        wxString texts;
        for (int i = 0; i < 4; ++i)
            texts += m_dialog->GetText(i)->GetValue() + " ";
        return texts.Trim();
    }

    qiliangxianshi* m_dialog = nullptr;
};

TEST(GasLevelOrder, StepIsHeldOneShortOfAPassedNeighbourAndOnTheSlider)
{
    const struct
    {
        int type, p, lower, upper, expected;
    } cases[] = {
        {0, 70, 50, 60, 59},  {0, 60, 50, 60, 60}, {1, 40, 50, 60, 51},  {0, 70, 80, 60, 59},
        {0, 100, 255, -1, 255}, // no 256 beside 255
        {0, 5, -1, 0, 0},     {2, 40, -1, 50, 51}, {3, 60, 50, -1, 49},  {2, 255, -1, 255, 255},
        {4, 70, 50, 60, 70}, // no direction, no rule
    };
    for (const auto& c : cases)
        EXPECT_EQ(qiliangxianshi::OrderedStep(c.type, c.p, c.lower, c.upper), c.expected)
            << c.type << " " << c.p << " " << c.lower << " " << c.upper;
}

TEST_F(GasLevelTest, SlidersByDragAndKeysSendOnceWhenLetGo)
{
    Ready(WithThresholds(0, {10, 50, 60, 200}));
    Scroll(1, wxEVT_SCROLL_THUMBTRACK, 70);
    EXPECT_EQ(m_dialog->GetSlider(1)->GetValue(), 59);
    EXPECT_EQ(m_dialog->GetText(1)->GetValue(), "1.18");
    EXPECT_TRUE(Queued().empty()) << "nothing goes while dragging";
    Scroll(1, wxEVT_SCROLL_CHANGED, 59);
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {10, 59, 60, 200, 0})}));
    Drag(1, 60);
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {10, 60, 60, 200, 0})}));

    // Keys: GTK sends a line event, then the changed one.
    Ready(WithThresholds(2, {200, 100, 50, 10}));
    Scroll(3, wxEVT_SCROLL_LINEUP, 51);
    Scroll(3, wxEVT_SCROLL_CHANGED, 51);
    EXPECT_EQ(Queued(), (Frames{Frame(13, {200, 100, 50, 49, 2})}));
}

TEST_F(GasLevelTest, VoltageIsTakenOnEnterOrFocusLossAndRefusedOffTheGauge)
{
    Ready();
    wxTextCtrl* x4 = m_dialog->GetText(3);
    for (const char* keystrokes : {"1", "1.", "4.5"})
        Type(x4, keystrokes);
    EXPECT_TRUE(Queued().empty()) << "nothing per keystroke";
    PressEnter(x4);
    EXPECT_EQ(x4->GetValue(), "4.50");
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {20, 60, 100, 225, 0})}));
    theController->m_requestQueue.clear();

    wxTextCtrl* x1 = m_dialog->GetText(0);
    Type(x1, "0.98");
    LoseFocus(x1);
    EXPECT_EQ(Queued(), (Frames{Frame(13, {49, 60, 100, 225, 0})}));
    theController->m_requestQueue.clear();

    for (const char* typed : {"9", "5.11", "-0.5", "", "abc", "1.5V"}) {
        Type(x1, typed);
        PressEnter(x1);
        EXPECT_EQ(x1->GetValue(), "0.98") << typed;
        EXPECT_FALSE(m_dialog->GetNotice()->GetLabel().empty()) << typed;
    }
    EXPECT_EQ(Steps(), (std::vector<int>{49, 60, 100, 225}));
    EXPECT_TRUE(Queued().empty());
    Type(x4, "5.10");
    PressEnter(x4);
    EXPECT_EQ(m_dialog->GetSlider(3)->GetValue(), 255);
    EXPECT_TRUE(m_dialog->GetNotice()->GetLabel().empty());
}

TEST_F(GasLevelTest, LoadShowsStepsAsVoltsAndAReversedTypeTurnsTheSliders)
{
    Ready(WithThresholds(1, {0, 1, 100, 255}));
    EXPECT_EQ(m_dialog->GetSensorChoice()->GetSelection(), 1);
    EXPECT_EQ(Texts(), "0.00 0.02 2.00 5.10");
    EXPECT_TRUE(Queued().empty());

    Ready();
    Choose(m_dialog->GetSensorChoice(), 1);
    EXPECT_EQ(Steps(), (std::vector<int>{20, 60, 100, 140}));
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {20, 60, 100, 140, 1})}));
    Choose(m_dialog->GetSensorChoice(), 2);
    EXPECT_EQ(Steps(), (std::vector<int>{140, 100, 60, 20}));
    EXPECT_EQ(Texts(), "2.80 2.00 1.20 0.40");
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {140, 100, 60, 20, 2})}));
}

TEST_F(GasLevelTest, UnknownTypeOrDisorderedThresholdsAreNamedAndNotSent)
{
    Ready(WithThresholds(0, {50, 40, 60, 70}));
    EXPECT_FALSE(m_dialog->GetNotice()->GetLabel().empty());
    Drag(3, 80);
    EXPECT_TRUE(Queued().empty()) << "still out of order";
    Drag(0, 30);
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {30, 40, 60, 80, 0})}));
    EXPECT_TRUE(m_dialog->GetNotice()->GetLabel().empty());

    Ready(WithThresholds(4, {20, 60, 100, 140}));
    EXPECT_EQ(m_dialog->GetSensorChoice()->GetSelection(), wxNOT_FOUND);
    EXPECT_TRUE(m_dialog->GetNotice()->GetLabel().Contains("4"));
    UpdateUI(m_dialog);
    EXPECT_TRUE(m_dialog->GetSensorChoice()->IsEnabled());
    EXPECT_FALSE(m_dialog->GetSlider(0)->IsEnabled()) << "no thresholds without a type";
    Choose(m_dialog->GetSensorChoice(), 0);
    UpdateUI(m_dialog);
    EXPECT_TRUE(m_dialog->GetSlider(0)->IsEnabled());
    EXPECT_EQ(Queued(), (Frames{Frame(13, {20, 60, 100, 140, 0})}));
}

// A rising type with falling thresholds: neither type could be sent, and
// sliders moved one by one against the rule were the only way out. Sensor
// type chosen (-1: the order button) and the frame sent.
TEST_F(GasLevelTest, ThresholdsOutOfOrderForTheTypeArePutInOrderWhenAsked)
{
    const std::pair<int, std::string> ways[] = {{2, Frame(13, {140, 100, 60, 20, 2})},
                                                 {1, Frame(13, {20, 60, 100, 140, 1})}, {-1, Frame(13, {20, 60, 100, 140, 0})}};
    for (const auto& [chosen, sent] : ways) {
        Ready(WithThresholds(0, {140, 100, 60, 20}));
        EXPECT_TRUE(m_dialog->GetOrderButton()->IsShown());
        chosen >= 0 ? Choose(m_dialog->GetSensorChoice(), chosen) : Click(m_dialog->GetOrderButton());
        EXPECT_EQ(Queued().empty() ? "" : Queued().back(), sent) << chosen;
        EXPECT_EQ(m_dialog->GetNotice()->GetLabel(), wxString(L"阈值已按传感器类型的顺序重新排列。"));
        EXPECT_FALSE(m_dialog->GetOrderButton()->IsShown());
    }
    // The button greys with the other controls once the link is lost.
    theController->m_linkLost = 1;
    UpdateUI(m_dialog);
    EXPECT_FALSE(m_dialog->GetOrderButton()->IsEnabled());
}

TEST_F(GasLevelTest, GateAndRefreshLeaveWhatTheUserHolds)
{
    UpdateUI(m_dialog);
    EXPECT_FALSE(m_dialog->GetSensorChoice()->IsEnabled());
    EXPECT_FALSE(m_dialog->GetText(3)->IsEnabled());
    EXPECT_TRUE(m_dialog->FindWindow(qiliangxianshi::ID_EXIT)->IsEnabled());
    GoLive();
    Scroll(3, wxEVT_SCROLL_CHANGED, 10);
    EXPECT_TRUE(Queued().empty()) << "no zero thresholds before they were read";

    Ready();
    Scroll(0, wxEVT_SCROLL_THUMBTRACK, 30);
    Type(m_dialog->GetText(2), "2.2");
    Load(WithThresholds(0, {10, 70, 110, 150}));
    EXPECT_EQ(Steps(), (std::vector<int>{30, 70, 110, 150}));
    EXPECT_EQ(Texts(), "0.60 1.40 2.2 3.00");
    PressEnter(m_dialog->GetText(2));
    EXPECT_EQ(Queued(), (Frames{kEnable, Frame(13, {30, 70, 110, 150, 0})}));
}

TEST_F(GasLevelTest, LiveStageLightsTheLampsAndVoltageDropsBelowAHundredth)
{
    const struct
    {
        unsigned char stage, raw;
        std::vector<bool> lit; // L1..L4, refuel
        const char* volts;
    } cases[] = {
        {4, 255, {true, true, true, true, false}, "5.00"}, {0, 128, {false, false, false, false, true}, "2.50"},
        {2, 254, {true, true, false, false, false}, "4.98"}, {3, 0, {true, true, true, false, false}, "0.00"},
    };
    for (const auto& c : cases) {
        LivePayloadBuilder live;
        live.GasLevel(c.raw, c.stage);
        theController->ApplyLiveData(live.Payload().data(), live.Payload().size());
        std::vector<bool> lit;
        for (int i = 0; i < 4; ++i)
            lit.push_back(m_dialog->GetLevelLamp(i)->IsEnabled());
        lit.push_back(m_dialog->GetRefuelLamp()->IsEnabled());
        EXPECT_EQ(lit, c.lit) << int(c.stage);
        EXPECT_EQ(m_dialog->GetVoltageLabel()->GetLabel(), c.volts);
    }
}

TEST_F(GasLevelTest, RowsFitAndExitOrCloseBoxOnlyHide)
{
    Ready(WithThresholds(0, {20, 60, 100, 255}));
    LivePayloadBuilder live;
    live.GasLevel(200, 3);
    theController->ApplyLiveData(live.Payload().data(), live.Payload().size());
    m_dialog->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_dialog->IsShownOnScreen(); }));
    UpdateUI(m_dialog);
    guitest::ProcessPendingEvents();
    ExpectTidyLayout(m_dialog);
    EXPECT_LT(m_dialog->GetSlider(3)->GetPosition().y, m_dialog->GetSlider(0)->GetPosition().y) << "T4 on top";
    EXPECT_TRUE(SaveScreenshotIfAsked(m_dialog, "gas-level-dialog.png"));

    Click(m_dialog->FindWindow(qiliangxianshi::ID_EXIT));
    EXPECT_FALSE(m_dialog->IsShown());
    m_dialog->Show();
    m_dialog->Close();
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_FALSE(m_dialog->IsBeingDeleted());
}
