#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include <wx/frame.h>

#include "GuiTest.h"
#include "MyTextCtrl.h"

namespace
{
const wxString kText = "Visit https://quenvar.example/ now, or mail mailto:info@quenvar.example.\n"
                       "Also www.quenvar.example, and xhttp://not.a.link here.";

class MyTextCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_ctrl = new MyTextCtrl(guitest::SharedFrame(), wxID_ANY, wxEmptyString, wxPoint(0, 0),
                                wxSize(500, 200));
        m_ctrl->SetBrowserLauncher([this](const wxString& url) {
            m_opened.push_back(url);
            return true;
        });
        m_ctrl->AppendText(kText);
    }
    void TearDown() override { m_ctrl->Destroy(); }

    long Find(const wxString& what) const { return m_ctrl->GetValue().Find(what); }

    // Sends the control a link event as its own mouse handling would.
    void SendUrl(wxEventType mouseType, long start, long end, const wxString& url)
    {
        const wxMouseEvent mouse(mouseType);
        wxTextUrlEvent event(m_ctrl->GetId(), mouse, start, end);
        event.SetEventObject(m_ctrl);
        event.SetString(url);
        m_ctrl->GetEventHandler()->ProcessEvent(event);
    }

    MyTextCtrl* m_ctrl = nullptr;
    std::vector<wxString> m_opened;
};
}

TEST(MyTextCtrlLinks, LinkLengthStopsAtSentenceAndNonAddressCharacters)
{
    EXPECT_EQ(24u, MyTextCtrl::LinkLengthAt("https://quenvar.example/ now", 0));
    EXPECT_EQ(27u, MyTextCtrl::LinkLengthAt("mailto:info@quenvar.example.", 0));
    EXPECT_EQ(19u, MyTextCtrl::LinkLengthAt("(www.quenvar.example)", 1));
    EXPECT_EQ(18u, MyTextCtrl::LinkLengthAt(L"http://a.example/x说明", 0));
    EXPECT_EQ(18u, MyTextCtrl::LinkLengthAt("HTTP://A.EXAMPLE/X", 0));
    // A prefix alone, or text that is no address, is not a link.
    EXPECT_EQ(0u, MyTextCtrl::LinkLengthAt("http:// gap", 0));
    EXPECT_EQ(0u, MyTextCtrl::LinkLengthAt("mailto:.", 0));
    EXPECT_EQ(0u, MyTextCtrl::LinkLengthAt("ftp://a.example", 0));
    EXPECT_EQ(0u, MyTextCtrl::LinkLengthAt("http", 0));
}

TEST_F(MyTextCtrlTest, AppendedAddressesBecomeLinksAndTheRestStaysText)
{
    EXPECT_EQ(kText, m_ctrl->GetValue());
    struct Case
    {
        const char* shown;
        const char* target;
    };
    for (const Case& c : {Case{"https://quenvar.example/", "https://quenvar.example/"},
                          Case{"mailto:info@quenvar.example", "mailto:info@quenvar.example"},
                          Case{"www.quenvar.example", "http://www.quenvar.example"}}) {
        SCOPED_TRACE(c.shown);
        const long at = Find(c.shown);
        ASSERT_NE(wxNOT_FOUND, at);
        for (long pos : {at, at + long(strlen(c.shown)) - 1}) {
            wxRichTextAttr attr;
            ASSERT_TRUE(m_ctrl->GetStyle(pos, attr));
            EXPECT_TRUE(attr.HasURL());
            EXPECT_EQ(c.target, attr.GetURL());
        }
        wxRichTextAttr after;
        ASSERT_TRUE(m_ctrl->GetStyle(at + long(strlen(c.shown)), after));
        EXPECT_FALSE(after.HasURL() && !after.GetURL().empty());
    }
    for (const char* plain : {"Visit", "now", "xhttp://not.a.link"}) {
        wxRichTextAttr attr;
        ASSERT_TRUE(m_ctrl->GetStyle(Find(plain) + 1, attr));
        EXPECT_TRUE(attr.GetURL().empty()) << plain;
    }
}

TEST_F(MyTextCtrlTest, LinkOpensOnceOnReleaseAfterAPressOnIt)
{
    const long web = Find("https://");
    const long mail = Find("mailto:");

    SendUrl(wxEVT_MOTION, web, web + 23, "https://quenvar.example/");
    EXPECT_TRUE(m_opened.empty()) << "a plain move opened the link";

    SendUrl(wxEVT_LEFT_DOWN, web, web + 23, "https://quenvar.example/");
    EXPECT_TRUE(m_opened.empty()) << "the press alone opened the link";
    SendUrl(wxEVT_LEFT_UP, web, web + 23, "https://quenvar.example/");
    ASSERT_EQ(1u, m_opened.size());
    EXPECT_EQ("https://quenvar.example/", m_opened[0]);

    // A second release without a new press, and a double click's extra
    // events, open nothing more.
    SendUrl(wxEVT_LEFT_UP, web, web + 23, "https://quenvar.example/");
    SendUrl(wxEVT_LEFT_DCLICK, web, web + 23, "https://quenvar.example/");
    SendUrl(wxEVT_LEFT_UP, web, web + 23, "https://quenvar.example/");
    EXPECT_EQ(1u, m_opened.size());

    // Pressed on one link, released on another: neither opens.
    SendUrl(wxEVT_LEFT_DOWN, web, web + 23, "https://quenvar.example/");
    SendUrl(wxEVT_LEFT_UP, mail, mail + 26, "mailto:info@quenvar.example");
    EXPECT_EQ(1u, m_opened.size());

    // Other buttons do not open links.
    SendUrl(wxEVT_RIGHT_DOWN, mail, mail + 26, "mailto:info@quenvar.example");
    SendUrl(wxEVT_RIGHT_UP, mail, mail + 26, "mailto:info@quenvar.example");
    EXPECT_EQ(1u, m_opened.size());

    // Without a target in the event, the link's own text is opened.
    SendUrl(wxEVT_LEFT_DOWN, mail, mail + 27, wxEmptyString);
    SendUrl(wxEVT_LEFT_UP, mail, mail + 27, wxEmptyString);
    ASSERT_EQ(2u, m_opened.size());
    EXPECT_EQ("mailto:info@quenvar.example", m_opened[1]);
}

// The whole path through the rich text control's own mouse handling, on a
// shown window (the control captures the mouse while a button is down).
class MyTextCtrlClickTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "links", wxPoint(0, 0), wxSize(520, 240));
        m_ctrl = new MyTextCtrl(m_frame, wxID_ANY);
        m_ctrl->SetBrowserLauncher([this](const wxString& url) {
            m_opened.push_back(url);
            return true;
        });
        m_ctrl->AppendText(kText);
        m_frame->Show();
        ASSERT_TRUE(guitest::WaitFor([this] { return m_ctrl->IsShownOnScreen(); }));
        m_ctrl->LayoutContent();
    }
    void TearDown() override { m_frame->Destroy(); }

    // Window point in the middle of the character at pos.
    wxPoint PointOf(long pos)
    {
        wxRect caret;
        EXPECT_TRUE(m_ctrl->GetCaretPositionForIndex(pos - 1, caret));
        wxRect next;
        EXPECT_TRUE(m_ctrl->GetCaretPositionForIndex(pos, next));
        const wxPoint logical((caret.x + next.x) / 2 + 1, caret.y + caret.height / 2);
        return m_ctrl->GetPhysicalPoint(logical);
    }

    void Mouse(wxEventType type, const wxPoint& at)
    {
        wxMouseEvent event(type);
        event.SetPosition(at);
        event.SetEventObject(m_ctrl);
        event.m_leftDown = type == wxEVT_LEFT_DOWN;
        m_ctrl->GetEventHandler()->ProcessEvent(event);
    }

    wxFrame* m_frame = nullptr;
    MyTextCtrl* m_ctrl = nullptr;
    std::vector<wxString> m_opened;
};

TEST_F(MyTextCtrlClickTest, ClickOnALinkOpensItOnceAndAPressAloneOrAReleaseElsewhereDoesNot)
{
    const wxString text = m_ctrl->GetValue();
    const wxPoint onWeb = PointOf(text.Find("quenvar.example/"));
    const wxPoint onPlain = PointOf(text.Find("Visit") + 2);

    Mouse(wxEVT_LEFT_DOWN, onWeb);
    EXPECT_TRUE(m_opened.empty()) << "opened on the press";
    Mouse(wxEVT_LEFT_UP, onWeb);
    ASSERT_EQ(1u, m_opened.size());
    EXPECT_EQ("https://quenvar.example/", m_opened[0]);

    // Pressed on the link, released over plain text.
    Mouse(wxEVT_LEFT_DOWN, onWeb);
    Mouse(wxEVT_LEFT_UP, onPlain);
    // Pressed on plain text, released over the link.
    Mouse(wxEVT_LEFT_DOWN, onPlain);
    Mouse(wxEVT_LEFT_UP, onWeb);
    // A press that is never released.
    Mouse(wxEVT_LEFT_DOWN, onWeb);
    EXPECT_EQ(1u, m_opened.size());
    Mouse(wxEVT_LEFT_UP, onPlain);
    EXPECT_EQ(1u, m_opened.size());
}
