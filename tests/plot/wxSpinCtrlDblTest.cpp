// The double spin control driven by synthetic keys, clicks and focus events.

#include "GuiTest.h"
#include "wxSpinArrows.h"
#include "wxSpinCtrlDbl.h"
#include "wxSpinCtrlDblTextCtrl.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/validate.h>

namespace
{
enum Modifier { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };

struct Update
{
    int value;
    wxString text;
};

class SpinCtrlDblTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wxValidator::SuppressBellOnError(true);
        m_panel = new wxPanel(guitest::SharedFrame());
    }
    void TearDown() override { delete m_panel; }

    wxSpinCtrlDbl* Make(double min, double max, double initial, double increment,
                        int digits = wxSPINCTRLDBL_AUTODIGITS, wxSize size = wxSize(60, 20))
    {
        auto* spin = new wxSpinCtrlDbl(m_panel, 4570, wxEmptyString, wxDefaultPosition, size,
                                       wxSP_ARROW_KEYS, min, max, initial, increment, digits);
        spin->Bind(wxEVT_SPINCTRL, [this, spin](wxSpinEvent& event) {
            EXPECT_EQ(event.GetEventObject(), spin);
            EXPECT_EQ(event.GetId(), spin->GetId());
            m_updates.push_back({event.GetPosition(), event.GetString()});
            event.Skip();
        });
        return spin;
    }

    // Returns whether the key was consumed before reaching the native field.
    static bool Key(wxSpinCtrlDbl* spin, int code, int modifiers = None)
    {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = code;
        event.m_uniChar = code >= WXK_SPACE && code < WXK_DELETE ? wxChar(code) : wxChar(WXK_NONE);
        event.SetShiftDown(modifiers & Shift);
        event.SetControlDown(modifiers & Ctrl);
        event.SetAltDown(modifiers & Alt);
        event.SetEventObject(spin->GetTextCtrl());
        event.SetId(spin->GetId());
        return spin->GetTextCtrl()->ProcessWindowEvent(event);
    }

    static void Type(wxSpinCtrlDbl* spin, const wxString& text)
    {
        spin->GetTextCtrl()->ChangeValue(text);
        spin->GetTextCtrl()->MarkDirty();
    }

    static void Enter(wxSpinCtrlDbl* spin)
    {
        wxCommandEvent event(wxEVT_TEXT_ENTER, spin->GetId());
        event.SetEventObject(spin->GetTextCtrl());
        event.SetString(spin->GetText());
        spin->GetTextCtrl()->ProcessWindowEvent(event);
    }

    static void Mouse(wxSpinArrows* arrows, wxEventType type, bool upper)
    {
        wxMouseEvent event(type);
        event.m_x = arrows->GetClientSize().x / 2;
        event.m_y = upper ? 2 : arrows->GetClientSize().y - 3;
        event.SetEventObject(arrows);
        arrows->ProcessWindowEvent(event);
    }

    static void Click(wxSpinCtrlDbl* spin, bool up)
    {
        Mouse(spin->GetSpinButton(), wxEVT_LEFT_DOWN, up);
        Mouse(spin->GetSpinButton(), wxEVT_LEFT_UP, up);
    }

    wxPanel* m_panel = nullptr;
    std::vector<Update> m_updates;
};

TEST_F(SpinCtrlDblTest, KeysStepWithinTheRangeAndReportEveryStep)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    EXPECT_EQ(spin->GetText(), "2");
    EXPECT_TRUE(m_updates.empty());
    // Pages bind the event on themselves, as for the toolkit's spin control.
    std::vector<double> seenByPage;
    m_panel->Bind(wxEVT_SPINCTRL, [&](wxSpinEvent& event) {
        seenByPage.push_back(static_cast<wxSpinCtrlDbl*>(event.GetEventObject())->GetValue());
    });

    EXPECT_TRUE(Key(spin, WXK_UP));
    EXPECT_DOUBLE_EQ(spin->GetValue(), 2.5);
    ASSERT_EQ(m_updates.size(), 1u);
    EXPECT_EQ(m_updates[0].value, 3);
    EXPECT_EQ(m_updates[0].text, "2.5");

    Key(spin, WXK_PAGEUP);
    EXPECT_EQ(spin->GetText(), "7.5");
    // Beyond the top the value stays, but the event still goes out.
    Key(spin, WXK_PAGEUP);
    EXPECT_EQ(spin->GetText(), "7.5");
    ASSERT_EQ(m_updates.size(), 3u);
    EXPECT_EQ(m_updates[2].value, 8);

    Key(spin, WXK_ESCAPE);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 2);
    ASSERT_EQ(m_updates.size(), 4u);
    EXPECT_EQ(m_updates[3].value, 2);

    for (int i = 0; i < 6; ++i)
        Key(spin, WXK_DOWN);
    EXPECT_EQ(spin->GetText(), "0");
    EXPECT_EQ(m_updates.size(), 10u);
    Key(spin, WXK_PAGEDOWN);
    EXPECT_EQ(spin->GetText(), "0");
    ASSERT_EQ(seenByPage.size(), m_updates.size());
    EXPECT_EQ(seenByPage[0], 2.5);
}

TEST_F(SpinCtrlDblTest, ModifiersMultiplyTheStep)
{
    wxSpinCtrlDbl* spin = Make(-100000, 100000, 0, 1);
    Key(spin, WXK_UP, Ctrl);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 10);
    Key(spin, WXK_UP, Shift | Ctrl);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 30);
    Key(spin, WXK_UP, Shift);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 32);
    Key(spin, WXK_UP, Alt);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 132);
    Key(spin, WXK_DOWN, Shift | Ctrl | Alt);
    EXPECT_DOUBLE_EQ(spin->GetValue(), -1868);
    Key(spin, WXK_PAGEUP, Ctrl);
    EXPECT_DOUBLE_EQ(spin->GetValue(), -1768);
    Key(spin, WXK_NUMPAD_DOWN);
    EXPECT_EQ(spin->GetText(), "-1769");
}

TEST_F(SpinCtrlDblTest, EnterClampsNumbersAndRestoresGarbage)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    int entersSeenByParent = 0;
    m_panel->Bind(wxEVT_TEXT_ENTER, [&](wxCommandEvent&) { ++entersSeenByParent; });

    Type(spin, "12");
    Enter(spin);
    EXPECT_EQ(spin->GetText(), "10");
    EXPECT_DOUBLE_EQ(spin->GetValue(), 10);
    ASSERT_EQ(m_updates.size(), 1u);
    EXPECT_EQ(m_updates[0].value, 10);
    EXPECT_EQ(entersSeenByParent, 1);
    EXPECT_FALSE(spin->GetTextCtrl()->IsModified());

    Type(spin, "1e");
    Enter(spin);
    EXPECT_EQ(spin->GetText(), "10");
    EXPECT_EQ(m_updates.size(), 1u);

    // Clamped onto the value it already has: no event, but the field must
    // not keep showing 12.
    Type(spin, "12");
    Enter(spin);
    EXPECT_EQ(spin->GetText(), "10");
    EXPECT_EQ(m_updates.size(), 1u);

    Type(spin, " 3.5 ");
    Enter(spin);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 3.5);
    EXPECT_EQ(spin->GetText(), "3.5");

    // Losing the focus takes the typed text like Enter does.
    Type(spin, "-4");
    wxFocusEvent lost(wxEVT_KILL_FOCUS, spin->GetId());
    lost.SetEventObject(spin->GetTextCtrl());
    spin->GetTextCtrl()->ProcessWindowEvent(lost);
    EXPECT_EQ(spin->GetText(), "0");
    ASSERT_EQ(m_updates.size(), 3u);
    EXPECT_EQ(m_updates[2].value, 0);
}

TEST_F(SpinCtrlDblTest, TypedTextIsTakenBeforeAStep)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    Type(spin, "4");
    Key(spin, WXK_UP);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 4.5);
    ASSERT_EQ(m_updates.size(), 1u);

    // Out of range text is clamped first; the step beyond the top is refused.
    Type(spin, "50");
    Key(spin, WXK_UP);
    EXPECT_EQ(spin->GetText(), "10");
    ASSERT_EQ(m_updates.size(), 2u);
    EXPECT_EQ(m_updates[1].value, 10);

    Type(spin, "3");
    Click(spin, true);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 3.5);
}

TEST_F(SpinCtrlDblTest, FormatDecidesTheShownTextAndTheValue)
{
    wxSpinCtrlDbl* general = Make(0, 10, 0, 1);
    general->SetValue(0.1 + 0.2);
    EXPECT_EQ(general->GetText(), "0.3");
    EXPECT_EQ(general->GetValue(), 0.3);
    general->SetValue(123456.7);
    EXPECT_EQ(general->GetText(), "0.3");  // refused: outside 0..10
    general->SetRange(1, 0);
    general->SetValue(123456.7);
    EXPECT_EQ(general->GetText(), "123457");
    EXPECT_EQ(general->GetValue(), 123457);

    wxSpinCtrlDbl* oneDigit = Make(0, 10, 2, 0.5, 1);
    Key(oneDigit, WXK_UP);
    EXPECT_EQ(oneDigit->GetText(), "3");
    EXPECT_EQ(oneDigit->GetValue(), 3);
    Key(oneDigit, WXK_UP);  // 3.5 reads 4, not stuck on an even digit
    EXPECT_EQ(oneDigit->GetText(), "4");

    m_updates.clear();
    wxSpinCtrlDbl* twoDigits = Make(0, 1, 0, 0.001, 2);
    twoDigits->SetValue(0.126);
    EXPECT_EQ(twoDigits->GetText(), "0.13");
    EXPECT_EQ(twoDigits->GetValue(), 0.13);
    EXPECT_TRUE(m_updates.empty());  // SetValue sends nothing
}

TEST_F(SpinCtrlDblTest, OnlyOneDoubleFormatIsTaken)
{
    wxSpinCtrlDbl* pressure = Make(0, 2.55, 1.0, 0.01);
    EXPECT_TRUE(pressure->SetFormat("%3.2f"));
    EXPECT_EQ(pressure->GetText(), "1.00");
    Key(pressure, WXK_UP);
    EXPECT_EQ(pressure->GetText(), "1.01");
    EXPECT_DOUBLE_EQ(pressure->GetValue(), 1.01);
    pressure->SetValue(2.55);
    EXPECT_EQ(pressure->GetText(), "2.55");

    for (const char* bad : {"", "abc", "%%", "%s", "%d", "%f %f", "%*f", "%.1Lf", "%", "%5"})
        EXPECT_FALSE(pressure->SetFormat(bad)) << bad;
    EXPECT_EQ(pressure->GetFormat(), "%3.2f");
    EXPECT_EQ(pressure->GetText(), "2.55");

    EXPECT_TRUE(pressure->SetFormat("%+.1e"));
    EXPECT_EQ(pressure->GetText(), "+2.6e+00");
}

TEST_F(SpinCtrlDblTest, SetValueKeepsToTheRange)
{
    wxSpinCtrlDbl* temperature = Make(-30, 9, 0, 1);
    EXPECT_TRUE(temperature->HasRange());
    temperature->SetValue(10);
    temperature->SetValue(-31);
    temperature->SetValue(std::numeric_limits<double>::quiet_NaN());
    temperature->SetValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(temperature->GetText(), "0");
    EXPECT_EQ(temperature->GetValue(), 0);
    temperature->SetValue(-30);
    EXPECT_EQ(temperature->GetText(), "-30");

    wxSpinCtrlDbl* open = Make(5, 1, 0, 1);
    EXPECT_FALSE(open->HasRange());
    EXPECT_TRUE(open->InRange(-1e300));
    open->SetValue(1e6);
    EXPECT_EQ(open->GetText(), "1e+06");
    open->SetValue(-7);
    EXPECT_EQ(open->GetValue(), -7);
    EXPECT_TRUE(m_updates.empty());
}

TEST_F(SpinCtrlDblTest, ArrowsStepThroughZeroAndStopAtTheEnds)
{
    wxSpinCtrlDbl* temperature = Make(-30, 9, 0, 1);
    std::vector<wxString> shown;
    temperature->Bind(wxEVT_SPINCTRL, [&](wxSpinEvent& event) {
        shown.push_back(event.GetString());
        event.Skip();
    });
    for (int i = 0; i < 3; ++i)
        Click(temperature, false);
    for (int i = 0; i < 5; ++i)
        Click(temperature, true);
    const std::vector<wxString> expected = {"-1", "-2", "-3", "-2", "-1", "0", "1", "2"};
    EXPECT_EQ(shown, expected);

    temperature->SetValue(9);
    const size_t before = m_updates.size();
    Click(temperature, true);
    EXPECT_EQ(temperature->GetValue(), 9);
    temperature->SetValue(-30);
    Click(temperature, false);
    EXPECT_EQ(temperature->GetValue(), -30);
    EXPECT_EQ(m_updates.size(), before);  // at a range end an arrow does nothing

    wxSpinCtrlDbl* tenths = Make(-1, 1, 0.3, 0.1);
    shown.clear();
    tenths->Bind(wxEVT_SPINCTRL, [&](wxSpinEvent& event) {
        shown.push_back(event.GetString());
        event.Skip();
    });
    for (int i = 0; i < 5; ++i)
        Click(tenths, false);
    const std::vector<wxString> tenthsExpected = {"0.2", "0.1", "0", "-0.1", "-0.2"};
    EXPECT_EQ(shown, tenthsExpected);
}

TEST_F(SpinCtrlDblTest, HeldArrowRepeatsUntilReleased)
{
    wxSpinCtrlDbl* rpm = Make(0, 100000, 0, 100);
    wxSpinArrows* arrows = rpm->GetSpinButton();
    Mouse(arrows, wxEVT_LEFT_DOWN, true);
    EXPECT_EQ(rpm->GetValue(), 100);
    EXPECT_EQ(arrows->GetPressed(), 1);
    EXPECT_TRUE(guitest::WaitFor([&] { return rpm->GetValue() >= 400; }));
    Mouse(arrows, wxEVT_LEFT_UP, true);
    EXPECT_EQ(arrows->GetPressed(), 0);
    EXPECT_FALSE(arrows->IsRepeating());

    const double top = rpm->GetValue();
    Mouse(arrows, wxEVT_LEFT_DOWN, false);
    EXPECT_EQ(rpm->GetValue(), top - 100);
    EXPECT_TRUE(guitest::WaitFor([&] { return rpm->GetValue() <= top - 300; }));
    // Sliding off the arrows stops the repeat too.
    Mouse(arrows, wxEVT_LEAVE_WINDOW, false);
    EXPECT_FALSE(arrows->IsRepeating());
    EXPECT_EQ(arrows->GetPressed(), 0);

    // A disabled control does not step.
    rpm->Disable();
    const double now = rpm->GetValue();
    Click(rpm, true);
    EXPECT_EQ(rpm->GetValue(), now);
}

TEST_F(SpinCtrlDblTest, UpdateEventRoundsToTheNearestInt)
{
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(2.5), 3);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(2.4), 2);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(-2.5), -3);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(-2.7), -3);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(-2.2), -2);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(1e12), INT_MAX);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(-1e12), INT_MIN);
    EXPECT_EQ(wxSpinCtrlDbl::RoundToInt(std::nan("")), 0);

    wxSpinCtrlDbl* open = Make(1, 0, 0, 1);
    open->SetValue(-3.5);
    Key(open, WXK_UP);
    open->SetValue(3e9);
    Key(open, WXK_UP);
    ASSERT_EQ(m_updates.size(), 2u);
    EXPECT_EQ(m_updates[0].value, -3);
    EXPECT_EQ(m_updates[0].text, "-2.5");
    EXPECT_EQ(m_updates[1].value, INT_MAX);
}

TEST_F(SpinCtrlDblTest, OtherKeysRestoreNavigateOrAreFiltered)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    Type(spin, "7");
    EXPECT_TRUE(Key(spin, WXK_SPACE));
    EXPECT_EQ(spin->GetText(), "2");
    EXPECT_FALSE(spin->GetTextCtrl()->IsModified());
    EXPECT_TRUE(m_updates.empty());

#ifdef wxHAS_NATIVE_TAB_TRAVERSAL
    // Tab is left to the toolkit, which moves the focus natively.
    EXPECT_FALSE(Key(spin, WXK_TAB));
    EXPECT_FALSE(Key(spin, WXK_TAB, Shift));
#else
    std::vector<wxNavigationKeyEvent> navigation;
    m_panel->Bind(wxEVT_NAVIGATION_KEY,
                  [&](wxNavigationKeyEvent& event) { navigation.push_back(event); });
    Key(spin, WXK_TAB);
    Key(spin, WXK_TAB, Shift);
    Key(spin, WXK_TAB, Ctrl);
    ASSERT_EQ(navigation.size(), 3u);
    EXPECT_TRUE(navigation[0].GetDirection());
    EXPECT_EQ(navigation[0].GetCurrentFocus(), spin);
    EXPECT_FALSE(navigation[1].GetDirection());
    EXPECT_TRUE(navigation[2].IsWindowChange());
#endif
    EXPECT_EQ(spin->GetText(), "2");

    // Digits, signs and exponents reach the field; letters and commas do not.
    EXPECT_FALSE(Key(spin, '5'));
    EXPECT_FALSE(Key(spin, '-'));
    EXPECT_FALSE(Key(spin, 'e'));
    EXPECT_TRUE(Key(spin, 'x'));
    EXPECT_TRUE(Key(spin, ','));
    EXPECT_TRUE(m_updates.empty());
}

TEST_F(SpinCtrlDblTest, SetValueStringTakesNumbersOrForcedText)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    spin->SetValueString("7.5");
    EXPECT_DOUBLE_EQ(spin->GetValue(), 7.5);
    spin->SetValueString("abc");
    EXPECT_EQ(spin->GetText(), "7.5");
    spin->SetValueString("abc", true);
    EXPECT_EQ(spin->GetText(), "abc");
    EXPECT_DOUBLE_EQ(spin->GetValue(), 7.5);
    spin->SyncSpinToText(true, false);  // unreadable, not forced: left alone
    EXPECT_EQ(spin->GetText(), "abc");
    Enter(spin);
    EXPECT_EQ(spin->GetText(), "7.5");
    EXPECT_TRUE(m_updates.empty());
}

TEST_F(SpinCtrlDblTest, PartsAreLaidOutAtThePageSize)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 0, 1);
    EXPECT_EQ(spin->GetSize(), wxSize(60, 20));
    const wxRect arrows = spin->GetSpinButton()->GetRect();
    const wxRect text = spin->GetTextCtrl()->GetRect();
    EXPECT_GT(arrows.width, 5);
    EXPECT_LE(arrows.width, 20);
    EXPECT_EQ(arrows.height, 20);
    EXPECT_EQ(arrows.x, 60 - arrows.width);
    EXPECT_EQ(text, wxRect(0, 0, 60 - arrows.width, 20));

    spin->SetSize(-1, -1, 90, -1);
    EXPECT_EQ(spin->GetSize(), wxSize(90, 20));
    EXPECT_EQ(spin->GetTextCtrl()->GetSize(), wxSize(90 - arrows.width, 20));
    EXPECT_EQ(spin->GetSpinButton()->GetPosition(), wxPoint(90 - arrows.width, 0));

    wxSpinCtrlDbl* natural = Make(0, 10, 0, 1, -1, wxDefaultSize);
    EXPECT_EQ(natural->GetSize(), natural->GetBestSize());
    EXPECT_GE(natural->GetSize().x, 20);
    EXPECT_GE(natural->GetSize().y, 10);
}

TEST_F(SpinCtrlDblTest, ColoursAndFontGoToTheText)
{
    wxSpinCtrlDbl* spin = Make(0, 2.55, 0.6, 0.01);
    spin->SetForegroundColour(*wxGREEN);
    spin->SetBackgroundColour(*wxBLACK);
    wxFont font(wxFontInfo(9).Family(wxFONTFAMILY_SWISS).Bold().FaceName("Tahoma"));
    spin->SetFont(font);
    EXPECT_EQ(spin->GetTextCtrl()->GetForegroundColour(), *wxGREEN);
    EXPECT_EQ(spin->GetTextCtrl()->GetBackgroundColour(), *wxBLACK);
    EXPECT_EQ(spin->GetTextCtrl()->GetFont().GetPointSize(), 9);
    EXPECT_EQ(spin->GetTextCtrl()->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
}

TEST_F(SpinCtrlDblTest, EitherPartMayGoFirst)
{
    wxSpinCtrlDbl* spin = Make(0, 10, 2, 0.5);
    delete spin->GetTextCtrl();
    EXPECT_EQ(spin->GetTextCtrl(), nullptr);
    spin->SetValue(5);
    spin->SetValueString("6", true);
    spin->SyncSpinToText(true, true);
    EXPECT_EQ(spin->GetValue(), 2);
    EXPECT_EQ(spin->GetText(), "");
    delete spin;

    wxSpinCtrlDbl* other = Make(0, 10, 2, 0.5);
    wxSpinCtrlDblTextCtrl* text = other->GetTextCtrl();
    EXPECT_EQ(text->GetOwner(), other);
    delete other;  // takes its text field along; nothing is called back
}

// --- Locale ---

// Switches LC_NUMERIC to a German locale (decimal comma) for the scope. When
// none is installed it compiles one from the system's locale sources into a
// private folder, which needs localedef and the "locales" package's sources.
class GermanNumbers
{
public:
    GermanNumbers()
    {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        m_previous = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_NUMERIC, name)) {
                m_active = true;
                return;
            }
        }
        char folder[] = "/tmp/quenvar-locale-XXXXXX";
        if (!mkdtemp(folder))
            return;
        m_folder = folder;
        const std::string command = "localedef -i de_DE -f UTF-8 '" + m_folder +
                                    "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return;
        setenv("LOCPATH", m_folder.c_str(), 1);
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~GermanNumbers()
    {
        std::setlocale(LC_NUMERIC, m_previous.c_str());
        if (!m_folder.empty()) {
            unsetenv("LOCPATH");
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    std::string m_folder;
    bool m_active = false;
};

TEST_F(SpinCtrlDblTest, GermanLocaleStillReadsAndShowsThePoint)
{
    GermanNumbers german;
    if (!german.Active())
        GTEST_SKIP() << "no German locale (install locales-all, or locales with localedef)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale does not use a decimal comma";

    wxSpinCtrlDbl* spin = Make(0, 10, 1.5, 0.25);
    EXPECT_EQ(spin->GetText(), "1.5");
    Key(spin, WXK_UP);
    EXPECT_EQ(spin->GetText(), "1.75");
    EXPECT_DOUBLE_EQ(spin->GetValue(), 1.75);
    Type(spin, "2.25");
    Enter(spin);
    EXPECT_DOUBLE_EQ(spin->GetValue(), 2.25);
    ASSERT_EQ(m_updates.size(), 2u);
    EXPECT_EQ(m_updates[1].text, "2.25");
    EXPECT_TRUE(spin->SetFormat("%3.2f"));
    EXPECT_EQ(spin->GetText(), "2.25");
    spin->SetValueString("0.6");
    EXPECT_EQ(spin->GetText(), "0.60");
}
}
